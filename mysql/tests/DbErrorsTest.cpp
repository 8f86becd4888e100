// The components' error messages and the services around the engine.
#include "NativeTestSupport.h"
#include "mySQLCP.h"
#include "mySQLDbTables.h"

namespace {

// An engine whose last failure was `e`.
void Fail(TmySQLEngine& engine, const EmySQLException& e) {
  try {
    throw e;
  } catch (...) {
    engine.TranslateError();
  }
}

} // namespace

TEST(DbErrors, MessagesOfCodesWithoutAServerError) {
  TmySQLEngine engine;
  struct Case {
    uint16_t code;
    String text;
    String message;
  } cases[] = {
      {DBIERR_EOF, "", "DBI Error Code: (8706)\r\n \r\nAt end of table."},
      {DBIERR_INVALIDHNDL, "", "DBI Error Code: (9990)\r\n \r\nInvalid handle to the function."},
      {4242, "", "DBI Error Code: (4242)\r\n \r\nUnknown error"},
      {DBIERR_NOTSUPPORTED, "No SSL", "DBI Error Code: (12289)\r\nNo SSL \r\nCapability not supported."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    Fail(engine, EmySQLException::CreateCode(c.code, c.text));
    const EmySQLDatabaseError error(&engine, c.code);
    EXPECT_EQ(error.Message, c.message);
    EXPECT_EQ(error.GetErrorCode(), c.code);
  }
  // A failure with a text but no error number.
  Fail(engine, EmySQLException::CreateWithText(nullptr, "lost"));
  EXPECT_EQ(EmySQLDatabaseError(&engine, DBIERR_NATIVE).Message,
            "DBI Error Code: (1001)\r\nlost \r\nUnknown error");
  EXPECT_NO_THROW(Check(&engine, 0));
  EXPECT_THROW(Check(&engine, DBIERR_EOF), EmySQLDatabaseError);
  try {
    Check(&engine, DBIERR_EOF);
  } catch (const EDatabaseError& e) {
    EXPECT_FALSE(e.Message.empty());
  }
}

TEST(DbErrors, PropertyServices) {
  TmySQLEngine engine;
  TNativeConnect connection(0);
  TNativeDataSet cursor(&connection, -1, 0, "", "", nullptr);
  EXPECT_EQ(ReadIntProperty(&engine, &cursor, curMAXPROPS), 23);
  EXPECT_EQ(ReadIntProperty(&engine, nullptr, curMAXPROPS), 0);
  EXPECT_TRUE(WriteBoolProperty(&engine, &cursor, curAUTOREFETCH, true));
  EXPECT_EQ(ReadIntProperty(&engine, &cursor, curAUTOREFETCH), 1);
  EXPECT_TRUE(WriteBoolProperty(&engine, &cursor, curUPDATABLE, false));
  EXPECT_EQ(cursor.GetReadOnly(), 1);
  EXPECT_FALSE(WriteBoolProperty(&engine, nullptr, curUPDATABLE, true));
}

TEST(DbErrors, ReencodingBetweenTheSystemAndTheServerCharacterSets) {
  TmySQLEngine engine;
  const int ansi = CharsetOfSystemCodePage();
  ASSERT_EQ(ansi, 16) << "the native build's code page is 1252";
  // Before any connection nothing changes.
  SetCurrentServerCharset(0);
  char out[8] = "xxxxxxx";
  AnsiToNative(&engine, "\xE9\xE9", out, 2);
  EXPECT_EQ(String(out, 2), "\xE9\xE9");
  // Length 0 leaves the destination alone.
  AnsiToNative(&engine, "ab", out, 0);
  EXPECT_EQ(String(out, 2), "\xE9\xE9");

  // KOI8-R on the server: the system's e acute has no place there and
  // stays; a zero byte ends the re-encoding, the rest is only copied.
  SetCurrentServerCharset(43);
  char source[10] = {'a', '\xE9', '\xA0', 'b', 0, '\xA0', 'c', 'd', 'e', 'f'};
  char dest[10];
  AnsiToNative(&engine, source, dest, 10);
  EXPECT_EQ(dest[1], '\xE9');
  EXPECT_EQ(dest[2], '\x9A'); // the no-break space
  EXPECT_EQ(dest[5], '\xA0');
  char back[10];
  NativeToAnsi(&engine, dest, back, 10);
  EXPECT_EQ(std::memcmp(back, source, 10), 0);
  EXPECT_EQ(NativeToAnsiString(&engine, "\x9A"
                                        "x"),
            "\xA0x");
  EXPECT_EQ(NativeToAnsiString(&engine, ""), "");
  SetCurrentServerCharset(0);
}

namespace {

class DbErrorsOnServer : public TNativeOnServer {};

} // namespace

TEST_F(DbErrorsOnServer, ServerAndClientErrorsShowTheirNumberAndText) {
  TNativeConnect* connection = nullptr;
  uint16_t code = FEngine.OpenDatabase(0, Params({TestAccount().User, "wrong"}, ""), connection);
  ASSERT_EQ(code, DBIERR_NATIVE);
  EmySQLDatabaseError server(&FEngine, code);
  EXPECT_EQ(server.GetErrorCode(), DBIERR_NATIVE);
  EXPECT_EQ(server.Message, "mySQL Error Code: (1045)\r\n" + FEngine.GetLastErrorText());
  EXPECT_NE(server.Message.find("Access denied for user"), String::npos);

  // Nothing listens on port 1 of the loopback address.
  TStringList params = Params(TestAccount(), "");
  params.SetValue("Host", "127.0.0.1");
  params.SetValue("Port", "1");
  code = FEngine.OpenDatabase(0, params, connection);
  ASSERT_EQ(code, DBIERR_NATIVE);
  EmySQLDatabaseError client(&FEngine, code);
  EXPECT_EQ(
      client.Message.rfind("mySQL Error Code: (2003)\r\nCan't connect to MySQL server on '127.0.0.1' (", 0),
      0u)
      << client.Message;

  TNativeConnect* open = Open();
  ASSERT_TRUE(open);
  TNativeDataSet* cursor = OpenCursor(open, "SELECT 1 FROM DUAL WHERE 1 = 0");
  ASSERT_TRUE(cursor);
  std::vector<char> buffer = Buffer(cursor);
  FEngine.SetToEnd(cursor);
  code = FEngine.GetNextRecord(cursor, 0, buffer.data(), nullptr);
  EXPECT_EQ(EmySQLDatabaseError(&FEngine, code).Message, "DBI Error Code: (8706)\r\n \r\nAt end of table.");
}
