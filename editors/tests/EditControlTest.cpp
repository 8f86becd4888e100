// The editor control: change events and their locks, modified flags,
// validation on leaving, keys, embedded buttons under the mouse, the queued
// error message, in-place hosting and editors freed by their own handlers.
#include "EditTest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using guitest::MouseEventAt;
using guitest::PressKey;
using guitest::PumpFor;

// Records the change events of an editor's properties in order.
struct TEvents {
  explicit TEvents(TcxCustomEditProperties* P) {
    P->OnChange = [this](TObject*) { log.push_back("change"); };
    P->OnEditValueChanged = [this](TObject*) { log.push_back("value"); };
  }
  std::vector<String> log;
};

void Focus(TWinControl* AControl) {
  AControl->SetFocus();
  guitest::PumpUntil([&] { return AControl->Focused(); }, 2000);
}

TPoint ButtonCenter(TTestEdit* AEdit, int AIndex) {
  const TRect& r = AEdit->GetViewInfo()->ButtonsInfo.at(AIndex)->Bounds;
  return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST(EditControl, ANewEditorIsNullAutoSizedAndUnmodified) {
  TComponent owner(nullptr);
  auto* edit = new TTestEdit(&owner);
  TEvents events(edit->GetProperties());
  edit->AfterConstruction();
  EXPECT_TRUE(edit->GetEditValueRef().IsNull());
  EXPECT_TRUE(edit->GetAutoSize());
  EXPECT_FALSE(edit->GetModified());
  EXPECT_FALSE(edit->GetModifiedSinceEnter());
  EXPECT_EQ(-1, edit->GetPressedButtonIndex());
  EXPECT_TRUE(events.log.empty());
  EXPECT_EQ(edit->GetDataBinding()->GetDefaultValuesProvider(),
            edit->GetProperties()->GetDefaultValuesProvider());
}

TEST(EditControl, SettingValuesFiresEventsOnlyForRealChanges) {
  const struct {
    bool compares;
    Variant first;
    Variant second;
    std::vector<String> log;
  } cases[] = {
      {true, Variant(1), Variant(1), {"value", "change"}},
      {true, Variant(1), Variant(String("1")), {"value", "change", "value", "change"}},
      {false, Variant(1), Variant(2), {}},
  };
  for (const auto& k : cases) {
    TEditForm f(false);
    f.edit->Props()->Compares = k.compares;
    TEvents events(f.edit->GetProperties());
    f.edit->SetEditValue(k.first);
    f.edit->SetEditValue(k.second);
    EXPECT_EQ(k.log, events.log) << k.compares;
    EXPECT_FALSE(f.edit->GetModified());
  }
}

TEST(EditControl, NestedLocksDeliverEachPendingEventOnceAfterTheLastUnlock) {
  TEditForm f(false);
  TEvents events(f.edit->GetProperties());
  f.edit->LockChangeEvents(true);
  f.edit->LockChangeEvents(true);
  f.edit->SetEditValue(Variant(5));
  f.edit->SetEditValue(Variant(6));
  f.edit->LockChangeEvents(false);
  EXPECT_TRUE(events.log.empty());
  f.edit->LockChangeEvents(false);
  EXPECT_EQ((std::vector<String>{"change", "value"}), events.log);
  f.edit->LockChangeEvents(false);
  EXPECT_FALSE(f.edit->IsChangeEventsLocked());
}

TEST(EditControl, UnlockingWithoutInvokingKeepsEventsUntilTheNextLockClearsThem) {
  TEditForm f(false);
  TEvents events(f.edit->GetProperties());
  f.edit->LockChangeEvents(true);
  f.edit->SetEditValue(Variant(5));
  f.edit->LockChangeEvents(false, false);
  EXPECT_TRUE(events.log.empty());
  f.edit->LockChangeEvents(true);
  f.edit->LockChangeEvents(false);
  EXPECT_TRUE(events.log.empty());
}

TEST(EditControl, ModifiedFlagsAndTheirStack) {
  TEditForm f(false);
  f.edit->SetModifiedSinceEnter(true);
  EXPECT_TRUE(f.edit->GetModified());
  f.edit->PushModifiedState();
  f.edit->SetModified(false);
  EXPECT_FALSE(f.edit->GetModifiedSinceEnter());
  f.edit->PopModifiedState();
  EXPECT_TRUE(f.edit->GetModified());
  EXPECT_TRUE(f.edit->GetModifiedSinceEnter());
}

TEST(EditControl, EditingIsAskedOnceAndAReadOnlyEditorRefusesUserValues) {
  TEditForm f;
  int asked = 0;
  f.edit->OnEditing = [&](TObject*, bool& CanEdit) {
    ++asked;
    f.edit->SetEditValue(Variant(99)); // ignored while editing is asked
    CanEdit = true;
  };
  Focus(f.edit);
  f.edit->UserSetValue(Variant(1));
  f.edit->UserSetValue(Variant(2));
  EXPECT_EQ(1, asked);
  EXPECT_EQ(2, f.edit->GetEditValueRef().AsInteger());
  f.edit->SetModified(false);
  f.edit->GetProperties()->SetReadOnly(true);
  f.edit->UserSetValue(Variant(3));
  EXPECT_EQ(2, f.edit->GetEditValueRef().AsInteger());
  EXPECT_EQ(1, asked);
}

TEST(EditControl, FilterCharDropsCharactersTheProviderRejects) {
  struct TDigits : TcxCustomEditDefaultValuesProvider {
    TDigits() : TcxCustomEditDefaultValuesProvider(nullptr) {}
    bool IsValidChar(char Ch) override { return Ch >= '0' && Ch <= '9'; }
  } digits;
  TEditForm f(false);
  f.edit->GetProperties()->SetDefaultValuesProvider(&digits);
  const struct {
    char in;
    char out;
  } cases[] = {{'5', '5'}, {'x', 0}, {'\b', '\b'}};
  for (const auto& k : cases) {
    char c = k.in;
    EXPECT_EQ(k.out != 0, f.edit->FilterChar(c));
    EXPECT_EQ(k.out, c);
  }
  f.edit->GetProperties()->SetDefaultValuesProvider(nullptr);
}

TEST(EditControl, EscapeRevertsOnlyAfterAChange) {
  TEditForm f;
  f.edit->SetEditValue(Variant(1));
  Focus(f.edit);
  WORD key = VK_ESCAPE;
  f.edit->KeyDown(key, TShiftState());
  EXPECT_EQ(VK_ESCAPE, key);
  f.edit->UserSetValue(Variant(2));
  PressKey(VK_ESCAPE);
  PumpFor(50);
  EXPECT_EQ(1, f.edit->GetEditValueRef().AsInteger());
  EXPECT_TRUE(f.edit->GetModified());
  EXPECT_FALSE(f.edit->GetModifiedSinceEnter());
  EXPECT_GE(f.edit->SelectAllCount, 1);
}

TEST(EditControl, CtrlEnterClicksTheDefaultButtonOrIsAnOrdinaryKey) {
  for (bool withButton : {true, false}) {
    TEditForm f;
    int clicks = 0;
    int keyDowns = 0;
    f.edit->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
      if (Key == VK_RETURN) ++keyDowns;
    };
    f.edit->GetProperties()->OnButtonClick = [&](TObject*, int) { ++clicks; };
    if (withButton) {
      f.edit->GetProperties()->GetButtons()->Add();
      f.edit->GetProperties()->GetButtons()->Add()->SetDefault(true);
    }
    Focus(f.edit);
    PressKey(VK_RETURN, guitest::kCtrl);
    PumpFor(50);
    EXPECT_EQ(withButton ? 1 : 0, clicks);
    EXPECT_EQ(withButton ? 0 : 1, keyDowns);
    if (withButton) {
      EXPECT_EQ(std::vector<String>{"click 1"}, f.edit->Log);
    }
  }
}

// The click key's character is taken from the queue; a quit request that
// comes out instead is posted again, and the character then stays.
TEST(EditControl, TheClickKeyTakesOnePendingCharacterAndKeepsAQueuedQuit) {
  TEditForm f;
  f.edit->GetProperties()->GetButtons()->Add()->SetDefault(true);
  int clicks = 0;
  f.edit->GetProperties()->OnButtonClick = [&](TObject*, int) { ++clicks; };
  MSG msg;
  PostMessageA(f.edit->GetHandle(), WM_CHAR, '\n', 0);
  WORD key = VK_RETURN;
  f.edit->KeyDown(key, TShiftState{ssCtrl});
  EXPECT_EQ(1, clicks);
  EXPECT_EQ(0, key);
  EXPECT_FALSE(PeekMessageA(&msg, f.edit->GetHandle(), WM_CHAR, WM_CHAR, PM_NOREMOVE));
  PostMessageA(f.edit->GetHandle(), WM_CHAR, '\n', 0);
  PostQuitMessage(7);
  key = VK_RETURN;
  f.edit->KeyDown(key, TShiftState{ssCtrl});
  EXPECT_EQ(2, clicks);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(7u, msg.wParam);
  PeekMessageA(&msg, f.edit->GetHandle(), WM_CHAR, WM_CHAR, PM_REMOVE);
}

TEST(EditControl, TabMovesOnUnlessTheUnhandledKeyHandlerClearsIt) {
  for (bool clear : {true, false}) {
    TEditForm f;
    f.edit->OnUnhandledKey = [clear](TObject*, WORD& Key, TShiftState) {
      if (clear) Key = 0;
    };
    Focus(f.edit);
    PressKey(VK_TAB);
    PumpFor(50);
    EXPECT_EQ(clear, f.edit->Focused()) << clear;
    EXPECT_EQ(!clear, f.after->Focused()) << clear;
  }
}

TEST(EditControl, NavigationKeysGoToTheUnhandledKeyHandler) {
  TEditForm f;
  std::vector<WORD> keys;
  f.edit->OnUnhandledKey = [&](TObject*, WORD& Key, TShiftState) { keys.push_back(Key); };
  Focus(f.edit);
  for (WORD k : {VK_PRIOR, VK_HOME, VK_DOWN}) {
    WORD key = k;
    f.edit->KeyDown(key, TShiftState());
    EXPECT_EQ(0, key);
  }
  EXPECT_EQ((std::vector<WORD>{VK_PRIOR, VK_HOME, VK_DOWN}), keys);
}

TEST(EditControl, TheClearKeySetsNullAsAUserChange) {
  TEditForm f;
  f.edit->GetProperties()->ClearKey = VK_DELETE | scCtrl;
  f.edit->SetEditValue(Variant(3));
  Focus(f.edit);
  PressKey(VK_DELETE, guitest::kCtrl);
  PumpFor(50);
  EXPECT_TRUE(f.edit->GetEditValueRef().IsNull());
  EXPECT_TRUE(f.edit->GetModifiedSinceEnter());
}

TEST(EditControl, EnterWithValidateOnEnterValidatesAndPosts) {
  TEditForm f;
  f.edit->GetProperties()->ValidateOnEnter = true;
  int validated = 0;
  f.edit->GetProperties()->OnValidate = [&](TObject*, Variant&, String&, bool&) { ++validated; };
  Focus(f.edit);
  f.edit->UserSetValue(Variant(4));
  PressKey(VK_RETURN);
  PumpFor(50);
  EXPECT_EQ(1, validated);
  EXPECT_TRUE(f.edit->GetIsEditValidated());
}

// Pressing a button and leaving it with the mouse held: up without a
// click; coming back presses again; releasing over it clicks. (The pointer
// may bounce between the points under Wine: each bounce is one more down
// and up.)
TEST(EditControl, AButtonUnderTheMousePressesLeavesReturnsAndClicks) {
  for (bool releaseOver : {false, true}) {
    TEditForm f;
    f.edit->GetStyle()->SetBorderStyle(cbs3D);
    f.edit->GetProperties()->GetButtons()->Add();
    HWND wnd = f.edit->GetHandle();
    const TPoint p = ButtonCenter(f.edit, 0);
    MouseEventAt(wnd, p.x, p.y, MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(ebsPressed, f.edit->GetViewInfo()->ButtonsInfo[0]->State);
    MouseEventAt(wnd, 20, p.y);
    EXPECT_EQ(ebsNormal, f.edit->GetViewInfo()->ButtonsInfo[0]->State);
    if (releaseOver) {
      MouseEventAt(wnd, p.x, p.y);
      EXPECT_EQ(ebsPressed, f.edit->GetViewInfo()->ButtonsInfo[0]->State);
      MouseEventAt(wnd, p.x, p.y, MOUSEEVENTF_LEFTUP);
    } else {
      MouseEventAt(wnd, 20, p.y, MOUSEEVENTF_LEFTUP);
    }
    const std::vector<String>& log = f.edit->Log;
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ("down 0", log[0]);
    EXPECT_EQ("up 0", log[1]);
    EXPECT_EQ(std::count(log.begin(), log.end(), "down 0"), std::count(log.begin(), log.end(), "up 0"));
    EXPECT_EQ(releaseOver ? 1 : 0, std::count(log.begin(), log.end(), "click 0")) << releaseOver;
    if (releaseOver) {
      EXPECT_GE(log.size(), 5u);
      EXPECT_EQ("click 0", log.back());
    }
  }
}

TEST(EditControl, LeavingWithAnInvalidValueKeepsTheFocusAndRaises) {
  TEditForm f;
  guitest::TExceptionCapture exceptions;
  int exits = 0;
  f.edit->OnExit = [&](TObject*) { ++exits; };
  f.edit->GetProperties()->BeepOnError = true;
  f.edit->GetProperties()->OnValidate = [](TObject*, Variant&, String&, bool& Error) { Error = true; };
  Focus(f.edit);
  f.edit->UserSetValue(Variant(1));
  PressKey(VK_TAB);
  PumpFor(100);
  EXPECT_EQ(0, exits);
  ASSERT_EQ(1u, exceptions.Messages.size());
  EXPECT_EQ("Invalid input value. Use escape key to abandon changes", exceptions.Messages[0]);
  EXPECT_TRUE(f.edit->Focused());
  EXPECT_TRUE(f.edit->GetModifiedSinceEnter());
  EXPECT_GE(f.edit->SelectAllCount, 1);
  // A valid value leaves.
  f.edit->GetProperties()->OnValidate = nullptr;
  PressKey(VK_TAB);
  PumpFor(100);
  EXPECT_EQ(1, exits);
  EXPECT_TRUE(f.after->Focused());
  EXPECT_FALSE(f.edit->GetModifiedSinceEnter());
  EXPECT_TRUE(f.edit->GetModified());
}

TEST(EditControl, AModalFormClosedWithOkValidatesItsEditorSilently) {
  guitest::TExceptionCapture exceptions;
  TForm dialog(nullptr);
  dialog.SetBounds(100, 100, 300, 160);
  auto* edit = new TTestEdit(&dialog);
  edit->SetParent(&dialog);
  edit->SetAutoSize(false);
  edit->SetBounds(10, 10, 200, 24);
  edit->AfterConstruction();
  int validated = 0;
  edit->GetProperties()->OnValidate = [&](TObject*, Variant&, String&, bool& Error) {
    ++validated;
    Error = true;
  };
  guitest::AnswerNextForm([&](TCustomForm* form) {
    Focus(edit);
    edit->UserSetValue(Variant(1));
    form->SetModalResult(mrOk);
  });
  EXPECT_EQ(mrOk, dialog.ShowModal());
  PumpFor(50);
  EXPECT_GE(validated, 1);
  EXPECT_TRUE(exceptions.Messages.empty());
}

TEST(EditControl, TheErrorMessageRaisesOnlyTextsTheEditorQueued) {
  TEditForm f;
  guitest::TExceptionCapture exceptions;
  String foreign = "not ours";
  PostMessageA(f.edit->GetHandle(), CXM_EDITPOSTEXCEPTION, reinterpret_cast<WPARAM>(&foreign), 0);
  PostMessageA(f.edit->GetHandle(), CXM_EDITPOSTEXCEPTION, 12345, 0);
  PumpFor(50);
  EXPECT_TRUE(exceptions.Messages.empty());
  EXPECT_EQ("not ours", foreign);
  f.edit->PostEditException("Queued text");
  PumpFor(50);
  EXPECT_EQ(std::vector<String>{"Queued text"}, exceptions.Messages);
}

TEST(EditControl, AnEditorFreedByItsHandlersIsNotTouchedAgain) {
  {
    TEditForm f;
    f.edit->GetProperties()->GetButtons()->Add()->SetDefault(true);
    TTestEdit* edit = f.edit;
    f.edit->GetProperties()->OnButtonClick = [edit](TObject*, int) { delete edit; };
    WORD key = VK_RETURN;
    edit->KeyDown(key, TShiftState{ssCtrl});
    EXPECT_EQ(2, f.form->GetComponentCount());
  }
  {
    TEditForm f;
    TTestEdit* edit = f.edit;
    edit->GetProperties()->OnValidate = [edit](TObject*, Variant&, String&, bool& Error) {
      Error = true;
      delete edit;
    };
    Focus(edit);
    edit->UserSetValue(Variant(1));
    EXPECT_FALSE(edit->HandleEditExit(true));
  }
  {
    TEditForm f;
    TTestEdit* edit = f.edit;
    edit->OnExit = [edit](TObject*) { delete edit; };
    Focus(edit);
    edit->UserSetValue(Variant(1));
    EXPECT_TRUE(edit->HandleEditExit(true));
  }
}

TEST(EditControl, WhileReadingTheOwnPropertiesAreActive) {
  TEditForm f(false);
  TcxEditRepository repository(nullptr);
  auto* item = repository.CreateItem<TTestRepositoryItem>();
  f.edit->SetRepositoryItem(item);
  f.edit->BeginLoading();
  EXPECT_EQ(f.edit->GetProperties(), f.edit->GetActiveProperties());
  f.edit->Loaded();
  EXPECT_EQ(item->GetProperties(), f.edit->GetActiveProperties());
}

TEST(EditControl, AutoSizeFollowsTheContentAndResizingKeepsIt) {
  TEditForm f;
  f.edit->SetAutoSize(true);
  const int height = f.edit->GetHeight();
  f.edit->SetBounds(10, 50, 150, 60);
  EXPECT_EQ(height, f.edit->GetHeight());
  EXPECT_EQ(150, f.edit->GetWidth());
  f.edit->SetAutoSize(false);
  f.edit->SetBounds(10, 50, 150, 60);
  EXPECT_EQ(60, f.edit->GetHeight());
}

TEST(EditControl, TheInPlaceHostActivatesPostsAndSwallowsPostingErrors) {
  TEditForm f;
  auto* edit = new TTestInplaceEdit(f.form.get());
  edit->SetParent(f.form.get());
  edit->SetBounds(220, 50, 100, 20);
  edit->AfterConstruction();
  EXPECT_TRUE(edit->GetIsInplace());
  EXPECT_FALSE(edit->GetAutoSize());
  edit->SetAutoSize(true);
  EXPECT_FALSE(edit->GetAutoSize());
  std::vector<char> typed;
  edit->OnKeyPress = [&](TObject*, char& Key) { typed.push_back(Key); };
  std::unique_ptr<TcxCustomEditData> data;
  edit->ActivateInplaceByKey('z', data);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(std::vector<char>{'z'}, typed);
  EXPECT_EQ(1, edit->SelectAllCount);
  int posted = 0;
  edit->OnPostInplace = [&](TObject*) {
    ++posted;
    throw Exception("post failed");
  };
  edit->SetModifiedSinceEnter(true);
  EXPECT_NO_THROW(edit->PostEditValue());
  EXPECT_EQ(1, posted);
  EXPECT_FALSE(edit->GetIsPosting());
  edit->GetProperties()->SetReadOnly(true);
  EXPECT_FALSE(edit->CanModify());
  edit->GetProperties()->SetReadOnly(false);
  EXPECT_TRUE(edit->CanModify());
  EXPECT_TRUE(edit->DeactivateInplace());
}

TEST(EditControl, AClickAfterActivationByTheMouseCountsAsADoubleClick) {
  TEditForm f;
  auto* edit = new TTestInplaceEdit(f.form.get());
  edit->SetParent(f.form.get());
  edit->SetBounds(220, 50, 100, 20);
  edit->AfterConstruction();
  int doubleClicks = 0;
  edit->OnDblClick = [&](TObject*) { ++doubleClicks; };
  std::unique_ptr<TcxCustomEditData> data;
  edit->ActivateInplaceByMouse(mbLeft, TShiftState{ssLeft}, 230, 60, data);
  SendMessageA(edit->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  SendMessageA(edit->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageA(edit->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(1, doubleClicks);
}

TEST(EditControl, ClipboardMessagesReachTheOperationsAsUserChanges) {
  struct TClipEdit : TTestEdit {
    using TTestEdit::TTestEdit;
    void CopyToClipboard() override { Log.push_back("copy"); }
    void CutToClipboard() override { Log.push_back(IsUserChange() ? "cut by user" : "cut"); }
    void PasteFromClipboard() override { Log.push_back(IsUserChange() ? "paste by user" : "paste"); }
  };
  TEditForm f;
  auto* edit = new TClipEdit(f.form.get());
  edit->SetParent(f.form.get());
  edit->AfterConstruction();
  for (UINT msg : {WM_CUT, WM_COPY, WM_PASTE})
    SendMessageA(edit->GetHandle(), msg, 0, 0);
  edit->GetProperties()->SetReadOnly(true);
  for (UINT msg : {WM_CUT, WM_PASTE})
    SendMessageA(edit->GetHandle(), msg, 0, 0);
  EXPECT_EQ((std::vector<String>{"cut by user", "copy", "paste by user", "copy"}), edit->Log);
}

} // namespace
