#include "uMysqlVio.h"

#include "uMysqlErrors.h"

#include <climits>

using namespace VioSocket;

namespace {

constexpr int DefaultTimeout = 30;
constexpr int DefaultPort = 3306;
constexpr size_t MaxErrorText = 200;

int Milliseconds(int seconds) {
  return seconds >= INT_MAX / 1000 ? INT_MAX : seconds * 1000;
}

} // namespace

TMysqlVio::~TMysqlVio() {
  Close();
}

int TMysqlVio::Connect(const String& host, int timeout, int port) {
  if (FKind != vkNone) return -20;
  FTimeout = timeout == 0 ? DefaultTimeout : timeout;
  if (!Startup()) return -1;
  const String name = host.empty() ? String("localhost") : host;
  if (port == 0) port = DefaultPort;

  THandle s = CreateTcp();
  if (s == InvalidHandle) {
    ErrorCode = CR_IPSOCK_ERROR;
    SetErrorText(ClientErrorText(CR_IPSOCK_ERROR, LastSocketError()));
    return -8;
  }
  uint32_t address = 0;
  if (!ResolveIPv4(name, address)) {
    const int error = LastSocketError();
    CloseSocket(s);
    ErrorCode = CR_UNKNOWN_HOST;
    SetErrorText(ClientErrorText(CR_UNKNOWN_HOST, name, error));
    return -7;
  }
  FSocket = s;
  FKind = vkTcp;
  SetBlocking(false);
  if (VioSocket::Connect(FSocket, address, static_cast<uint16_t>(port)) < 0 &&
      LastSocketError() != errWouldBlock)
    return FailConnect(name, LastSocketError(), -6);
  SetFastSend();
  SetKeepAlive(true);

  // The server speaks first: the connect counts as made when its first bytes
  // arrive. A refused connect shows as a pending socket error (and on Linux
  // even as readable) or, under Wine, only in the exception set.
  const int ready = PollSocket(FSocket, pollRead | pollException, Milliseconds(FTimeout));
  if (ready <= 0) return FailConnect(name, LastSocketError(), -7);
  const int pending = PendingError(FSocket);
  if (pending != 0 || (ready & pollException))
    return FailConnect(name, pending != 0 ? pending : errConnectionRefused, -6);
  SetErrorText(String());
  ErrorCode = 0;
  return 0;
}

int TMysqlVio::FailConnect(const String& host, int error, int result) {
  CloseSocket(FSocket);
  SetClosed();
  ErrorCode = CR_CONN_HOST_ERROR;
  SetErrorText(ClientErrorText(CR_CONN_HOST_ERROR, host, error));
  return result;
}

void TMysqlVio::SetClosed() {
  FKind = vkNone;
  FSocket = InvalidHandle;
  FMode = 0;
}

int TMysqlVio::Close() {
  int result = 0;
  if (FKind == vkTcp) {
    if (Shutdown(FSocket) < 0) result = -1;
    if (CloseSocket(FSocket) < 0) result = -1;
  }
  SetClosed();
  return result;
}

int TMysqlVio::Read(void* buffer, int count) {
  if (FKind == vkNone) return -1;
  // Bytes already waiting (most of a large reply) are taken at once: a
  // readiness wait before each receive would double the system calls.
  if (!IsBlocking()) {
    const int got = Recv(FSocket, buffer, count);
    if (got >= 0 || LastSocketError() != errWouldBlock) return got;
  }
  const int ready = PollSocket(FSocket, pollRead, Milliseconds(FTimeout));
  if (ready == 0) {
    // A wait that ran out is final: the caller must not retry it as if the
    // socket had merely not been ready.
    SetLastSocketError(errTimedOut);
    return -1;
  }
  if (ready < 0) return -1;
  return Recv(FSocket, buffer, count);
}

int TMysqlVio::Write(const void* position, int count) {
  if (FKind == vkNone) return -1;
  return Send(FSocket, position, count);
}

int TMysqlVio::SetBlocking(bool blocking) {
  if (FKind == vkNone) return -1;
  const int mode = blocking ? (FMode & ~1) : (FMode | 1);
  if (mode == FMode) return 0;
  const int rc = SetNonBlocking(FSocket, !blocking);
  if (rc == 0) FMode = mode;
  return rc;
}

int TMysqlVio::SetFastSend() {
  const int32_t on = 1;
  return SetOption(FSocket, soNoDelay, &on, sizeof on) < 0 ? -1 : 0;
}

int TMysqlVio::SetKeepAlive(bool on) {
  const int32_t value = on ? 1 : 0;
  return SetOption(FSocket, soKeepAlive, &value, sizeof value);
}

bool TMysqlVio::WaitReadable(int seconds) {
  return FKind != vkNone && PollSocket(FSocket, pollRead, Milliseconds(seconds)) > 0;
}

bool TMysqlVio::ShouldRetry() const {
  const int error = LastSocketError();
  return FKind != vkNone && (error == errInterrupted || error == errWouldBlock || error == errInProgress);
}

bool TMysqlVio::WasInterrupted() const {
  return LastSocketError() == errInterrupted;
}

void TMysqlVio::SetErrorText(const String& text) {
  FErrorText = text.substr(0, MaxErrorText);
}
