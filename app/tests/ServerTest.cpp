// The script runner, the loading of a source script and the character-set
// check against the real test server.
#include "FakeWindow.h"
#include "ServerDatabase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

const char* const Db = "velmora_runner";

class OnServer : public ::testing::Test {
protected:
  std::optional<TTestServer> Server = TestServer();
  std::unique_ptr<TServerDatabase> Admin, Source, Target, Script;
  TRecordingWindow Window;
  TSettings Settings;
  std::unique_ptr<TSyncEngine> Engine;

  void SetUp() override {
    if (!Server) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set: no test server";
    Admin = std::make_unique<TServerDatabase>(*Server, "utf8mb4");
    Admin->Use("");
    for (const char* db : {Db, "velmora_runner_source"}) {
      Admin->ExecuteSQL(Format("drop database if exists %s", db));
      Admin->ExecuteSQL(Format("create database %s", db));
    }
    Open("");
  }
  void Open(const String& charset) {
    Source = std::make_unique<TServerDatabase>(*Server, charset);
    Target = std::make_unique<TServerDatabase>(*Server, charset);
    Script = std::make_unique<TServerDatabase>(*Server, charset);
    Source->Use("velmora_runner_source");
    Target->Use(Db);
    Engine = std::make_unique<TSyncEngine>(*Source, *Target, *Script, Window, Settings);
  }
  int Count(const String& sql) { return StrToInt(Admin->Open(sql).at(0).at(0).value_or("-1")); }
  int Tables(const String& db) {
    return Count(Format("select count(*) from information_schema.tables where table_schema = '%s'", db));
  }
};

TEST_F(OnServer, AFailingStatementRaisesItsServerErrorAndStops) {
  try {
    Engine->RunScript("create table a (a int);\ninsert into a values (1);\ncreate tabel b (b int);\n"
                      "create table c (c int);",
                      true, Db);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message.substr(0, 24), "mySQL Error Code: (1064)");
  }
  EXPECT_EQ(Tables(Db), 1);
  EXPECT_FALSE(Script->GetInTransaction());
}

TEST_F(OnServer, SingleTransactionRollsBackTheRowsOfAFailedScript) {
  Admin->ExecuteSQL(Format("create table %s.t (a int primary key) engine=InnoDB", Db));
  EXPECT_THROW(Engine->RunScript(
                   "insert into t values (1); insert into t values (2); insert into t values (1);", true, Db),
               Exception);
  EXPECT_EQ(Count(Format("select count(*) from %s.t", Db)), 0);
  Engine->RunScript("insert into t values (1); # one\n-- two\ninsert into t values (2);", true, Db);
  EXPECT_EQ(Count(Format("select count(*) from %s.t", Db)), 2);
}

TEST_F(OnServer, ADumpWithTriggersLoadsIntoTheTemporaryDatabaseOnly) {
  String path = ::testing::TempDir() + "velmora_dump.sql";
  std::ofstream(path, std::ios::binary)
      << "/*!40101 SET NAMES latin1 */;\n"
         "CREATE DATABASE /*!32312 IF NOT EXISTS*/ `velmora_shop` /*!40100 DEFAULT CHARACTER SET latin1 */;\n"
         "USE `velmora_shop`;\n"
         "CREATE TABLE `a` (`a` int(11) DEFAULT NULL, `note` varchar(20) DEFAULT '-- not; a comment #');\n"
         "DELIMITER ;;\n"
         "/*!50003 CREATE*/ /*!50003 TRIGGER `a_bi` BEFORE INSERT ON `a` FOR EACH ROW BEGIN\n"
         "  SET NEW.a = NEW.a + 1;\n  SET NEW.note = 'x;y';\nEND */;;\n"
         "DELIMITER ;\n";
  Settings.SelectSyncTables = false;
  Engine->SourceIsScript = true;
  Engine->ScriptPath = path;
  Engine->Synchronize();
  std::remove(path.c_str());
  EXPECT_EQ(Count("select count(*) from information_schema.schemata where schema_name = 'velmora_shop'"), 0);
  EXPECT_EQ(
      Count("select count(*) from information_schema.triggers where trigger_schema = 'velmora_tmp_source'"),
      1);
  EXPECT_EQ(Source->GetDatabaseName(), TempSourceDatabase);
  EXPECT_NE(Window.Script.find("CREATE TABLE a ("), String::npos);
}

TEST_F(OnServer, TextTheConnectionCannotCarryRefusesTheRun) {
  struct Case {
    const char* table;
    const char* problem;
  } cases[] = {
      {"create table t (a int comment 'caf\xc3\xa9')", nullptr},
      {"create table t (a int comment '\xc4\x89u')", "column t.a"},
      {"create table t (a enum('x', '\xce\xb1'))", "column t.a"},
      {"create table t (a varchar(5) default '\xce\xb1')", "column t.a"},
      {"create table t (a int) comment '\xce\xb1'", "table t"},
      {"create table `\xc4\x89` (a int)", "table ?"},
  };
  Settings.SelectSyncTables = false;
  for (const Case& c : cases) {
    Admin->ExecuteSQL(Format("drop database if exists %s", Db));
    Admin->ExecuteSQL(Format("create database %s character set utf8mb4", Db));
    Admin->ExecuteSQL(Format("use %s", Db));
    Admin->ExecuteSQL(c.table);
    Open("latin1");
    try {
      Engine->Synchronize();
      EXPECT_EQ(c.problem, nullptr) << c.table;
    } catch (const Exception& e) {
      ASSERT_NE(c.problem, nullptr) << c.table << ": " << e.Message;
      EXPECT_EQ(e.Message,
                Format("The connection's character set latin1 cannot carry the text of %s in database "
                       "%s; nothing was synchronized.",
                       c.problem, Db));
      EXPECT_EQ(Window.Script, "") << c.table;
    }
  }
}

} // namespace
