// The tree-view combo item: the value is the text of a node chosen in its
// drop-down tree (in a resizable frame with a close button) or in the
// "Select item" dialog, drawn with the node's images.
#include "dxBarExtCombos.h"

#include "dxBarCommon.h"
#include "dxBarExtItems.h"
#include "dxBarPainters.h"
#include "dxBarStrs.h"

#include "Forms.h"
#include "ImgList.h"
#include "StdCtrls.h"

#include <algorithm>

// ---- The drop-down frame ----

namespace dxBarExtPainter {

int GetDropDownCaptionHeight(TdxBarItemControlPainterClass Painter) {
  if (Painter != TdxBarItemControlXPPainter::Instance()) return GetDropDownGripBandHeight();
  HDC dc = GetDC(nullptr);
  const int height = std::max<int>(GetSmallCloseButtonSize(dc).cy + 4, GetSizeBoxSize(dc).cy + 1);
  ReleaseDC(nullptr, dc);
  return height;
}

void CalcDropDownNonClient(TdxBarItemControlPainterClass Painter, HWND, TRect& R, bool Sizeable,
                           TdxBarItem* Item, int& Corner) {
  InflateRect(&R, -1, -1);
  TdxBarItemLink* link = Sizeable && Item ? Item->GetActiveLink() : nullptr;
  TdxBarItemControl* control = link ? link->GetControl() : nullptr;
  if (!control) return;
  TCustomdxBarControl* window = control->GetBarControl();
  TRect edit;
  window->GetControlRect(control, edit);
  MapWindowPoints(window->GetHandle(), nullptr, reinterpret_cast<POINT*>(&edit), 2);
  const TRect dropDown(R.left - 1, R.top - 1, R.right + 1, R.bottom + 1);
  Corner = GetSizeGripCorner(edit, dropDown);
  const int band = GetDropDownCaptionHeight(Painter);
  if (Corner >= 2)
    R.bottom -= band;
  else
    R.top += band;
}

void DrawDropDownNonClient(TdxBarItemControlPainterClass Painter, HWND Wnd, bool Sizeable, int Corner,
                           TRect& GripRect, TRect& CloseButtonRect, bool Hot, bool Pressed) {
  if (Painter != TdxBarItemControlXPPainter::Instance()) {
    const bool flat = dynamic_cast<const TdxBarItemControlFlatPainter*>(Painter) != nullptr;
    PaintDropDownNonClient(Wnd, Sizeable, flat, Corner, GripRect, CloseButtonRect, Hot, Pressed);
    return;
  }
  // The themed look: a button-shadow frame, the themed size box and small
  // close button on a button-face band.
  PaintDropDownNonClient(
      Wnd, Sizeable, COLOR_BTNSHADOW, GetDropDownCaptionHeight(Painter), Corner, GripRect, CloseButtonRect,
      [&](HDC dc, TRect& r) { DrawSizeBox(dc, r, Corner); },
      [&](HDC dc, TRect& r) { DrawSmallCloseButton(dc, r, Hot || Pressed, Corner, Hot && Pressed); });
}

} // namespace dxBarExtPainter

void dxBarSetClientSizeAgreed(TControl* Control, int Width, int Height) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (Control->GetClientWidth() == Width && Control->GetClientHeight() == Height) return;
    Control->SetClientSize(Width, Height);
  }
}

// ---- TdxBarTreeView ----

TdxBarTreeView::TdxBarTreeView(TComponent* AOwner, TdxBarTreeViewCombo* ACombo, bool ADropDownMode)
    : TCustomTreeView(AOwner), FCombo(ACombo), FDropDownMode(ADropDownMode) {
  SetVisible(false);
  SetReadOnly(true);
  SetBounds(0, 0, 150, 200);
}

TdxBarTreeView::~TdxBarTreeView() {
  // The last node first, so that no node outlives its parent.
  TTreeNodes* nodes = GetItems();
  while (nodes->GetCount() > 0)
    nodes->GetItem(nodes->GetCount() - 1)->Delete();
}

void TdxBarTreeView::CreateParams(TCreateParams& Params) {
  TCustomTreeView::CreateParams(Params);
  if (!FDropDownMode) return;
  Params.Style |= WS_BORDER;
  if (FCombo->IsDesigning()) Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TdxBarTreeView::CreateWnd() {
  TCustomTreeView::CreateWnd();
  if (!FDropDownMode) return;
  ::SetParent(GetHandle(), nullptr);
  TMessage focus{WM_SETFOCUS, 0, 0, 0};
  DefaultHandler(focus);
}

void TdxBarTreeView::Change(TTreeNode* Node) {
  TCustomTreeView::Change(Node);
  if (FDropDownMode) FCombo->PreviewNode(Node);
}

void TdxBarTreeView::Delete(TTreeNode* Node) {
  if (FDropDownMode) FCombo->ForgetNode(Node);
  TCustomTreeView::Delete(Node);
}

void TdxBarTreeView::NodeChanged(TTreeNode* Node) {
  if (FDropDownMode) FCombo->NodeChanged(Node);
}

void TdxBarTreeView::ImagesChanged() {
  if (FDropDownMode) FCombo->ImagesChanged();
}

void TdxBarTreeView::RepaintFrame() {
  if (HandleAllocated())
    RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
}

void TdxBarTreeView::SetMouseAboveCloseButton(bool Value) {
  if (Value == FMouseAboveCloseButton) return;
  FMouseAboveCloseButton = Value;
  if (Value) {
    // The pointer's leaving the frame clears it.
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_NONCLIENT, GetHandle(), 0};
    TrackMouseEvent(&track);
  }
  RepaintFrame();
}

bool TdxBarTreeView::FrameMessage(TMessage& Message) {
  TdxBarManager* manager = FCombo->GetBarManager();
  TdxBarItemControlPainterClass painter = manager ? manager->GetPainterClass() : nullptr;
  auto clientPoint = [&](LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return p;
  };
  switch (Message.Msg) {
  case WM_NCCALCSIZE: {
    if (!painter) return false;
    RECT* r = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                             : reinterpret_cast<RECT*>(Message.LParam);
    TRect client = *r;
    dxBarExtPainter::CalcDropDownNonClient(painter, GetHandle(), client, FCombo->AllowResizing, FCombo,
                                           FGripCorner);
    // The scroll bars lie between the client area and the frame.
    const LONG style = GetWindowLongA(GetHandle(), GWL_STYLE);
    if (style & WS_VSCROLL) client.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) client.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    *r = client;
    Message.Result = 0;
    return true;
  }
  case WM_NCPAINT:
    if (!painter) return false;
    // The scroll bars first, then the frame and the band.
    TCustomTreeView::WndProc(Message);
    dxBarExtPainter::DrawDropDownNonClient(painter, GetHandle(), FCombo->AllowResizing, FGripCorner, FGripRect,
                                           FCloseButtonRect, FMouseAboveCloseButton, FCloseButtonIsTracking);
    Message.Result = 0;
    return true;
  case WM_NCACTIVATE:
    Message.Result = TRUE;
    RepaintFrame();
    return true;
  case WM_NCHITTEST: {
    POINT p = clientPoint(Message.LParam);
    ::ScreenToClient(GetHandle(), &p);
    RECT client;
    ::GetClientRect(GetHandle(), &client);
    if (PtInRect(&client, p)) return false;
    const LONG style = GetWindowLongA(GetHandle(), GWL_STYLE);
    const TRect vscroll(client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom);
    const TRect hscroll(client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL));
    if ((style & WS_VSCROLL) && PtInRect(&vscroll, p)) {
      Message.Result = HTVSCROLL;
      return true;
    }
    if ((style & WS_HSCROLL) && PtInRect(&hscroll, p)) {
      Message.Result = HTHSCROLL;
      return true;
    }
    if (FCombo->AllowResizing && PtInRect(&FGripRect, p)) {
      Message.Result = GetCornerHitTest(FGripCorner);
      return true;
    }
    // The system asks the window under the pointer, or the one that holds
    // the capture: only the tree's own capture lets the button light up.
    HWND capture = GetCapture();
    const bool top = !capture || capture == GetHandle();
    SetMouseAboveCloseButton(top && PtInRect(&FCloseButtonRect, p));
    Message.Result = HTBORDER;
    return true;
  }
  case WM_NCMOUSELEAVE:
    SetMouseAboveCloseButton(false);
    return true;
  case WM_NCLBUTTONDOWN:
  case WM_NCLBUTTONDBLCLK:
    if (Message.WParam == static_cast<WPARAM>(GetCornerHitTest(FGripCorner)) && FCombo->AllowResizing) {
      // The grip sizes the window from its corner while the button is held.
      FSizing = true;
      FSizeOrigin = clientPoint(Message.LParam);
      GetWindowRect(GetHandle(), &FSizeBounds);
      SetCapture(GetHandle());
      return true;
    }
    if (!FMouseAboveCloseButton) return false;
    FCloseButtonIsTracking = true;
    SetCapture(GetHandle());
    RepaintFrame();
    return true;
  case WM_MOUSEMOVE:
    if (FSizing) {
      POINT p = clientPoint(Message.LParam);
      ::ClientToScreen(GetHandle(), &p);
      const int dx = p.x - FSizeOrigin.x, dy = p.y - FSizeOrigin.y;
      RECT r = FSizeBounds;
      const bool right = FGripCorner == 1 || FGripCorner == 3, bottom = FGripCorner >= 2;
      if (right)
        r.right = std::max<LONG>(r.right + dx, r.left + 100);
      else
        r.left = std::min<LONG>(r.left + dx, r.right - 100);
      if (bottom)
        r.bottom = std::max<LONG>(r.bottom + dy, r.top + 100);
      else
        r.top = std::min<LONG>(r.top + dy, r.bottom - 100);
      SetWindowPos(GetHandle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_NOZORDER);
      return true;
    }
    if (!FCloseButtonIsTracking) return false;
    {
      const POINT p = clientPoint(Message.LParam);
      if (PtInRect(&FCloseButtonRect, p) != FMouseAboveCloseButton) {
        FMouseAboveCloseButton = !FMouseAboveCloseButton;
        RepaintFrame();
      }
    }
    return true;
  case WM_LBUTTONUP:
    if (FSizing) {
      ReleaseCapture();
      return true;
    }
    if (!FCloseButtonIsTracking) return false;
    {
      const POINT p = clientPoint(Message.LParam);
      const bool above = PtInRect(&FCloseButtonRect, p);
      FCloseButtonIsTracking = false;
      ReleaseCapture();
      if (above) {
        FMouseAboveCloseButton = false;
        if (manager) manager->DeactivateAll();
      } else {
        RepaintFrame();
      }
    }
    return true;
  case WM_CAPTURECHANGED:
    FSizing = false;
    if (FCloseButtonIsTracking) {
      FCloseButtonIsTracking = false;
      RepaintFrame();
    }
    return false;
  case WM_GETMINMAXINFO:
    reinterpret_cast<MINMAXINFO*>(Message.LParam)->ptMinTrackSize = POINT{100, 100};
    Message.Result = 0;
    return true;
  case WM_SYSCOLORCHANGE:
    RecreateWnd();
    return true;
  default:
    return false;
  }
}

void TdxBarTreeView::WndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  if (FDropDownMode && msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  if (FDropDownMode && HandleAllocated() && FrameMessage(Message)) return;
  if (msg == WM_KEYDOWN && Message.WParam == VK_RETURN) {
    FCombo->ChooseNode(this, GetSelected());
    return;
  }
  TCustomTreeView::WndProc(Message);
  // The system's tree runs its own loop from the press until the release,
  // so the press returns only once the button is up again.
  const bool dbl = msg == WM_LBUTTONDBLCLK, up = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP;
  if (!(dbl && FCombo->ChooseByDblClick) && !(up && !FCombo->ChooseByDblClick)) return;
  const int x = static_cast<short>(LOWORD(Message.LParam)), y = static_cast<short>(HIWORD(Message.LParam));
  const THitTests hit = GetHitTestInfoAt(x, y);
  if (!(hit.Contains(htOnIcon) || hit.Contains(htOnLabel) || hit.Contains(htOnStateIcon))) return;
  if (TTreeNode* node = GetNodeAt(x, y)) {
    SetSelected(node);
    FCombo->ChooseNode(this, node);
  }
}

// ---- TdxBarTreeViewCombo ----

TdxBarItemClass TdxBarTreeViewCombo::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarTreeViewCombo>("TdxBarTreeViewCombo");
}

TdxBarTreeViewCombo::TdxBarTreeViewCombo(TComponent* AOwner)
    : TCustomdxBarCombo(AOwner), FTreeView(new TdxBarTreeView(this, this, true)) {
  auto glyph = std::make_unique<TBitmap>();
  glyph->LoadFromResourceName(GetModuleHandleA(nullptr), "DXBARTREEVIEWCOMBO");
  SetGlyph(glyph.get());
  SetShowEditor(false);
}

TdxBarTreeViewCombo::~TdxBarTreeViewCombo() {
  // The tree's nodes go while the combo can still forget its node.
  delete FTreeView;
}

void TdxBarTreeViewCombo::ImagesChanged() {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->LayoutChanged();
}

void TdxBarTreeViewCombo::SetShowImageInEdit(bool Value) {
  if (Value == FShowImageInEdit) return;
  FShowImageInEdit = Value;
  if (!GetImages() && !GetStateImages()) return;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->LayoutChanged();
}

TTreeNode* TdxBarTreeViewCombo::FindNodeByText(const TTreeNodes* Nodes, const String& Text) {
  for (TTreeNode* node = Nodes->GetFirstNode(); node; node = node->GetNext())
    if (CompareText(node->GetText(), Text) == 0) return node;
  return nullptr;
}

TTreeNode* TdxBarTreeViewCombo::FindNodeByText(const String& Text) const {
  return FindNodeByText(GetItems(), Text);
}

void TdxBarTreeViewCombo::RefreshValue() {
  FInternal = true;
  try {
    const String text = FSelectedNode ? FSelectedNode->GetText() : String();
    if (text != GetText())
      SetText(text);
    else
      DoChange();
  } catch (...) {
    FInternal = false;
    throw;
  }
  FInternal = false;
  RepaintControls();
}

void TdxBarTreeViewCombo::SetSelectedNode(TTreeNode* Value) {
  if (Value == FSelectedNode) return;
  FSelectedNode = Value;
  RefreshValue();
}

void TdxBarTreeViewCombo::ForgetNode(TTreeNode* Node) {
  if (Node == FSelectedNode) FSelectedNode = nullptr;
}

void TdxBarTreeViewCombo::NodeChanged(TTreeNode* Node) {
  if (Node && Node == FSelectedNode) RefreshValue();
}

void TdxBarTreeViewCombo::SetText(const String& Value) {
  if (Value == GetText()) return;
  if (IsLoading()) {
    FLoadedText = Value;
    return;
  }
  if (!FInternal) FSelectedNode = FindNodeByText(Value);
  TCustomdxBarCombo::SetText(Value);
}

void TdxBarTreeViewCombo::Loaded() {
  TCustomdxBarCombo::Loaded();
  if (!FLoadedText.empty()) SetText(FLoadedText);
  FLoadedText.clear();
}

void TdxBarTreeViewCombo::ChooseNode(TdxBarTreeView* Tree, TTreeNode* Node) {
  if (!Node) return;
  bool canSelect = true;
  if (OnCanSelectNode) OnCanSelectNode(this, Node, canSelect);
  if (!canSelect) return;
  if (!Tree->GetDropDownMode()) {
    SetText(Node->GetText());
    if (FDialog) FDialog->SetModalResult(mrOk);
    return;
  }
  if (TdxBarItemLink* link = GetActiveLink()) {
    link->GetSourceLink()->MarkAsRecentlyUsed(true);
    if (TdxBarManager* manager = GetBarManager()) manager->DeactivateAll();
  }
  SetSelectedNode(Node);
}

void TdxBarTreeViewCombo::PreviewNode(TTreeNode* Node) {
  TdxBarItemLink* link = GetFocusedLink();
  auto* control = link ? dynamic_cast<TdxBarWinControl*>(link->GetControl()) : nullptr;
  if (control && Node && IsDroppedDown()) control->SetText(Node->GetText());
}

void TdxBarTreeViewCombo::DrawInterior(const TdxBarEditControl* Control, TCanvas* Canvas, const TRect& R) {
  TCustomImageList* images = GetImages();
  TCustomImageList* stateImages = GetStateImages();
  if (!FShowImageInEdit || (!images && !stateImages)) return TCustomdxBarCombo::DrawInterior(Control, Canvas, R);
  const bool editing = Control->GetLink() == GetFocusedLink();
  TTreeNode* node = editing && FTreeView->HandleAllocated() ? FTreeView->GetSelected() : FSelectedNode;
  Canvas->FillRect(R);
  TRect r = R;
  r.left += 1;
  auto drawImage = [&](TCustomImageList* list, int index) {
    Canvas->GetBrush()->SetStyle(bsClear);
    list->Draw(Canvas, r.left, r.top + (r.Height() - list->GetHeight()) / 2, index, true);
    Canvas->GetBrush()->SetStyle(bsSolid);
  };
  if (stateImages && node && node->GetStateIndex() >= 0 && node->GetStateIndex() < stateImages->GetCount()) {
    drawImage(stateImages, node->GetStateIndex());
    r.left += stateImages->GetWidth();
  }
  if (images) {
    if (node && node->GetSelectedIndex() >= 0 && node->GetSelectedIndex() < images->GetCount())
      drawImage(images, node->GetSelectedIndex());
    else if (node && node->GetImageIndex() >= 0 && node->GetImageIndex() < images->GetCount())
      drawImage(images, node->GetImageIndex());
    r.left += images->GetWidth() + 3;
  }
  const String text = editing ? GetCurText() : GetText();
  TRect textRect(r.left + 2, r.top, r.right - 2, r.bottom);
  Canvas->GetBrush()->SetStyle(bsClear);
  DrawTextA(Canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  Canvas->GetBrush()->SetStyle(bsSolid);
}

bool TdxBarTreeViewCombo::CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) {
  return Key == VK_RETURN || TCustomdxBarCombo::CheckKeyForDropDownWindow(Key, Shift);
}

HWND TdxBarTreeViewCombo::GetDropDownWindow() {
  if (HWND window = TCustomdxBarCombo::GetDropDownWindow()) return window;
  // The window is made only while the drop-down has its parent.
  if (!FTreeView->HandleAllocated() && !FTreeView->GetParent()) return nullptr;
  return FTreeView->GetHandle();
}

void TdxBarTreeViewCombo::DoDropDown(int X, int Y) {
  TdxBarManager* manager = GetBarManager();
  if (TdxBarItemLink* link = GetActiveLink())
    if (TdxBarItemControl* control = link->GetControl())
      FTreeView->GetFont()->SetHandle(control->GetBarControl()->GetFontHandle());
  FTreeView->SetParent(manager ? manager->GetOwnerForm() : nullptr);
  FTreeView->HandleNeeded();
  if (FullExpand) FTreeView->FullExpand();
  const String current = GetCurText();
  if (current != GetText()) FTreeView->SetSelected(FindNodeByText(current));
  else if (FSelectedNode) FTreeView->SetSelected(FSelectedNode);
  if (!FTreeView->GetSelected() && GetItems()->GetFirstNode()) {
    GetItems()->GetFirstNode()->SetFocused(true);
    GetItems()->GetFirstNode()->MakeVisible();
  }
  TCustomdxBarCombo::DoDropDown(X, Y);
}

void TdxBarTreeViewCombo::DoCloseUp() {
  TCustomdxBarCombo::DoCloseUp();
  FTreeView->SetParent(nullptr);
}

SIZE TdxBarTreeViewCombo::GetDropDownClientSize() {
  if (FTreeView->HandleAllocated())
    return SIZE{FTreeView->GetClientWidth(), FTreeView->GetClientHeight()};
  // Closed: the frame's one pixel around and the grip band.
  TdxBarManager* manager = GetBarManager();
  const int band = AllowResizing && manager ? dxBarExtPainter::GetDropDownCaptionHeight(manager->GetPainterClass()) : 0;
  return SIZE{FTreeView->GetWidth() - 2, FTreeView->GetHeight() - 2 - band};
}

void TdxBarTreeViewCombo::SetDropDownClientSize(int Width, int Height) {
  const SIZE client = GetDropDownClientSize();
  FTreeView->SetBounds(FTreeView->GetLeft(), FTreeView->GetTop(), FTreeView->GetWidth() - client.cx + Width,
                       FTreeView->GetHeight() - client.cy + Height);
}

void TdxBarTreeViewCombo::DoClick() {
  TCustomdxBarCombo::DoClick();
  if (!OnClick && !ReadOnly) RunDialog();
}

void TdxBarTreeViewCombo::RunDialog() {
  TdxBarSelectItemForm dialog = dxBarCreateSelectItemForm(GetBarManager(), AllowResizing ? bsSizeable : bsDialog);
  TForm* form = dialog.Form.get();
  auto* tree = new TdxBarTreeView(form, this, false);
  tree->SetParent(form);
  tree->SetImages(GetImages());
  tree->SetStateImages(GetStateImages());
  tree->SetIndent(GetIndent());
  tree->GetItems()->Assign(GetItems());
  tree->SetShowButtons(GetShowButtons());
  tree->SetShowLines(GetShowLines());
  tree->SetShowRoot(GetShowRoot());
  tree->SetSortType(GetSortType());
  tree->SetVisible(true);

  FDialog = form;
  FDialogTree = tree;
  struct TForget {
    TdxBarTreeViewCombo* Combo;
    ~TForget() {
      Combo->FDialog = nullptr;
      Combo->FDialogTree = nullptr;
    }
  } forget{this};

  const int bw = dialog.ButtonWidth, e = dialog.Spacing;
  const SIZE client = GetDropDownClientSize();
  tree->SetLeft(e);
  tree->SetTop(e);
  form->HandleNeeded();
  dxBarSetClientSizeAgreed(tree, client.cx, client.cy);
  dxBarSetClientSizeAgreed(form, tree->GetWidth() + bw + 3 * e, tree->GetHeight() + 2 * e);
  auto place = [&] {
    tree->SetBounds(e, e, std::max(form->GetClientWidth() - bw - 3 * e, 0), std::max(form->GetClientHeight() - 2 * e, 0));
    dialog.PlaceButtons();
  };
  place();
  form->OnResize = [&](TObject*) { place(); };

  if (FullExpand) tree->FullExpand();
  if (TTreeNode* node = FindNodeByText(tree->GetItems(), GetText())) {
    tree->SetSelected(node);
  } else if (TTreeNode* first = tree->GetItems()->GetFirstNode()) {
    first->SetFocused(true);
    first->MakeVisible();
  }
  if (form->ShowModal() == mrOk)
    if (TTreeNode* node = tree->GetSelected()) SetText(node->GetText());
  form->OnResize = nullptr;
  // A resized dialog resizes the drop-down too.
  SetDropDownClientSize(tree->GetClientWidth(), tree->GetClientHeight());
}

// ---- TdxBarTreeViewComboControl ----

int TdxBarTreeViewComboControl::GetHeight() {
  int height = TCustomdxBarComboControl::GetHeight();
  auto* combo = dynamic_cast<TdxBarTreeViewCombo*>(GetItem());
  if (!combo || !combo->GetShowImageInEdit() || ShowsRotatedCaptions()) return height;
  int images = 0;
  if (combo->GetImages()) images = combo->GetImages()->GetHeight();
  if (combo->GetStateImages()) images = std::max(images, combo->GetStateImages()->GetHeight());
  return images > 0 ? std::max(height, images + 6) : height;
}

void TdxBarTreeViewComboControl::SetFocused(bool Value) {
  auto* combo = dynamic_cast<TdxBarTreeViewCombo*>(GetItem());
  if (Value && combo && combo->GetTreeView()->HandleAllocated()) {
    TTreeNode* node = combo->GetSelectedNode() ? combo->GetSelectedNode() : combo->FindNodeByText(combo->GetText());
    combo->GetTreeView()->SetSelected(node);
  }
  TCustomdxBarComboControl::SetFocused(Value);
}
