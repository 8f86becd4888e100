// The toolbar library while a host designs it: the hook through which a
// design environment serves the library, installed by the host (this program
// installs none). Every call happens only while a manager is being designed
// (TComponent::SetDesigning on the manager's form), and only when a hook is
// installed.
#pragma once

#include "Classes.h"

#include <vector>

class TdxBarManager;

class TdxBarDesignerHook {
public:
  virtual ~TdxBarDesignerHook() = default;
  // The designer deletes the item (its destructor then tells the library).
  virtual void DeleteComponent(TdxBarManager* BarManager, TComponent* Item) = 0;
  // The designer selects an item, a bar, a group or the manager.
  virtual void SelectComponent(TdxBarManager* BarManager, TPersistent* Component) = 0;
  virtual TPersistent* GetSelection(TdxBarManager* BarManager) = 0;
  // The designer opens its own editor of the item.
  virtual void EditComponent(TComponent* Item) = 0;
  // A component name not used yet, built from Base.
  virtual String UniqueName(TdxBarManager* BarManager, const String& Base) = 0;
  // The design of the manager (and so of its form) changed.
  virtual void Modified(TdxBarManager* BarManager) = 0;
};

// The installed hook, or none. The host keeps ownership.
TdxBarDesignerHook* BarDesignerHook();
void SetBarDesignerHook(TdxBarDesignerHook* Hook);

// The hook when the manager is being designed and one is installed, else none.
TdxBarDesignerHook* DesignerHookOf(TdxBarManager* BarManager);

// ---- Editors a host's designer opens ----

#include "Forms.h"

class TdxBarItemLinks;
class TdxBarSubMenuControl;
class TdxBarGroup;
class TListBox;
class TButton;
class TPanel;

// A caption-only window that holds the menu of a sub item's or container
// item's links open beneath it, so that links can be dragged into, out of and
// within that menu while customizing. One at most exists in the process.
class TdxBarSubMenuEditor : public TForm {
public:
  TdxBarSubMenuEditor();
  ~TdxBarSubMenuEditor() override;

  TdxBarItemLinks* GetItemLinks() const { return FItemLinks; }
  // None frees the editor.
  void SetItemLinks(TdxBarItemLinks* Value);
  // The menu window of the links while it is open.
  TdxBarSubMenuControl* GetMenuWindow() const;

  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void FormActivate();
  void PlaceMenu(TdxBarSubMenuControl* Menu);
  TdxBarItemLinks* FItemLinks = nullptr;
  TComponent* FLinksOwner = nullptr;
  int FMenuWidth = 0;
};

// The open sub-menu editor, or none.
TdxBarSubMenuEditor* ActiveSubMenuEditor();
// Opens the editor (or switches the open one) on the links; the links'
// manager enters customizing mode.
void ShowSubMenuEditor(TdxBarItemLinks* ItemLinks);
// Frees the open editor, if any, when it edits links of the manager (none:
// whatever it edits); customizing of the manager ends.
void CloseSubMenuEditor(TdxBarManager* BarManager = nullptr);

// A modal list of the manager's other groups and of the items of every
// category, from which the user picks members for a bar group.
class TfrmAddGroupItems : public TForm {
public:
  explicit TfrmAddGroupItems(TdxBarGroup* Group);
  ~TfrmAddGroupItems() override;

  TListBox* lbGroupItems = nullptr;
  TPanel* pnlButtons = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnCancel = nullptr;
  // Receives the chosen groups and items when the dialog closes with OK.
  std::vector<TComponent*>* ResultList = nullptr;

private:
  void Fill();
  void FormCloseQuery(bool& CanClose);
  void DrawRow(int Index, const TRect& Rect, bool Selected);
  static LRESULT CALLBACK ListProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  TdxBarGroup* FGroup;
  WNDPROC FPrevListProc = nullptr;
};

// True when the user confirmed; the chosen groups and items were then
// appended to List in row order.
bool AddGroupItemsDialog(TdxBarGroup* Group, std::vector<TComponent*>& List);
