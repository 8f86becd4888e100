// The blob stream: a blob or memo field of one record buffer read and
// written through the engine, re-encoded for text fields, and kept whole in
// the buffer's blob cache once read when the data set caches blobs.
#include "mySQLDbTables.h"

#include <algorithm>
#include <cstring>

using namespace dbconsts;

namespace {

enum : int { blobReadWrite = 0, blobReadOnly = 1 };

} // namespace

TmySQLBlobStream::TmySQLBlobStream(TBlobField* Field, TBlobStreamMode Mode)
    : FField(Field), FDataSet(dynamic_cast<TmySQLDataSet*>(Field->GetDataSet())), FMode(Mode),
      FFieldNo(Field->GetFieldNo()) {
  if (!FDataSet) DatabaseError(Format(SFieldAccessError, Field->GetDisplayName(), "Blob"));
  if (FDataSet->GetState() == dsFilter)
    DatabaseError(Format(SFilterInFilter, Field->GetDisplayName()), FDataSet);
  FBuffer = FDataSet->GetActiveRecBuf();
  if (!FBuffer) return;
  if (!Field->GetModified()) {
    int openMode = blobReadOnly;
    if (Mode != bmRead) {
      FDataSet->SetBlobData(FBuffer, Field, String());
      if (Field->ReadOnly) DatabaseError(Format(SFieldReadOnly, Field->GetDisplayName()), FDataSet);
      if (FDataSet->GetState() != dsEdit && FDataSet->GetState() != dsInsert)
        DatabaseError(SNotEditing, FDataSet);
      openMode = blobReadWrite;
    } else {
      FCached = FDataSet->FCacheBlobs && FBuffer == FDataSet->ActiveBuffer() &&
                (Field->IsNull() || !FDataSet->GetBlobData(FBuffer, Field).empty());
    }
    if (!FCached) {
      // The row under the cursor is the one whose blob the engine reads.
      if (FDataSet->GetState() == dsBrowse) FDataSet->GetCurrentRecord(FDataSet->ActiveBuffer());
      TmySQLEngine* engine = FDataSet->GetEngine();
      Check(engine, engine->OpenBlob(FDataSet->GetHandle(), FBuffer, FFieldNo, openMode));
    }
  }
  FOpened = true;
  if (Mode == bmWrite) Truncate();
}

TmySQLBlobStream::~TmySQLBlobStream() {
  if (!FOpened) return;
  if (FModified) {
    FField->SetModified(true);
  } else if (!FField->GetModified() && !FCached) {
    FDataSet->GetEngine()->FreeBlob(FDataSet->GetHandle(), FBuffer, FFieldNo);
  }
  if (!FModified) return;
  try {
    FDataSet->DataEvent(deFieldChange, reinterpret_cast<intptr_t>(FField));
  } catch (...) {
    HandleCurrentException(FDataSet);
  }
}

int64_t TmySQLBlobStream::Read(void* Buffer, int64_t Count) {
  if (!FOpened || Count <= 0) return 0;
  if (FCached) {
    const String data = FDataSet->GetBlobData(FBuffer, FField);
    const int64_t n = std::clamp<int64_t>(int64_t(data.size()) - FPosition, 0, Count);
    if (n > 0) std::memcpy(Buffer, data.data() + FPosition, size_t(n));
    FPosition += n;
    return n;
  }
  TmySQLEngine* engine = FDataSet->GetEngine();
  const int32_t want = int32_t(std::min<int64_t>(Count, INT32_MAX));
  uint32_t read = 0;
  const uint16_t code =
      engine->GetBlob(FDataSet->GetHandle(), FBuffer, FFieldNo, uint32_t(FPosition), want, Buffer, read);
  if (code == DBIERR_INVALIDBLOBOFFSET) return 0;
  if (code != DBIERR_NONE && code != DBIERR_ENDOFBLOB) Check(engine, code);
  char* bytes = static_cast<char*>(Buffer);
  if (FField->GetTransliterate()) NativeToAnsi(engine, bytes, bytes, int(read));
  if (FDataSet->FCacheBlobs && FBuffer == FDataSet->ActiveBuffer() && FMode == bmRead &&
      !FField->GetModified() && FPosition == FCacheSize) {
    FBlobData.append(bytes, read);
    FCacheSize += read;
    if (FCacheSize == GetBlobSize()) {
      FDataSet->SetBlobData(FBuffer, FField, FBlobData);
      FBlobData.clear();
      FCached = true;
      engine->FreeBlob(FDataSet->GetHandle(), FBuffer, FFieldNo);
    }
  }
  FPosition += read;
  return read;
}

int64_t TmySQLBlobStream::Write(const void* Buffer, int64_t Count) {
  if (!FOpened) return 0;
  TmySQLEngine* engine = FDataSet->GetEngine();
  String converted;
  const char* bytes = static_cast<const char*>(Buffer);
  if (FField->GetTransliterate() && Count > 0) {
    converted.assign(size_t(Count) + 1, '\0');
    AnsiToNative(engine, bytes, converted.data(), int(Count));
    bytes = converted.data();
  }
  Check(engine, engine->PutBlob(FDataSet->GetHandle(), FBuffer, FFieldNo, uint32_t(FPosition), int32_t(Count),
                                bytes));
  FPosition += Count;
  FModified = true;
  FDataSet->SetBlobData(FBuffer, FField, String());
  return Count;
}

int64_t TmySQLBlobStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  switch (Origin) {
  case soBeginning:
    FPosition = Offset;
    break;
  case soCurrent:
    FPosition += Offset;
    break;
  case soEnd:
    FPosition = Offset + GetBlobSize();
    break;
  }
  return FPosition;
}

int64_t TmySQLBlobStream::GetBlobSize() {
  if (!FOpened) return 0;
  if (FCached) return int64_t(FDataSet->GetBlobData(FBuffer, FField).size());
  TmySQLEngine* engine = FDataSet->GetEngine();
  uint32_t size = 0;
  Check(engine, engine->GetBlobSize(FDataSet->GetHandle(), FBuffer, FFieldNo, size));
  return size;
}

void TmySQLBlobStream::Truncate() {
  TmySQLEngine* engine = FDataSet->GetEngine();
  Check(engine, engine->TruncateBlob(FDataSet->GetHandle(), FBuffer, FFieldNo, uint32_t(FPosition)));
  FModified = true;
  FDataSet->SetBlobData(FBuffer, FField, String());
}
