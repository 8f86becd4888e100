// The check list box: item states and the edit value's bit mask, sorted
// items that keep their rows, toggles by click, Space and double click with
// disabled items left alone, and the rows drawn in each look with the
// visual style on and off.
#include "cxCheckListBox.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

struct TListForm {
  explicit TListForm(const TLook& ALook = kLooks[0]) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 360, 260);
    form->SetColor(clBtnFace);
    form->GetFont()->SetName("Tahoma");
    list = new TcxCheckListBox(form.get());
    list->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
    list->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
    list->SetBounds(8, 8, 200, 200);
    list->SetParent(form.get());
    list->OnClickCheck = [this](TObject*, int AIndex, TcxCheckBoxState, TcxCheckBoxState ANew) {
      clicks.push_back({AIndex, ANew});
    };
  }
  TcxCheckListBoxItem* Add(const char* AText, TcxCheckBoxState AState = cbsUnchecked) {
    TcxCheckListBoxItem* item = list->GetItems()->Add();
    item->SetText(AText);
    item->SetState(AState);
    return item;
  }
  void Show() {
    form->Show();
    form->Update();
    guitest::PumpFor(30);
  }
  TcxCustomInnerCheckListBox* Inner() const { return list->GetInnerCheckListBox(); }
  TcxCheckBoxState State(int AIndex) const { return list->GetItems()->GetItem(AIndex)->GetState(); }
  TPoint CheckCenter(int AIndex) const {
    const TRect row = Inner()->ItemRect(AIndex);
    return TPoint(row.left + 1 + 6, (row.top + row.bottom) / 2);
  }
  TPoint TextPoint(int AIndex) const {
    const TRect row = Inner()->ItemRect(AIndex);
    return TPoint(row.left + 40, (row.top + row.bottom) / 2);
  }
  std::unique_ptr<TForm> form;
  TcxCheckListBox* list;
  struct Click {
    int index;
    TcxCheckBoxState state;
    bool operator==(const Click&) const = default;
  };
  std::vector<Click> clicks;
};

// ---- Items and the edit value ----

TEST(CheckListBox, CheckedFollowsTheStates) {
  TListForm f;
  TcxCheckListBoxItem* item = f.Add("a");
  const struct {
    TcxCheckBoxState before;
    bool checked;
    TcxCheckBoxState after;
  } kCases[] = {{cbsChecked, true, cbsChecked},
                {cbsGrayed, true, cbsChecked},
                {cbsGrayed, false, cbsUnchecked},
                {cbsUnchecked, false, cbsUnchecked}};
  for (const auto& c : kCases) {
    item->SetState(c.before);
    item->SetChecked(c.checked);
    EXPECT_EQ(c.after, item->GetState()) << c.before << " " << c.checked;
  }
}

TEST(CheckListBox, TheEditValueIsTheMaskOfTheCheckedItems) {
  TListForm f;
  for (const char* text : {"a", "b", "c", "d"})
    f.Add(text);
  f.list->GetItems()->GetItem(0)->SetChecked(true);
  f.list->GetItems()->GetItem(2)->SetChecked(true);
  EXPECT_EQ(Variant(5), f.list->GetEditValue());
  const struct {
    Variant value;
    Variant stored;
    TcxCheckBoxState states[4];
  } kCases[] = {
      {Variant(6), Variant(6), {cbsUnchecked, cbsChecked, cbsChecked, cbsUnchecked}},
      {Variant("3"), Variant("3"), {cbsChecked, cbsChecked, cbsUnchecked, cbsUnchecked}},
      {Variant("x"), Variant(0), {cbsUnchecked, cbsUnchecked, cbsUnchecked, cbsUnchecked}},
      {Variant("-"), Variant(0), {cbsUnchecked, cbsUnchecked, cbsUnchecked, cbsUnchecked}},
      {Variant(9.0), Variant(9.0), {cbsChecked, cbsUnchecked, cbsUnchecked, cbsChecked}},
  };
  int changes = 0;
  f.list->OnEditValueChanged = [&](TObject*) { ++changes; };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value.AsString());
    f.list->SetEditValue(c.value);
    EXPECT_EQ(c.stored, f.list->GetEditValue());
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(c.states[i], f.State(i)) << i;
  }
  EXPECT_EQ(5, changes);
  // Grayed allowed, the value is stored and the states stay.
  f.list->SetAllowGrayed(true);
  f.list->SetEditValue(Variant(6));
  EXPECT_EQ(Variant(6), f.list->GetEditValue());
  EXPECT_EQ(cbsChecked, f.State(0));
}

TEST(CheckListBox, ItemsPastTheIntegerLimitDoNotStayChecked) {
  TListForm f;
  for (int i = 0; i < 40; ++i)
    f.Add(Format("t%02d", i).c_str());
  f.list->GetItems()->GetItem(35)->SetChecked(true);
  EXPECT_EQ(cbsUnchecked, f.State(35)) << "its bit passes the limit";
  f.list->GetItems()->GetItem(30)->SetChecked(true);
  EXPECT_EQ(cbsChecked, f.State(30));
  EXPECT_EQ(int64_t{1} << 30, f.list->GetCheckedMask(2147483647));
}

// An item whose text is set takes its place in text order, its row with it.
TEST(CheckListBox, SortedItemsKeepTheirRowsAndStates) {
  TListForm f;
  f.list->SetAllowGrayed(true);
  f.list->SetSorted(true);
  TcxCheckListBoxItem* b = f.Add("b", cbsGrayed);
  TcxCheckListBoxItem* a = f.Add("A", cbsChecked);
  f.Add("c");
  f.Show();
  struct Step {
    const char* renameA;
    const char* rows[3];
  };
  for (Step step : {Step{nullptr, {"A", "b", "c"}}, Step{"d", {"b", "c", "d"}}, Step{"B", {"b", "B", "c"}}}) {
    if (step.renameA) a->SetText(step.renameA);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(step.rows[i], f.Inner()->GetItems()->Get(i)) << i;
      EXPECT_EQ(step.rows[i], f.list->GetItems()->GetItem(i)->GetText()) << "item i is row i";
    }
    EXPECT_EQ(cbsChecked, a->GetState());
    EXPECT_EQ(cbsGrayed, b->GetState());
  }
  // Sorting a list filled unsorted.
  TListForm g;
  for (const char* text : {"pear", "Apple", "fig"})
    g.Add(text);
  g.list->SetSorted(true);
  const char* sorted[] = {"Apple", "fig", "pear"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(sorted[i], g.list->GetItems()->GetItem(i)->GetText());
    EXPECT_EQ(sorted[i], g.Inner()->GetItems()->Get(i));
  }
}

TEST(CheckListBox, DeletingAnItemTakesItsRow) {
  TListForm f;
  for (const char* text : {"a", "b", "c"})
    f.Add(text);
  delete f.list->GetItems()->GetItem(1);
  ASSERT_EQ(2, f.Inner()->GetItems()->GetCount());
  EXPECT_EQ("c", f.Inner()->GetItems()->Get(1));
}

// ---- Input ----

TEST(CheckListBoxInput, ClicksOnTheBoxCycleTheStates) {
  TListForm f;
  f.list->SetAllowGrayed(true);
  f.Add("one");
  f.Add("two");
  f.Show();
  const TPoint box = f.CheckCenter(0);
  for (TcxCheckBoxState expected : {cbsGrayed, cbsChecked, cbsUnchecked}) {
    guitest::ClickAt(f.Inner()->GetHandle(), box.x, box.y);
    ASSERT_TRUE(guitest::PumpUntil([&] { return f.State(0) == expected; })) << expected;
    guitest::PumpFor(600); // no double click
  }
  const std::vector<TListForm::Click> clicks = {{0, cbsGrayed}, {0, cbsChecked}, {0, cbsUnchecked}};
  EXPECT_EQ(clicks, f.clicks);
  // A press beside the box only selects the row.
  const TPoint text = f.TextPoint(1);
  guitest::ClickAt(f.Inner()->GetHandle(), text.x, text.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.Inner()->GetItemIndex() == 1; }));
  EXPECT_EQ(cbsUnchecked, f.State(1));
}

TEST(CheckListBoxInput, SpaceAndDoubleClickToggleDisabledItemsNot) {
  TListForm f;
  f.Add("one");
  TcxCheckListBoxItem* disabled = f.Add("two");
  disabled->SetEnabled(false);
  f.Show();
  f.list->SetFocus();
  f.Inner()->SetItemIndex(0);
  guitest::PressKey(VK_SPACE);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.State(0) == cbsChecked; }));
  const TPoint text = f.TextPoint(0);
  guitest::MouseEventAt(f.Inner()->GetHandle(), text.x, text.y);
  for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
    guitest::MouseEventAt(f.Inner()->GetHandle(), text.x, text.y, flags);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.State(0) == cbsUnchecked; })) << "the double click toggles";
  // The disabled item: box, Space and double click change nothing.
  const TPoint box = f.CheckCenter(1);
  guitest::ClickAt(f.Inner()->GetHandle(), box.x, box.y);
  f.Inner()->SetItemIndex(1);
  guitest::PressKey(VK_SPACE);
  const TPoint text1 = f.TextPoint(1);
  for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
    guitest::MouseEventAt(f.Inner()->GetHandle(), text1.x, text1.y, flags);
  guitest::PumpFor(100);
  EXPECT_EQ(cbsUnchecked, f.State(1));
  EXPECT_EQ(2u, f.clicks.size());
}

TEST(CheckListBoxInput, TypedLettersChooseTheRowTheyStartWithAutoCompleteOn) {
  struct TCase {
    bool autoComplete;
    int chosen;
  };
  // Off, the list's own search moves by each letter alone: "r" starts no row.
  for (const TCase c : {TCase{true, 2}, TCase{false, 1}}) {
    SCOPED_TRACE(c.autoComplete);
    TListForm f;
    EXPECT_TRUE(f.list->GetAutoComplete());
    f.list->SetAutoComplete(c.autoComplete);
    for (const char* text : {"alpha", "beta", "bravo", "charlie"})
      f.Add(text);
    f.Show();
    f.list->SetFocus();
    f.Inner()->SetItemIndex(0);
    guitest::TypeText("br");
    guitest::PumpUntil([&] { return f.Inner()->GetItemIndex() == c.chosen; }, 1000);
    EXPECT_EQ(c.chosen, f.Inner()->GetItemIndex());
    EXPECT_TRUE(f.clicks.empty()) << "letters toggle nothing";
  }
}

// ---- Layout ----

TEST(CheckListBoxLayout, ColumnsShareTheWidthAndRowsFlowIntoThem) {
  TListForm f;
  for (int i = 0; i < 30; ++i)
    f.Add(("item" + IntToStr(i)).c_str());
  f.list->SetColumns(3);
  f.Show();
  EXPECT_EQ(3, f.list->GetColumns());
  EXPECT_TRUE(GetWindowLongPtrA(f.Inner()->GetHandle(), GWL_STYLE) & LBS_MULTICOLUMN);
  const int perColumn = f.Inner()->GetClientHeight() / f.Inner()->GetRowHeight();
  ASSERT_GT(perColumn, 1);
  const TRect first = f.Inner()->ItemRect(0);
  const TRect second = f.Inner()->ItemRect(perColumn);
  EXPECT_EQ(first.top, second.top) << "the next column starts at the top";
  EXPECT_EQ(f.Inner()->GetClientWidth() / 3, first.Width());
  EXPECT_EQ(first.right, second.left);
  f.list->SetColumns(0);
  EXPECT_FALSE(GetWindowLongPtrA(f.Inner()->GetHandle(), GWL_STYLE) & LBS_MULTICOLUMN);
  EXPECT_EQ(f.Inner()->ItemRect(0).bottom, f.Inner()->ItemRect(1).top);
}

// The scroll width reaches the list, and an integral height counts the
// horizontal bar it brings.
TEST(CheckListBoxLayout, AScrollWidthBeyondTheListAddsTheHorizontalBarToTheIntegralHeight) {
  TListForm f;
  for (const char* text : {"a", "b"})
    f.Add(text);
  f.Show();
  f.list->SetIntegralHeight(true);
  const int rowHeight = f.Inner()->GetRowHeight();
  f.list->SetHeight(100);
  const int plain = f.list->GetHeight();
  f.list->SetScrollWidth(400);
  EXPECT_EQ(400, SendMessageA(f.list->GetHandle(), LB_GETHORIZONTALEXTENT, 0, 0));
  f.list->SetHeight(100);
  // Whole rows, the borders and the bar, as many rows as fit.
  const int border = plain % rowHeight;
  const int height = f.list->GetHeight();
  EXPECT_EQ(0, (height - GetSystemMetrics(SM_CYHSCROLL) - border) % rowHeight) << height;
  EXPECT_LE(height, 100);
  EXPECT_GT(height + rowHeight, 100);
  EXPECT_NE(plain, height);
  // A scroll width inside the list brings no bar.
  f.list->SetScrollWidth(50);
  f.list->SetHeight(100);
  EXPECT_EQ(plain, f.list->GetHeight());
}

TEST(CheckListBoxLayout, TabsStopAtTheTabWidth) {
  // Where the text after the tab starts (the "a" ends before x 30), for
  // each tab width.
  auto textRight = [](int ATabWidth) {
    TListForm f;
    f.Add("a\tb");
    f.list->SetTabWidth(ATabWidth);
    f.Show();
    const guitest::TCapture capture = guitest::TCapture::Paint(f.Inner()->GetHandle());
    const TRect row = f.Inner()->ItemRect(0);
    for (int x = row.left + 30; x < row.right; ++x)
      for (int y = row.top + 2; y < row.bottom - 2; ++y) // inside the focus frame
        if (capture.Pixel(x, y) == RGB(0, 0, 0)) return x;
    return -1;
  };
  const int narrow = textRight(12);
  const int wide = textRight(24);
  EXPECT_GT(narrow, 60);
  EXPECT_GT(wide, narrow + 40);
}

TEST(CheckListBoxLayout, RowsOfTheirOwnHeightsAreMeasuredByTheFontAndTheHandler) {
  TListForm f;
  f.list->OnMeasureItem = [&](TWinControl* AControl, int AIndex, int& AHeight) {
    EXPECT_EQ(f.list, AControl);
    if (AIndex == 1) AHeight = 31;
  };
  f.Inner()->SetStyle(lbOwnerDrawVariable);
  for (const char* text : {"a", "b", "c"})
    f.Add(text);
  f.Show();
  TCanvas* canvas = f.Inner()->GetCanvas();
  canvas->GetFont()->Assign(f.list->GetStyle()->GetFont());
  const int expected = std::max(canvas->TextHeight("Wg") + 2, 15);
  EXPECT_EQ(expected, f.Inner()->ItemRect(0).Height());
  EXPECT_EQ(31, f.Inner()->ItemRect(1).Height());
  EXPECT_EQ(expected, f.Inner()->ItemRect(2).Height());
}

// ---- Painting ----

void PaintLooks(const char* ASuffix) {
  for (const TLook& look : kLooks) {
    SCOPED_TRACE(look.name);
    TListForm f(look);
    f.Add("Unchecked");
    f.Add("Checked", cbsChecked);
    f.Add("Grayed", cbsGrayed);
    f.Add("Disabled", cbsChecked)->SetEnabled(false);
    f.Show();
    f.Inner()->SetItemIndex(1);
    guitest::PumpFor(30);
    const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
    capture.SavePng(String("checklistbox-") + look.name + ASuffix);
    const int rowHeight = f.Inner()->GetRowHeight();
    EXPECT_EQ(rowHeight, f.Inner()->ItemRect(1).bottom - f.Inner()->ItemRect(1).top);
    // The selected row's text area is highlighted, its check area is not.
    TPoint origin(f.list->GetLeft() + f.Inner()->GetLeft(), f.list->GetTop() + f.Inner()->GetTop());
    const TRect row = f.Inner()->ItemRect(1);
    EXPECT_EQ(RGBOf(clHighlight), capture.Pixel(origin.x + row.right - 3, origin.y + row.top + 1));
    EXPECT_NE(RGBOf(clHighlight), capture.Pixel(origin.x + row.left, origin.y + row.top + 1));
  }
}

TEST(CheckListBoxPaint, EveryLookWithTheStyleOn) {
  PaintLooks("-style-on");
}

TEST(CheckListBoxPaintStyleOff, EveryLookWithTheStyleOff) {
  PaintLooks("-style-off");
}

} // namespace
