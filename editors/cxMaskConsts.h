// The library strings of the mask engines. The engines are portable, so a
// string carries its default text beside its string-table identifier; the
// Windows build of the library installs a loader that reads the string table
// (and its replacement list) by identifier.
#pragma once

#include "SysUtils.h"

struct TcxResourceString {
  unsigned Identifier;
  const char* DefaultText;
};

#define CX_MASK_STRING(Name, Id, Text) inline constexpr TcxResourceString Name{Id, Text};
#include "cxMaskConsts.inc"
#undef CX_MASK_STRING

using TcxResourceStringLoader = String (*)(const TcxResourceString& ResString);

// No loader (the default) means the default texts.
void cxSetResourceStringLoader(TcxResourceStringLoader Loader);
String cxGetResourceString(const TcxResourceString& ResString);
