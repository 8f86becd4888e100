// The compressor: exact KH containers, round trips through both codecs, and
// damaged containers that must be refused without reading or writing wild.
#include "SynParse.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

using Bytes = std::string;

Bytes Pack(const Bytes& input, uint8_t method = cmKH, int skip = 0) {
  TStringStream in(input), out;
  in.SetPosition(skip);
  TCompressor c;
  c.UseStreams = true;
  c.Method = method;
  c.InputStream = &in;
  c.OutputStream = &out;
  int64_t written = c.Compress();
  EXPECT_EQ(written, static_cast<int64_t>(out.GetDataString().size()));
  return out.GetDataString();
}

Bytes Unpack(const Bytes& packed) {
  TStringStream in(packed), out;
  TCompressor c;
  c.UseStreams = true;
  c.InputStream = &in;
  c.OutputStream = &out;
  int64_t written = c.Decompress();
  EXPECT_EQ(written, static_cast<int64_t>(out.GetDataString().size()));
  return out.GetDataString();
}

Bytes Hex(std::initializer_list<int> bytes) {
  Bytes s;
  for (int b : bytes)
    s.push_back(static_cast<char>(b));
  return s;
}

// Bytes that no codec can shrink, the same on every run.
Bytes Noise(size_t n, uint32_t seed = 12345) {
  Bytes s(n, '\0');
  for (auto& c : s) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 23);
  }
  return s;
}

Bytes Text(size_t n) {
  static const char* words[] = {"CREATE ",     "TABLE ",  "`name` ", "varchar(20) ",
                                "NOT NULL,\r", "INSERT ", "1, "};
  Bytes s;
  for (uint32_t i = 0; s.size() < n; i = i * 7 + 3)
    s += words[i % 7];
  s.resize(n);
  return s;
}

const Bytes kKHEmpty = Hex({'W', 'R', 'Z', 'L', 0, 0, 0, 0, 1, 0, 128});

TEST(Compress, KHVectors) {
  struct Case {
    const char* name;
    Bytes input;
    Bytes packed;
  } cases[] = {
      {"empty input: one stored block of one byte", "", kKHEmpty},
      {"three literals then a match of six", "abcabcabc",
       Hex({'W', 'R', 'Z', 'L', 9, 0, 0, 0, 8, 0, 64, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x33})},
      {"an overlapping match one byte back", "aaaaaaaaa",
       Hex({'W', 'R', 'Z', 'L', 9, 0, 0, 0, 6, 0, 64, 0x40, 0x00, 'a', 0x00, 0x15})},
      {"a short input that does not shrink is stored", "ab",
       Hex({'W', 'R', 'Z', 'L', 2, 0, 0, 0, 3, 0, 128, 'a', 'b'})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Pack(c.input), c.packed);
    EXPECT_EQ(Unpack(c.packed), c.input);
  }
}

TEST(Compress, KHRunsOfEqualBytesAreAtMost4095Long) {
  Bytes input(20000, 'a');
  Bytes expected = Hex({'W', 'R', 'Z', 'L', 0x20, 0x4E, 0, 0, 23, 0, 64, 0xF8, 0x00});
  for (int i = 0; i < 4; ++i)
    expected += Hex({0, 0x0F, 0xEF, 'a'}); // 4,095 = 4,079 + 16
  expected += Hex({0, 0x0E, 0x14, 'a'});   // 3,620 = 3,604 + 16
  EXPECT_EQ(Pack(input), expected);
  EXPECT_EQ(Unpack(expected), input);
}

TEST(Compress, KHWholePiecesEndWithAnEmptyStoredBlock) {
  Bytes input = Noise(32768);
  Bytes packed = Pack(input);
  ASSERT_EQ(packed.size(), 8u + 2 + 32769 + 2 + 1);
  EXPECT_EQ(packed.substr(8, 3), Hex({0x01, 0x80, 128})); // stored: n + 1 bytes
  EXPECT_EQ(packed.substr(11, 32768), input);
  EXPECT_EQ(packed.substr(packed.size() - 3), Hex({1, 0, 128}));
}

TEST(Compress, RoundTripsThroughBothCodecs) {
  struct Case {
    const char* name;
    Bytes input;
  } cases[] = {
      {"empty", ""},
      {"one byte", "x"},
      {"32,768 bytes of text", Text(32768)},
      {"65,536 bytes of text", Text(65536)},
      {"incompressible", Noise(70000)},
      {"highly repetitive", Bytes(100000, 'z')},
      {"text with long runs", Text(5000) + Bytes(9000, ' ') + Text(40000)},
  };
  for (const auto& c : cases) {
    for (uint8_t method : {cmKH, cmLZH}) {
      SCOPED_TRACE(std::string(c.name) + (method == cmKH ? " (KH)" : " (LZH)"));
      Bytes packed = Pack(c.input, method);
      EXPECT_EQ(packed.substr(0, 4), method == cmKH ? "WRZL" : "!HZL");
      EXPECT_EQ(Unpack(packed), c.input);
    }
  }
  EXPECT_LT(Pack(Text(65536), cmLZH).size(), Pack(Text(65536), cmKH).size());
  EXPECT_LT(Pack(Bytes(100000, 'z')).size(), 200u);
}

TEST(Compress, StreamModeStoresTheSizeFromTheCurrentPosition) {
  Bytes input = "skip!" + Text(1000);
  for (uint8_t method : {cmKH, cmLZH}) {
    Bytes packed = Pack(input, method, 5);
    EXPECT_EQ(packed.substr(4, 4), Hex({0xE8, 0x03, 0, 0}));
    EXPECT_EQ(Unpack(packed), input.substr(5));
  }
}

TEST(Compress, DamagedContainersAreRefused) {
  Bytes good = Pack(Text(40000));
  Bytes lzh = Pack(Text(40000), cmLZH);
  Bytes bigStored = Hex({'W', 'R', 'Z', 'L', 0, 0, 0, 0, 0x02, 0x80, 128}) + Bytes(32769, 'q');
  struct Case {
    const char* name;
    Bytes packed;
    const char* message;
  } cases[] = {
      {"no signature", "ZZZZ" + good.substr(4),
       "Compressor decompression : input stream contains no valid header !"},
      {"empty input", "", "Compressor decompression : input stream contains no valid header !"},
      {"size cut short", good.substr(0, 6), "Compressor : Error reading from input stream !"},
      {"blocks cut short", good.substr(0, 100), "Compressor : Error reading from input stream !"},
      {"block length beyond the buffer", Hex({'W', 'R', 'Z', 'L', 0, 0, 0, 0, 0xFF, 0xFF}) + Bytes(65535, 0),
       "Compressor (decompression Compressor/KH) : Damaged compressed block !"},
      {"stored block longer than a piece", bigStored,
       "Compressor (decompression Compressor/KH) : Damaged compressed block !"},
      {"match before the first byte", Hex({'W', 'R', 'Z', 'L', 3, 0, 0, 0, 5, 0, 64, 0x80, 0x00, 0x01, 0x00}),
       "Compressor (decompression Compressor/KH) : Damaged compressed block !"},
      {"match cut in half", Hex({'W', 'R', 'Z', 'L', 3, 0, 0, 0, 5, 0, 64, 0x40, 0x00, 'a', 0x00}),
       "Compressor (decompression Compressor/KH) : Damaged compressed block !"},
      {"runs beyond 32,768 bytes",
       Hex({'W', 'R', 'Z', 'L', 0, 0, 0, 0, 51, 0, 64, 0xFF, 0xFF}) +
           [] {
             Bytes items;
             for (int i = 0; i < 12; ++i)
               items += Hex({0, 0x0F, 0xEF, 'r'});
             return items;
           }(),
       "Compressor (decompression Compressor/KH) : Damaged compressed block !"},
      {"stored size differs", good.substr(0, 4) + Hex({1, 0, 0, 0}) + good.substr(8),
       "Compressor (decompression Compressor/KH) : Original and compressed sizes do not match !"},
      {"LZH stream ends before the stated size", lzh.substr(0, lzh.size() / 2),
       "Compressor (LZH decompression) : Original and compressed sizes do not match !"},
      {"LZH size far beyond the stream", lzh.substr(0, 4) + Hex({0xFF, 0xFF, 0xFF, 0x7F}) + lzh.substr(8),
       "Compressor (LZH decompression) : Original and compressed sizes do not match !"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Unpack(c.packed);
      ADD_FAILURE() << "no error";
    } catch (const ECompressorException& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
}

TEST(Compress, AdviseOnSmallInputChoosesLZH) {
  Bytes input = Text(98303);
  TStringStream in(input);
  in.SetPosition(7);
  TCompressor c;
  c.UseStreams = true;
  c.Method = cmAdvise;
  c.InputStream = &in;
  EXPECT_FALSE(c.Advise());
  EXPECT_EQ(c.Method, cmLZH);
  EXPECT_EQ(in.GetPosition(), 7);
}

TEST(Compress, AdviseOnLargeInputWeighsKH) {
  TCompressor c;
  c.UseStreams = true;
  c.Method = cmAdvise;
  TStringStream repetitive(Bytes(200000, 'k'));
  c.InputStream = &repetitive;
  EXPECT_TRUE(c.Advise());
  EXPECT_EQ(c.Method, cmAdvise);
  TStringStream noise(Noise(200000));
  c.InputStream = &noise;
  EXPECT_FALSE(c.Advise());

  TStringStream out;
  c.InputStream = &repetitive;
  c.OutputStream = &out;
  repetitive.SetPosition(0);
  c.Compress();
  EXPECT_EQ(out.GetDataString().substr(0, 4), "WRZL");
}

TEST(Compress, FileModeLeavesNoOutputAfterAFailure) {
  String dir = testing::TempDir();
  String plain = dir + "compress_plain.bin", packed = dir + "compress_packed.bin",
         back = dir + "compress_back.bin";
  Bytes input = Text(50000);
  std::ofstream(plain, std::ios::binary) << input;
  TCompressor c;
  c.InputFile = plain;
  c.OutputFile = packed;
  c.Compress();
  c.InputFile = packed;
  c.OutputFile = back;
  EXPECT_EQ(c.Decompress(), 50000);
  {
    std::ifstream f(back, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(f), {}), input);
  }

  c.InputFile = plain; // no container
  try {
    c.Decompress();
    ADD_FAILURE() << "no error";
  } catch (const ECompressorException& e) {
    EXPECT_EQ(e.Message, plain + " : Compressor decompression : this file has no valid header !");
  }
  EXPECT_FALSE(std::ifstream(back).good());

  c.InputFile = dir + "compress_missing.bin";
  try {
    c.Compress();
    ADD_FAILURE() << "no error";
  } catch (const ECompressorException& e) {
    EXPECT_EQ(e.Message, "Compressor compression : Failed to obtain the size of : " + c.InputFile);
  }
  for (const String& name : {plain, packed, back})
    std::remove(name.c_str());
}

} // namespace
