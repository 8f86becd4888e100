// Start and end of the control library's process-wide state (theme cache,
// root look-and-feel, painter resources), explicit and reference-counted:
// every executable that uses the library starts it once before its first
// window and ends it after its last.
#pragma once

void StartControlsLibrary();
void EndControlsLibrary();

// Starts the library for the scope it lives in.
class TControlsLibrary {
public:
  TControlsLibrary() { StartControlsLibrary(); }
  ~TControlsLibrary() { EndControlsLibrary(); }
  TControlsLibrary(const TControlsLibrary&) = delete;
  TControlsLibrary& operator=(const TControlsLibrary&) = delete;
};
