#include "ActnList.h"

#include "Forms.h"
#include "StdCtrls.h"

#include <algorithm>

// ---- Shortcuts ----

namespace {

struct KeyName {
  WORD key;
  const char* name;
};

constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},        {VK_ESCAPE, "Esc"},    {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"},     {VK_NEXT, "PgDn"},     {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},      {VK_UP, "Up"},         {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},     {VK_DELETE, "Del"},    {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},   {VK_SUBTRACT, "Num -"}, {VK_DECIMAL, "Num ."}, {VK_DIVIDE, "Num /"},
};

String KeyToText(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + IntToStr(key - VK_F1 + 1);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
    return "Num " + String(1, static_cast<char>('0' + key - VK_NUMPAD0));
  for (const auto& k : kKeyNames)
    if (k.key == key) return k.name;
  return String();
}

} // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key & 0xFF00) return 0;
  TShortCut sc = Key;
  if (Shift.Contains(ssShift)) sc |= scShift;
  if (Shift.Contains(ssCtrl)) sc |= scCtrl;
  if (Shift.Contains(ssAlt)) sc |= scAlt;
  return sc;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = TShiftState();
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

String ShortCutToText(TShortCut ShortCut) {
  const String name = KeyToText(ShortCut & 0xFF);
  if (name.empty()) return String();
  String text;
  if (ShortCut & scShift) text += "Shift+";
  if (ShortCut & scCtrl) text += "Ctrl+";
  if (ShortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(const String& Text) {
  String rest = Text;
  TShortCut modifiers = 0;
  for (;;) {
    const String upper = UpperCase(rest);
    if (upper.rfind("SHIFT+", 0) == 0) {
      modifiers |= scShift;
      rest = rest.substr(6);
    } else if (upper.rfind("CTRL+", 0) == 0) {
      modifiers |= scCtrl;
      rest = rest.substr(5);
    } else if (upper.rfind("ALT+", 0) == 0) {
      modifiers |= scAlt;
      rest = rest.substr(4);
    } else {
      break;
    }
  }
  if (rest.empty()) return 0;
  for (WORD key = 0x08; key <= 0xFF; ++key)
    if (SameText(KeyToText(key), rest)) return modifiers | key;
  return 0;
}

// ---- TBasicAction and links ----

TBasicAction::~TBasicAction() {
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    link->FAction = nullptr;
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
}

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  FAction->ActionComponent = AComponent;
  bool result = false;
  try {
    result = FAction->Execute();
  } catch (...) {
    if (FAction) FAction->ActionComponent = nullptr;
    throw;
  }
  if (FAction) FAction->ActionComponent = nullptr;
  return result;
}

bool TBasicActionLink::Update() {
  return FAction && FAction->Update();
}

// ---- Contained and custom actions ----

TContainedAction::~TContainedAction() {
  SetActionList(nullptr);
}

void TContainedAction::SetActionList(TCustomActionList* value) {
  if (value == FActionList) return;
  if (FActionList) FActionList->RemoveAction(this);
  FActionList = value;
  if (FActionList) FActionList->AddAction(this);
}

namespace {

// The active form finds a target for an action that nothing else handled.
bool OfferToActiveForm(UINT Msg, TBasicAction* Action) {
  TCustomForm* form = Screen ? Screen->GetActiveForm() : nullptr;
  return form && form->Perform(Msg, 0, reinterpret_cast<LPARAM>(Action)) == 1;
}

} // namespace

bool TContainedAction::Execute() {
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  if (TBasicAction::Execute()) return true;
  return OfferToActiveForm(CM_ACTIONEXECUTE, this);
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  if (TBasicAction::Update()) return true;
  return OfferToActiveForm(CM_ACTIONUPDATE, this);
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  if (AutoCheck) SetChecked(!FChecked);
  return TContainedAction::Execute();
}

// The clients hear of a change before the action stores it: a client that
// still holds the previous value follows the action, one changed by hand does
// not.
void TCustomAction::SetCaption(const String& value) {
  if (value == FCaption) return;
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    link->SetCaption(value);
  FCaption = value;
}

void TCustomAction::SetChecked(bool value) {
  if (value == FChecked) return;
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    link->SetChecked(value);
  FChecked = value;
  // Checking one action of a group unchecks the others.
  if (value && GroupIndex > 0 && GetActionList()) {
    for (int i = 0; i < GetActionList()->GetActionCount(); ++i) {
      auto* other = dynamic_cast<TCustomAction*>(GetActionList()->GetAction(i));
      if (other && other != this && other->GroupIndex == GroupIndex) other->SetChecked(false);
    }
  }
}

void TCustomAction::SetEnabled(bool value) {
  if (value == FEnabled) return;
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    link->SetEnabled(value);
  FEnabled = value;
}

void TCustomAction::SetHint(const String& value) {
  if (value == FHint) return;
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    link->SetHint(value);
  FHint = value;
}

void TCustomAction::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    link->SetImageIndex(value);
  FImageIndex = value;
}

void TCustomAction::SetShortCut(TShortCut value) {
  if (value == FShortCut) return;
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    link->SetShortCut(value);
  FShortCut = value;
}

void TCustomAction::SetVisible(bool value) {
  if (value == FVisible) return;
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    link->SetVisible(value);
  FVisible = value;
}

// ---- Action lists ----

TCustomActionList::~TCustomActionList() {
  for (TContainedAction* action : std::vector<TContainedAction*>(FActions))
    action->SetActionList(nullptr);
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
  FActions.erase(std::remove(FActions.begin(), FActions.end(), Action), FActions.end());
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  bool handled = false;
  if (OnExecute) OnExecute(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  bool handled = false;
  if (OnUpdate) OnUpdate(Action, handled);
  return handled;
}

bool TCustomActionList::IsShortCut(TMessage& Message) {
  const TShortCut sc = ShortCut(static_cast<WORD>(Message.WParam), KeyDataToShiftState(Message.LParam));
  if (sc == 0) return false;
  for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) {
    auto* action = dynamic_cast<TCustomAction*>(a);
    if (action && action->GetShortCut() == sc) return action->Execute();
  }
  return false;
}

// ---- The link of a control ----

bool TControlActionLink::IsOnExecuteLinked() {
  return !FClient->OnClick;
}

void TControlActionLink::SetCaption(const String& value) {
  FClient->SetCaption(value);
}
void TControlActionLink::SetEnabled(bool value) {
  FClient->SetEnabled(value);
}
void TControlActionLink::SetHint(const String& value) {
  FClient->Hint = value;
}
void TControlActionLink::SetVisible(bool value) {
  FClient->SetVisible(value);
}

void TControlActionLink::SetChecked(bool value) {
  if (auto* box = dynamic_cast<TCustomCheckBox*>(FClient))
    box->SetChecked(value);
  else if (auto* radio = dynamic_cast<TRadioButton*>(FClient))
    radio->SetChecked(value);
}
