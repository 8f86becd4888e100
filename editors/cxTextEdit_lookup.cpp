#include "cxTextEdit.h"

#include "Locale.h"

#include <algorithm>

std::unique_ptr<TcxCustomTextEditLookupData>
TcxCustomTextEditProperties::CreateLookupData(TcxCustomTextEdit* AEdit) const {
  return std::make_unique<TcxCustomTextEditLookupData>(AEdit);
}

// ---- TcxCustomTextEditLookupData ----

TcxCustomTextEditLookupData::TcxCustomTextEditLookupData(TcxCustomTextEdit* AOwner)
    : TcxInterfacedPersistent(nullptr), FEdit(AOwner) {}

TcxCustomTextEditLookupData::~TcxCustomTextEditLookupData() = default;

TPersistent* TcxCustomTextEditLookupData::GetOwner() const {
  return FEdit;
}

String TcxCustomTextEditLookupData::GetItemText(int AIndex) {
  return FEdit->GetActiveProperties()->GetLookupItems()->Get(AIndex);
}

int TcxCustomTextEditLookupData::GetItemCount() {
  return FEdit->GetActiveProperties()->GetLookupItems()->GetCount();
}

String TcxCustomTextEditLookupData::GetItemTextByKey(int AKey) {
  return AKey >= 0 && AKey < GetItemCount() ? GetItemText(AKey) : String();
}

void TcxCustomTextEditLookupData::SetCurrentKey(int AIndex) {
  if (AIndex < -1 || AIndex >= GetItemCount()) return;
  FCurrentKey = AIndex;
  SetItemIndex(AIndex);
}

void TcxCustomTextEditLookupData::SetItemIndex(int AIndex) {
  if (AIndex < -1 || AIndex >= GetItemCount() || AIndex == FItemIndex) return;
  if (FList && GetItemCount() > 0) {
    if (AIndex == -1) FList->SetItemIndex(0);
    FList->SetItemIndex(AIndex);
  }
  FItemIndex = AIndex;
}

void TcxCustomTextEditLookupData::ListItemClicked() {
  if (FList) FItemIndex = FList->GetItemIndex();
}

void TcxCustomTextEditLookupData::UpdateListItemCount() {
  if (FList) FList->SetItemCount(GetItemCount());
}

bool TcxCustomTextEditLookupData::IsTextInItems(const String& AText) {
  const String text = AnsiUpperCase(AText);
  for (int i = 0; i < GetItemCount(); ++i)
    if (AnsiUpperCase(GetItemText(i)) == text) return true;
  return false;
}

// The first item from the start that begins with the text, letter case
// ignored; the item's own letters replace the typed ones.
bool TcxCustomTextEditLookupData::LocateByText(String& AText, String& ATail, bool AFromCurrent,
                                               bool AResetKeyOnFail) {
  const int count = GetItemCount();
  if (count == 0) return false;
  const String search = AnsiUpperCase(AText);
  if (!search.empty()) {
    for (int i = AFromCurrent ? FItemIndex + 1 : 0; i < count; ++i) {
      const String item = GetItemText(i);
      if (item.size() < AText.size() || AnsiUpperCase(item.substr(0, AText.size())) != search) continue;
      AText = item.substr(0, AText.size());
      ATail = item.substr(AText.size());
      SetCurrentKey(i);
      return true;
    }
  }
  const TcxTextEditingStyle style = FEdit->GetActiveProperties()->GetEditingStyle();
  if (style == tesListOnly) return false;
  if (AResetKeyOnFail || (AText.empty() && !IsTextInItems(String())) || style == tesFreeText)
    SetCurrentKey(-1);
  return false;
}

int TcxCustomTextEditLookupData::NavigationTarget(TcxEditLookupDirection ADirection, bool AWrap, int AStart,
                                                  int ACount) {
  const int page = FEdit->GetActiveProperties()->GetDropDownPageSize();
  switch (ADirection) {
  case ldFirst:
    return 0;
  case ldLast:
    return ACount - 1;
  case ldNext:
    if (AStart == ACount - 1) return AWrap ? 0 : AStart;
    return AStart + 1;
  case ldPrevious:
    if (AStart - 1 < 0) return AWrap ? ACount - 1 : AStart;
    return AStart - 1;
  case ldPageUp:
    if (AStart == -1) return AWrap ? ACount - 1 : -1;
    if (AStart - page + 1 < 0) return AWrap && AStart == 0 ? ACount - 1 : 0;
    return AStart - page + 1;
  case ldPageDown: {
    const int target = AStart == -1 ? page - 1 : AStart + page - 1;
    if (target >= ACount) return AWrap && AStart == ACount - 1 ? 0 : ACount - 1;
    return target;
  }
  }
  return AStart;
}

void TcxCustomTextEditLookupData::NavigateLookupItems(TcxEditLookupDirection ADirection, bool AWrap) {
  const int count = GetItemCount();
  if (count == 0) return;
  const int start = FItemIndex != -1 ? FItemIndex : FCurrentKey;
  const int target = NavigationTarget(ADirection, AWrap, start, count);
  if (FList && FList->IsListVisible() && !FEdit->GetActiveProperties()->ImmediateUpdateText)
    SetItemIndex(target);
  else
    SelectItemByKey(target);
}

void TcxCustomTextEditLookupData::FireSelectItem() {
  if (FOnSelectItem) FOnSelectItem(this);
}

void TcxCustomTextEditLookupData::SelectItemByKey(int AKey) {
  const int prevKey = FCurrentKey;
  SetCurrentKey(AKey);
  const bool setting = FEdit->GetLookupTextSetting();
  FEdit->SetLookupTextSetting(true);
  try {
    if (FCurrentKey != prevKey) {
      FireSelectItem();
    } else if (AKey >= 0 && AKey < GetItemCount()) {
      String text;
      FEdit->GetDisplayText(text);
      if (text != GetItemText(AKey)) FireSelectItem();
    }
  } catch (...) {
    FEdit->SetLookupTextSetting(setting);
    throw;
  }
  FEdit->SetLookupTextSetting(setting);
}

void TcxCustomTextEditLookupData::AcceptListItem() {
  if (FItemIndex == -1) return;
  const int prevKey = FCurrentKey;
  SelectItemByKey(FItemIndex);
  if (FCurrentKey == prevKey) FireSelectItem();
}

void TcxCustomTextEditLookupData::SyncWithText() {
  String text;
  FEdit->GetDisplayText(text);
  if (AnsiUpperCase(GetItemTextByKey(FItemIndex)) == AnsiUpperCase(text) && FItemIndex != -1) return;
  String tail;
  LocateByText(text, tail, false, true);
}

bool TcxCustomTextEditLookupData::IsMouseOverList(const TPoint& AScreenPoint) {
  if (!FList || !FList->HandleAllocated()) return false;
  RECT r;
  GetWindowRect(FList->GetHandle(), &r);
  return PtInRect(&r, AScreenPoint) != 0;
}

void TcxCustomTextEditLookupData::PrepareListBox(TWinControl* AParent) {
  if (!FList) FList = CreateListBox(AParent);
  if (!FList) return;
  TFont* font = FEdit->GetStyle()->GetFont();
  FList->SetColor(FEdit->GetStyle()->GetColor());
  FList->GetFont()->Assign(font);
  FList->GetCanvas()->GetFont()->Assign(font);
  FList->SetParent(AParent);
  // Rows read in the direction of what they are shown in.
  FList->SetBiDiMode(AParent->GetBiDiMode());
  FList->OnItemSelected = [this](TObject*) { ListItemClicked(); };
  FList->ItemTextSource = [this](int AIndex) { return GetItemTextByKey(AIndex); };
  FList->SetItemCount(GetItemCount());
  FList->SetItemIndex(FItemIndex);
  FList->RecreateWindowIfNeeded();
  SyncWithText();
}

void TcxCustomTextEditLookupData::SetListBoxBounds(const TRect& R) {
  if (FList) FList->SetBoundsRect(R);
}

// ---- TcxCustomEditListBox ----

TcxCustomEditListBox::TcxCustomEditListBox(TComponent* AOwner) : TcxCustomInnerListBox(AOwner) {
  SetStyle(lbOwnerDrawVariable);
  BorderStyle = bsNone;
}

String TcxCustomEditListBox::GetItemText(int AIndex) {
  if (ItemTextSource) return ItemTextSource(AIndex);
  return GetItems()->Get(AIndex);
}

int TcxCustomEditListBox::GetItemHeight(int) {
  GetCanvas()->GetFont()->Assign(GetFont());
  return GetCanvas()->TextHeight("Wg");
}

void TcxCustomEditListBox::SetItemCount(int ACount) {
  TStrings* items = GetItems();
  if (items->GetCount() == ACount) return;
  items->BeginUpdate();
  try {
    items->Clear();
    for (int i = 0; i < ACount; ++i)
      items->Add(String());
  } catch (...) {
    items->EndUpdate();
    throw;
  }
  items->EndUpdate();
}

void TcxCustomEditListBox::SelectionChanged() {
  UpdateScrollBars();
  if (OnItemSelected) OnItemSelected(this);
}

void TcxCustomEditListBox::Click() {
  TcxCustomInnerListBox::Click();
  SelectionChanged();
}

void TcxCustomEditListBox::SetItemIndex(int AIndex) {
  TcxCustomInnerListBox::SetItemIndex(AIndex);
  SelectionChanged();
}

void TcxCustomEditListBox::MeasureItem(int, int& Height) {
  Height = GetItemHeight(-1);
}

void TcxCustomEditListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (DrawItemByEvent(Index, Rect, State)) return;
  TCanvas* canvas = GetCanvas();
  RECT r = Rect;
  FillRect(canvas->GetHandle(), &r, canvas->GetBrush()->GetHandle());
  if (Index < 0 || Index >= GetItems()->GetCount()) return;
  const String text = GetItemText(Index);
  // Two pixels in from the edge the text starts at.
  if (UseRightToLeftAlignment())
    r.right -= 2;
  else
    r.left += 2;
  SetBkMode(canvas->GetHandle(), TRANSPARENT);
  DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &r,
            DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
}

// The row under the pointer follows it while the mouse is not captured.
void TcxCustomEditListBox::MouseMove(TShiftState Shift, int X, int Y) {
  TcxCustomInnerListBox::MouseMove(Shift, X, Y);
  if (!HotTrack || MouseCapture()) return;
  const int index = ItemAtPos(TPoint(X, Y), true);
  if (index >= 0 && index != GetItemIndex()) SetItemIndex(index);
}

bool TcxCustomEditListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TcxCustomInnerListBox::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  LRESULT result = 0;
  for (UINT i = 0; i < lines; ++i)
    result = SendMessageA(GetHandle(), WM_VSCROLL, WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
  return result == 0;
}

void TcxCustomEditListBox::WndProc(TMessage& Message) {
  TcxCustomInnerListBox::WndProc(Message);
  if (Message.Msg == CM_SHOWINGCHANGED && HandleAllocated())
    CallWindowProcA(FDefWndProc, GetHandle(), WM_SETFOCUS, 0, 0);
}
