#include "Locale.h"

#include <gtest/gtest.h>

// The Windows build folds the letters of the ANSI code page, not only ASCII.
TEST(Locale, UpperCaseFoldsTheCodePagesLetters) {
  EXPECT_EQ(AnsiUpperCase("abc\xe9\xf6z1_"), "ABC\xc9\xd6Z1_");
  EXPECT_EQ(AnsiUpperCase(""), "");
}
