#include "SyntaxEd_settings.h"

#include "KeywordsFixture.h"
#include "SyntaxEd_streamio.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TColor FixedSysColor(int index) {
  return index == COLOR_HIGHLIGHT_INDEX ? 0x00112233 : 0x00445566;
}

class SettingsTest : public ::testing::Test {
protected:
  SettingsTest() { SetSysColorFunc(FixedSysColor); }
  ~SettingsTest() override { SetSysColorFunc(nullptr); }

  static String Saved(const TSM_Settings& s) {
    TMemoryStream m;
    s.SaveToStream(m);
    return String(m.GetMemory(), static_cast<size_t>(m.GetSize()));
  }
  static void Load(TSM_Settings& s, const String& data) {
    TStringStream in(data);
    s.LoadFromStream(in);
    EXPECT_EQ(in.GetPosition(), in.GetSize()) << "the whole stream is read";
  }
  // A settings object with something other than its default in every item.
  static void FillEverything(TSM_Settings& s) {
    s.ExampleText = "select 1;\r";
    s.LanguageName = "SQL";
    s.WrapOverride = ",;";
    s.Options = DefaultSyntaxMemoOptions | SyntaxMemoOptionBit(smoLineNumbers);
    s.MarginWidth = 3;
    s.RightMargin = 72;
    s.WordWrapColumn = 60;
    s.GutterWidth = 40;
    s.IndentStep = 2;
    s.MarginColor = 0x00EEEEEE;
    s.GutterColor = 0x00DDDDDD;
    s.SelTextColor = 0x00CCCCCC;
    s.SelTextBack = 0x00BBBBBB;
    s.TabDefault = 8;
    TSM_StyleRecord keyword;
    keyword.FontStyle = fsBoldBit | fsUnderlineBit;
    keyword.Foreground = 0x00800000;
    keyword.Background = static_cast<TColor>(0xFF000005);
    keyword.SysBackground = true;
    keyword.Hotspot = true;
    keyword.Defined = 1;
    s.SetStyle(7, keyword);
    s.SetTokenStyle(3, 7);
    s.SetTokenStyle(200, 7);
    s.SetEditableStyle(2, {"Keywords", 7});
    s.TabColumns[0] = 8;
    s.TabColumns[1] = 16;
    s.FontName = "Lucida Console";
    s.FontSize = 12;
    s.FontCharSet = 0;
    s.SystemColorMarkers = {true, false, true, false};
    TStateSet states;
    states.set(0);
    states.set(4);
    s.AddKeywordTable(states, "[^a-z]", 0, {{"select", 10}, {"from", 11}});
    s.GetAutoReplace().AddReplacement("teh", "the");
    s.GetCodeTemplates().AddTemplate("sel", "select", "select | from");
    s.GetKeyController().AddBinding(scCtrl | 'T', 0, 99);
    s.GutterFont = {"Tahoma", 9, 0x00808080, fsItalicBit};
  }
};

TEST_F(SettingsTest, DefaultsAndTheirStreamForm) {
  TSM_Settings s;
  EXPECT_EQ(s.LanguageName, "<Custom language>");
  EXPECT_EQ(s.WrapOverride, ">|:");
  EXPECT_EQ(s.Options, 0x03FFDBF0u);
  EXPECT_EQ(s.SelTextColor, 0x00445566);
  EXPECT_EQ(s.SelTextBack, 0x00112233);
  EXPECT_EQ(s.GetKeyController().CommandName(41), "Undo");
  EXPECT_EQ(s.GetKeyController().GetKeyStore().CountBindings(), 48);
  EXPECT_EQ(s.GetKeywords(), nullptr);
  EXPECT_FALSE(s.HasHotspots());

  TStringStream in(Saved(s));
  EXPECT_EQ(ReadLongString(in), "");
  EXPECT_EQ(ReadLongString(in), "<Custom language>");
  EXPECT_EQ(ReadLongString(in), ">|:");
  const int32_t numbers[] = {
      0x03FFDBF0, 2, 80, 0, 34, 1, 0x00FFFFFF, static_cast<int32_t>(0xFF00000F), 0x00445566, 0x00112233, 4};
  for (int32_t n : numbers)
    EXPECT_EQ(ReadInt(in), n);
  EXPECT_EQ(ReadInt(in), 1) << "one defined style";
  // Style number, font style, foreground, background, three flags, defined.
  const uint8_t style0[17] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0};
  uint8_t got[17];
  in.ReadBuffer(got, 17);
  EXPECT_EQ(std::memcmp(got, style0, 17), 0);
  EXPECT_EQ(ReadInt(in), 0) << "token map";
  EXPECT_EQ(ReadInt(in), 0) << "editable styles";
  for (int i = 0; i < 32; ++i)
    EXPECT_EQ(ReadInt(in), -1);
  EXPECT_EQ(ReadLongString(in), "Courier New");
  EXPECT_EQ(ReadInt(in), 10);
  EXPECT_EQ(ReadByte(in), 1);
  EXPECT_EQ(ReadInt(in), 0) << "the four system-colour markers";
  EXPECT_EQ(ReadInt(in), 0) << "keyword tables";
  TAutoReplace a;
  a.LoadFromStream(in);
  EXPECT_EQ(a.GetActionKeys(), DefaultActionKeys);
  TCodeTemplates t;
  t.LoadFromStream(in);
  EXPECT_EQ(t.TriggerKey, scCtrl | 'J');
  TKeyboardActionContoller k;
  k.LoadFromStream(in);
  EXPECT_EQ(ReadLongString(in), "MS Sans Serif");
  EXPECT_EQ(ReadInt(in), 8);
  EXPECT_EQ(ReadByte(in), 0);
  EXPECT_EQ(ReadInt(in), static_cast<int32_t>(0xFF000008));
  EXPECT_EQ(ReadByte(in), 0);
  EXPECT_EQ(in.GetPosition(), in.GetSize());
}

TEST_F(SettingsTest, EveryItemSurvivesARoundTripInBothVersions) {
  for (int32_t version : {50, 51}) {
    TSM_Settings s;
    FillEverything(s);
    s.SetStreamVersion(version);
    const String data = Saved(s);
    TSM_Settings r;
    r.SetStreamVersion(version);
    Load(r, data);
    // The key bindings come back in another order (the same keys still give
    // the same actions); everything else comes back byte for byte.
    TMemoryStream keys;
    s.GetKeyController().SaveToStream(keys);
    const String again = Saved(r);
    ASSERT_EQ(again.size(), data.size());
    const size_t keysAt =
        data.size() - static_cast<size_t>(keys.GetSize()) - (version > 50 ? 4 + 6 + 4 + 1 + 4 + 1 : 0);
    EXPECT_EQ(again.substr(0, keysAt), data.substr(0, keysAt)) << version;
    EXPECT_EQ(again.substr(keysAt + static_cast<size_t>(keys.GetSize())),
              data.substr(keysAt + static_cast<size_t>(keys.GetSize())));
    EXPECT_EQ(r.LanguageName, "SQL");
    EXPECT_EQ(r.GetStyle(7).Background, static_cast<TColor>(0xFF000005));
    EXPECT_TRUE(r.GetStyle(7).SysBackground);
    EXPECT_TRUE(r.HasHotspots());
    EXPECT_EQ(r.TokenStyle(200), 7);
    EXPECT_EQ(r.GetEditableStyle(1).Name, "Keywords") << "entries are packed from the first";
    EXPECT_EQ(r.TabColumn(1), 16);
    EXPECT_EQ(r.TabColumn(2), -1);
    EXPECT_EQ((std::array<bool, 4>{true, false, true, false}), r.SystemColorMarkers);
    String expansion;
    EXPECT_TRUE(r.GetCodeTemplates().FindTemplate("sel", expansion));
    EXPECT_TRUE(r.GetAutoReplace().FindTemplate("teh", expansion));
    TShortCut first, second;
    EXPECT_TRUE(r.GetKeyController().FindFirstKeys(99, first, second));
    ASSERT_NE(r.GetKeywords(), nullptr);
    if (version == 51) {
      EXPECT_EQ(r.GutterFont.Name, "Tahoma");
      EXPECT_EQ(r.GutterFont.Style, fsItalicBit);
    } else {
      EXPECT_EQ(r.GutterFont.Name, "MS Sans Serif") << "no gutter font before version 51";
    }
  }
  TSM_Settings s;
  FillEverything(s);
  s.SetStreamVersion(50);
  const size_t v50 = Saved(s).size();
  s.SetStreamVersion(51);
  EXPECT_EQ(Saved(s).size(), v50 + 4 + 6 + 4 + 1 + 4 + 1);
}

TEST_F(SettingsTest, ReadingStartsFromDefaults) {
  TSM_Settings s;
  FillEverything(s);
  const String data = Saved(TSM_Settings());
  Load(s, data);
  EXPECT_EQ(s.TokenStyle(3), 0);
  EXPECT_EQ(s.GetStyle(7).Defined, 0);
  EXPECT_EQ(s.GetKeywords(), nullptr);
  EXPECT_TRUE(s.GetCodeTemplates().GetEntries().empty());
  EXPECT_FALSE(s.HasHotspots());
}

TEST_F(SettingsTest, EditableStylesArePackedAndNamesCut) {
  TSM_Settings s;
  s.SetEditableStyle(3, {"Comments", 2});
  s.SetEditableStyle(7, {String(40, 'n'), 5});
  TSM_Settings r;
  Load(r, Saved(s));
  EXPECT_EQ(r.GetEditableStyle(1).Name, "Comments");
  EXPECT_EQ(r.GetEditableStyle(2).Name, String(25, 'n'));
  EXPECT_EQ(r.GetEditableStyle(2).StyleNumber, 5);
  EXPECT_EQ(r.GetEditableStyle(3).Name, "");
  EXPECT_EQ(r.GetEditableStyle(51).Name, "") << "no entry past 50";
}

TEST_F(SettingsTest, KeywordTablesReplaceOrRefuseByState) {
  TSM_Settings s;
  TStateSet none, one, oneTwo;
  one.set(1);
  oneTwo.set(1);
  oneTwo.set(2);
  s.AddKeywordTable(none, "", 0, {{"begin", 1}});
  s.AddKeywordTable(one, "[ ]", 1, {{"End", 2}});
  s.AddKeywordTable(one, "[ ]", 0, {{"end", 3}, {"", 9}});
  ASSERT_NE(s.GetKeywordTable(1), nullptr);
  EXPECT_EQ(s.GetKeywordTable(1)->Words.front().Value, 3) << "equal states replace the table";
  EXPECT_EQ(s.GetKeywordTable(2), nullptr);
  EXPECT_TRUE(s.GetKeywordTable(0)->States.test(0)) << "no states means state 0";
  try {
    s.AddKeywordTable(oneTwo, "", 0, {{"x", 4}});
    ADD_FAILURE() << "no error";
  } catch (const EKeywords& e) {
    EXPECT_EQ(e.Message, "Ambigious key table state definition");
  }
  for (int state = 2; state <= 20; ++state) {
    TStateSet st;
    st.set(static_cast<size_t>(state));
    s.AddKeywordTable(st, "", 0, {{"w" + IntToStr(state), state}});
  }
  TStateSet last;
  last.set(99);
  try {
    s.AddKeywordTable(last, "", 0, {{"y", 5}});
    ADD_FAILURE() << "no error";
  } catch (const EKeywords& e) {
    EXPECT_EQ(e.Message, "Too many keyword tables declared");
  }
  EXPECT_EQ(s.GetKeywordTable(20)->Words.front().Word, "w20");

  TKeywords* k = s.GetKeywords();
  ASSERT_NE(k, nullptr);
  k->ActiveStates = one;
  TTestText text("END x");
  auto stream = text.StreamAt(0);
  int offset, start, length;
  const TKeywordEntry* e = k->MatchWord(*stream, false, true, offset, start, length);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Value, 3);
  k->ActiveStates = none;
  k->ActiveStates.set(0);
  TTestText other("begin;");
  stream = other.StreamAt(0);
  ASSERT_NE(k->MatchWord(*stream, false, true, offset, start, length), nullptr)
      << "an empty specifier lets any character follow";
}

TEST_F(SettingsTest, HotspotsCountOnlyOnDefinedStyles) {
  TSM_Settings s;
  TSM_StyleRecord link;
  link.Hotspot = true;
  s.SetStyle(9, link);
  EXPECT_FALSE(s.HasHotspots());
  link.Defined = 1;
  s.SetStyle(9, link);
  EXPECT_TRUE(s.HasHotspots());
  s.ResetToDefaults();
  EXPECT_FALSE(s.HasHotspots());
}

TEST_F(SettingsTest, ShortStreamRaisesTheReadError) {
  TSM_Settings s;
  FillEverything(s);
  const String data = Saved(s);
  for (size_t cut : {size_t{0}, size_t{30}, data.size() / 2, data.size() - 1}) {
    TSM_Settings r;
    TStringStream in(data.substr(0, cut));
    EXPECT_THROW(r.LoadFromStream(in), EReadError) << cut;
  }
}

TEST(SettingsOptions, BitsFollowTheTable) {
  uint32_t all = 0;
  for (int o = smoSyntaxHighlight; o <= smoShowAllChars; ++o) {
    const uint32_t bit = SyntaxMemoOptionBit(static_cast<TSyntaxMemoOption>(o));
    EXPECT_EQ(all & bit, 0u) << "each option has its own bit";
    all |= bit;
  }
  EXPECT_EQ(all, 0x0FFFFFF1u) << "bits 0x2, 0x4 and 0x8 belong to no option";
  EXPECT_EQ(SyntaxMemoOptionBit(smoCaretAfterEOL), 0x8000000u);
  EXPECT_EQ(SyntaxMemoOptionBit(smoShowAllChars), 0x4000000u);
}

} // namespace
