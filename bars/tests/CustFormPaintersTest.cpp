// The command rows of the customizing dialog in each look, pixel by pixel:
// the 24-pixel glyph cell, the 13-pixel drop-down part, sub-menu arrows,
// list items in parentheses, edit and combo samples, the Office 2003
// gradient; and the painter chosen for the manager's.
#include "BarsTest.h"
#include "PaintSheet.h"

#include "dxBarCustForm.h"
#include "dxBarEdits.h"
#include "dxBarPainters.h"
#include "dxOffice11.h"

#include "GuiTest.h"

using namespace painttest;

namespace {

constexpr int kRowWidth = 200;
constexpr int kRowHeight = 22;

class CustFormPaintersTest : public BarsTest {
protected:
  void SetUp() override { Build(); }

  // A sheet with one row drawn by the painter: an edit row for edits.
  TSheet Row(TdxBarCustomizingFormPainterClass painter, TdxBarItem* item, bool selected,
             const String& caption = "Cmd") {
    TSheet sheet(kRowWidth, kRowHeight);
    TCanvas canvas;
    canvas.SetHandle(sheet.DC());
    canvas.GetFont()->SetName("Tahoma");
    const TRect r(0, 0, kRowWidth, kRowHeight);
    if (dynamic_cast<TdxBarEdit*>(item))
      painter->DrawEditCommand(&canvas, r, selected, caption, item);
    else
      painter->DrawCommand(&canvas, r, selected, caption, item);
    canvas.SetHandle(nullptr);
    return sheet;
  }

  template <typename T> T* Item(const String& name) {
    auto* item = new T(Form.get());
    item->SetName(name);
    item->SetCategory(0);
    return item;
  }

  TdxBarButton* ButtonWithGlyph(const String& name, COLORREF color) {
    auto* button = Item<TdxBarButton>(name);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    RECT r{0, 0, 16, 16};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(glyph.GetCanvas()->GetHandle(), &r, brush);
    DeleteObject(brush);
    // The corner pixel's colour is the glyph's transparent one.
    SetPixel(glyph.GetCanvas()->GetHandle(), 0, 15, RGB(255, 0, 255));
    button->SetGlyph(&glyph);
    return button;
  }

  static int CountInColumn(const TSheet& sheet, int x, COLORREF color) {
    return sheet.Capture.CountPixels(RECT{x, 0, x + 1, kRowHeight}, color);
  }
};

const TdxBarCustomizingFormPainter* Standard() {
  return TdxBarCustomizingFormStandardPainter::Instance();
}

} // namespace

TEST_F(CustFormPaintersTest, ThePainterFollowsTheManagersByIdentity) {
  const struct {
    TdxBarManagerStyle style;
    TdxBarCustomizingFormPainterClass painter;
  } cases[] = {
      {bmsStandard, TdxBarCustomizingFormStandardPainter::Instance()},
      {bmsEnhanced, TdxBarCustomizingFormStandardPainter::Instance()},
      {bmsFlat, TdxBarCustomizingFormFlatPainter::Instance()},
      {bmsOffice11, TdxBarCustomizingFormOffice11Painter::Instance()},
      {bmsXP, TdxBarCustomizingFormXPPainter::Instance()},
  };
  for (const auto& c : cases) {
    Manager->SetStyle(c.style);
    EXPECT_EQ(GetCustomizingFormPainterClass(Manager), c.painter) << c.style;
  }
}

TEST_F(CustFormPaintersTest, StandardRowsHaveAGlyphCellAndACaptionArea) {
  const COLORREF face = Sys(COLOR_BTNFACE), highlight = Sys(COLOR_HIGHLIGHT);
  auto* plain = Item<TdxBarButton>("Plain");
  auto* glyphed = ButtonWithGlyph("Glyphed", RGB(0, 0, 255));
  struct Case {
    const char* what;
    TdxBarItem* item;
    bool selected;
    COLORREF cell, line, text;
  };
  const Case cases[] = {
      {"plain", plain, false, face, face, face},
      {"plain selected", plain, true, highlight, highlight, highlight},
      // With an image the cell keeps the face colour and the caption area alone
      // shows the selection, from x = 24 on.
      {"glyph selected", glyphed, true, face, face, highlight},
  };
  for (const Case& c : cases) {
    TSheet sheet = Row(Standard(), c.item, c.selected);
    EXPECT_EQ(sheet.At(2, 11), c.cell) << c.what;
    EXPECT_EQ(sheet.At(23, 11), c.line) << c.what;
    EXPECT_EQ(sheet.At(24, 1), c.text) << c.what;
    EXPECT_EQ(sheet.At(kRowWidth - 1, 1), c.text) << c.what;
    EXPECT_EQ(sheet.Capture.CountPixels(RECT{0, 0, kRowWidth, kRowHeight}, kRed), 0) << c.what;
  }
  TSheet sheet = Row(Standard(), glyphed, true);
  EXPECT_EQ(sheet.At(11, 11), RGB(0, 0, 255)) << "the glyph in the middle of the cell";
  EXPECT_EQ(sheet.At(0, 11), Sys(COLOR_BTNHIGHLIGHT)) << "a selected glyph is raised";
  EXPECT_EQ(sheet.At(22, 11), Sys(COLOR_BTNSHADOW));
}

TEST_F(CustFormPaintersTest, DropDownPartsArrowsAndListItems) {
  auto* dropDown = Item<TdxBarButton>("DropDown");
  dropDown->SetButtonStyle(bsDropDown);
  auto* sub = Item<TdxBarSubItem>("Sub");
  auto* list = Item<TdxBarListItem>("List");
  const COLORREF text = Sys(COLOR_BTNTEXT), face = Sys(COLOR_BTNFACE);
  const int arrowX = kRowWidth - 9;
  // The arrow's tip column lies 3 pixels right of its base.
  for (TdxBarItem* item : {static_cast<TdxBarItem*>(dropDown), static_cast<TdxBarItem*>(sub)}) {
    TSheet sheet = Row(Standard(), item, false);
    EXPECT_EQ(CountInColumn(sheet, arrowX, text), 7) << item->GetName();
    EXPECT_EQ(CountInColumn(sheet, arrowX + 3, text), 1) << item->GetName();
  }
  TSheet listSheet = Row(Standard(), list, false);
  EXPECT_EQ(CountInColumn(listSheet, arrowX, text), 0) << "a list shows no arrow";

  // The drop-down part is 13 pixels: selected, a raised edge around it; the
  // caption area ends before it.
  TSheet selected = Row(Standard(), dropDown, true);
  EXPECT_EQ(selected.At(kRowWidth - 14, 1), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(selected.At(kRowWidth - 13, 5), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(selected.At(kRowWidth - 12, 1), face);
  // Not selected, an etched line on its left.
  TSheet plain = Row(Standard(), dropDown, false);
  EXPECT_EQ(plain.At(kRowWidth - 14, 5), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(plain.At(kRowWidth - 13, 5), Sys(COLOR_BTNHIGHLIGHT));
}

TEST_F(CustFormPaintersTest, ListItemsShowTheirCaptionInParentheses) {
  auto* list = Item<TdxBarListItem>("List");
  auto* button = Item<TdxBarButton>("Button");
  TSheet withParens = Row(Standard(), list, false, "Abc");
  TSheet plain = Row(Standard(), button, false, "(Abc)");
  for (int x = 0; x < kRowWidth; ++x)
    for (int y = 0; y < kRowHeight; ++y)
      ASSERT_EQ(withParens.At(x, y), plain.At(x, y)) << x << "," << y;
}

TEST_F(CustFormPaintersTest, EditAndComboSamplesInEachLook) {
  auto* edit = Item<TdxBarEdit>("Edit");
  auto* combo = Item<TdxBarCombo>("Combo");
  const COLORREF window = Sys(COLOR_WINDOW);
  const TdxBarCustomizingFormPainterClass painters[] = {
      Standard(), TdxBarCustomizingFormFlatPainter::Instance(), TdxBarCustomizingFormOffice11Painter::Instance()};
  for (TdxBarCustomizingFormPainterClass painter : painters) {
    for (bool selected : {false, true}) {
      TSheet e = Row(painter, edit, selected, "E");
      TSheet c = Row(painter, combo, selected, "E");
      EXPECT_EQ(e.At(kRowWidth - 4, 11), window) << "the edit's inside reaches the right";
      const RECT button{kRowWidth - 13, 0, kRowWidth, kRowHeight};
      EXPECT_GT(c.Capture.CountPixels(button, Sys(COLOR_BTNTEXT)), 0) << "the combo's arrow";
      EXPECT_EQ(e.Capture.CountPixels(button, Sys(COLOR_BTNTEXT)), 0);
      EXPECT_EQ(c.At(kRowWidth - 18, 11), window) << "the combo's text area";
      EXPECT_EQ(e.Capture.CountPixels(RECT{0, 0, kRowWidth, kRowHeight}, kRed), 0);
      EXPECT_EQ(c.Capture.CountPixels(RECT{0, 0, kRowWidth, kRowHeight}, kRed), 0);
    }
  }
}

TEST_F(CustFormPaintersTest, FlatRowsHaveAFaceSquareAndAFramedSelection) {
  Manager->SetStyle(bmsFlat);
  auto* button = Item<TdxBarButton>("Button");
  const TdxBarCustomizingFormPainterClass flat = TdxBarCustomizingFormFlatPainter::Instance();
  TSheet plain = Row(flat, button, false);
  EXPECT_EQ(plain.At(kRowHeight - 1, 11), Sys(COLOR_BTNFACE)) << "the square is as wide as the row is high";
  EXPECT_EQ(plain.At(kRowHeight, 11), Sys(COLOR_WINDOW));
  TSheet selected = Row(flat, button, true);
  EXPECT_EQ(selected.At(5, 11), Rgb(Manager->GetFlatSelectionColor()));
  EXPECT_EQ(selected.At(0, 11), Sys(COLOR_HIGHLIGHT)) << "framed";
  EXPECT_EQ(selected.At(kRowWidth - 1, 11), Sys(COLOR_HIGHLIGHT));
}

TEST_F(CustFormPaintersTest, Office11RowsShowTheToolbarGradientInTheSquare) {
  Manager->SetStyle(bmsOffice11);
  auto* button = Item<TdxBarButton>("Button");
  TSheet sheet = Row(TdxBarCustomizingFormOffice11Painter::Instance(), button, false);
  const TRect square(0, 0, kRowHeight, kRowHeight);
  EXPECT_EQ(sheet.At(0, 11), Rgb(Office11Colors.ToolbarLight));
  EXPECT_EQ(sheet.At(kRowHeight - 1, 11), Rgb(GradientColorAt(square, kRowHeight - 1, Office11Colors.ToolbarLight,
                                                                true, Office11Colors.ToolbarDark)));
  EXPECT_NE(sheet.At(0, 11), sheet.At(kRowHeight - 1, 11));
  EXPECT_EQ(sheet.At(kRowHeight + 2, 11), Rgb(Office11Colors.MenuBackground));
}

TEST_F(CustFormPaintersTest, XPDropDownPartsAreThemedButtonsAndFocusSkipsTheGlyph) {
  guitest::SetVisualStyle(true);
  Manager->SetStyle(bmsXP);
  ASSERT_EQ(GetCustomizingFormPainterClass(Manager), TdxBarCustomizingFormXPPainter::Instance());
  auto* dropDown = Item<TdxBarButton>("DropDown");
  dropDown->SetButtonStyle(bsDropDown);
  const TdxBarCustomizingFormPainterClass xp = TdxBarCustomizingFormXPPainter::Instance();
  TSheet themed = Row(xp, dropDown, false);
  TSheet standard = Row(Standard(), dropDown, false);
  const RECT part{kRowWidth - 13, 0, kRowWidth, kRowHeight};
  EXPECT_LT(themed.Capture.CountPixels(part, Sys(COLOR_BTNFACE)), standard.Capture.CountPixels(part, Sys(COLOR_BTNFACE)))
      << "the hot toolbar button of the theme";

  auto* glyphed = ButtonWithGlyph("Glyphed", RGB(0, 0, 255));
  TSheet focus(kRowWidth, kRowHeight, Sys(COLOR_WINDOW));
  TCanvas canvas;
  canvas.SetHandle(focus.DC());
  xp->DrawFocus(&canvas, TRect(0, 0, kRowWidth, kRowHeight), glyphed);
  canvas.SetHandle(nullptr);
  EXPECT_EQ(CountInColumn(focus, 10, Sys(COLOR_WINDOW)), kRowHeight) << "no focus mark over the glyph";
  EXPECT_NE(CountInColumn(focus, 24, Sys(COLOR_WINDOW)), kRowHeight);
}

// ---- Without the visual style ----

namespace {

class CustFormPaintersStyleOff : public BarsTest {};

} // namespace

TEST_F(CustFormPaintersStyleOff, TheXPStyleListsCommandsWithTheStandardPainter) {
  Build();
  Manager->SetStyle(bmsXP);
  EXPECT_EQ(GetCustomizingFormPainterClass(Manager), TdxBarCustomizingFormStandardPainter::Instance());
}

TEST(CustFormPaintersVisualStyle, ClassicLookCasesPassInAChildProcess) {
  if (guitest::IsStyleOffRun()) GTEST_SKIP();
  EXPECT_EQ(0, guitest::RunStyleOffCases("CustFormPaintersStyleOff.*"));
}
