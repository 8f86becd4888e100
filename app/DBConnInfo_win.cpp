#include "DBConnInfo.h"

#include "Dialogs.h"
#include "MySQLSyncDatabase.h"
#include "StandIns.h"
#include "StdCtrls.h"
#include "mySQLDbTables.h"

TfmDBConnInfo* fmDBConnInfo = nullptr;

namespace {

constexpr int kMargin = 8;
constexpr int kBoxLeft = 72;
constexpr int kRowHeight = 26;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 25;

} // namespace

TfmDBConnInfo::TfmDBConnInfo(TComponent* AOwner) : TForm(AOwner) {
  fmDBConnInfo = this;
  SetName("fmDBConnInfo");
  SetCaption("Database connection");
  SetBorderStyle(bsDialog);
  Position = poMainFormCenter;
  GetFont()->SetName("Tahoma");
  GetFont()->SetSize(8);
  SetClientSize(241, 147);
  const int boxWidth = GetClientWidth() - kBoxLeft - kMargin;

  // One row per value: its label level with the text in the box.
  int top = kMargin;
  auto row = [&](TLabel*& label, const char* labelName, const char* caption, TWinControl* box,
                 const char* boxName) {
    box->SetName(boxName);
    box->SetParent(this);
    box->SetBounds(kBoxLeft, top, boxWidth, 21);
    label = new TLabel(this);
    label->SetName(labelName);
    label->SetParent(this);
    label->SetCaption(caption);
    label->SetLeft(kMargin);
    label->SetTop(top + (box->GetHeight() - label->GetHeight()) / 2);
    label->FocusControl = box;
    top += kRowHeight;
  };
  edHost = new TStandInTextEdit(this);
  row(Label1, "Label1", "Host", edHost, "edHost");
  edHost->GetProperties()->OnEditValueChanged = [this](TObject*) { edHostPropertiesEditValueChanged(); };
  edUsername = new TStandInTextEdit(this);
  row(Label2, "Label2", "Username", edUsername, "edUsername");
  edPassword = new TStandInTextEdit(this);
  row(Label3, "Label3", "Password", edPassword, "edPassword");
  edPassword->GetProperties()->SetEchoMode(eemPassword);
  cDB = new TStandInComboBox(this);
  row(Label4, "Label4", "Database", cDB, "cDB");

  auto button = [&](const char* name, const char* caption, int left) {
    auto* b = new TStandInButton(this);
    b->SetName(name);
    b->SetParent(this);
    b->SetCaption(caption);
    b->SetBounds(left, GetClientHeight() - kMargin - kButtonHeight, kButtonWidth, kButtonHeight);
    return b;
  };
  const int right = GetClientWidth() - kMargin;
  butTest = button("butTest", "Test", kMargin);
  butTest->OnClick = [this](TObject*) { butTestClick(); };
  bnOK = button("bnOK", "OK", right - 2 * kButtonWidth - 6);
  bnOK->SetDefault(true);
  bnOK->OnClick = [this](TObject*) { bnOKClick(); };
  bnCancel = button("bnCancel", "Cancel", right - kButtonWidth);
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
