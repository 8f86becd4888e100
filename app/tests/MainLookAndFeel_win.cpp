// The main window's look-and-feel controller: while the window lives, every
// control that sets nothing else draws natively.
#include "ControlsLibrary.h"
#include "Main.h"
#include "cxLookAndFeels.h"

#include <gtest/gtest.h>

#include <memory>

TEST(MainWindowLookAndFeel, TheControllerMakesTheProgramNativeWhileTheWindowLives) {
  TControlsLibrary library;
  TcxLookAndFeel control(nullptr);
  {
    auto form = std::make_unique<TfmMain>(nullptr);
    ASSERT_NE(nullptr, form->cxLFControl);
    EXPECT_EQ("cxLFControl", form->cxLFControl->GetName());
    EXPECT_TRUE(RootLookAndFeel()->GetNativeStyle());
    EXPECT_TRUE(control.GetNativeStyle());
    EXPECT_TRUE(control.CurrentPainter()->IsNative());
  }
  EXPECT_FALSE(RootLookAndFeel()->GetNativeStyle());
  EXPECT_FALSE(control.GetNativeStyle());
  EXPECT_EQ(TcxUltraFlatLookAndFeelPainter::Instance(), control.CurrentPainter());
}
