// The editor window under Wine: what it draws (checked by pixels, cells
// measured at run time), real keys and mouse, and its message interface.
#include "Clipbrd.h"
#include "GuiTest.h"
#include "SqlRulesEmbedded.h"
#include "SynParse.h"
#include "SyntaxEd_marks.h"
#include "SyntaxMemo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include <shlobj.h>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;
using guitest::TCapture;

COLORREF Rgb(TColor c) {
  return ColorToRGB(c);
}

void MouseAt(HWND wnd, int x, int y, DWORD buttons) {
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  SetCursorPos(p.x, p.y);
  PumpFor(30);
  guitest::SendMouseAt(p, buttons);
}

class SyntaxMemoWindow : public ::testing::Test {
protected:
  void SetUp() override {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(20, 20, 560, 360);
    Parser = new TSyntaxMemoParser(Form.get());
    TMemoryStream rules;
    rules.WriteBuffer(SqlRulesCompiled, SqlRulesCompiledSize);
    rules.SetPosition(0);
    Parser->LoadLanguage(rules);
    Memo = new TSyntaxMemo(Form.get());
    Memo->SetParent(Form.get());
    Memo->SetBounds(0, 0, 520, 300);
    Memo->SetParser(1, Parser);
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Memo->IsShowing(); }));
    Memo->SetFocus();
    PumpFor(50);
  }

  TSyntaxMemoModel& Model() { return Memo->GetModel(); }
  void SetText(const String& text) {
    Memo->GetLines()->SetTextStr(text);
    PumpFor(30);
  }
  int CharWidth() { return Model().GetMetrics().AveCharWidth; }
  int LineHeight() { return Memo->GetLineHeight(); }
  // The pixels of one character cell, in client coordinates.
  RECT Cell(int row, int column) {
    const int x = Memo->TextLeftEdge() + (column - Model().GetLeftColumn()) * CharWidth();
    const int y = (row - Model().GetTopLine()) * LineHeight();
    return RECT{x, y, x + CharWidth(), y + LineHeight()};
  }
  TCapture Capture() { return TCapture::Paint(Memo->GetHandle()); }
  // The colours a token is drawn in, from the language's styles.
  std::pair<COLORREF, COLORREF> TokenColours(uint8_t token) {
    const TSM_Settings& s = Model().GetSettings();
    const TSM_StyleRecord base = s.GetStyle(0);
    const TSM_StyleRecord own = s.GetStyle(s.TokenStyle(token));
    const TColor text = own.SysForeground
                            ? (base.SysForeground ? GetSysColor(COLOR_WINDOWTEXT) : base.Foreground)
                            : own.Foreground;
    const TColor back = own.SysBackground ? (base.SysBackground ? GetSysColor(COLOR_WINDOW) : base.Background)
                                          : own.Background;
    return {Rgb(text), Rgb(back)};
  }
  HWND Wnd() { return Memo->GetHandle(); }

  std::unique_ptr<TForm> Form;
  TSyntaxMemoParser* Parser = nullptr;
  TSyntaxMemo* Memo = nullptr;
};

// Every character cell of the SQL shows its token's colours: the background
// at the cell's corner, the text colour somewhere in a character's ink.
TEST_F(SyntaxMemoWindow, HighlightedSqlIsDrawnInEachTokenClassColours) {
  SetText("select count(*), 'abc' from `orders`\r\nwhere id > 10.5e2; -- done\r\n/* block */ int");
  const TCapture picture = Capture();
  picture.SavePng("syntaxmemo_highlighted");
  int row = 0;
  std::set<uint8_t> tokensSeen;
  for (const TRowRecord* r = Model().GetFirstRow(); r; r = r->Next, ++row) {
    ASSERT_TRUE(r->Tokens) << row;
    for (int i = 0; i < r->Length && r->Text[i] != '\r'; ++i) {
      const auto [text, back] = TokenColours(r->Tokens[i]);
      const RECT cell = Cell(row, i);
      tokensSeen.insert(r->Tokens[i]);
      EXPECT_EQ(back, picture.Pixel(cell.left, cell.top)) << row << ":" << i;
      if (r->Text[i] != ' ' && text != back) {
        EXPECT_GT(picture.CountPixels(cell, text), 0) << row << ":" << i;
      }
    }
  }
  EXPECT_GE(tokensSeen.size(), 7u);
}

// Line numbers in the gutter, a bookmark's image in place of its number,
// and the selection colours to the right edge only when the selection
// takes in the line end.
TEST_F(SyntaxMemoWindow, GutterNumbersBookmarksAndSelection) {
  Memo->SetOptions(Memo->GetOptions() | SyntaxMemoOptionBit(smoLineNumbers));
  SetText("first\r\nsecond\r\nthird\r\nfourth");
  Model().SetBookmark(1, 2, 1);
  Memo->HideSelection = false;
  Model().SetSelection(2, 9, true); // "rst", the line end, "sec"
  const TCapture picture = Capture();
  picture.SavePng("syntaxmemo_gutter_selection");
  const int gutter = Memo->GetGutter();
  const COLORREF face = Rgb(Memo->GetGutterColor());
  auto gutterInk = [&](int row) {
    const RECT r{0, row * LineHeight(), gutter - 2, (row + 1) * LineHeight()};
    return (gutter - 2) * LineHeight() - picture.CountPixels(r, face);
  };
  for (int row : {0, 2, 3})
    EXPECT_GT(gutterInk(row), 0) << row;
  // The bookmark's image is blue, a number is not.
  const RECT second{0, LineHeight(), gutter - 2, 2 * LineHeight()};
  EXPECT_GT(picture.CountPixels(second, RGB(0, 120, 200)), 10);
  const RECT first{0, 0, gutter - 2, LineHeight()};
  EXPECT_EQ(0, picture.CountPixels(first, RGB(0, 120, 200)));
  // The black line closes the gutter.
  EXPECT_EQ(RGB(0, 0, 0), picture.Pixel(gutter - 1, LineHeight() / 2));
  const COLORREF selBack = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(selBack, picture.Pixel(Cell(0, 3).left, Cell(0, 3).top));
  EXPECT_NE(selBack, picture.Pixel(Cell(0, 1).left, Cell(0, 1).top));
  // Row 0 takes its line end: selection colours to the right edge.
  EXPECT_EQ(selBack, picture.Pixel(Memo->GetClientWidth() - 3, 1));
  // Row 1 ends the selection before its end.
  EXPECT_EQ(selBack, picture.Pixel(Cell(1, 2).left, Cell(1, 2).top));
  EXPECT_NE(selBack, picture.Pixel(Cell(1, 3).left, Cell(1, 3).top));
  EXPECT_NE(selBack, picture.Pixel(Memo->GetClientWidth() - 3, LineHeight() + 1));
}

// A breakpoint's row shows its mark in the gutter and the breakpoint's
// background; with word wrap a continuation row shows the wrap glyph and the
// wrap column its dotted line.
TEST_F(SyntaxMemoWindow, BreakpointMarkWrapGlyphAndWrapColumn) {
  Memo->SetOptions(Memo->GetOptions() | SyntaxMemoOptionBit(smoShowWrapColumn) |
                   SyntaxMemoOptionBit(smoShowWrapGlyph));
  Memo->SetWrapAtColumn(20);
  Memo->SetWordWrap(true);
  SetText("select 1\r\naaaa bbbb cccc dddd eeee ffff gggg");
  ASSERT_EQ(3, Model().GetRowCount());
  Model().GetBreakpoints().Add(std::make_unique<TSM_BreakpointData>(1, true, "b", 0));
  Model().GetBreakpoints().GetEntry(0)->Position = 0;
  const TCapture picture = Capture();
  picture.SavePng("syntaxmemo_breakpoint_wrap");
  auto gutterRow = [&](int row) {
    return RECT{0, row * LineHeight(), Memo->GetGutter() - 1, (row + 1) * LineHeight()};
  };
  EXPECT_GT(picture.CountPixels(gutterRow(0), RGB(200, 0, 0)), 10);
  EXPECT_EQ(RGB(255, 0, 0), picture.Pixel(Cell(0, 1).left, Cell(0, 1).top));
  EXPECT_EQ(0, picture.CountPixels(gutterRow(1), RGB(0, 0, 128)));
  EXPECT_GT(picture.CountPixels(gutterRow(2), RGB(0, 0, 128)), 10);
  const int wrapX = Cell(0, 20).left;
  const RECT wrapLine{wrapX, 0, wrapX + 1, 3 * LineHeight()};
  EXPECT_GT(picture.CountPixels(wrapLine, RGB(192, 192, 192)), LineHeight() / 2);
  const RECT beside{wrapX + 3, 0, wrapX + 4, 3 * LineHeight()};
  EXPECT_EQ(0, picture.CountPixels(beside, RGB(192, 192, 192)));
}

// The right margin line, the left margin strip, and the colours of a
// disabled editor; with the visual style off the same.
TEST_F(SyntaxMemoWindow, MarginsAndDisabledColoursWithAndWithoutTheVisualStyle) {
  Memo->SetOptions(Memo->GetOptions() | SyntaxMemoOptionBit(smoShowRMargin));
  Memo->SetRightMargin(20);
  SetText("short\r\nrow");
  for (bool style : {true, false}) {
    guitest::SetVisualStyle(style);
    Memo->SetEnabled(true);
    const TCapture picture = Capture();
    const int marginX = Memo->TextLeftEdge() + 20 * CharWidth();
    EXPECT_EQ(RGB(192, 192, 192), picture.Pixel(marginX, 2)) << style;
    EXPECT_EQ(RGB(192, 192, 192), picture.Pixel(marginX, Memo->GetClientHeight() - 2)) << style;
    EXPECT_EQ(Rgb(Memo->GetMarginColor()), picture.Pixel(Memo->TextLeftEdge() - 1, 2)) << style;
    EXPECT_EQ(RGB(255, 255, 255), picture.Pixel(Cell(1, 5).left, Cell(1, 5).top)) << style;
    Memo->SetEnabled(false);
    const TCapture disabled = Capture();
    disabled.SavePng(style ? "syntaxmemo_disabled_style_on" : "syntaxmemo_disabled_style_off");
    EXPECT_EQ(RGB(192, 192, 192), disabled.Pixel(Cell(0, 1).left, Cell(0, 1).top)) << style;
    EXPECT_EQ(RGB(192, 192, 192), disabled.Pixel(Cell(3, 1).left, Cell(3, 1).top)) << style;
  }
  guitest::SetVisualStyle(true);
  // Read-only text keeps its normal colours.
  Memo->SetEnabled(true);
  Memo->SetReadOnly(true);
  EXPECT_EQ(RGB(255, 255, 255), Capture().Pixel(Cell(1, 5).left, Cell(1, 5).top));
}

// Show-all-characters draws a dot for every blank and a glyph at line ends.
TEST_F(SyntaxMemoWindow, ShowAllCharactersDrawsBlanksAndLineEnds) {
  SetText("a  b\r\nc");
  const RECT blank = Cell(0, 1);
  const RECT lineEnd = Cell(0, 4);
  const COLORREF back = TokenColours(0).second;
  TCapture plain = Capture();
  const int plainBlank = plain.CountPixels(blank, back);
  const int plainEnd = plain.CountPixels(lineEnd, back);
  Memo->SetOptions(Memo->GetOptions() | SyntaxMemoOptionBit(smoShowAllChars));
  TCapture shown = Capture();
  shown.SavePng("syntaxmemo_all_chars");
  EXPECT_LT(shown.CountPixels(blank, back), plainBlank);
  EXPECT_LT(shown.CountPixels(lineEnd, back), plainEnd);
}

// Typing one character draws the typed row and at most the neighbours the
// re-highlighting looked at; the rest of the view is not painted again.
TEST_F(SyntaxMemoWindow, TypingACharacterRedrawsOnlyItsRow) {
  SetText("select a\r\nfrom b\r\nwhere c = 1\r\norder by d");
  Model().SetSelection(11, 11, true);
  PumpFor(100);
  std::set<int> drawn;
  Memo->OnDrawLine = [&](TObject*, pLineDrawData d) {
    drawn.insert(d->RowStart);
    return 0;
  };
  guitest::TypeText("x");
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->Get(1) == "frxom b"; }));
  PumpFor(100);
  EXPECT_EQ(1u, drawn.count(9));
  EXPECT_EQ(0u, drawn.count(30)); // "order by d", two rows further
  EXPECT_LE(drawn.size(), 3u);
  Memo->OnDrawLine = nullptr;
}

// Enter keeps the indent; Shift+arrows extend; Ctrl+K then a digit sets a
// bookmark; overwrite replaces but not a line end.
TEST_F(SyntaxMemoWindow, KeysIndentExtendSequencesAndOverwrite) {
  SetText("begin\r\n    select 1");
  Model().SetSelection(20, 20, true);
  guitest::PressKey(VK_RETURN);
  guitest::TypeText("x");
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->GetCount() == 3; }));
  PumpFor(50);
  // With TABs and smart fill the indent is filled with a TAB.
  EXPECT_EQ("\tx", Memo->GetLines()->Get(2));

  Model().SetSelection(0, 0, true);
  guitest::PressKey(VK_RIGHT, guitest::kShift);
  guitest::PressKey(VK_RIGHT, guitest::kShift);
  ASSERT_TRUE(PumpUntil([&] { return Model().GetCaret() == 2; }));
  EXPECT_EQ(0, Model().GetAnchor());
  EXPECT_EQ("be", Memo->GetSelText());

  Model().SetSelection(8, 8, true);
  guitest::PressKey('K', guitest::kCtrl);
  guitest::PressKey('3');
  ASSERT_TRUE(PumpUntil([&] { return Model().GetFirstRow()->Next->Marks != 0; }));
  EXPECT_EQ(1 << 3, Model().GetFirstRow()->Next->Marks);
  EXPECT_EQ("begin", Memo->GetLines()->Get(0)); // the digit was not typed

  Model().SetSelection(3, 3, true);
  guitest::PressKey(VK_INSERT);
  guitest::TypeText("XYZ");
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->Get(0).size() > 5; }));
  PumpFor(50);
  EXPECT_EQ("begXYZ", Memo->GetLines()->Get(0));
  EXPECT_EQ(3, Memo->GetLines()->GetCount());
}

// A double click selects the word, a third click on the same row the row.
TEST_F(SyntaxMemoWindow, DoubleAndTripleClicksSelectWordAndRow) {
  SetText("select name from users\r\nwhere id = 2");
  const RECT word = Cell(0, 9); // inside "name"
  const int x = word.left + 2;
  const int y = word.top + LineHeight() / 2;
  guitest::ClickAt(Wnd(), x, y);
  guitest::ClickAt(Wnd(), x, y);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetSelText() == "name"; }));
  guitest::ClickAt(Wnd(), x, y);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetSelLength() > 4; }));
  EXPECT_EQ(0, Memo->GetSelStart());
  EXPECT_EQ("select name from users\r\n", Memo->GetSelText());
  PumpFor(static_cast<int>(GetDoubleClickTime()) + 50);
  guitest::ClickAt(Wnd(), Cell(1, 2).left + 2, y + LineHeight());
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetSelLength() == 0; }));
  EXPECT_EQ(25, Model().GetCaret());
}

// Dragging below the window scrolls and extends the selection while the
// button is down; the scroll stops at the release, before the end.
TEST_F(SyntaxMemoWindow, DragSelectionFollowsTheMouseAndStopsOnRelease) {
  String text;
  for (int i = 0; i < 3000; ++i)
    text += "row " + IntToStr(i) + "\r\n";
  SetText(text);
  bool released = false;
  Memo->OnChange = [&](TObject*) {
    if (released || Model().GetTopLine() < 20) return;
    released = true;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(INPUT));
  };
  MouseAt(Wnd(), Cell(0, 1).left, 2, MOUSEEVENTF_LEFTDOWN);
  MouseAt(Wnd(), Cell(0, 1).left, Memo->GetClientHeight() + 30, 0);
  ASSERT_TRUE(PumpUntil([&] { return released; }, 5000));
  PumpFor(300);
  const int top = Model().GetTopLine();
  EXPECT_GE(top, 20);
  EXPECT_LT(top, 2000);
  EXPECT_EQ(1, Model().GetAnchor());
  EXPECT_GT(Model().GetCaret(), 20 * 6);
  PumpFor(300);
  EXPECT_EQ(top, Model().GetTopLine());
}

// With the button held beyond the window's bottom and then its right edge,
// the view scrolls to the last row and the last column and stops there; the
// release is still seen afterwards.
TEST_F(SyntaxMemoWindow, FollowingTheMouseStopsAtTheLastRowAndColumn) {
  String text;
  for (int i = 0; i < 30; ++i)
    text += "row " + IntToStr(i) + "\r\n";
  SetText(text + String(80, 'w'));
  const int lastRow = Model().GetRowCount() - 1;
  MouseAt(Wnd(), Cell(0, 1).left, 2, MOUSEEVENTF_LEFTDOWN);
  MouseAt(Wnd(), Cell(0, 1).left, Memo->GetClientHeight() + 30, 0);
  ASSERT_TRUE(PumpUntil([&] { return Model().GetTopLine() == lastRow; }));
  PumpFor(200);
  EXPECT_EQ(lastRow, Model().GetTopLine());
  MouseAt(Wnd(), Memo->GetClientWidth() + 30, LineHeight() / 2, 0);
  ASSERT_TRUE(PumpUntil([&] { return Model().GetLeftColumn() == Model().GetLongestRow() - 1; }));
  PumpFor(200);
  EXPECT_EQ(Model().GetLongestRow() - 1, Model().GetLeftColumn());
  EXPECT_EQ(lastRow, Model().GetTopLine());
  EXPECT_EQ(1, Model().GetAnchor());
  MouseAt(Wnd(), Memo->GetClientWidth() + 30, LineHeight() / 2, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
  PumpFor(100);
  const int caret = Model().GetCaret();
  MouseAt(Wnd(), Cell(lastRow, Model().GetLeftColumn()).left, LineHeight() / 2, 0);
  PumpFor(100);
  EXPECT_EQ(caret, Model().GetCaret());
}

// Dragging the right margin line moves the right margin to the column
// where the button goes up.
TEST_F(SyntaxMemoWindow, DraggingTheRightMarginSetsIt) {
  Memo->SetOptions(Memo->GetOptions() | SyntaxMemoOptionBit(smoShowRMargin));
  Memo->SetRightMargin(30);
  SetText("short");
  const int y = LineHeight() * 3;
  const int from = Memo->TextLeftEdge() + 30 * CharWidth();
  MouseAt(Wnd(), from, y, 0);
  MouseAt(Wnd(), from, y, MOUSEEVENTF_LEFTDOWN);
  MouseAt(Wnd(), from + 10 * CharWidth(), y, 0);
  MouseAt(Wnd(), from + 10 * CharWidth(), y, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetRightMargin() != 30; }));
  EXPECT_EQ(40, Memo->GetRightMargin());
}

// Paint outside a paint message draws the flagged rows on the window
// itself, where no update region asks for them.
TEST_F(SyntaxMemoWindow, PaintOutsideAPaintMessageDrawsOnTheWindow) {
  SetText("select 1\r\nfrom t");
  PumpFor(100);
  RECT client;
  GetClientRect(Wnd(), &client);
  HDC dc = GetDC(Wnd());
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(Wnd(), dc);
  ValidateRect(Wnd(), nullptr);
  for (TRowRecord* r = Model().GetFirstRow(); r; r = r->Next)
    r->Flags |= rfRepaint;
  Memo->Paint();
  TCapture onWindow(client.right, client.bottom);
  dc = GetDC(Wnd());
  BitBlt(onWindow.DC(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(Wnd(), dc);
  const TRowRecord* second = Model().GetFirstRow()->Next;
  for (int row : {0, 1}) {
    const uint8_t token = (row ? second : Model().GetFirstRow())->Tokens[1];
    EXPECT_EQ(TokenColours(token).second, onWindow.Pixel(Cell(row, 1).left, Cell(row, 1).top)) << row;
  }
}

// A run of more characters than a fixed-pitch row's first advance table held
// is drawn whole on a window wide enough to show it.
TEST_F(SyntaxMemoWindow, ARunOfHundredsOfCharactersIsDrawnWholeOnAWideWindow) {
  Memo->SetOptions(Memo->GetOptions() & ~SyntaxMemoOptionBit(smoShowGutter));
  Memo->SetBounds(0, 0, Memo->TextLeftEdge() + 420 * CharWidth() + 40, 100);
  const int length = 400;
  SetText(String(length, 'w'));
  const TCapture picture = Capture();
  const COLORREF back = TokenColours(Model().GetFirstRow()->Tokens[0]).second;
  auto ink = [&](int column) {
    const RECT cell = Cell(0, column);
    return CharWidth() * LineHeight() - picture.CountPixels(cell, back);
  };
  for (int column = 0; column < length; column += 7)
    EXPECT_GT(ink(column), 0) << column;
  EXPECT_GT(ink(length - 1), 0);
  EXPECT_EQ(0, ink(length + 2));
}

// The vertical bar stays below 32,000 units: with 100,000 rows every unit is
// four rows.
TEST_F(SyntaxMemoWindow, ScrollBarOfAHundredThousandRows) {
  String text;
  text.reserve(100000 * 4);
  for (int i = 0; i < 100000; ++i)
    text += "x\r\n";
  SetText(text);
  Memo->Perform(SM_TOPLINE, 1, 4000);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(Wnd(), SB_VERT, &info);
  EXPECT_EQ(4, Model().GetScrollDivisor());
  EXPECT_EQ(0, info.nMin);
  EXPECT_EQ(100001 / 4, info.nMax);
  EXPECT_EQ(1000, info.nPos);
  // The bar's thumb position is scaled back, its top and bottom reach the
  // first and the last line.
  Memo->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 2000), 0);
  EXPECT_EQ(8000, Model().GetTopLine());
  Memo->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Model().GetRowCount() - 1, Model().GetTopLine());
  Memo->Perform(WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(0, Model().GetTopLine());
}

// The edit messages and the editor's own before the window exists and after.
TEST(SyntaxMemoMessages, EditMessagesAndTheLinesBeforeAWindow) {
  TSyntaxMemo memo(nullptr);
  EXPECT_EQ(1, memo.Perform(EM_GETLINECOUNT));
  memo.GetLines()->Add("abc");
  memo.GetLines()->Add("de");
  EXPECT_EQ(2, memo.GetLines()->GetCount());
  EXPECT_EQ("abc\r\nde", memo.GetText());
  EXPECT_EQ(3, memo.Perform(EM_LINELENGTH, 0));
  EXPECT_EQ(4, memo.Perform(EM_LINEINDEX, 1));
  EXPECT_EQ(1, memo.Perform(EM_LINEFROMCHAR, 5));
  memo.Perform(EM_POSFROMCHAR, 0, 5); // no point to fill: nothing written
  memo.Perform(EM_SETSEL, 0, -1);
  EXPECT_EQ(7, memo.GetSelLength());
  int pair[2] = {4, 1000};
  memo.Perform(SM_SELECTION, 1, reinterpret_cast<LPARAM>(pair));
  EXPECT_EQ(4, memo.GetSelStart());
  EXPECT_EQ(2, memo.Perform(SM_SELTEXT, 0, 0));
  EXPECT_EQ(String("<TSyntaxMemo>:3.00.39"), reinterpret_cast<const char*>(memo.Perform(SM_VERSION)));
  EXPECT_EQ(0x83, memo.Perform(WM_GETDLGCODE));
  memo.WantTab = false;
  EXPECT_EQ(0x81, memo.Perform(WM_GETDLGCODE));
}

TEST(SyntaxMemoMessages, GetTextCountsBytesAndRespectsTheCapacity) {
  TSyntaxMemo memo(nullptr);
  memo.Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("a\rb"));
  char buffer[16] = "zzzzzzzzzzzzzzz";
  EXPECT_EQ(0, memo.Perform(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)));
  EXPECT_EQ('z', buffer[0]);
  EXPECT_EQ(3, memo.Perform(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)));
  EXPECT_EQ(String("a\r\n"), String(buffer));
  EXPECT_EQ(4, memo.Perform(WM_GETTEXTLENGTH));
  EXPECT_EQ(4, memo.Perform(WM_GETTEXT, 5, reinterpret_cast<LPARAM>(buffer)));
  EXPECT_EQ(String("a\r\nb"), String(buffer));
}

// Ctrl+J after a template's name expands it; after no name the pop-up opens,
// Return inserts the chosen template; closing the editor with the pop-up
// open leaves nothing behind.
TEST_F(SyntaxMemoWindow, TemplateKeyExpandsAndOpensThePopup) {
  TCodeTemplates& templates = Model().GetSettings().GetCodeTemplates();
  templates.AddTemplate("sel", "Select all", "select * from |");
  templates.AddTemplate("ins", "Insert", "insert into |");
  SetText("");
  guitest::TypeText("sel");
  guitest::PressKey('J', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->Get(0) == "select * from "; }));
  EXPECT_EQ(14, Model().GetCaret());

  SetText("");
  guitest::PressKey('J', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetTemplatePopup() != nullptr; }));
  TCustomListBox* popup = Memo->GetTemplatePopup();
  ASSERT_TRUE(PumpUntil([&] { return popup->Focused(); }));
  EXPECT_EQ(2, popup->GetCount());
  TCapture::Paint(Form->GetHandle()).SavePng("syntaxmemo_template_popup");
  guitest::TypeText("s");
  guitest::PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->Get(0) == "select * from "; }));

  guitest::PressKey('J', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetTemplatePopup() && Memo->GetTemplatePopup()->Focused(); }));
  delete Memo;
  Memo = nullptr;
  PumpFor(100);
  EXPECT_TRUE(Parser->GetEditors().empty());
}

// Esc and a click back into the editor put the pop-up away and leave the
// text as it was; an expansion chosen in it is undone in one step.
TEST_F(SyntaxMemoWindow, TemplatePopupGoesOnEscAndFocusLossAndItsExpansionUndoesAtOnce) {
  Model().GetSettings().GetCodeTemplates().AddTemplate("sel", "Select all", "select * from |");
  SetText("x ");
  auto popupFocused = [&] { return Memo->GetTemplatePopup() && Memo->GetTemplatePopup()->Focused(); };
  auto popupGone = [&] { return !Memo->GetTemplatePopup() || !Memo->GetTemplatePopup()->GetVisible(); };
  const std::pair<const char*, std::function<void()>> closings[] = {
      {"Esc", [] { guitest::PressKey(VK_ESCAPE); }},
      {"click", [&] { guitest::ClickAt(Wnd(), Cell(10, 40).left, Cell(10, 40).top + 2); }},
  };
  for (const auto& [name, close] : closings) {
    Model().SetSelection(2, 2, true);
    guitest::PressKey('J', guitest::kCtrl);
    ASSERT_TRUE(PumpUntil(popupFocused)) << name;
    close();
    ASSERT_TRUE(PumpUntil([&] { return popupGone() && Memo->Focused(); })) << name;
    EXPECT_EQ("x ", Memo->GetText()) << name;
  }
  Model().SetSelection(2, 2, true);
  guitest::PressKey('J', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil(popupFocused));
  guitest::PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetText() == "x select * from "; }));
  guitest::PressKey('Z', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetText() == "x "; }));
}

} // namespace

namespace {

// Copy and cut put CR LF text on the clipboard, paste takes it back in the
// rows' form; a gutter click reports the 1-based line.
TEST_F(SyntaxMemoWindow, ClipboardKeysAndGutterClick) {
  SetText("one\r\ntwo\r\nthree");
  Model().SetSelection(2, 6, true); // "e", the line end, "tw"
  guitest::PressKey('C', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return Clipboard()->GetAsText() == "e\r\ntw"; }));
  EXPECT_EQ(1, Memo->Perform(WM_USER + 50, 0)); // can paste
  guitest::PressKey('X', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->GetCount() == 2; }));
  EXPECT_EQ("ono", Memo->GetLines()->Get(0));
  Model().SetSelection(Memo->GetTextLength(), Memo->GetTextLength(), true);
  guitest::PressKey('V', guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->GetCount() == 3; }));
  EXPECT_EQ("ono\r\nthreee\r\ntw", Memo->GetText());

  int clicked = 0;
  Memo->OnGutterClick = [&](TObject*, int line) { clicked = line; };
  guitest::ClickAt(Wnd(), 5, LineHeight() + LineHeight() / 2);
  ASSERT_TRUE(PumpUntil([&] { return clicked != 0; }));
  EXPECT_EQ(2, clicked);
  Memo->OnGutterClick = nullptr;
}

} // namespace

namespace {

// A new editor's size, font and version; its window style by border, 3-D
// look and scroll bars.
TEST(SyntaxMemoConstruction, InitialValuesAndWindowStyles) {
  auto form = std::make_unique<TForm>(nullptr);
  TSyntaxMemo& memo = *new TSyntaxMemo(form.get());
  EXPECT_EQ("3.00.39", memo.GetVersion());
  EXPECT_EQ(185, memo.GetWidth());
  EXPECT_EQ(89, memo.GetHeight());
  EXPECT_EQ("Courier New", memo.GetFont()->GetName());
  EXPECT_EQ(10, memo.GetFont()->GetSize());
  EXPECT_TRUE(memo.GetTabStop());
  memo.SetParent(form.get());
  struct Case {
    TBorderStyle border;
    bool ctl3d;
    TScrollStyle bars;
    LONG_PTR style;
    LONG_PTR exStyle;
  };
  for (Case c : {Case{bsSingle, true, ssBoth, WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE},
                 Case{bsSingle, false, ssVertical, WS_BORDER | WS_VSCROLL, 0},
                 Case{bsNone, true, ssHorizontal, WS_HSCROLL, 0}, Case{bsNone, false, ssNone, 0, 0}}) {
    memo.Ctl3D = c.ctl3d;
    memo.SetBorderStyle(c.border);
    memo.SetScrollBars(c.bars);
    memo.RecreateWnd();
    const LONG_PTR style = GetWindowLongPtrA(memo.GetHandle(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(memo.GetHandle(), GWL_EXSTYLE);
    EXPECT_EQ(c.style, style & (WS_BORDER | WS_HSCROLL | WS_VSCROLL)) << c.border << c.ctl3d << c.bars;
    EXPECT_EQ(c.exStyle, exStyle & WS_EX_CLIENTEDGE) << c.border << c.ctl3d << c.bars;
  }
}

// Dropped files reach the event with the drop point, and the shell's drop
// handle is released afterwards.
TEST(SyntaxMemoConstruction, DroppedFilesAreReportedAndTheDropReleased) {
  TSyntaxMemo memo(nullptr);
  const char names[] = "C:\\a.sql\0C:\\b.sql\0";
  HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof names);
  auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->pt = POINT{7, 9};
  files->fNC = FALSE;
  memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names, sizeof names);
  GlobalUnlock(drop);
  std::vector<String> got;
  TPoint at;
  memo.OnFilesDropped = [&](TObject*, TStrings* list, TPoint point) {
    for (int i = 0; i < list->GetCount(); ++i)
      got.push_back(list->Get(i));
    at = point;
  };
  memo.Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ((std::vector<String>{"C:\\a.sql", "C:\\b.sql"}), got);
  EXPECT_EQ(TPoint(7, 9), at);
  EXPECT_EQ(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(drop));
}

// A destroyed editor leaves neither its parser's editor list nor the
// settings' attached list.
TEST(SyntaxMemoConstruction, ADestroyedEditorIsForgottenByItsParserAndSettings) {
  TSyntaxMemoParser parser(nullptr);
  {
    auto form = std::make_unique<TForm>(nullptr);
    auto* memo = new TSyntaxMemo(form.get());
    memo->SetParent(form.get());
    memo->SetParser(1, &parser);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return memo->IsShowing(); }));
    memo->Repaint();
    ASSERT_FALSE(parser.GetSettings().GetAttachedEditors().empty());
  }
  EXPECT_TRUE(parser.GetEditors().empty());
  EXPECT_TRUE(parser.GetSettings().GetAttachedEditors().empty());
}

} // namespace

namespace {

// A marked range is underlined by a red zigzag under its characters only;
// the focus lines frame the caret's row in black on white.
TEST_F(SyntaxMemoWindow, MarkZigzagAndFocusLines) {
  SetText("select name from t\r\nwhere x");
  Model().GetStore().SetMarkList(std::make_unique<TObjectList>());
  Model().GetStore().GetMarkList()->AddMark(7, 4, 1); // "name"
  Memo->SetShowFocusLine(true);
  Model().SetSelection(22, 22, true);
  const TCapture picture = Capture();
  picture.SavePng("syntaxmemo_mark_focus");
  const COLORREF red = RGB(255, 0, 0);
  RECT under = Cell(0, 7);
  under.right = Cell(0, 10).right;
  EXPECT_GT(picture.CountPixels(under, red), 6);
  EXPECT_EQ(0, picture.CountPixels(Cell(0, 2), red));
  EXPECT_EQ(0, picture.CountPixels(Cell(0, 13), red));
  const int y = LineHeight();
  const RECT lines{Memo->TextLeftEdge() + 30 * CharWidth(), y, Memo->GetClientWidth() - 2, y + 1};
  EXPECT_EQ(lines.right - lines.left, picture.CountPixels(lines, RGB(0, 0, 0)));
  const RECT bottom{lines.left, 2 * y - 1, lines.right, 2 * y};
  EXPECT_EQ(lines.right - lines.left, picture.CountPixels(bottom, RGB(0, 0, 0)));
}

} // namespace

namespace {

// Over a hyperlink style the cursor is the hyperlink cursor and the hover
// event fires; a click reports the link's whole text and token.
TEST_F(SyntaxMemoWindow, HyperlinksChangeTheCursorAndReportClicks) {
  TSM_Settings& settings = Model().GetSettings();
  SetText("select abc from t");
  const uint8_t token = Model().GetFirstRow()->Tokens[8];
  TSM_StyleRecord style = settings.GetStyle(settings.TokenStyle(token));
  style.Hotspot = true;
  settings.SetStyle(settings.TokenStyle(token), style);
  Memo->HyperCursor = crSyntaxMemoHyperlink;
  ASSERT_TRUE(Screen->GetCursors(crSyntaxMemoHyperlink));
  int hovered = 0;
  String clickedText;
  int clickedToken = -1;
  Memo->OnHyperlinkHover = [&](TObject*) { ++hovered; };
  Memo->OnHyperlinkClick = [&](TObject*, const String& text, int type) {
    clickedText = text;
    clickedToken = type;
  };
  const RECT cell = Cell(0, 8);
  MouseAt(Wnd(), cell.left + 2, cell.top + 4, 0);
  ASSERT_TRUE(PumpUntil([&] { return hovered > 0; }));
  EXPECT_EQ(crSyntaxMemoHyperlink, Memo->GetCursor());
  guitest::ClickAt(Wnd(), cell.left + 2, cell.top + 4);
  ASSERT_TRUE(PumpUntil([&] { return clickedToken >= 0; }));
  EXPECT_EQ("abc", clickedText);
  EXPECT_EQ(token, clickedToken);
  MouseAt(Wnd(), Cell(0, 2).left + 2, cell.top + 4, 0);
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetCursor() == crIBeam; }));
  Memo->OnHyperlinkHover = nullptr;
  Memo->OnHyperlinkClick = nullptr;
}

} // namespace

namespace {

// Typing a listed word and then a blank replaces the word; TAB below a line
// with a word further right moves to the column where that word starts.
TEST_F(SyntaxMemoWindow, AutoReplaceAndTabToColumn) {
  Model().GetSettings().GetAutoReplace().AddReplacement("teh", "the");
  SetText("");
  guitest::TypeText("teh x");
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->Get(0).size() == 5; }));
  EXPECT_EQ("the x", Memo->GetLines()->Get(0));

  Memo->SetOptions(Memo->GetOptions() & ~SyntaxMemoOptionBit(smoUseTAB));
  SetText("select      name\r\n");
  Model().SetSelection(Memo->GetTextLength(), Memo->GetTextLength(), true);
  guitest::TypeText("ab");
  guitest::PressKey(VK_TAB);
  guitest::TypeText("c");
  ASSERT_TRUE(PumpUntil([&] { return Memo->GetLines()->Get(1).find('c') != String::npos; }));
  EXPECT_EQ("ab          c", Memo->GetLines()->Get(1));
}

} // namespace

namespace {

// A TAB shows as blanks up to its stop; a row whose TABs take it past the
// display buffers' first size is drawn right where the view is scrolled to.
TEST_F(SyntaxMemoWindow, TabsExpandToTheirStopsInLongRowsToo) {
  Memo->SetOptions(Memo->GetOptions() & ~SyntaxMemoOptionBit(smoShowGutter));
  SetText("a\tb\r\n\t\t" + String(2043, 'x') + "Q");
  TCapture picture = Capture();
  const COLORREF back = TokenColours(0).second;
  auto ink = [&](const TCapture& p, RECT cell) {
    return CharWidth() * LineHeight() - p.CountPixels(cell, back);
  };
  for (int column : {1, 2, 3})
    EXPECT_EQ(0, ink(picture, Cell(0, column))) << column;
  EXPECT_GT(ink(picture, Cell(0, 4)), 0);
  EXPECT_GT(ink(picture, Cell(0, 0)), 0);
  // The Q stands at column 8 + 2043.
  Memo->Perform(SM_LEFTCOLUMN, 1, 2045);
  const TCapture scrolled = Capture();
  scrolled.SavePng("syntaxmemo_long_tab_row");
  EXPECT_EQ(2045, Model().GetLeftColumn());
  EXPECT_GT(ink(scrolled, Cell(1, 2051)), 0);
  EXPECT_EQ(0, ink(scrolled, Cell(1, 2052)));
}

} // namespace

namespace {

// The flat scroll bars' style is stored without a new window while they are
// off; switching them on makes the window again, where the system has them.
TEST_F(SyntaxMemoWindow, FlatScrollBarsRecreateTheWindowOnlyWhenOn) {
  const HWND before = Wnd();
  Memo->SetFlatScrollBarStyle(fssEncarta);
  EXPECT_EQ(before, Memo->GetHandle());
  Memo->SetFlatScrollBars(true);
  if (!FlatScrollBarsAvailable()) {
    // Without them the switch is not even stored.
    EXPECT_FALSE(Memo->GetFlatScrollBars());
    return;
  }
  EXPECT_EQ(fssEncarta, Memo->GetFlatScrollBarStyle());
  EXPECT_TRUE(Memo->GetFlatScrollBars());
  Memo->HandleNeeded();
  EXPECT_NE(before, Memo->GetHandle());
  SetText("one\r\ntwo");
  EXPECT_EQ("one", Memo->GetLines()->Get(0));
}

} // namespace

namespace {

// Loading a form compiles the parser's script file again when asked to and
// refreshes its editors; a script that is not there keeps the language.
TEST_F(SyntaxMemoWindow, ParserLoadedCompilesItsScriptFile) {
  SetText("select x");
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const String path = String(dir) + "vw_rules.synrule";
  {
    TFileStream file(path, fmCreate);
    file.WriteBuffer(SqlRulesScript, SqlRulesScriptSize);
  }
  Parser->GetSettings().LanguageName.clear();
  Parser->AutoScriptUpdate = true;
  Parser->Script = path + ".missing";
  Parser->Loaded();
  EXPECT_EQ("", Parser->GetSettings().LanguageName);
  Parser->Script = path;
  Parser->Loaded();
  DeleteFileA(path.c_str());
  EXPECT_NE("", Parser->GetSettings().LanguageName);
  // The editor was refreshed with the new language: its text is highlighted.
  PumpFor(50);
  ASSERT_TRUE(Model().GetFirstRow()->Tokens);
  EXPECT_NE(0, Model().GetFirstRow()->Tokens[0]);
}

} // namespace
