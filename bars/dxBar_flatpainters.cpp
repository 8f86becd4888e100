// The Flat painter: a one-pixel highlight frame and tinted fills for hot and
// checked items, striped grips, thin separators, floating toolbars with a
// flat frame, caption and close cross, and a shadow for windows that are not
// docked.
#include "dxBarPainters.h"

#include "dxBarCommon.h"

#include "cxEditTextUtils.h"

namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void DrawStrokes(HDC dc, int x, int y, int s, int first, int count, TColor color) {
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
  HGDIOBJ old = SelectObject(dc, pen);
  for (int k = first; k < first + count; ++k) {
    const POINT points[] = {{x + s, y + 2 * s + k}, {x + 3 * s, y + 4 * s + k}, {x + 8 * s, y - s + k}};
    Polyline(dc, points, 3);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

} // namespace

bool BarMayDock(const TdxBar* Bar) {
  const TdxBarDockingStyles all{dsNone, dsLeft, dsTop, dsRight, dsBottom};
  return (Bar->NotDocking * all) != all;
}

bool IsDropDownOpen(const TdxBarItemControl* Control) {
  auto* button = dynamic_cast<const TdxBarButtonControl*>(Control);
  return button && button->GetButtonStyle() == bsDropDown && button->DroppedDown;
}

void DrawControlGlyph(const TdxBarItemControlPainter* Painter, const TdxBarItemControl* Control, HDC DC,
                      const TRect& R, const TRect& GlyphRect, HBRUSH Brush, TdxGlyphState State,
                      bool Selected, bool Down, bool Pressed, bool Grey) {
  State.Pressed = Pressed;
  State.Down = Down;
  State.Selected = Selected;
  State.Disabled = Grey;
  State.StateImage = Control->HasStateImageList();
  const TdxBarManager* manager = Control->GetBarManager();
  DrawStateGlyph(DC, Brush, R, manager->ImageListBkColor, Painter->GetFadedImageColor(manager), State,
                 Control->GetImageIndex(), Control->GetImages(), Control->GetGlyph(), GlyphRect);
}

void DrawCaptionWithEndMark(const TdxBarItemControlPainter* Painter, TdxBarControl* BarControl, HDC DC,
                            HBRUSH Brush, HBRUSH CaptionBrush, const TRect& R,
                            const std::function<void(const TRect& Text)>& DrawText) {
  const TRect below(R.left, R.bottom, R.right, R.bottom + 1);
  FillRect(DC, &below, Brush);
  if (CaptionBrush)
    FillRect(DC, &R, CaptionBrush);
  else if (Painter->FillsCaptionBackground())
    Painter->FillCaptionBackground(DC, R, Brush);
  TRect text = R;
  if (BarControl->GetBar()->CanClose()) {
    text.right -= Painter->GetSmallCaptionSize();
    Painter->DrawFloatingCloseButton(BarControl, DC, BarControl->GetCloseButtonState(),
                                     Painter->CalcCloseButtonRect(R));
  }
  const bool mark = BarControl->MarkVisible();
  const TRect markRect = Painter->CalcMarkBounds(BarControl);
  if (mark) text.right = std::min<int>(text.right, markRect.left);
  if (text.Width() > 0) DrawText(text);
  if (mark) Painter->DrawFloatingMark(BarControl, DC, markRect);
}

TCustomdxBarControl* OpenedMenuOf(const TdxBarItemControl* Control) {
  if (IsDropDownOpen(Control))
    return static_cast<const TdxBarButtonControl*>(Control)->GetDropDownMenuControl();
  if (auto* sub = dynamic_cast<const TdxBarSubItemControl*>(Control)) {
    auto* menu = dynamic_cast<TdxBarSubMenuControl*>(sub->GetSubMenuControl());
    if (menu && menu->SubItemControl == sub) return menu;
  }
  return nullptr;
}

TdxBarItemControlPainterClass TdxBarItemControlFlatPainter::Instance() {
  static const TdxBarItemControlFlatPainter painter;
  return &painter;
}

// ---- Item states ----

void TdxBarItemControlFlatPainter::DrawButtonBorder(const TdxBarItemControl* Control, HDC DC, HBRUSH Brush,
                                                    bool Fits, const TRect& R, int PaintType, bool,
                                                    bool Selected, bool Down, bool Pressed) const {
  if (Down || (Selected && PaintType != 1)) {
    if (TCustomdxBarControl* menu = Down && PaintType != 1 ? OpenedMenuOf(Control) : nullptr)
      FrameWithOwnerGap(Control->GetBarControl(), DC, menu, Control, R);
    else
      FrameSelected(DC, R);
    return;
  }
  if (Fits) FrameBackground(Control, DC, Selected || Pressed || Control->NonRecent, Brush, R);
}

HBRUSH TdxBarItemControlFlatPainter::GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType, bool,
                                                        bool Selected, bool Down, bool Pressed) const {
  TCustomdxBarControl* barControl = Control->GetBarControl();
  if (Selected) {
    if (!Pressed && !Down) return barControl->GetSelectedBrush();
    return Down && PaintType != 1 && OpenedMenuOf(Control) ? barControl->GetBarBackgroundBrush()
                                                            : barControl->GetCheckedSelectedBrush();
  }
  if (Down) return barControl->GetCheckedBrush();
  if (PaintType == 1) return Control->GetBarManager()->GetFlatToolbarBrush();
  return barControl->BackgroundBrush;
}

void TdxBarItemControlFlatPainter::GetTextColors(const TdxBarItemControl* Control, int, bool, bool Selected,
                                                 bool DroppedDown, int& TextColorIndex, HBRUSH& Brush) const {
  TCustomdxBarControl* barControl = Control->GetBarControl();
  TextColorIndex = COLOR_BTNTEXT;
  if (!Selected)
    Brush = barControl->BackgroundBrush;
  else if (DroppedDown) {
    Brush = barControl->GetCheckedSelectedBrush();
    TextColorIndex = COLOR_HIGHLIGHTTEXT;
  } else
    Brush = barControl->GetSelectedBrush();
}

void TdxBarItemControlFlatPainter::DrawGlyph(const TdxBarItemControl* Control, HDC DC, TRect R,
                                             const TRect& GlyphRect, HBRUSH Brush, bool Fits, int,
                                             bool Selected, bool Down, bool Pressed, bool Grey) const {
  if (Fits) InflateRect(&R, -1, -1);
  TdxGlyphState state;
  state.FlatLook = true;
  state.ShadowAllowed = true;
  DrawControlGlyph(this, Control, DC, R, GlyphRect, Brush, state, Selected, Down, Pressed, Grey);
}

void TdxBarItemControlFlatPainter::DrawCheckMark(TCustomdxBarControl*, HDC DC, int X, int Y, int Scale,
                                                 bool Enabled) const {
  if (!Enabled) {
    DrawStrokes(DC, X, Y, Scale, 1, 2 * Scale, clBtnShadow);
    return;
  }
  const bool blackFace = ColorToRGB(clBtnFace) == 0;
  DrawStrokes(DC, X, Y, Scale, 0, 2 * Scale, blackFace ? clWhite : clBlack);
}

void TdxBarItemControlFlatPainter::DrawLoweredBorder(const TdxBarItemControl*, HDC DC, TRect& R) const {
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  InflateRect(&R, -1, -1);
}

// ---- Answers and brushes ----

int TdxBarItemControlFlatPainter::GetButtonArrowWidth(const TdxBarManager* Manager) const {
  return TdxBarItemControlPainter::GetButtonArrowWidth(Manager) - 1;
}

int TdxBarItemControlFlatPainter::GetLargeButtonArrowWidth(const TdxBarManager* Manager) const {
  return TdxBarItemControlPainter::GetLargeButtonArrowWidth(Manager) - 1;
}

bool TdxBarItemControlFlatPainter::HasShadow(const TCustomdxBarControl* BarControl) const {
  return BarControl->GetDockingStyle() == dsNone;
}

HBRUSH TdxBarItemControlFlatPainter::GetToolbarBrush(const TdxBarManager* Manager) const {
  return Manager->GetFlatToolbarBrush();
}

HBRUSH TdxBarItemControlFlatPainter::GetToolbarWindowBrush(const TCustomdxBarControl* BarControl) const {
  if (auto* toolbar = dynamic_cast<const TdxBarControl*>(BarControl))
    if (toolbar->GetBar()->GetIsMainMenu() || toolbar->GetBar()->IsStatusBar())
      return GetSysColorBrush(COLOR_BTNFACE);
  return GetToolbarBrush(BarControl->GetBarManager());
}

HBRUSH TdxBarItemControlFlatPainter::GetCheckedBrush(const TdxBarManager* Manager) const {
  return Manager->GetFlatCheckedBrush();
}

HBRUSH TdxBarItemControlFlatPainter::GetCheckedSelectedBrush(const TdxBarManager* Manager) const {
  return Manager->GetFlatCheckedSelectedBrush();
}

HBRUSH TdxBarItemControlFlatPainter::GetSelectedBrush(const TdxBarManager* Manager) const {
  return Manager->GetFlatSelectedBrush();
}

TColor TdxBarItemControlFlatPainter::GetFloatCaptionColor(const TdxBarControl*, bool) const {
  return clInactiveCaption;
}

TColor TdxBarItemControlFlatPainter::GetCaptionGlyphColor(const TdxBarControl*, int State) const {
  return State == 1 || State == 2 ? clBtnText : clCaptionText;
}

void TdxBarItemControlFlatPainter::FrameSelected(HDC DC, const TRect& R) const {
  FrameRectHighlight(DC, R);
}

HBRUSH TdxBarItemControlFlatPainter::GetFlatShadowBrush() const {
  return GetSysColorBrush(COLOR_BTNSHADOW);
}

HBRUSH TdxBarItemControlFlatPainter::GetSeparatorBrush(const TCustomdxBarControl*) const {
  return GetSysColorBrush(COLOR_BTNSHADOW);
}

// ---- Frames joined to a popup ----

void TdxBarItemControlFlatPainter::FrameBarControl(TCustomdxBarControl* BarControl, HDC DC,
                                                   const TRect& R) const {
  FrameRect(DC, &R, BarControl->GetBarManager()->GetFlatFrameBrush());
}

void TdxBarItemControlFlatPainter::FrameWithOwnerGap(TCustomdxBarControl* BarControl, HDC DC,
                                                     TCustomdxBarControl* Popup, const TdxBarItemControl* Control,
                                                     const TRect& R) const {
  // The popup's joint on the screen is the row (or column) of the button
  // next to it; in the bar window it is cut to R's edge.
  TRect joint;
  if (Popup && Popup->HandleAllocated() && BarControl->HandleAllocated()) {
    joint = Popup->GetOwnerJointRect(true);
    MapWindowPoints(nullptr, BarControl->GetHandle(), reinterpret_cast<POINT*>(&joint), 2);
    IntersectRect(&joint, &joint, &R);
  }
  if (IsRectEmpty(&joint)) {
    FrameBarControl(BarControl, DC, R);
    return;
  }
  HRGN saved = IntersectClipRectSaving(DC, R);
  ExcludeClipRect(DC, joint.left, joint.top, joint.right, joint.bottom);
  FrameBarControl(BarControl, DC, R);
  RestoreClipRegion(DC, saved);
  FillOwnerJoint(BarControl, DC, Control, joint);
}

void TdxBarItemControlFlatPainter::DrawFramedBox(TCustomdxBarControl* BarControl, HDC DC,
                                                 TCustomdxBarControl* Popup, const TRect& R) const {
  FrameWithOwnerGap(BarControl, DC, Popup, nullptr, R);
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  FillRect(DC, &inner, BarControl->GetBarBackgroundBrush());
}

void TdxBarItemControlFlatPainter::FillOwnerJoint(TCustomdxBarControl* BarControl, HDC DC,
                                                  const TdxBarItemControl*, const TRect& JointRect) const {
  FillRect(DC, &JointRect, BarControl->GetBarBackgroundBrush());
}

// ---- Toolbars ----

void TdxBarItemControlFlatPainter::DrawToolbarSeparator(TCustomdxBarControl* BarControl, HDC DC,
                                                        const TRect& R, HBRUSH Brush, bool Horizontal) const {
  const int offset = GetSeparatorLineOffset();
  TRect line = R;
  if (Horizontal) {
    PaintBarBackground(BarControl, DC, TRect(R.left, R.top, R.right, R.top + offset), Brush);
    PaintBarBackground(BarControl, DC, TRect(R.left, R.bottom - offset, R.right, R.bottom), Brush);
    line = TRect(R.left, R.top + offset, R.right, R.top + offset + 1);
    PaintBarBackground(BarControl, DC, TRect(R.left, line.bottom, R.right, R.bottom - offset), Brush);
  } else {
    PaintBarBackground(BarControl, DC, TRect(R.left, R.top, R.left + offset, R.bottom), Brush);
    PaintBarBackground(BarControl, DC, TRect(R.right - offset, R.top, R.right, R.bottom), Brush);
    line = TRect(R.left + offset, R.top, R.left + offset + 1, R.bottom);
    PaintBarBackground(BarControl, DC, TRect(line.right, R.top, R.right - offset, R.bottom), Brush);
  }
  FillRect(DC, &line, GetSysColorBrush(COLOR_BTNSHADOW));
}

void TdxBarItemControlFlatPainter::DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  InflateRect(&R, -1, -1);
  SetPixel(DC, R.left, R.top, face);
  SetPixel(DC, R.right - 1, R.top, face);
  SetPixel(DC, R.left, R.bottom - 1, face);
  SetPixel(DC, R.right - 1, R.bottom - 1, face);
  InflateRect(&R, -1, -1);
  if (!BarMayDock(BarControl->GetBar())) return;
  const bool vertical = BarControl->IsVertical();
  const int start = GetGripOffset(), width = GetGripWidth();
  const TRect grip = vertical ? TRect(R.left + 3, R.top + start, R.right - 3, R.top + start + width)
                              : TRect(R.left + start, R.top + 3, R.left + start + width, R.bottom - 3);
  HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW), brush = BarControl->GetToolbarBrush();
  // One-pixel stripes across the grip, starting with a shadow one.
  const int count = vertical ? grip.Width() : grip.Height();
  for (int i = 0; i < count; ++i) {
    const TRect stripe = vertical ? TRect(grip.left + i, grip.top, grip.left + i + 1, grip.bottom)
                                  : TRect(grip.left, grip.top + i, grip.right, grip.top + i + 1);
    FillRect(DC, &stripe, i % 2 == 0 ? shadow : brush);
  }
}

// ---- The mark ----

TRect TdxBarItemControlFlatPainter::CalcMarkBounds(TdxBarControl* BarControl) const {
  if (BarControl->GetDockingStyle() != dsNone)
    return TdxBarItemControlEnhancedPainter::Instance()->CalcMarkBounds(BarControl);
  const TRect area = BarControl->GetCaptionRect();
  TRect r(area.right - area.Height(), area.top, area.right, area.bottom);
  if (BarControl->GetBar()->CanClose()) OffsetRect(&r, -(GetCloseButtonSize().cx + 1), 0);
  if (r.left < area.left) OffsetRect(&r, area.left - r.left, 0);
  return r;
}

void TdxBarItemControlFlatPainter::DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                                const TRect& R) const {
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  switch (BarControl->GetMarkState()) {
  case 2:
    DrawFramedBox(BarControl, DC, nullptr, R);
    return;
  case 1:
    FrameSelected(DC, R);
    FillRect(DC, &inner, BarControl->GetSelectedBrush());
    return;
  default:
    FrameRect(DC, &R, Brush);
    PaintBarBackground(BarControl, DC, inner, Brush);
  }
}

void TdxBarItemControlFlatPainter::DrawMarkChevrons(TdxBarControl* BarControl, HDC DC, const TRect& R) const {
  TdxBarItemControlEnhancedPainter::Instance()->DrawMarkChevrons(BarControl, DC, R);
}

// ---- Floating toolbars ----

void TdxBarItemControlFlatPainter::DrawFloatingFrame(TdxBarControl* BarControl, HDC DC, TRect R) const {
  const int clientLeft = R.left + GetFloatingBorderWidth() + GetFloatingFrameSideWidth();
  FrameRect(DC, &R, BarControl->GetBarManager()->GetFlatFrameBrush());
  InflateRect(&R, -1, -1);
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  HBRUSH brush = BarControl->GetToolbarBrush();
  for (InflateRect(&R, -1, -1); R.left < clientLeft && R.Width() > 0 && R.Height() > 0;
       InflateRect(&R, -1, -1))
    FrameRect(DC, &R, brush);
}

void TdxBarItemControlFlatPainter::DrawFloatingCaption(TdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                                       TColor, const TRect& R) const {
  DrawCaptionWithEndMark(this, BarControl, DC, Brush, nullptr, R, [&](const TRect& text) {
    DrawFloatingCaptionText(BarControl, DC, text, R.left + 2);
  });
}

void TdxBarItemControlFlatPainter::DrawFloatingMark(TdxBarControl* BarControl, HDC DC, const TRect& R) const {
  // The column between the mark and the close button takes the caption's
  // colour.
  if (BarControl->GetBar()->CanClose())
    FillRectWithColor(DC, TRect(R.right, R.top, R.right + 1, R.bottom),
                      GetFloatCaptionColor(BarControl, BarControl->GetBarManager()->FormActive));
  if (BarControl->GetMarkState() == 2)
    DrawFramedBox(BarControl, DC, nullptr, R);
  else
    FillCloseButtonBackground(BarControl, DC, BarControl->GetMarkState(), R);
  DrawMarkArrow(BarControl, DC, R);
}

void TdxBarItemControlFlatPainter::DrawFloatingCloseButton(TdxBarControl* BarControl, HDC DC, int State,
                                                           const TRect& R) const {
  FillCloseButtonBackground(BarControl, DC, State, R);
  TRect r = R;
  InflateRect(&r, -3, -4);
  if (r.Width() % 2 != 0) --r.right;
  r.bottom = r.top + r.Width() - 1;
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(GetCaptionGlyphColor(BarControl, State)));
  HGDIOBJ old = SelectObject(DC, pen);
  Line(DC, r.left, r.top, r.right - 1, r.bottom);
  Line(DC, r.left + 1, r.top, r.right, r.bottom);
  Line(DC, r.left, r.bottom - 1, r.right - 1, r.top - 1);
  Line(DC, r.left + 1, r.bottom - 1, r.right, r.top - 1);
  SelectObject(DC, old);
  DeleteObject(pen);
}

void TdxBarItemControlFlatPainter::DrawMDIButton(TdxBarControl* BarControl, HDC DC, int Kind, const TRect& R,
                                                 bool Hot, bool Pressed) const {
  static constexpr UINT kKinds[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  UINT state = kKinds[Kind] | DFCS_FLAT;
  if (!BarControl->IsCaptionButtonEnabled(Kind, MF_GRAYED | MF_DISABLED)) state |= DFCS_INACTIVE;
  // The flat glyph drawn a pixel larger than the picture, so its border
  // falls outside.
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  const int w = inner.Width(), h = inner.Height();
  HDC memory = CreateCompatibleDC(DC);
  HBITMAP picture = CreateCompatibleBitmap(DC, w, h);
  HGDIOBJ old = SelectObject(memory, picture);
  RECT frame{-1, -1, w + 1, h + 1};
  DrawFrameControl(memory, &frame, DFC_CAPTION, state);
  const TdxBarManager* manager = BarControl->GetBarManager();
  if (Hot || Pressed)
    FillRect(DC, &inner,
             Pressed && !Hot ? GetCheckedBrush(manager)
             : Pressed       ? GetCheckedSelectedBrush(manager)
                             : GetSelectedBrush(manager));
  else
    BarControl->DrawBackground(DC, R, true, clNone, BarControl->GetToolbarBrush());
  TransparentBlt(DC, inner.left, inner.top, w, h, memory, 0, 0, w, h, GetPixel(memory, 0, h - 1));
  SelectObject(memory, old);
  DeleteObject(picture);
  DeleteDC(memory);
  if (Hot || Pressed) FrameSelected(DC, R);
}

// ---- Menu lines ----

namespace {

// The brushes of a flat menu line that is not selected: its outline over
// the glyph column and over the rest (with their FillBackground flags), and
// the strip between the glyph and the text.
struct TFlatMenuLine {
  HBRUSH Column;
  bool ColumnFlag;
  HBRUSH Rest;
  bool RestFlag;
  HBRUSH Strip;
};

void DrawFlatMenuLine(const TdxBarItemControlFlatPainter* Painter, const TdxBarItemControl* Control, HDC DC,
                      const TRect& R, bool Down, bool GlyphShown, bool Selected, const TFlatMenuLine& Line) {
  TCustomdxBarControl* barControl = Control->GetBarControl();
  const int column = R.left + R.Height() + 1;
  if (Selected)
    Painter->FrameSelected(DC, R);
  else {
    for (const TRect& r :
         {TRect(R.left, R.top, column, R.top + 1), TRect(R.left, R.bottom - 1, column, R.bottom),
          TRect(R.left, R.top, R.left + 1, R.bottom)})
      Painter->FillBackground(Control, DC, Line.ColumnFlag, Line.Column, r);
    for (const TRect& r :
         {TRect(column, R.top, R.right, R.top + 1), TRect(column, R.bottom - 1, R.right, R.bottom),
          TRect(R.right - 1, R.top, R.right, R.bottom)})
      Painter->FillBackground(Control, DC, Line.RestFlag, Line.Rest, r);
  }
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  const TRect glyph(inner.left, inner.top, inner.left + inner.Height(), inner.bottom);
  Painter->DrawGlyphArea(Control, glyph, nullptr, 1, !(Control->HasImage() && GlyphShown), Selected, Down,
                         false, true, false);
  const bool flag = Selected || Control->NonRecent;
  const TRect strip(glyph.right, inner.top, glyph.right + 2, inner.bottom);
  Painter->FillBackground(Control, DC, flag, Selected ? barControl->GetSelectedBrush() : Line.Strip, strip);
  TRect text(strip.right, inner.top, inner.right, inner.bottom);
  Painter->FillBackground(Control, DC, flag,
                          Selected ? barControl->GetSelectedBrush() : barControl->BackgroundBrush, text);
  text.left += 8;
  Control->DrawCaption(DC, Control->GetCaption(), text, 0, Control->GetEnabled(), Selected, false, false,
                       true);
}

} // namespace

void TdxBarItemControlFlatPainter::DrawMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R,
                                                bool Down, bool GlyphShown, bool Selected) const {
  HBRUSH bar = Control->GetBarManager()->GetFlatToolbarBrush();
  const bool nonRecent = Control->NonRecent;
  DrawFlatMenuLine(this, Control, DC, R, Down, GlyphShown, Selected,
                   {bar, nonRecent, Control->GetBarControl()->BackgroundBrush, nonRecent, bar});
}

void TdxBarItemControlOffice11Painter::DrawMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R,
                                                    bool Down, bool GlyphShown, bool Selected) const {
  // The outline shows the window's background, so that the side column's
  // gradient continues.
  HBRUSH background = Control->GetBarControl()->BackgroundBrush;
  DrawFlatMenuLine(this, Control, DC, R, Down, GlyphShown, Selected,
                   {background, false, background, false, background});
}
