#include "Locale.h"

#include "../win/WinApi.h"

namespace {

// The first character of a locale item, or the fallback when it is empty.
char LocaleChar(LCTYPE item, char fallback) {
  char buffer[8] = {};
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof(buffer)) > 1 ? buffer[0] : fallback;
}

TFormatSettings LocaleFormatSettings() {
  TFormatSettings settings;
  settings.DateSeparator = LocaleChar(LOCALE_SDATE, settings.DateSeparator);
  settings.TimeSeparator = LocaleChar(LOCALE_STIME, settings.TimeSeparator);
  settings.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, settings.DecimalSeparator);
  return settings;
}

} // namespace

TFormatSettings FormatSettings = LocaleFormatSettings();

String AnsiUpperCase(const String& s) {
  String r = s;
  if (!r.empty()) CharUpperBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}
