// Column typing, record buffers and the conversion of values between the
// server's texts, the buffer slots and the caller's representation.
#include "mySQLAccess.h"

#include "DateUtils.h"
#include "uMysqlHelpers.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

// A record buffer's size must stay a positive 32-bit number.
constexpr int64_t MaxRecordBufferSize = INT32_MAX;
// The status entry of every field and the bookmark after the data area.
constexpr int StatusEntrySize = 8;

bool IsBooleanEnum(const TMysqlField& field, const String& valueList) {
  if (!(field.Flags & ENUM_FLAG) || field.Length != 1) return false;
  TStringList values;
  values.SetCommaText(valueList);
  if (values.GetCount() != 2) return false;
  return FirstCharInSet("fnty", values[0]) && FirstCharInSet("fnty", values[1]);
}

template <typename T> void Store(char* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

template <typename T> T Load(const char* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

// Milliseconds of the fraction that follows a "." at `dot`; 0 without one.
int FractionMSecs(const String& text, size_t dot) {
  if (dot >= text.size() || text[dot] != '.') return 0;
  int ms = 0, digits = 0;
  for (size_t i = dot + 1; i < text.size() && digits < 3 && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
    ms = ms * 10 + (text[i] - '0');
  for (; digits < 3; ++digits)
    ms *= 10;
  return ms;
}

TDateTime AddMSecs(TDateTime value, int ms) {
  if (ms == 0) return value;
  TTimeStamp ts = DateTimeToTimeStamp(value);
  ts.Time += ms;
  return TimeStampToDateTime(ts);
}

// "[-]h:mm:ss[.ffffff]" with any number of hours, as TIME values come.
int64_t TimeTextToMSecs(const String& text) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  int64_t parts[3] = {0, 0, 0};
  for (int p = 0; p < 3; ++p) {
    const size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 12)
      parts[p] = parts[p] * 10 + (text[i++] - '0');
    if (i == start || (p < 2 && (i >= text.size() || text[i++] != ':')))
      throw EConvertError(Format("'%s' is not a valid time", text));
  }
  if (parts[1] > 59 || parts[2] > 59) throw EConvertError(Format("'%s' is not a valid time", text));
  const int64_t ms = ((parts[0] * 60 + parts[1]) * 60 + parts[2]) * 1000 + FractionMSecs(text, i);
  return negative ? -ms : ms;
}

// BIT values come as their bytes, most significant first.
int64_t BitsValue(const char* value, size_t length) {
  uint64_t bits = 0;
  for (size_t i = 0; i < length; ++i)
    bits = bits << 8 | uint8_t(value[i]);
  return int64_t(bits);
}

int64_t Integer32(const String& text, bool isUnsigned) {
  const int64_t v = StrToInt64(text);
  if (isUnsigned ? (v < 0 || v > int64_t(UINT32_MAX)) : (v < INT32_MIN || v > INT32_MAX))
    throw EConvertError(Format("'%s' is not a valid integer value", text));
  return v;
}

bool IsTextType(uint16_t type, int32_t nativeSize) {
  return (type == MYSQL_TYPE_BOOLEAN_ENUM && nativeSize != 2) || type == MYSQL_TYPE_SET_VALUE ||
         type == 253 || type == 254;
}

} // namespace

// ---- Column typing ---------------------------------------------------------

TColumnTyping MySQLTypeToLogical(const TMysqlField& field, const String& valueList) {
  TColumnTyping t;
  uint16_t type = field.Type;
  int sizeBasis = std::max(field.Length, field.MaxLength);
  bool longString = false;
  switch (type) {
  case 249: // tiny, medium and long blobs: long definitions come as these
  case 250:
  case 251:
  case 245: // JSON
  case 255: // geometry
    type = 252;
    break;
  case 15: // VARCHAR
    type = 253;
    break;
  case 8: // BIGINT UNSIGNED reaches past int64: kept as its text
    if (field.Flags & UNSIGNED_FLAG) type = 254;
    break;
  }
  if (IsBooleanEnum(field, valueList)) type = MYSQL_TYPE_BOOLEAN_ENUM;
  if (field.Flags & SET_FLAG) {
    type = MYSQL_TYPE_SET_VALUE;
    if (field.MaxLength > 0) sizeBasis = field.MaxLength;
  }
  t.TextBlob = (field.Flags & BLOB_FLAG) && type == 252 && !(field.Flags & BINARY_FLAG);
  if (field.Type == 245) t.TextBlob = true;
  if ((type == 253 || type == 254) && sizeBasis >= 256) {
    type = 252;
    t.TextBlob = true;
    longString = true;
  }
  t.NativeType = type;
  const bool isUnsigned = (field.Flags & UNSIGNED_FLAG) != 0;
  const bool autoInc = (field.Flags & AUTO_INCREMENT_FLAG) != 0;
  switch (type) {
  case 0:
  case 4:
  case 5:
  case 246:
    t.FieldType = fldFLOAT;
    t.Length = 8;
    break;
  case 1:
  case 2:
    t.FieldType = isUnsigned ? fldUINT16 : fldINT16;
    t.Length = 2;
    break;
  case 3:
  case 9:
  case 13:
    t.FieldType = isUnsigned ? fldUINT32 : fldINT32;
    t.Length = 4;
    break;
  case 8:
  case 16:
    t.FieldType = fldINT64;
    t.Length = 8;
    break;
  case 7:
  case 12:
    t.FieldType = fldTIMESTAMP;
    t.Length = 8;
    break;
  case 10:
  case 14:
    t.FieldType = fldDATE;
    t.Length = 8;
    break;
  case 11:
    t.FieldType = fldTIME;
    t.Length = 8;
    break;
  case MYSQL_TYPE_BOOLEAN_ENUM:
    if (IsBooleanEnum(field, valueList)) {
      t.FieldType = fldBOOL;
      t.Length = 2;
      break;
    }
    [[fallthrough]];
  default: // strings, SET, NULL and types without a mapping of their own
    t.FieldType = fldZSTRING;
    t.Length = uint32_t(sizeBasis) + 1;
    break;
  case 252:
    t.FieldType = fldBLOB;
    t.SubType = t.TextBlob ? fldstMEMO : 0;
    t.Length = sizeof(TMemoryStream*);
    break;
  }
  if (autoInc && (t.FieldType == fldINT32 || t.FieldType == fldINT64) && type != 16) t.SubType = fldstAUTOINC;
  if (type == 252)
    t.NativeSize = sizeBasis + (longString ? 1 : 0);
  else if (type == MYSQL_TYPE_SET_VALUE)
    t.NativeSize = std::max(field.Length, field.MaxLength);
  else
    t.NativeSize = int32_t(t.Length);
  return t;
}

// ---- Field slots -----------------------------------------------------------

void TmySQLField::Setup(const TFieldDesc& desc, const TValCheckDesc& check, const String& enumValue,
                        int32_t nativeSize) {
  FDesc = desc;
  FValCheck = check;
  FEnumValue = enumValue;
  FNativeSize = nativeSize;
}

void TmySQLField::BindBuffer(char* buffer) {
  FBuffer = buffer;
  FStatus = FDesc.NullOffset ? buffer + FDesc.NullOffset : nullptr;
}

char* TmySQLField::Slot() const {
  return FBuffer + FDesc.Offset + (FDesc.FieldNumber - 1);
}

bool TmySQLField::GetIsNull() const {
  return FStatus && Load<int16_t>(FStatus) == -1;
}

void TmySQLField::SetIsNull(bool null) {
  if (FStatus) Store<int16_t>(FStatus, null ? -1 : 0);
}

void TmySQLField::SetChanged(bool changed) {
  if (FStatus) Store<int32_t>(FStatus + 4, changed ? -1 : 0);
}

bool TmySQLField::GetChanged() const {
  return !FStatus || Load<int32_t>(FStatus + 4) != 0;
}

TMemoryStream* TmySQLField::GetBlobStream() const {
  if (Slot()[0] == 0) return nullptr;
  return Load<TMemoryStream*>(ValueArea());
}

void TmySQLField::SetBlobStream(TMemoryStream* stream) {
  Slot()[0] = 1;
  Store(ValueArea(), stream);
}

namespace {

// Numbers the record buffer holds in the caller's own form: their size in
// bytes, or 0 for a type whose value is converted on the way.
size_t PlainValueSize(uint16_t nativeType) {
  switch (nativeType) {
  case 0:
  case 4:
  case 5:
  case 246:
  case 8:
  case 16:
    return 8;
  case 1:
  case 2:
    return 2;
  case 3:
  case 9:
  case 13:
    return 4;
  default:
    return 0;
  }
}

} // namespace

void TmySQLField::GetValue(void* dest, bool& blank) const {
  blank = true;
  if (GetIsNull() || Slot()[0] == 0) return;
  const char* v = ValueArea();
  char* d = static_cast<char*>(dest);
  blank = false;
  if (const size_t size = PlainValueSize(FDesc.NativeType)) {
    std::memcpy(d, v, size);
    return;
  }
  switch (FDesc.NativeType) {
  case 7:
  case 12:
    Store<double>(d, TimeStampToMSecs(DateTimeToTimeStamp(Load<double>(v))));
    return;
  case 10:
  case 14:
    Store<int32_t>(d, DateTimeToTimeStamp(Load<double>(v)).Date);
    return;
  case 11: {
    const double ms = std::nearbyint(Load<double>(v) * MSecsPerDay);
    // Beyond about 596 hours a time does not fit the caller's milliseconds.
    if (ms < INT32_MIN || ms > INT32_MAX) {
      blank = true;
      return;
    }
    Store<int32_t>(d, int32_t(ms));
    return;
  }
  default:
    break;
  }
  if (FDesc.NativeType == MYSQL_TYPE_BOOLEAN_ENUM && FNativeSize == 2) {
    Store<int16_t>(d, int16_t(uint8_t(v[0])));
    return;
  }
  if (IsTextType(FDesc.NativeType, FNativeSize)) {
    // The caller's room is the field's length: its characters and the zero.
    const size_t limit = std::min<size_t>(size_t(std::max(FNativeSize, 0)), FDesc.Length - 1);
    const size_t n = strnlen(v, limit);
    std::memcpy(d, v, n);
    d[n] = 0;
    return;
  }
  blank = true;
}

void TmySQLField::SetValue(const void* source) {
  char* slot = Slot();
  std::memset(slot, 0, FDesc.Length + 1);
  slot[0] = 1;
  char* v = ValueArea();
  const char* s = static_cast<const char*>(source);
  if (const size_t size = PlainValueSize(FDesc.NativeType)) {
    std::memcpy(v, s, size);
    return;
  }
  try {
    switch (FDesc.NativeType) {
    case 7:
    case 12:
      Store<double>(v, TimeStampToDateTime(MSecsToTimeStamp(Load<double>(s))));
      return;
    case 10:
    case 14:
      Store<double>(v, TimeStampToDateTime(TTimeStamp{0, Load<int32_t>(s)}));
      return;
    case 11:
      Store<double>(v, double(Load<int32_t>(s)) / MSecsPerDay);
      return;
    default:
      break;
    }
  } catch (const EConvertError&) {
    std::memset(v, 0, FDesc.Length);
    return;
  }
  if (FDesc.NativeType == MYSQL_TYPE_BOOLEAN_ENUM && FNativeSize == 2) {
    v[0] = s[0];
    return;
  }
  if (IsTextType(FDesc.NativeType, FNativeSize)) {
    const size_t limit = std::min<size_t>(size_t(std::max(FNativeSize, 0)), FDesc.Length - 1);
    std::memcpy(v, s, strnlen(s, limit));
  }
}

Variant TmySQLField::GetVariant() const {
  if (GetIsNull() || FDesc.FieldType == fldBLOB) return GetIsNull() ? Null() : Unassigned();
  if (Slot()[0] == 0) return Null();
  const char* v = ValueArea();
  switch (FDesc.FieldType) {
  case fldZSTRING: {
    if (!IsTextType(FDesc.NativeType, FNativeSize)) return Null();
    const size_t limit = std::min<size_t>(size_t(std::max(FNativeSize, 0)), FDesc.Length - 1);
    String escaped;
    EscapeSQLText(String(v, strnlen(v, limit)), escaped);
    return escaped;
  }
  case fldBOOL:
    return Variant(uint8_t(v[0]) != 0);
  case fldINT16:
    return Variant(Load<int16_t>(v));
  case fldUINT16:
    return Variant(Load<uint16_t>(v));
  case fldINT32:
    return Variant(Load<int32_t>(v));
  case fldUINT32:
    return Variant(Load<uint32_t>(v));
  case fldINT64:
    return Variant(Load<int64_t>(v));
  case fldFLOAT:
    return Variant(Load<double>(v));
  case fldTIMESTAMP:
  case fldDATE:
  case fldTIME:
    return Variant::FromDate(Load<double>(v));
  default:
    return Unassigned();
  }
}

// ---- Record buffers --------------------------------------------------------

uint32_t TNativeDataSet::DataAreaLength() {
  if (FDataAreaLength >= 0) return uint32_t(FDataAreaLength);
  if (FFields.Count() < ColumnCount()) BuildFields();
  return uint32_t(FDataAreaLength < 0 ? 0 : FDataAreaLength);
}

uint32_t TNativeDataSet::GetRecordSize() {
  return DataAreaLength();
}

uint32_t TNativeDataSet::GetBufferSize() {
  const int64_t data = DataAreaLength();
  const int64_t size = data + int64_t(StatusEntrySize) * FFields.Count() + 1 + BookmarkSize;
  if (size > MaxRecordBufferSize)
    RaiseCode(DBIERR_INVALIDRECSTRUCT, "The row is too large for a record buffer");
  FBookmarkOffset = size - BookmarkSize;
  return uint32_t(size);
}

void TNativeDataSet::CheckBuffer(const void* buffer) const {
  if (!buffer) RaiseCode(DBIERR_INVALIDPARAM);
}

TmySQLField* TNativeDataSet::BoundField(int fieldNumber, char* buffer) {
  DataAreaLength();
  TmySQLField* field = FFields.Field(fieldNumber);
  field->BindBuffer(buffer);
  return field;
}

void TNativeDataSet::InitRecord(char* buffer) {
  CheckBuffer(buffer);
  std::memset(buffer, 0, GetBufferSize());
  for (int n = 1; n <= FFields.Count(); ++n) {
    TmySQLField* field = BoundField(n, buffer);
    field->SetIsNull(true);
    field->SetChanged(false);
  }
  FCurrentBuffer = buffer;
}

void TNativeDataSet::GetField(int fieldNumber, char* buffer, void* dest, bool& blank) {
  CheckBuffer(buffer);
  TmySQLField* field = BoundField(fieldNumber, buffer);
  if (dest) {
    field->GetValue(dest, blank);
    return;
  }
  blank = field->GetIsNull() || (field->GetFieldType() != fldBLOB && field->Slot()[0] == 0);
}

void TNativeDataSet::PutField(int fieldNumber, char* buffer, const void* source) {
  CheckBuffer(buffer);
  TmySQLField* field = BoundField(fieldNumber, buffer);
  if (source) field->SetValue(source);
  field->SetChanged(true);
  field->SetIsNull(source == nullptr);
}

void TNativeDataSet::FillRecordBuffer() {
  if (!FCurrentBuffer || !FResult) return;
  char* buffer = FCurrentBuffer;
  FCurrentBuffer = nullptr;
  DataAreaLength();
  const int columns = std::min(ColumnCount(), FFields.Count());
  for (int i = 0; i < columns; ++i) {
    TmySQLField* field = BoundField(i + 1, buffer);
    const char* value = ColumnValue(i);
    char* slot = field->Slot();
    char* v = field->ValueArea();
    const uint32_t length = field->GetFieldLength();
    field->SetChanged(false);
    field->SetIsNull(value == nullptr);
    std::memset(slot, 0, length + 1);
    if (!value) continue;
    const uint16_t type = field->GetNativeType();
    if (type == 252) continue; // read from the row when asked for
    const String text = ColumnText(i);
    switch (type) {
    case 0:
    case 4:
    case 5:
    case 246:
      Store<double>(v, TextToFloatDot(text));
      break;
    case 1:
    case 2:
      Store<int16_t>(v, int16_t(StrToInt(text)));
      break;
    case 3:
    case 9:
    case 13:
      Store<int32_t>(v, int32_t(uint32_t(Integer32(text, field->GetFieldType() == fldUINT32))));
      break;
    case 8:
      Store<int64_t>(v, StrToInt64(text));
      break;
    case 16:
      Store<int64_t>(v, BitsValue(text.data(), text.size()));
      break;
    case 7: {
      const TDateTime stamp = TimestampTextToDateTime(text);
      Store<double>(
          v, stamp == 0 ? 0 : AddMSecs(stamp, FractionMSecs(text, text.find('-') == String::npos ? 14 : 19)));
      break;
    }
    case 12:
      Store<double>(v, AddMSecs(TextToDateTime(text), FractionMSecs(text, 19)));
      break;
    case 10:
    case 14:
      Store<double>(v, TextToDateTime(text));
      break;
    case 11:
      Store<double>(v, double(TimeTextToMSecs(text)) / MSecsPerDay);
      break;
    default:
      if (type == MYSQL_TYPE_BOOLEAN_ENUM && field->GetNativeSize() == 2) {
        Store<int16_t>(v, FirstCharInSet("ty", text) ? 1 : 0);
      } else {
        std::memcpy(v, text.data(), std::min<size_t>(text.size(), length - 1));
      }
      break;
    }
    slot[0] = 1;
  }
}

// ---- Blobs -----------------------------------------------------------------

TmySQLField* TNativeDataSet::BlobField(int fieldNumber, char* buffer) {
  CheckBuffer(buffer);
  TmySQLField* field = BoundField(fieldNumber, buffer);
  if (field->GetFieldType() != fldBLOB) RaiseCode(DBIERR_NOTABLOB);
  return field;
}

void TNativeDataSet::OpenBlob(char* buffer, int fieldNumber, int /*mode*/) {
  BlobField(fieldNumber, buffer);
}

void TNativeDataSet::GetBlobSize(char* buffer, int fieldNumber, uint32_t& size) {
  TmySQLField* field = BlobField(fieldNumber, buffer);
  size = 0;
  if (field->GetIsNull()) return;
  if (TMemoryStream* stream = field->GetBlobStream()) {
    size = uint32_t(stream->GetSize());
    return;
  }
  if (!FResult || !ColumnValue(fieldNumber - 1)) return;
  size = uint32_t(ColumnText(fieldNumber - 1).size());
}

void TNativeDataSet::GetBlob(char* buffer, int fieldNumber, uint32_t offset, int32_t count, void* dest,
                             uint32_t& read) {
  TmySQLField* field = BlobField(fieldNumber, buffer);
  read = 0;
  if (!dest || count <= 0 || field->GetIsNull()) return;
  if (TMemoryStream* stream = field->GetBlobStream()) {
    stream->Seek(offset, soBeginning);
    read = uint32_t(stream->Read(dest, count));
    return;
  }
  if (!FResult || !ColumnValue(fieldNumber - 1)) return;
  const String value = ColumnText(fieldNumber - 1);
  if (offset >= value.size()) return;
  read = uint32_t(std::min<size_t>(value.size() - offset, size_t(count)));
  std::memcpy(dest, value.data() + offset, read);
}

void TNativeDataSet::PutBlob(char* buffer, int fieldNumber, uint32_t offset, int32_t count,
                             const void* source) {
  TmySQLField* field = BlobField(fieldNumber, buffer);
  TMemoryStream* stream = field->GetBlobStream();
  if (!stream) {
    stream = new TMemoryStream;
    field->SetBlobStream(stream);
  }
  stream->Seek(offset, soBeginning);
  if (count > 0)
    stream->Write(source, count);
  else if (offset == 0)
    stream->Clear();
  field->SetChanged(true);
  field->SetIsNull(int64_t(offset) + count == 0);
}

void TNativeDataSet::TruncateBlob(char* buffer, int fieldNumber, uint32_t length) {
  TmySQLField* field = BlobField(fieldNumber, buffer);
  TMemoryStream* stream = field->GetBlobStream();
  if (!stream) {
    stream = new TMemoryStream;
    // A longer length keeps the start of the value the row holds.
    if (length > 0 && !field->GetIsNull() && FResult && ColumnValue(fieldNumber - 1)) {
      const String value = ColumnText(fieldNumber - 1);
      stream->Write(value.data(), int64_t(value.size()));
    }
    field->SetBlobStream(stream);
  }
  if (length == 0)
    stream->Clear();
  else if (int64_t(length) < stream->GetSize())
    stream->SetSize(length);
  field->SetChanged(true);
  field->SetIsNull(length == 0);
}

void TNativeDataSet::FreeBlob(char* buffer, int fieldNumber) {
  TmySQLField* field = BlobField(fieldNumber, buffer);
  // Also a blob made NULL keeps its stream until now.
  if (TMemoryStream* stream = field->GetBlobStream()) {
    delete stream;
    field->SetBlobStream(nullptr);
  }
}
