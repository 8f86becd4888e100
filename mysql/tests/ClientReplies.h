// Wire forms of server replies for the scripted-server tests of the client.
#pragma once

#include "ScriptedServer.h"
#include "uMysqlClient.h"

#include <initializer_list>
#include <optional>

namespace client_replies {

using Bytes = TScriptedServer::Bytes;

inline Bytes Le2(unsigned v) {
  return Bytes{char(v & 0xFF), char((v >> 8) & 0xFF)};
}
inline Bytes Le4(uint32_t v) {
  return Le2(v & 0xFFFF) + Le2(v >> 16);
}
inline Bytes Z(const char* text) {
  return Bytes(text) + '\0';
}

inline const Bytes Scramble1 = "abcdefgh", Scramble2 = "ijklmnopqrst";
constexpr unsigned Caps41 =
    CLIENT_SECURE_CONNECTION | CLIENT_TRANSACTIONS | CLIENT_LONG_FLAG | CLIENT_CONNECT_WITH_DB;

inline Bytes Greeting(unsigned protocol, unsigned caps) {
  return Bytes(1, char(protocol)) + Z("5.0.99-scripted") + Le4(77) + Scramble1 + '\0' + Le2(caps) + '\x08' +
         Le2(2) + Bytes(13, '\0') + Scramble2 + '\0';
}
// What servers of protocol 9 sent: no status, no second scramble piece.
inline const Bytes Greeting9 = Bytes("\x09") + Z("3.22.32") + Le4(5) + Scramble1 + '\0' + Le2(0);
inline const Bytes Ok = Bytes("\0\0\0", 3) + Le2(SERVER_STATUS_AUTOCOMMIT);

inline Bytes Lcs(const Bytes& s) {
  if (s.size() < 251) return Bytes(1, char(s.size())) + s;
  if (s.size() < 0x10000) return "\xfc" + Le2(unsigned(s.size())) + s;
  return "\xfd" + Le2(s.size() & 0xFFFF) + Bytes(1, char(s.size() >> 16)) + s;
}
inline Bytes FieldPacket(const Bytes& name, uint8_t type, unsigned length, unsigned flags = 0) {
  return Lcs("t") + Lcs(name) + Lcs(Le2(length & 0xFFFF) + Bytes(1, char(length >> 16))) +
         Lcs(Bytes(1, char(type))) + Lcs(Le2(flags) + '\0');
}
inline Bytes Row(std::initializer_list<std::optional<Bytes>> values) {
  Bytes out;
  for (const auto& v : values)
    out += v ? Lcs(*v) : Bytes("\xfb");
  return out;
}
inline const Bytes End = "\xfe";

// Packets of one reply, numbered from 1 (the command was 0).
class TReply {
public:
  explicit TReply(uint8_t first = 1) : FSeq(first) {}
  TReply& P(const Bytes& payload) {
    FBytes += TScriptedServer::Packet(FSeq++, payload);
    return *this;
  }
  operator Bytes() const { return FBytes; }

private:
  uint8_t FSeq;
  Bytes FBytes;
};

struct TFieldSpec {
  Bytes name;
  uint8_t type;
  unsigned length;
  unsigned flags = 0;
};

// A result set with the given columns and rows.
inline Bytes ResultOf(std::initializer_list<TFieldSpec> fields,
                      std::initializer_list<std::initializer_list<std::optional<Bytes>>> rows) {
  TReply r;
  r.P(Bytes(1, char(fields.size())));
  for (const auto& f : fields)
    r.P(FieldPacket(f.name, f.type, f.length, f.flags));
  r.P(End);
  for (const auto& row : rows)
    r.P(Row(row));
  return r.P(End);
}

// A two-column result: id (integer) and name (text), rows as given.
inline Bytes ResultOf(std::initializer_list<std::initializer_list<std::optional<Bytes>>> rows) {
  return ResultOf({{"id", 3, 11}, {"name", 253, 20}}, rows);
}

// The server's side of a login that succeeds.
inline void ScriptLogin(TScriptedServer& server, const Bytes& greeting = Greeting(10, Caps41)) {
  server.Send(TScriptedServer::Packet(0, greeting)).ExpectPacket().Send(TScriptedServer::Packet(2, Ok));
}

// Starts `server` and connects `client` to it with a short time-out;
// without reconnecting, no PING goes before a statement.
inline bool ConnectTo(TMysqlClient& client, TScriptedServer& server, bool reconnect,
                      const String& password = "pw", uint32_t flags = 0, const String& database = "",
                      const String& user = "u") {
  server.Start();
  client.Timeout = 1;
  client.ReconnectAllowed = reconnect;
  return client.Connect("127.0.0.1", user, password, database, server.Port(), "", vkTcp, flags);
}

} // namespace client_replies
