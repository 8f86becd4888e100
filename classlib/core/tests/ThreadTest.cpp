#include "Threads.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

class TCounter : public TThread {
public:
  using TThread::TThread;
  std::atomic<int> Loops{0};
  bool Throw = false;

protected:
  void Execute() override {
    if (Throw) throw Exception("worker failed");
    while (!GetTerminated()) {
      ++Loops;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ReturnValue = 7;
  }
};

} // namespace

TEST(TThread, RunsUntilTerminatedAndGivesItsReturnValue) {
  TCounter t(true);
  EXPECT_EQ(t.Loops, 0);
  t.Start();
  t.Start(); // a second start is ignored
  while (t.Loops < 3) std::this_thread::yield();
  t.Terminate();
  EXPECT_EQ(t.WaitFor(), 7);
  EXPECT_TRUE(t.GetFinished());
}

TEST(TThread, AnExceptionEndsTheThreadAndIsKept) {
  TCounter t(true);
  t.Throw = true;
  t.Start();
  t.WaitFor();
  ASSERT_TRUE(t.GetFatalException());
  try {
    std::rethrow_exception(t.GetFatalException());
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "worker failed");
  }
}

TEST(TThread, SynchronizeGoesThroughTheHookAndOnTerminateToo) {
  int viaHook = 0;
  SynchronizeHook = [&](const std::function<void()>& m) {
    ++viaHook;
    m();
  };
  bool terminated = false;
  {
    TCounter t(true);
    t.OnTerminate = [&](TObject* sender) { terminated = sender == &t; };
    t.Start();
    t.Terminate();
    t.WaitFor();
  }
  EXPECT_TRUE(terminated);
  EXPECT_EQ(viaHook, 1);
  SynchronizeHook = nullptr;
  int ran = 0;
  TThread::Synchronize(nullptr, [&] { ++ran; });
  EXPECT_EQ(ran, 1);
}

TEST(TThread, FreeOnTerminateDeletesItself) {
  std::atomic<bool> done{false};
  auto* t = new TCounter(true);
  t->FreeOnTerminate = true;
  t->OnTerminate = [&](TObject*) { done = true; };
  t->Terminate();
  t->Start();
  while (!done) std::this_thread::yield();
  // ASan reports a leak here if the thread did not delete itself.
}

TEST(TThread, DestructorTerminatesAndWaits) {
  auto t = std::make_unique<TCounter>(false);
  while (t->Loops < 1) std::this_thread::yield();
  t.reset(); // must not hang
  SUCCEED();
}
