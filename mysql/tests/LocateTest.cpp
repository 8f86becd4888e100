// Filters, FindFirst/FindNext, Locate and Lookup of the query component over
// a few hundred rows on the test server.
#include "DbDatabaseTestSupport.h"

namespace {

constexpr const char* LocateDatabase = "velmora_locate";
constexpr int RowCount = 300;

// Row n: id n, name "Name<n>", colour "red", "Green" or "blue" by n mod 3.
class Searching : public TComponentsOnServer {
protected:
  void SetUp() override {
    TComponentsOnServer::SetUp();
    if (IsSkipped()) return;
    auto setup = NewDatabase("");
    setup->Execute(Format("CREATE DATABASE IF NOT EXISTS %s", LocateDatabase));
    FDb = NewDatabase(LocateDatabase);
    FDb->Open();
    FDb->Execute("DROP TABLE IF EXISTS colours");
    FDb->Execute("CREATE TABLE colours (id INT PRIMARY KEY, name VARCHAR(20) NOT NULL, colour VARCHAR(10))");
    FDb->Execute(
        Format("INSERT INTO colours WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s "
               "WHERE n < %d) SELECT n, CONCAT('Name', n), ELT(1 + n %% 3, 'red', 'Green', 'blue') FROM s",
               RowCount));
    FQuery = NewQuery(*FDb, "SELECT * FROM colours ORDER BY id");
    FQuery->Open();
  }

  int Id() const { return FQuery->FieldByName("id")->GetAsInteger(); }

  // The ids the data set shows, first to last.
  std::vector<int> Ids() {
    std::vector<int> ids;
    for (FQuery->First(); !FQuery->GetEof(); FQuery->Next())
      ids.push_back(Id());
    return ids;
  }

  std::unique_ptr<TmySQLDatabase> FDb;
  std::unique_ptr<TmySQLQuery> FQuery;
};

} // namespace

TEST_F(Searching, LocateFindsTheFirstMatchingRowOrStaysPut) {
  struct Case {
    const char* Fields;
    Variant Values;
    TLocateOptions Options;
    int Expected; // 0: not found
  } cases[] = {
      {"id", 150, 0, 150},
      {"id", 9999, 0, 0},
      {"name", "name7", 0, 0},
      {"name", "name7", loCaseInsensitive, 7},
      {"name", "Name29", loPartialKey, 29},
      {"name", "NAME29", loPartialKey | loCaseInsensitive, 29},
      {"name", "Name2", 0, 2},
      {"colour;id", VarArrayOf({"Green", 4}), 0, 4},
      {"colour;id", VarArrayOf({"red", 4}), 0, 0},
      {"colour;name", VarArrayOf({"BLUE", "name5"}), loCaseInsensitive, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Format("%s, case %d", c.Fields, int(&c - cases)));
    FQuery->First();
    FQuery->MoveBy(10);
    ASSERT_EQ(Id(), 11);
    EXPECT_EQ(FQuery->Locate(c.Fields, c.Values, c.Options), c.Expected != 0);
    EXPECT_EQ(Id(), c.Expected ? c.Expected : 11);
    FQuery->Next();
    EXPECT_EQ(Id(), (c.Expected ? c.Expected : 11) + 1) << "the cursor goes on from the row on show";
  }
}

TEST_F(Searching, LookupAnswersWithoutMovingTheRow) {
  FQuery->First();
  FQuery->MoveBy(4);
  EXPECT_EQ(FQuery->Lookup("id", 42, "name").AsString(), "Name42");
  const Variant both = FQuery->Lookup("name", "Name43", "id;colour");
  ASSERT_TRUE(VarIsArray(both));
  EXPECT_EQ(both[0].AsInteger(), 43);
  EXPECT_EQ(both[1].AsString(), "Green");
  EXPECT_TRUE(FQuery->Lookup("id", 9999, "name").IsNull());
  EXPECT_EQ(Id(), 5);
  FQuery->Next();
  EXPECT_EQ(Id(), 6);
}

TEST_F(Searching, ExpressionFilterShowsOnlyItsRows) {
  FQuery->First();
  FQuery->MoveBy(20);
  FQuery->SetFilter("colour = 'red'");
  EXPECT_EQ(Id(), 21) << "a filter that is off does not move the row";
  FQuery->SetFiltered(true);
  EXPECT_EQ(Id(), 3);
  EXPECT_EQ(FQuery->GetRecordCount(), RowCount / 3);
  const std::vector<int> ids = Ids();
  ASSERT_EQ(ids.size(), size_t(RowCount / 3));
  for (int id : ids)
    EXPECT_EQ(id % 3, 0);
  FQuery->SetFilter("id > 290 and colour = 'blue'");
  EXPECT_EQ(Ids(), (std::vector<int>{293, 296, 299}));
  FQuery->SetFilterOptions(foCaseInsensitive);
  FQuery->SetFilter("colour = 'GREEN' and id < 10");
  EXPECT_EQ(Ids(), (std::vector<int>{1, 4, 7}));
  FQuery->SetFiltered(false);
  EXPECT_EQ(Id(), 1);
  EXPECT_EQ(FQuery->GetRecordCount(), RowCount);
  EXPECT_THROW(FQuery->SetFilter("colour = "), EDatabaseError);
  EXPECT_EQ(FQuery->GetFilter(), "colour = 'GREEN' and id < 10");
}

TEST_F(Searching, FindFirstAndFindNextHonourTheFilterWhileItIsOff) {
  FQuery->SetFilter("id > 296");
  ASSERT_FALSE(FQuery->GetFiltered());
  std::vector<int> found;
  for (bool more = FQuery->FindFirst(); more; more = FQuery->FindNext())
    found.push_back(Id());
  EXPECT_EQ(found, (std::vector<int>{297, 298, 299, 300}));
  EXPECT_EQ(Id(), 300);
  EXPECT_TRUE(FQuery->FindLast());
  EXPECT_EQ(Id(), 300);
  EXPECT_TRUE(FQuery->FindPrior());
  EXPECT_EQ(Id(), 299);
  EXPECT_EQ(FQuery->GetRecordCount(), RowCount) << "the data set itself stays unfiltered";
}

TEST_F(Searching, OnFilterRecordDecidesEachRowInTheFilterState) {
  std::vector<TDataSetState> states;
  bool accept = false;
  FQuery->SetOnFilterRecord([&](TDataSet* DataSet, bool& Accept) {
    states.push_back(DataSet->GetState());
    Accept = accept;
  });
  FQuery->SetFiltered(true);
  EXPECT_TRUE(FQuery->GetEof());
  EXPECT_EQ(FQuery->GetRecordCount(), 0);
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(states.front(), dsFilter);
  EXPECT_EQ(FQuery->GetState(), dsBrowse);
  accept = true;
  FQuery->SetFiltered(false);
  FQuery->SetFiltered(true);
  EXPECT_EQ(FQuery->GetRecordCount(), RowCount);
  FQuery->SetOnFilterRecord(nullptr);
  EXPECT_EQ(Id(), 1);
}

TEST_F(Searching, OnFilterRecordReadsTheRowItDecides) {
  FQuery->SetOnFilterRecord([](TDataSet* DataSet, bool& Accept) {
    Accept = DataSet->FieldByName("id")->GetAsInteger() % 2 == 0;
  });
  FQuery->SetFiltered(true);
  const std::vector<int> ids = Ids();
  ASSERT_EQ(ids.size(), size_t(RowCount / 2));
  for (int id : ids)
    EXPECT_EQ(id % 2, 0) << id;
}

TEST_F(Searching, AFilterSetBeforeOpenAppliesAtOpen) {
  FQuery->Close();
  FQuery->SetOnFilterRecord([](TDataSet* DataSet, bool& Accept) {
    Accept = DataSet->FieldByName("id")->GetAsInteger() <= 3;
  });
  FQuery->SetFiltered(true);
  FQuery->Open();
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3}));
}

TEST_F(Searching, AFaultyFilterHandlerDoesNotStopTheFetch) {
  int handled = 0;
  ApplicationHandleException = [&](TObject*) { ++handled; };
  FQuery->SetOnFilterRecord([](TDataSet*, bool&) { throw Exception("handler fault"); });
  FQuery->SetFiltered(true);
  ApplicationHandleException = nullptr;
  EXPECT_GT(handled, 0);
  EXPECT_EQ(Id(), 1) << "the row keeps the answer the handler left";
}
