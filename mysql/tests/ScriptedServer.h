// A loopback server for tests that plays a script of steps on its own
// thread: it listens on 127.0.0.1 on an ephemeral port, accepts one
// connection and then sends bytes, reads what the client sends, stalls or
// closes, step by step. It covers what no real server sends: old protocol
// versions, broken or split frames, connections dropped mid-reply.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class TScriptedServer {
public:
  using Bytes = std::string;

  // Every wait of the server (accept, read) ends after this many
  // milliseconds, so a broken test fails instead of hanging.
  explicit TScriptedServer(int limitMs = 10000);
  ~TScriptedServer();
  TScriptedServer(const TScriptedServer&) = delete;
  TScriptedServer& operator=(const TScriptedServer&) = delete;

  int Port() const { return FPort; }

  // Script steps, run in order after the first connection is accepted.
  TScriptedServer& Send(const Bytes& bytes);
  // Reads exactly n bytes; they are kept as the next Received() entry.
  TScriptedServer& Expect(size_t n);
  // Reads one plain packet (header and payload); kept whole.
  TScriptedServer& ExpectPacket();
  // Reads one compressed frame; kept whole, as sent (see FrameBody).
  TScriptedServer& ExpectCompressedFrame();
  // Reads until the client closes the connection.
  TScriptedServer& ExpectClosed();
  TScriptedServer& Stall(int ms);
  // Closes the connection.
  TScriptedServer& Close();
  // Closes the connection and accepts the next one (a reconnect).
  TScriptedServer& Accept();
  // Runs any code on the server thread (for replies computed from what was
  // received); a non-empty result fails the script with that text.
  TScriptedServer& Call(std::function<std::string(TScriptedServer&)> step);

  // Starts the script on the server thread.
  void Start();
  // Waits for the script to end; empty when every step ran, else what failed.
  std::string Wait();
  // What the Expect steps read, in order (safe to read after Wait, or from
  // a Call step).
  const std::vector<Bytes>& Received() const { return FReceived; }

  // Wire forms: a packet with its 4-byte header, and a compressed frame
  // around a body (deflated when deflate is true, else stored with U = 0).
  static Bytes Packet(uint8_t sequence, const Bytes& payload);
  static Bytes CompressedFrame(uint8_t sequence, const Bytes& body, bool deflate);
  // The body of a compressed frame as sent, inflated when it was deflated.
  static Bytes FrameBody(const Bytes& frame);

private:
  struct Step {
    enum Kind { kSend, kExpect, kExpectPacket, kExpectFrame, kExpectClosed, kStall, kClose, kAccept, kCall };
    Kind kind = kSend;
    Bytes bytes;
    size_t count = 0;
    std::function<std::string(TScriptedServer&)> call;
  };

  Step& Add(Step::Kind kind, const Bytes& bytes = {}, size_t count = 0);
  void Run();
  std::string RunStep(const Step& step);
  std::string AcceptOne();
  std::string ReadExactly(size_t n, Bytes& into);
  std::string SendAll(const Bytes& bytes);
  void CloseConnection();

  intptr_t FListener = -1;
  intptr_t FConnection = -1;
  int FPort = 0;
  int FLimitMs;
  std::vector<Step> FSteps;
  std::vector<Bytes> FReceived;
  std::thread FThread;
  std::string FResult;
  std::atomic<bool> FStop{false};
};
