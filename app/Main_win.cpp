#include "Main.h"

#include "About.h"
#include "ActnList.h"
#include "Clipbrd.h"
#include "ComCtrls.h"
#include "cxPC.h"
#include "Confirm.h"
#include "DBConnInfo.h"
#include "DialogLayout.h"
#include "Dialogs.h"
#include "Dump.h"
#include "ExtCtrls.h"
#include "ImgList.h"
#include "MySQLSyncDatabase.h"
#include "OpenDocument.h"
#include "Options.h"
#include "dxBar.h"
#include "dxBarExtItems.h"
#include "cxButtons.h"
#include "SynParse.h"
#include "StdCtrls.h"
#include "SyncEngine.h"
#include "SyntaxMemo.h"
#include "TblChooser.h"
#include "Util.h"
#include "cxButtonEdit.h"
#include "cxCheckBox.h"
#include "cxLookAndFeels.h"
#include "cxProgressBar.h"
#include "cxRadioGroup.h"
#include "mySQLDbTables.h"

#include <memory>
#include <utility>

TfmMain* fmMain = nullptr;

namespace {

constexpr TColor kStatusGood = 0x800000;
constexpr TColor kStatusBad = 0x0000FF;
constexpr TColor kPhaseColor = clBlue;

// Runs a step when the scope ends, also when it ends by an exception.
template <typename F> class TAtScopeEnd {
public:
  explicit TAtScopeEnd(F step) : FStep(std::move(step)) {}
  ~TAtScopeEnd() { FStep(); }
  TAtScopeEnd(const TAtScopeEnd&) = delete;
  TAtScopeEnd& operator=(const TAtScopeEnd&) = delete;

private:
  F FStep;
};

} // namespace

using namespace dialoglayout;

// The engine's view of the main window.
class TMainSyncWindow : public TSyncWindow {
public:
  explicit TMainSyncWindow(TfmMain& form) : F(form) {}

  void Log(const String& line) override { F.mLog->GetLines()->Add(line); }
  void ClearLog() override { F.mLog->Clear(); }
  void AppendScript(const String& text) override {
    F.mScript->SetSelStart(F.mScript->GetTextLength());
    F.mScript->SetSelText(text);
  }
  String GetScriptText() override { return F.mScript->GetLines()->GetTextStr(); }
  void ClearScript() override { F.mScript->Clear(); }
  void SetPhaseCaption(TSyncPhase phase, const String& caption) override {
    TLabel* const labels[] = {F.lbStructure, F.lbIndices, F.lbConstraints, F.lbNewTables};
    labels[phase]->SetCaption(caption);
  }
  void SetCurrentTable(const String& caption) override { F.lbCurTbl->SetCaption(caption); }
  void SetCount(const String& caption) override { F.lbCount->SetCaption(caption); }
  void SetProgressMax(int max) override { F.bar->GetProperties()->SetMax(max); }
  int GetProgressMax() override { return F.bar->GetProperties()->GetMax(); }
  void SetProgressPosition(int position) override { F.bar->SetPosition(position); }
  void StepProgress() override { F.bar->SetPosition(F.bar->GetPosition() + 1); }
  bool ChooseTables(const TStrings& tables, TStrings& chosen) override {
    fmTblChooser->SetTables(tables);
    if (fmTblChooser->ShowModal() != mrOk) return false;
    fmTblChooser->GetCheckedTables(chosen);
    return true;
  }
  bool AskConfirmation(const String& text) override { return ::AskConfirmation(text); }
  void ShowMessage(const String& text) override { ::ShowMessage(text); }
  void CopyToClipboard(const String& text) override { Clipboard()->SetAsText(text); }
  void ProcessMessages() override {
    Application->ProcessMessages();
    // The main window is to close: the work stops here, rolling back what
    // it has begun, and the close goes on once it has returned.
    if (F.FCloseRequested) throw EAbort();
  }
  void SetActionEnabled(TSyncAction action, bool enabled) override {
    (action == saRunScript ? F.acRunScript : F.acSaveScriptToFile)->SetEnabled(enabled);
  }
  void UpdateStatus() override { F.UpdateStatus(); }

private:
  TfmMain& F;
};

TfmMain::TfmMain(TComponent* AOwner) : TForm(AOwner) {
  fmMain = this;
  SetUpForm(this, "fmMain", "Velmora v1.1", poScreenCenter);
  SetBounds(0, 0, 650, 585);

  dbSource = NewDatabase("dbSource");
  dbTarget = NewDatabase("dbTarget");
  dbUser = NewDatabase("dbUser");
  dbSource->AfterConnect = dbSource->AfterDisconnect = [this](TObject*) { UpdateStatus(); };
  dbTarget->AfterConnect = dbTarget->AfterDisconnect = [this](TObject*) { UpdateStatus(); };
  dbUser->AfterConnect = dbUser->AfterDisconnect = dbTarget->AfterConnect;
  qUser = new TmySQLQuery(this);
  qUser->SetName("qUser");
  qUser->SetDatabase(dbUser);
  FSourceDb = std::make_unique<TmySQLSyncDatabase>(*dbSource);
  FTargetDb = std::make_unique<TmySQLSyncDatabase>(*dbTarget);
  FScriptDb = std::make_unique<TmySQLSyncDatabase>(*dbUser);
  FSyncWindow = std::make_unique<TMainSyncWindow>(*this);
  FEngine = std::make_unique<TSyncEngine>(*FSourceDb, *FTargetDb, *FScriptDb, *FSyncWindow, FSettings);

  imgList = new TImageList(this);
  imgList->SetName("imgList");
  {
    auto strip = std::make_unique<TBitmap>();
    strip->LoadFromResourceName(GetModuleHandleA(nullptr), "IMGLIST");
    imgList->AddMasked(strip.get(), clFuchsia);
  }
  CreateActions();
  CreateBars();
  CreateStatusPanel();

  // Every control of the program that sets nothing else draws natively.
  cxLFControl = new TcxLookAndFeelController(this);
  cxLFControl->SetName("cxLFControl");
  cxLFControl->SetNativeStyle(true);

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetName("StatusBar1");
  StatusBar1->SetParent(this);
  StatusBar1->SetAlign(alBottom);
  StatusBar1->SetSimplePanel(true);

  CreatePages();

  OpenScriptDlg = new TOpenDialog(this);
  OpenScriptDlg->SetName("OpenScriptDlg");
  OpenScriptDlg->Filter = "SQL Files|*.sql";
  SaveScriptDlg = new TSaveDialog(this);
  SaveScriptDlg->SetName("SaveScriptDlg");
  SaveScriptDlg->Filter = "SQL scripts|*.sql";
  SaveScriptDlg->Options.Include(ofOverwritePrompt);

  OnShow = [this](TObject*) { FormShow(); };
  OnCloseQuery = [this](TObject*, bool& CanClose) { FormCloseQuery(CanClose); };
  OnClose = [this](TObject*, TCloseAction&) { FormClose(); };
}

TfmMain::~TfmMain() {
  // The connections close as the window's components go; the window's
  // controls are gone by then.
  for (TmySQLDatabase* db : {dbSource, dbTarget, dbUser})
    db->AfterConnect = db->AfterDisconnect = nullptr;
  mScript->OnChange = nullptr;
  if (fmMain == this) fmMain = nullptr;
}

TmySQLDatabase* TfmMain::NewDatabase(const char* name) {
  auto* db = new TmySQLDatabase(this);
  db->SetName(name);
  TStringList params;
  params.Add("Port=3306");
  params.Add("TIMEOUT=30");
  params.Add("Host=localhost");
  params.Add("UID=root");
  db->SetParams(params);
  db->SetUserName("root");
  db->SetHost("localhost");
  return db;
}

TAction* TfmMain::NewAction(const char* name, const char* caption, int imageIndex, TShortCut shortCut) {
  auto* action = new TAction(this);
  action->SetName(name);
  action->SetCaption(caption);
  action->SetImageIndex(imageIndex);
  action->SetShortCut(shortCut);
  action->SetActionList(acList);
  return action;
}

void TfmMain::CreateActions() {
  acList = new TActionList(this);
  acList->SetName("acList");
  acList->Images = imgList;
  acEditSrcDB = NewAction("acEditSrcDB", "Edit...", 1, 0);
  acEditTgtDB = NewAction("acEditTgtDB", "Edit...", 1, 0);
  acOpenSrcScript =
      NewAction("acOpenSrcScript", "Open source script", 18, ShortCut('O', TShiftState{ssCtrl}));
  acSynchronize = NewAction("acSynchronize", "Synchronize", 12, 0);
  acRunScript = NewAction("acRunScript", "Run script", 19, 0);
  acSaveScriptToFile = NewAction("acSaveScriptToFile", "Save script to file", 6, 0);
  acSaveScriptToFile->SetEnabled(false);
  acExit = NewAction("acExit", "Exit", 17, ShortCut(VK_F4, TShiftState{ssAlt}));
  acLoadScriptFromFile = NewAction("acLoadScriptFromFile", "Open script...", 18, 0);
  acOptions = NewAction("acOptions", "Options...", 9, ShortCut('O', TShiftState{ssAlt}));
  acHelp = NewAction("acHelp", "Help", 1, ShortCut(VK_F1, TShiftState{}));
  acAbout = NewAction("acAbout", "About Velmora", 3, 0);
  acSelectAll = NewAction("acSelectAll", "acSelectAll", -1, ShortCut('A', TShiftState{ssCtrl}));
  acExtractDB = NewAction("acExtractDB", "Extract database script", 20, 0);
  acExtractDB->SetVisible(false);
  acCreateDB = NewAction("acCreateDB", "Create database...", 5, 0);
  acCreateDB->SetVisible(false);
  acInnoDBStatus = NewAction("acInnoDBStatus", "InnoDB status", 7, ShortCut(VK_F12, TShiftState{ssCtrl}));
  acInnoDBStatus->SetEnabled(false);
  acInnoDBStatus->SetVisible(false);

  acEditSrcDB->OnExecute = [this](TObject*) { acEditConnectionExecute(dbSource); };
  acEditTgtDB->OnExecute = [this](TObject*) { acEditConnectionExecute(dbTarget); };
  acSynchronize->OnExecute = [this](TObject*) { acSynchronizeExecute(); };
  acRunScript->OnExecute = [this](TObject*) { acRunScriptExecute(); };
  acOptions->OnExecute = [this](TObject*) { acOptionsExecute(); };
  acHelp->OnExecute = [this](TObject*) { acHelpExecute(); };
  acAbout->OnExecute = [](TObject*) { fmAbout->ShowModal(); };
  acExtractDB->OnExecute = [](TObject*) { fmDump->ShowModal(); };
  acInnoDBStatus->OnExecute = [this](TObject*) { acInnoDBStatusExecute(); };
  acOpenSrcScript->OnExecute = [this](TObject*) { acOpenSrcScriptExecute(); };
  acExit->OnExecute = [this](TObject*) { Close(); };
  acLoadScriptFromFile->OnExecute = [this](TObject*) { acLoadScriptFromFileExecute(); };
  acSaveScriptToFile->OnExecute = [this](TObject*) { acSaveScriptToFileExecute(); };
  acSelectAll->OnExecute = [this](TObject*) { acSelectAllExecute(); };
}

namespace {

// The bar manager's categories, in their order.
enum TMainCategory { catDefault, catFile, catTools, catHelp, catMenus };

template <typename T> T* NewBarItem(TCustomForm* form, const char* name, TMainCategory category) {
  auto* item = new T(form);
  item->SetName(name);
  item->SetCategory(category);
  return item;
}

// An item bound to an action, and its link.
struct TCommand {
  const char* name;
  TAction* action;
  bool beginGroup = false;
  const char* hint = "";
};

template <typename T>
void AddCommands(TCustomForm* form, TdxBarItemLinks* links, TMainCategory category,
                 std::initializer_list<TCommand> commands) {
  for (const TCommand& command : commands) {
    T* item = NewBarItem<T>(form, command.name, category);
    item->SetAction(command.action);
    if (*command.hint) item->Hint = command.hint;
    TdxBarItemLink* link = links->Add();
    link->SetItem(item);
    link->SetBeginGroup(command.beginGroup);
  }
}

TdxBarSubItem* NewMenu(TCustomForm* form, const char* name, const char* caption) {
  auto* item = NewBarItem<TdxBarSubItem>(form, name, catMenus);
  item->SetCaption(caption);
  return item;
}

TdxBar* NewTopBar(TdxBarManager* manager, const char* caption, int row) {
  TdxBar* bar = manager->GetBars()->Add();
  bar->SetName(caption);
  bar->SetCaption(caption);
  bar->SetDockingStyle(dsTop);
  bar->SetDockedDockingStyle(dsTop);
  bar->OneOnRow = true;
  bar->SetRow(row);
  return bar;
}

// The component of the window's bars that the definition made under the name.
template <typename T> T* BarItem(const TdxBarManager* manager, const char* name) {
  auto* item = dynamic_cast<T*>(manager->FindItemByName(name));
  if (!item) throw Exception(Format("Bar item %s not found", name));
  return item;
}

} // namespace

void TfmMain::DefineBars(TdxBarManager* Manager) {
  TCustomForm* form = Manager->GetOwnerForm();
  Manager->SetName("bman");
  Manager->SetStyle(bmsXP);
  Manager->GetFont()->SetName("Tahoma");
  Manager->SetUseSystemFont(true);
  Manager->SetImages(imgList);
  Manager->SetLargeImages(imgList);
  Manager->GetLookAndFeel()->SetKind(lfUltraFlat);
  Manager->GetLookAndFeel()->SetNativeStyle(false);
  TStringList categories;
  for (const char* category : {"Default", "File", "Tools", "Help", "Menus"})
    categories.Add(category);
  Manager->SetCategories(&categories);
  Manager->SetDockControlHeights(0, 0, 63, 0);

  TdxBarSubItem* file = NewMenu(form, "N1", "File");
  AddCommands<TdxBarButton>(form, file->GetItemLinks(), catFile,
                            {{"Opensourcescript1", acOpenSrcScript},
                             {"dxBarButton2", acLoadScriptFromFile},
                             {"Exit1", acExit, true}});
  TdxBarSubItem* tools = NewMenu(form, "N2", "Tools");
  AddCommands<TdxBarButton>(form, tools->GetItemLinks(), catTools,
                            {{"Extractdatabasescript1", acExtractDB},
                             {"Createdatabase1", acCreateDB},
                             {"Options1", acOptions, true}});
  TdxBarSubItem* help = NewMenu(form, "N3", "Help");
  AddCommands<TdxBarButton>(form, help->GetItemLinks(), catHelp,
                            {{"Synchronize1", acHelp, false, "Help"},
                             {"AboutVelmora1", acAbout, true},
                             {"InnoDBstatus1", acInnoDBStatus}});
  // On no bar.
  NewBarItem<TdxBarButton>(form, "dxBarButton1", catHelp)->SetAction(acHelp);

  TdxBar* menu = NewTopBar(Manager, "Main Menu", 0);
  menu->SetIsMainMenu(true);
  menu->SetMultiLine(true);
  menu->SetWholeRow(true);
  for (TdxBarSubItem* item : {file, tools, help})
    menu->GetItemLinks()->Add()->SetItem(item);
  menu->SetVisible(true);

  TdxBar* buttons = NewTopBar(Manager, "Button bar", 1);
  buttons->SetDockedTop(23);
  // Large glyphs above their captions: with SyncImageIndex on, each action's
  // image index picks the glyph from the large images.
  AddCommands<TdxBarLargeButton>(form, buttons->GetItemLinks(), catDefault,
                                 {{"dxBarLargeButton4", acLoadScriptFromFile, false, "Open script"},
                                  {"dxBarLargeButton3", acOptions},
                                  {"dxBarLargeButton1", acHelp, true, "Help"},
                                  {"dxBarLargeButton2", acExit}});
  buttons->SetVisible(true);
}

void TfmMain::CreateBars() {
  bman = CreateBarManager(this, [this](TdxBarManager* manager) { DefineBars(manager); });
  N1 = BarItem<TdxBarSubItem>(bman, "N1");
  N2 = BarItem<TdxBarSubItem>(bman, "N2");
  N3 = BarItem<TdxBarSubItem>(bman, "N3");
  dxBarLargeButton4 = BarItem<TdxBarLargeButton>(bman, "dxBarLargeButton4");
  dxBarLargeButton3 = BarItem<TdxBarLargeButton>(bman, "dxBarLargeButton3");
  dxBarLargeButton1 = BarItem<TdxBarLargeButton>(bman, "dxBarLargeButton1");
  dxBarLargeButton2 = BarItem<TdxBarLargeButton>(bman, "dxBarLargeButton2");
  dxBarButton1 = BarItem<TdxBarButton>(bman, "dxBarButton1");
}

TLabel* TfmMain::NewLabel(TWinControl* parent, const char* name, const char* caption, int left, int top) {
  auto* label = new TLabel(this);
  label->SetName(name);
  label->SetParent(parent);
  label->SetLeft(left);
  label->SetTop(top);
  label->SetCaption(caption);
  return label;
}

TcxButton* TfmMain::NewButton(TWinControl* parent, const char* name, TAction* action, int left, int top,
                              int width) {
  auto* button = new TcxButton(this);
  button->SetName(name);
  button->SetParent(parent);
  button->SetBounds(left, top, width, 25);
  button->SetAction(action);
  return button;
}

void TfmMain::CreateStatusPanel() {
  Panel1 = new TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  // Below the bars' top dock: top-aligned controls keep the order of their tops.
  TControl* dock = bman->GetBars()->GetDockControl(dsTop);
  Panel1->SetBounds(0, dock->GetTop() + dock->GetHeight(), GetClientWidth(), 137);
  Panel1->SetAlign(alTop);
  Panel1->SetBevelOuter(bvNone);
  Panel1->SetCaption("");

  lbSource = NewLabel(Panel1, "lbSource", "lbSource", 8, 9);
  SetBold(lbSource);
  lbSource->GetFont()->SetColor(kStatusBad);
  BitBtn3 = NewButton(Panel1, "BitBtn3", acEditSrcDB, 542, 4, 90);

  rbSourceDB = new TcxRadioButton(this);
  rbSourceDB->SetName("rbSourceDB");
  rbSourceDB->SetParent(Panel1);
  rbSourceDB->SetBounds(16, 32, 70, 17);
  rbSourceDB->SetCaption("Database");
  rbSourceDB->SetChecked(true);
  rbSourceDB->OnClick = [this](TObject*) { rbSourceDBClick(); };
  rbSourceScript = new TcxRadioButton(this);
  rbSourceScript->SetName("rbSourceScript");
  rbSourceScript->SetParent(Panel1);
  rbSourceScript->SetBounds(92, 32, 76, 17);
  rbSourceScript->SetCaption("Script file");
  rbSourceScript->OnClick = [this](TObject*) { rbSourceScriptClick(); };
  edScriptPath = new TcxButtonEdit(this);
  edScriptPath->SetName("edScriptPath");
  edScriptPath->SetParent(Panel1);
  edScriptPath->SetBounds(172, 30, 360, 21);
  edScriptPath->SetEnabled(false);
  edScriptPath->GetProperties()->GetButtons()->GetItem(0)->SetDefault(true);
  edScriptPath->GetProperties()->OnButtonClick = [this](TObject*, int) { acOpenSrcScript->Execute(); };
  edScriptPath->GetProperties()->OnEditValueChanged = [this](TObject*) { UpdateStatus(); };

  lbTarget = NewLabel(Panel1, "lbTarget", "lbTarget", 8, 62);
  SetBold(lbTarget);
  lbTarget->GetFont()->SetColor(kStatusBad);
  BitBtn4 = NewButton(Panel1, "BitBtn4", acEditTgtDB, 542, 57, 90);

  butSync = NewButton(Panel1, "butSync", acSynchronize, 8, 88, 110);
  bar = new TcxProgressBar(this);
  bar->SetName("bar");
  bar->SetParent(Panel1);
  bar->SetBounds(126, 100, 406, 14);
  lbCount = NewLabel(Panel1, "lbCount", "0", 542, 84);
  lbCount->SetAutoSize(false);
  lbCount->Alignment = taRightJustify;
  lbCount->SetWidth(90);

  lbCurTbl = NewLabel(Panel1, "lbCurTbl", "Table", 126, 84);
  SetBold(lbCurTbl);

  struct Phase {
    const char* name;
    const char* caption;
    const char* stateName;
    TLabel** label;
    TLabel** state;
  };
  const Phase phases[] = {{"Label2", "Table structure", "lbStructure", &Label2, &lbStructure},
                          {"Label3", "Indices", "lbIndices", &Label3, &lbIndices},
                          {"Label4", "Constraints", "lbConstraints", &Label4, &lbConstraints},
                          {"Label5", "New tables", "lbNewTables", &Label5, &lbNewTables}};
  int left = 8;
  for (const Phase& phase : phases) {
    *phase.label = NewLabel(Panel1, phase.name, phase.caption, left, 119);
    *phase.state =
        NewLabel(Panel1, phase.stateName, "Running...", left + (*phase.label)->GetWidth() + 6, 119);
    SetBold(*phase.state);
    (*phase.state)->GetFont()->SetColor(kPhaseColor);
    left += 156;
  }
}

void TfmMain::CreatePages() {
  page = new TcxPageControl(this);
  page->SetName("page");
  page->SetParent(this);
  page->SetAlign(alClient);
  page->GetLookAndFeel()->SetKind(lfUltraFlat);
  page->GetLookAndFeel()->SetNativeStyle(true);
  tabChanges = new TcxTabSheet(this);
  tabChanges->SetName("tabChanges");
  tabChanges->SetPageControl(page);
  tabChanges->SetCaption("Changes");
  tabScript = new TcxTabSheet(this);
  tabScript->SetName("tabScript");
  tabScript->SetPageControl(page);
  tabScript->SetCaption("Script");

  mLog = new TMemo(this);
  mLog->SetName("mLog");
  mLog->SetParent(tabChanges);
  mLog->SetAlign(alClient);
  mLog->SetReadOnly(true);
  mLog->ScrollBars = ssVertical;
  mLog->WordWrap = false;

  Panel4 = new TPanel(this);
  Panel4->SetName("Panel4");
  Panel4->SetParent(tabScript);
  Panel4->SetAlign(alTop);
  Panel4->SetHeight(41);
  Panel4->SetBevelOuter(bvNone);
  Panel4->SetCaption("");
  butRunScript = NewButton(Panel4, "butRunScript", acRunScript, 6, 8, 90);
  butSaveToFile = NewButton(Panel4, "butSaveToFile", acSaveScriptToFile, 100, 8, 126);
  butLoadScriptFromFile = NewButton(Panel4, "butLoadScriptFromFile", acLoadScriptFromFile, 230, 8, 106);
  auto checkBox = [this](const char* name, const char* caption, bool checked, int left, int width) {
    auto* box = AddCheckBox<TcxCheckBox>(this, Panel4, name, caption, left, 12, width);
    // The values and the start state as the window definition gives them:
    // read while loading, the state fires no click.
    box->BeginLoading();
    box->GetProperties()->SetValueChecked("D");
    box->GetProperties()->SetValueUnchecked("N");
    box->SetChecked(checked);
    box->Loaded();
    return box;
  };
  chkScriptTransaction = checkBox("chkScriptTransaction", "Run as single transaction", true, 346, 148);
  chkScriptUsesTargetDB = checkBox("chkScriptUsesTargetDB", "Use target database", false, 498, 118);

  CreateScriptEditor();
  // Run script follows the editor's text at once, but not while a run
  // writes the script: the refresh would offer Synchronize again.
  mScript->OnChange = [this](TObject*) {
    if (!FRunning) UpdateStatus();
  };
  page->SetActivePage(tabChanges);
}

namespace {

// The compiled SQL highlighting rules among the program's resources.
std::unique_ptr<TMemoryStream> ResourceStream(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, name, RT_RCDATA);
  if (!info) throw EResNotFound(Format("Resource %s not found", name));
  auto stream = std::make_unique<TMemoryStream>();
  stream->WriteBuffer(LockResource(LoadResource(module, info)), SizeofResource(module, info));
  stream->SetPosition(0);
  return stream;
}

// Whether the editor holds anything but blanks, read in place: the text is
// not copied for every keystroke.
bool HasScriptText(TSyntaxMemo& editor) {
  for (const TRowRecord* row = editor.GetModel().GetFirstRow(); row; row = row->Next)
    for (int i = 0; i < row->Length; ++i)
      if (static_cast<unsigned char>(row->Text[i]) > ' ') return true;
  return false;
}

} // namespace

void TfmMain::CreateScriptEditor() {
  SyntaxMemoParser1 = new TSyntaxMemoParser(this);
  SyntaxMemoParser1->SetName("SyntaxMemoParser1");
  SyntaxMemoParser1->LoadLanguage(*ResourceStream("SQLRULES"));
  mScript = new TSyntaxMemo(this);
  mScript->SetName("mScript");
  mScript->SetParent(tabScript);
  mScript->SetAlign(alClient);
  mScript->SetParser(1, SyntaxMemoParser1);
  mScript->SetActiveParser(1);
  mScript->GetFont()->SetName("Courier New");
  mScript->GetFont()->SetHeight(-12);
  // The definition's gutter is stored as it stands: the setter's limits
  // measure a window that does not exist yet.
  TSM_Settings& settings = mScript->GetModel().GetSettings();
  settings.GutterWidth = 42;
  TFont gutterFont;
  gutterFont.SetName("Tahoma");
  gutterFont.SetHeight(-11);
  mScript->SetGutterFont(&gutterFont);
  mScript->SetTabDefault(4);
  mScript->SetIndentStep(1);
  mScript->SetMargin(2);
  mScript->SetRightMargin(80);
  mScript->SetWrapAtColumn(0);
  mScript->SetScrollBars(ssBoth);
  // The window's own selection colours, not the system's.
  settings.SystemColorMarkers[1] = settings.SystemColorMarkers[2] = false;
  mScript->SetSelTextColor(clWhite);
  mScript->SetSelTextBack(12937777);
  mScript->ClipCopyFormats = (1 << smTEXT) | (1 << smRTF);
  mScript->GetModel().SaveFormat = sfTEXT;
  uint32_t options = 0;
  for (TSyntaxMemoOption option :
       {smoSyntaxHighlight, smoPrintWrap, smoPrintLineNos, smoPrintFilename, smoPrintDate, smoPrintPageNos,
        smoAutoIndent, smoTabToColumn, smoWordSelect, smoShowGutter, smoTitleAsFilename,
        smoProcessDroppedFiles, smoBlockOverwriteCursor, smoShowWrapGlyph, smoColumnTrack, smoUseTAB,
        smoSmartFill, smoOLEDragSource, smoLineNumbers})
    options |= SyntaxMemoOptionBit(option);
  mScript->SetOptions(options);
}

void TfmMain::FormShow() {
  page->SetActivePage(tabChanges);
  LoadSettings();
  for (TLabel* label : {lbStructure, lbIndices, lbConstraints, lbNewTables})
    label->SetCaption("");
  UpdateStatus();
  if (FSettings.ConnectOnStartup) acEditTgtDB->Execute();
}

void TfmMain::LoadSettings() {
  ReadSettings(FSettings);
  // The font ignores an empty name, so with nothing stored the windows keep
  // their own fonts.
  mLog->GetFont()->SetName(FSettings.LogFontName);
  mLog->GetFont()->SetSize(FSettings.LogFontSize);
  mScript->GetFont()->SetName(FSettings.ScriptFontName);
  mScript->GetFont()->SetSize(FSettings.ScriptFontSize);
}

void TfmMain::SaveSettings() {
  FSettings.LogFontName = mLog->GetFont()->GetName();
  FSettings.LogFontSize = mLog->GetFont()->GetSize();
  FSettings.ScriptFontName = mScript->GetFont()->GetName();
  FSettings.ScriptFontSize = mScript->GetFont()->GetSize();
  WriteSettings(FSettings);
}

namespace {

String ConnectedCaption(const char* side, TmySQLDatabase* db) {
  return Format("%s DB: %s@[%s/%s]", side, db->GetUserName(), db->GetHost(), db->GetDatabaseName());
}

bool IsUsable(TmySQLDatabase* db) {
  return !Trim(db->GetDatabaseName()).empty() && db->GetConnected();
}

bool FileExists(const String& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ShowStatus(TLabel* label, const String& caption, TColor color) {
  label->SetCaption(caption);
  label->GetFont()->SetColor(color);
}

} // namespace

void TfmMain::UpdateStatus() {
  if (Application->GetTerminated()) return;
  if (rbSourceDB->GetChecked()) {
    if (IsUsable(dbSource))
      ShowStatus(lbSource, ConnectedCaption("Source", dbSource), kStatusGood);
    else
      ShowStatus(lbSource, "Source database not connected.", kStatusBad);
  } else if (rbSourceScript->GetChecked() && !FileExists(edScriptPath->GetText())) {
    ShowStatus(lbSource, "Source script filename not valid.", kStatusBad);
  } else {
    ShowStatus(lbSource, "Source script", kStatusGood);
  }
  if (IsUsable(dbTarget))
    ShowStatus(lbTarget, ConnectedCaption("Target", dbTarget), kStatusGood);
  else
    ShowStatus(lbTarget, "Target database not connected.", kStatusBad);
  if (fmDump) {
    fmDump->lbSourceDB->SetCaption(lbSource->GetCaption());
    fmDump->lbTargetDB->SetCaption(lbTarget->GetCaption());
  }
  acSynchronize->SetEnabled(lbSource->GetFont()->GetColor() != kStatusBad &&
                            lbTarget->GetFont()->GetColor() != kStatusBad);
  acRunScript->SetEnabled(HasScriptText(*mScript) && dbTarget->GetConnected());
}

void TfmMain::rbSourceDBClick() {
  acEditSrcDB->SetEnabled(true);
  edScriptPath->SetEnabled(false);
  UpdateStatus();
}

void TfmMain::rbSourceScriptClick() {
  acEditSrcDB->SetEnabled(false);
  edScriptPath->SetEnabled(true);
  UpdateStatus();
  edScriptPath->SetFocus();
}

void TfmMain::acOpenSrcScriptExecute() {
  if (OpenScriptDlg->Execute()) edScriptPath->SetText(OpenScriptDlg->FileName);
  UpdateStatus();
}

void TfmMain::acLoadScriptFromFileExecute() {
  if (!OpenScriptDlg->Execute()) return;
  page->SetActivePage(tabScript);
  mScript->GetLines()->LoadFromFile(OpenScriptDlg->FileName);
  acSaveScriptToFile->SetEnabled(true);
  UpdateStatus();
  mScript->SetFocus();
}

void TfmMain::acSaveScriptToFileExecute() {
  if (SaveScriptDlg->Execute()) mScript->GetLines()->SaveToFile(SaveScriptDlg->FileName);
}

void TfmMain::acSelectAllExecute() {
  if (auto* memo = dynamic_cast<TCustomMemo*>(GetActiveControl())) memo->SelectAll();
  if (auto* editor = dynamic_cast<TSyntaxMemo*>(GetActiveControl())) editor->SelectAll();
}

bool TfmMain::GetTempDatabaseCreated() const {
  return FEngine->GetTempDatabaseCreated();
}

template <typename F> void TfmMain::RunBusy(F&& work) {
  FRunning = true;
  TAtScopeEnd finish([this] {
    FRunning = false;
    if (FCloseRequested) {
      FCloseRequested = false;
      PostMessageA(GetHandle(), WM_CLOSE, 0, 0);
    }
  });
  work();
}

void TfmMain::acSynchronizeExecute() {
  FEngine->SourceIsScript = rbSourceScript->GetChecked();
  FEngine->ScriptPath = edScriptPath->GetText();
  acSynchronize->SetEnabled(false);
  TAtScopeEnd enable([this] { acSynchronize->SetEnabled(true); });
  RunBusy([this] { FEngine->Synchronize(); });
}

void TfmMain::acRunScriptExecute() {
  RunBusy([this] {
    FEngine->RunScriptWindow(chkScriptTransaction->GetChecked(), chkScriptUsesTargetDB->GetChecked());
  });
}

void TfmMain::acEditConnectionExecute(TmySQLDatabase* database) {
  fmDBConnInfo->EditConnection(database);
  UpdateStatus();
}

void TfmMain::acOptionsExecute() {
  if (fmOptions->ShowModal() == mrOk) SaveSettings();
}

void TfmMain::acHelpExecute() {
  OpenDocument("Help.chm", "", "", SW_SHOWNORMAL);
}

void TfmMain::acInnoDBStatusExecute() {
  TSqlValue status;
  FetchSingleValue("show innodb status", *FTargetDb, status);
  String error;
  if (TextBetween(status.value_or(String()), "LATEST FOREIGN KEY ERROR", "TRANSACTIONS", false, error) &&
      !Trim(error).empty())
    ::ShowMessage(error);
}

void TfmMain::FormCloseQuery(bool& CanClose) {
  // What a run uses must outlive it: it stops at its next step and the
  // close follows.
  if (!FRunning) return;
  FCloseRequested = true;
  CanClose = false;
}

void TfmMain::FormClose() {
  SaveSettings();
  if (dbTarget->GetConnected() && GetTempDatabaseCreated()) {
    page->SetActivePage(tabChanges);
    FEngine->DropTemporaryDatabase();
  }
}
