// Fields, the field list and field definitions.
#include "DB.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using namespace dbconsts;

void DatabaseError(const String& Message, const TComponent* Component) {
  if (Component && !Component->GetName().empty()) throw EDatabaseError(Component->GetName() + ": " + Message);
  throw EDatabaseError(Message);
}

String FieldTypeName(TFieldType Type) {
  static const char* const names[] = {
      "Unknown",     "String",    "SmallInt",  "Integer",    "Word",     "Boolean",    "Float",
      "Currency",    "BCD",       "Date",      "Time",       "DateTime", "Bytes",      "VarBytes",
      "AutoInc",     "Blob",      "Memo",      "Graphic",    "FmtMemo",  "ParadoxOle", "DBaseOle",
      "TypedBinary", "Cursor",    "FixedChar", "WideString", "Largeint", "ADT",        "Array",
      "Reference",   "DataSet",   "OraBlob",   "OraClob",    "Variant",  "Interface",  "IDispatch",
      "Guid",        "TimeStamp", "FMTBcd"};
  int i = static_cast<int>(Type);
  return i >= 0 && i < static_cast<int>(std::size(names)) ? names[i] : "Unknown";
}

namespace {

template <typename T> T ReadAs(const void* buffer) {
  T v;
  std::memcpy(&v, buffer, sizeof v);
  return v;
}

template <typename T> void WriteAs(T v, void* buffer) {
  std::memcpy(buffer, &v, sizeof v);
}

// The field's value as one plain number, or false for Null.
template <typename T> bool ReadValue(const TField* f, T& value) {
  char buf[sizeof(T)] = {};
  if (!f->GetData(buf)) return false;
  value = ReadAs<T>(buf);
  return true;
}

template <typename T> void WriteValue(TField* f, T value) {
  char buf[sizeof(T)];
  WriteAs<T>(value, buf);
  f->SetData(buf);
}

// Text into a number field: empty text is Null, anything else must parse.
void SetIntegerText(TField* f, const String& text) {
  if (text.empty()) {
    f->Clear();
    return;
  }
  int64_t v;
  if (!TryStrToInt64(text, v)) DatabaseError(Format(SInvalidIntegerValue, text, f->GetDisplayName()));
  f->SetAsLargeInt(v);
}

void SetFloatText(TField* f, const String& text) {
  if (text.empty()) {
    f->Clear();
    return;
  }
  double v;
  if (!TryStrToFloat(text, v)) DatabaseError(Format(SInvalidFloatValue, text, f->GetDisplayName()));
  f->SetAsFloat(v);
}

// A float rounded half to even into int32/int64 range, or a range error.
int64_t RoundChecked(const TField* f, double v, double lo, double hi) {
  double r = std::nearbyint(v);
  if (!(r >= lo && r <= hi))
    throw EDatabaseError(
        Format(SFieldRangeError, FloatToStr(v), f->GetDisplayName(), FloatToStr(lo), FloatToStr(hi)));
  return static_cast<int64_t>(r);
}

constexpr double kInt32Lo = std::numeric_limits<int32_t>::min();
constexpr double kInt32Hi = std::numeric_limits<int32_t>::max();
constexpr double kInt64Lo = -9223372036854775808.0;
constexpr double kInt64Hi = 9223372036854774784.0; // the largest double below 2^63

TDataSet* CheckedDataSet(const TField* f) {
  if (!f->GetDataSet()) DatabaseError(Format(SDataSetMissing, f->GetDisplayName()), f);
  return f->GetDataSet();
}

String CurrToStr(int64_t scaled) {
  bool neg = scaled < 0;
  uint64_t u = neg ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  String s = UIntToStr(u / 10000);
  uint64_t frac = u % 10000;
  if (frac) {
    String f = UIntToStr(frac);
    f.insert(0, 4 - f.size(), '0');
    while (f.back() == '0')
      f.pop_back();
    s += "." + f;
  }
  return neg ? "-" + s : s;
}

} // namespace

// ---- TField

TField::TField(TComponent* AOwner) : TComponent(AOwner) {}

TField::~TField() {
  if (FDataSet) FDataSet->FFields.Remove(this);
}

void TField::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FDataSet) FDataSet->CheckInactive();
  if (Value) {
    Value->CheckInactive();
    Value->FFields.Add(this);
  }
  if (FDataSet) FDataSet->FFields.Remove(this);
  FDataSet = Value;
}

void TField::SetFieldName(const String& Value) {
  CheckInactive();
  if (FDataSet && !SameText(Value, FFieldName) && FDataSet->FindField(Value))
    DatabaseError(Format(SDuplicateFieldName, Value), FDataSet);
  FFieldName = Value;
}

void TField::SetSize(int Value) {
  CheckInactive();
  FSize = Value;
}

int TField::GetIndex() const {
  return FDataSet ? FDataSet->FFields.IndexOf(this) : -1;
}

bool TField::GetCanModify() const {
  if (FFieldNo <= 0 || !FDataSet) return false;
  if (FDataSet->GetState() == dsSetKey) return FDataSet->GetIsIndexField(const_cast<TField*>(this));
  return !ReadOnly && FDataSet->GetCanModify();
}

void TField::CheckInactive() const {
  if (FDataSet) FDataSet->CheckInactive();
}

bool TField::GetData(void* Buffer) const {
  CheckedDataSet(this);
  if (FValidating) {
    if (FValueBuffer && Buffer) std::memcpy(Buffer, FValueBuffer, static_cast<size_t>(GetDataSize()));
    return FValueBuffer != nullptr;
  }
  return FDataSet->GetFieldData(const_cast<TField*>(this), Buffer);
}

void TField::SetData(const void* Buffer) {
  CheckedDataSet(this)->SetFieldData(this, Buffer);
}

void TField::Validate(const void* Buffer) {
  if (!OnValidate) return;
  FValueBuffer = Buffer;
  FValidating = true;
  try {
    OnValidate(this);
  } catch (...) {
    FValidating = false;
    throw;
  }
  FValidating = false;
}

bool TField::GetIsNull() const {
  return !GetData(nullptr);
}

void TField::SetValue(const Variant& Value) {
  if (Value.IsClear())
    Clear();
  else
    SetVarValue(Value);
}

Variant TField::GetOldValue() const {
  return CheckedDataSet(this)->GetStateFieldValue(dsOldValue, const_cast<TField*>(this));
}

Variant TField::GetNewValue() const {
  return CheckedDataSet(this)->GetStateFieldValue(dsNewValue, const_cast<TField*>(this));
}

void TField::SetNewValue(const Variant& Value) {
  CheckedDataSet(this)->SetStateFieldValue(dsNewValue, this, Value);
}

Variant TField::GetCurValue() const {
  return CheckedDataSet(this)->GetStateFieldValue(dsCurValue, const_cast<TField*>(this));
}

void TField::AccessError(const char* TypeName) const {
  DatabaseError(Format(SFieldAccessError, GetDisplayName(), TypeName));
}

void TField::RangeError(double Value, double Min, double Max) const {
  DatabaseError(
      Format(SFieldRangeError, FloatToStr(Value), GetDisplayName(), FloatToStr(Min), FloatToStr(Max)));
}

Variant TField::GetAsVariant() const {
  AccessError("Variant");
}
void TField::SetVarValue(const Variant&) {
  AccessError("Variant");
}
String TField::GetAsString() const {
  AccessError("String");
}
void TField::SetAsString(const String&) {
  AccessError("String");
}
int TField::GetAsInteger() const {
  AccessError("Integer");
}
void TField::SetAsInteger(int) {
  AccessError("Integer");
}
int64_t TField::GetAsLargeInt() const {
  AccessError("Largeint");
}
void TField::SetAsLargeInt(int64_t) {
  AccessError("Largeint");
}
double TField::GetAsFloat() const {
  AccessError("Float");
}
void TField::SetAsFloat(double) {
  AccessError("Float");
}
bool TField::GetAsBoolean() const {
  AccessError("Boolean");
}
void TField::SetAsBoolean(bool) {
  AccessError("Boolean");
}
TDateTime TField::GetAsDateTime() const {
  AccessError("DateTime");
}
void TField::SetAsDateTime(TDateTime) {
  AccessError("DateTime");
}

void TField::GetTextImpl(String& Text, bool) const {
  Text = GetAsString();
}

String TField::GetText() const {
  String s;
  if (OnGetText)
    OnGetText(const_cast<TField*>(this), s, false);
  else
    GetTextImpl(s, false);
  return s;
}

String TField::GetDisplayText() const {
  String s;
  if (OnGetText)
    OnGetText(const_cast<TField*>(this), s, true);
  else
    GetTextImpl(s, true);
  return s;
}

void TField::SetText(const String& Value) {
  if (OnSetText)
    OnSetText(this, Value);
  else
    SetTextImpl(Value);
}

// ---- TStringField

TStringField::TStringField(TComponent* AOwner) : TField(AOwner) {
  SetDataType(ftString);
  SetSize(20);
  SetTransliterate(true);
}

bool TStringField::GetValue(String& Value) const {
  std::vector<char> buf(static_cast<size_t>(GetDataSize()) + 1, '\0');
  if (!GetData(buf.data())) return false;
  buf.back() = '\0';
  if (GetTransliterate() && buf[0] != '\0') GetDataSet()->Translate(buf.data(), buf.data(), false);
  Value = buf.data();
  return true;
}

String TStringField::GetAsString() const {
  String s;
  return GetValue(s) ? s : String();
}

void TStringField::SetAsString(const String& Value) {
  std::vector<char> buf(static_cast<size_t>(GetDataSize()) + 1, '\0');
  size_t n = std::min(Value.size(), static_cast<size_t>(std::max(GetSize(), 0)));
  std::memcpy(buf.data(), Value.data(), n);
  buf[n] = '\0';
  if (GetTransliterate()) GetDataSet()->Translate(buf.data(), buf.data(), true);
  SetData(buf.data());
}

Variant TStringField::GetAsVariant() const {
  String s;
  return GetValue(s) ? Variant(s) : Variant::Null();
}

int TStringField::GetAsInteger() const {
  return StrToInt(GetAsString());
}
void TStringField::SetAsInteger(int Value) {
  SetAsString(IntToStr(Value));
}
int64_t TStringField::GetAsLargeInt() const {
  return StrToInt64(GetAsString());
}
void TStringField::SetAsLargeInt(int64_t Value) {
  SetAsString(IntToStr(Value));
}
double TStringField::GetAsFloat() const {
  return StrToFloat(GetAsString());
}
void TStringField::SetAsFloat(double Value) {
  SetAsString(FloatToStr(Value));
}

bool TStringField::GetAsBoolean() const {
  String s = GetAsString();
  return !s.empty() && (s[0] == 'T' || s[0] == 't' || s[0] == 'Y' || s[0] == 'y');
}

void TStringField::SetAsBoolean(bool Value) {
  SetAsString(Value ? "T" : "F");
}
TDateTime TStringField::GetAsDateTime() const {
  return StrToDateTime(GetAsString());
}
void TStringField::SetAsDateTime(TDateTime Value) {
  SetAsString(DateTimeToStr(Value));
}

// ---- integer fields

TIntegerField::TIntegerField(TComponent* AOwner) : TNumericField(AOwner) {
  SetDataType(ftInteger);
}

void TIntegerField::ReadInt(const void* Buffer, int& Value) const {
  Value = ReadAs<int32_t>(Buffer);
}
void TIntegerField::WriteInt(int Value, void* Buffer) const {
  WriteAs<int32_t>(Value, Buffer);
}

bool TIntegerField::GetValue(int& Value) const {
  char buf[8] = {};
  if (!GetData(buf)) return false;
  ReadInt(buf, Value);
  return true;
}

String TIntegerField::GetAsString() const {
  int v;
  return GetValue(v) ? IntToStr(v) : String();
}

void TIntegerField::SetAsString(const String& Value) {
  SetIntegerText(this, Value);
}

int TIntegerField::GetAsInteger() const {
  int v;
  return GetValue(v) ? v : 0;
}

void TIntegerField::CheckRange(int Value) const {
  if (MinValue != 0 || MaxValue != 0) {
    if (Value < MinValue || Value > MaxValue) RangeError(Value, MinValue, MaxValue);
  } else if (Value < FMinRange || Value > FMaxRange) {
    RangeError(Value, FMinRange, FMaxRange);
  }
}

void TIntegerField::SetAsInteger(int Value) {
  CheckRange(Value);
  char buf[8] = {};
  WriteInt(Value, buf);
  SetData(buf);
}

void TIntegerField::SetAsLargeInt(int64_t Value) {
  if (Value < kInt32Lo || Value > kInt32Hi) RangeError(static_cast<double>(Value), FMinRange, FMaxRange);
  SetAsInteger(static_cast<int>(Value));
}

void TIntegerField::SetAsFloat(double Value) {
  SetAsInteger(static_cast<int>(RoundChecked(this, Value, FMinRange, FMaxRange)));
}

Variant TIntegerField::GetAsVariant() const {
  int v;
  return GetValue(v) ? Variant(v) : Variant::Null();
}

TSmallintField::TSmallintField(TComponent* AOwner) : TIntegerField(AOwner) {
  SetDataType(ftSmallint);
  FMinRange = -32768;
  FMaxRange = 32767;
}

void TSmallintField::ReadInt(const void* Buffer, int& Value) const {
  Value = ReadAs<int16_t>(Buffer);
}
void TSmallintField::WriteInt(int Value, void* Buffer) const {
  WriteAs<int16_t>(static_cast<int16_t>(Value), Buffer);
}

TWordField::TWordField(TComponent* AOwner) : TIntegerField(AOwner) {
  SetDataType(ftWord);
  FMinRange = 0;
  FMaxRange = 65535;
}

void TWordField::ReadInt(const void* Buffer, int& Value) const {
  Value = ReadAs<uint16_t>(Buffer);
}
void TWordField::WriteInt(int Value, void* Buffer) const {
  WriteAs<uint16_t>(static_cast<uint16_t>(Value), Buffer);
}

TAutoIncField::TAutoIncField(TComponent* AOwner) : TIntegerField(AOwner) {
  SetDataType(ftAutoInc);
}

// ---- TLargeintField

TLargeintField::TLargeintField(TComponent* AOwner) : TNumericField(AOwner) {
  SetDataType(ftLargeint);
}

bool TLargeintField::GetValue(int64_t& Value) const {
  return ReadValue(this, Value);
}

String TLargeintField::GetAsString() const {
  int64_t v;
  return GetValue(v) ? IntToStr(v) : String();
}

void TLargeintField::SetAsString(const String& Value) {
  SetIntegerText(this, Value);
}

// A value beyond the 32-bit range is an error here, never a wrapped number.
int TLargeintField::GetAsInteger() const {
  int64_t v = GetAsLargeInt();
  if (v < kInt32Lo || v > kInt32Hi) RangeError(static_cast<double>(v), kInt32Lo, kInt32Hi);
  return static_cast<int>(v);
}

int64_t TLargeintField::GetAsLargeInt() const {
  int64_t v;
  return GetValue(v) ? v : 0;
}

void TLargeintField::SetAsLargeInt(int64_t Value) {
  WriteValue<int64_t>(this, Value);
}

void TLargeintField::SetAsFloat(double Value) {
  SetAsLargeInt(RoundChecked(this, Value, kInt64Lo, kInt64Hi));
}

Variant TLargeintField::GetAsVariant() const {
  int64_t v;
  return GetValue(v) ? Variant(v) : Variant::Null();
}

// ---- float fields

TFloatField::TFloatField(TComponent* AOwner) : TNumericField(AOwner) {
  SetDataType(ftFloat);
}

bool TFloatField::GetValue(double& Value) const {
  return ReadValue(this, Value);
}

String TFloatField::GetAsString() const {
  double v;
  return GetValue(v) ? FloatToStr(v) : String();
}

void TFloatField::SetAsString(const String& Value) {
  SetFloatText(this, Value);
}

int TFloatField::GetAsInteger() const {
  return static_cast<int>(RoundChecked(this, GetAsFloat(), kInt32Lo, kInt32Hi));
}

int64_t TFloatField::GetAsLargeInt() const {
  return RoundChecked(this, GetAsFloat(), kInt64Lo, kInt64Hi);
}

double TFloatField::GetAsFloat() const {
  double v;
  return GetValue(v) ? v : 0;
}

void TFloatField::SetAsFloat(double Value) {
  if ((MinValue != 0 || MaxValue != 0) && (Value < MinValue || Value > MaxValue))
    RangeError(Value, MinValue, MaxValue);
  WriteValue<double>(this, Value);
}

Variant TFloatField::GetAsVariant() const {
  double v;
  return GetValue(v) ? Variant(v) : Variant::Null();
}

TCurrencyField::TCurrencyField(TComponent* AOwner) : TFloatField(AOwner) {
  SetDataType(ftCurrency);
  Currency = true;
}

// ---- TBCDField

TBCDField::TBCDField(TComponent* AOwner) : TNumericField(AOwner) {
  SetDataType(ftBCD);
  SetSize(4);
}

bool TBCDField::GetValue(int64_t& Scaled) const {
  return ReadValue(this, Scaled);
}

String TBCDField::GetAsString() const {
  int64_t v;
  return GetValue(v) ? CurrToStr(v) : String();
}

void TBCDField::SetAsString(const String& Value) {
  SetFloatText(this, Value);
}

int TBCDField::GetAsInteger() const {
  return static_cast<int>(RoundChecked(this, GetAsFloat(), kInt32Lo, kInt32Hi));
}

int64_t TBCDField::GetAsLargeInt() const {
  int64_t v;
  if (!GetValue(v)) return 0;
  int64_t whole = v / 10000, frac = v % 10000;
  // half to even, as Round does
  if (frac > 5000 || (frac == 5000 && (whole & 1))) ++whole;
  if (frac < -5000 || (frac == -5000 && (whole & 1))) --whole;
  return whole;
}

double TBCDField::GetAsFloat() const {
  int64_t v;
  return GetValue(v) ? static_cast<double>(v) / 10000.0 : 0;
}

void TBCDField::SetAsFloat(double Value) {
  WriteValue<int64_t>(this, RoundChecked(this, Value * 10000.0, kInt64Lo, kInt64Hi));
}

Variant TBCDField::GetAsVariant() const {
  int64_t v;
  return GetValue(v) ? Variant::FromCurrency(v) : Variant::Null();
}

// ---- TBooleanField

TBooleanField::TBooleanField(TComponent* AOwner) : TField(AOwner) {
  SetDataType(ftBoolean);
}

bool TBooleanField::GetValue(bool& Value) const {
  int16_t v;
  if (!ReadValue(this, v)) return false;
  Value = v != 0;
  return true;
}

String TBooleanField::GetAsString() const {
  bool v;
  if (!GetValue(v)) return String();
  return v ? FTextTrue : FTextFalse;
}

void TBooleanField::SetAsString(const String& Value) {
  auto matches = [&](const String& text) {
    return Value.size() <= text.size() && SameText(Value, text.substr(0, Value.size()));
  };
  if (Value.empty()) {
    if (FTextFalse.empty())
      SetAsBoolean(false);
    else if (FTextTrue.empty())
      SetAsBoolean(true);
    else
      Clear();
  } else if (matches(FTextFalse)) {
    SetAsBoolean(false);
  } else if (matches(FTextTrue)) {
    SetAsBoolean(true);
  } else {
    DatabaseError(Format(SInvalidBoolValue, Value, GetDisplayName()));
  }
}

bool TBooleanField::GetAsBoolean() const {
  bool v;
  return GetValue(v) && v;
}

void TBooleanField::SetAsBoolean(bool Value) {
  WriteValue<int16_t>(this, Value ? 1 : 0);
}

void TBooleanField::SetDisplayValues(const String& Value) {
  FDisplayValues = Value;
  size_t semi = Value.find(';');
  if (Value.empty()) {
    FTextTrue = "True";
    FTextFalse = "False";
  } else if (semi == String::npos) {
    FTextTrue = Value;
    FTextFalse.clear();
  } else {
    FTextTrue = Value.substr(0, semi);
    FTextFalse = Value.substr(semi + 1);
  }
}

Variant TBooleanField::GetAsVariant() const {
  bool v;
  return GetValue(v) ? Variant(v) : Variant::Null();
}

// ---- date and time fields

TDateTimeField::TDateTimeField(TComponent* AOwner) : TField(AOwner) {
  SetDataType(ftDateTime);
}
TDateField::TDateField(TComponent* AOwner) : TDateTimeField(AOwner) {
  SetDataType(ftDate);
}
TTimeField::TTimeField(TComponent* AOwner) : TDateTimeField(AOwner) {
  SetDataType(ftTime);
}

int TDateTimeField::GetDataSize() const {
  return GetDataType() == ftDateTime ? 8 : 4;
}

bool TDateTimeField::GetValue(TDateTime& Value) const {
  char buf[8] = {};
  if (!GetData(buf)) return false;
  switch (GetDataType()) {
  case ftDate:
    Value = TimeStampToDateTime({0, ReadAs<int32_t>(buf)});
    break;
  case ftTime:
    Value = static_cast<double>(ReadAs<int32_t>(buf)) / MSecsPerDay;
    break;
  default:
    Value = TimeStampToDateTime(MSecsToTimeStamp(ReadAs<double>(buf)));
  }
  return true;
}

TDateTime TDateTimeField::GetAsDateTime() const {
  TDateTime v;
  return GetValue(v) ? v : 0;
}

void TDateTimeField::SetAsDateTime(TDateTime Value) {
  char buf[8] = {};
  TTimeStamp ts = DateTimeToTimeStamp(Value);
  switch (GetDataType()) {
  case ftDate:
    WriteAs<int32_t>(ts.Date, buf);
    break;
  case ftTime:
    WriteAs<int32_t>(ts.Time, buf);
    break;
  default:
    WriteAs<double>(TimeStampToMSecs(ts), buf);
  }
  SetData(buf);
}

String TDateTimeField::GetAsString() const {
  TDateTime v;
  if (!GetValue(v)) return String();
  if (!DisplayFormat.empty()) return FormatDateTime(DisplayFormat, v);
  switch (GetDataType()) {
  case ftDate:
    return DateToStr(v);
  case ftTime:
    return TimeToStr(v);
  default:
    return DateTimeToStr(v);
  }
}

void TDateTimeField::SetAsString(const String& Value) {
  if (Value.empty()) {
    Clear();
    return;
  }
  switch (GetDataType()) {
  case ftDate:
    SetAsDateTime(StrToDate(Value));
    break;
  case ftTime:
    SetAsDateTime(StrToTime(Value));
    break;
  default:
    SetAsDateTime(StrToDateTime(Value));
  }
}

Variant TDateTimeField::GetAsVariant() const {
  TDateTime v;
  return GetValue(v) ? Variant::FromDate(v) : Variant::Null();
}

// ---- binary fields

TBytesField::TBytesField(TComponent* AOwner) : TBinaryField(AOwner) {
  SetDataType(ftBytes);
  SetSize(16);
}

TVarBytesField::TVarBytesField(TComponent* AOwner) : TBinaryField(AOwner) {
  SetDataType(ftVarBytes);
  SetSize(16);
}

String TBinaryField::GetAsString() const {
  std::vector<char> buf(static_cast<size_t>(GetDataSize()), '\0');
  if (buf.empty() || !GetData(buf.data())) return String();
  if (GetDataType() != ftVarBytes) return String(buf.data(), buf.size());
  size_t n = std::min<size_t>(ReadAs<uint16_t>(buf.data()), buf.size() - 2);
  return String(buf.data() + 2, n);
}

void TBinaryField::SetAsString(const String& Value) {
  std::vector<char> buf(static_cast<size_t>(GetDataSize()), '\0');
  size_t n = std::min(Value.size(), static_cast<size_t>(std::max(GetSize(), 0)));
  if (GetDataType() == ftVarBytes) {
    WriteAs<uint16_t>(static_cast<uint16_t>(n), buf.data());
    std::memcpy(buf.data() + 2, Value.data(), n);
  } else {
    std::memcpy(buf.data(), Value.data(), n);
  }
  SetData(buf.data());
}

// ---- blob fields

TBlobField::TBlobField(TComponent* AOwner) : TField(AOwner) {
  SetDataType(ftBlob);
}

TMemoField::TMemoField(TComponent* AOwner) : TBlobField(AOwner) {
  SetDataType(ftMemo);
  SetTransliterate(true);
}

namespace {

std::unique_ptr<TStream> OpenBlob(const TBlobField* f, TBlobStreamMode mode) {
  auto s = CheckedDataSet(f)->CreateBlobStream(const_cast<TBlobField*>(f), mode);
  if (!s) DatabaseError(Format(SFieldAccessError, f->GetDisplayName(), "Blob"));
  return s;
}

} // namespace

int TBlobField::GetBlobSize() const {
  return static_cast<int>(OpenBlob(this, bmRead)->GetSize());
}

// Reads until the stream has no more, so a stream that delivers in parts
// still gives the whole contents.
String TBlobField::GetAsString() const {
  auto s = OpenBlob(this, bmRead);
  int64_t size = s->GetSize();
  String result(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  int64_t got = 0;
  while (got < size) {
    int64_t n = s->Read(result.data() + got, size - got);
    if (n <= 0) break;
    got += n;
  }
  result.resize(static_cast<size_t>(got));
  return result;
}

void TBlobField::SetAsString(const String& Value) {
  auto s = OpenBlob(this, bmWrite);
  if (!Value.empty()) s->WriteBuffer(Value.data(), static_cast<int64_t>(Value.size()));
}

void TBlobField::Clear() {
  OpenBlob(this, bmWrite);
}

void TBlobField::LoadFromStream(TStream& Stream) {
  auto s = OpenBlob(this, bmWrite);
  s->CopyFrom(Stream, 0);
}

void TBlobField::SaveToStream(TStream& Stream) const {
  auto s = OpenBlob(this, bmRead);
  if (s->GetSize() > 0) Stream.CopyFrom(*s, 0);
}

bool TBlobField::GetIsNull() const {
  if (FModified) return OpenBlob(this, bmRead)->GetSize() == 0;
  return TField::GetIsNull();
}

// ---- TFields

TField* TFields::GetField(int Index) const {
  if (Index < 0 || Index >= GetCount()) DatabaseError(SFieldIndexError, FDataSet);
  return FList[Index];
}

TField* TFields::FindField(const String& FieldName) const {
  for (TField* f : FList)
    if (SameText(f->GetFieldName(), FieldName)) return f;
  return nullptr;
}

TField* TFields::FieldByName(const String& FieldName) const {
  TField* f = FindField(FieldName);
  if (!f) DatabaseError(Format(SFieldNotFound, FieldName), FDataSet);
  return f;
}

TField* TFields::FieldByNumber(int FieldNo) const {
  for (TField* f : FList)
    if (f->GetFieldNo() == FieldNo) return f;
  return nullptr;
}

int TFields::IndexOf(const TField* Field) const {
  auto it = std::find(FList.begin(), FList.end(), Field);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TFields::Add(TField* Field) {
  if (!Field->GetFieldName().empty() && FindField(Field->GetFieldName()))
    DatabaseError(Format(SDuplicateFieldName, Field->GetFieldName()), FDataSet);
  FList.push_back(Field);
}

void TFields::Remove(TField* Field) {
  FList.erase(std::remove(FList.begin(), FList.end(), Field), FList.end());
}

// ---- field definitions

TFieldDef::TFieldDef(TCollection* Collection) : TCollectionItem(Collection) {}

void TFieldDef::SetRequired(bool Value) {
  if (Value)
    Attributes |= faRequired;
  else
    Attributes &= ~faRequired;
}

TField* TFieldDef::CreateField(TComponent* Owner, TDataSet* DataSet) const {
  TField* f = nullptr;
  bool sized = false;
  switch (FDataType) {
  case ftString:
  case ftWideString:
  case ftFixedChar: {
    auto* s = new TStringField(Owner);
    s->FixedChar = FDataType == ftFixedChar;
    if (FDataType == ftFixedChar) s->SetDataType(ftFixedChar);
    f = s;
    sized = true;
    break;
  }
  case ftSmallint:
    f = new TSmallintField(Owner);
    break;
  case ftInteger:
    f = new TIntegerField(Owner);
    break;
  case ftWord:
    f = new TWordField(Owner);
    break;
  case ftAutoInc:
    f = new TAutoIncField(Owner);
    break;
  case ftLargeint:
    f = new TLargeintField(Owner);
    break;
  case ftBoolean:
    f = new TBooleanField(Owner);
    break;
  case ftFloat:
    f = new TFloatField(Owner);
    break;
  case ftCurrency:
    f = new TCurrencyField(Owner);
    break;
  case ftBCD:
  case ftFMTBcd: {
    auto* b = new TBCDField(Owner);
    b->Precision = Precision;
    f = b;
    sized = true;
    break;
  }
  case ftDate:
    f = new TDateField(Owner);
    break;
  case ftTime:
    f = new TTimeField(Owner);
    break;
  case ftDateTime:
  case ftTimeStamp:
    f = new TDateTimeField(Owner);
    break;
  case ftBytes:
    f = new TBytesField(Owner);
    sized = true;
    break;
  case ftVarBytes:
    f = new TVarBytesField(Owner);
    sized = true;
    break;
  case ftMemo:
  case ftFmtMemo:
  case ftOraClob:
    f = new TMemoField(Owner);
    f->SetDataType(FDataType);
    sized = true;
    break;
  case ftBlob:
  case ftGraphic:
  case ftParadoxOle:
  case ftDBaseOle:
  case ftTypedBinary:
  case ftOraBlob:
    f = new TBlobField(Owner);
    f->SetDataType(FDataType);
    sized = true;
    break;
  default:
    DatabaseError(Format("Field '%s' is of an unknown type", FName), DataSet);
  }
  // Owned by Owner from here: a failure below leaves it to the owner.
  if (sized && FSize > 0) f->SetSize(FSize);
  f->SetFieldName(FName);
  f->Required = (Attributes & faRequired) != 0;
  f->ReadOnly = (Attributes & faReadonly) != 0;
  f->FieldKind = InternalCalcField ? fkInternalCalc : fkData;
  f->SetDataSet(DataSet);
  return f;
}

void TFieldDefs::Add(const String& Name, TFieldType DataType, int Size, bool Required) {
  TFieldDef* def = Add();
  def->SetName(Name);
  def->SetDataType(DataType);
  def->SetSize(Size);
  def->SetRequired(Required);
  def->SetFieldNo(GetCount());
}

int TFieldDefs::IndexOf(const String& Name) const {
  for (int i = 0; i < GetCount(); ++i)
    if (SameText(GetItem(i)->GetName(), Name)) return i;
  return -1;
}

TFieldDef* TFieldDefs::Find(const String& Name) const {
  int i = IndexOf(Name);
  if (i < 0) DatabaseError(Format(SFieldNotFound, Name), FDataSet);
  return GetItem(i);
}

void TFieldDefs::Update() {
  if (!FDataSet || Updated) return;
  FDataSet->InitFieldDefs();
  Updated = true;
}

TPersistent* TFieldDefs::GetOwner() const {
  return FDataSet;
}
