#include "cxImageComboBox.h"

#include "cxEditPaintUtils.h"
#include "cxEditStringIds.h"
#include "cxVariants.h"

#include "Locale.h"

#include <algorithm>

namespace {

const TResStringRec scxSEditRepositoryImageComboBoxItem = {nullptr, IDS_scxSEditRepositoryImageComboBoxItem};

int StartCount = 0;

bool IndexInList(TCustomImageList* AImages, int AIndex) {
  return AImages && AIndex >= 0 && AIndex < AImages->GetCount();
}

} // namespace

// ---- Items ----

TcxImageComboBoxItem::TcxImageComboBoxItem(TCollection* Collection) : TCollectionItem(Collection) {
  auto* items = dynamic_cast<TcxImageComboBoxItems*>(Collection);
  if (!items || !items->GetProperties()) return;
  TCustomImageList* images = items->GetProperties()->GetImages();
  if (images && images->GetCount() >= Collection->GetCount()) FImageIndex = Collection->GetCount() - 1;
}

void TcxImageComboBoxItem::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxImageComboBoxItem*>(Source);
  if (!source) return TCollectionItem::Assign(Source);
  SetDescription(source->FDescription);
  SetImageIndex(source->FImageIndex);
  SetValue(source->FValue);
}

void TcxImageComboBoxItem::SetDescription(const String& Value) {
  if (Value == FDescription) return;
  FDescription = Value;
  Changed(false);
}

void TcxImageComboBoxItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Changed(false);
}

void TcxImageComboBoxItem::SetValue(const Variant& Value) {
  if (VarEqualsSameType(FValue, Value)) return;
  FValue = Value;
  Changed(false);
}

TPersistent* TcxImageComboBoxItems::GetOwner() const {
  return FOwner;
}

void TcxImageComboBoxItems::Update(TCollectionItem* Item) {
  TTypedCollection<TcxImageComboBoxItem>::Update(Item);
  if (FOwner) FOwner->Changed();
}

// ---- Settings ----

TcxCustomImageComboBoxProperties::TcxCustomImageComboBoxProperties(TPersistent* AOwner)
    : TcxCustomComboBoxProperties(AOwner), FImagesLink(std::make_unique<TChangeLink>()),
      FLargeImagesLink(std::make_unique<TChangeLink>()),
      FImagesNotificator(std::make_unique<TcxFreeNotificator>(nullptr)) {
  FItems = std::make_unique<TcxImageComboBoxItems>(this);
  SetDropDownListStyle(lsFixedList);
  SetListSelectionHighlight(true);
  FImagesLink->OnChange = [this](TObject*) { Changed(); };
  FLargeImagesLink->OnChange = [this](TObject*) { Changed(); };
  FImagesNotificator->OnFreeNotification = [this](TComponent* AComponent) { DoFreeNotification(AComponent); };
}

TcxCustomImageComboBoxProperties::~TcxCustomImageComboBoxProperties() {
  SetChangedLock(true);
  SetImages(nullptr);
  SetLargeImages(nullptr);
  FItems.reset();
}

void TcxCustomImageComboBoxProperties::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxCustomImageComboBoxProperties*>(Source);
  if (!source) return TcxCustomComboBoxProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomComboBoxProperties::Assign(Source);
    SetDefaultDescription(source->FDefaultDescription);
    SetDefaultImageIndex(source->FDefaultImageIndex);
    SetImageAlign(source->FImageAlign);
    SetImages(source->FImages);
    SetItems(source->FItems.get());
    SetLargeImages(source->FLargeImages);
    SetMultiLineText(source->FMultiLineText);
    SetShowDescriptions(source->FShowDescriptions);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TcxCustomImageComboBoxProperties::SetItems(const TcxImageComboBoxItems* Value) {
  FItems->Assign(Value);
  Changed();
}

void TcxCustomImageComboBoxProperties::SetImageList(TCustomImageList*& AField, TChangeLink* ALink,
                                                    TCustomImageList* Value) {
  if (Value == AField) return;
  if (AField) {
    AField->UnRegisterChanges(ALink);
    // The other list may be the same one and still want the notification.
    if (FImages != FLargeImages) ::RemoveFreeNotification(FImagesNotificator.get(), AField);
  }
  AField = Value;
  if (AField) {
    AField->RegisterChanges(ALink);
    ::AddFreeNotification(FImagesNotificator.get(), AField);
  }
  Changed();
}

void TcxCustomImageComboBoxProperties::SetImages(TCustomImageList* Value) {
  SetImageList(FImages, FImagesLink.get(), Value);
}

void TcxCustomImageComboBoxProperties::SetLargeImages(TCustomImageList* Value) {
  SetImageList(FLargeImages, FLargeImagesLink.get(), Value);
}

// A freed list has let its links go already.
void TcxCustomImageComboBoxProperties::DoFreeNotification(TComponent* AComponent) {
  TcxCustomComboBoxProperties::DoFreeNotification(AComponent);
  bool changed = false;
  if (AComponent == FImages) {
    FImages = nullptr;
    changed = true;
  }
  if (AComponent == FLargeImages) {
    FLargeImages = nullptr;
    changed = true;
  }
  if (changed) Changed();
}

TcxImageComboBoxItem* TcxCustomImageComboBoxProperties::FindItemByValue(const Variant& Value) const {
  for (int i = 0; i < FItems->GetCount(); ++i)
    if (VariantsEqual(FItems->GetItem(i)->GetValue(), Value)) return FItems->GetItem(i);
  return nullptr;
}

TcxImageComboBoxItem* TcxCustomImageComboBoxProperties::FindItemByText(const String& Text) const {
  if (!FShowDescriptions) return nullptr;
  const String text = AnsiUpperCase(Text);
  for (int i = 0; i < FItems->GetCount(); ++i)
    if (AnsiUpperCase(FItems->GetItem(i)->GetDescription()) == text) return FItems->GetItem(i);
  return nullptr;
}

bool TcxCustomImageComboBoxProperties::IsLookupItem(const String& Text) const {
  return FindItemByText(Text) != nullptr;
}

String TcxCustomImageComboBoxProperties::DescriptionOf(const Variant& EditValue) const {
  TcxImageComboBoxItem* item = FindItemByValue(EditValue);
  return item ? item->GetDescription() : FDefaultDescription;
}

TcxClassRef TcxCustomImageComboBoxProperties::GetContainerClass() const {
  return cxClassRef<TcxCustomImageComboBox>();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomImageComboBoxProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxImageComboBoxViewData>(this, AStyle, AIsInplace);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomImageComboBoxProperties::CreateViewInfo() const {
  return std::make_unique<TcxImageComboBoxViewInfo>();
}

std::unique_ptr<TcxCustomTextEditLookupData>
TcxCustomImageComboBoxProperties::CreateLookupData(TcxCustomTextEdit* AEdit) const {
  return std::make_unique<TcxImageComboBoxLookupData>(AEdit);
}

int TcxCustomImageComboBoxProperties::GetEditValueSource(bool) const {
  IcxEditDefaultValuesProvider* provider = GetDefaultValuesProvider();
  return provider && provider->HasDisplayFormat(false) ? 1 : 0;
}

int TcxCustomImageComboBoxProperties::GetCapabilities() const {
  return (GetButtons()->GetCount() > 0 ? 220 : 204) + (FShowDescriptions ? 32 : 0);
}

void TcxCustomImageComboBoxProperties::EditValueToDisplayValue(const Variant& EditValue,
                                                               Variant& DisplayValue, bool) {
  DisplayValue = Variant(DescriptionOf(EditValue));
}

void TcxCustomImageComboBoxProperties::EditValueToDisplayText(const Variant& EditValue, bool, String& Text) {
  Text = DescriptionOf(EditValue);
}

// ---- View info ----

void TcxImageComboBoxViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  const bool visible = RectVisible(ACanvas->GetHandle(), &Bounds) != 0;
  if (visible && IndexInList(Images, ImageIndex)) {
    {
      TNarrowedClip clip(ACanvas, ImageRect);
      if (Transparent)
        Images->Draw(ACanvas->GetCanvas(), ImageRect.left, ImageRect.top, ImageIndex, Enabled);
      else
        DrawImageOnBackground(ACanvas, Images, ImageIndex, nullptr, Enabled, GetBackgroundColor(), ImageRect);
    }
    ACanvas->ExcludeClipRect(ImageRect);
  }
  TcxCustomTextEditViewInfo::InternalPaint(ACanvas);
}

void TcxImageComboBoxViewInfo::Offset(int DX, int DY) {
  TcxCustomTextEditViewInfo::Offset(DX, DY);
  OffsetRect(&ImageRect, DX, DY);
}

// ---- View data ----

TcxCustomImageComboBoxProperties* TcxImageComboBoxViewData::GetImageProperties() const {
  return static_cast<TcxCustomImageComboBoxProperties*>(GetProperties());
}

void TcxImageComboBoxViewData::AssignEditValue(TcxImageComboBoxViewInfo* AViewInfo) {
  TcxCustomImageComboBoxProperties* properties = GetImageProperties();
  auto* edit = dynamic_cast<TcxCustomImageComboBox*>(Edit);
  if (!edit) return;
  TcxImageComboBoxItem* item = nullptr;
  const int key = edit->GetLookupData() ? edit->GetLookupData()->GetCurrentKey() : -1;
  if (key >= 0 && key < properties->GetItems()->GetCount())
    item = properties->GetItems()->GetItem(key);
  else
    item = properties->FindItemByValue(edit->GetEditValueRef());
  AViewInfo->ImageIndex = item ? item->GetImageIndex() : properties->GetDefaultImageIndex();
  if (properties->GetShowDescriptions())
    AViewInfo->Text = item ? item->GetDescription() : properties->GetDefaultDescription();
  else
    AViewInfo->Text.clear();
}

void TcxImageComboBoxViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                         int Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                         bool AIsMouseEvent) {
  TcxCustomDropDownEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* info = static_cast<TcxImageComboBoxViewInfo*>(AViewInfo);
  TcxCustomImageComboBoxProperties* properties = GetImageProperties();
  AssignEditValue(info);
  info->ImageAlign = properties->GetImageAlign();
  info->Images = properties->GetImages();
  info->ShowDescriptions = properties->GetShowDescriptions();
  TRect r = info->ClientRect;
  if (TCustomImageList* images = info->Images) {
    const int width = images->GetWidth();
    const int height = images->GetHeight();
    TRect& image = info->ImageRect;
    image.top = r.top + (r.Height() - height) / 2;
    image.bottom = image.top + height;
    if (!info->ShowDescriptions) {
      image.left = r.left + (r.Width() - width) / 2;
    } else if (info->ImageAlign == iaRight) {
      image.left = r.right - 2 - width;
      r.right = image.left - 4;
    } else {
      image.left = r.left + 2;
      r.left = image.left + width + 4;
    }
    image.right = image.left + width;
  } else {
    info->ImageRect = TRect();
  }
  if (!IsInplace) info->ClientRect = r;
  info->TextRect = TRect(r.left + 2, r.top + 1, r.right - 2, r.bottom - 1);
  if (!info->ShowDescriptions) info->Text.clear();
  info->IsSelectedLook = false;
}

void TcxImageComboBoxViewData::GetDisplayTextForValue(const Variant& DisplayValue,
                                                      TcxCustomTextEditViewInfo* AViewInfo) {
  if (!Edit) return TcxCustomDropDownEditViewData::GetDisplayTextForValue(DisplayValue, AViewInfo);
  AssignEditValue(static_cast<TcxImageComboBoxViewInfo*>(AViewInfo));
}

SIZE TcxImageComboBoxViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                                                  const TcxEditSizeProperties& ASizeProperties) {
  TcxCustomImageComboBoxProperties* properties = GetImageProperties();
  String text;
  if (properties->GetShowDescriptions()) {
    TcxImageComboBoxItem* item = properties->FindItemByValue(EditValue);
    text = item ? item->GetDescription() : properties->GetDefaultDescription();
  }
  SIZE size{0, 0};
  CalculateTextContentSize(ACanvas, this, text, size, true, ASizeProperties, GetDrawTextFlags());
  size.cx += properties->GetImages() ? properties->GetImages()->GetWidth() + 5 : 1;
  return size;
}

// ---- The list ----

TcxImageComboBoxListBox::TcxImageComboBoxListBox(TComponent* AOwner, TcxCustomImageComboBox* AEdit)
    : TcxComboBoxListBox(AOwner, AEdit), FImageEdit(AEdit) {}

TcxCustomImageComboBoxProperties* TcxImageComboBoxListBox::Properties() const {
  return FImageEdit->GetActiveProperties();
}

TCustomImageList* TcxImageComboBoxListBox::ListImages() const {
  TcxCustomImageComboBoxProperties* properties = Properties();
  return properties->GetLargeImages() ? properties->GetLargeImages() : properties->GetImages();
}

int TcxImageComboBoxListBox::GetItemHeight(int AIndex) {
  TcxCustomImageComboBoxProperties* properties = Properties();
  TCustomImageList* images = ListImages();
  int textWidth = FTextWidth - 2;
  if (images) textWidth -= images->GetWidth() + 4;
  const int base = images ? images->GetHeight() + 2 : 0;
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(GetFont());
  if (properties->GetMultiLineText() && textWidth > 0) {
    const String text = AIndex >= 0 && AIndex < properties->GetItems()->GetCount()
                            ? properties->GetItems()->GetItem(AIndex)->GetDescription()
                            : String();
    RECT r{0, 0, textWidth, 0};
    DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return std::max<int>(base, r.bottom - r.top + 2);
  }
  return std::max(canvas->TextHeight("Wg") + 2, base);
}

int TcxImageComboBoxListBox::GetItemsHeight(int ACount) {
  TcxCustomImageComboBoxProperties* properties = Properties();
  FTextWidth = 0;
  if (properties->GetMultiLineText()) {
    const TRect e = FImageEdit->GetPopupWindow()->GetViewInfo()->GetClientExtent();
    FTextWidth = FImageEdit->GetPopupOwnerBounds().Width() - e.left - e.right;
  }
  int height = TcxComboBoxListBox::GetItemsHeight(ACount);
  if (!properties->GetMultiLineText()) return height;
  if (ACount < properties->GetItems()->GetCount()) {
    FTextWidth -= GetSystemMetrics(SM_CXVSCROLL);
    height = TcxComboBoxListBox::GetItemsHeight(ACount);
  }
  // The window measured its rows before the width was known.
  if (HandleAllocated())
    for (int i = 0; i < GetItems()->GetCount(); ++i)
      SendMessageA(GetHandle(), LB_SETITEMHEIGHT, i, GetItemHeight(i));
  return height;
}

int TcxImageComboBoxListBox::GetMaxItemWidth() {
  TcxCustomImageComboBoxProperties* properties = Properties();
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(GetFont());
  int widest = 0;
  for (int i = 0; i < properties->GetItems()->GetCount(); ++i)
    widest = std::max(widest, canvas->TextWidth(properties->GetItems()->GetItem(i)->GetDescription()));
  TCustomImageList* images = ListImages();
  widest += images ? images->GetWidth() + 8 : 4;
  if (properties->GetItems()->GetCount() > properties->GetDropDownRows())
    widest += GetSystemMetrics(SM_CXVSCROLL);
  return widest;
}

void TcxImageComboBoxListBox::RecreateWindowIfNeeded() {
  if (HandleAllocated()) RecreateWindow();
}

void TcxImageComboBoxListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (DrawItemByEvent(Index, Rect, State)) return;
  TcxCustomImageComboBoxProperties* properties = Properties();
  TcxCanvas* canvas = GetcxCanvas();
  canvas->FillRect(Rect);
  if (Index < 0 || Index >= properties->GetItems()->GetCount()) return;
  TcxImageComboBoxItem* item = properties->GetItems()->GetItem(Index);
  const bool rightToLeft = GetBiDiMode() == bdRightToLeft;
  UINT flags = properties->GetMultiLineText() ? DT_NOPREFIX | DT_WORDBREAK | DT_EXPANDTABS
                                              : DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
  if (rightToLeft) flags |= DT_RIGHT | DT_RTLREADING;
  TRect text = Rect;
  if (rightToLeft)
    text.right -= 2;
  else
    text.left += 2;
  if (TCustomImageList* images = ListImages()) {
    const int strip = images->GetWidth() + 4;
    TRect image = Rect;
    if (properties->GetImageAlign() == iaRight) {
      image.left = Rect.right - strip;
      text.right = std::min<LONG>(text.right, image.left);
    } else {
      image.right = Rect.left + strip;
      text.left = std::max<LONG>(text.left, image.right);
    }
    if (IndexInList(images, item->GetImageIndex())) {
      const int top = image.top + (image.Height() - images->GetHeight()) / 2;
      images->Draw(canvas->GetCanvas(), image.left + 1, top, item->GetImageIndex(), GetEnabled());
    }
  }
  if (text.right <= text.left || text.bottom <= text.top) return;
  const String description = item->GetDescription();
  RECT r = text;
  SetBkMode(canvas->GetHandle(), TRANSPARENT);
  DrawTextA(canvas->GetHandle(), description.c_str(), static_cast<int>(description.size()), &r, flags);
}

// ---- Lookup data ----

TcxCustomImageComboBoxProperties* TcxImageComboBoxLookupData::Properties() const {
  return static_cast<TcxCustomImageComboBox*>(GetEdit())->GetActiveProperties();
}

TcxCustomEditListBox* TcxImageComboBoxLookupData::CreateListBox(TComponent* AOwner) {
  return new TcxImageComboBoxListBox(AOwner, static_cast<TcxCustomImageComboBox*>(GetEdit()));
}

// Wrapped rows never need the horizontal bar that the widest text asks for.
SIZE TcxImageComboBoxLookupData::CalculateListSize(int AMaxHeight, int AWidth) {
  SIZE size = TcxComboBoxLookupData::CalculateListSize(AMaxHeight, AWidth);
  if (Properties()->GetMultiLineText() && GetListBox()) GetListBox()->SetScrollWidth(0);
  return size;
}

String TcxImageComboBoxLookupData::GetItemText(int AIndex) {
  TcxImageComboBoxItems* items = Properties()->GetItems();
  return AIndex >= 0 && AIndex < items->GetCount() ? items->GetItem(AIndex)->GetDescription() : String();
}

int TcxImageComboBoxLookupData::GetItemCount() {
  return Properties()->GetItems()->GetCount();
}

void TcxImageComboBoxLookupData::SyncWithText() {
  TcxImageComboBoxItem* item = Properties()->FindItemByValue(GetEdit()->GetEditValueRef());
  SetCurrentKey(item ? item->GetIndex() : -1);
}

// ---- The editor ----

std::unique_ptr<TcxCustomEditProperties> TcxCustomImageComboBox::CreateProperties() {
  return std::make_unique<TcxImageComboBoxProperties>(this);
}

bool TcxCustomImageComboBox::IsCharAllowed(char Ch) {
  return static_cast<BYTE>(Ch) >= 32;
}

Variant TcxCustomImageComboBox::ValueOfKey(int AKey) const {
  TcxImageComboBoxItems* items = GetActiveProperties()->GetItems();
  if (AKey < 0 || AKey >= items->GetCount()) return Null();
  return items->GetItem(AKey)->GetValue();
}

void TcxCustomImageComboBox::LookupKeyToEditValue(int AKey, Variant& EditValue) {
  EditValue = ValueOfKey(AKey);
}

void TcxCustomImageComboBox::MakeEditValue(const Variant&, Variant& EditValue, bool) {
  EditValue = ValueOfKey(GetLookupData() ? GetLookupData()->GetCurrentKey() : -1);
}

void TcxCustomImageComboBox::SynchronizeDisplayValue() {
  TcxCustomTextEditLookupData* lookup = GetLookupData();
  TcxControlGuard guard(this);
  PushModifiedState();
  try {
    const int prev = lookup ? lookup->GetCurrentKey() : -1;
    if (lookup) {
      LockItemNotifications(true);
      try {
        lookup->SyncWithText();
      } catch (...) {
        if (guard.Alive()) LockItemNotifications(false);
        throw;
      }
      if (guard.Alive()) LockItemNotifications(false);
    }
    if (guard.Alive() && lookup && lookup->GetCurrentKey() != prev) NotifyItemSelected();
    if (guard.Alive()) {
      ResetAutoCompleteSelection();
      RefreshViewInfoText();
    }
  } catch (...) {
    if (guard.Alive()) PopModifiedState();
    throw;
  }
  if (guard.Alive()) PopModifiedState();
}

void TcxCustomImageComboBox::RefreshViewInfoText() {
  TcxControlGuard guard(this);
  TcxCustomComboBox::RefreshViewInfoText();
  if (guard.Alive() && GetViewInfo()) UpdateInnerEditValue(Variant(GetViewInfo()->Text));
}

SIZE TcxCustomImageComboBox::CalculatePopupContentSize() {
  SIZE size = TcxCustomComboBox::CalculatePopupContentSize();
  if (GetActiveProperties()->GetMultiLineText()) {
    size.cx = 0;
    return size;
  }
  TcxCustomTextEditLookupData* lookup = GetLookupData();
  if (auto* list = lookup ? dynamic_cast<TcxImageComboBoxListBox*>(lookup->GetList()) : nullptr)
    size.cx = std::max<LONG>(size.cx, list->GetMaxItemWidth());
  return size;
}

// ---- Module ----

void cxImageComboBoxInitialize() {
  if (StartCount++ > 0) return;
  EditPropertiesRegistry()->Register(cxClassRef<TcxImageComboBoxProperties>(),
                                     LoadLibraryResString(&scxSEditRepositoryImageComboBoxItem));
}

// The entry stays in the registry, as the other editors' do.
void cxImageComboBoxFinalize() {
  if (StartCount > 0) --StartCount;
}
