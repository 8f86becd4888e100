// A small 24-bit memory picture to draw on and read pixels from.
#pragma once

#include "Graphics.h"

#include "WinApi.h"

class TSurface {
public:
  TSurface(int width, int height, COLORREF fill = RGB(255, 255, 255)) {
    FBitmap.SetPixelFormat(pf24bit);
    FBitmap.SetSize(width, height);
    RECT r{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(DC(), &r, brush);
    DeleteObject(brush);
  }
  HDC DC() { return FBitmap.GetCanvas()->GetHandle(); }
  COLORREF At(int x, int y) { return GetPixel(DC(), x, y); }
  TBitmap& Bitmap() { return FBitmap; }

private:
  TBitmap FBitmap;
};
