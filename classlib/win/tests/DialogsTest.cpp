// Message dialogs, the login dialog, common dialogs answered from inside
// their loops, and the clipboard, settings file and registry services.
#include "Clipbrd.h"
#include "Dialogs.h"
#include "GuiTest.h"
#include "IniFiles.h"
#include "Registry.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {

TEST(Dialogs, MessageDlgReturnsTheButtonPressed) {
  struct Case {
    TMsgDlgButtons buttons;
    WORD key;
    int expected;
  };
  for (Case c : {Case{mbYesNoCancel, VK_RETURN, mrYes}, Case{mbYesNoCancel, VK_ESCAPE, mrCancel},
                 Case{mbOKCancel, VK_RETURN, mrOk}, Case{TMsgDlgButtons{mbYes, mbNo}, 'N', mrNo}}) {
    SCOPED_TRACE(c.key);
    String caption;
    guitest::AnswerNextForm([&](TCustomForm* form) {
      caption = form->GetCaption();
      guitest::TCapture::Paint(form->GetHandle()).SavePng("dialogs_message");
      guitest::PressKey(c.key, c.key == 'N' ? guitest::kAlt : guitest::kNone);
    });
    EXPECT_EQ(c.expected, MessageDlg("Drop the temporary database?", mtConfirmation, c.buttons));
    EXPECT_EQ("Confirm", caption);
  }
}

TEST(Dialogs, MessageDlgPosStandsWhereAskedAndOffersAll) {
  RECT placed{};
  guitest::AnswerNextForm([&](TCustomForm* form) {
    GetWindowRect(form->GetHandle(), &placed);
    guitest::PressKey('A', guitest::kAlt);
  });
  EXPECT_EQ(mrAll, MessageDlgPos("Replace this one?", mtConfirmation,
                                 TMsgDlgButtons{mbYes, mbNo, mbCancel, mbAll}, 0, 130, 90));
  EXPECT_EQ(130, placed.left);
  EXPECT_EQ(90, placed.top);
}

TEST(Dialogs, ShowMessageWaitsForOK) {
  bool answered = false;
  guitest::AnswerNextForm([&](TCustomForm* form) {
    answered = true;
    form->SetModalResult(mrOk);
  });
  ShowMessage("Please select database");
  EXPECT_TRUE(answered);
}

TEST(Dialogs, LoginDialogReturnsWhatWasTyped) {
  guitest::AnswerNextForm([](TCustomForm*) {
    guitest::TypeText("root");
    guitest::PressKey(VK_TAB);
    guitest::TypeText("secret");
    guitest::PressKey(VK_RETURN);
  });
  String user, password;
  ASSERT_TRUE(LoginDialogEx("sakila", user, password, false));
  EXPECT_EQ("root", user);
  EXPECT_EQ("secret", password);

  guitest::AnswerNextForm([](TCustomForm*) { guitest::PressKey(VK_ESCAPE); });
  EXPECT_FALSE(LoginDialogEx("sakila", user, password, false));
}

TEST(Dialogs, OpenDialogIsAnsweredFromItsLoop) {
  TOpenDialog dialog(nullptr);
  dialog.Filter = "SQL scripts (*.sql)|*.sql|All files (*.*)|*.*";
  guitest::AnswerMessageBox(IDCANCEL);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_FALSE(guitest::AnswerPending());
}

TEST(Services, ClipboardCarriesTextAndRegisteredFormats) {
  Clipboard()->SetAsText("select 1;");
  EXPECT_EQ("select 1;", Clipboard()->GetAsText());
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  const UINT format = RegisterClipboardFormatName("Velmora Test Format");
  const String data("\x01\x00\x02", 3);
  Clipboard()->SetBuffer(format, data.data(), data.size());
  EXPECT_EQ(data, Clipboard()->GetBuffer(format).substr(0, 3));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT)) << "setting data replaces what was there";
}

TEST(Services, MemIniFileReadsWritesAndIgnoresCase) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const String path = String(temp) + "velmora_test.ini";
  {
    TStringList lines;
    lines.SetText("; comment\r\n[Colors]\r\nColorA = 00FF00\r\nColorB=\r\n[Other]\r\nFlag=1\r\n");
    lines.SaveToFile(path);
  }
  TMemIniFile ini(path);
  EXPECT_EQ("00FF00", ini.ReadString("colors", "colora", "x"));
  EXPECT_EQ("", ini.ReadString("Colors", "ColorB", "x"));
  EXPECT_EQ("x", ini.ReadString("Colors", "ColorC", "x"));
  EXPECT_TRUE(ini.ReadBool("Other", "Flag", false));
  EXPECT_EQ(7, ini.ReadInteger("Other", "Missing", 7));
  ini.WriteInteger("New", "Size", 9);
  ini.UpdateFile();
  TMemIniFile again(path);
  EXPECT_EQ(9, again.ReadInteger("New", "Size", 0));
  EXPECT_EQ("00FF00", again.ReadString("Colors", "ColorA", ""));
  DeleteFileA(path.c_str());
}

TEST(Services, RegistryReadsValuesByType) {
  const String key = "\\SOFTWARE\\Velmora Tests\\Registry";
  TRegistry reg;
  reg.DeleteKey(key);
  EXPECT_FALSE(reg.OpenKey(key, false));
  ASSERT_TRUE(reg.OpenKey(key, true));
  reg.WriteString("Name", "Tahoma");
  reg.WriteInteger("Size", 9);
  reg.WriteBool("On", true);
  EXPECT_EQ("Tahoma", reg.ReadString("Name"));
  EXPECT_EQ(9, reg.ReadInteger("Size"));
  EXPECT_TRUE(reg.ReadBool("On"));
  EXPECT_EQ("", reg.ReadString("Missing"));
  EXPECT_EQ(rdInteger, reg.GetDataType("Size"));
  EXPECT_THROW(reg.ReadInteger("Name"), ERegistryException);
  EXPECT_THROW(reg.ReadString("Size"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(key));
  EXPECT_TRUE(reg.DeleteKey("\\SOFTWARE\\Velmora Tests"));
  EXPECT_FALSE(reg.KeyExists(key));
}

} // namespace
