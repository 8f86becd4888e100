// Feeds damaged data to the reader of stored highlighting rules and to the
// decompressor. The reader may refuse data only with its format error, the
// decompressor only with its own exception; anything else (a crash, a
// sanitizer report, another exception) is a fault. Rules the reader accepted
// must tokenize a text.
//
// Built with clang's -fsanitize=fuzzer (VELMORA_LIBFUZZER) this is a libFuzzer
// target; otherwise main() runs a bounded loop of mutated valid inputs:
//   rules_fuzz [iterations] [seed]

#include "SynParse.h"
#include "SyntaxEd_stream.h"

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

[[noreturn]] void Fault(const char* what, const char* message) {
  std::fprintf(stderr, "%s: %s\n", what, message);
  std::abort();
}

void Tokenize(TSyntaxMemoParser& parser) {
  TTextStore store;
  TRowRecord* row = NewRowRecord("select 'a', `b` -- c\r", 21);
  TRowRecord* next = NewRowRecord("/* d */ 1.5e3 # e", 17);
  row->Next = next;
  next->Prev = row;
  store.SetFirstRow(row);
  store.SetRowCount(2);
  store.SetTextLength(38);
  TEdStream s(&store);
  s.AttachToRow(row, 0, 0);
  parser.SetStateFromToken(0);
  while (!s.AtEnd()) {
    int length = 0;
    parser.NextToken(nullptr, s, length);
  }
}

void ReadRules(const uint8_t* data, size_t size) {
  TSyntaxMemoParser parser(nullptr);
  TStringStream in(String(reinterpret_cast<const char*>(data), size));
  try {
    parser.ReadParserData(in);
  } catch (const ESyntaxMemoParserError&) {
    return;
  } catch (const std::exception& e) {
    Fault("rules reader", e.what());
  }
  try {
    Tokenize(parser);
  } catch (const Exception&) {
    // Stored state changes may pop an empty stack: the scan's own error.
  } catch (const std::exception& e) {
    Fault("tokenizer", e.what());
  }
}

void Decompress(const uint8_t* data, size_t size) {
  TStringStream in(String(reinterpret_cast<const char*>(data), size)), out;
  TCompressor c;
  c.UseStreams = true;
  c.InputStream = &in;
  c.OutputStream = &out;
  try {
    c.Decompress();
  } catch (const ECompressorException&) {
  } catch (const std::exception& e) {
    Fault("decompressor", e.what());
  }
}

void FuzzOne(const uint8_t* data, size_t size) {
  if (size == 0) return;
  // The first byte chooses the reader, so one corpus serves both.
  if (data[0] & 1)
    ReadRules(data + 1, size - 1);
  else
    Decompress(data + 1, size - 1);
}

} // namespace

#ifdef VELMORA_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzOne(data, size);
  return 0;
}
#else

namespace {

std::vector<uint8_t> Bytes(const String& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

// Packs (with the given codec) or unpacks a whole text.
String Codec(const String& input, bool pack, uint8_t method = cmKH) {
  TStringStream in(input), out;
  TCompressor c;
  c.UseStreams = true;
  c.Method = method;
  c.InputStream = &in;
  c.OutputStream = &out;
  if (pack)
    c.Compress();
  else
    c.Decompress();
  return out.GetDataString();
}

// Stored rules whose payload (below the compressor) is damaged, so that the
// reader itself meets the damage.
std::vector<uint8_t> DamagedPayload(const std::vector<uint8_t>& rules, std::mt19937& rng) {
  String stored(rules.begin() + 1, rules.end());
  String payload = Codec(stored.substr(6), false);
  for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k)
    payload[rng() % payload.size()] = static_cast<char>(rng());
  if (rng() % 4 == 0) payload.resize(rng() % payload.size());
  return Bytes(String(1, '\x01').append(stored, 0, 6).append(Codec(payload, true)));
}

// Valid inputs to start from: the project's stored SQL rules and containers
// of both codecs.
std::vector<std::vector<uint8_t>> Seeds() {
  TMemoryStream rules;
  rules.LoadFromFile(VELMORA_SQL_RULES);
  std::vector<std::vector<uint8_t>> seeds;
  seeds.push_back(Bytes(String(1, '\x01').append(rules.GetMemory(), static_cast<size_t>(rules.GetSize()))));
  String text;
  for (int i = 0; i < 3000; ++i)
    text += "insert into t values (" + IntToStr(i) + ", 'row');\r";
  seeds.push_back(Bytes(String(1, '\x02').append(Codec(text, true))));
  seeds.push_back(Bytes(String(1, '\x02').append(Codec(text, true, cmLZH))));
  return seeds;
}

} // namespace

int main(int argc, char** argv) {
  long iterations = argc > 1 ? std::atol(argv[1]) : 20000;
  unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1;
  std::mt19937 rng(seed);
  std::vector<std::vector<uint8_t>> seeds = Seeds();
  for (long i = 0; i < iterations; ++i) {
    size_t which = rng() % (seeds.size() + 1);
    if (which == seeds.size()) {
      std::vector<uint8_t> data = DamagedPayload(seeds[0], rng);
      FuzzOne(data.data(), data.size());
      continue;
    }
    std::vector<uint8_t> data = seeds[which];
    switch (rng() % 4) {
    case 0: // flip a few bytes
      for (int k = 1 + static_cast<int>(rng() % 8); k > 0; --k)
        data[1 + rng() % (data.size() - 1)] ^= 1 << (rng() % 8);
      break;
    case 1: // cut the end
      data.resize(1 + rng() % (data.size() - 1));
      break;
    case 2: // overwrite a run with one value
    {
      size_t at = 1 + rng() % (data.size() - 1);
      size_t n = std::min<size_t>(data.size() - at, 1 + rng() % 64);
      std::fill_n(data.begin() + static_cast<long>(at), n, static_cast<uint8_t>(rng()));
      break;
    }
    default: // set a byte near the front, where counts and sizes are
      data[1 + rng() % std::min<size_t>(data.size() - 1, 40)] = static_cast<uint8_t>(rng());
    }
    FuzzOne(data.data(), data.size());
  }
  std::printf("rules_fuzz: %ld inputs, no fault\n", iterations);
  return 0;
}
#endif
