// Until the program's own control libraries are built, its windows use
// adapters in their place. Each one offers exactly what the windows call on
// the component it stands for, under the same member names, so the windows'
// code stays as it will be.
#pragma once

#include "dxBar.h"

// Stands for a large button of the button bar: a bar button that shows its
// caption beside its action's glyph, drawn by the button control.
class TStandInLargeButton : public TdxBarButton {
public:
  explicit TStandInLargeButton(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

protected:
  String ClassName() const override { return "TStandInLargeButton"; }
};
