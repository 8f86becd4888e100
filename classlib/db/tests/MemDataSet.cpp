#include "MemDataSet.h"

#include <algorithm>

namespace {

int ValueSize(TFieldType type, int size) {
  switch (type) {
  case ftString:
  case ftFixedChar:
    return size + 1;
  case ftSmallint:
  case ftWord:
  case ftBoolean:
    return 2;
  case ftInteger:
  case ftAutoInc:
  case ftDate:
  case ftTime:
    return 4;
  case ftBytes:
    return size;
  case ftVarBytes:
    return size + 2;
  case ftBlob:
  case ftMemo:
    return 0;
  default:
    return 8;
  }
}

bool IsBlobType(TFieldType t) {
  return t == ftBlob || t == ftMemo;
}

} // namespace

// Streams over a copy of the blob; a write stream hands its contents back
// to the data set when it is destroyed.
class TMemBlobStream : public TStringStream {
public:
  TMemBlobStream(TMemDataSet* ds, TField* field, TBlobStreamMode mode, String data)
      : TStringStream(std::move(data)), FDataSet(ds), FField(field), FMode(mode) {
    if (mode == bmWrite) SetSize(0);
  }
  ~TMemBlobStream() override {
    if (FMode == bmRead) return;
    FDataSet->FPendingBlobs[FField->GetFieldNo()] = GetDataString();
    static_cast<TBlobField*>(FField)->SetModified(true);
    FDataSet->DataEvent(deFieldChange, reinterpret_cast<intptr_t>(FField));
  }

private:
  TMemDataSet* FDataSet;
  TField* FField;
  TBlobStreamMode FMode;
};

void TMemDataSet::AddRow(const std::vector<std::optional<String>>& values) {
  // Text values become field data through a scratch open of the layout.
  Row row;
  for (size_t i = 0; i < Columns.size(); ++i) {
    const auto& v = i < values.size() ? values[i] : std::nullopt;
    if (!v) {
      row.push_back(std::nullopt);
      continue;
    }
    const Column& c = Columns[i];
    String data(static_cast<size_t>(ValueSize(c.Type, c.Size)), '\0');
    auto put = [&](const auto& x) { std::memcpy(data.data(), &x, sizeof x); };
    switch (c.Type) {
    case ftString:
    case ftFixedChar:
      std::memcpy(data.data(), v->data(), std::min<size_t>(v->size(), c.Size));
      break;
    case ftSmallint:
    case ftWord:
    case ftBoolean:
      put(static_cast<int16_t>(StrToInt(*v)));
      break;
    case ftInteger:
    case ftAutoInc:
      put(static_cast<int32_t>(StrToInt(*v)));
      break;
    case ftLargeint:
      put(StrToInt64(*v));
      break;
    case ftFloat:
    case ftCurrency:
      put(StrToFloat(*v));
      break;
    case ftBlob:
    case ftMemo:
      data = *v;
      break;
    default:
      throw Exception("AddRow: no text form for this type");
    }
    if (ShiftedText && (c.Type == ftString || c.Type == ftMemo))
      for (char& ch : data)
        if (ch) ++ch;
    row.push_back(data);
  }
  Rows.push_back(row);
}

void TMemDataSet::InternalInitFieldDefs() {
  GetFieldDefs().Clear();
  for (const Column& c : Columns)
    GetFieldDefs().Add(c.Name, c.Type, c.Size, c.Required);
}

void TMemDataSet::InternalOpen() {
  FOpen = true; // the definitions below are read from the open cursor
  GetFieldDefs().Updated = false;
  GetFieldDefs().Update();
  if (GetDefaultFields()) CreateFields();
  BindFields(true);
  FOffsets.clear();
  int offset = 0;
  for (const Column& c : Columns) {
    FOffsets.push_back(offset);
    offset += 1 + ValueSize(c.Type, c.Size);
  }
  FRecordSize = offset;
  FInfoOffset = FRecordSize + GetCalcFieldsSize();
  FBufferSize = FInfoOffset + 5;
  BookmarkSize = 4;
  FCursor = -1;
}

void TMemDataSet::InternalClose() {
  BindFields(false);
  if (GetDefaultFields()) DestroyFields();
  FPendingBlobs.clear();
  FOpen = false;
}

int TMemDataSet::DataSizeOf(int fieldNo) const {
  const Column& c = Columns[static_cast<size_t>(fieldNo - 1)];
  return ValueSize(c.Type, c.Size);
}

void TMemDataSet::FillBuffer(char* Buffer, int row) {
  std::memset(Buffer, 0, static_cast<size_t>(FRecordSize));
  for (size_t i = 0; i < Columns.size(); ++i) {
    const auto& v = Rows[static_cast<size_t>(row)][i];
    char* slot = Buffer + FOffsets[i];
    slot[0] = v ? 1 : 0;
    if (v && !IsBlobType(Columns[i].Type)) std::memcpy(slot + 1, v->data(), v->size());
  }
  std::memcpy(Buffer + FInfoOffset, &row, 4);
  Buffer[FInfoOffset + 4] = bfCurrent;
}

TMemDataSet::Row TMemDataSet::RowFromBuffer(const char* Buffer, int row) const {
  Row r;
  for (size_t i = 0; i < Columns.size(); ++i) {
    int fieldNo = static_cast<int>(i) + 1;
    const char* slot = Buffer + FOffsets[i];
    if (IsBlobType(Columns[i].Type)) {
      auto pending = FPendingBlobs.find(fieldNo);
      if (pending != FPendingBlobs.end())
        r.push_back(pending->second.empty() ? std::nullopt : std::optional(pending->second));
      else
        r.push_back(row >= 0 ? Rows[static_cast<size_t>(row)][i] : std::nullopt);
      continue;
    }
    if (slot[0])
      r.push_back(String(slot + 1, static_cast<size_t>(DataSizeOf(fieldNo))));
    else
      r.push_back(std::nullopt);
  }
  return r;
}

bool TMemDataSet::Accepts(int row) {
  if (!GetFiltered() || !GetOnFilterRecord()) return true;
  std::vector<char> buf(static_cast<size_t>(FBufferSize));
  FillBuffer(buf.data(), row);
  FFilterBuffer = buf.data();
  TDataSetState saved = SetTempState(dsFilter);
  bool accept = true;
  try {
    GetOnFilterRecord()(this, accept);
  } catch (...) {
    RestoreState(saved);
    FFilterBuffer = nullptr;
    throw;
  }
  RestoreState(saved);
  FFilterBuffer = nullptr;
  return accept;
}

TGetResult TMemDataSet::GetRecord(char* Buffer, TGetMode GetMode, bool) {
  int n = static_cast<int>(Rows.size());
  switch (GetMode) {
  case gmNext:
    do {
      if (FCursor >= n - 1) {
        FCursor = n;
        return grEOF;
      }
      ++FCursor;
    } while (!Accepts(FCursor));
    break;
  case gmPrior:
    do {
      if (FCursor <= 0) {
        FCursor = -1;
        return grBOF;
      }
      --FCursor;
    } while (!Accepts(FCursor));
    break;
  case gmCurrent:
    if (FCursor < 0 || FCursor >= n) return grError;
    break;
  }
  FillBuffer(Buffer, FCursor);
  GetCalcFields(Buffer);
  return grOK;
}

char* TMemDataSet::CurrentBuffer() {
  switch (GetState()) {
  case dsCalcFields:
    return CalcBuffer();
  case dsFilter:
    return FFilterBuffer;
  case dsBrowse:
    return IsEmpty() ? nullptr : ActiveBuffer();
  case dsEdit:
  case dsInsert:
    return ActiveBuffer();
  default:
    return nullptr;
  }
}

bool TMemDataSet::GetFieldData(TField* Field, void* Buffer) {
  char* rec = CurrentBuffer();
  if (!rec) return false;
  if (Field->GetFieldNo() < 0) {
    char* slot = rec + FRecordSize + Field->GetOffset();
    if (slot[0] && Buffer) std::memcpy(Buffer, slot + 1, static_cast<size_t>(Field->GetDataSize()));
    return slot[0] != 0;
  }
  char* slot = rec + Offset(Field->GetFieldNo());
  if (Field->IsBlob()) {
    int row;
    std::memcpy(&row, rec + FInfoOffset, 4);
    Row r = RowFromBuffer(rec, GetBookmarkFlag(rec) == bfCurrent ? row : -1);
    return r[static_cast<size_t>(Field->GetFieldNo() - 1)].has_value();
  }
  if (slot[0] && Buffer) std::memcpy(Buffer, slot + 1, static_cast<size_t>(DataSizeOf(Field->GetFieldNo())));
  return slot[0] != 0;
}

void TMemDataSet::SetFieldData(TField* Field, const void* Buffer) {
  TDataSetState s = GetState();
  if (s != dsEdit && s != dsInsert && s != dsCalcFields) DatabaseError(dbconsts::SNotEditing, this);
  char* rec = CurrentBuffer();
  if (Field->GetFieldNo() < 0) {
    char* slot = rec + FRecordSize + Field->GetOffset();
    slot[0] = Buffer ? 1 : 0;
    if (Buffer) std::memcpy(slot + 1, Buffer, static_cast<size_t>(Field->GetDataSize()));
  } else {
    if (s == dsCalcFields) DatabaseError(dbconsts::SNotEditing, this);
    if (Field->ReadOnly) DatabaseError(Format(dbconsts::SFieldReadOnly, Field->GetDisplayName()), this);
    Field->Validate(Buffer);
    char* slot = rec + Offset(Field->GetFieldNo());
    int size = DataSizeOf(Field->GetFieldNo());
    std::memset(slot + 1, 0, static_cast<size_t>(size));
    slot[0] = Buffer ? 1 : 0;
    if (Buffer) std::memcpy(slot + 1, Buffer, static_cast<size_t>(size));
  }
  if (s != dsCalcFields) DataEvent(deFieldChange, reinterpret_cast<intptr_t>(Field));
}

std::unique_ptr<TStream> TMemDataSet::CreateBlobStream(TField* Field, TBlobStreamMode Mode) {
  if (Mode != bmRead && GetState() != dsEdit && GetState() != dsInsert)
    DatabaseError(dbconsts::SNotEditing, this);
  String data;
  if (char* rec = CurrentBuffer()) {
    int row;
    std::memcpy(&row, rec + FInfoOffset, 4);
    Row r = RowFromBuffer(rec, GetBookmarkFlag(rec) == bfCurrent ? row : -1);
    data = r[static_cast<size_t>(Field->GetFieldNo() - 1)].value_or(String());
  }
  return std::make_unique<TMemBlobStream>(this, Field, Mode, data);
}

void TMemDataSet::InternalPost() {
  TDataSet::InternalPost();
  char* rec = ActiveBuffer();
  int row;
  std::memcpy(&row, rec + FInfoOffset, 4);
  if (GetState() == dsEdit) {
    Rows[static_cast<size_t>(row)] = RowFromBuffer(rec, row);
    FCursor = row;
  } else {
    // Inserted before the row whose bookmark Insert left, appended otherwise.
    TBookmarkFlag flag = GetBookmarkFlag(rec);
    int at = (flag == bfInserted && row >= 0 && row < static_cast<int>(Rows.size()))
                 ? row
                 : static_cast<int>(Rows.size());
    Rows.insert(Rows.begin() + at, RowFromBuffer(rec, -1));
    FCursor = at;
  }
  FPendingBlobs.clear();
}

void TMemDataSet::InternalDelete() {
  Rows.erase(Rows.begin() + FCursor);
  if (FCursor >= static_cast<int>(Rows.size())) FCursor = static_cast<int>(Rows.size()) - 1;
}

int TMemDataSet::GetRecNo() {
  CheckActive();
  if (IsEmpty()) return -1;
  int row;
  std::memcpy(&row, ActiveBuffer() + FInfoOffset, 4);
  return row + 1;
}

int TMemDataSet::CompareBookmarks(const char* a, const char* b) {
  if (!a || !b) return a == b ? 0 : (a ? -1 : 1);
  int x, y;
  std::memcpy(&x, a, 4);
  std::memcpy(&y, b, 4);
  return x < y ? -1 : (x > y ? 1 : 0);
}

bool TMemDataSet::BookmarkValid(const char* b) {
  if (!b || !FOpen) return false;
  int x;
  std::memcpy(&x, b, 4);
  return x >= 0 && x < static_cast<int>(Rows.size());
}

int TMemDataSet::Translate(const char* Src, char* Dest, bool ToOem) {
  int n = TDataSet::Translate(Src, Dest, ToOem);
  if (ShiftedText)
    for (int i = 0; i < n; ++i)
      Dest[i] = static_cast<char>(Dest[i] + (ToOem ? 1 : -1));
  return n;
}
