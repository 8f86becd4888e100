#include "SyntaxEd_templates.h"

#include "SyntaxEd_stream.h"
#include "SyntaxEd_streamio.h"

#include <algorithm>
#include <cctype>

namespace {

// Text in the rows' line-end form, up to its first zero as the stored
// records keep it.
String ConvertText(const String& text) {
  String out(text.size() + 1, '\0');
  const int n = ConvertInsertText(out.data(), text.data(), static_cast<int>(text.size()));
  out.resize(static_cast<size_t>(n));
  return out.substr(0, out.find('\0'));
}

// Any character may stand before a name.
const TSM_CharGroup& AnyCharacter() {
  static const TSM_CharGroup group = [] {
    TSM_CharGroup g;
    g.SetNegated(true);
    return g;
  }();
  return group;
}

TStateSet StateZero() {
  TStateSet s;
  s.set(0);
  return s;
}

bool NameLess(const TMacroKeywords::TMacroEntry& e, const String& name) {
  return CompareText(e.Name, name) < 0;
}

} // namespace

// ---- TMacroKeywords

TMacroKeywords::TMacroKeywords() {
  ActiveStates = StateZero();
}

TMacroKeywords::~TMacroKeywords() = default;

void TMacroKeywords::ClearAll() {
  Clear();
  FEntries.clear();
}

void TMacroKeywords::AddToTree(const TMacroEntry& entry) {
  AddWord(ReverseString(entry.Name), 0, entry.Id, StateZero(), AnyCharacter());
}

void TMacroKeywords::RebuildTree() {
  Clear();
  for (const TMacroEntry& e : FEntries)
    AddToTree(e);
}

const TMacroKeywords::TMacroEntry* TMacroKeywords::FindEntry(const String& name) const {
  const auto it = std::lower_bound(FEntries.begin(), FEntries.end(), name, NameLess);
  return it != FEntries.end() && SameText(it->Name, name) ? &*it : nullptr;
}

const TMacroKeywords::TMacroEntry* TMacroKeywords::EntryById(int32_t id) const {
  const auto it =
      std::find_if(FEntries.begin(), FEntries.end(), [id](const TMacroEntry& e) { return e.Id == id; });
  return it != FEntries.end() ? &*it : nullptr;
}

void TMacroKeywords::DeleteEntry(const String& name) {
  const auto it = std::lower_bound(FEntries.begin(), FEntries.end(), name, NameLess);
  if (it == FEntries.end() || !SameText(it->Name, name)) return;
  FEntries.erase(it);
  RebuildTree();
}

void TMacroKeywords::AddMacro(const String& name, const String& description, uint8_t caseFlag,
                              const String& expansion) {
  TMacroEntry entry;
  entry.Name = caseFlag == 0 ? LowerCase(name) : name;
  if (FindEntry(entry.Name))
    throw EKeywords(Format("Duplicate keyword - '%s'", ReverseString(LowerCase(entry.Name))));
  entry.Description = description.substr(0, description.find('\0'));
  entry.Expansion = ConvertText(expansion);
  entry.Id = FNextId++;
  AddToTree(entry);
  const auto at = std::lower_bound(FEntries.begin(), FEntries.end(), entry.Name, NameLess);
  FEntries.insert(at, std::move(entry));
}

bool TMacroKeywords::IsTriggerKey(uint16_t key, TKeyShift shift) const {
  return Enabled && MakeShortCut(key, shift) == TriggerKey;
}

bool TMacroKeywords::HandleTriggerKey(TEdStream* caret, uint16_t key, TKeyShift shift, bool& keyHandled,
                                      const TCharTest& charIsInWord, const TCharTest& charStartsWord) {
  FSelectionWord.clear();
  keyHandled = false;
  if (!IsTriggerKey(key, shift) || !caret || !caret->GetRow()) return false;
  const int c = caret->CurrentPos();
  // Nothing stands before a caret at the start of the text.
  if (c == 0) return false;
  const auto isWordChar = [&](char ch) { return charIsInWord(ch) || charStartsWord(ch); };
  caret->StepBack();
  int startOffset = 0, startPosition = 0, length = 0;
  const TKeywordEntry* match = MatchWord(*caret, false, false, startOffset, startPosition, length);
  if (!match) {
    caret->MoveTo(c);
    if (isWordChar(caret->CurrentChar())) return false;
    String collected;
    for (int pos = c; pos > 0; --pos) {
      caret->StepBack();
      if (!isWordChar(caret->CurrentChar())) break;
      collected += caret->CurrentChar();
    }
    // Collected from the caret backwards; reversed it reads as typed.
    std::reverse(collected.begin(), collected.end());
    FSelectionWord = LowerCase(collected);
    return false;
  }
  if (!OnFire) return false;
  String name;
  caret->MoveTo(c - length);
  for (int i = 0; i < length; ++i, caret->Advance())
    name += caret->CurrentChar();
  const TMacroEntry* entry = EntryById(match->Value);
  String replacement = entry ? entry->Expansion : String();
  OnFire(this, name, replacement);
  keyHandled = KeyHandled;
  return true;
}

// ---- TCodeTemplates

void TCodeTemplates::Assign(const TSM_Base& source) {
  if (!dynamic_cast<const TCodeTemplates*>(&source))
    throw Exception(Format("Cannot assign %s to %s", source.ClassName(), ClassName()));
  TSM_Base::Assign(source);
}

void TCodeTemplates::AddTemplate(const String& name, const String& description, const String& expansion) {
  DeleteTemplate(name);
  AddMacro(name, description, 0, expansion);
}

void TCodeTemplates::DeleteTemplate(const String& name) {
  DeleteEntry(LowerCase(name));
}

bool TCodeTemplates::FindTemplate(const String& name, String& expansion) const {
  const TMacroEntry* entry = FindEntry(name);
  if (!entry) return false;
  expansion = entry->Expansion;
  return true;
}

void TCodeTemplates::SaveToStream(TStream& stream) const {
  WriteInt(stream, static_cast<int32_t>(GetEntries().size()));
  for (const TMacroEntry& e : GetEntries()) {
    WriteShortString(stream, e.Name);
    WriteShortString(stream, e.Description);
    WriteLongString(stream, e.Expansion);
  }
  WriteLongString(stream, ShortCutName(TriggerKey));
  WriteInt(stream, Enabled ? 1 : 0);
}

void TCodeTemplates::LoadFromStream(TStream& stream) {
  ClearAll();
  const int count = ReadInt(stream);
  for (int i = 0; i < count; ++i) {
    const String name = ReadShortString(stream);
    const String description = ReadShortString(stream);
    AddMacro(name, description, 0, ReadLongString(stream));
  }
  TriggerKey = ParseShortCutName(ReadLongString(stream));
  Enabled = ReadInt(stream) != 0;
}

// ---- TAutoReplace

TAutoReplace::TAutoReplace() {
  KeyHandled = false;
  IndentExpansion = false;
  CaretMarker = false;
  ShowPopup = false;
  SetActionKeys(DefaultActionKeys);
}

uint16_t KeyCode(uint16_t key, TKeyShift shift) {
  if (key & 0xFF00) return 0;
  uint16_t code = key;
  if (shift & ksShift) code += 0x100;
  if (shift & ksCtrl) code += 0x200;
  if (shift & ksAlt) code += 0x400;
  return code;
}

void TAutoReplace::SetActionKeys(const String& text) {
  std::vector<uint16_t> codes;
  for (size_t i = 0; i < text.size(); ++i) {
    uint16_t code;
    const char ch = text[i];
    if (ch != '\\' || i + 1 == text.size()) {
      code = static_cast<uint16_t>(CharVkKeyScan(ch));
    } else {
      const char d = text[++i];
      if (d == 'n' || d == 'N' || d == 'r' || d == 'R') {
        code = 13;
      } else if (d == 's') {
        code = 32;
      } else if (d == 't') {
        code = 9;
      } else if (d == '{') {
        const size_t close = text.find('}', i);
        if (close == String::npos) throw ESyntaxMemo("Bad key specifier");
        String name;
        for (size_t j = i + 1; j < close; ++j)
          if (std::isalnum(static_cast<unsigned char>(text[j]))) name += ToLowerAscii(text[j]);
        uint16_t virtualKey = 0;
        code = FindKeyName(name, virtualKey) ? KeyCode(virtualKey, 0) : 0;
        i = close;
      } else {
        code = static_cast<uint16_t>(CharVkKeyScan(d) & 0xFF);
      }
    }
    if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
  }
  FActionKeyCodes = std::move(codes);
  FActionKeys = text;
}

bool TAutoReplace::IsTriggerKey(uint16_t key, TKeyShift shift) const {
  if (!Enabled || FActionKeys.empty()) return false;
  const uint16_t code = KeyCode(key, shift);
  return std::find(FActionKeyCodes.begin(), FActionKeyCodes.end(), code) != FActionKeyCodes.end();
}

void TAutoReplace::ClearEntries() {
  ClearAll();
  SetActionKeys(DefaultActionKeys);
}

void TAutoReplace::SaveToStream(TStream& stream) const {
  TCodeTemplates::SaveToStream(stream);
  WriteShortString(stream, FActionKeys);
}

void TAutoReplace::LoadFromStream(TStream& stream) {
  TCodeTemplates::LoadFromStream(stream);
  SetActionKeys(ReadShortString(stream));
}

// ---- Expansion

bool CanAutoReplace(TEdStream& stream, int caret, const String& name, const String& replacement,
                    const TCharTest& charIsInWord, const TCharTest& charStartsWord) {
  const int start = caret - static_cast<int>(name.size());
  if (name.empty() || start < 0) return true;
  if (charIsInWord(name.back())) {
    stream.MoveTo(caret);
    if (charIsInWord(stream.CurrentChar())) return false;
  }
  if (start == 0 || replacement.empty() || !charStartsWord(replacement[0])) return true;
  stream.MoveTo(start - 1);
  return !charIsInWord(stream.CurrentChar());
}

String PrepareExpansion(const String& replacement, int indent, bool caretMarker, int& markerOffset) {
  String indented;
  const String spaces(static_cast<size_t>(std::max(indent, 0)), ' ');
  for (size_t i = 0; i < replacement.size(); ++i) {
    indented += replacement[i];
    if (replacement[i] != '\r') continue;
    if (i + 1 < replacement.size() && replacement[i + 1] == '\n') indented += replacement[++i];
    indented += spaces;
  }
  String text = ConvertText(indented);
  markerOffset = -1;
  if (caretMarker) {
    const size_t bar = text.find('|');
    if (bar != String::npos) {
      markerOffset = static_cast<int>(bar);
      text.erase(bar, 1);
    }
  }
  return text;
}
