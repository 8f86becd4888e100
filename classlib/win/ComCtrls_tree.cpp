#include "ComCtrls.h"

#include <algorithm>

#include <cstring>

namespace {

// The item with the keyboard's focus mark, and the part of an expansion
// notice's action that tells expanding from collapsing.
constexpr UINT kItemFocused = 0x0001;
constexpr UINT kExpandActionMask = 0x0003;

// The node an item of the window stands for, kept as its parameter.
LPARAM NodeParam(TTreeNode* Node) {
  return reinterpret_cast<LPARAM>(Node);
}

// Depth-first, parents before their children.
void Collect(const std::vector<TTreeNode*>& Nodes, std::vector<TTreeNode*>& Out) {
  for (TTreeNode* node : Nodes) {
    Out.push_back(node);
    for (int i = 0; i < node->GetCount(); ++i) {
      std::vector<TTreeNode*> one{node->GetItem(i)};
      Collect(one, Out);
    }
  }
}

// Sets a flag for a scope and puts back what it was.
struct TFlagScope {
  explicit TFlagScope(bool& Flag) : flag(Flag), old(Flag) { Flag = true; }
  ~TFlagScope() { flag = old; }
  bool& flag;
  bool old;
};

} // namespace

// ---- Node ----

TCustomTreeView* TTreeNode::GetTreeView() const {
  return FOwner->GetOwner();
}

void TTreeNode::UpdateItem(UINT mask) {
  TCustomTreeView* tree = GetTreeView();
  if (FItemId && tree->HandleAllocated()) {
    TVITEMA item{};
    item.mask = mask | TVIF_HANDLE;
    item.hItem = FItemId;
    item.pszText = const_cast<char*>(FText.c_str());
    item.iImage = I_IMAGECALLBACK;
    item.iSelectedImage = I_IMAGECALLBACK;
    item.stateMask = TVIS_STATEIMAGEMASK;
    item.state = FStateIndex >= 0 ? INDEXTOSTATEIMAGEMASK(FStateIndex) : 0;
    SendMessageA(tree->GetHandle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  tree->NodeChanged(this);
}

void TTreeNode::SetText(const String& value) {
  if (value == FText) return;
  FText = value;
  UpdateItem(TVIF_TEXT);
  GetTreeView()->KeepSorted(FParent);
}

void TTreeNode::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  UpdateItem(TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int value) {
  if (value == FSelectedIndex) return;
  FSelectedIndex = value;
  UpdateItem(TVIF_SELECTEDIMAGE);
}

void TTreeNode::SetStateIndex(int value) {
  if (value == FStateIndex) return;
  FStateIndex = value;
  UpdateItem(TVIF_STATE);
}

int TTreeNode::GetIndex() const {
  const auto& siblings = FOwner->SiblingsOf(FParent);
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

int TTreeNode::GetLevel() const {
  int level = 0;
  for (TTreeNode* p = FParent; p; p = p->FParent)
    ++level;
  return level;
}

TTreeNode* TTreeNode::getNextSibling() const {
  const auto& siblings = FOwner->SiblingsOf(FParent);
  const size_t i = static_cast<size_t>(GetIndex()) + 1;
  return i < siblings.size() ? siblings[i] : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const {
  const int i = GetIndex();
  return i > 0 ? FOwner->SiblingsOf(FParent)[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front();
  for (const TTreeNode* n = this; n; n = n->FParent)
    if (TTreeNode* next = n->getNextSibling()) return next;
  return nullptr;
}

void TTreeNode::SetExpanded(bool value) {
  if (value == FExpanded || (value && FChildren.empty())) return;
  TCustomTreeView* tree = GetTreeView();
  if (value ? !tree->CanExpand(this) : !tree->CanCollapse(this)) return;
  FExpanded = value;
  if (FItemId && tree->HandleAllocated()) {
    // Asked for here: the window's own notices are not the user's.
    TFlagScope filling(tree->FFilling);
    SendMessageA(tree->GetHandle(), TVM_EXPAND, value ? TVE_EXPAND : TVE_COLLAPSE,
                 reinterpret_cast<LPARAM>(FItemId));
  }
  if (value)
    tree->Expand(this);
  else
    tree->Collapse(this);
}

void TTreeNode::Expand(bool Recurse) {
  SetExpanded(true);
  if (Recurse)
    for (TTreeNode* child : std::vector<TTreeNode*>(FChildren))
      child->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  SetExpanded(false);
  if (Recurse)
    for (TTreeNode* child : std::vector<TTreeNode*>(FChildren))
      child->Collapse(true);
}

bool TTreeNode::GetSelected() const {
  TCustomTreeView* tree = GetTreeView();
  return FItemId && tree->HandleAllocated() &&
         (SendMessageA(tree->GetHandle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId),
                       TVIS_SELECTED) &
          TVIS_SELECTED);
}

void TTreeNode::SetSelected(bool value) {
  TCustomTreeView* tree = GetTreeView();
  if (value)
    tree->SetSelected(const_cast<TTreeNode*>(this));
  else if (GetSelected())
    tree->SetSelected(nullptr);
}

bool TTreeNode::GetFocused() const {
  TCustomTreeView* tree = GetTreeView();
  return FItemId && tree->HandleAllocated() &&
         (SendMessageA(tree->GetHandle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), kItemFocused) &
          kItemFocused);
}

void TTreeNode::SetFocused(bool value) {
  TCustomTreeView* tree = GetTreeView();
  if (!FItemId || !tree->HandleAllocated()) return;
  TVITEMA item{};
  item.mask = TVIF_HANDLE | TVIF_STATE;
  item.hItem = FItemId;
  item.stateMask = kItemFocused;
  item.state = value ? kItemFocused : 0;
  SendMessageA(tree->GetHandle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::MakeVisible() {
  TCustomTreeView* tree = GetTreeView();
  if (FItemId && tree->HandleAllocated())
    SendMessageA(tree->GetHandle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  TCustomTreeView* tree = GetTreeView();
  RECT r{};
  if (!FItemId || !tree->HandleAllocated()) return TRect();
  std::memcpy(&r, &FItemId, sizeof(FItemId));
  if (!SendMessageA(tree->GetHandle(), TVM_GETITEMRECT, TextOnly ? TRUE : FALSE,
                    reinterpret_cast<LPARAM>(&r)))
    return TRect();
  return r;
}

void TTreeNode::Delete() {
  FOwner->Delete(this);
}

void TTreeNode::DeleteChildren() {
  while (!FChildren.empty())
    FOwner->Delete(FChildren.back());
}

// ---- Nodes ----

TTreeNodes::~TTreeNodes() {
  Clear();
}

int TTreeNodes::GetCount() const {
  std::vector<TTreeNode*> all;
  Collect(FRoots, all);
  return static_cast<int>(all.size());
}

TTreeNode* TTreeNodes::GetItem(int index) const {
  std::vector<TTreeNode*> all;
  Collect(FRoots, all);
  return all.at(static_cast<size_t>(index));
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, void* Ptr) {
  TTreeNode* parent = Sibling ? Sibling->FParent : nullptr;
  return InternalAdd(parent, SiblingsOf(parent).size(), S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S) {
  return InternalAdd(Sibling ? Sibling->FParent : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S) {
  if (!Sibling) return Add(nullptr, S);
  return InternalAdd(Sibling->FParent, static_cast<size_t>(Sibling->GetIndex()), S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Ptr) {
  return InternalAdd(Parent, SiblingsOf(Parent).size(), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) {
  return InternalAdd(Parent, 0, S, nullptr);
}

TTreeNode* TTreeNodes::InternalAdd(TTreeNode* Parent, size_t Position, const String& S, void* Ptr) {
  auto* node = new TTreeNode(this);
  node->FParent = Parent;
  node->FText = S;
  node->Data = Ptr;
  auto& siblings = SiblingsOf(Parent);
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(std::min(Position, siblings.size())), node);
  if (FOwner->HandleAllocated() && (!Parent || Parent->FItemId)) CreateItem(node);
  FOwner->KeepSorted(Parent);
  return node;
}

void TTreeNodes::CreateItem(TTreeNode* Node) {
  TVINSERTSTRUCTA ins{};
  ins.hParent = Node->FParent ? Node->FParent->FItemId : TVI_ROOT;
  TTreeNode* previous = Node->getPrevSibling();
  ins.hInsertAfter = previous ? previous->FItemId : TVI_FIRST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
  ins.item.pszText = const_cast<char*>(Node->FText.c_str());
  ins.item.iImage = I_IMAGECALLBACK;
  ins.item.iSelectedImage = I_IMAGECALLBACK;
  ins.item.lParam = NodeParam(Node);
  ins.item.stateMask = TVIS_STATEIMAGEMASK;
  ins.item.state = Node->FStateIndex >= 0 ? INDEXTOSTATEIMAGEMASK(Node->FStateIndex) : 0;
  Node->FItemId = reinterpret_cast<HTREEITEM>(
      SendMessageA(FOwner->GetHandle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

void TTreeNodes::CreateItems(TTreeNode* Parent) {
  for (TTreeNode* node : SiblingsOf(Parent)) {
    CreateItem(node);
    CreateItems(node);
    if (node->FExpanded)
      SendMessageA(FOwner->GetHandle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->FItemId));
  }
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node) return;
  std::vector<TTreeNode*> doomed;
  Collect({Node}, doomed);
  // The last first, while the rest of the tree is still whole.
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
    FOwner->Delete(*it);
  if (FOwner->FSavedSelected && std::count(doomed.begin(), doomed.end(), FOwner->FSavedSelected))
    FOwner->FSavedSelected = nullptr;
  if (Node->FItemId && FOwner->HandleAllocated()) {
    HTREEITEM item = Node->FItemId;
    for (TTreeNode* n : doomed)
      n->FItemId = nullptr;
    SendMessageA(FOwner->GetHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
  }
  TTreeNode* parent = Node->FParent;
  auto& siblings = SiblingsOf(parent);
  siblings.erase(std::find(siblings.begin(), siblings.end(), Node));
  if (parent && parent->FChildren.empty()) parent->FExpanded = false;
  for (TTreeNode* n : doomed)
    delete n;
}

void TTreeNodes::Clear() {
  if (FRoots.empty()) return;
  std::vector<TTreeNode*> doomed;
  Collect(FRoots, doomed);
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
    FOwner->Delete(*it);
  FOwner->FSavedSelected = nullptr;
  if (FOwner->HandleAllocated()) {
    TFlagScope filling(FOwner->FFilling);
    for (TTreeNode* n : doomed)
      n->FItemId = nullptr;
    SendMessageA(FOwner->GetHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  }
  FRoots.clear();
  for (TTreeNode* n : doomed)
    delete n;
}

void TTreeNodes::Assign(const TTreeNodes* Source) {
  if (Source == this) return;
  Clear();
  if (!Source) return;
  struct Copier {
    TTreeNodes* to;
    void operator()(TTreeNode* Parent, const std::vector<TTreeNode*>& From) {
      for (TTreeNode* src : From) {
        TTreeNode* node = to->InternalAdd(Parent, to->SiblingsOf(Parent).size(), src->FText, src->Data);
        node->SetImageIndex(src->FImageIndex);
        node->SetSelectedIndex(src->FSelectedIndex);
        node->SetStateIndex(src->FStateIndex);
        (*this)(node, src->FChildren);
        if (src->FExpanded) node->SetExpanded(true);
      }
    }
  };
  Copier{this}(nullptr, Source->FRoots);
}

// ---- Tree view ----

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FTreeNodes(std::make_unique<TTreeNodes>(this)) {
  InitCommonControlsOnce();
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  FImageChangeLink.OnChange = [this](TObject*) { SetImageList(FImages, FImages, TVSIL_NORMAL); };
  FStateChangeLink.OnChange = [this](TObject*) { SetImageList(FStateImages, FStateImages, TVSIL_STATE); };
}

TCustomTreeView::~TCustomTreeView() {
  FTreeNodes->Clear();
  if (FImages) FImages->UnRegisterChanges(&FImageChangeLink);
  if (FStateImages) FStateImages->UnRegisterChanges(&FStateChangeLink);
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TREEVIEWA);
  Params.Style |= WS_TABSTOP;
  if (FShowButtons) Params.Style |= TVS_HASBUTTONS;
  if (FShowLines) Params.Style |= TVS_HASLINES;
  if (FShowRoot) Params.Style |= TVS_LINESATROOT;
  if (!FReadOnly) Params.Style |= TVS_EDITLABELS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWndFinished() {
  TFlagScope filling(FFilling);
  if (FImages)
    SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages->GetHandle()));
  if (FStateImages)
    SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(FStateImages->GetHandle()));
  if (FIndent >= 0) SendMessageA(FHandle, TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  FTreeNodes->CreateItems(nullptr);
  if (FSavedSelected)
    SendMessageA(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSavedSelected->FItemId));
  FSavedSelected = nullptr;
}

void TCustomTreeView::DestroyWnd() {
  FSavedSelected = GetSelected();
  if (FIndent < 0 && FHandle) FIndent = static_cast<int>(SendMessageA(FHandle, TVM_GETINDENT, 0, 0));
  {
    TFlagScope filling(FFilling);
    TWinControl::DestroyWnd();
  }
  std::vector<TTreeNode*> all;
  Collect(FTreeNodes->FRoots, all);
  for (TTreeNode* n : all)
    n->FItemId = nullptr;
}

TTreeNode* TCustomTreeView::NodeFromItem(HTREEITEM Item) const {
  if (!Item || !FHandle) return nullptr;
  TVITEMA item{};
  item.mask = TVIF_HANDLE | TVIF_PARAM;
  item.hItem = Item;
  if (!SendMessageA(FHandle, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<TTreeNode*>(item.lParam);
}

void TCustomTreeView::WndProc(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    // The ANSI and wide forms share the fields read here.
    auto* nm = reinterpret_cast<NMTREEVIEWA*>(Message.LParam);
    switch (header->code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW:
      Message.Result = !FFilling && !CanChange(reinterpret_cast<TTreeNode*>(nm->itemNew.lParam));
      return;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      if (!FFilling) Change(reinterpret_cast<TTreeNode*>(nm->itemNew.lParam));
      return;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
      TTreeNode* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
      if (FFilling || !node) return;
      const bool expanding = (nm->action & kExpandActionMask) == TVE_EXPAND;
      Message.Result = expanding ? !CanExpand(node) : !CanCollapse(node);
      return;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
      TTreeNode* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
      if (FFilling || !node) return;
      node->FExpanded = (nm->itemNew.state & TVIS_EXPANDED) != 0;
      if (node->FExpanded)
        Expand(node);
      else
        Collapse(node);
      return;
    }
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMTVDISPINFOA*>(Message.LParam);
      TTreeNode* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
      if (!node) return;
      if (info->item.mask & TVIF_IMAGE) {
        GetImageIndex(node);
        info->item.iImage = node->FImageIndex;
      }
      if (info->item.mask & TVIF_SELECTEDIMAGE) {
        GetSelectedIndex(node);
        info->item.iSelectedImage = node->FSelectedIndex;
      }
      return;
    }
    default:
      break;
    }
  }
  TWinControl::WndProc(Message);
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FStateImages) SetStateImages(nullptr);
}

void TCustomTreeView::SetImageList(TCustomImageList*& Field, TCustomImageList* value, int Which) {
  TChangeLink& link = Which == TVSIL_NORMAL ? FImageChangeLink : FStateChangeLink;
  if (Field != value) {
    if (Field) Field->UnRegisterChanges(&link);
    Field = value;
    if (Field) {
      Field->RegisterChanges(&link);
      Field->FreeNotification(this);
    }
  }
  if (FHandle)
    SendMessageA(FHandle, TVM_SETIMAGELIST, static_cast<WPARAM>(Which),
                 reinterpret_cast<LPARAM>(Field ? Field->GetHandle() : nullptr));
  ImagesChanged();
}

void TCustomTreeView::SetImages(TCustomImageList* value) {
  SetImageList(FImages, value, TVSIL_NORMAL);
}

void TCustomTreeView::SetStateImages(TCustomImageList* value) {
  SetImageList(FStateImages, value, TVSIL_STATE);
}

int TCustomTreeView::GetIndent() {
  if (FHandle) return static_cast<int>(SendMessageA(FHandle, TVM_GETINDENT, 0, 0));
  return FIndent;
}

void TCustomTreeView::SetIndent(int value) {
  FIndent = value;
  if (FHandle) SendMessageA(FHandle, TVM_SETINDENT, static_cast<WPARAM>(value), 0);
}

void TCustomTreeView::UpdateStyle(DWORD, bool) {
  if (HandleAllocated()) RecreateWnd();
}

void TCustomTreeView::SetShowButtons(bool value) {
  if (value == FShowButtons) return;
  FShowButtons = value;
  UpdateStyle(TVS_HASBUTTONS, value);
}

void TCustomTreeView::SetShowLines(bool value) {
  if (value == FShowLines) return;
  FShowLines = value;
  UpdateStyle(TVS_HASLINES, value);
}

void TCustomTreeView::SetShowRoot(bool value) {
  if (value == FShowRoot) return;
  FShowRoot = value;
  UpdateStyle(TVS_LINESATROOT, value);
}

void TCustomTreeView::SetReadOnly(bool value) {
  if (value == FReadOnly) return;
  FReadOnly = value;
  UpdateStyle(TVS_EDITLABELS, !value);
}

void TCustomTreeView::SetSortType(TSortType value) {
  if (value == FSortType) return;
  FSortType = value;
  if (FSortType != TSortType::stNone) AlphaSort();
}

TTreeNode* TCustomTreeView::GetSelected() {
  if (!FHandle) return FSavedSelected;
  return NodeFromItem(reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* value) {
  if (!FHandle) {
    FSavedSelected = value;
    return;
  }
  SendMessageA(FHandle, TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(value ? value->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) {
  TVHITTESTINFO info{};
  info.pt = {X, Y};
  return NodeFromItem(reinterpret_cast<HTREEITEM>(
      SendMessageA(GetHandle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))));
}

THitTests TCustomTreeView::GetHitTestInfoAt(int X, int Y) {
  TVHITTESTINFO info{};
  info.pt = {X, Y};
  SendMessageA(GetHandle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
  static const std::pair<UINT, THitTest> kinds[] = {
      {TVHT_ABOVE, htAbove},           {TVHT_BELOW, htBelow},         {TVHT_NOWHERE, htNowhere},
      {TVHT_ONITEMBUTTON, htOnButton}, {TVHT_ONITEMICON, htOnIcon},   {TVHT_ONITEMINDENT, htOnIndent},
      {TVHT_ONITEMLABEL, htOnLabel},   {TVHT_ONITEMRIGHT, htOnRight}, {TVHT_ONITEMSTATEICON, htOnStateIcon},
      {TVHT_TOLEFT, htToLeft},         {TVHT_TORIGHT, htToRight}};
  THitTests result;
  for (const auto& [flag, kind] : kinds)
    if (info.flags & flag) result.Include(kind);
  if (info.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)) result.Include(htOnItem);
  return result;
}

void TCustomTreeView::FullExpand() {
  for (TTreeNode* node : std::vector<TTreeNode*>(FTreeNodes->FRoots))
    node->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (TTreeNode* node : std::vector<TTreeNode*>(FTreeNodes->FRoots))
    node->Collapse(true);
}

int TCustomTreeView::CompareNodes(TTreeNode* Node1, TTreeNode* Node2) {
  if (OnCompare) {
    int compare = 0;
    OnCompare(this, Node1, Node2, 0, compare);
    return compare;
  }
  int result = 0;
  if (FSortType == TSortType::stText || FSortType == TSortType::stBoth)
    result = CompareText(Node1->FText, Node2->FText);
  if (result == 0 && (FSortType == TSortType::stData || FSortType == TSortType::stBoth))
    result = Node1->Data < Node2->Data ? -1 : Node1->Data > Node2->Data ? 1 : 0;
  return result;
}

void TCustomTreeView::SortChildren(TTreeNode* Parent) {
  auto& children = FTreeNodes->SiblingsOf(Parent);
  if (children.size() < 2) return;
  std::stable_sort(children.begin(), children.end(),
                   [this](TTreeNode* a, TTreeNode* b) { return CompareNodes(a, b) < 0; });
  if (!FHandle || (Parent && !Parent->FItemId)) return;
  // The window takes the order just made.
  TVSORTCB sort{};
  sort.hParent = Parent ? Parent->FItemId : TVI_ROOT;
  sort.lpfnCompare = [](LPARAM a, LPARAM b, LPARAM) -> int {
    return reinterpret_cast<TTreeNode*>(a)->GetIndex() - reinterpret_cast<TTreeNode*>(b)->GetIndex();
  };
  SendMessageA(FHandle, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void TCustomTreeView::KeepSorted(TTreeNode* Parent) {
  if (FSortType != TSortType::stNone) SortChildren(Parent);
}

void TCustomTreeView::AlphaSort() {
  SortChildren(nullptr);
  std::vector<TTreeNode*> all;
  Collect(FTreeNodes->FRoots, all);
  for (TTreeNode* node : all)
    SortChildren(node);
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, Node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, Node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
  if (OnDeletion) OnDeletion(this, Node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node) {
  if (OnGetImageIndex) OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node) {
  if (OnGetSelectedIndex) OnGetSelectedIndex(this, Node);
}
