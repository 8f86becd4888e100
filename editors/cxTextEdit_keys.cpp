#include "cxTextEdit.h"

#include "SysUtils.h"

namespace {

bool IsListStyle(TcxTextEditingStyle AStyle) {
  return AStyle == tesMatchItem || AStyle == tesListOnly;
}

// Where a navigation key moves in the items.
bool NavigationDirection(WORD Key, TShiftState Shift, TcxEditLookupDirection& ADirection) {
  const bool ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
  case VK_PRIOR:
    ADirection = ctrl ? ldFirst : ldPageUp;
    return true;
  case VK_NEXT:
    ADirection = ctrl ? ldLast : ldPageDown;
    return true;
  case VK_END:
    ADirection = ldLast;
    return true;
  case VK_HOME:
    ADirection = ldFirst;
    return true;
  case VK_UP:
    ADirection = ldPrevious;
    return true;
  case VK_DOWN:
    ADirection = ldNext;
    return true;
  default:
    return false;
  }
}

// The text without its last character, a double-byte one taken whole.
String WithoutLastChar(const String& AText) {
  if (AText.empty()) return AText;
  size_t last = 0;
  for (size_t i = 0; i < AText.size(); ++i) {
    last = i;
    if (IsDBCSLeadByte(static_cast<BYTE>(AText[i])) && i + 1 < AText.size()) ++i;
  }
  return AText.substr(0, last);
}

} // namespace

// ---- Keys ----

bool TcxCustomTextEdit::IsEditingKey(WORD Key, TShiftState Shift) {
  if (TcxCustomEdit::IsEditingKey(Key, Shift) || Key == VK_BACK || Key == VK_DELETE) return true;
  if (!FLookupData || FLookupData->IsEmpty() || !CanChangeLookupItem(false)) return false;
  if (Key == VK_PRIOR || Key == VK_NEXT) return !HasPopupWindow();
  if (Key == VK_UP || Key == VK_DOWN) return !Shift.Contains(ssAlt) && !HasPopupWindow();
  return false;
}

bool TcxCustomTextEdit::IsEditingChar(char Ch) {
  const auto c = static_cast<unsigned char>(Ch);
  return c == 8 || c == 22 || c == 24 || c >= 32;
}

bool TcxCustomTextEdit::IsCharAllowed(char Ch) {
  return TcxCustomEdit::IsCharAllowed(Ch) ||
         GetActiveProperties()->ValidChars.test(static_cast<unsigned char>(Ch));
}

void TcxCustomTextEdit::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  TcxControlGuard guard(this);
  if (style == tesListOnly && (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_DELETE)) {
    SetAutoCompleteSelection(false);
    if (OnUnhandledKey) OnUnhandledKey(this, Key, Shift);
    Key = 0;
    return;
  }
  if (inner) inner->SetKeyEatenByContainer(true);
  const WORD key = Key;
  const bool autoComplete = FAutoCompleteSelection;
  TcxCustomEdit::HandleEditKeyDown(Key, Shift);
  if (!guard.Alive()) return;
  if (key == VK_RETURN && autoComplete) SelectAll();
  if (Key != 0) NavigateByKey(Key, Shift);
  if (!guard.Alive()) return;
  if (Key == VK_END && GetEditSelLength() == 0 && style != tesListOnly) SetAutoCompleteSelection(false);
  if (Key != 0 && inner) inner->SetKeyEatenByContainer(false);
}

void TcxCustomTextEdit::NavigateByKey(WORD& Key, TShiftState Shift) {
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  TcxControlGuard guard(this);
  switch (Key) {
  case VK_LEFT:
  case VK_RIGHT:
    if (!Shift.Contains(ssShift) && GetEditSelLength() > 0) {
      const int start = GetEditSelStart();
      SetSelection(Key == VK_RIGHT ? start + GetEditSelLength() : start, 0);
      Key = 0;
    }
    SetAutoCompleteSelection(false);
    return;
  case VK_PRIOR:
  case VK_NEXT:
  case VK_UP:
  case VK_DOWN:
  case VK_HOME:
  case VK_END: {
    const bool homeEnd = Key == VK_HOME || Key == VK_END;
    if (homeEnd && style != tesListOnly) return;
    TcxEditLookupDirection direction;
    if (FLookupData && CanChangeLookupItem(false) && !FLookupData->IsEmpty() &&
        NavigationDirection(Key, Shift, direction)) {
      const int prevKey = FLookupData->GetCurrentKey();
      LockItemNotifications(true);
      FLookupData->NavigateLookupItems(direction, false);
      if (!guard.Alive()) return;
      LockItemNotifications(false);
      PostLookupChange(prevKey, true);
      Key = 0;
    }
    if (!guard.Alive() || homeEnd || Key == 0) return;
    if (InnerTextEdit() && !InnerTextEdit()->GetMultiLine()) {
      if (OnUnhandledKey) OnUnhandledKey(this, Key, Shift);
      Key = 0;
    }
    return;
  }
  case VK_DELETE:
    if (style == tesMatchItem) {
      if (OnUnhandledKey) OnUnhandledKey(this, Key, Shift);
      Key = 0;
    } else {
      SetAutoCompleteSelection(false);
    }
    return;
  }
}

// After the lookup data moved: the item's click and an immediate post.
void TcxCustomTextEdit::PostLookupChange(int APrevKey, bool AFound) {
  if (!FLookupData || FLookupData->GetCurrentKey() == APrevKey) return;
  TcxControlGuard guard(this);
  NotifyItemSelected();
  if (!guard.Alive()) return;
  LockChangeEvents(true);
  try {
    if (AFound && CanPostEditValue() && GetActiveProperties()->ImmediatePost && ValidateEdit(true)) {
      const bool autoComplete = FAutoCompleteSelection;
      FLookupPosting = true;
      PostEditValue();
      if (guard.Alive()) {
        FLookupPosting = false;
        SetAutoCompleteSelection(autoComplete);
      }
    }
  } catch (...) {
    if (guard.Alive()) {
      FLookupPosting = false;
      LockChangeEvents(false);
    }
    throw;
  }
  if (guard.Alive()) LockChangeEvents(false);
}

void TcxCustomTextEdit::NotifyItemSelected() {
  SetModifiedSinceEnter(true);
  if (FItemNotificationLock == 0) Click();
}

void TcxCustomTextEdit::LockItemNotifications(bool ALock) {
  if (ALock)
    ++FItemNotificationLock;
  else if (FItemNotificationLock > 0)
    --FItemNotificationLock;
}

// ---- Incremental completion ----

void TcxCustomTextEdit::HandleEditKeyPress(char& Key) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner) inner->SetKeyEatenByContainer(true);
  TcxCustomEdit::HandleEditKeyPress(Key);
  if (Key == 0) return;
  TcxCustomTextEditProperties* properties = GetActiveProperties();
  const TcxTextEditingStyle style = properties->GetEditingStyle();
  FLookupTextSetting = false;
  TcxControlGuard guard(this);
  SetUserChange(true);
  if (style == tesListOnly && !properties->GetListSelectionHighlight() && Key == '\b') {
    Key = 0;
    SetAutoCompleteSelection(false);
  }
  const int prevKey = FLookupData ? FLookupData->GetCurrentKey() : -1;
  const bool prevAutoComplete = FAutoCompleteSelection;
  LockItemNotifications(true);
  bool found = false;
  try {
    if (Key == '\b' && FLookupData) HandleLookupBackspace(found, Key);
    if (static_cast<unsigned char>(Key) >= 32 && FLookupData && CanLocate())
      HandleLookupChar(found, Key, prevAutoComplete);
  } catch (...) {
    if (guard.Alive()) {
      LockItemNotifications(false);
      SetUserChange(false);
    }
    throw;
  }
  if (!guard.Alive()) return;
  LockItemNotifications(false);
  SetUserChange(false);
  PostLookupChange(prevKey, found);
  if (!guard.Alive()) return;
  if (found) Key = 0;
  if (Key != 0 && inner) inner->SetKeyEatenByContainer(false);
}

void TcxCustomTextEdit::HandleLookupBackspace(bool& AFound, char& Key) {
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  IcxInnerTextEdit* inner = InnerTextEdit();
  String text;
  GetDisplayText(text);
  if (style == tesMatchItem && !text.empty() && !FAutoCompleteSelection && inner) {
    inner->SetSelLength(static_cast<int>(text.size()) - inner->GetSelStart());
    SetAutoCompleteSelection(true);
  }
  if (FAutoCompleteSelection && inner) {
    String search = WithoutLastChar(text.substr(0, static_cast<size_t>(inner->GetSelStart())));
    FLookupTextSetting = true;
    AFound = LocateAndShow(search);
  }
  if (style == tesListOnly) Key = 0;
}

void TcxCustomTextEdit::HandleLookupChar(bool& AFound, char& Key, bool APrevAutoComplete) {
  TcxCustomTextEditProperties* properties = GetActiveProperties();
  const TcxTextEditingStyle style = properties->GetEditingStyle();
  IcxInnerTextEdit* inner = InnerTextEdit();
  String text;
  GetDisplayText(text);
  const size_t start = inner ? std::min(static_cast<size_t>(inner->GetSelStart()), text.size()) : text.size();
  const bool selection = inner && inner->GetSelLength() > 0;
  String search;
  if (selection)
    search = text.substr(0, start) + Key;
  else if (style == tesListOnly)
    search = String(1, Key);
  else
    search = text.substr(0, start) + Key + text.substr(start);
  FLookupTextSetting = true;
  AFound = LocateAndShow(search);
  if (style == tesListOnly && !properties->GetListSelectionHighlight() && !AFound) {
    search = String(1, Key);
    AFound = LocateAndShow(search);
  }
  if (!IsListStyle(style) || AFound) return;
  Key = 0;
  if ((style == tesMatchItem && !text.empty()) ||
      (style == tesListOnly && properties->GetListSelectionHighlight() && APrevAutoComplete))
    SetAutoCompleteSelection(true);
}

bool TcxCustomTextEdit::CanLocate() {
  if (IsListStyle(GetActiveProperties()->GetEditingStyle())) return true;
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner) return false;
  if (inner->GetSelLength() > 0 || FAutoCompleteSelection) return true;
  String text;
  GetDisplayText(text);
  return inner->GetSelStart() == static_cast<int>(text.size());
}

bool TcxCustomTextEdit::LocateAndShow(String& AText) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  const char imeByte = inner ? inner->GetImeLastChar() : 0;
  if (imeByte) AText += imeByte;
  String tail;
  const bool found = FLookupData->Locate(AText, tail, false);
  if (found && imeByte && !AText.empty()) {
    tail.insert(tail.begin(), AText.back());
    AText.pop_back();
  }
  FAutoCompleteSelection = found;
  TcxControlGuard guard(this);
  if (AText.empty()) {
    if (GetActiveProperties()->GetEditingStyle() != tesListOnly) ApplyDisplayValue(Variant(String()));
    if (!guard.Alive()) return false;
    FAutoCompleteSelection = false;
  }
  if (found) {
    GetDataBinding()->SetDisplayValue(Variant(AText + tail));
    SetSelection(static_cast<int>(AText.size()), static_cast<int>(tail.size()));
  }
  RefreshViewInfoText();
  return found;
}

// ---- The lookup items by wheel and by choice ----

bool TcxCustomTextEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TcxCustomEdit::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const bool result = CanChangeLookupItem(true) && !HasPopupWindow() && FLookupData &&
                      !FLookupData->IsEmpty() && CanUseMouseWheel(Shift);
  if (!result || !QueryEditing()) return result;
  const int prevKey = FLookupData->GetCurrentKey();
  TcxControlGuard guard(this);
  LockChangeEvents(true);
  LockItemNotifications(true);
  FLookupData->NavigateLookupItems(WheelDelta > 0 ? ldPrevious : ldNext, false);
  if (!guard.Alive()) return true;
  LockItemNotifications(false);
  LockChangeEvents(false);
  if (guard.Alive()) PostLookupChange(prevKey, true);
  return true;
}

void TcxCustomTextEdit::LookupKeyToEditValue(int AKey, Variant& EditValue) {
  String text;
  if (FLookupData) text = FLookupData->GetItemTextByKey(AKey);
  MakeEditValue(Variant(text), EditValue, false);
}

void TcxCustomTextEdit::LookupKeyChanged() {
  if (!FLookupData) return;
  Variant value;
  LookupKeyToEditValue(FLookupData->GetCurrentKey(), value);
  if (VarEqualsSameType(value, GetEditValueRef())) return;
  if (!QueryEditing()) return;
  TcxControlGuard guard(this);
  const Variant previous = GetEditValueRef();
  PushModifiedState();
  try {
    SetEditValue(value);
  } catch (...) {
    if (guard.Alive()) PopModifiedState();
    throw;
  }
  if (!guard.Alive()) return;
  PopModifiedState();
  if (!VarEqualsSameType(previous, GetEditValueRef())) SetModifiedSinceEnter(true);
  SelectAll();
  UpdateMouseStateAtCursor(false);
}
