// The socket seam over Windows Sockets.
#include "uMysqlVioSocket.h"

#include <winsock2.h>

#include <mutex>

namespace VioSocket {
namespace {

// Started at the first connect of the process, cleaned up at its end.
class TWinsock {
public:
  bool Start() {
    std::lock_guard<std::mutex> lock(FLock);
    if (FStarted) return true;
    WSADATA data;
    FStarted = WSAStartup(0x0101, &data) == 0;
    return FStarted;
  }
  ~TWinsock() {
    if (FStarted) WSACleanup();
  }

private:
  std::mutex FLock;
  bool FStarted = false;
};

TWinsock gWinsock;

SOCKET Sock(THandle socket) {
  return static_cast<SOCKET>(socket);
}

int Result(int rc) {
  return rc == SOCKET_ERROR ? -1 : rc;
}

} // namespace

bool Startup() {
  return gWinsock.Start();
}

int LastSocketError() {
  return WSAGetLastError();
}
void SetLastSocketError(int error) {
  WSASetLastError(error);
}

THandle CreateTcp() {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
  return s == INVALID_SOCKET ? InvalidHandle : static_cast<THandle>(s);
}

bool ResolveIPv4(const String& host, uint32_t& address) {
  unsigned long dotted = inet_addr(host.c_str());
  if (dotted != INADDR_NONE) {
    address = dotted;
    return true;
  }
  hostent* entry = gethostbyname(host.c_str());
  if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list[0]) return false;
  memcpy(&address, entry->h_addr_list[0], sizeof address);
  return true;
}

int Connect(THandle socket, uint32_t address, uint16_t port) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = address;
  return Result(::connect(Sock(socket), reinterpret_cast<const sockaddr*>(&to), sizeof to));
}

int SetNonBlocking(THandle socket, bool nonBlocking) {
  u_long arg = nonBlocking ? 1 : 0;
  return Result(ioctlsocket(Sock(socket), FIONBIO, &arg));
}

int SetOption(THandle socket, TOption option, const void* value, int length) {
  int level = option == soNoDelay ? IPPROTO_TCP : SOL_SOCKET;
  int name = option == soNoDelay ? TCP_NODELAY : SO_KEEPALIVE;
  return Result(setsockopt(Sock(socket), level, name, static_cast<const char*>(value), length));
}

int PendingError(THandle socket) {
  int err = 0;
  int len = sizeof err;
  if (getsockopt(Sock(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &len) == SOCKET_ERROR)
    return WSAGetLastError();
  return err;
}

int PollSocket(THandle socket, int interest, int timeoutMs) {
  fd_set readSet, exceptSet, writeSet;
  FD_ZERO(&readSet);
  FD_ZERO(&exceptSet);
  FD_ZERO(&writeSet);
  if (interest & pollRead) FD_SET(Sock(socket), &readSet);
  if (interest & pollException) FD_SET(Sock(socket), &exceptSet);
  if (interest & pollWrite) FD_SET(Sock(socket), &writeSet);
  timeval wait;
  wait.tv_sec = timeoutMs / 1000;
  wait.tv_usec = (timeoutMs % 1000) * 1000;
  int rc = select(0, &readSet, &writeSet, &exceptSet, &wait);
  if (rc == SOCKET_ERROR) return -1;
  if (rc == 0) return 0;
  int ready = 0;
  if (FD_ISSET(Sock(socket), &readSet)) ready |= pollRead;
  if (FD_ISSET(Sock(socket), &exceptSet)) ready |= pollException;
  if (FD_ISSET(Sock(socket), &writeSet)) ready |= pollWrite;
  return ready;
}

int Recv(THandle socket, void* buffer, int count) {
  return Result(::recv(Sock(socket), static_cast<char*>(buffer), count, 0));
}

int Send(THandle socket, const void* buffer, int count) {
  return Result(::send(Sock(socket), static_cast<const char*>(buffer), count, 0));
}

int Shutdown(THandle socket) {
  return Result(::shutdown(Sock(socket), SD_BOTH));
}

int CloseSocket(THandle socket) {
  return Result(::closesocket(Sock(socket)));
}

} // namespace VioSocket
