#include "SyntaxEd_stylestring.h"

#include <gtest/gtest.h>

namespace {

void FillSample(TSM_Settings& s) {
  s.Options = 0x1234;
  s.GutterWidth = 42;
  s.GutterColor = static_cast<TColor>(0xFF00000F);
  s.WordWrapColumn = 72;
  s.IndentStep = 2;
  s.WrapOverride = "a#b";
  s.FontName = "Courier New";
  s.FontSize = 11;
  s.SelTextColor = 0xFFFFFF;
  s.SelTextBack = 12937777;
  s.TabColumns.fill(-1);
  s.TabColumns[0] = 4;
  s.TabColumns[1] = 10;
  s.TabDefault = 3;
  s.SystemColorMarkers = {false, true, false, true};
  s.FontCharSet = 0;
  s.RightMargin = 100;
  s.GutterFont.Name = "Tahoma";
  s.GutterFont.Size = 8;
  s.GutterFont.Color = 255;
  s.GutterFont.Style = fsBoldBit | fsItalicBit | fsStrikeOutBit;
  for (int t = 0; t < 256; ++t)
    s.SetTokenStyle(static_cast<uint8_t>(t), 0);
  s.SetTokenStyle(6, 1);
  TSM_StyleRecord plain;
  s.SetStyle(0, plain);
  TSM_StyleRecord keyword;
  keyword.Defined = 1;
  keyword.Foreground = 0xFF0000;
  keyword.SysBackground = true;
  keyword.FontStyle = fsBoldBit | fsUnderlineBit;
  s.SetStyle(1, keyword);
}

const String kSample =
    "Halvik6:OPT#4#4660GWD#2#42GCL#9#-16777201WRC#2#72IDS#1#2WRO#3#a#bFON#11#Courier New"
    "FOS#2#11STC#8#16777215STB#8#12937777TBC#4#5 11TBD#1#3EFF#26#1,6,16711680,16777215,XBU;"
    "GDF#1#1MDF#1#0SDF#1#1BDF#1#0FOC#1#0RMG#3#100LNN#6#TahomaLNS#1#8LNC#3#255LNT#LNE#3#IBS#END#";

// The sample with one part replaced.
String Changed(const String& from, const String& to) {
  String s = kSample;
  s.replace(s.find(from), from.size(), to);
  return s;
}

} // namespace

TEST(StyleString, FieldsInTheirOrderWithLengths) {
  TSM_Settings s;
  FillSample(s);
  EXPECT_EQ(BuildStyleString(s), kSample);
}

TEST(StyleString, FreshSettingsHaveEveryKey) {
  const String text = BuildStyleString(TSM_Settings());
  for (const char* key : {"OPT#", "GWD#", "EFF#", "LNT#LNE#", "LNE#0##END#"})
    EXPECT_NE(text.find(key), String::npos) << key << " in " << text;
  EXPECT_EQ(text.rfind("Halvik6:OPT#", 0), 0u);
  // Every token of fresh settings has the defined style 0: 256 count as 255.
  EXPECT_NE(text.find("EFF#"), String::npos);
  EXPECT_EQ(text.substr(text.find("EFF#") + 4).find("#255,0,"), text.substr(text.find("EFF#") + 4).find('#'));
}

TEST(StyleString, ReadsBackWhatItWrote) {
  TSM_Settings read;
  for (int t = 0; t < 256; ++t)
    read.SetTokenStyle(static_cast<uint8_t>(t), 0);
  read.SetTokenStyle(6, 1);
  read.SetStyle(0, TSM_StyleRecord{});
  ASSERT_TRUE(ApplyStyleString(read, kSample));
  EXPECT_EQ(BuildStyleString(read), kSample);
}

TEST(StyleString, AppliesNothingFromAStringThatDoesNotParseWhole) {
  const String cases[] = {
      "",
      "Halvik5:" + kSample.substr(8),
      kSample.substr(0, kSample.size() - 1),
      kSample + "x",
      // A length running past the value.
      Changed("FON#11#", "FON#99#"),
      // Numbers that are not whole numbers, tab columns out of order, a
      // default tab width below one, an unknown font style letter.
      Changed("GWD#2#42", "GWD#2#4x"),
      Changed("TBC#4#5 11", "TBC#4#11 5"),
      Changed("TBD#1#3", "TBD#1#0"),
      Changed("LNE#3#IBS", "LNE#3#IBZ"),
  };
  for (const String& text : cases) {
    TSM_Settings s;
    const String before = BuildStyleString(s);
    EXPECT_FALSE(ApplyStyleString(s, text)) << text;
    EXPECT_EQ(BuildStyleString(s), before) << text;
  }
}
