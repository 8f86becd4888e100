// Printing the selection, read back from the pages the printer object's
// recording device keeps (each an enhanced metafile measuring as the test
// printer: Letter at 300 dpi): which lines print, line numbers, header,
// footer and text area, pieces of long lines, colours on paper, the header
// and footer event, page breaks through the real spooler, and the editor
// painting as before once a job is done.
#include "EditorWindowFixture.h"
#include "RecordingPrinter.h"
#include "SyntaxMemo_render_win.h"

#include "Printers.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

using guitest::TTextRecord;

String Lines(int first, int last) {
  String text;
  for (int n = first; n <= last; ++n)
    text += "line " + IntToStr(n) + "\r\n";
  return text;
}

bool IsLineNumber(const TTextRecord& r) {
  return r.Text.size() == 7 && r.Text[6] == ':' && r.X == 0;
}

class PrintTest : public EditorWindowTest {
protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    Printer()->SetDevice(&Device);
  }
  void TearDown() override { Printer()->SetDevice(nullptr); }

  void PrintWith(uint32_t options) {
    Memo->SetOptions(options);
    Memo->PrintSelection();
  }
  // The records that show characters.
  std::vector<TTextRecord> Texts(int page) {
    std::vector<TTextRecord> out;
    for (const TTextRecord& r : guitest::PageTexts(Device.Page(page)))
      if (!r.Text.empty()) out.push_back(r);
    return out;
  }
  std::vector<int> Numbers(int page) {
    std::vector<int> out;
    for (const TTextRecord& r : Texts(page))
      if (IsLineNumber(r)) out.push_back(std::stoi(r.Text.substr(0, 6)));
    return out;
  }
  // The rows' text on a page between two heights, in order (runs of one
  // row joined).
  std::vector<TTextRecord> Rows(int page, int top = 0, int bottom = 3300) {
    std::vector<TTextRecord> rows;
    for (const TTextRecord& r : Texts(page)) {
      if (IsLineNumber(r) || r.X < TextLeft() || r.Y < top || r.Y >= bottom) continue;
      if (!rows.empty() && rows.back().Y == r.Y)
        rows.back().Text += r.Text;
      else
        rows.push_back(r);
    }
    return rows;
  }
  int TextLeft() {
    return (Memo->GetOptions() & SyntaxMemoOptionBit(smoPrintLineNos)) ? 10 * PrinterCharWidth : 0;
  }

  // The printer's measures of the editor font, taken while a job printed.
  void MeasureOnPrinter() {
    Memo->OnPrintHeaderFooter = [&](TObject*, TCanvas*, TRect&, bool&) {
      PrinterCharWidth = Memo->GetModel().GetMetrics().AveCharWidth;
      PrinterLineHeight = Memo->GetLineHeight();
    };
    Memo->SelectAll();
    Memo->PrintSelection();
    Memo->OnPrintHeaderFooter = nullptr;
  }

  guitest::TRecordingPrinter Device;
  int PrinterCharWidth = 0;
  int PrinterLineHeight = 0;
};

const uint32_t NumbersOnly =
    DefaultSyntaxMemoOptions & ~(SyntaxMemoOptionBit(smoPrintFilename) | SyntaxMemoOptionBit(smoPrintDate) |
                                 SyntaxMemoOptionBit(smoPrintPageNos));

TEST_F(PrintTest, TheSelectionDecidesTheLinesPrinted) {
  SetText(Lines(1, 9));
  struct Case {
    int anchor;
    int caret;
    std::vector<int> lines;
  };
  const int line3 = Memo->GetModel().LineIndex(2);
  const int line5 = Memo->GetModel().LineIndex(4);
  const Case cases[] = {
      {line3 + 2, line3 + 2, {3}},                             // the caret inside a line
      {line3, line3, {3, 4}},                                  // the caret at a line's start
      {0, Memo->GetTextLength(), {1, 2, 3, 4, 5, 6, 7, 8, 9}}, // all, no empty line after
      {line5 + 3, line3 + 1, {3, 4, 5}},                       // backwards, ending inside a line
      {line3 + 1, line5, {3, 4}},                              // ending at a line's start
  };
  for (const Case& c : cases) {
    Memo->GetModel().SetSelection(c.anchor, c.caret, false);
    PrintWith(NumbersOnly);
    ASSERT_EQ(Device.PageCount(), 1);
    EXPECT_EQ(Numbers(0), c.lines) << c.anchor << ".." << c.caret;
    std::vector<String> rows;
    for (const TTextRecord& r : Rows(0))
      rows.push_back(r.Text);
    ASSERT_EQ(rows.size(), c.lines.size());
    for (size_t k = 0; k < rows.size(); ++k)
      EXPECT_EQ(rows[k], "line " + IntToStr(c.lines[k]));
  }
}

TEST_F(PrintTest, PageHasHeaderDateFooterAndNumberedRowsInItsTextArea) {
  SetText(Lines(1, 200));
  MeasureOnPrinter();
  // Measured on the printer: a 10-point line is 10/72 of 300 dots and more.
  EXPECT_GE(PrinterLineHeight, MulDiv(10, 300, 72));
  Memo->GetModel().Title = "script.sql";
  Memo->SelectAll();
  PrintWith(DefaultSyntaxMemoOptions);
  ASSERT_GE(Device.PageCount(), 2);
  guitest::PlayPage(Device.Page(0), 1275, 1650).SavePng("print_page");
  EXPECT_EQ(Device.Title, "script.sql");
  const int lh = PrinterLineHeight;
  const auto texts = Texts(0);
  auto find = [&](const std::function<bool(const TTextRecord&)>& match) {
    for (const TTextRecord& r : texts)
      if (match(r)) return r;
    return TTextRecord{};
  };
  const TTextRecord title = find([](const TTextRecord& r) { return r.Text == "script.sql"; });
  EXPECT_EQ(title.X, 0);
  EXPECT_EQ(title.Y, 0);
  const TTextRecord date =
      find([](const TTextRecord& r) { return r.Text.find(" - ") != String::npos && r.Y == 0; });
  EXPECT_GT(date.X, 2550 / 2) << "the date line is right-aligned";
  const TTextRecord footer = find([](const TTextRecord& r) { return r.Text == "- 1 -"; });
  EXPECT_EQ(footer.Y, 3300 - 5 * lh / 2);
  const int footerWidth = 5 * PrinterCharWidth;
  EXPECT_NEAR(footer.X, (2550 - footerWidth) / 2, PrinterCharWidth);
  const auto rows = Rows(0, 3 * lh, 3300 - 3 * lh);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front().Y, 3 * lh);
  EXPECT_EQ(rows.front().X, 10 * PrinterCharWidth);
  // Rows begin above four line heights from the bottom, until there.
  EXPECT_LT(rows.back().Y, 3300 - 4 * lh);
  EXPECT_GE(rows.back().Y + lh, 3300 - 4 * lh);
  const auto numbers = Numbers(0);
  ASSERT_EQ(numbers.size(), rows.size());
  const TTextRecord seven = find([](const TTextRecord& r) { return r.Text == "     7:"; });
  EXPECT_EQ(seven.Y, 3 * lh + 6 * lh);
  // The second page goes on with the next line and its own page number.
  EXPECT_EQ(Numbers(1).front(), numbers.back() + 1);
  bool footer2 = false;
  for (const TTextRecord& r : Texts(1))
    footer2 |= r.Text == "- 2 -";
  EXPECT_TRUE(footer2);
}

TEST_F(PrintTest, PageNumbersAloneLeaveTheTopToTheText) {
  SetText(Lines(1, 3));
  MeasureOnPrinter();
  Memo->SelectAll();
  PrintWith(DefaultSyntaxMemoOptions &
            ~(SyntaxMemoOptionBit(smoPrintFilename) | SyntaxMemoOptionBit(smoPrintDate) |
              SyntaxMemoOptionBit(smoPrintLineNos)));
  const auto rows = Rows(0, 0, 3300 - 4 * PrinterLineHeight);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Y, 0);
  EXPECT_EQ(rows[0].X, 0);
  EXPECT_TRUE(Numbers(0).empty());
  bool footer = false;
  for (const TTextRecord& r : Texts(0))
    footer |= r.Text == "- 1 -" && r.Y == 3300 - 5 * PrinterLineHeight / 2;
  EXPECT_TRUE(footer);
}

TEST_F(PrintTest, LongLinesPrintInPiecesBrokenAfterBlanksWithOneNumber) {
  String longLine;
  for (int k = 0; k < 40; ++k)
    longLine += "word" + IntToStr(k % 10) + "xx ";
  SetText("first\r\n" + longLine + "\r\nlast\r\n");
  MeasureOnPrinter();
  Memo->SelectAll();
  PrintWith(NumbersOnly);
  const int width = (2550 - 10 * PrinterCharWidth) / PrinterCharWidth - 1;
  const auto rows = Rows(0);
  ASSERT_GE(rows.size(), 5u);
  EXPECT_EQ(rows.front().Text, "first");
  EXPECT_EQ(rows.back().Text, "last");
  // Each piece ends with a word, the blank after it going along unseen
  // (the line's last blank shows, before its line end).
  String joined;
  for (size_t k = 1; k + 1 < rows.size(); ++k) {
    EXPECT_LE(static_cast<int>(rows[k].Text.size()), width);
    const bool last = k + 2 == rows.size();
    EXPECT_EQ(rows[k].Text.substr(rows[k].Text.size() - (last ? 3 : 2)), last ? "xx " : "xx")
        << "piece " << k;
    joined += (k > 1 ? " " : "") + rows[k].Text;
  }
  EXPECT_EQ(joined, longLine);
  EXPECT_EQ(Numbers(0), (std::vector<int>{1, 2, 3}));
  // The number stands on the line's first piece.
  for (const TTextRecord& r : Texts(0))
    if (r.Text == "     2:") {
      EXPECT_EQ(r.Y, rows[1].Y);
    }
}

TEST_F(PrintTest, ARangeCountsItsSourceRowsNotItsPieces) {
  String longLine(400, 'x');
  SetText(longLine + "\r\nsecond\r\nthird\r\nfourth\r\n");
  Memo->GetModel().SetSelection(0, Memo->GetModel().LineIndex(2) + 2, false);
  PrintWith(NumbersOnly);
  EXPECT_EQ(Numbers(0), (std::vector<int>{1, 2, 3}));
  const auto rows = Rows(0);
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows.back().Text, "third");
}

TEST(PrintPieces, EveryPieceTakesACharacterAndBreaksAfterBlanks) {
  TSyntaxMemoModel model;
  model.SetTabDefault(8);
  struct Case {
    const char* text;
    int width;
    std::vector<std::pair<int, int>> pieces;
  };
  const Case cases[] = {
      {"abc def ghi\r", 20, {{0, 12}}},
      {"abc def ghi\r", 6, {{0, 4}, {4, 4}, {8, 4}}},
      {"abc   def\r", 5, {{0, 6}, {6, 4}}},          // the blanks after the break go along
      {"abcdefghij\r", 4, {{0, 4}, {4, 4}, {8, 3}}}, // no blank: the width itself
      {"abc\r", 0, {{0, 1}, {1, 1}, {2, 1}}},        // no width: a character each
      {"abc\r", -3, {{0, 1}, {1, 1}, {2, 1}}},
      // The tab step fills the width: a character each again.
      {"a\tb c d\r", 8, {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}},
      // TABs advance to their stops from the piece's start.
      {"a b\tc d e f\r", 12, {{0, 2}, {2, 2}, {4, 4}, {8, 2}, {10, 2}}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TRowRecord, void (*)(TRowRecord*)> row(
        NewRowRecord(c.text, static_cast<int>(std::strlen(c.text))), FreeRowRecord);
    EXPECT_EQ(CutPrintPieces(row.get(), c.width, true, model), c.pieces) << c.text << " in " << c.width;
    EXPECT_EQ(CutPrintPieces(row.get(), c.width, false, model).size(), 1u);
  }
}

TEST_F(PrintTest, MonoPrintIsBlackOnWhiteAndStyleColoursOtherwise) {
  SetText("coloured text\r\n");
  MeasureOnPrinter();
  Memo->Setdef_TextColor(clRed);
  Memo->Setdef_BackColor(clYellow);
  Memo->SelectAll();
  for (bool mono : {true, false}) {
    Memo->MonoPrint = mono;
    PrintWith(NumbersOnly);
    auto page = guitest::PlayPage(Device.Page(0), 1275, 1650);
    page.SavePng(mono ? "print_mono" : "print_colour");
    // The row right of its number, at half the printer's scale.
    const RECT row{5 * PrinterCharWidth, 0, 1275, PrinterLineHeight / 2};
    EXPECT_EQ(page.CountPixels(row, RGB(255, 0, 0)) > 0, !mono);
    EXPECT_EQ(page.CountPixels(row, RGB(255, 255, 0)) > 0, !mono);
    if (mono) {
      EXPECT_GT(page.CountPixels(row, RGB(0, 0, 0)), 0);
    }
  }
}

TEST_F(PrintTest, HeaderFooterEventGivesTheTextAreaAndTransparentText) {
  SetText(Lines(1, 3));
  MeasureOnPrinter();
  Memo->SelectAll();
  int calls = 0;
  Memo->OnPrintHeaderFooter = [&](TObject* sender, TCanvas* canvas, TRect& rect, bool& transparent) {
    ++calls;
    EXPECT_EQ(sender, Memo);
    EXPECT_EQ(rect, TRect(0, 0, 2550, 3300));
    EXPECT_FALSE(transparent);
    canvas->GetBrush()->SetColor(clAqua);
    canvas->FillRect(rect);
    rect = TRect(200, 400, 2000, 3000);
    transparent = true;
  };
  PrintWith(NumbersOnly);
  EXPECT_EQ(calls, 1);
  const auto texts = Texts(0);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].Text, "     1:");
  EXPECT_EQ(texts[0].Y, 400);
  for (const TTextRecord& r : texts)
    EXPECT_EQ(r.Options & ETO_OPAQUE, 0u) << r.Text;
  const auto rows = Rows(0);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].X, 200 + 10 * PrinterCharWidth);
  // Around the letters the event's background stays.
  auto page = guitest::PlayPage(Device.Page(0), 1275, 1650);
  page.SavePng("print_event");
  const RECT row{100 + 5 * PrinterCharWidth, 200, 1000, 200 + PrinterLineHeight / 2};
  EXPECT_EQ(page.CountPixels(row, RGB(255, 255, 255)), 0);
  EXPECT_GT(page.CountPixels(row, RGB(0, 255, 255)), 0);
}

String ReadFile(const String& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(PrintTest, ThroughTheSpoolerTheFileHasAPageForEachRecordedPage) {
  SetText(Lines(1, 150));
  Memo->SelectAll();
  PrintWith(DefaultSyntaxMemoOptions);
  const int pages = Device.PageCount();
  ASSERT_GE(pages, 2);
  Printer()->SetDevice(nullptr);
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const String file = String(folder) + "velmora_print_selection.ps";
  DeleteFileA(file.c_str());
  Printer()->OutputFile = file;
  Memo->PrintSelection();
  Printer()->OutputFile.clear();
  const String ps = ReadFile(file);
  DeleteFileA(file.c_str());
  size_t count = 0;
  for (size_t at = ps.find("%%Page: "); at != String::npos; at = ps.find("%%Page: ", at + 1))
    ++count;
  EXPECT_EQ(count, static_cast<size_t>(pages));
}

TEST_F(PrintTest, AfterAJobTheEditorPaintsAsBefore) {
  SetText(Lines(1, 30));
  Memo->GetModel().SetSelection(5, 5, false);
  guitest::PumpFor(50);
  const int lineHeight = Memo->GetLineHeight();
  auto before = guitest::TCapture::Paint(Memo->GetHandle());
  // Printed by its keys, Ctrl+K then P.
  guitest::PressKey('K', guitest::kCtrl);
  guitest::PressKey('P');
  guitest::PumpFor(50);
  ASSERT_EQ(Device.PageCount(), 1);
  EXPECT_FALSE(Memo->GetPrinting());
  EXPECT_EQ(Memo->GetLineHeight(), lineHeight);
  auto after = guitest::TCapture::Paint(Memo->GetHandle());
  int differing = 0;
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x)
      differing += before.Pixel(x, y) != after.Pixel(x, y);
  EXPECT_EQ(differing, 0);
}

// A device that fails when the job starts or at its second page, as a
// printer may.
class TFailingDevice : public guitest::TRecordingPrinter {
public:
  explicit TFailingDevice(bool atStart) : FAtStart(atStart) {}
  HDC BeginDoc(HDC printer, const String& title, const String& output) override {
    if (FAtStart) throw EPrinter("offline");
    return TRecordingPrinter::BeginDoc(printer, title, output);
  }
  HDC NewPage(HDC) override { throw EPrinter("out of paper"); }

private:
  bool FAtStart;
};

int StyleFontHeight(TSyntaxMemo* memo) {
  LOGFONTA lf{};
  GetObjectA(WinFonts(memo->GetModel().GetSettings())->StyleFont(0), sizeof lf, &lf);
  return lf.lfHeight;
}

TEST_F(PrintTest, AFailedJobEndsAndTheScreenComesBack) {
  SetText(Lines(1, 150));
  Memo->SelectAll();
  const int lineHeight = Memo->GetLineHeight();
  const int fontHeight = StyleFontHeight(Memo);
  for (bool atStart : {true, false}) {
    TFailingDevice failing(atStart);
    Printer()->SetDevice(&failing);
    EXPECT_THROW(Memo->PrintSelection(), EPrinter);
    EXPECT_FALSE(Printer()->GetPrinting());
    EXPECT_EQ(failing.Ended, !atStart);
    EXPECT_FALSE(Memo->GetPrinting());
    EXPECT_FALSE(Memo->GetModel().GetSettings().PrinterFonts);
    EXPECT_EQ(Memo->GetLineHeight(), lineHeight);
    EXPECT_EQ(StyleFontHeight(Memo), fontHeight);
  }
}

TEST_F(PrintTest, WordWrappedContinuationRowsGetNoNumber) {
  SetText("one two three four five six seven eight nine ten\r\nshort\r\n");
  Memo->SetWrapAtColumn(12);
  Memo->SetWordWrap(true);
  ASSERT_GT(Memo->GetModel().GetRowCount(), 3);
  Memo->SelectAll();
  PrintWith(NumbersOnly | SyntaxMemoOptionBit(smoWordWrap));
  EXPECT_EQ(Numbers(0), (std::vector<int>{1, 2}));
  const auto rows = Rows(0);
  ASSERT_EQ(static_cast<int>(rows.size()), Memo->GetModel().GetRowCount());
  EXPECT_EQ(rows.back().Text, "short");
}

} // namespace
