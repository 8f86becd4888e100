#include "GuiTest.h"

#include "Classes.h"

#include <utility>
#include <vector>

namespace guitest {

namespace {

// A Unix path as Wine sees it through drive Z:.
String DosPath(const String& unixPath) {
  String s = "Z:" + unixPath;
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

// Children in painting order: the bottom of the Z order first.
std::vector<HWND> ChildrenBottomUp(HWND parent) {
  std::vector<HWND> list;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    list.insert(list.begin(), child);
  return list;
}

// Sends a paint message to the window with a DC of its own at (0,0), and
// copies the result to dc at (x, y) within clip. Painting through a moved
// viewport would do: Wine's controls clip themselves in device coordinates.
void PaintInto(HDC dc, HWND wnd, int x, int y, int width, int height, const RECT& clip, UINT msg,
               LPARAM flags) {
  RECT visible;
  RECT target{x, y, x + width, y + height};
  if (width <= 0 || height <= 0 || !IntersectRect(&visible, &target, &clip)) return;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old = SelectObject(mem, bitmap);
  // What lies below shows through where the window paints nothing.
  BitBlt(mem, 0, 0, width, height, dc, x, y, SRCCOPY);
  if (msg == WM_PRINTCLIENT) SendMessageA(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
  SendMessageA(wnd, msg, reinterpret_cast<WPARAM>(mem), flags);
  BitBlt(dc, visible.left, visible.top, visible.right - visible.left, visible.bottom - visible.top, mem,
         visible.left - x, visible.top - y, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
}

// The frame and scroll bars of a child as Windows draws them without a
// visual style (Wine's WM_PRINT leaves the non-client area out). frame is the
// child's window rectangle in dc's coordinates.
void PaintNonClient(HDC dc, HWND wnd, const RECT& frame, const RECT& clip) {
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  RECT r = frame;
  const LONG style = GetWindowLongA(wnd, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(wnd, GWL_EXSTYLE);
  if (exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if (style & WS_BORDER) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  for (LONG id : {OBJID_VSCROLL, OBJID_HSCROLL}) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    if (!GetScrollBarInfo(wnd, id, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) continue;
    RECT bar = info.rcScrollBar;
    MapWindowPoints(HWND_DESKTOP, nullptr, reinterpret_cast<POINT*>(&bar), 0);
    RECT window;
    GetWindowRect(wnd, &window);
    OffsetRect(&bar, frame.left - window.left, frame.top - window.top);
    FillRect(dc, &bar, GetSysColorBrush(COLOR_SCROLLBAR));
    const bool vertical = id == OBJID_VSCROLL;
    const int arrow = vertical ? bar.right - bar.left : bar.bottom - bar.top;
    RECT first = bar, second = bar;
    if (vertical) {
      first.bottom = first.top + arrow;
      second.top = second.bottom - arrow;
    } else {
      first.right = first.left + arrow;
      second.left = second.right - arrow;
    }
    const UINT inactive = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) ? DFCS_INACTIVE : 0;
    DrawFrameControl(dc, &first, DFC_SCROLL, (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive);
    DrawFrameControl(dc, &second, DFC_SCROLL, (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive);
    if (!inactive && info.xyThumbBottom > info.xyThumbTop) {
      RECT thumb = bar;
      if (vertical) {
        thumb.top = bar.top + info.xyThumbTop;
        thumb.bottom = bar.top + info.xyThumbBottom;
      } else {
        thumb.left = bar.left + info.xyThumbTop;
        thumb.right = bar.left + info.xyThumbBottom;
      }
      FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
      DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
  }
  RestoreDC(dc, saved);
}

// A window whose region holds nothing shows nothing on screen.
bool HasEmptyRegion(HWND wnd) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool empty = GetWindowRgn(wnd, rgn) == NULLREGION;
  DeleteObject(rgn);
  return empty;
}

// Paints wnd's client area at its position in root's client coordinates,
// clipped to clip (root client coordinates), then its children.
void PaintTree(HDC dc, HWND root, HWND wnd, const RECT& clip) {
  RECT client;
  GetClientRect(wnd, &client);
  MapWindowPoints(wnd, root, reinterpret_cast<POINT*>(&client), 2);
  RECT visible;
  if (!IntersectRect(&visible, &client, &clip)) return;
  PaintInto(dc, wnd, client.left, client.top, client.right - client.left, client.bottom - client.top, visible,
            WM_PRINTCLIENT, PRF_CLIENT);

  for (HWND child : ChildrenBottomUp(wnd)) {
    if (!IsWindowVisible(child) || HasEmptyRegion(child)) continue;
    RECT frame;
    GetWindowRect(child, &frame);
    MapWindowPoints(HWND_DESKTOP, root, reinterpret_cast<POINT*>(&frame), 2);
    RECT childClip;
    if (!IntersectRect(&childClip, &frame, &visible)) continue;
    RECT childClient;
    GetClientRect(child, &childClient);
    MapWindowPoints(child, root, reinterpret_cast<POINT*>(&childClient), 2);
    if (!EqualRect(&frame, &childClient)) PaintNonClient(dc, child, frame, childClip);
    PaintTree(dc, root, child, childClip);
  }
}

} // namespace

TCapture::TCapture(int width, int height) : FWidth(width), FHeight(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  FDC = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!FBitmap) throw Exception("Cannot create a capture bitmap");
  FBits = static_cast<uint32_t*>(bits);
  FOldBitmap = SelectObject(FDC, FBitmap);
}

TCapture::TCapture(TCapture&& other) noexcept
    : FWidth(other.FWidth), FHeight(other.FHeight), FDC(std::exchange(other.FDC, nullptr)),
      FBitmap(std::exchange(other.FBitmap, nullptr)), FOldBitmap(std::exchange(other.FOldBitmap, nullptr)),
      FBits(std::exchange(other.FBits, nullptr)) {}

TCapture::~TCapture() {
  if (!FDC) return;
  SelectObject(FDC, FOldBitmap);
  DeleteObject(FBitmap);
  DeleteDC(FDC);
}

TCapture TCapture::Paint(HWND wnd) {
  RECT client;
  GetClientRect(wnd, &client);
  TCapture capture(client.right > 0 ? client.right : 1, client.bottom > 0 ? client.bottom : 1);
  PaintTree(capture.FDC, wnd, wnd, client);
  GdiFlush();
  return capture;
}

COLORREF TCapture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return CLR_INVALID;
  GdiFlush();
  uint32_t p = FBits[y * FWidth + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int TCapture::CountPixels(const RECT& r, COLORREF color) const {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (Pixel(x, y) == color) ++n;
  return n;
}

void TCapture::SaveToBmp(const String& fileName) const {
  GdiFlush();
  // 24 bits: the fourth byte GDI leaves in 32-bit pixels is no alpha, but
  // viewers take it for one.
  const uint32_t stride = (static_cast<uint32_t>(FWidth) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * FHeight;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + imageSize;
  info.biSize = sizeof(info);
  info.biWidth = FWidth;
  info.biHeight = -FHeight;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = imageSize;
  std::vector<uint8_t> pixels(imageSize);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const uint32_t p = FBits[y * FWidth + x];
      uint8_t* d = &pixels[y * stride + x * 3];
      d[0] = p & 0xFF;
      d[1] = (p >> 8) & 0xFF;
      d[2] = (p >> 16) & 0xFF;
    }
  TFileStream out(fileName, fmCreate);
  out.WriteBuffer(&file, sizeof(file));
  out.WriteBuffer(&info, sizeof(info));
  out.WriteBuffer(pixels.data(), imageSize);
}

String ScreenshotDir() {
  if (const char* dir = getenv("VELMORA_SCREENSHOTS")) return dir;
  return VELMORA_SCREENSHOT_DIR;
}

String TCapture::SavePng(const String& name) const {
  const String dir = ScreenshotDir();
  CreateDirectoryA(DosPath(dir).c_str(), nullptr);
  const String bmp = dir + "/" + name + ".bmp";
  const String png = dir + "/" + name + ".png";
  DeleteFileA(DosPath(png).c_str());
  SaveToBmp(DosPath(bmp));
  // Wine starts a Unix program when asked to run one by its Z: path, but
  // cannot wait for it: the script removes the BMP once the PNG is written.
  String command =
      "\"" + DosPath(VELMORA_SOURCE_DIR "/tools/png_from_bmp") + "\" \"" + bmp + "\" \"" + png + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return {};
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  const DWORD start = GetTickCount();
  while (GetFileAttributesA(DosPath(bmp).c_str()) != INVALID_FILE_ATTRIBUTES) {
    if (GetTickCount() - start > 30000) return {};
    Sleep(20);
  }
  return GetFileAttributesA(DosPath(png).c_str()) != INVALID_FILE_ATTRIBUTES ? png : String();
}

} // namespace guitest
