// The menu window: layout, placement, painting, scrolling, personalised
// menus, keys and the mouse, and its opening and closing within the active
// chain of bar windows.
#include "dxBarPopup.h"
#include "dxBarSubMenu.h"

#include "dxBarAnimation.h"
#include "dxBarCommon.h"
#include "dxBarStrs.h"

#include "Forms.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kScrollTimer = 1, kSelectionExpandTimer = 2, kHoverExpandTimer = 3;

TPoint MessagePoint(const TMessage& Message) {
  return TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
}

bool IsEmptyRect(const TRect& R) {
  return R.Width() <= 0 || R.Height() <= 0;
}

int TextHeightOf(HFONT Font, const char* Text) { return TextExtentOnScreen(Font, Text).cy; }

} // namespace

// What the animation sees of a menu window.
class TdxBarSubMenuAnimation : public TdxBarAnimatedMenu {
public:
  explicit TdxBarSubMenuAnimation(TdxBarSubMenuControl* AMenu) : FMenu(AMenu) {}
  HWND GetAnimatedHandle() override { return FMenu->GetHandle(); }
  TdxBarManager* GetAnimationManager() const override {
    TdxBarControl* root = GetRootToolbarControl(FMenu);
    return root ? root->GetBarManager() : FMenu->GetBarManager();
  }
  bool HasVisibleLinks() const override {
    return FMenu->GetItemLinks() && FMenu->GetItemLinks()->GetVisibleCount() > 0;
  }
  void NotifyPopup() override { FMenu->NotifyPopup(); }
  void PaintMenuPicture(HDC DC) override {
    FMenu->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT);
  }
  // The band's brush and palette are made afresh after the picture.
  void PictureTaken() override { FMenu->CreateNonRecentBrush(); }
  HPALETTE GetMenuPalette() const override { return FMenu->NonRecentPalette; }
  void AnimationFinished() override { FMenu->Repaint(); }

private:
  TdxBarSubMenuControl* FMenu;
};

void ShowMenuWindow(TdxBarSubMenuControl* Menu) {
  ShowMenuWindow(Menu->FAnimation.get());
}

bool TdxBarSubMenuControl::GetAnimating() const {
  return FAnimation->Animating;
}

void TdxBarSubMenuControl::SetAnimating(bool Value) {
  FAnimation->Animating = Value;
}

bool TdxBarSubMenuControl::GetGrowLeft() const {
  return FAnimation->GrowLeft;
}

bool TdxBarSubMenuControl::GetGrowUp() const {
  return FAnimation->GrowUp;
}

// ---- Roots of the chain ----

TCustomdxBarControl* GetRootBarControl(TCustomdxBarControl* BarControl) {
  TCustomdxBarControl* window = BarControl;
  while (window) {
    TCustomdxBarControl* next = window->ParentBarControl;
    if (!next)
      if (auto* menu = dynamic_cast<TdxBarSubMenuControl*>(window)) {
        if (menu->SubItemControl)
          next = menu->SubItemControl->GetBarControl();
        else if (menu->OwnerControl)
          next = menu->OwnerControl->GetBarControl();
      }
    if (!next || !IsBarControlAlive(next) || next->GetDestroying()) break;
    window = next;
  }
  return window;
}

TdxBarControl* GetRootToolbarControl(TCustomdxBarControl* BarControl) {
  return dynamic_cast<TdxBarControl*>(GetRootBarControl(BarControl));
}

TCustomdxBarControl* TdxBarItemLinks::CreateBarControl() {
  if (auto* bar = dynamic_cast<TdxBar*>(FOwner)) return new TdxBarControl(FBarManager, bar);
  auto* menu = new TdxBarSubMenuControl(FBarManager);
  menu->SetItemLinks(this);
  return menu;
}

// ---- Creation and destruction ----

TdxBarSubMenuControl::TdxBarSubMenuControl(TdxBarManager* AOwner)
    : TCustomdxBarControl(AOwner), FAnimation(std::make_unique<TdxBarSubMenuAnimation>(this)) {
  SetWidth(0);
}

TdxBarSubMenuControl::~TdxBarSubMenuControl() {
  FReleasing = true;
  FAnimation->Destroying = true;
  SetDestroying(true);
  if (auto* child = dynamic_cast<TdxBarSubMenuControl*>(ChildMenu); child && !child->FReleasing)
    child->Release();
  ChildMenu = nullptr;
  DestroyHandle();
  if (ParentBarControl && IsBarControlAlive(ParentBarControl) && ParentBarControl->ChildMenu == this)
    ParentBarControl->ChildMenu = nullptr;
  DeleteNonRecentBrush();
}

void TdxBarSubMenuControl::Release() {
  if (FReleasing) return;
  FReleasing = true;
  delete this;
}

void TdxBarSubMenuControl::CreateParams(TCreateParams& Params) {
  TCustomdxBarControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_TOPMOST;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_SAVEBITS;
  Params.WndParent = OwnerWindow;
  if (!Params.WndParent)
    if (TCustomForm* form = GetBarManager()->GetOwnerForm()) Params.WndParent = form->GetHandle();
}

void TdxBarSubMenuControl::CreateWnd() {
  CreateNonRecentBrush();
  TCustomdxBarControl::CreateWnd();
  RequestedLeft = GetLeft();
  RequestedTop = GetTop();
  SetActive(true);
  UpdateRecentCount();
  TopIndex = -1;
  SetTopIndex(0);
  Place();
  if (GetAnimating())
    StartMenuAnimation(FAnimation.get());
  else
    PlayMenuSound(0);
}

void TdxBarSubMenuControl::DestroyWnd() {
  StopMenuAnimation(FAnimation.get());
  for (int id = kScrollTimer; id <= kHoverExpandTimer; ++id)
    StopTimer(id);
  if (auto* child = dynamic_cast<TdxBarSubMenuControl*>(ChildMenu); child && !child->FReleasing)
    child->Release();
  if (!FExpanding) {
    SetActive(false);
    TdxBarButtonControl* owner = OwnerControl;
    TCustomdxBarControl* window = owner ? owner->GetBarControl() : nullptr;
    if (window && IsBarControlAlive(window) && window->IsControlOfWindow(owner) &&
        window->HandleAllocated()) {
      owner->DropDownClosed();
      owner->Repaint();
      if (owner->IsMousePressedInside()) {
        window->SkipMouseUp = owner->IsMouseOnArrow();
        if (dynamic_cast<TdxBarControl*>(window)) window->Deactivate();
      } else if (!IsBarKeyDown(VK_ESCAPE) && !IsBarKeyDown(VK_LEFT) && !IsBarKeyDown(VK_RIGHT)) {
        window->Deactivate();
      }
    }
  }
  TCustomdxBarControl::DestroyWnd();
  // A window made anew to expand is the same menu, still open.
  if (!FExpanding) NotifyCloseUp();
  DeleteNonRecentBrush();
}

void TdxBarSubMenuControl::CreateNonRecentBrush() {
  DeleteNonRecentBrush();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF color = RGB(std::min(GetRValue(face) + 20, 255), std::min(GetGValue(face) + 20, 255),
                             std::min(GetBValue(face) + 20, 255));
  if (GetBarManager()->ShowRecentItemsFirst() && ScreenBitsPerPixel() <= 8) {
    LOGPALETTE palette{0x300, 1, {{GetRValue(color), GetGValue(color), GetBValue(color), 0}}};
    NonRecentPalette = CreatePalette(&palette);
    NonRecentBrush = CreateSolidBrush(PALETTEINDEX(0));
  } else {
    NonRecentBrush = CreateSolidBrush(color);
  }
}

void TdxBarSubMenuControl::DeleteNonRecentBrush() {
  if (NonRecentBrush) DeleteObject(NonRecentBrush);
  if (NonRecentPalette) DeleteObject(NonRecentPalette);
  NonRecentBrush = nullptr;
  NonRecentPalette = nullptr;
}

// ---- Answers ----

TdxBarMenuOwner* TdxBarSubMenuControl::GetMenuOwner() const {
  return GetItemLinks() ? dynamic_cast<TdxBarMenuOwner*>(GetItemLinks()->GetOwner()) : nullptr;
}

TCustomdxBarSubItem* TdxBarSubMenuControl::GetOwnerSubItem() const {
  return GetItemLinks() ? dynamic_cast<TCustomdxBarSubItem*>(GetItemLinks()->GetOwner()) : nullptr;
}

int TdxBarSubMenuControl::GetBarSize() const {
  if (TdxBarMenuOwner* owner = GetMenuOwner()) return owner->GetMenuBarSize();
  if (TCustomdxBarSubItem* item = GetOwnerSubItem()) return item->GetBarSize();
  return 0;
}

bool TdxBarSubMenuControl::IsDetachable() const {
  TCustomdxBarSubItem* item = SubItemControl ? SubItemControl->GetSubItem() : nullptr;
  return item && item->Detachable;
}

bool TdxBarSubMenuControl::CanDetach() const {
  if (!IsDetachable()) return false;
  TdxBar* bar = SubItemControl->GetSubItem()->GetDetachingBarRef();
  if (!bar) return false;
  TdxBarControl* root = GetRootToolbarControl(const_cast<TdxBarSubMenuControl*>(this));
  return !root || bar->GetBarControl() != root;
}

int TdxBarSubMenuControl::GetDetachCaptionHeight() {
  return GetPainter()->GetDetachCaptionHeight(this);
}

int TdxBarSubMenuControl::GetDetachTextHeight() {
  const int h = TextHeightOf(GetFontHandle(), "Qq") / 2;
  return h % 2 == 0 ? h + 1 : h;
}

TRect TdxBarSubMenuControl::GetDetachCaptionRect() {
  TRect r(0, 0, GetWidth(), GetHeight());
  GetPainter()->CalcDetachCaptionRect(r);
  r.bottom = r.top + GetDetachTextHeight();
  return r;
}

TRect TdxBarSubMenuControl::GetExpandButtonRect() {
  TRect r = GetClientRect();
  const int inset = GetPainter()->GetExpandButtonInset();
  r.left += inset + GetBarSize();
  r.right -= inset;
  r.bottom -= inset;
  r.top = r.bottom - ExpandButtonHeight;
  return r;
}

bool TdxBarSubMenuControl::CanScrollDown() const {
  const TdxBarItemLinks* links = GetItemLinks();
  return links && GetFittingCount() < links->GetShownCount() - TopIndex;
}

int TdxBarSubMenuControl::GetFittingCount() const {
  const TdxBarItemLinks* links = GetItemLinks();
  if (!links) return 0;
  int count = 0;
  for (int i = std::max(TopIndex, 0); i < links->GetShownCount(); ++i, ++count)
    if (links->GetShownLink(i)->ItemRect.bottom == 0) break;
  return count;
}

bool TdxBarSubMenuControl::MarkVisible() const {
  const TdxBarItemLinks* links = GetItemLinks();
  return links && links->GetShownCount() < links->GetVisibleCount();
}

int TdxBarSubMenuControl::GetGlyphColumnWidth() const {
  int width = GetBarSize() + TextHeight + 2;
  GetPainter()->AdjustMenuItemHeight(width);
  return width;
}

int TdxBarSubMenuControl::GetQuickCheckWidth() const {
  if (!IsQuickCustomizationMenu()) return 0;
  int width = TextHeight;
  GetPainter()->AdjustMenuItemHeight(width);
  return width;
}

HBRUSH TdxBarSubMenuControl::GetMenuBrush() const {
  return GetPainter()->GetMenuBrush(this);
}

int TdxBarSubMenuControl::GetMenuBorderSize() const {
  return GetPainter()->GetMenuBorderSize();
}

TBitmap* TdxBarSubMenuControl::GetSubMenuBackground() const {
  // A popup menu's own picture, else the manager's picture of menus.
  TdxBarMenuOwner* owner = GetMenuOwner();
  TBitmap* bitmap = owner ? owner->GetMenuBackground() : nullptr;
  if (!bitmap || bitmap->GetEmpty()) bitmap = GetBarManager()->GetBackgrounds()->GetSubMenu();
  return bitmap && !bitmap->GetEmpty() ? bitmap : nullptr;
}

bool TdxBarSubMenuControl::AcceptsRightButton() const {
  if (!OwnerWidth && !OwnerHeight) return true;
  auto* parent = dynamic_cast<const TdxBarSubMenuControl*>(ParentBarControl);
  return parent && parent->AcceptsRightButton();
}

bool TdxBarSubMenuControl::CanCustomizeItems() const {
  if (TCustomdxBarControl::CanCustomizeItems() || GetMenuOwner()) return true;
  auto* item = dynamic_cast<TdxBarSubItem*>(GetOwnerSubItem());
  return item && item->AllowCustomizing;
}

int TdxBarSubMenuControl::GetSeparatorSize() const {
  return GetPainter()->GetMenuSeparatorSize();
}

HFONT TdxBarSubMenuControl::GetFontHandle() const {
  if (ParentBarControl && IsBarControlAlive(ParentBarControl)) return ParentBarControl->GetFontHandle();
  if (TdxBarMenuOwner* owner = GetMenuOwner(); owner && owner->GetMenuFontHandle())
    return owner->GetMenuFontHandle();
  return TCustomdxBarControl::GetFontHandle();
}

void TdxBarSubMenuControl::UpdateFont() {
  if (ParentBarControl && IsBarControlAlive(ParentBarControl))
    GetFont()->Assign(ParentBarControl->GetFont());
  else if (TdxBarMenuOwner* owner = GetMenuOwner(); owner && owner->GetMenuFont())
    GetFont()->Assign(owner->GetMenuFont());
  else
    GetFont()->Assign(GetBarManager()->GetFont());
}

void TdxBarSubMenuControl::CalcMetrics() {
  TCustomdxBarControl::CalcMetrics();
  GetPainter()->CalcMenuMetrics(this, TextHeight, ArrowWidth, ExpandButtonHeight, MenuGlyphSize);
}

bool TdxBarSubMenuControl::IsShadowVisible() {
  return TCustomdxBarControl::IsShadowVisible() && !GetAnimating();
}

void TdxBarSubMenuControl::NotifyPopup() {
  if (!FExpanding && PopupNotify) PopupNotify(this);
}

void TdxBarSubMenuControl::NotifyCloseUp() {
  if (CloseNotify) CloseNotify(this);
}

// ---- Layout and placement ----

void TdxBarSubMenuControl::UpdateRecentCount() {
  TdxBarItemLinks* links = GetItemLinks();
  if (!links) return;
  if (!GetBarManager()->ShowRecentItemsFirst() || GetShowFullMenus())
    links->SetRecentItemCount(-1);
  else
    links->SetRecentItemCount(links->GetRecentItemCount());
}

void TdxBarSubMenuControl::CalcLayout(SIZE* Size) {
  TdxBarItemLinks* links = GetItemLinks();
  if (!links) return;
  links->ClearItemRects();
  int recentCount = links->GetRecentItemCount();
  if (recentCount < 0) recentCount = links->GetVisibleCount();
  const bool markNonRecent = GetBarManager()->ShowRecentItemsFirst() && GetShowFullMenus();
  int limit = 0;
  TRect area;
  GetPainter()->CalcMenuClientRect(this, Size != nullptr, limit, area);
  const int top = std::max(TopIndex, 0);
  int y = area.top, width = 0;
  bool previousNonRecent = true;
  for (int i = top; i < links->GetShownCount(); ++i) {
    TdxBarItemLink* link = links->GetShownLink(i);
    TdxBarItemControl* control = link->GetControl();
    if (!control) break;
    control->NonRecent = markNonRecent && link->GetRecentIndex() >= recentCount;
    control->NonRecentRun = markNonRecent && (i == top ? IsDetachable() && control->NonRecent
                                                       : control->NonRecent != previousNonRecent);
    previousNonRecent = control->NonRecent;
    if (control->NonRecentRun && GetPainter()->HasNonRecentGroupLine()) ++y;
    if (link->GetBeginGroup() && i != top && !(i == top + 1 && CanScrollUp())) y += GetSeparatorSize();
    const int bottom = y + control->GetLayoutHeight();
    if (bottom > limit) break;
    if (Size) width = std::max(width, control->GetLayoutWidth());
    link->ItemRect = TRect(area.left, y, area.right, bottom);
    y = bottom;
  }
  if (Size) *Size = GetPainter()->CalcMenuSize(this, width, y);
}

void TdxBarSubMenuControl::Place() {
  SIZE size{};
  CalcLayout(&size);
  int w = size.cx, h = size.cy, left = GetLeft(), top = GetTop();
  const TRect work = GetWorkAreaAtPoint(POINT{left, top});
  bool& GrowLeft = FAnimation->GrowLeft;
  bool& GrowUp = FAnimation->GrowUp;
  GrowLeft = GrowUp = false;
  if (left + w > work.right) {
    if (!OwnerWidth) {
      left = work.right - w;
    } else if (left - OwnerWidth - work.left > work.right - left) {
      left = left - OwnerWidth - w;
      GrowLeft = true;
    }
  }
  left = std::max(std::min(left, static_cast<int>(work.right) - w), static_cast<int>(work.left));
  if (top + h > work.bottom) {
    if (OwnerHeight) {
      if (top - OwnerHeight - work.top > work.bottom - top) {
        top = top - OwnerHeight - h;
        GrowUp = true;
      } else {
        h = work.bottom - top;
      }
    } else if (OwnerWidth || top - h < work.top) {
      top = work.bottom - h;
    } else {
      top -= h;
      GrowUp = true;
    }
  }
  if (top < work.top) {
    if (GrowUp && OwnerHeight) {
      h -= work.top - top;
    } else {
      h = std::min(h, static_cast<int>(work.bottom - work.top));
    }
    top = work.top;
  }
  SetBounds(left, top, w, h);
  CalcLayout();
}

void TdxBarSubMenuControl::SetTopIndex(int Value) {
  if (Value == TopIndex) return;
  TopIndex = Value;
  if (!HandleAllocated()) return;
  CalcLayout();
  Invalidate();
}

void TdxBarSubMenuControl::Rebuild() {
  if (FReleasing || GetDestroying() || Rebuilding || !HandleAllocated()) return;
  const bool visible = IsWindowVisible(GetHandle());
  DestroyControls();
  CreateControls();
  UpdateRecentCount();
  if (GetLeft() != RequestedLeft || GetTop() != RequestedTop) {
    ShowWindow(GetHandle(), SW_HIDE);
    SetBounds(RequestedLeft, RequestedTop, GetWidth(), GetHeight());
  }
  Place();
  // Rows removed at the end: the window shows as many as fit, ending with
  // the last.
  if (CanScrollUp() && !CanScrollDown()) {
    while (TopIndex > 0 && !CanScrollDown()) {
      --TopIndex;
      CalcLayout();
    }
    if (CanScrollDown()) {
      ++TopIndex;
      CalcLayout();
    }
  }
  if (visible) ShowMenuWindow(this);
  Invalidate();
}

// ---- Painting ----

void TdxBarSubMenuControl::Paint() {
  if (GetAnimating() || FReleasing || GetDestroying()) return;
  HDC dc = GetCanvas()->GetHandle();
  HBRUSH brush = GetToolbarBrush();
  const TRect client = GetClientRect();
  GetPainter()->DrawMenuBorder(this, dc, brush, client);
  TRect inner = client;
  InflateRect(&inner, -1, -1);
  const TRect side(inner.left, inner.top, inner.left + GetBarSize(), inner.bottom);
  const TRect content(side.right, inner.top, inner.right, inner.bottom);
  try {
    if (GetItemLinks() && GetItemLinks()->GetVisibleCount() > 0) {
      CalcLayout();
      TdxBarItemLinks* links = GetItemLinks();
      const int n = std::max(GetFittingCount(), 1);
      GetPainter()->DrawMenuContent(this, dc, n, brush);
      const int first = TopIndex + (CanScrollUp() ? 1 : 0);
      const int last = TopIndex + n - 1 - (CanScrollDown() ? 1 : 0);
      for (int i = first; i <= last && i < links->GetShownCount(); ++i)
        if (TdxBarItemControl* control = links->GetShownLink(i)->GetControl()) {
          control->LineEnd = false;
          PaintItemControl(control);
        }
      const int lastRow =
          CanScrollDown() && TopIndex + n - 2 >= 0 ? TopIndex + n - 2 : links->GetShownCount() - 1;
      if (lastRow >= 0 && lastRow < links->GetShownCount())
        if (TdxBarItemControl* control = links->GetShownLink(lastRow)->GetControl()) control->LineEnd = true;
    } else {
      DrawBackground(dc, content, true, clNone, brush);
    }
  } catch (...) {
    PaintSideStrip(side);
    throw;
  }
  PaintSideStrip(side);
}

void TdxBarSubMenuControl::PaintSideStrip(const TRect& R) {
  if (IsEmptyRect(R)) return;
  if (GetBarManager()->GetDesigning()) {
    FillVerticalGradient(GetCanvas()->GetHandle(), R, clBlack, clBlue);
  } else if (TdxBarMenuOwner* owner = GetMenuOwner()) {
    owner->PaintMenuBar(GetCanvas(), R);
  } else if (TCustomdxBarSubItem* item = GetOwnerSubItem(); item && item->OnPaintBar) {
    item->OnPaintBar(item, GetCanvas(), R);
  }
}

void TdxBarSubMenuControl::PaintItemControl(TdxBarItemControl* Control) {
  if (FReleasing || GetDestroying() || !Control || !Control->GetLink() ||
      Control->GetLink()->GetControl() != Control)
    return;
  TCustomdxBarControl::PaintItemControl(Control);
  TdxBarItemLink* link = Control->GetLink();
  TRect r;
  GetControlRect(Control, r);
  if (IsEmptyRect(r)) {
    Control->SeparatorRect = TRect();
    return;
  }
  const int index = link->GetShownIndex();
  const bool separator =
      link->GetBeginGroup() && index > TopIndex && !(CanScrollUp() && index == TopIndex + 1);
  if (FPaintingControl) {
    TRect bounds = r;
    if (separator) bounds.top -= GetSeparatorSize();
    if (HandleAllocated()) InvalidateRect(GetHandle(), &bounds, FALSE);
    return;
  }
  HDC dc = GetCanvas()->GetHandle();
  HPALETTE oldPalette = nullptr;
  if (!GetPainter()->DrawsNonRecentItself() && Control->NonRecent) {
    if (NonRecentPalette) {
      oldPalette = SelectPalette(dc, NonRecentPalette, FALSE);
      RealizePalette(dc);
    }
    BackgroundBrush = NonRecentBrush;
  } else {
    GetPainter()->GetMenuItemBrush(this, BackgroundBrush);
  }
  auto restore = [&] {
    if (NonRecentPalette && Control->NonRecent)
      SelectPalette(dc, oldPalette ? oldPalette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)),
                    FALSE);
  };
  try {
    if (separator)
      GetPainter()->DrawMenuSeparator(this, Control, false, r, dc);
    else
      Control->SeparatorRect = TRect();
    GetPainter()->DrawNonRecentBand(this, Control, 0, index, r, dc);
    DrawingNonRecent = Control->NonRecent;
    Control->Paint(r, 1);
    DrawingNonRecent = false;
    DrawCustomizingFrame(Control);
  } catch (...) {
    DrawingNonRecent = false;
    restore();
    throw;
  }
  restore();
}

void TdxBarSubMenuControl::DrawBackground(HDC DC, const TRect& R, bool UseOrigin, TColor Color,
                                          HBRUSH Brush) {
  TRect source = R;
  if (UseOrigin) {
    const TPoint origin = GetBackgroundOrigin();
    OffsetRect(&source, origin.x, origin.y);
  }
  GetPainter()->DrawMenuBackgroundBitmap(this, DC, Color, Brush, source, R);
}

void TdxBarSubMenuControl::PaintNonClient(HDC DC) {
  GetPainter()->DrawMenuFrame(this, DC, TRect(0, 0, GetWidth(), GetHeight()));
}

// ---- The active chain, the selection and the expand button ----

void TdxBarSubMenuControl::SetActive(bool Value) {
  const bool was = GetActive();
  TCustomdxBarControl::SetActive(Value);
  if (Value && !was && HandleAllocated() && GetBarManager()->GetShowFullMenusAfterDelay() &&
      !GetShowFullMenus()) {
    StopExpandTimer();
    StartTimer(kHoverExpandTimer, 4000);
  }
}

void TdxBarSubMenuControl::Deactivate() {
  if (ParentBarControl) {
    TCustomdxBarControl::Deactivate();
    return;
  }
  Release();
  DispatchPaintMessages();
}

void TdxBarSubMenuControl::SetSelectedControl(TdxBarItemControl* Control) {
  if (Control == GetSelectedControl()) return;
  if (GetMarkState() == 0 && HandleAllocated() && GetBarManager()->GetShowFullMenusAfterDelay() &&
      !GetShowFullMenus()) {
    StopExpandTimer();
    StartTimer(kSelectionExpandTimer, 4000);
  }
  TCustomdxBarControl::SetSelectedControl(Control);
  if (Control && IsBarControlAlive(this)) KeepSelectionVisible(Control);
}

void TdxBarSubMenuControl::KeepSelectionVisible(TdxBarItemControl* Control) {
  const int index = Control->GetLink() ? Control->GetLink()->GetShownIndex() : -1;
  if (index < 0 || !HandleAllocated()) return;
  if (CanScrollUp() && index <= TopIndex) {
    SetTopIndex(std::max(index - 1, 0));
    return;
  }
  if (!CanScrollDown() || index < GetFittingCount() + TopIndex - 1) return;
  const int shown = GetItemLinks()->GetShownCount();
  do {
    ++TopIndex;
    CalcLayout();
  } while (TopIndex < shown - 1 && GetFittingCount() + TopIndex - (CanScrollDown() ? 1 : 0) - 1 < index);
  Invalidate();
}

void TdxBarSubMenuControl::SetMarkState(int Value) {
  TdxBarManager* manager = GetBarManager();
  if (IsCustomizing() || !manager->ShowRecentItemsFirst()) return;
  if (Value == GetMarkState()) return;
  SetMarkStateField(Value);
  if (Value == 2) {
    Expand();
  } else if (HandleAllocated()) {
    const TRect r = GetExpandButtonRect();
    InvalidateRect(GetHandle(), &r, FALSE);
  }
  if (manager->GetShowFullMenusAfterDelay()) {
    StopExpandTimer();
    // Where the pointer was for the message being handled: the system's
    // cursor may already be elsewhere.
    const DWORD at = GetMessagePos();
    const TPoint cursor(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at)));
    if (Value == 1 && HandleAllocated() && GetExpandButtonRect().Contains(ScreenToClient(cursor)))
      StartTimer(kHoverExpandTimer, 1000);
  } else if (Value == 1) {
    manager->ShowHint(true, dxBarString(dxSBAR_EXPAND));
  } else {
    manager->ShowHint(false, String());
  }
}

void TdxBarSubMenuControl::Expand() {
  if (!MarkVisible()) return;
  SetShowFullMenus(true);
  SetAnimating(true);
  FExpanding = true;
  try {
    DestroyHandle();
    SetBounds(RequestedLeft, RequestedTop, GetWidth(), GetHeight());
    ShowMenuWindow(this);
  } catch (...) {
    FExpanding = false;
    throw;
  }
  FExpanding = false;
}

// ---- Timers ----

void TdxBarSubMenuControl::StartTimer(int Id, UINT Period) {
  if (!HandleAllocated()) return;
  SetTimer(GetHandle(), Id, Period, nullptr);
  FTimerPeriods[Id] = Period;
  if (Id == kScrollTimer)
    FScrollTimer = Id;
  else
    FExpandTimer = Id;
}

void TdxBarSubMenuControl::StopTimer(int Id) {
  if (HandleAllocated() && FTimerPeriods[Id]) KillTimer(GetHandle(), Id);
  FTimerPeriods[Id] = 0;
  if (Id == kScrollTimer && FScrollTimer) FScrollTimer = 0;
  if (Id == FExpandTimer) FExpandTimer = 0;
}

void TdxBarSubMenuControl::StopExpandTimer() {
  if (FExpandTimer) StopTimer(FExpandTimer);
}

void TdxBarSubMenuControl::Timer(int Id) {
  if (Id == kScrollTimer) {
    POINT cursor;
    GetCursorPos(&cursor);
    const TPoint point = ScreenToClient(cursor);
    const int area = WindowFromPointDeep(cursor) == GetHandle() ? ScrollAreaAt(point) : 0;
    if (area) {
      SetTopIndex(TopIndex + area);
      return;
    }
    StopTimer(kScrollTimer);
    FLastMousePos = POINT{-1, -1};
    SendMessageA(GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
    return;
  }
  StopExpandTimer();
  if (Id == kSelectionExpandTimer && !ChildMenu) SetMarkState(1);
  if (Id == kHoverExpandTimer) SetMarkState(2);
}

// ---- Scrolling ----

// -1 on the up-scroll area, 1 on the down-scroll area, else 0.
int TdxBarSubMenuControl::ScrollAreaAt(POINT ClientPoint) {
  TdxBarItemLinks* links = GetItemLinks();
  if (!links || TopIndex < 0 || TopIndex >= links->GetShownCount()) return 0;
  if (CanScrollUp() && links->GetShownLink(TopIndex)->ItemRect.Contains(ClientPoint)) return -1;
  if (!CanScrollDown()) return 0;
  const int last = TopIndex + GetFittingCount() - 1;
  if (last < TopIndex) return 0;
  TRect r = links->GetShownLink(last)->ItemRect;
  r.bottom = GetClientHeight() - 2 - (MarkVisible() ? TextHeight : 0);
  return r.Contains(ClientPoint) ? 1 : 0;
}

// ---- Messages ----

void TdxBarSubMenuControl::WndProc(TMessage& Message) {
  if (HandleMenuAnimationMessage(FAnimation.get(), Message)) return;
  // Without double clicks the second click is a press of its own.
  if (!ControlStyle.Contains(csDoubleClicks) && Message.Msg == WM_LBUTTONDBLCLK) Message.Msg = WM_LBUTTONDOWN;
  if (!ControlStyle.Contains(csDoubleClicks) && Message.Msg == WM_RBUTTONDBLCLK) Message.Msg = WM_RBUTTONDOWN;
  switch (Message.Msg) {
  case WM_GETDLGCODE:
    Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS;
    return;
  case WM_NCCALCSIZE: {
    RECT* r = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                             : reinterpret_cast<RECT*>(Message.LParam);
    InflateRect(r, -1, -1);
    if (IsDetachable()) r->top += GetDetachCaptionHeight();
    Message.Result = 0;
    return;
  }
  case WM_NCHITTEST:
    if (IsDetachable()) {
      RECT window;
      GetWindowRect(GetHandle(), &window);
      const POINT p{static_cast<short>(LOWORD(Message.LParam)) - window.left,
                    static_cast<short>(HIWORD(Message.LParam)) - window.top};
      if (GetDetachCaptionRect().Contains(p)) {
        Message.Result = HTCLIENT;
        return;
      }
    }
    break;
  case WM_NCPAINT: {
    TCustomdxBarControl::WndProc(Message);
    HDC dc = GetWindowDC(GetHandle());
    PaintNonClient(dc);
    ReleaseDC(GetHandle(), dc);
    return;
  }
  case WM_PRINT:
    TCustomdxBarControl::WndProc(Message);
    if (Message.LParam & PRF_NONCLIENT) PaintNonClient(reinterpret_cast<HDC>(Message.WParam));
    return;
  case WM_TIMER:
    Timer(static_cast<int>(Message.WParam));
    return;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP: {
    if (ActiveBarControl() && !IsInActiveChain()) return;
    TCustomdxBarControl::WndProc(Message);
    if (!IsBarControlAlive(this) || !AcceptsRightButton() || !HandleAllocated()) return;
    // The right button acts as the left one.
    const UINT left = Message.Msg == WM_RBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    Message.Result = SendMessageA(GetHandle(), left, Message.WParam, Message.LParam);
    return;
  }
  }
  TCustomdxBarControl::WndProc(Message);
}

void TdxBarSubMenuControl::WMMouseMove(TMessage& Message) {
  const TPoint point = MessagePoint(Message);
  const TPoint screen = ClientToScreen(point);
  const bool moved = !(screen == TPoint(FLastMousePos));
  if (!moved && GetAnimating()) return;
  if (moved) {
    StopMenuAnimation(FAnimation.get());
    if (!IsBarControlAlive(this)) return;
  }
  // The entry that opened this menu stays selected.
  if (SubItemControl && ParentBarControl && IsBarControlAlive(ParentBarControl) &&
      ParentBarControl->IsControlOfWindow(SubItemControl))
    ParentBarControl->HotTrackControl(SubItemControl);
  if (!IsBarControlAlive(this)) return;
  if (IsDetachable()) UpdateDetachCaptionHot(point);
  if (MarkVisible()) SetMarkState(GetExpandButtonRect().Contains(point) ? 1 : 0);
  if (!IsBarControlAlive(this) || !HandleAllocated()) return;
  if (const int area = ScrollAreaAt(point)) {
    if (!FScrollTimer && moved) {
      FLastMousePos = screen;
      SelectControl(nullptr);
      if (!IsBarControlAlive(this)) return;
      StartTimer(kScrollTimer, 80);
    }
    return;
  }
  if (FScrollTimer) {
    StopTimer(kScrollTimer);
    FLastMousePos = POINT{-1, -1};
  }
  TCustomdxBarControl::WMMouseMove(Message);
}

void TdxBarSubMenuControl::UpdateDetachCaptionHot(POINT ClientPoint) {
  RECT window;
  GetWindowRect(GetHandle(), &window);
  const TPoint origin = ClientToScreen(TPoint(0, 0));
  const POINT p{ClientPoint.x + origin.x - window.left, ClientPoint.y + origin.y - window.top};
  const bool hot = CanDetach() && GetDetachCaptionRect().Contains(p);
  if (hot == DetachCaptionHot) return;
  if (hot) {
    // Ending the tracking deselects the entry.
    StopMouseTracking(GetHandle());
    StartMouseTracking(GetHandle());
  }
  DetachCaptionHot = hot;
  SetCursor(hot ? crSizeAll : crDefault);
  if (hot)
    GetBarManager()->ShowHint(true, dxBarString(dxSBAR_DRAGTOMAKEMENUFLOAT));
  else if (!GetSelectedControl())
    GetBarManager()->ShowHint(false, String());
  HDC dc = GetWindowDC(GetHandle());
  PaintNonClient(dc);
  ReleaseDC(GetHandle(), dc);
}

void TdxBarSubMenuControl::WMMouseLeave(TMessage& Message) {
  DetachCaptionHot = false;
  TCustomdxBarControl::WMMouseLeave(Message);
}

void TdxBarSubMenuControl::WMLButtonDown(TMessage& Message) {
  if (FScrollTimer) return;
  TCustomdxBarControl::WMLButtonDown(Message);
  if (!IsBarControlAlive(this) || SkipMouseUp) return;
  StopMenuAnimation(FAnimation.get());
  if (!IsBarControlAlive(this)) return;
  if (DetachCaptionHot) {
    DetachLoop();
    return;
  }
  if (!MarkVisible() || !GetExpandButtonRect().Contains(MessagePoint(Message))) return;
  if (GetMarkState() != 0) {
    SetMarkState(2);
    return;
  }
  SelectControl(nullptr);
  if (IsBarControlAlive(this)) SetMarkState(1);
}

void TdxBarSubMenuControl::WMKeyDown(TMessage& Message) {
  StopMenuAnimation(FAnimation.get());
  if (!IsBarControlAlive(this)) return;
  const WORD key = static_cast<WORD>(Message.WParam);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0,
             alt = GetKeyState(VK_MENU) < 0;
  TdxBarItemLinks* links = GetItemLinks();
  if (MarkVisible() && GetBarManager()->ShowRecentItemsFirst() && !IsCustomizing()) {
    if (key == VK_DOWN && ctrl) {
      SetMarkState(2);
      return;
    }
    TdxBarItemControl* selected = GetSelectedControl();
    const bool onLast = selected && links->GetShownCount() > 0 &&
                        selected->GetLink() == links->GetShownLink(links->GetShownCount() - 1);
    if (onLast && ((key == VK_DOWN && !ctrl && !shift && !alt) || key == VK_TAB)) {
      SetMarkState(2);
      if (IsBarControlAlive(this) && !MarkVisible()) Perform(WM_KEYDOWN, Message.WParam, Message.LParam);
      return;
    }
  }
  // Up and Down step through the entries; Left and Right are this window's.
  WORD step = key;
  if (key == VK_UP)
    step = VK_LEFT;
  else if (key == VK_DOWN)
    step = VK_RIGHT;
  else if (key == VK_LEFT || key == VK_RIGHT)
    step = 0;
  Message.WParam = step;
  TCustomdxBarControl::WMKeyDown(Message);
  if (!IsBarControlAlive(this) || !ActiveBarControl()) return;
  if (step && !Message.WParam) return; // taken (Alt, F10)
  Message.WParam = key;
  if (DispatchKeyToSelected(key)) return;
  switch (key) {
  case VK_RETURN:
    if (TdxBarItemControl* selected = GetSelectedControl()) selected->Click(false);
    break;
  case VK_ESCAPE:
    if (ParentBarControl && IsBarControlAlive(ParentBarControl) && ParentBarControl->GetSelectedControl()) {
      TCustomdxBarControl* parent = ParentBarControl;
      parent->GetSelectedControl()->Deactivate(true);
      if (auto* toolbar = dynamic_cast<TdxBarControl*>(parent); toolbar && IsBarControlAlive(toolbar))
        toolbar->SetMenuMode(false);
    } else {
      Release();
    }
    break;
  case VK_LEFT:
    GoBack();
    break;
  case VK_RIGHT:
    if (TdxBarControl* root = GetRootToolbarControl(this); root && root->HandleAllocated())
      SendMessageA(root->GetHandle(), WM_KEYDOWN, VK_RIGHT, 0);
    break;
  }
}

void TdxBarSubMenuControl::GoBack() {
  TCustomdxBarControl* back = ParentBarControl;
  if (!back && OwnerControl) back = OwnerControl->GetBarControl();
  if (!back || !IsBarControlAlive(back) || !back->GetSelectedControl()) return;
  if (dynamic_cast<TdxBarSubMenuControl*>(back)) {
    back->GetSelectedControl()->Deactivate(true);
    return;
  }
  TdxBarControl* root = GetRootToolbarControl(this);
  if (!root || !root->HandleAllocated()) return;
  if (root->IsVertical())
    SendMessageA(GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  else
    SendMessageA(root->GetHandle(), WM_KEYDOWN, VK_LEFT, 0);
}

// ---- Detaching ----

namespace {

bool IsEscape(const MSG& Msg) {
  return Msg.wParam == VK_ESCAPE && (Msg.message == WM_KEYDOWN || Msg.message == WM_KEYUP ||
                                     Msg.message == WM_SYSKEYDOWN || Msg.message == WM_SYSKEYUP);
}

} // namespace

// A press on the drag caption pulls the menu off as its detaching bar: once
// the pointer leaves the caption's neighbourhood the menu closes and the bar
// floats under the pointer; coming back, or Esc, puts the menu back and
// hides the bar; releasing the button leaves the bar floating and closes
// every menu. The menu itself goes during the loop, so the loop keeps to
// what outlives it. The manager drags meanwhile: the keyboard hook leaves
// the keys to this loop and the mouse hook keeps the menus.
void TdxBarSubMenuControl::DetachLoop() {
  if (!CanDetach()) return;
  TdxBarSubItemControl* opener = SubItemControl;
  TCustomdxBarControl* parent = ParentBarControl;
  TCustomdxBarSubItem* item = opener->GetSubItem();
  TdxBarManager* manager = GetBarManager();
  const int captionHalf = GetPainter()->GetFloatingCaptionHeight() / 2;
  RECT window;
  GetWindowRect(GetHandle(), &window);
  TRect reference = GetDetachCaptionRect();
  OffsetRect(&reference, window.left, window.top);
  InflateRect(&reference, 15, 15);
  if (item->OnDetaching) item->OnDetaching(item);
  TdxBar* bar = item->GetDetachingBarRef();
  auto openerAlive = [&] { return parent && IsBarControlAlive(parent) && parent->IsControlOfWindow(opener); };
  if (!bar || !openerAlive() || !parent->HandleAllocated()) return;
  const HWND capture = parent->GetHandle();
  SetCapture(capture);
  manager->SetDragging(true);
  bool pulled = false, released = false;
  auto reopen = [&] {
    if (openerAlive()) opener->Activate(true);
  };
  POINT last{INT_MIN, INT_MIN};
  MSG msg;
  while (GetCapture() == capture) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (IsEscape(msg)) {
      reopen();
      break;
    }
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) continue;
    if (msg.message == WM_LBUTTONUP) {
      released = true;
      break;
    }
    if (msg.message != WM_MOUSEMOVE) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    // Where the pointer is now: a move reported for a window that went from
    // under the pointer can carry an older position.
    POINT p;
    GetCursorPos(&p);
    if (p.x == last.x && p.y == last.y) continue;
    last = p;
    if (!pulled) {
      if (reference.Contains(p)) continue;
      pulled = true;
      if (openerAlive()) opener->Deactivate(true);
      if (bar->GetDockingStyle() != dsNone) {
        bar->SetVisible(false);
        bar->SetDockingStyle(dsNone);
      }
      if (!bar->GetVisible()) {
        bar->SetFloatValue(1, p.x - 100);
        bar->SetFloatValue(2, p.y - captionHalf);
        bar->SetVisible(true);
      }
    } else if (reference.Contains(p)) {
      bar->SetVisible(false);
      reopen();
      break;
    }
    // The bar follows with its caption under the pointer.
    if (TdxBarControl* floating = bar->GetBarControl(); floating && floating->HandleAllocated())
      SetWindowPos(floating->GetHandle(), nullptr, p.x - floating->GetWidth() / 2, p.y - captionHalf, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (GetCapture() == capture) ReleaseCapture();
  if (pulled) {
    if (released)
      manager->DeactivateAll();
    else
      bar->SetVisible(false);
  }
  manager->SetDragging(false);
}
