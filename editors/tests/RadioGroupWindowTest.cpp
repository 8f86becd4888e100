// The radio group on a form: its item buttons clicked and its arrows
// pressed by real input, the selection shown by the item glyphs, the
// in-place wrap, a read-only group, and the frame in every border style.
#include "cxRadioGroup.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

const std::vector<String> kOneSelection = {"click", "change", "valuechanged"};

struct TGroupForm {
  explicit TGroupForm(int AItems = 3, int AColumns = 1, bool AShow = true) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(80, 80, 320, 200);
    form->SetColor(clBtnFace);
    group = new TcxRadioGroup(form.get());
    group->SetBounds(10, 10, 185, 105);
    group->SetParent(form.get());
    group->GetProperties()->SetColumns(AColumns);
    const char* kCaptions[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
    for (int i = 0; i < AItems; ++i)
      group->GetProperties()->GetItems()->Add()->SetCaption(kCaptions[i]);
    group->OnClick = [this](TObject*) { events.push_back("click"); };
    group->GetProperties()->OnChange = [this](TObject*) { events.push_back("change"); };
    group->GetProperties()->OnEditValueChanged = [this](TObject*) { events.push_back("valuechanged"); };
    if (AShow) Show();
  }
  void Show() {
    form->Show();
    form->Update();
    guitest::PumpFor(20);
  }
  HWND Button(int AIndex) const { return group->GetButton(AIndex)->GetHandle(); }
  void Click(int AIndex) {
    guitest::MouseEventAt(Button(AIndex), 30, 8, 0);
    guitest::PumpFor(30);
    guitest::MouseEventAt(Button(AIndex), 30, 8, MOUSEEVENTF_LEFTDOWN);
    guitest::PumpFor(30);
    guitest::MouseEventAt(Button(AIndex), 30, 8, MOUSEEVENTF_LEFTUP);
    guitest::PumpUntil([&] { return FocusedItem() == AIndex; }, 2000);
    guitest::PumpFor(50);
  }
  void Focus(int AIndex) {
    group->GetButton(AIndex)->SetFocus();
    guitest::PumpFor(20);
  }
  void Press(WORD AKey) {
    guitest::PressKey(AKey);
    guitest::PumpFor(80);
  }
  int FocusedItem() const {
    for (int i = 0; i < group->GetButtonCount(); ++i)
      if (group->GetButton(i)->Focused()) return i;
    return -1;
  }
  // The item's glyph as painted on the form.
  std::vector<COLORREF> Glyph(const guitest::TCapture& ACapture, int AIndex) const {
    TcxCustomRadioGroupButton* button = group->GetButton(AIndex);
    const TRect& r = button->GetGlyphRect();
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        pixels.push_back(ACapture.Pixel(group->GetLeft() + button->GetLeft() + x,
                                        group->GetTop() + button->GetTop() + y));
    return pixels;
  }
  std::unique_ptr<TForm> form;
  TcxRadioGroup* group;
  std::vector<String> events;
};

// Groups are made, clicked and freed again in one process: each item's
// caption is read only once the item is whole.
TEST(RadioGroupWindow, AClickOnAnItemSelectsIt) {
  for (int round = 0; round < 3; ++round) {
    TGroupForm f;
    f.Click(round);
    EXPECT_EQ(f.group->GetItemIndex(), round);
    EXPECT_TRUE(f.group->GetButton(round)->GetChecked());
    EXPECT_EQ(f.group->GetButton(round)->GetCaption(),
              f.group->GetProperties()->GetItems()->GetItem(round)->GetCaption());
  }
}

// Showing the form selects nothing (the first item used to take the focus
// and so be selected, which made a later click on another item look as if
// it fired every event twice); each click on an unselected item fires the
// group's click, then the change and the value change, once each.
TEST(RadioGroupWindow, AClickOnEachUnselectedItemFiresEachEventOnceInOrder) {
  TGroupForm f(3, 1, false);
  f.Show();
  EXPECT_TRUE(f.events.empty());
  EXPECT_EQ(-1, f.group->GetItemIndex());
  for (int index : {0, 1, 2, 0}) {
    f.events.clear();
    f.Click(index);
    EXPECT_EQ(index, f.group->GetItemIndex());
    EXPECT_EQ(kOneSelection, f.events) << "item " << index;
  }
  f.events.clear();
  f.Click(0);
  EXPECT_TRUE(f.events.empty()) << "a click on the selected item";
}

// Tab reaches the group at its checked item only, and entering it that way
// changes nothing; a group with nothing checked is passed over.
TEST(RadioGroupWindow, TabEntersAtTheCheckedItem) {
  TGroupForm f;
  auto* before = new TEdit(f.form.get());
  before->SetParent(f.form.get());
  before->SetBounds(210, 10, 80, 21);
  before->SetTabOrder(0);
  auto* after = new TEdit(f.form.get());
  after->SetParent(f.form.get());
  after->SetBounds(210, 40, 80, 21);
  before->SetFocus();
  guitest::PumpFor(20);
  guitest::PressKey(VK_TAB);
  guitest::PumpFor(40);
  EXPECT_TRUE(after->Focused()) << "nothing checked: no item is a tab stop";
  f.group->SetItemIndex(1);
  f.events.clear();
  before->SetFocus();
  guitest::PumpFor(20);
  guitest::PressKey(VK_TAB);
  guitest::PumpFor(40);
  EXPECT_EQ(1, f.FocusedItem());
  EXPECT_EQ(1, f.group->GetItemIndex());
  EXPECT_TRUE(f.events.empty());
}

// ItemIndex is kept within the items; the checked glyph differs from the
// others, which all look alike.
void CheckItemIndexAndDot(bool AClassic) {
  TGroupForm f;
  // No glyph hot under the pointer.
  guitest::MouseEventAt(f.form->GetHandle(), 280, 150);
  f.group->GetProperties()->SetDefaultValue("none");
  const struct {
    int set, index;
    Variant value;
  } kCases[] = {{10, 2, "Gamma"}, {-5, -1, "none"}, {1, 1, "Beta"}};
  for (const auto& c : kCases) {
    f.events.clear();
    f.group->SetItemIndex(c.set);
    f.form->Update();
    EXPECT_EQ(c.index, f.group->GetItemIndex()) << c.set;
    EXPECT_EQ(c.value.AsString(), f.group->GetEditValueVariant().AsString()) << c.set;
    const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
    const std::vector<COLORREF> unchecked = f.Glyph(capture, c.index == 0 ? 1 : 0);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(i == c.index, f.group->GetButton(i)->GetChecked()) << c.set << " " << i;
      EXPECT_EQ(i == c.index, f.Glyph(capture, i) != unchecked) << c.set << " " << i;
      if (!AClassic) continue;
      const TRect& g = f.group->GetButton(i)->GetGlyphRect();
      const COLORREF centre =
          capture.Pixel(f.group->GetLeft() + f.group->GetButton(i)->GetLeft() + (g.left + g.right) / 2,
                        f.group->GetTop() + f.group->GetButton(i)->GetTop() + (g.top + g.bottom) / 2);
      EXPECT_EQ(i == c.index, centre == ColorToRGB(clBtnText)) << c.set << " " << i;
    }
  }
}

TEST(RadioGroupWindow, ItemIndexIsKeptWithinTheItemsAndTheDotFollows) {
  CheckItemIndexAndDot(false);
}

TEST(RadioGroupWindowStyleOff, ItemIndexIsKeptWithinTheItemsAndTheDotFollows) {
  CheckItemIndexAndDot(true);
}

// On a form the arrows are the dialog's: they step through the items in
// tab order, and each item reached is selected.
TEST(RadioGroupWindow, OnAFormTheArrowsStepThroughTheItems) {
  TGroupForm f;
  f.Focus(0);
  for (const auto& [key, to] : {std::pair{VK_DOWN, 1}, {VK_RIGHT, 2}, {VK_UP, 1}}) {
    f.events.clear();
    f.Press(key);
    EXPECT_EQ(to, f.FocusedItem()) << key;
    EXPECT_EQ(to, f.group->GetItemIndex()) << key;
    EXPECT_EQ(kOneSelection, f.events) << key;
  }
}

class TInplaceRadioGroup : public TcxRadioGroup {
public:
  explicit TInplaceRadioGroup(TComponent* AOwner) : TcxRadioGroup(AOwner) { SetIsInplace(true); }
};

// An in-place group on the host's form, activated.
struct TInplaceGroup {
  explicit TInplaceGroup(int AItems, int AColumns) : f(0) {
    group = new TInplaceRadioGroup(f.form.get());
    group->SetParent(f.form.get());
    group->SetBounds(10, 10, 240, 90);
    group->GetProperties()->SetColumns(AColumns);
    for (int i = 0; i < AItems; ++i)
      group->GetProperties()->GetItems()->Add()->SetCaption("item " + std::to_string(i));
    group->OnClick = [this](TObject*) { f.events.push_back("click"); };
    group->GetProperties()->OnChange = [this](TObject*) { f.events.push_back("change"); };
    group->GetProperties()->OnEditValueChanged = [this](TObject*) { f.events.push_back("valuechanged"); };
    group->ActivateInplace(data);
    guitest::PumpFor(20);
  }
  int FocusedItem() const {
    for (int i = 0; i < group->GetButtonCount(); ++i)
      if (group->GetButton(i)->Focused()) return i;
    return -1;
  }
  TcxCustomRadioGroupData* RadioData() const { return dynamic_cast<TcxCustomRadioGroupData*>(data.get()); }
  TGroupForm f;
  TInplaceRadioGroup* group;
  std::unique_ptr<TcxCustomEditData> data;
};

// In place the group handles the arrows itself. Five items in two columns:
// 0-2 in the first, 3-4 in the second. Up and Down wrap within the column
// by the posted message; each move
// selects the item it reaches, with each event once.
TEST(RadioGroupWindow, InPlaceTheArrowsMoveWithinColumnsAndWrap) {
  TInplaceGroup g(5, 2);
  ASSERT_NE(nullptr, g.RadioData());
  const struct {
    int from;
    WORD key;
    int to;
  } kCases[] = {{2, VK_RIGHT, 2}, {4, VK_LEFT, 1}, {4, VK_DOWN, 3}, {3, VK_UP, 4}, {0, VK_UP, 2},
                {2, VK_DOWN, 0},  {1, VK_RIGHT, 4}, {0, VK_DOWN, 1}, {3, VK_LEFT, 0}};
  for (const auto& c : kCases) {
    g.group->GetButton(c.from)->SetFocus();
    guitest::PumpFor(20);
    ASSERT_EQ(c.from, g.FocusedItem());
    EXPECT_EQ(c.from, g.group->GetItemIndex());
    g.f.events.clear();
    guitest::PressKey(c.key);
    guitest::PumpUntil([&] { return g.FocusedItem() == c.to; }, 1000);
    guitest::PumpFor(30);
    EXPECT_EQ(c.to, g.FocusedItem()) << c.from << " key " << c.key;
    EXPECT_EQ(c.to, g.group->GetItemIndex()) << c.from << " key " << c.key;
    EXPECT_EQ(c.to == c.from ? std::vector<String>{} : kOneSelection, g.f.events) << c.from << " key " << c.key;
  }
}

// A read-only group: the arrows still move the focus, but neither they,
// nor Space, nor a click change the selection, and nothing fires.
TEST(RadioGroupWindow, AReadOnlyGroupMovesTheFocusButKeepsItsSelection) {
  TGroupForm f;
  f.group->SetItemIndex(0);
  f.group->GetProperties()->SetReadOnly(true);
  f.Focus(0);
  f.events.clear();
  f.Press(VK_DOWN);
  EXPECT_EQ(1, f.FocusedItem());
  f.Press(VK_SPACE);
  f.Click(2);
  EXPECT_EQ(2, f.FocusedItem());
  EXPECT_EQ(0, f.group->GetItemIndex());
  EXPECT_TRUE(f.group->GetButton(0)->GetChecked());
  EXPECT_FALSE(f.group->GetButton(1)->GetChecked());
  EXPECT_FALSE(f.group->GetButton(2)->GetChecked());
  EXPECT_TRUE(f.events.empty());
}

// Leaving an in-place group remembers the focused item, and activating it
// again gives that item the focus.
TEST(RadioGroupWindow, InPlaceTheFocusedItemIsRememberedForTheNextActivation) {
  TInplaceGroup g(3, 1);
  EXPECT_EQ(0, g.FocusedItem());
  auto* other = new TEdit(g.f.form.get());
  other->SetParent(g.f.form.get());
  other->SetBounds(10, 120, 80, 21);
  g.group->GetButton(2)->SetFocus();
  guitest::PumpFor(20);
  other->SetFocus();
  guitest::PumpFor(20);
  EXPECT_EQ(2, g.RadioData()->FocusedItemIndex);
  g.group->ActivateInplace(g.data);
  guitest::PumpFor(20);
  EXPECT_EQ(2, g.FocusedItem());
}

// ---- Frames ----

// A group in every border style per look, on a form whose colour differs
// from the groups'; one PNG per look and visual style.
void DrawFrameGallery(const String& ASuffix) {
  const char* kBorders[] = {"None", "Single", "Thick", "Flat", "3D", "UltraFlat"};
  for (const TLook& look : kLooks) {
    TForm form(nullptr);
    form.SetBounds(40, 40, 3 * 200 + 30, 2 * 120 + 50);
    form.SetColor(clTeal);
    for (int border = ebsNone; border <= ebsUltraFlat; ++border) {
      auto* group = new TcxRadioGroup(&form);
      group->SetParent(&form);
      group->SetBounds(10 + (border % 3) * 200, 10 + (border / 3) * 120, 185, 105);
      group->SetCaption(String("Border ") + kBorders[border]);
      group->GetStyle()->SetColor(clInfoBk);
      group->GetStyle()->SetBorderStyle(static_cast<TcxContainerBorderStyle>(border));
      group->GetStyle()->GetLookAndFeel()->SetKind(look.kind);
      group->GetStyle()->GetLookAndFeel()->SetNativeStyle(look.native);
      group->GetProperties()->SetColumns(border % 2 + 1);
      for (const char* caption : {"First", "Second", "Third"})
        group->GetProperties()->GetItems()->Add()->SetCaption(caption);
      group->SetItemIndex(border % 3);
      group->SetEnabled(border != ebsThick);
    }
    form.Show();
    form.Update();
    guitest::PumpFor(30);
    const guitest::TCapture capture = guitest::TCapture::Paint(form.GetHandle());
    EXPECT_FALSE(capture.SavePng(String("radiogroup-frames-") + look.name + ASuffix).empty());
  }
}

TEST(RadioGroupWindow, FrameGalleryWithTheStyleOn) {
  DrawFrameGallery("-style-on");
}

TEST(RadioGroupWindowStyleOff, FrameGalleryWithTheStyleOff) {
  DrawFrameGallery("-style-off");
}

// The themed frame with ParentBackground shows the parent's colour around
// the frame line and behind the items; without it the group's own colour.
TEST(RadioGroupWindow, AThemedGroupWithParentBackgroundShowsTheParent) {
  TGroupForm f;
  f.form->SetColor(clTeal);
  f.group->GetStyle()->SetColor(clInfoBk);
  f.group->GetStyle()->GetLookAndFeel()->SetNativeStyle(true);
  guitest::MouseEventAt(f.form->GetHandle(), 280, 150);
  for (bool parentBackground : {true, false}) {
    f.group->SetParentBackground(parentBackground);
    f.form->Invalidate();
    f.form->Update();
    guitest::PumpFor(30);
    const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
    const COLORREF expected = ColorToRGB(parentBackground ? clTeal : clInfoBk);
    TcxCustomRadioGroupButton* item = f.group->GetButton(1);
    const int itemX = f.group->GetLeft() + item->GetLeft() + item->GetWidth() - 3;
    const int itemY = f.group->GetTop() + item->GetTop() + 2;
    EXPECT_EQ(expected, capture.Pixel(f.group->GetLeft() + 2, f.group->GetTop() + 1)) << parentBackground;
    EXPECT_EQ(expected, capture.Pixel(itemX, itemY)) << parentBackground;
  }
}

} // namespace
