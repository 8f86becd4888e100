#include "SYM_COMP.h"

#include <memory>

namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsWordChar(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_';
}

String LowerWord(const String& s) {
  String out(s);
  for (char& c : out)
    c = Lower(c);
  return out;
}

struct TKeyword {
  const char* Word;
  TSymToken Code;
};

const TKeyword kKeywords[] = {
    {"%%language", symLanguage},
    {"%%words", symWords},
    {"%%handler", symHandlers},
    {"%%handlers", symHandlers},
    {"%%tokens", symTokens},
    {"%%map", symMap},
    {"%%effects", symEffects},
    {"%%states", symStates},
    {"%%containers", symContainers},
    {"%%keys", symKeys},
    {"%%autoreplace", symAutoReplace},
    {"%%templates", symTemplates},
    {"%%kwTables", symKwTables},
    {"name", symName},
    {"case", symCase},
    {"options", symOptions},
    {"exampletext", symExampleText},
    {"editablestyles", symEditableStyles},
    {"wordwrapcolumn", symWordWrapColumn},
    {"fontname", symFontName},
    {"fontsize", symFontSize},
    {"fontcharset", symFontCharset},
    {"gutter", symGutter},
    {"guttercolor", symGutterColor},
    {"margincolor", symMarginColor},
    {"marginwidth", symMarginWidth},
    {"anchor", symAnchor},
    {"startstate", symStartState},
    {"contextstates", symContextStates},
    {"indentstep", symIndentStep},
    {"wrapoverride", symWrapOverride},
    {"seltextcolor", symSelTextColor},
    {"seltextback", symSelTextBack},
    {"rightmargin", symRightMargin},
    {"tabcolumns", symTabColumns},
    {"tabdefault", symTabDefault},
    {"boundstates", symBoundStates},
    {"GutterFontName", symGutterFontName},
    {"GutterFontSize", symGutterFontSize},
    {"GutterFontColor", symGutterFontColor},
    {"GutterFontStyle", symGutterFontStyle},
    {"InState", symInState},
    {"shift", symShift},
    {"ctrl", symCtrl},
    {"alt", symAlt},
    {"or", symOr},
    {"match", symMatch},
    {"actionkeys", symActionKeys},
    {"hotkey", symHotKey},
    {"forstate", symForState},
    {"endswith", symEndsWith},
    {"is", symIs},
    {"push", symPush},
    {"pop", symPop},
    {"=", symEquals},
    {"(", symLParen},
    {")", symRParen},
    {"[", symLBracket},
    {"]", symRBracket},
    {",", symComma},
    {"+", symPlus},
    {"-", symMinus},
    {"?", symQuestion},
    {"*", symStar},
    {"|", symBar},
};

struct TMacro {
  const char* Name;
  int64_t Value;
};

const TMacro kMacros[] = {
    {"pt_DEFAULT", 0},
    {"_discard_", 0},
    {"__insensitive", 0},
    {"_edge", 0},
    {"_DEFAULT_START_ANCHOR", 0},
    {"_use_", 1},
    {"__sensitive", 1},
    {"_default_gutter", 34},
    {"__DEFAULT_OPTIONS", 67099632},
    // Option bits.
    {"__OPT_LINE_NUMBERS", 1},
    {"__OPT_SYNTAX_HIGHLIGHT", 16},
    {"__OPT_PRINT_WRAP", 32},
    {"__OPT_PRINT_LINENOS", 64},
    {"__OPT_PRINT_FILENAME", 128},
    {"__OPT_PRINT_DATE", 256},
    {"__OPT_PRINT_PAGENOS", 512},
    {"__OPT_WORDWRAP", 1024},
    {"__OPT_AUTOINDENT", 2048},
    {"__OPT_TABCOLUMN", 4096},
    {"__OPT_WRAP_OVERRIDE", 8192},
    {"__WORD_SELECT", 16384},
    {"__OPT_SHOW_RIGHT_MARGIN", 32768},
    {"__OPT_SHOW_RMARGIN", 32768},
    {"__OPT_SHOW_GUTTER", 65536},
    {"__OPT_SHOW_WRAPCOLUMN", 131072},
    {"__OPT_TITLE_AS_FILENAME", 262144},
    {"__OPT_PROCESS_DROP_FILES", 524288},
    {"__OPT_BLOCK_CURSOR", 1048576},
    {"__OPT_WRAP_GLYPH", 2097152},
    {"__OPT_COLUMN_TRACK", 4194304},
    {"__OPT_USE_TAB", 8388608},
    {"__OPT_SMART_FILL", 16777216},
    {"__OPT_OLE_DRAG_SOURCE", 33554432},
    {"__OPT_CARET_AFTER_EOL", 134217728},
    {"__OPT_SHOW_CONTROL_CHARS", 67108864},
    // Built-in handlers.
    {"_PASCAL_CHAR", 0},
    {"_WEB_CHAR", 1},
    {"_ORIGINAL_CHAR", 2},
    {"__STD_IDENTIFIER", 10},
    {"__STD_NUMBER_OR_FP", 11},
    {"__STD_PASCALSTRING", 12},
    {"__STD_C_STRING", 13},
    {"__STD_C_CHAR", 14},
    {"__STD_C_NUMBER_OR_FP_SIGNED", 15},
    {"__STD_NUMBER", 16},
    {"__STD_MAIL_URL", 17},
    {"__STD_HTML_STRING", 18},
    {"__STD_JS_LINE_COMMENT", 19},
    {"__STD_C_STRING_SQ", 20},
    // Font style bits.
    {"fsBold", 0},
    {"fsItalic", 1},
    {"fsUnderline", 2},
    {"fsStrikeout", 3},
    // Colours, blue in the high byte.
    {"clBlack", 0},
    {"clMaroon", 128},
    {"clGreen", 32768},
    {"clOlive", 32896},
    {"clNavy", 8388608},
    {"clPurple", 8388736},
    {"clTeal", 8421376},
    {"clGray", 8421504},
    {"clDkGray", 8421504},
    {"clSilver", 12632256},
    {"clLtGray", 12632256},
    {"clRed", 255},
    {"clLime", 65280},
    {"clYellow", 65535},
    {"clBlue", 16711680},
    {"clFuchsia", 16711935},
    {"clAqua", 16776960},
    {"clWhite", 16777215},
    // Editor commands.
    {"caLEFT", 0},
    {"caRIGHT", 1},
    {"caLINEHOME", 2},
    {"caLINEEND", 3},
    {"caUP", 4},
    {"caDOWN", 5},
    {"caPAGEUP", 6},
    {"caPAGEDOWN", 7},
    {"caWORDLEFT", 8},
    {"caWORDRIGHT", 9},
    {"caDOCSTART", 10},
    {"caDOCEND", 11},
    {"caCUT", 12},
    {"caCOPY", 13},
    {"caPASTE", 14},
    {"caDELETE", 15},
    {"caBACKSPACE", 16},
    {"caBLOCKIND", 17},
    {"caBLOCKUND", 18},
    {"caINSTOGGLE", 19},
    {"caDELETELINE", 40},
    {"caUNDO", 41},
    {"caREDO", 42},
    {"caDELPREVWORD", 43},
    {"caPRINTSEL", 44},
    {"caDELNEXTWORD", 45},
    // Virtual keys.
    {"LEFT", 37},
    {"RIGHT", 39},
    {"UP", 38},
    {"DOWN", 40},
    {"PGUP", 33},
    {"PGDN", 34},
    {"HOME", 36},
    {"END", 35},
    {"DELETE", 46},
    {"BACKSPACE", 8},
    {"INSERT", 45},
    {"None", 0},
    // Character sets.
    {"ANSI_CHARSET", 0},
    {"DEFAULT_CHARSET", 1},
    {"SYMBOL_CHARSET", 2},
    {"SHIFTJIS_CHARSET", 128},
    {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},
    {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},
    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
    {"MAC_CHARSET", 77},
};

void DefinePredefinedMacros(TWordStore& macros) {
  // ver200 names itself: it serves #ifdef, and using it as a value is a
  // recursive expansion.
  macros.DefineText("ver200", "ver200");
  for (const auto& m : kMacros)
    macros.DefineText(m.Name, IntToStr(m.Value));
  for (int i = 0; i <= 9; ++i) {
    macros.DefineText(Format("caSETBOOKMARK%d", i), IntToStr(20 + i));
    macros.DefineText(Format("caGOTOBOOKMARK%d", i), IntToStr(30 + i));
  }
  for (int i = 1; i <= 12; ++i)
    macros.DefineText(Format("F%d", i), IntToStr(111 + i));
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  c = Lower(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

} // namespace

// --- TWordStore --------------------------------------------------------------

TWordStore::TWordStore() {
  FFirst.fill(-1);
}

int TWordStore::ChildWith(int node, char c) const {
  for (int n = node; n >= 0; n = FNodes[static_cast<size_t>(n)].Sibling)
    if (FNodes[static_cast<size_t>(n)].Ch == c) return n;
  return -1;
}

int TWordStore::Find(const String& word) const {
  if (word.empty()) return -1;
  String w = LowerWord(word);
  int node = FFirst[static_cast<uint8_t>(w[0])];
  for (size_t i = 1; i < w.size() && node >= 0; ++i)
    node = ChildWith(FNodes[static_cast<size_t>(node)].Child, w[i]);
  return node >= 0 && FNodes[static_cast<size_t>(node)].End ? node : -1;
}

int TWordStore::Insert(const String& word) {
  String w = LowerWord(word);
  int node = -1;
  for (size_t i = 0; i < w.size(); ++i) {
    int head = i == 0 ? FFirst[static_cast<uint8_t>(w[0])] : FNodes[static_cast<size_t>(node)].Child;
    int next = ChildWith(head, w[i]);
    if (next < 0) {
      TNode n;
      n.Ch = w[i];
      n.Sibling = head;
      FNodes.push_back(n);
      next = static_cast<int>(FNodes.size()) - 1;
      if (i == 0)
        FFirst[static_cast<uint8_t>(w[0])] = next;
      else
        FNodes[static_cast<size_t>(node)].Child = next;
    }
    node = next;
  }
  FNodes[static_cast<size_t>(node)].End = true;
  return node;
}

void TWordStore::DefineText(const String& word, const String& text) {
  if (word.empty()) return;
  TNode& n = FNodes[static_cast<size_t>(Insert(word))];
  n.HasText = true;
  n.Text = text;
}

void TWordStore::DefineCode(const String& word, int code) {
  if (word.empty()) return;
  FNodes[static_cast<size_t>(Insert(word))].Code = code;
}

bool TWordStore::FindText(const String& word, String& text) const {
  int node = Find(word);
  if (node < 0 || !FNodes[static_cast<size_t>(node)].HasText) return false;
  text = FNodes[static_cast<size_t>(node)].Text;
  return true;
}

bool TWordStore::IsDefined(const String& word) const {
  return Find(word) >= 0;
}

int TWordStore::MatchCode(const char*& pos) const {
  int best = -1;
  size_t bestLen = 0;
  int node = FFirst[static_cast<uint8_t>(Lower(pos[0]))];
  for (size_t i = 0; node >= 0;) {
    const TNode& n = FNodes[static_cast<size_t>(node)];
    if (n.End && n.Code >= 0 && (!IsWordChar(pos[i]) || !IsWordChar(pos[i + 1]))) {
      best = n.Code;
      bestLen = i + 1;
    }
    if (pos[++i] == 0) break;
    node = ChildWith(n.Child, Lower(pos[i]));
  }
  if (best >= 0) pos += bestLen;
  return best;
}

// --- TSYM_Compiler -----------------------------------------------------------

TSYM_Compiler::TSYM_Compiler(TStream& script, const String& scriptDirectory)
    : FScriptDirectory(scriptDirectory) {
  TText main;
  main.Name = "-script-";
  script.SetPosition(0);
  main.Text.resize(static_cast<size_t>(script.GetSize()));
  if (!main.Text.empty()) script.ReadBuffer(main.Text.data(), static_cast<int64_t>(main.Text.size()));
  // The script is zero-terminated: whatever follows a zero byte is not read.
  main.Text.resize(std::char_traits<char>::length(main.Text.c_str()));
  FTexts.push_back(std::move(main));
  DefinePredefinedMacros(FMacros);
  for (const auto& k : kKeywords)
    FKeywords.DefineCode(k.Word, k.Code);
}

void TSYM_Compiler::ScriptError(const String& message) const {
  throw ESYM_COMP_ERROR(Format("** ERROR near line %d, Column %d: %s", Line + 1, Column + 1, message));
}

// The current character; a nested text that has been read to its end is left
// here, and 0 means the script itself has ended.
char TSYM_Compiler::Cur() {
  for (;;) {
    TText& t = FTexts.back();
    if (t.Pos < t.Text.size()) return t.Text[t.Pos];
    if (FTexts.size() == 1) return 0;
    FTexts.pop_back();
  }
}

char TSYM_Compiler::Peek(size_t ahead) const {
  const TText& t = FTexts.back();
  return t.Pos + ahead < t.Text.size() ? t.Text[t.Pos + ahead] : 0;
}

void TSYM_Compiler::Advance() {
  char c = Cur();
  if (c == 0) return;
  ++FTexts.back().Pos;
  if (c == '\r') {
    ++Line;
    Column = 0;
  } else if (c != '\n') {
    ++Column;
  }
}

TSYM_Compiler::TMark TSYM_Compiler::Here() const {
  return {FTexts.size(), FTexts.back().Pos, Line, Column};
}

void TSYM_Compiler::Restore(const TMark& m) {
  // A mark is only taken back within the text it was taken in.
  FTexts.resize(m.Depth);
  FTexts.back().Pos = m.Pos;
  Line = m.Line;
  Column = m.Column;
}

// Letters (and digits and '_' when digitsToo) at the current position, within
// the current text: a word never runs on into the text around it.
String TSYM_Compiler::ReadWord(bool digitsToo) {
  String w;
  for (char c = Peek(0); digitsToo ? IsWordChar(c) : IsLetter(c); c = Peek(0)) {
    w += c;
    Advance();
  }
  return w;
}

void TSYM_Compiler::SkipSpaces() {
  for (char c = Cur(); c == ' ' || c == '\t' || c == '\xA0'; c = Cur())
    Advance();
}

void TSYM_Compiler::InsertText(const String& name, const String& text) {
  String key = LowerWord(name);
  for (const auto& t : FTexts)
    if (t.Name == key) ScriptError(Format("Recursive expansion of macro '%s'", key));
  FTexts.push_back(TText{key, text, 0});
}

void TSYM_Compiler::SkipBlanks() {
  for (;;) {
    char c = Cur();
    if (c == ' ' || c == '\t' || c == '\xA0' || c == '\r' || c == '\n') {
      Advance();
      continue;
    }
    if (c == '#') {
      if (FInDirective) return;
      TMark m = Here();
      Advance();
      String word = ReadWord(false);
      if (!word.empty() && RunDirective(word)) continue;
      Restore(m);
      return;
    }
    if (c == '/' && Peek(1) == '*') {
      Advance();
      Advance();
      while (Cur() != 0 && !(Cur() == '*' && Peek(1) == '/'))
        Advance();
      Advance();
      Advance();
      continue;
    }
    if (c == '/' && Peek(1) == '/') {
      while (Cur() != 0 && Cur() != '\r')
        Advance();
      continue;
    }
    if ((IsLetter(c) || c == '_') && !FInDirective && !FSkipping) {
      TMark m = Here();
      String name = ReadWord(true);
      String text;
      if (FMacros.FindText(name, text)) {
        InsertText(name, text);
        continue;
      }
      Restore(m);
    }
    return;
  }
}

bool TSYM_Compiler::RunDirective(const String& word) {
  FInDirective = true;
  if (word == "define") {
    DirectiveDefine();
  } else if (word == "ifdef" || word == "ifndef") {
    DirectiveIfdef(word == "ifdef");
  } else if (word == "else") {
    // A stray #else (no open part) changes nothing.
    if (!FLevels.empty() && !FLevels.back()) FSkipping = !FSkipping;
  } else if (word == "endif") {
    if (!FLevels.empty()) {
      FSkipping = FLevels.back();
      FLevels.pop_back();
    }
  } else if (word == "include") {
    if (!FSkipping) DirectiveInclude();
  } else {
    FInDirective = false;
    return false;
  }
  FInDirective = false;
  return true;
}

void TSYM_Compiler::DirectiveDefine() {
  SkipSpaces();
  char c = Cur();
  // A definition in a part that is skipped must not take effect.
  if (FSkipping) {
    while (Cur() != 0 && Cur() != '\r')
      Advance();
    return;
  }
  if (!IsLetter(c) && c != '_') ScriptError("Macro name expected");
  String name = ReadWord(true);
  SkipSpaces();
  String value;
  for (c = Cur(); c != 0 && c != '\r'; c = Cur()) {
    value += c;
    Advance();
  }
  value = TrimRight(value);
  if (!SameText(value, name)) FMacros.DefineText(name, value);
}

void TSYM_Compiler::DirectiveIfdef(bool wanted) {
  FLevels.push_back(FSkipping);
  if (FSkipping) return;
  SkipSpaces();
  char c = Cur();
  if (!IsLetter(c) && c != '_') ScriptError("Macro name expected after #ifdef");
  FSkipping = FMacros.IsDefined(ReadWord(true)) != wanted;
}

void TSYM_Compiler::DirectiveInclude() {
  SkipSpaces();
  char open = Cur();
  if (open != '"' && open != '<') ScriptError("#include filename not enclosed in \"...\" or <...>");
  char close = open == '"' ? '"' : '>';
  Advance();
  String name;
  for (char c = Cur(); c != close; c = Cur()) {
    if (c == 0 || c == '\r') ScriptError(Format("#include filename missing terminating %c", close));
    name += c;
    Advance();
  }
  Advance();
  String path = name;
  if (open == '<') {
    String dir = FScriptDirectory;
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') {
#ifdef _WIN32
      dir += '\\';
#else
      dir += '/';
#endif
    }
    path = dir + name;
  }
  String text;
  try {
    TFileStream f(path, fmOpenRead | fmShareDenyNone);
    text.resize(static_cast<size_t>(f.GetSize()));
    if (!text.empty()) f.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  } catch (const EStreamError&) {
    ScriptError(Format("Unable to open #include file %c%s%c", open, name, close));
  }
  text.resize(std::char_traits<char>::length(text.c_str()));
  InsertText("-file-: " + path, text);
}

int TSYM_Compiler::GetToken() {
  for (;;) {
    SkipBlanks();
    if (Cur() == 0) return symEnd;
    if (!FSkipping) return ScanToken();
    // Inside a false part nothing opens a string or a number.
    const char* p = FTexts.back().Text.c_str() + FTexts.back().Pos;
    const char* start = p;
    if (FKeywords.MatchCode(p) >= 0) {
      FTexts.back().Pos += static_cast<size_t>(p - start);
      Column += static_cast<int>(p - start);
    } else {
      Advance();
    }
  }
}

int TSYM_Compiler::ScanToken() {
  TText& t = FTexts.back();
  const char* p = t.Text.c_str() + t.Pos;
  const char* start = p;
  int code = FKeywords.MatchCode(p);
  if (code >= 0) {
    t.Pos += static_cast<size_t>(p - start);
    Column += static_cast<int>(p - start);
    return code;
  }
  char c = Cur();
  if (c == '\'') {
    ScanString();
    return symString;
  }
  if (IsDigit(c)) {
    uint32_t n = 0;
    for (; IsDigit(Cur()); Advance())
      n = n * 10 + static_cast<uint32_t>(Cur() - '0');
    LastNumber = static_cast<int32_t>(n);
    return symNumber;
  }
  if (IsLetter(c) || c == '_') {
    TMark m = Here();
    String name = ReadWord(true);
    Restore(m);
    ScriptError("Identifier \"" + name + "\" Unknown");
  }
  ScriptError(Format("Unknown character in input stream: #$%.2x", static_cast<int>(static_cast<uint8_t>(c))));
}

void TSYM_Compiler::ScanString() {
  LastString.clear();
  Advance();
  for (char c = Cur(); c != 0; c = Cur()) {
    if (c == '\'') {
      Advance();
      if (Cur() == '\'') Advance();
      return;
    }
    if (c == '\\' && Peek(1) == '\r') {
      // A line continued with a backslash: the break, the blanks and one
      // backslash that opens the next line's text are not part of the string.
      Advance();
      Advance();
      for (c = Cur(); (c >= 1 && c <= 32) || c == '\xA0'; c = Cur())
        Advance();
      if (c == '\\') Advance();
      continue;
    }
    LastString += c;
    Advance();
    if (c == '\\' && Cur() != 0) {
      LastString += Cur();
      Advance();
    }
  }
}

String TSYM_Compiler::ProcessString() const {
  String out;
  const String& s = LastString;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (++i >= s.size()) break;
    char e = Lower(s[i]);
    switch (e) {
    case 'b':
      out += '\x08';
      break;
    case 'e':
      out += '\x1B';
      break;
    case 'n':
      out += '\r';
      break;
    case 'r':
      out += '\n';
      break;
    case 's':
      out += ' ';
      break;
    case 't':
      out += '\t';
      break;
    case 'x': {
      unsigned v = 0;
      while (i + 1 < s.size() && HexValue(s[i + 1]) >= 0)
        v = v * 16 + static_cast<unsigned>(HexValue(s[++i]));
      out += static_cast<char>(v);
      break;
    }
    default:
      if (e >= '0' && e <= '7') {
        unsigned v = static_cast<unsigned>(e - '0');
        while (i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '7')
          v = v * 8 + static_cast<unsigned>(s[++i] - '0');
        out += static_cast<char>(v);
      } else {
        out += s[i];
      }
    }
  }
  return out;
}
