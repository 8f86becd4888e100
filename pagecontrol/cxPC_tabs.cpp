// Tabs, the tab list and the visible-tab list.
#include "cxPC.h"
#include "cxPCConsts.h"
#include "cxPCPainters.h"

String cxPCResString(UINT Id) {
  const TResStringRec rec{GetModuleHandleA(nullptr), Id};
  return LoadLibraryResString(&rec);
}

String TabDisplayCaption(const String& Caption) {
  String result;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] != '&') {
      result += Caption[i];
    } else if (i + 1 == Caption.size()) {
      result += '_';
    } else {
      result += Caption[++i];
    }
  }
  return result;
}

// ---- TcxTab ----

TcxTab::TcxTab(TcxTabs* ATabs, int AIndex) : FStoredImageIndex(AIndex), FIndex(AIndex), FTabs(ATabs) {}

TcxTab::~TcxTab() {
  TcxCustomTabControl* control = GetControl();
  const bool tracking = IsTracking();
  FTabs->TabDestroying(FIndex, false);
  if (tracking) control->TrackingTab = -1;
}

TcxCustomTabControl* TcxTab::GetControl() const {
  return FTabs->GetControl();
}

void TcxTab::AssignTo(TPersistent* Dest) const {
  auto* tab = dynamic_cast<TcxTab*>(Dest);
  if (!tab) return TPersistent::AssignTo(Dest);
  tab->SetCaption(FCaption);
  tab->FDisplayCaption = FDisplayCaption;
  tab->SetEnabled(FEnabled);
  tab->SetHighlighted(FHighlighted);
  tab->SetImageIndex(GetImageIndex());
  tab->Object = Object;
  tab->SetVisible(FVisible);
  tab->SetSelected(FSelected);
}

void TcxTab::Changed(TcxTabChangeKind Kind) {
  FTabs->Changed(GetVisibleIndex(), Kind);
}

int TcxTab::GetVisibleIndex() const {
  return GetControl()->GetVisibleTabList()->IndexOf(FIndex);
}

bool TcxTab::IsHot() const {
  const int v = GetVisibleIndex();
  return v != -1 && GetControl()->HotTab == v;
}

bool TcxTab::IsPressed() const {
  const int v = GetVisibleIndex();
  return v != -1 && GetControl()->PressedTab == v;
}

bool TcxTab::IsTracking() const {
  const int v = GetVisibleIndex();
  return v != -1 && GetControl()->TrackingTab == v;
}

bool TcxTab::IsMainSelected() const {
  const TcxCustomTabControl* control = GetControl();
  return control->SelectedVisibleIndex != -1 &&
         control->GetVisibleTabList()->GetTab(control->SelectedVisibleIndex) == this;
}

bool TcxTab::RealEnabled() const {
  return GetControl()->GetEnabled() && FEnabled;
}

bool TcxTab::IsShown() const {
  const TRect r = GetVisibleRect();
  return !IsRectEmpty(&r);
}

int TcxTab::GetLengthAlongLine() const {
  return GetControl()->GetRotate() ? FTabs->TabNormalHeight : Width;
}

TcxTabPosition TcxTab::GetSide() const {
  const TcxCustomTabControl* control = GetControl();
  const bool leftOrRight = control->GetTabPosition() == tpLeft || control->GetTabPosition() == tpRight;
  if (LineIndex < control->NearLineCount) return leftOrRight ? tpLeft : tpTop;
  return leftOrRight ? tpRight : tpBottom;
}

int TcxTab::GetDrawDirection() const {
  static const int codes[4][3] = {{1, 2, 3}, {10, 11, 12}, {6, 4, 5}, {9, 7, 8}};
  return codes[GetSide()][GetControl()->GetTextDirection()];
}

TRect TcxTab::GetBaseRect() const {
  const TcxCustomTabControl* control = GetControl();
  const int along = control->GetRotate() ? control->LineThickness : Width;
  const int normal = FTabs->TabNormalHeight;
  if (control->IsVerticalTabs()) return Bounds(Origin.x, Origin.y, normal, along);
  return Bounds(Origin.x, Origin.y, along, normal);
}

TRect TcxTab::GetFullRect() const {
  TRect r = GetBaseRect();
  RectAdjustment = TRect(0, 0, 0, 0);
  GetControl()->GetPainter()->CorrectTabRect(GetVisibleIndex(), RectAdjustment);
  r.left += RectAdjustment.left;
  r.top += RectAdjustment.top;
  r.right += RectAdjustment.right;
  r.bottom += RectAdjustment.bottom;
  return r;
}

TRect TcxTab::GetVisibleRect() const {
  if (!FVisible) return TRect();
  const TcxCustomTabControl* control = GetControl();
  const int v = GetVisibleIndex();
  if (!control->GetMultiLine() && (v < control->FirstVisibleTab || v > control->LastVisibleTab))
    return TRect();
  const TRect area = LineIndex < control->NearLineCount ? control->NearTabsArea : control->FarTabsArea;
  const TRect full = GetFullRect();
  TRect r;
  if (!::IntersectRect(&r, &full, &area)) return TRect();
  return r;
}

void TcxTab::CreatePaintBitmap() {
  if (FPaintBitmap) return;
  FPaintBitmap = std::make_unique<TBitmap>();
  FPaintBitmap->SetPixelFormat(pf32bit);
}

void TcxTab::RepaintIfImage() {
  if (FStoredImageIndex != -1 && IsShown()) Changed(tckContent);
}

void TcxTab::SetCaptionSilently(const String& Value) {
  FCaption = Value;
  FDisplayCaption = TabDisplayCaption(Value);
}

void TcxTab::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  TcxCustomTabControl* control = GetControl();
  if (!FVisible || !control->CanMeasure() || control->IsLoadingOrDestroying()) {
    SetCaptionSilently(Value);
    return;
  }
  const bool wasShown = IsShown();
  const int oldWidth = Width;
  const int oldThickness = control->LineThickness;
  SetCaptionSilently(Value);
  Width = control->GetPainter()->CalculateTabNormalWidth(this);
  bool sizeChanged;
  if (control->GetRotate()) {
    control->CalculateLineThickness();
    sizeChanged = control->LineThickness != oldThickness;
  } else {
    sizeChanged = Width != oldWidth;
  }
  if (sizeChanged)
    Changed(tckLayout);
  else if (wasShown)
    Changed(tckContent);
}

void TcxTab::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  const bool wasShown = IsShown();
  FEnabled = Value;
  if (wasShown || IsShown()) Changed(tckEnabled);
}

void TcxTab::SetHighlighted(bool Value) {
  if (Value == FHighlighted) return;
  const bool wasShown = IsShown();
  FHighlighted = Value;
  if (wasShown || IsShown()) Changed(tckHighlighted);
}

int TcxTab::GetImageIndex() const {
  return GetControl()->GetTabImageIndex(FIndex);
}

void TcxTab::SetImageIndex(int Value) {
  if (Value < 0) Value = -1;
  if (Value == FStoredImageIndex) return;
  FStoredImageIndex = Value;
  if (IsShown()) Changed(tckContent);
}

void TcxTab::SetSelected(bool Value) {
  if (Value == FSelected) return;
  TcxCustomTabControl* control = GetControl();
  if (control->IsLoading()) {
    FSelected = Value;
    return;
  }
  if (control->GetPainter()->AllowsMultiSelection()) {
    if (Value) {
      for (int i = 0; i < FTabs->GetCount(); ++i)
        if (FTabs->GetTab(i)->FSelected) control->MultiSelected = true;
    }
  } else if (Value && FIndex != control->GetTabIndex()) {
    return;
  }
  const bool wasShown = IsShown();
  FSelected = Value;
  if (wasShown || IsShown()) Changed(tckSelected);
}

void TcxTab::SetVisible(bool Value) {
  if (Value == FVisible) return;
  TcxCustomTabControl* control = GetControl();
  // The tracking tab is a visible index: the visible set is about to change.
  control->TrackingTab = -1;
  if (Value) {
    control->GetVisibleTabList()->Add(FIndex);
    FVisible = true;
    Changed(tckLayout);
    return;
  }
  const bool wasSelected = FIndex == control->GetTabIndex() && control->CanSelectOnlyVisibleTabs();
  const bool wasShown = IsShown();
  control->GetVisibleTabList()->Remove(FIndex);
  FVisible = false;
  if (wasShown || control->GetMultiLine()) FTabs->Changed(-1, tckLayout);
  if (!wasSelected) return;
  FTabs->UpdateSelectedVisibleIndex();
  if (control->SelectedVisibleIndex != -1)
    control->ChangeTabIndex(control->GetVisibleTabList()->GetTab(control->SelectedVisibleIndex)->GetIndex());
}

// ---- TcxTabs ----

TcxTabs::~TcxTabs() {
  FNotifying = true;
  FDeleting = true;
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it)
    delete *it;
  FItems.clear();
}

void TcxTabs::IndexError(const String& MethodName, int Index) const {
  throw Exception("TcxTabs." + MethodName + ": " + Format(cxPCResString(scxPCTabIndexError), Index));
}

String TcxTabs::Get(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError("Get", Index);
  return FItems[Index]->GetCaption();
}

TcxTab* TcxTabs::GetTab(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError("GetTab", Index);
  return FItems[Index];
}

TcxTab* TcxTabs::GetVisibleTab(int VisibleIndex) const {
  const int count = VisibleTabCount();
  if (VisibleIndex < 0 || VisibleIndex >= count)
    throw Exception("TcxTabs.GetVisibleTab: " +
                    Format(cxPCResString(scxPCVisibleTabIndexError), VisibleIndex, count - 1));
  return FControl->GetVisibleTabList()->GetTab(VisibleIndex);
}

int TcxTabs::VisibleTabCount() const {
  return FControl->GetVisibleTabList()->Count();
}

void TcxTabs::RenumberTabs(int First, int Last) {
  for (int i = First; i <= Last; ++i)
    FItems[i]->FIndex = i;
}

void TcxTabs::Insert(int Index, const String& S) {
  if (Index < 0 || Index > GetCount()) IndexError("Insert", Index);
  auto* tab = new TcxTab(this, Index);
  FItems.insert(FItems.begin() + Index, tab);
  RenumberTabs(Index + 1, GetCount() - 1);
  tab->SetCaptionSilently(S);
  FControl->TrackingTab = -1;
  if (!FControl->IsLoading() && FControl->FTabIndex == -1 && GetCount() == 1) FControl->FTabIndex = 0;
  FControl->GetVisibleTabList()->Rebuild();
  Changed(-1, tckLayout);
}

void TcxTabs::Delete(int Index) {
  if (FDeleting) return;
  if (!FNotifying && (Index < 0 || Index >= GetCount())) IndexError("Delete", Index);
  FDeleting = true;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } clear{FDeleting};
  if (!FNotifying) delete FItems[Index];
  FItems.erase(FItems.begin() + Index);
  RenumberTabs(Index, GetCount() - 1);
  FControl->TrackingTab = -1;
  FControl->GetVisibleTabList()->Rebuild();
  Changed(-1, tckLayout);
}

void TcxTabs::TabDestroying(int Index, bool Keep) {
  FNotifying = true;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } clear{FNotifying};
  if (!Keep) Delete(Index);
}

void TcxTabs::Clear() {
  while (!FItems.empty())
    delete FItems.back();
  Changed(-1, tckLayout);
}

void TcxTabs::Changed(int VisibleIndex, TcxTabChangeKind Kind) {
  if (FControl->IsLoadingOrDestroying()) return;
  if (VisibleIndex == -1 || Kind == tckLayout)
    FControl->RecalculateTabs();
  else
    FControl->GetPainter()->RepaintTab(VisibleIndex, Kind);
}

void TcxTabs::SetHotTab(int VisibleIndex) {
  const int old = FControl->HotTab;
  if (VisibleIndex == old) return;
  FControl->HotTab = VisibleIndex;
  if (old != -1) Changed(old, tckHot);
  if (VisibleIndex != -1) Changed(VisibleIndex, tckHot);
}

void TcxTabs::UpdateSelectedVisibleIndex() {
  const int count = VisibleTabCount();
  int old = FControl->SelectedVisibleIndex;
  if (old >= count) old = -1;
  int value = -1;
  if (FControl->GetTabIndex() != -1) {
    FControl->GetVisibleTabList()->Find(FControl->GetTabIndex(), value);
    if (value == count) value = count - 1;
  }
  FControl->SelectedVisibleIndex = value;
  if (value == old) return;
  if (old != -1) Changed(old, tckMainSelection);
  if (value != -1) Changed(value, tckMainSelection);
}

void TcxTabs::SetTrackingTab(int VisibleIndex) {
  const int count = VisibleTabCount();
  int old = FControl->TrackingTab;
  if (old < 0 || old >= count) old = -1;
  if (VisibleIndex < 0 || VisibleIndex >= count) VisibleIndex = -1;
  FControl->TrackingTab = VisibleIndex;
  if (old != VisibleIndex) {
    if (old != -1) Changed(old, tckTracking);
    if (VisibleIndex != -1) Changed(VisibleIndex, tckTracking);
  }
  if (VisibleIndex == -1 || FControl->GetMultiLine()) return;
  FControl->ShowTab(VisibleIndex);
  FControl->RecalculateTabs();
  FControl->UpdateHotState(KeyboardStateToShiftState());
}

void TcxTabs::FreeCaptionBitmaps() {
  for (TcxTab* tab : FItems)
    tab->FreeCaptionBitmap();
}

void TcxTabs::RepaintImageTabs() {
  for (TcxTab* tab : FItems)
    tab->RepaintIfImage();
}

// ---- TcxVisibleTabList ----

TcxTab* TcxVisibleTabList::GetTab(int VisibleIndex) const {
  if (FItems.empty()) throw Exception("TcxVisibleTabList.GetTab: " + cxPCResString(scxPCNoVisibleTabs));
  if (VisibleIndex < 0 || VisibleIndex >= Count())
    throw Exception("TcxVisibleTabList.GetTab: " +
                    Format(cxPCResString(scxPCVisibleTabIndexError), VisibleIndex, Count() - 1));
  return FControl->GetTabs()->GetTab(FItems[VisibleIndex]);
}

bool TcxVisibleTabList::Find(int TabIndex, int& Position) const {
  const int count = Count();
  if (count == 0) return (Position = 0), false;
  if (TabIndex <= FItems.front()) return (Position = 0), TabIndex == FItems.front();
  if (TabIndex >= FItems.back()) {
    Position = TabIndex == FItems.back() ? count - 1 : count;
    return TabIndex == FItems.back();
  }
  int low = 0;
  int high = count - 1;
  while (high - low > 1) {
    const int middle = (low + high) / 2;
    if (FItems[middle] == TabIndex) return (Position = middle), true;
    if (TabIndex < FItems[middle])
      high = middle;
    else
      low = middle;
  }
  Position = high;
  return false;
}

void TcxVisibleTabList::Add(int TabIndex) {
  int position;
  if (!Find(TabIndex, position)) FItems.insert(FItems.begin() + position, TabIndex);
}

void TcxVisibleTabList::Remove(int TabIndex) {
  int position;
  if (Find(TabIndex, position)) FItems.erase(FItems.begin() + position);
}

int TcxVisibleTabList::IndexOf(int TabIndex) const {
  int position;
  return Find(TabIndex, position) ? position : -1;
}

void TcxVisibleTabList::Rebuild() {
  FItems.clear();
  TcxTabs* tabs = FControl->GetTabs();
  for (int i = 0; i < tabs->GetCount(); ++i)
    if (tabs->GetTab(i)->GetVisible()) FItems.push_back(i);
}
