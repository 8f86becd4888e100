#include "uMysqlVio.h"

TMysqlVio::~TMysqlVio() { Close(); }
int TMysqlVio::Connect(const String&, int, int) { return -1; }
int TMysqlVio::Close() { return 0; }
int TMysqlVio::Read(void*, int) { return -1; }
int TMysqlVio::Write(const void*, int) { return -1; }
int TMysqlVio::SetBlocking(bool) { return -1; }
int TMysqlVio::SetFastSend() { return -1; }
int TMysqlVio::SetKeepAlive(bool) { return -1; }
bool TMysqlVio::WaitReadable(int) { return false; }
bool TMysqlVio::ShouldRetry() const { return false; }
bool TMysqlVio::WasInterrupted() const { return false; }
void TMysqlVio::SetErrorText(const String& text) { FErrorText = text.substr(0, 200); }
