// Compiling patterns in tests: the error texts of a compile, or none.
#pragma once

#include "cxRegExpr.h"

#include <vector>

inline std::vector<String> Compile(TcxRegExpr& RegExpr, const String& Pattern) {
  TStringStream source(Pattern);
  std::vector<String> texts;
  try {
    RegExpr.CompileFromStream(&source);
  } catch (const EcxRegExprError& e) {
    for (int i = 0; i < e.Errors->GetCount(); ++i)
      texts.push_back(e.Errors->GetItem(i).ErrorText());
  }
  return texts;
}

inline std::vector<String> CompileErrors(const String& Pattern) {
  TcxRegExpr regExpr;
  return Compile(regExpr, Pattern);
}
