// Key and constraint synchronization of one table present on both sides.
#include "EngineFixture.h"

namespace {

class Keys : public EngineFixture {};

const char* const Fk = "CONSTRAINT fk_1 FOREIGN KEY (pid) REFERENCES parent (id)";

TEST_F(Keys, ReplacedIndexTakesItsForeignKeyAlongAndBringsItBack) {
  SyncKeys(CreateTable("t1", {"id int(11)", "PRIMARY KEY  (id)", "KEY ix_pid (pid,name)"}, "TYPE=InnoDB"),
           CreateTable("t1", {"id int(11)", "PRIMARY KEY  (id)", "KEY ix_pid (pid)", Fk}, "TYPE=InnoDB"), 0);
  EXPECT_EQ(Statements(),
            (Lines{"alter table t1 drop FOREIGN KEY fk_1;", "alter table t1 drop index ix_pid;",
                   "alter table t1 add KEY ix_pid (pid,name);", String("alter table t1 add ") + Fk + ";"}));
  EXPECT_EQ(Log(), (Lines{"Dropping key t1/index ix_pid", "Adding key t1/ix_pid"}));
  // The check switch reaches the target at once, not through the script.
  EXPECT_EQ(Target.Sent[1], "set foreign_key_checks=0");
}

TEST_F(Keys, Cases) {
  struct Case {
    const char* what;
    Lines source, target;
    uint8_t mode;
    Lines statements;
    Lines log;
  } cases[] = {
      {"equal up to letter case", {"a int", "KEY Ix (A)"}, {"a int", "key ix (a)"}, 0, {}, {}},
      {"only the target has it", {"a int"}, {"a int", "KEY ix (a)", Fk}, 0, {}, {}},
      {"only the target has it, constraints", {"a int"}, {"a int", "KEY ix (a)", Fk}, 1, {}, {}},
      {"new key",
       {"a int", "UNIQUE KEY uq_name (Name)"},
       {"a int"},
       0,
       {"alter table t1 add UNIQUE KEY uq_name (Name);"},
       {"Adding key t1/uq_name"}},
      {"new primary key",
       {"a int", "PRIMARY KEY (a)"},
       {"a int"},
       0,
       {"alter table t1 add PRIMARY KEY (a);"},
       {"Adding key t1/primary key"}},
      {"fulltext key",
       {"a text", "FULLTEXT KEY ft (a)"},
       {"a text"},
       0,
       {"alter table t1 add FULLTEXT KEY ft (a);"},
       {"Adding key t1/ft"}},
      {"constraints wait for their phase", {"a int", Fk}, {"a int"}, 0, {}, {}},
      {"changed primary key",
       {"id int", "PRIMARY KEY  (id,name)"},
       {"id int", "PRIMARY KEY  (id)"},
       0,
       {"alter table t1 add unique index ix_tmp_primary_key_t1 (id);", "alter table t1 drop primary key;",
        "alter table t1 add PRIMARY KEY  (id,name);", "alter table t1 drop index ix_tmp_primary_key_t1;"},
       {"Dropping key t1/primary key", "Adding key t1/primary key"}},
      {"index of an auto_increment column goes in one statement",
       {"id int(11) NOT NULL AUTO_INCREMENT", "UNIQUE KEY uq (id,a)"},
       {"id int(11) NOT NULL AUTO_INCREMENT", "UNIQUE KEY uq (id)"},
       0,
       {"alter table t1 drop index uq, add UNIQUE KEY uq (id,a);"},
       {"Dropping key t1/index uq", "Adding key t1/uq"}},
      {"another index serves the auto_increment column",
       {"id int(11) NOT NULL AUTO_INCREMENT", "UNIQUE KEY uq (id,a)", "KEY k (id)"},
       {"id int(11) NOT NULL AUTO_INCREMENT", "UNIQUE KEY uq (id)", "KEY k (id)"},
       0,
       {"alter table t1 drop index uq;", "alter table t1 add UNIQUE KEY uq (id,a);"},
       {"Dropping key t1/index uq", "Adding key t1/uq"}},
      {"a foreign key on other columns stays",
       {"a int", "KEY ix (a,b)"},
       {"a int", "KEY ix (a)", "CONSTRAINT fk_2 FOREIGN KEY (b) REFERENCES p (a)"},
       0,
       {"alter table t1 drop index ix;", "alter table t1 add KEY ix (a,b);"},
       {"Dropping key t1/index ix", "Adding key t1/ix"}},
      {"foreign key under another name",
       {"a int", "CONSTRAINT fk_new FOREIGN KEY (pid) REFERENCES parent (id)"},
       {"a int", Fk},
       1,
       {},
       {}},
      {"new foreign key",
       {"a int", Fk},
       {"a int"},
       1,
       {String("alter table t1 add ") + Fk + ";"},
       {"Adding key t1/foreign key (pid) references parent (id)"}},
      {"changed foreign key of the same name",
       {"a int", String(Fk) + " ON DELETE CASCADE"},
       {"a int", Fk},
       1,
       {"alter table t1 drop FOREIGN KEY fk_1;", String("alter table t1 add ") + Fk + " ON DELETE CASCADE;"},
       {"Dropping key t1/FOREIGN KEY fk_1",
        "Adding key t1/foreign key (pid) references parent (id) on delete cascade"}},
      {"changed check constraint",
       {"a int", "CONSTRAINT `ck` CHECK (`a` > 1)"},
       {"a int", "CONSTRAINT `ck` CHECK (`a` > 0)"},
       1,
       {"alter table t1 drop constraint ck;", "alter table t1 add CONSTRAINT ck CHECK (a > 1);"},
       {"Dropping key t1/constraint ck", "Adding key t1/constraint ck"}},
      {"names that need quoting",
       {"a int", "KEY `select` (a,b)"},
       {"a int", "KEY `select` (a)"},
       0,
       {"alter table t1 drop index `select`;", "alter table t1 add KEY `select` (a,b);"},
       {"Dropping key t1/index `select`", "Adding key t1/select"}},
  };
  for (const Case& c : cases) {
    Window.Script.clear();
    Window.LogLines.clear();
    auto text = [](const Lines& lines) {
      String t = "CREATE TABLE t1 (\n";
      for (size_t i = 0; i < lines.size(); ++i)
        t += "  " + lines[i] + (i + 1 < lines.size() ? ",\n" : "\n");
      return t + ") ENGINE=InnoDB";
    };
    SyncKeys(text(c.source), text(c.target), c.mode);
    EXPECT_EQ(Statements(), c.statements) << c.what;
    EXPECT_EQ(Log(), c.log) << c.what;
  }
}

TEST_F(Keys, VerboseLinesOfAReplacedPrimaryKey) {
  Settings.VerboseLog = true;
  SyncKeys(CreateTable("t1", {"id int", "PRIMARY KEY (id,a)"}, ""),
           CreateTable("t1", {"id int", "PRIMARY KEY (id)"}, ""), 0);
  EXPECT_EQ(Window.LogLines,
            (Lines{"*Adding temporary index before recreating primary key in local table t1",
                   "Dropping key t1/primary key", "Adding key t1/primary key",
                   "*Removing temporary index needed for creation of primary key in local table t1"}));
}

} // namespace
