// Ordering and equality of edit values, as the editors use them to notice
// changes.
#pragma once

#include "Variants.h"

// -1, 0 or 1. Arrays sort above single values; Null below everything else; a
// value that cannot be converted for the comparison sorts below.
int CompareVariants(const Variant& V1, const Variant& V2);
bool VariantsOrderEqual(const Variant& V1, const Variant& V2);
// With a Boolean on either side (and no Null) the text forms are compared.
bool VariantsEqual(const Variant& V1, const Variant& V2);
bool IsDateVariant(const Variant& V);
bool IsNumericVariant(const Variant& V);
