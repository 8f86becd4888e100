// The container on a form: border rows by real mouse moves, the window
// region's transparent ring and shadow, the native border, the colour and
// font round trips with the style, Tab, focus with an inner edit, clipped
// children and the style controller's changes.
#include "ContainerTest.h"

#include "DrawTest.h"

#include <gtest/gtest.h>

using guitest::MouseEventAt;
using guitest::PumpFor;
using guitest::PumpUntil;

namespace {

class Container : public ::testing::Test {
protected:
  void TearDown() override {
    MouseEventAt(f->form->GetHandle(), 300, 220, 0);
    PumpFor(20);
    f.reset();
    EXPECT_EQ(0, MouseTrackingCount()) << "no tracking timer outlives its window";
  }
  std::unique_ptr<TContainerForm> f = std::make_unique<TContainerForm>();
  TTestContainer* c() { return f->container; }
  TcxContainerStyle* style() { return c()->GetStyle(); }
  void MoveIn() { MouseEventAt(c()->GetHandle(), 100, 30, 0); }
  void MoveOut() {
    MouseEventAt(f->form->GetHandle(), 300, 220, 0);
    PumpUntil([this] { return !c()->GetViewInfo()->ContainerState.Contains(cstHot); }, 2000);
  }
  int Kind() { return c()->GetViewInfo()->BorderStyle; }
  HRGN Region() {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(c()->GetHandle(), region) != ERROR) return region;
    DeleteObject(region);
    return nullptr;
  }
};

TEST_F(Container, BorderRowsFollowRealMouseMovesAndAHeldButton) {
  f = std::make_unique<TContainerForm>(false);
  const struct {
    TcxContainerBorderStyle style;
    int calm, hot;
  } cases[] = {{cbsNone, 0, 3}, {cbsSingle, 1, 2}, {cbsThick, 2, 2},
               {cbsFlat, 3, 4}, {cbs3D, 4, 4},     {cbsUltraFlat, 1, 1}};
  for (const auto& t : cases) {
    style()->SetBorderStyle(t.style);
    MoveOut();
    EXPECT_EQ(t.calm, Kind()) << t.style;
    MoveIn();
    EXPECT_TRUE(c()->GetViewInfo()->ContainerState.Contains(cstHot)) << t.style;
    EXPECT_EQ(t.hot, Kind()) << t.style;
  }
  style()->SetBorderStyle(cbsFlat);
  style()->SetHotTrack(false);
  EXPECT_EQ(3, Kind()) << "without hot tracking the calm row, hot or not";

  style()->SetHotTrack(true);
  style()->SetBorderStyle(cbsSingle);
  style()->SetBorderColor(clRed);
  c()->Focusable = false;
  MoveIn();
  ASSERT_EQ(2, Kind());
  guitest::TCapture hot = guitest::TCapture::Paint(f->form->GetHandle());
  hot.SavePng("container_border_hot");
  MouseEventAt(c()->GetHandle(), 100, 30, MOUSEEVENTF_LEFTDOWN);
  PumpFor(30);
  EXPECT_EQ(1, Kind()) << "a held button takes the hot row away";
  guitest::TCapture held = guitest::TCapture::Paint(f->form->GetHandle());
  held.SavePng("container_border_held");
  MouseEventAt(c()->GetHandle(), 100, 30, MOUSEEVENTF_LEFTUP);
  PumpFor(30);
  EXPECT_EQ(2, Kind()) << "released: hot again";
  // The container sits at (10, 50): the thick ring reaches its edge, the
  // single one lies a pixel inside it.
  EXPECT_EQ(RGBOf(clRed), hot.Pixel(10, 50));
  EXPECT_EQ(RGBOf(clRed), hot.Pixel(11, 51));
  EXPECT_EQ(RGBOf(clWindow), hot.Pixel(12, 52));
  EXPECT_NE(RGBOf(clRed), held.Pixel(10, 50));
  EXPECT_EQ(RGBOf(clRed), held.Pixel(11, 51));
  MoveOut();
  EXPECT_EQ(1, Kind()) << "the mouse gone: calm";
}

TEST_F(Container, TheTransparentRingAndTheShadowShowTheParent) {
  style()->SetHotTrack(false);
  style()->SetBorderStyle(cbsSingle);
  style()->SetBorderColor(clRed);
  style()->SetShadow(true);
  PumpFor(50);
  const int w = c()->GetWidth(), h = c()->GetHeight();
  HRGN region = Region();
  ASSERT_NE(nullptr, region);
  // Extent 2, 2, 5, 5; a one-pixel border; the shadow 3 pixels down right.
  EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the ring outside the border";
  EXPECT_TRUE(PtInRegion(region, 1, 1));
  EXPECT_TRUE(PtInRegion(region, w - 2, h - 2)) << "the shadow";
  EXPECT_FALSE(PtInRegion(region, w - 2, 2)) << "beside the shadow";
  EXPECT_FALSE(PtInRegion(region, w - 1, h - 1));
  DeleteObject(region);
  c()->Repaint();
  PumpFor(50);
  guitest::TCapture screen = f->ScreenShot();
  screen.SavePng("container_shadow_screen");
  const int x = c()->GetLeft(), y = c()->GetTop();
  EXPECT_EQ(RGBOf(clSilver), screen.Pixel(x, y)) << "the parent through the ring";
  EXPECT_EQ(RGBOf(clRed), screen.Pixel(x + 1, y + 1));
  EXPECT_EQ(RGBOf(clBtnShadow), screen.Pixel(x + w - 2, y + h - 2));
  EXPECT_EQ(RGBOf(clSilver), screen.Pixel(x + w - 2, y + 2)) << "the parent beside the shadow";
}

TEST_F(Container, TheNativeBorderGoesThroughTheEditThemeWithoutARegion) {
  style()->GetLookAndFeel()->SetNativeStyle(true);
  PumpFor(30);
  ASSERT_TRUE(c()->GetViewInfo()->NativeStyle);
  EXPECT_FALSE(c()->GetViewInfo()->Shadow);
  EXPECT_EQ(nullptr, Region()) << "no region in the native style";
  COLORREF border = 0;
  ASSERT_EQ(S_OK, dxUxTheme::GetThemeColor(OpenThemeHandle(totComboBox), 1, 1, 3801, &border));
  guitest::TCapture native = guitest::TCapture::Paint(f->form->GetHandle());
  native.SavePng("container_native");
  EXPECT_EQ(border, native.Pixel(10, 50));
  EXPECT_EQ(RGBOf(clWindow), native.Pixel(12, 80));

  style()->GetLookAndFeel()->SetNativeStyle(false);
  PumpFor(30);
  EXPECT_FALSE(c()->GetViewInfo()->NativeStyle);
  HRGN region = Region();
  EXPECT_NE(nullptr, region) << "the classic border has its region again";
  if (region) DeleteObject(region);
  guitest::TCapture::Paint(f->form->GetHandle()).SavePng("container_classic");
}

TEST(ContainerStyleOff, ANativeStyleWithoutVisualStylesDrawsTheClassicBorder) {
  TContainerForm f;
  f.container->GetStyle()->GetLookAndFeel()->SetNativeStyle(true);
  EXPECT_FALSE(f.container->GetViewInfo()->NativeStyle);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(ERROR, GetWindowRgn(f.container->GetHandle(), region));
  DeleteObject(region);
  guitest::TCapture::Paint(f.form->GetHandle()).SavePng("container_native_styleoff");
}

TEST_F(Container, ColourAndFontRoundTripsWithTheStyle) {
  f = std::make_unique<TContainerForm>(false);
  style()->SetHotTrack(false);
  c()->SetColor(clAqua);
  EXPECT_TRUE(style()->GetAssignedValues().Contains(csvColor)) << "the control's colour goes into the style";
  EXPECT_EQ(clAqua, style()->GetColor());
  c()->GetFont()->SetHeight(-16);
  EXPECT_FALSE(style()->GetAssignedValues().Contains(csvFont)) << "the control's font does not";
  EXPECT_EQ(-16, style()->GetFont()->GetHeight());
  PumpFor(30);
  guitest::TCapture aqua = guitest::TCapture::Paint(f->form->GetHandle());
  EXPECT_EQ(RGBOf(clAqua), aqua.Pixel(100, 80));

  style()->SetColor(clYellow);
  EXPECT_EQ(clYellow, c()->GetColor()) << "the style's colour reaches the control";

  c()->SetParentColor(true);
  EXPECT_EQ(clSilver, c()->GetColor()) << "ParentColor shows the parent's colour";
  EXPECT_EQ(clSilver, style()->GetColor());
  EXPECT_FALSE(style()->GetAssignedValues().Contains(csvColor));
  PumpFor(30);
  EXPECT_EQ(RGBOf(clSilver), guitest::TCapture::Paint(f->form->GetHandle()).Pixel(100, 80));
  f->form->SetColor(clTeal);
  EXPECT_EQ(clTeal, c()->GetColor()) << "and follows it";

  style()->SetColor(clLime);
  EXPECT_FALSE(c()->GetParentColor()) << "a style colour of its own turns ParentColor off";
  EXPECT_EQ(clLime, c()->GetColor());

  c()->SetParentFont(true);
  f->form->GetFont()->SetHeight(-15);
  EXPECT_EQ(-15, c()->GetFont()->GetHeight());
  EXPECT_TRUE(c()->GetParentFont()) << "the style's write-back keeps ParentFont";
  f->form->GetFont()->SetHeight(-17);
  EXPECT_EQ(-17, c()->GetFont()->GetHeight()) << "a second parent font arrives too";
}

TEST_F(Container, TabAndShiftTabLeaveTheContainer) {
  c()->Edit->SetFocus();
  ASSERT_TRUE(c()->Edit->Focused());
  EXPECT_TRUE(c()->IsFocused()) << "the inner edit's focus is the container's";
  guitest::PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([this] { return f->below->Focused(); }, 2000));
  guitest::PressKey(VK_TAB, guitest::kShift);
  ASSERT_TRUE(PumpUntil([this] { return c()->Edit->Focused(); }, 2000)) << "back into the inner edit";
  guitest::PressKey(VK_TAB, guitest::kShift);
  ASSERT_TRUE(PumpUntil([this] { return f->above->Focused(); }, 2000));

  std::vector<WORD> keys;
  c()->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
  c()->TabKey = true;
  c()->Edit->SetFocus();
  guitest::PressKey(VK_TAB);
  PumpFor(50);
  EXPECT_TRUE(c()->Edit->Focused()) << "a container that handles Tab keeps it";
  EXPECT_EQ(1, std::count(keys.begin(), keys.end(), VK_TAB));
  c()->OnKeyDown = nullptr;
}

TEST_F(Container, AClickInTheInnerEditKeepsItsFocus) {
  int focusChanges = 0;
  c()->OnFocusChanged = [&](TObject*) { ++focusChanges; };
  const TRect edit = c()->Edit->GetBoundsRect();
  EXPECT_EQ(c()->GetViewInfo()->ClientRect, edit) << "the edit fills the inside of the border";
  guitest::ClickAt(c()->Edit->GetHandle(), 20, 5);
  PumpFor(50);
  EXPECT_EQ(c()->Edit->GetHandle(), GetFocus());
  EXPECT_GE(focusChanges, 1);
  EXPECT_TRUE(c()->GetViewInfo()->ContainerState.Contains(cstFocused));

  f->above->SetFocus();
  guitest::ClickAt(c()->GetHandle(), 1, 1);
  ASSERT_TRUE(PumpUntil([this] { return c()->Edit->Focused(); }, 2000))
      << "a click on the border hands the focus to the edit";
  c()->OnFocusChanged = nullptr;
}

TEST_F(Container, AChildStickingOutIsClippedToTheInside) {
  auto* child = new TEdit(f->form.get());
  child->SetParent(c());
  child->SetBounds(5, 5, 300, 20);
  PumpFor(20);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(child->GetHandle(), region));
  RECT box;
  GetRgnBox(region, &box);
  const TRect inside = c()->GetViewInfo()->ClientRect;
  EXPECT_EQ(TRect(0, 0, inside.right - 5, 20), TRect(box));
  child->SetBounds(5, 5, 50, 20);
  EXPECT_EQ(ERROR, GetWindowRgn(child->GetHandle(), region)) << "inside again: no region";
  DeleteObject(region);

  c()->GetStyle()->SetShadow(true);
  EXPECT_FALSE(c()->GetViewInfo()->ClientRect.right > c()->GetWidth() - 5) << "the shadow narrows the inside";
  EXPECT_EQ(c()->GetViewInfo()->ClientRect, c()->Edit->GetBoundsRect()) << "the inner edit follows";
}

TEST_F(Container, AControllersChangesReachTheContainersAndItsFreeingLeavesThemWorking) {
  auto controller = std::make_unique<TcxStyleController>(nullptr);
  auto* second = new TTestContainer(f->form.get(), true);
  second->SetParent(f->form.get());
  second->SetBounds(10, 180, 200, 40);
  for (TcxContainer* container : {static_cast<TcxContainer*>(c()), static_cast<TcxContainer*>(second)})
    container->GetStyle()->SetStyleController(controller.get());
  second->GetStyle()->GetFont()->SetName("Courier New");
  second->GetStyle()->SetBorderStyle(cbsSingle);
  controller->GetStyle()->GetFont()->SetHeight(-20);
  controller->GetStyle()->SetBorderColor(clRed);
  EXPECT_EQ(-20, c()->GetFont()->GetHeight()) << "the controller's font reaches the control";
  EXPECT_EQ(-20, c()->Edit->GetFont()->GetHeight()) << "and its inner edit";
  EXPECT_NE(-20, second->GetFont()->GetHeight()) << "a style with its own font keeps it";
  EXPECT_EQ("Courier New", second->GetFont()->GetName());
  EXPECT_EQ(clRed, second->GetViewInfo()->BorderColor);
  controller.reset();
  EXPECT_EQ(clWindowFrame, second->GetViewInfo()->BorderColor) << "back on the defaults";
  EXPECT_EQ(nullptr, c()->GetStyle()->GetStyleController());
  MoveIn();
  EXPECT_TRUE(c()->GetViewInfo()->ContainerState.Contains(cstHot)) << "still working";
}

} // namespace

namespace {

// Own bars laid over a plain list box's native ones, as the memo does.
class TScrollingContainer : public TcxContainer {
public:
  explicit TScrollingContainer(TComponent* AOwner) : TcxContainer(AOwner) {
    List = new TListBox(this);
    List->BorderStyle = bsNone;
    List->SetParent(this);
    SetInnerControl(List);
  }
  TListBox* List;
  bool HasScrollBars() override { return true; }
  using TcxContainer::AdjustInnerScrollBars;
};

TEST_F(Container, OwnBarsLieOverTheInnerControlsNativeOnes) {
  auto* scrolling = new TScrollingContainer(f->form.get());
  scrolling->SetBounds(220, 50, 90, 100);
  scrolling->SetParent(f->form.get());
  PumpFor(20);
  scrolling->AdjustInnerScrollBars();
  EXPECT_FALSE(scrolling->GetVScrollBar()->GetVisible()) << "no native bar yet";
  for (int i = 0; i < 30; ++i)
    scrolling->List->GetItems()->Add(Format("Item %d", i));
  scrolling->List->SetTopIndex(4);
  scrolling->AdjustInnerScrollBars();
  TcxControlScrollBar* bar = scrolling->GetVScrollBar();
  ASSERT_TRUE(bar->GetVisible());
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetScrollBarInfo(scrolling->List->GetHandle(), OBJID_VSCROLL, &info));
  TRect native = info.rcScrollBar;
  MapWindowPoints(nullptr, scrolling->GetHandle(), reinterpret_cast<POINT*>(&native), 2);
  EXPECT_EQ(native, bar->GetBoundsRect());
  EXPECT_EQ(4, bar->GetPosition());
  EXPECT_EQ(29, bar->GetMax());
  EXPECT_FALSE(scrolling->GetHScrollBar()->GetVisible());
  scrolling->SetEnabled(false);
  scrolling->AdjustInnerScrollBars();
  EXPECT_FALSE(bar->GetEnabled()) << "a disabled container's bar is disabled";
}

// The border styles in each look, for a person to look at.
TEST(ContainerGallery, BorderStylesInEachLook) {
  const struct {
    const char* name;
    TcxLookAndFeelKind kind;
    bool native;
  } looks[] = {{"flat", lfFlat, false},
               {"standard", lfStandard, false},
               {"ultraflat", lfUltraFlat, false},
               {"native", lfUltraFlat, true}};
  for (const auto& look : looks) {
    TForm form(nullptr);
    form.SetBounds(60, 60, 420, 200);
    form.SetColor(clSilver);
    std::vector<TTestContainer*> containers;
    for (int style = cbsNone; style <= cbsUltraFlat; ++style) {
      for (bool shadow : {false, true}) {
        auto* c = new TTestContainer(&form, false);
        c->SetBounds(10 + style * 65, shadow ? 90 : 20, 55, 40);
        c->SetParent(&form);
        TcxContainerStyle* s = c->GetStyle();
        s->GetLookAndFeel()->SetKind(look.kind);
        s->GetLookAndFeel()->SetNativeStyle(look.native);
        s->SetBorderStyle(static_cast<TcxContainerBorderStyle>(style));
        s->SetHotTrack(false);
        s->SetTransparentBorder(false);
        s->SetShadow(shadow);
        s->SetBorderColor(clRed);
        containers.push_back(c);
      }
    }
    form.Show();
    form.Update();
    PumpFor(30);
    guitest::TCapture capture = guitest::TCapture::Paint(form.GetHandle());
    capture.SavePng(String("container_gallery_") + look.name);
    TTestContainer* single = containers[2 * cbsSingle];
    if (!look.native) {
      EXPECT_EQ(RGBOf(clRed), capture.Pixel(single->GetLeft(), single->GetTop())) << look.name;
      EXPECT_EQ(RGBOf(clWindow), capture.Pixel(single->GetLeft() + 1, single->GetTop() + 1)) << look.name;
      TTestContainer* shadowed = containers[2 * cbsSingle + 1];
      const int right = shadowed->GetLeft() + shadowed->GetWidth() - 1;
      const int bottom = shadowed->GetTop() + shadowed->GetHeight() - 1;
      EXPECT_EQ(RGBOf(clBtnShadow), capture.Pixel(right, bottom)) << look.name << ": the shadow";
    } else {
      EXPECT_TRUE(single->GetViewInfo()->NativeStyle);
    }
  }
}

} // namespace

namespace {

TEST_F(Container, DisablingReachesTheInnerControlAndTheBackground) {
  c()->SetEnabled(false);
  EXPECT_FALSE(c()->Edit->GetEnabled());
  EXPECT_TRUE(c()->GetViewInfo()->ContainerState.Contains(cstDisabled));
  EXPECT_EQ(clBtnFace, c()->GetViewInfo()->GetBackgroundColor());
  EXPECT_EQ(clBtnFace, c()->Edit->GetColor()) << "the inner edit takes the background";
  EXPECT_EQ(clBtnShadow, c()->Edit->GetFont()->GetColor());
  c()->SetEnabled(true);
  EXPECT_TRUE(c()->Edit->GetEnabled());
  EXPECT_EQ(clWindow, c()->Edit->GetColor());
}

TEST_F(Container, RestoreDefaultsForgetsEveryAssignment) {
  style()->SetColor(clYellow);
  style()->SetBorderStyle(cbsThick);
  style()->GetLookAndFeel()->SetKind(lfStandard);
  c()->SetParentFont(false);
  style()->RestoreDefaults();
  EXPECT_TRUE(style()->GetAssignedValues().Empty());
  EXPECT_EQ(cbsUltraFlat, style()->GetBorderStyle());
  EXPECT_TRUE(style()->GetLookAndFeel()->GetAssignedValues().Empty());
  EXPECT_TRUE(c()->GetParentFont());
  EXPECT_FALSE(c()->GetParentColor());
  EXPECT_EQ(clWindow, c()->GetColor());
}

TEST_F(Container, FreedWhileItsInnerControlHasTheFocus) {
  c()->Edit->SetFocus();
  ASSERT_TRUE(c()->Edit->Focused());
  guitest::MouseEventAt(c()->GetHandle(), 100, 30, 0);
  delete f->container;
  f->container = nullptr;
  PumpFor(50);
  EXPECT_EQ(0, MouseTrackingCount());
  f->below->SetFocus();
  EXPECT_TRUE(f->below->Focused());
}

} // namespace
