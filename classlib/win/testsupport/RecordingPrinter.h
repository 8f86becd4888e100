// A print device for tests: each page becomes an enhanced metafile made
// against the printer's context (so it measures as the printer), whose text
// records can be read and which can be played onto a bitmap.
#pragma once

#include "GuiTest.h"
#include "Printers.h"

#include <vector>

namespace guitest {

class TRecordingPrinter : public TPrinterDevice {
public:
  TRecordingPrinter() = default;
  ~TRecordingPrinter() override;
  TRecordingPrinter(const TRecordingPrinter&) = delete;
  TRecordingPrinter& operator=(const TRecordingPrinter&) = delete;

  HDC BeginDoc(HDC printer, const String& title, const String& output) override;
  HDC NewPage(HDC printer) override;
  void EndDoc(HDC printer) override;
  void Abort(HDC printer) override;

  // The finished pages of the last job.
  int PageCount() const { return static_cast<int>(FPages.size()); }
  HENHMETAFILE Page(int index) const { return FPages.at(static_cast<size_t>(index)); }
  String Title;
  String Output;
  bool Ended = false;
  bool Aborted = false;

private:
  HDC StartPage(HDC printer);
  void FinishPage();
  void Clear();
  HDC FPageDC = nullptr;
  std::vector<HENHMETAFILE> FPages;
};

// Installs a recording device on the application's printer for the life of
// the scope.
class TRecordingScope {
public:
  TRecordingScope() { Printer()->SetDevice(&Device); }
  ~TRecordingScope() { Printer()->SetDevice(nullptr); }
  TRecordingScope(const TRecordingScope&) = delete;
  TRecordingScope& operator=(const TRecordingScope&) = delete;
  TRecordingPrinter Device;
};

// One text output of a page: its characters and reference point.
struct TTextRecord {
  String Text;
  int X = 0;
  int Y = 0;
  UINT Options = 0; // ETO_OPAQUE, ETO_CLIPPED...
  RECT Clip{};
};
std::vector<TTextRecord> PageTexts(HENHMETAFILE page);
// The page played onto a white picture of the given size (scaled to it).
TCapture PlayPage(HENHMETAFILE page, int width, int height);

} // namespace guitest
