// The native layer between the protocol client and the data-set components:
// a connection, cursors over stored results with their record buffers and
// field, index and filter descriptors, and the handle-based engine that
// turns the layer's exceptions into result codes.
#pragma once

#include "Classes.h"
#include "Collections.h"
#include "Components.h"
#include "DBFilter.h"
#include "SysUtils.h"
#include "mySQLTypes.h"
#include "uMysqlClient.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class TNativeConnect;
class TNativeDataSet;
class TParams;

// ---- Result codes ----------------------------------------------------------

enum : uint16_t {
  DBIERR_NONE = 0,
  DBIERR_NATIVE = 1001,
  DBIERR_BOF = 8705,
  DBIERR_EOF = 8706,
  DBIERR_NOCURRREC = 8709,
  DBIERR_RECNOTFOUND = 8710,
  DBIERR_ENDOFBLOB = 8711,
  DBIERR_INVALIDPARAM = 9986,
  DBIERR_INVALIDHNDL = 9990,
  DBIERR_NOSUCHINDEX = 9997,
  DBIERR_INVALIDBLOBOFFSET = 9998,
  DBIERR_INVALIDRECSTRUCT = 10003,
  DBIERR_NOSUCHTABLE = 10024,
  DBIERR_NOSUCHFILTER = 10050,
  DBIERR_NOTSUFFTABLERIGHTS = 10498,
  DBIERR_NOTABLOB = 10753,
  DBIERR_TABLEREADONLY = 10763,
  DBIERR_NOASSOCINDEX = 10764,
  DBIERR_QRYEMPTY = 11886,
  DBIERR_NOTSUPPORTED = 12289,
  DBIERR_UPDATEABORT = 13062,
};

// The fixed text of a result code; "Unknown error" for codes not in the table.
String DBIErrorText(int code);

// ---- Errors ----------------------------------------------------------------

// Every failure of the native layer. Errors of the client or the server carry
// its number and text; the others only a result code.
class EmySQLException : public EAbort {
public:
  static EmySQLException CreateCode(uint16_t code, const String& text = String());
  static EmySQLException CreateFromConnection(const TNativeConnect* connection);
  static EmySQLException CreateWithText(const TNativeConnect* connection, const String& text);

  const TNativeConnect* Connection = nullptr;
  uint16_t NativeError = 0;
  int16_t DBICode = 0;
  bool HasDBICode = false;
  String ErrorText;

private:
  EmySQLException() : EAbort(String()) {}
};

[[noreturn]] void RaiseNativeError(const TNativeConnect* connection, const String& text);
[[noreturn]] void RaiseCode(uint16_t code, const String& text = String());

// ---- Connection options ----------------------------------------------------

enum TConnectOption {
  coLongPassword,
  coFoundRows,
  coLongFlag,
  coConnectDatabase,
  coNoSchema,
  coCompress,
  coODBC,
  coLocalFiles,
  coIgnoreSpaces,
  coInteractive,
  coSSL,
};
// A set of TConnectOption, bit n for option n.
using TConnectOptions = uint16_t;
inline constexpr TConnectOptions ConnectOptionBit(TConnectOption option) {
  return TConnectOptions(1u << option);
}
// The client flags the options ask for. SSL cannot be honoured and is
// refused; local files are never offered, so that option is dropped.
uint32_t ConnectOptionsToClientFlags(TConnectOptions options);

// ---- Connection ------------------------------------------------------------

// What GetTransactionInfo reports.
struct TTransInfo {
  int32_t State = 0; // 0 none, 1 active
  int32_t IsolationLevel = 0;
  uint16_t Nesting = 0;
};

// The server's character set for a system code page on servers of 4.1 and
// later: the name for SET NAMES and the number of the matching single-byte
// set; an empty name where there is none.
struct TSessionCharset {
  const char* Name;
  int Number;
};
TSessionCharset SessionCharsetOfCodePage(unsigned codePage);
// The statements that prepare a session on a server of 4.1 or later.
std::vector<String> SessionInitStatements(unsigned codePage);

class TNativeConnect : public TObject {
public:
  explicit TNativeConnect(TConnectOptions options);
  ~TNativeConnect() override;
  TNativeConnect(const TNativeConnect&) = delete;
  TNativeConnect& operator=(const TNativeConnect&) = delete;

  // Takes UID, PWD, DatabaseName, Port, Host and TIMEOUT from name=value
  // lines. A Port or TIMEOUT that is not a number in range raises
  // EConvertError naming the parameter.
  void ReadParams(const TStrings& params);
  void Connect();
  void Disconnect();
  int ErrorCode() const;
  String ErrorText() const;
  void CheckResult() const;
  TNativeDataSet* NewStatement();
  void StartTransaction(int isolation, TNativeConnect*& handle);
  void EndTransaction(int mode);
  void GetTransactionInfo(TTransInfo& info) const;
  void ExecuteDirect(const String& sql, int& affectedRows);
  int GetCharacterSet();

  // Runs a statement and keeps its result; nullptr when it has none. `ran`
  // tells whether the server executed it.
  std::unique_ptr<TMysqlResult> Query(const String& sql, bool store, bool& ran);

  TMysqlClient* GetClient() const { return FClient.get(); }
  bool GetConnected() const { return FConnected; }
  int GetTransState() const { return FTransState; }
  const String& GetUser() const { return FUser; }
  const String& GetPassword() const { return FPassword; }
  const String& GetDatabase() const { return FDatabase; }
  const String& GetHost() const { return FHost; }
  int GetPort() const { return FPort; }
  int GetTimeout() const { return FTimeout; }

private:
  void SetUpSession();
  void RunTransactionStatement(const char* sql);

  std::unique_ptr<TMysqlClient> FClient;
  TConnectOptions FOptions;
  int FTransState = 0;
  int FIsolationLevel = 0;
  TContainer FObjects;
  bool FConnected = false;
  String FUser, FPassword, FDatabase;
  int FPort = 0;
  String FHost;
  int FTimeout = 30;
  // The character set the session was set to; -1 when it was not set up.
  int FSessionCharset = -1;
};

// A name as one identifier in back-quotes, inner back-quotes doubled; bare
// for servers before back-quotes (version number 32306 and below).
String QuoteIdentifier(const String& name);

// ---- Field, index and filter descriptors -----------------------------------

// Logical field types and subtypes.
enum : uint16_t {
  fldUNKNOWN = 0,
  fldZSTRING = 1,
  fldDATE = 2,
  fldBLOB = 3,
  fldBOOL = 4,
  fldINT16 = 5,
  fldINT32 = 6,
  fldFLOAT = 7,
  fldTIME = 10,
  fldTIMESTAMP = 11,
  fldUINT16 = 12,
  fldUINT32 = 13,
  fldINT64 = 18,
  fldstMEMO = 22,
  fldstAUTOINC = 29,
};

// Native types the layer adds to the server's column types.
enum : uint16_t { MYSQL_TYPE_BOOLEAN_ENUM = 247, MYSQL_TYPE_SET_VALUE = 248 };

// The description of one field of a cursor.
struct TFieldDesc {
  uint16_t FieldNumber = 0;
  String Name; // at most 63 characters
  uint16_t FieldType = 0;
  uint16_t SubType = 0;
  int16_t Units1 = 0;
  int16_t Units2 = 0;
  // Positions and sizes inside a record buffer, in bytes.
  uint32_t Offset = 0;
  uint32_t Length = 0;
  uint32_t NullOffset = 0;
  int32_t ValCheckKind = 2;
  int32_t Rights = 0;
  bool Calculated = false;
  uint16_t NativeType = 0;
};

struct TValCheckDesc {
  uint16_t FieldNumber = 0;
  bool Required = false;
  bool HasMinimum = false;
  bool HasMaximum = false;
  bool HasDefault = false;
};

inline constexpr int MaxKeyFields = 16;

struct TIndexDesc {
  String Name; // empty for the primary key; at most 260 characters
  uint16_t IndexNumber = 0;
  bool Primary = false;
  bool Unique = false;
  bool Descending = false;
  bool Maintained = false;
  uint16_t FieldsInKey = 0;
  uint16_t KeyLength = 0;
  std::array<uint16_t, MaxKeyFields> KeyFields{};
  uint32_t BlockSize = 0;
};

// A column as the layer types it: the logical type, subtype, value size and
// native type for a column's field record, value list and longest value.
struct TColumnTyping {
  uint16_t NativeType = 0;
  uint16_t FieldType = 0;
  uint16_t SubType = 0;
  uint32_t Length = 0;
  int32_t NativeSize = 0;
  bool TextBlob = false;
};
TColumnTyping MySQLTypeToLogical(const TMysqlField& field, const String& valueList);

class TmySQLFields;

class TmySQLField : public TCollectionItem {
public:
  explicit TmySQLField(TCollection* collection) : TCollectionItem(collection) {}

  uint16_t GetFieldNumber() const { return FDesc.FieldNumber; }
  const String& GetFieldName() const { return FDesc.Name; }
  void SetFieldName(const String& name) { FDesc.Name = name.substr(0, 63); }
  uint16_t GetFieldType() const { return FDesc.FieldType; }
  uint16_t GetFieldSubType() const { return FDesc.SubType; }
  int16_t GetFieldUnits1() const { return FDesc.Units1; }
  int16_t GetFieldUnits2() const { return FDesc.Units2; }
  uint32_t GetFieldLength() const { return FDesc.Length; }
  uint16_t GetNativeType() const { return FDesc.NativeType; }
  int32_t GetNativeSize() const { return FNativeSize; }
  const String& GetEnum_Value() const { return FEnumValue; }
  bool GetCalculated() const { return FDesc.Calculated; }

  const TFieldDesc& GetDesc() const { return FDesc; }
  const TValCheckDesc& GetValCheck() const { return FValCheck; }
  void Setup(const TFieldDesc& desc, const TValCheckDesc& check, const String& enumValue, int32_t nativeSize);
  void SetNullOffset(uint32_t offset) { FDesc.NullOffset = offset; }

  // The field's place in a record buffer.
  void BindBuffer(char* buffer);
  char* Slot() const; // the presence byte
  char* ValueArea() const { return Slot() + 1; }
  bool GetIsNull() const;
  void SetIsNull(bool null);
  void SetChanged(bool changed);
  bool GetChanged() const;
  bool HasStatus() const { return FStatus != nullptr; }

  // Into and out of the caller's representation. `blank` is true when
  // there is no value.
  void GetValue(void* dest, bool& blank) const;
  void SetValue(const void* source);
  // The value of a filled slot as a variant: Null for NULL, unassigned for
  // blobs.
  Variant GetVariant() const;

  // The blob stream held by the slot, or nullptr.
  TMemoryStream* GetBlobStream() const;
  void SetBlobStream(TMemoryStream* stream);

private:
  TFieldDesc FDesc;
  TValCheckDesc FValCheck;
  String FEnumValue;
  int32_t FNativeSize = 0;
  char* FBuffer = nullptr;
  char* FStatus = nullptr;
};

class TmySQLFields : public TTypedCollection<TmySQLField> {
public:
  explicit TmySQLFields(TNativeDataSet* cursor) : FCursor(cursor) {}
  // Field n, built from the result on first use; 10003 for a number that
  // is not a column.
  TmySQLField* Field(int n);
  int Count() const { return GetCount(); }

private:
  TNativeDataSet* FCursor;
};

class TmySQLIndex : public TCollectionItem {
public:
  explicit TmySQLIndex(TCollection* collection) : TCollectionItem(collection) {}
  TIndexDesc Desc;
  void SetIndexName(const String& name) { Desc.Name = name.substr(0, 260); }
};

class TmySQLIndexes : public TTypedCollection<TmySQLIndex> {
public:
  explicit TmySQLIndexes(TNativeDataSet* cursor) : FCursor(cursor) {}
  // Index n (1-based), or nullptr.
  TmySQLIndex* Index(int n) const;
  TmySQLIndex* FindByName(const String& name) const;
  int FieldNumberByName(const String& name) const;
  void AddIndexColumn(const String& keyName, const String& columnName, bool primary, bool unique,
                      bool descending);

private:
  TNativeDataSet* FCursor;
};

// A filter's own test of a record: non-zero passes.
using TFilterCallback =
    std::function<int(intptr_t clientData, const char* recordBuffer, int32_t recordNumber)>;

class TmySQLFilter : public TObject {
public:
  TmySQLFilter(TNativeDataSet* cursor, intptr_t clientData, TFilterExpression expression,
               TFilterCallback callback);
  bool GetActive() const { return FActive; }
  void SetActive(bool active) { FActive = active; }
  // False for an inactive filter, and when evaluating fails.
  bool Evaluate(char* recordBuffer);

private:
  Variant EvaluateNode(const TFilterNode& node);
  Variant FieldValue(const TFilterNode& node);
  Variant ConstantValue(const TFilterNode& node);

  TNativeDataSet* FCursor;
  TFilterExpression FExpression;
  bool FActive = false;
  char* FRecordBuffer = nullptr;
  TFilterCallback FCallback;
  intptr_t FClientData;
};

// ---- Cursor ----------------------------------------------------------------

// What the record reads report about the row.
struct TRecordProps {
  int32_t SeqNumber = 0;
  int32_t PhysicalRecordNumber = 0;
};

struct TCursorProps {
  uint16_t FieldCount = 0;
  uint32_t RecordSize = 0;
  uint32_t RecordBufferSize = 0;
  uint16_t KeySize = 0;
  uint16_t IndexCount = 0;
  uint16_t ValCheckCount = 0;
  uint16_t BookmarkSize = 8;
  bool BookmarkStable = false;
  int32_t OpenMode = 0; // 0 read/write, 1 read-only
  int16_t SeqNumbers = 1;
  bool OneDirection = true;
  uint16_t Rights = 255;
  uint16_t FilterCount = 0;
};

inline constexpr int BookmarkSize = 8;

// Cursor property identifiers.
enum : uint32_t {
  curMAXPROPS = 0,
  curXLTMODE = 5,
  curMAXFIELDID = 15,
  curAFFECTEDROWS = 20,
  curAUTOREFETCH = 23,
  curUPDATABLE = 33,
};

// Position states.
enum TPositionState { psNone = 0, psOnRow = 1, psBegin = 2, psEnd = 3, psChanged = 4 };

class TNativeDataSet : public TBaseObject {
public:
  TNativeDataSet(TNativeConnect* connection, int windowCount, int windowOffset, const String& indexName,
                 const String& tableName, TContainer* owner);
  ~TNativeDataSet() override;

  void SetStatementText(const String& text);
  const String& GetStatementText() const { return FStatementText; }
  void Open();
  void ExecuteStatement();
  void Reexecute();
  void ExecuteNoCursor();
  void CloseResult();
  // Replaces every ":name" with the literal of its parameter.
  void SetParams(const TParams& params, const String& text);

  // Editing: each writes one row back to the server as one statement, runs
  // the cursor's statement again and finds the written row.
  void InsertRecord(int lock, char* buffer);
  void AppendRecord(char* buffer) { InsertRecord(0, buffer); }
  void ModifyRecord(char* oldBuffer, char* newBuffer, bool release);
  void DeleteRecord(char* buffer);
  // Positions on the first row whose first `count` key fields of the index
  // in force equal the buffer's; 8710 when there is none.
  void GetRecordForKey(bool packed, int count, int partialLength, char* buffer);
  // The statements; empty when there is nothing to send.
  String BuildInsert(const String& table, char* buffer);
  String BuildUpdate(const String& table, char* oldBuffer, char* newBuffer);
  String BuildDelete(const String& table, char* buffer);
  String BuildWhere(char* buffer);
  bool Relocate(int keyIndex, char* buffer, uint64_t insertId);

  // Positioning.
  virtual void FirstRow();
  void LastRow();
  void NextRow();
  void PriorRow();
  void SeekRow(int64_t row);
  virtual void GetNextRecord(int lock, char* buffer, TRecordProps* props);
  void GetPriorRecord(int lock, char* buffer, TRecordProps* props);
  // As GetNextRecord and GetPriorRecord, answering with the code of a move
  // off either end instead of raising it.
  uint16_t NextRecord(int lock, char* buffer, TRecordProps* props);
  uint16_t PriorRecord(int lock, char* buffer, TRecordProps* props);
  void GetRecord(int lock, char* buffer, TRecordProps* props);
  virtual void SetToBegin();
  void SetToEnd();
  void SetToRecordNo(int recordNumber);
  void GetBookmark(char* bookmark) const;
  virtual void SetToBookmark(const char* bookmark);
  void CompareBookmarks(const char* first, const char* second, int& result) const;
  void SetToCursor(TNativeDataSet* other);
  virtual void GetRecordCount(int& count);
  void ReadBlock(int& count, char* block);
  void ForceReread();
  void ForceRecordReread(char* buffer);
  void ReleaseLock() { FLocked = false; }
  void GetCursorProps(TCursorProps& props);
  void GetProperty(uint32_t id, void* value, int valueSize, int& size);
  void SetProperty(uint32_t id, intptr_t value);

  // Record buffers.
  virtual uint32_t GetRecordSize();
  virtual uint32_t GetBufferSize();
  void InitRecord(char* buffer);
  void GetField(int fieldNumber, char* buffer, void* dest, bool& blank);
  void PutField(int fieldNumber, char* buffer, const void* source);
  void OpenBlob(char* buffer, int fieldNumber, int mode);
  void GetBlobSize(char* buffer, int fieldNumber, uint32_t& size);
  void GetBlob(char* buffer, int fieldNumber, uint32_t offset, int32_t count, void* dest, uint32_t& read);
  void PutBlob(char* buffer, int fieldNumber, uint32_t offset, int32_t count, const void* source);
  void TruncateBlob(char* buffer, int fieldNumber, uint32_t length);
  void FreeBlob(char* buffer, int fieldNumber);
  void FillRecordBuffer();

  // Descriptors.
  void DescribeColumn(int n, TFieldDesc& desc, String& valueList, int32_t& nativeSize, uint16_t& nativeType,
                      TValCheckDesc& check);
  void BuildFields();
  void GetFieldDescs(std::vector<TFieldDesc>& descs);
  void GetVchkDesc(int fieldNumber, TValCheckDesc& check);
  int LoadIndexes();
  void GetIndexDesc(int n, TIndexDesc& desc);
  // As GetIndexDesc, answering with the code of a missing index instead of
  // raising it.
  uint16_t FindIndexDesc(int n, TIndexDesc& desc);
  int FindIndexByName(const String& name);
  void SwitchToIndex(const String* name);
  void SetOrderIndex(int n);
  void ClearIndexes();
  const TIndexDesc& GetCurrentIndexDesc() const { return FCurrentIndex; }
  const std::vector<String>& GetOrderByLines() const { return FOrderByLines; }
  // The text the cursor runs: its statement, or its composed lines.
  String ComposedStatement() const;

  // Filters.
  TmySQLFilter* AddFilter(intptr_t clientData, TFilterExpression expression, TFilterCallback callback);
  void DropFilter(TmySQLFilter* filter);
  void ActivateFilter(TmySQLFilter* filter);
  void DeactivateFilter(TmySQLFilter* filter);
  bool PassesFilters(char* buffer);

  // The stored result.
  uint64_t RowCount() const;
  int64_t CurrentRowIndex() const;
  int ColumnCount() const;
  int ColumnType(int column) const;
  const TMysqlField* ColumnDescriptor(int column) const;
  const char* ColumnValue(int column) const;
  bool ColumnIsNull(int column) const;
  String ColumnText(int column) const;

  TNativeConnect* GetConnection() const { return FConnection; }
  TMysqlResult* GetResult() const { return FResult.get(); }
  bool GetOpen() const { return FOpen; }
  bool GetFromStatement() const { return FFromStatement; }
  TPositionState GetPositionState() const { return FPositionState; }
  uint32_t GetAffectedRows() const { return FAffectedRows; }
  uint64_t GetLastInsertId() const { return FLastInsertId; }
  int GetReadOnly() const { return FReadOnly; }
  bool GetKeepPositionAfterPost() const { return FKeepPosition; }
  TmySQLFields& GetFields() { return FFields; }
  TmySQLIndexes& GetIndexes() { return FIndexes; }
  int GetPrimaryIndex() const { return FPrimaryIndex; }
  int GetOrderIndex() const { return FOrderIndex; }
  int GetFilterCount() const { return FFilters.Count(); }

private:
  template <typename Move> uint16_t MoveRow(Move move, bool traced);
  uint16_t MoveFirst();
  uint16_t MoveLast();
  uint16_t MoveNext();
  uint16_t MovePrior();
  uint16_t SkipFiltered(char* buffer);
  uint16_t MoveInDirection();
  uint16_t StepRecord(int direction, char* buffer);
  uint16_t CompleteRecordStep(uint16_t code, int lock, char* buffer, TRecordProps* props);
  void StoreBookmark();
  uint32_t DataAreaLength();
  void CopyIndexDesc(int n);
  TmySQLField* BoundField(int fieldNumber, char* buffer);
  TmySQLField* BlobField(int fieldNumber, char* buffer);
  void CheckBuffer(const void* buffer) const;
  void ForgetDescriptors();
  // The fields that identify one row for an edit; raises when the table
  // has no such key among the result's columns.
  std::vector<int> EditKeyFields();
  String EditTableText() const;
  void RunEdit(const String& sql, bool oneRow);
  void RereadAfterWrite(char* buffer, uint64_t insertId, int fallbackRecordNo);

  int64_t FCurrentRecordIndex = 0;
  int FReadOnly = 0;
  std::unique_ptr<TMysqlResult> FResult;
  TContainer FFilters;
  bool FFiltersActive = false;
  bool FKeepPosition = false;
  TmySQLFields FFields;
  TmySQLIndexes FIndexes;
  int FOrderIndex = 0;
  String FIndexName;
  int FPrimaryIndex = 0;
  bool FIndexSearch = false;
  TIndexDesc FCurrentIndex;
  int64_t FDataAreaLength = -1;
  TNativeConnect* FConnection;
  bool FOpen = false;
  uint32_t FAffectedRows = 0;
  uint64_t FLastInsertId = 0;
  int64_t FBookmarkOffset = -1;
  TPositionState FPositionState = psNone;
  int FDirection = 1;
  char* FCurrentBuffer = nullptr;
  bool FLocked = false;
  bool FRefreshPending = false;
  std::vector<String> FSelectLines, FOrderByLines, FLimitLines;
  String FTableName;
  int FWindowCount, FWindowOffset;
  String FStatementText;
  bool FFromStatement = false;
  // The column types after the layer's rewrites, one per result column.
  std::vector<uint16_t> FColumnTypes;
  // What a new statement text makes out of date.
  enum { daNone, daValues, daStatement } FDescribeAgain = daNone;
};

// ---- Engine ----------------------------------------------------------------

// The character set texts are converted to and from: the server's, set by
// the connection component after every connect (0 before: no conversion).
int GetCurrentServerCharset();
void SetCurrentServerCharset(int charset);

class TmySQLEngine : public TBaseObject {
public:
  TmySQLEngine(TContainer* owner = nullptr, intptr_t ownerValue = 0);

  int32_t GetLastNativeError() const { return FLastNativeError; }
  const String& GetLastErrorText() const { return FLastErrorText; }

  uint16_t OpenDatabase(TConnectOptions options, const TStrings& params, TNativeConnect*& connection);
  uint16_t CloseDatabase(TNativeConnect*& connection);
  uint16_t GetNextRecord(TNativeDataSet* cursor, int lock, char* buffer, TRecordProps* props);
  uint16_t SetToBookmark(TNativeDataSet* cursor, const char* bookmark);
  uint16_t CompareBookmarks(TNativeDataSet* cursor, const char* first, const char* second, int& result);
  uint16_t GetRecord(TNativeDataSet* cursor, int lock, char* buffer, TRecordProps* props);
  uint16_t GetPriorRecord(TNativeDataSet* cursor, int lock, char* buffer, TRecordProps* props);
  uint16_t GetBookmark(TNativeDataSet* cursor, char* bookmark);
  uint16_t GetRecordCount(TNativeDataSet* cursor, int& count);
  uint16_t ForceReread(TNativeDataSet* cursor);
  uint16_t ForceRecordReread(TNativeDataSet* cursor, char* buffer);
  uint16_t GetField(TNativeDataSet* cursor, int fieldNumber, char* buffer, void* dest, bool& blank);
  uint16_t CloseCursor(TNativeDataSet*& cursor);
  uint16_t PutField(TNativeDataSet* cursor, int fieldNumber, char* buffer, const void* source);
  uint16_t OpenBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber, int mode);
  uint16_t GetBlobSize(TNativeDataSet* cursor, char* buffer, int fieldNumber, uint32_t& size);
  uint16_t GetBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber, uint32_t offset, int32_t count,
                   void* dest, uint32_t& read);
  uint16_t PutBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber, uint32_t offset, int32_t count,
                   const void* source);
  uint16_t TruncateBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber, uint32_t length);
  uint16_t FreeBlob(TNativeDataSet* cursor, char* buffer, int fieldNumber);
  uint16_t BeginTransaction(TNativeConnect* connection, int isolation, TNativeConnect*& transaction);
  uint16_t EndTransaction(TNativeConnect* connection, TNativeConnect* transaction, int mode);
  uint16_t GetTransactionInfo(TNativeConnect* connection, TNativeConnect* transaction, TTransInfo& info);
  uint16_t GetProperty(TNativeDataSet* object, uint32_t id, void* value, int valueSize, int& size);
  uint16_t SetProperty(TNativeDataSet* object, uint32_t id, intptr_t value);
  uint16_t GetVchkDesc(TNativeDataSet* cursor, int fieldNumber, TValCheckDesc& check);
  uint16_t GetCursorProps(TNativeDataSet* cursor, TCursorProps& props);
  uint16_t GetFieldDescs(TNativeDataSet* cursor, std::vector<TFieldDesc>& descs);
  uint16_t SetToBegin(TNativeDataSet* cursor);
  uint16_t SetToEnd(TNativeDataSet* cursor);
  uint16_t ReleaseRecordLock(TNativeDataSet* cursor, bool all);
  uint16_t InitRecord(TNativeDataSet* cursor, char* buffer);
  uint16_t SetToRecordNo(TNativeDataSet* cursor, int recordNumber);
  uint16_t AddFilter(TNativeDataSet* cursor, intptr_t clientData, int priority, bool canAbort,
                     TFilterExpression expression, TFilterCallback callback, TmySQLFilter*& filter);
  uint16_t DropFilter(TNativeDataSet* cursor, TmySQLFilter* filter);
  uint16_t ActivateFilter(TNativeDataSet* cursor, TmySQLFilter* filter);
  uint16_t DeactivateFilter(TNativeDataSet* cursor, TmySQLFilter* filter);
  uint16_t AnsiToNative(char* dest, const char* source, int length, bool& dataLoss);
  uint16_t NativeToAnsi(char* dest, const char* source, int length, bool& dataLoss);
  uint16_t ExecuteDirect(TNativeConnect* connection, int language, const String& sql, bool cursorRequest,
                         int& affectedRows);
  uint16_t AllocStatement(TNativeConnect* connection, TNativeDataSet*& statement);
  uint16_t PrepareStatement(TNativeDataSet* statement, const String& sql);
  // Without `cursor` the statement runs without keeping a result.
  uint16_t ExecuteStatement(TNativeDataSet* statement, TNativeDataSet** cursor);
  uint16_t FreeStatement(TNativeDataSet*& statement);
  uint16_t SetParams(TNativeDataSet* statement, const TParams& params, const String& sql);
  uint16_t InsertRecord(TNativeDataSet* cursor, int lock, char* buffer);
  uint16_t AppendRecord(TNativeDataSet* cursor, char* buffer);
  uint16_t ModifyRecord(TNativeDataSet* cursor, char* oldBuffer, char* newBuffer, bool release);
  uint16_t DeleteRecord(TNativeDataSet* cursor, char* buffer);
  uint16_t GetRecordForKey(TNativeDataSet* cursor, bool packed, int count, int partialLength, char* buffer);
  uint16_t GetCharacterSet(TNativeConnect* connection, int& charset);
  uint16_t GetIndexDesc(TNativeDataSet* cursor, int n, TIndexDesc& desc);
  uint16_t SetToCursor(TNativeDataSet* dest, TNativeDataSet* source);
  uint16_t ReadBlock(TNativeDataSet* cursor, int& count, char* block);

  // The code of the exception being handled; other exceptions go on.
  uint16_t TranslateError();

private:
  template <typename Operation> uint16_t Guard(Operation operation);
  template <typename Handle, typename Operation> uint16_t Call(Handle* handle, Operation operation);
  template <typename Handle, typename Operation>
  uint16_t CallWithCondition(Handle* handle, Operation operation);

  int32_t FLastNativeError = 0;
  String FLastErrorText;
};
