// Actions, timers and the message loop's services for other threads.
#include "ActnList.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Threads.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

using guitest::PumpUntil;

struct ActionForm : TForm {
  explicit ActionForm(TComponent* AOwner) : TForm(AOwner) {
    SetClientSize(200, 80);
    actions = new TActionList(this);
    acSave = new TAction(this);
    acSave->SetActionList(actions);
    acSave->SetCaption("&Save");
    acSave->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
    acSave->OnExecute = [this](TObject*) { ++saves; };
    acSave->OnUpdate = [this](TObject*) { acSave->SetEnabled(canSave); };
    edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(10, 10, 100, 21);
    button = new TButton(this);
    button->SetParent(this);
    button->SetBounds(10, 40, 75, 25);
    button->SetAction(acSave);
  }
  TActionList* actions;
  TAction* acSave;
  TEdit* edit;
  TButton* button;
  int saves = 0;
  bool canSave = true;
};

TEST(Actions, ShortCutTextRoundTrips) {
  struct Case {
    TShortCut sc;
    const char* text;
  };
  for (Case c :
       {Case{ShortCut('J', TShiftState{ssCtrl}), "Ctrl+J"}, Case{ShortCut(VK_F5, TShiftState{}), "F5"},
        Case{ShortCut(VK_RETURN, TShiftState{ssAlt}), "Alt+Enter"},
        Case{ShortCut(VK_DELETE, TShiftState{ssShift, ssCtrl}), "Shift+Ctrl+Del"}}) {
    EXPECT_EQ(c.text, ShortCutToText(c.sc));
    EXPECT_EQ(c.sc, TextToShortCut(c.text));
  }
  EXPECT_EQ(0, TextToShortCut("Ctrl+Nothing"));
  EXPECT_EQ("", ShortCutToText(0));
}

TEST(Actions, ShortcutButtonAndUpdateRunTheAction) {
  auto form = std::make_unique<ActionForm>(nullptr);
  EXPECT_EQ("&Save", form->button->GetCaption());
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->edit->Focused(); }));
  guitest::PressKey('S', guitest::kCtrl);
  EXPECT_TRUE(PumpUntil([&] { return form->saves == 1; })) << "Ctrl+S in the edit runs the action";
  guitest::ClickControl(form->button);
  EXPECT_TRUE(PumpUntil([&] { return form->saves == 2; })) << "the bound button runs it";
  form->canSave = false;
  EXPECT_TRUE(PumpUntil([&] { return !form->button->GetEnabled(); })) << "OnUpdate at idle time disables";
  guitest::PressKey('S', guitest::kCtrl);
  guitest::PumpFor(200);
  EXPECT_EQ(2, form->saves) << "a disabled action does not run";
  form->canSave = true;
  EXPECT_TRUE(PumpUntil([&] { return form->button->GetEnabled(); }));
}

// Cuts from the focused edit, the target it looks for; enabled while that
// edit has a selection.
struct TCutAction : TAction {
  using TAction::TAction;
  bool HandlesTarget(TObject* Target) override {
    auto* edit = dynamic_cast<TCustomEdit*>(Target);
    return edit && edit->Focused();
  }
  void ExecuteTarget(TObject* Target) override { static_cast<TCustomEdit*>(Target)->CutToClipboard(); }
  void UpdateTarget(TObject* Target) override {
    SetEnabled(static_cast<TCustomEdit*>(Target)->GetSelLength() > 0);
  }
};

// Takes any button as its target and records which.
struct TButtonAction : TAction {
  using TAction::TAction;
  bool HandlesTarget(TObject* Target) override { return dynamic_cast<TButton*>(Target) != nullptr; }
  void ExecuteTarget(TObject* Target) override { targets.push_back(Target); }
  std::vector<TObject*> targets;
};

TEST(Actions, AnActionWithoutHandlerRunsOnTheTargetItFinds) {
  auto form = std::make_unique<ActionForm>(nullptr);
  auto* second = new TEdit(form.get());
  second->SetParent(form.get());
  second->SetBounds(120, 10, 70, 21);
  auto* hidden = new TButton(form.get());
  hidden->SetParent(form.get());
  hidden->SetVisible(false);
  form->button->BringToFront();
  auto* cut = new TCutAction(form.get());
  auto* pick = new TButtonAction(form.get());
  form->Show();
  form->edit->SetText("first");
  second->SetText("abcd");
  second->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return second->Focused() && Screen->GetActiveForm() == form.get(); }));
  second->SetSelStart(2);
  second->SetSelLength(2);
  EXPECT_TRUE(cut->Execute()) << "the focused edit is the target";
  EXPECT_EQ("ab", second->GetText());
  EXPECT_EQ("first", form->edit->GetText()) << "the other edit is no target";

  EXPECT_TRUE(pick->Execute());
  ASSERT_EQ(1u, pick->targets.size());
  EXPECT_EQ(form->button, pick->targets[0]) << "the shown button, not the hidden one";

  form->button->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return form->button->Focused(); }));
  EXPECT_FALSE(cut->Execute()) << "no edit has the focus: nothing takes the action";
  form->saves = 0;
  EXPECT_TRUE(form->acSave->Execute());
  EXPECT_EQ(1, form->saves) << "an action with a handler runs it and looks for no target";
}

TEST(Actions, IdleUpdatesAskTheTargetOfAnActionWithoutHandler) {
  auto form = std::make_unique<ActionForm>(nullptr);
  auto* cut = new TCutAction(form.get());
  form->button->SetAction(cut);
  form->Show();
  form->edit->SetText("abcd");
  ASSERT_TRUE(PumpUntil([&] { return form->edit->Focused(); }));
  form->edit->SetSelLength(0);
  EXPECT_TRUE(PumpUntil([&] { return !form->button->GetEnabled(); })) << "nothing selected: disabled";
  form->edit->SelectAll();
  EXPECT_TRUE(PumpUntil([&] { return form->button->GetEnabled(); })) << "a selection enables it";
}

TEST(Services, TimerCanBeFreedInItsOwnHandler) {
  auto* timer = new TTimer(nullptr);
  int ticks = 0;
  timer->SetInterval(10);
  timer->SetOnTimer([&](TObject* Sender) {
    ++ticks;
    delete static_cast<TTimer*>(Sender);
  });
  guitest::PumpFor(150);
  EXPECT_EQ(1, ticks);
}

TEST(Services, SynchronizeRunsOnTheGuiThread) {
  class TWorker : public TThread {
  public:
    TWorker() : TThread(true) {}
    DWORD RanOn = 0;
    std::atomic<bool> Finished{false};

  protected:
    void Execute() override {
      Synchronize([this] { RanOn = GetCurrentThreadId(); });
      Finished = true;
    }
  };
  const DWORD gui = GetCurrentThreadId();
  DWORD terminatedOn = 0;
  TWorker worker;
  worker.OnTerminate = [&](TObject*) { terminatedOn = GetCurrentThreadId(); };
  worker.Start();
  EXPECT_TRUE(PumpUntil([&] { return worker.GetFinished(); }));
  worker.WaitFor();
  EXPECT_EQ(gui, worker.RanOn);
  EXPECT_EQ(gui, terminatedOn);
}

TEST(Services, AllocatedWindowReceivesBroadcasts) {
  const UINT message = RegisterWindowMessageA("VelmoraTestBroadcast");
  int received = 0;
  HWND wnd = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == message) ++received;
  });
  PostMessageA(HWND_BROADCAST, message, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return received == 1; }));
  DeallocateHWnd(wnd);
}

} // namespace

namespace {

TEST(Services, ApplicationTitleIsTheProgramName) {
  EXPECT_EQ("classlib_win_tests", Application->Title);
}

} // namespace
