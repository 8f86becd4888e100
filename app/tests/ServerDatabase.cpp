#include "ServerDatabase.h"

#include "mySQLDbTables.h"

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

TServerDatabase::TServerDatabase(const TTestServer& server, String charset)
    : FServer(server), FCharset(std::move(charset)) {
  // The port goes in through the parameters, as a configured component's would.
  Database().GetParams().SetValue("Port", UIntToStr(server.Port));
  Database().SetConnectionTimeout(10);
}

void TServerDatabase::Connect(const String& host, const String& userName, const String& password,
                              const String& databaseName) {
  TmySQLSyncDatabase::Connect(host, userName, password, databaseName);
  if (!FCharset.empty()) ExecuteSQL("SET NAMES " + FCharset);
}
