// Field descriptors built from the result's columns, index descriptors read
// with SHOW INDEX, and the ORDER BY of table cursors.
#include "mySQLAccess.h"

#include "uMysqlErrors.h"
#include "uMysqlHelpers.h"

#include <climits>

namespace {

constexpr int64_t MaxRecordBufferSize = INT32_MAX;

// The column argument of DESCRIBE is a LIKE pattern: its wildcards and
// backslashes must match only themselves.
String ColumnPattern(const String& column) {
  String pattern;
  for (char c : column) {
    if (c == '\\' || c == '%' || c == '_') pattern += '\\';
    pattern += c;
  }
  String escaped;
  EscapeSQLText(pattern, escaped);
  return escaped;
}

String ValueListOfType(const String& typeText) {
  String list = typeText;
  const size_t open = list.find('(');
  if (open == String::npos) return String();
  list.erase(0, open + 1);
  const size_t close = list.find(')');
  if (close != String::npos) list.erase(close);
  String out;
  for (char c : list)
    if (c != '\'') out += c;
  return out;
}

bool IsClientError(int code) {
  return code >= CR_MIN_ERROR && code < CR_MIN_ERROR + 100;
}

} // namespace

String QuoteIdentifier(const String& name) {
  if (GetServerVersionNumber() <= 32306) return name;
  String quoted = "`";
  for (char c : name) {
    if (c == '`') quoted += '`';
    quoted += c;
  }
  return quoted + "`";
}

// ---- Fields ----------------------------------------------------------------

TmySQLField* TmySQLFields::Field(int n) {
  if (n <= 0 || !FCursor) RaiseCode(DBIERR_INVALIDRECSTRUCT);
  while (GetCount() < n) {
    TFieldDesc desc;
    TValCheckDesc check;
    String valueList;
    int32_t nativeSize = 0;
    uint16_t nativeType = 0;
    FCursor->DescribeColumn(GetCount() + 1, desc, valueList, nativeSize, nativeType, check);
    TmySQLField* field = Add();
    field->Setup(desc, check, valueList, nativeSize);
  }
  return GetItem(n - 1);
}

void TNativeDataSet::DescribeColumn(int n, TFieldDesc& desc, String& valueList, int32_t& nativeSize,
                                    uint16_t& nativeType, TValCheckDesc& check) {
  const TMysqlField* column = n >= 1 ? ColumnDescriptor(n - 1) : nullptr;
  if (!column) RaiseCode(DBIERR_INVALIDRECSTRUCT);
  valueList.clear();
  String defaultText;
  if (!column->Table.empty()) {
    bool ran = false;
    auto result = FConnection->Query(
        Format("DESCRIBE %s '%s'", QuoteIdentifier(column->Table), ColumnPattern(column->Name)), true, ran);
    if (result && !result->GetEof()) {
      if ((column->Flags & (ENUM_FLAG | SET_FLAG)) && result->Value(1))
        valueList = ValueListOfType(result->Value(1));
      if (result->Value(4)) defaultText = result->Value(4);
    }
  }
  const TColumnTyping typing = MySQLTypeToLogical(*column, valueList);
  if (FColumnTypes.size() < size_t(ColumnCount())) FColumnTypes.resize(size_t(ColumnCount()));
  FColumnTypes[size_t(n - 1)] = typing.NativeType;

  int64_t offset = 0;
  for (int k = 0; k < n - 1 && k < FFields.Count(); ++k)
    offset += FFields.GetItem(k)->GetFieldLength();
  if (offset + typing.Length + n > MaxRecordBufferSize)
    RaiseCode(DBIERR_INVALIDRECSTRUCT, "The row is too large for a record buffer");

  desc = TFieldDesc();
  desc.FieldNumber = uint16_t(n);
  desc.Name = column->Name.substr(0, 63);
  desc.FieldType = typing.FieldType;
  desc.SubType = typing.SubType;
  desc.Length = typing.Length;
  if (typing.FieldType == fldFLOAT) {
    desc.Units1 = 32;
  } else {
    const int64_t units = typing.FieldType == fldZSTRING ? int64_t(typing.Length) - 1 : typing.Length;
    desc.Units1 = int16_t(std::min<int64_t>(units, INT16_MAX));
  }
  desc.Offset = uint32_t(offset);
  desc.ValCheckKind = 2;
  desc.Calculated = column->Table.empty();
  desc.NativeType = typing.NativeType;

  check = TValCheckDesc();
  check.FieldNumber = uint16_t(n);
  check.Required = (column->Flags & (NOT_NULL_FLAG | PRI_KEY_FLAG | UNIQUE_KEY_FLAG)) != 0;
  check.HasDefault = !defaultText.empty();

  nativeType = typing.NativeType;
  nativeSize = typing.NativeSize;
}

void TNativeDataSet::BuildFields() {
  FFields.Clear();
  FDataAreaLength = -1;
  const int columns = ColumnCount();
  if (columns > 0) FFields.Field(columns);
  int64_t length = columns;
  for (int k = 0; k < columns; ++k)
    length += FFields.GetItem(k)->GetFieldLength();
  if (length + int64_t(8) * columns + 9 > MaxRecordBufferSize)
    RaiseCode(DBIERR_INVALIDRECSTRUCT, "The row is too large for a record buffer");
  for (int k = 0; k < columns; ++k)
    FFields.GetItem(k)->SetNullOffset(uint32_t(length + 8 * k));
  FDataAreaLength = length;
}

void TNativeDataSet::GetFieldDescs(std::vector<TFieldDesc>& descs) {
  DataAreaLength();
  descs.clear();
  for (int k = 0; k < FFields.Count(); ++k)
    descs.push_back(FFields.GetItem(k)->GetDesc());
}

void TNativeDataSet::GetVchkDesc(int fieldNumber, TValCheckDesc& check) {
  DataAreaLength();
  check = FFields.Field(fieldNumber)->GetValCheck();
}

// ---- Indexes ---------------------------------------------------------------

TmySQLIndex* TmySQLIndexes::Index(int n) const {
  return n >= 1 && n <= GetCount() ? GetItem(n - 1) : nullptr;
}

TmySQLIndex* TmySQLIndexes::FindByName(const String& name) const {
  for (int k = 0; k < GetCount(); ++k)
    if (SameText(GetItem(k)->Desc.Name, name)) return GetItem(k);
  return nullptr;
}

int TmySQLIndexes::FieldNumberByName(const String& name) const {
  FCursor->GetRecordSize();
  TmySQLFields& fields = FCursor->GetFields();
  for (int k = 0; k < fields.Count(); ++k)
    if (SameText(fields.GetItem(k)->GetFieldName(), name)) return k + 1;
  return 0;
}

void TmySQLIndexes::AddIndexColumn(const String& keyName, const String& columnName, bool primary, bool unique,
                                   bool descending) {
  TmySQLIndex* index = primary ? FindByName(String()) : FindByName(keyName);
  if (!index) {
    index = Add();
    index->Desc.IndexNumber = uint16_t(GetCount());
  }
  index->SetIndexName(primary ? String() : keyName);
  index->Desc.Primary = primary;
  index->Desc.Unique = unique;
  index->Desc.Descending = descending;
  index->Desc.Maintained = true;
  const int fieldNumber = FieldNumberByName(columnName);
  TmySQLField* field = FCursor->GetFields().Field(fieldNumber);
  TIndexDesc& d = index->Desc;
  if (d.FieldsInKey >= MaxKeyFields)
    RaiseCode(DBIERR_NOTSUPPORTED,
              Format("The index %s has more than %d key columns", keyName, MaxKeyFields));
  ++d.FieldsInKey;
  d.BlockSize += field->GetFieldLength();
  d.KeyLength = uint16_t(std::min<uint32_t>(d.BlockSize + d.FieldsInKey, UINT16_MAX));
  d.KeyFields[d.FieldsInKey - 1] = uint16_t(fieldNumber);
}

int TNativeDataSet::LoadIndexes() {
  if (FIndexes.GetCount() > 0) return FIndexes.GetCount();
  const bool fromText = !FStatementText.empty();
  String name = fromText ? TableNameFromSelect(FStatementText) : FTableName;
  if (name.empty()) return 0;
  if (!fromText)
    name = QuoteIdentifier(name);
  else if (GetServerVersionNumber() > 32306 && name.find('`') == String::npos)
    name = "`" + name + "`";
  bool ran = false;
  auto result = FConnection->Query("SHOW INDEX FROM " + name, true, ran);
  if (!ran) {
    // A statement that reads no single table (a derived table, DUAL) has
    // no indexes; the statement itself has run.
    if (fromText && !IsClientError(FConnection->ErrorCode())) return 0;
    FConnection->CheckResult();
  }
  if (!result) return 0;
  for (result->First(); !result->GetEof(); result->Next()) {
    auto text = [&](int column) {
      const char* v = result->Value(column);
      return v ? String(v) : String();
    };
    try {
      const bool unique = text(1) == "0";
      const bool primary = unique && SameText(text(2), "PRIMARY");
      FIndexes.AddIndexColumn(text(2), text(4), primary, unique, text(5) != "A");
      if (primary && FPrimaryIndex == 0) FPrimaryIndex = FIndexes.FindByName(String())->Desc.IndexNumber;
    } catch (const EmySQLException& e) {
      // A key longer than the descriptor holds would make a wrong key.
      if (e.HasDBICode && e.DBICode == int16_t(DBIERR_NOTSUPPORTED)) {
        FIndexes.Clear();
        FPrimaryIndex = 0;
        throw;
      }
    }
  }
  return FIndexes.GetCount();
}

void TNativeDataSet::CopyIndexDesc(int n) {
  if (n == 0 && !FIndexSearch) n = FOrderIndex;
  if (n == 0) n = 1;
  TmySQLIndex* index = FIndexes.Index(n);
  if (!index) RaiseCode(DBIERR_NOSUCHINDEX);
  FCurrentIndex = index->Desc;
}

// A cursor over a statement has no index of its own; every open of one asks.
uint16_t TNativeDataSet::FindIndexDesc(int n, TIndexDesc& desc) {
  if (FFromStatement || LoadIndexes() == 0) return DBIERR_NOASSOCINDEX;
  desc = TIndexDesc();
  if (n == 0 && !FIndexSearch) n = FOrderIndex;
  if (n == 0) n = 1;
  TmySQLIndex* index = FIndexes.Index(n);
  if (!index) return DBIERR_NOSUCHINDEX;
  desc = index->Desc;
  return DBIERR_NONE;
}

void TNativeDataSet::GetIndexDesc(int n, TIndexDesc& desc) {
  if (const uint16_t code = FindIndexDesc(n, desc)) RaiseCode(code);
}

int TNativeDataSet::FindIndexByName(const String& name) {
  FIndexSearch = true;
  try {
    for (int n = 1;; ++n) {
      TIndexDesc desc;
      GetIndexDesc(n, desc);
      if (desc.Name.substr(0, 260) == name.substr(0, 260)) {
        FIndexSearch = false;
        return n;
      }
    }
  } catch (...) {
    FIndexSearch = false;
    throw;
  }
}

void TNativeDataSet::SwitchToIndex(const String* name) {
  FLocked = false;
  if (!name) RaiseCode(DBIERR_INVALIDPARAM);
  GetRecordSize();
  const int number = !name->empty() ? FindIndexByName(*name) : (FPrimaryIndex >= 1 ? FPrimaryIndex : 0);
  SetOrderIndex(number);
  CopyIndexDesc(number);
}

void TNativeDataSet::SetOrderIndex(int n) {
  if (n == FOrderIndex) return;
  FOrderByLines.clear();
  if (n >= 1 && LoadIndexes() >= n && FIndexes.Index(n)->Desc.FieldsInKey > 0) {
    const TIndexDesc& index = FIndexes.Index(n)->Desc;
    FOrderByLines.push_back("ORDER BY ");
    for (int k = 0; k < index.FieldsInKey; ++k) {
      const TMysqlField* column = ColumnDescriptor(index.KeyFields[size_t(k)] - 1);
      String line = QuoteIdentifier(column ? column->Name : String());
      if (index.Descending) line += " DESC";
      if (k + 1 < index.FieldsInKey) line += ",";
      FOrderByLines.push_back(line);
    }
  }
  FOrderIndex = n;
  Reexecute();
}

void TNativeDataSet::ClearIndexes() {
  FIndexes.Clear();
  FOrderIndex = 0;
  FPrimaryIndex = 0;
}
