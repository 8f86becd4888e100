// The Buttons, FlatButtons and Flat painters, and the light face colour of
// the flat look.
#include "cxPCPainters.h"

#include "dxThemeManager.h"

#include <algorithm>

namespace {

bool Never(TcxLookAndFeel*) {
  return false;
}

// A kind of look-and-feel, unless the native style asks for themed tabs and
// the system can draw them.
template <TcxLookAndFeelKind Kind> bool MatchesUnlessThemed(TcxLookAndFeel* LookAndFeel) {
  return LookAndFeel->GetKind() == Kind &&
         !(LookAndFeel->GetNativeStyle() && ThemesAvailable(ThemeClassMask(totTab)));
}

template <typename T> std::unique_ptr<TcxPCCustomPainter> Create(TcxCustomTabControl* AControl) {
  return std::make_unique<T>(AControl);
}

TRect Inflated(TRect R, int D) {
  InflateRect(&R, D, D);
  return R;
}

const TColor kLightFaceColor = LightFaceColor(clBtnFace);

} // namespace

const TcxPCPainterClass ButtonsPainterClass{"TcxPCButtonsPainter", 2, Never, Never,
                                            Create<TcxPCButtonsPainter>};
const TcxPCPainterClass FlatButtonsPainterClass{"TcxPCFlatButtonsPainter", 3, MatchesUnlessThemed<lfFlat>,
                                                Never, Create<TcxPCFlatButtonsPainter>};
const TcxPCPainterClass FlatPainterClass{"TcxPCFlatPainter", 5, MatchesUnlessThemed<lfUltraFlat>, Never,
                                         Create<TcxPCFlatPainter>};

TColor LightFaceColor(TColor Face) {
  const COLORREF rgb = ColorToRGB(Face);
  auto raise = [](int channel) { return channel >= 236 ? 255 : channel + 20; };
  return static_cast<TColor>(RGB(raise(GetRValue(rgb)), raise(GetGValue(rgb)), raise(GetBValue(rgb))));
}

TColor LightFaceColor() {
  return kLightFaceColor;
}

// ---- Buttoned painters ----

bool TcxPCButtonedPainter::IsTabSelected(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  return !tab->IsTracking() && (tab->IsPressed() || tab->GetSelected() || tab->IsMainSelected());
}

TColor TcxPCButtonedPainter::GetTabColor(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  if (tab->GetHighlighted()) return clHighlight;
  return tab->IsMainSelected() ? clBtnHighlight : GetParentInfo()->Color();
}

void TcxPCButtonedPainter::GetFrameRect(TRect& R) {
  TcxPCStandardPainter::GetFrameRect(R);
  if (GetParentInfo()->HideTabs()) return;
  if (GetParentInfo()->LineCount() >= 1) {
    switch (TabPosition()) {
    case tpTop:
      R.top += 2;
      break;
    case tpBottom:
      R.bottom -= 2;
      break;
    case tpLeft:
      R.left += 2;
      break;
    case tpRight:
      R.right -= 2;
      break;
    }
  }
  if (GetParentInfo()->ShowFrame()) InflateRect(&R, -2, -2);
  if (R.right < R.left) R.right = R.left;
  if (R.bottom < R.top) R.bottom = R.top;
}

void TcxPCButtonedPainter::DrawFrame() {
  if (GetParentInfo()->ShowFrame()) TcxPCStandardPainter::DrawFrame();
}

void TcxPCButtonsPainter::DrawTabShape(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  const TRect R = tab->GetFullRect();
  const bool down = tab->IsPressed() || tab->GetSelected() || tab->IsMainSelected() || tab->IsTracking();
  if (down) {
    Canvas()->DrawTwoToneFrame(R, cl3DDkShadow, clBtnHighlight);
    Canvas()->DrawTwoToneFrame(Inflated(R, -1), clBtnShadow, cl3DLight);
  } else {
    Canvas()->DrawTwoToneFrame(R, clBtnHighlight, cl3DDkShadow);
    Canvas()->DrawTwoToneFrame(Inflated(R, -1), cl3DLight, clBtnShadow);
  }
  Canvas()->FillRect(Inflated(R, -2), GetTabColor(VisibleIndex));
  DrawTabFocusRect(VisibleIndex, Inflated(R, -1));
}

void TcxPCFlatButtonsPainter::DrawTabShape(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  TRect R = tab->GetFullRect();
  const LONG l = R.left, t = R.top, r = R.right, b = R.bottom;
  if (!tab->IsTracking() && (tab->IsPressed() || tab->GetSelected() || tab->IsMainSelected())) {
    DrawButtonFrame(R, true, true);
    R = Inflated(R, -2);
  } else if (tab->IsHot() || tab->IsTracking()) {
    DrawPolyline({TPoint(l, b - 2), TPoint(l, t), TPoint(r - 2, t)}, clBtnHighlight);
    DrawPolyline({TPoint(l, b - 1), TPoint(r - 1, b - 1), TPoint(r - 1, t)}, clBtnShadow);
    R = Inflated(R, -1);
  }
  Canvas()->FillRect(R, GetTabColor(VisibleIndex));
  DrawTabFocusRect(VisibleIndex, Inflated(R, 1));
}

bool TcxPCFlatButtonsPainter::SeparatorDue(int VisibleIndex) {
  TcxCustomTabControl* control = GetControl();
  TcxTab* tab = VisibleTab(VisibleIndex);
  const int last = control->ShownLast();
  if (!GetParentInfo()->Rotate())
    return VisibleIndex + 1 <= last && VisibleTab(VisibleIndex + 1)->LineIndex == tab->LineIndex;
  if (GetParentInfo()->LineCount() <= 1 || tab->LineIndex >= GetParentInfo()->LineCount() - 1) return false;
  const bool leftOrRight = !IsTopOrBottom();
  const LONG along = leftOrRight ? tab->GetBaseRect().top : tab->GetBaseRect().left;
  for (int v = std::max(control->ShownFirst(), 0); v <= last; ++v) {
    TcxTab* other = VisibleTab(v);
    if (other->LineIndex != tab->LineIndex + 1) continue;
    if ((leftOrRight ? other->GetBaseRect().top : other->GetBaseRect().left) == along) return true;
  }
  return false;
}

void TcxPCFlatButtonsPainter::DrawSeparator(int VisibleIndex) {
  const int g = 10;
  const TRect R = VisibleTab(VisibleIndex)->GetFullRect();
  const bool vertical = GetControl()->IsVerticalTabs();
  const bool reversed = GetControl()->IsReversedOrder();
  TRect gap;
  if (vertical)
    gap =
        reversed ? TRect(R.left, R.top - g, R.right, R.top) : TRect(R.left, R.bottom, R.right, R.bottom + g);
  else
    gap =
        reversed ? TRect(R.left - g, R.top, R.left, R.bottom) : TRect(R.right, R.top, R.right + g, R.bottom);
  if (!SetClipRect(gap, true)) return;
  const int offset = (g - 2) / 2;
  TRect groove;
  if (vertical) {
    const LONG y = gap.top + offset;
    DrawPolyline({TPoint(gap.left + 1, y), TPoint(gap.right - 2, y)}, clBtnShadow);
    DrawPolyline({TPoint(gap.left + 1, y + 1), TPoint(gap.right - 2, y + 1)}, clBtnHighlight);
    groove = TRect(gap.left + 1, y, gap.right - 1, y + 2);
  } else {
    const LONG x = gap.left + offset;
    DrawPolyline({TPoint(x, gap.top + 1), TPoint(x, gap.bottom - 2)}, clBtnShadow);
    DrawPolyline({TPoint(x + 1, gap.top + 1), TPoint(x + 1, gap.bottom - 2)}, clBtnHighlight);
    groove = TRect(x, gap.top + 1, x + 2, gap.bottom - 1);
  }
  Canvas()->ExcludeClipRect(groove);
  Canvas()->FillRect(gap, GetParentInfo()->Color());
  RestoreClipRgn();
  Canvas()->ExcludeClipRect(gap);
}

void TcxPCFlatButtonsPainter::DrawTab(int VisibleIndex) {
  TcxPCStandardPainter::DrawTab(VisibleIndex);
  if (SeparatorDue(VisibleIndex)) DrawSeparator(VisibleIndex);
}

// ---- Flat ----

int TcxPCFlatPainter::CalculateTabNormalHeight() {
  int height = std::max(GetTextHeightWithMargins(), GetMinTabHeight());
  if (GetParentInfo()->TabHeight() - 4 > height) height = GetParentInfo()->TabHeight() - 4;
  return height;
}

int TcxPCFlatPainter::GetMinTabWidth() {
  const int w = GetImageSize().cx;
  return w < 1 ? 12 : w + 2 * GetParentInfo()->ImageBorder() + 16;
}

int TcxPCFlatPainter::CalculateTabNormalWidth(TcxTab* Tab) {
  const int minimum = GetMinTabWidth();
  if (GetParentInfo()->TabWidth() >= minimum) return GetParentInfo()->TabWidth();
  int w = GetImageSize().cx;
  if (w > 0) w += 2 * GetParentInfo()->ImageBorder() + 4;
  const String& caption = Tab->GetDisplayCaption();
  const int width = caption.empty() ? w + 12 : w + Canvas()->TextWidth(caption) + 9;
  return std::max(width, minimum);
}

void TcxPCFlatPainter::CorrectTabRect(int VisibleIndex, TRect& Deltas) {
  Deltas = VisibleIndex == GetParentInfo()->SelectedVisibleIndex() ? TRect(-1, -1, 1, 1) : TRect(0, 0, 0, 0);
}

TPoint TcxPCFlatPainter::GetTabSpacing() {
  return GetParentInfo()->Rotate() ? TPoint(6, 1) : TPoint(1, 6);
}

void TcxPCFlatPainter::GetTextMargins(int, TRect& R) {
  R = TRect(0, 2, 0, -1);
}

void TcxPCFlatPainter::GetAlongMargins(int VisibleIndex, TPoint& P) {
  P = IsTabSelected(VisibleIndex) ? TPoint(3, 3) : TPoint(2, 2);
}

void TcxPCFlatPainter::GetFrameRect(TRect& R) {
  R = ClientRect();
  if (!GetParentInfo()->HideTabs()) {
    const bool nearFirst = TabPosition() == tpTop || TabPosition() == tpLeft;
    if (HasLinesAfterPage()) {
      const TRect farArea = GetParentInfo()->FarTabsArea();
      const int d = nearFirst ? 5 : 2;
      (IsTopOrBottom() ? R.bottom : R.right) = (IsTopOrBottom() ? farArea.top : farArea.left) - d;
    }
    if (HasLinesBeforePage()) {
      const TRect nearArea = GetParentInfo()->NearTabsArea();
      const int d = nearFirst ? 2 : 5;
      (IsTopOrBottom() ? R.top : R.left) = (IsTopOrBottom() ? nearArea.bottom : nearArea.right) + d;
    }
  }
  if (R.right < R.left) R.right = R.left;
  if (R.bottom < R.top) R.bottom = R.top;
}

void TcxPCFlatPainter::DrawFrame() {
  TRect r;
  GetFrameRect(r);
  Canvas()->FillRect(r, GetParentInfo()->Color());
  Canvas()->ExcludeClipRect(r);
}

int TcxPCFlatPainter::GetNavigatorLength(TcxPCNavigatorButtons Buttons) {
  int n = 0;
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbGoDialog})
    if (Buttons.Contains(b)) ++n;
  return n == 0 ? 0 : 17 * n - 2;
}

void TcxPCFlatPainter::CalculateNavigatorRect(TcxPCNavigatorButtons Buttons) {
  const int L = GetNavigatorLength(Buttons);
  const int width = GetParentInfo()->Width();
  const int height = GetParentInfo()->Height();
  if (IsTopOrBottom()) {
    const int left = IsNavigatorAtEnd() ? width - L : 0;
    const int top = TabPosition() == tpBottom ? height - 19 : 6;
    FNavigatorRect = Bounds(left, top, L, 13);
  } else {
    const int top = IsNavigatorAtEnd() ? height - L : 0;
    const int left = TabPosition() == tpLeft ? 6 : width - 19;
    FNavigatorRect = Bounds(left, top, 13, L);
  }
}

void TcxPCFlatPainter::LayoutNavigatorButtons(TcxPCNavigatorButtons Buttons) {
  LayoutButtons(Buttons, IsTopOrBottom() ? TPoint(1, 0) : TPoint(0, 1), 4);
}

void TcxPCFlatPainter::CalculateNavigatorLayout(TcxPCNavigatorButtons Buttons, TcxPCNavigatorLayout& Layout) {
  const int L = GetNavigatorLength(Buttons);
  const TRect client = ClientRect();
  static const TRect kStartDeltas[4] = {TRect(6, 3, -6, 0), TRect(6, 0, -6, -3), TRect(3, 6, 0, -6),
                                        TRect(0, 6, -3, -6)};
  static const TRect kAreaDeltas[4] = {TRect(-1, -1, 1, 0), TRect(-1, 0, 1, 1), TRect(-1, -1, 0, 1),
                                       TRect(0, -1, 1, 1)};
  const TcxTabPosition p = TabPosition();
  const TRect& d = kStartDeltas[p];
  TRect start(client.left + d.left, client.top + d.top, client.right + d.right, client.bottom + d.bottom);
  const bool horizontal = IsTopOrBottom();
  if (IsNavigatorAtEnd())
    (horizontal ? start.right : start.bottom) -= L;
  else
    (horizontal ? start.left : start.top) += L;
  Layout.TabsStartRect = start;
  Layout.LineLength = (horizontal ? client.Width() : client.Height()) - L - 12;
  const TRect& a = kAreaDeltas[p];
  Layout.TabsRect =
      TRect(start.left + a.left, start.top + a.top, start.right + a.right, start.bottom + a.bottom);
  Layout.NearAreaExtra = p == tpTop || p == tpLeft ? 1 : 0;
  Layout.FarAreaExtra = p == tpBottom || p == tpRight ? -1 : 0;
  Layout.AreaGap = GetTabSpacing().y - 1;
  LayoutNavigatorButtons(Buttons);
}

TColor TcxPCFlatPainter::GetTabColor(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  if (tab->GetHighlighted()) return clHighlight;
  return tab->IsMainSelected() ? clBtnFace : LightFaceColor();
}

void TcxPCFlatPainter::RepaintTab(int VisibleIndex, TcxTabChangeKind Kind) {
  if (GetControl()->IsVerticalTabs()) VisibleTab(VisibleIndex)->FreeCaptionBitmap();
  if (Kind == tckMainSelection && VisibleIndex != GetParentInfo()->SelectedVisibleIndex())
    InvalidateTabsArea(VisibleIndex);
  else
    InvalidateTab(VisibleIndex);
}

void TcxPCFlatPainter::DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R) {
  const TcxPCNavigatorButtonState state = GetParentInfo()->NavigatorButtonState(Button);
  const bool pressed = state == nbsPressed;
  if (pressed || state == nbsHot) {
    DrawButtonFrame(R, pressed, true);
    Canvas()->FillRect(Inflated(R, -1), clBtnFace);
  } else {
    Canvas()->FillRect(R, LightFaceColor());
  }
  const int direction = ArrowDirection(Button);
  static const TPoint kOffsets[4] = {TPoint(2, 5), TPoint(2, 3), TPoint(5, 2), TPoint(3, 2)};
  TPoint offset = Button == nbGoDialog ? TPoint(3, pressed ? 5 : 4) : kOffsets[direction];
  TColor color = pressed ? clBtnHighlight : clBtnText;
  if (!GetControl()->GetEnabled() || state == nbsDisabled) color = static_cast<TColor>(0xC0C0C0);
  static const int kSizes[3] = {5, 5, 4};
  DrawArrow(direction, TPoint(R.left + offset.x, R.top + offset.y), color, state != nbsDisabled,
            kSizes[Button]);
}

void TcxPCFlatPainter::DrawTabs() {
  for (const TcxPCLineIndexBounds& line : GetControl()->GetLineIndexBounds())
    if (line.First != -1) DrawLine(line);
}

void TcxPCFlatPainter::DrawDivider(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  const TRect R = tab->GetFullRect();
  const bool reversed = GetControl()->IsReversedOrder();
  TRect divider;
  switch (tab->GetSide()) {
  case tpTop:
  case tpBottom: {
    const LONG x = reversed ? R.left - 1 : R.right;
    divider = tab->GetSide() == tpTop ? TRect(x, R.top - 1, x + 1, R.bottom - 1)
                                      : TRect(x, R.top + 1, x + 1, R.bottom + 1);
    break;
  }
  case tpLeft:
  case tpRight: {
    const LONG y = reversed ? R.top - 1 : R.bottom;
    divider = tab->GetSide() == tpLeft ? TRect(R.left - 1, y, R.right - 1, y + 1)
                                       : TRect(R.left + 1, y, R.right + 1, y + 1);
    break;
  }
  }
  Canvas()->FillRect(divider, clBtnFace);
  Canvas()->ExcludeClipRect(divider);
}

void TcxPCFlatPainter::DrawLine(const TcxPCLineIndexBounds& Line) {
  SaveClipRgn();
  for (int v = Line.First; v <= Line.Last; ++v) {
    DrawTab(v);
    if (v < Line.Last && !VisibleTab(v)->IsMainSelected() && !VisibleTab(v + 1)->IsMainSelected())
      DrawDivider(v);
  }
  const TRect band = DrawBand(Line.First);
  RestoreClipRgn();
  Canvas()->ExcludeClipRect(band);
}

TRect TcxPCFlatPainter::DrawBand(int FirstVisibleIndex) {
  TcxTab* first = VisibleTab(FirstVisibleIndex);
  const TRect base = first->GetBaseRect();
  TRect band = ClientRect();
  TRect strip;
  const TcxTabPosition side = first->GetSide();
  const TColor lineColor = side == tpTop || side == tpLeft ? clWhite : clBtnText;
  if (IsTopOrBottom()) {
    band.top = base.top - 3;
    band.bottom = base.bottom + 3;
    const LONG y = side == tpTop ? band.bottom - 3 : band.top + 2;
    strip =
        side == tpTop ? TRect(band.left, y, band.right, y + 3) : TRect(band.left, y - 2, band.right, y + 1);
    Canvas()->FillRect(strip, clBtnFace);
    Canvas()->FillRect(TRect(band.left, y, band.right, y + 1), lineColor);
  } else {
    band.left = base.left - 3;
    band.right = base.right + 3;
    const LONG x = side == tpLeft ? band.right - 3 : band.left + 2;
    strip =
        side == tpLeft ? TRect(x, band.top, x + 3, band.bottom) : TRect(x - 2, band.top, x + 1, band.bottom);
    Canvas()->FillRect(strip, clBtnFace);
    Canvas()->FillRect(TRect(x, band.top, x + 1, band.bottom), lineColor);
  }
  Canvas()->ExcludeClipRect(strip);
  Canvas()->FillRect(band, LightFaceColor());
  return band;
}

void TcxPCFlatPainter::DrawTabShape(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  TRect R = tab->GetFullRect();
  const TColor tabColor = GetTabColor(VisibleIndex);
  if (tab->IsMainSelected()) {
    const LONG l = R.left, t = R.top, r = R.right, b = R.bottom;
    using P = TPoint;
    switch (tab->GetSide()) {
    case tpTop:
      DrawPolyline({P(l, b - 1), P(l, t), P(r - 1, t)}, clWhite);
      DrawPolyline({P(r - 1, t + 1), P(r - 1, b - 1)}, clBtnText);
      DrawPolyline({P(l + 1, b - 1), P(r - 2, b - 1)}, tabColor);
      break;
    case tpBottom:
      DrawPolyline({P(l, t)}, clBtnText);
      DrawPolyline({P(l, b - 1), P(l, t + 1)}, clWhite);
      DrawPolyline({P(l + 1, b - 1), P(r - 1, b - 1), P(r - 1, t)}, clBtnText);
      DrawPolyline({P(l + 1, t), P(r - 2, t)}, tabColor);
      break;
    case tpLeft:
      DrawPolyline({P(l, b - 1), P(l, t), P(r - 1, t)}, clWhite);
      DrawPolyline({P(l + 1, b - 1), P(r - 1, b - 1)}, clBtnText);
      DrawPolyline({P(r - 1, t + 1), P(r - 1, b - 2)}, tabColor);
      break;
    case tpRight:
      DrawPolyline({P(l, t)}, clBtnText);
      DrawPolyline({P(l + 1, t), P(r - 1, t)}, clWhite);
      DrawPolyline({P(l, b - 1), P(r - 1, b - 1), P(r - 1, t + 1)}, clBtnText);
      DrawPolyline({P(l, t + 1), P(l, b - 2)}, tabColor);
      break;
    }
    R = Inflated(R, -1);
  }
  Canvas()->FillRect(R, tabColor);
  static const TRect kFocusDeltas[4] = {TRect(-1, -1, 0, 2), TRect(0, -1, 0, 0), TRect(-1, -1, 2, 0),
                                        TRect(-2, 0, 0, 0)};
  const TRect& d = kFocusDeltas[TabPosition()];
  DrawTabFocusRect(VisibleIndex,
                   TRect(R.left + d.left, R.top + d.top, R.right + d.right, R.bottom + d.bottom));
}
