// Login, close and reconnect.
#include "uMysqlClient.h"

#include "uMysqlNewPassword.h"

#include <cstring>

namespace {

constexpr int ClientProtocolVersion = 10;
constexpr uint8_t OldPasswordRequest = 254;

// Restores a flag when the scope ends, whichever way it is left.
class TFlagOverride {
public:
  TFlagOverride(bool& flag, bool value) : FFlag(flag), FSaved(flag) { flag = value; }
  ~TFlagOverride() { FFlag = FSaved; }
  TFlagOverride(const TFlagOverride&) = delete;
  TFlagOverride& operator=(const TFlagOverride&) = delete;

private:
  bool& FFlag;
  bool FSaved;
};

void Put(std::vector<uint8_t>& packet, const String& text) {
  packet.insert(packet.end(), text.begin(), text.end());
}

// Text up to the first zero byte, at most `limit` characters, within [p, end).
String TextAt(const uint8_t* p, const uint8_t* end, size_t limit) {
  size_t n = 0;
  while (p + n < end && n < limit && p[n] != 0)
    ++n;
  return String(reinterpret_cast<const char*>(p), n);
}

} // namespace

TMysqlClient::TMysqlClient() = default;

TMysqlClient::~TMysqlClient() {
  Close();
}

bool TMysqlClient::Connect(const String& host, const String& user, const String& password,
                           const String& database, int port, const String& pipeName, TMysqlVioKind kind,
                           uint32_t clientFlags) {
  if (FNet.IsOpen()) return true;
  if (host.empty() && FHost.empty()) return false;
  if (!host.empty()) FHost = host;
  FUser = user;
  FPassword = password;
  FDatabase = database;
  FPort = port;
  FPipeName = pipeName;
  FKind = kind;
  FClientFlags = clientFlags;

  FNet.Open(FHost, Timeout, FPort);
  FPipeName.clear();
  if (!FNet.IsOpen()) return false;
  if (!ReadGreeting() || !SendAuthentication() || !ReadAuthReply()) {
    Close();
    return false;
  }
  FNet.SetCompress((FClientFlags & CLIENT_COMPRESS) != 0);
  FStatus = csReady;

  // A connection lost while the session is being set up is not re-opened
  // from inside the set-up.
  TFlagOverride noReconnect(ReconnectAllowed, false);
  if ((!FDatabase.empty() && !(FServerCapabilities & CLIENT_CONNECT_WITH_DB) && !SelectDatabase(FDatabase)) ||
      !RunSessionInit()) {
    Close();
    return false;
  }
  FUsedSinceConnect = false;
  return true;
}

bool TMysqlClient::ReadGreeting() {
  const int length = FNet.SafeRead();
  if (length < 0) return false;
  const uint8_t* p = FNet.ReadPos();
  const uint8_t* end = p + length;
  FNet.ProtocolVersion = p[0];
  if (p[0] != 10 && p[0] != 9) {
    FNet.SetClientError(CR_VERSION_ERROR, int(p[0]), ClientProtocolVersion);
    return false;
  }
  const uint8_t* version = p + 1;
  const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(version, 0, size_t(end - version)));
  // The version, the thread id and the first piece of the scramble are in
  // every greeting.
  const size_t v = zero ? size_t(zero - version) : 0;
  if (!zero || size_t(length) < v + 15) {
    FNet.SetClientError(CR_SERVER_HANDSHAKE_ERR);
    return false;
  }
  FServerVersion.assign(reinterpret_cast<const char*>(version), v);
  const uint8_t* q = p + v + 2;
  FThreadId = uint32_t(q[0]) | uint32_t(q[1]) << 8 | uint32_t(q[2]) << 16 | uint32_t(q[3]) << 24;
  FScramble = TextAt(p + v + 6, end, 8);
  FServerCapabilities = 0;
  if (size_t(length) >= v + 16) {
    FServerCapabilities = p[v + 15];
    if (size_t(length) > v + 16) FServerCapabilities |= uint32_t(p[v + 16]) << 8;
  }
  // A new session has no transaction, whatever the last one had open.
  FServerStatus = SERVER_STATUS_AUTOCOMMIT;
  if (size_t(length) >= v + 33) {
    FServerLanguage = p[v + 17];
    FServerStatus = p[v + 18] | p[v + 19] << 8;
  }
  if (size_t(length) >= v + 45) FScramble += TextAt(p + v + 33, end, 12);
  // The 4.1 reply needs the whole scramble.
  if (FScramble.size() < size_t(SCRAMBLE41_LENGTH))
    FServerCapabilities &= ~uint32_t(CLIENT_SECURE_CONNECTION);
  return true;
}

bool TMysqlClient::SendAuthentication() {
  FClientFlags = (FClientFlags | CLIENT_DEFAULT_FLAGS) & ~uint32_t(CLIENT_REFUSED_FLAGS);
  if (!FDatabase.empty())
    FClientFlags |= CLIENT_CONNECT_WITH_DB;
  else
    FClientFlags &= ~uint32_t(CLIENT_CONNECT_WITH_DB);
  if ((FServerCapabilities & CLIENT_COMPRESS) && CompressionAllowed)
    FClientFlags |= CLIENT_COMPRESS;
  else
    FClientFlags &= ~uint32_t(CLIENT_COMPRESS);

  std::vector<uint8_t> packet = {uint8_t(FClientFlags), uint8_t(FClientFlags >> 8), 0, 0, 0};
  // The user name goes whole: a cut name would log in as somebody else.
  Put(packet, FUser);
  packet.push_back(0);
  if (FPassword.empty()) {
    packet.push_back(0);
  } else if (FServerCapabilities & CLIENT_SECURE_CONNECTION) {
    uint8_t scramble[SCRAMBLE41_LENGTH], reply[SCRAMBLE41_LENGTH];
    std::memcpy(scramble, FScramble.data(), SCRAMBLE41_LENGTH);
    Scramble41(reply, scramble, FPassword);
    packet.push_back(SCRAMBLE41_LENGTH);
    packet.insert(packet.end(), reply, reply + SCRAMBLE41_LENGTH);
  } else {
    Put(packet, ScrambleOld(FPassword, FScramble));
    packet.push_back(0);
  }
  // The database name goes whole too: a cut name could select another database.
  if (!FDatabase.empty() && (FServerCapabilities & CLIENT_CONNECT_WITH_DB)) Put(packet, FDatabase);
  packet.push_back(0);
  return FNet.WritePacket(packet.data(), packet.size()) == 0 && FNet.Flush() == 0;
}

bool TMysqlClient::ReadAuthReply() {
  int length = FNet.SafeRead();
  if (length < 0) return false;
  const uint8_t* p = FNet.ReadPos();
  if (length == 1 && p[0] == OldPasswordRequest && (FServerCapabilities & CLIENT_SECURE_CONNECTION)) {
    uint8_t reply[SCRAMBLE_OLD_LENGTH + 1] = {};
    const String old = ScrambleOld(FPassword, FScramble);
    std::memcpy(reply, old.data(), old.size());
    if (FNet.WritePacket(reply, sizeof reply) != 0 || FNet.Flush() != 0) {
      FNet.SetClientError(CR_SERVER_LOST);
      return false;
    }
    length = FNet.SafeRead();
    if (length < 0) return false;
    p = FNet.ReadPos();
  }
  // Only an OK packet logs in; anything else (a request for another
  // authentication method, a broken reply) is no success.
  if (p[0] != 0) {
    FNet.SetClientError(CR_SERVER_HANDSHAKE_ERR);
    return false;
  }
  return true;
}

bool TMysqlClient::RunSessionInit() {
  for (const String& statement : SessionInit) {
    if (Command(COM_QUERY, statement.data(), statement.size(), false, true) != 0 || ReadQueryResult() != 0)
      return false;
    if (FFieldCount > 0 && !StoreResult()) return false;
  }
  return true;
}

bool TMysqlClient::SelectDatabase(const String& database) {
  if (Command(COM_INIT_DB, database.data(), database.size(), ReconnectAllowed, false) != 0) return false;
  FDatabase = database;
  return true;
}

void TMysqlClient::ResetSession() {
  FScramble.clear();
  FThreadId = 0;
  FAffectedRows = 0;
  FInsertId = 0;
  FStatus = csReady;
  FServerVersion.clear();
  FServerCapabilities = 0;
  // The in-transaction bit stays: the work of an open transaction went with
  // the connection, and a silent reconnect would hide that.
  FServerStatus = SERVER_STATUS_AUTOCOMMIT | (FServerStatus & SERVER_STATUS_IN_TRANS);
  FServerLanguage = 0;
  FExtraInfo = 0;
  FFieldCount = 0;
  FInfo.clear();
}

void TMysqlClient::Close() {
  ResetSession();
  if (FNet.IsOpen()) {
    FreeFields();
    FStatus = csReady;
    // QUIT goes straight to the packet layer: the command path would clear
    // the error that made the caller close.
    FNet.ResetSequence();
    FNet.WriteCommand(COM_QUIT, nullptr, 0);
    FNet.Close();
  }
  if (FUseResult) {
    FUseResult->FClient = nullptr;
    FUseResult = nullptr;
  }
}

bool TMysqlClient::Reconnect() {
  return Connect(FHost, FUser, FPassword, FDatabase, FPort, FPipeName, FKind, FClientFlags);
}

bool TMysqlClient::TryReconnect() {
  if (!ReconnectAllowed || (FServerStatus & SERVER_STATUS_IN_TRANS)) {
    FServerStatus &= ~SERVER_STATUS_IN_TRANS;
    FNet.SetClientError(CR_SERVER_GONE_ERROR);
    return false;
  }
  return Reconnect();
}
