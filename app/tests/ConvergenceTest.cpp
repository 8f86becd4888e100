// Against the real test server: for each case folder (source.sql,
// target.sql, options), a synchronization must make every source table's
// definition equal to the target's, and a second run must find nothing to
// do; once with the source database, once with source.sql as a script.
#include "FakeWindow.h"
#include "ServerDatabase.h"
#include "Util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const char* const SourceDb = "velmora_case_source";
const char* const TargetDb = "velmora_case_target";

String ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A case folder and its test name: a built-in case is named after its
// folder, an extra one (VELMORA_SYNC_CASES) after its folder with "extra_" in
// front; characters a test name cannot hold become "_", and a name taken
// already gets a number.
struct TCase {
  String Folder, Name;
};

void PrintTo(const TCase& c, std::ostream* os) {
  *os << c.Folder;
}

String TestName(const String& folderName, std::set<String>& taken) {
  String name = folderName;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  String unique = name;
  for (int n = 2; !taken.insert(unique).second; ++n)
    unique = name + "_" + std::to_string(n);
  return unique;
}

std::vector<TCase> CaseFolders() {
  std::vector<TCase> cases;
  std::set<String> taken;
  std::vector<std::pair<fs::path, String>> roots = {{VELMORA_SYNC_CASES_DIR, ""}};
  if (const char* extra = std::getenv("VELMORA_SYNC_CASES"); extra && *extra)
    roots.emplace_back(extra, "extra_");
  for (const auto& [root, prefix] : roots) {
    if (!fs::is_directory(root)) continue;
    std::vector<fs::path> here;
    for (const auto& entry : fs::directory_iterator(root))
      if (fs::exists(entry.path() / "source.sql")) here.push_back(entry.path());
    std::sort(here.begin(), here.end());
    for (const fs::path& folder : here)
      cases.push_back({folder.string(), TestName(prefix + folder.filename().string(), taken)});
  }
  return cases;
}

TSettings CaseSettings(const fs::path& folder) {
  TSettings s;
  for (const TSwitchInfo& i : SettingSwitches)
    s.*i.Field = i.Default;
  TStringList lines;
  lines.SetText(ReadFile(folder / "options"));
  for (int n = 0; n < lines.GetCount(); ++n) {
    String line = Trim(lines[n]);
    if (line.empty() || line[0] == '#') continue;
    String name = Trim(lines.GetName(n)), value = LowerCase(Trim(lines.GetValueFromIndex(n)));
    bool known = false;
    for (const TSwitchInfo& i : SettingSwitches) {
      if (!SameText(i.Name, name)) continue;
      s.*i.Field = value == "1" || value == "on" || value == "true";
      known = true;
    }
    if (!known) ADD_FAILURE() << "unknown option " << name << " in " << folder;
  }
  return s;
}

// What must agree between a source table and the target's: the columns in
// order, the keys and constraints as a set, and the table options but the
// auto-increment counter and the partition clause.
struct TShape {
  std::vector<String> Columns;
  std::multiset<String> Keys;
  String Options;
  bool operator==(const TShape&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TShape& s) {
  for (const String& c : s.Columns)
    os << "\n  column " << c;
  for (const String& k : s.Keys)
    os << "\n  key " << k;
  return os << "\n  options " << s.Options;
}

TShape Shape(const String& createText) {
  TShape shape;
  std::istringstream in(createText);
  String line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    if (line.rfind(")", 0) == 0) {
      shape.Options = std::regex_replace(line.substr(1), std::regex(" AUTO_INCREMENT=[0-9]+"), "");
      break;
    }
    line = Trim(line);
    if (!line.empty() && line.back() == ',') line.pop_back();
    if (line.rfind("`", 0) == 0)
      shape.Columns.push_back(line);
    else
      shape.Keys.insert(line);
  }
  return shape;
}

class Convergence : public ::testing::TestWithParam<TCase> {
protected:
  std::optional<TTestServer> Server = TestServer();
  std::unique_ptr<TServerDatabase> Admin;
  fs::path Folder;

  void SetUp() override {
    if (!Server) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set: no test server";
    Folder = GetParam().Folder;
    Admin = std::make_unique<TServerDatabase>(*Server, "utf8mb4");
    Admin->Use("");
  }

  void Load(const char* database, const char* file) {
    Admin->ExecuteSQL(Format("drop database if exists %s", database));
    Admin->ExecuteSQL(Format("create database %s", database));
    Admin->ExecuteSQL(Format("use %s", database));
    for (const String& statement : SplitScript(ReadFile(Folder / file)))
      Admin->ExecuteSQL(statement);
  }

  std::vector<String> Tables(const String& database) {
    TServerDatabase db(*Server);
    db.Use(database);
    TStringList list;
    QueryBaseTables(list, db);
    std::vector<String> r;
    for (int i = 0; i < list.GetCount(); ++i)
      r.push_back(list[i]);
    return r;
  }

  String Definition(const String& database, const String& table) {
    TSqlRows rows = Admin->Open(Format("show create table %s.%s", QuoteName(database), QuoteName(table)));
    return rows.at(0).at(1).value_or("");
  }

  void ExpectConverged(const String& source, const String& script) {
    for (const String& table : Tables(source)) {
      SCOPED_TRACE(table);
      TSqlRows exists = Admin->Open(Format("show full tables from %s like %s", TargetDb, SqlQuoted(table)));
      ASSERT_EQ(exists.size(), 1u) << "missing on the target; script:\n" << script;
      EXPECT_EQ(Shape(Definition(source, table)), Shape(Definition(TargetDb, table))) << "script:\n"
                                                                                      << script;
    }
  }

  static String SqlQuoted(const String& s) { return "'" + ReplaceAll(s, "'", "''") + "'"; }

  // Runs a synchronization and then a second one that must find nothing.
  void SyncTwice(bool fromScript) {
    TSettings settings = CaseSettings(Folder);
    settings.SyncRunUnprompted = true;
    TServerDatabase source(*Server), target(*Server), script(*Server);
    source.Use(SourceDb);
    target.Use(TargetDb);
    TRecordingWindow window;
    TSyncEngine engine(source, target, script, window, settings);
    engine.SourceIsScript = fromScript;
    engine.ScriptPath = (Folder / "source.sql").string();
    try {
      engine.Synchronize();
    } catch (const Exception& e) {
      FAIL() << e.Message << "\nscript:\n" << window.Script;
    }
    String firstScript = window.Script;
    ExpectConverged(fromScript ? TempSourceDatabase : SourceDb, firstScript);

    settings.SyncRunUnprompted = false;
    window.Confirm = false;
    engine.Synchronize();
    String nothing = settings.NoForeignKeyChecks ? "set foreign_key_checks=0;\r\n" : "";
    EXPECT_EQ(window.Script, nothing) << "first script:\n" << firstScript;
    if (!settings.NoForeignKeyChecks) {
      EXPECT_EQ(window.Messages, std::vector<String>{"Nothing to do!"});
    }
  }
};

TEST_P(Convergence, FromTheSourceDatabase) {
  Load(SourceDb, "source.sql");
  Load(TargetDb, "target.sql");
  SyncTwice(false);
}

TEST_P(Convergence, FromTheSourceScript) {
  Load(TargetDb, "target.sql");
  Load(SourceDb, "target.sql");
  SyncTwice(true);
}

INSTANTIATE_TEST_SUITE_P(Cases, Convergence, ::testing::ValuesIn(CaseFolders()),
                         [](const ::testing::TestParamInfo<TCase>& info) { return info.param.Name; });

} // namespace
