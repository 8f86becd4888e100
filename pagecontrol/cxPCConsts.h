// The page control's messages: entries of the library's string table,
// fetched through LoadLibraryResString so that a replacement list can
// change them.
#pragma once

#include "cxClasses.h"

constexpr UINT scxPCTabIndexError = 47100;
constexpr UINT scxPCVisibleTabIndexError = 47101;
constexpr UINT scxPCNoVisibleTabs = 47102;
constexpr UINT scxPCTabsCountZero = 47103;
constexpr UINT scxPCNoRegisteredStyles = 47104;
constexpr UINT scxPCPainterClassNil = 47105;
constexpr UINT scxPCImageListNoBaseImages = 47106;
constexpr UINT scxPCImageListIndexError = 47107;
constexpr UINT scxPCPageIndexError = 47108;

// The text of one of the messages above.
String cxPCResString(UINT Id);
