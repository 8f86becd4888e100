// JPEG pictures decoded through libjpeg.
#include "ExtCtrls.h"
#include "GuiTest.h"
#include "Jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

String Fixture(const char* name) {
  String path = "Z:" VELMORA_FIXTURES "/";
  path += name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool Near(TColor actual, TColor expected) {
  for (int shift : {0, 8, 16})
    if (std::abs(((actual >> shift) & 0xFF) - ((expected >> shift) & 0xFF)) > 24) return false;
  return true;
}

TEST(Jpeg, FixtureDecodesToItsSizeAndColours) {
  TJPEGImage jpeg;
  jpeg.LoadFromFile(Fixture("red_blue.jpg"));
  EXPECT_EQ(32, jpeg.GetWidth());
  EXPECT_EQ(8, jpeg.GetHeight());
  TBitmap* bitmap = jpeg.GetBitmap();
  ASSERT_EQ(32, bitmap->GetWidth());
  EXPECT_PRED2(Near, bitmap->GetCanvas()->GetPixel(3, 4) & 0xFFFFFF, clRed);
  EXPECT_PRED2(Near, bitmap->GetCanvas()->GetPixel(28, 4) & 0xFFFFFF, clBlue);
}

TEST(Jpeg, BitmapCompressesAndDecodesAgain) {
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(40, 20);
  source.GetCanvas()->GetBrush()->SetColor(clLime);
  source.GetCanvas()->FillRect(TRect(0, 0, 40, 20));
  TJPEGImage jpeg;
  jpeg.Assign(&source);
  TMemoryStream stream;
  jpeg.SaveToStream(stream);
  stream.SetPosition(0);
  TJPEGImage loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(40, loaded.GetWidth());
  EXPECT_EQ(20, loaded.GetHeight());
  EXPECT_PRED2(Near, loaded.GetBitmap()->GetCanvas()->GetPixel(20, 10) & 0xFFFFFF, clLime);
}

TEST(Jpeg, BrokenDataRaisesInvalidGraphic) {
  TStringStream stream("this is no picture");
  TJPEGImage jpeg;
  EXPECT_THROW(jpeg.LoadFromStream(stream), EInvalidGraphic);
  EXPECT_TRUE(jpeg.GetEmpty());
}

TEST(Jpeg, ImageControlShowsThePicture) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetClientSize(100, 60);
  auto* image = new TImage(form.get());
  image->SetParent(form.get());
  image->SetBounds(10, 10, 64, 16);
  image->Stretch = true;
  image->GetPicture()->LoadFromFile(Fixture("red_blue.jpg"));
  form->Show();
  guitest::TCapture capture = guitest::TCapture::Paint(form->GetHandle());
  capture.SavePng("jpeg_image");
  EXPECT_PRED2(Near, static_cast<TColor>(capture.Pixel(20, 18)), clRed);
  EXPECT_PRED2(Near, static_cast<TColor>(capture.Pixel(66, 18)), clBlue);
}

} // namespace
