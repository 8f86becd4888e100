#include "ModelFixture.h"

#include "SyntaxEd_replace.h"

#include <deque>

namespace {

// Answers confirmations from a script and records every question and message.
class TScriptedPrompter : public TSearchPrompter {
public:
  void SearchFailed(const String& text) override { Failed.push_back(text); }
  void RegexpError(const String& message) override { Errors.push_back(message); }
  TReplaceAnswer ConfirmReplace(const String& question) override {
    Questions.push_back(question);
    if (Answers.empty()) {
      ADD_FAILURE() << "unexpected question " << question;
      return raCancel;
    }
    TReplaceAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  void BeginBusy() override { ++Busy; }
  void EndBusy() override { --Busy; }
  void Beep() override { ++Beeps; }

  std::deque<TReplaceAnswer> Answers;
  std::vector<String> Questions;
  std::vector<String> Failed;
  std::vector<String> Errors;
  int Busy = 0;
  int Beeps = 0;
};

class ReplaceTest : public ModelTest {
protected:
  std::pair<int, int> Selection() {
    auto [a, c] = model.GetSelection();
    return {std::min(a, c), std::max(a, c)};
  }
  TSearchRequest Request(const String& find, const String& replace = "", bool down = true) {
    TSearchRequest r;
    r.FindText = find;
    r.ReplaceText = replace;
    r.Down = down;
    return r;
  }
  void ReplaceAll(TSearchRequest r) {
    r.ReplaceAll = true;
    search.ReplaceFound(r);
  }
  void ReplaceAsking(TSearchRequest r, std::initializer_list<TReplaceAnswer> answers) {
    prompter.Answers = answers;
    r.Replace = true;
    search.ReplaceFound(r);
    EXPECT_TRUE(prompter.Answers.empty()) << "questions left unasked";
  }

  TScriptedPrompter prompter;
  TSyntaxMemoSearch search{model, prompter};
};

} // namespace

TEST_F(ReplaceTest, DirectFind) {
  struct Case {
    const char* text;
    int selStart, selEnd;
    int flags;
    const char* what;
    int want;
    std::pair<int, int> selected; // after a regular-expression match
  } cases[] = {
      {"select Name from t", 0, 0, sfSearchNow, "name", 7, {0, 0}},
      {"select Name from t", 0, 0, sfSearchNow | sfMatchCase, "name", -1, {0, 0}},
      {"select Name from t", 0, 0, sfSearchNow | sfMatchCase, "Name", 7, {0, 0}},
      // Forward from the selection's start: a selected match is found again.
      {"ab ab ab", 3, 5, sfSearchNow, "ab", 3, {3, 5}},
      {"ab ab ab", 3, 5, sfSearchNow | sfBackward, "ab", 0, {3, 5}},
      {"ab ab ab", 0, 0, sfSearchNow | sfBackward, "ab", -1, {0, 0}},
      {"ab ab ab", 8, 8, sfSearchNow, "ab", -1, {8, 8}},
      {"cat concat cat", 1, 1, sfSearchNow | sfWholeWord, "cat", 11, {1, 1}},
      {"cat concat cat", 1, 1, sfSearchNow, "cat", 7, {1, 1}},
      {"one\rtwo", 0, 0, sfSearchNow, "e\rt", 2, {0, 0}},
      {"x = 42 + 7", 0, 0, sfSearchNow | sfRegularExpression, "[0-9]+", 4, {4, 6}},
      {"x = 42 + 7", 6, 6, sfSearchNow | sfRegularExpression, "[0-9]+", 9, {9, 10}},
      {"x = 42 + 7", 0, 0, sfSearchNow | sfRegularExpression, "[a-w]", -1, {0, 0}},
      {"x = 42 + 7", 8, 8, sfSearchNow | sfRegularExpression | sfBackward, "[0-9]+", 5, {5, 6}},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    model.SetSelection(c.selStart, c.selEnd, false);
    EXPECT_EQ(search.FindDirect(c.flags, c.what), c.want) << c.what << " in " << c.text;
    EXPECT_EQ(Selection(), c.selected) << c.what << " in " << c.text;
  }
  EXPECT_TRUE(prompter.Failed.empty());
}

TEST_F(ReplaceTest, DirectFindWithoutTextOrOnAnEmptyText) {
  EXPECT_EQ(search.FindDirect(sfSearchNow, "x"), -1);
  SetText("abc");
  EXPECT_EQ(search.FindDirect(sfSearchNow, ""), 2);
}

TEST_F(ReplaceTest, BadPatternShowsTheErrorWithACaretUnderIt) {
  SetText("abc");
  EXPECT_EQ(search.FindDirect(sfSearchNow | sfRegularExpression, "ab(c"), -1);
  ASSERT_EQ(prompter.Errors.size(), 1u);
  const String& box = prompter.Errors[0];
  const auto lines = box.find("\r\nab(c\r\n");
  ASSERT_NE(lines, String::npos) << box;
  EXPECT_EQ(box.substr(0, lines), REErrorText(search.GetParser().ErrorCode()));
  EXPECT_EQ(box.substr(lines + 8), String(search.GetParser().ErrorPosition() - 1, ' ') + "^");
}

TEST_F(ReplaceTest, FindNextStepsPastThePreviousMatchBothWays) {
  SetText("ab ab ab");
  search.SetFlags(0);
  search.FindNext(Request("ab"));
  EXPECT_EQ(Selection(), std::make_pair(0, 2));
  search.FindNext(Request("ab"));
  EXPECT_EQ(Selection(), std::make_pair(3, 5));
  search.FindNext(Request("ab", "", false));
  EXPECT_EQ(Selection(), std::make_pair(0, 2));
  search.FindNext(Request("ab", "", false));
  EXPECT_EQ(prompter.Failed, std::vector<String>{"ab"});
  EXPECT_EQ(SearchFailText("ab"), "Search string \"ab\" not found.");
}

TEST_F(ReplaceTest, FindNextWithRegularExpressions) {
  SetText("a1 b22 c333");
  search.SetFlags(sfRegularExpression);
  std::vector<std::pair<int, int>> seen;
  for (int i = 0; i < 3; ++i) {
    search.FindNext(Request("[0-9]+"));
    seen.push_back(Selection());
  }
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 2}, {4, 6}, {8, 11}}));
  EXPECT_TRUE(prompter.Failed.empty());
  // A match of nothing counts as none.
  model.SetSelection(0, 0, false);
  search.FindNext(Request("x*"));
  EXPECT_EQ(prompter.Failed, std::vector<String>{"x*"});
}

TEST_F(ReplaceTest, ReplaceAllOfAWordByALongerOneIsOneUndoStep) {
  const String text = "cat concat cat\rcat's cat";
  SetText(text);
  TSearchRequest r = Request("cat", "tiger");
  r.WholeWord = true;
  ReplaceAll(r);
  // The apostrophe belongs to the editor's words.
  EXPECT_EQ(Text(), "tiger concat tiger\rcat's tiger");
  EXPECT_EQ(prompter.Busy, 0);
  EXPECT_TRUE(prompter.Questions.empty());
  // The caret stands at the start of the last replacement.
  EXPECT_EQ(Selection(), std::make_pair(25, 25));
  model.Undo();
  EXPECT_EQ(Text(), text);
}

TEST_F(ReplaceTest, ReplaceAllStartsAtTheSelectionEnd) {
  SetText("aXbXcX");
  model.SetSelection(2, 3, false);
  ReplaceAll(Request("X", "--"));
  EXPECT_EQ(Text(), "aXb--c--");
}

TEST_F(ReplaceTest, ReplaceAllWithRegularExpressionTemplates) {
  SetText("k=1; key=22;");
  search.SetFlags(sfRegularExpression);
  // Each group leaves its start twice: %2 is the key, %3 the "=", %5 the
  // digits.
  ReplaceAll(Request("([a-z]+)=([0-9]+)", "%5:%2\\n"));
  EXPECT_EQ(Text(), "1:k\r; 22:key\r;");
  model.Undo();
  EXPECT_EQ(Text(), "k=1; key=22;");
  // No match at all is reported once.
  ReplaceAll(Request("q+", "z"));
  EXPECT_EQ(prompter.Failed, std::vector<String>{"q+"});
  // A bad pattern beeps.
  ReplaceAll(Request("(", "z"));
  EXPECT_EQ(prompter.Beeps, 1);
}

TEST_F(ReplaceTest, ConfirmedReplacementAnswers) {
  struct Case {
    std::initializer_list<TReplaceAnswer> answers;
    const char* want;
  } cases[] = {
      {{raYes, raNo, raYes, raNo}, "_y_y_y_y"},
      {{raNo, raYes, raCancel}, "_y_y_y_y"},
      {{raYes, raAll}, "_y_y_y_y"},
  };
  const char* wants[] = {"_z_y_z_y", "_y_z_y_y", "_z_z_z_z"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    SetText("_y_y_y_y");
    ReplaceAsking(Request("y", "z"), cases[i].answers);
    EXPECT_EQ(Text(), wants[i]) << i;
    EXPECT_EQ(prompter.Questions.front(), "Replace this occurence of 'y' with 'z' ?");
    prompter.Questions.clear();
  }
  // Answered to the end, the sequence reports the last search failing.
  EXPECT_EQ(prompter.Failed, std::vector<String>{"y"});
}

TEST_F(ReplaceTest, ConfirmedReplacementsEachUndoAlone) {
  SetText("a.a.a");
  ReplaceAsking(Request("a", "b"), {raYes, raYes, raCancel});
  EXPECT_EQ(Text(), "b.b.a");
  model.Undo();
  EXPECT_EQ(Text(), "b.a.a");
}

TEST_F(ReplaceTest, WholeWordLeavesLongerWordsAloneOneByOne) {
  SetText("cat concat cats cat");
  TSearchRequest r = Request("cat", "dog");
  r.WholeWord = true;
  ReplaceAsking(r, {raYes, raYes});
  EXPECT_EQ(Text(), "dog concat cats dog");
}

TEST_F(ReplaceTest, ReplacementHoldingTheSearchedTextEnds) {
  SetText("a a");
  ReplaceAsking(Request("a", "aa"), {raYes, raYes});
  EXPECT_EQ(Text(), "aa aa");
  SetText("a a");
  search.SetFlags(sfRegularExpression);
  ReplaceAsking(Request("a", "aa"), {raYes, raYes});
  EXPECT_EQ(Text(), "aa aa");
}

TEST_F(ReplaceTest, BackwardConfirmedReplacementEnds) {
  SetText("x x x");
  model.SetSelection(5, 5, false);
  ReplaceAsking(Request("x", "xy", false), {raYes, raNo, raYes});
  EXPECT_EQ(Text(), "xy x xy");
  SetText("x x x");
  model.SetSelection(5, 5, false);
  search.SetFlags(sfRegularExpression);
  ReplaceAsking(Request("x", "xy", false), {raNo, raYes, raNo});
  EXPECT_EQ(Text(), "x xy x");
}

TEST_F(ReplaceTest, EmptyRegularExpressionMatchEndsAConfirmedSequence) {
  SetText("bbb");
  search.SetFlags(sfRegularExpression);
  ReplaceAsking(Request("a*", "-"), {});
  EXPECT_EQ(Text(), "bbb");
  // After All too.
  SetText("ab");
  ReplaceAsking(Request("a*", "-"), {raAll});
  EXPECT_EQ(Text(), "-b");
}

TEST_F(ReplaceTest, ExpandReplacement) {
  SetText("abcde");
  search.SetFlags(sfRegularExpression | sfSearchNow);
  // Elements begin at 0 (a), 1 (b), 2 and 2 (the group), 4 (e); the match ends at 5.
  ASSERT_NE(search.FindDirect(sfSearchNow | sfRegularExpression, "ab(cd)e"), -1);
  struct Case {
    const char* in;
    String want;
  } cases[] = {
      {"%1|%2|%3|%4|%5", "a|b||cd|e"},
      {"%%%q%", "%q%"},
      {"%0.%256.%6.%99", "..."},
      {"\\\\\\", "\\\\"},
      {"\\101\\7x\\0101", "A\7x\b1"},
      {"\\400tail", ""},
      {"a\\b\\F\\n\\R\\s\\T", "a\b\f\r\n \t"},
      {"\\x41\\x4a2\\xg", "AJ2"},
      {"\\x", ""},
      {"\\q\\%", "q%"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(search.ExpandReplacement(c.in), c.want) << c.in;
}

TEST_F(ReplaceTest, ExpandReplacementBeyondTheLastMatchGivesNothing) {
  SetText("abcde xy");
  ASSERT_NE(search.FindDirect(sfSearchNow | sfRegularExpression, "ab(cd)e"), -1);
  ASSERT_NE(search.FindDirect(sfSearchNow | sfRegularExpression, "x"), -1);
  // The older match's entries stay in the list past this match's end.
  EXPECT_EQ(search.ExpandReplacement("[%1][%2][%3]"), "[x][][]");
}
