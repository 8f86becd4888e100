// Edit and combo items and their controls: the in-place EDIT window over the
// value area, its keys and focus, the drop-down and the list of string combos.
#include "dxBarEdits.h"

#include "dxBarCommon.h"

#include "Forms.h"

#include <algorithm>

namespace {

const char* const kWinControlProp = "dxBarWinControl";

template <typename T> TdxBarItemClass MakeEditClassInfo(const char* name) {
  static const TdxBarItemClassInfo info{typeid(T), name,
                                        [](TComponent* owner) -> TdxBarItem* { return new T(owner); }};
  return &info;
}

TCustomForm* OwnerFormOf(const TdxBarItem* item) {
  TdxBarManager* manager = item ? item->GetBarManager() : nullptr;
  return manager ? manager->GetOwnerForm() : nullptr;
}

// A menu window, or a toolbar docked on the left or right: drop-downs open
// beside the control there, below it elsewhere.
bool OpensBeside(const TCustomdxBarControl* window) {
  const auto* toolbar = dynamic_cast<const TdxBarControl*>(window);
  return !toolbar || toolbar->IsVertical();
}

bool IsBeingDragged(const TCustomdxBarControl* window) {
  const auto* toolbar = dynamic_cast<const TdxBarControl*>(window);
  return toolbar && toolbar->IsMoving();
}

bool IsAlive(const TCustomdxBarControl* window, const TdxBarItemControl* control) {
  return IsBarControlAlive(window) && window->IsControlOfWindow(control);
}

String UpperText(String text) {
  if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

} // namespace

// ---- TdxBarWindowItem ----

TdxBarWindowItem::TdxBarWindowItem(TComponent* AOwner) : TdxBarItem(AOwner) {}

void TdxBarWindowItem::SetText(const String& Value) {
  if (Value == FText) return;
  FText = Value;
  RepaintControls();
  DoChange();
  RepaintControls();
}

void TdxBarWindowItem::RepaintControls() {
  for (int i = 0; i < GetLinkCount(); ++i) {
    TdxBarItemControl* control = GetLink(i)->GetControl();
    if (!control) continue;
    const TCustomdxBarControl* window = control->GetBarControl();
    if (window->GetActive() && window->GetSelectedControl() == control) continue;
    control->Repaint();
  }
}

TdxBarItemLink* TdxBarWindowItem::GetActiveLink() const {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl(); control && control->IsActive()) return GetLink(i);
  return nullptr;
}

String TdxBarWindowItem::GetCurText() const {
  TdxBarItemLink* link = GetActiveLink();
  if (auto* control = link ? dynamic_cast<TdxBarWinControl*>(link->GetControl()) : nullptr)
    return control->GetText();
  return FText;
}

void TdxBarWindowItem::SetCurText(const String& Value) {
  TdxBarItemLink* link = GetActiveLink();
  if (auto* control = link ? dynamic_cast<TdxBarWinControl*>(link->GetControl()) : nullptr)
    control->SetText(Value);
  else
    SetText(Value);
}

TdxBarItemLink* TdxBarWindowItem::GetFocusedLink() const {
  TdxBarItemLink* link = GetActiveLink();
  auto* control = link ? dynamic_cast<TdxBarWinControl*>(link->GetControl()) : nullptr;
  return control && control->GetFocused() ? link : nullptr;
}

void TdxBarWindowItem::Focus(bool OnlyVisible) {
  for (int i = 0; i < GetLinkCount(); ++i) {
    auto* control = dynamic_cast<TdxBarWinControl*>(GetLink(i)->GetControl());
    if (!control) continue;
    TCustomdxBarControl* window = control->GetBarControl();
    if (OnlyVisible && !(window->HandleAllocated() && IsWindowVisible(window->GetHandle()))) continue;
    auto* toolbar = dynamic_cast<TdxBarControl*>(window);
    if (!toolbar) throw EInvalidCast("Invalid class typecast");
    toolbar->EnterKeyboardMode(control);
    if (IsAlive(toolbar, control)) control->Click(false);
    return;
  }
}

void TdxBarWindowItem::DoChange() {
  if (!IsLoading() && OnChange) OnChange(this);
}

void TdxBarWindowItem::DoCurChange() {
  if (OnCurChange) OnCurChange(this);
}

void TdxBarWindowItem::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TdxBarWindowItem::DoExit() {
  if (OnExit) OnExit(this);
}

void TdxBarWindowItem::DoKeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TdxBarWindowItem::DoKeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TdxBarWindowItem::DoKeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

// ---- TdxBarEdit ----

TdxBarItemClass TdxBarEdit::ClassInfo() {
  return MakeEditClassInfo<TdxBarEdit>("TdxBarEdit");
}

TdxBarEdit::TdxBarEdit(TComponent* AOwner) : TdxBarWindowItem(AOwner) {}

void TdxBarEdit::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  if (IsLoading()) return;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->LayoutChanged();
}

void TdxBarEdit::SetWidth(int Value) {
  Value = std::max(Value, 20);
  if (Value == FWidth) return;
  FWidth = Value;
  if (!IsLoading()) WidthChanged();
}

void TdxBarEdit::WidthChanged() {
  for (int i = 0; i < GetLinkCount(); ++i) {
    TdxBarItemLink* link = GetLink(i);
    if (link->GetUserDefine().Contains(udWidth)) continue;
    if (auto* control = dynamic_cast<TdxBarEditControl*>(link->GetControl())) control->WidthChanged();
  }
}

bool TdxBarEdit::AcceptsAccelerator(const TdxBarItemLink* Link) const {
  if (!GetEnabled()) return false;
  const TdxBarItemLinks* links = Link ? Link->GetLinks() : nullptr;
  return FShowCaption || !links || !dynamic_cast<TdxBar*>(links->GetOwner());
}

void TdxBarEdit::DrawInterior(const TdxBarEditControl* Control, TCanvas* Canvas, const TRect& R) {
  const String text = Control->GetFocused() ? Control->GetText() : GetText();
  Control->GetPainter()->DrawEditValue(Control, Canvas, R, text);
}

bool TdxBarEdit::IsDroppedDown() const {
  TdxBarItemLink* link = GetActiveLink();
  auto* control = link ? dynamic_cast<TCustomdxBarComboControl*>(link->GetControl()) : nullptr;
  return control && control->GetDroppedDown();
}

// ---- TCustomdxBarCombo ----

TdxBarItemClass TCustomdxBarCombo::ClassInfo() {
  return MakeEditClassInfo<TCustomdxBarCombo>("TCustomdxBarCombo");
}

TCustomdxBarCombo::TCustomdxBarCombo(TComponent* AOwner) : TdxBarEdit(AOwner) {}

void TCustomdxBarCombo::SetShowEditor(bool Value) {
  if (Value == GetShowEditor()) return;
  FEditorHidden = !Value;
  if (!IsLoading()) RepaintControls();
}

bool TCustomdxBarCombo::CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) {
  bool accept = Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE;
  if (OnCheckKeyForDropDownWindow) OnCheckKeyForDropDownWindow(this, Key, Shift, accept);
  return accept;
}

HWND TCustomdxBarCombo::GetDropDownWindow() {
  HWND window = nullptr;
  if (OnGetDropDownWindow) OnGetDropDownWindow(this, window);
  return window;
}

void TCustomdxBarCombo::DoDropDown(int X, int Y) {
  if (OnDropDown) OnDropDown(this);
  HWND window = GetDropDownWindow();
  if (!window) return;
  InitDropDownWindow();
  RECT bounds{};
  GetWindowRect(window, &bounds);
  CorrectDropDownPoint(X, Y, bounds.right - bounds.left, bounds.bottom - bounds.top);
  SetWindowPos(window, nullptr, X, Y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
               SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
  DropDownShown();
}

void TCustomdxBarCombo::CorrectDropDownPoint(int& X, int& Y, int Width, int Height) {
  TdxBarItemLink* link = GetActiveLink();
  const TRect item = link ? link->ItemRect : TRect();
  const TRect area = GetWorkAreaAtPoint(POINT{X, Y});
  const bool beside = link && link->GetControl() && OpensBeside(link->GetControl()->GetBarControl());
  if (beside) {
    if (X + Width > area.right && area.right - X < X - item.Width() - area.left) X -= Width + item.Width();
    if (Y + Height > area.bottom) Y = area.bottom - Height;
  } else {
    if (X + Width > area.right) X = area.right - Width;
    if (Y + Height > area.bottom && area.bottom - Y < Y - item.Height() - area.top) Y -= item.Height() + Height;
  }
  X = std::max<int>(X, area.left);
  Y = std::max<int>(Y, area.top);
}

void TCustomdxBarCombo::DoCloseUp() {
  if (HWND window = GetDropDownWindow()) ShowWindow(window, SW_HIDE);
  if (OnCloseUp) OnCloseUp(this);
}

// ---- TdxBarCustomCombo ----

TdxBarCustomCombo::TdxBarCustomCombo(TComponent* AOwner)
    : TCustomdxBarCombo(AOwner), FItems(std::make_unique<TStringList>()),
      FDropDownList(new TdxBarDropDownListBox(this)) {
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TdxBarCustomCombo::~TdxBarCustomCombo() {
  FItems->OnChange = nullptr;
}

void TdxBarCustomCombo::ItemsChanged() {
  if (FItemIndex >= FItems->GetCount())
    SetItemIndex(-1);
  else if (!IsLoading())
    RepaintControls();
}

void TdxBarCustomCombo::SetItemIndex(int Value) {
  if (Value == FItemIndex) return;
  FItemIndex = Value < 0 || Value >= FItems->GetCount() ? -1 : Value;
  const String text = FItemIndex < 0 ? String() : FItems->Get(FItemIndex);
  if (text != GetText()) {
    SetText(text);
    return;
  }
  RepaintControls();
  DoChange();
  RepaintControls();
}

void TdxBarCustomCombo::SetText(const String& Value) {
  if (FItemIndex < 0 || FItems->Get(FItemIndex) != Value) FItemIndex = FItems->IndexOf(Value);
  TCustomdxBarCombo::SetText(Value);
}

void TdxBarCustomCombo::SetSorted(bool Value) {
  FSorted = Value;
  FItems->SetSorted(Value);
  FItemIndex = FItems->IndexOf(GetText());
}

int TdxBarCustomCombo::GetCurItemIndex() const {
  TdxBarItemLink* link = GetFocusedLink();
  if (auto* control = link ? dynamic_cast<TdxBarComboControl*>(link->GetControl()) : nullptr)
    return control->GetCurItemIndex();
  return FItemIndex;
}

TCanvas* TdxBarCustomCombo::GetCanvas() const {
  if (FDrawingCanvas) return FDrawingCanvas;
  TCanvas* canvas = FDropDownList->GetCanvas();
  canvas->GetFont()->Assign(FDropDownList->GetFont());
  return canvas;
}

void TdxBarCustomCombo::MeasureItem(int Index, int& Height) {
  Height = ItemHeight > 0 ? ItemHeight : GetCanvas()->TextHeight("Qq");
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TdxBarCustomCombo::MeasureItemWidth(int Index, int& Width) {
  Width = GetCanvas()->TextWidth(FItems->Get(Index)) + 2;
}

void TdxBarCustomCombo::DrawItem(int Index, const TRect& R, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, R, State);
    return;
  }
  const String text = Index < 0 || Index >= FItems->GetCount() ? GetText() : FItems->Get(Index);
  GetBarManager()->GetPainterClass()->DrawComboListItem(GetCanvas(), R, text, FDrawingValue);
  // The list draws the focus rectangle of its focused row itself.
}

void TdxBarCustomCombo::DrawInterior(const TdxBarEditControl* Control, TCanvas* Canvas, const TRect& R) {
  FDrawingCanvas = Canvas;
  FDrawingValue = true;
  const auto* combo = dynamic_cast<const TdxBarComboControl*>(Control);
  const int index = combo && Control->GetLink() == GetFocusedLink() ? combo->GetCurItemIndex() : FItemIndex;
  try {
    DrawItem(index, R, TOwnerDrawState());
  } catch (...) {
    FDrawingCanvas = nullptr;
    FDrawingValue = false;
    throw;
  }
  FDrawingCanvas = nullptr;
  FDrawingValue = false;
}

bool TdxBarCustomCombo::CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) {
  return Shift.Empty() && (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT);
}

HWND TdxBarCustomCombo::GetDropDownWindow() {
  if (HWND window = TCustomdxBarCombo::GetDropDownWindow()) return window;
  return FDropDownList->GetHandle();
}

int TdxBarCustomCombo::GetDropDownWidth() {
  const int count = FItems->GetCount();
  const int scrollBar = count > DropDownCount ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  int width = DropDownWidth;
  if (width <= 0) {
    if (TdxBarItemLink* link = GetActiveLink()) {
      auto* control = dynamic_cast<TdxBarEditControl*>(link->GetControl());
      width = link->ItemRect.Width() - (control ? control->GetCaptionWidth() : 0) - 4;
    }
    width -= scrollBar;
    for (int i = 0; i < count; ++i) {
      int itemWidth = 0;
      MeasureItemWidth(i, itemWidth);
      width = std::max(width, itemWidth);
    }
  }
  return width + 4 + scrollBar;
}

void TdxBarCustomCombo::InitDropDownWindow() {
  FDropDownList->GetItems()->Assign(*FItems);
  int height = 4;
  for (int i = 0; i < std::min(FItems->GetCount(), DropDownCount); ++i) {
    int itemHeight = 0;
    MeasureItem(i, itemHeight);
    height += itemHeight;
  }
  SetWindowPos(FDropDownList->GetHandle(), nullptr, 0, 0, GetDropDownWidth(), height,
               SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void TdxBarCustomCombo::DoDropDown(int X, int Y) {
  FDropDownList->SetParent(OwnerFormOf(this));
  TCustomdxBarCombo::DoDropDown(X, Y);
  SyncListWithText();
}

void TdxBarCustomCombo::DoCloseUp() {
  TCustomdxBarCombo::DoCloseUp();
  FDropDownList->SetParent(nullptr);
}

void TdxBarCustomCombo::DropDownShown() {
  const bool pressed = IsPrimaryMouseButtonDown();
  FDropDownList->SetTracking(pressed);
  if (pressed) SetCapture(FDropDownList->GetHandle());
}

void TdxBarCustomCombo::DoCurChange() {
  TCustomdxBarCombo::DoCurChange();
  SyncListWithText();
}

int TdxBarCustomCombo::FindNearestItem(const String& Text) const {
  const String text = UpperText(Text);
  size_t best = 0;
  int result = -1;
  for (int i = 0; i < FItems->GetCount(); ++i) {
    const String item = UpperText(FItems->Get(i));
    if (item.size() < best || item.compare(0, best, text, 0, best) != 0) continue;
    while (best < text.size() && best < item.size() && item[best] == text[best]) {
      ++best;
      result = i;
    }
    if (result == i && best == text.size()) return i;
  }
  return result;
}

void TdxBarCustomCombo::SyncListWithText() {
  TdxBarItemLink* link = GetActiveLink();
  auto* control = link ? dynamic_cast<TdxBarComboControl*>(link->GetControl()) : nullptr;
  if (!control) return;
  const String text = control->GetText();
  int index = control->GetCurItemIndex();
  if (!(index >= 0 && index < FItems->GetCount() && FItems->Get(index) == text)) index = FindNearestItem(text);
  control->SetCurItemIndex(index);
  if (!control->GetDroppedDown() || !FDropDownList->HandleAllocated()) return;
  if (index >= 0 && CompareText(FItems->Get(index), text) == 0) {
    FDropDownList->SetItemIndex(index);
    return;
  }
  FDropDownList->SetItemIndex(-1);
  FDropDownList->SetTopIndex(std::max(index, 0));
}

TdxBarItemClass TdxBarCombo::ClassInfo() {
  return MakeEditClassInfo<TdxBarCombo>("TdxBarCombo");
}

// ---- TdxBarWinControl ----

TdxBarWinControl::TdxBarWinControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl)
    : TdxBarItemControl(ALink, ABarControl) {}

TdxBarWinControl::~TdxBarWinControl() {
  DestroyInPlaceWindow();
}

TdxBarWindowItem* TdxBarWinControl::GetWindowItem() const {
  return dynamic_cast<TdxBarWindowItem*>(GetItem());
}

void TdxBarWinControl::SubclassWindow() {
  SetPropA(FWnd, kWinControlProp, this);
  FPrevWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TdxBarWinControl::InstanceProc)));
}

void TdxBarWinControl::DestroyInPlaceWindow() {
  if (!FWnd) return;
  SetFocused(false);
  HWND wnd = FWnd;
  if (!wnd) return;
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevWndProc));
  RemovePropA(wnd, kWinControlProp);
  FWnd = nullptr;
  DestroyWindow(wnd);
}

LRESULT CALLBACK TdxBarWinControl::InstanceProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* control = static_cast<TdxBarWinControl*>(GetPropA(Wnd, kWinControlProp));
  if (!control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage message{Msg, WParam, LParam, 0};
  try {
    control->WndProc(message);
  } catch (...) {
    Application->HandleException(nullptr);
  }
  return message.Result;
}

void TdxBarWinControl::PassOn(TMessage& Message) {
  Message.Result = CallWindowProcA(FPrevWndProc, FWnd, Message.Msg, Message.WParam, Message.LParam);
}

String TdxBarWinControl::GetText() const {
  if (!FWnd) return String();
  // The whole text: a buffer of a fixed size would cut long texts.
  const int length = static_cast<int>(SendMessageA(FWnd, WM_GETTEXTLENGTH, 0, 0));
  String text(static_cast<size_t>(length) + 1, '\0');
  const int read = static_cast<int>(
      SendMessageA(FWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(static_cast<size_t>(std::max(read, 0)));
  return text;
}

void TdxBarWinControl::SetText(const String& Text) {
  if (FWnd) SetWindowTextA(FWnd, Text.c_str());
  if (GetWindowItem() && GetWindowItem()->GetEditorHidden()) Repaint();
}

TRect TdxBarWinControl::GetEditRect() const {
  if (!GetEnabled()) return TRect();
  TRect r = FEditRect;
  if (GetWindowItem() && GetWindowItem()->GetEditorHidden()) r.right = r.left;
  return r;
}

void TdxBarWinControl::SetEditRect(const TRect& R) {
  FEditRect = R;
  if (!FWnd || !IsWindowVisible(FWnd)) return;
  const TRect r = GetEditRect();
  RECT current{};
  GetWindowRect(FWnd, &current);
  MapWindowPoints(nullptr, GetBarControl()->GetHandle(), reinterpret_cast<POINT*>(&current), 2);
  if (TRect(current) == r) return;
  SetWindowPos(FWnd, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
  if (auto* edit = dynamic_cast<TdxBarEditControl*>(this)) GetPainter()->SetEditMargins(edit, FWnd);
}

void TdxBarWinControl::Press(bool) {
  SetFocused(true);
}

void TdxBarWinControl::Deactivate(bool Immediate) {
  TdxBarItemControl::Deactivate(Immediate);
  SetFocused(false);
}

void TdxBarWinControl::SetFocused(bool Value) {
  if (Value == FFocused) return;
  TCustomdxBarControl* window = GetBarControl();
  TCustomForm* form = OwnerFormOf(GetItem());
  HWND formWnd = form && form->HandleAllocated() ? form->GetHandle() : nullptr;
  if (Value && !FWnd) CreateInPlaceWindow();
  FFocused = Value;
  if (Value) {
    FPrevFocus = GetFocus();
    if (!FPrevFocus || !IsWindowVisible(FPrevFocus)) FPrevFocus = formWnd;
    if (!FWnd) return;
    SendMessageA(FWnd, WM_SETFONT, reinterpret_cast<WPARAM>(window->GetFontHandle()), 0);
    if (!IsActive()) Activate(true);
    const TRect r = GetEditRect();
    SetWindowPos(FWnd, HWND_TOP, r.left, r.top, r.Width(), r.Height(), SWP_SHOWWINDOW);
    if (auto* edit = dynamic_cast<TdxBarEditControl*>(this)) GetPainter()->SetEditMargins(edit, FWnd);
    FSettingText = true;
    try {
      SetText(GetWindowItem()->GetText());
    } catch (...) {
      FSettingText = false;
      throw;
    }
    FSettingText = false;
    ::SetFocus(FWnd);
    return;
  }
  if (FWnd) ShowWindow(FWnd, SW_HIDE);
  if (FPrevFocus && IsWindow(FPrevFocus) && IsWindowVisible(FPrevFocus))
    ::SetFocus(FPrevFocus);
  else if (formWnd && IsWindowVisible(formWnd))
    ::SetFocus(formWnd);
  else if (formWnd)
    ::SetFocus(GetWindow(formWnd, GW_HWNDNEXT));
  FPrevFocus = nullptr;
  TdxBarManager* manager = GetBarManager();
  const bool kept = GetKeyState(VK_ESCAPE) >= 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
  if (manager && manager->AlwaysSaveText && kept && GetWindowItem()) GetWindowItem()->SetText(GetText());
}

// The item's key events; a key the handler clears is swallowed.
bool TdxBarWinControl::KeyMessage(TMessage& Message) {
  TdxBarWindowItem* item = GetWindowItem();
  if (!item) return false;
  const TShiftState shift = KeyDataToShiftState(Message.LParam);
  WORD key = static_cast<WORD>(Message.WParam);
  if (Message.Msg == WM_KEYDOWN) {
    item->DoKeyDown(key, shift);
  } else if (Message.Msg == WM_KEYUP) {
    item->DoKeyUp(key, shift);
  } else {
    char c = static_cast<char>(Message.WParam);
    item->DoKeyPress(c);
    key = static_cast<BYTE>(c);
  }
  Message.WParam = key;
  return key == 0;
}

// System keys: Alt alone stays with the window; others end the editing and
// go to the keyboard hook, as they would have without the editor.
bool TdxBarWinControl::SysKeyMessage(TMessage& Message) {
  if (Message.Msg == WM_SYSKEYDOWN) {
    ++FAltCount;
  } else if (FAltCount == 0) {
    return true;
  } else {
    --FAltCount;
  }
  if (Message.Msg == WM_SYSKEYDOWN && Message.WParam == VK_MENU) return false;
  FAltCount = 0;
  TCustomdxBarControl* window = GetBarControl();
  window->Deactivate();
  if (Message.WParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) return true;
  return ForwardKeyToBarHooks(Message.WParam, Message.LParam) == 1;
}

void TdxBarWinControl::KillFocus(TMessage& Message) {
  TdxBarWindowItem* item = GetWindowItem();
  TCustomdxBarControl* window = GetBarControl();
  auto removeChars = [wnd = FWnd] {
    MSG msg;
    while (PeekMessageA(&msg, wnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    }
  };
  if (FFocused) {
    PassOn(Message);
    window->Deactivate();
  } else if (dynamic_cast<TdxBarControl*>(window)) {
    HWND focus = GetFocus();
    HWND target = focus == window->GetHandle() ? focus : GetParent(focus);
    if (!dynamic_cast<TdxBarControl*>(FindControl(target))) target = GetParent(target);
    if (target != window->GetHandle()) {
      PassOn(Message);
      removeChars();
      window->Deactivate();
    } else {
      CommonMessage(Message);
    }
  } else {
    CommonMessage(Message);
  }
  if (item) item->DoExit();
}

void TdxBarWinControl::WndProc(TMessage& Message) {
  TCustomdxBarControl* window = GetBarControl();
  switch (Message.Msg) {
  case WM_SETFOCUS:
    if (GetWindowItem()) GetWindowItem()->DoEnter();
    if (!IsAlive(window, this)) return;
    break;
  case WM_KILLFOCUS:
    return KillFocus(Message);
  case WM_KEYDOWN:
  case WM_KEYUP:
  case WM_CHAR:
    if (KeyMessage(Message) || !IsAlive(window, this)) return;
    break;
  case WM_RBUTTONDOWN: {
    POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    MapWindowPoints(FWnd, window->GetHandle(), &p, 1);
    Message.Result = SendMessageA(window->GetHandle(), WM_RBUTTONDOWN, Message.WParam, MAKELPARAM(p.x, p.y));
    return;
  }
  case WM_SYSKEYDOWN:
  case WM_SYSKEYUP:
    if (SysKeyMessage(Message) || !IsAlive(window, this)) return;
    break;
  }
  CommonMessage(Message);
}

void TdxBarWinControl::CommonMessage(TMessage& Message) {
  TCustomdxBarControl* window = GetBarControl();
  const UINT msg = Message.Msg;
  if (msg == WM_KEYDOWN && Message.WParam == VK_TAB) {
    MSG pending;
    while (PeekMessageA(&pending, FWnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    }
    Message.Result = SendMessageA(window->GetHandle(), WM_KEYDOWN, Message.WParam, Message.LParam);
    return;
  }
  if (msg == WM_KEYDOWN && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
    HWND wnd = FWnd;
    window->SelectControl(nullptr);
    MSG pending;
    while (PeekMessageA(&pending, wnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    }
    if (!IsAlive(window, this)) return;
    if (Message.WParam == VK_ESCAPE)
      window->SetSelectedControl(this);
    else
      window->Deactivate();
    return;
  }
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL && GetCapture() != FWnd) {
    POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    if (msg == WM_MOUSEWHEEL)
      ScreenToClient(window->GetHandle(), &p);
    else
      MapWindowPoints(FWnd, window->GetHandle(), &p, 1);
    TRect bounds;
    window->GetControlRect(this, bounds);
    if (!GetEditRect().Contains(p) && bounds.Contains(p)) return;
  }
  if (msg != WM_DESTROY) return PassOn(Message);
  SetFocused(false);
  HWND wnd = FWnd;
  PassOn(Message);
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevWndProc));
  RemovePropA(wnd, kWinControlProp);
  FWnd = nullptr;
}

// ---- TdxBarEditControl ----

TdxBarEditControl::TdxBarEditControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl)
    : TdxBarWinControl(ALink, ABarControl) {
  // A toolbar being dragged gets the window back when the drag ends.
  if (!IsBeingDragged(ABarControl)) CreateInPlaceWindow();
}

TdxBarEditControl::~TdxBarEditControl() {
  DestroyInPlaceWindow();
}

TdxBarEdit* TdxBarEditControl::GetEdit() const {
  return dynamic_cast<TdxBarEdit*>(GetItem());
}

void TdxBarEditControl::CreateInPlaceWindow() {
  TCustomdxBarControl* window = GetBarControl();
  if (FWnd || !window->HandleAllocated() || !GetEdit()) return;
  FWnd = CreateWindowExA(0, "EDIT", "", GetPainter()->GetEditStyle() | WS_CHILD, 0, 0, 100, 100,
                         window->GetHandle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!FWnd) return;
  SetWindowTextA(FWnd, GetEdit()->GetText().c_str());
  SendMessageA(FWnd, EM_LIMITTEXT, static_cast<WPARAM>(GetEdit()->GetMaxLength()), 0);
  SubclassWindow();
}

bool TdxBarEditControl::IsCaptionShown() const {
  return !IsParentClosable() || (GetEdit() && GetEdit()->GetShowCaption());
}

int TdxBarEditControl::GetCaptionWidth() const {
  if (!IsCaptionShown()) return 0;
  return GetPainter()->GetEditCaptionOffset(this, CaptionTextWidth(GetBarControl(), GetCaption()));
}

int TdxBarEditControl::GetHeight() {
  const int height = GetBarControl()->EditHeight;
  return IsCaptionShown() ? std::max(height, GetBarControl()->TextHeight) : height;
}

int TdxBarEditControl::GetMinWidth() {
  return GetCaptionWidth() + 20;
}

int TdxBarEditControl::GetWidth() {
  return GetCaptionWidth() + (GetLink() ? GetLink()->GetWidth() : 0);
}

bool TdxBarEditControl::DrawSelected() const {
  return IsSelected() && !GetBarControl()->IsCustomizing();
}

void TdxBarEditControl::SetFocused(bool Value) {
  if (Value && FWnd) {
    const bool readOnly = (GetEdit() && GetEdit()->ReadOnly) || GetWindowItem()->GetEditorHidden();
    SendMessageA(FWnd, EM_SETREADONLY, readOnly, 0);
  }
  TdxBarWinControl::SetFocused(Value);
}

void TdxBarEditControl::SetText(const String& Text) {
  const String old = GetText();
  TdxBarWinControl::SetText(Text);
  if (FWnd) GetPainter()->SelectEditText(FWnd, old != Text);
}

void TdxBarEditControl::Press(bool ByMouse) {
  TdxBarWinControl::Press(ByMouse);
  if (GetFocused() && FWnd) SendMessageA(FWnd, EM_SETSEL, 0, -1);
}

void TdxBarEditControl::WidthChanged() {
  GetBarControl()->Rebuild();
}

void TdxBarEditControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_KEYDOWN && (Message.WParam == VK_RETURN || Message.WParam == VK_TAB)) {
    HWND wnd = FWnd;
    if (Message.WParam == VK_RETURN && GetLink()) GetLink()->MarkAsRecentlyUsed(true);
    if (GetEdit()) GetEdit()->SetText(GetText());
    if (!IsWindow(wnd) || !IsWindowVisible(wnd)) return;
  } else if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) == EN_CHANGE) {
    if (!FSettingText && GetWindowItem()) GetWindowItem()->DoCurChange();
    return;
  }
  TdxBarWinControl::WndProc(Message);
}

void TdxBarEditControl::PaintFrame(TRect& R, int PaintType, bool Selected) {
  HDC dc = GetBarControl()->GetCanvas()->GetHandle();
  if (IsCaptionShown()) GetPainter()->DrawEditCaption(this, dc, Selected, PaintType, R);
  GetPainter()->DrawEditFrame(this, dc, R, PaintType, Selected);
}

void TdxBarEditControl::Paint(const TRect& R, int PaintType) {
  if (R.left == R.right) return;
  TRect inner = R;
  PaintFrame(inner, PaintType, DrawSelected());
  if (GetEnabled()) SetEditRect(inner);
  if (!GetFocused() || !GetEnabled())
    GetPainter()->DrawEditValueText(this, GetBarControl()->GetCanvas()->GetHandle(), false, inner);
}

// ---- TCustomdxBarComboControl ----

TCustomdxBarComboControl::~TCustomdxBarComboControl() {
  SetDroppedDown(false);
  DestroyInPlaceWindow();
}

TCustomdxBarCombo* TCustomdxBarComboControl::GetCombo() const {
  return dynamic_cast<TCustomdxBarCombo*>(GetItem());
}

void TCustomdxBarComboControl::GetTextColors(int PaintType, bool Enabled, bool Selected, bool DroppedDown,
                                             int& TextColorIndex, HBRUSH& Brush) const {
  GetPainter()->GetComboTextColors(this, PaintType, Enabled, Selected, DroppedDown, TextColorIndex, Brush);
}

void TCustomdxBarComboControl::Deactivate(bool Immediate) {
  SetDroppedDown(false);
  TdxBarEditControl::Deactivate(Immediate);
}

HWND TCustomdxBarComboControl::GetDroppedDownWnd() const {
  return FDroppedDown && GetCombo() ? GetCombo()->GetDropDownWindow() : nullptr;
}

void TCustomdxBarComboControl::SetDroppedDown(bool Value) {
  TCustomdxBarCombo* combo = GetCombo();
  if (Value == FDroppedDown || !combo || combo->ReadOnly) return;
  FDroppedDown = Value;
  Repaint();
  if (!Value) {
    combo->DoCloseUp();
    return;
  }
  TCustomdxBarControl* window = GetBarControl();
  TRect r;
  window->GetControlRect(this, r);
  POINT p = OpensBeside(window) ? POINT{r.right, r.top} : POINT{r.left + GetCaptionWidth(), r.bottom};
  ClientToScreen(window->GetHandle(), &p);
  combo->DoDropDown(p.x, p.y);
}

void TCustomdxBarComboControl::Paint(const TRect& R, int PaintType) {
  if (R.left == R.right) return;
  const bool selected = DrawSelected();
  TRect inner = R;
  PaintFrame(inner, PaintType, selected);
  TRect value = inner;
  value.right -= GetPainter()->HasComboButtonBorder() + GetBarControl()->ComboButtonWidth;
  if (GetEnabled()) SetEditRect(value);
  HDC dc = GetBarControl()->GetCanvas()->GetHandle();
  const bool hidden = GetCombo() && !GetCombo()->GetShowEditor();
  if (!GetEnabled() || !GetFocused() || hidden) GetPainter()->DrawEditValueText(this, dc, false, value);
  GetPainter()->DrawComboDropDownButton(this, dc, PaintType, selected, inner, FButtonRect);
}

void TCustomdxBarComboControl::WndProc(TMessage& Message) {
  TCustomdxBarCombo* combo = GetCombo();
  const UINT msg = Message.Msg;
  const WORD key = static_cast<WORD>(Message.WParam);
  if (combo && (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR)) {
    if (msg == WM_KEYDOWN && key == VK_F4) {
      SetDroppedDown(!FDroppedDown);
      return;
    }
    HWND dropDown = FDroppedDown ? combo->GetDropDownWindow() : nullptr;
    if (dropDown && combo->CheckKeyForDropDownWindow(key, KeyDataToShiftState(Message.LParam))) {
      Message.Result = SendMessageA(dropDown, msg, Message.WParam, Message.LParam);
      return;
    }
  }
  if ((msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP) && (key == VK_UP || key == VK_DOWN) &&
      (Message.LParam & 0x20000000)) {
    Message.WParam = 0;
    if (msg == WM_SYSKEYUP) return;
    // The window's default procedure sees a key besides Alt, so that the
    // release of Alt does not open the form's window menu.
    PassOn(Message);
    SetDroppedDown(!FDroppedDown);
    return;
  }
  TCustomdxBarControl* window = GetBarControl();
  TdxBarEditControl::WndProc(Message);
  if (!IsAlive(window, this) || !FWnd || !IsWindowVisible(FWnd) || !combo) return;
  if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK && msg != WM_LBUTTONUP) return;
  const bool press = msg != WM_LBUTTONUP;
  if (press) FWasDropped = FDroppedDown;
  if (FWasDropped == press) return;
  TRect button = FButtonRect;
  if (!combo->GetShowEditor()) button.left = GetEditRect().left;
  MapWindowPoints(window->GetHandle(), FWnd, reinterpret_cast<POINT*>(&button), 2);
  const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  if (button.Contains(p)) SetDroppedDown(!FDroppedDown);
}

// ---- TdxBarComboControl ----

TdxBarCustomCombo* TdxBarComboControl::GetCustomCombo() const {
  return dynamic_cast<TdxBarCustomCombo*>(GetItem());
}

void TdxBarComboControl::SelectIndex(int Index) {
  TdxBarCustomCombo* combo = GetCustomCombo();
  if (!combo) return;
  FCurItemIndex = Index;
  const bool exists = Index >= 0 && Index < combo->GetItems()->GetCount();
  SetText(exists ? combo->GetItems()->Get(Index) : combo->GetText());
  if (combo->GetEditorHidden()) Repaint();
}

void TdxBarComboControl::SetFocused(bool Value) {
  if (Value && GetCustomCombo()) {
    FSettingText = true;
    try {
      SelectIndex(GetCustomCombo()->GetItemIndex());
    } catch (...) {
      FSettingText = false;
      throw;
    }
    FSettingText = false;
  }
  TCustomdxBarComboControl::SetFocused(Value);
}

void TdxBarComboControl::WndProc(TMessage& Message) {
  TdxBarCustomCombo* combo = GetCustomCombo();
  if (!combo || Message.Msg != WM_KEYDOWN) return TCustomdxBarComboControl::WndProc(Message);
  const WORD key = static_cast<WORD>(Message.WParam);
  if (key == VK_RETURN || key == VK_TAB) {
    const int count = combo->GetItems()->GetCount();
    if (FCurItemIndex < 0 || FCurItemIndex >= count || GetText() != combo->GetItems()->Get(FCurItemIndex))
      return TCustomdxBarComboControl::WndProc(Message);
    HWND wnd = FWnd;
    TCustomdxBarControl* window = GetBarControl();
    combo->SetItemIndex(FCurItemIndex);
    if (IsAlive(window, this) && wnd && IsWindowVisible(wnd)) TCustomdxBarComboControl::WndProc(Message);
    return;
  }
  const bool plain = GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
  if ((key == VK_UP || key == VK_DOWN) && plain && !GetDroppedDown()) {
    if (key == VK_UP && FCurItemIndex > 0) SelectIndex(FCurItemIndex - 1);
    if (key == VK_DOWN && FCurItemIndex < combo->GetItems()->GetCount() - 1) SelectIndex(FCurItemIndex + 1);
    return;
  }
  TCustomdxBarComboControl::WndProc(Message);
}

// ---- TdxBarDropDownListBox ----

TdxBarDropDownListBox::TdxBarDropDownListBox(TdxBarCustomCombo* ACombo) : TCustomListBox(ACombo), FCombo(ACombo) {
  BorderStyle = bsNone;
  SetVisible(false);
  SetStyle(lbOwnerDrawVariable);
  AutoComplete = false;
}

void TdxBarDropDownListBox::SetTracking(bool Value) {
  FTracking = Value;
}

void TdxBarDropDownListBox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TdxBarDropDownListBox::CreateWnd() {
  TdxBarItemLink* link = FCombo->GetActiveLink();
  if (TdxBarItemControl* control = link ? link->GetControl() : nullptr) {
    GetFont()->SetHandle(control->GetBarControl()->GetFontHandle());
    GetFont()->SetColor(clWindowText);
  }
  TCustomListBox::CreateWnd();
  GetCanvas()->GetFont()->Assign(GetFont());
  ::SetParent(GetHandle(), nullptr);
  TMessage focus{WM_SETFOCUS, 0, 0, 0};
  DefaultHandler(focus);
}

void TdxBarDropDownListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  FCombo->DrawItem(Index, Rect, State);
}

void TdxBarDropDownListBox::MeasureItem(int Index, int& Height) {
  FCombo->MeasureItem(Index, Height);
}

void TdxBarDropDownListBox::KeyDown(WORD& Key, TShiftState Shift) {
  if (GetItemIndex() < 0 && GetCount() > 0) SetItemIndex(GetTopIndex());
  TCustomListBox::KeyDown(Key, Shift);
}

void TdxBarDropDownListBox::Click() {
  TCustomListBox::Click();
  const int index = GetItemIndex();
  TdxBarItemLink* link = FCombo->GetActiveLink();
  auto* control = link ? dynamic_cast<TdxBarComboControl*>(link->GetControl()) : nullptr;
  if (index >= 0 && control) control->SelectIndex(index);
}

void TdxBarDropDownListBox::MouseMoved(TMessage& Message) {
  const TPoint p(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  RECT client{};
  ::GetClientRect(GetHandle(), &client);
  if (FTracking && GetCapture() == GetHandle() && TRect(client).Contains(p)) {
    FTracking = false;
    TMessage press{WM_LBUTTONDOWN, MK_LBUTTON, Message.LParam, 0};
    DefaultHandler(press);
  }
  TCustomListBox::WndProc(Message);
  const int row = HandleAllocated() ? ItemAtPos(p, true) : -1;
  if (row >= 0 && row != GetItemIndex()) {
    SetItemIndex(row);
    Click();
  }
}

void TdxBarDropDownListBox::ButtonReleased(TMessage& Message) {
  TCustomListBox::WndProc(Message);
  if (FTracking) {
    FTracking = false;
    ReleaseCapture();
    return;
  }
  const int index = HandleAllocated() ? GetItemIndex() : -1;
  if (TdxBarItemLink* link = FCombo->GetActiveLink()) link->MarkAsRecentlyUsed(true);
  if (TdxBarManager* manager = FCombo->GetBarManager()) manager->DeactivateAll();
  if (index >= 0) FCombo->SetItemIndex(index);
}

void TdxBarDropDownListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_NCCALCSIZE: {
    TCustomListBox::WndProc(Message);
    const int border = FCombo->GetBarManager()->GetPainterClass()->GetDropDownListBorder();
    auto* r = reinterpret_cast<RECT*>(Message.LParam);
    InflateRect(r, -border, -border);
    return;
  }
  case WM_NCPAINT: {
    TCustomListBox::WndProc(Message);
    HDC dc = GetWindowDC(GetHandle());
    RECT r{};
    GetWindowRect(GetHandle(), &r);
    OffsetRect(&r, -r.left, -r.top);
    FCombo->GetBarManager()->GetPainterClass()->DrawDropDownListBorder(dc, r);
    ReleaseDC(GetHandle(), dc);
    return;
  }
  case WM_ERASEBKGND:
    Message.Result = 1;
    return;
  case WM_MOUSEACTIVATE:
    Message.Result = MA_NOACTIVATE;
    return;
  case WM_MOUSEMOVE:
    return MouseMoved(Message);
  case WM_LBUTTONUP:
    return ButtonReleased(Message);
  case WM_CAPTURECHANGED:
    TCustomListBox::WndProc(Message);
    FTracking = false;
    return;
  case WM_DESTROY:
    // The canvas measures rows between openings: it lets the window's DC go.
    if (auto* canvas = dynamic_cast<TControlCanvas*>(GetCanvas())) canvas->FreeHandle();
    break;
  }
  TCustomListBox::WndProc(Message);
}
