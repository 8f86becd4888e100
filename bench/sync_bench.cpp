// Generates a pair of schemas of N tables (default 1,000: about ten columns,
// three keys and a foreign key each, every tenth table differing) on the
// test server (tools/testdb), times a synchronization that writes its script,
// then sends the very statements the run sent, in order and on the same
// connections, through the same client, and prints both times and their
// ratio: what the engine adds to what the server takes.
//
//   eval "$(tools/testdb start)"; build/bench/bench/sync_bench [tables]
#include "MySQLSyncDatabase.h"
#include "SyncEngine.h"
#include "mySQLDbTables.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const char* const SourceDb = "velmora_bench_source";
const char* const TargetDb = "velmora_bench_target";

struct TServer {
  String Host, User, Password, Port;
};

// A connection that notes each statement with the database it was sent to.
struct TStatement {
  int Connection;
  String Database, Sql;
  bool Rows;
};

class TNotingDatabase : public TmySQLSyncDatabase {
public:
  TNotingDatabase(const TServer& server, int index, std::vector<TStatement>& log) : FIndex(index), FLog(log) {
    Database().GetParams().SetValue("Port", server.Port);
  }
  bool Noting = false;
  TSqlRows Open(const String& sql) override {
    if (Noting) FLog.push_back({FIndex, GetDatabaseName(), sql, true});
    return TmySQLSyncDatabase::Open(sql);
  }
  int64_t ExecuteSQL(const String& sql) override {
    if (Noting) FLog.push_back({FIndex, GetDatabaseName(), sql, false});
    return TmySQLSyncDatabase::ExecuteSQL(sql);
  }

private:
  int FIndex;
  std::vector<TStatement>& FLog;
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

// FNV-1a over the script: equal scripts, equal sums.
uint64_t Checksum(const String& text) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text)
    h = (h ^ c) * 1099511628211ull;
  return h;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
  const char* address = std::getenv("VELMORA_TEST_MYSQL");
  if (!address || !*address) {
    std::fprintf(stderr, "VELMORA_TEST_MYSQL is not set: start tools/testdb\n");
    return 2;
  }
  const int tables = argc > 1 ? std::atoi(argv[1]) : 1000;
  TServer server;
  const String a = address;
  const size_t colon = a.rfind(':');
  server.Host = a.substr(0, colon);
  server.Port = colon == String::npos ? String("3306") : a.substr(colon + 1);
  server.User = std::getenv("VELMORA_TEST_USER") ? std::getenv("VELMORA_TEST_USER") : "";
  server.Password = std::getenv("VELMORA_TEST_PASSWORD") ? std::getenv("VELMORA_TEST_PASSWORD") : "";

  try {
    std::vector<TStatement> log;
    TNotingDatabase admin(server, -1, log), source(server, 0, log), target(server, 1, log),
        script(server, 2, log);
    TNotingDatabase* connections[] = {&source, &target, &script};
    std::printf("creating %d tables in each of two schemas...\n", tables);
    admin.Connect(server.Host, server.User, server.Password, "");
    CreateSchema(admin, SourceDb, tables, false);
    CreateSchema(admin, TargetDb, tables, true);
    source.Connect(server.Host, server.User, server.Password, SourceDb);
    target.Connect(server.Host, server.User, server.Password, TargetDb);

    TSettings settings;
    for (const TSwitchInfo& i : SettingSwitches)
      settings.*i.Field = i.Default;
    settings.SelectSyncTables = false;
    settings.SyncRunUnprompted = false;
    TQuietWindow window;
    TSyncEngine engine(source, target, script, window, settings);
    for (TNotingDatabase* c : connections)
      c->Noting = true;
    auto start = std::chrono::steady_clock::now();
    engine.Synchronize();
    const double run = Seconds(start);
    for (TNotingDatabase* c : connections)
      c->Noting = false;
    if (window.Script.empty()) {
      std::fprintf(stderr, "the run wrote no script\n");
      return 1;
    }

    // The same statements again; reconnecting where the run had switched
    // databases is not counted.
    double bare = 0;
    for (const TStatement& s : log) {
      TNotingDatabase& c = *connections[s.Connection];
      if (!c.GetConnected() || c.GetDatabaseName() != s.Database)
        c.Connect(server.Host, server.User, server.Password, s.Database);
      start = std::chrono::steady_clock::now();
      if (s.Rows)
        c.Open(s.Sql);
      else
        c.ExecuteSQL(s.Sql);
      bare += Seconds(start);
    }
    size_t lines = 0;
    for (char ch : window.Script)
      lines += ch == '\n';
    std::printf("synchronization: %.3f s, %zu statements sent, script of %zu lines\n", run, log.size(),
                lines);
    std::printf("script checksum: %016llx (%zu bytes)\n",
                static_cast<unsigned long long>(Checksum(window.Script)), window.Script.size());
    std::printf("statements alone: %.3f s\n", bare);
    std::printf("ratio: %.2f\n", bare > 0 ? run / bare : 0.0);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
  return 0;
}
