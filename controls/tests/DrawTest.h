// A 32-bit memory bitmap to draw on through TcxCanvas, with its pixels and
// a PNG for a person to look at.
#pragma once

#include "cxGraphics.h"
#include "GuiTest.h"

#include <algorithm>
#include <memory>

class TDrawSurface {
public:
  TDrawSurface(int width, int height, TColor fill = clWhite) : FCapture(width, height) {
    FCanvas.SetHandle(FCapture.DC());
    FCxCanvas = std::make_unique<TcxCanvas>(&FCanvas);
    FCxCanvas->FillRect(TRect(0, 0, width, height), fill);
  }
  ~TDrawSurface() { FCanvas.SetHandle(nullptr); }
  TcxCanvas* Canvas() { return FCxCanvas.get(); }
  HDC DC() { return FCapture.DC(); }
  COLORREF Pixel(int x, int y) const { return FCapture.Pixel(x, y); }
  int Count(const RECT& r, TColor color) const { return FCapture.CountPixels(r, ColorToRGB(color)); }
  int CountAll(TColor color) const { return Count(TRect(0, 0, FCapture.Width(), FCapture.Height()), color); }
  // The smallest rectangle holding every pixel of the colour (empty: none).
  TRect BoundsOf(TColor color) const;
  String SavePng(const String& name) const { return FCapture.SavePng(name); }

private:
  guitest::TCapture FCapture;
  TCanvas FCanvas;
  std::unique_ptr<TcxCanvas> FCxCanvas;
};

inline TRect TDrawSurface::BoundsOf(TColor color) const {
  const COLORREF rgb = ColorToRGB(color);
  TRect box(FCapture.Width(), FCapture.Height(), 0, 0);
  for (int y = 0; y < FCapture.Height(); ++y)
    for (int x = 0; x < FCapture.Width(); ++x) {
      if (FCapture.Pixel(x, y) != rgb) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  return box.left < box.right ? box : TRect();
}

inline COLORREF RGBOf(TColor color) {
  return ColorToRGB(color);
}

// Changes one system colour for the scope it lives in.
class TSysColorScope {
public:
  TSysColorScope(int index, COLORREF color) : FIndex(index), FOld(GetSysColor(index)) {
    SetSysColors(1, &FIndex, &color);
  }
  ~TSysColorScope() { SetSysColors(1, &FIndex, &FOld); }
  TSysColorScope(const TSysColorScope&) = delete;
  TSysColorScope& operator=(const TSysColorScope&) = delete;

private:
  int FIndex;
  COLORREF FOld;
};

// Lays gallery cells out left to right, row by row, within a width.
class TGalleryGrid {
public:
  TGalleryGrid(int width, int gap) : FWidth(width), FGap(gap) {}
  TRect Next(int width, int height) {
    if (FX + width > FWidth - 4) NewRow();
    const TRect r = Bounds(FX, FY, width, height);
    FX += width + FGap;
    FRowHeight = std::max(FRowHeight, height);
    return r;
  }
  void NewRow() {
    FX = 4;
    FY += FRowHeight + 6;
    FRowHeight = 0;
  }

private:
  int FWidth;
  int FGap;
  int FX = 4;
  int FY = 4;
  int FRowHeight = 0;
};
