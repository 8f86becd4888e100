// The connection dialog: host, user name, password and database of one of the
// main window's connections, with a test connection of its own that fetches
// the server's database list.
#pragma once

#include "Forms.h"

class TLabel;
class TmySQLDatabase;
class TcxButton;
class TcxComboBox;
class TcxTextEdit;

class TfmDBConnInfo : public TForm {
public:
  explicit TfmDBConnInfo(TComponent* AOwner);
  ~TfmDBConnInfo() override;

  // Fills the dialog from Database and shows it modally. The caller learns
  // the outcome from the connection itself.
  void EditConnection(TmySQLDatabase* Database);

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TcxTextEdit* edHost = nullptr;
  TcxTextEdit* edUsername = nullptr;
  TcxTextEdit* edPassword = nullptr;
  TcxComboBox* cDB = nullptr;
  TcxButton* butTest = nullptr;
  TcxButton* bnOK = nullptr;
  TcxButton* bnCancel = nullptr;
  TmySQLDatabase* tDB = nullptr;

protected:
  String ClassName() const override { return "TfmDBConnInfo"; }

private:
  void butTestClick();
  void bnOKClick();
  void bnCancelClick();
  void edHostPropertiesEditValueChanged();

  TmySQLDatabase* FDatabase = nullptr;
};

extern TfmDBConnInfo* fmDBConnInfo;
