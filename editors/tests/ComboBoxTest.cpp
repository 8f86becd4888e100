// The combo box by real input: opened and closed by each key and by its
// button, items chosen by keys, the wheel, a drag into the list and a click
// on a fixed list; the list's rows and bars by item count and width; a
// double click that steps; ItemIndex; the sizeable popup's grip and close
// button; the frame's shadow kept off the editor.
#include "DropDownTest.h"

#include "cxEditPaintUtils.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using guitest::MouseEventAt;
using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;

using TComboForm = TDropDownForm<TcxComboBox>;

void AddItems(TcxComboBox* ACombo, int ACount, const char* APrefix = "item") {
  TStrings* items = ACombo->GetProperties()->GetItems();
  for (int i = 0; i < ACount; ++i)
    items->Add(String(APrefix) + IntToStr(i));
}

TcxComboBoxListBox* ListOf(TcxComboBox* ACombo) {
  return ACombo->GetComboLookupData()->GetListBox();
}

void ShowFocused(TComboForm& f, int AItems) {
  AddItems(f.edit, AItems);
  f.Show();
  f.Focus();
}

TEST(ComboBox, EveryKeyOpensAndClosesThePopup) {
  const struct {
    WORD openKey;
    int openMods;
    WORD closeKey;
    int closeMods;
    bool accepts;
  } cases[] = {{VK_DOWN, guitest::kAlt, VK_DOWN, guitest::kAlt, true},
               {VK_UP, guitest::kAlt, VK_UP, guitest::kAlt, true},
               {VK_F4, 0, VK_F4, 0, true},
               {VK_DOWN, guitest::kAlt, VK_RETURN, 0, true},
               {VK_F4, 0, VK_ESCAPE, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.openKey << " " << c.closeKey);
    TComboForm f;
    ShowFocused(f, 5);
    PressKey(c.openKey, c.openMods);
    ASSERT_TRUE(f.WaitOpen());
    EXPECT_TRUE(f.Popup()->IsOpen());
    // Down moves the highlight in the open list; the closing key decides.
    PressKey(VK_DOWN);
    PumpUntil([&] { return ListOf(f.edit)->GetItemIndex() >= 0; }, 1000);
    PressKey(c.closeKey, c.closeMods);
    ASSERT_TRUE(f.WaitOpen(false));
    PumpFor(20);
    EXPECT_EQ(c.accepts ? "item0" : "", f.edit->GetText());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(f.edit->IsFocused()) << "the focus stays in the editor";
  }
}

TEST(ComboBox, TheButtonOpensOnPressAndAPressWhileOpenClosesForGood) {
  TComboForm f;
  ShowFocused(f, 5);
  f.ClickButton();
  ASSERT_TRUE(f.WaitOpen());
  f.ClickButton();
  ASSERT_TRUE(f.WaitOpen(false));
  PumpFor(200);
  EXPECT_FALSE(f.edit->HasPopupWindow()) << "the press that closed it does not reopen it";
  f.ClickButton();
  EXPECT_TRUE(f.WaitOpen()) << "the next press opens again";
}

TEST(ComboBox, KeysAndTheWheelStepThroughTheItemsOfAClosedCombo) {
  TComboForm f;
  ShowFocused(f, 5);
  PressKey(VK_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() == "item0"; }));
  PressKey(VK_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() == "item1"; }));
  EXPECT_EQ(1, f.edit->GetItemIndex());
  EXPECT_FALSE(f.edit->HasPopupWindow());
  // A real wheel: it reaches the focused inner edit first, which hands it on.
  guitest::WheelAt(f.edit->GetHandle(), 20, 10, -WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() == "item2"; }));
  guitest::WheelAt(f.edit->GetHandle(), 20, 10, WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() == "item1"; }));
}

TEST(ComboBox, TheWheelScrollsTheOpenListWithoutChangingTheValue) {
  TComboForm f;
  ShowFocused(f, 20);
  PressKey(VK_F4);
  ASSERT_TRUE(f.WaitOpen());
  const TPoint centre = f.edit->ClientToScreen(TPoint(20, 10));
  SendMessageA(f.edit->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
               MAKELPARAM(centre.x, centre.y));
  ASSERT_TRUE(PumpUntil([&] { return ListOf(f.edit)->GetTopIndex() > 0; }));
  EXPECT_EQ("", f.edit->GetText());
}

TEST(ComboBox, PressingTheButtonAndDraggingIntoTheListChoosesTheRowReleasedOn) {
  TComboForm f;
  ShowFocused(f, 5);
  const TPoint b = f.ButtonCentre();
  MouseEventAt(f.edit->GetHandle(), b.x, b.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(f.WaitOpen());
  TcxComboBoxListBox* list = ListOf(f.edit);
  const TRect row = list->ItemRect(2);
  const int y = (row.top + row.bottom) / 2;
  for (int x : {10, 12, 14})
    MouseEventAt(list->GetHandle(), x, y);
  PumpUntil([&] { return list->GetItemIndex() == 2; }, 1000);
  EXPECT_EQ(2, list->GetItemIndex()) << "the row under the mouse is selected while the button is held";
  MouseEventAt(list->GetHandle(), 14, y, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(f.WaitOpen(false));
  EXPECT_EQ("item2", f.edit->GetText());
}

TEST(ComboBox, AClickOnAFixedListsTextOpensItAndAClickOnARowChoosesIt) {
  TComboForm f;
  f.edit->GetProperties()->SetDropDownListStyle(lsFixedList);
  ShowFocused(f, 3);
  guitest::ClickAt(f.edit->GetHandle(), 20, 10);
  ASSERT_TRUE(f.WaitOpen());
  TcxComboBoxListBox* list = ListOf(f.edit);
  const TRect row = list->ItemRect(1);
  guitest::ClickAt(list->GetHandle(), 10, (row.top + row.bottom) / 2);
  ASSERT_TRUE(f.WaitOpen(false));
  EXPECT_EQ("item1", f.edit->GetText());
  EXPECT_EQ(1, f.edit->GetItemIndex());
}

// The list shows at most DropDownRows rows, with a vertical bar beyond them.
TEST(ComboBox, TheListsRowsAndBarsFollowTheItems) {
  const struct {
    int items;
    int rows;
    bool vbar;
  } cases[] = {{20, 8, true}, {3, 3, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.items);
    TComboForm f;
    ShowFocused(f, c.items);
    PressKey(VK_F4);
    ASSERT_TRUE(f.WaitOpen());
    PumpFor(50);
    TcxComboBoxListBox* list = ListOf(f.edit);
    EXPECT_EQ(c.rows * list->GetItemHeight(0), list->GetClientHeight());
    const bool vbar = (GetWindowLongPtrA(list->GetHandle(), GWL_STYLE) & WS_VSCROLL) != 0;
    EXPECT_EQ(c.vbar, vbar);
    EXPECT_GE(f.Popup()->GetWidth(), f.edit->GetWidth());
  }
}

TEST(ComboBox, AFixedDropDownWidthAddsAHorizontalBarForWiderItems) {
  TComboForm f;
  TcxComboBoxProperties* properties = f.edit->GetProperties();
  properties->SetDropDownAutoWidth(false);
  properties->SetDropDownWidth(60);
  properties->GetItems()->Add("a rather long item of the list");
  properties->GetItems()->Add("short");
  f.Show();
  f.Focus();
  PressKey(VK_F4);
  ASSERT_TRUE(f.WaitOpen());
  TcxComboBoxListBox* list = ListOf(f.edit);
  EXPECT_EQ(60, f.Popup()->GetWidth());
  EXPECT_EQ(2 * list->GetItemHeight(0) + GetSystemMetrics(SM_CYHSCROLL), list->GetHeight());
}

// A combo box that notes, for each post, whether it came from stepping
// through the items.
class TPostNotingCombo : public TcxComboBox {
public:
  using TcxComboBox::TcxComboBox;
  std::vector<bool> PostsByLookup;
  void BeginPost() override {
    PostsByLookup.push_back(GetLookupPosting());
    TcxComboBox::BeginPost();
  }
};

TEST(ComboBox, ADoubleClickOnARevertableComboStepsToTheNextItemWrapsAndPostsAsALookupStep) {
  TDropDownForm<TPostNotingCombo> f;
  f.edit->GetProperties()->Revertable = true;
  f.edit->GetProperties()->ImmediatePost = true;
  int changes = 0;
  f.edit->GetProperties()->OnEditValueChanged = [&](TObject*) { ++changes; };
  AddItems(f.edit, 3);
  f.Show();
  f.Focus();
  f.edit->SetItemIndex(2);
  changes = 0;
  f.edit->PostsByLookup.clear();
  for (const char* expected : {"item0", "item1"}) {
    const String before = f.edit->GetText();
    SendMessageA(f.edit->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 10));
    SendMessageA(f.edit->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() != before; })) << expected;
    EXPECT_EQ(expected, f.edit->GetText());
  }
  EXPECT_GE(changes, 2);
  EXPECT_EQ((std::vector<bool>{true, true}), f.edit->PostsByLookup) << "each step is posted at once, as a lookup post";
  EXPECT_FALSE(f.edit->GetLookupPosting()) << "the flag lasts only for the post";
  // Without Revertable a double click steps and posts nothing.
  f.edit->GetProperties()->Revertable = false;
  SendMessageA(f.edit->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 10));
  SendMessageA(f.edit->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  PumpFor(100);
  EXPECT_EQ("item1", f.edit->GetText());
  EXPECT_EQ(2u, f.edit->PostsByLookup.size());
}

TEST(ComboBox, ItemIndexClicksAndClearsModifiedOnlyOnAChange) {
  TComboForm f;
  ShowFocused(f, 4);
  int clicks = 0;
  f.edit->OnClick = [&](TObject*) { ++clicks; };
  const struct {
    int index, clicks;
    bool modified;
  } steps[] = {{2, 1, false}, {2, 1, true}, {7, 1, true}, {-1, 2, false}};
  for (const auto& step : steps) {
    f.edit->SetModified(true);
    f.edit->SetItemIndex(step.index);
    EXPECT_EQ(step.clicks, clicks) << step.index;
    EXPECT_EQ(step.modified, f.edit->GetModified()) << step.index;
  }
  EXPECT_EQ(-1, f.edit->GetItemIndex());
  f.edit->SetItemIndex(3);
  EXPECT_EQ("item3", f.edit->GetText());
  EXPECT_FALSE(f.edit->GetModified());
}

// ---- The sizeable popup ----

struct TSizeableCombo : TComboForm {
  TSizeableCombo() : TComboForm() {
    edit->GetProperties()->SetDropDownSizeable(true);
    AddItems(edit, 30);
    Show();
    Focus();
  }
  void Open() {
    PressKey(VK_F4);
    ASSERT_TRUE(WaitOpen());
    PumpFor(50);
  }
  // Drags the grip by (ADX, ADY) in steps.
  void DragGrip(int ADX, int ADY) {
    const TRect g = Popup()->GetViewInfo()->GripHitRect;
    const TPoint p((g.left + g.right) / 2, (g.top + g.bottom) / 2);
    const HWND wnd = Popup()->GetHandle();
    MouseEventAt(wnd, p.x, p.y, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 4; ++i)
      MouseEventAt(wnd, p.x + ADX * i / 4, p.y + ADY * i / 4);
    MouseEventAt(wnd, p.x + ADX, p.y + ADY, MOUSEEVENTF_LEFTUP);
    PumpFor(50);
  }
  int RowHeight() { return ListOf(edit)->GetItemHeight(0); }
};

TEST(ComboBox, TheGripResizesThePopupInWholeRowsAndTheSizeIsRemembered) {
  TSizeableCombo f;
  f.Open();
  const int row = f.RowHeight();
  const int height = f.Popup()->GetHeight();
  const int listHeight = ListOf(f.edit)->GetHeight();
  f.DragGrip(40, 3 * row + row / 2);
  const int grown = f.Popup()->GetHeight();
  EXPECT_GT(grown, height);
  EXPECT_EQ(0, (grown - height) % row) << "whole rows";
  EXPECT_EQ(0, ListOf(f.edit)->GetClientHeight() % row);
  EXPECT_GT(f.Popup()->GetWidth(), f.edit->GetWidth());
  EXPECT_TRUE(f.edit->IsResizedByUser());
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(f.WaitOpen(false));
  f.Open();
  EXPECT_EQ(grown, f.Popup()->GetHeight()) << "remembered";
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(f.WaitOpen(false));
  f.edit->GetProperties()->SetDropDownSizeable(false);
  EXPECT_FALSE(f.edit->IsResizedByUser()) << "forgotten";
  f.Open();
  EXPECT_EQ(listHeight, ListOf(f.edit)->GetHeight()) << "the list's own size again";
}

TEST(ComboBox, TheGripCannotTakeThePopupBeyondTheWorkArea) {
  TSizeableCombo f;
  f.Open();
  const TRect work = GetMonitorWorkArea(TPoint(f.Popup()->GetLeft(), f.Popup()->GetTop()));
  f.DragGrip(0, work.bottom + 200 - f.Popup()->GetTop());
  EXPECT_LE(f.Popup()->GetTop() + f.Popup()->GetHeight(), work.bottom);
  f.DragGrip(-1000, 0);
  EXPECT_GE(f.Popup()->GetLeft() + f.Popup()->GetWidth(), f.edit->ClientToScreen(TPoint(0, 0)).x + 1)
      << "still overlaps its editor";
}

TEST(ComboBox, TheCloseButtonClosesOnlyWhenReleasedOverIt) {
  TSizeableCombo f;
  f.Open();
  const HWND wnd = f.Popup()->GetHandle();
  const TRect b = f.Popup()->GetViewInfo()->CloseButtonBounds;
  ASSERT_GT(b.Width(), 0);
  const TPoint c((b.left + b.right) / 2, (b.top + b.bottom) / 2);
  MouseEventAt(wnd, c.x, c.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(3, f.Popup()->GetViewInfo()->CloseButtonMouseState) << "pressed";
  MouseEventAt(wnd, c.x + 60, c.y - 20);
  MouseEventAt(wnd, c.x + 60, c.y - 20, MOUSEEVENTF_LEFTUP);
  PumpFor(100);
  EXPECT_TRUE(f.edit->HasPopupWindow()) << "released outside";
  bool asked = false;
  f.edit->GetProperties()->OnCloseQuery = [&](TObject*, bool&) { asked = true; };
  MouseEventAt(wnd, c.x, c.y, MOUSEEVENTF_LEFTDOWN);
  MouseEventAt(wnd, c.x, c.y, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(f.WaitOpen(false));
  EXPECT_TRUE(asked);
}

// Opened above an editor near the bottom of the screen, the popup's shadow
// strip over the editor is cut out of its window region.
TEST(ComboBox, TheShadowOfAPopupAboveTheEditorLeavesTheEditorUncovered) {
  TComboForm f;
  f.edit->GetStyle()->SetShadow(true);
  f.form->SetBounds(60, GetMonitorWorkArea(TPoint(0, 0)).bottom - 120, 400, 110);
  ShowFocused(f, 5);
  PressKey(VK_F4);
  ASSERT_TRUE(f.WaitOpen());
  PumpFor(50);
  TcxCustomEditPopupWindow* popup = f.Popup();
  ASSERT_FALSE(popup->GetViewInfo()->IsGripAtBottom()) << "opened above";
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(popup->GetHandle(), region));
  const TPoint editTop = f.edit->ClientToScreen(TPoint(0, 0));
  const int y = popup->GetHeight() - 1;
  const int overEditor = editTop.x - popup->GetLeft() + 10;
  EXPECT_GT(popup->GetTop() + popup->GetHeight(), editTop.y) << "the shadow reaches over the editor";
  EXPECT_FALSE(PtInRegion(region, overEditor, y)) << "no shadow over the editor";
  EXPECT_TRUE(PtInRegion(region, popup->GetWidth() - 2, y)) << "the shadow beyond the editor stays";
  DeleteObject(region);
}

} // namespace
