#include "uMysqlNet.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr int HeaderLength = 4;
constexpr int CompressedHeaderLength = 7;
constexpr uint8_t ErrorPacketMarker = 255;
constexpr int MaxRetries = 2;
constexpr size_t MaxServerMessage = 199;

void Store3(uint8_t* p, size_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
}

int Load3(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

} // namespace

// zlib's deflate and inflate states, each made at its first use and reset for
// every frame after: making one costs more than a small frame's whole work.
class TMysqlZlib {
public:
  TMysqlZlib() = default;
  ~TMysqlZlib() {
    if (FDeflating) deflateEnd(&FDeflate);
    if (FInflating) inflateEnd(&FInflate);
  }
  TMysqlZlib(const TMysqlZlib&) = delete;
  TMysqlZlib& operator=(const TMysqlZlib&) = delete;

  // Deflates length bytes into `to` (room for `room` bytes); the deflated
  // length, or 0 when zlib fails or the room is too small.
  size_t Deflate(const uint8_t* bytes, size_t length, uint8_t* to, size_t room) {
    if (!FDeflating && deflateInit(&FDeflate, Z_DEFAULT_COMPRESSION) != Z_OK) return 0;
    FDeflating = true;
    if (deflateReset(&FDeflate) != Z_OK) return 0;
    Point(FDeflate, bytes, length, to, room);
    return deflate(&FDeflate, Z_FINISH) == Z_STREAM_END ? size_t(FDeflate.total_out) : 0;
  }

  // Inflates length bytes into `to` (room for `room` bytes); the inflated
  // length, or -1 for bad data or data that inflates beyond the room.
  int Inflate(const uint8_t* packed, size_t length, uint8_t* to, size_t room) {
    if (!FInflating && inflateInit(&FInflate) != Z_OK) return -1;
    FInflating = true;
    if (inflateReset(&FInflate) != Z_OK) return -1;
    Point(FInflate, packed, length, to, room);
    return inflate(&FInflate, Z_FINISH) == Z_STREAM_END ? int(FInflate.total_out) : -1;
  }

private:
  static void Point(z_stream& stream, const uint8_t* in, size_t inLength, uint8_t* out, size_t outRoom) {
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = static_cast<uInt>(inLength);
    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(outRoom);
  }

  z_stream FDeflate{};
  z_stream FInflate{};
  bool FDeflating = false;
  bool FInflating = false;
};

namespace {

// Deflates length bytes into a scratch buffer; false when zlib fails.
bool CompressToNewBuffer(TMysqlZlib& zlib, const uint8_t* bytes, size_t length,
                         std::vector<uint8_t>& packed) {
  packed.resize(static_cast<size_t>(static_cast<double>(length * 120) / 100) + 12);
  const size_t packedLength = zlib.Deflate(bytes, length, packed.data(), packed.size());
  packed.resize(packedLength);
  return packedLength > 0;
}

// Compresses the length bytes at `bytes` in place when that saves space;
// unpacked becomes the original length then, else 0 (sent stored).
void CompressPayload(TMysqlZlib& zlib, uint8_t* bytes, size_t& length, size_t& unpacked,
                     std::vector<uint8_t>& packed) {
  unpacked = 0;
  if (length < static_cast<size_t>(TMysqlNet::MinCompressLength)) return;
  if (!CompressToNewBuffer(zlib, bytes, length, packed) || packed.size() >= length) return;
  std::memcpy(bytes, packed.data(), packed.size());
  unpacked = length;
  length = packed.size();
}

} // namespace

TMysqlNet::TMysqlNet() = default;

TMysqlNet::~TMysqlNet() {
  Close();
}

TMysqlZlib& TMysqlNet::Zlib() {
  if (!FZlib) FZlib = std::make_unique<TMysqlZlib>();
  return *FZlib;
}

int TMysqlNet::Open(const String& host, int timeout, int port) {
  if (IsOpen()) return 0;
  const int rc = FVio.Connect(host, timeout, port);
  if (rc != 0) return rc;
  FBuffer.assign(InitialBufferSize, 0);
  FWritePos = 0;
  FReadPos = 0;
  FSequence = 0;
  FCompress = false;
  FReceivedLength = InitialBufferSize;
  FFrameOffset = 0;
  FRemaining = 0;
  ProtocolVersion = 10;
  FActivity = naIdle;
  FSavedByte = 0;
  // One byte past the receive room takes the zero after a packet held there.
  FInput.resize(InputBufferSize + 1);
  FInputStart = 0;
  FInputEnd = 0;
  FHeldPayload = nullptr;
  return 0;
}

int TMysqlNet::Close() {
  if (!IsOpen()) return 0;
  const int rc = FVio.Close();
  std::vector<uint8_t>().swap(FBuffer);
  std::vector<uint8_t>().swap(FInput);
  FHeldPayload = nullptr;
  std::vector<uint8_t>().swap(FFrame);
  std::vector<uint8_t>().swap(FPacked);
  FZlib.reset();
  return rc;
}

void TMysqlNet::ResetSequence() {
  FSequence = 0;
  FWritePos = 0;
}

int TMysqlNet::WritePacket(const void* payload, size_t length) {
  if (length >= MaxPacketLength) {
    SetErrorCode(PACKET_TOO_LARGE);
    return 1;
  }
  uint8_t header[HeaderLength];
  Store3(header, length);
  header[3] = FCompress ? 0 : FSequence++;
  if (WriteBuffered(header, sizeof header) != 0) return 1;
  return WriteBuffered(static_cast<const uint8_t*>(payload), length);
}

int TMysqlNet::WriteCommand(uint8_t command, const void* argument, size_t length) {
  if (length >= MaxPacketLength) {
    SetErrorCode(PACKET_TOO_LARGE);
    return 1;
  }
  uint8_t header[HeaderLength + 1];
  Store3(header, length + 1);
  header[3] = FCompress ? 0 : FSequence++;
  header[4] = command;
  if (WriteBuffered(header, sizeof header) != 0) return 1;
  if (WriteBuffered(static_cast<const uint8_t*>(argument), length) != 0) return 1;
  return Flush() == 0 ? 0 : 1;
}

int TMysqlNet::WriteBuffered(const uint8_t* bytes, size_t n) {
  if (FBuffer.empty()) return 1;
  // A write larger than the free space leaves in frames of the whole buffer.
  while (FBuffer.size() - FWritePos < n) {
    const size_t part = FBuffer.size() - FWritePos;
    std::memcpy(FBuffer.data() + FWritePos, bytes, part);
    if (SendFrame(FBuffer.data(), FBuffer.size()) != 0) return 1;
    bytes += part;
    n -= part;
    FWritePos = 0;
  }
  if (n > 0) std::memcpy(FBuffer.data() + FWritePos, bytes, n);
  FWritePos += n;
  return 0;
}

int TMysqlNet::Flush() {
  if (FWritePos == 0) return 0;
  const int rc = SendFrame(FBuffer.data(), FWritePos);
  FWritePos = 0;
  return rc;
}

int TMysqlNet::SendFrame(const uint8_t* bytes, size_t n) {
  if (!IsOpen()) return -1;
  const bool wasBlocking = FVio.IsBlocking();
  FActivity = naSending;

  if (FCompress) {
    FFrame.resize(CompressedHeaderLength + n);
    std::memcpy(FFrame.data() + CompressedHeaderLength, bytes, n);
    size_t length = n, unpacked = 0;
    CompressPayload(Zlib(), FFrame.data() + CompressedHeaderLength, length, unpacked, FPacked);
    Store3(FFrame.data(), length);
    FFrame[3] = FSequence++;
    Store3(FFrame.data() + 4, unpacked);
    FFrame.resize(CompressedHeaderLength + length);
    bytes = FFrame.data();
    n = FFrame.size();
  }

  size_t sent = 0;
  int retries = 0;
  while (sent < n) {
    const int written = FVio.Write(bytes + sent, static_cast<int>(std::min<size_t>(n - sent, INT_MAX)));
    if (written > 0) {
      sent += static_cast<size_t>(written);
      continue;
    }
    // A full socket buffer: wait for room in blocking mode, a few times.
    bool counted = false;
    if (!FVio.IsBlocking()) {
      FVio.SetBlocking(true);
      counted = true;
    } else if (FVio.ShouldRetry()) {
      counted = true;
    }
    if (counted && ++retries <= MaxRetries) continue;
    if (FVio.WasInterrupted()) continue;
    break;
  }
  FVio.SetBlocking(wasBlocking);
  FActivity = naIdle;
  return sent == n ? 0 : 2;
}

// One receive of at least one byte into `to` (room for `room`); -1 when the
// connection closed, failed or timed out.
int TMysqlNet::ReceiveSome(uint8_t* to, int room, int& retries) {
  for (;;) {
    const int r = FVio.Read(to, room);
    if (r > 0) return r;
    // A connection the server closed never yields more.
    if (r == 0) return -1;
    if (FVio.ShouldRetry() && retries++ < MaxRetries) continue;
    if (FVio.WasInterrupted()) continue;
    return -1;
  }
}

// Hands out n bytes from what has arrived and receives only when nothing is
// left: a receive takes whatever the socket holds, usually many packets.
bool TMysqlNet::ReadExactly(uint8_t* to, int n, int& retries) {
  while (n > 0) {
    if (FInputStart == FInputEnd) {
      // A body as large as the input buffer goes straight to its place.
      const bool direct = n >= InputBufferSize;
      const int r =
          direct ? ReceiveSome(to, n, retries) : ReceiveSome(FInput.data(), InputBufferSize, retries);
      if (r < 0) return false;
      if (direct) {
        to += r;
        n -= r;
        continue;
      }
      FInputStart = 0;
      FInputEnd = static_cast<size_t>(r);
    }
    const size_t take = std::min(static_cast<size_t>(n), FInputEnd - FInputStart);
    std::memcpy(to, FInput.data() + FInputStart, take);
    FInputStart += take;
    to += take;
    n -= static_cast<int>(take);
  }
  return true;
}

// The body of the next frame at the frame offset, inflated when it came
// deflated; its length there, or -1.
int TMysqlNet::ReceiveFrame() {
  if (!IsOpen()) return -1;
  const bool wasBlocking = FVio.IsBlocking();
  FActivity = naReceiving;
  const int header = FCompress ? CompressedHeaderLength : HeaderLength;
  int length = -1;
  int retries = 0;
  // Room for the header behind bytes kept from the previous frame.
  if (FFrameOffset + header < GetCapacity() || Grow(static_cast<size_t>(FFrameOffset + header) + 1)) {
    uint8_t* at = FBuffer.data() + FFrameOffset;
    if (ReadExactly(at, header, retries) && at[3] == FSequence) {
      ++FSequence;
      length = Load3(at);
      const int unpacked = FCompress ? Load3(at + 4) : 0;
      const int needed = std::max(length, unpacked) + FFrameOffset;
      if (needed >= GetCapacity() && !Grow(static_cast<size_t>(needed) + 1)) {
        length = -1;
      } else if (unpacked == 0) {
        if (!ReadExactly(FBuffer.data() + FFrameOffset, length, retries)) length = -1;
      } else {
        const uint8_t* packed = TakeHeld(length, retries);
        length = packed ? Zlib().Inflate(packed, static_cast<size_t>(length), FBuffer.data() + FFrameOffset,
                                         static_cast<size_t>(unpacked))
                        : -1;
      }
    }
  }
  FVio.SetBlocking(wasBlocking);
  FActivity = naIdle;
  return length;
}

bool TMysqlNet::Grow(size_t n) {
  if (n >= static_cast<size_t>(MaxBufferSize)) {
    SetErrorCode(PACKET_TOO_LARGE);
    return false;
  }
  const size_t size = (n + BufferGrowStep - 1) / BufferGrowStep * BufferGrowStep;
  try {
    FBuffer.resize(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  FWritePos = 0;
  FReadPos = 0;
  return true;
}

// n bytes as they lie in the input buffer when all are there, else gathered
// into scratch space; nullptr when they cannot be read.
const uint8_t* TMysqlNet::TakeHeld(int n, int& retries) {
  if (FInputEnd - FInputStart >= static_cast<size_t>(n)) {
    const uint8_t* at = FInput.data() + FInputStart;
    FInputStart += static_cast<size_t>(n);
    return at;
  }
  FPacked.resize(static_cast<size_t>(n));
  return ReadExactly(FPacked.data(), n, retries) ? FPacked.data() : nullptr;
}

// A whole plain packet already received is handed out where it lies, its
// terminating zero written over the byte that follows (kept aside until the
// next read); -1 when none is whole there.
int TMysqlNet::TakeHeldPacket() {
  const size_t held = FInputEnd - FInputStart;
  if (held < static_cast<size_t>(HeaderLength)) return -1;
  uint8_t* at = FInput.data() + FInputStart;
  const size_t length = static_cast<size_t>(Load3(at));
  if (at[3] != FSequence || held - HeaderLength < length) return -1;
  ++FSequence;
  FInputStart += HeaderLength + length;
  FHeldPayload = at + HeaderLength;
  FHeldSavedByte = FInput[FInputStart];
  FInput[FInputStart] = 0;
  return static_cast<int>(length);
}

int TMysqlNet::ReadPacket() {
  if (FHeldPayload) {
    FInput[FInputStart] = FHeldSavedByte;
    FHeldPayload = nullptr;
  }
  // What arrived before the connection was given up is never handed out.
  if (!IsOpen()) return -1;
  if (FCompress) return ReadPacketCompressed();
  if (const int held = TakeHeldPacket(); held >= 0) return held;
  const int length = ReceiveFrame();
  FReadPos = 0;
  if (length != -1) FBuffer[static_cast<size_t>(length)] = 0;
  return length;
}

// The unpacked frame bodies form one stream of packets: hand out the next
// whole packet, receiving frames until one is there.
int TMysqlNet::ReadPacketCompressed() {
  if (FRemaining > 0) FBuffer[static_cast<size_t>(FReceivedLength - FRemaining)] = FSavedByte;
  int length;
  for (;;) {
    if (FRemaining > 0) {
      const int p = FReceivedLength - FRemaining;
      if (FRemaining >= HeaderLength && Load3(FBuffer.data() + p) <= FRemaining - HeaderLength) {
        length = Load3(FBuffer.data() + p);
        FRemaining -= length + HeaderLength;
        FReadPos = static_cast<size_t>(p + HeaderLength);
        break;
      }
      if (p != 0) std::memmove(FBuffer.data(), FBuffer.data() + p, static_cast<size_t>(FRemaining));
      FReceivedLength = FRemaining;
      FFrameOffset = FReceivedLength;
    } else {
      FFrameOffset = 0;
      FReceivedLength = 0;
    }
    length = ReceiveFrame();
    if (length == -1) break;
    FReceivedLength += length;
    FRemaining += length;
  }
  if (length != -1) {
    FSavedByte = FBuffer[FReadPos + static_cast<size_t>(length)];
    FBuffer[FReadPos + static_cast<size_t>(length)] = 0;
  }
  return length;
}

int TMysqlNet::SafeRead() {
  const int length = ReadPacket();
  if (length == -1 || length == 0) {
    FVio.Close();
    SetClientError(ErrorCode() == PACKET_TOO_LARGE ? CR_NET_PACKET_TOO_LARGE : CR_SERVER_LOST);
    return -1;
  }
  const uint8_t* p = ReadPos();
  if (p[0] != ErrorPacketMarker) return length;
  if (length <= 3) {
    SetClientError(CR_UNKNOWN_ERROR);
    return -1;
  }
  // Protocol 9 error packets carry no number.
  int start = 1;
  if (ProtocolVersion > 9) {
    SetErrorCode(p[1] | (p[2] << 8));
    start = 3;
  } else {
    SetErrorCode(CR_UNKNOWN_ERROR);
  }
  const size_t messageLength = std::min(static_cast<size_t>(length - start), MaxServerMessage);
  SetErrorText(String(reinterpret_cast<const char*>(p + start), messageLength));
  return -1;
}

bool TMysqlNet::Shrink() {
  // Unread packets of a compressed stream would be lost.
  if (FActivity != naIdle || FReceivedLength <= InitialBufferSize || FRemaining > 0) return true;
  try {
    std::vector<uint8_t>(InitialBufferSize).swap(FBuffer);
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::vector<uint8_t>().swap(FFrame);
  std::vector<uint8_t>().swap(FPacked);
  FWritePos = 0;
  FReadPos = 0;
  return true;
}
