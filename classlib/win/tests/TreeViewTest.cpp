// The tree view: nodes mirrored by the system's tree window (before and
// after it exists, and across a new window), images and state images,
// expansion by code and by the button, sorting, selection events, hit tests
// and freeing nodes.
#include "ComCtrls.h"
#include "Forms.h"
#include "GuiTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

std::unique_ptr<TBitmap> Square(TColor colour) {
  auto glyph = std::make_unique<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(16, 16);
  glyph->GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph->GetCanvas()->FillRect(TRect(0, 0, 16, 16));
  glyph->GetCanvas()->GetBrush()->SetColor(colour);
  glyph->GetCanvas()->FillRect(TRect(2, 2, 14, 14));
  return glyph;
}

class TreeView : public ::testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 300, 300);
    tree = new TCustomTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(10, 10, 240, 240);
  }
  void Show() {
    form->Show();
    form->Update();
    PumpFor(20);
  }
  HWND Wnd() { return tree->GetHandle(); }
  HTREEITEM Next(HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(Wnd(), TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  }
  String ItemText(HTREEITEM item) {
    char buffer[100] = {};
    TVITEMA tv{};
    tv.mask = TVIF_HANDLE | TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof(buffer);
    SendMessageA(Wnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return buffer;
  }
  // The texts of the window's children of an item (the top level for none).
  String WindowChildren(HTREEITEM parent = nullptr) {
    String result;
    for (HTREEITEM item = parent ? Next(parent, TVGN_CHILD) : Next(nullptr, TVGN_ROOT); item;
         item = Next(item, TVGN_NEXT))
      result += (result.empty() ? "" : ",") + ItemText(item);
    return result;
  }
  String ModelChildren(TTreeNode* parent) {
    String result;
    const int count = parent ? parent->GetCount() : 0;
    if (!parent) {
      for (TTreeNode* n = tree->GetItems()->GetFirstNode(); n; n = n->getNextSibling())
        result += (result.empty() ? "" : ",") + n->GetText();
      return result;
    }
    for (int i = 0; i < count; ++i)
      result += (result.empty() ? "" : ",") + parent->GetItem(i)->GetText();
    return result;
  }
  bool WindowExpanded(TTreeNode* node) {
    return SendMessageA(Wnd(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node->GetItemId()), TVIS_EXPANDED) &
           TVIS_EXPANDED;
  }
  std::unique_ptr<TForm> form;
  TCustomTreeView* tree = nullptr;
};

TEST_F(TreeView, NodesBeforeAndAfterTheWindowAndAcrossANewOne) {
  TTreeNodes* nodes = tree->GetItems();
  TTreeNode* tables = nodes->Add(nullptr, "Tables");
  TTreeNode* views = nodes->Add(tables, "Views");
  TTreeNode* orders = nodes->AddChild(tables, "orders");
  nodes->AddChildFirst(tables, "customers");
  EXPECT_EQ(nullptr, tables->GetItemId()) << "no window yet";
  Show();
  ASSERT_NE(nullptr, tables->GetItemId());
  nodes->Insert(views, "Routines");
  nodes->AddFirst(tables, "Schema");
  nodes->AddChild(orders, "id");
  EXPECT_EQ("Schema,Tables,Routines,Views", WindowChildren());
  EXPECT_EQ("customers,orders", WindowChildren(tables->GetItemId()));
  EXPECT_EQ("id", WindowChildren(orders->GetItemId()));
  EXPECT_EQ(7, static_cast<int>(SendMessageA(Wnd(), TVM_GETCOUNT, 0, 0)));

  // Depth-first order, levels and places.
  EXPECT_EQ(7, nodes->GetCount());
  String order;
  for (TTreeNode* n = nodes->GetFirstNode(); n; n = n->GetNext())
    order += n->GetText() + ";";
  EXPECT_EQ("Schema;Tables;customers;orders;id;Routines;Views;", order);
  EXPECT_EQ("id", nodes->GetItem(4)->GetText());
  EXPECT_EQ(2, nodes->GetItem(4)->GetLevel());
  EXPECT_EQ(1, orders->GetIndex());
  EXPECT_EQ(tables, orders->GetParent());
  EXPECT_EQ(tree, orders->GetTreeView());

  orders->SetText("order_lines");
  EXPECT_EQ("order_lines", ItemText(orders->GetItemId()));

  // A window made again holds the same nodes, expansion and selection.
  tables->Expand(false);
  tree->SetSelected(orders);
  tree->SetShowLines(false);
  EXPECT_FALSE(GetWindowLongA(Wnd(), GWL_STYLE) & TVS_HASLINES);
  EXPECT_EQ("Schema,Tables,Routines,Views", WindowChildren());
  EXPECT_EQ("customers,order_lines", WindowChildren(tables->GetItemId()));
  EXPECT_TRUE(WindowExpanded(tables));
  EXPECT_EQ(orders, tree->GetSelected());
  EXPECT_TRUE(orders->GetSelected());
}

TEST_F(TreeView, ImagesStateImagesAndTheImageEvents) {
  TImageList images(nullptr);
  images.AddMasked(Square(clNavy).get(), clFuchsia);
  images.AddMasked(Square(clRed).get(), clFuchsia);
  TImageList states(nullptr);
  states.AddMasked(Square(clYellow).get(), clFuchsia);
  states.AddMasked(Square(clLime).get(), clFuchsia);
  tree->SetImages(&images);
  tree->SetStateImages(&states);
  TTreeNode* node = tree->GetItems()->Add(nullptr, "indexed");
  node->SetImageIndex(0);
  node->SetSelectedIndex(1);
  node->SetStateIndex(1);
  TTreeNode* other = tree->GetItems()->Add(nullptr, "other");
  other->SetImageIndex(0);
  tree->SetColor(clWhite);
  Show();
  EXPECT_EQ(images.GetHandle(),
            reinterpret_cast<HIMAGELIST>(SendMessageA(Wnd(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)));
  EXPECT_EQ(states.GetHandle(),
            reinterpret_cast<HIMAGELIST>(SendMessageA(Wnd(), TVM_GETIMAGELIST, TVSIL_STATE, 0)));

  // Drawn: the state image, then the image; the selected node its selected image.
  auto drawn = [&](TTreeNode* n, COLORREF colour) {
    guitest::TCapture shot = guitest::TCapture::Paint(Wnd());
    TRect r = n->DisplayRect(false);
    return shot.CountPixels(RECT{r.left, r.top, r.left + 60, r.bottom}, colour);
  };
  tree->SetSelected(other);
  EXPECT_GT(drawn(node, RGB(0, 255, 0)), 50) << "state image 1";
  EXPECT_GT(drawn(node, RGB(0, 0, 128)), 50) << "image 0 while not selected";
  EXPECT_EQ(0, drawn(other, RGB(0, 255, 0))) << "no state image without an index";
  tree->SetSelected(node);
  EXPECT_GT(drawn(node, RGB(255, 0, 0)), 50) << "the selected image";

  // The events may give the index when it is asked for.
  tree->OnGetImageIndex = [](TObject*, TTreeNode* n) { n->SetImageIndex(1); };
  tree->SetSelected(node);
  InvalidateRect(Wnd(), nullptr, TRUE);
  EXPECT_GT(drawn(other, RGB(255, 0, 0)), 50);
  EXPECT_EQ(1, other->GetImageIndex());

  // A freed list is let go of.
  tree->OnGetImageIndex = nullptr;
  tree->SetStateImages(nullptr);
  EXPECT_EQ(nullptr, reinterpret_cast<HIMAGELIST>(SendMessageA(Wnd(), TVM_GETIMAGELIST, TVSIL_STATE, 0)));
  {
    TImageList gone(nullptr);
    tree->SetImages(&gone);
  }
  EXPECT_EQ(nullptr, tree->GetImages());
  EXPECT_EQ(nullptr, reinterpret_cast<HIMAGELIST>(SendMessageA(Wnd(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)));
}

TEST_F(TreeView, ExpansionByCodeAndByTheButtonWithItsEvents) {
  TTreeNodes* nodes = tree->GetItems();
  TTreeNode* top = nodes->Add(nullptr, "top");
  TTreeNode* middle = nodes->AddChild(top, "middle");
  nodes->AddChild(middle, "leaf");
  TTreeNode* lone = nodes->Add(nullptr, "lone");
  Show();
  std::vector<String> events;
  bool refuse = false;
  tree->OnExpanding = [&](TObject*, TTreeNode* n, bool& allow) {
    events.push_back("expanding " + n->GetText());
    allow = !refuse;
  };
  tree->OnExpanded = [&](TObject*, TTreeNode* n) { events.push_back("expanded " + n->GetText()); };
  tree->OnCollapsing = [&](TObject*, TTreeNode* n, bool& allow) {
    events.push_back("collapsing " + n->GetText());
    allow = !refuse;
  };
  tree->OnCollapsed = [&](TObject*, TTreeNode* n) { events.push_back("collapsed " + n->GetText()); };

  refuse = true;
  top->SetExpanded(true);
  EXPECT_FALSE(top->GetExpanded());
  EXPECT_FALSE(WindowExpanded(top));
  refuse = false;
  top->SetExpanded(true);
  EXPECT_TRUE(WindowExpanded(top));
  EXPECT_EQ((std::vector<String>{"expanding top", "expanding top", "expanded top"}), events);
  lone->SetExpanded(true);
  EXPECT_FALSE(lone->GetExpanded()) << "a node without children does not expand";

  // The button, found by the hit test left of the label; clicks apart, so
  // none is a double click.
  events.clear();
  TRect label = middle->DisplayRect(true);
  const int y = (label.top + label.bottom) / 2;
  int buttonX = -1;
  for (int x = label.left - 1; x >= 0 && buttonX < 0; --x)
    if (tree->GetHitTestInfoAt(x, y).Contains(htOnButton)) buttonX = x;
  ASSERT_GE(buttonX, 0);
  auto clickButton = [&] {
    guitest::ClickAt(Wnd(), buttonX, y);
    PumpFor(static_cast<int>(GetDoubleClickTime()) + 50);
  };
  refuse = true;
  clickButton();
  EXPECT_FALSE(middle->GetExpanded()) << "a refused expansion leaves it closed";
  EXPECT_FALSE(WindowExpanded(middle));
  EXPECT_EQ((std::vector<String>{"expanding middle"}), events);
  refuse = false;
  events.clear();
  clickButton();
  EXPECT_TRUE(middle->GetExpanded());
  EXPECT_TRUE(WindowExpanded(middle));
  EXPECT_EQ((std::vector<String>{"expanding middle", "expanded middle"}), events);
  events.clear();
  clickButton();
  EXPECT_FALSE(middle->GetExpanded());
  EXPECT_EQ((std::vector<String>{"collapsing middle", "collapsed middle"}), events);
  middle->SetExpanded(true);

  tree->FullCollapse();
  EXPECT_FALSE(top->GetExpanded());
  EXPECT_FALSE(middle->GetExpanded());
  EXPECT_FALSE(WindowExpanded(top));
  tree->FullExpand();
  EXPECT_TRUE(WindowExpanded(top));
  EXPECT_TRUE(WindowExpanded(middle));
}

TEST_F(TreeView, SortingByTextDataAndTheCompareEvent) {
  TTreeNodes* nodes = tree->GetItems();
  int one = 1, two = 2, three = 3;
  TTreeNode* b = nodes->AddObject(nullptr, "beta", &three);
  nodes->AddObject(nullptr, "Alpha", &two);
  nodes->AddObject(nullptr, "gamma", &one);
  nodes->AddChild(b, "z");
  nodes->AddChild(b, "y");
  Show();
  tree->SetSortType(TSortType::stText);
  EXPECT_EQ("Alpha,beta,gamma", WindowChildren());
  EXPECT_EQ("Alpha,beta,gamma", ModelChildren(nullptr));
  EXPECT_EQ("y,z", WindowChildren(b->GetItemId())) << "every level";
  nodes->Add(nullptr, "delta");
  EXPECT_EQ("Alpha,beta,delta,gamma", WindowChildren()) << "kept sorted on adding";
  b->SetText("omega");
  EXPECT_EQ("Alpha,delta,gamma,omega", WindowChildren()) << "and on a new text";
  EXPECT_EQ("Alpha,delta,gamma,omega", ModelChildren(nullptr));

  tree->SetSortType(TSortType::stNone);
  nodes->Clear();
  int four = 4;
  nodes->AddObject(nullptr, "c", &three);
  nodes->AddObject(nullptr, "a", &four);
  nodes->AddObject(nullptr, "b", &one);
  tree->SetSortType(TSortType::stData);
  // Data compares by address: a vector keeps the expected order honest.
  std::vector<std::pair<void*, String>> byData{{&three, "c"}, {&four, "a"}, {&one, "b"}};
  std::sort(byData.begin(), byData.end());
  EXPECT_EQ(byData[0].second + "," + byData[1].second + "," + byData[2].second, WindowChildren());

  tree->OnCompare = [](TObject*, TTreeNode* n1, TTreeNode* n2, int, int& compare) {
    compare = CompareText(n2->GetText(), n1->GetText());
  };
  tree->AlphaSort();
  EXPECT_EQ("c,b,a", WindowChildren());
  EXPECT_EQ("c,b,a", ModelChildren(nullptr));
}

TEST_F(TreeView, SelectionEventsClicksAndHitTests) {
  TTreeNodes* nodes = tree->GetItems();
  TTreeNode* first = nodes->Add(nullptr, "first");
  TTreeNode* second = nodes->Add(nullptr, "second");
  Show();
  std::vector<String> events;
  bool refuse = false;
  tree->OnChanging = [&](TObject*, TTreeNode* n, bool& allow) {
    events.push_back("changing " + n->GetText());
    allow = !refuse;
  };
  tree->OnChange = [&](TObject*, TTreeNode* n) { events.push_back("change " + (n ? n->GetText() : "none")); };
  tree->SetSelected(second);
  EXPECT_EQ((std::vector<String>{"changing second", "change second"}), events);
  EXPECT_EQ(second, tree->GetSelected());
  events.clear();
  refuse = true;
  tree->SetSelected(first);
  EXPECT_EQ((std::vector<String>{"changing first"}), events);
  EXPECT_EQ(second, tree->GetSelected()) << "a refused change keeps the selection";
  refuse = false;

  // Hit tests at the second node's label, and below the last node.
  TRect label = second->DisplayRect(true);
  ASSERT_GT(label.right, label.left);
  const int x = (label.left + label.right) / 2, y = (label.top + label.bottom) / 2;
  THitTests hits = tree->GetHitTestInfoAt(x, y);
  EXPECT_TRUE(hits.Contains(htOnLabel));
  EXPECT_TRUE(hits.Contains(htOnItem));
  EXPECT_EQ(second, tree->GetNodeAt(x, y));
  EXPECT_TRUE(tree->GetHitTestInfoAt(x, label.bottom + 40).Contains(htNowhere));
  EXPECT_EQ(nullptr, tree->GetNodeAt(x, label.bottom + 40));
  EXPECT_TRUE(tree->GetHitTestInfoAt(x, -5).Contains(htAbove));

  // A click on the first node's label selects it.
  events.clear();
  TRect firstLabel = first->DisplayRect(true);
  guitest::ClickAt(Wnd(), (firstLabel.left + firstLabel.right) / 2, (firstLabel.top + firstLabel.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return tree->GetSelected() == first; }));
  EXPECT_EQ((std::vector<String>{"changing first", "change first"}), events);
}

TEST_F(TreeView, FreeingNodesTheLastFirst) {
  TTreeNodes* nodes = tree->GetItems();
  TTreeNode* top = nodes->Add(nullptr, "top");
  TTreeNode* child = nodes->AddChild(top, "child");
  nodes->AddChild(child, "grandchild");
  nodes->AddChild(top, "second child");
  nodes->Add(nullptr, "other");
  top->SetExpanded(true);
  Show();
  tree->SetSelected(child);
  std::vector<String> deleted;
  tree->OnDeletion = [&](TObject*, TTreeNode* n) { deleted.push_back(n->GetText()); };
  top->Delete();
  EXPECT_EQ((std::vector<String>{"second child", "grandchild", "child", "top"}), deleted);
  EXPECT_EQ("other", WindowChildren());
  EXPECT_EQ(1, nodes->GetCount());
  EXPECT_NE(child, tree->GetSelected());

  TTreeNode* parent = nodes->GetFirstNode();
  nodes->AddChild(parent, "a");
  parent->SetExpanded(true);
  parent->DeleteChildren();
  EXPECT_FALSE(parent->GetExpanded()) << "no children, not expanded";
  EXPECT_EQ("", WindowChildren(parent->GetItemId()));

  // Freeing the tree frees its nodes.
  deleted.clear();
  nodes->AddChild(parent, "last");
  delete tree;
  EXPECT_EQ((std::vector<String>{"last", "other"}), deleted);
}

} // namespace
