// Native cursors on the test server: opening, walking both ways, bookmarks,
// record counts, and the field and index descriptors.
#include "NativeTestSupport.h"

namespace {

class AccessCursor : public TNativeOnServer {
protected:
  void SetUp() override {
    TNativeOnServer::SetUp();
    if (IsSkipped()) return;
    FConnection = Open();
    ASSERT_TRUE(FConnection);
    Exec(FConnection, "DROP TABLE IF EXISTS cur_keys");
    Exec(FConnection, "CREATE TABLE cur_keys (a INT NOT NULL, b VARCHAR(10) NOT NULL, c INT, "
                      "code CHAR(3) DEFAULT 'x', flag ENUM('y','n'), word ENUM('yes','no'), "
                      "PRIMARY KEY (a, b), UNIQUE KEY uc (code))");
    Exec(FConnection, "INSERT INTO cur_keys VALUES (1,'a',10,'c1','y','yes'), (1,'b',NULL,'c2','n','no'), "
                      "(2,'a',30,'c3',NULL,NULL), (3,'x',40,'c4','y','no'), (4,'y',50,'c5','n','yes')");
  }

  // The "a" values of the records met while walking with `step`.
  std::vector<int> Walk(TNativeDataSet* cursor, bool forward) {
    std::vector<char> buffer = Buffer(cursor);
    std::vector<int> seen;
    for (;;) {
      const uint16_t code = forward ? FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr)
                                    : FEngine.GetPriorRecord(cursor, 0, buffer.data(), nullptr);
      if (code != 0) {
        EXPECT_EQ(code, forward ? DBIERR_EOF : DBIERR_BOF);
        break;
      }
      bool blank;
      seen.push_back(FieldAs<int32_t>(cursor, 1, buffer, blank));
    }
    return seen;
  }

  TNativeConnect* FConnection = nullptr;
};

} // namespace

TEST_F(AccessCursor, WalksForwardsAndBackwardsWithRecordNumbers) {
  TNativeDataSet* cursor = OpenCursor(FConnection, "SELECT a, b, c FROM cur_keys ORDER BY a, b");
  ASSERT_TRUE(cursor);
  int count = -1;
  ASSERT_EQ(FEngine.GetRecordCount(cursor, count), 0);
  EXPECT_EQ(count, 5);
  FEngine.SetToBegin(cursor);
  EXPECT_EQ(Walk(cursor, true), (std::vector<int>{1, 1, 2, 3, 4}));
  EXPECT_EQ(Walk(cursor, false), (std::vector<int>{3, 2, 1, 1}));
  FEngine.SetToEnd(cursor);
  EXPECT_EQ(Walk(cursor, false), (std::vector<int>{4, 3, 2, 1, 1}));

  std::vector<char> buffer = Buffer(cursor);
  FEngine.SetToBegin(cursor);
  TRecordProps props;
  ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), &props), 0);
  EXPECT_EQ(props.SeqNumber, 1);
  EXPECT_EQ(props.PhysicalRecordNumber, 1);
  // The current record again, read through its bookmark.
  ASSERT_EQ(FEngine.GetRecord(cursor, 0, buffer.data(), &props), 0);
  EXPECT_EQ(props.SeqNumber, 1);
  bool blank;
  EXPECT_EQ(FieldText(cursor, 2, buffer, blank), "a");
}

TEST_F(AccessCursor, BookmarksReturnToTheirRow) {
  TNativeDataSet* cursor = OpenCursor(FConnection, "SELECT a, b, c FROM cur_keys ORDER BY a, b");
  ASSERT_TRUE(cursor);
  std::vector<char> buffer = Buffer(cursor);
  FEngine.SetToBegin(cursor);
  for (int i = 0; i < 5; ++i)
    ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
  char fifth[BookmarkSize], first[BookmarkSize];
  ASSERT_EQ(FEngine.GetBookmark(cursor, fifth), 0);
  // The bookmark is also in the buffer, after the status entries.
  EXPECT_EQ(std::memcmp(buffer.data() + buffer.size() - BookmarkSize, fifth, BookmarkSize), 0);
  FEngine.SetToBegin(cursor);
  ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
  ASSERT_EQ(FEngine.GetBookmark(cursor, first), 0);
  ASSERT_EQ(FEngine.SetToBookmark(cursor, fifth), 0);
  ASSERT_EQ(FEngine.GetRecord(cursor, 0, buffer.data(), nullptr), 0);
  bool blank;
  EXPECT_EQ(FieldAs<int32_t>(cursor, 1, buffer, blank), 4);
  EXPECT_EQ(cursor->CurrentRowIndex(), 4);

  struct Case {
    const char *a, *b;
    int expected;
  } cases[] = {{first, fifth, -1}, {fifth, first, 1}, {first, first, 0}, {fifth, fifth, 0}};
  for (const auto& c : cases) {
    int result = 9;
    ASSERT_EQ(FEngine.CompareBookmarks(cursor, c.a, c.b, result), 0);
    EXPECT_EQ(result, c.expected);
  }
  int result;
  EXPECT_EQ(FEngine.CompareBookmarks(cursor, nullptr, first, result), DBIERR_INVALIDPARAM);
  EXPECT_EQ(FEngine.SetToBookmark(cursor, nullptr), DBIERR_INVALIDPARAM);
}

TEST_F(AccessCursor, EmptyResultsAndPositionsWithoutARow) {
  TNativeDataSet* cursor = OpenCursor(FConnection, "SELECT a FROM cur_keys WHERE a > 100");
  ASSERT_TRUE(cursor);
  std::vector<char> buffer = Buffer(cursor);
  int count = -1;
  ASSERT_EQ(FEngine.GetRecordCount(cursor, count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(FEngine.GetRecord(cursor, 0, buffer.data(), nullptr), DBIERR_NOCURRREC);
  EXPECT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), DBIERR_BOF);
  EXPECT_EQ(FEngine.GetPriorRecord(cursor, 0, buffer.data(), nullptr), DBIERR_BOF);

  TNativeDataSet* rows = OpenCursor(FConnection, "SELECT a FROM cur_keys");
  ASSERT_TRUE(rows);
  FEngine.SetToBegin(rows);
  EXPECT_EQ(FEngine.GetPriorRecord(rows, 0, buffer.data(), nullptr), DBIERR_BOF);
  EXPECT_EQ(FEngine.GetRecord(rows, 0, buffer.data(), nullptr), DBIERR_BOF);
  FEngine.SetToEnd(rows);
  EXPECT_EQ(FEngine.GetNextRecord(rows, 0, buffer.data(), nullptr), DBIERR_EOF);
  EXPECT_EQ(FEngine.GetRecord(rows, 0, buffer.data(), nullptr), DBIERR_EOF);
  // A record number beyond the rows is refused, not read as another row.
  EXPECT_EQ(FEngine.SetToRecordNo(rows, 99), DBIERR_EOF);
}

TEST_F(AccessCursor, StatementsWithoutAResultAndReexecution) {
  TNativeDataSet* statement = nullptr;
  ASSERT_EQ(FEngine.AllocStatement(FConnection, statement), 0);
  FStatements.push_back(statement);
  ASSERT_EQ(FEngine.PrepareStatement(statement, "UPDATE cur_keys SET c = c + 1 WHERE a = 1"), 0);
  TNativeDataSet* cursor = reinterpret_cast<TNativeDataSet*>(1);
  ASSERT_EQ(FEngine.ExecuteStatement(statement, &cursor), 0);
  EXPECT_EQ(cursor, nullptr);

  ASSERT_EQ(FEngine.PrepareStatement(statement, "UPDATE cur_keys SET c = 0 WHERE a = 1"), 0);
  ASSERT_EQ(FEngine.ExecuteStatement(statement, nullptr), 0);
  int size = 0;
  int32_t affected = 0;
  ASSERT_EQ(FEngine.GetProperty(statement, curAFFECTEDROWS, &affected, sizeof affected, size), 0);
  EXPECT_EQ(size, 4);
  EXPECT_EQ(affected, 2);

  // A cursor closed and opened again without preparing anew.
  ASSERT_EQ(FEngine.PrepareStatement(statement, "SELECT a FROM cur_keys"), 0);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(FEngine.ExecuteStatement(statement, &cursor), 0);
    ASSERT_EQ(cursor, statement);
    int count = 0;
    ASSERT_EQ(FEngine.GetRecordCount(cursor, count), 0);
    EXPECT_EQ(count, 5);
    ASSERT_EQ(FEngine.CloseCursor(cursor), 0);
  }
  EXPECT_EQ(FEngine.GetProperty(nullptr, curAFFECTEDROWS, &affected, sizeof affected, size),
            DBIERR_INVALIDPARAM);
}

TEST_F(AccessCursor, FieldDescriptorsFromColumnsAndDescribe) {
  TNativeDataSet* cursor =
      OpenCursor(FConnection, "SELECT a, b, c, code, flag, word, a + 1 AS expr FROM cur_keys");
  ASSERT_TRUE(cursor);
  std::vector<TFieldDesc> descs;
  ASSERT_EQ(FEngine.GetFieldDescs(cursor, descs), 0);
  ASSERT_EQ(descs.size(), 7u);
  struct Case {
    const char* name;
    uint16_t type;
    uint32_t length;
    bool required, hasDefault, calculated;
  } cases[] = {
      {"a", fldINT32, 4, true, false, false},    {"b", fldZSTRING, 11, true, false, false},
      {"c", fldINT32, 4, false, false, false},   {"code", fldZSTRING, 4, true, true, false},
      {"flag", fldBOOL, 2, false, false, false}, {"word", fldZSTRING, 4, false, false, false},
      {"expr", fldINT64, 8, true, false, true},
  };
  uint32_t offset = 0;
  for (size_t i = 0; i < descs.size(); ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(descs[i].FieldNumber, i + 1);
    EXPECT_EQ(descs[i].Name, c.name);
    EXPECT_EQ(descs[i].FieldType, c.type);
    EXPECT_EQ(descs[i].Length, c.length);
    EXPECT_EQ(descs[i].Offset, offset);
    EXPECT_EQ(descs[i].Calculated, c.calculated);
    offset += descs[i].Length;
    TValCheckDesc check;
    ASSERT_EQ(FEngine.GetVchkDesc(cursor, int(i + 1), check), 0);
    EXPECT_EQ(check.Required, c.required);
    EXPECT_EQ(check.HasDefault, c.hasDefault);
  }
  EXPECT_EQ(cursor->GetFields().Field(5)->GetEnum_Value(), "y,n");
  EXPECT_EQ(cursor->GetFields().Field(6)->GetEnum_Value(), "yes,no");
  // Null offsets follow the data area, one status entry per field.
  const uint32_t dataArea = offset + 7;
  for (size_t i = 0; i < descs.size(); ++i)
    EXPECT_EQ(descs[i].NullOffset, dataArea + 8 * i);
  EXPECT_EQ(cursor->GetBufferSize(), dataArea + 8 * 7 + 1 + 8);
  EXPECT_EQ(FEngine.GetVchkDesc(cursor, 8, *std::make_unique<TValCheckDesc>()), DBIERR_INVALIDRECSTRUCT);
}

TEST_F(AccessCursor, IndexDescriptorsOfACompositePrimaryAndAUniqueKey) {
  TNativeDataSet* cursor = OpenCursor(FConnection, "SELECT * FROM cur_keys");
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->LoadIndexes(), 2);
  EXPECT_EQ(cursor->GetPrimaryIndex(), 1);
  // The cursor keeps the primary key's descriptor.
  const TIndexDesc& current = cursor->GetCurrentIndexDesc();
  EXPECT_TRUE(current.Primary);
  EXPECT_TRUE(current.Name.empty());
  ASSERT_EQ(current.FieldsInKey, 2);
  EXPECT_EQ(current.KeyFields[0], 1);
  EXPECT_EQ(current.KeyFields[1], 2);
  EXPECT_EQ(current.BlockSize, 4u + 11u);
  EXPECT_EQ(current.KeyLength, 4 + 11 + 2);
  TmySQLIndex* unique = cursor->GetIndexes().Index(2);
  ASSERT_TRUE(unique);
  EXPECT_EQ(unique->Desc.Name, "uc");
  EXPECT_TRUE(unique->Desc.Unique);
  EXPECT_FALSE(unique->Desc.Primary);
  EXPECT_EQ(unique->Desc.FieldsInKey, 1);
  EXPECT_EQ(unique->Desc.KeyFields[0], 4);
  // A statement's cursor hands out no index descriptors.
  TIndexDesc desc;
  EXPECT_EQ(FEngine.GetIndexDesc(cursor, 0, desc), DBIERR_NOASSOCINDEX);
}

TEST_F(AccessCursor, TableCursorsOrderByTheirIndex) {
  struct Case {
    String index;
    std::vector<String> orderBy;
    std::vector<int> rows;
  } cases[] = {
      {"", {"ORDER BY ", "`a`,", "`b`"}, {1, 1, 2, 3, 4}},
      {"uc", {"ORDER BY ", "`code`"}, {1, 1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    TNativeDataSet cursor(FConnection, -1, 0, c.index, "cur_keys", nullptr);
    cursor.Open();
    EXPECT_EQ(cursor.GetOrderByLines(), c.orderBy);
    EXPECT_EQ(Walk(&cursor, true), c.rows);
    TIndexDesc desc;
    ASSERT_EQ(FEngine.GetIndexDesc(&cursor, 0, desc), 0);
    EXPECT_EQ(desc.Name, c.index);
    EXPECT_EQ(FEngine.GetIndexDesc(&cursor, 3, desc), DBIERR_NOSUCHINDEX);
  }
  TNativeDataSet window(FConnection, 2, 1, "", "cur_keys", nullptr);
  window.Open();
  EXPECT_EQ(window.ComposedStatement(), "Select * from `cur_keys` ORDER BY  `a`, `b` limit 1, 2 ");
  EXPECT_EQ(Walk(&window, true), (std::vector<int>{1, 2}));
  TNativeDataSet unknown(FConnection, -1, 0, "PRIMARY", "cur_keys", nullptr);
  EXPECT_THROW(unknown.Open(), EmySQLException);
}

TEST_F(AccessCursor, StatementsOverNoSingleTableOpenWithoutIndexes) {
  for (const char* sql : {"SELECT 1 AS one FROM DUAL", "SELECT * FROM (SELECT a FROM cur_keys) AS d",
                          "SHOW TABLES", "SELECT DATABASE()"}) {
    SCOPED_TRACE(sql);
    TNativeDataSet* cursor = OpenCursor(FConnection, sql);
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->LoadIndexes(), 0);
  }
  TNativeDataSet missing(FConnection, -1, 0, "", "no_such_table", nullptr);
  try {
    missing.Open();
    ADD_FAILURE() << "opened";
  } catch (const EmySQLException& e) {
    EXPECT_EQ(e.DBICode, int16_t(DBIERR_NATIVE));
    EXPECT_EQ(e.NativeError, 1146);
  }
}

TEST_F(AccessCursor, NamesWithBackQuotesAreQuotedWhole) {
  Exec(FConnection, "DROP TABLE IF EXISTS `odd``name`");
  Exec(FConnection, "CREATE TABLE `odd``name` (`we``ird` INT PRIMARY KEY, `x_y` INT DEFAULT 5)");
  Exec(FConnection, "INSERT INTO `odd``name` VALUES (2, 1), (1, NULL)");
  TNativeDataSet cursor(FConnection, -1, 0, "", "odd`name", nullptr);
  cursor.Open();
  EXPECT_EQ(cursor.GetOrderByLines(), (std::vector<String>{"ORDER BY ", "`we``ird`"}));
  EXPECT_EQ(Walk(&cursor, true), (std::vector<int>{1, 2}));
  TValCheckDesc check;
  cursor.GetVchkDesc(2, check);
  EXPECT_TRUE(check.HasDefault);
}

TEST_F(AccessCursor, ForceRereadReturnsToTheSameOrTheLastRow) {
  TNativeDataSet* cursor = OpenCursor(FConnection, "SELECT a FROM cur_keys ORDER BY a, b");
  ASSERT_TRUE(cursor);
  std::vector<char> buffer = Buffer(cursor);
  FEngine.SetToBegin(cursor);
  for (int i = 0; i < 4; ++i)
    ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
  Exec(FConnection, "DELETE FROM cur_keys WHERE a >= 2");
  ASSERT_EQ(FEngine.ForceRecordReread(cursor, buffer.data()), 0);
  bool blank;
  EXPECT_EQ(cursor->CurrentRowIndex(), 1);
  EXPECT_EQ(FieldAs<int32_t>(cursor, 1, buffer, blank), 1);
}

TEST_F(AccessCursor, ReadBlockFillsConsecutiveBuffers) {
  TNativeDataSet* cursor = OpenCursor(FConnection, "SELECT a FROM cur_keys ORDER BY a, b");
  ASSERT_TRUE(cursor);
  const size_t size = cursor->GetBufferSize();
  std::vector<char> block(size * 8, 0);
  FEngine.SetToBegin(cursor);
  int count = 3;
  ASSERT_EQ(FEngine.ReadBlock(cursor, count, block.data()), 0);
  EXPECT_EQ(count, 3);
  count = 8;
  ASSERT_EQ(FEngine.ReadBlock(cursor, count, block.data()), 0);
  EXPECT_EQ(count, 2);
  int32_t value;
  std::memcpy(&value, block.data() + size + 1, 4);
  EXPECT_EQ(value, 4);
  count = 0;
  FEngine.SetToBegin(cursor);
  ASSERT_EQ(FEngine.ReadBlock(cursor, count, block.data()), 0);
  EXPECT_EQ(count, 0);
}

TEST_F(AccessCursor, AKeyLongerThanTheDescriptorHoldsIsRefused) {
  String columns, key;
  for (int i = 1; i <= MaxKeyFields + 1; ++i) {
    columns += Format("k%d INT NOT NULL, ", i);
    key += Format("%sk%d", i > 1 ? ", " : "", i);
  }
  Exec(FConnection, "DROP TABLE IF EXISTS cur_wide");
  Exec(FConnection, "CREATE TABLE cur_wide (" + columns + "UNIQUE KEY wide (" + key + "))");
  TNativeDataSet* statement = nullptr;
  ASSERT_EQ(FEngine.AllocStatement(FConnection, statement), 0);
  FStatements.push_back(statement);
  ASSERT_EQ(FEngine.PrepareStatement(statement, "SELECT * FROM cur_wide"), 0);
  TNativeDataSet* cursor = nullptr;
  EXPECT_EQ(FEngine.ExecuteStatement(statement, &cursor), DBIERR_NOTSUPPORTED);
  EXPECT_NE(FEngine.GetLastErrorText().find("wide"), String::npos);
  EXPECT_EQ(statement->GetIndexes().GetCount(), 0);
}

TEST_F(AccessCursor, AStatementPreparedAgainIsDescribedAgain) {
  TNativeDataSet* statement = nullptr;
  ASSERT_EQ(FEngine.AllocStatement(FConnection, statement), 0);
  FStatements.push_back(statement);
  struct Case {
    const char* sql;
    std::vector<String> names;
    int indexes;
  } cases[] = {
      {"SELECT a FROM cur_keys", {"a"}, 2},
      {"SELECT b, c FROM cur_keys", {"b", "c"}, 2},
      {"SELECT 1 AS x", {"x"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    ASSERT_EQ(FEngine.PrepareStatement(statement, c.sql), 0);
    TNativeDataSet* cursor = nullptr;
    ASSERT_EQ(FEngine.ExecuteStatement(statement, &cursor), 0);
    std::vector<TFieldDesc> descs;
    ASSERT_EQ(FEngine.GetFieldDescs(cursor, descs), 0);
    std::vector<String> names;
    for (const auto& d : descs)
      names.push_back(d.Name);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(cursor->GetIndexes().GetCount(), c.indexes);
    ASSERT_EQ(FEngine.CloseCursor(cursor), 0);
  }
}
