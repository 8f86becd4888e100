// Toolbar windows: link layout, painting, the mouse and the keys.
#include "BarsTest.h"

#include "GuiTest.h"

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

  TdxBarControl* ShowFloating(int width = 300, int height = 80) {
    Window = new TdxBarControl(Manager, Bar);
    Window->ParentWindow = Form->GetHandle();
    Window->SetBounds(150, 200, width, height);
    Window->SetVisible(true);
    guitest::PumpFor(100);
    return Window;
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
