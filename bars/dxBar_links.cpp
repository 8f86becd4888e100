// Item links and their collections: the derived lists, the recent order of
// personalised menus, user overrides, shortcuts and accelerators.
#include "dxBar.h"
#include "dxBarEdits.h"

#include "dxBarStrs.h"

#include "ActnList.h"
#include "Forms.h"

#include <algorithm>

namespace {

template <typename T> int IndexIn(const std::vector<T*>& list, const T* value) {
  auto it = std::find(list.begin(), list.end(), value);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

template <typename T> void Erase(std::vector<T*>& list, const T* value) {
  list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

// The character after the last single "&"; 0 when there is none.
char AcceleratorOf(const String& caption) {
  char accelerator = 0;
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') accelerator = caption[i + 1];
    ++i;
  }
  return accelerator;
}

} // namespace

// ---- TdxBarItemLink ----

// The link joins its collection once built: the collection's change
// rebuilds the lists, which read the link.
TdxBarItemLink::TdxBarItemLink(TCollection* Collection)
    : TCollectionItem(nullptr), FUserGlyph(std::make_unique<TBitmap>()) {
  SetCollection(Collection);
  TdxBarItemLinks* links = GetLinks();
  TdxBarManager* manager = GetBarManager();
  if (manager) UseCount = manager->GetInitialUseCount();
  if (!links) return;
  links->FRecent.push_back(this);
  if (manager && !manager->IsLoading() && manager->OnItemLinkAdd) manager->OnItemLinkAdd(manager, this);
}

TdxBarItemLink::~TdxBarItemLink() {
  TdxBarManager* manager = GetBarManager();
  if (manager && !manager->IsDestroying() && manager->OnItemLinkDelete)
    manager->OnItemLinkDelete(manager, this);
  if (FControl) {
    // A window that stays must not keep a freed control selected.
    TCustomdxBarControl* window = GetBarControl();
    if (manager && manager->SelectedItemControl == FControl.get()) manager->SelectedItemControl = nullptr;
    if (window && !window->GetDestroying() && window->GetSelectedControl() == FControl.get())
      window->SetSelectedControl(nullptr);
    FControl.reset();
  }
  if (FItem) Erase(FItem->FLinks, this);
  if (TdxBarItemLinks* links = GetLinks())
    for (auto* list : {&links->FAvailable, &links->FVisible, &links->FShown, &links->FRecent})
      Erase(*list, this);
}

TdxBarItemLinks* TdxBarItemLink::GetLinks() const {
  return static_cast<TdxBarItemLinks*>(GetCollection());
}

TdxBarManager* TdxBarItemLink::GetBarManager() const {
  return GetLinks() ? GetLinks()->GetBarManager() : nullptr;
}

int TdxBarItemLink::GetAvailableIndex() const {
  return GetLinks() ? IndexIn(GetLinks()->FAvailable, this) : -1;
}

int TdxBarItemLink::GetVisibleIndex() const {
  return GetLinks() ? IndexIn(GetLinks()->FVisible, this) : -1;
}

int TdxBarItemLink::GetShownIndex() const {
  return GetLinks() ? IndexIn(GetLinks()->FShown, this) : -1;
}

int TdxBarItemLink::GetRecentIndex() const {
  return GetLinks() ? IndexIn(GetLinks()->FRecent, this) : PendingRecentIndex;
}

bool TdxBarItemLink::GetBeginGroup() const {
  const int shown = GetShownIndex();
  if (shown < 0) return FBeginGroup;
  if (shown == 0) return false;
  if (FBeginGroup) return true;
  // A separator of links hidden between two shown ones passes to this one.
  const TdxBarItemLinks* links = GetLinks();
  const int from = links->FShown[shown - 1]->GetAvailableIndex();
  for (int i = from + 1; i < GetAvailableIndex(); ++i)
    if (links->FAvailable[i]->FBeginGroup) return true;
  return false;
}

String TdxBarItemLink::GetCaption() const {
  return FUserDefine.Contains(udCaption) || !FItem ? FUserCaption : FItem->GetCaption();
}

TBitmap* TdxBarItemLink::GetGlyph() const {
  return FUserDefine.Contains(udGlyph) || !FItem ? FUserGlyph.get() : FItem->GetGlyph();
}

TdxBarPaintStyle TdxBarItemLink::GetPaintStyle() const {
  if (FUserDefine.Contains(udPaintStyle) || !FItem) return FUserPaintStyle;
  auto* button = dynamic_cast<const TdxBarButton*>(FItem);
  return button ? button->GetPaintStyle() : psStandard;
}

int TdxBarItemLink::GetWidth() const {
  if (FUserDefine.Contains(udWidth)) return FUserWidth;
  const auto* edit = dynamic_cast<const TdxBarEdit*>(FItem);
  return edit ? edit->GetWidth() : 0;
}

bool TdxBarItemLink::IsReallyVisible() const {
  return FItem && FItem->IsActuallyVisible() && FVisible;
}

bool TdxBarItemLink::IsItemOrContains(const TdxBarItem* AItem) const {
  if (FItem == AItem) return true;
  auto* subItem = dynamic_cast<const TCustomdxBarSubItem*>(FItem);
  return subItem && subItem->GetItemLinks()->ContainsItem(AItem);
}

// ---- Setters ----

void TdxBarItemLink::Changed() {
  TdxBarManager* manager = GetBarManager();
  if (manager && !manager->IsLoading() && manager->OnItemLinkChange) manager->OnItemLinkChange(manager, this);
}

void TdxBarItemLink::SetItem(TdxBarItem* Value) {
  if (Value == FItem) return;
  if (FItem) Erase(FItem->FLinks, this);
  FItem = nullptr;
  if (!Value) {
    delete this;
    return;
  }
  TdxBarItemLinks* links = GetLinks();
  auto* owner = links ? dynamic_cast<TComponent*>(links->GetOwner()) : nullptr;
  if (!CanItemBeLinked(owner, Value)) {
    Changed();
    throw Exception(dxBarString(dxSBAR_RECURSIVESUBITEMS));
  }
  FItem = Value;
  Value->FLinks.push_back(this);
  if (links) links->RebuildLists();
  if (owner && !owner->IsLoading()) ResetUsage();
  Changed();
}

void TdxBarItemLink::SetBeginGroup(bool Value) {
  if (Value == FBeginGroup) return;
  FBeginGroup = Value;
  Changed();
}

void TdxBarItemLink::SetMostRecentlyUsed(bool Value) {
  if (Value == FMostRecentlyUsed) return;
  FMostRecentlyUsed = Value;
  ResetUsage();
  Changed();
}

void TdxBarItemLink::SetUserCaption(const String& Value) {
  if (Value == FUserCaption) return;
  FUserCaption = Value;
  FUserDefine.Include(udCaption);
  Changed();
}

void TdxBarItemLink::SetUserGlyph(const TBitmap* Value) {
  FUserGlyph->Assign(Value);
  FUserDefine.Include(udGlyph);
  Changed();
}

void TdxBarItemLink::SetUserPaintStyle(TdxBarPaintStyle Value) {
  if (Value == GetPaintStyle()) return;
  FUserPaintStyle = Value;
  FUserDefine.Include(udPaintStyle);
  Changed();
}

void TdxBarItemLink::SetUserWidth(int Value) {
  Value = std::max(Value, 20);
  if (Value == GetWidth()) return;
  FUserWidth = Value;
  FUserDefine.Include(udWidth);
  Changed();
  if (auto* control = dynamic_cast<TdxBarEditControl*>(GetControl())) control->WidthChanged();
}

void TdxBarItemLink::SetUserDefine(TdxBarUserDefines Value) {
  if (Value == FUserDefine) return;
  const TdxBarUserDefines removed = FUserDefine - Value;
  FUserDefine = Value;
  if (removed.Contains(udCaption)) FUserCaption.clear();
  if (removed.Contains(udGlyph)) FUserGlyph = std::make_unique<TBitmap>();
  if (removed.Contains(udPaintStyle)) FUserPaintStyle = psStandard;
  if (removed.Contains(udWidth)) FUserWidth = 0;
  Changed();
}

void TdxBarItemLink::SetVisible(bool Value) {
  TdxBarItemLinks* links = GetLinks();
  TdxBarManager* manager = GetBarManager();
  if ((manager && manager->IsLoading()) || (links && links->FAssigning)) {
    PendingVisible = Value;
    return;
  }
  if (Value == FVisible) return;
  FVisible = Value;
  if (links && !(manager && manager->GetDesigning())) {
    links->RebuildLists();
    if (Value)
      MarkAsRecentlyUsed(false);
    else
      MoveToRecentEnd();
  }
  Changed();
}

// ---- The recent order ----

void TdxBarItemLink::MoveToRecentIndex(int Index) {
  TdxBarItemLinks* links = GetLinks();
  if (!links) {
    PendingRecentIndex = Index;
    return;
  }
  auto& recent = links->FRecent;
  Index = std::min(Index, static_cast<int>(recent.size()) - 1);
  Erase(recent, this);
  recent.insert(recent.begin() + Index, this);
  links->RebuildLists();
}

void TdxBarItemLink::CopyUsageFrom(const TdxBarItemLink* Link) {
  UseCount = Link->UseCount;
  if (const int index = Link->GetRecentIndex(); index >= 0) MoveToRecentIndex(index);
}

void TdxBarItemLink::BringToTopInRecentList(bool CountUse) {
  MoveToRecentIndex(0);
  if (CountUse) ++UseCount;
}

namespace {

// A toolbar window rebuilds itself once the change is done: the links it
// shows by recent use may differ now.
void PostRebuild(TdxBarItemLink* link, bool docked) {
  auto* window = dynamic_cast<TdxBarControl*>(link->GetBarControl());
  TdxBarManager* manager = link->GetBarManager();
  if (!window || !window->HandleAllocated() || (docked && window->GetDockingStyle() == dsNone) || !manager ||
      !manager->CanShowRecentItems())
    return;
  PostMessageA(window->GetHandle(), WM_USER + 1, 0, 0);
}

} // namespace

void TdxBarItemLink::MoveToRecentEnd() {
  const bool shown = GetShownIndex() >= 0;
  MoveToRecentIndex(GetLinks() ? GetLinks()->GetRecentCount() - 1 : 0);
  if (shown) PostRebuild(this, false);
}

void TdxBarItemLink::MarkAsRecentlyUsed(bool CountUse) {
  if (!IsReallyVisible()) return;
  const bool shown = GetShownIndex() >= 0;
  BringToTopInRecentList(CountUse);
  if (GetVisibleIndex() < 0) return;
  if (!shown) PostRebuild(this, true);
  // The command that holds this one is used too: the sub item whose menu
  // this is, or the drop-down button whose popup menu this is.
  TdxBarItemLinks* links = GetLinks();
  TdxBarItem* parent = links ? dynamic_cast<TCustomdxBarSubItem*>(links->GetOwner()) : nullptr;
  if (!parent && links)
    if (auto* menu = dynamic_cast<TdxBarSubMenuControl*>(links->GetBarControl()); menu && menu->OwnerControl)
      parent = menu->OwnerControl->GetItem();
  if (TdxBarItemLink* active = parent ? parent->GetActiveLink() : nullptr)
    active->GetSourceLink()->MarkAsRecentlyUsed(CountUse);
}

void TdxBarItemLink::ResetUsage() {
  if (FMostRecentlyUsed) {
    UseCount = GetBarManager() ? GetBarManager()->GetInitialUseCount() : 0;
    MarkAsRecentlyUsed(false);
  } else {
    UseCount = 0;
    MoveToRecentEnd();
  }
}

// ---- Assign ----

void TdxBarItemLink::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TdxBarItemLink*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  LinkTag = source->LinkTag;
  FUserCaption = source->FUserCaption;
  FUserGlyph->Assign(source->FUserGlyph.get());
  FUserPaintStyle = source->FUserPaintStyle;
  FUserWidth = source->FUserWidth;
  TdxBarItem* item = source->FItem;
  TdxBarManager* manager = GetBarManager();
  if (item && manager && manager->GetBars()->IsResetting())
    item = dynamic_cast<TdxBarItem*>(manager->GetOwnerForm()->FindComponent(item->GetName()));
  SetItem(item);
  SetUserDefine(source->FUserDefine);
  SetBeginGroup(source->GetBeginGroup());
  SetVisible(source->FVisible);
}

// ---- TdxBarItemLinks ----

TdxBarItemLinks::TdxBarItemLinks(TdxBarManager* ABarManager, TPersistent* AOwner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TdxBarItemLink(c); }),
      FBarManager(ABarManager), FOwner(AOwner) {}

TdxBarItemLinks::~TdxBarItemLinks() {
  // The window that shows the links goes with them.
  delete FBarControl;
  Clear();
}

void TdxBarItemLinks::Assign(const TPersistent* Source) {
  // A maximized MDI child's system-menu entry stays the first.
  TdxBarItem* systemMenu = GetCount() > 0 ? dynamic_cast<TSystemMenuSubItem*>(GetItem(0)->GetItem()) : nullptr;
  auto finish = [&] {
    FAssigning = false;
    for (int i = 0; i < GetCount(); ++i)
      GetItem(i)->SetVisible(GetItem(i)->PendingVisible);
    if (!systemMenu) return;
    TdxBarItemLink* link = Add();
    link->SetItem(systemMenu);
    link->SetIndex(0);
  };
  FAssigning = true;
  try {
    TCollection::Assign(Source);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TdxBarItemLinks::Update(TCollectionItem* Item) {
  if (FBarManager) FBarManager->DesignerModified();
  TCollection::Update(Item);
  RebuildLists();
  if (OnChange) OnChange(this);
}

void TdxBarItemLinks::RebuildLists() {
  FAvailable.clear();
  FVisible.clear();
  FShown.clear();
  const bool designing = FBarManager && FBarManager->GetDesigning();
  for (int i = 0; i < GetCount(); ++i) {
    TdxBarItemLink* link = GetItem(i);
    if (!link->FItem || !(designing || link->FItem->IsActuallyVisible())) continue;
    FAvailable.push_back(link);
    if (!(designing || link->FVisible)) continue;
    FVisible.push_back(link);
    if (designing || FRecentItemCount == -1) FShown.push_back(link);
  }
  if (designing || FRecentItemCount < 1) return;
  for (TdxBarItemLink* link : FRecent) {
    if (static_cast<int>(FShown.size()) >= FRecentItemCount) break;
    if (IndexIn(FVisible, link) >= 0) FShown.push_back(link);
  }
  std::sort(FShown.begin(), FShown.end(), [](const TdxBarItemLink* a, const TdxBarItemLink* b) {
    return a->GetVisibleIndex() < b->GetVisibleIndex();
  });
}

bool TdxBarItemLinks::GetUseRecentItems() const {
  // Without windows a collection is the top of its own walk.
  return FBarManager && FBarManager->GetEffectiveStyle() != bmsStandard && FUseRecentItems;
}

void TdxBarItemLinks::SetRecentItemCount(int Value) {
  FSavedRecentItemCount = FRecentItemCount;
  FRecentItemCount = GetUseRecentItems() ? Value : -1;
  RebuildLists();
}

void TdxBarItemLinks::RestoreRecentItemCount() {
  FRecentItemCount = FSavedRecentItemCount;
  RebuildLists();
}

int TdxBarItemLinks::GetRecentItemCount() const {
  if (!GetUseRecentItems() || FVisible.empty()) return -1;
  auto [low, high] = std::minmax_element(FVisible.begin(), FVisible.end(),
                                         [](auto* a, auto* b) { return a->UseCount < b->UseCount; });
  const int m = (*low)->UseCount;
  const int threshold =
      m + MulDiv((*high)->UseCount - m, 100 - FBarManager->GetMostRecentItemsPercents(), 100);
  int count = 0;
  for (int i = GetVisibleCount() - 1; i >= 0 && count == 0; --i)
    if (i < GetRecentCount() && FRecent[i]->UseCount >= threshold) count = i + 1;
  return count == GetVisibleCount() ? -1 : count;
}

void TdxBarItemLinks::NormalizeRecentOrder() {
  auto isVisible = [this](const TdxBarItemLink* link) { return IndexIn(FVisible, link) >= 0; };
  auto first = std::find_if_not(FRecent.begin(), FRecent.end(), isVisible);
  std::stable_partition(first, FRecent.end(), isVisible);
}

void TdxBarItemLinks::ApplyStoredState(bool ApplyVisible) {
  for (int i = GetCount() - 1; i >= 0; --i)
    if (GetItem(i)->FItem) GetItem(i)->ResetUsage();
  if (ApplyVisible)
    for (int i = GetCount() - 1; i >= 0; --i)
      GetItem(i)->SetVisible(GetItem(i)->PendingVisible);
  for (int i = 0; i < GetCount(); ++i)
    for (int j = 0; j < GetCount(); ++j) {
      TdxBarItemLink* link = GetItem(j);
      if (link->PendingRecentIndex != i) continue;
      link->UseCount = link->PendingUseCount;
      link->MoveToRecentIndex(i);
      link->PendingRecentIndex = -1;
    }
}

void TdxBarItemLinks::CopyMostRecentlyUsed(const TdxBarItemLinks* Source) {
  const int count = std::min(GetCount(), Source->GetCount());
  for (int i = 0; i < count; ++i)
    GetItem(i)->FMostRecentlyUsed = Source->GetItem(i)->FMostRecentlyUsed;
  ApplyStoredState(false);
  NormalizeRecentOrder();
}

// ---- Shortcuts and accelerators ----

void TdxBarItemLinks::UpdateActions() {
  for (int i = 0; i < GetCount(); ++i) {
    if (TdxBarItem* item = GetItem(i)->FItem) item->UpdateAction();
  }
}

bool TdxBarItemLinks::IsShortCut(TShortCut ShortCut) {
  if (ShortCut == 0) return false;
  UpdateActions();
  for (TdxBarItemLink* link : std::vector<TdxBarItemLink*>(FAvailable)) {
    TdxBarItem* item = link->FItem;
    if (!item->GetEnabled()) continue;
    if (auto* subItem = dynamic_cast<TCustomdxBarSubItem*>(item)) {
      if (subItem->IsShortCut(ShortCut)) return true;
      continue;
    }
    if (!item->CanClick() || item->GetShortCut() != ShortCut) continue;
    item->Click();
    return true;
  }
  return false;
}

bool TdxBarItemLink::MatchesAccelerator(WORD Key, TShiftState Shift) const {
  const String caption = GetCaption();
  const char accelerator = AcceleratorOf(caption);
  if (!accelerator) return false;
  if (IsCharUpperA(accelerator)) Shift.Exclude(ssShift);
  char lower = accelerator;
  CharLowerBuffA(&lower, 1);
  if (lower >= '0' && lower <= '9') return Key == static_cast<WORD>(lower) && Shift.Empty();
  const SHORT scan = VkKeyScanA(lower);
  if (scan == -1 || (scan & 0xFF) != Key) return false;
  TShiftState typed;
  if (scan & 0x100) typed.Include(ssShift);
  if (scan & 0x200) typed.Include(ssCtrl);
  return typed == Shift;
}

TdxBarItemLink* TdxBarItemLinks::FindAcceleratorLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink) {
  Shift.Exclude(ssAlt);
  if (dynamic_cast<TdxBar*>(FOwner)) return FindToolbarAcceleratorLink(Key, Shift, StartLink);
  if (FVisible.empty()) return nullptr;
  const int count = GetVisibleCount();
  const int start = StartLink ? std::max(IndexIn(FVisible, StartLink), 0) : 0;
  for (int step = 1; step <= count; ++step) {
    TdxBarItemLink* link = FVisible[(start + step) % count];
    if (link->FItem->AcceptsAccelerator(link) && link->MatchesAccelerator(Key, Shift)) return link;
  }
  return nullptr;
}

// Round the window's selectable links from the one after StartLink, which
// is examined last (so a search from the only match finds it again).
TdxBarItemLink* TdxBarItemLinks::FindToolbarAcceleratorLink(WORD Key, TShiftState Shift,
                                                            TdxBarItemLink* StartLink) const {
  if (!FBarControl || !FBarControl->HandleAllocated() || !IsWindowVisible(FBarControl->GetHandle()))
    return nullptr;
  TdxBarItemLink* first = NextSelectable(StartLink);
  TdxBarItemLink* link = first;
  while (link) {
    if (link->FItem->AcceptsAccelerator(link) && link->MatchesAccelerator(Key, Shift)) return link;
    if (link == StartLink) break;
    link = NextSelectable(link);
    if (link == first) break;
  }
  return nullptr;
}

bool TdxBarItemLinks::ContainsItem(const TdxBarItem* AItem) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->IsItemOrContains(AItem)) return true;
  return false;
}
