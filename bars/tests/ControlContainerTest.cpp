// The control container item: a hosted edit placed over its item on a
// docked toolbar, following the bar's layout, resized, hidden with its link,
// the exclusive assignment and the placeholder without a control.
#include "BarsTest.h"
#include "dxBarExtSpin.h"

#include "GuiTest.h"

#include "Forms.h"
#include "StdCtrls.h"

namespace {

class ControlContainerTest : public BarsTest {
protected:
  void SetUp() override {
    Hosted = new TEdit(Form.get());
    Hosted->SetName("HostedEdit");
    Hosted->SetParent(Form.get());
    Hosted->SetBounds(10, 150, 120, 22);
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      First = AddButton(m, "First");
      AddLink(bar->GetItemLinks(), First);
      Container = new TdxBarControlContainerItem(m->GetOwnerForm());
      Container->SetName("Container1");
      Container->SetCategory(0);
      AddLink(bar->GetItemLinks(), Container);
    });
    Manager->SetStyle(bmsStandard);
    Bar = Manager->GetBars()->GetItem(0);
    Form->SetBounds(60, 60, 460, 260);
    Form->Show();
    SetCursorPos(5, 5);
    Window = DockTopWindow(Bar);
  }

  void TearDown() override {
    guitest::SendMouseAt(POINT{5, 5}, 0);
    guitest::PumpFor(30);
  }

  TdxBarItemLink* Link(int i) const { return Bar->GetItemLinks()->GetItem(i); }
  void Settle() {
    guitest::PumpFor(40);
    Window->Repaint();
    guitest::PumpFor(20);
  }
  // The hosted edit's rectangle in the bar window.
  TRect HostedRect() const {
    RECT r{};
    GetWindowRect(Hosted->GetHandle(), &r);
    MapWindowPoints(nullptr, Window->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  TdxBar* Bar = nullptr;
  TdxBarControlContainerControl* ControlOf() const {
    return dynamic_cast<TdxBarControlContainerControl*>(Link(1)->GetControl());
  }
  TdxBarControl* Window = nullptr;
  TdxBarButton* First = nullptr;
  TdxBarControlContainerItem* Container = nullptr;
  TEdit* Hosted = nullptr;
};

} // namespace

TEST_F(ControlContainerTest, WithoutAControlThePlaceholderShowsTheItemsName) {
  Settle();
  const TRect r = Link(1)->ItemRect;
  guitest::TCapture shot = guitest::TCapture::Paint(Window->GetHandle());
  shot.SavePng("bars_container_placeholder");
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(shot.Pixel(r.left, r.top), shadow) << "the frame";
  EXPECT_EQ(shot.Pixel(r.right - 1, r.bottom - 1), shadow);
  EXPECT_GT(shot.CountPixels(TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), shadow), r.Height() * 2)
      << "the hatching";
  EXPECT_GT(shot.CountPixels(r, GetSysColor(COLOR_BTNTEXT)), 20) << "the text";
  EXPECT_EQ(r.Width(), TextSizeIn(Window, "Container1").cx + FontPointSize(Window->GetFontHandle()));
}

TEST_F(ControlContainerTest, TheHostedEditStandsOverItsItemAndFollowsTheBar) {
  Container->SetControl(Hosted);
  Settle();
  const TRect item = Link(1)->ItemRect;
  EXPECT_EQ(item.Width(), 120);
  EXPECT_EQ(item.Height(), 22);
  EXPECT_EQ(Container->GetPlaceForm()->GetParent(), Window);
  EXPECT_EQ(Hosted->GetParent(), Container->GetPlaceForm());
  EXPECT_TRUE(IsWindowVisible(Hosted->GetHandle()));
  EXPECT_EQ(HostedRect(), item);
  guitest::TCapture::Paint(Window->GetHandle()).SavePng("bars_container_edit");

  // Typing reaches the hosted edit.
  guitest::ClickAt(Hosted->GetHandle(), 5, 5);
  guitest::TypeText("abc");
  guitest::PumpFor(40);
  EXPECT_EQ(Hosted->GetText(), "abc");

  // Moved with the bar.
  RECT before{};
  GetWindowRect(Hosted->GetHandle(), &before);
  Window->SetBounds(Window->GetLeft() + 40, Window->GetTop(), Window->GetWidth(), Window->GetHeight());
  Settle();
  RECT after{};
  GetWindowRect(Hosted->GetHandle(), &after);
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(HostedRect(), Link(1)->ItemRect);

  // Resizing the edit lays the bar out anew.
  Hosted->SetWidth(200);
  Settle();
  EXPECT_EQ(Link(1)->ItemRect.Width(), 200);
  EXPECT_EQ(HostedRect(), Link(1)->ItemRect);

  // Hidden with the item: the host leaves the bar as the window lays its
  // links out again.
  Container->SetVisible(ivNever);
  Window->Rebuild();
  Settle();
  EXPECT_NE(Container->GetPlaceForm()->GetParent(), Window);
  EXPECT_FALSE(Hosted->HandleAllocated() && IsWindowVisible(Hosted->GetHandle()));
  Container->SetVisible(ivAlways);
  Window->Rebuild();
  Settle();
  EXPECT_EQ(HostedRect(), Link(1)->ItemRect) << "back in its place";
}

TEST_F(ControlContainerTest, AControlIsHostedByOneItemOnly) {
  Container->SetControl(Hosted);
  auto* other = new TdxBarControlContainerItem(Form.get());
  other->SetName("Container2");
  try {
    other->SetControl(Hosted);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "You cannot assign the same control to more than one TdxBarControlContainerItem.");
  }
  EXPECT_EQ(other->GetControl(), nullptr);
  EXPECT_EQ(Container->GetControl(), Hosted);
}

TEST_F(ControlContainerTest, FreeingTheControlOrTheItemLetsGo) {
  Container->SetControl(Hosted);
  Settle();
  delete Hosted;
  Hosted = nullptr;
  EXPECT_EQ(Container->GetControl(), nullptr);
  Settle();
  EXPECT_NE(Container->GetPlaceForm()->GetParent(), Window);

  // Freeing the item gives the control back without freeing it.
  auto* edit = new TEdit(Form.get());
  edit->SetParent(Form.get());
  Container->SetControl(edit);
  Settle();
  delete Container;
  Settle();
  EXPECT_EQ(edit->GetParent(), nullptr);
  edit->SetParent(Form.get());
  EXPECT_TRUE(edit->HandleAllocated() || edit->GetHandle());
}
