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

// Typing into the items Alpha, Beta and Bravo in each editing style: the
// typed letter takes the item's case and the rest of the item is selected;
// what no item continues is typed as free text and dropped otherwise.
TEST(TextEditLookup, CompletionInEachEditingStyle) {
  const struct {
    const char* name;
    TcxTextEditingStyle style;
    bool highlight;
    std::vector<TStep> steps;
  } cases[] = {
      {"free text",
       tesFreeText,
       true,
       {{'B', "Beta", 1, 3},
        {'R', "Bravo", 2, 3},
        {VK_BACK, "Beta", 1, 3},
        {VK_BACK, "", 0, 0},
        {'B', "Beta", 1, 3},
        {'X', "Bx", 2, 0},
        {VK_BACK, "B", 1, 0},
        {'R', "Bravo", 2, 3}}},
      {"match item",
       tesMatchItem,
       true,
       {{'B', "Beta", 1, 3},
        {'X', "Beta", 1, 3},
        {'R', "Bravo", 2, 3},
        {'X', "Bravo", 2, 3},
        {VK_DELETE, "Bravo", 2, 3},
        {VK_BACK, "Beta", 1, 3},
        {VK_BACK, "", 0, 0},
        {'X', "", 0, 0}}},
      {"list only",
       tesListOnly,
       true,
       {{'B', "Beta", 1, 3},
        {'X', "Beta", 1, 3},
        {'R', "Bravo", 2, 3},
        {'X', "Bravo", 2, 3},
        {VK_BACK, "Beta", 1, 3},
        {'A', "Beta", 1, 3}}},
      {"list only without highlight",
       tesListOnly,
       false,
       {{'B', "Beta", 1, 3}, {'A', "Alpha", 1, 4}, {VK_BACK, "Alpha", 1, 4}, {'X', "Alpha", 1, 4}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TTextEditForm f;
    f.edit->GetProperties()->SetListSelectionHighlight(c.highlight);
    ShowWithItems(f, c.style);
    RunSteps(f, c.steps);
  }
}

TEST(TextEditLookup, FreeTextKeepsWhatNoItemBegins) {
  TTextEditForm f;
  ShowWithItems(f, tesFreeText);
  TypeText("xy");
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() == "xy"; }));
  EXPECT_EQ(-1, f.edit->GetLookupData()->GetCurrentKey());
}

// A character from the input method completes as a typed one; meanwhile
// the selection reads as it was before the character, and writing it only
// changes that saved selection until the character has arrived.
TEST(TextEditLookup, AnInputMethodCharacterCompletesAsATypedOne) {
  TTextEditForm f;
  ShowWithItems(f, tesFreeText);
  auto* inner = static_cast<TcxCustomInnerTextEdit*>(f.Inner());
  SendMessageA(inner->GetHandle(), WM_IME_CHAR, 'b', 1);
  PumpUntil([&] { return f.edit->GetText() == "Beta"; }, 2000);
  EXPECT_EQ("Beta", f.edit->GetText());
  EXPECT_EQ(0, inner->GetImeCharCount());
  EXPECT_EQ(1, f.SelStart());
  EXPECT_EQ(3, f.SelLength());
  EXPECT_TRUE(f.edit->GetAutoCompleteSelection());
  // While the character is on its way, the selection written is kept aside.
  f.edit->SetText("xy");
  f.edit->SetSelection(2, 0);
  SendMessageA(inner->GetHandle(), WM_IME_CHAR, 'z', 1);
  ASSERT_EQ(1, inner->GetImeCharCount()) << "the character is still queued";
  IcxInnerTextEdit* face = f.edit->InnerTextEdit();
  face->SetSelStart(0);
  EXPECT_EQ(0, face->GetSelStart());
  EXPECT_EQ(2, inner->GetSelStart()) << "the window's caret stays";
  PumpUntil([&] { return inner->GetImeCharCount() == 0; }, 2000);
  EXPECT_EQ("xyz", f.edit->GetText());
}

TEST(TextEditLookup, SearchesFindTheFirstItemThatBeginsWithTheText) {
  TTextEditForm f;
  for (const char* item : {"Alpha", "alpine"})
    f.edit->GetProperties()->GetLookupItems()->Add(item);
  TcxCustomTextEditLookupData* data = f.edit->GetLookupData();
  const struct {
    TcxTextEditingStyle style;
    int start;
    String text;
    bool fromCurrent;
    bool found;
    String foundText;
    String tail;
    int key;
  } cases[] = {
      {tesFreeText, -1, "AL", false, true, "Al", "pha", 0},
      {tesFreeText, 0, "AL", true, true, "al", "pine", 1},
      {tesFreeText, 1, "AL", true, false, "AL", "", -1},
      {tesFreeText, 0, "alphabet", false, false, "alphabet", "", -1},
      {tesFreeText, 0, "", false, false, "", "", -1},
      {tesMatchItem, 1, "x", false, false, "x", "", 1},
      {tesMatchItem, 1, "", false, false, "", "", -1},
      {tesListOnly, 1, "", false, false, "", "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " from " + std::to_string(c.start));
    f.edit->Styled()->Style = c.style;
    data->SetCurrentKey(c.start);
    String text = c.text;
    String tail;
    EXPECT_EQ(c.found, data->Locate(text, tail, c.fromCurrent));
    EXPECT_EQ(c.foundText, text);
    EXPECT_EQ(c.tail, tail);
    EXPECT_EQ(c.key, data->GetCurrentKey());
  }
}

TEST(TextEditLookup, ChoosingTheCurrentItemAgainWritesOnlyWhatDiffers) {
  TTextEditForm f;
  ShowWithItems(f, tesFreeText);
  TcxCustomTextEditLookupData* data = f.edit->GetLookupData();
  int selected = 0;
  data->StoreOnSelectItem([&](TObject*) {
    ++selected;
    f.edit->LookupKeyChanged();
  });
  data->SelectItemByKey(1);
  EXPECT_EQ(1, selected);
  EXPECT_EQ("Beta", f.edit->GetText());
  data->SelectItemByKey(1);
  EXPECT_EQ(1, selected) << "the same text";
  f.edit->SetText("other");
  data->SelectItemByKey(1);
  EXPECT_EQ(2, selected) << "other text";
  EXPECT_EQ("Beta", f.edit->GetText());
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
