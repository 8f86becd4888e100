// A language's settings as the one-line style string kept in the registry,
// and read back from it.
#pragma once

#include "SyntaxEd_settings.h"

// "Halvik6:", then each field as key#length#value (the gutter font's
// colour-type field LNT as the bare key#), then "#END#".
String BuildStyleString(const TSM_Settings& settings);
// Applies a style string to the settings; false, with nothing applied, when
// the string does not parse whole.
bool ApplyStyleString(TSM_Settings& settings, const String& text);
