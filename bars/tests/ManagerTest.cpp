#include "BarsTest.h"

#include "cxLookAndFeels.h"
#include "dxThemeManager.h"

using ManagerTest = BarsTest;

TEST_F(ManagerTest, OwnerMustBeAFormServedByNoOtherManager) {
  TComponent notAForm(nullptr);
  EXPECT_THROW(
      {
        try {
          new TdxBarManager(&notAForm);
        } catch (const Exception& e) {
          EXPECT_EQ(e.Message, "TdxBarManager should have as its Owner - TForm (TCustomForm)");
          throw;
        }
      },
      Exception);
  EXPECT_EQ(notAForm.GetComponentCount(), 0);

  Build();
  EXPECT_THROW(
      {
        try {
          new TdxBarManager(Form.get());
        } catch (const Exception& e) {
          EXPECT_EQ(e.Message, "A Form should contain only a single TdxBarManager");
          throw;
        }
      },
      Exception);
  // The first manager keeps serving the form.
  EXPECT_EQ(GetBarManagerOfForm(Form.get()), Manager);
  EXPECT_EQ(dxBarManagerList()->GetCount(), 1);
  auto* item = AddButton(Manager, "Open");
  EXPECT_EQ(item->GetBarManager(), Manager);
}

TEST_F(ManagerTest, WithoutOwnerTheManagerServesTheMainForm) {
  EXPECT_THROW(new TdxBarManager(nullptr), Exception);
  TForm* mainForm = nullptr;
  Application->CreateForm(mainForm);
  auto* manager = new TdxBarManager(nullptr);
  EXPECT_EQ(manager->GetOwnerForm(), mainForm);
  delete manager;
  delete mainForm;
  EXPECT_EQ(Application->GetMainForm(), nullptr);
}

TEST_F(ManagerTest, DefaultsOfTheProperties) {
  Build();
  EXPECT_EQ(Manager->GetStyle(), bmsEnhanced);
  EXPECT_EQ(Manager->GetButtonArrowWidth(), 11);
  EXPECT_EQ(Manager->GetLargeButtonArrowWidth(), 13);
  EXPECT_EQ(Manager->GetWaitForDockingTime(), 21);
  EXPECT_EQ(Manager->GetMostRecentItemsPercents(), 95);
  EXPECT_EQ(Manager->ImageListBkColor, static_cast<TColor>(0xFF00FF));
  EXPECT_EQ(Manager->GetLookAndFeel()->GetKind(), lfUltraFlat);
  EXPECT_FALSE(Manager->GetLookAndFeel()->GetNativeStyle());
  EXPECT_TRUE(Manager->GetUseSystemFont());
  ASSERT_EQ(Manager->GetCategories()->GetCount(), 1);
  EXPECT_EQ(Manager->GetCategories()->Get(0), "Default");
  EXPECT_EQ(Manager->GetReadStateCount(), 1);
  EXPECT_TRUE(Manager->CanResetBars());
}

TEST_F(ManagerTest, ClampsAndIgnoredValues) {
  Build();
  Manager->SetButtonArrowWidth(1);
  Manager->SetLargeButtonArrowWidth(0);
  Manager->SetWaitForDockingTime(-1);
  EXPECT_EQ(Manager->GetButtonArrowWidth(), 11);
  EXPECT_EQ(Manager->GetLargeButtonArrowWidth(), 13);
  EXPECT_EQ(Manager->GetWaitForDockingTime(), 21);
  Manager->SetButtonArrowWidth(2);
  EXPECT_EQ(Manager->GetButtonArrowWidth(), 2);
}

TEST_F(ManagerTest, MostRecentItemsPercentsGiveTheInitialUseCount) {
  Build();
  const struct {
    int percents, stored, initialUseCount;
  } cases[] = {{95, 95, 20}, {100, 100, 0}, {0, 0, 1}, {250, 100, 0}, {50, 50, 2}};
  for (const auto& c : cases) {
    Manager->SetMostRecentItemsPercents(c.percents);
    EXPECT_EQ(Manager->GetMostRecentItemsPercents(), c.stored) << c.percents;
    EXPECT_EQ(Manager->GetInitialUseCount(), c.initialUseCount) << c.percents;
  }
}

TEST_F(ManagerTest, EffectiveStyle) {
  Build();
  const bool themes = ThemesAvailable(0x845E0C);
  const struct {
    TdxBarManagerStyle style;
    TcxLookAndFeelKind kind;
    bool native;
    TdxBarManagerStyle effective;
  } cases[] = {
      {bmsFlat, lfStandard, false, bmsFlat},
      {bmsXP, lfUltraFlat, false, bmsXP},
      {bmsUseLookAndFeel, lfUltraFlat, false, bmsFlat},
      {bmsUseLookAndFeel, lfFlat, false, bmsEnhanced},
      {bmsUseLookAndFeel, lfStandard, false, bmsStandard},
      {bmsUseLookAndFeel, lfStandard, true, themes ? bmsXP : bmsStandard},
  };
  for (const auto& c : cases) {
    Manager->GetLookAndFeel()->SetKind(c.kind);
    Manager->GetLookAndFeel()->SetNativeStyle(c.native);
    Manager->SetStyle(c.style);
    EXPECT_EQ(Manager->GetEffectiveStyle(), c.effective) << c.style << " " << c.kind << " " << c.native;
  }
  EXPECT_EQ(Manager->GetXPThemesAvailable(), themes);
  EXPECT_TRUE(themes) << "Wine's visual style is on in the test prefix";
}

TEST_F(ManagerTest, DockColorFollowsTheFormUntilWritten) {
  Build();
  Form->SetColor(clRed);
  EXPECT_TRUE(Manager->AutoDockColor);
  EXPECT_EQ(Manager->GetDockColor(), clRed);
  Manager->SetDockColor(clBlue);
  EXPECT_FALSE(Manager->AutoDockColor);
  EXPECT_EQ(Manager->GetDockColor(), clBlue);
}

TEST_F(ManagerTest, SystemFontAndOwnFont) {
  Build();
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  EXPECT_EQ(Manager->GetFont()->GetName(), metrics.lfMenuFont.lfFaceName);
  EXPECT_EQ(Manager->GetFont()->GetHeight(), metrics.lfMenuFont.lfHeight);
  EXPECT_NE(Manager->GetMenuFontHandle(), nullptr);

  Manager->GetFont()->SetName("Courier New");
  EXPECT_FALSE(Manager->GetUseSystemFont());
  EXPECT_EQ(Manager->GetFont()->GetName(), "Courier New");
  // Scaled keeps the menu font's height.
  Manager->GetFont()->SetHeight(-30);
  EXPECT_EQ(Manager->GetFont()->GetHeight(), metrics.lfMenuFont.lfHeight);

  Manager->SetUseSystemFont(true);
  EXPECT_EQ(Manager->GetFont()->GetName(), metrics.lfMenuFont.lfFaceName);
}

TEST_F(ManagerTest, DestroyingTheManagerFreesItsItemsAndGroups) {
  Build([](TdxBarManager* manager) {
    AddButton(manager, "Open");
    AddButton(manager, "Save");
    manager->AddGroup()->SetName("Files");
  });
  std::vector<String> destroyed;
  for (int i = 0; i < Manager->GetItemCount(); ++i)
    Manager->GetItem(i)->OnDestroy = [&](TObject* sender) {
      destroyed.push_back(static_cast<TComponent*>(sender)->GetName());
    };
  delete Manager;
  EXPECT_EQ(destroyed, (std::vector<String>{"Save", "Open"}));
  EXPECT_EQ(Form->GetComponentCount(), 0);
  EXPECT_EQ(GetBarManagerOfForm(Form.get()), nullptr);
}

TEST_F(ManagerTest, OptionsAreDesignChanges) {
  Build();
  EXPECT_FALSE(Manager->GetModified());
  Manager->SetMenuAnimations(maFade);
  EXPECT_TRUE(Manager->GetModified());
}
