// The engine's connection over the program's own MySQL components.
#include "MySQLSyncDatabase.h"

#include "mySQLDbTables.h"

TmySQLSyncDatabase::TmySQLSyncDatabase(TmySQLDatabase& database) : FDatabase(database) {}

TmySQLSyncDatabase::TmySQLSyncDatabase()
    : FOwned(std::make_unique<TmySQLDatabase>(nullptr)), FDatabase(*FOwned) {}

// The query goes before a database of its own.
TmySQLSyncDatabase::~TmySQLSyncDatabase() {
  FQuery.reset();
}

void TmySQLSyncDatabase::Connect(const String& host, const String& userName, const String& password,
                                 const String& databaseName) {
  // The connection's settings may only change while it is closed.
  FDatabase.Close();
  FDatabase.LoginPrompt = false;
  FDatabase.SetHost(host);
  FDatabase.SetUserName(userName);
  FDatabase.SetUserPassword(password);
  FDatabase.SetDatabaseName(databaseName);
  FDatabase.SetConnected(true);
}

void TmySQLSyncDatabase::Disconnect() {
  FDatabase.Close();
}

bool TmySQLSyncDatabase::GetConnected() const {
  return FDatabase.GetConnected();
}

String TmySQLSyncDatabase::GetHost() const {
  return FDatabase.GetHost();
}

String TmySQLSyncDatabase::GetUserName() const {
  return FDatabase.GetUserName();
}

String TmySQLSyncDatabase::GetPassword() const {
  return FDatabase.GetUserPassword();
}

String TmySQLSyncDatabase::GetDatabaseName() const {
  return FDatabase.GetDatabaseName();
}

// One query component serves every statement: making and registering a
// data set for each would cost more than many a statement itself. It is
// closed after each, so no result outlives its rows.
TSqlRows TmySQLSyncDatabase::Open(const String& sql) {
  if (!FQuery) {
    FQuery = std::make_unique<TmySQLQuery>(nullptr);
    FQuery->SetDatabase(&FDatabase);
    // Statements carry names and literals that may hold a colon: they are
    // sent as written, never read for parameters.
    FQuery->ParamCheck = false;
  }
  TmySQLQuery& query = *FQuery;
  // One line of the list keeps the text byte for byte, line breaks included.
  query.GetSQL().Clear();
  query.GetSQL().Add(sql);
  query.Open();
  TSqlRows rows;
  try {
    const TFields& fields = query.GetFields();
    for (query.First(); !query.GetEof(); query.Next()) {
      TSqlRow row(size_t(fields.GetCount()));
      for (int i = 0; i < fields.GetCount(); ++i)
        if (!fields[i]->IsNull()) row[size_t(i)] = fields[i]->GetAsString();
      rows.push_back(std::move(row));
    }
  } catch (...) {
    query.Close();
    throw;
  }
  query.Close();
  return rows;
}

int64_t TmySQLSyncDatabase::ExecuteSQL(const String& sql) {
  return FDatabase.Execute(sql);
}

void TmySQLSyncDatabase::StartTransaction() {
  FDatabase.StartTransaction();
}

void TmySQLSyncDatabase::Commit() {
  FDatabase.Commit();
}

void TmySQLSyncDatabase::Rollback() {
  FDatabase.Rollback();
}

bool TmySQLSyncDatabase::GetInTransaction() const {
  return FDatabase.GetInTransaction();
}
