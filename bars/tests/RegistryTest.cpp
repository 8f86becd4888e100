#include "BarsTest.h"

#include <tuple>

using RegistryTest = BarsTest;

TEST_F(RegistryTest, RegisteredItemClassesInRegistrationOrder) {
  ASSERT_GE(GetRegisteredItemClassCount(), 2);
  EXPECT_EQ(GetRegisteredItemClass(0), TdxBarButton::ClassInfo());
  EXPECT_EQ(GetRegisteredItemClass(GetRegisteredItemClassCount()), nullptr);
  EXPECT_EQ(GetRegisteredItemClass(-1), nullptr);

  // A class hidden from the designer's lists is still found for its items.
  RegisterBarItemClass(TdxBarItem::ClassInfo(), nullptr, false);
  EXPECT_EQ(GetRegisteredItemClass(GetRegisteredItemClassCount()), nullptr);
  Build();
  TdxBarItem plain(Form.get());
  EXPECT_NE(GetItemControlClass(&plain), nullptr);
  UnregisterBarItemClass(TdxBarItem::ClassInfo());
  EXPECT_EQ(GetItemControlClass(&plain), nullptr);
  // Only the exact class counts.
  TdxBarButton button(Form.get());
  EXPECT_NE(GetItemControlClass(&button), nullptr);
}

TEST_F(RegistryTest, ClassReferencesMakeItems) {
  Build();
  std::unique_ptr<TdxBarItem> item(GetRegisteredItemClass(0)->Create(Form.get()));
  EXPECT_NE(dynamic_cast<TdxBarButton*>(item.get()), nullptr);
  EXPECT_EQ(item->GetBarManager(), Manager);
}

TEST_F(RegistryTest, UniqueItemNamesIgnoreCase) {
  Build();
  AddButton(Manager, "dxBarButton1");
  AddButton(Manager, "DXBARBUTTON2");
  EXPECT_EQ(MakeUniqueItemName(Manager, TdxBarButton::ClassInfo()), "dxBarButton3");
  EXPECT_EQ(MakeUniqueItemName(Manager, TdxBarSubItem::ClassInfo()), "dxBarSubItem1");
}

TEST(RegistryServices, RemoveAmpersands) {
  const std::pair<const char*, const char*> cases[] = {
      {"&Open", "Open"}, {"A&&B", "A&B"}, {"Save&", "Save&"}, {"&&&x", "&x"},
      {"", ""},          {"&", "&"},      {"a&b&c", "abc"},
  };
  for (const auto& [caption, expected] : cases)
    EXPECT_EQ(RemoveAmpersands(caption), expected) << caption;
}

TEST(RegistryServices, OperatingSystemFlags) {
  const struct {
    DWORD platform, major, minor;
    bool win9x, win95, win98OrW2K;
  } cases[] = {
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, true, true, false},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, true, false, true},
      {VER_PLATFORM_WIN32_NT, 5, 1, false, false, true},
      {VER_PLATFORM_WIN32_NT, 6, 1, false, false, false},
      {VER_PLATFORM_WIN32_NT, 10, 0, false, false, false},
  };
  for (const auto& c : cases) {
    OSVERSIONINFOA info{};
    info.dwPlatformId = c.platform;
    info.dwMajorVersion = c.major;
    info.dwMinorVersion = c.minor;
    const TdxOSFlags flags = ComputeOSFlags(info);
    EXPECT_EQ(std::make_tuple(flags.IsWin9x, flags.IsWin95, flags.IsWin98OrW2K),
              std::make_tuple(c.win9x, c.win95, c.win98OrW2K))
        << c.platform << " " << c.major << "." << c.minor;
  }
  EXPECT_FALSE(dxOSFlags().IsWin9x);
}

TEST(RegistryServices, OptionalUser32EntriesAreFound) {
  EXPECT_NE(dxUser32().TrackMouseEvent, nullptr);
  EXPECT_NE(dxUser32().SetLayeredWindowAttributes, nullptr);
  EXPECT_NE(dxUser32().AnimateWindow, nullptr);
  EXPECT_NE(dxUser32().UpdateLayeredWindow, nullptr);
}

TEST(RegistryServices, LayeredAlpha) {
  HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetLayeredAlpha(wnd, 255);
  EXPECT_EQ(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  SetLayeredAlpha(wnd, 128);
  EXPECT_NE(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  SetLayeredAlpha(wnd, 255);
  EXPECT_EQ(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  DestroyWindow(wnd);
}

TEST(RegistryServices, LiveBarControls) {
  EXPECT_FALSE(IsBarControlAlive(nullptr));
  TObject window;
  RegisterBarControl(&window);
  EXPECT_TRUE(IsBarControlAlive(&window));
  UnregisterBarControl(&window);
  EXPECT_FALSE(IsBarControlAlive(&window));
}

TEST(RegistryServices, WindowAncestry) {
  HWND parent =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
  EXPECT_TRUE(IsAncestorWindow(child, parent));
  EXPECT_TRUE(IsAncestorWindow(child, nullptr));
  EXPECT_FALSE(IsAncestorWindow(parent, child));
  DestroyWindow(parent);
}

TEST(RegistryServices, WindowFromPointDeepSkipsHiddenChildren) {
  HWND parent = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 300, 100, 100,
                                nullptr, nullptr, nullptr, nullptr);
  HWND shown = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 40, 40, parent, nullptr,
                               nullptr, nullptr);
  HWND inner =
      CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, shown, nullptr, nullptr, nullptr);
  HWND hidden = CreateWindowExA(0, "STATIC", "", WS_CHILD, 60, 60, 30, 30, parent, nullptr, nullptr, nullptr);
  EXPECT_EQ(WindowFromPointDeep(POINT{300 + 17, 300 + 17}), inner);
  EXPECT_EQ(WindowFromPointDeep(POINT{300 + 45, 300 + 45}), shown);
  EXPECT_EQ(WindowFromPointDeep(POINT{300 + 70, 300 + 70}), parent);
  (void)hidden;
  DestroyWindow(parent);
}

TEST(RegistryServices, CursorsAreLoaded) {
  for (TCursor id : {1041, 1042, 1043, 1044})
    EXPECT_NE(Screen->GetCursors(id), Screen->GetCursors(crDefault)) << id;
}

TEST_F(RegistryTest, ManagerOfAForm) {
  EXPECT_EQ(GetBarManagerOfForm(nullptr), nullptr);
  EXPECT_EQ(GetBarManagerOfForm(Form.get()), nullptr);
  Build();
  EXPECT_EQ(GetBarManagerOfForm(Form.get()), Manager);
  EXPECT_EQ(BoolToItemVisible(true), ivAlways);
  EXPECT_EQ(BoolToItemVisible(false), ivNever);
}
