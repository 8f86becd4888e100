#include "ScriptedServer.h"

#include "uMysqlVioSocket.h"

#include <zlib.h>

#include <chrono>

#ifdef _WIN32
#include <winsock2.h>
using socklen_t = int;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
using TNative = SOCKET;
constexpr int SendFlags = 0;
void CloseNative(intptr_t s) {
  closesocket(static_cast<SOCKET>(s));
}
#else
using TNative = int;
// A client that has gone must fail the step, not end the test process.
constexpr int SendFlags = MSG_NOSIGNAL;
void CloseNative(intptr_t s) {
  close(static_cast<int>(s));
}
#endif

TNative Native(intptr_t s) {
  return static_cast<TNative>(s);
}

// Waits up to ms for the socket to be readable (or acceptable); false on
// time-out.
bool WaitReadable(intptr_t s, int ms) {
#ifdef _WIN32
  fd_set set;
  FD_ZERO(&set);
  FD_SET(Native(s), &set);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &tv) > 0;
#else
  pollfd p{Native(s), POLLIN, 0};
  return poll(&p, 1, ms) > 0;
#endif
}

void Store3(std::string& out, size_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
  out += static_cast<char>((v >> 16) & 0xFF);
}

size_t Load3(const std::string& s, size_t at) {
  auto b = [&](size_t i) { return static_cast<size_t>(static_cast<uint8_t>(s[at + i])); };
  return b(0) | (b(1) << 8) | (b(2) << 16);
}

constexpr int SliceMs = 50;

} // namespace

TScriptedServer::TScriptedServer(int limitMs) : FLimitMs(limitMs) {
  VioSocket::Startup();
  const TNative listener = ::socket(AF_INET, SOCK_STREAM, 0);
  FListener = listener == static_cast<TNative>(-1) ? -1 : static_cast<intptr_t>(listener);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (::bind(Native(FListener), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(Native(FListener), 4) != 0 ||
      ::getsockname(Native(FListener), reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    FResult = "cannot listen on 127.0.0.1";
    return;
  }
  FPort = ntohs(addr.sin_port);
}

TScriptedServer::~TScriptedServer() {
  FStop = true;
  if (FThread.joinable()) FThread.join();
  CloseConnection();
  if (FListener != -1) CloseNative(FListener);
}

TScriptedServer::Step& TScriptedServer::Add(Step::Kind kind, const Bytes& bytes, size_t count) {
  Step step;
  step.kind = kind;
  step.bytes = bytes;
  step.count = count;
  FSteps.push_back(std::move(step));
  return FSteps.back();
}

TScriptedServer& TScriptedServer::Send(const Bytes& bytes) {
  Add(Step::kSend, bytes);
  return *this;
}
TScriptedServer& TScriptedServer::Expect(size_t n) {
  Add(Step::kExpect, {}, n);
  return *this;
}
TScriptedServer& TScriptedServer::ExpectPacket() {
  Add(Step::kExpectPacket);
  return *this;
}
TScriptedServer& TScriptedServer::ExpectCompressedFrame() {
  Add(Step::kExpectFrame);
  return *this;
}
TScriptedServer& TScriptedServer::ExpectClosed() {
  Add(Step::kExpectClosed);
  return *this;
}
TScriptedServer& TScriptedServer::Stall(int ms) {
  Add(Step::kStall, {}, static_cast<size_t>(ms));
  return *this;
}
TScriptedServer& TScriptedServer::Close() {
  Add(Step::kClose);
  return *this;
}
TScriptedServer& TScriptedServer::Accept() {
  Add(Step::kAccept);
  return *this;
}
TScriptedServer& TScriptedServer::Call(std::function<std::string(TScriptedServer&)> step) {
  Add(Step::kCall).call = std::move(step);
  return *this;
}

void TScriptedServer::Start() {
  if (!FResult.empty()) return;
  FThread = std::thread([this] { Run(); });
}

std::string TScriptedServer::Wait() {
  if (FThread.joinable()) FThread.join();
  return FResult;
}

void TScriptedServer::Run() {
  FResult = AcceptOne();
  for (size_t i = 0; FResult.empty() && i < FSteps.size(); ++i) {
    FResult = RunStep(FSteps[i]);
    if (!FResult.empty()) FResult = "step " + std::to_string(i + 1) + ": " + FResult;
  }
  CloseConnection();
}

std::string TScriptedServer::RunStep(const Step& step) {
  switch (step.kind) {
  case Step::kSend:
    return SendAll(step.bytes);
  case Step::kExpect: {
    Bytes got;
    std::string error = ReadExactly(step.count, got);
    FReceived.push_back(got);
    return error;
  }
  case Step::kExpectPacket: {
    Bytes header, payload;
    if (std::string error = ReadExactly(4, header); !error.empty()) return error;
    std::string error = ReadExactly(Load3(header, 0), payload);
    FReceived.push_back(header + payload);
    return error;
  }
  case Step::kExpectFrame: {
    Bytes header, body;
    if (std::string error = ReadExactly(7, header); !error.empty()) return error;
    std::string error = ReadExactly(Load3(header, 0), body);
    FReceived.push_back(header + body);
    return error;
  }
  case Step::kExpectClosed: {
    Bytes ignored;
    std::string error = ReadExactly(SIZE_MAX, ignored);
    return error == "connection closed" ? std::string() : "the client did not close the connection";
  }
  case Step::kStall: {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(step.count);
    while (!FStop && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return {};
  }
  case Step::kClose:
    CloseConnection();
    return {};
  case Step::kAccept:
    CloseConnection();
    return AcceptOne();
  case Step::kCall:
    return step.call(*this);
  }
  return "unknown step";
}

std::string TScriptedServer::AcceptOne() {
  for (int waited = 0; waited < FLimitMs && !FStop; waited += SliceMs) {
    if (!WaitReadable(FListener, SliceMs)) continue;
    const TNative connection = ::accept(Native(FListener), nullptr, nullptr);
    if (connection == static_cast<TNative>(-1)) return "accept failed";
    FConnection = static_cast<intptr_t>(connection);
    return {};
  }
  return "no connection came";
}

std::string TScriptedServer::ReadExactly(size_t n, Bytes& into) {
  char chunk[4096];
  int waited = 0;
  while (into.size() < n) {
    if (FStop) return "stopped";
    if (!WaitReadable(FConnection, SliceMs)) {
      waited += SliceMs;
      if (waited >= FLimitMs) return "time-out after " + std::to_string(into.size()) + " bytes";
      continue;
    }
    const size_t want = std::min(n - into.size(), sizeof chunk);
    const int got = static_cast<int>(::recv(Native(FConnection), chunk, static_cast<int>(want), 0));
    if (got <= 0) return "connection closed";
    into.append(chunk, static_cast<size_t>(got));
  }
  return {};
}

std::string TScriptedServer::SendAll(const Bytes& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const int n = static_cast<int>(
        ::send(Native(FConnection), bytes.data() + sent, static_cast<int>(bytes.size() - sent), SendFlags));
    if (n <= 0) return "send failed";
    sent += static_cast<size_t>(n);
  }
  return {};
}

void TScriptedServer::CloseConnection() {
  if (FConnection == -1) return;
  CloseNative(FConnection);
  FConnection = -1;
}

TScriptedServer::Bytes TScriptedServer::Packet(uint8_t sequence, const Bytes& payload) {
  Bytes out;
  Store3(out, payload.size());
  out += static_cast<char>(sequence);
  return out + payload;
}

TScriptedServer::Bytes TScriptedServer::CompressedFrame(uint8_t sequence, const Bytes& body, bool deflate) {
  Bytes stored = body;
  size_t unpacked = 0;
  if (deflate) {
    uLongf size = compressBound(static_cast<uLong>(body.size()));
    stored.assign(size, '\0');
    compress2(reinterpret_cast<Bytef*>(stored.data()), &size, reinterpret_cast<const Bytef*>(body.data()),
              static_cast<uLong>(body.size()), Z_DEFAULT_COMPRESSION);
    stored.resize(size);
    unpacked = body.size();
  }
  Bytes out;
  Store3(out, stored.size());
  out += static_cast<char>(sequence);
  Store3(out, unpacked);
  return out + stored;
}

TScriptedServer::Bytes TScriptedServer::FrameBody(const Bytes& frame) {
  if (frame.size() < 7) return "<short frame>";
  const Bytes packed = frame.substr(7);
  const size_t unpacked = Load3(frame, 4);
  if (unpacked == 0) return packed;
  Bytes out(unpacked, '\0');
  uLongf size = static_cast<uLongf>(unpacked);
  if (uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                 static_cast<uLong>(packed.size())) != Z_OK)
    return "<bad deflate data>";
  out.resize(size);
  return out;
}
