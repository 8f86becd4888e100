// Toolbar windows: link layout, painting, the mouse and the keys.
#include "BarsTest.h"

#include "GuiTest.h"
#include "ActnList.h"

#include "Forms.h"

namespace {

class ToolbarTest : public BarsTest {
protected:
  // A floating toolbar of the buttons One, Two and Three (Two begins a
  // group) over the shown form.
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      bar->SetCaption("Tools");
      for (const char* name : {"One", "Two", "Three"}) {
        TdxBarButton* button = AddButton(m, name);
        button->Hint = String(name) + " hint";
        button->OnClick = [this, name](TObject*) { Clicks.push_back(name); };
        AddLink(bar->GetItemLinks(), button, String(name) == "Two");
      }
    });
    Manager->OnClickItem = [this](TObject*, TdxBarItem* item) {
      Clicks.push_back("item " + item->GetName());
    };
    Form->SetBounds(100, 100, 500, 300);
    Form->Show();
    Bar = Manager->GetBars()->GetItem(0);
  }
  // The next test's toolbar comes up at the same place: the pointer must not
  // be resting there already.
  void TearDown() override { MovePointerOff(nullptr); }

  TdxBarControl* ShowFloating(int width = 300, int height = 80) {
    return Window = ShowFloatingWindow(Bar, 150, 200, width, height);
  }

  TdxBarItemLink* Link(int index) const { return Bar->GetItemLinks()->GetItem(index); }
  TdxBarItemControl* Control(int index) const { return Link(index)->GetControl(); }
  TPoint Centre(int index) const {
    const TRect r = Link(index)->ItemRect;
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void MoveTo(int index) {
    const TPoint p = Centre(index);
    guitest::MouseEventAt(Window->GetHandle(), p.x, p.y);
  }

  TdxBar* Bar = nullptr;
  TdxBarControl* Window = nullptr;
  std::vector<String> Clicks;
};

} // namespace

TEST_F(ToolbarTest, FloatingLinksWrapAndSeparateGroups) {
  // Long enough for the narrow window to stay wider than the system's least
  // window width.
  Link(1)->GetItem()->SetCaption("The second button");
  ShowFloating();
  const TRect one = Link(0)->ItemRect, two = Link(1)->ItemRect, three = Link(2)->ItemRect;
  EXPECT_EQ(one.left, 0);
  EXPECT_EQ(two.left, one.right + Window->GetSeparatorSize()) << "a group starts after a separator";
  EXPECT_EQ(three.left, two.right);
  EXPECT_EQ(one.top, two.top);
  EXPECT_EQ(Control(1)->SeparatorRect, TRect(one.right, one.top, two.left, one.bottom))
      << "the separator is a vertical band in the line";
  EXPECT_TRUE(Control(2)->LineEnd);

  // Narrower than the links: the next line starts where one does not fit.
  const int frame = Window->GetWidth() - Window->GetClientWidth();
  Window->SetBounds(150, 200, frame + one.Width() + Window->GetSeparatorSize() + two.Width() - 1, 120);
  guitest::PumpFor(50);
  Window->LayoutLinks();
  EXPECT_EQ(Link(1)->ItemRect.left, 0) << "Two moved to the second line";
  EXPECT_GT(Link(1)->ItemRect.top, Link(0)->ItemRect.bottom - 1);
  EXPECT_TRUE(Control(0)->LineEnd);
}

TEST_F(ToolbarTest, ButtonsWithoutImagesShowTheirCaptions) {
  ShowFloating();
  auto* button = dynamic_cast<TdxBarButtonControl*>(Control(0));
  ASSERT_NE(button, nullptr) << "the registry makes a button control for a button";
  EXPECT_EQ(button->GetPaintStyle(), psCaption);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Window->GetFontHandle());
  SIZE text{};
  GetTextExtentPoint32A(dc, "One", 3, &text);
  LOGFONTA font{};
  GetObjectA(Window->GetFontHandle(), sizeof(font), &font);
  const int points =
      MulDiv(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight, 72, GetDeviceCaps(dc, LOGPIXELSY));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(button->GetWidth(), text.cx + points) << "the caption plus the font's point size";
  EXPECT_EQ(button->GetHeight(), std::max(Window->TextHeight, Manager->GetButtonHeight()));
}

TEST_F(ToolbarTest, HoverHotTracksAndAClickRunsTheCommandOnce) {
  ShowFloating();
  MoveTo(1);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Window->GetSelectedControl() == Control(1); }));
  EXPECT_TRUE(Control(1)->IsSelected());
  EXPECT_EQ(Manager->SelectedItemControl, Control(1));
  EXPECT_EQ(Window->Hint, "Two hint");

  guitest::TCapture hot = guitest::TCapture::Paint(Window->GetHandle());
  const TRect r = Link(1)->ItemRect;
  EXPECT_EQ(hot.Pixel(r.left, r.top), GetSysColor(COLOR_BTNHIGHLIGHT)) << "a raised hot button";
  EXPECT_EQ(hot.Pixel(r.right - 1, r.bottom - 1), GetSysColor(COLOR_BTNSHADOW));
  hot.SavePng("bars_toolbar_hot");

  const TPoint p = Centre(1);
  guitest::ClickAt(Window->GetHandle(), p.x, p.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Clicks.size() >= 2; }));
  guitest::PumpFor(100);
  EXPECT_EQ(Clicks, (std::vector<String>{"item Two", "Two"}));
  EXPECT_FALSE(Window->GetActive()) << "the click leaves the chain";
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(ToolbarTest, MouseMovesThatDoNotMoveThePointerChangeNothing) {
  ShowFloating();
  MoveTo(0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Window->GetSelectedControl() == Control(0); }));
  // A move message at another item with the pointer where it was.
  const TPoint other = Centre(2);
  POINT cursor;
  GetCursorPos(&cursor);
  ::ScreenToClient(Window->GetHandle(), &cursor);
  SendMessageA(Window->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
  EXPECT_EQ(Window->GetSelectedControl(), Control(0));
  (void)other;
}

TEST_F(ToolbarTest, AHoveredDisabledButtonIsNotDrawnSelected) {
  Link(1)->GetItem()->SetEnabled(false);
  ShowFloating();
  MoveTo(1);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Window->GetSelectedControl() == Control(1); }));
  EXPECT_FALSE(Control(1)->IsSelected()) << "selected by the mouse, not drawn so";
  guitest::TCapture capture = guitest::TCapture::Paint(Window->GetHandle());
  const TRect r = Link(1)->ItemRect;
  EXPECT_EQ(capture.Pixel(r.left, r.top), GetSysColor(COLOR_BTNFACE));
  const TPoint p = Centre(1);
  guitest::ClickAt(Window->GetHandle(), p.x, p.y);
  guitest::PumpFor(200);
  EXPECT_TRUE(Clicks.empty());
  // Selected by a key, it shows the selection.
  Window->SetActive(true);
  Window->SelectControl(Control(0));
  Window->SelectControl(Control(1));
  EXPECT_TRUE(Control(1)->IsSelected());
  Window->Deactivate();
}

TEST_F(ToolbarTest, AWindowWithoutShownLinksIgnoresPresses) {
  for (int i = 0; i < Bar->GetItemLinks()->GetCount(); ++i)
    Link(i)->SetVisible(false);
  ShowFloating();
  guitest::ClickAt(Window->GetHandle(), 10, 10);
  guitest::PumpFor(200);
  EXPECT_FALSE(Window->GetActive());
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(ToolbarTest, ACommandThatDestroysItsFormIsSurvived) {
  auto* button = dynamic_cast<TdxBarButton*>(Link(0)->GetItem());
  button->OnClick = [this](TObject*) {
    Clicks.push_back("closing");
    Form.reset();
  };
  ShowFloating();
  const TPoint p = Centre(0);
  guitest::ClickAt(Window->GetHandle(), p.x, p.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !Form; }));
  guitest::PumpFor(100);
  EXPECT_EQ(Clicks.back(), "closing");
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(ToolbarTest, KeysStepTheSelectionInKeyboardMode) {
  ShowFloating();
  Window->EnterKeyboardMode(nullptr);
  ASSERT_EQ(Window->GetSelectedControl(), Control(0)) << "the first selectable link";
  EXPECT_EQ(Manager->KeyboardBarControl, Window);
  const struct {
    WORD key;
    int selected;
  } steps[] = {{VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 0}, {VK_LEFT, 2},
               {VK_HOME, 0},  {VK_END, 2},   {VK_TAB, 0},   {VK_HOME, 0}};
  for (const auto& s : steps) {
    SendMessageA(Window->GetHandle(), WM_KEYDOWN, s.key, 0);
    EXPECT_EQ(Window->GetSelectedControl(), Control(s.selected)) << s.key;
  }
  SendMessageA(Window->GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
  guitest::PumpFor(50);
  EXPECT_EQ(Clicks, (std::vector<String>{"item One", "One"})) << "Enter clicks the selected control";
  EXPECT_FALSE(Window->GetActive());

  Window->EnterKeyboardMode(nullptr);
  SendMessageA(Window->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(Window->GetActive()) << "Esc leaves keyboard mode";
  EXPECT_EQ(Manager->KeyboardBarControl, nullptr);
}

TEST_F(ToolbarTest, APressDraggedOffItsButtonRunsNothing) {
  ShowFloating();
  const TPoint from = Centre(0), off(Centre(2).x, Centre(2).y);
  guitest::MouseEventAt(Window->GetHandle(), from.x, from.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Window->GetPressedControl() == Control(0); }))
      << "the window tracks the press with the capture";
  EXPECT_TRUE(Window->GetPressedControlHot());
  guitest::MouseEventAt(Window->GetHandle(), off.x, off.y);
  EXPECT_TRUE(guitest::PumpUntil([&] { return !Window->GetPressedControlHot(); }));
  guitest::MouseEventAt(Window->GetHandle(), off.x, off.y, MOUSEEVENTF_LEFTUP);
  guitest::PumpFor(100);
  EXPECT_TRUE(Clicks.empty()) << "released over another button";
  EXPECT_EQ(Window->GetPressedControl(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);

  // The same with a drag that holds Shift, back onto the button.
  guitest::DragAt(Window->GetHandle(), POINT{from.x, from.y}, POINT{from.x + 1, from.y}, guitest::kShift);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Clicks.size() == 2; }));
  EXPECT_EQ(Clicks[1], "One");
}

TEST_F(ToolbarTest, ADoubleClickOnAButtonActsAsTwoClicks) {
  ShowFloating();
  const TPoint p = Centre(2);
  guitest::DoubleClickAt(Window->GetHandle(), p.x, p.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Clicks.size() >= 4; }));
  EXPECT_EQ(Clicks, (std::vector<String>{"item Three", "Three", "item Three", "Three"}));
}

namespace {

bool HintShown() {
  TdxBarHintWindow* hint = dxBarHintWindow();
  return hint && hint->HandleAllocated() && IsWindowVisible(hint->GetHandle());
}

} // namespace

TEST_F(ToolbarTest, HoveringShowsTheItemsHintAfterASecondWithItsShortcut) {
  Link(0)->GetItem()->SetShortCut(TextToShortCut("Ctrl+O"));
  Manager->SetShowShortCutInHint(true);
  ShowFloating();
  guitest::PumpFor(500); // no hint shown a moment ago
  const DWORD start = GetTickCount();
  MoveTo(0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Window->GetSelectedControl() == Control(0); }));
  guitest::PumpFor(300);
  EXPECT_FALSE(HintShown());
  ASSERT_TRUE(guitest::PumpUntil(HintShown, 5000));
  EXPECT_GE(GetTickCount() - start, 900u);
  EXPECT_EQ(dxBarHintWindow()->GetText(), "One hint (Ctrl+O)");
  Manager->ShowHint(false, String());
}

TEST_F(ToolbarTest, FloatingWindowsTakeTheBarsAlpha) {
  Bar->AlphaBlendValue = 128;
  ShowFloating();
  EXPECT_TRUE(GetWindowLongA(Window->GetHandle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(Window->GetHandle(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  // Docked, it is opaque again.
  Window->SetDockingStyle(dsTop);
  EXPECT_FALSE(GetWindowLongA(Window->GetHandle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(ToolbarTest, FloatingHitTestsRememberWhatThePointHits) {
  Manager->SetStyle(bmsStandard);
  ShowFloating();
  // The pointer away: no hit test of the window's own but these.
  SetCursorPos(5, 5);
  guitest::PumpFor(50);
  RECT window;
  GetWindowRect(Window->GetHandle(), &window);
  auto hit = [&](int x, int y) {
    return SendMessageA(Window->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(x, y));
  };
  const TPoint button = Window->ClientToScreen(Centre(0));
  EXPECT_EQ(hit(button.x, button.y), HTCLIENT);
  EXPECT_EQ(Window->GetHitTest(), 0) << "a control takes the click";

  const TRect close = Window->GetCloseButtonRect();
  const TPoint onClose =
      Window->ClientToScreen(TPoint((close.left + close.right) / 2, (close.top + close.bottom) / 2));
  EXPECT_EQ(hit(onClose.x, onClose.y), HTCLOSE) << "the Standard close button is the system's";
  EXPECT_EQ(Window->GetHitTest(), HTCLIENT);

  const TPoint caption = Window->ClientToScreen(TPoint(close.left - 20, (close.top + close.bottom) / 2));
  EXPECT_EQ(hit(caption.x, caption.y), HTCLIENT);
  EXPECT_EQ(Window->GetHitTest(), HTCAPTION) << "the caption drags the bar";

  // A corner sizes along one edge only.
  EXPECT_EQ(hit(window.left, window.top), HTTOP);
  EXPECT_EQ(Window->GetHitTest(), HTTOP);
  EXPECT_EQ(hit(window.right - 1, window.top + 10), HTRIGHT);
  EXPECT_EQ(hit(window.left, window.bottom - 1), HTBOTTOM);
}

TEST_F(ToolbarTest, AHotFloatingMarkCoolsDownWithinAMomentOfThePointerLeaving) {
  ShowFloating();
  ASSERT_TRUE(Window->MarkVisible()) << "the Enhanced look shows the mark for quick customization";
  const TRect mark = Window->GetMarkRect();
  ASSERT_LT(mark.top, 0) << "in the caption";
  guitest::MouseEventAt(Window->GetHandle(), (mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Window->GetMarkState() == 1; }));
  // The pointer goes elsewhere without any message to the window: the
  // hot-track timer notices.
  SetCursorPos(20, 20);
  const DWORD start = GetTickCount();
  ASSERT_TRUE(guitest::PumpUntil([&] { return Window->GetMarkState() == 0; }, 2000));
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(ToolbarTest, TheMainMenusCloseButtonFiresOnlyWhenReleasedOverIt) {
  Bar->SetIsMainMenu(true);
  Manager->ShowCloseButton = true;
  int closes = 0;
  Manager->OnCloseButtonClick = [&](TObject*) { ++closes; };
  TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
  Window = new TdxBarControl(Manager, Bar);
  Window->SetDockingStyle(dsTop);
  Window->SetParent(dock);
  Window->SetVisible(true);
  dock->InsertBarControl(Window, dock->ClientToScreen(TPoint(0, 0)), true);
  guitest::PumpFor(100);
  ASSERT_TRUE(Window->HasCaptionButtons());
  const TRect r = Window->GetCaptionButtonRect(2);
  EXPECT_EQ(r.right, Window->GetClientWidth() - (Window->MarkVisible() ? TdxBarControl::MarkSize : 0));
  const TPoint c((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  guitest::TCapture::Paint(Window->GetHandle()).SavePng("bars_main_menu_close");

  // Pressed and released elsewhere: nothing.
  guitest::MouseEventAt(Window->GetHandle(), c.x, c.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(guitest::PumpUntil([] { return TdxBarControl::GetHeldCaptionButton() == 2; }));
  EXPECT_EQ(TdxBarControl::GetHotCaptionButton(), 2);
  guitest::MouseEventAt(Window->GetHandle(), c.x - 200, c.y);
  ASSERT_TRUE(guitest::PumpUntil([] { return TdxBarControl::GetHotCaptionButton() < 0; }));
  guitest::MouseEventAt(Window->GetHandle(), c.x - 200, c.y, MOUSEEVENTF_LEFTUP);
  guitest::PumpFor(100);
  EXPECT_EQ(closes, 0);
  EXPECT_EQ(TdxBarControl::GetHeldCaptionButton(), -1);

  guitest::PumpFor(GetDoubleClickTime() + 100); // a press, not a double click
  guitest::ClickAt(Window->GetHandle(), c.x, c.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return closes == 1; }));
  guitest::PumpFor(100);
  EXPECT_EQ(closes, 1);
}

TEST_F(ToolbarTest, AUniqueAcceleratorChoosesItsButtonRepeatedOnesSelectInTurn) {
  Link(0)->GetItem()->SetCaption("&One");
  Link(1)->GetItem()->SetCaption("&Two");
  Link(2)->GetItem()->SetCaption("&Three");
  // On toolbars only buttons painted with their captions answer.
  for (int i = 0; i < 3; ++i)
    dynamic_cast<TdxBarButton*>(Link(i)->GetItem())->SetPaintStyle(psCaption);
  ShowFloating();
  Window->EnterKeyboardMode(nullptr);
  SendMessageA(Window->GetHandle(), WM_KEYDOWN, 'T', 0);
  EXPECT_EQ(Window->GetSelectedControl(), Control(1))
      << "two buttons answer T: the first after the selection";
  EXPECT_TRUE(Clicks.empty());
  SendMessageA(Window->GetHandle(), WM_KEYDOWN, 'T', 0);
  EXPECT_EQ(Window->GetSelectedControl(), Control(2));
  SendMessageA(Window->GetHandle(), WM_KEYDOWN, 'X', 0);
  EXPECT_EQ(Window->GetSelectedControl(), Control(2)) << "no button answers X";
  SendMessageA(Window->GetHandle(), WM_KEYDOWN, 'O', 0);
  guitest::PumpFor(50);
  EXPECT_EQ(Clicks, (std::vector<String>{"item One", "One"})) << "the only O is chosen at once";
  EXPECT_FALSE(Window->GetActive());
}

namespace {

// Keys as the keyboard hook delivers them, with Ctrl (and Shift) held in
// the thread's key state.
void SendKeyHolding(HWND wnd, WORD key, bool ctrl, bool shift) {
  BYTE state[256];
  GetKeyboardState(state);
  BYTE held[256];
  memcpy(held, state, sizeof(held));
  held[VK_CONTROL] = ctrl ? 0x80 : 0;
  held[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(held);
  SendMessageA(wnd, WM_KEYDOWN, key, 0);
  SetKeyboardState(state);
}

} // namespace

TEST_F(ToolbarTest, CtrlTabTakesKeyboardModeToTheNeighbourBars) {
  // Three bars: the middle one has no link to select.
  TdxBar* empty = Manager->GetBars()->Add();
  TdxBar* other = Manager->GetBars()->Add();
  AddLink(other->GetItemLinks(), AddButton(Manager, "Four"));
  AddLink(other->GetItemLinks(), AddButton(Manager, "Five"));
  ShowFloating();
  TdxBarControl* emptyWindow = ShowFloatingWindow(empty, 150, 300, 100, 60);
  TdxBarControl* otherWindow = ShowFloatingWindow(other, 150, 380, 300, 80);
  Window->EnterKeyboardMode(nullptr);
  SendKeyHolding(Window->GetHandle(), VK_RIGHT, false, false);
  SendKeyHolding(Window->GetHandle(), VK_TAB, true, false);
  EXPECT_FALSE(Window->GetActive());
  EXPECT_FALSE(emptyWindow->GetActive());
  EXPECT_TRUE(otherWindow->GetActive());
  EXPECT_EQ(Manager->KeyboardBarControl, otherWindow);
  EXPECT_EQ(otherWindow->GetSelectedControl(), other->GetItemLinks()->GetItem(0)->GetControl());
  SendKeyHolding(otherWindow->GetHandle(), VK_TAB, true, false);
  EXPECT_EQ(Manager->KeyboardBarControl, Window) << "forward wraps round to the first bar";
  EXPECT_EQ(Window->GetSelectedControl(), Control(0));
  SendKeyHolding(Window->GetHandle(), VK_TAB, true, true);
  EXPECT_EQ(Manager->KeyboardBarControl, otherWindow) << "Shift steps backward";
  otherWindow->Deactivate();
  delete otherWindow;
  delete emptyWindow;
}

TEST_F(ToolbarTest, ADropGoesBeforeOrAfterTheControlUnderIt) {
  ShowFloating(400, 60);
  const TRect one = Link(0)->ItemRect, two = Link(1)->ItemRect, three = Link(2)->ItemRect;
  ASSERT_EQ(one.top, two.top) << "one line";
  bool outside = true, vertical = true, before = false;
  const int y = (one.top + one.bottom) / 2;
  EXPECT_EQ(Window->GetDropTarget(POINT{one.left + 2, y}, outside, vertical, before), Control(0));
  EXPECT_FALSE(outside);
  EXPECT_FALSE(vertical);
  EXPECT_TRUE(before);
  Window->GetDropTarget(POINT{one.right - 2, y}, outside, vertical, before);
  EXPECT_FALSE(before) << "closer to the right";
  // The group gap before Two belongs to Two.
  ASSERT_GT(two.left, one.right);
  EXPECT_EQ(Window->GetDropTarget(POINT{two.left - 2, y}, outside, vertical, before), Control(1));
  EXPECT_TRUE(outside);
  // Beyond the line's end: after its last link.
  EXPECT_EQ(Window->GetDropTarget(POINT{three.right + 5, y}, outside, vertical, before), Control(2));
  EXPECT_FALSE(outside);
  EXPECT_FALSE(before);
}

namespace {

// A toolbar window joined to an owner rectangle, as a menu is to its button.
class TJoinedBarControl : public TdxBarControl {
public:
  using TdxBarControl::TdxBarControl;
  TRect GetOwnerRect() const override { return Owner; }
  TRect Owner;
};

} // namespace

TEST_F(ToolbarTest, TheOwnerJointIsTheStripWhereTheWindowMeetsItsOwner) {
  auto* window = new TJoinedBarControl(Manager, Bar);
  window->ParentWindow = Form->GetHandle();
  window->SetBounds(200, 200, 120, 60);
  window->SetVisible(true);
  const struct {
    TRect owner;
    bool touches;
    TRect joint;
  } cases[] = {
      {TRect(210, 180, 260, 200), true, TRect(211, 199, 259, 200)}, // above, joined at the top
      {TRect(180, 260, 400, 280), true, TRect(201, 260, 319, 261)}, // below, wider than the window
      {TRect(210, 170, 260, 199), false, TRect()},                  // a pixel apart
      {TRect(400, 180, 450, 200), false, TRect()},                  // above, but not beside it
      {TRect(), false, TRect()},
  };
  for (const auto& c : cases) {
    window->Owner = c.owner;
    EXPECT_EQ(window->TouchesOwnerRect(), c.touches) << c.owner.left << "," << c.owner.top;
    EXPECT_EQ(window->GetOwnerJointRect(true), c.joint) << c.owner.left << "," << c.owner.top;
  }
  window->Owner = TRect(210, 180, 260, 200);
  EXPECT_EQ(window->GetOwnerJointRect(false), TRect(11, 0, 59, 1)) << "the window's own first row";
  window->Owner = TRect(320, 210, 360, 240); // beside it, on the right
  EXPECT_EQ(window->GetOwnerJointRect(true), TRect(320, 211, 321, 239));
  EXPECT_EQ(window->GetOwnerJointRect(false), TRect(119, 11, 120, 39)) << "the window's last column";
  delete window;
}
