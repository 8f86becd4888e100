// The tab image list: its errors, following the Images component, the
// turned size and drawing, one rendering per colour.
#include "TabControlTest.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TImageList> MakeImages(int count, int width = 16, int height = 12) {
  auto images = std::make_unique<TImageList>(nullptr);
  images->SetWidth(width);
  images->SetHeight(height);
  for (int i = 0; i < count; ++i) {
    TBitmap bitmap;
    bitmap.SetSize(width, height);
    bitmap.GetCanvas()->GetBrush()->SetColor(clNavy);
    bitmap.GetCanvas()->FillRect(TRect(0, 0, width, height));
    bitmap.GetCanvas()->GetBrush()->SetColor(clYellow);
    bitmap.GetCanvas()->FillRect(TRect(0, 0, 4, 3));
    images->Add(&bitmap, nullptr);
  }
  return images;
}

TEST(TabImageList, DrawRaisesItsErrors) {
  TTabForm<> f;
  f.AddTabs({"a"});
  TBitmap target;
  target.SetSize(20, 20);
  TcxPCImageList* list = f.control->GetImageList();
  EXPECT_EQ("TcxPCImageList.Draw: BaseImages is not assigned",
            ErrorOf([&] { list->Draw(target.GetCanvas(), 0, 0, 0, true, clWhite); }));
  auto images = MakeImages(5);
  f.control->SetImages(images.get());
  EXPECT_EQ("TcxPCImageList.Draw: Index (5) must be between 0 and 4",
            ErrorOf([&] { list->Draw(target.GetCanvas(), 0, 0, 5, true, clWhite); }));
  f.control->SetImages(nullptr);
}

TEST(TabImageList, FreeingTheImagesLeavesTheControlWithoutThem) {
  TTabForm<> f;
  f.control->SetStyle(2);
  f.AddTabs({"a", "b"});
  const int plainHeight = f.control->GetTabs()->TabNormalHeight;
  auto images = MakeImages(2, 16, 40);
  f.control->SetImages(images.get());
  EXPECT_GT(f.control->GetTabs()->TabNormalHeight, plainHeight);
  EXPECT_EQ(1, f.Tab(1)->GetImageIndex());
  images.reset();
  EXPECT_EQ(nullptr, f.control->GetImages());
  EXPECT_EQ(plainHeight, f.control->GetTabs()->TabNormalHeight) << "recalculated without images";
  EXPECT_EQ(-1, f.Tab(1)->GetImageIndex());
}

TEST(TabImageList, LeftTabsTurnImagesCounterClockwiseOncePerColour) {
  TTabForm<> f;
  f.control->GetLookAndFeel()->SetKind(lfStandard);
  f.control->GetLookAndFeel()->SetNativeStyle(false);
  f.control->SetTabPosition(tpLeft);
  auto images = MakeImages(3);
  f.control->SetImages(images.get());
  f.AddTabs({"a", "b"});
  TcxPCImageList* list = f.control->GetImageList();
  EXPECT_EQ(1, list->GetRotation());
  EXPECT_EQ(12, list->GetDrawnImageSize().cx);
  EXPECT_EQ(16, list->GetDrawnImageSize().cy);
  TBitmap target;
  target.SetSize(30, 30);
  const int before = list->RenderCount;
  list->Draw(target.GetCanvas(), 0, 0, 2, true, clWhite);
  list->Draw(target.GetCanvas(), 0, 0, 2, true, clWhite);
  EXPECT_EQ(before + 1, list->RenderCount) << "the same colour renders once";
  list->Draw(target.GetCanvas(), 0, 0, 2, true, clSilver);
  EXPECT_EQ(before + 2, list->RenderCount);
  // The mark at the image's top left comes to the bottom left.
  EXPECT_EQ(ColorToRGB(clYellow), target.GetCanvas()->GetPixel(1, 14));
  EXPECT_EQ(ColorToRGB(clNavy), target.GetCanvas()->GetPixel(1, 1));
  EXPECT_EQ(ColorToRGB(clWhite), target.GetCanvas()->GetPixel(13, 1)) << "nothing drawn beyond 12 wide";
}

} // namespace
