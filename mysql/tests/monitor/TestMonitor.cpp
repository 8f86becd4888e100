// A small SQL monitor for the trace hook's tests, and a second traced
// program. Modes:
//   read  WANTED CHUNKS OUTFILE STOPEVENT  attach, read CHUNKS chunks into
//                                          OUTFILE, detach
//   stuck WANTED STOPEVENT                 attach and never read
//   hold  WANTED STOPEVENT                 attach and keep the mutex
//   die   WANTED                           attach, take the mutex and end
//                                          without letting go of either
//   trace DATABASE COUNT                   trace COUNT connects and end
// WANTED holds the letters of the traces wanted: p(repare), e(xecute),
// f(etch), c(onnect), t(ransaction). The modes that wait end when the named
// event STOPEVENT is set, detaching first. Each chunk read goes to OUTFILE as
// "type=T length=N stamp=S" and a line feed, the N bytes, a line feed.
#include "Classes.h"
#include "MySQLMonitor.h"
#include "mySQLAccess.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kPoll = 50;
// However the test goes, a monitor never outlives this.
constexpr ULONGLONG kLifetime = 120000;

struct TShared {
  HANDLE Mapping, Mutex, WriteEvent, WriteFinishedEvent, ReadEvent, ReadFinishedEvent;
  char* View;
  volatile LONG* Word(int offset) const { return reinterpret_cast<volatile LONG*>(View + offset); }
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "TestMonitor: %s failed (Windows error %lu)\n", what, GetLastError());
  std::exit(2);
}

// A monitor may come before or after the traced program: it makes the
// objects when they are not there yet, open to every process.
TShared OpenShared() {
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
  SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), &descriptor, FALSE};
  TShared shared{};
  shared.Mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, MonitorSharedSize,
                                      MonitorSharedMemName);
  if (!shared.Mapping) Fail("CreateFileMapping");
  shared.Mutex = CreateMutexA(&attributes, FALSE, MonitorMutexName);
  shared.WriteEvent = CreateEventA(&attributes, TRUE, FALSE, MonitorWriteEventName);
  shared.WriteFinishedEvent = CreateEventA(&attributes, TRUE, TRUE, MonitorWriteFinishedEventName);
  shared.ReadEvent = CreateEventA(&attributes, TRUE, FALSE, MonitorReadEventName);
  shared.ReadFinishedEvent = CreateEventA(&attributes, TRUE, FALSE, MonitorReadFinishedEventName);
  if (!shared.Mutex || !shared.WriteEvent || !shared.WriteFinishedEvent || !shared.ReadEvent ||
      !shared.ReadFinishedEvent)
    Fail("CreateMutex/CreateEvent");
  shared.View = static_cast<char*>(MapViewOfFile(shared.Mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  if (!shared.View) Fail("MapViewOfFile");
  return shared;
}

void Attach(const TShared& shared, const char* wanted) {
  // A ReadEvent left set by a monitor that was counted out would let the
  // writer hand over before this one is ready.
  ResetEvent(shared.ReadEvent);
  const struct {
    char Letter;
    int Offset;
  } words[] = {{'p', ofsWantPrepare},
               {'e', ofsWantExecute},
               {'f', ofsWantFetch},
               {'c', ofsWantConnect},
               {'t', ofsWantTransaction}};
  for (const auto& word : words)
    InterlockedExchange(shared.Word(word.Offset), std::strchr(wanted, word.Letter) ? 1 : 0);
  InterlockedIncrement(shared.Word(ofsMonitorCount));
}

// Leaves the count as it is when the writer already counted this monitor out.
void Detach(const TShared& shared) {
  volatile LONG* count = shared.Word(ofsMonitorCount);
  for (LONG value = *count; value > 0; value = *count)
    if (InterlockedCompareExchange(count, value - 1, value) == value) break;
  if (*count <= 0)
    for (int offset = ofsWantTransaction; offset <= ofsWantPrepare; offset += 4)
      InterlockedExchange(shared.Word(offset), 0);
}

class TStopper {
public:
  explicit TStopper(const char* name) : FEvent(OpenEventA(SYNCHRONIZE, FALSE, name)) {
    if (!FEvent) Fail("OpenEvent");
  }
  // Waits up to one poll for `handle`; false when the monitor must stop.
  bool Wait(HANDLE handle, bool& signalled) const {
    const DWORD result = WaitForSingleObject(handle, kPoll);
    signalled = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    return !Stopped();
  }
  bool Stopped() const {
    return WaitForSingleObject(FEvent, 0) == WAIT_OBJECT_0 || GetTickCount64() - FStart > kLifetime;
  }
  // Waits for `handle` until it is set (true) or the monitor must stop.
  bool WaitFor(HANDLE handle) const {
    bool signalled = false;
    while (Wait(handle, signalled))
      if (signalled) return true;
    return false;
  }

private:
  HANDLE FEvent;
  ULONGLONG FStart = GetTickCount64();
};

LONG ReadWord(const TShared& shared, int offset) {
  return *shared.Word(offset);
}

int ReadChunks(const char* wanted, int chunks, const char* outName, const char* stopName) {
  const TStopper stopper(stopName);
  const TShared shared = OpenShared();
  FILE* out = std::fopen(outName, "wb");
  if (!out) Fail("fopen");
  Attach(shared, wanted);
  for (int n = 0; n < chunks; ++n) {
    if (!stopper.WaitFor(shared.WriteFinishedEvent)) break;
    InterlockedIncrement(shared.Word(ofsReaderCount));
    SetEvent(shared.ReadEvent);
    if (!stopper.WaitFor(shared.WriteEvent)) {
      InterlockedDecrement(shared.Word(ofsReaderCount));
      break;
    }
    const LONG length = ReadWord(shared, ofsChunkLength);
    double stamp;
    std::memcpy(&stamp, shared.View + ofsTimeStamp, sizeof stamp);
    std::fprintf(out, "type=%ld length=%ld stamp=%.17g\n", ReadWord(shared, ofsTraceType), length, stamp);
    std::fwrite(shared.View, 1, size_t(length), out);
    std::fputc('\n', out);
    std::fflush(out);
    ResetEvent(shared.ReadEvent);
    if (InterlockedDecrement(shared.Word(ofsReaderCount)) <= 0) SetEvent(shared.ReadFinishedEvent);
  }
  Detach(shared);
  std::fclose(out);
  return 0;
}

int Stuck(const char* wanted, const char* stopName) {
  const TStopper stopper(stopName);
  const TShared shared = OpenShared();
  Attach(shared, wanted);
  while (!stopper.Stopped())
    Sleep(kPoll);
  Detach(shared);
  return 0;
}

int Hold(const char* wanted, const char* stopName) {
  const TStopper stopper(stopName);
  const TShared shared = OpenShared();
  if (!stopper.WaitFor(shared.Mutex)) return 1;
  Attach(shared, wanted);
  while (!stopper.Stopped())
    Sleep(kPoll);
  Detach(shared);
  ReleaseMutex(shared.Mutex);
  return 0;
}

int Die(const char* wanted) {
  const TShared shared = OpenShared();
  if (WaitForSingleObject(shared.Mutex, 10000) != WAIT_OBJECT_0) return 1;
  Attach(shared, wanted);
  // Ends with the mutex owned and the count raised.
  ExitProcess(0);
}

int Trace(const char* database, int count) {
  TNativeConnect connection(0);
  TStringList params;
  params.Add(String("DatabaseName=") + database);
  params.Add("Port=3306");
  connection.ReadParams(params);
  for (int n = 0; n < count; ++n)
    if (TMySQLMonitorHook* hook = MonitorHook()) hook->TraceConnect(&connection);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "read" && argc == 6) return ReadChunks(argv[2], std::atoi(argv[3]), argv[4], argv[5]);
  if (mode == "stuck" && argc == 4) return Stuck(argv[2], argv[3]);
  if (mode == "hold" && argc == 4) return Hold(argv[2], argv[3]);
  if (mode == "die" && argc == 3) return Die(argv[2]);
  if (mode == "trace" && argc == 4) return Trace(argv[2], std::atoi(argv[3]));
  std::fprintf(stderr, "usage: TestMonitor read|stuck|hold|die|trace ...\n");
  return 2;
}
