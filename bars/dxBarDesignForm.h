// What the customizing dialog offers only while its manager is being
// designed: the All commands page (every command with its name, caption and
// shortcut), the Groups page (bar groups and their members), and the
// designer's branches of the Commands page (the "... modify" buttons with the
// category and command menus, their keys, category dragging). The dialog
// makes one when its manager is designed; everything here tells the host's
// designer hook what the user selected or changed.
#pragma once

#include "dxBar.h"

#include "Forms.h"

#include <vector>

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TListBox;
class TSpeedButton;
class TTabSheet;
class TdxBarCustomizingForm;
class TdxBarDesignerHook;

class TdxBarCustomizingFormDesign {
public:
  explicit TdxBarCustomizingFormDesign(TdxBarCustomizingForm* AForm);

  // ---- All commands ----
  TTabSheet* TabSheet4 = nullptr;
  TListBox* LAllCommands = nullptr;
  TCheckBox* CBShowCommandsWithShortCut = nullptr;
  void FillAllCommands();
  void CalcAllCommandsColumns();
  void LAllCommandsClick();
  int NameWidth() const { return FNameWidth; }
  int CaptionWidth() const { return FCaptionWidth; }

  // ---- Groups ----
  TTabSheet* TabSheet5 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TListBox* lbGroups = nullptr;
  TButton* btnGroupAdd = nullptr;
  TButton* btnGroupDelete = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TListBox* lbGroupItems = nullptr;
  TButton* btnGroupItemAdd = nullptr;
  TButton* btnGroupItemDelete = nullptr;
  TSpeedButton* btnMoveUp = nullptr;
  TSpeedButton* btnMoveDown = nullptr;
  void FillGroups();
  void RefreshGroups() { FillGroups(); }
  void FillGroupItems();
  void RefreshGroupItems();
  void UpdateGroupButtons();
  TdxBarGroup* GetSelectedGroup();
  std::vector<TComponent*> GetSelectedGroupItems();
  void SelectGroup(TdxBarGroup* Group);
  void SelectGroupItems(const std::vector<TComponent*>& Items);
  bool GroupMembersActive() const { return FGroupMembersActive; }

  void btnGroupAddClick();
  void btnGroupDeleteClick();
  void btnGroupItemAddClick();
  void btnGroupItemDeleteClick();
  void btnMoveUpClick();
  void btnMoveDownClick();

  // ---- Commands page: categories and commands (Insert, Delete, Ctrl+Up,
  // Ctrl+Down and a double click on the lists) ----
  void CategoriesAddClick();
  void CategoriesInsertClick();
  void CategoriesRenameClick();
  void CategoriesDeleteClick();
  void CommandsAddClick();
  void CommandsDeleteClick();
  void CommandsClearClick();
  void MoveCommand(int Delta);
  // Set while commands are deleted: the item notifications leave the rows.
  bool Deleting() const { return FDeleting; }

  // The All commands and Groups branches of the dialog's page change; false
  // for the other pages.
  bool PageChanged();
  void SyncDesignerWithManager();

private:
  TdxBarDesignerHook* Hook() const;
  void CreateAllCommandsPage();
  void CreateGroupsPage();
  void HookCommandsPage();
  TdxBarItem* SelectedCommand();
  void SyncDesignerWithGroup(bool Refill);
  void SyncDesignerWithGroupItems();
  void BeginGroupsUpdate() { ++FGroupsUpdate; }
  void EndGroupsUpdate();
  void DrawAllCommandsRow(int Index, const TRect& Rect);
  void MoveGroupItems(int Delta);

  TdxBarCustomizingForm* FForm;
  TdxBarManager* FBarManager;
  int FNameWidth = 0;
  int FCaptionWidth = 0;
  int FShortCutWidth = 0;
  int FGroupsUpdate = 0;
  bool FReselecting = false;
  bool FGroupMembersActive = false;
  bool FDeleting = false;
};

// The add-item dialog: a new item of a registered class in a category, with
// a name and a caption; none when cancelled.
class TdxBarItemAddEditor : public TForm {
public:
  explicit TdxBarItemAddEditor(TdxBarManager* ABarManager);
  TComboBox* ComboBox1 = nullptr; // the item class
  TComboBox* ComboBox2 = nullptr; // the category
  TEdit* Edit1 = nullptr;         // the name
  TEdit* Edit2 = nullptr;         // the caption
  TButton* BOk = nullptr;
  TButton* BCancel = nullptr;
  TdxBarItem* CreatedItem = nullptr;
  void ComboBox1Click();

protected:
  String ClassName() const override { return "TdxBarItemAddEditor"; }

private:
  void BOkClick();
  TdxBarManager* FBarManager;
};
TdxBarItem* AddBarItemDialog(TdxBarManager* BarManager, int Category);
