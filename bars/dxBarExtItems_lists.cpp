// The toolbars list, the list of recently used entries and the in-place sub
// item, with their controls and the header line the painters draw for the
// in-place sub item.
#include "dxBarExtItems.h"

#include "dxBarCommon.h"
#include "dxBarPainters.h"

#include <algorithm>
#include <vector>

// ---- Painter operation ----

namespace dxBarExtPainter {

void DrawInPlaceSubItem(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                        const TRect& R, bool Expanded, bool Selected) {
  TCustomdxBarControl* window = Control->GetBarControl();
  // The bottom row keeps the window's background: a gap below the header.
  const TRect bottom(R.left, R.bottom - 1, R.right, R.bottom);
  FillRect(DC, &bottom, window->BackgroundBrush);
  TRect header(R.left, R.top, R.right, R.bottom - 1);
  auto* flat = dynamic_cast<const TdxBarItemControlFlatPainter*>(Painter);
  if (flat && Selected) {
    flat->FrameSelected(DC, header);
    TRect inner = header;
    InflateRect(&inner, -1, -1);
    FillRect(DC, &inner, window->GetSelectedBrush());
  } else {
    FillRect(DC, &header, Selected ? window->GetSelectedBrush() : Painter->GetShadowBrush());
  }
  TRect text = header;
  text.left += 5;
  Control->DrawCaption(DC, Control->GetCaption(), text, 0, Control->GetEnabled(), true, false, false, Selected);
  if (!Control->GetEnabled()) return;
  const int size = window->Indent, left = header.right - window->TextHeight + size;
  const TRect arrow(left, header.top, left + size, header.bottom);
  if (flat)
    Painter->DrawArrowTriangle(DC, arrow, Expanded, size, !Selected, true, true);
  else
    Painter->DrawArrowTriangle(DC, arrow, Expanded, size, Selected, true, false);
}

} // namespace dxBarExtPainter

// ---- TdxBarToolbarsListItem ----

TdxBarItemClass TdxBarToolbarsListItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarToolbarsListItem>("TdxBarToolbarsListItem");
}

void TdxBarToolbarsListItemControl::CreateSubMenuControl() {
  TdxBarManager* manager = GetBarManager();
  TCustomdxBarSubItem* item = GetSubItem();
  if (!item || manager->IsCustomizing()) return;
  // The entries of the last opening go once nothing shows them.
  FreeUnusedTempItems();
  TdxBarItemLinks* links = item->GetItemLinks();
  links->Clear();
  manager->FillToolbarsList(links);
  auto* menu = new TdxBarSubMenuControl(manager);
  menu->SetItemLinks(links);
}

// ---- TdxBarMRUListItem ----

TdxBarItemClass TdxBarMRUListItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarMRUListItem>("TdxBarMRUListItem");
}

void TdxBarMRUListItem::SetMaxItemCount(int Value) {
  FMaxItemCount = std::max(Value, 0);
  Trim();
}

void TdxBarMRUListItem::Trim() {
  TStringList* items = GetItems();
  if (FMaxItemCount <= 0) return;
  while (items->GetCount() > FMaxItemCount)
    items->Delete(items->GetCount() - 1);
}

String TdxBarMRUListItem::GetDisplayText(const String& Entry) const {
  String text = TdxBarListItem::GetDisplayText(Entry);
  // The system shortens a text of some hundred characters at most: a longer
  // one keeps its start and its end (the file name) around an ellipsis first.
  constexpr size_t kLimit = 512, kHead = 255;
  if (text.size() > kLimit) text = text.substr(0, kHead) + "..." + text.substr(text.size() - (kLimit - kHead - 3));
  // The system may put an ellipsis into the text it shortens: the buffer has
  // room for one beyond the text.
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(text.size() + 5, '\0');
  RECT r{0, 0, 300, 100};
  HDC dc = GetDC(nullptr);
  DrawTextA(dc, buffer.data(), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT | DT_NOPREFIX);
  ReleaseDC(nullptr, dc);
  return String(buffer.data());
}

void TdxBarMRUListItem::RemoveItem(const String& Text, TObject* AObject) {
  TStringList* items = GetItems();
  int index = items->IndexOf(Text);
  if (index < 0 && AObject) index = items->IndexOfObject(AObject);
  if (index >= 0) items->Delete(index);
}

void TdxBarMRUListItem::DirectClick() {
  TdxBarListItem::DirectClick();
  TdxBarManager* manager = GetBarManager();
  if (GetActiveLink() || (manager && manager->IsCustomizing()) || !RemoveItemOnClick) return;
  if (ItemIndex >= 0 && ItemIndex < GetItems()->GetCount()) RemoveItem(GetItems()->Get(ItemIndex));
  ItemIndex = -1;
}

// ---- TdxBarInPlaceSubItem ----

TdxBarItemClass TdxBarInPlaceSubItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarInPlaceSubItem>("TdxBarInPlaceSubItem");
}

void TdxBarInPlaceSubItem::SetExpanded(bool Value) {
  if (Value == FExpanded) return;
  if (!Value)
    for (int i = 0; i < GetLinkCount(); ++i)
      BeforeCollapse(GetLink(i));
  FExpanded = Value;
  if (!IsLoading()) {
    FToggling = true;
    std::vector<TdxBarSubMenuControl*> menus;
    for (int i = 0; i < GetLinkCount(); ++i) {
      auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetLink(i)->GetBarControl());
      if (menu && std::find(menus.begin(), menus.end(), menu) == menus.end()) menus.push_back(menu);
    }
    try {
      for (TdxBarSubMenuControl* menu : menus)
        if (IsBarControlAlive(menu)) menu->Rebuild();
    } catch (...) {
      FToggling = false;
      throw;
    }
    FToggling = false;
  }
  if (Value)
    for (int i = 0; i < GetLinkCount(); ++i)
      AfterExpand(GetLink(i));
}

void TdxBarInPlaceSubItem::AddListedLinks(TdxBarItemLinks* Links, int Index, TdxBarItemLink* Source,
                                          bool GetData) {
  if (FExpanded) TdxBarContainerItem::AddListedLinks(Links, Index, Source, GetData);
}

void TdxBarInPlaceSubItem::RemoveListedLinks(TdxBarItemLinks* Links, int Index) {
  // A collapse takes the shown links away; an expansion finds none yet.
  if (FExpanded != FToggling) TdxBarContainerItem::RemoveListedLinks(Links, Index);
}

void TdxBarInPlaceSubItem::AfterExpand(TdxBarItemLink* Link) {
  if (OnAfterExpand) OnAfterExpand(this, Link);
  ApplyGroupRule(Link, true);
}

void TdxBarInPlaceSubItem::BeforeCollapse(TdxBarItemLink* Link) {
  if (OnBeforeCollapse) OnBeforeCollapse(this, Link);
  ApplyGroupRule(Link, false);
}

void TdxBarInPlaceSubItem::ApplyGroupRule(TdxBarItemLink* Link, bool Value) {
  TdxBarItemLinks* links = Link->GetLinks();
  if (!KeepBeginGroupWhileExpanded || !links || dynamic_cast<TdxBarControl*>(Link->GetBarControl())) return;
  // The entry after the block: past the links shown for this one, which
  // stand in the collection only while a menu shows them.
  int index = Link->GetIndex() + 1;
  while (index < links->GetCount() && links->GetItem(index)->SourceLink == Link)
    ++index;
  if (index >= links->GetCount()) return;
  TdxBarItemLink* next = links->GetItem(index);
  if (next->GetStoredBeginGroup() == Value) return;
  next->SetBeginGroup(Value);
  // The open menu makes room for the separator.
  if (auto* menu = dynamic_cast<TdxBarSubMenuControl*>(Link->GetBarControl()); menu && menu->HandleAllocated()) {
    menu->Place();
    menu->Invalidate();
  }
}

// ---- TdxBarInPlaceSubItemControl ----

TdxBarInPlaceSubItem* TdxBarInPlaceSubItemControl::GetInPlaceSubItem() const {
  return dynamic_cast<TdxBarInPlaceSubItem*>(GetItem());
}

void TdxBarInPlaceSubItemControl::Press(bool ByMouse) {
  TCustomdxBarControl* window = GetBarControl();
  TdxBarContainerItemControl::Press(ByMouse);
  if (!InMenu() || !IsBarControlAlive(window) || !window->IsControlOfWindow(this)) return;
  TdxBarInPlaceSubItem* item = GetInPlaceSubItem();
  TdxBarItemLink* link = GetLink();
  const bool selected = window->GetSelectedControl() == this;
  const int position = link->GetShownIndex();
  item->DirectClick();
  if (!IsBarControlAlive(window) || !window->IsControlOfWindow(this)) return;
  // The window is made again: this control goes with it.
  item->SetExpanded(!item->GetExpanded());
  if (!selected || !IsBarControlAlive(window)) return;
  TdxBarItemLinks* links = window->GetItemLinks();
  if (position >= 0 && position < links->GetShownCount() && links->GetShownLink(position) == link)
    window->SelectControl(link->GetControl());
}

void TdxBarInPlaceSubItemControl::DblClick() {
  if (GetEnabled()) Press(true);
}

int TdxBarInPlaceSubItemControl::GetDefaultHeight() {
  return TdxBarContainerItemControl::GetDefaultHeight() + (InMenu() ? 1 : 0);
}

int TdxBarInPlaceSubItemControl::GetDefaultWidth() {
  if (!InMenu()) return TdxBarContainerItemControl::GetDefaultWidth();
  TCustomdxBarControl* window = GetBarControl();
  return TextExtentOnScreen(window->GetFontHandle(), RemoveAmpersands(GetCaption())).cx + window->TextHeight + 5;
}

bool TdxBarInPlaceSubItemControl::HasSubMenu() const {
  return !InMenu() && TdxBarContainerItemControl::HasSubMenu();
}

void TdxBarInPlaceSubItemControl::KeyDown(WORD Key) {
  if (Key == VK_LEFT || Key == VK_RIGHT) Press(false);
}

bool TdxBarInPlaceSubItemControl::WantsKey(WORD Key) const {
  if (!InMenu()) return TdxBarContainerItemControl::WantsKey(Key);
  const bool expanded = GetInPlaceSubItem() && GetInPlaceSubItem()->GetExpanded();
  return (Key == VK_LEFT && expanded) || (Key == VK_RIGHT && !expanded);
}

void TdxBarInPlaceSubItemControl::Paint(const TRect& R, int PaintType) {
  if (!InMenu()) return TdxBarContainerItemControl::Paint(R, PaintType);
  if (R.Width() <= 0 || R.Height() <= 0) return;
  TdxBarInPlaceSubItem* item = GetInPlaceSubItem();
  dxBarExtPainter::DrawInPlaceSubItem(GetPainter(), this, GetBarControl()->GetCanvas()->GetHandle(), R,
                                      item && item->GetExpanded(), DrawSelected());
}
