// Buffered and row-by-row result sets.
#include "uMysqlClient.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t EndPacketMarker = 254;

int Sign(int v) {
  return (v > 0) - (v < 0);
}

// Byte by byte over the common length; with an equal common part the shorter is smaller.
int CompareByteText(const String& a, const String& b) {
  const size_t n = std::min(a.size(), b.size());
  const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return Sign(c);
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Integers as text: the shorter is the smaller.
int CompareNumberText(const String& a, const String& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return CompareByteText(a, b);
}

int CompareFieldValue(const String& search, const String& value, const TMysqlField& field) {
  switch (field.Type) {
  case 1:
  case 2:
  case 3:
  case 8:
  case 9:
    return (field.Flags & 0x40) ? CompareByteText(search, value) : CompareNumberText(search, value);
  case 0:
  case 4:
  case 5:
  case 7:
  case 10:
  case 11:
  case 12:
  case 253:
  case 254:
    return CompareByteText(search, value);
  default:
    return -1;
  }
}

} // namespace

// A statement's fields are there to be taken; no fields is no result set
// and no error.
bool TMysqlClient::ResultPending() {
  if (FFieldCount == 0) return false;
  if (FStatus == csResultPending) return true;
  FNet.SetClientError(CR_COMMANDS_OUT_OF_SYNC);
  return false;
}

std::unique_ptr<TMysqlResult> TMysqlClient::StoreResult() {
  if (!ResultPending()) return nullptr;
  std::unique_ptr<TMysqlResult> result(new TMysqlResult(nullptr, true));
  std::vector<int> maxLengths(size_t(FFieldCount), 0);
  result->FRows = ReadRows(FFieldCount, maxLengths.data());
  if (!result->FRows) {
    // A server error in place of a row ends the result; the connection is
    // ready for the next command.
    FreeFields();
    FStatus = csReady;
    return nullptr;
  }
  for (size_t i = 0; i < FFields.size(); ++i)
    FFields[i].MaxLength = maxLengths[i];
  result->FColumnCount = FFieldCount;
  result->FLengths.assign(size_t(FFieldCount), 0);
  result->FRowCount = result->FRows->GetRowCount();
  result->FRowIndex = result->FRowCount ? 0 : -1;
  result->FAtEnd = result->FRowCount == 0;
  result->FFields = std::move(FFields);
  result->FFetchState = 1;
  FFields.clear();
  FAffectedRows = result->FRowCount;
  FFieldCount = 0;
  FStatus = csReady;
  return result;
}

std::unique_ptr<TMysqlResult> TMysqlClient::UseResult() {
  if (!ResultPending()) return nullptr;
  std::unique_ptr<TMysqlResult> result(new TMysqlResult(this, false));
  result->FColumnCount = FFieldCount;
  result->FLengths.assign(size_t(FFieldCount), 0);
  result->FRowBuffer.assign(size_t(FFieldCount), nullptr);
  result->FFields = std::move(FFields);
  FFields.clear();
  FStatus = csUseResult;
  FUseResult = result.get();
  result->Next();
  result->FAtStart = true;
  FFieldCount = 0;
  return result;
}

TMysqlResult::~TMysqlResult() {
  if (FBuffered || !FClient) return;
  TMysqlClient& client = *FClient;
  client.FUseResult = nullptr;
  if (client.FStatus == csUseResult) {
    // The rest of the rows are still on the wire; the next command needs
    // the connection in step.
    for (;;) {
      const int length = client.FNet.SafeRead();
      if (length < 0 || (client.FNet.ReadPos()[0] == EndPacketMarker && length < 8)) break;
    }
    client.FStatus = csReady;
    client.FNet.Shrink();
    client.FAffectedRows = FRowCount;
  }
}

void TMysqlResult::ClearRowBuffer() {
  std::fill(FRowBuffer.begin(), FRowBuffer.end(), nullptr);
  std::fill(FLengths.begin(), FLengths.end(), 0);
}

int TMysqlResult::ReadOneRow() {
  TMysqlNet& net = FClient->FNet;
  const int length = net.SafeRead();
  if (length < 0) return -1;
  const uint8_t* p = net.ReadPos();
  if (p[0] == EndPacketMarker && length < 8) return 1;
  FRowBytes.resize(size_t(length) + 1);
  if (!TMysqlRows::Split(p, size_t(length), FColumnCount, FRowBytes.data(), FRowBuffer.data(),
                         FLengths.data(), nullptr)) {
    ClearRowBuffer();
    return FClient->FailMalformed();
  }
  return 0;
}

void TMysqlResult::Detach() {
  TMysqlClient& client = *FClient;
  client.FUseResult = nullptr;
  client.FStatus = csReady;
  client.FNet.Shrink();
  client.FAffectedRows = FRowCount;
  FClient = nullptr;
}

void TMysqlResult::Next() {
  if (FBuffered) {
    if (FRowIndex >= 0 && uint64_t(FRowIndex + 1) < FRowCount) {
      ++FRowIndex;
      FAtEnd = false;
      FLengthsValid = false;
    } else {
      FAtEnd = true;
    }
    FAtStart = FRowCount == 0;
    return;
  }
  FAtStart = FRowCount == 0;
  FAtEnd = false;
  FLengthsValid = true;
  if (!FClient) {
    if (FFetchState == 0) FFetchState = -1;
    FAtEnd = true;
    return;
  }
  FFetchState = ReadOneRow();
  if (FFetchState == 0) {
    FRowIndex = int64_t(FRowCount);
    ++FRowCount;
    return;
  }
  FAtEnd = true;
  Detach();
}

void TMysqlResult::Prior() {
  if (FBuffered) {
    if (FRowIndex > 0) {
      --FRowIndex;
      FLengthsValid = false;
      FAtStart = false;
    } else {
      FAtStart = true;
    }
    FAtEnd = FRowCount == 0;
    return;
  }
  FAtStart = true;
  FAtEnd = FRowCount == 0;
}

void TMysqlResult::First() {
  FAtStart = true;
  FAtEnd = FRowCount == 0;
  if (!FBuffered) return;
  FRowIndex = FRowCount ? 0 : -1;
  FLengthsValid = false;
}

void TMysqlResult::Last() {
  if (FBuffered) {
    if (FRowIndex != int64_t(FRowCount) - 1) FLengthsValid = false;
    FRowIndex = int64_t(FRowCount) - 1;
    FAtEnd = true;
    FAtStart = FRowCount == 0;
    return;
  }
  FAtEnd = true;
  FAtStart = FRowCount == 0;
  if (!FClient) {
    if (FFetchState == 0) FFetchState = -1;
    return;
  }
  while ((FFetchState = ReadOneRow()) == 0)
    ++FRowCount;
  FRowIndex = int64_t(FRowCount) - 1;
  Detach();
}

void TMysqlResult::Seek(int64_t row) {
  if (!FBuffered || row < 0 || uint64_t(row) >= FRowCount) return;
  FAtStart = false;
  FAtEnd = false;
  FRowIndex = row;
  FLengthsValid = false;
}

void TMysqlResult::FetchLengths(bool compute) {
  if (!compute || FLengthsValid) return;
  FLengthsValid = true;
  if (!FBuffered) return;
  if (FRowIndex < 0) {
    std::fill(FLengths.begin(), FLengths.end(), 0);
    return;
  }
  const uint32_t* lengths = FRows->LengthsOf(size_t(FRowIndex));
  std::copy(lengths, lengths + FColumnCount, FLengths.begin());
}

const TMysqlField* TMysqlResult::Field(int column) const {
  if (column < 0 || column >= FColumnCount) return nullptr;
  return &FFields[size_t(column)];
}

int64_t TMysqlResult::Locate(const int* columns, const String* texts, int count, bool caseInsensitive) const {
  if (!FBuffered || FRowCount == 0) return -1;
  for (int k = 0; k < count; ++k)
    if (columns[k] < 0 || columns[k] >= FColumnCount) return -1;
  std::vector<String> search(texts, texts + count);
  if (caseInsensitive)
    for (String& s : search)
      s = UpperCase(s);
  for (uint64_t row = 0; row < FRowCount; ++row) {
    int sum = 0;
    for (int k = 0; k < count && sum == 0; ++k) {
      const int c = columns[k];
      const char* v = FRows->Value(size_t(row), c);
      String value = v ? String(v, FRows->Length(size_t(row), c)) : String();
      if (caseInsensitive) value = UpperCase(value);
      sum += CompareFieldValue(search[size_t(k)], value, FFields[size_t(c)]);
    }
    if (sum == 0) return int64_t(row);
  }
  return -1;
}
