// The connection and query components against the test server
// (tools/testdb): databases and queries made for one test.
#pragma once

#include "ClientTestSupport.h"
#include "mySQLDbTables.h"

#include <gtest/gtest.h>

#include <memory>

// The database the component tests create their tables in.
inline constexpr const char* ComponentTestDatabase = "velmora_components";

// The message of the exception F raises; "(none)" when it raises nothing.
template <typename E, typename F> String MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message;
  }
  return "(none)";
}

// Whether F raises the server's error `number` in the component layer's form.
template <typename F>::testing::AssertionResult RaisesServerError(F f, int number) {
  const String message = MessageOf<EmySQLDatabaseError>(f);
  if (message.rfind("mySQL Error Code: (" + IntToStr(number) + ")\r\n", 0) == 0)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << message;
}

class TComponentsOnServer : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TestServerAddress(FServer)) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set (start tools/testdb)";
    auto setup = NewDatabase("");
    setup->Execute(Format("CREATE DATABASE IF NOT EXISTS %s", ComponentTestDatabase));
  }

  // A database set up for the test account, not yet connected.
  std::unique_ptr<TmySQLDatabase> NewDatabase(const String& database = ComponentTestDatabase) const {
    auto db = std::make_unique<TmySQLDatabase>(nullptr);
    db->SetHost(FServer.Host);
    db->SetPort(uint32_t(FServer.Port));
    db->SetUserName(TestAccount().User);
    db->SetUserPassword(TestAccount().Password);
    db->SetDatabaseName(database);
    db->SetConnectionTimeout(10);
    return db;
  }

  static std::unique_ptr<TmySQLQuery> NewQuery(TmySQLDatabase& db, const String& sql) {
    auto query = std::make_unique<TmySQLQuery>(nullptr);
    query->SetDatabase(&db);
    query->GetSQL().SetText(sql);
    return query;
  }

  // The first column of every row, in order.
  static std::vector<String> Column(TmySQLDatabase& db, const String& sql) {
    auto query = NewQuery(db, sql);
    query->Open();
    std::vector<String> values;
    for (query->First(); !query->GetEof(); query->Next())
      values.push_back(query->GetFields()[0]->GetAsString());
    return values;
  }

  TTestServerAddress FServer;
};
