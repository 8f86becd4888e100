// The edit style through its controller chain, repository items shared by
// editors, the unbound data binding and the default-values provider.
#include "EditTest.h"

#include <gtest/gtest.h>

namespace {

TEST(EditStyle, TheThreeValuesComeFromTheControllerChainOrTheDefault) {
  TComponent owner(nullptr);
  auto* outer = new TcxEditStyleController(&owner);
  auto* inner = new TcxEditStyleController(&owner);
  inner->GetStyle()->SetStyleController(outer);
  TcxCustomEditStyle style(nullptr, false);
  style.SetStyleController(inner);
  EXPECT_EQ(btsDefault, style.GetButtonStyle());
  outer->GetStyle()->SetButtonStyle(bts3D);
  outer->GetStyle()->SetButtonTransparency(ebtAlways);
  EXPECT_EQ(bts3D, style.GetButtonStyle());
  EXPECT_EQ(ebtAlways, style.GetButtonTransparency());
  EXPECT_TRUE(style.IsValueAssigned(svButtonStyle));
  inner->GetStyle()->SetButtonStyle(btsFlat);
  EXPECT_EQ(btsFlat, style.GetButtonStyle());
  style.SetPopupBorderStyle(epbsFrame3D);
  EXPECT_EQ(epbsFrame3D, style.GetPopupBorderStyle());
  inner->GetStyle()->SetAssignedValues(TcxContainerStyleValues());
  outer->GetStyle()->SetAssignedValues(TcxContainerStyleValues());
  EXPECT_EQ(btsDefault, style.GetButtonStyle());
  EXPECT_EQ(ebtNone, style.GetButtonTransparency());
  EXPECT_FALSE(style.IsValueAssigned(svButtonStyle));
}

TEST(EditStyle, AnInternalStyleAnswersOnlyItsOwnValues) {
  TComponent owner(nullptr);
  auto* controller = new TcxEditStyleController(&owner);
  controller->GetStyle()->SetButtonStyle(bts3D);
  TcxCustomEditStyle style(nullptr, true);
  style.SetStyleController(controller);
  EXPECT_EQ(btsDefault, style.GetButtonStyle());
  style.SetButtonStyle(btsUltraFlat);
  EXPECT_EQ(btsUltraFlat, style.GetButtonStyle());
}

TEST(EditStyle, NamesCountAndAssign) {
  TcxCustomEditStyle style(nullptr, false);
  EXPECT_EQ(11, style.GetStyleValueCount());
  const struct {
    TcxContainerStyleValue index;
    const char* name;
  } names[] = {{svButtonStyle, "ButtonStyle"},
               {svButtonTransparency, "ButtonTransparency"},
               {svPopupBorderStyle, "PopupBorderStyle"},
               {csvShadow, "Shadow"}};
  for (const auto& n : names) {
    String name;
    EXPECT_TRUE(style.GetStyleValueName(n.index, name));
    EXPECT_EQ(n.name, name);
  }
  style.SetButtonStyle(btsHotFlat);
  style.PopupCloseButton = false;
  TcxCustomEditStyle copy(nullptr, false);
  copy.Assign(&style);
  EXPECT_EQ(btsHotFlat, copy.GetButtonStyle());
  EXPECT_FALSE(copy.PopupCloseButton);
  EXPECT_TRUE(copy.GetAssignedValues().Contains(svButtonStyle));
}

TEST(EditStyle, APlainEditorHidesTheButtonValuesFromStreaming) {
  TEditForm f(false);
  TcxCustomEditStyle* style = f.edit->GetStyle();
  ASSERT_NE(nullptr, dynamic_cast<TcxCustomEditStyle*>(f.edit->TcxContainer::GetStyle()));
  style->SetButtonStyle(bts3D);
  style->SetBorderStyle(cbsSingle);
  EXPECT_FALSE(style->IsValueStored(svButtonStyle));
  EXPECT_TRUE(style->IsValueStored(csvBorderStyle));
  TcxCustomEditStyle free(nullptr, false);
  free.SetButtonStyle(bts3D);
  EXPECT_TRUE(free.IsValueStored(svButtonStyle));
}

TEST(EditStyle, TheDefaultColorIsTheParentsForAParentColorEditor) {
  TEditForm f(false);
  EXPECT_EQ(clWindow, f.edit->GetStyle()->GetDefaultColor());
  f.edit->SetParentColor(true);
  EXPECT_EQ(clSilver, f.edit->GetStyle()->GetDefaultColor());
}

TEST(EditRepository, ItemChangesReachEveryEditorOnce) {
  TEditForm f;
  auto* second = new TTestEdit(f.form.get());
  second->SetParent(f.form.get());
  second->SetAutoSize(false);
  second->SetBounds(10, 90, 200, 24);
  second->AfterConstruction();
  TcxEditRepository repository(nullptr);
  auto* item = repository.CreateItem<TTestRepositoryItem>();
  f.edit->SetRepositoryItem(item);
  second->SetRepositoryItem(item);
  EXPECT_EQ(item->GetProperties(), f.edit->GetActiveProperties());
  const int firstApplied = f.edit->Applied;
  const int secondApplied = second->Applied;
  item->Props()->SetReadOnly(true);
  EXPECT_EQ(firstApplied + 1, f.edit->Applied);
  EXPECT_EQ(secondApplied + 1, second->Applied);
  EXPECT_TRUE(f.edit->GetActiveProperties()->GetReadOnly());
  // The editor's own properties no longer reach it.
  f.edit->GetProperties()->SetReadOnly(true);
  EXPECT_EQ(firstApplied + 1, f.edit->Applied);
  EXPECT_EQ(1, repository.GetCount());
}

// An editor whose item is freed takes its own properties back, and their
// changes reach it again.
TEST(EditRepository, FreeingAnItemGivesBothEditorsTheirOwnPropertiesAndTheirChanges) {
  TEditForm f;
  auto* second = new TTestEdit(f.form.get());
  second->SetParent(f.form.get());
  second->AfterConstruction();
  TcxEditRepository repository(nullptr);
  auto* item = repository.CreateItem<TTestRepositoryItem>();
  f.edit->SetRepositoryItem(item);
  second->SetRepositoryItem(item);
  delete item;
  EXPECT_EQ(0, repository.GetCount());
  for (TTestEdit* edit : {f.edit, second}) {
    EXPECT_EQ(nullptr, edit->GetRepositoryItem());
    EXPECT_EQ(edit->GetProperties(), edit->GetActiveProperties());
    EXPECT_TRUE(edit->GetProperties()->OnPropertiesChanged);
    EXPECT_EQ(edit->GetDataBinding()->GetDefaultValuesProvider(),
              edit->GetProperties()->GetDefaultValuesProvider());
  }
  // A change of the own properties reaches the editor: its buttons show.
  f.edit->GetProperties()->GetButtons()->Add();
  EXPECT_EQ(1, f.edit->GetViewInfo()->ButtonCount());
}

TEST(EditRepository, AnItemOfAnotherKindIsRefusedAndTheEditorKeepsItsItem) {
  TEditForm f(false);
  TcxEditRepository repository(nullptr);
  auto* item = repository.CreateItem<TTestRepositoryItem>();
  auto* other = repository.CreateItem<TOtherRepositoryItem>();
  f.edit->SetRepositoryItem(item);
  try {
    f.edit->SetRepositoryItem(other);
    FAIL() << "no exception";
  } catch (const EcxEditError& e) {
    EXPECT_EQ("The repository item is not acceptable", e.Message);
  }
  EXPECT_EQ(item, f.edit->GetRepositoryItem());
}

TEST(EditRepository, ListenersHearChangesLastToFirstAndAddOnce) {
  struct TListener : IcxRepositoryItemListener {
    TListener(std::vector<int>& AOrder, int AId) : order(AOrder), id(AId) {}
    void ItemRemoved(TcxEditRepositoryItem*) override {}
    void ApplyPropertiesChange(TcxEditRepositoryItem*) override { order.push_back(id); }
    std::vector<int>& order;
    int id;
  };
  std::vector<int> order;
  TListener a(order, 1);
  TListener b(order, 2);
  TTestRepositoryItem item(nullptr);
  item.AddListener(&a);
  item.AddListener(&b);
  item.AddListener(&a);
  item.GetProperties()->SetReadOnly(true);
  EXPECT_EQ((std::vector<int>{2, 1}), order);
  item.RemoveListener(&b);
  item.GetProperties()->SetReadOnly(false);
  EXPECT_EQ((std::vector<int>{2, 1, 1}), order);
}

TEST(EditRepository, ItemsMoveBetweenRepositoriesAndDieWithTheirs) {
  auto first = std::make_unique<TcxEditRepository>(nullptr);
  TcxEditRepository second(nullptr);
  TComponent owner(nullptr);
  auto* item = first->CreateItemEx<TTestRepositoryItem>(&owner);
  EXPECT_EQ(&owner, item->GetOwner());
  item->SetRepository(&second);
  EXPECT_EQ(0, first->GetCount());
  ASSERT_EQ(1, second.GetCount());
  EXPECT_EQ(item, second.GetItem(0));
  auto* own = first->CreateItem<TTestRepositoryItem>();
  EXPECT_EQ(first.get(), own->GetOwner());
  first.reset();
  EXPECT_EQ(1, second.GetCount());
}

TEST(EditDataBinding, TheUnboundBindingForwardsToTheEditor) {
  TEditForm f(false);
  TcxEditDataBinding* binding = f.edit->GetDataBinding();
  f.edit->DisplayText = "shown";
  EXPECT_EQ("shown", binding->GetDisplayValue().AsString());
  f.edit->SetEditValue(Variant(7));
  EXPECT_EQ(7, binding->GetStoredValue().AsInteger());
  EXPECT_FALSE(binding->GetModified());
  f.edit->UserSetValue(Variant(8));
  EXPECT_TRUE(binding->GetModified());
  EXPECT_TRUE(binding->CanModify());
  EXPECT_TRUE(binding->SetEditMode());
  EXPECT_FALSE(binding->CanCheckEditorValue());
  int changed = 0;
  binding->GetDefaultValuesProvider()->SetOnChanged([&changed](TObject*) { ++changed; });
  binding->DefaultValuesChanged();
  EXPECT_EQ(1, changed);
}

TEST(EditDataBinding, TheProvidersAnswers) {
  TcxCustomEditDefaultValuesProvider p(nullptr);
  EXPECT_EQ(taLeftJustify, p.DefaultAlignment());
  EXPECT_TRUE(p.DefaultCanModify());
  EXPECT_EQ("", p.DefaultEditMask());
  EXPECT_EQ(0, p.DefaultValueType());
  EXPECT_EQ(0, p.DefaultMaxLength());
  EXPECT_EQ(0.0, p.DefaultMaxValue());
  EXPECT_EQ(0.0, p.DefaultMinValue());
  EXPECT_FALSE(p.DefaultReadOnly());
  EXPECT_FALSE(p.DefaultIsMemo());
  EXPECT_FALSE(p.DefaultCanClickWhileLoading());
  EXPECT_EQ(3, p.DefaultBlobKind());
  EXPECT_EQ("", p.DefaultDisplayFormat());
  EXPECT_FALSE(p.IsOnSetTextAssigned());
  EXPECT_FALSE(p.HasDisplayFormat(true));
  EXPECT_TRUE(p.IsValidChar('x'));
  EXPECT_EQ(&p, p.GetInstance());
}

// The editor's provider notifies its properties, which tell the editor.
TEST(EditDataBinding, AProviderChangeReachesTheEditorsProperties) {
  TEditForm f(false);
  const int before = f.edit->Props()->ChangedCount;
  f.edit->GetDataBinding()->DefaultValuesChanged();
  EXPECT_EQ(before + 1, f.edit->Props()->ChangedCount);
}

} // namespace
