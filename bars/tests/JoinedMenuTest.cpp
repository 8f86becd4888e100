// A menu opened from its main-menu entry, as a person sees the two: the
// flat looks join the menu to its button (the shared edge of both frames
// stays open and the strip takes the button's inside), the XP look keeps
// both whole.
#include "BarsTest.h"

#include "dxBarPainters.h"
#include "dxOffice11.h"

#include "GuiTest.h"
#include "PaintSheet.h"

using namespace painttest;

namespace {

class JoinedMenuTest : public BarsTest {
protected:
  void SetUp() override {
    Build([](TdxBarManager* m) {
      auto* file = new TdxBarSubItem(m->GetOwnerForm());
      file->SetName("File");
      file->SetCategory(0);
      file->SetCaption("&File");
      AddLink(file->GetItemLinks(), AddButton(m, "Open", "&Open"));
      AddLink(file->GetItemLinks(), AddButton(m, "Save", "&Save As Something Long"));
      TdxBar* menu = m->GetBars()->Add();
      menu->SetCaption("Main Menu");
      menu->SetIsMainMenu(true);
      AddLink(menu->GetItemLinks(), file);
      menu->SetDockingStyle(dsTop);
      menu->SetVisible(true);
    });
    Manager->SetMenuAnimations(maNone);
    Form->SetBounds(100, 100, 400, 260);
    Form->Show();
    SetCursorPos(5, 5);
    guitest::PumpFor(50);
  }
  void TearDown() override {
    Manager->DeactivateAll();
    MovePointerOff(MenuBar());
  }

  TdxBarControl* MenuBar() const { return Manager->GetBars()->GetItem(0)->GetBarControl(); }
  TdxBarSubMenuControl* FileMenu() const {
    auto* file = dynamic_cast<TdxBarSubItem*>(Manager->FindItemByName("File"));
    return dynamic_cast<TdxBarSubMenuControl*>(file->GetItemLinks()->GetBarControl());
  }

  // Opens "File" by a click on its entry.
  TdxBarSubMenuControl* OpenFile() {
    const TRect r = MenuBar()->GetItemLinks()->GetItem(0)->ItemRect;
    guitest::ClickAt(MenuBar()->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    guitest::PumpUntil([&] { return FileMenu() && IsWindowVisible(FileMenu()->GetHandle()); });
    guitest::PumpFor(50);
    return FileMenu();
  }
};

// The bar and the menu in one picture of the screen rectangle Area: the
// dock with the bar's client area, the menu's frame from its painter and
// its client area.
TSheet Compose(TdxBarControl* bar, TdxBarSubMenuControl* menu, const RECT& area) {
  TSheet sheet(area.right - area.left, area.bottom - area.top, Sys(COLOR_BTNFACE));
  auto blit = [&](const guitest::TCapture& c, HWND wnd, bool client) {
    POINT at{0, 0};
    if (client)
      ClientToScreen(wnd, &at);
    else {
      RECT w;
      GetWindowRect(wnd, &w);
      at = POINT{w.left, w.top};
    }
    BitBlt(sheet.DC(), at.x - area.left, at.y - area.top, c.Width(), c.Height(), c.DC(), 0, 0, SRCCOPY);
  };
  HWND dock = GetParent(bar->GetHandle());
  blit(guitest::TCapture::Paint(dock), dock, true);
  blit(guitest::TCapture::Paint(bar->GetHandle()), bar->GetHandle(), true);
  RECT m;
  GetWindowRect(menu->GetHandle(), &m);
  POINT old{};
  SetViewportOrgEx(sheet.DC(), m.left - area.left, m.top - area.top, &old);
  menu->GetPainter()->DrawMenuFrame(menu, sheet.DC(), TRect(0, 0, m.right - m.left, m.bottom - m.top));
  SetViewportOrgEx(sheet.DC(), old.x, old.y, nullptr);
  blit(guitest::TCapture::Paint(menu->GetHandle()), menu->GetHandle(), true);
  return sheet;
}

} // namespace

TEST_F(JoinedMenuTest, FlatLooksJoinTheMenuToItsButtonAndXPKeepsBothWhole) {
  const struct {
    TdxBarManagerStyle style;
    const char* name;
  } looks[] = {{bmsFlat, "flat"}, {bmsOffice11, "office11"}, {bmsXP, "xp"}};
  for (const auto& look : looks) {
    // The clicks on the entry stand further apart than a double click.
    Manager->SetStyle(look.style);
    MovePointerOff(MenuBar());
    guitest::PumpFor(static_cast<int>(GetDoubleClickTime()) + 50);
    TdxBarSubMenuControl* menu = OpenFile();
    ASSERT_NE(menu, nullptr) << look.name;
    const TdxBarItemControlPainterClass painter = Manager->GetPainterClass();
    RECT m, b;
    GetWindowRect(menu->GetHandle(), &m);
    GetWindowRect(MenuBar()->GetHandle(), &b);
    const TRect item = MenuBar()->GetItemLinks()->GetItem(0)->ItemRect;
    const TPoint topLeft = MenuBar()->ClientToScreen(TPoint(item.left, item.top));
    const TRect owner(topLeft.x, topLeft.y, topLeft.x + item.Width(), topLeft.y + item.Height());
    RECT area;
    UnionRect(&area, &m, &b);
    area.bottom = std::min<LONG>(area.bottom, m.top + 30);
    area.right = std::min<LONG>(area.right, m.right + 10);
    TSheet sheet = Compose(MenuBar(), menu, area);
    sheet.Capture.SavePng(String("bars_menu_joined_") + look.name);
    auto at = [&](int x, int y) { return sheet.At(x - area.left, y - area.top); };

    const TRect joint = menu->GetOwnerJointRect(true);
    if (!painter->ConnectsSubMenuToButton()) {
      // The menu lies below its entry, but nothing joins them: the menu's
      // frame runs whole along its top.
      EXPECT_TRUE(IsRectEmpty(&joint)) << look.name;
      EXPECT_EQ(m.top, owner.bottom) << look.name;
      const COLORREF frame = at(m.left, m.top);
      for (int x = m.left; x < m.right; ++x) ASSERT_EQ(at(x, m.top), frame) << look.name << " x " << x;
      Manager->DeactivateAll();
      continue;
    }
    ASSERT_EQ(m.top, owner.bottom) << look.name << ": the menu opens right below its entry";
    ASSERT_EQ(joint, TRect(owner.left + 1, owner.bottom - 1, owner.right - 1, owner.bottom)) << look.name;
    const COLORREF frame = look.style == bmsFlat ? BrushColor(Manager->GetFlatFrameBrush())
                                                 : Rgb(Office11Colors.BarFrame);
    // The strip along the entry's lower edge, in the button and in the menu.
    const COLORREF buttonSide = look.style == bmsFlat ? BrushColor(Manager->GetFlatToolbarBrush())
                                                      : Rgb(Office11Colors.ToolbarDark);
    const COLORREF menuSide = look.style == bmsFlat ? BrushColor(Manager->GetFlatToolbarBrush())
                                                    : Rgb(Office11Colors.MenuBackground);
    for (int x = joint.left; x < joint.right; ++x) {
      EXPECT_EQ(at(x, owner.bottom - 1), buttonSide) << look.name << ": the button's open edge at " << x;
      EXPECT_EQ(at(x, m.top), menuSide) << look.name << ": the menu's open edge at " << x;
    }
    // The rest of both frames is closed.
    EXPECT_EQ(at(owner.left, owner.bottom - 1), frame) << look.name << ": the button's corner";
    EXPECT_EQ(at(owner.left, owner.top + 2), frame) << look.name << ": the button's left side";
    EXPECT_EQ(at(owner.right - 1, owner.top + 2), frame) << look.name << ": the button's right side";
    EXPECT_EQ(at(m.left, m.top), frame) << look.name << ": the menu's corner under the button";
    EXPECT_EQ(at(owner.right - 1, m.top), frame) << look.name << ": the menu's frame below the button's side";
    EXPECT_EQ(at(m.right - 2, m.top), frame) << look.name << ": the menu's frame beside the button";
    Manager->DeactivateAll();
    guitest::PumpFor(30);
    // Closed, the entry's frame is gone and the window has no joint.
    EXPECT_TRUE(FileMenu() == nullptr || !IsWindowVisible(FileMenu()->GetHandle())) << look.name;
  }
}
