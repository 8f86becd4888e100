// Column typing and the values of every column type in record buffers.
#include "DateUtils.h"
#include "NativeTestSupport.h"
#include "uMysqlHelpers.h"

namespace {

TMysqlField Column(uint8_t type, int length, int flags = 0, int maxLength = 0) {
  TMysqlField f;
  f.Name = "c";
  f.Table = "t";
  f.Type = type;
  f.Length = length;
  f.Flags = flags;
  f.MaxLength = maxLength;
  return f;
}

int32_t DayNumber(int y, int m, int d) {
  return DateTimeToTimeStamp(EncodeDate(y, m, d)).Date;
}

double DateTimeMSecs(int y, int m, int d, int h, int n, int s, int ms) {
  return double(DayNumber(y, m, d)) * MSecsPerDay + ((h * 60 + n) * 60 + s) * 1000.0 + ms;
}

} // namespace

TEST(AccessTyping, ColumnTypesMapToLogicalTypes) {
  struct Case {
    const char* what;
    TMysqlField field;
    String values;
    uint16_t native, logical, subtype;
    uint32_t length;
    int32_t nativeSize;
  } cases[] = {
      {"enum y/n", Column(254, 1, ENUM_FLAG), "y,n", MYSQL_TYPE_BOOLEAN_ENUM, fldBOOL, 0, 2, 2},
      {"enum t/f", Column(254, 1, ENUM_FLAG), "T,f", MYSQL_TYPE_BOOLEAN_ENUM, fldBOOL, 0, 2, 2},
      {"enum yes/no", Column(254, 3, ENUM_FLAG), "yes,no", 254, fldZSTRING, 0, 4, 4},
      {"enum of three", Column(254, 1, ENUM_FLAG), "y,n,t", 254, fldZSTRING, 0, 2, 2},
      {"set", Column(254, 5, SET_FLAG, 3), "a,b,c", MYSQL_TYPE_SET_VALUE, fldZSTRING, 0, 4, 5},
      {"empty set", Column(254, 5, SET_FLAG, 0), "a,b,c", MYSQL_TYPE_SET_VALUE, fldZSTRING, 0, 6, 5},
      {"varchar 300", Column(253, 300), "", 252, fldBLOB, fldstMEMO, 8, 301},
      {"varchar 255", Column(253, 255), "", 253, fldZSTRING, 0, 256, 256},
      {"long value", Column(254, 10, 0, 400), "", 252, fldBLOB, fldstMEMO, 8, 401},
      {"text", Column(252, 65535, BLOB_FLAG), "", 252, fldBLOB, fldstMEMO, 8, 65535},
      {"blob", Column(252, 65535, BLOB_FLAG | BINARY_FLAG), "", 252, fldBLOB, 0, 8, 65535},
      {"long definition", Column(250, 16777215, BLOB_FLAG), "", 252, fldBLOB, fldstMEMO, 8, 16777215},
      {"geometry", Column(255, 4294967, BLOB_FLAG | BINARY_FLAG), "", 252, fldBLOB, 0, 8, 4294967},
      {"int auto", Column(3, 11, AUTO_INCREMENT_FLAG), "", 3, fldINT32, fldstAUTOINC, 4, 4},
      {"int unsigned auto", Column(3, 10, AUTO_INCREMENT_FLAG | UNSIGNED_FLAG), "", 3, fldUINT32, 0, 4, 4},
      {"smallint unsigned", Column(2, 5, UNSIGNED_FLAG), "", 2, fldUINT16, 0, 2, 2},
      {"bigint auto", Column(8, 20, AUTO_INCREMENT_FLAG), "", 8, fldINT64, fldstAUTOINC, 8, 8},
      {"bigint unsigned", Column(8, 20, UNSIGNED_FLAG), "", 254, fldZSTRING, 0, 21, 21},
      {"decimal", Column(0, 10), "", 0, fldFLOAT, 0, 8, 8},
      {"new decimal", Column(246, 12), "", 246, fldFLOAT, 0, 8, 8},
      {"bit", Column(16, 10), "", 16, fldINT64, 0, 8, 8},
      {"year", Column(13, 4), "", 13, fldINT32, 0, 4, 4},
      {"timestamp", Column(7, 19), "", 7, fldTIMESTAMP, 0, 8, 8},
      {"datetime", Column(12, 19), "", 12, fldTIMESTAMP, 0, 8, 8},
      {"date", Column(10, 10), "", 10, fldDATE, 0, 8, 8},
      {"time", Column(11, 10), "", 11, fldTIME, 0, 8, 8},
      {"null", Column(6, 0), "", 6, fldZSTRING, 0, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TColumnTyping t = MySQLTypeToLogical(c.field, c.values);
    EXPECT_EQ(t.NativeType, c.native);
    EXPECT_EQ(t.FieldType, c.logical);
    EXPECT_EQ(t.SubType, c.subtype);
    EXPECT_EQ(t.Length, c.length);
    EXPECT_EQ(t.NativeSize, c.nativeSize);
  }
}

namespace {

class AccessValues : public TNativeOnServer {
protected:
  void SetUp() override {
    TNativeOnServer::SetUp();
    if (IsSkipped()) return;
    FConnection = Open();
    ASSERT_TRUE(FConnection);
  }

  // The cursor on the one row of `select`, read into `buffer`.
  TNativeDataSet* ReadRow(const String& select, std::vector<char>& buffer) {
    TNativeDataSet* cursor = OpenCursor(FConnection, select);
    if (!cursor) return nullptr;
    buffer = Buffer(cursor);
    FEngine.SetToBegin(cursor);
    EXPECT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
    return cursor;
  }

  String BlobOf(TNativeDataSet* cursor, int field, std::vector<char>& buffer) {
    uint32_t size = 0;
    EXPECT_EQ(FEngine.GetBlobSize(cursor, buffer.data(), field, size), 0);
    String bytes(size, '\0');
    uint32_t read = 0;
    if (size) {
      EXPECT_EQ(FEngine.GetBlob(cursor, buffer.data(), field, 0, int32_t(size), bytes.data(), read), 0);
    }
    EXPECT_EQ(read, size);
    return bytes;
  }

  TNativeConnect* FConnection = nullptr;
};

} // namespace

TEST_F(AccessValues, EveryColumnTypeReadsIntoItsCallerRepresentation) {
  Exec(FConnection, "DROP TABLE IF EXISTS val_all");
  Exec(FConnection, "CREATE TABLE val_all (ti TINYINT, su SMALLINT UNSIGNED, iu INT UNSIGNED, bi BIGINT, "
                    "bu BIGINT UNSIGNED, de DECIMAL(10,2), fl FLOAT, db DOUBLE, da DATE, dt DATETIME(3), "
                    "ts TIMESTAMP NULL, t1 TIME(1), t2 TIME, t3 TIME, ye YEAR, ch CHAR(5), cn CHAR(5), "
                    "vl VARCHAR(300), tx TEXT, bl BLOB, yn ENUM('y','n'), en ENUM('red','green'), "
                    "st SET('a','b','c'), bt BIT(10), ge GEOMETRY, nu INT)");
  Exec(FConnection, "INSERT INTO val_all VALUES (-7, 65535, 4294967295, -9000000000, 18446744073709551615, "
                    "12.34, 1.5, 2.25, '2024-02-29', '2024-02-29 13:14:15.678', '2023-01-02 03:04:05', "
                    "'25:00:00.5', '-01:30:00', '838:59:59', 2024, '', NULL, REPEAT('v', 290), 'text', "
                    "X'00FF0041', 'y', 'green', 'c,a', b'1000000001', ST_GeomFromText('POINT(1 1)'), NULL)");
  std::vector<char> buffer;
  TNativeDataSet* cursor = ReadRow("SELECT * FROM val_all", buffer);
  ASSERT_TRUE(cursor);
  bool blank = true;
  EXPECT_EQ(FieldAs<int16_t>(cursor, 1, buffer, blank), -7);
  EXPECT_EQ(FieldAs<uint16_t>(cursor, 2, buffer, blank), 65535);
  EXPECT_EQ(FieldAs<uint32_t>(cursor, 3, buffer, blank), 4294967295u);
  EXPECT_EQ(FieldAs<int64_t>(cursor, 4, buffer, blank), -9000000000);
  EXPECT_EQ(FieldText(cursor, 5, buffer, blank), "18446744073709551615");
  EXPECT_DOUBLE_EQ(FieldAs<double>(cursor, 6, buffer, blank), 12.34);
  EXPECT_DOUBLE_EQ(FieldAs<double>(cursor, 7, buffer, blank), 1.5);
  EXPECT_DOUBLE_EQ(FieldAs<double>(cursor, 8, buffer, blank), 2.25);
  EXPECT_EQ(FieldAs<int32_t>(cursor, 9, buffer, blank), DayNumber(2024, 2, 29));
  EXPECT_DOUBLE_EQ(FieldAs<double>(cursor, 10, buffer, blank), DateTimeMSecs(2024, 2, 29, 13, 14, 15, 678));
  EXPECT_DOUBLE_EQ(FieldAs<double>(cursor, 11, buffer, blank), DateTimeMSecs(2023, 1, 2, 3, 4, 5, 0));
  EXPECT_EQ(FieldAs<int32_t>(cursor, 12, buffer, blank), 90000500);
  EXPECT_FALSE(blank);
  EXPECT_EQ(FieldAs<int32_t>(cursor, 13, buffer, blank), -5400000);
  EXPECT_FALSE(blank);
  // Beyond the caller's 32-bit milliseconds: no value rather than a wrong one.
  FieldAs<int32_t>(cursor, 14, buffer, blank);
  EXPECT_TRUE(blank);
  EXPECT_EQ(FieldAs<int32_t>(cursor, 15, buffer, blank), 2024);
  // The empty text is a value; NULL is none.
  EXPECT_EQ(FieldText(cursor, 16, buffer, blank), "");
  EXPECT_FALSE(blank);
  FieldText(cursor, 17, buffer, blank);
  EXPECT_TRUE(blank);
  EXPECT_EQ(BlobOf(cursor, 18, buffer), String(290, 'v'));
  EXPECT_EQ(BlobOf(cursor, 19, buffer), "text");
  EXPECT_EQ(BlobOf(cursor, 20, buffer), String("\x00\xFF\x00\x41", 4));
  EXPECT_EQ(FieldAs<int16_t>(cursor, 21, buffer, blank), 1);
  EXPECT_EQ(FieldText(cursor, 22, buffer, blank), "green");
  EXPECT_EQ(FieldText(cursor, 23, buffer, blank), "a,c");
  EXPECT_EQ(FieldAs<int64_t>(cursor, 24, buffer, blank), 513);
  EXPECT_EQ(BlobOf(cursor, 25, buffer).size(), 25u);
  FieldAs<int32_t>(cursor, 26, buffer, blank);
  EXPECT_TRUE(blank);
  // A NULL column's slot is empty and its status entry says NULL.
  TmySQLField* nu = cursor->GetFields().Field(26);
  nu->BindBuffer(buffer.data());
  EXPECT_EQ(nu->Slot()[0], 0);
  EXPECT_TRUE(nu->GetIsNull());

  // Every value written back into a fresh buffer reads the same.
  std::vector<char> copy(buffer.size());
  ASSERT_EQ(FEngine.InitRecord(cursor, copy.data()), 0);
  std::vector<TFieldDesc> descs;
  FEngine.GetFieldDescs(cursor, descs);
  for (const TFieldDesc& d : descs) {
    if (d.FieldType == fldBLOB) continue;
    SCOPED_TRACE(d.Name);
    std::vector<char> value(d.Length + 8, 0), again(d.Length + 8, 0);
    bool wasBlank, isBlank;
    ASSERT_EQ(FEngine.GetField(cursor, d.FieldNumber, buffer.data(), value.data(), wasBlank), 0);
    ASSERT_EQ(FEngine.PutField(cursor, d.FieldNumber, copy.data(), wasBlank ? nullptr : value.data()), 0);
    ASSERT_EQ(FEngine.GetField(cursor, d.FieldNumber, copy.data(), again.data(), isBlank), 0);
    EXPECT_EQ(isBlank, wasBlank);
    if (!isBlank) {
      EXPECT_EQ(value, again);
    }
    TmySQLField* field = cursor->GetFields().Field(d.FieldNumber);
    field->BindBuffer(copy.data());
    EXPECT_TRUE(field->GetChanged());
  }
}

TEST_F(AccessValues, FreshBuffersAndBooleanEnumerations) {
  Exec(FConnection, "DROP TABLE IF EXISTS val_bool");
  Exec(FConnection, "CREATE TABLE val_bool (yn ENUM('Y','n'), s SET('x','y'), i INT)");
  Exec(FConnection, "INSERT INTO val_bool VALUES ('Y', 'x,y', 42), ('n', '', 43)");
  std::vector<char> buffer;
  TNativeDataSet* cursor = ReadRow("SELECT * FROM val_bool", buffer);
  ASSERT_TRUE(cursor);
  bool blank;
  EXPECT_EQ(FieldAs<int16_t>(cursor, 1, buffer, blank), 1);
  // The integer after the SET is found at its offset.
  EXPECT_EQ(FieldAs<int32_t>(cursor, 3, buffer, blank), 42);
  ASSERT_EQ(FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr), 0);
  EXPECT_EQ(FieldAs<int16_t>(cursor, 1, buffer, blank), 0);
  EXPECT_EQ(FieldText(cursor, 2, buffer, blank), "");
  EXPECT_FALSE(blank);

  std::vector<char> fresh(buffer.size(), 'z');
  ASSERT_EQ(FEngine.InitRecord(cursor, fresh.data()), 0);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(FEngine.GetField(cursor, n, fresh.data(), nullptr, blank), 0);
    EXPECT_TRUE(blank);
  }
  ASSERT_EQ(FEngine.PutField(cursor, 3, fresh.data(), nullptr), 0);
  TmySQLField* field = cursor->GetFields().Field(3);
  field->BindBuffer(fresh.data());
  EXPECT_TRUE(field->GetIsNull());
  EXPECT_TRUE(field->GetChanged());
  EXPECT_EQ(FEngine.InitRecord(cursor, nullptr), DBIERR_INVALIDPARAM);
  EXPECT_EQ(FEngine.GetField(cursor, 4, fresh.data(), nullptr, blank), DBIERR_INVALIDRECSTRUCT);
}

TEST_F(AccessValues, BlobsReadFromTheRowAndWrittenToStreams) {
  Exec(FConnection, "DROP TABLE IF EXISTS val_blob");
  Exec(FConnection, "CREATE TABLE val_blob (b BLOB, i INT)");
  Exec(FConnection, "INSERT INTO val_blob VALUES ('0123456789', 1)");
  std::vector<char> buffer;
  TNativeDataSet* cursor = ReadRow("SELECT * FROM val_blob", buffer);
  ASSERT_TRUE(cursor);
  char part[16] = {};
  uint32_t read = 0;
  ASSERT_EQ(FEngine.GetBlob(cursor, buffer.data(), 1, 6, 10, part, read), 0);
  EXPECT_EQ(read, 4u);
  EXPECT_EQ(String(part, read), "6789");
  EXPECT_EQ(FEngine.GetBlob(cursor, buffer.data(), 2, 0, 4, part, read), DBIERR_NOTABLOB);
  EXPECT_EQ(FEngine.OpenBlob(cursor, buffer.data(), 2, 0), DBIERR_NOTABLOB);

  ASSERT_EQ(FEngine.PutBlob(cursor, buffer.data(), 1, 0, 3, "abc"), 0);
  uint32_t size = 0;
  FEngine.GetBlobSize(cursor, buffer.data(), 1, size);
  EXPECT_EQ(size, 3u);
  // Offset 0 and count 0 empty the stream and make the field NULL.
  ASSERT_EQ(FEngine.PutBlob(cursor, buffer.data(), 1, 0, 0, nullptr), 0);
  FEngine.GetBlobSize(cursor, buffer.data(), 1, size);
  EXPECT_EQ(size, 0u);
  TmySQLField* field = cursor->GetFields().Field(1);
  field->BindBuffer(buffer.data());
  EXPECT_TRUE(field->GetIsNull());
  ASSERT_NE(field->GetBlobStream(), nullptr);
  ASSERT_EQ(FEngine.FreeBlob(cursor, buffer.data(), 1), 0);
  EXPECT_EQ(field->GetBlobStream(), nullptr);

  ASSERT_EQ(FEngine.GetRecord(cursor, 0, buffer.data(), nullptr), 0);
  ASSERT_EQ(FEngine.TruncateBlob(cursor, buffer.data(), 1, 4), 0);
  EXPECT_EQ(String(field->GetBlobStream()->GetMemory(), 4), "0123");
  ASSERT_EQ(FEngine.TruncateBlob(cursor, buffer.data(), 1, 0), 0);
  EXPECT_TRUE(field->GetIsNull());
  FEngine.FreeBlob(cursor, buffer.data(), 1);
}

TEST_F(AccessValues, DefinitionsLongerThan64KiBAreTextBlobs) {
  std::vector<char> buffer;
  TNativeDataSet* cursor = ReadRow("SELECT REPEAT('x', 70000) AS big, 7 AS n", buffer);
  ASSERT_TRUE(cursor);
  TmySQLField* big = cursor->GetFields().Field(1);
  EXPECT_EQ(big->GetFieldType(), fldBLOB);
  EXPECT_EQ(big->GetNativeType(), 252);
  EXPECT_EQ(BlobOf(cursor, 1, buffer), String(70000, 'x'));
  bool blank;
  EXPECT_EQ(FieldAs<int64_t>(cursor, 2, buffer, blank), 7);
}

TEST_F(AccessValues, NonAsciiTextRoundTripsThroughLatin1AndUtf8Tables) {
  // Windows-1252 bytes: e acute, euro sign, o umlaut, left double quote.
  const String text = "caf\xE9 \x80 \xF6 \x93";
  for (const char* charset : {"latin1", "utf8mb4"}) {
    SCOPED_TRACE(charset);
    int serverCharset = 0;
    ASSERT_EQ(FEngine.GetCharacterSet(FConnection, serverCharset), 0);
    SetCurrentServerCharset(serverCharset);
    Exec(FConnection, "DROP TABLE IF EXISTS val_text");
    Exec(FConnection, Format("CREATE TABLE val_text (s VARCHAR(20)) CHARACTER SET %s", charset));
    String sql = "INSERT INTO val_text VALUES ('" + text + "')";
    bool loss;
    ASSERT_EQ(FEngine.AnsiToNative(sql.data(), sql.data(), int(sql.size()), loss), 0);
    Exec(FConnection, sql);
    std::vector<char> buffer;
    TNativeDataSet* cursor = ReadRow("SELECT s, HEX(CONVERT(s USING utf8mb4)) FROM val_text", buffer);
    ASSERT_TRUE(cursor);
    bool blank;
    String read = FieldText(cursor, 1, buffer, blank);
    ASSERT_EQ(FEngine.NativeToAnsi(read.data(), read.data(), int(read.size()), loss), 0);
    EXPECT_EQ(read, text);
    // The server holds the characters, not the bytes.
    EXPECT_EQ(FieldText(cursor, 2, buffer, blank), "636166C3A920E282AC20C3B620E2809C");
    SetCurrentServerCharset(0);
  }
}
