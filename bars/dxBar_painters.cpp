// The base item painter: backgrounds, captions, separators, the mark, the
// docked and floating frames of toolbars and the bottom bar.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarEdits.h"
#include "dxBarPopup.h"
#include "dxOffice11.h"

#include "ImgList.h"

#include "cxEditTextUtils.h"

#include <utility>

namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void FillPolygon(HDC dc, const POINT* points, int count, TColor color) {
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
  Polygon(dc, points, count);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

NONCLIENTMETRICSA NonClientMetrics() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return metrics;
}

// Where the accelerator's character stands in a caption with its "&"s
// removed; -1 without one ("&&" is a literal "&").
int StripAccelerator(String& text) {
  String plain;
  int accel = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && accel < 0) accel = static_cast<int>(plain.size());
    } else if (text[i] == '&') {
      continue;
    }
    plain += text[i];
  }
  text = std::move(plain);
  return accel;
}

struct TRotatedText {
  String Text;
  int Accel = -1;
};

void DrawRotatedText(HDC dc, const TRotatedText& t, const TRect& r, int alignment, UINT format,
                     COLORREF color) {
  SIZE extent{};
  GetTextExtentPoint32A(dc, t.Text.c_str(), static_cast<int>(t.Text.size()), &extent);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int x = r.left + (r.Width() + metrics.tmHeight) / 2;
  const int free = r.Height() - extent.cx;
  const int y = r.top + (alignment == 1 ? free / 2 : alignment == 2 ? free : 0);
  SetTextColor(dc, color);
  TRect box(x - metrics.tmHeight, y, x, r.bottom);
  ExtTextOutA(dc, x, y, format & DT_NOCLIP ? 0 : ETO_CLIPPED, &box, t.Text.c_str(),
              static_cast<UINT>(t.Text.size()), nullptr);
  if (t.Accel < 0) return;
  SIZE before{}, character{};
  GetTextExtentPoint32A(dc, t.Text.c_str(), t.Accel, &before);
  GetTextExtentPoint32A(dc, t.Text.c_str() + t.Accel, 1, &character);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ old = SelectObject(dc, pen);
  const int lineX = x - metrics.tmHeight / 2 - 2;
  Line(dc, lineX, y + before.cx, lineX, y + before.cx + character.cx);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawCaptionText(HDC dc, const String& text, const TRotatedText& rotated, TRect r, int alignment,
                     bool isRotated, UINT format, COLORREF color) {
  if (isRotated) {
    DrawRotatedText(dc, rotated, r, alignment, format, color);
    return;
  }
  SetTextColor(dc, color);
  static constexpr UINT kAlign[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            format | DT_VCENTER | kAlign[alignment < 0 || alignment > 2 ? 0 : alignment]);
}

} // namespace

void TdxBarItemControlPainter::PaintBarBackground(TCustomdxBarControl* BarControl, HDC DC, const TRect& R,
                                                  HBRUSH Brush) {
  BarControl->DrawBackground(DC, R, true, clNone, Brush ? Brush : BarControl->GetToolbarBrush());
}

int FontPointSize(HFONT Font) {
  LOGFONTA log{};
  GetObjectA(Font, sizeof(log), &log);
  HDC screen = GetDC(nullptr);
  const int points =
      MulDiv(log.lfHeight < 0 ? -log.lfHeight : log.lfHeight, 72, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return points;
}

SIZE TextExtentOnScreen(HFONT Font, const String& Text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font);
  SIZE size{};
  GetTextExtentPoint32A(dc, Text.c_str(), static_cast<int>(Text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

TdxBarItemControlPainterClass TdxBarItemControlPainter::Instance() {
  static const TdxBarItemControlPainter painter;
  return &painter;
}

// ---- Glyph boxes and marks ----

void TdxBarItemControlPainter::DrawButtonBorder(const TdxBarItemControl*, HDC, HBRUSH, bool, const TRect&,
                                                int, bool, bool, bool, bool) const {}

void TdxBarItemControlPainter::DrawCheckMark(TCustomdxBarControl*, HDC, int, int, int, bool) const {}

void TdxBarItemControlPainter::DrawCheckedGlyphCell(const TdxBarItemControl* Control, HDC DC, TRect R,
                                                    HBRUSH Brush, bool Fits, int PaintType, bool Selected,
                                                    bool Down, bool Pressed) const {
  if (Fits) InflateRect(&R, -1, -1);
  if (!HasCustomBackground()) {
    const bool useBrush = (!IsCheckCellPlain() && (Selected || Down || Pressed)) || Control->NonRecent;
    FillBackground(Control, DC, useBrush, Brush, R);
  }
  if (PaintType != 1 || !Down) return;
  TCustomdxBarControl* barControl = Control->GetBarControl();
  const int scale = FontPointSize(barControl->GetFontHandle()) < 16 ? 1 : 2;
  DrawCheckMark(barControl, DC, R.left + (R.Width() - 9 * scale) / 2, R.top + (R.Height() - 7 * scale) / 2,
                scale, Control->GetEnabled());
}

void TdxBarItemControlPainter::DrawGlyph(const TdxBarItemControl* Control, HDC DC, TRect R,
                                         const TRect& GlyphRect, HBRUSH Brush, bool Fits, int /*PaintType*/,
                                         bool Selected, bool Down, bool Pressed, bool Grey) const {
  if (Fits) InflateRect(&R, -1, -1);
  TdxGlyphState state;
  state.Pressed = Pressed;
  state.Down = Down;
  state.Selected = Selected;
  state.Disabled = Grey;
  state.StateImage = Control->HasStateImageList();
  const TdxBarManager* manager = Control->GetBarManager();
  DrawStateGlyph(DC, Brush, R, manager->ImageListBkColor, GetFadedImageColor(manager), state,
                 Control->GetImageIndex(), Control->GetImages(), Control->GetGlyph(), GlyphRect);
}

void TdxBarItemControlPainter::DrawArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected,
                                         bool Flat) const {
  DrawCenteredArrow(DC, R, Down, Enabled, Selected, Flat);
}

void TdxBarItemControlPainter::DrawArrowTriangle(HDC DC, const TRect& R, bool Down, int Size, bool Selected,
                                                 bool Enabled, bool Flat) const {
  PaintArrowTriangle(DC, R, Down, Size, Selected, Enabled, Flat);
}

void TdxBarItemControlPainter::GetEditColors(TCustomdxBarControl* BarControl, bool Enabled, TColor& TextColor,
                                             TColor& BkColor) const {
  if (Enabled) {
    TextColor = clWindowText;
    BkColor = clWindow;
    return;
  }
  TextColor = clGrayText;
  LOGBRUSH brush{};
  GetObjectA(BarControl->BackgroundBrush, sizeof(brush), &brush);
  BkColor = static_cast<TColor>(brush.lbColor);
}

TColor TdxBarItemControlPainter::GetFadedImageColor(const TdxBarManager* Manager) const {
  if (!Manager->MakeDisabledImagesFaded) return clNone;
  return MixColors(static_cast<TColor>(ColorToRGB(clBtnShadow)), clWhite, 70);
}

void TdxBarItemControlPainter::GetCaptionTextColors(const TdxBarItemControl*, bool Enabled, bool Highlighted,
                                                    bool FlatHighlight, TColor& TextColor,
                                                    TColor& SecondColor) const {
  if (Enabled)
    TextColor = Highlighted && !FlatHighlight ? clHighlightText : clBtnText;
  else if (Highlighted || FlatHighlight)
    TextColor = clGrayText;
  else {
    TextColor = clBtnShadow;
    SecondColor = clBtnHighlight;
    return;
  }
  SecondColor = TextColor;
}

TColor TdxBarItemControlPainter::GetFloatCaptionColor(const TdxBarControl*, bool Active) const {
  return Active ? clActiveCaption : clInactiveCaption;
}

TColor TdxBarItemControlPainter::GetFloatCaptionTextColor(const TdxBarControl*) const {
  return clCaptionText;
}

TColor TdxBarItemControlPainter::GetCaptionGlyphColor(const TdxBarControl*, int) const {
  return clCaptionText;
}

void TdxBarItemControlPainter::DrawResizeGrip(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  PaintBarBackground(BarControl, DC, R, nullptr);
  DrawTransparentSizeGrip(DC, R);
}

void TdxBarItemControlPainter::DrawMarkArrow(TdxBarControl* BarControl, HDC DC, const TRect& R) const {
  const int x = (R.left + R.right - 7) / 2;
  const int sum = R.top + R.bottom - 4;
  const int y = sum / 2 + (sum % 2 > 0 ? 1 : 0);
  const POINT points[] = {{x, y}, {x + 6, y}, {x + 3, y + 3}};
  FillPolygon(DC, points, 3, GetCaptionGlyphColor(BarControl, BarControl->GetMarkState()));
}

void TdxBarItemControlPainter::DrawMarkChevron(TdxBarControl*, HDC, int, const TRect&) const {}

void TdxBarItemControlPainter::DrawMarkBody(TdxBarControl*, HDC, HBRUSH, const TRect&) const {}

void TdxBarItemControlPainter::DrawMarkChevrons(TdxBarControl* BarControl, HDC DC, const TRect& R) const {
  if (!BarControl->GetTruncated()) return;
  if (BarControl->IsVertical()) {
    DrawMarkChevron(BarControl, DC, R.bottom - 9, R);
    DrawMarkChevron(BarControl, DC, R.bottom - 5, R);
  } else {
    DrawMarkChevron(BarControl, DC, R.left + 2, R);
    DrawMarkChevron(BarControl, DC, R.left + 6, R);
  }
}

void TdxBarItemControlPainter::DrawDropDownArrow(HDC DC, int X, int Y, int Width, int ColorIndex) const {
  const POINT points[] = {{X, Y}, {X + Width - 1, Y}, {X + Width / 2, Y + Width / 2}};
  FillPolygon(DC, points, 3, static_cast<TColor>(GetSysColor(ColorIndex)));
}

void TdxBarItemControlPainter::DrawComboButtonArrow(HDC DC, const TRect& Button, bool Enabled,
                                                    int ColorIndex) const {
  int d = Button.Width() / 2;
  if (d % 2 == 0) ++d;
  const int x = (Button.right + Button.left - d) / 2, y = (Button.top + Button.bottom - d / 2) / 2;
  if (Enabled) {
    DrawDropDownArrow(DC, x, y, d, ColorIndex);
    return;
  }
  DrawDropDownArrow(DC, x + 1, y + 1, d, COLOR_BTNHIGHLIGHT);
  DrawDropDownArrow(DC, x, y, d, COLOR_BTNSHADOW);
}

// ---- Backgrounds ----

void TdxBarItemControlPainter::FillBackground(const TdxBarItemControl* Control, HDC DC, bool UseBrush,
                                              HBRUSH Brush, const TRect& R) const {
  if (UseBrush)
    FillRect(DC, &R, Brush);
  else
    PaintBarBackground(Control->GetBarControl(), DC, R, Brush);
}

void TdxBarItemControlPainter::FrameBackground(const TdxBarItemControl* Control, HDC DC, bool UseBrush,
                                               HBRUSH Brush, const TRect& R) const {
  if (UseBrush) {
    FrameRect(DC, &R, Brush);
    return;
  }
  HRGN saved = IntersectClipRectSaving(DC, R);
  ExcludeClipRect(DC, R.left + 1, R.top + 1, R.right - 1, R.bottom - 1);
  FillBackground(Control, DC, false, Brush, R);
  RestoreClipRegion(DC, saved);
}

void TdxBarItemControlPainter::FillDisabledRect(HDC DC, const TRect& R) const {
  FillRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
}

void TdxBarItemControlPainter::DrawGlyphArea(const TdxBarItemControl* Control, const TRect& R,
                                             const TRect* BoxRect, int PaintType, bool NoGlyph, bool Selected,
                                             bool Down, bool Pressed, bool WholeRect, bool DropDown) const {
  const TdxBarManager* manager = Control->GetBarManager();
  // The image is centred in the button extent at the start; the box is the
  // whole rectangle, so that a caption beside the image lies in its frame.
  TRect area = R;
  if (!WholeRect && PaintType == 0) area.right = area.left + manager->GetButtonWidth();
  if (!WholeRect && PaintType == 2) area.bottom = area.top + manager->GetButtonHeight();
  const bool noImage = NoGlyph || !Control->HasImage();
  TRect glyph = area;
  if (!noImage) {
    SIZE size{0, 0};
    if (TBitmap* bitmap = Control->GetGlyph(); bitmap && !bitmap->GetEmpty())
      size = SIZE{bitmap->GetWidth(), bitmap->GetHeight()};
    else if (TCustomImageList* images = Control->GetImages())
      size = SIZE{images->GetWidth(), images->GetHeight()};
    if (manager->GetLargeIcons()) size = SIZE{size.cx * 2, size.cy * 2};
    const int left = area.left + (area.Width() - size.cx) / 2, top = area.top + (area.Height() - size.cy) / 2;
    glyph = TRect(left, top, left + size.cx, top + size.cy);
    const int down = Down ? GetDownGlyphOffset() : 0, pressed = Pressed ? GetPressedGlyphOffset(Down) : 0;
    OffsetRect(&glyph, down + pressed, down + pressed);
  }
  DrawGlyphBox(Control, BoxRect ? *BoxRect : R, glyph, PaintType, noImage, Selected, Down, Pressed, false,
               DropDown);
}

void TdxBarItemControlPainter::DrawGlyphBox(const TdxBarItemControl* Control, const TRect& R,
                                            const TRect& GlyphRect, int PaintType, bool NoImage,
                                            bool Selected, bool Down, bool Pressed, bool Grey, bool) const {
  HDC dc = Control->GetBarControl()->GetCanvas()->GetHandle();
  HBRUSH brush = GetBackgroundBrush(Control, PaintType, NoImage, Selected, Down, Pressed);
  const int glyphSize = Control->GetBarManager()->GetGlyphSize();
  const SIZE inner = NoImage ? SIZE{glyphSize, glyphSize} : SIZE{GlyphRect.Width(), GlyphRect.Height()};
  const bool fits = R.Width() >= inner.cx + 2 && R.Height() >= inner.cy + 2;
  if (HasCustomBackground())
    DrawButtonBorder(Control, dc, brush, fits, R, PaintType, NoImage, Selected, Down, Pressed);
  if (NoImage)
    DrawCheckedGlyphCell(Control, dc, R, brush, fits, PaintType, Selected, Down, Pressed);
  else
    DrawGlyph(Control, dc, R, GlyphRect, brush, fits, PaintType, Selected, Down, Pressed, Grey);
  if (!HasCustomBackground())
    DrawButtonBorder(Control, dc, brush, fits, R, PaintType, NoImage, Selected, Down, Pressed);
}

// ---- Captions ----

void TdxBarItemControlPainter::DrawCaption(const TdxBarItemControl* Control, HDC DC, const String& Text,
                                           const TRect& R, int Alignment, bool Enabled, bool Highlighted,
                                           bool Rotated, bool Clip, bool FlatHighlight) const {
  SetBkMode(DC, TRANSPARENT);
  UINT format = DT_SINGLELINE;
  if (!Clip) format |= DT_NOCLIP;
  HRGN saved = nullptr;
  const bool clipped = Clip && Rotated;
  if (clipped) saved = IntersectClipRectSaving(DC, R);
  TRotatedText rotated{Text};
  if (Rotated) rotated.Accel = StripAccelerator(rotated.Text);
  TColor textColor = clBtnText, secondColor = clBtnText;
  GetCaptionTextColors(Control, Enabled, Highlighted, IsFlatStyle() && FlatHighlight, textColor, secondColor);
  if (textColor != secondColor) {
    TRect shifted = R;
    OffsetRect(&shifted, 1, 1);
    DrawCaptionText(DC, Text, rotated, shifted, Alignment, Rotated, format, ColorToRGB(secondColor));
  }
  DrawCaptionText(DC, Text, rotated, R, Alignment, Rotated, format, ColorToRGB(textColor));
  if (clipped) RestoreClipRegion(DC, saved);
  SetBkMode(DC, OPAQUE);
}

void TdxBarItemControlPainter::GetTextColors(const TdxBarItemControl* Control, int, bool, bool, bool,
                                             int& TextColorIndex, HBRUSH& Brush) const {
  TextColorIndex = COLOR_BTNTEXT;
  Brush = Control->GetBarControl()->BackgroundBrush;
}

HBRUSH TdxBarItemControlPainter::GetBackgroundBrush(const TdxBarItemControl* Control, int, bool, bool, bool,
                                                    bool) const {
  return Control->GetBarControl()->BackgroundBrush;
}

// ---- Metrics ----

int TdxBarItemControlPainter::GetFloatingBorderWidth() const {
  return GetSystemMetrics(SM_CXFRAME);
}

int TdxBarItemControlPainter::GetFloatingBorderHeight() const {
  return GetSystemMetrics(SM_CYFRAME);
}

int TdxBarItemControlPainter::GetButtonArrowWidth(const TdxBarManager* Manager) const {
  const int width = Manager->GetButtonArrowWidth() * (Manager->GetLargeIcons() ? 2 : 1);
  return width % 2 == 0 ? width + 1 : width;
}

int TdxBarItemControlPainter::GetLargeButtonArrowWidth(const TdxBarManager* Manager) const {
  return Manager->GetLargeButtonArrowWidth();
}

void TdxBarItemControlPainter::DrawDockControlBackground(TdxDockControl*, HDC DC, const TRect& R,
                                                         HBRUSH Brush, TColor Color) const {
  FillRectOrTileBitmap(DC, R, R, nullptr, Color, Brush);
}

HBRUSH TdxBarItemControlPainter::GetBarBackgroundBrush(const TdxBarManager* Manager) const {
  return GetToolbarBrush(Manager);
}

void TdxBarItemControlPainter::DrawOwnerJoint(TCustomdxBarControl* BarControl, HDC DC) const {
  const TRect joint = BarControl->GetOwnerJointRect(false);
  if (!IsRectEmpty(&joint)) FillRect(DC, &joint, BarControl->GetBarBackgroundBrush());
}

HBRUSH TdxBarItemControlPainter::GetToolbarWindowBrush(const TCustomdxBarControl* BarControl) const {
  return GetToolbarBrush(BarControl->GetBarManager());
}

void TdxBarItemControlPainter::DrawDockedBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color,
                                                       HBRUSH Brush, const TRect& Source,
                                                       const TRect& /*R*/) const {
  // The dock paints in its own coordinates; the DC stays the window's.
  const TPoint offset = BarControl->GetClientOrigin();
  const TPoint dock = BarControl->GetDockControl()->GetClientOrigin();
  TRect shifted = Source;
  OffsetRect(&shifted, offset.x - dock.x, offset.y - dock.y);
  const int saved = SaveDC(DC);
  OffsetViewportOrgEx(DC, -(offset.x - dock.x), -(offset.y - dock.y), nullptr);
  BarControl->GetDockControl()->DrawBackground(DC, shifted, Color, Brush);
  RestoreDC(DC, saved);
}

void TdxBarItemControlPainter::DrawFloatingBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color,
                                                         HBRUSH Brush, const TRect& Source,
                                                         const TRect& R) const {
  FillRectOrTileBitmap(DC, R, Source, BarControl->GetBarManager()->GetBackgrounds()->GetBar(), Color, Brush);
}

HBRUSH TdxBarItemControlPainter::GetToolbarBrush(const TdxBarManager*) const {
  return GetSysColorBrush(COLOR_BTNFACE);
}

HBRUSH TdxBarItemControlPainter::GetCheckedBrush(const TdxBarManager*) const {
  return CheckerBrush();
}

HBRUSH TdxBarItemControlPainter::GetCheckedSelectedBrush(const TdxBarManager*) const {
  return GetSysColorBrush(COLOR_BTNFACE);
}

HBRUSH TdxBarItemControlPainter::GetSelectedBrush(const TdxBarManager*) const {
  return GetSysColorBrush(COLOR_HIGHLIGHT);
}

TRect TdxBarItemControlPainter::GetDockedBorderWidths(const TdxBarControl*) const {
  const int w = GetDockedBorderWidth();
  return TRect(w, w, w, w);
}

void TdxBarItemControlPainter::FillCaptionBackground(HDC DC, const TRect& R, HBRUSH Brush) const {
  FillRect(DC, &R, Brush);
}

int TdxBarItemControlPainter::GetSmallCaptionSize() const {
  return NonClientMetrics().iSmCaptionHeight;
}

SIZE TdxBarItemControlPainter::GetCloseButtonSize() const {
  const int size = GetSmallCaptionSize();
  return SIZE{size, size};
}

SIZE TdxBarItemControlPainter::GetSizeGripSize() const {
  return SIZE{GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

TRect TdxBarItemControlPainter::CalcCloseButtonRect(const TRect& Caption) const {
  TRect r = Caption;
  r.left = r.right - GetSmallCaptionSize();
  const SIZE size = GetCloseButtonSize();
  if (size.cx < r.Width()) {
    r.left += r.Width() / 2 - size.cx / 2;
    r.right = r.left + size.cx;
  }
  if (size.cy < r.Height()) {
    r.top += r.Height() / 2 - size.cy / 2;
    r.bottom = r.top + size.cy;
  }
  return r;
}

// ---- Toolbars ----

void TdxBarItemControlPainter::DrawToolbarSeparator(TCustomdxBarControl* BarControl, HDC DC, const TRect& R,
                                                    HBRUSH Brush, bool Horizontal) const {
  const int offset = GetSeparatorLineOffset();
  TRect line = R;
  if (Horizontal) {
    PaintBarBackground(BarControl, DC, TRect(R.left, R.top, R.right, R.top + offset), Brush);
    PaintBarBackground(BarControl, DC, TRect(R.left, R.bottom - offset, R.right, R.bottom), Brush);
    line.top += offset;
    line.bottom -= offset;
    DrawEdge(DC, &line, EDGE_ETCHED, BF_TOP);
  } else {
    PaintBarBackground(BarControl, DC, TRect(R.left, R.top, R.left + offset, R.bottom), Brush);
    PaintBarBackground(BarControl, DC, TRect(R.right - offset, R.top, R.right, R.bottom), Brush);
    line.left += offset;
    line.right -= offset;
    DrawEdge(DC, &line, EDGE_ETCHED, BF_LEFT);
  }
}

void TdxBarItemControlPainter::FillCloseButtonBackground(TdxBarControl* BarControl, HDC DC, int State,
                                                         const TRect& R) const {
  if (State == 0) {
    FillRectWithColor(DC, R, GetFloatCaptionColor(BarControl, BarControl->GetBarManager()->FormActive));
    return;
  }
  FrameRectHighlight(DC, R);
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  FillRect(DC, &inner, State == 1 ? BarControl->GetSelectedBrush() : BarControl->GetCheckedSelectedBrush());
}

void TdxBarItemControlPainter::DrawFloatingCaption(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, TColor,
                                                   const TRect& R) const {
  const TRect below(R.left, R.bottom, R.right, R.bottom + 1);
  FillRect(DC, &below, Brush);
  if (FillsCaptionBackground()) FillCaptionBackground(DC, R, Brush);
  TRect text = R;
  if (BarControl->GetBar()->CanClose()) {
    text.right -= GetSmallCaptionSize();
    DrawFloatingCloseButton(BarControl, DC, BarControl->GetCloseButtonState(), CalcCloseButtonRect(R));
  }
  const bool mark = BarControl->MarkVisible();
  const int left = mark ? GetCaptionTextOffset(BarControl->GetCaptionMarkRect()) : R.left + 2;
  if (text.Width() > 0) DrawFloatingCaptionText(BarControl, DC, text, left);
  if (mark) DrawFloatingMark(BarControl, DC, BarControl->GetCaptionMarkRect());
}

void TdxBarItemControlPainter::DrawFloatingCaptionText(TdxBarControl* BarControl, HDC DC, const TRect& R,
                                                       int Left) const {
  LOGFONTA font = NonClientMetrics().lfSmCaptionFont;
  const TdxBarManager* manager = BarControl->GetBarManager();
  if (!manager->GetUseSystemFont()) {
    LOGFONTA own{};
    GetObjectA(BarControl->GetFontHandle(), sizeof(own), &own);
    std::copy(std::begin(own.lfFaceName), std::end(own.lfFaceName), std::begin(font.lfFaceName));
    if (font.lfHeight > -11) font.lfHeight = -11;
  }
  HFONT handle = CreateFontIndirectA(&font);
  HGDIOBJ old = SelectObject(DC, handle);
  SetTextColor(DC, ColorToRGB(GetFloatCaptionTextColor(BarControl)));
  SetBkColor(DC, ColorToRGB(GetFloatCaptionColor(BarControl, manager->FormActive)));
  const bool filled = FillsCaptionBackground();
  SetBkMode(DC, filled ? TRANSPARENT : OPAQUE);
  TEXTMETRICA metrics{};
  GetTextMetricsA(DC, &metrics);
  const String& caption = BarControl->GetBar()->GetCaption();
  ExtTextOutA(DC, Left, R.top + (R.Height() - metrics.tmHeight) / 2, ETO_CLIPPED | (filled ? 0 : ETO_OPAQUE),
              &R, caption.c_str(), static_cast<UINT>(caption.size()), nullptr);
  SetBkMode(DC, OPAQUE);
  SelectObject(DC, old);
  DeleteObject(handle);
}

void TdxBarItemControlPainter::DrawMark(TdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                        const TRect& R) const {
  DrawMarkBody(BarControl, DC, Brush, R);
  DrawMarkChevrons(BarControl, DC, R);
}

void TdxBarItemControlPainter::DrawBottomBarSizeGrip(TdxBarControl* BarControl, HDC DC, TColor, HBRUSH,
                                                     const TRect& R) const {
  const SIZE size = GetSizeGripSize();
  DrawResizeGrip(BarControl, DC, TRect(R.right - size.cx, R.bottom - size.cy, R.right, R.bottom));
}

void TdxBarItemControlPainter::DrawBottomBarEdge(TdxBarControl* BarControl, HDC DC, const TRect& R) const {
  PaintBarBackground(BarControl, DC, R, nullptr);
}

void TdxBarItemControlPainter::InvalidateMark(TdxBarControl* BarControl) const {
  if (!BarControl->HandleAllocated()) return;
  if (BarControl->GetDockingStyle() != dsNone) {
    const TRect r = CalcMarkBounds(BarControl);
    InvalidateRect(BarControl->GetHandle(), &r, FALSE);
    return;
  }
  HDC dc = GetWindowDC(BarControl->GetHandle());
  DrawFloatingMark(BarControl, dc, BarControl->GetCaptionMarkRect());
  ReleaseDC(BarControl->GetHandle(), dc);
}

void TdxBarItemControlPainter::DrawBottomBarBackground(TdxBarControl*, HDC DC, TColor Color, HBRUSH Brush,
                                                       const TRect& R) const {
  FillRectOrTileBitmap(DC, R, R, nullptr, Color, Brush);
}

// ---- Sub items ----

int TdxBarItemControlPainter::GetSubMenuArrowSize(const TCustomdxBarControl* BarControl) const {
  LOGFONTA font{};
  GetObjectA(BarControl->GetFontHandle(), sizeof(font), &font);
  const int height = -font.lfHeight;
  return height >= 0 ? height / 2 : -((-height + 1) / 2);
}

int TdxBarItemControlPainter::GetSubItemHeight(TdxBarSubItemControl* Control) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  const int row = window->TextHeight;
  if (!dynamic_cast<TdxBarControl*>(window)) return row;
  const TdxBarManager* manager = Control->GetBarManager();
  int height = 0;
  if (Control->ShowsGlyph())
    height = Control->ShowsRotatedCaptions() ? manager->GetButtonWidth() : manager->GetButtonHeight();
  if (height == 0 || (Control->ShowsCaption() && height < row)) height = row;
  return height;
}

int TdxBarItemControlPainter::GetSubItemWidth(TdxBarSubItemControl* Control) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  const int row = window->TextHeight;
  auto* toolbar = dynamic_cast<TdxBarControl*>(window);
  if (!toolbar) return Control->CaptionWidth() + 2 * row + 3;
  const TdxBarManager* manager = Control->GetBarManager();
  int width = Control->ShowsCaption() ? Control->CaptionWidth() : 0;
  if (Control->ShowsGlyph()) {
    width += Control->ShowsRotatedCaptions() ? manager->GetButtonHeight() : manager->GetButtonWidth();
    if (Control->ShowsCaption()) width += 4;
  } else {
    width += 2 * GetSubMenuArrowSize(window);
  }
  if (!toolbar->GetBar()->GetIsMainMenu()) width += row / 2;
  return width;
}

void TdxBarItemControlPainter::DrawSubItem(TdxBarSubItemControl* Control, HDC DC, const TRect& R, bool Selected,
                                           bool Down, int PaintType) const {
  auto* toolbar = dynamic_cast<TdxBarControl*>(Control->GetBarControl());
  if (!toolbar) {
    DrawMenuSubItem(Control, DC, R, Selected, Down, false);
    return;
  }
  const TdxBarManager* manager = Control->GetBarManager();
  const bool rotated = PaintType == 2, glyph = Control->ShowsGlyph();
  Control->DrawGlyphArea(R, nullptr, PaintType, !glyph, Selected, Down, false, false, false);
  TRect text = R;
  const int advance = glyph ? (rotated ? manager->GetButtonHeight() : manager->GetButtonWidth())
                            : GetSubMenuArrowSize(toolbar);
  (rotated ? text.top : text.left) += advance;
  const bool menuBar = IsMenuBarItem(Control);
  if (Down && !menuBar) OffsetRect(&text, 1, 1);
  if (Control->ShowsCaption())
    Control->DrawCaption(DC, Control->GetCaption(), text, 0, Control->GetEnabled(), menuBar && Selected, rotated,
                         false, !(menuBar && Selected));
  if (toolbar->GetBar()->GetIsMainMenu()) return;
  // The arrow, pointing down, half a row from the end less half the font.
  const int size = toolbar->Indent - 1;
  LOGFONTA font{};
  GetObjectA(toolbar->GetFontHandle(), sizeof(font), &font);
  const int start = -toolbar->TextHeight / 2 + font.lfHeight / 2;
  TRect arrow = rotated ? TRect(R.left, R.bottom + start, R.right, R.bottom + start + 2 * size)
                        : TRect(R.right + start, R.top, R.right + start + 2 * size, R.bottom);
  if (Down && !menuBar) OffsetRect(&arrow, 1, 1);
  DrawArrowTriangle(DC, arrow, true, size, false, Control->GetEnabled(), false);
}

// ---- Edits and combos ----

void TdxBarItemControlPainter::DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC, int, bool,
                                                       const TRect& R, TRect& ButtonRect) const {
  ButtonRect = TRect(R.right - Control->GetBarControl()->ComboButtonWidth, R.top, R.right, R.bottom);
}

void TdxBarItemControlPainter::GetComboTextColors(const TdxBarItemControl* Control, int PaintType, bool Enabled,
                                                  bool Selected, bool DroppedDown, int& TextColorIndex,
                                                  HBRUSH& Brush) const {
  GetTextColors(Control, PaintType, Enabled, Selected, DroppedDown, TextColorIndex, Brush);
}

void TdxBarItemControlPainter::DrawEditValue(const TdxBarEditControl*, TCanvas* Canvas, TRect R,
                                             const String& Text) const {
  Canvas->FillRect(R);
  R.left += 2;
  R.right -= 2;
  AdjustEditValueRect(R);
  HDC dc = Canvas->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, Canvas->GetFont()->GetHandle());
  const COLORREF oldColor = SetTextColor(dc, ColorToRGB(Canvas->GetFont()->GetColor()));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, Text.c_str(), static_cast<int>(Text.size()), &R, DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
}

void TdxBarItemControlPainter::DrawComboListItem(TCanvas* Canvas, const TRect& R, const String& Text,
                                                 bool) const {
  Canvas->FillRect(R);
  HDC dc = Canvas->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, Canvas->GetFont()->GetHandle());
  const COLORREF oldColor = SetTextColor(dc, ColorToRGB(Canvas->GetFont()->GetColor()));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, R.left + 2, R.top, Text.c_str(), static_cast<int>(Text.size()));
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
}

void TdxBarItemControlPainter::DrawEditFrame(const TdxBarEditControl* Control, HDC DC, TRect& R, int,
                                             bool Selected) const {
  HBRUSH brush = Control->GetBarControl()->BackgroundBrush;
  if (Selected)
    DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT);
  else
    FrameBackground(Control, DC, Control->NonRecent, brush, R);
  InflateRect(&R, -1, -1);
  const bool enabled = Control->GetEnabled();
  FrameBackground(Control, DC, Selected || Control->NonRecent || !enabled,
                  enabled ? brush : GetSysColorBrush(COLOR_BTNHIGHLIGHT), R);
  InflateRect(&R, -1, -1);
}

void TdxBarItemControlPainter::DrawEditCaption(const TdxBarEditControl* Control, HDC DC, bool Selected,
                                               int PaintType, TRect& R) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  const bool menuSelected = PaintType == 1 && Selected;
  const TRect box(R.left, R.top, R.left + CaptionTextWidth(window, Control->GetCaption()) + 2, R.bottom);
  R.left = box.right + 4;
  HBRUSH brush = menuSelected ? window->GetSelectedBrush() : window->BackgroundBrush;
  const bool useBrush = menuSelected || Control->NonRecent;
  FillBackground(Control, DC, useBrush, brush, box);
  DrawCaption(Control, DC, Control->GetCaption(), box, 2, Control->GetEnabled(), menuSelected, false, false,
              false);
  FillBackground(Control, DC, useBrush, brush, TRect(box.right, R.top, R.left, R.bottom));
}

void TdxBarItemControlPainter::DrawEditValueText(const TdxBarEditControl* Control, HDC DC, bool Force,
                                                 const TRect& R) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  const bool enabled = Control->GetEnabled();
  if (!Force && !enabled) {
    FillRect(DC, &R, window->BackgroundBrush);
    return;
  }
  TColor text = clWindowText, background = clWindow;
  GetEditColors(window, enabled, text, background);
  DrawEditValueWithColors(Control, DC, R, text, background);
}

void TdxBarItemControlPainter::DrawEditValueWithColors(const TdxBarEditControl* Control, HDC DC, const TRect& R,
                                                       TColor Text, TColor Background) {
  TCustomdxBarControl* window = Control->GetBarControl();
  TdxBarEdit* edit = Control->GetEdit();
  if (!edit) return;
  TCanvas* canvas = window->GetCanvas();
  TFont savedFont;
  savedFont.Assign(canvas->GetFont());
  const TColor savedBrush = canvas->GetBrush()->GetColor();
  HGDIOBJ oldFont = GetCurrentObject(DC, OBJ_FONT);
  HRGN clip = IntersectClipRectSaving(DC, R);
  auto restore = [&] {
    canvas->GetFont()->Assign(&savedFont);
    canvas->GetBrush()->SetColor(savedBrush);
    SelectObject(DC, oldFont);
    RestoreClipRegion(DC, clip);
  };
  canvas->GetFont()->SetHandle(window->GetFontHandle());
  canvas->GetFont()->SetColor(Text);
  canvas->GetBrush()->SetColor(Background);
  try {
    edit->DrawInterior(Control, canvas, R);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TdxBarItemControlPainter::SelectEditText(HWND Wnd, bool) const {
  SendMessageA(Wnd, EM_SETSEL, 0, -1);
}
