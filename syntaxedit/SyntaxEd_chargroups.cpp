#include "SyntaxEd_chargroups.h"

#include "SyntaxEd_streamio.h"

#include <algorithm>

// ---- TSM_CharGroup

void TSM_CharGroup::Clear() {
  FMembers.reset();
  FNegated = false;
  FExtendedRanges.clear();
}

void TSM_CharGroup::AddRange(uint8_t first, uint8_t last) {
  for (int c = first; c <= last; ++c)
    FMembers.set(c);
}

bool TSM_CharGroup::Equals(const TSM_CharGroup& other) const {
  return FMembers == other.FMembers && FNegated == other.FNegated &&
         FExtendedRanges.size() == other.FExtendedRanges.size();
}

void TSM_CharGroup::SaveToStream(TStream& stream) const {
  WriteCharSet(stream, FMembers);
  WriteInt(stream, 0);
  WriteByte(stream, FNegated ? 1 : 0);
}

void TSM_CharGroup::LoadFromStream(TStream& stream) {
  Clear();
  FMembers = ReadCharSet(stream);
  // No writer stores ranges; should a stream carry some, what lies within
  // 8 bits still counts as members.
  for (auto count = static_cast<uint32_t>(ReadInt(stream)); count > 0; --count) {
    const uint16_t first = ReadWord(stream);
    const uint16_t last = ReadWord(stream);
    if (first <= 255 && first <= last)
      AddRange(static_cast<uint8_t>(first), static_cast<uint8_t>(std::min<int>(last, 255)));
  }
  FNegated = ReadByte(stream) != 0;
}

// ---- TSM_CharGroupManager

int TSM_CharGroupManager::Intern(const TSM_CharGroup& group) {
  for (size_t id = 0; id < FItems.size(); ++id)
    if (FItems[id]->Equals(group)) return static_cast<int>(id);
  auto copy = std::make_unique<TSM_CharGroup>();
  copy->Assign(group);
  FItems.push_back(std::move(copy));
  return static_cast<int>(FItems.size()) - 1;
}

const TSM_CharGroup& TSM_CharGroupManager::GroupById(int id) const {
  if (id < 0 || id >= GetCount()) throw ESyntaxMemo(Format("Invalid Set ID (%d)", id));
  return *FItems[static_cast<size_t>(id)];
}

void TSM_CharGroupManager::SaveToStream(TStream& stream) const {
  WriteInt(stream, GetCount());
  for (const auto& group : FItems)
    group->SaveToStream(stream);
}

void TSM_CharGroupManager::LoadFromStream(TStream& stream) {
  Clear();
  const int count = ReadInt(stream);
  TSM_CharGroup group;
  for (int i = 0; i < count; ++i) {
    group.LoadFromStream(stream);
    Intern(group);
  }
}

// ---- TStringScanner

void TStringScanner::SetText(const String& text) {
  FText = text;
  FLength = static_cast<int>(text.size());
  FPosition = FLength == 0 ? 0 : 1;
}

char TStringScanner::CurrentChar() const {
  if (FLength == 0 || FPosition < 1 || FPosition > FLength) return 0;
  return FText[static_cast<size_t>(FPosition - 1)];
}

// ---- Specifier parser

static int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

static bool IsOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

static char PeekNext(TStringScanner& scanner) {
  const int pos = scanner.GetPos();
  scanner.Next();
  const char c = scanner.CurrentChar();
  scanner.SetPos(pos);
  return c;
}

// One character of a specifier. Note \r is line feed and \n carriage return:
// the editor ends its lines with a CR, and \n names the line end.
static uint8_t ReadSpecChar(TStringScanner& scanner, bool& escaped) {
  const char c = scanner.CurrentChar();
  scanner.Next();
  escaped = c == '\\';
  if (!escaped) return static_cast<uint8_t>(c);
  const char d = scanner.CurrentChar();
  switch (d) {
  case 't':
  case 'T':
    scanner.Next();
    return 9;
  case 'b':
  case 'B':
    scanner.Next();
    return 8;
  case 'r':
  case 'R':
    scanner.Next();
    return 10;
  case 'n':
  case 'N':
    scanner.Next();
    return 13;
  case 's':
  case 'S':
    scanner.Next();
    return 32;
  case 'e':
  case 'E':
    scanner.Next();
    return 27;
  default:
    break;
  }
  unsigned value = 0;
  if ((d == 'x' || d == 'X' || d == 'u' || d == 'U') && HexDigit(PeekNext(scanner)) >= 0) {
    scanner.Next();
    for (int digit; (digit = HexDigit(scanner.CurrentChar())) >= 0; scanner.Next())
      value = (value * 16 + static_cast<unsigned>(digit)) & 0xFF;
    return static_cast<uint8_t>(value);
  }
  if (IsOctalDigit(d)) {
    for (; IsOctalDigit(scanner.CurrentChar()); scanner.Next())
      value = (value * 8 + static_cast<unsigned>(scanner.CurrentChar() - '0')) & 0xFF;
    return static_cast<uint8_t>(value);
  }
  scanner.Next();
  return static_cast<uint8_t>(d);
}

void ParseCharGroup(const String& specifier, int& position, TSM_CharGroup& group) {
  group.Clear();
  TStringScanner scanner(specifier);
  scanner.SetPos(position);
  bool inBrackets = false;
  while (!scanner.AtEnd()) {
    bool escaped = false;
    const uint8_t c = ReadSpecChar(scanner, escaped);
    if (c == '[' && !escaped) {
      inBrackets = true;
      if (scanner.CurrentChar() == '^') {
        scanner.Next();
        group.SetNegated(true);
      }
      continue;
    }
    if (c == ']' && inBrackets && !escaped) break;
    if (c == '[' || c == ']') {
      group.AddChar(c);
      if (!inBrackets) break;
      continue;
    }
    if (scanner.CurrentChar() == '-') {
      scanner.Next();
      bool rangeEscaped = false;
      const uint8_t last = ReadSpecChar(scanner, rangeEscaped);
      if (last < c) throw Exception("Characters not in correct order for range specifier");
      group.AddRange(c, last);
    } else {
      group.AddChar(c);
    }
    if (!inBrackets) break;
  }
  position = scanner.GetPos();
}
