// Masked edits on a form between two standard edits, typed into by real
// input, and the key sequences the tests run through them.
#pragma once

#include "TextEditTest.h"
#include "cxMaskEdit.h"

#include "Forms.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// One keystroke of a sequence: a typed character, or a key with modifiers.
struct TMaskKey {
  WORD Key = 0;
  int Modifiers = guitest::kNone;
  char Char = 0;
};

inline TMaskKey Typed(char C) {
  return TMaskKey{0, guitest::kNone, C};
}
inline TMaskKey Key(WORD AKey, int AModifiers = guitest::kNone) {
  return TMaskKey{AKey, AModifiers, 0};
}
// A typed text, one keystroke per character.
std::vector<TMaskKey> Typing(const String& AText);

inline std::vector<TMaskKey> operator+(std::vector<TMaskKey> A, const std::vector<TMaskKey>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

// What the editor shows: its text and selection.
struct TMaskState {
  String Text;
  int SelStart = 0;
  int SelLength = 0;
  bool operator==(const TMaskState&) const = default;
};
std::ostream& operator<<(std::ostream& Stream, const TMaskState& State);

template <typename TEditClass> struct TMaskFormOf : TEditFormOf<TEditClass> {
  TMaskFormOf() : TEditFormOf<TEditClass>(200) {}
  TMaskState State() const {
    return TMaskState{this->Inner()->GetText(), this->SelStart(), this->SelLength()};
  }
  // Presses each key and waits for the editor to show its effect (a key
  // without any waits out a generous bound).
  void Run(const std::vector<TMaskKey>& AKeys) {
    for (const TMaskKey& key : AKeys) {
      const TMaskState before = State();
      if (key.Char)
        guitest::TypeText(String(1, key.Char));
      else
        guitest::PressKey(key.Key, key.Modifiers);
      guitest::PumpUntil([&] { return !(State() == before); }, 400);
      guitest::PumpFor(20);
    }
  }
};

using TMaskForm = TMaskFormOf<TcxMaskEdit>;

// A typed sequence in an editor with a mask, focused and empty, and what it
// shows after it.
struct TMaskCase {
  const char* name;
  TcxEditMaskKind kind;
  String mask;
  std::vector<TMaskKey> keys;
  TMaskState expected;
};

class TMaskTyping : public testing::TestWithParam<TMaskCase> {};

// The case's name without its spaces and signs.
String MaskCaseName(const testing::TestParamInfo<TMaskCase>& Info);
