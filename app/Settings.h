// The settings store: the twelve switches and the fonts of the two text
// windows, kept under one key of the current user's registry on Windows. The
// store works on a small key/value backend so that its rules (defaults, types)
// do not depend on where the values live.
#pragma once

#include "SysUtils.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

inline constexpr const char* SettingsKey = "\\SOFTWARE\\Tarvex\\Velmora\\Settings";

// Where the values live: one key holding named string and integer values.
class TSettingsBackend {
public:
  enum TValueType { vtString, vtInteger, vtOther };
  struct TValue {
    TValueType Type = vtOther;
    String Text;
    int32_t Integer = 0;
  };
  virtual ~TSettingsBackend() = default;
  // The value, or nothing when the key or the value does not exist. Opening
  // for a read never creates the key.
  virtual std::optional<TValue> ReadValue(const String& name) = 0;
  // Writes create the key when it is missing; failures raise.
  virtual void WriteString(const String& name, const String& value) = 0;
  virtual void WriteInteger(const String& name, int32_t value) = 0;
};

// Values held in memory: the backend where there is no registry.
class TMemorySettingsBackend : public TSettingsBackend {
public:
  std::optional<TValue> ReadValue(const String& name) override;
  void WriteString(const String& name, const String& value) override;
  void WriteInteger(const String& name, int32_t value) override;
  // Stores a value of any type, as another program might have left it.
  void Put(const String& name, const TValue& value) { FValues[name] = value; }

private:
  std::map<String, TValue> FValues;
};

// The backend every store operation uses; until one is set, the current
// user's registry on Windows (SettingsRegistry.h), memory elsewhere.
TSettingsBackend& GetSettingsBackend();
void SetSettingsBackend(std::unique_ptr<TSettingsBackend> backend);

// A missing or empty string value reads as the empty string, one of another
// type as the default.
String ReadSettingString(const String& name, const String& def);
void WriteSettingString(const String& name, const String& value);
// Anything but a stored integer reads as the default.
int ReadSettingInteger(const String& name, int def);
void WriteSettingInteger(const String& name, int value);
// True exactly when the stored integer is 1; no integer reads as the default.
bool ReadSettingBool(const String& name, bool def);
void WriteSettingBool(const String& name, bool value);

// The program-wide switches and the stored fonts. All switches are off until
// the settings are read.
struct TSettings {
  bool DropExtraColumns = false;
  bool DropExtraIndices = false;
  bool DropExtraConstraints = false;
  bool DropExtraTables = false;
  bool SyncRunUnprompted = false;
  bool ConnectOnStartup = false;
  bool ScriptToClipboard = false;
  bool AllowTblTypeChg = false;
  bool UseBackticks = false;
  bool VerboseLog = false;
  bool SelectSyncTables = false;
  bool NoForeignKeyChecks = false;
  String LogFontName;
  int LogFontSize = 0;
  String ScriptFontName;
  int ScriptFontSize = 0;
};

struct TSwitchInfo {
  const char* Name;
  bool TSettings::*Field;
  bool Default;
};
// The switches in the order they are read and written.
extern const std::array<TSwitchInfo, 12> SettingSwitches;

// Reads the twelve switches with their defaults, then the two fonts; an
// empty font name means the window keeps its own font.
void ReadSettings(TSettings& settings);
void WriteSettings(const TSettings& settings);
