// The SQL trace hook against a monitor in another process
// (tests/monitor/TestMonitor.cpp, built beside this executable).
#include "Classes.h"
#include "DateUtils.h"
#include "MySQLMonitor.h"
#include "mySQLAccess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

String ExecutableName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

String MonitorProgram() {
  const String self = ExecutableName();
  return self.substr(0, self.find_last_of('\\') + 1) + "mysql_test_monitor.exe";
}

// The header every record starts with, for a program of that file name.
String RecordHeader(const String& programPath) {
  String name = programPath.substr(programPath.find_last_of('\\') + 1);
  return "\r\n[Application: " + name.substr(0, name.rfind('.')) + "]\r\n";
}

int ThreadCount() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  CloseHandle(snapshot);
  return count;
}

// Polls `done` for up to `ms` milliseconds.
bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(20))
    if (done()) return true;
  return done();
}

// A process of the test monitor program; one still running when the test
// ends is ended through its own handle.
class TChild {
public:
  explicit TChild(const String& arguments) {
    String commandLine = "\"" + MonitorProgram() + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    FStarted = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &FInfo);
  }
  ~TChild() {
    if (!FStarted) return;
    if (WaitForSingleObject(FInfo.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(FInfo.hProcess, 1);
      WaitForSingleObject(FInfo.hProcess, 10000);
    }
    CloseHandle(FInfo.hThread);
    CloseHandle(FInfo.hProcess);
  }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;

  bool Started() const { return FStarted; }
  // True when the process ended within `ms` with exit code 0.
  bool EndsCleanly(DWORD ms) const {
    DWORD code = 1;
    return WaitForSingleObject(FInfo.hProcess, ms) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(FInfo.hProcess, &code) && code == 0;
  }

private:
  PROCESS_INFORMATION FInfo{};
  bool FStarted = false;
};

// Waits until no program's writer is inside a hand-over (it holds the
// mutex throughout); records queued for a monitor that was counted out are
// then dropped rather than handed to the next one.
bool WaitForHandOversToEnd() {
  const HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, MonitorMutexName);
  if (!mutex) return false;
  const DWORD result = WaitForSingleObject(mutex, 15000);
  const bool owned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  if (owned) ReleaseMutex(mutex);
  CloseHandle(mutex);
  return owned;
}

struct TChunk {
  int Type = -1;
  double TimeStamp = 0;
  String Text;
};

String UniqueName(const char* what) {
  static int serial = 0;
  return Format("VelmoraMonitorTest.%s.%d.%d", what, int(GetCurrentProcessId()), ++serial);
}

// An attached monitor of one mode (see the program's usage); it detaches
// when the test ends with it.
class TTestMonitor {
public:
  TTestMonitor(const String& mode, const String& wanted, int chunks = 0)
      : FStopName(UniqueName("Stop")), FStop(CreateEventA(nullptr, TRUE, FALSE, FStopName.c_str())) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    FOutName = String(temp) + UniqueName("Chunks") + ".txt";
    String arguments = mode + " " + wanted;
    if (mode == "read") arguments += " " + IntToStr(chunks) + " \"" + FOutName + "\"";
    if (mode != "die") arguments += " " + FStopName;
    FChild = std::make_unique<TChild>(arguments);
  }
  ~TTestMonitor() {
    SetEvent(FStop);
    FChild.reset();
    CloseHandle(FStop);
    DeleteFileA(FOutName.c_str());
  }
  TTestMonitor(const TTestMonitor&) = delete;
  TTestMonitor& operator=(const TTestMonitor&) = delete;

  bool Attached() const {
    return FChild->Started() && WaitUntil([] { return MonitorHook()->MonitorCount() > 0; }, 10000);
  }

  // What a monitor in "read" mode received, once it has its chunks.
  std::vector<TChunk> Chunks() const {
    std::vector<TChunk> chunks;
    if (!FChild->EndsCleanly(30000)) return chunks;
    FILE* in = std::fopen(FOutName.c_str(), "rb");
    if (!in) return chunks;
    TChunk chunk;
    int length = 0;
    // The header line is read whole: the chunk itself may begin with blanks.
    char header[128];
    while (std::fgets(header, sizeof header, in) &&
           std::sscanf(header, "type=%d length=%d stamp=%lf", &chunk.Type, &length, &chunk.TimeStamp) == 3) {
      chunk.Text.assign(size_t(length), '\0');
      if (std::fread(chunk.Text.data(), 1, size_t(length), in) != size_t(length) || std::fgetc(in) != '\n')
        break;
      chunks.push_back(chunk);
    }
    std::fclose(in);
    return chunks;
  }

private:
  String FStopName;
  HANDLE FStop;
  String FOutName;
  std::unique_ptr<TChild> FChild;
};

class MonitorTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(Hook, nullptr);
    ASSERT_TRUE(Hook->GetEnabled()) << "the shared objects could not be set up";
    ASSERT_EQ(Hook->MonitorCount(), 0) << "a monitor of another test is still attached";
    TStringList params;
    params.Add("DatabaseName=velmora_trace");
    params.Add("Port=3306");
    Connection.ReadParams(params);
  }

  // A statement cursor whose text is set while no monitor listens.
  std::unique_ptr<TNativeDataSet> Statement(const String& text) {
    std::unique_ptr<TNativeDataSet> cursor(Connection.NewStatement());
    cursor->SetStatementText(text);
    return cursor;
  }

  TMySQLMonitorHook* Hook = MonitorHook();
  TNativeConnect Connection{0};
  const String Header = RecordHeader(ExecutableName());
};

TEST_F(MonitorTest, NothingIsQueuedAndNoWriterRunsWithoutAMonitor) {
  // Switching off frees a writer that earlier tests left.
  Hook->SetEnabled(false);
  Hook->SetEnabled(true);
  const auto cursor = Statement("select 1");
  const int threads = ThreadCount();
  Hook->TracePrepare(cursor.get());
  Hook->TraceExecute(cursor.get());
  Hook->TraceFetch(cursor.get());
  Hook->TraceConnect(&Connection);
  Hook->TraceCommit(&Connection);
  EXPECT_EQ(ThreadCount(), threads);

  // The same count shows the writer once a monitor listens.
  TTestMonitor monitor("read", "c", 1);
  ASSERT_TRUE(monitor.Attached());
  Hook->TraceConnect(&Connection);
  EXPECT_EQ(ThreadCount(), threads + 1);
  EXPECT_EQ(monitor.Chunks().size(), 1u);
}

TEST_F(MonitorTest, EachTraceSendsItsTextAndType) {
  const auto cursor = Statement("select 1");
  const struct {
    std::function<void()> Trace;
    int Type;
    String Text;
  } cases[] = {
      {[&] { Hook->TracePrepare(cursor.get()); }, ttPrepare, "Query: [Prepare] select 1\r\n"},
      {[&] { Hook->TraceExecute(cursor.get()); }, ttExecute, "Query: [Execute] select 1\r\n"},
      {[&] { Hook->TraceFetch(cursor.get()); }, ttFetch, "Query: [Fetch] Row # -1\r\n"},
      {[&] { Hook->TraceConnect(&Connection); }, ttConnect, "velmora_trace: [Connect]"},
      {[&] { Hook->TraceDisconnect(&Connection); }, ttConnect, "velmora_trace: [Disconnect]"},
      {[&] { Hook->TraceStartTransaction(&Connection); }, ttTransaction,
       "velmora_trace: [Start transaction]"},
      {[&] { Hook->TraceCommit(&Connection); }, ttTransaction, "velmora_trace: [Commit (Hard commit)]"},
      {[&] { Hook->TraceRollback(&Connection); }, ttTransaction, "velmora_trace: [Rollback]"},
  };
  TTestMonitor monitor("read", "pefct", int(std::size(cases)));
  ASSERT_TRUE(monitor.Attached());
  for (const auto& c : cases)
    c.Trace();
  const std::vector<TChunk> chunks = monitor.Chunks();
  ASSERT_EQ(chunks.size(), std::size(cases));
  for (size_t n = 0; n < chunks.size(); ++n) {
    EXPECT_EQ(chunks[n].Type, cases[n].Type) << cases[n].Text;
    EXPECT_EQ(chunks[n].Text, Header + cases[n].Text);
  }
}

TEST_F(MonitorTest, OnlyTheWantedTracesAreSent) {
  const auto cursor = Statement("select 1");
  TTestMonitor monitor("read", "t", 1);
  ASSERT_TRUE(monitor.Attached());
  Hook->TracePrepare(cursor.get());
  Hook->TraceExecute(cursor.get());
  Hook->TraceFetch(cursor.get());
  Hook->TraceConnect(&Connection);
  Hook->TraceRollback(&Connection);
  const std::vector<TChunk> chunks = monitor.Chunks();
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].Text, Header + "velmora_trace: [Rollback]");
}

TEST_F(MonitorTest, ALongRecordGoesOutInChunksWithOneTypeAndTimeStamp) {
  const String prefix = Header + "Query: [Execute] ";
  String statement;
  for (int n = 0; prefix.size() + statement.size() + 2 < 5000; ++n)
    statement += char('a' + n % 26);
  const auto cursor = Statement(statement);
  TTestMonitor monitor("read", "e", 3);
  ASSERT_TRUE(monitor.Attached());
  const TDateTime before = Now();
  Hook->TraceExecute(cursor.get());
  const TDateTime after = Now();

  const std::vector<TChunk> chunks = monitor.Chunks();
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].Text.size(), 2002u);
  EXPECT_EQ(chunks[1].Text.size(), 2002u);
  EXPECT_EQ(chunks[2].Text.size(), 996u);
  EXPECT_EQ(chunks[0].Text + chunks[1].Text + chunks[2].Text, prefix + statement + "\r\n");
  for (const TChunk& chunk : chunks) {
    EXPECT_EQ(chunk.Type, ttExecute);
    EXPECT_EQ(chunk.TimeStamp, chunks[0].TimeStamp);
  }
  const double second = 1.0 / SecsPerDay;
  EXPECT_GE(chunks[0].TimeStamp, before - second);
  EXPECT_LE(chunks[0].TimeStamp, after + second);
}

TEST_F(MonitorTest, ControlCharactersArriveAsHexCodesAndLineBreaksStay) {
  const auto cursor = Statement("select\t1\r\nfrom\x01"
                                "dual\x1f");
  TTestMonitor monitor("read", "p", 1);
  ASSERT_TRUE(monitor.Attached());
  Hook->TracePrepare(cursor.get());
  const std::vector<TChunk> chunks = monitor.Chunks();
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].Text, Header + "Query: [Prepare] select#$091\r\nfrom#$01dual#$1F\r\n");
}

TEST_F(MonitorTest, ASecondProgramOpensTheExistingObjectsAndKeepsTheCounters) {
  TTestMonitor monitor("read", "c", 1);
  ASSERT_TRUE(monitor.Attached());
  TChild second("trace velmora_second 1");
  ASSERT_TRUE(second.EndsCleanly(30000));
  const std::vector<TChunk> chunks = monitor.Chunks();
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].Text, RecordHeader(MonitorProgram()) + "velmora_second: [Connect]");
}

// A monitor that stops answering: it never reads, keeps the mutex, or dies
// holding the mutex. Tracing goes on, and the next monitor is served.
TEST_F(MonitorTest, AMonitorThatStopsAnsweringDoesNotStopTheProgram) {
  const struct {
    const char* Mode;
    bool CountedOut;
  } cases[] = {{"stuck", true}, {"hold", false}, {"die", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mode);
    {
      TTestMonitor broken(c.Mode, "c");
      ASSERT_TRUE(broken.Attached());
      const ULONGLONG start = GetTickCount64();
      for (int n = 0; n < 3; ++n)
        Hook->TraceConnect(&Connection);
      EXPECT_LT(GetTickCount64() - start, 2000u) << "a trace call waited for the monitor";
      if (c.CountedOut) {
        EXPECT_TRUE(WaitUntil([&] { return Hook->MonitorCount() == 0; }, 20000));
      }
    }
    ASSERT_TRUE(WaitUntil([&] { return Hook->MonitorCount() == 0; }, 10000));
    ASSERT_TRUE(WaitForHandOversToEnd());
    TTestMonitor next("read", "t", 1);
    ASSERT_TRUE(next.Attached());
    Hook->TraceCommit(&Connection);
    const std::vector<TChunk> chunks = next.Chunks();
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].Text, Header + "velmora_trace: [Commit (Hard commit)]");
  }
}

TEST_F(MonitorTest, AProgramEndsPromptlyWhileItsMonitorIsStuck) {
  for (const char* mode : {"stuck", "hold"}) {
    SCOPED_TRACE(mode);
    TTestMonitor stuck(mode, "c");
    ASSERT_TRUE(stuck.Attached());
    TChild traced("trace velmora_exit 3");
    EXPECT_TRUE(traced.EndsCleanly(15000));
  }
}

} // namespace

namespace {

String EnvText(const char* name) {
  const char* value = std::getenv(name);
  return value ? String(value) : String();
}

} // namespace

TEST_F(MonitorTest, TheNativeLayerTracesWhatItSendsToTheServer) {
  const String server = EnvText("VELMORA_TEST_MYSQL");
  if (server.empty()) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set (start tools/testdb)";
  TStringList params;
  params.Add("Host=" + server.substr(0, server.find(':')));
  params.Add("Port=" + server.substr(server.find(':') + 1));
  params.Add("UID=" + EnvText("VELMORA_TEST_USER"));
  params.Add("PWD=" + EnvText("VELMORA_TEST_PASSWORD"));
  params.Add("DatabaseName=mysql");
  TNativeConnect connection(0);
  connection.ReadParams(params);

  const String expected[] = {"mysql: [Connect]",
                             "Query: [Prepare] DO 1\r\n",
                             "Query: [Execute] DO 1\r\n",
                             "mysql: [Start transaction]",
                             "mysql: [Commit (Hard commit)]",
                             "mysql: [Disconnect]"};
  TTestMonitor monitor("read", "pefct", int(std::size(expected)));
  ASSERT_TRUE(monitor.Attached());
  connection.Connect();
  {
    std::unique_ptr<TNativeDataSet> statement(connection.NewStatement());
    statement->SetStatementText("DO 1");
    statement->ExecuteNoCursor();
  }
  TNativeConnect* transaction = nullptr;
  connection.StartTransaction(0, transaction);
  connection.EndTransaction(0);
  connection.Disconnect();

  const std::vector<TChunk> chunks = monitor.Chunks();
  ASSERT_EQ(chunks.size(), std::size(expected));
  for (size_t n = 0; n < chunks.size(); ++n)
    EXPECT_EQ(chunks[n].Text, Header + expected[n]);
}
