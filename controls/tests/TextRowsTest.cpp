// Text rows: breaking, placing and drawing with widths measured at run time
// in the font the editors use.
#include "cxEditTextUtils.h"

#include "DrawTest.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A memory surface with Tahoma selected.
class TextRowsTest : public testing::Test {
protected:
  TextRowsTest() : FSurface(300, 200) {
    FFont = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
    FOldFont = SelectObject(DC(), FFont);
    SetTextColor(DC(), RGB(0, 0, 0));
  }
  ~TextRowsTest() override {
    SelectObject(DC(), FOldFont);
    DeleteObject(FFont);
  }
  HDC DC() { return FSurface.DC(); }
  int Width(const char* Text, int Count = -1) {
    SIZE size{};
    GetTextExtentPoint32A(DC(), Text, Count < 0 ? static_cast<int>(std::strlen(Text)) : Count, &size);
    return size.cx;
  }
  TcxTextLayoutParams Params(int Flags) {
    TcxTextLayoutParams params;
    PrepareTextParams(DC(), Flags, params);
    return params;
  }
  int Build(const char* Text, const TRect& R, int Flags, int MaxRows = 0, bool* Fits = nullptr) {
    FParams = Params(Flags);
    int count = 0;
    const bool fits = BuildTextRows(DC(), Text, R, FParams, FRows, count, MaxRows);
    if (Fits) *Fits = fits;
    EXPECT_EQ(count, static_cast<int>(FRows.size())) << "the array is trimmed to the rows";
    return count;
  }
  String RowText(int I) const { return String(FRows[I].Text, FRows[I].TextLength); }

  TDrawSurface FSurface;
  HFONT FFont;
  HGDIOBJ FOldFont;
  TcxTextLayoutParams FParams;
  TcxTextRows FRows;
};

TEST_F(TextRowsTest, ParamsComeFromTheFontAndTheFlags) {
  TEXTMETRICA tm{};
  GetTextMetricsA(DC(), &tm);
  const TcxTextLayoutParams plain = Params(trhRight | trvBottom);
  EXPECT_EQ(tm.tmHeight, plain.TextHeight);
  EXPECT_EQ(tm.tmHeight, plain.RowHeight);
  EXPECT_EQ(0, plain.EllipsisWidth);
  EXPECT_EQ(2, plain.HorzAlignment);
  EXPECT_EQ(2, plain.VertAlignment);
  EXPECT_EQ(static_cast<char>(tm.tmBreakChar), plain.BreakChar);
  const TcxTextLayoutParams full = Params(trEndEllipsis | trExternalLeading | trCharBreak | trWordBreak);
  EXPECT_EQ(Width("..."), full.EllipsisWidth);
  EXPECT_EQ(tm.tmHeight + tm.tmExternalLeading, full.RowHeight);
  EXPECT_TRUE(full.CharBreak);
  EXPECT_TRUE(full.WordBreak);
}

TEST_F(TextRowsTest, LongWordsBreakOnlyWithCharacterBreaking) {
  const char* word = "Extraordinarily";
  const int width = Width("Extraord");
  ASSERT_EQ(1, Build(word, TRect(0, 0, width, 100), trWordBreak));
  EXPECT_EQ(word, RowText(0));
  EXPECT_GT(FRows[0].Width, width) << "the word overflows";

  const int rows = Build(word, TRect(0, 0, width, 100), trWordBreak | trCharBreak);
  ASSERT_GT(rows, 1);
  EXPECT_EQ("Extraord", RowText(0)) << "broken before the character that does not fit";
  for (int i = 0; i < rows; ++i)
    EXPECT_LE(FRows[i].Width, width);
}

TEST_F(TextRowsTest, RowsEndAtBreaksAndLineBreaks) {
  const struct {
    const char* name;
    const char* text;
    int flags;
    std::vector<String> rows;
    std::vector<int> offsets;
  } cases[] = {
      {"CR LF pair skipped", "ab\r\ncd", trWordBreak, {"ab", "cd"}, {0, 4}},
      {"without word break only line breaks end rows",
       "ab cd ef gh ij kl mn\nop",
       0,
       {"ab cd ef gh ij kl mn", "op"},
       {0, 21}},
      {"single line keeps line breaks as characters", "ab\r\ncd", trSingleLine, {"ab\r\ncd"}, {0}},
      {"trailing spaces skipped before the next row",
       "aaaa    bbbbbbbbbbbbbbbbbb",
       trWordBreak,
       {"aaaa    ", "bbbbbbbbbbbbbbbbbb"},
       {0, 8}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int rows = Build(c.text, TRect(0, 0, Width("aaaa bb"), 300), c.flags);
    ASSERT_EQ(static_cast<int>(c.rows.size()), rows);
    for (int i = 0; i < rows; ++i) {
      EXPECT_EQ(c.rows[i], RowText(i));
      EXPECT_EQ(c.offsets[i], FRows[i].StartOffset);
    }
  }
}

TEST_F(TextRowsTest, JustifiedRowsLeaveParagraphEndsUnstretched) {
  const char* text = "aa bb cc dd\r\naa bb cc d";
  const TRect r(0, 0, Width("aa bb cc") - 1, 300);
  const struct {
    int alignment;
    std::vector<int> stretched; // 1: the row has break characters to spread
  } cases[] = {{trhJustify, {1, 0, 1, 0}}, {trhDistribute, {1, 1, 1, 1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.alignment);
    const int rows = Build(text, r, c.alignment);
    ASSERT_EQ(4, rows);
    EXPECT_EQ("aa bb", RowText(0)) << "trailing break removed";
    EXPECT_EQ("cc dd", RowText(1));
    EXPECT_EQ("aa bb", RowText(2));
    EXPECT_EQ("cc d", RowText(3));
    for (int i = 0; i < rows; ++i)
      EXPECT_EQ(c.stretched[i], FRows[i].BreakCount > 0 ? 1 : 0) << "row " << i;
  }
}

TEST_F(TextRowsTest, TopAlignedTextMakesRowsUntilTheBottomIsCrossed) {
  const char* text = "one two three four five six seven eight nine ten";
  const int rowHeight = Params(0).RowHeight;
  const int width = Width("three four");
  const struct {
    const char* name;
    int height, flags, rows;
  } cases[] = {
      {"exactly three rows high", 3 * rowHeight, trWordBreak, 4},
      {"exactly three rows high, whole rows", 3 * rowHeight, trWordBreak | trWholeRowsOnly, 3},
      {"three and a half rows high", 3 * rowHeight + rowHeight / 2, trWordBreak, 4},
      {"three and a half rows high, whole rows", 3 * rowHeight + rowHeight / 2, trWordBreak | trWholeRowsOnly,
       3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.rows, Build(text, TRect(0, 0, width, c.height), c.flags));
  }
}

TEST_F(TextRowsTest, FalseOnlyForMultiLineTextCutAtTheRowLimit) {
  const char* text = "one two one two one two";
  const TRect r(0, 0, Width("one two"), 300);
  const struct {
    const char* name;
    int flags, maxRows;
    bool fits;
    int rows;
  } cases[] = {
      {"no limit", trWordBreak, 0, true, 3},
      {"limit hit with text left", trWordBreak | trvCenter, 2, false, 2},
      {"limit equal to the rows needed", trWordBreak | trvCenter, 3, true, 3},
      {"single line", trSingleLine, 1, true, 1},
      {"no height limit", trWordBreak | trNoHeightLimit, 2, true, 2},
      {"no height limit, single line: one unbroken row", trSingleLine | trNoHeightLimit, 1, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool fits = false;
    EXPECT_EQ(c.rows, Build(text, r, c.flags, c.maxRows, &fits));
    EXPECT_EQ(c.fits, fits);
  }
  EXPECT_EQ(Width(text), FRows[0].Width);
  int count = 5;
  EXPECT_TRUE(BuildTextRows(DC(), nullptr, r, FParams, FRows, count, 1));
  EXPECT_EQ(0, count);
}

TEST_F(TextRowsTest, RowsArePlacedByAlignment) {
  const char* text = "ab\r\nabcdef\r\nabcd";
  const TRect r(10, 20, 210, 120);
  const int rowHeight = Params(0).RowHeight;
  const int widths[] = {Width("ab"), Width("abcdef"), Width("abcd")};
  const struct {
    const char* name;
    int flags;
    int x[3];
    int firstY;
  } cases[] = {
      {"left top", 0, {10, 10, 10}, 20},
      {"centre",
       trhCenter | trvCenter,
       {10 + (200 - widths[0]) / 2, 10 + (200 - widths[1]) / 2, 10 + (200 - widths[2]) / 2},
       20 + (100 - 3 * rowHeight) / 2},
      {"right bottom",
       trhRight | trvBottom,
       {210 - widths[0], 210 - widths[1], 210 - widths[2]},
       120 - 3 * rowHeight},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(3, Build(text, r, c.flags));
    PlaceTextRows(DC(), r, FParams, FRows, 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(c.x[i], FRows[i].X);
      EXPECT_EQ(c.firstY + i * rowHeight, FRows[i].Y);
    }
  }
}

TEST_F(TextRowsTest, DistributedRowsSpreadOverTheHeightWithSparePixels) {
  const TRect r(0, 0, 200, 101);
  ASSERT_EQ(3, Build("a\r\nb\r\nc", r, trvDistribute));
  const int textHeight = FParams.TextHeight;
  PlaceTextRows(DC(), r, FParams, FRows, 3);
  const int gap = 101 - textHeight;
  EXPECT_EQ(gap / 2, FParams.RowHeight);
  EXPECT_EQ(0, FRows[0].Y);
  EXPECT_EQ(gap / 2 + (gap % 2 > 0 ? 1 : 0), FRows[1].Y);
  EXPECT_EQ(101 - textHeight, FRows[2].Y) << "the last row ends at the bottom";
}

TEST_F(TextRowsTest, MaxRowWidthAndAreaAndClipRegion) {
  Build("ab\r\nabcdef\r\nabcd", TRect(0, 0, 200, 100), 0);
  EXPECT_EQ(Width("abcdef"), GetMaxTextRowWidth(FRows, 3));
  EXPECT_EQ(Width("ab"), GetMaxTextRowWidth(FRows, 1));
  EXPECT_EQ(Width("abcdef"), GetMaxTextRowWidth(FRows, 10)) << "at most the array's length";
  EXPECT_EQ(0, GetMaxTextRowWidth(FRows, 0));
  TRect area;
  GetTextRowsArea(TRect(10, 10, 100, 50), TRect(), 3, 4, area);
  EXPECT_EQ(TRect(13, 10, 96, 50), area);

  HRGN saved = IntersectClipRectSaving(DC(), TRect(0, 0, 50, 50));
  EXPECT_EQ(nullptr, saved) << "no clipping before";
  RECT box{};
  EXPECT_EQ(SIMPLEREGION, GetClipBox(DC(), &box));
  EXPECT_EQ(TRect(0, 0, 50, 50), TRect(box));
  RestoreClipRegion(DC(), saved);
  GetClipBox(DC(), &box);
  EXPECT_EQ(TRect(0, 0, 300, 200), TRect(box)) << "clipping removed";
}

// Draws the rows of Text in R on a white surface.
class TextRowsDrawTest : public TextRowsTest {
protected:
  void Draw(const char* Text, const TRect& R, int Flags, int SelStart = 0, int SelLength = 0,
            bool ForceEllipsis = false) {
    const int count = Build(Text, R, Flags);
    PlaceTextRows(DC(), R, FParams, FRows, count);
    DrawTextRows(DC(), R, FParams, FRows, count, SelStart, SelLength, clNavy, clYellow, ForceEllipsis);
  }
  int Black(const TRect& R) { return FSurface.Count(R, clBlack); }
};

TEST_F(TextRowsDrawTest, SelectionIsFilledAndDrawnInSelectionColours) {
  const TRect r(10, 10, 290, 40);
  Draw("abcdefgh", r, 0, 2, 3);
  FSurface.SavePng("textrows_selection");
  const TRect sel = FSurface.BoundsOf(clNavy);
  EXPECT_EQ(10 + Width("ab"), sel.left);
  EXPECT_EQ(Width("cde"), sel.Width());
  EXPECT_EQ(FParams.RowHeight, sel.Height());
  EXPECT_GT(FSurface.Count(sel, clYellow), 0) << "selected text in the selection text colour";
  EXPECT_GT(Black(TRect(10, 10, sel.left, 40)), 0) << "unselected text stays black";
}

TEST_F(TextRowsDrawTest, EllipsisEndsACutLastRow) {
  const char* text = "abcdefghijklmnopqrstuvwxyz";
  const TRect r(10, 10, 10 + Width("abcdefgh"), 40);
  Draw(text, r, trSingleLine | trEndEllipsis);
  FSurface.SavePng("textrows_ellipsis");
  EXPECT_EQ(0, Black(TRect(r.right, 0, 300, 200))) << "nothing past the right edge";
  int fit = 0;
  SIZE size{};
  GetTextExtentExPointA(DC(), text, 26, r.Width() - Width("..."), &fit, nullptr, &size);
  const int cut = Width(text, fit);
  const TRect dots(10 + cut, 10, r.right, 40);
  EXPECT_GT(Black(dots), 0) << "the dots after the cut text";
}

TEST_F(TextRowsDrawTest, EmptyLastRowShowsTheEllipsisOnlyWhenForced) {
  const char* text = "abc\r\n\r\n";
  for (bool force : {false, true}) {
    SCOPED_TRACE(force);
    FSurface.Canvas()->FillRect(TRect(0, 0, 300, 200), clWhite);
    Draw(text, TRect(10, 10, 200, 100), trEndEllipsis, 0, 0, force);
    ASSERT_EQ(2, static_cast<int>(FRows.size()));
    EXPECT_EQ(0, FRows[1].TextLength);
    const TRect second(10, FRows[1].Y, 10 + Width("..."), FRows[1].Y + FParams.RowHeight);
    EXPECT_EQ(force, Black(second) > 0);
  }
}

TEST_F(TextRowsDrawTest, PartlyVisibleRowsAreClippedUnlessNoClip) {
  const char* text = "abc abc abc abc abc abc";
  const int rowHeight = Params(0).RowHeight;
  const TRect r(10, 10, 10 + Width("abc abc"), 10 + rowHeight + rowHeight / 2);
  for (bool noClip : {false, true}) {
    SCOPED_TRACE(noClip);
    FSurface.Canvas()->FillRect(TRect(0, 0, 300, 200), clWhite);
    Draw(text, r, trWordBreak | (noClip ? trNoClip : 0));
    EXPECT_EQ(noClip, Black(TRect(0, r.bottom, 300, 200)) > 0);
  }
}

} // namespace
