// Character groups: sets of 8-bit characters, possibly negated, written in
// rule scripts as specifiers such as [^_A-Za-z0-9], \n or a-z, and interned
// so that keyword entries and tokenizer records refer to them by id.
#pragma once

#include "SyntaxEd_base.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class TSM_CharGroup : public TSM_Base {
public:
  void Clear();
  void AddRange(uint8_t first, uint8_t last);
  void AddChar(uint8_t ch) { AddRange(ch, ch); }
  void AddSet(const TCharSet& set) { FMembers |= set; }
  bool Contains(uint8_t ch) const { return FMembers[ch] != FNegated; }
  // Keyword matching takes an empty group as no condition at all.
  bool IsEmpty() const { return FMembers.none() && FExtendedRanges.empty(); }
  bool Equals(const TSM_CharGroup& other) const;
  bool GetNegated() const { return FNegated; }
  void SetNegated(bool value) { FNegated = value; }
  const TCharSet& GetMembers() const { return FMembers; }

  void SaveToStream(TStream& stream) const override;
  void LoadFromStream(TStream& stream) override;
  String ClassName() const override { return "TSM_CharGroup"; }

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TSM_CharGroup>(); }

private:
  TCharSet FMembers;
  bool FNegated = false;
  // Ranges past character 255; all characters are 8-bit, so it stays empty.
  std::vector<std::pair<uint16_t, uint16_t>> FExtendedRanges;
};

// Keeps one copy of each distinct group; a group's id is its index.
class TSM_CharGroupManager : public TSM_Base {
public:
  int Intern(const TSM_CharGroup& group);
  // Raises ESyntaxMemo "Invalid Set ID (%d)" for an id naming no group.
  const TSM_CharGroup& GroupById(int id) const;
  int GetCount() const { return static_cast<int>(FItems.size()); }
  void Clear() { FItems.clear(); }

  void SaveToStream(TStream& stream) const override;
  // Duplicate groups in the stream collapse into one id.
  void LoadFromStream(TStream& stream) override;
  String ClassName() const override { return "TSM_CharGroupManager"; }

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TSM_CharGroupManager>(); }

private:
  std::vector<std::unique_ptr<TSM_CharGroup>> FItems;
};

// A one-based character cursor over a string.
class TStringScanner {
public:
  explicit TStringScanner(const String& text = String()) { SetText(text); }
  void SetText(const String& text);
  void SetPos(int position) { FPosition = position; }
  int GetPos() const { return FPosition; }
  bool AtEnd() const { return FLength == 0 || FPosition > FLength; }
  // Character 0 past the end.
  char CurrentChar() const;
  // Stops one past the end.
  void Next() {
    if (FPosition <= FLength) ++FPosition;
  }

private:
  String FText;
  int FLength = 0;
  int FPosition = 0;
};

// Reads a group specifier from the 1-based position and leaves the position
// just after it. Raises Exception "Characters not in correct order for range
// specifier" for a range whose end is below its start.
void ParseCharGroup(const String& specifier, int& position, TSM_CharGroup& group);
