// The tree-view combo item: the value is the text of a node chosen in its
// drop-down tree, drawn with the node's images.
#include "dxBarExtCombos.h"

#include "dxBarCommon.h"

#include "ImgList.h"

#include <algorithm>

// ---- TdxBarTreeView ----

TdxBarTreeView::TdxBarTreeView(TComponent* AOwner, TdxBarTreeViewCombo* ACombo, bool ADropDownMode)
    : TCustomTreeView(AOwner), FCombo(ACombo), FDropDownMode(ADropDownMode) {
  SetVisible(false);
  SetReadOnly(true);
  SetBounds(0, 0, 150, 200);
}

void TdxBarTreeView::CreateParams(TCreateParams& Params) {
  TCustomTreeView::CreateParams(Params);
  if (!FDropDownMode) return;
  Params.Style |= WS_BORDER;
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
  FCombo->ForgetNode(Node);
  TCustomTreeView::Delete(Node);
}

void TdxBarTreeView::WndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  if (FDropDownMode && msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  if (msg == WM_KEYDOWN && Message.WParam == VK_RETURN) {
    FCombo->ChooseNode(GetSelected());
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
    FCombo->ChooseNode(node);
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

void TdxBarTreeViewCombo::SetImages(TCustomImageList* Value) {
  FTreeView->SetImages(Value);
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->LayoutChanged();
}

void TdxBarTreeViewCombo::SetStateImages(TCustomImageList* Value) {
  FTreeView->SetStateImages(Value);
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

TTreeNode* TdxBarTreeViewCombo::FindNodeByText(const String& Text) const {
  for (TTreeNode* node = GetItems()->GetFirstNode(); node; node = node->GetNext())
    if (CompareText(node->GetText(), Text) == 0) return node;
  return nullptr;
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

void TdxBarTreeViewCombo::ChooseNode(TTreeNode* Node) {
  if (!Node) return;
  bool canSelect = true;
  if (OnCanSelectNode) OnCanSelectNode(this, Node, canSelect);
  if (!canSelect) return;
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
  FTreeView->SetBounds(0, 0, FDropDownWidth, FDropDownHeight);
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
