// The compressor: a container naming its codec, the KH block codec (LZ77
// with a hash table, runs and matches under 16-bit control words) and LZH
// (LZSS over a 4,096-byte ring with adaptive Huffman coding).
#include "SynParse.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr int kPiece = 32768;
// Room past the end of a block buffer: a KH block may overrun its piece by a
// few bytes before it is turned into a stored block.
constexpr int kSlack = 16;
constexpr int kBuffer = kPiece + kSlack;

constexpr uint8_t kKHCompressed = 64;
constexpr uint8_t kKHStored = 128;

const char kSigKH[4] = {'W', 'R', 'Z', 'L'};
const char kSigLZH[4] = {'!', 'H', 'Z', 'L'};

const char* const sNoBuffers = "Compressor (de)compression : Failed to get memory for I/O buffers !";
const char* const sKHSizes =
    "Compressor (decompression Compressor/KH) : Original and compressed sizes do not match !";
const char* const sLZHSizes = "Compressor (LZH decompression) : Original and compressed sizes do not match !";
const char* const sKHDamaged = "Compressor (decompression Compressor/KH) : Damaged compressed block !";

[[noreturn]] void Fail(const String& text) {
  throw ECompressorException(text);
}

// --- KH ----------------------------------------------------------------------

// Compresses n (at most kPiece) bytes into out (kBuffer bytes); returns the
// block length. The table is the 4,096-entry hash of recent positions.
int KHCompressBlock(const uint8_t* in, int n, uint8_t* out, uint16_t* table) {
  std::fill(table, table + 4096, 0xFFFF);
  auto at = [&](int i) -> uint32_t { return i < n ? in[i] : 0; };
  out[0] = kKHCompressed;
  int ctrlPos = 1, op = 3, count = 0, p = 0;
  uint32_t ctrl = 0;
  while (p < n && op <= n) {
    if (count == 16) {
      out[ctrlPos] = static_cast<uint8_t>(ctrl >> 8);
      out[ctrlPos + 1] = static_cast<uint8_t>(ctrl);
      ctrlPos = op;
      op += 2;
      count = 0;
      ctrl = 0;
    }
    ctrl <<= 1;
    int j = 1;
    while (j < 4095 && p + j < n && in[p + j] == in[p])
      ++j;
    if (j >= 16) {
      out[op++] = 0;
      out[op++] = static_cast<uint8_t>((j - 16) >> 8);
      out[op++] = static_cast<uint8_t>(j - 16);
      out[op++] = in[p];
      ctrl |= 1;
      p += j;
    } else {
      uint32_t h = ((((at(p) << 4) ^ at(p + 1)) << 4) ^ at(p + 2)) * 40543u;
      h = (h >> 4) & 4095;
      int c = table[h];
      table[h] = static_cast<uint16_t>(p);
      int len = 0;
      if (c != 0xFFFF && p - c < 4096)
        while (len < 18 && p + len < n && in[p + len] == in[c + len])
          ++len;
      if (len >= 3) {
        uint32_t v = static_cast<uint32_t>(p - c) * 16 + static_cast<uint32_t>(len - 3);
        out[op++] = static_cast<uint8_t>(v >> 8);
        out[op++] = static_cast<uint8_t>(v);
        ctrl |= 1;
        p += len;
      } else {
        out[op++] = in[p++];
      }
    }
    ++count;
  }
  ctrl <<= (16 - count);
  out[ctrlPos] = static_cast<uint8_t>(ctrl >> 8);
  out[ctrlPos + 1] = static_cast<uint8_t>(ctrl);
  if (op > n) {
    out[0] = kKHStored;
    std::memcpy(out + 1, in, static_cast<size_t>(n));
    return n + 1;
  }
  return op;
}

// Decodes one block of m bytes into out (kPiece bytes); returns the bytes
// produced. The block comes from outside, so every read and write is checked.
int KHDecodeBlock(const uint8_t* blk, int m, uint8_t* out) {
  if (m < 2) return 0;
  if (blk[0] == kKHStored) {
    if (m - 1 > kPiece) Fail(sKHDamaged);
    std::memcpy(out, blk + 1, static_cast<size_t>(m - 1));
    return m - 1;
  }
  int ip = 1, op = 0, count = 16;
  uint32_t ctrl = 0;
  auto need = [&](int bytes) {
    if (ip + bytes > m) Fail(sKHDamaged);
  };
  while (ip < m) {
    if (count == 16) {
      need(2);
      ctrl = static_cast<uint32_t>(blk[ip] << 8 | blk[ip + 1]);
      ip += 2;
      count = 0;
      if (ip >= m) break;
    }
    bool copy = (ctrl & 0x8000) != 0;
    ctrl <<= 1;
    ++count;
    if (!copy) {
      if (op >= kPiece) Fail(sKHDamaged);
      out[op++] = blk[ip++];
      continue;
    }
    need(2);
    uint32_t v = static_cast<uint32_t>(blk[ip] << 8 | blk[ip + 1]);
    int offset = static_cast<int>(v >> 4);
    if (offset != 0) {
      int len = static_cast<int>(v & 15) + 3;
      if (offset > op || op + len > kPiece) Fail(sKHDamaged);
      for (int k = 0; k < len; ++k, ++op)
        out[op] = out[op - offset];
      ip += 2;
    } else {
      need(4);
      int len = ((blk[ip + 1] & 0x0F) << 8 | blk[ip + 2]) + 16;
      if (op + len > kPiece) Fail(sKHDamaged);
      std::memset(out + op, blk[ip + 3], static_cast<size_t>(len));
      op += len;
      ip += 4;
    }
  }
  return op;
}

// --- LZH ---------------------------------------------------------------------

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int NIL = N;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

const uint8_t p_len[64] = {0x03, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x06,
                           0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07,
                           0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
                           0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x08, 0x08, 0x08, 0x08,
                           0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};

const uint8_t p_code[64] = {0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90,
                            0x94, 0x98, 0x9C, 0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2,
                            0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE, 0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC,
                            0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE, 0xF0, 0xF1, 0xF2, 0xF3,
                            0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};

// Reads the input in pieces; past its end it hands out zero bytes, counting
// them so that a decoder can tell a stream that ran short.
class TByteSource {
public:
  TByteSource(TStream& s, String readError) : FStream(s), FReadError(std::move(readError)) {}
  int Get() {
    if (FPos == FLen && !Fill()) return -1;
    return FBuf[static_cast<size_t>(FPos++)];
  }
  int GetOrZero() {
    int c = Get();
    if (c >= 0) return c;
    ++FPhantom;
    return 0;
  }
  int64_t Phantom() const { return FPhantom; }

private:
  bool Fill() {
    if (FEnded) return false;
    int64_t got = 0;
    try {
      got = FStream.Read(FBuf.data(), kPiece);
    } catch (const Exception&) {
      Fail(FReadError);
    }
    FPos = 0;
    FLen = static_cast<int>(got);
    if (FLen < kPiece) FEnded = true;
    return FLen > 0;
  }
  TStream& FStream;
  String FReadError;
  std::vector<uint8_t> FBuf = std::vector<uint8_t>(kBuffer);
  int FPos = 0, FLen = 0;
  bool FEnded = false;
  int64_t FPhantom = 0;
};

// Collects output bytes and writes them out in pieces.
class TByteSink {
public:
  TByteSink(TStream& s, String writeError) : FStream(s), FWriteError(std::move(writeError)) {
    FBuf.reserve(kPiece);
  }
  void Put(uint8_t c) {
    FBuf.push_back(c);
    if (FBuf.size() == kPiece) Flush();
  }
  void Flush() {
    if (FBuf.empty()) return;
    int64_t n = static_cast<int64_t>(FBuf.size());
    int64_t written = 0;
    try {
      written = FStream.Write(FBuf.data(), n);
    } catch (const Exception&) {
      Fail(FWriteError);
    }
    if (written != n) Fail(FWriteError);
    FTotal += n;
    FBuf.clear();
  }
  int64_t Total() const { return FTotal + static_cast<int64_t>(FBuf.size()); }

private:
  TStream& FStream;
  String FWriteError;
  std::vector<uint8_t> FBuf;
  int64_t FTotal = 0;
};

// LZHUF: the tree, the ring and the Huffman tables for one run.
class TLzh {
public:
  TLzh() {
    for (int p = 0, i = 0; p < 64; ++p)
      for (int k = 0; k < (1 << (8 - p_len[p])); ++k, ++i) {
        d_code[i] = static_cast<uint8_t>(p);
        d_len[i] = p_len[p];
      }
  }

  void Encode(TByteSource& in, TByteSink& out);
  // Decodes until size bytes are out; raises when the input runs short.
  void Decode(TByteSource& in, TByteSink& out, int64_t size, int64_t inputBytes);

private:
  // Encoder tree of ring positions.
  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);
  // Adaptive Huffman coding.
  void StartHuff();
  void Reconst();
  void Update(int c);
  void PutCode(int l, unsigned c);
  void EncodeChar(unsigned c);
  void EncodePosition(unsigned c);
  void EncodeEnd();
  int GetBit();
  int GetByte();
  int DecodeChar();
  int DecodePosition();

  uint8_t text_buf[N + F - 1] = {};
  int match_position = 0, match_length = 0;
  int lson[N + 1] = {}, rson[N + 257] = {}, dad[N + 1] = {};
  unsigned freq[T + 1] = {};
  int prnt[T + N_CHAR] = {};
  int son[T] = {};
  uint8_t d_code[256] = {}, d_len[256] = {};
  uint16_t getbuf = 0, putbuf = 0;
  int getlen = 0, putlen = 0;
  TByteSource* FIn = nullptr;
  TByteSink* FOut = nullptr;
};

void TLzh::InitTree() {
  for (int i = N + 1; i <= N + 256; i++)
    rson[i] = NIL;
  for (int i = 0; i < N; i++)
    dad[i] = NIL;
}

void TLzh::InsertNode(int r) {
  int cmp = 1;
  const uint8_t* key = &text_buf[r];
  int p = N + 1 + key[0];
  rson[r] = lson[r] = NIL;
  match_length = 0;
  for (;;) {
    if (cmp >= 0) {
      if (rson[p] != NIL) {
        p = rson[p];
      } else {
        rson[p] = r;
        dad[r] = p;
        return;
      }
    } else {
      if (lson[p] != NIL) {
        p = lson[p];
      } else {
        lson[p] = r;
        dad[r] = p;
        return;
      }
    }
    int i;
    for (i = 1; i < F; i++)
      if ((cmp = key[i] - text_buf[p + i]) != 0) break;
    if (i > THRESHOLD) {
      if (i > match_length) {
        match_position = ((r - p) & (N - 1)) - 1;
        if ((match_length = i) >= F) break;
      }
      if (i == match_length) {
        int c = ((r - p) & (N - 1)) - 1;
        if (c < match_position) match_position = c;
      }
    }
  }
  dad[r] = dad[p];
  lson[r] = lson[p];
  rson[r] = rson[p];
  dad[lson[p]] = r;
  dad[rson[p]] = r;
  if (rson[dad[p]] == p)
    rson[dad[p]] = r;
  else
    lson[dad[p]] = r;
  dad[p] = NIL;
}

void TLzh::DeleteNode(int p) {
  if (dad[p] == NIL) return;
  int q;
  if (rson[p] == NIL) {
    q = lson[p];
  } else if (lson[p] == NIL) {
    q = rson[p];
  } else {
    q = lson[p];
    if (rson[q] != NIL) {
      do {
        q = rson[q];
      } while (rson[q] != NIL);
      rson[dad[q]] = lson[q];
      dad[lson[q]] = dad[q];
      lson[q] = lson[p];
      dad[lson[p]] = q;
    }
    rson[q] = rson[p];
    dad[rson[p]] = q;
  }
  dad[q] = dad[p];
  if (rson[dad[p]] == p)
    rson[dad[p]] = q;
  else
    lson[dad[p]] = q;
  dad[p] = NIL;
}

void TLzh::StartHuff() {
  int i, j;
  for (i = 0; i < N_CHAR; i++) {
    freq[i] = 1;
    son[i] = i + T;
    prnt[i + T] = i;
  }
  i = 0;
  j = N_CHAR;
  while (j <= R) {
    freq[j] = freq[i] + freq[i + 1];
    son[j] = i;
    prnt[i] = prnt[i + 1] = j;
    i += 2;
    j++;
  }
  freq[T] = 0xffff;
  prnt[R] = 0;
}

void TLzh::Reconst() {
  int j = 0;
  for (int i = 0; i < T; i++) {
    if (son[i] >= T) {
      freq[j] = (freq[i] + 1) / 2;
      son[j] = son[i];
      j++;
    }
  }
  // Join the two smallest remaining nodes, keeping the table sorted.
  for (int i = 0, node = N_CHAR; node < T; i += 2, node++) {
    unsigned f = freq[node] = freq[i] + freq[i + 1];
    int k = node - 1;
    while (f < freq[k])
      k--;
    k++;
    std::memmove(&freq[k + 1], &freq[k], static_cast<size_t>(node - k) * sizeof freq[0]);
    freq[k] = f;
    std::memmove(&son[k + 1], &son[k], static_cast<size_t>(node - k) * sizeof son[0]);
    son[k] = i;
  }
  for (int i = 0; i < T; i++) {
    int k = son[i];
    if (k >= T)
      prnt[k] = i;
    else
      prnt[k] = prnt[k + 1] = i;
  }
}

void TLzh::Update(int c) {
  if (freq[R] == MAX_FREQ) Reconst();
  c = prnt[c + T];
  do {
    unsigned k = ++freq[c];
    int l = c + 1;
    if (k > freq[l]) {
      while (k > freq[++l]) {
      }
      l--;
      freq[c] = freq[l];
      freq[l] = k;
      int i = son[c];
      prnt[i] = l;
      if (i < T) prnt[i + 1] = l;
      int j = son[l];
      son[l] = i;
      prnt[j] = c;
      if (j < T) prnt[j + 1] = c;
      son[c] = j;
      c = l;
    }
  } while ((c = prnt[c]) != 0);
}

// The 16-bit bit buffer of the published coder, kept to 16 bits.
void TLzh::PutCode(int l, unsigned c) {
  putbuf = static_cast<uint16_t>(putbuf | (c >> putlen));
  if ((putlen += l) >= 8) {
    FOut->Put(static_cast<uint8_t>(putbuf >> 8));
    if ((putlen -= 8) >= 8) {
      FOut->Put(static_cast<uint8_t>(putbuf));
      putlen -= 8;
      putbuf = static_cast<uint16_t>(c << (l - putlen));
    } else {
      putbuf = static_cast<uint16_t>(putbuf << 8);
    }
  }
}

void TLzh::EncodeChar(unsigned c) {
  unsigned i = 0;
  int j = 0;
  int k = prnt[c + T];
  do {
    i >>= 1;
    if (k & 1) i += 0x8000;
    j++;
  } while ((k = prnt[k]) != R);
  PutCode(j, i);
  Update(static_cast<int>(c));
}

void TLzh::EncodePosition(unsigned c) {
  unsigned i = c >> 6;
  PutCode(p_len[i], static_cast<unsigned>(p_code[i]) << 8);
  PutCode(6, (c & 0x3f) << 10);
}

void TLzh::EncodeEnd() {
  if (putlen) FOut->Put(static_cast<uint8_t>(putbuf >> 8));
}

int TLzh::GetBit() {
  while (getlen <= 8) {
    getbuf = static_cast<uint16_t>(getbuf | (FIn->GetOrZero() << (8 - getlen)));
    getlen += 8;
  }
  int bit = getbuf >> 15;
  getbuf = static_cast<uint16_t>(getbuf << 1);
  getlen--;
  return bit;
}

int TLzh::GetByte() {
  while (getlen <= 8) {
    getbuf = static_cast<uint16_t>(getbuf | (FIn->GetOrZero() << (8 - getlen)));
    getlen += 8;
  }
  int i = getbuf;
  getbuf = static_cast<uint16_t>(getbuf << 8);
  getlen -= 8;
  return i >> 8;
}

int TLzh::DecodeChar() {
  unsigned c = static_cast<unsigned>(son[R]);
  while (c < T) {
    c += static_cast<unsigned>(GetBit());
    c = static_cast<unsigned>(son[c]);
  }
  c -= T;
  Update(static_cast<int>(c));
  return static_cast<int>(c);
}

int TLzh::DecodePosition() {
  unsigned i = static_cast<unsigned>(GetByte());
  unsigned c = static_cast<unsigned>(d_code[i]) << 6;
  unsigned j = d_len[i];
  j -= 2;
  while (j--)
    i = (i << 1) + static_cast<unsigned>(GetBit());
  return static_cast<int>(c | (i & 0x3f));
}

void TLzh::Encode(TByteSource& in, TByteSink& out) {
  FIn = &in;
  FOut = &out;
  StartHuff();
  InitTree();
  int s = 0, r = N - F, len, c;
  for (int i = s; i < r; i++)
    text_buf[i] = ' ';
  for (len = 0; len < F && (c = in.Get()) >= 0; len++)
    text_buf[r + len] = static_cast<uint8_t>(c);
  if (len == 0) return;
  for (int i = 1; i <= F; i++)
    InsertNode(r - i);
  InsertNode(r);
  do {
    if (match_length > len) match_length = len;
    if (match_length <= THRESHOLD) {
      match_length = 1;
      EncodeChar(text_buf[r]);
    } else {
      EncodeChar(static_cast<unsigned>(255 - THRESHOLD + match_length));
      EncodePosition(static_cast<unsigned>(match_position));
    }
    int last_match_length = match_length, i;
    for (i = 0; i < last_match_length && (c = in.Get()) >= 0; i++) {
      DeleteNode(s);
      text_buf[s] = static_cast<uint8_t>(c);
      if (s < F - 1) text_buf[s + N] = static_cast<uint8_t>(c);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertNode(r);
    }
    while (i++ < last_match_length) {
      DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len) InsertNode(r);
    }
  } while (len > 0);
  EncodeEnd();
}

void TLzh::Decode(TByteSource& in, TByteSink& out, int64_t size, int64_t inputBytes) {
  if (size == 0) return;
  FIn = &in;
  FOut = &out;
  StartHuff();
  for (int i = 0; i < N - F; i++)
    text_buf[i] = ' ';
  int r = N - F;
  // A valid stream never needs bits past its last byte; the bit buffer reads
  // up to two bytes ahead, so only the bits actually taken are counted.
  auto ranShort = [&] {
    int64_t fetched = inputBytes + in.Phantom();
    return fetched * 8 - getlen > inputBytes * 8;
  };
  for (int64_t count = 0; count < size;) {
    int c = DecodeChar();
    if (c < 256) {
      if (ranShort()) Fail(sLZHSizes);
      out.Put(static_cast<uint8_t>(c));
      text_buf[r++] = static_cast<uint8_t>(c);
      r &= (N - 1);
      count++;
    } else {
      int i = (r - DecodePosition() - 1) & (N - 1);
      if (ranShort()) Fail(sLZHSizes);
      int j = c - 255 + THRESHOLD;
      for (int k = 0; k < j; k++) {
        c = text_buf[(i + k) & (N - 1)];
        out.Put(static_cast<uint8_t>(c));
        text_buf[r++] = static_cast<uint8_t>(c);
        r &= (N - 1);
        count++;
      }
    }
  }
}

// --- The driver --------------------------------------------------------------

// One run of the compressor: the two ends (streams or files) and the texts of
// their errors.
class TRun {
public:
  explicit TRun(TCompressor& c) : FC(c) {}
  ~TRun() { Close(); }

  void OpenStreams() {
    auto check = [](TStream* s, const char* text) {
      try {
        if (s) {
          s->Seek(0, soCurrent);
          return;
        }
      } catch (const Exception&) {
      }
      Fail(text);
    };
    check(FC.InputStream, "Compressor (de)compression : Failed to initialize input stream !");
    check(FC.OutputStream, "Compressor (de)compression : Failed to initialize output stream !");
    In = FC.InputStream;
    Out = FC.OutputStream;
  }

  void OpenFiles() {
    try {
      FInFile = std::make_unique<TFileStream>(FC.InputFile, fmOpenRead | fmShareDenyNone);
    } catch (const Exception&) {
      Fail("Compressor (de)compression : Failed to open input file : " + FC.InputFile);
    }
    try {
      FOutFile = std::make_unique<TFileStream>(FC.OutputFile, fmCreate);
    } catch (const Exception&) {
      Fail("Compressor (de)compression : Failed to open output file : " + FC.OutputFile);
    }
    In = FInFile.get();
    Out = FOutFile.get();
  }

  void Open() {
    if (FC.UseStreams)
      OpenStreams();
    else
      OpenFiles();
  }

  // In file mode a failed run leaves no output file behind.
  void Abandon() {
    if (FC.UseStreams || !FOutFile) return;
    FOutFile.reset();
    std::remove(FC.OutputFile.c_str());
  }

  void Close() {
    FInFile.reset();
    FOutFile.reset();
  }

  String WriteError() const {
    return FC.UseStreams ? String("Compressor : Error writing to output stream !")
                         : "Compressor : Error writing to output file : " + FC.OutputFile;
  }
  String ReadError(const char* codec) const {
    return FC.UseStreams
               ? Format("Compressor : Error reading from input stream ! (%s)", codec)
               : Format("Compressor : Error reading from input file : %s (%s)", FC.InputFile, codec);
  }
  String PlainReadError() const {
    return FC.UseStreams ? String("Compressor : Error reading from input stream !")
                         : "Compressor : Error reading from input file : " + FC.InputFile;
  }

  int64_t ReadSome(void* buf, int64_t n, const String& error) {
    try {
      return In->Read(buf, n);
    } catch (const Exception&) {
      Fail(error);
    }
  }
  void ReadExactly(void* buf, int64_t n) {
    if (ReadSome(buf, n, PlainReadError()) != n) Fail(PlainReadError());
  }
  void WriteAll(const void* buf, int64_t n) {
    int64_t written = 0;
    try {
      written = Out->Write(buf, n);
    } catch (const Exception&) {
      Fail(WriteError());
    }
    if (written != n) Fail(WriteError());
  }

  TStream* In = nullptr;
  TStream* Out = nullptr;

private:
  TCompressor& FC;
  std::unique_ptr<TFileStream> FInFile;
  std::unique_ptr<TFileStream> FOutFile;
};

void PutLE32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

struct TBuffers {
  std::vector<uint8_t> In, Out;
  std::vector<uint16_t> Hash;
  explicit TBuffers(const char* noMemory) {
    try {
      In.resize(kBuffer);
      Out.resize(kBuffer);
      Hash.resize(4096);
    } catch (const std::bad_alloc&) {
      Fail(noMemory);
    }
  }
};

std::unique_ptr<TLzh> NewLzh() {
  try {
    return std::make_unique<TLzh>();
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
}

int64_t InputSize(TCompressor& c) {
  if (c.UseStreams) {
    try {
      if (c.InputStream) return c.InputStream->GetSize() - c.InputStream->GetPosition();
    } catch (const Exception&) {
    }
    Fail("Compressor compression : Failed to obtain the size of the input stream !");
  }
  try {
    TFileStream f(c.InputFile, fmOpenRead | fmShareDenyNone);
    return f.GetSize();
  } catch (const Exception&) {
    Fail("Compressor compression : Failed to obtain the size of : " + c.InputFile);
  }
}

} // namespace

int64_t TCompressor::Compress() {
  uint8_t m = Method;
  if (m == cmAdvise) m = Advise() ? cmKH : cmLZH;
  TBuffers buf(sNoBuffers);
  int64_t size = InputSize(*this);
  TRun run(*this);
  run.Open();
  try {
    uint8_t header[8];
    std::memcpy(header, m == cmKH ? kSigKH : kSigLZH, 4);
    PutLE32(header + 4, static_cast<uint32_t>(size));
    run.WriteAll(header, 8);
    int64_t total = 8;
    if (m == cmKH) {
      String readError = run.ReadError("Compressor/KH");
      for (;;) {
        int64_t got = 0;
        while (got < kPiece) {
          int64_t n = run.ReadSome(buf.In.data() + got, kPiece - got, readError);
          if (n <= 0) break;
          got += n;
        }
        int len = KHCompressBlock(buf.In.data(), static_cast<int>(got), buf.Out.data(), buf.Hash.data());
        uint8_t lenBytes[2] = {static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8)};
        run.WriteAll(lenBytes, 2);
        run.WriteAll(buf.Out.data(), len);
        total += 2 + len;
        if (got < kPiece) break;
      }
    } else {
      auto lzh = NewLzh();
      TByteSource source(*run.In, run.ReadError("LZH"));
      TByteSink sink(*run.Out, run.WriteError());
      lzh->Encode(source, sink);
      sink.Flush();
      total += sink.Total();
    }
    run.Close();
    return total;
  } catch (...) {
    run.Abandon();
    throw;
  }
}

int64_t TCompressor::Decompress() {
  TBuffers buf(sNoBuffers);
  TRun run(*this);
  run.Open();
  try {
    char sig[4] = {};
    int64_t got = run.ReadSome(sig, 4, run.PlainReadError());
    bool kh = got == 4 && std::memcmp(sig, kSigKH, 4) == 0;
    bool lzh = got == 4 && std::memcmp(sig, kSigLZH, 4) == 0;
    if (!kh && !lzh)
      Fail(UseStreams ? String("Compressor decompression : input stream contains no valid header !")
                      : InputFile + " : Compressor decompression : this file has no valid header !");
    uint8_t sizeBytes[4];
    run.ReadExactly(sizeBytes, 4);
    int64_t size = GetLE32(sizeBytes);
    int64_t total = 0;
    if (kh) {
      for (;;) {
        uint8_t lenBytes[2];
        run.ReadExactly(lenBytes, 2);
        int len = lenBytes[0] | lenBytes[1] << 8;
        if (len > kBuffer) Fail(sKHDamaged);
        run.ReadExactly(buf.In.data(), len);
        int n = KHDecodeBlock(buf.In.data(), len, buf.Out.data());
        run.WriteAll(buf.Out.data(), n);
        total += n;
        if (n < kPiece) break;
      }
      if (total != size) Fail(sKHSizes);
    } else {
      auto codec = NewLzh();
      int64_t inputBytes = 0;
      try {
        inputBytes = std::max<int64_t>(0, run.In->GetSize() - run.In->GetPosition());
      } catch (const Exception&) {
        Fail(run.PlainReadError());
      }
      TByteSource source(*run.In, run.ReadError("LZH"));
      TByteSink sink(*run.Out, run.WriteError());
      codec->Decode(source, sink, size, inputBytes);
      sink.Flush();
      total = sink.Total();
      if (total != size) Fail(sLZHSizes);
    }
    run.Close();
    return total;
  } catch (...) {
    run.Abandon();
    throw;
  }
}

bool TCompressor::Advise() {
  int64_t saved = 0;
  if (UseStreams) {
    if (!InputStream) Fail("Compressor advise : can not get size of inputstream !");
    saved = InputStream->GetPosition();
  }
  TBuffers buf("Compressor advise : Error getting I/O buffers");
  std::unique_ptr<TFileStream> file;
  TStream* in = InputStream;
  int64_t size = 0;
  if (UseStreams) {
    try {
      size = in->GetSize();
    } catch (const Exception&) {
      Fail("Compressor advise : can not get size of inputstream !");
    }
    try {
      in->Seek(0, soBeginning);
    } catch (const Exception&) {
      Fail("Compressor edvise : can not initialize the input stream!");
    }
  } else {
    try {
      file = std::make_unique<TFileStream>(InputFile, fmOpenRead | fmShareDenyNone);
    } catch (const Exception&) {
      Fail("Compressor advise : can open input file : " + InputFile);
    }
    in = file.get();
    size = in->GetSize();
  }
  bool answer = false;
  if (size > 98303) {
    String readError = UseStreams ? String("Compressor advise : input stream read error !")
                                  : "Compressor advise : read error on input file : " + InputFile;
    int64_t packed = 0, read = 0;
    for (int64_t at : {size / 3, size * 2 / 3}) {
      int64_t got = 0;
      try {
        in->Seek(at / kPiece * kPiece, soBeginning);
        got = in->Read(buf.In.data(), kPiece);
      } catch (const Exception&) {
        Fail(readError);
      }
      read += got;
      packed += KHCompressBlock(buf.In.data(), static_cast<int>(got), buf.Out.data(), buf.Hash.data());
    }
    answer = packed < read * AdvisePercent / 100;
  } else {
    Method = cmLZH;
  }
  if (UseStreams) InputStream->Seek(saved, soBeginning);
  return answer;
}
