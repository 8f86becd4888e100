// The connection component: its parameters, connecting with them and with
// the login step, use counting by queries, transactions and the statement
// cache.
#include "DbDatabaseTestSupport.h"

#include "mySQLCP.h"

namespace {

class DbDatabase : public TComponentsOnServer {
protected:
  // Ends the session of `victim` from another connection, as a server
  // restart or an administrator would.
  void Kill(TmySQLDatabase& victim) {
    const String id = Column(victim, "SELECT CONNECTION_ID()").at(0);
    auto killer = NewDatabase();
    killer->Execute("KILL " + id);
  }

  int RowCount(TmySQLDatabase& db, const String& table) {
    return StrToInt(Column(db, "SELECT COUNT(*) FROM " + table).at(0));
  }
};

} // namespace

TEST(DbDatabaseParams, ANewDatabaseCarriesPortAndTimeOut) {
  TmySQLDatabase db(nullptr);
  EXPECT_EQ(db.GetParams().GetText(), "Port=3306\r\nTIMEOUT=30\r\n");
  EXPECT_TRUE(db.KeepConnection);
  EXPECT_EQ(db.TransIsolation, tiReadCommitted);
  EXPECT_EQ(db.GetConnectionTimeout(), 30u);
  EXPECT_EQ(db.GetPort(), 3306u);
  EXPECT_FALSE(db.GetConnected());
}

TEST(DbDatabaseParams, PropertiesWriteTheirLinesAndEmptyValuesRemoveThem) {
  struct Case {
    const char* key;
    std::function<void(TmySQLDatabase&, const String&)> set;
  } cases[] = {
      {"UID", [](TmySQLDatabase& d, const String& v) { d.SetUserName(v); }},
      {"PWD", [](TmySQLDatabase& d, const String& v) { d.SetUserPassword(v); }},
      {"Host", [](TmySQLDatabase& d, const String& v) { d.SetHost(v); }},
      {"DatabaseName", [](TmySQLDatabase& d, const String& v) { d.SetDatabaseName(v); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    TmySQLDatabase db(nullptr);
    c.set(db, "root");
    EXPECT_EQ(db.GetParams().GetValue(c.key), "root");
    c.set(db, "");
    EXPECT_EQ(db.GetParams().IndexOfName(c.key), -1);
  }
  TmySQLDatabase db(nullptr);
  db.SetPort(3307);
  db.SetConnectionTimeout(5);
  EXPECT_EQ(db.GetParams().GetText(), "Port=3307\r\nTIMEOUT=5\r\n");
}

TEST(DbDatabaseParams, StatementHashSamplesLongTexts) {
  auto hash = [](const String& text, size_t stride, uint32_t factor) {
    uint32_t h = 0;
    for (size_t i = 0; i < text.size(); i += stride)
      h = h * factor + static_cast<unsigned char>(text[i]);
    return h;
  };
  const String fifteen = "select * from t";
  const String sixteen = "select * from t1";
  String hundred;
  for (int i = 0; i < 100; ++i)
    hundred += char('a' + i % 26);
  EXPECT_EQ(StatementHashCode(""), 0u);
  EXPECT_EQ(StatementHashCode(fifteen), hash(fifteen, 1, 37));
  EXPECT_EQ(StatementHashCode(sixteen), hash(sixteen, 2, 39));
  EXPECT_EQ(StatementHashCode(hundred), hash(hundred, 12, 39));
  // Only the sampled characters count, and letter case does.
  String other = hundred;
  other[1] = 'X';
  EXPECT_EQ(StatementHashCode(other), StatementHashCode(hundred));
  EXPECT_NE(StatementHashCode("SELECT 1"), StatementHashCode("select 1"));
}

TEST(DbDatabaseParams, TransactionsNeedAConnection) {
  TmySQLDatabase db(nullptr);
  for (auto op : {&TmySQLDatabase::StartTransaction, &TmySQLDatabase::Commit, &TmySQLDatabase::Rollback})
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { (db.*op)(); }),
              "Cannot perform this operation on a closed database");
  EXPECT_FALSE(db.GetInTransaction());
}

TEST(DbDatabaseParams, ACancelledLoginRaisesBeforeAnythingIsSent) {
  TmySQLDatabase db(nullptr);
  db.SetDatabaseName("shop");
  db.SetHost("127.0.0.1");
  db.SetPort(1); // nothing listens there: a connect attempt would fail differently
  db.LoginPrompt = true;
  String shownUser = "(not shown)", shownDatabase;
  LoginDialogExProc = [&](const String& database, String& user, String&, bool nameReadOnly) {
    shownDatabase = database;
    shownUser = user;
    EXPECT_FALSE(nameReadOnly);
    return false;
  };
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { db.Open(); }), "Cannot connect to database 'shop'");
  LoginDialogExProc = nullptr;
  EXPECT_EQ(shownDatabase, "shop");
  EXPECT_EQ(shownUser, "");
  EXPECT_FALSE(db.GetConnected());
  // Without a dialog every login is cancelled.
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { db.Open(); }), "Cannot connect to database 'shop'");
}

TEST_F(DbDatabase, ConnectsFromItsPropertiesAndDisconnects) {
  auto db = NewDatabase();
  int before = 0, after = 0;
  db->BeforeConnect = [&](TObject*) { ++before; };
  db->AfterConnect = [&](TObject*) { ++after; };
  db->SetConnected(true);
  EXPECT_TRUE(db->GetConnected());
  EXPECT_NE(db->GetHandle(), nullptr);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(GetCurrentServerCharset(), CharsetOfSystemCodePage());
  EXPECT_EQ(Column(*db, "SELECT DATABASE()").at(0), ComponentTestDatabase);
  db->SetConnected(false);
  EXPECT_FALSE(db->GetConnected());
  EXPECT_EQ(db->GetHandle(), nullptr);
  db->Open();
  EXPECT_TRUE(db->GetConnected());
}

TEST_F(DbDatabase, ConnectsFromParamsAlone) {
  TmySQLDatabase db(nullptr);
  TStringList params;
  params.SetValue("UID", TestAccount().User);
  params.SetValue("PWD", TestAccount().Password);
  params.SetValue("Host", FServer.Host);
  params.SetValue("Port", IntToStr(FServer.Port));
  params.SetValue("DatabaseName", ComponentTestDatabase);
  params.SetValue("TIMEOUT", "10");
  db.SetParams(params);
  db.Open();
  EXPECT_EQ(Column(db, "SELECT DATABASE()").at(0), ComponentTestDatabase);
  EXPECT_EQ(db.GetHost(), "");
}

TEST_F(DbDatabase, AWrongPasswordCarriesTheServersMessage) {
  auto db = NewDatabase();
  db->SetUserPassword("not the password");
  try {
    db->Open();
    FAIL() << "connected";
  } catch (const EmySQLDatabaseError& e) {
    EXPECT_EQ(e.GetErrorCode(), 1001);
    EXPECT_EQ(e.Message.rfind("mySQL Error Code: (1045)\r\nAccess denied for user", 0), 0u) << e.Message;
  }
  EXPECT_FALSE(db->GetConnected());
  EXPECT_EQ(GetCurrentServerCharset(), 0);
  // The password in Params is what the next connect uses.
  db->SetUserPassword(TestAccount().Password);
  db->Open();
  EXPECT_TRUE(db->GetConnected());
}

TEST_F(DbDatabase, TheLoginStepSuppliesUserAndPassword) {
  auto db = NewDatabase();
  db->SetUserName("nobody");
  db->SetUserPassword("");
  db->LoginPrompt = true;
  int asked = 0;
  db->OnLogin = [&](TmySQLDatabase* database, TStrings* login) {
    EXPECT_EQ(database, db.get());
    EXPECT_EQ(login->GetCount(), 0);
    login->SetValue("UID", TestAccount().User);
    login->SetValue("PWD", TestAccount().Password);
    ++asked;
  };
  db->Open();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(db->GetConnected());
  EXPECT_EQ(db->GetParams().GetValue("UID"), TestAccount().User);
}

TEST_F(DbDatabase, ParametersStayWhileConnected) {
  auto db = NewDatabase();
  db->Open();
  const String open = "Cannot perform this operation on an open database";
  db->SetHost(FServer.Host); // the same value changes nothing
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { db->SetHost("localhost"); }), open);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { db->SetUserPassword("x"); }), open);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { db->SetPort(1); }), open);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { db->GetParams().SetValue("Host", "elsewhere"); }), open);
  EXPECT_EQ(db->GetHost(), FServer.Host);
  EXPECT_EQ(db->GetParams().GetValue("Host"), FServer.Host);
  EXPECT_EQ(db->GetParams().GetValue("PWD"), TestAccount().Password);
  EXPECT_EQ(db->GetPort(), uint32_t(FServer.Port));
}

TEST_F(DbDatabase, QueriesCountAsUsesWhileOpen) {
  auto db = NewDatabase();
  auto a = NewQuery(*db, "SELECT 1");
  auto b = NewQuery(*db, "SELECT 2");
  a->Open(); // connects on demand
  EXPECT_TRUE(db->GetConnected());
  b->Open();
  EXPECT_EQ(db->GetUseCount(), 2);
  EXPECT_EQ(db->GetDataSetCount(), 2);
  a->Close();
  EXPECT_EQ(db->GetUseCount(), 1);
  EXPECT_EQ(db->GetDataSetCount(), 1);
  EXPECT_FALSE(a->GetPrepared());
  auto c = NewQuery(*db, "SET @x = 1");
  c->ExecuteSQL();
  EXPECT_EQ(db->GetUseCount(), 1);
  EXPECT_EQ(db->GetDataSetCount(), 1);
  EXPECT_FALSE(c->GetPrepared());
  // Without KeepConnection the last use closes the connection.
  db->KeepConnection = false;
  b->Close();
  EXPECT_EQ(db->GetUseCount(), 0);
  EXPECT_FALSE(db->GetConnected());
  c->ExecuteSQL();
  EXPECT_FALSE(db->GetConnected());
}

TEST_F(DbDatabase, DisconnectingClosesQueriesAndEmptiesTheStatementCache) {
  auto db = NewDatabase();
  auto a = NewQuery(*db, "SELECT 1");
  auto b = NewQuery(*db, "SELECT 2");
  a->Open();
  b->Open();
  TParams params;
  params.CreateParam(ftInteger, "v", ptInput)->SetAsInteger(1);
  db->Execute("SELECT :v", &params, true);
  EXPECT_EQ(db->GetStatementCacheCount(), 1);
  db->Close();
  EXPECT_FALSE(a->GetActive());
  EXPECT_FALSE(b->GetActive());
  EXPECT_FALSE(a->GetPrepared());
  EXPECT_EQ(a->GetStmtHandle(), nullptr);
  EXPECT_EQ(db->GetUseCount(), 0);
  EXPECT_EQ(db->GetDataSetCount(), 0);
  EXPECT_EQ(db->GetStatementCacheCount(), 0);
  a->Open();
  EXPECT_EQ(a->GetFields()[0]->GetAsInteger(), 1);
}

TEST_F(DbDatabase, DisconnectingOnceWhileQueriesLetGo) {
  for (bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    auto db = NewDatabase();
    db->KeepConnection = keep;
    int disconnects = 0;
    db->AfterDisconnect = [&](TObject*) { ++disconnects; };
    auto a = NewQuery(*db, "SELECT 1");
    auto b = NewQuery(*db, "SELECT 2");
    a->Open();
    b->Open();
    db->Close();
    EXPECT_EQ(disconnects, 1);
    EXPECT_FALSE(db->GetConnected());
    EXPECT_FALSE(a->GetActive());
    EXPECT_FALSE(b->GetActive());
  }
}

TEST_F(DbDatabase, DestroyingTheDatabaseDetachesItsQueries) {
  auto db = NewDatabase();
  auto open = NewQuery(*db, "SELECT 1");
  auto closed = NewQuery(*db, "SELECT 2");
  open->Open();
  db.reset();
  EXPECT_FALSE(open->GetActive());
  EXPECT_EQ(open->GetDatabase(), nullptr);
  EXPECT_EQ(closed->GetDatabase(), nullptr);
}

TEST_F(DbDatabase, TransactionsCommitAndRollBack) {
  auto db = NewDatabase();
  db->Open();
  db->Execute("CREATE TABLE IF NOT EXISTS trans_rows (id INT) ENGINE=InnoDB");
  db->Execute("DELETE FROM trans_rows");
  EXPECT_FALSE(db->GetInTransaction());
  db->StartTransaction();
  EXPECT_TRUE(db->GetInTransaction());
  db->StartTransaction(); // absorbed by the connection
  db->Execute("INSERT INTO trans_rows VALUES (1)");
  db->Rollback();
  EXPECT_FALSE(db->GetInTransaction());
  EXPECT_EQ(RowCount(*db, "trans_rows"), 0);
  db->StartTransaction();
  db->Execute("INSERT INTO trans_rows VALUES (2)");
  db->Commit();
  EXPECT_FALSE(db->GetInTransaction());
  auto other = NewDatabase();
  EXPECT_EQ(RowCount(*other, "trans_rows"), 1);
}

TEST_F(DbDatabase, ACommitThatFailsRaises) {
  auto db = NewDatabase();
  db->Open();
  db->Execute("CREATE TABLE IF NOT EXISTS lost_rows (id INT) ENGINE=InnoDB");
  db->Execute("DELETE FROM lost_rows");
  db->StartTransaction();
  db->Execute("INSERT INTO lost_rows VALUES (1)");
  Kill(*db);
  EXPECT_THROW(db->Commit(), EmySQLDatabaseError);
  EXPECT_FALSE(db->GetInTransaction());
  EXPECT_EQ(RowCount(*db, "lost_rows"), 0);
}

TEST_F(DbDatabase, ExecuteReportsAffectedRowsWithAndWithoutParameters) {
  auto db = NewDatabase();
  db->Execute("CREATE TABLE IF NOT EXISTS exec_rows (id INT, name VARCHAR(20))");
  db->Execute("DELETE FROM exec_rows");
  EXPECT_EQ(db->Execute("INSERT INTO exec_rows VALUES (1, 'a'), (2, 'b'), (3, 'c')"), 3);
  TParams params;
  params.CreateParam(ftString, "name", ptInput)->SetAsString("it's");
  params.CreateParam(ftInteger, "id", ptInput)->SetAsInteger(2);
  EXPECT_EQ(db->Execute("UPDATE exec_rows SET name = :name WHERE id >= :id", &params, false), 2);
  EXPECT_EQ(Column(*db, "SELECT name FROM exec_rows ORDER BY id"),
            (std::vector<String>{"a", "it's", "it's"}));
  // Cached statements are found again by text, ignoring case; the hash
  // keeps texts of other case apart.
  params.ParamByName("id")->SetAsInteger(3);
  EXPECT_EQ(db->Execute("DELETE FROM exec_rows WHERE id >= :id AND name = :name", &params, true), 1);
  params.ParamByName("id")->SetAsInteger(2);
  EXPECT_EQ(db->Execute("DELETE FROM exec_rows WHERE id >= :id AND name = :name", &params, true), 1);
  EXPECT_EQ(db->GetStatementCacheCount(), 1);
  EXPECT_EQ(db->Execute("delete from exec_rows where id >= :id and name = :name", &params, true), 0);
  EXPECT_EQ(db->GetStatementCacheCount(), 2);
  EXPECT_EQ(db->Execute("DROP TABLE exec_rows"), 0);
  EXPECT_THROW(db->Execute("DROP TABLE exec_rows"), EmySQLDatabaseError);
}
