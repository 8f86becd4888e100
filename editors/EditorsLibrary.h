// Start and end of the editor library's process-wide state, after and
// before the control library's: every executable that uses the editors
// starts it once before its first window and ends it after its last.
#pragma once

void StartEditorsLibrary();
void EndEditorsLibrary();

// Starts the library for the scope it lives in.
class TEditorsLibrary {
public:
  TEditorsLibrary() { StartEditorsLibrary(); }
  ~TEditorsLibrary() { EndEditorsLibrary(); }
  TEditorsLibrary(const TEditorsLibrary&) = delete;
  TEditorsLibrary& operator=(const TEditorsLibrary&) = delete;
};
