// The go dialog: a list of the selectable tabs in a bordered popup beside
// the go-dialog button.
#include "cxPCGoDialog.h"
#include "cxPCPainters.h"

#include <algorithm>

namespace {

constexpr int kListWidth = 125;
constexpr int kMaxRows = 7;
constexpr int kBorder = 2;

} // namespace

// ---- List box ----

TcxPCGoDialogListBox::TcxPCGoDialogListBox(TComponent* AOwner) : TcxCustomInnerListBox(AOwner) {}

void TcxPCGoDialogListBox::CreateParams(TCreateParams& Params) {
  TcxCustomInnerListBox::CreateParams(Params);
  Params.Style |= WS_HSCROLL;
}

void TcxPCGoDialogListBox::SetScrollWidth(int Value) {
  FScrollWidth = Value;
  if (HandleAllocated()) SendMessageA(GetHandle(), LB_SETHORIZONTALEXTENT, Value, 0);
}

void TcxPCGoDialogListBox::Choose(int Index) {
  SetItemIndex(Index);
  if (OnChosen) OnChosen(Index);
}

void TcxPCGoDialogListBox::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_RETURN) {
    Key = 0;
    return Choose(GetItemIndex());
  }
  if (Key == VK_ESCAPE) {
    Key = 0;
    return Choose(-1);
  }
  TcxCustomInnerListBox::KeyDown(Key, Shift);
}

void TcxPCGoDialogListBox::MouseMove(TShiftState Shift, int X, int Y) {
  TcxCustomInnerListBox::MouseMove(Shift, X, Y);
  if (MouseCapture()) return;
  const int index = ItemAtPos(TPoint(X, Y), true);
  if (index != -1 && index != GetItemIndex()) SetItemIndex(index);
}

void TcxPCGoDialogListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxCustomInnerListBox::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int index = ItemAtPos(TPoint(X, Y), true);
  if (index == -1) return;
  SetMouseCapture(false);
  Choose(index);
}

// ---- View info ----

void TcxPCGoDialogViewInfo::Paint(TcxCanvas* ACanvas) {
  ACanvas->DrawEdge(Bounds, false, true);
  TRect inner = Bounds;
  InflateRect(&inner, -1, -1);
  ACanvas->DrawEdge(inner, false, false);
}

// ---- Dialog ----

TcxPCGoDialog::TcxPCGoDialog(TcxCustomTabControl* ATabControl)
    : TcxCustomPopupWindow(ATabControl), FTabControl(ATabControl) {
  SetCaptureFocus(true);
  SetTopMostAsParent(true);
  FListBox = new TcxPCGoDialogListBox(this);
  FListBox->BorderStyle = bsNone;
  FListBox->GetLookAndFeel()->SetMaster(ATabControl->GetLookAndFeel());
  FListBox->SetParent(this);
  FListBox->OnChosen = [this](int Index) { Chosen(Index); };
  AutoFitChildren = false;
  FConstructed = true;
  SetBounds(GetLeft(), GetTop(), kListWidth, 101);
  Layout();
}

std::unique_ptr<TcxContainerViewInfo> TcxPCGoDialog::CreateViewInfo() {
  return std::make_unique<TcxPCGoDialogViewInfo>();
}

TcxPCGoDialog::~TcxPCGoDialog() {
  ClearEntries();
}

void TcxPCGoDialog::ClearEntries() {
  TStrings* items = FListBox->GetItems();
  for (int i = 0; i < items->GetCount(); ++i)
    delete static_cast<TcxTabIndex*>(items->GetObject(i));
  items->Clear();
}

void TcxPCGoDialog::SetSorted(bool Value) {
  FListBox->SetSorted(Value);
}

void TcxPCGoDialog::Layout() {
  TcxContainerViewInfo* viewInfo = GetViewInfo();
  viewInfo->Bounds = TRect(0, 0, GetClientWidth(), GetClientHeight());
  viewInfo->ClientRect = viewInfo->Bounds;
  InflateRect(&viewInfo->ClientRect, -kBorder, -kBorder);
  FListBox->SetBoundsRect(viewInfo->ClientRect);
}

void TcxPCGoDialog::Resize() {
  TcxCustomPopupWindow::Resize();
  if (FConstructed) Layout();
}

void TcxPCGoDialog::FillList() {
  ClearEntries();
  TcxTabs* tabs = FTabControl->GetTabs();
  TControlCanvas canvas(FListBox);
  canvas.GetFont()->Assign(FListBox->GetFont());
  int widest = 0;
  for (int v = 0; v < tabs->VisibleTabCount(); ++v) {
    TcxTab* tab = tabs->GetVisibleTab(v);
    if (!tab->RealEnabled()) continue;
    const String text = TabDisplayCaption(tab->GetCaption());
    FListBox->GetItems()->AddObject(text, new TcxTabIndex(tab->GetIndex()));
    widest = std::max(widest, canvas.TextWidth(text));
  }
  int selected = -1;
  TStrings* items = FListBox->GetItems();
  for (int i = 0; i < items->GetCount(); ++i)
    if (static_cast<TcxTabIndex*>(items->GetObject(i))->Index == TabIndex) selected = i;
  FListBox->SetItemIndex(selected);
  TabIndex = -1;
  FListBox->SetScrollWidth(widest);
}

int TcxPCGoDialog::SelectableTabCount() {
  TcxTabs* tabs = FTabControl->GetTabs();
  int count = 0;
  for (int v = 0; v < tabs->VisibleTabCount(); ++v)
    if (tabs->GetVisibleTab(v)->RealEnabled()) ++count;
  return count;
}

void TcxPCGoDialog::CalculatePopupSize() {
  TcxTabs* tabs = FTabControl->GetTabs();
  TControlCanvas canvas(FListBox);
  canvas.GetFont()->Assign(FListBox->GetFont());
  int scrollWidth = 0;
  for (int v = 0; v < tabs->VisibleTabCount(); ++v) {
    TcxTab* tab = tabs->GetVisibleTab(v);
    if (tab->RealEnabled())
      scrollWidth = std::max(scrollWidth, canvas.TextWidth(tab->GetDisplayCaption()) + 4);
  }
  const int count = SelectableTabCount();
  const int rows = std::min(count, kMaxRows);
  int width = kListWidth;
  int height = FListBox->GetItemHeight() * rows;
  FListBox->RecreateWnd();
  FListBox->SetScrollWidth(scrollWidth);
  const int room = count > kMaxRows ? width - GetSystemMetrics(SM_CXVSCROLL) : width;
  if (scrollWidth > room) height += GetSystemMetrics(SM_CYHSCROLL);
  SetBounds(GetLeft(), GetTop(), width + 2 * kBorder, height + 2 * kBorder);
  Layout();
}

void TcxPCGoDialog::Popup() {
  const TcxTabPosition tabPosition = FTabControl->GetTabPosition();
  const TcxPCNavigatorPosition navigator = FTabControl->GetNavigatorPosition();
  const bool navigatorLeft = navigator == npLeftTop || navigator == npLeftBottom;
  const bool navigatorTop = navigator == npLeftTop || navigator == npRightTop;
  if (tabPosition == tpLeft || tabPosition == tpRight)
    HorzPlacement = tabPosition == tpLeft ? hpLeft : hpRight;
  else
    HorzPlacement = navigatorLeft ? hpLeft : hpRight;
  if (tabPosition == tpTop || tabPosition == tpBottom)
    VertPlacement = tabPosition == tpTop ? vpBottom : vpTop;
  else
    VertPlacement = navigatorTop ? vpBottom : vpTop;
  AnchorBounds = FTabControl->GetPainter()->GetGoDialogButtonRect();
  AnchorParent = FTabControl;
  FListBox->Show();
  TcxCustomPopupWindow::Popup(FListBox);
}

void TcxPCGoDialog::Chosen(int Index) {
  TStrings* items = FListBox->GetItems();
  TabIndex = Index == -1 ? -1 : static_cast<TcxTabIndex*>(items->GetObject(Index))->Index;
  ClosePopup(false);
}
