// The customizing dialog's module state and the entry points through which
// the rest of the toolbar library opens, closes and tells the dialog.
#include "dxBar.h"

namespace {

bool gRegistered = false;

} // namespace

void RegisterBarCustomizingForm() {
  gRegistered = true;
}

void UnregisterBarCustomizingForm() {
  gRegistered = false;
}

bool IsBarCustomizingFormRegistered() {
  return gRegistered;
}

TdxBarCustomizingForm* ActiveCustomizingForm() {
  return nullptr;
}

void ShowCustomizingForm(TdxBarManager*, bool) {}
void CustomizingFormHelpButtonChanged() {}
void CustomizingFormStyleChanged() {}
void CustomizingFormOptionsChanged() {}
void CustomizingFormBarChanged(TdxBar*) {}
void CustomizingFormBarRemoved(TdxBar*) {}
void CustomizingFormRefreshCommands() {}
void CustomizingFormSelectItem(TdxBarItem*, bool) {}
void CustomizingFormItemsChanged() {}
void CustomizingFormItemChanged(TdxBarItem*) {}
void CustomizingFormItemNameChanged() {}
void CustomizingFormGroupsChanged() {}
void CustomizingFormGroupItemsChanged() {}
