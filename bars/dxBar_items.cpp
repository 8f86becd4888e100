// Bar items: state, the click chain and the link to an action.
#include "dxBar.h"

#include "ActnList.h"
#include "Forms.h"
#include "ImgList.h"

#include <algorithm>

// The link of an item to its action: a property follows the action while the
// item still holds the action's previous value. It never touches OnClick: an
// item without a handler of its own runs the action, so a command runs once.
class TdxBarItemActionLink : public TBasicActionLink {
public:
  explicit TdxBarItemActionLink(TdxBarItem* Client) : FClient(Client) {}
  std::function<void()> OnChange;

protected:
  void Change() override {
    if (OnChange) OnChange();
  }
  void SetCaption(const String& Value) override {
    if (auto* action = Action(); action && FClient->GetCaption() == action->GetCaption())
      FClient->SetCaption(Value);
  }
  void SetChecked(bool Value) override {
    auto* button = dynamic_cast<TdxBarButton*>(FClient);
    if (auto* action = Action(); action && button && button->GetDown() == action->GetChecked())
      button->SetDown(Value);
  }
  void SetEnabled(bool Value) override {
    if (auto* action = Action(); action && FClient->GetEnabled() == action->GetEnabled())
      FClient->SetEnabled(Value);
  }
  void SetHint(const String& Value) override {
    if (auto* action = Action(); action && FClient->Hint == action->GetHint()) FClient->Hint = Value;
  }
  void SetImageIndex(int Value) override {
    if (auto* action = Action(); action && FClient->GetActionImageIndex() == action->GetImageIndex())
      FClient->SetActionImageIndex(Value);
  }
  void SetShortCut(TShortCut Value) override {
    if (auto* action = Action(); action && FClient->GetShortCut() == action->GetShortCut())
      FClient->SetShortCut(Value);
  }
  void SetVisible(bool Value) override {
    if (auto* action = Action(); action && FClient->GetVisible() == BoolToItemVisible(action->GetVisible()))
      FClient->SetVisible(BoolToItemVisible(Value));
  }

private:
  TCustomAction* Action() const { return dynamic_cast<TCustomAction*>(FAction); }
  TdxBarItem* FClient;
};

namespace {

TdxBarManager* FindManagerFor(TComponent* owner) {
  if (TdxBarManager* manager = dynamic_cast<TCustomForm*>(owner) ? GetBarManagerOfForm(owner) : nullptr)
    return manager;
  TdxBarManagerList* managers = dxBarManagerList();
  return managers ? managers->GetItem(0) : nullptr;
}

} // namespace

// ---- TdxBarItem ----

TdxBarItemClass TdxBarItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarItem>("TdxBarItem");
}

TdxBarItem::TdxBarItem(TComponent* AOwner) : TComponent(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FBarManager = FindManagerFor(AOwner);
  if (FBarManager) {
    FBarManager->FItems.push_back(this);
    // Made by a form's bar definition: loaded with the manager.
    if (FBarManager->IsLoading()) BeginLoading();
  }
  FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
}

TdxBarItem::~TdxBarItem() {
  SetDestroying();
  if (OnDestroy) OnDestroy(this);
  auto& temp = TempItems();
  temp.erase(std::remove(temp.begin(), temp.end(), this), temp.end());
  while (!FLinks.empty())
    delete FLinks.back();
  if (FBarManager) {
    auto& items = FBarManager->FItems;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
    if (FBarManager->GetCustomizing() && !FBarManager->GetDesigning() && FCategory >= 0)
      CustomizingFormItemsChanged();
  }
  FActionLink.reset();
}

int TdxBarItem::GetIndex() const {
  if (!FBarManager) return -1;
  const auto& items = FBarManager->FItems;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

TdxBarItemLink* TdxBarItem::GetLink(int Index) const {
  return Index >= 0 && Index < GetLinkCount() ? FLinks[Index] : nullptr;
}

TdxBarItemLink* TdxBarItem::GetActiveLink() const {
  for (TdxBarItemLink* link : FLinks)
    if (link->GetControl() && link->GetControl()->IsActive()) return link;
  return nullptr;
}

bool TdxBarItem::IsActuallyVisible() const {
  const bool customizing = FBarManager && FBarManager->IsCustomizing();
  return (FVisible == ivAlways && (CanBeVisible() || customizing)) ||
         (FVisible == ivInCustomizing && customizing);
}

bool TdxBarItem::IsImageAssigned() const {
  TCustomImageList* images = FBarManager ? FBarManager->GetImages() : nullptr;
  return images && FImageIndex >= 0 && FImageIndex < images->GetCount();
}

String GetTextOf(const String& Caption) {
  String text = Caption;
  if (const size_t amp = text.find('&'); amp != String::npos) text.erase(amp, 1);
  if (const size_t dots = text.find("..."); dots != String::npos) text.erase(dots, 3);
  return text;
}

void TdxBarItem::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  const size_t bar = Hint.find('|');
  const bool hintFollows = !dynamic_cast<TCustomdxBarSubItem*>(this) &&
                           (Hint.empty() || Hint.substr(0, bar) == GetTextOf(FCaption));
  FCaption = Value;
  if (IsLoading()) return;
  if (hintFollows) Hint = GetTextOf(Value) + (bar == String::npos ? String() : Hint.substr(bar));
  CaptionChanged();
}

// Each shown control learns of the change; a link with its own caption or
// glyph keeps it.
void TdxBarItem::CaptionChanged() {
  for (TdxBarItemLink* link : std::vector<TdxBarItemLink*>(FLinks))
    if (!link->GetUserDefine().Contains(udCaption))
      if (TdxBarItemControl* control = link->GetControl()) control->CaptionChanged();
  CustomizingFormRefresh();
}

void TdxBarItem::GlyphChanged() {
  for (TdxBarItemLink* link : std::vector<TdxBarItemLink*>(FLinks))
    if (!link->GetUserDefine().Contains(udGlyph))
      if (TdxBarItemControl* control = link->GetControl()) control->GlyphChanged();
  CustomizingFormRefresh();
}

void TdxBarItem::EnabledChanged() {
  for (TdxBarItemLink* link : std::vector<TdxBarItemLink*>(FLinks))
    if (TdxBarItemControl* control = link->GetControl()) control->EnabledChanged();
}

void TdxBarItem::ShortCutChanged() {
  for (TdxBarItemLink* link : std::vector<TdxBarItemLink*>(FLinks))
    if (TdxBarItemControl* control = link->GetControl()) control->ShortCutChanged();
  CustomizingFormRefresh();
}

void TdxBarItem::CustomizingFormRefresh() {
  if (FCategory < 0 || !FBarManager || !FBarManager->GetDesigning() || FBarManager->IsLoading() ||
      FBarManager->IsDestroying())
    return;
  CustomizingFormRefreshCommands();
}

void TdxBarItem::SetCategory(int Value) {
  if (IsLoading()) {
    FCategory = Value;
    return;
  }
  if (!FBarManager || Value < 0 || Value >= FBarManager->GetCategories()->GetCount()) return;
  FCategory = Value;
  FBarManager->DesignerModified();
}

void TdxBarItem::SetDescription(const String& Value) {
  if (Value == FDescription) return;
  FDescription = Value;
  CustomizingFormRefresh();
}

bool TdxBarItem::GetEnabled() const {
  if (FBarManager && FCategory >= 0 && FBarManager->GetCustomizing() && !FBarManager->GetDesigning())
    return true;
  return FEnabled;
}

void TdxBarItem::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  if (!IsLoading()) EnabledChanged();
}

void TdxBarItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  GlyphChanged();
}

void TdxBarItem::SetShortCut(TShortCut Value) {
  if (Value == FShortCut) return;
  FShortCut = Value;
  if (!IsLoading()) ShortCutChanged();
}

void TdxBarItem::SetVisible(TdxBarItemVisible Value) {
  if (IsLoading()) {
    FLoadedVisible = Value;
    return;
  }
  if (Value == FVisible) return;
  FVisible = Value;
  VisibleChanged();
}

void TdxBarItem::VisibleChanged() {
  if (!FBarManager || IsDesigning()) return;
  {
    TLockUpdateScope lock(FBarManager);
    for (TdxBarItemLink* link : std::vector<TdxBarItemLink*>(FLinks)) {
      link->GetLinks()->RebuildLists();
      if (IsActuallyVisible()) {
        link->MarkAsRecentlyUsed(false);
        link->CreateControl();
        if (TdxBarItemControl* control = link->GetControl()) control->VisibleChanged();
      } else {
        link->MoveToRecentEnd();
        if (TdxBarItemControl* control = link->GetControl()) {
          control->VisibleChanged();
          link->DestroyControl();
        }
      }
    }
  }
  CustomizingFormRefresh();
}

void TdxBarItem::SetAlign(TdxBarItemAlign Value) {
  FAlign = Value;
}

bool TdxBarItem::AcceptsAccelerator(const TdxBarItemLink*) const {
  return GetEnabled();
}

// ---- Clicks ----

void TdxBarItem::Click() {
  if (CanClick()) DirectClick();
}

void TdxBarItem::DirectClick() {
  if (!GetEnabled()) return;
  try {
    if (FBarManager) FBarManager->DoClickItem(this);
    DoClick();
  } catch (...) {
    Application->HandleException(this);
  }
}

void TdxBarItem::DoClick() {
  if (OnClick)
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute(this);
}

// ---- The action ----

TBasicAction* TdxBarItem::GetAction() const {
  return FActionLink ? FActionLink->GetAction() : nullptr;
}

void TdxBarItem::SetAction(TBasicAction* Value) {
  if (Value == GetAction()) return;
  if (!Value) {
    FActionLink.reset();
    return;
  }
  // A form's definition assigning an action that is itself still loading
  // changes nothing the designer must hear of.
  const bool constructed = FBarManager ? FBarManager->FConstructed : false;
  if (FBarManager) FBarManager->FConstructed = !Value->IsLoading();
  if (!FActionLink) FActionLink = std::make_unique<TdxBarItemActionLink>(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = [this] { ActionChange(GetAction(), false); };
  ActionChange(Value, Value->IsLoading());
  Value->FreeNotification(this);
  if (FBarManager) FBarManager->FConstructed = constructed;
}

void TdxBarItem::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(action->GetCaption());
  if (!CheckDefaults || FEnabled) SetEnabled(action->GetEnabled());
  if (!CheckDefaults || HelpContext == 0) HelpContext = action->HelpContext;
  if (!CheckDefaults || Hint.empty()) Hint = action->GetHint();
  if (!CheckDefaults || GetActionImageIndex() == -1) SetActionImageIndex(action->GetImageIndex());
  if (!CheckDefaults || FShortCut == 0) SetShortCut(action->GetShortCut());
  if (!CheckDefaults || FVisible == ivAlways) SetVisible(BoolToItemVisible(action->GetVisible()));
}

void TdxBarItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = GetAction()) ActionChange(action, true);
}

void TdxBarItem::UpdateAction() {
  if (FActionLink) FActionLink->Update();
}

void TdxBarItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == GetAction()) SetAction(nullptr);
}

// ---- TdxBarButton ----

TdxBarItemClass TdxBarButton::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarButton>("TdxBarButton");
}

TdxBarButton::TdxBarButton(TComponent* AOwner) : TdxBarItem(AOwner) {}

void TdxBarButton::SetButtonStyle(TdxBarButtonStyle Value) {
  if (Value == FButtonStyle) return;
  FButtonStyle = Value;
  FDown = false;
}

TdxBarButton* TdxBarButton::FindDownInGroup() const {
  TdxBarManager* manager = GetBarManager();
  for (int i = 0; manager && i < manager->GetItemCount(); ++i) {
    auto* button = dynamic_cast<TdxBarButton*>(manager->GetItem(i));
    if (button && button != this && button->FButtonStyle == bsChecked && button->FGroupIndex == FGroupIndex &&
        button->FDown)
      return button;
  }
  return nullptr;
}

void TdxBarButton::SetDown(bool Value) {
  if (Value == FDown || (Value && FButtonStyle != bsChecked)) return;
  TdxBarButton* released = nullptr;
  if (!IsLoading() && FButtonStyle == bsChecked && FGroupIndex != 0) {
    if (Value)
      released = FindDownInGroup();
    else if (!FAllowAllUp && !FindDownInGroup())
      return;
  }
  FDown = Value;
  if (IsLoading()) return;
  if (released) released->SetDown(false);
}

void TdxBarButton::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = FButtonStyle == bsChecked ? Value : 0;
  FDown = false;
}

void TdxBarButton::SetAllowAllUp(bool Value) {
  if (Value == FAllowAllUp) return;
  FAllowAllUp = Value;
  TdxBarManager* manager = GetBarManager();
  if (FGroupIndex == 0 || !manager) return;
  for (int i = 0; i < manager->GetItemCount(); ++i)
    if (auto* button = dynamic_cast<TdxBarButton*>(manager->GetItem(i));
        button && button->FGroupIndex == FGroupIndex)
      button->FAllowAllUp = Value;
}

void TdxBarButton::SetDropDownMenu(TComponent* Value) {
  if (Value == FDropDownMenu) return;
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

bool TdxBarButton::AcceptsAccelerator(const TdxBarItemLink* Link) const {
  if (!GetEnabled()) return false;
  if (!dynamic_cast<TdxBar*>(Link->GetLinks()->GetOwner())) return true;
  const TdxBarPaintStyle style = Link->GetPaintStyle();
  return style == psCaption || style == psCaptionGlyph;
}

void TdxBarButton::Click() {
  if (GetEnabled() && FButtonStyle == bsChecked) SetDown(!FDown);
  TdxBarItem::Click();
}

void TdxBarButton::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (action && (!CheckDefaults || !FDown)) SetDown(action->GetChecked());
  TdxBarItem::ActionChange(Sender, CheckDefaults);
}

void TdxBarButton::Notification(TComponent* AComponent, TOperation Operation) {
  TdxBarItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

// ---- Sub items ----

TdxBarItemClass TdxBarSubItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarSubItem>("TdxBarSubItem");
}

TCustomdxBarSubItem::TCustomdxBarSubItem(TComponent* AOwner)
    : TdxBarItem(AOwner), FItemLinks(std::make_unique<TdxBarItemLinks>(GetBarManager(), this)) {}

TCustomdxBarSubItem::~TCustomdxBarSubItem() {
  SetDetachingBar(-1);
  FItemLinks.reset();
}

void TCustomdxBarSubItem::SetItemLinks(const TdxBarItemLinks* Value) {
  FItemLinks->Assign(Value);
}

int TCustomdxBarSubItem::GetDetachingBar() const {
  return FDetachingBar ? FDetachingBar->GetIndex() : -1;
}

void TCustomdxBarSubItem::SetDetachingBar(int Value) {
  TdxBars* bars = GetBarManager() ? GetBarManager()->GetBars() : nullptr;
  if (Value < -1 || !bars || Value >= bars->GetCount()) Value = -1;
  if (Value == GetDetachingBar()) return;
  if (FDetachingBar) FDetachingBar->RemoveNotifiedItem(this);
  FDetachingBar = Value < 0 ? nullptr : bars->GetItem(Value);
  if (FDetachingBar) FDetachingBar->AddNotifiedItem(this);
}

void TCustomdxBarSubItem::BarNotification(TOperation Operation, TdxBar* ABar) {
  if (Operation == opRemove && ABar == FDetachingBar) SetDetachingBar(-1);
}

bool TCustomdxBarSubItem::IsShortCut(TShortCut ShortCut) {
  return FItemLinks->IsShortCut(ShortCut);
}

namespace {

// Whether Item has a link in Container's links, or in those of a sub item
// that has one there, at any depth.
bool IsLinkedWithin(const TdxBarItem* Item, const TPersistent* Container) {
  for (int i = 0; i < Item->GetLinkCount(); ++i) {
    TdxBarItemLinks* links = Item->GetLink(i)->GetLinks();
    const TPersistent* owner = links ? links->GetOwner() : nullptr;
    if (owner == Container) return true;
    if (auto* subItem = dynamic_cast<const TdxBarItem*>(owner); subItem && IsLinkedWithin(subItem, Container))
      return true;
  }
  return false;
}

} // namespace

bool CanItemBeLinked(const TComponent* Owner, const TdxBarItem* Item) {
  auto* ownerItem = dynamic_cast<const TdxBarItem*>(Owner);
  if (!ownerItem) return true;
  if (auto* subItem = dynamic_cast<const TCustomdxBarSubItem*>(Item))
    return subItem != ownerItem && !subItem->GetItemLinks()->ContainsItem(ownerItem);
  // A drop-down button may not open a menu that holds the menu it is put in.
  if (auto* button = dynamic_cast<const TdxBarButton*>(Item); button && button->GetDropDownMenu())
    return !IsLinkedWithin(ownerItem, button->GetDropDownMenu());
  return true;
}
