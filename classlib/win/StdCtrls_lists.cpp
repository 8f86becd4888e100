#include "StdCtrls.h"

#include <algorithm>

// ---- Items of a list box ----

namespace {

// Where a row at position pos stands after the row at from moved to to.
int MovedIndex(int pos, int from, int to) {
  if (pos == from) return to;
  if (from < pos && pos <= to) return pos - 1;
  if (to <= pos && pos < from) return pos + 1;
  return pos;
}

} // namespace

class TListBoxStrings : public TStrings {
public:
  explicit TListBoxStrings(TCustomListBox* box) : FBox(box) {}
  int GetCount() const override { return FBox->GetCount(); }
  String Get(int index) const override { return At(index).text; }
  // A new text keeps the row's object, check state, enabled flag and
  // selection; a sorted list moves the row to its new place.
  void Put(int index, const String& s) override {
    auto& items = FBox->FItems;
    TCustomListBox::Item item = std::move(At(index));
    item.text = s;
    items.erase(items.begin() + index);
    const int target = FBox->FSorted ? FBox->SortedIndex(s) : index;
    items.insert(items.begin() + target, std::move(item));
    if (!FBox->HandleAllocated()) {
      FBox->FSavedIndex = MovedIndex(FBox->FSavedIndex, index, target);
      return;
    }
    const HWND wnd = FBox->GetHandle();
    const bool selected = SendMessageA(wnd, LB_GETSEL, index, 0) > 0;
    const LRESULT top = SendMessageA(wnd, LB_GETTOPINDEX, 0, 0);
    SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(wnd, LB_DELETESTRING, index, 0);
    SendMessageA(wnd, LB_INSERTSTRING, target, reinterpret_cast<LPARAM>(s.c_str()));
    if (selected && FBox->FMultiSelect)
      SendMessageA(wnd, LB_SETSEL, TRUE, target);
    else if (selected)
      SendMessageA(wnd, LB_SETCURSEL, target, 0);
    SendMessageA(wnd, LB_SETTOPINDEX, top, 0);
    SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(wnd, nullptr, TRUE);
  }
  void* GetObject(int index) const override { return At(index).object; }
  void PutObject(int index, void* obj) override { At(index).object = obj; }
  void Insert(int index, const String& s) override {
    if (FBox->FSorted) throw EListError("Operation not allowed on sorted list");
    Check(index, true);
    FBox->InsertItem(index, s, nullptr);
  }
  int Add(const String& s) override {
    const int index = FBox->FSorted ? FBox->SortedIndex(s) : GetCount();
    FBox->InsertItem(index, s, nullptr);
    return index;
  }
  void Delete(int index) override {
    Check(index, false);
    FBox->DeleteItem(index);
  }
  void Clear() override { FBox->Clear(); }

private:
  void Check(int index, bool allowEnd) const {
    if (index < 0 || index > GetCount() - (allowEnd ? 0 : 1))
      throw EListError(Format("List index out of bounds (%d)", index));
  }
  TCustomListBox::Item& At(int index) const {
    Check(index, false);
    return FBox->FItems[static_cast<size_t>(index)];
  }
  TCustomListBox* FBox;
};

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FStrings(std::make_unique<TListBoxStrings>(this)),
      FCanvas(std::make_unique<TControlCanvas>(this)) {
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetColor(clWindow);
  SetTabStop(true);
  FWidth = 121;
  FHeight = 97;
}

TCustomListBox::~TCustomListBox() {
  FCanvas.reset();
}

TStrings* TCustomListBox::GetItems() {
  return FStrings.get();
}

void TCustomListBox::SetItems(const TStrings* value) {
  FStrings->Assign(*value);
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "LISTBOX");
  Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_USETABSTOPS;
  if (!IntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FMultiSelect) Params.Style |= LBS_EXTENDEDSEL;
  if (FColumns > 0) Params.Style |= LBS_MULTICOLUMN;
  if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (BorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWndFinished() {
  SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
  for (size_t i = 0; i < FItems.size(); ++i)
    SendMessageA(FHandle, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(FItems[i].text.c_str()));
  SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
  if (FStyle == lbOwnerDrawFixed || FStyle == lbStandard)
    SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
  if (FSavedIndex >= 0) SetItemIndex(FSavedIndex);
  SendMessageA(FHandle, LB_SETHORIZONTALEXTENT, FScrollWidth, 0);
  UpdateColumnWidth();
  UpdateTabStops();
}

void TCustomListBox::SetScrollWidth(int value) {
  if (value == FScrollWidth) return;
  FScrollWidth = value;
  if (FHandle) SendMessageA(FHandle, LB_SETHORIZONTALEXTENT, value, 0);
}

// The window's style holds whether there are columns at all.
void TCustomListBox::SetColumns(int value) {
  value = std::max(value, 0);
  if (value == FColumns) return;
  const bool recreate = (value == 0) != (FColumns == 0);
  FColumns = value;
  if (recreate)
    RecreateWnd();
  else
    UpdateColumnWidth();
}

// The columns share the client width, the last one taking the remainder.
void TCustomListBox::UpdateColumnWidth() {
  if (!HandleAllocated() || FColumns == 0) return;
  SendMessageA(FHandle, LB_SETCOLUMNWIDTH, std::max(GetClientWidth() / FColumns, 1), 0);
}

void TCustomListBox::Resize() {
  TWinControl::Resize();
  UpdateColumnWidth();
}

void TCustomListBox::SetTabWidth(int value) {
  value = std::max(value, 0);
  if (value == FTabWidth) return;
  FTabWidth = value;
  UpdateTabStops();
  Invalidate();
}

void TCustomListBox::UpdateTabStops() {
  if (!HandleAllocated()) return;
  INT stop = FTabWidth;
  SendMessageA(FHandle, LB_SETTABSTOPS, FTabWidth > 0 ? 1 : 0, reinterpret_cast<LPARAM>(&stop));
}

// The typed prefix replaces the system's search, which would move on by the
// last letter alone.
void TCustomListBox::KeyPress(char& Key) {
  TWinControl::KeyPress(Key);
  if (!AutoComplete || Key == 0 || Key == VK_RETURN || Key == VK_ESCAPE) return;
  const DWORD now = GetTickCount();
  if (now - FLastKeyTime >= 500) FFilter.clear();
  FLastKeyTime = now;
  if (Key == VK_BACK) {
    if (!FFilter.empty()) FFilter.pop_back();
  } else {
    FFilter += Key;
  }
  Key = 0;
  if (FFilter.empty()) return;
  for (int i = 0; i < GetCount(); ++i) {
    const String& text = FItems[static_cast<size_t>(i)].text;
    if (text.size() < FFilter.size() || CompareText(text.substr(0, FFilter.size()), FFilter) != 0) continue;
    if (i != GetItemIndex()) {
      SetItemIndex(i);
      Click();
    }
    return;
  }
}

int TCustomListBox::SortedIndex(const String& text) const {
  auto it = std::upper_bound(FItems.begin(), FItems.end(), text,
                             [](const String& s, const Item& item) { return CompareText(s, item.text) < 0; });
  return static_cast<int>(it - FItems.begin());
}

void TCustomListBox::InsertItem(int index, const String& text, void* object) {
  FItems.insert(FItems.begin() + index, Item{text, object, 0, true});
  if (HandleAllocated())
    SendMessageA(FHandle, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomListBox::DeleteItem(int index) {
  FItems.erase(FItems.begin() + index);
  if (HandleAllocated()) SendMessageA(FHandle, LB_DELETESTRING, index, 0);
}

void TCustomListBox::Clear() {
  FItems.clear();
  FSavedIndex = -1;
  if (HandleAllocated()) SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
}

int TCustomListBox::GetItemIndex() {
  if (!HandleAllocated()) return FSavedIndex;
  return static_cast<int>(SendMessageA(FHandle, FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value) {
  if (!HandleAllocated()) {
    FSavedIndex = value;
    return;
  }
  if (FMultiSelect) {
    SendMessageA(FHandle, LB_SETSEL, FALSE, -1);
    if (value >= 0) SendMessageA(FHandle, LB_SETSEL, TRUE, value);
    SendMessageA(FHandle, LB_SETCARETINDEX, value, FALSE);
  } else {
    SendMessageA(FHandle, LB_SETCURSEL, value, 0);
  }
}

bool TCustomListBox::GetSelected(int index) {
  if (index < 0 || index >= GetCount()) throw EListError(Format("List index out of bounds (%d)", index));
  if (!HandleAllocated()) return index == FSavedIndex;
  return SendMessageA(FHandle, LB_GETSEL, index, 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
  if (FMultiSelect) {
    SendMessageA(GetHandle(), LB_SETSEL, value, index);
  } else if (value) {
    SetItemIndex(index);
  } else if (GetItemIndex() == index) {
    SetItemIndex(-1);
  }
}

int TCustomListBox::GetSelCount() {
  if (!FMultiSelect) return GetItemIndex() >= 0 ? 1 : 0;
  return static_cast<int>(SendMessageA(GetHandle(), LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (value == FMultiSelect) return;
  FMultiSelect = value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool value) {
  if (value == FSorted) return;
  FSorted = value;
  if (!value) return;
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const Item& a, const Item& b) { return CompareText(a.text, b.text) < 0; });
  RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  RecreateWnd();
}

int TCustomListBox::GetItemHeight() {
  if (HandleAllocated() && FStyle == lbStandard)
    return static_cast<int>(SendMessageA(FHandle, LB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int value) {
  if (value <= 0 || value == FItemHeight) return;
  FItemHeight = value;
  RecreateWnd();
}

int TCustomListBox::GetTopIndex() {
  return static_cast<int>(SendMessageA(GetHandle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int value) {
  SendMessageA(GetHandle(), LB_SETTOPINDEX, value, 0);
}

int TCustomListBox::ItemAtPos(const TPoint& pos, bool Existing) {
  const int count = GetCount();
  for (int i = GetTopIndex(); i < count; ++i) {
    TRect r = ItemRect(i);
    if (r.top > GetClientHeight()) break;
    if (r.Contains(pos)) return i;
  }
  return Existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int index) {
  RECT r{0, 0, 0, 0};
  SendMessageA(GetHandle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < GetCount()) FCanvas->TextOut(Rect.left + 2, Rect.top, FItems[Index].text);
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  TOwnerDrawState state;
  if (dis->itemState & ODS_SELECTED) state.Include(odSelected);
  if (dis->itemState & ODS_GRAYED) state.Include(odGrayed);
  if (dis->itemState & ODS_DISABLED) state.Include(odDisabled);
  if (dis->itemState & ODS_CHECKED) state.Include(odChecked);
  if (dis->itemState & ODS_FOCUS) state.Include(odFocused);
  auto* canvas = static_cast<TControlCanvas*>(FCanvas.get());
  canvas->FreeHandle();
  const int saved = SaveDC(dis->hDC);
  canvas->SetHandle(dis->hDC);
  canvas->GetFont()->Assign(GetFont());
  canvas->GetBrush()->Assign(GetBrush());
  canvas->GetBrush()->SetColor(GetColor());
  if (state.Contains(odSelected)) {
    canvas->GetBrush()->SetColor(clHighlight);
    canvas->GetFont()->SetColor(clHighlightText);
  }
  try {
    if (static_cast<int>(dis->itemID) >= 0) {
      DrawItem(static_cast<int>(dis->itemID), dis->rcItem, state);
    } else {
      canvas->FillRect(dis->rcItem);
    }
    if (state.Contains(odFocused)) DrawFocusRect(dis->hDC, &dis->rcItem);
  } catch (...) {
    canvas->SetHandle(nullptr);
    RestoreDC(dis->hDC, saved);
    throw;
  }
  canvas->SetHandle(nullptr);
  RestoreDC(dis->hDC, saved);
  Message.Result = 1;
}

void TCustomListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CN_DRAWITEM:
    return CNDrawItem(Message);
  case CN_MEASUREITEM: {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    int height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable) MeasureItem(static_cast<int>(mis->itemID), height);
    mis->itemHeight = static_cast<UINT>(height);
    Message.Result = 1;
    return;
  }
  case CN_COMMAND:
    if (HIWORD(Message.WParam) == LBN_SELCHANGE)
      Click();
    else if (HIWORD(Message.WParam) == LBN_DBLCLK)
      DblClick();
    return;
  case WM_DESTROY:
    FSavedIndex = GetItemIndex();
    break;
  case WM_LBUTTONDBLCLK:
    // The double click arrives as LBN_DBLCLK; no second DblClick here.
    DefaultHandler(Message);
    return;
  }
  TWinControl::WndProc(Message);
}

// ---- Combo box ----

class TComboBoxStrings : public TStrings {
public:
  explicit TComboBoxStrings(TCustomComboBox* box) : FBox(box) {}
  int GetCount() const override { return FBox->FList->GetCount(); }
  String Get(int index) const override { return FBox->FList->Get(index); }
  // A new text keeps the item's object and the selection; in a sorted box
  // the item moves to its new place.
  void Put(int index, const String& s) override {
    void* object = GetObject(index);
    const int selected = FBox->GetItemIndex();
    Delete(index);
    int target = index;
    if (FBox->FSorted)
      target = Add(s);
    else
      Insert(index, s);
    PutObject(target, object);
    if (selected >= 0) FBox->SetItemIndex(MovedIndex(selected, index, target));
  }
  void* GetObject(int index) const override { return FBox->FList->GetObject(index); }
  void PutObject(int index, void* obj) override { FBox->FList->PutObject(index, obj); }
  void Insert(int index, const String& s) override {
    if (FBox->FSorted) throw EListError("Operation not allowed on sorted list");
    FBox->FList->Insert(index, s);
    if (FBox->HandleAllocated())
      SendMessageA(FBox->GetHandle(), CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(s.c_str()));
  }
  int Add(const String& s) override {
    const int index = FBox->FList->Add(s);
    if (FBox->HandleAllocated())
      SendMessageA(FBox->GetHandle(), CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(s.c_str()));
    return index;
  }
  void Delete(int index) override {
    FBox->FList->Delete(index);
    if (FBox->HandleAllocated()) SendMessageA(FBox->GetHandle(), CB_DELETESTRING, index, 0);
  }
  // Only the list is emptied: the text typed into the box stays.
  void Clear() override {
    const String text = FBox->GetText();
    FBox->FList->Clear();
    FBox->FSavedIndex = -1;
    if (FBox->HandleAllocated()) SendMessageA(FBox->GetHandle(), CB_RESETCONTENT, 0, 0);
    // A drop-down list shows only its items, so its text goes with them.
    FBox->SetText(FBox->FStyle == csDropDown || FBox->FStyle == csSimple ? text : String());
  }

private:
  TCustomComboBox* FBox;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FList(std::make_unique<TStringList>()),
      FStrings(std::make_unique<TComboBoxStrings>(this)) {
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetColor(clWindow);
  SetTabStop(true);
  FWidth = 145;
  FHeight = 21;
}

TCustomComboBox::~TCustomComboBox() = default;

TStrings* TCustomComboBox::GetItems() {
  return FStrings.get();
}

void TCustomComboBox::SetItems(const TStrings* value) {
  FStrings->Assign(*value);
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "COMBOBOX");
  static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | styles[FStyle];
  // The drop-down list's height is part of the window height.
  Params.Height = FHeight + DropDownCount * 16;
}

void TCustomComboBox::CreateWndFinished() {
  for (int i = 0; i < FList->GetCount(); ++i)
    SendMessageA(FHandle, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(FList->Get(i).c_str()));
  if (FMaxLength) SendMessageA(FHandle, CB_LIMITTEXT, FMaxLength, 0);
  if (FSavedIndex >= 0)
    SendMessageA(FHandle, CB_SETCURSEL, FSavedIndex, 0);
  else if (!FText.empty() && FStyle != csDropDownList)
    SetWindowTextA(FHandle, FText.c_str());
}

void TCustomComboBox::Clear() {
  FList->Clear();
  FSavedIndex = -1;
  if (HandleAllocated()) SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
  SetText(String());
}

int TCustomComboBox::GetItemIndex() {
  if (!HandleAllocated()) return FSavedIndex;
  return static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value) {
  if (!HandleAllocated()) {
    FSavedIndex = value;
    FText = value >= 0 && value < FList->GetCount() ? FList->Get(value) : String();
    return;
  }
  SendMessageA(FHandle, CB_SETCURSEL, value, 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool value) {
  if (value == FSorted) return;
  FSorted = value;
  FList->SetSorted(value);
  RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int value) {
  FMaxLength = value;
  if (HandleAllocated()) SendMessageA(FHandle, CB_LIMITTEXT, value, 0);
}

bool TCustomComboBox::GetDroppedDown() {
  return HandleAllocated() && SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
  SendMessageA(GetHandle(), CB_SHOWDROPDOWN, value, 0);
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CN_COMMAND:
    switch (HIWORD(Message.WParam)) {
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_SELCHANGE:
      // The edit shows the new item only after this notification.
      SetWindowTextA(FHandle, GetItemIndex() >= 0 ? FList->Get(GetItemIndex()).c_str() : "");
      if (OnSelect) OnSelect(this);
      Click();
      Change();
      break;
    case CBN_DROPDOWN:
      if (OnDropDown) OnDropDown(this);
      break;
    case CBN_CLOSEUP:
      if (OnCloseUp) OnCloseUp(this);
      break;
    }
    return;
  case WM_DESTROY:
    FSavedIndex = GetItemIndex();
    break;
  case CM_TEXTCHANGED:
    if (!HandleAllocated()) Change();
    return;
  }
  TWinControl::WndProc(Message);
}
