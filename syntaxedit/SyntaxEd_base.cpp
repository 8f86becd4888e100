#include "SyntaxEd_base.h"

#include <algorithm>
#include <cstring>

// ---- TSM_Base

std::unique_ptr<TSM_Base> TSM_Base::Clone() const {
  std::unique_ptr<TSM_Base> copy = NewInstance();
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SetPosition(0);
  copy->LoadFromStream(stream);
  return copy;
}

void TSM_Base::Assign(const TSM_Base& source) {
  TMemoryStream stream;
  source.SaveToStream(stream);
  stream.SetPosition(0);
  LoadFromStream(stream);
}

void TSM_Base::SaveToStream(TStream&) const {}

void TSM_Base::LoadFromStream(TStream&) {}

// ---- TFastMemoryStream

TFastMemoryStream::TFastMemoryStream(const char* buffer)
    : FMemory(buffer), FSize(buffer ? static_cast<int64_t>(std::strlen(buffer)) : 0) {}

int64_t TFastMemoryStream::Read(void* buffer, int64_t count) {
  int64_t n = std::max<int64_t>(0, std::min(count, FSize - FPosition));
  if (n > 0) std::memcpy(buffer, FMemory + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TFastMemoryStream::Write(const void*, int64_t) {
  throw EStreamError(SReadOnlyStream);
}

int64_t TFastMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : FSize;
  FPosition = std::max<int64_t>(0, base + offset);
  return FPosition;
}

// ---- helpers

int ConvertInsertText(char* dest, const char* source, int count) {
  int out = 0;
  if (count <= 0) {
    dest[0] = 0;
    return 0;
  }
  // A swallowed partner may be the last character, which then is not written again.
  int i = 0;
  for (; i < count - 1; ++i) {
    unsigned char c = static_cast<unsigned char>(source[i]);
    if (c >= 32 || c == '\t') {
      dest[out++] = static_cast<char>(c);
    } else if (c == '\n') {
      dest[out++] = '\r';
      if (source[i + 1] == '\r') ++i;
    } else if (c == '\r') {
      dest[out++] = '\r';
      if (source[i + 1] == '\n') ++i;
    } else {
      dest[out++] = '.';
    }
  }
  if (i == count - 1) dest[out++] = source[i] == '\n' ? '\r' : source[i];
  dest[out] = 0;
  return out;
}

TCharSet StringToCharSet(const String& s) {
  TCharSet set;
  for (unsigned char c : s)
    set.set(c);
  return set;
}

std::pair<int, int> OrderRange(std::pair<int, int> range) {
  if (range.second < range.first) std::swap(range.first, range.second);
  return range;
}

String ReverseString(const String& s) {
  return String(s.rbegin(), s.rend());
}

void StreamWriteByte(TStream& stream, uint8_t value) {
  stream.Write(&value, 1);
}

void ExtractHtmlPayload(String& text, const TSourceTypes& types) {
  if (!types.test(stHTML) || types.test(stAsText)) return;
  if (!types.test(stFullHTML) && !types.test(stExtractHTML)) return;
  size_t lt = text.find('<');
  if (lt != String::npos) text.erase(0, lt);
  if (types.test(stFullHTML)) return;
  static constexpr std::string_view kStart = "<!--StartFragment-->";
  static constexpr std::string_view kEnd = "<!--EndFragment-->";
  size_t start = text.find(kStart);
  if (start == String::npos) return;
  size_t end = text.find(kEnd, start + kStart.size() + 1);
  if (end == String::npos) return;
  text = text.substr(start + kStart.size(), end - start - kStart.size());
}
