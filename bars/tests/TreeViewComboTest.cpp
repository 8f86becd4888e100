// The tree-view combo item: its value chosen among the nodes by text, by a
// double click, a click or Enter in the drop-down tree, a refusal by
// OnCanSelectNode, and the node drawn with its image.
#include "BarsTest.h"
#include "dxBarExtCombos.h"

#include "GuiTest.h"

#include "Forms.h"
#include "ImgList.h"

namespace {

class TreeViewComboTest : public EditingBarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      Combo = new TdxBarTreeViewCombo(m->GetOwnerForm());
      Combo->SetName("Tree");
      Combo->SetCategory(0);
      Combo->SetWidth(160);
      AddLink(bar->GetItemLinks(), Combo);
    });
    TTreeNodes* nodes = Combo->GetItems();
    Fruit = nodes->Add(nullptr, "Fruit");
    Apple = nodes->AddChild(Fruit, "Apple");
    nodes->AddChild(Fruit, "Pear");
    Veg = nodes->Add(nullptr, "Vegetables");
    SecondApple = nodes->AddChild(Veg, "apple");
    ShowDocked(420, 360);
  }

  TCustomdxBarComboControl* Control() const {
    return dynamic_cast<TCustomdxBarComboControl*>(Bar->GetItemLinks()->GetItem(0)->GetControl());
  }
  // Opens the drop-down by a click on the value (the editor is hidden).
  TdxBarTreeView* DropDown() {
    const TRect r = Bar->GetItemLinks()->GetItem(0)->ItemRect;
    guitest::ClickAt(Window->GetHandle(), r.left + 10, (r.top + r.bottom) / 2);
    guitest::PumpFor(60);
    return Combo->GetTreeView();
  }
  bool TreeOpen() const {
    TdxBarTreeView* tree = Combo->GetTreeView();
    return tree->HandleAllocated() && IsWindowVisible(tree->GetHandle());
  }
  POINT LabelOf(TTreeNode* node) const {
    const TRect r = node->DisplayRect(true);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  TdxBarTreeViewCombo* Combo = nullptr;
  TTreeNode *Fruit = nullptr, *Apple = nullptr, *Veg = nullptr, *SecondApple = nullptr;
};

} // namespace

TEST_F(TreeViewComboTest, TextsSelectTheFirstNodeWithThatText) {
  struct Case {
    const char* Text;
    TTreeNode* Node;
  } cases[] = {{"APPLE", Apple}, // the first of two, depth first, any case
               {"vegetables", Veg},
               {"Plum", nullptr}};
  for (const Case& c : cases) {
    Combo->SetText(c.Text);
    EXPECT_EQ(Combo->GetSelectedNode(), c.Node) << c.Text;
    EXPECT_EQ(Combo->GetText(), c.Text) << "the text stays as set";
  }
  Combo->SetSelectedNode(SecondApple);
  EXPECT_EQ(Combo->GetText(), "apple");
  SecondApple->Delete();
  EXPECT_EQ(Combo->GetSelectedNode(), nullptr) << "a deleted node is forgotten";

  Combo->SetDropDownWidth(50);
  EXPECT_EQ(Combo->GetDropDownWidth(), 100);
  Combo->SetDropDownHeight(20);
  EXPECT_EQ(Combo->GetDropDownHeight(), 100);
}

TEST_F(TreeViewComboTest, ANodeIsChosenByDoubleClickClickOrEnterUnlessRefused) {
  Combo->FullExpand = true;
  TdxBarTreeView* tree = DropDown();
  ASSERT_TRUE(TreeOpen());
  EXPECT_EQ(tree->GetWidth(), 150);
  guitest::TCapture::Paint(tree->GetHandle()).SavePng("bars_treecombo_dropdown");

  // A refusal keeps the tree open and the value as it was.
  std::vector<String> asked;
  bool allow = false;
  Combo->OnCanSelectNode = [&](TObject*, TTreeNode* node, bool& can) {
    asked.push_back(node->GetText());
    can = allow;
  };
  POINT p = LabelOf(Apple);
  guitest::DoubleClickAt(tree->GetHandle(), p.x, p.y);
  guitest::PumpFor(60);
  EXPECT_EQ(asked, std::vector<String>{"Apple"});
  EXPECT_TRUE(TreeOpen());
  EXPECT_EQ(Combo->GetSelectedNode(), nullptr);

  allow = true;
  guitest::DoubleClickAt(tree->GetHandle(), p.x, p.y);
  guitest::PumpFor(60);
  EXPECT_EQ(Combo->GetSelectedNode(), Apple);
  EXPECT_EQ(Combo->GetText(), "Apple");
  EXPECT_FALSE(TreeOpen()) << "choosing closes the bars";

  // Enter chooses the tree's selection.
  tree = DropDown();
  ASSERT_TRUE(TreeOpen());
  tree->SetSelected(Veg);
  guitest::PressKey(VK_RETURN);
  guitest::PumpFor(60);
  EXPECT_EQ(Combo->GetText(), "Vegetables");

  // Without ChooseByDblClick one click chooses.
  Combo->ChooseByDblClick = false;
  tree = DropDown();
  ASSERT_TRUE(TreeOpen());
  p = LabelOf(Fruit);
  guitest::ClickAt(tree->GetHandle(), p.x, p.y);
  guitest::PumpFor(60);
  EXPECT_EQ(Combo->GetText(), "Fruit");
}

TEST_F(TreeViewComboTest, TheValueIsDrawnWithTheNodesImage) {
  auto* images = new TImageList(Form.get());
  images->SetWidth(16);
  images->SetHeight(16);
  TBitmap picture;
  picture.SetWidth(16);
  picture.SetHeight(16);
  picture.GetCanvas()->GetBrush()->SetColor(clRed);
  picture.GetCanvas()->FillRect(TRect(0, 0, 16, 16));
  images->AddMasked(&picture, clFuchsia);
  Combo->SetImages(images);
  Apple->SetImageIndex(0);
  Combo->SetSelectedNode(Apple);
  guitest::PumpFor(30);
  Window->Repaint();
  guitest::PumpFor(20);
  const TRect r = Bar->GetItemLinks()->GetItem(0)->ItemRect;
  EXPECT_GE(Control()->GetHeight(), 22);
  guitest::TCapture shot = guitest::TCapture::Paint(Window->GetHandle());
  shot.SavePng("bars_treecombo_value");
  EXPECT_GT(shot.CountPixels(TRect(r.left, r.top, r.left + 24, r.bottom), RGB(255, 0, 0)), 200);
  EXPECT_GT(shot.CountPixels(TRect(r.left + 20, r.top, r.right - 20, r.bottom), GetSysColor(COLOR_WINDOWTEXT)), 10);
  // Without the images in the value area, only the text.
  Combo->SetShowImageInEdit(false);
  Window->Repaint();
  guitest::PumpFor(20);
  guitest::TCapture plain = guitest::TCapture::Paint(Window->GetHandle());
  EXPECT_EQ(plain.CountPixels(r, RGB(255, 0, 0)), 0);
}
