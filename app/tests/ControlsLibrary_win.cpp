// The program starts the control library before its first window (its page
// control and popups stand on it); the windows' tests start it for the
// whole run.
#include "ControlsLibrary.h"

#include <gtest/gtest.h>

namespace {

class TControlsLibraryEnvironment : public testing::Environment {
public:
  void SetUp() override { StartControlsLibrary(); }
  void TearDown() override { EndControlsLibrary(); }
};

const testing::Environment* const kControlsLibrary =
    testing::AddGlobalTestEnvironment(new TControlsLibraryEnvironment);

} // namespace
