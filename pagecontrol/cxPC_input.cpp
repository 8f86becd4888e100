// Input of the tab control: hot tracking, the navigator buttons with the
// repeating arrows, tab clicks, the wheel, keys, accelerators and the go
// dialog.
#include "cxPC.h"
#include "cxPCGoDialog.h"
#include "cxPCPainters.h"

namespace {

constexpr UINT kFirstRepeatDelay = 300;
constexpr UINT kRepeatInterval = 150;

bool IsArrow(TcxPCNavigatorButton Button) {
  return Button != nbGoDialog;
}

int ScrollDelta(TcxPCNavigatorButton Button) {
  return Button == nbBottomRight ? 1 : -1;
}

// The primary button as the hardware holds it now: a release over another
// window never reaches the control.
bool IsPrimaryButtonDown() {
  const int vk = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

bool FirstMember(TcxPCNavigatorButtons Buttons, TcxPCNavigatorButton& Button) {
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbGoDialog})
    if (Buttons.Contains(b)) return (Button = b), true;
  return false;
}

} // namespace

void TcxCustomTabControl::UpdateHotState(TShiftState Shift) {
  if (IsLoadingOrDestroying() || IsDesigning() || !HandleAllocated() || GoDialogShown || !FPainter) return;
  const TPoint p = ScreenToClient(Mouse->GetCursorPos());
  int hotButton = -1;
  int hotTab = -1;
  if ((FHotTrack || FPainter->IsNativePainting()) && GetEnabled() && !Shift.Contains(ssLeft)) {
    TcxPCNavigatorButton b;
    if (FPainter->GetNavigatorButtonAt(p.x, p.y, b) && NavigatorButtonStates[b] != nbsPressed &&
        NavigatorButtonStates[b] != nbsDisabled) {
      hotButton = b;
    } else {
      hotTab = TabAtPoint(p.x, p.y);
      if (hotTab != -1 && !FVisibleTabList->GetTab(hotTab)->GetEnabled()) hotTab = -1;
    }
  }
  TcxPCNavigatorButton old;
  const bool hadHot = FirstMember(HotNavigatorButtons, old);
  if ((hadHot ? static_cast<int>(old) : -1) != hotButton) {
    HotNavigatorButtons = TcxPCNavigatorButtons();
    if (hadHot && NavigatorButtonStates[old] == nbsHot) SetNavigatorButtonState(old, nbsNormal);
    if (hotButton != -1) {
      const auto b = static_cast<TcxPCNavigatorButton>(hotButton);
      HotNavigatorButtons.Include(b);
      SetNavigatorButtonState(b, nbsHot);
    }
  }
  FTabs->SetHotTab(hotTab);
}

// ---- Mouse ----

void TcxCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControl::MouseDown(Button, Shift, X, Y);
  bool closedByClick = false;
  if (FGoDialog) {
    closedByClick = FGoDialog->ClosedByOwnerClick;
    FGoDialog->ClosedByOwnerClick = false;
  }
  if (FHideTabs || Button != mbLeft) return;
  UpdateHotState(Shift);
  TcxPCNavigatorButton b;
  if (FPainter->GetNavigatorButtonAt(X, Y, b)) {
    if ((closedByClick && b == nbGoDialog) || NavigatorButtonStates[b] == nbsPressed ||
        NavigatorButtonStates[b] == nbsDisabled)
      return;
    SetNavigatorButtonState(b, nbsPressed);
    PressedNavigatorButtons = TcxPCNavigatorButtons{b};
    if (!IsArrow(b)) return;
    ScrollTabs(ScrollDelta(b));
    if (!PressedNavigatorButtons.Contains(b)) return;
    if (!FScrollTimer) {
      FScrollTimer = new TTimer(nullptr);
      FScrollTimer->SetOnTimer([this](TObject* Sender) { ScrollTimerTick(Sender); });
    }
    FScrollTimer->SetEnabled(false);
    FScrollTimer->SetInterval(kFirstRepeatDelay);
    FScrollTimer->SetEnabled(true);
    return;
  }
  const int v = TabAtPoint(X, Y);
  if (v == -1 || !FVisibleTabList->GetTab(v)->RealEnabled()) return;
  if (FPainter->HasPressedTabs()) {
    PressedTab = v;
    FTabs->Changed(v, tckPressed);
    return;
  }
  ClickTab(v, Shift);
}

void TcxCustomTabControl::ClickTab(int VisibleIndex, TShiftState Shift) {
  TcxTab* tab = FVisibleTabList->GetTab(VisibleIndex);
  if (MultiSelected && FPainter->AllowsMultiSelection() && Shift.Contains(ssCtrl)) {
    if (VisibleIndex == SelectedVisibleIndex)
      ChangeTabIndex(-1);
    else
      tab->SetSelected(!tab->GetSelected());
    return;
  }
  ChangeTabIndex(tab->GetIndex());
}

void TcxCustomTabControl::StopScrollTimer() {
  if (FScrollTimer) FScrollTimer->SetEnabled(false);
}

void TcxCustomTabControl::ReleaseNavigatorButton(TcxPCNavigatorButton Button) {
  PressedNavigatorButtons = TcxPCNavigatorButtons();
  SetNavigatorButtonState(Button, nbsNormal);
}

void TcxCustomTabControl::ScrollTimerTick(TObject*) {
  TcxPCNavigatorButton b;
  const bool pressed = FirstMember(PressedNavigatorButtons, b);
  if (pressed && !IsPrimaryButtonDown()) {
    // The release happened outside the control.
    StopScrollTimer();
    ReleaseNavigatorButton(b);
    UpdateHotState(KeyboardStateToShiftState());
    return;
  }
  FScrollTimer->SetInterval(kRepeatInterval);
  if (pressed && IsArrow(b)) ScrollTabs(ScrollDelta(b));
  if (PressedNavigatorButtons.Empty()) StopScrollTimer();
}

void TcxCustomTabControl::MouseMove(TShiftState Shift, int X, int Y) {
  TcxControl::MouseMove(Shift, X, Y);
  if (FHideTabs || GoDialogShown) return;
  TcxPCNavigatorButton pressed;
  if (FirstMember(PressedNavigatorButtons, pressed)) {
    TcxPCNavigatorButton hit;
    if (!FPainter->GetNavigatorButtonAt(X, Y, hit) || hit != pressed) {
      StopScrollTimer();
      ReleaseNavigatorButton(pressed);
    }
  }
  if (PressedTab != -1 && TabAtPoint(X, Y) != PressedTab) {
    const int old = PressedTab;
    PressedTab = -1;
    FTabs->Changed(old, tckPressed);
  }
  UpdateHotState(Shift);
}

void TcxCustomTabControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || FHideTabs || GoDialogShown) return;
  TcxPCNavigatorButton b;
  if (FPainter->GetNavigatorButtonAt(X, Y, b)) {
    StopScrollTimer();
    if (NavigatorButtonStates[b] == nbsDisabled) return;
    if (b == nbGoDialog && PressedNavigatorButtons.Contains(b) && !IsDesigning()) return ShowGoDialog();
    if (NavigatorButtonStates[b] == nbsPressed) {
      ReleaseNavigatorButton(b);
      UpdateHotState(Shift);
    }
    return;
  }
  const int v = TabAtPoint(X, Y);
  if (v != -1 && FVisibleTabList->GetTab(v)->RealEnabled() && FPainter->HasPressedTabs() && v == PressedTab) {
    PressedTab = -1;
    FTabs->Changed(v, tckPressed);
    TcxControlGuard guard(this);
    ClickTab(v, Shift);
    if (!guard.Alive()) return;
  }
  UpdateHotState(Shift);
}

void TcxCustomTabControl::MouseLeave(TControl* AControl) {
  TcxControl::MouseLeave(AControl);
  if (!GoDialogShown) UpdateHotState(TShiftState());
}

bool TcxCustomTabControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (HandleWheel(WheelDelta < 0 ? 1 : -1, MousePos)) return true;
  return TcxControl::DoMouseWheel(Shift, WheelDelta, MousePos);
}

bool TcxCustomTabControl::HandleWheel(int Step, TPoint MousePos) {
  if (FMultiLine || FirstVisibleTab == -1 || FVisibleTabList->Count() == 0) return false;
  const TPoint p = ScreenToClient(MousePos);
  const TRect r = FVisibleTabList->GetTab(FirstVisibleTab)->GetFullRect();
  const bool onLine = IsHorizontalLine() ? p.y >= r.top && p.y < r.bottom : p.x >= r.left && p.x < r.right;
  if (!onLine) return false;
  ScrollTabs(Step);
  return true;
}

// ---- Keys ----

void TcxCustomTabControl::KeyDown(WORD& Key, TShiftState Shift) {
  TcxControl::KeyDown(Key, Shift);
  if (Key != 0 && NavigateByKey(Key, Shift)) Key = 0;
}

void TcxCustomTabControl::CMDialogKey(TMessage& Message) {
  const HWND focus = GetFocus();
  const bool focused = HandleAllocated() && (focus == FHandle || IsChild(FHandle, focus));
  if (focused && NavigateByKey(static_cast<WORD>(Message.WParam), KeyDataToShiftState(Message.LParam))) {
    Message.Result = 1;
    return;
  }
  TcxControl::WndProc(Message);
}

void TcxCustomTabControl::CMDialogChar(TMessage& Message) {
  if (SelectByAccelerator(static_cast<char>(Message.WParam))) {
    Message.Result = 1;
    return;
  }
  TcxControl::WndProc(Message);
}

bool TcxCustomTabControl::SelectByAccelerator(char Ch) {
  for (int i = 0; i < FTabs->GetCount(); ++i) {
    TcxTab* tab = FTabs->GetTab(i);
    if (!IsAccel(static_cast<BYTE>(Ch), tab->GetCaption()) || !tab->GetVisible() || !tab->RealEnabled() ||
        !CanFocus())
      continue;
    ChangeTabIndex(i);
    SetFocus();
    return true;
  }
  return false;
}

// The first enabled tab from Start in the direction Step; -1 when none.
int TcxCustomTabControl::FindEnabledTab(int Start, int Step, bool Wrap) {
  const int count = FVisibleTabList->Count();
  int v = Start;
  do {
    if (FVisibleTabList->GetTab(v)->RealEnabled()) return v;
    v += Step;
    if (v < 0 || v >= count) {
      if (!Wrap) return -1;
      v = v < 0 ? count - 1 : 0;
    }
  } while (v != Start);
  return -1;
}

void TcxCustomTabControl::MoveToTab(int VisibleIndex, bool Tracking) {
  if (VisibleIndex == -1) return;
  if (Tracking) return FTabs->SetTrackingTab(VisibleIndex);
  if (VisibleIndex != SelectedVisibleIndex) ChangeTabIndex(FVisibleTabList->GetTab(VisibleIndex)->GetIndex());
}

bool TcxCustomTabControl::StepByKey(int Step, bool Wrap, bool Tracking) {
  const int count = FVisibleTabList->Count();
  const int last = count - 1;
  int v;
  if (TrackingTab != -1)
    v = TrackingTab + Step;
  else if (SelectedVisibleIndex != -1)
    v = SelectedVisibleIndex + Step;
  else
    v = Step > 0 ? 0 : last;
  if (v < 0) {
    if (!Wrap) return true;
    v = last;
  } else if (v >= count) {
    if (!Wrap) return true;
    v = 0;
  }
  MoveToTab(FindEnabledTab(v, Step, Wrap), Tracking);
  return true;
}

bool TcxCustomTabControl::StartAtEnd(bool First, bool Tracking) {
  const int last = FVisibleTabList->Count() - 1;
  const bool reversed = IsReversedOrder();
  const int start = First != reversed ? 0 : last;
  const int step = First ? 1 : -1;
  MoveToTab(FindEnabledTab(start, reversed ? -step : step, false), Tracking);
  return true;
}

bool TcxCustomTabControl::NavigateByKey(WORD Key, TShiftState Shift) {
  if (FVisibleTabList->Count() == 0) return false;
  if (Shift == TShiftState{ssAlt} || Shift == TShiftState{ssShift, ssAlt}) return false;
  const int sign = IsReversedOrder() ? -1 : 1;
  const bool tracking = FPainter->HasPressedTabs();
  switch (Key) {
  case VK_TAB:
    if (!Shift.Contains(ssCtrl)) return false;
    return StepByKey(Shift.Contains(ssShift) ? -sign : sign, true, false);
  case VK_LEFT:
  case VK_UP:
    return StepByKey(-sign, false, tracking);
  case VK_RIGHT:
  case VK_DOWN:
    return StepByKey(sign, false, tracking);
  case VK_HOME:
    return StartAtEnd(true, tracking);
  case VK_END:
    return StartAtEnd(false, tracking);
  case VK_RETURN:
  case VK_SPACE:
    if (TrackingTab == -1) return false;
    ChangeTabIndex(FVisibleTabList->GetTab(TrackingTab)->GetIndex());
    return true;
  default:
    return false;
  }
}

// ---- Go dialog ----

void TcxCustomTabControl::ShowGoDialog() {
  GoDialogShown = true;
  FGoDialog->TabIndex = GetSelectedTabIndex();
  FGoDialog->FillList();
  FGoDialog->OnClosed = [this](TObject*) { GoDialogClosed(); };
  FGoDialog->Popup();
}

void TcxCustomTabControl::GoDialogClosed() {
  GoDialogShown = false;
  const int chosen = FGoDialog->TabIndex;
  FGoDialog->OnClosed = nullptr;
  ReleaseNavigatorButton(nbGoDialog);
  if (chosen != -1 && FTabs->GetTab(chosen)->RealEnabled()) ChangeTabIndex(chosen);
  UpdateHotState(KeyboardStateToShiftState());
}
