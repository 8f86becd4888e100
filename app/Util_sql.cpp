#include "Util.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace {

// The reserved words of current servers (MariaDB 10.11, as its parser refuses
// them as column names, and the MySQL 8 ones besides): a name among them must
// stay back-quoted. Sorted, upper case.
// clang-format off
constexpr const char* ReservedWords[] = {
    "ACCESSIBLE", "ADD", "ALL", "ALTER", "ANALYZE", "AND", "AS", "ASC", "ASENSITIVE", "BEFORE", "BETWEEN",
    "BIGINT", "BINARY", "BLOB", "BOTH", "BY", "CALL", "CASCADE", "CASE", "CHANGE", "CHAR", "CHARACTER",
    "CHECK", "COLLATE", "COLUMN", "CONDITION", "CONSTRAINT", "CONTINUE", "CONVERT", "CREATE", "CROSS", "CUBE",
    "CUME_DIST", "CURRENT_DATE", "CURRENT_ROLE", "CURRENT_TIME", "CURRENT_TIMESTAMP", "CURRENT_USER",
    "CURSOR", "DATABASES", "DAY_HOUR", "DAY_MICROSECOND", "DAY_MINUTE", "DAY_SECOND", "DEC", "DECIMAL",
    "DECLARE", "DEFAULT", "DELAYED", "DELETE", "DELETE_DOMAIN_ID", "DENSE_RANK", "DESC", "DESCRIBE",
    "DETERMINISTIC", "DISTINCT", "DISTINCTROW", "DIV", "DOUBLE", "DO_DOMAIN_IDS", "DROP", "DUAL", "EACH",
    "ELSE", "ELSEIF", "EMPTY", "ENCLOSED", "ESCAPED", "EXCEPT", "EXISTS", "EXIT", "EXPLAIN", "FALSE", "FETCH",
    "FIRST_VALUE", "FLOAT", "FLOAT4", "FLOAT8", "FOR", "FORCE", "FOREIGN", "FROM", "FULLTEXT", "FUNCTION",
    "GENERATED", "GET", "GRANT", "GROUP", "GROUPING", "GROUPS", "HAVING", "HIGH_PRIORITY", "HOUR_MICROSECOND",
    "HOUR_MINUTE", "HOUR_SECOND", "IF", "IGNORE", "IGNORE_DOMAIN_IDS", "IN", "INDEX", "INFILE", "INNER",
    "INOUT", "INSENSITIVE", "INSERT", "INT", "INT1", "INT2", "INT3", "INT4", "INT8", "INTEGER", "INTERSECT",
    "INTERVAL", "INTO", "IO_AFTER_GTIDS", "IO_BEFORE_GTIDS", "IS", "ITERATE", "JOIN", "JSON_TABLE", "KEY",
    "KEYS", "KILL", "LAG", "LAST_VALUE", "LATERAL", "LEAD", "LEADING", "LEAVE", "LEFT", "LIKE", "LIMIT",
    "LINEAR", "LINES", "LOAD", "LOCALTIME", "LOCALTIMESTAMP", "LOCK", "LONG", "LONGBLOB", "LONGTEXT", "LOOP",
    "LOW_PRIORITY", "MANUAL", "MASTER_DEMOTE_TO_REPLICA", "MASTER_DEMOTE_TO_SLAVE",
    "MASTER_SSL_VERIFY_SERVER_CERT", "MATCH", "MAXVALUE", "MEDIUMBLOB", "MEDIUMINT", "MEDIUMTEXT",
    "MIDDLEINT", "MINUTE_MICROSECOND", "MINUTE_SECOND", "MOD", "MODIFIES", "NATURAL", "NOT",
    "NO_WRITE_TO_BINLOG", "NTH_VALUE", "NTILE", "NULL", "NUMERIC", "OF", "OFFSET", "ON", "OPTIMIZE",
    "OPTIMIZER_COSTS", "OPTIONALLY", "OR", "ORDER", "OUT", "OUTER", "OUTFILE", "OVER", "PAGE_CHECKSUM",
    "PARALLEL", "PARSE_VCOL_EXPR", "PARTITION", "PERCENT_RANK", "PORTION", "PRECISION", "PRIMARY",
    "PROCEDURE", "PURGE", "QUALIFY", "RANGE", "RANK", "READ", "READS", "READ_WRITE", "REAL", "RECURSIVE",
    "REFERENCES", "REF_SYSTEM_ID", "REGEXP", "RELEASE", "RENAME", "REPEAT", "REPLACE", "REQUIRE", "RESIGNAL",
    "RESTRICT", "RETURN", "RETURNING", "REVOKE", "RIGHT", "RLIKE", "ROW", "ROWS", "ROW_NUMBER", "SCHEMAS",
    "SECOND_MICROSECOND", "SELECT", "SENSITIVE", "SEPARATOR", "SET", "SHOW", "SIGNAL", "SMALLINT", "SPATIAL",
    "SPECIFIC", "SQL", "SQLEXCEPTION", "SQLSTATE", "SQLWARNING", "SQL_BIG_RESULT", "SQL_CALC_FOUND_ROWS",
    "SQL_SMALL_RESULT", "SSL", "STARTING", "STATS_AUTO_RECALC", "STATS_PERSISTENT", "STATS_SAMPLE_PAGES",
    "STORED", "STRAIGHT_JOIN", "SYSTEM", "TABLE", "TABLESAMPLE", "TERMINATED", "THEN", "TINYBLOB", "TINYINT",
    "TINYTEXT", "TO", "TRAILING", "TRIGGER", "TRUE", "UNDO", "UNION", "UNIQUE", "UNLOCK", "UNSIGNED",
    "UPDATE", "USAGE", "USE", "USING", "UTC_DATE", "UTC_TIME", "UTC_TIMESTAMP", "VALUES", "VARBINARY",
    "VARCHAR", "VARCHARACTER", "VARYING", "VIRTUAL", "WHEN", "WHERE", "WHILE", "WINDOW", "WITH", "WRITE",
    "XOR", "YEAR_MONTH", "ZEROFILL",
};
// clang-format on

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

} // namespace

bool StartsWithText(const String& s, size_t i, const String& word) {
  if (i + word.size() > s.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (std::toupper(static_cast<unsigned char>(s[i + k])) !=
        std::toupper(static_cast<unsigned char>(word[k])))
      return false;
  return true;
}

namespace {

// A "-- " comment needs white space (or the end of the text) after the hyphens.
bool IsDashComment(const String& s, size_t i) {
  return s.compare(i, 2, "--") == 0 && (i + 2 >= s.size() || IsSpace(s[i + 2]));
}

// A DELIMITER line at i (blanks before it allowed): the new delimiter, and
// end moves to the start of the next line.
bool ReadDelimiterCommand(const String& s, size_t i, String& delimiter, size_t& end) {
  while (i < s.size() && IsBlank(s[i]))
    ++i;
  if (!StartsWithText(s, i, "delimiter") || i + 9 >= s.size() || !IsBlank(s[i + 9])) return false;
  size_t b = i + 9;
  while (b < s.size() && IsBlank(s[b]))
    ++b;
  size_t e = b;
  while (e < s.size() && !IsSpace(s[e]))
    ++e;
  if (e == b) return false;
  delimiter = s.substr(b, e - b);
  end = s.find('\n', e);
  end = end == String::npos ? s.size() : end + 1;
  return true;
}

// A /*…*/ comment that the server reads as code: /*!40101 …*/, /*M!100100 …*/.
bool IsVersionedComment(const String& s, size_t i) {
  return s.compare(i, 3, "/*!") == 0 || s.compare(i, 4, "/*M!") == 0;
}

void AddStatement(std::vector<String>& out, const String& piece) {
  String statement = Trim(piece);
  if (!statement.empty()) out.push_back(std::move(statement));
}

} // namespace

size_t SkipQuoted(const String& s, size_t i) {
  char q = s[i];
  bool backslash = q != '`';
  for (size_t k = i + 1; k < s.size(); ++k) {
    if (backslash && s[k] == '\\') {
      ++k;
      continue;
    }
    if (s[k] != q) continue;
    if (k + 1 < s.size() && s[k + 1] == q) {
      ++k;
      continue;
    }
    return k + 1;
  }
  return String::npos;
}

size_t SkipQuotedToEnd(const String& s, size_t i) {
  size_t end = SkipQuoted(s, i);
  return end == String::npos ? s.size() : end;
}

size_t FindMatchingParen(const String& s, size_t open) {
  int depth = 0;
  for (size_t i = open; i < s.size();) {
    char c = s[i];
    if (c == '\'' || c == '"' || c == '`') {
      i = SkipQuotedToEnd(s, i);
      continue;
    }
    if (c == '(')
      ++depth;
    else if (c == ')' && --depth == 0)
      return i;
    ++i;
  }
  return String::npos;
}

size_t FindOutsideQuotes(const String& s, const String& word, size_t from) {
  for (size_t i = from; i < s.size();) {
    char c = s[i];
    if (c == '\'' || c == '"' || c == '`') {
      i = SkipQuotedToEnd(s, i);
      continue;
    }
    if (StartsWithText(s, i, word)) return i;
    ++i;
  }
  return String::npos;
}

String ReadIdentifier(const String& s, size_t& i) {
  while (i < s.size() && IsBlank(s[i]))
    ++i;
  if (i >= s.size()) return String();
  if (s[i] == '`') {
    size_t end = SkipQuoted(s, i);
    size_t b = i + 1;
    i = end == String::npos ? s.size() : end;
    return ReplaceAll(s.substr(b, end == String::npos ? String::npos : end - 1 - b), "``", "`");
  }
  size_t b = i;
  // A bare name never runs into a quoted literal or an assignment.
  while (i < s.size() && !IsSpace(s[i]) && !std::strchr("(),.='\"`", s[i]))
    ++i;
  return s.substr(b, i - b);
}

bool IsReservedWord(const String& word) {
  String w = UpperCase(word);
  return std::binary_search(std::begin(ReservedWords), std::end(ReservedWords), w,
                            [](const auto& a, const auto& b) { return String(a) < String(b); });
}

bool NeedsQuoting(const String& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return true;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '$') return true;
  return IsReservedWord(name);
}

String QuoteName(const String& name) {
  if (!NeedsQuoting(name)) return name;
  String quoted = "`";
  quoted += ReplaceAll(name, "`", "``");
  quoted += '`';
  return quoted;
}

String UnquoteIdentifiers(const String& text) {
  String r;
  r.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    if (c != '\'' && c != '"' && c != '`') {
      r += c;
      ++i;
      continue;
    }
    size_t end = SkipQuoted(text, i);
    if (c == '`' && end != String::npos) {
      size_t k = i;
      String name = ReadIdentifier(text, k);
      if (!NeedsQuoting(name)) {
        r += name;
        i = end;
        continue;
      }
    }
    end = end == String::npos ? text.size() : end;
    r.append(text, i, end - i);
    i = end;
  }
  return r;
}

std::vector<String> SplitScript(const String& text) {
  std::vector<String> out;
  String piece, delimiter = ";";
  // Whether the piece holds more than blanks and plain comments: a piece of
  // only comments is no statement, and a DELIMITER line may follow it.
  bool code = false;
  auto endPiece = [&] {
    if (code) AddStatement(out, piece);
    piece.clear();
    code = false;
  };
  bool lineStart = true;
  for (size_t i = 0, n = text.size(); i < n;) {
    size_t next;
    if (lineStart && !code && ReadDelimiterCommand(text, i, delimiter, next)) {
      endPiece();
      i = next;
      continue;
    }
    lineStart = false;
    char c = text[i];
    if (c == '\'' || c == '"' || c == '`') {
      size_t end = SkipQuotedToEnd(text, i);
      piece.append(text, i, end - i);
      code = true;
      i = end;
    } else if (c == '#' || IsDashComment(text, i)) {
      while (i < n && text[i] != '\n' && text[i] != '\r')
        ++i;
    } else if (text.compare(i, 2, "/*") == 0) {
      size_t end = text.find("*/", i + 2);
      end = end == String::npos ? n : end + 2;
      piece.append(text, i, end - i);
      code = code || IsVersionedComment(text, i);
      i = end;
    } else if (text.compare(i, delimiter.size(), delimiter) == 0) {
      endPiece();
      i += delimiter.size();
    } else {
      piece += c;
      code = code || !IsSpace(c);
      lineStart = c == '\n' || c == '\r';
      ++i;
    }
  }
  endPiece();
  return out;
}
