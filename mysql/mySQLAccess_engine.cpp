// The engine call layer: handle-based operations that answer with result
// codes instead of raising, and the texts of those codes.
#include "mySQLAccess.h"

#include "mySQLCP.h"

#include <atomic>

namespace {

std::atomic<int> CurrentServerCharset{0};

} // namespace

String DBIErrorText(int code) {
  static const struct {
    int Code;
    const char* Text;
  } texts[] = {
      {DBIERR_BOF, "At beginning of table."},
      {DBIERR_EOF, "At end of table."},
      {DBIERR_NOCURRREC, "No current record."},
      {DBIERR_RECNOTFOUND, "Could not find record."},
      {DBIERR_ENDOFBLOB, "End of BLOB."},
      {DBIERR_INVALIDPARAM, "Invalid parameter."},
      {DBIERR_INVALIDHNDL, "Invalid handle to the function."},
      {DBIERR_NOSUCHINDEX, "Index does not exist."},
      {DBIERR_INVALIDBLOBOFFSET, "Invalid offset into the BLOB."},
      {DBIERR_INVALIDRECSTRUCT, "Invalid record structure."},
      {DBIERR_NOSUCHTABLE, "Table does not exist."},
      {DBIERR_NOSUCHFILTER, "Filter handle is invalid."},
      {DBIERR_NOTSUFFTABLERIGHTS, "Insufficient table rights for operation. Password required."},
      {DBIERR_NOTABLOB, "Field is not a BLOB."},
      {DBIERR_TABLEREADONLY, "Table is read only."},
      {DBIERR_NOASSOCINDEX, "No associated index."},
      {DBIERR_QRYEMPTY, "Query string is empty."},
      {DBIERR_NOTSUPPORTED, "Capability not supported."},
      {DBIERR_UPDATEABORT, "Update aborted."},
  };
  for (const auto& t : texts)
    if (t.Code == code) return t.Text;
  return "Unknown error";
}

int GetCurrentServerCharset() {
  return CurrentServerCharset.load();
}

void SetCurrentServerCharset(int charset) {
  CurrentServerCharset.store(charset);
}

TmySQLEngine::TmySQLEngine(TContainer* owner, intptr_t /*ownerValue*/) : TBaseObject(nullptr, owner) {}

uint16_t TmySQLEngine::TranslateError() {
  try {
    throw;
  } catch (const EmySQLException& e) {
    uint16_t code;
    if (e.HasDBICode) {
      code = uint16_t(e.DBICode);
      // A code with its own text must not be shown with an older error's number.
      if (!e.ErrorText.empty()) FLastNativeError = 0;
    } else {
      FLastNativeError = e.NativeError;
      code = DBIERR_NATIVE;
    }
    FLastErrorText = e.ErrorText;
    return code;
  }
}

template <typename Operation> uint16_t TmySQLEngine::Guard(Operation operation) {
  try {
    operation();
    return DBIERR_NONE;
  } catch (const EmySQLException&) {
    return TranslateError();
  }
}

// An absent handle is refused before anything runs.
template <typename Handle, typename Operation>
uint16_t TmySQLEngine::Call(Handle* handle, Operation operation) {
  if (!handle) return DBIERR_INVALIDHNDL;
  return Guard(operation);
}

// An operation that answers with a cursor condition (the end of the rows, no
// index) instead of raising it; the condition is recorded as the raised code
// would have been.
template <typename Handle, typename Operation>
uint16_t TmySQLEngine::CallWithCondition(Handle* handle, Operation operation) {
  uint16_t condition = DBIERR_NONE;
  const uint16_t code = Call(handle, [&] { condition = operation(); });
  if (code != DBIERR_NONE || condition == DBIERR_NONE) return code;
  FLastErrorText.clear();
  return condition;
}

uint16_t TmySQLEngine::OpenDatabase(TConnectOptions options, const TStrings& params,
                                    TNativeConnect*& connection) {
  return Guard([&] {
    auto native = std::make_unique<TNativeConnect>(options);
    native->ReadParams(params);
    native->Connect();
    connection = native.release();
  });
}

uint16_t TmySQLEngine::CloseDatabase(TNativeConnect*& connection) {
  if (!connection) return DBIERR_INVALIDHNDL;
  return Guard([&] {
    delete connection;
    connection = nullptr;
  });
}

uint16_t TmySQLEngine::GetNextRecord(TNativeDataSet* cursor, int lock, char* buffer, TRecordProps* props) {
  return CallWithCondition(cursor, [&] { return cursor->NextRecord(lock, buffer, props); });
}

uint16_t TmySQLEngine::SetToBookmark(TNativeDataSet* cursor, const char* bookmark) {
  return Call(cursor, [&] { cursor->SetToBookmark(bookmark); });
}

uint16_t TmySQLEngine::CompareBookmarks(TNativeDataSet* cursor, const char* first, const char* second,
                                        int& result) {
  return Call(cursor, [&] { cursor->CompareBookmarks(first, second, result); });
}

uint16_t TmySQLEngine::GetRecord(TNativeDataSet* cursor, int lock, char* buffer, TRecordProps* props) {
  return Call(cursor, [&] { cursor->GetRecord(lock, buffer, props); });
}

uint16_t TmySQLEngine::GetPriorRecord(TNativeDataSet* cursor, int lock, char* buffer, TRecordProps* props) {
  const uint16_t code = CallWithCondition(cursor, [&] { return cursor->PriorRecord(lock, buffer, props); });
  return code == DBIERR_EOF ? uint16_t(DBIERR_BOF) : code;
}

uint16_t TmySQLEngine::GetBookmark(TNativeDataSet* cursor, char* bookmark) {
  return Call(cursor, [&] { cursor->GetBookmark(bookmark); });
}

uint16_t TmySQLEngine::GetRecordCount(TNativeDataSet* cursor, int& count) {
  return Call(cursor, [&] { cursor->GetRecordCount(count); });
}

uint16_t TmySQLEngine::ForceReread(TNativeDataSet* cursor) {
  return Call(cursor, [&] { cursor->ForceReread(); });
}

uint16_t TmySQLEngine::ForceRecordReread(TNativeDataSet* cursor, char* buffer) {
  return Call(cursor, [&] { cursor->ForceRecordReread(buffer); });
}

uint16_t TmySQLEngine::GetField(TNativeDataSet* cursor, int fieldNumber, char* buffer, void* dest,
                                bool& blank) {
  return Call(cursor, [&] { cursor->GetField(fieldNumber, buffer, dest, blank); });
}

// A statement's own cursor is the statement object: only its result closes.
uint16_t TmySQLEngine::CloseCursor(TNativeDataSet*& cursor) {
  return Call(cursor, [&] { cursor->CloseResult(); });
}

uint16_t TmySQLEngine::PutField(TNativeDataSet* cursor, int fieldNumber, char* buffer, const void* source) {
  return Call(cursor, [&] { cursor->PutField(fieldNumber, buffer, source); });
}

uint16_t TmySQLEngine::OpenBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber, int mode) {
  return Call(cursor, [&] { cursor->OpenBlob(buffer, fieldNumber, mode); });
}

uint16_t TmySQLEngine::GetBlobSize(TNativeDataSet* cursor, char* buffer, int fieldNumber, uint32_t& size) {
  return Call(cursor, [&] { cursor->GetBlobSize(buffer, fieldNumber, size); });
}

uint16_t TmySQLEngine::GetBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber, uint32_t offset,
                               int32_t count, void* dest, uint32_t& read) {
  return Call(cursor, [&] { cursor->GetBlob(buffer, fieldNumber, offset, count, dest, read); });
}

uint16_t TmySQLEngine::PutBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber, uint32_t offset,
                               int32_t count, const void* source) {
  return Call(cursor, [&] { cursor->PutBlob(buffer, fieldNumber, offset, count, source); });
}

uint16_t TmySQLEngine::TruncateBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber, uint32_t length) {
  return Call(cursor, [&] { cursor->TruncateBlob(buffer, fieldNumber, length); });
}

uint16_t TmySQLEngine::FreeBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber) {
  return Call(cursor, [&] { cursor->FreeBlob(buffer, fieldNumber); });
}

uint16_t TmySQLEngine::BeginTransaction(TNativeConnect* connection, int isolation,
                                        TNativeConnect*& transaction) {
  return Call(connection, [&] { connection->StartTransaction(isolation, transaction); });
}

uint16_t TmySQLEngine::EndTransaction(TNativeConnect* connection, TNativeConnect* /*transaction*/, int mode) {
  return Call(connection, [&] { connection->EndTransaction(mode); });
}

uint16_t TmySQLEngine::GetTransactionInfo(TNativeConnect* connection, TNativeConnect* /*transaction*/,
                                          TTransInfo& info) {
  return Call(connection, [&] { connection->GetTransactionInfo(info); });
}

uint16_t TmySQLEngine::GetProperty(TNativeDataSet* object, uint32_t id, void* value, int valueSize,
                                   int& size) {
  size = 0;
  if (!object) return DBIERR_INVALIDPARAM;
  object->GetProperty(id, value, valueSize, size);
  return DBIERR_NONE;
}

uint16_t TmySQLEngine::SetProperty(TNativeDataSet* object, uint32_t id, intptr_t value) {
  if (!object) return DBIERR_INVALIDPARAM;
  return Guard([&] { object->SetProperty(id, value); });
}

uint16_t TmySQLEngine::GetVchkDesc(TNativeDataSet* cursor, int fieldNumber, TValCheckDesc& check) {
  return Call(cursor, [&] { cursor->GetVchkDesc(fieldNumber, check); });
}

uint16_t TmySQLEngine::GetCursorProps(TNativeDataSet* cursor, TCursorProps& props) {
  return Call(cursor, [&] { cursor->GetCursorProps(props); });
}

uint16_t TmySQLEngine::GetFieldDescs(TNativeDataSet* cursor, std::vector<TFieldDesc>& descs) {
  return Call(cursor, [&] { cursor->GetFieldDescs(descs); });
}

uint16_t TmySQLEngine::SetToBegin(TNativeDataSet* cursor) {
  if (cursor) cursor->SetToBegin();
  return DBIERR_NONE;
}

uint16_t TmySQLEngine::SetToEnd(TNativeDataSet* cursor) {
  if (cursor) cursor->SetToEnd();
  return DBIERR_NONE;
}

uint16_t TmySQLEngine::ReleaseRecordLock(TNativeDataSet* cursor, bool /*all*/) {
  return Call(cursor, [&] { cursor->ReleaseLock(); });
}

uint16_t TmySQLEngine::InitRecord(TNativeDataSet* cursor, char* buffer) {
  return Call(cursor, [&] { cursor->InitRecord(buffer); });
}

uint16_t TmySQLEngine::SetToRecordNo(TNativeDataSet* cursor, int recordNumber) {
  return Call(cursor, [&] { cursor->SetToRecordNo(recordNumber); });
}

uint16_t TmySQLEngine::AddFilter(TNativeDataSet* cursor, intptr_t clientData, int /*priority*/,
                                 bool /*canAbort*/, TFilterExpression expression, TFilterCallback callback,
                                 TmySQLFilter*& filter) {
  return Call(cursor,
              [&] { filter = cursor->AddFilter(clientData, std::move(expression), std::move(callback)); });
}

uint16_t TmySQLEngine::DropFilter(TNativeDataSet* cursor, TmySQLFilter* filter) {
  return Call(cursor, [&] { cursor->DropFilter(filter); });
}

uint16_t TmySQLEngine::ActivateFilter(TNativeDataSet* cursor, TmySQLFilter* filter) {
  return Call(cursor, [&] { cursor->ActivateFilter(filter); });
}

uint16_t TmySQLEngine::DeactivateFilter(TNativeDataSet* cursor, TmySQLFilter* filter) {
  return Call(cursor, [&] { cursor->DeactivateFilter(filter); });
}

uint16_t TmySQLEngine::AnsiToNative(char* dest, const char* source, int length, bool& dataLoss) {
  dataLoss = false;
  if (length > 0)
    ConvertCharset(source, dest, size_t(length), CharsetOfSystemCodePage(), GetCurrentServerCharset());
  return DBIERR_NONE;
}

uint16_t TmySQLEngine::NativeToAnsi(char* dest, const char* source, int length, bool& dataLoss) {
  dataLoss = false;
  if (length > 0)
    ConvertCharset(source, dest, size_t(length), GetCurrentServerCharset(), CharsetOfSystemCodePage());
  return DBIERR_NONE;
}

uint16_t TmySQLEngine::ExecuteDirect(TNativeConnect* connection, int /*language*/, const String& sql,
                                     bool /*cursorRequest*/, int& affectedRows) {
  return Call(connection, [&] { connection->ExecuteDirect(sql, affectedRows); });
}

uint16_t TmySQLEngine::AllocStatement(TNativeConnect* connection, TNativeDataSet*& statement) {
  if (!connection) return DBIERR_INVALIDHNDL;
  return Guard([&] { statement = connection->NewStatement(); });
}

uint16_t TmySQLEngine::PrepareStatement(TNativeDataSet* statement, const String& sql) {
  return Call(statement, [&] { statement->SetStatementText(sql); });
}

uint16_t TmySQLEngine::ExecuteStatement(TNativeDataSet* statement, TNativeDataSet** cursor) {
  if (!statement) return DBIERR_INVALIDHNDL;
  return Guard([&] {
    if (!cursor) {
      statement->ExecuteNoCursor();
      return;
    }
    statement->Open();
    *cursor = statement->GetOpen() ? statement : nullptr;
  });
}

uint16_t TmySQLEngine::FreeStatement(TNativeDataSet*& statement) {
  return Guard([&] {
    delete statement;
    statement = nullptr;
  });
}

uint16_t TmySQLEngine::SetParams(TNativeDataSet* statement, const TParams& params, const String& sql) {
  return Call(statement, [&] { statement->SetParams(params, sql); });
}

uint16_t TmySQLEngine::GetCharacterSet(TNativeConnect* connection, int& charset) {
  if (!connection) return DBIERR_INVALIDHNDL;
  return Guard([&] { charset = connection->GetCharacterSet(); });
}

uint16_t TmySQLEngine::GetIndexDesc(TNativeDataSet* cursor, int n, TIndexDesc& desc) {
  return CallWithCondition(cursor, [&] { return cursor->FindIndexDesc(n, desc); });
}

uint16_t TmySQLEngine::SetToCursor(TNativeDataSet* dest, TNativeDataSet* source) {
  if (!dest) return DBIERR_INVALIDHNDL;
  return Call(source, [&] { source->SetToCursor(dest); });
}

uint16_t TmySQLEngine::ReadBlock(TNativeDataSet* cursor, int& count, char* block) {
  return Call(cursor, [&] { cursor->ReadBlock(count, block); });
}

uint16_t TmySQLEngine::InsertRecord(TNativeDataSet* cursor, int lock, char* buffer) {
  return Call(cursor, [&] { cursor->InsertRecord(lock, buffer); });
}

uint16_t TmySQLEngine::AppendRecord(TNativeDataSet* cursor, char* buffer) {
  return Call(cursor, [&] { cursor->AppendRecord(buffer); });
}

uint16_t TmySQLEngine::ModifyRecord(TNativeDataSet* cursor, char* oldBuffer, char* newBuffer, bool release) {
  return Call(cursor, [&] { cursor->ModifyRecord(oldBuffer, newBuffer, release); });
}

uint16_t TmySQLEngine::DeleteRecord(TNativeDataSet* cursor, char* buffer) {
  return Call(cursor, [&] { cursor->DeleteRecord(buffer); });
}

uint16_t TmySQLEngine::GetRecordForKey(TNativeDataSet* cursor, bool packed, int count, int partialLength,
                                       char* buffer) {
  return Call(cursor, [&] { cursor->GetRecordForKey(packed, count, partialLength, buffer); });
}
