// The data-set framework of the class library: connections, data sets with
// their ring of record buffers, fields, field definitions, parameters, data
// sources and data links.
#pragma once

#include "Classes.h"
#include "Collections.h"
#include "Components.h"
#include "DateUtils.h"
#include "SysUtils.h"
#include "Variants.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TDataSource;
class TDataLink;
class TField;
class TFields;
class TFieldDefs;
class TParams;

// ---------------------------------------------------------------------------
// Errors

class EDatabaseError : public Exception {
public:
  using Exception::Exception;
};

// Raises EDatabaseError; with a named component the message reads "Name: Message".
[[noreturn]] void DatabaseError(const String& Message, const TComponent* Component = nullptr);

// The framework's messages.
namespace dbconsts {
inline constexpr const char* SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* SDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* SDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* SDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* SNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* SFieldNotFound = "Field '%s' not found";
inline constexpr const char* SFieldRequired = "Field '%s' must have a value";
inline constexpr const char* SFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char* SFieldAccessError = "Cannot access field '%s' as type %s";
inline constexpr const char* SFieldRangeError =
    "%s is not a valid value for field '%s'. The allowed range is %s to %s";
inline constexpr const char* SNotIndexField = "Field '%s' is not indexed and cannot be modified";
inline constexpr const char* SDataSetMissing = "Field '%s' has no dataset";
inline constexpr const char* SDuplicateFieldName = "Duplicate field name '%s'";
inline constexpr const char* SFieldIndexError = "Field index out of range";
inline constexpr const char* SInvalidIntegerValue = "'%s' is not a valid integer value for field '%s'";
inline constexpr const char* SInvalidFloatValue = "'%s' is not a valid floating point value for field '%s'";
inline constexpr const char* SInvalidBoolValue = "'%s' is not a valid boolean value for field '%s'";
inline constexpr const char* SRecordNotFound = "Record not found";
inline constexpr const char* SDatabaseOpen = "Cannot perform this operation on an open database";
inline constexpr const char* SDatabaseClosed = "Cannot perform this operation on a closed database";
inline constexpr const char* SLoginError = "Cannot connect to database '%s'";
inline constexpr const char* SCircularDataLink = "Circular datalinks are not allowed";
inline constexpr const char* SEmptySQLStatement = "No SQL statement available";
inline constexpr const char* SParameterNotFound = "Parameter '%s' not found";
inline constexpr const char* SFilterInFilter = "Cannot access field '%s' in a filter";
inline constexpr const char* SInvalidBookmark = "Invalid bookmark";
} // namespace dbconsts

// ---------------------------------------------------------------------------
// Enumerations, in the class library's order

enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid,
  ftTimeStamp,
  ftFMTBcd
};

// "String", "Integer", … as the class library names the types in messages.
String FieldTypeName(TFieldType Type);

enum TDataSetState {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
  dsCurValue,
  dsBlockRead,
  dsInternalCalc,
  dsOpening
};

enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deFocusControl,
  deParentScroll,
  deConnectChange,
  deReconcileError,
  deDisabledStateChange
};

enum TGetMode { gmCurrent, gmNext, gmPrior };
enum TGetResult { grOK, grBOF, grEOF, grError };
enum TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };
enum TUpdateStatus { usUnmodified, usModified, usInserted, usDeleted };
enum TDataAction { daFail, daAbort, daRetry };
enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };
enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
enum TUpdateMode { upWhereAll, upWhereChanged, upWhereKeyOnly };
enum TParamType { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };

// Sets as bit masks.
using TResyncMode = unsigned;
inline constexpr TResyncMode rmExact = 1, rmCenter = 2;
using TLocateOptions = unsigned;
inline constexpr TLocateOptions loCaseInsensitive = 1, loPartialKey = 2;
using TFilterOptions = unsigned;
inline constexpr TFilterOptions foCaseInsensitive = 1, foNoPartialCompare = 2;
using TFieldAttributes = unsigned;
inline constexpr TFieldAttributes faHiddenCol = 1, faReadonly = 2, faRequired = 4, faLink = 8, faUnNamed = 16,
                                  faFixed = 32;

// A record buffer is raw bytes laid out by the data set that allocates it.
using TRecordBuffer = char*;
// A bookmark is the data set's bookmark bytes (empty: none).
using TBookmark = String;

// Field data as GetFieldData delivers it and SetFieldData expects it:
// ftString/ftFixedChar zero-terminated text of Size + 1 bytes; ftSmallint
// int16; ftWord uint16; ftInteger/ftAutoInc int32; ftLargeint int64;
// ftFloat/ftCurrency double; ftBCD currency (int64 scaled by 10 000);
// ftBoolean int16 (0 or 1); ftDate int32 day number (1 = 0001-01-01);
// ftTime int32 milliseconds of the day; ftDateTime double milliseconds
// (day number × 86 400 000 + milliseconds of the day); ftBytes Size bytes;
// ftVarBytes uint16 length then Size bytes. Blobs go through blob streams.

// ---------------------------------------------------------------------------
// Events

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;
using TDataSetErrorEvent = std::function<void(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action)>;
using TFilterRecordEvent = std::function<void(TDataSet* DataSet, bool& Accept)>;
using TFieldNotifyEvent = std::function<void(TField* Sender)>;
using TFieldGetTextEvent = std::function<void(TField* Sender, String& Text, bool DisplayText)>;
using TFieldSetTextEvent = std::function<void(TField* Sender, const String& Text)>;
using TDataChangeEvent = std::function<void(TObject* Sender, TField* Field)>;

// The login dialog, supplied by the windowed part of the library. It returns
// false when the user cancels; unset, every login is cancelled.
using TLoginDialogProc =
    std::function<bool(const String& DatabaseName, String& UserName, String& Password, bool NameReadOnly)>;
extern TLoginDialogProc LoginDialogExProc;

// ---------------------------------------------------------------------------
// Fields

class TField : public TComponent {
public:
  explicit TField(TComponent* AOwner);
  ~TField() override;

  TDataSet* GetDataSet() const { return FDataSet; }
  // Leaves the old data set's field list and joins the new one's.
  void SetDataSet(TDataSet* Value);
  const String& GetFieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  // 1-based position in the data set's record; -1 for calculated and lookup
  // fields, 0 while the field is not bound.
  int GetFieldNo() const { return FFieldNo; }
  TFieldType GetDataType() const { return FDataType; }
  int GetSize() const { return FSize; }
  void SetSize(int Value);
  // Bytes of the field's value in a record buffer.
  virtual int GetDataSize() const { return 0; }
  int GetIndex() const;
  // Offset of a calculated field's slot in the calculated-field area.
  int GetOffset() const { return FOffset; }
  String GetDisplayName() const { return DisplayLabel.empty() ? FFieldName : DisplayLabel; }
  bool GetCalculated() const { return FieldKind == fkCalculated; }
  bool GetLookup() const { return FieldKind == fkLookup; }
  virtual bool IsBlob() const { return false; }
  bool GetCanModify() const;
  bool GetTransliterate() const { return FTransliterate; }
  void SetTransliterate(bool Value) { FTransliterate = Value; }

  bool IsNull() const { return GetIsNull(); }
  virtual void Clear() { SetData(nullptr); }
  Variant GetValue() const { return GetAsVariant(); }
  void SetValue(const Variant& Value);
  // The value as the data set keeps it in the old, new or current record
  // (a data set without cached updates may refuse).
  Variant GetOldValue() const;
  Variant GetNewValue() const;
  void SetNewValue(const Variant& Value);
  Variant GetCurValue() const;
  virtual String GetAsString() const;
  virtual void SetAsString(const String& Value);
  virtual int GetAsInteger() const;
  virtual void SetAsInteger(int Value);
  virtual int64_t GetAsLargeInt() const;
  virtual void SetAsLargeInt(int64_t Value);
  virtual double GetAsFloat() const;
  virtual void SetAsFloat(double Value);
  virtual bool GetAsBoolean() const;
  virtual void SetAsBoolean(bool Value);
  virtual TDateTime GetAsDateTime() const;
  virtual void SetAsDateTime(TDateTime Value);
  // Text for showing (DisplayText) or editing; OnGetText may replace it.
  String GetText() const;
  String GetDisplayText() const;
  void SetText(const String& Value);

  // The field's value in the data set's current record: false when it has none.
  bool GetData(void* Buffer) const;
  // Writes the value (none: Null) into the current record through the data set.
  void SetData(const void* Buffer);
  // Runs OnValidate; while it runs, the field reads the value being written.
  virtual void Validate(const void* Buffer);

  TFieldKind FieldKind = fkData;
  String DisplayLabel;
  bool Required = false;
  bool ReadOnly = false;
  bool Visible = true;
  TFieldNotifyEvent OnChange;
  TFieldNotifyEvent OnValidate;
  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;

protected:
  friend class TDataSet;
  friend class TFieldDef;
  void SetDataType(TFieldType Value) { FDataType = Value; }
  virtual bool GetIsNull() const;
  virtual Variant GetAsVariant() const;
  virtual void SetVarValue(const Variant& Value);
  virtual void GetTextImpl(String& Text, bool DisplayText) const;
  virtual void SetTextImpl(const String& Value) { SetAsString(Value); }
  [[noreturn]] void AccessError(const char* TypeName) const;
  [[noreturn]] void RangeError(double Value, double Min, double Max) const;
  void CheckInactive() const;
  // Reads the value into Buffer (DataSize bytes); false for Null.
  bool GetDataBuffer(void* Buffer) const { return GetData(Buffer); }
  String ClassName() const override { return "TField"; }

private:
  TDataSet* FDataSet = nullptr;
  String FFieldName;
  int FFieldNo = 0;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  int FOffset = 0;
  bool FTransliterate = false;
  const void* FValueBuffer = nullptr;
  bool FValidating = false;
};

class TStringField : public TField {
public:
  using TField::GetValue;
  explicit TStringField(TComponent* AOwner);
  int GetDataSize() const override { return GetSize() + 1; }
  // The text, passed through the data set's Translate when the field transliterates.
  bool GetValue(String& Value) const;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;
  int GetAsInteger() const override;
  void SetAsInteger(int Value) override;
  int64_t GetAsLargeInt() const override;
  void SetAsLargeInt(int64_t Value) override;
  double GetAsFloat() const override;
  void SetAsFloat(double Value) override;
  bool GetAsBoolean() const override;
  void SetAsBoolean(bool Value) override;
  TDateTime GetAsDateTime() const override;
  void SetAsDateTime(TDateTime Value) override;
  bool FixedChar = false;

protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& Value) override { SetAsString(Value.AsString()); }
};

class TNumericField : public TField {
public:
  using TField::TField;
  String DisplayFormat;
};

// ftInteger, and the base of the smaller integer kinds. A range of 0 to 0
// means the type's own range.
class TIntegerField : public TNumericField {
public:
  using TField::GetValue;
  explicit TIntegerField(TComponent* AOwner);
  int GetDataSize() const override { return 4; }
  bool GetValue(int& Value) const;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;
  int GetAsInteger() const override;
  void SetAsInteger(int Value) override;
  int64_t GetAsLargeInt() const override { return GetAsInteger(); }
  void SetAsLargeInt(int64_t Value) override;
  double GetAsFloat() const override { return GetAsInteger(); }
  void SetAsFloat(double Value) override;
  int MinValue = 0;
  int MaxValue = 0;

protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& Value) override { SetAsInteger(Value.AsInteger()); }
  void CheckRange(int Value) const;
  virtual void ReadInt(const void* Buffer, int& Value) const;
  virtual void WriteInt(int Value, void* Buffer) const;
  int FMinRange = INT32_MIN;
  int FMaxRange = INT32_MAX;
};

class TSmallintField : public TIntegerField {
public:
  explicit TSmallintField(TComponent* AOwner);
  int GetDataSize() const override { return 2; }

protected:
  void ReadInt(const void* Buffer, int& Value) const override;
  void WriteInt(int Value, void* Buffer) const override;
};

class TWordField : public TIntegerField {
public:
  explicit TWordField(TComponent* AOwner);
  int GetDataSize() const override { return 2; }

protected:
  void ReadInt(const void* Buffer, int& Value) const override;
  void WriteInt(int Value, void* Buffer) const override;
};

class TAutoIncField : public TIntegerField {
public:
  explicit TAutoIncField(TComponent* AOwner);
};

class TLargeintField : public TNumericField {
public:
  using TField::GetValue;
  explicit TLargeintField(TComponent* AOwner);
  int GetDataSize() const override { return 8; }
  bool GetValue(int64_t& Value) const;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;
  int GetAsInteger() const override;
  void SetAsInteger(int Value) override { SetAsLargeInt(Value); }
  int64_t GetAsLargeInt() const override;
  void SetAsLargeInt(int64_t Value) override;
  double GetAsFloat() const override { return static_cast<double>(GetAsLargeInt()); }
  void SetAsFloat(double Value) override;

protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& Value) override { SetAsLargeInt(Value.AsInt64()); }
};

class TFloatField : public TNumericField {
public:
  using TField::GetValue;
  explicit TFloatField(TComponent* AOwner);
  int GetDataSize() const override { return 8; }
  bool GetValue(double& Value) const;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;
  int GetAsInteger() const override;
  void SetAsInteger(int Value) override { SetAsFloat(Value); }
  int64_t GetAsLargeInt() const override;
  void SetAsLargeInt(int64_t Value) override { SetAsFloat(static_cast<double>(Value)); }
  double GetAsFloat() const override;
  void SetAsFloat(double Value) override;
  bool Currency = false;
  int Precision = 15;
  double MinValue = 0;
  double MaxValue = 0;

protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& Value) override { SetAsFloat(Value.AsFloat()); }
};

class TCurrencyField : public TFloatField {
public:
  explicit TCurrencyField(TComponent* AOwner);
};

// Exact decimals, carried as currency (scaled by 10 000). Size is the scale.
class TBCDField : public TNumericField {
public:
  using TField::GetValue;
  explicit TBCDField(TComponent* AOwner);
  int GetDataSize() const override { return 8; }
  bool GetValue(int64_t& Scaled) const;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;
  int GetAsInteger() const override;
  void SetAsInteger(int Value) override { SetAsFloat(Value); }
  int64_t GetAsLargeInt() const override;
  void SetAsLargeInt(int64_t Value) override { SetAsFloat(static_cast<double>(Value)); }
  double GetAsFloat() const override;
  void SetAsFloat(double Value) override;
  int Precision = 0;

protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& Value) override { SetAsFloat(Value.AsFloat()); }
};

class TBooleanField : public TField {
public:
  using TField::GetValue;
  explicit TBooleanField(TComponent* AOwner);
  int GetDataSize() const override { return 2; }
  bool GetValue(bool& Value) const;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;
  bool GetAsBoolean() const override;
  void SetAsBoolean(bool Value) override;
  // "True;False": the texts shown for the two values.
  void SetDisplayValues(const String& Value);
  const String& GetDisplayValues() const { return FDisplayValues; }

protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& Value) override { SetAsBoolean(Value.AsBoolean()); }

private:
  String FDisplayValues;
  String FTextTrue = "True", FTextFalse = "False";
};

// ftDateTime, and the base of TDateField and TTimeField.
class TDateTimeField : public TField {
public:
  using TField::GetValue;
  explicit TDateTimeField(TComponent* AOwner);
  int GetDataSize() const override;
  bool GetValue(TDateTime& Value) const;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;
  double GetAsFloat() const override { return GetAsDateTime(); }
  void SetAsFloat(double Value) override { SetAsDateTime(Value); }
  TDateTime GetAsDateTime() const override;
  void SetAsDateTime(TDateTime Value) override;
  String DisplayFormat;

protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& Value) override { SetAsDateTime(Value.AsDateTime()); }
};

class TDateField : public TDateTimeField {
public:
  explicit TDateField(TComponent* AOwner);
};

class TTimeField : public TDateTimeField {
public:
  explicit TTimeField(TComponent* AOwner);
};

// ftBytes and ftVarBytes: the bytes as text.
class TBinaryField : public TField {
public:
  using TField::TField;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;

protected:
  Variant GetAsVariant() const override { return IsNull() ? Variant::Null() : Variant(GetAsString()); }
  void SetVarValue(const Variant& Value) override { SetAsString(Value.AsString()); }
};

class TBytesField : public TBinaryField {
public:
  explicit TBytesField(TComponent* AOwner);
  int GetDataSize() const override { return GetSize(); }
};

class TVarBytesField : public TBinaryField {
public:
  explicit TVarBytesField(TComponent* AOwner);
  int GetDataSize() const override { return GetSize() + 2; }
};

// Blob contents are read and written through the data set's blob streams.
class TBlobField : public TField {
public:
  explicit TBlobField(TComponent* AOwner);
  bool IsBlob() const override { return true; }
  // Empties the blob through a write stream.
  void Clear() override;
  int GetBlobSize() const;
  String GetAsString() const override;
  void SetAsString(const String& Value) override;
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;
  bool GetModified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  TFieldType GetBlobType() const { return GetDataType(); }

protected:
  bool GetIsNull() const override;
  Variant GetAsVariant() const override { return IsNull() ? Variant::Null() : Variant(GetAsString()); }
  void SetVarValue(const Variant& Value) override { SetAsString(Value.AsString()); }

private:
  bool FModified = false;
};

class TMemoField : public TBlobField {
public:
  explicit TMemoField(TComponent* AOwner);
};

// The fields of one data set in order (not owning).
class TFields {
public:
  explicit TFields(TDataSet* DataSet) : FDataSet(DataSet) {}
  int GetCount() const { return static_cast<int>(FList.size()); }
  // Raises EDatabaseError ("Field index out of range").
  TField* GetField(int Index) const;
  TField* operator[](int Index) const { return GetField(Index); }
  TField* FindField(const String& FieldName) const;
  // Raises EDatabaseError ("Field '%s' not found").
  TField* FieldByName(const String& FieldName) const;
  TField* FieldByNumber(int FieldNo) const;
  int IndexOf(const TField* Field) const;
  TDataSet* GetDataSet() const { return FDataSet; }

private:
  friend class TField;
  friend class TDataSet;
  void Add(TField* Field);
  void Remove(TField* Field);
  void Clear() { FList.clear(); }
  TDataSet* FDataSet;
  std::vector<TField*> FList;
};

// ---------------------------------------------------------------------------
// Field definitions

class TFieldDef : public TCollectionItem {
public:
  explicit TFieldDef(TCollection* Collection);
  const String& GetName() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TFieldType GetDataType() const { return FDataType; }
  void SetDataType(TFieldType Value) { FDataType = Value; }
  int GetSize() const { return FSize; }
  void SetSize(int Value) { FSize = Value; }
  bool GetRequired() const { return (Attributes & faRequired) != 0; }
  void SetRequired(bool Value);
  int GetFieldNo() const { return FFieldNo; }
  void SetFieldNo(int Value) { FFieldNo = Value; }
  String GetDisplayName() const override { return FName; }
  // Creates the field of this definition's type in DataSet, owned by Owner.
  // Raises EDatabaseError for a type without a field class.
  TField* CreateField(TComponent* Owner, TDataSet* DataSet) const;

  int Precision = 0;
  TFieldAttributes Attributes = 0;
  bool InternalCalcField = false;

private:
  String FName;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  int FFieldNo = 0;
};

class TFieldDefs : public TTypedCollection<TFieldDef> {
public:
  explicit TFieldDefs(TDataSet* DataSet) : FDataSet(DataSet) {}
  TFieldDef* AddFieldDef() { return Add(); }
  void Add(const String& Name, TFieldType DataType, int Size = 0, bool Required = false);
  using TTypedCollection<TFieldDef>::Add;
  int IndexOf(const String& Name) const;
  // Raises EDatabaseError ("Field '%s' not found").
  TFieldDef* Find(const String& Name) const;
  // Reads the definitions from the data set when they are out of date.
  void Update();
  bool Updated = false;
  TPersistent* GetOwner() const override;
  TDataSet* GetDataSet() const { return FDataSet; }

private:
  TDataSet* FDataSet;
};

// ---------------------------------------------------------------------------
// Data set

class TDataSet : public TComponent {
public:
  explicit TDataSet(TComponent* AOwner);
  // A concrete data set calls SetDestroying() and Close() in its own
  // destructor: the hooks that closing calls are gone by the time this one
  // runs (no Before/AfterClose events fire while destroying).
  ~TDataSet() override;

  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  bool GetActive() const { return FState != dsInactive && FState != dsOpening; }
  void SetActive(bool Value);
  TDataSetState GetState() const { return FState; }

  void First();
  void Last();
  void Next();
  void Prior();
  int MoveBy(int Distance);
  bool GetEof() const { return FEOF; }
  bool GetBof() const { return FBOF; }
  bool IsEmpty() const { return FActiveRecord >= FRecordCount; }
  // -1 when the data set cannot count.
  virtual int GetRecordCount();
  virtual int GetRecNo() { return -1; }
  virtual void SetRecNo(int) {}
  void Refresh();
  void Resync(TResyncMode Mode);
  virtual bool IsSequenced() { return true; }

  void Edit();
  void Insert();
  void Append();
  virtual void Post();
  virtual void Cancel();
  void Delete();
  void CheckBrowseMode();
  // Lets the data links write their pending values into the record.
  void UpdateRecord();
  bool GetModified() const { return FModified; }
  bool GetCanModify() { return GetCanModifyImpl(); }
  virtual TUpdateStatus UpdateStatus() { return usUnmodified; }

  TFields& GetFields() { return FFields; }
  const TFields& GetFields() const { return FFields; }
  int GetFieldCount() const { return FFields.GetCount(); }
  TField* FieldByName(const String& FieldName) const { return FFields.FieldByName(FieldName); }
  TField* FindField(const String& FieldName) const { return FFields.FindField(FieldName); }
  TFieldDefs& GetFieldDefs() { return FFieldDefs; }
  // Fields built from the definitions at open (no persistent fields).
  bool GetDefaultFields() const { return FDefaultFields; }
  // The fields named in a ";"-separated list; raises for an unknown name.
  void GetFieldList(std::vector<TField*>& List, const String& FieldNames) const;

  TBookmark GetBookmark();
  void GotoBookmark(const TBookmark& Bookmark);
  bool BookmarkAvailable();
  virtual bool BookmarkValid(const char* Bookmark);
  // -1, 0 or 1; a missing bookmark (none) counts as the greater.
  virtual int CompareBookmarks(const char* Bookmark1, const char* Bookmark2);

  virtual bool GetFieldData(TField* Field, void* Buffer);
  virtual bool GetFieldData(int FieldNo, void* Buffer);
  virtual void SetFieldData(TField* Field, const void* Buffer);
  virtual std::unique_ptr<TStream> CreateBlobStream(TField* Field, TBlobStreamMode Mode);
  virtual bool GetCurrentRecord(char* Buffer);
  // Reads or writes Field as if the data set were in State (old, new or
  // current values); Null for calculated fields.
  virtual Variant GetStateFieldValue(TDataSetState State, TField* Field);
  virtual void SetStateFieldValue(TDataSetState State, TField* Field, const Variant& Value);
  // Text conversion of string fields; the base copies. Returns the length.
  virtual int Translate(const char* Src, char* Dest, bool ToOem);

  virtual bool Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);
  virtual Variant Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields);
  bool FindFirst() { return FindRecord(true, true); }
  bool FindLast() { return FindRecord(true, false); }
  bool FindNext() { return FindRecord(false, true); }
  bool FindPrior() { return FindRecord(false, false); }
  bool GetFound() const { return FFound; }

  const String& GetFilter() const { return FFilterText; }
  void SetFilter(const String& Value) { SetFilterText(Value); }
  bool GetFiltered() const { return FFiltered; }
  virtual void SetFiltered(bool Value);
  TFilterOptions GetFilterOptions() const { return FFilterOptions; }
  virtual void SetFilterOptions(TFilterOptions Value);
  const TFilterRecordEvent& GetOnFilterRecord() const { return FOnFilterRecord; }
  virtual void SetOnFilterRecord(const TFilterRecordEvent& Value);

  int GetBlockReadSize() const { return FBlockReadSize; }
  virtual void SetBlockReadSize(int Value);

  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount != 0; }

  // The master data source of a detail data set; none here.
  virtual TDataSource* GetDataSource() { return nullptr; }
  bool IsLinkedTo(TDataSource* DataSource);
  virtual void GetDetailLinkFields(std::vector<TField*>& MasterFields, std::vector<TField*>& DetailFields);

  // Provider support: the defaults of a data set that is not SQL based.
  virtual bool PSIsSQLBased() { return false; }
  virtual bool PSIsSQLSupported() { return false; }
  virtual String PSGetQuoteChar() { return ""; }
  virtual bool PSInTransaction() { return false; }
  virtual void PSStartTransaction() {}
  virtual void PSEndTransaction(bool) {}
  virtual int PSExecuteStatement(const String&, TParams*, bool) { return 0; }
  virtual void PSReset() {}
  virtual void PSExecute() {}
  virtual TParams* PSGetParams() { return nullptr; }
  virtual void PSSetParams(TParams*) {}
  virtual void PSSetCommandText(const String&) {}
  virtual String PSGetTableName() { return ""; }

  bool AutoCalcFields = true;
  // Stored only: data sets of this program have no object fields.
  bool ObjectView = false;
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
  TDataSetNotifyEvent OnCalcFields, OnNewRecord;
  TDataSetErrorEvent OnDeleteError, OnEditError, OnPostError;

  // Tells the fields, the data sources and their links of a change.
  virtual void DataEvent(TDataEvent Event, intptr_t Info);

protected:
  // --- hooks a concrete data set supplies
  virtual char* AllocRecordBuffer();
  virtual void FreeRecordBuffer(char*& Buffer);
  virtual void GetBookmarkData(char* Buffer, void* Data);
  virtual TBookmarkFlag GetBookmarkFlag(char* Buffer);
  virtual void SetBookmarkData(char* Buffer, const void* Data);
  virtual void SetBookmarkFlag(char* Buffer, TBookmarkFlag Value);
  virtual TGetResult GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck);
  virtual int GetRecordSize() { return 0; }
  virtual void InternalAddRecord(const void* Buffer, bool Append);
  virtual void InternalCancel() {}
  virtual void InternalClose() {}
  virtual void InternalDelete() {}
  virtual void InternalEdit() {}
  virtual void InternalFirst() {}
  virtual void InternalGotoBookmark(const void* Bookmark);
  virtual void InternalHandleException();
  virtual void InternalInitFieldDefs() {}
  virtual void InternalInitRecord(char* Buffer);
  virtual void InternalInsert() {}
  virtual void InternalLast() {}
  virtual void InternalOpen() {}
  // The base checks required fields.
  virtual void InternalPost();
  virtual void InternalRefresh() {}
  virtual void InternalSetToRecord(char* Buffer);
  virtual bool IsCursorOpen() { return false; }
  virtual bool GetCanModifyImpl() { return true; }
  virtual void OpenCursor(bool InfoQuery);
  virtual void CloseCursor();
  virtual void InitRecord(char* Buffer);
  virtual void ClearCalcFields(char* Buffer);
  virtual void CalculateFields(char* Buffer);
  virtual void BlockReadNext();
  virtual bool FindRecord(bool Restart, bool GoForward);
  virtual void CloseBlob(TField*) {}
  virtual bool GetIsIndexField(TField*) { return false; }
  virtual String GetFieldFullName(TField* Field);
  virtual void InitFieldDefs();
  virtual bool IsUniDirectional() { return false; }

  // --- the framework's services for them
  void CheckActive() const;
  void CheckInactive() const;
  void SetState(TDataSetState Value);
  // Switches the state for a moment (filter, calculated fields, key search)
  // without telling the data sources; returns the state to restore.
  TDataSetState SetTempState(TDataSetState Value);
  void RestoreState(TDataSetState Value);
  void CreateFields();
  void DestroyFields();
  void BindFields(bool Binding);
  void CursorPosChanged() { FCurrentRecord = -1; }
  void UpdateCursorPos();
  void GetCalcFields(char* Buffer);
  void SetModified(bool Value) { FModified = Value; }
  void SetFound(bool Value) { FFound = Value; }
  void ClearBuffers();
  // Reallocates the ring (Value buffers and the spare); with rows on show
  // they are read again around the cursor.
  void SetBufferCount(int Value);
  // Sizes the ring for the data links that show it (at least one record).
  void UpdateBufferCount();
  // Lets go of the blob contents that fields wrote in the active record.
  void FreeFieldBuffers();
  void DoBeforeScroll();
  void DoAfterScroll();
  // Runs Operation, offering its EDatabaseError to ErrorEvent (retry, abort or fail).
  void CheckOperation(const std::function<void()>& Operation, const TDataSetErrorEvent& ErrorEvent);
  virtual void SetFilterText(const String& Value);

  char* ActiveBuffer() const {
    return FActiveRecord < static_cast<int>(FBuffers.size()) ? FBuffers[FActiveRecord] : nullptr;
  }
  char* GetBuffer(int Index) const { return FBuffers[Index]; }
  // The spare buffer past the filled ones.
  char* TempBuffer() const { return FBuffers[FRecordCount]; }
  char* CalcBuffer() const { return FCalcBuffer; }
  int GetBufferCount() const { return FBufferCount; }
  int GetBufferRecordCount() const { return FRecordCount; }
  int GetActiveRecord() const { return FActiveRecord; }
  int GetCurrentRecordIndex() const { return FCurrentRecord; }
  int GetCalcFieldsSize() const { return FCalcFieldsSize; }
  int GetBlobFieldCount() const { return FBlobFieldCount; }
  int GetBookmarkSize() const { return BookmarkSize; }
  int GetFieldNoOfs() const { return 1; }
  bool GetInternalOpenComplete() const { return FInternalOpenComplete; }
  int BookmarkSize = 0;
  String ClassName() const override { return "TDataSet"; }

private:
  friend class TDataLink;
  friend class TDataSource;
  friend class TField;
  friend class TFieldDefs;
  void DoInternalOpen();
  void OpenCursorComplete();
  void SetCurrentRecord(int Index);
  void MoveBuffer(int CurIndex, int NewIndex);
  void ActivateBuffers();
  bool GetNextRecord();
  bool GetPriorRecord();
  int GetNextRecords();
  int GetPriorRecords();
  void BeginInsertAppend();
  void EndInsertAppend();
  void AddDataSource(TDataSource* DataSource);
  void RemoveDataSource(TDataSource* DataSource);
  void Fire(const TDataSetNotifyEvent& Event) {
    if (Event) Event(this);
  }

  TFields FFields;
  TFieldDefs FFieldDefs;
  std::vector<TDataSource*> FDataSources;
  std::vector<char*> FBuffers;
  int FBufferCount = 0;
  int FRecordCount = 0;
  int FActiveRecord = 0;
  int FCurrentRecord = -1;
  char* FCalcBuffer = nullptr;
  int FCalcFieldsSize = 0;
  int FBlobFieldCount = 0;
  int FDisableCount = 0;
  TDataSetState FState = dsInactive;
  TDataSetState FDisableState = dsInactive;
  TDataEvent FEnableEvent = deDataSetChange;
  bool FBOF = true;
  bool FEOF = true;
  bool FModified = false;
  bool FDefaultFields = false;
  bool FInternalOpenComplete = false;
  bool FFound = false;
  bool FFiltered = false;
  String FFilterText;
  TFilterOptions FFilterOptions = 0;
  TFilterRecordEvent FOnFilterRecord;
  int FBlockReadSize = 0;
};

// ---------------------------------------------------------------------------
// Data sources and data links

class TDataSource : public TComponent {
public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;
  TDataSet* GetDataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TDataSetState GetState() const { return FState; }
  // Puts the data set into edit mode when AutoEdit allows it.
  void Edit();
  bool IsLinkedTo(TDataSet* DataSet) const;
  int GetDataLinkCount() const { return static_cast<int>(FDataLinks.size()); }

  bool AutoEdit = true;
  TNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnUpdateData;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TDataSet;
  friend class TDataLink;
  void AddDataLink(TDataLink* Link);
  void RemoveDataLink(TDataLink* Link);
  void DataEvent(TDataEvent Event, intptr_t Info);
  void NotifyDataLinks(TDataEvent Event, intptr_t Info);
  void SetState(TDataSetState Value);
  void UpdateState();

  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FDataLinks;
  bool FEnabled = true;
  TDataSetState FState = dsInactive;
};

class TDataLink : public TPersistent {
public:
  TDataLink() = default;
  ~TDataLink() override;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* GetDataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  TDataSet* GetDataSet() const;
  bool GetActive() const { return FActive; }
  // Index of the data set's active record inside this link's window of records.
  int GetActiveRecord() const;
  int GetBufferCount() const { return FBufferCount; }
  void SetBufferCount(int Value);
  int GetRecordCount() const;
  bool GetEditing() const { return FEditing; }
  bool ReadOnly = false;
  bool Edit();
  void UpdateRecord();

protected:
  friend class TDataSource;
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int) { DataSetChanged(); }
  virtual void EditingChanged() {}
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField*) {}
  virtual void UpdateData() {}
  virtual void DataEvent(TDataEvent Event, intptr_t Info);

private:
  void SetActive(bool Value);
  void SetEditing(bool Value);
  void UpdateState();

  TDataSource* FDataSource = nullptr;
  int FFirstRecord = 0;
  int FBufferCount = 1;
  bool FActive = false;
  bool FEditing = false;
  bool FUpdating = false;
};

// The link of a detail data set to its master.
class TDetailDataLink : public TDataLink {
public:
  virtual TDataSet* GetDetailDataSet() { return nullptr; }
};

// ---------------------------------------------------------------------------
// Connections

class TCustomConnection : public TComponent {
public:
  explicit TCustomConnection(TComponent* AOwner);
  ~TCustomConnection() override;

  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }
  bool GetConnected() const { return GetConnectedImpl(); }
  // Runs BeforeConnect, DoConnect, AfterConnect (or the disconnect trio);
  // while the component is being loaded only remembers the value.
  void SetConnected(bool Value);
  int GetDataSetCount() const { return static_cast<int>(FDataSets.size()); }
  TDataSet* GetDataSet(int Index) const;
  // Data sets that use the connection register while they do.
  virtual void RegisterClient(TObject* Client);
  virtual void UnRegisterClient(TObject* Client);
  void Loaded() override;

  // A concrete connection disconnects in its own destructor.
  bool LoginPrompt = false;
  TNotifyEvent BeforeConnect, AfterConnect, BeforeDisconnect, AfterDisconnect;

protected:
  virtual void DoConnect() {}
  virtual void DoDisconnect() {}
  virtual bool GetConnectedImpl() const { return false; }
  bool GetStreamedConnected() const { return FStreamedConnected; }
  String ClassName() const override { return "TCustomConnection"; }

private:
  std::vector<TDataSet*> FDataSets;
  std::vector<TObject*> FClients;
  bool FStreamedConnected = false;
};

// ---------------------------------------------------------------------------
// Parameters

class TParam : public TCollectionItem {
public:
  explicit TParam(TCollection* Collection);
  TParam(TParams* Params, TParamType ParamType);

  String Name;
  TFieldType DataType = ftUnknown;
  TParamType ParamType = ptUnknown;
  // Set when a value was assigned (a master link fills only unbound parameters).
  bool Bound = false;
  int Size = 0;
  int Precision = 0;
  int NumericScale = 0;

  Variant GetValue() const { return FData; }
  // Takes the type from the value while the parameter has none.
  void SetValue(const Variant& Value);
  bool IsNull() const { return FNull || FData.IsClear(); }
  void Clear();
  String GetAsString() const { return IsNull() ? String() : FData.AsString(); }
  void SetAsString(const String& Value) { SetTyped(ftString, Value); }
  int GetAsInteger() const { return IsNull() ? 0 : FData.AsInteger(); }
  void SetAsInteger(int Value) { SetTyped(ftInteger, Value); }
  void SetAsSmallInt(int Value) { SetTyped(ftSmallint, Value); }
  void SetAsWord(int Value) { SetTyped(ftWord, Value); }
  int64_t GetAsLargeInt() const { return IsNull() ? 0 : FData.AsInt64(); }
  void SetAsLargeInt(int64_t Value) { SetTyped(ftLargeint, Value); }
  double GetAsFloat() const { return IsNull() ? 0 : FData.AsFloat(); }
  void SetAsFloat(double Value) { SetTyped(ftFloat, Value); }
  void SetAsCurrency(double Value) { SetTyped(ftCurrency, Value); }
  bool GetAsBoolean() const { return IsNull() ? false : FData.AsBoolean(); }
  void SetAsBoolean(bool Value) { SetTyped(ftBoolean, Value); }
  TDateTime GetAsDateTime() const { return IsNull() ? 0 : FData.AsDateTime(); }
  void SetAsDateTime(TDateTime Value) { SetTyped(ftDateTime, Variant::FromDate(Value)); }
  void SetAsDate(TDateTime Value) { SetTyped(ftDate, Variant::FromDate(Value)); }
  void SetAsTime(TDateTime Value) { SetTyped(ftTime, Variant::FromDate(Value)); }
  void SetAsMemo(const String& Value) { SetTyped(ftMemo, Value); }
  void SetAsBlob(const String& Value) { SetTyped(ftBlob, Value); }

  // Copies name, type, value and the rest from another parameter.
  void Assign(const TPersistent* Source) override;
  // Takes type, name and value of a field.
  void AssignField(const TField* Field);
  void AssignFieldValue(const TField* Field, const Variant& Value);
  String GetDisplayName() const override { return Name.empty() ? TCollectionItem::GetDisplayName() : Name; }

protected:
  String ClassName() const override { return "TParam"; }

private:
  void SetTyped(TFieldType Type, const Variant& Value);
  Variant FData;
  bool FNull = true;
};

class TParams : public TTypedCollection<TParam> {
public:
  explicit TParams(TPersistent* Owner = nullptr) : FOwner(Owner) {}
  TParam* CreateParam(TFieldType FldType, const String& ParamName, TParamType ParamType);
  TParam* FindParam(const String& Value) const;
  // Raises EDatabaseError ("Parameter '%s' not found").
  TParam* ParamByName(const String& Value) const;
  // Copies the values of same-named parameters from Value.
  void AssignValues(const TParams& Value);
  bool IsEqual(const TParams& Value) const;
  // Replaces every parameter marker (":name") outside quotes with "?" and,
  // with DoCreate, makes the list hold one parameter per marker in text
  // order. "::" stands for one colon.
  String ParseSQL(const String& SQL, bool DoCreate);
  TPersistent* GetOwner() const override { return FOwner; }

private:
  TPersistent* FOwner;
};
