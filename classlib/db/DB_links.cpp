// Data sources, data links and connections.
#include "DB.h"

#include <algorithm>

using namespace dbconsts;

TLoginDialogProc LoginDialogExProc;

// ---- TDataSource

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  OnStateChange = nullptr;
  OnDataChange = nullptr;
  SetDataSet(nullptr);
  while (!FDataLinks.empty())
    RemoveDataLink(FDataLinks.back());
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (IsLinkedTo(Value)) DatabaseError(SCircularDataLink, this);
  if (FDataSet) {
    FDataSet->RemoveFreeNotification(this);
    FDataSet->RemoveDataSource(this);
  }
  if (Value) {
    Value->AddDataSource(this);
    Value->FreeNotification(this);
  }
}

void TDataSource::SetEnabled(bool Value) {
  FEnabled = Value;
  UpdateState();
}

void TDataSource::Edit() {
  if (AutoEdit && FState == dsBrowse) FDataSet->Edit();
}

bool TDataSource::IsLinkedTo(TDataSet* DataSet) const {
  while (DataSet) {
    TDataSource* ds = DataSet->GetDataSource();
    if (!ds) break;
    if (ds == this) return true;
    DataSet = ds->GetDataSet();
  }
  return false;
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataSet) SetDataSet(nullptr);
}

void TDataSource::AddDataLink(TDataLink* Link) {
  FDataLinks.push_back(Link);
  Link->FDataSource = this;
  if (FDataSet) FDataSet->UpdateBufferCount();
  Link->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* Link) {
  Link->FDataSource = nullptr;
  FDataLinks.erase(std::remove(FDataLinks.begin(), FDataLinks.end(), Link), FDataLinks.end());
  Link->UpdateState();
  if (FDataSet) FDataSet->UpdateBufferCount();
}

void TDataSource::NotifyDataLinks(TDataEvent Event, intptr_t Info) {
  // A link may leave (or the source go) while it handles the event.
  std::vector<TDataLink*> links = FDataLinks;
  for (TDataLink* link : links)
    if (std::find(FDataLinks.begin(), FDataLinks.end(), link) != FDataLinks.end())
      link->DataEvent(Event, Info);
}

void TDataSource::DataEvent(TDataEvent Event, intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (FState == dsInactive) return;
  NotifyDataLinks(Event, Info);
  switch (Event) {
  case deFieldChange:
  case deRecordChange:
  case deDataSetChange:
  case deDataSetScroll:
  case deLayoutChange:
    if (OnDataChange) OnDataChange(this, Event == deFieldChange ? reinterpret_cast<TField*>(Info) : nullptr);
    break;
  case deUpdateRecord:
    if (OnUpdateData) OnUpdateData(this);
    break;
  default:
    break;
  }
}

void TDataSource::UpdateState() {
  SetState(FEnabled && FDataSet ? FDataSet->GetState() : dsInactive);
}

void TDataSource::SetState(TDataSetState Value) {
  if (FState == Value) return;
  TDataSetState prior = FState;
  FState = Value;
  NotifyDataLinks(deUpdateState, 0);
  if (IsDestroying()) return;
  if (OnStateChange) OnStateChange(this);
  if (prior == dsInactive && OnDataChange) OnDataChange(this, nullptr);
}

// ---- TDataLink

TDataLink::~TDataLink() {
  SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* Value) {
  if (Value == FDataSource) return;
  if (FDataSource) FDataSource->RemoveDataLink(this);
  if (Value) Value->AddDataLink(this);
}

TDataSet* TDataLink::GetDataSet() const {
  return FDataSource ? FDataSource->GetDataSet() : nullptr;
}

int TDataLink::GetActiveRecord() const {
  if (!FActive) return 0;
  if (FDataSource->GetState() == dsSetKey) return 0;
  return FDataSource->GetDataSet()->FActiveRecord - FFirstRecord;
}

int TDataLink::GetRecordCount() const {
  if (!FActive) return 0;
  if (FDataSource->GetState() == dsSetKey) return 1;
  return std::min(FDataSource->GetDataSet()->FRecordCount, FBufferCount);
}

void TDataLink::SetBufferCount(int Value) {
  if (Value < 1 || Value == FBufferCount) return;
  FBufferCount = Value;
  if (TDataSet* ds = GetDataSet()) ds->UpdateBufferCount();
}

bool TDataLink::Edit() {
  if (!ReadOnly && FDataSource) FDataSource->Edit();
  return FEditing;
}

void TDataLink::UpdateRecord() {
  FUpdating = true;
  try {
    UpdateData();
  } catch (...) {
    FUpdating = false;
    throw;
  }
  FUpdating = false;
}

void TDataLink::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  FFirstRecord = 0;
  ActiveChanged();
}

void TDataLink::SetEditing(bool Value) {
  if (FEditing == Value) return;
  FEditing = Value;
  EditingChanged();
}

void TDataLink::UpdateState() {
  bool active = FDataSource && FDataSource->GetEnabled() && FDataSource->GetState() != dsInactive;
  SetActive(active);
  TDataSetState s = FDataSource ? FDataSource->GetState() : dsInactive;
  SetEditing(active && !ReadOnly && (s == dsEdit || s == dsInsert || s == dsSetKey));
}

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!FActive) return;
  switch (Event) {
  case deFieldChange:
  case deRecordChange:
    if (!FUpdating) RecordChanged(reinterpret_cast<TField*>(Info));
    break;
  case deDataSetChange:
  case deDataSetScroll:
  case deLayoutChange: {
    // Keep the data set's active record inside this link's window.
    int count = 0;
    if (FDataSource->GetState() != dsSetKey) {
      int active = FDataSource->GetDataSet()->FActiveRecord;
      int first = FFirstRecord + static_cast<int>(Info);
      int last = first + FBufferCount - 1;
      if (active > last)
        count = active - last;
      else if (active < first)
        count = active - first;
      FFirstRecord = std::max(0, first + count);
    }
    if (Event == deDataSetChange)
      DataSetChanged();
    else if (Event == deDataSetScroll)
      DataSetScrolled(count);
    else
      LayoutChanged();
    break;
  }
  case deUpdateRecord:
    UpdateRecord();
    break;
  case deCheckBrowseMode:
    CheckBrowseMode();
    break;
  default:
    break;
  }
}

// ---- TCustomConnection

TCustomConnection::TCustomConnection(TComponent* AOwner) : TComponent(AOwner) {}

TCustomConnection::~TCustomConnection() = default;

void TCustomConnection::SetConnected(bool Value) {
  if (IsReading() && Value) {
    FStreamedConnected = true;
    return;
  }
  if (Value == GetConnected()) return;
  if (Value) {
    if (BeforeConnect) BeforeConnect(this);
    DoConnect();
    if (AfterConnect) AfterConnect(this);
  } else {
    if (BeforeDisconnect) BeforeDisconnect(this);
    DoDisconnect();
    if (AfterDisconnect) AfterDisconnect(this);
  }
}

TDataSet* TCustomConnection::GetDataSet(int Index) const {
  if (Index < 0 || Index >= GetDataSetCount())
    throw EListError(Format("List index out of bounds (%d)", Index));
  return FDataSets[Index];
}

void TCustomConnection::RegisterClient(TObject* Client) {
  if (auto* ds = dynamic_cast<TDataSet*>(Client)) {
    if (std::find(FDataSets.begin(), FDataSets.end(), ds) == FDataSets.end()) FDataSets.push_back(ds);
  } else if (std::find(FClients.begin(), FClients.end(), Client) == FClients.end()) {
    FClients.push_back(Client);
  }
}

void TCustomConnection::UnRegisterClient(TObject* Client) {
  FDataSets.erase(std::remove(FDataSets.begin(), FDataSets.end(), Client), FDataSets.end());
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
}

void TCustomConnection::Loaded() {
  TComponent::Loaded();
  if (FStreamedConnected) SetConnected(true);
}
