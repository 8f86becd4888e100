// Parameter substitution: every ":name" of a statement becomes the literal of
// its parameter's value before the statement goes to the server.
#include "mySQLAccess.h"

#include "DB.h"
#include "uMysqlHelpers.h"

namespace {

String Quoted(const String& text) {
  String escaped;
  EscapeSQLText(text, escaped);
  return "'" + escaped + "'";
}

String DateLiteral(TFieldType type, TDateTime value) {
  String text;
  const int kind = type == ftDate ? dkDate : type == ftTime ? dkTime : dkDateTime;
  DateTimeToMySQLText(kind, text, value);
  return "'" + text + "'";
}

String Literal(const TParam& param) {
  const Variant value = param.GetValue();
  switch (value.VarType()) {
  case varEmpty:
  case varNull:
    return "NULL";
  case varSmallint:
  case varInteger:
  case varWord:
  case varLongWord:
  case varInt64:
    return IntToStr(value.AsInt64());
  case varDouble:
  case varCurrency:
    return FloatToTextDot(value.AsFloat());
  case varDate:
    return DateLiteral(param.DataType, value.AsDateTime());
  case varBoolean:
    return value.AsBoolean() ? "'Y'" : "'N'";
  default:
    return Quoted(param.DataType == ftBlob ? param.GetAsString() : value.AsString());
  }
}

// The name after a ":": bare, in brackets or in quotes.
String ParameterName(String& text) {
  if (!text.empty() && text[0] == '[') {
    const size_t close = text.find(']');
    String name = text.substr(1, close == String::npos ? String::npos : close - 1);
    if (close == String::npos) {
      // Without its closing bracket the name is the word after "[".
      text.erase(0, 1);
      NextSQLWord(text, name);
      return name;
    }
    text.erase(0, close + 1);
    return name;
  }
  String name;
  NextSQLWord(text, name);
  // A tab ends a bare name as a blank does; what follows stays statement text.
  const size_t tab = name.find('\t');
  if (tab != String::npos && !name.empty() && name[0] != '"' && name[0] != '\'') {
    text.insert(0, name.substr(tab));
    name.erase(tab);
  }
  if (!name.empty() && (name[0] == '"' || name[0] == '\'')) {
    const char quote = name[0];
    name.erase(0, 1);
    if (!name.empty() && name.back() == quote) name.pop_back();
  }
  return name;
}

} // namespace

void TNativeDataSet::SetParams(const TParams& params, const String& text) {
  String rest = text, out, word;
  while (!rest.empty()) {
    if (!out.empty() && (rest[0] == ' ' || rest[0] == '\t')) out += ' ';
    NextSQLWord(rest, word);
    if (word != ":") {
      out += word;
      continue;
    }
    out += Literal(*params.ParamByName(ParameterName(rest)));
  }
  out = Trim(out);
  // Other values may be longer: the fields are described again.
  if (out != FStatementText && FDescribeAgain == daNone) FDescribeAgain = daValues;
  FStatementText = out;
}
