// A form whose bar manager a host designs, with a designer hook that records
// what the library told it.
#pragma once

#include "BarsTest.h"
#include "dxBarDesign.h"

#include <string>
#include <vector>

class RecordingDesignerHook : public TdxBarDesignerHook {
public:
  void DeleteComponent(TdxBarManager*, TComponent* Item) override {
    Log.push_back("delete " + Item->GetName());
    delete Item;
  }
  void SelectComponent(TdxBarManager*, TPersistent* Component) override {
    Selection = Component;
    auto* c = dynamic_cast<TComponent*>(Component);
    Log.push_back("select " + (c ? c->GetName() : std::string("?")));
  }
  TPersistent* GetSelection(TdxBarManager*) override { return Selection; }
  void EditComponent(TComponent* Item) override { Log.push_back("edit " + Item->GetName()); }
  String UniqueName(TdxBarManager*, const String& Base) override {
    return Base + std::to_string(++Names);
  }
  void Modified(TdxBarManager*) override { ++ModifiedCount; }

  std::vector<std::string> Log;
  TPersistent* Selection = nullptr;
  int Names = 0;
  int ModifiedCount = 0;
};

class DesignTest : public BarsTest {
protected:
  void SetUp() override { SetBarDesignerHook(&Hook); }
  void TearDown() override {
    Form.reset();
    SetBarDesignerHook(nullptr);
  }

  // The form and everything on it designed, then the manager built on it.
  TdxBarManager* BuildDesigned(TdxBarDefinition definition = [](TdxBarManager*) {}) {
    Form->SetDesigning(true);
    return Build(std::move(definition));
  }

  RecordingDesignerHook Hook;
};
