// The byte transport under the packet layer: one TCP/IP connection to a
// MySQL server with a time-out that bounds the connect and every read.
#pragma once

#include "SysUtils.h"
#include "uMysqlVioSocket.h"

#include <cstdint>

enum TMysqlVioKind : uint8_t { vkNone = 0, vkTcp = 1 };

class TMysqlVio {
public:
  TMysqlVio() = default;
  ~TMysqlVio();
  TMysqlVio(const TMysqlVio&) = delete;
  TMysqlVio& operator=(const TMysqlVio&) = delete;

  // 0 success; -20 already open; -1 the socket library cannot be started;
  // -8 no socket; -7 host unknown or no greeting within the time-out;
  // -6 connect refused.
  int Connect(const String& host, int timeout, int port);
  // 0, or -1 when shutting down or closing the socket failed.
  int Close();
  // Bytes received (at least 1), 0 when the server closed the connection,
  // -1 on time-out, socket error or a closed transport.
  int Read(void* buffer, int count);
  // Bytes sent, -1 on socket error or a closed transport.
  int Write(const void* position, int count);
  int SetBlocking(bool blocking);
  int SetFastSend();
  int SetKeepAlive(bool on);
  bool WaitReadable(int seconds);
  bool ShouldRetry() const;
  bool WasInterrupted() const;
  void SetErrorText(const String& text);
  const String& GetErrorText() const { return FErrorText; }

  bool IsBlocking() const { return (FMode & 1) == 0; }
  TMysqlVioKind GetKind() const { return FKind; }
  int GetTimeout() const { return FTimeout; }

  // The last error code: 0, a client error 2000-2020 or PACKET_TOO_LARGE;
  // read and written by the packet layer.
  int ErrorCode = 0;

private:
  void SetClosed();
  int FailConnect(const String& host, int error, int result);

  VioSocket::THandle FSocket = VioSocket::InvalidHandle;
  int FMode = 0;
  TMysqlVioKind FKind = vkNone;
  String FErrorText;
  int FTimeout = 0;
};
