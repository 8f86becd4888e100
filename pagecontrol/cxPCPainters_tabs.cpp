// The Tabs painter: classic notebook tabs with cut corners on a 3-D page, or
// the system's visual style, the tabs drawn horizontally into a bitmap and
// turned to their side.
#include "cxPCPainters.h"

#include "dxThemeManager.h"

#include <climits>

namespace {

constexpr int kTabPane = 9;

bool MatchesStandard(TcxLookAndFeel* LookAndFeel) {
  return LookAndFeel->GetKind() == lfStandard;
}

bool DefaultWhenNative(TcxLookAndFeel* LookAndFeel) {
  return LookAndFeel->GetNativeStyle();
}

std::unique_ptr<TcxPCCustomPainter> CreateTabsPainter(TcxCustomTabControl* AControl) {
  return std::make_unique<TcxPCTabsPainter>(AControl);
}

// Moves the edge toward the page by Delta.
void GrowTowardPage(TRect& R, TcxTabPosition Side, int Delta) {
  switch (Side) {
  case tpTop:
    R.bottom += Delta;
    break;
  case tpBottom:
    R.top -= Delta;
    break;
  case tpLeft:
    R.right += Delta;
    break;
  case tpRight:
    R.left -= Delta;
    break;
  }
}

// The turns of a native tab's bitmap by its drawing direction code: before
// its content is drawn, and after.
int TurnBeforeContent(int Code) {
  switch (Code) {
  case 2:
  case 9:
  case 12:
    return 2;
  case 3:
  case 6:
  case 11:
    return 1;
  case 5:
  case 7:
  case 10:
    return 3;
  default:
    return 0;
  }
}

int TurnAfterContent(int Code) {
  switch (Code) {
  case 2:
  case 4:
  case 7:
  case 11:
    return 1;
  case 3:
  case 5:
  case 8:
  case 12:
    return 2;
  default:
    return 0;
  }
}

void DrawThemePart(HTHEME Theme, HWND Wnd, HDC DC, int Part, int State, const TRect& R) {
  if (dxUxTheme::IsThemeBackgroundPartiallyTransparent(Theme, Part, State))
    dxUxTheme::DrawThemeParentBackground(Wnd, DC, &R);
  dxUxTheme::DrawThemeBackground(Theme, DC, Part, State, &R, nullptr);
}

} // namespace

const TcxPCPainterClass TabsPainterClass{"TcxPCTabsPainter", 1, MatchesStandard, DefaultWhenNative,
                                         CreateTabsPainter};

bool TcxPCTabsPainter::IsNativePainting() {
  return !GetControl()->IsDestroying() && GetControl()->GetLookAndFeel()->GetNativeStyle() &&
         ThemesAvailable() && OpenThemeHandle(totTab) != nullptr;
}

void TcxPCTabsPainter::CorrectTabRect(int VisibleIndex, TRect& Deltas) {
  Deltas = TRect(0, 0, 0, 0);
  if (VisibleIndex != GetParentInfo()->SelectedVisibleIndex()) return;
  static const TRect kDeltas[4] = {TRect(-2, -2, 2, 1), TRect(-2, -1, 2, 2), TRect(-2, -2, 1, 2),
                                   TRect(-1, -2, 2, 2)};
  Deltas = kDeltas[VisibleTab(VisibleIndex)->GetSide()];
}

int TcxPCTabsPainter::GetNavigatorButtonThickness() {
  return IsNativePainting() ? 17 : 20;
}

int TcxPCTabsPainter::GetNavigatorButtonLength(TcxPCNavigatorButton Button) {
  if (!IsNativePainting()) return TcxPCStandardPainter::GetNavigatorButtonLength(Button);
  if (Button != nbGoDialog) return 17;
  SIZE size;
  if (SUCCEEDED(dxUxTheme::GetThemePartSize(OpenThemeHandle(totSpin), nullptr, 2, 1, nullptr, 1, &size)) &&
      size.cx > 0)
    return size.cx;
  return 17;
}

TColor TcxPCTabsPainter::GetTabColor(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  return tab->GetHighlighted() && tab->RealEnabled() ? clHighlight : clBtnFace;
}

void TcxPCTabsPainter::GetTabClipRect(int VisibleIndex, TRect& R, bool& Intersect) {
  R = VisibleTab(VisibleIndex)->GetVisibleRect();
  const bool selected = VisibleIndex == GetParentInfo()->SelectedVisibleIndex();
  if (selected && !IsNativePainting()) GrowTowardPage(R, VisibleTab(VisibleIndex)->GetSide(), 1);
  Intersect = !selected;
}

void TcxPCTabsPainter::GetTabPartAndState(int VisibleIndex, int& Part, int& State) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  Part = tab->GetFullRect().right == GetParentInfo()->Width() ? 3 : 1;
  if (!tab->RealEnabled())
    State = 4;
  else if (VisibleIndex == GetParentInfo()->SelectedVisibleIndex())
    State = 3;
  else if (tab->IsHot())
    State = 2;
  else
    State = 1;
}

void TcxPCTabsPainter::GetDisplayRect(TRect& R) {
  GetFrameRect(R);
  if (!IsNativePainting()) return;
  InflateRect(&R, 2, 2);
  const RECT bounds{0, 0, INT_MAX, INT_MAX};
  RECT content = bounds;
  HWND wnd = GetControl()->GetHandle();
  HDC dc = GetDC(wnd);
  dxUxTheme::GetThemeBackgroundContentRect(OpenThemeHandle(totTab), dc, kTabPane, 0, &bounds, &content);
  ReleaseDC(wnd, dc);
  R.left += content.left;
  R.top += content.top;
  R.right -= INT_MAX - content.right;
  R.bottom -= INT_MAX - content.bottom;
}

void TcxPCTabsPainter::GetFrameRect(TRect& R) {
  R = ClientRect();
  InflateRect(&R, -2, -2);
  if (!GetParentInfo()->HideTabs()) {
    const TcxTabPosition p = TabPosition();
    if (HasLinesAfterPage()) {
      const TRect farArea = GetParentInfo()->FarTabsArea();
      if (IsTopOrBottom())
        R.bottom = farArea.top - (p == tpTop ? 2 : 1);
      else
        R.right = farArea.left - (p == tpLeft ? 2 : 1);
    }
    if (HasLinesBeforePage()) {
      const TRect nearArea = GetParentInfo()->NearTabsArea();
      if (IsTopOrBottom())
        R.top = nearArea.bottom + (p == tpTop ? 1 : 2);
      else
        R.left = nearArea.right + (p == tpLeft ? 1 : 2);
    }
  }
  if (R.right < R.left) R.right = R.left;
  if (R.bottom < R.top) R.bottom = R.top;
}

void TcxPCTabsPainter::CalculateNavigatorLayout(TcxPCNavigatorButtons Buttons, TcxPCNavigatorLayout& Layout) {
  const int L = GetNavigatorLength(Buttons);
  const TRect client = ClientRect();
  const TcxTabPosition p = TabPosition();
  static const TRect kStartDeltas[4] = {TRect(0, 2, 0, 0), TRect(0, 0, 0, -2), TRect(2, 0, 0, 0),
                                        TRect(0, 0, -2, 0)};
  TRect deltas = kStartDeltas[p];
  Layout.TabsRect = client;
  const bool reversed = GetControl()->IsReversedOrder();
  const bool horizontal = IsTopOrBottom();
  const int extent = horizontal ? client.Width() : client.Height();
  LONG& startDelta = horizontal ? deltas.left : deltas.top;
  LONG& endDelta = horizontal ? deltas.right : deltas.bottom;
  if (GetParentInfo()->MultiLine()) {
    Layout.LineLength = extent - 4;
    startDelta = 2;
    endDelta = -2;
  } else {
    startDelta = reversed ? 0 : 2;
    if (IsNavigatorAtEnd()) {
      (horizontal ? Layout.TabsRect.right : Layout.TabsRect.bottom) -= L;
    } else {
      startDelta += L;
      (horizontal ? Layout.TabsRect.left : Layout.TabsRect.top) = L;
    }
    Layout.LineLength = extent - L - 2;
    endDelta = Layout.LineLength + startDelta - extent;
  }
  Layout.TabsStartRect = TRect(client.left + deltas.left, client.top + deltas.top,
                               client.right + deltas.right, client.bottom + deltas.bottom);
  Layout.NearAreaExtra = p == tpTop || p == tpLeft ? 1 : 0;
  Layout.FarAreaExtra = p == tpBottom || p == tpRight ? -1 : 0;
  Layout.AreaGap = 0;
  LayoutNavigatorButtons(Buttons);
}

void TcxPCTabsPainter::DrawTabs() {
  const int selected = GetParentInfo()->SelectedVisibleIndex();
  const int first = std::max(GetControl()->ShownFirst(), 0);
  const int last = GetControl()->ShownLast();
  if (selected >= first && selected <= last) DrawTab(selected);
  for (int v = first; v <= last; ++v)
    if (v != selected) DrawTab(v);
}

void TcxPCTabsPainter::RepaintTab(int VisibleIndex, TcxTabChangeKind Kind) {
  if (Kind == tckMainSelection && VisibleIndex != GetParentInfo()->SelectedVisibleIndex())
    return InvalidateTabsArea(VisibleIndex);
  TcxPCStandardPainter::RepaintTab(VisibleIndex, Kind);
}

void TcxPCTabsPainter::DrawFrame() {
  if (!IsNativePainting()) return TcxPCStandardPainter::DrawFrame();
  TRect r;
  GetFrameRect(r);
  InflateRect(&r, 2, 2);
  if (IsRectEmpty(&r)) return;
  DrawThemePart(OpenThemeHandle(totTab), GetControl()->GetHandle(), Canvas()->GetHandle(), kTabPane, 0, r);
  Canvas()->ExcludeClipRect(r);
}

void TcxPCTabsPainter::DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R) {
  if (!IsNativePainting()) return TcxPCStandardPainter::DrawNavigatorButton(Button, R);
  static const int kParts[4] = {1, 2, 4, 3};
  static const int kStates[4] = {1, 3, 2, 4};
  DrawThemePart(OpenThemeHandle(totSpin), GetControl()->GetHandle(), Canvas()->GetHandle(),
                kParts[ArrowDirection(Button)], kStates[GetParentInfo()->NavigatorButtonState(Button)], R);
}

TRect TcxPCTabsPainter::NativeTabRect(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  TRect r = tab->GetFullRect();
  if (VisibleIndex == GetParentInfo()->SelectedVisibleIndex()) GrowTowardPage(r, tab->GetSide(), 1);
  return r;
}

void TcxPCTabsPainter::PrepareNativeTab(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  const TRect r = NativeTabRect(VisibleIndex);
  int part;
  int state;
  GetTabPartAndState(VisibleIndex, part, state);
  tab->FreePaintBitmap();
  tab->CreatePaintBitmap();
  TBitmap* bitmap = tab->GetPaintBitmap();
  const bool sideways = tab->GetSide() == tpLeft || tab->GetSide() == tpRight;
  const int width = sideways ? r.Height() : r.Width();
  const int height = sideways ? r.Width() : r.Height();
  bitmap->SetSize(width, height);
  const TRect whole(0, 0, width, height);
  bitmap->GetCanvas()->GetBrush()->SetColor(GetParentInfo()->Color());
  bitmap->GetCanvas()->FillRect(whole);
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totTab), bitmap->GetCanvas()->GetHandle(), part, state,
                                 &whole, nullptr);
  RotateTabBitmap(bitmap, TurnBeforeContent(tab->GetDrawDirection()));
}

void TcxPCTabsPainter::DrawTabShape(int VisibleIndex) {
  if (!IsNativePainting()) return DrawClassicTabShape(VisibleIndex);
  TcxTab* tab = VisibleTab(VisibleIndex);
  TBitmap* bitmap = tab->GetPaintBitmap();
  RotateTabBitmap(bitmap, TurnAfterContent(tab->GetDrawDirection()));
  const TRect r = NativeTabRect(VisibleIndex);
  Canvas()->Draw(r.left, r.top, bitmap);
  TRect focus = tab->GetFullRect();
  InflateRect(&focus, -2, -2);
  if (VisibleIndex == GetParentInfo()->SelectedVisibleIndex()) GrowTowardPage(focus, tab->GetSide(), 1);
  DrawTabFocusRect(VisibleIndex, focus);
  tab->FreePaintBitmap();
}

void TcxPCTabsPainter::DrawClassicTabShape(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  const TcxTabPosition side = tab->GetSide();
  const bool selected = VisibleIndex == GetParentInfo()->SelectedVisibleIndex();
  const TRect R = tab->GetFullRect();
  TRect D = R;
  InflateRect(&D, -2, -2);
  if (selected) GrowTowardPage(D, side, 2);
  Canvas()->FillRect(D, GetTabColor(VisibleIndex));
  if (selected) {
    TRect focus = D;
    GrowTowardPage(focus, side, -1);
    DrawTabFocusRect(VisibleIndex, focus);
  } else {
    TRect strip = D;
    switch (side) {
    case tpTop:
      strip = TRect(D.left, D.bottom, D.right, R.bottom);
      break;
    case tpBottom:
      strip = TRect(D.left, R.top, D.right, D.top);
      break;
    case tpLeft:
      strip = TRect(D.right, D.top, R.right, D.bottom);
      break;
    case tpRight:
      strip = TRect(R.left, D.top, D.left, D.bottom);
      break;
    }
    Canvas()->FillRect(strip, GetParentInfo()->Color());
  }
  const LONG l = R.left, t = R.top, r = R.right, b = R.bottom;
  using P = TPoint;
  switch (side) {
  case tpTop:
    DrawPolyline({P(l, b - 1), P(l, t + 2), P(l + 2, t), P(r - 3, t)}, clBtnHighlight);
    DrawPolyline({P(l + 1, b - 1), P(l + 1, t + 2), P(l + 2, t + 1), P(r - 3, t + 1)}, cl3DLight);
    DrawPolyline({P(r - 1, b - 1), P(r - 1, t + 2), P(r - 2, t + 1)}, cl3DDkShadow);
    DrawPolyline({P(r - 2, b - 1), P(r - 2, t + 2)}, clBtnShadow);
    break;
  case tpBottom:
    DrawPolyline({P(l, t), P(l, b - 3), P(l + 1, b - 2)}, clBtnHighlight);
    DrawPolyline({P(l + 1, t), P(l + 1, b - 3)}, cl3DLight);
    DrawPolyline({P(l + 2, b - 1), P(r - 3, b - 1), P(r - 1, b - 3), P(r - 1, t)}, cl3DDkShadow);
    DrawPolyline({P(l + 2, b - 2), P(r - 3, b - 2), P(r - 2, b - 3), P(r - 2, t)}, clBtnShadow);
    break;
  case tpLeft:
    DrawPolyline({P(l, b - 3), P(l, t + 2), P(l + 2, t), P(r - 1, t)}, clBtnHighlight);
    DrawPolyline({P(l + 1, b - 3), P(l + 1, t + 2), P(l + 2, t + 1), P(r - 1, t + 1)}, cl3DLight);
    DrawPolyline({P(l + 2, b - 2), P(l + 3, b - 1), P(r - 1, b - 1)}, cl3DDkShadow);
    DrawPolyline({P(l + 1, b - 2), P(l + 2, b - 1), P(l + 3, b - 2), P(r - 1, b - 2)}, clBtnShadow);
    break;
  case tpRight:
    DrawPolyline({P(l, t), P(r - 3, t), P(r - 2, t + 1)}, clBtnHighlight);
    DrawPolyline({P(l, t + 1), P(r - 3, t + 1)}, cl3DLight);
    DrawPolyline({P(l, b - 1), P(r - 3, b - 1), P(r - 1, b - 3), P(r - 1, t + 2)}, cl3DDkShadow);
    DrawPolyline({P(l, b - 2), P(r - 3, b - 2), P(r - 2, b - 3), P(r - 2, t + 2)}, clBtnShadow);
    break;
  }
  if (selected) DrawSelectedJoint(R, side);
  if (side == tpTop || side == tpLeft) DrawPolyline({P(l, t + 1), P(l, t), P(l + 1, t)}, clBtnFace);
  if (side == tpTop || side == tpRight) DrawPolyline({P(r - 2, t), P(r - 1, t), P(r - 1, t + 1)}, clBtnFace);
  if (side == tpBottom || side == tpLeft)
    DrawPolyline({P(l, b - 2), P(l, b - 1), P(l + 1, b - 1)}, clBtnFace);
  if (side == tpBottom || side == tpRight)
    DrawPolyline({P(r - 2, b - 1), P(r - 1, b - 1), P(r - 1, b - 2)}, clBtnFace);
}

// Where the selected tab meets the page: the frame's lines run on under the
// tab's edges, the face colour between them.
void TcxPCTabsPainter::DrawSelectedJoint(const TRect& R, TcxTabPosition Side) {
  const LONG l = R.left, t = R.top, r = R.right, b = R.bottom;
  const int width = GetParentInfo()->Width();
  const int height = GetParentInfo()->Height();
  using P = TPoint;
  auto pixel = [&](LONG x, LONG y, TColor c) { DrawPolyline({P(x, y)}, c); };
  switch (Side) {
  case tpTop:
    if (l == 0) {
      pixel(l, b, clBtnHighlight);
      pixel(l + 1, b, cl3DLight);
    } else {
      DrawPolyline({P(l, b), P(l + 1, b)}, cl3DLight);
    }
    if (r == width) {
      DrawPolyline({P(l + 2, b), P(r - 3, b)}, clBtnFace);
      pixel(r - 2, b, clBtnShadow);
      pixel(r - 1, b, cl3DDkShadow);
    } else {
      DrawPolyline({P(l + 2, b), P(r - 1, b)}, clBtnFace);
    }
    break;
  case tpBottom: {
    const LONG y = t - 1;
    if (l == 0) {
      pixel(l, y, clBtnHighlight);
      pixel(l + 1, y, cl3DLight);
      DrawPolyline({P(l + 2, y), P(r - 3, y)}, clBtnFace);
    } else {
      DrawPolyline({P(l, y), P(r - 3, y)}, clBtnFace);
    }
    if (r == width) {
      pixel(r - 2, y, clBtnShadow);
      pixel(r - 1, y, cl3DDkShadow);
    } else {
      DrawPolyline({P(r - 2, y), P(r - 1, y)}, clBtnShadow);
    }
    break;
  }
  case tpLeft:
    if (t == 0) {
      pixel(r, t, clBtnHighlight);
      pixel(r, t + 1, cl3DLight);
    } else {
      DrawPolyline({P(r, t), P(r, t + 1)}, cl3DLight);
    }
    if (b == height) {
      DrawPolyline({P(r, t + 2), P(r, b - 3)}, clBtnFace);
      pixel(r, b - 2, clBtnShadow);
      pixel(r, b - 1, cl3DDkShadow);
    } else {
      DrawPolyline({P(r, t + 2), P(r, b - 1)}, clBtnFace);
    }
    break;
  case tpRight: {
    const LONG x = l - 1;
    if (t == 0) {
      pixel(x, t, clBtnHighlight);
      pixel(x, t + 1, cl3DLight);
      DrawPolyline({P(x, t + 2), P(x, b - 3)}, clBtnFace);
    } else {
      DrawPolyline({P(x, t), P(x, b - 3)}, clBtnFace);
    }
    if (b == height) {
      pixel(x, b - 2, clBtnShadow);
      pixel(x, b - 1, cl3DDkShadow);
    } else {
      DrawPolyline({P(x, b - 2), P(x, b - 1)}, clBtnShadow);
    }
    break;
  }
  }
}
