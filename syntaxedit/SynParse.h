// Highlighting rules at run time: the compressor that keeps compiled rules
// small.
#pragma once

#include "Classes.h"

#include <cstdint>

// --- Compressor --------------------------------------------------------------

class ECompressorException : public Exception {
public:
  using Exception::Exception;
};

class ElzhException : public Exception {
public:
  using Exception::Exception;
};

class ECompressorKHCompressor : public Exception {
public:
  using Exception::Exception;
};

// Codecs of TCompressor::Method.
enum : uint8_t { cmLZH = 0, cmKH = 1, cmAdvise = 2 };

// Packs a stream or a file with the KH block codec or LZH and unpacks it
// again. The streams stay the caller's.
class TCompressor {
public:
  String InputFile;
  String OutputFile;
  uint8_t Method = cmKH;
  bool UseStreams = false;
  TStream* InputStream = nullptr;
  TStream* OutputStream = nullptr;
  int32_t AdvisePercent = 40;

  // Both return the number of bytes written (the container header included
  // for Compress).
  int64_t Compress();
  int64_t Decompress();
  // True when KH is expected to do well enough on the input.
  bool Advise();
};
