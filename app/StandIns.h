// Until the program's own control libraries are built, its windows use the
// class library's standard controls through these adapters. Each one offers
// exactly what the windows call on the control it stands for, under the same
// member names, so the windows' code stays as it will be.
#pragma once

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"

#include <functional>

class TCustomImageList;

// Stands for a large button of the button bar.
class TStandInLargeButton : public TSpeedButton {
public:
  explicit TStandInLargeButton(TComponent* AOwner);
  void SetImages(TCustomImageList* images, int imageIndex);

protected:
  String ClassName() const override { return "TStandInLargeButton"; }
};
