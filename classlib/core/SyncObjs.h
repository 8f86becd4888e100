// Critical sections of the class library.
#pragma once

#include <mutex>

class TCriticalSection {
public:
  void Enter() { FMutex.lock(); }
  void Leave() { FMutex.unlock(); }
  bool TryEnter() { return FMutex.try_lock(); }
  // For std::lock_guard.
  void lock() { Enter(); }
  void unlock() { Leave(); }

private:
  std::recursive_mutex FMutex;
};
