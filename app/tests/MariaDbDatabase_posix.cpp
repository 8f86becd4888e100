#include "MariaDbDatabase.h"

#include <mysql.h>

#include <cstdlib>

std::optional<TTestServer> TestServer() {
  const char* address = std::getenv("VELMORA_TEST_MYSQL");
  if (!address || !*address) return std::nullopt;
  TTestServer s;
  String a = address;
  size_t colon = a.rfind(':');
  s.Host = a.substr(0, colon);
  s.Port = colon == String::npos ? 3306 : static_cast<unsigned>(StrToInt(a.substr(colon + 1)));
  const char* user = std::getenv("VELMORA_TEST_USER");
  const char* password = std::getenv("VELMORA_TEST_PASSWORD");
  s.User = user ? user : "";
  s.Password = password ? password : "";
  return s;
}

TMariaDbDatabase::TMariaDbDatabase(const TTestServer& server, String charset)
    : FPort(server.Port), FCharset(std::move(charset)), FHost(server.Host), FUser(server.User),
      FPassword(server.Password) {}

TMariaDbDatabase::~TMariaDbDatabase() {
  Disconnect();
}

void TMariaDbDatabase::RaiseError() {
  throw Exception(Format("mySQL Error Code: (%u)\r\n%s", mysql_errno(FMysql), mysql_error(FMysql)));
}

void TMariaDbDatabase::Connect(const String& host, const String& userName, const String& password,
                               const String& databaseName) {
  Disconnect();
  FHost = host;
  FUser = userName;
  FPassword = password;
  FDatabase = databaseName;
  FMysql = mysql_init(nullptr);
  mysql_options(FMysql, MYSQL_SET_CHARSET_NAME, FCharset.c_str());
  if (!mysql_real_connect(FMysql, host.c_str(), userName.c_str(), password.c_str(),
                          databaseName.empty() ? nullptr : databaseName.c_str(), FPort, nullptr, 0)) {
    String message = Format("mySQL Error Code: (%u)\r\n%s", mysql_errno(FMysql), mysql_error(FMysql));
    mysql_close(FMysql);
    FMysql = nullptr;
    throw Exception(message);
  }
}

void TMariaDbDatabase::Disconnect() {
  if (FMysql) mysql_close(FMysql);
  FMysql = nullptr;
  FInTransaction = false;
}

void TMariaDbDatabase::Query(const String& sql) {
  if (!FMysql) Connect(FHost, FUser, FPassword, FDatabase);
  ++StatementCount;
  if (mysql_real_query(FMysql, sql.data(), sql.size()) != 0) RaiseError();
}

TSqlRows TMariaDbDatabase::Open(const String& sql) {
  Query(sql);
  MYSQL_RES* result = mysql_store_result(FMysql);
  if (!result) {
    if (mysql_field_count(FMysql) != 0) RaiseError();
    return {};
  }
  TSqlRows rows;
  unsigned columns = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    unsigned long* lengths = mysql_fetch_lengths(result);
    TSqlRow r(columns);
    for (unsigned c = 0; c < columns; ++c)
      if (row[c]) r[c] = String(row[c], lengths[c]);
    rows.push_back(std::move(r));
  }
  mysql_free_result(result);
  return rows;
}

int64_t TMariaDbDatabase::ExecuteSQL(const String& sql) {
  Query(sql);
  if (MYSQL_RES* result = mysql_store_result(FMysql)) mysql_free_result(result);
  return static_cast<int64_t>(mysql_affected_rows(FMysql));
}

void TMariaDbDatabase::StartTransaction() {
  ExecuteSQL("BEGIN");
  FInTransaction = true;
}

void TMariaDbDatabase::Commit() {
  ExecuteSQL("COMMIT");
  FInTransaction = false;
}

void TMariaDbDatabase::Rollback() {
  FInTransaction = false;
  ExecuteSQL("ROLLBACK");
}
