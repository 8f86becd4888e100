// The connection dialog against the test server: Test fetches the database
// list and alone enables OK, OK reconfigures and connects the edited
// connection or says why it stays open.
#include "DBConnInfo.h"
#include "GuiTest.h"
#include "ServerDatabase.h"
#include "cxButtons.h"
#include "StdCtrls.h"
#include "cxDropDownEdit.h"
#include "cxTextEdit.h"
#include "mySQLDbTables.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using guitest::PumpUntil;

namespace {

const char* const kFirstDb = "velmora_conn_first";
const char* const kSecondDb = "velmora_conn_second";

class ConnectionDialog : public testing::Test {
protected:
  static void SetUpTestSuite() {
    if (auto server = TestServer()) {
      TServerDatabase admin(*server);
      admin.Use("");
      for (const char* db : {kFirstDb, kSecondDb}) {
        admin.ExecuteSQL(Format("drop database if exists %s", db));
        admin.ExecuteSQL(Format("create database %s", db));
      }
    }
  }
  static void TearDownTestSuite() {
    if (auto server = TestServer()) {
      TServerDatabase admin(*server);
      admin.Use("");
      for (const char* db : {kFirstDb, kSecondDb})
        admin.ExecuteSQL(Format("drop database if exists %s", db));
    }
  }

  void SetUp() override {
    Server = TestServer();
    if (!Server) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set: no test server";
    Prepare();
  }

  // A fresh dialog and a disconnected connection to edit.
  void Prepare() {
    Dialog = std::make_unique<TfmDBConnInfo>(nullptr);
    // The program's connections know no port but 3306; the test server has its own.
    Dialog->tDB->GetParams().SetValue("Port", UIntToStr(Server->Port));
    Edited = std::make_unique<TmySQLDatabase>(nullptr);
    Edited->GetParams().SetValue("Port", UIntToStr(Server->Port));
    Edited->SetHost(Server->Host);
    Edited->SetUserName(Server->User);
  }

  // Opens the dialog for the edited connection and runs steps while it is
  // shown; a dialog the steps leave open is cancelled.
  void Edit(const std::function<void()>& steps) {
    bool shown = false;
    guitest::AnswerNextForm([&](TCustomForm* form) {
      shown = form == Dialog.get();
      if (shown) steps();
      if (Dialog->GetModalResult() == mrNone) Dialog->bnCancel->Click();
    });
    Dialog->EditConnection(Edited.get());
    EXPECT_TRUE(shown);
  }

  void TypeCredentials(const String& user, const String& password) {
    Dialog->edHost->SetText(Server->Host);
    Dialog->edUsername->SetText(user);
    Dialog->edPassword->SetText(password);
  }

  TStrings* Databases() { return Dialog->cDB->GetProperties()->GetItems(); }

  // Presses OK; the message it shows, answered at once, or empty.
  String PressOK() {
    String message;
    guitest::AnswerNextForm(
        [&](TCustomForm* form) {
          message = guitest::MessageText(form);
          form->SetModalResult(mrOk);
        },
        1000);
    Dialog->bnOK->Click();
    // No message: the answer must not wait for a later window.
    PumpUntil([] { return !guitest::AnswerPending(); }, 1500);
    return message;
  }

  std::optional<TTestServer> Server;
  std::unique_ptr<TfmDBConnInfo> Dialog;
  std::unique_ptr<TmySQLDatabase> Edited;
};

TEST_F(ConnectionDialog, TestFillsTheListAndEnablesOKOnlyWhenTheServerAnswers) {
  struct Case {
    const char* name;
    String user, password;
    bool answers;
  };
  const Case cases[] = {
      {"wrong password", Server->User, "not-" + Server->Password, false},
      {"good credentials", Server->User, Server->Password, true},
      {"unknown user", "velmora_nobody", Server->Password, false},
      {"good again", Server->User, Server->Password, true},
  };
  Edit([&] {
    EXPECT_FALSE(Dialog->bnOK->GetEnabled());
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      TypeCredentials(c.user, c.password);
      Dialog->butTest->Click();
      EXPECT_EQ(c.answers, Dialog->bnOK->GetEnabled());
      EXPECT_EQ(c.answers, Databases()->IndexOf(kFirstDb) >= 0);
      EXPECT_EQ(c.answers, Databases()->IndexOf(kSecondDb) >= 0);
      // Only the dialog's own connection was used, and without a database.
      EXPECT_EQ(c.answers, Dialog->tDB->GetConnected());
      EXPECT_EQ("", Dialog->tDB->GetDatabaseName());
      EXPECT_FALSE(Edited->GetConnected());
    }
  });
  // The list comes in the server's order.
  TServerDatabase admin(*Server);
  admin.Use("");
  TStringList expected;
  QueryToStrings("show databases", expected, admin);
  EXPECT_EQ(expected.GetText(), Databases()->GetText());
}

TEST_F(ConnectionDialog, EnterConfirmsOnlyOnceATestSucceeded) {
  Edited->SetUserPassword(Server->Password);
  Edit([&] {
    EXPECT_FALSE(Dialog->bnOK->GetEnabled());
    EXPECT_EQ(Server->Host, Dialog->edHost->GetText());
    EXPECT_EQ(Server->User, Dialog->edUsername->GetText());
    EXPECT_EQ(Server->Password, Dialog->edPassword->GetText());
    EXPECT_EQ(0, Databases()->GetCount());
    Dialog->cDB->SetFocus();
    guitest::TypeText(kFirstDb);
    guitest::PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return Dialog->cDB->GetText() == kFirstDb; }));
    guitest::PumpFor(200);
    EXPECT_TRUE(Dialog->IsShowing());
    EXPECT_EQ(mrNone, Dialog->GetModalResult());
    EXPECT_FALSE(Edited->GetConnected());

    Dialog->butTest->Click();
    Dialog->cDB->SetFocus();
    guitest::PressKey(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return Dialog->GetModalResult() == mrOk; }));
  });
  EXPECT_TRUE(Edited->GetConnected());
  EXPECT_EQ(kFirstDb, Edited->GetDatabaseName());
}

TEST_F(ConnectionDialog, OKWithoutADatabaseAsksForOne) {
  Edit([&] {
    TypeCredentials(Server->User, Server->Password);
    Dialog->butTest->Click();
    ASSERT_TRUE(Dialog->bnOK->GetEnabled());
    for (const char* text : {"", "   "}) {
      Dialog->cDB->SetText(text);
      EXPECT_EQ("Please select database", PressOK()) << '"' << text << '"';
      EXPECT_TRUE(Dialog->IsShowing());
    }
  });
  EXPECT_FALSE(Edited->GetConnected());
}

TEST_F(ConnectionDialog, OKConnectsTheEditedConnectionWithTheDialogsSettings) {
  struct Case {
    const char* name;
    std::function<void(TfmDBConnInfo&)> choose;
    const char* database;
  };
  const Case cases[] = {
      {"picked from the list",
       [](TfmDBConnInfo& d) { d.cDB->SetItemIndex(d.cDB->GetProperties()->GetItems()->IndexOf(kSecondDb)); },
       kSecondDb},
      // A name typed by hand need not be in the list.
      {"typed by hand", [](TfmDBConnInfo& d) { d.cDB->SetText("mysql"); }, "mysql"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Prepare();
    Edited->SetHost("localhost");
    Edited->SetUserName("root");
    Edit([&] {
      TypeCredentials(Server->User, Server->Password);
      Dialog->butTest->Click();
      c.choose(*Dialog);
      EXPECT_EQ("", PressOK());
      EXPECT_EQ(mrOk, Dialog->GetModalResult());
    });
    EXPECT_TRUE(Edited->GetConnected());
    EXPECT_EQ(Server->Host, Edited->GetHost());
    EXPECT_EQ(Server->User, Edited->GetUserName());
    EXPECT_EQ(Server->Password, Edited->GetUserPassword());
    EXPECT_EQ(c.database, Edited->GetDatabaseName());
  }
}

TEST_F(ConnectionDialog, AFailedOKLeavesTheConnectionDisconnectedWithTheNewSettings) {
  Edited->SetUserPassword(Server->Password);
  Edited->SetDatabaseName(kFirstDb);
  Edited->Open();
  Edit([&] {
    Dialog->cDB->SetText("velmora_conn_missing");
    EXPECT_EQ("Unable to connect to database", PressOK());
    EXPECT_TRUE(Dialog->IsShowing());
    EXPECT_FALSE(Edited->GetConnected());
    // Cancel after the failure touches nothing more.
  });
  EXPECT_FALSE(Edited->GetConnected());
  EXPECT_EQ("velmora_conn_missing", Edited->GetDatabaseName());
  EXPECT_EQ(Server->User, Edited->GetUserName());
}

TEST_F(ConnectionDialog, OpeningForAConnectedConnectionTestsAtOnceAndPreselectsItsDatabase) {
  Edited->SetUserPassword(Server->Password);
  Edited->SetDatabaseName(kSecondDb);
  Edited->Open();
  Edit([&] {
    EXPECT_TRUE(Dialog->bnOK->GetEnabled());
    EXPECT_TRUE(Dialog->tDB->GetConnected());
    EXPECT_EQ(Databases()->IndexOf(kSecondDb), Dialog->cDB->GetItemIndex());
    EXPECT_EQ(kSecondDb, Dialog->cDB->GetText());
    // The password shows as masks only, in the editor's inner window.
    EXPECT_EQ('*', SendMessageA(Dialog->edPassword->GetInnerEdit()->GetControl()->GetHandle(),
                                EM_GETPASSWORDCHAR, 0, 0));
    auto capture = guitest::TCapture::Paint(Dialog->GetHandle());
    capture.SavePng("connection_dialog");
    EXPECT_EQ(241, capture.Width());
    EXPECT_EQ(147, capture.Height());
    // Cancel leaves the connection as it was.
  });
  EXPECT_TRUE(Edited->GetConnected());
  EXPECT_EQ(kSecondDb, Edited->GetDatabaseName());
}

TEST_F(ConnectionDialog, ChangingTheHostEmptiesTheDatabaseButKeepsTheList) {
  Edit([&] {
    TypeCredentials(Server->User, Server->Password);
    Dialog->butTest->Click();
    Dialog->cDB->SetItemIndex(Databases()->IndexOf(kFirstDb));
    const int count = Databases()->GetCount();
    ASSERT_GT(count, 0);
    // Typed, as the user changes it.
    Dialog->edHost->SetFocus();
    Dialog->edHost->SelectAll();
    guitest::TypeText("localhost");
    ASSERT_TRUE(PumpUntil([&] { return Dialog->edHost->GetText() == "localhost"; }));
    // The host's value changes when it is committed: on leaving the field.
    EXPECT_EQ(kFirstDb, Dialog->cDB->GetText());
    guitest::PressKey(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return Dialog->cDB->GetText().empty(); }));
    EXPECT_EQ(count, Databases()->GetCount());
    EXPECT_GE(Databases()->IndexOf(kFirstDb), 0);
  });
}

} // namespace
