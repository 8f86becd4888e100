#include "NetTestServer.h"
#include "ScriptedServer.h"
#include "uMysqlNet.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Bytes = TScriptedServer::Bytes;

const Bytes Greeting = TScriptedServer::Packet(0, "\x0a"
                                                  "5.0.0-scripted");

Bytes Repeat(char c, size_t n) {
  return Bytes(n, c);
}

// Bytes that do not deflate.
Bytes Noise(size_t n) {
  std::mt19937 random(7);
  Bytes out(n, '\0');
  for (char& c : out)
    c = static_cast<char>(random());
  return out;
}

Bytes Pattern(size_t n) {
  Bytes out(n, '\0');
  for (size_t i = 0; i < n; ++i)
    out[i] = static_cast<char>('a' + i % 23);
  return out;
}

// A connection to a scripted server whose script starts with the greeting;
// the greeting has been read when the fixture is ready.
class NetTest : public ::testing::Test {
protected:
  void Connect(int timeout = 5) {
    server.Start();
    ASSERT_EQ(net.Open("127.0.0.1", timeout, server.Port()), 0) << net.ErrorText();
    ASSERT_EQ(net.SafeRead(), static_cast<int>(Greeting.size() - 4)) << net.ErrorText();
  }
  String Payload(int length) const { return String(reinterpret_cast<const char*>(net.ReadPos()), length); }
  // Reads the next packet and returns its payload, or "<error>" with the text.
  String Next() {
    const int length = net.SafeRead();
    if (length < 0) return "<" + net.ErrorText() + ">";
    EXPECT_EQ(net.ReadPos()[length], 0) << "payload not terminated";
    return Payload(length);
  }
  void TearDown() override { EXPECT_EQ(server.Wait(), ""); }

  TScriptedServer server;
  TMysqlNet net;
};

const String LostText = "<Lost connection to MySQL server during query>";

// A reply that must end the read with a client error and close the
// connection; expected is the error text in angle brackets.
void ExpectLostReply(const Bytes& reply, bool compressed, const String& expected) {
  TScriptedServer server;
  server.Send(Greeting).Send(reply).Close();
  server.Start();
  TMysqlNet net;
  ASSERT_EQ(net.Open("127.0.0.1", 5, server.Port()), 0);
  ASSERT_GT(net.SafeRead(), 0);
  net.SetCompress(compressed);
  EXPECT_EQ(net.SafeRead(), -1);
  EXPECT_EQ("<" + net.ErrorText() + ">", expected);
  EXPECT_EQ(net.ErrorCode(), expected == LostText ? CR_SERVER_LOST : CR_NET_PACKET_TOO_LARGE);
  EXPECT_FALSE(net.IsOpen());
  EXPECT_EQ(net.SafeRead(), -1) << "a connection given up yields nothing more";
  EXPECT_EQ(server.Wait(), "");
}

// Ways the same packets can arrive: split anywhere, joined in one read.
TEST_F(NetTest, PacketsArriveWholeWhateverTheReadsAre) {
  const Bytes first = TScriptedServer::Packet(1, "first packet");
  const Bytes second = TScriptedServer::Packet(2, Pattern(300));
  server.Send(Greeting)
      .Send(first.substr(0, 2))
      .Stall(30)
      .Send(first.substr(2, 5))
      .Stall(30)
      .Send(first.substr(7) + second.substr(0, 100))
      .Stall(30)
      .Send(second.substr(100) + TScriptedServer::Packet(3, "a") + TScriptedServer::Packet(4, "bc"))
      .ExpectClosed();
  Connect();
  EXPECT_EQ(Next(), "first packet");
  EXPECT_EQ(Next(), Pattern(300));
  EXPECT_EQ(Next(), "a");
  EXPECT_EQ(Next(), "bc");
  net.Close();
}

TEST_F(NetTest, SequenceNumbersWrapFrom255To0) {
  Bytes all;
  for (int i = 1; i <= 300; ++i)
    all += TScriptedServer::Packet(static_cast<uint8_t>(i), "p" + std::to_string(i));
  server.Send(Greeting).Send(all).ExpectClosed();
  Connect();
  for (int i = 1; i <= 300; ++i)
    ASSERT_EQ(Next(), "p" + std::to_string(i));
  net.Close();
}

TEST(Net, FaultyRepliesAreALostConnection) {
  struct Case {
    const char* name;
    Bytes reply;
    String expected;
  };
  const Case cases[] = {
      {"wrong sequence number", TScriptedServer::Packet(5, "late"), LostText},
      {"empty packet", TScriptedServer::Packet(1, "") + TScriptedServer::Packet(2, "after"), LostText},
      {"truncated header", Bytes("\x10\0", 2), LostText},
      {"truncated payload", TScriptedServer::Packet(1, Bytes(100, 'x')).substr(0, 40), LostText},
      {"frame beyond the buffer limit", Bytes("\xff\xff\xff\x01", 4) + Bytes(100, 'x'),
       "<Got packet bigger than 'max_allowed_packet'>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectLostReply(c.reply, false, c.expected);
  }
}

TEST_F(NetTest, ReplyThatNeverComesIsLostAfterTheTimeOut) {
  server.Send(Greeting).Stall(1500);
  Connect(1);
  EXPECT_EQ(Next(), LostText);
  EXPECT_EQ(net.ErrorCode(), CR_SERVER_LOST);
}

TEST_F(NetTest, ErrorPacketsOfBothProtocolVersions) {
  struct Case {
    int protocol;
    Bytes payload;
    int code;
    String text;
  };
  const Case cases[] = {
      {10, Bytes("\xff\x28\x04", 3) + "You have an error in your SQL syntax", 1064,
       "You have an error in your SQL syntax"},
      {10, Bytes("\xff\x15\x04", 3) + "#28000Access denied", 1045, "#28000Access denied"},
      {10, Bytes("\xff\x28\x04", 3) + Repeat('m', 250), 1064, Repeat('m', 199)},
      {10, Bytes("\xff\x28", 2), CR_UNKNOWN_ERROR, "Unknown MySQL error"},
      {10, Bytes("\xff\x28\x04", 3), CR_UNKNOWN_ERROR, "Unknown MySQL error"},
      {9, Bytes("\xff", 1) + "Old server says no", CR_UNKNOWN_ERROR, "Old server says no"},
      {9, Bytes("\xff\x01", 2), CR_UNKNOWN_ERROR, "Unknown MySQL error"},
  };
  Bytes replies;
  uint8_t sequence = 1;
  for (const Case& c : cases)
    replies += TScriptedServer::Packet(sequence++, c.payload);
  server.Send(Greeting).Send(replies + TScriptedServer::Packet(sequence, "ok")).ExpectClosed();
  Connect();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    net.ProtocolVersion = c.protocol;
    EXPECT_EQ(net.SafeRead(), -1);
    EXPECT_EQ(net.ErrorCode(), c.code);
    EXPECT_EQ(net.ErrorText(), c.text);
  }
  // An error packet leaves the connection open and in step.
  EXPECT_TRUE(net.IsOpen());
  EXPECT_EQ(Next(), "ok");
  net.Close();
}

TEST_F(NetTest, PacketsBeyondTheBufferGrowIt) {
  const Bytes big = Pattern(100000);
  server.Send(Greeting)
      .Send(TScriptedServer::Packet(1, big) + TScriptedServer::Packet(2, "after"))
      .ExpectClosed();
  Connect();
  EXPECT_EQ(net.GetCapacity(), TMysqlNet::InitialBufferSize);
  EXPECT_EQ(Next(), big);
  EXPECT_EQ(net.GetCapacity(), 102400);
  EXPECT_EQ(Next(), "after");
  // Only a compressed connection gives its buffer back.
  EXPECT_TRUE(net.Shrink());
  EXPECT_EQ(net.GetCapacity(), 102400);
  net.Close();
}

TEST_F(NetTest, PacketsAreFramedWithSequenceNumbers) {
  server.Send(Greeting).ExpectPacket().ExpectPacket().ExpectPacket().ExpectPacket();
  Connect();
  EXPECT_EQ(net.WritePacket("user", 4), 0);
  EXPECT_EQ(net.WritePacket("", 0), 0);
  EXPECT_EQ(net.Flush(), 0);
  net.ResetSequence();
  EXPECT_EQ(net.WriteCommand(3, "select 1", 8), 0);
  EXPECT_EQ(net.WriteCommand(14, nullptr, 0), 0);
  ASSERT_EQ(server.Wait(), "");
  const auto& got = server.Received();
  EXPECT_EQ(got.at(0), Bytes("\x04\0\0\x01user", 8));
  EXPECT_EQ(got.at(1), Bytes("\0\0\0\x02", 4));
  EXPECT_EQ(got.at(2), Bytes("\x09\0\0\0\x03select 1", 13));
  EXPECT_EQ(got.at(3), Bytes("\x01\0\0\x01\x0e", 5));
}

TEST_F(NetTest, WrittenSequenceNumbersWrapFrom255To0) {
  server.Send(Greeting).Expect(300 * 5);
  Connect();
  net.ResetSequence();
  for (int i = 0; i < 300; ++i)
    ASSERT_EQ(net.WritePacket("p", 1), 0);
  EXPECT_EQ(net.Flush(), 0);
  ASSERT_EQ(server.Wait(), "");
  const Bytes& got = server.Received().at(0);
  for (int i = 0; i < 300; ++i)
    ASSERT_EQ(got.substr(i * 5, 5), TScriptedServer::Packet(static_cast<uint8_t>(i), "p")) << i;
}

TEST_F(NetTest, PacketsLargerThanTheBufferLeaveInFullBuffers) {
  const Bytes big = Pattern(20000);
  server.Send(Greeting).ExpectPacket().ExpectPacket();
  Connect();
  EXPECT_EQ(net.WritePacket(big.data(), big.size()), 0);
  EXPECT_EQ(net.WritePacket("tail", 4), 0);
  EXPECT_EQ(net.Flush(), 0);
  ASSERT_EQ(server.Wait(), "");
  EXPECT_EQ(server.Received().at(0), TScriptedServer::Packet(1, big));
  EXPECT_EQ(server.Received().at(1), TScriptedServer::Packet(2, "tail"));
}

// A server slow to read fills the socket buffers: the write waits for room
// in blocking mode and the socket is non-blocking again afterwards.
TEST_F(NetTest, WritesWaitForAServerSlowToRead) {
  const Bytes big = Noise(6 * 1024 * 1024);
  server.Send(Greeting).Stall(300).ExpectPacket();
  Connect();
  EXPECT_EQ(net.WritePacket(big.data(), big.size()), 0);
  EXPECT_EQ(net.Flush(), 0);
  EXPECT_FALSE(net.Vio().IsBlocking());
  ASSERT_EQ(server.Wait(), "");
  EXPECT_TRUE(server.Received().at(0) == TScriptedServer::Packet(1, big));
}

TEST_F(NetTest, PacketTooLongToWriteIsRefused) {
  server.Send(Greeting).ExpectClosed();
  Connect();
  // The payload is never read: the length alone refuses it.
  const char byte = 0;
  EXPECT_EQ(net.WritePacket(&byte, TMysqlNet::MaxPacketLength), 1);
  EXPECT_EQ(net.ErrorCode(), PACKET_TOO_LARGE);
  EXPECT_EQ(net.WriteCommand(3, &byte, TMysqlNet::MaxPacketLength), 1);
  EXPECT_EQ(net.Flush(), 0);
  net.Close();
  EXPECT_EQ(net.Flush(), 0);
}

// A compressed frame as sent: C, sequence, U.
struct FrameHeader {
  size_t length, unpacked;
  int sequence;
};
FrameHeader ParseFrameHeader(const Bytes& frame) {
  auto b = [&](size_t i) { return static_cast<size_t>(static_cast<uint8_t>(frame.at(i))); };
  return {b(0) | b(1) << 8 | b(2) << 16, b(4) | b(5) << 8 | b(6) << 16, static_cast<int>(b(3))};
}

TEST(NetCompressed, FramesAreStoredUnlessDeflatingSavesSpace) {
  struct Case {
    const char* name;
    Bytes payload; // written as one packet: its 4 header bytes go into the frame too
    bool deflated;
  };
  const Case cases[] = {
      {"49 bytes", Repeat('a', 45), false},
      {"50 bytes", Repeat('a', 46), true},
      {"bytes that do not deflate", Noise(200), false},
      {"larger than the buffer", Pattern(30000), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t frames =
        (c.payload.size() + 4 + TMysqlNet::InitialBufferSize - 1) / TMysqlNet::InitialBufferSize;
    TScriptedServer server;
    server.Send(Greeting);
    for (size_t i = 0; i < frames; ++i)
      server.ExpectCompressedFrame();
    server.Start();
    TMysqlNet net;
    ASSERT_EQ(net.Open("127.0.0.1", 5, server.Port()), 0);
    ASSERT_GT(net.SafeRead(), 0);
    net.SetCompress(true);
    EXPECT_EQ(net.WritePacket(c.payload.data(), c.payload.size()), 0);
    EXPECT_EQ(net.Flush(), 0);
    ASSERT_EQ(server.Wait(), "");
    Bytes stream;
    for (size_t i = 0; i < frames; ++i) {
      const Bytes& frame = server.Received().at(i);
      const FrameHeader h = ParseFrameHeader(frame);
      EXPECT_EQ(h.sequence, static_cast<int>(i + 1));
      EXPECT_EQ(h.length, frame.size() - 7);
      EXPECT_EQ(h.unpacked != 0, c.deflated);
      if (h.unpacked != 0) {
        EXPECT_LT(h.length, h.unpacked);
      }
      stream += TScriptedServer::FrameBody(frame);
    }
    // Packets inside the compressed stream carry sequence number 0.
    EXPECT_EQ(stream, TScriptedServer::Packet(0, c.payload));
  }
}

TEST(NetCompressed, EveryCommandStartsAtSequenceZero) {
  TScriptedServer server;
  server.Send(Greeting).ExpectCompressedFrame().ExpectCompressedFrame();
  server.Start();
  TMysqlNet net;
  ASSERT_EQ(net.Open("127.0.0.1", 5, server.Port()), 0);
  ASSERT_GT(net.SafeRead(), 0);
  net.SetCompress(true);
  net.ResetSequence();
  EXPECT_EQ(net.WriteCommand(3, "select 1", 8), 0);
  net.ResetSequence();
  EXPECT_EQ(net.WriteCommand(14, nullptr, 0), 0);
  ASSERT_EQ(server.Wait(), "");
  for (const Bytes& frame : server.Received())
    EXPECT_EQ(ParseFrameHeader(frame).sequence, 0);
  EXPECT_EQ(TScriptedServer::FrameBody(server.Received().at(0)), Bytes("\x09\0\0\0\x03select 1", 13));
  EXPECT_EQ(TScriptedServer::FrameBody(server.Received().at(1)), Bytes("\x01\0\0\0\x0e", 5));
}

// Reading through compressed frames: a connection whose greeting has been
// read, with compression on.
class NetCompressedRead : public NetTest {
protected:
  void Connect() {
    NetTest::Connect();
    net.SetCompress(true);
  }
  static Bytes P(const Bytes& payload) { return TScriptedServer::Packet(0, payload); }
  static Bytes Frame(uint8_t sequence, const Bytes& body, bool deflate) {
    return TScriptedServer::CompressedFrame(sequence, body, deflate);
  }
};

TEST_F(NetCompressedRead, PacketsComeOutOneByOneWhateverTheFrames) {
  const Bytes split = P(Pattern(5000));
  const Bytes headerSplit = P("header split");
  server.Send(Greeting)
      .Send(Frame(1, P("stored"), false))
      .Send(Frame(2, P("a") + P("bb") + P(Pattern(100)), true))
      .Send(Frame(3, split.substr(0, 2000), true))
      .Stall(30)
      .Send(Frame(4, split.substr(2000) + headerSplit.substr(0, 2), false))
      .Send(Frame(5, headerSplit.substr(2), false))
      .ExpectClosed();
  Connect();
  EXPECT_EQ(Next(), "stored");
  EXPECT_EQ(Next(), "a");
  EXPECT_EQ(Next(), "bb");
  EXPECT_EQ(Next(), Pattern(100));
  EXPECT_EQ(Next(), Pattern(5000));
  EXPECT_EQ(Next(), "header split");
  net.Close();
}

TEST_F(NetCompressedRead, LargeFramesGrowTheBufferAndShrinkGivesItBack) {
  const Bytes big = Pattern(200000);
  const Bytes joined = P(Pattern(9000));
  server.Send(Greeting)
      .Send(Frame(1, P("small") + joined.substr(0, 6000), true))
      .Send(Frame(2, joined.substr(6000) + P(big), true))
      .Send(Frame(3, P("after"), false))
      .ExpectClosed();
  Connect();
  EXPECT_EQ(Next(), "small");
  EXPECT_EQ(Next(), Pattern(9000));
  EXPECT_EQ(Next(), big);
  EXPECT_GT(net.GetCapacity(), 200000);
  EXPECT_TRUE(net.Shrink());
  EXPECT_EQ(net.GetCapacity(), TMysqlNet::InitialBufferSize);
  EXPECT_EQ(Next(), "after");
  net.Close();
}

TEST_F(NetCompressedRead, UnreadPacketsSurviveShrink) {
  const Bytes big = Pattern(50000);
  server.Send(Greeting).Send(Frame(1, P(big) + P("queued"), true)).ExpectClosed();
  Connect();
  EXPECT_EQ(Next(), big);
  EXPECT_TRUE(net.Shrink());
  EXPECT_EQ(Next(), "queued");
  net.Close();
}

TEST(NetCompressed, FaultyFramesAreALostConnection) {
  struct Case {
    const char* name;
    Bytes frames;
    String expected;
  };
  Bytes badDeflate = TScriptedServer::CompressedFrame(1, TScriptedServer::Packet(0, Pattern(500)), true);
  badDeflate[10] = static_cast<char>(~badDeflate[10]);
  Bytes tooLong = TScriptedServer::CompressedFrame(1, TScriptedServer::Packet(0, Pattern(500)), true);
  tooLong[4] = tooLong[5] = tooLong[6] = '\xff';
  const Case cases[] = {
      {"wrong sequence number", TScriptedServer::CompressedFrame(4, TScriptedServer::Packet(0, "x"), false),
       LostText},
      {"bad deflate data", badDeflate, LostText},
      {"truncated frame",
       TScriptedServer::CompressedFrame(1, TScriptedServer::Packet(0, Noise(300)), false).substr(0, 100),
       LostText},
      {"truncated packet in the stream",
       TScriptedServer::CompressedFrame(1, TScriptedServer::Packet(0, "xyz").substr(0, 5), false), LostText},
      {"unpacked length beyond the limit", tooLong, "<Got packet bigger than 'max_allowed_packet'>"},
      {"empty packet",
       TScriptedServer::CompressedFrame(
           1, TScriptedServer::Packet(0, "") + TScriptedServer::Packet(0, "after"), false),
       LostText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectLostReply(c.frames, true, c.expected);
  }
}

// The packets of one long reply as the wire carries them: plain, or in
// compressed frames that cut the packet stream anywhere, a stored frame
// larger than the client's input buffer among them.
Bytes WireStream(const std::vector<Bytes>& small, const Bytes& big, bool compressed) {
  Bytes wire;
  if (!compressed) {
    uint8_t sequence = 1;
    for (const Bytes& payload : small)
      wire += TScriptedServer::Packet(sequence++, payload);
    wire += TScriptedServer::Packet(sequence++, big);
    return wire + TScriptedServer::Packet(sequence, "end");
  }
  Bytes stream;
  for (const Bytes& payload : small)
    stream += TScriptedServer::Packet(0, payload);
  uint8_t sequence = 1;
  for (size_t at = 0; at < stream.size(); at += 97, ++sequence)
    wire += TScriptedServer::CompressedFrame(sequence, stream.substr(at, 97), sequence % 2 == 0);
  wire += TScriptedServer::CompressedFrame(sequence++, TScriptedServer::Packet(0, big), false);
  return wire + TScriptedServer::CompressedFrame(sequence, TScriptedServer::Packet(0, "end"), true);
}

// Many frames arriving in one read, and frames spread over many small reads,
// give the same packets.
TEST(Net, PacketsComeOutWholeHoweverTheStreamIsCut) {
  std::vector<Bytes> small = {"a", Pattern(300)};
  for (int i = 0; i < 50; ++i)
    small.push_back("p" + std::to_string(i));
  const Bytes big = Noise(TMysqlNet::InputBufferSize + 7000);
  for (const bool compressed : {false, true}) {
    for (const bool smallReads : {false, true}) {
      SCOPED_TRACE(std::string(compressed ? "compressed" : "plain") + (smallReads ? ", small reads" : ""));
      const Bytes wire = WireStream(small, big, compressed);
      TScriptedServer server;
      server.Send(Greeting);
      size_t sent = 0;
      if (smallReads)
        for (; sent < 600; sent += 7)
          server.Send(wire.substr(sent, 7)).Stall(2);
      server.Send(wire.substr(sent)).ExpectClosed();
      server.Start();
      TMysqlNet net;
      ASSERT_EQ(net.Open("127.0.0.1", 5, server.Port()), 0);
      ASSERT_GT(net.SafeRead(), 0);
      net.SetCompress(compressed);
      std::vector<Bytes> expected = small;
      expected.push_back(big);
      expected.push_back("end");
      for (const Bytes& payload : expected) {
        const int length = net.SafeRead();
        ASSERT_EQ(length, static_cast<int>(payload.size())) << net.ErrorText();
        ASSERT_TRUE(Bytes(reinterpret_cast<const char*>(net.ReadPos()), payload.size()) == payload);
        ASSERT_EQ(net.ReadPos()[length], 0) << "payload not terminated";
      }
      net.Close();
      EXPECT_EQ(server.Wait(), "");
    }
  }
}

TEST(NetRealServer, ReadsTheGreetingOfTheTestServer) {
  TTestServerAddress address;
  SKIP_WITHOUT_TEST_SERVER(address);
  TMysqlNet net;
  ASSERT_EQ(net.Open(address.Host, 10, address.Port), 0) << net.ErrorText();
  const int length = net.SafeRead();
  ASSERT_GT(length, 10) << net.ErrorText();
  EXPECT_EQ(net.ReadPos()[0], 10) << "protocol version";
  const String version(reinterpret_cast<const char*>(net.ReadPos() + 1));
  EXPECT_FALSE(version.empty());
  EXPECT_NE(version.find('.'), String::npos) << version;
  EXPECT_EQ(net.GetSequence(), 1);
  EXPECT_EQ(net.Close(), 0);
  EXPECT_FALSE(net.IsOpen());
  EXPECT_EQ(net.Close(), 0);
}

} // namespace
