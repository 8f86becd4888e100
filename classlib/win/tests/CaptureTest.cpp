// The GUI test helper against a plain Win32 window: what a window paints
// reaches the memory bitmap, children included, and can be saved as PNG.
#include "GuiTest.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using guitest::TCapture;

// Paints its client area dark red with a blue square at (10,10)-(30,30).
LRESULT CALLBACK SquareWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto paint = [wnd](HDC dc) {
    RECT r;
    GetClientRect(wnd, &r);
    HBRUSH back = CreateSolidBrush(RGB(128, 0, 0));
    FillRect(dc, &r, back);
    DeleteObject(back);
    RECT square{10, 10, 30, 30};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &square, blue);
    DeleteObject(blue);
  };
  switch (msg) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PRINTCLIENT:
    paint(reinterpret_cast<HDC>(wParam));
    return 0;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    paint(dc);
    EndPaint(wnd, &ps);
    return 0;
  }
  }
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

const char* SquareClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = SquareWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "VelmoraCaptureTest";
    RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

TEST(Capture, TopLevelWindowAndChildPaintIntoMemoryBitmap) {
  HWND top = CreateWindowExA(0, SquareClass(), "Capture", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100,
                             200, 150, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(top);
  // A child at (100,40) paints the same picture in its own coordinates.
  HWND child = CreateWindowExA(0, SquareClass(), "", WS_CHILD | WS_VISIBLE, 100, 40, 50, 50, top, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);
  ASSERT_TRUE(guitest::PumpUntil([&] { return IsWindowVisible(top) != FALSE; }));

  TCapture capture = TCapture::Paint(top);
  RECT client;
  GetClientRect(top, &client);
  EXPECT_EQ(client.right, capture.Width());
  EXPECT_EQ(client.bottom, capture.Height());
  EXPECT_EQ(RGB(128, 0, 0), capture.Pixel(5, 5));
  EXPECT_EQ(RGB(0, 0, 255), capture.Pixel(20, 20));
  EXPECT_EQ(RGB(128, 0, 0), capture.Pixel(105, 45));
  EXPECT_EQ(RGB(0, 0, 255), capture.Pixel(115, 55));
  EXPECT_EQ(400, capture.CountPixels(RECT{100, 40, 150, 90}, RGB(0, 0, 255)));

  String png = capture.SavePng("capture_top_level");
  ASSERT_FALSE(png.empty());
  std::ifstream file(("Z:" + png).c_str(), std::ios::binary);
  char magic[4] = {};
  file.read(magic, 4);
  EXPECT_EQ(String("\x89PNG", 4), String(magic, 4));

  DestroyWindow(child);
  DestroyWindow(top);
}

TEST(Capture, HiddenChildIsNotPainted) {
  HWND top = CreateWindowExA(0, SquareClass(), "Capture", WS_OVERLAPPEDWINDOW, 100, 100, 200, 150, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 60, 60, top, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ShowWindow(top, SW_SHOW);
  TCapture capture = TCapture::Paint(top);
  EXPECT_EQ(RGB(0, 0, 255), capture.Pixel(20, 20));
  DestroyWindow(child);
  DestroyWindow(top);
}

} // namespace
