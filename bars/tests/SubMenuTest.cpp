// Menu windows: opening from the main menu and from sub items, the shared
// timer, keys, placement on the screen, scrolling, personalised menus, the
// right button and what an empty menu shows.
#include "BarsTest.h"

#include "dxBarShadow.h"
#include "dxBarSubMenu.h"

#include "GuiTest.h"
#include "dxBarPopup.h"

#include <cstdlib>
#include <deque>
#include <functional>
#include <vector>

namespace {

class SubMenuTest : public BarsTest {
protected:
  // A main menu of "File" (Open, Save, Recent >, More >) and "Edit" (Cut,
  // Copy) docked at the top of the form.
  void SetUp() override {
    OldPlayer = SetSoundPlayer([this](LPCSTR sound, HMODULE, DWORD) {
      Sounds.push_back(sound);
      return TRUE;
    });
    Build([](TdxBarManager* m) {
      auto* file = AddSubItem(m, "File", "&File");
      auto* edit = AddSubItem(m, "Edit", "&Edit");
      auto* recent = AddSubItem(m, "Recent", "&Recent");
      auto* more = AddSubItem(m, "More", "&More");
      AddLink(file->GetItemLinks(), AddButton(m, "Open", "&Open"));
      AddLink(file->GetItemLinks(), AddButton(m, "Save", "&Save"));
      AddLink(file->GetItemLinks(), recent, true);
      AddLink(file->GetItemLinks(), more);
      AddLink(recent->GetItemLinks(), AddButton(m, "One", "&One"));
      AddLink(more->GetItemLinks(), AddButton(m, "Two", "&Two"));
      AddLink(edit->GetItemLinks(), AddButton(m, "Cut", "Cu&t"));
      AddLink(edit->GetItemLinks(), AddButton(m, "Copy", "&Copy"));
      TdxBar* menu = m->GetBars()->Add();
      menu->SetCaption("Main Menu");
      menu->SetIsMainMenu(true);
      AddLink(menu->GetItemLinks(), file);
      AddLink(menu->GetItemLinks(), edit);
      menu->SetDockingStyle(dsTop);
      menu->SetVisible(true);
    });
    Manager->SetStyle(bmsFlat);
    Manager->SetMenuAnimations(maNone);
    Manager->SetMenusShowRecentItemsFirst(false);
    Form->SetBounds(100, 100, 500, 300);
    Form->Show();
    SetCursorPos(5, 5);
    guitest::PumpFor(50);
  }

  void TearDown() override {
    Manager->DeactivateAll();
    MovePointerOff(MenuBar());
    SetSoundPlayer(OldPlayer);
  }

  static TdxBarSubItem* AddSubItem(TdxBarManager* m, const String& name, const String& caption) {
    auto* item = new TdxBarSubItem(m->GetOwnerForm());
    item->SetName(name);
    item->SetCategory(0);
    item->SetCaption(caption);
    return item;
  }

  TdxBarItem* Item(const String& name) const { return Manager->FindItemByName(name); }
  TdxBarSubItem* Sub(const String& name) const { return dynamic_cast<TdxBarSubItem*>(Item(name)); }
  static TdxBarSubMenuControl* MenuOf(TCustomdxBarSubItem* item) {
    return dynamic_cast<TdxBarSubMenuControl*>(item->GetItemLinks()->GetBarControl());
  }
  TdxBarSubMenuControl* MenuOf(const String& name) const { return MenuOf(Sub(name)); }
  TdxBarControl* MenuBar() const { return Manager->GetBars()->GetItem(0)->GetBarControl(); }
  static TdxBarItemLink* LinkIn(TCustomdxBarControl* window, int shown) {
    return window->GetItemLinks()->GetShownLink(shown);
  }
  static POINT Centre(const TRect& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  // Moves the pointer onto a shown link of a window (a real mouse move).
  static void HoverLink(TCustomdxBarControl* window, int shown) {
    const POINT p = Centre(LinkIn(window, shown)->ItemRect);
    guitest::MouseEventAt(window->GetHandle(), p.x, p.y);
  }
  static void ClickLink(TCustomdxBarControl* window, int shown) {
    const POINT p = Centre(LinkIn(window, shown)->ItemRect);
    guitest::ClickAt(window->GetHandle(), p.x, p.y);
    guitest::PumpFor(50);
  }

  // Opens "File" by a click on the main menu.
  TdxBarSubMenuControl* OpenFile() {
    ClickLink(MenuBar(), 0);
    guitest::PumpUntil([&] { return MenuOf("File") && IsWindowVisible(MenuOf("File")->GetHandle()); });
    return MenuOf("File");
  }

  // A key as the hooks deliver it: WM_KEYDOWN to the head of the active
  // chain, with the modifiers held in the thread's key state.
  static void Key(WORD vk, bool ctrl = false) {
    TCustomdxBarControl* head = ActiveBarControl();
    ASSERT_NE(head, nullptr) << "no active window for the key";
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE old = keys[VK_CONTROL];
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(head->GetHandle(), WM_KEYDOWN, vk, 0);
    keys[VK_CONTROL] = old;
    SetKeyboardState(keys);
    guitest::PumpFor(20);
  }

  // A menu of its own (a sub item on no bar) opened as a root at a screen
  // point, below (ownerHeight) or beside (ownerWidth) a button.
  TdxBarSubMenuControl* OpenRoot(TdxBarSubItem* item, POINT at, int ownerWidth = 0, int ownerHeight = 0) {
    auto* menu = dynamic_cast<TdxBarSubMenuControl*>(item->GetItemLinks()->CreateBarControl());
    menu->SetBounds(at.x, at.y, menu->GetWidth(), menu->GetHeight());
    menu->OwnerWidth = ownerWidth;
    menu->OwnerHeight = ownerHeight;
    ShowMenuWindow(menu);
    guitest::PumpFor(20);
    return menu;
  }

  TdxBarSubItem* SubItemWith(const String& name, int count) {
    TdxBarSubItem* item = AddSubItem(Manager, name, name);
    for (int i = 0; i < count; ++i)
      AddLink(item->GetItemLinks(), AddButton(Manager, name + IntToStr(i)));
    return item;
  }

  // 25 entries below a button with room for ten rows below it and less
  // above: the rows are made high enough (by the manager's font) for the
  // work area to give that.
  TdxBarSubMenuControl* OpenCut(TdxBarSubItem* item, int& row) {
    const TRect work = GetWorkAreaAtPoint(POINT{300, 300});
    Manager->SetScaled(false);
    for (int height = 12;; height += 4) {
      Manager->GetFont()->SetHeight(-height);
      TdxBarSubMenuControl* probe = OpenRoot(item, POINT{work.left + 10, work.top + 10});
      row = LinkIn(probe, 0)->ItemRect.Height();
      probe->Release();
      if (2 * (10 * row + 6) + 20 >= work.Height()) break;
    }
    return OpenRoot(item, POINT{work.left + 10, work.bottom - (10 * row + 6)}, 0, 20);
  }

  std::vector<String> Sounds;
  TdxSoundPlayer OldPlayer;
};

TRect ScreenRect(TCustomdxBarControl* window, const TRect& r) {
  const TPoint topLeft = window->ClientToScreen(TPoint(r.left, r.top));
  return TRect(topLeft.x, topLeft.y, topLeft.x + r.Width(), topLeft.y + r.Height());
}

} // namespace

TEST_F(SubMenuTest, AClickOnTheMainMenuOpensItsMenuAndMovingOnSwitchesAtOnce) {
  TdxBarSubMenuControl* file = OpenFile();
  ASSERT_NE(file, nullptr);
  const TRect button = ScreenRect(MenuBar(), LinkIn(MenuBar(), 0)->ItemRect);
  EXPECT_EQ(file->GetLeft(), button.left);
  EXPECT_EQ(file->GetTop(), button.bottom) << "below the entry";
  EXPECT_EQ(file->OwnerHeight, button.Height());
  EXPECT_TRUE(GetWindowLongA(file->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetClassLongA(file->GetHandle(), GCL_STYLE) & CS_SAVEBITS);
  EXPECT_EQ(GetWindow(file->GetHandle(), GW_OWNER), Form->GetHandle());
  EXPECT_EQ(ActiveBarControl(), file);
  EXPECT_EQ(Sounds, std::vector<String>{"MenuPopup"});
  // The flat look joins the menu to its entry; the shadow follows both.
  EXPECT_EQ(file->OwnerRect, button);
  EXPECT_TRUE(file->GetShadow()->GetVisible());
  EXPECT_EQ(file->GetShadow()->GetRectA(), button);

  HoverLink(MenuBar(), 1);
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("Edit") != nullptr; }, 1000));
  EXPECT_EQ(MenuOf("File"), nullptr) << "the first menu closed";
  EXPECT_EQ(SubItemTimerState().Pending, nullptr) << "no timer on the menu bar";
  EXPECT_TRUE(IsWindowVisible(MenuOf("Edit")->GetHandle()));
}

TEST_F(SubMenuTest, RestingOnASubItemOpensItAfterTheTimerAndMovingOnFirstCancelsIt) {
  TdxBarSubMenuControl* file = OpenFile();
  auto* recent = dynamic_cast<TdxBarSubItemControl*>(LinkIn(file, 2)->GetControl());
  auto* more = dynamic_cast<TdxBarSubItemControl*>(LinkIn(file, 3)->GetControl());
  ASSERT_TRUE(recent && more);
  HoverLink(file, 2);
  ASSERT_TRUE(guitest::PumpUntil([&] { return SubItemTimerState().Pending == recent; }, 1000));
  EXPECT_EQ(SubItemTimerState().Period, 400u);
  EXPECT_NE(SubItemTimerState().Timer, 0u);
  // Hold the timer back, so that the next move surely comes first.
  KillTimer(nullptr, SubItemTimerState().Timer);
  EXPECT_EQ(MenuOf("Recent"), nullptr) << "not before the timer";
  HoverLink(file, 3);
  EXPECT_EQ(SubItemTimerState().Pending, more) << "the other entry waits now";
  ASSERT_TRUE(guitest::PumpUntil([&] { return MenuOf("More") != nullptr; }, 2000));
  EXPECT_EQ(MenuOf("Recent"), nullptr) << "the first never opened";
  EXPECT_EQ(SubItemTimerState().Pending, nullptr);
  const TRect entry = ScreenRect(file, LinkIn(file, 3)->ItemRect);
  EXPECT_EQ(MenuOf("More")->GetLeft(), entry.right) << "beside the entry";
  EXPECT_EQ(MenuOf("More")->GetTop(), entry.top - MenuOf("More")->GetMenuBorderSize());
  EXPECT_EQ(file->GetSelectedControl(), more);
  EXPECT_EQ(file->ChildMenu, MenuOf("More"));
  EXPECT_EQ(MenuOf("More")->ParentBarControl, file);
}

TEST_F(SubMenuTest, EscapeClosesOnlyTheInnermostMenu) {
  TdxBarSubMenuControl* file = OpenFile();
  for (int i = 0; i < 3; ++i)
    Key(VK_DOWN);
  ASSERT_EQ(file->GetSelectedControl(), LinkIn(file, 2)->GetControl()) << "Recent";
  Key(VK_RIGHT);
  TdxBarSubMenuControl* recent = MenuOf("Recent");
  ASSERT_NE(recent, nullptr) << "Right opens the entry's menu at once";
  EXPECT_EQ(recent->GetSelectedControl(), LinkIn(recent, 0)->GetControl()) << "with its first entry";
  Key(VK_ESCAPE);
  EXPECT_EQ(MenuOf("Recent"), nullptr);
  ASSERT_EQ(MenuOf("File"), file);
  EXPECT_EQ(ActiveBarControl(), file);
  EXPECT_EQ(file->GetSelectedControl(), LinkIn(file, 2)->GetControl());
  Key(VK_ESCAPE);
  EXPECT_EQ(MenuOf("File"), nullptr);
  EXPECT_EQ(ActiveBarControl(), MenuBar()) << "the menu bar keeps the keyboard";
  EXPECT_FALSE(MenuBar()->GetMenuMode());
}

TEST_F(SubMenuTest, LeftAndRightMoveBetweenTheMenusOfTheMenuBar) {
  TdxBarSubMenuControl* file = OpenFile();
  Key(VK_RIGHT);
  ASSERT_NE(MenuOf("Edit"), nullptr) << "the next menu of the bar";
  EXPECT_EQ(MenuOf("File"), nullptr);
  Key(VK_LEFT);
  ASSERT_NE(MenuOf("File"), nullptr);
  EXPECT_EQ(MenuOf("Edit"), nullptr);
  (void)file;
}

TEST_F(SubMenuTest, AnEntryUsedMarksTheSubItemsThatHoldItAsUsed) {
  TdxBarItemLink* fileLink = LinkIn(MenuBar(), 0);
  TdxBarItemLink* moreLink = Sub("File")->GetItemLinks()->GetItem(3);
  TdxBarItemLink* saveLink = Sub("File")->GetItemLinks()->GetItem(1);
  const int file = fileLink->UseCount, more = moreLink->UseCount, save = saveLink->UseCount;
  TdxBarSubMenuControl* menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  for (int i = 0; i < 4; ++i)
    Key(VK_DOWN);
  Key(VK_RIGHT);
  ASSERT_NE(MenuOf("More"), nullptr);
  Key(VK_RETURN);
  EXPECT_EQ(MenuOf("File"), nullptr);
  EXPECT_EQ(moreLink->UseCount, more + 1);
  EXPECT_EQ(fileLink->UseCount, file + 1) << "up the whole chain";
  EXPECT_EQ(saveLink->UseCount, save);
  EXPECT_EQ(moreLink->GetRecentIndex(), 0) << "the sub item's link heads its menu's recent order";
}

namespace {

// Input given while a modal loop that the test does not own runs: a thread
// timer, dispatched by that loop, runs each step's action and polls its
// condition before going on to the next step, so every step waits for the
// loop to have taken the input before it. A repeated step gives its input
// again while its condition is late (a pointer move can be overtaken by an
// older one of the display). When a condition does not come in time, Esc and
// the button are released, which ends such loops, and the script fails.
class TLoopScript {
public:
  struct TStep {
    std::function<void()> Action;
    std::function<bool()> Done;
    bool Repeat = false;
  };
  explicit TLoopScript(std::vector<TStep> steps) : FSteps(steps.begin(), steps.end()) {}
  bool Run(int timeoutMs = 10000) {
    Current() = this;
    FDeadline = GetTickCount() + timeoutMs;
    FTimer = SetTimer(nullptr, 0, 10, Tick);
    guitest::PumpUntil([this] { return FSteps.empty() || FTimedOut; }, timeoutMs + 2000);
    KillTimer(nullptr, FTimer);
    Current() = nullptr;
    return FSteps.empty() && !FTimedOut;
  }
  // The steps not finished, for a report.
  int Left() const { return static_cast<int>(FSteps.size()); }

private:
  static TLoopScript*& Current() {
    static TLoopScript* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TLoopScript* script = Current();
    if (!script || script->FSteps.empty() || script->FTimedOut) return;
    const DWORD now = GetTickCount();
    if (static_cast<int>(now - script->FDeadline) > 0) {
      script->FTimedOut = true;
      POINT p;
      GetCursorPos(&p);
      guitest::KeyUp(VK_ESCAPE);
      guitest::SendMouseAt(p, MOUSEEVENTF_LEFTUP);
      return;
    }
    TStep& step = script->FSteps.front();
    if (!script->FStarted || (step.Repeat && static_cast<int>(now - script->FActedAt) > 300)) {
      script->FStarted = true;
      script->FActedAt = now;
      if (step.Action) step.Action();
      return;
    }
    if (step.Done && !step.Done()) return;
    script->FSteps.pop_front();
    script->FStarted = false;
  }
  std::deque<TStep> FSteps;
  DWORD FDeadline = 0, FActedAt = 0;
  UINT_PTR FTimer = 0;
  bool FStarted = false, FTimedOut = false;
};

// A pointer move that also puts the display's pointer there: under Wine a
// window shown or gone under the pointer makes the system take the
// display's position again, and one left behind would read as a move back.
void MovePointer(POINT p) {
  SetCursorPos(p.x, p.y);
  guitest::SendMouseAt(p, 0);
}

} // namespace

TEST_F(SubMenuTest, ADetachableMenuIsPulledOffAsItsFloatingBar) {
  TdxBar* fileBar = Manager->GetBars()->Add();
  fileBar->SetCaption("File bar");
  AddLink(fileBar->GetItemLinks(), Item("Open"));
  Sub("File")->Detachable = true;
  Sub("File")->SetDetachingBar(fileBar->GetIndex());
  int detaching = 0;
  Sub("File")->OnDetaching = [&](TObject*) {
    ++detaching;
    EXPECT_FALSE(Manager->GetDragging()) << "the notification comes first";
  };
  const HWND menuBar = MenuBar()->GetHandle();

  // Pressed on the drag caption and dragged off, the menu closes and the
  // bar floats under the pointer; then the pointer comes back onto the
  // caption, or Esc is pressed (after a key the loop drops), or the button
  // is released away.
  enum TEnd { kComeBack, kEscape, kRelease };
  int attempts = 0;
  for (TEnd end : {kComeBack, kEscape, kRelease}) {
    SCOPED_TRACE(end == kComeBack ? "coming back" : end == kEscape ? "Esc" : "released");
    POINT grip{}, away{};
    bool menuOpenWhilePulled = true, dragging = false, spoiled = false;
    RECT floatingAt{};
    struct {
      bool barVisible = true, menuOpen = false, dragging = true, captured = true;
    } atEnd;
    auto floatingCentredOn = [&](POINT p) {
      TdxBarControl* floating = fileBar->GetBarControl();
      if (!fileBar->GetVisible() || !floating || !floating->HandleAllocated()) return false;
      GetWindowRect(floating->GetHandle(), &floatingAt);
      return std::abs((floatingAt.left + floatingAt.right) / 2 - p.x) <= 1;
    };
    // Under Wine the system may report, once the menu has gone from under
    // the pointer, where the display last had the pointer: on the caption,
    // which ends the loop as a return would. Such a run is tried again.
    auto loopEndedEarly = [&] { return spoiled = spoiled || GetCapture() != menuBar; };
    for (int attempt = 0; attempt < 3; ++attempt) {
      ++attempts;
      spoiled = false;
      TdxBarSubMenuControl* file = OpenFile();
      ASSERT_NE(file, nullptr);
      ASSERT_TRUE(file->CanDetach());
      RECT window;
      GetWindowRect(file->GetHandle(), &window);
      const TRect caption = file->GetDetachCaptionRect();
      grip = POINT{window.left + caption.left + caption.Width() / 2,
                   window.top + caption.top + caption.Height() / 2};
      away = POINT{grip.x + 150, grip.y + 120};
      MovePointer(grip);
      ASSERT_TRUE(guitest::PumpUntil([&] { return file->DetachCaptionHot; }, 2000));

      std::vector<TLoopScript::TStep> steps = {
          {[&] { guitest::SendMouseAt(grip, MOUSEEVENTF_LEFTDOWN); },
           [&] { return GetCapture() == menuBar && Manager->GetDragging(); }},
          {[&] {
             dragging = true;
             MovePointer(POINT{grip.x + 40, grip.y + 60});
           },
           [&] { return loopEndedEarly() || fileBar->GetVisible(); }, true},
          {[&] {
             if (spoiled) return;
             menuOpenWhilePulled = MenuOf("File") != nullptr;
             MovePointer(away);
           },
           [&] { return loopEndedEarly() || floatingCentredOn(away); }, true},
          {[&] {
             if (spoiled) return;
             if (end == kComeBack) MovePointer(grip);
             if (end == kEscape) {
               guitest::PressKey(VK_DOWN);
               guitest::KeyDown(VK_ESCAPE);
             }
             if (end == kRelease) guitest::SendMouseAt(away, MOUSEEVENTF_LEFTUP);
           },
           [&] { return GetCapture() != menuBar; }, true},
          {[&] {
             atEnd.barVisible = fileBar->GetVisible();
             atEnd.menuOpen = MenuOf("File") && IsWindowVisible(MenuOf("File")->GetHandle());
             atEnd.dragging = Manager->GetDragging();
             atEnd.captured = GetCapture() != nullptr;
             if (end == kEscape) guitest::KeyUp(VK_ESCAPE);
             if (end != kRelease || spoiled)
               guitest::SendMouseAt(end == kComeBack ? grip : away, MOUSEEVENTF_LEFTUP);
           },
           nullptr},
      };
      TLoopScript script(steps);
      ASSERT_TRUE(script.Run()) << script.Left() << " steps not run";
      guitest::PumpFor(50);
      if (!spoiled) break;
      Manager->DeactivateAll();
      guitest::PumpFor(50);
    }
    ASSERT_FALSE(spoiled) << "the loop ended before the pointer came back, every time";
    EXPECT_TRUE(dragging) << "the manager drags while the loop runs";
    EXPECT_FALSE(menuOpenWhilePulled) << "the menu closes when pulled off";
    EXPECT_LE(floatingAt.top, away.y) << "the caption under the pointer";
    EXPECT_GT(floatingAt.bottom, away.y);
    EXPECT_FALSE(atEnd.dragging);
    EXPECT_FALSE(atEnd.captured);
    if (end == kRelease) {
      EXPECT_TRUE(atEnd.barVisible);
      EXPECT_EQ(fileBar->GetDockingStyle(), dsNone);
      EXPECT_FALSE(atEnd.menuOpen);
      EXPECT_EQ(ActiveBarControl(), nullptr) << "the release closes every menu";
      EXPECT_TRUE(fileBar->GetVisible()) << "the bar stays floating";
    } else {
      EXPECT_FALSE(atEnd.barVisible) << "the bar is hidden again";
      EXPECT_TRUE(atEnd.menuOpen) << "the menu is open again";
      if (end == kComeBack) {
        EXPECT_NE(MenuOf("File"), nullptr) << "the release on the caption keeps the menu";
      }
    }
    Manager->DeactivateAll();
    guitest::PumpFor(50);
  }
  EXPECT_EQ(detaching, attempts);
  fileBar->SetVisible(false);
}

TEST_F(SubMenuTest, ASecondPressOnAnOpenSubItemClosesItOnlyWithTheStandardStyle) {
  const struct {
    TdxBarManagerStyle style;
    bool closes;
  } cases[] = {{bmsStandard, true}, {bmsEnhanced, false}, {bmsFlat, false}};
  for (const auto& c : cases) {
    Manager->SetStyle(c.style);
    TdxBarSubMenuControl* file = OpenFile();
    ASSERT_NE(file, nullptr);
    ClickLink(file, 2);
    ASSERT_NE(MenuOf("Recent"), nullptr) << "a click opens at once";
    ClickLink(file, 2);
    EXPECT_EQ(MenuOf("Recent") == nullptr, c.closes) << c.style;
    Manager->DeactivateAll();
    guitest::PumpFor(20);
    ASSERT_EQ(MenuOf("File"), nullptr);
  }
}

TEST_F(SubMenuTest, AMenuPlacesItselfOnTheWorkAreaFlippingToTheOtherSideOfItsButton) {
  TdxBarSubItem* item = SubItemWith("Menu", 3);
  const TRect work = GetWorkAreaAtPoint(POINT{300, 300});
  // The menu's size, measured where it fits.
  TdxBarSubMenuControl* probe = OpenRoot(item, POINT{work.left + 100, work.top + 100});
  const int w = probe->GetWidth(), h = probe->GetHeight();
  probe->Release();
  const int midX = (work.left + work.right) / 2;
  const struct {
    const char* name;
    POINT at;
    int ownerWidth, ownerHeight;
    TRect expected;
    bool growLeft, growUp;
  } cases[] = {
      {"below a button", {midX, work.top + 50}, 0, 20, Bounds(midX, work.top + 50, w, h), false, false},
      {"above a button near the bottom",
       {midX, work.bottom - 10},
       0,
       20,
       Bounds(midX, work.bottom - 10 - 20 - h, w, h),
       false,
       true},
      {"left of an entry near the right edge",
       {work.right - 10, work.top + 50},
       100,
       0,
       Bounds(work.right - 10 - 100 - w, work.top + 50, w, h),
       true,
       false},
      {"pushed left with less room on the left",
       {work.left + 80, work.top + 50},
       100,
       0,
       Bounds(work.left + 80, work.top + 50, w, h),
       false,
       false},
      {"a popup near the bottom opens upwards",
       {midX, work.bottom - 10},
       0,
       0,
       Bounds(midX, work.bottom - 10 - h, w, h),
       false,
       true},
      {"a popup near the right edge is pushed left",
       {work.right - 5, work.top + 50},
       0,
       0,
       Bounds(work.right - w, work.top + 50, w, h),
       false,
       false},
      {"beside an entry near the bottom is pushed up",
       {midX, work.bottom - 10},
       100,
       0,
       Bounds(midX, work.bottom - h, w, h),
       false,
       false},
  };
  for (const auto& c : cases) {
    TdxBarSubMenuControl* menu = OpenRoot(item, c.at, c.ownerWidth, c.ownerHeight);
    EXPECT_EQ(menu->GetBoundsRect(), c.expected) << c.name;
    EXPECT_EQ(menu->GetGrowLeft(), c.growLeft) << c.name;
    EXPECT_EQ(menu->GetGrowUp(), c.growUp) << c.name;
    menu->Release();
  }
  // The case "pushed left" needs the menu to pass the right edge: only a
  // menu wider than the room right of the point does.
  EXPECT_GT(w, 0);
}

TEST_F(SubMenuTest, ATallMenuIsCutToTheScreenAndScrollsTheSelectionIntoView) {
  TdxBarSubItem* item = SubItemWith("Long", 25);
  const TRect work = GetWorkAreaAtPoint(POINT{300, 300});
  int row = 0;
  TdxBarSubMenuControl* menu = OpenCut(item, row);
  const int top = work.bottom - (10 * row + 6);
  EXPECT_EQ(menu->GetTop(), top);
  EXPECT_EQ(menu->GetHeight(), work.bottom - top) << "cut at the work area's bottom";
  EXPECT_FALSE(menu->GetGrowUp());
  EXPECT_EQ(menu->GetFittingCount(), 10);
  EXPECT_TRUE(menu->CanScrollDown());
  EXPECT_FALSE(menu->CanScrollUp());
  for (int i = 0; i < 12; ++i)
    Key(VK_DOWN);
  TdxBarItemLink* twelfth = menu->GetItemLinks()->GetShownLink(11);
  ASSERT_EQ(menu->GetSelectedControl(), twelfth->GetControl());
  EXPECT_GT(menu->TopIndex, 0);
  const int lastEntry = menu->TopIndex + menu->GetFittingCount() - 1 - (menu->CanScrollDown() ? 1 : 0);
  EXPECT_GE(lastEntry, 11) << "the 12th entry lies above the down-scroll row";
  EXPECT_GT(twelfth->ItemRect.Height(), 0);
  EXPECT_TRUE(menu->CanScrollUp());
  guitest::TCapture capture = guitest::TCapture::Paint(menu->GetHandle());
  capture.SavePng("SubMenu_scrolled");
  menu->Release();
}

TEST_F(SubMenuTest, RestingOnAScrollAreaScrollsOnTheTimer) {
  TdxBarSubItem* item = SubItemWith("Long", 25);
  int row = 0;
  TdxBarSubMenuControl* menu = OpenCut(item, row);
  ASSERT_TRUE(menu->CanScrollDown());
  const int last = menu->GetFittingCount() - 1;
  HoverLink(menu, last);
  ASSERT_TRUE(menu->IsScrollTimerRunning());
  EXPECT_EQ(menu->GetTimerPeriod(1), 80u);
  EXPECT_EQ(menu->GetSelectedControl(), nullptr);
  // The test takes the running timer over (a real tick may have come
  // already) and gives one tick itself.
  KillTimer(menu->GetHandle(), 1);
  const int top = menu->TopIndex;
  SendMessageA(menu->GetHandle(), WM_TIMER, 1, 0);
  EXPECT_EQ(menu->TopIndex, top + 1);
  EXPECT_TRUE(menu->CanScrollUp());
  menu->Release();
}

TEST_F(SubMenuTest, AnEmptyMenuShowsItsBackgroundAndSideStrip) {
  TdxBarSubItem* item = AddSubItem(Manager, "Empty", "Empty");
  item->SetBarSize(20);
  item->OnPaintBar = [](TObject*, TCanvas* canvas, const TRect& r) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(canvas->GetHandle(), &r, red);
    DeleteObject(red);
  };
  TdxBarSubMenuControl* menu = OpenRoot(item, POINT{200, 200});
  EXPECT_EQ(menu->GetWidth(), 100) << "no items: 100 wide";
  guitest::TCapture capture = guitest::TCapture::Paint(menu->GetHandle());
  capture.SavePng("SubMenu_empty");
  const int h = menu->GetClientHeight();
  EXPECT_EQ(capture.Pixel(5, h / 2), RGB(255, 0, 0)) << "the side strip";
  const COLORREF background = capture.Pixel(60, h / 2);
  EXPECT_NE(background, RGB(255, 0, 0));
  EXPECT_EQ(capture.CountPixels(TRect(25, 3, menu->GetClientWidth() - 3, h - 3), background),
            (menu->GetClientWidth() - 28) * (h - 6))
      << "one background";
  menu->Release();
}

TEST_F(SubMenuTest, ASubItemsMenuStandsOnTheManagersMenuPicture) {
  const COLORREF green = RGB(0, 200, 0);
  TBitmap picture;
  picture.SetSize(8, 8);
  FillRectWithColor(picture.GetCanvas()->GetHandle(), TRect(0, 0, 8, 8), static_cast<TColor>(green));
  Manager->GetBackgrounds()->SetSubMenu(&picture);
  TdxBarSubMenuControl* menu = OpenRoot(AddSubItem(Manager, "Empty", "Empty"), POINT{200, 200});
  EXPECT_EQ(menu->GetSubMenuBackground(), Manager->GetBackgrounds()->GetSubMenu());
  guitest::TCapture capture = guitest::TCapture::Paint(menu->GetHandle());
  capture.SavePng("SubMenu_manager_picture");
  const TRect inside(4, 4, menu->GetClientWidth() - 4, menu->GetClientHeight() - 4);
  EXPECT_EQ(capture.CountPixels(inside, green), inside.Width() * inside.Height());
  menu->Release();
}

TEST_F(SubMenuTest, TheRightButtonActsAsTheLeftOnlyInMenusWithoutAButton) {
  int clicks = 0;
  TdxBarSubItem* item = SubItemWith("Context", 2);
  Item("Context0")->OnClick = [&](TObject*) { ++clicks; };
  for (const int ownerHeight : {0, 20}) {
    TdxBarSubMenuControl* menu = OpenRoot(item, POINT{200, 200}, 0, ownerHeight);
    EXPECT_EQ(menu->AcceptsRightButton(), ownerHeight == 0);
    const POINT p = Centre(LinkIn(menu, 0)->ItemRect);
    guitest::MouseEventAt(menu->GetHandle(), p.x, p.y, MOUSEEVENTF_RIGHTDOWN);
    guitest::MouseEventAt(menu->GetHandle(), p.x, p.y, MOUSEEVENTF_RIGHTUP);
    guitest::PumpFor(30);
    if (ownerHeight == 0) {
      EXPECT_EQ(clicks, 1) << "a popup runs the entry";
      EXPECT_EQ(MenuOf(item), nullptr) << "and closes";
    } else {
      EXPECT_EQ(clicks, 1) << "a button's menu ignores the right button";
      ASSERT_NE(MenuOf(item), nullptr);
      menu->Release();
    }
  }
}

TEST_F(SubMenuTest, AButtonInAMenuPlaysTheCommandSound) {
  TdxBarSubMenuControl* file = OpenFile();
  Sounds.clear();
  ClickLink(file, 0);
  EXPECT_EQ(Sounds, std::vector<String>{"MenuCommand"});
  EXPECT_EQ(MenuOf("File"), nullptr);
}

namespace {

// A personalised menu of four entries: "Alpha" and "Gamma" are used, "Beta"
// and the sub item "&Xtra" are rarely used and hidden until it expands.
class PersonalisedMenuTest : public SubMenuTest {
protected:
  void SetUp() override {
    SubMenuTest::SetUp();
    Manager->SetStyle(bmsEnhanced);
    Manager->SetMenusShowRecentItemsFirst(true);
    Manager->SetShowFullMenusAfterDelay(false);
    Item = AddSubItem(Manager, "Pers", "Pers");
    AddLink(Item->GetItemLinks(), AddButton(Manager, "Alpha"));
    AddLink(Item->GetItemLinks(), AddButton(Manager, "Beta"))->SetMostRecentlyUsed(false);
    AddLink(Item->GetItemLinks(), AddButton(Manager, "Gamma"));
    TdxBarSubItem* xtra = AddSubItem(Manager, "Xtra", "&Xtra");
    AddLink(xtra->GetItemLinks(), AddButton(Manager, "Inner"));
    AddLink(Item->GetItemLinks(), xtra)->SetMostRecentlyUsed(false);
  }

  TdxBarSubMenuControl* Open() {
    TdxBarSubMenuControl* menu = OpenRoot(Item, POINT{200, 200});
    EXPECT_TRUE(menu->MarkVisible());
    EXPECT_EQ(menu->GetItemLinks()->GetShownCount(), 2);
    return menu;
  }

  // The menu shows all four entries, the rarely used ones marked, and is
  // still the open head of the chain.
  void ExpectExpanded(const char* how, bool head = true) {
    TdxBarSubMenuControl* menu = MenuOf(Item);
    ASSERT_NE(menu, nullptr) << how;
    EXPECT_FALSE(menu->MarkVisible()) << how;
    EXPECT_EQ(menu->GetItemLinks()->GetShownCount(), 4) << how;
    EXPECT_TRUE(GetShowFullMenus()) << how;
    EXPECT_TRUE(IsWindowVisible(menu->GetHandle())) << how;
    if (head) {
      EXPECT_EQ(ActiveBarControl(), menu) << how;
    }
    const bool nonRecent[] = {false, true, false, true};
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(LinkIn(menu, i)->GetControl()->NonRecent, nonRecent[i]) << how << " entry " << i;
    ExpectRarelyUsedBand(menu, how);
    menu->Release();
    guitest::PumpFor(20);
  }

  // On screen the rarely used entries lie on their own band (the Enhanced
  // look): the column left of a rarely used row differs from a recent row's.
  static void ExpectRarelyUsedBand(TdxBarSubMenuControl* menu, const char* how) {
    menu->Repaint();
    guitest::TCapture shot = guitest::TCapture::Paint(menu->GetHandle());
    RECT window;
    GetWindowRect(menu->GetHandle(), &window);
    POINT origin{0, 0};
    ClientToScreen(menu->GetHandle(), &origin);
    auto at = [&](int entry) {
      const TRect r = LinkIn(menu, entry)->ItemRect;
      return shot.Pixel(r.left - 1 + origin.x - window.left, r.top + 2 + origin.y - window.top);
    };
    EXPECT_EQ(at(0), at(2)) << how << ": recent rows share their background";
    if (menu->GetSelectedControl() != LinkIn(menu, 3)->GetControl()) {
      EXPECT_EQ(at(1), at(3)) << how << ": rarely used rows share theirs";
    }
    EXPECT_NE(at(0), at(1)) << how << ": the rarely used band";
  }

  TdxBarSubItem* Item = nullptr;
};

} // namespace

TEST_F(PersonalisedMenuTest, ExpandsByTheButtonCtrlDownAndAHiddenEntrysAccelerator) {
  TdxBarSubMenuControl* menu = Open();
  const POINT p = Centre(menu->GetExpandButtonRect());
  guitest::MouseEventAt(menu->GetHandle(), p.x, p.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->GetMarkState() == 1; }, 1000)) << "hot";
  guitest::TCapture hot = guitest::TCapture::Paint(menu->GetHandle());
  hot.SavePng("SubMenu_expandButtonHot");
  guitest::ClickAt(menu->GetHandle(), p.x, p.y);
  guitest::PumpFor(50);
  ExpectExpanded("the button");
  MovePointerOff(nullptr);

  Open();
  Key(VK_DOWN, true);
  ExpectExpanded("Ctrl+Down");

  Open();
  Key('X');
  ASSERT_NE(MenuOf(Item), nullptr);
  EXPECT_EQ(MenuOf(Item)->GetSelectedControl(), LinkIn(MenuOf(Item), 3)->GetControl());
  EXPECT_NE(MenuOf("Xtra"), nullptr) << "the unique accelerator chose the entry";
  ExpectExpanded("the accelerator of a hidden entry", false);
}

TEST_F(PersonalisedMenuTest, ExpandsAfterTheDelays) {
  Manager->SetShowFullMenusAfterDelay(true);
  TdxBarSubMenuControl* menu = Open();
  EXPECT_EQ(menu->GetExpandTimer(), 3) << "a menu that becomes active waits";
  EXPECT_EQ(menu->GetTimerPeriod(3), 4000u);
  Key(VK_DOWN);
  EXPECT_EQ(menu->GetExpandTimer(), 2) << "a selection waits again";
  EXPECT_EQ(menu->GetTimerPeriod(2), 4000u);
  SendMessageA(menu->GetHandle(), WM_TIMER, 2, 0);
  EXPECT_EQ(menu->GetMarkState(), 1) << "the button turns hot";
  EXPECT_EQ(menu->GetExpandTimer(), 0);
  HoverLink(menu, 0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->GetMarkState() == 0; }, 1000)) << "the pointer elsewhere";
  const POINT p = Centre(menu->GetExpandButtonRect());
  guitest::MouseEventAt(menu->GetHandle(), p.x, p.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->GetExpandTimer() == 3; }, 1000))
      << "resting on the button";
  EXPECT_EQ(menu->GetTimerPeriod(3), 1000u);
  SendMessageA(menu->GetHandle(), WM_TIMER, 3, 0);
  ExpectExpanded("the delays");
  MovePointerOff(nullptr);
}
