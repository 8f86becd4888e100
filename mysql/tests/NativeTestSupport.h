// The native layer against the test server (tools/testdb): connections
// through the engine, statements and record buffers.
#pragma once

#include "ClientTestSupport.h"
#include "mySQLAccess.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

// The database the native tests create their tables in.
inline constexpr const char* NativeTestDatabase = "velmora_native";

class TNativeOnServer : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TestServerAddress(FServer)) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set (start tools/testdb)";
    TNativeConnect* setup = Open(TestAccount(), "");
    ASSERT_TRUE(setup);
    Exec(setup, Format("CREATE DATABASE IF NOT EXISTS %s", NativeTestDatabase));
    Close(setup);
  }

  void TearDown() override {
    for (TNativeDataSet*& statement : FStatements)
      FEngine.FreeStatement(statement);
    for (TNativeConnect*& connection : FConnections)
      FEngine.CloseDatabase(connection);
  }

  TStringList Params(const TTestAccount& account, const String& database) const {
    TStringList params;
    params.SetValue("UID", account.User);
    params.SetValue("PWD", account.Password);
    params.SetValue("DatabaseName", database);
    params.SetValue("Port", IntToStr(FServer.Port));
    params.SetValue("Host", FServer.Host);
    params.SetValue("TIMEOUT", "10");
    return params;
  }

  // A connection kept until the test ends; nullptr when it fails.
  TNativeConnect* Open(const TTestAccount& account = TestAccount(),
                       const String& database = NativeTestDatabase) {
    TNativeConnect* connection = nullptr;
    const uint16_t code = FEngine.OpenDatabase(0, Params(account, database), connection);
    EXPECT_EQ(code, 0) << FEngine.GetLastNativeError() << " " << FEngine.GetLastErrorText();
    if (connection) FConnections.push_back(connection);
    return connection;
  }

  void Close(TNativeConnect* connection) {
    for (TNativeConnect*& c : FConnections)
      if (c == connection) FEngine.CloseDatabase(c);
  }

  void Exec(TNativeConnect* connection, const String& sql) {
    int affected = 0;
    EXPECT_EQ(FEngine.ExecuteDirect(connection, 2, sql, false, affected), 0)
        << sql << ": " << FEngine.GetLastErrorText();
  }

  // A statement opened as a cursor; nullptr when that fails.
  TNativeDataSet* OpenCursor(TNativeConnect* connection, const String& sql) {
    TNativeDataSet* statement = nullptr;
    EXPECT_EQ(FEngine.AllocStatement(connection, statement), 0);
    FStatements.push_back(statement);
    EXPECT_EQ(FEngine.PrepareStatement(statement, sql), 0);
    TNativeDataSet* cursor = nullptr;
    const uint16_t code = FEngine.ExecuteStatement(statement, &cursor);
    EXPECT_EQ(code, 0) << sql << ": " << FEngine.GetLastErrorText();
    return cursor;
  }

  // A record buffer sized for the cursor.
  static std::vector<char> Buffer(TNativeDataSet* cursor) {
    return std::vector<char>(cursor->GetBufferSize(), 0);
  }

  // The value of a field in the caller's representation; blank when NULL.
  template <typename T> T FieldAs(TNativeDataSet* cursor, int field, std::vector<char>& buffer, bool& blank) {
    T value{};
    EXPECT_EQ(FEngine.GetField(cursor, field, buffer.data(), &value, blank), 0);
    return value;
  }

  String FieldText(TNativeDataSet* cursor, int field, std::vector<char>& buffer, bool& blank) {
    std::vector<char> text(cursor->GetFields().Field(field)->GetFieldLength() + 1, 0);
    EXPECT_EQ(FEngine.GetField(cursor, field, buffer.data(), text.data(), blank), 0);
    return String(text.data());
  }

  TTestServerAddress FServer;
  TmySQLEngine FEngine;
  std::vector<TNativeConnect*> FConnections;
  std::vector<TNativeDataSet*> FStatements;
};
