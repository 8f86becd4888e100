#include "uMysqlNet.h"

TMysqlNet::~TMysqlNet() { Close(); }
int TMysqlNet::Open(const String& host, int timeout, int port) { return FVio.Connect(host, timeout, port); }
int TMysqlNet::Close() { return 0; }
void TMysqlNet::ResetSequence() {}
int TMysqlNet::WritePacket(const void*, size_t) { return 1; }
int TMysqlNet::WriteCommand(uint8_t, const void*, size_t) { return 1; }
int TMysqlNet::Flush() { return -1; }
int TMysqlNet::ReadPacket() { return -1; }
int TMysqlNet::SafeRead() { return -1; }
bool TMysqlNet::Shrink() { return true; }
