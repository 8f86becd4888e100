// Editing through the native cursor: one INSERT, UPDATE or DELETE built from
// a record buffer, then the cursor's statement again and the written row
// found in its new result.
#include "mySQLAccess.h"

#include "uMysqlHelpers.h"

#include <algorithm>
#include <cstring>

namespace {

String Quoted(const String& text) {
  String escaped;
  EscapeSQLText(text, escaped);
  return "'" + escaped + "'";
}

// The characters of a string slot, as the server sent or the caller put them.
String SlotText(const TmySQLField& field) {
  const char* v = field.ValueArea();
  const size_t limit =
      std::min<size_t>(size_t(std::max(field.GetNativeSize(), 0)), field.GetFieldLength() - 1);
  return String(v, strnlen(v, limit));
}

String BooleanLetter(const TmySQLField& field) {
  const uint8_t value = uint8_t(field.ValueArea()[0]);
  const String list = LowerCase(field.GetEnum_Value());
  if (value == 0) return list == "y,n" || list == "n,y" ? "n" : "f";
  if (value == 1) return list == "t,f" || list == "f,t" ? "t" : "y";
  return String();
}

String DateText(int kind, const TmySQLField& field) {
  String text;
  DateTimeToMySQLText(kind, text, field.GetVariant().AsDateTime());
  return text;
}

// The value as the server shows it in a result: what a row is located by.
// Blobs have none.
String PlainText(const TmySQLField& field) {
  switch (field.GetFieldType()) {
  case fldZSTRING:
    return SlotText(field);
  case fldDATE:
    return DateText(dkDate, field);
  case fldTIME:
    return DateText(dkTime, field);
  case fldTIMESTAMP:
    return DateText(dkDateTime, field);
  case fldBOOL:
    return BooleanLetter(field);
  case fldINT16:
  case fldINT32:
  case fldUINT16:
  case fldUINT32:
  case fldINT64:
    return IntToStr(field.GetVariant().AsInt64());
  case fldFLOAT:
    return FloatToTextDot(field.GetVariant().AsFloat());
  default:
    return String();
  }
}

String BlobContent(const TNativeConnect* connection, const TmySQLField& field) {
  TMemoryStream* stream = field.GetBlobStream();
  if (!stream || stream->GetSize() <= 0) return String();
  if (stream->GetSize() > field.GetNativeSize())
    RaiseNativeError(connection, "Image size exceeds maximum blob field size");
  String bytes(size_t(stream->GetSize()), '\0');
  stream->SetPosition(0);
  stream->ReadBuffer(bytes.data(), int64_t(bytes.size()));
  return bytes;
}

// `assigned` is true in an INSERT's values and an UPDATE's SET items, where a
// SET column takes its member bits.
String Literal(const TNativeConnect* connection, const TmySQLField& field, bool assigned) {
  switch (field.GetFieldType()) {
  case fldZSTRING:
    if (assigned && field.GetNativeType() == MYSQL_TYPE_SET_VALUE)
      return std::to_string(SetTextToBits(field.GetEnum_Value(), SlotText(field)));
    return Quoted(SlotText(field));
  case fldBLOB:
    return Quoted(BlobContent(connection, field));
  case fldDATE:
  case fldTIME:
  case fldTIMESTAMP:
  case fldBOOL: {
    // Built from a named text: GCC's -O3 warns wrongly about the temporary form.
    const String text = PlainText(field);
    return "'" + text + "'";
  }
  default:
    return PlainText(field);
  }
}

String Joined(const std::vector<String>& items, const char* separator) {
  String text;
  for (const String& item : items) {
    if (!text.empty()) text += separator;
    text += item;
  }
  return text;
}

// A key of SHOW INDEX: its name, whether a column may hold NULL, and its
// columns in key order.
struct TShownKey {
  String Name;
  bool Nullable = false;
  std::vector<String> Columns;
};

} // namespace

// ---- Statements ------------------------------------------------------------

String TNativeDataSet::EditTableText() const {
  if (!FStatementText.empty()) return TableNameFromSelect(FStatementText);
  return FTableName.empty() ? String() : QuoteIdentifier(FTableName);
}

// Only a primary key, or a unique key whose columns are all NOT NULL, names
// exactly one row; anything weaker could change rows the user never saw.
std::vector<int> TNativeDataSet::EditKeyFields() {
  const String table = EditTableText();
  if (table.empty())
    RaiseNativeError(FConnection, "The statement reads no single table: its rows cannot be edited");
  bool ran = false;
  auto result = FConnection->Query("SHOW INDEX FROM " + table, true, ran);
  if (!ran) FConnection->CheckResult();
  std::vector<TShownKey> keys;
  for (result ? result->First() : void(); result && !result->GetEof(); result->Next()) {
    auto text = [&](int column) {
      const char* v = result->Value(column);
      return v ? String(v) : String();
    };
    if (text(1) != "0") continue;
    if (keys.empty() || keys.back().Name != text(2)) keys.push_back({text(2), false, {}});
    keys.back().Columns.push_back(text(4));
    if (SameText(text(9), "YES")) keys.back().Nullable = true;
  }
  auto key = std::find_if(keys.begin(), keys.end(), [](const TShownKey& k) { return k.Name == "PRIMARY"; });
  if (key == keys.end())
    key = std::find_if(keys.begin(), keys.end(), [](const TShownKey& k) { return !k.Nullable; });
  if (key == keys.end())
    RaiseNativeError(FConnection,
                     "The table " + table +
                         " has no primary key and no unique key of NOT NULL columns: its rows cannot "
                         "be edited");
  std::vector<int> fields;
  for (const String& column : key->Columns) {
    const int number = FIndexes.FieldNumberByName(column);
    if (number == 0)
      RaiseNativeError(FConnection, "The key column " + column + " of the table " + table +
                                        " is not among the statement's columns: its rows cannot be edited");
    fields.push_back(number);
  }
  return fields;
}

String TNativeDataSet::BuildWhere(char* buffer) {
  std::vector<String> conditions;
  for (int number : EditKeyFields()) {
    TmySQLField* field = BoundField(number, buffer);
    const String name = QuoteIdentifier(field->GetFieldName());
    // NULL and the empty text are different values: a row holding one must
    // never be taken for a row holding the other.
    conditions.push_back(field->GetIsNull() ? name + " IS NULL"
                                            : name + "=" + Literal(FConnection, *field, false));
  }
  return Joined(conditions, " AND ");
}

String TNativeDataSet::BuildInsert(const String& table, char* buffer) {
  std::vector<String> names, values;
  GetRecordSize();
  for (int n = 1; n <= FFields.Count(); ++n) {
    TmySQLField* field = BoundField(n, buffer);
    // A computed column has no place in the table.
    if (field->GetIsNull() || field->GetCalculated()) continue;
    names.push_back(QuoteIdentifier(field->GetFieldName()));
    values.push_back(Literal(FConnection, *field, true));
  }
  if (names.empty()) return String();
  return "INSERT INTO " + table + " (" + Joined(names, ", ") + ") VALUES (" + Joined(values, ", ") + ")";
}

String TNativeDataSet::BuildUpdate(const String& table, char* oldBuffer, char* newBuffer) {
  std::vector<String> items;
  GetRecordSize();
  for (int n = 1; n <= FFields.Count(); ++n) {
    TmySQLField* field = BoundField(n, newBuffer);
    if (!field->GetChanged() || field->GetCalculated()) continue;
    const String name = QuoteIdentifier(field->GetFieldName());
    items.push_back(field->GetIsNull() ? name + "=NULL" : name + "=" + Literal(FConnection, *field, true));
  }
  if (items.empty()) return String();
  return "UPDATE " + table + " SET " + Joined(items, ", ") + " WHERE " + BuildWhere(oldBuffer);
}

String TNativeDataSet::BuildDelete(const String& table, char* buffer) {
  const String where = BuildWhere(buffer);
  if (where.empty()) return String();
  return "DELETE FROM " + table + " WHERE " + where;
}

// ---- Writing ---------------------------------------------------------------

void TNativeDataSet::RunEdit(const String& sql, bool oneRow) {
  bool ran = false;
  FConnection->Query(sql, true, ran).reset();
  if (ran) FAffectedRows = uint32_t(FConnection->GetClient()->GetAffectedRows());
  FConnection->CheckResult();
  if (!ran) RaiseNativeError(FConnection, FConnection->ErrorText());
  // The login asks for found rows, so a row written with its own values
  // still counts: anything but one row means the row is not what was read.
  if (!oneRow || FAffectedRows == 1) return;
  if (FAffectedRows == 0)
    RaiseNativeError(FConnection, "The row was not found: another user may have changed or deleted it");
  RaiseNativeError(FConnection,
                   Format("%d rows matched the key of the row instead of one", int(FAffectedRows)));
}

// Without a buffer there is no row to find (it was deleted): the cursor
// stays at the fallback record number, limited to the new last row.
void TNativeDataSet::RereadAfterWrite(char* buffer, uint64_t insertId, int fallbackRecordNo) {
  // The caller's buffer still holds what was written (and its blob streams,
  // which the caller frees): the moves below must not fill it.
  FCurrentBuffer = nullptr;
  const bool fromStatement = FFromStatement;
  Reexecute();
  FFromStatement = fromStatement;
  FPositionState = psOnRow;
  try {
    if (buffer && Relocate(-1, buffer, insertId)) return;
    const int64_t rows = int64_t(RowCount());
    SetToRecordNo(int(fallbackRecordNo < 0 ? rows : std::min<int64_t>(fallbackRecordNo, rows)));
  } catch (const EmySQLException&) {
    // The row is written; only the position is lost.
  }
}

void TNativeDataSet::InsertRecord(int /*lock*/, char* buffer) {
  CheckBuffer(buffer);
  if (FReadOnly) RaiseCode(DBIERR_TABLEREADONLY);
  const String sql = BuildInsert(EditTableText(), buffer);
  if (!sql.empty()) {
    try {
      RunEdit(sql, false);
      FLastInsertId = FConnection->GetClient()->GetInsertId();
      FPositionState = psChanged;
    } catch (...) {
      FKeepPosition = false;
      throw;
    }
  }
  if (!FKeepPosition) RereadAfterWrite(buffer, FLastInsertId, -1);
  FLocked = false;
}

void TNativeDataSet::ModifyRecord(char* oldBuffer, char* newBuffer, bool /*release*/) {
  CheckBuffer(oldBuffer);
  CheckBuffer(newBuffer);
  if (FReadOnly) RaiseCode(DBIERR_TABLEREADONLY);
  const String sql = Trim(BuildUpdate(EditTableText(), oldBuffer, newBuffer));
  if (!sql.empty()) {
    try {
      RunEdit(sql, true);
    } catch (...) {
      FKeepPosition = false;
      throw;
    }
  }
  if (!FKeepPosition) {
    // The state stays what it was: the row is still the one on show.
    const TPositionState state = FPositionState;
    RereadAfterWrite(newBuffer, 0, int(FCurrentRecordIndex + 1));
    FPositionState = state;
  }
  FLocked = false;
}

void TNativeDataSet::DeleteRecord(char* buffer) {
  CheckBuffer(buffer);
  if (FReadOnly) RaiseCode(DBIERR_TABLEREADONLY);
  const String sql = BuildDelete(EditTableText(), buffer);
  if (!sql.empty()) {
    RunEdit(sql, true);
    FPositionState = psChanged;
  }
  if (!FKeepPosition) RereadAfterWrite(nullptr, 0, int(CurrentRowIndex() + 1));
  FLocked = false;
}

// ---- Finding rows ----------------------------------------------------------

// The written row is found by the key the statement used; a key the server
// filled in (auto-increment) is the insert id.
bool TNativeDataSet::Relocate(int /*keyIndex*/, char* buffer, uint64_t insertId) {
  if (!FResult) return false;
  std::vector<int> columns;
  std::vector<String> texts;
  for (int number : EditKeyFields()) {
    TmySQLField* field = BoundField(number, buffer);
    String text = field->GetIsNull() ? String() : PlainText(*field);
    if (text.empty() && field->GetFieldSubType() == fldstAUTOINC && insertId > 0)
      text = std::to_string(insertId);
    columns.push_back(number - 1);
    texts.push_back(text);
  }
  const int64_t row = FResult->Locate(columns.data(), texts.data(), int(columns.size()), true);
  if (row < 0) return false;
  SetToRecordNo(int(row + 1));
  return true;
}

void TNativeDataSet::GetRecordForKey(bool packed, int count, int /*partialLength*/, char* buffer) {
  CheckBuffer(buffer);
  const TIndexDesc& index = FCurrentIndex;
  if (count <= 0 || count > index.FieldsInKey) count = index.FieldsInKey;
  std::vector<int> columns;
  std::vector<String> texts;
  // A packed key is copied into a record buffer of its own to be read.
  std::vector<char> scratch(packed ? GetBufferSize() : 0);
  const char* key = buffer;
  for (int k = 0; k < count; ++k) {
    const int number = index.KeyFields[size_t(k)];
    TmySQLField* field = BoundField(number, packed ? scratch.data() : buffer);
    if (packed) {
      const uint32_t length = field->GetFieldLength();
      field->Slot()[0] = key[0];
      std::memcpy(field->ValueArea(), key + 1, length);
      field->SetIsNull(key[0] == 0);
      key += 1 + length;
    }
    columns.push_back(number - 1);
    texts.push_back(field->GetIsNull() ? String() : PlainText(*field));
  }
  const int64_t row = FResult ? FResult->Locate(columns.data(), texts.data(), count, true) : -1;
  if (row < 0) RaiseCode(DBIERR_RECNOTFOUND);
  SetToRecordNo(int(row + 1));
}
