// The spin edit item: a numeric edit with up and down buttons beside its
// value, a range, an increment, integer or float values and a unit text.
#pragma once

#include "dxBarEdits.h"
#include "dxBarExtItems.h"

#include "Forms.h"

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

// ---- The control container ----

class TdxBarControlContainerControl;

// The borderless window a container item lays over its place on a bar; the
// hosted control stands in it.
class TPlaceForm : public TCustomForm {
public:
  explicit TPlaceForm(TComponent* AOwner);
  // The control whose place the window fills now, none.
  TdxBarControlContainerControl* ItemControl = nullptr;

protected:
  // A child window of the bar window it is parented to.
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  String ClassName() const override { return "TPlaceForm"; }
};

// Places a control of the application's form on bars.
class TdxBarControlContainerItem : public TdxBarItem {
public:
  explicit TdxBarControlContainerItem(TComponent* AOwner);
  ~TdxBarControlContainerItem() override;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  TControl* GetControl() const { return FControl; }
  // A control another container item of the manager hosts is refused.
  void SetControl(TControl* Value);
  TPlaceForm* GetPlaceForm() const { return FPlaceForm.get(); }
  bool CanClick() const override { return false; }
  bool IsHiddenInCustomizing() const override { return true; }
  bool AcceptsAccelerator(const TdxBarItemLink*) const override { return false; }
  // The host window leaves the bar window of Control.
  void HideControl(TdxBarControlContainerControl* Control);
  // Every bar window with a link of the item lays out anew.
  void LayoutChanged();
  bool Placing = false;
  // Without a control the placeholder shows the new name.
  void SetName(const String& Value) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TdxBarControlContainerItem"; }

private:
  void HookedWndProc(TMessage& Message);
  TControl* FControl = nullptr;
  std::unique_ptr<TPlaceForm> FPlaceForm;
  TWndMethod FPrevWndProc;
  int FLastWidth = 0, FLastHeight = 0;
};

class TdxBarControlContainerControl : public TdxBarItemControl {
public:
  using TdxBarItemControl::TdxBarItemControl;
  ~TdxBarControlContainerControl() override;
  TdxBarControlContainerItem* GetContainer() const;
  // Not on a quick-customization list, a control set and not designing.
  bool ShowsRealControl() const;
  bool IsClickable() const override { return OnQuickList(); }
  bool ClosesMenusOnClick() const override { return OnQuickList(); }
  bool TracksPress() const override { return OnQuickList(); }
  bool IsSelectable() const override;
  int GetHeight() override;
  int GetWidth() override;
  void Paint(const TRect& R, int PaintType) override;
  // Before the hosted control or the bar window goes: the host with the
  // control's window leaves the bar.
  void ReleaseControl() override;

private:
  bool OnQuickList() const;
  bool Designing() const;
  void PlaceControl();
  void PaintPlaceholder(HDC DC, const TRect& R);
};
