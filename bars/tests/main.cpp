#include "ControlsLibrary.h"
#include "GuiTest.h"
#include "dxBar.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  guitest::InitStyleOffRuns();
  TControlsLibrary controls;
  TBarsLibrary bars;
  return RUN_ALL_TESTS();
}
