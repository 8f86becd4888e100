#include "Registry.h"

namespace {

TRegDataType DataType(DWORD type) {
  switch (type) {
  case REG_SZ:
    return rdString;
  case REG_EXPAND_SZ:
    return rdExpandString;
  case REG_DWORD:
    return rdInteger;
  case REG_BINARY:
    return rdBinary;
  default:
    return rdUnknown;
  }
}

} // namespace

HKEY TRegistry::BaseKey(const String& Key, String& relative) const {
  const bool absolute = !Key.empty() && Key[0] == '\\';
  relative = absolute ? Key.substr(1) : Key;
  while (!relative.empty() && relative.back() == '\\')
    relative.pop_back();
  return absolute || !FCurrentKey ? RootKey : FCurrentKey;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
  String relative;
  HKEY base = BaseKey(Key, relative);
  HKEY key = nullptr;
  LONG rc = CanCreate ? RegCreateKeyExA(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess,
                                        nullptr, &key, nullptr)
                      : RegOpenKeyExA(base, relative.c_str(), 0, FAccess, &key);
  if (rc != ERROR_SUCCESS) return false;
  const String path = base == RootKey ? relative : FCurrentPath + "\\" + relative;
  CloseKey();
  FCurrentKey = key;
  FCurrentPath = path;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
  const REGSAM saved = FAccess;
  FAccess = KEY_READ;
  const bool ok = OpenKey(Key, false);
  FAccess = saved;
  return ok;
}

void TRegistry::CloseKey() {
  if (FCurrentKey) RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

bool TRegistry::KeyExists(const String& Key) {
  String relative;
  HKEY base = BaseKey(Key, relative);
  HKEY key = nullptr;
  if (RegOpenKeyExA(base, relative.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool TRegistry::DeleteKey(const String& Key) {
  String relative;
  HKEY base = BaseKey(Key, relative);
  return RegDeleteTreeA(base, relative.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetKeyNames(TStrings& Strings) {
  Strings.Clear();
  if (!FCurrentKey) return;
  char name[256]; // key names are at most 255 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof(name);
    const LONG rc = RegEnumKeyExA(FCurrentKey, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) return;
    Strings.Add(String(name, length));
  }
}

bool TRegistry::ValueExists(const String& Name) {
  return FCurrentKey &&
         RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const String& Name) {
  return FCurrentKey && RegDeleteValueA(FCurrentKey, Name.c_str()) == ERROR_SUCCESS;
}

TRegDataType TRegistry::GetDataType(const String& Name) {
  DWORD type = REG_NONE;
  if (!FCurrentKey ||
      RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return rdUnknown;
  return DataType(type);
}

String TRegistry::ReadString(const String& Name) {
  DWORD type = REG_NONE, size = 0;
  if (!FCurrentKey ||
      RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return String();
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException(Format("Invalid data type for '%s'", Name));
  String value(size, '\0');
  if (RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                       &size) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to get data for '%s'", Name));
  value.resize(size);
  while (!value.empty() && value.back() == '\0')
    value.pop_back();
  return value;
}

void TRegistry::WriteString(const String& Name, const String& Value) {
  if (!FCurrentKey ||
      RegSetValueExA(FCurrentKey, Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                     static_cast<DWORD>(Value.size() + 1)) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to set data for '%s'", Name));
}

String TRegistry::ReadBinaryData(const String& Name) {
  DWORD type = REG_NONE, size = 0;
  if (!FCurrentKey ||
      RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return String();
  if (type != REG_BINARY) throw ERegistryException(Format("Invalid data type for '%s'", Name));
  String value(size, '\0');
  if (RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                       &size) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to get data for '%s'", Name));
  value.resize(size);
  return value;
}

void TRegistry::WriteBinaryData(const String& Name, const void* Buffer, int BufSize) {
  if (!FCurrentKey ||
      RegSetValueExA(FCurrentKey, Name.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(Buffer),
                     static_cast<DWORD>(BufSize)) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to set data for '%s'", Name));
}

int TRegistry::ReadInteger(const String& Name) {
  DWORD type = REG_NONE, value = 0, size = sizeof(value);
  if (!FCurrentKey ||
      RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to get data for '%s'", Name));
  if (type != REG_DWORD) throw ERegistryException(Format("Invalid data type for '%s'", Name));
  if (RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to get data for '%s'", Name));
  return static_cast<int>(value);
}

void TRegistry::WriteInteger(const String& Name, int Value) {
  const DWORD value = static_cast<DWORD>(Value);
  if (!FCurrentKey || RegSetValueExA(FCurrentKey, Name.c_str(), 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&value), sizeof(value)) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to set data for '%s'", Name));
}
