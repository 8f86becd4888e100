// The table definition reader: the server's CREATE TABLE text cut into the
// table type, the columns and the keys.
#include "SyncEngine.h"
#include "Util.h"

#include <cctype>
#include <cstring>

namespace {

bool IsSpace(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

bool StartsWith(const String& s, const char* prefix) {
  return s.rfind(prefix, 0) == 0;
}

String Join(const std::vector<String>& parts, const char* separator) {
  String r;
  for (const String& p : parts) {
    if (!r.empty()) r += separator;
    r += p;
  }
  return r;
}

// One word or value of the table options: up to white space or "=", with
// quoted text and parenthesized lists (UNION=(a,b)) taken whole.
size_t SkipOptionToken(const String& s, size_t i) {
  while (i < s.size() && !IsSpace(s[i]) && s[i] != '=') {
    if (s[i] == '\'' || s[i] == '"' || s[i] == '`')
      i = SkipQuotedToEnd(s, i);
    else if (s[i] == '(') {
      size_t close = FindMatchingParen(s, i);
      i = close == String::npos ? s.size() : close + 1;
    } else
      ++i;
  }
  return i;
}

size_t SkipSpaces(const String& s, size_t i) {
  while (i < s.size() && IsSpace(s[i]))
    ++i;
  return i;
}

// The partition clause begins with the word PARTITION or with a versioned
// comment around it.
bool AtPartitionClause(const String& s, size_t i) {
  if (s.compare(i, 2, "/*") == 0) return true;
  return UpperCase(s.substr(i, 9)) == "PARTITION" && (i + 9 >= s.size() || IsSpace(s[i + 9]));
}

String OptionKey(const String& name) {
  String key = UpperCase(name);
  if (StartsWith(key, "DEFAULT ")) key.erase(0, 8);
  if (key == "CHARACTER SET") key = "CHARSET";
  return key;
}

// The text after the last "type=" of the definition, as a server that prints
// TYPE= gives the table type.
String OldStyleTableType(const String& text) {
  int p = LastPos("type=", LowerCase(text));
  return Trim(text.substr(static_cast<size_t>(p) + 4));
}

// The comparable form of the table options: all but the AUTO_INCREMENT
// counter, each as printed, the partition clause on a line of its own.
String ModernTableType(const TTableOptions& options) {
  std::vector<String> parts;
  for (const TTableOption& o : options.Items)
    if (o.Key != "AUTO_INCREMENT") parts.push_back(o.Text);
  for (const String& f : options.Fixed)
    parts.push_back(f);
  String type = Join(parts, " ");
  if (!options.Partition.empty()) type += "\n" + options.Partition;
  return type;
}

String LineKeyName(const String& line) {
  String w = LowerCase(line);
  for (char& c : w)
    if (c == '\t') c = ' ';
  if (StartsWith(w, "primary key ")) return "primary key";
  for (const char* kind : {"unique key ", "fulltext key ", "spatial key ", "key "}) {
    if (!StartsWith(w, kind)) continue;
    size_t i = strlen(kind);
    return LowerCase(ReadIdentifier(line, i));
  }
  if (StartsWith(w, "foreign key ")) return RemoveChar(w, '`');
  if (!StartsWith(w, "constraint ")) return String();
  size_t i = 11;
  String name = LowerCase(ReadIdentifier(line, i));
  i = SkipSpaces(w, i);
  if (w.compare(i, 12, "foreign key ") == 0) return RemoveChar(w.substr(i), '`');
  return "constraint " + name;
}

} // namespace

TTableOptions ParseTableOptions(const String& text) {
  TTableOptions r;
  std::vector<String> words;
  size_t wordsStart = 0;
  for (size_t i = SkipSpaces(text, 0); i < text.size(); i = SkipSpaces(text, i)) {
    if (AtPartitionClause(text, i)) {
      r.Partition = Trim(text.substr(i));
      break;
    }
    size_t b = i;
    i = SkipOptionToken(text, i);
    if (words.empty()) wordsStart = b;
    words.push_back(text.substr(b, i - b));
    i = SkipSpaces(text, i);
    if (i >= text.size() || text[i] != '=') continue;
    size_t valueStart = SkipSpaces(text, i + 1);
    i = SkipOptionToken(text, valueStart);
    TTableOption o;
    o.Name = Join(words, " ");
    o.Key = OptionKey(o.Name);
    o.Value = text.substr(valueStart, i - valueStart);
    o.Text = text.substr(wordsStart, i - wordsStart);
    r.Items.push_back(std::move(o));
    words.clear();
  }
  if (!words.empty()) r.Fixed.push_back(Join(words, " "));
  return r;
}

std::vector<String> ParseColumnList(const String& list) {
  std::vector<String> columns;
  size_t open = list.find('(');
  if (open == String::npos) return columns;
  size_t close = FindMatchingParen(list, open);
  String inner = list.substr(open + 1, close == String::npos ? String::npos : close - open - 1);
  for (size_t i = 0; i < inner.size();) {
    columns.push_back(LowerCase(ReadIdentifier(inner, i)));
    // Skip a prefix length or a sort order up to the next column.
    while (i < inner.size() && inner[i] != ',') {
      if (inner[i] == '(') {
        size_t c = FindMatchingParen(inner, i);
        i = c == String::npos ? inner.size() : c + 1;
      } else if (inner[i] == '\'' || inner[i] == '"' || inner[i] == '`') {
        i = SkipQuotedToEnd(inner, i);
      } else
        ++i;
    }
    if (i < inner.size()) ++i;
  }
  return columns;
}

void ParseTableDefinition(const String& createText, bool useBackticks, TTableDefinition& def) {
  String d = useBackticks ? createText : UnquoteIdentifiers(createText);
  size_t open = FindOutsideQuotes(d, "(");
  size_t close = open == String::npos ? String::npos : FindMatchingParen(d, open);
  size_t bodyStart = open == String::npos ? 0 : open + 1;
  String body = d.substr(bodyStart, close == String::npos ? String::npos : close - bodyStart);
  TTableOptions options = ParseTableOptions(close == String::npos ? String() : d.substr(close + 1));

  bool oldStyle = false;
  for (const TTableOption& o : options.Items)
    oldStyle |= o.Key == "TYPE";
  def.TableType = oldStyle ? OldStyleTableType(d) : ModernTableType(options);

  def.ColumnNames.Clear();
  def.ColumnDefs.Clear();
  def.KeyNames.Clear();
  def.KeyDefs.Clear();
  TStringList lines;
  lines.SetText(Trim(body));
  for (int n = 0; n < lines.GetCount(); ++n) {
    String line = Trim(lines[n]);
    StripTrailingChar(line, ',');
    // A period belongs with system versioning and is not compared: taken
    // for a column, it would be added as one.
    if (StartsWithText(line, "period for ")) continue;
    String keyName = LineKeyName(line);
    if (!keyName.empty()) {
      def.KeyNames.Add(keyName);
      def.KeyDefs.Add(line);
      continue;
    }
    size_t i = 0;
    def.ColumnNames.Add(LowerCase(ReadIdentifier(line, i)));
    def.ColumnDefs.Add(line);
  }
}

namespace {

void FetchTableDefinition(const String& table, bool useBackticks, TSyncDatabase& db, TTableDefinition& def) {
  FetchFirstRow("show create table " + QuoteName(table), db);
  ParseTableDefinition(SqlValueToString(RowValues[1]), useBackticks, def);
}

} // namespace

// A definition not kept yet is read together with those of the next compared
// tables on the same connection: a series of reads on one connection costs
// the server less than reads that alternate between the two.
const TTableDefinition& TSyncEngine::KeptDefinition(const String& table, TSyncDatabase& db) {
  auto kept = FDefinitions.find({&db, table});
  if (kept != FDefinitions.end()) return kept->second;
  std::vector<String> batch = {table};
  auto at = FComparedIndex.find(table);
  for (size_t i = at == FComparedIndex.end() ? FCompared.size() : at->second + 1;
       i < FCompared.size() && batch.size() < ReadAhead; ++i)
    if (!FDefinitions.count({&db, FCompared[i]})) batch.push_back(FCompared[i]);
  for (const String& name : batch) {
    auto added = FDefinitions.try_emplace({&db, name}).first;
    try {
      FetchTableDefinition(name, FSettings.UseBackticks, db, added->second);
    } catch (...) {
      FDefinitions.erase(added);
      throw;
    }
  }
  return FDefinitions.at({&db, table});
}

void TSyncEngine::ReadTableDefinition(const String& table, String& tableType, TStrings* columnNames,
                                      TStrings* columnDefs, TStrings* keyNames, TStrings* keyDefs,
                                      TSyncDatabase& db) {
  TTableDefinition fresh;
  if (!FInRun) FetchTableDefinition(table, FSettings.UseBackticks, db, fresh);
  const TTableDefinition& def = FInRun ? KeptDefinition(table, db) : fresh;
  tableType = def.TableType;
  if (columnNames) columnNames->Assign(def.ColumnNames);
  if (columnDefs) columnDefs->Assign(def.ColumnDefs);
  if (keyNames) keyNames->Assign(def.KeyNames);
  if (keyDefs) keyDefs->Assign(def.KeyDefs);
}
