// The main window's pages are the page control: a click on the "Script" tab
// shows the script page; themed tabs with the native style, flat tabs
// without it.
#include "GuiTest.h"
#include "Main.h"
#include "cxPC.h"
#include "cxPCPainters.h"

#include <gtest/gtest.h>

#include <memory>

using guitest::PumpFor;
using guitest::PumpUntil;

TEST(MainWindowPages, AClickOnTheScriptTabShowsTheScriptPage) {
  auto form = std::make_unique<TfmMain>(nullptr);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  TcxPageControl* page = form->page;
  ASSERT_EQ(2, page->GetPageCount());
  EXPECT_EQ("Changes", page->GetTabs()->Get(0));
  EXPECT_EQ("Script", page->GetTabs()->Get(1));
  EXPECT_EQ(&TabsPainterClass, &page->GetPainter()->GetClass());
  EXPECT_TRUE(page->GetPainter()->IsNativePainting());

  const TRect tab = page->GetTabs()->GetTab(1)->GetVisibleRect();
  guitest::ClickAt(page->GetHandle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return form->mScript->IsShowing(); }));
  EXPECT_EQ(form->tabScript, page->GetActivePage());
  EXPECT_FALSE(form->tabChanges->GetVisible());
  auto themed = guitest::TCapture::Paint(form->GetHandle());
  themed.SavePng("main_window_pages_themed");

  page->GetLookAndFeel()->SetNativeStyle(false);
  EXPECT_EQ(&FlatPainterClass, &page->GetPainter()->GetClass());
  PumpFor(50);
  auto flat = guitest::TCapture::Paint(form->GetHandle());
  flat.SavePng("main_window_pages_flat");
  // The flat tabs stand on a band of the light face colour.
  const TPoint band = form->ScreenToClient(page->ClientToScreen(TPoint(page->GetWidth() - 20, 5)));
  EXPECT_EQ(ColorToRGB(LightFaceColor()), flat.Pixel(band.x, band.y));
  EXPECT_EQ(form->tabScript, page->GetActivePage());
}
