// Bars on screen: a shown bar's window, docked in its dock or floating over
// its form, and the automatic docks along the form's sides.
#include "dxBar.h"

#include "Forms.h"

TdxDockControl* TdxBars::GetDockControl(TdxBarDockingStyle Style) {
  return Style == dsNone ? nullptr : FDockControls[Style - dsLeft];
}

void TdxBars::ForgetDockControl(TdxDockControl* DockControl) {
  for (TdxDockControl*& dock : FDockControls)
    if (dock == DockControl) dock = nullptr;
}

TdxBarControl* TdxBar::GetBarControl() const {
  return dynamic_cast<TdxBarControl*>(FItemLinks->GetBarControl());
}

TdxDockControl* TdxBar::GetEffectiveDockControl() const {
  if (FDockControl) return FDockControl;
  return GetBars()->GetDockControl(FDockingStyle);
}

namespace {

// A floating bar shows at once only over a form that the user works in.
bool ShowsFloatingAtOnce(TdxBarManager* manager) {
  TCustomForm* form = manager->GetOwnerForm();
  if (!form || !form->GetVisible()) return false;
  return !manager->HideFloatingBarsWhenInactive || manager->IsCustomizing() ||
         (form->HandleAllocated() && GetActiveWindow() == form->GetHandle());
}

void RefreshFrame(TWinControl* window) {
  if (window && window->HandleAllocated())
    SetWindowPos(window->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (window) window->Invalidate();
}

} // namespace

void TdxBar::ShowBarWindow() {
  TdxBarManager* manager = GetBarManager();
  if (GetBarControl()) return;
  if (GetDockingStyle() != dsNone) {
    // The dock's window, and with it the form's, comes first: the form's
    // creation may show or hide this bar (an MDI child is activated and its
    // menu merged into its parent's), which must not meet a half-made window.
    GetEffectiveDockControl()->HandleNeeded();
    if (!FVisible || GetBarControl()) return;
  }
  auto* window = new TdxBarControl(manager, this);
  // Placed by the program: the bar's place is not written back meanwhile.
  window->BeginUpdate();
  if (GetDockingStyle() != dsNone) {
    TdxDockControl* dock = GetEffectiveDockControl();
    window->SetDockingStyle(GetDockingStyle());
    window->SetParent(dock);
    dock->InsertBarControl(window, dock->ClientToScreen(TPoint(FDockedLeft, FDockedTop)), true);
    window->SetVisible(true);
    window->EndUpdate();
    return;
  }
  window->SetDockingStyle(dsNone);
  if (TCustomForm* form = manager->GetOwnerForm()) window->ParentWindow = form->GetHandle();
  const SIZE client = window->CalcSizeForWidth(dsNone, GetFloatValue(3));
  window->SetBounds(GetFloatValue(1), GetFloatValue(2), client.cx + window->GetBorderWidth(dsNone),
                    client.cy + window->GetBorderHeight(dsNone));
  if (ShowsFloatingAtOnce(manager)) window->SetVisible(true);
  window->EndUpdate();
}

void TdxBar::HideBarWindow() {
  TdxBarControl* window = GetBarControl();
  if (!window) return;
  // The links' window goes with its controls; the links stay.
  FFreeingWindow = true;
  try {
    delete window;
  } catch (...) {
    FFreeingWindow = false;
    throw;
  }
  FFreeingWindow = false;
}

void TdxBar::BarControlHandleDestroyed() {
  TdxBarManager* manager = GetBarManager();
  TdxBarControl* window = GetBarControl();
  TCustomForm* form = manager->GetOwnerForm();
  if (!window || window->IsUpdateLocked() || FFreeingWindow || !FVisible || manager->IsDestroying() ||
      (form && form->IsDestroying()))
    return;
  // The bar shows again once the windows are made anew: its form's
  // (automatic docks and floating bars) or its placed dock's.
  manager->AddPendingBar(this);
  window->StorePosition();
  // The window's object cannot go while its handle is being destroyed: it
  // leaves its dock and links and is freed later.
  window->DestroyControls();
  if (TdxDockControl* dock = window->GetDockControl()) dock->RemoveBarControl(window, false);
  FItemLinks->SetBarControl(nullptr);
  manager->ReleaseBarControl(window);
  FVisible = false;
  HiddenAutomatically = false;
  if (manager->OnBarVisibleChange) manager->OnBarVisibleChange(manager, this);
}

void TdxBarControl::StorePosition() {
  TdxBar* bar = GetBar();
  TdxBarManager* manager = GetBarManager();
  if (!bar->GetVisible() || IsMoving() || manager->IsDestroying()) return;
  // Only what differs is written: an unchanged place is no change of the bar.
  auto store = [&](int old, int value, auto set) {
    if (old != value) set(value);
  };
  if (GetDockingStyle() == dsNone) {
    const int values[4] = {GetLeft(), GetTop(), GetClientWidth(), GetClientHeight()};
    for (int i = 1; i <= 4; ++i)
      store(bar->GetFloatValue(i), values[i - 1], [&](int v) { bar->SetFloatValue(i, v); });
    return;
  }
  TdxDockControl* dock = GetDockControl();
  if (bar->GetDockedDockingStyle() != GetDockingStyle()) bar->SetDockedDockingStyle(GetDockingStyle());
  auto* placed = dynamic_cast<TdxBarDockControl*>(dock);
  if (bar->GetDockedDockControl() != placed) bar->SetDockedDockControl(placed);
  for (int r = 0; dock && r < dock->GetRowCount(); ++r) {
    const auto& cols = dock->GetRow(r).Cols;
    for (const TdxDockCol& col : cols)
      if (col.BarControl == this) {
        store(bar->GetRow(), r, [&](int v) { bar->SetRow(v); });
        bar->OneOnRow = cols.size() == 1;
      }
  }
  store(bar->GetDockedLeft(), GetLeft(), [&](int v) { bar->SetDockedLeft(v); });
  store(bar->GetDockedTop(), GetTop(), [&](int v) { bar->SetDockedTop(v); });
}

// ---- Status bars ----

bool TdxBar::IsSizeGripVisible() const {
  if (!IsStatusBar() || !SizeGrip) return false;
  TCustomForm* form = GetBarManager()->GetOwnerForm();
  if (form &&
      (form->GetWindowState() == wsMaximized || (form->HandleAllocated() && IsZoomed(form->GetHandle()))))
    return false;
  TdxBarControl* window = GetBarControl();
  if (!window || !window->HandleAllocated()) return true;
  // Only bottom edges count, up to the form.
  for (HWND wnd = window->GetHandle(); GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD;) {
    HWND parent = GetParent(wnd);
    if (!parent) break;
    RECT r, client;
    GetWindowRect(wnd, &r);
    ::GetClientRect(parent, &client);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (r.bottom != client.bottom) return false;
    wnd = parent;
  }
  return true;
}

void TdxBar::SetBorderStyle(TdxBarBorderStyle Value) {
  if (Value == BorderStyle) return;
  BorderStyle = Value;
  RefreshFrame(GetBarControl());
}

void TdxBar::SetSizeGrip(bool Value) {
  if (Value == SizeGrip) return;
  SizeGrip = Value;
  if (IsStatusBar()) RefreshFrame(GetBarControl());
}

void TdxBar::SetUseRestSpace(bool Value) {
  if (Value == UseRestSpace) return;
  UseRestSpace = Value;
  if (TdxBarControl* window = GetBarControl()) {
    window->Rebuild();
    if (TdxDockControl* dock = window->GetDockControl()) dock->Realign();
  }
}
