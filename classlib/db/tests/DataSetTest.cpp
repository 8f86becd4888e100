#include "MemDataSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A data set of (id, name) rows 1..n, with every event written to a log.
struct Fixture {
  std::vector<std::string> log;
  std::unique_ptr<TMemDataSet> ds = std::make_unique<TMemDataSet>();

  explicit Fixture(int rows = 5) {
    ds->SetName("People");
    ds->Columns = {{"id", ftInteger}, {"name", ftString, 10, true}};
    for (int i = 1; i <= rows; ++i)
      ds->AddRow({IntToStr(i), "n" + IntToStr(i)});
    auto hook = [this](TDataSetNotifyEvent& e, const char* name) {
      e = [this, name](TDataSet*) { log.push_back(name); };
    };
    hook(ds->BeforeOpen, "BeforeOpen");
    hook(ds->AfterOpen, "AfterOpen");
    hook(ds->BeforeClose, "BeforeClose");
    hook(ds->AfterClose, "AfterClose");
    hook(ds->BeforeInsert, "BeforeInsert");
    hook(ds->AfterInsert, "AfterInsert");
    hook(ds->BeforeEdit, "BeforeEdit");
    hook(ds->AfterEdit, "AfterEdit");
    hook(ds->BeforePost, "BeforePost");
    hook(ds->AfterPost, "AfterPost");
    hook(ds->BeforeCancel, "BeforeCancel");
    hook(ds->AfterCancel, "AfterCancel");
    hook(ds->BeforeDelete, "BeforeDelete");
    hook(ds->AfterDelete, "AfterDelete");
    hook(ds->BeforeScroll, "BeforeScroll");
    hook(ds->AfterScroll, "AfterScroll");
    hook(ds->OnNewRecord, "OnNewRecord");
  }
  TField* F(const char* name) { return ds->FieldByName(name); }
  int Id() { return F("id")->GetAsInteger(); }
  std::vector<std::string> Take() { return std::exchange(log, {}); }
  std::vector<int> Ids() {
    std::vector<int> ids;
    for (const auto& r : ds->Rows) {
      int v;
      std::memcpy(&v, r[0]->data(), 4);
      ids.push_back(v);
    }
    return ids;
  }
};

using Log = std::vector<std::string>;

TEST(DataSetStates, OpenAndCloseFireTheirEventsInOrder) {
  Fixture f;
  f.ds->Open();
  EXPECT_EQ(f.Take(), (Log{"BeforeOpen", "AfterOpen", "AfterScroll"}));
  EXPECT_EQ(f.ds->GetState(), dsBrowse);
  EXPECT_TRUE(f.ds->GetBof());
  EXPECT_FALSE(f.ds->GetEof());
  EXPECT_EQ(f.Id(), 1);
  EXPECT_EQ(f.ds->GetFieldCount(), 2);
  f.ds->Close();
  EXPECT_EQ(f.Take(), (Log{"BeforeClose", "AfterClose"}));
  EXPECT_EQ(f.ds->GetState(), dsInactive);
  EXPECT_EQ(f.ds->GetFieldCount(), 0); // default fields go with the cursor
}

TEST(DataSetStates, EditPostWritesTheRowAndFiresInOrder) {
  Fixture f;
  f.ds->Open();
  f.ds->Next();
  f.Take();
  f.ds->Edit();
  EXPECT_EQ(f.ds->GetState(), dsEdit);
  f.F("name")->SetAsString("changed");
  EXPECT_TRUE(f.ds->GetModified());
  f.ds->Post();
  EXPECT_EQ(f.Take(), (Log{"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost"}));
  EXPECT_EQ(f.ds->GetState(), dsBrowse);
  EXPECT_EQ(f.Id(), 2);
  EXPECT_EQ(f.F("name")->GetAsString(), "changed");
  f.ds->First();
  f.ds->Next();
  EXPECT_EQ(f.F("name")->GetAsString(), "changed");
}

TEST(DataSetStates, CancelRestoresTheRow) {
  Fixture f;
  f.ds->Open();
  f.Take();
  f.ds->Edit();
  f.F("name")->SetAsString("x");
  f.ds->Cancel();
  EXPECT_EQ(f.Take(), (Log{"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel"}));
  EXPECT_EQ(f.F("name")->GetAsString(), "n1");
  f.ds->Cancel(); // nothing to cancel in browse mode
  EXPECT_TRUE(f.Take().empty());
}

TEST(DataSetStates, InsertPutsTheRowBeforeTheCurrentOne) {
  Fixture f(3);
  f.ds->Open();
  f.ds->Next();
  f.Take();
  f.ds->Insert();
  EXPECT_EQ(f.ds->GetState(), dsInsert);
  EXPECT_TRUE(f.F("id")->IsNull());
  f.F("id")->SetAsInteger(9);
  f.F("name")->SetAsString("new");
  f.ds->Post();
  EXPECT_EQ(f.Take(), (Log{"BeforeInsert", "OnNewRecord", "AfterInsert", "BeforePost", "AfterPost"}));
  EXPECT_EQ(f.Ids(), (std::vector<int>{1, 9, 2, 3}));
  EXPECT_EQ(f.Id(), 9);
}

TEST(DataSetStates, AppendAddsAtTheEndAndCancelDropsIt) {
  Fixture f(2);
  f.ds->Open();
  f.ds->Append();
  f.F("id")->SetAsInteger(7);
  f.F("name")->SetAsString("end");
  f.ds->Post();
  EXPECT_EQ(f.Ids(), (std::vector<int>{1, 2, 7}));
  EXPECT_EQ(f.Id(), 7);
  f.Take();
  f.ds->Insert();
  f.ds->Cancel();
  EXPECT_EQ(f.Take(), (Log{"BeforeInsert", "OnNewRecord", "AfterInsert", "BeforeCancel", "AfterCancel"}));
  EXPECT_EQ(f.ds->GetRecordCount(), 3);
  EXPECT_EQ(f.Id(), 7);
}

TEST(DataSetStates, DeleteMovesToTheNextRowOrThePriorAtTheEnd) {
  Fixture f(3);
  f.ds->Open();
  f.ds->Next();
  f.Take();
  f.ds->Delete();
  EXPECT_EQ(f.Take(), (Log{"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
  EXPECT_EQ(f.Ids(), (std::vector<int>{1, 3}));
  EXPECT_EQ(f.Id(), 3);
  f.ds->Delete();
  EXPECT_EQ(f.Id(), 1);
  f.ds->Delete();
  EXPECT_TRUE(f.ds->IsEmpty());
  EXPECT_TRUE(f.ds->GetEof());
  try {
    f.ds->Delete();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "People: Cannot perform this operation on an empty dataset");
  }
}

TEST(DataSetStates, EditOfAnEmptyDataSetInserts) {
  Fixture f(0);
  f.ds->Open();
  EXPECT_TRUE(f.ds->GetEof());
  EXPECT_TRUE(f.ds->GetBof());
  EXPECT_TRUE(f.ds->IsEmpty());
  f.ds->First();
  EXPECT_TRUE(f.ds->GetEof());
  f.ds->Edit();
  EXPECT_EQ(f.ds->GetState(), dsInsert);
}

TEST(DataSetStates, RequiredFieldKeepsTheInsertOpen) {
  Fixture f(1);
  f.ds->Open();
  f.ds->Insert();
  f.F("id")->SetAsInteger(5);
  try {
    f.ds->Post();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Field 'name' must have a value");
  }
  EXPECT_EQ(f.ds->GetState(), dsInsert);
  f.F("name")->SetAsString("ok");
  f.ds->Post();
  EXPECT_EQ(f.ds->GetRecordCount(), 2);
}

TEST(DataSetStates, PostErrorHandlerCanRetryOrAbort) {
  Fixture f(1);
  f.ds->Open();
  int calls = 0;
  f.ds->OnPostError = [&](TDataSet*, EDatabaseError&, TDataAction& action) {
    ++calls;
    f.F("name")->SetAsString("fixed"); // the retry then succeeds
    action = daRetry;
  };
  f.ds->Insert();
  f.F("id")->SetAsInteger(2);
  f.ds->Post();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(f.F("name")->GetAsString(), "fixed");

  f.ds->OnPostError = [](TDataSet*, EDatabaseError&, TDataAction& action) { action = daAbort; };
  f.ds->Insert();
  EXPECT_THROW(f.ds->Post(), EAbort);
  EXPECT_EQ(f.ds->GetState(), dsInsert);
}

TEST(DataSetStates, MisuseGivesTheFrameworkMessages) {
  Fixture f;
  auto message = [](auto&& action) {
    try {
      action();
    } catch (const EDatabaseError& e) {
      return String(e.what());
    }
    return String("no error");
  };
  EXPECT_EQ(message([&] { f.ds->Next(); }), "People: Cannot perform this operation on a closed dataset");
  f.ds->Open();
  EXPECT_EQ(message([&] { f.F("id")->SetAsInteger(3); }), "People: Dataset not in edit or insert mode");
  EXPECT_EQ(message([&] { f.ds->Post(); }), "People: Dataset not in edit or insert mode");
  EXPECT_EQ(message([&] { f.ds->FieldByName("nope"); }), "People: Field 'nope' not found");
  EXPECT_EQ(message([&] { f.ds->GetFields()[5]; }), "People: Field index out of range");
  f.ds->ReadOnlyData = true;
  EXPECT_EQ(message([&] { f.ds->Edit(); }), "People: Cannot modify a read-only dataset");
  EXPECT_EQ(message([&] { f.ds->GetFieldDefs().Find("x"); }), "People: Field 'x' not found");
}

TEST(DataSetStates, MovingWhileEditingPostsFirst) {
  Fixture f;
  f.ds->Open();
  f.ds->Edit();
  f.F("name")->SetAsString("auto");
  f.ds->Next(); // browse mode is checked before moving: the change is posted
  EXPECT_EQ(f.ds->GetState(), dsBrowse);
  f.ds->First();
  EXPECT_EQ(f.F("name")->GetAsString(), "auto");
  f.ds->Edit();
  f.ds->Next(); // nothing changed: cancelled
  EXPECT_EQ(f.Id(), 2);
}

// Walks forwards and backwards with a window of several buffers, as a grid
// with that many visible rows would make the data set keep.
class Navigation : public testing::TestWithParam<int> {};

TEST_P(Navigation, WalkBothWaysThroughTheRing) {
  Fixture f(7);
  TDataSource src(nullptr);
  struct Window : TDataLink {};
  Window link;
  link.SetBufferCount(GetParam());
  link.SetDataSource(&src);
  src.SetDataSet(f.ds.get());
  f.ds->Open();
  std::vector<int> seen;
  for (f.ds->First(); !f.ds->GetEof(); f.ds->Next())
    seen.push_back(f.Id());
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(f.Id(), 7); // Eof stays on the last row
  seen.clear();
  for (f.ds->Last(); !f.ds->GetBof(); f.ds->Prior())
    seen.push_back(f.Id());
  EXPECT_EQ(seen, (std::vector<int>{7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(f.ds->MoveBy(3), 3);
  EXPECT_EQ(f.Id(), 4);
  EXPECT_EQ(f.ds->MoveBy(-2), -2);
  EXPECT_EQ(f.Id(), 2);
  EXPECT_EQ(f.ds->MoveBy(10), 5);
  EXPECT_TRUE(f.ds->GetEof());
  EXPECT_EQ(f.ds->GetRecNo(), 7);
  EXPECT_LE(link.GetRecordCount(), GetParam());
  EXPECT_GE(link.GetActiveRecord(), 0);
  EXPECT_LT(link.GetActiveRecord(), GetParam());
  f.ds->Close();
}

INSTANTIATE_TEST_SUITE_P(BufferCounts, Navigation, testing::Values(1, 3, 10));

TEST(DataSetBookmarks, GotoBookmarkReturnsToTheRow) {
  Fixture f;
  f.ds->Open();
  f.ds->MoveBy(2);
  TBookmark third = f.ds->GetBookmark();
  ASSERT_EQ(third.size(), 4u);
  f.ds->Last();
  TBookmark last = f.ds->GetBookmark();
  f.Take();
  f.ds->GotoBookmark(third);
  EXPECT_EQ(f.Take(), (Log{"BeforeScroll", "AfterScroll"}));
  EXPECT_EQ(f.Id(), 3);
  EXPECT_EQ(f.ds->CompareBookmarks(third.data(), last.data()), -1);
  EXPECT_EQ(f.ds->CompareBookmarks(last.data(), third.data()), 1);
  EXPECT_EQ(f.ds->CompareBookmarks(nullptr, third.data()), 1);
  EXPECT_TRUE(f.ds->BookmarkValid(third.data()));
  f.ds->GotoBookmark(TBookmark()); // no bookmark: nothing happens
  EXPECT_EQ(f.Id(), 3);
  f.ds->Insert();
  EXPECT_TRUE(f.ds->GetBookmark().empty()); // an unposted row has none
}

TEST(DataSetFields, CalculatedFieldsAreComputedPerRow) {
  Fixture f(3);
  auto* twice = new TIntegerField(f.ds.get());
  twice->SetFieldName("twice");
  twice->FieldKind = fkCalculated;
  twice->SetDataSet(f.ds.get());
  auto* id = new TIntegerField(f.ds.get());
  id->SetFieldName("id");
  id->SetDataSet(f.ds.get());
  f.ds->OnCalcFields = [&](TDataSet*) { twice->SetAsInteger(id->GetAsInteger() * 2); };
  f.ds->Open();
  EXPECT_FALSE(f.ds->GetDefaultFields());
  EXPECT_EQ(f.ds->GetFieldCount(), 2); // only the persistent fields
  EXPECT_EQ(twice->GetFieldNo(), -1);
  std::vector<int> values;
  for (; !f.ds->GetEof(); f.ds->Next())
    values.push_back(twice->GetAsInteger());
  EXPECT_EQ(values, (std::vector<int>{2, 4, 6}));
  f.ds->Edit();
  id->SetAsInteger(10); // a data change recomputes the calculated fields
  EXPECT_EQ(twice->GetAsInteger(), 20);
  f.ds->Cancel();
}

TEST(DataSetFields, FilterRecordEventSeesEachRowInFilterState) {
  Fixture f(6);
  f.ds->SetOnFilterRecord([&](TDataSet* ds, bool& accept) {
    EXPECT_EQ(ds->GetState(), dsFilter);
    accept = ds->FieldByName("id")->GetAsInteger() % 2 == 0;
  });
  f.ds->SetFiltered(true);
  f.ds->Open();
  std::vector<int> ids;
  for (; !f.ds->GetEof(); f.ds->Next())
    ids.push_back(f.Id());
  EXPECT_EQ(ids, (std::vector<int>{2, 4, 6}));
}

TEST(DataSetFields, BlockReadWalksAndEndsInBrowseState) {
  Fixture f(4);
  f.ds->Open();
  f.ds->SetBlockReadSize(10);
  EXPECT_EQ(f.ds->GetState(), dsBlockRead);
  int n = 0;
  while (!f.ds->GetEof()) {
    ++n;
    f.ds->Next();
  }
  EXPECT_EQ(n, 4);
  f.ds->SetBlockReadSize(0);
  EXPECT_EQ(f.ds->GetState(), dsBrowse);
}

} // namespace

namespace {

TEST(DataSetStates, RefreshReadsTheRowsAgainAroundTheCursor) {
  Fixture f(4);
  f.ds->Open();
  f.ds->MoveBy(3);       // on the last row
  f.ds->Rows.pop_back(); // the row went away underneath
  f.ds->Refresh();
  EXPECT_EQ(f.Id(), 3); // the nearest row that is still there
  EXPECT_EQ(f.ds->GetRecordCount(), 3);
}

TEST(DataSetStates, GrowingTheWindowWhileOpenKeepsTheCurrentRow) {
  Fixture f(6);
  f.ds->Open();
  f.ds->MoveBy(2);
  TDataSource src(nullptr);
  src.SetDataSet(f.ds.get());
  struct Window : TDataLink {};
  Window link;
  link.SetDataSource(&src);
  link.SetBufferCount(4);
  EXPECT_EQ(f.Id(), 3);
  EXPECT_EQ(link.GetRecordCount(), 4);
  f.ds->Next();
  EXPECT_EQ(f.Id(), 4);
  link.SetBufferCount(1);
  EXPECT_EQ(f.Id(), 4);
  f.ds->Prior();
  EXPECT_EQ(f.Id(), 3);
}

TEST(DataSetFields, ChangeEventAndStateValues) {
  Fixture f(2);
  f.ds->Open();
  std::vector<String> changed;
  f.F("name")->OnChange = [&](TField* field) { changed.push_back(field->GetAsString()); };
  f.ds->Edit();
  f.F("name")->SetAsString("a");
  f.F("name")->SetAsString("b");
  EXPECT_EQ(changed, (std::vector<String>{"a", "b"}));
  // Without an old-record buffer the base data set has no old value to give.
  EXPECT_TRUE(f.F("name")->GetOldValue().IsNull());
  EXPECT_EQ(f.ds->GetState(), dsEdit);
  f.ds->Cancel();
}

} // namespace

namespace {

// Fails while opening, after its fields exist, the way a cursor that cannot
// describe its result does.
class TFailingOpen : public TMemDataSet {
public:
  bool Fail = true;
  int Closes = 0;

protected:
  void InternalOpen() override {
    TMemDataSet::InternalOpen();
    if (Fail) DatabaseError("cannot describe");
  }
  void InternalClose() override {
    ++Closes;
    TMemDataSet::InternalClose();
  }
};

TEST(DataSetStates, FailedOpenLeavesTheDataSetClosedAndClean) {
  TFailingOpen ds;
  ds.Columns = {{"id", ftInteger}};
  ds.AddRow({String("1")});
  bool afterOpen = false;
  ds.AfterOpen = [&](TDataSet*) { afterOpen = true; };
  EXPECT_THROW(ds.Open(), EDatabaseError);
  EXPECT_FALSE(ds.GetActive());
  EXPECT_EQ(ds.GetState(), dsInactive);
  EXPECT_EQ(ds.Closes, 1); // the half-open cursor was closed again
  EXPECT_EQ(ds.GetFieldCount(), 0);
  EXPECT_FALSE(afterOpen);
  ds.Fail = false;
  ds.Open();
  EXPECT_TRUE(afterOpen);
  EXPECT_EQ(ds.FieldByName("id")->GetAsInteger(), 1);
}

} // namespace

namespace {

// Random walks of moves and edits against a plain list: whatever the window
// size, the current row is the one the list says.
class RingWalk : public testing::TestWithParam<int> {};

TEST_P(RingWalk, CurrentRowFollowsTheModel) {
  Fixture f(6);
  TDataSource src(nullptr);
  struct Window : TDataLink {};
  Window link;
  link.SetBufferCount(GetParam());
  link.SetDataSource(&src);
  src.SetDataSet(f.ds.get());
  f.ds->Open();
  std::vector<int> model{1, 2, 3, 4, 5, 6};
  int cur = 0, nextId = 100;
  uint32_t seed = 12345u + static_cast<uint32_t>(GetParam());
  auto rnd = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(n));
  };
  for (int step = 0; step < 400; ++step) {
    int n = static_cast<int>(model.size());
    int op = rnd(9);
    SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op));
    switch (op) {
    case 0:
      f.ds->First();
      cur = 0;
      break;
    case 1:
      f.ds->Last();
      cur = n - 1;
      break;
    case 2:
      f.ds->Next();
      cur = std::min(cur + 1, n - 1);
      break;
    case 3:
      f.ds->Prior();
      cur = std::max(cur - 1, 0);
      break;
    case 4: {
      int d = rnd(7) - 3;
      f.ds->MoveBy(d);
      cur = std::clamp(cur + d, 0, std::max(n - 1, 0));
      break;
    }
    case 5:
      if (n == 0) break;
      f.ds->Delete();
      model.erase(model.begin() + cur);
      cur = std::min(cur, static_cast<int>(model.size()) - 1);
      break;
    case 6:
      f.ds->Insert();
      f.F("id")->SetAsInteger(nextId);
      f.F("name")->SetAsString("i");
      f.ds->Post();
      model.insert(model.begin() + (n ? cur : 0), nextId++);
      if (!n) cur = 0;
      break;
    case 7:
      f.ds->Append();
      f.F("id")->SetAsInteger(nextId);
      f.F("name")->SetAsString("a");
      f.ds->Post();
      model.push_back(nextId++);
      cur = static_cast<int>(model.size()) - 1;
      break;
    case 8: {
      if (n == 0) break;
      TBookmark here = f.ds->GetBookmark();
      f.ds->MoveBy(rnd(5) - 2);
      f.ds->GotoBookmark(here);
      break;
    }
    }
    cur = std::max(cur, 0);
    ASSERT_EQ(f.ds->GetRecordCount(), static_cast<int>(model.size()));
    if (model.empty()) {
      ASSERT_TRUE(f.ds->IsEmpty());
      continue;
    }
    ASSERT_EQ(f.Id(), model[static_cast<size_t>(cur)]);
    ASSERT_GE(link.GetActiveRecord(), 0);
    ASSERT_LT(link.GetActiveRecord(), GetParam());
  }
  f.ds->Close();
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, RingWalk, testing::Values(1, 2, 5));

} // namespace
