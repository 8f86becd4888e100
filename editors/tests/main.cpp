#include "EditorsLibrary.h"
#include "GuiTest.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  guitest::InitStyleOffRuns();
  TEditorsLibrary library;
  return RUN_ALL_TESTS();
}
