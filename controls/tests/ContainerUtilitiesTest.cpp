// The shared container routines: string comparison, frame bands, window
// regions set only when they change, and free notifications.
#include "cxContainer.h"

#include "DrawTest.h"
#include "ExtCtrls.h"

#include <gtest/gtest.h>

namespace {

TEST(ContainerUtilities, SameStringWithAndWithoutCase) {
  const struct {
    const char* a;
    const char* b;
    bool caseSensitive, same;
  } cases[] = {
      {"abc", "ABC", false, true},  {"abc", "ABC", true, false}, {"abc", "abc", true, true},
      {"abc", "abd", false, false}, {"", "", true, true},        {"abc", "ab", false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.same, IsSameString(c.a, c.b, c.caseSensitive)) << c.a << " " << c.b << " " << c.caseSensitive;
}

TEST(ContainerUtilities, FrameAreaFillsTheBandsAroundTheInnerRectangle) {
  TDrawSurface surface(40, 40);
  DrawFrameArea(surface.Canvas(), TRect(5, 5, 35, 35), TRect(10, 12, 30, 28), clRed);
  EXPECT_EQ(30 * 30 - 20 * 16, surface.CountAll(clRed));
  EXPECT_EQ(RGBOf(clWhite), surface.Pixel(20, 20)) << "the inner rectangle stays";
  DrawFrameArea(surface.Canvas(), TRect(0, 0, 4, 4), TRect(), clBlue);
  EXPECT_EQ(16, surface.CountAll(clBlue)) << "no inner rectangle: all of it";
  DrawFrameArea(surface.Canvas(), TRect(10, 12, 30, 28), TRect(10, 12, 30, 28), clBlue);
  EXPECT_EQ(16, surface.CountAll(clBlue)) << "nothing when both are equal";
  EXPECT_EQ(1, ContainerMouseButton(mbLeft));
  EXPECT_EQ(3, ContainerMouseButton(mbMiddle));
}

TEST(ContainerUtilities, WindowRegionIsSetOnlyWhenItChanges) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(40, 40, 200, 150);
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 100, 80);
  form->Show();
  HWND wnd = panel->GetHandle();
  int moves = 0;
  TWndMethod old = panel->WindowProc;
  panel->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_WINDOWPOSCHANGED) ++moves;
    old(m);
  };
  SetContainerWindowRegion(wnd, TRect(0, 0, 50, 40), true, false, nullptr);
  const int afterFirst = moves;
  EXPECT_GT(afterFirst, 0);
  SetContainerWindowRegion(wnd, TRect(0, 0, 50, 40), true, false, nullptr);
  EXPECT_EQ(afterFirst, moves) << "the same region is not set again";
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(wnd, region));
  EXPECT_TRUE(PtInRegion(region, 52, 42)) << "the shadow is part of it";
  EXPECT_FALSE(PtInRegion(region, 51, 1));
  SetContainerWindowRegion(wnd, TRect(0, 0, 50, 40), true, true, nullptr);
  EXPECT_EQ(ERROR, GetWindowRgn(wnd, region)) << "native: the region goes";
  const int afterNative = moves;
  SetContainerWindowRegion(wnd, TRect(0, 0, 50, 40), true, true, nullptr);
  EXPECT_EQ(afterNative, moves) << "native without a region sets nothing";
  DeleteObject(region);
  panel->WindowProc = old;
}

TEST(ContainerUtilities, FreeNotificatorHearsOfFreedComponents) {
  TcxFreeNotificator notificator(nullptr);
  std::vector<TComponent*> freed;
  notificator.OnFreeNotification = [&](TComponent* c) { freed.push_back(c); };
  auto watched = std::make_unique<TComponent>(nullptr);
  auto other = std::make_unique<TComponent>(nullptr);
  AddFreeNotification(&notificator, watched.get());
  AddFreeNotification(&notificator, other.get());
  RemoveFreeNotification(&notificator, other.get());
  AddFreeNotification(&notificator, nullptr);
  TComponent* address = watched.get();
  watched.reset();
  other.reset();
  ASSERT_EQ(1u, freed.size());
  EXPECT_EQ(address, freed[0]);
  EXPECT_TRUE(IsScrollBarInfoAvailable());
  EXPECT_NE(nullptr, GetScreenCanvas());
}

} // namespace
