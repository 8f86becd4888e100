// Printing the rows spanned by the selection on the application's printer:
// the screen's line renderer on printer pages, with a header and footer,
// line numbers, long rows cut into pieces and page breaks.
#include "SyntaxMemo_render_win.h"

#include "Printers.h"
#include "SysUtils.h"
#include "WinApi.h"

#include <cstdlib>

namespace {

// Today's date and the time now in the locale's short formats.
String PrintDate() {
  char date[80] = {};
  char time[80] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, sizeof time);
  return String(date) + " - " + time;
}

bool StartsLogicalLine(const TRowRecord* row) {
  return !row->Prev || RowEndsWithCR(row->Prev);
}

// The end of a piece of a row without TAB: after the last blank within the
// width and the blanks that follow it, else the width itself.
int PlainPieceEnd(const char* text, int length, int p, int width) {
  if (length - p <= width) return length;
  int k = width - 1;
  while (k >= 0 && text[p + k] != ' ')
    --k;
  if (k < 0) return p + width;
  int end = p + k + 1;
  while (end < length && text[end] == ' ')
    ++end;
  return end;
}

// The end of a piece of a row with TABs: characters while their display
// column stays below the width less a tab step, cut back to the last blank.
int TabPieceEnd(const char* text, int length, int p, int width, TSyntaxMemoModel& model) {
  const int limit = width - model.GetSettings().TabDefault;
  int q = p;
  for (int column = 0; q < length && column < limit; ++q)
    column = text[q] == '\t' ? model.NextTabStop(column) : column + 1;
  int b = q - 1;
  while (b > p && text[b] != ' ')
    --b;
  if (b < p || text[b] != ' ') return q;
  return b < length - 1 ? b + 1 : b;
}

} // namespace

std::vector<std::pair<int, int>> CutPrintPieces(const TRowRecord* row, int width, bool wrap,
                                                TSyntaxMemoModel& model) {
  const int length = row->Length;
  if (!wrap) return {{0, length}};
  const char* text = row->Text.get();
  const bool hasTab = std::find(text, text + length, '\t') != text + length;
  std::vector<std::pair<int, int>> pieces;
  for (int p = 0; p < length && (p == 0 || text[p] != '\r');) {
    const int end = hasTab ? TabPieceEnd(text, length, p, width, model)
                           : PlainPieceEnd(text, length, p, std::max(width, 1));
    // However narrow the page, a piece moves on by a character.
    const int next = std::max(end, p + 1);
    pieces.emplace_back(p, next - p);
    p = next;
  }
  return pieces;
}

// --- The print render ------------------------------------------------------------

void TSyntaxMemoRenderer::PrintedText(const String& text, RECT r, UINT format) {
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &r, format | DT_SINGLELINE | DT_NOPREFIX);
}

void TSyntaxMemoRenderer::PrintRule(int y) {
  TCanvas* canvas = Printer()->GetCanvas();
  canvas->MoveTo(Print->Page.left, y);
  canvas->LineTo(Print->Page.right, y);
}

// The file name, the date and the page number, each in a line of its own
// across the page; the text keeps clear of them.
void TSyntaxMemoRenderer::BuiltInHeaderFooter() {
  const RECT& page = Print->Page;
  Y = page.top;
  const bool name = HasOption(smoPrintFilename);
  const bool date = HasOption(smoPrintDate);
  const bool pageNumber = HasOption(smoPrintPageNos);
  if (!name && !date && !pageNumber) return;
  SetColours(clBlack, clWhite);
  TSelected font(DC, Fonts->StyleFont(0));
  const RECT top{page.left, page.top, page.right, page.top + LineHeight};
  if (name) PrintedText(M.Title, top, DT_LEFT);
  if (date) PrintedText(PrintDate(), top, DT_RIGHT);
  if (name || date) {
    PrintRule(page.top + 2 * LineHeight);
    Y = page.top + 3 * LineHeight;
  }
  if (pageNumber) {
    const int footer = page.bottom - 5 * LineHeight / 2;
    PrintedText(Format("- %d -", Printer()->GetPageNumber()),
                RECT{page.left, footer, page.right, footer + LineHeight}, DT_CENTER);
    PrintRule(page.bottom - 3 * LineHeight);
    TextBottom = page.bottom - 4 * LineHeight;
  }
}

// A page begins: its own context (a device may give each page one), the
// header and footer, and the text's font and background mode.
void TSyntaxMemoRenderer::StartPage() {
  DC = Printer()->GetCanvas()->GetHandle();
  LastText = LastBack = -1;
  Right = Print->Page.right;
  TextBottom = Print->Page.bottom;
  const int charWidth = std::max(1, M.GetMetrics().AveCharWidth);
  const int numbers = HasOption(smoPrintLineNos) ? 10 * charWidth : 0;
  if (E.OnPrintHeaderFooter) {
    TRect r(Print->Page);
    bool transparent = false;
    E.OnPrintHeaderFooter(&E, Printer()->GetCanvas(), r, transparent);
    DC = Printer()->GetCanvas()->GetHandle();
    if (transparent) TextOptions = 0;
    Y = r.top;
    TextBottom = r.bottom;
    Right = r.right;
    TextLeft = r.left + numbers;
  } else {
    BuiltInHeaderFooter();
  }
  SetBkMode(DC, TextOptions & ETO_OPAQUE ? OPAQUE : TRANSPARENT);
  if (!HasOption(smoSyntaxHighlight)) SelectObject(DC, Fonts->StyleFont(0));
}

void TSyntaxMemoRenderer::PrintLineNumber() {
  SetColours(clBlack, clWhite);
  TSelected font(DC, Fonts->StyleFont(0));
  const String text = Format("%6d:", LineNumber);
  const RECT clip{Print->Page.left, Y, TextLeft, Y + LineHeight};
  ExtTextOutA(DC, Print->Page.left, Y, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()),
              nullptr);
}

void TSyntaxMemoRenderer::PrintPiece(TRowRecord* piece) {
  Row = piece;
  X = TextLeft;
  GlyphX = -1;
  BuildLine();
  DrawRowText();
  DrawLineEndGlyph();
  Row = nullptr;
}

bool TSyntaxMemoRenderer::LastSourceRow(const TRowRecord* source) const {
  return !source->Next || (Print->Range && SourceRows + 1 > std::abs(Print->LastLine - Print->FirstLine));
}

// Prints the pieces of one source row, each on a row of its own; a full
// page is followed by the next unless the job ends.
void TSyntaxMemoRenderer::PrintRows(TRowRecord* source, int pieceWidth) {
  const bool wrap = HasOption(smoPrintWrap);
  const auto pieces = CutPrintPieces(source, pieceWidth, wrap, M);
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (Y == 0) StartPage();
    const auto [start, length] = pieces[k];
    std::unique_ptr<TRowRecord, void (*)(TRowRecord*)> piece(NewRowRecord(source->Text.get() + start, length),
                                                             FreeRowRecord);
    if (source->Tokens) {
      piece->Tokens = std::make_unique<uint8_t[]>(static_cast<size_t>(length) + 1);
      std::copy(source->Tokens.get() + start, source->Tokens.get() + start + length, piece->Tokens.get());
    }
    const char* text = piece->Text.get();
    const bool hasTab = std::find(text, text + length, '\t') != text + length;
    piece->Flags = wrap ? rfChanged : rfRepaint;
    if (hasTab) piece->Flags |= rfHasTab;
    if (HasOption(smoPrintLineNos) && k == 0 && StartsLogicalLine(source)) PrintLineNumber();
    PrintPiece(piece.get());
    Y += LineHeight;
    const bool jobEnds = k + 1 == pieces.size() && LastSourceRow(source);
    if (!jobEnds && Y >= TextBottom) {
      Y = 0;
      Printer()->NewPage();
    }
  }
}

void TSyntaxMemoRenderer::RenderPrint(TPrintRequest& request) {
  Print = &request;
  TextOptions = ETO_OPAQUE;
  LineHeight = std::max(1, M.GetLineHeight());
  LeftColumn = 0;
  const int charWidth = std::max(1, M.GetMetrics().AveCharWidth);
  TextLeft = request.Page.left + (HasOption(smoPrintLineNos) ? 10 * charWidth : 0);
  const int pieceWidth = (request.Page.right - TextLeft) / charWidth - 1;
  TRowRecord* source = M.GetFirstRow();
  LineNumber = 1;
  if (request.Range) {
    int rowStart = 0;
    int reached = 0;
    source = M.RowOfLine(request.FirstLine - 1, rowStart, reached);
    LineNumber = M.RowToLine(reached + 1, 1).second;
  }
  Y = request.Y;
  // A range counts its source rows, however many pieces each prints in.
  for (SourceRows = 0; source; source = source->Next, ++SourceRows) {
    PrintRows(source, pieceWidth);
    if (RowEndsWithCR(source)) ++LineNumber;
    if (LastSourceRow(source)) break;
  }
  request.Y = Y;
}

// --- The control's print job ----------------------------------------------------

void TCustomSyntaxMemo::PrintSelection() {
  AttachSettingsFonts();
  TSM_Settings& settings = FModel->GetSettings();
  FPrinting = true;
  settings.PrinterFonts = true;
  TPrinter* printer = Printer();
  try {
    printer->Title = FModel->Title;
    printer->BeginDoc();
  } catch (...) {
    EndPrinting(false);
    throw;
  }
  try {
    FModel->ComputeMetrics();
    settings.RefreshFonts();
    const auto [s, e] = OrderRange({FModel->GetAnchor(), FModel->GetCaret()});
    const int first = FModel->LineFromChar(s);
    const int last = FModel->LineFromChar(e);
    TPrintRequest request;
    request.FirstLine = first + 1;
    request.LastLine = e != FModel->LineIndex(last) ? last + 1 : last;
    request.Page = RECT{0, 0, printer->GetPageWidth(), printer->GetPageHeight()};
    TSyntaxMemoRenderer(*this, printer->GetCanvas()->GetHandle()).RenderPrint(request);
  } catch (...) {
    EndPrinting(true);
    throw;
  }
  EndPrinting(true);
}

// The after-steps of a job, also when it failed: the printer's fonts and
// metrics give way to the screen's and every row is drawn again. A job that
// never started made no printer fonts.
void TCustomSyntaxMemo::EndPrinting(bool jobStarted) {
  TSM_Settings& settings = FModel->GetSettings();
  settings.PrinterFonts = false;
  if (!jobStarted) {
    FPrinting = false;
    return;
  }
  auto screen = [&] {
    FPrinting = false;
    FModel->ComputeMetrics();
    settings.RefreshFonts();
    for (TRowRecord* row = FModel->GetFirstRow(); row; row = row->Next)
      row->Flags |= rfChanged;
    NotifyChange();
    Paint();
  };
  try {
    Printer()->EndDoc();
  } catch (...) {
    screen();
    throw;
  }
  screen();
}
