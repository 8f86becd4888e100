// The colour name tables in their fixed orders, the lookups that take the
// first match, the texts of colours without a name, and the extended
// container style assigning its defaults explicitly.
#include "cxExtEditConsts.h"

#include "EditTest.h"

#include "DrawTest.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ColorTables, SizesOrdersAndKnownEntries) {
  ASSERT_EQ(52u, cxColorConstTable().size());
  ASSERT_EQ(16u, cxHTML4ColorTable().size());
  ASSERT_EQ(140u, cxX11ColorTable().size());
  ASSERT_EQ(140u, cxX11OrderedColorTable().size());
  const struct {
    std::span<const TcxColorNameEntry> table;
    size_t index;
    const char* name;
    TColor color;
  } cases[] = {{cxColorConstTable(), 0, "clBlack", clBlack},
               {cxColorConstTable(), 16, "clMoneyGreen", 0xC0DCC0},
               {cxColorConstTable(), 29, "clDefault", 0x20000000},
               {cxColorConstTable(), 45, "clNone", 0x1FFFFFFF},
               {cxColorConstTable(), 51, "clWindowText", static_cast<TColor>(0xFF000008)},
               {cxHTML4ColorTable(), 0, "Black", 0},
               {cxHTML4ColorTable(), 7, "Fuchsia", 0xFF00FF},
               {cxHTML4ColorTable(), 15, "Aqua", 0xFFFF00},
               {cxX11ColorTable(), 0, "AliceBlue", 0xFFF8F0},
               {cxX11ColorTable(), 68, "LightGrey", 0xD3D3D3},
               {cxX11ColorTable(), 139, "YellowGreen", 0x32CD9A},
               {cxX11OrderedColorTable(), 0, "LightPink", 0xC1B6FF},
               {cxX11OrderedColorTable(), 139, "Black", 0}};
  for (const auto& k : cases) {
    EXPECT_EQ(k.name, k.table[k.index].Name);
    EXPECT_EQ(k.color, k.table[k.index].Color) << k.name;
  }
  // The first sixteen constants carry the HTML colours' values.
  for (size_t i = 0; i < 16; ++i) {
    String name;
    ASSERT_TRUE(FindHTML4ColorName(cxColorConstTable()[i].Color, name));
    EXPECT_EQ("cl" + name, cxColorConstTable()[i].Name);
  }
}

TEST(ColorTables, X11TablesHoldTheSameColoursAlphabeticalAndByHue) {
  std::set<std::pair<String, TColor>> alphabetical;
  for (size_t i = 0; i < cxX11ColorTable().size(); ++i) {
    const TcxColorNameEntry& entry = cxX11ColorTable()[i];
    alphabetical.insert({entry.Name, entry.Color});
    if (i > 0) {
      EXPECT_LT(CompareText(cxX11ColorTable()[i - 1].Name, entry.Name), 0) << entry.Name;
    }
  }
  std::set<std::pair<String, TColor>> byHue;
  for (const TcxColorNameEntry& entry : cxX11OrderedColorTable())
    byHue.insert({entry.Name, entry.Color});
  EXPECT_EQ(alphabetical, byHue);
  EXPECT_EQ(140u, alphabetical.size());
}

TEST(ColorTables, LookupsTakeTheFirstMatchAndLeaveTheNameWithoutOne) {
  const struct {
    TColor color;
    TcxColorNamingConvention convention;
    TcxColorValueFormat format;
    const char* name;
  } cases[] = {
      {0xFFFF00, cxncX11, cxcvRGB, "Aqua"},         {0xFF00FF, cxncX11, cxcvRGB, "Fuchsia"},
      {clWindow, cxncKorvel, cxcvRGB, "clWindow"},  {clWindow, cxncHTML4, cxcvInteger, "-16777211"},
      {clRed, cxncHTML4, cxcvRGB, "Red"},           {0x123456, cxncKorvel, cxcvHexadecimal, "563412"},
      {0x123456, cxncNone, cxcvRGB, "description"}, {clNone, cxncKorvel, cxcvRGB, "clNone"}};
  for (const auto& k : cases) {
    String name = "old";
    GetColorName(k.color, "description", k.convention, k.format, name);
    EXPECT_EQ(k.name, name) << k.color;
  }
  String name = "kept";
  EXPECT_FALSE(FindX11ColorName(clWindow, name));
  EXPECT_FALSE(FindHTML4ColorName(0x123456, name));
  EXPECT_FALSE(FindColorConstName(0x123456, name));
  EXPECT_EQ("kept", name);
  GetColorName(clRed, "", cxncNone, cxcvRGB, name);
  EXPECT_EQ("", name);
}

TEST(ColorTables, ValueFormats) {
  const struct {
    TColor color;
    TcxColorValueFormat format;
    const char* text;
  } cases[] = {{clRed, cxcvRGB, "255.0.0"},           {clRed, cxcvHexadecimal, "FF0000"},
               {clRed, cxcvInteger, "255"},           {clNone, cxcvRGB, "255.255.255"},
               {0x0A0B0C, cxcvHexadecimal, "0C0B0A"}, {0x0A0B0C, cxcvRGB, "12.11.10"},
               {clWindow, cxcvInteger, "-16777211"},  {clBlack, cxcvRGB, "0.0.0"}};
  for (const auto& k : cases) {
    String text;
    FormatColorValue(k.color, k.format, text);
    EXPECT_EQ(k.text, text) << k.color;
  }
  // A system colour is shown as its colour now.
  TSysColorScope window(COLOR_WINDOW, RGB(1, 2, 3));
  String text;
  FormatColorValue(clWindow, cxcvRGB, text);
  EXPECT_EQ("1.2.3", text);
  GetColorName(clWindow, "", cxncHTML4, cxcvRGB, text);
  EXPECT_EQ("1.2.3", text);
}

TEST(ExtContainerStyle, RestoringDefaultsAssignsEachDefaultExplicitly) {
  TcxExtContainerStyle style(nullptr, false);
  int changes = 0;
  style.OnChanged = [&](TObject*) { ++changes; };
  style.SetBorderColor(clRed);
  style.SetShadow(true);
  changes = 0;
  style.RestoreDefaults();
  EXPECT_EQ(style.GetDefaultBorderColor(), style.GetBorderColor());
  EXPECT_FALSE(style.GetShadow());
  const TcxContainerStyleValues assigned = style.GetAssignedValues();
  for (TcxContainerStyleValue v :
       {csvBorderColor, csvBorderStyle, csvColor, csvEdges, csvHotTrack, csvShadow})
    EXPECT_TRUE(assigned.Contains(v)) << v;
  EXPECT_FALSE(assigned.Contains(csvTransparentBorder));
  EXPECT_GE(changes, 6);
}

} // namespace
