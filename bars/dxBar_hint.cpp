// The shared hint window and the managers' hint timing.
#include "dxBar.h"

#include "dxBarCommon.h"

#include "ActnList.h"
#include "Forms.h"

namespace {

struct THintState {
  std::unique_ptr<TdxBarHintWindow> Window;
  String Text;
  TdxBarManager* Owner = nullptr;
  bool Shown = false;
  UINT_PTR DelayTimer = 0;
  UINT_PTR ReshowTimer = 0;
  bool ReshowAtOnce = false;
};

THintState& Hint() {
  static THintState state;
  return state;
}

void StopTimer(UINT_PTR& timer) {
  if (timer) KillTimer(nullptr, timer);
  timer = 0;
}

bool HintVisible() {
  return Hint().Window && Hint().Window->HandleAllocated() && IsWindowVisible(Hint().Window->GetHandle());
}

void HideHint() {
  if (HintVisible()) ShowWindow(Hint().Window->GetHandle(), SW_HIDE);
}

void CALLBACK HideTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  StopTimer(Hint().DelayTimer);
  HideHint();
}

// A selected control's own hint shows while the pointer rests on it (and its
// window is not in menu mode); the text given is shown as it is.
bool SelectedControlHints(const TdxBarManager* manager) {
  TdxBarItemControl* control = manager->SelectedItemControl;
  if (!control) return false;
  auto* toolbar = dynamic_cast<TdxBarControl*>(control->GetBarControl());
  return !(toolbar && toolbar->GetActive() && toolbar->GetMenuMode());
}

String SelectedControlHint(const TdxBarManager* manager) {
  TdxBarItemControl* control = manager->SelectedItemControl;
  TCustomdxBarControl* window = control->GetBarControl();
  if (!window->HandleAllocated()) return String();
  POINT cursor;
  GetCursorPos(&cursor);
  ::ScreenToClient(window->GetHandle(), &cursor);
  if (window->ControlAtPos(cursor) != control || !control->GetItem()) return String();
  return manager->GetControlHintText(control->GetItem(), control->GetHint(), control->GetEnabled());
}

void ActivateHint() {
  THintState& hint = Hint();
  if (!hint.Owner) return;
  if (hint.Text.empty() && SelectedControlHints(hint.Owner)) {
    const String text = SelectedControlHint(hint.Owner);
    if (text.empty()) return HideHint();
    hint.Text = text;
  }
  if (hint.Text.empty()) return;
  if (!hint.Window) hint.Window = std::make_unique<TdxBarHintWindow>(nullptr);
  POINT pt;
  GetCursorPos(&pt);
  pt.y += 20;
  try {
    hint.Window->ActivateHint(pt, hint.Text, hint.Owner);
  } catch (...) {
    Application->HandleException(hint.Window.get());
    return;
  }
  hint.Shown = true;
  StopTimer(hint.DelayTimer);
  hint.DelayTimer = SetTimer(nullptr, 0, 10000, HideTimerProc);
}

void CALLBACK DelayTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  StopTimer(Hint().DelayTimer);
  if (Hint().Owner && !Hint().Owner->IsDestroying()) ActivateHint();
}

void CALLBACK ReshowTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  StopTimer(Hint().ReshowTimer);
  Hint().ReshowAtOnce = false;
}

} // namespace

TdxBarHintWindow* dxBarHintWindow() {
  return Hint().Window.get();
}

void ReleaseHintOf(TdxBarManager* Manager) {
  THintState& hint = Hint();
  if (hint.Owner == Manager) {
    StopTimer(hint.DelayTimer);
    HideHint();
    hint.Owner = nullptr;
  }
  if (dxBarManagerList()->GetCount() > 0) return;
  StopTimer(hint.ReshowTimer);
  hint.ReshowAtOnce = false;
  hint.Window.reset();
}

void TdxBarManager::ShowHint(bool Show, const String& Text) {
  if (IsCustomizing() || !FShowHint) return;
  THintState& hint = Hint();
  hint.Text = Text;
  hint.Shown = false;
  StopTimer(hint.DelayTimer);
  if (Show && (!Text.empty() || SelectedControlHints(this))) {
    hint.Owner = this;
    if (HintVisible() || hint.ReshowAtOnce)
      ActivateHint();
    else
      hint.DelayTimer = SetTimer(nullptr, 0, 1000, DelayTimerProc);
    return;
  }
  if (!HintVisible()) return;
  HideHint();
  if (!Show) return;
  StopTimer(hint.ReshowTimer);
  hint.ReshowTimer = SetTimer(nullptr, 0, 400, ReshowTimerProc);
  hint.ReshowAtOnce = true;
}

String TdxBarManager::GetControlHintText(const TdxBarItem* Item, const String& ControlHint,
                                         bool Enabled) const {
  String text = ControlHint.substr(0, ControlHint.find('|'));
  if (auto* action = dynamic_cast<TCustomAction*>(Item->GetAction()); action && !action->DoHint(text))
    return String();
  if (text.empty() || (!Enabled && !ShowHintForDisabledItems)) return String();
  if ((FShowShortCutInHint || Application->HintShortCuts) && Item->GetShortCut())
    text += " (" + ShortCutToText(Item->GetShortCut()) + ")";
  return text;
}

// ---- The window ----

TdxBarHintWindow::TdxBarHintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  GetCanvas()->GetBrush()->SetStyle(bsClear);
}

void TdxBarHintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_DISABLED;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TdxBarHintWindow::ActivateHint(POINT Pt, const String& Text, TdxBarManager* BarManager) {
  SetText(Text);
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!BarManager->GetUseSystemFont())
    GetFont()->Assign(BarManager->GetFont());
  else if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    HFONT status = CreateFontIndirectA(&metrics.lfStatusFont);
    GetFont()->SetHandle(status);
    DeleteObject(status);
  } else
    GetFont()->SetSize(8);
  GetFont()->SetColor(clInfoText);
  const TRect work = GetWorkAreaAtPoint(Pt);
  TRect r(0, 0, work.Width(), 0);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  DrawTextA(dc, Text.c_str(), static_cast<int>(Text.size()), &r, DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int width = r.Width() + 6, height = r.Height() + 6;
  int left = Pt.x, top = Pt.y;
  if (left + width > work.right) left = work.right - width;
  if (top + height > work.bottom) top = Pt.y - 50;
  left = std::max<int>(left, work.left);
  top = std::max<int>(top, work.top);
  SetBounds(left, top, width, height);
  InvalidateRect(GetHandle(), nullptr, TRUE);
  SetWindowPos(GetHandle(), HWND_TOPMOST, left, top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TdxBarHintWindow::Paint() {
  TRect r = GetClientRect();
  HDC dc = GetCanvas()->GetHandle();
  DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
  InflateRect(&r, -1, -1);
  r.left += 2;
  r.top += 2;
  GetCanvas()->SetFont(GetFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
  const String text = GetText();
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_NOPREFIX | DT_NOCLIP | DT_WORDBREAK);
}
