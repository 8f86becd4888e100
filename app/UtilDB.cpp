#include "UtilDB.h"

#include <cstdint>

std::vector<TSqlValue> RowValues(50);

void QueryToStrings(const String& sql, TStrings& list, TSyncDatabase& db, bool objects) {
  TSqlRows rows = db.Open(sql);
  list.BeginUpdate();
  list.Clear();
  for (const TSqlRow& row : rows) {
    String first = row.empty() ? String() : row[0].value_or(String());
    if (objects && row.size() > 1) {
      intptr_t n = StrToInt64Def(row[1].value_or(String()), 0);
      list.AddObject(first, reinterpret_cast<void*>(n));
    } else {
      list.Add(first);
    }
  }
  list.EndUpdate();
}

void RunStatement(const String& sql, TSyncDatabase& db) {
  db.ExecuteSQL(sql);
}

int FetchFirstRow(const String& sql, TSyncDatabase& db) {
  TSqlRows rows = db.Open(sql);
  if (!rows.empty()) {
    const TSqlRow& row = rows.front();
    if (row.size() > RowValues.size()) RowValues.resize(row.size());
    std::copy(row.begin(), row.end(), RowValues.begin());
  } else {
    // Without a row every entry reads as NULL: no value of an earlier query
    // may pass for this one's.
    std::fill(RowValues.begin(), RowValues.end(), TSqlValue());
  }
  return static_cast<int>(rows.size());
}

void FetchSingleValue(const String& sql, TSyncDatabase& db, TSqlValue& value) {
  FetchFirstRow(sql, db);
  value = RowValues[0];
}

String SqlValueToString(const TSqlValue& value) {
  if (!value) throw EConvertError("Could not convert variant of type (Null) into type (String)");
  return *value;
}

void QueryBaseTables(TStrings& list, TSyncDatabase& db) {
  TSqlRows rows = db.Open("show full tables");
  list.BeginUpdate();
  list.Clear();
  for (const TSqlRow& row : rows) {
    String kind = row.size() > 1 ? row[1].value_or(String()) : String("BASE TABLE");
    if (kind == "BASE TABLE" || kind == "SYSTEM VERSIONED") list.Add(row[0].value_or(String()));
  }
  list.EndUpdate();
}
