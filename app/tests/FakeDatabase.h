// A connection that answers from text given by the test: the definitions
// that "show create table" returns and the tables that "show full tables"
// lists. Every statement it is sent is recorded.
#pragma once

#include "UtilDB.h"

#include <cstring>
#include <map>
#include <vector>

class TScriptedDatabase : public TSyncDatabase {
public:
  TScriptedDatabase(String host = "localhost", String database = "db") : FHost(host), FDatabase(database) {}

  // Adds a table with the CREATE TABLE text the server prints for it.
  void AddTable(const String& name, const String& createText) {
    Tables.push_back(name);
    Definitions[LowerCase(name)] = createText;
  }

  std::vector<String> Tables;
  std::map<String, String> Definitions;
  std::vector<String> Sent;
  // A statement that fails when it is executed, with its message.
  String FailOn, FailMessage = "mySQL Error Code: (1064)\r\nYou have an error in your SQL syntax";
  bool FailRollback = false;
  int Commits = 0, Rollbacks = 0;

  void Connect(const String& host, const String& userName, const String& password,
               const String& databaseName) override {
    FHost = host;
    FUser = userName;
    FPassword = password;
    FDatabase = databaseName;
    FConnected = true;
    Sent.push_back("<connect " + databaseName + ">");
  }
  void Disconnect() override { FConnected = false; }
  bool GetConnected() const override { return FConnected; }
  String GetHost() const override { return FHost; }
  String GetUserName() const override { return FUser; }
  String GetPassword() const override { return FPassword; }
  String GetDatabaseName() const override { return FDatabase; }

  TSqlRows Open(const String& sql) override {
    Sent.push_back(sql);
    if (sql == "show full tables") {
      TSqlRows rows;
      for (const String& t : Tables)
        rows.push_back({t, String("BASE TABLE")});
      return rows;
    }
    for (const char* prefix : {"show create table ", "show create table\t"}) {
      if (sql.rfind(prefix, 0) != 0) continue;
      String name = sql.substr(strlen(prefix));
      if (name.size() > 1 && name.front() == '`') name = name.substr(1, name.size() - 2);
      auto it = Definitions.find(LowerCase(name));
      if (it == Definitions.end())
        throw Exception("mySQL Error Code: (1146)\r\nTable '" + name + "' doesn't exist");
      return {{name, it->second}};
    }
    return {};
  }
  int64_t ExecuteSQL(const String& sql) override {
    Sent.push_back(sql);
    if (!FailOn.empty() && sql == FailOn) throw Exception(FailMessage);
    return 0;
  }
  void StartTransaction() override {
    Sent.push_back("<begin>");
    FInTransaction = true;
  }
  void Commit() override {
    Sent.push_back("<commit>");
    ++Commits;
    FInTransaction = false;
  }
  void Rollback() override {
    Sent.push_back("<rollback>");
    ++Rollbacks;
    FInTransaction = false;
    if (FailRollback)
      throw Exception("mySQL Error Code: (2013)\r\nLost connection to MySQL server during query");
  }
  bool GetInTransaction() const override { return FInTransaction; }

private:
  String FHost, FUser, FPassword, FDatabase;
  bool FConnected = false, FInTransaction = false;
};
