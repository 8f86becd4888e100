// The Office 2003 painter: a horizontal gradient on the docks, rounded
// toolbars with a two-part gradient across them, a shadow line and dotted
// grips, orange gradients for hot and checked buttons, and the mark's own
// gradient; every colour comes from the Office 2003 colour set.
#include "dxBarPainters.h"

#include "dxBarCommon.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"

#include "cxEditTextUtils.h"

namespace {

const TOffice11Colors& C() {
  return Office11Colors;
}

// A sub item, or a button whose drop-down menu is open.
bool IsOpenedOwner(const TdxBarItemControl* control) {
  return dynamic_cast<const TCustomdxBarSubItem*>(control->GetItem()) || IsDropDownOpen(control);
}

bool HasPlainBorder(const TdxBar* bar) {
  return bar->BorderStyle == bbsNone || bar->GetIsMainMenu();
}

void GetDockColors(TdxBarDockingStyle style, TColor& from, TColor& to) {
  from = style == dsBottom ? C().DockTo : C().DockFrom;
  to = style == dsRight ? C().DockFrom : C().DockTo;
}

struct TMarkColors {
  TColor From, To, Corner, Shadow;
};

TMarkColors GetMarkColors(const TdxBarControl* barControl) {
  switch (barControl->GetMarkState()) {
  case 1:
    return {C().MarkHotFrom, C().MarkHotTo, C().MarkHotCorner, C().MarkHotShadow};
  case 2:
    return {C().MarkPressedFrom, C().MarkPressedTo, C().MarkPressedCorner, C().MarkPressedShadow};
  default:
    return {C().MarkFrom, C().MarkTo, C().MarkCorner, C().MarkShadow};
  }
}

void GetButtonGradientColors(bool downOrPressed, bool selected, TColor& c1, TColor& c2) {
  if (!downOrPressed) {
    c1 = C().HotButtonLight;
    c2 = C().HotButtonDark;
  } else if (selected) {
    c1 = C().DownButtonDark;
    c2 = C().DownButtonLight;
  } else {
    c1 = C().DownButtonLight;
    c2 = C().DownButtonDark;
  }
}

void Pixel(HDC dc, int x, int y, TColor color) {
  SetPixel(dc, x, y, ColorToRGB(color));
}

// The window's rectangle in its own coordinates and its client origin in
// them: the non-client insets of a window on screen, none before it is.
TRect WindowRectOf(TCustomdxBarControl* barControl, TPoint& clientOrigin) {
  clientOrigin = TPoint();
  if (!barControl->HandleAllocated()) return TRect(0, 0, barControl->GetWidth(), barControl->GetHeight());
  RECT window;
  GetWindowRect(barControl->GetHandle(), &window);
  POINT origin{0, 0};
  ClientToScreen(barControl->GetHandle(), &origin);
  clientOrigin = TPoint(origin.x - window.left, origin.y - window.top);
  return TRect(0, 0, window.right - window.left, window.bottom - window.top);
}

// The toolbar's gradient rectangle in window coordinates: one pixel shorter
// at both ends across the bar.
TRect BarGradientRect(const TCustomdxBarControl* barControl, const TRect& window) {
  TRect r = window;
  if (auto* toolbar = dynamic_cast<const TdxBarControl*>(barControl)) {
    if (toolbar->IsVertical())
      InflateRect(&r, -1, 0);
    else
      InflateRect(&r, 0, -1);
  }
  return r;
}

// The dock's gradient under a pixel of the window (window coordinates).
struct TDockGradient {
  TRect Rect; // the dock's client area in window coordinates
  TColor From, To;
  TColor At(int x) const { return GradientColorAt(Rect, x, From, true, To); }
};

TDockGradient DockGradientOf(const TdxBarControl* barControl) {
  TDockGradient g{TRect(0, 0, barControl->GetWidth(), barControl->GetHeight()), C().DockFrom, C().DockTo};
  TdxDockControl* dock = barControl->GetDockControl();
  GetDockColors(dock ? dock->GetDockingStyle() : barControl->GetDockingStyle(), g.From, g.To);
  if (dock) {
    g.Rect = TRect(0, 0, dock->GetClientWidth(), dock->GetClientHeight());
    OffsetRect(&g.Rect, -barControl->GetLeft(), -barControl->GetTop());
  }
  return g;
}

void FillDockGradient(HDC dc, const TDockGradient& g, const TRect& r) {
  HRGN saved = IntersectClipRectSaving(dc, r);
  FillGradient(dc, g.Rect, g.From, true, g.To);
  RestoreClipRegion(dc, saved);
}

} // namespace

TdxBarItemControlPainterClass TdxBarItemControlOffice11Painter::Instance() {
  static const TdxBarItemControlOffice11Painter painter;
  return &painter;
}

// ---- Colours and brushes ----

TColor TdxBarItemControlOffice11Painter::GetFadedImageColor(const TdxBarManager*) const {
  return C().MarkFrom;
}

void TdxBarItemControlOffice11Painter::GetEditColors(TCustomdxBarControl*, bool Enabled, TColor& TextColor,
                                                     TColor& BkColor) const {
  TextColor = Enabled ? C().TextColor : C().DisabledText;
  BkColor = static_cast<TColor>(GetSysColor(Enabled ? COLOR_WINDOW : COLOR_BTNFACE));
}

void TdxBarItemControlOffice11Painter::GetCaptionTextColors(const TdxBarItemControl*, bool Enabled,
                                                            bool Highlighted, bool FlatHighlight,
                                                            TColor& TextColor, TColor& SecondColor) const {
  if (!Enabled)
    TextColor = C().DisabledText;
  else
    TextColor = Highlighted && !FlatHighlight ? C().FloatingCaptionText : C().TextColor;
  SecondColor = TextColor;
}

TColor TdxBarItemControlOffice11Painter::GetFloatCaptionColor(const TdxBarControl*, bool) const {
  return C().FloatingFrame;
}

TColor TdxBarItemControlOffice11Painter::GetFloatCaptionTextColor(const TdxBarControl*) const {
  return C().FloatingCaptionText;
}

TColor TdxBarItemControlOffice11Painter::GetCaptionGlyphColor(const TdxBarControl*, int State) const {
  return State == 1 ? C().CaptionGlyphHot : State == 2 ? C().CaptionGlyphPressed : C().FloatingCaptionText;
}

void TdxBarItemControlOffice11Painter::GetTextColors(const TdxBarItemControl* Control, int, bool Enabled,
                                                     bool Selected, bool DroppedDown, int& TextColorIndex,
                                                     HBRUSH& Brush) const {
  TCustomdxBarControl* barControl = Control->GetBarControl();
  // Colour values, not system colour indices, as this painter's arrows take.
  if (!Enabled) {
    TextColorIndex = static_cast<int>(C().DisabledText);
    Brush = GetSysColorBrush(COLOR_BTNFACE);
    return;
  }
  TextColorIndex = static_cast<int>(C().TextColor);
  Brush = !Selected     ? barControl->BackgroundBrush
          : DroppedDown ? barControl->GetCheckedSelectedBrush()
                        : barControl->GetSelectedBrush();
}

HBRUSH TdxBarItemControlOffice11Painter::GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType,
                                                            bool NoImage, bool Selected, bool Down,
                                                            bool Pressed) const {
  TCustomdxBarControl* barControl = Control->GetBarControl();
  if (Selected && (Pressed || Down))
    return Down && IsDropDownOpen(Control) ? barControl->GetBarBackgroundBrush()
                                           : barControl->GetCheckedSelectedBrush();
  if (Selected) return barControl->GetSelectedBrush();
  if (Down) return barControl->GetCheckedBrush();
  if (PaintType == 1 && !NoImage) return barControl->GetToolbarBrush();
  return barControl->BackgroundBrush;
}

HBRUSH TdxBarItemControlOffice11Painter::GetBarBackgroundBrush(const TdxBarManager*) const {
  return Office11Brushes.ToolbarFaceBrush;
}

HBRUSH TdxBarItemControlOffice11Painter::GetToolbarBrush(const TdxBarManager*) const {
  return Office11Brushes.MenuBackgroundBrush;
}

HBRUSH TdxBarItemControlOffice11Painter::GetToolbarWindowBrush(const TCustomdxBarControl* BarControl) const {
  return TdxBarItemControlFlatPainter::GetToolbarWindowBrush(BarControl);
}

HBRUSH TdxBarItemControlOffice11Painter::GetCheckedBrush(const TdxBarManager*) const {
  return Office11Brushes.CheckedBrush;
}

HBRUSH TdxBarItemControlOffice11Painter::GetCheckedSelectedBrush(const TdxBarManager*) const {
  return Office11Brushes.CheckedSelectedBrush;
}

HBRUSH TdxBarItemControlOffice11Painter::GetSelectedBrush(const TdxBarManager*) const {
  return Office11Brushes.SelectedBrush;
}

HBRUSH TdxBarItemControlOffice11Painter::GetFlatShadowBrush() const {
  return Office11Brushes.BarFrameBrush;
}

HBRUSH TdxBarItemControlOffice11Painter::GetSeparatorBrush(const TCustomdxBarControl*) const {
  return Office11Brushes.SeparatorDarkBrush;
}

bool TdxBarItemControlOffice11Painter::HasShadow(const TCustomdxBarControl* BarControl) const {
  // Toolbars cast none; menus do.
  if (dynamic_cast<const TdxBarControl*>(BarControl)) return false;
  return TdxBarItemControlFlatPainter::HasShadow(BarControl);
}

void TdxBarItemControlOffice11Painter::FrameSelected(HDC DC, const TRect& R) const {
  FrameRectWithBorderBrush(DC, R);
}

void TdxBarItemControlOffice11Painter::FrameBarControl(TCustomdxBarControl*, HDC DC, const TRect& R) const {
  FrameRect(DC, &R, Office11Brushes.BarFrameBrush);
}

void TdxBarItemControlOffice11Painter::FillOwnerJoint(TCustomdxBarControl* BarControl, HDC DC,
                                                      const TdxBarItemControl* Control,
                                                      const TRect& JointRect) const {
  if (!Control || !IsOpenedOwner(Control)) {
    TdxBarItemControlFlatPainter::FillOwnerJoint(BarControl, DC, Control, JointRect);
    return;
  }
  TRect owner;
  BarControl->GetControlRect(Control, owner);
  const bool below =
      JointRect.Width() >= JointRect.Height() && JointRect.top >= (owner.top + owner.bottom) / 2;
  const bool right =
      JointRect.Height() > JointRect.Width() && JointRect.left >= (owner.left + owner.right) / 2;
  FillRectWithColor(DC, JointRect, below || right ? C().ToolbarDark : C().ToolbarLight);
}

void TdxBarItemControlOffice11Painter::DrawOwnerJoint(TCustomdxBarControl* BarControl, HDC DC) const {
  const TRect joint = BarControl->GetOwnerJointRect(false);
  if (!IsRectEmpty(&joint)) FillRect(DC, &joint, Office11Brushes.MenuBackgroundBrush);
}

// ---- Metrics ----

TRect TdxBarItemControlOffice11Painter::GetDockedBorderWidths(const TdxBarControl* BarControl) const {
  return GetDockedBorderOffsets(BarControl);
}

TRect TdxBarItemControlOffice11Painter::GetDockedBorderOffsets(const TdxBarControl* BarControl) const {
  if (BarControl && BarControl->GetBar()->GetIsMainMenu())
    return BarControl->IsVertical() ? TRect(2, 0, 2, 0) : TRect(0, 2, 0, 2);
  return TdxBarItemControlFlatPainter::GetDockedBorderOffsets(BarControl);
}

TRect TdxBarItemControlOffice11Painter::CalcMarkHitRect(TdxBarControl* BarControl) const {
  TRect r = TdxBarItemControlFlatPainter::CalcMarkHitRect(BarControl);
  if (BarControl->GetDockingStyle() == dsNone || HasPlainBorder(BarControl->GetBar())) return r;
  if (BarControl->IsVertical())
    r = TRect(r.left - 1, r.top, r.right + 1, r.bottom + 2);
  else
    r = TRect(r.left, r.top - 1, r.right + 2, r.bottom + 1);
  return r;
}

// ---- Buttons ----

void TdxBarItemControlOffice11Painter::DrawButtonBorder(const TdxBarItemControl* Control, HDC DC,
                                                        HBRUSH Brush, bool Fits, const TRect& R,
                                                        int PaintType, bool NoImage, bool Selected, bool Down,
                                                        bool Pressed) const {
  if (PaintType == 1 && Selected && NoImage && !Down) {
    FillRect(DC, &R, Brush);
    return;
  }
  const bool across = IsVerticalBar(Control->GetBarControl());
  const bool useBrush = Selected || Down || Pressed;
  if (Down && IsOpenedOwner(Control))
    FillGradient(DC, R, C().ToolbarLight, across, C().ToolbarDark);
  else if (PaintType != 1 && useBrush) {
    TColor c1, c2;
    GetButtonGradientColors(Down || Pressed, Selected, c1, c2);
    FillGradient(DC, R, c1, across, c2);
  } else
    FillBackground(Control, DC, useBrush, Brush, R);
  if (Down || (Selected && PaintType != 1)) {
    auto* button = dynamic_cast<const TdxBarButtonControl*>(Control);
    if (TCustomdxBarControl* menu = Down && PaintType != 1 ? OpenedMenuOf(Control) : nullptr)
      FrameWithOwnerGap(Control->GetBarControl(), DC, menu, Control, R);
    else if (Selected || (button && button->GetDown()))
      FrameRectWithBorderBrush(DC, R);
    else
      FrameRect(DC, &R, Office11Brushes.BarFrameBrush);
  } else if (Fits)
    FrameBackground(Control, DC, useBrush, Brush, R);
}

void TdxBarItemControlOffice11Painter::DrawGlyph(const TdxBarItemControl* Control, HDC DC, TRect R,
                                                 const TRect& GlyphRect, HBRUSH Brush, bool Fits, int,
                                                 bool Selected, bool Down, bool Pressed, bool Grey) const {
  if (Fits) InflateRect(&R, -1, -1);
  TdxGlyphState state;
  state.CopyBackground = true;
  DrawControlGlyph(this, Control, DC, R, GlyphRect, Brush, state, Selected, Down, Pressed, Grey);
}

void TdxBarItemControlOffice11Painter::DrawArrow(HDC DC, const TRect& R, bool Down, bool Enabled,
                                                 bool Selected, bool Flat) const {
  DrawSchemeArrow(DC, R, Down, Enabled, Selected, Flat);
}

void TdxBarItemControlOffice11Painter::DrawArrowTriangle(HDC DC, const TRect& R, bool Down, int Size,
                                                         bool Selected, bool Enabled, bool Flat) const {
  DrawSchemeArrowTriangle(DC, R, Down, Size, Selected, Enabled, Flat);
}

void TdxBarItemControlOffice11Painter::DrawDropDownArrow(HDC DC, int X, int Y, int Width, int Color) const {
  const POINT points[] = {{X, Y}, {X + Width - 1, Y}, {X + Width / 2, Y + Width / 2}};
  HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(Color));
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(Color));
  HGDIOBJ oldPen = SelectObject(DC, pen), oldBrush = SelectObject(DC, brush);
  Polygon(DC, points, 3);
  SelectObject(DC, oldBrush);
  SelectObject(DC, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void TdxBarItemControlOffice11Painter::FillCloseButtonBackground(TdxBarControl* BarControl, HDC DC, int State,
                                                                 const TRect& R) const {
  if (State == 0) {
    FillRectWithColor(DC, R, GetFloatCaptionColor(BarControl, BarControl->GetBarManager()->FormActive));
    return;
  }
  FrameRectWithBorderBrush(DC, R);
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  FillRectWithColor(DC, inner, State == 1 ? C().HotButtonLight : C().HotButtonDark);
}

// ---- Docks and toolbar backgrounds ----

void TdxBarItemControlOffice11Painter::DrawDockControlBackground(TdxDockControl* DockControl, HDC DC,
                                                                 const TRect& R, HBRUSH, TColor) const {
  TColor from, to;
  GetDockColors(DockControl->GetDockingStyle(), from, to);
  HRGN saved = IntersectClipRectSaving(DC, R);
  FillGradient(DC, TRect(0, 0, DockControl->GetClientWidth(), DockControl->GetClientHeight()), from, true,
               to);
  RestoreClipRegion(DC, saved);
}

void TdxBarItemControlOffice11Painter::DrawDockedBarBackground(TCustomdxBarControl* BarControl, HDC DC,
                                                               TColor Color, HBRUSH Brush,
                                                               const TRect& Source, const TRect& R) const {
  auto* toolbar = dynamic_cast<TdxBarControl*>(BarControl);
  if (!toolbar || HasPlainBorder(toolbar->GetBar())) {
    TdxBarItemControlFlatPainter::DrawDockedBarBackground(BarControl, DC, Color, Brush, Source, R);
    return;
  }
  // Source is in client coordinates; the gradient spans the whole window.
  TPoint origin;
  TRect gradient = BarGradientRect(toolbar, WindowRectOf(toolbar, origin));
  OffsetRect(&gradient, R.left - Source.left - origin.x, R.top - Source.top - origin.y);
  HRGN saved = IntersectClipRectSaving(DC, R);
  FillGradientTwoPart(DC, gradient, C().ToolbarLight, toolbar->IsVertical(), C().ToolbarDark);
  RestoreClipRegion(DC, saved);
}

void TdxBarItemControlOffice11Painter::DrawFloatingBarBackground(TCustomdxBarControl* BarControl, HDC DC,
                                                                 TColor Color, HBRUSH Brush,
                                                                 const TRect& Source, const TRect& R) const {
  if (!dynamic_cast<TdxBarControl*>(BarControl)) {
    TdxBarItemControlFlatPainter::DrawFloatingBarBackground(BarControl, DC, Color, Brush, Source, R);
    return;
  }
  TRect client(0, 0, BarControl->GetClientWidth(), BarControl->GetClientHeight());
  OffsetRect(&client, R.left - Source.left, R.top - Source.top);
  HRGN saved = IntersectClipRectSaving(DC, R);
  FillGradient(DC, client, C().ToolbarLight, false, C().ToolbarDark);
  RestoreClipRegion(DC, saved);
}

void TdxBarItemControlOffice11Painter::DrawToolbarSeparator(TCustomdxBarControl* BarControl, HDC DC,
                                                            const TRect& R, HBRUSH Brush,
                                                            bool Horizontal) const {
  BarControl->DrawBackground(DC, R, true, clNone, Brush);
  TRect r = R;
  const int offset = GetSeparatorLineOffset();
  if (Horizontal) {
    r.top += offset;
    const TRect dark(r.left + 3, r.top, r.right - 4, r.top + 1),
        light(r.left + 4, r.top + 1, r.right - 3, r.top + 2);
    FillRect(DC, &dark, Office11Brushes.SeparatorDarkBrush);
    FillRect(DC, &light, Office11Brushes.SeparatorLightBrush);
  } else {
    r.left += offset;
    const TRect dark(r.left, r.top + 3, r.left + 1, r.bottom - 4),
        light(r.left + 1, r.top + 4, r.left + 2, r.bottom - 3);
    FillRect(DC, &dark, Office11Brushes.SeparatorDarkBrush);
    FillRect(DC, &light, Office11Brushes.SeparatorLightBrush);
  }
}

// ---- Docked toolbar border, grip and mark ----

void TdxBarItemControlOffice11Painter::DrawGripDots(TCustomdxBarControl*, HDC DC, bool Column,
                                                    const TRect& R) const {
  FillGripDots(DC, R, Column);
}

void TdxBarItemControlOffice11Painter::DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const {
  const TdxBar* bar = BarControl->GetBar();
  const TDockGradient dock = DockGradientOf(BarControl);
  const bool vertical = BarControl->IsVertical();
  // Drawn for a horizontal bar; a vertical one swaps x and y.
  auto at = [vertical](int along, int across) {
    return vertical ? TPoint(across, along) : TPoint(along, across);
  };
  auto rect = [vertical](int a0, int c0, int a1, int c1) {
    return vertical ? TRect(c0, a0, c1, a1) : TRect(a0, c0, a1, c1);
  };
  auto dockAt = [&](TPoint p) { return dock.At(p.x); };
  auto mix = [&](TPoint p, TColor barColor) { Pixel(DC, p.x, p.y, MixColors(barColor, dockAt(p), 50)); };
  const int length = vertical ? R.Height() : R.Width(), thickness = vertical ? R.Width() : R.Height();
  if (bar->GetIsMainMenu()) {
    FillDockGradient(DC, dock, rect(0, 0, length, 2));
    FillDockGradient(DC, dock, rect(0, thickness - 2, length, thickness));
  } else if (bar->BorderStyle == bbsSingle) {
    const int s = GetGripDotSpacing();
    FillDockGradient(DC, dock, rect(0, 0, s, thickness));
    FillDockGradient(DC, dock, rect(0, 0, length, 1));
    // The body's outline carries the bar's gradient up to the edges.
    const TRect window(0, 0, R.Width(), R.Height());
    const TRect gradient = BarGradientRect(BarControl, window);
    {
      // Only the outline: the inside is the window's to paint.
      HRGN saved = IntersectClipRectSaving(DC, rect(s, 1, length, thickness));
      ExcludeClipRect(DC, R.left + 2, R.top + 2, R.right - 2, R.bottom - 2);
      FillGradientTwoPart(DC, gradient, C().ToolbarLight, vertical, C().ToolbarDark);
      RestoreClipRegion(DC, saved);
    }
    const int a0 = s, a1 = length - 1, c0 = 1, c1 = thickness - 1;
    auto barAt = [&](TPoint p) {
      return GradientColorAt(gradient, vertical ? p.x : p.y, C().ToolbarLight, vertical, C().ToolbarDark);
    };
    const bool mark = BarControl->MarkVisible();
    const int shadowEnd = mark ? length - 13 : a1 - 1;
    // The shadow along the bottom and the corners, rounded off into the dock.
    {
      HBRUSH shadow = CreateSolidBrush(ColorToRGB(C().BarShadow));
      const TRect line = rect(a0 + 2, c1, shadowEnd, c1 + 1);
      FillRect(DC, &line, shadow);
      DeleteObject(shadow);
    }
    for (TPoint corner : {at(a0, c0), at(a1, c0), at(a0, c1), at(a1, c1)})
      Pixel(DC, corner.x, corner.y, dockAt(corner));
    mix(at(a0 + 1, c0), barAt(at(a0 + 1, c0)));
    mix(at(a0, c0 + 1), barAt(at(a0, c0 + 1)));
    mix(at(a1 - 1, c0), barAt(at(a1 - 1, c0)));
    mix(at(a1, c0 + 1), barAt(at(a1, c0 + 1)));
    mix(at(a0 + 1, c1), C().BarCorner);
    mix(at(a0, c1 - 1), C().BarCorner);
    const TPoint innerLeft = at(a0 + 1, c1 - 1);
    Pixel(DC, innerLeft.x, innerLeft.y, C().BarCorner);
    if (mark) {
      const TMarkColors colors = GetMarkColors(BarControl);
      HRGN saved = IntersectClipRectSaving(DC, rect(length - 12, 0, length, thickness));
      ExcludeClipRect(DC, R.left + 2, R.top + 2, R.right - 2, R.bottom - 2);
      FillGradientTwoPart(DC, rect(length - 12, c0, length, thickness), colors.From, vertical, colors.To);
      RestoreClipRegion(DC, saved);
      for (TPoint corner : {at(a1, c0), at(a1, c1)})
        mix(corner, colors.To);
      const TPoint before = at(length - 13, c1);
      mix(before, MixColors(colors.To, C().BarCorner, 50));
    } else {
      mix(at(a1 - 1, c1), C().BarCorner);
      mix(at(a1, c1 - 1), C().BarCorner);
      const TPoint innerRight = at(a1 - 1, c1 - 1);
      Pixel(DC, innerRight.x, innerRight.y, C().BarCorner);
    }
  }
  if (!BarMayDock(bar)) return;
  InflateRect(&R, -2, -2);
  const int start = GetGripOffset(), width = GetGripWidth();
  const TRect grip = vertical ? TRect(R.left + 3, R.top + start, R.right - 3, R.top + start + width)
                              : TRect(R.left + start, R.top + 3, R.left + start + width, R.bottom - 3);
  DrawGripDots(BarControl, DC, !vertical, grip);
}

void TdxBarItemControlOffice11Painter::DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH,
                                                    const TRect& R) const {
  const TMarkColors colors = GetMarkColors(BarControl);
  const bool vertical = BarControl->IsVertical();
  if (HasPlainBorder(BarControl->GetBar())) {
    FillGradientTwoPart(DC, R, colors.From, vertical, colors.To);
    return;
  }
  TRect body = R, band = R;
  if (vertical) {
    body = TRect(R.left - 2, R.top + 2, R.right + 2, R.bottom);
    band.bottom = band.top + 2;
  } else {
    body = TRect(R.left + 2, R.top - 2, R.right, R.bottom + 2);
    band.right = band.left + 2;
  }
  BarControl->DrawBackground(DC, band, true, clNone, nullptr);
  const TPoint corner = vertical ? TPoint(band.left, band.top + 1) : TPoint(band.left + 1, band.top);
  TPoint origin;
  const TRect gradient = BarGradientRect(BarControl, WindowRectOf(BarControl, origin));
  const TColor barColor = GradientColorAt(gradient, vertical ? corner.x + origin.x : corner.y + origin.y,
                                          C().ToolbarLight, vertical, C().ToolbarDark);
  HRGN saved = IntersectClipRectSaving(DC, body);
  FillGradientTwoPart(DC, body, colors.From, vertical, colors.To);
  RestoreClipRegion(DC, saved);
  Pixel(DC, corner.x, corner.y, MixColors(colors.Corner, barColor, 50));
}

void TdxBarItemControlOffice11Painter::DrawMarkChevrons(TdxBarControl* BarControl, HDC DC,
                                                        const TRect& R) const {
  const bool plain = HasPlainBorder(BarControl->GetBar());
  const int i = plain ? 2 : 0, j = plain ? 1 : 0;
  const bool vertical = BarControl->IsVertical();
  auto polygon = [DC](std::initializer_list<POINT> points, int dx, TColor color) {
    std::vector<POINT> shifted(points);
    for (POINT& p : shifted)
      p.x += dx, p.y += dx;
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    HGDIOBJ oldPen = SelectObject(DC, pen), oldBrush = SelectObject(DC, brush);
    Polygon(DC, shifted.data(), static_cast<int>(shifted.size()));
    SelectObject(DC, oldBrush);
    SelectObject(DC, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  };
  auto shape = [&](auto draw) {
    draw(1, C().MarkArrowShadow);
    draw(0, C().MarkArrow);
  };
  auto fill = [DC](int x, int y, int w, int h, int d, TColor color) {
    FillRectWithColor(DC, TRect(x + d, y + d, x + w + d, y + h + d), color);
  };
  if (!vertical) {
    const int x = R.right - i - 6, y = R.bottom - j - 8;
    shape([&](int d, TColor c) {
      fill(x, y, 5, 1, d, c);
      polygon({{x, y + 3}, {x + 4, y + 3}, {x + 2, y + 5}}, d, c);
    });
    if (!BarControl->GetTruncated()) return;
    const int cx = R.right - i - 7, cy = R.top - j + 3;
    shape([&](int d, TColor c) {
      for (int k : {0, 4})
        polygon({{cx + k, cy}, {cx + k + 1, cy + 1}, {cx + k, cy + 2}}, d, c);
    });
    return;
  }
  const int x = R.right - j - 8, y = R.bottom - i - 6;
  shape([&](int d, TColor c) {
    fill(x, y, 1, 5, d, c);
    polygon({{x + 3, y}, {x + 3, y + 4}, {x + 5, y + 2}}, d, c);
  });
  if (!BarControl->GetTruncated()) return;
  const int cx = R.left - i + 3, cy = R.bottom - j - 7;
  shape([&](int d, TColor c) {
    for (int k : {0, 4})
      polygon({{cx, cy + k}, {cx + 1, cy + k + 1}, {cx + 2, cy + k}}, d, c);
  });
}

void TdxBarItemControlOffice11Painter::InvalidateMark(TdxBarControl* BarControl) const {
  TdxBarItemControlFlatPainter::InvalidateMark(BarControl);
  if (BarControl->HandleAllocated() && BarControl->GetDockingStyle() != dsNone)
    SendMessageA(BarControl->GetHandle(), WM_NCPAINT, 0, 0);
}

// ---- Floating toolbars ----

void TdxBarItemControlOffice11Painter::DrawFloatingFrame(TdxBarControl*, HDC DC, TRect R) const {
  for (int i = 0; i < 2; ++i) {
    FrameRectWithColor(DC, R, C().FloatingFrame);
    InflateRect(&R, -1, -1);
  }
  FrameRectWithColor(DC, R, C().FloatingFrameInner);
  for (TPoint p : {TPoint(R.left, R.top), TPoint(R.right - 1, R.top), TPoint(R.left, R.bottom - 1),
                   TPoint(R.right - 1, R.bottom - 1)})
    Pixel(DC, p.x, p.y, C().FloatingFrame);
}

void TdxBarItemControlOffice11Painter::DrawFloatingCaption(TdxBarControl* BarControl, HDC DC, HBRUSH,
                                                           TColor Color, const TRect& R) const {
  HBRUSH light = CreateSolidBrush(ColorToRGB(C().ToolbarLight));
  TdxBarItemControlFlatPainter::DrawFloatingCaption(BarControl, DC, light, Color, R);
  DeleteObject(light);
}

// ---- The bottom bar: themed while the visual style is usable ----

namespace {

bool UsesThemes(const TdxBarControl* barControl) {
  return barControl->GetBarManager()->GetXPThemesAvailable();
}

} // namespace

void TdxBarItemControlOffice11Painter::DrawBottomBarSizeGrip(TdxBarControl* BarControl, HDC DC, TColor Color,
                                                             HBRUSH Brush, const TRect& R) const {
  if (UsesThemes(BarControl))
    TdxBarItemControlXPPainter::Instance()->DrawBottomBarSizeGrip(BarControl, DC, Color, Brush, R);
  else
    TdxBarItemControlFlatPainter::DrawBottomBarSizeGrip(BarControl, DC, Color, Brush, R);
}

void TdxBarItemControlOffice11Painter::DrawBottomBarEdge(TdxBarControl* BarControl, HDC DC,
                                                         const TRect& R) const {
  if (UsesThemes(BarControl))
    TdxBarItemControlXPPainter::Instance()->DrawBottomBarEdge(BarControl, DC, R);
  else
    TdxBarItemControlFlatPainter::DrawBottomBarEdge(BarControl, DC, R);
}

void TdxBarItemControlOffice11Painter::DrawBottomBarBackground(TdxBarControl* BarControl, HDC DC,
                                                               TColor Color, HBRUSH Brush,
                                                               const TRect& R) const {
  if (UsesThemes(BarControl))
    TdxBarItemControlXPPainter::Instance()->DrawBottomBarBackground(BarControl, DC, Color, Brush, R);
  else
    TdxBarItemControlFlatPainter::DrawBottomBarBackground(BarControl, DC, Color, Brush, R);
}

SIZE TdxBarItemControlOffice11Painter::GetSizeGripSize() const {
  if (ThemesAvailable(0x845E0C)) return TdxBarItemControlXPPainter::Instance()->GetSizeGripSize();
  return TdxBarItemControlFlatPainter::GetSizeGripSize();
}
