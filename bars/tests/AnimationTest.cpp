// Menu animation: unfolding and sliding on the worker thread, fading, the
// choice of the kind, stopping, and what a hundred animations leave behind.
#include "BarsTest.h"

#include "dxBarAnimation.h"
#include "dxBarCommon.h"

#include "GuiTest.h"

#include <tlhelp32.h>

#include <memory>
#include <vector>

namespace {

constexpr COLORREF kTop = RGB(0, 0, 200), kBottom = RGB(0, 160, 0);

// A pop-up standing in for a menu window: its picture is blue above and
// green below its middle; it records the client sizes it was given.
class TTestMenu : public TCustomControl, public TdxBarAnimatedMenu {
public:
  TTestMenu(TdxBarManager* AManager, const TRect& Bounds) : TCustomControl(nullptr), FManager(AManager) {
    SetVisible(false);
    FBounds = Bounds;
  }
  ~TTestMenu() override {
    Destroying = true;
    StopMenuAnimation(this);
  }

  HWND GetAnimatedHandle() override { return GetHandle(); }
  TdxBarManager* GetAnimationManager() const override { return FManager; }
  bool HasVisibleLinks() const override { return VisibleLinks; }
  void PaintMenuPicture(HDC DC) override {
    const int w = FBounds.Width() - 2, h = FBounds.Height() - 2;
    FillRectWithColor(DC, TRect(0, 0, w, h / 2), static_cast<TColor>(kTop));
    FillRectWithColor(DC, TRect(0, h / 2, w, h), static_cast<TColor>(kBottom));
  }
  void AnimationFinished() override {
    ++Finished;
    InvalidateRect(GetHandle(), nullptr, FALSE);
  }

  bool VisibleLinks = true;
  int Finished = 0;
  std::vector<SIZE> Sizes;
  std::vector<RECT> Rects;

protected:
  String ClassName() const override { return "TTestMenu"; }
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    Params.X = FBounds.left;
    Params.Y = FBounds.top;
    Params.Width = FBounds.Width();
    Params.Height = FBounds.Height();
  }
  void CreateWnd() override {
    TCustomControl::CreateWnd();
    SetWindowPos(GetHandle(), nullptr, FBounds.left, FBounds.top, FBounds.Width(), FBounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (Animating) StartMenuAnimation(this);
  }
  void WndProc(TMessage& Message) override {
    if (HandleMenuAnimationMessage(this, Message)) return;
    if (Message.Msg == WM_WINDOWPOSCHANGED && IsWindowVisible(GetHandle())) {
      RECT r;
      ::GetClientRect(GetHandle(), &r);
      Sizes.push_back(SIZE{r.right, r.bottom});
      RECT w;
      GetWindowRect(GetHandle(), &w);
      Rects.push_back(w);
    }
    TCustomControl::WndProc(Message);
  }
  void Paint() override {
    if (!Animating) PaintMenuPicture(GetCanvas()->GetHandle());
  }

private:
  TdxBarManager* FManager;
  TRect FBounds;
};

class AnimationTest : public BarsTest {
protected:
  void SetUp() override {
    Build();
    Form->SetBounds(50, 50, 300, 200);
    Form->Show();
  }

  // Opens a menu with the client size given (a one-pixel border around).
  std::unique_ptr<TTestMenu> Open(TdxBarMenuAnimations kind, int width, int height, bool animate = true) {
    Manager->SetMenuAnimations(kind);
    auto menu = std::make_unique<TTestMenu>(Manager, TRect(100, 100, 100 + width + 2, 100 + height + 2));
    menu->Animating = animate;
    ShowMenuWindow(menu.get());
    return menu;
  }
  static bool Done() { return AnimatedMenu() == nullptr; }
};

int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    count += entry.th32OwnerProcessID == GetCurrentProcessId();
  CloseHandle(snapshot);
  return count;
}

} // namespace

TEST(MenuAnimationChoice, RandomMapsThirdsToUnfoldSlideAndFade) {
  for (int r = 0; r < 100; ++r)
    EXPECT_EQ(ChooseMenuAnimation(maRandom, r), r < 33 ? maUnfold : r < 66 ? maSlide : maFade) << r;
  for (TdxBarMenuAnimations kind : {maNone, maUnfold, maSlide, maFade})
    EXPECT_EQ(ChooseMenuAnimation(kind, 10), kind);
}

TEST_F(AnimationTest, ASquareMenuUnfoldsInWidthDivEightSteps) {
  std::vector<String> sounds;
  TdxSoundPlayer old = SetSoundPlayer([&](LPCSTR sound, HMODULE, DWORD) {
    sounds.push_back(sound);
    return TRUE;
  });
  auto menu = Open(maUnfold, 80, 80);
  EXPECT_EQ(AnimatedMenu(), menu.get());
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->Finished == 1; }));
  ASSERT_EQ(menu->Sizes.size(), 11u) << "ten steps and the final size";
  for (int k = 1; k <= 10; ++k) {
    EXPECT_EQ(menu->Sizes[k - 1].cx, 8 * k) << k;
    EXPECT_EQ(menu->Sizes[k - 1].cy, 8 * k) << k;
  }
  EXPECT_EQ(menu->Sizes.back().cx, 80);
  EXPECT_FALSE(menu->Animating);
  EXPECT_TRUE(Done());
  EXPECT_EQ(sounds, std::vector<String>{"MenuPopup"});
  SetSoundPlayer(old);

  guitest::TCapture picture = guitest::TCapture::Paint(menu->GetHandle());
  EXPECT_EQ(picture.Pixel(40, 10), kTop) << "the finished menu paints itself";
  EXPECT_EQ(picture.Pixel(40, 70), kBottom);
}

TEST_F(AnimationTest, SlidesKeepTheWidthAndGrowAwayFromTheButton) {
  // A slide of a menu 60 wide and 51 high: three steps of 17 pixels.
  auto menu = Open(maSlide, 60, 51);
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->Finished == 1; }));
  ASSERT_EQ(menu->Sizes.size(), 4u);
  for (int k = 1; k <= 3; ++k)
    EXPECT_EQ(menu->Sizes[k - 1].cy, 17 * k) << k;
  EXPECT_EQ(menu->Sizes[0].cx, 60) << "a slide keeps the width";

  Manager->SetMenuAnimations(maSlide);
  auto up = std::make_unique<TTestMenu>(Manager, TRect(100, 100, 162, 153));
  up->GrowUp = true;
  up->Animating = true;
  ShowMenuWindow(up.get());
  ASSERT_TRUE(guitest::PumpUntil([&] { return up->Finished == 1; }));
  ASSERT_EQ(up->Rects.size(), 4u);
  for (const RECT& r : up->Rects)
    EXPECT_EQ(r.bottom, 153) << "growing upwards keeps the bottom edge";
  EXPECT_EQ(up->Rects[0].top, 153 - 17 - 2);
  EXPECT_EQ(up->Rects.back().top, 100);
}

TEST_F(AnimationTest, AMenuLowerThanOneStepRunsNone) {
  auto menu = Open(maSlide, 60, 10);
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->Finished == 1; }));
  ASSERT_EQ(menu->Sizes.size(), 1u) << "only the final window";
  EXPECT_EQ(menu->Sizes[0].cy, 10);
}

TEST_F(AnimationTest, NoAnimationWhileCustomizingWithoutLinksOrWhenFading) {
  {
    Manager->SetMenuAnimations(maUnfold);
    auto menu = std::make_unique<TTestMenu>(Manager, TRect(100, 100, 182, 182));
    menu->VisibleLinks = false;
    menu->Animating = true;
    ShowMenuWindow(menu.get());
    EXPECT_FALSE(menu->Animating) << "no visible links";
    EXPECT_TRUE(IsWindowVisible(menu->GetHandle()));
    EXPECT_TRUE(Done());
  }
  {
    Manager->SetCustomizing(true);
    auto menu = Open(maSlide, 80, 80);
    EXPECT_FALSE(menu->Animating) << "customizing";
    EXPECT_TRUE(IsWindowVisible(menu->GetHandle()));
    Manager->SetCustomizing(false);
  }
  {
    auto menu = Open(maFade, 80, 80);
    EXPECT_FALSE(menu->Animating);
    EXPECT_EQ(menu->AnimationType, maFade);
    EXPECT_TRUE(IsWindowVisible(menu->GetHandle())) << "faded in by the system";
    EXPECT_TRUE(Done());
  }
}

TEST_F(AnimationTest, StoppingOrDestroyingDuringAnAnimationEndsTheWorker) {
  // 600 by 600: 75 steps, each waiting for the next clock tick.
  auto menu = Open(maUnfold, 600, 600);
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->Sizes.size() >= 2; }));
  StopMenuAnimation(menu.get());
  EXPECT_TRUE(Done()) << "the worker has ended";
  EXPECT_FALSE(menu->Animating);
  RECT client;
  ::GetClientRect(menu->GetHandle(), &client);
  EXPECT_EQ(client.right, 600) << "the final window";
  EXPECT_EQ(client.bottom, 600);
  EXPECT_TRUE(guitest::PumpUntil([&] { return menu->Finished == 1; }));

  auto doomed = Open(maUnfold, 600, 600);
  ASSERT_TRUE(guitest::PumpUntil([&] { return doomed->Sizes.size() >= 2; }));
  doomed.reset();
  EXPECT_TRUE(Done());
  guitest::PumpFor(20);
}

TEST_F(AnimationTest, AHundredAnimationsLeaveNothingBehind) {
  auto run = [&](int i) {
    auto menu = Open(i % 2 ? maUnfold : maSlide, 40, 40);
    ASSERT_TRUE(guitest::PumpUntil([&] { return menu->Finished == 1; })) << i;
  };
  run(0); // the last worker's handle is kept until the next animation
  guitest::PumpFor(20);
  const int gdi = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  const int threads = ThreadCount();
  for (int i = 1; i <= 100; ++i)
    run(i);
  guitest::PumpFor(20);
  EXPECT_EQ(static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)), gdi);
  DWORD after = 0;
  GetProcessHandleCount(GetCurrentProcess(), &after);
  EXPECT_EQ(after, handles);
  EXPECT_EQ(ThreadCount(), threads);
}
