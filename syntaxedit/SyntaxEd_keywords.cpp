#include "SyntaxEd_keywords.h"

#include "SyntaxEd_stream.h"
#include "SyntaxEd_streamio.h"

namespace {

uint8_t Fold(char c, bool caseSensitive) {
  const auto u = static_cast<uint8_t>(c);
  return caseSensitive ? u : static_cast<uint8_t>(ToLowerAscii(c));
}

// The first node of a sorted sibling list whose character is not below ch.
TKeywordNode* SkipBelow(TKeywordNode* node, uint8_t ch) {
  while (node && node->Ch < ch)
    node = node->Next;
  return node;
}

bool Overlap(const TStateSet& a, const TStateSet& b) {
  return (a & b).any();
}

} // namespace

TKeywords::TKeywords() {
  FGroups.Intern(TSM_CharGroup());
}

TKeywords::~TKeywords() {
  Clear();
}

void TKeywords::Clear() {
  if (OnEntryFree) {
    std::vector<int32_t> values;
    for (const auto& node : FNodes) {
      values.clear();
      for (const TKeywordEntry* e = node->Entries; e; e = e->Next)
        values.push_back(e->Value);
      for (auto it = values.rbegin(); it != values.rend(); ++it)
        OnEntryFree(*it);
    }
  }
  FNodes.clear();
  FEntries.clear();
  FRoot = nullptr;
  std::fill(std::begin(FFirstIndex), std::end(FFirstIndex), nullptr);
  FGroups.Clear();
  FCaseFlag = 0;
}

TKeywordNode* TKeywords::NewNode(uint8_t ch) {
  FNodes.push_back(std::make_unique<TKeywordNode>());
  FNodes.back()->Ch = ch;
  return FNodes.back().get();
}

void TKeywords::AddWord(const String& word, uint8_t caseFlag, int32_t value, const TStateSet& states,
                        const TSM_CharGroup& group) {
  FCaseFlag = caseFlag;
  if (word.empty()) return;
  const String w = caseFlag == 0 ? LowerCase(word) : word;
  TKeywordNode** head = &FRoot;
  TKeywordNode* node = nullptr;
  for (size_t i = 0; i < w.size(); ++i) {
    const auto ch = static_cast<uint8_t>(w[i]);
    TKeywordNode** link = head;
    while (*link && (*link)->Ch < ch)
      link = &(*link)->Next;
    if (!*link || (*link)->Ch != ch) {
      TKeywordNode* fresh = NewNode(ch);
      fresh->Next = *link;
      *link = fresh;
    }
    node = *link;
    node->States |= states;
    if (i == 0 && !FFirstIndex[ch]) FFirstIndex[ch] = node;
    head = &node->FirstChild;
  }
  TKeywordEntry** tail = &node->Entries;
  for (; *tail; tail = &(*tail)->Next)
    if (Overlap((*tail)->States, states)) throw EKeywords(Format("Duplicate keyword - '%s'", w));
  FEntries.push_back(std::make_unique<TKeywordEntry>());
  TKeywordEntry* entry = FEntries.back().get();
  entry->States = states;
  entry->GroupId = InternGroup(group);
  const TSM_CharGroup& terminator = FGroups.GroupById(entry->GroupId);
  if (!terminator.IsEmpty()) entry->Terminator = &terminator;
  entry->Value = value;
  *tail = entry;
}

const TKeywordEntry* TKeywords::FirstValidEntry(const TKeywordNode& node, uint8_t next) const {
  for (const TKeywordEntry* e = node.Entries; e; e = e->Next)
    if (Overlap(e->States, ActiveStates) && (!e->Terminator || e->Terminator->Contains(next))) return e;
  return nullptr;
}

TKeywordEntry* TKeywords::MatchWord(TEdStream& stream, bool caseSensitive, bool forward, int& startOffset,
                                    int& startPosition, int& length) {
  startPosition = stream.CurrentPos();
  startOffset = stream.GetOffset();
  length = 1;
  // A stream over no row (an empty text) has no character to read.
  if (!stream.GetRow()) return nullptr;
  uint8_t c = Fold(stream.CurrentChar(), caseSensitive);
  TKeywordNode* node = FFirstIndex[c];
  if (!node) {
    // A character that begins no word needs no walk.
    stream.Advance();
    return nullptr;
  }
  length = 0;
  const TKeywordEntry* best = nullptr;
  int bestEnd = 0;
  while (node) {
    if (node->Ch != c || !Overlap(node->States, ActiveStates)) break;
    if (!forward && stream.CurrentPos() == 0) {
      // The word reaches the start of the text: it begins at position 0, and
      // the start of the text stands before it like the end stands after a
      // word (character 0).
      ++length;
      if (const TKeywordEntry* e = FirstValidEntry(*node, 0)) {
        best = e;
        bestEnd = -1;
      }
      break;
    }
    if (forward)
      stream.Advance();
    else
      stream.StepBack();
    ++length;
    const auto next = static_cast<uint8_t>(stream.CurrentChar());
    if (const TKeywordEntry* e = FirstValidEntry(*node, next)) {
      best = e;
      bestEnd = stream.CurrentPos();
    }
    c = Fold(stream.CurrentChar(), caseSensitive);
    node = SkipBelow(node->FirstChild, c);
  }
  if (best) {
    if (forward) {
      stream.MoveTo(bestEnd);
      length = bestEnd - startPosition;
    } else {
      stream.MoveTo(bestEnd + 1);
      length = startPosition - bestEnd;
    }
    return const_cast<TKeywordEntry*>(best);
  }
  stream.MoveTo(startPosition);
  length = 1;
  stream.Advance();
  return nullptr;
}

TKeywordNode* TKeywords::FindNode(const String& word, bool caseSensitive) const {
  const String w = caseSensitive ? word : LowerCase(word);
  if (w.empty()) return nullptr;
  TKeywordNode* node = FFirstIndex[static_cast<uint8_t>(w[0])];
  if (!node) return nullptr;
  for (size_t i = 1; i < w.size(); ++i) {
    const auto ch = static_cast<uint8_t>(w[i]);
    TKeywordNode* child = SkipBelow(node->FirstChild, ch);
    if (!child || child->Ch != ch) break;
    node = child;
  }
  return node;
}

// ---- TSyntaxKeywords

void TSyntaxKeywords::AddWord(const String& word, uint8_t caseFlag, int32_t value, const TStateSet& states,
                              const TSM_CharGroup& group) {
  TKeywords::AddWord(word, caseFlag, value, states, group);
  if (word.empty()) return;
  TEndStyleObject record;
  record.Word = word;
  record.Group.Assign(group);
  record.States = states;
  record.Value = value;
  FWords.push_back(std::move(record));
}

void TSyntaxKeywords::SaveToStream(TStream& stream) const {
  WriteInt(stream, GetCaseFlag());
  WriteInt(stream, static_cast<int32_t>(FWords.size()));
  for (const TEndStyleObject& w : FWords) {
    WriteShortString(stream, w.Word);
    w.Group.SaveToStream(stream);
    WriteCharSet(stream, w.States);
    WriteInt(stream, w.Value);
  }
  WriteShortString(stream, String());
}

void TSyntaxKeywords::LoadFromStream(TStream& stream) {
  Clear();
  FWords.clear();
  const auto caseFlag = static_cast<uint8_t>(ReadInt(stream));
  SetCaseFlag(caseFlag);
  const int count = ReadInt(stream);
  TSM_CharGroup group;
  for (int i = 0; i < count; ++i) {
    const String word = ReadShortString(stream);
    group.LoadFromStream(stream);
    const TStateSet states = ReadCharSet(stream);
    const int32_t value = ReadInt(stream);
    // A list stored before refused words were kept out of it may still hold
    // one; the tree refused it then too, so it is left out again.
    try {
      AddWord(word, caseFlag, value, states, group);
    } catch (const EKeywords&) {
    }
  }
  ReadByte(stream);
}
