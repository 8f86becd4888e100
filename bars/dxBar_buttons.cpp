// The controls of buttons: sizes by paint style, the glyph box, the caption
// and the execution of checked buttons.
#include "dxBar.h"

#include "dxBarCommon.h"

TdxBarButton* TdxBarButtonControl::GetButton() const {
  return dynamic_cast<TdxBarButton*>(GetItem());
}

TdxBarButtonStyle TdxBarButtonControl::GetButtonStyle() const {
  return GetButton() ? GetButton()->GetButtonStyle() : bsDefault;
}

bool TdxBarButtonControl::GetDown() const {
  return GetButton() && GetButton()->GetDown();
}

bool TdxBarButtonControl::GetLowered() const {
  return GetButton() && GetButton()->GetLowered();
}

TdxBarPaintStyle TdxBarButtonControl::GetPaintStyle() const {
  const TdxBarPaintStyle style = GetLink() ? GetLink()->GetPaintStyle() : psStandard;
  // A button without an image on a toolbar shows its caption.
  if (style == psStandard && IsParentClosable() && !HasImage()) return psCaption;
  return style;
}

int TdxBarButtonControl::GetArrowWidth() const {
  return GetBarManager()->GetArrowWidth();
}

bool TdxBarButtonControl::ShowsCaption() const {
  return GetPaintStyle() == psCaption || GetPaintStyle() == psCaptionGlyph;
}

// The width of a caption without its accelerator marks, in the bar window's font.
static int CaptionTextWidth(TCustomdxBarControl* barControl, const String& caption) {
  HDC dc = barControl->GetCanvas()->GetHandle();
  HGDIOBJ old = SelectObject(dc, barControl->GetFontHandle());
  const String text = RemoveAmpersands(caption);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  return size.cx;
}

int TdxBarButtonControl::CaptionWidth() {
  return CaptionTextWidth(GetBarControl(), GetCaption());
}

int TdxBarButtonControl::GetDefaultHeight() {
  const TdxBarManager* manager = GetBarManager();
  const int row = GetBarControl()->TextHeight;
  int height = manager->GetButtonHeight();
  if (ShowsCaption()) height = std::max(row, ShowsRotatedCaptions() ? manager->GetButtonWidth() : height);
  if (GetLowered()) height += 2 * GetPainter()->GetButtonBorderWidth();
  return height;
}

int TdxBarButtonControl::GetDefaultWidth() {
  const TdxBarManager* manager = GetBarManager();
  int width = manager->GetButtonWidth();
  if (GetPaintStyle() == psCaption)
    width = CaptionWidth() + FontPointSize(GetBarControl()->GetFontHandle());
  else if (GetPaintStyle() == psCaptionGlyph)
    width = CaptionWidth() + 4 +
            (ShowsRotatedCaptions() ? manager->GetButtonHeight() : manager->GetButtonWidth());
  if (GetLowered()) width += 2 * GetPainter()->GetButtonBorderWidth();
  return width;
}

int TdxBarButtonControl::GetHeight() {
  return ShowsRotatedCaptions() && ShowsCaption() ? GetDefaultWidth() : GetDefaultHeight();
}

int TdxBarButtonControl::GetWidth() {
  int width = ShowsRotatedCaptions() && ShowsCaption() ? GetDefaultHeight() : GetDefaultWidth();
  if (IsParentClosable() && GetButtonStyle() == bsDropDown) width += GetArrowWidth();
  return width;
}

void TdxBarButtonControl::Press(bool) {
  if (IsParentClosable() || GetButtonStyle() == bsDropDown) Repaint();
}

void TdxBarButtonControl::Execute(bool ByMouse) {
  if (DroppedDown) return;
  if (GetButtonStyle() == bsChecked && GetButton()) GetButton()->SetDown(!GetButton()->GetDown());
  Deactivate(true);
  TdxBarItemControl::Execute(ByMouse);
}

bool TdxBarButtonControl::DrawSelected() const {
  return (IsSelected() && !GetBarControl()->IsCustomizing()) || GetPressed();
}

bool TdxBarButtonControl::ClosesMenusOnClick() const {
  return IsParentClosable() || !GetButton() || GetButton()->CloseSubMenuOnClick;
}

void TdxBarButtonControl::Paint(const TRect& R, int PaintType) {
  if (R.left == R.right) return;
  HDC dc = GetBarControl()->GetCanvas()->GetHandle();
  TRect outer = R;
  if (GetLowered()) GetPainter()->DrawLoweredBorder(this, dc, outer);
  TRect inner = outer;
  const bool selected = DrawSelected();
  const bool dropDown = GetButtonStyle() == bsDropDown;
  if (dropDown) inner.right -= GetArrowWidth();
  const bool pushed = (selected && GetBarControl()->GetActive() && IsMousePressedInside() && !IsArrowPressed() &&
                       !DroppedDown) ||
                      (GetPressed() && GetButtonStyle() != bsChecked);
  DrawGlyphArea(inner, nullptr, PaintType, GetPaintStyle() == psCaption, selected, GetDown(), pushed, false,
                dropDown);
  if (!ShowsCaption()) return;
  const TdxBarManager* manager = GetBarManager();
  const int offset = GetPaintStyle() == psCaption ? FontPointSize(GetBarControl()->GetFontHandle()) / 2
                     : PaintType == 2             ? manager->GetButtonHeight()
                                                  : manager->GetButtonWidth();
  (PaintType == 2 ? inner.top : inner.left) += offset;
  GetPainter()->OffsetPressedCaption(inner, GetDown(), pushed);
  const bool highlighted = GetPainter()->IsFlatStyle() && (pushed || (GetDown() && DrawSelected()));
  DrawCaption(dc, GetCaption(), inner, 0, GetEnabled(), highlighted, PaintType == 2, false, !highlighted);
  if (dropDown) DrawDropDownButton(dc, outer, selected, PaintType);
}

void TdxBarButtonControl::DrawDropDownButton(HDC DC, const TRect& R, bool Selected, int PaintType) {
  TRect part = R;
  part.left = part.right - GetArrowWidth();
  const bool pressed = IsArrowPressed();
  int textColor = COLOR_BTNTEXT;
  HBRUSH brush = GetBarControl()->BackgroundBrush;
  GetTextColors(PaintType, GetEnabled(), Selected, DroppedDown, textColor, brush);
  TdxBarButton* button = GetButton();
  GetPainter()->DrawDropDownPart(this, DC, part, brush, textColor, Selected, pressed, DroppedDown,
                                 button && button->GetDropDownEnabled(), button && button->GetDropDownMenu(),
                                 PaintType);
}

bool TdxBarButtonControl::IsMouseOnArrow() const {
  if (GetButtonStyle() != bsDropDown || !GetBarControl()->HandleAllocated()) return false;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(GetBarControl()->GetHandle(), &p);
  TRect part = GetLink()->ItemRect;
  part.left = part.right - GetArrowWidth();
  return part.Contains(p);
}

bool TdxBarButtonControl::IsArrowPressed() const {
  return IsMousePressedInside() && IsMouseOnArrow();
}

// ---- Sub items ----

TCustomdxBarSubItem* TdxBarSubItemControl::GetSubItem() const {
  return dynamic_cast<TCustomdxBarSubItem*>(GetItem());
}

TCustomdxBarControl* TdxBarSubItemControl::GetSubMenuControl() const {
  TCustomdxBarSubItem* item = GetSubItem();
  return item ? item->GetItemLinks()->GetBarControl() : nullptr;
}

bool TdxBarSubItemControl::ShowsCaption() const {
  TCustomdxBarSubItem* item = GetSubItem();
  return !item || item->GetShowCaption() || !HasImage();
}

bool TdxBarSubItemControl::ShowsGlyph() const {
  return HasImage() || !ShowsCaption();
}

int TdxBarSubItemControl::CaptionWidth() const {
  return CaptionTextWidth(GetBarControl(), GetCaption());
}

int TdxBarSubItemControl::GetDefaultHeight() {
  return GetPainter()->GetSubItemHeight(this);
}

int TdxBarSubItemControl::GetDefaultWidth() {
  return GetPainter()->GetSubItemWidth(this);
}

int TdxBarSubItemControl::GetHeight() {
  return ShowsRotatedCaptions() ? GetDefaultWidth() : GetDefaultHeight();
}

int TdxBarSubItemControl::GetWidth() {
  return ShowsRotatedCaptions() ? GetDefaultHeight() : GetDefaultWidth();
}

int TdxBarSubItemControl::GetArrowSize() const {
  return GetPainter()->GetSubMenuArrowSize(GetBarControl());
}

bool TdxBarSubItemControl::WantsDblClick() const {
  return !GetBarManager()->GetDesigning();
}

void TdxBarSubItemControl::Paint(const TRect& R, int PaintType) {
  if (R.left == R.right) return;
  GetPainter()->DrawSubItem(this, GetBarControl()->GetCanvas()->GetHandle(), R, DrawSelected(),
                            IsActive() && GetSubMenuControl(), PaintType);
}
