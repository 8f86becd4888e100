// The solid-brush cache: system brushes, one handle per colour, eviction of
// the least used colour, emptied by a system colour change; and the
// notifiers told of that change.
#include "cxBrushCache.h"

#include "DrawTest.h"

#include <gtest/gtest.h>

namespace {

using guitest::PumpFor;

class BrushCache : public ::testing::Test {
protected:
  void SetUp() override { ClearSolidBrushCache(); }
  void TearDown() override { ClearSolidBrushCache(); }
  TcxSolidBrushCache* cache = GetSolidBrushCache();
};

TColor Shade(int i) {
  return static_cast<TColor>(RGB(i, 255 - i, 7));
}

TEST_F(BrushCache, SystemColoursUseTheSystemBrushes) {
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), CachedSolidBrush(nullptr, clBtnFace));
  EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW), CachedCanvasSolidBrush(nullptr, clWindow));
  EXPECT_EQ(0, cache->GetDepth()) << "system colours never enter the cache";
}

TEST_F(BrushCache, OneBrushPerColourDrawingThatColour) {
  HBRUSH red = CachedSolidBrush(nullptr, clRed);
  EXPECT_EQ(red, CachedSolidBrush(nullptr, clRed));
  EXPECT_NE(red, CachedSolidBrush(nullptr, clBlue));
  EXPECT_EQ(2, cache->GetDepth());
  TDrawSurface surface(10, 10);
  RECT r{0, 0, 10, 10};
  FillRect(surface.DC(), &r, CachedSolidBrush(nullptr, clRed));
  EXPECT_EQ(100, surface.CountAll(clRed));
}

TEST_F(BrushCache, TheNewColourOfAFullCacheEvictsTheLeastUsed) {
  for (int i = 0; i < TcxSolidBrushCache::MaxDepth; ++i)
    CachedSolidBrush(nullptr, Shade(i));
  // Every colour asked for once more, but one.
  for (int i = 0; i < TcxSolidBrushCache::MaxDepth; ++i)
    if (i != 40) CachedSolidBrush(nullptr, Shade(i));
  HBRUSH kept = CachedSolidBrush(nullptr, Shade(0));
  CachedSolidBrush(nullptr, clPurple);
  EXPECT_EQ(TcxSolidBrushCache::MaxDepth, cache->GetDepth());
  EXPECT_EQ(kept, CachedSolidBrush(nullptr, Shade(0))) << "a used colour survives";
  CachedSolidBrush(nullptr, Shade(40));
  EXPECT_EQ(TcxSolidBrushCache::MaxDepth, cache->GetDepth()) << "the evicted colour came back as a new entry";
}

TEST_F(BrushCache, ASystemColourChangeEmptiesTheCacheAndTellsNotifiersInOrder) {
  CachedSolidBrush(nullptr, clRed);
  std::vector<int> order;
  auto first = std::make_unique<TcxSystemPaletteChangedNotifier>();
  auto second = std::make_unique<TcxSystemPaletteChangedNotifier>();
  auto third = std::make_unique<TcxSystemPaletteChangedNotifier>();
  first->OnSystemColorsChanged = [&] { order.push_back(1); };
  // The second frees the third: the walk must not read past the list's end.
  second->OnSystemColorsChanged = [&] {
    order.push_back(2);
    third.reset();
  };
  third->OnSystemColorsChanged = [&] { order.push_back(3); };
  {
    TSysColorScope changed(COLOR_BTNFACE, RGB(10, 200, 30));
    PumpFor(50);
    EXPECT_EQ(0, cache->GetDepth());
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), CachedSolidBrush(nullptr, clBtnFace))
        << "the changed system brush";
    EXPECT_EQ((std::vector<int>{1, 2}), order);
  }
  PumpFor(50);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), CachedSolidBrush(nullptr, clBtnFace)) << "restored";
  first.reset();
  second.reset();
}

} // namespace
