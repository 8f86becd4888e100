#include "cxDropDownEdit.h"

#include "cxEditPaintUtils.h"

#include <algorithm>

namespace {

// Runs a body with the editor's change events locked; the last unlock
// delivers them, unless the editor is gone.
template <typename F> void WithLockedChangeEvents(TcxCustomEdit* AEdit, F&& Body) {
  TcxControlGuard guard(AEdit);
  AEdit->LockChangeEvents(true);
  try {
    Body();
  } catch (...) {
    if (guard.Alive()) AEdit->LockChangeEvents(false);
    throw;
  }
  if (guard.Alive()) AEdit->LockChangeEvents(false);
}

bool IsGlyphNonEmpty(TcxEditButton* AButton) {
  if (!AButton->HasGlyph()) return false;
  TBitmap* glyph = AButton->GetGlyph();
  return !glyph->GetEmpty() && glyph->GetWidth() > 0 && glyph->GetHeight() > 0;
}

} // namespace

// ---- TcxCustomDropDownEditProperties ----

TcxCustomDropDownEditProperties::TcxCustomDropDownEditProperties(TPersistent* AOwner)
    : TcxCustomMaskEditProperties(AOwner) {
  GetButtons()->Add()->SetKind(bkDown);
  FGlyphButtonIndex = GetDropDownButtonIndex();
}

void TcxCustomDropDownEditProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomDropDownEditProperties*>(Source);
  if (!source) return TcxCustomMaskEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomMaskEditProperties::Assign(Source);
    auto* self = const_cast<TcxCustomDropDownEditProperties*>(source);
    SetButtonGlyph(self->GetButtonGlyph());
    ImmediateDropDown = source->ImmediateDropDown;
    ImmediatePopup = source->ImmediatePopup;
    SetPopupAlignment(source->FPopupAlignment);
    PopupAutoSize = source->PopupAutoSize;
    SetPopupClientEdge(source->FPopupClientEdge);
    SetPopupHeight(source->FPopupHeight);
    SetPopupMinHeight(source->FPopupMinHeight);
    SetPopupMinWidth(source->FPopupMinWidth);
    SetPopupSizeable(source->FPopupSizeable);
    SetPopupSysPanelStyle(source->FPopupSysPanelStyle);
    SetPopupWidth(source->FPopupWidth);
    OnCloseQuery = source->OnCloseQuery;
    OnCloseUp = source->OnCloseUp;
    OnInitPopup = source->OnInitPopup;
    OnPopup = source->OnPopup;
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TcxEditButton* TcxCustomDropDownEditProperties::GlyphButton() const {
  TcxEditButtons* buttons = GetButtons();
  return FGlyphButtonIndex >= 0 && FGlyphButtonIndex < buttons->GetCount()
             ? buttons->GetItem(FGlyphButtonIndex)
             : nullptr;
}

// The glyph decides the kind of its button; the guard keeps the button
// collection's own notifications from coming back here.
void TcxCustomDropDownEditProperties::Changed() {
  if (FChangedGuard) return;
  if (TcxEditButton* button = GlyphButton()) {
    TFlagScope guard(FChangedGuard);
    if (IsGlyphNonEmpty(button))
      button->SetKind(bkGlyph);
    else if (button->GetKind() == bkGlyph)
      button->SetKind(bkDown);
  }
  TcxCustomMaskEditProperties::Changed();
}

TBitmap* TcxCustomDropDownEditProperties::GetButtonGlyph() {
  TcxEditButton* button = GlyphButton();
  return button ? button->GetGlyph() : nullptr;
}

void TcxCustomDropDownEditProperties::SetButtonGlyph(TBitmap* Value) {
  if (TcxEditButton* button = GlyphButton()) button->SetGlyph(Value);
}

void TcxCustomDropDownEditProperties::SetGlyphButtonIndex(int Index) {
  if (Index == FGlyphButtonIndex) return;
  TcxEditButton* old = GlyphButton();
  TBitmap* glyph = old && old->HasGlyph() ? old->GetGlyph() : nullptr;
  std::unique_ptr<TBitmap> moved;
  if (glyph) {
    moved = std::make_unique<TBitmap>();
    moved->Assign(glyph);
    old->SetGlyph(nullptr);
  }
  FGlyphButtonIndex = Index;
  if (moved) SetButtonGlyph(moved.get());
  Changed();
}

void TcxCustomDropDownEditProperties::SetPopupHeight(int Value) {
  FPopupHeight = std::max(Value, FPopupMinHeight);
}

void TcxCustomDropDownEditProperties::SetPopupMinHeight(int Value) {
  FPopupMinHeight = std::max(Value, 0);
  SetPopupHeight(FPopupHeight);
}

void TcxCustomDropDownEditProperties::SetPopupMinWidth(int Value) {
  FPopupMinWidth = std::max(Value, 0);
  SetPopupWidth(FPopupWidth);
}

void TcxCustomDropDownEditProperties::SetPopupWidth(int Value) {
  FPopupWidth = Value <= 0 ? 0 : std::max(Value, FPopupMinWidth);
}

std::unique_ptr<TcxCustomEditPopupWindow>
TcxCustomDropDownEditProperties::CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const {
  return std::make_unique<TcxCustomEditPopupWindow>(AEdit);
}

TcxClassRef TcxCustomDropDownEditProperties::GetContainerClass() const {
  return cxClassRef<TcxComboBox>();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomDropDownEditProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomDropDownEditViewData>(this, AStyle, AIsInplace);
}

// ---- TcxCustomDropDownEditViewData ----

bool TcxCustomDropDownEditViewData::CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AIndex) {
  auto* properties = static_cast<TcxCustomDropDownEditProperties*>(GetProperties());
  if (PopupToggleGuard && AIndex == properties->GetDropDownButtonIndex()) return false;
  return TcxCustomTextEditViewData::CanPressButton(AViewInfo, AIndex);
}

void TcxCustomDropDownEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                              int Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                              bool AIsMouseEvent) {
  TcxCustomTextEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* info = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  info->IsSelectedLook =
      EditingStyle == tesListOnly && Focused && !info->Transparent && !HasPopupWindow && !IsInplace;
  auto* edit = dynamic_cast<TcxCustomTextEdit*>(Edit);
  if (GetTextProperties()->GetListSelectionHighlight() && edit && edit->GetAutoCompleteSelection())
    info->IsSelectedLook = false;
}

// ---- TcxEditPopupControlLookAndFeel ----

TcxEditPopupControlLookAndFeel::TcxEditPopupControlLookAndFeel(TcxCustomDropDownEdit* AEdit)
    : TcxLookAndFeel(AEdit), FEdit(AEdit) {}

TcxLookAndFeelKind TcxEditPopupControlLookAndFeel::EditKind() const {
  if (FEdit->GetIsInplace()) return FEdit->GetStyle()->GetLookAndFeel()->GetKind();
  TcxEditButtons* buttons = FEdit->GetActiveProperties()->GetButtons();
  if (buttons->GetCount() == 0) return lfStandard;
  switch (FEdit->GetStyle()->GetButtonStyle()) {
  case btsFlat:
  case btsSimple:
  case btsHotFlat:
    return lfFlat;
  case btsUltraFlat:
    return lfUltraFlat;
  default:
    return lfStandard;
  }
}

bool TcxEditPopupControlLookAndFeel::EditNativeStyle() const {
  return FEdit->GetViewInfo()->NativeStyle;
}

TcxLookAndFeelKind TcxEditPopupControlLookAndFeel::CalculateKind() const {
  return FEdit ? EditKind() : lfStandard;
}

bool TcxEditPopupControlLookAndFeel::CalculateNativeStyle() const {
  return FEdit && EditNativeStyle();
}

void TcxEditPopupControlLookAndFeel::Refresh() {
  TcxLookAndFeelValues changed;
  if (EditKind() != GetKind()) changed.Include(lfvKind);
  if (EditNativeStyle() != GetNativeStyle()) changed.Include(lfvNativeStyle);
  Changed(changed);
}

// ---- TcxCustomDropDownInnerEdit ----

void TcxCustomDropDownInnerEdit::WndProc(TMessage& Message) {
  if (Message.Msg == CM_HINTSHOW) {
    auto* edit = dynamic_cast<TcxCustomDropDownEdit*>(GetContainer());
    if (edit && edit->HasPopupWindow()) {
      Message.Result = 1;
      return;
    }
  }
  TcxCustomInnerTextEdit::WndProc(Message);
}

// Alt released alone: the system characters Alt+Up/Down left behind would
// beep or open a menu.
void TcxCustomDropDownInnerEdit::KeyUp(WORD& Key, TShiftState Shift) {
  TcxCustomInnerTextEdit::KeyUp(Key, Shift);
  if (Key != VK_MENU || Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || !HandleAllocated()) return;
  MSG msg;
  while (PeekMessageA(&msg, GetHandle(), WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE)) {
  }
}

// ---- TcxCustomDropDownEdit ----

TcxCustomDropDownEdit::TcxCustomDropDownEdit(TComponent* AOwner) : TcxCustomMaskEdit(AOwner) {
  FPopupLookAndFeel = std::make_unique<TcxEditPopupControlLookAndFeel>(this);
}

TcxCustomDropDownEdit::~TcxCustomDropDownEdit() {
  if (IcxTextEditLookupData* lookup = GetEditLookupData()) lookup->ReleaseList();
  FPopupWindow.reset();
  FPopupLookAndFeel.reset();
}

void TcxCustomDropDownEdit::AfterConstruction() {
  TcxCustomMaskEdit::AfterConstruction();
  if (FPopupWindow) return;
  FPopupWindow = GetActiveProperties()->CreatePopupWindow(this);
  FPopupWindow->OnClosed = [this](TObject*) { PopupClosed(); };
  FPopupWindow->OnShowed = [this](TObject*) { AfterPopupShow(); };
  FPopupWindow->OnCloseQuery = [this](TObject*, bool& CanClose) { PopupCloseQuery(CanClose); };
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomDropDownEdit::CreateProperties() {
  return std::make_unique<TcxCustomDropDownEditProperties>(this);
}

TcxCustomInnerTextEdit* TcxCustomDropDownEdit::NewInnerEdit() {
  return new TcxCustomDropDownInnerEdit(this);
}

IcxCustomInnerEdit* TcxCustomDropDownEdit::CreateInnerEdit() {
  TcxCustomInnerTextEdit* inner = NewInnerEdit();
  inner->SetColor(clWindow);
  inner->SetParent(this);
  return inner->GetHelper();
}

std::unique_ptr<TcxCustomEditData> TcxCustomDropDownEdit::CreateEditData() {
  return std::make_unique<TcxCustomDropDownEditData>(this);
}

void TcxCustomDropDownEdit::InitializeEditData() {
  auto* data = static_cast<TcxCustomDropDownEditData*>(GetEditData());
  if (!data) return;
  data->SizeStored = false;
  data->PopupWidth = GetActiveProperties()->GetPopupWidth();
  data->PopupHeight = GetActiveProperties()->GetPopupHeight();
}

bool TcxCustomDropDownEdit::IsFocused() {
  return TcxCustomMaskEdit::IsFocused() || HasPopupWindow();
}

bool TcxCustomDropDownEdit::HasPopupWindow() {
  return FPopupWindow && FPopupWindow->IsOpen();
}

void TcxCustomDropDownEdit::SetDroppedDown(bool Value) {
  if (Value == HasPopupWindow()) return;
  if (Value)
    DropDown();
  else
    CloseUp(false);
}

TRect TcxCustomDropDownEdit::GetPopupOwnerBounds() {
  TRect r;
  GetEditPopupOwnerBounds(GetViewInfo(), r);
  OffsetRect(&r, GetLeft(), GetTop());
  return r;
}

bool TcxCustomDropDownEdit::HasLookupList() {
  return GetEditLookupData() && GetActiveProperties()->HasLookupData();
}

// ---- Opening ----

void TcxCustomDropDownEdit::DoInitPopup() {
  if (GetActiveProperties()->OnInitPopup) GetActiveProperties()->OnInitPopup(this);
}

void TcxCustomDropDownEdit::DoPopup() {
  if (GetActiveProperties()->OnPopup) GetActiveProperties()->OnPopup(this);
}

void TcxCustomDropDownEdit::DropDown() {
  TcxControlGuard guard(this);
  DoInitPopup();
  if (!guard.Alive() || !FPopupWindow || !CanDropDown()) return;
  if (HasLookupList()) GetEditLookupData()->ListOpening();
  SetupPopupWindow();
  if (!guard.Alive()) return;
  PostMessageA(FPopupWindow->GetHandle(), CXM_SHOWPOPUP, reinterpret_cast<WPARAM>(GetPopupFocusedControl()),
               0);
}

TWinControl* TcxCustomDropDownEdit::GetPopupFocusedControl() {
  TcxCustomDropDownEditProperties* properties = GetActiveProperties();
  if (HasLookupList() && properties->PopupShowsLookupList() && properties->PopupCapturesFocus())
    if (TcxCustomEditListBox* list = GetEditLookupData()->GetList()) return list;
  return GetInnerEdit() ? GetInnerEdit()->GetControl() : this;
}

void TcxCustomDropDownEdit::AttachLookupListToPopup() {
  if (HasLookupList() && !IsDesigning() && GetActiveProperties()->PopupShowsLookupList())
    GetEditLookupData()->PrepareListBox(FPopupWindow.get());
}

void TcxCustomDropDownEdit::SetupPopupWindowProperties() {
  TcxCustomDropDownEditProperties* properties = GetActiveProperties();
  TcxCustomEditPopupWindow* window = FPopupWindow.get();
  window->AnchorParent = GetParent();
  static const TcxPopupHorzPlacement kPlacements[3] = {hpLeft, hpRight, hpCenter};
  window->HorzPlacement = kPlacements[properties->GetPopupAlignment()];
  window->PopupClientEdge = properties->GetPopupClientEdge();
  window->PopupMinHeight = properties->GetPopupMinHeight();
  window->PopupMinWidth = properties->GetPopupMinWidth();
  window->PopupAutoSize = properties->PopupAutoSize;
  window->PopupSizeable = properties->GetPopupSizeable();
  window->PopupSysPanelStyle = properties->GetPopupSysPanelStyle();
  auto* data = static_cast<TcxCustomDropDownEditData*>(GetEditData());
  const bool stored = GetIsInplace() && data && properties->GetPopupSizeable();
  window->PopupWidth = stored ? data->PopupWidth : properties->GetPopupWidth();
  window->PopupHeight = stored ? data->PopupHeight : properties->GetPopupHeight();
  window->ShowCloseButton = GetStyle()->PopupCloseButton;
  const TcxCustomEditViewInfo* info = GetViewInfo();
  window->UseNativeStyle = info->NativeStyle;
  window->BorderKind = info->PopupBorderStyle;
  window->HasShadow = info->Shadow;
}

void TcxCustomDropDownEdit::PositionPopupContent(const TRect& AClientRect) {
  if (HasLookupList() && GetActiveProperties()->PopupShowsLookupList())
    GetEditLookupData()->SetListBoxBounds(AClientRect);
}

void TcxCustomDropDownEdit::SetupPopupWindow() {
  TcxCustomEditPopupWindow* window = FPopupWindow.get();
  window->SetCaptureFocus(GetActiveProperties()->PopupCapturesFocus());
  AttachLookupListToPopup();
  SetupPopupWindowProperties();
  window->CalculatePopupSize();
  TPoint p;
  window->CalculatePopupPosition(p);
  window->SetBounds(p.x, p.y, window->GetWidth(), window->GetHeight());
  window->CalculateViewInfo();
  PositionPopupContent(window->GetViewInfo()->ClientRect);
  window->SetPopupWindowRegion();
  TCustomForm* form = GetParentForm(this);
  if (!form || !ThemesAvailable()) return;
  window->SetAlphaBlend(form->GetAlphaBlend());
  window->SetAlphaBlendValue(form->GetAlphaBlendValue());
  window->SetTransparentColor(form->GetTransparentColor());
  window->SetTransparentColorValue(form->GetTransparentColorValue());
}

void TcxCustomDropDownEdit::AfterPopupShow() {
  TcxControlGuard guard(this);
  UpdateMouseStateAtCursor(false);
  if (!guard.Alive()) return;
  FPopupWindow->CalculateViewInfo();
  PositionPopupContent(FPopupWindow->GetViewInfo()->ClientRect);
  DoPopup();
  if (!guard.Alive()) return;
  RefreshViewInfoText();
  TcxCustomDropDownEditProperties* properties = GetActiveProperties();
  if (HasLookupList() && GetAutoCompleteSelection() && properties->ImmediateDropDown &&
      properties->PopupCapturesFocus()) {
    String text;
    GetDisplayText(text);
    GetEditLookupData()->ListOpened(text.substr(0, std::min<size_t>(text.size(), GetEditSelStart())));
  }
}

// ---- Closing ----

void TcxCustomDropDownEdit::AcceptLookupItem() {
  if (!HasLookupList()) return;
  IcxTextEditLookupData* lookup = GetEditLookupData();
  const int prevKey = lookup->QueryCurrentKey();
  LockItemNotifications(true);
  try {
    lookup->AcceptListItem();
  } catch (...) {
    LockItemNotifications(false);
    throw;
  }
  LockItemNotifications(false);
  if (GetModifiedSinceEnter() && lookup->QueryCurrentKey() != prevKey) NotifyItemSelected();
}

void TcxCustomDropDownEdit::PostImmediately() {
  if (!GetActiveProperties()->ImmediatePost || !CanPostEditValue()) return;
  if (ValidateEdit(true)) PostEditValue();
}

void TcxCustomDropDownEdit::CloseUp(bool AAccept) {
  if (!HasPopupWindow()) return;
  TcxControlGuard guard(this);
  WithLockedChangeEvents(this, [&] {
    if (!AAccept) return;
    AcceptLookupItem();
    if (!GetActiveProperties()->PostOnPopupClosed()) PostImmediately();
  });
  if (guard.Alive() && FPopupWindow) FPopupWindow->ClosePopup(false);
}

void TcxCustomDropDownEdit::PopupCloseQuery(bool& CanClose) {
  if (GetActiveProperties()->OnCloseQuery) GetActiveProperties()->OnCloseQuery(this, CanClose);
}

void TcxCustomDropDownEdit::PopupClosed() {
  TcxCustomDropDownEditProperties* properties = GetActiveProperties();
  if (properties->GetPopupSizeable() && FResizedByUser) {
    auto* data = static_cast<TcxCustomDropDownEditData*>(GetEditData());
    if (GetIsInplace() && data) {
      data->PopupWidth = FPopupWindow->GetWidth();
      data->PopupHeight = FPopupWindow->GetHeight();
      data->SizeStored = true;
    } else if (!GetIsInplace()) {
      properties->SetPopupWidth(FPopupWindow->GetWidth());
      properties->SetPopupHeight(FPopupWindow->GetHeight());
    }
  }
  if (HasLookupList()) GetEditLookupData()->ListClosed();
  TcxControlGuard guard(this);
  if (properties->GetEditingStyle() == tesListOnly) UpdateMouseStateAtCursor(false);
  if (guard.Alive() && properties->OnCloseUp) properties->OnCloseUp(this);
  if (guard.Alive() && properties->PostOnPopupClosed())
    WithLockedChangeEvents(this, [&] { PostImmediately(); });
}

// ---- Keys ----

bool TcxCustomDropDownEdit::HandlePopupKey(WORD& Key, TShiftState Shift) {
  const bool alt = Shift.Contains(ssAlt);
  if (((Key == VK_UP || Key == VK_DOWN) && alt) || (Key == VK_F4 && !alt)) {
    if (HasPopupWindow())
      CloseUp(true);
    else
      DropDown();
    Key = 0;
    return true;
  }
  if ((Key != VK_RETURN && Key != VK_ESCAPE) || alt || !HasPopupWindow()) return false;
  TcxControlGuard guard(this);
  const WORD key = Key;
  SwallowNextEnter = true;
  SetUserChange(true);
  try {
    CloseUp(key == VK_RETURN && QueryEditing());
  } catch (...) {
    if (guard.Alive()) SetUserChange(false);
    throw;
  }
  if (!guard.Alive()) return true;
  SetUserChange(false);
  if (key == VK_ESCAPE) SetCaptureControl(nullptr);
  if (HasPopupWindow()) return false;
  if (HasLookupList()) {
    String text;
    GetDisplayText(text);
    if (!GetEditLookupData()->IsTextInItems(text)) return false;
  }
  Key = 0;
  return true;
}

void TcxCustomDropDownEdit::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  if (HandlePopupKey(Key, Shift) || !guard.Alive()) return;
  TcxCustomMaskEdit::HandleEditKeyDown(Key, Shift);
}

void TcxCustomDropDownEdit::PostForwardedChar(char Key) {
  if (FPopupWindow && FPopupWindow->HandleAllocated())
    PostMessageA(FPopupWindow->GetHandle(), CXM_POPUPCHAR, static_cast<BYTE>(Key), 0);
}

void TcxCustomDropDownEdit::HandleEditKeyPress(char& Key) {
  TcxCustomDropDownEditProperties* properties = GetActiveProperties();
  if (static_cast<BYTE>(Key) >= 32 && !HasPopupWindow() && properties->ImmediateDropDown) {
    TcxControlGuard guard(this);
    SendMessageA(GetHandle(), CXM_DROPDOWN, 0, 0);
    if (!guard.Alive()) return;
    if (properties->PopupCapturesFocus() && Key != '\r' && CanDropDown() && GetPopupFocusedControl()) {
      PostForwardedChar(Key);
      Key = 0;
      return;
    }
  }
  TcxCustomMaskEdit::HandleEditKeyPress(Key);
}

bool TcxCustomDropDownEdit::CanSendActivationKey(char Key) {
  TcxCustomDropDownEditProperties* properties = GetActiveProperties();
  return !(properties->ImmediateDropDown && properties->PopupCapturesFocus() && Key != '\r');
}

bool TcxCustomDropDownEdit::IsClickKey(WORD Key, TShiftState Shift) {
  if (TcxCustomMaskEdit::IsClickKey(Key, Shift)) return true;
  if (!GetIsInplace() || !HasPopupWindow()) return false;
  return Shift.Contains(ssAlt) || Shift.Contains(ssCtrl) || Key < 32 || Key > 255;
}

bool TcxCustomDropDownEdit::CanChangeLookupItem(bool AByWheel) {
  if (!CanModify()) return false;
  return !GetIsInplace() || HasPopupWindow() || AByWheel;
}

// ---- Mouse ----

void TcxCustomDropDownEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxCustomMaskEdit::MouseDown(Button, Shift, X, Y);
  if (!guard.Alive() || FActivatingByMouse || !GetActiveProperties()->DropDownOnClick() || Button != mbLeft)
    return;
  if (GetViewInfo()->ClientRect.Contains(TPoint(X, Y)) && !HasPopupWindow() && !FPopupToggleGuard &&
      CanFocusNow())
    DropDown();
}

void TcxCustomDropDownEdit::DoButtonDown(int AIndex) {
  TcxControlGuard guard(this);
  TcxCustomMaskEdit::DoButtonDown(AIndex);
  if (guard.Alive() && AIndex == GetActiveProperties()->GetDropDownButtonIndex()) SetDroppedDown(true);
}

// A left press on the editor that closed the open popup (the popup's hooks
// saw it first) must not open it again: the guard holds until the release.
bool TcxCustomDropDownEdit::UpdateMouseState(const TPoint& P, int Button, TShiftState Shift,
                                             bool AIsMouseEvent) {
  const bool leftPress = Button == ContainerMouseButton(mbLeft) && Shift.Contains(ssLeft);
  if (AIsMouseEvent && leftPress && FPopupWindow && FPopupWindow->ClosedByOwnerClick) {
    FPopupWindow->ClosedByOwnerClick = false;
    FPopupToggleGuard = true;
  }
  TcxControlGuard guard(this);
  const bool result = TcxCustomMaskEdit::UpdateMouseState(P, Button, Shift, AIsMouseEvent);
  if (!guard.Alive()) return result;
  const bool buttonDown = Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
  if (HasPopupWindow() && AIsMouseEvent && Button != 0 && buttonDown && GetViewInfo()->PressedButton < 0) {
    CloseUp(false);
    if (!guard.Alive()) return result;
  }
  if (AIsMouseEvent && !leftPress)
    FPopupToggleGuard =
        HasPopupWindow() && GetViewInfo()->PressedButton == GetActiveProperties()->GetDropDownButtonIndex();
  if (FPopupLookAndFeel) FPopupLookAndFeel->Refresh();
  return result;
}

void TcxCustomDropDownEdit::InitializeViewData(TcxCustomEditViewData* AViewData) {
  TcxCustomMaskEdit::InitializeViewData(AViewData);
  if (auto* data = dynamic_cast<TcxCustomDropDownEditViewData*>(AViewData)) {
    data->HasPopupWindow = HasPopupWindow();
    data->PopupToggleGuard = FPopupToggleGuard;
  }
}

bool TcxCustomDropDownEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TcxCustomMaskEdit::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!CanChangeLookupItem(true) || !HasPopupWindow() || !HasLookupList() || GetEditLookupData()->IsEmpty())
    return false;
  TcxCustomEditListBox* list = GetEditLookupData()->GetList();
  if (!list || !list->HandleAllocated()) return false;
  SendMessageA(list->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WheelDelta),
               MAKELPARAM(MousePos.x, MousePos.y));
  return true;
}

void TcxCustomDropDownEdit::DoExit() {
  TcxControlGuard guard(this);
  CloseUp(false);
  if (guard.Alive()) TcxCustomMaskEdit::DoExit();
}

// ---- In place ----

void TcxCustomDropDownEdit::ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxControlGuard guard(this);
  TcxCustomMaskEdit::ActivateInplace(AEditData);
  if (!guard.Alive()) return;
  auto* data = static_cast<TcxCustomDropDownEditData*>(GetEditData());
  FResizedByUser = data && data->SizeStored && GetActiveProperties()->GetPopupSizeable();
  if (GetActiveProperties()->ImmediatePopup) SetDroppedDown(true);
}

void TcxCustomDropDownEdit::ActivateInplaceByKey(char Key, std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxControlGuard guard(this);
  TcxCustomMaskEdit::ActivateInplaceByKey(Key, AEditData);
  if (!guard.Alive()) return;
  TcxCustomDropDownEditProperties* properties = GetActiveProperties();
  const bool sendsKey = CanSendActivationKey(Key);
  if (static_cast<BYTE>(Key) >= 32 && properties->ImmediateDropDown && !properties->ImmediatePopup &&
      !sendsKey) {
    SetDroppedDown(true);
    if (!guard.Alive()) return;
  }
  if (!sendsKey && CanDropDown() && GetPopupFocusedControl()) PostForwardedChar(Key);
}

void TcxCustomDropDownEdit::ActivateInplaceByMouse(TMouseButton Button, TShiftState Shift, int X, int Y,
                                                   std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxControlGuard guard(this);
  FActivatingByMouse = true;
  try {
    TcxCustomMaskEdit::ActivateInplaceByMouse(Button, Shift, X, Y, AEditData);
  } catch (...) {
    if (guard.Alive()) FActivatingByMouse = false;
    throw;
  }
  if (guard.Alive()) FActivatingByMouse = false;
}

bool TcxCustomDropDownEdit::DeactivateInplace() {
  TcxControlGuard guard(this);
  CloseUp(false);
  if (!guard.Alive()) return true;
  if (auto* data = static_cast<TcxCustomDropDownEditData*>(GetEditData())) data->SizeStored = FResizedByUser;
  const bool result = TcxCustomMaskEdit::DeactivateInplace();
  if (!guard.Alive() || !FPopupWindow || !FPopupWindow->HandleAllocated()) return result;
  // A late opening must not follow the deactivation.
  MSG msg;
  while (PeekMessageA(&msg, FPopupWindow->GetHandle(), CXM_SHOWPOPUP, CXM_SHOWPOPUP, PM_REMOVE)) {
  }
  return result;
}

// ---- Settings and look ----

void TcxCustomDropDownEdit::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  if (!GetActiveProperties()->GetPopupSizeable()) FResizedByUser = false;
  if (HasPopupWindow()) SetupPopupWindow();
  TcxCustomMaskEdit::ApplyPropertiesChange(AProperties);
}

void TcxCustomDropDownEdit::ContainerStyleChanged(TObject* Sender) {
  TcxCustomMaskEdit::ContainerStyleChanged(Sender);
  if (HandleAllocated() && FPopupLookAndFeel) FPopupLookAndFeel->Refresh();
}

void TcxCustomDropDownEdit::ThemeChanged() {
  TcxCustomMaskEdit::ThemeChanged();
  if (FPopupLookAndFeel) FPopupLookAndFeel->Refresh();
}

void TcxCustomDropDownEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CXM_DROPDOWN:
    DropDown();
    return;
  case CM_HINTSHOW:
    if (HasPopupWindow()) {
      Message.Result = 1;
      return;
    }
    break;
  case CM_BIDIMODECHANGED:
    TcxCustomMaskEdit::WndProc(Message);
    if (FPopupWindow) FPopupWindow->SetBiDiMode(GetBiDiMode());
    return;
  }
  TcxCustomMaskEdit::WndProc(Message);
}

// ---- Module start ----

void cxDropDownEditInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxComboBoxProperties>(),
                                     "ComboBox|Represents the combo box editor");
  EditPropertiesRegistry()->Register(cxClassRef<TcxPopupEditProperties>(),
                                     "PopupEdit|Represents an edit control with a dropdown list");
}

void cxDropDownEditFinalize() {
  EditPropertiesRegistry()->Unregister(typeid(TcxPopupEditProperties));
  EditPropertiesRegistry()->Unregister(typeid(TcxComboBoxProperties));
}
