// The spin edit item: a numeric edit with up and down buttons beside its
// value, a range, an increment, integer or float values and a unit text.
#pragma once

#include "dxBarEdits.h"
#include "dxBarExtItems.h"

enum TdxBarSpinEditButton { sbNone, sbUp, sbDown };
enum TdxBarSpinEditPrefixPlace { ppStart, ppEnd };
enum TdxBarSpinEditValueType { svtInteger, svtFloat };
using TdxBarSpinEditButtonClickEvent = std::function<void(TObject* Sender, TdxBarSpinEditButton Button)>;

// The painters' spin and edit-button operations; each look draws its own.
namespace dxBarExtPainter {
// The frame of an edit's button; R ends one pixel in.
void DrawEditButtonFrame(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                         TRect& R, bool Pressed, bool Hot, bool Enabled);
// R shrinks to the buttons' area.
void DrawSpinButtonsFrame(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                          TRect& R);
// One button of the pair in R: sbUp above Split, sbDown below; the arrow
// Width wide, Offset in from the left.
void DrawSpinButton(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                    bool Pressed, TdxBarSpinEditButton PressedButton, TdxBarSpinEditButton Button, bool Hot,
                    int Split, int Offset, int Width, const TRect& R);
} // namespace dxBarExtPainter

class TdxBarSpinEdit : public TdxBarEdit {
public:
  explicit TdxBarSpinEdit(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  double GetIncrement() const { return FIncrement; }
  void SetIncrement(double Value);
  double GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value);
  double GetMinValue() const { return FMinValue; }
  void SetMinValue(double Value);
  const String& GetPrefix() const { return FPrefix; }
  void SetPrefix(const String& Value);
  TdxBarSpinEditPrefixPlace GetPrefixPlace() const { return FPrefixPlace; }
  void SetPrefixPlace(TdxBarSpinEditPrefixPlace Value);
  TdxBarSpinEditValueType GetValueType() const { return FValueType; }
  void SetValueType(TdxBarSpinEditValueType Value);
  // The value of Text.
  double GetValue() const { return TextToValue(GetText()); }
  void SetValue(double Value);
  // The value of the text being edited, else of Text.
  double GetCurValue() const { return TextToValue(GetCurText()); }
  void SetCurValue(double Value);

  // A text that is no number is refused; others are clamped and rewritten.
  void SetText(const String& Value) override;
  void DoKeyDown(WORD& Key, TShiftState Shift) override;
  void DoKeyPress(char& Key) override;
  void DoKeyUp(WORD& Key, TShiftState Shift) override;
  // The current value steps by the increment; then OnButtonClick.
  void ButtonClick(TdxBarSpinEditButton Button);

  // MinValue = MaxValue = 0: no range.
  bool IsRangeActive() const { return FMinValue != FMaxValue || FMinValue != 0; }
  double RoundValue(double Value) const;
  double ClampValue(double Value) const;
  // The prefix is dropped; a text that does not convert gives MinValue.
  double TextToValue(const String& Text) const;
  String ValueToText(double Value) const;

  TdxBarSpinEditButtonClickEvent OnButtonClick;

protected:
  String ClassName() const override { return "TdxBarSpinEdit"; }

private:
  class TdxBarSpinEditControl* FocusedSpinControl() const;
  bool TryConvert(const String& Text, double& Value) const;
  String RemovePrefix(const String& Text) const;
  double FIncrement = 1;
  double FMaxValue = 0;
  double FMinValue = 0;
  String FPrefix;
  TdxBarSpinEditPrefixPlace FPrefixPlace = ppEnd;
  TdxBarSpinEditValueType FValueType = svtInteger;
};

class TdxBarSpinEditControl : public TdxBarEditControl {
public:
  using TdxBarEditControl::TdxBarEditControl;
  ~TdxBarSpinEditControl() override;
  TdxBarSpinEdit* GetSpinEdit() const;
  TdxBarSpinEditButton GetPressedButton() const { return FPressedButton; }
  void SetPressedButton(TdxBarSpinEditButton Value);
  bool GetPressedLook() const { return FPressedLook; }
  void SetPressedLook(bool Value);
  // The buttons' rectangle in the bar window, empty when none is drawn.
  TRect GetButtonsRect() const { return FButtonsRect; }
  // The repeat timer running: 1 before the first repeat, 2 after; 0 none.
  UINT_PTR GetTimerId() const { return FTimerId; }
  // The button at a point of the in-place window.
  TdxBarSpinEditButton ButtonAt(POINT InPlacePoint) const;
  void Paint(const TRect& R, int PaintType) override;

  static constexpr UINT RepeatPeriod = 100;
  static UINT FirstRepeatDelay() { return GetDoubleClickTime() - 100; }

protected:
  void WndProc(TMessage& Message) override;

private:
  void StartTimer(UINT_PTR Id, UINT Period);
  void StopRepeat();
  TdxBarSpinEditButton FPressedButton = sbNone;
  bool FPressedLook = false;
  TRect FButtonsRect;
  UINT_PTR FTimerId = 0;
};
