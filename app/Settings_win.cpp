#include "SettingsRegistry.h"

#include "Registry.h"

namespace {

// The key is opened afresh for each operation and closed when it ends, so
// that a key deleted or recreated by another program in between is never
// written through a stale handle.
class TKeyCloser {
public:
  explicit TKeyCloser(TRegistry& registry) : FRegistry(registry) {}
  ~TKeyCloser() { FRegistry.CloseKey(); }
  TKeyCloser(const TKeyCloser&) = delete;
  TKeyCloser& operator=(const TKeyCloser&) = delete;

private:
  TRegistry& FRegistry;
};

} // namespace

TRegistrySettingsBackend::TRegistrySettingsBackend() : FRegistry(std::make_unique<TRegistry>()) {}

TRegistrySettingsBackend::~TRegistrySettingsBackend() = default;

std::optional<TSettingsBackend::TValue> TRegistrySettingsBackend::ReadValue(const String& name) {
  TKeyCloser closer(*FRegistry);
  // Reading needs no write access and must never create the key.
  if (!FRegistry->OpenKeyReadOnly(SettingsKey) || !FRegistry->ValueExists(name)) return std::nullopt;
  try {
    switch (FRegistry->GetDataType(name)) {
    case rdString:
    case rdExpandString:
      return TValue{vtString, FRegistry->ReadString(name), 0};
    case rdInteger:
      return TValue{vtInteger, String(), FRegistry->ReadInteger(name)};
    default:
      return TValue{vtOther, String(), 0};
    }
  } catch (const ERegistryException&) {
    // A value its type cannot be read as (a DWORD of another length, a value
    // changed meanwhile) counts as one of another type: it reads as the default.
    return TValue{vtOther, String(), 0};
  }
}

void TRegistrySettingsBackend::OpenForWrite() {
  if (!FRegistry->OpenKey(SettingsKey, true))
    throw ERegistryException(Format("Failed to create key %s", String(SettingsKey)));
}

void TRegistrySettingsBackend::WriteString(const String& name, const String& value) {
  TKeyCloser closer(*FRegistry);
  OpenForWrite();
  FRegistry->WriteString(name, value);
}

void TRegistrySettingsBackend::WriteInteger(const String& name, int32_t value) {
  TKeyCloser closer(*FRegistry);
  OpenForWrite();
  FRegistry->WriteInteger(name, value);
}
