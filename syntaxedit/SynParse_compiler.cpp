// The rule-script compiler: reads a script section by section from the lexer
// and fills the parser's compiled language and its language settings.
#include "SynParse.h"
#include "SynParse_internal.h"

#include "SYM_COMP.h"
#include "SyntaxEd_settings.h"
#include "SyntaxEd_streamio.h"
#include "SyntaxEd_templates.h"

#include <algorithm>
#include <memory>

namespace {

// Errors that carry no position in the script.
[[noreturn]] void PlainError(const String& message) {
  throw ESYM_COMP_ERROR(message);
}

int32_t InRange(int32_t value, int32_t low, int32_t high) {
  if (value < low || value > high) PlainError(Format("Range error, value outwith %d .. %d", low, high));
  return value;
}

} // namespace

void ParseTabColumns(const String& text, std::array<int32_t, 32>& columns) {
  std::array<int32_t, 32> parsed;
  parsed.fill(-1);
  size_t count = 0, i = 0;
  int32_t previous = 0;
  for (;;) {
    while (i < text.size() && (text[i] == ' ' || text[i] == ';'))
      ++i;
    if (i >= text.size()) break;
    if (count == parsed.size()) throw ESyntaxMemo("Too many tab stops - maximum of 32");
    if (text[i] < '0' || text[i] > '9') throw ESyntaxMemo("Tab stop column value expected");
    int64_t column = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
      column = std::min<int64_t>(column * 10 + (text[i] - '0'), 1 << 30);
    if (column <= previous) throw ESyntaxMemo("Tab columns must be in order and unique");
    if (column <= 1) throw ESyntaxMemo("Tab column must be > 1");
    previous = static_cast<int32_t>(column);
    parsed[count++] = previous - 1;
  }
  columns = parsed;
}

// One compilation: the lexer, the current token and the parser it fills.
class TRuleCompiler {
public:
  TRuleCompiler(TSyntaxMemoParser& parser, TSYM_Compiler& lexer)
      : P(parser), L(lexer), S(parser.GetSettings()) {}

  void Run();

private:
  void Next() { Tok = L.GetToken(); }
  void Expect(int token, const char* message) {
    if (Tok != token) L.ScriptError(message);
    Next();
  }
  bool AtExpression() const { return Tok == symNumber || Tok == symLParen; }

  // Shared syntax.
  int32_t Expression();
  int32_t Term();
  int32_t RangeExpression(int32_t low, int32_t high) { return InRange(Expression(), low, high); }
  TStateSet Set();
  TStateSet States();
  String Text(bool raw);
  String EqualsText(bool raw) {
    Expect(symEquals, "'=' expected");
    return Text(raw);
  }
  int32_t EqualsExpression() {
    Expect(symEquals, "'=' expected");
    return Expression();
  }
  uint8_t FontStyle(bool bracketErrors);
  int32_t Colour(bool& systemDefault);

  // Character groups of the token sections.
  uint16_t Intern(const TSM_CharGroup& g) { return static_cast<uint16_t>(P.FKeywords->InternGroup(g)); }
  TSM_CharGroup OneGroup(const String& spec);
  TEndPart GroupSequence(const String& spec);
  TEffectRecord& Effect(uint8_t token, const TStateSet& validIfNew);
  void Body(TScanPart& body);
  void CustomPart(bool& isCustom, uint32_t& id);

  // Sections.
  void Language();
  bool LanguageSetting();
  void EditableStyles();
  void ContextStates();
  void Effects();
  void Map();
  void KwTables();
  void Keys();
  void KeySequence(int command);
  uint16_t Key();
  uint16_t Modifiers();
  void AutoReplace();
  void Templates();
  void Words();
  void Handlers();
  void Tokens();
  void TokenEntry(TCharacterMap& map, const TStateSet& states);
  void StateChanges(bool container);

  TSyntaxMemoParser& P;
  TSYM_Compiler& L;
  TSM_Settings& S;
  int Tok = symEnd;
};

// --- Shared syntax -----------------------------------------------------------

int32_t TRuleCompiler::Expression() {
  try {
    uint32_t value = static_cast<uint32_t>(Term());
    while (Tok == symPlus || Tok == symMinus || Tok == symOr) {
      int op = Tok;
      Next();
      uint32_t t = static_cast<uint32_t>(Term());
      value = op == symPlus ? value + t : op == symMinus ? value - t : value | t;
    }
    return static_cast<int32_t>(value);
  } catch (const ESYM_COMP_ERROR&) {
    L.ScriptError("Expression expected");
  }
}

int32_t TRuleCompiler::Term() {
  if (Tok == symNumber) {
    int32_t v = L.LastNumber;
    Next();
    return v;
  }
  if (Tok != symLParen) L.ScriptError("Expression expected");
  Next();
  int32_t v = Expression();
  Expect(symRParen, "')' expected");
  return v;
}

TStateSet TRuleCompiler::Set() {
  TStateSet set;
  Expect(symLBracket, "'[' expected");
  while (AtExpression()) {
    set.set(static_cast<size_t>(RangeExpression(0, 255)));
    if (Tok == symComma) Next();
  }
  Expect(symRBracket, "']' expected");
  return set;
}

TStateSet TRuleCompiler::States() {
  if (Tok == symLBracket) return Set();
  TStateSet one;
  one.set(static_cast<size_t>(RangeExpression(0, 255)));
  return one;
}

String TRuleCompiler::Text(bool raw) {
  if (Tok != symString) L.ScriptError("String value expected");
  String s = raw ? L.LastString : L.ProcessString();
  Next();
  return s;
}

// "[" bit numbers "]": bits 0 to 7 of the values. In the gutter font's
// setting any error inside is a bad style; in %%effects the brackets have
// messages of their own.
uint8_t TRuleCompiler::FontStyle(bool bracketErrors) {
  if (Tok != symLBracket) L.ScriptError(bracketErrors ? "'[' expected" : "Bad font style specifier");
  uint8_t style = 0;
  try {
    Next();
    while (AtExpression()) {
      int32_t bit = Expression();
      if (bit >= 0 && bit < 8) style = static_cast<uint8_t>(style | (1 << bit));
      if (Tok == symComma) Next();
    }
    Expect(symRBracket, "']' expected");
  } catch (const ESYM_COMP_ERROR&) {
    if (bracketErrors) throw;
    L.ScriptError("Bad font style specifier");
  }
  return style;
}

// An optional "[*]" (the system's colour) or "[]", then the colour.
int32_t TRuleCompiler::Colour(bool& systemDefault) {
  systemDefault = false;
  if (Tok == symLBracket) {
    Next();
    if (Tok == symStar) {
      systemDefault = true;
      Next();
    }
    Expect(symRBracket, "']' expected");
  }
  return Expression();
}

// --- Driver ------------------------------------------------------------------

void TRuleCompiler::Run() {
  Next();
  while (Tok != symEnd) {
    int section = Tok;
    Next();
    switch (section) {
    case symLanguage:
      Language();
      break;
    case symEffects:
      Effects();
      break;
    case symMap:
      Map();
      break;
    case symKwTables:
      KwTables();
      break;
    case symKeys:
      Keys();
      break;
    case symAutoReplace:
      AutoReplace();
      break;
    case symTemplates:
      Templates();
      break;
    case symWords:
      Words();
      break;
    case symHandlers:
      Handlers();
      break;
    case symTokens:
      Tokens();
      break;
    case symStates:
      StateChanges(false);
      break;
    case symContainers:
      StateChanges(true);
      break;
    default:
      L.ScriptError("Script syntax error");
    }
  }
}

void TSyntaxMemoParser::CompileScript(TStream& Script, const String& scriptDirectory) {
  ResetLanguage();
  {
    TSYM_Compiler lexer(Script, scriptDirectory);
    TRuleCompiler(*this, lexer).Run();
  }
  for (auto& context : FContextStates)
    if (context.none()) context = FStartStates;
  FNoStateMaps = FMapStates.none();
}

// --- %%language --------------------------------------------------------------

void TRuleCompiler::Language() {
  while (LanguageSetting()) {
  }
}

bool TRuleCompiler::LanguageSetting() {
  bool systemDefault = false;
  switch (Tok) {
  case symName:
    Next();
    S.LanguageName = EqualsText(false).substr(0, 35);
    break;
  case symCase:
    Next();
    P.FCaseSensitive = EqualsExpression() != 0;
    break;
  case symOptions:
    Next();
    S.Options = static_cast<uint32_t>(EqualsExpression());
    break;
  case symExampleText:
    Next();
    S.ExampleText = EqualsText(false);
    break;
  case symEditableStyles:
    Next();
    EditableStyles();
    break;
  case symWordWrapColumn:
    Next();
    S.WordWrapColumn = EqualsExpression();
    break;
  case symGutter:
    Next();
    S.GutterWidth = EqualsExpression();
    break;
  case symAnchor: {
    Next();
    Expect(symEquals, "'=' expected");
    TStateSet anchor = States();
    if (anchor.none()) anchor.set(0);
    P.FAnchorTokens = anchor;
    break;
  }
  case symIndentStep:
    Next();
    Expect(symEquals, "'=' expected");
    S.IndentStep = RangeExpression(0, 20);
    break;
  case symWrapOverride:
    Next();
    S.WrapOverride = EqualsText(false).substr(0, 35);
    break;
  case symStartState:
    Next();
    Expect(symEquals, "'=' expected");
    P.FStartStates = States();
    break;
  case symSelTextColor:
  case symSelTextBack:
  case symGutterColor:
  case symMarginColor: {
    int which = Tok;
    Next();
    Expect(symEquals, "'=' expected");
    TColor colour = static_cast<TColor>(Colour(systemDefault));
    // The system-default markers are kept in the order margin, selected
    // text, selection background, gutter.
    switch (which) {
    case symMarginColor:
      S.MarginColor = colour;
      S.SystemColorMarkers[0] = systemDefault;
      break;
    case symSelTextColor:
      S.SelTextColor = colour;
      S.SystemColorMarkers[1] = systemDefault;
      break;
    case symSelTextBack:
      S.SelTextBack = colour;
      S.SystemColorMarkers[2] = systemDefault;
      break;
    default:
      S.GutterColor = colour;
      S.SystemColorMarkers[3] = systemDefault;
      break;
    }
    break;
  }
  case symRightMargin:
    Next();
    S.RightMargin = EqualsExpression();
    break;
  case symFontName:
    Next();
    S.FontName = EqualsText(false);
    break;
  case symFontSize:
    Next();
    S.FontSize = EqualsExpression();
    break;
  case symFontCharset:
    Next();
    Expect(symEquals, "'=' expected");
    S.FontCharSet = static_cast<uint8_t>(RangeExpression(0, 255));
    break;
  case symTabColumns:
    Next();
    ParseTabColumns(EqualsText(true), S.TabColumns);
    break;
  case symTabDefault:
    Next();
    S.TabDefault = EqualsExpression();
    break;
  case symContextStates:
    Next();
    ContextStates();
    break;
  case symBoundStates:
    Next();
    Expect(symEquals, "'=' expected");
    P.FBoundStates = States();
    break;
  case symMarginWidth:
    Next();
    S.MarginWidth = EqualsExpression();
    break;
  case symGutterFontName:
    Next();
    S.GutterFont.Name = EqualsText(false);
    break;
  case symGutterFontSize:
    Next();
    S.GutterFont.Size = EqualsExpression();
    break;
  case symGutterFontColor:
    Next();
    S.GutterFont.Color = static_cast<TColor>(EqualsExpression());
    break;
  case symGutterFontStyle:
    // The list may follow the keyword directly or after "=".
    Next();
    if (Tok == symEquals) Next();
    S.GutterFont.Style = FontStyle(false);
    break;
  default:
    return false;
  }
  return true;
}

void TRuleCompiler::EditableStyles() {
  int slot = 1;
  for (;;) {
    Expect(symLParen, "'(' expected");
    String name = Text(false);
    if (Tok == symComma) Next();
    int32_t style = Expression();
    if (style < 0 || style > 255) L.ScriptError("Value must be 0..255");
    Expect(symRParen, "')' expected");
    while (slot <= 50 && !S.GetEditableStyle(slot).Name.empty())
      ++slot;
    if (slot > 50) L.ScriptError("Too many editable styles");
    S.SetEditableStyle(slot, TSM_EditableStyle{name.substr(0, 25), static_cast<uint8_t>(style)});
    if (Tok != symComma) return;
    Next();
  }
}

void TRuleCompiler::ContextStates() {
  Expect(symEquals, "'=' expected");
  for (;;) {
    Expect(symLParen, "'(' expected");
    std::vector<uint8_t> tokens;
    do {
      tokens.push_back(static_cast<uint8_t>(RangeExpression(0, 255)));
      if (Tok == symComma) Next();
    } while (AtExpression());
    TStateSet states;
    if (Tok == symLBracket) states = Set();
    Expect(symRParen, "')' expected");
    for (uint8_t t : tokens) {
      if (P.FContextStates[t].any()) PlainError(Format("Token value %d re-specified in ContextState", t));
      P.FContextStates[t] = states;
    }
    if (Tok != symComma) break;
    Next();
  }
  for (auto& context : P.FContextStates)
    if (context.none()) context = P.FStartStates;
}

// --- %%effects, %%map, %%kwTables --------------------------------------------

void TRuleCompiler::Effects() {
  while (AtExpression()) {
    uint8_t value = static_cast<uint8_t>(RangeExpression(0, 255));
    TSM_StyleRecord style;
    style.FontStyle = FontStyle(true);
    style.Foreground = static_cast<TColor>(Expression());
    if (Tok == symStar) {
      style.SysForeground = true;
      Next();
    }
    style.Background = static_cast<TColor>(Expression());
    if (Tok == symStar) {
      style.SysBackground = true;
      Next();
    }
    if (Tok == symString && SameText(L.ProcessString(), "hotspot")) {
      style.Hotspot = true;
      Next();
    }
    if (value != 0 && S.GetStyle(value).Defined) L.ScriptError("Duplicate %%effect entry");
    style.Defined = 1;
    S.SetStyle(value, style);
  }
}

void TRuleCompiler::Map() {
  while (AtExpression()) {
    uint8_t token = static_cast<uint8_t>(RangeExpression(0, 255));
    uint8_t style = static_cast<uint8_t>(RangeExpression(0, 255));
    S.SetTokenStyle(token, style);
  }
}

void TRuleCompiler::KwTables() {
  while (Tok == symForState) {
    Next();
    if (Tok != symLBracket) L.ScriptError("'[' expected");
    TStateSet states = Set();
    if (states.none()) states.set(0);
    if (Tok != symEndsWith) L.ScriptError("'[' expected");
    Next();
    String endGroup = Text(true);
    Expect(symLParen, "'(' expected");
    std::vector<TKeywordWord> words;
    while (AtExpression()) {
      int32_t token = Expression();
      if (Tok != symIs) L.ScriptError("String value expected");
      Next();
      for (;;) {
        words.push_back(TKeywordWord{Text(true), token});
        if (Tok != symComma) break;
        Next();
      }
    }
    Expect(symRParen, "')' expected");
    S.AddKeywordTable(states, endGroup, P.FCaseSensitive ? 1 : 0, words);
  }
}

// --- %%keys, %%autoreplace, %%templates --------------------------------------

uint16_t TRuleCompiler::Modifiers() {
  uint16_t shift = 0;
  if (Tok != symLBracket) return 0;
  Next();
  while (Tok == symShift || Tok == symCtrl || Tok == symAlt || Tok == symComma) {
    if (Tok == symShift) shift |= scShift;
    if (Tok == symCtrl) shift |= scCtrl;
    if (Tok == symAlt) shift |= scAlt;
    Next();
  }
  Expect(symRBracket, "']' expected");
  return shift;
}

uint16_t TRuleCompiler::Key() {
  if (Tok == symString) {
    String s = L.ProcessString();
    if (s.size() != 1) L.ScriptError("Single character specifier expected");
    Next();
    return static_cast<uint8_t>(ToUpperAscii(s[0]));
  }
  if (!AtExpression()) L.ScriptError("Key specification required");
  return static_cast<uint16_t>(RangeExpression(0, 255));
}

void TRuleCompiler::KeySequence(int command) {
  uint16_t shift = Modifiers();
  TShortCut first = static_cast<TShortCut>(Key() | shift), second = 0;
  if (Tok == symComma) {
    Next();
    second = Key();
  }
  S.GetKeyController().AddBinding(first, second, command);
}

void TRuleCompiler::Keys() {
  TKeyboardActionContoller& keys = S.GetKeyController();
  keys.ClearAll();
  while (AtExpression()) {
    int command = Expression();
    if (Tok == symLParen) {
      Next();
      KeySequence(command);
      while (Tok == symBar) {
        Next();
        KeySequence(command);
      }
      Expect(symRParen, "')' expected");
    }
    if (Tok == symString) {
      String name = Text(false);
      if (name.empty()) L.ScriptError("Key function name cannot be blank");
      keys.SetCommandName(command, name);
    }
  }
}

void TRuleCompiler::AutoReplace() {
  TAutoReplace& list = S.GetAutoReplace();
  list.ClearEntries();
  for (;;) {
    if (Tok == symActionKeys) {
      Next();
      list.SetActionKeys(EqualsText(true));
    } else if (Tok == symString) {
      String word = Text(false);
      list.AddReplacement(word, EqualsText(false));
    } else {
      return;
    }
  }
}

void TRuleCompiler::Templates() {
  TCodeTemplates& templates = S.GetCodeTemplates();
  templates.ClearAll();
  for (;;) {
    if (Tok == symHotKey) {
      Next();
      Expect(symEquals, "'=' expected");
      Expect(symLParen, "'(' expected");
      uint16_t shift = Modifiers();
      templates.TriggerKey = static_cast<TShortCut>(Key() | shift);
      Expect(symRParen, "')' expected");
    } else if (Tok == symString) {
      String name = Text(false), description;
      if (Tok == symLParen) {
        Next();
        description = Text(false);
        Expect(symRParen, "')' expected");
      }
      templates.AddTemplate(name, description, EqualsText(false));
    } else {
      return;
    }
  }
}

// --- Token sections ----------------------------------------------------------

TSM_CharGroup TRuleCompiler::OneGroup(const String& spec) {
  TSM_CharGroup g;
  int pos = 1;
  try {
    ParseCharGroup(spec, pos, g);
  } catch (const Exception& e) {
    L.ScriptError(e.Message);
  }
  if (pos <= static_cast<int>(spec.size())) L.ScriptError("Single character specifier expected");
  return g;
}

TEndPart TRuleCompiler::GroupSequence(const String& spec) {
  TEndPart end;
  int pos = 1;
  while (pos <= static_cast<int>(spec.size())) {
    if (end.GroupCount == 4) L.ScriptError("Maximum of 4 character specifier allowed");
    TSM_CharGroup g;
    try {
      ParseCharGroup(spec, pos, g);
    } catch (const Exception& e) {
      L.ScriptError(e.Message);
    }
    end.Groups[end.GroupCount++] = Intern(g);
  }
  return end;
}

TEffectRecord& TRuleCompiler::Effect(uint8_t token, const TStateSet& validIfNew) {
  auto& e = P.FEffectRecords[token];
  if (!e) {
    e = std::make_unique<TEffectRecord>();
    e->ValidStates = validIfNew;
  }
  return *e;
}

void TRuleCompiler::CustomPart(bool& isCustom, uint32_t& id) {
  Next();
  Expect(symLParen, "'(' expected");
  id = static_cast<uint32_t>(Expression());
  Expect(symRParen, "')' expected");
  isCustom = true;
  P.FUsesCustomHandlers = true;
}

// A body: "match" (id), a group text, or a built-in handler id.
void TRuleCompiler::Body(TScanPart& body) {
  if (Tok == symMatch) {
    body.IsHandler = true;
    CustomPart(body.IsCustom, body.HandlerId);
  } else if (Tok == symString) {
    body.GroupId = Intern(OneGroup(Text(true)));
  } else {
    body.IsHandler = true;
    body.HandlerId = static_cast<uint32_t>(Expression());
  }
}

void TRuleCompiler::Words() {
  TStateSet zero;
  zero.set(0);
  while (Tok == symString) {
    String word = Text(false);
    if (Tok != symString) L.ScriptError("String value expected");
    TSM_CharGroup group = OneGroup(Text(true));
    int32_t token = RangeExpression(0, 255);
    TStateSet states = zero;
    if (Tok == symLBracket) states = Set();
    try {
      P.FKeywords->AddWord(word, P.FCaseSensitive ? 1 : 0, token, states, group);
    } catch (const Exception&) {
      L.ScriptError("Duplicate entry in %%word table");
    }
    TEffectRecord& e = Effect(static_cast<uint8_t>(token), zero);
    e.ValidStates |= states;
  }
}

void TRuleCompiler::Handlers() {
  while (AtExpression()) {
    uint8_t token = static_cast<uint8_t>(RangeExpression(0, 255));
    auto h = std::make_unique<THandlerRecord>();
    Body(h->Body);
    if (!h->Body.IsCustom) {
      if (Tok == symStar) {
        h->Body.ZeroOrMore = true;
        Next();
      }
      if (Tok == symMatch) {
        h->End.IsHandler = true;
        CustomPart(h->End.IsCustom, h->End.HandlerId);
        h->End.Consume = Expression() != 0;
      } else if (Tok == symString) {
        h->End = GroupSequence(Text(true));
        h->End.Consume = Expression() != 0;
      }
    }
    if (P.FHandlerRecords[token]) L.ScriptError("Duplicate entry in %%handler table");
    P.FHandlerRecords[token] = std::move(h);
  }
}

void TRuleCompiler::Tokens() {
  for (;;) {
    if (Tok == symInState) {
      Next();
      uint8_t state = static_cast<uint8_t>(RangeExpression(0, 255));
      auto& map = P.FStateMaps[state];
      if (!map) map = std::make_unique<TCharacterMap>();
      P.FMapStates.set(state);
      TStateSet states;
      states.set(state);
      Expect(symLParen, "'(' expected");
      while (AtExpression())
        TokenEntry(*map, states);
      Expect(symRParen, "')' expected");
    } else if (AtExpression()) {
      TStateSet zero;
      zero.set(0);
      TokenEntry(P.FDefaultMap, zero);
    } else {
      return;
    }
  }
}

void TRuleCompiler::TokenEntry(TCharacterMap& map, const TStateSet& states) {
  TTokenRecord r;
  r.Token = static_cast<uint8_t>(RangeExpression(0, 255));
  TSM_CharGroup start;
  if (Tok == symString) {
    start = OneGroup(Text(true));
    r.Start.GroupId = Intern(start);
    Body(r.Body);
    if (!r.Body.IsCustom) {
      if (Tok == symStar) {
        r.Body.ZeroOrMore = true;
        Next();
      }
      if (Tok == symMatch) {
        r.End.IsHandler = true;
        CustomPart(r.End.IsCustom, r.End.HandlerId);
      } else if (Tok == symString) {
        r.End = GroupSequence(Text(true));
      } else {
        r.End.IsHandler = true;
        r.End.HandlerId = static_cast<uint32_t>(Expression());
      }
      r.End.Consume = Expression() != 0;
    }
  } else {
    int32_t id = Expression();
    if (id < static_cast<int32_t>(hiIdentifier) || id > static_cast<int32_t>(hiCStringSQ))
      L.ScriptError("Script syntax error");
    r.Start.IsHandler = true;
    r.Start.HandlerId = static_cast<uint32_t>(id);
    start.AddSet(HandlerStartChars(r.Start.HandlerId));
  }
  r.States = states;
  if (Tok == symLBracket) r.States |= Set();
  TEffectRecord& e = Effect(r.Token, r.States);
  e.ValidStates |= r.States;
  for (int c = 0; c < 256; ++c) {
    if (!start.Contains(static_cast<uint8_t>(c))) continue;
    auto& entry = map.Entries[static_cast<size_t>(c)];
    if (entry) L.ScriptError("Ambigious start set in %%token table");
    entry = std::make_unique<TTokenRecord>(r);
  }
}

void TRuleCompiler::StateChanges(bool container) {
  TStateSet zero;
  zero.set(0);
  while (AtExpression()) {
    uint8_t token = static_cast<uint8_t>(RangeExpression(0, 255));
    uint8_t flags = 0;
    if (!container && (Tok == symPush || Tok == symPop)) {
      flags = Tok == symPush ? sfPushBefore : sfPopBefore;
      Next();
    }
    Expect(symLParen, "'(' expected");
    while (Tok == symPlus || Tok == symMinus) {
      bool add = Tok == symPlus;
      Next();
      TEffectRecord& e = Effect(token, zero);
      (add ? e.AddStates : e.RemoveStates) |= States();
    }
    Expect(symRParen, "')' expected");
    TEffectRecord& e = Effect(token, zero);
    if (!container && (Tok == symPush || Tok == symPop)) {
      flags = Tok == symPush ? sfPushAfter : sfPopAfter;
      Next();
      if (flags == sfPopAfter) {
        e.AddStates.reset();
        e.RemoveStates.reset();
      }
    }
    e.NoStateChange = e.AddStates.none() && e.RemoveStates.none();
    if (container)
      e.IsContainer = true;
    else
      e.StackFlags = flags;
  }
}
