// The stand-in for the font-name combo box of the options dialog, built on
// the class library's standard control. It offers what the dialog calls on
// the control it stands for, under the same names.
#pragma once

#include "StdCtrls.h"

// Stands for the font-name combo box: its item list holds the names of the
// system's font families, sorted, and is complete once the box is made.
class TStandInFontNameComboBox;

class TStandInFontNameComboBoxProperties {
public:
  explicit TStandInFontNameComboBoxProperties(TStandInFontNameComboBox* combo) : FCombo(combo) {}
  TStrings* GetItems();

private:
  TStandInFontNameComboBox* FCombo;
};

class TStandInFontNameComboBox : public TComboBox {
public:
  explicit TStandInFontNameComboBox(TComponent* AOwner);
  TStandInFontNameComboBoxProperties* GetProperties() { return &FProperties; }
  // Selects the font with that index (-1: none).
  void SetItemIndex(int Index);

protected:
  String ClassName() const override { return "TStandInFontNameComboBox"; }

private:
  TStandInFontNameComboBoxProperties FProperties;
};
