#include "SyntaxEd_keys.h"

#include "SyntaxEd_streamio.h"

#include <algorithm>
#include <iterator>
#include <utility>

// ---- Shortcut words

TShortCut MakeShortCut(uint16_t key, TKeyShift shift) {
  if (key & 0xFF00) return 0;
  TShortCut result = key;
  if (shift & ksShift) result |= scShift;
  if (shift & ksCtrl) result |= scCtrl;
  if (shift & ksAlt) result |= scAlt;
  return result;
}

void SplitShortCut(TShortCut shortCut, uint16_t& key, TKeyShift& shift) {
  key = shortCut & 0xFF;
  shift = 0;
  if (shortCut & scShift) shift |= ksShift;
  if (shortCut & scCtrl) shift |= ksCtrl;
  if (shortCut & scAlt) shift |= ksAlt;
}

String SystemKeyName(TShortCut shortCut);
int16_t SystemVkKeyScan(char ch);

static TKeyNameFunc keyNameFunc = nullptr;
static TVkKeyScanFunc vkKeyScanFunc = nullptr;

void SetKeyNameFunc(TKeyNameFunc func) {
  keyNameFunc = func;
}
void SetVkKeyScanFunc(TVkKeyScanFunc func) {
  vkKeyScanFunc = func;
}

int16_t CharVkKeyScan(char ch) {
  return vkKeyScanFunc ? vkKeyScanFunc(ch) : SystemVkKeyScan(ch);
}

static String KeyName(uint8_t key, TShortCut shortCut) {
  static const char* const kSpaceToDown[] = {"Space", "PgUp", "PgDn",  "End", "Home",
                                             "Left",  "Up",   "Right", "Down"};
  if (key == 0x08) return "BkSp";
  if (key == 0x09) return "Tab";
  if (key == 0x0D) return "Enter";
  if (key == 0x1B) return "Esc";
  if (key >= 0x20 && key <= 0x28) return kSpaceToDown[key - 0x20];
  if (key == 0x2D) return "Ins";
  if (key == 0x2E) return "Del";
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<char>(key));
  if (key >= 0x60 && key <= 0x69) return String(1, static_cast<char>('0' + key - 0x60));
  if (key >= 0x70 && key <= 0x87) return String("F").append(IntToStr(key - 0x6F));
  return keyNameFunc ? keyNameFunc(shortCut) : SystemKeyName(shortCut);
}

String ShortCutName(TShortCut shortCut) {
  const String name = KeyName(static_cast<uint8_t>(shortCut & 0xFF), shortCut);
  if (name.empty()) return String();
  String result;
  if (shortCut & scShift) result += "Shift+";
  if (shortCut & scCtrl) result += "Ctrl+";
  if (shortCut & scAlt) result += "Alt+";
  return result + name;
}

// Takes a modifier prefix off the front of text, ignoring letter case.
static bool TakePrefix(String& text, const String& prefix) {
  if (text.size() < prefix.size() || !SameText(text.substr(0, prefix.size()), prefix)) return false;
  text.erase(0, prefix.size());
  return true;
}

TShortCut ParseShortCutName(const String& text) {
  String rest = text;
  TShortCut shift = 0;
  for (;;) {
    if (TakePrefix(rest, "Shift+"))
      shift |= scShift;
    else if (TakePrefix(rest, "Ctrl+"))
      shift |= scCtrl;
    else if (TakePrefix(rest, "Alt+"))
      shift |= scAlt;
    else
      break;
  }
  if (rest.empty()) return 0;
  for (uint16_t key = 0x08; key <= 0xFF; ++key)
    if (SameText(rest, ShortCutName(key))) return static_cast<TShortCut>(key | shift);
  return 0;
}

int16_t UsLayoutVkKeyScan(char ch) {
  static const char kUnshifted[] = ";=,-./`[\\]'";
  static const char kShifted[] = ":+<_>?~{|}\"";
  static const uint8_t kOemKeys[] = {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
  static const char kShiftedDigits[] = ")!@#$%^&*(";
  const auto c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 32);
  if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(0x100 | c);
  if (c >= '0' && c <= '9') return static_cast<int16_t>(c);
  if (c == ' ' || c == '\t' || c == '\r' || c == '\b' || c == 27) return static_cast<int16_t>(c);
  for (int i = 0; kUnshifted[i]; ++i) {
    if (ch == kUnshifted[i]) return kOemKeys[i];
    if (ch == kShifted[i]) return static_cast<int16_t>(0x100 | kOemKeys[i]);
  }
  for (int i = 0; kShiftedDigits[i]; ++i)
    if (ch == kShiftedDigits[i]) return static_cast<int16_t>(0x100 | ('0' + i));
  return -1;
}

bool FindKeyName(const String& name, uint16_t& virtualKey) {
  struct KeyNameEntry {
    const char* name;
    uint16_t key;
  };
  // Sorted by name, as the editor keeps its list.
  static const KeyNameEntry kKeyNames[] = {
      {"backspace", 8}, {"delete", 46},   {"down", 40},   {"end", 35},    {"f1", 112},   {"f10", 121},
      {"f11", 122},     {"f12", 123},     {"f2", 113},    {"f3", 114},    {"f4", 115},   {"f5", 116},
      {"f6", 117},      {"f7", 118},      {"f8", 119},    {"f9", 120},    {"home", 36},  {"insert", 45},
      {"left", 37},     {"pagedown", 34}, {"pageup", 33}, {"return", 13}, {"right", 39}, {"space", 32},
      {"tab", 9},       {"up", 38}};
  const auto it =
      std::lower_bound(std::begin(kKeyNames), std::end(kKeyNames), name,
                       [](const KeyNameEntry& e, const String& n) { return n.compare(e.name) > 0; });
  if (it == std::end(kKeyNames) || name != it->name) return false;
  virtualKey = it->key;
  return true;
}

// ---- Key store

TKeyStore::TKeyStore(TKeyboardActionContoller* owner) : FOwner(owner) {}

TKeyStore::~TKeyStore() = default;

void TKeyStore::ClearBindings() {
  FNodes.clear();
  FFirstLevel = nullptr;
  FCurrentLevel = nullptr;
}

TKeyStore::TKeyNode* TKeyStore::NewNode(TShortCut key, TKeyNode* parent, bool terminal) {
  FNodes.push_back(std::make_unique<TKeyNode>());
  TKeyNode* node = FNodes.back().get();
  node->Key = key;
  node->Parent = parent;
  node->EndsBinding = terminal;
  return node;
}

void TKeyStore::RaiseAmbiguous(int newAction, int oldAction) const {
  const String newName = FOwner ? FOwner->CommandName(newAction) : String();
  const String oldName = FOwner ? FOwner->CommandName(oldAction) : String();
  throw EAmbigiousKeyPair(
      Format("Duplicate key sequence definition for\r\n\"%s\" and \"%s\"", newName, oldName));
}

TKeyStore::TKeyNode* TKeyStore::FindOrAddKey(TKeyNode*& list, TShortCut key, int action, bool terminal,
                                             TKeyNode* parent) {
  if (!list) {
    list = NewNode(key, parent, terminal);
    return list;
  }
  TKeyNode* node = list;
  while (node->Key != key && node->Next)
    node = node->Next;
  if (node->Key != key) {
    node->Next = NewNode(key, parent, false);
    node = node->Next;
  } else if (node->SecondLevel && terminal) {
    // A key cannot be a binding of its own and the start of a sequence.
    RaiseAmbiguous(action, node->SecondLevel->Action);
  }
  node->EndsBinding = node->EndsBinding || terminal;
  return node;
}

void TKeyStore::AddBinding(TShortCut firstKey, TShortCut secondKey, int action) {
  const uint16_t secondVirtualKey = secondKey & 0xFF;
  TKeyNode* node = FindOrAddKey(FFirstLevel, firstKey, action, secondVirtualKey == 0, nullptr);
  if (secondVirtualKey != 0 && node->Action == -1)
    node = FindOrAddKey(node->SecondLevel, secondVirtualKey, action, true, node);
  if (node->Action != -1) RaiseAmbiguous(action, node->Action);
  node->Action = action;
}

TKeyStore::TKeyResult TKeyStore::ProcessKey(TShortCut key) {
  TKeyNode* level = FCurrentLevel ? FCurrentLevel : FFirstLevel;
  if (level && level->Parent) key &= 0xFF;
  while (level && level->Key != key)
    level = level->Next;
  if (!level) {
    FCurrentLevel = nullptr;
    return krNoBinding;
  }
  if (level->SecondLevel) {
    FCurrentLevel = level->SecondLevel;
    return krSequenceStarted;
  }
  FMatchedAction = level->Action;
  FCurrentLevel = nullptr;
  return krBindingDone;
}

template <typename Visit> void TKeyStore::Walk(Visit visit) const {
  std::vector<const TKeyNode*> pending{FFirstLevel};
  int step = -1;
  while (!pending.empty()) {
    const TKeyNode* node = pending.back();
    pending.pop_back();
    ++step;
    if (!node) continue;
    if (!visit(*node, step)) return;
    pending.push_back(node->SecondLevel);
    pending.push_back(node->Next);
  }
}

bool TKeyStore::FindKeys(int action, TShortCut& firstKey, TShortCut& secondKey) {
  firstKey = 0;
  secondKey = 0;
  bool found = false;
  Walk([&](const TKeyNode& node, int step) {
    if (!node.EndsBinding || node.Action != action || step <= FSearchResume) return true;
    FSearchResume = step;
    firstKey = node.Parent ? node.Parent->Key : node.Key;
    secondKey = node.Parent ? node.Key : 0;
    found = true;
    return false;
  });
  return found;
}

bool TKeyStore::FindFirstKeys(int action, TShortCut& firstKey, TShortCut& secondKey) {
  FSearchResume = -1;
  return FindKeys(action, firstKey, secondKey);
}

bool TKeyStore::FindNextKeys(int action, TShortCut& firstKey, TShortCut& secondKey) {
  return FindKeys(action, firstKey, secondKey);
}

int TKeyStore::CountBindings() const {
  int count = 0;
  Walk([&](const TKeyNode& node, int) {
    if (node.EndsBinding) ++count;
    return true;
  });
  return count;
}

// Bindings go out in list order, each key's sequences right after it: read
// back, they rebuild the same lists, so a stored language that is read and
// written again comes out byte for byte the same.
void TKeyStore::SaveToStream(TStream& stream) const {
  WriteInt(stream, CountBindings());
  auto write = [&](TShortCut firstKey, TShortCut secondKey, int action) {
    WriteWord(stream, firstKey);
    WriteWord(stream, secondKey);
    WriteInt(stream, action);
  };
  for (const TKeyNode* node = FFirstLevel; node; node = node->Next) {
    if (node->EndsBinding) write(node->Key, 0, node->Action);
    for (const TKeyNode* second = node->SecondLevel; second; second = second->Next)
      if (second->EndsBinding) write(node->Key, second->Key, second->Action);
  }
}

void TKeyStore::LoadFromStream(TStream& stream) {
  ClearBindings();
  const int count = ReadInt(stream);
  for (int i = 0; i < count; ++i) {
    const TShortCut firstKey = ReadWord(stream);
    const TShortCut secondKey = ReadWord(stream);
    AddBinding(firstKey, secondKey, ReadInt(stream));
  }
}

// ---- Keyboard action controller

TKeyboardActionContoller::TKeyboardActionContoller() : FKeyStore(std::make_unique<TKeyStore>(this)) {}

TKeyboardActionContoller::~TKeyboardActionContoller() = default;

void TKeyboardActionContoller::ClearAll() {
  FKeyStore = std::make_unique<TKeyStore>(this);
  FCommandNames.clear();
}

void TKeyboardActionContoller::Assign(const TSM_Base& source) {
  if (!dynamic_cast<const TKeyboardActionContoller*>(&source))
    throw Exception(Format("Cannot assign a %s to a %s", source.ClassName(), ClassName()));
  TSM_Base::Assign(source);
}

void TKeyboardActionContoller::SetCommandName(int action, const String& name) {
  const auto last = std::find_if(FCommandNames.rbegin(), FCommandNames.rend(),
                                 [action](const TCommandName& c) { return c.Action == action; });
  if (last != FCommandNames.rend()) FCommandNames.erase(std::next(last).base());
  FCommandNames.push_back({name, action});
}

String TKeyboardActionContoller::CommandName(int action) const {
  const auto last = std::find_if(FCommandNames.rbegin(), FCommandNames.rend(),
                                 [action](const TCommandName& c) { return c.Action == action; });
  return last != FCommandNames.rend() ? last->Name : String();
}

void TKeyboardActionContoller::HandleKey(uint16_t& key, TKeyShift& shift, bool& handled) {
  handled = false;
  const TKeyStore::TKeyResult r = FKeyStore->ProcessKey(MakeShortCut(key, shift));
  if (r == TKeyStore::krNoBinding) {
    FKeyStore->ResetSequence();
    return;
  }
  handled = true;
  key = 0;
  shift = 0;
  if (r == TKeyStore::krSequenceStarted) return;
  int action = FKeyStore->GetMatchedAction();
  if (OnAction) OnAction(this, action);
  FKeyStore->ResetSequence();
}

void TKeyboardActionContoller::SaveToStream(TStream& stream) const {
  WriteInt(stream, static_cast<int32_t>(FCommandNames.size()));
  for (const TCommandName& c : FCommandNames) {
    WriteInt(stream, c.Action);
    WriteShortString(stream, c.Name);
  }
  FKeyStore->SaveToStream(stream);
}

void TKeyboardActionContoller::LoadFromStream(TStream& stream) {
  FCommandNames.clear();
  const int count = ReadInt(stream);
  for (int i = 0; i < count; ++i) {
    const int action = ReadInt(stream);
    FCommandNames.push_back({ReadShortString(stream), action});
  }
  FKeyStore->LoadFromStream(stream);
  FKeyStore->ResetSequence();
}

// ---- The default key map

static void AddDefaultBindings(TKeyboardActionContoller& c) {
  static const char* const kNames[48] = {"Cursor left",
                                         "Cursor right",
                                         "Line start",
                                         "Line end",
                                         "Up one line",
                                         "Down one line",
                                         "Up one page",
                                         "Down one page",
                                         "Move to word before",
                                         "Move to word after",
                                         "Document start",
                                         "Document end",
                                         "Cut to clipboard",
                                         "Copy to clipboard",
                                         "Paste from clipboard",
                                         "Delete character at cursor",
                                         "Delete character before caret",
                                         "Indent selected block",
                                         "Un-indent selected block",
                                         "Toggle insert/overwrite mode",
                                         "Set Bookmark 0",
                                         "Set Bookmark 1",
                                         "Set Bookmark 2",
                                         "Set Bookmark 3",
                                         "Set Bookmark 4",
                                         "Set Bookmark 5",
                                         "Set Bookmark 6",
                                         "Set Bookmark 7",
                                         "Set Bookmark 8",
                                         "Set Bookmark 9",
                                         "Goto Bookmark 0",
                                         "Goto Bookmark 1",
                                         "Goto Bookmark 2",
                                         "Goto Bookmark 3",
                                         "Goto Bookmark 4",
                                         "Goto Bookmark 5",
                                         "Goto Bookmark 6",
                                         "Goto Bookmark 7",
                                         "Goto Bookmark 8",
                                         "Goto Bookmark 9",
                                         "Delete current line",
                                         "Undo",
                                         "Redo",
                                         "Delete previous word",
                                         "Print selection",
                                         "Delete next word",
                                         "Scroll display up one line",
                                         "Scroll display down one line"};
  for (int n = 0; n < 48; ++n)
    c.SetCommandName(n, kNames[n]);

  constexpr TShortCut kBack = 8, kPgUp = 33, kPgDn = 34, kEnd = 35, kHome = 36, kLeft = 37, kUp = 38,
                      kRight = 39, kDown = 40, kIns = 45, kDel = 46;
  const TShortCut ctrlK = scCtrl | 'K';
  const TShortCut ctrlQ = scCtrl | 'Q';
  struct Binding {
    int action;
    TShortCut first, second;
  };
  const Binding kBindings[] = {{43, scCtrl | kBack, 0},
                               {45, scCtrl | kDel, 0},
                               {0, kLeft, 0},
                               {1, kRight, 0},
                               {2, kHome, 0},
                               {3, kEnd, 0},
                               {4, kUp, 0},
                               {5, kDown, 0},
                               {6, kPgUp, 0},
                               {7, kPgDn, 0},
                               {8, scCtrl | kLeft, 0},
                               {9, scCtrl | kRight, 0},
                               {10, scCtrl | kHome, 0},
                               {11, scCtrl | kEnd, 0},
                               {12, scCtrl | 'X', 0},
                               {13, scCtrl | 'C', 0},
                               {14, scCtrl | 'V', 0},
                               {15, kDel, 0},
                               {16, kBack, 0},
                               {17, ctrlK, 'I'},
                               {18, ctrlK, 'U'},
                               {19, kIns, 0}};
  for (const Binding& b : kBindings)
    c.AddBinding(b.first, b.second, b.action);
  for (int k = 0; k < 10; ++k)
    c.AddBinding(ctrlK, static_cast<TShortCut>('0' + k), 20 + k);
  for (int k = 0; k < 10; ++k)
    c.AddBinding(ctrlQ, static_cast<TShortCut>('0' + k), 30 + k);
  const Binding kLastBindings[] = {{40, scCtrl | 'Y', 0},           {41, scCtrl | 'Z', 0},
                                   {42, scCtrl | scShift | 'Z', 0}, {44, ctrlK, 'P'},
                                   {46, scCtrl | kUp, 0},           {47, scCtrl | kDown, 0}};
  for (const Binding& b : kLastBindings)
    c.AddBinding(b.first, b.second, b.action);
}

TKeyboardActionContoller& DefaultKeyController() {
  static TKeyboardActionContoller controller;
  static const bool built = (AddDefaultBindings(controller), true);
  (void)built;
  return controller;
}
