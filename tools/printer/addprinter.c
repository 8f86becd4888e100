/* Adds a printer on the port FILE: driven by Wine's PostScript driver with
 * the given PPD (already in the printer-driver folder) and makes it the
 * default printer of the prefix.
 * Usage: addprinter PPD-FILE-NAME PRINTER-NAME */
#include <stdio.h>
#include <windows.h>
#include <winspool.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: addprinter PPD PRINTER\n");
    return 2;
  }
  DRIVER_INFO_3A driver = {0};
  driver.cVersion = 3;
  driver.pName = "Wine PostScript Driver";
  driver.pDriverPath = "wineps.drv";
  driver.pDataFile = argv[1];
  driver.pConfigFile = "wineps.drv";
  if (!AddPrinterDriverA(NULL, 3, (BYTE*)&driver)) {
    fprintf(stderr, "addprinter: AddPrinterDriver failed (%lu)\n", GetLastError());
    return 1;
  }
  PRINTER_INFO_2A info = {0};
  info.pPrinterName = argv[2];
  info.pPortName = "FILE:";
  info.pDriverName = driver.pName;
  info.pPrintProcessor = "WinPrint";
  info.pDatatype = "RAW";
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE printer = AddPrinterA(NULL, 2, (BYTE*)&info);
  if (!printer && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
    fprintf(stderr, "addprinter: AddPrinter failed (%lu)\n", GetLastError());
    return 1;
  }
  if (printer) ClosePrinter(printer);
  if (!SetDefaultPrinterA(argv[2])) {
    fprintf(stderr, "addprinter: SetDefaultPrinter failed (%lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
