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
