// The accelerator search of a toolbar, over its shown window's links.
#include "BarsTest.h"

#include "GuiTest.h"

namespace {

class ToolbarAcceleratorTest : public BarsTest {
protected:
  void SetUp() override {
    Build([](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      bar->SetCaption("Edit");
      // Buttons on toolbars take accelerators when they show captions.
      for (const char* caption : {"&Cut", "&Copy", "&Paste"}) {
        TdxBarButton* button = AddButton(m, String(caption).substr(1), caption);
        button->SetPaintStyle(psCaption);
        AddLink(bar->GetItemLinks(), button);
      }
    });
    Form->SetBounds(100, 100, 500, 300);
    Form->Show();
    Bar = Manager->GetBars()->GetItem(0);
  }

  void ShowWindow() { Window = ShowFloatingWindow(Bar, 150, 200, 300, 80); }

  TdxBarItemLink* Link(int index) const { return Bar->GetItemLinks()->GetItem(index); }
  TdxBarItemLink* Find(char key, TdxBarItemLink* start) const {
    return Bar->GetItemLinks()->FindAcceleratorLink(key, {ssAlt}, start);
  }

  TdxBar* Bar = nullptr;
  TdxBarControl* Window = nullptr;
};

} // namespace

TEST_F(ToolbarAcceleratorTest, WalksTheWindowsLinksAndExaminesTheStartLast) {
  EXPECT_EQ(Find('C', nullptr), nullptr) << "no window";
  ShowWindow();
  ASSERT_NE(Link(0)->GetControl(), nullptr);
  ASSERT_EQ(Bar->GetItemLinks()->GetFittingCount(), 3);
  const struct {
    char key;
    int start, found; // -1: none
  } cases[] = {{'C', -1, 0}, {'C', 0, 1}, {'C', 1, 0}, {'P', 2, 2}, {'P', -1, 2}, {'X', 0, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(Find(c.key, c.start < 0 ? nullptr : Link(c.start)), c.found < 0 ? nullptr : Link(c.found))
        << c.key << " from " << c.start;
  static_cast<TdxBarButton*>(Link(2)->GetItem())->SetPaintStyle(psStandard);
  EXPECT_EQ(Find('P', nullptr), nullptr) << "a glyph without its caption";
  Link(1)->GetItem()->SetEnabled(false);
  EXPECT_EQ(Find('C', Link(0)), Link(0)) << "the only match found again";
  Window->SetVisible(false);
  EXPECT_EQ(Find('C', nullptr), nullptr) << "a hidden window";
  delete Window;
}
