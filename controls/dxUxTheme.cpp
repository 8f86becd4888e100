#include "dxUxTheme.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace {

enum Function {
  fnCloseThemeData,
  fnDrawThemeBackground,
  fnDrawThemeEdge,
  fnDrawThemeIcon,
  fnDrawThemeParentBackground,
  fnDrawThemeText,
  fnEnableThemeDialogTexture,
  fnGetCurrentThemeName,
  fnGetThemeAppProperties,
  fnGetThemeBackgroundContentRect,
  fnGetThemeBackgroundRegion,
  fnGetThemeBackgroundExtent,
  fnGetThemeBool,
  fnGetThemeColor,
  fnGetThemeDocumentationProperty,
  fnGetThemeEnumValue,
  fnGetThemeFilename,
  fnGetThemeFont,
  fnGetThemeInt,
  fnGetThemeIntList,
  fnGetThemeMargins,
  fnGetThemeMetric,
  fnGetThemePartSize,
  fnGetThemePosition,
  fnGetThemePropertyOrigin,
  fnGetThemeRect,
  fnGetThemeString,
  fnGetThemeSysBool,
  fnGetThemeSysColor,
  fnGetThemeSysColorBrush,
  fnGetThemeSysFont,
  fnGetThemeSysInt,
  fnGetThemeSysSize,
  fnGetThemeSysString,
  fnGetThemeTextExtent,
  fnGetThemeTextMetrics,
  fnGetWindowTheme,
  fnHitTestThemeBackground,
  fnIsAppThemed,
  fnIsThemeActive,
  fnIsThemePartDefined,
  fnIsThemeBackgroundPartiallyTransparent,
  fnIsThemeDialogTextureEnabled,
  fnOpenThemeData,
  fnSetThemeAppProperties,
  fnSetWindowTheme,
  fnCount
};

const char* const FunctionNames[fnCount] = {
    "CloseThemeData",
    "DrawThemeBackground",
    "DrawThemeEdge",
    "DrawThemeIcon",
    "DrawThemeParentBackground",
    "DrawThemeText",
    "EnableThemeDialogTexture",
    "GetCurrentThemeName",
    "GetThemeAppProperties",
    "GetThemeBackgroundContentRect",
    "GetThemeBackgroundRegion",
    "GetThemeBackgroundExtent",
    "GetThemeBool",
    "GetThemeColor",
    "GetThemeDocumentationProperty",
    "GetThemeEnumValue",
    "GetThemeFilename",
    "GetThemeFont",
    "GetThemeInt",
    "GetThemeIntList",
    "GetThemeMargins",
    "GetThemeMetric",
    "GetThemePartSize",
    "GetThemePosition",
    "GetThemePropertyOrigin",
    "GetThemeRect",
    "GetThemeString",
    "GetThemeSysBool",
    "GetThemeSysColor",
    "GetThemeSysColorBrush",
    "GetThemeSysFont",
    "GetThemeSysInt",
    "GetThemeSysSize",
    "GetThemeSysString",
    "GetThemeTextExtent",
    "GetThemeTextMetrics",
    "GetWindowTheme",
    "HitTestThemeBackground",
    "IsAppThemed",
    "IsThemeActive",
    "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent",
    "IsThemeDialogTextureEnabled",
    "OpenThemeData",
    "SetThemeAppProperties",
    "SetWindowTheme",
};

HMODULE ThemeLibrary = nullptr;
FARPROC Bound[fnCount] = {};
bool ThemeCapableOS = false;

template <typename F> F Fn(Function f) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(Bound[f]));
}

bool VersionIsXPOrLater() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return false;
  return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

} // namespace

namespace dxUxTheme {

HRESULT CloseThemeData(HTHEME hTheme) {
  return Fn<HRESULT(WINAPI*)(HTHEME)>(fnCloseThemeData)(hTheme);
}

HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pRect,
                            const RECT* pClipRect) {
  using F = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
  return Fn<F>(fnDrawThemeBackground)(hTheme, hdc, iPartId, iStateId, pRect, pClipRect);
}

HRESULT DrawThemeEdge(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pDestRect, UINT uEdge,
                      UINT uFlags, RECT* pContentRect) {
  using F = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*);
  return Fn<F>(fnDrawThemeEdge)(hTheme, hdc, iPartId, iStateId, pDestRect, uEdge, uFlags, pContentRect);
}

HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* prc) {
  return Fn<HRESULT(WINAPI*)(HWND, HDC, const RECT*)>(fnDrawThemeParentBackground)(hwnd, hdc, prc);
}

HRESULT DrawThemeText(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int iCharCount,
                      DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect) {
  using F = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);
  return Fn<F>(fnDrawThemeText)(hTheme, hdc, iPartId, iStateId, pszText, iCharCount, dwTextFlags,
                                dwTextFlags2, pRect);
}

HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                            int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars) {
  using F = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
  return Fn<F>(fnGetCurrentThemeName)(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars,
                                      pszSizeBuff, cchMaxSizeChars);
}

HRESULT GetThemeBackgroundContentRect(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                      const RECT* pBoundingRect, RECT* pContentRect) {
  using F = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, RECT*);
  return Fn<F>(fnGetThemeBackgroundContentRect)(hTheme, hdc, iPartId, iStateId, pBoundingRect, pContentRect);
}

HRESULT GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor) {
  using F = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);
  return Fn<F>(fnGetThemeColor)(hTheme, iPartId, iStateId, iPropId, pColor);
}

HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* prc, int eSize,
                         SIZE* psz) {
  using F = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, int, SIZE*);
  return Fn<F>(fnGetThemePartSize)(hTheme, hdc, iPartId, iStateId, prc, eSize, psz);
}

BOOL IsThemeActive() {
  return Fn<BOOL(WINAPI*)()>(fnIsThemeActive)();
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME hTheme, int iPartId, int iStateId) {
  using F = BOOL(WINAPI*)(HTHEME, int, int);
  return Fn<F>(fnIsThemeBackgroundPartiallyTransparent)(hTheme, iPartId, iStateId);
}

HTHEME OpenThemeData(HWND hwnd, LPCWSTR pszClassList) {
  return Fn<HTHEME(WINAPI*)(HWND, LPCWSTR)>(fnOpenThemeData)(hwnd, pszClassList);
}

} // namespace dxUxTheme

bool IsVisualStyleLibraryPresent() {
  return ThemeLibrary != nullptr;
}

bool IsThemeCapableOS() {
  return ThemeCapableOS;
}

void dxUxThemeInitialize() {
  ThemeCapableOS = VersionIsXPOrLater();
  InitCommonControls();
  if (!ThemeCapableOS) return;
  ThemeLibrary = LoadLibraryA("UxTheme.dll");
  if (!ThemeLibrary) return;
  for (int i = 0; i < fnCount; ++i)
    Bound[i] = GetProcAddress(ThemeLibrary, FunctionNames[i]);
}

void dxUxThemeFinalize() {
  if (!ThemeLibrary) return;
  FreeLibrary(ThemeLibrary);
  ThemeLibrary = nullptr;
  std::fill(std::begin(Bound), std::end(Bound), nullptr);
}
