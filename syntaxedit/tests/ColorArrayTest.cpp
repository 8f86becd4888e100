#include "SYM_CBut.h"

#include <gtest/gtest.h>

TEST(ColorArray, ElementsByColumnAndRowStartAtZero) {
  TColorArrayClass table(4, 5);
  for (int x = 1; x <= 4; ++x)
    for (int y = 1; y <= 5; ++y)
      EXPECT_EQ(table.GetColor(x, y), 0) << x << "," << y;
  table.SetColor(3, 1, 0x00FF00);
  table.SetColor(1, 3, 0x0000FF);
  EXPECT_EQ(table.GetColor(3, 1), 0x00FF00);
  EXPECT_EQ(table.GetColor(1, 3), 0x0000FF);
  // A new size is a new, cleared table.
  table.SetYSize(2);
  EXPECT_EQ(table.GetColor(3, 1), 0);
}

TEST(ColorArray, IndicesOutsideTheTableAreRefused) {
  TColorArrayClass table(8, 2);
  for (auto [x, y] : {std::pair{0, 1}, {9, 1}, {1, 0}, {1, 3}}) {
    try {
      table.GetColor(x, y);
      ADD_FAILURE() << x << "," << y;
    } catch (const EColorArrayIndexError& e) {
      EXPECT_EQ(e.Message, "Array index out of bounds");
    }
    EXPECT_THROW(table.SetColor(x, y, 1), EColorArrayIndexError);
  }
}

TEST(ColorArray, AssignAndCompare) {
  TColorArrayClass a(4, 5), b(2, 2);
  a.SetColor(4, 5, 0x123456);
  EXPECT_FALSE(b.IsEqual(&a));
  b.Assign(&a);
  EXPECT_EQ(b.GetXSize(), 4);
  EXPECT_EQ(b.GetYSize(), 5);
  EXPECT_TRUE(b.IsEqual(&a));
  EXPECT_TRUE(a.IsEqual(&a));
  EXPECT_FALSE(a.IsEqual(nullptr));
  b.SetColor(1, 1, 1);
  EXPECT_FALSE(b.IsEqual(&a));
  TPersistent other;
  EXPECT_THROW(a.Assign(&other), EConvertError);
}
