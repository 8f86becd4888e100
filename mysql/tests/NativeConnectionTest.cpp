// The native connection: parameters, session set-up, statements and
// transactions, against the test server.
#include "ClientReplies.h"
#include "NativeTestSupport.h"
#include "mySQLCP.h"
#include "uMysqlErrors.h"
#include "uMysqlHelpers.h"

namespace {

class NativeConnection : public TNativeOnServer {
protected:
  String Scalar(TNativeConnect* connection, const String& sql) {
    bool ran = false;
    auto result = connection->Query(sql, true, ran);
    EXPECT_TRUE(ran) << sql << ": " << connection->ErrorText();
    if (!result || result->GetEof()) return "(no row)";
    const char* v = result->Value(0);
    return v ? v : "(null)";
  }

  // Ends the session of `victim` from another connection, as a server
  // restart or an administrator would.
  void Kill(TNativeConnect* victim) {
    TNativeConnect* killer = Open();
    Exec(killer, "KILL " + UIntToStr(victim->GetClient()->GetThreadId()));
  }
};

} // namespace

TEST(NativeParams, ReadsTheParameterListWithDefaults) {
  struct Case {
    const char* lines;
    String host;
    int port, timeout;
  } cases[] = {
      {"UID=u\nPWD=p\nDatabaseName=d\nPort=3307\nHost=h\nTIMEOUT=5", "h", 3307, 5},
      {"Port=3306\nHost=\nTIMEOUT=", "localhost", 3306, 30},
      {"Port=0", "localhost", 0, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    TStringList params;
    params.SetText(c.lines);
    TNativeConnect connection(0);
    connection.ReadParams(params);
    EXPECT_EQ(connection.GetHost(), c.host);
    EXPECT_EQ(connection.GetPort(), c.port);
    EXPECT_EQ(connection.GetTimeout(), c.timeout);
  }
}

TEST(NativeParams, ABadPortOrTimeOutNamesTheParameter) {
  struct Case {
    const char* lines;
    const char* name;
  } cases[] = {
      {"Port=abc", "Port"},
      {"Port=70000", "Port"},
      {"", "Port"},
      {"Port=3306\nTIMEOUT=soon", "TIMEOUT"},
      {"Port=3306\nTIMEOUT=-1", "TIMEOUT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    TStringList params;
    params.SetText(c.lines);
    TNativeConnect connection(0);
    try {
      connection.ReadParams(params);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message.find(String("parameter ") + c.name), String::npos) << e.Message;
    }
  }
}

TEST(NativeParams, ConnectOptionsMapToClientFlagsByName) {
  EXPECT_EQ(ConnectOptionsToClientFlags(0), 0u);
  EXPECT_EQ(ConnectOptionsToClientFlags(ConnectOptionBit(coInteractive)), 0x0400u);
  EXPECT_EQ(ConnectOptionsToClientFlags(ConnectOptionBit(coIgnoreSpaces)), 0x0100u);
  EXPECT_EQ(ConnectOptionsToClientFlags(ConnectOptionBit(coLocalFiles)), 0u);
  EXPECT_EQ(ConnectOptionsToClientFlags(ConnectOptionBit(coCompress) | ConnectOptionBit(coFoundRows)),
            0x0022u);
  // Every option but SSL together never asks for the 4.1 protocol bit.
  const TConnectOptions all = TConnectOptions(ConnectOptionBit(coSSL) - 1);
  EXPECT_EQ(ConnectOptionsToClientFlags(all) & CLIENT_PROTOCOL_41, 0u);
  try {
    ConnectOptionsToClientFlags(ConnectOptionBit(coSSL));
    ADD_FAILURE() << "SSL accepted";
  } catch (const EmySQLException& e) {
    EXPECT_TRUE(e.HasDBICode);
    EXPECT_EQ(uint16_t(e.DBICode), DBIERR_NOTSUPPORTED);
    EXPECT_NE(e.ErrorText.find("SSL"), String::npos);
  }
}

TEST(NativeParams, SessionCharsetFollowsTheCodePage) {
  struct Case {
    unsigned codePage;
    String name;
    int number;
  } cases[] = {
      {1252, "latin1", 16}, {1250, "cp1250", 14}, {1251, "cp1251", 15}, {1253, "greek", 11},
      {1254, "latin5", 13}, {1255, "hebrew", 12}, {1256, "cp1256", 20}, {1257, "cp1257", 21},
      {1258, "", 0},        {932, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.codePage);
    const TSessionCharset charset = SessionCharsetOfCodePage(c.codePage);
    EXPECT_EQ(charset.Name, c.name);
    EXPECT_EQ(charset.Number, c.number);
    const std::vector<String> statements = SessionInitStatements(c.codePage);
    ASSERT_EQ(statements.size(), c.name.empty() ? 1u : 2u);
    if (!c.name.empty()) {
      EXPECT_EQ(statements[0], "SET NAMES " + c.name);
    }
  }
}

TEST_F(NativeConnection, ConnectsSetsUpTheSessionAndRunsStatements) {
  TNativeConnect* connection = Open();
  ASSERT_TRUE(connection);
  EXPECT_TRUE(connection->GetConnected());
  EXPECT_GT(GetServerVersionNumber(), 40100);
  int charset = -1;
  ASSERT_EQ(FEngine.GetCharacterSet(connection, charset), 0);
  EXPECT_EQ(charset, SessionCharsetOfCodePage(SystemCodePage()).Number);
  EXPECT_EQ(Scalar(connection, "SELECT @@character_set_client"), "latin1");
  EXPECT_EQ(Scalar(connection, "SELECT @@sql_quote_show_create"), "1");

  Exec(connection, "DROP TABLE IF EXISTS conn_rows");
  Exec(connection, "CREATE TABLE conn_rows (a INT)");
  int affected = -1;
  ASSERT_EQ(
      FEngine.ExecuteDirect(connection, 2, "INSERT INTO conn_rows VALUES (1), (2), (3)", false, affected), 0);
  EXPECT_EQ(affected, 3);
  EXPECT_EQ(FEngine.ExecuteDirect(connection, 2, "INSERT INTO no_such_table VALUES (1)", false, affected),
            DBIERR_NATIVE);
  EXPECT_EQ(FEngine.GetLastNativeError(), 1146);
  EXPECT_NE(FEngine.GetLastErrorText().find("no_such_table"), String::npos);
}

TEST_F(NativeConnection, SessionDialectModesAreRemovedAfterConnectAndReconnect) {
  TNativeConnect* admin = Open();
  ASSERT_TRUE(admin);
  const String saved = Scalar(admin, "SELECT @@GLOBAL.sql_mode");
  Exec(admin, "SET GLOBAL sql_mode = 'ANSI,NO_BACKSLASH_ESCAPES,STRICT_TRANS_TABLES,NO_TABLE_OPTIONS'");
  TNativeConnect* connection = Open();
  Exec(admin, "SET GLOBAL sql_mode = '" + saved + "'");
  ASSERT_TRUE(connection);
  const String expected = "REAL_AS_FLOAT,PIPES_AS_CONCAT,IGNORE_SPACE,STRICT_TRANS_TABLES";
  EXPECT_EQ(Scalar(connection, "SELECT @@SESSION.sql_mode"), expected);
  // A lost session comes back set up the same way.
  Exec(connection, "SET SESSION sql_mode = 'ANSI_QUOTES'");
  Kill(connection);
  int affected = 0;
  FEngine.ExecuteDirect(connection, 2, "DO 1", false, affected);
  EXPECT_EQ(Scalar(connection, "SELECT @@SESSION.sql_mode"), Scalar(admin, "SELECT @@SESSION.sql_mode"));
  EXPECT_EQ(Scalar(connection, "SELECT @@sql_quote_show_create"), "1");
}

TEST_F(NativeConnection, WrongPasswordGivesTheServersError) {
  TNativeConnect* connection = nullptr;
  const uint16_t code = FEngine.OpenDatabase(0, Params({TestAccount().User, "wrong"}, ""), connection);
  EXPECT_EQ(code, DBIERR_NATIVE);
  EXPECT_EQ(connection, nullptr);
  EXPECT_EQ(FEngine.GetLastNativeError(), 1045);
  EXPECT_NE(FEngine.GetLastErrorText().find("Access denied"), String::npos);
}

TEST_F(NativeConnection, CommitAndRollback) {
  TNativeConnect* connection = Open();
  ASSERT_TRUE(connection);
  Exec(connection, "DROP TABLE IF EXISTS conn_trans");
  Exec(connection, "CREATE TABLE conn_trans (a INT) ENGINE=InnoDB");
  struct Case {
    int mode;
    const char* count;
  } cases[] = {{0, "1"}, {2, "0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    Exec(connection, "DELETE FROM conn_trans");
    TNativeConnect* handle = nullptr;
    ASSERT_EQ(FEngine.BeginTransaction(connection, 1, handle), 0);
    EXPECT_EQ(handle, connection);
    TTransInfo info;
    ASSERT_EQ(FEngine.GetTransactionInfo(connection, nullptr, info), 0);
    EXPECT_EQ(info.State, 1);
    EXPECT_EQ(info.IsolationLevel, 1);
    // A second start sends nothing and leaves the handle alone.
    TNativeConnect* second = nullptr;
    ASSERT_EQ(FEngine.BeginTransaction(connection, 2, second), 0);
    EXPECT_EQ(second, nullptr);
    Exec(connection, "INSERT INTO conn_trans VALUES (1)");
    ASSERT_EQ(FEngine.EndTransaction(connection, nullptr, c.mode), 0);
    ASSERT_EQ(FEngine.GetTransactionInfo(connection, nullptr, info), 0);
    EXPECT_EQ(info.State, 0);
    EXPECT_EQ(Scalar(Open(), "SELECT COUNT(*) FROM conn_trans"), c.count);
  }
}

TEST_F(NativeConnection, ACommitOnALostSessionFailsAndNothingIsCommitted) {
  TNativeConnect* connection = Open();
  ASSERT_TRUE(connection);
  Exec(connection, "DROP TABLE IF EXISTS conn_lost");
  Exec(connection, "CREATE TABLE conn_lost (a INT) ENGINE=InnoDB");
  TNativeConnect* handle = nullptr;
  ASSERT_EQ(FEngine.BeginTransaction(connection, 1, handle), 0);
  Exec(connection, "INSERT INTO conn_lost VALUES (1)");
  Kill(connection);
  EXPECT_EQ(FEngine.EndTransaction(connection, nullptr, 0), DBIERR_NATIVE);
  const int error = FEngine.GetLastNativeError();
  EXPECT_TRUE(error == CR_SERVER_LOST || error == CR_SERVER_GONE_ERROR || error == 1927) << error;
  TTransInfo info;
  ASSERT_EQ(FEngine.GetTransactionInfo(connection, nullptr, info), 0);
  EXPECT_EQ(info.State, 0);
  EXPECT_EQ(Scalar(Open(), "SELECT COUNT(*) FROM conn_lost"), "0");
  // Outside the transaction the connection comes back by itself.
  int affected = 0;
  EXPECT_EQ(FEngine.ExecuteDirect(connection, 2, "INSERT INTO conn_lost VALUES (2)", false, affected), 0);
  EXPECT_EQ(Scalar(Open(), "SELECT COUNT(*) FROM conn_lost"), "1");
}

TEST_F(NativeConnection, AStatementOnALostSessionInsideATransactionIsNeverRunInAutocommit) {
  TNativeConnect* connection = Open();
  ASSERT_TRUE(connection);
  Exec(connection, "DROP TABLE IF EXISTS conn_lost2");
  Exec(connection, "CREATE TABLE conn_lost2 (a INT) ENGINE=InnoDB");
  TNativeConnect* handle = nullptr;
  ASSERT_EQ(FEngine.BeginTransaction(connection, 1, handle), 0);
  Kill(connection);
  int affected = 0;
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(FEngine.ExecuteDirect(connection, 2, "INSERT INTO conn_lost2 VALUES (1)", false, affected),
              DBIERR_NATIVE);
  EXPECT_EQ(FEngine.EndTransaction(connection, nullptr, 2), DBIERR_NATIVE);
  EXPECT_EQ(Scalar(Open(), "SELECT COUNT(*) FROM conn_lost2"), "0");
}

TEST_F(NativeConnection, ABeginThatFailsIsReported) {
  TNativeConnect* connection = Open();
  ASSERT_TRUE(connection);
  Kill(connection);
  connection->GetClient()->ReconnectAllowed = false;
  TNativeConnect* handle = nullptr;
  EXPECT_EQ(FEngine.BeginTransaction(connection, 1, handle), DBIERR_NATIVE);
  EXPECT_EQ(handle, nullptr);
  TTransInfo info;
  FEngine.GetTransactionInfo(connection, nullptr, info);
  EXPECT_EQ(info.State, 0);
}

// Servers before 4.1 keep their session as it is and name their character
// set in the "character_set" variable.
TEST(NativeOldServer, CharacterSetComesFromTheServersVariables) {
  using namespace client_replies;
  const Bytes greeting = Bytes("\x0a") + Z("4.0.27-log") + Le4(77) + Scramble1 + '\0' +
                         Le2(CLIENT_TRANSACTIONS | CLIENT_LONG_FLAG | CLIENT_CONNECT_WITH_DB) + '\x08' +
                         Le2(SERVER_STATUS_AUTOCOMMIT) + Bytes(13, '\0');
  TScriptedServer server;
  ScriptLogin(server, greeting);
  server.ExpectPacket().Send(TScriptedServer::Packet(1, Ok));
  server.ExpectPacket().Send(ResultOf({{"Variable_name", 253, 64}, {"Value", 253, 64}},
                                      {{"back_log", "50"}, {"character_set", "cp1251"}, {"language", "x"}}));
  server.Start();
  TStringList params;
  params.SetText("Host=127.0.0.1\nPort=" + IntToStr(server.Port()) + "\nTIMEOUT=5\nUID=u");
  TNativeConnect connection(0);
  connection.ReadParams(params);
  connection.Connect();
  EXPECT_EQ(GetServerVersionNumber(), 40027);
  EXPECT_EQ(connection.GetCharacterSet(), 15);
  EXPECT_EQ(server.Wait(), "");
  ASSERT_EQ(server.Received().size(), 3u);
  // Straight after the login: the PING before SHOW VARIABLES, no SET.
  EXPECT_EQ(server.Received()[1].substr(4), "\x0e");
  EXPECT_EQ(server.Received()[2].substr(4), "\x03SHOW VARIABLES");
}
