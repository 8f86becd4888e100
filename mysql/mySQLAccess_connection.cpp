// The native connection: parameters, connect with the session set-up,
// transactions and statements run without a cursor; and the layer's errors.
#include "mySQLAccess.h"
#include "MySQLMonitor.h"

#include "mySQLCP.h"
#include "uMysqlHelpers.h"

namespace {

// Servers from this version on understand SET NAMES and a session sql_mode.
constexpr int FirstSessionVersion = 40100;

// Modes that change how the server quotes, escapes or prints definitions;
// the layer writes and reads SQL in the server's default dialect.
const char* const DialectModes[] = {"ANSI_QUOTES",
                                    "NO_BACKSLASH_ESCAPES",
                                    "ANSI",
                                    "ORACLE",
                                    "MYSQL323",
                                    "MYSQL40",
                                    "POSTGRESQL",
                                    "MSSQL",
                                    "DB2",
                                    "MAXDB",
                                    "NO_TABLE_OPTIONS",
                                    "NO_KEY_OPTIONS",
                                    "NO_FIELD_OPTIONS"};

int ParameterNumber(const TStrings& params, const char* name, int low, int high) {
  const String text = params.GetValue(name);
  int64_t value;
  if (!TryStrToInt64(Trim(text), value) || value < low || value > high)
    throw EConvertError(Format("'%s' is not a valid value for the connection parameter %s", text, name));
  return int(value);
}

} // namespace

// ---- Errors ----------------------------------------------------------------

EmySQLException EmySQLException::CreateCode(uint16_t code, const String& text) {
  EmySQLException e;
  e.DBICode = int16_t(code);
  e.HasDBICode = true;
  e.ErrorText = text;
  return e;
}

EmySQLException EmySQLException::CreateFromConnection(const TNativeConnect* connection) {
  EmySQLException e;
  e.Connection = connection;
  if (connection) {
    e.NativeError = uint16_t(connection->ErrorCode());
    e.ErrorText = connection->ErrorText();
  }
  if (e.NativeError > 0) e.DBICode = int16_t(DBIERR_INVALIDPARAM);
  e.Message = e.ErrorText;
  return e;
}

EmySQLException EmySQLException::CreateWithText(const TNativeConnect* connection, const String& text) {
  EmySQLException e = CreateFromConnection(connection);
  e.ErrorText = text;
  e.DBICode = int16_t(DBIERR_NATIVE);
  return e;
}

void RaiseNativeError(const TNativeConnect* connection, const String& text) {
  throw EmySQLException::CreateWithText(connection, text);
}

void RaiseCode(uint16_t code, const String& text) {
  throw EmySQLException::CreateCode(code, text);
}

// ---- Options and session ---------------------------------------------------

uint32_t ConnectOptionsToClientFlags(TConnectOptions options) {
  static const struct {
    TConnectOption Option;
    uint32_t Flag;
  } map[] = {
      {coLongPassword, CLIENT_LONG_PASSWORD},
      {coFoundRows, CLIENT_FOUND_ROWS},
      {coLongFlag, CLIENT_LONG_FLAG},
      {coConnectDatabase, CLIENT_CONNECT_WITH_DB},
      {coNoSchema, 0x0010},
      {coCompress, CLIENT_COMPRESS},
      {coODBC, 0x0040},
      {coIgnoreSpaces, 0x0100},
      {coInteractive, 0x0400},
  };
  if (options & ConnectOptionBit(coSSL))
    RaiseCode(DBIERR_NOTSUPPORTED, "Encrypted (SSL) connections are not supported");
  uint32_t flags = 0;
  for (const auto& m : map)
    if (options & ConnectOptionBit(m.Option)) flags |= m.Flag;
  return flags;
}

TSessionCharset SessionCharsetOfCodePage(unsigned codePage) {
  static const struct {
    unsigned CodePage;
    TSessionCharset Charset;
  } map[] = {
      {1252, {"latin1", 16}}, {1250, {"cp1250", 14}}, {1251, {"cp1251", 15}}, {1253, {"greek", 11}},
      {1254, {"latin5", 13}}, {1255, {"hebrew", 12}}, {1256, {"cp1256", 20}}, {1257, {"cp1257", 21}},
  };
  for (const auto& m : map)
    if (m.CodePage == codePage) return m.Charset;
  return {"", 0};
}

std::vector<String> SessionInitStatements(unsigned codePage) {
  std::vector<String> statements;
  const TSessionCharset charset = SessionCharsetOfCodePage(codePage);
  if (*charset.Name) statements.push_back(String("SET NAMES ") + charset.Name);
  // Each mode is cut out of ",mode,mode," on the server, which keeps the
  // modes it does not know of.
  String mode = "CONCAT(',', @@SESSION.sql_mode, ',')";
  for (const char* m : DialectModes)
    mode = Format("REPLACE(%s, ',%s,', ',')", mode, m);
  statements.push_back(
      Format("SET SESSION sql_mode = TRIM(BOTH ',' FROM %s), SESSION sql_quote_show_create = 1", mode));
  return statements;
}

// ---- Connection ------------------------------------------------------------

TNativeConnect::TNativeConnect(TConnectOptions options)
    : FClient(std::make_unique<TMysqlClient>()), FOptions(options) {}

TNativeConnect::~TNativeConnect() {
  FObjects.Clear();
  Disconnect();
}

void TNativeConnect::ReadParams(const TStrings& params) {
  FUser = params.GetValue("UID");
  FPassword = params.GetValue("PWD");
  FDatabase = params.GetValue("DatabaseName");
  FPort = ParameterNumber(params, "Port", 0, 65535);
  FHost = params.GetValue("Host");
  if (FHost.empty()) FHost = "localhost";
  FTimeout = params.GetValue("TIMEOUT").empty() ? 30 : ParameterNumber(params, "TIMEOUT", 0, 24 * 3600);
}

void TNativeConnect::Connect() {
  if (FConnected) return;
  // After a disconnect the object has no client and is only destroyed.
  if (!FClient) RaiseCode(DBIERR_INVALIDHNDL);
  const uint32_t flags = ConnectOptionsToClientFlags(FOptions);
  FClient->Timeout = FTimeout;
  FClient->Connect(FHost, FUser, FPassword, FDatabase, FPort, "", vkTcp, flags);
  CheckResult();
  if (!FClient->IsConnected()) RaiseNativeError(this, "Can't connect to MySQL server on '" + FHost + "'");
  SetServerVersionNumber(ServerVersionNumber(*FClient));
  try {
    SetUpSession();
  } catch (...) {
    FClient->Close();
    throw;
  }
  FConnected = true;
  if (TMySQLMonitorHook* hook = MonitorHook()) hook->TraceConnect(this);
}

// Servers of 4.1 and later get the character set of the system code page
// and a dialect the layer can read; the client repeats this after every
// reconnect.
void TNativeConnect::SetUpSession() {
  if (ServerVersionNumber(*FClient) < FirstSessionVersion) return;
  const unsigned codePage = SystemCodePage();
  FSessionCharset = SessionCharsetOfCodePage(codePage).Number;
  FClient->SessionInit = SessionInitStatements(codePage);
  for (const String& statement : FClient->SessionInit) {
    bool ran = false;
    FClient->Query(statement, true, ran);
    if (!ran) RaiseNativeError(this, ErrorText());
  }
}

void TNativeConnect::Disconnect() {
  if (!FConnected) return;
  FClient.reset();
  FConnected = false;
  if (TMySQLMonitorHook* hook = MonitorHook()) hook->TraceDisconnect(this);
}

int TNativeConnect::ErrorCode() const {
  return FClient ? FClient->ErrorCode() : 0;
}

String TNativeConnect::ErrorText() const {
  return FClient ? FClient->ErrorText() : String();
}

void TNativeConnect::CheckResult() const {
  if ((ErrorCode() & 0xFFFF) != 0) RaiseNativeError(this, ErrorText());
}

std::unique_ptr<TMysqlResult> TNativeConnect::Query(const String& sql, bool store, bool& ran) {
  ran = false;
  if (!FClient) RaiseCode(DBIERR_INVALIDHNDL);
  return FClient->Query(sql, store, ran);
}

TNativeDataSet* TNativeConnect::NewStatement() {
  return new TNativeDataSet(this, -1, 0, String(), String(), nullptr);
}

// A transaction's work lives in its session: while one is open, a lost
// connection must not be replaced by a fresh session in autocommit, so the
// client may not reconnect until the transaction has ended.
void TNativeConnect::StartTransaction(int isolation, TNativeConnect*& handle) {
  if (FTransState == 1) return;
  RunTransactionStatement("BEGIN");
  handle = this;
  FTransState = 1;
  FIsolationLevel = isolation;
  if (FClient) FClient->ReconnectAllowed = false;
  if (TMySQLMonitorHook* hook = MonitorHook()) hook->TraceStartTransaction(this);
}

void TNativeConnect::EndTransaction(int mode) {
  FTransState = 0;
  // The statement goes out on the transaction's own session (the client
  // still may not reconnect): ending it on a new session would report
  // success for work that is gone.
  bool ran = false;
  Query(mode == 0 ? "COMMIT" : "ROLLBACK", false, ran);
  FClient->ReconnectAllowed = true;
  if (ran) {
    if (TMySQLMonitorHook* hook = MonitorHook()) {
      if (mode == 0) hook->TraceCommit(this);
      else hook->TraceRollback(this);
    }
    return;
  }
  const EmySQLException error = EmySQLException::CreateWithText(this, ErrorText());
  // The loss is reported now; the client's first attempt after a lost
  // transaction would refuse to reconnect, which is spent here.
  if (!FClient->IsConnected()) FClient->TryReconnect();
  throw error;
}

void TNativeConnect::RunTransactionStatement(const char* sql) {
  bool ran = false;
  Query(sql, false, ran);
  if (!ran) RaiseNativeError(this, ErrorText());
}

void TNativeConnect::GetTransactionInfo(TTransInfo& info) const {
  info = TTransInfo();
  info.State = FTransState;
  info.IsolationLevel = FIsolationLevel;
}

void TNativeConnect::ExecuteDirect(const String& sql, int& affectedRows) {
  if (!FConnected) return;
  bool ran = false;
  Query(sql, true, ran);
  if (ran) affectedRows = int(uint32_t(FClient->GetAffectedRows()));
  CheckResult();
}

int TNativeConnect::GetCharacterSet() {
  if (FSessionCharset >= 0) return FSessionCharset;
  bool ran = false;
  auto result = Query("SHOW VARIABLES", true, ran);
  if (!ran) CheckResult();
  String name;
  if (result) {
    for (result->First(); !result->GetEof(); result->Next()) {
      const char* variable = result->Value(0);
      if (variable && LowerCase(variable) == "character_set") {
        const char* value = result->Value(1);
        name = value ? value : "";
        break;
      }
    }
  }
  return CharsetFromName(name);
}
