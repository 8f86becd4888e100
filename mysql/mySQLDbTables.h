// The data-set components over the engine: the connection and query
// components, and the errors and services they share.
#pragma once

#include "DB.h"
#include "mySQLAccess.h"

#include <cstdint>

// An engine failure as the application sees it: the server's error number
// and message, or the engine's result code with its text.
class EmySQLDatabaseError : public EDatabaseError {
public:
  EmySQLDatabaseError(const TmySQLEngine* engine, uint16_t errorCode);
  uint16_t GetErrorCode() const { return FErrorCode; }

private:
  uint16_t FErrorCode;
};

// Raised when a data set's open step gets no cursor.
class ENoResultSet : public EDatabaseError {
public:
  using EDatabaseError::EDatabaseError;
};

// The type of the components' About property; nothing of it exists at run time.
class TKestrelAbout : public TObject {};

// Raises EmySQLDatabaseError for a non-zero code.
void Check(const TmySQLEngine* engine, uint16_t code);

// A cursor's or statement's 4-byte integer property; 0 when the engine fails.
int32_t ReadIntProperty(TmySQLEngine* engine, TNativeDataSet* handle, uint32_t property);
// True when the engine took the value.
bool WriteBoolProperty(TmySQLEngine* engine, TNativeDataSet* handle, uint32_t property, bool value);

// Re-encode `length` bytes between the system's character set and the
// server's. One conversion in each direction may run at a time.
void AnsiToNative(TmySQLEngine* engine, const char* source, char* dest, int length);
void NativeToAnsi(TmySQLEngine* engine, const char* source, char* dest, int length);
// The zero-terminated server text in the system's character set.
String NativeToAnsiString(TmySQLEngine* engine, const char* text);

// ===========================================================================
// The connection, data-set and query components and the blob stream.

class TmySQLDataSet;
class TmySQLQuery;
class TmySQLDatabase;

enum TTransIsolation : uint8_t { tiDirtyRead, tiReadCommitted, tiRepeatableRead };

using TBaseDatabaseLoginEvent = std::function<void(TmySQLDatabase* Database, TStrings* LoginParams)>;

// A statement Execute keeps prepared for its text.
struct TStmtInfo {
  uint32_t HashCode = 0;
  TNativeDataSet* StmtHandle = nullptr;
  String SQLText;
};

// The statement cache's hash: case-sensitive, over at most about 8 sample
// characters of a long text.
uint32_t StatementHashCode(const String& text);

// One connection to a server. The properties are a typed front over Params,
// which is what the engine reads; while connected nothing in it may change.
class TmySQLDatabase : public TCustomConnection {
public:
  explicit TmySQLDatabase(TComponent* AOwner);
  ~TmySQLDatabase() override;

  const String& GetDatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const String& Value);
  const String& GetUserName() const { return FUserName; }
  void SetUserName(const String& Value);
  const String& GetUserPassword() const { return FUserPassword; }
  void SetUserPassword(const String& Value);
  const String& GetHost() const { return FHost; }
  void SetHost(const String& Value);
  uint32_t GetPort() const { return FPort; }
  void SetPort(uint32_t Value);
  uint32_t GetConnectionTimeout() const { return FConnectionTimeout; }
  void SetConnectionTimeout(uint32_t Value);
  bool GetExclusive() const { return FExclusive; }
  void SetExclusive(bool Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TStrings& GetParams() { return *FParams; }
  void SetParams(const TStrings& Value);

  TKestrelAbout* About = nullptr;
  // Recorded and reported; only BEGIN, COMMIT and ROLLBACK reach the server.
  TTransIsolation TransIsolation = tiReadCommitted;
  bool KeepConnection = true;
  TConnectOptions ConnectOptions = 0;
  bool HandleShared = false;
  TBaseDatabaseLoginEvent OnLogin;

  void StartTransaction();
  void Commit();
  void Rollback();
  bool GetInTransaction();
  // Runs a statement without a result set; the rows it affected. With
  // Cache the prepared statement is kept for the next call with the text.
  int Execute(const String& SQL, TParams* Params = nullptr, bool Cache = false);

  // What the data sets work through.
  TmySQLEngine* GetEngine();
  TNativeConnect* GetHandle() const { return FHandle; }
  int GetUseCount() const { return FRefCount; }
  int GetStatementCacheCount() const { return int(FStmtList.size()); }
  void ClearStatementCache();
  // Mode 0 commits, any other rolls back.
  void EndTransaction(int Mode);

  void Loaded() override;

protected:
  void DoConnect() override;
  void DoDisconnect() override;
  bool GetConnectedImpl() const override { return FHandle != nullptr; }
  String ClassName() const override { return "TmySQLDatabase"; }

private:
  friend class TmySQLDataSet;
  void EnsureEngine();
  void RequireClosed();
  void RequireOpen() const;
  void WriteParam(const char* Key, const String& Value);
  void SetParamText(String& Field, const String& Value, const char* Key);
  String GetLoginPassword();
  TStmtInfo& FindCachedStatement(const String& SQL);
  void AddUse(TmySQLDataSet* DataSet);
  void ReleaseUse(TmySQLDataSet* DataSet);

  String FDatabaseName, FUserName, FUserPassword, FHost;
  uint32_t FPort = 0;
  uint32_t FConnectionTimeout = 0;
  bool FExclusive = false;
  bool FReadOnly = false;
  std::unique_ptr<TmySQLEngine> FEngine;
  int FRefCount = 0;
  TNativeConnect* FHandle = nullptr;
  std::unique_ptr<TStringList> FParams;
  std::vector<TStmtInfo> FStmtList;
  bool FDisconnecting = false;
};

// Cached updates: what a handler is told and answers. Rows are written at
// once in both modes; these only decide whether a data set may be changed.
enum TUpdateKind { ukModify, ukInsert, ukDelete };
enum TUpdateAction { uaFail, uaAbort, uaSkip, uaRetry, uaApplied };
using TUpdateErrorEvent = std::function<void(TDataSet* DataSet, EDatabaseError* E, TUpdateKind UpdateKind,
                                             TUpdateAction& UpdateAction)>;
using TUpdateRecordEvent =
    std::function<void(TDataSet* DataSet, TUpdateKind UpdateKind, TUpdateAction& UpdateAction)>;

// The type of a data set's UpdateObject; the program has no descendant.
class TmySQLSQLUpdateObject : public TComponent {
public:
  using TComponent::TComponent;
  virtual TmySQLDataSet* GetDataSet() const = 0;
  virtual void SetDataSet(TmySQLDataSet* Value) = 0;
};

// A data set over a native cursor of a database's engine. It gets its cursor
// from a descendant (the query).
class TmySQLDataSet : public TDataSet {
public:
  explicit TmySQLDataSet(TComponent* AOwner);
  ~TmySQLDataSet() override;

  TmySQLDatabase* GetDatabase() const { return FDatabase; }
  void SetDatabase(TmySQLDatabase* Value);
  TNativeDataSet* GetHandle() const { return FHandle; }
  TNativeDataSet* GetStmtHandle() const { return FStmtHandle; }
  // The database's engine; none without a database.
  virtual TmySQLEngine* GetEngine();
  // The database's connection, connecting it first; none without a database.
  TNativeConnect* GetDBHandle();
  TUpdateMode GetUpdateMode() const { return FUpdateMode; }
  virtual void SetUpdateMode(TUpdateMode Value);

  bool AutoRefresh = false;
  bool AllowSequenced = false;

  int GetRecordCount() override;
  int GetRecNo() override;
  void SetRecNo(int Value) override;
  bool IsSequenced() override;
  bool GetFieldData(TField* Field, void* Buffer) override;
  bool GetFieldData(int FieldNo, void* Buffer) override;
  void SetFieldData(TField* Field, const void* Buffer) override;
  std::unique_ptr<TStream> CreateBlobStream(TField* Field, TBlobStreamMode Mode) override;
  bool GetCurrentRecord(char* Buffer) override;
  bool BookmarkValid(const char* Bookmark) override;
  int CompareBookmarks(const char* Bookmark1, const char* Bookmark2) override;
  int Translate(const char* Src, char* Dest, bool ToOem) override;
  void SetBlockReadSize(int Value) override;
  // A blob's bytes, Buffer grown to hold them; the blob's size (0 when it
  // cannot be read).
  int GetBlobFieldData(int FieldNo, String& Buffer);
  // Filters and searches: expression filters and OnFilterRecord run on the
  // native cursor; Locate and Lookup look with a filter of their own.
  void SetFiltered(bool Value) override;
  void SetFilterOptions(TFilterOptions Value) override;
  void SetOnFilterRecord(const TFilterRecordEvent& Value) override;
  bool GetCachedUpdates() const { return FCachedUpdates; }
  void SetCachedUpdates(bool Value);
  TmySQLSQLUpdateObject* GetUpdateObject() const { return FUpdateObject; }
  void SetUpdateObject(TmySQLSQLUpdateObject* Value);
  TUpdateErrorEvent OnUpdateError;
  TUpdateRecordEvent OnUpdateRecord;
  TUpdateStatus UpdateStatus() override;
  Variant GetStateFieldValue(TDataSetState State, TField* Field) override;
  void SetStateFieldValue(TDataSetState State, TField* Field, const Variant& Value) override;
  // Provider support.
  bool PSIsSQLBased() override;
  bool PSIsSQLSupported() override { return true; }
  String PSGetQuoteChar() override { return "\""; }
  bool PSInTransaction() override;
  void PSStartTransaction() override;
  void PSEndTransaction(bool Commit) override;
  int PSExecuteStatement(const String& SQL, TParams* Params, bool ResultSet) override;
  void PSReset() override;
  bool Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) override;
  Variant Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields) override;

protected:
  virtual TNativeDataSet* CreateCursorHandle() { return nullptr; }
  virtual void DestroyCursorHandle();
  virtual void PrepareOpenedCursor() {}
  virtual void CloseForDisconnect();
  // Returns whether the flag was set. The first flag set makes the data set
  // a user of its database; clearing the last one releases it.
  virtual bool SetUseFlag(int Flag, bool Value);
  uint16_t GetUseFlags() const { return FUseFlags; }

  void Notification(TComponent* AComponent, TOperation Operation) override;
  char* AllocRecordBuffer() override;
  void FreeRecordBuffer(char*& Buffer) override;
  void GetBookmarkData(char* Buffer, void* Data) override;
  TBookmarkFlag GetBookmarkFlag(char* Buffer) override;
  void SetBookmarkData(char* Buffer, const void* Data) override;
  void SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) override;
  TGetResult GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck) override;
  int GetRecordSize() override { return int(FRecordSize); }
  void InternalClose() override;
  void InternalFirst() override;
  void InternalGotoBookmark(const void* Bookmark) override;
  void InternalInitFieldDefs() override;
  void InternalInitRecord(char* Buffer) override;
  void InternalLast() override;
  void InternalOpen() override;
  void InternalSetToRecord(char* Buffer) override;
  bool IsCursorOpen() override { return FHandle != nullptr; }
  void OpenCursor(bool InfoQuery) override;
  void CloseCursor() override;
  void InitRecord(char* Buffer) override;
  void ClearCalcFields(char* Buffer) override;
  void BlockReadNext() override;
  void CloseBlob(TField* Field) override;
  bool GetIsIndexField(TField* Field) override;
  // Editing: rows are written to the server by Post and Delete at once.
  bool GetCanModifyImpl() override;
  void InternalEdit() override;
  void InternalInsert() override;
  void InternalPost() override;
  void InternalDelete() override;
  void InternalAddRecord(const void* Buffer, bool Append) override;
  void InternalCancel() override;
  void InternalRefresh() override;
  void SetFilterText(const String& Value) override;
  bool FindRecord(bool Restart, bool GoForward) override;
  virtual void BeforeFilterChange() {}
  String ClassName() const override { return "TmySQLDataSet"; }

  // Blob contents read into record buffers are kept there when on.
  bool FCacheBlobs = true;
  TNativeDataSet* FStmtHandle = nullptr;

private:
  friend class TmySQLBlobStream;
  friend class TmySQLDatabase;
  // The buffer whose values the fields show in the current state.
  char* GetActiveRecBuf();
  char* BlockBuffer(int Index) { return FBlockReadBuf.data() + size_t(Index) * FRecordSize; }
  String* BlobCacheSlot(char* Buffer, const TField* Field) const;
  String GetBlobData(char* Buffer, const TField* Field) const;
  void SetBlobData(char* Buffer, const TField* Field, const String& Value);
  void ClearBlobCache(char* Buffer);
  void AddFieldDesc(const TFieldDesc& Desc, int& FieldNo, const std::vector<bool>& Required);
  void FreeBlockBuffer();
  void StepBackForBlock();

  TmySQLDatabase* FDatabase = nullptr;
  TNativeDataSet* FHandle = nullptr;
  TRecordProps FRecProps;
  std::array<uint16_t, MaxKeyFields> FKeyFields{};
  int FIndexFieldCount = 0;
  bool FExpIndex = false;
  bool FCaseInsIndex = false;
  uint16_t FKeySize = 0;
  uint8_t FRecNoStatus = 2;
  uint32_t FRecordSize = 0;
  uint32_t FBookmarkOfs = 0, FRecInfoOfs = 0, FBlobCacheOfs = 0, FRecBufSize = 0;
  int FBlockBufCapacity = 0, FBlockBufIndex = 0, FBlockBufCount = 0, FBlockReadCount = 0;
  std::vector<char> FBlockReadBuf;
  // The row as it was read when Edit began: what an UPDATE finds it by.
  std::vector<char> FEditCopy;
  void ChangeFilter(const String& Text, TFilterOptions Options);
  void ForgetStaleFilters();
  void ReplaceFilter(TmySQLFilter*& Handle, TmySQLFilter* Value);
  TmySQLFilter* NewFilter(int Priority, TFilterExpression Expression, TFilterCallback Callback);
  TmySQLFilter* NewExprFilter(const String& Text, TFilterOptions Options);
  TmySQLFilter* NewFuncFilter();
  void ActivateFilters();
  void DeactivateFilters();
  bool LocateByKeys(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);
  // The filter handles belong to FFilterCursor; a new cursor has none.
  TmySQLFilter* FExprFilter = nullptr;
  TmySQLFilter* FFuncFilter = nullptr;
  TNativeDataSet* FFilterCursor = nullptr;
  // The row OnFilterRecord looks at, in the filter state.
  char* FFilterBuffer = nullptr;
  bool FCachedUpdates = false;
  TmySQLSQLUpdateObject* FUpdateObject = nullptr;
  // The row before a change, while cached updates are on.
  std::vector<char> FOldRecord;
  uint16_t FUseFlags = 0;
  TUpdateMode FUpdateMode = upWhereAll;
};

class TmySQLQueryDataLink;

// A SQL statement on a database: opened for its rows or executed.
class TmySQLQuery : public TmySQLDataSet {
public:
  explicit TmySQLQuery(TComponent* AOwner);
  ~TmySQLQuery() override;

  TStrings& GetSQL() { return *FSQL; }
  void SetSQL(const TStrings& Value);
  TParams& GetParams() { return *FParams; }
  // Takes the values of same-named parameters.
  void SetParams(const TParams& Value);
  bool GetPrepared() const { return FPrepared; }
  void SetPrepared(bool Value) { SetPreparedState(Value); }
  void SetPreparedState(bool Prepare);
  void DropPreparedStatement();
  // The text that is prepared: the SQL with its parameter markers parsed.
  const String& GetText() const { return FText; }
  // Runs the statement without asking for a result set.
  void ExecuteSQL();
  TDataSource* GetDataSource() override;
  void SetDataSource(TDataSource* Value);
  void GetDetailLinkFields(std::vector<TField*>& MasterFields, std::vector<TField*>& DetailFields) override;
  void SetUpdateMode(TUpdateMode Value) override;
  bool IsSequenced() override;

  // Provider support.
  void PSExecute() override { ExecuteSQL(); }
  TParams* PSGetParams() override { return FParams.get(); }
  void PSSetParams(TParams* AParams) override;
  void PSSetCommandText(const String& CommandText) override;
  String PSGetTableName() override;

  TKestrelAbout* About = nullptr;
  bool ParamCheck = true;
  bool RequestLive = false;
  // Stored only: every result is read whole.
  bool UniDirectional = false;

protected:
  TNativeDataSet* CreateCursorHandle() override;
  void CloseForDisconnect() override;
  bool SetUseFlag(int Flag, bool Value) override;
  virtual void PrepareStatement(const String& Text);
  virtual void FreeStatement();
  String ClassName() const override { return "TmySQLQuery"; }

private:
  friend class TmySQLQueryDataLink;
  String SQLText() const;
  void SQLChanged();
  TNativeDataSet* ExecuteOrOpen(bool WantCursor);
  TNativeDataSet* ExecuteStatement(bool WantCursor);
  void SetParamsFromCursor();
  void RefreshParams();

  std::unique_ptr<TStringList> FSQL;
  bool FPrepared = false;
  std::unique_ptr<TParams> FParams;
  String FText;
  std::unique_ptr<TmySQLQueryDataLink> FDataLink;
  bool FExecSQL = false;
};

// The stream of one blob field of one record buffer.
class TmySQLBlobStream : public TStream {
public:
  TmySQLBlobStream(TBlobField* Field, TBlobStreamMode Mode);
  ~TmySQLBlobStream() override;
  TmySQLBlobStream(const TmySQLBlobStream&) = delete;
  TmySQLBlobStream& operator=(const TmySQLBlobStream&) = delete;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;

private:
  int64_t GetBlobSize();
  void Truncate();

  TBlobField* FField;
  TmySQLDataSet* FDataSet;
  char* FBuffer = nullptr;
  TBlobStreamMode FMode;
  int FFieldNo;
  bool FOpened = false;
  bool FModified = false;
  int64_t FPosition = 0;
  String FBlobData;
  bool FCached = false;
  int64_t FCacheSize = 0;
};
