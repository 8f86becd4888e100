#include "SyntaxEd_undo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// An editor over a plain string that changes its text the way the editing
// core does: every replacement inside group 24 and a text transaction.
class FakeEditor : public TUndoEditor {
public:
  FakeEditor() : Log(*this) {}

  TUndoStack* GetUndoStack() override { return Stack.get(); }
  std::pair<int, int> GetSelection() override { return {Anchor, Caret}; }
  void SetSelection(int anchor, int caret, bool) override {
    Anchor = std::clamp(anchor, 0, static_cast<int>(Text.size()));
    Caret = std::clamp(caret, 0, static_cast<int>(Text.size()));
  }
  String GetSelectedText() override {
    auto [s, e] = OrderRange({Anchor, Caret});
    return Text.substr(s, e - s);
  }
  void ReplaceSelection(const String* text) override {
    Log.BeginUndoGroup(ugReplaceSelection);
    if (!Log.GetTransactionOpen() && !Log.GetUndoRunning()) Log.LogTransaction(ltText, ltOpen, {text});
    auto [s, e] = OrderRange({Anchor, Caret});
    String put = text ? *text : String();
    Text.replace(s, e - s, put);
    Anchor = Caret = s + static_cast<int>(put.size());
    if (Log.GetTransactionOpen() && Log.GetTransactionType() == ltText) Log.LogTransaction(ltText, ltClose);
    Log.EndUndoGroup(ugReplaceSelection);
  }
  void InsertStream(TStream& stream) override {
    String s(static_cast<size_t>(stream.GetSize() - stream.GetPosition()), '\0');
    stream.ReadBuffer(s.data(), static_cast<int64_t>(s.size()));
    ReplaceSelection(&s);
  }
  void ClearFirstChangedRow() override { ++FirstRowClears; }
  void Rescan() override { ++Rescans; }
  void BeginUndoUpdate() override { ++Locks; }
  void EndUndoUpdate() override { --Locks; }
  void Beep() override { ++Beeps; }

  // User actions as the editor's commands run them.
  void Type(const String& s) {
    for (char c : s) {
      String one(1, c);
      Log.BeginUndoGroup(ugTyping);
      ReplaceSelection(&one);
      Log.EndUndoGroup(ugTyping);
    }
  }
  void Select(int anchor, int caret) { SetSelection(anchor, caret, true); }
  void Paste(const String& s) {
    TStringStream source(s);
    Log.BeginUndoGroup(ugPaste);
    Log.LogTransaction(ltStream, ltOpen, {nullptr, &source});
    InsertStream(source);
    Log.LogTransaction(ltStream, ltClose);
    Log.EndUndoGroup(ugPaste);
  }
  // Indents every line start of the text by one TAB, as block indent does.
  void IndentAll() {
    Log.BeginUndoGroup(ugBlockIndent);
    for (size_t at = 0; at <= Text.size(); at = Text.find('\r', at) + 1) {
      String tab = "\t";
      Log.LogTransaction(ltIndent, static_cast<int>(at), {&tab});
      Text.insert(at, tab);
      if (Text.find('\r', at) == String::npos) break;
    }
    Log.EndUndoGroup(ugBlockIndent);
  }
  void UnindentAll() {
    Log.BeginUndoGroup(ugBlockUnindent);
    for (size_t at = 0; at < Text.size(); at = Text.find('\r', at) + 1) {
      size_t n = 0;
      while (at + n < Text.size() && (Text[at + n] == '\t' || Text[at + n] == ' '))
        ++n;
      if (n) {
        String removed = Text.substr(at, n);
        Log.LogTransaction(ltUnindent, static_cast<int>(at), {&removed});
        Text.erase(at, n);
      }
      if (Text.find('\r', at) == String::npos) break;
    }
    Log.EndUndoGroup(ugBlockUnindent);
  }

  std::unique_ptr<TUndoStack> Stack = std::make_unique<TUndoStack>();
  TUndoLogger Log;
  String Text;
  int Anchor = 0, Caret = 0;
  int FirstRowClears = 0, Rescans = 0, Locks = 0, Beeps = 0;
};

} // namespace

TEST(Stack, PushPopAndTheCursor) {
  TStack st;
  std::vector<intptr_t> freed;
  st.OnFree = [&](void* e) { freed.push_back(reinterpret_cast<intptr_t>(e)); };
  auto E = [](intptr_t v) { return reinterpret_cast<void*>(v); };
  st.Push(E(1), 4);
  st.Push(E(2), 0);
  st.Push(E(3), 10);
  EXPECT_EQ(st.GetCount(), 3);
  EXPECT_EQ(st.GetTotalSize(), 16 * 3 + 14);
  EXPECT_TRUE(st.RedoEmpty());

  EXPECT_EQ(st.UndoPop(), E(3));
  EXPECT_EQ(st.UndoPop(), E(2));
  EXPECT_EQ(st.GetCount(), 1);
  EXPECT_FALSE(st.RedoEmpty());
  EXPECT_EQ(st.RedoPop(), E(2));
  EXPECT_EQ(st.GetCount(), 2);

  // A push above the cursor discards the undone entries.
  st.Push(E(4), 1);
  EXPECT_EQ(freed, (std::vector<intptr_t>{3}));
  EXPECT_EQ(st.GetCount(), 3);
  EXPECT_EQ(st.GetTotalSize(), 16 * 3 + 5);
  EXPECT_THROW(st.RedoPop(), Exception);

  EXPECT_EQ(st.Pop(), E(4));
  EXPECT_EQ(st.GetCount(), 2);
  st.DiscardAll();
  EXPECT_EQ(freed, (std::vector<intptr_t>{3, 2, 1}));
  EXPECT_EQ(st.GetCount(), 0);
  EXPECT_TRUE(st.IsEmpty());
  try {
    st.Pop();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Stack underflow");
  }
  EXPECT_THROW(st.UndoPop(), Exception);
  EXPECT_THROW(st.RedoPop(), Exception);
}

TEST(Stack, PushAfterEverythingWasUndoneStartsAfresh) {
  TStack st;
  int freed = 0;
  st.OnFree = [&](void*) { ++freed; };
  int a, b, c;
  st.Push(&a, 0);
  st.Push(&b, 0);
  st.UndoPop();
  st.UndoPop();
  EXPECT_EQ(st.GetCount(), 0);
  st.Push(&c, 0);
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(st.GetCount(), 1);
  EXPECT_EQ(st.TopEntry(), &c);
  EXPECT_EQ(st.UndoPop(), &c);
  EXPECT_EQ(st.RedoPop(), &c);
}

TEST(Stack, DestroyFreesTheUndoneEntriesToo) {
  int freed = 0;
  {
    TStack st;
    st.OnFree = [&](void*) { ++freed; };
    int a, b;
    st.Push(&a, 0);
    st.Push(&b, 0);
    st.UndoPop();
  }
  EXPECT_EQ(freed, 2);
}

TEST(Undo, EachKeyPressIsOneStep) {
  FakeEditor ed;
  ed.Type("ab");
  EXPECT_EQ(ed.Text, "ab");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "a");
  EXPECT_EQ(ed.Caret, 1);
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "");
  EXPECT_FALSE(ed.Log.CanUndo());
  ed.Log.Redo();
  ed.Log.Redo();
  EXPECT_EQ(ed.Text, "ab");
  EXPECT_EQ(ed.Caret, 2);
  EXPECT_FALSE(ed.Log.CanRedo());
  EXPECT_EQ(ed.Locks, 0);
  EXPECT_EQ(ed.Beeps, 0);
  EXPECT_TRUE(ed.Log.GetLoggingEnabled());
}

TEST(Undo, ReplacementRestoresTextAndSelection) {
  FakeEditor ed;
  ed.Type("hello world");
  ed.Select(6, 11);
  String repl = "there";
  ed.ReplaceSelection(&repl);
  EXPECT_EQ(ed.Text, "hello there");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "hello world");
  EXPECT_EQ(ed.GetSelection(), std::make_pair(6, 11));
  ed.Log.Redo();
  EXPECT_EQ(ed.Text, "hello there");
  EXPECT_EQ(ed.GetSelection(), std::make_pair(11, 11));
}

TEST(Undo, DeletionRecordsNoNewText) {
  FakeEditor ed;
  ed.Type("abcdef");
  ed.Select(1, 4);
  ed.ReplaceSelection(nullptr);
  EXPECT_EQ(ed.Text, "aef");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "abcdef");
  EXPECT_EQ(ed.GetSelection(), std::make_pair(1, 4));
  ed.Log.Redo();
  EXPECT_EQ(ed.Text, "aef");
}

TEST(Undo, TypingAfterUndoDiscardsTheRedoSteps) {
  FakeEditor ed;
  ed.Type("abc");
  ed.Log.Undo();
  ed.Log.Undo();
  EXPECT_TRUE(ed.Log.CanRedo());
  ed.Type("x");
  EXPECT_FALSE(ed.Log.CanRedo());
  EXPECT_EQ(ed.Text, "ax");
  ed.Log.Undo();
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "");
  EXPECT_FALSE(ed.Log.CanUndo());
}

TEST(Undo, TypingAfterUndoingEverythingLeavesOneStep) {
  FakeEditor ed;
  ed.Type("ab");
  ed.Log.Undo();
  ed.Log.Undo();
  ed.Type("z");
  EXPECT_TRUE(ed.Log.CanUndo());
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "");
  EXPECT_FALSE(ed.Log.CanUndo());
}

TEST(Undo, GroupsDoNotNest) {
  FakeEditor ed;
  ed.Type("ab");
  ed.Log.BeginUndoGroup(ugTemplate);
  ed.Type("cd"); // typing inside the template's group joins it
  ed.Select(0, 1);
  ed.ReplaceSelection(nullptr);
  ed.Log.EndUndoGroup(ugTemplate);
  EXPECT_EQ(ed.Text, "bcd");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "ab");
  EXPECT_GE(ed.Rescans, 3); // each record inside the group, then the ending
  ed.Log.Redo();
  EXPECT_EQ(ed.Text, "bcd");
}

TEST(Undo, GroupEndsOnlyWithItsOwnId) {
  FakeEditor ed;
  ed.Log.BeginUndoGroup(ugCut);
  ed.Log.EndUndoGroup(ugPaste);
  EXPECT_TRUE(ed.Stack->GroupOpen);
  ed.Log.EndUndoGroup(ugCut);
  EXPECT_FALSE(ed.Stack->GroupOpen);
  EXPECT_EQ(ed.Stack->GroupId, 0);
}

TEST(Undo, RedoAndUndoRepeatOverManyGroups) {
  FakeEditor ed;
  ed.Type("abc");
  ed.Paste("XY");
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 4; ++i)
      ed.Log.Undo();
    EXPECT_EQ(ed.Text, "");
    for (int i = 0; i < 4; ++i)
      ed.Log.Redo();
    EXPECT_EQ(ed.Text, "abcXY");
  }
  EXPECT_EQ(ed.Beeps, 0);
  EXPECT_FALSE(ed.Log.CanRedo());
}

TEST(Undo, StreamInsertion) {
  FakeEditor ed;
  ed.Type("ab");
  ed.Select(1, 1);
  ed.Paste("XYZ");
  EXPECT_EQ(ed.Text, "aXYZb");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "ab");
  EXPECT_EQ(ed.GetSelection(), std::make_pair(1, 1));
  ed.Log.Redo();
  EXPECT_EQ(ed.Text, "aXYZb");
  EXPECT_EQ(ed.Caret, 4);
}

TEST(Undo, StreamCopyStartsAtTheSourcePositionAndRestoresIt) {
  FakeEditor ed;
  TStringStream source("skipKEEP");
  source.SetPosition(4);
  ed.Log.LogTransaction(ltStream, ltOpen, {nullptr, &source});
  EXPECT_EQ(source.GetPosition(), 4);
  ed.InsertStream(source);
  ed.Log.LogTransaction(ltStream, ltClose);
  EXPECT_EQ(ed.Text, "KEEP");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "");
  ed.Log.Redo();
  EXPECT_EQ(ed.Text, "KEEP");
}

TEST(Undo, IndentAndUnindentRestoreTheirBlanks) {
  FakeEditor ed;
  ed.Type("a\rb");
  ed.IndentAll();
  EXPECT_EQ(ed.Text, "\ta\r\tb");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "a\rb");
  EXPECT_GT(ed.FirstRowClears, 0);
  ed.Log.Redo();
  EXPECT_EQ(ed.Text, "\ta\r\tb");

  ed.UnindentAll();
  EXPECT_EQ(ed.Text, "a\rb");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "\ta\r\tb");
}

TEST(Undo, SaveMarkTracksModified) {
  FakeEditor ed;
  EXPECT_FALSE(ed.Log.GetModified());
  ed.Type("ab");
  EXPECT_TRUE(ed.Log.GetModified());
  ed.Stack->SetSaveMark();
  EXPECT_FALSE(ed.Log.GetModified());
  ed.Type("c");
  EXPECT_TRUE(ed.Log.GetModified());
  ed.Log.Undo();
  ed.Log.Undo();
  EXPECT_TRUE(ed.Log.GetModified());
  // Below the mark, a different change of the same size.
  ed.Type("x");
  EXPECT_EQ(ed.Text, "ax");
  EXPECT_TRUE(ed.Log.GetModified());
}

TEST(Undo, SaveMarkSurvivesTheReuseOfFreedEntries) {
  // Entries discarded after the mark must not be taken for the marked one,
  // even when a new entry lands at the same address.
  FakeEditor ed;
  ed.Type("ab");
  ed.Stack->SetSaveMark();
  for (int i = 0; i < 50; ++i) {
    ed.Log.Undo();
    ed.Type("x");
    EXPECT_TRUE(ed.Log.GetModified()) << i;
  }
}

TEST(Undo, ModifiedFalseClearsTheLog) {
  FakeEditor ed;
  ed.Type("ab");
  ed.Stack->SetSaveMark();
  ed.Type("c");
  ed.Log.SetModified(true);
  EXPECT_TRUE(ed.Log.GetModified());
  ed.Log.SetModified(false);
  EXPECT_FALSE(ed.Log.GetModified());
  EXPECT_FALSE(ed.Log.CanUndo());
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "abc");
  ed.Type("d");
  EXPECT_TRUE(ed.Log.GetModified());
}

TEST(Undo, DisabledLoggingRecordsNothingUntilEnabled) {
  FakeEditor ed;
  ed.Log.LogTransaction(ltDisable);
  ed.Type("ab");
  EXPECT_FALSE(ed.Log.CanUndo());
  ed.Log.LogTransaction(ltClear); // ignored while disabled
  ed.Log.LogTransaction(ltEnable);
  ed.Type("c");
  ed.Log.Undo();
  EXPECT_EQ(ed.Text, "ab");
}

TEST(Undo, BadTransactionsClearTheLog) {
  struct Case {
    const char* name;
    std::function<void(FakeEditor&)> act;
  } cases[] = {
      {"open twice",
       [](FakeEditor& ed) {
         String t = "x";
         ed.Log.LogTransaction(ltText, ltOpen, {&t});
         ed.Log.LogTransaction(ltText, ltOpen, {&t});
       }},
      {"close none", [](FakeEditor& ed) { ed.Log.LogTransaction(ltText, ltClose); }},
      {"close other type",
       [](FakeEditor& ed) {
         String t = "x";
         ed.Log.LogTransaction(ltText, ltOpen, {&t});
         ed.Log.LogTransaction(ltStream, ltClose);
       }},
  };
  for (const Case& c : cases) {
    FakeEditor ed;
    ed.Type("ab");
    try {
      c.act(ed);
      ADD_FAILURE() << c.name;
    } catch (const ESyntaxMemo& e) {
      EXPECT_EQ(e.Message, "Bad transaction log entry") << c.name;
    }
    EXPECT_FALSE(ed.Log.CanUndo()) << c.name;
    EXPECT_EQ(ed.Beeps, 1) << c.name;
  }
}

TEST(Undo, DamagedLogIsClearedWithABeep) {
  FakeEditor ed;
  ed.Type("ab");
  auto stray = std::make_unique<TUndoEntry>();
  stray->Kind = ukText; // not a marker where one must be
  ed.Stack->PushEntry(std::move(stray));
  ed.Log.Undo();
  EXPECT_EQ(ed.Beeps, 1);
  EXPECT_FALSE(ed.Log.CanUndo());
  EXPECT_EQ(ed.Locks, 0);
  EXPECT_TRUE(ed.Log.GetLoggingEnabled());
  EXPECT_FALSE(ed.Log.GetUndoRunning());
  EXPECT_EQ(ed.Text, "ab");
}

TEST(Undo, WithoutAnUndoStackNothingHappens) {
  FakeEditor ed;
  ed.Stack.reset();
  ed.Type("ab");
  ed.Log.Undo();
  ed.Log.Redo();
  EXPECT_EQ(ed.Text, "ab");
  EXPECT_FALSE(ed.Log.CanUndo());
  EXPECT_FALSE(ed.Log.GetModified());
}

TEST(Undo, EntrySizesAddUp) {
  FakeEditor ed;
  String t = "abcd";
  ed.ReplaceSelection(&t);
  // Group begin and end (3 entries each) and one record of six entries, the
  // new text adding its length.
  EXPECT_EQ(ed.Stack->GetTotalSize(), 12 * 32 + 4);
}
