// The standard painter: metrics by shape family, the navigator, the place of
// a tab's image and caption, and the 3-D page frame.
#include "cxPCPainters.h"

#include "dxThemeManager.h"

#include <algorithm>

namespace {

struct TFamilyMetrics {
  int MinTabHeight;
  TPoint Spacing;
  // (top, bottom) not selected, then selected.
  int ImageMargins[2][2];
  int TextMargins[2][2];
  // (start, end) not selected, then selected.
  int AlongMargins[2][2];
  int TruncatedAlongMargins[2][2];
};

const TFamilyMetrics kFamilies[3] = {
    {18, TPoint(0, 0), {{1, 0}, {1, 3}}, {{1, -1}, {1, 2}}, {{2, 2}, {4, 4}}, {{2, 2}, {4, 4}}},
    {20, TPoint(3, 3), {{-1, 1}, {0, 0}}, {{0, 1}, {0, -1}}, {{2, 2}, {4, 2}}, {{2, 2}, {3, 2}}},
    {20, TPoint(10, 3), {{-1, 1}, {0, 0}}, {{0, 1}, {0, -1}}, {{2, 2}, {4, 2}}, {{2, 2}, {3, 2}}},
};

const int kArrowSizes[3] = {5, 5, 4};

// Drawing direction codes of tabs drawn upside down or turned clockwise, whose
// margins are exchanged.
bool ExchangesMargins(int DrawDirection) {
  return DrawDirection == 5 || DrawDirection == 7 || DrawDirection == 10;
}

TRect Inflated(TRect R, int D) {
  InflateRect(&R, D, D);
  return R;
}

} // namespace

int TcxPCStandardPainter::GetMinTabHeight() {
  return kFamilies[GetStandardStyle()].MinTabHeight;
}

TPoint TcxPCStandardPainter::GetTabSpacing() {
  return kFamilies[GetStandardStyle()].Spacing;
}

void TcxPCStandardPainter::GetImageMargins(int VisibleIndex, TRect& R) {
  const int* m = kFamilies[GetStandardStyle()].ImageMargins[IsTabSelected(VisibleIndex) ? 1 : 0];
  R = TRect(0, m[0], 0, m[1]);
}

void TcxPCStandardPainter::GetTextMargins(int VisibleIndex, TRect& R) {
  const int* m = kFamilies[GetStandardStyle()].TextMargins[IsTabSelected(VisibleIndex) ? 1 : 0];
  R = TRect(0, m[0], 0, m[1]);
  if (MovesSelectedLineToPage() && ExchangesMargins(VisibleTab(VisibleIndex)->GetDrawDirection())) ++R.bottom;
}

void TcxPCStandardPainter::GetAlongMargins(int VisibleIndex, TPoint& P) {
  const int* m = kFamilies[GetStandardStyle()].AlongMargins[IsTabSelected(VisibleIndex) ? 1 : 0];
  P = TPoint(m[0], m[1]);
}

void TcxPCStandardPainter::GetTruncatedAlongMargins(int VisibleIndex, TPoint& P) {
  const int* m = kFamilies[GetStandardStyle()].TruncatedAlongMargins[IsTabSelected(VisibleIndex) ? 1 : 0];
  P = TPoint(m[0], m[1]);
}

bool TcxPCStandardPainter::IsTabSelected(int VisibleIndex) {
  return VisibleIndex == GetParentInfo()->SelectedVisibleIndex();
}

void TcxPCStandardPainter::GetTabClipRect(int VisibleIndex, TRect& R, bool& Intersect) {
  R = VisibleTab(VisibleIndex)->GetVisibleRect();
  Intersect = true;
}

// ---- Sizes ----

int TcxPCStandardPainter::GetTextHeightWithMargins() {
  int height = Canvas()->TextHeight("Zg") + 8;
  const SIZE image = GetImageSize();
  if (image.cy > 0) height = std::max<int>(height, image.cy + 2 * GetParentInfo()->ImageBorder() + 6);
  return height;
}

int TcxPCStandardPainter::CalculateTabNormalHeight() {
  int height = std::max(GetTextHeightWithMargins(), GetMinTabHeight());
  if (GetParentInfo()->TabHeight() > height) height = GetParentInfo()->TabHeight();
  return height;
}

int TcxPCStandardPainter::GetMinTabWidth() {
  int w = GetImageSize().cx;
  if (w > 0) w += 2 * GetParentInfo()->ImageBorder() + 6;
  return std::max(GetMinTabWidthBase(), w + 12);
}

int TcxPCStandardPainter::CalculateTabNormalWidth(TcxTab* Tab) {
  if (GetParentInfo()->TabWidth() > 0) return GetParentInfo()->TabWidth();
  int w = GetImageSize().cx;
  if (w > 0) w += 2 * GetParentInfo()->ImageBorder() + 6;
  const String& caption = Tab->GetDisplayCaption();
  const int width = caption.empty() ? w + 12 : w + Canvas()->TextWidth(caption) + 12;
  return std::max(width, GetMinTabWidth());
}

// ---- Navigator ----

bool TcxPCStandardPainter::IsNavigatorAtEnd() const {
  const TcxPCNavigatorPosition p = GetParentInfo()->NavigatorPosition();
  if (IsTopOrBottom()) return p == npRightTop || p == npRightBottom;
  return p == npLeftBottom || p == npRightBottom;
}

std::vector<TcxPCNavigatorButton>
TcxPCStandardPainter::BuildNavigatorButtonList(TcxPCNavigatorButtons Buttons) {
  std::vector<TcxPCNavigatorButton> list;
  const bool goFirst = IsNavigatorAtEnd();
  if (goFirst && Buttons.Contains(nbGoDialog)) list.push_back(nbGoDialog);
  if (Buttons.Contains(nbTopLeft)) list.push_back(nbTopLeft);
  if (Buttons.Contains(nbBottomRight)) list.push_back(nbBottomRight);
  if (!goFirst && Buttons.Contains(nbGoDialog)) list.push_back(nbGoDialog);
  return list;
}

int TcxPCStandardPainter::GetNavigatorButtonLength(TcxPCNavigatorButton Button) {
  if (Button != nbGoDialog) return 20;
  return IsTopOrBottom() ? 12 : 13;
}

int TcxPCStandardPainter::GetNavigatorLength(TcxPCNavigatorButtons Buttons) {
  int length = 0;
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbGoDialog})
    if (Buttons.Contains(b)) length += GetNavigatorButtonLength(b);
  return length;
}

void TcxPCStandardPainter::CalculateNavigatorRect(TcxPCNavigatorButtons Buttons) {
  const int L = GetNavigatorLength(Buttons);
  const int T = GetNavigatorButtonThickness();
  const int width = GetParentInfo()->Width();
  const int height = GetParentInfo()->Height();
  if (IsTopOrBottom()) {
    const int left = IsNavigatorAtEnd() ? width - L : 0;
    const int top = TabPosition() == tpBottom ? height - T : 0;
    FNavigatorRect = Bounds(left, top, L, T);
  } else {
    const int top = IsNavigatorAtEnd() ? height - L : 0;
    const int left = TabPosition() == tpLeft ? 0 : width - T;
    FNavigatorRect = Bounds(left, top, T, L);
  }
}

void TcxPCStandardPainter::LayoutButtons(TcxPCNavigatorButtons Buttons, TPoint Offset, int Spacing) {
  FNavigatorButtonInfos.clear();
  if (Buttons.Empty()) {
    FNavigatorRect = TRect();
    return;
  }
  CalculateNavigatorRect(Buttons);
  const int T = GetNavigatorButtonThickness();
  TPoint p(FNavigatorRect.left + Offset.x, FNavigatorRect.top + Offset.y);
  for (TcxPCNavigatorButton b : BuildNavigatorButtonList(Buttons)) {
    const int length = GetNavigatorButtonLength(b);
    const TRect r = IsTopOrBottom() ? Bounds(p.x, p.y, length, T) : Bounds(p.x, p.y, T, length);
    FNavigatorButtonInfos.push_back({b, r});
    if (IsTopOrBottom())
      p.x = r.right + Spacing;
    else
      p.y = r.bottom + Spacing;
  }
}

void TcxPCStandardPainter::LayoutNavigatorButtons(TcxPCNavigatorButtons Buttons) {
  LayoutButtons(Buttons, TPoint(0, 0), 0);
}

void TcxPCStandardPainter::CalculateNavigatorLayout(TcxPCNavigatorButtons Buttons,
                                                    TcxPCNavigatorLayout& Layout) {
  const int L = GetNavigatorLength(Buttons);
  TRect r = ClientRect();
  if (IsTopOrBottom()) {
    Layout.LineLength = r.Width() - L;
    if (IsNavigatorAtEnd())
      r.right -= L;
    else
      r.left += L;
  } else {
    Layout.LineLength = r.Height() - L;
    if (IsNavigatorAtEnd())
      r.bottom -= L;
    else
      r.top += L;
  }
  Layout.TabsRect = r;
  Layout.TabsStartRect = r;
  Layout.NearAreaExtra = 0;
  Layout.FarAreaExtra = 0;
  Layout.AreaGap = GetTabSpacing().y;
  LayoutNavigatorButtons(Buttons);
}

bool TcxPCStandardPainter::GetNavigatorButtonAt(int X, int Y, TcxPCNavigatorButton& Button) {
  if (GetParentInfo()->NavigatorButtons().Empty()) return false;
  for (const TNavigatorButtonInfo& info : FNavigatorButtonInfos)
    if (info.Rect.Contains(TPoint(X, Y))) return (Button = info.Button), true;
  return false;
}

TRect TcxPCStandardPainter::GetGoDialogButtonRect() {
  for (const TNavigatorButtonInfo& info : FNavigatorButtonInfos)
    if (info.Button == nbGoDialog) return info.Rect;
  return TRect();
}

// ---- Page rectangle ----

bool TcxPCStandardPainter::HasLinesAfterPage() const {
  return GetParentInfo()->LineCount() - GetParentInfo()->NearLineCount() > 0;
}

bool TcxPCStandardPainter::HasLinesBeforePage() const {
  return GetParentInfo()->NearLineCount() > 0;
}

void TcxPCStandardPainter::GetFrameRect(TRect& R) {
  R = ClientRect();
  if (GetParentInfo()->HideTabs()) return;
  const TRect nearArea = GetParentInfo()->NearTabsArea();
  const TRect farArea = GetParentInfo()->FarTabsArea();
  if (IsTopOrBottom()) {
    if (HasLinesAfterPage()) R.bottom = farArea.top;
    if (HasLinesBeforePage()) R.top = nearArea.bottom;
  } else {
    if (HasLinesAfterPage()) R.right = farArea.left;
    if (HasLinesBeforePage()) R.left = nearArea.right;
  }
}

// ---- Painting ----

void TcxPCStandardPainter::Paint() {
  TcxPCCustomPainter::Paint();
  const TRect client = ClientRect();
  if (IsNativePainting())
    dxUxTheme::DrawThemeParentBackground(GetControl()->GetHandle(), Canvas()->GetHandle(), &client);
  else
    Canvas()->FillRect(client, GetParentInfo()->Color());
}

void TcxPCStandardPainter::DrawNavigatorButtons() {
  if (GetParentInfo()->NavigatorButtons().Empty()) return;
  for (const TNavigatorButtonInfo& info : FNavigatorButtonInfos) {
    if (!SetClipRect(info.Rect, true)) continue;
    DrawNavigatorButton(info.Button, info.Rect);
    RestoreClipRgn();
    Canvas()->ExcludeClipRect(info.Rect);
  }
}

void TcxPCStandardPainter::DrawTabs() {
  for (int v = std::max(GetControl()->ShownFirst(), 0); v <= GetControl()->ShownLast(); ++v)
    DrawTab(v);
}

void TcxPCStandardPainter::DrawStandardFrame(TRect R) {
  if (IsRectEmpty(&R)) return;
  Canvas()->FillRect(R, GetParentInfo()->Color());
  InflateRect(&R, 2, 2);
  const LONG l = R.left, t = R.top, r = R.right, b = R.bottom;
  DrawPolyline({TPoint(l, b - 2), TPoint(l, t), TPoint(r - 2, t)}, clBtnHighlight);
  DrawPolyline({TPoint(l + 1, b - 3), TPoint(l + 1, t + 1), TPoint(r - 3, t + 1)}, cl3DLight);
  DrawPolyline({TPoint(l, b - 1), TPoint(r - 1, b - 1), TPoint(r - 1, t)}, cl3DDkShadow);
  DrawPolyline({TPoint(l + 1, b - 2), TPoint(r - 2, b - 2), TPoint(r - 2, t + 1)}, clBtnShadow);
  Canvas()->ExcludeClipRect(R);
}

void TcxPCStandardPainter::DrawFrame() {
  TRect r;
  GetFrameRect(r);
  DrawStandardFrame(r);
}

void TcxPCStandardPainter::DrawTab(int VisibleIndex) {
  TRect clip;
  bool intersect;
  GetTabClipRect(VisibleIndex, clip, intersect);
  if (!SetClipRect(clip, intersect)) return;
  if (!(IsOwnerDrawn() && DoCustomDraw(VisibleIndex))) {
    if (IsNativePainting()) PrepareNativeTab(VisibleIndex);
    CalculateTabImageAndTextRects(VisibleIndex);
    Canvas()->GetFont()->SetColor(GetParentInfo()->FontColor());
    DrawTabImageAndText(GetTabColor(VisibleIndex));
    DrawTabShape(VisibleIndex);
  }
  RestoreClipRgn();
  Canvas()->ExcludeClipRect(clip);
}

void TcxPCStandardPainter::InvalidateNavigatorButton(TcxPCNavigatorButton Button, TcxPCNavigatorButtonState) {
  for (const TNavigatorButtonInfo& info : FNavigatorButtonInfos)
    if (info.Button == Button) InvalidateRect(info.Rect);
}

void TcxPCStandardPainter::RepaintTab(int VisibleIndex, TcxTabChangeKind) {
  if (GetControl()->IsVerticalTabs()) VisibleTab(VisibleIndex)->FreeCaptionBitmap();
  InvalidateTab(VisibleIndex);
}

// ---- Image and caption ----

void TcxPCStandardPainter::FitCaption(const String& Caption, int Width, String& Text, String& Display) {
  Text = Caption;
  Display = TabDisplayCaption(Caption);
  if (Canvas()->TextWidth(Display) <= Width) return;
  struct TPiece {
    String Text;
    String Display;
  };
  std::vector<TPiece> pieces;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] != '&')
      pieces.push_back({String(1, Caption[i]), String(1, Caption[i])});
    else if (i + 1 == Caption.size())
      pieces.push_back({"&", "_"});
    else {
      pieces.push_back({Caption.substr(i, 2), String(1, Caption[i + 1])});
      ++i;
    }
  }
  const String ellipsis =
      !pieces.empty() && Canvas()->TextWidth(pieces.front().Display + "...") <= Width ? "..." : "";
  Text.clear();
  Display.clear();
  for (const TPiece& piece : pieces) {
    if (Canvas()->TextWidth(Display + piece.Display + ellipsis) > Width) break;
    Text += piece.Text;
    Display += piece.Display;
  }
  Text += ellipsis;
  Display += ellipsis;
}

void TcxPCStandardPainter::CalculateTabImageAndTextRects(int VisibleIndex) {
  TcxTab* tab = VisibleTab(VisibleIndex);
  TcxCustomTabControl* control = GetControl();
  const bool native = IsNativePainting();
  TRect R = tab->GetFullRect();
  if (native)
    R = control->IsVerticalTabs() ? TRect(0, 0, R.Height(), R.Width()) : TRect(0, 0, R.Width(), R.Height());
  const int dir = control->GetPainterTextDirection();
  const SIZE image = GetImageSize();
  const SIZE drawn = GetDrawnImageSize();
  const int B = GetParentInfo()->ImageBorder();
  const bool hasImages = image.cx > 0;
  const bool drawsImage = image.cx >= 1 && control->GetTabImageIndex(tab->GetIndex()) >= 0;
  TRect im;
  TRect tm;
  GetImageMargins(VisibleIndex, im);
  GetTextMargins(VisibleIndex, tm);
  if (MovesSelectedLineToPage() && ExchangesMargins(tab->GetDrawDirection())) {
    std::swap(im.top, im.bottom);
    std::swap(tm.top, tm.bottom);
  }
  TRect imageRect;
  TRect textRect;
  if (drawsImage) {
    int t = im.top, b = im.bottom;
    if (dir == 2) std::swap(t, b);
    if (dir == 0) {
      const int avail = (R.bottom - b) - (R.top + t);
      imageRect.top = R.top + t + (avail - drawn.cy) / 2;
      imageRect.bottom = imageRect.top + drawn.cy;
    } else {
      const int avail = (R.right - b) - (R.left + t);
      imageRect.left = R.left + t + (avail - drawn.cx) / 2;
      imageRect.right = imageRect.left + drawn.cx;
    }
  }
  const String& caption = tab->GetCaption();
  const int th = Canvas()->TextHeight("Zg");
  if (!caption.empty()) {
    if (dir == 0) {
      const int avail = (R.bottom - tm.bottom) - (R.top + tm.top);
      textRect.top = R.top + tm.top + (avail - th) / 2;
      textRect.bottom = textRect.top + th;
    } else if (dir == 1) {
      const int avail = (R.right - tm.bottom) - (R.left + tm.top);
      textRect.left = R.left + tm.top + (avail - th) / 2;
      textRect.right = textRect.left + th;
    } else {
      const int avail = (R.right - tm.top) - (R.left + tm.bottom);
      textRect.right = (R.right - tm.top) - (avail - th) / 2;
      textRect.left = textRect.right - th;
    }
  }
  String text;
  if (caption.empty()) {
    if (drawsImage) {
      if (dir == 0) {
        imageRect.left = R.left + (R.Width() - image.cx) / 2;
        imageRect.right = imageRect.left + image.cx;
      } else if (dir == 1) {
        imageRect.bottom = R.bottom - (R.Height() - image.cx) / 2;
        imageRect.top = imageRect.bottom - image.cx;
      } else {
        imageRect.top = R.top + (R.Height() - image.cx) / 2;
        imageRect.bottom = imageRect.top + image.cx;
      }
    }
  } else {
    TPoint along;
    GetAlongMargins(VisibleIndex, along);
    const int length = dir != 0 ? R.Height() : R.Width();
    int L = length - along.x - along.y;
    const int imagePart = drawsImage ? GetImageTextGap() + 2 * B + image.cx : 0;
    const bool truncated = L - imagePart < Canvas()->TextWidth(tab->GetDisplayCaption());
    if (truncated) {
      GetTruncatedAlongMargins(VisibleIndex, along);
      L = length - along.x - along.y;
    }
    String display;
    FitCaption(caption, L - imagePart, text, display);
    const int displayWidth = Canvas()->TextWidth(display);
    const int centring = truncated ? 0 : (L - (imagePart + displayWidth)) / 2;
    const int imageStep = GetImageTextGap() + 2 * B + image.cx;
    if (dir == 1) {
      int pos = R.bottom - along.x - centring;
      if (drawsImage) {
        imageRect.bottom = pos - B;
        imageRect.top = imageRect.bottom - image.cx;
      }
      if (hasImages) pos -= imageStep;
      textRect.bottom = pos;
      textRect.top = pos - displayWidth;
    } else {
      int pos = (dir == 0 ? R.left : R.top) + along.x + centring;
      LONG& imageStart = dir == 0 ? imageRect.left : imageRect.top;
      LONG& imageEnd = dir == 0 ? imageRect.right : imageRect.bottom;
      if (drawsImage) {
        imageStart = pos + B;
        imageEnd = imageStart + image.cx;
      }
      if (hasImages) pos += imageStep;
      (dir == 0 ? textRect.left : textRect.top) = pos;
      (dir == 0 ? textRect.right : textRect.bottom) = pos + displayWidth;
    }
  }
  PrepareTabImageAndText(VisibleIndex, drawsImage ? imageRect : TRect(), text,
                         caption.empty() ? TRect() : textRect);
}

// ---- Navigator buttons and frames ----

int TcxPCStandardPainter::ArrowDirection(TcxPCNavigatorButton Button) const {
  if (Button == nbGoDialog) return 1;
  if (Button == nbTopLeft) return IsTopOrBottom() ? 2 : 0;
  return IsTopOrBottom() ? 3 : 1;
}

void TcxPCStandardPainter::DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R) {
  const TcxPCNavigatorButtonState state = GetParentInfo()->NavigatorButtonState(Button);
  const bool pressed = state == nbsPressed;
  const bool enabled = GetControl()->GetEnabled() && state != nbsDisabled;
  DrawButtonFrame(R, pressed, false);
  Canvas()->FillRect(Inflated(R, -2), clBtnFace);
  const int direction = ArrowDirection(Button);
  static const TPoint kArrowOffsets[2][4] = {{TPoint(5, 7), TPoint(5, 7), TPoint(6, 5), TPoint(8, 5)},
                                             {TPoint(6, 8), TPoint(6, 8), TPoint(7, 6), TPoint(9, 6)}};
  TPoint offset = Button == nbGoDialog ? (IsTopOrBottom() ? TPoint(3, 8) : TPoint(6, 4))
                                       : kArrowOffsets[pressed ? 1 : 0][direction];
  const TColor color = state == nbsHot ? GetParentInfo()->HotTrackColor() : clBtnText;
  DrawArrow(direction, TPoint(R.left + offset.x, R.top + offset.y), color, enabled, kArrowSizes[Button]);
}

void TcxPCStandardPainter::DrawArrow(int Direction, TPoint Position, TColor Color, bool Enabled, int Size) {
  static const TPoint kShapes[4][3] = {{TPoint(0, 1), TPoint(1, 0), TPoint(2, 1)},
                                       {TPoint(0, 0), TPoint(2, 0), TPoint(1, 1)},
                                       {TPoint(1, 0), TPoint(1, 2), TPoint(0, 1)},
                                       {TPoint(0, 0), TPoint(1, 1), TPoint(0, 2)}};
  auto polygon = [&](TPoint at, TColor color) {
    TPoint points[3];
    for (int i = 0; i < 3; ++i)
      points[i] =
          TPoint(at.x + kShapes[Direction][i].x * (Size - 1), at.y + kShapes[Direction][i].y * (Size - 1));
    Canvas()->GetBrush()->SetColor(color);
    Canvas()->GetBrush()->SetStyle(bsSolid);
    Canvas()->GetPen()->SetColor(color);
    Canvas()->Polygon(points, 3);
  };
  if (Enabled) return polygon(Position, Color);
  polygon(TPoint(Position.x + 1, Position.y + 1), clBtnHighlight);
  polygon(Position, clBtnShadow);
}

void TcxPCStandardPainter::DrawButtonFrame(const TRect& R, bool Pressed, bool TwoLine) {
  const LONG l = R.left, t = R.top, r = R.right, b = R.bottom;
  if (TwoLine) {
    DrawPolyline({TPoint(l, b - 2), TPoint(l, t), TPoint(r - 2, t)}, Pressed ? cl3DDkShadow : cl3DLight);
    DrawPolyline({TPoint(l, b - 1), TPoint(r - 1, b - 1), TPoint(r - 1, t)},
                 Pressed ? cl3DLight : cl3DDkShadow);
    return;
  }
  DrawPolyline({TPoint(l, b - 2), TPoint(l, t), TPoint(r - 2, t)}, Pressed ? clBtnShadow : cl3DLight);
  DrawPolyline({TPoint(l + 1, b - 3), TPoint(l + 1, t + 1), TPoint(r - 3, t + 1)},
               Pressed ? cl3DDkShadow : clBtnHighlight);
  DrawPolyline({TPoint(l, b - 1), TPoint(r - 1, b - 1), TPoint(r - 1, t)},
               Pressed ? clBtnHighlight : cl3DDkShadow);
  DrawPolyline({TPoint(l + 1, b - 2), TPoint(r - 2, b - 2), TPoint(r - 2, t + 1)},
               Pressed ? cl3DLight : clBtnShadow);
}

void TcxPCStandardPainter::DrawTabFocusRect(int VisibleIndex, const TRect& R) {
  if (!SetClipRect(R, false)) return;
  TcxTab* tab = VisibleTab(VisibleIndex);
  if (tab->RealEnabled() && tab->IsMainSelected() && GetControl()->Focused()) {
    Canvas()->GetPen()->SetColor(GetParentInfo()->FontColor());
    Canvas()->DrawFocusRect(Inflated(R, -1));
  }
  RestoreClipRgn();
}
