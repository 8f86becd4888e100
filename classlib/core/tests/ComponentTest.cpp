#include "Components.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records its notifications and its end.
class Probe : public TComponent {
public:
  Probe(TComponent* owner, std::vector<std::string>& log, std::string tag)
      : TComponent(owner), FLog(log), FTag(std::move(tag)) {}
  ~Probe() override { FLog.push_back(FTag + " destroyed"); }
  TComponent* Watched = nullptr;

protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == Watched) {
      Watched = nullptr;
      FLog.push_back(FTag + " lost watched");
    }
  }

private:
  std::vector<std::string>& FLog;
  std::string FTag;
};

TEST(Component, OwnerDestroysWhatItOwns) {
  std::vector<std::string> log;
  {
    auto owner = std::make_unique<Probe>(nullptr, log, "owner");
    auto* a = new Probe(owner.get(), log, "a");
    new Probe(owner.get(), log, "b");
    EXPECT_EQ(owner->GetComponentCount(), 2);
    EXPECT_EQ(a->GetOwner(), owner.get());
    EXPECT_EQ(a->GetComponentIndex(), 0);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"owner destroyed", "b destroyed", "a destroyed"}));
}

TEST(Component, SiblingsAndFreeNotificationHearOfRemoval) {
  std::vector<std::string> log;
  auto form = std::make_unique<Probe>(nullptr, log, "form");
  auto* source = new Probe(form.get(), log, "source");
  auto* user = new Probe(form.get(), log, "user");
  user->Watched = source;
  auto outsider = std::make_unique<Probe>(nullptr, log, "outsider");
  auto* watchedElsewhere = new Probe(form.get(), log, "far");
  outsider->Watched = watchedElsewhere;
  watchedElsewhere->FreeNotification(outsider.get());

  delete source; // a component may be freed early; its owner lets go of it
  EXPECT_EQ(user->Watched, nullptr);
  EXPECT_EQ(form->GetComponentCount(), 2);
  form.reset();
  EXPECT_EQ(outsider->Watched, nullptr);
  EXPECT_NE(std::find(log.begin(), log.end(), "outsider lost watched"), log.end());
}

TEST(Component, NamesAreUniqueAmongSiblings) {
  std::vector<std::string> log;
  auto form = std::make_unique<Probe>(nullptr, log, "form");
  auto* a = new Probe(form.get(), log, "a");
  auto* b = new Probe(form.get(), log, "b");
  a->SetName("dbSource");
  EXPECT_THROW(b->SetName("DBSOURCE"), EComponentError);
  b->SetName("dbTarget");
  EXPECT_EQ(form->FindComponent("dbtarget"), b);
  EXPECT_EQ(form->FindComponent(""), nullptr);
}

TEST(Component, InsertMovesOwnershipAndAbortIsSilentError) {
  std::vector<std::string> log;
  auto first = std::make_unique<Probe>(nullptr, log, "first");
  auto second = std::make_unique<Probe>(nullptr, log, "second");
  auto* item = new Probe(first.get(), log, "item");
  second->InsertComponent(item);
  EXPECT_EQ(first->GetComponentCount(), 0);
  EXPECT_EQ(item->GetOwner(), second.get());
  try {
    Abort();
  } catch (const EAbort& e) {
    EXPECT_STREQ(e.what(), "Operation aborted");
  }
}

} // namespace

TEST(Component, DesigningReachesOwnedAndLaterInsertedComponents) {
  std::vector<std::string> log;
  auto owner = std::make_unique<Probe>(nullptr, log, "owner");
  auto* child = new Probe(owner.get(), log, "child");
  auto* grandchild = new Probe(child, log, "grandchild");
  EXPECT_FALSE(owner->IsDesigning());
  owner->SetDesigning(true);
  EXPECT_TRUE(child->IsDesigning());
  EXPECT_TRUE(grandchild->IsDesigning());
  auto* late = new Probe(owner.get(), log, "late");
  EXPECT_TRUE(late->IsDesigning());
  child->SetDesigning(false, false);
  EXPECT_FALSE(child->IsDesigning());
  EXPECT_TRUE(grandchild->IsDesigning());
  owner->SetDesigning(false);
  EXPECT_FALSE(grandchild->IsDesigning());
  EXPECT_FALSE(late->IsDesigning());
}
