// The spin button of the options dialog: an up and a down button that go on
// clicking while held.
#pragma once

#include "Buttons.h"
#include "ExtCtrls.h"

enum TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = TSet<TTimeBtnStateItem>;

class TTimerSpeedButton : public TSpeedButton {
public:
  using TSpeedButton::TSpeedButton;
  TTimeBtnState TimeBtnState;
  // None before the first press.
  TTimer* GetRepeatTimer() const { return FRepeatTimer; }

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;
  String ClassName() const override { return "TTimerSpeedButton"; }

private:
  void TimerExpired();
  TTimer* FRepeatTimer = nullptr;
};

class TSpinButton : public TWinControl {
public:
  explicit TSpinButton(TComponent* AOwner);
  TTimerSpeedButton* GetUpButton() const { return FUpButton; }
  TTimerSpeedButton* GetDownButton() const { return FDownButton; }
  TTimerSpeedButton* GetFocusedButton() const { return FFocusedButton; }
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* value);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;
  void WndProc(TMessage& Message) override;

protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TSpinButton"; }

private:
  TTimerSpeedButton* NewButton(const char* glyph);
  void Arrange();
  void SetFocusBtn(TTimerSpeedButton* button);
  void BtnMouseDown(TObject* Sender, TMouseButton Button);
  void BtnClick(TObject* Sender);

  TTimerSpeedButton* FUpButton = nullptr;
  TTimerSpeedButton* FDownButton = nullptr;
  TTimerSpeedButton* FFocusedButton = nullptr;
  TWinControl* FFocusControl = nullptr;
};
