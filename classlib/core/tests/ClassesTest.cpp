#include "Classes.h"

#include <cstdio>
#include <gtest/gtest.h>

TEST(TStringList, IndexOfIgnoresCaseAndValuesWork) {
  TStringList l;
  l.Add("Host=localhost");
  l.Add("USER NAME=root");
  EXPECT_EQ(l.IndexOf("host=LOCALHOST"), 0);
  EXPECT_EQ(l.GetValue("user name"), "root");
  l.SetValue("Password", "x");
  EXPECT_EQ(l.Get(2), "Password=x");
  l.SetValue("password", "");
  EXPECT_EQ(l.GetCount(), 2);
  EXPECT_EQ(l.IndexOfName("HOST"), 0);
}

TEST(TStringList, TextUsesCrLfAndSplitsEveryLineEnd) {
  TStringList l;
  l.SetText("a\r\nb\nc\rd");
  ASSERT_EQ(l.GetCount(), 4);
  EXPECT_EQ(l.GetText(), "a\r\nb\r\nc\r\nd\r\n");
  l.SetText("");
  EXPECT_EQ(l.GetCount(), 0);
  l.SetText("\r\n\r\n");
  EXPECT_EQ(l.GetCount(), 2);
}

TEST(TStringList, SortedFindAndDuplicates) {
  TStringList l;
  l.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple"}) l.Add(s);
  EXPECT_EQ(l.GetCount(), 3); // "apple" is a case-insensitive duplicate
  EXPECT_EQ(l.Get(0), "Apple");
  int i;
  EXPECT_TRUE(l.Find("FIG", i));
  EXPECT_EQ(i, 1);
  EXPECT_THROW(l.Insert(0, "x"), EListError);
  EXPECT_THROW(l.Get(3), EListError);
}

TEST(TStringList, CommaText) {
  TStringList l;
  l.SetCommaText("a,\"b c\",\"d\"\"e\"");
  ASSERT_EQ(l.GetCount(), 3);
  EXPECT_EQ(l.Get(1), "b c");
  EXPECT_EQ(l.Get(2), "d\"e");
  EXPECT_EQ(l.GetCommaText(), "a,\"b c\",\"d\"\"e\"");
}

TEST(TList, BoundsAreChecked) {
  TList l;
  int a = 1, b = 2;
  l.Add(&a);
  l.Insert(0, &b);
  EXPECT_EQ(l[0], &b);
  EXPECT_EQ(l.IndexOf(&a), 1);
  EXPECT_THROW(l.Get(2), EListError);
  EXPECT_THROW(l.Insert(5, &a), EListError);
  l.Move(0, 1);
  EXPECT_EQ(l[1], &b);
}

TEST(Streams, MemoryAndFileRoundTrip) {
  TMemoryStream m;
  m.WriteBuffer("hello\0world", 11);
  EXPECT_EQ(m.GetSize(), 11);
  m.SetPosition(6);
  char buf[5];
  m.ReadBuffer(buf, 5);
  EXPECT_EQ(String(buf, 5), "world");
  EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);

  String name = testing::TempDir() + "velmora_stream_test.bin";
  m.SaveToFile(name);
  TMemoryStream back;
  back.LoadFromFile(name);
  EXPECT_EQ(String(back.GetMemory(), 11), String("hello\0world", 11));
  std::remove(name.c_str());
  EXPECT_THROW(TFileStream(name, fmOpenRead), EFOpenError);
}

TEST(Streams, StringsThroughStreams) {
  TStringList l;
  l.Add("one");
  l.Add("two");
  TStringStream s;
  l.SaveToStream(s);
  EXPECT_EQ(s.GetDataString(), "one\r\ntwo\r\n");
  s.SetPosition(0);
  TStringList back;
  back.LoadFromStream(s);
  EXPECT_EQ(back.GetCount(), 2);
}

TEST(TStringList, ChangeEventsAroundEachChangeAndOncePerUpdate) {
  TStringList l;
  String log;
  l.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &l);
    log += "<";
  };
  l.OnChange = [&](TObject*) { log += ">"; };
  l.Add("a");
  l.Put(0, "b");
  l.Delete(0);
  EXPECT_EQ(log, "<><><>");
  log.clear();
  l.BeginUpdate();
  l.Add("x");
  l.BeginUpdate();
  l.Add("y");
  l.EndUpdate();
  EXPECT_EQ(log, "<");
  l.EndUpdate();
  EXPECT_EQ(log, "<>");
  log.clear();
  l.SetText("1\r\n2\r\n3");
  EXPECT_EQ(log, "<>");
  log.clear();
  TStringList other;
  other.Add("z");
  l.Assign(static_cast<const TPersistent*>(&other));
  EXPECT_EQ(log, "<>");
  EXPECT_EQ(l.GetText(), "z\r\n");
}
