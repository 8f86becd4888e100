// Bars and the bar collection of a manager.
#include "dxBar.h"

#include "dxBarStrs.h"

#include "Forms.h"

#include <algorithm>

// ---- TdxBars ----

TdxBars::TdxBars(TdxBarManager* ABarManager)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TdxBar(c); }),
      FBarManager(ABarManager) {
  for (TdxBarDockingStyle style : {dsLeft, dsTop, dsRight, dsBottom}) {
    auto* dock = new TdxDockControl(ABarManager, ABarManager, style);
    FDockControls[style - dsLeft] = dock;
    dock->SetParent(ABarManager->GetOwnerForm());
  }
}

TdxBars::~TdxBars() {
  Clear();
  for (TdxDockControl* dock : FDockControls)
    delete dock;
}

String MakeUniqueBarName(const TdxBars* Bars, const String& Caption) {
  for (int n = 1;; ++n) {
    const String name = Caption + IntToStr(n);
    bool taken = false;
    for (int i = 0; i < Bars->GetCount() && !taken; ++i)
      taken = Bars->GetItem(i)->GetName() == name;
    if (!taken) return name;
  }
}

// ---- Creation and destruction ----

TdxBar::TdxBar(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>()),
      FBackgroundBitmap(std::make_unique<TBitmap>()) {
  TdxBarManager* manager = GetBarManager();
  FItemLinks = std::make_unique<TdxBarItemLinks>(manager, this);
  FItemLinks->OnChange = [manager](TdxBarItemLinks*) { manager->DesignerModified(); };
  ManagerFontChanged();
  FFont->OnChange = [this](TObject*) {
    if (!FFontFromManager) FUseOwnFont = true;
  };
  if (manager->IsLoading()) return;
  if (manager->OnBarAdd) manager->OnBarAdd(manager, this);
  manager->DesignerModified();
}

TdxBar::~TdxBar() {
  TdxBarManager* manager = GetBarManager();
  if (!manager->IsDestroying()) {
    manager->DesignerModified();
    if (manager->OnBarDelete) manager->OnBarDelete(manager, this);
  }
  HideBarWindow();
  FVisible = false;
  manager->RemovePendingBar(this);
  for (TdxBarControl* window : manager->FReleasedBarControls)
    if (window->GetBar() == this) window->SetItemLinks(nullptr);
  while (!FNotifiedItems.empty())
    FNotifiedItems.back()->BarNotification(opRemove, this);
  if (manager->GetMainMenuBar() == this) manager->SetMainMenuBar(nullptr);
  FItemLinks.reset();
}

TdxBars* TdxBar::GetBars() const {
  return static_cast<TdxBars*>(GetCollection());
}

TdxBarManager* TdxBar::GetBarManager() const {
  return GetBars()->GetBarManager();
}

void TdxBar::AddNotifiedItem(TdxBarItem* AItem) {
  FNotifiedItems.push_back(AItem);
}

void TdxBar::RemoveNotifiedItem(TdxBarItem* AItem) {
  FNotifiedItems.erase(std::remove(FNotifiedItems.begin(), FNotifiedItems.end(), AItem),
                       FNotifiedItems.end());
}

// ---- Setters ----

void TdxBar::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  TdxBarManager* manager = GetBarManager();
  TdxBar* other = manager->FindBarByCaption(Value);
  if (other) return;
  FCaption = Value;
  if (FName.empty() && !manager->IsLoading())
    FName = manager->FindBarByName(Value) ? MakeUniqueBarName(GetBars(), Value) : Value;
  manager->DesignerModified();
  CustomizingFormBarChanged(this);
}

void TdxBar::SetVisible(bool Value) {
  TdxBarManager* manager = GetBarManager();
  if (Value == FVisible || (Value && manager->IsDestroying())) return;
  HiddenAutomatically = false;
  if (manager->IsLoading()) {
    FPendingVisible = Value;
    return;
  }
  if (!Value)
    if (TdxBarControl* window = GetBarControl()) window->StorePosition();
  FVisible = Value;
  if (Value)
    ShowBarWindow();
  else
    HideBarWindow();
  if (!manager->IsDestroying() && manager->OnBarVisibleChange) manager->OnBarVisibleChange(manager, this);
  if (!GetBars()->IsApplyingLoadedState()) manager->DesignerModified();
  CustomizingFormBarChanged(this);
}

TdxBarDockingStyle TdxBar::GetDockingStyle() const {
  return FDockControl ? FDockControl->GetDockingStyle() : FDockingStyle;
}

TdxBarDockingStyle TdxBar::GetDockedDockingStyle() const {
  return FDockedDockControl ? FDockedDockControl->GetDockingStyle() : FDockedDockingStyle;
}

// Hides the bar around a change of its place and shows it again there.
void TdxBar::ReshowWindow(const std::function<void()>& Change) {
  const bool reshow = GetBarControl() != nullptr;
  if (reshow) SetVisible(false);
  Change();
  if (reshow) SetVisible(true);
}

void TdxBar::SetDockingStyle(TdxBarDockingStyle Value) {
  TdxBarManager* manager = GetBarManager();
  if (manager->IsLoading()) {
    FPendingDockingStyle = Value;
    return;
  }
  if (Value == GetDockingStyle()) return;
  const bool guarded = FDockingGuard;
  TdxBarControl* window = GetBarControl();
  const bool reshow = !guarded && window && window->GetDockingStyle() != Value;
  if (reshow) SetVisible(false);
  FDockingStyle = Value;
  if (!guarded) {
    FDockingGuard = true;
    FDockControl = nullptr;
    FDockingGuard = false;
  }
  FItemLinks->SetRecentItemCount(-1);
  if (reshow) SetVisible(true);
  if (!guarded) manager->DoBarDockingStyleChange(this);
}

void TdxBar::SetDockControl(TdxBarDockControl* Value) {
  TdxBarManager* manager = GetBarManager();
  if (Value && Value->GetBarManager() != manager) return;
  if (Value == FDockControl) return;
  if (manager->IsLoading()) {
    FPendingDockControl = Value;
    return;
  }
  const TdxBarDockingStyle oldStyle = GetDockingStyle();
  TdxBarControl* window = GetBarControl();
  const bool reshow = !FDockingGuard && window &&
                      (Value != window->GetDockControl() ||
                       (!Value && dynamic_cast<TdxBarDockControl*>(window->GetDockControl())));
  if (reshow) SetVisible(false);
  FDockControl = Value;
  FItemLinks->SetRecentItemCount(-1);
  const bool guarded = FDockingGuard;
  if (!guarded) {
    FDockingGuard = true;
    FDockingStyle = Value ? Value->GetDockingStyle() : oldStyle;
    FDockingGuard = false;
  }
  if (reshow) SetVisible(true);
  if (TdxBarControl* shown = GetBarControl()) shown->SetDockControl(GetEffectiveDockControl());
  if (!guarded) manager->DoBarDockingStyleChange(this);
}

void TdxBar::SetDockedDockControl(TdxBarDockControl* Value) {
  if (Value && Value->GetBarManager() != GetBarManager()) return;
  FDockedDockControl = Value;
  GetBarManager()->DesignerModified();
}

void TdxBar::DockTo(TdxBarDockingStyle Style, TdxDockControl* DockControl) {
  auto* placed = dynamic_cast<TdxBarDockControl*>(DockControl);
  if (Style == GetDockingStyle() || (placed && placed != FDockControl))
    SetDockControl(placed);
  else
    SetDockingStyle(Style);
}

void TdxBar::SetIsMainMenu(bool Value) {
  if (Value == FIsMainMenu) return;
  TdxBarManager* manager = GetBarManager();
  TLockUpdateScope lock(manager);
  TdxBar* previous = manager->GetMainMenuBar();
  if (Value && previous) previous->SetIsMainMenu(false);
  FIsMainMenu = Value;
  FWholeRow = Value;
  FMultiLine = Value;
  manager->SetMainMenuBar(Value ? this : nullptr);
  CustomizingFormBarChanged(this);
}

void TdxBar::SetMultiLine(bool Value) {
  if (!Value && FIsMainMenu) return;
  FMultiLine = Value;
}

void TdxBar::SetDockedLeft(int Value) {
  FDockedLeft = std::max(Value, 0);
  GetBarManager()->DesignerModified();
}

void TdxBar::SetDockedTop(int Value) {
  FDockedTop = std::max(Value, 0);
  GetBarManager()->DesignerModified();
}

void TdxBar::SetFloatValue(int Index, int Value) {
  FFloat[Index - 1] = Value;
  GetBarManager()->DesignerModified();
}

void TdxBar::SetHidden(bool Value) {
  FHidden = Value;
  GetBarManager()->DesignerModified();
}

void TdxBar::SetUseRecentItems(bool Value) {
  FUseRecentItems = Value;
  FItemLinks->SetUseRecentItems(Value);
}

// ---- Fonts ----

void TdxBar::SetUseOwnFont(bool Value) {
  if (Value == FUseOwnFont) return;
  FUseOwnFont = Value;
  if (!Value) ManagerFontChanged();
}

void TdxBar::ManagerFontChanged() {
  if (FUseOwnFont) return;
  FFontFromManager = true;
  FFont->Assign(GetBarManager()->GetFont());
  FFontFromManager = false;
}

// ---- Loading, assigning, resetting ----

void TdxBar::ApplyPendingState() {
  LoadedFromForm = true;
  FItemLinks->ApplyStoredState(true);
  SetDockControl(FPendingDockControl);
  if (!FDockControl) SetDockingStyle(FPendingDockingStyle);
  SetVisible(FPendingVisible);
}

void TdxBar::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TdxBar*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  AllowClose = source->AllowClose;
  AllowCustomizing = source->AllowCustomizing;
  AllowQuickCustomizing = source->AllowQuickCustomizing;
  AllowReset = source->AllowReset;
  SetCaption(source->FCaption);
  SetDockedDockControl(source->FDockedDockControl);
  FDockedDockingStyle = source->GetDockedDockingStyle();
  SetDockedLeft(source->FDockedLeft);
  SetDockedTop(source->FDockedTop);
  for (int i = 1; i <= 4; ++i)
    SetFloatValue(i, source->GetFloatValue(i));
  SetHidden(source->FHidden);
  SetIsMainMenu(source->FIsMainMenu);
  SetItemLinks(source->GetItemLinks());
  NotDocking = source->NotDocking;
  OneOnRow = source->OneOnRow;
  RotateWhenVertical = source->RotateWhenVertical;
  SetRow(source->FRow);
  SetWholeRow(source->FWholeRow);
  DockTo(source->GetDockingStyle(), source->FDockControl);
  SetUseRecentItems(source->FUseRecentItems);
  UseRestSpace = source->UseRestSpace;
  Color = source->Color;
  SetFont(source->GetFont());
  SetUseOwnFont(source->FUseOwnFont);
  SetVisible(source->FVisible);
}

void TdxBar::Reset() {
  TdxBarManager* manager = GetBarManager();
  std::unique_ptr<TCustomForm> form = manager->CreateResetForm();
  TdxBarManager* fresh = form ? GetBarManagerOfForm(form.get()) : nullptr;
  if (!fresh || GetIndex() >= fresh->GetBars()->GetCount()) return;
  TdxBar* freshBar = fresh->GetBars()->GetItem(GetIndex());
  manager->DoBarBeforeReset(this);
  TdxBars* bars = GetBars();
  {
    TLockUpdateScope lock(manager);
    const bool visible = FVisible;
    if (manager->UseFullReset) SetVisible(false);
    bars->FResetting = true;
    try {
      if (manager->UseFullReset)
        Assign(freshBar);
      else
        SetItemLinks(freshBar->GetItemLinks());
      ResetSubItems(FItemLinks.get(), fresh);
    } catch (...) {
      bars->FResetting = false;
      throw;
    }
    bars->FResetting = false;
    if (manager->UseFullReset) SetVisible(visible);
  }
  FItemLinks->CopyMostRecentlyUsed(freshBar->GetItemLinks());
  manager->DoBarAfterReset(this);
}

void TdxBar::ResetSubItems(TdxBarItemLinks* Links, TdxBarManager* FreshManager) {
  for (int i = 0; i < Links->GetCount(); ++i) {
    auto* subItem = dynamic_cast<TCustomdxBarSubItem*>(Links->GetItem(i)->GetItem());
    auto* freshSubItem =
        subItem ? dynamic_cast<TCustomdxBarSubItem*>(FreshManager->FindItemByName(subItem->GetName()))
                : nullptr;
    if (!freshSubItem) continue;
    subItem->SetItemLinks(freshSubItem->GetItemLinks());
    subItem->GetItemLinks()->CopyMostRecentlyUsed(freshSubItem->GetItemLinks());
    ResetSubItems(subItem->GetItemLinks(), FreshManager);
  }
}

void TdxBar::ResetWithConfirmation() {
  const String text = Format(dxBarString(dxSBAR_WANTTORESETTOOLBAR), FCaption);
  // The library's flags: OK and Cancel with the warning sign (49).
  if (Application->MessageBox(text, Application->Title, MB_OKCANCEL | MB_ICONWARNING) == IDOK) Reset();
}
