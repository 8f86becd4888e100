#include "SynElemF.h"
#include "SynParse.h"

bool TSyntaxMemoParser::EditProperties() {
  if (OnModifyProperties) {
    OnModifyProperties(this);
    return false;
  }
  TOptionsDialog dialog(nullptr);
  dialog.Parser = this;
  if (!dialog.ExecutePages(31)) return false;
  RefreshEditors();
  if (UseRegistry && !RegistryKey.empty()) SaveToRegistry();
  return true;
}
