// The Standard painter (raised and sunken edges, the halftone of checked
// buttons, a double grip) and the Enhanced one (a single grip and the
// quick-customization mark).
#include "dxBar.h"
#include "dxBarEdits.h"

#include "cxEditTextUtils.h"

namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

// Draws with a one-pixel pen of the colour while it lives.
class TPenScope {
public:
  TPenScope(HDC dc, TColor color)
      : FDC(dc), FPen(CreatePen(PS_SOLID, 1, ColorToRGB(color))), FOld(SelectObject(dc, FPen)) {}
  ~TPenScope() {
    SelectObject(FDC, FOld);
    DeleteObject(FPen);
  }
  TPenScope(const TPenScope&) = delete;
  TPenScope& operator=(const TPenScope&) = delete;

private:
  HDC FDC;
  HPEN FPen;
  HGDIOBJ FOld;
};

void Polyline(HDC dc, std::initializer_list<POINT> points) {
  ::Polyline(dc, points.begin(), static_cast<int>(points.size()));
}

void Edge(HDC dc, TRect r, UINT edge) {
  DrawEdge(dc, &r, edge, BF_RECT);
}

bool MayDock(const TdxBar* bar) {
  const TdxBarDockingStyles all{dsNone, dsLeft, dsTop, dsRight, dsBottom};
  return (bar->NotDocking * all) != all;
}

} // namespace

TdxBarItemControlPainterClass TdxBarItemControlStandardPainter::Instance() {
  static const TdxBarItemControlStandardPainter painter;
  return &painter;
}

TdxBarItemControlPainterClass TdxBarItemControlEnhancedPainter::Instance() {
  static const TdxBarItemControlEnhancedPainter painter;
  return &painter;
}

// ---- Buttons ----

void TdxBarItemControlStandardPainter::DrawButtonBorder(const TdxBarItemControl* Control, HDC DC,
                                                        HBRUSH Brush, bool Fits, const TRect& R,
                                                        int PaintType, bool NoImage, bool Selected, bool Down,
                                                        bool Pressed) const {
  const bool plainMenuEntry = PaintType == 1 && NoImage;
  if (Down || (Selected && !plainMenuEntry)) {
    Edge(DC, R, Down || Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER);
    return;
  }
  if (Fits) FrameBackground(Control, DC, Selected || Pressed || Control->NonRecent, Brush, R);
}

void TdxBarItemControlStandardPainter::DrawCheckMark(TCustomdxBarControl*, HDC DC, int X, int Y, int Scale,
                                                     bool Enabled) const {
  const int s = Scale;
  int k = 0;
  auto strokes = [&](int count, TColor color) {
    TPenScope pen(DC, color);
    for (int i = 0; i < count; ++i, ++k)
      Polyline(DC, {{X + s, Y + 2 * s + k}, {X + 3 * s, Y + 4 * s + k}, {X + 8 * s, Y - s + k}});
  };
  if (!Enabled) {
    k = 1;
    strokes(2 * s, clBtnShadow);
    TPenScope pen(DC, clBtnHighlight);
    for (int c = 0; c < s; ++c) {
      Line(DC, X + 3 * s + 1, Y + 7 * s - c - 1, X + 9 * s, Y + s - c);
      Line(DC, X + 4 * s, Y + 7 * s - c, X + 9 * s, Y + 2 * s - c);
    }
    return;
  }
  const bool blackFace = ColorToRGB(clBtnFace) == 0;
  const TColor dark = blackFace ? clWhite : clBlack, light = blackFace ? clBlack : clWhite;
  strokes(s, clSilver);
  strokes(2 * s, dark);
  strokes(s, light);
  TPenScope pen(DC, light);
  Line(DC, X + s - 1, Y + 2 * s + 1, X + s - 1, Y + 6 * s - 1);
  Line(DC, X + 8 * s, Y - s + 2, X + 8 * s, Y + 3 * s);
}

void TdxBarItemControlStandardPainter::FillDisabledRect(HDC DC, const TRect& R) const {
  TRect shifted = R;
  OffsetRect(&shifted, 1, 1);
  FillRect(DC, &shifted, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  FillRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
}

void TdxBarItemControlStandardPainter::DrawLoweredBorder(const TdxBarItemControl*, HDC DC, TRect& R) const {
  Edge(DC, R, BDR_SUNKENOUTER);
  InflateRect(&R, -1, -1);
}

HBRUSH TdxBarItemControlStandardPainter::GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType,
                                                            bool NoImage, bool Selected, bool Down,
                                                            bool) const {
  TCustomdxBarControl* barControl = Control->GetBarControl();
  if (Down && Control->GetEnabled())
    return Selected ? barControl->GetCheckedSelectedBrush() : barControl->GetCheckedBrush();
  if (Selected && PaintType == 1 && NoImage && !Down) return barControl->GetSelectedBrush();
  return barControl->BackgroundBrush;
}

void TdxBarItemControlStandardPainter::OffsetPressedCaption(TRect& R, bool Down, bool Pressed) const {
  const int d = (Down ? 1 : 0) + (Pressed ? 1 : 0);
  OffsetRect(&R, d, d);
}

void TdxBarItemControlStandardPainter::OffsetPressedContent(TRect& R, bool Pressed) const {
  if (Pressed) OffsetRect(&R, 1, 1);
}

// ---- The mark ----

TRect TdxBarItemControlStandardPainter::CalcMarkBounds(TdxBarControl* BarControl) const {
  const int w = BarControl->GetClientWidth(), h = BarControl->GetClientHeight();
  switch (BarControl->GetDockingStyle()) {
  case dsLeft:
  case dsRight:
    return TRect(w - 9, h - 11, w, h);
  case dsTop:
  case dsBottom:
    return TRect(w - 11, 0, w, 9);
  default: {
    const TRect r = BarControl->GetCaptionMarkRect();
    return TRect(r.left, r.top, r.left + 13, r.bottom);
  }
  }
}

void TdxBarItemControlStandardPainter::DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                                    const TRect& R) const {
  PaintBarBackground(BarControl, DC, R, Brush);
}

void TdxBarItemControlStandardPainter::DrawMarkChevron(TdxBarControl* BarControl, HDC DC, int Offset,
                                                       const TRect&) const {
  const int o = Offset;
  if (BarControl->IsVertical()) {
    const int w = BarControl->GetClientWidth();
    {
      TPenScope pen(DC, clBtnShadow);
      Line(DC, w - 8, o, w - 4, o + 4);
      Line(DC, w - 4, o + 1, w - 2, o - 1);
    }
    TPenScope pen(DC, clBtnHighlight);
    Polyline(DC, {{w - 7, o}, {w - 5, o + 2}, {w - 4, o + 2}, {w - 1, o - 1}});
    return;
  }
  {
    TPenScope pen(DC, clBtnHighlight);
    Line(DC, o - 1, 1, o + 2, 4);
    Line(DC, o + 3, 4, o - 1, 8);
  }
  TPenScope pen(DC, clBtnShadow);
  Polyline(DC, {{o, 1}, {o + 2, 3}, {o + 2, 4}, {o - 1, 7}});
}

TRect TdxBarItemControlEnhancedPainter::CalcMarkBounds(TdxBarControl* BarControl) const {
  const int w = BarControl->GetClientWidth(), h = BarControl->GetClientHeight();
  switch (BarControl->GetDockingStyle()) {
  case dsLeft:
  case dsRight:
    return TRect(0, h - 11, w, h);
  case dsTop:
  case dsBottom:
    return TRect(w - 11, 0, w, h);
  default:
    return TdxBarItemControlStandardPainter::CalcMarkBounds(BarControl);
  }
}

void TdxBarItemControlEnhancedPainter::DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                                    const TRect& R) const {
  switch (BarControl->GetMarkState()) {
  case 1:
    Edge(DC, R, BDR_RAISEDINNER);
    break;
  case 2:
    Edge(DC, R, BDR_SUNKENOUTER);
    break;
  default:
    FrameRect(DC, &R, Brush);
  }
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  PaintBarBackground(BarControl, DC, inner, Brush);
}

void TdxBarItemControlEnhancedPainter::DrawMarkChevrons(TdxBarControl* BarControl, HDC DC,
                                                        const TRect& R) const {
  const TColor text = static_cast<TColor>(GetSysColor(COLOR_BTNTEXT));
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(text));
  HBRUSH brush = CreateSolidBrush(ColorToRGB(text));
  HGDIOBJ oldPen = SelectObject(DC, pen), oldBrush = SelectObject(DC, brush);
  if (BarControl->IsVertical()) {
    const int x = R.left + 5, y = R.top + 3;
    const POINT points[] = {{x, y}, {x, y + 4}, {x - 2, y + 2}};
    Polygon(DC, points, 3);
  } else {
    const int x = R.left + 3, y = R.bottom - 7;
    const POINT points[] = {{x, y}, {x + 4, y}, {x + 2, y + 2}};
    Polygon(DC, points, 3);
  }
  SelectObject(DC, oldBrush);
  SelectObject(DC, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
  TdxBarItemControlPainter::DrawMarkChevrons(BarControl, DC, R);
}

void TdxBarItemControlEnhancedPainter::DrawMarkChevron(TdxBarControl* BarControl, HDC DC, int Offset,
                                                       const TRect&) const {
  TPenScope pen(DC, clBtnText);
  const int o = Offset;
  if (BarControl->IsVertical()) {
    const int w = BarControl->GetClientWidth();
    Polyline(DC, {{w - 8, o}, {w - 6, o + 2}, {w - 3, o - 1}});
    Polyline(DC, {{w - 8, o + 1}, {w - 6, o + 3}, {w - 3, o}});
    return;
  }
  const int y = 4;
  Polyline(DC, {{o, y}, {o + 2, y + 2}, {o - 1, y + 5}});
  Polyline(DC, {{o + 1, y}, {o + 3, y + 2}, {o, y + 5}});
}

// ---- Docked and floating frames ----

TRect TdxBarItemControlStandardPainter::DockedBarContent(HDC DC, TRect R) const {
  Edge(DC, R, BDR_RAISEDINNER);
  InflateRect(&R, -2, -2);
  return R;
}

void TdxBarItemControlStandardPainter::DrawGripBar(HDC DC, const TRect& R, bool Vertical,
                                                   bool HighlightCorner) const {
  Edge(DC, R, BDR_RAISEDINNER);
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  FillRect(DC, &inner, GetSysColorBrush(COLOR_BTNFACE));
  if (HighlightCorner) {
    if (Vertical)
      SetPixel(DC, R.right - 1, R.top, GetSysColor(COLOR_BTNHIGHLIGHT));
    else
      SetPixel(DC, R.left, R.bottom - 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  }
  ExcludeClipRect(DC, R.left, R.top, R.right, R.bottom);
}

void TdxBarItemControlStandardPainter::DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const {
  const TRect content = DockedBarContent(DC, R);
  if (!MayDock(BarControl->GetBar())) return;
  HRGN saved = IntersectClipRectSaving(DC, R);
  const bool vertical = BarControl->IsVertical();
  const int width = GetGripWidth();
  for (int i = 0; i < 2; ++i) {
    const int start = GetGripOffset() + i * width;
    const TRect bar =
        vertical ? TRect(content.left, content.top + start, content.right, content.top + start + width)
                 : TRect(content.left + start, content.top, content.left + start + width, content.bottom);
    DrawGripBar(DC, bar, vertical, true);
  }
  RestoreClipRegion(DC, saved);
}

void TdxBarItemControlEnhancedPainter::DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const {
  const TRect content = DockedBarContent(DC, R);
  if (!MayDock(BarControl->GetBar())) return;
  HRGN saved = IntersectClipRectSaving(DC, R);
  const bool vertical = BarControl->IsVertical();
  const int start = GetGripOffset(), width = GetGripWidth();
  const TRect bar =
      vertical
          ? TRect(content.left + 1, content.top + start, content.right - 1, content.top + start + width)
          : TRect(content.left + start, content.top + 1, content.left + start + width, content.bottom - 1);
  DrawGripBar(DC, bar, vertical, false);
  RestoreClipRegion(DC, saved);
}

void TdxBarItemControlStandardPainter::DrawFloatingFrame(TdxBarControl*, HDC DC, TRect R) const {
  Edge(DC, R, EDGE_RAISED);
  InflateRect(&R, -2, -2);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  FrameRect(DC, &R, face);
  InflateRect(&R, -1, -1);
  FrameRect(DC, &R, face);
}

void TdxBarItemControlStandardPainter::DrawFloatingCloseButton(TdxBarControl* BarControl, HDC DC, int State,
                                                               const TRect& R) const {
  FrameRectWithColor(DC, R, GetFloatCaptionColor(BarControl, BarControl->GetBarManager()->FormActive));
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  DrawFrameControl(DC, &inner, DFC_CAPTION, DFCS_CAPTIONCLOSE | (State == 2 ? DFCS_PUSHED : 0));
}

void TdxBarItemControlStandardPainter::DrawMDIButton(TdxBarControl* BarControl, HDC DC, int Kind,
                                                     const TRect& R, bool Hot, bool Pressed) const {
  static constexpr UINT kKinds[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  UINT state = kKinds[Kind];
  if (!BarControl->IsCaptionButtonEnabled(Kind, MF_GRAYED | MF_DISABLED)) state |= DFCS_INACTIVE;
  if (Hot && Pressed) state |= DFCS_PUSHED;
  TRect r = R;
  const bool ownClose = Kind == 2 && !BarControl->HasMDIButtons();
  if (!ownClose || !BarControl->GetBarManager()->FlatCloseButton) {
    DrawFrameControl(DC, &r, DFC_CAPTION, state);
    return;
  }
  // The manager's own close button, flat within a one-pixel edge.
  TRect inner = r;
  InflateRect(&inner, -1, -1);
  HRGN saved = IntersectClipRectSaving(DC, inner);
  DrawFrameControl(DC, &r, DFC_CAPTION, state | DFCS_FLAT);
  RestoreClipRegion(DC, saved);
  Edge(DC, R, Hot && Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER);
}

void TdxBarItemControlStandardPainter::DrawDropDownPart(const TdxBarItemControl* Control, HDC DC,
                                                        const TRect& R, HBRUSH Brush, int, bool Selected, bool,
                                                        bool DroppedDown, bool DropDownEnabled, bool,
                                                        int PaintType) const {
  FillBackground(Control, DC, Control->NonRecent, Brush, R);
  if (Selected) {
    Edge(DC, R, DroppedDown ? BDR_SUNKENOUTER : BDR_RAISEDINNER);
  } else if (PaintType == 1) {
    TRect line(R.left - 1, R.top, R.left + 1, R.bottom);
    DrawEdge(DC, &line, EDGE_ETCHED, BF_LEFT);
  }
  const bool enabled = Control->GetEnabled() && DropDownEnabled;
  TRect arrow = R;
  if (PaintType == 1) {
    if (DroppedDown) OffsetRect(&arrow, 1, 1);
    DrawArrowTriangle(DC, arrow, false, Control->GetBarControl()->ArrowWidth, Selected, enabled, false);
    return;
  }
  if (DroppedDown && R.Width() > 9) OffsetRect(&arrow, 1, 1);
  DrawArrow(DC, arrow, true, enabled, false, false);
}

// ---- Edits and combos ----

void TdxBarItemControlStandardPainter::DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC,
                                                               int PaintType, bool Selected, const TRect& R,
                                                               TRect& ButtonRect) const {
  TCustomdxBarControl* window = Control->GetBarControl();
  TRect button(R.right - window->ComboButtonWidth, R.top, R.right, R.bottom);
  ButtonRect = button;
  const bool enabled = Control->GetEnabled(), dropped = Control->GetDroppedDown();
  int textColor = COLOR_BTNTEXT;
  HBRUSH brush = window->BackgroundBrush;
  Control->GetTextColors(PaintType, enabled, Selected, dropped, textColor, brush);
  HBRUSH frame = window->BackgroundBrush;
  if (Selected && enabled) {
    DrawEdge(DC, &button, dropped ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else {
    frame = enabled ? GetSysColorBrush(COLOR_BTNHIGHLIGHT) : window->BackgroundBrush;
    FrameRect(DC, &button, frame);
  }
  const TRect column(button.left - 1, button.top, button.left, button.bottom);
  FillRect(DC, &column, frame);
  InflateRect(&button, -1, -1);
  FillRect(DC, &button, brush);
  if (dropped) OffsetRect(&button, 1, 1);
  DrawComboButtonArrow(DC, button, enabled, textColor);
}

void TdxBarItemControlStandardPainter::DrawDropDownListBorder(HDC DC, const TRect& R) const {
  TRect r = R;
  DrawEdge(DC, &r, EDGE_RAISED, BF_RECT);
}

void TdxBarItemControlStandardPainter::SetEditMargins(const TdxBarEditControl*, HWND Wnd) const {
  SendMessageA(Wnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
}
