// The editor options dialog: a language's options, margins, tabs, font,
// style colours and attributes, key assignments, auto-replace list and code
// templates, edited on a copy of the parser's settings that OK writes back.
#pragma once

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <list>
#include <memory>
#include <vector>

class TSyntaxMemoParser;
class TSyntaxMemo;
class TSM_Settings;
class TSM_ColorButton;
class TSpinButton;
class TKeyAssignDialog;

// The objects of SynElementsBox besides style numbers.
enum : int { seSelectedText = 0x4000, seLeftMargin = 0x4001, seGutter = 0x4002 };

class TOptionsDialog : public TForm {
public:
  explicit TOptionsDialog(TComponent* AOwner);
  ~TOptionsDialog() override;

  TSyntaxMemoParser* Parser = nullptr;
  // Bits 0 to 4 show the Options, Highlighting, Key assignments, Auto correct
  // and Code templates pages; true when the dialog closed with OK.
  bool ExecutePages(int pages);
  // The settings being edited while the dialog runs.
  TSM_Settings* GetSettingsCopy() const { return FCopy; }
  bool GetOKRefused() const { return FOKRefused; }

  TPageControl* PageControl1 = nullptr;
  TTabSheet* OptionsPage = nullptr;
  TTabSheet* HighlightingPage = nullptr;
  TTabSheet* KeyMappingsPage = nullptr;
  TTabSheet* AutoCorrectPage = nullptr;
  TTabSheet* TemplatesPage = nullptr;
  // Options.
  TGroupBox* GroupBox4 = nullptr;
  TLabel* Label13 = nullptr;
  TLabel* Label14 = nullptr;
  TCheckBox* WrapLineBox = nullptr;
  TCheckBox* LineNosBox = nullptr;
  TCheckBox* FileNamBox = nullptr;
  TCheckBox* DateBox = nullptr;
  TCheckBox* PageNosBox = nullptr;
  TCheckBox* PrnSynHighlightBox = nullptr;
  TCheckBox* DispWrapBox = nullptr;
  TCheckBox* WrapOverrideBox = nullptr;
  TCheckBox* AutoIndentBox = nullptr;
  TCheckBox* TabColBox = nullptr;
  TCheckBox* SmartFillBox = nullptr;
  TCheckBox* UseTabBox = nullptr;
  TCheckBox* EdLineNosBox = nullptr;
  TCheckBox* MarkWrapBox = nullptr;
  TCheckBox* TitleAsFilenameBox = nullptr;
  TCheckBox* BlockCursorBox = nullptr;
  TCheckBox* WordSelectBox = nullptr;
  TCheckBox* CursorAfterEOLBox = nullptr;
  TCheckBox* ShowAllCharsBox = nullptr;
  TCheckBox* VisRMarginBox = nullptr;
  TCheckBox* VisGutterBox = nullptr;
  TCheckBox* ShowWrapColumnBox = nullptr;
  TLabel* Label15 = nullptr;
  TEdit* IndentStepBox = nullptr;
  TLabel* Label16 = nullptr;
  TEdit* WrapColumnBox = nullptr;
  TLabel* Label11 = nullptr;
  TEdit* TabColumnsBox = nullptr;
  TLabel* DefTabStopLabel = nullptr;
  TEdit* DeftabBox = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label7 = nullptr;
  TEdit* RightMarginWidthBox = nullptr;
  TLabel* Label9 = nullptr;
  TEdit* LeftBorderWidthBox = nullptr;
  TSpinButton* RightMarginSpin = nullptr;
  TSpinButton* GutterWidthSpin = nullptr;
  // Highlighting.
  TLabel* Label3 = nullptr;
  TEdit* LangNameBox = nullptr;
  TLabel* ElementLabel = nullptr;
  TListBox* SynElementsBox = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TCheckBox* UseBoldBox = nullptr;
  TCheckBox* UseItalicBox = nullptr;
  TCheckBox* UseUnderlineBox = nullptr;
  TGroupBox* DefCheckBox = nullptr;
  TCheckBox* UseDefForeBox = nullptr;
  TCheckBox* UseDefBackBox = nullptr;
  TLabel* FGLabel = nullptr;
  TLabel* BGLabel = nullptr;
  TLabel* FontNameLabel = nullptr;
  TComboBox* FontNameBox = nullptr;
  TLabel* FontSizeLabel = nullptr;
  TComboBox* FontSizeBox = nullptr;
  TLabel* Label1 = nullptr;
  TComboBox* FontFamilyBox = nullptr;
  TSyntaxMemo* FEditor = nullptr;
  TSM_ColorButton* ForegroundButton = nullptr;
  TSM_ColorButton* BackgroundButton = nullptr;
  // Key assignments.
  TLabel* CommandsLabel = nullptr;
  TListBox* CommandDescListBox = nullptr;
  TLabel* UsesKeysLabel = nullptr;
  TListBox* CommandKeysListBox = nullptr;
  TButton* AddButton = nullptr;
  TButton* EditButton = nullptr;
  TButton* DeleteButton = nullptr;
  // Auto correct.
  TListBox* AutoReplBox = nullptr;
  TLabel* ReplaceLabel = nullptr;
  TEdit* ReplaceBox = nullptr;
  TLabel* WithLabel = nullptr;
  TEdit* WithBox = nullptr;
  TLabel* ActKeysLabel = nullptr;
  TEdit* AutoReplActBox = nullptr;
  TButton* AutoReplButton1 = nullptr;
  TButton* AutoReplButton2 = nullptr;
  // Code templates.
  TListBox* cteListBox = nullptr;
  TLabel* NameLabel = nullptr;
  TEdit* cteNameBox = nullptr;
  TLabel* DescLabel = nullptr;
  TEdit* cteDescBox = nullptr;
  TLabel* HotKeyLabel = nullptr;
  THotKey* cteHotkey = nullptr;
  TLabel* TemplateValueLabel = nullptr;
  TSyntaxMemo* SyntaxMemo1 = nullptr;
  TButton* CodeTemplateButton1 = nullptr;
  TButton* CodeTemplateButton2 = nullptr;
  // The bottom.
  TPanel* ButtonPanel = nullptr;
  TButton* OKButton = nullptr;
  TButton* CancelButton = nullptr;

protected:
  void DoShow() override;
  String ClassName() const override { return "TOptionsDialog"; }

private:
  struct TKeyPair {
    TShortCut First = 0;
    TShortCut Second = 0;
    bool operator==(const TKeyPair&) const = default;
  };
  struct TCommandRecord {
    uint8_t Edited = 0;
    int32_t CommandId = 0;
    std::list<TKeyPair> Keys;
  };

  void BuildOptionsPage();
  void BuildHighlightingPage();
  void BuildKeysPage();
  void BuildAutoCorrectPage();
  void BuildTemplatesPage();
  void FormCreate();
  void FormShow();
  void ShowElements();
  void ShowCommands();
  void ShowAutoReplace();
  void ShowTemplates();
  void ShowPages();
  // Options page.
  void SHIFTSelectBoxClick(TCheckBox* box);
  void LeftBorderWidthBoxChange(TEdit* box);
  void ParaSpinButtonClick(TSpinButton* spin, int step);
  void WrapColumnBoxExit();
  void IndentStepBoxExit();
  void TabColumnsBoxExit();
  void DeftabBoxExit();
  // Highlighting page.
  int SelectedElement();
  void SynElementsBoxClick();
  void UseBoldBoxClick(TCheckBox* box);
  void ColorButtonChange();
  void UseDefForeBoxClick(TCheckBox* box);
  void FontNameBoxChange();
  void FontSizeBoxChange();
  void EditorMouseDown(int X, int Y);
  void ApplyToPreview();
  bool PreviewFixedPitch();
  // Key page.
  TCommandRecord* SelectedCommand();
  void LoadKeys(TCommandRecord& command);
  void CommandDescListBoxClick();
  void CommandKeysListBoxClick();
  void CommandKeysListBoxExit();
  void AddButtonClick();
  void EditButtonClick();
  void DeleteButtonClick();
  void OKButtonClick();
  // Auto correct page.
  void AutoReplBoxClick();
  void UpdateAutoReplButtons();
  void AutoReplButton1Click();
  void AutoReplButton2Click();
  void RebuildAutoReplace();
  // Templates page.
  void cteListBoxClick();
  void UpdateTemplateButtons();
  void CodeTemplateButton1Click();
  void CodeTemplateButton2Click();

  TSM_Settings* FCopy = nullptr; // the parser's settings while the dialog runs
  int FPages = 0;
  bool FUpdating = false;
  TPoint FLastMouse{0, 0};
  TKeyPair FSelectedPair;
  bool FOKRefused = false;
  bool FShownBefore = false;
  std::unique_ptr<TStringList> FAutoReplKeys;
  std::unique_ptr<TStringList> FTemplateNames;
  String FReplKey;
  String FReplValue;
  std::vector<std::unique_ptr<TCommandRecord>> FCommands;
  std::unique_ptr<TKeyAssignDialog> FKeyDialog;
};
