// Test support for the highlighting rules: a parser holding the project's
// SQL rules, and token bytes of a text as one letter per character.
#pragma once

#include "SqlRulesEmbedded.h"
#include "StoreText.h"
#include "SynParse.h"

#include <memory>

// Token values of the SQL rules.
enum : uint8_t {
  tkIdentifier = 2,
  tkString = 3,
  tkNumber = 4,
  tkSymbol = 5,
  tkReserved = 6,
  tkDataType = 7,
  tkFunction = 8,
  tkKeyword = 9,
  tkQuotedName = 10,
  tkLineComment = 12,
  tkBlockComment = 13,
};

inline String SqlRuleScriptText() {
  return String(reinterpret_cast<const char*>(SqlRulesScript), SqlRulesScriptSize);
}

inline std::unique_ptr<TSyntaxMemoParser> CompileRules(const String& script, const String& dir = String()) {
  auto parser = std::make_unique<TSyntaxMemoParser>(nullptr);
  parser->SetName("SyntaxMemoParser1");
  TStringStream in(script);
  parser->CompileScript(in, dir);
  return parser;
}

// The SQL rules compiled here from their script, once.
inline TSyntaxMemoParser& SqlParser() {
  static std::unique_ptr<TSyntaxMemoParser> parser = CompileRules(SqlRuleScriptText());
  return *parser;
}

// One letter per token value, so that expectations read like the text.
inline char TokenLetter(uint8_t t) {
  switch (t) {
  case 0:
    return '.';
  case tkIdentifier:
    return 'i';
  case tkString:
    return 's';
  case tkNumber:
    return 'n';
  case tkSymbol:
    return 'y';
  case tkReserved:
    return 'R';
  case tkDataType:
    return 'T';
  case tkFunction:
    return 'F';
  case tkKeyword:
    return 'K';
  case tkQuotedName:
    return 'q';
  case tkLineComment:
    return 'c';
  case tkBlockComment:
    return 'C';
  default:
    return static_cast<char>('a' + t % 26);
  }
}

// The token bytes of the whole text, scanned from its start.
inline std::vector<uint8_t> TokenBytes(TSyntaxMemoParser& parser, const String& text) {
  std::vector<uint8_t> bytes;
  if (text.empty()) return bytes;
  TTextStore store;
  SetStoreText(store, text);
  TEdStream s(&store);
  AttachAt(s, store, 0);
  parser.SetStateFromToken(0);
  while (!s.AtEnd()) {
    int length = 0;
    uint8_t t = parser.NextToken(nullptr, s, length);
    bytes.insert(bytes.end(), static_cast<size_t>(length), t);
  }
  parser.SetStateFromToken(0);
  return bytes;
}

inline String TokenLetters(TSyntaxMemoParser& parser, const String& text) {
  String out;
  for (uint8_t t : TokenBytes(parser, text))
    out += TokenLetter(t);
  return out;
}

// A dump of the kind the script window shows: tables and rows.
inline String SqlDump(int tables, int rowsPerTable) {
  String s = "-- Dump of `shop`\r/*!40101 SET NAMES utf8 */;\r";
  for (int t = 0; t < tables; ++t) {
    String name = "t" + IntToStr(t);
    s += "DROP TABLE IF EXISTS `" + name + "`;\rCREATE TABLE `" + name + "` (\r";
    s += "  `id` int(11) unsigned NOT NULL AUTO_INCREMENT,\r";
    s += "  `name` varchar(80) CHARACTER SET utf8 DEFAULT 'n/a' COMMENT 'the \\'name\\'',\r";
    s += "  `price` decimal(10,2) NOT NULL DEFAULT 0.00, # money\r";
    s += "  `created` datetime DEFAULT CURRENT_TIMESTAMP,\r";
    s += "  PRIMARY KEY (`id`), KEY `ix_name` (`name`(20))\r";
    s += ") ENGINE=InnoDB AUTO_INCREMENT=42 DEFAULT CHARSET=latin1;\r";
    s += "INSERT INTO `" + name + "` VALUES ";
    for (int r = 0; r < rowsPerTable; ++r) {
      if (r) s += ",";
      s += "(" + IntToStr(r) + ",'item " + IntToStr(r * 7) + " \\\"x\\\"'," + IntToStr(r % 100) + "." +
           IntToStr(r % 10) + "5,NOW())";
    }
    s += ";\r/* end of " + name + " */\r";
  }
  return s;
}
