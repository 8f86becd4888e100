// The controls of buttons: sizes by paint style, the glyph box, the caption
// and the execution of checked buttons.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarPopup.h"
#include "dxBarSubMenu.h"

#include "ActnList.h"

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
  return IsParentClosable() ? GetBarManager()->GetArrowWidth() : GetBarControl()->ArrowWidth;
}

bool TdxBarButtonControl::ShowsCaption() const {
  return GetPaintStyle() == psCaption || GetPaintStyle() == psCaptionGlyph;
}

// The width of a caption without its accelerator marks, in the bar window's
// font. Measured on the screen: the window's own canvas would make its handle,
// and making it rebuilds the item controls that are being measured.
int CaptionTextWidth(TCustomdxBarControl* barControl, const String& caption) {
  return TextExtentOnScreen(barControl->GetFontHandle(), RemoveAmpersands(caption)).cx;
}

int TdxBarButtonControl::CaptionWidth() {
  return CaptionTextWidth(GetBarControl(), GetCaption());
}

int TdxBarButtonControl::GetDefaultHeight() {
  const TdxBarManager* manager = GetBarManager();
  const int row = GetBarControl()->TextHeight;
  if (!IsParentClosable()) return row + (GetLowered() ? 2 * GetPainter()->GetButtonBorderWidth() : 0);
  int height = manager->GetButtonHeight();
  if (ShowsCaption()) height = std::max(row, ShowsRotatedCaptions() ? manager->GetButtonWidth() : height);
  if (GetLowered()) height += 2 * GetPainter()->GetButtonBorderWidth();
  return height;
}

int TdxBarButtonControl::GetDefaultWidth() {
  const TdxBarManager* manager = GetBarManager();
  if (!IsParentClosable()) {
    // A menu line: caption, glyph column and arrow room, and the shortcut.
    const int row = GetBarControl()->TextHeight;
    int width = CaptionWidth() + 2 * row + 6;
    if (const TShortCut shortCut = GetShortCut())
      width += CaptionTextWidth(GetBarControl(), ShortCutToText(shortCut)) + row - 6;
    if (GetLowered()) width += 2 * GetPainter()->GetButtonBorderWidth();
    return width;
  }
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

void TdxBarButtonControl::Press(bool ByMouse) {
  if (GetButtonStyle() == bsDropDown && IsArrowPressed())
    DropDown(ByMouse);
  else if (IsParentClosable() || GetButtonStyle() == bsDropDown)
    Repaint();
}

void TdxBarButtonControl::Deactivate(bool Immediate) {
  TdxBarItemControl::Deactivate(Immediate);
  if (GetButtonStyle() != bsDropDown || !DroppedDown) return;
  if (TdxBarSubMenuControl* menu = GetDropDownMenuControl()) menu->Release();
}

void TdxBarButtonControl::KeyDown(WORD Key) {
  if (Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) DropDown(false);
}

bool TdxBarButtonControl::WantsKey(WORD Key) const {
  if (TdxBarItemControl::WantsKey(Key)) return true;
  if (GetButtonStyle() != bsDropDown) return false;
  return IsParentClosable() ? Key == VK_UP || Key == VK_DOWN : Key == VK_RIGHT;
}

TdxBarSubMenuControl* TdxBarButtonControl::GetDropDownMenuControl() const {
  auto* menu = GetButton() ? dynamic_cast<TdxBarPopupMenu*>(GetButton()->GetDropDownMenu()) : nullptr;
  return menu ? dynamic_cast<TdxBarSubMenuControl*>(menu->GetItemLinks()->GetBarControl()) : nullptr;
}

void TdxBarButtonControl::DropDown(bool ByMouse) {
  TdxBarButton* button = GetButton();
  if (DroppedDown || !GetEnabled() || !button || !button->GetDropDownEnabled() || !button->GetDropDownMenu())
    return;
  DroppedDown = true;
  if (!IsActive()) Activate(true);
  Repaint();
  TCustomdxBarControl* window = GetBarControl();
  const TRect r = GetLink()->ItemRect;
  auto* toolbar = dynamic_cast<TdxBarControl*>(window);
  TPoint point(r.left, r.bottom);
  if (!toolbar)
    point = TPoint(r.right, r.top - GetPainter()->GetMenuBorderSize());
  else if (toolbar->IsVertical())
    point = TPoint(r.right, r.top);
  point = window->ClientToScreen(point);
  button->DropDown(this, point.x, point.y, ByMouse);
  if (IsBarControlAlive(window) && window->IsControlOfWindow(this) && GetPainter()->RepaintsAfterDropDown())
    Repaint();
}

void TdxBarButton::DropDown(TdxBarItemControl* Control, int X, int Y, bool ByMouse) {
  auto* menu = dynamic_cast<TdxBarPopupMenu*>(FDropDownMenu);
  if (!menu) return;
  TCustomdxBarControl* window = Control->GetBarControl();
  auto* toolbar = dynamic_cast<TdxBarControl*>(window);
  const TRect r = Control->GetLink()->ItemRect;
  TRect ownerRect;
  const bool joined = toolbar && Control->GetPainter()->ConnectsSubMenuToButton();
  if (joined) {
    const TPoint topLeft = window->ClientToScreen(TPoint(r.left, r.top));
    ownerRect = TRect(topLeft.x, topLeft.y, topLeft.x + r.Width(), topLeft.y + r.Height());
  }
  const bool beside = !toolbar || toolbar->IsVertical();
  auto* buttonControl = dynamic_cast<TdxBarButtonControl*>(Control);
  const bool pressedByMouse = buttonControl && buttonControl->PressedByMouse;
  // The menu is this button's drop-down for the one call: it stays open
  // while the window that holds the button goes on.
  const bool oldNonModal = menu->NonModal;
  menu->NonModal = true;
  menu->OwnerBarControl = window;
  auto restore = [menu, oldNonModal] {
    menu->NonModal = oldNonModal;
    menu->OwnerBarControl = nullptr;
  };
  try {
    menu->PopupFromRect(X, Y, joined ? &ownerRect : nullptr, pressedByMouse, beside ? 0 : r.Height(),
                        beside ? r.Width() : 0);
  } catch (...) {
    restore();
    throw;
  }
  restore();
  auto* menuWindow = dynamic_cast<TdxBarSubMenuControl*>(menu->GetItemLinks()->GetBarControl());
  if (!menuWindow) return;
  menuWindow->OwnerControl = buttonControl;
  if (!ByMouse)
    if (TdxBarItemLink* first = menu->GetItemLinks()->FirstSelectable())
      menuWindow->SelectControl(first->GetControl());
  if (!toolbar && IsBarControlAlive(window)) window->ChildMenu = menuWindow;
}

void TdxBarButtonControl::DropDownClosed() {
  if (!DroppedDown) return;
  DroppedDown = false;
  if (TdxBarSubMenuControl* menu = GetDropDownMenuControl(); menu && GetBarControl()->ChildMenu == menu)
    GetBarControl()->ChildMenu = nullptr;
  if (auto* toolbar = dynamic_cast<TdxBarControl*>(GetBarControl())) toolbar->SetMenuMode(false);
}

void TdxBarButtonControl::Execute(bool ByMouse) {
  if (DroppedDown) return;
  if (!IsParentClosable()) PlayMenuSound(1);
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
  if (PaintType == 1) {
    GetPainter()->DrawMenuItem(this, dc, inner, GetDown(),
                               GetPaintStyle() != psCaption && GetPaintStyle() != psCaptionInMenu, selected);
    if (const TShortCut shortCut = GetShortCut()) {
      inner.right -= inner.Height() + 5;
      DrawCaption(dc, ShortCutToText(shortCut), inner, 2, GetEnabled(), selected, false, false,
                  GetPainter()->IsFlatStyle());
    }
    if (dropDown) DrawDropDownButton(dc, outer, selected, PaintType);
    return;
  }
  if (dropDown) inner.right -= GetArrowWidth();
  const bool pushed = (selected && GetBarControl()->GetActive() && IsMousePressedInside() &&
                       !IsArrowPressed() && !DroppedDown) ||
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

// ---- Opening and closing sub-menus ----

namespace {

// The one sub item control waiting for the timer, and whether it is to
// open (else close) its menu when the timer fires.
TdxSubItemTimerState gSubItemTimer;
bool gSubItemOpening = false;

void StopSubItemTimer() {
  if (gSubItemTimer.Timer) KillTimer(nullptr, gSubItemTimer.Timer);
  gSubItemTimer = TdxSubItemTimerState();
}

void CALLBACK SubItemTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  TdxBarSubItemControl* control = gSubItemTimer.Pending;
  const bool opening = gSubItemOpening;
  StopSubItemTimer();
  if (!control) return;
  try {
    if (opening)
      control->Activate(true);
    else
      control->Deactivate(true);
  } catch (...) {
  }
}

void StartSubItemTimer(TdxBarSubItemControl* control, bool opening) {
  StopSubItemTimer();
  gSubItemTimer.Pending = control;
  gSubItemTimer.Period = 400;
  gSubItemTimer.Timer = SetTimer(nullptr, 0, gSubItemTimer.Period, SubItemTimerProc);
  gSubItemOpening = opening;
}

} // namespace

const TdxSubItemTimerState& SubItemTimerState() {
  return gSubItemTimer;
}

TdxBarSubItemControl::~TdxBarSubItemControl() {
  if (gSubItemTimer.Pending == this) StopSubItemTimer();
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetSubMenuControl());
  TdxBarItem* item = GetItem();
  if (menu && menu->SubItemControl == this && item && !item->IsDestroying()) menu->Release();
  TdxBarItemControl::Deactivate(true);
}

void TdxBarSubItemControl::CreateSubMenuControl() {
  if (TCustomdxBarSubItem* item = GetSubItem()) item->GetItemLinks()->CreateBarControl();
}

void TdxBarSubItemControl::Activate(bool Immediate) {
  if (!CanOpenSubMenu()) return;
  TCustomdxBarControl* window = GetBarControl();
  TdxBarManager* manager = GetBarManager();
  if (auto* open = dynamic_cast<TdxBarSubMenuControl*>(GetSubMenuControl())) {
    TdxBarSubItemControl* holder = open->SubItemControl;
    if (!holder || holder == this) {
      if (gSubItemTimer.Pending == this) StopSubItemTimer();
      return;
    }
    holder->Deactivate(true);
    if (!IsBarControlAlive(window) || !window->IsControlOfWindow(this)) return;
  }
  TdxBarItemControl::Activate(Immediate);
  if (!GetEnabled() && !manager->GetDesigning()) return;
  auto* toolbar = dynamic_cast<TdxBarControl*>(window);
  if (toolbar) {
    if (!manager->IsCustomizing() && !toolbar->GetMenuMode()) return;
  } else if (!Immediate && !manager->IsCustomizing()) {
    if (TdxBarSubItemControl* other = gSubItemTimer.Pending) {
      StopSubItemTimer();
      if (other->GetBarControl() != window->ParentBarControl) {
        other->Deactivate(true);
        if (!IsBarControlAlive(window) || !window->IsControlOfWindow(this)) return;
      }
    }
    StartSubItemTimer(this, true);
    return;
  }
  TCustomdxBarSubItem* item = GetSubItem();
  if (item->OnPopup) item->OnPopup(item);
  item->DirectClick();
  if (!IsBarControlAlive(window) || !window->IsControlOfWindow(this)) return;
  CreateSubMenuControl();
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetSubMenuControl());
  if (!menu) return;
  const TRect r = GetLink()->ItemRect;
  if (toolbar && GetPainter()->ConnectsSubMenuToButton()) {
    const TPoint topLeft = window->ClientToScreen(TPoint(r.left, r.top));
    menu->OwnerRect = TRect(topLeft.x, topLeft.y, topLeft.x + r.Width(), topLeft.y + r.Height());
    menu->OwnerBarControl = window;
  }
  TPoint point;
  if (!toolbar) {
    point = TPoint(r.right, r.top - menu->GetMenuBorderSize());
    menu->OwnerWidth = r.Width();
  } else if (toolbar->IsVertical()) {
    point = TPoint(r.right, r.top);
    menu->OwnerWidth = r.Width();
  } else {
    point = TPoint(r.left, r.bottom);
    menu->OwnerHeight = r.Height();
  }
  menu->SubItemControl = this;
  point = window->ClientToScreen(point);
  menu->SetBounds(point.x, point.y, menu->GetWidth(), menu->GetHeight());
  window->ChildMenu = menu;
  menu->ParentBarControl = window;
  if (toolbar) Repaint();
  OpenedByMouse = false;
  menu->SetAnimating(true);
  ShowMenuWindow(menu);
  if (IsBarControlAlive(window) && window->IsControlOfWindow(this) && GetPainter()->RepaintsAfterDropDown())
    Repaint();
}

void TdxBarSubItemControl::Deactivate(bool Immediate) {
  if (!CanOpenSubMenu()) return;
  TCustomdxBarControl* window = GetBarControl();
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetSubMenuControl());
  if (!dynamic_cast<TdxBarControl*>(window) && !Immediate && !gSubItemTimer.Pending && menu &&
      !menu->GetDestroying() && !GetBarManager()->IsCustomizing()) {
    StartSubItemTimer(this, false);
    return;
  }
  if (menu && menu->SubItemControl == this) menu->SubItemControl = nullptr;
  TdxBarItemControl::Deactivate(Immediate);
  if (gSubItemTimer.Pending == this) StopSubItemTimer();
  if (menu) menu->Release();
  if (!IsBarControlAlive(window) || !window->IsControlOfWindow(this)) return;
  if (dynamic_cast<TdxBarControl*>(window)) Repaint();
  TCustomdxBarSubItem* item = GetSubItem();
  if (menu && item && item->OnCloseUp) item->OnCloseUp(item);
}

void TdxBarSubItemControl::Press(bool ByMouse) {
  TCustomdxBarControl* window = GetBarControl();
  if (GetSubMenuControl()) {
    // With the standard style a second press closes the menu.
    if (window->IsCustomizing() || GetBarManager()->GetEffectiveStyle() == bmsStandard) Deactivate(true);
    return;
  }
  Activate(true);
  if (ByMouse || !IsBarControlAlive(window) || !window->IsControlOfWindow(this)) return;
  if (TCustomdxBarControl* menu = GetSubMenuControl())
    if (TdxBarItemLink* first = menu->GetItemLinks()->FirstSelectable())
      menu->SelectControl(first->GetControl());
}

void TdxBarSubItemControl::KeyDown(WORD Key) {
  if (Key == VK_RIGHT) Click(false);
}

bool TdxBarSubItemControl::WantsKey(WORD Key) const {
  return TdxBarItemControl::WantsKey(Key) || (Key == VK_RIGHT && !IsParentClosable());
}
