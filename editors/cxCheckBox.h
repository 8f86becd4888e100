// The check box: an editor whose edit value is any variant and whose display
// value is a check state. Three configurable values map the edit value to
// the states; the control draws a check mark beside a caption and toggles
// on a click, Space and its accelerator. It has no inner window: the
// container paints everything through the shared check-box routine.
#pragma once

#include "cxTextEdit.h"

enum TcxCheckBoxState : int { cbsUnchecked, cbsChecked, cbsGrayed };
enum TcxCheckBoxNullValueShowingStyle { nssUnchecked, nssInactive, nssGrayedChecked };

// Check button states of the box.
constexpr int cbsNormalState = 0;
constexpr int cbsHotState = 1;
constexpr int cbsPressedState = 2;
constexpr int cbsDisabledState = 3;

class TcxCustomCheckBoxViewInfo : public TcxCustomTextEditViewInfo {
public:
  // taCenter: no caption and no focus rectangle.
  TAlignment Alignment = taLeftJustify;
  // 1 single, 2 thick, 3 flat, 4 3-D, 5 ultra flat.
  TcxContainerBorderStyle CheckBorderStyle = cbsFlat;
  TBitmap* Glyph = nullptr;
  int GlyphCount = 0;
  TRect CheckRect;
  int CheckButtonState = cbsNormalState;
  TRect FocusRect;
  bool FullFocusRect = false;
  bool HasGlyph = false;
  TcxCheckBoxNullValueShowingStyle NullStyle = nssGrayedChecked;
  TcxCheckBoxState State = cbsUnchecked;
  int CheckNativeState = 0;
  bool ParentBackground = false;

  void InternalPaint(TcxCanvas* ACanvas) override;
  void PaintText(TcxCanvas* ACanvas) override;
  void Assign(const TcxContainerViewInfo* Source) override;
  std::unique_ptr<TcxRegion> GetUpdateRegion(const TcxContainerViewInfo* APrev) override;
  void Offset(int DX, int DY) override;
  // A check box shows no hint for a caption that does not fit.
  void GetHintText(int X, int Y, String& AText) override;
  bool RepaintChanged(TWinControl* AControl, const TcxCustomEditViewInfo* APrev,
                      const TRect* AInnerRect) override;

private:
  bool CheckLooksAs(const TcxCustomEditViewInfo* APrev) const;
};

class TcxCustomCheckBox;

class TcxCustomCheckBoxViewData : public TcxCustomEditViewData {
public:
  using TcxCustomEditViewData::TcxCustomEditViewData;
  // The caption's flags in the canvas text-flag word.
  int GetDrawTextFlags() const;

  TcxContainerBorderStyle GetEditContainerBorderStyle(int) const override { return cbsNone; }
  void CalculateFixedPartSize(TcxCanvas* ACanvas, bool AIsInplace, SIZE& AFixedSize,
                              TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize) override;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;

protected:
  String ClassName() const override { return "TcxCustomCheckBoxViewData"; }

private:
  void LayOut(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo);
  int CheckButtonState(const TPoint& P, int Button, TShiftState Shift, int APrevState) const;
  TcxCustomCheckBox* CheckBox() const;
};

class TcxCustomCheckBoxProperties : public TcxCustomEditProperties {
public:
  explicit TcxCustomCheckBoxProperties(TPersistent* AOwner);
  ~TcxCustomCheckBoxProperties() override;

  void Assign(const TPersistent* Source) override;

  bool AllowGrayed = false;
  String DisplayChecked;
  String DisplayGrayed;
  String DisplayUnchecked;

  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool IsCaptionAssigned() const { return FCaptionAssigned; }
  bool GetFullFocusRect() const { return FFullFocusRect; }
  void SetFullFocusRect(bool Value);
  // Made empty at the first read.
  TBitmap* GetGlyph();
  bool HasGlyphObject() const { return FGlyph != nullptr; }
  // Copies the bitmap; nil frees the own one.
  void SetGlyph(const TBitmap* Value);
  int GetGlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TcxCheckBoxNullValueShowingStyle GetNullStyle() const { return FNullStyle; }
  void SetNullStyle(TcxCheckBoxNullValueShowingStyle Value);
  const Variant& GetValueChecked() const { return FValueChecked; }
  // A Null value or one equal to any state's value is ignored.
  void SetValueChecked(const Variant& Value);
  const Variant& GetValueGrayed() const { return FValueGrayed; }
  // A value equal to any state's value is ignored; Null is allowed.
  void SetValueGrayed(const Variant& Value);
  const Variant& GetValueUnchecked() const { return FValueUnchecked; }
  void SetValueUnchecked(const Variant& Value);

  TcxCheckBoxState StateOf(const Variant& EditValue) const;
  Variant ValueOf(TcxCheckBoxState AState) const;

  bool CompareEditValues() const override { return true; }
  bool ChangeFiredByInnerEdit() const override { return true; }
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditStyle> CreateStyle(TPersistent* AOwner, bool AIsInternal) const override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) override;
  int GetCapabilities() const override { return 85; }
  bool IsEditValueValid(Variant& EditValue, bool AEditFocused) override;
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;

protected:
  String ClassName() const override { return "TcxCustomCheckBoxProperties"; }

private:
  friend class TcxCustomCheckBox;
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  bool EqualsAnyValue(const Variant& Value) const;
  void StoreValue(Variant& AField, const Variant& Value);

  String FCaption;
  bool FCaptionAssigned = false;
  bool FFullFocusRect = false;
  std::unique_ptr<TBitmap> FGlyph;
  int FGlyphCount = 6;
  bool FMultiLine = false;
  TcxCheckBoxNullValueShowingStyle FNullStyle = nssGrayedChecked;
  Variant FValueChecked = true;
  Variant FValueGrayed = Null();
  Variant FValueUnchecked = false;
};

class TcxCheckBoxProperties : public TcxCustomCheckBoxProperties {
public:
  using TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties;

protected:
  String ClassName() const override { return "TcxCheckBoxProperties"; }
};

// The default colour is the parent's; restoring the defaults gives the
// check box its parent's colour again.
class TcxCheckBoxStyle : public TcxCustomEditStyle {
public:
  using TcxCustomEditStyle::TcxCustomEditStyle;
  TColor GetDefaultColor() const override;
  void RestoreDefaults() override;

protected:
  String ClassName() const override { return "TcxCheckBoxStyle"; }
};

// The parent's colour of the style's editor, clWindow without one; and the
// editor given its parent's colour again unless the style's controller
// assigns a colour. Styles of editors that take their parent's colour
// share them.
TColor EditParentColor(const TcxCustomEditStyle* AStyle);
void RestoreEditParentColor(const TcxCustomEditStyle* AStyle);

class TcxCustomCheckBox : public TcxCustomEdit {
public:
  explicit TcxCustomCheckBox(TComponent* AOwner);

  TcxCustomCheckBoxProperties* GetProperties() const {
    return static_cast<TcxCustomCheckBoxProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomCheckBoxProperties* GetActiveProperties() const {
    return static_cast<TcxCustomCheckBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomCheckBoxViewInfo* GetViewInfo() const {
    return static_cast<TcxCustomCheckBoxViewInfo*>(TcxCustomEdit::GetViewInfo());
  }
  TcxCheckBoxState GetState();
  void SetState(TcxCheckBoxState Value);
  bool GetChecked() { return GetState() == cbsChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbsChecked : cbsUnchecked); }
  // Space is held down over the control.
  bool IsSpacePressed() const { return FSpacePressed; }

  // The user's change to the next state, asked of OnEditing first.
  virtual void Toggle();

  void SetName(const String& NewName) override;
  TcxContainerStyleValues GetHiddenStyleValues() const override;
  void HandleEditKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleEditKeyPress(char& Key) override;
  void HandleEditKeyUp(WORD& Key, TShiftState Shift) override;
  void GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) override;
  void StoreEditValue(const Variant& Value, bool AValidate) override;
  bool CanClickWhileLoading() override;
  void ButtonStatesChanged(const TcxCustomEditViewInfo* APrevViewInfo) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void ClearContent() override { SetChecked(false); }
  bool CanAcceptRepositoryItem(TcxEditRepositoryItem* AItem) override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  void MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  void WndProc(TMessage& Message) override;

protected:
  void Paint() override;
  String ClassName() const override { return "TcxCustomCheckBox"; }

private:
  void CMDialogChar(TMessage& Message);

  bool FSpacePressed = false;
};

class TcxCheckBox : public TcxCustomCheckBox {
public:
  using TcxCustomCheckBox::TcxCustomCheckBox;

protected:
  String ClassName() const override { return "TcxCheckBox"; }
};

void cxCheckBoxInitialize();
void cxCheckBoxFinalize();
