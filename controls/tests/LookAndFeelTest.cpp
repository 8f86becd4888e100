#include "cxLookAndFeels.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Counts what a look-and-feel announces.
struct TChanges {
  explicit TChanges(TcxLookAndFeel& lookAndFeel) {
    lookAndFeel.OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues values) { Sets.push_back(values); };
  }
  std::vector<TcxLookAndFeelValues> Sets;
};

const TcxLookAndFeelValues kKind{lfvKind};
const TcxLookAndFeelValues kNative{lfvNativeStyle};

// A listener that leaves the master's list when told of a change.
class TLeavingListener : public IcxLookAndFeelListener {
public:
  explicit TLeavingListener(TcxLookAndFeel* master) : FMaster(master) { master->AddChangeListener(this); }
  TObject* GetListenerObject() override { return nullptr; }
  void MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues) override {
    ++Calls;
    FMaster->RemoveChangeListener(this);
  }
  void MasterDestroying(TcxLookAndFeel*) override {}
  int Calls = 0;

private:
  TcxLookAndFeel* FMaster;
};

} // namespace

TEST(LookAndFeel, NewObjectsFollowTheRoot) {
  TcxLookAndFeel* root = RootLookAndFeel();
  ASSERT_NE(nullptr, root);
  TcxLookAndFeel lookAndFeel(nullptr);
  EXPECT_EQ(lfUltraFlat, lookAndFeel.GetKind());
  EXPECT_FALSE(lookAndFeel.GetNativeStyle());
  EXPECT_EQ(root, lookAndFeel.GetMasterLookAndFeel());
  EXPECT_EQ(nullptr, root->GetMasterLookAndFeel());
  TChanges changes(lookAndFeel);
  {
    TcxLookAndFeelController controller(nullptr);
    controller.SetKind(lfStandard);
    EXPECT_EQ(lfStandard, lookAndFeel.GetKind());
    EXPECT_EQ(TcxStandardLookAndFeelPainter::Instance(), lookAndFeel.CurrentPainter());
  }
  // The last controller gone, the root is back to its defaults.
  EXPECT_EQ(lfUltraFlat, lookAndFeel.GetKind());
  EXPECT_TRUE(root->GetAssignedValues().Empty());
  ASSERT_EQ(2u, changes.Sets.size());
  EXPECT_EQ(kKind, changes.Sets[0]);
  EXPECT_EQ(kKind, changes.Sets[1]);
}

TEST(LookAndFeel, SettingTheCurrentValueStillAssignsItAndAnnouncesNothing) {
  TcxLookAndFeel master(nullptr);
  TcxLookAndFeel lookAndFeel(nullptr);
  lookAndFeel.SetMaster(&master);
  TChanges changes(lookAndFeel);
  lookAndFeel.SetKind(lfUltraFlat);
  EXPECT_TRUE(changes.Sets.empty());
  EXPECT_EQ(kKind, lookAndFeel.GetAssignedValues());
  master.SetKind(lfFlat);
  EXPECT_EQ(lfUltraFlat, lookAndFeel.GetKind());
  master.SetNativeStyle(true);
  EXPECT_TRUE(lookAndFeel.GetNativeStyle());
  ASSERT_EQ(1u, changes.Sets.size());
  EXPECT_EQ(kNative, changes.Sets[0]);
  lookAndFeel.Reset();
  EXPECT_EQ(lfFlat, lookAndFeel.GetKind());
}

TEST(LookAndFeel, AListenerLeavingDuringTheWalkDoesNotMakeTheNextOneMissed) {
  TcxLookAndFeel master(nullptr);
  TLeavingListener leaving(&master);
  TcxLookAndFeel follower(nullptr);
  follower.SetMaster(&master);
  TChanges changes(follower);
  master.SetKind(lfStandard);
  EXPECT_EQ(1, leaving.Calls);
  EXPECT_EQ(lfStandard, follower.GetKind());
  EXPECT_EQ(1u, changes.Sets.size());
  EXPECT_EQ(1, master.GetListenerCount());
}

TEST(LookAndFeel, DestroyingAMasterMovesItsDependantsToTheRoot) {
  auto master = std::make_unique<TcxLookAndFeel>(nullptr);
  master->SetKind(lfFlat);
  TcxLookAndFeel dependant(nullptr);
  dependant.SetMaster(master.get());
  TChanges changes(dependant);
  master.reset();
  EXPECT_EQ(RootLookAndFeel(), dependant.GetMasterLookAndFeel());
  EXPECT_EQ(lfUltraFlat, dependant.GetKind());
  // Only the kind differed between the old master and the root.
  ASSERT_EQ(1u, changes.Sets.size());
  EXPECT_EQ(kKind, changes.Sets[0]);
}

TEST(LookAndFeel, SetMasterEdgeCases) {
  TcxLookAndFeel lookAndFeel(nullptr);
  TChanges changes(lookAndFeel);
  const int rootListeners = RootLookAndFeel()->GetListenerCount();
  lookAndFeel.SetMaster(nullptr);
  lookAndFeel.SetMaster(RootLookAndFeel());
  lookAndFeel.SetMaster(&lookAndFeel);
  EXPECT_EQ(rootListeners, RootLookAndFeel()->GetListenerCount());
  EXPECT_TRUE(changes.Sets.empty());
  RootLookAndFeel()->SetMaster(&lookAndFeel);
  EXPECT_EQ(nullptr, RootLookAndFeel()->GetMasterLookAndFeel());
}

TEST(LookAndFeel, ControllersAttachOnlyToTheRoot) {
  TcxLookAndFeel other(nullptr);
  const int before = cxLookAndFeelControllerCount();
  {
    TcxLookAndFeelController controller(nullptr);
    EXPECT_EQ(before + 1, cxLookAndFeelControllerCount());
    other.AddChangeListener(&controller);
    EXPECT_EQ(0, other.GetListenerCount());
    controller.SetNativeStyle(true);
    EXPECT_TRUE(controller.GetNativeStyle());
    EXPECT_TRUE(other.GetNativeStyle());
    {
      // A second controller leaving keeps the values: one is still there.
      TcxLookAndFeelController second(nullptr);
    }
    EXPECT_TRUE(RootLookAndFeel()->GetNativeStyle());
  }
  EXPECT_EQ(before, cxLookAndFeelControllerCount());
  EXPECT_FALSE(RootLookAndFeel()->GetNativeStyle());
}

TEST(LookAndFeel, AssignTakesOwnValuesAssignedSetAndMaster) {
  TcxLookAndFeel master(nullptr);
  master.SetNativeStyle(true);
  TcxLookAndFeel source(nullptr);
  source.SetMaster(&master);
  source.SetKind(lfStandard);
  TcxLookAndFeel target(nullptr);
  TChanges changes(target);
  target.Assign(&source);
  EXPECT_EQ(&master, target.GetMasterLookAndFeel());
  EXPECT_EQ(kKind, target.GetAssignedValues());
  EXPECT_EQ(lfStandard, target.GetKind());
  EXPECT_TRUE(target.GetNativeStyle());
  ASSERT_EQ(1u, changes.Sets.size());
  EXPECT_EQ(kKind + kNative, changes.Sets[0]);
  TStringList notALookAndFeel;
  EXPECT_THROW(target.Assign(&notALookAndFeel), EConvertError);
}

TEST(LookAndFeel, PainterByKind) {
  const struct {
    TcxLookAndFeelKind kind;
    TcxCustomLookAndFeelPainterClass painter;
    int style;
  } cases[] = {
      {lfFlat, TcxFlatLookAndFeelPainter::Instance(), 0},
      {lfStandard, TcxStandardLookAndFeelPainter::Instance(), 1},
      {lfUltraFlat, TcxUltraFlatLookAndFeelPainter::Instance(), 2},
  };
  for (const auto& c : cases) {
    TcxLookAndFeel lookAndFeel(nullptr);
    lookAndFeel.SetKind(c.kind);
    EXPECT_EQ(c.painter, lookAndFeel.CurrentPainter());
    EXPECT_EQ(c.style, lookAndFeel.CurrentPainter()->GetPainterStyle());
  }
  EXPECT_EQ(3, TcxWinXPLookAndFeelPainter::Instance()->GetPainterStyle());
  EXPECT_TRUE(TcxWinXPLookAndFeelPainter::Instance()->IsNative());
}
