#include "Clipbrd.h"

#include "Forms.h"

#include <cstring>

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

UINT RegisterClipboardFormatName(const String& name) {
  return RegisterClipboardFormatA(name.c_str());
}

void TClipboard::Open() {
  if (FOpenRefCount++ > 0) return;
  // Another program may hold the clipboard for a moment.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(Application->GetHandle())) {
      FEmptied = false;
      return;
    }
    Sleep(10);
  }
  FOpenRefCount = 0;
  throw EClipboardException("Cannot open clipboard");
}

void TClipboard::Close() {
  if (FOpenRefCount == 0 || --FOpenRefCount > 0) return;
  CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  FEmptied = true;
  Close();
}

void TClipboard::Adding() {
  if (FEmptied) return;
  EmptyClipboard();
  FEmptied = true;
}

bool TClipboard::HasFormat(UINT format) {
  return IsClipboardFormatAvailable(format) != 0;
}

void TClipboard::SetBuffer(UINT format, const void* data, size_t size) {
  Open();
  try {
    Adding();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size ? size : 1);
    if (!block) throw EOutOfResources("Out of memory");
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
      GlobalFree(block);
      throw EClipboardException("Cannot set clipboard data");
    }
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

String TClipboard::GetBuffer(UINT format) {
  Open();
  String result;
  if (HANDLE data = GetClipboardData(format)) {
    const size_t size = GlobalSize(data);
    if (const void* p = GlobalLock(data)) {
      result.assign(static_cast<const char*>(p), size);
      GlobalUnlock(data);
    }
  }
  Close();
  return result;
}

String TClipboard::GetAsText() {
  String text = GetBuffer(CF_TEXT);
  const size_t end = text.find('\0');
  if (end != String::npos) text.resize(end);
  return text;
}

void TClipboard::SetAsText(const String& value) {
  SetBuffer(CF_TEXT, value.c_str(), value.size() + 1);
}
