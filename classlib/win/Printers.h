// The printer object: print jobs on the default printer through the spooler,
// drawn on a canvas in printer pixels.
#pragma once

#include "Graphics.h"

#include <memory>

class EPrinter : public Exception {
public:
  using Exception::Exception;
};

// Where the pages of a job go. The spooler's device draws on the printer's
// own context; a test's device may hand out another context per page (one
// that measures as the printer).
class TPrinterDevice {
public:
  virtual ~TPrinterDevice() = default;
  // Starts a job on the printer's context and its first page; returns the
  // context to draw the page on. output names a file for the job, or is
  // empty for the printer's port.
  virtual HDC BeginDoc(HDC printer, const String& title, const String& output) = 0;
  // Ends the page and starts the next; the context of the new page.
  virtual HDC NewPage(HDC printer) = 0;
  virtual void EndDoc(HDC printer) = 0;
  virtual void Abort(HDC printer) = 0;
};

class TPrinter {
public:
  TPrinter();
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();
  bool GetPrinting() const { return FPrinting; }
  bool GetAborted() const { return FAborted; }
  // 1 on the first page of a job.
  int GetPageNumber() const { return FPageNumber; }
  // The printable page in printer pixels.
  int GetPageWidth();
  int GetPageHeight();
  // The page being printed; outside a job a context that measures as the
  // printer. Its font's size is in the printer's points.
  TCanvas* GetCanvas();
  // The printer's own context (the default printer's, opened on first use).
  HDC GetHandle();
  const String& GetPrinterName();

  // The job's name in the spooler.
  String Title;
  // A file the next job is written to instead of the printer's port; empty
  // for the port.
  String OutputFile;
  // The device stays the caller's; none gives the spooler back.
  void SetDevice(TPrinterDevice* device);

private:
  class TPrinterCanvas;
  void CheckPrinting(bool printing) const;
  TPrinterDevice& Device();

  String FPrinterName;
  HDC FDC = nullptr;
  std::unique_ptr<TPrinterCanvas> FCanvas;
  std::unique_ptr<TPrinterDevice> FSpooler;
  TPrinterDevice* FDevice = nullptr;
  bool FPrinting = false;
  bool FAborted = false;
  int FPageNumber = 0;
};

// The application's printer, made on first use.
TPrinter* Printer();
