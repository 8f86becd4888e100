// Where the throwaway test server listens (tools/testdb), from the
// environment; tests that need it skip when it is not set.
#pragma once

#include <cstdlib>
#include <string>

struct TTestServerAddress {
  std::string Host;
  int Port = 0;
};

// False when VELMORA_TEST_MYSQL (host:port) is unset or malformed.
inline bool TestServerAddress(TTestServerAddress& address) {
  const char* value = std::getenv("VELMORA_TEST_MYSQL");
  if (!value) return false;
  const std::string text = value;
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  address.Host = text.substr(0, colon);
  address.Port = std::atoi(text.c_str() + colon + 1);
  return address.Port > 0;
}

#define SKIP_WITHOUT_TEST_SERVER(address)                                                                    \
  if (!TestServerAddress(address)) GTEST_SKIP() << "VELMORA_TEST_MYSQL is not set (start tools/testdb)"
