// Changing rows through the query component on the test server: inserts,
// edits and deletes of keyed tables written at once, each naming exactly the
// row that was read.
#include "DbDatabaseTestSupport.h"

#include "DateUtils.h"

namespace {

constexpr const char* EditingDatabase = "velmora_editing";

class Editing : public TComponentsOnServer {
protected:
  void SetUp() override {
    TComponentsOnServer::SetUp();
    if (IsSkipped()) return;
    auto setup = NewDatabase("");
    setup->Execute(Format("DROP DATABASE IF EXISTS %s", EditingDatabase));
    setup->Execute(Format("CREATE DATABASE %s", EditingDatabase));
    FDb = NewDatabase(EditingDatabase);
    FDb->Open();
    // Names that need quoting: a reserved word, a blank, a back-quote.
    Exec("CREATE TABLE `order items` (`group` INT NOT NULL, `key name` VARCHAR(20) NOT NULL, "
         "`a``b` VARCHAR(20) NULL, PRIMARY KEY (`group`, `key name`))");
    Exec("INSERT INTO `order items` VALUES (1, 'x', 'one'), (1, 'y', NULL), (2, 'x', ''), (2, '', 'empty "
         "key')");
  }

  void Exec(const String& sql) { FDb->Execute(sql); }

  std::unique_ptr<TmySQLQuery> Live(const String& sql) {
    auto query = NewQuery(*FDb, sql);
    query->RequestLive = true;
    query->Open();
    return query;
  }

  // "group/key name=value" for every row, NULL shown as such.
  std::vector<String> Rows() {
    return Column(*FDb, "SELECT CONCAT(`group`, '/', `key name`, '=', IFNULL(`a``b`, 'NULL')) "
                        "FROM `order items` ORDER BY `group`, `key name`");
  }

  std::unique_ptr<TmySQLDatabase> FDb;
};

const char* const ItemsSql = "SELECT * FROM `order items` ORDER BY `group`, `key name`";

bool Seek(TmySQLQuery& query, int group, const String& keyName) {
  for (query.First(); !query.GetEof(); query.Next())
    if (query.FieldByName("group")->GetAsInteger() == group &&
        query.FieldByName("key name")->GetAsString() == keyName)
      return true;
  return false;
}

} // namespace

TEST_F(Editing, InsertEditDeleteReachTheServerAtOnce) {
  auto query = Live(ItemsSql);
  ASSERT_TRUE(query->GetCanModify());

  query->Append();
  query->FieldByName("group")->SetAsInteger(3);
  query->FieldByName("key name")->SetAsString("it's");
  query->FieldByName("a`b")->SetAsString("new");
  query->Post();
  EXPECT_EQ(query->FieldByName("key name")->GetAsString(), "it's") << "the cursor follows the new row";

  ASSERT_TRUE(Seek(*query, 1, "x"));
  query->Edit();
  query->FieldByName("a`b")->SetAsString("changed");
  query->Post();
  EXPECT_EQ(query->FieldByName("a`b")->GetAsString(), "changed");

  ASSERT_TRUE(Seek(*query, 2, "x"));
  query->Delete();

  EXPECT_EQ(Rows(), (std::vector<String>{"1/x=changed", "1/y=NULL", "2/=empty key", "3/it's=new"}));
  EXPECT_EQ(query->GetRecordCount(), 4);
}

TEST_F(Editing, EmptyTextAndNullStayDistinct) {
  auto query = Live(ItemsSql);
  // The row keyed by the empty text is written, not the one whose column is empty.
  ASSERT_TRUE(Seek(*query, 2, ""));
  query->Edit();
  query->FieldByName("a`b")->Clear();
  query->Post();
  ASSERT_TRUE(Seek(*query, 1, "y"));
  query->Edit();
  query->FieldByName("a`b")->SetAsString("");
  query->Post();
  EXPECT_EQ(Rows(), (std::vector<String>{"1/x=one", "1/y=", "2/=NULL", "2/x="}));
}

TEST_F(Editing, KeyChangeMovesTheRowAndTheCursorFollows) {
  auto query = Live(ItemsSql);
  ASSERT_TRUE(Seek(*query, 1, "x"));
  query->Edit();
  query->FieldByName("group")->SetAsInteger(9);
  query->Post();
  EXPECT_EQ(query->FieldByName("group")->GetAsInteger(), 9);
  EXPECT_EQ(Rows(), (std::vector<String>{"1/y=NULL", "2/=empty key", "2/x=", "9/x=one"}));
}

TEST_F(Editing, CancelLeavesTheServerAndTheRowAsTheyWere) {
  auto query = Live(ItemsSql);
  ASSERT_TRUE(Seek(*query, 1, "x"));
  query->Edit();
  query->FieldByName("a`b")->SetAsString("dropped");
  query->Cancel();
  EXPECT_EQ(query->FieldByName("a`b")->GetAsString(), "one");
  query->Append();
  query->FieldByName("group")->SetAsInteger(5);
  query->Cancel();
  EXPECT_EQ(Rows(), (std::vector<String>{"1/x=one", "1/y=NULL", "2/=empty key", "2/x="}));
}

TEST_F(Editing, EventsRunInTheFrameworksOrder) {
  auto query = Live(ItemsSql);
  std::vector<String> events;
  auto record = [&events](const char* name) {
    return [&events, name](TDataSet*) { events.push_back(name); };
  };
  query->BeforeEdit = record("BeforeEdit");
  query->AfterEdit = record("AfterEdit");
  query->BeforePost = record("BeforePost");
  query->AfterPost = record("AfterPost");
  query->BeforeCancel = record("BeforeCancel");
  query->AfterCancel = record("AfterCancel");
  query->BeforeDelete = record("BeforeDelete");
  query->AfterDelete = record("AfterDelete");
  query->BeforeInsert = record("BeforeInsert");
  query->AfterInsert = record("AfterInsert");
  query->First();
  query->Edit();
  query->FieldByName("a`b")->SetAsString("e");
  query->Post();
  query->Edit();
  query->Cancel();
  query->Insert();
  query->FieldByName("group")->SetAsInteger(7);
  query->FieldByName("key name")->SetAsString("k");
  query->Post();
  query->Delete();
  EXPECT_EQ(events,
            (std::vector<String>{"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost", "BeforeEdit",
                                 "AfterEdit", "BeforeCancel", "AfterCancel", "BeforeInsert", "AfterInsert",
                                 "BeforePost", "AfterPost", "BeforeDelete", "AfterDelete"}));
  EXPECT_EQ(Rows(), (std::vector<String>{"1/x=e", "1/y=NULL", "2/=empty key", "2/x="}));
}

TEST_F(Editing, RowGoneOrRekeyedUnderneathFailsClearly) {
  struct Case {
    const char* Underneath;
    bool Delete;
  } cases[] = {
      {"DELETE FROM `order items` WHERE `group`=1 AND `key name`='x'", false},
      {"UPDATE `order items` SET `key name`='z' WHERE `group`=1 AND `key name`='x'", false},
      {"DELETE FROM `order items` WHERE `group`=1 AND `key name`='x'", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Underneath);
    Exec("DELETE FROM `order items`");
    Exec("INSERT INTO `order items` VALUES (1, 'x', 'one'), (1, 'y', NULL)");
    auto query = Live(ItemsSql);
    ASSERT_TRUE(Seek(*query, 1, "x"));
    Exec(c.Underneath);
    auto change = [&] {
      if (c.Delete) {
        query->Delete();
        return;
      }
      query->Edit();
      query->FieldByName("a`b")->SetAsString("lost");
      query->Post();
    };
    EXPECT_NE(MessageOf<EmySQLDatabaseError>(change).find("The row was not found"), String::npos);
    if (!c.Delete) query->Cancel();
    EXPECT_EQ(Column(*FDb, "SELECT COUNT(*) FROM `order items` WHERE `a``b`='lost'"),
              std::vector<String>{"0"});
  }
}

TEST_F(Editing, TablesWithoutAWholeKeyRefuseEdits) {
  Exec("CREATE TABLE keyless (id INT, name VARCHAR(10))");
  Exec("CREATE TABLE nullable_unique (code VARCHAR(5) NULL, name VARCHAR(10), UNIQUE KEY (code))");
  Exec("INSERT INTO keyless VALUES (1, 'a'), (1, 'b')");
  // The values are there, but the key's column could hold NULL in other rows.
  Exec("INSERT INTO nullable_unique VALUES ('p', 'a'), ('q', 'b')");
  for (const char* table : {"keyless", "nullable_unique"}) {
    SCOPED_TRACE(table);
    auto query = Live(Format("SELECT * FROM %s", table));
    query->Edit();
    query->FieldByName("name")->SetAsString("c");
    EXPECT_NE(MessageOf<EmySQLDatabaseError>([&] { query->Post(); }).find("cannot be edited"), String::npos);
    query->Cancel();
    EXPECT_NE(MessageOf<EmySQLDatabaseError>([&] { query->Delete(); }).find("cannot be edited"),
              String::npos);
    EXPECT_EQ(Column(*FDb, Format("SELECT name FROM %s ORDER BY name", table)),
              (std::vector<String>{"a", "b"}));
  }
}

TEST_F(Editing, AutoIncrementRowIsFoundThroughItsInsertId) {
  Exec("CREATE TABLE counted (id INT AUTO_INCREMENT PRIMARY KEY, name VARCHAR(10))");
  Exec("INSERT INTO counted (name) VALUES ('a'), ('b')");
  auto query = Live("SELECT * FROM counted ORDER BY name DESC");
  query->Append();
  query->FieldByName("name")->SetAsString("0");
  query->Post();
  EXPECT_EQ(query->FieldByName("id")->GetAsInteger(), 3);
  EXPECT_EQ(query->FieldByName("name")->GetAsString(), "0");
}

TEST_F(Editing, ReadOnlyQueryRefusesEdits) {
  auto query = NewQuery(*FDb, ItemsSql);
  query->Open();
  EXPECT_FALSE(query->GetCanModify());
  EXPECT_THROW(query->Edit(), EDatabaseError);
}

TEST_F(Editing, EveryValueKindIsWrittenAsItsLiteral) {
  Exec(
      "CREATE TABLE kinds (id INT PRIMARY KEY, members SET('a','b','c'), yn ENUM('y','n'), tf ENUM('t','f'), "
      "d DATE, t TIME, dt DATETIME, f DOUBLE, big BIGINT, note TEXT, small TINYBLOB)");
  auto query = Live("SELECT * FROM kinds");
  query->Append();
  query->FieldByName("id")->SetAsInteger(1);
  query->FieldByName("members")->SetAsString("a,c");
  query->FieldByName("yn")->SetAsBoolean(false);
  query->FieldByName("tf")->SetAsBoolean(true);
  query->FieldByName("d")->SetAsDateTime(EncodeDate(2024, 2, 29));
  query->FieldByName("t")->SetAsDateTime(EncodeTime(13, 14, 15, 0));
  query->FieldByName("dt")->SetAsDateTime(EncodeDateTime(2024, 2, 29, 13, 14, 15, 0));
  query->FieldByName("f")->SetAsFloat(2.5);
  query->FieldByName("big")->SetAsString("9000000000");
  query->FieldByName("note")->SetAsString("it's a \\ note");
  query->Post();
  EXPECT_EQ(
      Column(*FDb, "SELECT CONCAT_WS('|', members, members + 0, yn, tf, d, t, dt, f, big, note) FROM kinds"),
      std::vector<String>{"a,c|5|n|t|2024-02-29|13:14:15|2024-02-29 13:14:15|2.5|9000000000|it's a \\ note"});
  // A blob longer than its column is refused before anything is sent.
  query->Edit();
  query->FieldByName("small")->SetAsString(String(300, 'x'));
  EXPECT_NE(MessageOf<EmySQLDatabaseError>([&] {
              query->Post();
            }).find("Image size exceeds maximum blob field size"),
            String::npos);
  query->Cancel();
  EXPECT_EQ(Column(*FDb, "SELECT IFNULL(small, 'NULL') FROM kinds"), std::vector<String>{"NULL"});
}

TEST_F(Editing, AnInsertWithEveryFieldNullSendsNothing) {
  Exec("CREATE TABLE loose (a INT NULL, b VARCHAR(5) NULL)");
  auto query = Live("SELECT * FROM loose");
  query->Append();
  query->Post();
  EXPECT_EQ(Column(*FDb, "SELECT COUNT(*) FROM loose"), std::vector<String>{"0"});
  EXPECT_EQ(query->GetRecordCount(), 0);
}

TEST_F(Editing, CachedUpdatesStillWriteAtOnce) {
  auto query = Live(ItemsSql);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->FieldByName("a`b")->GetOldValue(); }),
            "Not in cached update mode");
  query->SetCachedUpdates(true);
  EXPECT_EQ(query->FieldByName("group")->GetAsInteger(), 1) << "switching keeps the row on show";
  query->Edit();
  query->FieldByName("a`b")->SetAsString("cached");
  query->Post();
  EXPECT_EQ(Rows().front(), "1/x=cached");
  EXPECT_EQ(query->UpdateStatus(), usUnmodified);
  query->SetCachedUpdates(false);
  EXPECT_EQ(query->UpdateStatus(), usUnmodified);

  // A read-only query may be changed when an update handler would take the rows.
  auto readOnly = NewQuery(*FDb, ItemsSql);
  readOnly->Open();
  readOnly->SetCachedUpdates(true);
  EXPECT_FALSE(readOnly->GetCanModify());
  readOnly->OnUpdateRecord = [](TDataSet*, TUpdateKind, TUpdateAction&) {};
  EXPECT_TRUE(readOnly->GetCanModify());
}

TEST_F(Editing, ProviderCallsRunInTheDatabasesTransaction) {
  auto query = Live(ItemsSql);
  EXPECT_TRUE(query->PSIsSQLBased());
  EXPECT_EQ(query->PSGetQuoteChar(), "\"");
  EXPECT_FALSE(query->PSInTransaction());
  query->PSStartTransaction();
  EXPECT_TRUE(query->PSInTransaction());
  EXPECT_EQ(query->PSExecuteStatement("DELETE FROM `order items` WHERE `group` = 1", nullptr, false), 2);
  EXPECT_EQ(query->PSExecuteStatement("DELETE FROM `order items`", nullptr, true), 0) << "nothing runs";
  query->PSEndTransaction(false);
  EXPECT_FALSE(query->PSInTransaction());
  EXPECT_EQ(Rows().size(), 4u);
}
