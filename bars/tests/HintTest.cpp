#include "BarsTest.h"

#include "ActnList.h"
#include "GuiTest.h"
#include "dxBarCommon.h"

namespace {

bool HintShown() {
  TdxBarHintWindow* hint = dxBarHintWindow();
  return hint && hint->HandleAllocated() && IsWindowVisible(hint->GetHandle());
}

} // namespace

using HintTest = BarsTest;

TEST_F(HintTest, ShowsAfterASecondAtOnceWithin400MsAndHidesAfterTen) {
  Build();
  const DWORD start = GetTickCount();
  Manager->ShowHint(true, "Opens a file");
  guitest::PumpFor(300);
  EXPECT_FALSE(HintShown());
  ASSERT_TRUE(guitest::PumpUntil(HintShown, 5000));
  EXPECT_GE(GetTickCount() - start, 900u);
  EXPECT_EQ(dxBarHintWindow()->GetText(), "Opens a file");

  Manager->ShowHint(true, "");
  EXPECT_FALSE(HintShown());
  Manager->ShowHint(true, "Saves it");
  EXPECT_TRUE(HintShown()) << "within 400 ms of the last hint";
  EXPECT_EQ(dxBarHintWindow()->GetText(), "Saves it");

  Manager->ShowHint(true, "");
  guitest::PumpFor(700);
  Manager->ShowHint(true, "Later");
  EXPECT_FALSE(HintShown());
  ASSERT_TRUE(guitest::PumpUntil(HintShown, 5000));
  const DWORD shown = GetTickCount();
  EXPECT_TRUE(guitest::PumpUntil([] { return !HintShown(); }, 20000));
  EXPECT_GE(GetTickCount() - shown, 9000u);
}

TEST_F(HintTest, NoHintsWhenSwitchedOffOrCustomizing) {
  Build();
  Manager->SetShowHint(false);
  Manager->ShowHint(true, "Nothing");
  guitest::PumpFor(1500);
  EXPECT_FALSE(HintShown());
  Manager->SetShowHint(true);
  Manager->SetCustomizing(true);
  Manager->ShowHint(true, "Nothing");
  guitest::PumpFor(1500);
  EXPECT_FALSE(HintShown());
}

TEST_F(HintTest, TheHintWindowWrapsWithinTheWorkArea) {
  Build();
  TdxBarHintWindow window(nullptr);
  const TRect work = GetWorkAreaAtPoint(POINT{10, 10});
  String text;
  for (int i = 0; i < 80; ++i)
    text += "word" + IntToStr(i) + " ";
  window.ActivateHint(POINT{work.left + 10, work.top + 10}, "One line", Manager);
  const int lineHeight = window.GetHeight();
  EXPECT_EQ(window.GetTop(), work.top + 10);
  window.ActivateHint(POINT{work.left + 10, work.bottom - 5}, text + text + text, Manager);
  EXPECT_LE(window.GetWidth(), work.Width() + 6);
  EXPECT_GT(window.GetHeight(), lineHeight);
  EXPECT_EQ(window.GetLeft(), work.left) << "wider than the work area: at its left edge";
  EXPECT_EQ(window.GetTop(), std::max<int>(work.bottom - 5 - 50, work.top));

  window.ActivateHint(POINT{work.right - 20, work.top + 40}, "Near the edge", Manager);
  EXPECT_EQ(window.GetLeft() + window.GetWidth(), work.right);
  guitest::TCapture capture = guitest::TCapture::Paint(window.GetHandle());
  EXPECT_EQ(capture.Pixel(capture.Width() / 2, 0), GetSysColor(COLOR_3DLIGHT)) << "the raised edge";
  EXPECT_EQ(capture.Pixel(capture.Width() - 1, capture.Height() / 2), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_GT(capture.CountPixels(TRect(3, 3, capture.Width() - 3, capture.Height() - 3),
                                GetSysColor(COLOR_INFOTEXT)),
            10);
  capture.SavePng("bars_hint");
}

TEST_F(HintTest, AControlsHintIsItsShortHintWithTheShortCut) {
  Build();
  auto* open = AddButton(Manager, "Open");
  open->SetShortCut(scCtrl | 'O');
  const bool appShortCuts = Application->HintShortCuts;
  const struct {
    const char* controlHint;
    bool showShortCut, appShortCuts, enabled, forDisabled;
    const char* text;
  } cases[] = {
      {"Open file|Opens a file", false, false, true, true, "Open file"},
      {"Open file|Opens a file", true, false, true, true, "Open file (Ctrl+O)"},
      {"Open file", false, true, true, true, "Open file (Ctrl+O)"},
      {"Open file", false, false, false, true, "Open file"},
      {"Open file", true, false, false, false, ""},
      {"|Opens a file", true, true, true, true, ""},
  };
  for (const auto& c : cases) {
    Manager->SetShowShortCutInHint(c.showShortCut);
    Application->HintShortCuts = c.appShortCuts;
    Manager->ShowHintForDisabledItems = c.forDisabled;
    EXPECT_EQ(Manager->GetControlHintText(open, c.controlHint, c.enabled), c.text) << c.controlHint;
  }
  Application->HintShortCuts = false;
  EXPECT_EQ(Manager->GetControlHintText(AddButton(Manager, "Plain"), "Plain", true), "Plain")
      << "no shortcut";
  Application->HintShortCuts = appShortCuts;
}

TEST_F(HintTest, TheActionsHintHandlerChangesOrRefusesTheHint) {
  Build();
  auto* open = AddButton(Manager, "Open");
  TAction action(Form.get());
  action.SetHint("Open|Opens a file");
  open->SetAction(&action);
  const bool appShortCuts = Application->HintShortCuts;
  Application->HintShortCuts = false;
  EXPECT_EQ(Manager->GetControlHintText(open, open->Hint, true), "Open");
  action.OnHint = [](String& hint, bool&) { hint += " now"; };
  EXPECT_EQ(Manager->GetControlHintText(open, open->Hint, true), "Open now");
  action.OnHint = [](String&, bool& canShow) { canShow = false; };
  EXPECT_EQ(Manager->GetControlHintText(open, open->Hint, true), "");
  Application->HintShortCuts = appShortCuts;
  open->SetAction(nullptr);
}
