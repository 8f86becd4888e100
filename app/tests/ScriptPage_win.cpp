// The script page's editor: the window's values, the SQL rules from the
// program's resources, highlighted text after loading a file, and Select all.
#include "ActnList.h"
#include "ComCtrls.h"
#include "cxPC.h"
#include "GuiTest.h"
#include "Main.h"
#include "ScriptEditorExpect.h"
#include "SynParse.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using guitest::PumpUntil;

namespace {

class ScriptPage : public testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TfmMain>(nullptr);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
    form->page->SetActivePage(form->tabScript);
    ASSERT_TRUE(PumpUntil([&] { return form->mScript->IsShowing(); }));
  }
  std::unique_ptr<TfmMain> form;
};

TEST_F(ScriptPage, EditorCarriesTheWindowsValuesAndTheSqlRules) {
  TSyntaxMemo& editor = *form->mScript;
  EXPECT_EQ(form->SyntaxMemoParser1, editor.GetParser(1));
  EXPECT_EQ(1, editor.GetActiveParser());
  EXPECT_EQ(42, editor.GetGutter());
  EXPECT_EQ("Tahoma", editor.GetGutterFont()->GetName());
  EXPECT_EQ(clWhite, editor.GetSelTextColor());
  EXPECT_EQ(12937777, editor.GetSelTextBack());
  EXPECT_EQ(ssBoth, editor.GetScrollBars());
  EXPECT_TRUE(editor.GetOptions() & SyntaxMemoOptionBit(smoLineNumbers));
  EXPECT_FALSE(editor.GetOptions() & SyntaxMemoOptionBit(smoShowRMargin));
  // The language came from the resources: its keywords are known.
  EXPECT_GT(form->SyntaxMemoParser1->GetSettings().LanguageName.size(), 0u);
}

// A loaded script is shown highlighted with line numbers; Select all takes
// the whole text when the editor has the focus.
TEST_F(ScriptPage, LoadedScriptIsHighlightedAndSelectAllTakesIt) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const String path = String(dir) + "vw_script_page.sql";
  const String text = "select id from t;\r\n-- a note\r\ninsert into t values (1);\r\n";
  {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
  TSyntaxMemo& editor = *form->mScript;
  editor.GetLines()->LoadFromFile(path);
  remove(path.c_str());
  EXPECT_EQ(text, editor.GetText());
  const guitest::TCapture picture = guitest::TCapture::Paint(editor.GetHandle());
  picture.SavePng("main_window_script_loaded");
  // "select" is drawn in its style's colour.
  EXPECT_GT(FirstWordInk(editor, picture, 6), 10);
  // Line numbers sit in the gutter.
  const RECT gutter{0, 0, editor.GetGutter() - 2, 3 * editor.GetLineHeight()};
  EXPECT_LT(picture.CountPixels(gutter, ColorToRGB(editor.GetGutterColor())),
            (editor.GetGutter() - 2) * 3 * editor.GetLineHeight());

  editor.SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return editor.Focused(); }));
  form->acSelectAll->Execute();
  EXPECT_EQ(0, editor.GetSelStart());
  EXPECT_EQ(static_cast<int>(text.size()), editor.GetSelLength());
}

} // namespace
