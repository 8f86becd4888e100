// Generates schema pairs (default 1,000 and 5,000 tables: about ten columns,
// three keys and a foreign key each, every tenth table differing) on the test
// server (tools/testdb), beside a third database of 2,000 unrelated tables, as
// real servers hold others. For each pair it times a synchronization that
// writes its script, and the floor: every definition of both sides fetched
// once through the program's own client in one session. It prints both,
// their ratio, how much of the synchronization went on queries and on this
// process's CPU, a checksum of the script (equal scripts, equal sums), and
// how the time of the largest pair grows over the smallest.
//
//   eval "$(tools/testdb start)"; build/bench/bench/sync_bench [tables...]
#include "MySQLSyncDatabase.h"
#include "SyncEngine.h"
#include "mySQLDbTables.h"
#include "uMysqlClient.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

const char* const SourceDb = "velmora_bench_source";
const char* const TargetDb = "velmora_bench_target";
const char* const OtherDb = "velmora_bench_other";
const int OtherTables = 2000;

struct TServer {
  String Host, User, Password, Port;
};

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A connection that counts the statements it is sent and the time their
// results take to come back through the layers.
class TCountingDatabase : public TmySQLSyncDatabase {
public:
  explicit TCountingDatabase(const TServer& server) { Database().GetParams().SetValue("Port", server.Port); }
  size_t Sent = 0;
  double InQueries = 0;
  TSqlRows Open(const String& sql) override {
    ++Sent;
    auto start = std::chrono::steady_clock::now();
    TSqlRows rows = TmySQLSyncDatabase::Open(sql);
    InQueries += Seconds(start);
    return rows;
  }
  int64_t ExecuteSQL(const String& sql) override {
    ++Sent;
    return TmySQLSyncDatabase::ExecuteSQL(sql);
  }
};

class TQuietWindow : public TSyncWindow {
public:
  String Script;
  void Log(const String&) override {}
  void ClearLog() override {}
  void AppendScript(const String& text) override { Script += text; }
  String GetScriptText() override { return Script; }
  void ClearScript() override { Script.clear(); }
  void SetPhaseCaption(TSyncPhase, const String&) override {}
  void SetCurrentTable(const String&) override {}
  void SetCount(const String&) override {}
  void SetProgressMax(int max) override {
    if (max > 0) FMax = max;
  }
  int GetProgressMax() override { return FMax; }
  void SetProgressPosition(int) override {}
  void StepProgress() override {}
  bool ChooseTables(const TStrings& tables, TStrings& chosen) override {
    chosen.Assign(tables);
    return true;
  }
  // The script is written, not run.
  bool AskConfirmation(const String&) override { return false; }
  void ShowMessage(const String&) override {}
  void CopyToClipboard(const String&) override {}
  void ProcessMessages() override {}
  void SetActionEnabled(TSyncAction, bool) override {}
  void UpdateStatus() override {}

private:
  int FMax = 100;
};

// Table i of a schema; `changed` gives every tenth table its differences.
String TableText(int i, bool changed) {
  const bool differs = changed && i % 10 == 5;
  String parent = Format("t%04d", i == 0 ? 0 : i - 1);
  return Format("create table t%04d (\n"
                "  id int not null auto_increment,\n"
                "  parent_id int null,\n"
                "  code varchar(%d) not null,\n"
                "  title varchar(80) null default 'untitled',\n"
                "  amount decimal(12,2) not null default 0,\n"
                "  quantity int not null default 0,\n"
                "  created datetime null,\n"
                "  note text null,\n"
                "  flag tinyint not null default 0,\n"
                "%s"
                "  primary key (id),\n"
                "  unique key code_ix (code%s),\n"
                "  key title_ix (title),\n"
                "  key parent_ix (parent_id),\n"
                "  constraint fk_t%04d_parent foreign key (parent_id) references %s (id)%s\n"
                ") engine=InnoDB default charset=latin1",
                i, differs ? 40 : 30,
                differs ? "" : "  status enum('new','open','done') not null default 'new',\n",
                differs ? ", quantity" : "", i, parent, differs ? " on delete cascade" : "");
}

void CreateSchema(TmySQLSyncDatabase& admin, const char* database, int tables, bool changed) {
  admin.ExecuteSQL(Format("drop database if exists %s", database));
  admin.ExecuteSQL(Format("create database %s", database));
  admin.ExecuteSQL(Format("use %s", database));
  admin.ExecuteSQL("set foreign_key_checks=0");
  for (int i = 0; i < tables; ++i)
    admin.ExecuteSQL(TableText(i, changed));
}

// The unrelated database is kept between runs once it is whole.
void CreateOtherDatabase(TmySQLSyncDatabase& admin) {
  TSqlRows count =
      admin.Open(Format("select count(*) from information_schema.tables where table_schema = '%s'", OtherDb));
  if (!count.empty() && count[0][0] == IntToStr(OtherTables)) return;
  std::printf("creating %d tables in %s...\n", OtherTables, OtherDb);
  CreateSchema(admin, OtherDb, OtherTables, false);
}

// FNV-1a over the script.
uint64_t Checksum(const String& text) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text)
    h = (h ^ c) * 1099511628211ull;
  return h;
}

// Every definition of both sides fetched once, in one session of the client.
double Floor(const TServer& server, int tables) {
  TMysqlClient client;
  if (!client.Connect(server.Host, server.User, server.Password, "", std::atoi(server.Port.c_str()), "",
                      vkTcp, 0))
    throw Exception(client.ErrorText());
  size_t bytes = 0;
  auto start = std::chrono::steady_clock::now();
  for (const char* database : {SourceDb, TargetDb})
    for (int i = 0; i < tables; ++i) {
      bool ran = false;
      auto result = client.Query(Format("show create table %s.t%04d", database, i), true, ran);
      if (!result) throw Exception(client.ErrorText());
      result->First();
      result->FetchLengths(true);
      bytes += result->Length(1);
    }
  const double seconds = Seconds(start);
  if (bytes == 0) throw Exception("the floor read no definitions");
  return seconds;
}

struct TResult {
  int Tables;
  double Sync, Floor;
  // Of the best synchronization: in queries, and the process's own CPU.
  double SyncQueries, SyncProcessor;
};

// The best of a few rounds of each, alternating, so that both meet the same
// state of a server that other work may share.
const int Rounds = 3;

TResult Measure(const TServer& server, TmySQLSyncDatabase& admin, int tables) {
  std::printf("creating %d tables in each of two schemas...\n", tables);
  CreateSchema(admin, SourceDb, tables, false);
  CreateSchema(admin, TargetDb, tables, true);

  TCountingDatabase source(server), target(server), script(server);
  source.Connect(server.Host, server.User, server.Password, SourceDb);
  target.Connect(server.Host, server.User, server.Password, TargetDb);
  TSettings settings;
  for (const TSwitchInfo& i : SettingSwitches)
    settings.*i.Field = i.Default;
  settings.SelectSyncTables = false;
  settings.SyncRunUnprompted = false;
  TQuietWindow window;
  TSyncEngine engine(source, target, script, window, settings);
  TResult r{tables, 1e9, 1e9, 0, 0};
  size_t sent = 0;
  for (int round = 0; round < Rounds; ++round) {
    const size_t before = source.Sent + target.Sent + script.Sent;
    const double queriesBefore = source.InQueries + target.InQueries;
    const std::clock_t processorStart = std::clock();
    auto start = std::chrono::steady_clock::now();
    engine.Synchronize();
    if (const double seconds = Seconds(start); seconds < r.Sync) {
      r.Sync = seconds;
      r.SyncQueries = source.InQueries + target.InQueries - queriesBefore;
      r.SyncProcessor = double(std::clock() - processorStart) / CLOCKS_PER_SEC;
    }
    sent = source.Sent + target.Sent + script.Sent - before;
    if (window.Script.empty()) throw Exception("the run wrote no script");
    r.Floor = std::min(r.Floor, Floor(server, tables));
  }

  size_t lines = 0;
  for (char ch : window.Script)
    lines += ch == '\n';
  std::printf("%d tables (best of %d):\n", tables, Rounds);
  std::printf("  synchronization:  %.3f s, %zu statements sent, script of %zu lines\n", r.Sync, sent, lines);
  std::printf("                    %.3f s of it in queries, %.3f s CPU of this process\n", r.SyncQueries,
              r.SyncProcessor);
  std::printf("  script checksum:  %016llx (%zu bytes)\n",
              static_cast<unsigned long long>(Checksum(window.Script)), window.Script.size());
  std::printf("  floor:            %.3f s (%d definitions)\n", r.Floor, 2 * tables);
  std::printf("  ratio:            %.2f (synchronization / floor)\n", r.Sync / r.Floor);
  return r;
}

} // namespace

int main(int argc, char** argv) {
  const char* address = std::getenv("VELMORA_TEST_MYSQL");
  if (!address || !*address) {
    std::fprintf(stderr, "VELMORA_TEST_MYSQL is not set: start tools/testdb\n");
    return 2;
  }
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i)
    sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 5000};
  TServer server;
  const String a = address;
  const size_t colon = a.rfind(':');
  server.Host = a.substr(0, colon);
  server.Port = colon == String::npos ? String("3306") : a.substr(colon + 1);
  server.User = std::getenv("VELMORA_TEST_USER") ? std::getenv("VELMORA_TEST_USER") : "";
  server.Password = std::getenv("VELMORA_TEST_PASSWORD") ? std::getenv("VELMORA_TEST_PASSWORD") : "";

  try {
    TCountingDatabase admin(server);
    // Dropping a large schema takes the server longer than a statement's
    // usual time limit.
    admin.Database().GetParams().SetValue("TIMEOUT", "3600");
    admin.Connect(server.Host, server.User, server.Password, "");
    CreateOtherDatabase(admin);
    std::vector<TResult> results;
    for (int tables : sizes)
      results.push_back(Measure(server, admin, tables));
    if (results.size() > 1) {
      const TResult &small = results.front(), &large = results.back();
      // The server's own time per definition grows with the tables it holds:
      // the floor's growth is the measure for the synchronization's.
      std::printf("growth from %d to %d tables: %.2f (synchronization), %.2f (floor), %.2f (tables)\n",
                  small.Tables, large.Tables, large.Sync / small.Sync, large.Floor / small.Floor,
                  double(large.Tables) / small.Tables);
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
  return 0;
}
