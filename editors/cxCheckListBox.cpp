#include "cxCheckListBox.h"

#include <algorithm>

namespace {

constexpr int kCheckAreaWidth = 15;

TcxCheckBoxState NextState(TcxCheckBoxState AState, bool AAllowGrayed) {
  switch (AState) {
  case cbsUnchecked:
    return AAllowGrayed ? cbsGrayed : cbsChecked;
  case cbsGrayed:
    return cbsChecked;
  default:
    return cbsUnchecked;
  }
}

} // namespace

// ---- Items ----

TcxCheckListBoxItem::TcxCheckListBoxItem(TCollection* Collection) : TCollectionItem(Collection) {
  if (TcxCustomInnerCheckListBox* list = ListBox()) list->EnsureRows(GetIndex());
}

TcxCheckListBoxItem::~TcxCheckListBoxItem() {
  if (TcxCustomInnerCheckListBox* list = ListBox()) list->RemoveRow(FText);
}

TcxCustomInnerCheckListBox* TcxCheckListBoxItem::ListBox() const {
  auto* items = static_cast<TcxCheckListBoxItems*>(GetCollection());
  return items ? items->GetOwnerListBox() : nullptr;
}

void TcxCheckListBoxItem::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxCheckListBoxItem*>(Source);
  if (!source) return TCollectionItem::Assign(Source);
  SetText(source->FText);
  SetEnabled(source->FEnabled);
  SetState(source->FState);
}

String TcxCheckListBoxItem::GetDisplayName() const {
  return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
}

void TcxCheckListBoxItem::SetText(const String& Value) {
  FText = Value;
  if (TcxCustomInnerCheckListBox* list = ListBox()) {
    if (list->FSorted)
      list->PlaceSorted(this);
    else
      list->GetItems()->Put(GetIndex(), Value);
  }
  Changed(false);
}

void TcxCheckListBoxItem::SetState(TcxCheckBoxState Value) {
  if (Value == FState) return;
  FState = Value;
  Changed(false);
  TcxCustomInnerCheckListBox* list = ListBox();
  if (list && !list->AllowGrayed) list->UpdateEditValue();
}

void TcxCheckListBoxItem::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Changed(false);
}

void TcxCheckListBoxItem::SetChecked(bool Value) {
  SetState(Value ? cbsChecked : cbsUnchecked);
}

TcxCheckListBoxItems::~TcxCheckListBoxItems() {
  FOwner = nullptr;
  Clear();
}

void TcxCheckListBoxItems::Update(TCollectionItem* Item) {
  if (!FOwner) return;
  if (Item)
    FOwner->InvalidateItem(Item->GetIndex());
  else
    FOwner->Invalidate();
}

// ---- Inner list box ----

TcxCustomInnerCheckListBox::TcxCustomInnerCheckListBox(TComponent* AOwner)
    : TcxCustomInnerListBox(AOwner), FPaintHelper(std::make_unique<TcxCheckPaintHelper>(this)),
      FItems(std::make_unique<TcxCheckListBoxItems>(this)) {
  SetStyle(lbOwnerDrawFixed);
}

TcxCustomInnerCheckListBox::~TcxCustomInnerCheckListBox() {
  FItems.reset();
}

TcxCustomCheckListBox* TcxCustomInnerCheckListBox::CheckListBox() const {
  return dynamic_cast<TcxCustomCheckListBox*>(Container);
}

void TcxCustomInnerCheckListBox::EnsureRows(int Index) {
  TStrings* rows = GetItems();
  while (rows->GetCount() <= Index)
    rows->Add("");
  Invalidate();
}

void TcxCustomInnerCheckListBox::RemoveRow(const String& AText) {
  TStrings* rows = GetItems();
  for (int i = 0; i < rows->GetCount(); ++i) {
    if (rows->Get(i) != AText) continue;
    rows->Delete(i);
    break;
  }
  Invalidate();
}

// The other items are in text order: the item goes before the first one
// whose text sorts after its own, and its row, with the item's text, goes
// with it.
void TcxCustomInnerCheckListBox::PlaceSorted(TcxCheckListBoxItem* AItem) {
  const int from = AItem->GetIndex();
  int lo = 0, hi = FItems->GetCount() - 1;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const int other = mid < from ? mid : mid + 1;
    if (CompareText(FItems->GetItem(other)->FText, AItem->FText) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  TStrings* rows = GetItems();
  if (lo == from) return rows->Put(from, AItem->FText);
  FItems->BeginUpdate();
  AItem->SetIndex(lo);
  FItems->EndUpdate();
  rows->Delete(from);
  rows->Insert(lo, AItem->FText);
}

void TcxCustomInnerCheckListBox::SetItemsSorted(bool Value) {
  if (Value == FSorted) return;
  FSorted = Value;
  if (!Value) return;
  std::vector<TcxCheckListBoxItem*> order;
  for (int i = 0; i < FItems->GetCount(); ++i)
    order.push_back(FItems->GetItem(i));
  std::stable_sort(order.begin(), order.end(),
                   [](const auto* a, const auto* b) { return CompareText(a->FText, b->FText) < 0; });
  FItems->BeginUpdate();
  TStrings* rows = GetItems();
  rows->BeginUpdate();
  for (int i = 0; i < static_cast<int>(order.size()); ++i) {
    order[static_cast<size_t>(i)]->SetIndex(i);
    rows->Put(i, order[static_cast<size_t>(i)]->FText);
  }
  rows->EndUpdate();
  FItems->EndUpdate();
}

void TcxCustomInnerCheckListBox::SetGlyph(const TBitmap* Value) {
  if (Value) {
    if (!FGlyph) FGlyph = std::make_unique<TBitmap>();
    FGlyph->Assign(Value);
  } else {
    FGlyph.reset();
  }
  GlyphChanged();
}

void TcxCustomInnerCheckListBox::SetGlyphCount(int Value) {
  if (Value == FGlyphCount) return;
  FGlyphCount = Value;
  if (FGlyph) GlyphChanged();
}

void TcxCustomInnerCheckListBox::GlyphChanged() {
  FPaintHelper->GetStyle()->GetLookAndFeel()->Assign(GetLookAndFeel());
  FPaintHelper->SetGlyph(FGlyph.get());
  FPaintHelper->SetGlyphCount(FGlyphCount);
  FullRepaint();
}

void TcxCustomInnerCheckListBox::FullRepaint() {
  if (!HandleAllocated() || IsLoading()) return;
  SendMessageA(GetHandle(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(GetHandle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TcxCustomInnerCheckListBox::InvalidateItem(int Index) {
  if (!HandleAllocated() || Index < 0 || Index >= GetCount()) return;
  const RECT r = ItemRect(Index);
  InvalidateRect(GetHandle(), &r, FALSE);
}

void TcxCustomInnerCheckListBox::UpdateEditValue() {
  TcxCustomCheckListBox* box = CheckListBox();
  if (box) box->SetEditValue(Variant(static_cast<int>(box->GetCheckedMask(2147483647))));
}

void TcxCustomInnerCheckListBox::DoClickCheck(int Index, TcxCheckBoxState OldState,
                                              TcxCheckBoxState NewState) {
  TcxCustomCheckListBox* box = CheckListBox();
  if (box && box->OnClickCheck) box->OnClickCheck(this, Index, OldState, NewState);
}

void TcxCustomInnerCheckListBox::ClearStatesSilently() {
  for (int i = 0; i < FItems->GetCount(); ++i)
    FItems->GetItem(i)->FState = cbsUnchecked;
}

void TcxCustomInnerCheckListBox::ToggleItem(int Index) {
  if (Index < 0 || Index >= FItems->GetCount()) return;
  TcxCheckListBoxItem* item = FItems->GetItem(Index);
  if (!item->GetEnabled()) return;
  const TcxCheckBoxState old = item->GetState();
  const TcxCheckBoxState state = NextState(old, AllowGrayed);
  item->SetState(state);
  CheckClicked();
  DoClickCheck(Index, old, state);
  if (!HandleAllocated() || Index >= GetCount()) return;
  TRect r = ItemRect(Index);
  r.right = r.left + kCheckAreaWidth;
  InvalidateRect(GetHandle(), &r, FALSE);
}

void TcxCustomInnerCheckListBox::UpdateRowHeight() {
  TcxCustomCheckListBox* box = CheckListBox();
  if (!box || !HandleAllocated()) return;
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(box->GetStyle()->GetFont());
  FRowHeight = canvas->TextHeight("Wg");
  SetItemHeight(FRowHeight);
}

void TcxCustomInnerCheckListBox::CreateWndFinished() {
  TcxCustomInnerListBox::CreateWndFinished();
  UpdateRowHeight();
}

bool TcxCustomInnerCheckListBox::InCheckSquare(int Index, const TPoint& P) {
  const TRect row = ItemRect(Index);
  return FPaintHelper->CheckHitTest(row, FItems->GetItem(Index)->GetState(), P.x, P.y, false);
}

void TcxCustomInnerCheckListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TRect narrowed = Rect;
  narrowed.left += FRowHeight + 2;
  TcxCustomCheckListBox* box = CheckListBox();
  if (!box) return TcxCustomInnerListBox::DrawItem(Index, narrowed, State);
  if (Index < FItems->GetCount()) box->DrawItemHandler(Index, narrowed, State);
  if (box->OnDrawItem) box->OnDrawItem(box, Index, Rect, State);
}

void TcxCustomInnerCheckListBox::MeasureItem(int Index, int& Height) {
  if (TcxCustomCheckListBox* box = CheckListBox())
    box->MeasureItemHandler(Index, Height);
  else
    TcxCustomInnerListBox::MeasureItem(Index, Height);
}

void TcxCustomInnerCheckListBox::KeyPress(char& Key) {
  if (Key == ' ') ToggleItem(GetItemIndex());
  TcxCustomInnerListBox::KeyPress(Key);
}

void TcxCustomInnerCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxCustomInnerListBox::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int index = ItemAtPos(TPoint(X, Y), true);
  if (index < 0 || index >= FItems->GetCount() || !FItems->GetItem(index)->GetEnabled()) return;
  if (InCheckSquare(index, TPoint(X, Y))) ToggleItem(index);
}

void TcxCustomInnerCheckListBox::DblClick() {
  TcxCustomInnerListBox::DblClick();
  const int index = GetItemIndex();
  if (!AllowDblClickToggle || index < 0 || index >= FItems->GetCount() ||
      !FItems->GetItem(index)->GetEnabled())
    return;
  POINT P;
  GetCursorPos(&P);
  ::ScreenToClient(GetHandle(), &P);
  // The press on the check square toggled already.
  if (!InCheckSquare(index, TPoint(P.x, P.y))) ToggleItem(index);
}

void TcxCustomInnerCheckListBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONDBLCLK) {
    // The second press of a double click toggles a box as the first did;
    // the double click itself may toggle the row.
    Message.Msg = WM_LBUTTONDOWN;
    TcxCustomInnerListBox::WndProc(Message);
    DblClick();
    return;
  }
  TcxCustomInnerListBox::WndProc(Message);
  if (Message.Msg == CM_FONTCHANGED) UpdateRowHeight();
}

// ---- Check list box ----

TcxCustomCheckListBox::TcxCustomCheckListBox(TComponent* AOwner) : TcxContainer(AOwner) {
  FInnerCheckListBox = new TcxCustomInnerCheckListBox(this);
  FInnerCheckListBox->Container = this;
  FInnerCheckListBox->BorderStyle = bsNone;
  FInnerCheckListBox->SetTabStop(false);
  FInnerCheckListBox->SetParent(this);
  FInnerCheckListBox->GetLookAndFeel()->SetMaster(GetStyle()->GetLookAndFeel());
  SetInnerControl(FInnerCheckListBox);
  SetWidth(121);
  SetHeight(97);
}

TcxCustomCheckListBox::~TcxCustomCheckListBox() = default;

std::unique_ptr<TcxContainerStyle> TcxCustomCheckListBox::CreateStyle(bool AIsInternal) {
  return std::make_unique<TcxExtContainerStyle>(this, AIsInternal);
}

void TcxCustomCheckListBox::SetItems(const TcxCheckListBoxItems* Value) {
  GetItems()->Assign(Value);
  DataChange();
}

void TcxCustomCheckListBox::DataChange() {
  // The base binding always has data, and its value is Null.
  Variant value;
  ConvertEditValue(Null(), value);
  SetEditValue(value);
}

void TcxCustomCheckListBox::DrawItemHandler(int AIndex, const TRect& R, TOwnerDrawState AState) {
  TcxCustomInnerCheckListBox* list = FInnerCheckListBox;
  TcxCheckListBoxItem* item = GetItems()->GetItem(AIndex);
  const TRect textRect(R.left + 2, R.top, R.right, R.bottom);
  const TRect checkRect(R.left - list->GetRowHeight() - 2, R.top, R.right, R.bottom);
  const bool enabled = GetEnabled() && item->GetEnabled();
  TcxExtContainerStyle* style = GetStyle();
  TCanvas* canvas = list->GetCanvas();
  canvas->GetFont()->Assign(style->GetFont());
  auto setColors = [&] {
    const bool selected = AState.Contains(odSelected);
    canvas->GetBrush()->SetColor(selected ? clHighlight : style->GetColor());
    canvas->GetFont()->SetColor(!enabled   ? clGrayText
                                : selected ? clHighlightText
                                           : style->GetFont()->GetColor());
  };
  setColors();
  canvas->FillRect(R);
  if (checkRect.left >= 0 && checkRect.top >= 0) {
    TcxCheckPaintHelper* helper = list->GetPaintHelper();
    helper->GetStyle()->Assign(style);
    helper->GetStyle()->GetLookAndFeel()->Assign(style->GetLookAndFeel());
    helper->GetStyle()->SetFont(style->GetFont());
    helper->SetGlyph(list->GetGlyph());
    helper->SetGlyphCount(list->GetGlyphCount());
    helper->PaintCheck(list->GetcxCanvas(), checkRect, item->GetState(), enabled, 1, 0);
  }
  SetBkMode(canvas->GetHandle(), TRANSPARENT);
  setColors();
  RECT r = textRect;
  const String& text = item->GetText();
  UINT format = DT_NOPREFIX | DT_VCENTER | DT_SINGLELINE;
  DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 0, 0, 0, 0};
  if (list->GetTabWidth() > 0) {
    format |= DT_EXPANDTABS | DT_TABSTOP;
    params.iTabLength = list->GetTabWidth();
  }
  DrawTextExA(canvas->GetHandle(), const_cast<char*>(text.c_str()), static_cast<int>(text.size()), &r, format,
              &params);
}

void TcxCustomCheckListBox::MeasureItemHandler(int AIndex, int& AHeight) {
  TCanvas* canvas = FInnerCheckListBox->GetCanvas();
  canvas->GetFont()->Assign(GetStyle()->GetFont());
  AHeight = std::max(canvas->TextHeight("Wg") + 2, 15);
  if (OnMeasureItem) OnMeasureItem(this, AIndex, AHeight);
}

void TcxCustomCheckListBox::ApplyStyleToInnerControl() {
  TcxContainer::ApplyStyleToInnerControl();
  if (!FInnerCheckListBox) return;
  FInnerCheckListBox->SetColor(GetStyle()->GetColor());
  FInnerCheckListBox->GetFont()->Assign(GetFont());
  FInnerCheckListBox->GetFont()->SetColor(GetEnabled() ? GetStyle()->GetFont()->GetColor() : clBtnShadow);
}

void TcxCustomCheckListBox::ContainerStyleChanged(TObject* Sender) {
  TcxContainer::ContainerStyleChanged(Sender);
  if (!FInnerCheckListBox) return;
  FInnerCheckListBox->GetCanvas()->GetFont()->Assign(GetStyle()->GetFont());
  FInnerCheckListBox->UpdateRowHeight();
  FullRepaint();
}

void TcxCustomCheckListBox::WndProc(TMessage& Message) {
  // The list box messages are the inner list box's.
  if (Message.Msg >= 0x180 && Message.Msg <= 0x1B0 && FInnerCheckListBox &&
      FInnerCheckListBox->HandleAllocated()) {
    Message.Result =
        SendMessageA(FInnerCheckListBox->GetHandle(), Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  TcxContainer::WndProc(Message);
}

// ---- Edit value ----

Variant TcxCustomCheckListBox::GetEditValue() {
  if (OnCustomMapStateToEditValue) OnCustomMapStateToEditValue(this, FEditValue);
  return FEditValue;
}

bool TcxCustomCheckListBox::IsValidEditValue(const Variant& Value, bool AllowEmpty) {
  if (Value.IsClear()) return AllowEmpty;
  if (VarIsIntegerType(Value) || VarIsFloatType(Value)) return true;
  return Value.IsStr() && (IsIntegerText(Value.AsString()) || IsFloatText(Value.AsString()));
}

void TcxCustomCheckListBox::NormalizeEditValue(const Variant& Value, Variant& Result) {
  Result = IsValidEditValue(Value, true) ? Value : Variant(0);
}

void TcxCustomCheckListBox::ConvertEditValue(const Variant& Value, Variant& Result) {
  if (Value.IsClear() || !IsValidEditValue(Value, false)) {
    Result = Variant(0);
  } else if (VarIsIntegerType(Value)) {
    Result = Variant(Value.AsInteger());
  } else if (VarIsFloatType(Value)) {
    Result = Variant(Value.AsFloat());
  } else {
    Result = Variant(Value.AsString());
  }
}

void TcxCustomCheckListBox::SetEditValue(const Variant& Value) {
  NormalizeEditValue(Value, FEditValue);
  if (!GetAllowGrayed()) {
    Variant converted;
    ConvertEditValue(FEditValue, converted);
    ApplyEditValueMask(VarIsIntegerType(converted) ? converted.AsInt64()
                                                   : static_cast<int64_t>(converted.AsFloat()));
    if (OnEditValueChanged) OnEditValueChanged(this);
  }
  FInnerCheckListBox->Invalidate();
}

int64_t TcxCustomCheckListBox::GetCheckedMask(int64_t ALimit) {
  int64_t mask = 0;
  TcxCheckListBoxItems* items = GetItems();
  for (int i = 0; i < std::min(items->GetCount(), 64); ++i) {
    if (!items->GetItem(i)->GetChecked()) continue;
    const int64_t bit = int64_t{1} << i;
    if (bit > ALimit - mask) break;
    mask += bit;
  }
  return mask;
}

void TcxCustomCheckListBox::ApplyEditValueMask(int64_t AMask) {
  TcxCheckListBoxItems* items = GetItems();
  items->BeginUpdate();
  try {
    FInnerCheckListBox->ClearStatesSilently();
    for (int i = 0; i < items->GetCount() && i < 63 && (int64_t{1} << i) <= AMask; ++i) {
      TcxCheckBoxState state = (AMask >> i) & 1 ? cbsChecked : cbsUnchecked;
      if (OnCustomMapEditValueToState) OnCustomMapEditValueToState(this, i, Variant(AMask), state);
      items->GetItem(i)->FState = state;
    }
  } catch (...) {
    items->EndUpdate();
    throw;
  }
  FInnerCheckListBox->Invalidate();
  items->EndUpdate();
}

// ---- Integral height ----

void TcxCustomCheckListBox::SetIntegralHeight(bool Value) {
  if (Value == FIntegralHeight) return;
  FIntegralHeight = Value;
  AdjustInnerControlBounds();
}

void TcxCustomCheckListBox::SetScrollWidth(int Value) {
  FInnerCheckListBox->SetScrollWidth(Value);
  AdjustInnerControlBounds();
}

// The rows, the borders and, when the scroll width passes the width left
// beside a vertical bar the rows need, the horizontal bar.
int TcxCustomCheckListBox::HeightForRows(int ARows) {
  const TRect border = GetBorderExtent();
  int height = border.top + border.bottom + ARows * FInnerCheckListBox->GetRowHeight();
  const int scrollWidth = GetScrollWidth() == 0 ? 0 : GetScrollWidth() + 4;
  int width = GetWidth() - border.left - border.right;
  if (GetItemCount() > ARows) width -= GetSystemMetrics(SM_CXVSCROLL);
  if (scrollWidth > width) height += GetSystemMetrics(SM_CYHSCROLL);
  return height;
}

int TcxCustomCheckListBox::CalcIntegralHeight(int AHeight) {
  // Rows of no height (a list whose window is going) fit any height.
  if (FInnerCheckListBox->GetRowHeight() <= 0) return AHeight;
  for (int n = 1;; ++n) {
    const int height = HeightForRows(n);
    if (height == AHeight) return height;
    if (height > AHeight) return HeightForRows(std::max(n - 1, 1));
  }
}

bool TcxCustomCheckListBox::CanResize(int& NewWidth, int& NewHeight) {
  if (!TcxContainer::CanResize(NewWidth, NewHeight)) return false;
  const TAlign align = GetAlign();
  if (FIntegralHeight && !IsLoading() && align != alLeft && align != alRight && align != alClient)
    NewHeight = CalcIntegralHeight(NewHeight);
  return true;
}

void TcxCustomCheckListBox::AdjustInnerControlBounds() {
  TcxContainer::AdjustInnerControlBounds();
  const TAlign align = GetAlign();
  if (FIntegralHeight && align != alLeft && align != alRight && align != alClient) {
    const int height = CalcIntegralHeight(GetHeight());
    if (height != GetHeight()) SetHeight(height);
  }
  MSG msg;
  if (FInnerCheckListBox->HandleAllocated())
    while (PeekMessageA(&msg, FInnerCheckListBox->GetHandle(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
    }
}
