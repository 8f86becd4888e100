// The tab control: its properties, the selection, the painter choice and the
// recalculation chain.
#include "cxPC.h"
#include "cxPCConsts.h"
#include "cxPCGoDialog.h"
#include "cxPCPainters.h"

TcxCustomTabControl::TcxCustomTabControl(TComponent* AOwner) : TcxControl(AOwner) {
  ControlStyle = ControlStyle + TControlStyle{csAcceptsControls, csClickEvents, csOpaque, csDoubleClicks};
  FVisibleTabList = std::make_unique<TcxVisibleTabList>(this);
  SetBounds(GetLeft(), GetTop(), 289, 193);
  SetTabStop(true);
  FImageList = std::make_unique<TcxPCImageList>(this);
  FImageList->OnChange = [this](TObject*) { ImagesChanged(); };
  FTabs = std::make_unique<TcxTabs>(this);
  SetStyle(0);
}

TcxCustomTabControl::~TcxCustomTabControl() {
  SetDestroying();
  delete FScrollTimer;
  FScrollTimer = nullptr;
  if (FGoDialog && GoDialogShown) FGoDialog->ClosePopup(false);
  FGoDialog.reset();
  FImageList.reset();
  FTabs.reset();
  PaintersFactory()->ReleasePainter(FPainter);
  FVisibleTabList.reset();
}

void TcxCustomTabControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_GETDLGCODE:
    TcxControl::WndProc(Message);
    Message.Result |= DLGC_WANTARROWS;
    return;
  case WM_THEMECHANGED:
    TcxControl::WndProc(Message);
    CloseAllThemeHandles();
    ChooseDefaultPainter();
    return;
  case CM_ENABLEDCHANGED:
  case CM_PARENTCOLORCHANGED:
    TcxControl::WndProc(Message);
    Invalidate();
    return;
  case CM_DIALOGKEY:
    return CMDialogKey(Message);
  case CM_DIALOGCHAR:
    return CMDialogChar(Message);
  case CM_MOUSELEAVE:
    TcxControl::WndProc(Message);
    UpdateHotState(KeyboardStateToShiftState());
    return;
  default:
    TcxControl::WndProc(Message);
  }
}

// ---- Properties ----

void TcxCustomTabControl::RealignAndInvalidate() {
  Realign();
  Invalidate();
}

void TcxCustomTabControl::SetHideTabs(bool Value) {
  if (Value == FHideTabs) return;
  FHideTabs = Value;
  RealignAndInvalidate();
}

void TcxCustomTabControl::SetHotTrack(bool Value) {
  if (Value == FHotTrack) return;
  FHotTrack = Value;
  UpdateHotState(KeyboardStateToShiftState());
}

void TcxCustomTabControl::SetImageBorder(int Value) {
  if (Value < 0 || Value == FImageBorder) return;
  FImageBorder = Value;
  if (FTabs->VisibleTabCount() > 0) RecalculateTabs();
}

TCustomImageList* TcxCustomTabControl::GetImages() const {
  return FImageList->GetBaseImages();
}

void TcxCustomTabControl::SetImages(TCustomImageList* Value) {
  FImageList->SetImages(Value);
}

void TcxCustomTabControl::RaiseMaxRotatedTabWidth() {
  if (FMaxRotatedTabWidth > 0)
    FMaxRotatedTabWidth = std::max(FMaxRotatedTabWidth, FPainter->GetMinTabWidth());
}

int TcxCustomTabControl::GetMaxRotatedTabWidth() {
  RaiseMaxRotatedTabWidth();
  return FMaxRotatedTabWidth;
}

void TcxCustomTabControl::SetMaxRotatedTabWidth(int Value) {
  if (Value < 0) Value = 0;
  if (Value > 0) Value = std::max(Value, FPainter->GetMinTabWidth());
  if (Value == FMaxRotatedTabWidth) return;
  FMaxRotatedTabWidth = Value;
  if (FRotate && FTabs->VisibleTabCount() > 0) RecalculateTabs();
}

void TcxCustomTabControl::SetMultiLine(bool Value) {
  if (Value == FMultiLine) return;
  FMultiLine = Value;
  RecalculateTabs();
}

void TcxCustomTabControl::SetNavigatorPosition(TcxPCNavigatorPosition Value) {
  if (Value == FNavigatorPosition) return;
  FNavigatorPosition = Value;
  RecalculateTabs();
}

void TcxCustomTabControl::SetOptions(TcxPCOptions Value) {
  if (Value == FOptions) return;
  const TcxPCOptions old = FOptions;
  FOptions = Value;
  auto changed = [&](TcxPCOption o) { return old.Contains(o) != Value.Contains(o); };
  if (changed(pcoGoDialog) || changed(pcoNoArrows) || changed(pcoTopToBottomText)) RecalculateTabs();
  if (changed(pcoSort) && FGoDialog) FGoDialog->SetSorted(Value.Contains(pcoSort));
}

void TcxCustomTabControl::SetOwnerDraw(bool Value) {
  if (Value == FOwnerDraw) return;
  FOwnerDraw = Value;
  Invalidate();
}

void TcxCustomTabControl::SetRaggedRight(bool Value) {
  if (Value == FRaggedRight) return;
  FRaggedRight = Value;
  if (FMultiLine) RecalculateTabs();
}

void TcxCustomTabControl::SetRotate(bool Value) {
  if (Value == FRotate) return;
  FRotate = Value;
  RecalculateTabs();
}

void TcxCustomTabControl::SetScrollOpposite(bool Value) {
  if (Value == FScrollOpposite) return;
  FScrollOpposite = Value;
  if (!FMultiLine) return;
  if (FTabIndex != -1 && FPainter->MovesSelectedLineToPage()) {
    OrderTabRows();
    RealignAndInvalidate();
  } else {
    Realign();
  }
}

void TcxCustomTabControl::SetShowFrame(bool Value) {
  if (Value == FShowFrame) return;
  FShowFrame = Value;
  RecalculateTabs();
}

void TcxCustomTabControl::SetTabHeight(int16_t Value) {
  if (Value == FTabHeight) return;
  FTabHeight = Value;
  RecalculateTabs();
}

void TcxCustomTabControl::SetTabPosition(TcxTabPosition Value) {
  if (Value == FTabPosition) return;
  FTabPosition = Value;
  RecalculateTabs();
}

void TcxCustomTabControl::SetTabWidth(int16_t Value) {
  if (Value == FTabWidth) return;
  FTabWidth = Value;
  RecalculateTabs();
}

void TcxCustomTabControl::SetStyle(TcxPCStyleID Value) {
  if (Value == 0) {
    FStyle = 0;
    ChooseDefaultPainter();
    return;
  }
  if (Value == FStyle) return;
  ReplacePainter(Value);
}

void TcxCustomTabControl::ReplacePainter(TcxPCStyleID Value) {
  TcxPCPaintersFactory* factory = PaintersFactory();
  const TcxPCPainterClass* painterClass = factory->GetPainterClass(Value);
  if (!painterClass || (FPainter && &FPainter->GetClass() == painterClass)) return;
  factory->ReleasePainter(FPainter);
  FPainter = factory->GetPainterInstance(painterClass, this);
  FStyle = Value;
  FTabs->FreeCaptionBitmaps();
  RecalculateTabs();
}

void TcxCustomTabControl::ChooseDefaultPainter() {
  if (FStyle != 0) return;
  TcxPCPaintersFactory* factory = PaintersFactory();
  TcxPCStyleID id = factory->GetLookAndFeelStyleID(GetLookAndFeel());
  if (id == -1) id = factory->GetDefaultStyleID(GetLookAndFeel());
  ReplacePainter(id);
  FStyle = 0;
}

// ---- Orientation ----

bool TcxCustomTabControl::IsVerticalTabs() const {
  const bool leftOrRight = FTabPosition == tpLeft || FTabPosition == tpRight;
  return leftOrRight != FRotate;
}

int TcxCustomTabControl::GetTextDirection() const {
  if (!IsVerticalTabs()) return 0;
  return FOptions.Contains(pcoTopToBottomText) ? 2 : 1;
}

int TcxCustomTabControl::GetPainterTextDirection() const {
  return FPainter->IsNativePainting() ? 0 : GetTextDirection();
}

bool TcxCustomTabControl::NeedsRotatedCaptions() const {
  return !FPainter->IsNativePainting() && IsVerticalTabs();
}

bool TcxCustomTabControl::IsReversedOrder() const {
  const bool topToBottom = FOptions.Contains(pcoTopToBottomText);
  if (FTabPosition == tpLeft || FTabPosition == tpRight) return !FRotate && !topToBottom;
  return FRotate && topToBottom;
}

int TcxCustomTabControl::GetSelectedTabIndex() const {
  if (SelectedVisibleIndex == -1) return -1;
  return FVisibleTabList->GetTab(SelectedVisibleIndex)->GetIndex();
}

// ---- Selection and recalculation ----

void TcxCustomTabControl::LockChanges(bool Lock) {
  if (Lock)
    ++FChangeLockCount;
  else if (FChangeLockCount > 0)
    --FChangeLockCount;
}

bool TcxCustomTabControl::IsChangeLocked() {
  return FChangeLockCount > 0 || IsLoading() || IsDesigning();
}

bool TcxCustomTabControl::CanChange(int) {
  bool allow = true;
  if (OnChanging && !IsChangeLocked()) OnChanging(this, allow);
  return allow;
}

void TcxCustomTabControl::Change() {
  if (OnChange && !IsChangeLocked()) OnChange(this);
}

void TcxCustomTabControl::RecalculateTabs() {
  if (IsLoadingOrDestroying() || FRecalculating || !FPainter || !CanMeasure()) return;
  FRecalculating = true;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } clear{FRecalculating};
  RaiseMaxRotatedTabWidth();
  FTabs->FreeCaptionBitmaps();
  LayoutTabs();
  FTabs->RepaintImageTabs();
  if (GetImages() && GetImages()->GetCount() > 0) FImageList->SetRotation(GetPainterTextDirection());
  RealignAndInvalidate();
  FTabs->UpdateSelectedVisibleIndex();
  UpdateHotState(KeyboardStateToShiftState());
}

void TcxCustomTabControl::ChangeTabIndex(int NewIndex) {
  if (IsLoading()) {
    FTabIndex = NewIndex;
    return;
  }
  if (NewIndex < -1 || NewIndex >= FTabs->GetCount()) return;
  if (NewIndex != -1 && CanSelectOnlyVisibleTabs() && !FTabs->GetTab(NewIndex)->GetVisible()) NewIndex = -1;
  if (NewIndex == FTabIndex || !CanChange(NewIndex)) return;
  FTabIndex = -1;
  FTabs->UpdateSelectedVisibleIndex();
  for (int i = 0; i < FTabs->GetCount(); ++i)
    FTabs->GetTab(i)->SetSelected(false);
  MultiSelected = false;
  FTabs->SetTrackingTab(-1);
  FTabIndex = NewIndex;
  FTabs->UpdateSelectedVisibleIndex();
  Change();
  if (!FMultiLine) {
    if (SelectedVisibleIndex != -1) {
      ShowTab(SelectedVisibleIndex);
      if (NewIndex != -1) RecalculateTabs();
    }
  } else if (FPainter->MovesSelectedLineToPage()) {
    OrderTabRows();
    RealignAndInvalidate();
  }
  UpdateHotState(KeyboardStateToShiftState());
}

int TcxCustomTabControl::GetTabImageIndex(int TabIndex) {
  int index = FTabs->GetTab(TabIndex)->GetStoredImageIndex();
  if (OnGetImageIndex) OnGetImageIndex(this, TabIndex, index);
  if (index < 0) index = -1;
  TCustomImageList* images = GetImages();
  if (!images || images->GetWidth() <= 0 || images->GetHeight() <= 0 || index >= images->GetCount())
    return -1;
  return index;
}

void TcxCustomTabControl::ImagesChanged() {
  RecalculateTabs();
}

// ---- Overrides ----

void TcxCustomTabControl::Loaded() {
  TcxControl::Loaded();
  RecalculateTabs();
  if (FTabIndex == -1) return;
  const int index = FTabIndex;
  FTabIndex = -1;
  LockChanges(true);
  ChangeTabIndex(index);
  LockChanges(false);
}

void TcxCustomTabControl::AdjustClientRect(TRect& Rect) {
  if (IsLoading() || !FPainter) return;
  FPainter->GetDisplayRect(Rect);
  if (Rect.right < Rect.left) Rect.right = Rect.left;
  if (Rect.bottom < Rect.top) Rect.bottom = Rect.top;
  TcxControl::AdjustClientRect(Rect);
}

void TcxCustomTabControl::CreateParams(TCreateParams& Params) {
  TcxControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TcxCustomTabControl::CreateWnd() {
  TcxControl::CreateWnd();
  if (!FGoDialog && !IsDesigning()) {
    FGoDialog = std::make_unique<TcxPCGoDialog>(this);
    FGoDialog->SetSorted(FOptions.Contains(pcoSort));
  }
  RecalculateTabs();
  Realign();
}

void TcxCustomTabControl::Paint() {
  FPainter->Paint();
}

void TcxCustomTabControl::LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) {
  TcxControl::LookAndFeelChanged(Sender, Values);
  ChooseDefaultPainter();
  RecalculateTabs();
}

void TcxCustomTabControl::FontChanged() {
  TcxControl::FontChanged();
  GetcxCanvas()->SetFont(GetFont());
  GetcxCanvas()->GetFont()->SetColor(GetFont()->GetColor());
  RecalculateTabs();
}

void TcxCustomTabControl::FocusChanged() {
  TcxControl::FocusChanged();
  if (SelectedVisibleIndex != -1 && FTabs->GetVisibleTab(SelectedVisibleIndex)->IsShown())
    FTabs->Changed(SelectedVisibleIndex, tckFocus);
}

void TcxCustomTabControl::Resize() {
  TcxControl::Resize();
  RecalculateTabs();
  Realign();
}
