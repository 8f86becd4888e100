// Threads of the class library. Work that must run on the GUI thread goes
// through Synchronize, which the windowed library routes into its message
// loop; without it (no application object) the method runs at once.
#pragma once

#include "Components.h"

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

class TThread : public TObject {
public:
  explicit TThread(bool CreateSuspended);
  // Terminates the thread and waits for it.
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void Start();
  void Resume() { Start(); }
  void Terminate() { FTerminated = true; }
  bool GetTerminated() const { return FTerminated; }
  bool GetFinished() const { return FFinished; }
  // Waits until Execute has returned; gives its ReturnValue.
  int WaitFor();
  // The exception that ended Execute, if one did.
  std::exception_ptr GetFatalException() const { return FFatalException; }

  // The thread deletes itself once it has run; it must then be created with
  // new and never be waited for or deleted by anyone else.
  bool FreeOnTerminate = false;
  // Called on the GUI thread when Execute has returned.
  TNotifyEvent OnTerminate;

  static void Synchronize(TThread* Thread, const std::function<void()>& Method);
  void Synchronize(const std::function<void()>& Method) { Synchronize(this, Method); }

protected:
  virtual void Execute() = 0;
  int ReturnValue = 0;

private:
  void Run();
  std::thread FThread;
  std::once_flag FStarted;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::exception_ptr FFatalException;
};

// Set by the application object: runs a method on the GUI thread and waits.
extern std::function<void(const std::function<void()>&)> SynchronizeHook;
