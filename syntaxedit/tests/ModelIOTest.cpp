// Loading and saving the editor model's text, and its lines adaptor.
#include "ModelFixture.h"
#include "SqlRulesSupport.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

using IO = ModelTest;

// Takes at most Take bytes per write (Take < 0: all), and raises after
// FailAfter writes when that is set.
class TStingyStream : public TMemoryStream {
public:
  int64_t Write(const void* buffer, int64_t count) override {
    ++Writes;
    if (FailAfter >= 0 && Writes > FailAfter) throw EStreamError("disk full");
    int64_t taken = Take < 0 ? count : std::min<int64_t>(count, Take);
    if (ShortAttempts > 0) {
      --ShortAttempts;
      taken = std::min<int64_t>(taken, 3);
    }
    return TMemoryStream::Write(buffer, taken);
  }
  int64_t Take = -1;
  int FailAfter = -1;
  int ShortAttempts = 0;
  int Writes = 0;
};

String Contents(TMemoryStream& stream) {
  String s(static_cast<size_t>(stream.GetSize()), '\0');
  stream.SetPosition(0);
  if (!s.empty()) stream.Read(s.data(), static_cast<int64_t>(s.size()));
  return s;
}

// A fresh name each call: other test runs may share the folder.
String TempPath(const char* name) {
  String unique = std::to_string(std::random_device{}()) + "-" + name;
  return (std::filesystem::temp_directory_path() / ("velmora-model-" + unique)).string();
}

String FileText(const String& path) {
  std::ifstream in(path, std::ios::binary);
  return String(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(IO, SavingWritesTheLineEndStyleAndKeepsTheSelection) {
  SetText("ab\rcd");
  model.SetSelection(1, 4, false);
  TMemoryStream crlf;
  model.SaveTextToStream(&crlf);
  EXPECT_EQ(Contents(crlf), "ab\r\ncd");
  EXPECT_EQ(model.GetSelection(), std::make_pair(1, 4));
  EXPECT_FALSE(model.GetUpdateLock());
  model.SaveFormat = sfUNIX;
  TMemoryStream lf;
  model.SaveTextToStream(&lf);
  EXPECT_EQ(Contents(lf), "ab\ncd");
  EXPECT_THROW(model.SaveTextToStream(nullptr), EFileSaveError);
}

TEST_F(IO, AStreamThatTakesNothingFailsAfterFourAttempts) {
  TStingyStream empty;
  empty.Take = 0;
  model.SaveTextToStream(&empty);
  SetText("some text");
  try {
    model.SaveTextToStream(&empty);
    FAIL();
  } catch (const EFileSaveError& e) {
    EXPECT_EQ(e.Message, "Could not save text to stream");
  }
  EXPECT_EQ(empty.Writes, 4);
  EXPECT_EQ(model.GetSelection(), std::make_pair(0, 0));
  EXPECT_FALSE(model.GetUpdateLock());
}

TEST_F(IO, AShortAttemptIsRepeatedFromTheStartNotAppended) {
  SetText("line one\rline two");
  TStingyStream stream;
  stream.Write("head:", 5);
  stream.Writes = 0;
  stream.ShortAttempts = 2;
  model.SaveTextToStream(&stream);
  EXPECT_EQ(Contents(stream), "head:line one\r\nline two");
  EXPECT_EQ(stream.Writes, 3);
}

TEST_F(IO, AStreamErrorRestoresSelectionAndLock) {
  SetText("abcdef");
  model.SetSelection(2, 3, false);
  TStingyStream failing;
  failing.FailAfter = 0;
  EXPECT_THROW(model.SaveTextToStream(&failing), EStreamError);
  EXPECT_EQ(model.GetSelection(), std::make_pair(2, 3));
  EXPECT_FALSE(model.GetUpdateLock());
}

TEST_F(IO, AFailedSaveLeavesTheOldFile) {
  String path = TempPath("save.sql");
  SetText("new text");
  { std::ofstream(path, std::ios::binary) << "old text"; }
  std::filesystem::create_directory(path + ".tmp~");
  EXPECT_ANY_THROW(model.SaveTextFile(path));
  EXPECT_EQ(FileText(path), "old text");
  std::filesystem::remove(path + ".tmp~");
  model.SaveTextFile(path);
  EXPECT_EQ(FileText(path), "new text");
  std::filesystem::remove(path);
}

TEST_F(IO, LoadingAMissingFileNamesItAndKeepsTheText) {
  SetText("kept");
  String path = TempPath("missing.sql");
  try {
    model.LoadTextFile(path);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message, "File '" + path + "' cannot be opened for reading");
  }
  EXPECT_EQ(Text(), "kept");
}

TEST_F(IO, LoadingReplacesTheTextHighlightsItAndClearsTheUndoLog) {
  model.AttachParser(1, &SqlParser());
  SetText("old");
  String path = TempPath("load.sql");
  { std::ofstream(path, std::ios::binary) << "select 'a';\r\n-- note\r\n"; }
  model.LoadTextFile(path);
  std::filesystem::remove(path);
  model.NotifyChange();
  EXPECT_EQ(Text(), "select 'a';\r-- note\r");
  EXPECT_EQ(model.GetSelection(), std::make_pair(0, 0));
  EXPECT_FALSE(model.CanUndo());
  ASSERT_NE(model.GetFirstRow()->Tokens, nullptr);
  EXPECT_EQ(model.GetFirstRow()->Tokens[7], tkString);
  model.AttachParser(1, nullptr);
}

// A stream that fails on reading, or claims more than 32-bit positions hold.
class TBrokenStream : public TStringStream {
public:
  using TStringStream::TStringStream;
  int64_t Read(void*, int64_t) override { throw EReadError("read error"); }
  int64_t GetSize() override { return Huge ? int64_t(INT_MAX) + 10 : TStringStream::GetSize(); }
  bool Huge = false;
};

TEST_F(IO, AFailedLoadPutsTheParserBackAndRedrawOn) {
  model.AttachParser(1, &SqlParser());
  TBrokenStream broken("select 1");
  EXPECT_THROW(model.LoadTextFromStream(broken), EReadError);
  EXPECT_TRUE(model.GetRedraw());
  TBrokenStream huge("x");
  huge.Huge = true;
  try {
    model.LoadTextFromStream(huge);
    FAIL();
  } catch (const ESyntaxMemo& e) {
    EXPECT_EQ(e.Message, "Not enough memory for operation");
  }
  EXPECT_TRUE(model.GetRedraw());
  SetText("select 1");
  model.NotifyChange();
  ASSERT_NE(model.GetFirstRow()->Tokens, nullptr);
  EXPECT_EQ(model.GetFirstRow()->Tokens[0], tkReserved);
  model.AttachParser(1, nullptr);
}

// ---- the lines adaptor

class Lines : public ModelTest {
protected:
  TSyntaxMemoStrings lines{model};
};

TEST_F(Lines, CountAndLinesOfTheRows) {
  EXPECT_EQ(lines.GetCount(), 0);
  SetText("abc\r");
  EXPECT_EQ(lines.GetCount(), 2);
  SetText("abc\rdef");
  EXPECT_EQ(lines.GetCount(), 2);
  EXPECT_EQ(lines.Get(1), "def");
  SetText(String(5000, 'x'));
  EXPECT_EQ(lines.Get(0).size(), 2047u);
}

TEST_F(Lines, InsertPutAndDeleteEditTheLiveText) {
  struct Case {
    const char* text;
    int index;
    const char* line;
    const char* result;
  } inserts[] = {{"abc", 1, "x", "abc\rx"},   {"abc\r", 2, "x", "abc\rx"},
                 {"abc\r", 2, "", "abc\r\r"}, {"abc\rdef", 1, "x", "abc\rx\rdef"},
                 {"abc", 0, "x", "x\rabc"},   {"abc", 5, "x", "abc"},
                 {"abc", -1, "x", "abc"}};
  for (const Case& c : inserts) {
    SetText(c.text);
    lines.Insert(c.index, c.line);
    EXPECT_EQ(Text(), c.result) << c.text << " @" << c.index;
  }
  SetText("one\rtwo\rthree");
  lines.Put(1, "2");
  EXPECT_EQ(Text(), "one\r2\rthree");
  lines.Delete(5);
  EXPECT_EQ(Text(), "one\r2\rthree");
  lines.Delete(2);
  EXPECT_EQ(Text(), "one\r2\r");
  lines.Delete(0);
  EXPECT_EQ(Text(), "2\r");
  SetText("only");
  lines.Delete(0);
  EXPECT_EQ(Text(), "");
}

TEST_F(Lines, SettingTheSameTextChangesNothing) {
  SetText("a\rb");
  model.ClearUndo();
  lines.SetTextStr("a\nb");
  EXPECT_FALSE(model.CanUndo());
  EXPECT_EQ(lines.GetTextStr(), "a\r\nb");
  lines.SetTextStr("c\r\nd\n");
  EXPECT_EQ(Text(), "c\rd\r");
}

TEST_F(Lines, AddStringsReplacesTheText) {
  SetText("old");
  TStringList other;
  other.Add("new");
  other.Add("lines");
  lines.AddStrings(other);
  EXPECT_EQ(Text(), "new\rlines\r");
  other.Add("more");
  model.ClearUndo();
  lines.Assign(other);
  EXPECT_EQ(Text(), "new\rlines\rmore\r");
  EXPECT_FALSE(model.CanUndo());
  EXPECT_TRUE(model.GetRedraw());
}

TEST_F(Lines, AnUpdateSwitchesRedrawOffAndOn) {
  lines.BeginUpdate();
  EXPECT_FALSE(model.GetRedraw());
  lines.Add("x");
  lines.EndUpdate();
  EXPECT_TRUE(model.GetRedraw());
  EXPECT_EQ(Text(), "x\r");
}

} // namespace
