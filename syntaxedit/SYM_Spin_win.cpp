#include "SYM_Spin.h"

#include <algorithm>

namespace {
constexpr UINT kInitRepeatPause = 400;
constexpr UINT kRepeatPause = 100;
} // namespace

// --- Repeating button ----------------------------------------------------------------

void TTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (!TimeBtnState.Contains(tbAllowTimer)) return;
  if (!FRepeatTimer) {
    FRepeatTimer = new TTimer(this);
    FRepeatTimer->SetOnTimer([this](TObject*) { TimerExpired(); });
  }
  FRepeatTimer->SetInterval(kInitRepeatPause);
  FRepeatTimer->SetEnabled(true);
}

void TTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TTimerSpeedButton::TimerExpired() {
  FRepeatTimer->SetInterval(kRepeatPause);
  if (!(GetKeyState(VK_LBUTTON) & 0x8000) || !MouseCapture()) return;
  try {
    Click();
  } catch (...) {
    FRepeatTimer->SetEnabled(false);
    throw;
  }
}

void TTimerSpeedButton::Paint() {
  TSpeedButton::Paint();
  if (!TimeBtnState.Contains(tbFocusRect)) return;
  RECT r{3, 3, GetWidth() - 3, GetHeight() - 3};
  if (GetDown() || (GetKeyState(VK_LBUTTON) & 0x8000 && MouseCapture())) OffsetRect(&r, 1, 1);
  DrawFocusRect(GetCanvas()->GetHandle(), &r);
}

// --- Spin button ---------------------------------------------------------------------

TTimerSpeedButton* TSpinButton::NewButton(const char* glyph) {
  auto* button = new TTimerSpeedButton(this);
  button->SetParent(this);
  TBitmap picture;
  picture.LoadFromResourceName(GetModuleHandleA(nullptr), glyph);
  button->SetGlyph(&picture);
  button->TimeBtnState.Include(tbAllowTimer);
  button->OnClick = [this](TObject* sender) { BtnClick(sender); };
  button->OnMouseDown = [this](TObject* sender, TMouseButton b, TShiftState, int, int) {
    BtnMouseDown(sender, b);
  };
  return button;
}

TSpinButton::TSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle.Exclude(csAcceptsControls);
  ControlStyle.Include(csFramed);
  ControlStyle.Include(csOpaque);
  SetTabStop(false);
  FUpButton = NewButton("SEM_SPINUP");
  FDownButton = NewButton("SEM_SPINDOWN");
  FFocusedButton = FUpButton;
  SetBounds(0, 0, 20, 25);
}

void TSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, std::max(AWidth, 15), AHeight);
  Arrange();
}

void TSpinButton::Arrange() {
  if (!FUpButton || !FDownButton) return;
  const int half = GetHeight() / 2;
  FUpButton->SetBounds(0, 0, GetWidth(), half);
  FDownButton->SetBounds(0, half - 1, GetWidth(), GetHeight() - half + 1);
}

void TSpinButton::SetFocusControl(TWinControl* value) {
  FFocusControl = value;
  if (value) value->FreeNotification(this);
}

void TSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TSpinButton::SetFocusBtn(TTimerSpeedButton* button) {
  if (!GetTabStop() || !CanFocus() || button == FFocusedButton) return;
  FFocusedButton->TimeBtnState.Exclude(tbFocusRect);
  FFocusedButton->Invalidate();
  FFocusedButton = button;
  if (Focused()) {
    FFocusedButton->TimeBtnState.Include(tbFocusRect);
    FFocusedButton->Invalidate();
  }
}

void TSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button) {
  if (Button != mbLeft) return;
  SetFocusBtn(static_cast<TTimerSpeedButton*>(Sender));
  if (FFocusControl && FFocusControl->GetTabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (GetTabStop() && CanFocus() && !Focused())
    SetFocus();
}

void TSpinButton::BtnClick(TObject* Sender) {
  if (Sender == FUpButton && OnUpClick) OnUpClick(this);
  if (Sender == FDownButton && OnDownClick) OnDownClick(this);
}

void TSpinButton::KeyDown(WORD& Key, TShiftState Shift) {
  switch (Key) {
  case VK_SPACE:
    FFocusedButton->Click();
    break;
  case VK_UP:
    SetFocusBtn(FUpButton);
    FUpButton->Click();
    break;
  case VK_DOWN:
    SetFocusBtn(FDownButton);
    FDownButton->Click();
    break;
  default:
    TWinControl::KeyDown(Key, Shift);
  }
}

void TSpinButton::WndProc(TMessage& Message) {
  TWinControl::WndProc(Message);
  if (Message.Msg == WM_GETDLGCODE) Message.Result = DLGC_WANTARROWS;
}
