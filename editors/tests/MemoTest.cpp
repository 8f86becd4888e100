// The memo driven by real input in a window of its own: its painted scroll
// bars following the text, pastes with line feeds before carriage returns,
// Ctrl+A, Enter in and out of place, a scroll-bar change recreating the
// windows; and the short display text and row flags of its settings.
#include "cxMemo.h"

#include "TextEditTest.h"

#include "Clipbrd.h"
#include "Forms.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;

// The one host of in-place memos: it marks its memo in place.
class TInplaceMemo : public TcxMemo {
public:
  explicit TInplaceMemo(TComponent* AOwner) : TcxMemo(AOwner) { SetIsInplace(true); }
};

struct TMemoForm {
  explicit TMemoForm(bool AInplace = false) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 360, 260);
    form->SetColor(clSilver);
    before = new TEdit(form.get());
    before->SetParent(form.get());
    before->SetBounds(10, 10, 120, 21);
    memo = AInplace ? new TInplaceMemo(form.get()) : new TcxMemo(form.get());
    memo->SetParent(form.get());
    memo->SetBounds(10, 40, 200, 120);
    memo->AfterConstruction();
  }
  void Show() {
    form->Show();
    form->Update();
    PumpFor(20);
  }
  void Focus() {
    memo->SetFocus();
    PumpUntil([this] { return memo->IsFocused(); }, 2000);
  }
  TcxCustomInnerMemo* Inner() const { return memo->GetInnerMemo(); }
  HWND InnerWnd() const { return Inner()->GetHandle(); }
  String Lines(int ACount) {
    String text;
    for (int i = 0; i < ACount; ++i)
      text += (i ? "\r\n" : "") + String("line ") + std::to_string(i);
    return text;
  }
  std::unique_ptr<TForm> form;
  TEdit* before;
  TcxMemo* memo;
};

class TBoundMemo : public TcxMemo {
public:
  using TcxMemo::TcxMemo;
  std::unique_ptr<TcxEditDataBinding> CreateDataBinding() override { return std::make_unique<TActionBinding>(this); }
  TActionBinding* Binding() const { return static_cast<TActionBinding*>(GetDataBinding()); }
};

// The inner memo answers for its editor as the inner text edit does: a right
// click shows the editor's menu, and an action the window leaves reaches the
// editor's data binding.
TEST(Memo, TheInnerMemoShowsTheEditorsMenuAndHandsActionsToItsBinding) {
  TEditFormOf<TBoundMemo> f;
  f.edit->SetBounds(10, 50, 200, 80);
  auto* menu = new TRecordingPopupMenu(f.form.get());
  f.edit->SetPopupMenu(menu);
  f.edit->SetText("menu");
  f.Show();
  f.Focus();
  ASSERT_TRUE(PumpUntil([&] { return Screen->GetActiveForm() == f.form.get(); }));
  guitest::MouseEventAt(f.Inner()->GetHandle(), 10, 5, MOUSEEVENTF_RIGHTDOWN);
  guitest::MouseEventAt(f.Inner()->GetHandle(), 10, 5, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return !menu->shownFor.empty(); }));
  EXPECT_EQ(f.Inner(), menu->shownFor[0]);

  auto* action = new TAction(f.form.get());
  f.edit->Binding()->taken = action;
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(std::vector<TBasicAction*>{action}, f.edit->Binding()->executed);
  EXPECT_TRUE(action->Update());
  EXPECT_FALSE(f.edit->Binding()->updated.empty());
}

TEST(Memo, DisplayTextOutsideEditingIsTheFirstLineOfAtMost250Characters) {
  TcxMemoProperties props(nullptr);
  const String longLine(300, 'x');
  const struct {
    String value;
    bool fullText;
    String expected;
  } cases[] = {
      {longLine, false, longLine.substr(0, 250)},
      {"first\r\nsecond", false, "first"},
      {"first\nsecond", false, "first"},
      {String(10, 'y') + "\r" + longLine, false, String(10, 'y')},
      {"first\r\nsecond", true, "first\r\nsecond"},
      {longLine, true, longLine},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.substr(0, 20));
    String text;
    props.EditValueToDisplayText(Variant(c.value), c.fullText, text);
    EXPECT_EQ(c.expected, text);
  }
}

TEST(Memo, RowsWrapOnlyWithWordWrapAndNoHorizontalBar) {
  const struct {
    bool wordWrap;
    TScrollStyle bars;
    int flags;
  } cases[] = {
      {true, ssNone, 0x24100},      {true, ssVertical, 0x24100}, {true, ssBoth, 0x4000},
      {true, ssHorizontal, 0x4000}, {false, ssVertical, 0x4000},
  };
  TcxCustomEditStyle style(nullptr, false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bars);
    TcxMemoProperties props(nullptr);
    props.SetWordWrap(c.wordWrap);
    props.SetScrollBars(c.bars);
    std::unique_ptr<TcxCustomEditViewData> data = props.CreateViewData(&style, false);
    const int flags = static_cast<TcxCustomMemoViewData*>(data.get())->GetDrawTextFlags();
    EXPECT_EQ(c.flags, flags & 0x24100);
    EXPECT_EQ(trClampLeft, flags & trClampLeft);
  }
}

TEST(Memo, TheOwnVerticalBarLiesOverTheNativeOneAndFollowsTheText) {
  TMemoForm f;
  f.memo->GetProperties()->SetScrollBars(ssVertical);
  f.Show();
  TcxControlScrollBar* bar = f.memo->GetVScrollBar();
  ASSERT_NE(nullptr, bar);
  // Place, state, range and position as the native bar's.
  auto followsNative = [&] {
    TRect native;
    bool enabled = false;
    if (!GetNativeScrollBarRect(f.InnerWnd(), sbVertical, f.memo->GetHandle(), native, enabled)) return false;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(f.InnerWnd(), SB_VERT, &info);
    return bar->GetVisible() && bar->GetBoundsRect() == native && bar->GetEnabled() == enabled &&
           bar->GetMax() == info.nMax && bar->GetPosition() == info.nPos;
  };
  ASSERT_TRUE(PumpUntil(followsNative, 2000));
  const int shortMax = bar->GetMax();
  f.memo->SetText(f.Lines(40));
  ASSERT_TRUE(PumpUntil([&] { return bar->GetMax() > shortMax && followsNative(); }, 2000));

  // Moving the caret to the end scrolls the inner memo; the bar follows.
  f.Focus();
  PressKey(VK_END, guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return bar->GetPosition() > 0; }, 2000));
  EXPECT_EQ(GetScrollPos(f.InnerWnd(), SB_VERT), bar->GetPosition());

  // A click on the bar's up arrow scrolls the inner memo by a line.
  const int first = static_cast<int>(SendMessageA(f.InnerWnd(), EM_GETFIRSTVISIBLELINE, 0, 0));
  guitest::ClickAt(bar->GetHandle(), bar->GetWidth() / 2, 3);
  ASSERT_TRUE(
      PumpUntil([&] { return SendMessageA(f.InnerWnd(), EM_GETFIRSTVISIBLELINE, 0, 0) == first - 1; }, 2000));
  PumpFor(30);
  EXPECT_EQ(GetScrollPos(f.InnerWnd(), SB_VERT), bar->GetPosition());

  // Emptied, the range shrinks again (the native bar is disabled only when
  // it is next painted).
  f.memo->SetText("");
  EXPECT_TRUE(PumpUntil([&] { return bar->GetMax() == shortMax && bar->GetPosition() == 0; }, 2000));
}

TEST(Memo, ThePaintedBarIsDrawnWhereTheNativeBarLies) {
  TMemoForm f;
  f.memo->GetProperties()->SetScrollBars(ssBoth);
  f.memo->GetProperties()->SetWordWrap(false);
  f.Show();
  f.memo->SetText(f.Lines(30) + String(80, 'w'));
  TcxControlScrollBar* bar = f.memo->GetVScrollBar();
  ASSERT_TRUE(PumpUntil([&] { return bar->GetVisible() && f.memo->GetHScrollBar()->GetVisible(); }, 2000));
  PumpFor(50);
  guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
  capture.SavePng("memo_scrollbars");
  // The bar's arrows are drawn in button face with dark arrows; the memo's
  // text area is window white.
  const TRect r = bar->GetBoundsRect();
  const int x = f.memo->GetLeft() + r.left;
  const int y = f.memo->GetTop() + r.top;
  const RECT upButton{x + 2, y + 2, x + r.Width() - 2, y + r.Width() - 2};
  EXPECT_GT(capture.CountPixels(upButton, ColorToRGB(clBtnFace)), 0);
  EXPECT_EQ(0, capture.CountPixels(upButton, ColorToRGB(clWindow)));
}

TEST(Memo, APasteTurnsEachLineFeedBeforeAReturnIntoTwoLineBreaks) {
  const struct {
    const char* pasted;
    const char* expected;
  } cases[] = {
      {"a\n\rb", "a\r\n\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"a\n\r\n\rb", "a\r\n\r\n\r\n\r\nb"},
      {"a\rb\nc", "a\rb\nc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pasted);
    TMemoForm f;
    f.Show();
    f.Focus();
    Clipboard()->SetAsText(c.pasted);
    PressKey('V', guitest::kCtrl);
    ASSERT_TRUE(PumpUntil([&] { return !f.memo->GetText().empty(); }, 2000));
    PumpFor(20);
    EXPECT_EQ(c.expected, f.Inner()->GetText());
    EXPECT_EQ(c.expected, VarToStr(f.memo->GetEditValueRef()));
  }
}

TEST(Memo, APasteBeyondMaxLengthIsCutAndOneWithoutRoomIsDropped) {
  const struct {
    const char* text;
    int selStart;
    const char* expected;
  } cases[] = {
      {"abc", 3, "abc12"},
      {"abcde", 5, "abcde"},
      {"abcde", 0, "abcde"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TMemoForm f;
    f.memo->GetProperties()->SetMaxLength(5);
    f.memo->SetText(c.text);
    f.Show();
    f.Focus();
    SendMessageA(f.InnerWnd(), EM_SETSEL, c.selStart, c.selStart);
    Clipboard()->SetAsText("123");
    PressKey('V', guitest::kCtrl);
    PumpFor(100);
    EXPECT_EQ(c.expected, f.memo->GetText());
  }
}

TEST(Memo, CtrlASelectsAllOnlyWithTextAndReachesOnUnhandledKeyOnce) {
  for (const char* text : {"", "one\r\ntwo"}) {
    SCOPED_TRACE(text);
    TMemoForm f;
    int unhandled = 0;
    f.memo->OnUnhandledKey = [&](TObject*, WORD& Key, TShiftState) { unhandled += Key == 'A'; };
    f.memo->SetText(text);
    f.Show();
    f.Focus();
    const int caret = *text ? 1 : 0;
    SendMessageA(f.InnerWnd(), EM_SETSEL, caret, caret);
    PressKey('A', guitest::kCtrl);
    PumpFor(100);
    // An empty memo reports it as a key that changed nothing.
    EXPECT_EQ(1, unhandled);
    EXPECT_EQ(*text ? 0 : caret, f.Inner()->GetSelStart());
    EXPECT_EQ(static_cast<int>(strlen(text)), f.Inner()->GetSelLength());
    EXPECT_EQ(text, f.memo->GetText()) << "no letter typed";
  }
}

TEST(Memo, EnterMakesALineUnseenByOnKeyDownOnlyInPlace) {
  // The text after the key, where the key decides it.
  const char* const line = "a\r\nb";
  const struct {
    bool inplace;
    bool wantReturns;
    int modifiers;
    bool reported;
    const char* text;
  } cases[] = {
      {true, true, guitest::kNone, false, line},  {true, true, guitest::kCtrl, true, nullptr},
      {true, false, guitest::kNone, true, "ab"},  {true, false, guitest::kCtrl, false, line},
      {false, true, guitest::kNone, true, line},  {false, true, guitest::kCtrl, true, nullptr},
      {false, false, guitest::kNone, true, "ab"}, {false, false, guitest::kCtrl, true, line},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.inplace << c.wantReturns << c.modifiers);
    TMemoForm f(c.inplace);
    f.memo->GetProperties()->SetWantReturns(c.wantReturns);
    int reported = 0;
    f.memo->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { reported += Key == VK_RETURN; };
    f.memo->SetText("ab");
    f.Show();
    f.Focus();
    SendMessageA(f.InnerWnd(), EM_SETSEL, 1, 1);
    PressKey(VK_RETURN, c.modifiers);
    PumpFor(100);
    EXPECT_EQ(c.reported ? 1 : 0, reported);
    EXPECT_EQ(String(c.text ? c.text : f.memo->GetText()), f.memo->GetText());
  }
}

TEST(Memo, AScrollBarsChangeRecreatesBothWindowsKeepingTextAndSelection) {
  TMemoForm f;
  f.memo->SetText("alpha\r\nbeta");
  f.Show();
  f.Focus();
  SendMessageA(f.InnerWnd(), EM_SETSEL, 2, 8);
  const HWND outer = f.memo->GetHandle();
  const HWND inner = f.InnerWnd();
  f.memo->GetProperties()->SetScrollBars(ssBoth);
  PumpFor(30);
  EXPECT_NE(outer, f.memo->GetHandle());
  EXPECT_NE(inner, f.InnerWnd());
  EXPECT_EQ(WS_HSCROLL | WS_VSCROLL, GetWindowLongA(f.InnerWnd(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_EQ("alpha\r\nbeta", f.memo->GetText());
  EXPECT_EQ("alpha\r\nbeta", VarToStr(f.memo->GetEditValueRef()));
  EXPECT_EQ(2, f.Inner()->GetSelStart());
  EXPECT_EQ(6, f.Inner()->GetSelLength());
}

TEST(Memo, LinesSetByTheProgramBecomeTheEditValue) {
  TMemoForm f;
  f.Show();
  TStringList lines;
  lines.Add("one");
  lines.Add("two");
  f.memo->SetLines(&lines);
  EXPECT_EQ(2, f.memo->GetLines()->GetCount());
  EXPECT_EQ("two", f.memo->GetLines()->Get(1));
  EXPECT_EQ(VarToStr(f.memo->GetEditValueRef()), f.Inner()->GetText());
}

} // namespace
