#include "Collections.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TNamedItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  String Name;
  void Assign(const TPersistent* Source) override {
    if (auto* other = dynamic_cast<const TNamedItem*>(Source))
      Name = other->Name;
    else
      TCollectionItem::Assign(Source);
  }
  String GetDisplayName() const override { return Name; }
};

class TCountingCollection : public TTypedCollection<TNamedItem> {
public:
  int Updates = 0;

protected:
  void Update(TCollectionItem*) override { ++Updates; }
};

// An item whose own members are made after the base constructor has put it
// into its collection, and a collection that reads them whenever it hears of
// a new item, as an editor refreshing its buttons from captions does.
class TCaptionedItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  String Caption = "made";
};

class TReadingCollection : public TTypedCollection<TCaptionedItem> {
public:
  std::vector<String> Heard;

protected:
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    if (Action == cnAdded) Heard.push_back("added " + static_cast<TCaptionedItem*>(Item)->Caption);
  }
  void Update(TCollectionItem*) override {
    Heard.push_back("update " + GetItem(GetCount() - 1)->Caption);
  }
};

TEST(Collection, ANewItemIsAnnouncedOnlyOnceItIsWhole) {
  TReadingCollection c;
  c.Add();
  c.Insert(0);
  EXPECT_EQ(c.Heard, (std::vector<String>{"added made", "update made", "added made", "update made", "update made"}));
}

TEST(Collection, ItemsKnowTheirCollectionAndIndex) {
  TCountingCollection c;
  TNamedItem* a = c.Add();
  a->Name = "a";
  TNamedItem* b = c.Add();
  b->Name = "b";
  TNamedItem* x = static_cast<TNamedItem*>(c.Insert(0));
  x->Name = "x";
  EXPECT_EQ(c.GetCount(), 3);
  EXPECT_EQ(x->GetIndex(), 0);
  EXPECT_EQ(b->GetIndex(), 2);
  EXPECT_EQ(a->GetCollection(), &c);
  EXPECT_NE(a->GetID(), b->GetID());
  EXPECT_EQ(c.FindItemID(b->GetID()), b);
  b->SetIndex(0);
  EXPECT_EQ(c[0]->Name, "b");
  EXPECT_THROW(b->SetIndex(3), EListError);
  EXPECT_THROW(c.GetItem(3), EListError);
  c.Delete(1); // x
  EXPECT_EQ(c.GetCount(), 2);
  EXPECT_EQ(c[1]->Name, "a");
}

TEST(Collection, ItemLeavesWhenDestroyedOrMoved) {
  TCountingCollection one, two;
  TNamedItem* a = one.Add();
  TNamedItem* b = one.Add();
  delete a; // an item freed on its own leaves its collection
  EXPECT_EQ(one.GetCount(), 1);
  b->SetCollection(&two);
  EXPECT_EQ(one.GetCount(), 0);
  EXPECT_EQ(two[0], b);
}

TEST(Collection, UpdatesAreBatchedAndAssignCopiesItems) {
  TCountingCollection src, dst;
  src.BeginUpdate();
  for (const char* n : {"p", "q", "r"})
    src.Add()->Name = n;
  EXPECT_EQ(src.Updates, 0);
  src.EndUpdate();
  EXPECT_EQ(src.Updates, 1);
  dst.Add()->Name = "old";
  dst.Assign(&src);
  ASSERT_EQ(dst.GetCount(), 3);
  EXPECT_EQ(dst[2]->Name, "r");
  dst.Clear();
  EXPECT_EQ(dst.GetCount(), 0);
}

} // namespace
