// Completion against lookup items and navigation through them.
#include "TextEditTest.h"

#include <gtest/gtest.h>

namespace {

using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;
using guitest::TypeText;

// After each key: the text and the selected completion behind the caret.
struct TStep {
  WORD key;
  String text;
  int selStart;
  int selLength;
};

void RunSteps(TTextEditForm& f, const std::vector<TStep>& steps) {
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.text);
    const String before = f.edit->GetText();
    PressKey(step.key);
    PumpUntil([&] { return f.edit->GetText() != before; }, 500);
    PumpFor(20);
    EXPECT_EQ(step.text, f.edit->GetText());
    EXPECT_EQ(step.selStart, f.SelStart());
    EXPECT_EQ(step.selLength, f.SelLength());
  }
}

void ShowWithItems(TTextEditForm& f, TcxTextEditingStyle AStyle) {
  f.edit->Styled()->Style = AStyle;
  TStrings* items = f.edit->GetProperties()->GetLookupItems();
  for (const char* item : {"Alpha", "Beta", "Bravo"})
    items->Add(item);
  f.Show();
  f.Focus();
}

TEST(TextEditLookup, FreeTextCompletesWhatIsTypedAndBackspaceShortensThePrefix) {
  TTextEditForm f;
  ShowWithItems(f, tesFreeText);
  RunSteps(f, {{'B', "Beta", 1, 3}, {'R', "Bravo", 2, 3}, {VK_BACK, "Beta", 1, 3}, {VK_BACK, "", 0, 0}});
  // Text that is no item stays as typed.
  TypeText("xy");
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() == "xy"; }));
  EXPECT_EQ(-1, f.edit->GetLookupData()->GetCurrentKey());
}

TEST(TextEditLookup, NavigationFollowsTheTableWithAndWithoutWrap) {
  TTextEditForm f;
  ShowWithItems(f, tesFreeText);
  TcxCustomTextEditLookupData* data = f.edit->GetLookupData();
  const struct {
    int start;
    TcxEditLookupDirection direction;
    bool wrap;
    int target;
  } cases[] = {
      {1, ldFirst, false, 0},     {1, ldLast, false, 2},     {2, ldNext, false, 2},
      {2, ldNext, true, 0},       {0, ldPrevious, false, 0}, {0, ldPrevious, true, 2},
      {-1, ldPageUp, false, -1},  {-1, ldPageUp, true, 2},   {1, ldPageUp, false, 0},
      {-1, ldPageDown, false, 2}, {2, ldPageDown, true, 0},
  };
  for (const auto& c : cases) {
    data->SetCurrentKey(c.start);
    data->NavigateLookupItems(c.direction, c.wrap);
    EXPECT_EQ(c.target, data->GetCurrentKey()) << c.start << " " << c.direction << " " << c.wrap;
  }
  // Choosing an item writes its text.
  data->SelectItemByKey(1);
  EXPECT_EQ("Beta", f.edit->GetText());
}

} // namespace
