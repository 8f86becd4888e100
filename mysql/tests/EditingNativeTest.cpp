// The native cursor's statements and key search, seen from the engine.
#include "NativeTestSupport.h"

#include <cstring>

namespace {

class EditingNative : public TNativeOnServer {
protected:
  TNativeDataSet* Keyed() {
    FConnection = Open();
    Exec(FConnection, "DROP TABLE IF EXISTS native_keys");
    Exec(FConnection,
         "CREATE TABLE native_keys (code VARCHAR(10) NOT NULL, n INT NOT NULL, note VARCHAR(10), "
         "PRIMARY KEY (code, n))");
    Exec(FConnection,
         "INSERT INTO native_keys VALUES ('a', 1, 'x'), ('a', 2, NULL), ('b', 1, ''), ('it''s', 3, 'q')");
    return OpenCursor(FConnection, "SELECT * FROM native_keys ORDER BY code, n");
  }

  // A record buffer holding the key (code, n).
  std::vector<char> Key(TNativeDataSet* cursor, const char* code, int32_t n) {
    std::vector<char> buffer = Buffer(cursor);
    EXPECT_EQ(FEngine.InitRecord(cursor, buffer.data()), 0);
    EXPECT_EQ(FEngine.PutField(cursor, 1, buffer.data(), code), 0);
    EXPECT_EQ(FEngine.PutField(cursor, 2, buffer.data(), &n), 0);
    return buffer;
  }

  TNativeConnect* FConnection = nullptr;
};

} // namespace

TEST_F(EditingNative, GetRecordForKeyFindsRowsByTheIndexInForce) {
  TNativeDataSet* cursor = Keyed();
  ASSERT_TRUE(cursor);
  struct Case {
    const char* Code;
    int32_t N;
    int Count;
    uint16_t Result;
    int64_t Row;
  } cases[] = {
      {"b", 1, 2, 0, 2},
      {"it's", 3, 2, 0, 3},
      {"A", 2, 2, 0, 1},
      {"b", 9, 1, 0, 2},
      {"b", 9, 2, DBIERR_RECNOTFOUND, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Format("%s %d", c.Code, int(c.N)));
    std::vector<char> key = Key(cursor, c.Code, c.N);
    ASSERT_EQ(FEngine.GetRecordForKey(cursor, false, c.Count, 0, key.data()), c.Result);
    if (c.Row >= 0) {
      EXPECT_EQ(cursor->CurrentRowIndex(), c.Row);
    }
    // The same key packed: each field's presence byte and value, one after the other.
    std::vector<char> packed;
    for (int field = 1; field <= c.Count; ++field) {
      TmySQLField* f = cursor->GetFields().Field(field);
      f->BindBuffer(key.data());
      packed.insert(packed.end(), f->Slot(), f->Slot() + 1 + f->GetFieldLength());
    }
    EXPECT_EQ(FEngine.GetRecordForKey(cursor, true, c.Count, 0, packed.data()), c.Result);
    if (c.Row >= 0) {
      EXPECT_EQ(cursor->CurrentRowIndex(), c.Row);
    }
  }
}

TEST_F(EditingNative, StatementsQuoteNamesAndNameTheRowByItsKey) {
  TNativeDataSet* cursor = Keyed();
  ASSERT_TRUE(cursor);
  std::vector<char> old = Buffer(cursor);
  ASSERT_EQ(FEngine.SetToBegin(cursor), 0);
  for (int row = 0; row < 4; ++row)
    ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, old.data(), nullptr), 0);
  std::vector<char> changed = old;
  ASSERT_EQ(FEngine.PutField(cursor, 3, changed.data(), nullptr), 0);
  const String table = "`native_keys`";
  EXPECT_EQ(cursor->BuildUpdate(table, old.data(), changed.data()),
            "UPDATE `native_keys` SET `note`=NULL WHERE `code`='it\\'s' AND `n`=3");
  EXPECT_EQ(cursor->BuildDelete(table, old.data()),
            "DELETE FROM `native_keys` WHERE `code`='it\\'s' AND `n`=3");
  EXPECT_EQ(cursor->BuildInsert(table, old.data()),
            "INSERT INTO `native_keys` (`code`, `n`, `note`) VALUES ('it\\'s', 3, 'q')");
  EXPECT_EQ(cursor->BuildUpdate(table, old.data(), old.data()), "") << "nothing changed, nothing to send";
  ASSERT_EQ(FEngine.ModifyRecord(cursor, old.data(), changed.data(), false), 0);
  EXPECT_EQ(cursor->CurrentRowIndex(), 3) << "the cursor stays on the written row";
  ASSERT_EQ(FEngine.DeleteRecord(cursor, changed.data()), 0);
  EXPECT_EQ(cursor->RowCount(), 3u);
  EXPECT_EQ(cursor->CurrentRowIndex(), 2) << "deleting the last row leaves the cursor on the new last row";
}
