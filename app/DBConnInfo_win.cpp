#include "DBConnInfo.h"

#include "DialogLayout.h"
#include "Dialogs.h"
#include "MySQLSyncDatabase.h"
#include "cxButtons.h"
#include "StdCtrls.h"
#include "cxDropDownEdit.h"
#include "cxTextEdit.h"
#include "mySQLDbTables.h"

TfmDBConnInfo* fmDBConnInfo = nullptr;

using namespace dialoglayout;

namespace {

constexpr int kBoxLeft = 72;
constexpr int kRowHeight = 26;
// The dialog is narrow: its three buttons are too.
constexpr int kNarrowButtonWidth = 70;

} // namespace

TfmDBConnInfo::TfmDBConnInfo(TComponent* AOwner) : TForm(AOwner) {
  fmDBConnInfo = this;
  SetUpDialog(this, "fmDBConnInfo", "Database connection", 241, 147);

  // One row per value, each box with its label.
  int top = kMargin;
  auto row = [&](TLabel*& label, const char* labelName, const char* caption, TWinControl* box,
                 const char* boxName) {
    box->SetName(boxName);
    box->SetParent(this);
    box->SetBounds(kBoxLeft, top, GetClientWidth() - kBoxLeft - kMargin, 21);
    label = AddLabelBeside(this, box, caption, kMargin);
    label->SetName(labelName);
    top += kRowHeight;
  };
  edHost = new TcxTextEdit(this);
  row(Label1, "Label1", "Host", edHost, "edHost");
  edHost->GetProperties()->OnEditValueChanged = [this](TObject*) { edHostPropertiesEditValueChanged(); };
  edUsername = new TcxTextEdit(this);
  row(Label2, "Label2", "Username", edUsername, "edUsername");
  edPassword = new TcxTextEdit(this);
  row(Label3, "Label3", "Password", edPassword, "edPassword");
  edPassword->GetProperties()->SetEchoMode(eemPassword);
  cDB = new TcxComboBox(this);
  row(Label4, "Label4", "Database", cDB, "cDB");

  const int right = GetClientWidth() - kMargin;
  butTest = AddBottomButton(this, "butTest", "Test", kMargin, kNarrowButtonWidth);
  butTest->OnClick = [this](TObject*) { butTestClick(); };
  bnOK = AddBottomButton(this, "bnOK", "OK", right - 2 * kNarrowButtonWidth - 6, kNarrowButtonWidth);
  bnOK->SetDefault(true);
  bnOK->OnClick = [this](TObject*) { bnOKClick(); };
  bnCancel = AddBottomButton(this, "bnCancel", "Cancel", right - kNarrowButtonWidth, kNarrowButtonWidth);
  bnCancel->Cancel = true;
  bnCancel->OnClick = [this](TObject*) { bnCancelClick(); };

  tDB = new TmySQLDatabase(this);
  tDB->SetName("tDB");
  tDB->SetPort(3306);
  tDB->SetConnectionTimeout(3);
}

TfmDBConnInfo::~TfmDBConnInfo() {
  if (fmDBConnInfo == this) fmDBConnInfo = nullptr;
}

void TfmDBConnInfo::EditConnection(TmySQLDatabase* Database) {
  FDatabase = Database;
  bnOK->SetEnabled(false);
  edUsername->SetText(Database->GetUserName());
  edPassword->SetText(Database->GetUserPassword());
  edHost->SetText(Database->GetHost());
  cDB->SetText("");
  cDB->GetProperties()->GetItems()->Clear();
  if (Database->GetConnected()) {
    butTestClick();
    cDB->SetItemIndex(cDB->GetProperties()->GetItems()->IndexOf(Database->GetDatabaseName()));
  }
  ShowModal();
}

void TfmDBConnInfo::butTestClick() {
  // The list comes from the server the boxes name, before any database is
  // chosen; a failure only means there is nothing to confirm yet.
  try {
    tDB->Close();
    tDB->SetHost(edHost->GetText());
    tDB->SetUserName(edUsername->GetText());
    tDB->SetUserPassword(edPassword->GetText());
    TStrings* items = cDB->GetProperties()->GetItems();
    items->Clear();
    TmySQLSyncDatabase server(*tDB);
    QueryToStrings("show databases", *items, server, false);
    bnOK->SetEnabled(true);
  } catch (const Exception&) {
    bnOK->SetEnabled(false);
  }
}

void TfmDBConnInfo::bnOKClick() {
  if (Trim(cDB->GetText()).empty()) {
    ShowMessage("Please select database");
    return;
  }
  try {
    FDatabase->Close();
    FDatabase->SetHost(edHost->GetText());
    FDatabase->SetUserName(edUsername->GetText());
    FDatabase->SetUserPassword(edPassword->GetText());
    FDatabase->SetDatabaseName(cDB->GetText());
    FDatabase->Open();
  } catch (const Exception&) {
    ShowMessage("Unable to connect to database");
    return;
  }
  SetModalResult(mrOk);
}

void TfmDBConnInfo::bnCancelClick() {
  SetModalResult(mrCancel);
}

void TfmDBConnInfo::edHostPropertiesEditValueChanged() {
  cDB->SetText("");
}
