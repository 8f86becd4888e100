// The main window's menu bar and button bar on the toolbar manager: as the
// window defines them, opened and clicked with real input, the actions'
// shortcuts on any control of the window, and drawn with the visual style on
// (the XP painter) and off (the Enhanced painter).
#include "ActnList.h"
#include "GuiTest.h"
#include "ImgList.h"
#include "Main.h"
#include "Options.h"
#include "StdCtrls.h"
#include "ExtCtrls.h"
#include "cxButtonEdit.h"
#include "cxLookAndFeels.h"
#include "dxBar.h"
#include "dxBarExtItems.h"
#include "dxBarPainters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using guitest::PumpUntil;

namespace {

struct TLinkCase {
  const char* name;
  TAction* action;
  bool beginGroup;
  const char* hint;
};

POINT Centre(const TRect& r) {
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class MainBars : public testing::Test {
protected:
  void SetUp() override {
    Form = std::make_unique<TfmMain>(nullptr);
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Form->IsShowing() && MenuBar() && ButtonBar(); }));
    guitest::PumpFor(50);
  }
  void TearDown() override {
    if (Form) Form->bman->DeactivateAll();
    guitest::SendMouseAt(POINT{5, 5}, 0);
    guitest::PumpFor(50);
  }

  TdxBar* Bar(int index) const { return Form->bman->GetBars()->GetItem(index); }
  TdxBarControl* MenuBar() const { return Bar(0)->GetBarControl(); }
  TdxBarControl* ButtonBar() const { return Bar(1)->GetBarControl(); }

  // The open menu of a sub item, none while it is closed.
  static TCustomdxBarControl* MenuOf(TdxBarSubItem* item) {
    TCustomdxBarControl* menu = item->GetItemLinks()->GetBarControl();
    return menu && menu->HandleAllocated() && IsWindowVisible(menu->GetHandle()) ? menu : nullptr;
  }
  // Opens a menu of the menu bar with a click on its caption.
  TCustomdxBarControl* Open(TdxBarSubItem* item) {
    for (int i = 0; i < Bar(0)->GetItemLinks()->GetCount(); ++i) {
      TdxBarItemLink* link = Bar(0)->GetItemLinks()->GetItem(i);
      if (link->GetItem() != item) continue;
      const POINT p = Centre(link->ItemRect);
      guitest::ClickAt(MenuBar()->GetHandle(), p.x, p.y);
    }
    PumpUntil([&] { return MenuOf(item) != nullptr; });
    return MenuOf(item);
  }
  static void ClickLink(TCustomdxBarControl* window, TdxBarItemLink* link) {
    const POINT p = Centre(link->ItemRect);
    guitest::ClickAt(window->GetHandle(), p.x, p.y);
  }
  static TdxBarItemLink* LinkOf(TdxBarItemLinks* links, const TdxBarItem* item) {
    for (int i = 0; i < links->GetCount(); ++i)
      if (links->GetItem(i)->GetItem() == item) return links->GetItem(i);
    return nullptr;
  }
  // A link's place in the window's client coordinates.
  TRect InForm(TCustomdxBarControl* window, const TRect& r) const {
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(window->GetHandle(), Form->GetHandle(), corners, 2);
    return TRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
  }

  // Both bars as they are drawn: every menu caption and every button's
  // caption in the text colour (the buttons' glyphs are looked at below).
  void ExpectBarsDrawn(const char* png) {
    const auto capture = guitest::TCapture::Paint(Form->GetHandle());
    capture.SavePng(png);
    const COLORREF text = ColorToRGB(clBtnText);
    for (TdxBar* bar : {Bar(0), Bar(1)}) {
      TdxBarItemLinks* links = bar->GetItemLinks();
      for (int i = 0; i < links->GetCount(); ++i) {
        const TRect r = InForm(bar->GetBarControl(), links->GetItem(i)->ItemRect);
        SCOPED_TRACE(links->GetItem(i)->GetItem()->GetName());
        ASSERT_GT(r.Width(), 0);
        EXPECT_GT(capture.CountPixels(r, text), 8) << "the caption";
      }
    }
  }

  // The button bar's large buttons: each glyph centred above its caption,
  // drawn in gray until the pointer is over the button, which shows it in
  // colour. Saves the bar at rest and with the pointer over the first
  // button (the yellow folder).
  void ExpectLargeButtonsGrayUntilHovered(const char* png) {
    const int w = Form->imgList->GetWidth(), h = Form->imgList->GetHeight();
    TdxBarItemLinks* links = Bar(1)->GetItemLinks();
    // Pixels of the glyph that are neither the face nor a shade of gray,
    // and pixels of caption text above and below the glyph's bottom.
    struct TLook {
      int glyph, coloured, textAbove, textBelow;
    };
    auto look = [&](const guitest::TCapture& shot, const TRect& r) {
      TLook result{};
      const COLORREF face = shot.Pixel(r.left + 1, r.bottom - 2), text = ColorToRGB(clBtnText);
      const int gx = r.left + 1 + (r.Width() - 2 - w) / 2, gy = r.top + 3;
      for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x) {
          const COLORREF c = shot.Pixel(x, y);
          const bool inGlyph = x >= gx && x < gx + w && y >= gy && y < gy + h;
          if (c == text && !inGlyph) ++(y < gy + h ? result.textAbove : result.textBelow);
          if (!inGlyph || c == face) continue;
          ++result.glyph;
          const int r8 = GetRValue(c), g8 = GetGValue(c), b8 = GetBValue(c);
          if (std::max({r8, g8, b8}) - std::min({r8, g8, b8}) > 24) ++result.coloured;
        }
      return result;
    };
    const auto rest = guitest::TCapture::Paint(ButtonBar()->GetHandle());
    rest.SavePng(png);
    for (int i = 0; i < links->GetCount(); ++i) {
      SCOPED_TRACE(links->GetItem(i)->GetItem()->GetName());
      const TLook l = look(rest, links->GetItem(i)->ItemRect);
      EXPECT_GT(l.glyph, 20) << "the glyph";
      EXPECT_EQ(0, l.coloured) << "gray at rest";
      EXPECT_EQ(0, l.textAbove) << "no caption beside or above the glyph";
      EXPECT_GT(l.textBelow, 8) << "the caption below the glyph";
    }
    const TRect hot = links->GetItem(0)->ItemRect;
    guitest::MouseEventAt(ButtonBar()->GetHandle(), (hot.left + hot.right) / 2, (hot.top + hot.bottom) / 2);
    ASSERT_TRUE(PumpUntil([&] { return Bar(1)->GetBarControl()->GetSelectedControl() != nullptr; }));
    guitest::PumpFor(50);
    const auto hovered = guitest::TCapture::Paint(ButtonBar()->GetHandle());
    hovered.SavePng(String(png) + "_hot");
    for (int i = 0; i < links->GetCount(); ++i) {
      SCOPED_TRACE(links->GetItem(i)->GetItem()->GetName());
      const TLook l = look(hovered, links->GetItem(i)->ItemRect);
      if (i == 0)
        EXPECT_GT(l.coloured, 20) << "in colour under the pointer";
      else
        EXPECT_EQ(0, l.coloured) << "still gray";
    }
  }

  std::unique_ptr<TfmMain> Form;
};

TEST_F(MainBars, TheManagerAndItsBarsAreAsTheWindowDefinesThem) {
  TdxBarManager* m = Form->bman;
  EXPECT_EQ("bman", m->GetName());
  EXPECT_EQ(bmsXP, m->GetStyle());
  EXPECT_TRUE(m->GetUseSystemFont());
  EXPECT_EQ(Form->imgList, m->GetImages());
  EXPECT_EQ(Form->imgList, m->GetLargeImages());
  EXPECT_EQ(lfUltraFlat, m->GetLookAndFeel()->GetKind());
  EXPECT_FALSE(m->GetLookAndFeel()->GetNativeStyle());
  EXPECT_EQ("Default\r\nFile\r\nTools\r\nHelp\r\nMenus\r\n", m->GetCategories()->GetText());
  EXPECT_FALSE(m->StoreInRegistry);
  EXPECT_FALSE(m->StoreInIniFile);
  ASSERT_EQ(2, m->GetBars()->GetCount());

  TdxBar* menu = Bar(0);
  EXPECT_EQ("Main Menu", menu->GetCaption());
  EXPECT_EQ(menu, m->GetMainMenuBar());
  EXPECT_TRUE(menu->GetMultiLine());
  EXPECT_TRUE(menu->OneOnRow);
  EXPECT_TRUE(menu->GetWholeRow());
  EXPECT_EQ(0, menu->GetRow());
  TdxBar* buttons = Bar(1);
  EXPECT_EQ("Button bar", buttons->GetCaption());
  EXPECT_TRUE(buttons->OneOnRow);
  EXPECT_FALSE(buttons->GetIsMainMenu());
  EXPECT_EQ(1, buttons->GetRow());
  EXPECT_EQ(23, buttons->GetDockedTop());
  for (TdxBar* bar : {menu, buttons}) {
    EXPECT_TRUE(bar->GetVisible()) << bar->GetCaption();
    EXPECT_EQ(dsTop, bar->GetDockingStyle()) << bar->GetCaption();
  }
  // The menu bar fills the first row, the button bar stands below it, and
  // the status panel below the dock.
  TdxDockControl* dock = m->GetBars()->GetDockControl(dsTop);
  EXPECT_EQ(0, MenuBar()->GetTop());
  EXPECT_EQ(dock->GetClientWidth(), MenuBar()->GetWidth());
  EXPECT_LE(MenuBar()->GetTop() + MenuBar()->GetHeight(), ButtonBar()->GetTop());
  EXPECT_EQ(dock->GetTop() + dock->GetHeight(), Form->Panel1->GetTop());
  EXPECT_LE(ButtonBar()->GetTop() + ButtonBar()->GetHeight(), dock->GetHeight());
  int sizes[4];
  m->GetDockControlHeights(sizes);
  EXPECT_EQ(0, sizes[0] + sizes[1] + sizes[3]) << "only the top dock holds bars";

  auto expectLinks = [](TdxBarItemLinks* links, const std::vector<TLinkCase>& cases) {
    ASSERT_EQ(cases.size(), static_cast<size_t>(links->GetCount()));
    for (size_t i = 0; i < cases.size(); ++i) {
      const TLinkCase& c = cases[i];
      TdxBarItemLink* link = links->GetItem(static_cast<int>(i));
      SCOPED_TRACE(c.name);
      EXPECT_EQ(c.name, link->GetItem()->GetName());
      EXPECT_EQ(c.action, link->GetItem()->GetAction());
      EXPECT_EQ(c.beginGroup, link->GetStoredBeginGroup());
      EXPECT_EQ(c.hint, link->GetItem()->Hint);
      EXPECT_EQ(c.action->GetCaption(), link->GetItem()->GetCaption());
    }
  };
  TdxBarItemLinks* menus = menu->GetItemLinks();
  ASSERT_EQ(3, menus->GetCount());
  EXPECT_EQ(Form->N1, menus->GetItem(0)->GetItem());
  EXPECT_EQ(Form->N2, menus->GetItem(1)->GetItem());
  EXPECT_EQ(Form->N3, menus->GetItem(2)->GetItem());
  EXPECT_EQ("File", Form->N1->GetCaption());
  EXPECT_EQ("Tools", Form->N2->GetCaption());
  EXPECT_EQ("Help", Form->N3->GetCaption());
  expectLinks(Form->N1->GetItemLinks(), {{"Opensourcescript1", Form->acOpenSrcScript, false, ""},
                                         {"dxBarButton2", Form->acLoadScriptFromFile, false, ""},
                                         {"Exit1", Form->acExit, true, ""}});
  expectLinks(Form->N2->GetItemLinks(), {{"Extractdatabasescript1", Form->acExtractDB, false, ""},
                                         {"Createdatabase1", Form->acCreateDB, false, ""},
                                         {"Options1", Form->acOptions, true, ""}});
  expectLinks(Form->N3->GetItemLinks(), {{"Synchronize1", Form->acHelp, false, "Help"},
                                         {"AboutVelmora1", Form->acAbout, true, ""},
                                         {"InnoDBstatus1", Form->acInnoDBStatus, false, ""}});
  expectLinks(buttons->GetItemLinks(),
              {{"dxBarLargeButton4", Form->acLoadScriptFromFile, false, "Open script"},
               {"dxBarLargeButton3", Form->acOptions, false, ""},
               {"dxBarLargeButton1", Form->acHelp, true, "Help"},
               {"dxBarLargeButton2", Form->acExit, false, ""}});
  // Large buttons whose glyphs follow their actions' images.
  for (TdxBarLargeButton* button :
       {Form->dxBarLargeButton4, Form->dxBarLargeButton3, Form->dxBarLargeButton1, Form->dxBarLargeButton2}) {
    SCOPED_TRACE(button->GetName());
    EXPECT_EQ(TdxBarLargeButton::ClassInfo(), button->GetItemClass());
    EXPECT_TRUE(button->GetSyncImageIndex());
    EXPECT_EQ(glTop, button->GetGlyphLayout());
    const int image = dynamic_cast<TAction*>(button->GetAction())->GetImageIndex();
    EXPECT_GE(image, 0);
    EXPECT_LT(image, Form->imgList->GetCount());
    EXPECT_EQ(image, button->GetLargeImageIndex());
    EXPECT_EQ(image, button->GetImageIndex());
  }

  EXPECT_EQ(Form->acHelp, Form->dxBarButton1->GetAction());
  EXPECT_EQ(0, Form->dxBarButton1->GetLinkCount()) << "on no bar";
}

// The definition also builds the fresh copy a reset reads: bars and menus
// changed by the user get the defined links back, on the window's own items.
TEST_F(MainBars, ResetBarsGetTheirDefinedLinksBack) {
  Bar(1)->GetItemLinks()->Delete(0);
  Bar(1)->GetItemLinks()->GetItem(1)->SetBeginGroup(false);
  Form->N1->GetItemLinks()->Delete(2);
  ASSERT_EQ(3, Bar(1)->GetItemLinks()->GetCount());
  Bar(1)->Reset();
  Bar(0)->Reset();
  const TdxBarItem* buttons[] = {Form->dxBarLargeButton4, Form->dxBarLargeButton3, Form->dxBarLargeButton1,
                                 Form->dxBarLargeButton2};
  TdxBarItemLinks* links = Bar(1)->GetItemLinks();
  ASSERT_EQ(4, links->GetCount());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(buttons[i], links->GetItem(i)->GetItem()) << i;
    EXPECT_EQ(i == 2, links->GetItem(i)->GetBeginGroup()) << i;
  }
  ASSERT_EQ(3, Form->N1->GetItemLinks()->GetCount());
  EXPECT_EQ(Form->bman->FindItemByName("Exit1"), Form->N1->GetItemLinks()->GetItem(2)->GetItem());
  EXPECT_EQ(4, ButtonBar()->GetItemLinks()->GetShownCount()) << "shown again";
}

// What each menu shows: the hidden actions' entries are left out, and a
// group's separator only stands between shown entries.
TEST_F(MainBars, EachMenuOpensWithItsShownEntriesAndTheirSeparators) {
  struct Case {
    TdxBarSubItem* menu;
    std::vector<String> captions;
    std::vector<bool> separatorBefore;
  };
  const Case cases[] = {
      {Form->N1, {"Open source script", "Open script...", "Exit"}, {false, false, true}},
      {Form->N2, {"Options..."}, {false}},
      {Form->N3, {"Help", "About Velmora"}, {false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.menu->GetCaption());
    TCustomdxBarControl* window = Open(c.menu);
    ASSERT_NE(nullptr, window);
    TdxBarItemLinks* links = c.menu->GetItemLinks();
    ASSERT_EQ(c.captions.size(), static_cast<size_t>(links->GetShownCount()));
    int previousBottom = -1;
    for (int i = 0; i < links->GetShownCount(); ++i) {
      TdxBarItemLink* link = links->GetShownLink(i);
      EXPECT_EQ(c.captions[i], link->GetCaption());
      EXPECT_GT(link->ItemRect.Width(), 0) << c.captions[i];
      // A separator takes room between two entries.
      if (previousBottom >= 0) {
        EXPECT_EQ(c.separatorBefore[i], link->ItemRect.top > previousBottom) << i;
      }
      previousBottom = link->ItemRect.bottom;
    }
    if (c.menu == Form->N1) guitest::TCapture::Paint(window->GetHandle()).SavePng("main_window_file_menu");
    guitest::PressKey(VK_ESCAPE);
    guitest::PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return MenuOf(c.menu) == nullptr && !ActiveBarControl(); }));
  }
}

TEST_F(MainBars, OptionsInTheToolsMenuOpensTheOptionsDialog) {
  auto options = std::make_unique<TfmOptions>(nullptr);
  TCustomdxBarControl* menu = Open(Form->N2);
  ASSERT_NE(nullptr, menu);
  TCustomForm* shown = nullptr;
  guitest::AnswerNextForm([&](TCustomForm* dialog) {
    shown = dialog;
    dialog->SetModalResult(mrCancel);
  });
  ClickLink(menu, LinkOf(Form->N2->GetItemLinks(), Form->bman->FindItemByName("Options1")));
  ASSERT_TRUE(PumpUntil([&] { return shown != nullptr; }));
  EXPECT_EQ(options.get(), shown);
  EXPECT_EQ(nullptr, MenuOf(Form->N2)) << "the menu closed";
}

TEST_F(MainBars, TheButtonBarsOptionsButtonRunsItsAction) {
  auto options = std::make_unique<TfmOptions>(nullptr);
  int runs = 0;
  const TNotifyEvent execute = Form->acOptions->OnExecute;
  Form->acOptions->OnExecute = [&](TObject* sender) {
    ++runs;
    execute(sender);
  };
  TCustomForm* shown = nullptr;
  guitest::AnswerNextForm([&](TCustomForm* dialog) {
    shown = dialog;
    dialog->SetModalResult(mrCancel);
  });
  ClickLink(ButtonBar(), LinkOf(Bar(1)->GetItemLinks(), Form->dxBarLargeButton3));
  ASSERT_TRUE(PumpUntil([&] { return shown != nullptr; }));
  guitest::PumpFor(100);
  EXPECT_EQ(options.get(), shown);
  EXPECT_EQ(1, runs);
}

// Each large button sits on its place of the bar and runs its own action
// when clicked there.
TEST_F(MainBars, EachButtonOfTheButtonBarRunsItsOwnAction) {
  TAction* actions[] = {Form->acLoadScriptFromFile, Form->acOptions, Form->acHelp, Form->acExit};
  std::vector<TAction*> ran;
  for (TAction* action : actions)
    action->OnExecute = [&ran, action](TObject*) { ran.push_back(action); };
  TdxBarItemLinks* links = Bar(1)->GetItemLinks();
  for (int i = 0; i < 4; ++i) {
    ClickLink(ButtonBar(), links->GetItem(i));
    ASSERT_TRUE(PumpUntil([&] { return ran.size() == static_cast<size_t>(i + 1); })) << i;
    EXPECT_EQ(actions[i], ran.back()) << i;
  }
  guitest::PumpFor(50);
  EXPECT_EQ(4u, ran.size()) << "each click ran one action once";
  for (TAction* action : actions)
    action->OnExecute = nullptr;
}

// The actions' shortcuts work wherever the focus is in the window, once.
TEST_F(MainBars, CtrlOInTheChangeLogOpensTheOpenDialog) {
  Form->mLog->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Form->mLog->GetHandle(); }));
  int runs = 0;
  const TNotifyEvent execute = Form->acOpenSrcScript->OnExecute;
  Form->acOpenSrcScript->OnExecute = [&](TObject* sender) {
    ++runs;
    execute(sender);
  };
  String title;
  guitest::AnswerNextModal([&](HWND dialog) {
    char text[64] = {};
    GetWindowTextA(dialog, text, sizeof(text));
    title = text;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  guitest::PressKey('O', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([] { return !guitest::AnswerPending(); }));
  guitest::PumpFor(100);
  EXPECT_EQ(1, runs);
  EXPECT_EQ("Open", title);
  EXPECT_EQ("", Form->edScriptPath->GetText()) << "cancelled";
}

TEST_F(MainBars, WithTheVisualStyleTheXPPainterDrawsBothBars) {
  ASSERT_TRUE(Form->bman->GetXPThemesAvailable());
  EXPECT_EQ(TdxBarItemControlXPPainter::Instance(), Form->bman->GetPainterClass());
  ExpectBarsDrawn("main_window_bars_style_on");
  ExpectLargeButtonsGrayUntilHovered("main_window_button_bar_style_on");
}

class MainBarsStyleOff : public MainBars {};

TEST_F(MainBarsStyleOff, WithoutTheVisualStyleTheEnhancedPainterDrawsBothBars) {
  EXPECT_FALSE(Form->bman->GetXPThemesAvailable());
  EXPECT_EQ(TdxBarItemControlEnhancedPainter::Instance(), Form->bman->GetPainterClass());
  ExpectBarsDrawn("main_window_bars_style_off");
  ExpectLargeButtonsGrayUntilHovered("main_window_button_bar_style_off");
}

TEST(MainBarsVisualStyle, ClassicLookCasesPassInAChildProcess) {
  if (guitest::IsStyleOffRun()) GTEST_SKIP();
  EXPECT_EQ(0, guitest::RunStyleOffCases("MainBarsStyleOff.*"));
}

} // namespace
