// The settings backend of the Windows program: the values live under
// SettingsKey of the current user's registry, switches and sizes as DWORDs,
// font names as strings, where other tools and earlier versions find them.
#pragma once

#include "Settings.h"

class TRegistry;

class TRegistrySettingsBackend : public TSettingsBackend {
public:
  TRegistrySettingsBackend();
  ~TRegistrySettingsBackend() override;
  std::optional<TValue> ReadValue(const String& name) override;
  // Raise ERegistryException when the key cannot be created or the value
  // not written.
  void WriteString(const String& name, const String& value) override;
  void WriteInteger(const String& name, int32_t value) override;

private:
  void OpenForWrite();
  // One registry object serves every operation.
  std::unique_ptr<TRegistry> FRegistry;
};
