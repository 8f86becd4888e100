// Helpers for GUI tests under Wine: pump messages until something happens,
// paint windows into memory bitmaps, read their pixels and save them as PNG.
#pragma once

#include "SysUtils.h"

#include <windows.h>

#include <cstdint>
#include <functional>

namespace guitest {

// Pumps messages until done() holds or timeoutMs passes; true when done.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Pumps messages for the given time.
void PumpFor(int ms);

// A 32-bit top-down picture of a window, painted as the window paints itself.
class TCapture {
public:
  TCapture(int width, int height);
  ~TCapture();
  TCapture(const TCapture&) = delete;
  TCapture& operator=(const TCapture&) = delete;
  TCapture(TCapture&& other) noexcept;

  // Paints the window's client area and every visible child at its offset by
  // sending WM_ERASEBKGND and WM_PRINTCLIENT with the memory DC (PrintWindow
  // and WM_PRINT draw no children under Wine). Children's frames are drawn by
  // WM_PRINT with PRF_NONCLIENT.
  static TCapture Paint(HWND wnd);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  HDC DC() const { return FDC; }
  // The pixel as a COLORREF (0x00BBGGRR), or CLR_INVALID outside.
  COLORREF Pixel(int x, int y) const;
  // How many pixels within the rectangle have the colour.
  int CountPixels(const RECT& r, COLORREF color) const;

  void SaveToBmp(const String& fileName) const;
  // Saves <screenshot folder>/<name>.png for a person to look at; returns
  // the PNG's path (empty when the conversion failed).
  String SavePng(const String& name) const;

private:
  int FWidth = 0;
  int FHeight = 0;
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  uint32_t* FBits = nullptr;
};

// The folder where tests save their pictures, as a Unix path.
String ScreenshotDir();

} // namespace guitest
