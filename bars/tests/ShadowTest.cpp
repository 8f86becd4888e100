// Shadows of bar windows: where their parts lie, their alpha images, and
// the mouse passing through them.
#include "BarsTest.h"

#include "dxBarShadow.h"

#include "GuiTest.h"

#include <memory>

namespace {

struct TPartSpec {
  int kind, fade;
  TRect rect;
};

class ShadowTest : public BarsTest {
protected:
  void SetUp() override {
    Build([](TdxBarManager* m) { m->GetBars()->Add()->SetCaption("Tools"); });
    Manager->SetStyle(bmsFlat);
    Window = std::make_unique<TdxBarControl>(Manager, Manager->GetBars()->GetItem(0));
  }

  std::vector<TPartSpec> Parts(const TdxBarShadow& shadow) const {
    std::vector<TPartSpec> parts;
    for (int i = 0; i < shadow.GetPartCount(); ++i) {
      TdxBarShadowPart* p = shadow.GetPart(i);
      parts.push_back({p->GetKind(), p->GetFadeEnds(), p->GetBoundsRect()});
    }
    return parts;
  }

  std::unique_ptr<TdxBarControl> Window;
};

// A window that counts the presses it gets.
class TClickTarget : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  int Presses = 0;

protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_LBUTTONDOWN) ++Presses;
    TCustomControl::WndProc(Message);
  }
};

} // namespace

TEST_F(ShadowTest, PartsFollowTheWindowAndTheButtonItIsJoinedTo) {
  ASSERT_EQ(TdxBarShadow::ShadowSize(), 4) << "layered windows on a true-colour screen";
  const TRect none;
  const struct {
    const char* name;
    TRect owner, window;
    bool horizontal;
    std::vector<TPartSpec> parts;
  } cases[] = {
      {"no owner",
       none,
       {100, 100, 200, 150},
       true,
       {{0, 3, {104, 150, 204, 154}}, {1, 4, {200, 104, 204, 150}}}},
      {"under a button",
       {100, 80, 140, 100},
       {100, 100, 200, 150},
       true,
       {{1, 4, {140, 84, 144, 100}}, {0, 3, {104, 150, 204, 154}}, {1, 4, {200, 104, 204, 150}}}},
      // The button below the menu: the rectangles are exchanged, the menu
      // becomes the upper one.
      {"above a button",
       {100, 150, 140, 170},
       {100, 50, 200, 150},
       true,
       {{1, 4, {200, 54, 204, 150}},
        {0, 3, {104, 170, 144, 174}},
        {0, 2, {140, 150, 204, 154}},
        {1, 0, {140, 150, 144, 170}}}},
      {"beside a button",
       {50, 100, 100, 120},
       {100, 90, 200, 200},
       false,
       {{1, 4, {200, 94, 204, 200}}, {0, 1, {54, 120, 100, 124}}, {0, 3, {104, 200, 204, 204}}}},
      {"left of a button",
       {200, 100, 250, 120},
       {100, 90, 200, 200},
       false,
       {{1, 4, {250, 104, 254, 120}},
        {1, 4, {200, 94, 204, 100}},
        {0, 3, {104, 200, 204, 204}},
        {1, 0, {200, 120, 204, 200}},
        {0, 2, {200, 120, 254, 124}}}},
  };
  for (const auto& c : cases) {
    TdxBarShadow shadow(Window.get());
    shadow.SetRects(c.owner, c.window);
    EXPECT_EQ(shadow.GetHorizontal(), c.horizontal) << c.name;
    const std::vector<TPartSpec> parts = Parts(shadow);
    ASSERT_EQ(parts.size(), c.parts.size()) << c.name;
    for (size_t i = 0; i < parts.size(); ++i) {
      EXPECT_EQ(parts[i].kind, c.parts[i].kind) << c.name << " part " << i;
      EXPECT_EQ(parts[i].fade, c.parts[i].fade) << c.name << " part " << i;
      EXPECT_EQ(parts[i].rect, c.parts[i].rect) << c.name << " part " << i;
    }
  }
}

TEST_F(ShadowTest, AlphaFallsOffOutwardsAndFadesAtTheEnds) {
  TdxBarShadow shadow(Window.get());
  // Beside a window: one strip right of it (fading at its top) and one
  // under it (fading at both ends).
  shadow.SetRects(TRect(), TRect(0, 0, 40, 30));
  TdxBarShadowPart* under = shadow.GetPart(0);
  TdxBarShadowPart* right = shadow.GetPart(1);
  ASSERT_EQ(under->GetKind(), 0);
  ASSERT_EQ(right->GetKind(), 1);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(right->AlphaAt(i, 15), 60 - 15 * i) << "from the window outwards";
    EXPECT_EQ(under->AlphaAt(20, i), 60 - 15 * i);
  }
  // The S by S squares at the ends: alpha times (i + 1) / (S + 1), i from
  // the outermost column or row.
  EXPECT_EQ(under->AlphaAt(0, 0), MulDiv(60, 1, 5));
  EXPECT_EQ(under->AlphaAt(3, 0), MulDiv(60, 4, 5));
  EXPECT_EQ(under->AlphaAt(4, 0), 60);
  EXPECT_EQ(under->AlphaAt(39, 1), MulDiv(45, 1, 5));
  EXPECT_EQ(under->AlphaAt(36, 3), MulDiv(15, 4, 5));
  EXPECT_EQ(right->AlphaAt(0, 0), MulDiv(60, 1, 5)) << "the top end of a strip beside";
  EXPECT_EQ(right->AlphaAt(2, 3), MulDiv(30, 4, 5));
  EXPECT_EQ(right->AlphaAt(2, 4), 30);
}

TEST_F(ShadowTest, PartsTooSmallForTheirFadedEndsAreNeverShown) {
  Form->SetBounds(100, 100, 400, 300);
  Form->Show();
  Window->ParentWindow = Form->GetHandle();
  Window->SetBounds(150, 150, 100, 40);
  Window->SetVisible(true);
  guitest::PumpFor(50);
  TdxBarShadow shadow(Window.get());
  shadow.SetVisible(true);
  // A window 3 pixels wide: the strip under it (both ends fading) is 3 wide.
  shadow.SetRects(TRect(), TRect(150, 150, 153, 190));
  TdxBarShadowPart* under = shadow.GetPart(0);
  ASSERT_EQ(under->GetKind(), 0);
  ASSERT_EQ(under->GetWidth(), 3);
  EXPECT_FALSE(under->IsUsable());
  EXPECT_TRUE(under->GetImage()->GetEmpty()) << "no image";
  EXPECT_FALSE(under->HandleAllocated()) << "never shown";
  EXPECT_TRUE(shadow.GetPart(1)->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(shadow.GetPart(1)->GetHandle()));
}

TEST_F(ShadowTest, AFloatingFlatToolbarCastsAShadowThatClicksPassThrough) {
  Form->SetBounds(100, 100, 400, 300);
  auto* target = new TClickTarget(Form.get());
  target->SetParent(Form.get());
  target->SetBounds(0, 0, 400, 300);
  Form->Show();
  Window->ParentWindow = Form->GetHandle();
  Window->SetBounds(200, 200, 120, 50);
  Window->SetVisible(true);
  guitest::PumpFor(100);
  ASSERT_TRUE(Window->IsShadowVisible());
  TdxBarShadow* shadow = Window->GetShadow();
  ASSERT_TRUE(shadow->GetVisible());
  ASSERT_EQ(shadow->GetPartCount(), 2);
  TdxBarShadowPart* under = shadow->GetPart(0);
  EXPECT_EQ(under->GetBoundsRect(), TRect(204, 250, 324, 254));
  // Owned by the window, the parts stand next to it in the z-order (the
  // system keeps owned windows above their owner).
  auto isPart = [&](HWND h) { return h == under->GetHandle() || h == shadow->GetPart(1)->GetHandle(); };
  HWND prev = GetWindow(Window->GetHandle(), GW_HWNDPREV), next = GetWindow(Window->GetHandle(), GW_HWNDNEXT);
  EXPECT_TRUE(isPart(prev) || isPart(next));
  EXPECT_TRUE(isPart(prev) ? isPart(GetWindow(prev, GW_HWNDPREV)) || isPart(next)
                           : isPart(GetWindow(next, GW_HWNDNEXT)));
  {
    // What the screen shows around the window's bottom-right corner.
    guitest::TCapture screen(60, 40);
    HDC dc = GetDC(nullptr);
    BitBlt(screen.DC(), 0, 0, 60, 40, dc, 280, 220, SRCCOPY);
    ReleaseDC(nullptr, dc);
    screen.SavePng("bars_shadow_screen");
    EXPECT_NE(screen.Pixel(30, 32), screen.Pixel(30, 36)) << "darker next to the window than beyond";
  }
  EXPECT_EQ(SendMessageA(under->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(260, 251)), HTTRANSPARENT);

  POINT p{260, 251};
  ScreenToClient(target->GetHandle(), &p);
  guitest::ClickAt(target->GetHandle(), p.x, p.y);
  EXPECT_TRUE(guitest::PumpUntil([&] { return target->Presses == 1; })) << "the window under the shadow";

  Window->SetBounds(220, 200, 120, 50);
  guitest::PumpFor(50);
  EXPECT_EQ(Window->GetShadow()->GetPart(0)->GetBoundsRect(), TRect(224, 250, 344, 254)) << "moves along";
  Window->SetVisible(false);
  guitest::PumpFor(50);
  EXPECT_FALSE(Window->GetShadow()->GetVisible());
  Manager->SetStyle(bmsStandard);
  Window->SetVisible(true);
  guitest::PumpFor(50);
  EXPECT_FALSE(Window->GetShadow()->GetVisible()) << "the Standard look casts none";
  Window.reset();
}
