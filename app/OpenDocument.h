// Hands a file or an address to the Windows shell.
#pragma once

#include "SysUtils.h"

// Opens FileName with the shell's default action; ShowCommand is a SW_
// value. Returns the shell's result (above 32) or raises with a message
// that names the file.
int OpenDocument(const String& FileName, const String& Parameters, const String& Directory, int ShowCommand);

// The message OpenDocument raises for a shell result of 32 or below.
String OpenDocumentErrorMessage(int Result, const String& FileName);
