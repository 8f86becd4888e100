// The editor options dialog over the SQL language, driven from inside its
// modal loop: the pages shown, Cancel and OK, the key page's refusal of a
// key pair bound twice, and a click in the preview.
#include "ActnList.h"
#include "GuiTest.h"
#include "SYM_CBut_win.h"
#include "SYM_KDlg.h"
#include "SYM_Spin.h"
#include "SqlRulesSupport.h"
#include "SynElemF.h"
#include "SyntaxMemo.h"

#include <gtest/gtest.h>

namespace {

using guitest::PumpUntil;

String SettingsBytes(const TSM_Settings& settings) {
  TStringStream stream;
  settings.SaveToStream(stream);
  return stream.GetDataString();
}

int IndexOfItem(TListBox* list, const String& text) {
  return list->GetItems()->IndexOf(text);
}

void SelectItem(TListBox* list, int index) {
  list->SetItemIndex(index);
  list->OnClick(list);
}

void SelectCombo(TComboBox* box, const String& text) {
  box->SetItemIndex(box->GetItems()->IndexOf(text));
  box->OnChange(box);
}

class OptionsDialog : public ::testing::Test {
protected:
  void SetUp() override {
    Parser = CompileRules(SqlRuleScriptText());
    Dialog = std::make_unique<TOptionsDialog>(nullptr);
    Dialog->Parser = Parser.get();
  }
  // Runs the dialog with the pages; action runs inside its loop and closes it.
  bool Run(int pages, const std::function<void()>& action) {
    guitest::AnswerNextForm([&](TCustomForm*) {
      PumpUntil([&] { return Dialog->IsShowing(); });
      action();
      // A failed check leaves the dialog open: it closes all the same.
      if (Dialog->GetModalResult() == mrNone) Dialog->SetModalResult(mrCancel);
    });
    return Dialog->ExecutePages(pages);
  }
  TSM_Settings& Copy() { return *Dialog->GetSettingsCopy(); }
  // Changes something on every page.
  void EditEverything() {
    SelectItem(Dialog->SynElementsBox, 0);
    Dialog->ForegroundButton->SetColor(0x00102030);
    Dialog->UseBoldBox->SetChecked(!Dialog->UseBoldBox->GetChecked());
    SelectCombo(Dialog->FontSizeBox, "14");
    Dialog->ShowAllCharsBox->SetChecked(!Dialog->ShowAllCharsBox->GetChecked());
    Dialog->LeftBorderWidthBox->SetText("57");
    Dialog->ReplaceBox->SetText("teh");
    Dialog->WithBox->SetText("the");
    Dialog->AutoReplButton1->Click();
    Dialog->cteNameBox->SetText("sel");
    Dialog->cteDescBox->SetText("select all");
    Dialog->SyntaxMemo1->SetText("select * from |");
    Dialog->CodeTemplateButton1->Click();
    // Every key pair of the first command goes.
    SelectItem(Dialog->CommandDescListBox, 0);
    while (Dialog->CommandKeysListBox->GetItems()->GetCount() > 0) {
      SelectItem(Dialog->CommandKeysListBox, 0);
      Dialog->DeleteButton->Click();
    }
  }

  std::unique_ptr<TSyntaxMemoParser> Parser;
  std::unique_ptr<TOptionsDialog> Dialog;
};

} // namespace

TEST_F(OptionsDialog, PageSetTwoShowsOnlyTheHighlightingPage) {
  std::vector<bool> visible;
  TTabSheet* active = nullptr;
  EXPECT_FALSE(Run(2, [&] {
    for (TTabSheet* page : {Dialog->OptionsPage, Dialog->HighlightingPage, Dialog->KeyMappingsPage,
                            Dialog->AutoCorrectPage, Dialog->TemplatesPage})
      visible.push_back(page->GetTabVisible());
    active = Dialog->PageControl1->GetActivePage();
    Dialog->CancelButton->Click();
  }));
  EXPECT_EQ(visible, (std::vector<bool>{false, true, false, false, false}));
  EXPECT_EQ(active, Dialog->HighlightingPage);
  EXPECT_FALSE(Dialog->ExecutePages(0));
}

TEST_F(OptionsDialog, EveryPageAsShown) {
  Run(31, [&] {
    EXPECT_EQ(Dialog->GetCaption(), "Editor Options");
    EXPECT_EQ(Dialog->PageControl1->GetActivePage(), Dialog->HighlightingPage);
    EXPECT_EQ(Dialog->LangNameBox->GetText(), Copy().LanguageName);
    EXPECT_GE(Dialog->FontNameBox->GetItems()->IndexOf("Tahoma"), 0);
    EXPECT_GT(Dialog->CommandDescListBox->GetItems()->GetCount(), 40);
    EXPECT_EQ(Dialog->cteHotkey->GetHotKey(), Copy().GetCodeTemplates().TriggerKey);
    // The SQL language's font is fixed-pitch.
    EXPECT_TRUE(Dialog->CursorAfterEOLBox->GetEnabled());
    // Entries for the owner-drawn lists to show.
    for (const char* key : {"teh", "adn"}) {
      Dialog->ReplaceBox->SetText(key);
      Dialog->WithBox->SetText(String(key) == "teh" ? "the" : "and");
      Dialog->AutoReplButton1->Click();
    }
    Dialog->cteNameBox->SetText("sel");
    Dialog->cteDescBox->SetText("select all columns");
    Dialog->SyntaxMemo1->SetText("select * from |");
    Dialog->CodeTemplateButton1->Click();
    EXPECT_EQ(Dialog->CodeTemplateButton2->GetCaption(), "Delete");
    const std::pair<TTabSheet*, const char*> pages[] = {{Dialog->OptionsPage, "options"},
                                                        {Dialog->HighlightingPage, "highlighting"},
                                                        {Dialog->KeyMappingsPage, "keys"},
                                                        {Dialog->AutoCorrectPage, "auto_correct"},
                                                        {Dialog->TemplatesPage, "templates"}};
    for (const auto& [page, name] : pages) {
      Dialog->PageControl1->SetActivePage(page);
      guitest::PumpFor(100);
      guitest::TCapture::Paint(Dialog->GetHandle()).SavePng(String("syntaxmemo_options_") + name);
    }
    Dialog->CancelButton->Click();
  });
}

TEST_F(OptionsDialog, CancelLeavesTheSettingsByteForByte) {
  const String before = SettingsBytes(Parser->GetSettings());
  EXPECT_FALSE(Run(31, [&] {
    EditEverything();
    EXPECT_NE(SettingsBytes(Copy()), before);
    Dialog->CancelButton->Click();
  }));
  EXPECT_EQ(SettingsBytes(Parser->GetSettings()), before);
  EXPECT_TRUE(Parser->GetEditors().empty());
}

TEST_F(OptionsDialog, OKAppliesEveryPage) {
  TSM_Settings& settings = Parser->GetSettings();
  const uint8_t style = settings.GetEditableStyle(1).StyleNumber;
  const TSM_StyleRecord oldStyle = settings.GetStyle(style);
  const uint32_t oldOptions = settings.Options;
  String firstCommand;
  int firstCommandId = -1;
  EXPECT_TRUE(Run(31, [&] {
    EditEverything();
    firstCommand = Dialog->CommandDescListBox->GetItems()->Get(0);
    Dialog->OKButton->Click();
  }));
  EXPECT_EQ(settings.GetStyle(style).Foreground, 0x00102030);
  EXPECT_EQ(settings.GetStyle(style).FontStyle, oldStyle.FontStyle ^ fsBoldBit);
  EXPECT_EQ(settings.FontSize, 14);
  EXPECT_EQ(settings.Options, oldOptions ^ SyntaxMemoOptionBit(smoShowAllChars));
  EXPECT_EQ(settings.GutterWidth, 57);
  String expansion;
  EXPECT_TRUE(settings.GetCodeTemplates().FindTemplate("sel", expansion));
  EXPECT_EQ(expansion, "select * from |");
  const auto& replacements = settings.GetAutoReplace().GetEntries();
  EXPECT_TRUE(std::any_of(replacements.begin(), replacements.end(),
                          [](const auto& e) { return e.Name == "teh" && e.Expansion == "the"; }));
  for (const auto& command : settings.GetKeyController().GetCommandNames())
    if (command.Name == firstCommand) firstCommandId = command.Action;
  ASSERT_GE(firstCommandId, 0);
  TShortCut first = 0, second = 0;
  EXPECT_FALSE(settings.GetKeyController().FindFirstKeys(firstCommandId, first, second));
}

TEST_F(OptionsDialog, OptionBoxesFollowTheirBitsAndBadValuesFallBack) {
  Run(1, [&] {
    EXPECT_EQ(Dialog->PageControl1->GetActivePage(), Dialog->OptionsPage);
    EXPECT_EQ(Dialog->DispWrapBox->Tag, 0x400);
    EXPECT_EQ(Dialog->SmartFillBox->Tag, 0x1000000);
    EXPECT_EQ(Dialog->DispWrapBox->GetChecked(), (Copy().Options & 0x400) != 0);
    Dialog->DispWrapBox->SetChecked(true);
    EXPECT_FALSE(Dialog->TabColBox->GetEnabled());
    EXPECT_TRUE(Copy().Options & 0x400);
    // Width boxes: out of range falls back to 1; the spin buttons step.
    Dialog->RightMarginWidthBox->SetText("250");
    EXPECT_EQ(Dialog->RightMarginWidthBox->GetText(), "1");
    EXPECT_EQ(Copy().RightMargin, 1);
    Dialog->RightMarginSpin->OnUpClick(Dialog->RightMarginSpin);
    EXPECT_EQ(Copy().RightMargin, 2);
    // All ten digits pass the width boxes' key filter.
    for (char digit : String("0123456789")) {
      char key = digit;
      Dialog->LeftBorderWidthBox->OnKeyPress(Dialog->LeftBorderWidthBox, key);
      EXPECT_EQ(key, digit);
    }
    // A tab width of 0 is refused with the editor's message, the old one back.
    const String oldTab = Dialog->DeftabBox->GetText();
    String message;
    guitest::AnswerNextForm([&](TCustomForm* box) {
      message = guitest::MessageText(box);
      box->SetModalResult(mrOk);
    });
    Dialog->DeftabBox->SetText("0");
    Dialog->DeftabBox->OnExit(Dialog->DeftabBox);
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(Dialog->DeftabBox->GetText(), oldTab);
    EXPECT_EQ(Copy().TabDefault, StrToInt(oldTab));
    Dialog->CancelButton->Click();
  });
}

TEST_F(OptionsDialog, ElementsWithoutFontStylesDisableTheAttributeBoxes) {
  Run(2, [&] {
    for (const char* element : {"Selected text", "Left margin", "Gutter"}) {
      SelectItem(Dialog->SynElementsBox, IndexOfItem(Dialog->SynElementsBox, element));
      EXPECT_FALSE(Dialog->UseBoldBox->GetEnabled()) << element;
      EXPECT_EQ(Dialog->UseDefForeBox->GetEnabled(), String(element) == "Selected text") << element;
    }
    SelectItem(Dialog->SynElementsBox, IndexOfItem(Dialog->SynElementsBox, "Gutter"));
    Dialog->BackgroundButton->SetColor(0x00445566);
    EXPECT_EQ(Copy().GutterColor, 0x00445566);
    SelectItem(Dialog->SynElementsBox, 0);
    EXPECT_TRUE(Dialog->UseBoldBox->GetEnabled());
    Dialog->CancelButton->Click();
  });
}

TEST_F(OptionsDialog, AKeyPairBoundTwiceIsRefusedThenAcceptedOnceRemoved) {
  // A single-key binding of a later command, given again to the first one.
  TKeyboardActionContoller& keys = Parser->GetSettings().GetKeyController();
  TShortCut taken = 0;
  int takenBy = -1;
  for (const auto& command : keys.GetCommandNames()) {
    TShortCut first = 0, second = 0;
    for (bool found = keys.FindFirstKeys(command.Action, first, second); found && !taken;
         found = keys.FindNextKeys(command.Action, first, second))
      if (second == 0 && (first & ~scCtrl) >= 'A' && (first & ~scCtrl) <= 'Z' && (first & scCtrl)) {
        taken = first;
        takenBy = command.Action;
      }
  }
  ASSERT_NE(taken, 0);
  String refusal;
  bool stayedOpen = false;
  EXPECT_TRUE(Run(4, [&] {
    TListBox* commands = Dialog->CommandDescListBox;
    SelectItem(commands, 0);
    guitest::AnswerNextForm([&](TCustomForm* form) {
      auto* keyDialog = static_cast<TKeyAssignDialog*>(form);
      PumpUntil([&] { return keyDialog->GetKeyBox(1)->Focused(); });
      guitest::PressKey(static_cast<WORD>(taken & 0xFF), guitest::kCtrl);
      PumpUntil([&] { return keyDialog->GetKeyBox(1)->GetShortCut() == taken; });
      guitest::ClickControl(keyDialog->NextButton);
      PumpUntil([&] { return keyDialog->GetStep() == 2; });
      guitest::ClickControl(keyDialog->NextButton);
    });
    Dialog->AddButton->Click();
    const String added = "[" + ShortCutToText(taken) + "]  [<none>]";
    EXPECT_GE(IndexOfItem(Dialog->CommandKeysListBox, added), 0);
    guitest::AnswerNextForm([&](TCustomForm* box) {
      refusal = guitest::MessageText(box);
      box->SetModalResult(mrOk);
    });
    Dialog->OKButton->Click();
    stayedOpen = Dialog->GetOKRefused() && Dialog->GetModalResult() == mrNone;
    SelectItem(Dialog->CommandKeysListBox, IndexOfItem(Dialog->CommandKeysListBox, added));
    Dialog->DeleteButton->Click();
    Dialog->OKButton->Click();
  }));
  EXPECT_FALSE(refusal.empty());
  EXPECT_TRUE(stayedOpen);
  // The pair stays with the command that had it.
  bool kept = false;
  TShortCut first = 0, second = 0;
  for (bool found = keys.FindFirstKeys(takenBy, first, second); found;
       found = keys.FindNextKeys(takenBy, first, second))
    kept = kept || (first == taken && second == 0);
  EXPECT_TRUE(kept);
}

TEST_F(OptionsDialog, AClickInThePreviewSelectsTheStyleUnderIt) {
  Run(2, [&] {
    TSyntaxMemo* preview = Dialog->FEditor;
    TSM_Settings& settings = Copy();
    // The first character of a style listed among the elements, other than
    // the one selected now.
    const int selected = Dialog->SynElementsBox->GetItemIndex();
    int position = -1;
    uint8_t wanted = 0;
    const int length = preview->GetTextLength();
    for (int p = 0; p < length && position < 0; ++p) {
      int rowStart = 0;
      TRowRecord* row = preview->GetModel().RowAt(p, rowStart);
      const int index = p - rowStart;
      if (!row || !row->Tokens || index >= row->Length || row->Text[index] == ' ') continue;
      const uint8_t style = settings.TokenStyle(row->Tokens[index]);
      for (int i = 0; i < Dialog->SynElementsBox->GetItems()->GetCount(); ++i)
        if (i != selected &&
            (reinterpret_cast<intptr_t>(Dialog->SynElementsBox->GetItems()->GetObject(i)) & 0xFF) == style &&
            reinterpret_cast<intptr_t>(Dialog->SynElementsBox->GetItems()->GetObject(i)) < seSelectedText) {
          position = p;
          wanted = style;
        }
    }
    ASSERT_GE(position, 0) << "text " << preview->GetTextLength() << ", elements "
                           << Dialog->SynElementsBox->GetItems()->GetCount();
    POINT point{};
    preview->Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), position);
    guitest::ClickAt(preview->GetHandle(), point.x + 2, point.y + 3);
    PumpUntil([&] { return Dialog->SynElementsBox->GetItemIndex() != selected; }, 2000);
    const int now = Dialog->SynElementsBox->GetItemIndex();
    ASSERT_GE(now, 0);
    EXPECT_EQ(reinterpret_cast<intptr_t>(Dialog->SynElementsBox->GetItems()->GetObject(now)) & 0xFF, wanted);
    Dialog->CancelButton->Click();
  });
}

TEST(OptionsDialogParser, EditPropertiesAppliesToTheParsersEditorsOnOK) {
  std::unique_ptr<TSyntaxMemoParser> parser = CompileRules(SqlRuleScriptText());
  TForm form(nullptr);
  auto* editor = new TSyntaxMemo(&form);
  editor->SetParent(&form);
  editor->SetParser(1, parser.get());
  editor->SetActiveParser(1);
  form.Show();
  guitest::AnswerNextForm([&](TCustomForm* f) {
    auto* dialog = static_cast<TOptionsDialog*>(f);
    PumpUntil([&] { return dialog->IsShowing(); });
    EXPECT_TRUE(dialog->OptionsPage->GetTabVisible() && dialog->TemplatesPage->GetTabVisible());
    dialog->LeftBorderWidthBox->SetText("61");
    dialog->OKButton->Click();
  });
  EXPECT_TRUE(parser->EditProperties());
  EXPECT_EQ(editor->GetGutter(), 61);
  ASSERT_EQ(parser->GetEditors().size(), 1u);
  bool modify = false;
  parser->OnModifyProperties = [&](TObject*) { modify = true; };
  EXPECT_FALSE(parser->EditProperties());
  EXPECT_TRUE(modify);
}
