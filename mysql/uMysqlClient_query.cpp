// The command path, statement replies, and the rows and field packets of a
// result set. Every length read from a packet is checked against the packet.
#include "uMysqlClient.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <new>

namespace {

int64_t SystemClock() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TMysqlClock gClock = SystemClock;

constexpr uint8_t LocalFileRequest = 251;
constexpr uint8_t EndPacketMarker = 254;
constexpr int FieldPacketColumns = 5;
constexpr size_t FirstBlockSize = 16 * 1024;
constexpr size_t LargestBlockSize = 4 * 1024 * 1024;

bool IsEndPacket(const uint8_t* p, int length) {
  return p[0] == EndPacketMarker && length < 8;
}

size_t Align(size_t n) {
  return (n + 7) & ~size_t(7);
}

// Little-endian number of `width` bytes, of which only the first `have` exist.
uint32_t LoadLE(const uint8_t* p, size_t width, size_t have) {
  uint32_t v = 0;
  for (size_t i = 0; i < width && i < have; ++i)
    v |= uint32_t(p[i]) << (8 * i);
  return v;
}

bool IsNumericField(const TMysqlField& f) {
  return (f.Type <= 9 && (f.Type != 7 || f.Length == 14 || f.Length == 8)) || f.Type == 13;
}

} // namespace

void SetMysqlClock(TMysqlClock clock) {
  gClock = clock ? clock : SystemClock;
}

int64_t MysqlClockNow() {
  return gClock();
}

bool ReadLengthCoded64(const uint8_t*& p, const uint8_t* end, uint64_t& value) {
  if (p >= end) return false;
  const uint8_t b = *p++;
  size_t width;
  switch (b) {
  case 251:
    value = NULL_LENGTH;
    return true;
  case 252:
    width = 2;
    break;
  case 253:
    width = 3;
    break;
  case 254:
    width = 8;
    break;
  case 255:
    return false;
  default:
    value = b;
    return true;
  }
  if (size_t(end - p) < width) return false;
  value = 0;
  for (size_t i = 0; i < width; ++i)
    value |= uint64_t(p[i]) << (8 * i);
  p += width;
  return true;
}

// ---- Rows -------------------------------------------------------------------

char* TMysqlRows::Allocate(size_t bytes) {
  if (bytes > FFreeSize) {
    // Blocks double up to a limit, so small results stay small.
    const size_t doublings = std::min<size_t>(FBlocks.size(), 8);
    const size_t size = std::max(bytes, std::min(LargestBlockSize, FirstBlockSize << doublings));
    FBlocks.emplace_back(new char[size]);
    FFree = FBlocks.back().get();
    FFreeSize = size;
  }
  char* at = FFree;
  FFree += bytes;
  FFreeSize -= bytes;
  return at;
}

// The values stay where they lie in one copy of the whole packet: the zero
// after a value overwrites the copy's next length byte, which has been read
// from the packet itself by then.
bool TMysqlRows::Split(const uint8_t* packet, size_t length, int columns, char* data, const char** values,
                       uint32_t* lengths, int* maxLengths) {
  std::memcpy(data, packet, length);
  const uint8_t* p = packet;
  const uint8_t* end = packet + length;
  for (int c = 0; c < columns; ++c) {
    uint64_t n;
    if (!ReadLengthCoded64(p, end, n)) return false;
    if (n == NULL_LENGTH) {
      values[c] = nullptr;
      lengths[c] = 0;
      continue;
    }
    if (n > uint64_t(end - p)) return false;
    char* value = data + (p - packet);
    value[n] = 0;
    values[c] = value;
    lengths[c] = uint32_t(n);
    if (maxLengths && int(n) > maxLengths[c]) maxLengths[c] = int(n);
    p += n;
  }
  return true;
}

bool TMysqlRows::AddRow(const uint8_t* packet, size_t length, int* maxLengths) {
  const size_t tables = size_t(FColumns) * (sizeof(char*) + sizeof(uint32_t));
  char* record = Allocate(Align(tables + length + 1));
  const char** values = reinterpret_cast<const char**>(record);
  uint32_t* lengths = reinterpret_cast<uint32_t*>(record + FColumns * sizeof(char*));
  if (!Split(packet, length, FColumns, record + tables, values, lengths, maxLengths)) return false;
  FRows.push_back(record);
  return true;
}

// ---- Commands ---------------------------------------------------------------

int TMysqlClient::Command(uint8_t command, const void* argument, size_t length, bool retry, bool leaveReply) {
  if (!FNet.IsOpen() && !TryReconnect()) return -1;
  if (FStatus != csReady) {
    FNet.SetClientError(CR_COMMANDS_OUT_OF_SYNC);
    return -1;
  }
  FNet.SetErrorCode(0);
  FNet.SetErrorText(String());
  FInfo.clear();
  FAffectedRows = 0;
  FInsertId = 0;
  FNet.ResetSequence();
  if (FNet.WriteCommand(command, argument, length) != 0) {
    // Too long to send: refused before a byte left, and the connection (with
    // any open transaction) stays as it was.
    if (FNet.ErrorCode() == PACKET_TOO_LARGE) {
      FNet.SetClientError(CR_NET_PACKET_TOO_LARGE);
      return -1;
    }
    // Nothing reached the server whole, so sending again cannot run the
    // command twice.
    FNet.Close();
    FreeFields();
    bool sent = false;
    if (TryReconnect()) {
      FNet.ResetSequence();
      sent = FNet.WriteCommand(command, argument, length) == 0;
    }
    if (!sent) {
      FNet.SetClientError(CR_SERVER_GONE_ERROR);
      return -1;
    }
  }
  if (leaveReply) return 0;
  if (FNet.SafeRead() >= 0) return 0;
  if (FNet.ErrorCode() == CR_SERVER_LOST) Close();
  return retry ? Command(command, argument, length, false, leaveReply) : -1;
}

bool TMysqlClient::Ping() {
  if (Command(COM_PING, nullptr, 0, ReconnectAllowed, false) != 0) return false;
  MarkUsed();
  return true;
}

bool TMysqlClient::MayHaveBeenDropped() const {
  return !FUsedSinceConnect || MysqlClockNow() - FLastUse >= IdleBeforePingMs;
}

void TMysqlClient::MarkUsed() {
  FUsedSinceConnect = true;
  FLastUse = MysqlClockNow();
}

std::unique_ptr<TMysqlResult> TMysqlClient::Query(const String& text, bool store, bool& ran) {
  ran = false;
  // The PING finds a connection the server dropped while it was idle and
  // re-opens it before the statement goes out; the statement itself is
  // never repeated. A connection in use answered a moment ago.
  if (ReconnectAllowed && MayHaveBeenDropped() && !Ping()) return nullptr;
  if (Command(COM_QUERY, text.data(), text.size(), false, true) != 0) return nullptr;
  const int replied = ReadQueryResult();
  if (FNet.IsOpen()) MarkUsed();
  if (replied != 0) return nullptr;
  std::unique_ptr<TMysqlResult> result;
  if (store) {
    result = StoreResult();
    FNet.Shrink();
  } else {
    result = UseResult();
  }
  ran = true;
  return result;
}

int TMysqlClient::FailMalformed() {
  FNet.Close();
  FreeFields();
  FStatus = csReady;
  FNet.SetClientError(CR_SERVER_LOST);
  return -1;
}

int TMysqlClient::ReadQueryResult() {
  int length = FNet.SafeRead();
  if (length < 0) return -1;
  FreeFields();
  const uint8_t* p = FNet.ReadPos();
  const uint8_t* end = p + length;
  uint64_t count;
  if (!ReadLengthCoded64(p, end, count)) return FailMalformed();
  if (count == NULL_LENGTH) return RefuseLocalFile(p, end);
  if (count == 0) return ReadOkPacket(p, end) ? 0 : FailMalformed();
  if (count > uint64_t(INT_MAX)) return FailMalformed();

  if (!(FServerStatus & SERVER_STATUS_AUTOCOMMIT)) FServerStatus |= SERVER_STATUS_IN_TRANS;
  uint64_t extra = 0;
  if (p < end && !ReadLengthCoded64(p, end, extra)) return FailMalformed();
  FExtraInfo = extra;
  std::unique_ptr<TMysqlRows> fields = ReadRows(FieldPacketColumns, nullptr);
  if (!fields) return -1;
  if (fields->GetRowCount() != count) return FailMalformed();
  UnpackFields(*fields, int(count), (FServerCapabilities & CLIENT_LONG_FLAG) != 0);
  FStatus = csResultPending;
  FFieldCount = int(count);
  return 0;
}

bool TMysqlClient::ReadOkPacket(const uint8_t* p, const uint8_t* end) {
  uint64_t affected, insertId;
  if (!ReadLengthCoded64(p, end, affected) || !ReadLengthCoded64(p, end, insertId)) return false;
  FAffectedRows = affected;
  FInsertId = insertId;
  if (FServerCapabilities & CLIENT_TRANSACTIONS) {
    if (end - p < 2) return false;
    FServerStatus = p[0] | p[1] << 8;
    p += 2;
  }
  uint64_t infoLength;
  if (p < end && ReadLengthCoded64(p, end, infoLength) && infoLength != 0 && infoLength != NULL_LENGTH)
    FInfo.assign(reinterpret_cast<const char*>(p), size_t(end - p));
  return true;
}

int TMysqlClient::RefuseLocalFile(const uint8_t* p, const uint8_t* end) {
  const String name(reinterpret_cast<const char*>(p), size_t(end - p));
  // An empty packet says "no file"; the server's reply to it keeps the
  // connection in step.
  static const uint8_t none = 0;
  if (FNet.WritePacket(&none, 0) != 0 || FNet.Flush() != 0) {
    FNet.Close();
    FNet.SetClientError(CR_SERVER_LOST);
    return -1;
  }
  const int length = FNet.SafeRead();
  if (length < 0 && FNet.ErrorCode() == CR_SERVER_LOST) return -1;
  // A reply other than OK or an error would leave the connection out of step.
  if (length > 0 && FNet.ReadPos()[0] != 0) FNet.Close();
  FNet.SetErrorCode(CR_UNKNOWN_ERROR);
  FNet.SetErrorText(Format("The server asked for the local file '%s'; local files are never sent", name));
  return -1;
}

std::unique_ptr<TMysqlRows> TMysqlClient::ReadRows(int columns, int* maxLengths) {
  int length = FNet.SafeRead();
  if (length < 0) return nullptr;
  std::unique_ptr<TMysqlRows> rows;
  try {
    rows = std::make_unique<TMysqlRows>(columns);
    while (!IsEndPacket(FNet.ReadPos(), length)) {
      if (!rows->AddRow(FNet.ReadPos(), size_t(length), maxLengths)) {
        FailMalformed();
        return nullptr;
      }
      length = FNet.SafeRead();
      if (length < 0) return nullptr;
    }
  } catch (const std::bad_alloc&) {
    // The rest of the result is still on the wire.
    FNet.Close();
    FNet.SetClientError(CR_OUT_OF_MEMORY);
    return nullptr;
  }
  return rows;
}

void TMysqlClient::UnpackFields(const TMysqlRows& rows, int count, bool longFlags) {
  FFields.assign(size_t(count), TMysqlField());
  for (int i = 0; i < count; ++i) {
    TMysqlField& f = FFields[size_t(i)];
    const char* const* v = rows.ValuesOf(size_t(i));
    const uint32_t* n = rows.LengthsOf(size_t(i));
    auto bytes = [&](int c) { return reinterpret_cast<const uint8_t*>(v[c]); };
    if (v[1]) f.Name.assign(v[1], n[1]);
    if (v[0]) f.Table.assign(v[0], n[0]);
    if (v[2]) f.Length = int(LoadLE(bytes(2), 3, n[2]));
    if (v[3]) f.Type = uint8_t(LoadLE(bytes(3), 1, n[3]));
    if (v[4]) {
      const size_t flagWidth = longFlags ? 2 : 1;
      f.Flags = int(LoadLE(bytes(4), flagWidth, n[4]));
      if (n[4] > flagWidth) f.Decimals = bytes(4)[flagWidth];
    }
    if (IsNumericField(f)) f.Flags |= NUM_FLAG;
  }
}

void TMysqlClient::FreeFields() {
  FFields.clear();
  FFieldCount = 0;
}
