// Popup menus: the TdxBarPopupMenu component with its modal loop, the
// toolbars popup, popup-menu links and the manager's background pictures.
#include "dxBarPopup.h"

#include "dxBarCommon.h"
#include "dxBarStrs.h"

#include "Forms.h"

#include <algorithm>

namespace {

// A form's modes end before a menu opens: the active control's (a drag, a
// pressed button) and any mouse capture.
void CancelModes(TCustomForm* Form) {
  if (Form)
    if (TWinControl* control = Form->GetActiveControl())
      control->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Form));
  if (HWND capture = GetCapture()) {
    SendMessageA(capture, CM_CANCELMODE, 0, 0);
    ReleaseCapture();
  }
}

// The caret's place in the window's client area, when the window shows one.
bool GetCaretPointOf(HWND Wnd, POINT& Pt) {
  if (!HideCaret(Wnd)) return false;
  ShowCaret(Wnd);
  return GetCaretPos(&Pt) != FALSE;
}

POINT MapPoint(HWND From, HWND To, POINT Pt) {
  MapWindowPoints(From, To, &Pt, 1);
  return Pt;
}

bool gDeferPopupLoops = false;

// Runs Loop once the messages queued before it are served, on a window of
// its own that goes with it.
void PostLoop(std::function<void()> Loop) {
  auto wnd = std::make_shared<HWND>(nullptr);
  *wnd = AllocateHWnd([wnd, Loop = std::move(Loop)](TMessage& Message) {
    if (Message.Msg != WM_USER) {
      Message.Result = DefWindowProcA(*wnd, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    const HWND self = *wnd;
    const std::function<void()> loop = Loop;
    DeallocateHWnd(self);
    loop();
  });
  PostMessageA(*wnd, WM_USER, 0, 0);
}

} // namespace

// ---- TdxBarPopupMenu ----

TdxBarPopupMenu::TdxBarPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), FFont(std::make_unique<TFont>()), FBackgroundBitmap(std::make_unique<TBitmap>()) {
  TdxBarManagerList* managers = dxBarManagerList();
  if (!managers || managers->GetCount() == 0) throw Exception(dxBarString(dxSBAR_NOBARMANAGERS));
  TdxBarManager* manager = dynamic_cast<TCustomForm*>(AOwner) ? GetBarManagerOfForm(AOwner) : nullptr;
  if (!manager) manager = managers->GetItem(0);
  FFont->Assign(manager->GetFont());
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FItemLinks = std::make_unique<TdxBarItemLinks>(manager, this);
  FItemLinks->SetUseRecentItems(false);
  SetBarManager(manager);
  // Made by a form's bar definition: loaded with the manager.
  if (manager->IsLoading()) BeginLoading();
}

TdxBarPopupMenu::~TdxBarPopupMenu() {
  SetDestroying();
  *FAlive = false;
  FItemLinks.reset();
  FFont.reset();
  if (FFontHandle) DeleteObject(FFontHandle);
  SetBarManager(nullptr);
}

void TdxBarPopupMenu::SetBarManager(TdxBarManager* Value) {
  if (Value == FBarManager || (!Value && !IsDestroying())) return;
  if (FBarManager) {
    auto& menus = FBarManager->FPopupMenus;
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
  }
  FBarManager = Value;
  if (!Value) return;
  FItemLinks->SetBarManager(Value);
  Value->FPopupMenus.push_back(this);
}

void TdxBarPopupMenu::SetUseOwnFont(bool Value) {
  if (Value == FUseOwnFont) return;
  FUseOwnFont = Value;
  const bool old = FInternalFontChange;
  FInternalFontChange = true;
  if (Value) {
    CreateMenuFont(FFont.get(), FFontHandle, false);
  } else {
    if (FBarManager) FFont->Assign(FBarManager->GetFont());
    if (FFontHandle) DeleteObject(FFontHandle);
    FFontHandle = nullptr;
  }
  FInternalFontChange = old;
}

void TdxBarPopupMenu::FontChanged() {
  if (FInternalFontChange) return;
  FUseOwnFont = true;
  CreateMenuFont(FFont.get(), FFontHandle, false);
}

void TdxBarPopupMenu::SetUseRecentItems(bool Value) {
  FUseRecentItems = Value;
  FItemLinks->SetUseRecentItems(Value);
}

void TdxBarPopupMenu::Loaded() {
  TComponent::Loaded();
  FItemLinks->ApplyStoredState(true);
}

void TdxBarPopupMenu::DoPaintBar(TCanvas* Canvas, const TRect& R) {
  if (OnPaintBar) OnPaintBar(this, Canvas, R);
}

TBitmap* TdxBarPopupMenu::GetMenuBackground() const {
  if (!FBackgroundBitmap->GetEmpty() || !FBarManager) return FBackgroundBitmap.get();
  return FBarManager->GetBackgrounds()->GetSubMenu();
}

void TdxBarPopupMenu::NotifyPopup() {
  FPopped = true;
  if (OnPopup) OnPopup(this);
}

void TdxBarPopupMenu::NotifyCloseUp() {
  FPopped = false;
  // A close inside the retrieval of a message that is then dropped (a key
  // taken by the keyboard hook) leaves the loop waiting: wake it.
  if (FLoopRunning) PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
  if (OnCloseUp) OnCloseUp(this);
}

void TdxBarPopupMenu::PopupFromRect(int X, int Y, const TRect* OwnerRect, bool Animate, int OwnerHeight,
                                    int OwnerWidth) {
  FHasOwnerRect = OwnerRect != nullptr;
  if (OwnerRect) FOwnerRect = *OwnerRect;
  FOwnerWidth = OwnerWidth;
  FOwnerHeight = OwnerHeight;
  FAnimate = Animate;
  const std::shared_ptr<bool> alive = FAlive;
  auto reset = [this, alive] {
    if (!*alive) return;
    FOwnerWidth = FOwnerHeight = 0;
    FAnimate = true;
    FHasOwnerRect = false;
  };
  try {
    PopupAt(X, Y);
  } catch (...) {
    reset();
    throw;
  }
  reset();
}

void TdxBarPopupMenu::ShowWindowAt(int X, int Y) {
  auto* window = static_cast<TdxBarSubMenuControl*>(FItemLinks->CreateBarControl());
  window->SetBounds(X, Y, window->GetWidth(), window->GetHeight());
  if (FHasOwnerRect) window->OwnerRect = FOwnerRect;
  window->OwnerBarControl = OwnerBarControl;
  window->OwnerWidth = FOwnerWidth;
  window->OwnerHeight = FOwnerHeight;
  if (auto* owner = dynamic_cast<TWinControl*>(GetOwner())) window->OwnerWindow = owner->GetHandle();
  window->PopupNotify = [this](TObject*) { NotifyPopup(); };
  window->CloseNotify = [this](TObject*) { NotifyCloseUp(); };
  window->SetAnimating(FAnimate);
  ShowMenuWindow(window);
}

void TdxBarPopupMenu::PopupAt(int X, int Y) {
  if (FItemLinks->GetBarControl()) return;
  auto* form = dynamic_cast<TCustomForm*>(GetOwner());
  if (!form && FBarManager) form = FBarManager->GetOwnerForm();
  CancelModes(form);
  ShowWindowAt(X, Y);
  if (NonModal) return;
  if (!gDeferPopupLoops) return RunLoop();
  const std::shared_ptr<bool> alive = FAlive;
  PostLoop([this, alive] {
    if (*alive) RunLoop();
  });
}

TdxBarPopupLoopDeferral::TdxBarPopupLoopDeferral() : FOld(gDeferPopupLoops) {
  gDeferPopupLoops = true;
}

TdxBarPopupLoopDeferral::~TdxBarPopupLoopDeferral() {
  gDeferPopupLoops = FOld;
}

// While the menu is open its window's messages and everyone else's are
// served here; commands of other windows wait until it closes.
void TdxBarPopupMenu::RunLoop() {
  const std::shared_ptr<bool> alive = FAlive;
  FLoopRunning = true;
  MSG msg;
  while (*alive && FPopped) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    const bool wakeUp = !msg.hwnd && msg.message == WM_NULL;
    // The menu closed while the message was fetched (a click outside closes
    // it from the mouse hook): the message belongs to the application.
    if (!*alive || !FPopped) {
      if (!wakeUp) PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
      break;
    }
    if (wakeUp || msg.message == WM_COMMAND) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (*alive) FLoopRunning = false;
}

void TdxBarPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == OwnerBarControl) OwnerBarControl = nullptr;
}

// ---- The toolbars popup ----

namespace {

// A menu of its own entries, freed when it closes.
class TdxBarToolbarsPopup : public TdxBarSubMenuControl {
public:
  explicit TdxBarToolbarsPopup(TdxBarManager* Manager)
      : TdxBarSubMenuControl(Manager), FLinks(std::make_unique<TdxBarItemLinks>(Manager, this)) {
    FreeUnusedTempItems();
    SetItemLinks(FLinks.get());
    Manager->FillToolbarsList(FLinks.get());
  }
  ~TdxBarToolbarsPopup() override {
    DestroyHandle();
    SetItemLinks(nullptr);
    FLinks->SetBarControl(nullptr);
  }
  // A menu of the user's toolbars even while the manager customizes.
  bool IsCustomizing() const override { return false; }

protected:
  String ClassName() const override { return "TdxBarToolbarsPopup"; }

private:
  std::unique_ptr<TdxBarItemLinks> FLinks;
};

} // namespace

void ShowToolbarsPopup(TdxBarManager* BarManager, POINT ScreenPoint) {
  auto* popup = new TdxBarToolbarsPopup(BarManager);
  if (popup->GetItemLinks()->GetCount() == 0) {
    delete popup;
    return;
  }
  BarManager->DeactivateAll();
  popup->SetBounds(ScreenPoint.x, ScreenPoint.y, popup->GetWidth(), popup->GetHeight());
  popup->SetAnimating(true);
  ShowMenuWindow(popup);
}

// ---- The toolbars list ----

void TdxBarManager::FillToolbarsList(TdxBarItemLinks* Links) {
  for (int i = 0; i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    if (!bar->CanClose() || bar->GetHidden()) continue;
    auto* button = new TdxBarButton(nullptr);
    TempItems().push_back(button);
    button->SetCaption(bar->GetCaption());
    button->Tag = i;
    button->SetButtonStyle(bsChecked);
    button->SetDown(bar->GetVisible());
    button->OnClick = [this](TObject* Sender) {
      const int index = static_cast<TComponent*>(Sender)->Tag;
      if (index < FBars->GetCount()) FBars->GetItem(index)->SetVisible(!FBars->GetItem(index)->GetVisible());
    };
    Links->Add()->SetItem(button);
  }
  AddCustomizeEntry(Links, true, TdxBarButton::ClassInfo());
  DoShowToolbarsPopup(Links);
}

// ---- Popup-menu links ----

TdxBarPopupMenuLink::TdxBarPopupMenuLink(TCollection* Collection) : TCollectionItem(Collection) {}

TdxBarPopupMenuLink::~TdxBarPopupMenuLink() = default;

TdxBarManager* TdxBarPopupMenuLink::GetBarManager() const {
  auto* links = static_cast<TdxBarPopupMenuLinks*>(GetCollection());
  return links ? links->GetBarManager() : nullptr;
}

void TdxBarPopupMenuLink::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TdxBarPopupMenuLink*>(Source);
  if (!source) return TCollectionItem::Assign(Source);
  TdxBarManager* manager = GetBarManager();
  TComponent* root = manager ? manager->GetOwner() : nullptr;
  auto find = [root](const TComponent* Component) -> TComponent* {
    return Component && root ? root->FindComponent(Component->GetName()) : nullptr;
  };
  SetControl(dynamic_cast<TWinControl*>(find(source->FControl)));
  SetPopupMenu(dynamic_cast<TdxBarPopupMenu*>(find(source->FPopupMenu)));
  ProcessChildren = source->ProcessChildren;
}

void TdxBarPopupMenuLink::SetControl(TWinControl* Value) {
  if (Value == FControl) return;
  TdxBarManager* manager = GetBarManager();
  if (Value && (!manager || GetParentForm(Value) != manager->GetOwnerForm())) Value = nullptr;
  FControl = Value;
  if (Value) manager->FreeNotification(Value);
}

void TdxBarPopupMenuLink::SetPopupMenu(TdxBarPopupMenu* Value) {
  if (Value == FPopupMenu) return;
  FPopupMenu = Value;
  if (Value)
    if (TdxBarManager* manager = GetBarManager()) manager->FreeNotification(Value);
}

bool TdxBarPopupMenuLink::IsShortCut(TShortCut ShortCut) {
  bool allow = FPopupMenu != nullptr;
  if (OnAction) {
    int x = -1, y = -1;
    OnAction(this, x, y, false, allow);
  }
  return allow && FPopupMenu && FPopupMenu->IsShortCut(ShortCut);
}

bool TdxBarPopupMenuLink::ProcessPopup(HWND Wnd, POINT Pt) {
  if (!FControl) return false;
  MSG pending;
  PeekMessageA(&pending, Wnd, WM_CONTEXTMENU, WM_CONTEXTMENU, PM_REMOVE);
  const bool byMouse = Pt.x != -1;
  TPoint context(-1, -1);
  if (byMouse) {
    context = FControl->ScreenToClient(TPoint(Pt.x, Pt.y));
    ScreenToClient(Wnd, &Pt);
  } else if (!GetCaretPointOf(Wnd, Pt)) {
    Pt = POINT{0, 0};
  }
  bool handled = false;
  FControl->DoContextPopup(context, handled);
  if (handled) return true;
  bool allow = FPopupMenu != nullptr;
  if (OnAction) {
    const HWND control = FControl->GetHandle();
    POINT p = MapPoint(Wnd, control, Pt);
    int x = p.x, y = p.y;
    OnAction(this, x, y, byMouse, allow);
    Pt = MapPoint(control, Wnd, POINT{x, y});
  }
  if (allow && FPopupMenu) {
    if (IsWindowEnabled(Wnd)) SetFocus(Wnd);
    ClientToScreen(Wnd, &Pt);
    FPopupMenu->PopupAt(Pt.x, Pt.y);
  }
  return allow;
}

TdxBarPopupMenuLinks::TdxBarPopupMenuLinks(TdxBarManager* ABarManager)
    : TCollection([](TCollection* Owner) { return new TdxBarPopupMenuLink(Owner); }),
      FBarManager(ABarManager) {}

TPersistent* TdxBarPopupMenuLinks::GetOwner() const {
  return FBarManager;
}

bool TdxBarPopupMenuLinks::ForEachLink(TWinControl* Control,
                                       const std::function<bool(TdxBarPopupMenuLink*)>& Take) {
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->GetControl() == Control && Take(GetItem(i))) return true;
  for (TWinControl* parent = Control ? Control->GetParent() : nullptr; parent; parent = parent->GetParent())
    for (int i = 0; i < GetCount(); ++i) {
      TdxBarPopupMenuLink* link = GetItem(i);
      if (link->ProcessChildren && link->GetControl() == parent && Take(link)) return true;
    }
  return false;
}

bool TdxBarPopupMenuLinks::IsShortCut(TWinControl* Control, TShortCut ShortCut) {
  return ForEachLink(Control, [ShortCut](TdxBarPopupMenuLink* Link) { return Link->IsShortCut(ShortCut); });
}

bool TdxBarPopupMenuLinks::ProcessPopup(TWinControl* Control, HWND Wnd, POINT Pt) {
  if (FBarManager->GetDesigning()) return false;
  return ForEachLink(Control, [Wnd, Pt](TdxBarPopupMenuLink* Link) { return Link->ProcessPopup(Wnd, Pt); });
}

// ---- Backgrounds ----

TdxBarBackgrounds::TdxBarBackgrounds(TdxBarManager* ABarManager)
    : FBarManager(ABarManager), FBar(std::make_unique<TBitmap>()), FSubMenu(std::make_unique<TBitmap>()) {
  FBar->OnChange = [this](TObject*) {
    if (!FSettingBar) FBarManager->StyleChanged();
  };
}

TdxBarBackgrounds::~TdxBarBackgrounds() {
  FSubMenu.reset();
  FBar.reset();
}

void TdxBarBackgrounds::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TdxBarBackgrounds*>(Source);
  if (!source) return TPersistent::Assign(Source);
  SetBar(source->FBar.get());
  SetSubMenu(source->FSubMenu.get());
}

void TdxBarBackgrounds::SetSubMenu(const TBitmap* Value) {
  const TBitmap empty;
  FSubMenu->Assign(Value ? Value : &empty);
}

void TdxBarBackgrounds::SetBar(const TBitmap* Value) {
  const bool wasEmpty = FBar->GetEmpty();
  const TBitmap empty;
  FSettingBar = true;
  try {
    FBar->Assign(Value ? Value : &empty);
  } catch (...) {
    FSettingBar = false;
    throw;
  }
  FSettingBar = false;
  if (Value || !wasEmpty) FBarManager->StyleChanged();
}
