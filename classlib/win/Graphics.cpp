#include "Graphics.h"

#include <cstring>

// ---- Fonts, pens, brushes ----

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

TFont::TFont() = default;

TFont::~TFont() {
  FreeHandle();
}

void TFont::FreeHandle() {
  if (FHandle && FOwnsHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FOwnsHandle = false;
}

void TFont::Assign(const TPersistent* Source) {
  auto* f = dynamic_cast<const TFont*>(Source);
  if (!f) return TGraphicsObject::Assign(Source);
  if (f == this) return;
  FreeHandle();
  FName = f->FName;
  FHeight = f->FHeight;
  if (f->PixelsPerInch != PixelsPerInch) FHeight = MulDiv(f->FHeight, PixelsPerInch, f->PixelsPerInch);
  FColor = f->FColor;
  FStyle = f->FStyle;
  FCharset = f->FCharset;
  FPitch = f->FPitch;
  TGraphicsObject::Changed();
}

void TFont::Changed() {
  FreeHandle();
  TGraphicsObject::Changed();
}

HFONT TFont::GetHandle() {
  if (FHandle) return FHandle;
  LOGFONTA lf{};
  lf.lfHeight = FHeight;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  lf.lfCharSet = FCharset;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = FPitch == fpFixed      ? FIXED_PITCH
                        : FPitch == fpVariable ? VARIABLE_PITCH
                                               : DEFAULT_PITCH;
  lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
  FHandle = CreateFontIndirectA(&lf);
  FOwnsHandle = true;
  return FHandle;
}

void TFont::SetHandle(HFONT value) {
  LOGFONTA lf{};
  if (!value || !GetObjectA(value, sizeof(lf), &lf)) return;
  FreeHandle();
  FName = lf.lfFaceName;
  FHeight = lf.lfHeight;
  TFontStyles style;
  if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
  if (lf.lfItalic) style.Include(fsItalic);
  if (lf.lfUnderline) style.Include(fsUnderline);
  if (lf.lfStrikeOut) style.Include(fsStrikeOut);
  FStyle = style;
  FCharset = lf.lfCharSet;
  TGraphicsObject::Changed();
}

void TFont::SetName(const String& value) {
  if (value.empty() || value == FName) return;
  FName = value;
  Changed();
}

int TFont::GetSize() const {
  return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int value) {
  SetHeight(-MulDiv(value, PixelsPerInch, 72));
}

void TFont::SetHeight(int value) {
  if (value == FHeight) return;
  FHeight = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  // The colour is not part of the font handle.
  TGraphicsObject::Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TFont::SetCharset(BYTE value) {
  if (value == FCharset) return;
  FCharset = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == FPitch) return;
  FPitch = value;
  Changed();
}

TPen::~TPen() {
  if (FHandle) DeleteObject(FHandle);
}

void TPen::Assign(const TPersistent* Source) {
  auto* p = dynamic_cast<const TPen*>(Source);
  if (!p) return TGraphicsObject::Assign(Source);
  if (p == this) return;
  FColor = p->FColor;
  FWidth = p->FWidth;
  FStyle = p->FStyle;
  FMode = p->FMode;
  Changed();
}

void TPen::Changed() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  TGraphicsObject::Changed();
}

HPEN TPen::GetHandle() {
  if (!FHandle) {
    static const int styles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                 PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
  }
  return FHandle;
}

void TPen::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Changed();
}

void TPen::SetWidth(int value) {
  if (value == FWidth || value < 0) return;
  FWidth = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TPen::SetMode(TPenMode value) {
  if (value == FMode) return;
  FMode = value;
  Changed();
}

TBrush::~TBrush() {
  if (FHandle) DeleteObject(FHandle);
}

void TBrush::Assign(const TPersistent* Source) {
  auto* b = dynamic_cast<const TBrush*>(Source);
  if (!b) return TGraphicsObject::Assign(Source);
  if (b == this) return;
  FColor = b->FColor;
  FStyle = b->FStyle;
  FBitmap = b->FBitmap;
  Changed();
}

void TBrush::Changed() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  TGraphicsObject::Changed();
}

HBRUSH TBrush::GetHandle() {
  if (FHandle) return FHandle;
  if (FBitmap && !FBitmap->GetEmpty()) {
    FHandle = CreatePatternBrush(FBitmap->GetHandle());
  } else if (FStyle == bsSolid) {
    FHandle = CreateSolidBrush(ColorToRGB(FColor));
  } else if (FStyle == bsClear) {
    FHandle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return FHandle; // DeleteObject leaves stock objects alone
  } else {
    static const int hatches[] = {
        0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    FHandle = CreateHatchBrush(hatches[FStyle], ColorToRGB(FColor));
  }
  return FHandle;
}

void TBrush::SetColor(TColor value) {
  if (value == FColor && FStyle != bsClear) return;
  FColor = value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TBrush::SetBitmap(TBitmap* value) {
  FBitmap = value;
  Changed();
}

// ---- TCanvas ----

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = [this](TObject*) { FState &= ~csFontValid; };
  FPen->OnChange = [this](TObject*) { FState &= ~csPenValid; };
  FBrush->OnChange = [this](TObject*) { FState &= ~csBrushValid; };
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FOldFont) SelectObject(FHandle, FOldFont);
  if (FOldPen) SelectObject(FHandle, FOldPen);
  if (FOldBrush) SelectObject(FHandle, FOldBrush);
  FOldFont = FOldPen = FOldBrush = nullptr;
  FState &= ~(csFontValid | csPenValid | csBrushValid);
}

void TCanvas::SetHandle(HDC value) {
  if (value == FHandle) return;
  DeselectHandles();
  FHandle = value;
  FState = value ? csHandleValid : 0;
}

HDC TCanvas::GetHandle() {
  RequiredState(csHandleValid | csFontValid | csPenValid | csBrushValid);
  return FHandle;
}

void TCanvas::Refresh() {
  DeselectHandles();
}

void TCanvas::RequiredState(int state) {
  if (!FHandle) {
    CreateHandle();
    if (!FHandle) throw EInvalidGraphicOperation("Canvas does not allow drawing");
  }
  if ((state & csFontValid) && !(FState & csFontValid)) {
    HGDIOBJ old = SelectObject(FHandle, FFont->GetHandle());
    if (!FOldFont) FOldFont = old;
    SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
    FState |= csFontValid;
  }
  if ((state & csPenValid) && !(FState & csPenValid)) {
    HGDIOBJ old = SelectObject(FHandle, FPen->GetHandle());
    if (!FOldPen) FOldPen = old;
    static const int rops[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                               R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                               R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                               R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    SetROP2(FHandle, rops[FPen->GetMode()]);
    FState |= csPenValid;
  }
  if ((state & csBrushValid) && !(FState & csBrushValid)) {
    HGDIOBJ old = SelectObject(FHandle, FBrush->GetHandle());
    if (!FOldBrush) FOldBrush = old;
    SetBkColor(FHandle, ColorToRGB(FBrush->GetColor()));
    SetBkMode(FHandle, FBrush->GetStyle() == bsSolid ? OPAQUE : TRANSPARENT);
    FState |= csBrushValid;
  }
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::GetPenPos() {
  RequiredState(csHandleValid);
  POINT p;
  GetCurrentPositionEx(FHandle, &p);
  return p;
}

TRect TCanvas::GetClipRect() {
  RequiredState(csHandleValid);
  RECT r;
  GetClipBox(FHandle, &r);
  return r;
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState(csHandleValid);
  MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(FHandle, x, y);
  Changed();
}

void TCanvas::Polyline(const TPoint* points, int count) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polyline(FHandle, points, count);
  Changed();
}

void TCanvas::Polygon(const TPoint* points, int count) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polygon(FHandle, points, count);
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Rectangle(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Ellipse(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FillRect(FHandle, &r, FBrush->GetHandle());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FrameRect(FHandle, &r, FBrush->GetHandle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::DrawFocusRect(FHandle, &r);
  Changed();
}

void TCanvas::TextOut(int x, int y, const String& text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ::TextOutA(FHandle, x, y, text.data(), static_cast<int>(text.size()));
  MoveTo(x + TextWidth(text), y);
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const String& text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED;
  if (FBrush->GetStyle() != bsClear) options |= ETO_OPAQUE;
  ::ExtTextOutA(FHandle, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const String& text) {
  RequiredState(csHandleValid | csFontValid);
  SIZE size{0, 0};
  GetTextExtentPoint32A(FHandle, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->GetEmpty()) return;
  Changing();
  RequiredState(csHandleValid);
  graphic->Draw(this, Bounds(x, y, graphic->GetWidth(), graphic->GetHeight()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->GetEmpty()) return;
  Changing();
  RequiredState(csHandleValid);
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  HDC src = canvas->GetHandle();
  SetStretchBltMode(FHandle, COLORONCOLOR);
  ::StretchBlt(FHandle, dest.left, dest.top, dest.Width(), dest.Height(), src, source.left, source.top,
               source.Width(), source.Height(), CopyMode);
  Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color) {
  if (!bitmap || bitmap->GetEmpty()) return;
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  if (FBrush->GetStyle() != bsClear) ::FillRect(FHandle, &dest, FBrush->GetHandle());
  HDC src = bitmap->GetCanvas()->GetHandle();
  ::TransparentBlt(FHandle, dest.left, dest.top, dest.Width(), dest.Height(), src, source.left, source.top,
                   source.Width(), source.Height(), ColorToRGB(color));
  Changed();
}

TColor TCanvas::GetPixel(int x, int y) {
  RequiredState(csHandleValid);
  return static_cast<TColor>(::GetPixel(FHandle, x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  ::SetPixel(FHandle, x, y, ColorToRGB(color));
  Changed();
}
