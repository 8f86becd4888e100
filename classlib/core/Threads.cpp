#include "Threads.h"

std::function<void(const std::function<void()>&)> SynchronizeHook;

TThread::TThread(bool CreateSuspended) {
  if (!CreateSuspended) Start();
}

TThread::~TThread() {
  if (FThread.joinable()) {
    if (FThread.get_id() == std::this_thread::get_id()) {
      FThread.detach(); // FreeOnTerminate: the thread is ending itself
    } else {
      Terminate();
      FThread.join();
    }
  }
}

void TThread::Start() {
  std::call_once(FStarted, [this] { FThread = std::thread(&TThread::Run, this); });
}

int TThread::WaitFor() {
  if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) FThread.join();
  return ReturnValue;
}

void TThread::Run() {
  try {
    Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
  FFinished = true;
  if (FreeOnTerminate) delete this;
}

void TThread::Synchronize(TThread*, const std::function<void()>& Method) {
  if (SynchronizeHook) SynchronizeHook(Method);
  else Method();
}
