// Sub items and drop-down buttons on toolbars: their sizes and their arrows.
#include "BarsTest.h"

#include "GuiTest.h"

#include "Forms.h"

namespace {

class SubItemsTest : public BarsTest {
protected:
  // A docked bar of the sub item "File" and the drop-down button "Open".
  void SetUp() override {
    Build([](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      auto* file = new TdxBarSubItem(m->GetOwnerForm());
      file->SetName("File");
      file->SetCategory(0);
      file->SetCaption("File");
      AddLink(bar->GetItemLinks(), file);
      TdxBarButton* open = AddButton(m, "Open");
      open->SetButtonStyle(bsDropDown);
      AddLink(bar->GetItemLinks(), open, true);
    });
    Manager->SetStyle(bmsStandard);
    Bar = Manager->GetBars()->GetItem(0);
    Form->SetBounds(50, 50, 500, 200);
    Form->Show();
    SetCursorPos(5, 5); // nothing hot from before
    guitest::PumpFor(50);
  }

  TdxBarControl* DockTop() { return Window = DockTopWindow(Bar); }

  TdxBarItemLink* Link(int i) const { return Bar->GetItemLinks()->GetItem(i); }
  int TextWidth(const char* text) const { return TextSizeIn(Window, text).cx; }
  int Ink(const guitest::TCapture& capture, const TRect& r) const {
    return capture.CountPixels(r, GetSysColor(COLOR_BTNTEXT));
  }

  TdxBar* Bar = nullptr;
  TdxBarControl* Window = nullptr;
};

} // namespace

TEST_F(SubItemsTest, ASubItemIsItsCaptionWithAnArrowExceptOnTheMainMenu) {
  DockTop();
  auto* control = dynamic_cast<TdxBarSubItemControl*>(Link(0)->GetControl());
  ASSERT_NE(control, nullptr) << "the registry makes a sub-item control";
  const int row = Window->TextHeight, arrow = control->GetArrowSize(), caption = TextWidth("File");
  LOGFONTA font{};
  GetObjectA(Window->GetFontHandle(), sizeof(font), &font);
  EXPECT_EQ(arrow, -font.lfHeight / 2);
  EXPECT_EQ(control->GetWidth(), caption + 2 * arrow + row / 2);
  EXPECT_EQ(control->GetHeight(), row);
  EXPECT_FALSE(control->IsClickable());
  EXPECT_TRUE(control->HasSubMenu());

  // The arrow stands after the caption, which starts an arrow's size in.
  Window->Repaint();
  guitest::TCapture capture = guitest::TCapture::Paint(Window->GetHandle());
  capture.SavePng("bars_subitem_toolbar");
  const TRect r = Link(0)->ItemRect;
  const TRect tail(r.left + arrow + caption + 1, r.top, r.right, r.bottom);
  EXPECT_GT(Ink(capture, tail), 3) << "the arrow";
  EXPECT_EQ(Ink(capture, TRect(r.left, r.top, r.left + arrow, r.bottom)), 0) << "nothing before the caption";

  // On the main menu no half row and no arrow.
  Window->SetVisible(false);
  delete Window;
  Bar->SetIsMainMenu(true);
  DockTop();
  control = dynamic_cast<TdxBarSubItemControl*>(Link(0)->GetControl());
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->GetWidth(), caption + 2 * arrow);
  guitest::TCapture menu = guitest::TCapture::Paint(Window->GetHandle());
  menu.SavePng("bars_subitem_main_menu");
  const TRect m = Link(0)->ItemRect;
  EXPECT_EQ(Ink(menu, TRect(m.left + arrow + caption + 1, m.top, m.right, m.bottom)), 0);
}

TEST_F(SubItemsTest, ADropDownButtonDrawsItsArrowPart) {
  DockTop();
  auto* button = dynamic_cast<TdxBarButtonControl*>(Link(1)->GetControl());
  ASSERT_NE(button, nullptr);
  const int arrowWidth = button->GetArrowWidth();
  EXPECT_EQ(arrowWidth, Manager->GetArrowWidth());
  EXPECT_EQ(button->GetWidth(), button->GetDefaultWidth() + arrowWidth);
  const TRect r = Link(1)->ItemRect;
  const TRect part(r.right - arrowWidth, r.top, r.right, r.bottom);

  guitest::TCapture idle = guitest::TCapture::Paint(Window->GetHandle());
  EXPECT_GT(Ink(idle, part), 3) << "the centred arrow";
  EXPECT_EQ(idle.Pixel(part.left, part.top), GetSysColor(COLOR_BTNFACE)) << "no edge while idle";

  // Hot: the part has a raised edge of its own.
  guitest::MouseEventAt(Window->GetHandle(), (r.left + part.left) / 2, (r.top + r.bottom) / 2);
  ASSERT_TRUE(guitest::PumpUntil([&] { return Window->GetSelectedControl() == button; }));
  guitest::TCapture hot = guitest::TCapture::Paint(Window->GetHandle());
  hot.SavePng("bars_dropdown_button_hot");
  EXPECT_EQ(hot.Pixel(part.left, part.top + 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(hot.Pixel(part.right - 1, part.bottom - 2), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(hot.Pixel(part.left - 1, part.bottom - 2), GetSysColor(COLOR_BTNSHADOW)) << "the main part's edge";
  SetCursorPos(5, 5);
  guitest::PumpFor(50);
}
