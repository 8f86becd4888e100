#include "cxVariants.h"

namespace {

int CompareArrays(const Variant& V1, const Variant& V2) {
  const int high1 = VarArrayHighBound(V1);
  const int high2 = VarArrayHighBound(V2);
  if (high1 != high2) return high1 - high2;
  for (int i = 0; i <= high1; ++i)
    if (const int result = CompareVariants(V1[i], V2[i])) return result;
  return 0;
}

} // namespace

int CompareVariants(const Variant& V1, const Variant& V2) {
  const bool array1 = VarIsArray(V1), array2 = VarIsArray(V2);
  if (array1 || array2) {
    if (array1 != array2) return array1 ? 1 : -1;
    return CompareArrays(V1, V2);
  }
  try {
    if (V1 == V2) return 0;
    if (VarIsNull(V1)) return -1;
    if (VarIsNull(V2)) return 1;
    return V1 < V2 ? -1 : 1;
  } catch (const EVariantError&) {
    return -1;
  }
}

bool VariantsOrderEqual(const Variant& V1, const Variant& V2) {
  return CompareVariants(V1, V2) == 0;
}

bool VariantsEqual(const Variant& V1, const Variant& V2) {
  const bool anyNull = VarIsNull(V1) || VarIsNull(V2);
  const bool anyBoolean = V1.VarType() == varBoolean || V2.VarType() == varBoolean;
  if (anyNull || !anyBoolean) return CompareVariants(V1, V2) == 0;
  try {
    return V1.AsString() == V2.AsString();
  } catch (const EVariantError&) {
    return false;
  }
}

bool IsDateVariant(const Variant& V) {
  return V.VarType() == varDate;
}

bool IsNumericVariant(const Variant& V) {
  return V.IsNumeric();
}
