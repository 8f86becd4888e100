#include "mySQLCP.h"

// The portable build stands for a Western European Windows installation.
unsigned SystemCodePage() {
  return 1252;
}
