// The engine call layer: result codes, their texts, handles, and the
// parameter substitution it hands statements to.
#include "DB.h"
#include "DateUtils.h"
#include "NativeTestSupport.h"

TEST(EngineCodes, EveryCodeHasItsText) {
  struct Case {
    int code;
    const char* text;
  } cases[] = {
      {8705, "At beginning of table."},
      {8706, "At end of table."},
      {8709, "No current record."},
      {8710, "Could not find record."},
      {8711, "End of BLOB."},
      {9986, "Invalid parameter."},
      {9990, "Invalid handle to the function."},
      {9997, "Index does not exist."},
      {9998, "Invalid offset into the BLOB."},
      {10003, "Invalid record structure."},
      {10024, "Table does not exist."},
      {10050, "Filter handle is invalid."},
      {10498, "Insufficient table rights for operation. Password required."},
      {10753, "Field is not a BLOB."},
      {10763, "Table is read only."},
      {10764, "No associated index."},
      {11886, "Query string is empty."},
      {12289, "Capability not supported."},
      {13062, "Update aborted."},
      {0, "Unknown error"},
      {1001, "Unknown error"},
      {4242, "Unknown error"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DBIErrorText(c.code), c.text) << c.code;
}

TEST(EngineCodes, TranslationKeepsNumbersAndTexts) {
  TmySQLEngine engine;
  auto translate = [&](const EmySQLException& e) {
    try {
      throw e;
    } catch (...) {
      return engine.TranslateError();
    }
  };
  EXPECT_EQ(translate(EmySQLException::CreateCode(DBIERR_EOF)), DBIERR_EOF);
  EXPECT_EQ(engine.GetLastErrorText(), "");
  EXPECT_EQ(translate(EmySQLException::CreateWithText(nullptr, "the server's words")), DBIERR_NATIVE);
  EXPECT_EQ(engine.GetLastErrorText(), "the server's words");
  EXPECT_EQ(engine.GetLastNativeError(), 0);
  // Exceptions of other kinds go on unchanged.
  try {
    throw EConvertError("not ours");
  } catch (...) {
    EXPECT_THROW(engine.TranslateError(), EConvertError);
  }
}

TEST(EngineCodes, AbsentHandlesAndUnpositionedCursors) {
  TmySQLEngine engine;
  std::vector<char> buffer(64);
  bool blank;
  int count;
  TNativeConnect* noConnection = nullptr;
  TNativeDataSet* noCursor = nullptr;
  TTransInfo info;
  int affected;
  EXPECT_EQ(engine.GetNextRecord(nullptr, 0, buffer.data(), nullptr), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.GetField(nullptr, 1, buffer.data(), nullptr, blank), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.GetRecordCount(nullptr, count), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.CloseDatabase(noConnection), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.CloseCursor(noCursor), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.GetTransactionInfo(nullptr, nullptr, info), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.ExecuteDirect(nullptr, 2, "DO 1", false, affected), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.AllocStatement(nullptr, noCursor), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.ExecuteStatement(nullptr, nullptr), DBIERR_INVALIDHNDL);
  EXPECT_EQ(engine.FreeStatement(noCursor), 0);

  TNativeConnect connection(0);
  TNativeDataSet cursor(&connection, -1, 0, "", "", nullptr);
  EXPECT_EQ(engine.SetToCursor(&cursor, nullptr), DBIERR_INVALIDHNDL);
  // Failures that carry only a code leave the last server error alone.
  try {
    throw EmySQLException::CreateWithText(nullptr, "earlier");
  } catch (...) {
    engine.TranslateError();
  }
  EXPECT_EQ(engine.GetRecord(&cursor, 0, buffer.data(), nullptr), DBIERR_NOCURRREC);
  EXPECT_EQ(engine.GetLastErrorText(), "");
  int size = 7;
  EXPECT_EQ(engine.GetProperty(nullptr, curAFFECTEDROWS, &count, sizeof count, size), DBIERR_INVALIDPARAM);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(engine.SetProperty(nullptr, curAFFECTEDROWS, 0), DBIERR_INVALIDPARAM);
  // Neither a statement nor a table's lines to run.
  EXPECT_EQ(engine.ForceReread(&cursor), DBIERR_QRYEMPTY);
}

TEST(EngineCodes, CursorProperties) {
  TNativeConnect connection(0);
  TNativeDataSet cursor(&connection, -1, 0, "", "", nullptr);
  struct Case {
    uint32_t id;
    int size;
    int32_t value;
  } cases[] = {
      {curMAXPROPS, 2, 23},
      {curXLTMODE, 4, 0},
      {curAFFECTEDROWS, 4, 0},
      {curAUTOREFETCH, 1, 0},
      {0x10000 | curMAXPROPS, 2, 23},
      {curUPDATABLE, 0, 0},
      {77, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    int32_t value = 0;
    int size = -1;
    cursor.GetProperty(c.id, &value, sizeof value, size);
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(value, c.value);
  }
  cursor.SetProperty(curAUTOREFETCH, 1);
  EXPECT_TRUE(cursor.GetKeepPositionAfterPost());
  cursor.SetProperty(curUPDATABLE, 0);
  EXPECT_EQ(cursor.GetReadOnly(), 1);
  cursor.SetProperty(curUPDATABLE, 1);
  EXPECT_EQ(cursor.GetReadOnly(), 0);
  cursor.SetProperty(curAFFECTEDROWS, 0);
  EXPECT_EQ(cursor.GetPositionState(), psChanged);
  // Settings the cursor has no use for are taken and ignored.
  cursor.SetProperty(0x60010, 1);
  cursor.SetProperty(0x4050000, 1);
  EXPECT_EQ(cursor.GetReadOnly(), 0);
}

TEST(EngineParams, ParametersBecomeLiterals) {
  TParams params;
  params.CreateParam(ftInteger, "n", ptInput)->SetAsInteger(5);
  params.CreateParam(ftString, "s", ptInput)->SetAsString("O'Brien\\");
  params.CreateParam(ftString, "empty", ptInput)->SetValue(Null());
  params.CreateParam(ftBoolean, "yes", ptInput)->SetAsBoolean(true);
  params.CreateParam(ftBoolean, "no", ptInput)->SetAsBoolean(false);
  params.CreateParam(ftFloat, "f", ptInput)->SetAsFloat(2.5);
  params.CreateParam(ftLargeint, "big", ptInput)->SetAsLargeInt(int64_t(9000000000));
  params.CreateParam(ftDate, "d", ptInput)->SetAsDate(EncodeDate(2024, 2, 29));
  params.CreateParam(ftTime, "t", ptInput)->SetAsTime(EncodeTime(13, 14, 15, 0));
  params.CreateParam(ftDateTime, "dt", ptInput)->SetAsDateTime(EncodeDateTime(2024, 2, 29, 13, 14, 15, 0));
  params.CreateParam(ftBlob, "b", ptInput)->SetAsBlob(String("a\0b", 3));
  params.CreateParam(ftString, "my name", ptInput)->SetAsString("x");
  struct Case {
    const char* sql;
    const char* expected;
  } cases[] = {
      {"select :n", "select 5"},
      {"select :s", "select 'O\\'Brien\\\\'"},
      {"select :empty", "select NULL"},
      {"select :yes, :no", "select 'Y', 'N'"},
      {"select :f, :big", "select 2.5, 9000000000"},
      {"select :d, :t, :dt", "select '2024-02-29', '13:14:15', '2024-02-29 13:14:15'"},
      {"select :b", "select 'a\\0b'"},
      {"select :[my name], :\"n\", :'n'", "select 'x', 5, 5"},
      {"select  *\tfrom t where a = :n  and b=':n'", "select * from t where a = 5 and b=':n'"},
      {"  select 1  ", "select 1"},
  };
  TNativeConnect connection(0);
  TNativeDataSet statement(&connection, -1, 0, "", "", nullptr);
  TmySQLEngine engine;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    ASSERT_EQ(engine.SetParams(&statement, params, c.sql), 0);
    EXPECT_EQ(statement.GetStatementText(), c.expected);
  }
  // A name without a parameter is the framework's error, passed on.
  EXPECT_THROW(engine.SetParams(&statement, params, "select :missing"), EDatabaseError);
  EXPECT_EQ(engine.SetParams(nullptr, params, "select 1"), DBIERR_INVALIDHNDL);
}

namespace {

class EngineOnServer : public TNativeOnServer {};

} // namespace

TEST_F(EngineOnServer, SubstitutedStatementsRunOnTheServer) {
  TNativeConnect* connection = Open();
  ASSERT_TRUE(connection);
  Exec(connection, "DROP TABLE IF EXISTS eng_params");
  Exec(connection, "CREATE TABLE eng_params (s VARCHAR(20), d DATE)");
  TParams params;
  params.CreateParam(ftString, "s", ptInput)->SetAsString("it's \\ ok");
  params.CreateParam(ftDate, "d", ptInput)->SetAsDate(EncodeDate(2001, 2, 3));
  TNativeDataSet* statement = nullptr;
  ASSERT_EQ(FEngine.AllocStatement(connection, statement), 0);
  FStatements.push_back(statement);
  ASSERT_EQ(FEngine.SetParams(statement, params, "INSERT INTO eng_params VALUES (:s, :d)"), 0);
  ASSERT_EQ(FEngine.ExecuteStatement(statement, nullptr), 0);
  EXPECT_EQ(statement->GetAffectedRows(), 1u);
  TNativeDataSet* cursor = OpenCursor(connection, "SELECT s, d FROM eng_params");
  ASSERT_TRUE(cursor);
  std::vector<char> buffer = Buffer(cursor);
  FEngine.SetToBegin(cursor);
  ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
  bool blank;
  EXPECT_EQ(FieldText(cursor, 1, buffer, blank), "it's \\ ok");
  EXPECT_EQ(FieldAs<int32_t>(cursor, 2, buffer, blank), DateTimeToTimeStamp(EncodeDate(2001, 2, 3)).Date);
  // A parameter list with a bad port is the conversion error, naming it.
  TStringList bad = Params(TestAccount(), "");
  bad.SetValue("Port", "x");
  TNativeConnect* none = nullptr;
  EXPECT_THROW(FEngine.OpenDatabase(0, bad, none), EConvertError);
  EXPECT_EQ(FEngine.OpenDatabase(ConnectOptionBit(coSSL), Params(TestAccount(), ""), none),
            DBIERR_NOTSUPPORTED);
  EXPECT_EQ(none, nullptr);
}
