#include "MySQLMonitor.h"

#include "DB.h"
#include "DateUtils.h"
#include "SyncObjs.h"
#include "mySQLAccess.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// Every wait on the shared objects goes in steps of this; a monitor that
// lets a step pass unanswered is counted out.
constexpr DWORD kWaitStep = 1000;
// A monitor that keeps the mutex this many steps costs the record its turn,
// never the writer.
constexpr int kMutexSteps = 5;
// Once told to stop, the writer delivers what it can within this; a stuck
// monitor must not hold up the program's end.
constexpr DWORD kStopGrace = 1000;

class EMySQLError : public EDatabaseError {
public:
  using EDatabaseError::EDatabaseError;
};

[[noreturn]] void RaiseSharedResourceError() {
  throw EMySQLError(Format("Cannot create shared resource. (Windows error %d)", int(GetLastError())));
}

// The monitors' view of a program: its module name, the class library's
// default application title.
const String& ApplicationTitle() {
  static const String title = [] {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    String name = path;
    name = name.substr(name.find_last_of("\\/:") + 1);
    return name.substr(0, name.rfind('.'));
  }();
  return title;
}

// Control characters other than line breaks would upset a monitor's display.
String EscapeControlCharacters(const String& text) {
  String out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 && c != '\r' && c != '\n')
      out += "#$" + IntToHex(byte, 2);
    else
      out += c;
  }
  return out;
}

// Lowers a counter that other processes change too, never below 0 (a
// monitor that leaves after being counted out would otherwise leave it
// negative); gives the new value.
LONG DecrementIfPositive(volatile LONG* counter) {
  for (;;) {
    const LONG value = *counter;
    if (value <= 0) return value;
    if (InterlockedCompareExchange(counter, value - 1, value) == value) return value - 1;
  }
}

} // namespace

struct TMySQLMonitorHook::TSharedObjects {
  HANDLE Mapping = nullptr;
  HANDLE Mutex = nullptr;
  HANDLE WriteEvent = nullptr;
  HANDLE WriteFinishedEvent = nullptr;
  HANDLE ReadEvent = nullptr;
  HANDLE ReadFinishedEvent = nullptr;
  char* View = nullptr;

  TSharedObjects() = default;
  TSharedObjects(const TSharedObjects&) = delete;
  TSharedObjects& operator=(const TSharedObjects&) = delete;
  ~TSharedObjects() {
    if (View) UnmapViewOfFile(View);
    for (HANDLE handle : {Mapping, Mutex, WriteEvent, WriteFinishedEvent, ReadEvent, ReadFinishedEvent})
      if (handle) CloseHandle(handle);
  }

  volatile LONG* Word(int offset) const { return reinterpret_cast<volatile LONG*>(View + offset); }
  LONG Read(int offset) const { return *Word(offset); }
  void Write(int offset, LONG value) const { InterlockedExchange(Word(offset), value); }
};

namespace {

struct TMySQLTraceObject {
  TTraceType Type;
  String Text;
  TDateTime TimeStamp;
};

// Drains the queue into the shared memory, one chunk at a time, on its own
// thread: the hand-over waits for the monitors, the tracing thread never
// does.
class TMonitorWriterThread {
public:
  explicit TMonitorWriterThread(const TMySQLMonitorHook::TSharedObjects& shared)
      : FShared(shared), FStopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
        FThread([this] { Execute(); }) {}

  ~TMonitorWriterThread() {
    {
      std::lock_guard lock(FLock);
      FTerminated = true;
    }
    FStopDeadline = GetTickCount64() + kStopGrace;
    FStopping = true;
    if (FStopEvent) SetEvent(FStopEvent);
    FWake.notify_all();
    FThread.join();
    if (FStopEvent) CloseHandle(FStopEvent);
  }

  TMonitorWriterThread(const TMonitorWriterThread&) = delete;
  TMonitorWriterThread& operator=(const TMonitorWriterThread&) = delete;

  void Enqueue(String text, TTraceType type) {
    {
      std::lock_guard lock(FLock);
      FQueue.push_back({type, std::move(text), Now()});
    }
    FWake.notify_one();
  }

private:
  enum TWait { wSignalled, wTimedOut, wGiveUp };

  void Execute() {
    for (;;) {
      std::unique_lock lock(FLock);
      FWake.wait(lock, [this] { return FTerminated || !FQueue.empty(); });
      if (FQueue.empty()) return;
      if (FShared.Read(ofsMonitorCount) <= 0) {
        FQueue.clear();
        continue;
      }
      const TMySQLTraceObject record = std::move(FQueue.front());
      FQueue.pop_front();
      lock.unlock();
      if (!WriteTraceRecord(record)) {
        lock.lock();
        FQueue.clear();
      }
    }
  }

  // False when the writer gives up for good (it is stopping, or a wait
  // failed); the rest of the queue is then dropped.
  bool WriteTraceRecord(const TMySQLTraceObject& record) {
    const TWait locked = LockMutex();
    if (locked != wSignalled) return locked == wTimedOut;
    struct TRelease {
      HANDLE Mutex;
      ~TRelease() { ReleaseMutex(Mutex); }
    } release{FShared.Mutex};
    if (FShared.Read(ofsMonitorCount) <= 0) return true;

    const String text = EscapeControlCharacters(record.Text);
    for (size_t pos = 0; pos < text.size(); pos += MonitorChunkSize) {
      const size_t length = std::min(MonitorChunkSize, text.size() - pos);
      FShared.Write(ofsTraceType, record.Type);
      std::memcpy(FShared.View + ofsTimeStamp, &record.TimeStamp, sizeof record.TimeStamp);
      FShared.Write(ofsChunkLength, LONG(length));
      std::memcpy(FShared.View, text.data() + pos, length);
      if (!PublishTraceChunk()) return false;
    }
    return true;
  }

  // An abandoned mutex (its monitor died holding it) is ours like any other.
  TWait LockMutex() {
    for (int step = 0; step < kMutexSteps; ++step) {
      const TWait result = WaitStep(FShared.Mutex);
      if (result != wTimedOut) return result;
    }
    return wTimedOut;
  }

  bool PublishTraceChunk() {
    volatile LONG* monitors = FShared.Word(ofsMonitorCount);
    volatile LONG* readers = FShared.Word(ofsReaderCount);
    for (;;) {
      const TWait ready = WaitStep(FShared.ReadEvent);
      if (ready == wSignalled) break;
      if (ready == wGiveUp) return false;
      const LONG count = DecrementIfPositive(monitors);
      if (*readers == count - 1 || count <= 0) SetEvent(FShared.ReadEvent);
    }

    ResetEvent(FShared.WriteFinishedEvent);
    ResetEvent(FShared.ReadFinishedEvent);
    SetEvent(FShared.WriteEvent);
    bool delivered = true;
    for (;;) {
      const TWait read = WaitStep(FShared.ReadFinishedEvent);
      if (read == wSignalled) break;
      if (read == wGiveUp) {
        delivered = false;
        break;
      }
      // A count left negative by a reader that died would never reach 0.
      if (*readers <= 0 || InterlockedDecrement(readers) <= 0) SetEvent(FShared.ReadFinishedEvent);
    }
    ResetEvent(FShared.WriteEvent);
    SetEvent(FShared.WriteFinishedEvent);
    return delivered;
  }

  // One step of a wait. Once stopping, only the grace time is left, and a
  // wait that outlasts it gives up rather than count anybody out.
  TWait WaitStep(HANDLE handle) {
    if (!FStopping) {
      const HANDLE handles[2] = {handle, FStopEvent};
      const DWORD result = WaitForMultipleObjects(FStopEvent ? 2 : 1, handles, FALSE, kWaitStep);
      if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) return wSignalled;
      if (result == WAIT_TIMEOUT) return wTimedOut;
      if (result != WAIT_OBJECT_0 + 1) return wGiveUp;
    }
    const ULONGLONG now = GetTickCount64();
    const ULONGLONG deadline = FStopDeadline;
    if (now >= deadline) return wGiveUp;
    const DWORD result = WaitForSingleObject(handle, DWORD(std::min<ULONGLONG>(kWaitStep, deadline - now)));
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED ? wSignalled : wGiveUp;
  }

  const TMySQLMonitorHook::TSharedObjects& FShared;
  HANDLE FStopEvent;
  std::atomic<ULONGLONG> FStopDeadline{0};
  std::atomic<bool> FStopping{false};
  std::mutex FLock;
  std::condition_variable FWake;
  std::deque<TMySQLTraceObject> FQueue;
  bool FTerminated = false;
  std::thread FThread;
};

// Set when the process-wide state is gone; plain, so that destructors that
// run after it can still ask.
bool gFinalized = false;
std::atomic<TMySQLMonitorHook*> gHook{nullptr};

struct TMonitorUnit {
  // Guards the hook's creation and the writer's.
  TCriticalSection Lock;
  std::unique_ptr<TMySQLMonitorHook> Hook;
  std::unique_ptr<TMonitorWriterThread> Writer;

  ~TMonitorUnit() {
    gFinalized = true;
    gHook = nullptr;
    Writer.reset();
    Hook.reset();
  }
} gUnit;

void FreeWriter() {
  std::lock_guard guard(gUnit.Lock);
  gUnit.Writer.reset();
}

} // namespace

TMySQLMonitorHook* MonitorHook() {
  if (gFinalized) return nullptr;
  if (TMySQLMonitorHook* hook = gHook) return hook;
  std::lock_guard guard(gUnit.Lock);
  if (!gUnit.Hook) {
    gUnit.Hook = std::make_unique<TMySQLMonitorHook>();
    gHook = gUnit.Hook.get();
  }
  return gUnit.Hook.get();
}

TMySQLMonitorHook::TMySQLMonitorHook() {
  try {
    Initialize();
  } catch (const EMySQLError&) {
    SetEnabled(false);
  }
}

TMySQLMonitorHook::~TMySQLMonitorHook() {
  // The writer works in this hook's shared memory.
  FreeWriter();
}

// The objects get a NULL access list: every process may open them, whoever
// made them first (an empty list would let nobody in).
void TMySQLMonitorHook::Initialize() {
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE))
    RaiseSharedResourceError();
  SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), &descriptor, TRUE};

  auto shared = std::make_unique<TSharedObjects>();
  shared->Mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                       MonitorSharedSize, MonitorSharedMemName);
  if (!shared->Mapping) RaiseSharedResourceError();
  const bool created = GetLastError() != ERROR_ALREADY_EXISTS;

  // Creating opens what exists already, so a process that finds the memory
  // before its maker has made the events still gets them.
  struct TEventSpec {
    HANDLE& Handle;
    const char* Name;
    BOOL Set;
  };
  shared->Mutex = CreateMutexA(&attributes, FALSE, MonitorMutexName);
  if (!shared->Mutex) RaiseSharedResourceError();
  for (const TEventSpec& event :
       {TEventSpec{shared->WriteEvent, MonitorWriteEventName, FALSE},
        TEventSpec{shared->WriteFinishedEvent, MonitorWriteFinishedEventName, TRUE},
        TEventSpec{shared->ReadEvent, MonitorReadEventName, FALSE},
        TEventSpec{shared->ReadFinishedEvent, MonitorReadFinishedEventName, FALSE}}) {
    event.Handle = CreateEventA(&attributes, TRUE, event.Set, event.Name);
    if (!event.Handle) RaiseSharedResourceError();
  }

  shared->View = static_cast<char*>(MapViewOfFile(shared->Mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  if (!shared->View) RaiseSharedResourceError();
  if (created)
    for (int offset = ofsWantTransaction; offset <= ofsMonitorCount; offset += 4)
      shared->Write(offset, 0);
  for (int offset : {ofsMonitorCount, ofsReaderCount}) {
    const LONG value = shared->Read(offset);
    if (value < 0) InterlockedCompareExchange(shared->Word(offset), 0, value);
  }
  FShared = std::move(shared);
  FReady = true;
}

void TMySQLMonitorHook::SetEnabled(bool value) {
  if (!value) FreeWriter();
  FEnabled = value;
}

int TMySQLMonitorHook::MonitorCount() const {
  return FReady ? int(FShared->Read(ofsMonitorCount)) : 0;
}

bool TMySQLMonitorHook::Wanted(int wantedOffset) const {
  return FEnabled && MonitorCount() > 0 && FShared->Read(wantedOffset) > 0;
}

void TMySQLMonitorHook::Queue(const String& text, TTraceType type) {
  if (!FReady) {
    try {
      Initialize();
    } catch (const EMySQLError&) {
      SetEnabled(false);
      return;
    }
  }
  String record = "\r\n[Application: " + ApplicationTitle() + "]\r\n" + text;
  std::lock_guard guard(gUnit.Lock);
  if (MonitorCount() <= 0) {
    // The monitors left: an idle writer has nothing to wait for.
    gUnit.Writer.reset();
    return;
  }
  if (!gUnit.Writer) gUnit.Writer = std::make_unique<TMonitorWriterThread>(*FShared);
  gUnit.Writer->Enqueue(std::move(record), type);
}

namespace {

// What a cursor's records are headed with: "Query" for a statement, else its
// table. The layer opens cursors from statements only and keeps no table
// name for them, so the table's place stays empty.
String CursorSource(const TNativeDataSet* cursor) {
  return cursor->GetStatementText().empty() ? String() : String("Query");
}

} // namespace

void TMySQLMonitorHook::TracePrepare(const TNativeDataSet* cursor) {
  if (Wanted(ofsWantPrepare))
    Queue(CursorSource(cursor) + ": [Prepare] " + cursor->GetStatementText() + "\r\n", ttPrepare);
}

void TMySQLMonitorHook::TraceExecute(const TNativeDataSet* cursor) {
  if (Wanted(ofsWantExecute))
    Queue(CursorSource(cursor) + ": [Execute] " + cursor->GetStatementText() + "\r\n", ttExecute);
}

void TMySQLMonitorHook::TraceFetch(const TNativeDataSet* cursor) {
  if (Wanted(ofsWantFetch))
    Queue(CursorSource(cursor) + ": [Fetch] Row # " + IntToStr(cursor->CurrentRowIndex()) + "\r\n", ttFetch);
}

void TMySQLMonitorHook::TraceConnection(const TNativeConnect* connection, int wantedOffset,
                                        const char* action, TTraceType type) {
  if (Wanted(wantedOffset)) Queue(connection->GetDatabase() + action, type);
}

void TMySQLMonitorHook::TraceConnect(const TNativeConnect* connection) {
  TraceConnection(connection, ofsWantConnect, ": [Connect]", ttConnect);
}

void TMySQLMonitorHook::TraceDisconnect(const TNativeConnect* connection) {
  TraceConnection(connection, ofsWantConnect, ": [Disconnect]", ttConnect);
}

void TMySQLMonitorHook::TraceStartTransaction(const TNativeConnect* connection) {
  TraceConnection(connection, ofsWantTransaction, ": [Start transaction]", ttTransaction);
}

void TMySQLMonitorHook::TraceCommit(const TNativeConnect* connection) {
  TraceConnection(connection, ofsWantTransaction, ": [Commit (Hard commit)]", ttTransaction);
}

void TMySQLMonitorHook::TraceRollback(const TNativeConnect* connection) {
  TraceConnection(connection, ofsWantTransaction, ": [Rollback]", ttTransaction);
}
