// The stored form of compiled rules: what the build produced from the SQL
// script, round trips, old versions and damaged data.
#include "SqlRulesSupport.h"
#include "SyntaxEd_settings.h"

#include <gtest/gtest.h>

namespace {

String Stored(TSyntaxMemoParser& p) {
  TStringStream out;
  p.WriteParserData(out);
  return out.GetDataString();
}

std::unique_ptr<TSyntaxMemoParser> Loaded(const String& data) {
  auto p = std::make_unique<TSyntaxMemoParser>(nullptr);
  p->SetName("SyntaxMemoParser1");
  TStringStream in(data);
  p->ReadParserData(in);
  return p;
}

String Payload(const String& stored) {
  TStringStream packed(stored.substr(6)), out;
  TCompressor c;
  c.UseStreams = true;
  c.InputStream = &packed;
  c.OutputStream = &out;
  c.Decompress();
  return out.GetDataString();
}

String FormatError(const String& data) {
  try {
    Loaded(data);
  } catch (const ESyntaxMemoParserError& e) {
    return e.Message;
  }
  return "no error";
}

String VersionText(int read) {
  return "SyntaxMemoParser1: DFM file saved by different version of TSyntaxMemoParser.\n\r"
         "Recompile script to update DFM file.\n\r"
         "Expected version was 51 read version was " +
         IntToStr(read);
}

TEST(Rules, TheBuildCompiledTheProjectsScript) {
  String built(reinterpret_cast<const char*>(SqlRulesCompiled), SqlRulesCompiledSize);
  EXPECT_EQ(built.substr(0, 2), String("\x33\x00", 2)); // version 51
  EXPECT_EQ(built.substr(6, 4), "WRZL");
  // The rules name every colour they keep, so the build machine's system
  // colours do not enter them.
  EXPECT_TRUE(Stored(SqlParser()) == built);
}

TEST(Rules, CompileWriteReadTokenizesAlike) {
  TSyntaxMemoParser& compiled = SqlParser();
  String first = Stored(compiled);
  auto read = Loaded(first);
  String dump = SqlDump(40, 30) + "select 'open\r/* and a comment to the end\r";
  EXPECT_EQ(TokenBytes(*read, dump), TokenBytes(compiled, dump));
  EXPECT_TRUE(Stored(*read) == first);

  TSM_Settings& a = compiled.GetSettings();
  TSM_Settings& b = read->GetSettings();
  EXPECT_EQ(b.LanguageName, a.LanguageName);
  EXPECT_EQ(b.ExampleText, a.ExampleText);
  EXPECT_EQ(b.FontName, "Courier New");
  EXPECT_EQ(b.GetEditableStyle(11).Name, "Default");
  EXPECT_EQ(b.TokenStyle(tkBlockComment), tkLineComment);
}

TEST(Rules, LanguagesWithEveryKindOfRecordRoundTrip) {
  String script = "%%language\r\nStartState = [0, 3] Anchor = [0, 9] BoundStates = [3]\r\n"
                  "ContextStates = (9 [3])\r\n"
                  "%%words\r\n'{' '' 6\r\n'}' '' 7 [3]\r\n'$' '' 11\r\n"
                  "%%handlers\r\n11 match(4)\r\n"
                  "%%states\r\n6 push (+[3] -[0])\r\n7 (+[1]) pop\r\n"
                  "%%tokens\r\n2 __STD_IDENTIFIER\r\nInState 3 (9 'a' '[a-z]' * '\\n' 0 [4])\r\n"
                  "%%containers\r\n12 (+[5])\r\n"
                  "%%kwTables\r\nforstate [] endswith '' ( 20 is 'foo' )\r\n"
                  "%%keys\r\ncaCOPY ([ctrl] 'C')\r\n";
  auto p = CompileRules(script);
  String first = Stored(*p);
  auto read = Loaded(first);
  EXPECT_TRUE(Stored(*read) == first);
  EXPECT_TRUE(read->GetUsesCustomHandlers());
  EXPECT_EQ(read->GetAnchorTokens(), p->GetAnchorTokens());
  String text = "ab { ab } foo ab\r{ x";
  EXPECT_EQ(TokenBytes(*read, text), TokenBytes(*p, text));
  read->SetStateFromToken(9);
  EXPECT_TRUE(read->InBoundState());
}

TEST(Rules, VersionsOfTheStoredForm) {
  String stored = Stored(SqlParser());
  String v52 = stored, v49 = stored;
  v52[0] = 52;
  v49[0] = 49;
  EXPECT_EQ(TokenLetters(*Loaded(v52), "select 1"), "RRRRRR.n");
  EXPECT_EQ(FormatError(v49), VersionText(49));

  // Outside form loading the event may take the report instead.
  TSyntaxMemoParser p(nullptr);
  uint16_t seen = 0, expected = 0;
  p.OnParserVersionError = [&](TObject*, uint16_t found, uint16_t wanted) {
    seen = found;
    expected = wanted;
  };
  TStringStream in(v49);
  p.ReadParserData(in);
  EXPECT_EQ(seen, 49);
  EXPECT_EQ(expected, 51);
  EXPECT_EQ(TokenLetters(p, "select"), "......");
}

TEST(Rules, DamagedStoredRulesAreRefused) {
  String stored = Stored(SqlParser());
  auto repack = [&](const String& body) {
    TStringStream in(body), out;
    TCompressor c;
    c.UseStreams = true;
    c.InputStream = &in;
    c.OutputStream = &out;
    c.Compress();
    return stored.substr(0, 6) + out.GetDataString();
  };
  String body = Payload(stored);
  struct Case {
    const char* name;
    String data;
    int version;
  } cases[] = {
      {"nothing", "", 0},
      {"version only", stored.substr(0, 2), 51},
      {"cut in the compressed blocks", stored.substr(0, stored.size() / 2), 51},
      {"not compressed", stored.substr(0, 6) + "hello world", 51},
      {"payload cut short", repack(body.substr(0, body.size() - 40)), 51},
      {"payload with bytes left over", repack(body + "xx"), 51},
      {"payload without its settings", repack(body.substr(body.size() / 2)), 51},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatError(c.data), VersionText(c.version));
  }
  // A refused language leaves the parser empty, not half read.
  TSyntaxMemoParser p(nullptr);
  p.SetName("SyntaxMemoParser1");
  TStringStream in(repack(body.substr(0, body.size() - 40)));
  EXPECT_THROW(p.ReadParserData(in), ESyntaxMemoParserError);
  EXPECT_EQ(TokenLetters(p, "select"), "......");
}

} // namespace
