// Fetches one result set of 1,000,000 rows x 5 columns from the test server
// (tools/testdb) through this program's client and through the MariaDB
// client library, uncompressed and compressed, and prints for each mode both
// times and their ratio.
//
//   eval "$(tools/testdb start)"; build/bench/bench/client_bench [rounds]
#include "uMysqlClient.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

// The library's side lives in its own file: its header and ours name the
// same protocol constants.
struct TLibraryConnection;
TLibraryConnection* LibraryConnect(const char* host, const char* user, const char* password, int port,
                                   bool compress, std::string& error);
// Seconds for the statement, its stored result and the walk over it; -1 on failure.
double LibraryFetch(TLibraryConnection* connection, const char* sql, uint64_t rows, uint64_t& bytes,
                    std::string& error);
void LibraryClose(TLibraryConnection* connection);

namespace {

constexpr int Rows = 1000000;
const char* const Database = "velmora_bench";
const char* const Select = "select id, amount, name, note, created from velmora_bench.rows_1m";

struct TSettings {
  std::string host, user, password;
  int port = 0;
};

bool ReadSettings(TSettings& s) {
  const char* server = std::getenv("VELMORA_TEST_MYSQL");
  const char* user = std::getenv("VELMORA_TEST_USER");
  const char* password = std::getenv("VELMORA_TEST_PASSWORD");
  if (!server || !user || !password) return false;
  const std::string text = server;
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos) return false;
  s.host = text.substr(0, colon);
  s.port = std::atoi(text.c_str() + colon + 1);
  s.user = user;
  s.password = password;
  return s.port > 0;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "client_bench: %s\n", what.c_str());
  std::exit(1);
}

void Run(TMysqlClient& client, const std::string& sql) {
  bool ran = false;
  client.Query(sql, true, ran);
  if (!ran) Fail(sql + ": " + client.ErrorText());
}

// The table is made once and kept in the server's data directory.
void PrepareTable(TMysqlClient& client) {
  Run(client, std::string("create database if not exists ") + Database);
  Run(client, "create table if not exists velmora_bench.rows_1m (id int primary key, amount decimal(12,2), "
              "name varchar(40), note varchar(100) null, created datetime)");
  bool ran = false;
  auto count = client.Query("select count(*) from velmora_bench.rows_1m", true, ran);
  if (!count) Fail(client.ErrorText());
  if (std::stoll(count->Value(0)) == Rows) return;
  Run(client, "truncate table velmora_bench.rows_1m");
  Run(client, "insert into velmora_bench.rows_1m select seq, seq * 1.25, concat('customer ', seq), "
              "if(seq % 4 = 0, null, repeat(char(97 + seq % 26), seq % 60)), "
              "'2024-01-01 00:00:00' + interval seq second from velmora_bench.seq_1_to_1000000");
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Bytes seen, so that neither side can skip the walk.
double TimeOwnClient(TMysqlClient& client, uint64_t& bytes) {
  const auto start = Clock::now();
  bool ran = false;
  auto result = client.Query(Select, true, ran);
  if (!result) Fail(client.ErrorText());
  bytes = 0;
  for (result->First(); !result->GetEof(); result->Next()) {
    result->FetchLengths(true);
    for (int c = 0; c < result->GetColumnCount(); ++c)
      if (result->Value(c)) bytes += result->Length(c) + 1;
  }
  if (result->GetRowCount() != uint64_t(Rows)) Fail("own client: wrong row count");
  result.reset();
  return Seconds(start);
}

// Best of `rounds` for each client, alternating, so that both meet the same
// state of the server.
void CompareMode(const TSettings& s, bool compress, int rounds) {
  TMysqlClient own;
  own.CompressionAllowed = compress;
  if (!own.Connect(s.host, s.user, s.password, "", s.port, "", vkTcp, 0)) Fail(own.ErrorText());
  if (own.Net().GetCompress() != compress)
    Fail(compress ? "the server did not offer compression" : "compression could not be kept off");
  PrepareTable(own);

  std::string error;
  TLibraryConnection* lib =
      LibraryConnect(s.host.c_str(), s.user.c_str(), s.password.c_str(), s.port, compress, error);
  if (!lib) Fail(error);
  double bestOwn = 1e9, bestLib = 1e9;
  uint64_t bytesOwn = 0, bytesLib = 0;
  for (int i = 0; i < rounds; ++i) {
    bestOwn = std::min(bestOwn, TimeOwnClient(own, bytesOwn));
    const double library = LibraryFetch(lib, Select, Rows, bytesLib, error);
    if (library < 0) Fail(error);
    bestLib = std::min(bestLib, library);
  }
  LibraryClose(lib);
  if (bytesOwn != bytesLib) Fail("the two clients saw different bytes");

  std::printf("%s:\n", compress ? "compressed" : "uncompressed");
  std::printf("  this client:             %.3f s\n", bestOwn);
  std::printf("  MariaDB client library:  %.3f s\n", bestLib);
  std::printf("  ratio (this / library):  %.2f\n", bestOwn / bestLib);
}

} // namespace

int main(int argc, char** argv) {
  TSettings s;
  if (!ReadSettings(s))
    Fail("VELMORA_TEST_MYSQL, VELMORA_TEST_USER and VELMORA_TEST_PASSWORD are not set (start tools/testdb)");
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("%d rows x 5 columns, best of %d rounds\n", Rows, rounds);
  CompareMode(s, false, rounds);
  CompareMode(s, true, rounds);
  return 0;
}
