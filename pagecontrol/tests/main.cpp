#include "ControlsLibrary.h"
#include "GuiTest.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  guitest::InitStyleOffRuns();
  TControlsLibrary library;
  return RUN_ALL_TESTS();
}
