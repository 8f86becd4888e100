// An engine over scripted connections and a recording window.
#pragma once

#include "FakeDatabase.h"
#include "FakeWindow.h"
#include "SyncEngine.h"
#include "TestLines.h"

#include <gtest/gtest.h>

#include <memory>

// The settings as a fresh installation reads them.
inline TSettings DefaultSettings() {
  TSettings s;
  for (const TSwitchInfo& i : SettingSwitches)
    s.*i.Field = i.Default;
  return s;
}

class EngineFixture : public ::testing::Test {
protected:
  TScriptedDatabase Source{"srchost", "src"}, Target{"tgthost", "tgt"}, Script;
  TRecordingWindow Window;
  TSettings Settings = DefaultSettings();
  std::unique_ptr<TSyncEngine> Engine =
      std::make_unique<TSyncEngine>(Source, Target, Script, Window, Settings);

  // Compares one table: the columns (phase 1), the keys (phase 2) or the
  // constraints (phase 3) of the source text against the target text.
  void SyncColumns(const String& source, const String& target) {
    Target.Definitions["t1"] = target;
    TTableDefinition def;
    ParseTableDefinition(source, Settings.UseBackticks, def);
    Engine->SyncColumns("t1", def.TableType, def.ColumnNames, def.ColumnDefs);
  }
  void SyncKeys(const String& source, const String& target, uint8_t mode) {
    Target.Definitions["t1"] = target;
    TTableDefinition def;
    ParseTableDefinition(source, Settings.UseBackticks, def);
    Engine->SyncKeys("t1", def.KeyNames, def.KeyDefs, mode);
  }
  std::vector<String> Statements() const { return Window.Statements(); }
  // The log without the verbose lines.
  std::vector<String> Log() const {
    std::vector<String> r;
    for (const String& l : Window.LogLines)
      if (l.empty() || l[0] != '*') r.push_back(l);
    return r;
  }
};

// A CREATE TABLE text from its body lines and its options.
inline String CreateTable(const String& name, std::initializer_list<const char*> lines,
                          const String& options) {
  String text = "CREATE TABLE " + name + " (\n";
  size_t n = 0;
  for (const char* l : lines)
    text += String("  ") + l + (++n < lines.size() ? ",\n" : "\n");
  return text + ")" + (options.empty() ? "" : " " + options);
}
