// The table definition reader on the server's text.
#include "EngineFixture.h"

namespace {

const String WorkedExample =
    CreateTable("t1",
                {"id int(11) NOT NULL auto_increment", "Name varchar(50) default NULL",
                 "pid int(11) default NULL", "PRIMARY KEY  (id)", "UNIQUE KEY uq_name (Name)",
                 "KEY ix_pid (pid)", "CONSTRAINT fk_1 FOREIGN KEY (pid) REFERENCES parent (id)"},
                "TYPE=InnoDB");

TTableDefinition Parse(const String& text, bool useBackticks = false) {
  TTableDefinition def;
  ParseTableDefinition(text, useBackticks, def);
  return def;
}

TEST(DefinitionReader, WorkedExampleOfAFourZeroServer) {
  TTableDefinition def = Parse(WorkedExample);
  EXPECT_EQ(def.TableType, "InnoDB");
  EXPECT_EQ(Items(def.ColumnNames), (Lines{"id", "name", "pid"}));
  EXPECT_EQ(Items(def.ColumnDefs), (Lines{"id int(11) NOT NULL auto_increment",
                                          "Name varchar(50) default NULL", "pid int(11) default NULL"}));
  EXPECT_EQ(Items(def.KeyNames),
            (Lines{"primary key", "uq_name", "ix_pid", "foreign key (pid) references parent (id)"}));
  EXPECT_EQ(Items(def.KeyDefs), (Lines{"PRIMARY KEY  (id)", "UNIQUE KEY uq_name (Name)", "KEY ix_pid (pid)",
                                       "CONSTRAINT fk_1 FOREIGN KEY (pid) REFERENCES parent (id)"}));
}

TEST(DefinitionReader, BackticksStayOnlyWhenAskedForOrNeeded) {
  String text = CreateTable(
      "`t1`",
      {"`id` int(11) NOT NULL", "`order` int(11) DEFAULT NULL", "`my col` text", "KEY `ix` (`id`,`order`)"},
      "ENGINE=InnoDB COMMENT='`id`'");
  TTableDefinition plain = Parse(text), kept = Parse(text, true);
  EXPECT_EQ(Items(plain.ColumnDefs),
            (Lines{"id int(11) NOT NULL", "`order` int(11) DEFAULT NULL", "`my col` text"}));
  EXPECT_EQ(Items(plain.KeyDefs), (Lines{"KEY ix (id,`order`)"}));
  EXPECT_EQ(plain.TableType, "ENGINE=InnoDB COMMENT='`id`'");
  EXPECT_EQ(Items(kept.ColumnDefs),
            (Lines{"`id` int(11) NOT NULL", "`order` int(11) DEFAULT NULL", "`my col` text"}));
  for (const TTableDefinition* d : {&plain, &kept}) {
    EXPECT_EQ(Items(d->ColumnNames), (Lines{"id", "order", "my col"}));
    EXPECT_EQ(Items(d->KeyNames), (Lines{"ix"}));
  }
}

TEST(DefinitionReader, TableTypes) {
  struct Case {
    const char* options;
    const char* type;
  } cases[] = {
      {"TYPE=MyISAM", "MyISAM"},
      // An old server's type holds every option after the type word.
      {"TYPE=MyISAM AUTO_INCREMENT=3", "MyISAM AUTO_INCREMENT=3"},
      // A current server's options, without the auto-increment counter.
      {"ENGINE=InnoDB AUTO_INCREMENT=5 DEFAULT CHARSET=latin1 COLLATE=latin1_swedish_ci",
       "ENGINE=InnoDB DEFAULT CHARSET=latin1 COLLATE=latin1_swedish_ci"},
      {"ENGINE=InnoDB DEFAULT CHARSET=latin1 WITH SYSTEM VERSIONING",
       "ENGINE=InnoDB DEFAULT CHARSET=latin1 WITH SYSTEM VERSIONING"},
      {"ENGINE=InnoDB COMMENT='type=x; it''s (a) ) \\' test'",
       "ENGINE=InnoDB COMMENT='type=x; it''s (a) ) \\' test'"},
      {"ENGINE=InnoDB\n PARTITION BY RANGE (`id`)\n(PARTITION `p0` VALUES LESS THAN (10) ENGINE = InnoDB)",
       "ENGINE=InnoDB\nPARTITION BY RANGE (id)\n(PARTITION p0 VALUES LESS THAN (10) ENGINE = InnoDB)"},
  };
  for (const Case& c : cases) {
    TTableDefinition def = Parse(CreateTable("t", {"a int(11) DEFAULT NULL"}, c.options));
    EXPECT_EQ(def.TableType, c.type) << c.options;
    EXPECT_EQ(Items(def.ColumnDefs), (Lines{"a int(11) DEFAULT NULL"})) << c.options;
  }
}

TEST(DefinitionReader, TableOptionsAsPrinted) {
  TTableOptions o = ParseTableOptions("ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COMMENT='a = b' UNION=(t1, t2) "
                                      "WITH SYSTEM VERSIONING\n PARTITION BY HASH (id)");
  ASSERT_EQ(o.Items.size(), 4u);
  EXPECT_EQ(o.Items[1].Key, "CHARSET");
  EXPECT_EQ(o.Items[1].Text, "DEFAULT CHARSET=utf8mb4");
  EXPECT_EQ(o.Items[2].Value, "'a = b'");
  EXPECT_EQ(o.Items[3].Value, "(t1, t2)");
  EXPECT_EQ(o.Fixed, (Lines{"WITH SYSTEM VERSIONING"}));
  EXPECT_EQ(o.Partition, "PARTITION BY HASH (id)");
}

TEST(DefinitionReader, LineKinds) {
  struct Case {
    const char* line;
    bool key;
    const char* name;
  } cases[] = {
      {"PRIMARY KEY (id)", true, "primary key"},
      {"UNIQUE KEY Uq (a)", true, "uq"},
      {"KEY `ix 2` (a)", true, "ix 2"},
      {"FULLTEXT KEY ft (body)", true, "ft"},
      {"SPATIAL KEY sp (geo)", true, "sp"},
      {"CONSTRAINT `Fk_1` FOREIGN KEY (`pid`) REFERENCES `parent` (`id`) ON DELETE CASCADE", true,
       "foreign key (pid) references parent (id) on delete cascade"},
      {"FOREIGN KEY (pid) REFERENCES parent (id)", true, "foreign key (pid) references parent (id)"},
      {"CONSTRAINT `CONSTRAINT_1` CHECK (`a` > 0)", true, "constraint constraint_1"},
      // "foreign key" inside a column's comment or default is no key.
      {"note varchar(20) DEFAULT 'foreign key (x)' COMMENT 'has a foreign key '", false, "note"},
      {"`key` int(11) DEFAULT NULL", false, "key"},
  };
  for (const Case& c : cases) {
    TTableDefinition def = Parse(CreateTable("t", {"a int", c.line}, "ENGINE=InnoDB"));
    const TStrings& names = c.key ? def.KeyNames : def.ColumnNames;
    ASSERT_EQ(names.GetCount(), c.key ? 1 : 2) << c.line;
    EXPECT_EQ(names[names.GetCount() - 1], c.name) << c.line;
  }
}

TEST(DefinitionReader, ColumnListEndsAtTheMatchingParenthesis) {
  TTableDefinition def = Parse("CREATE TABLE `t` (\n  `a` varchar(5) DEFAULT ')' COMMENT 'x) y',\n"
                               "  `b` enum('(',')') DEFAULT NULL\n) ENGINE=InnoDB COMMENT='a ) b'");
  EXPECT_EQ(Items(def.ColumnNames), (Lines{"a", "b"}));
  EXPECT_EQ(def.TableType, "ENGINE=InnoDB COMMENT='a ) b'");
}

TEST(DefinitionReader, PeriodsAreNeitherColumnsNorKeys) {
  TTableDefinition def = Parse(CreateTable(
      "t", {"a int(11)", "s date NOT NULL", "e date NOT NULL", "PERIOD FOR `p` (`s`, `e`)", "KEY ix (a)"},
      ""));
  EXPECT_EQ(Items(def.ColumnNames), (Lines{"a", "s", "e"}));
  EXPECT_EQ(Items(def.KeyNames), (Lines{"ix"}));
}

TEST(DefinitionReader, ColumnLists) {
  EXPECT_EQ(ParseColumnList("KEY ix (`A`(10),b DESC, `c,d`)"), (Lines{"a", "b", "c,d"}));
  EXPECT_EQ(ParseColumnList("no list"), Lines{});
}

class DefinitionReaderFixture : public EngineFixture {};

TEST_F(DefinitionReaderFixture, ReadsOverTheConnectionAndLeavesAbsentListsAlone) {
  Target.AddTable("select", WorkedExample);
  TStringList names, keys;
  names.Add("stale");
  keys.Add("stale");
  String type;
  Engine->ReadTableDefinition("select", type, &names, nullptr, nullptr, nullptr, Target);
  EXPECT_EQ(type, "InnoDB");
  EXPECT_EQ(Items(names), (Lines{"id", "name", "pid"}));
  EXPECT_EQ(Items(keys), (Lines{"stale"}));
  // A name that needs quoting is quoted, so the statement cannot be cut.
  EXPECT_EQ(Target.Sent.back(), "show create table `select`");
}

TEST_F(DefinitionReaderFixture, AMissingTableEndsTheRead) {
  String type;
  EXPECT_THROW(Engine->ReadTableDefinition("nothere", type, nullptr, nullptr, nullptr, nullptr, Target),
               Exception);
}

} // namespace
