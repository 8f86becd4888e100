// The button edit: a masked text editor with embedded buttons. A click on
// one, or ClickKey for the default one, reaches Properties.OnButtonClick
// with the button's index.
#pragma once

#include "cxMaskEdit.h"

class TcxCustomButtonEditProperties : public TcxCustomMaskEditProperties {
public:
  // One ellipsis button.
  explicit TcxCustomButtonEditProperties(TPersistent* AOwner);
  TcxClassRef GetContainerClass() const override;

protected:
  String ClassName() const override { return "TcxCustomButtonEditProperties"; }
};

class TcxButtonEditProperties : public TcxCustomButtonEditProperties {
public:
  using TcxCustomButtonEditProperties::TcxCustomButtonEditProperties;

protected:
  String ClassName() const override { return "TcxButtonEditProperties"; }
};

class TcxCustomButtonEdit : public TcxCustomMaskEdit {
public:
  using TcxCustomMaskEdit::TcxCustomMaskEdit;
  TcxCustomButtonEditProperties* GetActiveProperties() const {
    return static_cast<TcxCustomButtonEditProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  TcxContainerStyleValues GetHiddenStyleValues() const override;

protected:
  String ClassName() const override { return "TcxCustomButtonEdit"; }
};

class TcxButtonEdit : public TcxCustomButtonEdit {
public:
  using TcxCustomButtonEdit::TcxCustomButtonEdit;
  TcxButtonEditProperties* GetProperties() const {
    return static_cast<TcxButtonEditProperties*>(TcxCustomButtonEdit::GetProperties());
  }
  // Ignored while a repository item gives the settings.
  void SetProperties(const TcxButtonEditProperties* Value) {
    if (!GetRepositoryItem()) GetProperties()->Assign(Value);
  }

protected:
  String ClassName() const override { return "TcxButtonEdit"; }
};

void cxButtonEditInitialize();
