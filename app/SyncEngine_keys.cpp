// Key and constraint synchronization: the source's keys added to the target,
// the target's keys that differ replaced.
#include "SyncEngine.h"
#include "SyncEngine_internal.h"
#include "Util.h"

#include <algorithm>

String GeneratedName(const String& prefix, const String& name) {
  String r = prefix + name;
  if (r.size() <= 64) return r;
  size_t cut = 64;
  // Never cut inside a multi-byte character.
  while (cut > 0 && (static_cast<unsigned char>(r[cut]) & 0xC0) == 0x80)
    --cut;
  return r.substr(0, cut);
}

String ConstraintName(const String& keyDef) {
  if (!StartsWithText(keyDef, "constraint ")) return String();
  size_t i = 11;
  return ReadIdentifier(keyDef, i);
}

std::vector<TReference> References(const String& text) {
  std::vector<TReference> references;
  for (size_t p = FindOutsideQuotes(text, "references "); p != String::npos;
       p = FindOutsideQuotes(text, "references ", p + 1)) {
    // A word that merely ends in "references" is no clause.
    if (p > 0 && (std::isalnum(static_cast<unsigned char>(text[p - 1])) || text[p - 1] == '_')) continue;
    size_t i = p + 11;
    TReference r;
    r.Table = ReadIdentifier(text, i);
    // db.table names the table last.
    while (i < text.size() && text[i] == '.') {
      r.Database = r.Table;
      r.Table = ReadIdentifier(text, ++i);
    }
    r.Columns = ParseColumnList(text.substr(i));
    references.push_back(std::move(r));
  }
  return references;
}

std::vector<String> ReferencedTables(const String& text) {
  std::vector<String> tables;
  for (const TReference& r : References(text))
    tables.push_back(r.Table);
  return tables;
}

std::vector<String> ForeignKeyColumns(const String& keyDef) {
  size_t fk = FindOutsideQuotes(keyDef, "foreign key");
  if (fk == String::npos) return {};
  return ParseColumnList(keyDef.substr(fk + 11));
}

String DropClause(const String& keyDef) {
  String kind = FindOutsideQuotes(keyDef, "foreign key") != String::npos ? "FOREIGN KEY " : "constraint ";
  return kind + QuoteName(ConstraintName(keyDef));
}

namespace {

bool IsConstraint(const String& keyDef) {
  return StartsWithText(keyDef, "constraint");
}

bool IsLeadingPrefix(const std::vector<String>& part, const std::vector<String>& whole) {
  return !part.empty() && part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

// The position of the constraint named name among the key definitions.
int FindConstraint(const TStrings& keyDefs, const String& name) {
  if (name.empty()) return -1;
  for (int i = 0; i < keyDefs.GetCount(); ++i)
    if (SameText(ConstraintName(keyDefs[i]), name)) return i;
  return -1;
}

} // namespace

// Answered from the target's own definitions, each read at most once a run:
// the server's catalogue would open every table to answer it.
bool TSyncEngine::ReferencedByForeignKey(const String& table, const String& column) {
  if (!FReferencedColumns || !FInRun) {
    FReferencedColumns.emplace();
    TStringList tables, keyDefs;
    QueryBaseTables(tables, FTarget);
    String type;
    for (int t = 0; t < tables.GetCount(); ++t) {
      ReadTableDefinition(tables[t], type, nullptr, nullptr, nullptr, &keyDefs, FTarget);
      for (int k = 0; k < keyDefs.GetCount(); ++k) {
        if (FindOutsideQuotes(keyDefs[k], "foreign key") == String::npos) continue;
        for (const TReference& r : References(keyDefs[k])) {
          if (!r.Database.empty() && !SameText(r.Database, FTarget.GetDatabaseName())) continue;
          for (const String& c : r.Columns)
            FReferencedColumns->emplace(LowerCase(r.Table), c);
        }
      }
    }
  }
  return FReferencedColumns->count({LowerCase(table), LowerCase(column)}) > 0;
}

void TSyncEngine::TurnForeignKeyChecksOff() {
  if (FInRun && FForeignKeyChecksSent) return;
  RunStatement("set foreign_key_checks=0", FTarget);
  FForeignKeyChecksSent = true;
}

void TSyncEngine::SyncKeys(const String& table, const TStrings& keyNames, const TStrings& keyDefs,
                           uint8_t mode) {
  String targetType;
  TStringList targetColumnNames, targetColumnDefs, targetNames, targetDefs;
  ReadTableDefinition(table, targetType, &targetColumnNames, &targetColumnDefs, &targetNames, &targetDefs,
                      FTarget);
  TurnForeignKeyChecksOff();
  const String t = QuoteName(table);
  // Keys the script dropped with their columns are gone for this comparison.
  for (const String& gone : FDroppedKeys[LowerCase(table)]) {
    int i = targetNames.IndexOf(gone);
    if (i < 0) continue;
    targetNames.Delete(i);
    targetDefs.Delete(i);
  }

  const int count = keyDefs.GetCount();
  for (int i = 0; i < count; ++i) {
    const String k = keyNames[i], s = keyDefs[i];
    int c = targetNames.IndexOf(k);
    if ((mode == 0) == IsConstraint(s)) continue;
    if (c != -1 && LowerCase(targetDefs[c]) == LowerCase(s)) continue;
    // A foreign key found by what it does is never replaced.
    if (c != -1 && StartsWithText(k, "foreign key ")) continue;

    if (mode == 1) {
      // A constraint of the same name with another definition goes first.
      int same = FindConstraint(targetDefs, ConstraintName(s));
      if (same != -1) {
        String r = DropClause(targetDefs[same]);
        Log(Format("Dropping key %s/%s", table, r));
        Statement(Format("alter table %s drop %s", t, r));
        targetNames.Delete(same);
        targetDefs.Delete(same);
      }
      // A new foreign key may reference a table this script creates later.
      if (!FForeignKeyChecksOff) {
        for (const String& ref : ReferencedTables(s)) {
          bool missing = std::any_of(FMissingTables.begin(), FMissingTables.end(),
                                     [&](const auto& m) { return SameText(m.first, ref); });
          if (!missing) continue;
          AppendToScript("set foreign_key_checks=0;");
          FForeignKeyChecksOff = true;
          break;
        }
      }
      Log(Format("Adding key %s/%s", table, k));
      Statement(Format("alter table %s add %s", t, s));
      continue;
    }

    if (c == -1) {
      Log(Format("Adding key %s/%s", table, k));
      Statement(Format("alter table %s add %s", t, s));
      continue;
    }

    const String g = targetDefs[c];
    if (LowerCase(g).find("primary key ") != String::npos) {
      const String temp = GeneratedName("ix_tmp_primary_key_", table);
      VerboseLog(Format("*Adding temporary index before recreating primary key in local table %s", table));
      size_t columns = g.find('(');
      Statement(Format("alter table %s add unique index %s %s", t, QuoteName(temp),
                       columns == String::npos ? String() : g.substr(columns)));
      Log(Format("Dropping key %s/%s", table, k));
      Statement(Format("alter table %s drop %s", t, k));
      Log(Format("Adding key %s/%s", table, k));
      Statement(Format("alter table %s add %s", t, s));
      VerboseLog(
          Format("*Removing temporary index needed for creation of primary key in local table %s", table));
      Statement(Format("alter table %s drop index %s", t, QuoteName(temp)));
      continue;
    }

    const String r = "index " + QuoteName(k);
    const std::vector<String> columns = ParseColumnList(g);
    // The foreign keys served by this index go while it is replaced and
    // come back after the new one.
    std::vector<String> dependants;
    for (int h = 0; h < targetDefs.GetCount();) {
      const String def = targetDefs[h];
      if (!IsConstraint(def) || !IsLeadingPrefix(ForeignKeyColumns(def), columns)) {
        ++h;
        continue;
      }
      VerboseLog(Format("*Dropping dependant constraint %s of index %s", def, r));
      Statement(Format("alter table %s drop %s", t, DropClause(def)));
      dependants.push_back(def);
      targetNames.Delete(h);
      targetDefs.Delete(h);
    }

    // Dropping the index on its own fails when it is the last one that
    // serves the auto_increment column or a foreign key referencing it.
    bool together = false;
    if (!columns.empty()) {
      const String& first = columns[0];
      String sourceAuto = FAutoIncrementColumns[LowerCase(table)];
      String targetAuto = AutoIncrementColumn(targetColumnNames, targetColumnDefs);
      if (SameText(first, sourceAuto) || SameText(first, targetAuto)) {
        const auto& temps = FTemporaryIndices[LowerCase(table)];
        together = std::none_of(temps.begin(), temps.end(), [&](const String& n) {
          return SameText(n, GeneratedName("ix_tmp_autoinc_", first));
        });
        for (int o = 0; together && o < targetDefs.GetCount(); ++o) {
          if (o == c || IsConstraint(targetDefs[o])) continue;
          std::vector<String> other = ParseColumnList(targetDefs[o]);
          together = other.empty() || !SameText(other[0], first);
        }
      }
      together = together || ReferencedByForeignKey(table, first);
    }

    Log(Format("Dropping key %s/%s", table, r));
    if (together) {
      Log(Format("Adding key %s/%s", table, k));
      Statement(Format("alter table %s drop %s, add %s", t, r, s));
    } else {
      Statement(Format("alter table %s drop %s", t, r));
      Log(Format("Adding key %s/%s", table, k));
      Statement(Format("alter table %s add %s", t, s));
    }
    for (const String& def : dependants) {
      VerboseLog(Format("*Restoring dependant constraint %s of index %s", def, r));
      Statement(Format("alter table %s add %s", t, def));
    }
  }
}

void TSyncEngine::DropTemporaryIndices(const String& table) {
  auto it = FTemporaryIndices.find(LowerCase(table));
  if (it == FTemporaryIndices.end()) return;
  for (const String& name : it->second) {
    VerboseLog("*Removing temporary index because of auto_increment: " + name);
    Statement(Format("alter table %s drop index %s", QuoteName(table), QuoteName(name)));
  }
  FTemporaryIndices.erase(it);
}
