// The designer hook's one global reference.
#include "dxBarDesign.h"

#include "dxBar.h"

namespace {
TdxBarDesignerHook* gBarDesignerHook = nullptr;
}

TdxBarDesignerHook* BarDesignerHook() { return gBarDesignerHook; }

void SetBarDesignerHook(TdxBarDesignerHook* Hook) { gBarDesignerHook = Hook; }

TdxBarDesignerHook* DesignerHookOf(TdxBarManager* BarManager) {
  return BarManager && BarManager->GetDesigning() ? gBarDesignerHook : nullptr;
}
