// Container styles and style controllers: defaults, assignment, lookups
// through controller chains, coalesced updates, the font kept equal to the
// controller's, and a controller's change and destruction.
#include "cxContainer.h"

#include <gtest/gtest.h>

namespace {

struct TChangeCounter {
  explicit TChangeCounter(TcxContainerStyle* AStyle) {
    AStyle->OnChanged = [this](TObject*) { ++count; };
  }
  int count = 0;
};

TEST(ContainerStyle, DefaultsWithoutAssignedValuesOrController) {
  TcxContainerStyle style(nullptr, false);
  EXPECT_EQ(cbsUltraFlat, style.GetBorderStyle());
  EXPECT_TRUE(style.GetHotTrack());
  EXPECT_FALSE(style.GetShadow());
  EXPECT_TRUE(style.GetTransparentBorder());
  EXPECT_EQ(cxBordersAll, style.GetEdges());
  EXPECT_EQ(clWindowFrame, style.GetBorderColor());
  EXPECT_EQ(clWindow, style.GetColor());
  EXPECT_TRUE(style.GetAssignedValues().Empty());
  const struct {
    TcxLookAndFeelKind kind;
    TcxContainerBorderStyle border;
  } kinds[] = {{lfFlat, cbsFlat}, {lfStandard, cbs3D}, {lfUltraFlat, cbsUltraFlat}};
  for (const auto& c : kinds) {
    style.GetLookAndFeel()->SetKind(c.kind);
    EXPECT_EQ(c.border, style.GetBorderStyle()) << c.kind;
  }
}

TEST(ContainerStyle, ValueNames) {
  TcxContainerStyle style(nullptr, false);
  const char* names[] = {"BorderColor", "BorderStyle", "Color",  "Edges",
                         "Font",        "HotTrack",    "Shadow", "TransparentBorder"};
  for (int i = 0; i < style.GetStyleValueCount(); ++i) {
    String name;
    ASSERT_TRUE(style.GetStyleValueName(static_cast<TcxContainerStyleValue>(i), name));
    EXPECT_EQ(names[i], name);
  }
  String name;
  EXPECT_FALSE(style.GetStyleValueName(static_cast<TcxContainerStyleValue>(8), name));
}

TEST(ContainerStyle, SettingAValueMarksItAssignedOnceAndAnEqualOneChangesNothing) {
  TcxContainerStyle style(nullptr, false);
  TChangeCounter changes(&style);
  style.SetColor(clWindow);
  EXPECT_TRUE(style.GetAssignedValues().Contains(csvColor)) << "even the default is assigned";
  EXPECT_EQ(1, changes.count);
  style.SetColor(clWindow);
  EXPECT_EQ(1, changes.count) << "the same assigned value: no change";
  style.SetBorderStyle(cbsThick);
  style.SetEdges(TcxBorders{bLeft});
  style.SetHotTrack(false);
  style.SetShadow(true);
  style.SetTransparentBorder(false);
  style.SetBorderColor(clRed);
  EXPECT_EQ(7, changes.count);
  EXPECT_EQ(cbsThick, style.GetBorderStyle());
  EXPECT_EQ(TcxBorders{bLeft}, style.GetEdges());
  EXPECT_FALSE(style.GetHotTrack());
  EXPECT_TRUE(style.GetShadow());
  EXPECT_FALSE(style.GetTransparentBorder());
  EXPECT_EQ(clRed, style.GetBorderColor());
}

TEST(ContainerStyle, UpdatesAreCoalescedIntoOneChange) {
  TcxContainerStyle style(nullptr, false);
  TChangeCounter changes(&style);
  style.BeginUpdate();
  style.SetColor(clRed);
  style.SetShadow(true);
  style.GetFont()->SetHeight(-20);
  EXPECT_EQ(0, changes.count);
  style.EndUpdate();
  EXPECT_EQ(1, changes.count);
  style.BeginUpdate();
  style.EndUpdate();
  EXPECT_EQ(1, changes.count) << "nothing changed: no change";
  style.EndUpdate();
  EXPECT_EQ(1, changes.count) << "an unbalanced end does nothing";
}

TEST(ContainerStyle, AnInternalStyleSharesItsOwnersFontAndAnswersFixedValues) {
  TFont ownerFont;
  TcxContainerStyle style(nullptr, true);
  TChangeCounter changes(&style);
  style.SetFont(&ownerFont);
  EXPECT_EQ(&ownerFont, style.GetFont());
  style.SetShadow(true);
  style.SetEdges(TcxBorders{bTop});
  style.SetColor(clRed);
  EXPECT_EQ(0, changes.count) << "an internal style never fires";
  EXPECT_FALSE(style.GetShadow());
  EXPECT_EQ(TcxBorders(), style.GetEdges());
  EXPECT_TRUE(style.GetTransparentBorder());
  EXPECT_EQ(clDefault, style.GetBorderColor());
  EXPECT_EQ(clRed, style.GetColor());
  EXPECT_EQ(TcxContainerStyleValues::FromBits(0xFF), style.GetAssignedValues());
}

TEST(ContainerStyle, AssignCopiesValuesAndRefusesOtherObjects) {
  TcxStyleController controller(nullptr);
  TcxContainerStyle source(nullptr, false);
  source.SetStyleController(&controller);
  source.SetColor(clLime);
  source.SetBorderStyle(cbsSingle);
  source.GetFont()->SetName("Courier New");
  TcxContainerStyle style(nullptr, false);
  TChangeCounter changes(&style);
  style.Assign(&source);
  EXPECT_EQ(1, changes.count);
  EXPECT_EQ(&controller, style.GetStyleController());
  EXPECT_EQ(clLime, style.GetColor());
  EXPECT_EQ(cbsSingle, style.GetBorderStyle());
  EXPECT_EQ("Courier New", style.GetFont()->GetName());
  EXPECT_EQ(source.GetAssignedValues(), style.GetAssignedValues());
  TFont font;
  EXPECT_THROW(style.Assign(&font), Exception);
}

// ---- Controllers ----

TEST(StyleController, ValuesResolveThroughTheChain) {
  TcxStyleController outer(nullptr), inner(nullptr);
  inner.GetStyle()->SetStyleController(&outer);
  outer.GetStyle()->SetBorderColor(clRed);
  outer.GetStyle()->SetShadow(true);
  inner.GetStyle()->SetShadow(false);
  TcxContainerStyle style(nullptr, false);
  style.SetStyleController(&inner);
  EXPECT_EQ(clRed, style.GetBorderColor()) << "from the controller's controller";
  EXPECT_FALSE(style.GetShadow()) << "the nearest assignment wins";
  EXPECT_TRUE(style.IsValueAssigned(csvBorderColor));
  EXPECT_FALSE(style.IsValueAssigned(csvEdges));
  EXPECT_TRUE(style.GetAssignedValues().Empty()) << "nothing assigned in the style itself";
  EXPECT_EQ(outer.GetStyle()->GetLookAndFeel(), inner.GetStyle()->GetLookAndFeel()->GetMaster());
}

TEST(StyleController, AControllerThatWouldLoopBackIsRefusedSilently) {
  TcxStyleController a(nullptr), b(nullptr);
  a.GetStyle()->SetStyleController(&b);
  b.GetStyle()->SetStyleController(&a);
  EXPECT_EQ(nullptr, b.GetStyle()->GetStyleController()) << "two styles naming each other";
  a.GetStyle()->SetStyleController(&a);
  EXPECT_EQ(&b, a.GetStyle()->GetStyleController()) << "its own owner";
  TcxStyleController c(nullptr);
  c.GetStyle()->SetStyleController(&a);
  b.GetStyle()->SetStyleController(&c);
  EXPECT_EQ(nullptr, b.GetStyle()->GetStyleController()) << "a longer ring";
  a.GetStyle()->SetBorderColor(clBlue);
  EXPECT_EQ(clBlue, c.GetStyle()->GetBorderColor()) << "lookups still end";
  EXPECT_EQ(clWindowFrame, b.GetStyle()->GetBorderColor());
}

TEST(StyleController, ItsStyleChangesReachEveryListenerOnce) {
  TcxStyleController controller(nullptr);
  std::vector<TcxContainerStyle*> told;
  controller.OnStyleChanged = [&](TObject* sender, TcxContainerStyle* style) {
    EXPECT_EQ(&controller, sender);
    told.push_back(style);
  };
  TcxContainerStyle first(nullptr, false), second(nullptr, false);
  first.SetStyleController(&controller);
  second.SetStyleController(&controller);
  TChangeCounter firstChanges(&first), secondChanges(&second);
  controller.GetStyle()->SetColor(clYellow);
  ASSERT_EQ(3u, told.size());
  EXPECT_EQ(controller.GetStyle(), told[0]);
  EXPECT_EQ(&first, told[1]);
  EXPECT_EQ(&second, told[2]);
  EXPECT_EQ(1, firstChanges.count);
  EXPECT_EQ(1, secondChanges.count);
  EXPECT_EQ(clYellow, second.GetColor());
  controller.OnStyleChanged = nullptr;
}

TEST(StyleController, TheFontFollowsTheControllerUnlessAssignedHere) {
  TcxStyleController controller(nullptr);
  TcxContainerStyle following(nullptr, false), own(nullptr, false);
  following.SetStyleController(&controller);
  own.SetStyleController(&controller);
  own.GetFont()->SetName("Courier New");
  EXPECT_TRUE(own.GetAssignedValues().Contains(csvFont));
  controller.GetStyle()->GetFont()->SetHeight(-19);
  EXPECT_EQ(-19, following.GetFont()->GetHeight());
  EXPECT_FALSE(following.GetAssignedValues().Contains(csvFont)) << "a refresh is no assignment";
  EXPECT_NE(-19, own.GetFont()->GetHeight()) << "its own font stays";
  own.SetAssignedValues(TcxContainerStyleValues());
  EXPECT_EQ(-19, own.GetFont()->GetHeight()) << "cleared: it follows again at once";
  EXPECT_EQ(controller.GetStyle()->GetFont()->GetName(), own.GetFont()->GetName());
}

TEST(StyleController, FreeingItLeavesItsListenersOnTheirDefaults) {
  auto controller = std::make_unique<TcxStyleController>(nullptr);
  controller->GetStyle()->SetBorderColor(clRed);
  controller->GetStyle()->GetLookAndFeel()->SetKind(lfFlat);
  TcxContainerStyle styles[2] = {{nullptr, false}, {nullptr, false}};
  for (auto& style : styles)
    style.SetStyleController(controller.get());
  EXPECT_EQ(cbsFlat, styles[1].GetBorderStyle());
  EXPECT_EQ(2, controller->GetStyleCount());
  controller.reset();
  for (auto& style : styles) {
    EXPECT_EQ(nullptr, style.GetStyleController());
    EXPECT_EQ(clWindowFrame, style.GetBorderColor());
    EXPECT_EQ(nullptr, style.GetLookAndFeel()->GetMaster());
    EXPECT_EQ(cbsUltraFlat, style.GetBorderStyle());
  }
}

TEST(StyleController, AStyleFreedBeforeItsControllerLeavesTheList) {
  TcxStyleController controller(nullptr);
  {
    TcxContainerStyle style(nullptr, false);
    style.SetStyleController(&controller);
    EXPECT_EQ(1, controller.GetStyleCount());
  }
  EXPECT_EQ(0, controller.GetStyleCount());
  controller.GetStyle()->SetColor(clRed);
}

} // namespace
