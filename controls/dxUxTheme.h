// The visual-style library, bound at run time: it may be missing, and the
// program then draws without it.
#pragma once

#include "WinApi.h"

using HTHEME = HANDLE;

namespace dxUxTheme {

// Call-throughs with the library's own signatures. They call the bound
// function unchecked: callers hold a handle from the theme cache, which
// implies the library is loaded.
HRESULT CloseThemeData(HTHEME hTheme);
HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pRect,
                            const RECT* pClipRect);
HRESULT DrawThemeEdge(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pDestRect, UINT uEdge,
                      UINT uFlags, RECT* pContentRect);
HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* prc);
HRESULT DrawThemeText(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int iCharCount,
                      DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect);
HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                            int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
HRESULT GetThemeBackgroundContentRect(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                      const RECT* pBoundingRect, RECT* pContentRect);
HRESULT GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor);
// eSize: 0 minimum, 1 true size, 2 the size drawn.
HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* prc, int eSize,
                         SIZE* psz);
BOOL IsThemeActive();
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME hTheme, int iPartId, int iStateId);
HTHEME OpenThemeData(HWND hwnd, LPCWSTR pszClassList);

} // namespace dxUxTheme

bool IsVisualStyleLibraryPresent();
// Windows XP or later.
bool IsThemeCapableOS();

void dxUxThemeInitialize();
void dxUxThemeFinalize();
