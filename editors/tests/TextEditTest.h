// Text edits on a form between two standard edits, typed into by real
// input; settings whose editing style a test chooses.
#pragma once

#include "cxTextEdit.h"

#include "ActnList.h"
#include "Forms.h"
#include "GuiTest.h"
#include "Menus.h"
#include "StdCtrls.h"

#include <memory>
#include <utility>
#include <vector>

// Shows nothing; records whom it was shown for.
struct TRecordingPopupMenu : TPopupMenu {
  using TPopupMenu::TPopupMenu;
  void Popup(int, int) override { shownFor.push_back(GetPopupComponent()); }
  std::vector<TComponent*> shownFor;
};

// A data binding that takes one action and records what it was offered.
class TActionBinding : public TcxEditDataBinding {
public:
  using TcxEditDataBinding::TcxEditDataBinding;
  bool ExecuteAction(TBasicAction* Action) override {
    executed.push_back(Action);
    return Action == taken;
  }
  bool UpdateAction(TBasicAction* Action) override {
    updated.push_back(Action);
    return Action == taken;
  }
  TBasicAction* taken = nullptr;
  std::vector<TBasicAction*> executed, updated;
};

// An edit list box that records the state each row is drawn in.
class TRecordingListBox : public TcxCustomEditListBox {
public:
  using TcxCustomEditListBox::TcxCustomEditListBox;
  std::vector<std::pair<int, TOwnerDrawState>> Drawn;
  bool DrawItemByEvent(int Index, const TRect&, TOwnerDrawState State) override {
    Drawn.emplace_back(Index, State);
    return false;
  }
};

// Lookup data with a list, as the drop-down editors have.
class TListLookupData : public TcxCustomTextEditLookupData {
public:
  using TcxCustomTextEditLookupData::TcxCustomTextEditLookupData;
  TcxCustomEditListBox* CreateListBox(TComponent* AOwner) override { return new TRecordingListBox(AOwner); }
};

class TStyledTextProperties : public TcxTextEditProperties {
public:
  using TcxTextEditProperties::TcxTextEditProperties;
  TcxTextEditingStyle Style = tesFreeText;
  TcxTextEditingStyle GetEditingStyle() const override { return Style; }
  std::unique_ptr<TcxCustomTextEditLookupData> CreateLookupData(TcxCustomTextEdit* AEdit) const override {
    return std::make_unique<TListLookupData>(AEdit);
  }
};

// A text edit whose settings take an editing style, whose lookup items may
// navigate by keys, and whose lookup data can show a list.
class TStyledTextEdit : public TcxTextEdit {
public:
  using TcxTextEdit::TcxTextEdit;
  bool Navigates = false;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override {
    return std::make_unique<TStyledTextProperties>(this);
  }
  bool CanChangeLookupItem(bool) override { return Navigates; }
  TStyledTextProperties* Styled() const { return static_cast<TStyledTextProperties*>(GetProperties()); }
};

// An editor of the given class on a form between two standard edits.
template <typename TEditClass> struct TEditFormOf {
  explicit TEditFormOf(int AWidth = 160) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 360, 200);
    form->SetColor(clSilver);
    before = new TEdit(form.get());
    before->SetParent(form.get());
    before->SetBounds(10, 10, 120, 21);
    edit = new TEditClass(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 50, AWidth, 21);
    edit->AfterConstruction();
    after = new TEdit(form.get());
    after->SetParent(form.get());
    after->SetBounds(10, 120, 120, 21);
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
  TWinControl* Inner() const { return edit->GetInnerEdit()->GetControl(); }
  int SelStart() const { return edit->InnerTextEdit()->GetSelStart(); }
  int SelLength() const { return edit->InnerTextEdit()->GetSelLength(); }
  std::unique_ptr<TForm> form;
  TEdit* before;
  TEditClass* edit;
  TEdit* after;
};

using TTextEditForm = TEditFormOf<TStyledTextEdit>;
