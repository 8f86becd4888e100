// Drop-down editors on a form between two standard edits, driven by real
// input: the popup opened and closed, its rows and frame read back.
#pragma once

#include "cxDropDownEdit.h"

#include "Forms.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <memory>

template <typename TEditClass> struct TDropDownForm {
  explicit TDropDownForm(int ATop = 50, int AWidth = 160) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 400, 300);
    form->SetColor(clSilver);
    before = new TEdit(form.get());
    before->SetParent(form.get());
    before->SetBounds(10, 10, 120, 21);
    edit = new TEditClass(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, ATop, AWidth, 21);
    edit->AfterConstruction();
  }
  void Show() {
    form->Show();
    form->Update();
    guitest::PumpFor(20);
  }
  void Focus() {
    edit->SetFocus();
    guitest::PumpUntil([this] { return edit->IsFocused(); }, 2000);
  }
  bool WaitOpen(bool AOpen = true) {
    return guitest::PumpUntil([this, AOpen] { return edit->HasPopupWindow() == AOpen; }, 3000);
  }
  TcxCustomEditPopupWindow* Popup() const { return edit->GetPopupWindow(); }
  // The centre of the drop-down button in the edit's client coordinates.
  TPoint ButtonCentre() const {
    const TRect& r = edit->GetViewInfo()->ButtonsInfo[0]->Bounds;
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void ClickButton() {
    const TPoint p = ButtonCentre();
    guitest::ClickAt(edit->GetHandle(), p.x, p.y);
  }
  std::unique_ptr<TForm> form;
  TEdit* before;
  TEditClass* edit;
};
