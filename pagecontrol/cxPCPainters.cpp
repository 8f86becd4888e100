// The painter framework: the clip stack, tab image and caption drawing with
// turned captions, text colours, and the painter factory.
#include "cxPCPainters.h"
#include "cxPCConsts.h"

#include "dxThemeManager.h"

#include <algorithm>

namespace {

// Chosen once, when the module starts: the system's hot-light colour where
// the system has one for this use, else pure blue.
TColor ChooseHotTrackColor() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return static_cast<TColor>(0xFF0000);
  const bool win9x = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && info.dwMinorVersion != 0;
  const bool nt5 = info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 5;
  return win9x || nt5 ? clHotLight : static_cast<TColor>(0xFF0000);
}

const TColor kHotTrackColor = ChooseHotTrackColor();

} // namespace

TColor HotTrackColor() {
  return kHotTrackColor;
}

TColor TcxPCPainterParentInfo::HotTrackColor() const {
  return ::HotTrackColor();
}

// ---- Painter ----

TcxPCCustomPainter::TcxPCCustomPainter(TcxCustomTabControl* AControl)
    : FParentInfo(std::make_unique<TcxPCPainterParentInfo>(AControl)), FControl(AControl) {}

TcxPCCustomPainter::~TcxPCCustomPainter() {
  for (HRGN region : FClipStack)
    if (region) DeleteObject(region);
}

void TcxPCCustomPainter::CorrectTabRect(int, TRect& Deltas) {
  Deltas = TRect(0, 0, 0, 0);
}

void TcxPCCustomPainter::Paint() {
  if (!FParentInfo->HideTabs()) {
    PrepareDrawing();
    DrawNavigatorButtons();
    DrawTabs();
  }
  DrawFrame();
}

void TcxPCCustomPainter::SaveClipRgn() {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetClipRgn(Canvas()->GetHandle(), region) != 1) {
    DeleteObject(region);
    region = nullptr;
  }
  FClipStack.push_back(region);
}

void TcxPCCustomPainter::RestoreClipRgn() {
  if (FClipStack.empty()) return;
  HRGN region = FClipStack.back();
  FClipStack.pop_back();
  SelectClipRgn(Canvas()->GetHandle(), region);
  if (region) DeleteObject(region);
}

bool TcxPCCustomPainter::SetClipRect(const TRect& R, bool Intersect) {
  if (IsRectEmpty(&R)) return false;
  HDC dc = Canvas()->GetHandle();
  if (Intersect && !RectVisible(dc, &R)) return false;
  SaveClipRgn();
  if (Intersect) {
    Canvas()->IntersectClipRect(R);
  } else {
    // A clip region is in device units: offset by the window origin.
    POINT origin;
    GetWindowOrgEx(dc, &origin);
    POINT viewport;
    GetViewportOrgEx(dc, &viewport);
    HRGN region = CreateRectRgn(R.left - origin.x + viewport.x, R.top - origin.y + viewport.y,
                                R.right - origin.x + viewport.x, R.bottom - origin.y + viewport.y);
    SelectClipRgn(dc, region);
    DeleteObject(region);
  }
  return true;
}

void TcxPCCustomPainter::DrawPolyline(const std::vector<TPoint>& Points, TColor Color) {
  if (Points.empty()) return;
  Canvas()->GetPen()->SetColor(Color);
  Canvas()->Polyline(Points.data(), static_cast<int>(Points.size()));
  Canvas()->SetPixel(Points.back().x, Points.back().y, Color);
}

void TcxPCCustomPainter::InvalidateRect(const TRect& R) {
  FControl->InvalidateRect(R, false);
}

void TcxPCCustomPainter::InvalidateTabsArea(int VisibleIndex) {
  InvalidateRect(FControl->GetTabsArea(VisibleIndex));
}

void TcxPCCustomPainter::InvalidateTab(int VisibleIndex) {
  InvalidateRect(VisibleTab(VisibleIndex)->GetVisibleRect());
}

bool TcxPCCustomPainter::IsOwnerDrawn() {
  return FControl->GetOwnerDraw() && FControl->OnDrawTab;
}

bool TcxPCCustomPainter::DoCustomDraw(int VisibleIndex) {
  bool defaultDraw = true;
  FControl->OnDrawTab(FControl, VisibleTab(VisibleIndex), defaultDraw);
  return !defaultDraw;
}

void TcxPCCustomPainter::DoDrawTabEx(int VisibleIndex, TFont* Font) {
  if (FControl->OnDrawTabEx) FControl->OnDrawTabEx(FControl, VisibleTab(VisibleIndex), Font);
}

void TcxPCCustomPainter::PrepareTabImageAndText(int VisibleIndex, const TRect& ImageRect, const String& Text,
                                                const TRect& TextRect) {
  TFont saved;
  saved.Assign(Canvas()->GetFont());
  DoDrawTabEx(VisibleIndex, Canvas()->GetFont());
  FPreparedTab = VisibleIndex;
  FImageRect = ImageRect;
  FPreparedText = Text;
  FTextRect = TextRect;
  Canvas()->SetFont(&saved);
}

SIZE TcxPCCustomPainter::GetImageSize() {
  return FControl->GetImageList()->GetImageSize();
}

SIZE TcxPCCustomPainter::GetDrawnImageSize() {
  return FControl->GetImageList()->GetDrawnImageSize();
}

TColor TcxPCCustomPainter::GetTabTextColor() {
  TcxTab* tab = VisibleTab(FPreparedTab);
  if (tab->IsHot() && (!IsNativePainting() || FControl->GetHotTrack())) return FParentInfo->HotTrackColor();
  if (tab->GetHighlighted()) return GetHighlightedTextColor(FPreparedTab);
  return Canvas()->GetFont()->GetColor();
}

TColor TcxPCCustomPainter::GetHighlightedTextColor(int VisibleIndex) {
  if (!IsNativePainting()) return clHighlightText;
  int part;
  int state;
  GetTabPartAndState(VisibleIndex, part, state);
  COLORREF color;
  if (SUCCEEDED(
          dxUxTheme::GetThemeColor(OpenThemeHandle(totTab), part, state, 3803 /* TMT_TEXTCOLOR */, &color)))
    return static_cast<TColor>(color);
  return Canvas()->GetFont()->GetColor();
}

TBitmap* TcxPCCustomPainter::GetCaptionBitmap(int VisibleIndex) {
  return VisibleTab(VisibleIndex)->GetCaptionBitmap();
}

void TcxPCCustomPainter::CreateCaptionBitmap(int VisibleIndex) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  VisibleTab(VisibleIndex)->SetCaptionBitmap(std::move(bitmap));
}

void TcxPCCustomPainter::PrepareBitmap(TBitmap* Bitmap, const SIZE& Size, bool Transparent, TColor Color) {
  Bitmap->SetSize(Size.cx, Size.cy);
  TCanvas* canvas = Bitmap->GetCanvas();
  canvas->GetBrush()->Assign(Canvas()->GetBrush());
  canvas->GetFont()->Assign(Canvas()->GetFont());
  canvas->GetPen()->Assign(Canvas()->GetPen());
  if (Transparent) {
    Bitmap->SetTransparent(true);
    return;
  }
  canvas->GetBrush()->SetColor(Color);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->FillRect(TRect(0, 0, Size.cx, Size.cy));
  canvas->GetBrush()->Assign(Canvas()->GetBrush());
}

void TcxPCCustomPainter::DrawTabImageAndText(TColor BackgroundColor) {
  TcxTab* tab = VisibleTab(FPreparedTab);
  const bool native = IsNativePainting();
  if (FControl->GetTabImageIndex(tab->GetIndex()) != -1) {
    TCanvas* target = native ? tab->GetPaintBitmap()->GetCanvas() : Canvas()->GetCanvas();
    FControl->GetImageList()->Draw(target, FImageRect.left, FImageRect.top,
                                   FControl->GetTabImageIndex(tab->GetIndex()), tab->RealEnabled(),
                                   BackgroundColor);
    if (!native) Canvas()->ExcludeClipRect(FImageRect);
  }
  if (FPreparedText.empty()) return;
  if (FControl->NeedsRotatedCaptions())
    DrawRotatedCaption(BackgroundColor);
  else
    DrawPlainCaption(BackgroundColor);
  if (!native) Canvas()->ExcludeClipRect(FTextRect);
}

void TcxPCCustomPainter::DrawTextInto(TBitmap* Bitmap, const TRect& R, bool Enabled, TColor BackgroundColor) {
  TCanvas* canvas = Bitmap->GetCanvas();
  const bool native = IsNativePainting();
  if (!native) PrepareBitmap(Bitmap, SIZE{R.Width(), R.Height()}, false, BackgroundColor);
  canvas->GetFont()->Assign(Canvas()->GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  const TRect box = native ? R : TRect(0, 0, R.Width(), R.Height());
  auto draw = [&](int offset) {
    DoDrawTabEx(FPreparedTab, canvas->GetFont());
    RECT r{box.left + offset, box.top + offset, box.right, box.bottom};
    SetBkMode(canvas->GetHandle(), TRANSPARENT);
    ::DrawTextA(canvas->GetHandle(), FPreparedText.c_str(), static_cast<int>(FPreparedText.size()), &r, 0);
  };
  if (Enabled) {
    canvas->GetFont()->SetColor(GetTabTextColor());
  } else {
    canvas->GetFont()->SetColor(clBtnHighlight);
    draw(1);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  draw(0);
}

void TcxPCCustomPainter::DrawPlainCaption(TColor BackgroundColor) {
  TcxTab* tab = VisibleTab(FPreparedTab);
  if (IsNativePainting())
    return DrawTextInto(tab->GetPaintBitmap(), FTextRect, tab->RealEnabled(), BackgroundColor);
  TBitmap bitmap;
  DrawTextInto(&bitmap, FTextRect, tab->RealEnabled(), BackgroundColor);
  Canvas()->Draw(FTextRect.left, FTextRect.top, &bitmap);
}

void TcxPCCustomPainter::DrawRotatedCaption(TColor BackgroundColor) {
  TcxTab* tab = VisibleTab(FPreparedTab);
  if (!tab->GetCaptionBitmap()) {
    CreateCaptionBitmap(FPreparedTab);
    const TRect unrotated(0, 0, FTextRect.Height(), FTextRect.Width());
    DrawTextInto(tab->GetCaptionBitmap(), unrotated, tab->RealEnabled(), BackgroundColor);
    RotateTabBitmap(tab->GetCaptionBitmap(), FControl->GetTextDirection());
  }
  if (IsNativePainting())
    tab->GetPaintBitmap()->GetCanvas()->Draw(FTextRect.left, FTextRect.top, tab->GetCaptionBitmap());
  else
    Canvas()->Draw(FTextRect.left, FTextRect.top, tab->GetCaptionBitmap());
}

void RotateTabBitmap(TBitmap* Bitmap, int Kind) {
  if (Kind < 1 || Kind > 3) return;
  const int width = Bitmap->GetWidth();
  const int height = Bitmap->GetHeight();
  if (width == 0 || height == 0) return;
  Bitmap->SetPixelFormat(pf32bit);
  GdiFlush();
  std::vector<uint32_t> source(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const uint32_t*>(Bitmap->GetScanLine(y));
    std::copy(row, row + width, source.begin() + static_cast<size_t>(y) * width);
  }
  std::vector<uint32_t> target(source.size());
  int newWidth = width;
  int newHeight = height;
  if (Kind == 3) {
    std::reverse_copy(source.begin(), source.end(), target.begin());
  } else {
    newWidth = height;
    newHeight = width;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const int nx = Kind == 1 ? y : height - 1 - y;
        const int ny = Kind == 1 ? width - 1 - x : x;
        target[static_cast<size_t>(ny) * newWidth + nx] = source[static_cast<size_t>(y) * width + x];
      }
  }
  // A bitmap that keeps its size registers the change by a widening and
  // narrowing that keeps its pixels.
  if (newWidth == width && newHeight == height) {
    Bitmap->SetSize(width + 1, height);
    Bitmap->SetSize(width, height);
  } else {
    Bitmap->SetSize(newWidth, newHeight);
  }
  for (int y = 0; y < newHeight; ++y) {
    auto* row = static_cast<uint32_t*>(Bitmap->GetScanLine(y));
    std::copy(target.begin() + static_cast<size_t>(y) * newWidth,
              target.begin() + static_cast<size_t>(y + 1) * newWidth, row);
  }
}

// ---- Factory ----

void TcxPCPaintersFactory::Error(const String& MethodName, UINT TextId) const {
  throw Exception("TcxPCPaintersFactory." + MethodName + ": " + cxPCResString(TextId));
}

void TcxPCPaintersFactory::RegisterPainterClass(const TcxPCPainterClass* Class) {
  if (std::find(FClasses.begin(), FClasses.end(), Class) == FClasses.end()) FClasses.push_back(Class);
}

const TcxPCPainterClass* TcxPCPaintersFactory::GetPainterClass(TcxPCStyleID StyleID) const {
  for (const TcxPCPainterClass* c : FClasses)
    if (c->StyleID == StyleID) return c;
  return nullptr;
}

std::unique_ptr<TcxPCCustomPainter>
TcxPCPaintersFactory::GetPainterInstance(const TcxPCPainterClass* Class,
                                         TcxCustomTabControl* AControl) const {
  if (!Class) Error("GetPainterInstance", scxPCPainterClassNil);
  return Class->Create(AControl);
}

TcxPCStyleID TcxPCPaintersFactory::GetDefaultStyleID(TcxLookAndFeel* LookAndFeel) const {
  if (FClasses.empty()) Error("GetDefaultStyleID", scxPCNoRegisteredStyles);
  for (auto it = FClasses.rbegin(); it != FClasses.rend(); ++it)
    if ((*it)->IsDefaultForLookAndFeel(LookAndFeel)) return (*it)->StyleID;
  return FClasses.front()->StyleID;
}

TcxPCStyleID TcxPCPaintersFactory::GetLookAndFeelStyleID(TcxLookAndFeel* LookAndFeel) const {
  for (auto it = FClasses.rbegin(); it != FClasses.rend(); ++it)
    if ((*it)->MatchesLookAndFeel(LookAndFeel)) return (*it)->StyleID;
  return -1;
}

TcxPCPaintersFactory* PaintersFactory() {
  static TcxPCPaintersFactory factory = [] {
    TcxPCPaintersFactory f;
    f.RegisterPainterClass(&TabsPainterClass);
    f.RegisterPainterClass(&ButtonsPainterClass);
    f.RegisterPainterClass(&FlatButtonsPainterClass);
    f.RegisterPainterClass(&FlatPainterClass);
    return f;
  }();
  return &factory;
}
