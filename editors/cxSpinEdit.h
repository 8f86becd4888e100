// The spin edit: a numeric text editor with spin buttons (backward and
// forward, optionally two fast ones), laid out vertically or horizontally.
// A press on a button, an arrow or page key or the wheel steps the value by
// an increment within the bounds; a held button repeats after 400 ms and
// then every 100 ms.
#pragma once

#include "cxMaskEdit.h"

class TTimer;

enum TcxSpinEditButtonsPosition { sbpHorzLeftRight, sbpHorzRight, sbpVert };
enum TcxSpinEditValueType { vtInt, vtFloat };
// Button indices and step kinds alike: 0 and 2 subtract, 1 and 3 add; 2 and
// 3 use the large increment.
enum TcxSpinEditButton { sebBackward, sebForward, sebFastBackward, sebFastForward };

// Theme parts of the Spin class.
constexpr int SPNP_UP = 1;
constexpr int SPNP_DOWN = 2;
constexpr int SPNP_UPHORZ = 3;
constexpr int SPNP_DOWNHORZ = 4;

class TcxSpinEditViewInfo : public TcxCustomTextEditViewInfo {
public:
  int ArrowSize = 0;
  TcxSpinEditButtonsPosition ButtonsPosition = sbpVert;
  // The line between themed buttons, in the background colour.
  TPoint DelimiterLine[2];

  void DrawButtonBorder(TcxCanvas* ACanvas, int AIndex, const TRect& ARect,
                        TcxEditButtonStyle AStyle) override;
  void DrawButtonContent(TcxCanvas* ACanvas, int AIndex, TColor ABackColor, TColor AArrowColor,
                         const TRect& ARect) override;
  void InternalPaint(TcxCanvas* ACanvas) override;
};

class TcxCustomSpinEditProperties;

class TcxSpinEditViewData : public TcxCustomTextEditViewData {
public:
  using TcxCustomTextEditViewData::TcxCustomTextEditViewData;
  // 0 none, else the step kind + 1 of a key that spins: that button is drawn
  // pressed and the mouse presses none.
  int KeyboardPressed = 0;

  bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AIndex) override;
  bool IsButtonPressed(TcxCustomEditViewInfo* AViewInfo, int AIndex) override;
  void CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& ARect,
                             int AIndex) override;
  void InitButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& ARect,
                          int AIndex) override;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void InitButtonNativeInfo(TcxEditButtonViewInfo*) override {}

protected:
  String ClassName() const override { return "TcxSpinEditViewData"; }

private:
  void PlaceButtons(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, const TRect& R);
  TcxCustomSpinEditProperties* SpinProperties() const;
};

class TcxSpinEditButtons : public TPersistent {
public:
  explicit TcxSpinEditButtons(TcxCustomSpinEditProperties* AOwner) : FOwner(AOwner) {}
  void Assign(const TPersistent* Source) override;
  TcxSpinEditButtonsPosition GetPosition() const { return FPosition; }
  void SetPosition(TcxSpinEditButtonsPosition Value);
  bool GetShowFastButtons() const { return FShowFastButtons; }
  void SetShowFastButtons(bool Value);

protected:
  String ClassName() const override { return "TcxSpinEditButtons"; }

private:
  TcxCustomSpinEditProperties* FOwner;
  TcxSpinEditButtonsPosition FPosition = sbpVert;
  bool FShowFastButtons = false;
};

class TcxSpinEditPropertiesValues : public TcxTextEditPropertiesValues {
public:
  void Assign(const TPersistent* Source) override;
  void RestoreDefaults() override;
  bool ValueType = false;

protected:
  String ClassName() const override { return "TcxSpinEditPropertiesValues"; }
};

class TcxCustomSpinEditProperties : public TcxCustomMaskEditProperties {
public:
  explicit TcxCustomSpinEditProperties(TPersistent* AOwner);
  ~TcxCustomSpinEditProperties() override;

  void Assign(const TPersistent* Source) override;
  bool GetCanEdit() const { return FCanEdit; }
  void SetCanEdit(bool Value);
  double GetIncrement() const { return FIncrement; }
  void SetIncrement(double Value);
  double GetLargeIncrement() const { return FLargeIncrement; }
  void SetLargeIncrement(double Value);
  TcxSpinEditButtons* GetSpinButtons() const { return FSpinButtons.get(); }
  void SetSpinButtons(const TcxSpinEditButtons* Value) { FSpinButtons->Assign(Value); }
  bool UseCtrlIncrement = false;
  TcxSpinEditValueType GetValueType() const;
  void SetValueType(TcxSpinEditValueType Value);
  bool IsValueTypeStored() const { return GetSpinAssignedValues()->ValueType; }
  bool HasBounds() const { return GetMaxValue() != GetMinValue(); }
  // The fast buttons come and go with ShowFastButtons.
  void UpdateFastButtons();

  // Parses typed text: vtFloat with the locale's decimal separator, vtInt
  // as a whole decimal integer; EConvertError for anything else.
  double TextToNumber(const String& AText) const;
  // The normalised text of a number: 15 significant digits, or the rounded
  // integer for vtInt.
  String NumberToText(double AValue) const;
  // The number as a variant of the value type.
  Variant NumberToValue(double AValue) const;
  // MinValue, truncated for vtInt.
  double GetMinNumber() const;

  virtual bool ChecksNumericText() const { return true; }
  virtual bool KeepsSelectionOnStep() const { return false; }

  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  std::unique_ptr<TcxCustomEditPropertiesValues> CreateAssignedValues() const override;
  bool UsesValueBounds() const override { return true; }
  bool IsEditValueValid(Variant& EditValue, bool AEditFocused) override;
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;
  void ValidateDisplayValue(Variant& DisplayValue, String& ErrorText, TcxCustomEdit* Edit,
                            bool& Error) override;
  bool IsDisplayValueValid(Variant& DisplayValue, bool AEditFocused) override;
  void GetEmptyDisplayValue(Variant& Value) override;

protected:
  String ClassName() const override { return "TcxCustomSpinEditProperties"; }

private:
  TcxSpinEditPropertiesValues* GetSpinAssignedValues() const {
    return static_cast<TcxSpinEditPropertiesValues*>(GetAssignedValues());
  }
  bool FCanEdit = true;
  double FIncrement = 1.0;
  double FLargeIncrement = 10.0;
  std::unique_ptr<TcxSpinEditButtons> FSpinButtons;
  TcxSpinEditValueType FValueType = vtFloat;
};

class TcxSpinEditProperties : public TcxCustomSpinEditProperties {
public:
  using TcxCustomSpinEditProperties::TcxCustomSpinEditProperties;

protected:
  String ClassName() const override { return "TcxSpinEditProperties"; }
};

class TcxCustomSpinEdit : public TcxCustomMaskEdit {
public:
  explicit TcxCustomSpinEdit(TComponent* AOwner);
  ~TcxCustomSpinEdit() override;

  TcxCustomSpinEditProperties* GetActiveProperties() const {
    return static_cast<TcxCustomSpinEditProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomSpinEditProperties* GetProperties() const {
    return static_cast<TcxCustomSpinEditProperties*>(TcxCustomEdit::GetProperties());
  }
  int GetKeyboardPressed() const { return FKeyboardPressed; }
  bool IsSpinning() const { return FTimer != nullptr || FKeyboardPressed != 0; }

  virtual bool StepClampsToBounds() { return true; }
  virtual double GetIncrement(TcxSpinEditButton AKind);
  virtual Variant GetValue();
  virtual void SetValue(const Variant& Value);
  virtual bool DoStep(TcxSpinEditButton AKind);

  void ClampValueToBounds() override;
  void HandleEditKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleEditKeyPress(char& Key) override;
  void HandleEditKeyUp(WORD& Key, TShiftState Shift) override;
  bool IsCharAllowed(char Ch) override;
  void DoButtonDown(int AIndex) override;
  void MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void InitializeViewData(TcxCustomEditViewData* AViewData) override;
  bool UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent) override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  TcxContainerStyleValues GetHiddenStyleValues() const override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;

protected:
  void FocusChanged() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  String ClassName() const override { return "TcxCustomSpinEdit"; }

private:
  void StopSpinning();
  void TimerTick();
  bool IsSpinKey(WORD Key, TShiftState Shift) const;
  double NumberOf(const Variant& AValue);
  // The stepped number, or false when the step does nothing.
  bool SteppedNumber(TcxSpinEditButton AKind, double& AResult);
  void ApplyStep(double AValue, bool& AChanged);

  int FKeyboardPressed = 0;
  TTimer* FTimer = nullptr;
};

class TcxSpinEdit : public TcxCustomSpinEdit {
public:
  using TcxCustomSpinEdit::TcxCustomSpinEdit;
  TcxSpinEditProperties* GetProperties() const {
    return static_cast<TcxSpinEditProperties*>(TcxCustomSpinEdit::GetProperties());
  }
  // Ignored while a repository item gives the settings.
  void SetProperties(const TcxSpinEditProperties* Value) {
    if (!GetRepositoryItem()) GetProperties()->Assign(Value);
  }

protected:
  String ClassName() const override { return "TcxSpinEdit"; }
};

void cxSpinEditInitialize();
void cxSpinEditFinalize();
