// Test scaffolding only: a connection over Debian's MariaDB client library,
// standing in for the program's own MySQL layer in the tests that need a
// real server. Native builds only.
#pragma once

#include "UtilDB.h"

#include <optional>

struct st_mysql;

// The throwaway test server named by VELMORA_TEST_MYSQL, VELMORA_TEST_USER
// and VELMORA_TEST_PASSWORD; nothing when they are not set.
struct TTestServer {
  String Host;
  unsigned Port = 0;
  String User, Password;
};
std::optional<TTestServer> TestServer();

class TMariaDbDatabase : public TSyncDatabase {
public:
  // charset: the connection's character set.
  explicit TMariaDbDatabase(const TTestServer& server, String charset = "utf8mb4");
  ~TMariaDbDatabase() override;
  TMariaDbDatabase(const TMariaDbDatabase&) = delete;
  TMariaDbDatabase& operator=(const TMariaDbDatabase&) = delete;

  void Connect(const String& host, const String& userName, const String& password,
               const String& databaseName) override;
  void Disconnect() override;
  bool GetConnected() const override { return FMysql != nullptr; }
  String GetHost() const override { return FHost; }
  String GetUserName() const override { return FUser; }
  String GetPassword() const override { return FPassword; }
  String GetDatabaseName() const override { return FDatabase; }
  TSqlRows Open(const String& sql) override;
  int64_t ExecuteSQL(const String& sql) override;
  void StartTransaction() override;
  void Commit() override;
  void Rollback() override;
  bool GetInTransaction() const override { return FInTransaction; }

  // Connects to the test server with its credentials.
  void Use(const String& databaseName) { Connect(FHost, FUser, FPassword, databaseName); }
  // Statements sent, counted for the tests that care.
  int StatementCount = 0;

private:
  [[noreturn]] void RaiseError();
  void Query(const String& sql);

  st_mysql* FMysql = nullptr;
  unsigned FPort;
  String FCharset, FHost, FUser, FPassword, FDatabase;
  bool FInTransaction = false;
};
