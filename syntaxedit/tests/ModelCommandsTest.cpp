// Commands, bookmarks, breakpoints and the parser and settings lists of the
// editor model.
#include "ModelFixture.h"
#include "SqlRulesSupport.h"
#include "SyntaxEd_templates.h"

namespace {

using Commands = ModelTest;

TEST_F(Commands, CaretMovesTable) {
  SetText("abc  \rdefghij\rxy");
  struct Case {
    int command, caret, expected;
  } cases[] = {
      {ecLineEnd, 1, 3},  {ecLineStart, 9, 6}, {ecLeft, 0, 0},      {ecRight, 16, 16},  {ecUp, 9, 3},
      {ecDown, 2, 8},     {ecDown, 12, 16},    {ecDocEnd, 3, 16},   {ecDocStart, 9, 0}, {ecWordRight, 0, 6},
      {ecWordLeft, 9, 6}, {ecUp, 1, 1},        {ecLineEnd, 15, 16},
  };
  for (const Case& c : cases) {
    model.SetSelection(c.caret, c.caret, false);
    model.ExecuteCommand(c.command, 0, false);
    EXPECT_EQ(model.GetSelection(), std::make_pair(c.expected, c.expected))
        << "command " << c.command << " from " << c.caret;
  }
}

TEST_F(Commands, PagesAndScrollingMoveTheViewWithTheCaret) {
  String text;
  for (int i = 0; i < 100; ++i)
    text += "row " + std::to_string(100 + i) + "\r";
  SetText(text);
  model.ExecuteCommand(ecPageDown, 0, false);
  EXPECT_EQ(model.LineFromChar(model.GetCaret()), 20);
  EXPECT_EQ(model.GetTopLine(), 20);
  model.ExecuteCommand(ecPageUp, 0, true);
  EXPECT_EQ(model.GetSelection(), std::make_pair(model.LineIndex(20), 0));
  EXPECT_EQ(model.GetTopLine(), 0);
  model.SetSelection(0, 0, false);
  model.ExecuteCommand(ecScrollDown, 0, false);
  EXPECT_EQ(model.GetTopLine(), 1);
  EXPECT_EQ(model.LineFromChar(model.GetCaret()), 1);
  model.ExecuteCommand(ecScrollUp, 0, false);
  EXPECT_EQ(model.GetTopLine(), 0);
}

TEST_F(Commands, BeyondTheLineEndTypingFillsTheGap) {
  SetOption(smoCaretAfterEOL, true);
  SetText("ab\rcdef");
  model.SetSelection(1, 1, false);
  model.ExecuteCommand(ecRight, 0, false);
  model.ExecuteCommand(ecRight, 0, false);
  model.ExecuteCommand(ecRight, 0, false);
  EXPECT_TRUE(model.GetCaretBeyondEOL());
  EXPECT_EQ(model.GetCaret(), 2);
  EXPECT_EQ(model.GetCaretColumn(), 4);
  Type("x");
  // TABs first: smoUseTAB and smoSmartFill are on by default.
  EXPECT_EQ(Text(), "ab\tx\rcdef");
  EXPECT_FALSE(model.GetCaretBeyondEOL());
  model.ExecuteCommand(ecDown, 0, false);
  EXPECT_TRUE(model.GetCaretBeyondEOL());
  EXPECT_EQ(model.GetCaretColumn(), 5);
  model.ExecuteCommand(ecLeft, 0, false);
  EXPECT_EQ(model.GetCaretColumn(), 4);
  EXPECT_EQ(model.GetCaret(), 9);
  model.ExecuteCommand(ecDeleteChar, 0, false);
  EXPECT_EQ(Text(), "ab\tx\rcdef");
}

TEST_F(Commands, ShiftDownExtendsToTheSamePixelColumn) {
  SetText("abcdef\rghijkl\r");
  model.SetSelection(2, 2, false);
  model.ExecuteCommand(ecDown, 0, true);
  EXPECT_EQ(model.GetSelection(), std::make_pair(2, 9));
  model.ExecuteCommand(ecDown, 0, true);
  EXPECT_EQ(model.GetSelection(), std::make_pair(2, 14));
}

TEST_F(Commands, LineStartAndDeleteLineWorkOnTheRowOfAWrappedLine) {
  model.SetWrapAtColumn(10);
  SetOption(smoWordWrap, true);
  SetText("aaaa bbbb cccc dddd\rnext");
  model.SetSelection(12, 12, false);
  model.ExecuteCommand(ecLineStart, 0, false);
  EXPECT_EQ(model.GetCaret(), 10);
  model.ExecuteCommand(ecDeleteLine, 0, false);
  EXPECT_EQ(Text(), "aaaa bbbb next");
}

TEST_F(Commands, DeletingCharacters) {
  SetText("ab\rcd");
  model.SetSelection(5, 5, false);
  model.ExecuteCommand(ecDeleteChar, 0, false);
  EXPECT_EQ(Text(), "ab\rcd");
  model.SetSelection(2, 2, false);
  model.ExecuteCommand(ecDeleteChar, 0, false);
  EXPECT_EQ(Text(), "abcd");
  model.ExecuteCommand(ecDeleteLastChar, 0, false);
  EXPECT_EQ(Text(), "acd");
  model.SetSelection(0, 0, false);
  model.ExecuteCommand(ecDeleteLastChar, 0, false);
  EXPECT_EQ(Text(), "acd");
  SetText("alpha beta gamma");
  model.SetSelection(11, 11, false);
  model.ExecuteCommand(ecDeleteLastWord, 0, false);
  EXPECT_EQ(Text(), "alpha gamma");
  model.ExecuteCommand(ecDeleteWord, 0, false);
  EXPECT_EQ(Text(), "alpha ");
  model.Undo();
  EXPECT_EQ(Text(), "alpha gamma");
}

TEST_F(Commands, ReadOnlyStopsEditingButNotCopying) {
  SetText("abc");
  model.ReadOnly = true;
  model.SelectAll();
  for (int command :
       {ecCut, ecPaste, ecDeleteChar, ecDeleteLastChar, ecBlockIndent, ecDeleteLine, ecDeleteWord})
    model.ExecuteCommand(command, 0, false);
  model.ExecuteCommand(ecCopy, 0, false);
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(host.Cuts, 0);
  EXPECT_EQ(host.Copies, 1);
  model.ExecuteCommand(200, 0, false);
}

TEST_F(Commands, OverwriteModeToggles) {
  EXPECT_TRUE(model.InsertMode);
  model.ExecuteCommand(ecToggleMode, 0, false);
  EXPECT_FALSE(model.InsertMode);
}

TEST_F(Commands, BookmarksSetMoveAndGo) {
  SetText("first line\rsecond\rthird");
  std::vector<int> set;
  model.OnBookmarkSet = [&](TObject*, int k) { set.push_back(k); };
  model.SetSelection(13, 13, false);
  model.ExecuteCommand(ecSetBookmark0 + 3, 0, false);
  EXPECT_EQ(model.GetStore().BookmarkPosition(3), 13);
  model.ExecuteCommand(ecSetBookmark0 + 3, 0, false);
  EXPECT_EQ(model.GetStore().BookmarkPosition(3), -1);
  EXPECT_EQ(set, (std::vector<int>{3}));

  model.SetBookmark(2, 1, 4);
  model.SetBookmark(4, 1, 50);
  EXPECT_EQ(model.GetStore().BookmarkPosition(2), -1);
  model.SetSelection(0, 0, false);
  model.GotoBookmark(2);
  EXPECT_EQ(model.GetCaret(), 0);
  model.ExecuteCommand(ecGotoBookmark0 + 4, 0, false);
  EXPECT_EQ(model.GetCaret(), 10);
  EXPECT_THROW(model.SetBookmark(10, 1, 1), ESyntaxMemo);
}

TEST_F(Commands, WithWordWrapABookmarkGoesToTheFirstRowOfItsLine) {
  model.SetWrapAtColumn(10);
  SetOption(smoWordWrap, true);
  SetText("aaaa bbbb cccc dddd");
  model.SetBookmark(1, 2, 1);
  EXPECT_TRUE(model.GetFirstRow()->Marks & 2);
}

// ---- breakpoints

TEST_F(Commands, BreakpointsMoveWithTheTextAndGoWithTheirRows) {
  String text;
  for (int i = 0; i < 20; ++i)
    text += "line " + std::to_string(i % 10) + "\r";
  SetText(text);
  auto& list = model.GetBreakpoints();
  list.Add(std::make_unique<TSM_BreakpointData>(1, true, "a", 0));
  list.Add(std::make_unique<TSM_BreakpointData>(2, false, "b", 0));
  list.GetEntry(0)->Position = 98;
  list.GetEntry(1)->Position = 112;
  std::vector<String> freed;
  model.OnBreakpointFree = [&](TObject*, TSM_BreakpointData* d) { freed.push_back(d->Name); };

  model.SetSelection(0, 0, false);
  Type("12345");
  EXPECT_EQ(list.GetEntry(0)->Position, 103);
  model.SetSelection(103, 103, false);
  Type("xy");
  EXPECT_EQ(list.GetEntry(0)->Position, 105);
  model.SetSelection(106, 108, false);
  Type("");
  EXPECT_EQ(list.GetEntry(0)->Position, 105);
  EXPECT_EQ(list.GetEntry(1)->Position, 117);
  model.SetSelection(117, 124, false);
  Type("");
  EXPECT_EQ(freed, (std::vector<String>{"b"}));
  ASSERT_EQ(list.GetCount(), 1);

  int image = 0;
  TColor text1 = 0, back = 0;
  EXPECT_TRUE(list.GetRowAttributes(105, image, text1, back));
  EXPECT_EQ(image, 11);
  EXPECT_EQ(back, 0x0000FF);
  auto& point = model.GetCodeBreak();
  EXPECT_FALSE(point.GetRowAttributes(0, image, text1, back));
  point.GetExecutionPoint().SetActive(true);
  EXPECT_TRUE(point.GetRowAttributes(0, image, text1, back));
  EXPECT_EQ(image, 12);
  EXPECT_EQ(back, 0x800000);
  model.SetSelection(0, 12, false);
  Type("");
  EXPECT_FALSE(point.GetExecutionPoint().GetActive());
}

// ---- templates

TEST_F(Commands, ATemplateReplacesItsNameIndentedWithTheCaretAtItsMarker) {
  SetText("  for");
  model.SetSelection(5, 5, false);
  model.ClearUndo();
  TCodeTemplates& templates = model.GetSettings().GetCodeTemplates();
  String name = "for";
  String expansion = "for x do\rbegin\r  |\rend;";
  String seen;
  model.OnTemplateEvent = [&](TObject*, const String& n, String&) { seen = n; };
  model.ExpandMacro(&templates, name, expansion);
  EXPECT_EQ(seen, "for");
  EXPECT_EQ(Text(), "  for x do\r  begin\r    \r  end;");
  EXPECT_EQ(model.GetCaret(), 23);
  model.Undo();
  EXPECT_EQ(Text(), "  for");
}

TEST_F(Commands, AutoReplaceOnlyReplacesWholeWords) {
  TAutoReplace& replace = model.GetSettings().GetAutoReplace();
  String name = "teh";
  String replacement = "the";
  SetText("teh");
  model.SetSelection(3, 3, false);
  model.ExpandMacro(&replace, name, replacement);
  EXPECT_EQ(Text(), "the");
  SetText("xteh");
  model.SetSelection(4, 4, false);
  model.ExpandMacro(&replace, name, replacement);
  EXPECT_EQ(Text(), "xteh");
  SetText("teh");
  model.SetSelection(3, 3, false);
  model.OnAutoReplace = [](TObject*, TEdStream&, const String&, String&, bool& can) { can = false; };
  model.ExpandMacro(&replace, name, replacement);
  EXPECT_EQ(Text(), "teh");
}

// ---- parsers and settings

// Counts the fonts a window would make for a language's styles.
class TCountedFonts : public TSM_SettingsFonts {
public:
  void CreateStyleFonts(TSM_Settings&) override { ++Live; }
  void FreeStyleFonts(TSM_Settings&) override { Live = 0; }
  static int Live;
};
int TCountedFonts::Live = 0;

TEST(ModelLists, StyleFontsExistOnlyWhileEditorsAreAttached) {
  SetSettingsFontsFactory(
      []() -> std::unique_ptr<TSM_SettingsFonts> { return std::make_unique<TCountedFonts>(); });
  {
    TSM_Settings settings;
    TMemoryStream stream;
    settings.SaveToStream(stream);
    stream.SetPosition(0);
    settings.LoadFromStream(stream);
    EXPECT_EQ(TCountedFonts::Live, 0);
    int a = 0, b = 0;
    auto* first = reinterpret_cast<TCustomSyntaxMemo*>(&a);
    auto* second = reinterpret_cast<TCustomSyntaxMemo*>(&b);
    settings.AttachEditor(first);
    settings.AttachEditor(second);
    EXPECT_EQ(TCountedFonts::Live, 1);
    settings.RefreshFonts();
    EXPECT_EQ(TCountedFonts::Live, 1);
    settings.DetachEditor(first);
    EXPECT_EQ(TCountedFonts::Live, 1);
    settings.DetachEditor(second);
    EXPECT_EQ(TCountedFonts::Live, 0);
    EXPECT_TRUE(settings.GetAttachedEditors().empty());
  }
  SetSettingsFontsFactory(nullptr);
}

TEST(ModelLists, ADestroyedEditorLeavesNoPointerInTheParserOrSettings) {
  TSyntaxMemoParser parser(nullptr);
  int key = 0;
  auto* editor = reinterpret_cast<TCustomSyntaxMemo*>(&key);
  {
    TSyntaxMemoModel model(editor);
    model.AttachParser(1, &parser);
    model.AttachParser(2, &parser);
    EXPECT_EQ(parser.GetEditors().size(), 1u);
    EXPECT_EQ(parser.GetSettings().GetAttachedEditors().size(), 1u);
    EXPECT_EQ(parser.GetSettings().GetAttachCount(), 2);
    model.SetActiveParser(3);
    EXPECT_EQ(&model.GetSettings(), &model.GetOwnSettings());
    EXPECT_EQ(model.GetOwnSettings().GetAttachCount(), 1);
    model.SetActiveParser(1);
    EXPECT_THROW(model.SetActiveParser(7), ESyntaxMemo);
  }
  EXPECT_TRUE(parser.GetEditors().empty());
  EXPECT_TRUE(parser.GetSettings().GetAttachedEditors().empty());
  EXPECT_EQ(parser.GetSettings().GetAttachCount(), 0);
}

TEST(ModelLists, AParserFreedFirstLeavesItsSlotsEmpty) {
  int key = 0;
  TSyntaxMemoModel model(reinterpret_cast<TCustomSyntaxMemo*>(&key));
  auto parser = std::make_unique<TSyntaxMemoParser>(nullptr);
  model.AttachParser(1, parser.get());
  model.AttachParser(4, parser.get());
  model.ParserDestroyed(parser.get());
  parser.reset();
  EXPECT_EQ(model.GetParser(1), nullptr);
  EXPECT_EQ(model.GetParser(4), nullptr);
  EXPECT_EQ(&model.GetSettings(), &model.GetOwnSettings());
  model.ReplaceSelText("select 1");
  model.NotifyChange();
}

TEST(ModelLists, SharedStoreLivesUntilItsLastEditorGoes) {
  auto first = std::make_unique<TSyntaxMemoModel>();
  TSyntaxMemoModel second;
  first->ReplaceSelText("shared");
  second.ShareStore(&first->GetStore());
  first->ScrollTo(0, 0, false);
  EXPECT_EQ(second.LocateRow(3).Line, 0);
  second.GetBreakpoints().Add(std::make_unique<TSM_BreakpointData>(1, true, "b", 0));
  first.reset();
  second.SetSelection(0, 0, false);
  second.ReplaceSelText("x");
  EXPECT_EQ(second.GetBreakpoints().GetEntry(0)->Position, 1);
  EXPECT_EQ(second.GetText(0), "xshared");
  second.SetSelection(7, 7, false);
  second.ReplaceSelText("!");
  EXPECT_EQ(second.GetText(0), "xshared!");
}

} // namespace
