// The radio group's settings and layout without windows: items and
// values, the layout of the items in columns, capabilities and the
// registration, the caption following the name.
#include "cxRadioGroup.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

// A view data with a fixed client extent, as a given font would make it.
class TFixedExtentViewData : public TcxCustomRadioGroupViewData {
public:
  using TcxCustomRadioGroupViewData::TcxCustomRadioGroupViewData;
  void GetClientExtent(TcxCustomEditViewInfo*, TRect& R) override { R = TRect(2, 16, 2, 2); }
};

std::unique_ptr<TcxCustomRadioGroupViewInfo> LayOut(TcxRadioGroupProperties& AProps, const TRect& ABounds) {
  TcxCustomEditStyle style(nullptr, false);
  TFixedExtentViewData data(&AProps, &style, false);
  auto info = std::make_unique<TcxCustomRadioGroupViewInfo>();
  TDrawSurface surface(10, 10);
  data.CalculateButtons(surface.Canvas(), ABounds, TPoint(-1, -1), 0, TShiftState(), info.get(), false);
  return info;
}

// ---- Layout ----

TEST(RadioGroup, ThreeItemsFillOneColumnOfTheFrame) {
  TcxRadioGroupProperties props(nullptr);
  for (const char* caption : {"a", "b", "c"})
    props.GetItems()->Add()->SetCaption(caption);
  const auto info = LayOut(props, TRect(0, 0, 185, 105));
  ASSERT_EQ(3, info->ButtonCount());
  EXPECT_EQ(TRect(8, 14, 183, 43), info->Item(0)->Bounds);
  EXPECT_EQ(TRect(8, 43, 183, 72), info->Item(1)->Bounds);
  EXPECT_EQ(TRect(8, 72, 183, 101), info->Item(2)->Bounds);
}

TEST(RadioGroup, ItemsFillColumnsTopToBottom) {
  const struct {
    int items, columns;
    std::vector<std::pair<int, int>> places; // column, row of each item
    int width;
  } kCases[] = {
      {5, 2, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}}, (300 - 4 - 6) / 2},
      {2, 3, {{0, 0}, {1, 0}}, (300 - 4 - 6) / 2},
      {3, 0, {{0, 0}, {0, 1}, {0, 2}}, 300 - 4 - 6},
  };
  for (const auto& c : kCases) {
    TcxRadioGroupProperties props(nullptr);
    props.SetColumns(c.columns);
    for (int i = 0; i < c.items; ++i)
      props.GetItems()->Add()->SetCaption("item");
    const auto info = LayOut(props, TRect(0, 0, 300, 120));
    for (int i = 0; i < c.items; ++i) {
      EXPECT_EQ(c.places[i].first, info->Item(i)->Column) << c.items << " " << i;
      EXPECT_EQ(c.places[i].second, info->Item(i)->Row) << c.items << " " << i;
      EXPECT_EQ(c.width, info->Item(i)->Bounds.Width()) << c.items << " " << i;
    }
  }
}

TEST(RadioGroup, SettingsCapabilitiesAndRegistration) {
  TcxRadioGroupProperties props(nullptr);
  EXPECT_EQ(207, props.GetCapabilities());
  props.GetItems()->Add()->SetCaption("one");
  EXPECT_EQ(223, props.GetCapabilities());
  props.SetColumns(-3);
  EXPECT_EQ(1, props.GetColumns());
  EXPECT_EQ("", props.GetDefaultCaption());
  EXPECT_FALSE(props.IsDefaultCaptionStored());
  TcxRegisteredClasses* registry = EditPropertiesRegistry();
  const int index = registry->IndexOf(typeid(TcxRadioGroupProperties));
  ASSERT_GE(index, 0);
  EXPECT_EQ("RadioGroup|Represents a group of radio buttons", registry->GetDescription(index));
}

// ---- Values ----

TEST(RadioGroup, ItemsSelectByValueOrByCaption) {
  TcxRadioGroupProperties props(nullptr);
  props.GetItems()->Add()->SetCaption("Alpha");
  TcxRadioGroupItem* valued = props.GetItems()->Add();
  valued->SetCaption("Beta");
  valued->SetValue(7);
  props.SetDefaultCaption("none");
  const struct {
    Variant value;
    int index;
    const char* text;
  } kCases[] = {{"Alpha", 0, "Alpha"},
                {"alpha", -1, "none"},
                {7, 1, "Beta"},
                {"Beta", -1, "none"},
                {Null(), -1, "none"}};
  for (const auto& c : kCases) {
    Variant display;
    props.EditValueToDisplayValue(c.value, display, false);
    EXPECT_EQ(c.index, display.AsInteger()) << c.value.AsString();
    String text;
    props.EditValueToDisplayText(c.value, false, text);
    EXPECT_EQ(c.text, text);
  }
}

TEST(RadioGroup, TheCaptionFollowsTheNameUntilSet) {
  TcxRadioGroup group(nullptr);
  group.SetName("first");
  EXPECT_EQ("first", group.GetCaption());
  group.SetCaption("Mine");
  group.SetName("second");
  EXPECT_EQ("Mine", group.GetCaption());
}

} // namespace
