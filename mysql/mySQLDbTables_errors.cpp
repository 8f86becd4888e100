// The components' errors and the services around the engine they share.
#include "mySQLDbTables.h"

#include "SyncObjs.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// Process-wide: one conversion in each direction at a time.
TCriticalSection& AnsiToNativeLock() {
  static TCriticalSection lock;
  return lock;
}

TCriticalSection& NativeToAnsiLock() {
  static TCriticalSection lock;
  return lock;
}

String ErrorMessage(const TmySQLEngine* engine, uint16_t code) {
  const String text = engine ? engine->GetLastErrorText() : String();
  const int32_t number = engine ? engine->GetLastNativeError() : 0;
  if (!text.empty() && number > 0) return Format("mySQL Error Code: (%s)", IntToStr(number)) + "\r\n" + text;
  return Format("DBI Error Code: (%s)\r\n%s \r\n%s", IntToStr(code), text, DBIErrorText(code));
}

} // namespace

EmySQLDatabaseError::EmySQLDatabaseError(const TmySQLEngine* engine, uint16_t errorCode)
    : EDatabaseError(ErrorMessage(engine, errorCode)), FErrorCode(errorCode) {}

void Check(const TmySQLEngine* engine, uint16_t code) {
  if (code != 0) throw EmySQLDatabaseError(engine, code);
}

int32_t ReadIntProperty(TmySQLEngine* engine, TNativeDataSet* handle, uint32_t property) {
  int32_t value = 0;
  int size = 0;
  if (engine->GetProperty(handle, property, &value, sizeof value, size) != 0) return 0;
  return value;
}

bool WriteBoolProperty(TmySQLEngine* engine, TNativeDataSet* handle, uint32_t property, bool value) {
  return engine->SetProperty(handle, property, std::abs(value ? -1 : 0)) == 0;
}

void AnsiToNative(TmySQLEngine* engine, const char* source, char* dest, int length) {
  if (length < 1) return;
  std::lock_guard<TCriticalSection> hold(AnsiToNativeLock());
  bool dataLoss;
  engine->AnsiToNative(dest, source, length, dataLoss);
}

void NativeToAnsi(TmySQLEngine* engine, const char* source, char* dest, int length) {
  if (length < 1) return;
  std::lock_guard<TCriticalSection> hold(NativeToAnsiLock());
  bool dataLoss;
  engine->NativeToAnsi(dest, source, length, dataLoss);
}

String NativeToAnsiString(TmySQLEngine* engine, const char* text) {
  const size_t length = text ? std::strlen(text) : 0;
  String result(length, '\0');
  if (length > 0) NativeToAnsi(engine, text, result.data(), int(length));
  return result;
}
