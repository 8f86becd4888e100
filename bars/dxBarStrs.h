// The toolbar library's texts: string-table entries of the program (res/
// bars.rc), each read through the control library's loader so that a
// replacement table may override it.
#pragma once

#include "cxClasses.h"

enum : UINT {
  dxSBAR_MOREBUTTONS = 64995,
  dxSBAR_EXPAND = 64997,
  dxSBAR_DRAGTOMAKEMENUFLOAT = 64998,
  dxSBAR_NOBARMANAGERS = 65040,
  dxSBAR_RECURSIVESUBITEMS = 65044,
  dxSBAR_RECURSIVEGROUPS = 65047,
  dxSBAR_DEFAULTCATEGORYNAME = 65048,
  dxSBAR_WANTTORESETTOOLBAR = 65068,
  dxSBAR_WANTTORESETUSAGEDATA = 65069,
  dxSBAR_BARMANAGERMORETHANONE = 65070,
  dxSBAR_BARMANAGERBADOWNER = 65071,
  dxSBAR_DATETODAY = 65061,
  dxSBAR_DATECLEAR = 65062,
};

// The one record of a string, by which a replacement table names it.
const TResStringRec* dxBarResString(UINT Identifier);
// The text of one of the library's strings.
String dxBarString(UINT Identifier);
