#include "cxMemo.h"

#include "Forms.h"

#include <algorithm>

namespace {

// A line feed followed by a carriage return is no line break the system
// edit knows: each such pair becomes two.
String RewriteLineFeedReturns(const String& AText) {
  String result;
  result.reserve(AText.size());
  for (size_t i = 0; i < AText.size(); ++i) {
    if (AText[i] == '\n' && i + 1 < AText.size() && AText[i + 1] == '\r') {
      result += "\r\n\r\n";
      ++i;
    } else {
      result += AText[i];
    }
  }
  return result;
}

struct TMemoState {
  String Text;
  int SelStart = 0;
  int SelLength = 0;
};

TMemoState StateOf(TCustomEdit* AEdit) {
  return {AEdit->GetText(), AEdit->GetSelStart(), AEdit->GetSelLength()};
}

} // namespace

// ---- TcxCustomInnerMemoHelper ----

TWinControl* TcxCustomInnerMemoHelper::GetControl() {
  return FMemo;
}

TcxContainer* TcxCustomInnerMemoHelper::GetControlContainer() {
  return FMemo->GetContainer();
}

bool TcxCustomInnerMemoHelper::GetReadOnly() {
  return FMemo->GetReadOnly();
}

void TcxCustomInnerMemoHelper::SetReadOnly(bool Value) {
  FMemo->SetReadOnly(Value);
}

void TcxCustomInnerMemoHelper::SetOnChange(TNotifyEvent Value) {
  FMemo->OnChange = std::move(Value);
}

void TcxCustomInnerMemoHelper::GetEditValue(Variant& Value) {
  Value = Variant(FMemo->GetText());
}

void TcxCustomInnerMemoHelper::SetEditValue(const Variant& Value) {
  FMemo->SetTextSilently(Value.IsNull() ? String() : VarToStr(Value));
}

void TcxCustomInnerMemoHelper::LockBounds(bool ALock) {
  FMemo->LockBounds(ALock);
}

void TcxCustomInnerMemoHelper::SafelySetFocus() {
  const bool autoSelect = FMemo->AutoSelectOnEnter;
  FMemo->AutoSelectOnEnter = false;
  try {
    FMemo->SetFocus();
  } catch (...) {
    FMemo->AutoSelectOnEnter = autoSelect;
    throw;
  }
  FMemo->AutoSelectOnEnter = autoSelect;
}

void TcxCustomInnerMemoHelper::CopyToClipboard() {
  if (FMemo->HandleAllocated()) SendMessageA(FMemo->GetHandle(), WM_COPY, 0, 0);
}

TAlignment TcxCustomInnerMemoHelper::GetAlignment() {
  return FMemo->Alignment;
}

void TcxCustomInnerMemoHelper::SetAlignment(TAlignment Value) {
  if (FMemo->Alignment == Value) return;
  FMemo->Alignment = Value;
  if (FMemo->HandleAllocated()) FMemo->RecreateWnd();
}

bool TcxCustomInnerMemoHelper::GetAutoSelect() {
  return FMemo->AutoSelectOnEnter;
}

void TcxCustomInnerMemoHelper::SetAutoSelect(bool Value) {
  FMemo->AutoSelectOnEnter = Value;
}

TEditCharCase TcxCustomInnerMemoHelper::GetCharCase() {
  return FMemo->CharCase;
}

void TcxCustomInnerMemoHelper::SetCharCase(TEditCharCase Value) {
  FMemo->SetCharCase(Value);
}

bool TcxCustomInnerMemoHelper::GetHideSelection() {
  return FMemo->GetHideSelection();
}

void TcxCustomInnerMemoHelper::SetHideSelection(bool Value) {
  FMemo->SetHideSelection(Value);
}

bool TcxCustomInnerMemoHelper::GetKeyEatenByContainer() {
  return FMemo->KeyEatenByContainer;
}

void TcxCustomInnerMemoHelper::SetKeyEatenByContainer(bool Value) {
  FMemo->KeyEatenByContainer = Value;
}

int TcxCustomInnerMemoHelper::GetMaxLength() {
  return FMemo->GetMaxLength();
}

void TcxCustomInnerMemoHelper::SetMaxLength(int Value) {
  FMemo->SetMaxLength(Value);
}

bool TcxCustomInnerMemoHelper::GetOEMConvert() {
  return FMemo->GetOEMConvert();
}

void TcxCustomInnerMemoHelper::SetOEMConvert(bool Value) {
  FMemo->SetOEMConvert(Value);
}

int TcxCustomInnerMemoHelper::GetSelLength() {
  return FMemo->GetSelLength();
}

void TcxCustomInnerMemoHelper::SetSelLength(int Value) {
  FMemo->SetSelLength(Value);
}

int TcxCustomInnerMemoHelper::GetSelStart() {
  return FMemo->GetSelStart();
}

void TcxCustomInnerMemoHelper::SetSelStart(int Value) {
  FMemo->SetSelStart(Value);
}

String TcxCustomInnerMemoHelper::GetSelText() {
  return FMemo->GetSelText();
}

void TcxCustomInnerMemoHelper::SetSelText(const String& Value) {
  FMemo->SetSelText(Value);
}

void TcxCustomInnerMemoHelper::SelectAll() {
  FMemo->SelectAll();
}

// ---- TcxCustomInnerMemo ----

TcxCustomInnerMemo::TcxCustomInnerMemo(TComponent* AOwner) : TMemo(AOwner) {
  SetTabStop(false);
  BorderStyle = bsNone;
  SetCursor(crIBeam);
  SetParentColor(true);
  SetParentFont(true);
  ControlStyle.Include(csDoubleClicks);
  FHelper = std::make_unique<TcxCustomInnerMemoHelper>(this);
  FCreating = false;
}

TcxCustomInnerMemo::~TcxCustomInnerMemo() {
  FHelper.reset();
}

TcxCustomMemo* TcxCustomInnerMemo::GetContainer() const {
  return dynamic_cast<TcxCustomMemo*>(GetParent());
}

void TcxCustomInnerMemo::LockBounds(bool ALock) {
  if (ALock)
    ++FBoundsLock;
  else if (FBoundsLock > 0)
    --FBoundsLock;
}

void TcxCustomInnerMemo::SetTextSilently(const String& Text) {
  TFlagScope internal(FInternalTextSetting);
  SetText(Text);
}

void TcxCustomInnerMemo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FCreating || FBoundsLock > 0) return;
  TcxInnerEditRouting::SetBounds(GetContainer(), [&] { TMemo::SetBounds(ALeft, ATop, AWidth, AHeight); });
}

bool TcxCustomInnerMemo::CanFocus() {
  TcxCustomMemo* container = GetContainer();
  return container ? container->CanFocus() : TMemo::CanFocus();
}

TPopupMenu* TcxCustomInnerMemo::GetPopupMenu() const {
  TcxCustomMemo* container = GetContainer();
  return container ? container->GetPopupMenu() : TMemo::GetPopupMenu();
}

bool TcxCustomInnerMemo::ExecuteAction(TBasicAction* Action) {
  if (TMemo::ExecuteAction(Action)) return true;
  TcxCustomMemo* container = GetContainer();
  return container && container->GetDataBinding()->ExecuteAction(Action);
}

bool TcxCustomInnerMemo::UpdateAction(TBasicAction* Action) {
  if (TMemo::UpdateAction(Action)) return true;
  TcxCustomMemo* container = GetContainer();
  return container && container->GetDataBinding()->UpdateAction(Action);
}

void RemoveMemoRedrawStyles(TCreateParams& Params, TScrollStyle AScrollBars, bool AWordWrap) {
  Params.WindowClass.style &= ~static_cast<UINT>(CS_VREDRAW);
  if (AScrollBars == ssHorizontal || AScrollBars == ssBoth || !AWordWrap)
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW);
}

void TcxCustomInnerMemo::CreateParams(TCreateParams& Params) {
  TMemo::CreateParams(Params);
  RemoveMemoRedrawStyles(Params, ScrollBars, WordWrap);
}

void TcxCustomInnerMemo::CreateWnd() {
  TcxCustomMemo* container = GetContainer();
  if (container) container->ClearInnerControlRegion();
  TMemo::CreateWnd();
  if (container) container->AdjustInnerScrollBars();
}

void TcxCustomInnerMemo::Click() {
  TMemo::Click();
  if (TcxCustomMemo* container = GetContainer()) container->Click();
}

void TcxCustomInnerMemo::DblClick() {
  TMemo::DblClick();
  if (TcxCustomMemo* container = GetContainer()) container->DblClick();
}

void TcxCustomInnerMemo::DoEnter() {
  TMemo::DoEnter();
  if (AutoSelectOnEnter) SelectAll();
}

void TcxCustomInnerMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TMemo::MouseDown(Button, Shift, X, Y);
  TcxInnerEditRouting::MouseDown(this, GetContainer(), Button, Shift, X, Y);
}

void TcxCustomInnerMemo::MouseMove(TShiftState Shift, int X, int Y) {
  TMemo::MouseMove(Shift, X, Y);
  TcxInnerEditRouting::MouseMove(this, GetContainer(), Shift, X, Y);
}

void TcxCustomInnerMemo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TMemo::MouseUp(Button, Shift, X, Y);
  TcxInnerEditRouting::MouseUp(this, GetContainer(), Button, Shift, X, Y);
}

// ---- Keys: the container first; Enter is text here, Tab when wanted ----

void TcxCustomInnerMemo::KeyDown(WORD& Key, TShiftState Shift) {
  TcxInnerEditRouting::RouteKey(
      KeyEatenByContainer, Key, [&] { TcxInnerEditRouting::KeyDown(GetContainer(), Key, Shift); },
      [&] { TMemo::KeyDown(Key, Shift); });
}

void TcxCustomInnerMemo::KeyPress(char& Key) {
  if (Key == '\t' && !WantTabs) Key = 0;
  TcxInnerEditRouting::RouteKey(
      KeyEatenByContainer, Key, [&] { TcxInnerEditRouting::KeyPress(GetContainer(), Key); },
      [&] { TMemo::KeyPress(Key); });
}

void TcxCustomInnerMemo::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_TAB && !WantTabs) Key = 0;
  TcxInnerEditRouting::RouteKey(
      KeyEatenByContainer, Key, [&] { TcxInnerEditRouting::KeyUp(GetContainer(), Key, Shift); },
      [&] { TMemo::KeyUp(Key, Shift); });
}

// ---- Messages ----

void TcxCustomInnerMemo::WndProc(TMessage& Message) {
  TcxCustomMemo* container = GetContainer();
  if (!container) return TMemo::WndProc(Message);
  switch (Message.Msg) {
  case WM_KEYDOWN:
    return WMKeyDown(Message);
  case WM_GETDLGCODE:
    return WMGetDlgCode(Message);
  case WM_CUT:
  case WM_PASTE:
    Message.Result = container->Perform(Message.Msg, 0, 0);
    return;
  case WM_CLEAR:
    return WMClear(Message);
  case WM_ERASEBKGND:
    return WMEraseBkgnd(Message);
  case WM_NCPAINT:
    return WMNCPaint(Message);
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    return WMFocus(Message);
  case WM_SETFONT:
    TMemo::WndProc(Message);
    if (container->GetIsInplace())
      SendMessageA(GetHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    return;
  case WM_SETTEXT:
    return WMSetText(Message);
  case EM_REPLACESEL:
    return WMReplaceSel(Message);
  case WM_WINDOWPOSCHANGING:
    TMemo::WndProc(Message);
    container->AdjustInnerScrollBars();
    return;
  case WM_WINDOWPOSCHANGED:
    container->AdjustInnerScrollBars();
    TMemo::WndProc(Message);
    return;
  case CM_MOUSELEAVE:
    TMemo::WndProc(Message);
    container->UpdateMouseStateAtCursor(false);
    return;
  }
  TMemo::WndProc(Message);
}

void TcxCustomInnerMemo::WMKeyDown(TMessage& Message) {
  TcxCustomMemo* container = GetContainer();
  const TShiftState shift = KeyDataToShiftState(Message.LParam);
  const TMemoState before = StateOf(this);
  KeyEatenByContainer = false;
  TcxControlGuard guard(container);
  TMemo::WndProc(Message);
  if (!guard.Alive()) return;
  container->PostUpdateScrollBars();
  if (KeyEatenByContainer || Message.WParam == 0 || Message.WParam == VK_UP || Message.WParam == VK_DOWN)
    return;
  const TMemoState after = StateOf(this);
  if (before.Text != after.Text || before.SelStart != after.SelStart || before.SelLength != after.SelLength)
    return;
  WORD unhandled = static_cast<WORD>(Message.WParam);
  if (container->OnUnhandledKey) container->OnUnhandledKey(container, unhandled, shift);
}

void TcxCustomInnerMemo::WMGetDlgCode(TMessage& Message) {
  TMemo::WndProc(Message);
  if (GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
}

void TcxCustomInnerMemo::WMClear(TMessage& Message) {
  TcxCustomMemo* container = GetContainer();
  if (container->IsClearing()) return TMemo::WndProc(Message);
  TcxInnerEditRouting::ClearSelection(container);
}

// The system edit paints its rows itself; only the band below the last
// whole row would keep what was there before.
void TcxCustomInnerMemo::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
  TcxCustomMemo* container = GetContainer();
  const int lineHeight = container->GetcxCanvas()->TextHeight("Zg");
  if (lineHeight <= 0) return;
  RECT client;
  ::GetClientRect(GetHandle(), &client);
  const int lines = std::min(static_cast<int>(client.bottom / lineHeight), GetLines()->GetCount());
  RECT band = client;
  band.top = lines * lineHeight;
  if (band.top >= band.bottom) return;
  HBRUSH brush = CreateSolidBrush(ColorToRGB(GetColor()));
  FillRect(reinterpret_cast<HDC>(Message.WParam), &band, brush);
  DeleteObject(brush);
}

// The native bars stay working but are never drawn: the editor's own bars
// lie over them.
void TcxCustomInnerMemo::WMNCPaint(TMessage& Message) {
  if (!IsScrollBarInfoAvailable()) return TMemo::WndProc(Message);
  const HWND wnd = GetHandle();
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  const LONG_PTR bars = style & (WS_HSCROLL | WS_VSCROLL);
  SetWindowLongPtrA(wnd, GWL_STYLE, style & ~bars);
  TMemo::WndProc(Message);
  SetWindowLongPtrA(wnd, GWL_STYLE, GetWindowLongPtrA(wnd, GWL_STYLE) | bars);
  if (ScrollBars != ssBoth) return;
  SCROLLBARINFO h{};
  SCROLLBARINFO v{};
  h.cbSize = v.cbSize = sizeof(SCROLLBARINFO);
  const DWORD hidden = STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  if (!cxGetScrollBarInfo(wnd, OBJID_HSCROLL, &h) || !cxGetScrollBarInfo(wnd, OBJID_VSCROLL, &v) ||
      (h.rgstate[0] & hidden) || (v.rgstate[0] & hidden))
    return;
  RECT window;
  GetWindowRect(wnd, &window);
  RECT corner{v.rcScrollBar.left, h.rcScrollBar.top, v.rcScrollBar.right, h.rcScrollBar.bottom};
  OffsetRect(&corner, -window.left, -window.top);
  HDC dc = GetWindowDC(wnd);
  FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
  ReleaseDC(wnd, dc);
}

void TcxCustomInnerMemo::WMFocus(TMessage& Message) {
  TMemo::WndProc(Message);
  TcxInnerEditRouting::FocusChanged(this, GetContainer(), Message);
}

void TcxCustomInnerMemo::WMSetText(TMessage& Message) {
  TMemo::WndProc(Message);
  if (FInternalTextSetting) return;
  const char* text = reinterpret_cast<const char*>(Message.LParam);
  TFlagScope internal(FInternalTextSetting);
  GetContainer()->SetEditValue(Variant(String(text ? text : "")));
}

void TcxCustomInnerMemo::WMReplaceSel(TMessage& Message) {
  const char* text = reinterpret_cast<const char*>(Message.LParam);
  const String rewritten = RewriteLineFeedReturns(text ? String(text) : String());
  const LPARAM original = Message.LParam;
  Message.LParam = reinterpret_cast<LPARAM>(rewritten.c_str());
  TMemo::WndProc(Message);
  Message.LParam = original;
  GetContainer()->SetInternalEditValue(Variant(GetText()));
}
