// Painting the editor: only the rows flagged for it, each built into a
// display line (TABs expanded), cut into runs of one token byte and written
// in its style's font and colours, with the gutter, the margins, the
// selection and the caret.
#include "SyntaxMemo_render_win.h"

#include "SynParse.h"
#include "SyntaxEd_marks.h"
#include "SysUtils.h"
#include "WinApi.h"

#include <algorithm>
#include <vector>

namespace {

constexpr TColor kSilver = 0x00C0C0C0;
constexpr TColor kWhite = 0x00FFFFFF;

TColor SysColorOf(int index) {
  return static_cast<TColor>(GetSysColor(index));
}

// Thousands grouped with the locale's separator, as the ",0" pattern does.
String GroupedNumber(int value) {
  char separator[8] = ",";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
  String digits = IntToStr(value);
  String out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

int HighestBit(unsigned bits) {
  int n = 0;
  while (bits >>= 1)
    ++n;
  return std::min(n, 15);
}

} // namespace

void TSyntaxMemoRenderer::SetColours(TColor text, TColor back) {
  if (text != LastText) SetTextColor(DC, ColorToRGB(LastText = text));
  if (back != LastBack) SetBkColor(DC, ColorToRGB(LastBack = back));
}

void TSyntaxMemoRenderer::StyleColours(uint8_t style, TColor& text, TColor& back) const {
  const TSM_StyleRecord base = S.GetStyle(0);
  const TSM_StyleRecord own = S.GetStyle(style);
  const TColor baseText = base.SysForeground ? SysColorOf(COLOR_WINDOWTEXT) : base.Foreground;
  const TColor baseBack = base.SysBackground ? SysColorOf(COLOR_WINDOW) : base.Background;
  text = own.SysForeground ? baseText : own.Foreground;
  back = own.SysBackground ? baseBack : own.Background;
}

void TSyntaxMemoRenderer::RunColours(uint8_t token, bool selected, TColor& text, TColor& back) const {
  if (MonoPrinting()) {
    text = clBlack;
    back = clWhite;
    return;
  }
  if (Pair.HasPair) {
    text = selected ? Pair.Back : Pair.Text;
    back = selected ? Pair.Text : Pair.Back;
    return;
  }
  if (selected) {
    text = S.SystemColorMarkers[1] ? SysColorOf(COLOR_HIGHLIGHTTEXT) : S.SelTextColor;
    back = S.SystemColorMarkers[2] ? SysColorOf(COLOR_HIGHLIGHT) : S.SelTextBack;
  } else if (!HasOption(smoSyntaxHighlight)) {
    text = S.GetStyle(0).Foreground;
    back = S.GetStyle(0).Background;
  } else if (Row && Row->Paint1 != -1 && !Print) {
    back = Row->Paint1;
    text = Row->Paint2;
  } else {
    StyleColours(S.TokenStyle(token), text, back);
  }
  if (!E.GetEnabled() && E.FDisabledColouring) back = kSilver;
  if (M.ReadOnly && !selected && E.FReadOnlyColouring) {
    back = kWhite;
    text = kSilver;
  }
}

void TSyntaxMemoRenderer::Fill(int from, TColor text, TColor back) {
  if (from >= Right) return;
  SetColours(text, back);
  RECT r{from, Y, Right, Y + LineHeight};
  ExtTextOutA(DC, from, Y, TextOptions, &r, "", 0, nullptr);
  X = Right;
}

void TSyntaxMemoRenderer::DrawRun(int s, int n, bool selected) {
  const uint8_t token = Line.HasTokens ? Line.Tokens[s] : 0;
  TColor text = 0;
  TColor back = 0;
  if (Line.HasTokens) {
    RunColours(token, selected, text, back);
  } else {
    RunColours(0, selected, text, back);
    if (!selected && !Pair.HasPair && !MonoPrinting()) {
      text = S.GetStyle(0).Foreground;
      back = S.GetStyle(0).Background;
    }
  }
  SetColours(text, back);
  HFONT font = HasOption(smoSyntaxHighlight) && Fonts ? Fonts->StyleFont(S.TokenStyle(token)) : nullptr;
  const HGDIOBJ oldFont = font ? SelectObject(DC, font) : nullptr;
  const TEditorFontMetrics& metrics = M.GetMetrics();
  const char* chars = Line.Chars.data() + s;
  int width = 0;
  if (metrics.FixedPitch) {
    width = M.FixedPitchTextWidth(n);
  } else {
    SIZE size{};
    GetTextExtentPoint32A(DC, chars, n, &size);
    TEXTMETRICA tm{};
    GetTextMetricsA(DC, &tm);
    width = size.cx + tm.tmOverhang;
  }
  RECT r{X, Y, X + width, Y + LineHeight};
  if (X + width > Right) {
    r.right = Right;
    const int fit = std::max(1, (Right - X) / std::max(1, metrics.AveCharWidth));
    n = std::min(n, std::max(1, fit * 3 / 2));
  } else if (static_cast<unsigned char>(chars[n - 1]) < 32) {
    --n;
  }
  if (n > 0) {
    // The advances cover the whole run, however wide the window.
    if (metrics.FixedPitch) Advances.assign(static_cast<size_t>(std::max(n, 1)), metrics.AveCharWidth);
    ExtTextOutA(DC, X, Y, TextOptions | ETO_CLIPPED, &r, chars, static_cast<UINT>(n),
                metrics.FixedPitch ? Advances.data() : nullptr);
    DrawAllChars(s, n, X);
    X = r.right;
    GlyphX = X;
  }
  if (oldFont) SelectObject(DC, oldFont);
}

int TSyntaxMemoRenderer::PositionX(int s, int k, int x0) {
  if (M.GetMetrics().FixedPitch) return x0 + k * M.GetMetrics().AveCharWidth;
  SIZE size{};
  GetTextExtentPoint32A(DC, Line.Chars.data() + s, k, &size);
  return x0 + size.cx;
}

// Blanks as dots a little above the row, TABs as the TAB glyph over their
// columns, in the inverse of the background.
void TSyntaxMemoRenderer::DrawAllChars(int s, int n, int x0) {
  if (!HasOption(smoShowAllChars) || !Fonts || Print) return;
  const int oldMode = SetBkMode(DC, TRANSPARENT);
  const COLORREF oldText = SetTextColor(DC, (ColorToRGB(LastBack) ^ 0xFFFFFF) & 0xFFFFFF);
  HBITMAP tabGlyph = Fonts->Glyph(1);
  for (int k = 0; k < n; ++k) {
    const int pos = s + k;
    if (Line.TabMarks[pos] && tabGlyph) {
      int end = k + 1;
      while (end < n && Line.TabMarks[s + end] == 1)
        ++end;
      BITMAP info{};
      GetObjectA(tabGlyph, sizeof info, &info);
      const int left = PositionX(s, k, x0);
      const int x = left + (PositionX(s, end, x0) - left - info.bmWidth) / 2;
      HDC source = CreateCompatibleDC(DC);
      HGDIOBJ old = SelectObject(source, tabGlyph);
      BitBlt(DC, x, Y, info.bmWidth, LineHeight, source, 0, 0, SRCINVERT);
      SelectObject(source, old);
      DeleteDC(source);
      k = end - 1;
    } else if (Line.Chars[pos] == ' ') {
      TextOutA(DC, PositionX(s, k, x0), Y - LineHeight / 4, ".", 1);
    }
  }
  SetTextColor(DC, oldText);
  SetBkMode(DC, oldMode);
}

void TSyntaxMemoRenderer::DrawRange(int from, int to, bool selected) {
  int s = from;
  while (s < to && X < Right) {
    int e = s + 1;
    if (Line.HasTokens)
      while (e < to && Line.Tokens[e] == Line.Tokens[s])
        ++e;
    else
      e = to;
    DrawRun(s, e - s, selected);
    s = e;
  }
}

void TSyntaxMemoRenderer::DrawRowText() {
  TColor text = MonoPrinting() ? clBlack : S.GetStyle(0).Foreground;
  TColor back = MonoPrinting() ? clWhite : S.GetStyle(0).Background;
  if (!E.GetEnabled() && E.FDisabledColouring && !MonoPrinting()) back = kSilver;
  const int lastVisible = DrawLength - 1; // positions LeftColumn .. DrawLength - 2
  int s = Line.SelStart;
  int e = Line.SelEnd;
  const bool touches = SelectionVisible && ((s < 1 && e > 0) || (s >= 0 && s < DrawLength));
  if (!touches) {
    DrawRange(LeftColumn, lastVisible, false);
    return Fill(X, text, back);
  }
  s = std::max(s, 0);
  e = std::min(e, DrawLength);
  DrawRange(LeftColumn, std::min(s, lastVisible), false);
  DrawRange(std::max(LeftColumn, s), std::min(e, lastVisible), true);
  if (e > lastVisible) {
    TColor selText = 0;
    TColor selBack = 0;
    RunColours(0, true, selText, selBack);
    return Fill(X, selText, selBack);
  }
  DrawRange(std::max(LeftColumn, e), lastVisible, false);
  Fill(X, text, back);
}

void TSyntaxMemoRenderer::DrawGutterImage(HDC dc, HBITMAP bitmap, int x) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  const int y = info.bmHeight >= LineHeight ? 0 : (LineHeight - info.bmHeight) / 2;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  const COLORREF transparent = GetPixel(source, 0, info.bmHeight - 1);
  SelectObject(source, old);
  DeleteDC(source);
  DrawTransparentBitmap(dc, x, y, static_cast<TColor>(transparent), bitmap);
}

void TSyntaxMemoRenderer::DrawLineNumber(HDC dc) {
  const String text = (GroupedNumber(LineNumber) + " ").substr(0, 8);
  const int gutter = S.GutterWidth;
  RECT r = LineHeight > 8
               ? RECT{2, (LineHeight - 8) / 2 - 3, gutter - 4, (LineHeight - 8) / 2 - 3 + LineHeight}
               : RECT{2, 0, gutter, LineHeight};
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()) - 1, &r, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
}

void TSyntaxMemoRenderer::DrawGutter() {
  const int gutter = S.GutterWidth;
  const TColor colour = S.SystemColorMarkers[3] ? SysColorOf(COLOR_SCROLLBAR) : S.GutterColor;
  HBRUSH brush = CreateSolidBrush(ColorToRGB(colour));
  RECT cell{0, 0, gutter, LineHeight};
  FillRect(GutterDC, &cell, brush);
  DeleteObject(brush);
  if (gutter > 9) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    TSelected selected(GutterDC, pen);
    MoveToEx(GutterDC, gutter - 1, 0, nullptr);
    LineTo(GutterDC, gutter - 1, LineHeight);
    SelectObject(GutterDC, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
  }
  if (Row) {
    unsigned marks = Row->Marks;
    if (!HasOption(smoShowWrapGlyph)) marks &= ~static_cast<unsigned>(rmContinuation);
    int x = 1;
    if (marks) {
      const int image = HighestBit(marks);
      if (image == 12) {
        DrawGutterImage(GutterDC, E.FWrappedGlyph.get(), x);
      } else {
        DrawGutterImage(GutterDC, E.GutterImage(image), x);
      }
    }
    if (Row->Marks) x += 4;
    if (Pair.HasPair && Pair.Image > 0) {
      DrawGutterImage(GutterDC, E.GutterImage(Pair.Image - 1), x);
    }
    if (Row->GutterImages) {
      DrawGutterImage(GutterDC, E.GutterImage(HighestBit(Row->GutterImages)), 17);
    }
    const bool startsLine = !Row->Prev || Row->Prev->Text[Row->Prev->Length - 1] == '\r';
    if (HasOption(smoLineNumbers) && !Row->Marks && !Row->GutterImages && startsLine)
      DrawLineNumber(GutterDC);
  }
  BitBlt(DC, 0, Y, gutter, LineHeight, GutterDC, 0, 0, SRCCOPY);
}

void TSyntaxMemoRenderer::DrawMarginLines() {
  const int width = std::max(1, M.GetMetrics().AveCharWidth);
  auto line = [&](int column, HPEN pen) {
    if (column <= LeftColumn || column - LeftColumn > M.GetVisibleColumns()) return;
    const int x = TextLeft + (column - LeftColumn) * width;
    TSelected selected(DC, pen);
    MoveToEx(DC, x, Y, nullptr);
    LineTo(DC, x, Y + LineHeight);
  };
  if (HasOption(smoShowRMargin)) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(kSilver));
    line(S.RightMargin, pen);
    DeleteObject(pen);
  }
  if (HasOption(smoWordWrap) && HasOption(smoShowWrapColumn) && S.WordWrapColumn >= 1) {
    HPEN pen = CreatePen(PS_DOT, 1, ColorToRGB(kSilver));
    const int oldMode = SetBkMode(DC, TRANSPARENT);
    line(S.WordWrapColumn, pen);
    SetBkMode(DC, oldMode);
    DeleteObject(pen);
  }
}

void TSyntaxMemoRenderer::DrawLineEndGlyph() {
  if (!HasOption(smoShowAllChars) || !Fonts) return;
  if (GlyphX < 0) GlyphX = LeftColumn == 0 ? TextLeft : -1;
  if (GlyphX < 0 || GlyphX >= Right) return;
  const bool endsLine = Row->Text[Row->Length - 1] == '\r';
  HBITMAP glyph = endsLine ? Fonts->Glyph(0) : (HasOption(smoWordWrap) ? Fonts->Glyph(2) : nullptr);
  if (!glyph) return;
  BITMAP info{};
  GetObjectA(glyph, sizeof info, &info);
  HDC source = CreateCompatibleDC(DC);
  HGDIOBJ old = SelectObject(source, glyph);
  BitBlt(DC, GlyphX, Y, info.bmWidth, LineHeight, source, 0, 0, SRCINVERT);
  SelectObject(source, old);
  DeleteDC(source);
}

int TSyntaxMemoRenderer::IndexX(int index) {
  const int column = Row->Flags & rfHasTab ? M.IndexToColumn(index, Row) : index;
  return TextLeft + (column - LeftColumn) * std::max(1, M.GetMetrics().AveCharWidth);
}

// The marked ranges over the row, underlined by the event or the default
// zigzag.
void TSyntaxMemoRenderer::DrawMarks(TTextStore& store) {
  const TObjectList* marks = store.GetMarkList();
  if (!marks) return;
  const int rowEnd = RowStart + Row->Length;
  const int textEnd = Row->Length - (Row->Text[Row->Length - 1] == '\r' ? 1 : 0);
  for (TMark* mark = marks->GetFirst(); mark && mark->Start < rowEnd; mark = mark->Next) {
    if (mark->End <= RowStart) continue;
    const int startIndex = mark->Start - RowStart;
    const bool startsInside = startIndex > 0 && startIndex < Row->Length;
    RECT r{TextLeft, Y, 0, Y + LineHeight - 1};
    if (startsInside && IndexX(startIndex) > TextLeft) r.left = IndexX(startIndex);
    r.right = mark->End < rowEnd ? IndexX(mark->End - RowStart) : IndexX(textEnd);
    if (E.OnDrawMark)
      E.OnDrawMark(&E, DC, &r, static_cast<int>(mark->Value));
    else
      E.DrawMarkUnderline(DC, r);
  }
}

void TSyntaxMemoRenderer::RowAttributes() {
  Pair = TRowColours{};
  if (!Row) return;
  int image = 0;
  TColor text = 0;
  TColor back = 0;
  if (M.GetCodeBreak().GetRowAttributes(RowStart, image, text, back) ||
      M.GetBreakpoints().GetRowAttributes(RowStart, image, text, back))
    Pair = TRowColours{true, text, back, image};
}

void TSyntaxMemoRenderer::BuildLine() {
  Line.Build(Row, Selection, RowStart, M);
  DrawLength = Line.Length;
  const char last = Line.Length > 0 ? Line.Chars[Line.Length - 1] : '\r';
  if (last != '\r' && last != ' ') ++DrawLength;
}

void TSyntaxMemoRenderer::DrawRow(TTextStore& store) {
  BuildLine();
  if (Line.Length > store.GetLongestRow()) store.SetLongestRow(Line.Length);
  TLineDrawData data;
  data.Text = Line.Chars.data();
  data.DC = DC;
  data.Rect = RECT{TextLeft, Y, Right, Y + LineHeight};
  data.RowStart = RowStart;
  data.LeftColumn = LeftColumn;
  data.DrawLength = DrawLength;
  if (E.OnDrawLine) E.OnDrawLine(&E, &data);
  if (!data.Result) {
    DrawRowText();
    DrawLineEndGlyph();
    DrawMarks(store);
  }
  DrawMarginLines();
}

void TSyntaxMemoRenderer::Render() {
  if (E.FFirstRender) {
    E.FFirstRender = false;
    M.ComputeMetrics();
    M.MetricsDirty = true;
  }
  M.EnsureTopRow();
  TTextStore& store = M.GetStore();
  if (M.MetricsDirty) {
    store.MarkRowsRepaint(M.GetVisibleRows() + 3);
    M.MetricsDirty = false;
  }
  LineHeight = std::max(1, M.GetLineHeight());
  Row = store.GetTopRow();
  RowStart = M.GetTopRowOffset();
  if (HasOption(smoWordWrap)) {
    LineNumber = 1;
    for (TRowRecord* r = store.GetFirstRow(); r && r != Row; r = r->Next)
      if (r->Text[r->Length - 1] == '\r') ++LineNumber;
  } else {
    LineNumber = M.GetTopLine() + 1;
  }
  LeftColumn = M.GetLeftColumn();
  TextLeft = M.TextLeftEdge();
  Right = E.UsableClientWidth();
  Bottom = E.UsableClientHeight();
  const bool gutter = HasOption(smoShowGutter) && S.GutterWidth > 0;
  GutterDC = CreateCompatibleDC(DC);
  GutterBitmap = CreateCompatibleBitmap(DC, std::max(1, S.GutterWidth), LineHeight);
  HGDIOBJ oldGutterBitmap = SelectObject(GutterDC, GutterBitmap);
  HGDIOBJ oldGutterFont = nullptr;
  if (Fonts) {
    TFont& gutterFont = Fonts->GutterFont(S);
    oldGutterFont = SelectObject(GutterDC, gutterFont.GetHandle());
    SetTextColor(GutterDC, ColorToRGB(gutterFont.GetColor()));
  }
  const TColor marginColour =
      S.SystemColorMarkers[0]
          ? (S.GetStyle(0).SysBackground ? SysColorOf(COLOR_WINDOW) : S.GetStyle(0).Background)
          : S.MarginColor;
  HBRUSH marginBrush = CreateSolidBrush(ColorToRGB(marginColour));
  Selection = OrderRange({M.GetAnchor(), M.GetCaret()});
  SelectionVisible = Selection.first != Selection.second && (E.TWinControl::Focused() || !E.HideSelection);
  HFONT baseFont = Fonts ? Fonts->StyleFont(0) : nullptr;
  const HGDIOBJ oldFont = SelectObject(DC, baseFont ? baseFont : E.GetFont()->GetHandle());
  const int oldBkMode = SetBkMode(DC, OPAQUE);
  // Whatever happens, the context gets its objects back and ours go.
  TOnExit release([&] {
    SetBkMode(DC, oldBkMode);
    SelectObject(DC, oldFont);
    if (oldGutterFont) SelectObject(GutterDC, oldGutterFont);
    SelectObject(GutterDC, oldGutterBitmap);
    DeleteObject(GutterBitmap);
    DeleteDC(GutterDC);
    DeleteObject(marginBrush);
  });
  for (Y = 0; Y < Bottom; Y += LineHeight) {
    X = TextLeft;
    GlyphX = -1;
    RowAttributes();
    if (gutter && (!Row || (Row->Flags & (rfRepaint | rfChanged)))) DrawGutter();
    if (S.MarginWidth > 0) {
      RECT r{TextLeft - S.MarginWidth, Y, TextLeft, Y + LineHeight};
      FillRect(DC, &r, marginBrush);
    }
    if (!Row) {
      TColor back = S.GetStyle(0).Background;
      if (!E.GetEnabled() && E.FDisabledColouring) back = kSilver;
      Fill(TextLeft, S.GetStyle(0).Foreground, back);
      DrawMarginLines();
      continue;
    }
    if ((Row->Flags & (rfRepaint | rfChanged)) || M.GetRowCount() == 1) DrawRow(store);
    RowStart += Row->Length;
    Row->Flags &= ~(rfRepaint | rfChanged | rfForceScan);
    if (Row->Text[Row->Length - 1] == '\r') ++LineNumber;
    Row = Row->Next;
  }
}

// --- The control's painting ----------------------------------------------------

void TCustomSyntaxMemo::AttachSettingsFonts() {
  TSM_Settings& settings = FModel->GetSettings();
  if (FAttachedSettings == &settings) return;
  if (FAttachedSettings) FAttachedSettings->DetachEditor(this);
  FAttachedSettings = &settings;
  settings.AttachEditor(this);
}

void TCustomSyntaxMemo::RenderOn(HDC dc) {
  AttachSettingsFonts();
  if (Focused()) DestroyCaret();
  TSyntaxMemoRenderer(*this, dc).Render();
  if (FModel->ShowFocusLine) DrawFocusLines(dc);
  PlaceCaret(dc);
}

void TCustomSyntaxMemo::DrawMarkUnderline(HDC dc, RECT rect) {
  const int right = UsableClientWidth();
  if (rect.left < 0 || rect.left > right) return;
  rect.right = std::min<LONG>(rect.right, right);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, rect.left, rect.bottom, nullptr);
  bool up = true;
  for (int x = rect.left + 3; x < rect.right; x += 3, up = !up)
    LineTo(dc, x, up ? rect.bottom - 2 : rect.bottom);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void TCustomSyntaxMemo::DrawFocusLines(HDC dc) {
  const TEdPoint p = FModel->PositionToPoint(FModel->GetCaret());
  if (p.Y < 0 || p.Y > UsableClientHeight()) return;
  const TSM_StyleRecord base = FModel->GetSettings().GetStyle(0);
  const TColor back = base.SysBackground ? static_cast<TColor>(GetSysColor(COLOR_WINDOW)) : base.Background;
  HPEN pen = CreatePen(PS_SOLID, 1, (ColorToRGB(back) ^ 0xFFFFFF) & 0xFFFFFF);
  HGDIOBJ old = SelectObject(dc, pen);
  const int right = UsableClientWidth();
  for (int y : {p.Y, p.Y + GetLineHeight() - 1}) {
    MoveToEx(dc, TextLeftEdge(), y, nullptr);
    LineTo(dc, right, y);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void TCustomSyntaxMemo::PlaceCaret(HDC dc) {
  if (!Focused()) return;
  TEdPoint p = FModel->PositionToPoint(FModel->GetCaret());
  const TEditorFontMetrics& metrics = FModel->GetMetrics();
  if (FModel->GetCaretBeyondEOL())
    p.X = TextLeftEdge() + (FModel->GetCaretColumn() - FModel->GetLeftColumn()) * metrics.AveCharWidth;
  if (p.Y < 0 || p.Y > UsableClientHeight() || p.X < TextLeftEdge() || p.X > UsableClientWidth()) return;
  int width = 2;
  if (!FModel->InsertMode && FModel->HasOption(smoBlockOverwriteCursor)) {
    width = metrics.AveCharWidth;
    int start = 0;
    TRowRecord* row = FModel->RowAt(FModel->GetCaret(), start);
    const int index = FModel->GetCaret() - start;
    if (row && !FModel->GetCaretBeyondEOL() && index < row->Length) {
      SIZE size{};
      GetTextExtentPoint32A(dc, &row->Text[index], 1, &size);
      width = size.cx;
    }
  }
  CreateCaret(FHandle, nullptr, width, GetLineHeight());
  SetCaretPos(p.X, p.Y);
  ShowCaret(FHandle);
}

void TCustomSyntaxMemo::PaintOnce(HDC dc) {
  FPainting = true;
  TOnExit done([this] { FPainting = false; });
  RenderOn(dc);
}

void TCustomSyntaxMemo::PaintWindow(HDC DC) {
  if (!CanPaint()) return;
  PaintOnce(DC);
  UpdateScrollBars();
}

void TCustomSyntaxMemo::Paint() {
  if (!CanPaint() || FPainting) return;
  // Outside a paint message the window's own context is taken, not one
  // that BeginPaint would validate.
  HDC dc = GetDC(FHandle);
  {
    TOnExit release([&] { ReleaseDC(FHandle, dc); });
    PaintOnce(dc);
  }
  UpdateScrollBars();
}
