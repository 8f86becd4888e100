// The client against the real test server (tools/testdb).
#include "ClientTestSupport.h"
#include "uMysqlHelpers.h"
#include "uMysqlNewPassword.h"
#include "umysqlsha1.h"

#include <cstdio>

namespace {

class ClientServer : public TClientOnServer {};

String HexUpper(const uint8_t* bytes, size_t n) {
  String s;
  char buf[3];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    s += buf;
  }
  return s;
}

} // namespace

TEST_F(ClientServer, LogsInWithBothPasswordFormsWithAndWithoutADatabase) {
  struct Case {
    TTestAccount account;
    String database;
  } cases[] = {
      {TestAccount(), ""},
      {TestAccount(), "mysql"},
      {TestOldAccount(), ""},
      {TestOldAccount(), "mysql"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.account.User + " / " + c.database);
    auto client = Connect(c.account, c.database);
    ASSERT_TRUE(client->IsConnected());
    // The server always offers compression, and the client always takes it.
    EXPECT_TRUE(client->GetClientFlags() & CLIENT_COMPRESS);
    EXPECT_TRUE(client->Net().GetCompress());
    EXPECT_FALSE(client->GetClientFlags() & CLIENT_LOCAL_FILES);
    EXPECT_GT(ServerVersionNumber(*client), 100000);
    EXPECT_NE(client->GetThreadId(), 0u);
    auto result = RunSql(*client, "select current_user(), database()");
    ASSERT_TRUE(result);
    EXPECT_EQ(ValueText(*result, 0), c.account.User + "@%");
    EXPECT_EQ(ValueText(*result, 1), c.database.empty() ? "(null)" : c.database);
  }
}

TEST_F(ClientServer, RefusedLoginsKeepTheServersErrors) {
  struct Case {
    String user, password, database;
    int code;
    String text;
  } cases[] = {
      {TestAccount().User, "wrong", "", 1045, "Access denied for user '" + TestAccount().User + "'@'"},
      {TestOldAccount().User, "wrong", "", 1045, "Access denied for user '" + TestOldAccount().User + "'@'"},
      {TestAccount().User, TestAccount().Password, "no_such_db", 1049, "Unknown database 'no_such_db'"},
  };
  for (const auto& c : cases) {
    TMysqlClient client;
    client.Timeout = 10;
    EXPECT_FALSE(client.Connect(FServer.Host, c.user, c.password, c.database, FServer.Port, "", vkTcp, 0));
    EXPECT_EQ(client.ErrorCode(), c.code);
    EXPECT_EQ(client.ErrorText().substr(0, c.text.size()), c.text);
    EXPECT_FALSE(client.IsConnected());
  }
}

TEST_F(ClientServer, PasswordRepliesMatchTheServersStoredHashes) {
  auto client = Connect();
  const String password = TestAccount().Password;
  const String old = TestOldAccount().Password;
  auto result = RunSql(*client, "select password('" + password + "'), old_password('" + old + "')");
  ASSERT_TRUE(result);

  // The server stores SHA1(SHA1(password)) for the 4.1 reply.
  TSha1Context c;
  uint8_t stage1[20], stage2[20];
  sha1Reset(c);
  sha1Input(c, password.data(), password.size());
  sha1Result(c, stage1);
  sha1Reset(c);
  sha1Input(c, stage1, 20);
  sha1Result(c, stage2);
  EXPECT_EQ(ValueText(*result, 0), "*" + HexUpper(stage2, 20));

  const TOldPasswordHash h = HashPasswordOld(old);
  char oldHex[17];
  std::snprintf(oldHex, sizeof oldHex, "%08x%08x", h.Nr, h.Nr2);
  EXPECT_EQ(ValueText(*result, 1), oldHex);
}

TEST_F(ClientServer, OkRepliesCountTheRowsTheyMatched) {
  auto client = Connect();
  RunSql(*client, "create database if not exists client_ok");
  RunSql(*client, "drop table if exists client_ok.t");
  RunSql(*client, "create table client_ok.t (id int auto_increment primary key, v int)");
  RunSql(*client, "insert into client_ok.t (v) values (1), (2), (2)");
  EXPECT_EQ(client->GetAffectedRows(), 3u);
  EXPECT_EQ(client->GetInsertId(), 1u);
  EXPECT_NE(client->GetInfo().find("Records: 3"), String::npos) << client->GetInfo();
  // Rows that already hold the value still count: editing checks for exactly one.
  RunSql(*client, "update client_ok.t set v = 2 where v = 2");
  EXPECT_EQ(client->GetAffectedRows(), 2u);
  RunSql(*client, "drop database client_ok");
}

TEST_F(ClientServer, ServerErrorsKeepNumberAndText) {
  auto client = Connect();
  bool ran = true;
  EXPECT_FALSE(client->Query("selec 1", true, ran));
  EXPECT_FALSE(ran);
  EXPECT_EQ(client->ErrorCode(), 1064);
  EXPECT_NE(client->ErrorText().find("SQL syntax"), String::npos) << client->ErrorText();
  // The connection stays usable.
  EXPECT_EQ(ScalarOf(*client, "select 1"), "1");
  EXPECT_EQ(client->ErrorCode(), 0);
}

TEST_F(ClientServer, ValuesComeBackWhole) {
  auto client = Connect();
  auto result = RunSql(*client, "select null, '', x'00610062', repeat('x', 5 * 1024 * 1024), 'plain'");
  ASSERT_TRUE(result);
  ASSERT_EQ(result->GetRowCount(), 1u);
  result->FetchLengths(true);
  EXPECT_EQ(result->Value(0), nullptr);
  ASSERT_NE(result->Value(1), nullptr);
  EXPECT_EQ(result->Length(1), 0u);
  EXPECT_EQ(String(result->Value(2), result->Length(2)), String("\0a\0b", 4));
  EXPECT_EQ(result->Length(3), 5u * 1024 * 1024);
  EXPECT_EQ(String(result->Value(3), result->Length(3)), String(5 * 1024 * 1024, 'x'));
  EXPECT_EQ(result->Field(3)->MaxLength, 5 * 1024 * 1024);
  EXPECT_EQ(ValueText(*result, 4), "plain");
}

TEST_F(ClientServer, ManyRowsAndSeveralResultsInSequence) {
  auto client = Connect();
  for (int round = 0; round < 3; ++round) {
    auto result =
        RunSql(*client, "select seq, concat('row ', seq), if(seq % 2, null, '') from mysql.seq_1_to_100000");
    ASSERT_TRUE(result);
    ASSERT_EQ(result->GetRowCount(), 100000u);
    EXPECT_EQ(client->GetAffectedRows(), 100000u);
    uint64_t n = 0;
    for (result->First(); !result->GetEof(); result->Next()) {
      ++n;
      ASSERT_EQ(ValueText(*result, 0), std::to_string(n));
      ASSERT_EQ(ValueText(*result, 1), "row " + std::to_string(n));
      ASSERT_EQ(ValueText(*result, 2), n % 2 ? "(null)" : "");
    }
    EXPECT_EQ(n, 100000u);
    EXPECT_EQ(result->Field(0)->Flags & NUM_FLAG, NUM_FLAG);
  }
}

TEST_F(ClientServer, PingAndCommandsOutOfSync) {
  auto client = Connect();
  EXPECT_TRUE(client->Ping());
  bool ran = false;
  auto open = client->Query("select seq from mysql.seq_1_to_10", false, ran);
  ASSERT_TRUE(open);
  EXPECT_EQ(ValueText(*open, 0), "1");
  EXPECT_FALSE(client->Query("select 1", true, ran));
  EXPECT_EQ(client->ErrorCode(), CR_COMMANDS_OUT_OF_SYNC);
  EXPECT_EQ(client->ErrorText(), "Commands out of sync;  You can't run this command now");
  open->Next();
  EXPECT_EQ(ValueText(*open, 0), "2");
  open->Next();
  EXPECT_EQ(ValueText(*open, 0), "3");
  // Freed with 7 rows unread: they are drained and the client is ready again.
  open.reset();
  EXPECT_EQ(client->GetAffectedRows(), 3u);
  EXPECT_EQ(ScalarOf(*client, "select 42"), "42");
}

TEST_F(ClientServer, ReconnectsAfterTheServerClosedTheConnectionWhileItWasIdle) {
  TSteeredClock clock;
  auto client = std::make_unique<TMysqlClient>();
  client->Timeout = 10;
  client->SessionInit = {"set @velmora_session = 'ready'"};
  ASSERT_TRUE(client->Connect(FServer.Host, TestAccount().User, TestAccount().Password, "", FServer.Port, "",
                              vkTcp, 0));
  EXPECT_EQ(ScalarOf(*client, "select 1"), "1");
  auto killer = Connect();
  const uint32_t first = client->GetThreadId();
  RunSql(*killer, "kill " + std::to_string(first));
  clock.Advance(TMysqlClient::IdleBeforePingMs);
  EXPECT_EQ(ScalarOf(*client, "select 1"), "1");
  EXPECT_NE(client->GetThreadId(), first);
  // The owner's session statements ran on the new connection.
  EXPECT_EQ(ScalarOf(*client, "select @velmora_session"), "ready");
}

TEST_F(ClientServer, NoReconnectInsideATransaction) {
  TSteeredClock clock;
  auto client = Connect();
  auto killer = Connect();
  RunSql(*client, "begin");
  EXPECT_TRUE(client->GetServerStatus() & SERVER_STATUS_IN_TRANS);
  RunSql(*killer, "kill " + std::to_string(client->GetThreadId()));
  clock.Advance(TMysqlClient::IdleBeforePingMs);
  bool ran = true;
  EXPECT_FALSE(client->Query("select 1", true, ran));
  EXPECT_FALSE(ran);
  EXPECT_NE(client->ErrorCode(), 0);
  // The caller has learnt that the transaction is gone; the next statement reconnects.
  EXPECT_EQ(ScalarOf(*client, "select 1"), "1");
}

TEST_F(ClientServer, SessionInitRunsAtConnect) {
  TMysqlClient client;
  client.Timeout = 10;
  client.SessionInit = {"set @a = 1", "set @b = @a + 1", "select 'results are read and dropped'"};
  ASSERT_TRUE(client.Connect(FServer.Host, TestAccount().User, TestAccount().Password, "", FServer.Port, "",
                             vkTcp, 0));
  EXPECT_EQ(ScalarOf(client, "select @b"), "2");

  TMysqlClient failing;
  failing.Timeout = 10;
  failing.SessionInit = {"set @a = no_such_function()"};
  EXPECT_FALSE(failing.Connect(FServer.Host, TestAccount().User, TestAccount().Password, "", FServer.Port, "",
                               vkTcp, 0));
  EXPECT_EQ(failing.ErrorCode(), 1305);
  EXPECT_FALSE(failing.IsConnected());
}

TEST_F(ClientServer, SelectDatabaseChangesTheCurrentDatabase) {
  auto client = Connect();
  EXPECT_TRUE(client->SelectDatabase("mysql"));
  EXPECT_EQ(client->GetDatabase(), "mysql");
  EXPECT_EQ(ScalarOf(*client, "select database()"), "mysql");
  EXPECT_FALSE(client->SelectDatabase("no_such_db"));
  EXPECT_EQ(client->ErrorCode(), 1049);
  EXPECT_EQ(client->GetDatabase(), "mysql");
}

TEST_F(ClientServer, StatementTooLongIsRefusedBeforeAByteLeaves) {
  auto client = Connect();
  RunSql(*client, "begin");
  bool ran = true;
  EXPECT_FALSE(client->Query("select '" + String(16 * 1024 * 1024, 'x') + "'", true, ran));
  EXPECT_FALSE(ran);
  EXPECT_EQ(client->ErrorCode(), CR_NET_PACKET_TOO_LARGE);
  // Same connection, transaction still open.
  EXPECT_TRUE(client->GetServerStatus() & SERVER_STATUS_IN_TRANS);
  EXPECT_EQ(ScalarOf(*client, "select @@in_transaction"), "1");
}

TEST_F(ClientServer, CloseKeepsTheTransactionBitForTheNextReconnect) {
  auto client = Connect();
  RunSql(*client, "begin");
  client->Close();
  EXPECT_TRUE(client->GetServerStatus() & SERVER_STATUS_IN_TRANS);
  EXPECT_FALSE(client->TryReconnect());
  EXPECT_FALSE(client->GetServerStatus() & SERVER_STATUS_IN_TRANS);
  EXPECT_TRUE(client->TryReconnect());
  EXPECT_TRUE(client->IsConnected());
}
