// The printer object over the spooler.
#include "Printers.h"

#include "WinApi.h"

#include <winspool.h>

namespace {

constexpr const char* SNoDefaultPrinter = "There is no default printer currently selected";
constexpr const char* SNotPrinting = "Printer is not currently printing";
constexpr const char* SPrinting = "Printing in progress";

// A failed step of the system's printing, with the system's error code.
void Check(bool ok, const char* step) {
  if (!ok) throw EPrinter(Format("Printer error in %s (%d)", step, static_cast<int>(GetLastError())));
}

// Jobs through the system's spooler on the printer's own context.
class TSpoolerDevice : public TPrinterDevice {
public:
  HDC BeginDoc(HDC printer, const String& title, const String& output) override {
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    info.lpszOutput = output.empty() ? nullptr : output.c_str();
    Check(StartDocA(printer, &info) > 0, "StartDoc");
    if (StartPage(printer) <= 0) {
      AbortDoc(printer);
      Check(false, "StartPage");
    }
    return printer;
  }
  HDC NewPage(HDC printer) override {
    Check(EndPage(printer) > 0, "EndPage");
    Check(StartPage(printer) > 0, "StartPage");
    return printer;
  }
  void EndDoc(HDC printer) override {
    Check(EndPage(printer) > 0, "EndPage");
    Check(::EndDoc(printer) > 0, "EndDoc");
  }
  void Abort(HDC printer) override { AbortDoc(printer); }
};

} // namespace

// Outside a job the canvas draws nowhere but measures on the printer.
class TPrinter::TPrinterCanvas : public TCanvas {
public:
  explicit TPrinterCanvas(TPrinter& printer) : FPrinter(printer) {}

protected:
  void CreateHandle() override { SetHandle(FPrinter.GetHandle()); }

private:
  TPrinter& FPrinter;
};

TPrinter::TPrinter()
    : FCanvas(std::make_unique<TPrinterCanvas>(*this)), FSpooler(std::make_unique<TSpoolerDevice>()) {}

TPrinter::~TPrinter() {
  if (FPrinting) Abort();
  FCanvas->SetHandle(nullptr);
  if (FDC) DeleteDC(FDC);
}

const String& TPrinter::GetPrinterName() {
  if (FPrinterName.empty()) {
    char name[512] = {};
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size) || !name[0]) throw EPrinter(SNoDefaultPrinter);
    FPrinterName = name;
  }
  return FPrinterName;
}

HDC TPrinter::GetHandle() {
  if (!FDC) {
    FDC = CreateDCA(nullptr, GetPrinterName().c_str(), nullptr, nullptr);
    Check(FDC != nullptr, "CreateDC");
    FCanvas->GetFont()->PixelsPerInch = GetDeviceCaps(FDC, LOGPIXELSY);
  }
  return FDC;
}

TCanvas* TPrinter::GetCanvas() {
  GetHandle();
  return FCanvas.get();
}

int TPrinter::GetPageWidth() {
  return GetDeviceCaps(GetHandle(), HORZRES);
}

int TPrinter::GetPageHeight() {
  return GetDeviceCaps(GetHandle(), VERTRES);
}

void TPrinter::SetDevice(TPrinterDevice* device) {
  CheckPrinting(false);
  FDevice = device;
}

TPrinterDevice& TPrinter::Device() {
  return FDevice ? *FDevice : *FSpooler;
}

void TPrinter::CheckPrinting(bool printing) const {
  if (FPrinting != printing) throw EPrinter(printing ? SNotPrinting : SPrinting);
}

void TPrinter::BeginDoc() {
  CheckPrinting(false);
  HDC printer = GetHandle();
  HDC page = Device().BeginDoc(printer, Title, OutputFile);
  FPrinting = true;
  FAborted = false;
  FPageNumber = 1;
  FCanvas->SetHandle(page);
}

void TPrinter::NewPage() {
  CheckPrinting(true);
  // The canvas lets go of the old page before a device may close it.
  FCanvas->SetHandle(nullptr);
  FCanvas->SetHandle(Device().NewPage(FDC));
  ++FPageNumber;
}

void TPrinter::EndDoc() {
  CheckPrinting(true);
  FCanvas->SetHandle(nullptr);
  FPrinting = false;
  FPageNumber = 0;
  Device().EndDoc(FDC);
}

void TPrinter::Abort() {
  CheckPrinting(true);
  FCanvas->SetHandle(nullptr);
  FPrinting = false;
  FAborted = true;
  FPageNumber = 0;
  Device().Abort(FDC);
}

TPrinter* Printer() {
  static TPrinter printer;
  return &printer;
}
