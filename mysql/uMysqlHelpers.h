// Column flag tests, escaping for SQL literals and the integer form of the
// server version.
#pragma once

#include "SysUtils.h"

class TMysqlClient;
struct TMysqlField;

// Column flag bits.
enum : int {
  NOT_NULL_FLAG = 0x0001,
  PRI_KEY_FLAG = 0x0002,
  UNIQUE_KEY_FLAG = 0x0004,
  BLOB_FLAG = 0x0010,
  UNSIGNED_FLAG = 0x0020,
  ZEROFILL_FLAG = 0x0040,
  BINARY_FLAG = 0x0080,
  ENUM_FLAG = 0x0100,
  AUTO_INCREMENT_FLAG = 0x0200,
  SET_FLAG = 0x0800,
};

// Each answers false for no field.
bool IsNotNull(const TMysqlField* field);
bool IsPrimaryKey(const TMysqlField* field);
bool IsUniqueKey(const TMysqlField* field);
bool IsBlob(const TMysqlField* field);
bool IsUnsigned(const TMysqlField* field);
bool IsZeroFill(const TMysqlField* field);
bool IsBinary(const TMysqlField* field);
bool IsEnum(const TMysqlField* field);
bool IsAutoIncrement(const TMysqlField* field);
bool IsSet(const TMysqlField* field);

// NUL, TAB, LF and CR become \0 \t \n \r; quotes and the backslash get a
// backslash in front.
void EscapeSQLText(const String& source, String& destination);

// major.minor.patch as M*10000 + m*100 + p ("5.0.45" gives 50045); the
// "5.5.5-" some servers put before their real version is skipped. Never
// raises: text without a version gives 0.
int ServerVersionNumber(const String& versionText);
int ServerVersionNumber(const TMysqlClient& client);

// The version number of the server connected last, for the whole process:
// identifiers are back-quoted only above 32306.
int GetServerVersionNumber();
void SetServerVersionNumber(int version);
