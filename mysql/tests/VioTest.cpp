#include "NetTestServer.h"
#include "ScriptedServer.h"
#include "uMysqlErrors.h"
#include "uMysqlVio.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A loopback port that nothing listens on: a listener's port, once closed.
int ClosedPort() {
  auto server = std::make_unique<TScriptedServer>();
  return server->Port();
}

TEST(Vio, ConnectsToTheTestServerAndReadsItsGreeting) {
  TTestServerAddress server;
  SKIP_WITHOUT_TEST_SERVER(server);
  TMysqlVio vio;
  ASSERT_EQ(vio.Connect(server.Host, 10, server.Port), 0) << vio.GetErrorText();
  EXPECT_EQ(vio.GetKind(), vkTcp);
  EXPECT_EQ(vio.ErrorCode, 0);
  EXPECT_FALSE(vio.IsBlocking());
  char greeting[64];
  EXPECT_GT(vio.Read(greeting, sizeof greeting), 4);

  // A second connect is refused and leaves the connection as it was.
  EXPECT_EQ(vio.Connect(server.Host, 10, server.Port), -20);
  EXPECT_EQ(vio.GetKind(), vkTcp);

  EXPECT_EQ(vio.Close(), 0);
  EXPECT_EQ(vio.GetKind(), vkNone);
  EXPECT_EQ(vio.Close(), 0);
  EXPECT_EQ(vio.Read(greeting, sizeof greeting), -1);
  EXPECT_EQ(vio.Write(greeting, 1), -1);
  EXPECT_EQ(vio.SetBlocking(true), -1);
}

TEST(Vio, RefusedConnectIsSeenAtOnceWithItsText) {
  struct Case {
    const char* host;
    const char* shownAs;
  };
  // An empty host stands for localhost.
  for (const Case& c : {Case{"127.0.0.1", "127.0.0.1"}, Case{"", "localhost"}}) {
    SCOPED_TRACE(c.shownAs);
    const int port = ClosedPort();
    TMysqlVio vio;
    // -6 (refused), not -7 (no greeting within the time-out).
    EXPECT_EQ(vio.Connect(c.host, 20, port), -6);
    EXPECT_EQ(vio.ErrorCode, CR_CONN_HOST_ERROR);
    EXPECT_EQ(vio.GetErrorText(), String("Can't connect to MySQL server on '") + c.shownAs + "' (10061)");
    EXPECT_EQ(vio.GetKind(), vkNone);
  }
}

TEST(Vio, ListenerThatNeverSpeaksFailsAfterTheTimeOut) {
  TScriptedServer server;
  server.Stall(1500);
  server.Start();
  TMysqlVio vio;
  EXPECT_EQ(vio.Connect("127.0.0.1", 1, server.Port()), -7);
  EXPECT_EQ(vio.ErrorCode, CR_CONN_HOST_ERROR);
  EXPECT_TRUE(vio.GetErrorText().starts_with("Can't connect to MySQL server on '127.0.0.1' ("));
  EXPECT_EQ(vio.GetKind(), vkNone);
  EXPECT_EQ(server.Wait(), "");
}

TEST(Vio, SilenceInTheMiddleOfAReplyEndsTheReadAfterTheTimeOut) {
  TScriptedServer server;
  server.Send("x").Stall(1500);
  server.Start();
  TMysqlVio vio;
  ASSERT_EQ(vio.Connect("127.0.0.1", 1, server.Port()), 0) << vio.GetErrorText();
  char buffer[8];
  EXPECT_EQ(vio.Read(buffer, sizeof buffer), 1);
  EXPECT_EQ(vio.Read(buffer, sizeof buffer), -1);
  // A wait that ran out is not one to retry.
  EXPECT_FALSE(vio.ShouldRetry());
  EXPECT_EQ(server.Wait(), "");
}

TEST(Vio, ReadsZeroWhenTheServerCloses) {
  TScriptedServer server;
  server.Send("hello").Close();
  server.Start();
  TMysqlVio vio;
  ASSERT_EQ(vio.Connect("127.0.0.1", 5, server.Port()), 0) << vio.GetErrorText();
  EXPECT_EQ(server.Wait(), "");
  char buffer[16];
  int got = 0;
  while (got < 5) {
    const int n = vio.Read(buffer + got, sizeof buffer - got);
    ASSERT_GT(n, 0);
    got += n;
  }
  EXPECT_EQ(String(buffer, 5), "hello");
  EXPECT_EQ(vio.Read(buffer, sizeof buffer), 0);
}

TEST(Vio, WritesReachTheServer) {
  TScriptedServer server;
  server.Send("!").Expect(6);
  server.Start();
  TMysqlVio vio;
  ASSERT_EQ(vio.Connect("127.0.0.1", 5, server.Port()), 0) << vio.GetErrorText();
  EXPECT_EQ(vio.Write("abcdef", 6), 6);
  // The packet layer switches to blocking for a retry and back again.
  EXPECT_EQ(vio.SetBlocking(true), 0);
  EXPECT_TRUE(vio.IsBlocking());
  EXPECT_EQ(vio.SetBlocking(true), 0);
  EXPECT_EQ(vio.SetBlocking(false), 0);
  EXPECT_FALSE(vio.IsBlocking());
  ASSERT_EQ(server.Wait(), "");
  EXPECT_EQ(server.Received().at(0), "abcdef");
}

TEST(Vio, ErrorTextIsCutTo200Characters) {
  TMysqlVio vio;
  vio.SetErrorText(String(300, 'e'));
  EXPECT_EQ(vio.GetErrorText(), String(200, 'e'));
}

TEST(ClientErrors, TextsAreStoredWithTheirArgumentsFilledIn) {
  const String host70(70, 'h');
  struct Case {
    String text, expected;
  };
  const Case cases[] = {
      {ClientErrorText(CR_UNKNOWN_ERROR), "Unknown MySQL error"},
      {ClientErrorText(CR_CONN_HOST_ERROR, "db.example", 10061),
       "Can't connect to MySQL server on 'db.example' (10061)"},
      {ClientErrorText(CR_CONN_HOST_ERROR, host70, 10060),
       "Can't connect to MySQL server on '" + String(64, 'h') + "' (10060)"},
      {ClientErrorText(CR_IPSOCK_ERROR, 10024), "Can't create TCP/IP socket (10024)"},
      {ClientErrorText(CR_UNKNOWN_HOST, host70, 11001),
       "Unknown MySQL Server Host '" + String(64, 'h') + "' (11001)"},
      {ClientErrorText(CR_VERSION_ERROR, 11, 10),
       "Protocol mismatch. Server Version = 11 Client Version = 10"},
      {ClientErrorText(CR_SERVER_LOST), "Lost connection to MySQL server during query"},
      {ClientErrorText(CR_COMMANDS_OUT_OF_SYNC), "Commands out of sync;  You can't run this command now"},
      {ClientErrorText(CR_NAMEDPIPEWAIT_ERROR, "h", String(40, 'p'), 4294967295u),
       "Can't wait for named pipe to host: h  pipe: " + String(32, 'p') + " (4294967295)"},
      {ClientErrorText(CR_NET_PACKET_TOO_LARGE), "Got packet bigger than 'max_allowed_packet'"},
      {ClientErrorFormat(1999), ""},
      {ClientErrorFormat(2021), ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.text, c.expected);
}

} // namespace
