#include "cxTextEdit.h"

#include "Forms.h"

namespace {

// Runs the call with the flag set and clears it afterwards, also when the
// call throws.
template <typename F> void WithFlag(bool& Flag, F&& Call) {
  Flag = true;
  try {
    Call();
  } catch (...) {
    Flag = false;
    throw;
  }
  Flag = false;
}

} // namespace

// ---- TcxInnerEditRouting ----

void TcxInnerEditRouting::KeyDown(TcxContainer* AContainer, WORD& Key, TShiftState Shift) {
  if (AContainer) AContainer->KeyDown(Key, Shift);
}

void TcxInnerEditRouting::KeyPress(TcxContainer* AContainer, char& Key) {
  if (AContainer) AContainer->KeyPress(Key);
}

void TcxInnerEditRouting::KeyUp(TcxContainer* AContainer, WORD& Key, TShiftState Shift) {
  if (AContainer) AContainer->KeyUp(Key, Shift);
}

void TcxInnerEditRouting::MouseDown(TWinControl* AInner, TcxContainer* AContainer, TMouseButton Button,
                                    TShiftState Shift, int X, int Y) {
  if (!AContainer) return;
  WithFlag(AContainer->FIsInnerClick,
           [&] { AContainer->MouseDown(Button, Shift, X + AInner->GetLeft(), Y + AInner->GetTop()); });
}

void TcxInnerEditRouting::MouseMove(TWinControl* AInner, TcxContainer* AContainer, TShiftState Shift, int X,
                                    int Y) {
  if (AContainer) AContainer->MouseMove(Shift, X + AInner->GetLeft(), Y + AInner->GetTop());
}

void TcxInnerEditRouting::MouseUp(TWinControl* AInner, TcxContainer* AContainer, TMouseButton Button,
                                  TShiftState Shift, int X, int Y) {
  if (AContainer) AContainer->MouseUp(Button, Shift, X + AInner->GetLeft(), Y + AInner->GetTop());
}

void TcxInnerEditRouting::SetBounds(TcxContainer* AContainer, const std::function<void()>& ASetBounds) {
  if (!AContainer) return ASetBounds();
  WithFlag(AContainer->FAdjusting, ASetBounds);
}

void TcxInnerEditRouting::FocusChanged(TWinControl* AInner, TcxContainer* AContainer,
                                       const TMessage& Message) {
  if (AInner->IsDestroying() || TcxContainer::IsContainerDestroying(AContainer)) return;
  if (Message.Msg == WM_SETFOCUS && AContainer->HandleAllocated() &&
      reinterpret_cast<HWND>(Message.WParam) == AContainer->GetHandle())
    return;
  AContainer->FocusChanged();
}

// The editor decides about the text: it gets this with its user-change
// flag set, as its own clipboard messages have.
void TcxInnerEditRouting::ClearSelection(TcxCustomTextEdit* AContainer) {
  if (AContainer->GetActiveProperties()->GetReadOnly()) return;
  TcxControlGuard guard(AContainer);
  AContainer->SetUserChange(true);
  try {
    AContainer->ClearSelection();
  } catch (...) {
    if (guard.Alive()) AContainer->SetUserChange(false);
    throw;
  }
  if (guard.Alive()) AContainer->SetUserChange(false);
}

// ---- TcxCustomInnerTextEditHelper ----

TWinControl* TcxCustomInnerTextEditHelper::GetControl() {
  return FEdit;
}

TcxContainer* TcxCustomInnerTextEditHelper::GetControlContainer() {
  return FEdit->GetContainer();
}

bool TcxCustomInnerTextEditHelper::GetReadOnly() {
  return FEdit->GetReadOnly();
}

void TcxCustomInnerTextEditHelper::SetReadOnly(bool Value) {
  FEdit->SetReadOnly(Value);
}

void TcxCustomInnerTextEditHelper::SetOnChange(TNotifyEvent Value) {
  FEdit->OnChange = std::move(Value);
}

void TcxCustomInnerTextEditHelper::GetEditValue(Variant& Value) {
  String text;
  FEdit->GetInnerText(text);
  Value = Variant(text);
}

void TcxCustomInnerTextEditHelper::SetEditValue(const Variant& Value) {
  FEdit->SetInnerText(Value.IsNull() ? String() : VarToStr(Value));
}

void TcxCustomInnerTextEditHelper::LockBounds(bool ALock) {
  FEdit->LockBounds(ALock);
}

void TcxCustomInnerTextEditHelper::SafelySetFocus() {
  const bool autoSelect = FEdit->AutoSelect;
  FEdit->AutoSelect = false;
  try {
    FEdit->SetFocus();
  } catch (...) {
    FEdit->AutoSelect = autoSelect;
    throw;
  }
  FEdit->AutoSelect = autoSelect;
}

void TcxCustomInnerTextEditHelper::CopyToClipboard() {
  if (FEdit->HandleAllocated()) SendMessageA(FEdit->GetHandle(), WM_COPY, 0, 0);
}

TAlignment TcxCustomInnerTextEditHelper::GetAlignment() {
  return FEdit->GetAlignment();
}

bool TcxCustomInnerTextEditHelper::GetAutoSelect() {
  return FEdit->AutoSelect;
}

TEditCharCase TcxCustomInnerTextEditHelper::GetCharCase() {
  return FEdit->CharCase;
}

TcxEditEchoMode TcxCustomInnerTextEditHelper::GetEchoMode() {
  return FEdit->GetEchoMode() ? eemPassword : eemNormal;
}

bool TcxCustomInnerTextEditHelper::GetHideSelection() {
  return FEdit->GetHideSelection();
}

char TcxCustomInnerTextEditHelper::GetImeLastChar() {
  return FEdit->GetImeCharCount() == 2 ? FEdit->GetImeByte() : 0;
}

bool TcxCustomInnerTextEditHelper::GetKeyEatenByContainer() {
  return FEdit->KeyEatenByContainer;
}

int TcxCustomInnerTextEditHelper::GetMaxLength() {
  return FEdit->GetMaxLength();
}

bool TcxCustomInnerTextEditHelper::GetOEMConvert() {
  return FEdit->GetOEMConvert();
}

int TcxCustomInnerTextEditHelper::GetSelLength() {
  if (FEdit->GetImeCharCount() > 0) return SavedSelLength;
  return FEdit->HandleAllocated() ? FEdit->GetSelLength() : 0;
}

int TcxCustomInnerTextEditHelper::GetSelStart() {
  if (FEdit->GetImeCharCount() > 0) return SavedSelStart;
  return FEdit->HandleAllocated() ? FEdit->GetSelStart() : 0;
}

String TcxCustomInnerTextEditHelper::GetSelText() {
  return FEdit->HandleAllocated() ? FEdit->GetSelText() : String();
}

void TcxCustomInnerTextEditHelper::SelectAll() {
  if (FEdit->HandleAllocated()) SendMessageA(FEdit->GetHandle(), EM_SETSEL, 0, -1);
}

void TcxCustomInnerTextEditHelper::SetAlignment(TAlignment Value) {
  TcxCustomTextEdit* container = FEdit->GetContainer();
  if (container && container->GetActiveProperties()->GetUseLeftAlignmentOnEditing()) Value = taLeftJustify;
  FEdit->SetAlignment(Value);
}

void TcxCustomInnerTextEditHelper::SetAutoSelect(bool Value) {
  FEdit->AutoSelect = Value;
}

void TcxCustomInnerTextEditHelper::SetCharCase(TEditCharCase Value) {
  FEdit->SetCharCase(Value);
}

void TcxCustomInnerTextEditHelper::SetEchoMode(TcxEditEchoMode Value) {
  FEdit->SetEchoMode(Value == eemPassword);
}

void TcxCustomInnerTextEditHelper::SetHideSelection(bool Value) {
  FEdit->SetHideSelection(Value);
}

void TcxCustomInnerTextEditHelper::SetKeyEatenByContainer(bool Value) {
  FEdit->KeyEatenByContainer = Value;
}

void TcxCustomInnerTextEditHelper::SetMaxLength(int Value) {
  FEdit->SetMaxLength(Value);
}

void TcxCustomInnerTextEditHelper::SetOEMConvert(bool Value) {
  FEdit->SetOEMConvert(Value);
}

void TcxCustomInnerTextEditHelper::SetSelLength(int Value) {
  if (!FEdit->HandleAllocated()) return;
  if (FEdit->GetImeCharCount() > 0)
    SavedSelLength = Value;
  else
    FEdit->SetSelLength(Value);
}

void TcxCustomInnerTextEditHelper::SetSelStart(int Value) {
  if (!FEdit->HandleAllocated()) return;
  if (FEdit->GetImeCharCount() > 0)
    SavedSelStart = Value;
  else
    FEdit->SetSelStart(Value);
}

void TcxCustomInnerTextEditHelper::SetSelText(const String& Value) {
  if (FEdit->HandleAllocated()) FEdit->SetSelText(Value);
}

// ---- TcxCustomInnerTextEdit ----

TcxCustomInnerTextEdit::TcxCustomInnerTextEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  FHelper = std::make_unique<TcxCustomInnerTextEditHelper>(this);
  SetTabStop(false);
  ControlStyle.Include(csDoubleClicks);
  SetParentColor(true);
  SetParentFont(false);
  BorderStyle = bsNone;
  FCreating = false;
}

TcxCustomInnerTextEdit::~TcxCustomInnerTextEdit() {
  FHelper.reset();
}

TcxCustomTextEdit* TcxCustomInnerTextEdit::GetContainer() const {
  return dynamic_cast<TcxCustomTextEdit*>(GetOwner());
}

void TcxCustomInnerTextEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

// The system edit forgets nothing of the echo over a recreated window: the
// character is kept here and given to every new window.
void TcxCustomInnerTextEdit::SetEchoMode(bool APassword) {
  if (FPasswordEcho == APassword) return;
  FPasswordEcho = APassword;
  SetPasswordChar(APassword ? '*' : 0);
}

void TcxCustomInnerTextEdit::LockBounds(bool ALock) {
  if (ALock)
    ++FBoundsLock;
  else if (FBoundsLock > 0)
    --FBoundsLock;
}

void TcxCustomInnerTextEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FCreating || FBoundsLock > 0) return;
  TcxInnerEditRouting::SetBounds(GetContainer(),
                                 [&] { TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight); });
}

bool TcxCustomInnerTextEdit::CanFocus() {
  TcxCustomTextEdit* container = GetContainer();
  return container ? container->CanFocus() : TCustomEdit::CanFocus();
}

TPopupMenu* TcxCustomInnerTextEdit::GetPopupMenu() const {
  TcxCustomTextEdit* container = GetContainer();
  return container ? container->GetPopupMenu() : TCustomEdit::GetPopupMenu();
}

bool TcxCustomInnerTextEdit::ExecuteAction(TBasicAction* Action) {
  if (TCustomEdit::ExecuteAction(Action)) return true;
  TcxCustomTextEdit* container = GetContainer();
  return container && container->GetDataBinding()->ExecuteAction(Action);
}

bool TcxCustomInnerTextEdit::UpdateAction(TBasicAction* Action) {
  if (TCustomEdit::UpdateAction(Action)) return true;
  TcxCustomTextEdit* container = GetContainer();
  return container && container->GetDataBinding()->UpdateAction(Action);
}

void TcxCustomInnerTextEdit::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  static const DWORD kAlignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style &= ~(ES_LEFT | ES_RIGHT | ES_CENTER | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME);
  Params.Style |= kAlignments[FAlignment] | ES_AUTOHSCROLL;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TcxCustomInnerTextEdit::CreateWnd() {
  if (TcxCustomTextEdit* container = GetContainer()) container->ClearInnerControlRegion();
  TCustomEdit::CreateWnd();
  UpdateMargins();
}

void TcxCustomInnerTextEdit::UpdateMargins() {
  if (HandleAllocated())
    SendMessageA(GetHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, 1));
}

void TcxCustomInnerTextEdit::Click() {
  TCustomEdit::Click();
  if (TcxCustomTextEdit* container = GetContainer()) container->Click();
}

void TcxCustomInnerTextEdit::DblClick() {
  TCustomEdit::DblClick();
  if (TcxCustomTextEdit* container = GetContainer()) container->DblClick();
}

// The system edit keeps the wheel to itself rather than passing it to its
// parent, so the editor would never see it: it is offered to the editor here.
bool TcxCustomInnerTextEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  TcxCustomTextEdit* container = GetContainer();
  return container && container->DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxCustomInnerTextEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomEdit::MouseDown(Button, Shift, X, Y);
  TcxInnerEditRouting::MouseDown(this, GetContainer(), Button, Shift, X, Y);
}

void TcxCustomInnerTextEdit::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomEdit::MouseMove(Shift, X, Y);
  TcxInnerEditRouting::MouseMove(this, GetContainer(), Shift, X, Y);
}

void TcxCustomInnerTextEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomEdit::MouseUp(Button, Shift, X, Y);
  TcxInnerEditRouting::MouseUp(this, GetContainer(), Button, Shift, X, Y);
}

void TcxCustomInnerTextEdit::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  if (TcxCustomTextEdit* container = GetContainer())
    container->DragOver(Source, X + GetLeft(), Y + GetTop(), State, Accept);
}

void TcxCustomInnerTextEdit::DragDrop(TObject* Source, int X, int Y) {
  if (TcxCustomTextEdit* container = GetContainer()) container->DragDrop(Source, X + GetLeft(), Y + GetTop());
}

// ---- Keys: the container first ----

void TcxCustomInnerTextEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TcxInnerEditRouting::RouteKey(
      KeyEatenByContainer, Key, [&] { TcxInnerEditRouting::KeyDown(GetContainer(), Key, Shift); },
      [&] { TCustomEdit::KeyDown(Key, Shift); });
}

void TcxCustomInnerTextEdit::KeyPress(char& Key) {
  KeyEatenByContainer = false;
  if (Key == '\t') Key = 0;
  TcxCustomTextEdit* container = GetContainer();
  if (container) {
    container->KeyPress(Key);
    if (Key == '\r' &&
        (container->GetIsInplace() || !container->BeepOnEnter || container->SwallowNextEnter)) {
      container->SwallowNextEnter = false;
      Key = 0;
    }
  }
  if (Key != 0)
    TCustomEdit::KeyPress(Key);
  else
    KeyEatenByContainer = true;
}

void TcxCustomInnerTextEdit::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_TAB) Key = 0;
  TcxInnerEditRouting::RouteKey(
      KeyEatenByContainer, Key, [&] { TcxInnerEditRouting::KeyUp(GetContainer(), Key, Shift); },
      [&] { TCustomEdit::KeyUp(Key, Shift); });
}

// A change of letter case alone counts as none: the window case-converts
// what it is typed, and a completion shown stays.
void TcxCustomInnerTextEdit::SaveState(TPrevState& State) {
  Variant value;
  FHelper->GetEditValue(value);
  State.Text = VarToStr(value);
  State.SelStart = FHelper->GetSelStart();
  State.SelLength = FHelper->GetSelLength();
}

bool TcxCustomInnerTextEdit::StateChanged(const TPrevState& State) {
  if (!HandleAllocated()) return true;
  if (State.SelStart != FHelper->GetSelStart() || State.SelLength != FHelper->GetSelLength()) return true;
  Variant value;
  FHelper->GetEditValue(value);
  return !SameText(State.Text, VarToStr(value));
}

// ---- Messages ----

void TcxCustomInnerTextEdit::WndProc(TMessage& Message) {
  TcxCustomTextEdit* container = GetContainer();
  if (!container) return TCustomEdit::WndProc(Message);
  switch (Message.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    // The container is what an automatic drag takes.
    if (container->GetDragMode() == dmAutomatic) return container->BeginAutoDrag();
    break;
  case WM_KEYDOWN:
    return WMKeyDown(Message);
  case WM_CHAR:
    return WMChar(Message);
  case WM_IME_CHAR:
    return WMImeChar(Message);
  case WM_GETDLGCODE:
    return WMGetDlgCode(Message);
  case WM_CUT:
  case WM_PASTE:
  case WM_CLEAR:
    return WMClipboard(Message);
  case WM_CONTEXTMENU:
    if (container->IsInnerEditShown()) TCustomEdit::WndProc(Message);
    return;
  case WM_ERASEBKGND:
    Message.Result = 1;
    return;
  case WM_NCPAINT:
    Message.Result = 0;
    return;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    return WMFocus(Message);
  case WM_SIZE:
    TCustomEdit::WndProc(Message);
    UpdateMargins();
    return;
  case CM_MOUSELEAVE:
    TCustomEdit::WndProc(Message);
    container->UpdateMouseStateAtCursor(false);
    return;
  }
  TCustomEdit::WndProc(Message);
}

void TcxCustomInnerTextEdit::WMKeyDown(TMessage& Message) {
  TcxCustomTextEdit* container = GetContainer();
  const WORD key = static_cast<WORD>(Message.WParam);
  const TShiftState shift = KeyDataToShiftState(Message.LParam);
  IcxTextEditLookupData* lookup = container->GetEditLookupData();
  if (container->HasPopupWindow() && container->GetActiveProperties()->IsPopupKey(key, shift) && lookup &&
      lookup->GetList() && lookup->GetList()->HandleAllocated()) {
    Message.Result = SendMessageA(lookup->GetList()->GetHandle(), WM_KEYDOWN, Message.WParam, Message.LParam);
    if (Message.Result == 0) return;
  }
  TPrevState state;
  SaveState(state);
  KeyEatenByContainer = false;
  TcxControlGuard guard(container);
  TCustomEdit::WndProc(Message);
  if (!guard.Alive() || KeyEatenByContainer || StateChanged(state) || Message.WParam == 0) return;
  WORD unhandled = static_cast<WORD>(Message.WParam);
  if (container->OnUnhandledKey) container->OnUnhandledKey(container, unhandled, shift);
}

void TcxCustomInnerTextEdit::WMChar(TMessage& Message) {
  TcxCustomTextEdit* container = GetContainer();
  TPrevState state;
  SaveState(state);
  KeyEatenByContainer = false;
  TcxControlGuard guard(container);
  TCustomEdit::WndProc(Message);
  if (!guard.Alive()) return;
  if (FImeCharCount > 0 && --FImeCharCount == 0 && container->GetAutoCompleteSelection()) {
    SetSelStart(FHelper->SavedSelStart);
    SetSelLength(FHelper->SavedSelLength);
  }
  container->SetLookupTextSetting(false);
  if (!KeyEatenByContainer && StateChanged(state)) container->SetAutoCompleteSelection(false);
}

void TcxCustomInnerTextEdit::WMImeChar(TMessage& Message) {
  const BYTE lead = HIBYTE(LOWORD(Message.WParam));
  FImeByte = static_cast<char>(LOBYTE(LOWORD(Message.WParam)));
  FImeCharCount = lead != 0 && IsDBCSLeadByte(lead) ? 2 : 1;
  FHelper->SavedSelStart = GetSelStart();
  FHelper->SavedSelLength = GetSelLength();
  DefaultHandler(Message);
}

void TcxCustomInnerTextEdit::WMGetDlgCode(TMessage& Message) {
  TCustomEdit::WndProc(Message);
  TcxCustomTextEdit* container = GetContainer();
  Message.Result |= DLGC_WANTCHARS;
  if (GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
  if (container->GetIsInplace() || container->HasPopupWindow()) Message.Result |= DLGC_WANTALLKEYS;
}

void TcxCustomInnerTextEdit::WMClipboard(TMessage& Message) {
  TcxCustomTextEdit* container = GetContainer();
  if (Message.Msg == WM_CLEAR) return TcxInnerEditRouting::ClearSelection(container);
  Message.Result = container->Perform(Message.Msg, 0, 0);
}

void TcxCustomInnerTextEdit::WMFocus(TMessage& Message) {
  TCustomEdit::WndProc(Message);
  TcxInnerEditRouting::FocusChanged(this, GetContainer(), Message);
}

// ---- The character under the caret ----

int TcxCustomInnerTextEdit::GetCaretCharIndex() {
  if (!HandleAllocated()) return 0;
  const int length = GetWindowTextLengthA(GetHandle());
  if (length == 0) return 0;
  POINT caret;
  GetCaretPos(&caret);
  auto position = [this](int AIndex) {
    return static_cast<short>(LOWORD(SendMessageA(GetHandle(), EM_POSFROMCHAR, AIndex, 0)));
  };
  int lower = 0;
  int upper = length - 1;
  while (upper - lower >= 2) {
    const int middle = (lower + upper) / 2;
    if (position(middle) < caret.x)
      lower = middle;
    else
      upper = middle;
  }
  if (position(lower) == caret.x) return lower;
  if (position(upper) == caret.x) return upper;
  return upper + 1;
}
