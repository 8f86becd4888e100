// The text a text edit paints itself while its inner window is hidden
// (right-aligned or centred and unfocused), in each look, by pixels; the
// hint for text that does not fit; the text flags of the view data.
#include "PaintTest.h"
#include "TextEditTest.h"

#include <gtest/gtest.h>

namespace {

using guitest::PumpFor;

bool IsDark(COLORREF c) {
  return GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60;
}

// The smallest rectangle holding the dark pixels of the area (empty: none).
TRect DarkBounds(const guitest::TCapture& ACapture, const TRect& AArea) {
  TRect box(AArea.right, AArea.bottom, AArea.left, AArea.top);
  for (int y = AArea.top; y < AArea.bottom; ++y)
    for (int x = AArea.left; x < AArea.right; ++x) {
      if (!IsDark(ACapture.Pixel(x, y))) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  return box.left < box.right ? box : TRect();
}

int TextWidthIn(TFont* AFont, const String& AText) {
  TBitmap bitmap;
  bitmap.GetCanvas()->GetFont()->Assign(AFont);
  return bitmap.GetCanvas()->TextWidth(AText);
}

// The client rectangle of the edit less a pixel, in the form's client
// coordinates: where its text may show.
TRect TextArea(TcxCustomTextEdit* AEdit) {
  TRect r = AEdit->GetViewInfo()->ClientRect;
  InflateRect(&r, -1, -1);
  OffsetRect(&r, AEdit->GetLeft(), AEdit->GetTop());
  return r;
}

TEST(TextEditPaint, UnfocusedRightAlignedOrCentredTextIsPaintedByTheEditorInEachLook) {
  const String text = "Wide text";
  for (const TLook& look : kLooks) {
    for (TAlignment alignment : {taRightJustify, taCenter}) {
      SCOPED_TRACE(String(look.name) + (alignment == taCenter ? " centred" : " right"));
      TTextEditForm f(200);
      f.edit->GetStyle()->GetLookAndFeel()->SetKind(look.kind);
      f.edit->GetStyle()->GetLookAndFeel()->SetNativeStyle(look.native);
      f.edit->GetProperties()->GetAlignment()->SetHorz(alignment);
      f.edit->GetProperties()->SetUseLeftAlignmentOnEditing(false);
      f.edit->SetText(text);
      f.Show();
      f.before->SetFocus();
      PumpFor(30);
      ASSERT_FALSE(f.edit->IsFocused());
      EXPECT_FALSE(f.edit->IsInnerEditShown());
      EXPECT_TRUE(f.edit->DoubleBuffered) << "the editor paints the text";
      const TRect textRect = f.edit->GetViewInfo()->TextRect;
      const int width = TextWidthIn(f.edit->GetStyle()->GetFont(), text);
      auto check = [&](const char* AState) {
        SCOPED_TRACE(AState);
        const guitest::TCapture shot = guitest::TCapture::Paint(f.form->GetHandle());
        shot.SavePng(String("text-edit-") + (alignment == taCenter ? "centred-" : "right-") + look.name +
                     "-" + AState);
        TRect area = f.edit->GetViewInfo()->TextRect;
        OffsetRect(&area, f.edit->GetLeft(), f.edit->GetTop());
        const TRect ink = DarkBounds(shot, TextArea(f.edit));
        ASSERT_FALSE(IsRectEmpty(&ink));
        EXPECT_LE(ink.Width(), width);
        EXPECT_GE(ink.Width(), width - 6);
        if (alignment == taRightJustify)
          EXPECT_NEAR(area.right, ink.right, 5);
        else
          EXPECT_NEAR((area.left + area.right) / 2, (ink.left + ink.right) / 2, 3);
      };
      check("unfocused");
      EXPECT_NEAR(textRect.right - textRect.left, f.edit->GetViewInfo()->ClientRect.Width(), 6);
      // Focused, the inner window shows the text where the editor did.
      f.Focus();
      PumpFor(30);
      EXPECT_TRUE(f.edit->IsInnerEditShown());
      EXPECT_FALSE(f.edit->DoubleBuffered);
      f.edit->SetSelection(0, 0);
      PumpFor(30);
      check("focused");
    }
  }
}

// Runs of columns holding dark pixels, left to right: their widths.
std::vector<int> InkRuns(const guitest::TCapture& ACapture, const TRect& AArea) {
  std::vector<int> runs;
  bool inRun = false;
  for (int x = AArea.left; x < AArea.right; ++x) {
    bool dark = false;
    for (int y = AArea.top; y < AArea.bottom && !dark; ++y)
      dark = IsDark(ACapture.Pixel(x, y));
    if (dark && !inRun) runs.push_back(0);
    if (dark) ++runs.back();
    inRun = dark;
  }
  return runs;
}

TEST(TextEditPaint, APasswordIsPaintedAsStars) {
  TTextEditForm f(200);
  f.edit->GetProperties()->SetEchoMode(eemPassword);
  f.edit->GetProperties()->GetAlignment()->SetHorz(taRightJustify);
  f.edit->SetText("secret");
  f.Show();
  ASSERT_FALSE(f.edit->IsInnerEditShown());
  const guitest::TCapture shot = guitest::TCapture::Paint(f.form->GetHandle());
  shot.SavePng("text-edit-password");
  const std::vector<int> runs = InkRuns(shot, TextArea(f.edit));
  ASSERT_EQ(6u, runs.size()) << "one star per character";
  for (int width : runs)
    EXPECT_EQ(runs[0], width);
}

// A hint shows exactly when the text is wider than its rectangle; it
// carries the whole text and the text rectangle in window coordinates.
TEST(TextEditPaint, TheHintShowsOnlyForTextThatDoesNotFit) {
  const String text = "A text to measure";
  TTextEditForm f(200);
  // Unfocused, the editor paints the text itself.
  f.edit->GetProperties()->GetAlignment()->SetHorz(taRightJustify);
  f.edit->SetText(text);
  f.Show();
  TcxCustomTextEditViewInfo* info = f.edit->GetViewInfo();
  const int width = TextWidthIn(f.edit->GetStyle()->GetFont(), text);
  const int margins = f.edit->GetWidth() - info->TextRect.Width();
  const struct {
    int textWidth;
    bool hint;
  } cases[] = {{width + 20, false}, {width, false}, {width - 1, true}, {width / 2, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.textWidth);
    f.edit->SetWidth(c.textWidth + margins);
    PumpFor(20);
    ASSERT_EQ(c.textWidth, info->TextRect.Width());
    const TPoint inside(info->TextRect.left + 2, (info->TextRect.top + info->TextRect.bottom) / 2);
    String hintText = "old";
    TRect hintRect;
    int value = 0;
    EXPECT_EQ(c.hint, info->IsHintAtPoint(inside, hintText, hintRect, value));
    EXPECT_EQ(c.hint ? text : String(), hintText);
    if (c.hint) {
      EXPECT_EQ(info->TextRect, hintRect);
    }
    // Outside the text rectangle there is never a hint.
    EXPECT_FALSE(info->IsHintAtPoint(TPoint(info->TextRect.right + 1, inside.y), hintText, hintRect, value));
    // What a host asks for the hint text.
    String asked;
    info->GetHintText(inside.x, inside.y, asked);
    EXPECT_EQ(c.hint ? text : String(), asked);
  }
}

TEST(TextEditPaint, TheTextFlagsFollowTheAlignment) {
  const struct {
    TAlignment horz;
    TcxEditVertAlignment vert;
    int flags;
  } cases[] = {
      {taLeftJustify, taVCenter, 0x2D0},
      {taRightJustify, taTopJustify, 0x2C2},
      {taCenter, taBottomJustify, 0x2E1},
  };
  TTextEditForm f;
  for (const auto& c : cases) {
    f.edit->GetProperties()->GetAlignment()->SetHorz(c.horz);
    f.edit->GetProperties()->GetAlignment()->SetVert(c.vert);
    std::unique_ptr<TcxCustomEditViewData> data = f.edit->CreateViewData();
    EXPECT_EQ(c.flags, static_cast<TcxCustomTextEditViewData*>(data.get())->GetDrawTextFlags()) << c.flags;
  }
}

} // namespace
