// The data set over a native cursor: opening and closing, field
// definitions, record buffers, row fetching, field access, bookmarks, block
// reading and the blob cache.
#include "mySQLDbTables.h"

#include "mySQLCP.h"

#include <climits>
#include <cstring>
#include <iterator>

using namespace dbconsts;

namespace {

// The record information at the end of every buffer, before the bookmark.
constexpr uint32_t RecInfoSize = 6;
constexpr int InfoRecordNumber = 0;
constexpr int InfoUpdateStatus = 4;
constexpr int InfoBookmarkFlag = 5;

enum : uint8_t { rnPhysical = 0, rnSequence = 1, rnNone = 2 };

TFieldType FieldTypeOfLogical(uint16_t logical) {
  static const TFieldType types[] = {
      ftUnknown,  ftString,   ftDate,     ftBlob,  ftBoolean,   ftSmallint, ftInteger,  ftFloat,   ftBCD,
      ftBytes,    ftTime,     ftDateTime, ftWord,  ftInteger,   ftUnknown,  ftVarBytes, ftUnknown, ftUnknown,
      ftLargeint, ftLargeint, ftADT,      ftArray, ftReference, ftDataSet,  ftTimeStamp};
  return logical < std::size(types) ? types[logical] : ftUnknown;
}

TFieldType BlobTypeOfSubType(uint16_t subType) {
  switch (subType) {
  case 22:
    return ftMemo;
  case 24:
    return ftFmtMemo;
  case 25:
    return ftParadoxOle;
  case 26:
    return ftGraphic;
  case 27:
    return ftDBaseOle;
  case 28:
    return ftTypedBinary;
  case 33:
    return ftOraClob;
  case 34:
    return ftOraBlob;
  default:
    return ftBlob;
  }
}

} // namespace

TmySQLDataSet::TmySQLDataSet(TComponent* AOwner) : TDataSet(AOwner) {}

TmySQLDataSet::~TmySQLDataSet() {
  SetDestroying();
  try {
    Close();
  } catch (...) {
    // Nothing can be reported from here.
  }
  if (FDatabase) {
    FDatabase->RemoveFreeNotification(this);
    FDatabase->UnRegisterClient(this);
  }
}

// ---- database and use flags

void TmySQLDataSet::SetDatabase(TmySQLDatabase* Value) {
  if (Value == FDatabase) return;
  if (GetActive()) Close();
  if (FDatabase) {
    FDatabase->UnRegisterClient(this);
    FDatabase->RemoveFreeNotification(this);
  }
  FDatabase = Value;
  if (FDatabase) FDatabase->FreeNotification(this);
}

void TmySQLDataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TDataSet::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FDatabase) return;
  Close();
  FDatabase = nullptr;
}

TmySQLEngine* TmySQLDataSet::GetEngine() {
  return FDatabase ? FDatabase->GetEngine() : nullptr;
}

TNativeConnect* TmySQLDataSet::GetDBHandle() {
  if (!FDatabase) return nullptr;
  if (!FDatabase->GetHandle()) FDatabase->Open();
  return FDatabase->GetHandle();
}

bool TmySQLDataSet::SetUseFlag(int Flag, bool Value) {
  const uint16_t bit = uint16_t(1u << Flag);
  const bool wasSet = (FUseFlags & bit) != 0;
  if (Value == wasSet) return wasSet;
  if (Value) {
    if (FUseFlags == 0 && FDatabase) FDatabase->AddUse(this);
    FUseFlags |= bit;
    return wasSet;
  }
  FUseFlags &= uint16_t(~bit);
  if (FUseFlags == 0 && FDatabase) FDatabase->ReleaseUse(this);
  return wasSet;
}

void TmySQLDataSet::SetUpdateMode(TUpdateMode Value) {
  FUpdateMode = Value;
}

// ---- opening and closing

void TmySQLDataSet::OpenCursor(bool InfoQuery) {
  if (!FDatabase) throw EDatabaseError(Format("(%s) property Database is not set!", GetName()));
  if (!FHandle) FHandle = CreateCursorHandle();
  if (!FHandle) throw ENoResultSet("Error creating cursor handle");
  SetUseFlag(0, true);
  TDataSet::OpenCursor(InfoQuery);
  SetUpdateMode(FUpdateMode);
}

void TmySQLDataSet::InternalOpen() {
  TmySQLEngine* engine = GetEngine();
  TCursorProps props;
  Check(engine, engine->GetCursorProps(FHandle, props));
  // The native record is the whole native buffer: its status entries and
  // bookmark lie past the field values.
  FRecordSize = props.RecordBufferSize;
  BookmarkSize = props.BookmarkSize;
  FRecNoStatus = props.SeqNumbers == 1 ? rnSequence : rnNone;
  GetFieldDefs().Updated = false;
  GetFieldDefs().Update();
  TIndexDesc index;
  FIndexFieldCount = 0;
  if (engine->GetIndexDesc(FHandle, 0, index) == 0) {
    FExpIndex = false;
    FCaseInsIndex = false;
    FIndexFieldCount = index.FieldsInKey;
    FKeyFields = index.KeyFields;
    FKeySize = index.KeyLength;
  }
  if (GetDefaultFields()) CreateFields();
  BindFields(true);
  FBlobCacheOfs = FRecordSize + uint32_t(GetCalcFieldsSize());
  FRecInfoOfs = FBlobCacheOfs + uint32_t(sizeof(String*)) * uint32_t(GetBlobFieldCount());
  FBookmarkOfs = FRecInfoOfs + RecInfoSize;
  FRecBufSize = FBookmarkOfs + uint32_t(BookmarkSize);
  engine->SetToBegin(FHandle);
  PrepareOpenedCursor();
  // Filters set while closed apply from the first row on.
  ForgetStaleFilters();
}

void TmySQLDataSet::InternalInitFieldDefs() {
  TmySQLEngine* engine = GetEngine();
  TCursorProps props;
  Check(engine, engine->GetCursorProps(FHandle, props));
  const int built = ReadIntProperty(engine, FHandle, curMAXFIELDID);
  std::vector<bool> required(size_t(built >= 1 ? built + 1 : props.FieldCount + 1), false);
  for (int i = 1; i <= props.ValCheckCount; ++i) {
    TValCheckDesc check;
    if (engine->GetVchkDesc(FHandle, i, check) != 0) continue;
    if (check.Required && !check.HasDefault && check.FieldNumber < required.size())
      required[check.FieldNumber] = true;
  }
  std::vector<TFieldDesc> descs;
  Check(engine, engine->GetFieldDescs(FHandle, descs));
  GetFieldDefs().Clear();
  int fieldNo = GetFieldNoOfs();
  for (const TFieldDesc& desc : descs)
    AddFieldDesc(desc, fieldNo, required);
}

void TmySQLDataSet::AddFieldDesc(const TFieldDesc& Desc, int& FieldNo, const std::vector<bool>& Required) {
  String name = NativeToAnsiString(GetEngine(), Desc.Name.c_str());
  if (GetFieldDefs().IndexOf(name) >= 0) {
    int n = 1;
    while (GetFieldDefs().IndexOf(Format("%s_%d", name, n)) >= 0)
      ++n;
    name = Format("%s_%d", name, n);
  }
  TFieldType type = FieldTypeOfLogical(Desc.FieldType);
  int size = 0;
  int precision = 0;
  bool required = size_t(FieldNo) < Required.size() && Required[size_t(FieldNo)];
  switch (Desc.FieldType) {
  case 1:
  case 9:
  case 15:
  case 20:
  case 21:
  case 22:
    // A column the server reports with no width (an untyped NULL or '')
    // still gets its field, so the columns after it keep their places.
    size = Desc.Units1 == 0 ? 1 : Desc.Units1;
    break;
  case fldBLOB:
    size = Desc.Units1;
    if (Desc.SubType >= 22 && Desc.SubType <= 36) type = BlobTypeOfSubType(Desc.SubType);
    break;
  case fldINT16:
  case fldUINT16:
    if (Desc.Length == 1)
      type = ftSmallint;
    else if (Desc.Length != 2)
      type = ftUnknown;
    break;
  case fldINT32:
    if (Desc.SubType == fldstAUTOINC) {
      type = ftAutoInc;
      required = false;
    }
    break;
  case fldINT64:
    if (Desc.SubType == fldstAUTOINC) required = false;
    break;
  case fldFLOAT:
    if (Desc.SubType == 21) type = ftCurrency;
    break;
  case 8:
    size = Desc.Units2 < 0 ? -Desc.Units2 : Desc.Units2;
    precision = Desc.Units1;
    break;
  case fldTIMESTAMP:
  case 24:
    if (Desc.NativeType == 7) required = false;
    break;
  default:
    break;
  }
  TFieldDef* def = GetFieldDefs().AddFieldDef();
  def->SetName(name);
  def->SetDataType(type);
  def->SetSize(size);
  def->Precision = precision;
  def->SetFieldNo(FieldNo);
  TFieldAttributes attributes = required ? faRequired : 0;
  if (Desc.Rights == 1) attributes |= faReadonly;
  if (Desc.SubType == 31) attributes |= faFixed;
  def->Attributes = attributes;
  def->InternalCalcField = Desc.Calculated;
  ++FieldNo;
}

void TmySQLDataSet::CloseCursor() {
  TDataSet::CloseCursor();
  if (FHandle) DestroyCursorHandle();
  FHandle = nullptr;
  SetUseFlag(0, false);
}

void TmySQLDataSet::DestroyCursorHandle() {
  if (TmySQLEngine* engine = GetEngine()) engine->CloseCursor(FHandle);
  FHandle = nullptr;
  // The filters went with the cursor; a new cursor may get the same address.
  FFilterCursor = nullptr;
  FExprFilter = FFuncFilter = nullptr;
}

void TmySQLDataSet::InternalClose() {
  BindFields(false);
  if (GetDefaultFields()) DestroyFields();
  FIndexFieldCount = 0;
  FKeySize = 0;
  FExpIndex = false;
  FCaseInsIndex = false;
}

void TmySQLDataSet::CloseForDisconnect() {
  Close();
}

// ---- record buffers

char* TmySQLDataSet::AllocRecordBuffer() {
  return new char[FRecBufSize]();
}

void TmySQLDataSet::FreeRecordBuffer(char*& Buffer) {
  ClearBlobCache(Buffer);
  delete[] Buffer; // the data set owns its buffers
  Buffer = nullptr;
}

void TmySQLDataSet::InternalInitRecord(char* Buffer) {
  Check(GetEngine(), GetEngine()->InitRecord(FHandle, Buffer));
}

void TmySQLDataSet::InitRecord(char* Buffer) {
  TDataSet::InitRecord(Buffer);
  ClearBlobCache(Buffer);
  const int32_t none = -1;
  std::memcpy(Buffer + FRecInfoOfs + InfoRecordNumber, &none, sizeof none);
  Buffer[FRecInfoOfs + InfoUpdateStatus] = char(usInserted);
  Buffer[FRecInfoOfs + InfoBookmarkFlag] = char(bfInserted);
}

void TmySQLDataSet::ClearCalcFields(char* Buffer) {
  std::memset(Buffer + FRecordSize, 0, size_t(GetCalcFieldsSize()));
}

char* TmySQLDataSet::GetActiveRecBuf() {
  switch (GetState()) {
  case dsBrowse:
    return IsEmpty() ? nullptr : ActiveBuffer();
  case dsEdit:
  case dsInsert:
  case dsNewValue:
    return ActiveBuffer();
  case dsCalcFields:
    return CalcBuffer();
  case dsFilter:
    return FFilterBuffer;
  case dsOldValue:
    return FOldRecord.empty() ? ActiveBuffer() : FOldRecord.data();
  case dsBlockRead:
    return FBlockReadBuf.empty() ? nullptr : BlockBuffer(FBlockBufIndex);
  default:
    return nullptr;
  }
}

// ---- fetching rows

TGetResult TmySQLDataSet::GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck) {
  TmySQLEngine* engine = GetEngine();
  uint16_t code;
  switch (GetMode) {
  case gmCurrent:
    code = engine->GetRecord(FHandle, 0, Buffer, &FRecProps);
    break;
  case gmNext:
    code = engine->GetNextRecord(FHandle, 0, Buffer, &FRecProps);
    break;
  default:
    code = engine->GetPriorRecord(FHandle, 0, Buffer, &FRecProps);
    break;
  }
  switch (code) {
  case DBIERR_NONE: {
    Buffer[FRecInfoOfs + InfoUpdateStatus] = char(usUnmodified);
    Buffer[FRecInfoOfs + InfoBookmarkFlag] = char(bfCurrent);
    const int32_t number = FRecNoStatus == rnPhysical   ? FRecProps.PhysicalRecordNumber
                           : FRecNoStatus == rnSequence ? FRecProps.SeqNumber
                                                        : -1;
    std::memcpy(Buffer + FRecInfoOfs + InfoRecordNumber, &number, sizeof number);
    ClearBlobCache(Buffer);
    GetCalcFields(Buffer);
    Check(engine, engine->GetBookmark(FHandle, Buffer + FBookmarkOfs));
    return grOK;
  }
  case DBIERR_BOF:
    return grBOF;
  case DBIERR_EOF:
    return grEOF;
  default:
    if (DoCheck) Check(engine, code);
    return grError;
  }
}

void TmySQLDataSet::InternalFirst() {
  Check(GetEngine(), GetEngine()->SetToBegin(FHandle));
}

void TmySQLDataSet::InternalLast() {
  Check(GetEngine(), GetEngine()->SetToEnd(FHandle));
}

int TmySQLDataSet::GetRecordCount() {
  CheckActive();
  int count = 0;
  return GetEngine()->GetRecordCount(FHandle, count) == 0 ? count : -1;
}

int TmySQLDataSet::GetRecNo() {
  CheckActive();
  char* buffer = GetState() == dsCalcFields ? CalcBuffer() : ActiveBuffer();
  if (!buffer) return -1;
  int32_t number;
  std::memcpy(&number, buffer + FRecInfoOfs + InfoRecordNumber, sizeof number);
  return number;
}

void TmySQLDataSet::SetRecNo(int Value) {
  CheckBrowseMode();
  if (FRecNoStatus != rnSequence || Value == GetRecNo()) return;
  DoBeforeScroll();
  if (GetEngine()->SetToRecordNo(FHandle, Value) != 0) return;
  Resync(rmCenter);
  DoAfterScroll();
}

bool TmySQLDataSet::IsSequenced() {
  return FRecNoStatus == rnSequence && !GetFiltered();
}

// ---- field access

bool TmySQLDataSet::GetFieldData(int FieldNo, void* Buffer) {
  TmySQLEngine* engine = GetEngine();
  bool blank = true;
  if (GetBlockReadSize() > 0) {
    if (FBlockReadBuf.empty()) return false;
    return engine->GetField(FHandle, FieldNo, BlockBuffer(FBlockBufIndex), Buffer, blank) == 0 && !blank;
  }
  char* record = GetActiveRecBuf();
  if (!record) return false;
  Check(engine, engine->GetField(FHandle, FieldNo, record, Buffer, blank));
  return !blank;
}

bool TmySQLDataSet::GetFieldData(TField* Field, void* Buffer) {
  if (Field->GetFieldNo() > 0) return GetFieldData(Field->GetFieldNo(), Buffer);
  char* record = GetState() == dsBlockRead ? TempBuffer() : GetActiveRecBuf();
  if (!record) return false;
  const char* slot = record + FRecordSize + Field->GetOffset();
  const bool hasValue = slot[0] != 0;
  if (hasValue && Buffer) std::memcpy(Buffer, slot + 1, size_t(Field->GetDataSize()));
  return hasValue;
}

void TmySQLDataSet::SetFieldData(TField* Field, const void* Buffer) {
  const TDataSetState state = GetState();
  switch (state) {
  case dsEdit:
  case dsInsert:
  case dsCalcFields:
  case dsNewValue:
  case dsInternalCalc:
    break;
  default:
    DatabaseError(SNotEditing, this);
  }
  char* record = GetActiveRecBuf();
  if (Field->GetFieldNo() < 0) {
    char* slot = record + FRecordSize + Field->GetOffset();
    slot[0] = Buffer ? 1 : 0;
    if (Buffer) std::memcpy(slot + 1, Buffer, size_t(Field->GetDataSize()));
  } else {
    if (state == dsCalcFields) DatabaseError(SNotEditing, this);
    if (Field->ReadOnly) DatabaseError(Format(SFieldReadOnly, Field->GetDisplayName()), this);
    Field->Validate(Buffer);
    if (Field->FieldKind != fkInternalCalc)
      Check(GetEngine(), GetEngine()->PutField(FHandle, Field->GetFieldNo(), record, Buffer));
  }
  if (state != dsCalcFields && state != dsNewValue)
    DataEvent(deFieldChange, reinterpret_cast<intptr_t>(Field));
}

bool TmySQLDataSet::GetIsIndexField(TField* Field) {
  for (int i = 0; i < FIndexFieldCount; ++i)
    if (FKeyFields[size_t(i)] == Field->GetFieldNo()) return true;
  return false;
}

int TmySQLDataSet::Translate(const char* Src, char* Dest, bool ToOem) {
  const int length = int(std::strlen(Src));
  if (CharsetOfSystemCodePage() == GetCurrentServerCharset()) {
    if (Src != Dest) std::memcpy(Dest, Src, size_t(length) + 1);
    return length;
  }
  if (ToOem)
    AnsiToNative(GetEngine(), Src, Dest, length);
  else
    NativeToAnsi(GetEngine(), Src, Dest, length);
  if (Src != Dest) Dest[length] = 0;
  return length;
}

// ---- bookmarks

void TmySQLDataSet::GetBookmarkData(char* Buffer, void* Data) {
  std::memcpy(Data, Buffer + FBookmarkOfs, size_t(BookmarkSize));
}

void TmySQLDataSet::SetBookmarkData(char* Buffer, const void* Data) {
  std::memcpy(Buffer + FBookmarkOfs, Data, size_t(BookmarkSize));
}

TBookmarkFlag TmySQLDataSet::GetBookmarkFlag(char* Buffer) {
  return TBookmarkFlag(Buffer[FRecInfoOfs + InfoBookmarkFlag]);
}

void TmySQLDataSet::SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) {
  Buffer[FRecInfoOfs + InfoBookmarkFlag] = char(Value);
}

void TmySQLDataSet::InternalGotoBookmark(const void* Bookmark) {
  Check(GetEngine(), GetEngine()->SetToBookmark(FHandle, static_cast<const char*>(Bookmark)));
}

void TmySQLDataSet::InternalSetToRecord(char* Buffer) {
  InternalGotoBookmark(Buffer + FBookmarkOfs);
}

int TmySQLDataSet::CompareBookmarks(const char* Bookmark1, const char* Bookmark2) {
  if (!Bookmark1 && !Bookmark2) return 0;
  if (!Bookmark2) return -1;
  if (!Bookmark1) return 1;
  if (!FHandle) return 0;
  int result = 0;
  Check(GetEngine(), GetEngine()->CompareBookmarks(FHandle, Bookmark1, Bookmark2, result));
  return result == 2 ? 0 : result;
}

bool TmySQLDataSet::BookmarkValid(const char* Bookmark) {
  if (!FHandle) return false;
  CursorPosChanged();
  TmySQLEngine* engine = GetEngine();
  return engine->SetToBookmark(FHandle, Bookmark) == 0 &&
         engine->GetRecord(FHandle, 0, nullptr, nullptr) == 0;
}

bool TmySQLDataSet::GetCurrentRecord(char* Buffer) {
  if (IsEmpty() || GetBookmarkFlag(ActiveBuffer()) != bfCurrent) return false;
  UpdateCursorPos();
  return GetEngine()->GetRecord(FHandle, 0, Buffer, nullptr) == 0;
}

// ---- block reading

void TmySQLDataSet::FreeBlockBuffer() {
  FBlockReadBuf.clear();
  FBlockReadBuf.shrink_to_fit();
}

void TmySQLDataSet::SetBlockReadSize(int Value) {
  if (Value == GetBlockReadSize()) return;
  if (Value < 1) {
    TDataSet::SetBlockReadSize(Value);
    FreeBlockBuffer();
    return;
  }
  if (GetEof() || GetBufferCount() > 1) return;
  for (int i = 0; i < GetFieldCount(); ++i) {
    const TFieldType type = GetFields()[i]->GetDataType();
    if (type == ftReference || type == ftDataSet) return;
  }
  FreeBlockBuffer();
  UpdateCursorPos();
  StepBackForBlock();
  const size_t bytes = Value == INT_MAX ? 65536 : size_t(Value) * FRecordSize;
  FBlockReadBuf.assign(bytes, 0);
  FBlockBufCapacity = int(bytes / FRecordSize);
  FBlockBufIndex = FBlockBufCapacity;
  FBlockBufCount = FBlockBufCapacity;
  FBlockReadCount = 0;
  TDataSet::SetBlockReadSize(Value);
  BlockReadNext();
}

// The first block starts with the row on show: the cursor is put just before
// it, which with record numbers is the row before (or the beginning).
void TmySQLDataSet::StepBackForBlock() {
  TmySQLEngine* engine = GetEngine();
  const int recNo = GetRecNo();
  if (FRecNoStatus != rnSequence || recNo < 1) {
    engine->SetProperty(FHandle, curAFFECTEDROWS, 0);
    return;
  }
  if (recNo == 1)
    engine->SetToBegin(FHandle);
  else
    Check(engine, engine->SetToRecordNo(FHandle, recNo - 1));
}

void TmySQLDataSet::BlockReadNext() {
  if (FBlockBufIndex < FBlockBufCount - 1) {
    ++FBlockBufIndex;
  } else if (FBlockBufCount < FBlockBufCapacity) {
    Last();
  } else {
    int count = FBlockBufCapacity;
    const uint16_t code = GetEngine()->ReadBlock(FHandle, count, FBlockReadBuf.data());
    if (code != DBIERR_NONE && code != DBIERR_EOF) Check(GetEngine(), code);
    FBlockBufCount = count;
    // The cursor ends a block at the last row without a code of its own.
    if (count == 0) Last();
    FBlockReadCount += count;
    FBlockBufIndex = 0;
  }
  if (GetCalcFieldsSize() > 0) GetCalcFields(TempBuffer());
  DataEvent(deRecordChange, 0);
}

// ---- blobs and their cache

std::unique_ptr<TStream> TmySQLDataSet::CreateBlobStream(TField* Field, TBlobStreamMode Mode) {
  auto* blob = dynamic_cast<TBlobField*>(Field);
  if (!blob) DatabaseError(Format(SFieldAccessError, Field->GetDisplayName(), "Blob"), this);
  return std::make_unique<TmySQLBlobStream>(blob, Mode);
}

void TmySQLDataSet::CloseBlob(TField* Field) {
  if (char* buffer = ActiveBuffer()) GetEngine()->FreeBlob(FHandle, buffer, Field->GetFieldNo());
}

String* TmySQLDataSet::BlobCacheSlot(char* Buffer, const TField* Field) const {
  String* slot;
  std::memcpy(&slot, Buffer + FBlobCacheOfs + sizeof(String*) * size_t(Field->GetOffset()), sizeof slot);
  return slot;
}

String TmySQLDataSet::GetBlobData(char* Buffer, const TField* Field) const {
  const String* cached = BlobCacheSlot(Buffer, Field);
  return cached ? *cached : String();
}

void TmySQLDataSet::SetBlobData(char* Buffer, const TField* Field, const String& Value) {
  if (Buffer != ActiveBuffer()) return;
  String* slot = BlobCacheSlot(Buffer, Field);
  if (!slot && Value.empty()) return;
  if (!slot) {
    slot = new String; // owned by the buffer until ClearBlobCache
    std::memcpy(Buffer + FBlobCacheOfs + sizeof(String*) * size_t(Field->GetOffset()), &slot, sizeof slot);
  }
  *slot = Value;
}

void TmySQLDataSet::ClearBlobCache(char* Buffer) {
  for (int i = 0; i < GetBlobFieldCount(); ++i) {
    char* at = Buffer + FBlobCacheOfs + sizeof(String*) * size_t(i);
    String* slot;
    std::memcpy(&slot, at, sizeof slot);
    delete slot;
    slot = nullptr;
    std::memcpy(at, &slot, sizeof slot);
  }
}

int TmySQLDataSet::GetBlobFieldData(int FieldNo, String& Buffer) {
  char* record = GetBlockReadSize() > 0 ? (FBlockReadBuf.empty() ? nullptr : BlockBuffer(FBlockBufIndex))
                                        : GetActiveRecBuf();
  if (!record) return 0;
  TmySQLEngine* engine = GetEngine();
  if (engine->OpenBlob(FHandle, record, FieldNo, 1) != 0) return 0;
  uint32_t size = 0;
  uint16_t code = engine->GetBlobSize(FHandle, record, FieldNo, size);
  if (code == 0 && size > 0) {
    if (Buffer.size() <= size) Buffer.resize(size + size / 4);
    uint32_t read = 0;
    code = engine->GetBlob(FHandle, record, FieldNo, 0, int32_t(size), Buffer.data(), read);
  }
  engine->FreeBlob(FHandle, record, FieldNo);
  if (GetBlockReadSize() == 0) Check(engine, code);
  return code == 0 ? int(size) : 0;
}
