#include "SyntaxEd_base.h"

#include <gtest/gtest.h>

namespace {

String Convert(const String& in) {
  String out(in.size() + 1, '#');
  int n = ConvertInsertText(out.data(), in.data(), static_cast<int>(in.size()));
  EXPECT_EQ(out[static_cast<size_t>(n)], '\0') << in;
  return out.substr(0, static_cast<size_t>(n));
}

// A model object whose stream form is its one line of text.
class TNote : public TSM_Base {
public:
  String Text;
  void SaveToStream(TStream& stream) const override {
    uint8_t n = static_cast<uint8_t>(Text.size());
    stream.WriteBuffer(&n, 1);
    stream.WriteBuffer(Text.data(), n);
  }
  void LoadFromStream(TStream& stream) override {
    uint8_t n = 0;
    stream.ReadBuffer(&n, 1);
    Text.assign(n, '\0');
    stream.ReadBuffer(Text.data(), n);
  }
  String ClassName() const override { return "TNote"; }

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TNote>(); }
};

} // namespace

TEST(InsertConversion, LineEndsBecomeOneCR) {
  struct Case {
    String in, want;
  } cases[] = {
      {"a\nb", "a\rb"},
      {"x\r\n", "x\r"},
      {"x\n\r", "x\r"},
      {"a\r\nb\r\nc", "a\rb\rc"},
      {"a\n\rb", "a\rb"},
      {"a\n\nb", "a\r\rb"},
      {"a\r\rb", "a\r\rb"},
      {"a\n", "a\r"},
      {"\n", "\r"},
      {"\r", "\r"},
      {"a\tb", "a\tb"},
      {String("a\x07z"), "a.z"},
      {String("\x01\x1f"), ".\x1f"},
      {"\xE9\xFF", "\xE9\xFF"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Convert(c.in), c.want) << c.in;
}

TEST(InsertConversion, ALoneTrailingControlCharacterIsKept) {
  // The last character is only adjusted: it is never turned into ".".
  EXPECT_EQ(Convert(String("ab\x07")), String("ab\x07"));
}

TEST(HtmlPayload, CutsByTheSourceTypes) {
  const String clip = "Version:1.0\r\n<html><body><!--StartFragment-->bold<!--EndFragment--></body></html>";
  TSourceTypes html, full, extract, asText;
  html.set(stHTML);
  full = html;
  full.set(stFullHTML);
  extract = html;
  extract.set(stExtractHTML);
  asText = extract;
  asText.set(stAsText);
  struct Case {
    String text;
    TSourceTypes types;
    String want;
  } cases[] = {
      {clip, html, clip},
      {clip, full, clip.substr(clip.find('<'))},
      {clip, extract, "bold"},
      {clip, asText, clip},
      {clip, TSourceTypes().set(stExtractHTML), clip},
      {"x <p>no fragment</p>", extract, "<p>no fragment</p>"},
      {"<!--EndFragment--><!--StartFragment-->a", extract, "<!--EndFragment--><!--StartFragment-->a"},
      {"<!--StartFragment--><!--EndFragment-->", extract, "<!--StartFragment--><!--EndFragment-->"},
      {"no tags", full, "no tags"},
  };
  for (const Case& c : cases) {
    String text = c.text;
    ExtractHtmlPayload(text, c.types);
    EXPECT_EQ(text, c.want) << c.text << " " << c.types.to_string();
  }
}

TEST(FastMemoryStream, ReadsTheBufferUpToItsZero) {
  const char buffer[] = "abc\0def";
  TFastMemoryStream s(buffer);
  EXPECT_EQ(s.GetSize(), 3);
  char out[8] = {};
  EXPECT_EQ(s.Read(out, 8), 3);
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(s.Seek(1, soBeginning), 1);
  EXPECT_EQ(s.Read(out, 1), 1);
  EXPECT_EQ(out[0], 'b');
  EXPECT_EQ(s.Seek(-1, soEnd), 2);
  try {
    s.Write("x", 1);
    FAIL();
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message, "Cannot write to a read-only stream");
  }
  EXPECT_STREQ(buffer, "abc");
}

TEST(ModelBase, CloneAndAssignGoThroughTheStreamForm) {
  TNote a;
  a.Text = "keep";
  std::unique_ptr<TSM_Base> copy = a.Clone();
  ASSERT_NE(dynamic_cast<TNote*>(copy.get()), nullptr);
  EXPECT_EQ(static_cast<TNote&>(*copy).Text, "keep");
  EXPECT_EQ(copy->ClassName(), "TNote");
  TNote b;
  b.Assign(a);
  EXPECT_EQ(b.Text, "keep");
  a.Text = "changed";
  EXPECT_EQ(b.Text, "keep");
}

TEST(ModelBase, SmallHelpers) {
  EXPECT_EQ(OrderRange({9, 4}), std::make_pair(4, 9));
  EXPECT_EQ(OrderRange({4, 9}), std::make_pair(4, 9));
  EXPECT_EQ(MinInt(-3, 2), -3);
  EXPECT_EQ(ReverseString("abc"), "cba");
  EXPECT_EQ(ReverseString(""), "");
  TCharSet set = StringToCharSet("aZ\xFF");
  EXPECT_EQ(set.count(), 3u);
  EXPECT_TRUE(set.test('a') && set.test('Z') && set.test(0xFF));
  TMemoryStream m;
  StreamWriteByte(m, 0xAB);
  ASSERT_EQ(m.GetSize(), 1);
  EXPECT_EQ(static_cast<uint8_t>(m.GetMemory()[0]), 0xAB);
}
