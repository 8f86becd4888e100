// Solid brushes by colour, shared by every fill of the editors so that no
// fill creates and deletes a brush; system colours come from the system's
// own brushes. The cache empties itself when the system colours change.
#pragma once

#include "cxGraphics.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

// Told when the system colours change.
class TcxSystemPaletteChangedNotifier : public TObject {
public:
  // Joins the end of the listener's list, when there is one.
  TcxSystemPaletteChangedNotifier();
  ~TcxSystemPaletteChangedNotifier() override;
  TcxSystemPaletteChangedNotifier(const TcxSystemPaletteChangedNotifier&) = delete;
  TcxSystemPaletteChangedNotifier& operator=(const TcxSystemPaletteChangedNotifier&) = delete;
  std::function<void()> OnSystemColorsChanged;
};

class TcxSolidBrushCache : public TObject {
public:
  static constexpr int MaxDepth = 128;
  TcxSolidBrushCache();
  ~TcxSolidBrushCache() override;
  TcxSolidBrushCache(const TcxSolidBrushCache&) = delete;
  TcxSolidBrushCache& operator=(const TcxSolidBrushCache&) = delete;
  // Owned by the cache: valid until the next Clear or the entry's eviction.
  HBRUSH GetBrush(TColor Color);
  virtual void Clear();
  int GetDepth() const { return FDepth; }

private:
  int FindPosition(uint32_t Color) const;
  void Evict(int& Position);
  int FDepth = 0;
  std::array<uint32_t, MaxDepth> FColors{};
  std::array<HBRUSH, MaxDepth> FBrushes{};
  std::array<uint32_t, MaxDepth> FUseCounts{};
  std::unique_ptr<TcxSystemPaletteChangedNotifier> FNotifier;
};

HBRUSH CachedSolidBrush(TcxCanvas* Canvas, TColor Color);
HBRUSH CachedCanvasSolidBrush(TCanvas* Canvas, TColor Color);
void ClearSolidBrushCache();
TcxSolidBrushCache* GetSolidBrushCache();
// The hidden window that hears of system colour changes.
HWND GetSystemPaletteChangedWindow();

void cxBrushCacheInitialize();
void cxBrushCacheFinalize();
