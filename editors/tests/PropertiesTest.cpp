// Editor properties: defaults, the single change notification, alignment
// with its defaults, read-only state, assignment, validation, the live list
// and the registry.
#include "EditTest.h"

#include "cxEditConsts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Counts the owner's notifications.
struct TNotified {
  explicit TNotified(TcxCustomEditProperties* P) {
    P->OnPropertiesChanged = [this](TObject*) { ++count; };
  }
  int count = 0;
};

class TProvider : public TcxCustomEditDefaultValuesProvider {
public:
  TProvider() : TcxCustomEditDefaultValuesProvider(nullptr) {}
  TAlignment Alignment = taRightJustify;
  bool ReadOnly = true;
  TAlignment DefaultAlignment() override { return Alignment; }
  bool DefaultReadOnly() override { return ReadOnly; }
};

TEST(EditProperties, ANewObjectHasTheListedDefaults) {
  TcxCustomEditProperties p(nullptr);
  EXPECT_TRUE(p.GetAutoSelect());
  EXPECT_EQ(16397, p.ClickKey);
  EXPECT_EQ(0, p.ClearKey);
  EXPECT_TRUE(p.UseMouseWheel);
  EXPECT_FALSE(p.GetReadOnly());
  EXPECT_FALSE(p.IsReadOnlyStored());
  EXPECT_EQ(taLeftJustify, p.GetAlignment()->GetHorz());
  EXPECT_EQ(taTopJustify, p.GetAlignment()->GetVert());
  EXPECT_FALSE(p.IsAlignmentStored());
  EXPECT_EQ(0, p.GetButtons()->GetCount());
  EXPECT_TRUE(p.GetUseLeftAlignmentOnEditing());
  EXPECT_FALSE(p.IsUseLeftAlignmentOnEditingStored());
  EXPECT_EQ(0, p.GetCapabilities());
  p.GetButtons()->Add();
  EXPECT_EQ(16, p.GetCapabilities());
}

TEST(EditProperties, ReadOnlyFalseOnANewObjectIsStoredAndNotifiesOnce) {
  TcxCustomEditProperties p(nullptr);
  TNotified notified(&p);
  p.SetReadOnly(false);
  EXPECT_TRUE(p.IsReadOnlyStored());
  EXPECT_EQ(1, notified.count);
  p.SetReadOnly(false);
  EXPECT_EQ(1, notified.count);
  p.SetReadOnly(true);
  EXPECT_EQ(2, notified.count);
}

TEST(EditProperties, UpdateBracketsGiveOneNotificationOrNone) {
  const struct {
    bool invalidate;
    int expected;
  } cases[] = {{true, 1}, {false, 0}};
  for (const auto& c : cases) {
    TcxCustomEditProperties p(nullptr);
    TNotified notified(&p);
    p.BeginUpdate();
    p.SetAutoSelect(false);
    p.SetReadOnly(true);
    p.GetButtons()->Add();
    p.EndUpdate(c.invalidate);
    EXPECT_EQ(c.expected, notified.count) << c.invalidate;
    EXPECT_FALSE(p.IsChangedLocked());
  }
}

TEST(EditProperties, EndUpdateWithoutBeginNotifiesNobody) {
  TcxCustomEditProperties p(nullptr);
  TNotified notified(&p);
  p.EndUpdate(true);
  EXPECT_EQ(0, notified.count);
  EXPECT_FALSE(p.IsChangedLocked());
  p.SetAutoSelect(false);
  EXPECT_EQ(1, notified.count);
}

TEST(EditProperties, TheChangedLockSilencesChanges) {
  TcxCustomEditProperties p(nullptr);
  TNotified notified(&p);
  p.SetChangedLock(true);
  p.SetReadOnly(true);
  p.SetChangedLock(false);
  EXPECT_EQ(0, notified.count);
  EXPECT_TRUE(p.GetReadOnly());
}

TEST(EditProperties, AnOwnerBeingDestroyedHearsNothing) {
  int count = 0;
  {
    TEditForm f(false);
    f.edit->GetProperties()->OnPropertiesChanged = [&count](TObject*) { ++count; };
    f.form.reset();
  }
  EXPECT_EQ(0, count);
}

TEST(EditProperties, TheProvidersAlignmentFillsAnUnassignedHorz) {
  TProvider provider;
  TcxCustomEditProperties p(nullptr);
  p.SetDefaultValuesProvider(&provider);
  EXPECT_EQ(taRightJustify, p.GetAlignment()->GetHorz());
  EXPECT_FALSE(p.IsAlignmentStored());
  EXPECT_TRUE(p.GetReadOnly());
  EXPECT_FALSE(p.IsReadOnlyStored());
}

TEST(EditProperties, ChangingTheReturnedAlignmentStoresItAndNotifies) {
  TcxCustomEditProperties p(nullptr);
  TNotified notified(&p);
  p.GetAlignment()->SetHorz(taRightJustify);
  EXPECT_TRUE(p.IsAlignmentStored());
  EXPECT_EQ(taRightJustify, p.GetAlignment()->GetHorz());
  EXPECT_EQ(1, notified.count);
  p.GetAlignment()->SetVert(taVCenter);
  EXPECT_EQ(2, notified.count);
  p.GetAlignment()->SetVert(taVCenter);
  EXPECT_EQ(2, notified.count);
}

TEST(EditProperties, SettingHorzToItsValueStillMarksItAssignedAndNotifies) {
  TcxEditAlignment alignment(nullptr);
  int fired = 0;
  alignment.OnChanged = [&fired](TObject*) { ++fired; };
  alignment.SetHorz(taLeftJustify);
  EXPECT_TRUE(alignment.IsHorzStored());
  EXPECT_EQ(1, fired);
}

TEST(EditProperties, AssignCopiesEventsProviderAndAnUnassignedReadOnlyStaysUnassigned) {
  TProvider provider;
  TcxCustomEditProperties source(nullptr);
  int clicks = 0;
  source.OnButtonClick = [&clicks](TObject*, int) { ++clicks; };
  source.OnChange = [](TObject*) {};
  source.OnEditValueChanged = [](TObject*) {};
  source.OnValidate = [](TObject*, Variant&, String&, bool&) {};
  source.SetDefaultValuesProvider(&provider);
  source.ClickKey = scCtrl | 'K';
  source.BeepOnError = true;
  source.GetButtons()->Add()->SetKind(bkGlyph);
  TcxCustomEditProperties target(nullptr);
  target.SetReadOnly(true);
  TNotified notified(&target);
  target.Assign(&source);
  EXPECT_EQ(1, notified.count);
  EXPECT_EQ(&provider, target.GetDefaultValuesProvider());
  ASSERT_TRUE(target.OnButtonClick);
  target.OnButtonClick(nullptr, 0);
  EXPECT_EQ(1, clicks);
  EXPECT_TRUE(target.OnChange && target.OnEditValueChanged && target.OnValidate);
  EXPECT_FALSE(target.IsReadOnlyStored());
  EXPECT_EQ(scCtrl | 'K', target.ClickKey);
  EXPECT_TRUE(target.BeepOnError);
  ASSERT_EQ(1, target.GetButtons()->GetCount());
  EXPECT_EQ(bkGlyph, target.GetButtons()->GetItem(0)->GetKind());
}

TEST(EditProperties, ValidationFillsTheLibraryTextAndAsksOnValidateOnlyWhenItValidates) {
  TTestProperties p(nullptr);
  int asked = 0;
  p.OnValidate = [&asked](TObject*, Variant&, String& ErrorText, bool& Error) {
    ++asked;
    Error = ErrorText.size() > 0;
  };
  TEditForm f(false);
  Variant value("x");
  String text;
  bool error = false;
  p.Validates = false;
  p.ValidateDisplayValue(value, text, f.edit, error);
  EXPECT_EQ("", text);
  EXPECT_EQ(0, asked);
  p.Validates = true;
  p.ValidateDisplayValue(value, text, f.edit, error);
  EXPECT_EQ("Invalid input value. Use escape key to abandon changes", text);
  EXPECT_EQ(1, asked);
  EXPECT_TRUE(error);
}

TEST(EditProperties, TheLiveListHoldsEveryObjectAndAProviderLeavesThemAllWhenFreed) {
  auto provider = std::make_unique<TProvider>();
  TcxCustomEditProperties a(nullptr);
  auto b = std::make_unique<TcxCustomEditProperties>(nullptr);
  const auto* list = EditPropertiesList();
  ASSERT_NE(nullptr, list);
  EXPECT_NE(list->end(), std::find(list->begin(), list->end(), b.get()));
  a.SetDefaultValuesProvider(provider.get());
  b->SetDefaultValuesProvider(provider.get());
  provider.reset();
  EXPECT_EQ(nullptr, a.GetDefaultValuesProvider());
  EXPECT_EQ(nullptr, b->GetDefaultValuesProvider());
  TcxCustomEditProperties* gone = b.get();
  b.reset();
  EXPECT_EQ(list->end(), std::find(list->begin(), list->end(), gone));
}

TEST(EditProperties, TheRegistryKeepsOneEntryPerClass) {
  TcxRegisteredClasses* registry = EditPropertiesRegistry();
  EXPECT_EQ(registry, EditPropertiesRegistry());
  const int count = registry->GetCount();
  registry->Register(cxClassRef<TTestProperties>(), "Test|A test editor");
  registry->Register(cxClassRef<TTestProperties>(), "Test|Again");
  EXPECT_EQ(count + 1, registry->GetCount());
  const int index = registry->IndexOf(typeid(TTestProperties));
  EXPECT_EQ("Test|A test editor", registry->GetDescription(index));
  registry->Unregister(typeid(TTestProperties));
}

TEST(EditProperties, UnitRoutines) {
  EXPECT_EQ(TShiftState{ssLeft}, MouseButtonToShift(mbLeft));
  EXPECT_EQ(TShiftState{ssMiddle}, MouseButtonToShift(mbMiddle));
  const struct {
    int code;
    TShiftState shift;
  } codes[] = {{0, TShiftState()}, {1, {ssLeft}}, {2, {ssRight}}, {3, {ssMiddle}}};
  for (const auto& c : codes)
    EXPECT_EQ(c.shift, ContainerButtonToShift(c.code)) << c.code;
  EXPECT_EQ(WPARAM(MK_SHIFT | MK_CONTROL | MK_LBUTTON | MK_MBUTTON | MK_RBUTTON),
            ShiftStateToMouseKeys({ssShift, ssCtrl, ssLeft, ssMiddle, ssRight, ssAlt, ssDouble}));
  EXPECT_TRUE(VarEqualsSameType(Variant(1), Variant(1)));
  EXPECT_FALSE(VarEqualsSameType(Variant(1), Variant(String("1"))));
  SIZE size{3, 9};
  EnlargeSize(size, SIZE{5, 2});
  EXPECT_EQ(5, size.cx);
  EXPECT_EQ(9, size.cy);
  TEditForm f(false);
  EXPECT_EQ(f.edit, GetOwnerComponent(f.edit->GetProperties()->GetAlignment()));
  EXPECT_EQ(nullptr, GetOwnerComponent(nullptr));
  TcxRegion empty;
  TcxRegion some(0, 0, 4, 4);
  EXPECT_TRUE(IsRegionEmpty(&empty));
  RegionUnion(&empty, &some);
  EXPECT_FALSE(IsRegionEmpty(&empty));
}

TEST(EditProperties, TheLibraryStringsComeFromTheStringTable) {
  EXPECT_EQ("The repository item is not acceptable",
            LoadLibraryResString(&cxSEditRepositoryItemNotAcceptable));
  EXPECT_EQ("Invalid input value. Use escape key to abandon changes",
            LoadLibraryResString(&cxSEditValidateErrorText));
}

} // namespace
