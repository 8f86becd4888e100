// The colour and font-name combo items on a docked toolbar: the colour
// mapping, the automatic entry, the swatch by pixels, the colour dialog
// opened by Ctrl+Enter and by the custom-colour button, and the font list
// with its prefix rule.
#include "BarsTest.h"
#include "dxBarExtCombos.h"

#include "GuiTest.h"

#include "Forms.h"
#include "StdCtrls.h"

namespace {

class ColorFontComboTest : public EditingBarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      Colors = new TdxBarColorCombo(m->GetOwnerForm());
      Colors->SetName("Colors");
      Colors->SetCategory(0);
      Colors->SetWidth(150);
      AddLink(bar->GetItemLinks(), Colors);
      Fonts = new TdxBarFontNameCombo(m->GetOwnerForm());
      Fonts->SetName("Fonts");
      Fonts->SetCategory(0);
      AddLink(bar->GetItemLinks(), Fonts);
    });
    ShowDocked(520, 220, 120);
  }

  TdxBarItemLink* Link(int i) const { return Bar->GetItemLinks()->GetItem(i); }
  TdxBarColorComboControl* ColorControl() const {
    return dynamic_cast<TdxBarColorComboControl*>(Link(0)->GetControl());
  }
  TdxBarComboControl* FontControl() const { return dynamic_cast<TdxBarComboControl*>(Link(1)->GetControl()); }
  void ClickValue(int link) {
    const TRect r = Link(link)->ItemRect;
    guitest::ClickAt(Window->GetHandle(), r.left + 8, (r.top + r.bottom) / 2);
    guitest::PumpFor(40);
  }
  guitest::TCapture Shot() {
    Window->Repaint();
    guitest::PumpFor(20);
    return guitest::TCapture::Paint(Window->GetHandle());
  }

  TdxBarColorCombo* Colors = nullptr;
  TdxBarFontNameCombo* Fonts = nullptr;
};

} // namespace

TEST_F(ColorFontComboTest, ColoursMapToEntriesAndBack) {
  EXPECT_EQ(Colors->GetItems()->GetCount(), 16);
  EXPECT_EQ(Colors->GetItems()->Get(1), "Maroon");
  EXPECT_EQ(Colors->GetItemIndex(), 0);
  EXPECT_EQ(Colors->GetColor(), clBlack);
  EXPECT_FALSE(Colors->GetShowEditor());

  struct Case {
    TColor Color;
    int Index;
  } cases[] = {{0x000080, 1}, {0xFFFF00, 14}, {0xFFFFFF, 15}, {0x123456, -1}, {clNone, -1}};
  for (const Case& c : cases) {
    Colors->SetColor(c.Color);
    EXPECT_EQ(Colors->GetItemIndex(), c.Index) << std::hex << c.Color;
    EXPECT_EQ(Colors->GetColor(), c.Color) << "the colour stays as set";
  }
  // A system colour whose current value is a table colour selects it.
  for (TColor system : {clWindow, clWindowText, clBtnShadow}) {
    const int index = Colors->GetIndexOfColor(static_cast<TColor>(ColorToRGB(system)));
    if (index < 0) continue;
    Colors->SetColor(clRed);
    Colors->SetColor(system);
    EXPECT_EQ(Colors->GetItemIndex(), index) << std::hex << system;
  }

  // Choosing an entry sets the colour; OnChange fires once per change.
  int changes = 0;
  Colors->OnChange = [&](TObject*) { ++changes; };
  Colors->SetItemIndex(12);
  EXPECT_EQ(Colors->GetColor(), 0xFF0000);
  EXPECT_EQ(changes, 1);
  Colors->SetColor(0x0000FF);
  EXPECT_EQ(Colors->GetItemIndex(), 9);
  EXPECT_EQ(changes, 2);
}

TEST_F(ColorFontComboTest, TheAutomaticEntryMatchesOnlyByItsStoredValue) {
  Colors->SetShowAutoColor(true);
  EXPECT_EQ(Colors->DropDownCount, 17) << "the default count follows";
  EXPECT_EQ(Colors->GetItems()->Get(0), "(automatic)");
  EXPECT_EQ(Colors->GetItemIndex(), 1) << "black stays selected after the new entry";
  Colors->SetColor(clWindowText);
  EXPECT_EQ(Colors->GetItemIndex(), 0);
  EXPECT_EQ(Colors->GetColorOfIndex(0), clWindowText);
  Colors->SetColor(static_cast<TColor>(ColorToRGB(clWindowText)));
  EXPECT_NE(Colors->GetItemIndex(), 0) << "the same RGB is not the automatic colour";
  Colors->SetAutoColorText("Auto");
  EXPECT_EQ(Colors->GetItems()->Get(0), "Auto");

  Colors->SetShowAutoColor(false);
  EXPECT_EQ(Colors->DropDownCount, 16);
  Colors->DropDownCount = 10;
  Colors->SetShowAutoColor(true);
  EXPECT_EQ(Colors->DropDownCount, 10) << "a count of its own stays";
}

TEST_F(ColorFontComboTest, TheValueShowsASwatchOfTheColour) {
  Colors->SetColor(0x00FF00);
  guitest::TCapture lime = Shot();
  lime.SavePng("bars_colorcombo_lime");
  const TRect r = Link(0)->ItemRect;
  const TRect swatch(r.left, r.top, r.left + 36, r.bottom);
  EXPECT_GT(lime.CountPixels(swatch, RGB(0, 255, 0)), 40) << "the swatch";
  EXPECT_GT(lime.CountPixels(swatch, GetSysColor(COLOR_BTNSHADOW)), 20) << "its inner frame";

  // A colour of no entry: "(custom)" with a swatch of the colour itself.
  Colors->SetColor(0x3060C0);
  guitest::TCapture custom = Shot();
  custom.SavePng("bars_colorcombo_custom");
  EXPECT_EQ(Colors->GetItemIndex(), -1);
  EXPECT_GT(custom.CountPixels(swatch, 0x3060C0), 40);
  EXPECT_EQ(custom.CountPixels(swatch, RGB(0, 255, 0)), 0);
}

TEST_F(ColorFontComboTest, CtrlEnterAndTheCustomButtonOpenTheColourDialog) {
  Colors->SetShowCustomColorButton(true);
  Colors->SetColor(0x0000FF);
  Window->Repaint();
  guitest::PumpFor(20);
  const TRect button = ColorControl()->GetCustomButtonRect();
  ASSERT_GT(button.Width(), 0);
  Shot().SavePng("bars_colorcombo_button");

  // Ctrl+Enter while editing: the dialog opens on the entry shown (Lime,
  // one below Red) and OK takes its colour.
  ClickValue(0);
  ASSERT_TRUE(ColorControl()->GetFocused());
  guitest::PressKey(VK_DOWN);
  guitest::PumpFor(30);
  EXPECT_EQ(ColorControl()->GetCurItemIndex(), 10);
  TColor shown = clNone;
  guitest::AnswerNextModal([&](HWND dialog) {
    shown = dxBarColorDialog()->Color;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  guitest::PressKey(VK_RETURN, guitest::kCtrl);
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  guitest::PumpFor(30);
  EXPECT_EQ(shown, 0x00FF00);
  EXPECT_EQ(Colors->GetColor(), 0x00FF00);
  EXPECT_EQ(Colors->GetItemIndex(), 10);
  Manager->DeactivateAll();
  guitest::PumpFor(30);

  // A click in the button opens it on the colour; Cancel changes nothing.
  bool opened = false;
  guitest::AnswerNextModal([&](HWND dialog) {
    opened = true;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  guitest::ClickAt(Window->GetHandle(), (button.left + button.right) / 2, (button.top + button.bottom) / 2);
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  guitest::PumpFor(30);
  EXPECT_TRUE(opened);
  EXPECT_EQ(Colors->GetColor(), 0x00FF00);

  // An OnClick handler takes the click instead of the dialog.
  int clicks = 0;
  Colors->OnClick = [&](TObject*) { ++clicks; };
  guitest::ClickAt(Window->GetHandle(), (button.left + button.right) / 2, (button.top + button.bottom) / 2);
  guitest::PumpFor(50);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(guitest::AnswerPending());
}

TEST_F(ColorFontComboTest, ANarrowControlDrawsNoCustomButton) {
  Colors->SetShowCustomColorButton(true);
  Colors->SetWidth(30);
  guitest::PumpFor(30);
  Window->Repaint();
  guitest::PumpFor(20);
  EXPECT_EQ(ColorControl()->GetCustomButtonRect().Width(), 0);
}

TEST_F(ColorFontComboTest, FontsAreListedSortedOnceWithTheirTypeMarks) {
  TStringList* items = Fonts->GetItems();
  ASSERT_GT(items->GetCount(), 0) << "the screen's fonts without a printer";
  EXPECT_NE(items->IndexOf("Tahoma"), -1);
  for (int i = 1; i < items->GetCount(); ++i)
    EXPECT_LT(CompareText(items->Get(i - 1), items->Get(i)), 0) << items->Get(i);
  EXPECT_NE(items->GetObject(items->IndexOf("Tahoma")), nullptr) << "Tahoma is a TrueType font";
  ASSERT_NE(dxBarTrueTypeBitmap(), nullptr);
  EXPECT_EQ(dxBarTrueTypeBitmap()->GetWidth(), 13);
  EXPECT_EQ(dxBarNonTrueTypeBitmap()->GetHeight(), 13);
  EXPECT_EQ(Fonts->GetWidth(), 160);
}

TEST_F(ColorFontComboTest, TypedFontNamesTakeTheEntryWithTheLongestStart) {
  Fonts->SetShowEditor(true);
  TStringList* items = Fonts->GetItems();
  const String tahoma = items->Get(items->IndexOf("Tahoma"));
  struct Case {
    String Typed;
    String Text;
  } cases[] = {
      {"tah", tahoma},                 // any case, spelled as listed
      {"TAHOMA", tahoma},
      {"tahqqq", tahoma},              // the longest shared start wins
      {"\x01qqq", tahoma},             // shares nothing: refused, Text stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Typed);
    ClickValue(1);
    ASSERT_TRUE(FontControl()->GetFocused());
    SetWindowTextA(FontControl()->GetInPlaceWnd(), c.Typed.c_str());
    guitest::PressKey(VK_RETURN);
    guitest::PumpFor(40);
    EXPECT_EQ(Fonts->GetText(), c.Text);
  }
  // Outside editing the text is taken as it is.
  Manager->DeactivateAll();
  guitest::PumpFor(30);
  Fonts->SetText("No such font");
  EXPECT_EQ(Fonts->GetText(), "No such font");
}

TEST_F(ColorFontComboTest, TheListDrawsTheTypeMarks) {
  Fonts->SetText("Tahoma");
  guitest::TCapture shot = Shot();
  shot.SavePng("bars_fontcombo");
  const TRect r = Link(1)->ItemRect;
  // The TrueType mark's black T in the value's first 20 pixels.
  EXPECT_GT(shot.CountPixels(TRect(r.left, r.top, r.left + 22, r.bottom), RGB(0, 0, 0)), 8);
  EXPECT_GT(shot.CountPixels(TRect(r.left, r.top, r.left + 22, r.bottom), RGB(128, 128, 128)), 8);
}
