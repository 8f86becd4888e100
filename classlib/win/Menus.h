// Menus: items with captions, shortcuts and actions, built into Win32 menus.
#pragma once

#include "ActnList.h"

#include <memory>
#include <vector>

class TMenu;
class TMenuActionLink;

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& value);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool value);
  bool RadioItem = false;
  int GroupIndex = 0;
  int ImageIndex = -1;
  String Hint;
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* value);

  int GetCount() const { return static_cast<int>(FItems.size()); }
  TMenuItem* GetItem(int index) const { return FItems[index]; }
  TMenuItem* GetParent() const { return FParent; }
  // Takes the item into this one's sub-items (it stays owned by its owner).
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Remove(TMenuItem* Item);
  // Frees the sub-item.
  void Delete(int Index);
  void Clear();
  int IndexOf(TMenuItem* Item) const;
  bool IsLine() const { return FCaption == "-"; }

  virtual void Click();
  void InitiateAction();
  TNotifyEvent OnClick;

  // The Win32 menu of the sub-items (built on demand).
  HMENU GetHandle();
  UINT GetCommand() const { return FCommand; }

protected:
  friend class TMenu;
  friend class TMenuActionLink;
  String ClassName() const override { return "TMenuItem"; }
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void MenuChanged();
  void AppendTo(HMENU menu);
  void RebuildHandle();
  TMenuItem* FindCommand(UINT command);
  TMenuItem* FindShortCut(TShortCut sc);
  void UpdateItemsInner();

  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  TShortCut FShortCut = 0;
  UINT FCommand;
  HMENU FHandle = nullptr;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;
  std::vector<TMenuItem*> FItems;
  std::unique_ptr<TMenuActionLink> FActionLink;
};

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  TMenuItem* GetItems() const { return FItems.get(); }
  virtual HMENU GetHandle() { return FItems->GetHandle(); }
  // Runs the item of a shortcut key message; true when one ran.
  bool IsShortCut(TMessage& Message);
  // Runs the item of a WM_COMMAND from a menu; true when it was one of ours.
  static bool DispatchCommand(UINT command);
  static bool DispatchOwnerDraw(TMessage& Message);
  void UpdateItems();

protected:
  friend class TMenuItem;
  virtual void MenuChanged() {}
  String ClassName() const override { return "TMenu"; }

private:
  std::unique_ptr<TMenuItem> FItems;
};

class TMainMenu : public TMenu {
public:
  using TMenu::TMenu;
  HMENU GetHandle() override;

protected:
  void MenuChanged() override;
  String ClassName() const override { return "TMainMenu"; }

private:
  HMENU FMenuBar = nullptr;
};

class TPopupMenu : public TMenu {
public:
  using TMenu::TMenu;
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* value) { FPopupComponent = value; }
  // Shows the menu at a screen point and runs the chosen item.
  virtual void Popup(int X, int Y);
  TNotifyEvent OnPopup;

protected:
  String ClassName() const override { return "TPopupMenu"; }

private:
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
};
