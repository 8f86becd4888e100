// The printer object on the test prefix's default printer (Letter at 300 dpi
// through the PostScript driver): jobs recorded page by page, the canvas
// measuring as the printer, the job rules, and a real job through the
// spooler into a PostScript file.
#include "Printers.h"
#include "RecordingPrinter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using guitest::PageTexts;
using guitest::TRecordingScope;

TEST(PrinterObject, PageAndCanvasAreThePrinters) {
  TPrinter* printer = Printer();
  ASSERT_FALSE(printer->GetPrinterName().empty());
  EXPECT_EQ(printer->GetPageWidth(), 2550);
  EXPECT_EQ(printer->GetPageHeight(), 3300);
  // A 10-point font on the printer's canvas is 10/72 of an inch of 300 dots.
  TCanvas* canvas = printer->GetCanvas();
  canvas->GetFont()->SetName("Courier New");
  canvas->GetFont()->SetSize(10);
  EXPECT_EQ(canvas->GetFont()->GetHeight(), -MulDiv(10, 300, 72));
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas->GetHandle(), &tm);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, MulDiv(10, 300, 72));
  EXPECT_FALSE(printer->GetPrinting());
  EXPECT_EQ(printer->GetPageNumber(), 0);
}

TEST(PrinterObject, JobRecordsEachPageWithItsText) {
  TRecordingScope recording;
  TPrinter* printer = Printer();
  printer->Title = "Job title";
  printer->BeginDoc();
  EXPECT_TRUE(printer->GetPrinting());
  EXPECT_EQ(printer->GetPageNumber(), 1);
  printer->GetCanvas()->TextOut(100, 200, "first page");
  const int width = printer->GetCanvas()->TextWidth("first page");
  printer->NewPage();
  EXPECT_EQ(printer->GetPageNumber(), 2);
  printer->GetCanvas()->TextOut(300, 400, "second page");
  printer->EndDoc();
  EXPECT_FALSE(printer->GetPrinting());
  EXPECT_EQ(recording.Device.Title, "Job title");
  EXPECT_TRUE(recording.Device.Ended);
  ASSERT_EQ(recording.Device.PageCount(), 2);
  const auto first = PageTexts(recording.Device.Page(0));
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].Text, "first page");
  EXPECT_EQ(first[0].X, 100);
  EXPECT_EQ(first[0].Y, 200);
  const auto second = PageTexts(recording.Device.Page(1));
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].Text, "second page");
  // Measured on the printer: ten characters of a 300-dot font are wide.
  EXPECT_GT(width, 10 * 20);
  // The recorded page plays back as drawn.
  auto picture = guitest::PlayPage(recording.Device.Page(0), 850, 1100);
  EXPECT_GT(picture.CountPixels(RECT{30, 60, 30 + width / 3 + 2, 80}, RGB(0, 0, 0)), 20);
}

TEST(PrinterObject, JobStepsOutOfOrderRaiseAndAbortEndsTheJob) {
  TRecordingScope recording;
  TPrinter* printer = Printer();
  EXPECT_THROW(printer->NewPage(), EPrinter);
  EXPECT_THROW(printer->EndDoc(), EPrinter);
  EXPECT_THROW(printer->Abort(), EPrinter);
  printer->BeginDoc();
  EXPECT_THROW(printer->BeginDoc(), EPrinter);
  EXPECT_THROW(printer->SetDevice(nullptr), EPrinter);
  printer->Abort();
  EXPECT_TRUE(printer->GetAborted());
  EXPECT_FALSE(printer->GetPrinting());
  EXPECT_TRUE(recording.Device.Aborted);
  EXPECT_FALSE(recording.Device.Ended);
}

String ReadFile(const String& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

size_t Occurrences(const String& text, const String& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != String::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

TEST(PrinterObject, SpooledJobWritesItsPagesToTheOutputFile) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const String file = String(folder) + "velmora_printer_test.ps";
  DeleteFileA(file.c_str());
  TPrinter* printer = Printer();
  printer->Title = "Spooled job";
  printer->OutputFile = file;
  printer->BeginDoc();
  for (int page = 1; page <= 3; ++page) {
    if (page > 1) printer->NewPage();
    printer->GetCanvas()->TextOut(100, 100, "page " + IntToStr(page));
  }
  printer->EndDoc();
  printer->OutputFile.clear();
  const String ps = ReadFile(file);
  DeleteFileA(file.c_str());
  EXPECT_EQ(ps.rfind("%!PS", 0), 0u);
  EXPECT_NE(ps.find("%%Title: Spooled job"), String::npos);
  EXPECT_EQ(Occurrences(ps, "%%Page: "), 3u);
}

} // namespace
