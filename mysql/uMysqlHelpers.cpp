#include "uMysqlHelpers.h"

#include "uMysqlClient.h"

#include <atomic>
#include <cctype>

namespace {

bool HasFlag(const TMysqlField* field, int flag) {
  return field && (field->Flags & flag) != 0;
}

std::atomic<int> gServerVersionNumber{0};

// Reads a run of at most `maxDigits` digits at `at`; -1 when there is none.
int ReadNumber(const String& s, size_t& at, int maxDigits) {
  int value = 0, digits = 0;
  while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]))) {
    if (++digits > maxDigits) return -1;
    value = value * 10 + (s[at++] - '0');
  }
  return digits ? value : -1;
}

// major.minor.patch at the start of `s`; -1 when it is not there.
int ParseVersion(const String& s, size_t& at) {
  int parts[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (at >= s.size() || s[at] != '.') return i == 1 ? -1 : parts[0] * 10000 + parts[1] * 100;
      ++at;
    }
    parts[i] = ReadNumber(s, at, i == 0 ? 4 : 2);
    if (parts[i] < 0) return -1;
  }
  return parts[0] * 10000 + parts[1] * 100 + parts[2];
}

} // namespace

bool IsNotNull(const TMysqlField* field) {
  return HasFlag(field, NOT_NULL_FLAG);
}
bool IsPrimaryKey(const TMysqlField* field) {
  return HasFlag(field, PRI_KEY_FLAG);
}
bool IsUniqueKey(const TMysqlField* field) {
  return HasFlag(field, UNIQUE_KEY_FLAG);
}
bool IsBlob(const TMysqlField* field) {
  return HasFlag(field, BLOB_FLAG);
}
bool IsUnsigned(const TMysqlField* field) {
  return HasFlag(field, UNSIGNED_FLAG);
}
bool IsZeroFill(const TMysqlField* field) {
  return HasFlag(field, ZEROFILL_FLAG);
}
bool IsBinary(const TMysqlField* field) {
  return HasFlag(field, BINARY_FLAG);
}
bool IsEnum(const TMysqlField* field) {
  return HasFlag(field, ENUM_FLAG);
}
bool IsAutoIncrement(const TMysqlField* field) {
  return HasFlag(field, AUTO_INCREMENT_FLAG);
}
bool IsSet(const TMysqlField* field) {
  return HasFlag(field, SET_FLAG);
}

void EscapeSQLText(const String& source, String& destination) {
  destination.clear();
  destination.reserve(source.size() + source.size() / 8 + 1);
  for (char c : source) {
    switch (c) {
    case '\0':
      destination += "\\0";
      break;
    case '\t':
      destination += "\\t";
      break;
    case '\n':
      destination += "\\n";
      break;
    case '\r':
      destination += "\\r";
      break;
    case '"':
    case '\'':
    case '\\':
      destination += '\\';
      destination += c;
      break;
    default:
      destination += c;
    }
  }
}

int ServerVersionNumber(const String& versionText) {
  size_t at = 0;
  const int version = ParseVersion(versionText, at);
  if (version < 0) return 0;
  // Servers that must look like 5.5 to old replication clients send
  // "5.5.5-" and then their real version.
  if (version == 50505 && at < versionText.size() && versionText[at] == '-') {
    size_t real = at + 1;
    const int next = ParseVersion(versionText, real);
    if (next > 0) return next;
  }
  return version;
}

int ServerVersionNumber(const TMysqlClient& client) {
  return ServerVersionNumber(client.GetServerVersion());
}

int GetServerVersionNumber() {
  return gServerVersionNumber.load(std::memory_order_relaxed);
}
void SetServerVersionNumber(int version) {
  gServerVersionNumber.store(version, std::memory_order_relaxed);
}
