// The engine's connection over the MySQL components against the test
// server: values come back byte for byte, NULL apart from '', and long
// definitions whole.
#include "ServerDatabase.h"

#include <gtest/gtest.h>

namespace {

const char* const Db = "velmora_connection";

class Connection : public ::testing::Test {
protected:
  std::optional<TTestServer> Server = TestServer();
  std::unique_ptr<TServerDatabase> Conn;

  void SetUp() override {
    if (!Server) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set: no test server";
    Conn = std::make_unique<TServerDatabase>(*Server);
    Conn->Use("");
    Conn->ExecuteSQL(Format("drop database if exists %s", Db));
    Conn->ExecuteSQL(Format("create database %s", Db));
    Conn->Use(Db);
  }
};

TEST_F(Connection, ValuesComeBackAsTheServerSentThem) {
  struct Case {
    const char* expression;
    TSqlValue value;
  } cases[] = {
      // Typed: the components give a column of no width no field.
      {"if(0, 'x', NULL)", std::nullopt},
      {"if(1, '', 'xyz')", String()},
      {"'NULL'", String("NULL")},
      // Colons are no parameters, and line breaks stay as they are.
      {"':id :name'", String(":id :name")},
      {"'a\\nb\\r\\nc\\rd'", String("a\nb\r\nc\rd")},
      {"12", String("12")},
      {"-9223372036854775808", String("-9223372036854775808")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    TSqlRows rows = Conn->Open(String("select ") + c.expression + ", 'after'");
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), 2u);
    EXPECT_EQ(rows[0][0], c.value);
    EXPECT_EQ(rows[0][1], TSqlValue("after"));
  }
}

TEST_F(Connection, StatementsAreSentAsWritten) {
  Conn->ExecuteSQL("create table t (id int, note varchar(40) default ':x')");
  EXPECT_EQ(Conn->ExecuteSQL("insert into t (id, note) values (1, 'at 12:00\nnext'), (2, NULL), (3, '')"), 3);
  EXPECT_EQ(Conn->ExecuteSQL("insert into t (id) values (4)"), 1);
  TSqlRows rows = Conn->Open("select id, note from t\norder by id");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0][1], TSqlValue("at 12:00\nnext"));
  EXPECT_EQ(rows[1][1], std::nullopt);
  EXPECT_EQ(rows[2][1], TSqlValue(""));
  EXPECT_EQ(rows[3][1], TSqlValue(":x"));
  EXPECT_EQ(Conn->ExecuteSQL("update t set note = 'y' where id > 1"), 3);
  EXPECT_TRUE(Conn->Open("select id from t where id > 9").empty());
  // A script may hold a statement with rows: they are let go, and the
  // connection goes on.
  Conn->ExecuteSQL("select id, note from t");
  EXPECT_EQ(Conn->Open("select count(*) from t").at(0).at(0), TSqlValue("4"));
}

TEST_F(Connection, ALongDefinitionIsReadWhole) {
  String columns;
  for (int i = 0; i < 300; ++i)
    columns += Format("%sc%d varchar(20) comment '%s'", i ? ", " : "", i, String(100, char('a' + i % 26)));
  Conn->ExecuteSQL("create table wide (" + columns + ") comment 'the end'");
  TSqlRows rows = Conn->Open("show create table wide");
  ASSERT_EQ(rows.size(), 1u);
  const String text = rows[0].at(1).value_or("");
  EXPECT_GT(text.size(), 30000u);
  EXPECT_EQ(text.rfind("CREATE TABLE `wide` (", 0), 0u);
  EXPECT_NE(text.find("`c299` varchar(20)"), String::npos);
  EXPECT_EQ(text.substr(text.size() - 17), "COMMENT='the end'");
}

TEST_F(Connection, ServerErrorsAndTransactions) {
  try {
    Conn->Open("select * from missing");
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message.substr(0, 24), "mySQL Error Code: (1146)");
  }
  Conn->ExecuteSQL("create table t (a int) engine=InnoDB");
  EXPECT_FALSE(Conn->GetInTransaction());
  Conn->StartTransaction();
  EXPECT_TRUE(Conn->GetInTransaction());
  Conn->ExecuteSQL("insert into t values (1)");
  Conn->Rollback();
  EXPECT_FALSE(Conn->GetInTransaction());
  EXPECT_TRUE(Conn->Open("select a from t").empty());
  Conn->StartTransaction();
  Conn->ExecuteSQL("insert into t values (2)");
  Conn->Commit();
  EXPECT_FALSE(Conn->GetInTransaction());
  EXPECT_EQ(Conn->Open("select a from t").size(), 1u);
}

TEST_F(Connection, ConnectReplacesTheSettings) {
  EXPECT_TRUE(Conn->GetConnected());
  EXPECT_EQ(Conn->GetDatabaseName(), Db);
  EXPECT_EQ(Conn->GetHost(), Server->Host);
  EXPECT_EQ(Conn->GetUserName(), Server->User);
  EXPECT_EQ(Conn->GetPassword(), Server->Password);
  EXPECT_EQ(Conn->Open("select database()").at(0).at(0), TSqlValue(Db));
  Conn->Use("");
  EXPECT_EQ(Conn->Open("select database()").at(0).at(0), std::nullopt);
  Conn->Disconnect();
  EXPECT_FALSE(Conn->GetConnected());
  EXPECT_THROW(Conn->Connect(Server->Host, Server->User, "wrong", Db), Exception);
  EXPECT_FALSE(Conn->GetConnected());
}

} // namespace
