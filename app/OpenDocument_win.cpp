#include "OpenDocument.h"

#include "Forms.h"

#include <shellapi.h>

String OpenDocumentErrorMessage(int Result, const String& FileName) {
  switch (Result) {
  case SE_ERR_FNF:
    return "Document " + FileName + " is missing.";
  case SE_ERR_PNF:
    return "Wrong path for document " + FileName + ".";
  case SE_ERR_OOM:
    return "Not enough memory to start " + FileName + ".";
  case 10:
    return "Wrong Windows version.";
  }
  return "Error " + IntToStr(Result) + " while trying to start " + FileName + ".";
}

int OpenDocument(const String& FileName, const String& Parameters, const String& Directory, int ShowCommand) {
  TCustomForm* mainForm = Application->GetMainForm();
  HWND owner = mainForm ? mainForm->GetHandle() : nullptr;
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(owner, nullptr, FileName.c_str(), Parameters.c_str(), Directory.c_str(), ShowCommand));
  if (result > 32) return static_cast<int>(result);
  throw Exception(OpenDocumentErrorMessage(static_cast<int>(result), FileName));
}
