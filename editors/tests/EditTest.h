// Test descendants of the editor model: properties that compare, validate
// and revert values; an editor that records its button events and shows a
// settable display text; and a host-made in-place editor.
#pragma once

#include "cxEdit.h"

#include "Forms.h"
#include "GuiTest.h"

#include <memory>
#include <vector>

class TTestProperties : public TcxCustomEditProperties {
public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  bool Validates = true;
  bool Compares = true;
  bool Resets = true;
  int ChangedCount = 0;
  bool CanValidate() const override { return Validates; }
  bool CompareEditValues() const override { return Compares; }
  bool CanResetEditValue() const override { return Resets; }
  void Changed() override {
    if (!IsChangedLocked()) ++ChangedCount;
    TcxCustomEditProperties::Changed();
  }
};

// Properties of another kind, for repository items an editor refuses.
class TOtherProperties : public TcxCustomEditProperties {
public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
};

class TTestRepositoryItem : public TcxEditRepositoryItem {
public:
  using TcxEditRepositoryItem::TcxEditRepositoryItem;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override {
    return std::make_unique<TTestProperties>(this);
  }
  TTestProperties* Props() { return static_cast<TTestProperties*>(GetProperties()); }
};

class TOtherRepositoryItem : public TcxEditRepositoryItem {
public:
  using TcxEditRepositoryItem::TcxEditRepositoryItem;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override {
    return std::make_unique<TOtherProperties>(this);
  }
};

class TTestEdit : public TcxCustomEdit {
public:
  explicit TTestEdit(TComponent* AOwner) : TcxCustomEdit(AOwner) {}
  TTestProperties* Props() const { return static_cast<TTestProperties*>(GetProperties()); }
  std::vector<String> Log;
  String DisplayText;
  int SelectAllCount = 0;

  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override {
    return std::make_unique<TTestProperties>(this);
  }
  bool CanAcceptRepositoryItem(TcxEditRepositoryItem* AItem) override {
    return !AItem || dynamic_cast<TTestProperties*>(AItem->GetProperties()) != nullptr;
  }
  int Applied = 0;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override {
    ++Applied;
    TcxCustomEdit::ApplyPropertiesChange(AProperties);
  }
  void GetDisplayText(String& Text) override { Text = DisplayText; }
  void SelectAll() override { ++SelectAllCount; }
  void DoButtonDown(int AIndex) override { Log.push_back("down " + std::to_string(AIndex)); }
  void DoButtonUp(int AIndex) override { Log.push_back("up " + std::to_string(AIndex)); }
  void DoButtonClick(int AIndex) override {
    Log.push_back("click " + std::to_string(AIndex));
    TcxCustomEdit::DoButtonClick(AIndex);
  }
  // A value changed by the user, as typing would.
  void UserSetValue(const Variant& Value) {
    SetUserChange(true);
    SetEditValue(Value);
    SetUserChange(false);
  }
  using TcxCustomEdit::HandleEditExit;
  using TcxCustomEdit::KeyDown;
};

// The one host of in-place editors: it marks an editor of any kind in place.
template <typename TEditClass> class TInplaceEditor : public TEditClass {
public:
  explicit TInplaceEditor(TComponent* AOwner) : TEditClass(AOwner) {
    this->SetAutoSize(false);
    this->SetIsInplace(true);
  }
};

using TTestInplaceEdit = TInplaceEditor<TTestEdit>;

// A form with an editor between two standard edits.
struct TEditForm {
  explicit TEditForm(bool AShow = true) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 360, 240);
    form->SetColor(clSilver);
    before = new TEdit(form.get());
    before->SetParent(form.get());
    before->SetBounds(10, 10, 120, 21);
    edit = new TTestEdit(form.get());
    edit->SetAutoSize(false);
    edit->SetBounds(10, 50, 200, 24);
    edit->SetParent(form.get());
    edit->AfterConstruction();
    after = new TEdit(form.get());
    after->SetParent(form.get());
    after->SetBounds(10, 140, 120, 21);
    if (!AShow) return;
    form->Show();
    form->Update();
    guitest::PumpFor(20);
  }
  std::unique_ptr<TForm> form;
  TEdit* before;
  TTestEdit* edit;
  TEdit* after;
};
