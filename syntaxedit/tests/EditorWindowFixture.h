// Test support: an editor window on a shown form, with its text set and read
// in the rows' form (line ends as CR).
#pragma once

#include "GuiTest.h"
#include "SyntaxMemo.h"

#include <gtest/gtest.h>

#include <memory>

class EditorWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(20, 20, 560, 360);
    Memo = new TSyntaxMemo(Form.get());
    Memo->SetParent(Form.get());
    Memo->SetBounds(0, 0, 520, 300);
    Form->Show();
    ASSERT_TRUE(guitest::PumpUntil([&] { return Memo->IsShowing(); }));
    Memo->SetFocus();
  }

  void SetText(const String& text) {
    Memo->GetLines()->SetTextStr(text);
    guitest::PumpFor(20);
  }
  String Text() { return Memo->GetModel().GetText(0); }
  std::pair<int, int> Selection() {
    auto [a, c] = Memo->GetModel().GetSelection();
    return {std::min(a, c), std::max(a, c)};
  }

  std::unique_ptr<TForm> Form;
  TSyntaxMemo* Memo = nullptr;
};
