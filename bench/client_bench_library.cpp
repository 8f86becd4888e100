// The MariaDB client library's side of client_bench: the statement through
// mysql_real_query and mysql_store_result, compressed or not, and a walk over
// the rows.
#include <mysql.h>

#include <chrono>
#include <cstdint>
#include <string>

struct TLibraryConnection {
  MYSQL* mysql;
};

TLibraryConnection* LibraryConnect(const char* host, const char* user, const char* password, int port,
                                   bool compress, std::string& error) {
  MYSQL* mysql = mysql_init(nullptr);
  if (compress) mysql_options(mysql, MYSQL_OPT_COMPRESS, nullptr);
  if (!mysql_real_connect(mysql, host, user, password, nullptr, static_cast<unsigned>(port), nullptr, 0)) {
    error = mysql_error(mysql);
    mysql_close(mysql);
    return nullptr;
  }
  return new TLibraryConnection{mysql};
}

double LibraryFetch(TLibraryConnection* connection, const char* sql, uint64_t rows, uint64_t& bytes,
                    std::string& error) {
  MYSQL* mysql = connection->mysql;
  const auto start = std::chrono::steady_clock::now();
  if (mysql_real_query(mysql, sql, static_cast<unsigned long>(std::char_traits<char>::length(sql))) != 0) {
    error = mysql_error(mysql);
    return -1;
  }
  MYSQL_RES* result = mysql_store_result(mysql);
  if (!result) {
    error = mysql_error(mysql);
    return -1;
  }
  const unsigned columns = mysql_num_fields(result);
  bytes = 0;
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    for (unsigned c = 0; c < columns; ++c)
      if (row[c]) bytes += lengths[c] + 1;
  }
  const bool complete = mysql_num_rows(result) == rows;
  mysql_free_result(result);
  if (!complete) {
    error = "library: wrong row count";
    return -1;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void LibraryClose(TLibraryConnection* connection) {
  mysql_close(connection->mysql);
  delete connection;
}
