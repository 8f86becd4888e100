// Input given from another thread while the GUI thread sits in a modal
// loop: the system's drag detection takes mouse messages only (no timers),
// so input scripted on timers stalls there.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

class TInputThread {
public:
  struct TStep {
    int Delay; // milliseconds after the step before
    std::function<void()> Action;
  };
  explicit TInputThread(std::vector<TStep> steps)
      : FThread([steps = std::move(steps), this] {
          for (const TStep& step : steps) {
            Sleep(static_cast<DWORD>(step.Delay));
            step.Action();
          }
          FDone = true;
        }) {}
  ~TInputThread() { FThread.join(); }
  TInputThread(const TInputThread&) = delete;
  TInputThread& operator=(const TInputThread&) = delete;
  bool Done() const { return FDone; }

private:
  std::atomic<bool> FDone{false};
  std::thread FThread;
};
