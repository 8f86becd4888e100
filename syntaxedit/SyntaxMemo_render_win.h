// The line renderer shared by painting and printing: one display line at a
// time, cut into runs of one token byte, in its style's font and colours.
#pragma once

#include "SyntaxMemo.h"

#include <algorithm>
#include <vector>

// One row as it is shown: TABs expanded into blanks, with the maps between
// character indexes and display columns. The buffers only grow.
struct TDisplayLine {
  static constexpr int kGrowStep = 2048;
  std::vector<char> Chars;
  std::vector<uint8_t> Tokens;
  std::vector<int> CharToColumn;
  // Per position: 2 where a TAB starts, 1 over the rest of its blanks.
  std::vector<uint8_t> TabMarks;
  bool HasTokens = false;
  int Length = 0;
  int SelStart = 0;
  int SelEnd = 0;

  void Reserve(int positions) {
    if (static_cast<int>(Chars.size()) > positions) return;
    const size_t size = (static_cast<size_t>(positions) / kGrowStep + 1) * kGrowStep + 1;
    Chars.resize(size);
    Tokens.resize(size);
    CharToColumn.resize(size);
    TabMarks.resize(size);
  }

  void Build(const TRowRecord* row, std::pair<int, int> selection, int start, TSyntaxMemoModel& model) {
    SelStart = selection.first - start;
    SelEnd = selection.second - start;
    Length = 0;
    HasTokens = row && row->Tokens;
    if (!row) return;
    const int n = row->Length;
    if (!(row->Flags & rfHasTab)) {
      Reserve(n);
      std::copy(row->Text.get(), row->Text.get() + n, Chars.begin());
      std::fill(TabMarks.begin(), TabMarks.begin() + n, 0);
      if (HasTokens) std::copy(row->Tokens.get(), row->Tokens.get() + n, Tokens.begin());
      for (int i = 0; i <= n; ++i)
        CharToColumn[i] = i;
      Length = n;
      return;
    }
    int c = 0;
    for (int i = 0; i < n; ++i) {
      Reserve(c + 1);
      CharToColumn[i] = c;
      const uint8_t token = HasTokens ? row->Tokens[i] : 0;
      if (row->Text[i] != '\t') {
        Chars[c] = row->Text[i];
        TabMarks[c] = 0;
        Tokens[c++] = token;
        continue;
      }
      const int end = std::max(model.NextTabStop(c), c + 1);
      Reserve(end);
      for (int k = c; k < end; ++k) {
        Chars[k] = ' ';
        Tokens[k] = token;
        TabMarks[k] = k == c ? 2 : 1;
        if (k == c) continue;
        if (SelStart >= k) ++SelStart;
        if (SelEnd >= k) ++SelEnd;
      }
      c = end;
    }
    Reserve(c);
    CharToColumn[n] = c;
    Length = c;
  }
};

// Runs a step when the scope ends, also by an exception.
template <typename F> class TOnExit {
public:
  explicit TOnExit(F step) : FStep(std::move(step)) {}
  ~TOnExit() { FStep(); }
  TOnExit(const TOnExit&) = delete;
  TOnExit& operator=(const TOnExit&) = delete;

private:
  F FStep;
};

// Selects a GDI object for the life of the scope.
class TSelected {
public:
  TSelected(HDC dc, HGDIOBJ object) : FDC(dc), FOld(SelectObject(dc, object)) {}
  ~TSelected() { SelectObject(FDC, FOld); }
  TSelected(const TSelected&) = delete;
  TSelected& operator=(const TSelected&) = delete;

private:
  HDC FDC;
  HGDIOBJ FOld;
};

// A print render: the page in printer pixels, the 1-based range of rows,
// and the y where drawing goes on (below the last row at the end).
struct TPrintRequest {
  RECT Page{};
  bool Range = true;
  int FirstLine = 1;
  int LastLine = 1;
  int Y = 0;
  int PageCounter = 1;
};

// One render of the visible rows onto a device context, or of a range of
// rows onto the printer's pages.
class TSyntaxMemoRenderer {
public:
  TSyntaxMemoRenderer(TCustomSyntaxMemo& editor, HDC dc)
      : E(editor), M(*editor.FModel), S(M.GetSettings()), DC(dc), Fonts(WinFonts(S)) {}
  void Render();
  void RenderPrint(TPrintRequest& request);

private:
  struct TRowColours {
    bool HasPair = false;
    TColor Text = 0;
    TColor Back = 0;
    int Image = 0;
  };

  bool HasOption(TSyntaxMemoOption option) const { return M.HasOption(option); }
  void SetColours(TColor text, TColor back);
  void StyleColours(uint8_t style, TColor& text, TColor& back) const;
  void RunColours(uint8_t token, bool selected, TColor& text, TColor& back) const;
  void Fill(int from, TColor text, TColor back);
  void DrawRun(int s, int n, bool selected);
  void DrawAllChars(int s, int n, int x0);
  int PositionX(int s, int k, int x0);
  void DrawRange(int from, int to, bool selected);
  void DrawRowText();
  void DrawGutter();
  void DrawGutterImage(HDC dc, HBITMAP bitmap, int x);
  void DrawLineNumber(HDC dc);
  void DrawMarginLines();
  void DrawLineEndGlyph();
  void DrawMarks(TTextStore& store);
  // The current row's display line and its drawable length.
  void BuildLine();
  void DrawRow(TTextStore& store);
  int IndexX(int index);
  void RowAttributes();
  bool MonoPrinting() const { return Print && E.MonoPrint; }
  // Printing.
  void StartPage();
  void BuiltInHeaderFooter();
  void PrintedText(const String& text, RECT r, UINT format);
  void PrintRule(int y);
  void PrintLineNumber();
  void PrintRows(TRowRecord* source, int pieceWidth);
  void PrintPiece(TRowRecord* piece);
  bool LastSourceRow(const TRowRecord* source) const;

  TCustomSyntaxMemo& E;
  TSyntaxMemoModel& M;
  TSM_Settings& S;
  HDC DC;
  TSM_WinFonts* Fonts;
  TDisplayLine Line;
  TRowRecord* Row = nullptr;
  int RowStart = 0;
  int LineNumber = 1;
  int X = 0;
  int Y = 0;
  int Right = 0;
  int Bottom = 0;
  int TextLeft = 0;
  int LeftColumn = 0;
  int LineHeight = 16;
  int DrawLength = 0;
  int GlyphX = -1;
  TColor LastText = -1;
  TColor LastBack = -1;
  TRowColours Pair;
  std::pair<int, int> Selection{0, 0};
  bool SelectionVisible = false;
  HDC GutterDC = nullptr;
  HBITMAP GutterBitmap = nullptr;
  std::vector<INT> Advances;
  // Printing: the request, the text options (no ETO_OPAQUE for transparent
  // text), the bottom limit of the page's text and the source rows printed.
  TPrintRequest* Print = nullptr;
  UINT TextOptions = ETO_OPAQUE;
  int TextBottom = 0;
  int SourceRows = 0;
};

// The pieces (start, length) a source row is printed in: the whole row, or
// with print wrap pieces of at most width characters broken after blanks.
// Every piece takes at least one character.
std::vector<std::pair<int, int>> CutPrintPieces(const TRowRecord* row, int width, bool wrap,
                                                TSyntaxMemoModel& model);
