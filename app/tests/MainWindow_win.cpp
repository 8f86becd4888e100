// The main window as the program starts: nothing connected, so both status
// labels are red and the run commands wait.
#include "About.h"
#include "ActnList.h"
#include "DBConnInfo.h"
#include "Dump.h"
#include "Options.h"
#include "ComCtrls.h"
#include "cxPC.h"
#include "cxTextEdit.h"
#include "GuiTest.h"
#include "Main.h"
#include "cxEditPaintUtils.h"
#include "cxLookAndFeels.h"
#include "cxRadioGroup.h"
#include "Registry.h"
#include "SettingsRegistry.h"
#include "dxBar.h"
#include "cxButtons.h"
#include "StdCtrls.h"
#include "cxButtonEdit.h"
#include "cxCheckBox.h"
#include "mySQLDbTables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <memory>

using guitest::PumpUntil;

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kNavy = 0x800000;

class MainWindow : public testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TfmMain>(nullptr);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  }
  std::unique_ptr<TfmMain> form;
};

TEST_F(MainWindow, StartsWithNothingConnectedAndTheRunCommandsDisabled) {
  EXPECT_EQ("Velmora v1.1", form->GetCaption());
  EXPECT_EQ(form->tabChanges, form->page->GetActivePage());
  EXPECT_EQ("Source database not connected.", form->lbSource->GetCaption());
  EXPECT_EQ("Target database not connected.", form->lbTarget->GetCaption());
  EXPECT_EQ(kRed, form->lbSource->GetFont()->GetColor());
  EXPECT_EQ(kRed, form->lbTarget->GetFont()->GetColor());
  EXPECT_TRUE(form->rbSourceDB->GetChecked());
  EXPECT_FALSE(form->rbSourceScript->GetChecked());
  EXPECT_FALSE(form->edScriptPath->GetEnabled());
  EXPECT_EQ("Table", form->lbCurTbl->GetCaption());
  EXPECT_EQ("0", form->lbCount->GetCaption());
  for (TLabel* phase : {form->lbStructure, form->lbIndices, form->lbConstraints, form->lbNewTables})
    EXPECT_EQ("", phase->GetCaption()) << phase->GetName();
  EXPECT_TRUE(form->chkScriptTransaction->GetChecked());
  EXPECT_FALSE(form->chkScriptUsesTargetDB->GetChecked());
  EXPECT_EQ(Variant("D"), form->chkScriptTransaction->GetEditValueRef());
  EXPECT_EQ(Variant("N"), form->chkScriptUsesTargetDB->GetEditValueRef());
  // The buttons follow their actions.
  EXPECT_FALSE(form->butSync->GetEnabled());
  EXPECT_FALSE(form->butRunScript->GetEnabled());
  EXPECT_FALSE(form->butSaveToFile->GetEnabled());
  EXPECT_TRUE(form->BitBtn3->GetEnabled());
  EXPECT_EQ("Edit...", form->BitBtn3->GetCaption());
  EXPECT_EQ("Synchronize", form->butSync->GetCaption());

  auto capture = guitest::TCapture::Paint(form->GetHandle());
  capture.SavePng("main_window_start");
  // The red status texts are drawn.
  for (TLabel* label : {form->lbSource, form->lbTarget}) {
    const TRect r = label->GetBoundsRect();
    const TPoint origin = form->ScreenToClient(form->Panel1->ClientToScreen(TPoint(r.left, r.top)));
    const RECT area{origin.x, origin.y, origin.x + r.Width(), origin.y + r.Height()};
    EXPECT_GT(capture.CountPixels(area, kRed), 10) << label->GetName();
  }
}

TEST_F(MainWindow, ScriptPageHoldsItsButtonsAndSwitches) {
  form->page->SetActivePage(form->tabScript);
  ASSERT_TRUE(PumpUntil([&] { return form->mScript->IsShowing(); }));
  EXPECT_EQ("Run script", form->butRunScript->GetCaption());
  EXPECT_EQ("Save script to file", form->butSaveToFile->GetCaption());
  EXPECT_EQ("Open script...", form->butLoadScriptFromFile->GetCaption());
  EXPECT_EQ("Run as single transaction", form->chkScriptTransaction->GetProperties()->GetCaption());
  EXPECT_EQ("Use target database", form->chkScriptUsesTargetDB->GetProperties()->GetCaption());
  // Side by side in the panel above the editor, none over another.
  const TControl* row[] = {form->butRunScript, form->butSaveToFile, form->butLoadScriptFromFile,
                           form->chkScriptTransaction, form->chkScriptUsesTargetDB};
  for (size_t i = 1; i < std::size(row); ++i)
    EXPECT_LE(row[i - 1]->GetLeft() + row[i - 1]->GetWidth(), row[i]->GetLeft()) << i;
  EXPECT_LE(form->chkScriptUsesTargetDB->GetLeft() + form->chkScriptUsesTargetDB->GetWidth(),
            form->Panel4->GetClientWidth());
  EXPECT_EQ(form->Panel4->GetHeight(), form->mScript->GetTop());
  guitest::TCapture::Paint(form->GetHandle()).SavePng("main_window_script_page");
}

TEST_F(MainWindow, ActionsCarryTheirCaptionsImagesShortcutsAndStates) {
  struct Case {
    TAction* action;
    const char* caption;
    int image;
    const char* shortcut;
    bool enabled, visible;
  };
  const Case cases[] = {
      {form->acEditSrcDB, "Edit...", 1, "", true, true},
      {form->acEditTgtDB, "Edit...", 1, "", true, true},
      {form->acOpenSrcScript, "Open source script", 18, "Ctrl+O", true, true},
      {form->acSynchronize, "Synchronize", 12, "", false, true},
      {form->acRunScript, "Run script", 19, "", false, true},
      {form->acSaveScriptToFile, "Save script to file", 6, "", false, true},
      {form->acExit, "Exit", 17, "Alt+F4", true, true},
      {form->acLoadScriptFromFile, "Open script...", 18, "", true, true},
      {form->acOptions, "Options...", 9, "Alt+O", true, true},
      {form->acHelp, "Help", 1, "F1", true, true},
      {form->acAbout, "About Velmora", 3, "", true, true},
      {form->acSelectAll, "acSelectAll", -1, "Ctrl+A", true, true},
      {form->acExtractDB, "Extract database script", 20, "", true, false},
      {form->acCreateDB, "Create database...", 5, "", true, false},
      {form->acInnoDBStatus, "InnoDB status", 7, "Ctrl+F12", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action->GetName());
    EXPECT_EQ(c.caption, c.action->GetCaption());
    EXPECT_EQ(c.image, c.action->GetImageIndex());
    EXPECT_EQ(c.shortcut, ShortCutToText(c.action->GetShortCut()));
    EXPECT_EQ(c.enabled, c.action->GetEnabled());
    EXPECT_EQ(c.visible, c.action->GetVisible());
    // Every image an action names is in the list.
    EXPECT_LT(c.action->GetImageIndex(), form->imgList->GetCount());
  }
  // The menu bar's three menus in order.
  TdxBarItemLinks* menus = form->bman->GetMainMenuBar()->GetItemLinks();
  ASSERT_EQ(3, menus->GetCount());
  EXPECT_EQ("File", menus->GetItem(0)->GetItem()->GetCaption());
  EXPECT_EQ("Tools", menus->GetItem(1)->GetItem()->GetCaption());
  EXPECT_EQ("Help", menus->GetItem(2)->GetItem()->GetCaption());
}

TEST_F(MainWindow, ScriptSourceNeedsAnExistingFile) {
  guitest::ClickControl(form->rbSourceScript);
  ASSERT_TRUE(PumpUntil([&] { return form->rbSourceScript->GetChecked(); }));
  EXPECT_FALSE(form->acEditSrcDB->GetEnabled());
  EXPECT_TRUE(form->edScriptPath->GetEnabled());
  EXPECT_EQ("Source script filename not valid.", form->lbSource->GetCaption());
  EXPECT_EQ(kRed, form->lbSource->GetFont()->GetColor());

  char name[MAX_PATH], dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  GetTempFileNameA(dir, "vel", 0, name);
  form->edScriptPath->SetText(name);
  EXPECT_EQ("Source script", form->lbSource->GetCaption());
  EXPECT_EQ(kNavy, form->lbSource->GetFont()->GetColor());
  // The target is still missing, so the run waits.
  EXPECT_FALSE(form->acSynchronize->GetEnabled());
  DeleteFileA(name);

  guitest::ClickControl(form->rbSourceDB);
  ASSERT_TRUE(PumpUntil([&] { return form->rbSourceDB->GetChecked(); }));
  EXPECT_TRUE(form->acEditSrcDB->GetEnabled());
  EXPECT_FALSE(form->edScriptPath->GetEnabled());
  EXPECT_EQ("Source database not connected.", form->lbSource->GetCaption());
}

// The source buttons draw themselves: themed while the window's controller
// asks for the native style, from the classic glyphs without it.
TEST_F(MainWindow, TheSourceButtonsDrawWithTheStyleOnAndOff) {
  for (bool native : {true, false}) {
    form->cxLFControl->SetNativeStyle(native);
    form->rbSourceDB->Invalidate();
    form->rbSourceScript->Invalidate();
    guitest::PumpFor(20);
    const auto capture = guitest::TCapture::Paint(form->GetHandle());
    capture.SavePng(native ? "main_window_source_style_on" : "main_window_source_style_off");
    const TRect glyph = form->rbSourceDB->GetGlyphRect();
    const TPoint center = form->ScreenToClient(form->rbSourceDB->ClientToScreen(
        TPoint((glyph.left + glyph.right) / 2, (glyph.top + glyph.bottom) / 2)));
    EXPECT_EQ(native && IsThemedPartAvailable(true, totButton), form->rbSourceDB->IsThemed());
    if (!native) {
      EXPECT_EQ(ColorToRGB(clBtnText), capture.Pixel(center.x, center.y)) << "the checked dot";
    }
  }
}

// The window owns the settings key while it runs: it starts and ends without it.
class MainWindowSettings : public testing::Test {
protected:
  void SetUp() override {
    Reg.DeleteKey(SettingsKey);
    SetSettingsBackend(std::make_unique<TRegistrySettingsBackend>());
  }
  void TearDown() override {
    Reg.CloseKey();
    Reg.DeleteKey(SettingsKey);
    SetSettingsBackend(std::make_unique<TMemorySettingsBackend>());
  }
  TRegistry Reg;
};

TEST_F(MainWindowSettings, ShowingAppliesTheStoredFontsAndClosingStoresThem) {
  WriteSettingString("LogFontName", "Courier New");
  WriteSettingInteger("LogFontSize", 11);
  WriteSettingString("ScriptFontName", "");
  WriteSettingInteger("ScriptFontSize", 12);
  WriteSettingBool("VerboseLog", true);
  auto form = std::make_unique<TfmMain>(nullptr);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  EXPECT_EQ("Courier New", form->mLog->GetFont()->GetName());
  EXPECT_EQ(11, form->mLog->GetFont()->GetSize());
  // An empty name keeps the editor's own font.
  EXPECT_EQ("Courier New", form->mScript->GetFont()->GetName());
  EXPECT_EQ(12, form->mScript->GetFont()->GetSize());
  EXPECT_TRUE(form->GetSettings().VerboseLog);

  form->mLog->GetFont()->SetName("Tahoma");
  form->mLog->GetFont()->SetSize(10);
  form->Close();
  EXPECT_EQ("Tahoma", ReadSettingString("LogFontName", ""));
  EXPECT_EQ(10, ReadSettingInteger("LogFontSize", 0));
  EXPECT_EQ("Courier New", ReadSettingString("ScriptFontName", ""));
  EXPECT_EQ(12, ReadSettingInteger("ScriptFontSize", 0));
  EXPECT_TRUE(ReadSettingBool("VerboseLog", false));
}

} // namespace

// Options... confirmed with OK stores every setting at once; About and the
// extract dialog open from their actions.
TEST_F(MainWindowSettings, OptionsAboutAndExtractOpenFromTheirActions) {
  auto form = std::make_unique<TfmMain>(nullptr);
  auto options = std::make_unique<TfmOptions>(nullptr);
  auto dump = std::make_unique<TfmDump>(nullptr);
  auto about = std::make_unique<TfmAbout>(nullptr);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  ASSERT_FALSE(Reg.OpenKeyReadOnly(SettingsKey));

  TCustomForm* shown = nullptr;
  guitest::AnswerNextForm([&](TCustomForm* dialog) {
    shown = dialog;
    dialog->SetModalResult(mrOk);
  });
  form->acOptions->Execute();
  EXPECT_EQ(options.get(), shown);
  ASSERT_TRUE(Reg.OpenKeyReadOnly(SettingsKey));
  for (const char* name : {"DropExtraColumns", "DropExtraIndices", "DropExtraConstraints", "DropExtraTables",
                           "SyncRunUnprompted", "ConnectOnStartup", "ScriptToClipboard", "AllowTblTypeChg",
                           "UseBackticks", "VerboseLog", "SelectSyncTables", "NoForeignKeyChecks",
                           "LogFontName", "LogFontSize", "ScriptFontName", "ScriptFontSize"})
    EXPECT_TRUE(Reg.ValueExists(name)) << name;
  Reg.CloseKey();

  for (auto [action, dialog] : {std::pair<TAction*, TCustomForm*>{form->acAbout, about.get()},
                                std::pair<TAction*, TCustomForm*>{form->acExtractDB, dump.get()}}) {
    shown = nullptr;
    guitest::AnswerNextForm([&](TCustomForm* opened) {
      shown = opened;
      opened->SetModalResult(mrCancel);
    });
    action->Execute();
    EXPECT_EQ(dialog, shown) << action->GetName();
  }
}

TEST_F(MainWindowSettings, ConnectOnStartupOpensTheTargetsConnectionDialogAtOnce) {
  WriteSettingBool("ConnectOnStartup", true);
  auto form = std::make_unique<TfmMain>(nullptr);
  auto conn = std::make_unique<TfmDBConnInfo>(nullptr);
  form->dbTarget->SetHost("target-host");
  TCustomForm* shown = nullptr;
  String host;
  guitest::AnswerNextForm([&](TCustomForm* dialog) {
    shown = dialog;
    host = conn->edHost->GetText();
    dialog->SetModalResult(mrCancel);
  });
  form->Show();
  EXPECT_EQ(conn.get(), shown);
  EXPECT_EQ("target-host", host);
}
