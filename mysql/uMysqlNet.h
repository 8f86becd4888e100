// The packet layer of the MySQL protocol: length-prefixed packets with
// sequence numbers, a write buffer, the compressed envelope, and the
// translation of lost connections and server error packets into errors.
#pragma once

#include "SysUtils.h"
#include "uMysqlErrors.h"
#include "uMysqlVio.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TMysqlZlib;

enum TMysqlNetActivity : uint8_t { naIdle = 0, naReceiving = 1, naSending = 2 };

class TMysqlNet {
public:
  // The buffer starts at this size, grows in these steps, and never grows
  // to this limit or beyond.
  static constexpr int InitialBufferSize = 8192;
  static constexpr int BufferGrowStep = 4096;
  static constexpr int MaxBufferSize = 0x1000000;
  // Payloads of this length or more cannot be written.
  static constexpr size_t MaxPacketLength = 0xFFFFFF;
  // Shorter payloads are never compressed.
  static constexpr int MinCompressLength = 50;
  // Bytes received ahead of the frame being read are held in a buffer of
  // this size; a larger body is received straight into its place.
  static constexpr int InputBufferSize = 32768;

  TMysqlNet();
  ~TMysqlNet();
  TMysqlNet(const TMysqlNet&) = delete;
  TMysqlNet& operator=(const TMysqlNet&) = delete;

  // 0, or the transport's connect result; 0 at once when already open.
  int Open(const String& host, int timeout, int port);
  // The transport's close result; 0 when not open.
  int Close();
  // Sequence 0 and an empty write buffer; run before every command.
  void ResetSequence();
  // 0, or 1 when the packet is too long or sending a full buffer failed.
  int WritePacket(const void* payload, size_t length);
  // 0, or 1 on failure; always flushes.
  int WriteCommand(uint8_t command, const void* argument, size_t length);
  // 0; 2 when not all buffered bytes were sent; -1 when the transport is closed.
  int Flush();
  // The payload length, or -1; the payload starts at ReadPos() and is
  // followed by a zero byte.
  int ReadPacket();
  // The payload length (at least 1), or -1 with the error code and text set.
  int SafeRead();
  // Gives a grown buffer back; false only when reallocating fails.
  bool Shrink();
  void SetCompress(bool on) { FCompress = on; }
  bool GetCompress() const { return FCompress; }

  bool IsOpen() const { return FVio.GetKind() != vkNone; }
  TMysqlVioKind TransportKind() const { return FVio.GetKind(); }
  int ErrorCode() const { return FVio.ErrorCode; }
  void SetErrorCode(int code) { FVio.ErrorCode = code; }
  const String& ErrorText() const { return FVio.GetErrorText(); }
  void SetErrorText(const String& text) { FVio.SetErrorText(text); }
  // Sets a client error code with its text.
  template <typename... Args> void SetClientError(int code, const Args&... args) {
    SetErrorCode(code);
    SetErrorText(ClientErrorText(code, args...));
  }

  // The payload of the packet last read.
  const uint8_t* ReadPos() const { return FHeldPayload ? FHeldPayload : FBuffer.data() + FReadPos; }
  uint8_t GetSequence() const { return FSequence; }
  TMysqlNetActivity GetActivity() const { return FActivity; }
  int GetCapacity() const { return static_cast<int>(FBuffer.size()); }
  TMysqlVio& Vio() { return FVio; }

  // The server's protocol version (9 or 10), stored by the client after
  // the greeting; 10 from open.
  int ProtocolVersion = 10;

private:
  int WriteBuffered(const uint8_t* bytes, size_t n);
  int SendFrame(const uint8_t* bytes, size_t n);
  int ReceiveFrame();
  bool ReadExactly(uint8_t* to, int n, int& retries);
  int ReceiveSome(uint8_t* to, int room, int& retries);
  const uint8_t* TakeHeld(int n, int& retries);
  int TakeHeldPacket();
  bool Grow(size_t n);
  int ReadPacketCompressed();
  TMysqlZlib& Zlib();

  TMysqlVio FVio;
  bool FCompress = false;
  TMysqlNetActivity FActivity = naIdle;
  std::vector<uint8_t> FBuffer;
  uint8_t FSequence = 0;
  size_t FWritePos = 0;
  size_t FReadPos = 0;
  int FReceivedLength = 0;
  int FFrameOffset = 0;
  int FRemaining = 0;
  uint8_t FSavedByte = 0;
  // Received bytes not yet handed out: [FInputStart, FInputEnd) of FInput.
  std::vector<uint8_t> FInput;
  size_t FInputStart = 0;
  size_t FInputEnd = 0;
  // The plain packet last read when it lies in the input buffer, and the
  // byte its terminating zero replaced.
  uint8_t* FHeldPayload = nullptr;
  uint8_t FHeldSavedByte = 0;
  // Scratch space of the compressed envelope, kept between frames.
  std::vector<uint8_t> FFrame;
  std::vector<uint8_t> FPacked;
  std::unique_ptr<TMysqlZlib> FZlib;
};
