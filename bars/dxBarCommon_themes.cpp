// The visual-style routines of toolbars, edits and the bands of drop-down
// windows. Callers use the drawing ones only while styles are available.
#include "dxBarCommon.h"

#include "dxThemeManager.h"
#include "dxUxTheme.h"

namespace {

constexpr int tmtFillColor = 3802;
constexpr int tmtTextColor = 3803;
constexpr int epEditText = 1;
constexpr int wpSmallCloseButton = 19;
constexpr int sbpSizeBox = 10;
constexpr int szbRightAlign = 1;
constexpr int tsTrue = 1;

bool ThemeColor(HTHEME Theme, int Part, int State, int Property, COLORREF& Color) {
  return Theme && SUCCEEDED(dxUxTheme::GetThemeColor(Theme, Part, State, Property, &Color));
}

SIZE ThemePartSize(TdxThemedObjectType Class, HDC DC, int Part, int State) {
  SIZE size{};
  dxUxTheme::GetThemePartSize(OpenThemeHandle(Class), DC, Part, State, nullptr, tsTrue, &size);
  return size;
}

} // namespace

int GetEditThemeState(bool Enabled, bool ReadOnly) {
  if (!Enabled) return etsDisabled;
  return ReadOnly ? etsReadOnly : etsNormal;
}

TColor GetEditThemeFillColor(HTHEME Theme, int State) {
  COLORREF color = 0;
  if (State == etsDisabled && ThemeColor(Theme, epEditText, State, tmtFillColor, color))
    return static_cast<TColor>(color);
  return static_cast<TColor>(GetSysColor(COLOR_WINDOW));
}

TColor GetEditThemeTextColor(HTHEME Theme, int State) {
  COLORREF color = 0;
  if (ThemeColor(Theme, epEditText, State, tmtTextColor, color)) return static_cast<TColor>(color);
  return static_cast<TColor>(GetSysColor(State == etsDisabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
}

TColor GetToolbarThemeFillColor() {
  COLORREF color = 0;
  if (ThemeColor(OpenThemeHandle(totToolBar), 0, 0, tmtFillColor, color)) return static_cast<TColor>(color);
  return static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
}

SIZE GetSmallCloseButtonSize(HDC DC) {
  return ThemePartSize(totWindow, DC, wpSmallCloseButton, 1);
}

void DrawSmallCloseButton(HDC DC, TRect& R, bool Hot, int Corner, bool Pressed) {
  const int state = Pressed ? 3 : Hot ? 2 : 1;
  const SIZE size = GetSmallCloseButtonSize(DC);
  const int offset = std::max<int>((R.Height() - size.cy) / 2, 0);
  // The close button sits at the end opposite the size grip.
  const int left = Corner == 1 || Corner == 3 ? R.left + offset : R.right - offset - size.cx;
  R = Bounds(left, R.top + offset, size.cx, size.cy);
  FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totWindow), DC, wpSmallCloseButton, state, &R, nullptr);
}

SIZE GetSizeBoxSize(HDC DC) {
  const SIZE size = ThemePartSize(totScrollBar, DC, sbpSizeBox, szbRightAlign);
  return SIZE{size.cx + 2, size.cy + 2};
}

void DrawSizeBox(HDC DC, TRect& R, int Corner) {
  const SIZE size = GetSizeBoxSize(DC);
  const bool atRight = Corner == 1 || Corner == 3, atBottom = Corner >= 2;
  const int w = size.cx + 1, h = size.cy;
  R = TRect(atRight ? R.right - w : R.left, atBottom ? R.bottom - h : R.top, atRight ? R.right : R.left + w,
            atBottom ? R.bottom : R.top + h);
  FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  // The theme draws only the bottom-right shape: the others are mirrors,
  // drawn 2 pixels in from the mirrored edges.
  const bool mirrorX = !atRight, mirrorY = !atBottom;
  DrawMirrored(DC, R, mirrorX, mirrorY, [mirrorX, mirrorY](HDC memory, const RECT& r) {
    FillRect(memory, &r, GetSysColorBrush(COLOR_BTNFACE));
    RECT box = r;
    if (mirrorX) box.right -= 2;
    if (mirrorY) box.bottom -= 2;
    dxUxTheme::DrawThemeBackground(OpenThemeHandle(totScrollBar), memory, sbpSizeBox, szbRightAlign, &box,
                                   nullptr);
  });
}
