// The base item painter's menus: sub-menu metrics, frames, scroll areas,
// the expand button, group separators and sub items in menus.
#include "dxBar.h"

#include "dxBarCommon.h"

#include "cxEditTextUtils.h"

#include <climits>

namespace {

// A filled polygon in a system colour.
void FillSysPolygon(HDC dc, const POINT* points, int count, int colorIndex) {
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colorIndex));
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetSysColorBrush(colorIndex));
  Polygon(dc, points, count);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

TdxBarItemControl* ShownControl(const TdxBarSubMenuControl* menu, int index) {
  const TdxBarItemLinks* links = menu->GetItemLinks();
  if (!links || index < 0 || index >= links->GetShownCount()) return nullptr;
  return links->GetShownLink(index)->GetControl();
}

} // namespace

// ---- Base painter: menu metrics ----

int TdxBarItemControlPainter::GetMenuTextOffset(const TdxBarItemControl* Control) const {
  const TCustomdxBarControl* window = Control->GetBarControl();
  return dynamic_cast<const TdxBarSubMenuControl*>(window) ? window->TextHeight + 1 : 0;
}

void TdxBarItemControlPainter::CalcMenuMetrics(TdxBarSubMenuControl* Menu, int& ItemHeight, int& ArrowWidth,
                                               int& ExpandHeight, int& GlyphSize) const {
  ArrowWidth = ItemHeight / 4 * 3 + 1;
  ExpandHeight = TextExtentOnScreen(Menu->GetFontHandle(), "0").cy + 1;
  const int chevron = GetExpandArrowSize(ExpandHeight);
  if (chevron % 2 != 0) ExpandHeight = 2 * chevron + 4;
  GlyphSize = 19;
}

void TdxBarItemControlPainter::CalcMenuClientRect(TdxBarSubMenuControl* Menu, bool Measuring, int& Limit,
                                                  TRect& R) const {
  CalcMenuClientRectInset(Menu, Measuring, Limit, R, 2);
  // The drag caption lies in the frame: the entries start at the top.
  if (Menu->IsDetachable()) R.top = 0;
}

void TdxBarItemControlPainter::CalcMenuClientRectInset(TdxBarSubMenuControl* Menu, bool Measuring, int& Limit,
                                                       TRect& R, int Inset) const {
  const TRect client = Menu->GetClientRect();
  if (Measuring)
    Limit = INT_MAX;
  else
    Limit = client.bottom - Inset - (Menu->MarkVisible() ? Menu->TextHeight : 0);
  R = TRect(Menu->GetBarSize() + Inset, Inset, client.right - Inset, Limit);
}

SIZE TdxBarItemControlPainter::CalcMenuSize(TdxBarSubMenuControl* Menu, int ItemsWidth, int Extent) const {
  return CalcMenuSizeWith(Menu, ItemsWidth, Extent, 6, 4);
}

SIZE TdxBarItemControlPainter::CalcMenuSizeWith(TdxBarSubMenuControl* Menu, int ItemsWidth, int Extent, int Sides,
                                                int Ends) const {
  const TdxBarItemLinks* links = Menu->GetItemLinks();
  const bool empty = !links || links->GetShownCount() == 0;
  SIZE size{empty ? 100 : ItemsWidth + Menu->GetBarSize() + Sides, 0};
  if (Extent < 3 || Menu->MarkVisible()) Extent += Menu->TextHeight;
  size.cy = Extent + Ends + (Menu->IsDetachable() ? GetDetachCaptionHeight(Menu) : 0);
  return size;
}

int TdxBarItemControlPainter::GetDetachCaptionHeight(TdxBarSubMenuControl* Menu) const {
  return Menu->GetDetachTextHeight() + 3;
}

// ---- Base painter: menu drawing ----

void TdxBarItemControlPainter::DrawMenuScrollButton(TdxBarSubMenuControl* Menu, HDC DC, bool Up,
                                                    const TRect& R) const {
  const TRect client = Menu->GetClientRect();
  const int h = Menu->TextHeight, c = h / 3 - 1, f = (h - c) / 2, w = h / 3 - 2;
  const int x = (client.Width() - Menu->GetBarSize()) / 2;
  int y;
  if (Up)
    y = f + c - 1;
  else
    y = (Menu->MarkVisible() ? R.bottom : client.bottom) - f - c;
  const int apex = Up ? y - w : y + w;
  const POINT triangle[] = {{x - w, y}, {x + w, y}, {x, apex}};
  FillSysPolygon(DC, triangle, 3, COLOR_BTNTEXT);
  // The triangle a pixel larger is spared by the fill that follows.
  POINT grown[3];
  if (Up) {
    grown[0] = {x - w - 1, y + 1};
    grown[1] = {x + w + 2, y + 1};
    grown[2] = {x, apex - 1};
  } else {
    grown[0] = {x - w, y};
    grown[1] = {x + w + 1, y};
    grown[2] = {x, apex + 1};
  }
  LPtoDP(DC, grown, 3);
  HRGN region = CreatePolygonRgn(grown, 3, WINDING);
  ExtSelectClipRgn(DC, region, RGN_DIFF);
  DeleteObject(region);
}

void TdxBarItemControlPainter::DrawMenuExpandArrows(TdxBarSubMenuControl* Menu, HDC DC, const TRect& R) const {
  const int expand = Menu->ExpandButtonHeight, n = GetExpandArrowSize(expand);
  const int x = (R.left + R.right - n - 1) / 2, y0 = R.top + (expand - 2 * n) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = SelectObject(DC, pen);
  // Two stacked chevrons, each n div 2 lines thick.
  for (int i = 0; i < n; ++i) {
    const int y = y0 + i + (i >= n / 2 ? n / 2 : 0);
    const POINT points[] = {{x, y}, {x + n / 2, y + n / 2}, {x + n + 1, y - 1}};
    Polyline(DC, points, 3);
  }
  SelectObject(DC, old);
  DeleteObject(pen);
}

int TdxBarItemControlPainter::DrawMenuContentArea(TdxBarSubMenuControl* Menu, HDC DC, int Count, HBRUSH Brush,
                                                  int BottomMargin, bool GroupLineAtScroll) const {
  const TdxBarItemLinks* links = Menu->GetItemLinks();
  const TRect client = Menu->GetClientRect();
  const int bottom = client.bottom - BottomMargin - (Menu->MarkVisible() ? Menu->TextHeight : 0);
  const int first = std::max(Menu->TopIndex, 0), last = first + std::max(Count, 1) - 1;
  if (!links || last >= links->GetShownCount()) return bottom;
  HRGN clip = nullptr;
  bool hadClip = false;
  SaveDCClipRegion(DC, clip, hadClip);
  if (Menu->CanScrollUp()) {
    const TRect r = links->GetShownLink(first)->ItemRect;
    DrawMenuScrollButton(Menu, DC, true, r);
    FillRect(DC, &r, GetMenuBrush(Menu));
    RestoreDCClipRegion(DC, clip, hadClip);
    SaveDCClipRegion(DC, clip, hadClip);
  }
  const TRect row = links->GetShownLink(last)->ItemRect;
  TRect rest(row.left, row.bottom, row.right, bottom);
  if (Menu->CanScrollDown()) {
    const TRect area(row.left, row.top, row.right, bottom);
    DrawMenuScrollButton(Menu, DC, false, area);
    const TdxBarItemControl* below = ShownControl(Menu, last);
    if (GroupLineAtScroll && below && below->NonRecentRun) {
      const TRect line(row.left - 1, row.top - 1, row.right + 1, row.top);
      FillRect(DC, &line, GetSysColorBrush(below->NonRecent ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW));
    }
    PaintBarBackground(Menu, DC, area, Brush);
    rest.top = area.bottom;
  }
  RestoreDCClipRegion(DC, clip, hadClip);
  if (rest.top < rest.bottom) PaintBarBackground(Menu, DC, rest, Brush);
  return bottom;
}

void TdxBarItemControlPainter::DrawMenuContent(TdxBarSubMenuControl* Menu, HDC DC, int Count,
                                               HBRUSH Brush) const {
  const int bottom = DrawMenuContentArea(Menu, DC, Count, Brush, GetMenuBottomMargin(), true);
  if (!Menu->MarkVisible()) return;
  TRect button = Menu->GetExpandButtonRect();
  const TRect gap(button.left, bottom, button.right, button.top);
  if (gap.top < gap.bottom) PaintBarBackground(Menu, DC, gap, Brush);
  DrawEdge(DC, &button, BDR_RAISEDINNER, BF_RECT);
  TRect inside = button;
  InflateRect(&inside, -1, -1);
  if (Menu->GetMarkState() == 1 && Menu->NonRecentBrush)
    FillRect(DC, &inside, Menu->NonRecentBrush);
  else
    PaintBarBackground(Menu, DC, inside, Brush);
  DrawMenuExpandArrows(Menu, DC, button);
}

void TdxBarItemControlPainter::DrawMenuBackgroundBitmap(TdxBarSubMenuControl* Menu, HDC DC, TColor Color,
                                                        HBRUSH Brush, const TRect& Source, const TRect& R) const {
  FillRectOrTileBitmap(DC, R, Source, Menu->GetSubMenuBackground(), Color, Brush);
}

void TdxBarItemControlPainter::DrawMenuFrame(TdxBarSubMenuControl* Menu, HDC DC, TRect R) const {
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  const TRect left(R.left, R.top, R.left + 1, R.bottom - 1), top(R.left, R.top, R.right, R.top + 1);
  FillRect(DC, &left, face);
  FillRect(DC, &top, face);
  DrawEdge(DC, &R, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
  if (!Menu->IsDetachable()) return;
  InflateRect(&R, -1, -1);
  DrawEdge(DC, &R, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_RIGHT);
  InflateRect(&R, -1, -1);
  // The caption's frame, filled: the frame alone leaves the pixels between
  // it and the caption unpainted.
  TRect caption(R.left, R.top, R.right, R.top + GetDetachCaptionHeight(Menu) - 1);
  FillRect(DC, &caption, face);
  CalcDetachCaptionRect(caption);
  DrawDetachCaption(Menu, DC, caption);
}

void TdxBarItemControlPainter::DrawMenuBorder(TdxBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect R) const {
  if (Menu->IsDetachable()) R.top -= 2;
  DrawEdge(DC, &R, BDR_RAISEDINNER, BF_RECT);
  InflateRect(&R, -1, -1);
  FrameRect(DC, &R, Brush);
  // The ring's left column lies under the side strip: it continues beside it.
  if (const int strip = Menu->GetBarSize(); strip > 0) {
    const TRect column(R.left + strip, R.top + 1, R.left + strip + 1, R.bottom - 1);
    FillRect(DC, &column, Brush);
  }
}

void TdxBarItemControlPainter::DrawDetachCaption(TdxBarSubMenuControl* Menu, HDC DC, const TRect& R) const {
  FillRect(DC, &R, GetSysColorBrush(Menu->DetachCaptionHot ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

void TdxBarItemControlPainter::DrawMenuSeparator(TdxBarSubMenuControl* Menu, TdxBarItemControl* Control,
                                                 bool SideStrip, const TRect& R, HDC DC) const {
  const bool runStart = Control->NonRecentRun;
  TRect band(R.left, R.top - Menu->GetSeparatorSize() - (runStart ? 1 : 0), R.right, R.top);
  Control->SeparatorRect = band;
  HBRUSH brush = runStart ? Menu->GetToolbarBrush() : Menu->BackgroundBrush;
  const bool flag = Control->NonRecent && !runStart;
  const int indent = Menu->GetBarManager()->GetSeparatorIndent();
  TRect outer = band;
  if (Control->NonRecent) {
    if (SideStrip) outer.left -= Menu->GetBarSize();
    outer.right += 2;
  }
  const TRect top(outer.left, band.top, outer.right, band.top + 4);
  const TRect bottom(outer.left, band.bottom - 4, outer.right, band.bottom);
  const TRect left(outer.left, top.bottom, band.left + indent, bottom.top);
  const TRect right(band.right - indent, top.bottom, outer.right, bottom.top);
  for (const TRect& r : {top, bottom, left, right})
    if (r.left < r.right && r.top < r.bottom) FillBackground(Control, DC, flag, brush, r);
  // A band grown by the line before a run is a pixel taller than the edge.
  TRect line(left.right, top.bottom, right.left, bottom.top);
  if (line.Height() > 2) FillBackground(Control, DC, flag, brush, line);
  DrawEdge(DC, &line, EDGE_ETCHED, BF_TOP);
}

// ---- Base painter: sub items in menus ----

void TdxBarItemControlPainter::DrawMenuSubItem(TdxBarSubItemControl* Control, HDC DC, const TRect& R,
                                               bool Selected, bool Down, bool FlatArrow) const {
  const TCustomdxBarControl* menu = Control->GetBarControl();
  DrawMenuItem(Control, DC, R, Down, true, Selected);
  const int size = menu->Indent, left = R.right - menu->TextHeight + size;
  DrawArrowTriangle(DC, TRect(left, R.top, left + size, R.bottom), false, size, Selected && !FlatArrow,
                    Control->GetEnabled(), FlatArrow);
}

void TdxBarItemControlPainter::DrawClassicMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R,
                                                   bool Down, bool GlyphShown, bool Selected) const {
  TCustomdxBarControl* barControl = Control->GetBarControl();
  const bool noGlyph = !(Control->HasImage() && GlyphShown);
  const TRect glyph(R.left, R.top, R.left + R.Height(), R.bottom);
  DrawGlyphArea(Control, glyph, nullptr, 1, noGlyph, Selected, Down, false, true, false);
  const bool flag = Selected || Control->NonRecent;
  const TRect gap(glyph.right, R.top, glyph.right + 1, R.bottom);
  FillBackground(Control, DC, flag,
                 Selected && noGlyph && !Down ? barControl->GetSelectedBrush() : barControl->BackgroundBrush, gap);
  TRect text(gap.right, R.top, R.right, R.bottom);
  FillBackground(Control, DC, flag, Selected ? barControl->GetSelectedBrush() : barControl->BackgroundBrush, text);
  text.left += 2;
  Control->DrawCaption(DC, Control->GetCaption(), text, 0, Control->GetEnabled(), Selected, false, false, false);
}

// ---- Standard: personalised menus ----

void TdxBarItemControlStandardPainter::DrawNonRecentBand(TdxBarSubMenuControl* Menu, TdxBarItemControl* Control,
                                                         int SideWidth, int Index, const TRect& R, HDC DC) const {
  if (Control->NonRecentRun) {
    const bool separated = !Control->NonRecent && !IsRectEmpty(&Control->SeparatorRect);
    const int top = separated ? Control->SeparatorRect.top : R.top;
    const TRect line(1 + SideWidth, top - 1, R.right + 1, top);
    FillRect(DC, &line, GetSysColorBrush(Control->NonRecent ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW));
  }
  if (!Control->NonRecent) return;
  HBRUSH brush = Menu->BackgroundBrush, highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  const int barSize = SideWidth;
  const TRect client = Menu->GetClientRect();
  // The margin row above the first row of a menu without side strip.
  if (barSize == 0 && !Menu->IsDetachable() && Index == std::max(Menu->TopIndex, 0)) {
    const TRect row(1, R.top - 1, R.right + 2, R.top);
    FillRect(DC, &row, brush);
    const TRect end(R.right + 1, R.top - 1, R.right + 2, R.top);
    FillRect(DC, &end, highlight);
  }
  const TRect side(1 + barSize, R.top, R.left, R.bottom), right(R.right, R.top, R.right + 2, R.bottom);
  FillRect(DC, &side, brush);
  FillRect(DC, &right, brush);
  if (!Control->LineEnd) return;
  const TRect below(1 + barSize, R.bottom, R.right + 2, client.bottom);
  FillRect(DC, &below, brush);
  if (barSize > 0) {
    const TRect pixel(barSize, client.bottom - 1, barSize + 1, client.bottom);
    FillRect(DC, &pixel, highlight);
  }
}
