#include "CheckLst.h"

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetStyle(lbOwnerDrawFixed);
}

int TCheckListBox::CheckWidth() const {
  return GetSystemMetrics(SM_CXMENUCHECK) + 4;
}

TCheckBoxState TCheckListBox::GetState(int index) const {
  return static_cast<TCheckBoxState>(FItems.at(static_cast<size_t>(index)).state);
}

void TCheckListBox::SetState(int index, TCheckBoxState value) {
  auto& item = FItems.at(static_cast<size_t>(index));
  if (item.state == value) return;
  item.state = value;
  InvalidateCheck(index);
}

bool TCheckListBox::GetItemEnabled(int index) const {
  return FItems.at(static_cast<size_t>(index)).enabled;
}

void TCheckListBox::SetItemEnabled(int index, bool value) {
  FItems.at(static_cast<size_t>(index)).enabled = value;
  InvalidateCheck(index);
}

void TCheckListBox::InvalidateCheck(int index) {
  if (!HandleAllocated()) return;
  RECT r = ItemRect(index);
  InvalidateRect(FHandle, &r, FALSE);
}

void TCheckListBox::ClickCheck() {
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::ToggleClickCheck(int index) {
  if (index < 0 || index >= GetCount() || !GetItemEnabled(index)) return;
  TCheckBoxState state = GetState(index);
  switch (state) {
  case cbUnchecked:
    state = AllowGrayed ? cbGrayed : cbChecked;
    break;
  case cbChecked:
    state = cbUnchecked;
    break;
  case cbGrayed:
    state = cbChecked;
    break;
  }
  SetState(index, state);
  ClickCheck();
}

void TCheckListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* canvas = GetCanvas();
  // The check box sits on the list's own background, the text on the
  // selection colour.
  const int box = GetSystemMetrics(SM_CXMENUCHECK);
  TRect checkArea(Rect.left, Rect.top, Rect.left + CheckWidth(), Rect.bottom);
  const TColor textBrush = canvas->GetBrush()->GetColor();
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(checkArea);
  TRect check = Bounds(checkArea.left + 2, checkArea.top + (checkArea.Height() - box) / 2, box, box);
  UINT flags = DFCS_BUTTONCHECK;
  const TCheckBoxState state = GetState(Index);
  if (state == cbChecked) flags |= DFCS_CHECKED;
  if (state == cbGrayed) flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (!GetItemEnabled(Index) || !GetEnabled()) flags |= DFCS_INACTIVE;
  DrawFrameControl(canvas->GetHandle(), &check, DFC_BUTTON, flags);
  TRect text(checkArea.right, Rect.top, Rect.right, Rect.bottom);
  canvas->GetBrush()->SetColor(textBrush);
  if (OnDrawItem) {
    OnDrawItem(this, Index, text, State);
    return;
  }
  if (!GetItemEnabled(Index)) canvas->GetFont()->SetColor(clGrayText);
  canvas->FillRect(text);
  canvas->TextOut(text.left + 2, text.top + (text.Height() - canvas->TextHeight("Wg")) / 2,
                  GetItems()->Get(Index));
}

void TCheckListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    const TPoint p(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
    TCustomListBox::WndProc(Message);
    const int index = ItemAtPos(p, true);
    if (index >= 0 && p.x < CheckWidth()) ToggleClickCheck(index);
    return;
  }
  case WM_CHAR:
    if (Message.WParam == ' ') {
      ToggleClickCheck(GetItemIndex());
      return;
    }
    break;
  case CN_MEASUREITEM: {
    TCustomListBox::WndProc(Message);
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    const UINT minimum = static_cast<UINT>(GetSystemMetrics(SM_CYMENUCHECK) + 2);
    if (mis->itemHeight < minimum) mis->itemHeight = minimum;
    return;
  }
  }
  TCustomListBox::WndProc(Message);
}
