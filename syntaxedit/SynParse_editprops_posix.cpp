#include "SynParse.h"

// The options dialog is a window: without windows there is nothing to show.
bool TSyntaxMemoParser::EditProperties() {
  if (OnModifyProperties) OnModifyProperties(this);
  return false;
}
