#include "cxProgressBar.h"

#include "cxEditPaintUtils.h"
#include "cxExtEditConsts.h"
#include "cxExtEditUtils.h"

#include <algorithm>
#include <cmath>
#include <climits>

namespace {

// The themed parts: the bar and the fill of each direction; state 1.
constexpr int PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4;

TRect Moved(TRect R, int DX, int DY) {
  OffsetRect(&R, DX, DY);
  return R;
}

// One channel a/b of the way from c1 to c2; a/b may pass 1 and b may be 0
// in the overload part, so the channel is kept within its byte.
int GradientChannel(int c1, int c2, int a, int b) {
  const double v = c1 + static_cast<double>((c2 - c1) * a) / std::max(b, 1);
  return std::clamp(static_cast<int>(std::trunc(v)), 0, 255);
}

void FillBitmap(TBitmap* ABitmap, TColor AColor) {
  TCanvas* canvas = ABitmap->GetCanvas();
  canvas->GetBrush()->SetColor(AColor);
  canvas->FillRect(TRect(0, 0, ABitmap->GetWidth(), ABitmap->GetHeight()));
}

} // namespace

TColor GetGradientColor(TColor c1, TColor c2, int a, int b) {
  const COLORREF from = ColorToRGB(c1), to = ColorToRGB(c2);
  return static_cast<TColor>(RGB(GradientChannel(GetRValue(from), GetRValue(to), a, b),
                                 GradientChannel(GetGValue(from), GetGValue(to), a, b),
                                 GradientChannel(GetBValue(from), GetBValue(to), a, b)));
}

// ---- Drawing one bar ----

namespace {

class TBarPainter {
public:
  TBarPainter(TcxCustomProgressBarViewInfo* AInfo, TcxCanvas* ACanvas)
      : FInfo(AInfo), FSettings(AInfo->Settings), FCanvas(ACanvas) {}
  void Paint();

private:
  bool Horizontal() const { return FSettings.Orientation == cxorHorizontal; }
  bool Full() const { return FInfo->Position >= FSettings.Max; }
  TCanvas* B() { return FBitmap.GetCanvas(); }
  void DrawBackground();
  void DrawTheme();
  void DrawSegmentBevel(const TRect& R);
  void Fill(const TRect& R, TColor AColor, bool ABevel = true);
  void CopySlice(int X, int Y);
  void DrawSolid();
  void DrawGradient();
  void DrawLEDs(bool AGradient);
  void DrawLEDsHorizontal(bool AGradient);
  void DrawLEDsVertical(bool AGradient);
  void DrawBitmap();
  void DrawBitmapLEDs();
  // The colour of the gradient at the loop index, switched to the
  // overload pair once the index reaches the overload part.
  TColor GradientAt(int AIndex);
  void DrawText();
  bool IsTrueTypeFont(TFont* AFont);
  // In the text's font, which may be turned.
  void TextOut(TCanvas* ACanvas, int X, int Y, const String& AText, TColor AColor);
  void DrawTwoTone(const String& AText, int X, int Y, int AMaskWidth, int AMaskHeight, int AMaskX, int AMaskY,
                   int ATextX, int ATextY);

  TcxCustomProgressBarViewInfo* FInfo;
  const TcxProgressBarSettings& FSettings;
  TcxCanvas* FCanvas;
  TBitmap FBitmap;
  TBitmap FSlice;
  bool FNative = false;
  int W = 0, H = 0, M = 0;
  TRect FProgress, FOverload, FPeak, F, G;
  TColor c1 = clNone, c2 = clNone;
  HFONT FTextFont = nullptr;
};

void TBarPainter::Paint() {
  W = FInfo->BarRect.Width();
  H = FInfo->BarRect.Height();
  FNative = FInfo->NativeStyle;
  M = FNative || FInfo->IsInplace ? 0 : 2;
  FProgress = FInfo->ProgressRect;
  FOverload = FInfo->OverloadRect;
  FPeak = FInfo->PeakRect;
  if (FInfo->IsInplace) {
    const int dx = -FInfo->BarRect.left, dy = -FInfo->BarRect.top;
    FProgress = Moved(FProgress, dx, dy);
    FOverload = Moved(FOverload, dx, dy);
    FPeak = Moved(FPeak, dx, dy);
  }
  FBitmap.SetPixelFormat(pf32bit);
  FBitmap.SetSize(W + M, H + M);
  DrawBackground();
  if (FNative) DrawTheme();
  F = FProgress;
  if (FInfo->OverloadActive)
    F = Horizontal() ? TRect(FProgress.left, FProgress.top, FOverload.right, FProgress.bottom)
                     : TRect(FOverload.left, FOverload.top, FProgress.right, FProgress.bottom);
  G = F;
  c1 = FSettings.BeginColor;
  c2 = FSettings.EndColor;
  TcxProgressBarBarStyle style = FSettings.BarStyle;
  if (FNative && style == cxbsSolid) style = cxbsGradient;
  if (FNative && style == cxbsLEDs) style = cxbsGradientLEDs;
  switch (style) {
  case cxbsSolid:
    DrawSolid();
    break;
  case cxbsGradient:
    DrawGradient();
    break;
  case cxbsLEDs:
  case cxbsGradientLEDs:
    DrawLEDs(style == cxbsGradientLEDs);
    break;
  case cxbsBitmap:
    DrawBitmap();
    break;
  case cxbsBitmapLEDs:
    DrawBitmapLEDs();
    break;
  }
  if (FInfo->PeakVisible) Fill(FPeak, FSettings.PeakColor, false);
  if (FSettings.ShowText) DrawText();
  FCanvas->GetCanvas()->CopyRect(Bounds(FInfo->BarRect.left, FInfo->BarRect.top, W, H), B(),
                                 Bounds(M, M, W, H));
}

void TBarPainter::DrawBackground() {
  if (!FInfo->IsTransparent) return FillBitmap(&FBitmap, FInfo->GetBackgroundColor());
  if (FInfo->IsInplace) {
    B()->CopyRect(TRect(0, 0, W + M, H + M), FCanvas->GetCanvas(), FInfo->BarRect);
    return;
  }
  RECT window;
  GetWindowRect(FInfo->WindowHandle, &window);
  HWND desktop = GetDesktopWindow();
  HDC dc = GetDCEx(desktop, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  BitBlt(B()->GetHandle(), 0, 0, W + M, H + M, dc, window.left, window.top, SRCCOPY);
  ReleaseDC(desktop, dc);
}

void TBarPainter::DrawTheme() {
  HTHEME theme = OpenThemeHandle(totProgress);
  const int bar = Horizontal() ? PP_BAR : PP_BARVERT;
  const int fill = Horizontal() ? PP_CHUNK : PP_CHUNKVERT;
  TRect slice;
  if (Horizontal()) {
    FSlice.SetSize(1, std::max<int>(FProgress.Height(), 0));
    slice = TRect(-4, 0, 1, FSlice.GetHeight());
  } else {
    FSlice.SetSize(std::max<int>(FProgress.Width(), 0), 1);
    slice = TRect(0, -4, FSlice.GetWidth(), 1);
  }
  if (!theme) return;
  if (!FInfo->IsTransparent) {
    const RECT r{0, 0, W, H};
    dxUxTheme::DrawThemeBackground(theme, B()->GetHandle(), bar, 1, &r, nullptr);
  }
  if (FSlice.GetEmpty()) return;
  dxUxTheme::DrawThemeBackground(theme, FSlice.GetCanvas()->GetHandle(), fill, 1, &slice, nullptr);
}

void TBarPainter::DrawSegmentBevel(const TRect& R) {
  if (FSettings.BarBevelOuter == cxbvNone) return;
  const UINT edge = FSettings.BarBevelOuter == cxbvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
  RECT r = R;
  DrawEdge(B()->GetHandle(), &r, edge, BF_LEFT | BF_TOP);
  DrawEdge(B()->GetHandle(), &r, edge, BF_RIGHT | BF_BOTTOM);
}

void TBarPainter::Fill(const TRect& R, TColor AColor, bool ABevel) {
  B()->GetPen()->SetColor(AColor);
  B()->GetBrush()->SetColor(AColor);
  B()->FillRect(R);
  if (ABevel) DrawSegmentBevel(R);
}

void TBarPainter::CopySlice(int X, int Y) {
  if (FSlice.GetEmpty()) return;
  BitBlt(B()->GetHandle(), X, Y, FSlice.GetWidth(), FSlice.GetHeight(), FSlice.GetCanvas()->GetHandle(), 0, 0,
         SRCCOPY);
}

void TBarPainter::DrawSolid() {
  if (FInfo->OverloadActive) {
    Fill(FProgress, FSettings.BeginColor, false);
    Fill(FOverload, FSettings.OverloadBeginColor, false);
  } else {
    Fill(F, FSettings.BeginColor, false);
  }
  DrawSegmentBevel(F);
}

TColor TBarPainter::GradientAt(int AIndex) {
  int a = 0, b = 0;
  if (Horizontal()) {
    a = AIndex - F.left;
    b = W;
    if (FInfo->OverloadActive && AIndex - F.left >= FOverload.left - 1) {
      a = AIndex - FOverload.left;
      b = FOverload.left;
      c1 = FSettings.OverloadBeginColor;
      c2 = FSettings.OverloadEndColor;
    }
  } else {
    a = F.bottom - AIndex;
    b = H;
    if (FInfo->OverloadActive && AIndex < FOverload.bottom) {
      a = FOverload.bottom - AIndex;
      b = FOverload.bottom;
      c1 = FSettings.OverloadBeginColor;
      c2 = FSettings.OverloadEndColor;
    }
  }
  return GetGradientColor(c1, c2, a, b);
}

void TBarPainter::DrawGradient() {
  TCanvas* canvas = B();
  if (Horizontal()) {
    for (int x = F.left; x < F.right; ++x) {
      if (FNative) {
        CopySlice(x, F.top);
        continue;
      }
      canvas->GetPen()->SetColor(GradientAt(x));
      canvas->MoveTo(x, F.top);
      canvas->LineTo(x, F.bottom);
    }
  } else {
    for (int y = F.bottom - 1; y >= F.top; --y) {
      if (FNative) {
        CopySlice(F.left, y);
        continue;
      }
      canvas->GetPen()->SetColor(GradientAt(y));
      canvas->MoveTo(F.left, y);
      canvas->LineTo(F.right, y);
    }
  }
  if (!FNative) DrawSegmentBevel(F);
}

void TBarPainter::DrawLEDs(bool AGradient) {
  if (Horizontal())
    DrawLEDsHorizontal(AGradient);
  else
    DrawLEDsVertical(AGradient);
}

void TBarPainter::DrawLEDsHorizontal(bool AGradient) {
  const int s = 2 * (AGradient ? F.Height() : H) / 3;
  const int k = s + 2;
  TColor c = FSettings.BeginColor;
  int l = 0;
  auto slices = [&](int from, int to) {
    for (int x = from; x <= to; ++x)
      CopySlice(x, F.top);
  };
  for (int x = F.left; x < F.right; ++x) {
    if ((x - F.left) % k != 0 || x - k < F.left) continue;
    l = x;
    G.right = x - 2;
    const bool rest = F.right - x - 2 < k;
    if (FNative && AGradient) {
      slices(x - k, x - 3);
      if (rest) slices(x, F.right);
      continue;
    }
    if (AGradient)
      c = GradientAt(x);
    else if (FInfo->OverloadActive && x >= FOverload.left - 1)
      c = FSettings.OverloadBeginColor;
    Fill(TRect(x - k, F.top, x - 2, F.bottom), c);
    if (rest) Fill(TRect(x, F.top, F.right, F.bottom), c);
  }
  if (!Full()) return;
  if (FNative && AGradient) return slices(l, F.right - 1);
  if (FInfo->OverloadActive) {
    c1 = FSettings.OverloadBeginColor;
    c2 = FSettings.OverloadEndColor;
    c = FSettings.OverloadBeginColor;
  }
  if (AGradient) c = GetGradientColor(c1, c2, l - F.left, W);
  Fill(TRect(l, F.top, F.right, F.bottom), c);
}

void TBarPainter::DrawLEDsVertical(bool AGradient) {
  const int s = 2 * (AGradient ? F.Width() : W) / 3;
  const int k = s + 2;
  TColor c = FSettings.BeginColor;
  int l = 0;
  auto slices = [&](int from, int to) {
    for (int y = from; y <= to; ++y)
      CopySlice(F.left, y);
  };
  for (int y = F.bottom - 1; y >= F.top; --y) {
    if ((F.bottom - y - 1) % k != 0 || F.bottom < y + k) continue;
    l = y;
    G.top = y + 2;
    const bool rest = y - F.top < k;
    if (FNative && AGradient) {
      slices(y + 3, y + 2 + s);
      if (rest) slices(F.top, y);
      continue;
    }
    if (AGradient)
      c = GradientAt(y);
    else if (FInfo->OverloadActive && y < FOverload.bottom)
      c = FSettings.OverloadBeginColor;
    Fill(TRect(F.left, y + 2, F.right, y + k), c);
    if (rest) Fill(TRect(F.left, F.top, F.right, y), c);
  }
  if (!Full()) return;
  if (FNative && AGradient) return slices(F.top, l);
  if (FInfo->OverloadActive) {
    c1 = FSettings.OverloadBeginColor;
    c2 = FSettings.OverloadEndColor;
    c = FSettings.OverloadBeginColor;
  }
  if (AGradient) c = GetGradientColor(c1, c2, F.bottom - l, H);
  Fill(TRect(F.left, F.top, F.right, l), c);
}

void TBarPainter::DrawBitmap() {
  TBitmap* picture = FInfo->ForegroundImage.get();
  if (picture->GetWidth() <= 0 || picture->GetHeight() <= 0) return;
  B()->GetBrush()->SetBitmap(picture);
  B()->FillRect(F);
  B()->GetBrush()->SetBitmap(nullptr);
}

void TBarPainter::DrawBitmapLEDs() {
  TBitmap* picture = FInfo->ForegroundImage.get();
  if (picture->GetWidth() <= 0 || picture->GetHeight() <= 0) return;
  TCanvas* canvas = B();
  canvas->GetBrush()->SetBitmap(picture);
  const bool exact = FInfo->Position == FSettings.Max;
  if (Horizontal()) {
    const int o = std::min<int>(picture->GetWidth(), F.Height());
    for (int x = F.left; x < F.right; ++x) {
      if ((x - F.left) % (o + 2) != 0) continue;
      G.right = x - 2;
      canvas->FillRect(G);
      G.left = x;
      if (F.right - x - 2 < o) canvas->FillRect(TRect(x, F.top, F.right, F.bottom));
    }
    if (exact) G.right = F.right;
  } else {
    const int o = std::min<int>(picture->GetHeight(), F.Width());
    for (int y = F.bottom - 1; y >= F.top; --y) {
      if ((F.bottom - y - 1) % (o + 2) != 0) continue;
      G.top = y + 2;
      canvas->FillRect(G);
      G.bottom = y;
      if (y - F.top < o) canvas->FillRect(TRect(F.left, F.top, F.right, y));
    }
    if (exact) G.top = F.top;
  }
  if (exact) canvas->FillRect(G);
  canvas->GetBrush()->SetBitmap(nullptr);
}

void TBarPainter::DrawText() {
  String text;
  if (FSettings.ShowTextStyle == cxtsPosition) {
    text = IntToStr(FInfo->Position);
  } else {
    const double ratio = static_cast<double>(FInfo->Position - FSettings.Min) / FInfo->GetBarRange();
    text = IntToStr(std::min(static_cast<int>(std::nearbyint(ratio * 100)), 100)) + " %";
  }
  const bool vertical = FSettings.TextOrientation == cxorVertical;
  TFont font;
  font.Assign(FInfo->Font);
  if (vertical && !IsTrueTypeFont(&font)) font.SetName("Arial");
  LOGFONTA logFont{};
  GetObjectA(font.GetHandle(), sizeof(logFont), &logFont);
  if (vertical) logFont.lfEscapement = logFont.lfOrientation = 2700;
  FTextFont = CreateFontIndirectA(&logFont);
  SIZE size{0, 0};
  {
    HDC dc = B()->GetHandle();
    HGDIOBJ old = SelectObject(dc, FTextFont);
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
  }
  const int tw = size.cx, th = size.cy;
  if (!vertical) {
    const int x = (W - tw) / 2 + M, y = (H - th) / 2 + M;
    if (x >= G.right || FSettings.SolidTextColor) {
      TextOut(B(), x, y, text, FInfo->TextColor);
    } else {
      DrawTwoTone(text, x, y, std::min<int>(G.right - x, tw), th, x, y, 0, 0);
    }
  } else {
    const int y = (H - tw) / 2 + M, x = (W - th) / 2 + th + M;
    if (G.top >= y + tw || FSettings.SolidTextColor)
      TextOut(B(), x, y, text, FInfo->TextColor);
    else if (G.top < y)
      DrawTwoTone(text, x, y, th, tw, x - th, y, th, 0);
    else
      DrawTwoTone(text, x, y, th, tw, x - th, G.top, th, y - G.top);
  }
  DeleteObject(FTextFont);
}

bool TBarPainter::IsTrueTypeFont(TFont* AFont) {
  TEXTMETRICA metrics{};
  HDC dc = B()->GetHandle();
  HGDIOBJ old = SelectObject(dc, AFont->GetHandle());
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

void TBarPainter::TextOut(TCanvas* ACanvas, int X, int Y, const String& AText, TColor AColor) {
  HDC dc = ACanvas->GetHandle();
  HGDIOBJ old = SelectObject(dc, FTextFont);
  const COLORREF oldColor = SetTextColor(dc, ColorToRGB(AColor));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  ::TextOutA(dc, X, Y, AText.data(), static_cast<int>(AText.size()));
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, old);
}

// Over the filled part the text shows as the inverse of the pixels beneath
// it, beyond it in the text colour.
void TBarPainter::DrawTwoTone(const String& AText, int X, int Y, int AMaskWidth, int AMaskHeight, int AMaskX,
                              int AMaskY, int ATextX, int ATextY) {
  TBitmap mask, save;
  mask.SetPixelFormat(pf32bit);
  mask.SetSize(AMaskWidth, AMaskHeight);
  FillBitmap(&mask, clWhite);
  TextOut(mask.GetCanvas(), ATextX, ATextY, AText, clBlack);
  save.SetPixelFormat(pf32bit);
  save.SetSize(AMaskWidth, AMaskHeight);
  HDC maskDC = mask.GetCanvas()->GetHandle(), saveDC = save.GetCanvas()->GetHandle(), dc = B()->GetHandle();
  BitBlt(saveDC, 0, 0, AMaskWidth, AMaskHeight, dc, AMaskX, AMaskY, SRCCOPY);
  PatBlt(maskDC, 0, 0, AMaskWidth, AMaskHeight, DSTINVERT);
  TextOut(B(), X, Y, AText, FInfo->TextColor);
  BitBlt(dc, AMaskX, AMaskY, AMaskWidth, AMaskHeight, saveDC, 0, 0, SRCCOPY);
  BitBlt(dc, AMaskX, AMaskY, AMaskWidth, AMaskHeight, maskDC, 0, 0, SRCINVERT);
}

} // namespace

// ---- View info ----

TcxCustomProgressBarViewInfo::TcxCustomProgressBarViewInfo() : ForegroundImage(std::make_unique<TBitmap>()) {}
TcxCustomProgressBarViewInfo::~TcxCustomProgressBarViewInfo() = default;

int TcxCustomProgressBarViewInfo::GetBarRange() const {
  return std::max(Settings.Max - Settings.Min, 1);
}

int TcxCustomProgressBarViewInfo::ValueToPixels(int AValue, int ASize) const {
  return static_cast<int>(std::trunc(static_cast<double>(AValue) * ASize / GetBarRange()));
}

void TcxCustomProgressBarViewInfo::Offset(int DX, int DY) {
  TcxCustomTextEditViewInfo::Offset(DX, DY);
  for (TRect* r : {&BarRect, &ProgressRect, &OverloadRect, &PeakRect})
    OffsetRect(r, DX, DY);
}

void TcxCustomProgressBarViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (!NativeStyle && !(IsInplace && IsTransparent)) DrawEditBackgroundAndButtons(ACanvas, this, true, 0);
  PaintProgressBar(ACanvas);
}

void TcxCustomProgressBarViewInfo::PaintProgressBar(TcxCanvas* ACanvas) {
  TBarPainter(this, ACanvas).Paint();
}

// ---- View data ----

void TcxCustomProgressBarViewData::ReadBarProperties(TcxCustomProgressBarViewInfo* AViewInfo) {
  auto* properties = static_cast<TcxCustomProgressBarProperties*>(GetProperties());
  AViewInfo->Settings = properties->GetSettings();
  AViewInfo->Settings.PeakValue = properties->GetRealPeakValue();
  AViewInfo->Position = properties->GetCurrentPosition();
  AViewInfo->IsTransparent = IsInplace ? AViewInfo->Transparent : properties->GetTransparent();
}

void TcxCustomProgressBarViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                             int Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                             bool AIsMouseEvent) {
  TcxCustomEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (ABounds.right == INT_MAX || ABounds.bottom == INT_MAX) return;
  auto* info = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  CalculateEditBorders(this, info);
  info->Font = GetStyle()->GetFont();
  ReadBarProperties(info);
  const bool native = IsThemedPartAvailable(NativeStyle, totProgress);
  CalculateRects(info, native);
  CalcProgressBarFocusRect(this, info, info->FocusRect);
  const TcxProgressBarSettings& s = info->Settings;
  auto* properties = static_cast<TcxCustomProgressBarProperties*>(GetProperties());
  TBitmap* picture = info->ForegroundImage.get();
  picture->Assign(properties->GetForegroundImage());
  if (s.TransparentImage && !picture->GetEmpty()) {
    picture->SetTransparent(true);
    TBitmap flat;
    flat.SetSize(picture->GetWidth(), picture->GetHeight());
    FillBitmap(&flat, info->GetBackgroundColor());
    flat.GetCanvas()->Draw(0, 0, picture);
    picture->Assign(&flat);
  }
  if (IsInplace) return;
  info->ClientRect = info->Bounds;
  info->IsSelectedLook = false;
}

void TcxCustomProgressBarViewData::CalculateRects(TcxCustomProgressBarViewInfo* AViewInfo, bool ANative) {
  const TcxProgressBarSettings& s = AViewInfo->Settings;
  const int bw = s.BorderWidth;
  TRect R;
  if (ANative) {
    AViewInfo->BarRect = AViewInfo->Bounds;
    R = AViewInfo->Bounds;
    R = IsInplace ? TRect(R.left + bw + 2, R.top + bw + 2, R.right - bw - 2, R.bottom - bw - 2)
                  : TRect(R.left + bw + 3, R.top + bw + 3, R.right - bw - 2, R.bottom - bw - 2);
  } else {
    AViewInfo->BarRect = IsInplace ? AViewInfo->Bounds : AViewInfo->BorderRect;
    R = AViewInfo->BorderRect;
    InflateRect(&R, -bw, -bw);
  }
  AViewInfo->NativeStyle = ANative;
  TRect& progress = AViewInfo->ProgressRect;
  progress = R;
  const int position = AViewInfo->Position - s.Min;
  const bool horizontal = s.Orientation == cxorHorizontal;
  if (horizontal)
    progress.right = R.left + AViewInfo->ValueToPixels(position, R.Width());
  else
    progress.top = R.bottom - AViewInfo->ValueToPixels(position, R.Height());
  AViewInfo->OverloadActive = s.ShowOverload && !ANative && AViewInfo->Position >= s.OverloadValue;
  if (AViewInfo->OverloadActive) {
    TRect& overload = AViewInfo->OverloadRect;
    overload = progress;
    const int overloadPixels =
        AViewInfo->ValueToPixels(s.OverloadValue - s.Min, horizontal ? R.Width() : R.Height());
    if (horizontal) {
      overload.left = R.left + overloadPixels;
      overload.right = std::min(overload.right, R.right);
      progress.right = overload.left;
    } else {
      overload.top = overload.bottom - AViewInfo->ValueToPixels(position, R.Height());
      overload.bottom = std::max<LONG>(overload.bottom - overloadPixels, R.top);
      progress.top = overload.bottom;
    }
  }
  AViewInfo->PeakVisible = s.ShowPeak;
  TRect& peak = AViewInfo->PeakRect;
  peak = progress;
  const int peakPosition = s.PeakValue - s.Min;
  if (horizontal) {
    peak.left = R.left + AViewInfo->ValueToPixels(peakPosition, R.Width());
    if (peak.left + s.PeakSize > R.right) peak.left = R.right - s.PeakSize;
    peak.right = peak.left + s.PeakSize;
  } else {
    peak.bottom = R.bottom - AViewInfo->ValueToPixels(peakPosition, R.Height());
    if (peak.bottom - s.PeakSize < R.top) peak.bottom = R.top + s.PeakSize;
    peak.top = peak.bottom - s.PeakSize;
  }
}

void TcxCustomProgressBarViewData::CalculateFixedPartSize(TcxCanvas* ACanvas, bool AIsInplace,
                                                          SIZE& AFixedSize, TcxCustomEditViewInfo* AViewInfo,
                                                          SIZE& AMinContentSize) {
  TcxCustomEditViewData::CalculateFixedPartSize(ACanvas, AIsInplace, AFixedSize, AViewInfo, AMinContentSize);
  auto* info = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  SIZE size{info->ProgressRect.Width(), info->ProgressRect.Height()};
  if (!AIsInplace && !info->NativeStyle) {
    size.cx += 4;
    size.cy += 4;
  }
  SIZE text{0, 0};
  CalculateTextContentSize(ACanvas, this, "", text, true, TcxEditSizeProperties(), GetTextFlags());
  size.cx += text.cx + 3;
  size.cy = std::max(size.cy, text.cy);
  AFixedSize.cx += size.cx;
  AFixedSize.cy += size.cy;
}

// ---- Properties ----

TcxCustomProgressBarProperties::TcxCustomProgressBarProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner) {}

TcxCustomProgressBarProperties::~TcxCustomProgressBarProperties() = default;

TBitmap* TcxCustomProgressBarProperties::GetForegroundImage() {
  if (!FForegroundImage) {
    FForegroundImage = std::make_unique<TBitmap>();
    FForegroundImage->OnChange = [this](TObject*) { Changed(); };
  }
  return FForegroundImage.get();
}

void TcxCustomProgressBarProperties::SetForegroundImage(const TBitmap* Value) {
  if (Value)
    GetForegroundImage()->Assign(Value);
  else
    FForegroundImage.reset();
  Changed();
}

void TcxCustomProgressBarProperties::SetMin(int Value) {
  if (Value == FSettings.Min) return;
  FSettings.Min = Value;
  FSettings.Max = std::max(FSettings.Max, Value);
  FCurrentPosition = std::max(FCurrentPosition, Value);
  FSettings.OverloadValue = std::max(FSettings.OverloadValue, Value);
  FSettings.PeakValue = std::max(FSettings.PeakValue, Value);
  Changed();
}

void TcxCustomProgressBarProperties::SetMax(int Value) {
  if (Value == FSettings.Max || Value <= FSettings.Min) return;
  FSettings.Max = Value;
  FCurrentPosition = std::min(FCurrentPosition, Value);
  FSettings.OverloadValue = std::min(FSettings.OverloadValue, Value);
  FSettings.PeakValue = std::min(FSettings.PeakValue, Value);
  Changed();
}

void TcxCustomProgressBarProperties::SetOverloadValue(int Value) {
  if (Value == FSettings.OverloadValue) return;
  FSettings.OverloadValue = std::min(std::max(Value, FSettings.Min), FSettings.Max);
  Changed();
}

void TcxCustomProgressBarProperties::SetTransparent(bool Value) {
  if (Value == FSettings.Transparent) return;
  FSettings.Transparent = Value;
  Changed();
  if (OnTransparentChanged) OnTransparentChanged(this);
}

int TcxCustomProgressBarProperties::GetRealPeakValue() {
  const int peak =
      std::max(std::min(std::max(FSettings.PeakValue, FSettings.Min), FSettings.Max), FCurrentPosition);
  if (peak > FSettings.PeakValue) FSettings.PeakValue = peak;
  return peak;
}

void TcxCustomProgressBarProperties::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxCustomProgressBarProperties*>(Source);
  if (!source) return TcxCustomEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomEditProperties::Assign(Source);
    const TcxProgressBarSettings& s = source->FSettings;
    SetBeginColor(s.BeginColor);
    SetBarBevelOuter(s.BarBevelOuter);
    SetEndColor(s.EndColor);
    SetForegroundImage(source->FForegroundImage.get());
    SetMin(s.Min);
    SetMax(s.Max);
    SetOrientation(s.Orientation);
    SetShowText(s.ShowText);
    SetShowTextStyle(s.ShowTextStyle);
    SetTextOrientation(s.TextOrientation);
    SetSolidTextColor(s.SolidTextColor);
    SetBarStyle(s.BarStyle);
    SetTransparentImage(s.TransparentImage);
    SetBorderWidth(s.BorderWidth);
    SetOverloadValue(s.OverloadValue);
    SetShowOverload(s.ShowOverload);
    SetOverloadBeginColor(s.OverloadBeginColor);
    SetOverloadEndColor(s.OverloadEndColor);
    SetPeakValue(s.PeakValue);
    SetShowPeak(s.ShowPeak);
    SetPeakColor(s.PeakColor);
    SetPeakSize(s.PeakSize);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomProgressBarProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomProgressBarViewData>(this, AStyle, AIsInplace);
}

TcxClassRef TcxCustomProgressBarProperties::GetContainerClass() const {
  return cxClassRef<TcxProgressBar>();
}

std::unique_ptr<TcxCustomEditStyle> TcxCustomProgressBarProperties::CreateStyle(TPersistent* AOwner,
                                                                                bool AIsInternal) const {
  return std::make_unique<TcxProgressBarStyle>(AOwner, AIsInternal);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomProgressBarProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomProgressBarViewInfo>();
}

int TcxCustomProgressBarProperties::DisplayPosition(const Variant& EditValue) const {
  if (VarIsIntegerType(EditValue)) return EditValue.AsInteger();
  if (EditValue.IsStr() && IsIntegerText(EditValue.AsString()))
    return DigitsToInt(EditValue.AsString(), false);
  return 0;
}

void TcxCustomProgressBarProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                             bool) {
  const bool locked = IsChangedLocked();
  SetChangedLock(true);
  const int position = DisplayPosition(EditValue);
  DisplayValue = Variant(position);
  SetCurrentPosition(position);
  SetChangedLock(locked);
}

void TcxCustomProgressBarProperties::EditValueToDisplayText(const Variant& EditValue, bool, String& Text) {
  Text = IntToStr(DisplayPosition(EditValue));
  if (FSettings.ShowTextStyle == cxtsPercent) Text += " %";
}

// ---- Control ----

TcxCustomProgressBar::TcxCustomProgressBar(TComponent* AOwner) : TcxCustomEdit(AOwner) {
  ControlStyle.Exclude(csAcceptsControls)
      .Exclude(csCaptureMouse)
      .Exclude(csClickEvents)
      .Exclude(csDoubleClicks);
  SetParentColor(!GetIsInplace());
  SetWidth(121);
  SetHeight(21);
  GetProperties()->OnTransparentChanged = [this](TObject*) { Invalidate(); };
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomProgressBar::CreateProperties() {
  return std::make_unique<TcxProgressBarProperties>(this);
}

void TcxCustomProgressBar::SetPosition(int Value) {
  if (Value == FPosition) return;
  TcxCustomProgressBarProperties* properties = GetActiveProperties();
  if (!IsLoading()) Value = std::min(std::max(Value, properties->GetMin()), properties->GetMax());
  FPosition = Value;
  SetInternalEditValue(Variant(Value));
  if (properties->GetTransparent()) Invalidate();
  properties->SetCurrentPosition(Value);
  properties->Changed();
}

void TcxCustomProgressBar::GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) {
  ASizeProperties.MaxLineCount = 1;
  ASizeProperties.Width = GetViewInfo()->TextRect.Width();
}

TcxContainerStyleValues TcxCustomProgressBar::GetHiddenStyleValues() const {
  return TcxContainerStyleValues::FromBits(0x722);
}

void TcxCustomProgressBar::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  GetViewInfo()->Text.clear();
  TcxCustomEdit::ApplyPropertiesChange(AProperties);
}

void TcxCustomProgressBar::SynchronizeDisplayValue() {
  Variant displayValue;
  GetActiveProperties()->EditValueToDisplayValue(GetEditValueRef(), displayValue, Focused());
  GetActiveProperties()->Changed();
}

void TcxCustomProgressBar::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND && !IsDestroying() && GetActiveProperties()->GetTransparent()) {
    DrawParentBackground(this, reinterpret_cast<HDC>(Message.WParam), true);
    Message.Result = 1;
    return;
  }
  TcxCustomEdit::WndProc(Message);
}

void cxProgressBarInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxProgressBarProperties>(),
                                     LoadLibraryResString(&scxSEditRepositoryProgressBarItem));
}

void cxProgressBarFinalize() {
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxProgressBarProperties));
}
