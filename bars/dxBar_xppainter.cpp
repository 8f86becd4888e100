// The XP painter: buttons, grips, separators, the dock's rebar background,
// the status strip and the caption buttons are parts of the running visual
// style; what the style has no part for is drawn flat. The manager chooses
// it only while every class it uses opens.
#include "dxBarPainters.h"

#include "dxBarCommon.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include "cxEditTextUtils.h"

namespace {

enum {
  tpButton = 1,
  tpSplitButton = 3,
  tpSeparator = 5,
  tpSeparatorVert = 6,
  rpGripper = 1,
  rpGripperVert = 2,
  spGripper = 3,
  wpSmallCloseButton = 19,
  wpMDIMinButton = 16,
  wpMDICloseButton = 20,
  wpMDIRestoreButton = 22,
  cpDropDownButton = 1,
  epEditText = 1,
};
constexpr int tsMin = 0, tsTrue = 1;

void DrawPart(TdxThemedObjectType theme, HDC dc, int part, int state, const TRect& r) {
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(theme), dc, part, state, &r, nullptr);
}

// A part's size measured on the screen; none when the style has no such part.
SIZE PartSize(TdxThemedObjectType theme, int part, int state, int kind = tsTrue, HDC dc = nullptr) {
  SIZE size{0, 0};
  HTHEME handle = OpenThemeHandle(theme);
  if (!handle) return size;
  HDC screen = dc ? dc : GetDC(nullptr);
  if (FAILED(dxUxTheme::GetThemePartSize(handle, screen, part, state, nullptr, kind, &size)))
    size = SIZE{0, 0};
  if (!dc) ReleaseDC(nullptr, screen);
  return size;
}

// The part's content insets on a 100 by 100 rectangle.
TRect ContentInsets(TdxThemedObjectType theme, int part, int state) {
  HTHEME handle = OpenThemeHandle(theme);
  if (!handle) return TRect();
  const RECT bounds{0, 0, 100, 100};
  RECT content = bounds;
  HDC screen = GetDC(nullptr);
  const bool ok =
      SUCCEEDED(dxUxTheme::GetThemeBackgroundContentRect(handle, screen, part, state, &bounds, &content));
  ReleaseDC(nullptr, screen);
  if (!ok) return TRect();
  return TRect(content.left, content.top, 100 - content.right, 100 - content.bottom);
}

} // namespace

TdxBarItemControlPainterClass GetPainterClassOfStyle(TdxBarManagerStyle Style, bool XPThemesAvailable) {
  switch (Style) {
  case bmsStandard:
    return TdxBarItemControlStandardPainter::Instance();
  case bmsFlat:
    return TdxBarItemControlFlatPainter::Instance();
  case bmsOffice11:
    return TdxBarItemControlOffice11Painter::Instance();
  case bmsXP:
    if (XPThemesAvailable) return TdxBarItemControlXPPainter::Instance();
    [[fallthrough]];
  default:
    return TdxBarItemControlEnhancedPainter::Instance();
  }
}

TdxBarItemControlPainterClass TdxBarItemControlXPPainter::Instance() {
  static const TdxBarItemControlXPPainter painter;
  return &painter;
}

int TdxBarItemControlXPPainter::ButtonState(bool Enabled, bool Selected, bool Down, bool Pressed) {
  if (!Enabled) return 4;
  if (Pressed) return 3;
  if (Down) return 5;
  return Selected ? 2 : 1;
}

// ---- Metrics ----

int TdxBarItemControlXPPainter::GetGripWidth() const {
  const SIZE size = PartSize(totRebar, rpGripper, 1);
  return size.cx > 0 ? size.cx : TdxBarItemControlPainter::GetGripWidth();
}

int TdxBarItemControlXPPainter::GetSeparatorSize() const {
  const SIZE size = PartSize(totToolBar, tpSeparator, 1, tsMin);
  return size.cx > 0 ? size.cx : TdxBarItemControlPainter::GetSeparatorSize();
}

int TdxBarItemControlXPPainter::GetButtonVerticalMargin() const {
  const TRect insets = ContentInsets(totToolBar, tpSplitButton, 1);
  return insets.top + insets.bottom;
}

int TdxBarItemControlXPPainter::GetButtonArrowWidth(const TdxBarManager* Manager) const {
  return TdxBarItemControlPainter::GetButtonArrowWidth(Manager) + 3;
}

int TdxBarItemControlXPPainter::GetLargeButtonArrowWidth(const TdxBarManager* Manager) const {
  return TdxBarItemControlPainter::GetLargeButtonArrowWidth(Manager) + 3;
}

int TdxBarItemControlXPPainter::GetComboButtonWidth(int AverageCharWidth) const {
  const SIZE size = PartSize(totComboBox, cpDropDownButton, 1);
  return size.cx > 0 ? size.cx : TdxBarItemControlPainter::GetComboButtonWidth(AverageCharWidth);
}

int TdxBarItemControlXPPainter::GetEditHeightExtra() const {
  const TRect insets = ContentInsets(totEdit, epEditText, 1);
  return insets.left + insets.right + 5;
}

SIZE TdxBarItemControlXPPainter::GetCloseButtonSize() const {
  const SIZE size = PartSize(totWindow, wpSmallCloseButton, 1);
  return size.cx > 0 ? size : TdxBarItemControlPainter::GetCloseButtonSize();
}

SIZE TdxBarItemControlXPPainter::GetSizeGripSize() const {
  const SIZE size = PartSize(totStatus, spGripper, 0);
  return size.cx > 0 ? size : TdxBarItemControlPainter::GetSizeGripSize();
}

// ---- Colours and brushes ----

HBRUSH TdxBarItemControlXPPainter::GetToolbarBrush(const TdxBarManager* Manager) const {
  HBRUSH brush = Manager->GetXPToolbarBrush();
  return brush ? brush : TdxBarItemControlPainter::GetToolbarBrush(Manager);
}

HBRUSH TdxBarItemControlXPPainter::GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType,
                                                      bool NoImage, bool Selected, bool Down, bool) const {
  TCustomdxBarControl* barControl = Control->GetBarControl();
  if (Selected && PaintType == 1 && NoImage && !Down) return barControl->GetSelectedBrush();
  return barControl->BackgroundBrush;
}

TColor TdxBarItemControlXPPainter::GetFadedImageColor(const TdxBarManager*) const {
  return MixColors(GetToolbarThemeFillColor(), clBtnShadow, 70);
}

bool TdxBarItemControlXPPainter::IsMenuBarItem(const TdxBarItemControl* Control) const {
  auto* toolbar = dynamic_cast<const TdxBarControl*>(Control->GetBarControl());
  return toolbar && toolbar->GetBar()->GetIsMainMenu() &&
         dynamic_cast<const TCustomdxBarSubItem*>(Control->GetItem()) != nullptr;
}

bool TdxBarItemControlXPPainter::HasShadow(const TCustomdxBarControl* BarControl) const {
  return BarControl->GetDockingStyle() == dsNone;
}

// ---- Buttons ----

void TdxBarItemControlXPPainter::DrawButtonBorder(const TdxBarItemControl* Control, HDC DC, HBRUSH Brush,
                                                  bool, const TRect& R, int PaintType, bool NoImage,
                                                  bool Selected, bool Down, bool Pressed) const {
  if (PaintType == 1 && NoImage && (Selected || Control->NonRecent) && !Down) {
    FillRect(DC, &R, Brush);
    return;
  }
  FillBackground(Control, DC, false, Brush, R);
  if (PaintType != 1 && IsMenuBarItem(Control) && (Selected || Pressed || Down)) {
    FillRect(DC, &R, GetSysColorBrush(COLOR_HIGHLIGHT));
    return;
  }
  auto* button = dynamic_cast<const TdxBarButtonControl*>(Control);
  const bool split = button && button->GetButtonStyle() == bsDropDown;
  DrawPart(totToolBar, DC, split ? tpSplitButton : tpButton,
           ButtonState(Control->GetEnabled(), Selected, Down, Pressed), R);
}

void TdxBarItemControlXPPainter::DrawGlyph(const TdxBarItemControl* Control, HDC DC, TRect R,
                                           const TRect& GlyphRect, HBRUSH Brush, bool Fits, int,
                                           bool Selected, bool Down, bool Pressed, bool Grey) const {
  if (Fits) InflateRect(&R, -1, -1);
  TdxGlyphState state;
  state.CopyBackground = true;
  state.FlatLook = true;
  DrawControlGlyph(this, Control, DC, R, GlyphRect, Brush, state, Selected, Down, Pressed, Grey);
}

void TdxBarItemControlXPPainter::DrawCheckMark(TCustomdxBarControl* BarControl, HDC DC, int X, int Y,
                                               int Scale, bool Enabled) const {
  TdxBarItemControlFlatPainter::Instance()->DrawCheckMark(BarControl, DC, X, Y, Scale, Enabled);
}

void TdxBarItemControlXPPainter::DrawLoweredBorder(const TdxBarItemControl* Control, HDC DC, TRect& R) const {
  TdxBarItemControlStandardPainter::Instance()->DrawLoweredBorder(Control, DC, R);
}

void TdxBarItemControlXPPainter::OffsetPressedCaption(TRect& R, bool Down, bool Pressed) const {
  if (Down || Pressed) OffsetRect(&R, 1, 1);
}

void TdxBarItemControlXPPainter::OffsetPressedContent(TRect& R, bool Pressed) const {
  if (Pressed) OffsetRect(&R, 1, 1);
}

// ---- Toolbars ----

void TdxBarItemControlXPPainter::DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const {
  InflateRect(&R, -2, -2);
  if (!BarMayDock(BarControl->GetBar())) return;
  const int start = GetGripOffset(), width = GetGripWidth();
  if (BarControl->IsVertical())
    DrawPart(totRebar, DC, rpGripperVert, 1, TRect(R.left, R.top + start, R.right, R.top + start + width));
  else
    DrawPart(totRebar, DC, rpGripper, 1, TRect(R.left + start, R.top, R.left + start + width, R.bottom));
}

void TdxBarItemControlXPPainter::DrawToolbarSeparator(TCustomdxBarControl* BarControl, HDC DC, const TRect& R,
                                                      HBRUSH Brush, bool Horizontal) const {
  PaintBarBackground(BarControl, DC, R, Brush);
  DrawPart(totToolBar, DC, Horizontal ? tpSeparatorVert : tpSeparator, 1, R);
}

TRect TdxBarItemControlXPPainter::CalcMarkBounds(TdxBarControl* BarControl) const {
  return TdxBarItemControlFlatPainter::Instance()->CalcMarkBounds(BarControl);
}

void TdxBarItemControlXPPainter::DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                              const TRect& R) const {
  PaintBarBackground(BarControl, DC, R, Brush);
  TRect r = R;
  if (BarControl->GetBar()->BorderStyle == bbsNone) {
    if (BarControl->IsVertical())
      InflateRect(&r, -2, 0);
    else
      InflateRect(&r, 0, -2);
  }
  DrawPart(totToolBar, DC, tpButton, BarControl->GetMarkState() + 1, r);
}

void TdxBarItemControlXPPainter::DrawMarkChevrons(TdxBarControl* BarControl, HDC DC, const TRect& R) const {
  TdxBarItemControlFlatPainter::Instance()->DrawMarkChevrons(BarControl, DC, R);
}

void TdxBarItemControlXPPainter::DrawResizeGrip(TCustomdxBarControl* BarControl, HDC DC,
                                                const TRect& R) const {
  BarControl->DrawBackground(DC, R, false, clNone, nullptr);
  DrawPart(totStatus, DC, spGripper, 0, R);
}

void TdxBarItemControlXPPainter::DrawBottomBarBackground(TdxBarControl* BarControl, HDC DC, TColor, HBRUSH,
                                                         const TRect& R) const {
  HRGN saved = IntersectClipRectSaving(DC, R);
  DrawPart(totStatus, DC, 0, 0, TRect(0, 0, BarControl->GetClientWidth(), BarControl->GetClientHeight()));
  RestoreClipRegion(DC, saved);
}

void TdxBarItemControlXPPainter::DrawDockControlBackground(TdxDockControl* DockControl, HDC DC,
                                                           const TRect& R, HBRUSH, TColor) const {
  HRGN saved = IntersectClipRectSaving(DC, R);
  const TRect client(0, 0, DockControl->GetClientWidth(), DockControl->GetClientHeight());
  DrawPart(totRebar, DC, 0, 1, client);
  const TdxBarDockingStyle style = DockControl->GetDockingStyle();
  const bool vertical = DockControl->IsVertical();
  const int rows = DockControl->GetRowCount();
  HBRUSH highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT), shadow = GetSysColorBrush(COLOR_BTNSHADOW);
  int pos = 0;
  for (int i = 0; i < rows; ++i) {
    const int thickness = DockControl->GetRowThickness(i);
    const TdxDockRow& row = DockControl->GetRow(i);
    // The row's first bar with a border speaks for it.
    const TdxBar* bar = nullptr;
    for (const TdxDockCol& col : row.Cols)
      if (!bar || (bar->BorderStyle == bbsNone && col.BarControl->GetBar()->BorderStyle != bbsNone))
        bar = col.BarControl->GetBar();
    if (bar && bar->BorderStyle != bbsNone) {
      const bool first = i == 0, last = i == rows - 1;
      const bool leading = !(first && (style == dsTop || style == dsLeft));
      const bool trailing = !(last && (style == dsTop || style == dsBottom || style == dsRight));
      auto line = [&](int at, HBRUSH brush) {
        const TRect r = vertical ? TRect(at, 0, at + 1, client.bottom) : TRect(0, at, client.right, at + 1);
        FillRect(DC, &r, brush);
      };
      if (leading) line(pos, highlight);
      if (trailing) line(pos + thickness - 1, shadow);
    }
    pos += thickness;
  }
  RestoreClipRegion(DC, saved);
}

// ---- Floating toolbars ----

void TdxBarItemControlXPPainter::DrawFloatingFrame(TdxBarControl* BarControl, HDC DC, TRect R) const {
  TdxBarItemControlFlatPainter::Instance()->DrawFloatingFrame(BarControl, DC, R);
}

void TdxBarItemControlXPPainter::DrawFloatingCaption(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, TColor,
                                                     const TRect& R) const {
  const bool active = BarControl->GetBarManager()->FormActive;
  DrawCaptionWithEndMark(
      this, BarControl, DC, Brush, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION), R,
      [&](const TRect& text) { DrawFloatingCaptionText(BarControl, DC, text, R.left + 2); });
}

void TdxBarItemControlXPPainter::DrawFloatingCloseButton(TdxBarControl*, HDC DC, int State,
                                                         const TRect& R) const {
  DrawPart(totWindow, DC, wpSmallCloseButton, State + 1, R);
}

void TdxBarItemControlXPPainter::DrawMDIButton(TdxBarControl* BarControl, HDC DC, int Kind, const TRect& R,
                                               bool Hot, bool Pressed) const {
  static constexpr int kParts[] = {wpMDIMinButton, wpMDIRestoreButton, wpMDICloseButton};
  FillRect(DC, &R, BarControl->GetToolbarBrush());
  const int state = !BarControl->IsCaptionButtonEnabled(Kind, MF_GRAYED | MF_DISABLED) ? 4
                    : Hot && Pressed                                                  ? 3
                    : Hot                                                             ? 2
                                                                                      : 1;
  DrawPart(totWindow, DC, kParts[Kind], state, R);
}

// ---- Menu lines: the classic line's layout ----

void TdxBarItemControlXPPainter::DrawMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R,
                                              bool Down, bool GlyphShown, bool Selected) const {
  DrawClassicMenuItem(Control, DC, R, Down, GlyphShown, Selected);
}

// ---- Menus ----

int TdxBarItemControlXPPainter::GetMenuSeparatorSize() const {
  return PartSize(totToolBar, tpSeparatorVert, 1).cy;
}

int TdxBarItemControlXPPainter::GetDetachCaptionHeight(TdxBarSubMenuControl* Menu) const {
  return Menu->GetDetachTextHeight() + 1;
}

void TdxBarItemControlXPPainter::DrawMenuFrame(TdxBarSubMenuControl* Menu, HDC DC, TRect R) const {
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  if (!Menu->IsDetachable()) return;
  InflateRect(&R, -1, -1);
  // Filled, not only framed, so that no pixel around the caption stays
  // unpainted.
  TRect caption(R.left, R.top, R.right, R.top + GetDetachCaptionHeight(Menu) + 1);
  FillRect(DC, &caption, GetMenuBrush(Menu));
  CalcDetachCaptionRect(caption);
  DrawDetachCaption(Menu, DC, caption);
}

void TdxBarItemControlXPPainter::DrawMenuBorder(TdxBarSubMenuControl* Menu, HDC DC, HBRUSH, TRect R) const {
  FrameRect(DC, &R, GetMenuBrush(Menu));
}

void TdxBarItemControlXPPainter::DrawMenuSeparator(TdxBarSubMenuControl* Menu, TdxBarItemControl* Control, bool,
                                                   const TRect& R, HDC DC) const {
  const TRect band(R.left, R.top - Menu->GetSeparatorSize(), R.right, R.top);
  Control->SeparatorRect = band;
  FillBackground(Control, DC, Control->NonRecent && !Control->NonRecentRun, Menu->BackgroundBrush, band);
  DrawPart(totToolBar, DC, tpSeparatorVert, 1, band);
}
