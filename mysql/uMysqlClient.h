// One logged-in connection to a MySQL server: login, the command path, query
// replies and the result sets read from them. It speaks the dialect of
// servers before 4.1 (which current servers still accept) and never sends a
// statement twice.
#pragma once

#include "SysUtils.h"
#include "uMysqlNet.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Commands.
enum : uint8_t { COM_QUIT = 1, COM_INIT_DB = 2, COM_QUERY = 3, COM_PING = 14 };

// Client flag and server capability bits.
enum : uint32_t {
  CLIENT_LONG_PASSWORD = 0x0001,
  CLIENT_FOUND_ROWS = 0x0002,
  CLIENT_LONG_FLAG = 0x0004,
  CLIENT_CONNECT_WITH_DB = 0x0008,
  CLIENT_COMPRESS = 0x0020,
  CLIENT_LOCAL_FILES = 0x0080,
  CLIENT_PROTOCOL_41 = 0x0200,
  CLIENT_SSL = 0x0800,
  CLIENT_TRANSACTIONS = 0x2000,
  CLIENT_SECURE_CONNECTION = 0x8000,
  // Always sent. Local files are never offered: a server must not be able to
  // read the user's files.
  CLIENT_DEFAULT_FLAGS = CLIENT_SECURE_CONNECTION | CLIENT_TRANSACTIONS | CLIENT_LONG_FLAG |
                         CLIENT_FOUND_ROWS | CLIENT_LONG_PASSWORD,
  // Never sent, whatever the owner asks for: the client cannot honour them.
  CLIENT_REFUSED_FLAGS = CLIENT_LOCAL_FILES | CLIENT_PROTOCOL_41 | CLIENT_SSL,
};

// Server status bits.
enum : int { SERVER_STATUS_IN_TRANS = 1, SERVER_STATUS_AUTOCOMMIT = 2 };

enum TMysqlClientStatus : uint8_t { csReady = 0, csResultPending = 1, csUseResult = 2 };

// Milliseconds of a monotonic clock, from which a connection's idle time is
// read. Tests put a clock of their own in place; nullptr restores the
// system's.
using TMysqlClock = int64_t (*)();
void SetMysqlClock(TMysqlClock clock);
int64_t MysqlClockNow();

// The value of a length-coded NULL.
inline constexpr uint64_t NULL_LENGTH = ~uint64_t(0);

// One result column.
struct TMysqlField {
  String Name;
  String Table;
  uint8_t Type = 0;
  int Length = 0;    // declared display length
  int MaxLength = 0; // longest value among the stored rows
  int Flags = 0;     // column flags; 0x8000 added for numeric columns
  int Decimals = 0;
};

// Flag the client adds to numeric columns.
inline constexpr int NUM_FLAG = 0x8000;

// Rows as they came from the wire, each value kept with its length and a zero
// byte after it; NULL has no value. Rows live in a few large blocks, so a
// result of a million rows costs a million small records, not five million
// allocations.
class TMysqlRows {
public:
  explicit TMysqlRows(int columns) : FColumns(columns) {}
  TMysqlRows(const TMysqlRows&) = delete;
  TMysqlRows& operator=(const TMysqlRows&) = delete;

  int GetColumnCount() const { return FColumns; }
  uint64_t GetRowCount() const { return FRows.size(); }
  // The value of column `column` in row `row` (both in range), or nullptr for NULL.
  const char* Value(size_t row, int column) const { return ValuesOf(row)[column]; }
  uint32_t Length(size_t row, int column) const { return LengthsOf(row)[column]; }
  const char* const* ValuesOf(size_t row) const { return reinterpret_cast<const char* const*>(FRows[row]); }

  // Splits a row packet into `columns` values copied to `data` (room for
  // `length` + 1 bytes), each followed by a zero byte; false when a value
  // runs past the packet. `maxLengths`, when given, grows to the longest
  // values.
  static bool Split(const uint8_t* packet, size_t length, int columns, char* data, const char** values,
                    uint32_t* lengths, int* maxLengths);
  const uint32_t* LengthsOf(size_t row) const {
    return reinterpret_cast<const uint32_t*>(FRows[row] + FColumns * sizeof(char*));
  }

  // Splits one row packet into a new row; false when a value runs past the
  // packet. `maxLengths` (one per column) grows to the longest values.
  bool AddRow(const uint8_t* packet, size_t length, int* maxLengths);

private:
  char* Allocate(size_t bytes);

  int FColumns;
  std::vector<char*> FRows; // row records: values, lengths, then the bytes
  std::vector<std::unique_ptr<char[]>> FBlocks;
  char* FFree = nullptr;
  size_t FFreeSize = 0;
};

class TMysqlClient;

// The result set of one statement: buffered (all rows read at once, walked in
// both directions) or row by row (one row per step from the connection,
// which stays busy until the last row has arrived).
class TMysqlResult {
public:
  ~TMysqlResult();
  TMysqlResult(const TMysqlResult&) = delete;
  TMysqlResult& operator=(const TMysqlResult&) = delete;

  void First();
  void Last();
  void Prior();
  void Next();
  void Seek(int64_t row);
  // The column's bytes in the current row (followed by a zero byte), or
  // nullptr for NULL, no current row or a column out of range. Inline, as
  // Length: a walk over a large result asks for every value.
  const char* Value(int column) const {
    if (column < 0 || column >= FColumnCount) return nullptr;
    const char* const* values = CurrentValues();
    return values ? values[column] : nullptr;
  }
  // The value's length once FetchLengths has computed them, else 0.
  uint32_t Length(int column) const {
    if (!FLengthsValid || column < 0 || column >= FColumnCount) return 0;
    return FLengths[size_t(column)];
  }
  void FetchLengths(bool compute);
  const TMysqlField* Field(int column) const;
  // The first row whose columns hold the texts, or -1.
  int64_t Locate(const int* columns, const String* texts, int count, bool caseInsensitive) const;

  int GetColumnCount() const { return FColumnCount; }
  uint64_t GetRowCount() const { return FRowCount; }
  int64_t GetRowIndex() const { return FRowIndex; }
  bool GetEof() const { return FAtEnd; }
  bool GetBof() const { return FAtStart; }
  bool GetBuffered() const { return FBuffered; }
  int GetFetchState() const { return FFetchState; }
  const std::vector<TMysqlField>& GetFields() const { return FFields; }

private:
  friend class TMysqlClient;
  TMysqlResult(TMysqlClient* client, bool buffered) : FClient(client), FBuffered(buffered) {}
  int ReadOneRow();
  void Detach();
  const char* const* CurrentValues() const {
    if (!FBuffered) return FRowBuffer.data();
    return FRowIndex >= 0 ? FRows->ValuesOf(size_t(FRowIndex)) : nullptr;
  }
  void ClearRowBuffer();

  int FColumnCount = 0;
  uint64_t FRowCount = 0;
  std::vector<TMysqlField> FFields;
  TMysqlClient* FClient;
  bool FBuffered;
  std::vector<uint32_t> FLengths;
  // Row by row: the row last read, values pointing into FRowBytes.
  std::vector<const char*> FRowBuffer;
  std::vector<char> FRowBytes;
  // Buffered: all rows.
  std::unique_ptr<TMysqlRows> FRows;
  int64_t FRowIndex = -1;
  bool FAtEnd = false;
  bool FAtStart = true;
  bool FLengthsValid = false;
  int FFetchState = 0;
};

class TMysqlClient {
public:
  TMysqlClient();
  ~TMysqlClient();
  TMysqlClient(const TMysqlClient&) = delete;
  TMysqlClient& operator=(const TMysqlClient&) = delete;

  // True when logged in (or already connected). `kind` is the transport;
  // only TCP/IP exists.
  bool Connect(const String& host, const String& user, const String& password, const String& database,
               int port, const String& pipeName, TMysqlVioKind kind, uint32_t clientFlags);
  void Close();
  bool Reconnect();
  // Re-opens a lost connection, unless that is off or a transaction was open
  // (its work is gone with the connection; the caller must learn of it).
  bool TryReconnect();
  bool SelectDatabase(const String& database);

  // A connection idle this long, or not used since it was made, may have
  // been dropped by the server: a PING goes before its next statement.
  static constexpr int64_t IdleBeforePingMs = 1000;

  // 0 success, -1 failure (error code and text set). The command is sent
  // again only when it could not be sent at all; `retry` lets a command
  // that is safe to repeat (PING, INIT_DB) be repeated after a failed reply.
  int Command(uint8_t command, const void* argument, size_t length, bool retry, bool leaveReply);
  bool Ping();
  // The statement's result set (none for statements without one); `ran`
  // says whether the statement was executed. A connection that may have
  // been dropped while idle is pinged (and re-opened) first.
  std::unique_ptr<TMysqlResult> Query(const String& text, bool store, bool& ran);
  int ReadQueryResult();
  std::unique_ptr<TMysqlResult> StoreResult();
  std::unique_ptr<TMysqlResult> UseResult();
  void FreeFields();

  int ErrorCode() const { return FNet.ErrorCode(); }
  const String& ErrorText() const { return FNet.ErrorText(); }
  bool IsConnected() const { return FNet.IsOpen(); }
  TMysqlNet& Net() { return FNet; }

  const String& GetHost() const { return FHost; }
  const String& GetUser() const { return FUser; }
  const String& GetDatabase() const { return FDatabase; }
  int GetPort() const { return FPort; }
  const String& GetServerVersion() const { return FServerVersion; }
  uint32_t GetServerCapabilities() const { return FServerCapabilities; }
  int GetServerStatus() const { return FServerStatus; }
  int GetServerLanguage() const { return FServerLanguage; }
  uint32_t GetThreadId() const { return FThreadId; }
  uint64_t GetAffectedRows() const { return FAffectedRows; }
  uint64_t GetInsertId() const { return FInsertId; }
  uint64_t GetExtraInfo() const { return FExtraInfo; }
  const String& GetInfo() const { return FInfo; }
  uint32_t GetClientFlags() const { return FClientFlags; }
  TMysqlClientStatus GetStatus() const { return FStatus; }
  int GetFieldCount() const { return FFieldCount; }
  const std::vector<TMysqlField>& GetFields() const { return FFields; }

  // Seconds; passed to the transport at connect.
  int Timeout = 30;
  // A lost connection may be re-opened.
  bool ReconnectAllowed = true;
  // Compression is taken up whenever the server offers it; the program never
  // turns this off, benchmarks do to measure the plain protocol.
  bool CompressionAllowed = true;
  // Run after every connect and reconnect, in order; the session is not
  // used when one fails.
  std::vector<String> SessionInit;

private:
  friend class TMysqlResult;
  bool ResultPending();
  bool ReadGreeting();
  bool SendAuthentication();
  bool ReadAuthReply();
  bool RunSessionInit();
  bool ReadOkPacket(const uint8_t* p, const uint8_t* end);
  int RefuseLocalFile(const uint8_t* p, const uint8_t* end);
  std::unique_ptr<TMysqlRows> ReadRows(int columns, int* maxLengths);
  void UnpackFields(const TMysqlRows& rows, int count, bool longFlags);
  int FailMalformed();
  void ResetSession();
  bool MayHaveBeenDropped() const;
  void MarkUsed();

  TMysqlNet FNet;
  String FHost, FUser, FPassword, FPipeName, FDatabase;
  int FPort = 3306;
  TMysqlVioKind FKind = vkTcp;
  String FScramble;
  uint32_t FThreadId = 0;
  uint64_t FAffectedRows = 0;
  uint64_t FInsertId = 0;
  TMysqlClientStatus FStatus = csReady;
  uint32_t FClientFlags = CLIENT_DEFAULT_FLAGS;
  String FServerVersion;
  uint32_t FServerCapabilities = 0;
  int FServerStatus = SERVER_STATUS_AUTOCOMMIT;
  int FServerLanguage = 0;
  uint64_t FExtraInfo = 0;
  String FInfo;
  int FFieldCount = 0;
  std::vector<TMysqlField> FFields;
  TMysqlResult* FUseResult = nullptr;
  // A reply has come since the connection was made, the last at FLastUse.
  bool FUsedSinceConnect = false;
  int64_t FLastUse = 0;
};

// Length-coded numbers of the reply packets. Each reads at `p`, moves `p`
// past the number and answers false when the number runs past `end`.
bool ReadLengthCoded64(const uint8_t*& p, const uint8_t* end, uint64_t& value);
