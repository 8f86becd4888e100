// The settings store on the current user's registry: every value goes in
// with the type other readers of the key expect and comes back; what another
// program left there with a wrong type reads as the default.
#include "Registry.h"
#include "SettingsExpect.h"
#include "SettingsRegistry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TSettings Defaults() {
  TSettings s;
  for (const TSwitchInfo& i : SettingSwitches)
    s.*i.Field = i.Default;
  s.LogFontSize = 9;
  s.ScriptFontSize = 9;
  return s;
}

// The test owns the settings key: it starts and ends without it.
class SettingsInRegistry : public ::testing::Test {
protected:
  TRegistry Reg;
  void SetUp() override {
    Reg.DeleteKey(SettingsKey);
    SetSettingsBackend(std::make_unique<TRegistrySettingsBackend>());
  }
  void TearDown() override {
    Reg.CloseKey();
    Reg.DeleteKey(SettingsKey);
    SetSettingsBackend(std::make_unique<TMemorySettingsBackend>());
  }
  void PutRaw(const char* name, DWORD type, const std::vector<BYTE>& data) {
    ASSERT_TRUE(Reg.OpenKey(SettingsKey, true));
    ASSERT_EQ(
        RegSetValueExA(Reg.GetCurrentKey(), name, 0, type, data.data(), static_cast<DWORD>(data.size())),
        ERROR_SUCCESS)
        << name;
    Reg.CloseKey();
  }
};

TEST_F(SettingsInRegistry, WithoutTheKeyTheDefaultsAreReadAndNoKeyIsMade) {
  TSettings s;
  ReadSettings(s);
  ExpectSameSettings(s, Defaults());
  EXPECT_FALSE(Reg.KeyExists(SettingsKey));
}

TEST_F(SettingsInRegistry, EveryValueRoundTripsWithItsRegistryType) {
  for (bool on : {true, false}) {
    // Another program may delete the key between two saves.
    Reg.DeleteKey(SettingsKey);
    TSettings written;
    for (const TSwitchInfo& i : SettingSwitches)
      written.*i.Field = on != i.Default;
    written.LogFontName = on ? "Arial" : "";
    written.LogFontSize = on ? 11 : 7;
    written.ScriptFontName = on ? "Lucida Console" : "Consolas";
    written.ScriptFontSize = on ? 14 : 8;
    WriteSettings(written);
    TSettings read;
    ReadSettings(read);
    ExpectSameSettings(read, written);

    ASSERT_TRUE(Reg.OpenKeyReadOnly(SettingsKey));
    for (const TSwitchInfo& i : SettingSwitches) {
      EXPECT_EQ(Reg.GetDataType(i.Name), rdInteger) << i.Name;
      EXPECT_EQ(Reg.ReadInteger(i.Name), written.*i.Field ? 1 : 0) << i.Name;
    }
    EXPECT_EQ(Reg.GetDataType("LogFontName"), rdString);
    EXPECT_EQ(Reg.ReadString("LogFontName"), written.LogFontName);
    EXPECT_EQ(Reg.GetDataType("ScriptFontSize"), rdInteger);
    EXPECT_EQ(Reg.ReadInteger("ScriptFontSize"), written.ScriptFontSize);
    Reg.CloseKey();
  }
}

TEST_F(SettingsInRegistry, ValuesOfAnotherTypeReadAsTheDefault) {
  const std::vector<BYTE> one{1, 0, 0, 0}, two{2, 0, 0, 0};
  const std::vector<BYTE> text{'1', 0}, size{'1', '2', 0};
  TSettings expected = Defaults();
  // A string "1" is not the integer 1.
  PutRaw("VerboseLog", REG_SZ, text);
  PutRaw("SelectSyncTables", REG_BINARY, one);
  // A DWORD of the wrong length cannot be read as one.
  PutRaw("AllowTblTypeChg", REG_DWORD, {0, 0, 0, 0, 0, 0, 0, 0});
  PutRaw("SyncRunUnprompted", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
  // Only 1 is true, whatever the default.
  PutRaw("UseBackticks", REG_DWORD, two);
  PutRaw("DropExtraColumns", REG_DWORD, one);
  expected.DropExtraColumns = true;
  PutRaw("LogFontSize", REG_SZ, size);
  PutRaw("ScriptFontSize", REG_BINARY, {12});
  // A missing font name reads as empty, one of another type as the default.
  PutRaw("LogFontName", REG_DWORD, one);
  expected.LogFontName = "Tahoma";
  PutRaw("ScriptFontName", REG_MULTI_SZ, {'A', 0, 0});
  expected.ScriptFontName = "Courier New";
  TSettings read;
  ReadSettings(read);
  ExpectSameSettings(read, expected);
}

TEST_F(SettingsInRegistry, AnExpandableStringIsAString) {
  PutRaw("LogFontName", REG_EXPAND_SZ, {'V', 'e', 'r', 'd', 'a', 'n', 'a', 0});
  EXPECT_EQ(ReadSettingString("LogFontName", "Tahoma"), "Verdana");
}

} // namespace
