// Filters of native cursors: expression trees evaluated on record buffers,
// callbacks, and filtered walking and counting on the test server.
#include "DateUtils.h"
#include "NativeTestSupport.h"
#include "uMysqlHelpers.h"

namespace {

enum { fName = 1, fAge, fScore, fBorn, fNick, fBig, fFlag, fMemo };

// A cursor without a result whose fields are made by hand, and one record.
class FilterRecord : public ::testing::Test {
protected:
  void SetUp() override {
    AddField("name", Column(253, 20));
    AddField("age", Column(3, 11));
    AddField("score", Column(5, 22));
    AddField("born", Column(10, 10));
    AddField("nick", Column(253, 10));
    AddField("big", Column(8, 20));
    AddField("flag", Column(254, 1, ENUM_FLAG), "y,n");
    AddField("memo", Column(252, 65535, BLOB_FLAG));
    uint32_t data = 0;
    for (int n = 1; n <= FCursor.GetFields().Count(); ++n)
      data += FCursor.GetFields().Field(n)->GetFieldLength() + 1;
    FRecord.assign(data + 8 * FCursor.GetFields().Count() + 9, 0);
    for (int n = 1; n <= FCursor.GetFields().Count(); ++n) {
      TmySQLField* f = FCursor.GetFields().Field(n);
      f->SetNullOffset(data + 8 * (n - 1));
      f->BindBuffer(FRecord.data());
      f->SetIsNull(true);
    }
    Put(fName, "O'Brien");
    Put(fAge, int32_t(42));
    Put(fScore, 2.5);
    Put(fBorn, DateTimeToTimeStamp(EncodeDate(1990, 5, 17)).Date);
    Put(fBig, int64_t(5000000000));
    Put(fFlag, int16_t(1));
  }

  static TMysqlField Column(uint8_t type, int length, int flags = 0) {
    TMysqlField f;
    f.Type = type;
    f.Length = length;
    f.Flags = flags;
    f.Table = "t";
    return f;
  }

  void AddField(const char* name, const TMysqlField& column, const String& values = "") {
    const TColumnTyping t = MySQLTypeToLogical(column, values);
    TFieldDesc desc;
    desc.FieldNumber = uint16_t(FCursor.GetFields().Count() + 1);
    desc.Name = name;
    desc.FieldType = t.FieldType;
    desc.Length = t.Length;
    desc.NativeType = t.NativeType;
    for (int n = 1; n < desc.FieldNumber; ++n)
      desc.Offset += FCursor.GetFields().Field(n)->GetFieldLength();
    FCursor.GetFields().Add()->Setup(desc, TValCheckDesc(), values, t.NativeSize);
  }

  template <typename T> void Put(int n, const T& value) {
    TmySQLField* f = FCursor.GetFields().Field(n);
    f->BindBuffer(FRecord.data());
    f->SetValue(&value);
    f->SetIsNull(false);
  }
  void Put(int n, const char* text) {
    TmySQLField* f = FCursor.GetFields().Field(n);
    f->BindBuffer(FRecord.data());
    f->SetValue(text);
    f->SetIsNull(false);
  }

  bool Passes(const PFilterNode& tree) {
    TmySQLFilter* filter = FCursor.AddFilter(0, tree, nullptr);
    FCursor.ActivateFilter(filter);
    const bool passes = FCursor.PassesFilters(FRecord.data());
    FCursor.DropFilter(filter);
    return passes;
  }

  static PFilterNode FieldNode(int n) {
    auto node = std::make_shared<TFilterNode>();
    node->NodeClass = nodeFIELD;
    node->FieldNo = n;
    return node;
  }
  static PFilterNode Text(const char* text) { return NewConstNode(Variant(text), ftString); }
  static PFilterNode Int(int v) { return NewConstNode(Variant(v), ftInteger); }

  TNativeConnect FConnection{0};
  TNativeDataSet FCursor{&FConnection, -1, 0, "", "", nullptr};
  std::vector<char> FRecord;
};

} // namespace

TEST_F(FilterRecord, ExpressionTreesOnARecord) {
  const TDateTime born = EncodeDate(1990, 5, 17);
  struct Case {
    const char* what;
    PFilterNode tree;
    bool passes;
  } cases[] = {
      {"text with a quote", NewBinaryNode(coEQ, FieldNode(fName), Text("O'Brien")), true},
      {"other text", NewBinaryNode(coEQ, FieldNode(fName), Text("OBrien")), false},
      {"greater", NewBinaryNode(coGT, FieldNode(fAge), Int(40)), true},
      {"less", NewBinaryNode(coLT, FieldNode(fAge), Int(40)), false},
      {"less or equal", NewBinaryNode(coLE, FieldNode(fAge), Int(42)), true},
      {"sum", NewBinaryNode(coEQ, NewBinaryNode(coADD, FieldNode(fAge), Int(8)), Int(50)), true},
      {"negation", NewBinaryNode(coEQ, NewUnaryNode(coMINUS, FieldNode(fAge)), Int(-42)), true},
      {"modulus", NewBinaryNode(coEQ, NewBinaryNode(coMOD, FieldNode(fAge), Int(5)), Int(2)), true},
      {"float", NewBinaryNode(coEQ, FieldNode(fScore), NewConstNode(Variant(2.5), ftFloat)), true},
      {"is null", NewUnaryNode(coISBLANK, FieldNode(fNick)), true},
      {"is not null", NewUnaryNode(coNOTBLANK, FieldNode(fNick)), false},
      {"null equals text", NewBinaryNode(coEQ, FieldNode(fNick), Text("x")), false},
      {"like ignores case", NewBinaryNode(coLIKE, FieldNode(fName), Text("o%n")), true},
      {"like one character", NewBinaryNode(coLIKE, FieldNode(fName), Text("O'Bri?n")), true},
      {"compare like with case", NewCompareNode(coLIKE, FieldNode(fName), Text("o%"), false, 0), false},
      {"compare like without case", NewCompareNode(coLIKE, FieldNode(fName), Text("o%"), true, 0), true},
      {"compare equal without case", NewCompareNode(coEQ, FieldNode(fName), Text("o'brien"), true, 0), true},
      {"compare partial", NewCompareNode(coEQ, FieldNode(fName), Text("O'Bxx"), false, 4), true},
      {"compare not equal", NewCompareNode(coNE, FieldNode(fName), Text("O'Brien"), false, 0), false},
      {"compare null as empty", NewCompareNode(coEQ, FieldNode(fNick), Text(""), false, 0), true},
      {"in list", NewBinaryNode(coIN, FieldNode(fAge), NewListNode({Int(1), Int(42), Int(7)})), true},
      {"list first", NewBinaryNode(coIN, NewListNode({Int(1), Int(42)}), FieldNode(fAge)), true},
      {"not in list", NewBinaryNode(coIN, FieldNode(fAge), NewListNode({Int(1), Int(7)})), false},
      {"not", NewUnaryNode(coNOT, NewBinaryNode(coEQ, FieldNode(fAge), Int(42))), false},
      {"and",
       NewBinaryNode(coAND, NewBinaryNode(coEQ, FieldNode(fAge), Int(42)),
                     NewUnaryNode(coISBLANK, FieldNode(fNick))),
       true},
      {"or",
       NewBinaryNode(coOR, NewBinaryNode(coEQ, FieldNode(fAge), Int(1)),
                     NewUnaryNode(coNOTBLANK, FieldNode(fNick))),
       false},
      {"upper", NewBinaryNode(coEQ, NewUnaryNode(coUPPER, FieldNode(fName)), Text("O'BRIEN")), true},
      {"lower", NewBinaryNode(coEQ, NewUnaryNode(coLOWER, FieldNode(fName)), Text("o'brien")), true},
      {"int64", NewBinaryNode(coGT, FieldNode(fBig), NewConstNode(Variant(int64_t(4000000000)), ftLargeint)),
       true},
      {"date", NewBinaryNode(coEQ, FieldNode(fBorn), NewConstNode(Variant::FromDate(born + 0.25), ftDate)),
       true},
      {"boolean", NewBinaryNode(coEQ, FieldNode(fFlag), NewConstNode(Variant(true), ftBoolean)), true},
      {"blob has no value", NewBinaryNode(coEQ, FieldNode(fMemo), Text("")), false},
      {"text against number fails", NewBinaryNode(coGT, FieldNode(fName), Int(5)), false},
      {"null result", NewUnaryNode(coNOT, FieldNode(fNick)), false},
      {"unknown node", std::make_shared<TFilterNode>(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Passes(c.tree), c.passes);
  }
}

TEST_F(FilterRecord, CallbacksActivationAndTheFilterList) {
  intptr_t seenData = 0;
  const char* seenRecord = nullptr;
  bool answer = false;
  TmySQLFilter* callback = FCursor.AddFilter(77, nullptr, [&](intptr_t data, const char* record, int32_t) {
    seenData = data;
    seenRecord = record;
    return answer ? 1 : 0;
  });
  // Inactive filters are not asked.
  EXPECT_TRUE(FCursor.PassesFilters(FRecord.data()));
  EXPECT_EQ(seenRecord, nullptr);
  FCursor.ActivateFilter(nullptr);
  EXPECT_FALSE(FCursor.PassesFilters(FRecord.data()));
  EXPECT_EQ(seenData, 77);
  EXPECT_EQ(seenRecord, FRecord.data());
  answer = true;
  EXPECT_TRUE(FCursor.PassesFilters(FRecord.data()));

  TmySQLFilter* reject = FCursor.AddFilter(0, NewBinaryNode(coEQ, FieldNode(fAge), Int(1)), nullptr);
  EXPECT_TRUE(FCursor.PassesFilters(FRecord.data()));
  FCursor.ActivateFilter(reject);
  EXPECT_FALSE(FCursor.PassesFilters(FRecord.data()));
  FCursor.DeactivateFilter(reject);
  EXPECT_TRUE(FCursor.PassesFilters(FRecord.data()));
  EXPECT_FALSE(reject->Evaluate(FRecord.data()));

  TmySQLEngine engine;
  TNativeConnect other(0);
  TNativeDataSet stranger(&other, -1, 0, "", "", nullptr);
  TmySQLFilter* foreign = stranger.AddFilter(0, nullptr, nullptr);
  EXPECT_EQ(engine.ActivateFilter(&FCursor, foreign), DBIERR_NOSUCHFILTER);
  EXPECT_EQ(FCursor.GetFilterCount(), 2);
  ASSERT_EQ(engine.DropFilter(&FCursor, callback), 0);
  EXPECT_EQ(FCursor.GetFilterCount(), 1);
  ASSERT_EQ(engine.DropFilter(&FCursor, nullptr), 0);
  EXPECT_EQ(FCursor.GetFilterCount(), 0);
}

namespace {

class FilterOnServer : public TNativeOnServer {};

} // namespace

TEST_F(FilterOnServer, FilteredWalksAndCountsRestoreThePosition) {
  TNativeConnect* connection = Open();
  ASSERT_TRUE(connection);
  Exec(connection, "DROP TABLE IF EXISTS flt_rows");
  Exec(connection, "CREATE TABLE flt_rows (n INT, s VARCHAR(10))");
  Exec(connection, "INSERT INTO flt_rows VALUES (1,'a'), (2,'b'), (3,'a'), (4,'b'), (5,'a')");
  TNativeDataSet* cursor = OpenCursor(connection, "SELECT n, s FROM flt_rows ORDER BY n");
  ASSERT_TRUE(cursor);
  std::vector<char> buffer = Buffer(cursor);
  auto tree = NewBinaryNode(coEQ, std::make_shared<TFilterNode>(), NewConstNode(Variant("a"), ftString));
  tree->Args[0]->NodeClass = nodeFIELD;
  tree->Args[0]->FieldNo = 2;
  TmySQLFilter* filter = nullptr;
  ASSERT_EQ(FEngine.AddFilter(cursor, 0, 1, false, tree, nullptr, filter), 0);
  ASSERT_EQ(FEngine.ActivateFilter(cursor, filter), 0);

  FEngine.SetToBegin(cursor);
  ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
  ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
  bool blank;
  EXPECT_EQ(FieldAs<int32_t>(cursor, 1, buffer, blank), 3);
  int count = 0;
  ASSERT_EQ(FEngine.GetRecordCount(cursor, count), 0);
  EXPECT_EQ(count, 3);
  // The walk goes on from where it was before counting.
  ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
  EXPECT_EQ(FieldAs<int32_t>(cursor, 1, buffer, blank), 5);
  EXPECT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), DBIERR_EOF);
  ASSERT_EQ(FEngine.GetPriorRecord(cursor, 0, buffer.data(), nullptr), 0);
  EXPECT_EQ(FieldAs<int32_t>(cursor, 1, buffer, blank), 3);
  // Without a buffer the filter still skips rows.
  ASSERT_EQ(FEngine.GetPriorRecord(cursor, 0, nullptr, nullptr), 0);
  EXPECT_EQ(cursor->CurrentRowIndex(), 0);

  // A filter that rejects every row.
  ASSERT_EQ(FEngine.DropFilter(cursor, filter), 0);
  auto none = NewBinaryNode(coEQ, tree->Args[0], NewConstNode(Variant("none"), ftString));
  ASSERT_EQ(FEngine.AddFilter(cursor, 0, 1, false, none, nullptr, filter), 0);
  ASSERT_EQ(FEngine.ActivateFilter(cursor, filter), 0);
  FEngine.SetToBegin(cursor);
  EXPECT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), DBIERR_EOF);
  FEngine.SetToBegin(cursor);
  ASSERT_EQ(FEngine.GetRecordCount(cursor, count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(cursor->GetPositionState(), psBegin);
}
