// The windows' tests of the classic look run in a child process without the
// visual style; the engine's tests build natively as well.
#ifdef _WIN32
#include "GuiTest.h"
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
  guitest::InitStyleOffRuns();
#endif
  return RUN_ALL_TESTS();
}
