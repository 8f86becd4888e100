// The text edit driven by real input: typing, the keys it keeps from its
// inner window, Enter, password echo across recreated windows, letter case,
// MaxLength pastes, the text messages, and the text it paints itself.
#include "TextEditTest.h"

#include "ActnList.h"
#include "Clipbrd.h"
#include "Menus.h"

#include <gtest/gtest.h>

namespace {

using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;
using guitest::TypeText;

TEST(TextEdit, TypedTextBecomesTheValueWhenTheFieldIsLeftAndTabIsNeverTyped) {
  TTextEditForm f;
  std::vector<String> events;
  f.edit->GetProperties()->OnEditValueChanged = [&](TObject*) {
    events.push_back("value " + f.edit->GetText());
  };
  f.edit->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
    if (Key == VK_TAB) events.push_back("tab down");
  };
  f.Show();
  f.Focus();
  TypeText("abc");
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() == "abc"; }));
  EXPECT_TRUE(events.empty()) << "no value change while typing";
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return f.after->Focused(); }));
  EXPECT_EQ("abc", f.edit->GetText());
  EXPECT_EQ("abc", VarToStr(f.edit->GetEditValueRef()));
  EXPECT_EQ((std::vector<String>{"tab down", "value abc"}), events);
}

TEST(TextEdit, KeysWithoutEffectReachOnUnhandledKeyOnceAndArrowsNeverMoveTheCaret) {
  TTextEditForm f;
  std::vector<WORD> unhandled;
  std::vector<WORD> downs;
  f.edit->OnUnhandledKey = [&](TObject*, WORD& Key, TShiftState) { unhandled.push_back(Key); };
  f.edit->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { downs.push_back(Key); };
  f.edit->SetText("hello");
  f.Show();
  f.Focus();
  f.edit->SetSelection(2, 0);
  for (WORD key : {VK_F2, VK_UP, VK_DOWN}) {
    SCOPED_TRACE(key);
    unhandled.clear();
    PressKey(key);
    ASSERT_TRUE(PumpUntil([&] { return !unhandled.empty(); }));
    PumpFor(30);
    EXPECT_EQ(std::vector<WORD>{key}, unhandled);
    EXPECT_EQ(2, f.SelStart());
  }
  EXPECT_EQ((std::vector<WORD>{VK_F2, VK_UP, VK_DOWN}), downs);
  EXPECT_EQ("hello", f.edit->GetText());
}

TEST(TextEdit, EnterReachesTheSystemEditOnlyWithBeepOnEnter) {
  for (bool beep : {false, true}) {
    SCOPED_TRACE(beep);
    TTextEditForm f;
    int seen = 0;
    int reached = 0;
    f.edit->OnKeyPress = [&](TObject*, char& Key) { seen += Key == '\r'; };
    f.Inner()->OnKeyPress = [&](TObject*, char& Key) { reached += Key == '\r'; };
    f.edit->BeepOnEnter = beep;
    f.edit->SetText("ab");
    f.Show();
    f.Focus();
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return seen == 1; }));
    PumpFor(30);
    EXPECT_EQ(beep ? 1 : 0, reached);
    EXPECT_EQ("ab", f.edit->GetText());
  }
}

TEST(TextEdit, APasswordShowsStarsAndKeepsThemAcrossARecreatedWindow) {
  TTextEditForm f;
  f.edit->GetProperties()->SetEchoMode(eemPassword);
  f.edit->GetProperties()->SetUseLeftAlignmentOnEditing(false);
  f.edit->SetText("secret");
  f.Show();
  const HWND before = f.Inner()->GetHandle();
  EXPECT_EQ('*', SendMessageA(before, EM_GETPASSWORDCHAR, 0, 0));
  // Right alignment makes a new window; unfocused, the editor paints it.
  f.edit->GetProperties()->GetAlignment()->SetHorz(taRightJustify);
  PumpFor(20);
  EXPECT_NE(before, f.Inner()->GetHandle());
  EXPECT_EQ('*', SendMessageA(f.Inner()->GetHandle(), EM_GETPASSWORDCHAR, 0, 0));
  EXPECT_EQ(ES_RIGHT, GetWindowLongA(f.Inner()->GetHandle(), GWL_STYLE) & ES_RIGHT);
  EXPECT_EQ("******", f.edit->GetViewInfo()->Text);
  EXPECT_EQ("secret", f.edit->GetText());
  EXPECT_EQ("secret", VarToStr(f.edit->GetEditValueRef()));
}

TEST(TextEdit, LeftAlignmentOnEditingKeepsTheWindow) {
  TTextEditForm f;
  f.edit->GetProperties()->SetUseLeftAlignmentOnEditing(true);
  f.Show();
  const HWND before = f.Inner()->GetHandle();
  f.edit->InnerTextEdit()->SetAlignment(taRightJustify);
  EXPECT_EQ(before, f.Inner()->GetHandle());
  EXPECT_EQ(taLeftJustify, f.edit->InnerTextEdit()->GetAlignment());
}

TEST(TextEdit, CharCaseChangesOnlyAsciiLetters) {
  TcxTextEditProperties props(nullptr);
  const struct {
    TEditCharCase charCase;
    String text;
    String expected;
  } cases[] = {
      {ecUpperCase,
       "stra\xDF"
       "e \xE9t\xE9",
       "STRA\xDF"
       "E \xE9T\xE9"},
      {ecLowerCase, "ABC \xC9T\xC9", "abc \xC9t\xC9"},
      {ecNormal, "MiXeD", "MiXeD"},
  };
  for (const auto& c : cases) {
    props.SetCharCase(c.charCase);
    String text;
    props.GetDisplayTextForValue(Variant(c.text), text);
    EXPECT_EQ(c.expected, text) << c.text;
  }
}

TEST(TextEdit, UpperCaseTypingIsStoredUpperCase) {
  TTextEditForm f;
  f.edit->GetProperties()->SetCharCase(ecUpperCase);
  f.Show();
  f.Focus();
  TypeText("aBc");
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText().size() == 3; }));
  EXPECT_EQ("ABC", f.edit->GetText());
}

TEST(TextEdit, PastesAreCutToMaxLength) {
  TTextEditForm f;
  f.edit->GetProperties()->SetMaxLength(5);
  f.edit->SetText("abc");
  f.Show();
  f.Focus();
  Clipboard()->SetAsText("12345");
  f.edit->SetSelection(3, 0);
  PressKey('V', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() != "abc"; }));
  EXPECT_EQ("abc12", f.edit->GetText());
  EXPECT_EQ(5, f.SelStart());
  PressKey('V', guitest::kCtrl);
  PumpFor(50);
  EXPECT_EQ("abc12", f.edit->GetText());
  EXPECT_EQ(5, f.SelStart());
}

TEST(TextEdit, TheTextMessagesAnswerWithTheDisplayText) {
  TTextEditForm f;
  // Before any window: the text reaches the editor and comes back whole.
  auto* early = new TcxTextEdit(f.form.get());
  early->SetText("early");
  EXPECT_EQ("early", early->GetText());
  f.edit->SetText("hello");
  EXPECT_FALSE(f.edit->HandleAllocated());
  EXPECT_EQ("hello", f.edit->GetText());
  f.Show();
  EXPECT_EQ("hello", f.Inner()->GetText());
  const HWND wnd = f.edit->GetHandle();
  EXPECT_EQ(5, SendMessageA(wnd, WM_GETTEXTLENGTH, 0, 0));
  const struct {
    WPARAM size;
    LRESULT result;
    String copied;
  } cases[] = {{4, 3, "hel"}, {6, 5, "hello"}, {100, 5, "hello"}, {1, 0, ""}};
  for (const auto& c : cases) {
    char buffer[8] = "#######";
    EXPECT_EQ(c.result, SendMessageA(wnd, WM_GETTEXT, c.size, reinterpret_cast<LPARAM>(buffer))) << c.size;
    EXPECT_EQ(c.copied, String(buffer)) << c.size;
  }
  char untouched[4] = "abc";
  EXPECT_EQ(0, SendMessageA(wnd, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(untouched)));
  EXPECT_EQ(String("abc"), String(untouched));
  // The system's own reading sees the whole text and nothing more.
  char system[16] = {};
  EXPECT_EQ(5, GetWindowTextA(wnd, system, sizeof system));
  EXPECT_EQ("hello", String(system));
  EXPECT_EQ(1, SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("bye")));
  EXPECT_EQ("bye", f.edit->GetText());
}

TEST(TextEdit, ADescendantsConstructorChoosesTheSettingsClass) {
  TForm form(nullptr);
  auto* edit = new TStyledTextEdit(&form);
  EXPECT_NE(nullptr, dynamic_cast<TStyledTextProperties*>(edit->GetProperties()));
  EXPECT_EQ(121, edit->GetWidth());
  EXPECT_EQ(21, edit->GetHeight());
}

// A press in the inner window of an automatic drag source drags the editor;
// over another editor's inner window the drag reaches that editor, at its
// own coordinates.
TEST(TextEdit, AnAutomaticDragTakesTheEditorFromItsInnerWindow) {
  TTextEditForm f;
  f.edit->SetText("drag me");
  f.edit->SetDragMode(dmAutomatic);
  auto* target = new TcxTextEdit(f.form.get());
  target->SetParent(f.form.get());
  target->SetBounds(200, 50, 120, 21);
  TObject* overSource = nullptr;
  TPoint overPoint;
  TObject* dropped = nullptr;
  target->OnDragOver = [&](TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept) {
    overSource = Source;
    overPoint = TPoint(X, Y);
    Accept = true;
  };
  target->OnDragDrop = [&](TObject*, TObject* Source, int, int) { dropped = Source; };
  f.Show();
  TWinControl* targetInner = target->GetInnerEdit()->GetControl();
  guitest::MouseEventAt(f.Inner()->GetHandle(), 10, 5, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(f.edit->Dragging());
  EXPECT_FALSE(f.Inner()->Dragging());
  guitest::MouseEventAt(f.Inner()->GetHandle(), 40, 5);
  guitest::MouseEventAt(targetInner->GetHandle(), 20, 6);
  guitest::MouseEventAt(targetInner->GetHandle(), 21, 6);
  EXPECT_EQ(f.edit, overSource);
  EXPECT_EQ(TPoint(21 + targetInner->GetLeft(), 6 + targetInner->GetTop()), overPoint);
  guitest::MouseEventAt(targetInner->GetHandle(), 21, 6, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(f.edit, dropped);
  EXPECT_FALSE(f.edit->Dragging());
  EXPECT_EQ("drag me", f.edit->GetText()) << "the drag selected nothing away";
}

TEST(TextEdit, SettingsCrossTheirBoundsRules) {
  TcxTextEditProperties props(nullptr);
  props.SetMaxLength(-5);
  EXPECT_EQ(0, props.GetMaxLength());
  EXPECT_TRUE(props.IsMaxLengthStored());
  props.SetMinValue(10);
  props.SetMaxValue(3);
  EXPECT_EQ(10, props.GetMaxValue());
  props.SetMaxValue(20);
  props.SetMinValue(30);
  EXPECT_EQ(20, props.GetMinValue());
}

TEST(TextEdit, ARightClickInTheInnerEditShowsTheEditorsMenu) {
  TTextEditForm f;
  auto* menu = new TRecordingPopupMenu(f.form.get());
  f.edit->SetPopupMenu(menu);
  f.edit->SetText("menu");
  f.Show();
  f.Focus();
  guitest::MouseEventAt(f.Inner()->GetHandle(), 10, 5, MOUSEEVENTF_RIGHTDOWN);
  guitest::MouseEventAt(f.Inner()->GetHandle(), 10, 5, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return !menu->shownFor.empty(); }));
  EXPECT_EQ(f.Inner(), menu->shownFor[0]);

  // Unfocused right-aligned text is the editor's to paint: a menu request
  // reaching the inner window then is not its to answer.
  f.edit->GetProperties()->SetUseLeftAlignmentOnEditing(false);
  f.edit->GetProperties()->GetAlignment()->SetHorz(taRightJustify);
  f.before->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return f.before->Focused(); }));
  ASSERT_FALSE(f.edit->IsInnerEditShown());
  f.Inner()->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f.Inner()->GetHandle()), MAKELPARAM(0xFFFF, 0xFFFF));
  EXPECT_EQ(1u, menu->shownFor.size());
  // A right click there still shows the menu, once.
  guitest::MouseEventAt(f.edit->GetHandle(), 40, 10, MOUSEEVENTF_RIGHTDOWN);
  guitest::MouseEventAt(f.edit->GetHandle(), 40, 10, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return menu->shownFor.size() >= 2; }));
  PumpFor(50);
  EXPECT_EQ(2u, menu->shownFor.size());
  EXPECT_TRUE(menu->shownFor[1] == f.edit || menu->shownFor[1] == f.Inner());
}

// Cuts from the focused edit window, the target it looks for.
struct TCutAction : TAction {
  using TAction::TAction;
  bool HandlesTarget(TObject* Target) override {
    auto* edit = dynamic_cast<TCustomEdit*>(Target);
    return edit && edit->Focused();
  }
  void ExecuteTarget(TObject* Target) override { static_cast<TCustomEdit*>(Target)->CutToClipboard(); }
};

class TBoundTextEdit : public TStyledTextEdit {
public:
  using TStyledTextEdit::TStyledTextEdit;
  std::unique_ptr<TcxEditDataBinding> CreateDataBinding() override { return std::make_unique<TActionBinding>(this); }
  TActionBinding* Binding() const { return static_cast<TActionBinding*>(GetDataBinding()); }
};

TEST(TextEdit, AnEditActionOnTheInnerWindowGoesThroughTheEditor) {
  TEditFormOf<TBoundTextEdit> f;
  auto* cut = new TCutAction(f.form.get());
  int changes = 0;
  f.edit->GetProperties()->OnChange = [&](TObject*) { ++changes; };
  f.edit->SetText("abcd");
  f.Show();
  f.Focus();
  ASSERT_TRUE(PumpUntil([&] { return Screen->GetActiveForm() == f.form.get(); }));
  f.edit->InnerTextEdit()->SetSelStart(2);
  f.edit->InnerTextEdit()->SetSelLength(2);
  changes = 0;
  EXPECT_TRUE(cut->Execute());
  EXPECT_EQ("ab", f.edit->GetText());
  EXPECT_EQ(1, changes) << "the editor's cut, a change by the user";
  EXPECT_TRUE(f.edit->GetModifiedSinceEnter());
  EXPECT_TRUE(f.edit->Binding()->executed.empty()) << "the window took it";

  f.edit->GetProperties()->SetReadOnly(true);
  f.edit->InnerTextEdit()->SetSelStart(0);
  f.edit->InnerTextEdit()->SetSelLength(1);
  EXPECT_TRUE(cut->Execute());
  EXPECT_EQ("ab", f.edit->GetText()) << "read-only: the cut only copies";
}

TEST(TextEdit, AnActionTheInnerWindowLeavesGoesToTheDataBinding) {
  TEditFormOf<TBoundTextEdit> f;
  auto* action = new TAction(f.form.get());
  f.Show();
  f.Focus();
  ASSERT_TRUE(PumpUntil([&] { return Screen->GetActiveForm() == f.form.get(); }));
  TActionBinding* binding = f.edit->Binding();
  binding->taken = action;
  EXPECT_TRUE(action->Execute());
  ASSERT_FALSE(binding->executed.empty());
  EXPECT_EQ(action, binding->executed[0]);
  EXPECT_TRUE(action->Update());
  ASSERT_FALSE(binding->updated.empty());
  EXPECT_EQ(action, binding->updated[0]);
  binding->taken = nullptr;
  EXPECT_FALSE(action->Execute()) << "nobody takes it";
}

} // namespace
