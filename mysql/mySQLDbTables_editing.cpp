// Changing rows through the data set: the native cursor writes each change
// to the server as one statement when the framework posts or deletes.
#include "mySQLDbTables.h"

#include <cstring>

bool TmySQLDataSet::GetCanModifyImpl() {
  if (!FHandle) return false;
  TCursorProps props;
  return GetEngine()->GetCursorProps(FHandle, props) == DBIERR_NONE && props.OpenMode == 0;
}

void TmySQLDataSet::InternalEdit() {
  char* active = ActiveBuffer();
  FEditCopy.assign(active, active + FRecBufSize);
  // The copy's blob cache belongs to the active buffer.
  std::memset(FEditCopy.data() + FBlobCacheOfs, 0, sizeof(String*) * size_t(GetBlobFieldCount()));
  Check(GetEngine(), GetEngine()->GetRecord(FHandle, 0, active, nullptr));
  ClearBlobCache(active);
}

void TmySQLDataSet::InternalInsert() {
  WriteBoolProperty(GetEngine(), FHandle, curAFFECTEDROWS, true);
  CursorPosChanged();
}

void TmySQLDataSet::InternalPost() {
  TDataSet::InternalPost();
  TmySQLEngine* engine = GetEngine();
  if (GetState() == dsEdit)
    Check(engine, engine->ModifyRecord(FHandle, FEditCopy.data(), ActiveBuffer(), true));
  else
    Check(engine, engine->InsertRecord(FHandle, 0, ActiveBuffer()));
  FEditCopy.clear();
}

void TmySQLDataSet::InternalDelete() {
  Check(GetEngine(), GetEngine()->DeleteRecord(FHandle, ActiveBuffer()));
}

void TmySQLDataSet::InternalAddRecord(const void* Buffer, bool Append) {
  // The engine reads the buffer only; its signature is the cursor's.
  char* record = static_cast<char*>(const_cast<void*>(Buffer));
  TmySQLEngine* engine = GetEngine();
  Check(engine, Append ? engine->AppendRecord(FHandle, record) : engine->InsertRecord(FHandle, 0, record));
}

void TmySQLDataSet::InternalCancel() {
  if (GetState() == dsEdit) GetEngine()->ReleaseRecordLock(FHandle, false);
  FEditCopy.clear();
}

void TmySQLDataSet::InternalRefresh() {
  Check(GetEngine(), GetEngine()->ForceReread(FHandle));
}
