// The test server's accounts (tools/testdb) and small helpers for the
// client tests.
#pragma once

#include "NetTestServer.h"
#include "uMysqlClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

struct TTestAccount {
  String User, Password;
};

inline String TestEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

inline TTestAccount TestAccount() {
  return {TestEnv("VELMORA_TEST_USER"), TestEnv("VELMORA_TEST_PASSWORD")};
}
inline TTestAccount TestOldAccount() {
  return {TestEnv("VELMORA_TEST_OLD_USER"), TestEnv("VELMORA_TEST_OLD_PASSWORD")};
}

// A clock the test moves by hand, in place of the system's while it lives:
// a connection is idle exactly as long as the test says.
class TSteeredClock {
public:
  TSteeredClock() {
    FNow = 0;
    SetMysqlClock([] { return FNow; });
  }
  ~TSteeredClock() { SetMysqlClock(nullptr); }
  TSteeredClock(const TSteeredClock&) = delete;
  TSteeredClock& operator=(const TSteeredClock&) = delete;
  void Advance(int64_t ms) { FNow += ms; }

private:
  static inline int64_t FNow = 0;
};

// A client connected to the test server, with the time-out short enough
// that a fault fails the test quickly.
class TClientOnServer : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TestServerAddress(FServer)) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set (start tools/testdb)";
  }

  std::unique_ptr<TMysqlClient> Connect(const TTestAccount& account, const String& database = "") {
    auto client = std::make_unique<TMysqlClient>();
    client->Timeout = 10;
    const bool ok =
        client->Connect(FServer.Host, account.User, account.Password, database, FServer.Port, "", vkTcp, 0);
    EXPECT_TRUE(ok) << client->ErrorCode() << " " << client->ErrorText();
    return client;
  }
  std::unique_ptr<TMysqlClient> Connect() { return Connect(TestAccount()); }

  TTestServerAddress FServer;
};

// Runs a statement and hands back its stored result; a failure fails the test.
inline std::unique_ptr<TMysqlResult> RunSql(TMysqlClient& client, const String& sql) {
  bool ran = false;
  auto result = client.Query(sql, true, ran);
  EXPECT_TRUE(ran) << sql << ": " << client.ErrorCode() << " " << client.ErrorText();
  return result;
}

// The text of one value of the current row; "(null)" for NULL.
inline String ValueText(const TMysqlResult& result, int column) {
  const char* v = result.Value(column);
  return v ? String(v) : "(null)";
}

// The first value of a one-row result.
inline String ScalarOf(TMysqlClient& client, const String& sql) {
  auto result = RunSql(client, sql);
  if (!result || result->GetEof()) return "(no row)";
  return ValueText(*result, 0);
}
