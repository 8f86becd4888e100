// The engine's connection over the program's own MySQL components: one
// connection component, and one query component for its statements.
#pragma once

#include "UtilDB.h"

#include <memory>

class TmySQLDatabase;
class TmySQLQuery;

class TmySQLSyncDatabase : public TSyncDatabase {
public:
  // Works on the given component, which the caller keeps alive; its port and
  // other parameters stay as they are.
  explicit TmySQLSyncDatabase(TmySQLDatabase& database);
  // Works on a component of its own on the default port.
  TmySQLSyncDatabase();
  ~TmySQLSyncDatabase() override;
  TmySQLSyncDatabase(const TmySQLSyncDatabase&) = delete;
  TmySQLSyncDatabase& operator=(const TmySQLSyncDatabase&) = delete;

  void Connect(const String& host, const String& userName, const String& password,
               const String& databaseName) override;
  void Disconnect() override;
  bool GetConnected() const override;
  String GetHost() const override;
  String GetUserName() const override;
  String GetPassword() const override;
  String GetDatabaseName() const override;
  TSqlRows Open(const String& sql) override;
  int64_t ExecuteSQL(const String& sql) override;
  void StartTransaction() override;
  void Commit() override;
  void Rollback() override;
  bool GetInTransaction() const override;

  TmySQLDatabase& Database() const { return FDatabase; }

private:
  std::unique_ptr<TmySQLDatabase> FOwned;
  TmySQLDatabase& FDatabase;
  std::unique_ptr<TmySQLQuery> FQuery;
};
