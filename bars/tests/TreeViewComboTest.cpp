// The tree-view combo item: its value chosen among the nodes by text, by a
// double click, a click or Enter in the drop-down tree, a refusal by
// OnCanSelectNode, the node drawn with its image, the drop-down's frame with
// its size grip and close button, the tree's events, and the "Select item"
// dialog.
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

  // The drop-down window as on the screen, frame included.
  static guitest::TCapture ScreenShot(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    guitest::TCapture shot(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return shot;
  }
  static SIZE WindowSize(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
  static POINT ToScreen(HWND wnd, const TRect& r) {
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(wnd, &p);
    return p;
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

TEST_F(TreeViewComboTest, TheDropDownIsResizedByItsGripAndClosedByItsButton) {
  TdxBarTreeView* tree = DropDown();
  ASSERT_TRUE(TreeOpen());
  HWND wnd = tree->GetHandle();
  guitest::PumpFor(30);
  // Below and right of the value: the grip in the bottom-right corner, the
  // close button at the left end of the band below the tree.
  EXPECT_EQ(tree->GetGripCorner(), 3);
  RECT client;
  GetClientRect(wnd, &client);
  const TRect grip = tree->GetGripRect(), close = tree->GetCloseButtonRect();
  ASSERT_FALSE(IsRectEmpty(&grip));
  ASSERT_FALSE(IsRectEmpty(&close));
  EXPECT_GE(grip.top, client.bottom);
  EXPECT_GE(close.top, client.bottom);
  EXPECT_LT(close.right, grip.left);
  const SIZE start = WindowSize(wnd);
  EXPECT_EQ(start.cx, 150);
  EXPECT_EQ(start.cy, 200);
  EXPECT_EQ(start.cy - client.bottom - 2, GetDropDownGripBandHeight()) << "the band below the client area";
  {
    guitest::TCapture shot = ScreenShot(wnd);
    shot.SavePng("bars_treecombo_dropdown_frame");
    EXPECT_EQ(shot.Pixel(0, 0), ColorToRGB(clWindowFrame)) << "the frame";
    EXPECT_GT(shot.CountPixels(TRect(1, client.bottom + 2, start.cx - 1, start.cy - 1), ColorToRGB(clBtnFace)), 200)
        << "the band";
  }

  // The grip answers the bottom-right sizing code, and dragging it resizes
  // the drop-down.
  const POINT g = ToScreen(wnd, grip);
  EXPECT_EQ(SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(g.x, g.y)), HTBOTTOMRIGHT);
  auto drag = [&](POINT from, POINT to) {
    guitest::SendMouseAt(from, 0);
    guitest::PumpFor(30);
    guitest::SendMouseAt(from, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 4; ++i)
      guitest::SendMouseAt(POINT{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4}, 0);
    guitest::SendMouseAt(to, MOUSEEVENTF_LEFTUP);
    guitest::PumpFor(150);
  };
  drag(g, POINT{g.x + 60, g.y + 40});
  ASSERT_TRUE(TreeOpen()) << "sizing keeps the drop-down open";
  EXPECT_EQ(WindowSize(wnd).cx, start.cx + 60);
  EXPECT_EQ(WindowSize(wnd).cy, start.cy + 40);
  EXPECT_EQ(Combo->GetDropDownWidth(), start.cx + 60);
  EXPECT_EQ(Combo->GetDropDownHeight(), start.cy + 40);
  // Smaller again, the pointer staying on the grip.
  const POINT g2 = ToScreen(wnd, tree->GetGripRect());
  drag(g2, POINT{g2.x - 90, g2.y - 110});
  ASSERT_TRUE(TreeOpen());
  EXPECT_EQ(WindowSize(wnd).cx, start.cx - 30);
  EXPECT_EQ(WindowSize(wnd).cy, start.cy - 70);

  // The close button: hot under the pointer, pressed while held; released
  // off the button it does nothing, released on it it closes the bars.
  guitest::PumpFor(30);
  const POINT c = ToScreen(wnd, tree->GetCloseButtonRect());
  guitest::SendMouseAt(c, 0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return tree->GetMouseAboveCloseButton(); }));
  guitest::SendMouseAt(c, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(guitest::PumpUntil([&] { return tree->GetCloseButtonIsTracking(); }));
  {
    guitest::TCapture shot = ScreenShot(wnd);
    shot.SavePng("bars_treecombo_close_pressed");
  }
  RECT now;
  GetWindowRect(wnd, &now);
  guitest::SendMouseAt(POINT{now.left + 50, now.top + 30}, 0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !tree->GetMouseAboveCloseButton(); }));
  guitest::SendMouseAt(POINT{now.left + 50, now.top + 30}, MOUSEEVENTF_LEFTUP);
  guitest::PumpFor(60);
  EXPECT_FALSE(tree->GetCloseButtonIsTracking());
  EXPECT_TRUE(TreeOpen()) << "released off the button";
  guitest::SendMouseAt(c, 0);
  guitest::PumpFor(30);
  guitest::SendMouseAt(c, MOUSEEVENTF_LEFTDOWN);
  guitest::SendMouseAt(c, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !TreeOpen(); }));
  EXPECT_EQ(Combo->GetSelectedNode(), nullptr) << "closed without a choice";

  // The next drop-down keeps the size reached.
  tree = DropDown();
  ASSERT_TRUE(TreeOpen());
  EXPECT_EQ(WindowSize(tree->GetHandle()).cx, start.cx - 30);

  // Past the 100 x 100 floor the pointer is released outside the drop-down:
  // the release belongs to the sizing, not to a click outside the menus.
  wnd = tree->GetHandle();
  guitest::PumpFor(30);
  const POINT g3 = ToScreen(wnd, tree->GetGripRect());
  RECT before;
  GetWindowRect(wnd, &before);
  drag(g3, POINT{before.left - 40, before.top + 50});
  ASSERT_TRUE(TreeOpen()) << "a release outside while sizing keeps the drop-down";
  EXPECT_EQ(WindowSize(wnd).cx, 100);
  EXPECT_EQ(WindowSize(wnd).cy, 100);
}

TEST_F(TreeViewComboTest, TheTreesEventsReachTheCombosHandlers) {
  std::vector<String> expanded, changed;
  Combo->SetOnExpanded([&](TObject*, TTreeNode* node) { expanded.push_back(node->GetText()); });
  Combo->SetOnTreeViewChange([&](TObject*, TTreeNode* node) { changed.push_back(node ? node->GetText() : ""); });
  Combo->FullExpand = true;
  TdxBarTreeView* tree = DropDown();
  ASSERT_TRUE(TreeOpen());
  EXPECT_EQ(expanded, (std::vector<String>{"Fruit", "Vegetables"}));
  tree->SetSelected(Apple);
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(changed.back(), "Apple");
}

TEST_F(TreeViewComboTest, TheSelectItemDialogChoosesANodeAndGivesItsSizeToTheDropDown) {
  Combo->FullExpand = true;
  Combo->SetText("Pear");
  String caption, selected;
  SIZE dialogTree{};
  const SIZE before = Combo->GetDropDownClientSize();
  guitest::AnswerNextForm([&](TCustomForm* form) {
    caption = form->GetCaption();
    TdxBarTreeView* tree = Combo->GetDialogTree();
    selected = tree->GetSelected() ? tree->GetSelected()->GetText() : "";
    EXPECT_EQ(tree->GetClientWidth(), before.cx) << "the drop-down's size";
    EXPECT_EQ(tree->GetClientHeight(), before.cy);
    guitest::PumpFor(30);
    guitest::TCapture::Paint(form->GetHandle()).SavePng("bars_treecombo_dialog");
    // A larger dialog, then a double click on a node chooses it.
    form->SetBounds(form->GetLeft(), form->GetTop(), form->GetWidth() + 40, form->GetHeight() + 30);
    guitest::PumpFor(30);
    dialogTree = SIZE{tree->GetClientWidth(), tree->GetClientHeight()};
    TTreeNode* veg = TdxBarTreeViewCombo::FindNodeByText(tree->GetItems(), "Vegetables");
    const POINT p = LabelOf(veg);
    guitest::DoubleClickAt(tree->GetHandle(), p.x, p.y);
  });
  Combo->DirectClick();
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  guitest::PumpFor(30);
  EXPECT_EQ(caption, "Select item");
  EXPECT_EQ(selected, "Pear");
  EXPECT_EQ(Combo->GetText(), "Vegetables");
  EXPECT_EQ(dialogTree.cx, before.cx + 40);
  EXPECT_EQ(Combo->GetDropDownClientSize().cx, dialogTree.cx) << "the dialog's size goes to the drop-down";
  EXPECT_EQ(Combo->GetDropDownClientSize().cy, dialogTree.cy);

  // A refused node keeps the dialog open; cancelling keeps the value.
  Combo->OnCanSelectNode = [](TObject*, TTreeNode*, bool& can) { can = false; };
  bool stillOpen = false;
  guitest::AnswerNextForm([&](TCustomForm* form) {
    TdxBarTreeView* tree = Combo->GetDialogTree();
    const POINT p = LabelOf(TdxBarTreeViewCombo::FindNodeByText(tree->GetItems(), "Apple"));
    guitest::DoubleClickAt(tree->GetHandle(), p.x, p.y);
    guitest::PumpFor(60);
    stillOpen = Combo->GetDialog() != nullptr && form->GetModalResult() == mrNone;
    form->SetModalResult(mrCancel);
  });
  Combo->DirectClick();
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(Combo->GetText(), "Vegetables");

  // A tree wider than the dialog can be: the tries end and the size the
  // dialog reached goes back to the drop-down.
  Combo->SetDropDownWidth(6000);
  int formWidth = 0;
  guitest::AnswerNextForm([&](TCustomForm* form) {
    formWidth = form->GetWidth();
    form->SetModalResult(mrCancel);
  });
  Combo->DirectClick();
  ASSERT_TRUE(guitest::PumpUntil([] { return !guitest::AnswerPending(); }));
  EXPECT_GT(formWidth, 0);
  EXPECT_LT(formWidth, 6000);
  EXPECT_LT(Combo->GetDropDownWidth(), 6000);
}
