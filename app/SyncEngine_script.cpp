// The script runner, and the loading of a source script into the temporary
// database.
#include "SyncEngine.h"
#include "SyncEngine_internal.h"
#include "Util.h"

#include <cctype>

void RollbackQuietly(TSyncDatabase& db) {
  try {
    db.Rollback();
  } catch (const std::exception&) {
    // The error being handled is the one to report.
  }
}

namespace {

// The words a statement begins with, upper case; a versioned comment opener
// ("/*!40101") in front counts for nothing, as the server reads it.
std::vector<String> LeadingWords(const String& statement, size_t count) {
  std::vector<String> words;
  size_t i = 0;
  while (words.size() < count && i < statement.size()) {
    char c = statement[i];
    if (std::isspace(static_cast<unsigned char>(c)) || c == '=') {
      ++i;
    } else if (statement.compare(i, 3, "/*!") == 0) {
      i += 3;
      while (i < statement.size() && std::isdigit(static_cast<unsigned char>(statement[i])))
        ++i;
    } else if (statement.compare(i, 2, "/*") == 0) {
      size_t end = statement.find("*/", i + 2);
      i = end == String::npos ? statement.size() : end + 2;
    } else {
      size_t b = i;
      while (i < statement.size() && (std::isalnum(static_cast<unsigned char>(statement[i])) ||
                                      statement[i] == '_' || statement[i] == '@' || statement[i] == '.'))
        ++i;
      if (i == b) ++i;
      words.push_back(UpperCase(statement.substr(b, i - b)));
    }
  }
  return words;
}

// Statements of a source script that would leave the temporary database or
// change the connection's character set.
bool IsForeignToTemporaryDatabase(const String& statement) {
  std::vector<String> w = LeadingWords(statement, 3);
  auto at = [&](size_t i) { return i < w.size() ? w[i] : String(); };
  if (at(0) == "USE") return true;
  if ((at(0) == "CREATE" || at(0) == "DROP" || at(0) == "ALTER") &&
      (at(1) == "DATABASE" || at(1) == "SCHEMA"))
    return true;
  if (at(0) != "SET") return false;
  String what = at(1) == "SESSION" ? at(2) : at(1);
  if (what.rfind("@@SESSION.", 0) == 0)
    what.erase(0, 10);
  else if (what.rfind("@@", 0) == 0)
    what.erase(0, 2);
  return what == "NAMES" || what == "CHARSET" || (what == "CHARACTER" && at(2) == "SET") ||
         what == "CHARACTER_SET_CLIENT" || what == "CHARACTER_SET_RESULTS" ||
         what == "CHARACTER_SET_CONNECTION" || what == "COLLATION_CONNECTION";
}

// A table named with another database in front, where a statement names a
// table; empty when there is none. UPDATE names one only as the statement's
// verb: in INSERT ... ON DUPLICATE KEY UPDATE a column follows.
String OtherDatabaseTable(const String& statement) {
  static const char* const introducers[] = {"TABLE", "EXISTS",     "INTO",   "FROM",
                                            "JOIN",  "REFERENCES", "TABLES", "LIKE"};
  String previous;
  size_t words = 0;
  for (size_t i = 0; i < statement.size();) {
    char c = statement[i];
    if (c == '\'' || c == '"') {
      i = SkipQuotedToEnd(statement, i);
      previous.clear();
      continue;
    }
    if (std::isspace(static_cast<unsigned char>(c)) || c == '(' || c == ')' || c == ',') {
      ++i;
      continue;
    }
    size_t b = i;
    String word = ReadIdentifier(statement, i);
    if (i == b) ++i;
    const String upper = c == '`' ? String() : UpperCase(word);
    bool verbUpdate = previous == "UPDATE" && words == 1;
    if (verbUpdate && (upper == "LOW_PRIORITY" || upper == "IGNORE")) continue;
    bool introduced = verbUpdate;
    for (const char* k : introducers)
      introduced |= previous == k;
    if (introduced && i < statement.size() && statement[i] == '.') {
      size_t j = i + 1;
      String table = ReadIdentifier(statement, j);
      if (!SameText(word, TempSourceDatabase)) return word + "." + table;
    }
    previous = upper;
    ++words;
  }
  return String();
}

String ReadFileText(const String& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyNone);
  String text(static_cast<size_t>(f.GetSize()), '\0');
  f.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

String FirstLine(const String& s) {
  String line = s.substr(0, s.find_first_of("\r\n"));
  return line.size() > 80 ? line.substr(0, 77) + "..." : line;
}

} // namespace

void TSyncEngine::RunStatements(const std::vector<String>& statements, bool singleTransaction,
                                const String& databaseName) {
  FScript.Disconnect();
  FScript.Connect(FTarget.GetHost(), FTarget.GetUserName(), FTarget.GetPassword(), databaseName);
  FWindow.SetActionEnabled(saRunScript, false);
  try {
    if (singleTransaction) FScript.StartTransaction();
    FWindow.SetProgressMax(static_cast<int>(statements.size()));
    FWindow.SetCount(IntToStr(FWindow.GetProgressMax()));
    FWindow.SetCurrentTable("Running script...");
    FWindow.SetProgressPosition(0);
    for (const String& statement : statements) {
      FWindow.StepProgress();
      RunStatement(statement, FScript);
      FWindow.ProcessMessages();
    }
    if (singleTransaction) FScript.Commit();
  } catch (...) {
    if (FScript.GetInTransaction()) RollbackQuietly(FScript);
    FWindow.UpdateStatus();
    throw;
  }
  if (FScript.GetInTransaction()) FScript.Rollback();
  FWindow.UpdateStatus();
}

void TSyncEngine::RunScript(const String& script, bool singleTransaction, const String& databaseName) {
  RunStatements(SplitScript(script), singleTransaction, databaseName);
}

void TSyncEngine::RunScriptWindow(bool singleTransaction, bool useTargetDatabase) {
  FWindow.SetCurrentTable("Script");
  FWindow.SetActionEnabled(saRunScript, false);
  FWindow.ProcessMessages();
  try {
    RunScript(FWindow.GetScriptText(), singleTransaction, useTargetDatabase ? FTarget.GetDatabaseName() : "");
  } catch (...) {
    FWindow.UpdateStatus();
    throw;
  }
  FWindow.UpdateStatus();
}

void TSyncEngine::LoadSourceScript() {
  String text = ReadFileText(ScriptPath);
  if (!FScriptChanged && FTempDatabaseCreated && text == FLoadedScript) return;

  std::vector<String> statements = {Format("drop database if exists %s", TempSourceDatabase),
                                    Format("create database %s", TempSourceDatabase),
                                    Format("use %s", TempSourceDatabase), "set foreign_key_checks=0"};
  std::vector<String> skipped;
  for (String& statement : SplitScript(text)) {
    String other = OtherDatabaseTable(statement);
    if (!other.empty())
      RaiseError(Format("The script names the table %s of another database: it was not loaded.", other));
    if (IsForeignToTemporaryDatabase(statement))
      skipped.push_back(statement);
    else
      statements.push_back(std::move(statement));
  }
  for (const String& statement : skipped)
    Log("Skipping statement of the script: " + FirstLine(statement));
  Log("Creating temporary source database...");
  RunStatements(statements, true, "");
  Log("");
  FSource.Disconnect();
  FSource.Connect(FTarget.GetHost(), FTarget.GetUserName(), FTarget.GetPassword(), TempSourceDatabase);
  FTempDatabaseCreated = true;
  FLoadedScript = std::move(text);
}

void TSyncEngine::DropTemporaryDatabase() {
  if (!FTarget.GetConnected() || !FTempDatabaseCreated) return;
  Log("Dropping temporary database...");
  RunStatement(Format("drop database if exists %s", TempSourceDatabase), FTarget);
}
