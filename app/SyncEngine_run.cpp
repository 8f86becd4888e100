// The synchronization run: which tables take part, the four phases, and the
// execution of the generated script.
#include "SyncEngine.h"
#include "SyncEngine_internal.h"
#include "Util.h"

#include <algorithm>
#include <map>
#include <set>

TSyncEngine::TSyncEngine(TSyncDatabase& source, TSyncDatabase& target, TSyncDatabase& script,
                         TSyncWindow& window, const TSettings& settings)
    : FSource(source), FTarget(target), FScript(script), FWindow(window), FSettings(settings) {}

void TSyncEngine::Log(const String& line) {
  FWindow.Log(line);
  FLastLogLine = line;
}

void TSyncEngine::VerboseLog(const String& line) {
  if (FSettings.VerboseLog) Log(line);
}

void TSyncEngine::Statement(const String& text) {
  AppendToScript(Trim(text));
}

void TSyncEngine::AppendToScript(const String& statement) {
  String text = statement;
  String trimmed = TrimRight(text);
  if (trimmed.empty()) return;
  if (trimmed.back() != ';') text = trimmed + ";";
  if (text.back() != '\n') text += sLineBreak;
  FWindow.AppendScript(text);
}

bool TSyncEngine::ChooseSourceTables(TStrings& chosen) {
  TStringList tables;
  QueryBaseTables(tables, FSource);
  return FWindow.ChooseTables(tables, chosen);
}

void TSyncEngine::Synchronize() {
  if (FSource.GetHost() == FTarget.GetHost() && FSource.GetDatabaseName() == FTarget.GetDatabaseName())
    RaiseError("Can't synchronize database to itself!");
  // A script source is chosen from after it is loaded, inside the run.
  if (!FSettings.SelectSyncTables || SourceIsScript) {
    SynchronizeDatabases(nullptr);
    return;
  }
  TStringList chosen;
  if (!ChooseSourceTables(chosen)) return;
  SynchronizeDatabases(&chosen);
}

void TSyncEngine::CheckCharacterSet(TSyncDatabase& db) {
  TSqlValue value;
  FetchSingleValue("select @@character_set_results", db, value);
  String charset = LowerCase(value.value_or(String()));
  if (charset.empty() || charset == "binary" || charset == "utf8mb4") return;
  if (charset.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != String::npos) return;
  auto lost = [&](const char* column) {
    return Format("cast(convert(convert(%s using %s) using utf8mb4) as binary) <> "
                  "cast(convert(%s using utf8mb4) as binary)",
                  column, charset, column);
  };
  String sql =
      "select table_name, column_name from information_schema.columns where table_schema = database() "
      "and (" +
      lost("column_name") + " or " + lost("column_comment") + " or " + lost("column_default") + " or " +
      lost("column_type") +
      ") union all select table_name, null from information_schema.tables where table_schema = "
      "database() and (" +
      lost("table_name") + " or " + lost("table_comment") + ") limit 1";
  TSqlRows rows = db.Open(sql);
  if (rows.empty()) return;
  const TSqlRow& row = rows.front();
  String table = row[0].value_or(String());
  String what = row.size() > 1 && row[1] ? "column " + table + "." + *row[1] : "table " + table;
  RaiseError(
      Format("The connection's character set %s cannot carry the text of %s in database %s; nothing was "
             "synchronized.",
             charset, what, db.GetDatabaseName()));
}

namespace {

// The names of a table list in lower case, for finding a table in any letter
// case without walking the whole list for each.
std::set<String> LowerCaseNames(const TStrings& tables) {
  std::set<String> names;
  for (int i = 0; i < tables.GetCount(); ++i)
    names.insert(LowerCase(tables[i]));
  return names;
}

} // namespace

void TSyncEngine::PrepareMissingTables(const TStrings& sourceTables, const TStrings& targetTables) {
  struct TMissing {
    String Name, Text;
    std::vector<String> Parents;
  };
  std::vector<TMissing> missing;
  const std::set<String> present = LowerCaseNames(targetTables);
  for (int i = 0; i < sourceTables.GetCount(); ++i) {
    const String name = sourceTables[i];
    if (present.count(LowerCase(name))) continue;
    FetchFirstRow(Format("show create table\t%s", QuoteName(name)), FSource);
    String text = SqlValueToString(RowValues[1]) + ";";
    if (!FSettings.UseBackticks) text = UnquoteIdentifiers(text);
    TStringList lines;
    lines.SetText(text);
    missing.push_back({name, lines.GetText(), ReferencedTables(text)});
  }
  // Parents first: a table comes after the missing tables it references.
  FMissingTables.clear();
  FForeignKeyChecksOff = FSettings.NoForeignKeyChecks;
  std::vector<bool> placed(missing.size(), false);
  std::multimap<String, size_t> byName;
  for (size_t j = 0; j < missing.size(); ++j)
    byName.emplace(LowerCase(missing[j].Name), j);
  auto waitsFor = [&](const TMissing& m) {
    for (const String& parent : m.Parents) {
      auto [from, to] = byName.equal_range(LowerCase(parent));
      for (auto it = from; it != to; ++it)
        if (!placed[it->second] && &missing[it->second] != &m) return true;
    }
    return false;
  };
  bool cycle = false;
  while (FMissingTables.size() < missing.size()) {
    size_t next = missing.size();
    for (size_t j = 0; j < missing.size() && next == missing.size(); ++j)
      if (!placed[j] && !waitsFor(missing[j])) next = j;
    if (next == missing.size()) {
      // Foreign keys in a cycle: the rest in list order, checks off.
      cycle = true;
      next = static_cast<size_t>(std::find(placed.begin(), placed.end(), false) - placed.begin());
    }
    placed[next] = true;
    FMissingTables.emplace_back(missing[next].Name, missing[next].Text);
  }
  if (FSettings.NoForeignKeyChecks || cycle) {
    AppendToScript("set foreign_key_checks=0;");
    FForeignKeyChecksOff = true;
  }
}

TSyncEngine::TRunState::TRunState(TSyncEngine& engine) : FEngine(engine) {
  Reset();
  FEngine.FInRun = true;
}

TSyncEngine::TRunState::~TRunState() {
  Reset();
}

void TSyncEngine::TRunState::Reset() {
  FEngine.FInRun = false;
  FEngine.FDefinitions.clear();
  FEngine.FCompared.clear();
  FEngine.FComparedIndex.clear();
  FEngine.FReferencedColumns.reset();
  FEngine.FForeignKeyChecksSent = false;
}

void TSyncEngine::SynchronizeDatabases(const TStrings* chosen) {
  for (TSyncPhase phase : {spStructure, spIndices, spConstraints, spNewTables})
    FWindow.SetPhaseCaption(phase, "");
  FWindow.SetCurrentTable("");
  FWindow.ClearLog();
  FLastLogLine.clear();
  FWindow.ClearScript();
  FTemporaryIndices.clear();
  FDroppedKeys.clear();
  FAutoIncrementColumns.clear();

  if (SourceIsScript)
    Log(Format("Syncing database %s/%s to equal script %s.", FTarget.GetHost(), FTarget.GetDatabaseName(),
               ScriptPath));
  else
    Log(Format("Syncing database %s/%s to equal database %s/%s.", FTarget.GetHost(),
               FTarget.GetDatabaseName(), FSource.GetHost(), FSource.GetDatabaseName()));
  Log("");
  FWindow.ProcessMessages();
  FWindow.SetProgressPosition(0);

  if (SourceIsScript) LoadSourceScript();
  CheckCharacterSet(FSource);
  CheckCharacterSet(FTarget);
  // From here to the end of the run the sides are only read; a source
  // script is loaded by now.
  TRunState running(*this);

  TStringList sourceTables, targetTables;
  if (chosen)
    sourceTables.Assign(*chosen);
  else if (!FSettings.SelectSyncTables)
    QueryBaseTables(sourceTables, FSource);
  else if (!ChooseSourceTables(sourceTables))
    return;
  QueryBaseTables(targetTables, FTarget);
  PrepareMissingTables(sourceTables, targetTables);
  if (!FLastLogLine.empty()) Log("");

  const int count = sourceTables.GetCount();
  FWindow.SetProgressMax(4 * count);
  FWindow.SetCount(IntToStr(count));
  FWindow.SetPhaseCaption(spStructure, "Running...");
  FWindow.SetProgressPosition(0);

  const std::set<String> inTarget = LowerCaseNames(targetTables);
  for (int i = 0; i < count; ++i) {
    if (!inTarget.count(LowerCase(sourceTables[i]))) continue;
    FComparedIndex.emplace(sourceTables[i], FCompared.size());
    FCompared.push_back(sourceTables[i]);
  }
  auto eachTable = [&](bool existing, auto&& work) {
    for (int i = 0; i < count; ++i) {
      const String table = sourceTables[i];
      FWindow.StepProgress();
      FWindow.SetCurrentTable(table);
      FWindow.ProcessMessages();
      if ((inTarget.count(LowerCase(table)) > 0) == existing) work(table);
    }
  };
  auto nextPhase = [&](TSyncPhase done, TSyncPhase next) {
    FWindow.SetPhaseCaption(done, "Done.");
    FWindow.SetPhaseCaption(next, "Running...");
  };

  TStringList names, defs, keyNames, keyDefs;
  String type;
  eachTable(true, [&](const String& table) {
    ReadTableDefinition(table, type, &names, &defs, nullptr, nullptr, FSource);
    FAutoIncrementColumns[LowerCase(table)] = AutoIncrementColumn(names, defs);
    SyncColumns(table, type, names, defs);
  });
  nextPhase(spStructure, spIndices);
  eachTable(true, [&](const String& table) {
    ReadTableDefinition(table, type, nullptr, nullptr, &keyNames, &keyDefs, FSource);
    SyncKeys(table, keyNames, keyDefs, 0);
    DropTemporaryIndices(table);
  });
  nextPhase(spIndices, spConstraints);
  eachTable(true, [&](const String& table) {
    ReadTableDefinition(table, type, &names, &defs, &keyNames, &keyDefs, FSource);
    SyncKeys(table, keyNames, keyDefs, 1);
  });
  nextPhase(spConstraints, spNewTables);
  // The missing tables come in creation order, the progress in list order.
  size_t created = 0;
  eachTable(false, [&](const String&) {
    const auto& [name, text] = FMissingTables[created++];
    Log(Format("Creating missing table %s.", name));
    AppendToScript(text);
  });
  FWindow.SetPhaseCaption(spNewTables, "Done.");

  String script = FWindow.GetScriptText();
  if (FSettings.ScriptToClipboard) FWindow.CopyToClipboard(script);
  FWindow.SetActionEnabled(saSaveScriptToFile, true);

  if (!FSettings.SyncRunUnprompted) {
    if (script.empty()) {
      FWindow.ShowMessage("Nothing to do!");
      return;
    }
    if (FWindow.AskConfirmation("Sync SQL script is generated. You can run it immediately, or you can "
                                "inspect/modify and run it from script window. Press OK to run it now."))
      ExecuteScript();
  } else {
    ExecuteScript();
  }
  FWindow.UpdateStatus();
}

void TSyncEngine::ExecuteScript() {
  FTarget.StartTransaction();
  try {
    RunScript(FWindow.GetScriptText(), true, FTarget.GetDatabaseName());
    FTarget.Commit();
    FScriptChanged = false;
    Log("Databases synced.");
    Log("");
  } catch (...) {
    RollbackQuietly(FTarget);
    throw;
  }
}
