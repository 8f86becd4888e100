// The owning object list and the SQL token scanner.
#include "mySQLTypes.h"

#include "uMysqlHelpers.h"

#include <cctype>
#include <cstring>

// ---- Container ----------------------------------------------------------------

TContainer::~TContainer() {
  Clear();
}

void TContainer::Add(TObject* item) {
  FList.Add(item);
}

TObject* TContainer::Get(int index) const {
  if (index < 0 || index >= FList.GetCount()) return nullptr;
  return static_cast<TObject*>(FList.Get(index));
}

TObject* TContainer::Items(int index) const {
  return static_cast<TObject*>(FList.Get(index));
}

void TContainer::Delete(int index) {
  FList.Delete(index);
}

void TContainer::Remove(TObject* item) {
  FList.Remove(item);
}

void TContainer::Clear() {
  // A member that leaves the list while it is freed (or takes others with
  // it) shortens the list under the loop.
  for (int i = FList.GetCount() - 1; i >= 0; --i) {
    if (i >= FList.GetCount()) continue;
    TObject* item = static_cast<TObject*>(FList.Get(i));
    delete item;
  }
  FList.Clear();
}

TBaseObject::TBaseObject(TObject* parent, TContainer* container) : FParent(parent), FContainer(container) {
  if (FContainer) FContainer->Add(this);
}

TBaseObject::~TBaseObject() {
  if (FContainer) FContainer->Remove(this);
}

// ---- Scanner ------------------------------------------------------------------

namespace {

bool IsDelimiter(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '(' || c == ')' || c == ',';
}
bool IsQuote(char c) {
  return c == '"' || c == '\'' || c == '`';
}
bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The class library's quoted-string extraction: the text between the
// opening quote and the next single quote, doubled quotes made single;
// empty when the text does not begin with the quote.
String ExtractQuoted(std::string_view text, char quote) {
  String out;
  if (text.empty() || text[0] != quote) return out;
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] != quote) {
      out += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == quote) {
      out += quote;
      ++i;
      continue;
    }
    break;
  }
  return out;
}

// Appends the next token to `word` when it is `keyword`; otherwise nothing changes.
bool AppendIfNextWord(const char* keyword, const char*& cursor, String& word, int section) {
  const char* ahead = cursor;
  String next;
  ScanSQLToken(ahead, next, section);
  if (!SameText(next, keyword)) return false;
  word += ' ';
  word += next;
  cursor = ahead;
  return true;
}

int ClassifySQLWord(String& word, int section, const char*& cursor, bool dotSeen) {
  if (word.empty()) return stEnd;
  if (word == "*" && section == stSelect) return stAllFields;
  if (dotSeen) return stFieldName;
  const String w = UpperCase(word);
  if (w == "DISTINCT" && section == stSelect) return stDistinct;
  if (w == "ASC" || w == "ASCENDING") return stAscending;
  if (w == "DESC" || w == "DESCENDING") return stDescending;
  if (w == "SELECT") return stSelect;
  if (w == "SHOW") return stShow;
  if (w == "AND") return stAnd;
  if (w == "FOR") return stFor;
  if (w == "OR") return stOr;
  if (w == "LIKE") return stLike;
  if (w == "IS") {
    if (AppendIfNextWord("NULL", cursor, word, section)) return stIsNull;
    const char* savedCursor = cursor;
    const String savedWord = word;
    if (AppendIfNextWord("NOT", cursor, word, section) && AppendIfNextWord("NULL", cursor, word, section))
      return stIsNotNull;
    cursor = savedCursor;
    word = savedWord;
    return stValue;
  }
  if (w == "FROM") return stFrom;
  if (w == "WHERE") return stWhere;
  if (w == "GROUP" && AppendIfNextWord("BY", cursor, word, section)) return stGroupBy;
  if (w == "HAVING") return stHaving;
  if (w == "UNION") return stUnion;
  if (w == "PLAN") return stPlan;
  if (w == "ORDER" && AppendIfNextWord("BY", cursor, word, section)) return stOrderBy;
  if (w == "NULL") return stValue;
  if (w == "CREATE") return stCreate;
  if (w == "INSERT") return stInsert;
  if (w == "UPDATE") return stUpdate;
  if (w == "SUBSTRING" || w == "TRIM" || w == "EXTRACT") return stFunction;
  return section == stFrom ? stTableName : stFieldName;
}

const char* SkipTo(const char* p, const char* stops) {
  while (*p && !std::strchr(stops, *p))
    ++p;
  return p;
}

} // namespace

int ScanSQLToken(const char*& cursor, String& token, int section) {
  const char* start = nullptr;
  bool dotSeen = false;
  auto wordToHere = [&] { token.assign(start, size_t(cursor - start)); };
  for (;;) {
    const char c = *cursor;
    if (c == 0) {
      if (!start) {
        token.clear();
        return stEnd;
      }
      wordToHere();
      return ClassifySQLWord(token, section, cursor, dotSeen);
    }
    if (IsDelimiter(c)) {
      if (!start) {
        while (*cursor && IsDelimiter(*cursor))
          ++cursor;
        continue;
      }
      wordToHere();
      const int kind = ClassifySQLWord(token, section, cursor, dotSeen);
      // A function's arguments are no tokens of the statement.
      if (kind == stFunction) cursor = SkipTo(cursor, ")");
      return kind;
    }
    if (IsQuote(c)) {
      if (!start) start = cursor;
      const char* close = std::strchr(cursor + 1, c);
      if (!close) {
        ++cursor;
        continue;
      }
      cursor = close + 1;
      token = ExtractQuoted(std::string_view(start, size_t(cursor - start)), c);
      if (dotSeen) return stFieldName;
      return *cursor == '.' ? stTableName : stValue;
    }
    if (c == '.') {
      if (start) {
        wordToHere();
        return stTableName;
      }
      dotSeen = true;
      ++cursor;
      continue;
    }
    if (c == '/' && (cursor[1] == '*' || cursor[1] == '/')) {
      if (!start) start = cursor;
      if (cursor[1] == '*') {
        const char* close = std::strstr(cursor + 2, "*/");
        const char* stop = close ? close : cursor + std::strlen(cursor);
        token.assign(start, size_t(stop - start));
        cursor = close ? close + 2 : stop;
      } else {
        cursor = SkipTo(cursor + 2, "\n\r");
        wordToHere();
      }
      return stComment;
    }
    if (!start && IsDigit(c)) {
      start = cursor;
      while (IsDigit(*cursor) || *cursor == '.')
        ++cursor;
      wordToHere();
      return stNumber;
    }
    if (!start && (c == '<' || c == '=' || c == '>')) {
      start = cursor;
      while (*cursor == '<' || *cursor == '=' || *cursor == '>')
        ++cursor;
      wordToHere();
      return stOperator;
    }
    if (!start) start = cursor;
    ++cursor;
  }
}

namespace {

bool IsSectionKind(int kind) {
  return (kind >= stSelect && kind <= 13) || kind == stShow;
}

String QuotedName(const String& name) {
  if (name.find('`') != String::npos || GetServerVersionNumber() < 32307) return name;
  return "`" + name + "`";
}

} // namespace

String TableNameFromSelect(const String& text) {
  const char* cursor = text.c_str();
  int section = stUnknown;
  String token;
  while (section != stFrom) {
    const int kind = ScanSQLToken(cursor, token, section);
    if (kind == stShow || kind == stEnd) return String();
    if (IsSectionKind(kind)) section = kind;
  }
  for (;;) {
    const int kind = ScanSQLToken(cursor, token, section);
    if (kind == stEnd) return String();
    if (IsSectionKind(kind)) {
      section = kind;
      if (section != stFrom) return String();
      continue;
    }
    if (kind != stTableName && kind != stValue) continue;
    String name = QuotedName(token);
    while (*cursor == '.') {
      if (!name.empty()) name += '.';
      ScanSQLToken(cursor, token, section);
      name += QuotedName(token);
    }
    return name;
  }
}

bool SameTextPrefix(const String& a, const String& b) {
  if (a.empty() || b.empty()) return a.empty() && b.empty();
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}
