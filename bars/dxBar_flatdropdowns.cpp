// The arrow part of a drop-down button in the flat looks: framed like the
// button beside it and left open to the button's joined frame while its
// menu is open on a toolbar; the XP look draws the style's split-button
// arrow part.
#include "dxBarPainters.h"

#include "dxBarCommon.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

namespace {

constexpr int tpButton = 1;
constexpr int tpSplitButtonDropDown = 4;

// The part on a toolbar reaches one pixel left, over the button's frame;
// while the open menu joins the button, that frame covers the part too.
struct TDropDownPart {
  TRect Rect;
  bool Framed;
  bool Enabled;
};

TDropDownPart PartOf(const TdxBarItemControl* Control, const TRect& R, bool DroppedDown, bool DropDownEnabled,
                     bool HasMenu, int PaintType) {
  TDropDownPart part{R, !(PaintType != 1 && DroppedDown && HasMenu), Control->GetEnabled() && DropDownEnabled};
  if (PaintType != 1) --part.Rect.left;
  return part;
}

// Both flat looks: the part's frame (drawn by the look), its filled inside
// and the arrow.
template <class TFrame>
void DrawFramedDropDownPart(const TdxBarItemControlPainter* Painter, const TdxBarItemControl* Control, HDC DC,
                            const TRect& R, HBRUSH Brush, bool Selected, bool Pressed, bool DroppedDown,
                            bool DropDownEnabled, bool HasMenu, int PaintType, TFrame Frame) {
  const TDropDownPart part = PartOf(Control, R, DroppedDown, DropDownEnabled, HasMenu, PaintType);
  const TRect& r = part.Rect;
  if (part.Framed) {
    Frame(r);
    TRect inner = r;
    InflateRect(&inner, -1, -1);
    Painter->FillBackground(Control, DC, DroppedDown || Pressed || Selected || Control->NonRecent, Brush, inner);
  }
  if (PaintType == 1)
    Painter->DrawArrowTriangle(DC, r, false, Control->GetBarControl()->ArrowWidth, DroppedDown, part.Enabled,
                               true);
  else
    Painter->DrawArrow(DC, r, true, part.Enabled, false, true);
}

} // namespace

void TdxBarItemControlFlatPainter::DrawDropDownPart(const TdxBarItemControl* Control, HDC DC, const TRect& R,
                                                    HBRUSH Brush, int, bool Selected, bool Pressed,
                                                    bool DroppedDown, bool DropDownEnabled, bool HasMenu,
                                                    int PaintType) const {
  DrawFramedDropDownPart(this, Control, DC, R, Brush, Selected, Pressed, DroppedDown, DropDownEnabled, HasMenu,
                         PaintType, [&](const TRect& r) {
                           if (Selected)
                             FrameSelected(DC, r);
                           else if (PaintType == 1)
                             FrameRect(DC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
                           else
                             FrameRect(DC, &r, Control->GetBarControl()->BackgroundBrush);
                         });
}

void TdxBarItemControlOffice11Painter::DrawDropDownPart(const TdxBarItemControl* Control, HDC DC, const TRect& R,
                                                        HBRUSH Brush, int, bool Selected, bool Pressed,
                                                        bool DroppedDown, bool DropDownEnabled, bool HasMenu,
                                                        int PaintType) const {
  DrawFramedDropDownPart(this, Control, DC, R, Brush, Selected, Pressed, DroppedDown, DropDownEnabled, HasMenu,
                         PaintType, [&](const TRect& r) {
                           if (Selected)
                             FrameRectWithBorderBrush(DC, r);
                           else if (PaintType == 1)
                             FrameRect(DC, &r, Office11Brushes.SeparatorDarkBrush);
                           else
                             FrameBackground(Control, DC, false, Brush, r);
                         });
}

void TdxBarItemControlXPPainter::DrawDropDownPart(const TdxBarItemControl* Control, HDC DC, const TRect& R,
                                                  HBRUSH Brush, int, bool Selected, bool Pressed, bool DroppedDown,
                                                  bool DropDownEnabled, bool, int PaintType) const {
  FillBackground(Control, DC, Control->NonRecent, Brush, R);
  const bool enabled = Control->GetEnabled() && DropDownEnabled;
  const int state = !enabled ? 4 : DroppedDown || Pressed ? 3 : Selected ? 2 : 1;
  HTHEME theme = OpenThemeHandle(totToolBar);
  if (PaintType == 1) {
    dxUxTheme::DrawThemeBackground(theme, DC, tpButton, state, &R, nullptr);
    DrawArrowTriangle(DC, R, false, Control->GetBarControl()->ArrowWidth, DroppedDown, enabled, true);
    return;
  }
  dxUxTheme::DrawThemeBackground(theme, DC, tpSplitButtonDropDown, state, &R, nullptr);
}
