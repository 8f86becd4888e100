// The arrow part of a drop-down button on a docked toolbar in the Flat,
// Office 2003 and XP looks, idle and hot.
#include "BarsTest.h"

#include "dxBarPainters.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include "GuiTest.h"
#include "PaintSheet.h"

using namespace painttest;

namespace {

class DropDownPartTest : public BarsTest {
protected:
  void SetUp() override {
    Build([](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      TdxBarButton* open = AddButton(m, "Open", "Open");
      open->SetButtonStyle(bsDropDown);
      AddLink(bar->GetItemLinks(), open);
    });
    Bar = Manager->GetBars()->GetItem(0);
    Form->SetBounds(60, 60, 300, 160);
    Form->Show();
    SetCursorPos(5, 5);
  }
  void TearDown() override {
    guitest::SendMouseAt(POINT{5, 5}, 0);
    guitest::PumpFor(30);
  }
  TdxBar* Bar = nullptr;
};

} // namespace

TEST_F(DropDownPartTest, TheArrowPartOfTheFlatLooksIdleAndHot) {
  const struct {
    TdxBarManagerStyle style;
    const char* name;
  } looks[] = {{bmsFlat, "flat"}, {bmsOffice11, "office11"}, {bmsXP, "xp"}};
  for (const auto& look : looks) {
    Manager->SetStyle(look.style);
    TdxBarControl* window = DockTopWindow(Bar);
    auto* button = dynamic_cast<TdxBarButtonControl*>(Bar->GetItemLinks()->GetItem(0)->GetControl());
    ASSERT_NE(button, nullptr) << look.name;
    const TRect r = Bar->GetItemLinks()->GetItem(0)->ItemRect;
    const TRect part(r.right - button->GetArrowWidth(), r.top, r.right, r.bottom);
    const COLORREF text = look.style == bmsOffice11 ? Rgb(Office11Colors.TextColor) : Sys(COLOR_BTNTEXT);

    window->Repaint();
    guitest::TCapture idle = guitest::TCapture::Paint(window->GetHandle());
    if (look.style != bmsXP) {
      EXPECT_GT(idle.CountPixels(part, text), 3) << look.name << ": the arrow";
    }

    guitest::MouseEventAt(window->GetHandle(), (r.left + part.left) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(guitest::PumpUntil([&] { return window->GetSelectedControl() == button; })) << look.name;
    guitest::TCapture hot = guitest::TCapture::Paint(window->GetHandle());
    hot.SavePng(String("bars_dropdown_button_hot_") + look.name);
    const int middle = (part.top + part.bottom) / 2;
    if (look.style == bmsXP) {
      // The style's split-button arrow part in the hot state, compared where
      // it is opaque: where it looks the same over white and over black.
      const RECT at{0, 0, part.Width(), part.Height()};
      TSheet white(part.Width(), part.Height(), RGB(255, 255, 255)), black(part.Width(), part.Height(), 0);
      for (TSheet* sheet : {&white, &black})
        dxUxTheme::DrawThemeBackground(OpenThemeHandle(totToolBar), sheet->DC(), 4, 2, &at, nullptr);
      int opaque = 0, differences = 0;
      for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x) {
          if (white.At(x, y) != black.At(x, y)) continue;
          ++opaque;
          differences += hot.Pixel(part.left + x, part.top + y) != white.At(x, y);
        }
      EXPECT_GT(opaque, part.Width() * part.Height() / 2) << look.name;
      EXPECT_EQ(differences, 0) << look.name;
    } else {
      const COLORREF frame = look.style == bmsFlat ? Sys(COLOR_HIGHLIGHT) : Rgb(Office11Colors.SelectionBorder);
      EXPECT_EQ(hot.Pixel(part.right - 1, middle), frame) << look.name << ": the part's own frame";
      EXPECT_EQ(hot.Pixel(part.left - 1, middle), frame) << look.name << ": shared with the button's";
      EXPECT_EQ(hot.Pixel(r.left, middle), frame) << look.name << ": the button's frame";
      EXPECT_GT(hot.CountPixels(part, text), 3) << look.name << ": the arrow";
    }
    guitest::SendMouseAt(POINT{5, 5}, 0);
    guitest::PumpUntil([&] { return window->GetSelectedControl() == nullptr; });
    window->SetVisible(false);
    delete window;
  }
}
