#include "BarsTest.h"
#include "DrawTest.h"

#include "GuiTest.h"
#include "dxBarCommon.h"
#include "dxThemeManager.h"

#include <mmsystem.h>

TEST(CommonRoutines, ArrowSizes) {
  const struct {
    TRect r;
    bool down;
    int size;
  } cases[] = {
      {TRect(0, 0, 10, 20), false, 6}, {TRect(0, 0, 10, 19), false, 7}, {TRect(0, 0, 10, 21), false, 8},
      {TRect(0, 0, 20, 10), true, 5},  {TRect(0, 0, 8, 8), true, 3},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CenteredArrowSize(c.r, c.down), c.size) << c.r.Width() << "x" << c.r.Height() << " " << c.down;
}

TEST(CommonRoutines, ArrowsAreCentredTriangles) {
  TSurface surface(20, 20);
  const TRect r(0, 0, 20, 20);
  DrawCenteredArrow(surface.DC(), r, true, true, false, false); // s = 5: x0 = 5, y0 = 7
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  EXPECT_EQ(surface.At(5, 7), text);
  EXPECT_EQ(surface.At(13, 7), text);
  EXPECT_EQ(surface.At(9, 11), text);
  EXPECT_EQ(surface.At(9, 12), RGB(255, 255, 255));
  EXPECT_EQ(surface.At(4, 7), RGB(255, 255, 255));

  TSurface disabled(20, 20, RGB(0, 0, 0));
  DrawCenteredArrow(disabled.DC(), r, true, false, false, false);
  EXPECT_EQ(disabled.At(9, 11), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(disabled.At(10, 11), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the embossed edge";
  TSurface flat(20, 20, RGB(0, 0, 0));
  DrawCenteredArrow(flat.DC(), r, true, false, false, true);
  EXPECT_EQ(flat.At(10, 11), RGB(0, 0, 0));
  disabled.Bitmap().SaveToFile(guitest::ScreenshotDir() + "/bars_arrow_disabled.bmp");
}

TEST(CommonRoutines, TilingStartsAtTheSourceOffset) {
  TBitmap tile;
  tile.SetPixelFormat(pf24bit);
  tile.SetSize(16, 4);
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 4; ++y)
      SetPixel(tile.GetCanvas()->GetHandle(), x, y, RGB(x * 10, y * 10, 0));
  TSurface surface(40, 8, RGB(0, 0, 255));
  TileBitmap(surface.DC(), TRect(2, 0, 30, 8), TRect(10, 0, 38, 8), &tile);
  EXPECT_EQ(surface.At(2, 0), RGB(100, 0, 0)) << "the tile's 11th column at the left edge";
  EXPECT_EQ(surface.At(8, 1), RGB(0, 10, 0)) << "the next tile";
  EXPECT_EQ(surface.At(8, 5), RGB(0, 10, 0)) << "the next row";
  EXPECT_EQ(surface.At(1, 0), RGB(0, 0, 255)) << "clipped to the destination";
  EXPECT_EQ(surface.At(30, 0), RGB(0, 0, 255));

  TSurface untouched(10, 10, RGB(0, 0, 255));
  TBitmap empty;
  TileBitmap(untouched.DC(), TRect(0, 0, 10, 10), TRect(0, 0, 10, 10), &empty);
  TileBitmap(untouched.DC(), TRect(0, 0, 10, 10), TRect(5, 5, 5, 9), &tile);
  EXPECT_EQ(untouched.At(0, 0), RGB(0, 0, 255));
  FillRectOrTileBitmap(untouched.DC(), TRect(0, 0, 10, 10), TRect(0, 0, 10, 10), &empty, clRed, nullptr);
  EXPECT_EQ(untouched.At(9, 9), RGB(255, 0, 0));
}

TEST(CommonRoutines, VerticalGradientIn256Bands) {
  TSurface surface(2, 512);
  FillVerticalGradient(surface.DC(), TRect(0, 0, 2, 512), RGB(0, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(surface.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(surface.At(0, 1), RGB(0, 0, 0));
  EXPECT_EQ(surface.At(0, 2), RGB(0, 0, 1));
  EXPECT_EQ(surface.At(1, 511), RGB(0, 0, 255));
}

TEST(CommonRoutines, CheckerBrush) {
  ASSERT_NE(CheckerBrush(), nullptr);
  TSurface surface(8, 8);
  RECT r{0, 0, 8, 8};
  FillRect(surface.DC(), &r, CheckerBrush());
  EXPECT_EQ(surface.At(0, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(surface.At(1, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(surface.At(1, 1), GetSysColor(COLOR_BTNFACE));
}

TEST(CommonRoutines, TransparentSizeGripKeepsTheBackground) {
  TSurface surface(20, 20, RGB(255, 0, 0));
  DrawTransparentSizeGrip(surface.DC(), TRect(2, 2, 18, 18));
  EXPECT_EQ(surface.At(3, 3), RGB(255, 0, 0)) << "the grip's face lets the background through";
  int grip = 0;
  for (int y = 2; y < 18; ++y)
    for (int x = 2; x < 18; ++x)
      grip += surface.At(x, y) != RGB(255, 0, 0);
  EXPECT_GT(grip, 10);
  surface.Bitmap().SaveToFile(guitest::ScreenshotDir() + "/bars_size_grip.bmp");
}

TEST(CommonRoutines, MenuFontHasAtLeast11Pixels) {
  TFont font;
  HFONT handle = nullptr;
  CreateMenuFont(&font, handle, true);
  LOGFONTA lf{}, iconTitle{};
  GetObjectA(handle, sizeof(lf), &lf);
  SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0);
  EXPECT_EQ(lf.lfHeight, iconTitle.lfHeight >= -10 ? -11 : iconTitle.lfHeight);
  font.SetHeight(-20);
  CreateMenuFont(&font, handle, false);
  GetObjectA(handle, sizeof(lf), &lf);
  EXPECT_EQ(lf.lfHeight, -20);
  DeleteObject(handle);
}

TEST(CommonRoutines, MenuSoundsPlayTheirAliases) {
  std::vector<std::pair<String, DWORD>> played;
  TdxSoundPlayer old = SetSoundPlayer([&](LPCSTR sound, HMODULE, DWORD flags) {
    played.emplace_back(sound, flags);
    return TRUE;
  });
  PlayMenuSound(0);
  PlayMenuSound(1);
  SetSoundPlayer(old);
  ASSERT_EQ(played.size(), 2u);
  EXPECT_EQ(played[0].first, "MenuPopup");
  EXPECT_EQ(played[1].first, "MenuCommand");
  EXPECT_EQ(played[0].second, 0x12003u);
}

TEST(CommonRoutines, PumpsTakeTheirMessagesAndPostQuitAgain) {
  HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageA(&msg);
  PostMessageA(wnd, WM_MOUSEMOVE, 0, 0);
  PostMessageA(wnd, WM_USER, 0, 0);
  DispatchMouseMessages();
  EXPECT_FALSE(PeekMessageA(&msg, wnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessageA(&msg, wnd, WM_USER, WM_USER, PM_REMOVE)) << "other messages stay";
  for (auto pump : {&DispatchMouseMessages, &DispatchPaintMessages}) {
    PostMessageA(wnd, WM_MOUSEMOVE, 0, 0);
    InvalidateRect(wnd, nullptr, TRUE);
    PostQuitMessage(7);
    pump();
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        EXPECT_EQ(msg.wParam, 7u);
      }
      DispatchMessageA(&msg); // a paint message stays until painted
    }
    EXPECT_TRUE(quit);
  }
  DestroyWindow(wnd);
}

namespace {

// A window that counts the WM_MOUSELEAVE it receives.
int gLeaves = 0;
LRESULT CALLBACK CountLeaves(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOUSELEAVE) ++gLeaves;
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND LeaveWindow() {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountLeaves;
    wc.lpszClassName = "BarsLeaveTest";
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    return RegisterClassA(&wc);
  }();
  (void)atom;
  HWND wnd = CreateWindowExA(WS_EX_TOPMOST, "BarsLeaveTest", "", WS_POPUP | WS_VISIBLE, 100, 100, 60, 60,
                             nullptr, nullptr, nullptr, nullptr);
  guitest::PumpFor(50);
  return wnd;
}

} // namespace

// Moves the pointer onto the test window and waits until the system places
// it there: a tracking request made while the pointer is still elsewhere ends
// at once.
static bool PointerRestsOn(HWND wnd) {
  ReleaseCapture(); // a capture left by an earlier window would hide the leave
  guitest::SendMouseAt(POINT{130, 130}, 0);
  const bool over = guitest::PumpUntil([wnd] {
    POINT pt;
    GetCursorPos(&pt);
    return WindowFromPointDeep(pt) == wnd;
  });
  guitest::PumpFor(20);
  return over;
}

TEST(CommonRoutines, MouseLeaveThroughTheTimer) {
  auto* track = dxUser32().TrackMouseEvent;
  dxUser32().TrackMouseEvent = nullptr;
  HWND wnd = LeaveWindow();
  ASSERT_TRUE(PointerRestsOn(wnd));
  gLeaves = 0;
  StartMouseTracking(wnd);
  EXPECT_TRUE(IsTrackingMouse(wnd));
  guitest::PumpFor(200);
  EXPECT_EQ(gLeaves, 0) << "the pointer is still over the window";
  guitest::SendMouseAt(POINT{300, 300}, 0);
  EXPECT_TRUE(guitest::PumpUntil([] { return gLeaves > 0; }));
  EXPECT_FALSE(IsTrackingMouse(wnd));
  dxUser32().TrackMouseEvent = track;
  DestroyWindow(wnd);
}

TEST(CommonRoutines, MouseLeaveThroughTrackMouseEvent) {
  HWND wnd = LeaveWindow();
  ASSERT_TRUE(PointerRestsOn(wnd));
  gLeaves = 0;
  StartMouseTracking(wnd);
  EXPECT_TRUE(IsTrackingMouse(wnd)) << "the request's size is the structure's";
  // The thread tracks one window: another window is not tracked, and asking
  // about it must not stop the tracked one from being followed.
  HWND other = CreateWindowExA(0, "BarsLeaveTest", "", WS_POPUP, 300, 100, 20, 20, nullptr, nullptr, nullptr,
                               nullptr);
  EXPECT_FALSE(IsTrackingMouse(other));
  DestroyWindow(other);
  guitest::SendMouseAt(POINT{300, 300}, 0);
  EXPECT_TRUE(guitest::PumpUntil([] { return gLeaves > 0; }));
  EXPECT_FALSE(IsTrackingMouse(wnd));
  ASSERT_TRUE(PointerRestsOn(wnd));
  StartMouseTracking(wnd);
  gLeaves = 0;
  StopMouseTracking(wnd);
  EXPECT_EQ(gLeaves, 1);
  EXPECT_FALSE(IsTrackingMouse(wnd));
  DestroyWindow(wnd);
}

TEST(DropDownFrames, TheGripCornerLiesAwayFromTheEdit) {
  const TRect edit(100, 100, 200, 120);
  const struct {
    TRect dropDown;
    int corner, hitTest;
  } cases[] = {
      {TRect(100, 120, 250, 300), 3, HTBOTTOMRIGHT}, // below, to the right
      {TRect(100, 0, 250, 100), 1, HTTOPRIGHT},      // above
      {TRect(0, 120, 100, 300), 2, HTBOTTOMLEFT},    // below, to the left
      {TRect(0, 0, 100, 100), 0, HTTOPLEFT},         // above, to the left
  };
  for (const auto& c : cases) {
    const int corner = GetSizeGripCorner(edit, c.dropDown);
    EXPECT_EQ(corner, c.corner) << c.dropDown.left << "," << c.dropDown.top;
    EXPECT_EQ(GetCornerHitTest(corner), c.hitTest);
  }
  const int size = GetSystemMetrics(SM_CYSIZE), scroll = GetSystemMetrics(SM_CYHSCROLL);
  EXPECT_EQ(GetDropDownGripBandHeight(), scroll + 2 < size ? size + 1 : scroll + 3);
}

TEST(DropDownFrames, TheGripIsMirroredIntoItsCorner) {
  const int w = GetSystemMetrics(SM_CXVSCROLL), h = GetSystemMetrics(SM_CYHSCROLL);
  for (int corner = 0; corner < 4; ++corner) {
    TSurface surface(60, 40, RGB(255, 0, 0));
    TRect r(0, 0, 60, 40);
    PaintSizeGripCorner(surface.DC(), r, corner);
    const bool right = corner % 2 == 1, bottom = corner >= 2;
    EXPECT_EQ(r, TRect(right ? 60 - w : 0, bottom ? 40 - h : 0, right ? 60 : w, bottom ? 40 : h)) << corner;
    // The outer corner pixel is the face strip; the opposite corner of the
    // picture stays untouched.
    EXPECT_EQ(surface.At(right ? 59 : 0, bottom ? 39 : 0), GetSysColor(COLOR_BTNFACE)) << corner;
    EXPECT_EQ(surface.At(right ? 0 : 59, bottom ? 0 : 39), RGB(255, 0, 0)) << corner;
  }
}

TEST(DropDownFrames, TheCloseButtonLiesAtTheEndAwayFromTheGrip) {
  const int size = GetSystemMetrics(SM_CXSIZE);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const struct {
    int corner;
    bool hot, flat, pressed;
    COLORREF topLeft; // of the button's outer ring
  } cases[] = {
      {1, false, false, false, face},
      {3, true, false, false, GetSysColor(COLOR_BTNHIGHLIGHT)},
      {0, true, false, true, GetSysColor(COLOR_BTNSHADOW)},
      {2, true, true, true, face},
  };
  for (const auto& c : cases) {
    guitest::TCapture surface(100, 30);
    FillRectWithColor(surface.DC(), TRect(0, 0, 100, 30), clRed);
    TRect r(0, 0, 100, 30);
    PaintDropDownCloseButton(surface.DC(), r, c.hot, c.corner, c.flat, c.pressed);
    const bool left = c.corner == 1 || c.corner == 3;
    const int top = (30 - size - 1) / 2 + (c.corner >= 2 ? 1 : 0);
    EXPECT_EQ(r, TRect(left ? 1 : 100 - size + 1, top + 2, left ? size - 1 : 99, top + size - 1)) << c.corner;
    EXPECT_EQ(surface.Pixel(r.left, r.top), c.topLeft) << c.corner;
    EXPECT_EQ(surface.Pixel(left ? 99 : 0, 15), RGB(255, 0, 0)) << "the far end stays";
    RECT inside{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    EXPECT_GT(surface.CountPixels(inside, GetSysColor(COLOR_BTNTEXT)), 4) << "the cross";
  }
}

namespace {

// A drop-down window whose frame is one pixel and whose grip band lies
// above or below its client area, as the drop-down lists size themselves.
bool gBandAtBottom = true;
LRESULT CALLBACK DropDownProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_NCCALCSIZE: {
    RECT& r = *reinterpret_cast<RECT*>(lParam);
    InflateRect(&r, -1, -1);
    (gBandAtBottom ? r.bottom : r.top) += (gBandAtBottom ? -1 : 1) * GetDropDownGripBandHeight();
    return 0;
  }
  case WM_NCPAINT:
    return 0;
  case WM_ERASEBKGND: {
    RECT r;
    GetClientRect(wnd, &r);
    FillRectWithColor(reinterpret_cast<HDC>(wParam), r, clRed);
    return 1;
  }
  }
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND DropDownWindow(bool bandAtBottom) {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DropDownProc;
    wc.lpszClassName = "BarsDropDownTest";
    return RegisterClassA(&wc);
  }();
  (void)atom;
  gBandAtBottom = bandAtBottom;
  HWND wnd = CreateWindowExA(WS_EX_TOPMOST, "BarsDropDownTest", "", WS_POPUP | WS_VISIBLE, 200, 200, 160, 120,
                             nullptr, nullptr, nullptr, nullptr);
  UpdateWindow(wnd);
  return wnd;
}

// The whole window as its window DC holds it.
guitest::TCapture WindowPicture(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  guitest::TCapture picture(r.right - r.left, r.bottom - r.top);
  HDC dc = GetWindowDC(wnd);
  BitBlt(picture.DC(), 0, 0, picture.Width(), picture.Height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(wnd, dc);
  return picture;
}

} // namespace

TEST(DropDownFrames, TheNonClientAreaCarriesFrameGripAndCloseButton) {
  const int band = GetDropDownGripBandHeight();
  const int gripW = GetSystemMetrics(SM_CXVSCROLL), gripH = GetSystemMetrics(SM_CYHSCROLL);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (int corner : {3, 0}) {
    const bool bottom = corner >= 2;
    HWND wnd = DropDownWindow(bottom);
    TRect grip, close;
    PaintDropDownNonClient(wnd, true, false, corner, grip, close, false, false);
    guitest::TCapture picture = WindowPicture(wnd);
    EXPECT_EQ(picture.Pixel(0, 0), GetSysColor(COLOR_WINDOWFRAME)) << corner;
    EXPECT_EQ(picture.Pixel(159, 119), GetSysColor(COLOR_WINDOWFRAME));
    // The separating line, the band's face between grip and button.
    EXPECT_EQ(picture.Pixel(80, bottom ? 119 - band : band), GetSysColor(COLOR_WINDOWFRAME)) << corner;
    EXPECT_EQ(picture.Pixel(80, bottom ? 119 - band / 2 : band / 2), face) << corner;
    EXPECT_EQ(picture.Pixel(80, bottom ? 10 : 110), RGB(255, 0, 0)) << "the client area stays";
    // Grip and button in client coordinates; the grip, grown by 2, is cut
    // to the band.
    const int clientTop = bottom ? 1 : 1 + band;
    EXPECT_EQ(grip.Width(), gripW + 2) << corner;
    EXPECT_EQ(grip.Height(), std::min(gripH + 4, band - 1)) << corner;
    EXPECT_EQ(bottom ? grip.right : grip.left, bottom ? 158 : 0) << corner;
    EXPECT_EQ(bottom ? grip.bottom : grip.top, bottom ? 118 : 1 - clientTop) << corner;
    EXPECT_EQ(bottom ? close.left : close.right, bottom ? 1 : 157) << corner;
    EXPECT_EQ(close.Width(), GetSystemMetrics(SM_CXSIZE) - 2) << corner;
    picture.SavePng(bottom ? "bars_dropdown_bottom" : "bars_dropdown_top");
    DestroyWindow(wnd);
  }
}

TEST(DropDownFrames, WithoutABandOnlyTheFrame) {
  HWND wnd = DropDownWindow(true);
  TRect grip(1, 1, 2, 2), close(1, 1, 2, 2);
  PaintDropDownNonClient(wnd, false, true, 3, grip, close, false, false);
  EXPECT_TRUE(IsRectEmpty(&grip));
  EXPECT_TRUE(IsRectEmpty(&close));
  guitest::TCapture picture = WindowPicture(wnd);
  EXPECT_EQ(picture.Pixel(0, 0), GetSysColor(COLOR_BTNSHADOW)) << "the flat frame";
  EXPECT_EQ(picture.Pixel(80, 119), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_NE(picture.Pixel(80, 115), GetSysColor(COLOR_BTNFACE)) << "no band painted";
  DestroyWindow(wnd);
}

TEST(VisualStyleRoutines, EditStatesAndTheirFallbackColours) {
  const struct {
    bool enabled, readOnly;
    int state;
  } states[] = {{true, false, etsNormal},
                {true, true, etsReadOnly},
                {false, true, etsDisabled},
                {false, false, etsDisabled}};
  for (const auto& s : states)
    EXPECT_EQ(GetEditThemeState(s.enabled, s.readOnly), s.state) << s.enabled << s.readOnly;
  // Without a theme colour, the system's.
  EXPECT_EQ(GetEditThemeFillColor(nullptr, etsDisabled), static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(GetEditThemeFillColor(nullptr, etsNormal), static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(GetEditThemeTextColor(nullptr, etsDisabled), static_cast<TColor>(GetSysColor(COLOR_GRAYTEXT)));
  EXPECT_EQ(GetEditThemeTextColor(nullptr, etsReadOnly), static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT)));
}

namespace {

// How many pixels of the quarter (0 top-left ... 3 bottom-right) of R are
// not the button face.
int InkInQuarter(const guitest::TCapture& picture, const TRect& r, int quarter) {
  const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
  const TRect q(quarter % 2 ? midX : r.left, quarter >= 2 ? midY : r.top, quarter % 2 ? r.right : midX,
                quarter >= 2 ? r.bottom : midY);
  return q.Width() * q.Height() - picture.CountPixels(q, GetSysColor(COLOR_BTNFACE));
}

} // namespace

TEST(VisualStyleRoutines, SmallCloseButtonAndMirroredSizeBox) {
  ASSERT_TRUE(ThemesAvailable(ThemeClassMask(totWindow) | ThemeClassMask(totScrollBar)));
  guitest::TCapture picture(100, 30);
  const SIZE button = GetSmallCloseButtonSize(picture.DC());
  ASSERT_GT(button.cx, 0);
  const int offset = (30 - button.cy) / 2;
  for (int corner : {3, 0}) {
    FillRectWithColor(picture.DC(), TRect(0, 0, 100, 30), clRed);
    TRect r(0, 0, 100, 30);
    DrawSmallCloseButton(picture.DC(), r, true, corner, false);
    const int left = corner == 3 ? offset : 100 - offset - button.cx;
    EXPECT_EQ(r, Bounds(left, offset, button.cx, button.cy)) << corner;
    EXPECT_EQ(picture.CountPixels(r, RGB(255, 0, 0)), 0) << "filled and drawn";
  }

  const SIZE box = GetSizeBoxSize(picture.DC());
  for (int corner = 0; corner < 4; ++corner) {
    guitest::TCapture surface(60, 40);
    FillRectWithColor(surface.DC(), TRect(0, 0, 60, 40), clRed);
    TRect r(0, 0, 60, 40);
    DrawSizeBox(surface.DC(), r, corner);
    const bool right = corner % 2 == 1, bottom = corner >= 2;
    const int w = box.cx + 1;
    EXPECT_EQ(r, TRect(right ? 60 - w : 0, bottom ? 40 - box.cy : 0, right ? 60 : w, bottom ? 40 : box.cy))
        << corner;
    // The grip's dots gather in the corner it serves.
    EXPECT_GT(InkInQuarter(surface, r, corner), InkInQuarter(surface, r, 3 - corner)) << corner;
    if (corner == 0) surface.SavePng("bars_size_box_top_left");
  }
}

TEST(CommonRoutines, ClipRegionsAreSavedAndRestored) {
  guitest::TCapture surface(40, 40);
  HDC dc = surface.DC();
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  HRGN saved = nullptr;
  bool existed = true;
  SaveDCClipRegion(dc, saved, existed);
  EXPECT_FALSE(existed);
  IntersectClipRect(dc, 0, 0, 10, 10);
  RestoreDCClipRegion(dc, saved, existed);
  EXPECT_EQ(GetClipRgn(dc, probe), 0) << "no region again";

  IntersectClipRect(dc, 0, 0, 10, 10);
  SaveDCClipRegion(dc, saved, existed);
  EXPECT_TRUE(existed);
  UnionClipRect(dc, TRect(20, 20, 30, 30));
  FillRectWithColor(dc, TRect(0, 0, 40, 40), clRed);
  EXPECT_EQ(surface.Pixel(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(25, 25), RGB(255, 0, 0)) << "the added rectangle";
  EXPECT_EQ(surface.Pixel(15, 15), RGB(0, 0, 0));
  RestoreDCClipRegion(dc, saved, existed);
  ASSERT_EQ(GetClipRgn(dc, probe), 1);
  RECT box;
  GetRgnBox(probe, &box);
  EXPECT_EQ(TRect(box), TRect(0, 0, 10, 10));

  SubtractRectFromRegion(probe, TRect(0, 0, 5, 10));
  EXPECT_FALSE(PtInRegion(probe, 2, 2));
  EXPECT_TRUE(PtInRegion(probe, 7, 7));
  DeleteObject(probe);
}

using BarWindowRoutines = BarsTest;

TEST_F(BarWindowRoutines, VerticalAndRotatedToolbars) {
  Build([](TdxBarManager* m) { m->GetBars()->Add()->SetCaption("Tools"); });
  TdxBar* bar = Manager->GetBars()->GetItem(0);
  auto window = std::make_unique<TdxBarControl>(Manager, bar);
  const struct {
    TdxBarDockingStyle docking;
    bool rotateWhenVertical, vertical, rotated;
  } cases[] = {
      {dsLeft, true, true, true},  {dsRight, true, true, true},    {dsRight, false, true, false},
      {dsTop, true, false, false}, {dsBottom, true, false, false}, {dsNone, true, false, false},
  };
  for (const auto& c : cases) {
    window->SetDockingStyle(c.docking);
    bar->RotateWhenVertical = c.rotateWhenVertical;
    EXPECT_EQ(IsVerticalBar(window.get()), c.vertical) << c.docking;
    EXPECT_EQ(IsBarControlRotated(window.get()), c.rotated) << c.docking << c.rotateWhenVertical;
  }
  EXPECT_FALSE(IsVerticalBar(nullptr));
  EXPECT_FALSE(IsBarControlRotated(nullptr));
}

TEST_F(BarWindowRoutines, OnlyTemporaryItemsNoWindowShowsAreFreed) {
  Build([](TdxBarManager* m) { m->GetBars()->Add()->SetCaption("Tools"); });
  TdxBar* bar = Manager->GetBars()->GetItem(0);
  auto window = std::make_unique<TdxBarControl>(Manager, bar);
  std::vector<String> freed;
  auto temporary = [&](const String& name, bool linked) {
    TdxBarButton* button = AddButton(Manager, name);
    button->OnDestroy = [&freed, name](TObject*) { freed.push_back(name); };
    if (linked) AddLink(bar->GetItemLinks(), button);
    TempItems().push_back(button);
    return button;
  };
  TdxBarButton* shown = temporary("Shown", true);
  temporary("Hidden", true);
  temporary("Unlinked", false);
  AddButton(Manager, "Kept"); // not temporary
  shown->GetLink(0)->CreateControl();
  ASSERT_NE(shown->GetLink(0)->GetControl(), nullptr);
  FreeUnusedTempItems();
  EXPECT_EQ(freed, (std::vector<String>{"Unlinked", "Hidden"})) << "from the last to the first";
  EXPECT_EQ(TempItems(), std::vector<TdxBarItem*>{shown});
  EXPECT_EQ(bar->GetItemLinks()->GetCount(), 1);
  EXPECT_NE(Manager->FindItemByName("Kept"), nullptr);
  shown->GetLink(0)->DestroyControl();
  FreeUnusedTempItems();
  EXPECT_TRUE(TempItems().empty());
}
