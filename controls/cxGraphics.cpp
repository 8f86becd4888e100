#include "cxGraphics.h"

#include "ImgList.h"

#include <algorithm>

namespace {

// Wide enough to count as "no clipping" for any drawing.
constexpr int cxMaxRegionSize = 107374182;

HRGN CreateEmptyRgn() {
  return CreateRectRgn(0, 0, 0, 0);
}

} // namespace

UINT TranslateTextFlags(int Flags) {
  static const struct {
    int Flag;
    UINT Format;
  } table[] = {
      {tfLeft, DT_LEFT},
      {tfRight, DT_RIGHT},
      {tfCenterX, DT_CENTER},
      {tfTop, DT_TOP},
      {tfBottom, DT_BOTTOM},
      {tfCenterY, DT_VCENTER},
      {tfSingleLine, DT_SINGLELINE},
      {tfNoClip, DT_NOCLIP},
      {tfExpandTabs, DT_EXPANDTABS},
      {tfWordBreak, DT_WORDBREAK | DT_EDITCONTROL},
      {tfEndEllipsis, DT_END_ELLIPSIS},
      {tfMeasureOnly, DT_CALCRECT},
      {tfPathEllipsis, DT_PATH_ELLIPSIS},
  };
  UINT result = DT_NOPREFIX;
  for (const auto& entry : table)
    if (Flags & entry.Flag) result |= entry.Format;
  if (Flags & tfShowPrefix) result &= ~DT_NOPREFIX;
  return result;
}

// ---- TcxRegion ----

TcxRegion::TcxRegion(HRGN Handle) : FHandle(Handle) {}

TcxRegion::TcxRegion(const TRect& R) : FHandle(CreateRectRgnIndirect(&R)) {}

TcxRegion::TcxRegion(int Left, int Top, int Right, int Bottom)
    : FHandle(CreateRectRgn(Left, Top, Right, Bottom)) {}

TcxRegion::TcxRegion() : FHandle(CreateEmptyRgn()) {}

TcxRegion::~TcxRegion() {
  DestroyHandle();
}

void TcxRegion::DestroyHandle() {
  if (!FHandle) return;
  DeleteObject(FHandle);
  FHandle = nullptr;
}

void TcxRegion::Combine(TcxRegion* Region, TcxRegionCombine Operation, bool DestroyRegion) {
  static const int modes[] = {RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND};
  if (Operation == rcSet)
    CombineRgn(FHandle, Region->FHandle, nullptr, RGN_COPY);
  else
    CombineRgn(FHandle, FHandle, Region->FHandle, modes[Operation]);
  if (DestroyRegion) delete Region;
}

void TcxRegion::Offset(int DX, int DY) {
  OffsetRgn(FHandle, DX, DY);
}

// ---- TcxCanvas ----

TcxCanvas::TcxCanvas(TCanvas* Canvas) : FCanvas(Canvas) {}

void TcxCanvas::GetWindowOrg(TPoint& P) const {
  GetWindowOrgEx(GetHandle(), &P);
}

void TcxCanvas::SetBrushColor(TColor Value) {
  if (GetBrush()->GetColor() != Value) GetBrush()->SetColor(Value);
}

void TcxCanvas::FillRect(const TRect& R, TColor Color) {
  if (Color != clDefault) SetBrushColor(Color);
  FCanvas->FillRect(R);
}

void TcxCanvas::FrameRect(const TRect& R, TColor Color, int LineWidth, TcxBorders Borders) {
  if (Color != clDefault) SetBrushColor(Color);
  if (Borders.Contains(bLeft)) FillRect(TRect(R.left, R.top, R.left + LineWidth, R.bottom));
  if (Borders.Contains(bRight)) FillRect(TRect(R.right - LineWidth, R.top, R.right, R.bottom));
  if (Borders.Contains(bTop)) FillRect(TRect(R.left, R.top, R.right, R.top + LineWidth));
  if (Borders.Contains(bBottom)) FillRect(TRect(R.left, R.bottom - LineWidth, R.right, R.bottom));
}

void TcxCanvas::DrawTwoToneFrame(const TRect& R, TColor LeftTopColor, TColor RightBottomColor,
                                 TcxBorders Borders, int LineWidth) {
  // Right and bottom come last, so the two odd corners take their colour.
  if (Borders.Contains(bLeft)) FillRect(TRect(R.left, R.top, R.left + LineWidth, R.bottom), LeftTopColor);
  if (Borders.Contains(bTop)) FillRect(TRect(R.left, R.top, R.right, R.top + LineWidth), LeftTopColor);
  if (Borders.Contains(bRight))
    FillRect(TRect(R.right - LineWidth, R.top, R.right, R.bottom), RightBottomColor);
  if (Borders.Contains(bBottom))
    FillRect(TRect(R.left, R.bottom - LineWidth, R.right, R.bottom), RightBottomColor);
}

void TcxCanvas::DrawEdge(const TRect& R, bool Sunken, bool Outer, TcxBorders Borders) {
  if (Sunken) {
    if (Outer)
      DrawTwoToneFrame(R, clBtnShadow, clBtnHighlight, Borders);
    else
      DrawTwoToneFrame(R, cl3DDkShadow, cl3DLight, Borders);
  } else {
    if (Outer)
      DrawTwoToneFrame(R, cl3DLight, cl3DDkShadow, Borders);
    else
      DrawTwoToneFrame(R, clBtnHighlight, clBtnShadow, Borders);
  }
}

void TcxCanvas::DrawFocusRect(const TRect& R) {
  SetBrushColor(clWhite);
  GetFont()->SetColor(clBlack);
  // The focus pattern takes the text and background colours of the DC.
  ::DrawFocusRect(GetHandle(), &R);
}

void TcxCanvas::InvertRect(const TRect& R) {
  FCanvas->CopyMode = DSTINVERT;
  FCanvas->CopyRect(R, FCanvas, R);
  FCanvas->CopyMode = SRCCOPY;
}

void TcxCanvas::DrawGlyph(int X, int Y, TBitmap* Glyph, bool Enabled, TColor BackgroundColor) {
  const TRect source(0, 0, Glyph->GetWidth(), Glyph->GetHeight());
  if (Enabled) {
    const TBrushStyle style = GetBrush()->GetStyle();
    if (BackgroundColor == clNone)
      GetBrush()->SetStyle(bsClear);
    else
      SetBrushColor(BackgroundColor);
    FCanvas->BrushCopy(Bounds(X, Y, source.Width(), source.Height()), Glyph, source,
                       Glyph->GetTransparentColor());
    GetBrush()->SetStyle(style);
    return;
  }
  TImageList images(nullptr);
  images.SetWidth(source.Width());
  images.SetHeight(source.Height());
  images.AddMasked(Glyph, Glyph->GetTransparentMode() == tmFixed ? Glyph->GetTransparentColor() : clDefault);
  if (BackgroundColor == clNone) {
    images.Draw(FCanvas, X, Y, 0, false);
    return;
  }
  TBitmap background;
  background.SetPixelFormat(pf32bit);
  background.SetSize(source.Width(), source.Height());
  background.GetCanvas()->GetBrush()->SetColor(BackgroundColor);
  background.GetCanvas()->FillRect(source);
  images.Draw(background.GetCanvas(), 0, 0, 0, false);
  FCanvas->Draw(X, Y, &background);
}

void TcxCanvas::DrawText(const String& Text, TRect R, int Flags, bool Enabled) {
  if (Text.empty()) return;
  const bool useDrawText =
      !(Flags & tfSingleLine) || (Flags & (tfShowPrefix | tfEndEllipsis | tfPathEllipsis)) != 0;
  const int D = Enabled ? 0 : 1;
  SIZE size;
  TextExtent(Text, size);
  if (R.Width() > size.cx && R.Height() > size.cy) Flags |= tfNoClip;

  UINT format = 0;
  UINT options = 0;
  if (useDrawText) {
    const bool bottom = (Flags & tfBottom) != 0;
    if (!(Flags & tfSingleLine) && bottom != ((Flags & tfCenterY) != 0)) {
      TRect block(0, 0, R.Width() - D, 0);
      CalculateTextRect(Text, block, Flags);
      const int H = block.Height();
      R.top = bottom ? R.bottom - (H + D) : (R.top + R.bottom - H) / 2;
    }
    format = TranslateTextFlags(Flags);
  } else {
    if (R.Width() > size.cx) {
      const int h = Flags & (tfLeft | tfRight | tfCenterX);
      if (h == tfRight) R.left = R.right - size.cx - D;
      if (h == tfCenterX) R.left = (R.left + R.right - size.cx) / 2;
    }
    if (R.Height() > size.cy) {
      const int v = Flags & (tfTop | tfBottom | tfCenterY);
      if (v == tfBottom) R.top = R.bottom - size.cy - D;
      if (v == tfCenterY) R.top = (R.top + R.bottom - size.cy) / 2;
    }
    options = (Flags & tfNoClip) ? 0 : ETO_CLIPPED;
  }

  auto draw = [&](TRect r) {
    HDC dc = GetHandle();
    if (useDrawText)
      ::DrawTextA(dc, Text.data(), static_cast<int>(Text.size()), &r, format);
    else
      ::ExtTextOutA(dc, r.left, r.top, options, &r, Text.data(), static_cast<UINT>(Text.size()), nullptr);
  };
  const TBrushStyle style = GetBrush()->GetStyle();
  const TColor color = GetFont()->GetColor();
  if (Enabled) {
    draw(R);
  } else {
    GetBrush()->SetStyle(bsClear);
    GetFont()->SetColor(clBtnHighlight);
    draw(TRect(R.left + 1, R.top + 1, R.right + 1, R.bottom + 1));
    GetFont()->SetColor(clBtnShadow);
    draw(R);
  }
  if (GetBrush()->GetStyle() != style) GetBrush()->SetStyle(style);
  GetFont()->SetColor(color);
}

void TcxCanvas::CalculateTextRect(const String& Text, TRect& R, int Flags) {
  const int W0 = R.Width();
  const int H0 = R.Height();
  const UINT format = TranslateTextFlags(Flags);
  // Measured at the top: the system places a single line at the bottom even
  // while measuring, which would stretch the rectangle to R's bottom.
  ::DrawTextA(GetHandle(), Text.data(), static_cast<int>(Text.size()), &R,
              (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  const int W1 = R.Width();
  const int H1 = R.Height();
  int dx = 0;
  int dy = 0;
  if (format & DT_CENTER)
    dx = (W0 - W1) / 2;
  else if (format & DT_RIGHT)
    dx = W0 - W1;
  if (format & DT_VCENTER)
    dy = (H0 - H1) / 2;
  else if (format & DT_BOTTOM)
    dy = H0 - H1;
  OffsetRect(&R, dx, dy);
}

void TcxCanvas::TextExtent(const String& Text, SIZE& Size) {
  Size = FCanvas->TextExtent(Text);
}

int TcxCanvas::TextWidth(const String& Text) {
  SIZE size;
  TextExtent(Text, size);
  return size.cx;
}

int TcxCanvas::TextHeight(const String& Text) {
  SIZE size;
  TextExtent(Text, size);
  return size.cy;
}

int TcxCanvas::FontHeight(const TFont* Font) {
  SetFont(Font);
  return TextHeight("Qq");
}

void TcxCanvas::ExcludeClipRect(const TRect& R) {
  ::ExcludeClipRect(GetHandle(), R.left, R.top, R.right, R.bottom);
}

void TcxCanvas::IntersectClipRect(const TRect& R) {
  ::IntersectClipRect(GetHandle(), R.left, R.top, R.right, R.bottom);
}

TcxRegion* TcxCanvas::GetClipRegion() {
  auto* region = new TcxRegion();
  if (::GetClipRgn(GetHandle(), region->GetHandle()) != 1)
    SetRectRgn(region->GetHandle(), 0, 0, cxMaxRegionSize, cxMaxRegionSize);
  return region;
}

void TcxCanvas::SetClipRegion(TcxRegion* Region, TcxRegionCombine Operation, bool DestroyRegion) {
  if (Operation == rcSet) {
    SelectClipRgn(GetHandle(), Region->GetHandle());
  } else {
    // Regions are given in logical coordinates, the DC clips in device ones.
    TPoint origin;
    GetWindowOrg(origin);
    Region->Offset(-origin.x, -origin.y);
    TcxRegion* clip = GetClipRegion();
    clip->Combine(Region, Operation, false);
    SetClipRegion(clip, rcSet, true);
  }
  if (DestroyRegion) delete Region;
}

// ---- screen canvases ----

TScreenCanvas::~TScreenCanvas() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  ReleaseDC(nullptr, FDeviceContext);
}

void TScreenCanvas::CreateHandle() {
  FDeviceContext = GetDC(nullptr);
  SetHandle(FDeviceContext);
}

TcxScreenCanvas::TcxScreenCanvas() : TcxScreenCanvas(std::make_unique<TScreenCanvas>()) {}

TcxScreenCanvas::TcxScreenCanvas(std::unique_ptr<TScreenCanvas> Canvas)
    : TcxCanvas(Canvas.get()), FScreenCanvas(std::move(Canvas)) {}

// ---- colours ----

TColor GetNearestScreenColor(TColor Color) {
  HDC dc = GetDC(nullptr);
  const COLORREF result = GetNearestColor(dc, ColorToRGB(Color));
  ReleaseDC(nullptr, dc);
  return static_cast<TColor>(result);
}

TColor BlendSystemColors(int8_t FacePercent, int8_t HighlightPercent, int8_t WindowPercent) {
  const uint32_t face = ColorToRGB(clBtnFace);
  const uint32_t highlight = ColorToRGB(clHighlight);
  const uint32_t window = ColorToRGB(clWindow);
  if (face == 0 || face == 0xFFFFFF) return static_cast<TColor>(highlight);
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    auto channel = [shift](uint32_t c) { return static_cast<int>((c >> shift) & 0xFF); };
    const int value = MulDiv(channel(face), FacePercent, 100) +
                      MulDiv(channel(highlight), HighlightPercent, 100) +
                      MulDiv(channel(window), WindowPercent, 100);
    result |= static_cast<uint32_t>(std::clamp(value, 0, 255)) << shift;
  }
  return static_cast<TColor>(result);
}

TColor BlendHighlightColorDark() {
  return GetNearestScreenColor(BlendSystemColors(14, 44, 40));
}

TColor BlendHighlightColorLight() {
  return GetNearestScreenColor(BlendSystemColors(-2, 30, 72));
}
