// Edit and combo items on a docked toolbar in the Flat, Office 2003 and XP
// looks: the edit's frame idle, hot and while it edits, the combo's button
// and arrow idle, hot, dropped down and disabled, and the drop-down list's
// border, read from the windows' pixels.
#include "BarsTest.h"
#include "dxBarEdits.h"
#include "dxBarPainters.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include "GuiTest.h"
#include "PaintSheet.h"

using namespace painttest;

namespace {

struct TLook {
  TdxBarManagerStyle Style;
  const char* Name;
};
constexpr TLook kLooks[] = {{bmsFlat, "flat"}, {bmsOffice11, "office11"}, {bmsXP, "xp"}};

class EditPaintersTest : public BarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      Edit = new TdxBarEdit(m->GetOwnerForm());
      Edit->SetName("Edit1");
      Edit->SetCategory(0);
      Edit->SetWidth(120);
      Edit->SetText("Plain");
      AddLink(bar->GetItemLinks(), Edit);
      Combo = new TdxBarCombo(m->GetOwnerForm());
      Combo->SetName("Combo1");
      Combo->SetCategory(0);
      Combo->SetWidth(120);
      for (const char* fruit : {"Apple", "Apricot", "Banana", "Cherry"})
        Combo->GetItems()->Add(fruit);
      AddLink(bar->GetItemLinks(), Combo, true);
    });
    Bar = Manager->GetBars()->GetItem(0);
    Form->SetBounds(60, 60, 520, 200);
    Form->Show();
    SetCursorPos(5, 5);
  }
  void TearDown() override {
    Manager->DeactivateAll();
    guitest::SendMouseAt(POINT{5, 5}, 0);
    guitest::PumpFor(30);
  }

  void Dock(TdxBarManagerStyle style) {
    Manager->SetStyle(style);
    delete Window;
    Window = DockTopWindow(Bar);
    Combo->SetItemIndex(1);
    Window->Repaint();
  }
  TdxBarItemLink* Link(int i) const { return Bar->GetItemLinks()->GetItem(i); }
  TdxBarEditControl* EditControl() const { return dynamic_cast<TdxBarEditControl*>(Link(0)->GetControl()); }
  TdxBarComboControl* ComboControl() const { return dynamic_cast<TdxBarComboControl*>(Link(1)->GetControl()); }
  guitest::TCapture Capture() {
    Window->Repaint();
    return guitest::TCapture::Paint(Window->GetHandle());
  }
  HWND ListWnd() const {
    return Combo->GetDropDownList()->HandleAllocated() ? Combo->GetDropDownList()->GetHandle() : nullptr;
  }

  TdxBar* Bar = nullptr;
  TdxBarEdit* Edit = nullptr;
  TdxBarCombo* Combo = nullptr;
  TdxBarControl* Window = nullptr;
};

// The colours a look's frames and arrows take on a toolbar.
struct TExpected {
  COLORREF Hot;       // the frame of a hot edit and around a hot combo's button
  COLORREF Arrow;     // an enabled arrow
  COLORREF Idle;      // the idle combo button's frame
  int ButtonWidth;    // the combo button's width
};

TExpected Expected(TdxBarManagerStyle style, const TdxBarControl* window) {
  if (style == bmsOffice11)
    return {Rgb(Office11Colors.SelectionBorder), Rgb(Office11Colors.TextColor), Sys(COLOR_WINDOW), 13};
  return {Sys(COLOR_HIGHLIGHT), Sys(COLOR_BTNTEXT), Sys(COLOR_BTNHIGHLIGHT), window->ComboButtonWidth};
}

// A theme part drawn alone into a sheet of R's size, to compare with what
// the painter drew at R.
TSheet ThemePart(TdxThemedObjectType theme, int part, int state, const TRect& r, COLORREF under) {
  TSheet sheet(r.Width(), r.Height(), under);
  const RECT at{0, 0, r.Width(), r.Height()};
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(theme), sheet.DC(), part, state, &at, nullptr);
  return sheet;
}

bool SameAt(const guitest::TCapture& c, const TRect& r, const TSheet& part, int x, int y) {
  return c.Pixel(r.left + x, r.top + y) == part.At(x, y);
}

} // namespace

TEST_F(EditPaintersTest, TheEditsFrameIdleHotAndWhileEditing) {
  for (const TLook& look : kLooks) {
    Dock(look.Style);
    const TExpected e = Expected(look.Style, Window);
    const TRect r = Link(0)->ItemRect;
    guitest::TCapture idle = Capture();
    // The bar's own background at the same height: the first column of the
    // group separator after the edit.
    const COLORREF bar = idle.Pixel(r.right, r.top + r.Height() / 2);
    const TRect value = EditControl()->GetEditRect();
    EXPECT_GT(idle.CountPixels(value, Sys(COLOR_WINDOW)), value.Width() * value.Height() / 2) << look.Name;
    EXPECT_GT(idle.CountPixels(value, Sys(COLOR_WINDOWTEXT)), 10) << look.Name << ": the text";
    EXPECT_EQ(idle.Pixel(r.left, r.top + r.Height() / 2), bar) << look.Name << ": idle, the bar shows around it";
    if (look.Style != bmsXP) {
      EXPECT_EQ(value.left, r.left + 1) << look.Name << ": the value one pixel in";
    }
    Window->HotTrackControl(EditControl());
    guitest::TCapture hot = Capture();
    hot.SavePng(String("bars_edit_hot_") + look.Name);
    if (look.Style == bmsXP) {
      const TSheet part = ThemePart(totEdit, 1, etsNormal, r, kRed);
      for (const POINT p : {POINT{0, r.Height() / 2}, POINT{r.Width() / 2, 0}, POINT{r.Width() - 1, 2}})
        EXPECT_TRUE(SameAt(hot, r, part, p.x, p.y)) << look.Name << ": the theme's edit frame at " << p.x << "," << p.y;
    } else {
      for (const POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.top + 3}, POINT{r.left + 5, r.bottom - 1}})
        EXPECT_EQ(hot.Pixel(p.x, p.y), e.Hot) << look.Name << ": the hot frame at " << p.x << "," << p.y;
    }
    Window->HotTrackControl(nullptr);

    // Editing: the in-place window's text starts two pixels in.
    guitest::ClickAt(Window->GetHandle(), r.left + 30, (r.top + r.bottom) / 2);
    guitest::PumpFor(50);
    HWND editor = GetFocus();
    ASSERT_TRUE(editor && IsChild(Window->GetHandle(), editor)) << look.Name;
    EXPECT_TRUE(GetWindowLongA(editor, GWL_STYLE) & ES_MULTILINE) << look.Name;
    RECT formatting{};
    SendMessageA(editor, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&formatting));
    RECT client{};
    GetClientRect(editor, &client);
    // Two pixels in at the top, whole lines down to two pixels above the
    // bottom (the control adds its own margins at the sides).
    EXPECT_EQ(formatting.top, 2) << look.Name;
    EXPECT_LE(formatting.bottom, client.bottom - 2) << look.Name;
    EXPECT_GE(formatting.left, 2) << look.Name;
    guitest::TCapture editing = Capture();
    editing.SavePng(String("bars_edit_editing_") + look.Name);
    Manager->DeactivateAll();
    guitest::PumpFor(30);
  }
}

TEST_F(EditPaintersTest, TheCombosButtonIdleHotDroppedDownAndDisabled) {
  for (const TLook& look : kLooks) {
    Dock(look.Style);
    const TExpected e = Expected(look.Style, Window);
    guitest::TCapture idle = Capture();
    idle.SavePng(String("bars_combo_") + look.Name);
    const TRect button = ComboControl()->GetButtonRect();
    const TRect item = Link(1)->ItemRect;
    EXPECT_EQ(button.Width(), e.ButtonWidth) << look.Name;
    EXPECT_EQ(button.right, item.right - 1) << look.Name << ": inside the frame";
    const TRect value = ComboControl()->GetEditRect();
    EXPECT_EQ(value.right, button.left - (look.Style == bmsXP ? 0 : 1)) << look.Name;
    if (look.Style == bmsXP) {
      const TSheet part = ThemePart(totComboBox, 1, 1, button, kRed);
      EXPECT_TRUE(SameAt(idle, button, part, button.Width() / 2, button.Height() / 2 + 1)) << look.Name;
      EXPECT_TRUE(SameAt(idle, button, part, 0, 0)) << look.Name;
    } else {
      EXPECT_GT(idle.CountPixels(button, e.Arrow), 3) << look.Name << ": the arrow";
      EXPECT_EQ(idle.Pixel(button.left, button.top), e.Idle) << look.Name << ": the idle button's frame";
      EXPECT_EQ(idle.Pixel(button.left - 1, button.top + 3), e.Idle) << look.Name << ": the column before it";
    }

    Window->HotTrackControl(ComboControl());
    guitest::TCapture hot = Capture();
    hot.SavePng(String("bars_combo_hot_") + look.Name);
    if (look.Style == bmsXP) {
      const TSheet part = ThemePart(totComboBox, 1, 2, button, kRed);
      EXPECT_TRUE(SameAt(hot, button, part, button.Width() / 2, button.Height() / 2 + 1)) << look.Name;
    } else {
      EXPECT_EQ(hot.Pixel(button.left - 1, button.top + 3), e.Hot) << look.Name << ": the frame around the button";
      EXPECT_EQ(hot.Pixel(button.right, button.top + 3), e.Hot) << look.Name;
      EXPECT_GT(hot.CountPixels(button, e.Arrow), 3) << look.Name;
      if (look.Style == bmsOffice11) {
        EXPECT_EQ(hot.Pixel(button.left + 1, button.top), Rgb(Office11Colors.HotButtonLight))
            << look.Name << ": the hot gradient starts light";
      }
    }
    Window->HotTrackControl(nullptr);

    // Dropped down by a click on the button: the list below with its border.
    guitest::ClickAt(Window->GetHandle(), (button.left + button.right) / 2, (button.top + button.bottom) / 2);
    guitest::PumpUntil([&] { return ListWnd() && IsWindowVisible(ListWnd()); });
    ASSERT_TRUE(ListWnd() && IsWindowVisible(ListWnd())) << look.Name;
    EXPECT_EQ(Manager->GetPainterClass()->GetDropDownListBorder(), 2) << look.Name;
    guitest::TCapture dropped = Capture();
    dropped.SavePng(String("bars_combo_dropped_") + look.Name);
    if (look.Style == bmsXP) {
      const TSheet part = ThemePart(totComboBox, 1, 3, button, kRed);
      EXPECT_TRUE(SameAt(dropped, button, part, button.Width() / 2, button.Height() / 2 + 1)) << look.Name;
    } else {
      // Flat: highlight text on the checked-selected brush.
      const COLORREF arrow = look.Style == bmsFlat ? Sys(COLOR_HIGHLIGHTTEXT) : e.Arrow;
      EXPECT_GT(dropped.CountPixels(button, arrow), 3) << look.Name;
      EXPECT_EQ(dropped.Pixel(button.right, button.top + 3), e.Hot) << look.Name;
    }
    RECT w{};
    GetWindowRect(ListWnd(), &w);
    const int lw = w.right - w.left, lh = w.bottom - w.top;
    TSheet list(lw, lh);
    HDC wdc = GetWindowDC(ListWnd());
    BitBlt(list.DC(), 0, 0, lw, lh, wdc, 0, 0, SRCCOPY);
    ReleaseDC(ListWnd(), wdc);
    list.Capture.SavePng(String("bars_combo_list_") + look.Name);
    const COLORREF outer = look.Style == bmsOffice11 ? Rgb(Office11Colors.BarFrame) : Sys(COLOR_BTNSHADOW);
    const COLORREF inner = look.Style == bmsOffice11 ? Rgb(Office11Colors.MenuBackground) : Sys(COLOR_WINDOW);
    for (const POINT p : {POINT{0, 0}, POINT{lw - 1, lh / 2}, POINT{lw / 2, lh - 1}, POINT{0, lh - 1}})
      EXPECT_EQ(list.At(p.x, p.y), outer) << look.Name << ": the list's outer ring at " << p.x << "," << p.y;
    for (const POINT p : {POINT{1, 1}, POINT{lw - 2, lh / 2}, POINT{lw / 2, lh - 2}})
      EXPECT_EQ(list.At(p.x, p.y), inner) << look.Name << ": the list's inner ring at " << p.x << "," << p.y;
    Manager->DeactivateAll();
    guitest::PumpUntil([&] { return !ListWnd() || !IsWindowVisible(ListWnd()); });

    // Disabled: no hot frame, a grey arrow.
    Combo->SetEnabled(false);
    guitest::TCapture off = Capture();
    off.SavePng(String("bars_combo_disabled_") + look.Name);
    if (look.Style == bmsXP) {
      const TSheet part = ThemePart(totComboBox, 1, 4, button, kRed);
      EXPECT_TRUE(SameAt(off, button, part, button.Width() / 2, button.Height() / 2 + 1)) << look.Name;
    } else {
      const COLORREF grey = look.Style == bmsOffice11 ? Rgb(Office11Colors.DisabledText) : Sys(COLOR_BTNSHADOW);
      EXPECT_GT(off.CountPixels(button, grey), 3) << look.Name << ": the disabled arrow";
      EXPECT_EQ(off.CountPixels(button, e.Arrow), 0) << look.Name;
    }
    Combo->SetEnabled(true);
  }
}
