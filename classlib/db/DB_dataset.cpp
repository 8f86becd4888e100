// TDataSet: states, the ring of record buffers, navigation and editing.
#include "DB.h"

#include <algorithm>
#include <cstring>

using namespace dbconsts;

namespace {

// Body, then Finally; Finally also runs when Body raises.
template <typename Body, typename Finally> void TryFinally(Body body, Finally fin) {
  try {
    body();
  } catch (...) {
    fin();
    throw;
  }
  fin();
}

bool IsWriteMode(TDataSetState s) {
  return s == dsEdit || s == dsInsert || s == dsSetKey || s == dsCalcFields || s == dsFilter ||
         s == dsNewValue || s == dsInternalCalc;
}

} // namespace

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner), FFields(this), FFieldDefs(this) {}

TDataSet::~TDataSet() {
  SetDestroying();
  try {
    Close();
  } catch (...) {
    // Nothing can be reported from here.
  }
  while (!FDataSources.empty())
    FDataSources.back()->SetDataSet(nullptr);
  DestroyFields();
}

// ---- opening and closing

void TDataSet::SetActive(bool Value) {
  if (GetActive() == Value) return;
  if (Value) {
    Fire(BeforeOpen);
    FInternalOpenComplete = false;
    TryFinally([&] { OpenCursor(false); }, [&] { OpenCursorComplete(); });
    return;
  }
  if (!IsDestroying()) Fire(BeforeClose);
  SetState(dsInactive);
  CloseCursor();
  if (!IsDestroying()) Fire(AfterClose);
}

void TDataSet::OpenCursor(bool InfoQuery) {
  if (InfoQuery)
    InternalInitFieldDefs();
  else
    DoInternalOpen();
}

void TDataSet::DoInternalOpen() {
  FDefaultFields = GetFieldCount() == 0;
  InternalOpen();
  FInternalOpenComplete = true;
  UpdateBufferCount();
  ClearBuffers();
  GetNextRecords();
  FBOF = true;
}

void TDataSet::OpenCursorComplete() {
  if (FInternalOpenComplete) {
    SetState(dsBrowse);
    Fire(AfterOpen);
    if (!IsEmpty()) DoAfterScroll();
    return;
  }
  SetState(dsInactive);
  CloseCursor();
}

void TDataSet::CloseCursor() {
  SetBlockReadSize(0);
  FInternalOpenComplete = false;
  FreeFieldBuffers();
  ClearBuffers();
  SetBufferCount(0);
  InternalClose();
  FInternalOpenComplete = false;
}

void TDataSet::InitFieldDefs() {
  if (IsCursorOpen()) {
    InternalInitFieldDefs();
    return;
  }
  TryFinally([&] { OpenCursor(true); }, [&] { CloseCursor(); });
}

void TDataSet::CheckActive() const {
  if (!GetActive()) DatabaseError(SDataSetClosed, this);
}

void TDataSet::CheckInactive() const {
  if (GetActive()) DatabaseError(SDataSetOpen, this);
}

void TDataSet::SetState(TDataSetState Value) {
  if (FState == Value) return;
  FState = Value;
  FModified = false;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState Value) {
  TDataSetState old = FState;
  FState = Value;
  ++FDisableCount;
  FModified = false;
  return old;
}

void TDataSet::RestoreState(TDataSetState Value) {
  FState = Value;
  --FDisableCount;
  FModified = false;
}

// ---- fields

void TDataSet::CreateFields() {
  for (int i = 0; i < FFieldDefs.GetCount(); ++i) {
    TFieldDef* def = FFieldDefs.GetItem(i);
    if (def->GetDataType() != ftUnknown && (def->Attributes & faHiddenCol) == 0) def->CreateField(this, this);
  }
}

void TDataSet::DestroyFields() {
  while (FFields.GetCount() > 0) {
    TField* f = FFields.FList.back();
    FFields.Remove(f);
    f->FDataSet = nullptr;
    if (f->GetOwner() == this) delete f; // default fields belong to the data set
  }
}

void TDataSet::BindFields(bool Binding) {
  FCalcFieldsSize = 0;
  FBlobFieldCount = 0;
  for (TField* f : FFields.FList) {
    if (!Binding) {
      f->FFieldNo = 0;
      continue;
    }
    if (f->FieldKind == fkCalculated || f->FieldKind == fkLookup) {
      f->FFieldNo = -1;
      f->FOffset = FCalcFieldsSize;
      FCalcFieldsSize += f->GetDataSize() + 1;
      continue;
    }
    int i = FFieldDefs.IndexOf(f->GetFieldName());
    if (i < 0) DatabaseError(Format(SFieldNotFound, f->GetDisplayName()), this);
    TFieldDef* def = FFieldDefs.GetItem(i);
    f->FFieldNo = def->GetFieldNo();
    if (f->IsBlob()) {
      f->FSize = def->GetSize();
      f->FOffset = FBlobFieldCount++;
    }
  }
}

void TDataSet::GetFieldList(std::vector<TField*>& List, const String& FieldNames) const {
  size_t pos = 0;
  while (pos <= FieldNames.size()) {
    size_t end = FieldNames.find(';', pos);
    if (end == String::npos) end = FieldNames.size();
    String name = Trim(FieldNames.substr(pos, end - pos));
    if (!name.empty()) List.push_back(FieldByName(name));
    pos = end + 1;
  }
}

String TDataSet::GetFieldFullName(TField* Field) {
  return Field->GetFieldName();
}

void TDataSet::FreeFieldBuffers() {
  for (TField* f : FFields.FList) {
    auto* blob = dynamic_cast<TBlobField*>(f);
    if (blob && blob->GetModified()) {
      CloseBlob(blob);
      blob->SetModified(false);
    }
  }
}

// ---- the record buffers

void TDataSet::UpdateBufferCount() {
  if (!IsCursorOpen()) return;
  int count = 1;
  for (TDataSource* ds : FDataSources)
    for (TDataLink* link : ds->FDataLinks)
      count = std::max(count, link->GetBufferCount());
  SetBufferCount(count);
}

void TDataSet::SetBufferCount(int Value) {
  if (Value == FBufferCount) return;
  bool refill = Value > 0 && FRecordCount > 0 && FState == dsBrowse;
  if (refill) UpdateCursorPos();
  for (char*& b : FBuffers)
    FreeRecordBuffer(b);
  FBuffers.clear();
  FBufferCount = 0;
  ClearBuffers();
  if (Value > 0) {
    // One buffer more than the window: the spare that the next fetch fills.
    for (int i = 0; i <= Value; ++i)
      FBuffers.push_back(AllocRecordBuffer());
    FBufferCount = Value;
  }
  if (refill) Resync(0);
}

void TDataSet::ClearBuffers() {
  FRecordCount = 0;
  FActiveRecord = 0;
  FCurrentRecord = -1;
  FBOF = true;
  FEOF = true;
}

void TDataSet::ActivateBuffers() {
  FRecordCount = 1;
  FActiveRecord = 0;
  FCurrentRecord = 0;
  FBOF = false;
  FEOF = false;
}

void TDataSet::MoveBuffer(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  char* b = FBuffers[CurIndex];
  if (CurIndex < NewIndex)
    std::copy(FBuffers.begin() + CurIndex + 1, FBuffers.begin() + NewIndex + 1, FBuffers.begin() + CurIndex);
  else
    std::copy_backward(FBuffers.begin() + NewIndex, FBuffers.begin() + CurIndex,
                       FBuffers.begin() + CurIndex + 1);
  FBuffers[NewIndex] = b;
}

void TDataSet::SetCurrentRecord(int Index) {
  if (FCurrentRecord == Index) return;
  char* b = FBuffers[Index];
  switch (GetBookmarkFlag(b)) {
  case bfCurrent:
    InternalSetToRecord(b);
    break;
  case bfBOF:
    InternalFirst();
    break;
  case bfEOF:
    InternalLast();
    break;
  case bfInserted:
    break;
  }
  FCurrentRecord = Index;
}

void TDataSet::UpdateCursorPos() {
  if (FRecordCount > 0) SetCurrentRecord(FActiveRecord);
}

bool TDataSet::GetNextRecord() {
  TGetMode mode = gmNext;
  if (FRecordCount > 0) {
    SetCurrentRecord(FRecordCount - 1);
    if (FState == dsInsert && FCurrentRecord == FActiveRecord && GetBookmarkFlag(ActiveBuffer()) == bfCurrent)
      mode = gmCurrent;
  }
  if (GetRecord(FBuffers[FRecordCount], mode, true) != grOK) {
    CursorPosChanged();
    return false;
  }
  if (FRecordCount == 0)
    ActivateBuffers();
  else if (FRecordCount < FBufferCount)
    ++FRecordCount;
  else
    MoveBuffer(0, FRecordCount);
  FCurrentRecord = FRecordCount - 1;
  return true;
}

bool TDataSet::GetPriorRecord() {
  if (FRecordCount > 0) SetCurrentRecord(0);
  if (GetRecord(FBuffers[FRecordCount], gmPrior, true) != grOK) {
    CursorPosChanged();
    return false;
  }
  if (FRecordCount == 0) {
    ActivateBuffers();
  } else {
    MoveBuffer(FRecordCount, 0);
    if (FRecordCount < FBufferCount) {
      ++FRecordCount;
      ++FActiveRecord;
    }
  }
  FCurrentRecord = 0;
  return true;
}

int TDataSet::GetNextRecords() {
  int n = 0;
  while (FRecordCount < FBufferCount && GetNextRecord())
    ++n;
  return n;
}

int TDataSet::GetPriorRecords() {
  int n = 0;
  while (FRecordCount < FBufferCount && GetPriorRecord())
    ++n;
  return n;
}

void TDataSet::Resync(TResyncMode Mode) {
  if (IsUniDirectional()) return;
  char* spare = FBuffers[FRecordCount];
  if (Mode & rmExact) {
    CursorPosChanged();
    if (GetRecord(spare, gmCurrent, true) != grOK) DatabaseError(SRecordNotFound, this);
  } else if (GetRecord(spare, gmCurrent, false) != grOK && GetRecord(spare, gmNext, false) != grOK &&
             GetRecord(spare, gmPrior, false) != grOK) {
    ClearBuffers();
    DataEvent(deDataSetChange, 0);
    return;
  }
  int count = (Mode & rmCenter) ? (FBufferCount - 1) / 2 : FActiveRecord;
  MoveBuffer(FRecordCount, 0);
  ActivateBuffers();
  TryFinally(
      [&] {
        while (count > 0 && GetPriorRecord())
          --count;
        GetNextRecords();
        GetPriorRecords();
      },
      [&] { DataEvent(deDataSetChange, 0); });
}

// ---- navigation

void TDataSet::DoBeforeScroll() {
  Fire(BeforeScroll);
}
void TDataSet::DoAfterScroll() {
  Fire(AfterScroll);
}

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  TryFinally(
      [&] {
        InternalFirst();
        GetNextRecord();
        GetNextRecords();
      },
      [&] {
        FBOF = true;
        DataEvent(deDataSetChange, 0);
        DoAfterScroll();
      });
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  TryFinally(
      [&] {
        InternalLast();
        GetPriorRecord();
        GetPriorRecords();
      },
      [&] {
        FEOF = true;
        DataEvent(deDataSetChange, 0);
        DoAfterScroll();
      });
}

void TDataSet::Next() {
  if (FBlockReadSize > 0)
    BlockReadNext();
  else
    MoveBy(1);
}

void TDataSet::Prior() {
  MoveBy(-1);
}

int TDataSet::MoveBy(int Distance) {
  CheckBrowseMode();
  int result = 0;
  DoBeforeScroll();
  if (!((Distance > 0 && !FEOF) || (Distance < 0 && !FBOF))) return 0;
  FBOF = false;
  FEOF = false;
  int oldRecordCount = FRecordCount;
  int scrollCount = 0;
  TryFinally(
      [&] {
        for (; Distance > 0; --Distance, ++result) {
          if (FActiveRecord < FRecordCount - 1) {
            ++FActiveRecord;
            continue;
          }
          int shift = FRecordCount < FBufferCount ? 0 : 1;
          if (!GetNextRecord()) {
            FEOF = true;
            break;
          }
          scrollCount -= shift;
        }
        for (; Distance < 0; ++Distance, --result) {
          if (FActiveRecord > 0) {
            --FActiveRecord;
            continue;
          }
          int shift = FRecordCount < FBufferCount ? 0 : 1;
          if (!GetPriorRecord()) {
            FBOF = true;
            break;
          }
          scrollCount += shift;
        }
      },
      [&] {
        if (FRecordCount != oldRecordCount)
          DataEvent(deDataSetChange, 0);
        else
          DataEvent(deDataSetScroll, scrollCount);
        DoAfterScroll();
      });
  return result;
}

int TDataSet::GetRecordCount() {
  return -1;
}

void TDataSet::Refresh() {
  Fire(BeforeRefresh);
  CheckBrowseMode();
  UpdateCursorPos();
  TryFinally([&] { InternalRefresh(); },
             [&] {
               Resync(0);
               Fire(AfterRefresh);
             });
}

void TDataSet::BlockReadNext() {
  MoveBy(1);
}

void TDataSet::SetBlockReadSize(int Value) {
  if (Value > 0) {
    CheckActive();
    SetState(dsBlockRead);
  } else if (FState == dsBlockRead) {
    SetState(dsBrowse);
  }
  FBlockReadSize = Value;
}

// ---- editing

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  switch (FState) {
  case dsEdit:
  case dsInsert:
    UpdateRecord();
    if (FModified)
      Post();
    else
      Cancel();
    break;
  case dsSetKey:
    Post();
    break;
  default:
    break;
  }
}

void TDataSet::UpdateRecord() {
  if (!IsWriteMode(FState)) DatabaseError(SNotEditing, this);
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::CheckOperation(const std::function<void()>& Operation, const TDataSetErrorEvent& ErrorEvent) {
  for (;;) {
    try {
      UpdateCursorPos();
      Operation();
      return;
    } catch (EDatabaseError& e) {
      TDataAction action = daFail;
      if (ErrorEvent) ErrorEvent(this, e, action);
      if (action == daFail) throw;
      if (action == daAbort) Abort();
    }
  }
}

void TDataSet::Edit() {
  if (FState == dsEdit || FState == dsInsert) return;
  if (FRecordCount == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  if (!GetCanModify()) DatabaseError(SDataSetReadOnly, this);
  Fire(BeforeEdit);
  CheckOperation([this] { InternalEdit(); }, OnEditError);
  GetCalcFields(ActiveBuffer());
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  Fire(AfterEdit);
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  if (!GetCanModify()) DatabaseError(SDataSetReadOnly, this);
  Fire(BeforeInsert);
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  try {
    Fire(OnNewRecord);
  } catch (...) {
    UpdateCursorPos();
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync(0);
    throw;
  }
  FModified = false;
  DataEvent(deDataSetChange, 0);
  Fire(AfterInsert);
}

void TDataSet::Insert() {
  BeginInsertAppend();
  TBookmark oldCurrent = GetBookmark();
  MoveBuffer(FRecordCount, FActiveRecord);
  char* buffer = ActiveBuffer();
  InitRecord(buffer);
  if (FRecordCount == 0)
    SetBookmarkFlag(buffer, bfBOF);
  else if (!oldCurrent.empty())
    SetBookmarkData(buffer, oldCurrent.data());
  if (FRecordCount < FBufferCount) ++FRecordCount;
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  ClearBuffers();
  char* buffer = FBuffers[0];
  InitRecord(buffer);
  SetBookmarkFlag(buffer, bfEOF);
  FRecordCount = 1;
  FBOF = false;
  GetPriorRecords();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Post() {
  UpdateRecord();
  if (FState != dsEdit && FState != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforePost);
  CheckOperation([this] { InternalPost(); }, OnPostError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(0);
  Fire(AfterPost);
}

void TDataSet::Cancel() {
  if (FState != dsEdit && FState != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeCancel);
  UpdateCursorPos();
  if (FState == dsEdit) InternalCancel();
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(0);
  Fire(AfterCancel);
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert || FState == dsSetKey) {
    Cancel();
    return;
  }
  if (FRecordCount == 0) DatabaseError(SDataSetEmpty, this);
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeDelete);
  DoBeforeScroll();
  CheckOperation([this] { InternalDelete(); }, OnDeleteError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(0);
  Fire(AfterDelete);
  DoAfterScroll();
}

void TDataSet::InternalPost() {
  for (TField* f : FFields.FList)
    if (f->Required && !f->ReadOnly && f->FieldKind == fkData && f->IsNull())
      DatabaseError(Format(SFieldRequired, f->GetDisplayName()));
}

void TDataSet::InitRecord(char* Buffer) {
  InternalInitRecord(Buffer);
  ClearCalcFields(Buffer);
  SetBookmarkFlag(Buffer, bfInserted);
}

// ---- calculated fields

void TDataSet::GetCalcFields(char* Buffer) {
  if (FCalcFieldsSize <= 0) return;
  TDataSetState saved = FState;
  FState = dsCalcFields;
  TryFinally([&] { CalculateFields(Buffer); }, [&] { FState = saved; });
}

void TDataSet::CalculateFields(char* Buffer) {
  FCalcBuffer = Buffer;
  ClearCalcFields(Buffer);
  Fire(OnCalcFields);
}

void TDataSet::ClearCalcFields(char*) {}

// ---- bookmarks

bool TDataSet::BookmarkAvailable() {
  return (FState == dsBrowse || FState == dsEdit || FState == dsInsert) && !IsEmpty() &&
         GetBookmarkFlag(ActiveBuffer()) == bfCurrent;
}

TBookmark TDataSet::GetBookmark() {
  if (!BookmarkAvailable() || BookmarkSize <= 0) return TBookmark();
  TBookmark b(static_cast<size_t>(BookmarkSize), '\0');
  GetBookmarkData(ActiveBuffer(), b.data());
  return b;
}

void TDataSet::GotoBookmark(const TBookmark& Bookmark) {
  if (Bookmark.empty()) return;
  CheckBrowseMode();
  DoBeforeScroll();
  InternalGotoBookmark(Bookmark.data());
  Resync(rmExact | rmCenter);
  DoAfterScroll();
}

bool TDataSet::BookmarkValid(const char*) {
  return false;
}
int TDataSet::CompareBookmarks(const char*, const char*) {
  return 0;
}
void TDataSet::GetBookmarkData(char*, void*) {}
TBookmarkFlag TDataSet::GetBookmarkFlag(char*) {
  return bfCurrent;
}
void TDataSet::SetBookmarkData(char*, const void*) {}
void TDataSet::SetBookmarkFlag(char*, TBookmarkFlag) {}
void TDataSet::InternalGotoBookmark(const void*) {}

void TDataSet::InternalSetToRecord(char* Buffer) {
  TBookmark b(static_cast<size_t>(std::max(BookmarkSize, 0)), '\0');
  GetBookmarkData(Buffer, b.data());
  InternalGotoBookmark(b.data());
}

// ---- hooks with defaults

char* TDataSet::AllocRecordBuffer() {
  return new char[static_cast<size_t>(std::max(GetRecordSize(), 1))]();
}

void TDataSet::FreeRecordBuffer(char*& Buffer) {
  delete[] Buffer; // the data set owns its buffers
  Buffer = nullptr;
}

TGetResult TDataSet::GetRecord(char*, TGetMode, bool) {
  return grError;
}
void TDataSet::InternalAddRecord(const void*, bool) {}
void TDataSet::InternalHandleException() {
  HandleCurrentException(this);
}
void TDataSet::InternalInitRecord(char*) {}
bool TDataSet::GetFieldData(TField*, void*) {
  return false;
}
bool TDataSet::GetFieldData(int, void*) {
  return false;
}
void TDataSet::SetFieldData(TField*, const void*) {}
std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField*, TBlobStreamMode) {
  return nullptr;
}
bool TDataSet::GetCurrentRecord(char*) {
  return false;
}

int TDataSet::Translate(const char* Src, char* Dest, bool) {
  size_t n = std::strlen(Src);
  if (Src != Dest) std::memcpy(Dest, Src, n + 1);
  return static_cast<int>(n);
}

Variant TDataSet::GetStateFieldValue(TDataSetState State, TField* Field) {
  if (Field->FieldKind != fkData && Field->FieldKind != fkInternalCalc) return Variant::Null();
  TDataSetState saved = FState;
  FState = State;
  Variant v;
  TryFinally([&] { v = Field->GetValue(); }, [&] { FState = saved; });
  return v;
}

void TDataSet::SetStateFieldValue(TDataSetState State, TField* Field, const Variant& Value) {
  if (Field->FieldKind != fkData) return;
  TDataSetState saved = FState;
  FState = State;
  TryFinally([&] { Field->SetValue(Value); }, [&] { FState = saved; });
}

bool TDataSet::Locate(const String&, const Variant&, TLocateOptions) {
  return false;
}
Variant TDataSet::Lookup(const String&, const Variant&, const String&) {
  return Variant::Null();
}
bool TDataSet::FindRecord(bool, bool) {
  return false;
}

void TDataSet::SetFiltered(bool Value) {
  FFiltered = Value;
}
void TDataSet::SetFilterText(const String& Value) {
  FFilterText = Value;
}
void TDataSet::SetFilterOptions(TFilterOptions Value) {
  FFilterOptions = Value;
}
void TDataSet::SetOnFilterRecord(const TFilterRecordEvent& Value) {
  FOnFilterRecord = Value;
}

// ---- data sources and events

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info) {
  if (Event == deFieldChange && Info) {
    auto* field = reinterpret_cast<TField*>(Info);
    if (field->FieldKind == fkData || field->FieldKind == fkInternalCalc) SetModified(true);
    if (FState != dsSetKey && AutoCalcFields && FCalcFieldsSize > 0) GetCalcFields(ActiveBuffer());
    if (field->OnChange) field->OnChange(field);
  } else if (Event == dePropertyChange) {
    FFieldDefs.Updated = false;
  }
  if (FDisableCount == 0) {
    std::vector<TDataSource*> sources = FDataSources;
    for (TDataSource* ds : sources)
      ds->DataEvent(Event, Info);
  } else if ((Event == deUpdateState && FState == dsInactive) || Event == deLayoutChange) {
    FEnableEvent = deLayoutChange;
  }
}

void TDataSet::DisableControls() {
  if (FDisableCount == 0) {
    FDisableState = FState;
    FEnableEvent = deDataSetChange;
  }
  ++FDisableCount;
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0) return;
  if (--FDisableCount > 0) return;
  if (FDisableState != FState) DataEvent(deUpdateState, 0);
  if (FDisableState != dsInactive && FState != dsInactive) DataEvent(FEnableEvent, 0);
}

void TDataSet::AddDataSource(TDataSource* DataSource) {
  FDataSources.push_back(DataSource);
  DataSource->FDataSet = this;
  UpdateBufferCount();
  DataSource->DataEvent(deUpdateState, 0);
}

void TDataSet::RemoveDataSource(TDataSource* DataSource) {
  DataSource->FDataSet = nullptr;
  FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), DataSource), FDataSources.end());
  DataSource->DataEvent(deUpdateState, 0);
  UpdateBufferCount();
}

bool TDataSet::IsLinkedTo(TDataSource* DataSource) {
  while (DataSource) {
    TDataSet* ds = DataSource->GetDataSet();
    if (!ds) break;
    if (ds == this) return true;
    DataSource = ds->GetDataSource();
  }
  return false;
}

void TDataSet::GetDetailLinkFields(std::vector<TField*>& MasterFields, std::vector<TField*>& DetailFields) {
  MasterFields.clear();
  DetailFields.clear();
}
