#include "dxBarStrs.h"

#include <map>

const TResStringRec* dxBarResString(UINT Identifier) {
  static std::map<UINT, TResStringRec> records;
  auto [it, added] = records.try_emplace(Identifier);
  if (added) it->second = TResStringRec{GetModuleHandleA(nullptr), Identifier};
  return &it->second;
}

String dxBarString(UINT Identifier) {
  return LoadLibraryResString(dxBarResString(Identifier));
}
