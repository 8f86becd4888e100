// Popup menus: the component's properties and its modal loop, the toolbars
// popup, popup-menu links and the manager's background pictures.
#include "BarsTest.h"

#include "dxBarPopup.h"
#include "dxBarStrs.h"

#include "GuiTest.h"

#include "ActnList.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <algorithm>
#include <thread>

namespace {

class PopupMenuTest : public BarsTest {
protected:
  TdxBarPopupMenu* NewMenu(TComponent* owner, const String& name) {
    auto* menu = new TdxBarPopupMenu(owner);
    menu->SetName(name);
    return menu;
  }
};

} // namespace

// ---- The component ----

TEST_F(PopupMenuTest, WithoutAnyManagerNoMenuIsMade) {
  ASSERT_EQ(dxBarManagerList()->GetCount(), 0);
  try {
    TdxBarPopupMenu menu(Form.get());
    FAIL() << "made without a manager";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "There are no TdxBarManagers available");
  }
  EXPECT_EQ(Form->GetComponentCount(), 0) << "the failed menu left its owner";
}

TEST_F(PopupMenuTest, TheManagerIsTheOwnerFormsElseTheFirst) {
  Build();
  TForm other(nullptr);
  TdxBarManager* second = CreateBarManager(&other, [](TdxBarManager*) {});
  TForm plain(nullptr);
  EXPECT_EQ(NewMenu(&other, "A")->GetBarManager(), second);
  EXPECT_EQ(NewMenu(&plain, "B")->GetBarManager(), Manager) << "a form without a manager";
  EXPECT_EQ(NewMenu(nullptr, "")->GetBarManager(), Manager) << "no owner";
  EXPECT_EQ(second->GetPopupMenuCount(), 1);
  EXPECT_EQ(Manager->GetPopupMenuCount(), 2);
  // The last menu has no owner: its manager frees it.
  delete second;
  EXPECT_EQ(other.FindComponent("A"), nullptr) << "the manager frees its popup menus";
}

TEST_F(PopupMenuTest, MovingToAnotherManagerMovesTheLinks) {
  Build();
  TForm other(nullptr);
  TdxBarManager* second = CreateBarManager(&other, [](TdxBarManager*) {});
  TdxBarPopupMenu* menu = NewMenu(Form.get(), "Menu");
  menu->SetBarManager(second);
  EXPECT_EQ(menu->GetItemLinks()->GetBarManager(), second);
  EXPECT_EQ(Manager->GetPopupMenuCount(), 0);
  EXPECT_EQ(second->GetPopupMenuCount(), 1);
  menu->SetBarManager(nullptr);
  EXPECT_EQ(menu->GetBarManager(), second) << "only a menu that goes leaves its manager";
  delete menu;
  EXPECT_EQ(second->GetPopupMenuCount(), 0);
}

TEST_F(PopupMenuTest, OwnFontFollowsChangesOfTheFont) {
  Build();
  Manager->SetUseSystemFont(false);
  Manager->GetFont()->SetName("Tahoma");
  Manager->GetFont()->SetSize(8);
  TdxBarPopupMenu* menu = NewMenu(Form.get(), "Menu");
  EXPECT_EQ(menu->GetFont()->GetName(), "Tahoma");
  EXPECT_FALSE(menu->GetUseOwnFont());
  EXPECT_EQ(menu->GetFontHandle(), nullptr);

  menu->GetFont()->SetSize(20);
  EXPECT_TRUE(menu->GetUseOwnFont()) << "changing the font makes it the menu's own";
  ASSERT_NE(menu->GetFontHandle(), nullptr);
  EXPECT_EQ(FontPointSize(menu->GetFontHandle()), 20) << "at the font's size, not the system's";

  menu->SetUseOwnFont(false);
  EXPECT_EQ(menu->GetFont()->GetSize(), 8) << "the manager's font again";
  EXPECT_FALSE(menu->GetUseOwnFont()) << "taking the manager's font back is no change of its own";
  EXPECT_EQ(menu->GetFontHandle(), nullptr);

  menu->SetUseOwnFont(true);
  ASSERT_NE(menu->GetFontHandle(), nullptr);
  EXPECT_EQ(FontPointSize(menu->GetFontHandle()), 8);
}

TEST_F(PopupMenuTest, PlainProperties) {
  Build();
  TdxBarPopupMenu* menu = NewMenu(Form.get(), "Menu");
  EXPECT_EQ(menu->GetBarSize(), 0);
  menu->SetBarSize(-5);
  EXPECT_EQ(menu->GetBarSize(), 0);
  menu->SetBarSize(24);
  EXPECT_EQ(menu->GetBarSize(), 24);
  EXPECT_FALSE(menu->GetUseRecentItems());
  EXPECT_FALSE(menu->GetPopped());
  EXPECT_TRUE(menu->GetBackgroundBitmap()->GetEmpty());
  EXPECT_EQ(menu->GetItemLinks()->GetOwner(), menu);
}

TEST_F(PopupMenuTest, AMenuOfTheBarDefinitionIsLoadedWithTheManager) {
  TdxBarPopupMenu* menu = nullptr;
  Build([&](TdxBarManager* m) {
    menu = NewMenu(m->GetOwnerForm(), "Menu");
    EXPECT_TRUE(menu->IsLoading());
    AddLink(menu->GetItemLinks(), AddButton(m, "Hidden"))->SetVisible(false);
  });
  EXPECT_FALSE(menu->IsLoading());
  EXPECT_FALSE(menu->GetItemLinks()->GetItem(0)->GetVisible()) << "the stored state is applied";
}

// ---- The toolbars list ----

TEST_F(PopupMenuTest, ToolbarsListHasACheckedEntryPerClosableShownBar) {
  Build([](TdxBarManager* m) {
    const char* captions[] = {"Menu", "Standard", "Fixed", "Secret", "Format"};
    for (const char* caption : captions)
      m->GetBars()->Add()->SetCaption(caption);
    m->GetBars()->GetItem(0)->SetIsMainMenu(true);
    m->GetBars()->GetItem(2)->AllowClose = false;
    m->GetBars()->GetItem(3)->SetHidden(true);
  });
  Manager->GetBars()->GetItem(4)->SetVisible(true);
  TdxBarItemLinks* shown = nullptr;
  Manager->OnShowToolbarsPopup = [&](TObject*, TdxBarItemLinks* links) { shown = links; };
  TdxBarItemLinks links(Manager, nullptr);
  Manager->FillToolbarsList(&links);
  EXPECT_EQ(shown, &links) << "the event sees the list";
  ASSERT_EQ(links.GetCount(), 2);
  struct Entry {
    const char* Caption;
    int Tag;
    bool Down;
  } expected[] = {{"Standard", 1, false}, {"Format", 4, true}};
  for (int i = 0; i < 2; ++i) {
    auto* button = dynamic_cast<TdxBarButton*>(links.GetItem(i)->GetItem());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetCaption(), expected[i].Caption);
    EXPECT_EQ(button->Tag, expected[i].Tag);
    EXPECT_EQ(button->GetButtonStyle(), bsChecked);
    EXPECT_EQ(button->GetDown(), expected[i].Down);
    EXPECT_EQ(button->GetOwner(), nullptr);
    EXPECT_NE(std::find(TempItems().begin(), TempItems().end(), button), TempItems().end());
  }
  links.GetItem(0)->GetItem()->Click();
  EXPECT_TRUE(Manager->GetBars()->GetItem(1)->GetVisible()) << "an entry shows its bar";
  links.GetItem(1)->GetItem()->Click();
  EXPECT_FALSE(Manager->GetBars()->GetItem(4)->GetVisible()) << "and hides it";
  links.Clear();
  FreeUnusedTempItems();
  EXPECT_TRUE(TempItems().empty());
}

// ---- Popup-menu links ----

namespace {

class PopupMenuLinksTest : public PopupMenuTest {
protected:
  void SetUp() override {
    Build();
    Panel = new TPanel(Form.get());
    Panel->SetName("Panel");
    Panel->SetParent(Form.get());
    Panel->SetBounds(10, 10, 200, 150);
    Edit = new TEdit(Form.get());
    Edit->SetName("Edit");
    Edit->SetParent(Panel);
    Edit->SetBounds(20, 20, 120, 24);
    Menu = NewMenu(Form.get(), "Menu");
    Command = AddButton(Manager, "Command");
    Command->SetShortCut(TextToShortCut("Ctrl+K"));
    Command->OnClick = [this](TObject*) { ++Clicks; };
    AddLink(Menu->GetItemLinks(), Command);
    Links = Manager->GetPopupMenuLinks();
  }

  TdxBarPopupMenuLink* Link(TWinControl* control, TdxBarPopupMenu* menu, bool children = true) {
    TdxBarPopupMenuLink* link = Links->Add();
    link->SetControl(control);
    link->SetPopupMenu(menu);
    link->ProcessChildren = children;
    return link;
  }

  TPanel* Panel = nullptr;
  TEdit* Edit = nullptr;
  TdxBarPopupMenu* Menu = nullptr;
  TdxBarButton* Command = nullptr;
  TdxBarPopupMenuLinks* Links = nullptr;
  int Clicks = 0;
};

} // namespace

TEST_F(PopupMenuLinksTest, OnlyControlsOfTheManagersFormAreTaken) {
  TForm other(nullptr);
  auto* stranger = new TEdit(&other);
  stranger->SetParent(&other);
  TdxBarPopupMenuLink* link = Link(stranger, Menu);
  EXPECT_EQ(link->GetControl(), nullptr);
  link->SetControl(Edit);
  EXPECT_EQ(link->GetControl(), Edit);
  TdxBarPopupMenuLink* unparented = Link(new TEdit(Form.get()), Menu);
  EXPECT_EQ(unparented->GetControl(), nullptr) << "a control on no form";
}

TEST_F(PopupMenuLinksTest, ALinkForgetsAControlOrMenuThatGoes) {
  TdxBarPopupMenuLink* link = Link(Edit, Menu);
  delete Edit;
  EXPECT_EQ(link->GetControl(), nullptr);
  delete Menu;
  EXPECT_EQ(link->GetPopupMenu(), nullptr);
}

TEST_F(PopupMenuLinksTest, AssignFindsTheComponentsByName) {
  TForm other(nullptr);
  TdxBarManager* second = CreateBarManager(&other, [](TdxBarManager*) {});
  auto* edit = new TEdit(&other);
  edit->SetName("Edit");
  edit->SetParent(&other);
  auto* menu = new TdxBarPopupMenu(&other);
  menu->SetName("Menu");
  auto* panel = new TPanel(&other);
  panel->SetName("Other");
  panel->SetParent(&other);

  TdxBarPopupMenuLink* source = Link(Edit, Menu, false);
  TdxBarPopupMenuLink* copy = second->GetPopupMenuLinks()->Add();
  copy->Assign(source);
  EXPECT_EQ(copy->GetControl(), edit);
  EXPECT_EQ(copy->GetPopupMenu(), menu);
  EXPECT_FALSE(copy->ProcessChildren);

  TdxBarPopupMenuLink* unnamed = Link(Panel, nullptr);
  copy->Assign(unnamed);
  EXPECT_EQ(copy->GetControl(), nullptr) << "no control of that name";
  EXPECT_EQ(copy->GetPopupMenu(), nullptr);
  EXPECT_TRUE(copy->ProcessChildren);
}

TEST_F(PopupMenuLinksTest, ShortCutsOfTheMenuWorkInItsControlAndItsChildren) {
  const TShortCut key = TextToShortCut("Ctrl+K");
  // On the edit itself.
  TdxBarPopupMenuLink* own = Link(Edit, Menu);
  EXPECT_TRUE(Links->IsShortCut(Edit, key));
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(Links->IsShortCut(Edit, TextToShortCut("Ctrl+J")));
  delete own;
  // Through the panel: only while it serves its children.
  TdxBarPopupMenuLink* parent = Link(Panel, Menu, false);
  EXPECT_FALSE(Links->IsShortCut(Edit, key));
  parent->ProcessChildren = true;
  EXPECT_TRUE(Links->IsShortCut(Edit, key));
  EXPECT_EQ(Clicks, 2);
  // OnAction may forbid the menu; it sees no point and no mouse.
  parent->OnAction = [](TdxBarPopupMenuLink*, int& x, int& y, bool byMouse, bool& allow) {
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_FALSE(byMouse);
    allow = false;
  };
  EXPECT_FALSE(Links->IsShortCut(Edit, key));
  EXPECT_EQ(Clicks, 2);
}

// ---- Backgrounds ----

TEST_F(PopupMenuTest, ChangingTheBarPictureRestylesTheBars) {
  Build([](TdxBarManager* m) { m->GetBars()->Add()->SetCaption("Floating"); });
  Form->Show();
  TdxBar* bar = Manager->GetBars()->GetItem(0);
  bar->SetDockingStyle(dsNone);
  bar->SetVisible(true);
  int restyles = 0;
  Manager->OnBarVisibleChange = [&](TObject*, TdxBar*) { ++restyles; };
  TdxBarBackgrounds* backgrounds = Manager->GetBackgrounds();
  TBitmap picture;
  picture.SetSize(8, 8);

  backgrounds->SetBar(nullptr);
  EXPECT_EQ(restyles, 0) << "clearing an empty picture";
  backgrounds->SetBar(&picture);
  EXPECT_EQ(restyles, 2) << "a floating bar is shown anew once";
  EXPECT_EQ(backgrounds->GetBar()->GetWidth(), 8);
  backgrounds->GetBar()->SetSize(16, 16);
  EXPECT_EQ(restyles, 4) << "a change of the picture itself";
  backgrounds->SetBar(nullptr);
  EXPECT_EQ(restyles, 6) << "clearing a set picture";
  EXPECT_TRUE(backgrounds->GetBar()->GetEmpty());

  backgrounds->SetSubMenu(&picture);
  EXPECT_EQ(restyles, 6) << "the menus' picture restyles nothing";
  TdxBarBackgrounds copy(Manager);
  copy.Assign(backgrounds);
  EXPECT_TRUE(copy.GetBar()->GetEmpty());
  EXPECT_EQ(copy.GetSubMenu()->GetWidth(), 8);
  bar->SetVisible(false);
}

TEST_F(PopupMenuTest, TheBarPictureLiesBehindDocksAndToolbars) {
  Build([](TdxBarManager* m) {
    for (const char* caption : {"Docked", "Floating"}) {
      TdxBar* bar = m->GetBars()->Add();
      bar->SetCaption(caption);
      AddLink(bar->GetItemLinks(), AddButton(m, String("Button") + caption, "Go"));
    }
  });
  Manager->SetStyle(bmsStandard);
  Form->SetBounds(50, 50, 400, 250);
  Form->Show();
  const COLORREF green = RGB(0, 200, 0);
  TBitmap picture;
  picture.SetSize(8, 8);
  FillRectWithColor(picture.GetCanvas()->GetHandle(), TRect(0, 0, 8, 8), static_cast<TColor>(green));
  Manager->GetBackgrounds()->SetBar(&picture);
  TdxBar* docked = Manager->GetBars()->GetItem(0);
  docked->SetDockingStyle(dsTop);
  docked->SetVisible(true);
  TdxBar* floating = Manager->GetBars()->GetItem(1);
  floating->SetDockingStyle(dsNone);
  floating->SetVisible(true);
  guitest::PumpFor(100);

  TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
  guitest::TCapture dockCapture = guitest::TCapture::Paint(dock->GetHandle());
  dockCapture.SavePng("BarPictureDocked");
  TdxBarControl* window = docked->GetBarControl();
  const TPoint barAt = window->ClientToScreen(TPoint(0, 0)), dockAt = dock->ClientToScreen(TPoint(0, 0));
  const TRect free(window->GetWidth() + 10, 2, dock->GetWidth() - 2, dock->GetHeight() - 2);
  EXPECT_EQ(dockCapture.CountPixels(free, green), free.Width() * free.Height()) << "the dock";
  const TRect button = docked->GetItemLinks()->GetItem(0)->ItemRect;
  const TRect afterButton(barAt.x - dockAt.x + button.right + 1, barAt.y - dockAt.y + button.top,
                          barAt.x - dockAt.x + window->GetClientWidth() - 1,
                          barAt.y - dockAt.y + button.bottom);
  EXPECT_GT(dockCapture.CountPixels(afterButton, green), afterButton.Width() * afterButton.Height() / 2)
      << "the docked toolbar continues its dock's picture";

  TdxBarControl* floatingWindow = floating->GetBarControl();
  guitest::TCapture floatCapture = guitest::TCapture::Paint(floatingWindow->GetHandle());
  floatCapture.SavePng("BarPictureFloating");
  const TRect item = floating->GetItemLinks()->GetItem(0)->ItemRect;
  const TRect inItem(item.left + 1, item.bottom - 3, item.right - 1, item.bottom - 1);
  EXPECT_EQ(floatCapture.CountPixels(inItem, green), inItem.Width() * inItem.Height())
      << "a floating toolbar's button stands on the picture";
  docked->SetVisible(false);
  floating->SetVisible(false);
}

// ---- Showing the menu ----

namespace {

// Runs an action from inside a message loop that the test does not own (the
// menu's): a thread timer's callback.
class LoopAction {
public:
  LoopAction(int delayMs, std::function<void()> action) {
    Action() = std::move(action);
    FTimer = SetTimer(nullptr, 0, delayMs, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (auto action = std::move(Action())) action();
    });
  }
  ~LoopAction() {
    KillTimer(nullptr, FTimer);
    Action() = nullptr;
  }

private:
  static std::function<void()>& Action() {
    static std::function<void()> action;
    return action;
  }
  UINT_PTR FTimer;
};

// A window that counts what reaches it, for messages of the application.
class Recorder {
public:
  Recorder() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = [](HWND wnd, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
      if (auto* self = reinterpret_cast<Recorder*>(GetWindowLongPtrA(wnd, GWLP_USERDATA))) {
        self->Seen.push_back(msg);
        if (msg == WM_APP && self->OnApp) self->OnApp();
      }
      return DefWindowProcA(wnd, msg, w, l);
    };
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "PopupMenuTestRecorder";
    RegisterClassA(&cls);
    Wnd =
        CreateWindowA(cls.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, cls.hInstance, nullptr);
    SetWindowLongPtrA(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Recorder() { DestroyWindow(Wnd); }
  int Count(UINT msg) const { return static_cast<int>(std::count(Seen.begin(), Seen.end(), msg)); }
  HWND Wnd;
  std::vector<UINT> Seen;
  std::function<void()> OnApp;
};

class PopupShowTest : public PopupMenuTest {
protected:
  void SetUp() override {
    Build();
    Manager->SetStyle(bmsStandard);
    Form->SetBounds(100, 100, 400, 300);
    Form->Show();
    Menu = NewMenu(Form.get(), "Menu");
    for (const char* name : {"One", "Two", "Three"}) {
      TdxBarButton* button = AddButton(Manager, name);
      button->OnClick = [this, name](TObject*) { Log.push_back(String("click ") + name); };
      AddLink(Menu->GetItemLinks(), button);
    }
    Menu->OnPopup = [this](TObject*) { Log.push_back(Menu->GetPopped() ? "popup, popped" : "popup"); };
    Menu->OnCloseUp = [this](TObject*) { Log.push_back(Menu->GetPopped() ? "closeup, popped" : "closeup"); };
    SetCursorPos(5, 5);
    guitest::PumpFor(50);
  }

  void TearDown() override {
    if (ActiveBarControl()) Manager->DeactivateAll();
    guitest::PumpFor(20);
  }

  TCustomdxBarControl* MenuWindow() const { return Menu->GetItemLinks()->GetBarControl(); }

  // The middle of an entry of an open menu, on the screen.
  static POINT EntryCentreOf(TCustomdxBarControl* window, int index) {
    const TRect r = window->GetItemLinks()->GetItem(index)->ItemRect;
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(window->GetHandle(), &p);
    return p;
  }
  POINT EntryCentre(int index) const { return EntryCentreOf(MenuWindow(), index); }

  static void ClickScreen(POINT p) {
    guitest::SendMouseAt(p, 0);
    guitest::SendMouseAt(p, MOUSEEVENTF_LEFTDOWN);
    guitest::SendMouseAt(p, MOUSEEVENTF_LEFTUP);
  }

  TdxBarPopupMenu* Menu = nullptr;
  std::vector<String> Log;
};

} // namespace

TEST_F(PopupShowTest, ShowsAtThePointAndReturnsAfterTheClickedCommandRanOnce) {
  RECT shown{};
  LoopAction click(100, [&] {
    GetWindowRect(MenuWindow()->GetHandle(), &shown);
    ClickScreen(EntryCentre(1));
  });
  Menu->PopupAt(200, 180);
  EXPECT_EQ(shown.left, 200);
  EXPECT_EQ(shown.top, 180);
  EXPECT_EQ(Log, (std::vector<String>{"popup, popped", "closeup", "click Two"}));
  EXPECT_FALSE(Menu->GetPopped());
  EXPECT_EQ(MenuWindow(), nullptr) << "the window went with the menu";
}

TEST_F(PopupShowTest, AClickOutsideClosesTheMenuAndReachesItsWindow) {
  std::vector<TPoint> presses;
  Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    presses.push_back(TPoint(x, y));
  };
  const TPoint outside = Form->ClientToScreen(TPoint(20, 30));
  LoopAction click(100, [&] { ClickScreen(outside); });
  Menu->PopupAt(200, 180);
  EXPECT_EQ(Log, (std::vector<String>{"popup, popped", "closeup"}));
  EXPECT_TRUE(presses.empty()) << "not handled inside the menu's loop";
  guitest::PumpFor(100);
  ASSERT_EQ(presses.size(), 1u) << "the press is the application's, once";
  EXPECT_EQ(presses[0].x, 20);
  EXPECT_EQ(presses[0].y, 30);
}

TEST_F(PopupShowTest, CommandsOfOtherWindowsAreDroppedWhileOpen) {
  Recorder recorder;
  LoopAction act(50, [&] {
    PostMessageA(recorder.Wnd, WM_COMMAND, 1, 0);
    PostMessageA(recorder.Wnd, WM_USER + 7, 0, 0);
    PostMessageA(recorder.Wnd, WM_APP, 0, 0);
  });
  recorder.OnApp = [&] { Manager->DeactivateAll(); };
  Menu->PopupAt(200, 180);
  EXPECT_EQ(recorder.Count(WM_USER + 7), 1) << "other messages are served while open";
  guitest::PumpFor(50);
  EXPECT_EQ(recorder.Count(WM_COMMAND), 0);
}

TEST_F(PopupShowTest, QuitEndsTheLoopAndIsPostedAgain) {
  LoopAction quit(50, [] { PostQuitMessage(42); });
  Menu->PopupAt(200, 180);
  MSG msg{};
  const bool quitting = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  EXPECT_TRUE(quitting);
  EXPECT_EQ(msg.wParam, 42u);
  EXPECT_TRUE(Menu->GetPopped()) << "the application ends; the menu is left as it was";
}

TEST_F(PopupShowTest, AMessageFetchedAfterTheCloseReachesTheApplication) {
  Recorder recorder;
  recorder.OnApp = [&] { Manager->DeactivateAll(); };
  std::thread other;
  // From another thread: the close is sent (served inside the loop's wait),
  // then a message is posted that the loop fetches only after the close.
  LoopAction start(50, [&] {
    other = std::thread([&] {
      SendMessageA(recorder.Wnd, WM_APP, 0, 0);
      PostMessageA(recorder.Wnd, WM_USER + 9, 0, 0);
    });
  });
  Menu->PopupAt(200, 180);
  other.join();
  EXPECT_FALSE(Menu->GetPopped());
  EXPECT_EQ(recorder.Count(WM_USER + 9), 0) << "not handled by the menu's loop";
  guitest::PumpFor(50);
  EXPECT_EQ(recorder.Count(WM_USER + 9), 1) << "handled once by the application's loop";
}

TEST_F(PopupShowTest, EscapeClosesTheMenuAndItsLoopReturns) {
  // The key goes through the keyboard hook to the open menu, which has no
  // parent: it releases itself and the loop ends.
  bool open = false;
  LoopAction press(100, [&] {
    open = MenuWindow() && IsWindowVisible(MenuWindow()->GetHandle());
    guitest::PressKey(VK_ESCAPE);
  });
  // Should the key be lost, the menu still closes, later.
  static TdxBarManager* manager;
  manager = Manager;
  const UINT_PTR rescue = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    manager->DeactivateAll();
  });
  const DWORD start = GetTickCount();
  Menu->PopupAt(200, 180);
  KillTimer(nullptr, rescue);
  EXPECT_LT(GetTickCount() - start, 2000u) << "closed by the key";
  EXPECT_TRUE(open);
  EXPECT_EQ(Log, (std::vector<String>{"popup, popped", "closeup"}));
  EXPECT_EQ(MenuWindow(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(PopupShowTest, NonModalReturnsAtOnceAndASecondPopupDoesNothing) {
  Menu->NonModal = true;
  Menu->PopupAt(200, 180);
  ASSERT_NE(MenuWindow(), nullptr);
  EXPECT_TRUE(Menu->GetPopped());
  TCustomdxBarControl* window = MenuWindow();
  Menu->NonModal = false;
  Menu->PopupAt(10, 10);
  EXPECT_EQ(MenuWindow(), window) << "the open menu stays";
  Manager->DeactivateAll();
  EXPECT_EQ(Log, (std::vector<String>{"popup, popped", "closeup"}));
  EXPECT_EQ(MenuWindow(), nullptr);
}

TEST_F(PopupShowTest, ACommandMayFreeItsMenu) {
  auto* button = static_cast<TdxBarButton*>(Menu->GetItemLinks()->GetItem(0)->GetItem());
  button->OnClick = [this](TObject*) {
    delete Menu;
    Menu = nullptr;
  };
  LoopAction click(100, [&] { ClickScreen(EntryCentre(0)); });
  Menu->PopupAt(200, 180);
  EXPECT_EQ(Menu, nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(PopupShowTest, FromARectTheMenuOpensBesideItsButtonForOneCall) {
  // A button at the bottom-right of the screen: the menu opens above it.
  const TRect work = GetWorkAreaAtPoint(POINT{0, 0});
  Menu->NonModal = true;
  const TRect button(work.right - 60, work.bottom - 20, work.right, work.bottom);
  Menu->PopupFromRect(button.left, button.bottom, &button, false, button.Height(), 0);
  RECT r{};
  GetWindowRect(MenuWindow()->GetHandle(), &r);
  EXPECT_EQ(r.bottom, button.top) << "above the button";
  EXPECT_LE(r.right, work.right);
  Manager->DeactivateAll();
  Menu->PopupAt(work.right - 10, work.bottom - 10);
  GetWindowRect(MenuWindow()->GetHandle(), &r);
  EXPECT_EQ(r.bottom, work.bottom - 10) << "without a button it opens upwards from the point";
}

// ---- The toolbars popup ----

namespace {

class ToolbarsPopupTest : public PopupShowTest {
protected:
  void SetUp() override {
    PopupShowTest::SetUp();
    for (const char* caption : {"Standard", "Format"}) {
      TdxBar* bar = Manager->GetBars()->Add();
      bar->SetCaption(caption);
      AddLink(bar->GetItemLinks(), Manager->GetItem(0));
      bar->SetDockingStyle(dsTop);
    }
    Manager->GetBars()->GetItem(0)->SetVisible(true);
    guitest::PumpFor(50);
  }

  // The open toolbars popup: the active menu window.
  TCustomdxBarControl* Popup() const {
    TCustomdxBarControl* active = ActiveBarControl();
    return active && active->GetItemLinks() != Menu->GetItemLinks() ? active : nullptr;
  }

  void RightClickScreen(POINT p) {
    guitest::SendMouseAt(p, 0);
    guitest::SendMouseAt(p, MOUSEEVENTF_RIGHTDOWN);
    guitest::SendMouseAt(p, MOUSEEVENTF_RIGHTUP);
    guitest::PumpUntil([&] { return Popup() != nullptr; }, 1000);
  }
};

} // namespace

TEST_F(ToolbarsPopupTest, ARightClickOnAToolbarListsTheBarsWithChecks) {
  TdxBarControl* toolbar = Manager->GetBars()->GetItem(0)->GetBarControl();
  ASSERT_NE(toolbar, nullptr);
  POINT p{toolbar->GetWidth() - 3, toolbar->GetHeight() / 2};
  ClientToScreen(toolbar->GetHandle(), &p);
  RightClickScreen(p);
  TCustomdxBarControl* popup = Popup();
  ASSERT_NE(popup, nullptr);
  RECT r{};
  GetWindowRect(popup->GetHandle(), &r);
  EXPECT_EQ(r.left, p.x);
  EXPECT_EQ(r.top, p.y);
  TdxBarItemLinks* links = popup->GetItemLinks();
  ASSERT_EQ(links->GetCount(), 2);
  EXPECT_EQ(links->GetItem(0)->GetCaption(), "Standard");
  EXPECT_EQ(links->GetItem(1)->GetCaption(), "Format");

  // The shown bar's entry is checked, the hidden one's not.
  EXPECT_TRUE(static_cast<TdxBarButton*>(links->GetItem(0)->GetItem())->GetDown());
  EXPECT_FALSE(static_cast<TdxBarButton*>(links->GetItem(1)->GetItem())->GetDown());

  // The entry of the hidden bar shows it; the popup goes.
  ClickScreen(EntryCentreOf(popup, 1));
  guitest::PumpUntil([&] { return Manager->GetBars()->GetItem(1)->GetVisible(); }, 1000);
  EXPECT_TRUE(Manager->GetBars()->GetItem(1)->GetVisible());
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

// What the popup draws once it has unfolded: a menu paints nothing while
// its animation runs, so a picture taken earlier shows an unpainted window.
TEST_F(ToolbarsPopupTest, TheUnfoldedPopupShowsItsEntriesWithTheShownBarChecked) {
  Manager->SetMenuAnimations(maUnfold);
  TdxBarControl* toolbar = Manager->GetBars()->GetItem(0)->GetBarControl();
  ASSERT_NE(toolbar, nullptr);
  POINT p{toolbar->GetWidth() - 3, toolbar->GetHeight() / 2};
  ClientToScreen(toolbar->GetHandle(), &p);
  RightClickScreen(p);
  auto* popup = dynamic_cast<TdxBarSubMenuControl*>(Popup());
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(guitest::PumpUntil(
      [&] { return !popup->GetAnimating() && IsWindowVisible(popup->GetHandle()); }, 5000));
  guitest::PumpFor(50);
  const guitest::TCapture capture = guitest::TCapture::Paint(popup->GetHandle());
  capture.SavePng("bars_toolbars_popup");
  const TRect inside(2, 2, popup->GetClientWidth() - 2, popup->GetClientHeight() - 2);
  EXPECT_GT(capture.CountPixels(inside, GetSysColor(COLOR_BTNFACE)), inside.Width() * inside.Height() / 2)
      << "the menu's background";
  TdxBarItemLinks* links = popup->GetItemLinks();
  ASSERT_EQ(links->GetCount(), 2);
  for (int i = 0; i < 2; ++i) {
    const TRect row = links->GetItem(i)->ItemRect;
    // The check stands in the square at the row's left, the caption after it.
    const TRect check(row.left, row.top, row.left + row.Height(), row.bottom);
    const TRect caption(check.right, row.top, row.right, row.bottom);
    const COLORREF text = GetSysColor(COLOR_MENUTEXT);
    EXPECT_GT(capture.CountPixels(caption, text), 10) << "the caption of entry " << i;
    if (i == 0)
      EXPECT_GT(capture.CountPixels(check, text), 5) << "the shown bar's entry is checked";
    else
      EXPECT_EQ(capture.CountPixels(check, text), 0) << "the hidden bar's entry is not";
  }
}

TEST_F(ToolbarsPopupTest, ARightClickOnADockToo) {
  TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
  POINT p{dock->GetWidth() - 5, dock->GetHeight() / 2};
  ClientToScreen(dock->GetHandle(), &p);
  RightClickScreen(p);
  ASSERT_NE(Popup(), nullptr);
  ClickScreen(EntryCentreOf(Popup(), 0));
  guitest::PumpUntil([&] { return !Manager->GetBars()->GetItem(0)->GetVisible(); }, 1000);
  EXPECT_FALSE(Manager->GetBars()->GetItem(0)->GetVisible()) << "the shown bar's entry hides it";
}

TEST_F(ToolbarsPopupTest, WithoutClosableToolbarsNothingShows) {
  for (int i = 0; i < 2; ++i)
    Manager->GetBars()->GetItem(i)->AllowClose = false;
  TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
  POINT p{dock->GetWidth() - 5, dock->GetHeight() / 2};
  ClientToScreen(dock->GetHandle(), &p);
  RightClickScreen(p);
  EXPECT_EQ(Popup(), nullptr);
  FreeUnusedTempItems();
  EXPECT_TRUE(TempItems().empty());
}

// ---- Popup-menu links showing their menus ----

namespace {

class LinkPopupTest : public PopupShowTest {
protected:
  void SetUp() override {
    PopupShowTest::SetUp();
    Panel = new TPanel(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(10, 10, 250, 150);
    Edit = new TEdit(Form.get());
    Edit->SetParent(Panel);
    Edit->SetBounds(20, 20, 150, 24);
    Edit->SetText("some text");
    Menu->NonModal = true;
    Link = Manager->GetPopupMenuLinks()->Add();
    Link->SetControl(Panel);
    Link->SetPopupMenu(Menu);
    guitest::PumpFor(50);
  }

  POINT Shown() const {
    RECT r{};
    if (MenuWindow()) GetWindowRect(MenuWindow()->GetHandle(), &r);
    return POINT{r.left, r.top};
  }

  bool Popup(TWinControl* control, POINT p) {
    return Manager->GetPopupMenuLinks()->ProcessPopup(control, control->GetHandle(), p);
  }

  TPanel* Panel = nullptr;
  TEdit* Edit = nullptr;
  TdxBarPopupMenuLink* Link = nullptr;
};

} // namespace

TEST_F(LinkPopupTest, AMouseClickOnAChildShowsTheParentsMenuWhenItServesChildren) {
  const POINT at{260, 230};
  Link->ProcessChildren = false;
  EXPECT_FALSE(Popup(Edit, at));
  EXPECT_EQ(MenuWindow(), nullptr);
  Link->ProcessChildren = true;
  EXPECT_TRUE(Popup(Edit, at));
  ASSERT_NE(MenuWindow(), nullptr);
  EXPECT_EQ(Shown().x, at.x);
  EXPECT_EQ(Shown().y, at.y);
}

TEST_F(LinkPopupTest, AKeyShowsTheMenuAtTheCaretElseAtTheControlsCorner) {
  Edit->SetFocus();
  SendMessageA(Edit->GetHandle(), EM_SETSEL, 4, 4);
  guitest::PumpFor(50);
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  ClientToScreen(Edit->GetHandle(), &caret);
  EXPECT_TRUE(Popup(Edit, POINT{-1, -1}));
  EXPECT_EQ(Shown().x, caret.x);
  EXPECT_EQ(Shown().y, caret.y);
  Manager->DeactivateAll();

  EXPECT_TRUE(Popup(Panel, POINT{-1, -1}));
  const TPoint corner = Panel->ClientToScreen(TPoint(0, 0));
  EXPECT_EQ(Shown().x, corner.x);
  EXPECT_EQ(Shown().y, corner.y);
}

TEST_F(LinkPopupTest, TheControlsOwnHandlerAndOnActionComeFirst) {
  const POINT at{260, 230};
  TPoint contextPos(0, 0);
  Panel->OnContextPopup = [&](TObject*, TPoint pos, bool& handled) {
    contextPos = pos;
    handled = true;
  };
  EXPECT_TRUE(Popup(Panel, at)) << "handled counts as taken";
  EXPECT_EQ(MenuWindow(), nullptr);
  EXPECT_EQ(contextPos.x, at.x - Panel->ClientToScreen(TPoint(0, 0)).x) << "in the control's coordinates";
  Panel->OnContextPopup = nullptr;

  Link->OnAction = [](TdxBarPopupMenuLink*, int&, int&, bool byMouse, bool& allow) {
    EXPECT_TRUE(byMouse);
    allow = false;
  };
  EXPECT_FALSE(Popup(Panel, at));
  EXPECT_EQ(MenuWindow(), nullptr);

  TPoint actionPoint(0, 0);
  Link->OnAction = [&](TdxBarPopupMenuLink*, int& x, int& y, bool, bool&) {
    actionPoint = TPoint(x, y);
    x += 7;
    y += 3;
  };
  EXPECT_TRUE(Popup(Edit, at));
  EXPECT_EQ(actionPoint.x, at.x - Panel->ClientToScreen(TPoint(0, 0)).x)
      << "the link's control's coordinates";
  EXPECT_EQ(Shown().x, at.x + 7);
  EXPECT_EQ(Shown().y, at.y + 3);
}
