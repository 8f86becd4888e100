// Holds every font loader thread before its enumeration until opened, so
// that the loading state of the font lists lasts as long as a test needs.
#pragma once

#include "cxFontNameComboBox.h"

#include <condition_variable>
#include <mutex>

class TEnumerationGate {
public:
  TEnumerationGate() {
    TcxFontLoader::BeforeEnumerate = [this] {
      std::unique_lock lock(FMutex);
      ++FWaiting;
      FChanged.notify_all();
      FChanged.wait(lock, [this] { return FOpen; });
    };
  }
  ~TEnumerationGate() {
    Open();
    TcxFontLoader::BeforeEnumerate = nullptr;
  }
  void WaitForHeld(int ACount) {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [&] { return FWaiting >= ACount; });
  }
  void Open() {
    std::lock_guard lock(FMutex);
    FOpen = true;
    FChanged.notify_all();
  }

private:
  std::mutex FMutex;
  std::condition_variable FChanged;
  int FWaiting = 0;
  bool FOpen = false;
};
