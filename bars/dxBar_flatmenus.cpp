// The menus of the flat looks: thin frames, a tinted glyph column, one-line
// separators, a drag caption with a grip; the Office 2003 look adds its
// gradient side column, its colours and the round expand picture.
#include "dxBarPainters.h"

#include "dxBarCommon.h"
#include "dxOffice11.h"

#include "cxEditTextUtils.h"

namespace {

bool InMenu(const TdxBarItemControl* control) {
  return dynamic_cast<const TdxBarSubMenuControl*>(control->GetBarControl()) != nullptr;
}

void Fill(HDC dc, const TRect& r, HBRUSH brush) {
  if (r.left < r.right && r.top < r.bottom) FillRect(dc, &r, brush);
}

} // namespace

// ---- Flat: sub items and metrics ----

int TdxBarItemControlFlatPainter::GetMenuTextOffset(const TdxBarItemControl* Control) const {
  return InMenu(Control) ? Control->GetBarControl()->TextHeight + 3 : 0;
}

int TdxBarItemControlFlatPainter::GetSubMenuArrowSize(const TCustomdxBarControl* BarControl) const {
  const auto* toolbar = dynamic_cast<const TdxBarControl*>(BarControl);
  if (toolbar && toolbar->GetBar()->GetIsMainMenu()) return 8;
  return TdxBarItemControlPainter::GetSubMenuArrowSize(BarControl);
}

int TdxBarItemControlFlatPainter::GetSubItemHeight(TdxBarSubItemControl* Control) const {
  return TdxBarItemControlPainter::GetSubItemHeight(Control) + (InMenu(Control) ? 2 : 0);
}

int TdxBarItemControlFlatPainter::GetSubItemWidth(TdxBarSubItemControl* Control) const {
  return TdxBarItemControlPainter::GetSubItemWidth(Control) + (InMenu(Control) ? 9 : 0);
}

void TdxBarItemControlFlatPainter::DrawSubItem(TdxBarSubItemControl* Control, HDC DC, const TRect& R,
                                               bool Selected, bool Down, int PaintType) const {
  if (InMenu(Control))
    DrawMenuSubItem(Control, DC, R, Selected, Down, true);
  else
    TdxBarItemControlPainter::DrawSubItem(Control, DC, R, Selected, Down, PaintType);
}

void TdxBarItemControlFlatPainter::CalcMenuMetrics(TdxBarSubMenuControl*, int& ItemHeight, int& ArrowWidth,
                                                   int& ExpandHeight, int& GlyphSize) const {
  // The window's row is the height of "0" plus 6.
  const int zero = ItemHeight - 6;
  ++ItemHeight;
  ArrowWidth = ItemHeight / 4 * 3 + 1;
  ExpandHeight = zero - 1;
  const int chevron = GetExpandArrowSize(ExpandHeight);
  if (chevron % 2 != 0) ExpandHeight = 2 * chevron + 4;
  GlyphSize = 20;
}

int TdxBarItemControlFlatPainter::GetDetachCaptionHeight(TdxBarSubMenuControl* Menu) const {
  return Menu->GetDetachTextHeight() + 1;
}

// ---- Flat: menu drawing ----

void TdxBarItemControlFlatPainter::DrawMenuContent(TdxBarSubMenuControl* Menu, HDC DC, int Count,
                                                   HBRUSH Brush) const {
  const int bottom = DrawMenuContentArea(Menu, DC, Count, Brush, 1, false);
  if (!Menu->MarkVisible()) return;
  TRect button = Menu->GetExpandButtonRect();
  PaintBarBackground(Menu, DC, TRect(button.left, bottom, button.right, button.top), Brush);
  Fill(DC, TRect(button.left - 1, button.top, button.left, button.bottom), GetMenuBrush(Menu));
  if (Menu->GetMarkState() == 1) {
    FrameSelected(DC, button);
    Fill(DC, TRect(button.left + 1, button.top + 1, button.right - 1, button.bottom - 1),
         Menu->GetSelectedBrush());
  } else {
    PaintBarBackground(Menu, DC, button, Brush);
  }
  DrawMenuExpandArrows(Menu, DC, button);
}

void TdxBarItemControlFlatPainter::DrawMenuFrame(TdxBarSubMenuControl* Menu, HDC DC, TRect R) const {
  FrameBarControl(Menu, DC, R);
  DrawOwnerJoint(Menu, DC);
  if (!Menu->IsDetachable()) return;
  InflateRect(&R, -1, -1);
  // The top row and the caption's side columns in the window colour: all of
  // the caption area, so that no pixel of it stays unpainted.
  TRect caption(R.left, R.top, R.right, R.top + GetDetachCaptionHeight(Menu));
  FillRect(DC, &caption, GetSysColorBrush(COLOR_WINDOW));
  CalcDetachCaptionRect(caption);
  DrawDetachCaption(Menu, DC, caption);
}

void TdxBarItemControlFlatPainter::DrawMenuBorder(TdxBarSubMenuControl* Menu, HDC DC, HBRUSH Brush,
                                                  TRect R) const {
  FrameRect(DC, &R, GetMenuBrush(Menu));
  Fill(DC, TRect(R.left + 1, R.top + 1, R.left + 2, R.bottom - 1), Brush);
}

void TdxBarItemControlFlatPainter::DrawDetachCaption(TdxBarSubMenuControl* Menu, HDC DC, const TRect& R) const {
  const bool hot = Menu->DetachCaptionHot;
  if (hot) {
    FrameSelected(DC, R);
    Fill(DC, TRect(R.left + 1, R.top + 1, R.right - 1, R.bottom - 1), Menu->GetSelectedBrush());
  } else {
    Fill(DC, R, Menu->GetBarManager()->GetFlatToolbarBrush());
  }
  // A grip 33 pixels wide: every other row, from the first.
  const int middle = (R.left + R.right) / 2;
  HBRUSH grip = GetSysColorBrush(hot ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
  for (int y = R.top + 1; y < R.bottom - 1; y += 2)
    Fill(DC, TRect(middle - 16, y, middle + 17, y + 1), grip);
}

void TdxBarItemControlFlatPainter::DrawMenuSeparator(TdxBarSubMenuControl* Menu, TdxBarItemControl* Control,
                                                     bool, const TRect& R, HDC DC) const {
  const bool ownBands = DrawsNonRecentItself();
  const bool runFirst = Control->NonRecent && Control->NonRecentRun;
  HBRUSH brush = runFirst && !ownBands ? GetMenuBrush(Menu) : Menu->BackgroundBrush;
  const TRect band(R.left, R.top - Menu->GetSeparatorSize(), R.right, R.top);
  Control->SeparatorRect = band;
  const TRect column(band.left, band.top, band.left + GetMenuTextOffset(Control), band.bottom);
  // Where the painter draws the rarely used bands itself its side column
  // shows through.
  FillBackground(Control, DC, !ownBands, GetBarBackgroundBrush(Menu->GetBarManager()), column);
  FillBackground(Control, DC, Control->NonRecent && !runFirst && !ownBands, brush,
                 TRect(column.right, band.top, band.right, band.bottom));
  const int y = band.top + band.Height() / 2;
  Fill(DC, TRect(column.right + Menu->GetBarManager()->GetSeparatorIndent(), y, band.right + 1, y + 1),
       GetSeparatorBrush(Menu));
}

// ---- Office 2003 ----

void TdxBarItemControlOffice11Painter::CalcMenuMetrics(TdxBarSubMenuControl* Menu, int& ItemHeight,
                                                       int& ArrowWidth, int& ExpandHeight, int& GlyphSize) const {
  TdxBarItemControlFlatPainter::CalcMenuMetrics(Menu, ItemHeight, ArrowWidth, ExpandHeight, GlyphSize);
  if (TBitmap* expand = SubMenuExpandBitmap()) ExpandHeight = expand->GetHeight() + 2;
}

int TdxBarItemControlOffice11Painter::GetDetachCaptionHeight(TdxBarSubMenuControl* Menu) const {
  return Menu->GetDetachTextHeight() + 5;
}

HBRUSH TdxBarItemControlOffice11Painter::GetMenuBrush(const TCustomdxBarControl*) const {
  return Office11Brushes.MenuBackgroundBrush;
}

void TdxBarItemControlOffice11Painter::DrawMenuBackgroundBitmap(TdxBarSubMenuControl* Menu, HDC DC, TColor Color,
                                                                HBRUSH Brush, const TRect& Source,
                                                                const TRect& R) const {
  if (TBitmap* picture = Menu->GetSubMenuBackground(); picture && !picture->GetEmpty()) {
    TdxBarItemControlPainter::DrawMenuBackgroundBitmap(Menu, DC, Color, Brush, Source, R);
    return;
  }
  HRGN saved = IntersectClipRectSaving(DC, R);
  const bool nonRecent = Menu->DrawingNonRecent;
  const TColor light = nonRecent ? Office11Colors.NonRecentSideLight : Office11Colors.ToolbarLight;
  const TColor dark = nonRecent ? Office11Colors.NonRecentSideDark : Office11Colors.ToolbarDark;
  const int column = Menu->GetGlyphColumnWidth(), check = column + Menu->GetQuickCheckWidth();
  FillGradientTwoPart(DC, TRect(0, R.top, column, R.bottom), light, true, dark);
  if (check > column) FillRectWithColor(DC, TRect(column, R.top, check, R.bottom), dark);
  Fill(DC, TRect(std::max<int>(check, R.left), R.top, R.right, R.bottom), Brush);
  RestoreClipRegion(DC, saved);
}

void TdxBarItemControlOffice11Painter::DrawMenuFrame(TdxBarSubMenuControl* Menu, HDC DC, TRect R) const {
  FrameRect(DC, &R, Office11Brushes.BarFrameBrush);
  DrawOwnerJoint(Menu, DC);
  if (!Menu->IsDetachable()) return;
  InflateRect(&R, -1, -1);
  HBRUSH menu = Office11Brushes.MenuBackgroundBrush;
  // The frame, its top two rows and bottom row: all of the caption area, so
  // that no pixel beside the caption stays unpainted.
  Fill(DC, TRect(R.left, R.top, R.right, R.top + Menu->GetDetachTextHeight() + 5), menu);
  DrawDetachCaption(Menu, DC, Menu->GetDetachCaptionRect());
}

void TdxBarItemControlOffice11Painter::DrawMenuBorder(TdxBarSubMenuControl* Menu, HDC DC, HBRUSH,
                                                      TRect R) const {
  HBRUSH menu = Office11Brushes.MenuBackgroundBrush;
  TBitmap* picture = Menu->GetSubMenuBackground();
  if ((picture && !picture->GetEmpty()) || Menu->GetBarSize() != 0) {
    FrameRect(DC, &R, menu);
    return;
  }
  Fill(DC, TRect(R.left, R.top, R.right, R.top + 1), menu);
  Fill(DC, TRect(R.right - 1, R.top, R.right, R.bottom), menu);
  Fill(DC, TRect(R.left, R.bottom - 1, R.right, R.bottom), menu);
  FillRectWithColor(DC, TRect(R.left, R.top + 1, R.left + 1, R.bottom - 1), Office11Colors.ToolbarLight);
}

void TdxBarItemControlOffice11Painter::DrawDetachCaption(TdxBarSubMenuControl* Menu, HDC DC,
                                                         const TRect& R) const {
  const bool hot = Menu->DetachCaptionHot;
  if (hot) {
    FrameRectWithBorderBrush(DC, R);
    Fill(DC, TRect(R.left + 1, R.top + 1, R.right - 1, R.bottom - 1), Office11Brushes.SelectedBrush);
  } else {
    Fill(DC, R, Office11Brushes.DetachCaptionBrush);
  }
  const int quarter = (R.Width() + (hot ? 0 : 2)) / 4;
  DrawGripDots(Menu, DC, false, TRect(R.left + quarter, R.top + 2, R.right - quarter, R.bottom - 2));
}

void TdxBarItemControlOffice11Painter::DrawMenuExpandArrows(TdxBarSubMenuControl* Menu, HDC DC,
                                                            const TRect& R) const {
  TBitmap* picture = SubMenuExpandBitmap();
  if (!picture) return;
  TRect r = R;
  InflateRect(&r, -1, -1);
  const int left = (r.left + r.right) / 2 - picture->GetWidth() / 2;
  const TRect glyph(left, r.top, left + picture->GetWidth(), r.bottom);
  TdxGlyphState state;
  state.CopyBackground = true;
  DrawStateGlyph(DC, Menu->BackgroundBrush, glyph, clNone, clNone, state, -1, nullptr, picture, glyph);
}
