// The popup window's frame: the widths of each border kind with and
// without a client edge, the system panel's grip and close button on the
// side of the grip corner, the sizing zones, and the painted frame, panel
// and shadow by pixels.
#include "PaintTest.h"

#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include <gtest/gtest.h>

namespace {

struct TFrameCase {
  TcxEditPopupBorderStyle kind;
  bool clientEdge;
  int width;
};

// A view info of a 200 x 150 window laid out as given.
void Layout(TcxCustomEditPopupWindowViewInfo& AInfo, TcxEditPopupBorderStyle AKind, int ACorner, bool APanel,
            bool AShadow = false, bool ANative = false) {
  AInfo.Bounds = TRect(0, 0, 200, 150);
  AInfo.BorderKind = AKind;
  AInfo.GripCorner = static_cast<BYTE>(ACorner);
  AInfo.HasSysPanel = APanel;
  AInfo.IsSizeable = APanel;
  AInfo.ShowCloseButton = APanel;
  AInfo.HasShadow = AShadow;
  AInfo.UseNativeStyle = ANative;
  AInfo.Calculate();
}

int PanelMinHeight() {
  return std::max(GetSystemMetrics(SM_CYHSCROLL), GetSystemMetrics(SM_CYSIZE));
}

bool Inside(const TRect& AOuter, const TRect& AInner) {
  return AInner.left >= AOuter.left && AInner.top >= AOuter.top && AInner.right <= AOuter.right &&
         AInner.bottom <= AOuter.bottom;
}

TEST(PopupFrame, BorderWidthsByKindWithAndWithoutClientEdge) {
  const TFrameCase cases[] = {{epbsDefault, false, 0}, {epbsSingle, false, 1}, {epbsFrame3D, false, 4},
                              {epbsFlat, false, 2},    {epbsDefault, true, 0}, {epbsSingle, true, 3},
                              {epbsFrame3D, true, 6},  {epbsFlat, true, 3}};
  for (const TFrameCase& c : cases) {
    TcxCustomEditPopupWindowViewInfo info;
    info.HasClientEdge = c.clientEdge;
    Layout(info, c.kind, 3, false);
    EXPECT_EQ(c.width, GetPopupBorderWidth(&info, true)) << c.kind << c.clientEdge;
    EXPECT_EQ(TRect(c.width, c.width, 200 - c.width, 150 - c.width), info.ClientRect) << c.kind;
    // With visual styles every kind is one pixel, the client edge two.
    info.UseNativeStyle = true;
    EXPECT_EQ(c.clientEdge ? 3 : 1, GetPopupBorderWidth(&info, true)) << c.kind;
  }
}

TEST(PopupFrame, ThePanelLiesOnTheGripSideWithTheCloseButtonAtTheFarEnd) {
  for (int corner = 0; corner < 4; ++corner) {
    SCOPED_TRACE(corner);
    TcxCustomEditPopupWindowViewInfo info;
    Layout(info, epbsSingle, corner, true, true);
    const bool right = corner == 1 || corner == 3;
    const bool bottom = corner >= 2;
    const int panel = PanelMinHeight();
    EXPECT_EQ(panel, info.PanelHeight);
    // One pixel frame, the shadow on the right and bottom, the panel and its
    // separator line on the grip's side.
    EXPECT_EQ(TRect(1, bottom ? 1 : 1 + panel + 1, 196, bottom ? 146 - panel - 1 : 146), info.ClientRect);
    EXPECT_EQ(TRect(1, 1, 196, 146), info.InnerBounds);
    EXPECT_TRUE(Inside(info.InnerBounds, info.GripHitRect));
    EXPECT_EQ(right, info.GripHitRect.right == info.InnerBounds.right);
    EXPECT_EQ(bottom, info.GripHitRect.bottom == info.InnerBounds.bottom);
    EXPECT_EQ(panel - 2, info.GripHitRect.Width());
    EXPECT_EQ(panel - 4, info.GripRect.Width());
    EXPECT_TRUE(Inside(info.GripHitRect, info.GripRect));
    // The close button: a square two pixels from the panel's outer edge, at
    // the end away from the grip.
    const TRect& close = info.CloseButtonBounds;
    EXPECT_EQ(panel - 4, close.Width());
    EXPECT_EQ(panel - 4, close.Height());
    EXPECT_EQ(right, close.right < 100);
    EXPECT_EQ(bottom ? info.InnerBounds.bottom - 2 : info.InnerBounds.top + 2,
              bottom ? close.bottom : close.top);
  }
}

TEST(PopupFrame, WithoutCloseButtonNothingIsPlacedOrExcluded) {
  TcxCustomEditPopupWindowViewInfo info;
  Layout(info, epbsFlat, 3, true);
  info.ShowCloseButton = false;
  info.Calculate();
  EXPECT_EQ(TRect(), info.CloseButtonBounds);
  TDrawSurface surface(200, 150, clRed);
  info.Paint(surface.Canvas());
  // Panel and client area are filled; only the grip shows other colours.
  const TRect panel(2, 150 - 2 - info.PanelHeight, 200 - 2, 148);
  const int grip = info.GripRect.Width() * info.GripRect.Height();
  EXPECT_GE(surface.Count(panel, clBtnFace), panel.Width() * panel.Height() - grip);
}

TEST(PopupFrame, SizingZonesOnlyOnTheTwoSidesThatMeetAtTheGrip) {
  TcxCustomEditPopupWindowViewInfo info;
  Layout(info, epbsFrame3D, 3, true);
  const TRect& grip = info.GripHitRect;
  const struct {
    int x, y;
    bool sizing;
    int dx, dy;
  } cases[] = {{grip.left + 1, grip.top + 1, true, 1, 1},
               {199, 60, true, 1, 0},
               {60, 149, true, 0, 1},
               {199, 149, true, 1, 1},
               {0, 60, false, 0, 0},
               {60, 0, false, 0, 0},
               {100, 60, false, 0, 0},
               {200, 60, false, 0, 0}};
  for (const auto& c : cases) {
    int dx = 7;
    int dy = 7;
    EXPECT_EQ(c.sizing, info.GetSizingDirection(c.x, c.y, dx, dy)) << c.x << "," << c.y;
    EXPECT_EQ(TPoint(c.dx, c.dy), TPoint(dx, dy)) << c.x << "," << c.y;
  }
  // Grip at the top left: the left and top sides size, towards -1.
  Layout(info, epbsFrame3D, 0, true);
  int dx = 0;
  int dy = 0;
  EXPECT_TRUE(info.GetSizingDirection(info.GripHitRect.left + 1, info.GripHitRect.top + 1, dx, dy));
  EXPECT_EQ(TPoint(-1, -1), TPoint(dx, dy));
  EXPECT_FALSE(info.GetSizingDirection(199, 60, dx, dy));
  info.IsSizeable = false;
  EXPECT_FALSE(info.GetSizingDirection(0, 60, dx, dy));
}

// The colours across the left edge at mid height, from the outside in.
TEST(PopupFrame, ClassicFramesByKindAndClientEdge) {
  const struct {
    TcxEditPopupBorderStyle kind;
    bool clientEdge;
    std::vector<TColor> colors;
  } cases[] = {
      {epbsSingle, false, {clBtnText, clBtnFace}},
      {epbsSingle, true, {clBtnText, clBtnShadow, cl3DDkShadow, clBtnFace}},
      {epbsFlat, false, {cl3DLight, clBtnHighlight, clBtnFace}},
      {epbsFlat, true, {cl3DLight, clBtnHighlight, clBtnShadow, clBtnFace}},
      {epbsFrame3D, false, {cl3DLight, clBtnHighlight, clBtnFace, clBtnShadow, clBtnFace}},
      {epbsFrame3D,
       true,
       {cl3DLight, clBtnHighlight, clInactiveBorder, clBtnFace, clBtnShadow, cl3DDkShadow}},
  };
  for (const auto& c : cases) {
    TcxCustomEditPopupWindowViewInfo info;
    info.HasClientEdge = c.clientEdge;
    Layout(info, c.kind, 3, false);
    TDrawSurface surface(200, 150, clRed);
    info.Paint(surface.Canvas());
    for (size_t x = 0; x < c.colors.size(); ++x)
      EXPECT_EQ(RGBOf(c.colors[x]), surface.Pixel(static_cast<int>(x), 75))
          << c.kind << c.clientEdge << " x=" << x;
    EXPECT_EQ(0, surface.CountAll(clRed)) << c.kind;
  }
}

TEST(PopupFrame, TheShadowRunsAlongTheRightAndBottomOnly) {
  TcxCustomEditPopupWindowViewInfo info;
  Layout(info, epbsSingle, 3, false, true);
  TDrawSurface surface(200, 150, clRed);
  info.Paint(surface.Canvas());
  EXPECT_EQ(RGBOf(clBtnText), surface.Pixel(196, 75));
  EXPECT_EQ(3 * 144, surface.Count(TRect(197, 3, 200, 147), clBtnShadow));
  EXPECT_EQ(3 * (200 - 3 - 3), surface.Count(TRect(3, 147, 197, 150), clBtnShadow));
  // The corners the shadow leaves out stay unpainted: the window region
  // cuts them away.
  EXPECT_EQ(9, surface.Count(TRect(197, 0, 200, 3), clRed));
  EXPECT_EQ(9, surface.Count(TRect(0, 147, 3, 150), clRed));
}

// The grip's lines point into its corner, the close button's cross lies in
// its square; a themed window draws a one-pixel frame whatever the kind.
void CheckPanel(bool ANative, const char* AName) {
  for (int corner : {3, 0}) {
    TcxCustomEditPopupWindowViewInfo info;
    Layout(info, epbsFrame3D, corner, true, false, ANative);
    TDrawSurface surface(200, 150, clRed);
    info.Paint(surface.Canvas());
    surface.SavePng(String("popup-frame-") + AName + (corner == 3 ? "-below" : "-above"));
    EXPECT_EQ(0, surface.CountAll(clRed)) << corner;
    if (ANative) {
      EXPECT_EQ(RGBOf(clBtnText), surface.Pixel(0, 75));
      EXPECT_EQ(RGBOf(clBtnFace), surface.Pixel(1, 75));
    }
    const TRect& g = info.GripRect;
    const int half = g.Width() / 2;
    const TRect nearCorner = corner == 3 ? TRect(g.right - half, g.bottom - half, g.right, g.bottom)
                                         : TRect(g.left, g.top, g.left + half, g.top + half);
    const TRect farCorner = corner == 3 ? TRect(g.left, g.top, g.left + half, g.top + half)
                                        : TRect(g.right - half, g.bottom - half, g.right, g.bottom);
    const int area = half * half;
    EXPECT_GT(area - surface.Count(nearCorner, clBtnFace), area - surface.Count(farCorner, clBtnFace))
        << corner;
    const TRect& close = info.CloseButtonBounds;
    EXPECT_LT(surface.Count(close, clBtnFace), close.Width() * close.Height()) << corner;
  }
}

TEST(PopupFrame, ClassicPanelWithGripAndCloseButton) {
  CheckPanel(false, "classic");
}

TEST(PopupFrame, ThemedPanelWithGripAndCloseButton) {
  guitest::SetVisualStyle(true);
  CheckPanel(true, "themed");
}

// The grip of every corner is the bottom-right one mirrored, so its lines
// always point into its corner; themed and classic alike.
void CheckGripMirroredPerCorner(bool ANative) {
  auto paint = [ANative](int ACorner, TRect& AGrip) {
    TcxCustomEditPopupWindowViewInfo info;
    Layout(info, epbsSingle, ACorner, true, false, ANative);
    auto surface = std::make_unique<TDrawSurface>(200, 150, clRed);
    info.Paint(surface->Canvas());
    AGrip = info.GripRect;
    return surface;
  };
  TRect base;
  const auto bottomRight = paint(3, base);
  ASSERT_FALSE(IsRectEmpty(&base));
  // Not one colour: there is a grip to mirror.
  EXPECT_LT(bottomRight->Count(base, clBtnFace), base.Width() * base.Height());
  for (int corner = 0; corner < 3; ++corner) {
    SCOPED_TRACE(testing::Message() << (ANative ? "themed" : "classic") << " corner " << corner);
    TRect grip;
    const auto surface = paint(corner, grip);
    ASSERT_EQ(base.Width(), grip.Width());
    ASSERT_EQ(base.Height(), grip.Height());
    const bool mirrorX = corner == 0 || corner == 2;
    const bool mirrorY = corner < 2;
    int differ = 0;
    for (int y = 0; y < grip.Height(); ++y)
      for (int x = 0; x < grip.Width(); ++x) {
        const int bx = mirrorX ? base.Width() - 1 - x : x;
        const int by = mirrorY ? base.Height() - 1 - y : y;
        if (surface->Pixel(grip.left + x, grip.top + y) != bottomRight->Pixel(base.left + bx, base.top + by))
          ++differ;
      }
    EXPECT_EQ(0, differ);
  }
}

// Whether the picture of APattern appears anywhere inside R of ASurface.
bool Contains(const TDrawSurface& ASurface, const TRect& R, const TDrawSurface& APattern, int AWidth, int AHeight) {
  for (int top = R.top; top + AHeight <= R.bottom; ++top)
    for (int left = R.left; left + AWidth <= R.right; ++left) {
      bool same = true;
      for (int y = 0; y < AHeight && same; ++y)
        for (int x = 0; x < AWidth && same; ++x)
          same = ASurface.Pixel(left + x, top + y) == APattern.Pixel(x, y);
      if (same) return true;
    }
  return false;
}

TEST(PopupFrame, ThemedGripAndCloseButtonAreTheThemesOwnPartsInEveryCorner) {
  guitest::SetVisualStyle(true);
  HTHEME window = OpenThemeHandle(totWindow);
  HTHEME scrollBar = OpenThemeHandle(totScrollBar);
  if (!window || !scrollBar) GTEST_SKIP() << "no visual style";
  SIZE box{};
  dxUxTheme::GetThemePartSize(scrollBar, nullptr, 10, 1, nullptr, 1 /* true size */, &box);
  ASSERT_GT(box.cx, 0);
  TDrawSurface sizeBox(box.cx, box.cy, clBtnFace);
  const RECT boxRect{0, 0, box.cx, box.cy};
  dxUxTheme::DrawThemeBackground(scrollBar, sizeBox.DC(), 10, 1, &boxRect, nullptr);
  for (int corner = 0; corner < 4; ++corner)
    for (int state : {1, 2, 3}) {
      SCOPED_TRACE(testing::Message() << "corner " << corner << " state " << state);
      TcxCustomEditPopupWindowViewInfo info;
      info.CloseButtonMouseState = state;
      Layout(info, epbsFrame3D, corner, true, false, true);
      TDrawSurface surface(200, 150, clRed);
      info.Paint(surface.Canvas());
      EXPECT_EQ(state, info.CloseButtonThemeState);
      // The close button: the Window class's part in the mouse state.
      const TRect& close = info.CloseButtonBounds;
      TDrawSurface button(close.Width(), close.Height(), clBtnFace);
      const RECT buttonRect{0, 0, close.Width(), close.Height()};
      dxUxTheme::DrawThemeBackground(window, button.DC(), 18, state, &buttonRect, nullptr);
      EXPECT_TRUE(Contains(surface, close, button, close.Width(), close.Height()));
      // The grip at the bottom right is the size box as the theme draws it.
      if (corner == 3) {
        EXPECT_TRUE(Contains(surface, info.GripRect, sizeBox, box.cx, box.cy));
        if (state == 2) surface.SavePng("popup-frame-themed-close-hot");
      }
    }
  CheckGripMirroredPerCorner(true);
}

TEST(PopupFrameStyleOff, TheClassicGripIsMirroredIntoEveryCorner) {
  CheckGripMirroredPerCorner(false);
}

} // namespace
