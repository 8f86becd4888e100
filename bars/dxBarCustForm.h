// The toolbar customizing dialog: the Toolbars page (show, hide, create,
// rename, delete and reset toolbars), the Commands page (categories and their
// commands, dragged from here onto bars) and the Options page, the painters
// that draw its command rows like the manager's items, and the toolbar-name
// dialog. One dialog at most is open in the process (ActiveCustomizingForm).
#pragma once

#include "Forms.h"
#include "dxBar.h"

#include <memory>

class TBevel;
class TBitBtn;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TListBox;
class TPageControl;
class TPanel;
class TTabSheet;
class TdxBarCustomizingFormDesign;

// ---- Painters of the command rows ----

// Stateless: one object per class, chosen by the dialog from the manager's
// item painter.
class TdxBarCustomizingFormPainter {
public:
  virtual ~TdxBarCustomizingFormPainter() = default;
  virtual void DrawArrow(TCanvas* Canvas, int X, int Y) const;
  virtual TColor GetBackgroundColor(bool Selected, TdxBarItem* Item) const;
  virtual void DrawCommand(TCanvas* Canvas, TRect R, bool Selected, const String& Caption,
                           TdxBarItem* Item) const;
  virtual void DrawEditCommand(TCanvas* Canvas, TRect R, bool Selected, const String& Caption,
                               TdxBarItem* Item) const;
  virtual void DrawFocus(TCanvas* Canvas, const TRect& R, TdxBarItem* Item) const;
  virtual TColor GetTextColor(bool Selected) const;

protected:
  // The common parts of a command row.
  virtual void DrawGlyphCell(TCanvas* Canvas, const TRect& R, bool Selected, TdxBarItem* Item) const;
  virtual void DrawDropDownPart(TCanvas* Canvas, TRect R, bool Selected, TdxBarItem* Item) const;
  void DrawCaption(TCanvas* Canvas, TRect R, const String& Caption, int Indent) const;
  // Returns the room left for the sample edit.
  TRect DrawEditCaption(TCanvas* Canvas, const TRect& R, bool Selected, const String& Caption,
                        TdxBarItem* Item) const;
};
using TdxBarCustomizingFormPainterClass = const TdxBarCustomizingFormPainter*;

class TdxBarCustomizingFormStandardPainter : public TdxBarCustomizingFormPainter {
public:
  static TdxBarCustomizingFormPainterClass Instance();
  void DrawFocus(TCanvas* Canvas, const TRect& R, TdxBarItem* Item) const override;
};

class TdxBarCustomizingFormFlatPainter : public TdxBarCustomizingFormPainter {
public:
  static TdxBarCustomizingFormPainterClass Instance();
  TColor GetBackgroundColor(bool Selected, TdxBarItem* Item) const override;
  void DrawCommand(TCanvas* Canvas, TRect R, bool Selected, const String& Caption,
                   TdxBarItem* Item) const override;
  void DrawEditCommand(TCanvas* Canvas, TRect R, bool Selected, const String& Caption,
                       TdxBarItem* Item) const override;
  TColor GetTextColor(bool Selected) const override;

protected:
  // The steps where the Office 2003 look differs.
  virtual void FillGlyphSquare(HDC DC, const TRect& R) const;
  virtual void FrameSelected(HDC DC, const TRect& R) const;
  virtual void FrameDropDown(HDC DC, const TRect& R) const;
  virtual bool GlyphOverSquare() const { return false; }
  void DrawEditSample(TCanvas* Canvas, TRect Box, bool Selected, TdxBarItem* Item) const;
  virtual void FrameEditBox(HDC DC, const TRect& R) const;
  virtual TColor ComboButtonFrameColor() const;
  virtual TColor ComboButtonColor(bool Selected, TdxBarItem* Item) const;
};

class TdxBarCustomizingFormOffice11Painter : public TdxBarCustomizingFormFlatPainter {
public:
  static TdxBarCustomizingFormPainterClass Instance();
  TColor GetBackgroundColor(bool Selected, TdxBarItem* Item) const override;
  void DrawEditCommand(TCanvas* Canvas, TRect R, bool Selected, const String& Caption,
                       TdxBarItem* Item) const override;
  TColor GetTextColor(bool Selected) const override;

protected:
  void FillGlyphSquare(HDC DC, const TRect& R) const override;
  void FrameSelected(HDC DC, const TRect& R) const override;
  void FrameDropDown(HDC DC, const TRect& R) const override;
  bool GlyphOverSquare() const override { return true; }
  void FrameEditBox(HDC DC, const TRect& R) const override;
  TColor ComboButtonFrameColor() const override;
  TColor ComboButtonColor(bool Selected, TdxBarItem* Item) const override;
};

class TdxBarCustomizingFormXPPainter : public TdxBarCustomizingFormPainter {
public:
  static TdxBarCustomizingFormPainterClass Instance();
  void DrawEditCommand(TCanvas* Canvas, TRect R, bool Selected, const String& Caption,
                       TdxBarItem* Item) const override;
  void DrawFocus(TCanvas* Canvas, const TRect& R, TdxBarItem* Item) const override;

protected:
  // A hot toolbar button behind a selected button's glyph and behind every
  // drop-down part.
  void DrawGlyphCell(TCanvas* Canvas, const TRect& R, bool Selected, TdxBarItem* Item) const override;
  void DrawDropDownPart(TCanvas* Canvas, TRect R, bool Selected, TdxBarItem* Item) const override;
};

// The painter of the dialog for the manager's item painter (identity, the
// Office 2003 painter before the flat one).
TdxBarCustomizingFormPainterClass GetCustomizingFormPainterClass(TdxBarManager* BarManager);

// ---- The dialog ----

class TdxBarCustomizingForm : public TForm {
public:
  explicit TdxBarCustomizingForm(TdxBarManager* ABarManager);
  ~TdxBarCustomizingForm() override;

  TdxBarManager* GetBarManager() const { return FBarManager; }
  TdxBarCustomizingFormPainterClass GetPainterClass() const;
  // Shows or hides the dialog with its owner form.
  void OwnerWindowPosChanged(const WINDOWPOS& Pos);

  void UpdateToolbarButtons();
  void UpdateStyle();
  void UpdateHelpButton();
  void UpdateOptions();
  void LCategoriesClick();
  void LCommandsClick();
  void PageControlChange();
  void RefreshCommands();
  void SelectItem(TdxBarItem* Item, bool Force);
  void ItemsChanged();
  void ItemChanged(TdxBarItem* Item);
  void BarChanged(TdxBar* Bar);
  void BarRemoved(TdxBar* Bar);

  // Components, as the dialog's definition names them.
  TPanel* BottomPanel;
  TButton* BClose;
  TBitBtn* BHelp;
  TPageControl* PageControl;
  TTabSheet* TabSheet1;
  TLabel* LabelToobars;
  TListBox* BarsListBox;
  TButton* BBarNew;
  TButton* BBarRename;
  TButton* BBarDelete;
  TButton* BBarReset;
  TTabSheet* TabSheet2;
  TLabel* LabelCategories;
  TLabel* LabelCommands;
  TListBox* LCategories;
  TListBox* CommandsListBox;
  TLabel* LabelDescription;
  TBevel* Bevel1;
  TLabel* DescriptionLabel;
  TTabSheet* TabSheet3;
  TPanel* StandardOptionsPanel;
  TCheckBox* CBLargeIcons;
  TCheckBox* CBHint1;
  TCheckBox* CBHint2;
  TLabel* LabelMenuAnimations;
  TComboBox* ComboBoxMenuAnimations;
  TPanel* EnhancedOptionsPanel;
  TLabel* Label3;
  TBevel* Bevel3;
  TCheckBox* CBMenusShowRecentItemsFirst;
  TCheckBox* CBShowFullMenusAfterDelay;
  TButton* BResetUsageData;
  TLabel* Label2;
  TBevel* Bevel2;
  TCheckBox* CBLargeIconsEx;
  TCheckBox* CBHint1Ex;
  TCheckBox* CBHint2Ex;
  TLabel* Label1;
  TComboBox* ComboBoxMenuAnimationsEx;
  // The pages and menus of a designed manager's dialog, else none.
  std::unique_ptr<TdxBarCustomizingFormDesign> Design;

  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  String ClassName() const override { return "TdxBarCustomizingForm"; }

private:
  void CreateComponents();
  void CreateToolbarsPage();
  void CreateCommandsPage();
  void CreateOptionsPage();
  void LocalizeOptions();
  int MeasureText(const String& Text);
  void SetMenuAnimationsLabel(TLabel* Label, TComboBox* ComboBox);
  void FillMenuAnimations(TComboBox* ComboBox);
  void FillLists();
  TdxBar* SelectedBar();
  void BBarNewClick();
  void BBarRenameClick();
  void BBarDeleteClick();
  void BBarResetClick();
  void BHelpClick();
  void FormClose(TCloseAction& Action);

  TdxBarManager* FBarManager;
  bool FSelecting = false;
};

// Disables the enabled forms of every bar manager, remembering them, or
// enables exactly the remembered ones that still exist.
void DisableOwnerForms(bool Enable);

// ---- The toolbar-name dialog ----

class TdxBarNameEd : public TForm {
public:
  TdxBarNameEd();
  TLabel* LName;
  TEdit* EName;
  TButton* BOK;
  TButton* BCancel;

protected:
  String ClassName() const override { return "TdxBarNameEd"; }

private:
  friend bool EditBarName(String& Name, int Kind, int Mode, TdxBar* Bar, TdxBarManager* BarManager);
  void ENameChange();
  void FormCloseQuery(bool& CanClose);
  int FKind = 0;
  TdxBarManager* FBarManager = nullptr;
  TdxBar* FBar = nullptr;
};

// Asks for a toolbar name (kind 0; mode 0 "Add Toolbar", 1 "Rename Toolbar")
// or a category name (kind 1); true when confirmed, Name then holding it.
// Bar is the toolbar being renamed, else none.
bool EditBarName(String& Name, int Kind, int Mode, TdxBar* Bar, TdxBarManager* BarManager);
