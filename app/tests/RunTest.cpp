// The synchronization run and the script runner over scripted connections.
#include "EngineFixture.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

class Run : public EngineFixture {
protected:
  void SetUp() override {
    Settings.SelectSyncTables = false;
    Source.Connect("srchost", "u", "p", "src");
    Target.Connect("tgthost", "u", "p", "tgt");
  }
};

String Simple(const char* name) {
  return CreateTable(name, {"a int(11) DEFAULT NULL"}, "ENGINE=InnoDB");
}

TEST_F(Run, RefusesASourceEqualToTheTargetBeforeAnythingElse) {
  Target.Connect("srchost", "u", "p", "src");
  Window.LogLines = {"earlier"};
  try {
    Engine->Synchronize();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Can't synchronize database to itself!");
  }
  EXPECT_EQ(Window.LogLines, (Lines{"earlier"}));
}

TEST_F(Run, NothingToDo) {
  Engine->Synchronize();
  // Without a script source there is no temporary database to drop.
  Engine->DropTemporaryDatabase();
  EXPECT_EQ(Window.LogLines, (Lines{"Syncing database tgthost/tgt to equal database srchost/src.", ""}));
  EXPECT_EQ(Window.Messages, (Lines{"Nothing to do!"}));
  EXPECT_TRUE(Window.Confirmations.empty());
  EXPECT_EQ(Window.StatusUpdates, 0);
  EXPECT_TRUE(Window.Actions[saSaveScriptToFile]);
}

TEST_F(Run, UnpromptedRunsEvenAnEmptyScript) {
  Settings.SyncRunUnprompted = true;
  Engine->Synchronize();
  EXPECT_TRUE(Window.Messages.empty());
  EXPECT_EQ(Window.LogLines.back(), "");
  EXPECT_EQ(Window.LogLines[Window.LogLines.size() - 2], "Databases synced.");
  EXPECT_EQ(Target.Commits, 1);
  EXPECT_EQ(Script.Sent, (Lines{"<connect tgt>", "<begin>", "<commit>"}));
}

TEST_F(Run, ForeignKeyChecksOffComeFirstAndTheUserIsAsked) {
  Settings.NoForeignKeyChecks = true;
  Window.Confirm = false;
  Source.AddTable("a", Simple("a"));
  Target.AddTable("a", Simple("a"));
  Engine->Synchronize();
  EXPECT_EQ(Window.Script, "set foreign_key_checks=0;\r\n");
  EXPECT_EQ(Window.Confirmations.size(), 1u);
  EXPECT_EQ(Target.Commits, 0);
  EXPECT_EQ(Window.StatusUpdates, 1);
}

TEST_F(Run, ChosenTablesOnlyAndTheProgressOfFourPhases) {
  Settings.SelectSyncTables = true;
  Window.ChooserPicks = Lines{"a", "b"};
  Window.Confirm = false;
  for (const char* t : {"a", "b", "c"})
    Source.AddTable(t, CreateTable(t, {"a bigint(20)"}, "ENGINE=InnoDB"));
  Target.AddTable("A", Simple("A"));
  Target.AddTable("only_target", Simple("only_target"));
  Engine->Synchronize();
  EXPECT_EQ(Window.ChooserOffered, (Lines{"a", "b", "c"}));
  EXPECT_EQ(Window.ProgressMax, 8);
  EXPECT_EQ(Window.Position, 8);
  EXPECT_EQ(Window.Count, "2");
  // Letter case does not tell tables apart; c was not chosen.
  EXPECT_EQ(Window.LogLines, (Lines{"Syncing database tgthost/tgt to equal database srchost/src.", "",
                                    "Altering column a/a", "Creating missing table b."}));
  for (TSyncPhase p : {spStructure, spIndices, spConstraints, spNewTables})
    EXPECT_EQ(Window.Phases[p], "Done.");
  // The check switch reaches the target once per run; a table only the
  // target has is never read.
  EXPECT_EQ(std::count(Target.Sent.begin(), Target.Sent.end(), "set foreign_key_checks=0"), 1);
  for (const String& sent : Target.Sent)
    EXPECT_EQ(sent.find("only_target"), String::npos) << sent;
}

TEST_F(Run, EachDefinitionIsReadOncePerSideAndTheServerIsAskedLittle) {
  Window.Confirm = false;
  for (const char* t : {"a", "b", "c"}) {
    Source.AddTable(t, CreateTable(t, {"id int", "p int", "KEY ix (p,id)"}, "ENGINE=InnoDB"));
    Target.AddTable(t, CreateTable(t, {"id int", "q int", "KEY ix (p)"}, "ENGINE=InnoDB"));
  }
  Source.AddTable("new_one", Simple("new_one"));
  // Only the target has these; a foreign key of another database does not count.
  Target.AddTable("refers", CreateTable("refers",
                                        {"x int", "CONSTRAINT f FOREIGN KEY (x) REFERENCES A (P)",
                                         "CONSTRAINT g FOREIGN KEY (x) REFERENCES elsewhere.b (p)"},
                                        "ENGINE=InnoDB"));
  for (int run = 1; run <= 2; ++run) {
    Engine->Synchronize();
    auto count = [](const Lines& sent, const String& sql) {
      return std::count(sent.begin(), sent.end(), sql);
    };
    for (const char* t : {"a", "b", "c"}) {
      EXPECT_EQ(count(Source.Sent, String("show create table ") + t), run) << t;
      EXPECT_EQ(count(Target.Sent, String("show create table ") + t), run) << t;
    }
    EXPECT_EQ(count(Source.Sent, "show create table\tnew_one"), run);
    EXPECT_EQ(count(Target.Sent, "set foreign_key_checks=0"), run);
    // Which columns foreign keys reference comes from the target's own
    // definitions, each read once; the catalogue is asked only of one schema.
    EXPECT_EQ(count(Target.Sent, "show create table refers"), run);
    for (const Lines* sent : {&Source.Sent, &Target.Sent})
      for (const String& sql : *sent) {
        if (LowerCase(sql).find("information_schema") == String::npos) continue;
        EXPECT_NE(sql.find("table_schema = database()"), String::npos) << sql;
      }
    const Lines statements = Window.Statements();
    EXPECT_EQ(count(statements, "alter table a drop index ix, add KEY ix (p,id);"), 1);
    EXPECT_EQ(count(statements, "alter table b drop index ix;"), 1);
  }
}

TEST_F(Run, CancellingTheChooserChangesNothing) {
  Settings.SelectSyncTables = true;
  Window.ChooserOK = false;
  Window.Script = "kept";
  Engine->Synchronize();
  EXPECT_EQ(Window.Script, "kept");
}

TEST_F(Run, MissingTablesComeParentsFirst) {
  Window.Confirm = false;
  Source.AddTable(
      "child",
      CreateTable("child", {"pid int", "CONSTRAINT f FOREIGN KEY (pid) REFERENCES parent (id)"}, ""));
  Source.AddTable("parent", CreateTable("parent", {"id int", "PRIMARY KEY (id)"}, ""));
  Source.AddTable("other", Simple("other"));
  Engine->Synchronize();
  EXPECT_EQ(Window.Script.substr(0, 20), "CREATE TABLE parent ");
  EXPECT_NE(Window.Script.find(";\r\nCREATE TABLE child "), String::npos);
  EXPECT_EQ(Window.Script.find("foreign_key_checks"), String::npos);
  EXPECT_NE(std::find(Source.Sent.begin(), Source.Sent.end(), "show create table\tchild"), Source.Sent.end());
}

TEST_F(Run, ForeignKeysInACycleTurnTheChecksOff) {
  Window.Confirm = false;
  Source.AddTable("a", CreateTable("a", {"b int", "CONSTRAINT f FOREIGN KEY (b) REFERENCES b (a)"}, ""));
  Source.AddTable("b", CreateTable("b", {"a int", "CONSTRAINT g FOREIGN KEY (a) REFERENCES a (b)"}, ""));
  Engine->Synchronize();
  EXPECT_EQ(Window.Script.substr(0, 39), "set foreign_key_checks=0;\r\nCREATE TABLE");
}

TEST_F(Run, AFailedRunRollsBackAndReportsTheStatementsError) {
  Settings.SyncRunUnprompted = true;
  Source.AddTable("a", CreateTable("a", {"a bigint(20)"}, ""));
  Target.AddTable("a", Simple("a"));
  Script.FailOn = "alter table a modify column a bigint(20) first";
  Target.FailRollback = true;
  try {
    Engine->Synchronize();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, Script.FailMessage);
  }
  EXPECT_EQ(Target.Rollbacks, 1);
  EXPECT_EQ(Script.Rollbacks, 1);
  EXPECT_NE(Window.LogLines.back(), "Databases synced.");
}

class Runner : public EngineFixture {
protected:
  void SetUp() override { Target.Connect("tgthost", "user", "pw", "tgt"); }
};

TEST_F(Runner, SplitsAtSemicolonsOutsideQuotesAndComments) {
  Engine->RunScript("select 1; -- a comment; still\nselect ';--#', \"a;b\" # more; text\n;\n"
                    "/* c; d */ select 2;--x\nselect 3 -- \n",
                    true, "db");
  EXPECT_EQ(Script.Sent, (Lines{"<connect db>", "<begin>", "select 1", "select ';--#', \"a;b\"",
                                "/* c; d */ select 2", "--x\nselect 3", "<commit>"}));
  EXPECT_EQ(Script.GetHost(), "tgthost");
  EXPECT_EQ(Script.GetUserName(), "user");
  EXPECT_EQ(Window.ProgressMax, 4);
  EXPECT_EQ(Window.Count, "4");
  EXPECT_EQ(Window.CurrentTable, "Running script...");
}

TEST_F(Runner, EmptyScriptLeavesTheProgressMaximum) {
  Window.ProgressMax = 7;
  Engine->RunScript("  -- only a comment\n # and another\n;;", true, "");
  EXPECT_EQ(Script.Sent, (Lines{"<connect >", "<begin>", "<commit>"}));
  EXPECT_EQ(Window.Count, "7");
  EXPECT_EQ(Window.StatusUpdates, 1);
}

TEST_F(Runner, AFailingStatementStopsTheScript) {
  Script.FailOn = "bad";
  Script.FailRollback = true;
  EXPECT_THROW(Engine->RunScript("select 1; bad; select 2;", true, ""), Exception);
  EXPECT_EQ(Script.Sent, (Lines{"<connect >", "<begin>", "select 1", "bad", "<rollback>"}));
  EXPECT_EQ(Window.StatusUpdates, 1);
}

TEST_F(Runner, ScriptWindowUsesTheTargetDatabaseWhenAsked) {
  Window.Script = "select 1;";
  Engine->RunScriptWindow(false, true);
  EXPECT_EQ(Script.Sent, (Lines{"<connect tgt>", "select 1"}));
  Engine->RunScriptWindow(false, false);
  EXPECT_EQ(Script.Sent.back(), "select 1");
  EXPECT_EQ(Script.GetDatabaseName(), "");
}

class ScriptSource : public Run {
protected:
  String Path = ::testing::TempDir() + "velmora_source_script.sql";
  void Write(const String& text) {
    std::ofstream(Path, std::ios::binary) << text;
    Engine->SourceIsScript = true;
    Engine->ScriptPath = Path;
  }
  void TearDown() override { std::remove(Path.c_str()); }
};

TEST_F(ScriptSource, LoadsIntoTheTemporaryDatabaseOnly) {
  Write("/*!40101 SET NAMES utf8mb4 */;\nCREATE DATABASE /*!32312 IF NOT EXISTS*/ `shop`;\nUSE `shop`;\n"
        "DELIMITER ;;\nCREATE TRIGGER t BEFORE INSERT ON a FOR EACH ROW BEGIN SET NEW.a = 1; END "
        ";;\nDELIMITER ;\n"
        "create table a (a int);\n");
  Engine->Synchronize();
  EXPECT_EQ(Script.Sent,
            (Lines{"<connect >", "<begin>", "drop database if exists velmora_tmp_source",
                   "create database velmora_tmp_source", "use velmora_tmp_source", "set foreign_key_checks=0",
                   "CREATE TRIGGER t BEFORE INSERT ON a FOR EACH ROW BEGIN SET NEW.a = 1; END",
                   "create table a (a int)", "<commit>"}));
  EXPECT_EQ(
      Window.LogLines,
      (Lines{"Syncing database tgthost/tgt to equal script " + Path + ".", "",
             "Skipping statement of the script: /*!40101 SET NAMES utf8mb4 */",
             "Skipping statement of the script: CREATE DATABASE /*!32312 IF NOT EXISTS*/ `shop`",
             "Skipping statement of the script: USE `shop`", "Creating temporary source database...", ""}));
  EXPECT_EQ(Source.GetDatabaseName(), "velmora_tmp_source");
  Engine->DropTemporaryDatabase();
  EXPECT_EQ(Window.LogLines.back(), "Dropping temporary database...");
  EXPECT_EQ(Target.Sent.back(), "drop database if exists velmora_tmp_source");
  EXPECT_EQ(Source.GetHost(), "tgthost");
  EXPECT_TRUE(Engine->GetTempDatabaseCreated());

  // Unchanged and not yet executed: loaded again; changed: loaded again.
  Script.Sent.clear();
  Engine->Synchronize();
  EXPECT_EQ(Script.Sent.size(), 9u);
}

TEST_F(ScriptSource, ChangedFileIsLoadedAgainAfterAnExecutedRun) {
  Settings.SyncRunUnprompted = true;
  Write("create table a (a int);");
  Engine->Synchronize();
  Script.Sent.clear();
  Engine->Synchronize();
  // Executed and unchanged: the temporary database is used as it stands.
  EXPECT_EQ(std::count(Script.Sent.begin(), Script.Sent.end(), "create table a (a int)"), 0);
  Write("create table b (a int);");
  Engine->Synchronize();
  EXPECT_EQ(std::count(Script.Sent.begin(), Script.Sent.end(), "create table b (a int)"), 1);
}

TEST_F(ScriptSource, ChooserListsTheTablesOfTheLoadedScript) {
  Settings.SelectSyncTables = true;
  Window.ChooserOK = false;
  Write("create table a (a int);");
  Source.Tables = {"from_the_script"};
  Engine->Synchronize();
  EXPECT_EQ(Window.ChooserOffered, (Lines{"from_the_script"}));
  EXPECT_EQ(Script.Sent[2], "drop database if exists velmora_tmp_source");
}

TEST_F(ScriptSource, ATableOfAnotherDatabaseIsRefusedBeforeAnythingRuns) {
  struct Case {
    const char* script;
    const char* table;
  } cases[] = {
      {"create table a (a int); insert into shop.a values (1);", "shop.a"},
      {"create table `x`.`y` (a int);", "x.y"},
      {"create table a (p int, foreign key (p) references other.p (id));", "other.p"},
      {"drop table if exists mysql.user;", "mysql.user"},
      {"update low_priority shop.a set a = 1;", "shop.a"},
  };
  for (const Case& c : cases) {
    Write(c.script);
    try {
      Engine->Synchronize();
      ADD_FAILURE() << c.script;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message,
                Format("The script names the table %s of another database: it was not loaded.", c.table));
    }
    EXPECT_TRUE(Script.Sent.empty()) << c.script;
  }
  // Qualified columns and literals are no tables.
  for (const char* script : {"create table a (a int); create view v as select a.a from a;",
                             "insert into a (n, version) values ('schema', '2.0.1') on duplicate key update "
                             "version='2.0.1';",
                             "insert into a values (1) on duplicate key update b.c = 1;"}) {
    Write(script);
    EXPECT_NO_THROW(Engine->Synchronize()) << script;
  }
}

} // namespace
