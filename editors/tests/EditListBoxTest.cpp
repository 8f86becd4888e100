// The edit list box of the lookup data in a test parent: its rows and what
// they show, hot tracking, the wheel, the focused look on showing, and the
// highlight that moves alone while the list is open.
#include "TextEditTest.h"

#include <gtest/gtest.h>

namespace {

using guitest::MouseEventAt;
using guitest::PumpFor;
using guitest::PumpUntil;

// A text edit with items and, beside it on the form, the list of its lookup
// data.
struct TListForm : TTextEditForm {
  explicit TListForm(int ACount) {
    TStrings* items = edit->GetProperties()->GetLookupItems();
    for (int i = 0; i < ACount; ++i)
      items->Add(i < 3 ? String(kNames[i]) : "Item " + std::to_string(i));
    Show();
    data = edit->GetLookupData();
  }
  void Prepare(int ARows) {
    data->PrepareListBox(form.get());
    list()->SetBounds(200, 10, 120, ARows * list()->GetItemHeight(-1));
    PumpFor(20);
  }
  TRecordingListBox* list() const { return static_cast<TRecordingListBox*>(data->GetList()); }
  int RowHeight() const { return list()->GetItemHeight(-1); }
  static constexpr const char* kNames[] = {"Alpha", "Beta", "Bravo"};
  TcxCustomTextEditLookupData* data;
};

int TextHeightOfWg(TFont* AFont) {
  TBitmap bitmap;
  bitmap.GetCanvas()->GetFont()->Assign(AFont);
  return bitmap.GetCanvas()->TextHeight("Wg");
}

int TextWidthIn(TFont* AFont, const String& AText) {
  TBitmap bitmap;
  bitmap.GetCanvas()->GetFont()->Assign(AFont);
  return bitmap.GetCanvas()->TextWidth(AText);
}

TEST(EditListBox, RowsShowTheItemsWithTheCurrentOneSelected) {
  TListForm f(3);
  f.edit->SetText("beta");
  f.Prepare(3);
  TRecordingListBox* list = f.list();
  ASSERT_TRUE(list->HandleAllocated());
  EXPECT_EQ(3, list->GetItems()->GetCount());
  EXPECT_EQ(1, list->GetItemIndex()) << "the list finds the item of the text";
  EXPECT_EQ(1, f.data->GetCurrentKey());
  EXPECT_EQ("beta", f.edit->GetText()) << "and leaves the text";
  const int row = TextHeightOfWg(f.edit->GetStyle()->GetFont());
  for (int index : {-1, 0, 2})
    EXPECT_EQ(row, list->GetItemHeight(index)) << index;
  EXPECT_EQ(3 * row, list->GetItemsHeight(3));
  EXPECT_EQ("Bravo", list->GetItemText(2));

  guitest::TCapture shot = guitest::TCapture::Paint(list->GetHandle());
  shot.SavePng("edit-list-box-rows");
  const COLORREF highlight = ColorToRGB(clHighlight);
  const COLORREF text = ColorToRGB(clWindowText);
  for (int index = 0; index < 3; ++index) {
    SCOPED_TRACE(index);
    const TRect r = list->ItemRect(index);
    EXPECT_EQ(row, r.Height());
    const int filled = shot.CountPixels(r, highlight);
    if (index == 1)
      EXPECT_GT(filled, r.Width() * r.Height() / 2) << "the current item is selected";
    else
      EXPECT_EQ(0, filled);
    // The text starts two pixels in from the left edge.
    int left = -1;
    for (int x = 1; x < r.Width() && left < 0; ++x)
      for (int y = r.top + 1; y < r.bottom - 1 && left < 0; ++y)
        if (index != 1 && shot.Pixel(x, y) == text) left = x;
    if (index != 1) {
      EXPECT_GE(left, 2);
      EXPECT_LE(left, 4);
    }
  }
}

// A right-to-left list, as its parent is, draws its rows from the right
// edge; one that only reads right to left keeps them at the left.
TEST(EditListBox, RowsStartAtTheEdgeTheirModeReadsFrom) {
  struct Case {
    TBiDiMode mode;
    bool fromRight;
  };
  for (Case c : {Case{bdLeftToRight, false}, Case{bdRightToLeft, true}, Case{bdRightToLeftNoAlign, false}}) {
    SCOPED_TRACE(c.mode);
    TListForm f(3);
    f.form->SetBiDiMode(c.mode);
    f.Prepare(3);
    TRecordingListBox* list = f.list();
    EXPECT_EQ(c.mode, list->GetBiDiMode());
    guitest::TCapture shot = guitest::TCapture::Paint(list->GetHandle());
    if (c.mode == bdRightToLeft) shot.SavePng("edit-list-box-right-to-left");
    const COLORREF text = ColorToRGB(clWindowText);
    // Row 0 carries the focus frame (no item is current), whose dots are
    // in the text colour.
    for (int index : {1, 2}) {
      SCOPED_TRACE(index);
      const TRect r = list->ItemRect(index);
      int left = -1, right = -1;
      for (int x = 1; x < r.Width() - 1; ++x)
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
          if (shot.Pixel(x, y) == text) {
            if (left < 0) left = x;
            right = x;
          }
      ASSERT_GE(left, 0) << "the row shows its text";
      // The text's cell starts 2 pixels in from the left edge, or ends 2 in
      // from the right; its ink lies a pixel or two inside the cell.
      const int cellLeft = c.fromRight ? r.Width() - 2 - TextWidthIn(list->GetFont(), list->GetItemText(index)) : 2;
      EXPECT_GE(left, cellLeft);
      EXPECT_LE(left, cellLeft + 2);
      EXPECT_LE(right, c.fromRight ? r.Width() - 3 : r.Width() / 2) << "the far side stays empty";
    }
  }
}

TEST(EditListBox, TheRowUnderThePointerBecomesTheHighlight) {
  TListForm f(3);
  f.Prepare(3);
  TRecordingListBox* list = f.list();
  const int row = f.RowHeight();
  for (int index : {2, 0, 1}) {
    SCOPED_TRACE(index);
    MouseEventAt(list->GetHandle(), 20, index * row + row / 2);
    ASSERT_TRUE(PumpUntil([&] { return list->GetItemIndex() == index; }, 2000));
    EXPECT_EQ(index, f.data->GetItemIndex()) << "the lookup data follows the list";
    EXPECT_EQ(-1, f.data->GetCurrentKey()) << "hovering chooses nothing";
  }
  // Below the last row the highlight stays.
  list->SetBounds(200, 10, 120, 5 * row);
  PumpFor(20);
  MouseEventAt(list->GetHandle(), 20, 4 * row);
  PumpFor(50);
  EXPECT_EQ(1, list->GetItemIndex());
  EXPECT_EQ("", f.edit->GetText());
}

TEST(EditListBox, TheWheelScrollsByTheSystemsLines) {
  TListForm f(30);
  f.Prepare(5);
  TRecordingListBox* list = f.list();
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  auto wheel = [&](int ADelta) {
    POINT p{20, 20};
    ClientToScreen(list->GetHandle(), &p);
    SendMessageA(list->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, ADelta), MAKELPARAM(p.x, p.y));
  };
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(static_cast<int>(lines), list->GetTopIndex());
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(2 * static_cast<int>(lines), list->GetTopIndex());
  wheel(WHEEL_DELTA);
  EXPECT_EQ(static_cast<int>(lines), list->GetTopIndex());
  EXPECT_EQ(-1, f.data->GetCurrentKey()) << "the wheel only scrolls";
}

TEST(EditListBox, AShownListDrawsItsSelectionFocusedWithoutTakingTheFocus) {
  TListForm f(3);
  f.Focus();
  f.data->SetCurrentKey(0);
  f.data->PrepareListBox(f.form.get());
  TRecordingListBox* list = f.list();
  list->SetVisible(false);
  list->SetBounds(200, 10, 120, 3 * f.RowHeight());
  PumpFor(20);
  list->Drawn.clear();
  list->SetVisible(true);
  list->Update();
  PumpFor(50);
  bool focusedRow = false;
  for (const auto& [index, state] : list->Drawn)
    focusedRow |= index == 0 && state.Contains(odFocused);
  EXPECT_TRUE(focusedRow);
  EXPECT_NE(list->GetHandle(), GetFocus());
  EXPECT_TRUE(f.edit->IsFocused());
}

TEST(EditListBox, WhileTheListShowsKeysMoveOnlyTheHighlight) {
  for (bool immediate : {false, true}) {
    SCOPED_TRACE(immediate);
    TListForm f(3);
    f.edit->GetProperties()->ImmediateUpdateText = immediate;
    f.Prepare(3);
    f.data->NavigateLookupItems(ldNext, false);
    EXPECT_EQ(0, f.list()->GetItemIndex());
    EXPECT_EQ(immediate ? 0 : -1, f.data->GetCurrentKey());
    EXPECT_EQ(immediate ? "Alpha" : "", f.edit->GetText());
    // A closed list takes the highlight back to the current item.
    f.data->ListClosed();
    EXPECT_EQ(immediate ? 0 : -1, f.data->GetItemIndex());
    // Accepting the highlighted row chooses it.
    f.data->SetItemIndex(2);
    f.data->AcceptListItem();
    EXPECT_EQ(2, f.data->GetCurrentKey());
    EXPECT_EQ("Bravo", f.edit->GetText());
  }
}

TEST(EditListBox, ThePointerIsOverTheListOnlyOverItsWindow) {
  TListForm f(3);
  EXPECT_FALSE(f.data->IsMouseOverList(TPoint(0, 0))) << "no list yet";
  f.Prepare(3);
  HWND wnd = f.list()->GetHandle();
  RECT r;
  GetWindowRect(wnd, &r);
  POINT formOrigin{0, 0};
  ClientToScreen(f.form->GetHandle(), &formOrigin);
  const struct {
    POINT p;
    bool over;
  } cases[] = {
      {{r.left, r.top}, true},
      {{r.right - 1, r.bottom - 1}, true},
      {{r.right, r.top}, false},
      {{r.left - 1, r.top}, false},
      {{r.left, r.bottom}, false},
      // Inside the list's size, counted from the parent's origin.
      {{formOrigin.x + 5, formOrigin.y + 5}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.over, f.data->IsMouseOverList(TPoint(c.p.x, c.p.y))) << c.p.x << "," << c.p.y;
}

} // namespace
