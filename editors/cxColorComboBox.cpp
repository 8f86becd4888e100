#include "cxColorComboBox.h"

#include "cxEditPaintUtils.h"
#include "cxEditStringIds.h"

#include "Dialogs.h"

#include <algorithm>
#include <climits>

namespace {

const TResStringRec scxSEditRepositoryColorComboBoxItem = {nullptr, IDS_scxSEditRepositoryColorComboBoxItem};
const TResStringRec cxSColorComboBoxDefaultDescription = {nullptr, IDS_cxSColorComboBoxDefaultDescription};

int StartCount = 0;

std::span<const TcxColorNameEntry> PrepareTable(TcxColorPrepareList AList) {
  switch (AList) {
  case cxplKorvel:
    return cxColorConstTable();
  case cxplHTML4:
    return cxHTML4ColorTable();
  case cxplX11:
    return cxX11ColorTable();
  case cxplX11Ordered:
    return cxX11OrderedColorTable();
  case cxplNone:
    break;
  }
  return {};
}

// The glyph of the glyph button decides between its plain kind and a glyph.
bool HasButtonGlyph(TcxEditButton* AButton) {
  if (!AButton || !AButton->HasGlyph()) return false;
  TBitmap* glyph = AButton->GetGlyph();
  return !glyph->GetEmpty() && glyph->GetWidth() > 0 && glyph->GetHeight() > 0;
}

} // namespace

// ---- Items ----

void TcxColorComboBoxItem::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxColorComboBoxItem*>(Source);
  if (!source) return TCollectionItem::Assign(Source);
  SetColor(source->FColor);
  SetDescription(source->FDescription);
  IsCustom = source->IsCustom;
}

void TcxColorComboBoxItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed(false);
}

void TcxColorComboBoxItem::SetDescription(const String& Value) {
  if (Value == FDescription) return;
  FDescription = Value;
  Changed(false);
}

TcxColorComboBoxItem* TcxColorComboBoxItems::FindColor(TColor AColor) const {
  const int index = IndexOfColor(AColor);
  return index < 0 ? nullptr : GetItem(index);
}

TcxColorComboBoxItem* TcxColorComboBoxItems::AddColor(TColor AColor, const String& ADescription) {
  return InsertColor(GetCount(), AColor, ADescription);
}

TcxColorComboBoxItem* TcxColorComboBoxItems::InsertColor(int AIndex, TColor AColor,
                                                         const String& ADescription) {
  if (FindColor(AColor)) return nullptr;
  auto* item = static_cast<TcxColorComboBoxItem*>(Insert(AIndex));
  item->SetColor(AColor);
  item->SetDescription(ADescription);
  return item;
}

// The item to move is taken before the insertion, which shifts the items
// from ATo on by one.
void TcxColorComboBoxItems::Move(int AFrom, int ATo) {
  if (AFrom == ATo) return;
  TcxColorComboBoxItem* source = GetItem(AFrom);
  auto* item = static_cast<TcxColorComboBoxItem*>(Insert(ATo));
  item->Assign(source);
  Delete(source->GetIndex());
}

void TcxColorComboBoxItems::ClearNonCustom() {
  for (int i = GetCount() - 1; i >= 0; --i)
    if (!GetItem(i)->IsCustom) Delete(i);
}

int TcxColorComboBoxItems::IndexOfColor(TColor AColor) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->GetColor() == AColor) return i;
  return -1;
}

TColor TcxColorComboBoxItems::GetColorAt(int AIndex, TColor ADefault) const {
  return AIndex >= 0 && AIndex < GetCount() ? GetItem(AIndex)->GetColor() : ADefault;
}

void TcxColorComboBoxItems::Update(TCollectionItem* Item) {
  TTypedCollection<TcxColorComboBoxItem>::Update(Item);
  if (auto* properties = dynamic_cast<TcxCustomColorComboBoxProperties*>(FOwner)) properties->Changed();
}

// ---- Settings ----

TcxCustomColorComboBoxProperties::TcxCustomColorComboBoxProperties(TPersistent* AOwner)
    : TcxCustomComboBoxProperties(AOwner),
      FDefaultDescription(LoadLibraryResString(&cxSColorComboBoxDefaultDescription)) {
  SetDropDownListStyle(lsFixedList);
  GetButtons()->Add();
  SetGlyphButtonIndex(1);
  TcxEditButton* button = GetButtons()->GetItem(1);
  button->SetKind(bkEllipsis);
  button->SetDefault(false);
  button->SetVisible(false);
  FItems = std::make_unique<TcxColorComboBoxItems>(this);
  FMRUColors = std::make_unique<TcxColorComboBoxItems>(this);
}

TcxCustomColorComboBoxProperties::~TcxCustomColorComboBoxProperties() {
  // The collections tell these settings of their items while they go.
  FMRUUpdating = true;
  FMRUColors.reset();
  FItems.reset();
}

void TcxCustomColorComboBoxProperties::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxCustomColorComboBoxProperties*>(Source);
  if (!source) return TcxCustomComboBoxProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomComboBoxProperties::Assign(Source);
    SetColorBoxWidth(source->FColorBoxWidth);
    SetColorBoxAlign(source->FColorBoxAlign);
    SetColorBoxFrameColor(source->FColorBoxFrameColor);
    ColorDialogType = source->ColorDialogType;
    SetDefaultColor(source->FDefaultColor);
    SetDefaultDescription(source->FDefaultDescription);
    SetDefaultColorStyle(source->FDefaultColorStyle);
    SetShowDescriptions(source->FShowDescriptions);
    SetAllowSelectColor(source->FAllowSelectColor);
    SetColorComboStyle(source->FColorComboStyle);
    SetMaxMRUColors(source->FMaxMRUColors);
    SetNamingConvention(source->FNamingConvention);
    PrepareList = source->PrepareList;
    SetColorValueFormat(source->FColorValueFormat);
    OnSelectCustomColor = source->OnSelectCustomColor;
    OnNamingConvention = source->OnNamingConvention;
    OnAddedMRUColor = source->OnAddedMRUColor;
    OnDeletedMRUColor = source->OnDeletedMRUColor;
    OnGetDefaultColor = source->OnGetDefaultColor;
    FItems->Assign(source->FItems.get());
    FMRUColors->Assign(source->FMRUColors.get());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TcxCustomColorComboBoxProperties::AssignItems(TcxCustomEditProperties* AProperties) {
  auto* target = dynamic_cast<TcxCustomColorComboBoxProperties*>(AProperties);
  if (!target) return;
  target->FItems->Assign(FItems.get());
  target->FMRUColors->Assign(FMRUColors.get());
}

void TcxCustomColorComboBoxProperties::Changed() {
  if (FMRUUpdating) return;
  TcxCustomComboBoxProperties::Changed();
}

void TcxCustomColorComboBoxProperties::SetAllowSelectColor(bool Value) {
  if (Value == FAllowSelectColor) return;
  FAllowSelectColor = Value;
  BeginUpdate();
  try {
    GetButtons()->GetItem(1)->SetVisible(Value);
    SetGlyphButtonIndex(Value ? 1 : 0);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TcxCustomColorComboBoxProperties::SetMaxMRUColors(BYTE Value) {
  if (Value == FMaxMRUColors) return;
  const bool smaller = Value < FMaxMRUColors;
  FMaxMRUColors = Value;
  if (!smaller) return;
  TrimMRUColors();
  Changed();
}

void TcxCustomColorComboBoxProperties::SetItems(const TcxColorComboBoxItems* Value) {
  FItems->Assign(Value);
  Changed();
}

void TcxCustomColorComboBoxProperties::SetPrepareInfo(const String& Value) {
  FPrepareInfo = Value;
  for (const TcxColorNameEntry& entry : PrepareTable(PrepareList))
    if (TcxColorComboBoxItem* item = FItems->AddColor(entry.Color, entry.Name)) item->IsCustom = false;
}

// ---- The MRU section ----

int TcxCustomColorComboBoxProperties::AddMRUColor(TColor AColor) {
  if (FMaxMRUColors == 0) return cxMRUNone;
  const int index = FMRUColors->IndexOfColor(AColor);
  if (index == 0) return cxMRUNone;
  if (index > 0) {
    FMRUColors->Move(index, 0);
    if (OnAddedMRUColor) OnAddedMRUColor(this);
    return cxMRUMovedToFront;
  }
  TcxColorComboBoxItem* item = FItems->FindColor(AColor);
  if (!item) return cxMRUNone;
  {
    TFlagScope updating(FMRUUpdating);
    FMRUColors->InsertColor(0, AColor, item->GetDescription());
    TrimMRUColors();
  }
  if (OnAddedMRUColor) OnAddedMRUColor(this);
  return cxMRUInserted;
}

void TcxCustomColorComboBoxProperties::TrimMRUColors() {
  BeginUpdate();
  try {
    for (int i = FMRUColors->GetCount() - 1; i >= FMaxMRUColors; --i) {
      FMRUColors->Delete(i);
      if (OnDeletedMRUColor) OnDeletedMRUColor(this);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TcxCustomColorComboBoxProperties::DelMRUColor(TColor AColor) {
  const int index = FMRUColors->IndexOfColor(AColor);
  if (FItems->IndexOfColor(AColor) < 0 || index < 0) return cxMRUNone;
  FMRUColors->Delete(index);
  if (OnDeletedMRUColor) OnDeletedMRUColor(this);
  return cxMRURemoved;
}

void TcxCustomColorComboBoxProperties::ClearMRUColors() {
  FMRUColors->Clear();
  Changed();
}

void TcxCustomColorComboBoxProperties::DoGetDefaultColor(TColor& AColor) {
  if (OnGetDefaultColor) OnGetDefaultColor(this, AColor);
}

// ---- Rows and names ----

int TcxCustomColorComboBoxProperties::IndexOfColorValue(const Variant& Value) const {
  if (VarIsNullOrEmpty(Value)) return -1;
  bool valid = false;
  const TColor color = TextToColor(Value.AsString(), valid);
  if (!valid) return -1;
  return GetIndexByColor(color);
}

TColor TcxCustomColorComboBoxProperties::GetColorByIndex(int ARow) const {
  if (ARow == -1) return FDefaultColor;
  if (ARow < MRUCount()) return FMRUColors->GetColorAt(ARow, FDefaultColor);
  return FItems->GetColorAt(ARow - MRUCount(), FDefaultColor);
}

int TcxCustomColorComboBoxProperties::GetIndexByColor(TColor AColor) const {
  const int mru = FMRUColors->IndexOfColor(AColor);
  if (mru >= 0) return mru;
  const int item = FItems->IndexOfColor(AColor);
  return item >= 0 ? MRUCount() + item : -1;
}

TcxColorComboBoxItem* TcxCustomColorComboBoxProperties::GetItemByIndex(int ARow) const {
  if (ARow < 0 || ARow >= RowCount()) return nullptr;
  if (ARow < MRUCount()) return FMRUColors->GetItem(ARow);
  return FItems->GetItem(ARow - MRUCount());
}

void TcxCustomColorComboBoxProperties::NamingConvention(TColor AColor, String& AText) const {
  if (OnNamingConvention)
    OnNamingConvention(const_cast<TcxCustomColorComboBoxProperties*>(this), AColor, AText);
}

String TcxCustomColorComboBoxProperties::GetColorNameByIndex(int ARow) const {
  String name;
  TcxColorComboBoxItem* item = GetItemByIndex(ARow);
  if (item)
    GetColorName(item->GetColor(), item->GetDescription(), FNamingConvention, FColorValueFormat, name);
  NamingConvention(item ? item->GetColor() : FDefaultColor, name);
  return name;
}

String TcxCustomColorComboBoxProperties::GetDescriptionByIndex(int ARow) const {
  if (!FShowDescriptions) return String();
  if (ARow == -1) return FDefaultDescription;
  return GetColorNameByIndex(ARow);
}

void TcxCustomColorComboBoxProperties::GetColorByValue(const Variant& Value, TColor& AColor,
                                                       String& AText) const {
  const int row = IndexOfColorValue(Value);
  if ((row != -1 || FColorComboStyle == cxccsComboList) && !VarIsNullOrEmpty(Value)) {
    AText = GetDescriptionByIndex(row);
    return;
  }
  bool valid = false;
  AColor = TextToColor(Value.IsNull() ? String() : Value.AsString(), valid);
  if (!valid) {
    AColor = FDefaultColor;
    AText = FDefaultDescription;
    return;
  }
  AText.clear();
  GetColorName(AColor, String(), FNamingConvention, FColorValueFormat, AText);
  NamingConvention(AColor, AText);
}

void TcxCustomColorComboBoxProperties::AssignColorToViewInfo(int ARow,
                                                             TcxCustomColorComboBoxViewInfo* AViewInfo,
                                                             const Variant& Value) const {
  AViewInfo->HasColor = ARow != -1;
  AViewInfo->Text = GetDescriptionByIndex(ARow);
  if (ARow != -1) {
    AViewInfo->Color = GetColorByIndex(ARow);
  } else if (FColorComboStyle == cxccsComboList && !VarIsNullOrEmpty(Value)) {
    AViewInfo->Color = FDefaultColor;
  } else {
    GetColorByValue(Value, AViewInfo->Color, AViewInfo->Text);
  }
}

// ---- Class answers ----

TcxClassRef TcxCustomColorComboBoxProperties::GetContainerClass() const {
  return cxClassRef<TcxColorComboBox>();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomColorComboBoxProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomColorComboBoxViewData>(this, AStyle, AIsInplace);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomColorComboBoxProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomColorComboBoxViewInfo>();
}

std::unique_ptr<TcxCustomTextEditLookupData>
TcxCustomColorComboBoxProperties::CreateLookupData(TcxCustomTextEdit* AEdit) const {
  return std::make_unique<TcxColorComboBoxLookupData>(AEdit);
}

std::unique_ptr<TcxCustomEditPopupWindow>
TcxCustomColorComboBoxProperties::CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const {
  return std::make_unique<TcxColorComboBoxPopupWindow>(AEdit);
}

int TcxCustomColorComboBoxProperties::GetCapabilities() const {
  return (GetButtons()->GetCount() > 0 ? 220 : 204) + (FShowDescriptions ? 32 : 0);
}

void TcxCustomColorComboBoxProperties::EditValueToDisplayValue(const Variant& EditValue,
                                                               Variant& DisplayValue, bool) {
  TColor color = FDefaultColor;
  String text;
  GetColorByValue(EditValue, color, text);
  DisplayValue = Variant(text);
}

void TcxCustomColorComboBoxProperties::EditValueToDisplayText(const Variant& EditValue, bool, String& Text) {
  Text.clear();
  if (!FShowDescriptions) return;
  TColor color = FDefaultColor;
  GetColorByValue(EditValue, color, Text);
}

// ---- View info ----

void TcxCustomColorComboBoxViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  TcxCustomTextEditViewInfo::InternalPaint(ACanvas);
  if (!HasColor && DefaultColorStyle == cxdcText) return;
  const TcxDefaultColorStyle style =
      HasColor && DefaultColorStyle != cxdcText ? cxdcColor : DefaultColorStyle;
  DrawColorSample(ACanvas, ColorBoxRect, ColorBoxFrameColor, Color, BkgColor, style);
}

void TcxCustomColorComboBoxViewInfo::Offset(int DX, int DY) {
  TcxCustomTextEditViewInfo::Offset(DX, DY);
  OffsetRect(&ColorBoxRect, DX, DY);
}

// ---- View data ----

TcxCustomColorComboBoxProperties* TcxCustomColorComboBoxViewData::GetColorProperties() const {
  return static_cast<TcxCustomColorComboBoxProperties*>(GetProperties());
}

void TcxCustomColorComboBoxViewData::PrepareColorViewInfo(TcxCustomColorComboBoxViewInfo* AViewInfo) {
  TcxCustomColorComboBoxProperties* properties = GetColorProperties();
  AViewInfo->BkgColor = AViewInfo->GetBackgroundColor();
  AViewInfo->ColorBoxAlign = properties->GetColorBoxAlign();
  AViewInfo->ColorBoxWidth = properties->GetColorBoxWidth();
  AViewInfo->ColorBoxFrameColor = properties->GetColorBoxFrameColor();
  AViewInfo->ShowDescriptions = properties->GetShowDescriptions();
  AViewInfo->DefaultColorStyle = properties->GetDefaultColorStyle();
  if (AViewInfo->DefaultColorStyle == cxdcCustom && !AViewInfo->HasColor)
    properties->DoGetDefaultColor(AViewInfo->Color);
}

void TcxCustomColorComboBoxViewData::AssignEditValue(TcxCustomColorComboBoxViewInfo* AViewInfo) {
  auto* edit = dynamic_cast<TcxCustomColorComboBox*>(Edit);
  if (!edit || !edit->GetLookupData()) return;
  GetColorProperties()->AssignColorToViewInfo(edit->GetLookupData()->GetCurrentKey(), AViewInfo,
                                              edit->GetEditValueRef());
}

void TcxCustomColorComboBoxViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                               int Button, TShiftState Shift,
                                               TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxCustomDropDownEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (IsRectEmpty(&ABounds) || ABounds.right == INT_MAX || ABounds.bottom == INT_MAX) return;
  auto* info = static_cast<TcxCustomColorComboBoxViewInfo*>(AViewInfo);
  AssignEditValue(info);
  PrepareColorViewInfo(info);
  TRect r = info->ClientRect;
  info->ColorBoxRect = r;
  if (info->DefaultColorStyle == cxdcText && !info->HasColor) {
    info->ColorBoxRect.right = r.left;
  } else if (info->ShowDescriptions) {
    if (info->ColorBoxAlign == cbaRight) {
      info->ColorBoxRect.left = r.right - info->ColorBoxWidth;
      r.right = info->ColorBoxRect.left;
    } else {
      info->ColorBoxRect.right = r.left + info->ColorBoxWidth;
      r.left = info->ColorBoxRect.right;
    }
  }
  info->ClientRect = r;
  const int vert = IsInplace ? 1 : 2;
  info->TextRect = TRect(r.left + 2, r.top + vert, r.right - 2, r.bottom - vert);
  if (!info->ShowDescriptions) info->Text.clear();
  if (!IsInplace) info->IsSelectedLook = false;
}

void TcxCustomColorComboBoxViewData::GetDisplayTextForValue(const Variant& DisplayValue,
                                                            TcxCustomTextEditViewInfo* AViewInfo) {
  if (!Edit || VarIsNullOrEmpty(DisplayValue)) return;
  AssignEditValue(static_cast<TcxCustomColorComboBoxViewInfo*>(AViewInfo));
}

SIZE TcxCustomColorComboBoxViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                                                        const TcxEditSizeProperties& ASizeProperties) {
  TcxCustomColorComboBoxProperties* properties = GetColorProperties();
  String text;
  if (properties->GetShowDescriptions()) {
    TColor color = properties->GetDefaultColor();
    properties->GetColorByValue(EditValue, color, text);
  }
  SIZE size{0, 0};
  CalculateTextContentSize(ACanvas, this, text, size, true, ASizeProperties, GetDrawTextFlags());
  if (properties->GetShowDescriptions()) size.cx += properties->GetColorBoxWidth() + 6;
  return size;
}

// ---- The list ----

TcxCustomColorComboBoxListBox::TcxCustomColorComboBoxListBox(TComponent* AOwner,
                                                             TcxCustomColorComboBox* AEdit)
    : TcxComboBoxListBox(AOwner, AEdit), FColorEdit(AEdit) {}

TcxCustomColorComboBoxProperties* TcxCustomColorComboBoxListBox::Properties() const {
  return FColorEdit->GetActiveProperties();
}

// At least 16 pixels; the last MRU row has room for the double line.
int TcxCustomColorComboBoxListBox::GetItemHeight(int AIndex) {
  int height = std::max(TcxCustomEditListBox::GetItemHeight(-1), 16);
  TcxCustomColorComboBoxProperties* properties = Properties();
  if (AIndex >= 0 && properties->OnMeasureItem) properties->OnMeasureItem(FColorEdit, AIndex, height);
  if (AIndex >= 0 && AIndex == properties->MRUCount() - 1) height += 3;
  return height;
}

void TcxCustomColorComboBoxListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (DrawItemByEvent(Index, Rect, State)) return;
  TcxCustomColorComboBoxProperties* properties = Properties();
  TcxCanvas* canvas = GetcxCanvas();
  const TColor brushColor = canvas->GetBrush()->GetColor();
  const bool lastMRU = Index == properties->MRUCount() - 1;
  const TColor color = properties->GetColorByIndex(Index);
  TRect sample = Rect;
  if (lastMRU) sample.bottom -= 3;
  if (properties->GetShowDescriptions()) {
    TRect text = sample;
    if (properties->GetColorBoxAlign() == cbaRight) {
      sample.left = sample.right - properties->GetColorBoxWidth();
      text.right = sample.left;
    } else {
      sample.right = sample.left + properties->GetColorBoxWidth();
      text.left = sample.right;
    }
    canvas->FillRect(Rect);
    int flags = tfCenterY | tfEndEllipsis;
    if (GetBiDiMode() == bdRightToLeft) flags |= tfRight;
    canvas->DrawText(" " + GetItemText(Index), text, flags, true);
  }
  DrawColorSample(canvas, sample, properties->GetColorBoxFrameColor(), color, brushColor, cxdcColor);
  if (lastMRU) {
    const TColor lineColor = State.Contains(odSelected) ? clWindow : clWindowText;
    canvas->GetPen()->SetColor(lineColor);
    for (int y : {Rect.bottom - 3, Rect.bottom - 1}) {
      canvas->MoveTo(Rect.left, y);
      canvas->LineTo(Rect.right, y);
    }
  }
  canvas->SetBrushColor(brushColor);
  if (State.Contains(odSelected)) {
    RECT r = Rect;
    DrawFocusRect(canvas->GetHandle(), &r);
  }
}

// ---- Lookup data ----

TcxCustomColorComboBoxProperties* TcxColorComboBoxLookupData::Properties() const {
  return static_cast<TcxCustomColorComboBox*>(GetEdit())->GetActiveProperties();
}

TcxCustomEditListBox* TcxColorComboBoxLookupData::CreateListBox(TComponent* AOwner) {
  return new TcxCustomColorComboBoxListBox(AOwner, static_cast<TcxCustomColorComboBox*>(GetEdit()));
}

String TcxColorComboBoxLookupData::GetItemText(int AIndex) {
  return Properties()->GetDescriptionByIndex(AIndex);
}

int TcxColorComboBoxLookupData::GetItemCount() {
  return Properties()->RowCount();
}

void TcxColorComboBoxLookupData::SyncWithText() {
  SetCurrentKey(Properties()->IndexOfColorValue(GetEdit()->GetEditValueRef()));
}

// The highlighted row follows a colour that went to the MRU section.
int TcxColorComboBoxLookupData::SyncItemIndexWithMRU(TColor AColor) {
  const int index = GetItemIndex();
  if (index < Properties()->MRUCount() - 1) return index;
  const int mru = Properties()->GetMRUColors()->IndexOfColor(AColor);
  if (mru < 0) return index;
  SetCurrentKey(mru);
  return mru;
}

// ---- The editor ----

TcxCustomColorComboBox::TcxCustomColorComboBox(TComponent* AOwner) : TcxCustomComboBox(AOwner) {
  ControlStyle.Exclude(csClickEvents);
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomColorComboBox::CreateProperties() {
  return std::make_unique<TcxColorComboBoxProperties>(this);
}

TcxCustomInnerTextEdit* TcxCustomColorComboBox::NewInnerEdit() {
  return new TcxCustomColorComboBoxInnerEdit(this);
}

int TcxCustomColorComboBox::CurrentKey() const {
  return GetLookupData() ? GetLookupData()->GetCurrentKey() : -1;
}

void TcxCustomColorComboBox::SetColorValue(TColor Value) {
  if (Value == FColorValue) return;
  FColorValue = Value;
  FAssignedColorValue = Value;
  TcxControlGuard guard(this);
  LockItemNotifications(true);
  try {
    SetEditValue(Variant(static_cast<int>(Value)));
  } catch (...) {
    if (guard.Alive()) LockItemNotifications(false);
    throw;
  }
  if (guard.Alive()) LockItemNotifications(false);
}

void TcxCustomColorComboBox::SelectColorIndex(int ARow) {
  TcxColorComboBoxLookupData* lookup = GetColorLookupData();
  if (!lookup) return;
  const int prev = lookup->GetCurrentKey();
  TcxControlGuard guard(this);
  lookup->SelectItemByKey(ARow);
  if (guard.Alive() && lookup->GetCurrentKey() != prev) SetModified(false);
}

void TcxCustomColorComboBox::SelectCustomColor() {
  TcxCustomColorComboBoxProperties* properties = GetActiveProperties();
  TColor color = clNone;
  String description;
  bool addToList = true;
  TcxControlGuard guard(this);
  if (properties->ColorDialogType == cxcdtDefault) {
    auto dialog = std::make_unique<TColorDialog>(nullptr);
    bool executed = false;
    {
      TFlagScope open(FDialogOpen);
      dialog->Color = FColorValue;
      executed = dialog->Execute();
    }
    if (!guard.Alive() || !executed) return;
    color = dialog->Color;
  }
  if (properties->OnSelectCustomColor) {
    properties->OnSelectCustomColor(this, color, description, addToList);
    if (!guard.Alive()) return;
  }
  const int row = properties->GetIndexByColor(color);
  if (addToList && row == -1) {
    if (TcxColorComboBoxItem* item = properties->GetItems()->AddColor(color, description))
      item->IsCustom = true;
    properties->AddMRUColor(color);
  } else {
    SelectColorIndex(row);
  }
  if (!guard.Alive()) return;
  UpdateMRUList(color);
  if (!guard.Alive() || !QueryEditing() || !guard.Alive() || !addToList) return;
  SetColorValue(color);
  if (!guard.Alive()) return;
  SelectColorIndex(properties->GetMRUColors()->IndexOfColor(color));
  if (!guard.Alive()) return;
  SetModified(true);
  PostEditValue();
}

void TcxCustomColorComboBox::UpdateMRUList(TColor AColor) {
  const int result = GetActiveProperties()->AddMRUColor(AColor);
  if ((result == cxMRUMovedToFront || result == cxMRUInserted) && GetColorLookupData())
    SelectColorIndex(GetColorLookupData()->SyncItemIndexWithMRU(AColor));
}

void TcxCustomColorComboBox::ClearColorValue() {
  TcxControlGuard guard(this);
  SetEditValue(Null());
  if (!guard.Alive()) return;
  SetModifiedSinceEnter(true);
  SynchronizeDisplayValue();
  if (guard.Alive() && GetActiveProperties()->ImmediatePost && CanPostEditValue()) PostEditValue();
}

void TcxCustomColorComboBox::DoButtonClick(int AIndex) {
  if (AIndex == 1) SelectCustomColor();
}

void TcxCustomColorComboBox::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_DELETE) {
    TcxControlGuard guard(this);
    if (QueryEditing() && guard.Alive()) {
      ClearColorValue();
      return;
    }
    if (!guard.Alive()) return;
  }
  TcxCustomComboBox::HandleEditKeyDown(Key, Shift);
}

bool TcxCustomColorComboBox::IsCharAllowed(char Ch) {
  return static_cast<BYTE>(Ch) >= 32;
}

void TcxCustomColorComboBox::StoreEditValue(const Variant& Value, bool AValidate) {
  if (TcxContainer::IsContainerDestroying(this)) return;
  TcxCustomComboBox::StoreEditValue(Value, AValidate);
}

void TcxCustomColorComboBox::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  if (FPropertiesChanging) return;
  TFlagScope changing(FPropertiesChanging);
  TcxCustomComboBox::ApplyPropertiesChange(AProperties);
  TcxCustomColorComboBoxProperties* properties = GetActiveProperties();
  TcxEditButtons* buttons = properties->GetButtons();
  if (properties->GetAllowSelectColor()) {
    if (buttons->GetCount() > 1)
      buttons->GetItem(1)->SetKind(HasButtonGlyph(buttons->GetItem(1)) ? bkGlyph : bkEllipsis);
  } else if (buttons->GetCount() > 0) {
    buttons->GetItem(0)->SetKind(HasButtonGlyph(buttons->GetItem(0)) ? bkGlyph : bkDown);
  }
}

void TcxCustomColorComboBox::SynchronizeDisplayValue() {
  TcxControlGuard guard(this);
  TcxCustomComboBox::SynchronizeDisplayValue();
  if (!guard.Alive()) return;
  if (TcxColorComboBoxLookupData* lookup = GetColorLookupData()) lookup->SyncWithText();
  ResetAutoCompleteSelection();
  RefreshViewInfoText();
  const int key = CurrentKey();
  FColorValue = key != -1 ? GetActiveProperties()->GetColorByIndex(key) : FAssignedColorValue;
}

void TcxCustomColorComboBox::MakeEditValue(const Variant&, Variant& EditValue, bool) {
  const int key = CurrentKey();
  if (key == -1) {
    EditValue = Null();
    FColorValue = FAssignedColorValue;
    return;
  }
  FColorValue = GetActiveProperties()->GetColorByIndex(key);
  EditValue = Variant(static_cast<int>(FColorValue));
}

void TcxCustomColorComboBox::LookupKeyToEditValue(int AKey, Variant& EditValue) {
  if (AKey == -1)
    EditValue = Null();
  else
    EditValue = Variant(static_cast<int>(GetActiveProperties()->GetColorByIndex(AKey)));
}

void TcxCustomColorComboBox::CloseUp(bool AAccept) {
  TcxControlGuard guard(this);
  TcxCustomComboBox::CloseUp(AAccept);
  if (guard.Alive() && AAccept) UpdateMRUList(GetActiveProperties()->GetColorByIndex(CurrentKey()));
}

SIZE TcxCustomColorComboBox::CalculatePopupContentSize() {
  SIZE size = TcxCustomComboBox::CalculatePopupContentSize();
  size.cx += GetActiveProperties()->GetColorBoxWidth();
  return size;
}

bool TcxCustomColorComboBox::IsFocused() {
  return FDialogOpen || TcxCustomComboBox::IsFocused();
}

void TcxCustomColorComboBox::Loaded() {
  TcxControlGuard guard(this);
  TcxCustomComboBox::Loaded();
  if (guard.Alive() && GetActiveProperties()->GetItems()->IndexOfColor(FColorValue) >= 0)
    StoreEditValue(Variant(static_cast<int>(FColorValue)), false);
}

// ---- Module ----

void cxColorComboBoxInitialize() {
  if (StartCount++ > 0) return;
  EditPropertiesRegistry()->Register(cxClassRef<TcxColorComboBoxProperties>(),
                                     LoadLibraryResString(&scxSEditRepositoryColorComboBoxItem));
}

void cxColorComboBoxFinalize() {
  if (StartCount == 0 || --StartCount > 0) return;
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxColorComboBoxProperties));
}
