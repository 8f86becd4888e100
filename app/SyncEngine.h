// The synchronizer's engine: it reads the definitions of a source and a
// target schema, writes the statements that make the target equal to the
// source into the script, and runs scripts on the server. The main window
// owns it and is reached only through TSyncWindow.
#pragma once

#include "Classes.h"
#include "Settings.h"
#include "SysUtils.h"
#include "UtilDB.h"

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

// The phases of a run, each with its state label in the window.
enum TSyncPhase { spStructure, spIndices, spConstraints, spNewTables };
// The window actions whose state the engine changes.
enum TSyncAction { saRunScript, saSaveScriptToFile };

// What the engine needs of the main window.
class TSyncWindow {
public:
  virtual ~TSyncWindow() = default;
  virtual void Log(const String& line) = 0;
  virtual void ClearLog() = 0;
  // The script: text is added at its end, exactly as given.
  virtual void AppendScript(const String& text) = 0;
  virtual String GetScriptText() = 0;
  virtual void ClearScript() = 0;
  virtual void SetPhaseCaption(TSyncPhase phase, const String& caption) = 0;
  virtual void SetCurrentTable(const String& caption) = 0;
  virtual void SetCount(const String& caption) = 0;
  // The progress bar ignores a maximum that is not above its minimum (0).
  virtual void SetProgressMax(int max) = 0;
  virtual int GetProgressMax() = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void StepProgress() = 0;
  // The table chooser, listing tables: false unless closed with OK; chosen
  // receives the checked tables in the list's order.
  virtual bool ChooseTables(const TStrings& tables, TStrings& chosen) = 0;
  virtual bool AskConfirmation(const String& text) = 0;
  virtual void ShowMessage(const String& text) = 0;
  virtual void CopyToClipboard(const String& text) = 0;
  virtual void ProcessMessages() = 0;
  virtual void SetActionEnabled(TSyncAction action, bool enabled) = 0;
  virtual void UpdateStatus() = 0;
};

// One table's definition, cut from the server's CREATE TABLE text.
struct TTableDefinition {
  String TableType;
  TStringList ColumnNames, ColumnDefs, KeyNames, KeyDefs;
};

// The temporary database on the target server that receives a source script.
inline constexpr const char* TempSourceDatabase = "velmora_tmp_source";

class TSyncEngine {
public:
  TSyncEngine(TSyncDatabase& source, TSyncDatabase& target, TSyncDatabase& script, TSyncWindow& window,
              const TSettings& settings);

  // The source: a database (the source connection) or a script file.
  bool SourceIsScript = false;
  String ScriptPath;
  // The temporary source database exists since this program started.
  bool GetTempDatabaseCreated() const { return FTempDatabaseCreated; }

  // The Synchronize action: refuses a source equal to the target, lets the
  // user choose the tables when asked to, then runs.
  void Synchronize();
  // The run. chosen: the tables to compare; null for all source tables, or
  // for those the user picks after a source script is loaded when tables
  // are to be selected.
  void SynchronizeDatabases(const TStrings* chosen);

  // Reads one table's definition over db. Absent lists are neither cleared nor
  // filled; the table type is always assigned.
  void ReadTableDefinition(const String& table, String& tableType, TStrings* columnNames,
                           TStrings* columnDefs, TStrings* keyNames, TStrings* keyDefs, TSyncDatabase& db);
  void SyncColumns(const String& table, const String& sourceType, const TStrings& columnNames,
                   const TStrings& columnDefs);
  // Mode 0: primary, unique and plain keys; mode 1: constraints.
  void SyncKeys(const String& table, const TStrings& keyNames, const TStrings& keyDefs, uint8_t mode);
  void AppendToScript(const String& statement);

  // Runs every statement of the script on the script connection, connected
  // with the target's credentials to databaseName (empty: none).
  void RunScript(const String& script, bool singleTransaction, const String& databaseName);
  // The Run script action on the script window's text.
  void RunScriptWindow(bool singleTransaction, bool useTargetDatabase);
  // On closing: drops the temporary source database this program created,
  // while the target is connected.
  void DropTemporaryDatabase();

private:
  void Log(const String& line);
  void VerboseLog(const String& line);
  void Statement(const String& text);
  void RunStatements(const std::vector<String>& statements, bool singleTransaction,
                     const String& databaseName);
  void LoadSourceScript();
  bool ChooseSourceTables(TStrings& chosen);
  void CheckCharacterSet(TSyncDatabase& db);
  void PrepareMissingTables(const TStrings& sourceTables, const TStrings& targetTables);
  void SyncTableOptions(const String& table, const String& sourceType, const String& targetType);
  void DropTemporaryIndices(const String& table);
  String DropColumnStatement(const String& table, const String& column, TStrings& keyNames,
                             TStrings& keyDefs);
  bool ReferencedByForeignKey(const String& table, const String& column);
  const TTableDefinition& KeptDefinition(const String& table, TSyncDatabase& db);
  void TurnForeignKeyChecksOff();
  void ExecuteScript();

  // What a run keeps, from its start to its end (also when it fails).
  class TRunState {
  public:
    explicit TRunState(TSyncEngine& engine);
    ~TRunState();
    TRunState(const TRunState&) = delete;
    TRunState& operator=(const TRunState&) = delete;

  private:
    void Reset();
    TSyncEngine& FEngine;
  };

  TSyncDatabase& FSource;
  TSyncDatabase& FTarget;
  TSyncDatabase& FScript;
  TSyncWindow& FWindow;
  const TSettings& FSettings;
  bool FTempDatabaseCreated = false;
  // The source script must be loaded before the next run: set at start,
  // cleared when a synchronization script has been executed.
  bool FScriptChanged = true;
  // The text of the script file as it was last loaded into the temporary
  // database: a changed file is loaded again.
  String FLoadedScript;
  String FLastLogLine;
  // The current table's default character set changes: its character
  // columns that name none are modified even when their lines are equal.
  bool FDefaultCharsetChanged = false;
  // Per table: the temporary auto-increment indices phase 1 added and
  // phase 2 drops again.
  std::map<String, std::vector<String>> FTemporaryIndices;
  // Per table: the key names of the target dropped along with a column.
  std::map<String, std::set<String>> FDroppedKeys;
  // Per table: the auto_increment column of the source, if any.
  std::map<String, String> FAutoIncrementColumns;
  // The missing tables in creation order with their CREATE TABLE texts.
  std::vector<std::pair<String, String>> FMissingTables;
  // The script turns foreign key checks off before the statement that needs it.
  bool FForeignKeyChecksOff = false;
  // While a run compares, neither side changes (the script is only
  // written): each definition is read once per side and kept, the target's
  // foreign-key references are read once, and its session switch is sent
  // once. Between runs nothing is kept.
  bool FInRun = false;
  std::map<std::pair<const TSyncDatabase*, String>, TTableDefinition> FDefinitions;
  // The tables both sides have, in the order the run compares them, and
  // how many definitions are read in one series.
  std::vector<String> FCompared;
  std::map<String, size_t> FComparedIndex;
  static constexpr size_t ReadAhead = 64;
  // The target's (table, column) pairs that a foreign key references, lower case.
  std::optional<std::set<std::pair<String, String>>> FReferencedColumns;
  bool FForeignKeyChecksSent = false;
};

// --- The definition reader's text work, open to tests.

void ParseTableDefinition(const String& createText, bool useBackticks, TTableDefinition& def);

// The table options after a column list, split into options. Text holds each
// option as the server printed it (name, "=", value).
struct TTableOption {
  String Key; // upper case, without DEFAULT: ENGINE, CHARSET, COLLATE, COMMENT ...
  String Name;
  String Value;
  String Text;
};
struct TTableOptions {
  std::vector<TTableOption> Items;
  // Clauses that ALTER TABLE cannot set, such as WITH SYSTEM VERSIONING.
  std::vector<String> Fixed;
  String Partition;
};
TTableOptions ParseTableOptions(const String& text);
// The columns of a key's or foreign key's column list, lower case, without
// quotes, prefix lengths or sort order: "(`a`(10),b DESC)" gives a, b.
std::vector<String> ParseColumnList(const String& list);
