// The inner list box: painted bars laid over the native ones with their
// range, page and position, hidden with them, the corner between two bars,
// and keys that reach the container first.
#include "ContainerTest.h"

#include "DrawTest.h"
#include "ExtCtrls.h"
#include "Menus.h"

#include <gtest/gtest.h>

using guitest::PumpFor;
using guitest::PumpUntil;

namespace {

// With a horizontal bar too, when its extent asks for one.
class TTestListBox : public TcxCustomInnerListBox {
public:
  using TcxCustomInnerListBox::TcxCustomInnerListBox;

protected:
  void CreateParams(TCreateParams& Params) override {
    TcxCustomInnerListBox::CreateParams(Params);
    Params.Style |= WS_HSCROLL;
  }
};

class TListContainer : public TcxContainer {
public:
  explicit TListContainer(TComponent* AOwner) : TcxContainer(AOwner) {
    ListBox = new TTestListBox(this);
    ListBox->Container = this;
    // The container is the stop in the tab order, as with the inner edits.
    ListBox->SetTabStop(false);
    ListBox->SetParent(this);
    SetInnerControl(ListBox);
  }
  TTestListBox* ListBox;
};

class InnerListBox : public ::testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 320, 260);
    form->SetColor(clSilver);
    container = new TListContainer(form.get());
    container->SetBounds(10, 10, 200, 120);
    container->SetParent(form.get());
    next = new TEdit(form.get());
    next->SetParent(form.get());
    next->SetBounds(10, 180, 100, 21);
    form->Show();
    form->Update();
    PumpFor(20);
  }
  void TearDown() override {
    form.reset();
    EXPECT_EQ(0, MouseTrackingCount());
  }
  TTestListBox* list() { return container->ListBox; }
  bool NativeShows(LONG id) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    return GetScrollBarInfo(list()->GetHandle(), id, &info) &&
           !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
  }
  // The native bar's rectangle in the container's client coordinates.
  TRect NativeRect(LONG id) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(list()->GetHandle(), id, &info);
    TRect r = info.rcScrollBar;
    MapWindowPoints(nullptr, container->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  void ExpectSameRange(int bar, TcxScrollBar* painted) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list()->GetHandle(), bar, &info));
    EXPECT_EQ(info.nMin, painted->GetMin());
    EXPECT_EQ(info.nMax, painted->GetMax());
    EXPECT_EQ(static_cast<int>(info.nPage), painted->GetPageSize());
    EXPECT_EQ(info.nPos, painted->GetPosition());
  }
  std::unique_ptr<TForm> form;
  TListContainer* container = nullptr;
  TEdit* next = nullptr;
};

TEST_F(InnerListBox, ThePaintedBarLiesOverTheNativeOneWhileItShows) {
  ASSERT_TRUE(IsScrollBarInfoAvailable()) << "Wine's user32 has GetScrollBarInfo";
  TcxScrollBar* bar = list()->GetVScrollBar();
  int added = 0;
  while (!NativeShows(OBJID_VSCROLL) && added < 100)
    list()->GetItems()->Add(Format("Item %d", added++));
  ASSERT_TRUE(NativeShows(OBJID_VSCROLL));
  EXPECT_TRUE(bar->GetVisible()) << "shown with the native bar, after " << added << " items";
  EXPECT_EQ(container, bar->GetParent()) << "on the list box's parent";
  EXPECT_EQ(NativeRect(OBJID_VSCROLL), bar->GetBoundsRect());
  for (int i = 0; i < 20; ++i)
    list()->GetItems()->Add(Format("More %d", i));
  ExpectSameRange(SB_VERT, bar);
  list()->SetTopIndex(5);
  EXPECT_EQ(5, bar->GetPosition()) << "the painted bar follows the list";

  // A click on the painted bar's down arrow scrolls the native list.
  const TRect arrow = bar->GetPartRect(2);
  guitest::ClickAt(bar->GetHandle(), (arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2);
  ASSERT_TRUE(PumpUntil([this] { return list()->GetTopIndex() == 6; }, 2000));
  EXPECT_EQ(6, bar->GetPosition());
  PumpFor(30);
  guitest::TCapture::Paint(form->GetHandle()).SavePng("innerlistbox_vertical");

  while (list()->GetCount() > 2)
    list()->GetItems()->Delete(list()->GetCount() - 1);
  EXPECT_FALSE(NativeShows(OBJID_VSCROLL));
  EXPECT_FALSE(bar->GetVisible()) << "hidden with the native bar";
}

TEST_F(InnerListBox, TheCornerBetweenTwoBarsIsPaintedInTheButtonFace) {
  for (int i = 0; i < 40; ++i)
    list()->GetItems()->Add(Format("A rather long item to scroll sideways %d", i));
  SendMessageA(list()->GetHandle(), LB_SETHORIZONTALEXTENT, 600, 0);
  ASSERT_TRUE(NativeShows(OBJID_HSCROLL) && NativeShows(OBJID_VSCROLL));
  EXPECT_TRUE(list()->GetHScrollBar()->GetVisible());
  ExpectSameRange(SB_HORZ, list()->GetHScrollBar());
  const TRect corner = list()->GetSizeGripRect();
  ASSERT_GT(corner.Width(), 0);
  EXPECT_EQ(list()->GetVScrollBar()->GetLeft() - list()->GetLeft(), corner.left);
  RedrawWindow(list()->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  HDC dc = GetWindowDC(list()->GetHandle());
  const COLORREF pixel = GetPixel(dc, (corner.left + corner.right) / 2, (corner.top + corner.bottom) / 2);
  ReleaseDC(list()->GetHandle(), dc);
  EXPECT_EQ(RGBOf(clBtnFace), pixel);
  guitest::TCapture::Paint(form->GetHandle()).SavePng("innerlistbox_both");
}

TEST_F(InnerListBox, ABarFreedBySomeoneElseIsForgotten) {
  for (int i = 0; i < 40; ++i)
    list()->GetItems()->Add(Format("Item %d", i));
  delete list()->GetVScrollBar();
  EXPECT_EQ(nullptr, list()->GetVScrollBar());
  list()->GetItems()->Add("One more");
  list()->SetTopIndex(3);
  EXPECT_EQ(3, list()->GetTopIndex());
}

TEST_F(InnerListBox, ANativeBarOutsideTheParentIsNotDrawn) {
  auto* loose = new TcxCustomInnerListBox(form.get());
  loose->SetParent(form.get());
  loose->SetBounds(240, 10, 120, 100); // past the form's right edge
  for (int i = 0; i < 40; ++i)
    loose->GetItems()->Add(Format("Item %d", i));
  loose->UpdateScrollBars();
  EXPECT_FALSE(loose->GetVScrollBar()->GetVisible());
  loose->SetLeft(150);
  EXPECT_TRUE(loose->GetVScrollBar()->GetVisible()) << "inside again: shown";
}

TEST_F(InnerListBox, TabAndEnterReachTheContainerFirst) {
  std::vector<WORD> containerKeys;
  std::vector<char> containerChars, listChars;
  container->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { containerKeys.push_back(key); };
  container->OnKeyPress = [&](TObject*, char& key) { containerChars.push_back(key); };
  list()->OnKeyPress = [&](TObject*, char& key) { listChars.push_back(key); };
  list()->GetItems()->Add("One");
  list()->SetFocus();
  ASSERT_TRUE(list()->Focused());
  EXPECT_TRUE(container->GetViewInfo()->ContainerState.Contains(cstFocused));
  guitest::PressKey(VK_RETURN);
  guitest::PressKey('A');
  PumpFor(50);
  EXPECT_EQ(1, std::count(containerKeys.begin(), containerKeys.end(), VK_RETURN));
  EXPECT_EQ(1, std::count(containerChars.begin(), containerChars.end(), '\r'))
      << "Enter reaches the container";
  EXPECT_EQ(0, std::count(listChars.begin(), listChars.end(), '\r')) << "and not the list box";
  EXPECT_EQ(1, std::count(listChars.begin(), listChars.end(), 'a')) << "other characters do";
  guitest::PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([this] { return next->Focused(); }, 2000)) << "the container's Tab moves on";
  EXPECT_EQ(1, std::count(containerKeys.begin(), containerKeys.end(), VK_TAB));
  EXPECT_EQ(0, std::count(listChars.begin(), listChars.end(), '\t'));
  EXPECT_EQ(0, std::count(containerChars.begin(), containerChars.end(), '\t'));
  container->OnKeyDown = nullptr;
  container->OnKeyPress = nullptr;
  list()->OnKeyPress = nullptr;
}

TEST_F(InnerListBox, DragsAsItsContainerAndHandsDragsOverItToIt) {
  container->SetDragMode(dmAutomatic);
  container->SetDragKind(dkDock);
  EXPECT_EQ(dkDock, list()->GetDragKind()) << "the kind is copied";
  container->SetDragKind(dkDrag);
  EXPECT_EQ(dmAutomatic, list()->GetDragMode()) << "the mode is copied";
  // A panel that takes the container, and the container taking a panel.
  auto* panel = new TPanel(form.get());
  panel->SetBounds(220, 10, 80, 120);
  panel->SetParent(form.get());
  TObject* dropped = nullptr;
  panel->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& Accept) { Accept = true; };
  panel->OnDragDrop = [&](TObject*, TObject* Source, int, int) { dropped = Source; };
  TPoint over;
  container->OnDragOver = [&](TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept) {
    over = TPoint(X, Y);
    Accept = Source == panel;
  };
  container->OnDragDrop = [&](TObject*, TObject* Source, int, int) { dropped = Source; };

  guitest::MouseEventAt(list()->GetHandle(), 20, 20, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(container->Dragging()) << "a press in the list box drags the container";
  guitest::MouseEventAt(panel->GetHandle(), 30, 30);
  guitest::MouseEventAt(panel->GetHandle(), 30, 30, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(container, dropped);

  container->SetDragMode(dmManual);
  panel->SetDragMode(dmAutomatic);
  dropped = nullptr;
  guitest::MouseEventAt(panel->GetHandle(), 30, 30, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(list()->GetHandle(), 25, 15);
  EXPECT_TRUE(container->ScreenToClient(list()->ClientToScreen(TPoint(25, 15))) == over)
      << "at the container's coordinates";
  guitest::MouseEventAt(list()->GetHandle(), 25, 15, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(panel, dropped) << "dropped on the container through its list box";
}

// Shows nothing; records whom it was shown for.
struct TRecordingPopupMenu : TPopupMenu {
  using TPopupMenu::TPopupMenu;
  void Popup(int, int) override { shownFor.push_back(GetPopupComponent()); }
  std::vector<TComponent*> shownFor;
};

TEST_F(InnerListBox, ARightClickShowsTheContainersMenuOnce) {
  auto* menu = new TRecordingPopupMenu(form.get());
  container->SetPopupMenu(menu);
  list()->GetItems()->Add("one");
  list()->GetItems()->Add("two");
  EXPECT_EQ(menu, list()->GetPopupMenu());
  guitest::MouseEventAt(list()->GetHandle(), 20, 5, MOUSEEVENTF_RIGHTDOWN);
  guitest::MouseEventAt(list()->GetHandle(), 20, 5, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return !menu->shownFor.empty(); }));
  PumpFor(50);
  ASSERT_EQ(1u, menu->shownFor.size()) << "shown by the list box, not again by its container";
  EXPECT_EQ(list(), menu->shownFor[0]);
}

} // namespace
