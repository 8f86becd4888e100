// The page control and its tab sheets: page i owns tab i; selecting a tab
// shows its page and showing a page selects its tab.
#include "cxPC.h"
#include "cxPCConsts.h"
#include "cxPCPainters.h"

#include "dxThemeManager.h"
#include "Forms.h"

namespace {

constexpr int kTabPane = 9;

} // namespace

// ---- TcxPageControl ----

TcxPageControl::TcxPageControl(TComponent* AOwner) : TcxCustomTabControl(AOwner) {}

TcxPageControl::~TcxPageControl() {
  for (int i = 0; i < GetPageCount(); ++i) {
    GetPage(i)->FPageControl = nullptr;
    GetPage(i)->FTab = nullptr;
  }
  FPages.Clear();
  FActivePage = nullptr;
}

TcxTabSheet* TcxPageControl::FindNextPage(TcxTabSheet* Current, bool GoForward, bool CheckTabVisible) {
  const int count = GetPageCount();
  if (count == 0) return nullptr;
  const int start = IndexOfPage(Current);
  if (start == -1) return GetPage(GoForward ? 0 : count - 1);
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    if (!CheckTabVisible || GetPage(i)->GetTabVisible()) return GetPage(i);
  } while (i != start);
  return GetPage(start);
}

void TcxPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TcxTabSheet* page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (page && page != FActivePage) SetActivePage(page);
}

void TcxPageControl::InsertPage(TcxTabSheet* Page) {
  FInsertingPage = true;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } clear{FInsertingPage};
  FPages.Add(Page);
  Page->FPageControl = this;
  GetTabs()->Add(Page->GetCaption());
  FInsertingPage = false;
  Page->FTab = GetTabs()->GetTab(GetTabs()->GetCount() - 1);
  UpdateTab(Page);
}

void TcxPageControl::RemovePage(TcxTabSheet* Page) {
  TcxTabSheet* next = FindNextPage(Page, true, !IsDesigning());
  const int index = Page->GetPageIndex();
  Page->FTab = nullptr;
  GetTabs()->Delete(index);
  FPages.Remove(Page);
  Page->FPageControl = nullptr;
  SetActivePage(next == Page ? nullptr : next);
}

void TcxPageControl::MovePage(TcxTabSheet* Page, int NewIndex) {
  const int old = IndexOfPage(Page);
  FPages.Move(old, NewIndex);
  GetTabs()->Move(old, NewIndex);
  Page->FTab = GetTabs()->GetTab(NewIndex);
  UpdateTab(Page);
  ChangeTabIndex(NewIndex);
  // The moved page may land where the selected tab stood: the tab index
  // did not change, so the page is shown here.
  if (FActivePage != Page && GetTabIndex() == NewIndex) SetActivePage(Page);
}

void TcxPageControl::UpdateTab(TcxTabSheet* Page) {
  TcxTab* tab = Page->FTab;
  if (IsLoading() || !tab) return;
  tab->SetCaption(Page->GetCaption());
  tab->SetEnabled(Page->GetEnabled());
  tab->SetImageIndex(Page->FImageIndex);
  tab->SetHighlighted(Page->FHighlighted);
  tab->SetVisible(Page->FTabVisible);
  if (Page == FActivePage) ChangeTabIndex(tab->GetVisible() ? tab->GetIndex() : -1);
}

void TcxPageControl::UpdateAllTabs() {
  for (int i = 0; i < GetPageCount(); ++i)
    UpdateTab(GetPage(i));
}

bool TcxPageControl::CanChangePage(TcxTabSheet* NewPage) {
  bool allow = true;
  if (OnPageChanging && !IsChangeLocked()) OnPageChanging(this, NewPage, allow);
  return allow;
}

bool TcxPageControl::CanChange(int NewIndex) {
  if (!TcxCustomTabControl::CanChange(NewIndex)) return false;
  return NewIndex == -1 || CanChangePage(GetPage(NewIndex));
}

void TcxPageControl::PageChanged() {
  if (OnChange && !IsChangeLocked()) OnChange(this);
}

void TcxPageControl::Change() {
  LockChanges(true);
  try {
    if (GetTabIndex() != -1) UpdateActivePage();
  } catch (...) {
    LockChanges(false);
    throw;
  }
  LockChanges(false);
  TcxCustomTabControl::Change();
}

void TcxPageControl::UpdateActivePage() {
  SetActivePage(GetTabIndex() == -1 ? nullptr : GetPage(GetTabIndex()));
}

void TcxPageControl::ChangeActivePage(TcxTabSheet* Page) {
  if (Page == FActivePage || !CanChangePage(Page)) return;
  TCustomForm* form = GetParentForm(this);
  if (form && FActivePage && FActivePage->ContainsControl(form->GetActiveControl())) {
    if (FActivePage->CanFocus()) form->SetActiveControl(FActivePage);
    if (form->GetActiveControl() != FActivePage) {
      LockChanges(true);
      ChangeTabIndex(FActivePage->GetTabVisible() ? FActivePage->GetPageIndex() : -1);
      LockChanges(false);
      return;
    }
  }
  if (Page) {
    Page->BringToFront();
    Page->SetVisible(true);
    if (form && FActivePage && form->GetActiveControl() == FActivePage)
      form->SetActiveControl(Page->CanFocus() ? static_cast<TWinControl*>(Page) : this);
  }
  if (FActivePage) FActivePage->SetVisible(false);
  FActivePage = Page;
  PageChanged();
  if (form && FActivePage && form->GetActiveControl() == FActivePage) FActivePage->SelectFirst();
}

void TcxPageControl::SetActivePage(TcxTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  ChangeActivePage(Page);
  if (Page != FActivePage) return;
  LockChanges(true);
  ChangeTabIndex(!Page || !Page->GetTabVisible() ? -1 : Page->GetPageIndex());
  LockChanges(false);
}

void TcxPageControl::SetActivePageIndex(int Index) {
  SetActivePage(Index >= 0 && Index < GetPageCount() ? GetPage(Index) : nullptr);
}

void TcxPageControl::ImagesChanged() {
  if (!FInsertingPage)
    for (int i = 0; i < GetPageCount(); ++i)
      if (GetPage(i)->FTab) GetPage(i)->FTab->SetImageIndex(GetPage(i)->FImageIndex);
  TcxCustomTabControl::ImagesChanged();
}

void TcxPageControl::Loaded() {
  TcxCustomTabControl::Loaded();
  for (int i = 0; i < GetPageCount(); ++i)
    GetPage(i)->SetAlign(alClient);
  UpdateAllTabs();
  if (FActivePage && !FActivePage->GetEnabled()) SetActivePage(nullptr);
}

bool TcxPageControl::CanFocus() {
  return Focusable && TcxCustomTabControl::CanFocus();
}

bool TcxPageControl::CanFocusOnClick() {
  return TcxCustomTabControl::CanFocusOnClick() && Focusable;
}

void TcxPageControl::ShowControl(TControl* AControl) {
  auto* page = dynamic_cast<TcxTabSheet*>(AControl);
  if (page && page->FPageControl == this) SetActivePage(page);
  TcxCustomTabControl::ShowControl(AControl);
}

// ---- Docking ----

void TcxPageControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CM_DOCKCLIENT:
    return CMDockClient(Message);
  case CM_UNDOCKCLIENT:
    return CMUnDockClient(Message);
  case CM_DOCKNOTIFICATION:
    CMDockNotification(Message);
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    TcxCustomTabControl::WndProc(Message);
    TControl* client = DockClientAt(
        TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))));
    if (!client) return;
    if (Message.Msg == WM_LBUTTONDOWN)
      client->BeginDrag(false);
    else
      client->ManualDock(nullptr);
    return;
  }
  }
  TcxCustomTabControl::WndProc(Message);
}

TcxTabSheet* TcxPageControl::PageForDockClient(TControl* Client) {
  if (!Client || Client->GetHostDockSite() != this) return nullptr;
  auto* page = dynamic_cast<TcxTabSheet*>(Client->GetParent());
  return page && page->FPageControl == this ? page : nullptr;
}

TControl* TcxPageControl::DockClientAt(const TPoint& P) {
  if (!GetDockSite()) return nullptr;
  const int v = TabAtPoint(P.x, P.y);
  if (v == -1) return nullptr;
  TcxTabSheet* page = GetPage(GetVisibleTabList()->GetTab(v)->GetIndex());
  if (page->GetControlCount() == 0) return nullptr;
  TControl* client = page->GetControl(0);
  return client->GetHostDockSite() == this ? client : nullptr;
}

void TcxPageControl::CMDockClient(TMessage& Message) {
  auto* dock = reinterpret_cast<TCMDockClient*>(Message.LParam);
  TControl* client = dock->DockSource->GetControl();
  Message.Result = 0;
  auto* sheet = new TcxTabSheet(this);
  FNewDockSheet = sheet;
  bool visible;
  try {
    if (auto* form = dynamic_cast<TCustomForm*>(client)) sheet->SetCaption(form->GetCaption());
    sheet->SetPageControl(this);
    client->Dock(this, dock->DockSource->DockRect);
    visible = client->GetVisible();
  } catch (...) {
    FNewDockSheet = nullptr;
    delete sheet;
    throw;
  }
  FNewDockSheet = nullptr;
  sheet->SetTabVisible(visible);
  if (visible) SetActivePage(sheet);
  client->SetAlign(alClient);
}

void TcxPageControl::DoAddDockClient(TControl* Client, const TRect& ARect) {
  if (FNewDockSheet) return Client->SetParent(FNewDockSheet);
  TcxCustomTabControl::DoAddDockClient(Client, ARect);
}

void TcxPageControl::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) {
  RECT r;
  GetWindowRect(GetHandle(), &r);
  Source->DockRect = r;
  TcxCustomTabControl::DockOver(Source, X, Y, State, Accept);
}

void TcxPageControl::GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) {
  CanDock = !PageForDockClient(Client);
  TcxCustomTabControl::GetSiteInfo(Client, InfluenceRect, MousePos, CanDock);
}

void TcxPageControl::CMUnDockClient(TMessage& Message) {
  auto* undock = reinterpret_cast<TCMUnDockClient*>(Message.LParam);
  Message.Result = 0;
  TcxTabSheet* page = PageForDockClient(undock->Client);
  if (!page) return;
  FUndockingSheet = page;
  undock->Client->SetAlign(alNone);
}

void TcxPageControl::DoRemoveDockClient(TControl*) {
  if (!FUndockingSheet || IsDestroying()) return;
  SelectNextPage(true, true);
  TcxTabSheet* sheet = FUndockingSheet;
  FUndockingSheet = nullptr;
  delete sheet;
}

void TcxPageControl::CMDockNotification(TMessage& Message) {
  TcxTabSheet* page = PageForDockClient(reinterpret_cast<TControl*>(Message.WParam));
  if (!page) return;
  auto* rec = reinterpret_cast<TDockNotifyRec*>(Message.LParam);
  if (rec->ClientMsg == WM_SETTEXT) {
    const String text = reinterpret_cast<const char*>(rec->MsgLParam);
    page->SetCaption(text.substr(0, text.find_first_of("\r\n")));
  } else if (rec->ClientMsg == CM_VISIBLECHANGED) {
    page->SetTabVisible(rec->MsgWParam != 0);
  }
}

// ---- TcxTabSheet ----

TcxTabSheet::TcxTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  SetAlign(alClient);
  ControlStyle = ControlStyle + TControlStyle{csAcceptsControls, csNoDesignVisible};
  SetVisible(false);
  SetTabStop(false);
}

TcxTabSheet::~TcxTabSheet() {
  if (!FPageControl) return;
  if (FPageControl->FUndockingSheet == this) FPageControl->FUndockingSheet = nullptr;
  FPageControl->RemovePage(this);
}

void TcxTabSheet::SetPageControl(TcxPageControl* Value) {
  if (Value == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  SetParent(Value);
  if (!Value) return;
  Value->InsertPage(this);
  if (!Value->IsLoading() && !Value->GetActivePage()) Value->SetActivePage(this);
}

int TcxTabSheet::GetPageIndex() const {
  return FPageControl ? FPageControl->IndexOfPage(this) : -1;
}

void TcxTabSheet::SetPageIndex(int Value) {
  if (!FPageControl) return;
  const int last = FPageControl->GetPageCount() - 1;
  if (Value > last) throw EListError(Format(cxPCResString(scxPCPageIndexError), Value, last));
  FPageControl->MovePage(this, Value);
}

void TcxTabSheet::SetHighlighted(bool Value) {
  if (Value == FHighlighted) return;
  FHighlighted = Value;
  UpdateTab();
}

void TcxTabSheet::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  UpdateTab();
}

void TcxTabSheet::SetTabVisible(bool Value) {
  if (Value == FTabVisible) return;
  FTabVisible = Value;
  UpdateTab();
}

void TcxTabSheet::UpdateTab() {
  if (FPageControl) FPageControl->UpdateTab(this);
}

void TcxTabSheet::DoHide() {
  if (OnHide) OnHide(this);
}

void TcxTabSheet::DoShow() {
  if (OnShow) OnShow(this);
}

void TcxTabSheet::ShowingChanged() {
  try {
    if (IsShowing())
      DoShow();
    else
      DoHide();
  } catch (...) {
    Application->HandleException(this);
  }
}

void TcxTabSheet::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

bool TcxTabSheet::IsNativeBackground() const {
  return FPageControl && FPageControl->GetPainter()->IsNativePainting();
}

// The page control's themed pane, in this sheet's coordinates.
TRect TcxTabSheet::NativePaneRect() {
  TRect r;
  FPageControl->GetPainter()->GetFrameRect(r);
  InflateRect(&r, 2, 2);
  OffsetRect(&r, -GetLeft(), -GetTop());
  return r;
}

void TcxTabSheet::EraseNative(HDC DC) {
  const TRect r = NativePaneRect();
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totTab), DC, kTabPane, 0, &r, nullptr);
}

void TcxTabSheet::PaintNativeBorder() {
  HDC dc = GetWindowDC(GetHandle());
  const int saved = SaveDC(dc);
  RECT window;
  GetWindowRect(GetHandle(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  ExcludeClipRect(dc, BorderWidth, BorderWidth, width - BorderWidth, height - BorderWidth);
  TRect r = NativePaneRect();
  OffsetRect(&r, BorderWidth, BorderWidth);
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totTab), dc, kTabPane, 0, &r, nullptr);
  RestoreDC(dc, saved);
  ReleaseDC(GetHandle(), dc);
}

void TcxTabSheet::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ERASEBKGND:
    if (!IsNativeBackground()) break;
    EraseNative(reinterpret_cast<HDC>(Message.WParam));
    Message.Result = 1;
    return;
  case WM_NCPAINT:
    if (!IsNativeBackground()) break;
    PaintNativeBorder();
    Message.Result = 0;
    return;
  case CM_ENABLEDCHANGED:
    TCustomControl::WndProc(Message);
    EnabledChanged();
    return;
  case CM_TEXTCHANGED:
    TCustomControl::WndProc(Message);
    TextChanged();
    return;
  case CM_SHOWINGCHANGED:
    TCustomControl::WndProc(Message);
    ShowingChanged();
    return;
  case WM_WINDOWPOSCHANGED:
    TCustomControl::WndProc(Message);
    Invalidate();
    return;
  }
  TCustomControl::WndProc(Message);
}
