// Stand-ins for the spin editor and the font-name combo box of the options
// dialog, built on the class library's standard controls. Each offers what
// the dialog calls on the control it stands for, under the same names.
#pragma once

#include "StdCtrls.h"
#include "Variants.h"

// Stands for the spin editor: an edit with an up-down control at its right
// end. Its value is the integer in its text; while the text is no integer
// the value is the one set or confirmed last, and leaving the editor shows
// that value again, as the editor's validation does.
class TStandInSpinEdit : public TCustomControl {
public:
  explicit TStandInSpinEdit(TComponent* AOwner);
  Variant GetValue() const;
  void SetValue(const Variant& Value);
  void SetFocus() override;

protected:
  void AlignControls(TControl* AControl, TRect& Rect) override;
  String ClassName() const override { return "TStandInSpinEdit"; }

private:
  void Validate();
  TEdit* FEdit = nullptr;
  TWinControl* FUpDown = nullptr;
  int FValue = 0;
};

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
