#include "ComCtrls.h"

#include <algorithm>

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES;
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// ---- Status bar ----

void TStatusPanel::SetText(const String& value) {
  if (value == FText) return;
  FText = value;
  if (FBar) FBar->UpdatePanels();
}

void TStatusPanel::SetWidth(int value) {
  if (value == FWidth) return;
  FWidth = value;
  if (FBar) FBar->UpdatePanels();
}

TStatusPanel* TStatusPanels::Add() {
  FItems.push_back(std::make_unique<TStatusPanel>());
  FItems.back()->FBar = FBar;
  FBar->UpdatePanels();
  return FItems.back().get();
}

void TStatusPanels::Clear() {
  FItems.clear();
  FBar->UpdatePanels();
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
  InitCommonControlsOnce();
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetColor(clBtnFace);
  FHeight = 19;
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, STATUSCLASSNAMEA);
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (SizeGrip) Params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::SetSimplePanel(bool value) {
  FSimplePanel = value;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const String& value) {
  FSimpleText = value;
  UpdatePanels();
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  SendMessageA(FHandle, SB_SIMPLE, FSimplePanel, 0);
  if (FSimplePanel) {
    SendMessageA(FHandle, SB_SETTEXTA, 255, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    return;
  }
  const int count = FPanels->GetCount();
  std::vector<int> rights(static_cast<size_t>(std::max(count, 1)), -1);
  int right = 0;
  for (int i = 0; i < count; ++i) {
    right += FPanels->GetItem(i)->GetWidth();
    // The last panel takes the rest of the bar.
    rights[static_cast<size_t>(i)] = i == count - 1 ? -1 : right;
  }
  SendMessageA(FHandle, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  for (int i = 0; i < count; ++i)
    SendMessageA(FHandle, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(FPanels->GetItem(i)->GetText().c_str()));
}

// ---- Page control ----

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
  SetColor(clBtnFace);
  FVisible = false;
}

TTabSheet::~TTabSheet() {
  SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* value) {
  if (value == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  SetParent(value);
  if (value) value->InsertPage(this);
}

int TTabSheet::GetPageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == FTabVisible) return;
  FTabVisible = value;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::WndProc(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) {
    if (FPageControl) FPageControl->UpdateTabs();
    return;
  }
  TWinControl::WndProc(Message);
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlsOnce();
  ControlStyle = TControlStyle{csDoubleClicks, csOpaque};
  SetTabStop(true);
  FWidth = 289;
  FHeight = 193;
}

TPageControl::~TPageControl() {
  for (TTabSheet* page : std::vector<TTabSheet*>(FPages))
    page->FPageControl = nullptr;
}

void TPageControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TABCONTROLA);
  Params.Style |= WS_CLIPCHILDREN;
}

void TPageControl::CreateWndFinished() {
  UpdateTabs();
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  page->FPageControl = this;
  UpdateTabs();
  if (!FActivePage) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  const int index = page->GetPageIndex();
  FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
  page->FPageControl = nullptr;
  if (page == FActivePage) {
    FActivePage = nullptr;
    if (!FPages.empty()) SetActivePage(FPages[static_cast<size_t>(std::min<int>(index, GetPageCount() - 1))]);
  }
  UpdateTabs();
}

int TPageControl::TabIndexOf(TTabSheet* page) const {
  int tab = 0;
  for (TTabSheet* p : FPages) {
    if (!p->FTabVisible) continue;
    if (p == page) return tab;
    ++tab;
  }
  return -1;
}

void TPageControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
  int tab = 0;
  for (TTabSheet* page : FPages) {
    if (!page->FTabVisible) continue;
    const String caption = page->GetCaption();
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(caption.c_str());
    item.iImage = page->ImageIndex;
    SendMessageA(FHandle, TCM_INSERTITEMA, tab++, reinterpret_cast<LPARAM>(&item));
  }
  if (Images) SendMessageA(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Images->GetHandle()));
  SendMessageA(FHandle, TCM_SETCURSEL, TabIndexOf(FActivePage), 0);
  Realign();
}

void TPageControl::AlignControls(TControl* AControl, TRect& Rect) {
  // Pages fill the display area below the tabs.
  if (HandleAllocated()) {
    RECT r = GetClientRect();
    SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    for (TTabSheet* page : FPages)
      page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  TWinControl::AlignControls(AControl, Rect);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) return;
  if (page == FActivePage) return;
  TTabSheet* old = FActivePage;
  FActivePage = page;
  if (page) {
    page->SetVisible(true);
    page->BringToFront();
  }
  if (old) old->SetVisible(false);
  if (HandleAllocated()) SendMessageA(FHandle, TCM_SETCURSEL, TabIndexOf(page), 0);
}

int TPageControl::GetActivePageIndex() const {
  return FActivePage ? FActivePage->GetPageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int value) {
  SetActivePage(value >= 0 && value < GetPageCount() ? FPages[static_cast<size_t>(value)] : nullptr);
}

void TPageControl::SelectNextPage(bool GoForward) {
  const int count = GetPageCount();
  if (count == 0) return;
  int index = GetActivePageIndex();
  for (int i = 0; i < count; ++i) {
    index = GoForward ? (index + 1) % count : (index - 1 + count) % count;
    if (FPages[static_cast<size_t>(index)]->FTabVisible) break;
  }
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  SetActivePageIndex(index);
  if (OnChange) OnChange(this);
}

void TPageControl::WndProc(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    if (header->code == TCN_SELCHANGING) {
      bool allow = true;
      if (OnChanging) OnChanging(this, allow);
      Message.Result = allow ? FALSE : TRUE;
      return;
    }
    if (header->code == TCN_SELCHANGE) {
      const int tab = static_cast<int>(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0));
      for (TTabSheet* page : FPages)
        if (TabIndexOf(page) == tab) SetActivePage(page);
      if (OnChange) OnChange(this);
      return;
    }
  }
  if (Message.Msg == WM_SIZE) {
    TWinControl::WndProc(Message);
    Realign();
    return;
  }
  TWinControl::WndProc(Message);
}

// ---- Progress bar ----

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlsOnce();
  FWidth = 150;
  FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, PROGRESS_CLASSA);
  if (Smooth) Params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWndFinished() {
  SendMessageA(FHandle, PBM_SETRANGE32, FMin, FMax);
  SendMessageA(FHandle, PBM_SETPOS, FPosition, 0);
}

void TProgressBar::SetMin(int value) {
  FMin = value;
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETRANGE32, FMin, FMax);
}

void TProgressBar::SetMax(int value) {
  FMax = value;
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETRANGE32, FMin, FMax);
}

int TProgressBar::GetPosition() {
  if (HandleAllocated()) FPosition = static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0));
  return FPosition;
}

void TProgressBar::SetPosition(int value) {
  FPosition = std::clamp(value, FMin, FMax);
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETPOS, FPosition, 0);
}

void TProgressBar::StepIt() {
  SetPosition(GetPosition() + Step);
}

namespace {

// The box's key word: the virtual key, then HOTKEYF_SHIFT, _CONTROL, _ALT.
WPARAM ShortCutToHotKeyWord(TShortCut value) {
  BYTE flags = 0;
  if (value & scShift) flags |= HOTKEYF_SHIFT;
  if (value & scCtrl) flags |= HOTKEYF_CONTROL;
  if (value & scAlt) flags |= HOTKEYF_ALT;
  return MAKEWORD(value & 0xFF, flags);
}

TShortCut HotKeyWordToShortCut(WORD word) {
  const BYTE flags = HIBYTE(word);
  TShortCut value = LOBYTE(word);
  if (flags & HOTKEYF_SHIFT) value |= scShift;
  if (flags & HOTKEYF_CONTROL) value |= scCtrl;
  if (flags & HOTKEYF_ALT) value |= scAlt;
  return value;
}

} // namespace

THotKey::THotKey(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlsOnce();
  FWidth = 121;
  FHeight = 25;
  SetTabStop(true);
}

void THotKey::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, HOTKEY_CLASSA);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void THotKey::CreateWndFinished() {
  WPARAM combinations = 0;
  for (int key = hcNone; key <= hcShiftCtrlAlt; ++key)
    if (InvalidKeys.Contains(static_cast<THKInvalidKey>(key))) combinations |= WPARAM{1} << key;
  LPARAM modifiers = 0;
  if (Modifiers.Contains(hkShift)) modifiers |= HOTKEYF_SHIFT;
  if (Modifiers.Contains(hkCtrl)) modifiers |= HOTKEYF_CONTROL;
  if (Modifiers.Contains(hkAlt)) modifiers |= HOTKEYF_ALT;
  if (Modifiers.Contains(hkExt)) modifiers |= HOTKEYF_EXT;
  SendMessageA(FHandle, HKM_SETRULES, combinations, modifiers);
  SendMessageA(FHandle, HKM_SETHOTKEY, ShortCutToHotKeyWord(FHotKey), 0);
}

TShortCut THotKey::GetHotKey() {
  if (HandleAllocated())
    FHotKey = HotKeyWordToShortCut(static_cast<WORD>(SendMessageA(FHandle, HKM_GETHOTKEY, 0, 0)));
  return FHotKey;
}

void THotKey::SetHotKey(TShortCut value) {
  FHotKey = value;
  if (HandleAllocated()) SendMessageA(FHandle, HKM_SETHOTKEY, ShortCutToHotKeyWord(value), 0);
}
