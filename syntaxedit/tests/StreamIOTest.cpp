#include "SyntaxEd_streamio.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

String Bytes(std::initializer_list<int> bytes) {
  String s;
  for (int b : bytes)
    s += static_cast<char>(b);
  return s;
}

TEST(StreamIO, WritersStoreLittleEndianAndReadersGiveItBack) {
  TStringStream out;
  WriteByte(out, 0xFE);
  WriteWord(out, 0xABCD);
  WriteInt(out, 0x01020304);
  WriteInt(out, -2);
  WriteSmallSet(out, 0xFF);
  WriteShortString(out, "abc");
  WriteLongString(out, "xy");
  WriteShortString(out, "");
  EXPECT_EQ(out.GetDataString(), Bytes({0xFE, 0xCD, 0xAB, 4,   3,   2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0,
                                        0,    3,    'a',  'b', 'c', 2, 0, 0,    0,    'x',  'y',  0}));

  TStringStream in(out.GetDataString());
  EXPECT_EQ(ReadByte(in), 0xFE);
  EXPECT_EQ(ReadWord(in), 0xABCD);
  EXPECT_EQ(ReadInt(in), 0x01020304);
  EXPECT_EQ(ReadInt(in), -2);
  EXPECT_EQ(ReadInt(in), 0x7F);
  EXPECT_EQ(ReadShortString(in), "abc");
  EXPECT_EQ(ReadLongString(in), "xy");
  EXPECT_EQ(ReadShortString(in), "");
  EXPECT_THROW(ReadByte(in), EReadError);
}

TEST(StreamIO, ShortStringsOverLengthAreRefusedNotCut) {
  TStringStream out;
  WriteShortString(out, String(255, 'a'));
  EXPECT_EQ(out.GetDataString().size(), 256u);
  EXPECT_THROW(WriteShortString(out, String(256, 'a')), EWriteError);
  EXPECT_EQ(out.GetDataString().size(), 256u) << "nothing of the refused string is written";
}

TEST(StreamIO, ReadersRaiseTheReadErrorOnShortData) {
  struct Case {
    const char* what;
    String data;
    std::function<void(TStream&)> read;
  };
  const Case cases[] = {
      {"byte", "", [](TStream& s) { ReadByte(s); }},
      {"word", Bytes({1}), [](TStream& s) { ReadWord(s); }},
      {"int", Bytes({1, 2, 3}), [](TStream& s) { ReadInt(s); }},
      {"short string", Bytes({5, 'a', 'b'}), [](TStream& s) { ReadShortString(s); }},
      {"long string", Bytes({3, 0, 0, 0, 'a'}), [](TStream& s) { ReadLongString(s); }},
      // A damaged length must fail at the end of the data, not reserve 4 GB.
      {"long string, huge length", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a'}),
       [](TStream& s) { ReadLongString(s); }},
  };
  for (const Case& c : cases) {
    TStringStream in(c.data);
    try {
      c.read(in);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message, "Stream read error") << c.what;
    }
  }
}

TEST(StreamIO, CaseChangesTouchAsciiLettersOnly) {
  EXPECT_EQ(ToLowerAscii(String("AbZ_\xC4\xE4@[")), String("abz_\xC4\xE4@["));
  EXPECT_EQ(ToUpperAscii(String("azA{`\xE4")), String("AZA{`\xE4"));
}

} // namespace
