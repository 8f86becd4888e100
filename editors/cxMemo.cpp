#include "cxMemo.h"

#include "cxEditPaintUtils.h"
#include "cxEditStringIds.h"

#include <algorithm>

namespace {

const TResStringRec scxSEditRepositoryMemoItem = {nullptr, IDS_scxSEditRepositoryMemoItem};

// The display text outside editing is the first line, and never more than
// this many characters.
constexpr size_t kMaxShortDisplayText = 250;

} // namespace

// ---- TcxCustomMemoProperties ----

TcxCustomMemoProperties::TcxCustomMemoProperties(TPersistent* AOwner) : TcxCustomTextEditProperties(AOwner) {
  GetAlignment()->SetVert(taTopJustify);
  SetAutoSelect(false);
}

void TcxCustomMemoProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomMemoProperties*>(Source);
  if (!source) return TcxCustomTextEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomTextEditProperties::Assign(Source);
    SetScrollBars(source->FScrollBars);
    SetWantReturns(source->FWantReturns);
    SetWantTabs(source->FWantTabs);
    SetWordWrap(source->FWordWrap);
  } catch (...) {
    EndUpdate(true);
    throw;
  }
  EndUpdate(true);
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomMemoProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomMemoViewData>(this, AStyle, AIsInplace);
}

TcxClassRef TcxCustomMemoProperties::GetContainerClass() const {
  return cxClassRef<TcxMemo>();
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomMemoProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomMemoViewInfo>();
}

void TcxCustomMemoProperties::EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) {
  TcxCustomTextEditProperties::EditValueToDisplayText(EditValue, AFullText, Text);
  if (AFullText) return;
  const size_t lineEnd = Text.find_first_of("\r\n");
  Text = Text.substr(0, std::min(lineEnd, kMaxShortDisplayText));
}

int TcxCustomMemoProperties::GetEditValueSource(bool) const {
  IcxEditDefaultValuesProvider* provider = GetDefaultValuesProvider();
  return provider && provider->DefaultIsMemo() ? 0 : 1;
}

// ---- View data and view info ----

void TcxCustomMemoViewInfo::PaintText(TcxCanvas* ACanvas) {
  DrawMemoText(ACanvas, this);
}

int TcxCustomMemoViewData::GetDrawTextFlags() const {
  static const int kHorz[] = {trhLeft, trhRight, trhCenter};
  auto* properties = static_cast<TcxCustomMemoProperties*>(GetProperties());
  const TScrollStyle bars = properties->GetScrollBars();
  const bool wraps = properties->GetWordWrap() && (bars == ssNone || bars == ssVertical);
  return kHorz[HorzAlignment] | trClampLeft |
         (wraps ? trWordBreak | trWholeRowsOnly | trCharBreak : trWholeRowsOnly);
}

void TcxCustomMemoViewData::GetTextRect(TRect& R) {
  GetMemoTextOffsets(HorzAlignment, R);
}

// ---- TcxCustomMemo ----

TcxCustomMemo::TcxCustomMemo(TComponent* AOwner) : TcxCustomTextEdit(AOwner) {
  SetAutoSize(false);
  SetBounds(GetLeft(), GetTop(), 185, 89);
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomMemo::CreateProperties() {
  return std::make_unique<TcxMemoProperties>(this);
}

IcxCustomInnerEdit* TcxCustomMemo::CreateInnerEdit() {
  auto* inner = new TcxCustomInnerMemo(this);
  inner->SetParent(this);
  return inner->GetHelper();
}

TcxCustomInnerMemo* TcxCustomMemo::GetInnerMemo() const {
  IcxCustomInnerEdit* inner = GetInnerEdit();
  return inner ? static_cast<TcxCustomInnerMemo*>(inner->GetControl()) : nullptr;
}

TStrings* TcxCustomMemo::GetLines() {
  AfterConstruction();
  return GetInnerMemo()->GetLines();
}

void TcxCustomMemo::Loaded() {
  TcxCustomTextEdit::Loaded();
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (inner && inner->GetLines()->GetCount() > 0) SetEditValue(Variant(inner->GetText()));
}

void TcxCustomMemo::CreateParams(TCreateParams& Params) {
  TcxCustomTextEdit::CreateParams(Params);
  TcxCustomMemoProperties* properties = GetActiveProperties();
  RemoveMemoRedrawStyles(Params, properties->GetScrollBars(), properties->GetWordWrap());
}

// New windows start with the caret at the start: the selection is given
// back to them.
void TcxCustomMemo::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  TcxCustomInnerMemo* inner = IsInnerEditMissing() ? nullptr : GetInnerMemo();
  bool recreate = false;
  if (inner) {
    TcxCustomMemoProperties* properties = GetActiveProperties();
    recreate =
        properties->GetScrollBars() != inner->ScrollBars || properties->GetWordWrap() != inner->WordWrap;
    inner->ScrollBars = properties->GetScrollBars();
    inner->WantReturns = properties->GetWantReturns();
    inner->WantTabs = properties->GetWantTabs();
    inner->WordWrap = properties->GetWordWrap();
  }
  TcxControlGuard guard(this);
  TcxCustomTextEdit::ApplyPropertiesChange(AProperties);
  if (!guard.Alive() || !recreate || !inner->HandleAllocated()) return;
  const int selStart = inner->GetSelStart();
  const int selLength = inner->GetSelLength();
  if (HandleAllocated())
    RecreateWnd();
  else
    inner->RecreateWnd();
  if (guard.Alive() && inner->HandleAllocated())
    SendMessageA(inner->GetHandle(), EM_SETSEL, selStart, selStart + selLength);
}

void TcxCustomMemo::InitializeViewData(TcxCustomEditViewData* AViewData) {
  TcxCustomTextEdit::InitializeViewData(AViewData);
  AViewData->HScrollBar = nullptr;
  AViewData->VScrollBar = nullptr;
}

void TcxCustomMemo::AdjustInnerEditPosition(int) {
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (!inner || FPositionAdjusting) return;
  FPositionAdjusting = true;
  try {
    TRect client = GetViewInfo()->ClientRect;
    TRect r = client;
    InflateRect(&r, -1, -1);
    if (!(inner->GetBoundsRect() == r)) inner->SetBoundsRect(r);
    AlignControls(inner, client);
  } catch (...) {
    FPositionAdjusting = false;
    throw;
  }
  FPositionAdjusting = false;
}

// ---- The own scroll bars ----

void TcxCustomMemo::PostUpdateScrollBars() {
  if (HandleAllocated() && GetInnerMemo() && !IsDestroying() && !IsContainerDestroying(this))
    PostMessageA(GetHandle(), CXM_UPDATESCROLLBARS, 0, 0);
}

void TcxCustomMemo::AdjustInnerScrollBars() {
  if (!GetInnerMemo() || !GetHScrollBar() || IsContainerDestroying(this) || !IsScrollBarInfoAvailable())
    return;
  FScrollBarsAdjusting = true;
  for (TcxControlScrollBar* bar : {GetHScrollBar(), GetVScrollBar()})
    if (PlaceOverNativeScrollBar(bar, true)) bar->BringToFront();
  FScrollBarsAdjusting = false;
}

void TcxCustomMemo::Scroll(TScrollBarKind Kind, TScrollCode Code, int& Pos) {
  TcxCustomTextEdit::Scroll(Kind, Code, Pos);
  TcxCustomInnerMemo* inner = GetInnerMemo();
  if (!inner || !inner->HandleAllocated()) return;
  const HWND wnd = inner->GetHandle();
  if (Kind == sbVertical && (Code == scLineUp || Code == scLineDown)) {
    SendMessageA(wnd, EM_LINESCROLL, 0, Code == scLineUp ? -1 : 1);
  } else {
    TcxControlScrollBar* bar = Kind == sbVertical ? GetVScrollBar() : GetHScrollBar();
    TMessage message{};
    message.Msg = Kind == sbVertical ? WM_VSCROLL : WM_HSCROLL;
    message.WParam = MAKEWPARAM(Code, Pos);
    message.LParam = bar && bar->HandleAllocated() ? reinterpret_cast<LPARAM>(bar->GetHandle()) : 0;
    inner->DefaultHandler(message);
  }
  Pos = GetScrollPos(wnd, Kind == sbVertical ? SB_VERT : SB_HORZ);
  AdjustInnerScrollBars();
}

void TcxCustomMemo::MouseTrackingLeave() {
  TcxCustomTextEdit::MouseTrackingLeave();
  AdjustInnerScrollBars();
}

void TcxCustomMemo::WndProc(TMessage& Message) {
  if (Message.Msg == CXM_UPDATESCROLLBARS) return AdjustInnerScrollBars();
  TcxControlGuard guard(this);
  TcxCustomTextEdit::WndProc(Message);
  if (!guard.Alive()) return;
  switch (Message.Msg) {
  case WM_WINDOWPOSCHANGED:
  case WM_NCCALCSIZE:
  case CM_WININICHANGE:
    PostUpdateScrollBars();
    break;
  case WM_COMMAND:
    if (HIWORD(Message.WParam) == EN_VSCROLL) AdjustInnerScrollBars();
    break;
  }
}

// ---- Keys ----

bool TcxCustomMemo::MakesNewLine(TShiftState Shift) const {
  return Shift.Contains(ssCtrl) != GetActiveProperties()->GetWantReturns();
}

bool TcxCustomMemo::IsEditingKey(WORD Key, TShiftState Shift) {
  TcxCustomMemoProperties* properties = GetActiveProperties();
  return TcxCustomTextEdit::IsEditingKey(Key, Shift) ||
         (Key == VK_RETURN && (properties->GetWantReturns() || Shift.Contains(ssCtrl))) ||
         (Key == VK_TAB && properties->GetWantTabs());
}

// In place, the host never sees an Enter that the memo turns into a line.
void TcxCustomMemo::KeyDown(WORD& Key, TShiftState Shift) {
  if (GetIsInplace() && Key == VK_RETURN && MakesNewLine(Shift)) return HandleEditKeyDown(Key, Shift);
  TcxCustomTextEdit::KeyDown(Key, Shift);
}

void TcxCustomMemo::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  TcxCustomTextEdit::HandleEditKeyDown(Key, Shift);
  if (!guard.Alive() || Key != 'A' || !Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return;
  if (GetInnerMemo()->GetLines()->GetCount() == 0) return;
  SelectAll();
  if (OnUnhandledKey) OnUnhandledKey(this, Key, Shift);
  Key = 0;
}

void TcxCustomMemo::InnerEditChanged(TObject* Sender) {
  TcxControlGuard guard(this);
  TcxCustomTextEdit::InnerEditChanged(Sender);
  if (guard.Alive()) PostUpdateScrollBars();
}

// ---- Selection and clipboard ----

void TcxCustomMemo::FinishSelectionChange() {
  if (IsUserChange()) return;
  TcxControlGuard guard(this);
  ResetAutoCompleteSelection();
  StoreDisplayText();
  if (guard.Alive()) SetModified(false);
}

void TcxCustomMemo::ClearSelection() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || inner->GetSelLength() == 0) return;
  if (IsUserChange() && !QueryEditing()) return;
  FClearing = true;
  SendMessageA(GetInnerMemo()->GetHandle(), WM_CLEAR, 0, 0);
  FClearing = false;
  FinishSelectionChange();
}

void TcxCustomMemo::CutToClipboard() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || inner->GetSelLength() == 0) return;
  inner->CopyToClipboard();
  ClearSelection();
}

void TcxCustomMemo::ReplaceSelText(const String& Text) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner) return;
  String text = Text;
  const int maxLength = GetActiveProperties()->GetMaxLength();
  if (IsUserChange() && maxLength > 0) {
    const int before =
        WideLength(GetInnerMemo()->GetText().substr(0, static_cast<size_t>(inner->GetSelStart())));
    if (before + WideLength(text) > maxLength) {
      if (maxLength - before <= 0) return;
      text = CutToUnits(text, maxLength - before);
    }
  }
  if (text.empty() || (IsUserChange() && !QueryEditing())) return;
  inner->SetSelText(text);
  FinishSelectionChange();
}

// ---- Registration ----

void cxMemoInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxMemoProperties>(),
                                     LoadLibraryResString(&scxSEditRepositoryMemoItem));
}

void cxMemoFinalize() {
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxMemoProperties));
}
