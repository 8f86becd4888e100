// Drawing on bitmaps through the canvas, checked by pixels.
#include "Graphics.h"
#include "GuiTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TColor PixelAt(TBitmap& b, int x, int y) {
  return b.GetCanvas()->GetPixel(x, y) & 0xFFFFFF;
}

TEST(Graphics, CanvasDrawsShapesWithPenAndBrush) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(60, 40);
  TCanvas* c = bitmap.GetCanvas();
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 60, 40));
  c->GetPen()->SetColor(clRed);
  c->GetBrush()->SetColor(clBlue);
  c->Rectangle(10, 10, 30, 30);
  c->GetPen()->SetColor(clLime);
  c->MoveTo(40, 5);
  c->LineTo(40, 35);
  c->SetPixel(55, 35, clYellow);

  struct Case {
    int x, y;
    TColor expected;
  };
  for (Case k : {Case{0, 0, clWhite}, Case{10, 10, clRed}, Case{29, 20, clRed}, Case{20, 20, clBlue},
                 Case{40, 5, clLime}, Case{40, 34, clLime}, Case{40, 35, clWhite}, Case{55, 35, clYellow}}) {
    SCOPED_TRACE(testing::Message() << k.x << "," << k.y);
    EXPECT_EQ(k.expected, PixelAt(bitmap, k.x, k.y));
  }
  // 32-bit scan lines hold blue, green, red, unused.
  auto* row = static_cast<uint8_t*>(bitmap.GetScanLine(20));
  EXPECT_EQ(255, row[20 * 4 + 0]);
  EXPECT_EQ(0, row[20 * 4 + 2]);
}

TEST(Graphics, TextExtentMatchesWhatIsDrawn) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(200, 40);
  TCanvas* c = bitmap.GetCanvas();
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 200, 40));
  c->GetFont()->SetName("Tahoma");
  c->GetFont()->SetSize(10);
  c->GetFont()->SetColor(clBlack);
  const SIZE size = c->TextExtent("Velmora");
  EXPECT_GT(size.cx, 30);
  EXPECT_GT(size.cy, 10);
  c->TextOut(5, 5, "Velmora");
  // Ink inside the measured box, none right of it.
  int inside = 0, outside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      if (PixelAt(bitmap, x, y) == clWhite) continue;
      (x >= 5 && x < 5 + size.cx && y >= 5 && y < 5 + size.cy ? inside : outside)++;
    }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(0, outside);
}

TEST(Graphics, BitmapSurvivesBmpStreamAndCopies) {
  for (TPixelFormat format : {pf1bit, pf8bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(format);
    TBitmap source;
    source.SetPixelFormat(format);
    source.SetSize(13, 7);
    source.GetCanvas()->GetBrush()->SetColor(clWhite);
    source.GetCanvas()->FillRect(TRect(0, 0, 13, 7));
    source.GetCanvas()->SetPixel(3, 2, clBlack);
    TMemoryStream stream;
    source.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(13, loaded.GetWidth());
    EXPECT_EQ(7, loaded.GetHeight());
    EXPECT_EQ(format, loaded.GetPixelFormat());
    EXPECT_EQ(clBlack, PixelAt(loaded, 3, 2));
    EXPECT_EQ(clWhite, PixelAt(loaded, 4, 2));
    TBitmap copy;
    copy.Assign(&loaded);
    EXPECT_EQ(clBlack, PixelAt(copy, 3, 2));
  }
}

TEST(Graphics, BrokenBmpStreamRaisesInvalidGraphic) {
  TStringStream stream(String("BM\x10\x00\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00", 14));
  TBitmap bitmap;
  EXPECT_THROW(bitmap.LoadFromStream(stream), EInvalidGraphic);
}

TEST(Graphics, TransparentBitmapLeavesItsBackgroundColourOut) {
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(8, 8);
  glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph.GetCanvas()->FillRect(TRect(0, 0, 8, 8));
  glyph.GetCanvas()->GetBrush()->SetColor(clNavy);
  glyph.GetCanvas()->FillRect(TRect(2, 2, 6, 6));
  glyph.SetTransparent(true);
  EXPECT_EQ(clFuchsia, glyph.GetTransparentColor());

  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(8, 8);
  target.GetCanvas()->GetBrush()->SetColor(clGreen);
  target.GetCanvas()->FillRect(TRect(0, 0, 8, 8));
  target.GetCanvas()->Draw(0, 0, &glyph);
  EXPECT_EQ(clGreen, PixelAt(target, 0, 0));
  EXPECT_EQ(clNavy, PixelAt(target, 3, 3));
}

TEST(Graphics, ColorNamesRoundTrip) {
  struct Case {
    TColor color;
    const char* text;
  };
  for (Case c : {Case{clRed, "clRed"}, Case{clBtnFace, "clBtnFace"}, Case{0x123456, "$00123456"}}) {
    EXPECT_EQ(c.text, ColorToString(c.color));
    EXPECT_EQ(c.color, StringToColor(c.text));
  }
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), ColorToRGB(clBtnFace));
  EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

TEST(Colors, ColorValuesListEveryIdentifierOnceInTheLibraryOrder) {
  std::vector<String> names;
  GetColorValues([&](const String& name) { names.push_back(name); });
  ASSERT_EQ(52u, names.size());
  EXPECT_EQ("clBlack", names.front());
  EXPECT_EQ("clMoneyGreen", names[16]);
  EXPECT_EQ("clWindowText", names.back());
  for (const String& name : names) {
    TColor color = 0;
    EXPECT_TRUE(IdentToColor(name, color)) << name;
    String back;
    EXPECT_TRUE(ColorToIdent(color, back));
    EXPECT_EQ(name, back);
  }
}

} // namespace
