// Quick customization: the drop-down window of a toolbar's mark with the
// links that did not fit and "&Add or Remove Buttons", whose menu shows and
// hides the toolbar's links.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarPainters.h"
#include "dxBarStrs.h"

#include "Forms.h"

namespace {

TdxBarQuickControl* gQuickControl = nullptr;
UINT_PTR gQuickCloseTimer = 0;

void StopQuickCloseTimer() {
  if (gQuickCloseTimer) KillTimer(nullptr, gQuickCloseTimer);
  gQuickCloseTimer = 0;
}

// The window an item control's chain of menus starts from.
TCustomdxBarControl* RootWindowOf(const TdxBarItemControl* Control) {
  TCustomdxBarControl* window = Control->GetBarControl();
  while (window && window->ParentBarControl)
    window = window->ParentBarControl;
  return window;
}

// The selection moved to a control outside the quick window: it closes.
void CALLBACK QuickCloseTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  StopQuickCloseTimer();
  try {
    TdxBarQuickControl* quick = gQuickControl;
    if (!quick) return;
    TdxBarItemControl* selected = quick->GetBarManager()->SelectedItemControl;
    if (selected && RootWindowOf(selected) != quick) quick->GetOwnerToolbar()->SetMarkState(0);
  } catch (...) {
  }
}

// The toolbar link a check entry stands for: its index in the toolbar's
// links is kept in the entry's tag.
TdxBarItemLink* ToolbarLinkOf(const TdxBarItemLink* entry) {
  const TdxBarQuickControl* quick = gQuickControl;
  if (!quick || !entry) return nullptr;
  TdxBarItemLinks* links = quick->GetOwnerToolbar()->GetItemLinks();
  return entry->LinkTag >= 0 && entry->LinkTag < links->GetCount() ? links->GetItem(entry->LinkTag) : nullptr;
}

} // namespace

// ---- The entries ----

TdxBarItemClass TdxBarQuickSubItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarQuickSubItem>("TdxBarQuickSubItem");
}

TdxBarItemClass TdxBarQuickCustItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarQuickCustItem>("TdxBarQuickCustItem");
}

TdxBarItemClass TdxBarQuickCustExtButton::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarQuickCustExtButton>("TdxBarQuickCustExtButton");
}

TdxBarQuickCustItemControl::TdxBarQuickCustItemControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl)
    : TdxBarButtonControl(ALink, ABarControl) {}

String TdxBarQuickCustItemControl::GetCaption() const {
  const TdxBarItemLink* link = ToolbarLinkOf(GetLink());
  return link ? link->GetCaption() : String();
}

TBitmap* TdxBarQuickCustItemControl::GetGlyph() const {
  const TdxBarItemLink* link = ToolbarLinkOf(GetLink());
  return link ? link->GetGlyph() : nullptr;
}

int TdxBarQuickCustItemControl::GetImageIndex() const {
  const TdxBarItemLink* link = ToolbarLinkOf(GetLink());
  return link && link->GetItem() ? link->GetItem()->GetImageIndex() : -1;
}

bool TdxBarQuickCustItemControl::IsChecked() const {
  const TdxBarItemLink* link = ToolbarLinkOf(GetLink());
  return link && link->GetVisible();
}

void TdxBarQuickCustItemControl::Execute(bool ByMouse) {
  TCustomdxBarControl* window = GetBarControl();
  TdxBarButtonControl::Execute(ByMouse);
  if (IsBarControlAlive(window) && window->IsControlOfWindow(this)) Repaint();
}

void TdxBarQuickCustItemControl::Paint(const TRect& R, int PaintType) {
  if (PaintType != 1) return TdxBarButtonControl::Paint(R, PaintType);
  HDC dc = GetBarControl()->GetCanvas()->GetHandle();
  TRect r = R;
  GetPainter()->DrawMenuItem(this, dc, r, IsChecked(), true, DrawSelected());
}

void TdxBarQuickCustItem::Click() {
  TdxBarButton::Click();
}

void TdxBarQuickCustItem::DirectClick() {
  TdxBarButton::DirectClick();
  // The entry that was clicked is the selected control of its menu.
  TCustomdxBarControl* menu = ActiveBarControl();
  TdxBarItemControl* control = menu ? menu->GetSelectedControl() : nullptr;
  TdxBarItemLink* link = control && control->GetItem() == this ? ToolbarLinkOf(control->GetLink()) : nullptr;
  if (link) link->SetVisible(!link->GetVisible());
}

bool TdxBarSubMenuControl::IsQuickCustomizationMenu() const {
  return GetItemLinks() && dynamic_cast<TdxBarQuickSubItem*>(GetItemLinks()->GetOwner());
}

// ---- The window ----

namespace {

TdxBar* MakeQuickBar(TdxBarManager* manager, TdxBarControl* owner) {
  TdxBar* bar = manager->GetBars()->Add();
  bar->AllowQuickCustomizing = false;
  bar->SetHidden(true);
  bar->SetFont(owner->GetBar()->GetFont());
  bar->SetUseOwnFont(owner->GetBar()->GetUseOwnFont());
  bar->ShowMark = false;
  return bar;
}

} // namespace

TdxBarQuickControl::TdxBarQuickControl(TdxBarManager* AOwner, TdxBarControl* AOwnerToolbar)
    : TdxBarControl(AOwner, MakeQuickBar(AOwner, AOwnerToolbar)), FOwnerToolbar(AOwnerToolbar) {
  FreeUnusedTempItems();
  gQuickControl = this;
  FQuickBar = GetBar();
  const TRect mark = AOwnerToolbar->GetMarkRect();
  const TPoint topLeft = AOwnerToolbar->ClientToScreen(TPoint(mark.left, mark.top));
  FOwnerRect = TRect(topLeft.x, topLeft.y, topLeft.x + mark.Width(), topLeft.y + mark.Height());
  TdxBarItemLinks* links = GetItemLinks();
  TdxBarItemLinks* source = AOwnerToolbar->GetItemLinks();
  for (int i = 0; i < source->GetVisibleCount(); ++i) {
    TdxBarItemLink* link = source->GetVisibleLink(i);
    if (link->GetShownIndex() >= 0 && link->GetControl() && !IsRectEmpty(&link->ItemRect)) continue;
    TdxBarItemLink* copy = links->Add();
    copy->Assign(link);
    copy->SourceLink = link;
  }
  TCustomForm* form = AOwner->GetOwnerForm();
  FQuickSubItem = new TdxBarQuickSubItem(form);
  TempItems().push_back(FQuickSubItem);
  FQuickSubItem->SetCaption(dxBarString(dxSBAR_ADDREMOVEBUTTONS));
  FQuickSubItem->SetEnabled(AOwnerToolbar->GetBar()->AllowQuickCustomizing);
  if (FQuickSubItem->GetEnabled()) FQuickSubItem->OnPopup = [this](TObject*) { FillAddRemoveMenu(); };
  TdxBarItemLink* last = links->Add();
  last->SetItem(FQuickSubItem);
  last->SetBeginGroup(true);
}

TdxBarQuickControl::~TdxBarQuickControl() {
  StopQuickCloseTimer();
  if (gQuickControl == this) gQuickControl = nullptr;
  DestroyHandle();
  delete FCheckButton;
  FCheckButton = nullptr;
  // The hidden bar and this window go together; the bar's links stop
  // pointing here first.
  SetItemLinks(nullptr);
  if (FQuickBar) {
    FQuickBar->GetItemLinks()->SetBarControl(nullptr);
    delete FQuickBar;
  }
}

TdxBarQuickControl* QuickControl() {
  return gQuickControl;
}

void TdxBarQuickControl::FillAddRemoveMenu() {
  FreeUnusedTempItems();
  TdxBarItemLinks* menu = FQuickSubItem->GetItemLinks();
  menu->Clear();
  // Each opening makes a new check button: the previous one goes first.
  delete FCheckButton;
  FCheckButton = new TdxBarQuickCustItem(GetBarManager()->GetOwnerForm());
  TdxBarItemLinks* links = FOwnerToolbar->GetItemLinks();
  for (int i = 0; i < links->GetAvailableCount(); ++i) {
    TdxBarItemLink* link = links->GetAvailableLink(i);
    if (link->GetControl() && !link->GetControl()->IsCustomizable()) continue;
    TdxBarItemLink* entry = menu->Add();
    entry->SetItem(FCheckButton);
    entry->LinkTag = link->GetIndex();
  }
  bool reset = false;
  TdxBar* bar = FOwnerToolbar->GetBar();
  if (GetBarManager()->CanResetBars() && bar->CanReset()) {
    auto* button = new TdxBarQuickCustExtButton(nullptr);
    TempItems().push_back(button);
    button->SetCaption(dxBarString(dxSBAR_RESETTOOLBAR));
    button->OnClick = [bar](TObject*) { bar->ResetWithConfirmation(); };
    TdxBarItemLink* entry = menu->Add();
    entry->SetItem(button);
    entry->SetBeginGroup(true);
    reset = true;
  }
  GetBarManager()->AddCustomizeEntry(menu, !reset, TdxBarQuickCustExtButton::ClassInfo());
}

void TdxBarQuickControl::PlaceAt(const TRect& MarkRect) {
  const TdxBarItemControlPainterClass painter = GetPainter();
  HandleNeeded();
  const SIZE client = CalcSizeForWidth(dsNone, 0);
  const int width = client.cx + 2 * painter->GetFloatingBorderWidth() + 2 * painter->GetFloatingFrameSideWidth();
  const int height = client.cy + 2 * painter->GetFloatingBorderHeight() + painter->GetFloatingFrameTopHeight() +
                     painter->GetFloatingFrameBottomHeight();
  const bool vertical = FOwnerToolbar->IsVertical();
  int x, y;
  if (vertical) {
    x = MarkRect.right;
    y = MarkRect.top;
  } else if (FOwnerToolbar->GetDockingStyle() != dsNone || !painter->AlignsQuickControlLeft()) {
    x = MarkRect.right - width;
    y = MarkRect.bottom;
  } else {
    x = MarkRect.left;
    y = MarkRect.bottom;
  }
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoA(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &info);
  const RECT& work = info.rcWork;
  if (vertical) {
    if (x + width > work.right) x = MarkRect.left - width;
    if (y + height > work.bottom) y = work.bottom - height;
    if (y < work.top) y = work.top;
  } else {
    if (x + width > work.right) x = work.right - width;
    if (x < work.left) x = work.left;
    if (y + height > work.bottom) y = MarkRect.top - height;
  }
  SetWindowPos(GetHandle(), HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisible(true);
}

void TdxBarQuickControl::Deactivate() {
  const bool keyboard = GetBarManager()->KeyboardBarControl == this;
  TdxBarControl* owner = FOwnerToolbar;
  TdxBarControl::Deactivate();
  if (!keyboard || !IsBarControlAlive(owner)) return;
  POINT cursor;
  GetCursorPos(&cursor);
  const TRect mark = owner->GetMarkRect();
  const TPoint client = owner->ScreenToClient(TPoint(cursor.x, cursor.y));
  if (GetKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0 && mark.Contains(client))
    owner->SkipMouseUp = true;
  owner->SetMarkState(0);
}

void TdxBarQuickControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_NCHITTEST:
    // The window is neither moved nor sized.
    TdxBarControl::WndProc(Message);
    if (Message.Result != HTCLIENT) Message.Result = HTBORDER;
    return;
  case WM_RBUTTONDOWN:
    DefWindowProcA(GetHandle(), Message.Msg, Message.WParam, Message.LParam);
    return;
  case WM_WINDOWPOSCHANGED: {
    TdxBarControl::WndProc(Message);
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
    if ((pos->flags & SWP_HIDEWINDOW) && !IsDestroying() && IsBarControlAlive(FOwnerToolbar) &&
        FOwnerToolbar->GetMarkState() == 2)
      FOwnerToolbar->SetMarkState(0);
    return;
  }
  }
  TdxBarControl::WndProc(Message);
}

void StartQuickCloseTimer() {
  if (!gQuickCloseTimer) gQuickCloseTimer = SetTimer(nullptr, 0, 200, QuickCloseTimerProc);
}

void QuickControlMouseHook(UINT Msg, POINT Point) {
  TdxBarQuickControl* quick = gQuickControl;
  if (!quick || quick->GetActive()) return;
  const bool button = (Msg >= WM_LBUTTONDOWN && Msg <= WM_MBUTTONDBLCLK) || Msg == WM_MOUSEWHEEL ||
                      (Msg >= WM_NCLBUTTONDOWN && Msg <= WM_NCMBUTTONDBLCLK);
  if (!button) return;
  RECT r;
  if (quick->HandleAllocated() && GetWindowRect(quick->GetHandle(), &r) && PtInRect(&r, Point)) return;
  TdxBarControl* owner = quick->GetOwnerToolbar();
  if (owner->HandleAllocated() && GetWindowRect(owner->GetHandle(), &r) && PtInRect(&r, Point)) {
    // The toolbar's own mark toggles the window itself.
    const TPoint client = owner->ScreenToClient(TPoint(Point.x, Point.y));
    if (owner->GetMarkRect().Contains(client) && Msg != WM_RBUTTONDOWN) return;
  }
  owner->SetMarkState(0);
}

void OpenQuickControl(TdxBarControl* Toolbar) {
  if (gQuickControl) delete gQuickControl;
  auto* quick = new TdxBarQuickControl(Toolbar->GetBarManager(), Toolbar);
  quick->PlaceAt(quick->GetOwnerRect());
}

void CloseQuickControl(TdxBarControl* Toolbar) {
  if (gQuickControl && gQuickControl->GetOwnerToolbar() == Toolbar) delete gQuickControl;
}
