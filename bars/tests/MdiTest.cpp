// MDI on the toolbar manager: the active child's main menu merged into the
// parent's, the maximized child's icon with its copied system menu, and the
// caption buttons of a maximized child on the parent's main menu.
#include "BarsTest.h"

#include "ActnList.h"
#include "Forms.h"

#include <algorithm>
#include <vector>

namespace {

using guitest::PumpUntil;

TdxBarSubItem* AddSubItem(TdxBarManager* manager, const String& caption) {
  auto* item = new TdxBarSubItem(manager->GetOwnerForm());
  item->SetCaption(caption);
  return item;
}

// A docked main menu of sub items with these captions; an empty caption
// stands for a link that is not visible.
TdxBarDefinition MainMenu(std::vector<String> captions) {
  return [captions](TdxBarManager* m) {
    TdxBar* bar = m->GetBars()->Add();
    bar->SetCaption("Main Menu");
    bar->SetIsMainMenu(true);
    for (const String& caption : captions) {
      TdxBarItemLink* link = bar->GetItemLinks()->Add();
      link->SetItem(AddSubItem(m, caption.empty() ? String("Hidden") : caption));
      if (caption.empty()) link->SetVisible(false);
    }
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
  };
}

class TFrame : public TForm {
public:
  explicit TFrame(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Frame");
    SetFormStyle(fsMDIForm);
    SetBounds(20, 20, 720, 520);
  }
};

class MdiTest : public testing::Test {
protected:
  void SetUp() override {
    Application->CreateForm(Frame);
    Manager = CreateBarManager(Frame, MainMenu({"&File", "&Window"}));
    Frame->Show();
    ASSERT_TRUE(PumpUntil([&] { return Frame->GetActive(); }));
  }
  void TearDown() override {
    guitest::SendMouseAt(POINT{5, 5}, 0);
    for (auto it = Children.rbegin(); it != Children.rend(); ++it)
      if (std::find(Freed.begin(), Freed.end(), *it) == Freed.end()) delete *it;
    delete Frame;
  }

  // A child with a main menu of "&Edit", a hidden link and "&View", shown
  // and active.
  TForm* AddChild(const String& caption) {
    auto* child = new TForm(nullptr);
    Children.push_back(child);
    child->SetCaption(caption);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(10 + 30 * static_cast<int>(Children.size()), 10, 320, 200);
    child->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    child->OnDestroy = [this, child](TObject*) { Freed.push_back(child); };
    child->AfterConstruction();
    CreateBarManager(child, MainMenu({"&Edit", "", "&View"}));
    child->Show();
    PumpUntil([&] { return Frame->GetActiveMDIChild() == child && Manager->ActiveMDIChildWindow == child->GetHandle(); });
    return child;
  }
  bool IsFreed(TForm* child) const { return std::find(Freed.begin(), Freed.end(), child) != Freed.end(); }

  TdxBar* MainBar() const { return Manager->GetMainMenuBar(); }
  TdxBarControl* MainWindow() const { return MainBar()->GetBarControl(); }
  static TdxBar* ChildBar(TForm* child) { return GetBarManagerOfForm(child)->GetMainMenuBar(); }
  // The captions of the main menu's links, the system-menu entry as "*".
  std::vector<String> Entries() const {
    std::vector<String> entries;
    TdxBarItemLinks* links = MainBar()->GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i) {
      TdxBarItem* item = links->GetItem(i)->GetItem();
      entries.push_back(!item                                     ? String()
                        : dynamic_cast<TSystemMenuSubItem*>(item) ? String("*")
                                                                  : item->GetCaption());
    }
    return entries;
  }
  TSystemMenuSubItem* SystemItem() const {
    return dynamic_cast<TSystemMenuSubItem*>(MainBar()->GetItemLinks()->GetItem(0)->GetItem());
  }
  void Maximize(TForm* child) {
    SendMessageA(Frame->GetClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->GetHandle()), 0);
    PumpUntil([&] { return Manager->ActiveMDIChildMaximized; });
  }
  void Restore(TForm* child) {
    SendMessageA(Frame->GetClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->GetHandle()), 0);
    PumpUntil([&] { return !Manager->ActiveMDIChildMaximized; });
  }
  void Activate(TForm* child) {
    SendMessageA(Frame->GetClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->GetHandle()), 0);
    PumpUntil([&] { return Manager->ActiveMDIChildWindow == child->GetHandle(); });
  }
  TPoint ButtonCentre(int index) const {
    const TRect r = MainWindow()->GetCaptionButtonRect(index);
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  TFrame* Frame = nullptr;
  TdxBarManager* Manager = nullptr;
  std::vector<TForm*> Children;
  std::vector<TForm*> Freed;
};

using Names = std::vector<String>;

TEST_F(MdiTest, MaximizingAddsTheIconAndMergesTheChildsMenuUntilRestored) {
  TForm* child = AddChild("Child");
  EXPECT_EQ(Names({"&File", "&Window"}), Entries()) << "not merged while the child is not maximized";
  EXPECT_TRUE(ChildBar(child)->GetVisible());
  RECT before;
  GetWindowRect(child->GetHandle(), &before);

  Maximize(child);
  EXPECT_EQ(Names({"*", "&File", "&Window", "&Edit", "&View"}), Entries());
  ASSERT_NE(nullptr, SystemItem());
  EXPECT_EQ(child->GetHandle(), SystemItem()->ChildWindow);
  EXPECT_FALSE(ChildBar(child)->GetVisible()) << "the child's own menu hides while merged";
  EXPECT_TRUE(MainWindow()->HasMDIButtons());
  // The icon is shown as the first control, small-icon sized.
  TdxBarItemControl* icon = MainBar()->GetItemLinks()->GetItem(0)->GetControl();
  ASSERT_NE(nullptr, icon);
  EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), icon->GetWidth());
  EXPECT_FALSE(icon->IsCustomizable());
  guitest::TCapture::Paint(MainWindow()->GetHandle()).SavePng("bars_mdi_maximized_main_menu");

  Restore(child);
  EXPECT_EQ(Names({"&File", "&Window"}), Entries());
  EXPECT_TRUE(ChildBar(child)->GetVisible()) << "shown again after unmerging";
  EXPECT_FALSE(MainWindow()->HasMDIButtons());
  RECT after;
  GetWindowRect(child->GetHandle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after)) << "the child keeps its place";
}

TEST_F(MdiTest, AlwaysMergeMergesOnActivationAndKeepsTheChildsMenuHidden) {
  Manager->AlwaysMerge = true;
  TForm* first = AddChild("First");
  EXPECT_EQ(Names({"&File", "&Window", "&Edit", "&View"}), Entries()) << "merged though not maximized";
  EXPECT_FALSE(ChildBar(first)->GetVisible());
  TForm* second = AddChild("Second");
  Activate(first);
  Activate(second);
  EXPECT_EQ(Names({"&File", "&Window", "&Edit", "&View"}), Entries()) << "only the active child's entries";
  for (int i = 2; i < 4; ++i)
    EXPECT_EQ(GetBarManagerOfForm(second), MainBar()->GetItemLinks()->GetItem(i)->GetItem()->GetBarManager());
  EXPECT_FALSE(ChildBar(first)->GetVisible()) << "not shown again after unmerging";
}

TEST_F(MdiTest, TheMergedMenuAndTheCaptionButtonsFollowTheActiveMaximizedChild) {
  TForm* first = AddChild("First");
  Maximize(first);
  TForm* second = AddChild("Second");
  ASSERT_TRUE(IsZoomed(second->GetHandle())) << "a child made while the active one is maximized comes maximized";
  auto mergedFrom = [&](TForm* child) {
    EXPECT_EQ(Names({"*", "&File", "&Window", "&Edit", "&View"}), Entries());
    for (int i = 3; i < 5; ++i)
      EXPECT_EQ(GetBarManagerOfForm(child), MainBar()->GetItemLinks()->GetItem(i)->GetItem()->GetBarManager());
    ASSERT_NE(nullptr, SystemItem());
    EXPECT_EQ(child->GetHandle(), SystemItem()->ChildWindow);
    EXPECT_FALSE(ChildBar(child)->GetVisible());
    EXPECT_TRUE(MainWindow()->HasMDIButtons());
  };
  mergedFrom(second);

  Activate(first);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(first->GetHandle()) && !IsZoomed(second->GetHandle()); }));
  guitest::PumpFor(50);
  mergedFrom(first);
  EXPECT_TRUE(ChildBar(second)->GetVisible()) << "the restored child shows its own menu again";

  // The caption buttons act on the child now active.
  guitest::PumpFor(GetDoubleClickTime() + 100);
  const TPoint c = ButtonCentre(2);
  guitest::ClickAt(MainWindow()->GetHandle(), c.x, c.y);
  ASSERT_TRUE(PumpUntil([&] { return IsFreed(first); }));
  EXPECT_FALSE(IsFreed(second));
  ASSERT_TRUE(PumpUntil([&] { return Manager->ActiveMDIChildWindow == second->GetHandle(); }));
  guitest::PumpFor(50);
  ASSERT_TRUE(IsZoomed(second->GetHandle())) << "the next child takes over the maximized state";
  mergedFrom(second);
}

TEST_F(MdiTest, SwitchingMaximizedChildrenUnmergesBeforeMergingWithTheMenuLockedBetween) {
  struct TCall {
    bool AddItems;
    TdxBarManager* Child;
    bool Locked;
  };
  std::vector<TCall> calls;
  Manager->OnMenuMerge = [&](TdxBarManager*, TdxBarManager* Child, bool AddItems) {
    calls.push_back({AddItems, Child, MainBar()->GetLockUpdate()});
  };
  TForm* first = AddChild("First");
  Maximize(first);
  TForm* second = AddChild("Second");
  ASSERT_TRUE(IsZoomed(second->GetHandle()));
  calls.clear();
  Activate(first);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(first->GetHandle()); }));
  guitest::PumpFor(50);
  ASSERT_GE(calls.size(), 2u);
  // The last switch: the second child's entries go, the first child's come,
  // and the bar stays locked from one to the other.
  const TCall& out = calls[calls.size() - 2];
  const TCall& in = calls.back();
  EXPECT_FALSE(out.AddItems);
  EXPECT_EQ(GetBarManagerOfForm(second), out.Child);
  EXPECT_TRUE(in.AddItems);
  EXPECT_EQ(GetBarManagerOfForm(first), in.Child);
  EXPECT_TRUE(in.Locked) << "not rebuilt between the two";
  EXPECT_FALSE(MainBar()->GetLockUpdate()) << "released afterwards";
}

TEST_F(MdiTest, TheSystemMenuCopyClosesTheChild) {
  TForm* child = AddChild("Child");
  Maximize(child);
  TSystemMenuSubItem* item = SystemItem();
  item->DirectClick();
  TdxBarItemLinks* links = item->GetItemLinks();
  ASSERT_GT(links->GetCount(), 0);
  TdxBarButton* close = nullptr;
  for (int i = 0; i < links->GetCount(); ++i) {
    auto* button = dynamic_cast<TdxBarButton*>(links->GetItem(i)->GetItem());
    if (button && button->Tag == SC_CLOSE) close = button;
  }
  ASSERT_NE(nullptr, close) << "the 64-bit menu record is read";
  EXPECT_EQ("&Close", close->GetCaption());
  EXPECT_EQ(TextToShortCut("Ctrl+F4"), close->GetShortCut());
  EXPECT_TRUE(close->GetEnabled());
  // A second opening copies the menu anew and frees the first copy.
  const int count = links->GetCount();
  item->DirectClick();
  EXPECT_EQ(count, links->GetCount());
  for (int i = 0; i < links->GetCount(); ++i)
    if (auto* button = dynamic_cast<TdxBarButton*>(links->GetItem(i)->GetItem());
        button && button->Tag == SC_CLOSE)
      button->Click();
  EXPECT_TRUE(PumpUntil([&] { return IsFreed(child); }));
  EXPECT_EQ(Names({"&File", "&Window"}), Entries()) << "the icon and the entries went with the child";
  EXPECT_FALSE(Manager->ActiveMDIChildMaximized);
}

TEST_F(MdiTest, ClickingTheIconOpensTheSystemMenuCopyWhoseCloseEntryClosesTheChild) {
  TForm* child = AddChild("Child");
  Maximize(child);
  TSystemMenuSubItem* item = SystemItem();
  const TRect r = MainBar()->GetItemLinks()->GetItem(0)->ItemRect;
  guitest::ClickAt(MainWindow()->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  TCustomdxBarControl* menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    menu = item->GetItemLinks()->GetBarControl();
    return menu && menu->HandleAllocated() && IsWindowVisible(menu->GetHandle());
  }));
  TdxBarItemLink* close = nullptr;
  for (int i = 0; i < item->GetItemLinks()->GetCount(); ++i)
    if (item->GetItemLinks()->GetItem(i)->GetItem()->Tag == SC_CLOSE) close = item->GetItemLinks()->GetItem(i);
  ASSERT_NE(nullptr, close);
  ASSERT_NE(nullptr, close->GetControl()) << "the entry is shown";
  const TRect e = close->ItemRect;
  guitest::ClickAt(menu->GetHandle(), (e.left + e.right) / 2, (e.top + e.bottom) / 2);
  EXPECT_TRUE(PumpUntil([&] { return IsFreed(child); }));
  EXPECT_EQ(Names({"&File", "&Window"}), Entries());
}

TEST_F(MdiTest, BuildFromMenuCopiesEntriesGroupsStatesAndPictures) {
  TForm* child = AddChild("Child");
  Maximize(child);
  HMENU menu = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 101, "Inner");
  AppendMenuA(menu, MF_STRING | MF_CHECKED, 100, "&Checked\tShift+F2");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, SC_MOVE, "&Move");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  MENUITEMINFOA close{};
  close.cbSize = sizeof(close);
  close.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
  close.wID = SC_CLOSE;
  close.dwTypeData = const_cast<char*>("&Close\tCtrl+F4");
  close.hbmpItem = HBMMENU_POPUP_CLOSE;
  InsertMenuItemA(menu, 4, TRUE, &close);

  auto* target = new TdxBarSubItem(Frame);
  TempItems().push_back(target);
  SystemItem()->BuildFromMenu(target, menu);
  DestroyMenu(menu);
  TdxBarItemLinks* links = target->GetItemLinks();
  ASSERT_EQ(4, links->GetCount());
  auto* checked = dynamic_cast<TdxBarButton*>(links->GetItem(0)->GetItem());
  ASSERT_NE(nullptr, checked);
  EXPECT_EQ("&Checked", checked->GetCaption());
  EXPECT_EQ(bsChecked, checked->GetButtonStyle());
  EXPECT_TRUE(checked->GetDown());
  EXPECT_EQ(TextToShortCut("Shift+F2"), checked->GetShortCut());
  EXPECT_FALSE(links->GetItem(0)->GetBeginGroup());
  EXPECT_TRUE(links->GetItem(1)->GetStoredBeginGroup()) << "the separator starts a group";
  EXPECT_FALSE(links->GetItem(1)->GetItem()->GetEnabled());
  auto* more = dynamic_cast<TdxBarSubItem*>(links->GetItem(2)->GetItem());
  ASSERT_NE(nullptr, more);
  ASSERT_EQ(1, more->GetItemLinks()->GetCount());
  EXPECT_EQ("Inner", more->GetItemLinks()->GetItem(0)->GetItem()->GetCaption());
  TdxBarItem* closeItem = links->GetItem(3)->GetItem();
  EXPECT_EQ("&Close", closeItem->GetCaption());
  EXPECT_EQ(SC_CLOSE, closeItem->Tag);
  // The library's own picture of the close command.
  TBitmap expected;
  expected.LoadFromResourceName(GetModuleHandleA(nullptr), "DXBARCLOSE");
  ASSERT_FALSE(closeItem->GetGlyph()->GetEmpty());
  EXPECT_EQ(expected.GetWidth(), closeItem->GetGlyph()->GetWidth());
  EXPECT_EQ(expected.GetCanvas()->GetPixel(7, 7), closeItem->GetGlyph()->GetCanvas()->GetPixel(7, 7));
  EXPECT_TRUE(links->GetItem(0)->GetItem()->GetGlyph()->GetEmpty()) << "no picture of its own";
}

TEST_F(MdiTest, DoubleClickingTheIconClosesTheChild) {
  TForm* child = AddChild("Child");
  Maximize(child);
  const TRect r = MainBar()->GetItemLinks()->GetItem(0)->ItemRect;
  guitest::DoubleClickAt(MainWindow()->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(PumpUntil([&] { return IsFreed(child); }));
  EXPECT_EQ(Names({"&File", "&Window"}), Entries());
}

TEST_F(MdiTest, CaptionButtonsShowOnlyWhileAChildIsMaximizedAndActOnReleaseOverThem) {
  TForm* child = AddChild("Child");
  EXPECT_FALSE(MainWindow()->HasCaptionButtons());
  Maximize(child);
  ASSERT_TRUE(MainWindow()->HasCaptionButtons());
  const TRect minimize = MainWindow()->GetCaptionButtonRect(0),
              restore = MainWindow()->GetCaptionButtonRect(1), close = MainWindow()->GetCaptionButtonRect(2);
  EXPECT_EQ(restore.left, minimize.right);
  EXPECT_EQ(close.left, restore.right + 2);

  // Pressed over restore and released elsewhere: nothing.
  HWND wnd = MainWindow()->GetHandle();
  TPoint c = ButtonCentre(1);
  guitest::MouseEventAt(wnd, c.x, c.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([] { return TdxBarControl::GetHeldCaptionButton() == 1; }));
  guitest::MouseEventAt(wnd, c.x - 150, c.y);
  guitest::MouseEventAt(wnd, c.x - 150, c.y, MOUSEEVENTF_LEFTUP);
  guitest::PumpFor(100);
  EXPECT_TRUE(IsZoomed(child->GetHandle()));
  // Released over it: the child is restored and the buttons go.
  guitest::PumpFor(GetDoubleClickTime() + 100);
  guitest::ClickAt(wnd, c.x, c.y);
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(child->GetHandle()); }));
  EXPECT_TRUE(PumpUntil([&] { return !MainWindow()->HasCaptionButtons(); }));

  // Minimize acts on the active child.
  Maximize(child);
  c = ButtonCentre(0);
  guitest::PumpFor(GetDoubleClickTime() + 100);
  guitest::ClickAt(MainWindow()->GetHandle(), c.x, c.y);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(child->GetHandle()) != 0; }));

  // Close too.
  Maximize(child);
  c = ButtonCentre(2);
  guitest::PumpFor(GetDoubleClickTime() + 100);
  guitest::ClickAt(MainWindow()->GetHandle(), c.x, c.y);
  EXPECT_TRUE(PumpUntil([&] { return IsFreed(child); }));
  EXPECT_FALSE(MainWindow()->HasCaptionButtons());
}

TEST_F(MdiTest, AGrayedSystemCommandLeavesItsButtonDeadAndUnhot) {
  TForm* child = AddChild("Child");
  Maximize(child);
  EnableMenuItem(GetSystemMenu(child->GetHandle(), FALSE), SC_MINIMIZE, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_FALSE(MainWindow()->IsCaptionButtonEnabled(0, MF_GRAYED | MF_DISABLED));
  EXPECT_TRUE(MainWindow()->IsCaptionButtonEnabled(1, MF_GRAYED | MF_DISABLED));
  const TPoint c = ButtonCentre(0);
  guitest::MouseEventAt(MainWindow()->GetHandle(), c.x, c.y);
  guitest::PumpFor(100);
  EXPECT_EQ(-1, TdxBarControl::GetHotCaptionButton());
  guitest::ClickAt(MainWindow()->GetHandle(), c.x, c.y);
  guitest::PumpFor(150);
  EXPECT_TRUE(IsZoomed(child->GetHandle()));
  EXPECT_FALSE(IsIconic(child->GetHandle()));
}

// The frame is the active window while a child is active: its keys speak to
// the child's manager and the frame's main menu answers them too.
TEST_F(MdiTest, TheActiveChildsShortcutsAndAcceleratorsWorkFromTheFrameWhoseMenuTakesAlt) {
  ASSERT_EQ(Frame, Application->GetMainForm());
  TForm* child = AddChild("Child");
  TdxBarManager* childManager = GetBarManagerOfForm(child);
  auto* edit = dynamic_cast<TdxBarSubItem*>(ChildBar(child)->GetItemLinks()->GetItem(0)->GetItem());
  ASSERT_NE(nullptr, edit);
  auto* cut = new TdxBarButton(child);
  cut->SetCaption("Cu&t");
  cut->SetShortCut(scCtrl | 'K');
  int cuts = 0;
  cut->OnClick = [&](TObject*) { ++cuts; };
  edit->GetItemLinks()->Add()->SetItem(cut);
  SetForegroundWindow(Frame->GetHandle());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Frame->GetHandle(); }));

  guitest::PressKey('K', guitest::kCtrl);
  EXPECT_TRUE(PumpUntil([&] { return cuts == 1; })) << "the child's shortcut";

  // Alt+E is the child's alone: its menu bar takes the keys and opens "Edit".
  guitest::PressKey('E', guitest::kAlt);
  EXPECT_TRUE(PumpUntil([&] { return childManager->KeyboardBarControl == ChildBar(child)->GetBarControl(); }));
  EXPECT_EQ(nullptr, Manager->KeyboardBarControl);
  guitest::PressKey(VK_ESCAPE);
  guitest::PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !childManager->KeyboardBarControl; }));

  // Alt alone activates the frame's main menu, not the child's.
  guitest::PressKey(VK_MENU);
  EXPECT_TRUE(PumpUntil([&] { return Manager->KeyboardBarControl == MainWindow(); }));
  EXPECT_EQ(nullptr, childManager->KeyboardBarControl);
  guitest::PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !Manager->KeyboardBarControl; }));
}

// While the customizing dialog of a child's manager has disabled the forms,
// the child's bars still take the mouse through the frame.
TEST_F(MdiTest, CustomizingAChildsBarsPicksTheirLinksWithTheMouseAndTheDialogFollowsTheFrame) {
  ASSERT_EQ(Frame, Application->GetMainForm());
  TForm* child = AddChild("Child");
  TdxBarManager* childManager = GetBarManagerOfForm(child);
  RegisterBarCustomizingForm();
  childManager->SetCustomizing(true);
  const bool opened = PumpUntil([] { return ActiveCustomizingFormHandle() && GetActiveWindow() == ActiveCustomizingFormHandle(); });
  TdxBarItemLink* view = ChildBar(child)->GetItemLinks()->GetItem(2);
  const TRect r = view->ItemRect;
  if (opened) guitest::ClickAt(ChildBar(child)->GetBarControl()->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  const bool picked = PumpUntil([&] { return view->GetControl() && childManager->SelectedItemControl == view->GetControl(); });
  const bool childDisabled = !IsWindowEnabled(child->GetHandle());
  // The dialog hides and shows with the frame.
  const HWND dialog = ActiveCustomizingFormHandle();
  ShowWindow(Frame->GetHandle(), SW_HIDE);
  const bool hidden = dialog && PumpUntil([&] { return !IsWindowVisible(dialog); });
  ShowWindow(Frame->GetHandle(), SW_SHOWNA);
  const bool shown = dialog && PumpUntil([&] { return IsWindowVisible(dialog) != 0; });
  childManager->SetCustomizing(false);
  UnregisterBarCustomizingForm();
  guitest::PumpFor(50);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(childDisabled) << "the dialog disables the child";
  EXPECT_TRUE(picked) << "the click on the child's bar picks its link";
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(shown);
}

} // namespace
