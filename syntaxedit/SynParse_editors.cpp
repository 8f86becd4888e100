#include "SynParse.h"
#include "SyntaxEd_settings.h"

#include <algorithm>

void TSyntaxMemoParser::AddEditor(TCustomSyntaxMemo* Editor) {
  if (std::find(FEditors.begin(), FEditors.end(), Editor) != FEditors.end()) return;
  FEditors.push_back(Editor);
  FSettings->AttachEditor(Editor);
}

void TSyntaxMemoParser::RemoveEditor(TCustomSyntaxMemo* Editor) {
  auto it = std::find(FEditors.begin(), FEditors.end(), Editor);
  if (it == FEditors.end()) return;
  FEditors.erase(it);
  FSettings->DetachEditor(Editor);
}
