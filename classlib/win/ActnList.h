// Actions: commands shared by buttons and menu items, with their shortcut
// keys and enabled state kept up to date while the program idles.
#pragma once

#include "ShortCuts.h"

#include "Controls.h"

#include <vector>

TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+Shift+F5", "Alt+Enter"; the empty text for 0.
String ShortCutToText(TShortCut ShortCut);
// The reverse of ShortCutToText (letter case ignored); 0 for unknown text.
TShortCut TextToShortCut(const String& Text);

class TBasicActionLink;

class TBasicAction : public TComponent {
public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;
  // Runs OnExecute; true when something handled the action.
  virtual bool Execute();
  // Runs OnUpdate; true when something updated the action.
  virtual bool Update();
  // Actions that act on a control (the focused edit, say) name the targets
  // they serve and what they do to or ask of one.
  virtual bool HandlesTarget(TObject* Target) {
    (void)Target;
    return false;
  }
  virtual void ExecuteTarget(TObject* Target) { (void)Target; }
  virtual void UpdateTarget(TObject* Target) { (void)Target; }
  TComponent* ActionComponent = nullptr;
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);

protected:
  String ClassName() const override { return "TBasicAction"; }
  std::vector<TBasicActionLink*> FClients;
};

class TBasicActionLink {
public:
  virtual ~TBasicActionLink();
  TBasicAction* GetAction() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  virtual bool Execute(TComponent* AComponent);
  virtual bool Update();
  // The client's OnClick is the action's OnExecute.
  virtual bool IsOnExecuteLinked() { return true; }

protected:
  friend class TBasicAction;
  friend class TCustomAction;
  virtual void Change() {}
  virtual void SetCaption(const String&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHint(const String&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
  TBasicAction* FAction = nullptr;
};

class TCustomActionList;

class TContainedAction : public TBasicAction {
public:
  using TBasicAction::TBasicAction;
  ~TContainedAction() override;
  TCustomActionList* GetActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* value);
  String Category;
  bool Execute() override;
  bool Update() override;

private:
  TCustomActionList* FActionList = nullptr;
};

// The hint about to show for a client of the action; CanShow false hides it.
using THintEvent = std::function<void(String& HintStr, bool& CanShow)>;

class TCustomAction : public TContainedAction {
public:
  using TContainedAction::TContainedAction;
  bool Execute() override;
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& value);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool value);
  const String& GetHint() const { return FHint; }
  void SetHint(const String& value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool value);
  bool AutoCheck = false;
  int GroupIndex = 0;
  int HelpContext = 0;
  THintEvent OnHint;
  // Lets OnHint change the hint of a client; false when it may not show.
  bool DoHint(String& HintStr) {
    bool canShow = true;
    if (OnHint) OnHint(HintStr, canShow);
    return canShow;
  }

protected:
  String ClassName() const override { return "TCustomAction"; }

private:
  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  String FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  bool FVisible = true;
};

class TAction : public TCustomAction {
public:
  using TCustomAction::TCustomAction;

protected:
  String ClassName() const override { return "TAction"; }
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

class TCustomImageList;

class TCustomActionList : public TComponent {
public:
  using TComponent::TComponent;
  ~TCustomActionList() override;
  int GetActionCount() const { return static_cast<int>(FActions.size()); }
  TContainedAction* GetAction(int index) const { return FActions[index]; }
  // Runs the action of a shortcut key message (CN_KEYDOWN); true when one ran.
  bool IsShortCut(TMessage& Message);
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  TCustomImageList* Images = nullptr;
  TActionEvent OnExecute;
  TActionEvent OnUpdate;

protected:
  friend class TContainedAction;
  void AddAction(TContainedAction* Action) { FActions.push_back(Action); }
  void RemoveAction(TContainedAction* Action);
  String ClassName() const override { return "TCustomActionList"; }

private:
  std::vector<TContainedAction*> FActions;
};

class TActionList : public TCustomActionList {
public:
  using TCustomActionList::TCustomActionList;
};

// The link of a control to its action: the action's properties flow to the
// control, the control's click runs the action.
class TControlActionLink : public TBasicActionLink {
public:
  explicit TControlActionLink(TControl* client) : FClient(client) {}
  bool IsOnExecuteLinked() override;

protected:
  void SetCaption(const String& value) override;
  void SetEnabled(bool value) override;
  void SetHint(const String& value) override;
  void SetVisible(bool value) override;
  void SetChecked(bool value) override;

private:
  TControl* FClient;
};
