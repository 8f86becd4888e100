// View data and view info: border styles by hot state, the layout and
// states of embedded buttons, the size queries and what a recalculation
// invalidates.
#include "EditTest.h"

#include "cxEditPaintUtils.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// Properties, a style and a view info calculated without an editor.
struct TCalc {
  TCalc() { info = props.CreateViewInfo(); }
  TcxEditButton* AddButton(bool ALeft = false, TcxEditButtonKind AKind = bkDown, int AWidth = 0) {
    TcxEditButton* button = props.GetButtons()->Add();
    button->SetLeftAlignment(ALeft);
    button->SetKind(AKind);
    button->SetWidth(AWidth);
    return button;
  }
  void Run(const TRect& ABounds, const TPoint& P = TPoint(-1, -1), int AButton = 0,
           TShiftState AShift = TShiftState(), bool AFocused = false) {
    std::unique_ptr<TcxCustomEditViewData> data = props.CreateViewData(&style, false);
    data->Focused = AFocused;
    data->Calculate(&canvas, ABounds, P, AButton, AShift, info.get(), true);
  }
  const TcxEditButtonViewInfo& Button(int AIndex) const { return *info->ButtonsInfo.at(AIndex); }
  TTestProperties props{nullptr};
  TcxCustomEditStyle style{nullptr, false};
  std::unique_ptr<TcxCustomEditViewInfo> info;
  TcxScreenCanvas canvas;
};

const int kScrollWidth = GetSystemMetrics(SM_CYHSCROLL);

TEST(EditViewInfo, ContainerBorderStyleByHotStateAndEditBorderStyle) {
  const TcxContainerBorderStyle expected[3][6] = {{cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsSingle},
                                                  {cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsSingle},
                                                  {cbsFlat, cbsThick, cbsThick, cbs3D, cbs3D, cbsSingle}};
  for (int border = ebsNone; border <= ebsUltraFlat; ++border) {
    TCalc c;
    c.style.SetBorderStyle(static_cast<TcxContainerBorderStyle>(border));
    std::unique_ptr<TcxCustomEditViewData> data = c.props.CreateViewData(&c.style, false);
    for (int hot = 0; hot < 3; ++hot)
      EXPECT_EQ(expected[hot][border], data->GetEditContainerBorderStyle(hot)) << hot << " " << border;
    std::unique_ptr<TcxCustomEditViewData> inplace = c.props.CreateViewData(&c.style, true);
    EXPECT_EQ(cbsNone, inplace->GetEditContainerBorderStyle(2));
  }
}

TEST(EditViewInfo, HotStateFollowsHotTrackFocusAndTheMouse) {
  const struct {
    bool hotTrack;
    bool focused;
    bool mouseInside;
    int hotState;
    TcxContainerBorderStyle border;
  } cases[] = {
      {false, true, true, 0, cbsFlat},
      {true, false, false, 1, cbsFlat},
      {true, true, false, 2, cbs3D},
      {true, false, true, 2, cbs3D},
  };
  for (const auto& k : cases) {
    TCalc c;
    c.style.SetBorderStyle(cbsFlat);
    c.style.SetHotTrack(k.hotTrack);
    c.Run(TRect(0, 0, 100, 24), k.mouseInside ? TPoint(50, 10) : TPoint(-1, -1), 0, TShiftState(), k.focused);
    EXPECT_EQ(k.hotState, c.info->HotState) << k.hotTrack << k.focused << k.mouseInside;
    EXPECT_EQ(k.border, c.info->BorderStyle) << k.hotTrack << k.focused << k.mouseInside;
    EXPECT_EQ(k.mouseInside, c.info->ContainerState.Contains(cstHot));
  }
}

TEST(EditViewInfo, TwoRightButtonsTheLastIsTheRightmost) {
  TCalc c;
  c.style.SetBorderStyle(cbs3D);
  c.style.SetHotTrack(false);
  c.style.SetTransparentBorder(false);
  c.AddButton();
  c.AddButton();
  c.Run(TRect(0, 0, 120, 24));
  ASSERT_EQ(2, c.info->ButtonCount());
  EXPECT_EQ(0, c.Button(0).ButtonIndex);
  EXPECT_EQ(1, c.Button(1).ButtonIndex);
  EXPECT_EQ(118, c.Button(1).Bounds.right);
  EXPECT_EQ(c.Button(1).Bounds.left, c.Button(0).Bounds.right);
  EXPECT_EQ(kScrollWidth, c.Button(0).Bounds.Width());
  EXPECT_TRUE(c.Button(1).IsRightmost);
  EXPECT_TRUE(c.Button(0).IsLeftmost);
  EXPECT_FALSE(c.Button(1).IsLeftmost);
  EXPECT_EQ(bts3D, c.Button(0).ButtonStyle);
  // The client area ends where the buttons begin.
  EXPECT_EQ(c.Button(0).Bounds.left, c.info->ClientRect.right);
}

TEST(EditViewInfo, LeftAndRightGroupsAndTheHotFlatOverlap) {
  TCalc c;
  c.style.SetBorderStyle(cbsSingle);
  c.AddButton(true, bkEllipsis, 16);
  c.AddButton(true, bkEllipsis, 16);
  c.AddButton(false, bkDown, 16);
  c.Run(TRect(0, 0, 120, 24));
  ASSERT_EQ(3, c.info->ButtonCount());
  EXPECT_EQ(btsHotFlat, c.Button(0).ButtonStyle);
  // Button 1 is the last left one: the leftmost.
  EXPECT_EQ(2, c.Button(1).Bounds.left);
  EXPECT_TRUE(c.Button(1).IsLeftmost);
  EXPECT_TRUE(c.Button(0).IsRightmost);
  // The innermost of each group reaches one pixel into the content.
  EXPECT_EQ(18 + 16 + 1, c.Button(0).Bounds.right);
  EXPECT_EQ(118 - 16 - 1, c.Button(2).Bounds.left);
  EXPECT_EQ(16, c.Button(1).Bounds.Width());
  EXPECT_EQ(35, c.info->ClientRect.left);
  EXPECT_EQ(101, c.info->ClientRect.right);
}

TEST(EditViewInfo, AButtonWiderThanTheFreeAreaKeepsItsBoundsButShowsLess) {
  TCalc c;
  c.style.SetBorderStyle(cbs3D);
  c.AddButton(false, bkDown, 60);
  c.Run(TRect(0, 0, 40, 24));
  ASSERT_EQ(1, c.info->ButtonCount());
  EXPECT_EQ(60, c.Button(0).Bounds.Width());
  EXPECT_EQ(36, c.Button(0).VisibleBounds.Width());
  EXPECT_EQ(38, c.Button(0).VisibleBounds.right);
}

TEST(EditViewInfo, HiddenButtonsTakeNoSpaceUntilTheEditorIsHotOrFocused) {
  const struct {
    TcxEditButtonTransparency transparency;
    bool focused;
    bool hot;
    int count;
  } cases[] = {{ebtHideUnselected, false, false, 0}, {ebtHideUnselected, false, true, 1},
               {ebtHideUnselected, true, false, 1},  {ebtHideInactive, false, true, 0},
               {ebtHideInactive, true, false, 1},    {ebtNone, false, false, 1}};
  for (const auto& k : cases) {
    TCalc c;
    c.style.SetButtonTransparency(k.transparency);
    c.AddButton();
    c.Run(TRect(0, 0, 100, 24), k.hot ? TPoint(10, 10) : TPoint(-1, -1), 0, TShiftState(), k.focused);
    EXPECT_EQ(k.count, c.info->ButtonCount()) << k.transparency << k.focused << k.hot;
    if (k.count == 0) {
      EXPECT_EQ(98, c.info->ClientRect.right);
    }
  }
}

TEST(EditViewInfo, ButtonStatesByMouseAndKeys) {
  const struct {
    TPoint p;
    int button;
    TShiftState shift;
    int state;
  } cases[] = {
      {TPoint(90, 10), 0, TShiftState(), ebsSelected},      // hot
      {TPoint(90, 10), 0, TShiftState{ssCtrl}, ebsNormal},  // a key held: not hot
      {TPoint(90, 10), 1, TShiftState{ssLeft}, ebsPressed}, // left button down
      {TPoint(90, 10), 1, TShiftState{ssLeft, ssDouble}, ebsPressed},
      {TPoint(90, 10), 1, TShiftState{ssLeft, ssShift}, ebsNormal},
      {TPoint(10, 10), 1, TShiftState{ssLeft}, ebsNormal}, // outside the button
  };
  for (const auto& k : cases) {
    TCalc c;
    c.style.SetBorderStyle(cbs3D);
    c.AddButton();
    c.Run(TRect(0, 0, 100, 24), k.p, k.button, k.shift);
    ASSERT_EQ(1, c.info->ButtonCount());
    EXPECT_EQ(k.state, c.Button(0).State) << k.p.x << " " << k.button;
    EXPECT_EQ(k.state == ebsSelected ? 0 : -1, c.info->HotButton);
    EXPECT_EQ(k.state == ebsPressed ? 0 : -1, c.info->PressedButton);
  }
  TCalc disabled;
  disabled.AddButton();
  std::unique_ptr<TcxCustomEditViewData> data = disabled.props.CreateViewData(&disabled.style, false);
  data->Enabled = false;
  data->Calculate(&disabled.canvas, TRect(0, 0, 100, 24), TPoint(90, 10), 0, TShiftState(),
                  disabled.info.get(), false);
  EXPECT_EQ(ebsDisabled, disabled.Button(0).State);
}

TEST(EditViewInfo, AStillHeldButtonStaysPressedAndThePreviousPressedOneReturns) {
  TCalc c;
  c.style.SetBorderStyle(cbs3D);
  c.AddButton();
  c.Run(TRect(0, 0, 100, 24), TPoint(90, 10), 1, TShiftState{ssLeft});
  EXPECT_EQ(ebsPressed, c.Button(0).State);
  c.Run(TRect(0, 0, 100, 24), TPoint(91, 11), 0, TShiftState{ssLeft});
  EXPECT_EQ(ebsPressed, c.Button(0).State);
  c.Run(TRect(0, 0, 100, 24), TPoint(10, 10), 0, TShiftState{ssLeft});
  EXPECT_EQ(ebsNormal, c.Button(0).State);
}

TEST(EditViewInfo, SettingDefaultClearsTheOthersWithOneNotification) {
  TTestProperties props(nullptr);
  TcxEditButton* a = props.GetButtons()->Add();
  TcxEditButton* b = props.GetButtons()->Add();
  a->SetDefault(true);
  const int before = props.ChangedCount;
  b->SetDefault(true);
  EXPECT_EQ(before + 1, props.ChangedCount);
  EXPECT_FALSE(a->GetDefault());
  EXPECT_TRUE(b->GetDefault());
}

TEST(EditViewInfo, AGlyphIsMadeOnTheFirstReadAndItsChangesNotify) {
  TTestProperties props(nullptr);
  TcxEditButton* button = props.GetButtons()->Add();
  EXPECT_FALSE(button->HasGlyph());
  TBitmap* glyph = button->GetGlyph();
  EXPECT_TRUE(button->HasGlyph());
  const int before = props.ChangedCount;
  glyph->SetSize(8, 8);
  EXPECT_LT(before, props.ChangedCount);
  button->SetGlyph(nullptr);
  EXPECT_FALSE(button->HasGlyph());
}

TEST(EditViewInfo, AWidthLimitBelowTheFixedPartGivesThatWidth) {
  TCalc c;
  c.style.SetBorderStyle(cbs3D);
  c.AddButton(false, bkDown, 16);
  std::unique_ptr<TcxCustomEditViewData> data = c.props.CreateViewData(&c.style, false);
  SIZE size{0, 0};
  TcxEditSizeProperties limits;
  limits.Width = 10;
  data->CalculateEditorSize(&c.canvas, Variant(), size, limits);
  EXPECT_EQ(10, size.cx);
  limits.Width = -1;
  data->CalculateEditorSize(&c.canvas, Variant(), size, limits);
  EXPECT_EQ(2 + 2 + 16, size.cx);
  EXPECT_EQ(4, size.cy);
}

// The size query lays out in a rectangle that reaches INT_MAX: nothing
// wraps around.
TEST(EditViewInfo, MeasuringWithTheHugeRectangleDoesNotOverflow) {
  TCalc c;
  c.style.SetBorderStyle(cbsSingle);
  c.style.SetHotTrack(false);
  c.style.SetTransparentBorder(false);
  c.AddButton(true);
  c.AddButton(false);
  c.Run(TRect(0, 0, INT_MAX, INT_MAX));
  TRect hot;
  GetEditHotBounds(c.info.get(), c.info->Bounds, hot);
  EXPECT_EQ(INT_MAX, hot.right);
  EXPECT_EQ(INT_MAX, hot.bottom);
  EXPECT_GT(c.Button(1).Bounds.left, 0);
  EXPECT_GT(c.info->ClientRect.Width(), 0);
}

TEST(EditViewInfo, AnAutoSizeEditorIsAsHighAsItsGlyphButton) {
  TEditForm f;
  TcxEditButton* button = f.edit->GetProperties()->GetButtons()->Add();
  button->SetKind(bkGlyph);
  button->GetGlyph()->SetSize(20, 32);
  f.edit->GetStyle()->SetBorderStyle(cbs3D);
  f.edit->SetAutoSize(true);
  TcxScreenCanvas canvas;
  std::unique_ptr<TcxCustomEditViewData> data = f.edit->CreateViewData();
  TRect margins;
  GetEditContentMargins(&canvas, data.get(), margins);
  EXPECT_GE(f.edit->GetHeight(), 32 + margins.top + margins.bottom);
}

TEST(EditViewInfo, ARecalculationInvalidatesOnlyTheButtonThatChanged) {
  TCalc c;
  c.style.SetBorderStyle(cbs3D);
  c.AddButton();
  c.AddButton();
  c.Run(TRect(0, 0, 100, 24));
  std::unique_ptr<TcxCustomEditViewInfo> prev = c.props.CreateViewInfo();
  prev->Assign(c.info.get());
  c.Run(TRect(0, 0, 100, 24), TPoint(90, 10));
  ASSERT_EQ(ebsSelected, c.Button(1).State);
  std::unique_ptr<TcxRegion> region = c.info->GetUpdateRegion(prev.get());
  RECT box;
  GetRgnBox(region->GetHandle(), &box);
  EXPECT_EQ(c.Button(1).Bounds, TRect(box));
  // Unchanged: nothing to repaint.
  prev->Assign(c.info.get());
  region = c.info->GetUpdateRegion(prev.get());
  EXPECT_TRUE(IsRegionEmpty(region.get()));
  // Another border style: the whole editor.
  c.style.SetBorderStyle(cbsSingle);
  c.Run(TRect(0, 0, 100, 24), TPoint(90, 10));
  region = c.info->GetUpdateRegion(prev.get());
  GetRgnBox(region->GetHandle(), &box);
  EXPECT_EQ(TRect(0, 0, 100, 24), TRect(box));
}

TEST(EditViewInfo, OffsetMovesContentAndButtons) {
  TCalc c;
  c.AddButton();
  c.Run(TRect(0, 0, 100, 24));
  const TRect content = c.info->ContentRect;
  const TRect button = c.Button(0).Bounds;
  c.info->Offset(5, 7);
  EXPECT_EQ(content.left + 5, c.info->ContentRect.left);
  EXPECT_EQ(button.top + 7, c.Button(0).Bounds.top);
  EXPECT_EQ(button.left + 5, c.Button(0).VisibleBounds.left);
}

TEST(EditViewInfo, PopupBorderStyleByContainerBorder) {
  const struct {
    TcxContainerBorderStyle border;
    TcxEditPopupBorderStyle popup;
  } cases[] = {{cbsNone, epbsFlat}, {cbsSingle, epbsSingle}, {cbsFlat, epbsFlat}, {cbs3D, epbsSingle}};
  for (const auto& k : cases) {
    TCalc c;
    c.style.SetHotTrack(false);
    c.style.SetBorderStyle(k.border);
    c.Run(TRect(0, 0, 100, 24));
    EXPECT_EQ(k.popup, c.info->PopupBorderStyle) << k.border;
  }
}

} // namespace
