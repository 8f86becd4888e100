// Column synchronization: the table options, then the columns position by
// position, in the source's order.
#include "SyncEngine.h"
#include "SyncEngine_internal.h"
#include "Util.h"

#include <algorithm>

namespace {

// A server that printed TYPE= gives a table type without "name=" in front;
// every later server prints ENGINE= first.
bool IsOldStyleType(const String& type) {
  String first = type.substr(0, type.find_first_of(" \t\r\n"));
  return !first.empty() && first.find('=') == String::npos;
}

const TTableOption* FindOption(const TTableOptions& options, const String& key) {
  for (const TTableOption& o : options.Items)
    if (o.Key == key) return &o;
  return nullptr;
}

// What an option only the target has is set to, so that it disappears.
String ResetValue(const String& key) {
  static const std::pair<const char*, const char*> resets[] = {
      {"COMMENT", "''"},
      {"ROW_FORMAT", "DEFAULT"},
      {"KEY_BLOCK_SIZE", "0"},
      {"STATS_PERSISTENT", "DEFAULT"},
      {"STATS_AUTO_RECALC", "DEFAULT"},
      {"STATS_SAMPLE_PAGES", "DEFAULT"},
      {"CHECKSUM", "0"},
      {"DELAY_KEY_WRITE", "0"},
      {"PACK_KEYS", "DEFAULT"},
      {"MAX_ROWS", "0"},
      {"MIN_ROWS", "0"},
      {"AVG_ROW_LENGTH", "0"},
      {"CONNECTION", "''"},
      {"INSERT_METHOD", "NO"},
      {"UNION", "()"},
      {"PAGE_CHECKSUM", "DEFAULT"},
      {"TRANSACTIONAL", "DEFAULT"},
  };
  for (const auto& [k, v] : resets)
    if (key == k) return v;
  return String();
}

// Options of one engine that another keeps when the engine changes: the
// server forgets them only in a statement after the change.
bool OutlivesEngineChange(const String& key) {
  return key == "PAGE_CHECKSUM" || key == "TRANSACTIONAL";
}

// Options that ALTER TABLE cannot set.
bool IsFixedOption(const String& key) {
  return key == "SEQUENCE";
}

String OptionsText(const TTableOptions& options) {
  String r;
  for (const TTableOption& o : options.Items)
    r += (r.empty() ? "" : " ") + o.Text;
  for (const String& f : options.Fixed)
    r += (r.empty() ? "" : " ") + f;
  return r;
}

bool IsCharacterType(const String& type) {
  static const char* const types[] = {"char",     "varchar",   "tinytext", "text",  "mediumtext",
                                      "longtext", "enum",      "set",      "nchar", "nvarchar",
                                      "national", "character", "long"};
  for (const char* t : types)
    if (type == t) return true;
  return false;
}

// A character column whose line names no character set or collation takes
// the table's default.
bool TakesTableCharset(const String& def) {
  size_t i = 0;
  ReadIdentifier(def, i);
  if (!IsCharacterType(LowerCase(ReadIdentifier(def, i)))) return false;
  return FindOutsideQuotes(def, " character set ") == String::npos &&
         FindOutsideQuotes(def, " collate ") == String::npos;
}

bool KeyBeginsWith(const TStrings& keyDefs, const String& column) {
  for (int i = 0; i < keyDefs.GetCount(); ++i) {
    if (StartsWithText(keyDefs[i], "constraint")) continue;
    std::vector<String> cols = ParseColumnList(keyDefs[i]);
    if (!cols.empty() && SameText(cols[0], column)) return true;
  }
  return false;
}

} // namespace

// Current servers refuse to drop a column that a key of several columns or a
// foreign key uses: such keys of the target go in the same statement, before
// the column ("drop index ix, drop column c"), and the key phases take them
// as gone. The rest of a primary key dropped that way stays indexed for an
// auto_increment column or a foreign key that needs it: by a temporary index,
// dropped after the table's key statements.
String TSyncEngine::DropColumnStatement(const String& table, const String& column, TStrings& keyNames,
                                        TStrings& keyDefs) {
  String clauses;
  std::vector<String> primaryRest;
  for (int k = 0; k < keyDefs.GetCount();) {
    const String def = keyDefs[k];
    bool constraint = StartsWithText(def, "constraint");
    bool foreign = constraint && FindOutsideQuotes(def, "foreign key") != String::npos;
    std::vector<String> columns = foreign ? ForeignKeyColumns(def) : ParseColumnList(def);
    bool uses =
        std::any_of(columns.begin(), columns.end(), [&](const String& c) { return SameText(c, column); });
    if (!uses || (constraint && !foreign)) {
      ++k;
      continue;
    }
    bool isPrimary = SameText(keyNames[k], "primary key");
    if (isPrimary)
      std::copy_if(columns.begin(), columns.end(), std::back_inserter(primaryRest),
                   [&](const String& c) { return !SameText(c, column); });
    clauses += isPrimary ? String("drop primary key, ")
                         : "drop " + (foreign ? DropClause(def) : "index " + QuoteName(keyNames[k])) + ", ";
    FDroppedKeys[LowerCase(table)].insert(LowerCase(keyNames[k]));
    keyNames.Delete(k);
    keyDefs.Delete(k);
  }
  String statement = "alter table " + QuoteName(table) + " " + clauses + "drop column " + QuoteName(column);
  if (!primaryRest.empty()) {
    String name = GeneratedName("ix_tmp_primary_key_", table), list;
    for (const String& c : primaryRest) {
      if (!list.empty()) list += ",";
      list += QuoteName(c);
    }
    statement += Format(", add index %s(%s)", QuoteName(name), list);
    FTemporaryIndices[LowerCase(table)].push_back(name);
    keyNames.Add(LowerCase(name));
    keyDefs.Add(Format("KEY %s (%s)", QuoteName(name), list));
  }
  return statement;
}

String AutoIncrementColumn(const TStrings& columnNames, const TStrings& columnDefs) {
  for (int i = 0; i < columnDefs.GetCount(); ++i)
    if (FindOutsideQuotes(columnDefs[i], "auto_increment") != String::npos) return columnNames[i];
  return String();
}

void TSyncEngine::SyncTableOptions(const String& table, const String& sourceType, const String& targetType) {
  FDefaultCharsetChanged = false;
  if (sourceType == targetType) return;
  if (IsOldStyleType(sourceType) || IsOldStyleType(targetType)) {
    if (!FSettings.AllowTblTypeChg) return;
    Log(Format("Changing type of table %s: %s -> %s", table, targetType, sourceType));
    Statement(Format("alter table %s type=%s", QuoteName(table), sourceType));
    return;
  }
  TTableOptions source = ParseTableOptions(sourceType), target = ParseTableOptions(targetType);
  if (!source.Partition.empty() || !target.Partition.empty())
    Log(Format("Partitioning of table %s is not compared.", table));
  if (source.Fixed != target.Fixed)
    Log(Format("Table %s: %s -> %s cannot be changed by alter table; left as it is.", table,
               OptionsText({{}, target.Fixed, {}}), OptionsText({{}, source.Fixed, {}})));

  std::vector<String> changes, afterEngine;
  bool charset = false, engineChanges = false;
  auto add = [&](const String& key, const String& text) {
    for (const String& c : changes)
      if (c == text) return;
    changes.push_back(text);
    charset |= key == "CHARSET" || key == "COLLATE";
    engineChanges |= key == "ENGINE";
  };
  for (const TTableOption& o : source.Items) {
    if (o.Key == "AUTO_INCREMENT" || (o.Key == "ENGINE" && !FSettings.AllowTblTypeChg)) continue;
    const TTableOption* t = FindOption(target, o.Key);
    if (t && t->Value == o.Value) continue;
    if (IsFixedOption(o.Key)) {
      Log(Format("Table %s: %s cannot be changed by alter table; left as it is.", table, o.Text));
      continue;
    }
    add(o.Key, o.Text);
  }
  for (const TTableOption& t : target.Items) {
    if (t.Key == "AUTO_INCREMENT" || t.Key == "ENGINE" || FindOption(source, t.Key)) continue;
    const TTableOption* sourceCharset = FindOption(source, "CHARSET");
    if (t.Key == "COLLATE" && sourceCharset) {
      // The character set alone sets its default collation.
      add("CHARSET", sourceCharset->Text);
      continue;
    }
    String reset = ResetValue(t.Key);
    // Aria keeps a page checksum whatever a statement says.
    const TTableOption* engine = FindOption(engineChanges ? source : target, "ENGINE");
    if (t.Key == "PAGE_CHECKSUM" && engine && SameText(engine->Value, "Aria")) reset.clear();
    if (reset.empty()) {
      Log(Format("Table %s: %s cannot be reset by alter table; left as it is.", table, t.Text));
      continue;
    }
    if (engineChanges && OutlivesEngineChange(t.Key))
      afterEngine.push_back(t.Name + "=" + reset);
    else
      add(t.Key, t.Name + "=" + reset);
  }
  if (changes.empty()) return;
  Log(Format("Changing type of table %s: %s -> %s", table, OptionsText(target), OptionsText(source)));
  for (const std::vector<String>* clauses : {&changes, &afterEngine}) {
    if (clauses->empty()) continue;
    String statement = "alter table " + QuoteName(table);
    for (const String& c : *clauses)
      statement += " " + c;
    Statement(statement);
  }
  FDefaultCharsetChanged = charset;
}

void TSyncEngine::SyncColumns(const String& table, const String& sourceType, const TStrings& columnNames,
                              const TStrings& columnDefs) {
  String targetType;
  TStringList targetNames, targetDefs, targetKeyNames, targetKeyDefs;
  ReadTableDefinition(table, targetType, &targetNames, &targetDefs, &targetKeyNames, &targetKeyDefs, FTarget);
  SyncTableOptions(table, sourceType, targetType);
  const String t = QuoteName(table);

  if (FSettings.DropExtraColumns) {
    for (int i = 0; i < targetNames.GetCount();) {
      if (columnNames.IndexOf(targetNames[i]) >= 0) {
        ++i;
        continue;
      }
      Log(Format("Dropping column %s/%s", table, targetNames[i]));
      Statement(DropColumnStatement(table, targetNames[i], targetKeyNames, targetKeyDefs));
      targetNames.Delete(i);
      targetDefs.Delete(i);
    }
  }

  const int count = columnNames.GetCount();
  for (int i = 0; i < count; ++i) {
    const String n = columnNames[i], d = columnDefs[i];
    bool newDefault = FDefaultCharsetChanged && TakesTableCharset(d);
    if (i < targetDefs.GetCount() && d == targetDefs[i] && !newDefault) continue;
    int index = targetNames.IndexOf(n);
    const String p = i == 0 ? String("first") : "after " + QuoteName(columnNames[i - 1]);

    size_t autoInc = FindOutsideQuotes(d, "auto_increment");
    if (autoInc != String::npos) {
      bool needIndex = true;
      if (index == -1) {
        VerboseLog("*Adding temporary column without auto_increment for required auto_increment index: " + n);
        String plain = d;
        plain.erase(autoInc, 14);
        Statement("alter table " + t + " add column " + plain + " " + p);
        InsertAt(targetNames, i, n);
        InsertAt(targetDefs, i, d);
        index = i;
      } else {
        // An index that begins with the column serves already.
        needIndex = !KeyBeginsWith(targetKeyDefs, n);
      }
      if (needIndex) {
        VerboseLog("*Adding dummy temporary index because of auto_increment: " + n);
        String name = GeneratedName("ix_tmp_autoinc_", n);
        Statement(Format("alter table %s add index %s(%s)", t, QuoteName(name), QuoteName(n)));
        FTemporaryIndices[LowerCase(table)].push_back(name);
      }
    }

    Log(Format("Altering column %s/%s", table, n));
    Statement(Format("alter table %s %s column %s %s", t, index == -1 ? "add" : "modify", d, p));
    if (index == -1) {
      InsertAt(targetNames, i, n);
      InsertAt(targetDefs, i, d);
    }
  }
}
