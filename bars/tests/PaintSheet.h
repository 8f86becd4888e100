// A memory picture that painters draw into, and the colour answers the
// painter tests compare its pixels with.
#pragma once

#include "Graphics.h"
#include "GuiTest.h"

#include "WinApi.h"

namespace painttest {

constexpr COLORREF kRed = RGB(255, 0, 0);

inline COLORREF Sys(int index) {
  return GetSysColor(index);
}

inline COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH log{};
  GetObjectA(brush, sizeof(log), &log);
  return log.lbColor;
}

inline COLORREF Rgb(TColor color) {
  return ColorToRGB(color);
}

// Filled with red, which no painter uses, so that unpainted pixels show.
struct TSheet {
  TSheet(int width, int height, COLORREF fill = kRed) : Capture(width, height) {
    RECT r{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(Capture.DC(), &r, brush);
    DeleteObject(brush);
  }
  HDC DC() const { return Capture.DC(); }
  COLORREF At(int x, int y) const { return Capture.Pixel(x, y); }
  guitest::TCapture Capture;
};

// The GDI objects of the process, to show that painters free theirs.
inline int GdiObjects() {
  return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

} // namespace painttest
