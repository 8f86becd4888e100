#include "dxBarCommon.h"

#include "dxBar.h"

#include <mmsystem.h>

#include <algorithm>

namespace {

int gScreenBitsPerPixel = 0;
HBRUSH gCheckerBrush = nullptr;

// Mouse-leave tracking without TrackMouseEvent.
HWND gTrackedWnd = nullptr;
UINT_PTR gTrackTimer = 0;

TdxSoundPlayer& SoundPlayer() {
  static TdxSoundPlayer player = [](LPCSTR sound, HMODULE module, DWORD flags) {
    return PlaySoundA(sound, module, flags);
  };
  return player;
}

// Takes queued messages of [first, last] while there are any; false after a
// WM_QUIT (posted again) or a failure.
void DispatchQueued(UINT first, UINT last) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, first, last, PM_NOREMOVE)) {
    const BOOL result = GetMessageA(&msg, nullptr, first, last);
    if (result == -1) return;
    if (result == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void CALLBACK TrackTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  POINT pt;
  GetCursorPos(&pt);
  if (gTrackedWnd && WindowFromPointDeep(pt) != gTrackedWnd) StopMouseTracking(gTrackedWnd);
}

bool TrackMouse(HWND wnd, DWORD flags) {
  TRACKMOUSEEVENT tme{};
  tme.cbSize = sizeof(tme);
  tme.dwFlags = flags;
  tme.hwndTrack = wnd;
  if (!dxUser32().TrackMouseEvent(&tme)) return false;
  // A query answers the thread's one tracked window, which may be another
  // window than the one asked about.
  return !(flags & TME_QUERY) || ((tme.dwFlags & TME_LEAVE) && tme.hwndTrack == wnd);
}

POINT ArrowOrigin(const TRect& R, bool down, int s) {
  if (down) return POINT{(R.left + R.right - (2 * s - 1)) / 2, (R.top + R.bottom - s) / 2};
  return POINT{(R.left + R.right - s) / 2, (R.top + R.bottom - (2 * s - 1)) / 2};
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

} // namespace

// ---- Geometry and system ----

TRect GetWorkAreaAtPoint(POINT Pt) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoA(MonitorFromPoint(Pt, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
  RECT r{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

void ApplyMinWidth(int& Width) {
  Width = std::max(Width, 20);
}

bool IsPrimaryMouseButtonDown() {
  return GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0;
}

bool IsSecondaryMouseButtonDown() {
  return GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_LBUTTON : VK_RBUTTON) < 0;
}

int ScreenBitsPerPixel() {
  return gScreenBitsPerPixel;
}

void ReadScreenBitsPerPixel() {
  HDC dc = GetDC(nullptr);
  gScreenBitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(nullptr, dc);
}

// ---- Bar windows ----

bool IsVerticalBar(const TCustomdxBarControl* BarControl) {
  auto* toolbar = dynamic_cast<const TdxBarControl*>(BarControl);
  return toolbar && toolbar->IsVertical();
}

bool IsBarControlRotated(const TCustomdxBarControl* BarControl) {
  return IsVerticalBar(BarControl) &&
         static_cast<const TdxBarControl*>(BarControl)->GetBar()->RotateWhenVertical;
}

void FreeUnusedTempItems() {
  auto& items = TempItems();
  // A freed item leaves the list itself.
  for (size_t i = items.size(); i-- > 0;) {
    TdxBarItem* item = items[i];
    bool shown = false;
    for (int j = 0; j < item->GetLinkCount() && !shown; ++j)
      shown = item->GetLink(j)->GetControl() != nullptr;
    if (!shown) delete item;
  }
}

// ---- Message pumps ----

void DispatchMouseMessages() {
  DispatchQueued(WM_MOUSEMOVE, WM_MOUSEWHEEL);
}

void DispatchPaintMessages() {
  DispatchQueued(WM_PAINT, WM_PAINT);
}

// ---- Sounds ----

void PlayMenuSound(int Index) {
  static const char* const kAliases[] = {"MenuPopup", "MenuCommand"};
  SoundPlayer()(kAliases[Index], nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT);
}

TdxSoundPlayer SetSoundPlayer(TdxSoundPlayer Player) {
  TdxSoundPlayer old = std::move(SoundPlayer());
  SoundPlayer() = std::move(Player);
  return old;
}

// ---- Fonts ----

HFONT CloneFontHandle(HFONT Font) {
  LOGFONTA lf{};
  GetObjectA(Font, sizeof(lf), &lf);
  return CreateFontIndirectA(&lf);
}

void CreateMenuFont(TFont* Font, HFONT& Handle, bool UseSystem) {
  if (Handle) DeleteObject(Handle);
  if (!UseSystem) {
    Handle = CloneFontHandle(Font->GetHandle());
    return;
  }
  LOGFONTA lf{};
  GetObjectA(Font->GetHandle(), sizeof(lf), &lf);
  LOGFONTA iconTitle{};
  SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0);
  lf.lfHeight = iconTitle.lfHeight >= -10 ? -11 : iconTitle.lfHeight;
  Handle = CreateFontIndirectA(&lf);
}

// ---- Clipping ----

void SaveDCClipRegion(HDC DC, HRGN& Region, bool& Existed) {
  Region = CreateRectRgn(0, 0, 0, 0);
  Existed = GetClipRgn(DC, Region) == 1;
}

void RestoreDCClipRegion(HDC DC, HRGN Region, bool Existed) {
  SelectClipRgn(DC, Existed ? Region : nullptr);
  DeleteObject(Region);
}

void UnionClipRect(HDC DC, const TRect& R) {
  HRGN region = CreateRectRgnIndirect(&R);
  ExtSelectClipRgn(DC, region, RGN_OR);
  DeleteObject(region);
}

void SubtractRectFromRegion(HRGN& Region, const TRect& R) {
  HRGN rect = CreateRectRgnIndirect(&R);
  CombineRgn(Region, Region, rect, RGN_DIFF);
  DeleteObject(rect);
}

// ---- Backgrounds ----

void TileBitmap(HDC DC, const TRect& R, const TRect& Source, TBitmap* Bitmap) {
  const int w = Bitmap->GetWidth(), h = Bitmap->GetHeight();
  if (w == 0 || h == 0 || IsRectEmpty(&Source)) return;
  HRGN saved = nullptr;
  bool existed = false;
  SaveDCClipRegion(DC, saved, existed);
  IntersectClipRect(DC, R.left, R.top, R.right, R.bottom);
  HDC source = Bitmap->GetCanvas()->GetHandle();
  for (int row = Source.top / h; row <= (Source.bottom - 1) / h; ++row)
    for (int column = Source.left / w; column <= (Source.right - 1) / w; ++column)
      BitBlt(DC, w * column + R.left - Source.left, h * row + R.top - Source.top, w, h, source, 0, 0,
             SRCCOPY);
  RestoreDCClipRegion(DC, saved, existed);
}

void FillRectOrTileBitmap(HDC DC, const TRect& R, const TRect& Source, TBitmap* Bitmap, TColor Color,
                          HBRUSH Brush) {
  if (Bitmap && !Bitmap->GetEmpty()) {
    TileBitmap(DC, R, Source, Bitmap);
    return;
  }
  if (Brush) {
    FillRect(DC, &R, Brush);
    return;
  }
  FillRectWithColor(DC, R, Color);
}

void CreateCheckerBrush() {
  TBitmap pattern;
  pattern.SetSize(8, 8);
  HDC dc = pattern.GetCanvas()->GetHandle();
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), face = GetSysColor(COLOR_BTNFACE);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      SetPixel(dc, x, y, x % 2 == y % 2 ? face : highlight);
  DeleteCheckerBrush();
  gCheckerBrush = CreatePatternBrush(pattern.GetHandle());
}

void DeleteCheckerBrush() {
  if (gCheckerBrush) DeleteObject(gCheckerBrush);
  gCheckerBrush = nullptr;
}

HBRUSH CheckerBrush() {
  return gCheckerBrush;
}

void FillVerticalGradient(HDC DC, const TRect& R, TColor StartColor, TColor EndColor) {
  const COLORREF start = ColorToRGB(StartColor), end = ColorToRGB(EndColor);
  int top = R.top;
  for (int i = 0; i < 256; ++i) {
    const int bottom = R.top + MulDiv(i + 1, R.Height(), 256);
    auto channel = [&](int shift) {
      const int s = (start >> shift) & 0xFF, e = (end >> shift) & 0xFF;
      return s + MulDiv(i, e - s, 255);
    };
    const TRect band(R.left, top, R.right, bottom);
    HBRUSH brush = CreateSolidBrush(RGB(channel(0), channel(8), channel(16)));
    FillRect(DC, &band, brush);
    DeleteObject(brush);
    top = bottom;
  }
}

void DrawTransparentSizeGrip(HDC DC, const TRect& R) {
  const int w = R.Width(), h = R.Height();
  HDC gripDC = CreateCompatibleDC(DC), maskDC = CreateCompatibleDC(DC), backDC = CreateCompatibleDC(DC);
  HBITMAP grip = CreateCompatibleBitmap(DC, w, h), back = CreateCompatibleBitmap(DC, w, h);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ oldGrip = SelectObject(gripDC, grip), oldMask = SelectObject(maskDC, mask),
          oldBack = SelectObject(backDC, back);
  RECT local{0, 0, w, h};
  DrawFrameControl(gripDC, &local, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // The mask is white where the grip shows the button face.
  SetBkColor(gripDC, GetSysColor(COLOR_BTNFACE));
  BitBlt(maskDC, 0, 0, w, h, gripDC, 0, 0, SRCCOPY);
  BitBlt(backDC, 0, 0, w, h, DC, R.left, R.top, SRCCOPY);
  SetBkColor(backDC, RGB(255, 255, 255));
  SetTextColor(backDC, RGB(0, 0, 0));
  BitBlt(backDC, 0, 0, w, h, maskDC, 0, 0, MERGEPAINT);
  SetBkColor(gripDC, RGB(255, 255, 255));
  SetTextColor(gripDC, RGB(0, 0, 0));
  BitBlt(gripDC, 0, 0, w, h, maskDC, 0, 0, SRCPAINT);
  BitBlt(backDC, 0, 0, w, h, gripDC, 0, 0, SRCAND);
  BitBlt(DC, R.left, R.top, w, h, backDC, 0, 0, SRCCOPY);
  SelectObject(gripDC, oldGrip);
  SelectObject(maskDC, oldMask);
  SelectObject(backDC, oldBack);
  DeleteObject(grip);
  DeleteObject(back);
  DeleteObject(mask);
  DeleteDC(gripDC);
  DeleteDC(maskDC);
  DeleteDC(backDC);
}

// ---- Arrows ----

int CenteredArrowSize(const TRect& R, bool Down) {
  const int e = Down ? R.Width() - 8 : R.Height() - 6;
  const int s = (e - 1) / 2 + (e % 2 != 0 ? 1 : 0);
  return std::max(s, 3);
}

void PaintTriangle(HDC DC, const TRect& R, bool Down, int S, TColor Color) {
  const POINT o = ArrowOrigin(R, Down, S);
  const POINT corners[3] = {o, Down ? POINT{o.x + 2 * S - 2, o.y} : POINT{o.x, o.y + 2 * S - 2},
                            POINT{o.x + S - 1, o.y + S - 1}};
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(Color));
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  HGDIOBJ oldPen = SelectObject(DC, pen), oldBrush = SelectObject(DC, brush);
  Polygon(DC, corners, 3);
  SelectObject(DC, oldPen);
  SelectObject(DC, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void PaintArrowTriangle(HDC DC, const TRect& R, bool Down, int S, bool Selected, bool Enabled,
                        bool NoEmboss) {
  const int colour = !Enabled ? COLOR_BTNSHADOW : Selected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
  PaintTriangle(DC, R, Down, S, static_cast<TColor>(GetSysColor(colour)));
  if (Enabled || NoEmboss) return;
  const POINT o = ArrowOrigin(R, Down, S);
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  HGDIOBJ oldPen = SelectObject(DC, pen);
  if (Down) {
    Line(DC, o.x + S, o.y + S - 1, o.x + 2 * S - 1, o.y);
    Line(DC, o.x + S, o.y + S, o.x + 2 * S, o.y);
  } else {
    Line(DC, o.x + S - 1, o.y + S, o.x, o.y + 2 * S - 1);
    Line(DC, o.x + S, o.y + S, o.x, o.y + 2 * S);
  }
  SelectObject(DC, oldPen);
  DeleteObject(pen);
}

void DrawCenteredArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool NoEmboss) {
  PaintArrowTriangle(DC, R, Down, CenteredArrowSize(R, Down), Selected, Enabled, NoEmboss);
}

void FrameRectHighlight(HDC DC, const TRect& R) {
  FrameRect(DC, &R, GetSysColorBrush(COLOR_HIGHLIGHT));
}

// ---- Drop-down window frames ----

int GetDropDownGripBandHeight() {
  const int size = GetSystemMetrics(SM_CYSIZE), scroll = GetSystemMetrics(SM_CYHSCROLL);
  return scroll + 2 < size ? size + 1 : scroll + 3;
}

int GetSizeGripCorner(const TRect& EditRect, const TRect& DropDownRect) {
  const bool right = EditRect.left < DropDownRect.right;
  const bool down = EditRect.bottom < DropDownRect.bottom;
  return (right ? 1 : 0) + (down ? 2 : 0);
}

int GetCornerHitTest(int Corner) {
  static const int kHitTests[] = {HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT, HTBOTTOMRIGHT};
  return kHitTests[Corner];
}

void PaintSizeGripCorner(HDC DC, TRect& R, int Corner) {
  const bool atRight = Corner == 1 || Corner == 3, atBottom = Corner >= 2;
  const int w = GetSystemMetrics(SM_CXVSCROLL), h = GetSystemMetrics(SM_CYHSCROLL);
  R = TRect(atRight ? R.right - w : R.left, atBottom ? R.bottom - h : R.top, atRight ? R.right : R.left + w,
            atBottom ? R.bottom : R.top + h);
  // Two-pixel strips along the outer edges, the grip in the rest.
  const TRect vertical(atRight ? R.right - 2 : R.left, R.top, atRight ? R.right : R.left + 2, R.bottom);
  const TRect horizontal(R.left, atBottom ? R.bottom - 2 : R.top, R.right, atBottom ? R.bottom : R.top + 2);
  FillRect(DC, &vertical, GetSysColorBrush(COLOR_BTNFACE));
  FillRect(DC, &horizontal, GetSysColorBrush(COLOR_BTNFACE));
  const TRect grip(atRight ? R.left : R.left + 2, atBottom ? R.top : R.top + 2,
                   atRight ? R.right - 2 : R.right, atBottom ? R.bottom - 2 : R.bottom);
  DrawMirrored(DC, grip, Corner == 0 || Corner == 2, Corner <= 1, [](HDC memory, const RECT& r) {
    DrawFrameControl(memory, const_cast<RECT*>(&r), DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  });
}

void DrawMirrored(HDC DC, const TRect& R, bool MirrorX, bool MirrorY,
                  const std::function<void(HDC Memory, const RECT& R)>& Draw) {
  const int w = R.Width(), h = R.Height();
  HDC memory = CreateCompatibleDC(DC);
  HBITMAP bitmap = CreateCompatibleBitmap(DC, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  Draw(memory, RECT{0, 0, w, h});
  StretchBlt(DC, MirrorX ? R.right - 1 : R.left, MirrorY ? R.bottom - 1 : R.top, MirrorX ? -w : w,
             MirrorY ? -h : h, memory, 0, 0, w, h, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void PaintDropDownCloseButton(HDC DC, TRect& R, bool Hot, int Corner, bool Flat, bool Pressed) {
  const int size = GetSystemMetrics(SM_CXSIZE);
  const bool atLeft = Corner == 1 || Corner == 3;
  const int top = (R.top + R.bottom - size - 1) / 2 + (Corner >= 2 ? 1 : 0);
  R = TRect(atLeft ? R.left : R.right - size, top, atLeft ? R.left + size : R.right, top + size + 1);
  InflateRect(&R, -1, -2);
  TRect r = R;
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  if (!Hot || Flat)
    FrameRect(DC, &r, face);
  else
    DrawEdge(DC, &r, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  InflateRect(&r, -1, -1);
  FrameRect(DC, &r, face);
  HRGN saved = nullptr;
  bool existed = false;
  SaveDCClipRegion(DC, saved, existed);
  IntersectClipRect(DC, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  // The glyph's own frame falls on the clipped ring.
  InflateRect(&r, 1, 1);
  if (size != 22) ++r.top;
  DrawFrameControl(DC, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT | (Pressed && !Flat ? DFCS_PUSHED : 0));
  RestoreDCClipRegion(DC, saved, existed);
}

namespace {

// The grip band of a drop-down window, inside its frame, on the side of the
// grip corner; the returned rectangles are in client coordinates.
void PaintDropDownBand(HDC dc, const TRect& bounds, const RECT& client, HBRUSH frame, int height, int corner,
                       TRect& gripRect, TRect& closeRect, const std::function<void(HDC, TRect&)>& paintGrip,
                       const std::function<void(HDC, TRect&)>& paintClose) {
  const int border = client.left;
  const bool bottom = corner >= 2;
  TRect band(border, bottom ? bounds.bottom - border - height : border, bounds.right - border,
             bottom ? bounds.bottom - border : border + height);
  // The line that separates the band from the client area.
  const TRect line(band.left, bottom ? band.top : band.bottom - 1, band.right,
                   bottom ? band.top + 1 : band.bottom);
  FillRect(dc, &line, frame);
  if (bottom)
    ++band.top;
  else
    --band.bottom;
  TRect grip = band;
  paintGrip(dc, grip);
  ExcludeClipRect(dc, grip.left, grip.top, grip.right, grip.bottom);
  InflateRect(&grip, 2, 2);
  IntersectRect(&gripRect, &grip, &band);
  OffsetRect(&gripRect, -client.left, -client.top);
  TRect close = band;
  paintClose(dc, close);
  ExcludeClipRect(dc, close.left, close.top, close.right, close.bottom);
  closeRect = close;
  OffsetRect(&closeRect, -client.left, -client.top);
  FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace

void PaintDropDownNonClient(HWND Wnd, bool HasGripBand, bool Flat, int Corner, TRect& GripRect,
                            TRect& CloseButtonRect, bool Hot, bool Pressed) {
  PaintDropDownNonClient(
      Wnd, HasGripBand, Flat ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME, GetDropDownGripBandHeight(), Corner, GripRect,
      CloseButtonRect, [&](HDC dc, TRect& r) { PaintSizeGripCorner(dc, r, Corner); },
      [&](HDC dc, TRect& r) { PaintDropDownCloseButton(dc, r, Hot || Pressed, Corner, false, Hot && Pressed); });
}

void PaintDropDownNonClient(HWND Wnd, bool HasGripBand, int FrameColor, int BandHeight, int Corner,
                            TRect& GripRect, TRect& CloseButtonRect,
                            const std::function<void(HDC DC, TRect& R)>& PaintGrip,
                            const std::function<void(HDC DC, TRect& R)>& PaintClose) {
  GripRect = CloseButtonRect = TRect();
  HDC dc = GetWindowDC(Wnd);
  RECT window, client;
  GetWindowRect(Wnd, &window);
  GetClientRect(Wnd, &client);
  MapWindowPoints(Wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  // Window coordinates of the client area.
  OffsetRect(&client, -window.left, -window.top);
  const TRect bounds(0, 0, window.right - window.left, window.bottom - window.top);
  HBRUSH frame = GetSysColorBrush(FrameColor);
  FrameRect(dc, &bounds, frame);
  if (HasGripBand) {
    PaintDropDownBand(dc, bounds, client, frame, BandHeight, Corner, GripRect, CloseButtonRect, PaintGrip,
                      PaintClose);
    // The corner between both scroll bars of a grip below the client area.
    const LONG style = GetWindowLongA(Wnd, GWL_STYLE);
    if (Corner >= 2 && (style & WS_VSCROLL) && (style & WS_HSCROLL)) {
      const int border = client.left;
      const int bandTop = bounds.bottom - border - BandHeight;
      const TRect box(bounds.right - border - GetSystemMetrics(SM_CXVSCROLL),
                      bandTop - GetSystemMetrics(SM_CYHSCROLL), bounds.right - border, bandTop);
      FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  ReleaseDC(Wnd, dc);
}

// ---- Mouse-leave tracking ----

bool IsTrackingMouse(HWND Wnd) {
  if (dxUser32().TrackMouseEvent) return TrackMouse(Wnd, TME_QUERY);
  return Wnd && Wnd == gTrackedWnd;
}

void StartMouseTracking(HWND Wnd) {
  if (IsTrackingMouse(Wnd)) return;
  if (dxUser32().TrackMouseEvent) {
    TrackMouse(Wnd, TME_LEAVE);
    return;
  }
  if (gTrackedWnd) StopMouseTracking(gTrackedWnd);
  gTrackedWnd = Wnd;
  gTrackTimer = SetTimer(nullptr, 0, 50, TrackTimerProc);
}

void StopMouseTracking(HWND Wnd) {
  if (!IsTrackingMouse(Wnd)) return;
  if (dxUser32().TrackMouseEvent) {
    TrackMouse(Wnd, TME_CANCEL | TME_LEAVE);
  } else {
    KillTimer(nullptr, gTrackTimer);
    gTrackTimer = 0;
    gTrackedWnd = nullptr;
  }
  SendMessageA(Wnd, WM_MOUSELEAVE, 0, 0);
}
