#include "RecordingPrinter.h"

#include <algorithm>

namespace guitest {

TRecordingPrinter::~TRecordingPrinter() {
  if (FPageDC) DeleteEnhMetaFile(CloseEnhMetaFile(FPageDC));
  Clear();
}

void TRecordingPrinter::Clear() {
  for (HENHMETAFILE page : FPages)
    DeleteEnhMetaFile(page);
  FPages.clear();
}

HDC TRecordingPrinter::StartPage(HDC printer) {
  // The frame in hundredths of a millimetre covers the whole printable page.
  const RECT frame{0, 0, MulDiv(GetDeviceCaps(printer, HORZRES), 2540, GetDeviceCaps(printer, LOGPIXELSX)),
                   MulDiv(GetDeviceCaps(printer, VERTRES), 2540, GetDeviceCaps(printer, LOGPIXELSY))};
  FPageDC = CreateEnhMetaFileA(printer, nullptr, &frame, nullptr);
  return FPageDC;
}

void TRecordingPrinter::FinishPage() {
  FPages.push_back(CloseEnhMetaFile(FPageDC));
  FPageDC = nullptr;
}

HDC TRecordingPrinter::BeginDoc(HDC printer, const String& title, const String& output) {
  Clear();
  Title = title;
  Output = output;
  Ended = Aborted = false;
  return StartPage(printer);
}

HDC TRecordingPrinter::NewPage(HDC printer) {
  FinishPage();
  return StartPage(printer);
}

void TRecordingPrinter::EndDoc(HDC) {
  FinishPage();
  Ended = true;
}

void TRecordingPrinter::Abort(HDC) {
  FinishPage();
  Aborted = true;
}

namespace {

String Narrow(const wchar_t* text, int count) {
  String out(static_cast<size_t>(count) * 2 + 1, '\0');
  const int n =
      WideCharToMultiByte(CP_ACP, 0, text, count, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<size_t>(std::max(n, 0)));
  return out;
}

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  if (record->iType != EMR_EXTTEXTOUTW && record->iType != EMR_EXTTEXTOUTA) return 1;
  const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
  const auto* bytes = reinterpret_cast<const char*>(record) + text->emrtext.offString;
  const int count = static_cast<int>(text->emrtext.nChars);
  TTextRecord out;
  out.Text = record->iType == EMR_EXTTEXTOUTA ? String(bytes, static_cast<size_t>(count))
                                              : Narrow(reinterpret_cast<const wchar_t*>(bytes), count);
  out.X = text->emrtext.ptlReference.x;
  out.Y = text->emrtext.ptlReference.y;
  out.Options = text->emrtext.fOptions;
  const RECTL& clip = text->emrtext.rcl;
  out.Clip = RECT{clip.left, clip.top, clip.right, clip.bottom};
  reinterpret_cast<std::vector<TTextRecord>*>(data)->push_back(out);
  return 1;
}

} // namespace

std::vector<TTextRecord> PageTexts(HENHMETAFILE page) {
  std::vector<TTextRecord> texts;
  EnumEnhMetaFile(nullptr, page, CollectText, &texts, nullptr);
  return texts;
}

TCapture PlayPage(HENHMETAFILE page, int width, int height) {
  TCapture capture(width, height);
  RECT r{0, 0, width, height};
  FillRect(capture.DC(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  PlayEnhMetaFile(capture.DC(), page, &r);
  return capture;
}

} // namespace guitest
