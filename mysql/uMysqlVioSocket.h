// The thin socket seam under the transport: Winsock in the Windows build,
// BSD sockets natively. Errors are reported as the thread's last socket
// error in Winsock numbering on both, so error texts read the same.
#pragma once

#include "SysUtils.h"

#include <cstddef>
#include <cstdint>

namespace VioSocket {

using THandle = intptr_t;
constexpr THandle InvalidHandle = -1;

// Winsock error numbers the transport looks at.
enum : int {
  errInterrupted = 10004,
  errWouldBlock = 10035,
  errInProgress = 10036,
  errTimedOut = 10060,
  errConnectionRefused = 10061,
};

// Interest and readiness bits of PollSocket.
enum : int { pollRead = 1, pollException = 2, pollWrite = 4 };

// Socket options the transport sets.
enum TOption { soNoDelay, soKeepAlive };

// Starts the socket library once per process (version 1.1 on Windows);
// false when it cannot be started, so the next call tries again.
bool Startup();

// The thread's last socket error, as a Winsock number.
int LastSocketError();
void SetLastSocketError(int error);

THandle CreateTcp();
// host: a dotted IPv4 address, or else a name to look up; the first IPv4
// address found, in network byte order.
bool ResolveIPv4(const String& host, uint32_t& address);
// Returns 0 or -1; a connect still in progress on a non-blocking socket
// fails with errWouldBlock, as Winsock reports it.
int Connect(THandle socket, uint32_t address, uint16_t port);
int SetNonBlocking(THandle socket, bool nonBlocking);
int SetOption(THandle socket, TOption option, const void* value, int length);
// The socket's pending error (SO_ERROR) as a Winsock number, 0 for none.
int PendingError(THandle socket);
// Waits up to timeoutMs for any of the interest bits; the ready bits, 0 on
// time-out, -1 on error. A socket with an error or a closed peer counts as
// readable, as select reports it.
int PollSocket(THandle socket, int interest, int timeoutMs);
int Recv(THandle socket, void* buffer, int count);
int Send(THandle socket, const void* buffer, int count);
int Shutdown(THandle socket);
int CloseSocket(THandle socket);

} // namespace VioSocket
