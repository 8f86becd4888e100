// The socket seam over BSD sockets, reporting errors in Winsock numbering.
#include "uMysqlVioSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace VioSocket {
namespace {

thread_local int gLastError = 0;

// errno values as the Winsock numbers Windows reports for the same condition.
int WinsockNumber(int err) {
  struct Pair {
    int errnoValue, winsock;
  };
  static const Pair table[] = {
      {EINTR, 10004},       {EBADF, 10009},        {EACCES, 10013},      {EFAULT, 10014},
      {EINVAL, 10022},      {EMFILE, 10024},       {ENFILE, 10024},      {EWOULDBLOCK, 10035},
      {EINPROGRESS, 10036}, {EALREADY, 10037},     {ENOTSOCK, 10038},    {EDESTADDRREQ, 10039},
      {EMSGSIZE, 10040},    {EPROTOTYPE, 10041},   {ENOPROTOOPT, 10042}, {EPROTONOSUPPORT, 10043},
      {EOPNOTSUPP, 10045},  {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048},  {EADDRNOTAVAIL, 10049},
      {ENETDOWN, 10050},    {ENETUNREACH, 10051},  {ENETRESET, 10052},   {ECONNABORTED, 10053},
      {ECONNRESET, 10054},  {EPIPE, 10054},        {ENOBUFS, 10055},     {EISCONN, 10056},
      {ENOTCONN, 10057},    {ESHUTDOWN, 10058},    {ETIMEDOUT, 10060},   {ECONNREFUSED, 10061},
      {EHOSTDOWN, 10064},   {EHOSTUNREACH, 10065},
  };
  for (const Pair& p : table)
    if (p.errnoValue == err) return p.winsock;
  return err;
}

int Fail() {
  gLastError = WinsockNumber(errno);
  return -1;
}

int Fd(THandle socket) {
  return static_cast<int>(socket);
}

} // namespace

bool Startup() {
  return true;
}

int LastSocketError() {
  return gLastError;
}
void SetLastSocketError(int error) {
  gLastError = error;
}

THandle CreateTcp() {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    Fail();
    return InvalidHandle;
  }
  return fd;
}

bool ResolveIPv4(const String& host, uint32_t& address) {
  in_addr dotted{};
  if (inet_pton(AF_INET, host.c_str(), &dotted) == 1) {
    address = dotted.s_addr;
    return true;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (rc != 0 || !found) {
    // The resolver's answers as Winsock's host errors.
    gLastError = rc == EAI_AGAIN ? 11002 : rc == EAI_FAIL ? 11003 : 11001;
    return false;
  }
  address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(found);
  return true;
}

int Connect(THandle socket, uint32_t address, uint16_t port) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = address;
  if (::connect(Fd(socket), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return 0;
  if (errno == EINPROGRESS) {
    // Winsock reports a non-blocking connect under way as "would block".
    gLastError = errWouldBlock;
    return -1;
  }
  return Fail();
}

int SetNonBlocking(THandle socket, bool nonBlocking) {
  int flags = fcntl(Fd(socket), F_GETFL, 0);
  if (flags < 0) return Fail();
  flags = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return fcntl(Fd(socket), F_SETFL, flags) < 0 ? Fail() : 0;
}

int SetOption(THandle socket, TOption option, const void* value, int length) {
  int level = SOL_SOCKET, name = SO_KEEPALIVE;
  switch (option) {
  case soNoDelay:
    level = IPPROTO_TCP;
    name = TCP_NODELAY;
    break;
  case soKeepAlive:
    break;
  }
  return setsockopt(Fd(socket), level, name, value, static_cast<socklen_t>(length)) < 0 ? Fail() : 0;
}

int PendingError(THandle socket) {
  int err = 0;
  socklen_t len = sizeof err;
  if (getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &err, &len) < 0) return WinsockNumber(errno);
  return err == 0 ? 0 : WinsockNumber(err);
}

int PollSocket(THandle socket, int interest, int timeoutMs) {
  pollfd p{};
  p.fd = Fd(socket);
  if (interest & pollRead) p.events |= POLLIN;
  if (interest & pollException) p.events |= POLLPRI;
  if (interest & pollWrite) p.events |= POLLOUT;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int rc;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    rc = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
    if (rc >= 0 || errno != EINTR) break;
  }
  if (rc < 0) return Fail();
  if (rc == 0) return 0;
  int ready = 0;
  if ((interest & pollRead) && (p.revents & (POLLIN | POLLHUP | POLLERR))) ready |= pollRead;
  if ((interest & pollException) && (p.revents & (POLLPRI | POLLERR))) ready |= pollException;
  if ((interest & pollWrite) && (p.revents & (POLLOUT | POLLHUP | POLLERR))) ready |= pollWrite;
  if (p.revents & POLLNVAL) {
    gLastError = 10038;
    return -1;
  }
  return ready;
}

int Recv(THandle socket, void* buffer, int count) {
  ssize_t n = ::recv(Fd(socket), buffer, static_cast<size_t>(count), 0);
  return n < 0 ? Fail() : static_cast<int>(n);
}

int Send(THandle socket, const void* buffer, int count) {
  // A peer that has gone must give an error here, not end the process.
  ssize_t n = ::send(Fd(socket), buffer, static_cast<size_t>(count), MSG_NOSIGNAL);
  return n < 0 ? Fail() : static_cast<int>(n);
}

int Shutdown(THandle socket) {
  return ::shutdown(Fd(socket), SHUT_RDWR) < 0 ? Fail() : 0;
}

int CloseSocket(THandle socket) {
  return ::close(Fd(socket)) < 0 ? Fail() : 0;
}

} // namespace VioSocket
