// The program starts the editor library, and with it the control library,
// before its first window (its page control, popups and editors stand on
// them); the windows' tests start it for the whole run.
#include "EditorsLibrary.h"

#include <gtest/gtest.h>

namespace {

class TEditorsLibraryEnvironment : public testing::Environment {
public:
  void SetUp() override { StartEditorsLibrary(); }
  void TearDown() override { EndEditorsLibrary(); }
};

const testing::Environment* const kEditorsLibrary =
    testing::AddGlobalTestEnvironment(new TEditorsLibraryEnvironment);

} // namespace
