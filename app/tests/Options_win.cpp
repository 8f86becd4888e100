// The options dialog on the main window's fonts and switches: shown as they
// are, applied on OK (and then stored, all sixteen values), untouched on
// Cancel; a font name comes only from an entry of the font lists, which load
// in the background: a dialog opened while they load shows its fonts once
// they have arrived.
#include "GuiTest.h"
#include "Main.h"
#include "Options.h"
#include "Registry.h"
#include "SettingsRegistry.h"
#include "cxButtons.h"
#include "StdCtrls.h"
#include "FontLoaderGate.h"
#include "cxCheckBox.h"
#include "cxFontNameComboBox.h"
#include "cxSpinEdit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

namespace {

const char* const kInvisible[] = {"DropExtraIndices", "DropExtraConstraints", "DropExtraTables"};

bool IsInvisibleSwitch(const String& name) {
  for (const char* invisible : kInvisible)
    if (name == invisible) return true;
  return false;
}

// The test owns the settings key: it starts and ends without it.
class OptionsDialog : public testing::Test {
protected:
  void SetUp() override {
    Reg.DeleteKey(SettingsKey);
    SetSettingsBackend(std::make_unique<TRegistrySettingsBackend>());
    Main = std::make_unique<TfmMain>(nullptr);
    Main->LoadSettings();
    NewDialog();
    TStrings* fonts = Dialog->cFontChanges->GetProperties()->GetItems();
    ASSERT_GE(fonts->IndexOf("Tahoma"), 0) << fonts->GetText();
    // Another font of the list, whatever the machine has.
    for (int i = 0; i < fonts->GetCount() && OtherFont.empty(); ++i)
      if (CompareText(fonts->Get(i), "Tahoma") != 0) OtherFont = fonts->Get(i);
    ASSERT_FALSE(OtherFont.empty());
  }
  void TearDown() override {
    Dialog.reset();
    Main.reset();
    Reg.CloseKey();
    Reg.DeleteKey(SettingsKey);
    SetSettingsBackend(std::make_unique<TMemorySettingsBackend>());
  }

  // Shows the dialog modally with steps run while it is shown; a dialog the
  // steps leave open is cancelled. The modal result.
  TModalResult Show(const std::function<void()>& steps) {
    bool shown = false;
    guitest::AnswerNextForm([&](TCustomForm* form) {
      shown = form == Dialog.get();
      if (shown) steps();
      if (Dialog->GetModalResult() == mrNone) Dialog->butCancel->Click();
    });
    const TModalResult result = Dialog->ShowModal();
    EXPECT_TRUE(shown);
    return result;
  }

  static bool FontsLoaded(TfmOptions* dialog) {
    return dialog->cFontChanges->GetProperties()->GetFontsLoaded() &&
           dialog->cFontScript->GetProperties()->GetFontsLoaded();
  }

  // A dialog whose font lists have arrived.
  void NewDialog() {
    Dialog = std::make_unique<TfmOptions>(nullptr);
    ASSERT_TRUE(guitest::PumpUntil([&] { return FontsLoaded(Dialog.get()); }, 20000));
  }

  TcxCheckBox* Box(const TSwitchInfo& i) {
    auto* box = dynamic_cast<TcxCheckBox*>(Dialog->FindComponent(String("chk") + i.Name));
    EXPECT_NE(nullptr, box) << i.Name;
    return box;
  }

  // Every switch set differently from the next one.
  void SetMainSwitches(bool first) {
    bool on = first;
    for (const TSwitchInfo& i : SettingSwitches) {
      Main->GetSettings().*i.Field = on;
      on = !on;
    }
  }

  void SetMainFonts(const String& logName, int logSize, const String& scriptName, int scriptSize) {
    Main->mLog->GetFont()->SetName(logName);
    Main->mLog->GetFont()->SetSize(logSize);
    Main->mScript->GetFont()->SetName(scriptName);
    Main->mScript->GetFont()->SetSize(scriptSize);
  }

  // Types into a spin editor as the user does: the old text erased first.
  static void TypeInto(TcxSpinEdit* edit, const String& text) {
    edit->SetFocus();
    guitest::PressKey(VK_END);
    for (int i = 0; i < 6; ++i)
      guitest::PressKey(VK_BACK);
    guitest::TypeText(text);
  }

  // A dialog whose two font lists are both held in their loading.
  void NewLoadingDialog(TEnumerationGate& gate) {
    Dialog = std::make_unique<TfmOptions>(nullptr);
    gate.WaitForHeld(2);
  }

  TRegistry Reg;
  std::unique_ptr<TfmMain> Main;
  std::unique_ptr<TfmOptions> Dialog;
  String OtherFont;
};

TEST_F(OptionsDialog, ShowsTheMainWindowsFontsAndSwitchesAndCancelChangesNothing) {
  for (bool first : {true, false}) {
    SCOPED_TRACE(first);
    NewDialog();
    SetMainSwitches(first);
    SetMainFonts(first ? "Tahoma" : OtherFont, first ? 11 : 7, first ? OtherFont : "Tahoma", 13);
    const TSettings before = Main->GetSettings();
    const TModalResult result = Show([&] {
      EXPECT_EQ(Main->mLog->GetFont()->GetName(), Dialog->cFontChanges->GetText());
      EXPECT_EQ(Main->mScript->GetFont()->GetName(), Dialog->cFontScript->GetText());
      EXPECT_EQ(first ? 11 : 7, Dialog->szFontChanges->GetValue().AsInteger());
      EXPECT_EQ(13, Dialog->szFontScript->GetValue().AsInteger());
      for (const TSwitchInfo& i : SettingSwitches) {
        TcxCheckBox* box = Box(i);
        EXPECT_EQ(before.*i.Field, box->GetChecked()) << i.Name;
        EXPECT_EQ(!IsInvisibleSwitch(i.Name), box->IsShowing()) << i.Name;
      }
      if (first) {
        auto capture = guitest::TCapture::Paint(Dialog->GetHandle());
        capture.SavePng("options_dialog");
        EXPECT_EQ(344, capture.Width());
        EXPECT_EQ(287, capture.Height());
      }
      // Everything changed, then cancelled with Esc.
      for (const TSwitchInfo& i : SettingSwitches)
        Box(i)->SetChecked(!Box(i)->GetChecked());
      Dialog->cFontChanges->SetItemIndex(-1);
      Dialog->szFontScript->SetValue(20);
      guitest::PressKey(VK_ESCAPE);
      ASSERT_TRUE(guitest::PumpUntil([&] { return Dialog->GetModalResult() != mrNone; }));
    });
    EXPECT_EQ(mrCancel, result);
    for (const TSwitchInfo& i : SettingSwitches)
      EXPECT_EQ(before.*i.Field, Main->GetSettings().*i.Field) << i.Name;
    EXPECT_EQ(first ? "Tahoma" : OtherFont, Main->mLog->GetFont()->GetName());
    EXPECT_EQ(13, Main->mScript->GetFont()->GetSize());
    EXPECT_FALSE(Reg.KeyExists(SettingsKey));
  }
}

TEST_F(OptionsDialog, OKAppliesFontsAndSwitchesThatTheMainWindowThenStores) {
  SetMainSwitches(true);
  SetMainFonts("Tahoma", 9, "Tahoma", 10);
  const TSettings before = Main->GetSettings();
  const TModalResult result = Show([&] {
    TStrings* fonts = Dialog->cFontChanges->GetProperties()->GetItems();
    Dialog->cFontChanges->SetItemIndex(fonts->IndexOf(OtherFont));
    TypeInto(Dialog->szFontChanges, "14");
    guitest::PressKey(VK_UP);
    ASSERT_TRUE(guitest::PumpUntil([&] { return Dialog->szFontChanges->GetValue().AsInteger() == 15; }));
    // A letter is refused, and the emptied field reads as MinValue (0, no
    // bounds set); the keys arrive before the clicks below.
    TypeInto(Dialog->szFontScript, "x");
    for (const TSwitchInfo& i : SettingSwitches)
      if (!IsInvisibleSwitch(i.Name)) Box(i)->SetChecked(!Box(i)->GetChecked());
    // One by the mouse, as the user ticks it; it was set back just now.
    guitest::ClickControl(Dialog->chkVerboseLog);
    ASSERT_TRUE(guitest::PumpUntil([&] { return Dialog->chkVerboseLog->GetChecked() == before.VerboseLog; }));
    guitest::ClickControl(Dialog->butOK);
    ASSERT_TRUE(guitest::PumpUntil([&] { return Dialog->GetModalResult() != mrNone; }));
  });
  ASSERT_EQ(mrOk, result);
  EXPECT_EQ(OtherFont, Main->mLog->GetFont()->GetName());
  EXPECT_EQ(15, Main->mLog->GetFont()->GetSize());
  EXPECT_EQ("Tahoma", Main->mScript->GetFont()->GetName());
  EXPECT_EQ(0, Main->mScript->GetFont()->GetSize());
  TSettings expected = before;
  for (const TSwitchInfo& i : SettingSwitches)
    if (!IsInvisibleSwitch(i.Name) && String(i.Name) != "VerboseLog") expected.*i.Field = !(before.*i.Field);
  for (const TSwitchInfo& i : SettingSwitches)
    EXPECT_EQ(expected.*i.Field, Main->GetSettings().*i.Field) << i.Name;

  // What the main window's Options command does next.
  Main->SaveSettings();
  ASSERT_TRUE(Reg.OpenKeyReadOnly(SettingsKey));
  DWORD values = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(Reg.GetCurrentKey(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, &values, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(16u, values);
  for (const TSwitchInfo& i : SettingSwitches) {
    EXPECT_EQ(rdInteger, Reg.GetDataType(i.Name)) << i.Name;
    EXPECT_EQ(expected.*i.Field ? 1 : 0, Reg.ReadInteger(i.Name)) << i.Name;
  }
  struct Font {
    const char* name;
    String value;
    const char* size;
    int sizeValue;
  };
  for (const Font& f : {Font{"LogFontName", OtherFont, "LogFontSize", 15},
                        Font{"ScriptFontName", "Tahoma", "ScriptFontSize", 0}}) {
    EXPECT_EQ(rdString, Reg.GetDataType(f.name));
    EXPECT_EQ(f.value, Reg.ReadString(f.name));
    EXPECT_EQ(rdInteger, Reg.GetDataType(f.size));
    EXPECT_EQ(f.sizeValue, Reg.ReadInteger(f.size));
  }
}

TEST_F(OptionsDialog, AFontNameIsTakenOnlyFromAnEntryOfTheList) {
  struct Case {
    String text;
    String expected;
  };
  const Case cases[] = {
      {"", OtherFont},
      {"Loading ...", OtherFont},
      {"No Such Font", OtherFont},
      {" Tahoma", OtherFont},
      // The entry as the list writes it.
      {"TAHOMA", "Tahoma"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    NewDialog();
    SetMainFonts(OtherFont, 9, "Tahoma", 9);
    const TModalResult result = Show([&] {
      Dialog->cFontChanges->SetText(c.text);
      Dialog->butOK->Click();
    });
    EXPECT_EQ(mrOk, result);
    EXPECT_EQ(c.expected, Main->mLog->GetFont()->GetName());
  }
}

// Both lists load at once; the dialog, shown meanwhile, selects each window's
// font as its list arrives, and a dialog closed while they load goes at once.
TEST_F(OptionsDialog, OpenedWhileTheFontListsLoadItShowsTheFontsOnceTheyArrive) {
  SetMainFonts(OtherFont, 9, "Tahoma", 10);
  TEnumerationGate gate;
  NewLoadingDialog(gate);
  const TModalResult result = Show([&] {
    EXPECT_EQ("", Dialog->cFontChanges->GetText());
    EXPECT_FALSE(FontsLoaded(Dialog.get()));
    gate.Open();
    ASSERT_TRUE(guitest::PumpUntil([&] { return FontsLoaded(Dialog.get()); }, 20000));
    EXPECT_EQ(OtherFont, Dialog->cFontChanges->GetText());
    EXPECT_EQ("Tahoma", Dialog->cFontScript->GetText());
    auto capture = guitest::TCapture::Paint(Dialog->GetHandle());
    capture.SavePng("options_dialog_fonts_loaded");
    Dialog->butOK->Click();
  });
  EXPECT_EQ(mrOk, result);
  EXPECT_EQ(OtherFont, Main->mLog->GetFont()->GetName());
  EXPECT_EQ("Tahoma", Main->mScript->GetFont()->GetName());
}

TEST_F(OptionsDialog, ClosedWhileTheFontListsLoadTheDialogGoesCleanly) {
  TEnumerationGate gate;
  NewLoadingDialog(gate);
  // Served while the first combo box waits for its loader.
  std::thread opener([&] { TThread::Synchronize(nullptr, [&] { gate.Open(); }); });
  Dialog.reset();
  opener.join();
  guitest::PumpFor(50);
  SUCCEED();
}

} // namespace
