#include "cxFontNameComboBox.h"

#include "cxEditPaintUtils.h"

#include <climits>

namespace {

constexpr int kIconSize = 13;
const char* const kLoadingText = "Loading ...";

} // namespace

// ---- TcxCustomFontNameComboBoxProperties ----

TcxCustomFontNameComboBoxProperties::TcxCustomFontNameComboBoxProperties(TPersistent* AOwner)
    : TcxCustomComboBoxProperties(AOwner), FFontPreview(std::make_unique<TcxFontPreview>(this)),
      FMRUFontNames(std::make_unique<TcxMRUFontNameItems>(this, [this] { Changed(); })),
      FLoadedFontNames(std::make_unique<TStringList>()) {
  SetDropDownListStyle(lsFixedList);
  LoadFontNames();
}

// The loader is stopped before anything it or the messages served meanwhile
// could reach is freed.
TcxCustomFontNameComboBoxProperties::~TcxCustomFontNameComboBoxProperties() {
  OnFontNamesLoaded = nullptr;
  StopFontLoader();
  FLoadedFontNames.reset();
  FMRUFontNames.reset();
  FFontPreview.reset();
}

void TcxCustomFontNameComboBoxProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomFontNameComboBoxProperties*>(Source);
  if (!source) return TcxCustomComboBoxProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomComboBoxProperties::Assign(Source);
    SetUseOwnFont(source->FUseOwnFont);
    SetFontTypes(source->FFontTypes);
    SetShowFontTypeIcon(source->FShowFontTypeIcon);
    SetFontPreview(source->FFontPreview.get());
    SetMaxMRUFonts(source->FMaxMRUFonts);
    OnAddedMRUFont = source->OnAddedMRUFont;
    OnMovedMRUFont = source->OnMovedMRUFont;
    OnDeletedMRUFont = source->OnDeletedMRUFont;
    OnLoadFontComplete = source->OnLoadFontComplete;
    FLoadedFontNames->Assign(source->FLoadedFontNames.get());
    FMRUFontNames->Assign(source->FMRUFontNames.get());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TcxCustomFontNameComboBoxProperties::AssignItems(TcxCustomEditProperties* Target) {
  auto* target = dynamic_cast<TcxCustomFontNameComboBoxProperties*>(Target);
  if (!target || !FFontsLoaded) return;
  target->GetItems()->Assign(GetItems());
  target->FMRUFontNames->Assign(FMRUFontNames.get());
}

void TcxCustomFontNameComboBoxProperties::SetMaxMRUFonts(BYTE Value) {
  if (Value == FMaxMRUFonts) return;
  const bool smaller = Value < FMaxMRUFonts;
  FMaxMRUFonts = Value;
  if (!smaller) return;
  TrimMRUFonts();
  Changed();
}

void TcxCustomFontNameComboBoxProperties::SetFontTypes(TcxFontTypes Value) {
  if (Value == FFontTypes) return;
  FFontTypes = Value;
  FMRUFontNames->Clear();
  LoadFontNames();
  Changed();
}

void TcxCustomFontNameComboBoxProperties::SetFontPreview(const TcxFontPreview* Value) {
  FFontPreview->Assign(Value);
  Changed();
}

void TcxCustomFontNameComboBoxProperties::SetShowFontTypeIcon(TcxShowFontIconTypes Value) {
  if (Value == FShowFontTypeIcon) return;
  FShowFontTypeIcon = Value;
  Changed();
}

void TcxCustomFontNameComboBoxProperties::SetUseOwnFont(bool Value) {
  if (Value == FUseOwnFont) return;
  FUseOwnFont = Value;
  Changed();
}

unsigned TcxCustomFontNameComboBoxProperties::GetItemFontFlags(int AIndex) const {
  if (AIndex < 0 || AIndex >= GetItems()->GetCount()) return 0;
  return static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetItems()->GetObject(AIndex)));
}

TcxFontTypes TcxCustomFontNameComboBoxProperties::GetItemFontTypes(int AIndex) const {
  return FontTypeFlagsToSet(GetItemFontFlags(AIndex));
}

// ---- Loading ----

void TcxCustomFontNameComboBoxProperties::LoadFontNames() {
  if (!FFontsLoaded || FLoader) {
    if (FLoader) FLoader->OnFontsLoaded = nullptr;
    StopFontLoader();
  }
  FFontsLoaded = false;
  FLoader = new TcxFontLoader(FFontTypes);
  FLoader->OnFontsLoaded = [this](TcxFontLoader* Sender) { FontNamesLoaded(Sender); };
  FLoader->OnLoaderDone = [this](TcxFontLoader* Sender) { FontLoaderDone(Sender); };
  FLoader->Start();
}

void TcxCustomFontNameComboBoxProperties::StopFontLoader() {
  if (!FLoader) return;
  FLoader->OnFontsLoaded = nullptr;
  FLoader->Terminate();
  // The loader's last synchronized call, served by the message processing,
  // forgets it.
  while (FLoader)
    ProcessMessagesFor(100);
}

void TcxCustomFontNameComboBoxProperties::FontNamesLoaded(TcxFontLoader* ALoader) {
  TStrings* items = GetItems();
  items->BeginUpdate();
  try {
    items->Clear();
    items->Assign(ALoader->GetFoundFonts());
    FLoadedFontNames->Assign(items);
  } catch (...) {
    items->EndUpdate();
    throw;
  }
  items->EndUpdate();
  FFontsLoaded = true;
  if (OnFontNamesLoaded) OnFontNamesLoaded();
  if (OnLoadFontComplete) OnLoadFontComplete(this);
  Changed();
}

void TcxCustomFontNameComboBoxProperties::FontLoaderDone(TcxFontLoader* ALoader) {
  ALoader->OnFontsLoaded = nullptr;
  ALoader->OnLoaderDone = nullptr;
  FLoader = nullptr;
  FFontsLoaded = true;
}

// ---- The most recently used names ----

int TcxCustomFontNameComboBoxProperties::AddMRUFont(const String& AFontName) {
  if (FMaxMRUFonts == 0) return 1;
  TStrings* items = GetItems();
  const int a = items->IndexOf(AFontName);
  if (a < 0) return 0;
  if (FMRUFontNames->FindFontName(AFontName)) {
    if (a <= 0 || a >= FMRUFontNames->GetCount()) return 1;
    items->Move(a, 0);
    FMRUFontNames->Move(a, 0);
    if (OnMovedMRUFont) OnMovedMRUFont(this);
    return 2;
  }
  void* flags = items->GetObject(a);
  FMRUFontNames->InsertMRUFontName(0, AFontName);
  items->InsertObject(0, AFontName, flags);
  TrimMRUFonts();
  if (OnAddedMRUFont) OnAddedMRUFont(this);
  return 3;
}

int TcxCustomFontNameComboBoxProperties::DeleteMRUFont(const String& AFontName) {
  TStrings* items = GetItems();
  const int i = items->IndexOf(AFontName);
  if (i < 0 || !FMRUFontNames->FindFontName(AFontName)) return 0;
  delete FMRUFontNames->GetItem(i);
  items->Delete(i);
  if (OnDeletedMRUFont) OnDeletedMRUFont(this, AFontName);
  return 4;
}

void TcxCustomFontNameComboBoxProperties::TrimMRUFonts() {
  BeginUpdate();
  try {
    for (int i = FMRUFontNames->GetCount() - 1; i >= FMaxMRUFonts; --i) {
      delete FMRUFontNames->GetItem(i);
      const String name = GetItems()->Get(i);
      GetItems()->Delete(i);
      if (OnDeletedMRUFont) OnDeletedMRUFont(this, name);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- Classes of the kind ----

std::unique_ptr<TcxCustomEditPopupWindow>
TcxCustomFontNameComboBoxProperties::CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const {
  return std::make_unique<TcxFontNameComboBoxPopupWindow>(AEdit);
}

std::unique_ptr<TcxCustomTextEditLookupData>
TcxCustomFontNameComboBoxProperties::CreateLookupData(TcxCustomTextEdit* AEdit) const {
  return std::make_unique<TcxFontNameComboBoxLookupData>(AEdit);
}

TcxClassRef TcxCustomFontNameComboBoxProperties::GetContainerClass() const {
  return cxClassRef<TcxFontNameComboBox>();
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomFontNameComboBoxProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomFontNameComboBoxViewInfo>();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomFontNameComboBoxProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomFontNameComboBoxViewData>(this, AStyle, AIsInplace);
}

// ---- View info and view data ----

void TcxCustomFontNameComboBoxViewInfo::Offset(int DX, int DY) {
  TcxCustomTextEditViewInfo::Offset(DX, DY);
  OffsetRect(&IconRect, DX, DY);
}

void TcxCustomFontNameComboBoxViewInfo::Paint(TcxCanvas* ACanvas) {
  TcxCustomTextEditViewInfo::Paint(ACanvas);
  if (ItemIndex == -1 || !ShowFontTypeIcon.Contains(ftiShowInCombo)) return;
  TBitmap* icon = cxFontTypeIcon(IsTrueType);
  if (!icon) return;
  int d = 0;
  int y = (TextRect.Height() - icon->GetHeight()) / 2;
  if (!IsInplace) {
    d = 2;
    y += 2;
  } else if (Focused) {
    d = -1;
    y -= 1;
  }
  ACanvas->Draw(IconRect.left + d, IconRect.top + y, icon);
}

void TcxCustomFontNameComboBoxViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                                  int Button, TShiftState Shift,
                                                  TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxCustomComboBoxViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (IsRectEmpty(&ABounds) || ABounds.right == INT_MAX || ABounds.bottom == INT_MAX) return;
  auto* info = static_cast<TcxCustomFontNameComboBoxViewInfo*>(AViewInfo);
  info->ShowFontTypeIcon = GetFontProperties()->GetShowFontTypeIcon();
  info->IconRect = ABounds;
  InflateRect(&info->IconRect, -2, -2);
  if (info->ShowFontTypeIcon.Contains(ftiShowInCombo)) {
    info->IconRect.right = info->IconRect.left + kIconSize;
    info->TextRect.left += kIconSize + 4;
  }
  if (!IsInplace) info->IsSelectedLook = false;
}

void TcxCustomFontNameComboBoxViewData::GetDisplayTextForValue(const Variant& DisplayValue,
                                                               TcxCustomTextEditViewInfo* AViewInfo) {
  auto* info = static_cast<TcxCustomFontNameComboBoxViewInfo*>(AViewInfo);
  TcxCustomFontNameComboBoxProperties* properties = GetFontProperties();
  const bool locked = properties->IsChangedLocked();
  properties->SetChangedLock(true);
  if (properties->GetFontsLoaded()) {
    const String text = DisplayValue.IsNull() || DisplayValue.IsEmpty() ? String() : VarToStr(DisplayValue);
    info->ItemIndex = text.empty() ? -1 : properties->GetItems()->IndexOf(text);
    info->Text = info->ItemIndex == -1 ? String() : properties->GetItems()->Get(info->ItemIndex);
  } else {
    info->Text = kLoadingText;
    info->ItemIndex = -1;
  }
  properties->SetChangedLock(locked);
  if (info->ItemIndex != -1) info->IsTrueType = properties->GetItemFontTypes(info->ItemIndex).Contains(cxftTTF);
}

SIZE TcxCustomFontNameComboBoxViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                                                           const TcxEditSizeProperties& ASizeProperties) {
  SIZE size = TcxCustomComboBoxViewData::GetEditContentSize(ACanvas, EditValue, ASizeProperties);
  TcxCustomFontNameComboBoxProperties* properties = GetFontProperties();
  const String text = EditValue.IsNull() || EditValue.IsEmpty() ? String() : VarToStr(EditValue);
  if (properties->GetShowFontTypeIcon().Contains(ftiShowInCombo) && !text.empty() &&
      properties->GetItems()->IndexOf(text) >= 0)
    size.cx += kIconSize + 4;
  return size;
}

// ---- TcxCustomFontNameComboBox ----

TcxCustomFontNameComboBox::TcxCustomFontNameComboBox(TComponent* AOwner) : TcxCustomComboBox(AOwner) {
  ControlStyle.Exclude(csClickEvents);
  GetActiveProperties()->OnFontNamesLoaded = [this] { ApplyLoadedFonts(); };
}

// A load still running is stopped while the whole editor still exists: the
// messages served while waiting may reach it.
TcxCustomFontNameComboBox::~TcxCustomFontNameComboBox() {
  TcxCustomFontNameComboBoxProperties* properties = GetActiveProperties();
  properties->OnFontNamesLoaded = nullptr;
  properties->StopFontLoader();
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomFontNameComboBox::CreateProperties() {
  return std::make_unique<TcxFontNameComboBoxProperties>(this);
}

TcxCustomInnerTextEdit* TcxCustomFontNameComboBox::NewInnerEdit() {
  return new TcxCustomFontNameComboBoxInnerEdit(this);
}

int TcxCustomFontNameComboBox::GetItemIndex() const {
  IcxTextEditLookupData* lookup = GetEditLookupData();
  return lookup ? lookup->QueryCurrentKey() : -1;
}

void TcxCustomFontNameComboBox::SetItemIndex(int Value) {
  IcxTextEditLookupData* lookup = GetEditLookupData();
  if (!GetActiveProperties()->GetFontsLoaded() || !lookup) return;
  const int prev = GetItemIndex();
  TcxControlGuard guard(this);
  lookup->SelectItemByKey(Value);
  if (guard.Alive() && GetItemIndex() != prev) SetModified(false);
}

void TcxCustomFontNameComboBox::SetFontName(const String& AFontName) {
  if (AFontName.empty()) {
    FPendingFontName.clear();
    SetItemIndex(-1);
  } else if (GetActiveProperties()->GetFontsLoaded()) {
    SetItemIndex(GetActiveProperties()->GetItems()->IndexOf(AFontName));
  } else {
    FPendingFontName = AFontName;
  }
}

void TcxCustomFontNameComboBox::ApplyLoadedFonts() {
  if (!FPendingFontName.empty()) {
    const String name = FPendingFontName;
    FPendingFontName.clear();
    SetFontName(name);
    return;
  }
  const Variant& value = GetEditValueRef();
  const String text = value.IsNull() || value.IsEmpty() ? String() : VarToStr(value);
  const int index = text.empty() ? -1 : GetActiveProperties()->GetItems()->IndexOf(text);
  if (!GetFontLookupData()) return;
  GetFontLookupData()->SetCurrentKey(index);
  GetFontLookupData()->SetItemIndex(index);
}

void TcxCustomFontNameComboBox::CloseUp(bool AAccept) {
  TcxControlGuard guard(this);
  TcxCustomComboBox::CloseUp(AAccept);
  if (!guard.Alive() || !AAccept) return;
  const int result = GetActiveProperties()->AddMRUFont(GetText());
  if (result == 1 || result == 2) GetFontLookupData()->SyncItemIndexWithMRU();
}

void TcxCustomFontNameComboBox::SetupPopupWindowProperties() {
  TcxCustomComboBox::SetupPopupWindowProperties();
  GetPopupWindow()->PopupSizeable = GetActiveProperties()->GetPopupSizeable();
}

// ---- Module start ----

void cxFontNameComboBoxRegister() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxFontNameComboBoxProperties>(),
                                     "FontNameComboBox |Represents a editor with font functionality");
}

void cxFontNameComboBoxUnregister() {
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxFontNameComboBoxProperties));
}
