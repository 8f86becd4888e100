// The SQL trace hook: publishes what the native layer does (statements,
// fetches, connections, transactions) to an outside SQL monitor through
// named shared memory, a mutex and four events. A background writer does the
// hand-over; a trace call only queues a record, and with no monitor attached
// it reads two counters and returns.
//
// Tracing is a Windows service: elsewhere MonitorHook() answers nullptr, so
// callers write
//   if (TMySQLMonitorHook* hook = MonitorHook()) hook->TraceConnect(this);
#pragma once

#include "Components.h"
#include "SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TNativeConnect;
class TNativeDataSet;

// What the program and its monitors share: named objects, open to every
// process, and the layout of the 2048 bytes of memory (integers are 32-bit
// little-endian; the wanted words and the counters are set by the monitors).
inline constexpr const char* MonitorSharedMemName = "MySQL.SQL.MONITOR.SharedMem";
inline constexpr const char* MonitorMutexName = "MySQL.SQL.MONITOR.Mutex";
inline constexpr const char* MonitorWriteEventName = "MySQL.SQL.MONITOR.WriteEvent";
inline constexpr const char* MonitorWriteFinishedEventName = "MySQL.SQL.MONITOR.WriteFinishedEvent";
inline constexpr const char* MonitorReadEventName = "MySQL.SQL.MONITOR.ReadEvent";
inline constexpr const char* MonitorReadFinishedEventName = "MySQL.SQL.MONITOR.ReadFinishedEvent";
inline constexpr unsigned MonitorSharedSize = 2048;
// The text chunk sits at offset 0.
inline constexpr size_t MonitorChunkSize = 2002;
enum : int {
  ofsTimeStamp = 2004, // date-time, a 64-bit float
  ofsWantTransaction = 2012,
  ofsWantConnect = 2016,
  ofsWantFetch = 2020,
  ofsWantExecute = 2024,
  ofsWantPrepare = 2028,
  ofsChunkLength = 2032,
  ofsTraceType = 2036,
  ofsReaderCount = 2040,
  ofsMonitorCount = 2044,
};

// The kind of a trace record, as the monitor reads it.
enum TTraceType : uint8_t { ttPrepare = 0, ttExecute = 1, ttFetch = 2, ttConnect = 3, ttTransaction = 4 };

class TMySQLMonitorHook : public TObject {
public:
  TMySQLMonitorHook();
  ~TMySQLMonitorHook() override;
  TMySQLMonitorHook(const TMySQLMonitorHook&) = delete;
  TMySQLMonitorHook& operator=(const TMySQLMonitorHook&) = delete;

  virtual void TracePrepare(const TNativeDataSet* cursor);
  virtual void TraceExecute(const TNativeDataSet* cursor);
  virtual void TraceFetch(const TNativeDataSet* cursor);
  virtual void TraceConnect(const TNativeConnect* connection);
  virtual void TraceDisconnect(const TNativeConnect* connection);
  virtual void TraceStartTransaction(const TNativeConnect* connection);
  virtual void TraceCommit(const TNativeConnect* connection);
  virtual void TraceRollback(const TNativeConnect* connection);

  bool GetEnabled() const { return FEnabled; }
  // Switching off stops and frees the writer.
  void SetEnabled(bool value);
  // The number of attached monitors; 0 while the shared memory is not mapped.
  int MonitorCount() const;

  struct TSharedObjects;

private:
  void Initialize();
  bool Wanted(int wantedOffset) const;
  void TraceConnection(const TNativeConnect* connection, int wantedOffset, const char* action,
                       TTraceType type);
  void Queue(const String& text, TTraceType type);

  bool FEnabled = true;
  bool FReady = false;
  std::unique_ptr<TSharedObjects> FShared;
};

// The process-wide hook, made on first use; nullptr where tracing does not
// exist and once the program is ending.
TMySQLMonitorHook* MonitorHook();
