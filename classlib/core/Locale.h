// What depends on the user's locale: the separators of dates, times and
// decimals, and the case of letters beyond ASCII.
#pragma once

#include "SysUtils.h"

// The Windows build reads the separators from the user's locale at start;
// natively they are the defaults below. Tests set them.
struct TFormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char DecimalSeparator = '.';
};
extern TFormatSettings FormatSettings;

// Upper case by the locale: the Windows build folds the code page's letters
// as the system does; natively only the ASCII letters change.
String AnsiUpperCase(const String& s);
