// Dock controls: rows of toolbar windows and the dock's size.
#include "BarsTest.h"

#include "GuiTest.h"

#include "Forms.h"

namespace {

class DockTest : public BarsTest {
protected:
  // Bars of the given numbers of caption buttons.
  void BuildBars(std::vector<int> buttons) {
    Build([buttons](TdxBarManager* m) {
      int n = 0;
      for (int count : buttons) {
        TdxBar* bar = m->GetBars()->Add();
        for (int i = 0; i < count; ++i, ++n)
          AddLink(bar->GetItemLinks(), AddButton(m, "B" + IntToStr(n + 1), "Button" + IntToStr(n + 1)));
      }
    });
    Manager->SetStyle(bmsStandard); // no recent-use choice: links drop in order
    Form->SetBounds(50, 50, 640, 400);
    Form->Show();
  }

  TdxDockControl* MakeDock(TdxBarDockingStyle style) {
    auto* dock = new TdxDockControl(Form.get(), Manager, style);
    dock->SetParent(Form.get());
    return dock;
  }

  // Docks the bar's window by code at a point along the dock.
  TdxBarControl* DockBar(TdxDockControl* dock, int index, int along = 0) {
    TdxBar* bar = Manager->GetBars()->GetItem(index);
    auto* window = new TdxBarControl(Manager, bar);
    window->SetDockingStyle(dock->GetDockingStyle());
    window->SetParent(dock);
    window->SetVisible(true);
    const TPoint p = dock->IsVertical() ? TPoint(0, along) : TPoint(along, 0);
    dock->InsertBarControl(window, dock->ClientToScreen(p), true);
    return window;
  }
};

} // namespace

TEST_F(DockTest, BarsThatDoNotFitShrinkFromTheLast) {
  BuildBars({4, 4, 4});
  TdxDockControl* dock = MakeDock(dsTop);
  std::vector<TdxBarControl*> w;
  for (int i = 0; i < 3; ++i)
    w.push_back(DockBar(dock, i, 1000));
  ASSERT_EQ(dock->GetRowCount(), 1);
  const int d = dock->GetClientWidth();
  ASSERT_LT(d, w[0]->MaxLength + w[1]->MaxLength + w[2]->MaxLength) << "the maxima exceed the dock";
  EXPECT_EQ(w[0]->GetLeft(), 0);
  EXPECT_EQ(w[0]->GetWidth(), w[0]->MaxLength) << "the first keeps its length";
  EXPECT_FALSE(w[0]->GetTruncated());
  EXPECT_GE(w[1]->GetLeft(), w[0]->GetLeft() + w[0]->GetWidth());
  EXPECT_LE(w[1]->GetLeft(), w[0]->MaxLength) << "never right of its predecessors' maxima";
  EXPECT_TRUE(w[2]->GetTruncated()) << "the last shrinks first";
  EXPECT_EQ(w[2]->GetLeft() + w[2]->GetWidth(), d) << "a truncated last bar reaches the dock's end";
  EXPECT_TRUE(w[2]->MarkVisible());
  // A truncated bar shows the links that fit, in their order.
  TdxBarItemLinks* links = w[2]->GetBar()->GetItemLinks();
  const int client = w[2]->GetClientWidth();
  int placed = 0;
  for (int i = 0; i < links->GetCount(); ++i)
    if (links->GetItem(i)->ItemRect.Width() > 0) {
      EXPECT_EQ(i, placed++) << "links drop from the end";
      EXPECT_LE(links->GetItem(i)->ItemRect.right, client - 11) << "left of the mark";
    }
  EXPECT_LT(placed, 4);
  for (TdxBarControl* window : w)
    EXPECT_EQ(window->GetHeight(), w[0]->GetHeight()) << "all bars of a row equally thick";
  EXPECT_EQ(dock->GetHeight(), w[0]->GetHeight());
  guitest::TCapture::Paint(Form->GetHandle()).SavePng("bars_dock_shrunk");
}

TEST_F(DockTest, BarsOfARowAreEquallyThick) {
  BuildBars({1, 2});
  Manager->GetBars()->GetItem(1)->GetItemLinks()->GetItem(0)->GetItem()->SetCaption("Tall\ncaption");
  TdxDockControl* dock = MakeDock(dsTop);
  TdxBarControl* first = DockBar(dock, 0);
  TdxBarControl* second = DockBar(dock, 1, 200);
  EXPECT_EQ(first->GetHeight(), second->GetHeight());
  EXPECT_EQ(dock->GetRowCount(), 1);
}

TEST_F(DockTest, AWholeRowBarNeverSharesARow) {
  BuildBars({2, 2, 2});
  Manager->GetBars()->GetItem(1)->SetWholeRow(true);
  TdxDockControl* dock = MakeDock(dsTop);
  TdxBarControl* first = DockBar(dock, 0);
  TdxBarControl* whole = DockBar(dock, 1, 300);
  ASSERT_EQ(dock->GetRowCount(), 2) << "dropped into an occupied row, it gets a new one";
  EXPECT_EQ(whole->GetWidth(), dock->GetClientWidth()) << "and the whole row";
  EXPECT_EQ(whole->GetTop(), 0) << "the new row stands where it was dropped";
  EXPECT_EQ(first->GetTop(), whole->GetHeight());
  // Another bar dropped into the whole row's row gets a row of its own too.
  TdxBarControl* third = DockBar(dock, 2, 300);
  EXPECT_EQ(dock->GetRowCount(), 3);
  for (int r = 0; r < dock->GetRowCount(); ++r)
    EXPECT_EQ(dock->GetRow(r).Cols.size(), 1u);
  EXPECT_EQ(third->GetTop(), 0);
  EXPECT_EQ(dock->GetHeight(), dock->GetRowsSize());
}

TEST_F(DockTest, RightAndBottomDocksKeepTheirOuterEdge) {
  BuildBars({2, 2});
  TdxDockControl* right = MakeDock(dsRight);
  TdxDockControl* bottom = MakeDock(dsBottom);
  const int clientWidth = Form->GetClientWidth(), clientHeight = Form->GetClientHeight();
  DockBar(right, 0);
  DockBar(bottom, 1);
  EXPECT_GT(right->GetWidth(), 0);
  EXPECT_EQ(right->GetLeft() + right->GetWidth(), clientWidth);
  EXPECT_GT(bottom->GetHeight(), 0);
  EXPECT_EQ(bottom->GetTop() + bottom->GetHeight(), clientHeight);
}

TEST_F(DockTest, AnEmptyDockIsZeroPixelsThick) {
  BuildBars({2});
  TdxDockControl* dock = MakeDock(dsTop);
  EXPECT_EQ(dock->GetHeight(), 0);
  TdxBarControl* window = DockBar(dock, 0);
  EXPECT_GT(dock->GetHeight(), 0);
  dock->RemoveBarControl(window, true);
  EXPECT_EQ(dock->GetRowCount(), 0);
  EXPECT_EQ(dock->GetHeight(), 0);
}

TEST_F(DockTest, StoredRowNumbersNeverMakeMoreRowsThanBars) {
  Build([](TdxBarManager* m) {
    for (int row : {1000000, 1}) {
      TdxBar* bar = m->GetBars()->Add();
      AddLink(bar->GetItemLinks(), AddButton(m, "B" + IntToStr(row)));
      bar->SetDockingStyle(dsTop);
      bar->SetRow(row);
      bar->SetVisible(true);
    }
  });
  TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
  EXPECT_LE(dock->GetRowCount(), Manager->GetBars()->GetCount());
  EXPECT_EQ(dock->GetRow(dock->GetRowCount() - 1).Cols.size(), 1u)
      << "the huge row is the row after the last";
}

TEST_F(DockTest, ShownBarsGetWindowsInTheirDocks) {
  BuildBars({2, 2});
  TdxBar* docked = Manager->GetBars()->GetItem(0);
  docked->SetDockingStyle(dsTop);
  docked->SetVisible(true);
  TdxDockControl* top = Manager->GetBars()->GetDockControl(dsTop);
  ASSERT_NE(docked->GetBarControl(), nullptr);
  EXPECT_EQ(docked->GetBarControl()->GetParent(), top);
  EXPECT_EQ(docked->GetBarControl()->GetDockControl(), top);
  EXPECT_GT(top->GetHeight(), 0);
  EXPECT_EQ(top->GetTop(), 0) << "the automatic top dock lies along the form's top";
  docked->SetVisible(false);
  EXPECT_EQ(docked->GetBarControl(), nullptr) << "hiding frees the window";
  EXPECT_EQ(top->GetHeight(), 0);

  // A floating bar shown while its form is inactive gets a window that
  // stays hidden.
  SetActiveWindow(GetDesktopWindow());
  TdxBar* floating = Manager->GetBars()->GetItem(1);
  floating->SetFloatValue(1, 300);
  floating->SetFloatValue(2, 300);
  if (GetActiveWindow() != Form->GetHandle()) {
    floating->SetVisible(true);
    ASSERT_NE(floating->GetBarControl(), nullptr);
    EXPECT_FALSE(floating->GetBarControl()->GetVisible());
    floating->SetVisible(false);
  }
  SetActiveWindow(Form->GetHandle());
  ASSERT_TRUE(guitest::PumpUntil([&] { return GetActiveWindow() == Form->GetHandle(); }));
  floating->SetVisible(true);
  ASSERT_NE(floating->GetBarControl(), nullptr);
  EXPECT_TRUE(IsWindowVisible(floating->GetBarControl()->GetHandle()));
  EXPECT_EQ(floating->GetBarControl()->GetLeft(), 300);
}

TEST_F(DockTest, CanDockingAsksTheBarTheManagerThePlacedDockAndOnDocking) {
  BuildBars({1});
  TdxBar* bar = Manager->GetBars()->GetItem(0);
  TdxDockControl* top = Manager->GetBars()->GetDockControl(dsTop);
  TdxDockControl* left = Manager->GetBars()->GetDockControl(dsLeft);
  auto* placed = new TdxBarDockControl(Form.get());
  placed->SetParent(Form.get());
  placed->SetBarManager(Manager);
  bar->NotDocking = TdxBarDockingStyles{dsLeft};
  Manager->NotDocking = TdxBarDockingStyles{dsTop};
  const struct {
    TdxBarDockingStyle style;
    TdxDockControl* dock;
    bool allowDocking, expected;
  } cases[] = {
      {dsLeft, left, true, false},   // the bar refuses the style
      {dsTop, top, true, false},     // the manager refuses it at its own docks
      {dsTop, placed, true, true},   // a placed dock answers for itself
      {dsTop, placed, false, false}, // and may refuse
      {dsBottom, nullptr, true, true}, {dsNone, nullptr, true, true},
  };
  for (const auto& c : cases) {
    placed->AllowDocking = c.allowDocking;
    EXPECT_EQ(Manager->CanDocking(bar, c.style, c.dock), c.expected) << c.style << " " << c.allowDocking;
  }
  // OnDocking sees the answer and has the last word.
  std::vector<bool> seen;
  Manager->OnDocking = [&](TdxBar* sender, TdxBarDockingStyle style, TdxDockControl* dock, bool& can) {
    EXPECT_EQ(sender, bar);
    seen.push_back(can);
    can = style == dsTop && dock == top;
  };
  EXPECT_TRUE(Manager->CanDocking(bar, dsTop, top));
  EXPECT_FALSE(Manager->CanDocking(bar, dsBottom, nullptr));
  EXPECT_EQ(seen, (std::vector<bool>{false, true}));
}

TEST_F(DockTest, DockControlHeightsAreTheAutomaticDocksSizes) {
  BuildBars({1});
  Manager->SetDockControlHeights(5, 6, 7, 8);
  int sizes[4];
  Manager->GetDockControlHeights(sizes);
  EXPECT_EQ(std::vector<int>(sizes, sizes + 4), (std::vector<int>{5, 6, 7, 8})) << "left, right, top, bottom";
  TdxBars* bars = Manager->GetBars();
  EXPECT_EQ(bars->GetDockControl(dsLeft)->GetWidth(), 5);
  EXPECT_EQ(bars->GetDockControl(dsRight)->GetWidth(), 6);
  EXPECT_EQ(bars->GetDockControl(dsTop)->GetHeight(), 7);
  EXPECT_EQ(bars->GetDockControl(dsBottom)->GetHeight(), 8);
}

TEST_F(DockTest, AnEmptyPlacedDockIsZeroPixelsThick) {
  BuildBars({2});
  auto* placed = new TdxBarDockControl(Form.get());
  placed->SetParent(Form.get());
  placed->SetBarManager(Manager);
  EXPECT_EQ(placed->GetHeight(), 0);
  TdxBarControl* window = DockBar(placed, 0);
  EXPECT_GT(placed->GetHeight(), 0);
  placed->RemoveBarControl(window, true);
  EXPECT_EQ(placed->GetHeight(), 0);
}

namespace {

// Two rows, one bar each, in a dock of the style.
class DockZoneTest : public DockTest, public testing::WithParamInterface<TdxBarDockingStyle> {};

} // namespace

TEST_P(DockZoneTest, RowZonesJoinARowOrStartOne) {
  BuildBars({2, 2});
  TdxDockControl* dock = MakeDock(GetParam());
  for (int i = 0; i < 2; ++i) {
    TdxBar* bar = Manager->GetBars()->GetItem(i);
    bar->OneOnRow = true;
    bar->SetRow(i);
    DockBar(dock, i);
  }
  ASSERT_EQ(dock->GetRowCount(), 2);
  const bool vertical = dock->IsVertical(), farSide = GetParam() == dsRight || GetParam() == dsBottom;
  const int t = dock->GetRowThickness(0), size = dock->GetRowsSize();
  ASSERT_GE(t, 15);
  auto at = [&](int across) {
    const TPoint client = vertical ? TPoint(across, 5) : TPoint(5, across);
    bool newRow = false;
    const int row = dock->RowFromPoint(dock->ClientToScreen(client), newRow);
    return std::make_pair(row, newRow);
  };
  using R = std::pair<int, bool>;
  if (!farSide) {
    // From a row's top: up to 8 pixels join it, 9 to 13 make a new row
    // after it, 14 or more join the next row.
    EXPECT_EQ(at(8), R(0, false));
    EXPECT_EQ(at(9), R(1, true));
    EXPECT_EQ(at(13), R(1, true));
    EXPECT_EQ(at(14), R(1, false));
    EXPECT_EQ(at(t + 8), R(1, false));
    EXPECT_EQ(at(t + 9), R(2, true));
    EXPECT_EQ(at(t + 14), R(2, true)) << "beyond the last row: a new row";
    EXPECT_EQ(at(-9), R(0, false)) << "the strip before the first row joins it";
    EXPECT_EQ(at(-14), R(0, true));
    EXPECT_EQ(at(-23), R(-1, false)) << "the near end of the zone";
  } else {
    // Mirrored: the new-row strip lies 14 to 10 pixels before a row's end.
    const int end0 = dock->GetRowThickness(0);
    EXPECT_EQ(at(end0 - 15), R(0, false));
    EXPECT_EQ(at(end0 - 14), R(1, true));
    EXPECT_EQ(at(end0 - 10), R(1, true));
    EXPECT_EQ(at(end0 - 9), R(1, false));
    EXPECT_EQ(at(size + 3), R(2, true)) << "beyond the last row: a new row";
  }
  // Snapping a point onto a row gives back that row.
  for (int row = 0; row <= 2; ++row)
    for (bool newRow : {false, true}) {
      const POINT p = dock->SnapToRow(row, newRow, dock->ClientToScreen(TPoint(5, 5)));
      bool gotNew = false;
      EXPECT_EQ(dock->RowFromPoint(p, gotNew), row) << row << newRow;
      EXPECT_EQ(gotNew, newRow || row == 2) << row << newRow;
    }
  // The docking zone: the dock widened by 23 pixels, across for every dock.
  const TRect zone = dock->GetDockingZone();
  const TPoint origin = Form->ClientToScreen(TPoint(dock->GetLeft(), dock->GetTop()));
  EXPECT_EQ(zone.left, origin.x - 23);
  EXPECT_EQ(zone.right, origin.x + dock->GetWidth() + 23);
  EXPECT_EQ(zone.top, origin.y - (vertical ? 0 : 23));
  EXPECT_EQ(zone.bottom, origin.y + dock->GetHeight() + (vertical ? 0 : 23));
}

INSTANTIATE_TEST_SUITE_P(Docks, DockZoneTest, testing::Values(dsTop, dsLeft, dsBottom, dsRight));

TEST_F(DockTest, DockColoursFollowTheManagerUnlessTheDockHasItsOwn) {
  BuildBars({1});
  Form->SetColor(clAqua);
  TdxDockControl* top = Manager->GetBars()->GetDockControl(dsTop);
  auto* placed = new TdxBarDockControl(Form.get());
  placed->SetParent(Form.get());
  placed->SetBarManager(Manager);
  EXPECT_EQ(top->GetColor(), clAqua) << "the form's colour while AutoDockColor";
  EXPECT_EQ(placed->GetColor(), clAqua);
  Manager->SetDockColor(clRed);
  EXPECT_FALSE(Manager->AutoDockColor);
  EXPECT_EQ(top->GetColor(), clRed);
  EXPECT_EQ(placed->GetColor(), clRed);
  EXPECT_FALSE(placed->GetUseOwnColor()) << "the manager's colour is not the dock's own";
  placed->SetColor(clBlue);
  EXPECT_TRUE(placed->GetUseOwnColor());
  Manager->SetDockColor(clLime);
  EXPECT_EQ(top->GetColor(), clLime);
  EXPECT_EQ(placed->GetColor(), clBlue) << "its own colour stays";
  placed->SetUseOwnColor(false);
  EXPECT_EQ(placed->GetColor(), clLime);
  Manager->SetAutoDockColor(true);
  EXPECT_EQ(top->GetColor(), clAqua);
  EXPECT_EQ(placed->GetColor(), clAqua);
}

TEST_F(DockTest, ABackgroundBitmapIsTiledUnderTheDockAndItsBars) {
  BuildBars({1});
  auto* placed = new TdxBarDockControl(Form.get());
  placed->SetParent(Form.get());
  placed->SetBarManager(Manager);
  TBitmap picture;
  picture.SetWidth(4);
  picture.SetHeight(3);
  auto colourAt = [](int x, int y) { return static_cast<COLORREF>(RGB(40 + 50 * x, 60 * y, 200)); };
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 3; ++y)
      SetPixel(picture.GetCanvas()->GetHandle(), x, y, colourAt(x, y));
  placed->SetBackgroundBitmap(&picture);
  EXPECT_TRUE(placed->HasOwnBackground());
  EXPECT_TRUE(placed->DoubleBuffered);
  TdxBarControl* window = DockBar(placed, 0);
  placed->SetHeight(placed->GetHeight() + 20); // room beside the bar
  guitest::PumpFor(100);
  const guitest::TCapture capture = guitest::TCapture::Paint(Form->GetHandle());
  capture.SavePng("bars_dock_background");
  // Below the bar: the dock's own picture.
  for (int x : {3, 30, 101})
    for (int y : {placed->GetHeight() - 3, placed->GetHeight() - 1}) {
      const TPoint p = Form->ScreenToClient(placed->ClientToScreen(TPoint(x, y)));
      EXPECT_EQ(capture.Pixel(p.x, p.y), colourAt(x % 4, y % 3)) << x << "," << y;
    }
  // Inside the bar around its button: the picture continues.
  const TRect item = window->GetBar()->GetItemLinks()->GetItem(0)->ItemRect;
  const TPoint inBar(item.left + 1, item.top + 1);
  const TPoint inDock = placed->ScreenToClient(window->ClientToScreen(inBar));
  const TPoint p = Form->ScreenToClient(window->ClientToScreen(inBar));
  EXPECT_EQ(capture.Pixel(p.x, p.y), colourAt(inDock.x % 4, inDock.y % 3));
}
