// The query component: its SQL text and parameters, the statement's
// preparation and execution, and the link to a master data source.
#include "mySQLDbTables.h"

#include "mySQLTypes.h"

using namespace dbconsts;

namespace {

enum : uint32_t { stmtUNIDIRECTIONAL = 16 };
enum : intptr_t { stmtLive = 1, stmtReadOnly = 2 };

} // namespace

// A detail query's link to its master: the query follows the master's rows.
class TmySQLQueryDataLink : public TDetailDataLink {
public:
  explicit TmySQLQueryDataLink(TmySQLQuery* Query) : FQuery(Query) {}
  TDataSet* GetDetailDataSet() override { return FQuery; }

protected:
  void ActiveChanged() override {
    if (FQuery->GetActive()) FQuery->RefreshParams();
  }
  void RecordChanged(TField* Field) override {
    if (!Field && FQuery->GetActive()) FQuery->RefreshParams();
  }
  void CheckBrowseMode() override {
    if (FQuery->GetActive()) FQuery->CheckBrowseMode();
  }

private:
  TmySQLQuery* FQuery;
};

TmySQLQuery::TmySQLQuery(TComponent* AOwner)
    : TmySQLDataSet(AOwner), FSQL(std::make_unique<TStringList>()), FParams(std::make_unique<TParams>(this)),
      FDataLink(std::make_unique<TmySQLQueryDataLink>(this)) {
  FSQL->OnChange = [this](TObject*) { SQLChanged(); };
  FCacheBlobs = false;
}

TmySQLQuery::~TmySQLQuery() {
  SetDestroying();
  try {
    CloseForDisconnect();
  } catch (...) {
    // Nothing can be reported from here.
  }
  FSQL->OnChange = nullptr;
}

// ---- SQL text and parameters

void TmySQLQuery::SetSQL(const TStrings& Value) {
  if (FSQL->GetText() == Value.GetText()) return;
  CloseForDisconnect();
  FSQL->BeginUpdate();
  try {
    FSQL->Assign(Value);
  } catch (...) {
    FSQL->EndUpdate();
    throw;
  }
  FSQL->EndUpdate();
}

// The statement text: the lines joined, without a line break after the last.
String TmySQLQuery::SQLText() const {
  String text = FSQL->GetText();
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, sLineBreak) == 0) text.resize(text.size() - 2);
  return text;
}

void TmySQLQuery::SQLChanged() {
  const String text = SQLText();
  if (IsReading()) {
    FText = FParams->ParseSQL(text, false);
    return;
  }
  CloseForDisconnect();
  if (ParamCheck) {
    TParams list(this);
    FText = list.ParseSQL(text, true);
    list.AssignValues(*FParams);
    FParams->Clear();
    FParams->Assign(&list);
  } else {
    FText = text;
  }
  DataEvent(dePropertyChange, 0);
}

void TmySQLQuery::SetParams(const TParams& Value) {
  FParams->AssignValues(Value);
}

// ---- preparing and executing

void TmySQLQuery::SetPreparedState(bool Prepare) {
  if (GetHandle()) DatabaseError(SDataSetOpen, this);
  if (Prepare == FPrepared) return;
  if (Prepare) {
    if (FText.size() < 2) DatabaseError(SEmptySQLStatement, this);
    PrepareStatement(FText);
    WriteBoolProperty(GetEngine(), FStmtHandle, stmtUNIDIRECTIONAL, UniDirectional);
  } else {
    FreeStatement();
  }
  FPrepared = Prepare;
}

void TmySQLQuery::DropPreparedStatement() {
  SetPreparedState(false);
  SetUseFlag(1, false);
}

void TmySQLQuery::PrepareStatement(const String& Text) {
  TNativeConnect* connection = GetDBHandle();
  TmySQLEngine* engine = GetEngine();
  if (!engine) DatabaseError(Format("(%s) property Database is not set!", GetName()));
  Check(engine, engine->AllocStatement(connection, FStmtHandle));
  try {
    if (!FExecSQL)
      Check(engine, engine->SetProperty(FStmtHandle, curUPDATABLE, RequestLive ? stmtLive : stmtReadOnly));
    Check(engine, engine->PrepareStatement(FStmtHandle, Text));
  } catch (...) {
    engine->FreeStatement(FStmtHandle);
    throw;
  }
}

void TmySQLQuery::FreeStatement() {
  if (!FStmtHandle) return;
  TmySQLEngine* engine = GetEngine();
  const uint16_t code = engine->FreeStatement(FStmtHandle);
  FStmtHandle = nullptr;
  if (!IsDestroying()) Check(engine, code);
}

TNativeDataSet* TmySQLQuery::ExecuteOrOpen(bool WantCursor) {
  if (FSQL->GetCount() == 0) DatabaseError(SEmptySQLStatement, this);
  FExecSQL = !WantCursor;
  try {
    SetPreparedState(true);
  } catch (...) {
    FExecSQL = false;
    throw;
  }
  FExecSQL = false;
  if (GetDataSource()) SetParamsFromCursor();
  return ExecuteStatement(WantCursor);
}

// Parameter values go into the SQL text itself, markers and all.
TNativeDataSet* TmySQLQuery::ExecuteStatement(bool WantCursor) {
  TmySQLEngine* engine = GetEngine();
  if (FParams->GetCount() > 0) Check(engine, engine->SetParams(FStmtHandle, *FParams, SQLText()));
  TNativeDataSet* cursor = nullptr;
  Check(engine, engine->ExecuteStatement(FStmtHandle, WantCursor ? &cursor : nullptr));
  return cursor;
}

TNativeDataSet* TmySQLQuery::CreateCursorHandle() {
  return ExecuteOrOpen(true);
}

void TmySQLQuery::ExecuteSQL() {
  CheckInactive();
  if (!GetDatabase()) throw EDatabaseError("Property Database not set!");
  SetUseFlag(2, true);
  try {
    ExecuteOrOpen(false);
  } catch (...) {
    SetUseFlag(2, false);
    throw;
  }
  SetUseFlag(2, false);
}

// The statement lives exactly as long as the query has a use for it.
bool TmySQLQuery::SetUseFlag(int Flag, bool Value) {
  if (!Value && (GetUseFlags() & ~(1u << Flag)) == 0) SetPreparedState(false);
  return TmySQLDataSet::SetUseFlag(Flag, Value);
}

void TmySQLQuery::CloseForDisconnect() {
  Close();
  DropPreparedStatement();
}

void TmySQLQuery::SetUpdateMode(TUpdateMode Value) {
  if (GetHandle() && GetCanModify())
    Check(GetEngine(), GetEngine()->SetProperty(GetHandle(), curMAXPROPS, Value));
  TmySQLDataSet::SetUpdateMode(Value);
}

bool TmySQLQuery::IsSequenced() {
  return AllowSequenced && TmySQLDataSet::IsSequenced();
}

// ---- provider support

void TmySQLQuery::PSSetParams(TParams* AParams) {
  if (AParams && AParams->GetCount() > 0) FParams->Assign(AParams);
  Close();
}

void TmySQLQuery::PSSetCommandText(const String& CommandText) {
  if (!CommandText.empty()) FSQL->SetText(CommandText);
}

String TmySQLQuery::PSGetTableName() {
  return TableNameFromSelect(SQLText());
}

// ---- master link

TDataSource* TmySQLQuery::GetDataSource() {
  return FDataLink->GetDataSource();
}

void TmySQLQuery::SetDataSource(TDataSource* Value) {
  if (Value && IsLinkedTo(Value)) DatabaseError(SCircularDataLink, this);
  FDataLink->SetDataSource(Value);
}

void TmySQLQuery::SetParamsFromCursor() {
  TDataSet* master = GetDataSource()->GetDataSet();
  if (!master) return;
  master->GetFieldDefs().Update();
  for (int i = 0; i < FParams->GetCount(); ++i) {
    TParam* param = FParams->GetItem(i);
    if (param->Bound) continue;
    param->AssignField(master->FieldByName(param->Name));
    param->Bound = false;
  }
}

void TmySQLQuery::RefreshParams() {
  DisableControls();
  try {
    TDataSet* master = GetDataSource() ? GetDataSource()->GetDataSet() : nullptr;
    if (master && master->GetActive() && master->GetState() != dsSetKey) {
      Close();
      Open();
    }
  } catch (...) {
    EnableControls();
    throw;
  }
  EnableControls();
}

void TmySQLQuery::GetDetailLinkFields(std::vector<TField*>& MasterFields,
                                      std::vector<TField*>& DetailFields) {
  MasterFields.clear();
  DetailFields.clear();
  TDataSet* master = GetDataSource() ? GetDataSource()->GetDataSet() : nullptr;
  if (!master) return;
  for (int i = 0; i < FParams->GetCount(); ++i) {
    const String& name = FParams->GetItem(i)->Name;
    TField* masterField = master->FindField(name);
    if (!masterField) continue;
    MasterFields.push_back(masterField);
    if (TField* detailField = FindField(name)) DetailFields.push_back(detailField);
  }
}
