// The client against a scripted server: what a real server never sends.
#include "ClientReplies.h"
#include "ClientTestSupport.h"
#include "uMysqlNewPassword.h"

namespace {

using namespace client_replies;

class ClientScripted : public ::testing::Test {
protected:
  // The PING before the first statement of a connection, answered.
  void Ping() { server.ExpectPacket().Send(TScriptedServer::Packet(1, Ok)); }
  bool Connect(const String& user = "u", const String& password = "pw", const String& database = "") {
    return ConnectTo(client, server, true, password, 0, database, user);
  }
  // The login packet as the server read it (header stripped).
  Bytes LoginPacket() const { return server.Received().at(0).substr(4); }

  TSteeredClock clock;
  TScriptedServer server{3000};
  TMysqlClient client;
};

} // namespace

TEST_F(ClientScripted, LoginPacketOfEachPasswordForm) {
  uint8_t reply41[SCRAMBLE41_LENGTH];
  Scramble41(reply41, reinterpret_cast<const uint8_t*>((Scramble1 + Scramble2).data()), "pw");
  struct Case {
    const char* name;
    Bytes greeting;
    String password, database;
    Bytes expected; // after the two flag bytes and the three zero bytes
  } cases[] = {
      {"4.1 reply", Greeting(10, Caps41), "pw", "",
       Z("u") + '\x14' + Bytes(reinterpret_cast<char*>(reply41), 20) + '\0'},
      {"4.1 reply with database", Greeting(10, Caps41), "pw", "db",
       Z("u") + '\x14' + Bytes(reinterpret_cast<char*>(reply41), 20) + Z("db")},
      {"old reply", Greeting(10, CLIENT_CONNECT_WITH_DB), "pw", "",
       Z("u") + Z(ScrambleOld("pw", Scramble1).c_str()) + '\0'},
      {"protocol 9", Greeting9, "pw", "", Z("u") + Z(ScrambleOld("pw", Scramble1).c_str()) + '\0'},
      {"empty password", Greeting(10, Caps41), "", "", Z("u") + '\0' + '\0'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TScriptedServer s(3000);
    ScriptLogin(s, c.greeting);
    TMysqlClient cl;
    // Flags the owner may ask for but the client never sends, and compression
    // the server does not offer.
    const uint32_t asked =
        CLIENT_COMPRESS | CLIENT_LOCAL_FILES | CLIENT_PROTOCOL_41 | CLIENT_SSL | CLIENT_CONNECT_WITH_DB;
    EXPECT_TRUE(ConnectTo(cl, s, true, c.password, asked, c.database)) << cl.ErrorText();
    ASSERT_EQ(s.Wait(), "");
    const Bytes packet = s.Received().at(0);
    EXPECT_EQ(packet[3], '\x01') << "sequence after the greeting";
    const unsigned flags = uint8_t(packet[4]) | uint8_t(packet[5]) << 8;
    EXPECT_EQ(flags & CLIENT_DEFAULT_FLAGS, unsigned(CLIENT_DEFAULT_FLAGS));
    EXPECT_EQ(flags & (CLIENT_LOCAL_FILES | CLIENT_PROTOCOL_41 | CLIENT_SSL | CLIENT_COMPRESS), 0u);
    EXPECT_EQ((flags & CLIENT_CONNECT_WITH_DB) != 0, !c.database.empty());
    EXPECT_FALSE(cl.Net().GetCompress());
    EXPECT_EQ(packet.substr(6, 3), Bytes(3, '\0'));
    EXPECT_EQ(packet.substr(9), c.expected);
  }
}

TEST_F(ClientScripted, NamesAreSentWhole) {
  ScriptLogin(server);
  const String user(40, 'u'), database(70, 'd');
  ASSERT_TRUE(Connect(user, "", database)) << client.ErrorText();
  ASSERT_EQ(server.Wait(), "");
  EXPECT_EQ(LoginPacket().substr(5), Z(user.c_str()) + '\0' + Z(database.c_str()));
}

TEST_F(ClientScripted, ProtocolOtherThan9Or10IsRefused) {
  server.Send(TScriptedServer::Packet(0, Greeting(11, Caps41)));
  EXPECT_FALSE(Connect());
  EXPECT_EQ(client.ErrorCode(), CR_VERSION_ERROR);
  EXPECT_EQ(client.ErrorText(), "Protocol mismatch. Server Version = 11 Client Version = 10");
  EXPECT_FALSE(client.IsConnected());
  server.Wait();
}

TEST_F(ClientScripted, BrokenGreetingsAreHandshakeErrors) {
  const Bytes cases[] = {
      Bytes("\x0a") + "5.0.99 without its terminating zero",
      Bytes("\x0a") + Z("5.0") + Le4(1) + "abc",
  };
  for (const Bytes& greeting : cases) {
    TScriptedServer s(3000);
    s.Send(TScriptedServer::Packet(0, greeting)).Stall(300);
    TMysqlClient cl;
    EXPECT_FALSE(ConnectTo(cl, s, true));
    EXPECT_EQ(cl.ErrorCode(), CR_SERVER_HANDSHAKE_ERR);
    EXPECT_FALSE(cl.IsConnected());
    s.Wait();
  }
}

TEST_F(ClientScripted, OldPasswordRequestGetsTheOldReply) {
  for (const String password : {"pw", ""}) {
    TScriptedServer s(3000);
    s.Send(TScriptedServer::Packet(0, Greeting(10, Caps41)))
        .ExpectPacket()
        .Send(TScriptedServer::Packet(2, "\xfe"))
        .ExpectPacket()
        .Send(TScriptedServer::Packet(4, Ok));
    TMysqlClient cl;
    EXPECT_TRUE(ConnectTo(cl, s, true, password)) << cl.ErrorText();
    ASSERT_EQ(s.Wait(), "");
    const Bytes expected = password.empty() ? Bytes(9, '\0') : ScrambleOld(password, Scramble1) + '\0';
    EXPECT_EQ(s.Received().at(1), TScriptedServer::Packet(3, expected));
  }
}

TEST_F(ClientScripted, OnlyAnOkReplyLogsIn) {
  struct Case {
    const char* name;
    Bytes reply;
    int code;
  } cases[] = {
      {"authentication switch request", Bytes("\xfe") + Z("mysql_clear_password") + "data",
       CR_SERVER_HANDSHAKE_ERR},
      {"unknown reply", "\x01\x02\x03", CR_SERVER_HANDSHAKE_ERR},
      {"server error", Bytes("\xff") + Le2(1251) + "Client does not support authentication protocol", 1251},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TScriptedServer s(3000);
    s.Send(TScriptedServer::Packet(0, Greeting(10, Caps41)))
        .ExpectPacket()
        .Send(TScriptedServer::Packet(2, c.reply));
    TMysqlClient cl;
    EXPECT_FALSE(ConnectTo(cl, s, true));
    EXPECT_EQ(cl.ErrorCode(), c.code);
    if (c.code == 1251) {
      EXPECT_EQ(cl.ErrorText(), "Client does not support authentication protocol");
    }
    EXPECT_FALSE(cl.IsConnected());
    s.Wait();
  }
}

TEST_F(ClientScripted, Protocol9ErrorsCarryNoNumber) {
  server.Send(TScriptedServer::Packet(0, Greeting9))
      .ExpectPacket()
      .Send(TScriptedServer::Packet(2, "\xff"
                                       "Access denied"));
  EXPECT_FALSE(Connect());
  EXPECT_EQ(client.ErrorCode(), CR_UNKNOWN_ERROR);
  EXPECT_EQ(client.ErrorText(), "Access denied");
  server.Wait();
}

TEST_F(ClientScripted, UncompressedLoginAndResult) {
  ScriptLogin(server);
  Ping();
  server.ExpectPacket().Send(ResultOf({{"1", "one"}, {"2", std::nullopt}, {"3", ""}}));
  ASSERT_TRUE(Connect()) << client.ErrorText();
  EXPECT_FALSE(client.GetClientFlags() & CLIENT_COMPRESS);
  auto result = RunSql(client, "select id, name from t");
  ASSERT_EQ(server.Wait(), "");
  EXPECT_EQ(server.Received().at(2), TScriptedServer::Packet(0, "\x03select id, name from t"));
  ASSERT_TRUE(result);
  ASSERT_EQ(result->GetRowCount(), 3u);
  String seen;
  for (; !result->GetEof(); result->Next())
    seen += ValueText(*result, 0) + "=" + ValueText(*result, 1) + ";";
  EXPECT_EQ(seen, "1=one;2=(null);3=;");
  EXPECT_EQ(result->Field(0)->Name, "id");
  EXPECT_EQ(result->Field(1)->MaxLength, 3);
}

TEST_F(ClientScripted, OkPacketsWithAndWithoutStatus) {
  struct Case {
    unsigned caps;
    Bytes ok;
    uint64_t affected, insertId;
    int status;
    String info;
  } cases[] = {
      {Caps41 & ~unsigned(CLIENT_TRANSACTIONS), Bytes("\0\xfc\x10\x27\x05", 5), 10000, 5,
       SERVER_STATUS_AUTOCOMMIT, ""},
      {Caps41 & ~unsigned(CLIENT_TRANSACTIONS), Bytes("\0\x01\x00\x0eRows matched: 1", 19), 1, 0,
       SERVER_STATUS_AUTOCOMMIT, "Rows matched: 1"},
      {Caps41, Bytes("\0\xfe\0\0\0\x01\0\0\0\0\0", 11) + Le2(3), 16777216, 0, 3, ""},
  };
  for (const auto& c : cases) {
    TScriptedServer s(3000);
    ScriptLogin(s, Greeting(10, c.caps));
    s.ExpectPacket().Send(TScriptedServer::Packet(1, c.ok));
    TMysqlClient cl;
    ASSERT_TRUE(ConnectTo(cl, s, false)) << cl.ErrorText();
    bool ran = false;
    EXPECT_FALSE(cl.Query("update t set a = 1", true, ran));
    EXPECT_TRUE(ran) << cl.ErrorText();
    EXPECT_EQ(cl.GetAffectedRows(), c.affected);
    EXPECT_EQ(cl.GetInsertId(), c.insertId);
    EXPECT_EQ(cl.GetServerStatus(), c.status);
    EXPECT_EQ(cl.GetInfo(), c.info);
    s.Wait();
  }
}

TEST_F(ClientScripted, LocalFileRequestIsAnsweredWithNothing) {
  ScriptLogin(server);
  Ping();
  server.ExpectPacket()
      .Send(TScriptedServer::Packet(1, "\xfb/etc/passwd"))
      .ExpectPacket()
      .Send(TScriptedServer::Packet(3, Ok));
  server.ExpectPacket().Send(ResultOf({{"1", "after"}}));
  ASSERT_TRUE(Connect());
  bool ran = true;
  EXPECT_FALSE(client.Query("load data local infile '/etc/passwd' into table t", true, ran));
  EXPECT_FALSE(ran);
  EXPECT_EQ(client.ErrorCode(), CR_UNKNOWN_ERROR);
  EXPECT_NE(client.ErrorText().find("/etc/passwd"), String::npos) << client.ErrorText();
  // The connection stayed in step.
  auto result = RunSql(client, "select 1");
  ASSERT_TRUE(result);
  EXPECT_EQ(ValueText(*result, 1), "after");
  ASSERT_EQ(server.Wait(), "");
  EXPECT_EQ(server.Received().at(3), TScriptedServer::Packet(2, ""));
}

TEST_F(ClientScripted, ConnectionDroppedMidResult) {
  ScriptLogin(server);
  Ping();
  TReply partial;
  partial.P("\x02").P(FieldPacket("id", 3, 11)).P(FieldPacket("name", 253, 20)).P(End).P(Row({"1", "a"}));
  server.ExpectPacket().Send(partial).Close();
  ASSERT_TRUE(Connect());
  bool ran = true;
  EXPECT_FALSE(client.Query("select id, name from t", true, ran));
  EXPECT_EQ(client.ErrorCode(), CR_SERVER_LOST);
  EXPECT_FALSE(client.IsConnected());
  EXPECT_EQ(client.GetStatus(), csReady);
  server.Wait();
}

TEST_F(ClientScripted, RowByRowResultDroppedMidResult) {
  ScriptLogin(server);
  Ping();
  TReply partial;
  partial.P("\x02")
      .P(FieldPacket("id", 3, 11))
      .P(FieldPacket("name", 253, 20))
      .P(End)
      .P(Row({"1", "a"}))
      .P(Row({"2", ""}));
  server.ExpectPacket().Send(partial).Close();
  ASSERT_TRUE(Connect());
  bool ran = false;
  auto result = client.Query("select id, name from t", false, ran);
  ASSERT_TRUE(result);
  EXPECT_EQ(ValueText(*result, 0), "1");
  result->Next();
  result->FetchLengths(true);
  EXPECT_EQ(ValueText(*result, 0), "2");
  ASSERT_NE(result->Value(1), nullptr);
  EXPECT_EQ(result->Length(1), 0u);
  result->Next();
  EXPECT_TRUE(result->GetEof());
  EXPECT_EQ(result->GetFetchState(), -1);
  EXPECT_EQ(client.GetStatus(), csReady);
  EXPECT_EQ(client.ErrorCode(), CR_SERVER_LOST);
  server.Wait();
}

// A connection that answered a moment ago is taken to be there; one not used
// since it was made, or idle for a second, may have been dropped.
TEST_F(ClientScripted, PingGoesOnlyBeforeStatementsOnAConnectionThatMayHaveBeenDropped) {
  const struct {
    int64_t idleMs;
    bool ping;
  } steps[] = {{0, true},
               {0, false},
               {TMysqlClient::IdleBeforePingMs - 1, false},
               {TMysqlClient::IdleBeforePingMs, true},
               {0, false}};
  ScriptLogin(server);
  Bytes expected;
  for (const auto& step : steps) {
    if (step.ping) Ping();
    server.ExpectPacket().Send(TReply().P(Ok));
    expected += step.ping ? "PQ" : "Q";
  }
  ASSERT_TRUE(Connect());
  for (const auto& step : steps) {
    clock.Advance(step.idleMs);
    RunSql(client, "do 1");
  }
  ASSERT_EQ(server.Wait(), "");
  Bytes commands;
  for (size_t i = 1; i < server.Received().size(); ++i)
    commands += server.Received()[i].at(4) == COM_PING ? 'P' : 'Q';
  EXPECT_EQ(commands, expected);
}

TEST_F(ClientScripted, StatementWhoseReplyNeverComesIsNotSentAgain) {
  ScriptLogin(server);
  Ping();
  // The statement arrives, no reply goes back; the client gives up after its
  // time-out and must not come back with the statement on a new connection.
  server.ExpectPacket().Stall(1500).ExpectClosed().Accept();
  ASSERT_TRUE(Connect());
  bool ran = true;
  EXPECT_FALSE(client.Query("update t set n = n + 1", true, ran));
  EXPECT_FALSE(ran);
  EXPECT_EQ(client.ErrorCode(), CR_SERVER_LOST);
  EXPECT_EQ(server.Wait(), "step 9: no connection came");
  EXPECT_EQ(server.Received().size(), 3u);
}

TEST_F(ClientScripted, MalformedRepliesNeverReadPastThePacket) {
  struct Case {
    const char* name;
    Bytes reply;
  } cases[] = {
      {"OK packet cut inside a number", TReply().P(Bytes("\0\xfc\x10", 3))},
      {"OK packet without its status", TReply().P(Bytes("\0\0\0", 3))},
      {"field count cut short", TReply().P("\xfe\x01")},
      {"field name longer than the packet", TReply().P("\x01").P("\x01t\x30name")},
      {"fewer field packets than columns", TReply().P("\x02").P(FieldPacket("id", 3, 11)).P(End)},
      {"value longer than the packet", TReply()
                                           .P("\x01")
                                           .P(FieldPacket("id", 3, 11))
                                           .P(End)
                                           .P("\x0a"
                                              "abc")},
      {"value with a 3-byte length cut short",
       TReply().P("\x01").P(FieldPacket("id", 3, 11)).P(End).P("\xfd\x01")},
      {"row with a column missing", TReply()
                                        .P("\x02")
                                        .P(FieldPacket("a", 3, 1))
                                        .P(FieldPacket("b", 3, 1))
                                        .P(End)
                                        .P("\x01"
                                           "1")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TScriptedServer s(3000);
    ScriptLogin(s);
    s.ExpectPacket().Send(c.reply).Stall(200);
    TMysqlClient cl;
    ASSERT_TRUE(ConnectTo(cl, s, false)) << cl.ErrorText();
    bool ran;
    EXPECT_FALSE(cl.Query("select 1", true, ran));
    EXPECT_EQ(cl.ErrorCode(), CR_SERVER_LOST);
    EXPECT_FALSE(cl.IsConnected());
    s.Wait();
  }
}

TEST_F(ClientScripted, NumericColumnsAreMarked) {
  struct Case {
    uint8_t type;
    unsigned length;
    bool numeric;
  } cases[] = {
      {3, 11, true}, {7, 14, true},    {7, 8, true},        {7, 19, false},
      {13, 4, true}, {253, 20, false}, {252, 65535, false},
  };
  for (const auto& c : cases) {
    TScriptedServer s(3000);
    ScriptLogin(s);
    s.ExpectPacket().Send(TReply().P("\x01").P(FieldPacket("c", c.type, c.length, 0x21)).P(End).P(End));
    TMysqlClient cl;
    ASSERT_TRUE(ConnectTo(cl, s, false));
    auto result = RunSql(cl, "select c from t");
    ASSERT_TRUE(result);
    const TMysqlField* f = result->Field(0);
    EXPECT_EQ(f->Type, c.type);
    EXPECT_EQ(f->Length, int(c.length));
    EXPECT_EQ(f->Flags, 0x21 | (c.numeric ? NUM_FLAG : 0)) << int(c.type) << "/" << c.length;
    s.Wait();
  }
}

TEST_F(ClientScripted, CompressedOnceTheServerOffersIt) {
  ScriptLogin(server, Greeting(10, Caps41 | CLIENT_COMPRESS));
  server.ExpectCompressedFrame().Send(
      TScriptedServer::CompressedFrame(1, TScriptedServer::Packet(0, Ok), false));
  server.ExpectCompressedFrame().Send(
      TScriptedServer::CompressedFrame(1, ResultOf({{"1", Bytes(300, 'x')}}), true));
  ASSERT_TRUE(Connect()) << client.ErrorText();
  EXPECT_TRUE(client.GetClientFlags() & CLIENT_COMPRESS);
  auto result = RunSql(client, "select id, name from t");
  ASSERT_TRUE(result);
  EXPECT_EQ(ValueText(*result, 1), String(300, 'x'));
  ASSERT_EQ(server.Wait(), "");
  EXPECT_EQ(TScriptedServer::FrameBody(server.Received().at(2)),
            TScriptedServer::Packet(0, "\x03select id, name from t"));
}

TEST_F(ClientScripted, ConnectWhileConnectedDoesNothing) {
  ScriptLogin(server);
  ASSERT_TRUE(Connect());
  EXPECT_TRUE(client.Connect("127.0.0.2", "other", "x", "db", 1, "", vkTcp, 0));
  EXPECT_EQ(client.GetHost(), "127.0.0.1");
  EXPECT_EQ(client.GetUser(), "u");
  EXPECT_EQ(server.Wait(), "");
  EXPECT_EQ(server.Received().size(), 1u);
}
