// Toolbar windows: how the links are broken into lines, aligned and dropped
// when they do not fit.
#include "BarsTest.h"

#include "GuiTest.h"

#include "Forms.h"

namespace {

class ToolbarLayoutTest : public BarsTest {
protected:
  // A bar of caption buttons of equal width; the listed links begin groups.
  void BuildBar(int count, std::vector<int> groups = {}) {
    Build([count, groups](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      for (int i = 0; i < count; ++i) {
        const bool group = std::find(groups.begin(), groups.end(), i) != groups.end();
        AddLink(bar->GetItemLinks(), AddButton(m, "B" + IntToStr(i), "Item"), group);
      }
    });
    Bar = Manager->GetBars()->GetItem(0);
    Form->SetBounds(50, 50, 640, 400);
    Form->Show();
  }

  // The bar's window with the docking style over the form, of the client size.
  TdxBarControl* MakeWindow(TdxBarDockingStyle style, int clientWidth, int clientHeight) {
    Window.reset(); // the links have one window at a time
    Window = std::make_unique<TdxBarControl>(Manager, Bar);
    Window->SetDockingStyle(style);
    Window->ParentWindow = Form->GetHandle();
    Window->SetBounds(0, 0, clientWidth + Window->GetBorderWidth(style),
                      clientHeight + Window->GetBorderHeight(style));
    Window->GetHandle();
    Window->LayoutLinks();
    return Window.get();
  }
  // A docked window in the form's top dock, placed by code.
  TdxBarControl* DockTop() {
    TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
    auto* window = new TdxBarControl(Manager, Bar);
    window->SetDockingStyle(dsTop);
    window->SetParent(dock);
    window->SetVisible(true);
    dock->InsertBarControl(window, dock->ClientToScreen(TPoint(0, 0)), true);
    return window;
  }

  TdxBarItemLink* Link(int i) const { return Bar->GetItemLinks()->GetItem(i); }
  TdxBarItemControl* Control(int i) const { return Link(i)->GetControl(); }
  TRect Rect(int i) const { return Link(i)->ItemRect; }
  String Placed() const {
    String s;
    for (int i = 0; i < Bar->GetItemLinks()->GetCount(); ++i)
      if (Rect(i).Width() > 0) s += static_cast<char>('A' + i);
    return s;
  }

  TdxBar* Bar = nullptr;
  std::unique_ptr<TdxBarControl> Window;
};

} // namespace

TEST_F(ToolbarLayoutTest, AWrappingBarMovesAWholeGroupToTheNextLine) {
  BuildBar(5, {2, 4});
  MakeWindow(dsNone, 600, 100);
  const int w = Rect(0).Width(), h = Rect(0).Height(), s = Window->GetSeparatorSize();
  ASSERT_GT(w, 0);
  // Room for A B | C and one pixel short of D: C and D move together.
  SIZE size{1, 1};
  Window->WrapLinks(dsNone, 4 * w + s - 1, size);
  EXPECT_FALSE(Control(1)->LineStart);
  EXPECT_TRUE(Control(2)->LineStart) << "the group's start begins the next line";
  EXPECT_FALSE(Control(3)->LineStart);
  EXPECT_FALSE(Control(4)->LineStart) << "E still fits after C and D";
  EXPECT_EQ(size.cy, 2 * h + s) << "two lines with the separator as a gap";
  EXPECT_EQ(size.cx, 3 * w + s) << "the longest line";

  Window->SetBounds(0, 0, size.cx + Window->GetBorderWidth(dsNone),
                    size.cy + Window->GetBorderHeight(dsNone));
  Window->LayoutLinks();
  EXPECT_EQ(Rect(2), Bounds(0, h + s, w, h));
  EXPECT_EQ(Rect(3).left, w);
  EXPECT_EQ(Rect(4).left, 2 * w + s);
  EXPECT_TRUE(Control(1)->LineEnd);
  EXPECT_TRUE(Control(4)->LineEnd);

  // Painted, the group's separator is a band across the whole window above
  // the line.
  Window->SetVisible(true);
  guitest::TCapture capture = guitest::TCapture::Paint(Window->GetHandle());
  capture.SavePng("bars_toolbar_wrapped_group");
  EXPECT_EQ(Control(2)->SeparatorRect, Bounds(0, h, Window->GetClientWidth(), s));
  EXPECT_EQ(Control(4)->SeparatorRect, Bounds(2 * w, h + s, s, h));
  Window->SetVisible(false);
}

TEST_F(ToolbarLayoutTest, AGroupLongerThanALineBreaksInsideAndTheNextGroupStartsALine) {
  BuildBar(5, {1, 4});
  MakeWindow(dsNone, 600, 100);
  const int w = Rect(0).Width(), s = Window->GetSeparatorSize();
  ASSERT_LT(s, w);
  SIZE size{1, 1};
  // Room for two links with a separator: B C D do not fit in one line.
  Window->WrapLinks(dsNone, 2 * w + s, size);
  const bool starts[] = {false, true, false, true, true};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(Control(i)->LineStart, starts[i]) << i;
  EXPECT_EQ(size.cx, 2 * w) << "B C is the longest line";
}

TEST_F(ToolbarLayoutTest, VerticalWrappingStacksColumnsFromTheRight) {
  BuildBar(4);
  Bar->SetMultiLine(true);
  Bar->RotateWhenVertical = false;
  Bar->ShowMark = false;
  MakeWindow(dsLeft, 300, 100);
  const TRect first = Rect(0);
  ASSERT_GT(first.Height(), 0);
  MakeWindow(dsLeft, 300, 2 * first.Height());
  SIZE size{1, 1};
  Window->WrapLinks(dsLeft, 2 * first.Height(), size);
  EXPECT_TRUE(Control(2)->LineStart);
  EXPECT_EQ(Rect(0).right, Window->GetClientWidth()) << "the first column at the right edge";
  EXPECT_EQ(Rect(1).top, Rect(0).bottom);
  EXPECT_EQ(Rect(2).right, Rect(0).left) << "the next column left of it";
  EXPECT_EQ(Rect(2).top, 0);
}

TEST_F(ToolbarLayoutTest, OnlyTheLastLinkAligns) {
  BuildBar(3);
  Bar->ShowMark = false;
  MakeWindow(dsTop, 500, 40);
  const int w = Rect(0).Width(), client = Window->GetClientWidth();
  const struct {
    int link;
    TdxBarItemAlign align;
    TRect expected;
  } cases[] = {
      {2, iaRight, TRect(client - w, 0, client, 0)},
      {2, iaCenter, TRect(2 * w + (client - 3 * w) / 2, 0, 3 * w + (client - 3 * w) / 2, 0)},
      {2, iaClient, TRect(2 * w, 0, client, 0)},
      {1, iaRight, TRect(w, 0, 2 * w, 0)}, // not the last: stays where it is
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 3; ++i)
      Link(i)->GetItem()->SetAlign(iaLeft);
    Link(c.link)->GetItem()->SetAlign(c.align);
    MakeWindow(dsTop, client, 40);
    EXPECT_EQ(Rect(c.link).left, c.expected.left) << c.align << " link " << c.link;
    EXPECT_EQ(Rect(c.link).right, c.expected.right) << c.align << " link " << c.link;
    EXPECT_EQ(Control(c.link)->GetEffectiveAlign(), c.link == 2 ? c.align : iaLeft);
  }
}

TEST_F(ToolbarLayoutTest, RecentItemsDropTheLeastRecentlyUsedFirst) {
  BuildBar(4);
  // The recent order becomes C A B D: B and D are used least.
  Link(2)->BringToTopInRecentList(true);
  MakeWindow(dsTop, 600, 40);
  const int w = Rect(0).Width();
  const SIZE size = Window->CalcSizeForWidth(dsTop, 2 * w + TdxBarControl::MarkSize);
  EXPECT_EQ(size.cx, 2 * w + TdxBarControl::MarkSize);
  MakeWindow(dsTop, size.cx, size.cy);
  EXPECT_EQ(Placed(), "AC") << "the most recent link always shows";

  // One link's room: still the most recent one.
  Window->CalcSizeForWidth(dsTop, 1);
  Window->LayoutLinks();
  EXPECT_EQ(Placed(), "C");
}

TEST_F(ToolbarLayoutTest, TheStandardStyleDropsLinksInTheirOrder) {
  BuildBar(4);
  Manager->SetStyle(bmsStandard);
  Link(2)->BringToTopInRecentList(true);
  MakeWindow(dsTop, 600, 40);
  const int w = Rect(0).Width();
  Window->CalcSizeForWidth(dsTop, 2 * w + TdxBarControl::MarkSize);
  MakeWindow(dsTop, 2 * w + TdxBarControl::MarkSize, 40);
  EXPECT_EQ(Placed(), "AB");
  EXPECT_TRUE(IsRectEmpty(&Link(2)->ItemRect));
}

TEST_F(ToolbarLayoutTest, LinksWithoutARectangleAreNeitherPaintedNorHit) {
  BuildBar(3);
  Manager->SetStyle(bmsStandard);
  TdxBarControl* window = DockTop();
  const int w = Rect(0).Width();
  // Narrow the window so that the last link drops behind the mark.
  window->SetBounds(0, 0, window->GetBorderWidth(dsTop) + 2 * w + TdxBarControl::MarkSize + w / 2,
                    window->GetHeight());
  window->SetTruncated(true);
  window->LayoutLinks();
  ASSERT_EQ(Placed(), "AB");
  const TPoint where(2 * w + w / 4, Rect(0).top + Rect(0).Height() / 2);
  EXPECT_EQ(window->ControlAtPos(where), nullptr);
  guitest::MouseEventAt(window->GetHandle(), where.x, where.y);
  guitest::PumpFor(100);
  EXPECT_NE(window->GetSelectedControl(), Control(2));
  guitest::TCapture capture = guitest::TCapture::Paint(window->GetHandle());
  capture.SavePng("bars_toolbar_dropped_link");
  // The dropped caption leaves no text on the background there.
  const int client = window->GetClientWidth() - TdxBarControl::MarkSize;
  int ink = 0;
  for (int x = 2 * w; x < client; ++x)
    for (int y = 0; y < window->GetClientHeight(); ++y)
      if (capture.Pixel(x, y) != GetSysColor(COLOR_BTNFACE)) ++ink;
  EXPECT_EQ(ink, 0);
}

TEST_F(ToolbarLayoutTest, UsingALinkBehindTheMarkRebuildsTheDockedBarOnceTheChangeIsDone) {
  BuildBar(4);
  TdxBarControl* window = DockTop();
  const int w = Rect(0).Width();
  Form->SetClientWidth(window->GetBorderWidth(dsTop) + 2 * w + TdxBarControl::MarkSize + w / 2);
  Manager->GetBars()->GetDockControl(dsTop)->Realign();
  ASSERT_EQ(Placed().size(), 2u);
  ASSERT_EQ(Placed().find('D'), String::npos);
  Link(3)->MarkAsRecentlyUsed(true);
  EXPECT_EQ(Placed().find('D'), String::npos) << "not while the change runs";
  ASSERT_TRUE(guitest::PumpUntil([&] { return Placed().find('D') != String::npos; }))
      << "the most recent link shows after the posted rebuild";
  EXPECT_EQ(Placed().size(), 2u);
}
