// Sets the locale separators for one test and puts the old ones back.
#pragma once

#include "Locale.h"

class SeparatorsScope {
public:
  SeparatorsScope(char date, char time) : FSaved(FormatSettings) {
    FormatSettings.DateSeparator = date;
    FormatSettings.TimeSeparator = time;
  }
  ~SeparatorsScope() { FormatSettings = FSaved; }
  SeparatorsScope(const SeparatorsScope&) = delete;
  SeparatorsScope& operator=(const SeparatorsScope&) = delete;

private:
  TFormatSettings FSaved;
};
