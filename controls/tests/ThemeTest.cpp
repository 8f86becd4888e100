#include "cxLookAndFeels.h"
#include "dxThemeManager.h"

#include "GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The classes of the bundled style that do not open on these machines.
bool ExpectedToOpen(TdxThemedObjectType type) {
  switch (type) {
  case totClock:
  case totExplorerBar:
  case totPage:
  case totStartPanel:
  case totTaskBand:
  case totTaskBar:
  case totTrayNotify:
    return false;
  default:
    return true;
  }
}

bool AllHandlesClosed() {
  for (int i = 0; i < dxThemeClassCount; ++i)
    if (ThemeData(static_cast<TdxThemedObjectType>(i)).Handle) return false;
  return true;
}

// The theme-change message as every top-level window of the thread gets it.
void SendThemeChanged() {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM) {
        SendMessageA(wnd, WM_THEMECHANGED, 0, 0);
        return TRUE;
      },
      0);
}

} // namespace

TEST(ThemeCache, OpensEachClassOnceAndRetriesOneThatFailed) {
  ASSERT_TRUE(ThemesAvailable());
  for (int i = 0; i < dxThemeClassCount; ++i) {
    const auto type = static_cast<TdxThemedObjectType>(i);
    HTHEME handle = OpenThemeHandle(type);
    EXPECT_EQ(ExpectedToOpen(type), handle != nullptr) << i;
    EXPECT_EQ(handle, OpenThemeHandle(type)) << i;
    EXPECT_EQ(handle, ThemeData(type).Handle) << i;
    EXPECT_EQ(handle != nullptr, !ThemeData(type).Name.empty()) << i;
  }
  EXPECT_TRUE(ThemeData(totButton).Name == L"Button");
}

TEST(ThemeCache, ThemesAvailableForASetOfClasses) {
  EXPECT_TRUE(ThemesAvailable(0));
  EXPECT_TRUE(ThemesAvailable(0x845E0C));
  EXPECT_FALSE(ThemesAvailable(0x845E0C | ThemeClassMask(totPage)));
  EXPECT_TRUE(ThemesAvailable(ThemeClassMask(totButton) | ThemeClassMask(totWindow)));
}

TEST(ThemeCache, ClosingOneHandleForgetsItsNameClosingAllKeepsThem) {
  ASSERT_NE(nullptr, OpenThemeHandle(totButton));
  ASSERT_NE(nullptr, OpenThemeHandle(totHeader));
  CloseThemeHandle(totButton);
  EXPECT_EQ(nullptr, ThemeData(totButton).Handle);
  EXPECT_TRUE(ThemeData(totButton).Name.empty());
  CloseAllThemeHandles();
  EXPECT_EQ(nullptr, ThemeData(totHeader).Handle);
  EXPECT_TRUE(ThemeData(totHeader).Name == L"Header");
  EXPECT_NE(nullptr, OpenThemeHandle(totButton));
}

TEST(ThemeCache, AGivenClassNameIsOpenedAndKeptUntilTheHandleIsClosed) {
  CloseThemeHandle(totToolTip);
  ASSERT_NE(nullptr, OpenThemeHandle(totToolTip, L"Button"));
  EXPECT_TRUE(ThemeData(totToolTip).Name == L"Button");
  CloseAllThemeHandles();
  ASSERT_NE(nullptr, OpenThemeHandle(totToolTip));
  EXPECT_TRUE(ThemeData(totToolTip).Name == L"Button");
  CloseThemeHandle(totToolTip);
  ASSERT_NE(nullptr, OpenThemeHandle(totToolTip));
  EXPECT_TRUE(ThemeData(totToolTip).Name == L"ToolTip");
}

TEST(ThemeCache, ThemeChangeClosesEveryHandleThenTellsSubscribersInOrder) {
  std::vector<int> calls;
  auto first = std::make_unique<TdxThemeChangedNotificator>();
  auto second = std::make_unique<TdxThemeChangedNotificator>();
  auto third = std::make_unique<TdxThemeChangedNotificator>();
  auto fourth = std::make_unique<TdxThemeChangedNotificator>();
  first->OnThemeSwitched = [&] {
    EXPECT_TRUE(AllHandlesClosed());
    calls.push_back(1);
  };
  // The second frees the third during the walk: the walk goes on safely.
  second->OnThemeSwitched = [&] {
    calls.push_back(2);
    third.reset();
  };
  third->OnThemeSwitched = [&] { calls.push_back(3); };
  fourth->OnThemeSwitched = [&] { calls.push_back(4); };
  ASSERT_NE(nullptr, OpenThemeHandle(totButton));
  ASSERT_NE(nullptr, OpenThemeHandle(totScrollBar));

  SendThemeChanged();

  EXPECT_TRUE(AllHandlesClosed());
  // The freed one is never called; the one after it moved up and still is, once.
  EXPECT_EQ((std::vector<int>{1, 2, 4}), calls);
  // The next call opens anew.
  EXPECT_NE(nullptr, OpenThemeHandle(totButton));
}

TEST(ThemeCache, NativeStyleDrawsNativelyWhileThemesAreActive) {
  TcxLookAndFeel lookAndFeel(nullptr);
  lookAndFeel.SetNativeStyle(true);
  EXPECT_EQ(TcxWinXPLookAndFeelPainter::Instance(), lookAndFeel.CurrentPainter());
}

TEST(ThemeCacheStyleOff, NoThemesNoHandlesAndTheKindsPainter) {
  EXPECT_TRUE(IsVisualStyleLibraryPresent());
  EXPECT_FALSE(ThemesAvailable());
  EXPECT_FALSE(ThemesAvailable(ThemeClassMask(totButton)));
  for (int i = 0; i < dxThemeClassCount; ++i)
    EXPECT_EQ(nullptr, OpenThemeHandle(static_cast<TdxThemedObjectType>(i))) << i;
  EXPECT_TRUE(AllHandlesClosed());

  TcxLookAndFeel lookAndFeel(nullptr);
  int notified = 0;
  lookAndFeel.OnChanged = [&](TcxLookAndFeel*, TcxLookAndFeelValues) { ++notified; };
  lookAndFeel.SetNativeStyle(true);
  EXPECT_EQ(1, notified);
  EXPECT_EQ(TcxUltraFlatLookAndFeelPainter::Instance(), lookAndFeel.CurrentPainter());
  lookAndFeel.SetKind(lfFlat);
  EXPECT_EQ(TcxFlatLookAndFeelPainter::Instance(), lookAndFeel.CurrentPainter());
}

TEST(ThemeCache, ASubscribersExceptionGoesToTheApplicationsHandler) {
  TdxThemeChangedNotificator failing;
  failing.OnThemeSwitched = [] { throw Exception("subscriber failed"); };
  guitest::TExceptionCapture captured;
  SendThemeChanged();
  ASSERT_EQ(1u, captured.Messages.size());
  EXPECT_EQ("subscriber failed", captured.Messages[0]);
  EXPECT_TRUE(AllHandlesClosed());
}
