#include "cxDropDownEdit.h"

#include <algorithm>

// ---- TcxCustomComboBoxProperties ----

TcxCustomComboBoxProperties::TcxCustomComboBoxProperties(TPersistent* AOwner)
    : TcxCustomDropDownEditProperties(AOwner) {}

void TcxCustomComboBoxProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomComboBoxProperties*>(Source);
  if (!source) return TcxCustomDropDownEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomDropDownEditProperties::Assign(Source);
    SetDropDownListStyle(source->FDropDownListStyle);
    SetDropDownRows(source->FDropDownRows);
    SetItemHeight(source->FItemHeight);
    Revertable = source->Revertable;
    OnDrawItem = source->OnDrawItem;
    OnMeasureItem = source->OnMeasureItem;
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TcxCustomComboBoxProperties::SetDropDownListStyle(TcxEditDropDownListStyle Value) {
  if (Value == FDropDownListStyle) return;
  FDropDownListStyle = Value;
  Changed();
}

void TcxCustomComboBoxProperties::SetDropDownRows(int Value) {
  if (Value < 1 || Value == FDropDownRows) return;
  FDropDownRows = Value;
  Changed();
}

void TcxCustomComboBoxProperties::SetItemHeight(int Value) {
  if (Value == FItemHeight) return;
  FItemHeight = Value;
  Changed();
}

TcxTextEditingStyle TcxCustomComboBoxProperties::GetEditingStyle() const {
  static const TcxTextEditingStyle kStyles[3] = {tesFreeText, tesMatchItem, tesListOnly};
  return kStyles[FDropDownListStyle];
}

std::unique_ptr<TcxCustomEditPopupWindow>
TcxCustomComboBoxProperties::CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const {
  return std::make_unique<TcxComboBoxPopupWindow>(AEdit);
}

std::unique_ptr<TcxCustomTextEditLookupData>
TcxCustomComboBoxProperties::CreateLookupData(TcxCustomTextEdit* AEdit) const {
  return std::make_unique<TcxComboBoxLookupData>(AEdit);
}

TcxClassRef TcxCustomComboBoxProperties::GetContainerClass() const {
  return cxClassRef<TcxComboBox>();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomComboBoxProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomComboBoxViewData>(this, AStyle, AIsInplace);
}

// ---- TcxComboBoxPopupWindow ----

void TcxComboBoxPopupWindow::CalculatePopupSize() {
  GetViewInfo()->GripCorner = 3;
  TcxCustomDropDownEdit* edit = GetEdit();
  AnchorBounds = edit->GetPopupOwnerBounds();
  CalculateViewInfo();
  const TRect e = GetViewInfo()->GetClientExtent();
  const SIZE m = GetMinContentSize();
  const SIZE c = edit->CalculatePopupContentSize();
  const bool userSize = PopupSizeable && edit->IsResizedByUser();
  const TRect client = GetViewInfo()->ClientRect;
  const int editWidth = edit->GetWidth();
  int width = 0;
  if (userSize)
    width = client.Width() + e.left + e.right;
  else if (PopupAutoSize)
    width = std::max<int>(c.cx + e.left + e.right, editWidth);
  else
    width = PopupWidth > 0 ? PopupWidth : editWidth;
  if (PopupSizeable && PopupMinWidth > 0) width = std::max(width, PopupMinWidth);
  width = std::max<int>(width, m.cx);
  int height = 0;
  if (userSize)
    height = client.Height() + e.top + e.bottom;
  else if (PopupHeight != 0 && (PopupSizeable || !PopupAutoSize))
    height = PopupHeight;
  else
    height = c.cy + e.top + e.bottom;
  if (PopupSizeable && PopupMinHeight > 0) height = std::max(height, PopupMinHeight);
  height = std::max<int>(height, m.cy);
  SetBounds(GetLeft(), GetTop(), width, height);
}

// ---- TcxComboBoxListBox ----

TcxComboBoxListBox::TcxComboBoxListBox(TComponent* AOwner, TcxCustomComboBox* AEdit)
    : TcxCustomEditListBox(AOwner), FEdit(AEdit) {}

void TcxComboBoxListBox::SetItemIndex(int AIndex) {
  FEdit->IgnoreNextListMove = true;
  TcxCustomEditListBox::SetItemIndex(AIndex);
}

void TcxComboBoxListBox::MeasureItem(int Index, int& Height) {
  Height = GetItemHeight(Index);
}

bool TcxComboBoxListBox::DrawItemByEvent(int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  const TcxEditDrawItemEvent& event = FEdit->GetActiveProperties()->OnDrawItem;
  if (!event) return false;
  event(FEdit, GetcxCanvas(), AIndex, ARect, AState);
  return true;
}

int TcxComboBoxListBox::GetItemsHeight(int ACount) {
  int height = 0;
  for (int i = 0; i < ACount; ++i)
    height += GetItemHeight(i);
  return height;
}

int TcxComboBoxListBox::GetItemHeight(int AIndex) {
  TcxCustomComboBoxProperties* properties = FEdit->GetActiveProperties();
  int height = properties->GetItemHeight() >= 1 ? properties->GetItemHeight()
                                                : TcxCustomEditListBox::GetItemHeight(-1);
  if (AIndex >= 0 && properties->OnMeasureItem) properties->OnMeasureItem(FEdit, AIndex, height);
  return height;
}

// Rows of their own heights are measured when the window is made: a change
// of the height mode makes it again.
void TcxComboBoxListBox::RecreateWindowIfNeeded() {
  TcxCustomComboBoxProperties* properties = FEdit->GetActiveProperties();
  const bool measured = static_cast<bool>(properties->OnMeasureItem);
  const int height = properties->GetItemHeight();
  const bool recreate =
      measured || (!FFirstCreation && (measured != FHadMeasureItem || height != FLastItemHeight));
  FFirstCreation = false;
  FHadMeasureItem = measured;
  FLastItemHeight = height;
  if (recreate && HandleAllocated()) RecreateWindow();
}

void TcxComboBoxListBox::MouseMove(TShiftState Shift, int X, int Y) {
  if (FEdit->IgnoreNextListMove) {
    FEdit->IgnoreNextListMove = false;
    return;
  }
  TcxCustomEditListBox::MouseMove(Shift, X, Y);
}

void TcxComboBoxListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(FEdit);
  TcxCustomEditListBox::MouseUp(Button, Shift, X, Y);
  if (!guard.Alive() || Button != mbLeft) return;
  const int index = ItemAtPos(TPoint(X, Y), true);
  if (index < 0) return;
  SetCaptureControl(nullptr);
  SetItemIndex(index);
  FEdit->CloseUp(true);
}

void TcxComboBoxListBox::Resize() {
  TcxCustomEditListBox::Resize();
  if (!HandleAllocated() || !FEdit->HasPopupWindow()) return;
  const TRect corner = GetSizeGripRect();
  if (corner.right > corner.left) RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// ---- TcxComboBoxLookupData ----

TcxCustomEditListBox* TcxComboBoxLookupData::CreateListBox(TComponent* AOwner) {
  return new TcxComboBoxListBox(AOwner, static_cast<TcxCustomComboBox*>(GetEdit()));
}

void TcxComboBoxLookupData::UpdateListItemCount() {
  if (GetItemCount() == 0) SetCurrentKey(-1);
  TcxCustomTextEditLookupData::UpdateListItemCount();
}

SIZE TcxComboBoxLookupData::CalculateListSize(int, int AWidth) {
  TcxComboBoxListBox* list = GetListBox();
  if (!list) return SIZE{0, 0};
  const int count = GetItemCount();
  const int rows =
      std::min(count, static_cast<TcxCustomComboBox*>(GetEdit())->GetActiveProperties()->GetDropDownRows());
  SIZE size{0, list->GetItemsHeight(rows)};
  TCanvas* canvas = list->GetCanvas();
  canvas->GetFont()->Assign(list->GetFont());
  int widest = 0;
  for (int i = 0; i < count; ++i)
    widest = std::max(widest, canvas->TextWidth(GetItemText(i)));
  size.cx = widest + 4;
  list->SetScrollWidth(0);
  list->SetScrollWidth(size.cx);
  if (count > rows) size.cx += GetSystemMetrics(SM_CXVSCROLL);
  if (AWidth > 0 && size.cx > AWidth) size.cy += GetSystemMetrics(SM_CYHSCROLL);
  return size;
}

// Fits a requested client size to whole rows: growing stops before a row
// that would be cut, shrinking keeps the row that was cut.
bool TcxComboBoxLookupData::CanResizeList(SIZE& ASize) {
  TcxComboBoxListBox* list = GetListBox();
  if (!list || (ASize.cx == list->GetWidth() && ASize.cy == list->GetHeight())) return true;
  const int count = GetItemCount();
  const int vbarWidth = GetSystemMetrics(SM_CXVSCROLL);
  const int hbarHeight = GetSystemMetrics(SM_CYHSCROLL);
  bool vbar = false;
  bool hbar = false;
  auto total = [&](int AHeight, bool AVBar) {
    vbar = AVBar;
    hbar = list->GetScrollWidth() > ASize.cx - (vbar ? vbarWidth : 0);
    return AHeight + (hbar ? hbarHeight : 0);
  };
  int h = 0;
  int t = 0;
  for (int i = 0; i < count; ++i) {
    const int row = list->GetItemHeight(i);
    h += row;
    t = total(h, i < count - 1);
    if (t == ASize.cy) break;
    if (t < ASize.cy) continue;
    if (ASize.cy >= list->GetHeight() && i > 0) t = total(h - row, true);
    break;
  }
  ASize.cy = t;
  const int minWidth = (vbar ? vbarWidth : 0) + (hbar ? vbarWidth : 0);
  ASize.cx = std::max<LONG>(ASize.cx, minWidth);
  return true;
}

void TcxComboBoxLookupData::PrepareListBox(TWinControl* AParent) {
  TcxCustomTextEditLookupData::PrepareListBox(AParent);
  if (TcxComboBoxListBox* list = GetListBox())
    list->GetLookAndFeel()->SetMaster(
        static_cast<TcxCustomComboBox*>(GetEdit())->GetPopupControlsLookAndFeel());
}

// ---- TcxCustomComboBoxInnerEdit ----

// A release in the editor is never a click.
void TcxCustomComboBoxInnerEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) ControlState.Exclude(csClicked);
  TcxCustomDropDownInnerEdit::MouseUp(Button, Shift, X, Y);
}

// ---- TcxCustomComboBox ----

TcxCustomComboBox::TcxCustomComboBox(TComponent* AOwner) : TcxCustomDropDownEdit(AOwner) {
  ControlStyle.Exclude(csClickEvents);
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomComboBox::CreateProperties() {
  return std::make_unique<TcxComboBoxProperties>(this);
}

TcxCustomInnerTextEdit* TcxCustomComboBox::NewInnerEdit() {
  return new TcxCustomComboBoxInnerEdit(this);
}

int TcxCustomComboBox::GetItemIndex() const {
  IcxTextEditLookupData* lookup = GetEditLookupData();
  return lookup ? lookup->QueryCurrentKey() : -1;
}

void TcxCustomComboBox::SetItemIndex(int Value) {
  IcxTextEditLookupData* lookup = GetEditLookupData();
  if (!lookup) return;
  const int prev = lookup->QueryCurrentKey();
  TcxControlGuard guard(this);
  LockItemNotifications(true);
  try {
    lookup->SelectItemByKey(Value);
  } catch (...) {
    if (guard.Alive()) LockItemNotifications(false);
    throw;
  }
  if (!guard.Alive()) return;
  LockItemNotifications(false);
  if (lookup->QueryCurrentKey() == prev) return;
  SetModified(false);
  Click();
}

bool TcxCustomComboBox::CanDropDown() {
  IcxTextEditLookupData* lookup = GetEditLookupData();
  return !lookup || !lookup->IsEmpty();
}

SIZE TcxCustomComboBox::CalculatePopupContentSize() {
  TcxCustomEditPopupWindow* window = GetPopupWindow();
  const TRect e = window->GetViewInfo()->GetClientExtent();
  const TRect r = ClientRectToScreen(GetParent(), GetPopupOwnerBounds());
  const int extents = e.top + e.bottom;
  int above = r.top - GetMonitorWorkArea(TPoint(r.left, r.top)).top - extents;
  if (window->HasShadow) above += 3;
  const int below = GetMonitorWorkArea(TPoint(r.left, r.bottom)).bottom - r.bottom - extents;
  TcxCustomComboBoxProperties* properties = GetActiveProperties();
  int width = 0;
  if (!properties->GetDropDownSizeable() && !properties->GetDropDownAutoWidth())
    width =
        (properties->GetDropDownWidth() > 0 ? properties->GetDropDownWidth() : GetWidth()) - e.left - e.right;
  return GetComboLookupData()->CalculateListSize(std::max(above, below), width);
}

void TcxCustomComboBox::SetupPopupWindowProperties() {
  TcxCustomDropDownEdit::SetupPopupWindowProperties();
  GetPopupWindow()->PopupSysPanelStyle = GetActiveProperties()->GetDropDownSizeable();
}

void TcxCustomComboBox::InnerEditChanged(TObject* Sender) {
  IcxTextEditLookupData* lookup = GetEditLookupData();
  const int prev = lookup ? lookup->QueryCurrentKey() : -1;
  TcxControlGuard guard(this);
  LockItemNotifications(true);
  try {
    TcxCustomDropDownEdit::InnerEditChanged(Sender);
    const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
    if (guard.Alive() && lookup && !GetLookupTextSetting() &&
        (HasPopupWindow() || style == tesMatchItem || style == tesListOnly))
      lookup->SyncWithText();
  } catch (...) {
    if (guard.Alive()) LockItemNotifications(false);
    throw;
  }
  if (!guard.Alive()) return;
  LockItemNotifications(false);
  if (lookup && lookup->QueryCurrentKey() != prev) NotifyItemSelected();
}

void TcxCustomComboBox::DblClick() {
  TcxControlGuard guard(this);
  TcxCustomDropDownEdit::DblClick();
  IcxTextEditLookupData* lookup = GetEditLookupData();
  if (!guard.Alive() || !lookup) return;
  LockChangeEvents(true);
  try {
    const int prev = lookup->QueryCurrentKey();
    if (!HasPopupWindow() && GetActiveProperties()->Revertable) lookup->NavigateLookupItems(ldNext, true);
    if (guard.Alive() && lookup->QueryCurrentKey() != prev && CanPostEditValue() &&
        GetActiveProperties()->ImmediatePost && ValidateEdit(true)) {
      // The post comes from stepping through the items, as a key's would.
      SetLookupPosting(true);
      PostEditValue();
      if (guard.Alive()) SetLookupPosting(false);
    }
  } catch (...) {
    if (guard.Alive()) {
      SetLookupPosting(false);
      LockChangeEvents(false);
    }
    throw;
  }
  if (guard.Alive()) LockChangeEvents(false);
}

// The button went down on the editor and is held: the row under the
// pointer in the open list gets selected as the pointer moves over it.
void TcxCustomComboBox::MouseMove(TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxCustomDropDownEdit::MouseMove(Shift, X, Y);
  if (!guard.Alive() || !HasPopupWindow()) return;
  const HWND capture = GetCapture();
  const bool held = capture && (capture == GetHandle() || IsChild(GetHandle(), capture));
  TcxCustomEditListBox* list = GetEditLookupData() ? GetEditLookupData()->GetList() : nullptr;
  if (!held || !list || !list->HandleAllocated()) return;
  const TPoint screen = GetMouseCursorPos();
  TcxCustomEditPopupWindow* window = GetPopupWindow();
  const TPoint inWindow = window->ScreenToClient(screen);
  if (!window->GetViewInfo()->ClientRect.Contains(inWindow) || !GetEditLookupData()->IsMouseOverList(screen))
    return;
  const TPoint p = list->ScreenToClient(screen);
  SendMessageA(list->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
}

void TcxCustomComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) ControlState.Exclude(csClicked);
  TcxCustomDropDownEdit::MouseUp(Button, Shift, X, Y);
}

void TcxCustomComboBox::AfterPopupShow() {
  TcxControlGuard guard(this);
  TcxCustomDropDownEdit::AfterPopupShow();
  if (!guard.Alive()) return;
  TcxCustomEditListBox* list = GetEditLookupData() ? GetEditLookupData()->GetList() : nullptr;
  if (list && list->HandleAllocated() && GetEditLookupData()->IsMouseOverList(GetMouseCursorPos()))
    IgnoreNextListMove = true;
}

void TcxCustomComboBox::ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxControlGuard guard(this);
  TcxCustomDropDownEdit::ActivateInplace(AEditData);
  if (guard.Alive() && GetEditLookupData()) GetEditLookupData()->SyncWithText();
}
