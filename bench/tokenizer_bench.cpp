// Tokenizes a generated SQL dump (CREATE TABLE and INSERT statements) with
// the project's compiled SQL rules and prints the speed:
//   tokenizer_bench [megabytes]   (50 by default)
// Three passes: NextToken over the whole text; a full rescan that also
// writes every row's token bytes, as the editor does after loading a script;
// and the full rescan again with every row forced, as after a change of
// language, where the rows already have token bytes: the same work without
// first touching fresh memory for them, which a virtual machine can make
// cost as much as the scan itself. Each pass prints a checksum of the token
// bytes it produced, so that a faster tokenizer can be shown to colour every
// character as before.

#include "SqlDump.h"
#include "SynParse.h"
#include "SyntaxEd_rescan.h"
#include "SyntaxEd_stream.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The rows of the text as the editing core lays them out.
void Fill(TTextStore& store, const String& text) {
  TRowRecord* last = nullptr;
  int rows = 0;
  for (size_t at = 0; at < text.size();) {
    size_t cr = text.find('\r', at);
    size_t end = std::min(cr == String::npos ? text.size() : cr + 1, at + 2047);
    TRowRecord* row = NewRowRecord(text.data() + at, static_cast<int>(end - at));
    row->Prev = last;
    if (last)
      last->Next = row;
    else
      store.SetFirstRow(row);
    last = row;
    ++rows;
    at = end;
  }
  store.SetRowCount(rows);
  store.SetTextLength(static_cast<int>(text.size()));
}

// FNV-1a over the token bytes: stable across builds and platforms.
uint64_t Checksum(const uint8_t* bytes, size_t count, uint64_t hash = 14695981039346656037ull) {
  for (size_t i = 0; i < count; ++i)
    hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

uint64_t RowsChecksum(const TTextStore& store) {
  uint64_t hash = Checksum(nullptr, 0);
  for (const TRowRecord* row = store.GetFirstRow(); row; row = row->Next)
    if (row->Tokens) hash = Checksum(row->Tokens.get(), row->Length, hash);
  return hash;
}

// NextToken over the whole text. With bytes, every character also gets its
// token's value there, as a rescan would write it; the timed pass writes
// nothing, so that only the tokenizer is timed.
long ScanTokens(TSyntaxMemoParser& parser, TTextStore& store, uint8_t* bytes) {
  TEdStream s(&store);
  s.AttachToRow(store.GetFirstRow(), 0, 0);
  parser.SetStateFromToken(0);
  long tokens = 0;
  while (!s.AtEnd()) {
    int at = s.CurrentPos();
    int length = 0;
    uint8_t token = parser.NextToken(nullptr, s, length);
    if (bytes) std::memset(bytes + at, token, static_cast<size_t>(s.CurrentPos() - at));
    ++tokens;
  }
  return tokens;
}

// Processor time of this process, not wall time: the machines that run the
// benchmark are shared, and time spent waiting for a processor is no one's.
double Seconds(std::clock_t since) {
  return static_cast<double>(std::clock() - since) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv) {
  size_t megabytes = argc > 1 ? static_cast<size_t>(std::atoi(argv[1])) : 50;
  try {
    TSyntaxMemoParser parser(nullptr);
    TMemoryStream rules;
    rules.LoadFromFile(VELMORA_SQL_RULES);
    parser.ReadParserData(rules);

    String text = GeneratedSqlDump(megabytes << 20);
    TTextStore store;
    Fill(store, text);
    double mb = static_cast<double>(text.size()) / (1 << 20);
    std::printf("text: %.1f MB in %d rows\n", mb, store.GetRowCount());

    std::clock_t start = std::clock();
    long tokens = ScanTokens(parser, store, nullptr);
    double t1 = Seconds(start);
    std::vector<uint8_t> bytes(text.size());
    ScanTokens(parser, store, bytes.data());
    std::printf("NextToken: %ld tokens, %.2f s, %.1f MB/s, token bytes checksum %016llx\n", tokens, t1,
                mb / t1, static_cast<unsigned long long>(Checksum(bytes.data(), bytes.size())));

    THighlightRescanner rescanner(store);
    rescanner.Parser = &parser;
    start = std::clock();
    rescanner.RescanAll();
    double t2 = Seconds(start);
    std::printf("full rescan writing token bytes: %.2f s, %.1f MB/s, token bytes checksum %016llx\n", t2,
                mb / t2, static_cast<unsigned long long>(RowsChecksum(store)));

    for (TRowRecord* row = store.GetFirstRow(); row; row = row->Next)
      row->Flags |= rfForceScan;
    start = std::clock();
    rescanner.RescanAll();
    double t3 = Seconds(start);
    std::printf("full rescan of rows with token bytes: %.2f s, %.1f MB/s, token bytes checksum %016llx\n", t3,
                mb / t3, static_cast<unsigned long long>(RowsChecksum(store)));
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
  return 0;
}
