// The program starts the editor library, and with it the control library,
// and the toolbar library before its first window (its page control, popups,
// editors and bars stand on them); the windows' tests start them for the
// whole run.
#include "EditorsLibrary.h"
#include "dxBar.h"

#include <gtest/gtest.h>

namespace {

class TLibrariesEnvironment : public testing::Environment {
public:
  void SetUp() override {
    StartEditorsLibrary();
    StartBarsLibrary();
  }
  void TearDown() override {
    EndBarsLibrary();
    EndEditorsLibrary();
  }
};

const testing::Environment* const kLibraries = testing::AddGlobalTestEnvironment(new TLibrariesEnvironment);

} // namespace
