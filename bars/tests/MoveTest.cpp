// Moving, docking, floating and sizing toolbars with the mouse.
#include "BarsTest.h"
#include "InputScript.h"

#include "GuiTest.h"

#include "Forms.h"

namespace {

void MouseAt(POINT p, DWORD flags = 0) {
  guitest::SendMouseAt(p, flags);
}

POINT Plus(POINT p, int dx, int dy) {
  return POINT{p.x + dx, p.y + dy};
}

class MoveTest : public BarsTest {
protected:
  // Bars of two caption buttons each.
  void BuildBars(int count) {
    Build([count](TdxBarManager* m) {
      for (int i = 0; i < count; ++i) {
        TdxBar* bar = m->GetBars()->Add();
        bar->SetCaption("Bar" + IntToStr(i + 1));
        for (int j = 0; j < 2; ++j)
          AddLink(bar->GetItemLinks(), AddButton(m, "B" + IntToStr(i) + IntToStr(j), "Item"));
      }
    });
    Manager->SetStyle(bmsStandard);
    Form->SetBounds(60, 60, 700, 500);
    Form->Show();
    SetActiveWindow(Form->GetHandle());
    guitest::PumpUntil([&] { return GetActiveWindow() == Form->GetHandle(); });
  }

  TdxBar* Bar(int i) const { return Manager->GetBars()->GetItem(i); }
  TdxBarControl* Window(int i) const { return Bar(i)->GetBarControl(); }
  TdxDockControl* Dock(TdxBarDockingStyle style) const { return Manager->GetBars()->GetDockControl(style); }

  void ShowDocked(int i, int row, int left = 0) {
    Bar(i)->SetDockingStyle(dsTop);
    Bar(i)->SetRow(row);
    Bar(i)->OneOnRow = true;
    Bar(i)->SetDockedLeft(left);
    Bar(i)->SetVisible(true);
  }
  void ShowFloating(int i, int left, int top) {
    Bar(i)->SetDockingStyle(dsNone);
    Bar(i)->SetFloatValue(1, left);
    Bar(i)->SetFloatValue(2, top);
    Bar(i)->SetFloatValue(3, 200);
    Bar(i)->SetVisible(true);
    guitest::PumpFor(50);
  }

  // Screen points: the grip of a docked bar, the caption of a floating one.
  POINT Grip(int i) const {
    RECT r;
    GetWindowRect(Window(i)->GetHandle(), &r);
    return POINT{r.left + 3, (r.top + r.bottom) / 2};
  }
  POINT Caption(int i) const {
    const TRect close = Window(i)->GetCloseButtonRect();
    return Window(i)->ClientToScreen(TPoint(close.left - 20, (close.top + close.bottom) / 2));
  }
  int RowOf(int i) const {
    TdxDockControl* dock = Window(i)->GetDockControl();
    for (int r = 0; dock && r < dock->GetRowCount(); ++r)
      for (const TdxDockCol& col : dock->GetRow(r).Cols)
        if (col.BarControl == Window(i)) return r;
    return -1;
  }
  void TearDown() override { MovePointerOff(nullptr); }
};

class MoveRowTest : public MoveTest, public testing::WithParamInterface<std::pair<int, String>> {};

} // namespace

// Three bars on rows of their own; the last is dragged up until its leading
// edge stands d pixels below the first row's top.
TEST_P(MoveRowTest, TheLeadingEdgeBelowARowsTopChoosesTheRow) {
  const auto [d, rows] = GetParam();
  BuildBars(3);
  for (int i = 0; i < 3; ++i)
    ShowDocked(i, i);
  ASSERT_EQ(Dock(dsTop)->GetRowCount(), 3);
  const int top = Window(2)->GetTop();
  ASSERT_GT(Dock(dsTop)->GetRowThickness(0), 23);
  const POINT from = Grip(2), to = Plus(from, 0, d - top);
  TInputScript script({{0, [&] { MouseAt(from, MOUSEEVENTF_LEFTDOWN); }},
                       {60, [&] { MouseAt(Plus(from, 0, (d - top) / 2)); }},
                       {60, [&] { MouseAt(to); }},
                       {60, [&] { MouseAt(to, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(script.Run());
  guitest::PumpFor(50);
  String got;
  TdxDockControl* dock = Dock(dsTop);
  for (int r = 0; r < dock->GetRowCount(); ++r) {
    if (r) got += "|";
    String row;
    for (const TdxDockCol& col : dock->GetRow(r).Cols)
      row += col.BarControl->GetBar()->GetCaption().back();
    std::sort(row.begin(), row.end());
    got += row;
  }
  EXPECT_EQ(got, rows) << "leading edge " << d << " pixels below the first row's top";
  EXPECT_EQ(Bar(2)->GetRow(), RowOf(2)) << "the row is stored when the move ends";
  EXPECT_FALSE(Manager->GetBars()->IsMoving());
}

INSTANTIATE_TEST_SUITE_P(Zones, MoveRowTest,
                         testing::Values(std::make_pair(4, String("13|2")),
                                         std::make_pair(9, String("1|3|2")),
                                         std::make_pair(13, String("1|3|2")),
                                         std::make_pair(14, String("1|23"))));

TEST_F(MoveTest, AFloatingBarDocksOnlyWhenTheMouseRestsOverTheDock) {
  BuildBars(2);
  ShowDocked(0, 0);
  ShowFloating(1, 200, 300);
  Manager->SetWaitForDockingTime(600);
  TdxBarControl* window = Window(1);
  RECT dock;
  GetWindowRect(Dock(dsTop)->GetHandle(), &dock);
  const POINT from = Caption(1), over{dock.left + 300, dock.bottom - 2};
  TdxBarDockingStyle whileMoving = dsTop;
  TInputScript script({{0, [&] { MouseAt(from, MOUSEEVENTF_LEFTDOWN); }},
                       {60, [&] { MouseAt(Plus(from, 20, -100)); }},
                       {60, [&] { MouseAt(over); }},
                       {150, [&] { whileMoving = Window(1)->GetDockingStyle(); }},
                       {1200, [&] { MouseAt(over, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(script.Run());
  EXPECT_EQ(whileMoving, dsNone) << "not docked while the docking time runs";
  EXPECT_EQ(Window(1), window) << "the same window object goes into the dock";
  EXPECT_EQ(window->GetDockingStyle(), dsTop);
  EXPECT_EQ(window->GetDockControl(), Dock(dsTop));
  EXPECT_EQ(Bar(1)->GetDockingStyle(), dsTop);
  EXPECT_EQ(Manager->GetBars()->MovingControl, nullptr);
}

TEST_F(MoveTest, CtrlKeepsADraggedBarFloatingAndItsReleaseStepsAgain) {
  BuildBars(1);
  ShowFloating(0, 200, 300);
  Manager->SetWaitForDockingTime(300);
  RECT start;
  GetWindowRect(Window(0)->GetHandle(), &start);
  RECT dock;
  GetWindowRect(Dock(dsTop)->GetHandle(), &dock);
  const POINT from = Caption(0), over{from.x + 40, dock.bottom + 5};
  RECT moved{};
  TdxBarDockingStyle held = dsTop, released = dsNone;
  // The pointer rests over the dock while Ctrl goes down and up (Wine takes
  // the modifiers from the display's pointer events).
  TInputScript script({{0, [&] { MouseAt(from, MOUSEEVENTF_LEFTDOWN); }},
                       {60, [&] { MouseAt(Plus(from, 10, -50)); }},
                       {60, [&] { MouseAt(over); }},
                       {50,
                        [&] {
                          GetWindowRect(Window(0)->GetHandle(), &moved);
                          guitest::KeyDown(VK_CONTROL);
                        }},
                       {600,
                        [&] {
                          held = Window(0)->GetDockingStyle();
                          guitest::KeyUp(VK_CONTROL);
                        }},
                       {700, [&] { released = Window(0)->GetDockingStyle(); }},
                       {10, [&] { MouseAt(over, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(script.Run());
  EXPECT_EQ(moved.left - start.left, over.x - from.x) << "the cursor keeps its place on the window";
  EXPECT_EQ(moved.top - start.top, over.y - from.y);
  EXPECT_EQ(held, dsNone) << "Ctrl keeps it floating over the dock past the docking time";
  EXPECT_EQ(released, dsTop) << "releasing Ctrl steps again with the pointer at rest";
  EXPECT_EQ(Bar(0)->GetDockingStyle(), dsTop);
}

TEST_F(MoveTest, EscEndsAMoveWhereTheLastStepPutTheBar) {
  BuildBars(1);
  ShowDocked(0, 0);
  RECT left;
  GetWindowRect(Dock(dsLeft)->GetHandle(), &left);
  const POINT from = Grip(0), into{left.left + 5, left.top + 150}, further{left.left + 300, left.top + 250};
  TdxBarDockingStyle afterStep = dsNone;
  TInputScript script({{0, [&] { MouseAt(from, MOUSEEVENTF_LEFTDOWN); }},
                       {60, [&] { MouseAt(Plus(from, 5, 60)); }},
                       {60, [&] { MouseAt(into); }},
                       {100,
                        [&] {
                          afterStep = Window(0)->GetDockingStyle();
                          guitest::KeyDown(VK_ESCAPE);
                          guitest::KeyUp(VK_ESCAPE);
                        }},
                       {100, [&] { MouseAt(further); }},
                       {60, [&] { MouseAt(further, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(script.Run());
  EXPECT_EQ(afterStep, dsLeft) << "a docked bar goes into another dock at once";
  EXPECT_EQ(Window(0)->GetDockingStyle(), dsLeft) << "moves after Esc do nothing";
  EXPECT_EQ(Bar(0)->GetDockingStyle(), dsLeft);
  EXPECT_FALSE(Manager->GetBars()->IsMoving());
}

TEST_F(MoveTest, ADoubleClickOnTheGripOrCaptionTogglesDocking) {
  BuildBars(3);
  ShowDocked(0, 0);
  ShowDocked(1, 1);
  // Floating with no docked place: alone on a new last row of the top dock.
  ShowFloating(2, 250, 300);
  Bar(2)->SetDockedDockingStyle(dsNone);
  POINT p = Caption(2);
  TdxBarControl* window = Window(2);
  guitest::DoubleClickAt(window->GetHandle(), p.x - window->GetClientOrigin().x,
                         p.y - window->GetClientOrigin().y);
  guitest::PumpFor(100);
  ASSERT_EQ(Bar(2)->GetDockingStyle(), dsTop);
  EXPECT_EQ(RowOf(2), 2);
  EXPECT_EQ(Dock(dsTop)->GetRow(2).Cols.size(), 1u);
  // Docked: floats.
  p = Grip(0);
  window = Window(0);
  guitest::DoubleClickAt(window->GetHandle(), p.x - window->GetClientOrigin().x,
                         p.y - window->GetClientOrigin().y);
  guitest::PumpFor(100);
  EXPECT_EQ(Bar(0)->GetDockingStyle(), dsNone);
  ASSERT_NE(Window(0), nullptr);
  EXPECT_EQ(Bar(0)->GetDockedDockingStyle(), dsTop) << "its docked place is kept";
  // And back to that place.
  p = Caption(0);
  window = Window(0);
  guitest::DoubleClickAt(window->GetHandle(), p.x - window->GetClientOrigin().x,
                         p.y - window->GetClientOrigin().y);
  guitest::PumpFor(100);
  EXPECT_EQ(Bar(0)->GetDockingStyle(), dsTop);
}

TEST_F(MoveTest, SizingAFloatingBarWrapsItsLinks) {
  BuildBars(1);
  for (int i = 0; i < 4; ++i)
    AddLink(Bar(0)->GetItemLinks(), AddButton(Manager, "Extra" + IntToStr(i), "Item"));
  ShowFloating(0, 200, 250);
  TdxBarControl* window = Window(0);
  RECT before;
  GetWindowRect(window->GetHandle(), &before);
  const int bw = window->GetBorderWidth(dsNone), bh = window->GetBorderHeight(dsNone);
  // The left edge by real input: the right edge stays, the height follows
  // the wrapping.
  const POINT from{before.left + 1, (before.top + before.bottom) / 2};
  const int target = (before.right - before.left) / 2;
  const POINT to{before.right - target, from.y};
  TInputScript script({{0, [&] { MouseAt(from, MOUSEEVENTF_LEFTDOWN); }},
                       {80, [&] { MouseAt(Plus(from, 10, 0)); }},
                       {80, [&] { MouseAt(to); }},
                       {150, [&] { MouseAt(to, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(script.Run());
  guitest::PumpFor(100);
  RECT after;
  GetWindowRect(window->GetHandle(), &after);
  EXPECT_EQ(after.right, before.right);
  EXPECT_LT(after.right - after.left, before.right - before.left);
  EXPECT_GT(after.bottom - after.top, before.bottom - before.top) << "more lines";
  const SIZE wrapped = window->CalcSizeForWidth(dsNone, after.right - after.left - bw);
  EXPECT_EQ(after.right - after.left, wrapped.cx + bw);
  EXPECT_EQ(after.bottom - after.top, wrapped.cy + bh);
  EXPECT_EQ(Bar(0)->GetFloatValue(3), window->GetClientWidth()) << "the size is stored";

  // Corners do not size, and the top never goes above -15.
  const struct {
    WPARAM edge;
    RECT proposed;
  } cases[] = {{WMSZ_TOPLEFT, {after.left - 30, after.top - 30, after.right, after.bottom}},
               {WMSZ_BOTTOMRIGHT, {after.left, after.top, after.right + 40, after.bottom + 40}}};
  for (const auto& c : cases) {
    RECT r = c.proposed;
    EXPECT_EQ(SendMessageA(window->GetHandle(), WM_SIZING, c.edge, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(TRect(r), TRect(after)) << c.edge;
  }
  RECT high{after.left, -40, after.right, after.bottom - after.top - 40};
  SendMessageA(window->GetHandle(), WM_SIZING, WMSZ_BOTTOM, reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(high.top, -15);
  EXPECT_GT(high.bottom, -15);
}

TEST_F(MoveTest, FloatingWindowsStayOnTheWorkArea) {
  BuildBars(1);
  ShowFloating(0, 200, 250);
  TdxBarControl* window = Window(0);
  POINT cursor;
  GetCursorPos(&cursor);
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  const int w = window->GetWidth(), h = window->GetHeight();
  const struct {
    int x, y, wantX, wantY;
  } cases[] = {
      {static_cast<int>(area.left) - w - 50, 100, static_cast<int>(area.left), 100},
      {100, static_cast<int>(area.top) - h, 100, static_cast<int>(area.top)},
      {static_cast<int>(area.right) + 10, 120, static_cast<int>(area.right) - w, 120},
      {130, static_cast<int>(area.bottom), 130, static_cast<int>(area.bottom) - h},
      {static_cast<int>(area.left) - w + 5, 140, static_cast<int>(area.left) - w + 5, 140}, // a part shows
  };
  for (const auto& c : cases) {
    SetWindowPos(window->GetHandle(), nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(window->GetHandle(), &r);
    EXPECT_EQ(r.left, c.wantX) << c.x << "," << c.y;
    EXPECT_EQ(r.top, c.wantY) << c.x << "," << c.y;
  }
}

TEST_F(MoveTest, TheCloseButtonClosesTheBarOnlyWhenReleasedOverIt) {
  BuildBars(1);
  ShowFloating(0, 200, 250);
  std::vector<TdxBar*> closed;
  Manager->OnBarClose = [&](TObject*, TdxBar* bar) { closed.push_back(bar); };
  TdxBarControl* window = Window(0);
  const TRect button = window->GetCloseButtonRect();
  const POINT on =
      window->ClientToScreen(TPoint((button.left + button.right) / 2, (button.top + button.bottom) / 2));
  const POINT off{on.x - 60, on.y + 40};
  int pressedState = -1, offState = -1;
  TInputScript away({{0, [&] { MouseAt(on, MOUSEEVENTF_LEFTDOWN); }},
                     {100, [&] { pressedState = window->GetCloseButtonState(); }},
                     {10, [&] { MouseAt(off); }},
                     {100, [&] { offState = window->GetCloseButtonState(); }},
                     {10, [&] { MouseAt(off, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(away.Run());
  EXPECT_EQ(pressedState, 2);
  EXPECT_EQ(offState, 1) << "hot while the pointer is off the button";
  EXPECT_TRUE(Bar(0)->GetVisible());
  EXPECT_TRUE(closed.empty());
  EXPECT_EQ(window->GetCloseButtonState(), 0);
  guitest::PumpFor(static_cast<int>(GetDoubleClickTime()) + 100); // no double click
  TInputScript over({{0, [&] { MouseAt(on, MOUSEEVENTF_LEFTDOWN); }},
                     {100, [&] { MouseAt(off); }},
                     {60, [&] { MouseAt(on); }},
                     {60, [&] { MouseAt(on, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(over.Run());
  guitest::PumpFor(50);
  EXPECT_FALSE(Bar(0)->GetVisible());
  EXPECT_EQ(closed, (std::vector<TdxBar*>{Bar(0)}));
}
