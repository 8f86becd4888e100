// No outside SQL monitor can attach here: MonitorHook() answers nullptr and
// the trace calls are skipped. The class still exists, so code that names it
// links the same way on every build.
#include "MySQLMonitor.h"

struct TMySQLMonitorHook::TSharedObjects {};

TMySQLMonitorHook::TMySQLMonitorHook() = default;
TMySQLMonitorHook::~TMySQLMonitorHook() = default;
void TMySQLMonitorHook::TracePrepare(const TNativeDataSet*) {}
void TMySQLMonitorHook::TraceExecute(const TNativeDataSet*) {}
void TMySQLMonitorHook::TraceFetch(const TNativeDataSet*) {}
void TMySQLMonitorHook::TraceConnect(const TNativeConnect*) {}
void TMySQLMonitorHook::TraceDisconnect(const TNativeConnect*) {}
void TMySQLMonitorHook::TraceStartTransaction(const TNativeConnect*) {}
void TMySQLMonitorHook::TraceCommit(const TNativeConnect*) {}
void TMySQLMonitorHook::TraceRollback(const TNativeConnect*) {}
void TMySQLMonitorHook::SetEnabled(bool) {}
int TMySQLMonitorHook::MonitorCount() const { return 0; }

TMySQLMonitorHook* MonitorHook() { return nullptr; }
