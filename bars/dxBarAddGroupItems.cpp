// The group-items dialog: picks the groups and items a bar group receives.
#include "dxBar.h"
#include "dxBarDesign.h"

#include "ExtCtrls.h"
#include "StdCtrls.h"

namespace {

TPanel* MarginPanel(TWinControl* Parent, TAlign Align, int Size) {
  auto* panel = new TPanel(Parent);
  panel->SetParent(Parent);
  panel->SetBevelOuter(bvNone);
  panel->SetBounds(0, 0, Size, Size);
  panel->SetAlign(Align);
  return panel;
}

bool IsHeader(const String& Text) { return !Text.empty() && Text[0] == '~'; }

} // namespace

TfrmAddGroupItems::TfrmAddGroupItems(TdxBarGroup* Group) : TForm(nullptr), FGroup(Group) {
  SetName("frmAddGroupItems");
  SetCaption("Add Group Items");
  SetBounds(0, 0, 364, 400);
  Position = poScreenCenter;
  pnlButtons = MarginPanel(this, alBottom, 34);
  pnlButtons->SetName("pnlButtons");
  MarginPanel(this, alTop, 5);
  MarginPanel(this, alLeft, 5);
  MarginPanel(this, alRight, 5);
  auto button = [this](const char* name, const char* caption, TModalResult result) {
    auto* b = new TButton(this);
    b->SetName(name);
    b->SetCaption(caption);
    b->SetParent(pnlButtons);
    b->ModalResult = result;
    return b;
  };
  btnOk = button("btnOk", "OK", mrOk);
  btnOk->SetDefault(true);
  btnCancel = button("btnCancel", "Cancel", mrCancel);
  btnCancel->Cancel = true;
  // Right-aligned, following the panel's width.
  auto place = [this] {
    const int w = pnlButtons->GetWidth();
    btnCancel->SetBounds(w - 5 - 76, 6, 76, 23);
    btnOk->SetBounds(w - 5 - 76 - 6 - 76, 6, 76, 23);
  };
  pnlButtons->OnResize = [place](TObject*) { place(); };
  place();
  lbGroupItems = new TListBox(this);
  lbGroupItems->SetName("lbGroupItems");
  lbGroupItems->SetParent(this);
  lbGroupItems->SetStyle(lbOwnerDrawVariable);
  lbGroupItems->SetMultiSelect(true);
  lbGroupItems->SetAlign(alClient);
  lbGroupItems->OnMeasureItem = [this](TWinControl*, int, int& Height) {
    Height = lbGroupItems->GetCanvas()->TextHeight("Qq") + 2;
  };
  lbGroupItems->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State) {
    DrawRow(Index, Rect, State.Contains(odSelected));
  };
  OnCloseQuery = [this](TObject*, bool& CanClose) { FormCloseQuery(CanClose); };
  // The rows paint the whole list: no erasing first, so nothing flickers.
  HWND list = lbGroupItems->GetHandle();
  SetClassLongPtrA(list, GCL_STYLE, GetClassLongPtrA(list, GCL_STYLE) | CS_HREDRAW);
  SetPropA(list, "dxBarAddGroupItems", this);
  FPrevListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TfrmAddGroupItems::ListProc)));
  Fill();
}

TfrmAddGroupItems::~TfrmAddGroupItems() {
  if (lbGroupItems->HandleAllocated() && FPrevListProc) {
    HWND list = lbGroupItems->GetHandle();
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevListProc));
    RemovePropA(list, "dxBarAddGroupItems");
  }
}

LRESULT CALLBACK TfrmAddGroupItems::ListProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* form = static_cast<TfrmAddGroupItems*>(GetPropA(Wnd, "dxBarAddGroupItems"));
  if (Msg == WM_ERASEBKGND) return 1;
  if (Msg == WM_PAINT && form) {
    // Below the last row the list shows the button face.
    const LRESULT result = CallWindowProcA(form->FPrevListProc, Wnd, Msg, WParam, LParam);
    RECT client{};
    ::GetClientRect(Wnd, &client);
    const int count = form->lbGroupItems->GetCount();
    int bottom = 0;
    if (count > 0) {
      RECT last{};
      SendMessageA(Wnd, LB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
      bottom = last.bottom;
    }
    if (bottom < client.bottom) {
      HDC dc = GetDC(Wnd);
      client.top = bottom > 0 ? bottom : 0;
      FillRectWithColor(dc, TRect(client), clBtnFace);
      ReleaseDC(Wnd, dc);
    }
    return result;
  }
  return CallWindowProcA(form ? form->FPrevListProc : DefWindowProcA, Wnd, Msg, WParam, LParam);
}

void TfrmAddGroupItems::Fill() {
  TStrings* rows = lbGroupItems->GetItems();
  rows->BeginUpdate();
  rows->Clear();
  TdxBarManager* manager = FGroup->GetBarManager();
  if (manager) {
    if (manager->GetGroupCount() > 1) {
      rows->Add("~< Groups >");
      for (int i = 0; i < manager->GetGroupCount(); ++i) {
        TdxBarGroup* group = manager->GetGroup(i);
        if (group != FGroup) rows->AddObject(group->GetName(), group);
      }
    }
    TStrings* categories = manager->GetCategories();
    std::vector<TdxBarItem*> items;
    for (int c = 0; c < categories->GetCount(); ++c) {
      if (manager->GetCategoryCommands(c, items) == 0) continue;
      rows->Add("~" + categories->Get(c));
      for (TdxBarItem* item : items)
        rows->AddObject(item->GetCaption(), item);
    }
  }
  rows->EndUpdate();
}

void TfrmAddGroupItems::DrawRow(int Index, const TRect& Rect, bool Selected) {
  TCanvas* canvas = lbGroupItems->GetCanvas();
  HDC dc = canvas->GetHandle();
  TStrings* rows = lbGroupItems->GetItems();
  const String text = rows->Get(Index);
  auto* object = static_cast<TComponent*>(rows->GetObject(Index));
  if (IsHeader(text) || !object) {
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->GetFont()->SetColor(clBtnText);
    SetBkMode(dc, OPAQUE);
    canvas->TextRect(Rect, Rect.left + 2, Rect.top + 1, IsHeader(text) ? text.substr(1) : text);
    return;
  }
  auto* item = dynamic_cast<TdxBarItem*>(object);
  TRect textRect = Rect;
  if (item) textRect.right = (Rect.left + Rect.right) / 2 - 1;
  TColor textColor = Selected ? clHighlightText : clWindowText;
  TColor background = Selected ? clHighlight : clWindow;
  if (FGroup->IndexOf(object) != -1) {
    // Present members look disabled.
    textColor = clBtnFace;
    background = clWindow;
  }
  canvas->GetBrush()->SetColor(background);
  canvas->FillRect(item ? Rect : textRect);
  canvas->GetFont()->SetColor(textColor);
  SetBkMode(dc, TRANSPARENT);
  // Written by the system, not the canvas: the colour goes to the DC itself.
  SetTextColor(dc, ColorToRGB(textColor));
  RECT r = textRect;
  const String shown = "   " + text;
  DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (!item) return;
  HBRUSH line = GetSysColorBrush(Selected && background == clHighlight ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  RECT sep{textRect.right, Rect.top, textRect.right + 1, Rect.bottom};
  FillRect(dc, &sep, line);
  SetBkMode(dc, OPAQUE);
  const TRect nameRect(textRect.right + 1, Rect.top, Rect.right, Rect.bottom);
  canvas->TextRect(nameRect, nameRect.left + 2, nameRect.top + 1, item->GetName());
}

void TfrmAddGroupItems::FormCloseQuery(bool&) {
  if (GetModalResult() != mrOk || !ResultList) return;
  TStrings* rows = lbGroupItems->GetItems();
  for (int i = 0; i < rows->GetCount(); ++i)
    if (lbGroupItems->GetSelected(i))
      if (auto* object = static_cast<TComponent*>(rows->GetObject(i))) ResultList->push_back(object);
}

bool AddGroupItemsDialog(TdxBarGroup* Group, std::vector<TComponent*>& List) {
  TfrmAddGroupItems dialog(Group);
  dialog.ResultList = &List;
  return dialog.ShowModal() == mrOk;
}
