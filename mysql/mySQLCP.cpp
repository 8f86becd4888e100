#include "mySQLCP.h"

#include <cstring>

const TCharsetTable* CharsetTable(int) { return nullptr; }
int CharsetFromName(const String&) { return 0; }
int CharsetOfSystemCodePage() { return 0; }
void ConvertCharset(const char* source, char* dest, size_t count, int, int) { std::memmove(dest, source, count); }
