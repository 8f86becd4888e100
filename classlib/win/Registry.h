// The registry, as the class library's TRegistry: one open key at a time
// below a root key.
#pragma once

#include "Classes.h"

#include "WinApi.h"

class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry {
public:
  explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : FAccess(access) {}
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey = HKEY_CURRENT_USER;
  HKEY GetCurrentKey() const { return FCurrentKey; }
  const String& GetCurrentPath() const { return FCurrentPath; }
  // A key starting with '\' is taken from the root, else from the open key.
  bool OpenKey(const String& Key, bool CanCreate);
  bool OpenKeyReadOnly(const String& Key);
  void CloseKey();
  bool KeyExists(const String& Key);
  bool DeleteKey(const String& Key);
  // The names of the open key's subkeys; none without an open key.
  void GetKeyNames(TStrings& Strings);
  bool ValueExists(const String& Name);
  bool DeleteValue(const String& Name);
  TRegDataType GetDataType(const String& Name);

  // A missing value reads as the empty string; a value of another type
  // raises "Invalid data type for '%s'".
  String ReadString(const String& Name);
  void WriteString(const String& Name, const String& Value);
  // A missing value raises "Failed to get data for '%s'".
  int ReadInteger(const String& Name);
  void WriteInteger(const String& Name, int Value);
  // Bytes of a binary value; a missing value reads as none, a value of
  // another type raises "Invalid data type for '%s'".
  String ReadBinaryData(const String& Name);
  void WriteBinaryData(const String& Name, const void* Buffer, int BufSize);
  bool ReadBool(const String& Name) { return ReadInteger(Name) != 0; }
  void WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

private:
  HKEY BaseKey(const String& Key, String& relative) const;
  REGSAM FAccess;
  HKEY FCurrentKey = nullptr;
  String FCurrentPath;
};
