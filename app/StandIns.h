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

// Stands for the combo box whose item list lives in its properties; its text
// stays free to type.
class TStandInComboBox;

class TStandInComboBoxProperties {
public:
  explicit TStandInComboBoxProperties(TStandInComboBox* combo) : FCombo(combo) {}
  // The combo box's own items: clearing them leaves the text as it is.
  TStrings* GetItems();

private:
  TStandInComboBox* FCombo;
};

class TStandInComboBox : public TComboBox {
public:
  explicit TStandInComboBox(TComponent* AOwner) : TComboBox(AOwner), FProperties(this) {}
  TStandInComboBoxProperties* GetProperties() { return &FProperties; }
  // Raises the click event only when the current item actually changes.
  void SetItemIndex(int Index);

protected:
  String ClassName() const override { return "TStandInComboBox"; }

private:
  TStandInComboBoxProperties FProperties;
};

// Stands for a large button of the button bar.
class TStandInLargeButton : public TSpeedButton {
public:
  explicit TStandInLargeButton(TComponent* AOwner);
  void SetImages(TCustomImageList* images, int imageIndex);

protected:
  String ClassName() const override { return "TStandInLargeButton"; }
};
