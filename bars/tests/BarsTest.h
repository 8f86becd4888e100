// A form with its bar manager, built as a form's bar definition builds it.
#pragma once

#include "dxBar.h"

#include "Forms.h"

#include <gtest/gtest.h>

#include <memory>

class BarsTest : public testing::Test {
protected:
  // Creates the form's manager with the definition (none: an empty one).
  TdxBarManager* Build(TdxBarDefinition definition = [](TdxBarManager*) {}) {
    Manager = CreateBarManager(Form.get(), std::move(definition));
    return Manager;
  }

  // A named button of category 0, with its caption.
  static TdxBarButton* AddButton(TdxBarManager* manager, const String& name,
                                 const String& caption = String()) {
    auto* button = new TdxBarButton(manager->GetOwnerForm());
    button->SetName(name);
    button->SetCategory(0);
    button->SetCaption(caption.empty() ? name : caption);
    return button;
  }

  static TdxBarItemLink* AddLink(TdxBarItemLinks* links, TdxBarItem* item, bool beginGroup = false) {
    TdxBarItemLink* link = links->Add();
    link->SetItem(item);
    link->SetBeginGroup(beginGroup);
    return link;
  }

  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = nullptr;
};
