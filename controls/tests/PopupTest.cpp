// Popup windows: placement on the work area, closing by outside clicks,
// the owner's anchor, nested popups, keys, application switches, the owner
// hiding, the owner's active caption, a stable size, an owner destroyed
// while the modal loop runs, frames, and painting through the view info
// that the popup's style lays out.
#include "cxContainer.h"

#include "ControlTest.h"
#include "DrawTest.h"
#include "ExtCtrls.h"

#include <gtest/gtest.h>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

// A popup of 120 x 80 holding one panel; it counts its events.
class TTestPopup : public TcxCustomPopupWindow {
public:
  explicit TTestPopup(TControl* AOwner) : TcxCustomPopupWindow(AOwner) {
    Child = new TPanel(this);
    Child->SetBounds(0, 0, 120, 80);
    Child->SetParent(this);
    OnClosed = [this](TObject*) { ++Closed; };
  }
  TPanel* Child;
  int Closed = 0;
};

// A control that opens its popup on a left press unless that press closed
// it, as a drop-down button does, and records the system keys it gets.
class TOwnerView : public TcxControl {
public:
  using TcxControl::TcxControl;
  TTestPopup* Popup = nullptr;
  std::vector<WPARAM> SysKeys;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_SYSKEYDOWN) return SysKeys.push_back(Message.WParam);
    TcxControl::WndProc(Message);
  }

protected:
  bool HasScrollBars() override { return false; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TcxControl::MouseDown(Button, Shift, X, Y);
    if (!Popup || Button != mbLeft) return;
    if (Popup->ClosedByOwnerClick) {
      Popup->ClosedByOwnerClick = false;
      return;
    }
    Popup->Popup(this);
  }
  void Paint() override { GetcxCanvas()->FillRect(GetClientRect(), clTeal); }
};

class PopupTest : public testing::Test {
protected:
  PopupTest() {
    form = std::make_unique<TForm>(nullptr);
    form->SetCaption("Owner");
    form->SetBounds(100, 100, 400, 300);
    owner = new TOwnerView(form.get());
    owner->SetBounds(20, 20, 120, 24);
    owner->SetParent(form.get());
    other = new TPanel(form.get());
    other->SetBounds(200, 150, 100, 60);
    other->SetParent(form.get());
    form->Show();
    PumpFor(50);
    popup = std::make_unique<TTestPopup>(owner);
    popup->AnchorParent = owner;
    popup->AnchorBounds = owner->GetClientRect();
    owner->Popup = popup.get();
  }
  ~PopupTest() override {
    popup.reset();
    form.reset();
    EXPECT_EQ(0, MouseTrackingCount());
  }
  void OpenWithoutActivation() {
    popup->SetCaptureFocus(false);
    popup->Popup(owner);
    PumpFor(30);
  }
  // A real click at a point of a control's client area.
  static void Click(TWinControl* AControl, int X, int Y) {
    guitest::ClickAt(AControl->GetHandle(), X, Y);
    PumpFor(50);
  }

  std::unique_ptr<TForm> form;
  TOwnerView* owner;
  TPanel* other;
  std::unique_ptr<TTestPopup> popup;
};

TEST_F(PopupTest, PlacementFlipsAndClampsOnTheWorkArea) {
  TcxPopupWindow window;
  const TRect work = GetMonitorWorkArea(TPoint(0, 0));
  const int tall = work.Height() - 100;
  const struct {
    const char* name;
    TRect anchor; // on the screen (the anchor parent is nil)
    int height;
    TcxPopupOpenDirection direction;
    TcxPopupHorzPlacement horz;
    TcxPopupVertPlacement vert;
    TPoint expected;
  } cases[] = {
      {"below", Bounds(work.left + 50, work.top + 100, 80, 20), 200, odVertical, hpLeft, vpBottom,
       TPoint(work.left + 50, work.top + 120)},
      {"right-aligned below", Bounds(work.left + 50, work.top + 100, 80, 20), 200, odVertical, hpRight,
       vpBottom, TPoint(work.left + 30, work.top + 120)},
      {"above when more room above", Bounds(work.left + 50, work.bottom - 60, 80, 20), 200, odVertical,
       hpLeft, vpBottom, TPoint(work.left + 50, work.bottom - 260)},
      {"below, pushed up, when less room above", Bounds(work.left + 50, work.top + 200, 80, 20), tall,
       odVertical, hpLeft, vpBottom, TPoint(work.left + 50, work.bottom - tall)},
      {"pushed left at the right edge", Bounds(work.right - 40, work.top + 100, 30, 20), 200, odVertical,
       hpLeft, vpBottom, TPoint(work.right - 100, work.top + 120)},
      {"sideways to the right", Bounds(work.left + 50, work.top + 100, 80, 20), 200, odHorizontal, hpRight,
       vpTop, TPoint(work.left + 130, work.top + 100)},
      {"sideways flipped to the left", Bounds(work.right - 150, work.top + 100, 80, 20), 200, odHorizontal,
       hpRight, vpTop, TPoint(work.right - 250, work.top + 100)},
      {"centred", Bounds(work.left + 200, work.top + 300, 80, 20), 200, odVertical, hpCenter, vpCenter,
       TPoint(work.left + 190, work.top + 210)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    window.SetBounds(0, 0, 100, c.height);
    window.AnchorBounds = c.anchor;
    window.OpenDirection = c.direction;
    window.HorzPlacement = c.horz;
    window.VertPlacement = c.vert;
    TPoint p;
    window.CalculatePopupPosition(p);
    EXPECT_EQ(c.expected, p);
    EXPECT_EQ(c.vert, window.VertPlacement) << "the stored placement is kept";
  }
}

TEST_F(PopupTest, OutsideClickClosesAndAnAnchorClickDoesNotReopen) {
  OpenWithoutActivation();
  ASSERT_TRUE(popup->IsOpen());
  EXPECT_TRUE(IsWindowVisible(popup->GetHandle()));
  EXPECT_NE(popup->GetHandle(), GetActiveWindow()) << "shown without activation";
  EXPECT_EQ(owner->ClientToScreen(TPoint(0, 24)).y, popup->GetTop()) << "below the anchor";
  Click(other, 10, 10);
  EXPECT_FALSE(popup->IsOpen());
  EXPECT_FALSE(popup->ClosedByOwnerClick);
  EXPECT_EQ(1, popup->Closed);

  OpenWithoutActivation();
  Click(owner, 10, 10);
  EXPECT_FALSE(popup->IsOpen()) << "the press on the anchor closed it and did not open it again";
  EXPECT_FALSE(popup->ClosedByOwnerClick) << "the owner read and cleared it";
  Click(owner, 10, 10);
  EXPECT_TRUE(popup->IsOpen()) << "the next press opens it";
  popup->ClosePopup(false);
}

TEST_F(PopupTest, ClicksInANestedPopupKeepTheOuterOneOpen) {
  OpenWithoutActivation();
  auto nested = std::make_unique<TTestPopup>(popup->Child);
  nested->SetCaptureFocus(false);
  nested->AnchorParent = popup->Child;
  nested->AnchorBounds = TRect(0, 0, 120, 80);
  nested->Popup(owner);
  PumpFor(30);
  Click(nested->Child, 10, 10);
  EXPECT_TRUE(popup->IsOpen());
  EXPECT_TRUE(nested->IsOpen());
  Click(popup->Child, 10, 10);
  EXPECT_TRUE(popup->IsOpen());
  EXPECT_FALSE(nested->IsOpen()) << "a click in the form that holds the nested popup's owner";
}

TEST_F(PopupTest, SystemKeysPassOnlyWhenAccepted) {
  OpenWithoutActivation();
  owner->SetFocus();
  guitest::PressKey('X', guitest::kAlt);
  guitest::PressKey(VK_DOWN, guitest::kAlt);
  guitest::PressKey(VK_F4, guitest::kAlt);
  PumpFor(50);
  const std::vector<WPARAM> passed = {VK_DOWN, VK_F4};
  std::vector<WPARAM> got;
  for (WPARAM key : owner->SysKeys)
    if (key != VK_MENU) got.push_back(key);
  EXPECT_EQ(passed, got);
  popup->ClosePopup(false);
}

TEST_F(PopupTest, EscapeReleasesTheCaptureAndKeepsThePopup) {
  popup->RunsModalLoop = false;
  popup->Popup(nullptr);
  PumpFor(30);
  ASSERT_EQ(popup->GetHandle(), GetActiveWindow());
  SetCapture(popup->GetHandle());
  guitest::PressKey(VK_ESCAPE);
  PumpFor(30);
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_TRUE(popup->IsOpen());
  popup->ClosePopup(false);
}

TEST_F(PopupTest, TheOwnersCaptionStaysActiveAndClickingItsFormCloses) {
  std::vector<WPARAM> ncActivates;
  TWndMethod old = form->WindowProc;
  form->WindowProc = [&](TMessage& Message) {
    if (Message.Msg == WM_NCACTIVATE) ncActivates.push_back(Message.WParam);
    old(Message);
  };
  popup->RunsModalLoop = false;
  popup->Popup(nullptr);
  PumpFor(50);
  form->WindowProc = old;
  ASSERT_EQ(popup->GetHandle(), GetActiveWindow());
  EXPECT_EQ(std::vector<WPARAM>{TRUE}, ncActivates) << "the deactivation never reached the form";
  EXPECT_EQ(form->GetHandle(), popup->GetPreviousActiveWindow());
  Click(other, 10, 10);
  EXPECT_FALSE(popup->IsOpen()) << "the owner's form took the activation";
}

TEST_F(PopupTest, SwitchingApplicationsClosesAndDeactivatesTheOwnerCaption) {
  OpenWithoutActivation();
  std::vector<WPARAM> ncActivates;
  TWndMethod old = form->WindowProc;
  form->WindowProc = [&](TMessage& Message) {
    if (Message.Msg == WM_NCACTIVATE) ncActivates.push_back(Message.WParam);
    old(Message);
  };
  SendMessageA(form->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
  PumpFor(30);
  form->WindowProc = old;
  SendMessageA(form->GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_FALSE(popup->IsOpen());
  ASSERT_FALSE(ncActivates.empty());
  EXPECT_EQ(static_cast<WPARAM>(FALSE), ncActivates.front());
}

TEST_F(PopupTest, HidingTheOwnerOrItsFormCloses) {
  OpenWithoutActivation();
  owner->Hide();
  PumpFor(30);
  EXPECT_FALSE(popup->IsOpen());
  owner->Show();

  OpenWithoutActivation();
  auto nested = std::make_unique<TTestPopup>(popup->Child);
  nested->SetCaptureFocus(false);
  nested->Popup(popup->Child);
  form->Hide();
  PumpFor(30);
  EXPECT_FALSE(popup->IsOpen());
  EXPECT_FALSE(nested->IsOpen()) << "and every popup opened after it";
}

TEST_F(PopupTest, PrivateMessagesOpenAndClose) {
  popup->SetCaptureFocus(false);
  PostMessageA(popup->GetHandle(), CXM_SHOWPOPUP, reinterpret_cast<WPARAM>(static_cast<TWinControl*>(owner)),
               0);
  PumpUntil([&] { return popup->IsOpen(); }, 1000);
  EXPECT_TRUE(popup->IsOpen());
  SendMessageA(popup->GetHandle(), CXM_CLOSEPOPUP, 0, 0);
  EXPECT_FALSE(popup->IsOpen());
}

TEST_F(PopupTest, FramedPopupHasTheSameSizeAtEachOpening) {
  popup->FrameKind = 1;
  popup->FramePadding = 2;
  popup->SetCaptureFocus(false);
  for (int opening = 0; opening < 3; ++opening) {
    SCOPED_TRACE(opening);
    popup->Popup(owner);
    PumpFor(30);
    EXPECT_EQ(120 + 6, popup->GetWidth());
    EXPECT_EQ(80 + 6, popup->GetHeight());
    EXPECT_EQ(3, popup->Child->GetLeft());
    EXPECT_EQ(3, popup->Child->GetTop());
    popup->ClosePopup(false);
  }
}

// The plain popup draws its frame kind around its face; the drop-downs
// paint through their view info instead.
TEST(PopupFrame, EachFrameKindIsDrawnAroundThePlainPopup) {
  const struct {
    BYTE kind;
    TColor outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
  } cases[] = {
      {1, clRed, clRed, clBtnFace, clBtnFace},
      {2, clBtnHighlight, clBtnShadow, clBtnFace, clBtnFace},
      {3, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    TcxPopupWindow window;
    window.SetBounds(0, 0, 60, 40);
    window.AnchorBounds = Bounds(100, 100, 60, 20);
    window.FrameKind = c.kind;
    window.FrameColor = clRed;
    window.ShowPopup();
    PumpFor(30);
    const guitest::TCapture capture = guitest::TCapture::Paint(window.GetHandle());
    capture.SavePng("popup_frame_" + IntToStr(c.kind));
    EXPECT_EQ(RGBOf(c.outerTopLeft), capture.Pixel(0, 0));
    EXPECT_EQ(RGBOf(c.outerBottomRight), capture.Pixel(59, 39));
    EXPECT_EQ(RGBOf(c.innerTopLeft), capture.Pixel(1, 1));
    EXPECT_EQ(RGBOf(c.innerBottomRight), capture.Pixel(58, 38));
    EXPECT_EQ(RGBOf(clBtnFace), capture.Pixel(30, 20));
  }
}

// The owner control owns its popup, as drop-down editors do; destroying it
// frees the popup under its own modal loop.
TEST_F(PopupTest, OwnerDestroyedWhileTheModalLoopRuns) {
  popup.reset();
  auto* view = new TOwnerView(form.get());
  view->SetBounds(20, 60, 100, 20);
  view->SetParent(form.get());
  auto* modal = new TTestPopup(view);
  view->InsertComponent(modal);
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.SetOnTimer([&](TObject*) {
    timer.SetEnabled(false);
    delete view;
  });
  modal->Popup(nullptr);
  EXPECT_TRUE(OpenPopups().empty());
}

TEST_F(PopupTest, OnlyAnOpenFocusTakingPopupHoldingTheFocusIsFocused) {
  EXPECT_FALSE(popup->IsFocused()) << "closed";
  OpenWithoutActivation();
  owner->SetFocus();
  EXPECT_FALSE(popup->IsFocused()) << "the focus stays with the owner";
  popup->ClosePopup(false);
  popup->SetCaptureFocus(true);
  popup->RunsModalLoop = false;
  popup->Popup(nullptr);
  PumpFor(30);
  EXPECT_EQ(popup->GetHandle(), GetFocus());
  EXPECT_TRUE(popup->IsFocused());
  popup->ClosePopup(false);
  EXPECT_FALSE(popup->IsFocused());
}

TEST_F(PopupTest, TheDropDownKeepsItsFontWhereThePlainPopupTakesTheAnchors) {
  owner->GetFont()->SetSize(20);
  const int own = popup->GetFont()->GetSize();
  ASSERT_NE(20, own);
  OpenWithoutActivation();
  EXPECT_EQ(own, popup->GetFont()->GetSize());
  popup->ClosePopup(false);

  TcxPopupWindow plain;
  plain.AnchorParent = owner;
  plain.InitPopup();
  EXPECT_EQ(20, plain.GetFont()->GetSize());
}

// A popup that lays its view info out from its style, as the drop-downs
// do: the style's border around a client area that holds a bar of 20
// pixels at the top; the rest shows the view info's background.
class TStyledPopup : public TcxCustomPopupWindow {
public:
  explicit TStyledPopup(TControl* AOwner) : TcxCustomPopupWindow(AOwner) {
    AutoFitChildren = false;
    Bar = new TPanel(this);
    Bar->SetHeight(20);
    Bar->SetAlign(alTop);
    Bar->SetParent(this);
    SetBounds(0, 0, 120, 80);
  }
  TPanel* Bar;
  int* StyleChanges = nullptr;
  void StyleChanged() override {
    if (StyleChanges) ++*StyleChanges;
    Layout();
    Invalidate();
  }

protected:
  void Resize() override {
    TcxCustomPopupWindow::Resize();
    Layout();
  }

private:
  void Layout() {
    // The painted kind and its width by border style, without hot tracking.
    static const int kKinds[] = {0, 1, 2, 3, 4, 1};
    static const int kWidths[] = {0, 1, 2, 2, 2};
    TcxContainerStyle* style = GetStyle();
    TcxContainerViewInfo* info = GetViewInfo();
    info->Bounds = TRect(0, 0, GetWidth(), GetHeight());
    info->NativeStyle = IsNativeBorderAvailable(style->GetLookAndFeel()->GetNativeStyle(), totEdit);
    info->ThemeClass = totEdit;
    info->ThemePart = 1;
    info->ThemeState = 1;
    info->BorderStyle = kKinds[style->GetBorderStyle()];
    info->BorderWidth = kWidths[info->BorderStyle];
    info->BorderColor = style->GetBorderColor();
    info->Edges = style->GetEdges();
    info->BorderRect = info->Bounds;
    InflateRect(&info->BorderRect, -info->BorderWidth, -info->BorderWidth);
    info->ClientRect = info->BorderRect;
    info->SetBackgroundColor(style->GetColor());
    Realign();
  }
};

COLORREF ScreenPixel(TWinControl* AControl, int X, int Y) {
  const TPoint p = AControl->ClientToScreen(TPoint(X, Y));
  HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return color;
}

class StyledPopupTest : public PopupTest {
protected:
  StyledPopupTest() {
    styled = std::make_unique<TStyledPopup>(owner);
    styled->AnchorParent = owner;
    styled->AnchorBounds = owner->GetClientRect();
    styled->SetCaptureFocus(false);
    TcxContainerStyle* style = styled->GetStyle();
    style->SetColor(clYellow);
    style->SetBorderColor(clRed);
    styled->Popup(owner);
    PumpFor(30);
  }
  ~StyledPopupTest() override { styled.reset(); }
  std::unique_ptr<TStyledPopup> styled;
};

// Each look of the style gives its border; clNone: not checked (the theme
// decides where its border ends).
TEST_F(StyledPopupTest, ThePopupPaintsItsViewInfoInEachLook) {
  COLORREF themeBorder = 0;
  ASSERT_EQ(S_OK, dxUxTheme::GetThemeColor(OpenThemeHandle(totComboBox), 1, 1, 3801, &themeBorder));
  const struct {
    const char* name;
    TcxLookAndFeelKind kind;
    bool native;
    int inset;
    COLORREF outerTopLeft, outerBottomRight;
    TColor innerTopLeft, innerBottomRight;
  } looks[] = {
      {"standard", lfStandard, false, 2, RGBOf(clBtnShadow), RGBOf(clBtnHighlight), cl3DDkShadow, cl3DLight},
      {"flat", lfFlat, false, 2, RGBOf(clBtnShadow), RGBOf(clBtnHighlight), clBtnFace, clBtnFace},
      {"ultraflat", lfUltraFlat, false, 1, RGBOf(clRed), RGBOf(clRed), clYellow, clYellow},
      {"native", lfUltraFlat, true, 1, themeBorder, themeBorder, clNone, clNone},
  };
  for (const auto& look : looks) {
    SCOPED_TRACE(look.name);
    TcxLookAndFeel* lookAndFeel = styled->GetStyle()->GetLookAndFeel();
    lookAndFeel->SetKind(look.kind);
    lookAndFeel->SetNativeStyle(look.native);
    PumpFor(30);
    EXPECT_EQ(look.native, styled->GetViewInfo()->NativeStyle);
    const guitest::TCapture capture = guitest::TCapture::Paint(styled->GetHandle());
    capture.SavePng(String("popup_look_") + look.name);
    EXPECT_EQ(look.outerTopLeft, capture.Pixel(0, 0));
    EXPECT_EQ(look.outerBottomRight, capture.Pixel(119, 79));
    if (look.innerTopLeft != clNone) {
      EXPECT_EQ(RGBOf(look.innerTopLeft), capture.Pixel(1, 60));
      EXPECT_EQ(RGBOf(look.innerBottomRight), capture.Pixel(118, 78));
    }
    EXPECT_EQ(RGBOf(clYellow), capture.Pixel(60, 60)) << "the view info's background";
    const int i = look.inset;
    EXPECT_EQ(TRect(i, i, 120 - i, i + 20), styled->Bar->GetBoundsRect()) << "aligned inside the frame";
  }
}

class StyledPopupStyleOff : public StyledPopupTest {};

TEST_F(StyledPopupStyleOff, ANativeLookWithoutVisualStylesPaintsTheClassicBorder) {
  styled->GetStyle()->GetLookAndFeel()->SetNativeStyle(true);
  PumpFor(30);
  EXPECT_FALSE(styled->GetViewInfo()->NativeStyle);
  const guitest::TCapture capture = guitest::TCapture::Paint(styled->GetHandle());
  capture.SavePng("popup_look_native_styleoff");
  EXPECT_EQ(RGBOf(clRed), capture.Pixel(0, 0));
  EXPECT_EQ(RGBOf(clYellow), capture.Pixel(1, 60));
}

TEST_F(StyledPopupTest, AControllersChangeRepaintsThePopupUntilItIsFreed) {
  TcxStyleController controller(nullptr);
  TcxContainerStyle* style = styled->GetStyle();
  style->SetAssignedValues(TcxContainerStyleValues{csvBorderColor});
  style->SetStyleController(&controller);
  int changes = 0;
  styled->StyleChanges = &changes;
  controller.GetStyle()->SetColor(clAqua);
  PumpFor(50);
  EXPECT_EQ(1, changes);
  EXPECT_EQ(RGBOf(clAqua), ScreenPixel(styled.get(), 60, 60)) << "repainted on the screen";
  controller.GetStyle()->SetBorderStyle(cbs3D);
  PumpFor(50);
  EXPECT_EQ(2, changes);
  EXPECT_EQ(RGBOf(clBtnShadow), ScreenPixel(styled.get(), 0, 0));
  EXPECT_EQ(TRect(2, 2, 118, 22), styled->Bar->GetBoundsRect());
  styled.reset();
  controller.GetStyle()->SetColor(clLime);
  EXPECT_EQ(2, changes) << "a freed popup's style left the controller";
}

// The kind of view info the go dialog has: two raised rings around its
// bounds, the face inside.
class TRingViewInfo : public TcxContainerViewInfo {
public:
  void Paint(TcxCanvas* ACanvas) override {
    TRect r = Bounds;
    ACanvas->DrawEdge(r, false, true);
    InflateRect(&r, -1, -1);
    ACanvas->DrawEdge(r, false, false);
    ACanvas->FillRect(ClientRect, clBtnFace);
  }
};

class TRedBorderStyle : public TcxContainerStyle {
public:
  using TcxContainerStyle::TcxContainerStyle;
  TColor GetDefaultBorderColor() const override { return clRed; }
};

class TRingPopup : public TTestPopup {
public:
  using TTestPopup::TTestPopup;
  std::unique_ptr<TcxContainerStyle> CreateStyle() override {
    return std::make_unique<TRedBorderStyle>(this, false);
  }
  std::unique_ptr<TcxContainerViewInfo> CreateViewInfo() override {
    return std::make_unique<TRingViewInfo>();
  }
};

TEST_F(PopupTest, DescendantsNameTheClassesOfTheirStyleAndViewInfo) {
  TRingPopup ring(owner);
  ring.AnchorParent = owner;
  ring.AnchorBounds = owner->GetClientRect();
  ring.SetCaptureFocus(false);
  EXPECT_EQ(clRed, ring.GetStyle()->GetBorderColor());
  TcxContainerViewInfo* info = ring.GetViewInfo();
  ASSERT_NE(nullptr, dynamic_cast<TRingViewInfo*>(info));
  ring.Child->SetBounds(0, 0, 60, 40);
  ring.Popup(owner);
  PumpFor(30);
  info->Bounds = TRect(0, 0, 60, 40);
  info->ClientRect = TRect(2, 2, 58, 38);
  ring.Child->Hide();
  const guitest::TCapture capture = guitest::TCapture::Paint(ring.GetHandle());
  capture.SavePng("popup_ring");
  EXPECT_EQ(RGBOf(cl3DLight), capture.Pixel(0, 0));
  EXPECT_EQ(RGBOf(clBtnHighlight), capture.Pixel(1, 1));
  EXPECT_EQ(RGBOf(clBtnShadow), capture.Pixel(58, 38));
  EXPECT_EQ(RGBOf(cl3DDkShadow), capture.Pixel(59, 39));
  EXPECT_EQ(RGBOf(clBtnFace), capture.Pixel(30, 20));
  ring.ClosePopup(false);
}

} // namespace
