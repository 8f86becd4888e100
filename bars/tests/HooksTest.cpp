// The keyboard and mouse hooks with real input: Alt and F10 on the main
// menu, shortcuts and accelerators, keys going to a bar window in keyboard
// mode, and presses and releases outside the open bars.
#include "BarsTest.h"

#include "GuiTest.h"
#include "dxBarPopup.h"

#include "StdCtrls.h"

#include <optional>

namespace {

class HooksTest : public BarsTest {
protected:
  // A main menu "&File" (a sub item with Open, Ctrl+O), "&Help", "&Tools",
  // "&Table" and the sub items "&Edit" (Cut, Copy) and "&Extras" (Options);
  // a toolbar with Run (F5) and a hidden one with Hidden (F6); an
  // edit with the focus on a form without a system menu (so that no key
  // let through opens one).
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* menu = m->GetBars()->Add();
      menu->SetCaption("Main menu");
      menu->SetIsMainMenu(true);
      menu->SetDockingStyle(dsTop);
      TdxBarItemLinks* file = AddSubItem(menu, "File", "&File");
      TdxBarButton* open = Button(m, "Open", "&Open");
      open->SetShortCut(scCtrl | 'O');
      AddLink(file, open);
      for (const char* caption : {"&Help", "&Tools", "&Table"})
        AddLink(menu->GetItemLinks(), Button(m, String(caption).substr(1), caption));
      TdxBarItemLinks* edit = AddSubItem(menu, "Edit", "&Edit");
      AddLink(edit, Button(m, "Cut", "Cu&t"));
      AddLink(edit, Button(m, "Copy", "&Copy"));
      AddLink(AddSubItem(menu, "Extras", "&Extras"), Button(m, "Options", "&Options"));

      TdxBar* tools = m->GetBars()->Add();
      tools->SetCaption("Tools");
      tools->SetDockingStyle(dsTop);
      tools->SetRow(1);
      AddLink(tools->GetItemLinks(), Button(m, "Run", "&Run"))->GetItem()->SetShortCut(VK_F5);
      TdxBar* hidden = m->GetBars()->Add();
      hidden->SetCaption("Hidden");
      hidden->SetDockingStyle(dsTop);
      AddLink(hidden->GetItemLinks(), Button(m, "Hidden", "Hidden"))->GetItem()->SetShortCut(VK_F6);
    });
    Form->SetBorderIcons(TBorderIcons{});
    Form->SetBounds(60, 60, 460, 320);
    Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(20, 150, 120, 21);
    Edit->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { EditKeys.push_back("down " + IntToStr(key)); };
    Edit->OnKeyUp = [this](TObject*, WORD& key, TShiftState) { EditKeys.push_back("up " + IntToStr(key)); };
    Form->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int, int) {
      FormReleases.push_back(button);
    };
    Form->Show();
    MainMenu()->SetVisible(true);
    Bar(1)->SetVisible(true);
    guitest::PumpFor(50);
    guitest::ClickAt(Form->GetHandle(), Form->GetClientWidth() - 20, Form->GetClientHeight() - 20);
    ASSERT_TRUE(guitest::PumpUntil([this] { return GetActiveWindow() == Form->GetHandle(); }));
    Edit->SetFocus();
    ASSERT_TRUE(guitest::PumpUntil([this] { return GetFocus() == Edit->GetHandle(); }));
    FormReleases.clear();
  }

  void TearDown() override {
    if (ActiveBarControl()) ActiveBarControl()->Deactivate();
    MovePointerOff(MenuWindow());
  }

  // A sub item at the end of the bar; its links.
  static TdxBarItemLinks* AddSubItem(TdxBar* bar, const String& name, const String& caption) {
    TdxBarManager* m = bar->GetBarManager();
    auto* item = new TdxBarSubItem(m->GetOwnerForm());
    item->SetName(name);
    item->SetCategory(0);
    item->SetCaption(caption);
    AddLink(bar->GetItemLinks(), item);
    return item->GetItemLinks();
  }

  TdxBarButton* Button(TdxBarManager* m, const String& name, const String& caption) {
    TdxBarButton* button = AddButton(m, name, caption);
    button->SetPaintStyle(psCaption);
    button->OnClick = [this, name](TObject*) { Clicks.push_back(name); };
    return button;
  }

  TdxBar* Bar(int index) const { return Manager->GetBars()->GetItem(index); }
  TdxBar* MainMenu() const { return Bar(0); }
  TdxBarControl* MenuWindow() const { return MainMenu()->GetBarControl(); }
  TdxBarItemControl* MenuControl(int index) const {
    return MainMenu()->GetItemLinks()->GetItem(index)->GetControl();
  }
  TPoint MenuCentre(int index) const {
    const TRect r = MainMenu()->GetItemLinks()->GetItem(index)->ItemRect;
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  // The open menu window of a sub item, none while closed.
  TCustomdxBarControl* MenuOf(const String& name) const {
    auto* item = static_cast<TCustomdxBarSubItem*>(Manager->FindItemByName(name));
    TCustomdxBarControl* window = item->GetItemLinks()->GetBarControl();
    return window && window->HandleAllocated() && IsWindowVisible(window->GetHandle()) ? window : nullptr;
  }

  // Alt pressed and released alone.
  static void TapAlt() {
    guitest::KeyDown(VK_MENU);
    guitest::KeyUp(VK_MENU);
  }
  // Waits until the input sent so far has been handled.
  static void Settle() { guitest::PumpFor(150); }
  bool InKeyboardMode() const { return Manager->KeyboardBarControl == MenuWindow() && MenuWindow()->GetActive(); }
  bool WaitForKeyboardMode() {
    return guitest::PumpUntil([this] { return InKeyboardMode(); }, 2000);
  }
  bool WaitForNoActiveBar() {
    return guitest::PumpUntil([] { return ActiveBarControl() == nullptr; }, 2000);
  }

  TEdit* Edit = nullptr;
  std::vector<String> Clicks;
  std::vector<String> EditKeys;
  std::vector<TMouseButton> FormReleases;
};

} // namespace

TEST_F(HooksTest, AltAloneActivatesTheMainMenuAltWithALetterDoesNot) {
  TapAlt();
  ASSERT_TRUE(WaitForKeyboardMode()) << "Alt released with nothing in between";
  EXPECT_EQ(MenuWindow()->GetSelectedControl(), MenuControl(0)) << "the first entry is selected";
  TapAlt();
  ASSERT_TRUE(WaitForNoActiveBar()) << "Alt again leaves keyboard mode";
  Settle();
  EXPECT_FALSE(InKeyboardMode()) << "and its release does not enter it again";
  EXPECT_EQ(GetFocus(), Edit->GetHandle()) << "the focus is given back";

  guitest::KeyDown(VK_MENU);
  guitest::PressKey('X');
  guitest::KeyUp(VK_MENU);
  Settle();
  EXPECT_EQ(ActiveBarControl(), nullptr) << "a letter came between";
  EXPECT_TRUE(Clicks.empty());

  // A modifier held with Alt counts as a key too.
  guitest::KeyDown(VK_MENU);
  guitest::KeyDown(VK_SHIFT);
  guitest::KeyUp(VK_MENU);
  guitest::KeyUp(VK_SHIFT);
  Settle();
  EXPECT_EQ(ActiveBarControl(), nullptr) << "Shift held when Alt went up";
}

TEST_F(HooksTest, F10ActivatesTheMainMenuOnlyWhenAllowedAndAlone) {
  const struct {
    bool useF10;
    int modifiers;
    bool activates;
  } cases[] = {{true, guitest::kNone, true}, {false, guitest::kNone, false}, {true, guitest::kCtrl, false}};
  for (const auto& c : cases) {
    Manager->UseF10ForMenu = c.useF10;
    guitest::PressKey(VK_F10, c.modifiers);
    if (c.activates)
      EXPECT_TRUE(WaitForKeyboardMode()) << c.useF10 << " " << c.modifiers;
    else {
      Settle();
      EXPECT_EQ(ActiveBarControl(), nullptr) << c.useF10 << " " << c.modifiers;
    }
    if (!c.activates) continue;
    guitest::PressKey(VK_F10);
    EXPECT_TRUE(WaitForNoActiveBar()) << "F10 in keyboard mode leaves it";
    Settle();
    EXPECT_EQ(ActiveBarControl(), nullptr);
  }
}

TEST_F(HooksTest, ShortcutsFireFromTheFocusedControlWithTheMenusClosed) {
  const struct {
    WORD key;
    int modifiers;
    const char* click; // none: nothing fires
  } cases[] = {{'O', guitest::kCtrl, "Open"},   // an entry of a closed menu
               {VK_F5, guitest::kNone, "Run"},  // a button of another toolbar
               {VK_F6, guitest::kNone, nullptr}, // a bar not shown
               {'O', guitest::kNone, nullptr}};
  EXPECT_TRUE(MainMenu()->IsShortCut(scCtrl | 'O')) << "DEBUG";
  for (const auto& c : cases) {
    Clicks.clear();
    EditKeys.clear();
    guitest::PressKey(c.key, c.modifiers);
    Settle();
    EXPECT_EQ(Clicks, c.click ? std::vector<String>{c.click} : std::vector<String>{}) << c.key;
    const String down = "down " + IntToStr(c.key);
    EXPECT_EQ(std::count(EditKeys.begin(), EditKeys.end(), down), c.click ? 0 : 1)
        << c.key << ": the edit sees the key only when no shortcut took it";
  }
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(HooksTest, KeysOfKeyboardModeNeverReachTheFocusedControl) {
  TapAlt();
  ASSERT_TRUE(WaitForKeyboardMode());
  EditKeys.clear();
  guitest::PressKey(VK_RIGHT);
  guitest::PressKey(VK_ESCAPE); // its key-down closes the menu: the key-up is dropped
  ASSERT_TRUE(WaitForNoActiveBar());
  Settle();
  EXPECT_EQ(GetFocus(), Edit->GetHandle());
  EXPECT_TRUE(EditKeys.empty()) << EditKeys.front();

  // Enter runs the selected button; its key-up stays away from the edit too.
  TapAlt();
  ASSERT_TRUE(WaitForKeyboardMode());
  EditKeys.clear();
  guitest::PressKey(VK_RIGHT);
  guitest::PressKey(VK_RETURN);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !Clicks.empty(); }));
  Settle();
  EXPECT_EQ(Clicks, std::vector<String>{"Help"});
  EXPECT_TRUE(EditKeys.empty()) << EditKeys.front();

  // With the menus closed keys reach the edit again, both halves.
  guitest::PressKey('A');
  Settle();
  EXPECT_EQ(EditKeys, (std::vector<String>{"down 65", "up 65"}));
}

TEST_F(HooksTest, RealKeysStepTheSelectionInKeyboardMode) {
  TapAlt();
  ASSERT_TRUE(WaitForKeyboardMode());
  const struct {
    WORD key;
    int modifiers;
    int selected;
  } steps[] = {{VK_RIGHT, 0, 1}, {VK_RIGHT, 0, 2}, {VK_RIGHT, 0, 3}, {VK_RIGHT, 0, 4},
               {VK_RIGHT, 0, 5}, {VK_RIGHT, 0, 0}, {VK_LEFT, 0, 5},  {VK_HOME, 0, 0},
               {VK_END, 0, 5},   {VK_TAB, 0, 0},   {VK_TAB, guitest::kShift, 5}, {VK_HOME, 0, 0}};
  for (const auto& s : steps) {
    guitest::PressKey(s.key, s.modifiers);
    EXPECT_TRUE(guitest::PumpUntil([&] { return MenuWindow()->GetSelectedControl() == MenuControl(s.selected); },
                                   2000))
        << s.key << " to " << s.selected;
  }
  guitest::PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitForNoActiveBar());
  EXPECT_EQ(Manager->KeyboardBarControl, nullptr);
  EXPECT_TRUE(guitest::PumpUntil([this] { return GetFocus() == Edit->GetHandle(); }))
      << "Esc gives the focus back";
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(HooksTest, AVerticalBarTurnsTheRealArrows) {
  TdxBar* tools = Bar(1);
  tools->SetVisible(false);
  AddLink(tools->GetItemLinks(), Button(Manager, "Stop", "&Stop"));
  AddLink(tools->GetItemLinks(), Button(Manager, "Step", "S&tep"));
  tools->SetDockingStyle(dsLeft);
  tools->SetVisible(true);
  guitest::PumpFor(50);
  TdxBarControl* window = tools->GetBarControl();
  ASSERT_TRUE(window && window->IsVertical());
  auto control = [tools](int i) { return tools->GetItemLinks()->GetItem(i)->GetControl(); };
  window->EnterKeyboardMode(nullptr);
  ASSERT_EQ(window->GetSelectedControl(), control(0));
  const struct {
    WORD key;
    int selected;
  } steps[] = {{VK_DOWN, 1}, {VK_DOWN, 2}, {VK_UP, 1}, {VK_RIGHT, 1}, {VK_LEFT, 1}, {VK_END, 2}};
  for (const auto& s : steps) {
    guitest::PressKey(s.key);
    Settle();
    EXPECT_EQ(window->GetSelectedControl(), control(s.selected)) << s.key;
  }
  guitest::PressKey(VK_RETURN);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !Clicks.empty(); }));
  EXPECT_EQ(Clicks, std::vector<String>{"Step"});
  EXPECT_EQ(ActiveBarControl(), nullptr);
  MovePointerOff(window);
}

TEST_F(HooksTest, AltWithAnAcceleratorClicksAUniqueEntrySelectsASharedOneInTurn) {
  guitest::PressKey('H', guitest::kAlt);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !Clicks.empty(); }));
  Settle();
  EXPECT_EQ(Clicks, std::vector<String>{"Help"}) << "the only H runs at once";
  EXPECT_EQ(ActiveBarControl(), nullptr) << "without keyboard mode";
  EXPECT_EQ(std::count(EditKeys.begin(), EditKeys.end(), "down 72"), 0) << "the letter stays away from the edit";

  guitest::PressKey('T', guitest::kAlt);
  ASSERT_TRUE(WaitForKeyboardMode()) << "two entries answer T";
  EXPECT_EQ(MenuWindow()->GetSelectedControl(), MenuControl(2));
  guitest::PressKey('T');
  EXPECT_TRUE(guitest::PumpUntil([&] { return MenuWindow()->GetSelectedControl() == MenuControl(3); }))
      << "in keyboard mode the letter alone selects the next";
  guitest::PressKey('T');
  EXPECT_TRUE(guitest::PumpUntil([&] { return MenuWindow()->GetSelectedControl() == MenuControl(2); }));
  // Alt in keyboard mode leaves it; with the letter it starts again from the
  // first entry.
  guitest::PressKey('T');
  guitest::PressKey('T', guitest::kAlt);
  Settle();
  EXPECT_EQ(MenuWindow()->GetSelectedControl(), MenuControl(2));
  Settle();
  EXPECT_EQ(Clicks, std::vector<String>{"Help"}) << "shared accelerators run nothing";
  EXPECT_TRUE(InKeyboardMode());

  guitest::PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitForNoActiveBar());
  guitest::PressKey('R', guitest::kAlt);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Clicks.size() == 2; })) << "another toolbar's accelerator";
  EXPECT_EQ(Clicks.back(), "Run");
}

TEST_F(HooksTest, AnAcceleratorSharedBySubItemsOnlySelectsThemInTurn) {
  guitest::PressKey('E', guitest::kAlt);
  ASSERT_TRUE(WaitForKeyboardMode());
  EXPECT_EQ(MenuWindow()->GetSelectedControl(), MenuControl(4));
  guitest::PressKey('E');
  EXPECT_TRUE(guitest::PumpUntil([&] { return MenuWindow()->GetSelectedControl() == MenuControl(5); }));
  Settle();
  EXPECT_EQ(MenuOf("Edit"), nullptr) << "nothing opens";
  EXPECT_EQ(MenuOf("Extras"), nullptr);
  EXPECT_EQ(ActiveBarControl(), MenuWindow());
}

TEST_F(HooksTest, AUniqueAcceleratorOpensItsSubItemsMenuWithTheFirstEntrySelected) {
  guitest::PressKey('F', guitest::kAlt);
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("File") != nullptr; }));
  Settle();
  TCustomdxBarControl* file = MenuOf("File");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->GetSelectedControl(), file->GetItemLinks()->GetItem(0)->GetControl()) << "Open is selected";
  EXPECT_EQ(ActiveBarControl(), file) << "the menu takes the keys";
  EXPECT_TRUE(InKeyboardMode()) << "the main menu is in keyboard mode under it";
  EXPECT_EQ(MenuWindow()->GetSelectedControl(), MenuControl(0));
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(HooksTest, KeysGoToTheOpenMenu) {
  guitest::PressKey('F', guitest::kAlt);
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("File") != nullptr; }));
  Settle();
  EditKeys.clear();
  // Left and Right move to the neighbouring entries of the main menu and
  // open theirs.
  guitest::PressKey(VK_LEFT);
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("Extras") != nullptr && MenuOf("File") == nullptr; }));
  EXPECT_EQ(MenuWindow()->GetSelectedControl(), MenuControl(5));
  guitest::PressKey(VK_RIGHT);
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("File") != nullptr && MenuOf("Extras") == nullptr; }));
  EXPECT_EQ(MenuWindow()->GetSelectedControl(), MenuControl(0));

  // Esc closes the innermost menu only.
  guitest::PressKey(VK_ESCAPE);
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("File") == nullptr; }));
  Settle();
  EXPECT_TRUE(InKeyboardMode()) << "the main menu stays in keyboard mode";
  EXPECT_EQ(ActiveBarControl(), MenuWindow());
  guitest::PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitForNoActiveBar());
  Settle();
  EXPECT_EQ(GetFocus(), Edit->GetHandle());
  EXPECT_TRUE(EditKeys.empty()) << EditKeys.front();

  // Enter on an entry of an open menu runs it.
  guitest::PressKey('F', guitest::kAlt);
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("File") != nullptr; }));
  EditKeys.clear();
  guitest::PressKey(VK_RETURN);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !Clicks.empty(); }));
  Settle();
  EXPECT_EQ(Clicks, std::vector<String>{"Open"});
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_TRUE(EditKeys.empty()) << EditKeys.front();
}

TEST_F(HooksTest, APressOutsideClosesEveryOpenMenu) {
  guitest::PressKey('F', guitest::kAlt);
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("File") != nullptr; }));
  guitest::ClickAt(Form->GetHandle(), Form->GetClientWidth() - 30, Form->GetClientHeight() - 30);
  EXPECT_TRUE(WaitForNoActiveBar());
  EXPECT_EQ(MenuOf("File"), nullptr);
  EXPECT_FALSE(InKeyboardMode());
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(HooksTest, APressOutsideClosesKeyboardMode) {
  TapAlt();
  ASSERT_TRUE(WaitForKeyboardMode());
  guitest::ClickAt(Form->GetHandle(), Form->GetClientWidth() - 30, Form->GetClientHeight() - 30);
  EXPECT_TRUE(WaitForNoActiveBar());
  EXPECT_TRUE(Clicks.empty());

  // A press on the bar itself keeps it.
  TapAlt();
  ASSERT_TRUE(WaitForKeyboardMode());
  const TPoint p = MenuCentre(2);
  guitest::MouseEventAt(MenuWindow()->GetHandle(), p.x, p.y, MOUSEEVENTF_MIDDLEDOWN);
  guitest::MouseEventAt(MenuWindow()->GetHandle(), p.x, p.y, MOUSEEVENTF_MIDDLEUP);
  Settle();
  EXPECT_TRUE(InKeyboardMode());
}

TEST_F(HooksTest, RightAndMiddleReleasesOutsideAnOpenBarAreSwallowed) {
  const struct {
    DWORD down, up;
    TMouseButton button;
  } cases[] = {{MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, mbRight},
               {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, mbMiddle}};
  const int x = Form->GetClientWidth() - 30, y = Form->GetClientHeight() - 30;
  for (const auto& c : cases) {
    // Without an open bar the release reaches the form.
    guitest::MouseEventAt(Form->GetHandle(), x, y, c.down);
    guitest::MouseEventAt(Form->GetHandle(), x, y, c.up);
    ASSERT_TRUE(guitest::PumpUntil([&] { return FormReleases.size() == 1; })) << c.button;
    FormReleases.clear();

    // Pressed inside the open bar, released outside it: dropped.
    TapAlt();
    ASSERT_TRUE(WaitForKeyboardMode());
    const TPoint p = MenuCentre(1);
    guitest::MouseEventAt(MenuWindow()->GetHandle(), p.x, p.y, c.down);
    Settle();
    ASSERT_NE(ActiveBarControl(), nullptr) << c.button << ": a press inside keeps the bar";
    guitest::MouseEventAt(Form->GetHandle(), x, y, c.up);
    Settle();
    EXPECT_TRUE(FormReleases.empty()) << c.button;
    if (ActiveBarControl()) ActiveBarControl()->Deactivate();
    guitest::PumpFor(GetDoubleClickTime() + 50); // the next press is no double click
  }
}

TEST_F(HooksTest, ACommandFailingUnderAShortcutIsReportedAndTheKeysGoOn) {
  guitest::TExceptionCapture errors;
  Manager->FindItemByName("Run")->OnClick = [](TObject*) { throw Exception("Run failed"); };
  guitest::PressKey(VK_F5);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !errors.Messages.empty(); }));
  Settle();
  EXPECT_EQ(errors.Messages, std::vector<String>{"Run failed"});
  EditKeys.clear();
  guitest::PressKey('A');
  Settle();
  EXPECT_EQ(EditKeys, (std::vector<String>{"down 65", "up 65"}));
  TapAlt();
  EXPECT_TRUE(WaitForKeyboardMode());
}

namespace {

// The edit has a popup-menu link to a menu of "Open here" (Ctrl+O, the main
// menu's Open shortcut too) and "Paste"; a second edit has none.
class HooksPopupTest : public HooksTest {
protected:
  void SetUp() override {
    HooksTest::SetUp();
    if (HasFatalFailure()) return;
    Popup = new TdxBarPopupMenu(Form.get());
    TdxBarButton* openHere = Button(Manager, "OpenHere", "Open &here");
    openHere->SetShortCut(scCtrl | 'O');
    AddLink(Popup->GetItemLinks(), openHere);
    AddLink(Popup->GetItemLinks(), Button(Manager, "Paste", "&Paste"));
    TdxBarPopupMenuLink* link = Manager->GetPopupMenuLinks()->Add();
    link->SetControl(Edit);
    link->SetPopupMenu(Popup);
    Other = new TEdit(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(200, 150, 120, 21);
    Edit->SetText("abcdef");
    Edit->SetSelStart(3);
    guitest::PumpFor(50);
  }

  // From inside the menu's own loop: once the popup's window shows, keeps its
  // place and closes it.
  void WatchPopup() {
    Watching = this;
    Shown.reset();
    Timer = SetTimer(nullptr, 0, 20, Tick);
  }
  void TearDown() override {
    if (Timer) KillTimer(nullptr, Timer);
    Watching = nullptr;
    HooksTest::TearDown();
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HooksPopupTest* test = Watching;
    if (!test || test->Shown) return;
    TCustomdxBarControl* window = test->Popup->GetItemLinks()->GetBarControl();
    if (!window || !window->HandleAllocated() || !IsWindowVisible(window->GetHandle())) return;
    const TRect r = window->GetBoundsRect();
    test->Shown = TPoint(r.left, r.top);
    test->ShownActive = ActiveBarControl() == window;
    window->Deactivate();
  }

  // The caret of the edit in screen coordinates.
  POINT CaretOnScreen() const {
    POINT caret{};
    GetCaretPos(&caret);
    ClientToScreen(Edit->GetHandle(), &caret);
    return caret;
  }

  static inline HooksPopupTest* Watching = nullptr;
  TdxBarPopupMenu* Popup = nullptr;
  TEdit* Other = nullptr;
  UINT_PTR Timer = 0;
  std::optional<TPoint> Shown;
  bool ShownActive = false;
};

} // namespace

TEST_F(HooksPopupTest, ShiftF10AndTheContextMenuKeyOpenTheLinksMenuAtTheCaret) {
  const struct {
    WORD key;
    int modifiers;
  } cases[] = {{VK_F10, guitest::kShift}, {VK_APPS, guitest::kNone}};
  for (const auto& c : cases) {
    const POINT caret = CaretOnScreen();
    EditKeys.clear();
    WatchPopup();
    guitest::PressKey(c.key, c.modifiers);
    ASSERT_TRUE(guitest::PumpUntil([&] { return Shown.has_value(); })) << c.key;
    KillTimer(nullptr, Timer);
    Timer = 0;
    EXPECT_EQ(*Shown, TPoint(caret.x, caret.y)) << c.key << ": at the caret";
    EXPECT_TRUE(ShownActive) << "the menu takes the keys";
    ASSERT_TRUE(WaitForNoActiveBar());
    Settle();
    EXPECT_FALSE(InKeyboardMode()) << c.key << ": not the main menu";
    EXPECT_EQ(GetFocus(), Edit->GetHandle());
    EXPECT_EQ(std::count(EditKeys.begin(), EditKeys.end(), "up " + IntToStr(c.key)), 0)
        << c.key << ": the key that opened the menu stays away from the edit";
  }
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(HooksPopupTest, ARightClickOpensTheLinksMenuAtThePointer) {
  WatchPopup();
  guitest::MouseEventAt(Edit->GetHandle(), 30, 8, MOUSEEVENTF_RIGHTDOWN);
  guitest::MouseEventAt(Edit->GetHandle(), 30, 8, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Shown.has_value(); }));
  POINT p{30, 8};
  ClientToScreen(Edit->GetHandle(), &p);
  EXPECT_EQ(*Shown, TPoint(p.x, p.y));
  EXPECT_TRUE(WaitForNoActiveBar());
}

TEST_F(HooksPopupTest, TheFocusedControlsPopupMenuAnswersShortcutsFirst) {
  const struct {
    bool inLinkedEdit;
    const char* click;
  } cases[] = {{true, "OpenHere"}, {false, "Open"}};
  for (const auto& c : cases) {
    (c.inLinkedEdit ? Edit : Other)->SetFocus();
    ASSERT_TRUE(guitest::PumpUntil([&] { return GetFocus() == (c.inLinkedEdit ? Edit : Other)->GetHandle(); }));
    Clicks.clear();
    guitest::PressKey('O', guitest::kCtrl);
    Settle();
    EXPECT_EQ(Clicks, std::vector<String>{c.click});
  }
}
