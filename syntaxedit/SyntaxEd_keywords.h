// Keyword tables: character trees keyed by the characters of each word, in
// which every word carries the tokenizer states it is valid in, a terminator
// group (the character that must follow it) and a 32-bit value. Lookups take
// the longest word valid in the active states, forwards or backwards.
#pragma once

#include "SyntaxEd_chargroups.h"
#include "SyntaxEd_streamio.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TEdStream;

// A set of tokenizer states, bit i for state i.
using TStateSet = std::bitset<256>;

class EKeywords : public ESyntaxMemo {
public:
  using ESyntaxMemo::ESyntaxMemo;
};

// One stored word for one set of states.
struct TKeywordEntry {
  TStateSet States;
  int GroupId = 0; // terminator group in the tree's group manager
  // That group, looked up once when the word is added; none for an empty
  // group, which holds before any character.
  const TSM_CharGroup* Terminator = nullptr;
  int32_t Value = 0;
  TKeywordEntry* Next = nullptr;
};

// One character position of the stored words.
struct TKeywordNode {
  uint8_t Ch = 0;
  TKeywordNode* Next = nullptr; // same level, in ascending character order
  TKeywordNode* FirstChild = nullptr;
  TKeywordEntry* Entries = nullptr; // words ending here
  TStateSet States;                 // union of the states of words through here
};

class TKeywords : public TSM_Base {
public:
  TKeywords();
  ~TKeywords() override;

  // Raises EKeywords "Duplicate keyword - '%s'" when the word is stored
  // already for one of the states. caseFlag 0 stores it in lower case.
  virtual void AddWord(const String& word, uint8_t caseFlag, int32_t value, const TStateSet& states,
                       const TSM_CharGroup& group);
  // The longest word at the stream valid in ActiveStates whose terminator
  // holds, or nullptr. A match leaves the stream after the word (forward) or
  // on its first character (backward); no match leaves it one character after
  // the start with length 1.
  virtual TKeywordEntry* MatchWord(TEdStream& stream, bool caseSensitive, bool forward, int& startOffset,
                                   int& startPosition, int& length);
  // Whether some word begins with the character; when none does, MatchWord
  // forward only steps over it, which a caller may do without the call.
  bool BeginsWord(char c, bool caseSensitive) const {
    return FFirstIndex[static_cast<uint8_t>(caseSensitive ? c : ToLowerAscii(c))] != nullptr;
  }
  // The node of the word, or of its longest stored prefix; nullptr when not
  // even its first character is stored.
  TKeywordNode* FindNode(const String& word, bool caseSensitive) const;
  void Clear();
  int InternGroup(const TSM_CharGroup& group) { return FGroups.Intern(group); }
  const TSM_CharGroupManager& GetGroups() const { return FGroups; }
  uint8_t GetCaseFlag() const { return FCaseFlag; }
  String ClassName() const override { return "TKeywords"; }

  // The states the caller is in; empty after construction.
  TStateSet ActiveStates;
  // Called with the value of every entry as it is freed.
  std::function<void(int32_t value)> OnEntryFree;

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TKeywords>(); }
  void SetCaseFlag(uint8_t value) { FCaseFlag = value; }

private:
  TKeywordNode* NewNode(uint8_t ch);
  const TKeywordEntry* FirstValidEntry(const TKeywordNode& node, uint8_t next) const;

  uint8_t FCaseFlag = 0;
  TSM_CharGroupManager FGroups;
  TKeywordNode* FRoot = nullptr;
  TKeywordNode* FFirstIndex[256] = {};
  // The tree's nodes and entries, owned here and linked by the raw pointers.
  std::vector<std::unique_ptr<TKeywordNode>> FNodes;
  std::vector<std::unique_ptr<TKeywordEntry>> FEntries;
};

// A word of the parser's word list with what it was added with.
struct TEndStyleObject {
  String Word;
  TSM_CharGroup Group;
  TStateSet States;
  int32_t Value = 0;
};

// The parser's main word list: a tree that also remembers its words so that
// it can be stored with the compiled rules.
class TSyntaxKeywords : public TKeywords {
public:
  // Only words the tree accepted are remembered, so that one refused word
  // cannot make the stored list unreadable.
  void AddWord(const String& word, uint8_t caseFlag, int32_t value, const TStateSet& states,
               const TSM_CharGroup& group) override;
  void SaveToStream(TStream& stream) const override;
  void LoadFromStream(TStream& stream) override;
  String ClassName() const override { return "TSyntaxKeywords"; }
  const std::vector<TEndStyleObject>& GetWords() const { return FWords; }

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TSyntaxKeywords>(); }

private:
  std::vector<TEndStyleObject> FWords;
};
