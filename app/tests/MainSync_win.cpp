// Whole synchronizations driven through the main window as a user drives it:
// connections chosen in the connection dialog, tables in the chooser, the
// script confirmed, against the test server.
#include "About.h"
#include "ActnList.h"
#include "ComCtrls.h"
#include "cxLabel.h"
#include "cxRadioGroup.h"
#include "cxPC.h"
#include "cxDropDownEdit.h"
#include "cxTextEdit.h"
#include "Confirm.h"
#include "DBConnInfo.h"
#include "Dump.h"
#include "GuiTest.h"
#include "Main.h"
#include "Options.h"
#include "ScriptEditorExpect.h"
#include "ServerDatabase.h"
#include "cxButtons.h"
#include "cxButtonEdit.h"
#include "cxCheckBox.h"
#include "cxProgressBar.h"
#include "StdCtrls.h"
#include "SyncEngine.h"
#include "TblChooser.h"
#include "mySQLDbTables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include <dlgs.h>

using guitest::AnswerNextForm;
using guitest::AnswerNextModal;
using guitest::PumpUntil;

namespace {

const char* const kSourceSchema[] = {
    "create table customers (id int not null auto_increment, name varchar(80) not null, "
    "email varchar(120) default null, created date default null, primary key (id), "
    "unique key ux_email (email)) engine=InnoDB default charset=utf8mb4",
    "create table orders (id int not null auto_increment, customer_id int not null, "
    "total decimal(10,2) not null default 0.00, primary key (id), key ix_customer (customer_id), "
    "constraint fk_orders_customer foreign key (customer_id) references customers (id)) "
    "engine=InnoDB default charset=utf8mb4",
    "create table products (id int not null auto_increment, title varchar(100) not null, "
    "primary key (id)) engine=InnoDB default charset=utf8mb4",
};
const char* const kTargetSchema[] = {
    "create table customers (id int not null auto_increment, name varchar(40) not null, "
    "primary key (id)) engine=InnoDB default charset=utf8mb4",
    "create table orders (id int not null auto_increment, customer_id int not null, "
    "primary key (id)) engine=InnoDB default charset=utf8mb4",
};

String WriteTempFile(const String& name, const String& text) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const String path = String(dir) + name;
  FILE* f = fopen(path.c_str(), "wb");
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
  return path;
}

String ReadFile(const String& path) {
  String text;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
      text.append(buffer, n);
    fclose(f);
  }
  return text;
}

// Types a file name into the next file dialog and confirms it; then runs next
// (for a question that follows) before the dialog closes.
void AnswerFileDialog(const String& path, std::function<void()> next = nullptr) {
  AnswerNextModal([path, next](HWND dialog) {
    SetDlgItemTextA(dialog, cmb13, path.c_str());
    if (next) next();
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
}

class MainSync : public testing::Test {
protected:
  void SetUp() override {
    auto found = TestServer();
    if (!found) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set: no test server";
    server = *found;
    SetSettingsBackend(std::make_unique<TMemorySettingsBackend>());
    WriteSettingBool("SelectSyncTables", true);
    admin = std::make_unique<TServerDatabase>(server);
    admin->Use("");
    for (const char* db : {"vw_source", "vw_target", TempSourceDatabase})
      admin->ExecuteSQL(Format("drop database if exists %s", db));
    admin->ExecuteSQL("create database vw_source");
    admin->ExecuteSQL("create database vw_target");
    admin->Use("vw_source");
    for (const char* sql : kSourceSchema)
      admin->ExecuteSQL(sql);
    admin->Use("vw_target");
    for (const char* sql : kTargetSchema)
      admin->ExecuteSQL(sql);
    admin->Use("");

    main = std::make_unique<TfmMain>(nullptr);
    conn = std::make_unique<TfmDBConnInfo>(nullptr);
    options = std::make_unique<TfmOptions>(nullptr);
    dump = std::make_unique<TfmDump>(nullptr);
    about = std::make_unique<TfmAbout>(nullptr);
    confirm = std::make_unique<TfmConfirm>(nullptr);
    chooser = std::make_unique<TfmTblChooser>(nullptr);
    for (TmySQLDatabase* db : {main->dbSource, main->dbTarget, main->dbUser, conn->tDB})
      db->GetParams().SetValue("Port", UIntToStr(server.Port));
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return main->IsShowing(); }));
  }

  void TearDown() override {
    chooser.reset();
    confirm.reset();
    about.reset();
    dump.reset();
    options.reset();
    conn.reset();
    main.reset();
    if (admin)
      for (const char* db : {"vw_source", "vw_target", TempSourceDatabase})
        admin->ExecuteSQL(Format("drop database if exists %s", db));
    SetSettingsBackend(std::make_unique<TMemorySettingsBackend>());
  }

  // Chooses a connection in the connection dialog: host and credentials,
  // Test, the database, OK.
  void Connect(TAction* edit, const String& database) {
    bool answered = false;
    AnswerNextForm([&](TCustomForm* form) {
      answered = form == conn.get();
      conn->edHost->SetText(server.Host);
      conn->edUsername->SetText(server.User);
      conn->edPassword->SetText(server.Password);
      conn->butTest->Click();
      PumpUntil([&] { return conn->bnOK->GetEnabled(); }, 10000);
      conn->cDB->SetText(database);
      conn->bnOK->Click();
    });
    edit->Execute();
    EXPECT_TRUE(answered);
  }

  // Confirms the chooser with every table checked, then answers the
  // confirmation; what they showed is kept for the test.
  void AnswerChooserAndConfirmation(bool runIt) {
    AnswerNextForm([this, runIt](TCustomForm*) {
      chosen.Clear();
      chooser->GetCheckedTables(chosen);
      AnswerNextForm([this, runIt](TCustomForm* form) {
        confirmed = form == confirm.get();
        // While the run waits, it cannot be started again.
        syncEnabledDuringRun = main->acSynchronize->GetEnabled();
        confirmText = confirm->lbText->GetCaption();
        (runIt ? confirm->bnOK : confirm->bnCancel)->Click();
      });
      chooser->bnOK->Click();
    });
  }

  String CreateText(const String& db, const String& table) {
    TSqlRows rows = admin->Open(Format("show create table %s.%s", db, table));
    String text = rows.at(0).at(1).value_or("");
    // The counter of the next row is data, not structure.
    const size_t at = text.find(" AUTO_INCREMENT=");
    if (at != String::npos) text.erase(at, text.find(' ', at + 1) - at);
    return text;
  }

  void ExpectConverged() {
    for (const char* table : {"customers", "orders", "products"})
      EXPECT_EQ(CreateText("vw_source", table), CreateText("vw_target", table)) << table;
  }

  std::vector<String> LogLines() {
    std::vector<String> lines;
    for (int i = 0; i < main->mLog->GetLines()->GetCount(); ++i)
      lines.push_back(main->mLog->GetLines()->Get(i));
    return lines;
  }

  bool Logged(const String& line) {
    for (const String& l : LogLines())
      if (l == line) return true;
    return false;
  }

  TTestServer server;
  std::unique_ptr<TServerDatabase> admin;
  std::unique_ptr<TfmMain> main;
  std::unique_ptr<TfmDBConnInfo> conn;
  std::unique_ptr<TfmOptions> options;
  std::unique_ptr<TfmDump> dump;
  std::unique_ptr<TfmAbout> about;
  std::unique_ptr<TfmConfirm> confirm;
  std::unique_ptr<TfmTblChooser> chooser;
  TStringList chosen;
  bool confirmed = false;
  bool syncEnabledDuringRun = true;
  String confirmText;
};

TEST_F(MainSync, DatabaseToDatabaseThroughTheWindow) {
  Connect(main->acEditSrcDB, "vw_source");
  Connect(main->acEditTgtDB, "vw_target");
  EXPECT_EQ(Format("Source DB: %s@[%s/vw_source]", server.User, server.Host), main->lbSource->GetCaption());
  EXPECT_EQ(Format("Target DB: %s@[%s/vw_target]", server.User, server.Host), main->lbTarget->GetCaption());
  EXPECT_EQ(TColor(0x800000), main->lbSource->GetFont()->GetColor());
  // The extract dialog shows the same status.
  EXPECT_EQ(main->lbSource->GetCaption(), dump->lbSourceDB->GetCaption());
  EXPECT_EQ(main->lbTarget->GetCaption(), dump->lbTargetDB->GetCaption());
  ASSERT_TRUE(main->acSynchronize->GetEnabled());

  AnswerChooserAndConfirmation(true);
  main->acSynchronize->Execute();

  EXPECT_EQ("customers\r\norders\r\nproducts\r\n", chosen.GetText());
  EXPECT_TRUE(confirmed);
  EXPECT_FALSE(syncEnabledDuringRun);
  EXPECT_EQ("Sync SQL script is generated. You can run it immediately, or you can inspect/modify and run it "
            "from script window. Press OK to run it now.",
            confirmText);
  const std::vector<String> log = LogLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(Format("Syncing database %s/vw_target to equal database %s/vw_source.", server.Host, server.Host),
            log.front());
  EXPECT_TRUE(Logged("Creating missing table products."));
  EXPECT_TRUE(Logged("Databases synced."));
  for (TLabel* phase : {main->lbStructure, main->lbIndices, main->lbConstraints, main->lbNewTables})
    EXPECT_EQ("Done.", phase->GetCaption()) << phase->GetName();
  // The run's script ran last: the count and the bar are its statements'.
  const int statements = main->bar->GetProperties()->GetMax();
  EXPECT_EQ(IntToStr(statements), main->lbCount->GetCaption());
  EXPECT_EQ(statements, main->bar->GetPosition());
  const String script = main->mScript->GetText();
  EXPECT_NE(String::npos, script.find("CREATE TABLE products")) << script;
  EXPECT_NE(String::npos, script.find("alter table customers")) << script;
  EXPECT_TRUE(main->acSaveScriptToFile->GetEnabled());
  EXPECT_TRUE(main->acSynchronize->GetEnabled());
  EXPECT_TRUE(main->acRunScript->GetEnabled());
  ExpectConverged();
  main->page->SetActivePage(main->tabScript);
  ASSERT_TRUE(PumpUntil([&] { return main->mScript->IsShowing(); }));
  guitest::TCapture::Paint(main->GetHandle()).SavePng("main_window_after_sync");
  // The script the run wrote is shown highlighted: its first word in its
  // style's colour.
  EXPECT_GT(FirstWordInk(*main->mScript, guitest::TCapture::Paint(main->mScript->GetHandle()), 5), 10);
  main->page->SetActivePage(main->tabChanges);
  guitest::TCapture::Paint(main->GetHandle()).SavePng("main_window_sync_log");

  // A second run finds nothing to do, says so and runs nothing.
  String message;
  AnswerNextForm([&](TCustomForm*) {
    AnswerNextForm([&](TCustomForm* box) {
      message = guitest::MessageText(box);
      box->SetModalResult(mrOk);
    });
    chooser->bnOK->Click();
  });
  main->acSynchronize->Execute();
  EXPECT_EQ("Nothing to do!", message);
  EXPECT_EQ("", main->mScript->GetText());
  EXPECT_FALSE(Logged("Databases synced."));
}

TEST_F(MainSync, DecliningTheConfirmationKeepsTheScriptAndChangesNothing) {
  Connect(main->acEditSrcDB, "vw_source");
  Connect(main->acEditTgtDB, "vw_target");
  const String before = CreateText("vw_target", "customers");
  AnswerChooserAndConfirmation(false);
  main->acSynchronize->Execute();
  EXPECT_TRUE(confirmed);
  EXPECT_NE("", main->mScript->GetText());
  EXPECT_FALSE(Logged("Databases synced."));
  EXPECT_EQ(before, CreateText("vw_target", "customers"));
}

TEST_F(MainSync, ScriptFileAsTheSourceUsesATemporaryDatabaseDroppedOnClose) {
  String sourceScript;
  for (const char* sql : kSourceSchema)
    sourceScript += String(sql) + ";\r\n";
  const String path = WriteTempFile("vw_source.sql", sourceScript);
  Connect(main->acEditTgtDB, "vw_target");
  guitest::ClickControl(main->rbSourceScript);
  ASSERT_TRUE(PumpUntil([&] { return main->rbSourceScript->GetChecked(); }));
  main->edScriptPath->SetText(path);
  EXPECT_EQ("Source script", main->lbSource->GetCaption());
  ASSERT_TRUE(main->acSynchronize->GetEnabled());

  AnswerChooserAndConfirmation(true);
  main->acSynchronize->Execute();
  EXPECT_EQ("customers\r\norders\r\nproducts\r\n", chosen.GetText());
  const std::vector<String> log = LogLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(Format("Syncing database %s/vw_target to equal script %s.", server.Host, path), log.front());
  EXPECT_TRUE(Logged("Creating temporary source database..."));
  EXPECT_TRUE(Logged("Databases synced."));
  EXPECT_TRUE(main->GetTempDatabaseCreated());
  EXPECT_EQ(String(TempSourceDatabase), main->dbSource->GetDatabaseName());
  ExpectConverged();
  EXPECT_EQ(1u, admin->Open(Format("show databases like '%s'", TempSourceDatabase)).size());

  main->Close();
  EXPECT_TRUE(Logged("Dropping temporary database..."));
  EXPECT_EQ(main->tabChanges, main->page->GetActivePage());
  EXPECT_EQ(0u, admin->Open(Format("show databases like '%s'", TempSourceDatabase)).size());
  DeleteFileA(path.c_str());
}

TEST_F(MainSync, SourceEqualToTargetIsRefusedBeforeAnythingIsCleared) {
  Connect(main->acEditSrcDB, "vw_target");
  Connect(main->acEditTgtDB, "vw_target");
  main->mLog->GetLines()->Add("earlier line");
  try {
    main->acSynchronize->Execute();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ("Can't synchronize database to itself!", e.Message);
  }
  EXPECT_EQ("earlier line\r\n", main->mLog->GetText());
  EXPECT_TRUE(main->acSynchronize->GetEnabled());
}

TEST_F(MainSync, ScriptPageOpensRunsAndSavesScripts) {
  Connect(main->acEditTgtDB, "vw_target");
  const String text = "create table t_script (id int primary key) engine=InnoDB;\r\n"
                      "insert into t_script values (1);\r\n";
  const String path = WriteTempFile("vw_script.sql", text);
  AnswerFileDialog(path);
  main->acLoadScriptFromFile->Execute();
  EXPECT_EQ(main->tabScript, main->page->GetActivePage());
  EXPECT_EQ(text, main->mScript->GetText());
  EXPECT_TRUE(main->acSaveScriptToFile->GetEnabled());
  ASSERT_TRUE(main->acRunScript->GetEnabled());

  // In the target database.
  main->chkScriptUsesTargetDB->SetChecked(true);
  main->acRunScript->Execute();
  EXPECT_EQ("Running script...", main->lbCurTbl->GetCaption());
  EXPECT_EQ("2", main->lbCount->GetCaption());
  EXPECT_EQ(1u, admin->Open("select id from vw_target.t_script").size());

  // Without a default database, names are qualified; a failing statement
  // undoes the whole script in one transaction, and only itself without.
  main->chkScriptUsesTargetDB->SetChecked(false);
  main->mScript->SetText(
      "insert into vw_target.t_script values (2);\r\ninsert into vw_target.t_script values (1);\r\n");
  main->UpdateStatus();
  struct Case {
    bool singleTransaction;
    size_t rows;
  };
  for (Case c : {Case{true, 1}, Case{false, 2}}) {
    main->chkScriptTransaction->SetChecked(c.singleTransaction);
    EXPECT_THROW(main->acRunScript->Execute(), Exception);
    EXPECT_EQ(c.rows, admin->Open("select id from vw_target.t_script").size()) << c.singleTransaction;
    EXPECT_TRUE(main->acRunScript->GetEnabled());
  }

  // Saving over an existing file asks first.
  const String savePath = WriteTempFile("vw_saved.sql", "old");
  String question;
  AnswerFileDialog(savePath, [&] {
    AnswerNextModal([&](HWND box) {
      question = guitest::DialogText(box);
      PostMessageA(box, WM_COMMAND, IDYES, 0);
    });
  });
  main->acSaveScriptToFile->Execute();
  EXPECT_NE(String::npos, question.find("replace")) << question;
  EXPECT_EQ(main->mScript->GetText(), ReadFile(savePath));
  DeleteFileA(path.c_str());
  DeleteFileA(savePath.c_str());
}

// Closing while a script runs stops it at its next statement, rolls back
// what it began, and closes once the run has returned.
TEST_F(MainSync, ClosingDuringAScriptRunStopsItAndThenCloses) {
  Connect(main->acEditTgtDB, "vw_target");
  admin->ExecuteSQL("create table vw_target.t_close (id int primary key) engine=InnoDB");
  String script;
  for (int i = 1; i <= 20; ++i)
    script += Format("insert into t_close values (%d);\r\n", i);
  main->mScript->SetText(script);
  main->chkScriptUsesTargetDB->SetChecked(true);
  main->UpdateStatus();
  // The user closes the window as soon as the script connection is up.
  main->dbUser->AfterConnect = [&](TObject*) { PostMessageA(main->GetHandle(), WM_CLOSE, 0, 0); };
  EXPECT_THROW(main->acRunScript->Execute(), EAbort);
  EXPECT_FALSE(main->GetRunning());
  EXPECT_EQ(0u, admin->Open("select id from vw_target.t_close").size());
  EXPECT_TRUE(PumpUntil([&] { return !main->IsShowing(); }));
}

// The same for a synchronization: closed while it compares, it stops, the
// target is left as it was, and the window closes.
TEST_F(MainSync, ClosingDuringASynchronizationStopsItAndThenCloses) {
  Connect(main->acEditSrcDB, "vw_source");
  Connect(main->acEditTgtDB, "vw_target");
  const String before = CreateText("vw_target", "customers");
  AnswerNextForm([this](TCustomForm*) {
    PostMessageA(main->GetHandle(), WM_CLOSE, 0, 0);
    chooser->bnOK->Click();
  });
  EXPECT_THROW(main->acSynchronize->Execute(), EAbort);
  EXPECT_TRUE(main->acSynchronize->GetEnabled());
  EXPECT_FALSE(Logged("Databases synced."));
  EXPECT_EQ(before, CreateText("vw_target", "customers"));
  EXPECT_TRUE(PumpUntil([&] { return !main->IsShowing(); }));
}

} // namespace
