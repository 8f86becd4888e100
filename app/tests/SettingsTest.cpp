// The settings store over its key/value backend.
#include "Settings.h"
#include "SettingsExpect.h"

#include <gtest/gtest.h>

namespace {

class SettingsStore : public ::testing::Test {
protected:
  TMemorySettingsBackend* Backend = nullptr;
  void SetUp() override {
    auto b = std::make_unique<TMemorySettingsBackend>();
    Backend = b.get();
    SetSettingsBackend(std::move(b));
  }
  void TearDown() override { SetSettingsBackend(std::make_unique<TMemorySettingsBackend>()); }
};

TEST_F(SettingsStore, NothingStoredGivesTheDefaults) {
  TSettings s;
  ReadSettings(s);
  for (const TSwitchInfo& i : SettingSwitches)
    EXPECT_EQ(s.*i.Field, i.Default) << i.Name;
  EXPECT_TRUE(s.AllowTblTypeChg);
  EXPECT_TRUE(s.SelectSyncTables);
  // An empty font name keeps the window's own font.
  EXPECT_EQ(s.LogFontName, "");
  EXPECT_EQ(s.ScriptFontName, "");
  EXPECT_EQ(s.LogFontSize, 9);
  EXPECT_EQ(s.ScriptFontSize, 9);
}

TEST_F(SettingsStore, EveryValueRoundTrips) {
  for (bool on : {true, false}) {
    TSettings written;
    for (const TSwitchInfo& i : SettingSwitches)
      written.*i.Field = on != i.Default;
    written.LogFontName = on ? "Arial" : "Verdana";
    written.LogFontSize = on ? 11 : 7;
    written.ScriptFontName = on ? "Lucida Console" : "Consolas";
    written.ScriptFontSize = on ? 14 : 8;
    WriteSettings(written);
    TSettings read;
    ReadSettings(read);
    ExpectSameSettings(read, written);
  }
  // All sixteen values exist after a write.
  for (const TSwitchInfo& i : SettingSwitches)
    EXPECT_TRUE(Backend->ReadValue(i.Name)) << i.Name;
  for (const char* name : {"LogFontName", "LogFontSize", "ScriptFontName", "ScriptFontSize"})
    EXPECT_TRUE(Backend->ReadValue(name)) << name;
  // Booleans are stored as the integers 1 and 0.
  EXPECT_EQ(Backend->ReadValue("AllowTblTypeChg")->Integer, 1);
  EXPECT_EQ(Backend->ReadValue("AllowTblTypeChg")->Type, TSettingsBackend::vtInteger);
}

TEST_F(SettingsStore, ValuesOfAnotherTypeReadAsTheDefault) {
  Backend->Put("VerboseLog", {TSettingsBackend::vtString, "1", 0});
  Backend->Put("LogFontSize", {TSettingsBackend::vtString, "12", 0});
  Backend->Put("LogFontName", {TSettingsBackend::vtInteger, "", 5});
  Backend->Put("ScriptFontName", {TSettingsBackend::vtOther, "", 0});
  EXPECT_TRUE(ReadSettingBool("VerboseLog", true));
  EXPECT_EQ(ReadSettingInteger("LogFontSize", 9), 9);
  EXPECT_EQ(ReadSettingString("LogFontName", "Tahoma"), "Tahoma");
  EXPECT_EQ(ReadSettingString("ScriptFontName", "Courier New"), "Courier New");
}

TEST_F(SettingsStore, OnlyOneIsTrue) {
  for (int stored : {0, 1, 2, -1}) {
    WriteSettingInteger("UseBackticks", stored);
    EXPECT_EQ(ReadSettingBool("UseBackticks", true), stored == 1) << stored;
    EXPECT_EQ(ReadSettingBool("UseBackticks", false), stored == 1) << stored;
  }
}

} // namespace
