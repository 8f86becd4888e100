// The program's main window: the three connections, the status and progress
// panel, the change log and the script page, the menu bar and the button bar.
#pragma once

#include "Forms.h"
#include "ShortCuts.h"
#include "Settings.h"
#include "SyntaxMemo.h"

#include <memory>

class TAction;
class TActionList;
class TImageList;
class TLabel;
class TMemo;
class TOpenDialog;
class TPanel;
class TSaveDialog;
class TStatusBar;
class TcxPageControl;
class TcxTabSheet;
class TmySQLDatabase;
class TmySQLQuery;
class TcxButton;
class TcxButtonEdit;
class TcxCheckBox;
class TcxRadioButton;
class TdxBarLargeButton;
class TdxBarButton;
class TdxBarManager;
class TdxBarSubItem;
class TcxProgressBar;
class TSyncEngine;
class TcxLookAndFeelController;
class TmySQLSyncDatabase;
class TMainSyncWindow;

class TfmMain : public TForm {
public:
  explicit TfmMain(TComponent* AOwner);
  ~TfmMain() override;

  // Refreshes the status labels and the two main actions' enabled state.
  void UpdateStatus();

  TmySQLDatabase* dbSource;
  TmySQLDatabase* dbTarget;
  TmySQLDatabase* dbUser;
  TmySQLQuery* qUser;
  TImageList* imgList;
  TActionList* acList;
  TAction* acEditSrcDB;
  TAction* acEditTgtDB;
  TAction* acOpenSrcScript;
  TAction* acSynchronize;
  TAction* acRunScript;
  TAction* acSaveScriptToFile;
  TAction* acExit;
  TAction* acLoadScriptFromFile;
  TAction* acOptions;
  TAction* acHelp;
  TAction* acAbout;
  TAction* acSelectAll;
  TAction* acExtractDB;
  TAction* acCreateDB;
  TAction* acInnoDBStatus;
  TdxBarManager* bman;
  TdxBarSubItem* N1;
  TdxBarSubItem* N2;
  TdxBarSubItem* N3;
  TdxBarLargeButton* dxBarLargeButton4;
  TdxBarLargeButton* dxBarLargeButton3;
  TdxBarLargeButton* dxBarLargeButton1;
  TdxBarLargeButton* dxBarLargeButton2;
  TdxBarButton* dxBarButton1;
  TPanel* Panel1;
  TLabel* lbSource;
  TLabel* lbTarget;
  TcxRadioButton* rbSourceDB;
  TcxRadioButton* rbSourceScript;
  TcxButtonEdit* edScriptPath;
  TcxButton* BitBtn3;
  TcxButton* BitBtn4;
  TcxButton* butSync;
  TcxProgressBar* bar;
  TLabel* lbCurTbl;
  TLabel* lbCount;
  TLabel* Label2;
  TLabel* Label3;
  TLabel* Label4;
  TLabel* Label5;
  TLabel* lbStructure;
  TLabel* lbIndices;
  TLabel* lbConstraints;
  TLabel* lbNewTables;
  TcxPageControl* page;
  TcxTabSheet* tabChanges;
  TcxTabSheet* tabScript;
  TMemo* mLog;
  TPanel* Panel4;
  TcxButton* butRunScript;
  TcxButton* butSaveToFile;
  TcxButton* butLoadScriptFromFile;
  TcxCheckBox* chkScriptTransaction;
  TcxCheckBox* chkScriptUsesTargetDB;
  TSyntaxMemo* mScript;
  TSyntaxMemoParser* SyntaxMemoParser1;
  TcxLookAndFeelController* cxLFControl;
  TStatusBar* StatusBar1;
  TOpenDialog* OpenScriptDlg;
  TSaveDialog* SaveScriptDlg;

  // The switches and fonts as last loaded or confirmed in the options dialog.
  TSettings& GetSettings() { return FSettings; }
  void LoadSettings();
  void SaveSettings();
  // The temporary source database was created since the program started.
  bool GetTempDatabaseCreated() const;
  // A synchronization or a script is running.
  bool GetRunning() const { return FRunning; }

protected:
  String ClassName() const override { return "TfmMain"; }

private:
  void CreateActions();
  void CreateBars();
  // The bar manager's definition: its settings, categories, items and bars,
  // made on the manager it is given. It builds this window's bars and the
  // fresh copy that a reset reads.
  void DefineBars(TdxBarManager* Manager);
  void CreateStatusPanel();
  void CreatePages();
  void CreateScriptEditor();
  TAction* NewAction(const char* name, const char* caption, int imageIndex, TShortCut shortCut);
  TLabel* NewLabel(TWinControl* parent, const char* name, const char* caption, int left, int top);
  TcxButton* NewButton(TWinControl* parent, const char* name, TAction* action, int left, int top, int width);
  TmySQLDatabase* NewDatabase(const char* name);

  void FormShow();
  void rbSourceDBClick();
  void rbSourceScriptClick();
  void acOpenSrcScriptExecute();
  void acLoadScriptFromFileExecute();
  void acSaveScriptToFileExecute();
  void acSelectAllExecute();
  void acSynchronizeExecute();
  void acRunScriptExecute();
  void acEditConnectionExecute(TmySQLDatabase* database);
  void acOptionsExecute();
  void acHelpExecute();
  void acInnoDBStatusExecute();
  void FormCloseQuery(bool& CanClose);
  void FormClose();
  // Runs work with the window marked busy; a close asked for meanwhile goes
  // on once work has returned.
  template <typename F> void RunBusy(F&& work);

  friend class TMainSyncWindow;

  TSettings FSettings;
  std::unique_ptr<TmySQLSyncDatabase> FSourceDb, FTargetDb, FScriptDb;
  std::unique_ptr<TMainSyncWindow> FSyncWindow;
  std::unique_ptr<TSyncEngine> FEngine;
  bool FRunning = false;
  bool FCloseRequested = false;
};

// The main window, once created.
extern TfmMain* fmMain;
