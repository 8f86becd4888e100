// The clipboard, as the class library's Clipboard object.
#pragma once

#include "Graphics.h"

class TClipboard {
public:
  // Text in CF_TEXT; setting it replaces the clipboard's content.
  String GetAsText();
  void SetAsText(const String& value);
  bool HasFormat(UINT format);
  // Raw data of a registered (or standard) format.
  void SetBuffer(UINT format, const void* data, size_t size);
  String GetBuffer(UINT format);
  // Several formats at once between Open and Close.
  void Open();
  void Close();
  void Clear();

private:
  void Adding();
  int FOpenRefCount = 0;
  bool FEmptied = false;
};

TClipboard* Clipboard();
// A clipboard format by name ("Rich Text Format"…).
UINT RegisterClipboardFormatName(const String& name);

class EClipboardException : public Exception {
public:
  using Exception::Exception;
};
