// The engine's connections to the throwaway test server, over the program's
// own MySQL components as the program makes them, but on the server's port.
#pragma once

#include "MySQLSyncDatabase.h"

#include <optional>

// The test server named by VELMORA_TEST_MYSQL, VELMORA_TEST_USER and
// VELMORA_TEST_PASSWORD; nothing when they are not set.
struct TTestServer {
  String Host;
  unsigned Port = 0;
  String User, Password;
};
std::optional<TTestServer> TestServer();

class TServerDatabase : public TmySQLSyncDatabase {
public:
  // charset: a character set the connection switches to once connected;
  // empty keeps the one the components choose, as the program does.
  explicit TServerDatabase(const TTestServer& server, String charset = "");

  void Connect(const String& host, const String& userName, const String& password,
               const String& databaseName) override;
  // Connects to the test server with its credentials.
  void Use(const String& databaseName) {
    Connect(FServer.Host, FServer.User, FServer.Password, databaseName);
  }

private:
  TTestServer FServer;
  String FCharset;
};
