// The query component on the synchronizer's road: opening statements,
// walking rows, reading every column type, long definitions through the
// blob stream, executing statements, parameters and SQL changes.
#include "DbDatabaseTestSupport.h"

#include "DateUtils.h"

#include <cmath>

namespace {

class DbQuery : public TComponentsOnServer {
protected:
  void SetUp() override {
    TComponentsOnServer::SetUp();
    if (IsSkipped()) return;
    FDb = NewDatabase();
    FDb->Open();
  }

  void Exec(const String& sql) { FDb->Execute(sql); }

  std::unique_ptr<TmySQLDatabase> FDb;
};

// The text the server sends for a statement's first row, read past every
// component layer.
String ServerText(const TTestServerAddress& server, const String& sql, int column) {
  TMysqlClient client;
  client.Timeout = 10;
  client.Connect(server.Host, TestAccount().User, TestAccount().Password, ComponentTestDatabase, server.Port,
                 "", vkTcp, 0);
  auto result = RunSql(client, sql);
  if (!result) return "(no result)";
  result->First();
  result->FetchLengths(true);
  const char* value = result->Value(column);
  return value ? String(value, result->Length(column)) : "(null)";
}

} // namespace

TEST_F(DbQuery, ShowTablesWalksEveryRowOnce) {
  Exec("DROP DATABASE IF EXISTS velmora_show");
  Exec("CREATE DATABASE velmora_show");
  for (const char* table : {"alpha", "beta", "gamma"})
    Exec(Format("CREATE TABLE velmora_show.%s (id INT)", table));
  auto db = NewDatabase("velmora_show");
  auto query = NewQuery(*db, "show tables");
  query->Open();
  EXPECT_TRUE(query->GetActive());
  EXPECT_EQ(query->GetRecordCount(), 3);
  EXPECT_EQ(query->GetFieldCount(), 1);
  EXPECT_EQ(query->GetFields()[0]->GetFieldName(), "Tables_in_velmora_show");
  std::vector<String> names;
  for (query->First(); !query->GetEof(); query->Next())
    names.push_back(query->GetFields()[0]->GetAsString());
  EXPECT_EQ(names, (std::vector<String>{"alpha", "beta", "gamma"}));
  query->Next();
  EXPECT_TRUE(query->GetEof());
  query->Close();
  EXPECT_FALSE(query->GetActive());
  EXPECT_EQ(db->GetUseCount(), 0);
  EXPECT_EQ(query->GetStmtHandle(), nullptr);
  Exec("DROP DATABASE velmora_show");
}

TEST_F(DbQuery, ShowCreateTableDeliversADefinitionLongerThan64KiBWhole) {
  String columns;
  for (int i = 0; i < 1000; ++i)
    columns += Format("%scolumn_with_a_long_descriptive_name_%04d INT", i ? ", " : "", i);
  Exec("DROP TABLE IF EXISTS wide_table");
  Exec("CREATE TABLE wide_table (" + columns + ") ENGINE=MyISAM");
  const String expected = ServerText(FServer, "show create table wide_table", 1);
  ASSERT_GT(expected.size(), 65536u);
  auto query = NewQuery(*FDb, "show create table wide_table");
  query->Open();
  ASSERT_EQ(query->GetFieldCount(), 2);
  EXPECT_EQ(query->GetRecordCount(), 1);
  TField* definition = query->GetFields()[1];
  EXPECT_TRUE(definition->IsBlob());
  EXPECT_EQ(query->GetFields()[0]->GetAsString(), "wide_table");
  EXPECT_EQ(definition->GetAsString(), expected);
  EXPECT_EQ(definition->GetValue().AsString(), expected);
  // The same text in pieces through the stream.
  auto stream = query->CreateBlobStream(definition, bmRead);
  EXPECT_EQ(stream->GetSize(), int64_t(expected.size()));
  String pieces;
  char chunk[7000];
  for (int64_t n; (n = stream->Read(chunk, sizeof chunk)) > 0;)
    pieces.append(chunk, size_t(n));
  EXPECT_EQ(pieces, expected);
  Exec("DROP TABLE wide_table");
}

TEST_F(DbQuery, ASelectOverEveryColumnTypeReadsValuesAndNulls) {
  Exec("DROP TABLE IF EXISTS all_types");
  Exec("CREATE TABLE all_types (id INT PRIMARY KEY, ti TINYINT, si SMALLINT, mi MEDIUMINT, i INT, bi BIGINT,"
       " iu INT UNSIGNED, f FLOAT, d DOUBLE, de DECIMAL(10,2), dt DATE, tm TIME, dtm DATETIME, ts TIMESTAMP "
       "NULL,"
       " yr YEAR, c CHAR(10), vc VARCHAR(20), lvc VARCHAR(300), tx TEXT, bl BLOB, en ENUM('red','green'),"
       " yn ENUM('y','n'), st SET('x','y','z'))");
  Exec("INSERT INTO all_types VALUES (1, -5, -300, 70000, -2000000000, 9000000000123, 2147483647, 1.5, 2.25,"
       " 1234.56, '2004-02-29', '13:14:15', '2004-02-29 13:14:15', '2005-06-07 08:09:10', 2004, 'chars',"
       " 'variable', 'long variable', 'some text', 'bytes', 'green', 'y', 'x,z')");
  Exec("INSERT INTO all_types (id) VALUES (2)");
  auto query = NewQuery(*FDb, "SELECT * FROM all_types ORDER BY id");
  query->Open();
  struct Case {
    const char* name;
    TFieldType type;
    const char* text; // AsString of row 1; date and time fields are checked below
  } cases[] = {
      {"ti", ftSmallint, "-5"},
      {"si", ftSmallint, "-300"},
      {"mi", ftInteger, "70000"},
      {"i", ftInteger, "-2000000000"},
      {"bi", ftLargeint, "9000000000123"},
      {"iu", ftInteger, "2147483647"},
      {"f", ftFloat, "1.5"},
      {"d", ftFloat, "2.25"},
      {"de", ftFloat, "1234.56"},
      {"dt", ftDate, nullptr},
      {"tm", ftTime, nullptr},
      {"dtm", ftDateTime, nullptr},
      {"ts", ftDateTime, nullptr},
      {"yr", ftInteger, "2004"},
      {"c", ftString, "chars"},
      {"vc", ftString, "variable"},
      {"lvc", ftMemo, "long variable"},
      {"tx", ftMemo, "some text"},
      {"bl", ftBlob, "bytes"},
      {"en", ftString, "green"},
      {"yn", ftBoolean, "True"},
      {"st", ftString, "x,z"},
  };
  ASSERT_EQ(query->GetRecordCount(), 2);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TField* field = query->FieldByName(c.name);
    EXPECT_EQ(field->GetDataType(), c.type);
    EXPECT_FALSE(field->IsNull());
    if (c.text) {
      EXPECT_EQ(field->GetAsString(), c.text);
    }
  }
  EXPECT_EQ(query->FieldByName("c")->GetSize(), 10);
  EXPECT_EQ(query->FieldByName("i")->GetAsInteger(), -2000000000);
  EXPECT_EQ(query->FieldByName("bi")->GetAsLargeInt(), 9000000000123);
  EXPECT_TRUE(query->FieldByName("yn")->GetAsBoolean());
  const double minute = 1.0 / (24 * 60 * 60 * 1000);
  EXPECT_NEAR(query->FieldByName("dt")->GetAsDateTime(), EncodeDate(2004, 2, 29), minute);
  EXPECT_NEAR(query->FieldByName("tm")->GetAsDateTime(), EncodeTime(13, 14, 15, 0), minute);
  EXPECT_NEAR(query->FieldByName("dtm")->GetAsDateTime(), EncodeDateTime(2004, 2, 29, 13, 14, 15, 0), minute);
  EXPECT_NEAR(query->FieldByName("ts")->GetAsDateTime(), EncodeDateTime(2005, 6, 7, 8, 9, 10, 0), minute);
  EXPECT_TRUE(query->FieldByName("id")->Required);

  query->Next();
  EXPECT_FALSE(query->GetEof());
  EXPECT_EQ(query->FieldByName("id")->GetAsInteger(), 2);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TField* field = query->FieldByName(c.name);
    EXPECT_TRUE(field->IsNull());
    EXPECT_TRUE(field->GetValue().IsNull());
    EXPECT_EQ(field->GetAsString(), "");
  }
  query->Next();
  EXPECT_TRUE(query->GetEof());
  Exec("DROP TABLE all_types");
}

TEST_F(DbQuery, ResultShapes) {
  auto empty = NewQuery(*FDb, "SELECT 1 FROM DUAL WHERE 1 = 0");
  empty->Open();
  EXPECT_TRUE(empty->GetEof());
  EXPECT_EQ(empty->GetRecordCount(), 0);
  empty->First();
  EXPECT_TRUE(empty->GetEof());

  auto three = NewQuery(*FDb, "SELECT 1 AS n UNION ALL SELECT 2 UNION ALL SELECT 3");
  three->Open();
  three->First();
  three->Next();
  three->Next();
  EXPECT_FALSE(three->GetEof());
  EXPECT_EQ(three->GetFields()[0]->GetAsInteger(), 3);
  EXPECT_EQ(three->GetRecNo(), 3);
  three->Next();
  EXPECT_TRUE(three->GetEof());
  three->Prior();
  EXPECT_EQ(three->GetFields()[0]->GetAsInteger(), 2);
  const TBookmark second = three->GetBookmark();
  three->Last();
  EXPECT_EQ(three->GetFields()[0]->GetAsInteger(), 3);
  three->GotoBookmark(second);
  EXPECT_EQ(three->GetFields()[0]->GetAsInteger(), 2);
  EXPECT_EQ(three->CompareBookmarks(second.data(), second.data()), 0);
  EXPECT_TRUE(three->BookmarkValid(second.data()));

  auto same = NewQuery(*FDb, "SELECT 1 AS x, 2 AS x, 3 AS x");
  same->Open();
  EXPECT_EQ(same->GetFields()[0]->GetFieldName(), "x");
  EXPECT_EQ(same->GetFields()[1]->GetFieldName(), "x_1");
  EXPECT_EQ(same->GetFields()[2]->GetFieldName(), "x_2");
  EXPECT_EQ(same->GetFields()[1]->GetAsInteger(), 2);

  // Columns the server reports with no width (an untyped NULL or '') keep
  // their place, so the columns after them are not shifted.
  auto widthless = NewQuery(*FDb, "SELECT NULL AS a, '' AS b, 'after' AS c");
  widthless->Open();
  ASSERT_EQ(widthless->GetFieldCount(), 3);
  EXPECT_TRUE(widthless->GetFields()[0]->IsNull());
  EXPECT_FALSE(widthless->GetFields()[1]->IsNull());
  EXPECT_EQ(widthless->GetFields()[1]->GetAsString(), "");
  EXPECT_EQ(widthless->GetFields()[2]->GetAsString(), "after");
}

TEST_F(DbQuery, ExecuteSQLRunsDdlAndDmlAndLeavesTheQueryUnused) {
  auto query = NewQuery(*FDb, "DROP TABLE IF EXISTS exec_table");
  query->ExecuteSQL();
  query->GetSQL().SetText("CREATE TABLE exec_table (id INT, name VARCHAR(10))");
  query->ExecuteSQL();
  query->GetSQL().SetText("INSERT INTO exec_table VALUES (1, 'one'), (2, 'two')");
  query->ExecuteSQL();
  EXPECT_FALSE(query->GetActive());
  EXPECT_FALSE(query->GetPrepared());
  EXPECT_EQ(FDb->GetUseCount(), 0);
  EXPECT_EQ(FDb->GetDataSetCount(), 0);
  EXPECT_EQ(FDb->Execute("UPDATE exec_table SET name = 'many'"), 2);
  EXPECT_EQ(Column(*FDb, "SELECT name FROM exec_table"), (std::vector<String>{"many", "many"}));
  query->GetSQL().SetText("SHOW TABLES");
  query->ExecuteSQL();
  EXPECT_FALSE(query->GetActive());
  query->GetSQL().SetText("INSERT INTO no_such_table VALUES (1)");
  EXPECT_TRUE(RaisesServerError([&] { query->ExecuteSQL(); }, 1146));
  EXPECT_FALSE(query->GetPrepared());
  EXPECT_EQ(FDb->GetUseCount(), 0);
  Exec("DROP TABLE exec_table");
}

TEST_F(DbQuery, OpeningAStatementWithoutRowsRunsItAndStaysClosed) {
  Exec("CREATE TABLE IF NOT EXISTS no_rows (id INT)");
  Exec("DELETE FROM no_rows");
  Exec("INSERT INTO no_rows VALUES (1)");
  auto query = NewQuery(*FDb, "UPDATE no_rows SET id = 5");
  EXPECT_THROW(query->Open(), ENoResultSet);
  EXPECT_EQ(MessageOf<ENoResultSet>([&] { query->Open(); }), "Error creating cursor handle");
  EXPECT_FALSE(query->GetActive());
  EXPECT_FALSE(query->GetPrepared());
  EXPECT_EQ(FDb->GetUseCount(), 0);
  EXPECT_EQ(Column(*FDb, "SELECT id FROM no_rows"), std::vector<String>{"5"});
}

TEST_F(DbQuery, RefusedStatementsAndSettings) {
  auto empty = NewQuery(*FDb, "");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { empty->Open(); }), "No SQL statement available");
  empty->SetName("qOne");
  empty->GetSQL().SetText("x");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { empty->ExecuteSQL(); }), "qOne: No SQL statement available");

  TmySQLQuery orphan(nullptr);
  orphan.SetName("qOrphan");
  orphan.GetSQL().SetText("SELECT 1");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { orphan.Open(); }), "(qOrphan) property Database is not set!");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { orphan.ExecuteSQL(); }), "Property Database not set!");

  auto bad = NewQuery(*FDb, "SELEKT 1");
  EXPECT_TRUE(RaisesServerError([&] { bad->Open(); }, 1064));
  EXPECT_FALSE(bad->GetActive());
  EXPECT_EQ(FDb->GetUseCount(), 0);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { bad->GetRecordCount(); }),
            "Cannot perform this operation on a closed dataset");

  auto open = NewQuery(*FDb, "SELECT 1");
  open->Open();
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { open->ExecuteSQL(); }),
            "Cannot perform this operation on an open dataset");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { open->SetPrepared(false); }),
            "Cannot perform this operation on an open dataset");
}

TEST_F(DbQuery, ParametersAreParsedKeptAndSubstituted) {
  Exec("DROP TABLE IF EXISTS param_rows");
  Exec("CREATE TABLE param_rows (id INT, name VARCHAR(20))");
  auto insert = NewQuery(*FDb, "INSERT INTO param_rows VALUES (:id, :name)");
  ASSERT_EQ(insert->GetParams().GetCount(), 2);
  const struct {
    int id;
    const char* name;
  } rows[] = {{1, "plain"}, {2, "it's \"quoted\""}, {3, nullptr}};
  for (const auto& r : rows) {
    insert->GetParams().ParamByName("id")->SetAsInteger(r.id);
    if (r.name)
      insert->GetParams().ParamByName("name")->SetAsString(r.name);
    else
      insert->GetParams().ParamByName("name")->Clear();
    insert->ExecuteSQL();
  }
  auto query = NewQuery(*FDb, "SELECT name FROM param_rows WHERE id = :id");
  ASSERT_EQ(query->GetParams().GetCount(), 1);
  EXPECT_EQ(query->GetParams().GetItem(0)->Name, "id");
  for (const auto& r : rows) {
    query->GetParams().ParamByName("id")->SetAsInteger(r.id);
    query->Open();
    EXPECT_EQ(query->GetRecordCount(), 1);
    EXPECT_EQ(query->GetFields()[0]->IsNull(), r.name == nullptr);
    EXPECT_EQ(query->GetFields()[0]->GetAsString(), r.name ? r.name : "");
    query->Close();
  }
  // A second marker keeps the value given to the first.
  query->GetParams().ParamByName("id")->SetAsInteger(2);
  query->GetSQL().SetText("SELECT name FROM param_rows WHERE id = :id AND name = :name");
  ASSERT_EQ(query->GetParams().GetCount(), 2);
  EXPECT_EQ(query->GetParams().ParamByName("id")->GetAsInteger(), 2);
  query->GetParams().ParamByName("name")->SetAsString("it's \"quoted\"");
  query->Open();
  EXPECT_EQ(query->GetRecordCount(), 1);
  query->Close();
  // Without ParamCheck the text is left alone and the parameters too.
  query->ParamCheck = false;
  query->GetSQL().SetText("SELECT ':id' AS t");
  EXPECT_EQ(query->GetText(), "SELECT ':id' AS t");
  EXPECT_EQ(query->GetParams().GetCount(), 2);
  Exec("DROP TABLE param_rows");
}

TEST_F(DbQuery, SQLChangesCloseAnOpenQueryAndItReopens) {
  auto query = NewQuery(*FDb, "SELECT 1 AS n");
  query->Open();
  TStringList same;
  same.SetText("SELECT 1 AS n");
  query->SetSQL(same);
  EXPECT_TRUE(query->GetActive());
  TStringList other;
  other.SetText("SELECT 2 AS n");
  query->SetSQL(other);
  EXPECT_FALSE(query->GetActive());
  EXPECT_EQ(FDb->GetUseCount(), 0);
  query->Open();
  EXPECT_EQ(query->GetFields()[0]->GetAsInteger(), 2);
  query->GetSQL().Add("UNION ALL SELECT 3");
  EXPECT_FALSE(query->GetActive());
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    query->Open();
    std::vector<int> values;
    for (query->First(); !query->GetEof(); query->Next())
      values.push_back(query->GetFields()[0]->GetAsInteger());
    EXPECT_EQ(values, (std::vector<int>{2, 3}));
    query->Close();
  }
  EXPECT_EQ(FDb->GetUseCount(), 0);
}

TEST_F(DbQuery, UniDirectionalChangesNothing) {
  for (bool uni : {false, true}) {
    SCOPED_TRACE(uni);
    auto query = NewQuery(*FDb, "SELECT 1 UNION ALL SELECT 2");
    query->UniDirectional = uni;
    query->Open();
    EXPECT_EQ(query->GetRecordCount(), 2);
    query->Last();
    query->Prior();
    EXPECT_EQ(query->GetFields()[0]->GetAsInteger(), 1);
  }
}

TEST_F(DbQuery, ADetailQueryFollowsItsMaster) {
  Exec("DROP TABLE IF EXISTS master_rows");
  Exec("CREATE TABLE master_rows (id INT, name VARCHAR(10))");
  Exec("INSERT INTO master_rows VALUES (1, 'one'), (2, 'two')");
  auto master = NewQuery(*FDb, "SELECT id FROM master_rows ORDER BY id");
  TDataSource source(nullptr);
  source.SetDataSet(master.get());
  auto detail = NewQuery(*FDb, "SELECT name FROM master_rows WHERE id = :id");
  detail->SetDataSource(&source);
  master->Open();
  detail->Open();
  EXPECT_EQ(detail->GetFields()[0]->GetAsString(), "one");
  master->Next();
  EXPECT_EQ(detail->GetFields()[0]->GetAsString(), "two");
  TDataSource back(nullptr);
  back.SetDataSet(detail.get());
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { master->SetDataSource(&back); }),
            "Circular datalinks are not allowed");
  detail->SetDataSource(nullptr);
  Exec("DROP TABLE master_rows");
}

TEST_F(DbQuery, FieldDefinitionsTellRequiredFromServerFilled) {
  Exec("DROP TABLE IF EXISTS required_cols");
  Exec("CREATE TABLE required_cols (id INT AUTO_INCREMENT PRIMARY KEY, ts TIMESTAMP NOT NULL"
       " DEFAULT CURRENT_TIMESTAMP, name VARCHAR(5) NOT NULL, n INT NOT NULL DEFAULT 3, note VARCHAR(5))");
  auto query = NewQuery(*FDb, "SELECT * FROM required_cols");
  query->Open();
  const struct {
    const char* name;
    TFieldType type;
    bool required;
  } cases[] = {{"id", ftAutoInc, false},
               {"ts", ftDateTime, false},
               {"name", ftString, true},
               {"n", ftInteger, false},
               {"note", ftString, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFieldDef* def = query->GetFieldDefs().Find(c.name);
    EXPECT_EQ(def->GetDataType(), c.type);
    EXPECT_EQ(def->GetRequired(), c.required);
  }
  Exec("DROP TABLE required_cols");
}

TEST_F(DbQuery, RecordNumbersAndBlockReading) {
  auto query =
      NewQuery(*FDb, "SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 UNION ALL SELECT 5");
  query->Open();
  query->SetRecNo(4);
  EXPECT_EQ(query->GetRecNo(), 4);
  EXPECT_EQ(query->GetFields()[0]->GetAsInteger(), 4);
  for (int start : {1, 3}) {
    for (int size : {1, 2, 5, 7}) {
      SCOPED_TRACE(testing::Message() << start << " " << size);
      query->First();
      query->MoveBy(start - 1);
      query->SetBlockReadSize(size);
      std::vector<int> values;
      for (; !query->GetEof(); query->Next())
        values.push_back(query->GetFields()[0]->GetAsInteger());
      query->SetBlockReadSize(0);
      std::vector<int> expected;
      for (int v = start; v <= 5; ++v)
        expected.push_back(v);
      EXPECT_EQ(values, expected);
      EXPECT_EQ(query->GetState(), dsBrowse);
    }
  }
}

TEST_F(DbQuery, TextIsReEncodedWhenTheServerSetDiffers) {
  auto query = NewQuery(*FDb, "SELECT CAST(X'41A8' AS CHAR) AS t");
  query->Open();
  EXPECT_EQ(query->GetFields()[0]->GetAsString(), "A\xA8");
  const int saved = GetCurrentServerCharset();
  SetCurrentServerCharset(21); // Baltic: 0xA8 is the letter the system page has at 0xD8
  const String read = query->GetFields()[0]->GetAsString();
  SetCurrentServerCharset(saved);
  EXPECT_EQ(read, "A\xD8");
}

TEST_F(DbQuery, ProviderSupportSetsTextAndParametersAndExecutes) {
  Exec("DROP TABLE IF EXISTS provider_rows");
  Exec("CREATE TABLE provider_rows (id INT)");
  auto query = NewQuery(*FDb, "");
  query->PSSetCommandText("INSERT INTO provider_rows VALUES (:id)");
  ASSERT_EQ(query->PSGetParams(), &query->GetParams());
  TParams values;
  values.CreateParam(ftInteger, "id", ptInput)->SetAsInteger(7);
  query->PSSetParams(&values);
  query->PSExecute();
  query->PSSetCommandText("SELECT id FROM provider_rows");
  EXPECT_NE(query->PSGetTableName().find("provider_rows"), String::npos);
  query->Open();
  EXPECT_EQ(query->GetFields()[0]->GetAsInteger(), 7);
  query->PSSetParams(nullptr);
  EXPECT_FALSE(query->GetActive());
  Exec("DROP TABLE provider_rows");
}

TEST_F(DbQuery, CalculatedFieldsLiveBesideTheRow) {
  auto query = NewQuery(*FDb, "SELECT 1 AS n UNION ALL SELECT 2 UNION ALL SELECT NULL");
  auto* n = new TIntegerField(query.get()); // owned by the query
  n->SetFieldName("n");
  n->SetDataSet(query.get());
  auto* twice = new TIntegerField(query.get());
  twice->SetFieldName("twice");
  twice->FieldKind = fkCalculated;
  twice->SetDataSet(query.get());
  query->OnCalcFields = [&](TDataSet*) {
    if (!n->IsNull()) twice->SetAsInteger(2 * n->GetAsInteger());
  };
  query->Open();
  std::vector<String> values;
  for (; !query->GetEof(); query->Next())
    values.push_back(twice->IsNull() ? "null" : twice->GetAsString());
  EXPECT_EQ(values, (std::vector<String>{"2", "4", "null"}));
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { twice->SetAsInteger(1); }), "Dataset not in edit or insert mode");
}
