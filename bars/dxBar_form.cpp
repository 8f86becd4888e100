// The manager's side of its form: the form's messages reach the manager
// before the form's window procedure (through the hooks), and the floating
// bars follow the form's activation, state and work area.
#include "dxBar.h"
#include "dxBarCustForm.h"

#include "dxBarCommon.h"

#include "Forms.h"

#include <algorithm>

namespace {

// The form as the user sees it: shown, not minimized.
bool IsFormMinimized(TCustomForm* form) {
  return form->GetWindowState() == wsMinimized || (form->HandleAllocated() && IsIconic(form->GetHandle()));
}

template <typename F> void ForEachFloatingWindow(TdxBars* bars, F&& Visit) {
  for (int i = 0; i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    if (bar->GetVisible() && bar->GetDockingStyle() == dsNone)
      if (TdxBarControl* window = bar->GetBarControl()) Visit(bar, window);
  }
}

} // namespace

// ---- The form's messages ----

void TdxBarManager::FormMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TCustomForm* form = GetOwnerForm();
  // While the form goes, only its layout is stored.
  if (!form || form->IsDestroying()) {
    if (form && Msg == WM_DESTROY && !GetDesigning()) {
      if (StoreInRegistry) SaveToRegistry(RegistryPath);
      if (StoreInIniFile) SaveToIniFile(IniFileName);
    }
    return;
  }
  switch (Msg) {
  case WM_CREATE:
    ShowPendingBars();
    break;
  case WM_ACTIVATE: {
    const HWND other = reinterpret_cast<HWND>(LParam);
    auto* window = dynamic_cast<TCustomdxBarControl*>(FindControl(other));
    if (LOWORD(WParam) == WA_INACTIVE && window && window->GetBarManager() == this) break;
    FormActive = LOWORD(WParam) != WA_INACTIVE;
    UpdateFloatingBars(FormActive, false, other);
    break;
  }
  case WM_MDIACTIVATE:
    if (form->GetFormStyle() != fsMDIChild) break;
    FormActive = reinterpret_cast<HWND>(LParam) == form->GetHandle();
    UpdateFloatingBars(FormActive, false, nullptr);
    break;
  case WM_ACTIVATEAPP:
    if (WParam) break;
    FormActive = false;
    UpdateFloatingBars(false, false, nullptr);
    if (SelectedItemControl) {
      TCustomdxBarControl* window = SelectedItemControl->GetBarControl();
      if (window->HandleAllocated()) SendMessageA(window->GetHandle(), WM_MOUSELEAVE, 0, 0);
      SelectedItemControl = nullptr;
    }
    break;
  case WM_WINDOWPOSCHANGING:
    if (reinterpret_cast<const WINDOWPOS*>(LParam)->flags & SWP_HIDEWINDOW) {
      FormActive = false;
      UpdateFloatingBars(false, true, nullptr);
    }
    break;
  case WM_WINDOWPOSCHANGED:
    if (TdxBarCustomizingForm* dialog = ActiveCustomizingForm(); dialog && dialog->GetBarManager() == this)
      dialog->OwnerWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(LParam));
    break;
  case WM_SYSCOLORCHANGE:
    ReadScreenBitsPerPixel();
    CreateCheckerBrush();
    SysColorsChanged();
    if (form->GetFormStyle() == fsMDIForm)
      for (int i = 0; i < form->GetMDIChildCount(); ++i)
        if (TdxBarManager* child = GetBarManagerOfForm(form->GetMDIChildren(i))) child->FormMessage(Msg, WParam, LParam);
    break;
  case WM_SETTINGCHANGE:
    if (WParam == SPI_SETNONCLIENTMETRICS) ReadSystemFont();
    if (WParam == SPI_SETWORKAREA) FloatingBarsInWorkArea();
    break;
  case WM_DISPLAYCHANGE:
    FloatingBarsInWorkArea();
    break;
  case WM_SYSCOMMAND:
    SystemCommand(WParam);
    break;
  case WM_HELP:
    // The class library has no help system: a help request only closes
    // the bar windows.
    if (reinterpret_cast<const HELPINFO*>(LParam)->iContextType == HELPINFO_WINDOW) DeactivateAll();
    break;
  }
}

void TdxBarManager::SystemCommand(WPARAM Command) {
  switch (Command) {
  case SC_MINIMIZE:
  case SC_CLOSE:
    ForEachFloatingWindow(FBars.get(), [](TdxBar*, TdxBarControl* window) {
      if (IsWindowVisible(window->GetHandle())) window->SetVisible(false);
    });
    break;
  case SC_MAXIMIZE:
  case SC_RESTORE:
    ForEachFloatingWindow(FBars.get(), [](TdxBar*, TdxBarControl* window) {
      window->SetVisible(true);
      window->Update();
    });
    break;
  }
}

void TdxBarManager::UpdateFloatingBars(bool Active, bool Force, HWND OtherWindow) {
  if (FUpdatingFloatingBars) return;
  FUpdatingFloatingBars = true;
  try {
    TCustomForm* form = GetOwnerForm();
    if (!HideFloatingBarsWhenInactive && !Force)
      ForEachFloatingWindow(FBars.get(), [](TdxBar*, TdxBarControl* window) {
        if (window->HandleAllocated())
          SetWindowPos(window->GetHandle(), nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      });
    if (Active) {
      if (!IsFormMinimized(form))
        ForEachFloatingWindow(FBars.get(), [](TdxBar*, TdxBarControl* window) { window->SetVisible(true); });
    } else if (!(OtherWindow && form->HandleAllocated() && GetParent(OtherWindow) == form->GetHandle())) {
      if (TCustomdxBarControl* active = ActiveBarControl(); active && active->GetBarManager() == this)
        active->Deactivate();
      if (HideFloatingBarsWhenInactive || Force) {
        DWORD process = 0;
        if (OtherWindow) GetWindowThreadProcessId(OtherWindow, &process);
        const bool ownWindow = OtherWindow && process == GetCurrentProcessId() &&
                               OtherWindow != Application->GetHandle() &&
                               !dynamic_cast<TCustomForm*>(FindControl(OtherWindow));
        if (!ownWindow) HideFloatingBars();
      }
    }
  } catch (...) {
    FUpdatingFloatingBars = false;
    throw;
  }
  FUpdatingFloatingBars = false;
}

void TdxBarManager::HideFloatingBars() {
  ForEachFloatingWindow(FBars.get(), [](TdxBar*, TdxBarControl* window) { window->SetVisible(false); });
  TCustomForm* form = GetOwnerForm();
  if (form->HandleAllocated()) SendMessageA(form->GetHandle(), WM_NCACTIVATE, FALSE, 0);
}

void TdxBarManager::SetHideFloatingBarsWhenInactive(bool Value) {
  if (Value == HideFloatingBarsWhenInactive) return;
  HideFloatingBarsWhenInactive = Value;
  UpdateFloatingBars(FormActive || !Value, false, nullptr);
}

void TdxBarManager::FloatingBarsInWorkArea() {
  TCustomForm* form = GetOwnerForm();
  const TRect bounds = form->GetBoundsRect();
  const TRect work =
      GetWorkAreaAtPoint(POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2});
  const TdxBarItemControlPainterClass painter = GetPainterClass();
  for (int i = 0; i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    if (bar->GetDockingStyle() != dsNone) continue;
    TdxBarControl* window = bar->GetBarControl();
    TRect r = window ? window->GetBoundsRect()
                     : Bounds(bar->GetFloatValue(1), bar->GetFloatValue(2),
                              bar->GetFloatValue(3) + 2 * painter->GetFloatingBorderWidth() +
                                  2 * painter->GetFloatingFrameSideWidth(),
                              bar->GetFloatValue(4) + 2 * painter->GetFloatingBorderHeight() +
                                  painter->GetFloatingCaptionHeight() + painter->GetFloatingFrameTopHeight() +
                                  painter->GetFloatingFrameBottomHeight());
    if (r.bottom > work.bottom) OffsetRect(&r, 0, work.bottom - r.bottom);
    if (r.top < work.top) OffsetRect(&r, 0, work.top - r.top);
    if (r.right > work.right) OffsetRect(&r, work.right - r.right, 0);
    if (r.left < work.left) OffsetRect(&r, work.left - r.left, 0);
    if (window) {
      window->SetBounds(r.left, r.top, r.Width(), r.Height());
    } else {
      bar->SetFloatValue(1, r.left);
      bar->SetFloatValue(2, r.top);
    }
  }
}

void TdxBarManager::DeactivateAll() {
  if (TCustomdxBarControl* active = ActiveBarControl()) active->Deactivate();
}

void TdxBarManager::RepaintBars() {
  for (TdxDockControl* dock : FDockControls)
    dock->Invalidate();
  for (int i = 0; i < FBars->GetCount(); ++i)
    if (TdxBarControl* window = FBars->GetItem(i)->GetBarControl()) window->RefreshFrameAndInvalidate();
}

// ---- Bars whose windows went with the form's ----

void TdxBarManager::StartPendingBars() {
  if (!FPendingBars) FPendingBars = std::make_unique<std::vector<TdxBar*>>();
}

void TdxBarManager::AddPendingBar(TdxBar* ABar) {
  StartPendingBars();
  if (!IsPendingBar(ABar)) FPendingBars->push_back(ABar);
}

bool TdxBarManager::IsPendingBar(const TdxBar* ABar) const {
  return FPendingBars && std::find(FPendingBars->begin(), FPendingBars->end(), ABar) != FPendingBars->end();
}

void TdxBarManager::ReleaseBarControl(TdxBarControl* BarControl) {
  BarControl->SetVisible(false);
  FReleasedBarControls.push_back(BarControl);
  // Its parent may free it first (a placed dock going with its form).
  BarControl->FreeNotification(this);
}

void TdxBarManager::FreeReleasedBarControls() {
  std::vector<TdxBarControl*> windows;
  windows.swap(FReleasedBarControls);
  for (TdxBarControl* window : windows)
    delete window;
}

void TdxBarManager::ShowPendingBars() {
  FreeReleasedBarControls();
  if (!FPendingBars) return;
  for (TdxDockControl* dock : FDockControls)
    dock->HandleNeeded();
  std::unique_ptr<std::vector<TdxBar*>> bars = std::move(FPendingBars);
  for (auto it = bars->rbegin(); it != bars->rend(); ++it)
    (*it)->SetVisible(true);
}

void TdxBarManager::RemovePendingBar(TdxBar* ABar) {
  if (FPendingBars)
    FPendingBars->erase(std::remove(FPendingBars->begin(), FPendingBars->end(), ABar), FPendingBars->end());
}

void TdxBarManager::SetSunkenBorder(bool Value) {
  if (Value == FSunkenBorder) return;
  FSunkenBorder = Value;
  for (TdxDockControl* dock : FDockControls)
    dock->RecreateFrame();
}
