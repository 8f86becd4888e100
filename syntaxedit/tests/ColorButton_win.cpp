// The colour button and its palette, driven by real clicks: picking a cell,
// the other colour through the colour dialog, the closing rules, and the
// button's enabled and disabled looks.
#include "GuiTest.h"
#include "SYM_CBut_win.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpUntil;
using guitest::TCapture;

class ColorButton : public ::testing::Test {
protected:
  void SetUp() override {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(60, 60, 260, 200);
    Button = new TSM_ColorButton(Form.get());
    Button->SetParent(Form.get());
    Button->SetBounds(20, 20, 124, 22);
    Button->OnColorChange = [this](TObject*) { ++Changes; };
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Button->IsShowing(); }));
  }
  void TearDown() override {
    if (Button->GetPalette()) Button->GetPalette()->Close();
    PumpUntil([&] { return !Button->GetPalette(); }, 1000);
  }
  TTSM_ColorButtonPalette* Open() {
    guitest::ClickControl(Button);
    EXPECT_TRUE(PumpUntil([&] { return Button->GetPalette() && Button->GetPalette()->IsShowing(); }));
    return Button->GetPalette();
  }
  void ClickCell(TTSM_ColorButtonPalette* palette, TPoint cell) {
    const TRect r = palette->CellRect(cell);
    guitest::ClickAt(palette->GetHandle(), r.left + 8, r.top + 8);
  }
  bool Closed() {
    return PumpUntil([&] { return !Button->GetPalette(); }, 2000);
  }

  std::unique_ptr<TForm> Form;
  TSM_ColorButton* Button = nullptr;
  int Changes = 0;
};

} // namespace

TEST_F(ColorButton, ACellClickSetsTheColourOnceAndClosesThePalette) {
  TTSM_ColorButtonPalette* palette = Open();
  ASSERT_NE(palette, nullptr);
  // Placed just below the button.
  EXPECT_EQ(palette->GetTop(), Button->ClientToScreen({0, 0}).y + Button->GetHeight());
  TCapture::Paint(palette->GetHandle()).SavePng("syntaxmemo_color_palette");
  ClickCell(palette, {1, 3});
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Button->GetColor(), static_cast<TColor>(RGB(0, 255, 0)));
  EXPECT_EQ(Changes, 1);

  palette = Open();
  EXPECT_EQ(palette->GetHotCell().x, 1);
  EXPECT_EQ(palette->GetHotCell().y, 3);
  ClickCell(palette, {1, 3});
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Changes, 1);
}

TEST_F(ColorButton, AColourOffThePaletteIsTheOtherColourNextTime) {
  Button->SetColor(0x00123456);
  TTSM_ColorButtonPalette* palette = Open();
  EXPECT_EQ(palette->GetOtherColor(), 0x00123456);
  EXPECT_EQ(palette->GetHotCell().x, -1);
  const TCapture shot = TCapture::Paint(palette->GetHandle());
  const TRect other = palette->CellRect({0, 0});
  EXPECT_EQ(shot.Pixel(other.left + 8, other.top + 8), 0x00123456u);
}

TEST_F(ColorButton, EscapeAndTheApplicationsDeactivationClose) {
  struct Case {
    const char* name;
    std::function<void(TTSM_ColorButtonPalette*)> close;
  };
  const Case cases[] = {
      {"Esc", [](TTSM_ColorButtonPalette* p) { SendMessageA(p->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"application deactivated",
       [](TTSM_ColorButtonPalette* p) {
         SendMessageA(p->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
         SendMessageA(p->GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
       }},
      {"click outside the cells",
       [](TTSM_ColorButtonPalette* p) { guitest::ClickAt(p->GetHandle(), 36, 92); }},
  };
  bool chained = false;
  Application->OnDeactivate = [&](TObject*) { chained = true; };
  for (const Case& c : cases) {
    c.close(Open());
    EXPECT_TRUE(Closed()) << c.name;
  }
  EXPECT_TRUE(chained);
  EXPECT_FALSE(Application->OnDeactivate == nullptr) << "the saved handler is back";
  Application->OnDeactivate = nullptr;
  EXPECT_EQ(Changes, 0);
}

TEST_F(ColorButton, OtherGoesThroughTheColourDialogWhichKeepsThePaletteOpen) {
  Button->SetColor(static_cast<TColor>(RGB(255, 0, 0)));
  Changes = 0;
  Button->OtherColor = 0x00345678;
  TColorArrayClass custom(8, 2);
  for (int x = 1; x <= 8; ++x)
    for (int y = 1; y <= 2; ++y)
      custom.SetColor(x, y, 0x00FFFFFF);
  custom.SetColor(2, 1, 0x00112233);
  custom.SetColor(3, 2, 0x00445566);
  Button->SetCustomColors(custom);
  TTSM_ColorButtonPalette* palette = Open();
  bool keptOpen = false;
  guitest::AnswerNextModal([&](HWND dialog) {
    SendMessageA(palette->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageA(palette->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
    SendMessageA(palette->GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
    palette->Close();
    guitest::PumpFor(100);
    keptOpen = Button->GetPalette() == palette && palette->GetColorDialogOpen();
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  guitest::ClickControl(palette->btnOther);
  ASSERT_TRUE(Closed());
  EXPECT_TRUE(keptOpen);
  EXPECT_EQ(Button->GetColor(), 0x00345678);
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(Button->GetCustomColors().IsEqual(&custom));
}

TEST_F(ColorButton, EnabledShowsTheSwatchDisabledHatchesIt) {
  Button->SetColor(static_cast<TColor>(RGB(0, 0, 255)));
  const TCapture enabled = TCapture::Paint(Form->GetHandle());
  enabled.SavePng("syntaxmemo_color_button_enabled");
  // The swatch: from 7 pixels in to 16 pixels short of the right end.
  const RECT swatch{Button->GetLeft() + 8, Button->GetTop() + 6, Button->GetLeft() + Button->GetWidth() - 18,
                    Button->GetTop() + Button->GetHeight() - 6};
  const int area = (swatch.right - swatch.left) * (swatch.bottom - swatch.top);
  EXPECT_EQ(enabled.CountPixels(swatch, RGB(0, 0, 255)), area);

  Button->SetEnabled(false);
  const TCapture disabled = TCapture::Paint(Form->GetHandle());
  disabled.SavePng("syntaxmemo_color_button_disabled");
  EXPECT_EQ(disabled.CountPixels(swatch, RGB(0, 0, 255)), 0);
  const int black = disabled.CountPixels(swatch, RGB(0, 0, 0));
  // One pixel in four is on a diagonal line.
  EXPECT_GT(black, area / 5);
  EXPECT_LT(black, area / 3);
}
