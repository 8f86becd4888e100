#include "Settings.h"

#ifdef _WIN32
#include "SettingsRegistry.h"
#endif

const std::array<TSwitchInfo, 12> SettingSwitches = {{
    {"DropExtraColumns", &TSettings::DropExtraColumns, false},
    {"DropExtraIndices", &TSettings::DropExtraIndices, false},
    {"DropExtraConstraints", &TSettings::DropExtraConstraints, false},
    {"DropExtraTables", &TSettings::DropExtraTables, false},
    {"SyncRunUnprompted", &TSettings::SyncRunUnprompted, false},
    {"ConnectOnStartup", &TSettings::ConnectOnStartup, false},
    {"ScriptToClipboard", &TSettings::ScriptToClipboard, false},
    {"AllowTblTypeChg", &TSettings::AllowTblTypeChg, true},
    {"UseBackticks", &TSettings::UseBackticks, false},
    {"VerboseLog", &TSettings::VerboseLog, false},
    {"SelectSyncTables", &TSettings::SelectSyncTables, true},
    {"NoForeignKeyChecks", &TSettings::NoForeignKeyChecks, false},
}};

namespace {

std::unique_ptr<TSettingsBackend>& Backend() {
#ifdef _WIN32
  static std::unique_ptr<TSettingsBackend> backend = std::make_unique<TRegistrySettingsBackend>();
#else
  static std::unique_ptr<TSettingsBackend> backend = std::make_unique<TMemorySettingsBackend>();
#endif
  return backend;
}

} // namespace

std::optional<TSettingsBackend::TValue> TMemorySettingsBackend::ReadValue(const String& name) {
  auto it = FValues.find(name);
  if (it == FValues.end()) return std::nullopt;
  return it->second;
}

void TMemorySettingsBackend::WriteString(const String& name, const String& value) {
  FValues[name] = TValue{vtString, value, 0};
}

void TMemorySettingsBackend::WriteInteger(const String& name, int32_t value) {
  FValues[name] = TValue{vtInteger, String(), value};
}

TSettingsBackend& GetSettingsBackend() {
  return *Backend();
}

void SetSettingsBackend(std::unique_ptr<TSettingsBackend> backend) {
  Backend() = std::move(backend);
}

String ReadSettingString(const String& name, const String& def) {
  auto value = GetSettingsBackend().ReadValue(name);
  if (!value) return String();
  return value->Type == TSettingsBackend::vtString ? value->Text : def;
}

void WriteSettingString(const String& name, const String& value) {
  GetSettingsBackend().WriteString(name, value);
}

int ReadSettingInteger(const String& name, int def) {
  auto value = GetSettingsBackend().ReadValue(name);
  return value && value->Type == TSettingsBackend::vtInteger ? value->Integer : def;
}

void WriteSettingInteger(const String& name, int value) {
  GetSettingsBackend().WriteInteger(name, value);
}

bool ReadSettingBool(const String& name, bool def) {
  auto value = GetSettingsBackend().ReadValue(name);
  return value && value->Type == TSettingsBackend::vtInteger ? value->Integer == 1 : def;
}

void WriteSettingBool(const String& name, bool value) {
  WriteSettingInteger(name, value ? 1 : 0);
}

void ReadSettings(TSettings& settings) {
  for (const TSwitchInfo& s : SettingSwitches)
    settings.*s.Field = ReadSettingBool(s.Name, s.Default);
  settings.LogFontName = ReadSettingString("LogFontName", "Tahoma");
  settings.LogFontSize = ReadSettingInteger("LogFontSize", 9);
  settings.ScriptFontName = ReadSettingString("ScriptFontName", "Courier New");
  settings.ScriptFontSize = ReadSettingInteger("ScriptFontSize", 9);
}

void WriteSettings(const TSettings& settings) {
  for (const TSwitchInfo& s : SettingSwitches)
    WriteSettingBool(s.Name, settings.*s.Field);
  WriteSettingString("LogFontName", settings.LogFontName);
  WriteSettingInteger("LogFontSize", settings.LogFontSize);
  WriteSettingString("ScriptFontName", settings.ScriptFontName);
  WriteSettingInteger("ScriptFontSize", settings.ScriptFontSize);
}
