#include "ModelFixture.h"
#include "SqlRulesSupport.h"

#include "DateUtils.h"
#include "SyntaxEd_export.h"

namespace {

// The SQL rules with three styles: plain black on white, reserved words bold
// blue, strings italic red on yellow.
class Export : public ModelTest {
protected:
  Export() : parser(CompileRules(SqlRuleScriptText())) {
    TSM_Settings& s = parser->GetSettings();
    for (int style = 0; style < 256; ++style)
      s.SetStyle(static_cast<uint8_t>(style), TSM_StyleRecord{});
    for (int token = 0; token < 256; ++token)
      s.SetTokenStyle(static_cast<uint8_t>(token), 0);
    for (uint8_t token : {tkReserved, tkDataType, tkFunction, tkKeyword})
      s.SetTokenStyle(token, 1);
    s.SetTokenStyle(tkString, 2);
    s.SetStyle(0, Style(0, 0x000000, 0xFFFFFF));
    s.SetStyle(1, Style(fsBoldBit, 0xFF0000, 0xFFFFFF));
    s.SetStyle(2, Style(fsItalicBit, 0x0000FF, 0x00FFFF));
    s.FontName = "Courier New";
    s.FontSize = 10;
    model.AttachParser(1, parser.get());
  }
  ~Export() override { model.AttachParser(1, nullptr); }

  static TSM_StyleRecord Style(uint8_t fontStyle, TColor fore, TColor back) {
    TSM_StyleRecord r;
    r.FontStyle = fontStyle;
    r.Foreground = fore;
    r.Background = back;
    r.Defined = 1;
    return r;
  }
  String Written(int flags) {
    TMemoryStream stream;
    model.WriteSelection(stream, flags);
    return String(stream.GetMemory(), static_cast<size_t>(stream.GetSize()));
  }

  std::unique_ptr<TSyntaxMemoParser> parser;
};

const String kHtmlHead = "<HTML><HEAD>\r\n"
                         "<META NAME=\"Generator\" CONTENT=\"TCustomSyntaxMemo - Velmora\">\r\n"
                         "<TITLE></TITLE>\r\n"
                         "<META NAME=\"Date\" CONTENT=\"" +
                         DateToStr(Date()) +
                         "\">\r\n"
                         "</HEAD>\r\n"
                         "<BODY TEXT=\"#000000\" BGCOLOR=\"#ffffff\">\r\n"
                         "<PRE><FONT FACE=\"Courier New\">\r\n";
const String kHtmlTail = "</PRE></FONT></BODY></HTML>\r\n";
const String kRtfHead =
    "{\\rtf1 \\deff1{\\fonttbl {\\f1 \\fnil Courier New;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red0\\green0\\blue255;"
    "\\red255\\green0\\blue0;\\red255\\green255\\blue0;}\r\n"
    "{\\f1\\fs20\\cf0\\cb1 ";

const String kText = "select 'a<&\"' x\r\n\t{z}\\\xE9";

} // namespace

TEST_F(Export, HtmlOfTheWholeText) {
  SetText(kText);
  model.SelectAll();
  EXPECT_EQ(Written(wfHTML),
            kHtmlHead +
                "</FONT><FONT COLOR=\"#0000ff\"><B>select</FONT><FONT COLOR=\"#000000\"></B> "
                "</FONT><FONT COLOR=\"#ff0000\"><I>'a&lt;&amp;&quot;'"
                "</FONT><FONT COLOR=\"#000000\"></I> x\r\n"
                "&nbsp;{z}\\&#233;\r\n" +
                kHtmlTail);
}

TEST_F(Export, RtfOfTheWholeText) {
  SetText(kText);
  model.SelectAll();
  EXPECT_EQ(Written(wfRTF),
            kRtfHead +
                "\\b1 \\cf2 select\\b0 \\cf0  \\i1 \\cf3 \\cb4 \\'27a<&\"\\'27\\i0 \\cf0 \\cb1  x\\line \r\n"
                "\\tab \\{z\\}\\\\\\'e9\r\n}}");
}

TEST_F(Export, SelectionStartingAndEndingMidRow) {
  SetText(kText);
  model.SetSelection(13, 18, false);
  EXPECT_EQ(Written(wfHTML), kHtmlHead + " x\r\n&nbsp;{\r\n" + kHtmlTail);
  EXPECT_EQ(Written(wfRTF), kRtfHead + " x\\line \r\n\\tab \\{\r\n}}");
  EXPECT_EQ(Written(wfCRLF), " x\r\n\t{");
  EXPECT_EQ(Written(wfUNIX), " x\n\t{");
}

TEST_F(Export, ColourTableKeepsRoomForTwoHundredFiftySixColours) {
  TSM_Settings& s = parser->GetSettings();
  for (int style = 3; style < 200; ++style)
    s.SetStyle(static_cast<uint8_t>(style), Style(0, style, 0x10000 * style));
  SetText("x");
  model.SelectAll();
  const String rtf = Written(wfRTF);
  const auto table = rtf.substr(rtf.find("{\\colortbl"), rtf.find("}\r\n{\\f1") - rtf.find("{\\colortbl"));
  size_t entries = 0;
  for (size_t at = table.find(';'); at != String::npos; at = table.find(';', at + 1))
    ++entries;
  EXPECT_EQ(entries, 256u);
  // Entry 255 is the last one made: the text colour of style 128.
  EXPECT_EQ(table.substr(table.rfind("\\red")), "\\red128\\green0\\blue0;");
}

TEST(ExportColors, SystemColoursAreResolved) {
  EXPECT_EQ(ExportColorToRGB(0x00123456), 0x123456u);
  EXPECT_EQ(ExportColorToRGB(static_cast<TColor>(0xFF000005)), static_cast<uint32_t>(SysColor(5)) & 0xFFFFFF);
}
