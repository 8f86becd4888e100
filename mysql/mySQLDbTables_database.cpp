// The connection component: parameters, connect and disconnect with the
// login step, use counting by the data sets, transactions and the statements
// it runs itself with their cache.
#include "mySQLDbTables.h"

#include <algorithm>

using namespace dbconsts;

namespace {

// Every database from construction to destruction.
std::vector<TmySQLDatabase*>& DatabaseList() {
  static std::vector<TmySQLDatabase*> list;
  return list;
}

constexpr int SQLLanguage = 2;

} // namespace

uint32_t StatementHashCode(const String& text) {
  const size_t length = text.size();
  uint32_t hash = 0;
  if (length < 16) {
    for (unsigned char c : text)
      hash = hash * 37 + c;
    return hash;
  }
  const size_t stride = length / 8;
  for (size_t i = 0; i < length; i += stride)
    hash = hash * 39 + static_cast<unsigned char>(text[i]);
  return hash;
}

TmySQLDatabase::TmySQLDatabase(TComponent* AOwner)
    : TCustomConnection(AOwner), FParams(std::make_unique<TStringList>()) {
  FParams->OnChanging = [this](TObject*) { RequireClosed(); };
  SetPort(3306);
  SetConnectionTimeout(30);
  DatabaseList().push_back(this);
}

TmySQLDatabase::~TmySQLDatabase() {
  SetDestroying();
  try {
    Close();
  } catch (...) {
    // A destructor reports nothing; the handle is gone either way.
  }
  while (GetDataSetCount() > 0) {
    auto* dataSet = static_cast<TmySQLDataSet*>(GetDataSet(GetDataSetCount() - 1));
    dataSet->FDatabase = nullptr;
    UnRegisterClient(dataSet);
  }
  auto& list = DatabaseList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  ClearStatementCache();
}

// ---- properties

void TmySQLDatabase::RequireClosed() {
  if (GetConnected()) DatabaseError(SDatabaseOpen, this);
}

void TmySQLDatabase::RequireOpen() const {
  if (!GetConnected()) DatabaseError(SDatabaseClosed, this);
}

void TmySQLDatabase::WriteParam(const char* Key, const String& Value) {
  FParams->SetValue(Key, Value);
}

// A text property and its Params line; a different value needs a closed
// connection at any time.
void TmySQLDatabase::SetParamText(String& Field, const String& Value, const char* Key) {
  if (Value == Field) return;
  RequireClosed();
  Field = Value;
  WriteParam(Key, Value);
}

void TmySQLDatabase::SetDatabaseName(const String& Value) {
  if (!IsReading()) {
    SetParamText(FDatabaseName, Value, "DatabaseName");
    return;
  }
  FDatabaseName = Value;
  WriteParam("DatabaseName", Value);
}

void TmySQLDatabase::SetUserName(const String& Value) {
  SetParamText(FUserName, Value, "UID");
}

void TmySQLDatabase::SetUserPassword(const String& Value) {
  SetParamText(FUserPassword, Value, "PWD");
}

void TmySQLDatabase::SetHost(const String& Value) {
  SetParamText(FHost, Value, "Host");
}

void TmySQLDatabase::SetPort(uint32_t Value) {
  if (!IsReading()) {
    if (Value == FPort) return;
    RequireClosed();
  }
  FPort = Value;
  WriteParam("Port", UIntToStr(Value));
}

void TmySQLDatabase::SetConnectionTimeout(uint32_t Value) {
  if (!IsReading()) {
    if (Value == FConnectionTimeout) return;
    RequireClosed();
  }
  FConnectionTimeout = Value;
  WriteParam("TIMEOUT", UIntToStr(Value));
}

void TmySQLDatabase::SetExclusive(bool Value) {
  RequireClosed();
  FExclusive = Value;
}

void TmySQLDatabase::SetReadOnly(bool Value) {
  RequireClosed();
  FReadOnly = Value;
}

void TmySQLDatabase::SetParams(const TStrings& Value) {
  RequireClosed();
  FParams->Assign(Value);
}

// ---- engine, connecting and disconnecting

void TmySQLDatabase::EnsureEngine() {
  if (FEngine) return;
  try {
    FEngine = std::make_unique<TmySQLEngine>();
  } catch (...) {
    DatabaseError("Engine not Initialize");
  }
}

TmySQLEngine* TmySQLDatabase::GetEngine() {
  EnsureEngine();
  return FEngine.get();
}

void TmySQLDatabase::Loaded() {
  TCustomConnection::Loaded();
  if (!GetStreamedConnected()) EnsureEngine();
}

String TmySQLDatabase::GetLoginPassword() {
  if (!LoginPrompt) return FParams->GetValue("PWD");
  TStringList login;
  if (OnLogin) {
    OnLogin(this, &login);
  } else {
    String user = login.GetValue("UID");
    String password;
    if (!LoginDialogExProc || !LoginDialogExProc(FDatabaseName, user, password, false))
      DatabaseError(Format(SLoginError, FDatabaseName));
    login.SetValue("UID", user);
    login.SetValue("PWD", password);
  }
  const String password = login.GetValue("PWD");
  FParams->SetValue("UID", login.GetValue("UID"));
  FParams->SetValue("PWD", password);
  return password;
}

void TmySQLDatabase::DoConnect() {
  if (FHandle) return;
  EnsureEngine();
  GetLoginPassword();
  TStringList params;
  params.Assign(*FParams);
  const uint16_t code = FEngine->OpenDatabase(ConnectOptions, params, FHandle);
  int charset = 0;
  if (!FHandle || FEngine->GetCharacterSet(FHandle, charset) != 0) charset = 0;
  SetCurrentServerCharset(charset);
  Check(FEngine.get(), code);
}

void TmySQLDatabase::DoDisconnect() {
  if (!FHandle) return;
  FDisconnecting = true;
  try {
    ClearStatementCache();
    while (GetDataSetCount() > 0) {
      const int before = GetDataSetCount();
      auto* dataSet = static_cast<TmySQLDataSet*>(GetDataSet(before - 1));
      dataSet->CloseForDisconnect();
      // A data set that stays registered would be asked forever.
      if (GetDataSetCount() == before) UnRegisterClient(dataSet);
    }
  } catch (...) {
    FDisconnecting = false;
    throw;
  }
  FDisconnecting = false;
  FEngine->CloseDatabase(FHandle);
  FHandle = nullptr;
  FRefCount = 0;
}

// ---- use counting

void TmySQLDatabase::AddUse(TmySQLDataSet* DataSet) {
  Open();
  ++FRefCount;
  RegisterClient(DataSet);
}

void TmySQLDatabase::ReleaseUse(TmySQLDataSet* DataSet) {
  UnRegisterClient(DataSet);
  if (FRefCount > 0) --FRefCount;
  // While disconnecting, the data sets closing one by one must not start a
  // second disconnect.
  if (FRefCount == 0 && !KeepConnection && !FDisconnecting) Close();
}

// ---- transactions

void TmySQLDatabase::StartTransaction() {
  RequireOpen();
  TNativeConnect* transaction = nullptr;
  Check(FEngine.get(), FEngine->BeginTransaction(FHandle, TransIsolation, transaction));
}

void TmySQLDatabase::Commit() {
  RequireOpen();
  EndTransaction(0);
}

void TmySQLDatabase::Rollback() {
  RequireOpen();
  EndTransaction(2);
}

void TmySQLDatabase::EndTransaction(int Mode) {
  Check(GetEngine(), FEngine->EndTransaction(FHandle, nullptr, Mode));
}

bool TmySQLDatabase::GetInTransaction() {
  if (!FHandle) return false;
  TTransInfo info;
  return FEngine->GetTransactionInfo(FHandle, nullptr, info) == 0 && info.State == 1;
}

// ---- statements

TStmtInfo& TmySQLDatabase::FindCachedStatement(const String& SQL) {
  const uint32_t hash = StatementHashCode(SQL);
  for (TStmtInfo& info : FStmtList)
    if (info.HashCode == hash && SameText(info.SQLText, SQL)) return info;
  FStmtList.push_back(TStmtInfo{hash, nullptr, String()});
  return FStmtList.back();
}

void TmySQLDatabase::ClearStatementCache() {
  for (TStmtInfo& info : FStmtList)
    if (info.StmtHandle) FEngine->FreeStatement(info.StmtHandle);
  FStmtList.clear();
}

int TmySQLDatabase::Execute(const String& SQL, TParams* Params, bool Cache) {
  Open();
  TmySQLEngine* engine = GetEngine();
  if (!Params || Params->GetCount() == 0) {
    int affected = 0;
    Check(engine, engine->ExecuteDirect(FHandle, SQLLanguage, SQL, false, affected));
    return affected;
  }
  TNativeDataSet* statement = nullptr;
  TStmtInfo* cached = Cache ? &FindCachedStatement(SQL) : nullptr;
  if (cached) statement = cached->StmtHandle;
  // A statement that is not kept in the cache is freed on every way out.
  auto freeUnkept = [&] {
    if (statement && (!cached || cached->StmtHandle != statement)) engine->FreeStatement(statement);
  };
  try {
    if (!statement) {
      Check(engine, engine->AllocStatement(FHandle, statement));
      Check(engine, engine->PrepareStatement(statement, SQL));
      if (cached) {
        cached->SQLText = SQL;
        cached->StmtHandle = statement;
      }
    }
    Check(engine, engine->SetParams(statement, *Params, SQL));
    Check(engine, engine->ExecuteStatement(statement, nullptr));
  } catch (...) {
    freeUnkept();
    throw;
  }
  const int affected = ReadIntProperty(engine, statement, curAFFECTEDROWS);
  freeUnkept();
  return affected;
}
