#include "StdCtrls.h"

#include "Forms.h"

#include <windowsx.h>

// ---- Buttons ----

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(true);
  SetParentColor(true);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  FWidth = 75;
  FHeight = 25;
}

void TButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= FOwnerDraw ? BS_OWNERDRAW : (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  FActive = value;
  if (!HandleAllocated()) return;
  TCustomForm* form = GetParentForm(this);
  if (form && form->GetActiveControl() && dynamic_cast<TButton*>(form->GetActiveControl())) return;
  SetButtonStyle(value);
}

void TButton::SetButtonStyle(bool ADefault) {
  if (!HandleAllocated() || FOwnerDraw) return;
  const UINT style = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongA(FHandle, GWL_STYLE) & 0xF) != style) SendMessageA(FHandle, BM_SETSTYLE, style, TRUE);
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this); form && ModalResult != mrNone)
    form->SetModalResult(ModalResult);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CN_COMMAND:
    if (HIWORD(Message.WParam) == BN_CLICKED) Click();
    return;
  case CM_DIALOGKEY:
    if (((Message.WParam == VK_RETURN && FActive) || (Message.WParam == VK_ESCAPE && Cancel)) &&
        KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
      Click();
      Message.Result = 1;
    }
    return;
  case CM_DIALOGCHAR:
    if (IsAccel(static_cast<WORD>(Message.WParam), GetCaption()) && CanFocus()) {
      Click();
      Message.Result = 1;
    }
    return;
  case CM_FOCUSCHANGED: {
    auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
    FActive = dynamic_cast<TButton*>(focused) ? focused == this : FDefault;
    SetButtonStyle(FActive);
    return;
  }
  case CN_DRAWITEM:
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam));
    Message.Result = 1;
    return;
  case WM_GETDLGCODE:
    TButtonControl::WndProc(Message);
    // Enter goes to the dialog key handling, which clicks the active button.
    Message.Result &= ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    return;
  }
  TButtonControl::WndProc(Message);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  FWidth = 97;
  FHeight = 17;
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_3STATE;
  if (Alignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWndFinished() {
  SendMessageA(FHandle, BM_SETCHECK, FState, 0);
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
  if (value == FState) return;
  FState = value;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, FState, 0);
  Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
  case cbUnchecked:
    SetState(AllowGrayed ? cbGrayed : cbChecked);
    break;
  case cbChecked:
    SetState(cbUnchecked);
    break;
  case cbGrayed:
    SetState(cbChecked);
    break;
  }
}

void TCustomCheckBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CN_COMMAND:
    if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
    return;
  case CM_DIALOGCHAR:
    if (IsAccel(static_cast<WORD>(Message.WParam), GetCaption()) && CanFocus()) {
      SetFocus();
      if (Focused()) Toggle();
      Message.Result = 1;
    }
    return;
  }
  TButtonControl::WndProc(Message);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  FWidth = 113;
  FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_RADIOBUTTON;
  if (Alignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
  if (WordWrap) Params.Style |= BS_MULTILINE;
}

void TRadioButton::CreateWndFinished() {
  SendMessageA(FHandle, BM_SETCHECK, FChecked, 0);
}

void TRadioButton::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  SetTabStop(value);
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, value, 0);
  if (!value) return;
  // One radio button of a parent is checked at a time.
  if (TWinControl* parent = GetParent())
    for (int i = 0; i < parent->GetControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(parent->GetControl(i)); other && other != this)
        other->SetChecked(false);
  if (!GetClicksDisabled()) Click();
}

void TRadioButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CN_COMMAND:
    if (HIWORD(Message.WParam) == BN_CLICKED) SetChecked(true);
    return;
  case WM_SETFOCUS:
    // Moving onto a radio button with the arrow keys checks it.
    TButtonControl::WndProc(Message);
    if (GetKeyState(VK_LBUTTON) >= 0 && !FChecked) SetChecked(true);
    return;
  case CM_DIALOGCHAR:
    if (IsAccel(static_cast<WORD>(Message.WParam), GetCaption()) && CanFocus()) {
      SetFocus();
      SetChecked(true);
      Message.Result = 1;
    }
    return;
  }
  TButtonControl::WndProc(Message);
}

// ---- Edits ----

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks};
  SetColor(clWindow);
  SetTabStop(true);
  FWidth = 121;
  FHeight = 21;
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (CharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (CharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (BorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (CharCase == value) return;
  CharCase = value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool value) {
  SetStyleFlag(FHideSelection, value);
}

void TCustomEdit::SetOEMConvert(bool value) {
  SetStyleFlag(FOEMConvert, value);
}

void TCustomEdit::SetStyleFlag(bool& field, bool value) {
  if (field == value) return;
  field = value;
  RecreateWnd();
}

// A password character set before the window existed masks from the start.
void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  // Without a limit the system stops text that is typed or inserted at 32 KB.
  SendMessageA(FHandle, EM_LIMITTEXT, FMaxLength, 0);
  if (FPasswordChar) SendMessageA(FHandle, EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  FReadOnly = value;
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetMaxLength(int value) {
  FMaxLength = value;
  if (HandleAllocated()) SendMessageA(FHandle, EM_LIMITTEXT, value, 0);
}

void TCustomEdit::SetPasswordChar(char value) {
  FPasswordChar = value;
  if (HandleAllocated()) {
    SendMessageA(FHandle, EM_SETPASSWORDCHAR, static_cast<unsigned char>(value), 0);
    Invalidate();
  }
}

int TCustomEdit::GetSelStart() {
  DWORD start = 0;
  SendMessageA(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value) {
  SendMessageA(GetHandle(), EM_SETSEL, value, value);
}

int TCustomEdit::GetSelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value) {
  const int start = GetSelStart();
  SendMessageA(GetHandle(), EM_SETSEL, start, start + value);
}

String TCustomEdit::GetSelText() {
  const String text = GetText();
  const int start = GetSelStart();
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(GetSelLength()));
}

void TCustomEdit::SetSelText(const String& value) {
  SendMessageA(GetHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll() {
  SendMessageA(GetHandle(), EM_SETSEL, 0, -1);
}

bool TCustomEdit::GetModified() {
  return HandleAllocated() && SendMessageA(FHandle, EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool value) {
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETMODIFY, value, 0);
}

void TCustomEdit::CopyToClipboard() {
  SendMessageA(GetHandle(), WM_COPY, 0, 0);
}
void TCustomEdit::CutToClipboard() {
  SendMessageA(GetHandle(), WM_CUT, 0, 0);
}
void TCustomEdit::PasteFromClipboard() {
  SendMessageA(GetHandle(), WM_PASTE, 0, 0);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CN_COMMAND:
    if (HIWORD(Message.WParam) == EN_CHANGE) Change();
    return;
  case CM_TEXTCHANGED:
    // Text set while the window exists already raised EN_CHANGE.
    if (!HandleAllocated()) Change();
    return;
  case WM_SETFOCUS:
    TWinControl::WndProc(Message);
    if (AutoSelect && !(GetWindowLongA(FHandle, GWL_STYLE) & ES_MULTILINE)) SelectAll();
    return;
  }
  TWinControl::WndProc(Message);
}

// The lines of a memo, kept in its window.
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
  int GetCount() const override {
    if (!FMemo->HandleAllocated()) return FText().empty() ? 0 : Split().GetCount();
    const String text = FMemo->GetText();
    if (text.empty()) return 0;
    int count = static_cast<int>(SendMessageA(FMemo->GetHandle(), EM_GETLINECOUNT, 0, 0));
    // A last empty line after a line break is no line of its own.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) --count;
    return count;
  }
  String Get(int index) const override {
    TStringList list = Split();
    if (index < 0 || index >= list.GetCount())
      throw EListError(Format("List index out of bounds (%d)", index));
    return list.Get(index);
  }
  void Put(int index, const String& s) override {
    Modify([&](TStringList& l) { l.Put(index, s); });
  }
  void* GetObject(int) const override { return nullptr; }
  void PutObject(int, void*) override {}
  void Insert(int index, const String& s) override {
    Modify([&](TStringList& l) { l.Insert(index, s); });
  }
  void Delete(int index) override {
    Modify([&](TStringList& l) { l.Delete(index); });
  }
  void Clear() override { FMemo->SetText(String()); }
  int Add(const String& s) override {
    // Appending at the end keeps the caret and scrolls like typing does.
    const String text = FMemo->GetText();
    const bool needBreak =
        !text.empty() && (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0);
    const String addition = (needBreak ? String("\r\n") : String()) + s + "\r\n";
    if (FMemo->HandleAllocated()) {
      const int length = GetWindowTextLengthA(FMemo->GetHandle());
      SendMessageA(FMemo->GetHandle(), EM_SETSEL, length, length);
      SendMessageA(FMemo->GetHandle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(addition.c_str()));
    } else {
      FMemo->SetText(text + addition);
    }
    return GetCount() - 1;
  }

private:
  String FText() const { return FMemo->GetText(); }
  TStringList Split() const {
    TStringList list;
    list.SetText(FMemo->GetText());
    return list;
  }
  template <typename F> void Modify(F change) {
    TStringList list = Split();
    change(list);
    FMemo->SetText(list.GetText());
  }
  TCustomMemo* FMemo;
};

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  FWidth = 185;
  FHeight = 89;
  AutoSelect = false;
}

TCustomMemo::~TCustomMemo() = default;

TStrings* TCustomMemo::GetLines() {
  return FLines.get();
}

void TCustomMemo::SetLines(const TStrings* value) {
  FLines->Assign(*value);
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WordWrap ? ES_AUTOHSCROLL : 0);
  Params.Style |= ES_MULTILINE | (WantReturns ? ES_WANTRETURN : 0);
  if (ScrollBars == ssVertical || ScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (ScrollBars == ssHorizontal || ScrollBars == ssBoth || !WordWrap)
    Params.Style |= WS_HSCROLL * (ScrollBars >= ssHorizontal && ScrollBars != ssVertical);
  if (Alignment == taRightJustify) Params.Style |= ES_RIGHT;
  if (Alignment == taCenter) Params.Style |= ES_CENTER;
}

void TCustomMemo::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key == '\r' && !WantReturns) Key = 0;
}

void TCustomMemo::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(Message);
    Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    if (WantReturns) Message.Result |= DLGC_WANTALLKEYS;
    if (WantTabs) Message.Result |= DLGC_WANTTAB;
    return;
  }
  // Esc and Enter without WantReturns go to the form (cancel, default button).
  if (Message.Msg == CN_KEYDOWN && Message.WParam == VK_ESCAPE) {
    if (TCustomForm* form = GetParentForm(this)) {
      Message.Result = form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam);
      if (Message.Result) return;
    }
  }
  TCustomEdit::WndProc(Message);
}

// ---- Label ----

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle =
      TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
  FWidth = 65;
  FHeight = 17;
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FocusControl) FocusControl = nullptr;
}

void TLabel::DoDrawText(TRect& rect, UINT flags) {
  String text = GetCaption();
  if ((flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar && text == "&"))) text += ' ';
  if (!ShowAccelChar) flags |= DT_NOPREFIX;
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(GetFont());
  HDC dc = canvas->GetHandle();
  if (!GetEnabled()) {
    OffsetRect(&rect, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    OffsetRect(&rect, -1, -1);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
  }
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TLabel::Paint() {
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TCanvas* canvas = GetCanvas();
  TRect rect = GetClientRect();
  if (!FTransparent) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(rect);
  }
  canvas->GetBrush()->SetStyle(bsClear);
  UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | alignments[Alignment];
  if (Layout != tlTop) {
    TRect calc = rect;
    DoDrawText(calc, flags | DT_CALCRECT);
    const int offset =
        Layout == tlBottom ? rect.Height() - calc.Height() : (rect.Height() - calc.Height()) / 2;
    rect.top += offset;
  }
  DoDrawText(rect, flags);
}

void TLabel::AdjustBounds() {
  if (!FAutoSize) return;
  HDC dc = GetDC(nullptr);
  TRect rect = GetClientRect();
  GetCanvas()->SetHandle(dc);
  DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  GetCanvas()->SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  int left = FLeft;
  if (Alignment == taRightJustify) left += FWidth - rect.right;
  if (Alignment == taCenter) left += (FWidth - rect.right) / 2;
  SetBounds(left, FTop, rect.right, rect.bottom);
}

void TLabel::SetAutoSize(bool value) {
  FAutoSize = value;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
  FWordWrap = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  FTransparent = value;
  if (value)
    ControlStyle.Exclude(csOpaque);
  else
    ControlStyle.Include(csOpaque);
  Invalidate();
}

void TLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CM_TEXTCHANGED:
  case CM_FONTCHANGED:
    Invalidate();
    AdjustBounds();
    return;
  case CM_DIALOGCHAR:
    if (FocusControl && GetEnabled() && ShowAccelChar &&
        IsAccel(static_cast<WORD>(Message.WParam), GetCaption()) && FocusControl->CanFocus()) {
      FocusControl->SetFocus();
      Message.Result = 1;
    }
    return;
  }
  TGraphicControl::WndProc(Message);
}

// ---- Group box ----

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle =
      TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetParentColor(true);
  FWidth = 185;
  FHeight = 105;
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  Rect.top += tm.tmHeight;
  InflateRect(&Rect, -1, -1);
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(GetFont());
  const int h = canvas->TextHeight("0");
  TRect r(0, h / 2 - 1, GetWidth(), GetHeight());
  DrawEdge(canvas->GetHandle(), &r, EDGE_ETCHED, BF_RECT);
  const String text = GetCaption();
  if (text.empty()) return;
  TRect textRect(8, 0, 0, h);
  DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_CALCRECT);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->GetBrush()->SetStyle(bsSolid);
  DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE);
}
