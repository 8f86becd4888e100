#include "StoreText.h"

#include "SyntaxEd_marks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::pair<int, int>> Ranges(const TObjectList& list) {
  std::vector<std::pair<int, int>> out;
  for (TMark* m = list.GetFirst(); m; m = m->Next) {
    if (m->Next) {
      EXPECT_EQ(m->Next->Prev, m);
    }
    out.emplace_back(m->Start, m->End);
  }
  return out;
}

std::vector<std::pair<String, int>> Bookmarks(const TCustomBookmarks& bms) {
  std::vector<std::pair<String, int>> out;
  for (TCustBookmark* b = bms.GetFirst(); b; b = b->Next) {
    int index;
    EXPECT_TRUE(bms.GetNames().Find(b->Name, index)) << b->Name;
    EXPECT_EQ(reinterpret_cast<intptr_t>(bms.GetNames().GetObject(index)), b->Position) << b->Name;
    out.emplace_back(b->Name, b->Position);
  }
  return out;
}

} // namespace

TEST(MarkedRanges, FollowInsertions) {
  struct Case {
    int at;
    std::pair<int, int> want;
    bool changed;
  } cases[] = {{12, {10, 18}, true},
               {10, {13, 18}, true},
               {15, {10, 18}, true},
               {16, {10, 15}, false},
               {3, {13, 18}, true}};
  for (const Case& c : cases) {
    TObjectList list;
    int changes = 0;
    list.OnChange = [&](TMark*) { ++changes; };
    list.AddMark(10, 5, 0);
    list.MarksInserted(c.at, 3);
    EXPECT_EQ(Ranges(list), (std::vector<std::pair<int, int>>{c.want})) << c.at;
    EXPECT_EQ(changes, c.changed ? 1 : 0) << c.at;
  }
}

TEST(MarkedRanges, FollowDeletions) {
  struct Case {
    int start, end;
    std::vector<std::pair<int, int>> want;
    int changes, freed;
  } cases[] = {
      {5, 8, {{7, 12}}, 1, 0},    {12, 20, {{10, 12}}, 1, 0}, {8, 12, {{8, 11}}, 1, 0},
      {10, 15, {}, 0, 1},         {9, 16, {}, 0, 1},          {16, 20, {{10, 15}}, 0, 0},
      {20, 16, {{10, 15}}, 0, 0}, {11, 13, {{10, 13}}, 1, 0}, {8, 5, {{7, 12}}, 1, 0},
  };
  for (const Case& c : cases) {
    TObjectList list;
    int changes = 0, freed = 0;
    list.OnChange = [&](TMark*) { ++changes; };
    list.OnFree = [&](TMark* m) {
      ++freed;
      EXPECT_EQ(m->Value, 77u);
    };
    list.AddMark(10, 5, 77);
    list.MarksDeleted(c.start, c.end);
    EXPECT_EQ(Ranges(list), c.want) << c.start << ".." << c.end;
    EXPECT_EQ(changes, c.changes) << c.start << ".." << c.end;
    EXPECT_EQ(freed, c.freed) << c.start << ".." << c.end;
  }
}

TEST(MarkedRanges, DeletionKeepsOtherMarksInOrder) {
  TObjectList list;
  list.AddMark(0, 2, 1);
  list.AddMark(4, 2, 2);
  list.AddMark(12, 3, 3);
  list.MarksDeleted(3, 8);
  EXPECT_EQ(Ranges(list), (std::vector<std::pair<int, int>>{{0, 2}, {7, 10}}));
}

TEST(MarkedRanges, OrderedByStart) {
  TObjectList list;
  TMark* a = list.AddMark(20, 2, 1);
  TMark* b = list.AddMark(5, 2, 2);
  TMark* c = list.AddMark(12, -4, 3); // ordered to 8..12
  TMark* d = list.AddMark(5, 9, 4);   // same start: right after the first of them
  EXPECT_EQ(Ranges(list), (std::vector<std::pair<int, int>>{{5, 7}, {5, 14}, {8, 12}, {20, 22}}));
  EXPECT_EQ(b->Next, d);
  EXPECT_EQ(d->Next, c);
  EXPECT_EQ(c->Next, a);
}

TEST(MarkedRanges, SetStartAndEndReorderAndSwap) {
  TObjectList list;
  TMark* a = list.AddMark(10, 5, 1);
  TMark* b = list.AddMark(20, 5, 2);
  list.SetMarkEnd(b, 2); // before its start: the ends swap
  EXPECT_EQ(TObjectList::GetMarkStart(b), 2);
  EXPECT_EQ(TObjectList::GetMarkEnd(b), 20);
  EXPECT_EQ(list.GetFirst(), b);
  list.SetMarkStart(b, 30);
  EXPECT_EQ(Ranges(list), (std::vector<std::pair<int, int>>{{10, 15}, {20, 30}}));
  EXPECT_EQ(a->Next, b);
}

TEST(MarkedRanges, FindMarkReportsOverlap) {
  TObjectList list;
  TMark* found = nullptr;
  EXPECT_FALSE(list.FindMark(0, 5, found));
  EXPECT_EQ(found, nullptr);
  TMark* a = list.AddMark(10, 5, 1);
  TMark* b = list.AddMark(30, 5, 2);
  struct Case {
    int start, length;
    bool result;
    TMark* mark;
  } cases[] = {{12, 1, true, a},  {8, 2, true, a},   {15, 0, false, b}, {16, 2, false, b},
               {25, 10, true, b}, {40, 1, false, b}, {0, 3, false, a}};
  for (const Case& c : cases) {
    EXPECT_EQ(list.FindMark(c.start, c.length, found), c.result) << c.start;
    EXPECT_EQ(found, c.mark) << c.start;
  }
}

TEST(MarkedRanges, NextMarkInRangeWalksTheMarksOfARow) {
  TObjectList list;
  TMark* a = list.AddMark(2, 6, 1);  // 2..8 holds the row start
  TMark* b = list.AddMark(9, 2, 2);  // inside
  TMark* c = list.AddMark(15, 2, 3); // after the row
  list.AddMark(0, 1, 4);             // before the row
  std::pair<int, int> row{5, 12};
  EXPECT_EQ(list.NextMarkInRange(row, nullptr), a);
  EXPECT_EQ(list.NextMarkInRange(row, a), b);
  EXPECT_EQ(list.NextMarkInRange(row, b), nullptr);
  EXPECT_EQ(list.NextMarkInRange({14, 20}, nullptr), c);
}

TEST(MarkedRanges, DestroyFreesLastFirst) {
  std::vector<uint32_t> order;
  {
    TObjectList list;
    list.OnFree = [&](TMark* m) { order.push_back(m->Value); };
    list.AddMark(1, 1, 1);
    list.AddMark(5, 1, 2);
    list.AddMark(9, 1, 3);
  }
  EXPECT_EQ(order, (std::vector<uint32_t>{3, 2, 1}));
}

TEST(CustomBookmarks, FollowInsertionsAndDeletions) {
  struct Case {
    bool insert;
    int length, at;
    std::vector<std::pair<String, int>> want;
    std::vector<String> freed;
  } cases[] = {
      {true, 3, 5, {{"a", 2}, {"b", 8}, {"c", 12}}, {}},
      {true, 3, 6, {{"a", 2}, {"b", 5}, {"c", 12}}, {}},
      {false, 1, 5, {{"a", 2}, {"c", 8}}, {"b"}},
      {false, 2, 2, {{"b", 3}, {"c", 7}}, {"a"}},
      {false, 5, 1, {{"c", 4}}, {"a", "b"}},
  };
  for (const Case& c : cases) {
    std::vector<String> freed;
    TCustomBookmarks bms;
    bms.OnFree = [&](const String& name) { freed.push_back(name); };
    bms.AddBookmark("b", 5);
    bms.AddBookmark("c", 9);
    bms.AddBookmark("a", 2);
    if (c.insert)
      bms.BookmarksInserted(c.length, c.at);
    else
      bms.BookmarksDeleted(c.length, c.at);
    EXPECT_EQ(Bookmarks(bms), c.want) << c.insert << " " << c.at;
    EXPECT_EQ(freed, c.freed) << c.insert << " " << c.at;
    EXPECT_EQ(bms.GetNames().GetCount(), static_cast<int>(c.want.size()));
  }
}

TEST(CustomBookmarks, ClearAndDestroyFireTheFreeEvent) {
  std::vector<String> freed;
  {
    TCustomBookmarks bms;
    bms.OnFree = [&](const String& name) { freed.push_back(name); };
    bms.AddBookmark("x", 1);
    bms.ClearBookmarks();
    EXPECT_EQ(bms.GetFirst(), nullptr);
    EXPECT_EQ(bms.GetNames().GetCount(), 0);
    bms.AddBookmark("y", 4);
  }
  EXPECT_EQ(freed, (std::vector<String>{"x", "y"}));
}

TEST(CustomBookmarks, ANameAddedAgainMoves) {
  TCustomBookmarks bms;
  bms.AddBookmark("here", 3);
  bms.AddBookmark("there", 6);
  bms.AddBookmark("here", 9);
  EXPECT_EQ(Bookmarks(bms), (std::vector<std::pair<String, int>>{{"there", 6}, {"here", 9}}));
}

TEST(MarkedRanges, StayOnTheirTextThroughEditsAcrossRows) {
  // The editing core tells the lists of each change before it changes the
  // rows; here the text is laid out again after each change.
  TTextStore store;
  String text = "hello\rcruel\rworld\r";
  SetStoreText(store, text);
  TObjectList marks;
  TMark* cruel = marks.AddMark(6, 5, 1);
  TMark* world = marks.AddMark(12, 5, 2);
  store.GetCustomBookmarks().AddBookmark("w", 12);
  auto markedText = [&](TMark* m) {
    TEdStream s(&store);
    AttachAt(s, store, m->Start);
    String out(static_cast<size_t>(m->End - m->Start), '\0');
    s.Read(out.data(), static_cast<int64_t>(out.size()));
    return out;
  };
  auto insert = [&](int at, const String& what) {
    marks.MarksInserted(at, static_cast<int>(what.size()));
    store.GetCustomBookmarks().BookmarksInserted(static_cast<int>(what.size()), at);
    text.insert(static_cast<size_t>(at), what);
    SetStoreText(store, text);
  };
  auto erase = [&](int from, int to) {
    marks.MarksDeleted(from, to);
    store.GetCustomBookmarks().BookmarksDeleted(to - from, from);
    text.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
    SetStoreText(store, text);
  };
  insert(0, "oh\r");
  EXPECT_EQ(markedText(cruel), "cruel");
  EXPECT_EQ(markedText(world), "world");
  insert(14, "ly"); // at the mark's end: it grows
  EXPECT_EQ(markedText(cruel), "cruelly");
  erase(7, 12); // from the second line into the third
  EXPECT_EQ(text, "oh\rhellelly\rworld\r");
  EXPECT_EQ(markedText(cruel), "elly");
  EXPECT_EQ(markedText(world), "world");
  int index;
  ASSERT_TRUE(store.GetCustomBookmarks().GetNames().Find("w", index));
  EXPECT_EQ(reinterpret_cast<intptr_t>(store.GetCustomBookmarks().GetNames().GetObject(index)), world->Start);
}
