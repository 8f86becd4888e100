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
