// Helpers the engine's sources share.
#pragma once

#include "Classes.h"
#include "SysUtils.h"

#include <vector>

// prefix + name, cut to the 64 characters a server allows in a name.
String GeneratedName(const String& prefix, const String& name);
// The column whose line says auto_increment, empty when there is none.
String AutoIncrementColumn(const TStrings& columnNames, const TStrings& columnDefs);
// The name after CONSTRAINT in a key line, without quotes; empty when the
// line names none.
String ConstraintName(const String& keyDef);
// The columns of a foreign key, between FOREIGN KEY and REFERENCES.
std::vector<String> ForeignKeyColumns(const String& keyDef);
// What "alter table T drop ..." needs to drop a constraint line.
String DropClause(const String& keyDef);
// A REFERENCES clause: the database when one is named, the table, and the
// referenced columns in lower case; names without quotes.
struct TReference {
  String Database, Table;
  std::vector<String> Columns;
};
std::vector<TReference> References(const String& text);
// The tables named after REFERENCES in a text, without quotes.
std::vector<String> ReferencedTables(const String& text);
class TSyncDatabase;
// Rolls back, for cleaning up after an error: a failing rollback must not
// hide the error that led to it.
void RollbackQuietly(TSyncDatabase& db);
