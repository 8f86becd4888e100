// A list box with a check box on each item.
#pragma once

#include "StdCtrls.h"

class TCheckListBox : public TCustomListBox {
public:
  explicit TCheckListBox(TComponent* AOwner);
  bool GetChecked(int index) const { return GetState(index) == cbChecked; }
  void SetChecked(int index, bool value) { SetState(index, value ? cbChecked : cbUnchecked); }
  TCheckBoxState GetState(int index) const;
  void SetState(int index, TCheckBoxState value);
  bool GetItemEnabled(int index) const;
  void SetItemEnabled(int index, bool value);
  bool AllowGrayed = false;
  // After the user changed a box by mouse or space.
  TNotifyEvent OnClickCheck;
  void WndProc(TMessage& Message) override;

protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  virtual void ClickCheck();
  String ClassName() const override { return "TCheckListBox"; }

private:
  int CheckWidth() const;
  void ToggleClickCheck(int index);
  void InvalidateCheck(int index);
};
