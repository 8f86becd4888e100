#include "Options.h"

#include "DialogLayout.h"
#include "Main.h"
#include "cxButtons.h"
#include "StdCtrls.h"
#include "cxCheckBox.h"
#include "cxFontNameComboBox.h"
#include "cxSpinEdit.h"

TfmOptions* fmOptions = nullptr;

using namespace dialoglayout;

namespace {

constexpr int kIndent = 16;
constexpr int kCheckStep = 18;
constexpr int kSecondColumn = 184;

// Each check box and the switch it shows, with its place in the dialog.
struct TSwitchBox {
  TcxCheckBox* TfmOptions::*Box;
  bool TSettings::*Switch;
  const char* Name;
  const char* Caption;
  int Left, Top, Width;
  bool Visible;
};

constexpr int kOptimizationTop = 99;
constexpr int kGeneralTop = 173;

// The three obsolete-object switches that nothing reads keep invisible boxes,
// so they travel through the dialog unchanged.
const TSwitchBox kSwitchBoxes[] = {
    {&TfmOptions::chkAllowTblTypeChg, &TSettings::AllowTblTypeChg, "chkAllowTblTypeChg",
     "Allow table type change", kIndent, kOptimizationTop, 200, true},
    {&TfmOptions::chkDropExtraColumns, &TSettings::DropExtraColumns, "chkDropExtraColumns",
     "Drop obsolete columns", kIndent, kOptimizationTop + kCheckStep, 200, true},
    {&TfmOptions::chkDropExtraIndices, &TSettings::DropExtraIndices, "chkDropExtraIndices",
     "Drop obsolete indices", kSecondColumn, kOptimizationTop, 150, false},
    {&TfmOptions::chkDropExtraConstraints, &TSettings::DropExtraConstraints, "chkDropExtraConstraints",
     "Drop obsolete constraints", kSecondColumn, kOptimizationTop + kCheckStep, 150, false},
    {&TfmOptions::chkDropExtraTables, &TSettings::DropExtraTables, "chkDropExtraTables",
     "Drop obsolete tables", kSecondColumn, kOptimizationTop + 2 * kCheckStep, 150, false},
    {&TfmOptions::chkSyncRunUnprompted, &TSettings::SyncRunUnprompted, "chkSyncRunUnprompted",
     "Run script without prompting", kIndent, kGeneralTop, 164, true},
    {&TfmOptions::chkScriptToClipboard, &TSettings::ScriptToClipboard, "chkScriptToClipboard",
     "Copy script to clipboard", kIndent, kGeneralTop + kCheckStep, 164, true},
    {&TfmOptions::chkUseBackticks, &TSettings::UseBackticks, "chkUseBackticks", "Use backticks", kIndent,
     kGeneralTop + 2 * kCheckStep, 164, true},
    {&TfmOptions::chkVerboseLog, &TSettings::VerboseLog, "chkVerboseLog", "Verbose log", kIndent,
     kGeneralTop + 3 * kCheckStep, 164, true},
    {&TfmOptions::chkSelectSyncTables, &TSettings::SelectSyncTables, "chkSelectSyncTables",
     "Select tables to sync", kSecondColumn, kGeneralTop, 152, true},
    {&TfmOptions::chkNoForeignKeyChecks, &TSettings::NoForeignKeyChecks, "chkNoForeignKeyChecks",
     "Disable foreign key checks", kSecondColumn, kGeneralTop + kCheckStep, 152, true},
    {&TfmOptions::chkConnectOnStartup, &TSettings::ConnectOnStartup, "chkConnectOnStartup",
     "Connect on startup", kSecondColumn, kGeneralTop + 2 * kCheckStep, 152, true},
};

// The font name the box holds, when it is one of the fonts in its list (a
// text typed or shown while nothing is chosen is no font); empty otherwise.
String ChosenFontName(TcxFontNameComboBox* box) {
  TStrings* items = box->GetProperties()->GetItems();
  const int index = items->IndexOf(box->GetText());
  return index < 0 ? String() : items->Get(index);
}

} // namespace

TfmOptions::TfmOptions(TComponent* AOwner) : TForm(AOwner) {
  fmOptions = this;
  SetUpDialog(this, "fmOptions", "Options", 344, 287);

  auto heading = [this](const char* caption, int top) {
    TLabel* label = AddLabel(this, caption, kMargin, top);
    SetBold(label);
    label->GetFont()->SetColor(clNavy);
  };

  heading("Fonts", kMargin);
  const int sizeWidth = 56;
  const int sizeLeft = GetClientWidth() - kMargin - sizeWidth;
  const int nameLeft = 112;
  auto fontRow = [&](const char* caption, int top, TcxFontNameComboBox*& name, const char* nameName,
                     TcxSpinEdit*& size, const char* sizeName) {
    name = new TcxFontNameComboBox(this);
    name->SetName(nameName);
    name->SetParent(this);
    name->SetBounds(nameLeft, top, sizeLeft - 6 - nameLeft, 21);
    name->GetProperties()->GetFontPreview()->SetShowButtons(false);
    size = new TcxSpinEdit(this);
    size->SetName(sizeName);
    size->SetParent(this);
    size->SetBounds(sizeLeft, top, sizeWidth, 21);
    AddLabelBeside(this, name, caption, kIndent);
  };
  fontRow("Changes window", 26, cFontChanges, "cFontChanges", szFontChanges, "szFontChanges");
  fontRow("Script window", 52, cFontScript, "cFontScript", szFontScript, "szFontScript");

  heading("Optimization", kOptimizationTop - 18);
  heading("General sync options", kGeneralTop - 18);
  for (const TSwitchBox& s : kSwitchBoxes) {
    auto* box = AddCheckBox<TcxCheckBox>(this, this, s.Name, s.Caption, s.Left, s.Top, s.Width);
    box->SetVisible(s.Visible);
    this->*s.Box = box;
  }
  TLabel* note = AddLabel(this, "(Be careful not to lose renamed columns)", kIndent + kCheckHeight + 2,
                          kOptimizationTop + 2 * kCheckStep);
  note->GetFont()->SetColor(clGray);

  const int right = GetClientWidth() - kMargin;
  butOK = AddBottomButton(this, "butOK", "OK", right - 2 * kButtonWidth - 6, kButtonWidth);
  butOK->SetDefault(true);
  butOK->OnClick = [this](TObject*) { butOKClick(); };
  butCancel = AddBottomButton(this, "butCancel", "Cancel", right - kButtonWidth, kButtonWidth);
  butCancel->Cancel = true;
  butCancel->ModalResult = mrCancel;

  OnShow = [this](TObject*) { FormShow(); };
}

TfmOptions::~TfmOptions() {
  if (fmOptions == this) fmOptions = nullptr;
}

void TfmOptions::FormShow() {
  auto showFont = [](TFont* font, TcxFontNameComboBox* name, TcxSpinEdit* size) {
    // By name: a list still loading selects it once it has arrived.
    name->SetFontName(font->GetName());
    size->SetValue(font->GetSize());
  };
  showFont(fmMain->mLog->GetFont(), cFontChanges, szFontChanges);
  showFont(fmMain->mScript->GetFont(), cFontScript, szFontScript);
  const TSettings& settings = fmMain->GetSettings();
  for (const TSwitchBox& s : kSwitchBoxes)
    (this->*s.Box)->SetChecked(settings.*s.Switch);
}

void TfmOptions::butOKClick() {
  auto applyFont = [](TFont* font, TcxFontNameComboBox* name, TcxSpinEdit* size) {
    // Without a chosen font the window keeps its own.
    const String fontName = ChosenFontName(name);
    if (!fontName.empty()) font->SetName(fontName);
    font->SetSize(size->GetValue().AsInteger());
  };
  applyFont(fmMain->mLog->GetFont(), cFontChanges, szFontChanges);
  applyFont(fmMain->mScript->GetFont(), cFontScript, szFontScript);
  TSettings& settings = fmMain->GetSettings();
  for (const TSwitchBox& s : kSwitchBoxes)
    settings.*s.Switch = (this->*s.Box)->GetChecked();
  SetModalResult(mrOk);
}
