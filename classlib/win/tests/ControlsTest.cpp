// Image lists, page control, status bar, progress bar and picture buttons.
#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GuiTest.h"
#include "ImgList.h"
#include "Menus.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpUntil;

// A 16x16 glyph: a navy square on fuchsia, the transparent colour.
std::unique_ptr<TBitmap> SquareGlyph(TColor colour = clNavy) {
  auto glyph = std::make_unique<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(16, 16);
  glyph->GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph->GetCanvas()->FillRect(TRect(0, 0, 16, 16));
  glyph->GetCanvas()->GetBrush()->SetColor(colour);
  glyph->GetCanvas()->FillRect(TRect(4, 4, 12, 12));
  return glyph;
}

TColor PixelAt(TBitmap& b, int x, int y) {
  return b.GetCanvas()->GetPixel(x, y) & 0xFFFFFF;
}

TEST(BiDiMode, DrawTextFlagsFollowTheMode) {
  struct Case {
    TBiDiMode mode;
    UINT flags;
    UINT expected;
  };
  const Case cases[] = {
      {bdLeftToRight, DT_LEFT, DT_LEFT},
      {bdLeftToRight, DT_RIGHT, DT_RIGHT},
      {bdRightToLeft, DT_LEFT | DT_SINGLELINE, DT_RIGHT | DT_SINGLELINE | DT_RTLREADING},
      {bdRightToLeft, DT_RIGHT, DT_LEFT | DT_RTLREADING},
      {bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING},
      {bdRightToLeftNoAlign, DT_LEFT, DT_LEFT | DT_RTLREADING},
      {bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
  };
  TControl control(nullptr);
  for (const Case& c : cases) {
    control.SetBiDiMode(c.mode);
    EXPECT_EQ(c.expected, control.DrawTextBiDiModeFlags(c.flags)) << c.mode << " " << c.flags;
    EXPECT_EQ(c.mode == bdRightToLeft, control.UseRightToLeftAlignment()) << c.mode;
    EXPECT_EQ(c.mode != bdLeftToRight, control.UseRightToLeftReading()) << c.mode;
    EXPECT_EQ(c.mode != bdLeftToRight ? UINT(DT_RTLREADING) : 0u, control.DrawTextBiDiModeFlagsReadingOnly());
  }
}

// Shows nothing; records where and for whom it was asked to.
struct TRecordingPopupMenu : TPopupMenu {
  using TPopupMenu::TPopupMenu;
  void Popup(int X, int Y) override { shown.push_back({GetPopupComponent(), TPoint(X, Y)}); }
  std::vector<std::pair<TComponent*, TPoint>> shown;
};

// An edit that answers the menu of another control.
struct TBorrowingEdit : TEdit {
  using TEdit::TEdit;
  TPopupMenu* GetPopupMenu() const override { return lender ? lender->GetPopupMenu() : TEdit::GetPopupMenu(); }
  TControl* lender = nullptr;
};

TEST(PopupMenu, ARightClickShowsTheMenuTheControlAnswers) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(100, 100, 300, 120);
  auto* menu = new TRecordingPopupMenu(form.get());
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(150, 10, 100, 50);
  panel->SetPopupMenu(menu);
  auto* edit = new TBorrowingEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 120, 21);
  edit->lender = panel;
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return edit->Focused(); }));
  guitest::MouseEventAt(edit->GetHandle(), 20, 8, MOUSEEVENTF_RIGHTDOWN);
  guitest::MouseEventAt(edit->GetHandle(), 20, 8, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return !menu->shown.empty(); }));
  EXPECT_EQ(edit, menu->shown[0].first) << "the edit is what the menu was shown for";
  EXPECT_EQ(edit->ClientToScreen(TPoint(20, 8)), menu->shown[0].second);
  // A keyboard request shows it at the control's corner.
  edit->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->GetHandle()), MAKELPARAM(0xFFFF, 0xFFFF));
  ASSERT_EQ(2u, menu->shown.size());
  EXPECT_EQ(edit->ClientToScreen(TPoint(0, 0)), menu->shown[1].second);
}

TEST(ImageList, AddReplaceDeleteAndDrawEnabledAndDisabled) {
  TImageList images(nullptr);
  int changes = 0;
  TChangeLink link;
  link.OnChange = [&](TObject*) { ++changes; };
  images.RegisterChanges(&link);
  EXPECT_EQ(0, images.AddMasked(SquareGlyph().get(), clFuchsia));
  EXPECT_EQ(1, images.AddMasked(SquareGlyph(clRed).get(), clFuchsia));
  images.Replace(1, SquareGlyph(clLime).get(), nullptr);
  EXPECT_EQ(2, images.GetCount());
  EXPECT_EQ(3, changes);

  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(40, 20);
  target.GetCanvas()->GetBrush()->SetColor(clBtnFace);
  target.GetCanvas()->FillRect(TRect(0, 0, 40, 20));
  images.Draw(target.GetCanvas(), 0, 0, 0, true);
  images.Draw(target.GetCanvas(), 20, 0, 0, false);
  EXPECT_EQ(clNavy, PixelAt(target, 8, 8));
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(clBtnFace)), PixelAt(target, 1, 1)) << "the mask colour stays out";
  // Disabled: the shape in the shadow colour, its highlight one pixel down right.
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(clBtnShadow)), PixelAt(target, 28, 8));
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(clBtnHighlight)), PixelAt(target, 32, 12));
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(clBtnFace)), PixelAt(target, 21, 1));

  images.Delete(0);
  EXPECT_EQ(1, images.GetCount());
  TBitmap single;
  images.GetBitmap(0, &single);
  EXPECT_EQ(clLime, PixelAt(single, 8, 8));
}

TEST(CommonControls, PageControlShowsOnePageAtATime) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetClientSize(300, 200);
  auto* pages = new TPageControl(form.get());
  pages->SetParent(form.get());
  pages->SetAlign(alClient);
  TTabSheet* sheets[2];
  const char* captions[] = {"Changes", "Script"};
  for (int i = 0; i < 2; ++i) {
    sheets[i] = new TTabSheet(form.get());
    sheets[i]->SetPageControl(pages);
    sheets[i]->SetCaption(captions[i]);
  }
  auto* status = new TStatusBar(form.get());
  status->SetParent(form.get());
  status->GetPanels()->Add()->SetText("Ready");
  auto* bar = new TProgressBar(form.get());
  bar->SetParent(sheets[0]);
  bar->SetBounds(10, 10, 200, 16);
  bar->SetMax(4);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));

  EXPECT_EQ(sheets[0], pages->GetActivePage());
  EXPECT_TRUE(IsWindowVisible(sheets[0]->GetHandle()));
  EXPECT_EQ(200 - status->GetHeight(), pages->GetHeight()) << "the status bar takes the bottom";
  bar->StepBy(3);
  EXPECT_EQ(3, bar->GetPosition());
  bar->StepIt();
  EXPECT_EQ(4, bar->GetPosition()) << "the position stays within the range";
  guitest::TCapture::Paint(form->GetHandle()).SavePng("controls_page_control");

  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  pages->SelectNextPage(true);
  EXPECT_EQ(sheets[1], pages->GetActivePage());
  EXPECT_FALSE(IsWindowVisible(sheets[0]->GetHandle()));
  EXPECT_TRUE(IsWindowVisible(sheets[1]->GetHandle()));
  EXPECT_EQ(1, changes);
  // Clicking the first tab goes back.
  RECT tab;
  SendMessageA(pages->GetHandle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  guitest::ClickAt(pages->GetHandle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  EXPECT_TRUE(PumpUntil([&] { return pages->GetActivePage() == sheets[0]; }));
  EXPECT_EQ(2, changes);
  char text[32] = {};
  SendMessageA(status->GetHandle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("Ready", text);
}

TEST(Buttons, SpeedButtonsOfAGroupAndBitmapButtonKinds) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetClientSize(200, 80);
  TSpeedButton* speed[2];
  int clicks = 0;
  for (int i = 0; i < 2; ++i) {
    speed[i] = new TSpeedButton(form.get());
    speed[i]->SetParent(form.get());
    speed[i]->SetBounds(10 + i * 30, 10, 25, 25);
    speed[i]->GroupIndex = 1;
    speed[i]->SetGlyph(SquareGlyph().get());
    speed[i]->OnClick = [&](TObject*) { ++clicks; };
  }
  auto* ok = new TBitBtn(form.get());
  ok->SetParent(form.get());
  ok->SetBounds(10, 45, 75, 25);
  ok->SetKind(bkOK);
  ok->SetGlyph(SquareGlyph(clGreen).get());
  EXPECT_EQ("OK", ok->GetCaption());
  EXPECT_EQ(mrOk, ok->ModalResult);
  EXPECT_TRUE(ok->GetDefault());
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));

  guitest::ClickControl(speed[0]);
  EXPECT_TRUE(PumpUntil([&] { return speed[0]->GetDown(); }));
  guitest::ClickControl(speed[1]);
  EXPECT_TRUE(PumpUntil([&] { return speed[1]->GetDown(); }));
  EXPECT_FALSE(speed[0]->GetDown()) << "one button of a group is down";
  EXPECT_EQ(2, clicks);

  guitest::TCapture capture = guitest::TCapture::Paint(form->GetHandle());
  capture.SavePng("controls_buttons");
  EXPECT_EQ(static_cast<COLORREF>(clNavy), capture.Pixel(10 + 12, 10 + 12)) << "the glyph is drawn";
  RECT glyphArea{10, 45, 85, 70};
  EXPECT_GT(capture.CountPixels(glyphArea, static_cast<COLORREF>(clGreen)), 30)
      << "the bitmap button's glyph";
}

} // namespace
