// List boxes: owner-drawn rows, the check-list box, sorted items, combo box.
#include "CheckLst.h"
#include "Forms.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpUntil;

struct ListForm : TForm {
  explicit ListForm(TComponent* AOwner) : TForm(AOwner) { SetClientSize(260, 160); }
  template <typename T> T* Add(int left, int top, int width, int height) {
    auto* c = new T(this);
    c->SetParent(this);
    c->SetBounds(left, top, width, height);
    return c;
  }
};

TEST(Lists, OwnerDrawnRowsAreDrawnByTheHandler) {
  const TColor colours[] = {clRed, clLime, clBlue};
  struct Case {
    TListBoxStyle style;
    int height;
  };
  for (Case c : {Case{lbOwnerDrawFixed, 20}, Case{lbOwnerDrawVariable, 30}}) {
    SCOPED_TRACE(c.style);
    auto form = std::make_unique<ListForm>(nullptr);
    auto* list = form->Add<TListBox>(10, 10, 120, 140);
    list->SetStyle(c.style);
    list->SetItemHeight(20);
    list->OnMeasureItem = [&](TWinControl*, int, int& Height) { Height = c.height; };
    list->OnDrawItem = [&](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
      list->GetCanvas()->GetBrush()->SetColor(colours[Index % 3]);
      list->GetCanvas()->FillRect(Rect);
    };
    for (const char* s : {"one", "two", "three"})
      list->GetItems()->Add(s);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
    guitest::TCapture capture = guitest::TCapture::Paint(form->GetHandle());
    capture.SavePng(c.style == lbOwnerDrawFixed ? "lists_owner_draw_fixed" : "lists_owner_draw_variable");
    const TPoint origin = form->ScreenToClient(list->ClientToScreen(TPoint(0, 0)));
    for (int row = 0; row < 3; ++row) {
      const int y = origin.y + row * c.height + c.height / 2;
      EXPECT_EQ(static_cast<COLORREF>(colours[row]), capture.Pixel(origin.x + 50, y)) << "row " << row;
    }
    EXPECT_EQ(1, list->ItemAtPos(TPoint(5, c.height + 2), true));
  }
}

TEST(Lists, CheckListBoxTogglesByClickAndSpace) {
  auto form = std::make_unique<ListForm>(nullptr);
  auto* list = form->Add<TCheckListBox>(10, 10, 150, 120);
  for (const char* s : {"alpha", "beta", "gamma"})
    list->GetItems()->Add(s);
  list->SetChecked(2, true);
  int clicks = 0;
  list->OnClickCheck = [&](TObject*) { ++clicks; };
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return list->Focused(); }));

  const TRect row = list->ItemRect(1);
  guitest::ClickAt(list->GetHandle(), row.left + 8, row.top + row.Height() / 2);
  EXPECT_TRUE(PumpUntil([&] { return list->GetChecked(1); })) << "a click on the box checks it";
  EXPECT_EQ(1, list->GetItemIndex());
  guitest::PressKey(VK_SPACE);
  EXPECT_TRUE(PumpUntil([&] { return !list->GetChecked(1); })) << "space unchecks the selected item";
  // A click on the text selects without toggling.
  const TRect third = list->ItemRect(2);
  guitest::ClickAt(list->GetHandle(), third.left + 80, third.top + third.Height() / 2);
  EXPECT_TRUE(PumpUntil([&] { return list->GetItemIndex() == 2; }));
  EXPECT_TRUE(list->GetChecked(2));
  EXPECT_EQ(2, clicks);
  guitest::TCapture::Paint(form->GetHandle()).SavePng("lists_check_list_box");
}

TEST(Lists, SortedItemsAndStateSurviveANewWindow) {
  auto form = std::make_unique<ListForm>(nullptr);
  auto* list = form->Add<TCheckListBox>(10, 10, 150, 120);
  list->SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig"})
    list->GetItems()->Add(s);
  list->SetChecked(list->GetItems()->IndexOf("fig"), true);
  form->Show();
  EXPECT_EQ("Apple,fig,pear", list->GetItems()->GetCommaText());
  list->SetItemIndex(2);
  list->RecreateWnd();
  EXPECT_TRUE(list->GetChecked(1));
  EXPECT_EQ(2, list->GetItemIndex());
  char text[32] = {};
  SendMessageA(list->GetHandle(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("Apple", text);
}

// Typed letters build a prefix that chooses its first row, Backspace takes a
// letter back; columns and tab stops reach the window and survive a new one.
TEST(Lists, TypedPrefixesColumnsAndTabStops) {
  auto form = std::make_unique<ListForm>(nullptr);
  auto* list = form->Add<TListBox>(10, 10, 150, 120);
  for (const char* s : {"alpha", "beta", "Bravo", "brown"})
    list->GetItems()->Add(s);
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  list->SetFocus();
  guitest::TypeText("bro");
  ASSERT_TRUE(PumpUntil([&] { return list->GetItemIndex() == 3; }, 2000));
  guitest::PressKey(VK_BACK);
  ASSERT_TRUE(PumpUntil([&] { return list->GetItemIndex() == 2; }, 2000)) << "\"br\" again, letter case ignored";
  EXPECT_EQ(4, clicks) << "b, br, bro and br again";
  list->SetColumns(2);
  list->SetTabWidth(20);
  list->RecreateWnd();
  EXPECT_TRUE(GetWindowLongPtrA(list->GetHandle(), GWL_STYLE) & LBS_MULTICOLUMN);
  const TRect first = list->ItemRect(0);
  EXPECT_EQ(list->GetClientWidth() / 2, first.Width());
}

TEST(Lists, ComboBoxSelectsAndTypes) {
  auto form = std::make_unique<ListForm>(nullptr);
  auto* combo = form->Add<TComboBox>(10, 10, 150, 21);
  for (const char* s : {"test", "sakila", "world"})
    combo->GetItems()->Add(s);
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  form->Show();
  combo->SetItemIndex(1);
  EXPECT_EQ("sakila", combo->GetText());
  ASSERT_TRUE(PumpUntil([&] { return combo->Focused() || GetParent(GetFocus()) == combo->GetHandle(); }));
  guitest::PressKey('A', guitest::kCtrl);
  guitest::TypeText("mydb");
  EXPECT_TRUE(PumpUntil([&] { return combo->GetText() == "mydb"; }));
  EXPECT_GE(changes, 4);
}

TEST(Lists, ANewTextKeepsTheRowsObjectStateAndSelection) {
  struct Case {
    bool sorted;
    bool shown;
  };
  for (Case c : {Case{false, true}, Case{true, true}, Case{true, false}}) {
    SCOPED_TRACE(testing::Message() << "sorted " << c.sorted << ", shown " << c.shown);
    auto form = std::make_unique<ListForm>(nullptr);
    auto* list = form->Add<TCheckListBox>(10, 10, 150, 120);
    list->SetSorted(c.sorted);
    TStrings* items = list->GetItems();
    int tags[3] = {};
    for (const char* s : {"alpha", "beta", "gamma"})
      items->AddObject(s, &tags[items->GetCount()]);
    list->SetChecked(0, true);
    list->SetState(1, cbGrayed);
    list->SetItemEnabled(1, false);
    if (c.shown) {
      form->Show();
      ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
    }
    list->SetItemIndex(1);

    items->Put(1, "zeta");
    // Sorted, the renamed row moves to the end and gamma moves up.
    const int renamed = c.sorted ? 2 : 1;
    const int gamma = c.sorted ? 1 : 2;
    EXPECT_EQ(c.sorted ? "alpha,gamma,zeta" : "alpha,zeta,gamma", items->GetCommaText());
    EXPECT_EQ(&tags[1], items->GetObject(renamed));
    EXPECT_EQ(cbGrayed, list->GetState(renamed));
    EXPECT_FALSE(list->GetItemEnabled(renamed));
    EXPECT_EQ(renamed, list->GetItemIndex());
    EXPECT_EQ(&tags[2], items->GetObject(gamma));
    EXPECT_EQ(cbUnchecked, list->GetState(gamma));
    EXPECT_TRUE(list->GetItemEnabled(gamma));
    EXPECT_TRUE(list->GetChecked(0));
    if (c.shown) {
      char text[32] = {};
      SendMessageA(list->GetHandle(), LB_GETTEXT, renamed, reinterpret_cast<LPARAM>(text));
      EXPECT_STREQ("zeta", text);
    }
  }
}

TEST(Lists, ClearingComboItemsKeepsTheText) {
  struct Case {
    bool shown;
    int selected; // -1: the text is typed
  };
  for (Case c : {Case{true, -1}, Case{true, 1}, Case{false, -1}}) {
    SCOPED_TRACE(testing::Message() << "shown " << c.shown << ", selected " << c.selected);
    auto form = std::make_unique<ListForm>(nullptr);
    auto* combo = form->Add<TComboBox>(10, 10, 150, 21);
    for (const char* s : {"test", "sakila", "world"})
      combo->GetItems()->Add(s);
    if (c.shown) {
      form->Show();
      ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
    }
    if (c.selected >= 0)
      combo->SetItemIndex(c.selected);
    else
      combo->SetText("mydb");
    const String text = combo->GetText();

    combo->GetItems()->Clear();
    EXPECT_EQ(0, combo->GetItems()->GetCount());
    EXPECT_EQ(-1, combo->GetItemIndex());
    EXPECT_EQ(text, combo->GetText());
    if (c.shown) {
      EXPECT_EQ(0, SendMessageA(combo->GetHandle(), CB_GETCOUNT, 0, 0));
    }
    combo->GetItems()->Add("other");
    EXPECT_EQ(text, combo->GetText()) << "a new list leaves the text alone";

    // The control's own Clear empties the text as well.
    combo->Clear();
    EXPECT_EQ(0, combo->GetItems()->GetCount());
    EXPECT_EQ("", combo->GetText());
  }
}

TEST(Lists, ANewComboTextKeepsTheItemsObjectAndTheSelection) {
  struct Case {
    bool shown, sorted;
    int selected;           // before: the item chosen
    const char* items;      // after, in order
    int object, selection;  // after: where the renamed item's object and the selection are
  };
  // Items "b", "d", "f" with objects 1, 2, 3; the first item becomes "e".
  const Case cases[] = {
      {true, false, 0, "e|d|f|", 0, 0},  {false, false, 0, "e|d|f|", 0, 0},
      {true, false, 1, "e|d|f|", 0, 1},  {true, true, 0, "d|e|f|", 1, 1},
      {false, true, 0, "d|e|f|", 1, 1},  {true, true, 1, "d|e|f|", 1, 0},
      {true, true, 2, "d|e|f|", 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "shown " << c.shown << ", sorted " << c.sorted << ", selected "
                                    << c.selected);
    auto form = std::make_unique<ListForm>(nullptr);
    auto* combo = form->Add<TComboBox>(10, 10, 150, 21);
    combo->SetSorted(c.sorted);
    int objects[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i)
      combo->GetItems()->AddObject(String(1, "bdf"[i]), &objects[i]);
    if (c.shown) {
      form->Show();
      ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
    }
    combo->SetItemIndex(c.selected);
    const String selectedText = c.selected == 0 ? "e" : combo->GetItems()->Get(c.selected);

    combo->GetItems()->Put(0, "e");
    String items;
    for (int i = 0; i < combo->GetItems()->GetCount(); ++i)
      items += combo->GetItems()->Get(i) + "|";
    EXPECT_EQ(c.items, items);
    EXPECT_EQ(&objects[0], combo->GetItems()->GetObject(c.object));
    EXPECT_EQ(c.selection, combo->GetItemIndex());
    EXPECT_EQ(selectedText, combo->GetText());
    if (c.shown) {
      char text[16] = {};
      for (int i = 0; i < 3; ++i) {
        SendMessageA(combo->GetHandle(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(combo->GetItems()->Get(i), text) << i;
      }
    }
  }
}

} // namespace
