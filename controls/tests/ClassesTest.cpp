#include "ControlsLibrary.h"
#include "cxClasses.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"

#include <gtest/gtest.h>

namespace {

const TResStringRec sFirst{GetModuleHandleA(nullptr), 41001};
const TResStringRec sSecond{GetModuleHandleA(nullptr), 41002};
const TResStringRec sMissing{GetModuleHandleA(nullptr), 41999};

class TLinked : public TcxComponent {
public:
  using TcxComponent::TcxComponent;
  int Links = 4;

protected:
  void GetFakeComponentLinks(TList* List) override {
    for (int i = 0; i < Links; ++i)
      List->Add(this);
  }
};

class TPropertiesA : public TcxInterfacedPersistent {
public:
  using TcxInterfacedPersistent::TcxInterfacedPersistent;
};
class TPropertiesB : public TPropertiesA {
public:
  using TPropertiesA::TPropertiesA;
};

} // namespace

TEST(ResourceStrings, FromTheStringTableOrTheReplacementList) {
  ASSERT_FALSE(cxResourceStringsReplacementList);
  EXPECT_EQ("First message", LoadLibraryResString(&sFirst));
  EXPECT_EQ("Second message", LoadLibraryResString(&sSecond));
  EXPECT_EQ("", LoadLibraryResString(&sMissing));

  cxResourceStringsReplacementList = std::make_unique<TStringList>();
  // Matched by the record's identity: an equal record elsewhere is another one.
  const TResStringRec copyOfFirst = sFirst;
  cxResourceStringsReplacementList->AddObject("Replaced copy", const_cast<TResStringRec*>(&copyOfFirst));
  cxResourceStringsReplacementList->AddObject("Replaced second", const_cast<TResStringRec*>(&sSecond));
  const struct {
    const TResStringRec* record;
    const char* text;
  } cases[] = {
      {&sFirst, "First message"},
      {&sSecond, "Replaced second"},
      {&copyOfFirst, "Replaced copy"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.text, LoadLibraryResString(c.record));
  cxClassesFinalize();
  EXPECT_FALSE(cxResourceStringsReplacementList);
}

TEST(RegisteredClasses, OneEntryPerExactClassWithItsFirstDescription) {
  TcxRegisteredClasses classes;
  classes.Register(cxClassRef<TPropertiesA>(), "A|first");
  classes.Register(cxClassRef<TPropertiesB>(), "B");
  classes.Register(cxClassRef<TPropertiesA>(), "A|second");
  ASSERT_EQ(2, classes.GetCount());
  EXPECT_EQ(0, classes.IndexOf(typeid(TPropertiesA)));
  EXPECT_EQ(1, classes.IndexOf(typeid(TPropertiesB)));
  EXPECT_EQ("A|first", classes.GetDescription(0));
  // The reference makes an object of its own class with an owner.
  TStringList owner;
  std::unique_ptr<TObject> made(classes.GetClass(1).Create(&owner));
  auto* b = dynamic_cast<TPropertiesB*>(made.get());
  ASSERT_NE(nullptr, b);
  EXPECT_EQ(&owner, b->GetOwner());
  classes.Unregister(typeid(TPropertiesA));
  classes.Unregister(typeid(TPropertiesA));
  EXPECT_EQ(-1, classes.IndexOf(typeid(TPropertiesA)));
  EXPECT_EQ(0, classes.IndexOf(typeid(TPropertiesB)));
  classes.Clear();
  EXPECT_EQ(0, classes.GetCount());
}

TEST(ClassHelpers, FakeLinksStayNilOutsideADesigner) {
  TComponent owner(nullptr);
  auto* linked = new TLinked(&owner);
  linked->Loaded();
  EXPECT_EQ(nullptr, linked->FakeComponentLink1);
  EXPECT_EQ(nullptr, linked->FakeComponentLink2);
  EXPECT_EQ(nullptr, linked->FakeComponentLink3);
}

TEST(ControlsLibrary, StartsOnceAndEndsWithItsLastUser) {
  TcxLookAndFeel* root = RootLookAndFeel();
  ASSERT_NE(nullptr, root);
  {
    TControlsLibrary again;
    EXPECT_EQ(root, RootLookAndFeel());
  }
  EXPECT_EQ(root, RootLookAndFeel());
  ASSERT_NE(nullptr, cxIndicatorImages());
  EXPECT_EQ(5, cxIndicatorImages()->GetCount());
  EXPECT_EQ(5, cxIndicatorImages()->GetWidth());
  EXPECT_EQ(9, cxIndicatorImages()->GetHeight());
}
