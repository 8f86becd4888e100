#include "Locale.h"

TFormatSettings FormatSettings;

String AnsiUpperCase(const String& s) {
  return UpperCase(s);
}
