#include "SyntaxEd_keys.h"

// Outside Windows no keyboard layout names keys: only the fixed names count.
String SystemKeyName(TShortCut) {
  return String();
}

int16_t SystemVkKeyScan(char ch) {
  return UsLayoutVkKeyScan(ch);
}
