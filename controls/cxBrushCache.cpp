#include "cxBrushCache.h"

#include "Forms.h"

#include <algorithm>

namespace {

constexpr uint32_t kSystemColorBase = 0xFF000000;
constexpr int kSystemBrushCount = 31;

std::array<HBRUSH, kSystemBrushCount> SystemBrushes{};

// Wine gives the system brushes new handles when the colours change.
void FillSystemBrushes() {
  for (int i = 0; i < kSystemBrushCount; ++i)
    SystemBrushes[i] = GetSysColorBrush(i);
}

class TcxSystemPaletteChangedListener : public TObject {
public:
  TcxSystemPaletteChangedListener() {
    FWindow = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
  }
  ~TcxSystemPaletteChangedListener() override { DeallocateHWnd(FWindow); }
  TcxSystemPaletteChangedListener(const TcxSystemPaletteChangedListener&) = delete;
  TcxSystemPaletteChangedListener& operator=(const TcxSystemPaletteChangedListener&) = delete;
  std::vector<TcxSystemPaletteChangedNotifier*> Notifiers;
  HWND Window() const { return FWindow; }

private:
  void WndProc(TMessage& Message) {
    try {
      if (Message.Msg == WM_SYSCOLORCHANGE) {
        FillSystemBrushes();
        NotifyAll();
      }
    } catch (...) {
      DefaultHandler(Message);
      throw;
    }
    DefaultHandler(Message);
  }
  // A notifier may free a later one: the walk stops at the current count.
  void NotifyAll() {
    for (size_t i = 0; i < Notifiers.size(); ++i)
      if (auto& event = Notifiers[i]->OnSystemColorsChanged) event();
  }
  void DefaultHandler(TMessage& Message) {
    Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
  }
  HWND FWindow = nullptr;
};

std::unique_ptr<TcxSystemPaletteChangedListener> Listener;
std::unique_ptr<TcxSolidBrushCache> BrushCache;

} // namespace

// ---- Notifier ----

TcxSystemPaletteChangedNotifier::TcxSystemPaletteChangedNotifier() {
  if (Listener) Listener->Notifiers.push_back(this);
}

TcxSystemPaletteChangedNotifier::~TcxSystemPaletteChangedNotifier() {
  if (!Listener) return;
  auto& list = Listener->Notifiers;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

// ---- Cache ----

TcxSolidBrushCache::TcxSolidBrushCache() : FNotifier(std::make_unique<TcxSystemPaletteChangedNotifier>()) {
  FNotifier->OnSystemColorsChanged = [this] { Clear(); };
}

TcxSolidBrushCache::~TcxSolidBrushCache() {
  FNotifier.reset();
  Clear();
}

void TcxSolidBrushCache::Clear() {
  for (int i = 0; i < FDepth; ++i)
    DeleteObject(FBrushes[i]);
  FDepth = 0;
}

int TcxSolidBrushCache::FindPosition(uint32_t Color) const {
  return static_cast<int>(std::lower_bound(FColors.begin(), FColors.begin() + FDepth, Color) -
                          FColors.begin());
}

// The least used entry (the first in colour order) makes room.
void TcxSolidBrushCache::Evict(int& Position) {
  const int victim = static_cast<int>(std::min_element(FUseCounts.begin(), FUseCounts.begin() + FDepth) -
                                      FUseCounts.begin());
  DeleteObject(FBrushes[victim]);
  for (int i = victim; i < FDepth - 1; ++i) {
    FColors[i] = FColors[i + 1];
    FBrushes[i] = FBrushes[i + 1];
    FUseCounts[i] = FUseCounts[i + 1];
  }
  --FDepth;
  if (Position > victim) --Position;
}

HBRUSH TcxSolidBrushCache::GetBrush(TColor Color) {
  const uint32_t color = static_cast<uint32_t>(Color);
  if (color >= kSystemColorBase && color < kSystemColorBase + kSystemBrushCount)
    return SystemBrushes[color - kSystemColorBase];
  int position = FindPosition(color);
  if (position < FDepth && FColors[position] == color) {
    ++FUseCounts[position];
    return FBrushes[position];
  }
  if (FDepth == MaxDepth) Evict(position);
  for (int i = FDepth; i > position; --i) {
    FColors[i] = FColors[i - 1];
    FBrushes[i] = FBrushes[i - 1];
    FUseCounts[i] = FUseCounts[i - 1];
  }
  ++FDepth;
  FColors[position] = color;
  FBrushes[position] = CreateSolidBrush(ColorToRGB(Color));
  FUseCounts[position] = 0;
  return FBrushes[position];
}

HBRUSH CachedSolidBrush(TcxCanvas*, TColor Color) {
  return BrushCache->GetBrush(Color);
}

HBRUSH CachedCanvasSolidBrush(TCanvas*, TColor Color) {
  return BrushCache->GetBrush(Color);
}

void ClearSolidBrushCache() {
  BrushCache->Clear();
}

TcxSolidBrushCache* GetSolidBrushCache() {
  return BrushCache.get();
}

HWND GetSystemPaletteChangedWindow() {
  return Listener ? Listener->Window() : nullptr;
}

void cxBrushCacheInitialize() {
  Listener = std::make_unique<TcxSystemPaletteChangedListener>();
  for (int i = 0; i < kSystemBrushCount; ++i)
    SystemBrushes[i] = GetSysColorBrush(i);
  BrushCache = std::make_unique<TcxSolidBrushCache>();
}

void cxBrushCacheFinalize() {
  BrushCache.reset();
  SystemBrushes.fill(nullptr);
  Listener.reset();
}
