// Bars on screen: a shown bar's window, docked in its dock or floating over
// its form, and the automatic docks along the form's sides.
#include "dxBar.h"

#include "Forms.h"

TdxDockControl* TdxBars::GetDockControl(TdxBarDockingStyle Style) {
  if (Style == dsNone) return nullptr;
  TdxDockControl*& dock = FDockControls[Style - dsLeft];
  if (!dock) {
    dock = new TdxDockControl(FBarManager, FBarManager, Style);
    dock->SetParent(FBarManager->GetOwnerForm());
  }
  return dock;
}

TdxBarControl* TdxBar::GetBarControl() const {
  return dynamic_cast<TdxBarControl*>(FItemLinks->GetBarControl());
}

TdxDockControl* TdxBar::GetEffectiveDockControl() const {
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

} // namespace

void TdxBar::ShowBarWindow() {
  TdxBarManager* manager = GetBarManager();
  if (GetBarControl()) return;
  auto* window = new TdxBarControl(manager, this);
  if (FDockingStyle != dsNone) {
    TdxDockControl* dock = GetEffectiveDockControl();
    window->SetDockingStyle(FDockingStyle);
    window->SetParent(dock);
    dock->InsertBarControl(window, dock->ClientToScreen(TPoint(FDockedLeft, FDockedTop)), true);
    window->SetVisible(true);
    return;
  }
  window->SetDockingStyle(dsNone);
  if (TCustomForm* form = manager->GetOwnerForm()) window->ParentWindow = form->GetHandle();
  const SIZE client = window->CalcSizeForWidth(dsNone, GetFloatValue(3));
  window->SetBounds(GetFloatValue(1), GetFloatValue(2), client.cx + window->GetBorderWidth(dsNone),
                    client.cy + window->GetBorderHeight(dsNone));
  if (ShowsFloatingAtOnce(manager)) window->SetVisible(true);
}

void TdxBar::HideBarWindow() {
  // The links' window goes with its controls; the links stay.
  delete GetBarControl();
}
