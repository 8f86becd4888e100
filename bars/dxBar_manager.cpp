// The bar manager: construction and destruction, its properties, fonts,
// image lists, loading and the lookups.
#include "dxBar.h"
#include "dxBarDesign.h"

#include "dxBarCommon.h"
#include "dxBarPainters.h"
#include "dxBarPopup.h"
#include "dxBarStrs.h"
#include "dxOffice11.h"

#include "cxGraphics.h"
#include "cxLookAndFeels.h"
#include "dxThemeManager.h"

#include "Forms.h"
#include "ImgList.h"

#include <algorithm>

namespace {

// The classes the XP look draws with.
constexpr TdxThemedObjectTypes kXPThemeClasses = 0x845E0C;

// A reset form's manager reads no stored layout: it gives back the form's own.
bool gReadingResetForm = false;

} // namespace

// ---- The list of managers ----

TdxBarManagerList::~TdxBarManagerList() {
  while (!FItems.empty())
    delete FItems.front();
}

TdxBarManager* TdxBarManagerList::GetItem(int Index) const {
  return Index >= 0 && Index < GetCount() ? FItems[Index] : nullptr;
}

TdxBarManager* TdxBarManagerList::GetCustomizingManager() const {
  for (TdxBarManager* manager : FItems)
    if (manager->IsCustomizing()) return manager;
  return nullptr;
}

// ---- Construction and destruction ----

TdxBarManager::TdxBarManager(TComponent* AOwner) : TComponent(AOwner) {
  CheckOwner(AOwner);
  auto& managers = dxBarManagerList()->FItems;
  if (std::find(managers.begin(), managers.end(), this) == managers.end()) managers.push_back(this);
  InstallBarHooks();
  UpdatePainter();
  FCategories = std::make_unique<TdxBarManagerCategories>(this);
  FBars = std::make_unique<TdxBars>(this);
  FFont = std::make_unique<TFont>();
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FHelpButtonGlyph = std::make_unique<TBitmap>();
  FHelpButtonGlyph->OnChange = [](TObject*) { CustomizingFormHelpButtonChanged(); };
  CreateImageLinks();
  FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeNotificator->OnThemeSwitched = [this] { StyleChanged(); };
  CalcInitialUseCount();
  FPopupMenuLinks = std::make_unique<TdxBarPopupMenuLinks>(this);
  FBackgrounds = std::make_unique<TdxBarBackgrounds>(this);
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->SetKind(lfUltraFlat);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) {
    if (!IsDestroying()) StyleChanged();
  };
  FStyle = bmsUseLookAndFeel; // so that the setter below takes bmsEnhanced
  SetStyle(bmsEnhanced);
  SetUseSystemFont(true);
  CreateBrushes();
  AcquireOffice11Colors();
  FConstructed = true;
}

void TdxBarManager::CheckOwner(TComponent* AOwner) {
  TComponent* owner = AOwner;
  if (!owner && Application) owner = Application->GetMainForm();
  auto* form = dynamic_cast<TCustomForm*>(owner);
  if (!form) throw Exception(dxBarString(dxSBAR_BARMANAGERBADOWNER));
  if (GetBarManagerOfForm(form)) throw Exception(dxBarString(dxSBAR_BARMANAGERMORETHANONE));
  FOwnerForm = form;
}

void TdxBarManager::CreateImageLinks() {
  auto make = [this](std::unique_ptr<TChangeLink>& link, void (TdxBarManager::*changed)()) {
    link = std::make_unique<TChangeLink>();
    link->OnChange = [this, changed](TObject*) { (this->*changed)(); };
  };
  make(FImagesLink, &TdxBarManager::ImagesChanged);
  make(FLargeImagesLink, &TdxBarManager::LargeImagesChanged);
  make(FHotImagesLink, &TdxBarManager::HotImagesChanged);
  make(FDisabledImagesLink, &TdxBarManager::DisabledImagesChanged);
  make(FDisabledLargeImagesLink, &TdxBarManager::DisabledLargeImagesChanged);
}

TdxBarManager::~TdxBarManager() {
  SetDestroying();
  FLookAndFeel.reset();
  FThemeNotificator.reset();
  SetCustomizing(false);
  FreeBrushes();
  ReleaseOffice11Colors();
  while (!FPopupMenus.empty())
    delete FPopupMenus.back();
  for (auto* link :
       {&FImagesLink, &FLargeImagesLink, &FHotImagesLink, &FDisabledImagesLink, &FDisabledLargeImagesLink})
    link->reset();
  FHelpButtonGlyph.reset();
  while (!FGroups.empty())
    delete FGroups.front();
  FFont.reset();
  if (FMenuFontHandle) DeleteObject(FMenuFontHandle);
  FreeReleasedBarControls();
  FBars.reset();
  while (!FItems.empty()) {
    TdxBarItem* item = FItems.back();
    FItems.pop_back();
    item->FBarManager = nullptr;
    delete item;
  }
  auto& managers = dxBarManagerList()->FItems;
  managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
  if (managers.empty()) RemoveBarHooks();
  ReleaseHintOf(this);
  FCategories.reset();
  FPendingBars.reset();
  FPopupMenuLinks.reset();
  FBackgrounds.reset();
}

TdxBarManager* CreateBarManager(TCustomForm* Form, TdxBarDefinition Definition) {
  auto* manager = new TdxBarManager(Form);
  manager->BeginLoading();
  manager->FDefinition = Definition;
  ++manager->FReadStateCount;
  Definition(manager);
  manager->Loaded();
  return manager;
}

// ---- State ----

void TdxBarManager::DesignerModified() {
  if (IsLoading() || IsDestroying() || !FConstructed) return;
  FModified = true;
  if (TdxBarDesignerHook* hook = DesignerHookOf(this)) hook->Modified(this);
}

void TdxBarManager::SetLockUpdate(bool Value) {
  if (Value == FLockUpdate) return;
  FLockUpdate = Value;
  for (TdxDockControl* dock : FDockControls)
    if (dock->GetVisible() && dock->HandleAllocated())
      SendMessageA(dock->GetHandle(), WM_SETREDRAW, !Value, 0);
  if (Value || IsDestroying()) return;
  for (TdxDockControl* dock : FDockControls) {
    if (!dock->GetVisible()) continue;
    dock->Realign();
    if (dock->HandleAllocated()) {
      SendMessageA(dock->GetHandle(), WM_NCPAINT, 0, 0);
      dock->Invalidate();
    }
  }
  for (int i = 0; i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    TdxBarControl* window = bar->GetVisible() ? bar->GetBarControl() : nullptr;
    if (!window || !window->HandleAllocated()) continue;
    if (window->GetDockingStyle() == dsNone) {
      window->Rebuild();
      continue;
    }
    SetWindowPos(window->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    window->Repaint();
  }
}

TdxBarManagerStyle TdxBarManager::GetEffectiveStyle() const {
  if (FStyle != bmsUseLookAndFeel) return FStyle;
  if (FLookAndFeel->GetNativeStyle() && FXPThemesAvailable) return bmsXP;
  switch (FLookAndFeel->GetKind()) {
  case lfFlat:
    return bmsEnhanced;
  case lfStandard:
    return bmsStandard;
  default:
    return bmsFlat;
  }
}

void TdxBarManager::UpdatePainter() {
  FXPThemesAvailable = ThemesAvailable(kXPThemeClasses);
  FPainterClass = GetPainterClassOfStyle(GetEffectiveStyle(), FXPThemesAvailable);
}

void TdxBarManager::StyleChanged() {
  UpdatePainter();
  FGripOffset = FPainterClass->GetGripOffset();
  FGripAreaSize = FPainterClass->GetGripAreaSize();
  FSeparatorIndent = FPainterClass->GetSeparatorIndent();
  CalcButtonSizes();
  if (!FBars) return;
  // Docked windows measure themselves again; floating ones are made anew.
  for (int i = 0; i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    TdxBarControl* window = bar->GetVisible() ? bar->GetBarControl() : nullptr;
    if (!window) continue;
    if (window->GetDockingStyle() == dsNone) {
      bar->SetVisible(false);
      bar->SetVisible(true);
    } else {
      window->Perform(CM_FONTCHANGED);
    }
  }
  for (TdxDockControl* dock : FDockControls)
    dock->RecreateFrame();
  CustomizingFormStyleChanged();
  RepaintBars();
}

// ---- Dock controls ----

bool TdxBarManager::CanDocking(TdxBar* Bar, TdxBarDockingStyle Style, TdxDockControl* DockControl) {
  if (Bar->NotDocking.Contains(Style)) return false;
  // The manager's NotDocking rules the automatic docks; a placed dock
  // answers for itself.
  bool result =
      !DockControl || DockControl->IsAutomatic() ? !NotDocking.Contains(Style) : DockControl->CanDock(Bar);
  if (OnDocking) OnDocking(Bar, Style, DockControl, result);
  return result;
}

void TdxBarManager::AddDockControl(TdxDockControl* DockControl) {
  if (std::find(FDockControls.begin(), FDockControls.end(), DockControl) != FDockControls.end()) return;
  FDockControls.push_back(DockControl);
  DockControl->FreeNotification(this);
}

void TdxBarManager::RemoveDockControl(TdxDockControl* DockControl) {
  auto it = std::find(FDockControls.begin(), FDockControls.end(), DockControl);
  if (it == FDockControls.end()) return;
  if (FBars) {
    for (int i = 0; i < FBars->GetCount(); ++i) {
      TdxBar* bar = FBars->GetItem(i);
      if (TdxBarControl* window = bar->GetBarControl(); window && window->GetDockControl() == DockControl)
        bar->SetVisible(false);
      if (bar->GetDockControl() == DockControl) bar->SetDockControl(nullptr);
      if (bar->GetDockedDockControl() == DockControl) bar->SetDockedDockControl(nullptr);
    }
    FBars->ForgetDockControl(DockControl);
  }
  FDockControls.erase(std::find(FDockControls.begin(), FDockControls.end(), DockControl));
  DockControl->RemoveFreeNotification(this);
  if (!DockControl->IsDestroying()) DockControl->SetParentColor(true);
}

void TdxBarManager::SetDockControlHeights(int Left, int Right, int Top, int Bottom) {
  const int sizes[4] = {Left, Top, Right, Bottom};
  for (TdxBarDockingStyle style : {dsLeft, dsTop, dsRight, dsBottom}) {
    TdxDockControl* dock = FBars->GetDockControl(style);
    if (!dock) continue;
    if (dock->IsVertical())
      dock->SetWidth(sizes[style - dsLeft]);
    else
      dock->SetHeight(sizes[style - dsLeft]);
  }
}

void TdxBarManager::GetDockControlHeights(int (&Sizes)[4]) const {
  const TdxBarDockingStyle order[4] = {dsLeft, dsRight, dsTop, dsBottom};
  for (int i = 0; i < 4; ++i) {
    TdxDockControl* dock = FBars->GetDockControl(order[i]);
    Sizes[i] = !dock ? 0 : dock->IsVertical() ? dock->GetWidth() : dock->GetHeight();
  }
}

void TdxBarManager::CalcButtonSizes() {
  FGlyphSize = 16 * (1 + (FLargeIcons ? 1 : 0));
  FButtonWidth = FGlyphSize + FPainterClass->GetButtonHorizontalMargin();
  FButtonHeight = FGlyphSize + FPainterClass->GetButtonVerticalMargin();
  FArrowWidth = FPainterClass->GetButtonArrowWidth(this);
}

int TdxBarManager::GetGripSize(const TdxBar* ABar) const {
  const TdxBarDockingStyles all{dsNone, dsLeft, dsTop, dsRight, dsBottom};
  if ((ABar->NotDocking * all) == all) return FPainterClass->GetNonDockableGripSize(ABar);
  return FGripAreaSize;
}

// ---- Colours ----

namespace {

TColor Scaled(TColor color, const std::function<int(int)>& channel) {
  const uint32_t c = ColorToRGB(color);
  return GetNearestScreenColor(
      static_cast<TColor>(RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)))));
}

} // namespace

TColor TdxBarManager::GetFlatFrameColor() const {
  return Scaled(clBtnShadow, [](int c) { return MulDiv(c, 8, 10); });
}

TColor TdxBarManager::GetFlatToolbarColor() const {
  return Scaled(clBtnFace, [](int c) { return c + MulDiv(255 - c, 16, 100); });
}

TColor TdxBarManager::GetFlatCheckedColor() const {
  return GetNearestScreenColor(LightColorFromWeights(11, 9, 73));
}

TColor TdxBarManager::GetFlatCheckedSelectedColor() const {
  return GetNearestScreenColor(LightColorFromWeights(14, 44, 40));
}

TColor TdxBarManager::GetFlatSelectionColor() const {
  return GetNearestScreenColor(LightColorFromWeights(-2, 30, 72));
}

void TdxBarManager::CreateBrushes() {
  FreeBrushes();
  const TColor colors[] = {GetFlatFrameColor(), GetFlatToolbarColor(), GetFlatCheckedColor(),
                           GetFlatCheckedSelectedColor(), GetFlatSelectionColor()};
  for (int i = 0; i < 5; ++i)
    FFlatBrushes[i] = CreateSolidBrush(static_cast<COLORREF>(colors[i]));
  if (FXPThemesAvailable)
    FXPToolbarBrush = CreateSolidBrush(static_cast<COLORREF>(GetToolbarThemeFillColor()));
}

void TdxBarManager::FreeBrushes() {
  for (HBRUSH* brush : {&FFlatBrushes[0], &FFlatBrushes[1], &FFlatBrushes[2], &FFlatBrushes[3],
                        &FFlatBrushes[4], &FXPToolbarBrush}) {
    if (*brush) DeleteObject(*brush);
    *brush = nullptr;
  }
}

void TdxBarManager::SysColorsChanged() {
  CreateBrushes();
  RefreshOffice11Colors();
}

// ---- Properties ----

void TdxBarManager::SetAutoHideEmptyBars(bool Value) {
  if (Value == FAutoHideEmptyBars) return;
  FAutoHideEmptyBars = Value;
  if (!Value)
    for (int i = 0; i < FBars->GetCount(); ++i)
      FBars->GetItem(i)->HiddenAutomatically = false;
}

void TdxBarManager::SetScaled(bool Value) {
  if (Value == FScaled) return;
  FScaled = Value;
  if (Value && !FUseSystemFont) ReadSystemFont();
}

void TdxBarManager::SetButtonArrowWidth(int Value) {
  if (Value < 2) return;
  FButtonArrowWidth = Value;
  CalcButtonSizes();
}

void TdxBarManager::SetLargeButtonArrowWidth(int Value) {
  if (Value >= 2) FLargeButtonArrowWidth = Value;
}

TColor TdxBarManager::GetDockColor() const {
  return AutoDockColor ? FOwnerForm->GetColor() : FDockColor;
}

void TdxBarManager::SetDockColor(TColor Value) {
  FDockColor = Value;
  SetAutoDockColor(false);
}

void TdxBarManager::SetAutoDockColor(bool Value) {
  AutoDockColor = Value;
  for (TdxDockControl* dock : FDockControls)
    dock->UpdateDockColor();
}

void TdxBarManager::SetLargeIcons(bool Value) {
  if (Value == FLargeIcons) return;
  FLargeIcons = Value;
  CalcButtonSizes();
  DesignerModified();
  CustomizingFormOptionsChanged();
}

void TdxBarManager::SetLookAndFeel(const TcxLookAndFeel* Value) {
  FLookAndFeel->Assign(Value);
}

void TdxBarManager::OptionChanged() {
  DesignerModified();
  CustomizingFormOptionsChanged();
}

void TdxBarManager::SetMenuAnimations(TdxBarMenuAnimations Value) {
  if (Value == FMenuAnimations) return;
  FMenuAnimations = Value;
  OptionChanged();
}

void TdxBarManager::SetMenusShowRecentItemsFirst(bool Value) {
  if (Value == FMenusShowRecentItemsFirst) return;
  FMenusShowRecentItemsFirst = Value;
  OptionChanged();
}

void TdxBarManager::SetMostRecentItemsPercents(int Value) {
  FMostRecentItemsPercents = std::min(Value, 100);
  CalcInitialUseCount();
}

void TdxBarManager::CalcInitialUseCount() {
  if (FMostRecentItemsPercents == 100) {
    FInitialUseCount = 0;
    return;
  }
  int n = 1;
  while (n * (100 - FMostRecentItemsPercents) / 100 <= 0)
    ++n;
  FInitialUseCount = n;
}

void TdxBarManager::SetShowFullMenusAfterDelay(bool Value) {
  if (Value == FShowFullMenusAfterDelay) return;
  FShowFullMenusAfterDelay = Value;
  OptionChanged();
}

void TdxBarManager::SetShowHelpButton(bool Value) {
  if (Value == FShowHelpButton) return;
  FShowHelpButton = Value;
  CustomizingFormHelpButtonChanged();
}

void TdxBarManager::SetShowHint(bool Value) {
  if (Value == FShowHint) return;
  FShowHint = Value;
  OptionChanged();
}

void TdxBarManager::SetShowShortCutInHint(bool Value) {
  if (Value == FShowShortCutInHint) return;
  FShowShortCutInHint = Value;
  OptionChanged();
}

void TdxBarManager::SetStyle(TdxBarManagerStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  StyleChanged();
}

void TdxBarManager::SetWaitForDockingTime(int Value) {
  if (Value >= 0) FWaitForDockingTime = Value;
}

TStrings* TdxBarManager::GetCategories() const {
  return FCategories.get();
}

void TdxBarManager::SetCategories(const TStrings* Value) {
  FCategories->Assign(Value);
}

// ---- Fonts ----

void TdxBarManager::SetUseSystemFont(bool Value) {
  if (Value == FUseSystemFont) return;
  FUseSystemFont = Value;
  if (Value) ReadSystemFont();
}

void TdxBarManager::ReadSystemFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  if (FUseSystemFont) {
    HFONT menuFont = CreateFontIndirectA(&metrics.lfMenuFont);
    FInternalFontChange = true;
    FFont->SetHandle(menuFont);
    FInternalFontChange = false;
    DeleteObject(menuFont);
  } else if (FScaled) {
    FFont->SetHeight(metrics.lfMenuFont.lfHeight);
  }
}

void TdxBarManager::FontChanged() {
  if (!FInternalFontChange) FUseSystemFont = false;
  if (FScaled) {
    TNotifyEvent onChange = std::move(FFont->OnChange);
    FFont->OnChange = nullptr;
    ReadSystemFont();
    FFont->OnChange = std::move(onChange);
  }
  CreateMenuFont(FFont.get(), FMenuFontHandle, FScaled);
  for (int i = 0; i < FBars->GetCount(); ++i)
    FBars->GetItem(i)->ManagerFontChanged();
}

// ---- Image lists ----

void TdxBarManager::SetImageList(TCustomImageList*& Field, TChangeLink& Link, TCustomImageList* Value,
                                 void (TdxBarManager::*Changed)()) {
  if (Value == Field) return;
  if (Field) {
    Field->UnRegisterChanges(&Link);
    Field->RemoveFreeNotification(this);
  }
  Field = Value;
  if (Field) {
    Field->RegisterChanges(&Link);
    Field->FreeNotification(this);
  }
  (this->*Changed)();
}

void TdxBarManager::SetImages(TCustomImageList* Value) {
  SetImageList(FImages, *FImagesLink, Value, &TdxBarManager::ImagesChanged);
}

void TdxBarManager::SetLargeImages(TCustomImageList* Value) {
  SetImageList(FLargeImages, *FLargeImagesLink, Value, &TdxBarManager::LargeImagesChanged);
}

void TdxBarManager::SetHotImages(TCustomImageList* Value) {
  SetImageList(FHotImages, *FHotImagesLink, Value, &TdxBarManager::HotImagesChanged);
}

void TdxBarManager::SetDisabledImages(TCustomImageList* Value) {
  SetImageList(FDisabledImages, *FDisabledImagesLink, Value, &TdxBarManager::DisabledImagesChanged);
}

void TdxBarManager::SetDisabledLargeImages(TCustomImageList* Value) {
  SetImageList(FDisabledLargeImages, *FDisabledLargeImagesLink, Value,
               &TdxBarManager::DisabledLargeImagesChanged);
}

void TdxBarManager::VisitItemsForImages(const std::function<void(TdxBarItem*)>& Visit) {
  if (IsLoading() || IsDestroying()) return;
  TLockUpdateScope lock(this);
  for (TdxBarItem* item : std::vector<TdxBarItem*>(FItems))
    Visit(item);
}

void TdxBarManager::ImagesChanged() {
  VisitItemsForImages([](TdxBarItem* item) {
    if (item->GetImageIndex() >= 0) item->GlyphChanged();
  });
}

void TdxBarManager::DisabledImagesChanged() {
  ImagesChanged();
}

void TdxBarManager::HotImagesChanged() {
  VisitItemsForImages([](TdxBarItem* item) {
    if (item->HasHotImage()) item->HotGlyphChanged();
  });
}

void TdxBarManager::LargeImagesChanged() {
  VisitItemsForImages([](TdxBarItem* item) {
    if (item->HasLargeImage()) item->LargeGlyphChanged();
  });
}

void TdxBarManager::DisabledLargeImagesChanged() {
  LargeImagesChanged();
}

void TdxBarManager::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  auto& released = FReleasedBarControls;
  released.erase(std::remove_if(released.begin(), released.end(),
                                [AComponent](TdxBarControl* window) { return window == AComponent; }),
                 released.end());
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
  if (AComponent == FHotImages) SetHotImages(nullptr);
  if (AComponent == FDisabledImages) SetDisabledImages(nullptr);
  if (AComponent == FDisabledLargeImages) SetDisabledLargeImages(nullptr);
  for (int i = 0; FPopupMenuLinks && i < FPopupMenuLinks->GetCount(); ++i) {
    TdxBarPopupMenuLink* link = FPopupMenuLinks->GetItem(i);
    if (link->FControl == AComponent) link->FControl = nullptr;
    if (link->FPopupMenu == AComponent) link->FPopupMenu = nullptr;
  }
}

// ---- Loading ----

void TdxBarManager::Loaded() {
  TComponent::Loaded();
  if (FLockUpdate) return;
  FBars->FApplyingLoadedState = true;
  for (TdxBarItem* item : std::vector<TdxBarItem*>(FItems)) {
    if (item->IsLoading()) item->Loaded();
    item->SetVisible(item->FLoadedVisible);
    if (auto* subItem = dynamic_cast<TCustomdxBarSubItem*>(item))
      subItem->GetItemLinks()->ApplyStoredState(true);
  }
  for (TdxBarGroup* group : std::vector<TdxBarGroup*>(FGroups))
    if (group->IsLoading()) group->Loaded();
  for (TdxBarPopupMenu* menu : std::vector<TdxBarPopupMenu*>(FPopupMenus))
    if (menu->IsLoading()) menu->Loaded();
  for (int i = 0; i < FBars->GetCount(); ++i)
    FBars->GetItem(i)->ApplyPendingState();
  if (!GetDesigning() && !gReadingResetForm) {
    if (StoreInRegistry) LoadFromRegistry(RegistryPath);
    if (StoreInIniFile) LoadFromIniFile(IniFileName);
  }
  FBars->FApplyingLoadedState = false;
  for (TdxDockControl* dock : FDockControls)
    dock->Realign();
  ApplyPendingCategories();
}

void TdxBarManager::ApplyPendingCategories() {
  for (int i = 0; i < FCategories->GetCount(); ++i) {
    TdxBarCategoryRecord* record = FCategories->GetRecord(i);
    if (record && record->HasPendingItemsVisible) {
      record->HasPendingItemsVisible = false;
      SetCategoryItemsVisible(i, record->PendingItemsVisible);
    }
  }
}

// ---- Items, groups, lookups ----

TdxBarItem* TdxBarManager::GetItem(int Index) const {
  return Index >= 0 && Index < GetItemCount() ? FItems[Index] : nullptr;
}

TdxBarGroup* TdxBarManager::GetGroup(int Index) const {
  return Index >= 0 && Index < GetGroupCount() ? FGroups[Index] : nullptr;
}

TdxBarGroup* TdxBarManager::AddGroup() {
  auto* group = new TdxBarGroup(FOwnerForm);
  group->FBarManager = this;
  FGroups.push_back(group);
  return group;
}

TdxBar* TdxBarManager::FindBarByCaption(const String& Caption) const {
  for (int i = 0; i < FBars->GetCount(); ++i)
    if (FBars->GetItem(i)->GetCaption() == Caption) return FBars->GetItem(i);
  return nullptr;
}

TdxBar* TdxBarManager::FindBarByName(const String& Name) const {
  for (int i = 0; i < FBars->GetCount(); ++i)
    if (FBars->GetItem(i)->GetName() == Name) return FBars->GetItem(i);
  return nullptr;
}

TdxBarItem* TdxBarManager::FindItemByName(const String& Name) const {
  for (TdxBarItem* item : FItems)
    if (SameText(item->GetName(), Name)) return item;
  return nullptr;
}

int TdxBarManager::GetItemsByCategory(int Category, std::vector<TdxBarItem*>& List) const {
  List.clear();
  if (Category < 0 || Category >= FCategories->GetCount()) return 0;
  for (TdxBarItem* item : FItems)
    if (item->GetCategory() == Category) List.push_back(item);
  return static_cast<int>(List.size());
}

int TdxBarManager::GetCategoryCommands(int Category, std::vector<TdxBarItem*>& List) const {
  GetItemsByCategory(Category, List);
  if (GetDesigning()) return static_cast<int>(List.size());
  std::erase_if(List, [](TdxBarItem* item) { return !item->IsActuallyVisible() || item->IsHiddenInCustomizing(); });
  return static_cast<int>(List.size());
}

int TdxBarManager::VisibleCategoryToIndex(int N) const {
  if (GetDesigning()) return N;
  for (int i = 0; i < FCategories->GetCount(); ++i)
    if (GetCategoryVisible(i) && N-- == 0) return i;
  return -1;
}

void TdxBarManager::ExchangeItems(int Index1, int Index2) {
  std::swap(FItems.at(Index1), FItems.at(Index2));
  DesignerModified();
}

void TdxBarManager::ItemChanged(TdxBarItem* Item) {
  // The commands list it refreshes exists only while designing.
  (void)Item;
}

// ---- Resets ----

std::unique_ptr<TCustomForm> TdxBarManager::CreateResetForm() {
  if (!FDefinition) return nullptr;
  const TCursor cursor = Screen->GetCursor();
  Screen->SetCursor(crHourGlass);
  auto form = std::make_unique<TForm>(nullptr);
  gReadingResetForm = true;
  try {
    TdxBarManager* manager = CreateBarManager(form.get(), FDefinition);
    manager->StoreInIniFile = false;
    manager->StoreInRegistry = false;
  } catch (...) {
    gReadingResetForm = false;
    Screen->SetCursor(cursor);
    throw;
  }
  gReadingResetForm = false;
  Screen->SetCursor(cursor);
  return form;
}

void TdxBarManager::ResetUsageData() {
  TLockUpdateScope lock(this);
  std::unique_ptr<TCustomForm> form = CreateResetForm();
  TdxBarManager* fresh = form ? GetBarManagerOfForm(form.get()) : nullptr;
  if (!fresh) return;
  for (TdxBarItem* item : FItems) {
    auto* subItem = dynamic_cast<TCustomdxBarSubItem*>(item);
    auto* freshSubItem =
        subItem ? dynamic_cast<TCustomdxBarSubItem*>(form->FindComponent(item->GetName())) : nullptr;
    if (freshSubItem) subItem->GetItemLinks()->CopyMostRecentlyUsed(freshSubItem->GetItemLinks());
  }
  const int count = std::min(FBars->GetCount(), fresh->GetBars()->GetCount());
  for (int i = 0; i < count; ++i)
    FBars->GetItem(i)->GetItemLinks()->CopyMostRecentlyUsed(fresh->GetBars()->GetItem(i)->GetItemLinks());
}

void TdxBarManager::ResetUsageDataWithConfirmation() {
  if (Application->MessageBox(dxBarString(dxSBAR_WANTTORESETUSAGEDATA), Application->Title,
                              MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
    ResetUsageData();
}

// ---- Events ----

void TdxBarManager::DoClickItem(TdxBarItem* Item) {
  if (OnClickItem) OnClickItem(this, Item);
}

void TdxBarManager::DoBarAfterReset(TdxBar* ABar) {
  if (OnBarAfterReset) OnBarAfterReset(this, ABar);
}

void TdxBarManager::DoBarBeforeReset(TdxBar* ABar) {
  if (OnBarBeforeReset) OnBarBeforeReset(this, ABar);
}

void TdxBarManager::DoBarClose(TdxBar* ABar) {
  if (OnBarClose) OnBarClose(this, ABar);
}

void TdxBarManager::DoBarDockingStyleChange(TdxBar* ABar) {
  if (FBars->FApplyingLoadedState) return;
  if (OnBarDockingStyleChange) OnBarDockingStyleChange(this, ABar);
  DesignerModified();
}

void TdxBarManager::DoCloseButtonClick() {
  if (OnCloseButtonClick) OnCloseButtonClick(this);
}

void TdxBarManager::DoHelpButtonClick() {
  if (OnHelpButtonClick) OnHelpButtonClick(this);
}

void TdxBarManager::DoShowCustomizingPopup(TdxBarItemLinks* Links) {
  if (OnShowCustomizingPopup) OnShowCustomizingPopup(this, Links);
}

void TdxBarManager::DoShowToolbarsPopup(TdxBarItemLinks* Links) {
  if (OnShowToolbarsPopup) OnShowToolbarsPopup(this, Links);
}
