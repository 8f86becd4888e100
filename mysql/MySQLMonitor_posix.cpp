// No outside SQL monitor can attach here: the trace calls are skipped.
#include "MySQLMonitor.h"

TMySQLMonitorHook* MonitorHook() {
  return nullptr;
}
