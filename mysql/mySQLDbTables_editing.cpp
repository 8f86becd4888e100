// Changing rows through the data set: the native cursor writes each change
// to the server as one statement when the framework posts or deletes.
#include "mySQLDbTables.h"

#include <cstring>
#include <functional>

namespace {

// The update-status byte's place in a buffer's record information.
constexpr int InfoUpdateStatus = 4;
// The use flag held while a provider call runs.
constexpr int ProviderUse = 10;

} // namespace

bool TmySQLDataSet::GetCanModifyImpl() {
  if (FCachedUpdates && (OnUpdateRecord || FUpdateObject)) return true;
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

// ---- Cached updates ----------------------------------------------------------

void TmySQLDataSet::SetCachedUpdates(bool Value) {
  if (!GetActive()) {
    FCachedUpdates = Value;
    return;
  }
  if (Value == FCachedUpdates) return;
  CheckBrowseMode();
  UpdateCursorPos();
  FCachedUpdates = Value;
  if (Value)
    FOldRecord.assign(FRecBufSize, 0);
  else
    FOldRecord.clear();
  Resync(0);
}

void TmySQLDataSet::SetUpdateObject(TmySQLSQLUpdateObject* Value) {
  if (Value == FUpdateObject) return;
  if (FUpdateObject && FUpdateObject->GetDataSet() == this) FUpdateObject->SetDataSet(nullptr);
  FUpdateObject = Value;
  if (!Value) return;
  if (TmySQLDataSet* previous = Value->GetDataSet(); previous && previous != this)
    previous->SetUpdateObject(nullptr);
  Value->SetDataSet(this);
}

TUpdateStatus TmySQLDataSet::UpdateStatus() {
  if (!FCachedUpdates) return usUnmodified;
  const char* buffer = GetState() == dsCalcFields ? CalcBuffer() : ActiveBuffer();
  return buffer ? TUpdateStatus(buffer[FRecInfoOfs + InfoUpdateStatus]) : usUnmodified;
}

Variant TmySQLDataSet::GetStateFieldValue(TDataSetState State, TField* Field) {
  if (!FCachedUpdates) DatabaseError("Not in cached update mode", this);
  return TDataSet::GetStateFieldValue(State, Field);
}

void TmySQLDataSet::SetStateFieldValue(TDataSetState State, TField* Field, const Variant& Value) {
  if (!FCachedUpdates) DatabaseError("Not in cached update mode", this);
  TDataSet::SetStateFieldValue(State, Field, Value);
}

// ---- Provider support --------------------------------------------------------

namespace {

// Holds a data set's provider use flag for one call and gives it back.
class TProviderUse {
public:
  explicit TProviderUse(std::function<bool(int, bool)> SetFlag)
      : FSetFlag(std::move(SetFlag)), FWasSet(FSetFlag(ProviderUse, true)) {}
  ~TProviderUse() { FSetFlag(ProviderUse, FWasSet); }
  TProviderUse(const TProviderUse&) = delete;
  TProviderUse& operator=(const TProviderUse&) = delete;

private:
  std::function<bool(int, bool)> FSetFlag;
  bool FWasSet;
};

} // namespace

bool TmySQLDataSet::PSIsSQLBased() {
  // Holding the flag connects the database.
  TProviderUse use([this](int Flag, bool Value) { return SetUseFlag(Flag, Value); });
  return true;
}

bool TmySQLDataSet::PSInTransaction() {
  if (!FDatabase || !FDatabase->GetConnected()) return false;
  TProviderUse use([this](int Flag, bool Value) { return SetUseFlag(Flag, Value); });
  return FDatabase->GetInTransaction();
}

void TmySQLDataSet::PSStartTransaction() {
  SetUseFlag(ProviderUse, true);
  try {
    FDatabase->StartTransaction();
  } catch (...) {
    SetUseFlag(ProviderUse, false);
    throw;
  }
}

void TmySQLDataSet::PSEndTransaction(bool Commit) {
  try {
    FDatabase->ClearStatementCache();
    FDatabase->EndTransaction(Commit ? 0 : 2);
  } catch (...) {
    SetUseFlag(ProviderUse, false);
    throw;
  }
  SetUseFlag(ProviderUse, false);
}

int TmySQLDataSet::PSExecuteStatement(const String& SQL, TParams* Params, bool ResultSet) {
  TProviderUse use([this](int Flag, bool Value) { return SetUseFlag(Flag, Value); });
  return ResultSet ? 0 : FDatabase->Execute(SQL, Params, true);
}

void TmySQLDataSet::PSReset() {
  TDataSet::PSReset();
  if (FHandle) Check(GetEngine(), GetEngine()->ForceReread(FHandle));
}
