// Column synchronization of one table present on both sides.
#include "EngineFixture.h"

namespace {

class Columns : public EngineFixture {};

const char* const Id = "id int(11) NOT NULL auto_increment";

TEST_F(Columns, ChangedAndNewColumnsOfTheSpecExample) {
  SyncColumns(
      CreateTable("t1", {Id, "name varchar(50) default NULL", "pid int(11) default NULL"}, "TYPE=InnoDB"),
      CreateTable("t1", {Id, "name varchar(40) default NULL"}, "TYPE=InnoDB"));
  EXPECT_EQ(Log(), (Lines{"Altering column t1/name", "Altering column t1/pid"}));
  EXPECT_EQ(Statements(), (Lines{"alter table t1 modify column name varchar(50) default NULL after id;",
                                 "alter table t1 add column pid int(11) default NULL after name;"}));
  // Only the target's definition is read here.
  EXPECT_EQ(Target.Sent, (Lines{"show create table t1"}));
}

TEST_F(Columns, Cases) {
  struct Case {
    const char* what;
    String source, target;
    Lines statements;
    Lines log;
    bool dropExtra = false, allowTypeChange = true;
  } cases[] = {
      {"identical",
       CreateTable("t1", {Id, "a int(11)"}, "TYPE=InnoDB"),
       CreateTable("t1", {Id, "a int(11)"}, "TYPE=InnoDB"),
       {},
       {}},
      {"old type only",
       CreateTable("t1", {"a int(11)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"a int(11)"}, "TYPE=MyISAM"),
       {"alter table t1 type=InnoDB;"},
       {"Changing type of table t1: MyISAM -> InnoDB"}},
      {"old type with a counter",
       CreateTable("t1", {"a int(11)"}, "TYPE=MyISAM AUTO_INCREMENT=3"),
       CreateTable("t1", {"a int(11)"}, "TYPE=MyISAM"),
       {"alter table t1 type=MyISAM AUTO_INCREMENT=3;"},
       {"Changing type of table t1: MyISAM -> MyISAM AUTO_INCREMENT=3"}},
      {"type change not allowed",
       CreateTable("t1", {"a int(11)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"a int(11)"}, "TYPE=MyISAM"),
       {},
       {},
       false,
       false},
      {"first column changed",
       CreateTable("t1", {"a bigint(20)", "b int(11)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"a int(11)", "b int(11)"}, "TYPE=InnoDB"),
       {"alter table t1 modify column a bigint(20) first;"},
       {"Altering column t1/a"}},
      {"letter case counts in definitions",
       CreateTable("t1", {"Name varchar(50)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"name varchar(50)"}, "TYPE=InnoDB"),
       {"alter table t1 modify column Name varchar(50) first;"},
       {"Altering column t1/name"}},
      {"moved column",
       CreateTable("t1", {"a int(11)", "b int(11)", "c int(11)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"a int(11)", "c int(11)", "b int(11)"}, "TYPE=InnoDB"),
       {"alter table t1 modify column b int(11) after a;", "alter table t1 modify column c int(11) after b;"},
       {"Altering column t1/b", "Altering column t1/c"}},
      {"new auto_increment column",
       CreateTable("t1", {Id, "a int(11)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"a int(11)"}, "TYPE=InnoDB"),
       {"alter table t1 add column id int(11) NOT NULL  first;",
        "alter table t1 add index ix_tmp_autoinc_id(id);",
        "alter table t1 modify column id int(11) NOT NULL auto_increment first;"},
       {"Altering column t1/id"}},
      {"column becomes auto_increment without an index",
       CreateTable("t1", {Id}, "TYPE=InnoDB"),
       CreateTable("t1", {"id int(11) NOT NULL"}, "TYPE=InnoDB"),
       {"alter table t1 add index ix_tmp_autoinc_id(id);",
        "alter table t1 modify column id int(11) NOT NULL auto_increment first;"},
       {"Altering column t1/id"}},
      {"an index that begins with the column serves",
       CreateTable("t1", {Id, "KEY ix (id,a)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"id int(11) NOT NULL", "KEY ix (id,a)"}, "TYPE=InnoDB"),
       {"alter table t1 modify column id int(11) NOT NULL auto_increment first;"},
       {"Altering column t1/id"}},
      {"auto_increment in a comment is text",
       CreateTable("t1", {"a int(11) COMMENT 'auto_increment'"}, ""),
       CreateTable("t1", {"a int(11)"}, ""),
       {"alter table t1 modify column a int(11) COMMENT 'auto_increment' first;"},
       {"Altering column t1/a"}},
      {"obsolete columns dropped",
       CreateTable("t1", {"a int(11)", "b int(11)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"a int(11)", "x int(11)", "y int(11)", "b int(11)"}, "TYPE=InnoDB"),
       {"alter table t1 drop column x;", "alter table t1 drop column y;"},
       {"Dropping column t1/x", "Dropping column t1/y"},
       true},
      {"obsolete columns kept",
       CreateTable("t1", {"a int(11)", "b int(11)"}, "TYPE=InnoDB"),
       CreateTable("t1", {"a int(11)", "x int(11)", "b int(11)"}, "TYPE=InnoDB"),
       {"alter table t1 modify column b int(11) after a;"},
       {"Altering column t1/b"}},
      {"names that need quoting",
       CreateTable("t1", {"`order` int(11)", "`a b` int(11)"}, ""),
       CreateTable("t1", {"`order` int(11)", "`x``y` int(11)"}, ""),
       {"alter table t1 drop column `x``y`;", "alter table t1 add column `a b` int(11) after `order`;"},
       {"Dropping column t1/x`y", "Altering column t1/a b"},
       true},
      // Current servers: the options that differ, as the server printed them.
      {"comment only",
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB DEFAULT CHARSET=latin1 COMMENT='new'"),
       CreateTable("t1", {"a int(11)"},
                   "ENGINE=InnoDB AUTO_INCREMENT=9 DEFAULT CHARSET=latin1 COMMENT='old'"),
       {"alter table t1 COMMENT='new';"},
       {"Changing type of table t1: ENGINE=InnoDB DEFAULT CHARSET=latin1 COMMENT='old' -> ENGINE=InnoDB "
        "DEFAULT "
        "CHARSET=latin1 COMMENT='new'"}},
      {"counter only",
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB AUTO_INCREMENT=3"),
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB AUTO_INCREMENT=9"),
       {},
       {}},
      {"options only the target has are reset",
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB DEFAULT CHARSET=latin1 COLLATE=latin1_swedish_ci"),
       CreateTable(
           "t1", {"a int(11)"},
           "ENGINE=InnoDB DEFAULT CHARSET=latin1 COLLATE=latin1_general_ci ROW_FORMAT=COMPACT COMMENT='x'"),
       {"alter table t1 COLLATE=latin1_swedish_ci ROW_FORMAT=DEFAULT COMMENT='';"},
       {"Changing type of table t1: ENGINE=InnoDB DEFAULT CHARSET=latin1 COLLATE=latin1_general_ci "
        "ROW_FORMAT=COMPACT COMMENT='x' -> ENGINE=InnoDB DEFAULT CHARSET=latin1 COLLATE=latin1_swedish_ci"}},
      {"engine",
       CreateTable("t1", {"a int(11)"}, "ENGINE=MyISAM DEFAULT CHARSET=latin1"),
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB DEFAULT CHARSET=latin1"),
       {"alter table t1 ENGINE=MyISAM;"},
       {"Changing type of table t1: ENGINE=InnoDB DEFAULT CHARSET=latin1 -> ENGINE=MyISAM DEFAULT "
        "CHARSET=latin1"}},
      {"Aria's page options go in a statement after the engine change",
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB DEFAULT CHARSET=latin1"),
       CreateTable("t1", {"a int(11)"}, "ENGINE=Aria DEFAULT CHARSET=latin1 PAGE_CHECKSUM=1 TRANSACTIONAL=1"),
       {"alter table t1 ENGINE=InnoDB;", "alter table t1 PAGE_CHECKSUM=DEFAULT TRANSACTIONAL=DEFAULT;"},
       {"Changing type of table t1: ENGINE=Aria DEFAULT CHARSET=latin1 PAGE_CHECKSUM=1 TRANSACTIONAL=1 -> "
        "ENGINE=InnoDB DEFAULT CHARSET=latin1"}},
      {"Aria's page options left over on another engine",
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB"),
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB PAGE_CHECKSUM=1"),
       {"alter table t1 PAGE_CHECKSUM=DEFAULT;"},
       {"Changing type of table t1: ENGINE=InnoDB PAGE_CHECKSUM=1 -> ENGINE=InnoDB"}},
      {"Aria keeps its page checksum",
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB"),
       CreateTable("t1", {"a int(11)"}, "ENGINE=Aria PAGE_CHECKSUM=1"),
       {},
       {"Table t1: PAGE_CHECKSUM=1 cannot be reset by alter table; left as it is."},
       false,
       false},
      {"engine change not allowed",
       CreateTable("t1", {"a int(11)"}, "ENGINE=MyISAM"),
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB"),
       {},
       {},
       false,
       false},
      {"default character set: character columns follow",
       CreateTable("t1", {"a int(11)", "b varchar(5) DEFAULT NULL", "c text CHARACTER SET latin1"},
                   "ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci"),
       CreateTable("t1", {"a int(11)", "b varchar(5) DEFAULT NULL", "c text CHARACTER SET latin1"},
                   "ENGINE=InnoDB DEFAULT CHARSET=latin1 COLLATE=latin1_swedish_ci"),
       {"alter table t1 DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;",
        "alter table t1 modify column b varchar(5) DEFAULT NULL after a;"},
       {"Changing type of table t1: ENGINE=InnoDB DEFAULT CHARSET=latin1 COLLATE=latin1_swedish_ci -> "
        "ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci",
        "Altering column t1/b"}},
      {"partitions are not compared",
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB\n PARTITION BY HASH (a)\nPARTITIONS 2"),
       CreateTable("t1", {"a int(11)"}, "ENGINE=InnoDB"),
       {},
       {"Partitioning of table t1 is not compared."}},
  };
  for (const Case& c : cases) {
    Window.Script.clear();
    Window.LogLines.clear();
    Settings.DropExtraColumns = c.dropExtra;
    Settings.AllowTblTypeChg = c.allowTypeChange;
    SyncColumns(c.source, c.target);
    EXPECT_EQ(Statements(), c.statements) << c.what;
    EXPECT_EQ(Log(), c.log) << c.what;
  }
}

TEST_F(Columns, KeysOfADroppedColumnGoWithItAndStayGone) {
  Settings.DropExtraColumns = true;
  const String source = CreateTable("t1", {"a int(11)", "KEY ix (a)", "KEY other (a)"}, "ENGINE=InnoDB");
  const String target =
      CreateTable("t1",
                  {"a int(11)", "b int(11)", "KEY ix (a,b)", "KEY fk (b)", "KEY other (a)",
                   "CONSTRAINT fk FOREIGN KEY (b) REFERENCES p (id)", "CONSTRAINT ck CHECK (b > 0)"},
                  "ENGINE=InnoDB");
  SyncColumns(source, target);
  EXPECT_EQ(Statements(),
            (Lines{"alter table t1 drop index ix, drop index fk, drop FOREIGN KEY fk, drop column b;"}));
  // The key phase does not drop ix again: the script dropped it already.
  Window.Script.clear();
  SyncKeys(source, target, 0);
  EXPECT_EQ(Statements(), (Lines{"alter table t1 add KEY ix (a);"}));
}

TEST_F(Columns, ThePrimaryKeyOfADroppedColumnLeavesAnIndexOnTheRest) {
  Settings.DropExtraColumns = true;
  const String source = CreateTable("t1", {Id, "PRIMARY KEY (id)"}, "");
  SyncColumns(source, CreateTable("t1", {Id, "b int(11) NOT NULL", "PRIMARY KEY (id,b)"}, ""));
  EXPECT_EQ(Statements(),
            (Lines{"alter table t1 drop primary key, drop column b, add index ix_tmp_primary_key_t1(id);"}));
  Window.Script.clear();
  SyncKeys(source, CreateTable("t1", {Id, "b int(11) NOT NULL", "PRIMARY KEY (id,b)"}, ""), 0);
  EXPECT_EQ(Statements(), (Lines{"alter table t1 add PRIMARY KEY (id);"}));
}

TEST_F(Columns, VerboseLinesForANewAutoIncrementColumn) {
  Settings.VerboseLog = true;
  SyncColumns(CreateTable("t1", {Id}, ""), CreateTable("t1", {"a int(11)"}, ""));
  EXPECT_EQ(Window.LogLines,
            (Lines{"*Adding temporary column without auto_increment for required auto_increment index: id",
                   "*Adding dummy temporary index because of auto_increment: id", "Altering column t1/id"}));
}

TEST_F(Columns, GeneratedNamesStayWithinSixtyFourCharacters) {
  String longName(60, 'c');
  SyncColumns(CreateTable("t1", {(longName + " int(11) NOT NULL AUTO_INCREMENT").c_str()}, ""),
              CreateTable("t1", {"a int(11)"}, ""));
  Lines s = Statements();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[1], "alter table t1 add index " + ("ix_tmp_autoinc_" + longName).substr(0, 64) + "(" +
                      longName + ");");
}

} // namespace
