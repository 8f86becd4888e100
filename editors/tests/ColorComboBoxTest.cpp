// The colour combo box: the MRU section and the items as one row range,
// names and formats, the colour tables, the MRU codes and limits, moving a
// colour to the front; in a window: Delete clearing and posting, the colour
// dialog answered, cancelled or skipped, and the open list per look.
#include "DropDownTest.h"
#include "PaintTest.h"

#include "cxColorComboBox.h"

#include <colordlg.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;
using guitest::TCapture;

constexpr TColor kRed = 0x0000FF;
constexpr TColor kLime = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kAqua = 0xFFFF00;
constexpr TColor kFuchsia = 0xFF00FF;

std::vector<TColor> ColorsOf(const TcxColorComboBoxItems* AItems) {
  std::vector<TColor> colors;
  for (int i = 0; i < AItems->GetCount(); ++i)
    colors.push_back(AItems->GetItem(i)->GetColor());
  return colors;
}

std::vector<String> NamesOf(const TcxColorComboBoxItems* AItems) {
  std::vector<String> names;
  for (int i = 0; i < AItems->GetCount(); ++i)
    names.push_back(AItems->GetItem(i)->GetDescription());
  return names;
}

bool Contains(const std::vector<String>& ANames, const String& AName) {
  return std::find(ANames.begin(), ANames.end(), AName) != ANames.end();
}

// ---- Settings without a window ----

TEST(ColorComboProperties, DefaultsAndTheSecondButton) {
  TcxColorComboBoxProperties p(nullptr);
  EXPECT_EQ("Color not selected", p.GetDefaultDescription());
  EXPECT_EQ(lsFixedList, p.GetDropDownListStyle());
  EXPECT_EQ(clWindow, p.GetDefaultColor());
  EXPECT_EQ(30, p.GetColorBoxWidth());
  EXPECT_EQ(10, p.GetMaxMRUColors());
  EXPECT_EQ(cxncKorvel, p.GetNamingConvention());
  EXPECT_EQ(cxplKorvel, p.PrepareList);
  EXPECT_EQ(0, p.GetItems()->GetCount()) << "creation loads no table";
  ASSERT_EQ(2, p.GetButtons()->GetCount());
  TcxEditButton* dialogButton = p.GetButtons()->GetItem(1);
  EXPECT_EQ(bkEllipsis, dialogButton->GetKind());
  EXPECT_FALSE(dialogButton->GetVisible());
  EXPECT_FALSE(dialogButton->GetDefault());
  EXPECT_EQ(220 + 32, p.GetCapabilities());
  p.SetShowDescriptions(false);
  EXPECT_EQ(220, p.GetCapabilities());

  p.SetAllowSelectColor(true);
  EXPECT_TRUE(dialogButton->GetVisible());
  p.SetAllowSelectColor(false);
  EXPECT_FALSE(dialogButton->GetVisible());
  p.SetColorBoxWidth(-5);
  EXPECT_EQ(0, p.GetColorBoxWidth());
}

TEST(ColorComboProperties, TablesLoadBehindTheItemsOnceEach) {
  const struct {
    TcxColorPrepareList list;
    int count;
    const char* present;
    const char* absent;
  } cases[] = {{cxplKorvel, 52, "clWindow", nullptr},
               {cxplHTML4, 16, "Aqua", nullptr},
               {cxplX11, 138, "Aqua", "Cyan"},
               {cxplX11Ordered, 138, "Magenta", "Fuchsia"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    TcxColorComboBoxProperties p(nullptr);
    p.GetItems()->AddColor(0x123456, "mine");
    p.PrepareList = c.list;
    p.SetPrepareInfo("load");
    EXPECT_EQ(c.count + 1, p.GetItems()->GetCount());
    EXPECT_TRUE(p.GetItems()->GetItem(0)->IsCustom);
    EXPECT_FALSE(p.GetItems()->GetItem(1)->IsCustom) << "table items are not custom";
    const std::vector<String> names = NamesOf(p.GetItems());
    EXPECT_TRUE(Contains(names, c.present));
    if (c.absent) {
      EXPECT_FALSE(Contains(names, c.absent)) << "a colour already listed is skipped";
    }
    p.SetPrepareInfo("load");
    EXPECT_EQ(c.count + 1, p.GetItems()->GetCount()) << "a second load adds nothing";
    p.GetItems()->ClearNonCustom();
    EXPECT_EQ(std::vector<TColor>{0x123456}, ColorsOf(p.GetItems()));
  }
}

TEST(ColorComboProperties, X11NamesTakeTheFirstMatchEitherOrder) {
  for (TcxColorPrepareList list : {cxplX11, cxplX11Ordered}) {
    TcxColorComboBoxProperties p(nullptr);
    p.PrepareList = list;
    p.SetPrepareInfo("x");
    p.SetNamingConvention(cxncX11);
    EXPECT_EQ("Aqua", p.GetDescriptionByIndex(p.GetIndexByColor(kAqua)));
    EXPECT_EQ("Fuchsia", p.GetDescriptionByIndex(p.GetIndexByColor(kFuchsia)));
  }
}

TEST(ColorComboProperties, NamesFollowConventionFormatAndEvent) {
  TcxColorComboBoxProperties p(nullptr);
  p.GetItems()->AddColor(kRed, "my red");
  p.GetItems()->AddColor(0x563412, "brownish");
  p.GetItems()->AddColor(clWindow, "");
  const struct {
    TcxColorNamingConvention convention;
    TcxColorValueFormat format;
    int row;
    const char* name;
  } cases[] = {{cxncKorvel, cxcvRGB, 0, "clRed"},        {cxncHTML4, cxcvRGB, 0, "Red"},
               {cxncNone, cxcvRGB, 0, "my red"},         {cxncHTML4, cxcvHexadecimal, 1, "123456"},
               {cxncKorvel, cxcvRGB, 1, "18.52.86"},     {cxncX11, cxcvInteger, 1, "5649426"},
               {cxncHTML4, cxcvInteger, 2, "-16777211"}, {cxncNone, cxcvRGB, 2, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    p.SetNamingConvention(c.convention);
    p.SetColorValueFormat(c.format);
    EXPECT_EQ(c.name, p.GetDescriptionByIndex(c.row));
  }
  EXPECT_EQ("Color not selected", p.GetDescriptionByIndex(-1));
  p.SetShowDescriptions(false);
  EXPECT_EQ("", p.GetDescriptionByIndex(0)) << "no names without descriptions";
  p.SetShowDescriptions(true);
  p.SetNamingConvention(cxncKorvel);
  p.OnNamingConvention = [](TObject*, TColor AColor, String& AText) { AText += "/" + IntToStr(AColor); };
  EXPECT_EQ("clRed/255", p.GetDescriptionByIndex(0));
}

TEST(ColorComboProperties, RowsSpanTheMRUSectionThenTheItems) {
  TcxColorComboBoxProperties p(nullptr);
  p.PrepareList = cxplHTML4;
  p.SetPrepareInfo("x");
  ASSERT_EQ(cxMRUInserted, p.AddMRUColor(kBlue));
  ASSERT_EQ(1, p.MRUCount());
  EXPECT_EQ(17, p.RowCount());
  EXPECT_EQ(0, p.GetIndexByColor(kBlue)) << "the MRU section comes first";
  EXPECT_EQ(kBlue, p.GetColorByIndex(0));
  EXPECT_EQ(1 + 5, p.GetIndexByColor(kRed)) << "Red is the sixth HTML colour";
  EXPECT_EQ(kRed, p.GetColorByIndex(6));
  EXPECT_EQ(clWindow, p.GetColorByIndex(-1));
  EXPECT_EQ(clWindow, p.GetColorByIndex(99));
  EXPECT_EQ(nullptr, p.GetItemByIndex(-1));
  EXPECT_EQ(p.GetMRUColors()->GetItem(0), p.GetItemByIndex(0));
  EXPECT_EQ(p.GetItems()->GetItem(0), p.GetItemByIndex(1));
  const struct {
    Variant value;
    int row;
  } values[] = {{Null(), -1},          {Unassigned(), -1},          {Variant("x"), -1},
                {Variant("clRed"), 6}, {Variant(int(kRed)), 6},     {Variant(int(kBlue)), 0},
                {Variant("255"), 6},   {Variant(int(0x123456)), -1}};
  for (const auto& v : values)
    EXPECT_EQ(v.row, p.IndexOfColorValue(v.value)) << VarToStr(v.value);

  TColor color = 1;
  String text;
  p.GetColorByValue(Variant("x"), color, text);
  EXPECT_EQ(clWindow, color) << "no colour: the default colour";
  EXPECT_EQ("Color not selected", text);
  p.GetColorByValue(Variant(int(0x123456)), color, text);
  EXPECT_EQ(0x123456, color) << "an unlisted colour is shown by its value";
  EXPECT_EQ("86.52.18", text);
  p.SetColorComboStyle(cxccsComboList);
  color = 1;
  p.GetColorByValue(Variant(int(0x123456)), color, text);
  EXPECT_EQ(1, color) << "a list-only combo leaves the colour of an unlisted value";
  EXPECT_EQ("Color not selected", text);
}

TEST(ColorComboProperties, MRUCodesAndLimits) {
  TcxColorComboBoxProperties p(nullptr);
  p.PrepareList = cxplHTML4;
  p.SetPrepareInfo("x");
  int added = 0;
  int deleted = 0;
  int changes = 0;
  p.OnAddedMRUColor = [&](TObject*) { ++added; };
  p.OnDeletedMRUColor = [&](TObject*) { ++deleted; };
  p.OnPropertiesChanged = [&](TObject*) { ++changes; };
  // An insertion (with its trimming) notifies nobody, a move to the front
  // does.
  const struct {
    TColor color;
    int code;
    std::vector<TColor> mru;
    bool notifies;
  } steps[] = {{kRed, cxMRUInserted, {kRed}, false},
               {kRed, cxMRUNone, {kRed}, false},
               {kBlue, cxMRUInserted, {kBlue, kRed}, false},
               {kLime, cxMRUInserted, {kLime, kBlue, kRed}, false},
               {kRed, cxMRUMovedToFront, {kRed, kLime, kBlue}, true},
               {0x123456, cxMRUNone, {kRed, kLime, kBlue}, false}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.color);
    changes = 0;
    EXPECT_EQ(s.code, p.AddMRUColor(s.color));
    EXPECT_EQ(s.mru, ColorsOf(p.GetMRUColors()));
    EXPECT_EQ(s.notifies, changes > 0);
  }
  EXPECT_EQ(4, added);
  EXPECT_EQ(kLime, p.GetItems()->GetColorAt(9, 0)) << "the items stay as they were";

  EXPECT_EQ(cxMRURemoved, p.DelMRUColor(kLime));
  EXPECT_EQ(cxMRUNone, p.DelMRUColor(kLime));
  EXPECT_EQ(1, deleted);

  p.AddMRUColor(kLime);
  deleted = 0;
  p.SetMaxMRUColors(2);
  EXPECT_EQ((std::vector<TColor>{kLime, kRed}), ColorsOf(p.GetMRUColors())) << "lowering the limit trims";
  EXPECT_EQ(1, deleted);
  EXPECT_EQ(cxMRUInserted, p.AddMRUColor(kAqua));
  EXPECT_EQ((std::vector<TColor>{kAqua, kLime}), ColorsOf(p.GetMRUColors())) << "the oldest drops out";
  EXPECT_EQ(2, deleted);

  p.SetMaxMRUColors(0);
  EXPECT_EQ(0, p.MRUCount());
  EXPECT_EQ(cxMRUNone, p.AddMRUColor(kRed));
  EXPECT_EQ(0, p.MRUCount()) << "a limit of 0 switches the section off";
}

// Moving toward the front takes the item before the insertion shifts it:
// read after it, the move copied the item that landed on the old index.
TEST(ColorComboProperties, MoveTakesTheItemItself) {
  const struct {
    int from;
    int to;
    std::vector<TColor> result;
  } cases[] = {{2, 0, {kBlue, kRed, kLime}},
               {1, 0, {kLime, kRed, kBlue}},
               {2, 1, {kRed, kBlue, kLime}},
               {1, 1, {kRed, kLime, kBlue}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << "->" << c.to);
    TcxColorComboBoxItems items(nullptr);
    items.AddColor(kRed, "red");
    items.AddColor(kLime, "lime");
    items.AddColor(kBlue, "blue")->IsCustom = false;
    items.Move(c.from, c.to);
    EXPECT_EQ(c.result, ColorsOf(&items));
    const int blue = items.IndexOfColor(kBlue);
    EXPECT_EQ("blue", items.GetItem(blue)->GetDescription());
    EXPECT_FALSE(items.GetItem(blue)->IsCustom) << "the moved item keeps its kind";
  }
  TcxColorComboBoxProperties p(nullptr);
  p.PrepareList = cxplHTML4;
  p.SetPrepareInfo("x");
  for (TColor color : {kRed, kLime, kBlue})
    p.AddMRUColor(color);
  EXPECT_EQ(cxMRUMovedToFront, p.AddMRUColor(kRed));
  EXPECT_EQ((std::vector<TColor>{kRed, kBlue, kLime}), ColorsOf(p.GetMRUColors()));
}

TEST(ColorComboProperties, AssignCopiesSettingsAndBothSections) {
  TcxColorComboBoxProperties source(nullptr);
  source.PrepareList = cxplHTML4;
  source.SetPrepareInfo("x");
  source.AddMRUColor(kRed);
  source.SetColorBoxWidth(12);
  source.SetNamingConvention(cxncHTML4);
  source.SetAllowSelectColor(true);
  source.ColorDialogType = cxcdtCustom;
  TcxColorComboBoxProperties target(nullptr);
  target.Assign(&source);
  EXPECT_EQ(16, target.GetItems()->GetCount());
  EXPECT_EQ(std::vector<TColor>{kRed}, ColorsOf(target.GetMRUColors()));
  EXPECT_EQ(12, target.GetColorBoxWidth());
  EXPECT_EQ(cxncHTML4, target.GetNamingConvention());
  EXPECT_TRUE(target.GetAllowSelectColor());
  EXPECT_EQ(cxcdtCustom, target.ColorDialogType);
  EXPECT_EQ(cxplHTML4, target.PrepareList);
}

// ---- In a window ----

// Records what the editor posts.
class TRecordingBinding : public TcxEditDataBinding {
public:
  TRecordingBinding(TcxCustomEdit* AEdit, std::vector<Variant>& APosted)
      : TcxEditDataBinding(AEdit), FPosted(APosted) {}
  void SetStoredValue(const Variant& Value) override { FPosted.push_back(Value); }

private:
  std::vector<Variant>& FPosted;
};

class TRecordingColorCombo : public TcxColorComboBox {
public:
  using TcxColorComboBox::TcxColorComboBox;
  std::vector<Variant> Posted;
  std::unique_ptr<TcxEditDataBinding> CreateDataBinding() override {
    return std::make_unique<TRecordingBinding>(this, Posted);
  }
};

using TColorForm = TDropDownForm<TRecordingColorCombo>;

void PrepareHTML(TColorForm& f) {
  TcxColorComboBoxProperties* p = f.edit->GetProperties();
  p->PrepareList = cxplHTML4;
  p->SetPrepareInfo("x");
}

TEST(ColorComboBox, AValueShowsItsRowNameAndSample) {
  TColorForm f(50, 180);
  PrepareHTML(f);
  f.Show();
  f.edit->SetColorValue(kRed);
  PumpFor(20);
  EXPECT_EQ(Variant(int(kRed)), f.edit->GetEditValueRef());
  EXPECT_EQ(5, f.edit->GetItemIndex());
  auto* info = static_cast<TcxCustomColorComboBoxViewInfo*>(f.edit->GetViewInfo());
  EXPECT_TRUE(info->HasColor);
  EXPECT_EQ("clRed", info->Text);
  EXPECT_EQ(30, info->ColorBoxRect.Width());
  const TCapture capture = TCapture::Paint(f.form->GetHandle());
  const TRect box = info->ColorBoxRect;
  const int x = f.edit->GetLeft() + (box.left + box.right) / 2;
  const int y = f.edit->GetTop() + (box.top + box.bottom) / 2;
  EXPECT_EQ(RGB(255, 0, 0), capture.Pixel(x, y)) << "the sample shows the colour";

  f.edit->SetEditValue(Variant("not a colour"));
  PumpFor(20);
  EXPECT_FALSE(info->HasColor);
  EXPECT_EQ("Color not selected", info->Text);
  EXPECT_EQ(clWindow, info->Color);
  f.edit->GetProperties()->SetDefaultColorStyle(cxdcText);
  PumpFor(20);
  EXPECT_EQ(0, info->ColorBoxRect.Width()) << "the text style draws no sample";
}

// The sample of a value that is no colour, by the default colour style.
TEST(ColorComboBox, DefaultColorStylesPaintTheSample) {
  const struct {
    TcxDefaultColorStyle style;
    int blue;  // pixels of the default colour in the interior: -1 none, 1 all, 0 some
    int white; // the same for the background
  } cases[] = {{cxdcClear, -1, 1}, {cxdcColor, 1, -1}, {cxdcHatched, 0, 0}, {cxdcCustom, -1, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    TColorForm f(50, 180);
    PrepareHTML(f);
    TcxColorComboBoxProperties* p = f.edit->GetProperties();
    p->SetDefaultColor(kBlue);
    p->SetDefaultColorStyle(c.style);
    p->OnGetDefaultColor = [](TObject*, TColor& AColor) { AColor = kLime; };
    f.Show();
    f.edit->SetEditValue(Variant("no colour"));
    PumpFor(20);
    auto* info = static_cast<TcxCustomColorComboBoxViewInfo*>(f.edit->GetViewInfo());
    ASSERT_FALSE(info->HasColor);
    EXPECT_EQ("Color not selected", info->Text);
    TRect interior = info->ColorBoxRect;
    InflateRect(&interior, -2, -2);
    OffsetRect(&interior, f.edit->GetLeft(), f.edit->GetTop());
    const int area = interior.Width() * interior.Height();
    ASSERT_GT(area, 0);
    const TCapture capture = TCapture::Paint(f.form->GetHandle());
    auto expectShare = [&](COLORREF AColor, int AShare, const char* AName) {
      const int count = capture.CountPixels(interior, AColor);
      const int expected = AShare < 0 ? 0 : area;
      if (AShare != 0) {
        EXPECT_EQ(expected, count) << AName;
      } else {
        EXPECT_TRUE(count > 0 && count < area) << AName << " " << count;
      }
    };
    expectShare(RGB(0, 0, 255), c.blue, "default colour");
    expectShare(RGB(255, 255, 255), c.white, "background");
    if (c.style == cxdcCustom) expectShare(RGB(0, 255, 0), 1, "the handler's colour");
  }
}

TEST(ColorComboBox, SampleSideAndWidth) {
  TColorForm f(50, 180);
  PrepareHTML(f);
  f.Show();
  f.edit->SetColorValue(kRed);
  PumpFor(20);
  auto* info = static_cast<TcxCustomColorComboBoxViewInfo*>(f.edit->GetViewInfo());
  const TRect left = info->ColorBoxRect;
  const TRect text = info->ClientRect;
  EXPECT_EQ(left.right, text.left) << "the text begins where the sample ends";
  f.edit->GetProperties()->SetColorBoxAlign(cbaRight);
  PumpFor(20);
  EXPECT_EQ(left.left + text.Width(), info->ColorBoxRect.left);
  EXPECT_EQ(info->ColorBoxRect.left, info->ClientRect.right);
  EXPECT_EQ(left.Width(), info->ColorBoxRect.Width());
  f.edit->GetProperties()->SetShowDescriptions(false);
  PumpFor(20);
  EXPECT_EQ(left.left, info->ColorBoxRect.left) << "without names the sample fills the editor";
  EXPECT_EQ(left.left + left.Width() + text.Width(), info->ColorBoxRect.right);
  EXPECT_EQ("", info->Text);
  f.edit->GetProperties()->SetShowDescriptions(true);
  f.edit->GetProperties()->SetColorBoxWidth(50);
  PumpFor(20);
  EXPECT_EQ(50, info->ColorBoxRect.Width());
}

TEST(ColorComboBox, DeleteClearsTheValueAndPostsWhenImmediate) {
  for (bool immediate : {false, true}) {
    SCOPED_TRACE(immediate);
    TColorForm f;
    PrepareHTML(f);
    f.edit->GetProperties()->ImmediatePost = immediate;
    int changes = 0;
    f.edit->GetProperties()->OnEditValueChanged = [&](TObject*) { ++changes; };
    f.Show();
    f.edit->SetColorValue(kBlue);
    f.Focus();
    changes = 0;
    PressKey(VK_DELETE);
    ASSERT_TRUE(PumpUntil([&] { return f.edit->GetEditValueRef().IsNull(); }, 2000));
    EXPECT_EQ(-1, f.edit->GetItemIndex());
    EXPECT_EQ(1, changes);
    EXPECT_EQ("Color not selected", f.edit->GetViewInfo()->Text);
    if (immediate) {
      ASSERT_EQ(1u, f.edit->Posted.size());
      EXPECT_TRUE(f.edit->Posted[0].IsNull());
    } else {
      EXPECT_TRUE(f.edit->Posted.empty());
      EXPECT_TRUE(f.edit->GetModifiedSinceEnter());
    }
  }
}

TEST(ColorComboBox, ReadOnlyRefusesDelete) {
  TColorForm f;
  PrepareHTML(f);
  f.edit->GetProperties()->SetReadOnly(true);
  f.Show();
  f.edit->SetColorValue(kBlue);
  f.Focus();
  PressKey(VK_DELETE);
  PumpFor(100);
  EXPECT_EQ(Variant(int(kBlue)), f.edit->GetEditValueRef());
}

TEST(ColorComboBox, AColourPickedInTheListHeadsTheMRUSection) {
  TColorForm f;
  PrepareHTML(f);
  f.edit->GetProperties()->SetMaxMRUColors(2);
  f.Show();
  f.Focus();
  int deleted = 0;
  f.edit->GetProperties()->OnDeletedMRUColor = [&](TObject*) { ++deleted; };
  // Each pick: open, step down to the row, Enter.
  const struct {
    int steps;
    TColor color;
  } picks[] = {{5, kRed}, {10, kLime}, {15, kBlue}};
  for (const auto& pick : picks) {
    PressKey(VK_F4);
    ASSERT_TRUE(f.WaitOpen());
    PressKey(VK_HOME);
    for (int i = 0; i < pick.steps; ++i)
      PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_TRUE(f.WaitOpen(false));
    PumpFor(20);
    EXPECT_EQ(Variant(int(pick.color)), f.edit->GetEditValueRef());
    EXPECT_EQ(pick.color, f.edit->GetColorValue());
    EXPECT_EQ(pick.color, f.edit->GetProperties()->GetMRUColors()->GetColorAt(0, 0));
    EXPECT_EQ(0, f.edit->GetItemIndex()) << "the current row is the colour's MRU row";
  }
  EXPECT_EQ((std::vector<TColor>{kBlue, kLime}), ColorsOf(f.edit->GetProperties()->GetMRUColors()));
  EXPECT_EQ(1, deleted);
}

// Types the colour into the common dialog's red, green and blue fields.
void SetDialogColor(HWND ADialog, int R, int G, int B) {
  const int ids[] = {COLOR_RED, COLOR_GREEN, COLOR_BLUE};
  const int values[] = {R, G, B};
  for (int i = 0; i < 3; ++i)
    SetDlgItemTextA(ADialog, ids[i], IntToStr(values[i]).c_str());
}

struct TDialogCase {
  TColorForm f;
  TDialogCase() {
    PrepareHTML(f);
    f.edit->GetProperties()->SetAllowSelectColor(true);
    f.Show();
    f.Focus();
    f.edit->SetColorValue(kRed);
  }
  void ClickDialogButton() {
    ASSERT_EQ(2, f.edit->GetViewInfo()->ButtonCount());
    const TRect& r = f.edit->GetViewInfo()->ButtonsInfo[1]->Bounds;
    guitest::ClickAt(f.edit->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PumpFor(50);
  }
};

TEST(ColorComboBox, ACancelledDialogChangesNothing) {
  TDialogCase c;
  bool focusedWhileOpen = false;
  guitest::AnswerNextModal([&](HWND dialog) {
    focusedWhileOpen = c.f.edit->IsColorDialogOpen() && c.f.edit->IsFocused();
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  c.ClickDialogButton();
  EXPECT_FALSE(guitest::AnswerPending()) << "the dialog opened";
  EXPECT_TRUE(focusedWhileOpen) << "the editor counts as focused while its dialog is open";
  EXPECT_FALSE(c.f.edit->IsColorDialogOpen());
  EXPECT_EQ(16, c.f.edit->GetProperties()->GetItems()->GetCount());
  EXPECT_EQ(0, c.f.edit->GetProperties()->MRUCount());
  EXPECT_EQ(Variant(int(kRed)), c.f.edit->GetEditValueRef());
  EXPECT_TRUE(c.f.edit->Posted.empty());
}

TEST(ColorComboBox, AChosenColourEntersTheItemsAndTheMRUSection) {
  TDialogCase c;
  int editing = 0;
  c.f.edit->OnEditing = [&](TObject*, bool&) { ++editing; };
  guitest::AnswerNextModal([&](HWND dialog) {
    SetDialogColor(dialog, 18, 52, 86);
    PumpFor(50);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  c.ClickDialogButton();
  ASSERT_FALSE(guitest::AnswerPending());
  PumpFor(20);
  constexpr TColor chosen = 0x563412;
  TcxColorComboBoxProperties* p = c.f.edit->GetProperties();
  ASSERT_EQ(17, p->GetItems()->GetCount());
  TcxColorComboBoxItem* item = p->GetItems()->GetItem(16);
  EXPECT_EQ(chosen, item->GetColor());
  EXPECT_TRUE(item->IsCustom);
  EXPECT_EQ(chosen, p->GetMRUColors()->GetColorAt(0, 0));
  EXPECT_EQ(Variant(int(chosen)), c.f.edit->GetEditValueRef());
  EXPECT_EQ(chosen, c.f.edit->GetColorValue());
  EXPECT_EQ(0, c.f.edit->GetItemIndex());
  EXPECT_GE(editing, 1) << "QueryEditing is asked";
  ASSERT_FALSE(c.f.edit->Posted.empty());
  EXPECT_EQ(Variant(int(chosen)), c.f.edit->Posted.back());
}

TEST(ColorComboBox, CustomDialogTypeWithoutHandlerAddsNone) {
  TDialogCase c;
  c.f.edit->GetProperties()->ColorDialogType = cxcdtCustom;
  c.ClickDialogButton();
  TcxColorComboBoxProperties* p = c.f.edit->GetProperties();
  ASSERT_EQ(17, p->GetItems()->GetCount());
  EXPECT_EQ(clNone, p->GetItems()->GetItem(16)->GetColor());
  EXPECT_TRUE(p->GetItems()->GetItem(16)->IsCustom);
  EXPECT_EQ(Variant(int(clNone)), c.f.edit->GetEditValueRef());
}

TEST(ColorComboBox, TheHandlerSuppliesTheColourAndMayKeepItOutOfTheList) {
  TDialogCase c;
  TcxColorComboBoxProperties* p = c.f.edit->GetProperties();
  p->ColorDialogType = cxcdtCustom;
  TObject* sender = nullptr;
  p->OnSelectCustomColor = [&](TObject* Sender, TColor& AColor, String& ADescription, bool& AddToList) {
    sender = Sender;
    AColor = 0x00ABCDEF;
    ADescription = "mine";
    AddToList = false;
  };
  c.ClickDialogButton();
  EXPECT_EQ(c.f.edit, sender);
  EXPECT_EQ(16, p->GetItems()->GetCount());
  EXPECT_EQ(0, p->MRUCount());
  EXPECT_EQ(-1, c.f.edit->GetItemIndex()) << "not added: no row holds the colour";
  p->OnSelectCustomColor = [&](TObject*, TColor& AColor, String& ADescription, bool&) {
    AColor = 0x00ABCDEF;
    ADescription = "mine";
  };
  p->SetNamingConvention(cxncNone);
  c.ClickDialogButton();
  ASSERT_EQ(17, p->GetItems()->GetCount());
  EXPECT_EQ("mine", p->GetItems()->GetItem(16)->GetDescription());
  EXPECT_EQ("mine", c.f.edit->GetViewInfo()->Text);
}

// ---- The open list per look ----

void ShowOpenList(const TLook& ALook, const String& ASuffix) {
  TColorForm f(50, 200);
  TcxColorComboBoxProperties* p = f.edit->GetProperties();
  p->PrepareList = cxplHTML4;
  p->SetPrepareInfo("x");
  p->AddMRUColor(kBlue);
  p->AddMRUColor(kRed);
  p->SetAllowSelectColor(true);
  f.edit->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
  f.edit->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
  f.Show();
  f.Focus();
  f.edit->SetColorValue(kRed);
  PressKey(VK_F4);
  ASSERT_TRUE(f.WaitOpen());
  PumpFor(50);
  const TCapture editor = TCapture::Paint(f.form->GetHandle());
  editor.SavePng(String("colorcombo-") + ALook.name + ASuffix);
  TcxCustomEditListBox* list = f.edit->GetColorLookupData()->GetList();
  ASSERT_NE(nullptr, list);
  const TCapture popup = TCapture::Paint(f.Popup()->GetHandle());
  popup.SavePng(String("colorcombo-open-") + ALook.name + ASuffix);
  // The list's rows: Red and Blue first, a double line under them, then the
  // items; each sample shows its colour.
  const TPoint origin = f.Popup()->ScreenToClient(list->ClientToScreen(TPoint(0, 0)));
  const int rowHeight = list->GetItemHeight(2);
  const struct {
    int row;
    COLORREF color;
  } rows[] = {{0, RGB(255, 0, 0)}, {1, RGB(0, 0, 255)}, {2, RGB(0, 0, 0)}, {2 + 5, RGB(255, 0, 0)}};
  for (const auto& r : rows) {
    RECT item;
    SendMessageA(list->GetHandle(), LB_GETITEMRECT, r.row, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(r.color, popup.Pixel(origin.x + item.left + 15, origin.y + item.top + rowHeight / 2 - 1))
        << "row " << r.row;
  }
  RECT last;
  SendMessageA(list->GetHandle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&last));
  EXPECT_EQ(rowHeight + 3, last.bottom - last.top) << "the last MRU row makes room for the double line";
  const int x = origin.x + last.left + 60;
  EXPECT_EQ(popup.Pixel(x, origin.y + last.bottom - 1), popup.Pixel(x, origin.y + last.bottom - 3));
  EXPECT_NE(popup.Pixel(x, origin.y + last.bottom - 1), popup.Pixel(x, origin.y + last.bottom - 2));
  PressKey(VK_ESCAPE);
  f.WaitOpen(false);
}

TEST(ColorComboGallery, OpenListPerLookWithTheStyleOn) {
  for (const TLook& look : kLooks) {
    SCOPED_TRACE(look.name);
    ShowOpenList(look, "-style-on");
  }
}

TEST(ColorComboGalleryStyleOff, OpenListPerLookWithTheStyleOff) {
  for (const TLook& look : kLooks) {
    SCOPED_TRACE(look.name);
    ShowOpenList(look, "-style-off");
  }
}

} // namespace
