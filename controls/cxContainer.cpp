#include "cxContainer.h"

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<TcxScreenCanvas> ScreenCanvas;
FARPROC GetScrollBarInfoProc = nullptr;

bool IsEmptyRect(const TRect& R) {
  return R.right <= R.left || R.bottom <= R.top;
}

// The bands of R around AInner: left and right at full height, top and
// bottom between them.
std::vector<TRect> FrameBands(const TRect& R, const TRect& AInner) {
  if (IsEmptyRect(AInner)) return {R};
  return {TRect(R.left, R.top, AInner.left, R.bottom), TRect(AInner.left, R.top, AInner.right, AInner.top),
          TRect(AInner.left, AInner.bottom, AInner.right, R.bottom),
          TRect(AInner.right, R.top, R.right, R.bottom)};
}

} // namespace

void TcxFreeNotificator::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && OnFreeNotification) OnFreeNotification(AComponent);
}

int ContainerMouseButton(TMouseButton Button) {
  static const int codes[] = {1, 2, 3};
  return codes[Button];
}

void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->GetBrush()->SetColor(clBtnShadow);
  ACanvas->FillRect(TRect(R.left + 3, R.bottom, R.right, R.bottom + 3));
  ACanvas->ExcludeClipRect(TRect(R.left, R.bottom, R.right, R.bottom + 3));
  ACanvas->FillRect(TRect(R.right, R.top + 3, R.right + 3, R.bottom + 3));
  ACanvas->ExcludeClipRect(TRect(R.right, R.top, R.right + 3, R.bottom + 3));
}

void ShrinkRect(TRect& R, const TRect& Margins) {
  R = TRect(R.left + Margins.left, R.top + Margins.top, R.right - Margins.right, R.bottom - Margins.bottom);
}

TRect GetControlRect(TControl* AControl) {
  return TRect(0, 0, AControl->GetWidth(), AControl->GetHeight());
}

bool IsControlHandle(TWinControl* AControl, HWND Wnd) {
  return AControl && AControl->HandleAllocated() && AControl->GetHandle() == Wnd;
}

bool IsSameString(const String& S1, const String& S2, bool ACaseSensitive) {
  const char* a = S1.c_str();
  const char* b = S2.c_str();
  if (ACaseSensitive) return CompareStringA(LOCALE_USER_DEFAULT, 0, a, -1, b, -1) == CSTR_EQUAL;
  String upper1 = S1, upper2 = S2;
  CharUpperBuffA(upper1.data(), static_cast<DWORD>(upper1.size()));
  CharUpperBuffA(upper2.data(), static_cast<DWORD>(upper2.size()));
  return upper1 == upper2;
}

void DrawFrameArea(TcxCanvas* ACanvas, const TRect& R, const TRect& AInner, TColor AColor) {
  if (IsEmptyRect(R) || R == AInner) return;
  for (const TRect& band : FrameBands(R, AInner))
    ACanvas->FillRect(band, AColor);
}

TPoint GetMouseCursorPos() {
  return Mouse->GetCursorPos();
}

TShiftState GetShiftState() {
  TShiftState shift = KeyboardStateToShiftState();
  if (GetKeyState(VK_LBUTTON) < 0) shift.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) shift.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) shift.Include(ssMiddle);
  return shift;
}

void InvalidateFrameArea(HWND Wnd, const TRect& R, const TRect& AInner, bool AErase) {
  for (const TRect& band : FrameBands(R, AInner))
    ::InvalidateRect(Wnd, &band, AErase);
}

void InvalidateWinControlRect(TWinControl* AControl, const TRect& R, bool AErase) {
  if (AControl->HandleAllocated()) ::InvalidateRect(AControl->GetHandle(), &R, AErase);
}

bool IsWinControlVisible(TWinControl* AControl) {
  return AControl->HandleAllocated() && IsWindowVisible(AControl->GetHandle());
}

TcxCanvas* GetScreenCanvas() {
  return ScreenCanvas.get();
}

void SetWindowRegionFromRect(TWinControl* AControl, const TRect* R) {
  HRGN region = R ? CreateRectRgnIndirect(R) : nullptr;
  SetWindowRgn(AControl->GetHandle(), region, FALSE);
}

void SetContainerWindowRegion(HWND Wnd, const TRect& R, bool AShadow, bool ANative, const TRect* AExcluded) {
  HRGN region = nullptr;
  if (!ANative) {
    region = CreateRectRgnIndirect(&R);
    if (AShadow) {
      HRGN shadow = CreateRectRgn(R.left + 3, R.top + 3, R.right + 3, R.bottom + 3);
      CombineRgn(region, region, shadow, RGN_OR);
      DeleteObject(shadow);
    }
    if (AExcluded) {
      HRGN excluded = CreateRectRgnIndirect(AExcluded);
      CombineRgn(region, region, excluded, RGN_DIFF);
      DeleteObject(excluded);
    }
  }
  HRGN current = CreateRectRgn(0, 0, 0, 0);
  const bool hasRegion = GetWindowRgn(Wnd, current) != ERROR;
  const bool differs = region ? !hasRegion || !EqualRgn(region, current) : hasRegion;
  DeleteObject(current);
  if (differs) {
    SetWindowRgn(Wnd, region, TRUE);
    return;
  }
  if (region) DeleteObject(region);
}

bool IsScrollBarInfoAvailable() {
  return GetScrollBarInfoProc != nullptr;
}

BOOL cxGetScrollBarInfo(HWND Wnd, LONG IdObject, SCROLLBARINFO* Info) {
  if (!GetScrollBarInfoProc) return FALSE;
  using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, SCROLLBARINFO*);
  return reinterpret_cast<TGetScrollBarInfo>(reinterpret_cast<void*>(GetScrollBarInfoProc))(Wnd, IdObject,
                                                                                            Info);
}

bool GetNativeScrollBarRect(HWND Wnd, TScrollBarKind Kind, HWND ToWnd, TRect& R, bool& Enabled) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  if (!cxGetScrollBarInfo(Wnd, Kind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, &info)) return false;
  if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return false;
  Enabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
  R = info.rcScrollBar;
  MapWindowRect(nullptr, ToWnd, R);
  return true;
}

void CopyNativeScrollBarRange(HWND Wnd, TScrollBarKind Kind, TcxScrollBar* Bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(Wnd, Kind == sbHorizontal ? SB_HORZ : SB_VERT, &info)) return;
  const int page = std::min(static_cast<int>(info.nPage), info.nMax);
  Bar->SetScrollParams(info.nMin, info.nMax, info.nPos, page, true);
}

bool IsNativeBorderAvailable(bool ANative, TdxThemedObjectType AThemeClass) {
  return ANative && OpenThemeHandle(AThemeClass) != nullptr;
}

void AddFreeNotification(TComponent* AComponent, TComponent* AOther) {
  if (AOther) AOther->FreeNotification(AComponent);
}

void RemoveFreeNotification(TComponent* AComponent, TComponent* AOther) {
  if (AOther) AOther->RemoveFreeNotification(AComponent);
}

void cxContainerInitialize() {
  ScreenCanvas = std::make_unique<TcxScreenCanvas>();
  GetScrollBarInfoProc = GetProcAddress(GetModuleHandleA("user32.dll"), "GetScrollBarInfo");
}

void cxContainerFinalize() {
  GetScrollBarInfoProc = nullptr;
  ScreenCanvas.reset();
}
