// Input given while a modal mouse loop of the toolbar library runs.
#pragma once

#include "GuiTest.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

// Input given while a modal mouse loop runs: each step runs on a thread
// timer that the loop dispatches, the given milliseconds after the one
// before it.
class TInputScript {
public:
  struct TStep {
    int Delay;
    std::function<void()> Action;
  };
  explicit TInputScript(std::vector<TStep> steps) : FSteps(steps.begin(), steps.end()) {}
  // Runs the steps; the first one usually presses the button that starts
  // the loop.
  bool Run(int timeoutMs = 15000) {
    Current() = this;
    Next();
    const bool done = guitest::PumpUntil([this] { return FSteps.empty() && !FTimer; }, timeoutMs);
    if (FTimer) KillTimer(nullptr, FTimer);
    Current() = nullptr;
    return done;
  }

private:
  static TInputScript*& Current() {
    static TInputScript* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    TInputScript* script = Current();
    if (!script || script->FTimer != id) return;
    script->FTimer = 0;
    std::function<void()> action = std::move(script->FSteps.front().Action);
    script->FSteps.pop_front();
    action();
    script->Next();
  }
  void Next() {
    if (FSteps.empty()) return;
    FTimer = SetTimer(nullptr, 0, std::max(1, FSteps.front().Delay), Tick);
  }
  std::deque<TStep> FSteps;
  UINT_PTR FTimer = 0;
};
