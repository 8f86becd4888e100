// Errors that the client itself detects, numbered 2000 to 2020, and their
// format texts.
#pragma once

#include "SysUtils.h"

enum : int {
  CR_MIN_ERROR = 2000,
  CR_UNKNOWN_ERROR = 2000,
  CR_SOCKET_CREATE_ERROR = 2001,
  CR_CONNECTION_ERROR = 2002,
  CR_CONN_HOST_ERROR = 2003,
  CR_IPSOCK_ERROR = 2004,
  CR_UNKNOWN_HOST = 2005,
  CR_SERVER_GONE_ERROR = 2006,
  CR_VERSION_ERROR = 2007,
  CR_OUT_OF_MEMORY = 2008,
  CR_WRONG_HOST_INFO = 2009,
  CR_LOCALHOST_CONNECTION = 2010,
  CR_TCP_CONNECTION = 2011,
  CR_SERVER_HANDSHAKE_ERR = 2012,
  CR_SERVER_LOST = 2013,
  CR_COMMANDS_OUT_OF_SYNC = 2014,
  CR_NAMEDPIPE_CONNECTION = 2015,
  CR_NAMEDPIPEWAIT_ERROR = 2016,
  CR_NAMEDPIPEOPEN_ERROR = 2017,
  CR_NAMEDPIPESETSTATE_ERROR = 2018,
  CR_CANT_READ_CHARSET = 2019,
  CR_NET_PACKET_TOO_LARGE = 2020,
  CR_MAX_ERROR = 2020,
};

// The packet layer's own code for a packet beyond the size limit; it has no
// text and becomes CR_NET_PACKET_TOO_LARGE when a reply is read.
constexpr int PACKET_TOO_LARGE = 1153;

// The format texts, indexed by code - CR_MIN_ERROR.
extern const char* const ClientErrors[CR_MAX_ERROR - CR_MIN_ERROR + 1];

// The format text of a client error code; empty for codes outside 2000-2020.
String ClientErrorFormat(int code);

// The text of a client error with its arguments filled in:
// ClientErrorText(CR_CONN_HOST_ERROR, host, 10061).
template <typename... Args> String ClientErrorText(int code, const Args&... args) {
  return Format(ClientErrorFormat(code), args...);
}
