// The synchronizer's road to the server: the narrow connection interface the
// engine works on, and the query utilities every other part uses to send a
// statement or read rows.
#pragma once

#include "Classes.h"
#include "SysUtils.h"

#include <optional>
#include <vector>

// One column value of a row: absent for SQL NULL, so NULL and '' differ.
using TSqlValue = std::optional<String>;
using TSqlRow = std::vector<TSqlValue>;
using TSqlRows = std::vector<TSqlRow>;

// A connection to one database of a MySQL server. Errors of the server or of
// the connection are raised as exceptions derived from Exception whose
// message carries the server's error number and text.
class TSyncDatabase {
public:
  virtual ~TSyncDatabase() = default;
  // Connects with these settings, replacing the stored ones; an empty
  // database name connects without a default database.
  virtual void Connect(const String& host, const String& userName, const String& password,
                       const String& databaseName) = 0;
  virtual void Disconnect() = 0;
  virtual bool GetConnected() const = 0;
  virtual String GetHost() const = 0;
  virtual String GetUserName() const = 0;
  virtual String GetPassword() const = 0;
  virtual String GetDatabaseName() const = 0;
  // Runs a statement that returns rows; each row has one value per column.
  virtual TSqlRows Open(const String& sql) = 0;
  // Runs a statement without a result; the number of rows it changed.
  virtual int64_t ExecuteSQL(const String& sql) = 0;
  virtual void StartTransaction() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  virtual bool GetInTransaction() const = 0;
};

// The values of the first row of the last FetchFirstRow, one per column;
// entries beyond its column count keep earlier values. Holds at least 50
// entries and grows for wider results.
extern std::vector<TSqlValue> RowValues;

// Clears the list and fills it with the first column of every row; with
// objects set and more than one column, each entry's object is the second
// column's integer value.
void QueryToStrings(const String& sql, TStrings& list, TSyncDatabase& db, bool objects = false);
void RunStatement(const String& sql, TSyncDatabase& db);
// Copies the first row into RowValues (NULLs when there is none); the
// result's row count.
int FetchFirstRow(const String& sql, TSyncDatabase& db);
void FetchSingleValue(const String& sql, TSyncDatabase& db, TSqlValue& value);
// The value as text; raises EConvertError for NULL, which is no text.
String SqlValueToString(const TSqlValue& value);

// The tables of the connection's database, views and sequences left out.
void QueryBaseTables(TStrings& list, TSyncDatabase& db);
