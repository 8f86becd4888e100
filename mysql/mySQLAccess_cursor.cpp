// The native cursor: statements, the stored result, positioning, bookmarks,
// record counts and properties.
#include "mySQLAccess.h"
#include "MySQLMonitor.h"

#include "uMysqlHelpers.h"

#include <cstring>

namespace {

// Clears the cursor's buffer reference when a scratch buffer goes away.
class TScratchBuffer {
public:
  TScratchBuffer(char*& current, size_t size) : FCurrent(current), FBytes(size, 0) {}
  ~TScratchBuffer() {
    if (FCurrent == FBytes.data()) FCurrent = nullptr;
  }
  TScratchBuffer(const TScratchBuffer&) = delete;
  TScratchBuffer& operator=(const TScratchBuffer&) = delete;
  char* Data() { return FBytes.data(); }

private:
  char*& FCurrent;
  std::vector<char> FBytes;
};

void RaiseCondition(uint16_t code) {
  if (code != DBIERR_NONE) RaiseCode(code);
}

uint16_t Condition(bool met, uint16_t code) {
  return met ? code : uint16_t(DBIERR_NONE);
}

int64_t LoadBookmark(const char* bookmark) {
  int64_t row;
  std::memcpy(&row, bookmark, sizeof row);
  return row;
}

} // namespace

TNativeDataSet::TNativeDataSet(TNativeConnect* connection, int windowCount, int windowOffset,
                               const String& indexName, const String& tableName, TContainer* owner)
    : TBaseObject(connection, owner), FFields(this), FIndexes(this), FIndexName(indexName.substr(0, 260)),
      FConnection(connection), FTableName(tableName.substr(0, 260)), FWindowCount(windowCount),
      FWindowOffset(windowOffset) {}

TNativeDataSet::~TNativeDataSet() {
  CloseResult();
  ClearIndexes();
}

// ---- Statements ------------------------------------------------------------

void TNativeDataSet::SetStatementText(const String& text) {
  // Another statement has other columns and maybe another table.
  if (text != FStatementText) FDescribeAgain = daStatement;
  FStatementText = text;
  FFromStatement = true;
  if (TMySQLMonitorHook* hook = MonitorHook()) hook->TracePrepare(this);
}

// The descriptors of an earlier statement go once the new one has run.
void TNativeDataSet::ForgetDescriptors() {
  if (FDescribeAgain == daNone) return;
  FFields.Clear();
  FColumnTypes.clear();
  FDataAreaLength = -1;
  if (FDescribeAgain == daStatement) {
    ClearIndexes();
    FCurrentIndex = TIndexDesc();
  }
  FDescribeAgain = daNone;
}

String TNativeDataSet::ComposedStatement() const {
  if (!FStatementText.empty()) return FStatementText;
  String text;
  for (const auto* lines : {&FSelectLines, &FOrderByLines, &FLimitLines})
    for (const String& line : *lines)
      text += line + " ";
  return text;
}

void TNativeDataSet::ExecuteStatement() {
  if (FStatementText.empty() && FSelectLines.empty()) RaiseCode(DBIERR_QRYEMPTY);
  bool ran = false;
  auto result = FConnection->Query(ComposedStatement(), true, ran);
  if (!ran || !result) {
    FConnection->CheckResult();
    return;
  }
  FResult = std::move(result);
  FOpen = true;
  ForgetDescriptors();
  if (FColumnTypes.size() != size_t(FResult->GetColumnCount())) {
    FColumnTypes.clear();
    for (const TMysqlField& field : FResult->GetFields())
      FColumnTypes.push_back(field.Type);
  }
}

void TNativeDataSet::Reexecute() {
  if (FOpen) CloseResult();
  ExecuteStatement();
}

void TNativeDataSet::Open() {
  if (FOpen) CloseResult();
  if (!FStatementText.empty() || !FSelectLines.empty()) {
    ExecuteStatement();
    if (FOrderIndex != 0) return;
    if (FPrimaryIndex > 0)
      CopyIndexDesc(FPrimaryIndex);
    else if (LoadIndexes() > 0)
      CopyIndexDesc(FPrimaryIndex > 0 ? FPrimaryIndex : 1);
    return;
  }
  FSelectLines.push_back("Select * from " + QuoteIdentifier(FTableName));
  FLimitLines.assign(1, "limit 0");
  ExecuteStatement();
  FLimitLines.clear();
  if (FWindowCount >= 0 || FWindowOffset > 0)
    FLimitLines.push_back(Format("limit %d, %d", FWindowOffset, FWindowCount));
  if (LoadIndexes() > 0) {
    if (FPrimaryIndex == 0) FPrimaryIndex = 1;
    SwitchToIndex(&FIndexName);
  } else {
    ExecuteStatement();
  }
}

void TNativeDataSet::ExecuteNoCursor() {
  if (FOpen) CloseResult();
  FAffectedRows = 0;
  FResult.reset();
  if (FConnection && FConnection->GetConnected()) {
    bool ran = false;
    auto result = FConnection->Query(FStatementText, true, ran);
    if (ran) {
      FAffectedRows = uint32_t(FConnection->GetClient()->GetAffectedRows());
      FLastInsertId = FConnection->GetClient()->GetInsertId();
    }
    result.reset();
    FConnection->CheckResult();
    if (TMySQLMonitorHook* hook = MonitorHook(); hook && ran) hook->TraceExecute(this);
  }
  FStatementText.clear();
}

void TNativeDataSet::CloseResult() {
  FOpen = false;
  FFromStatement = false;
  FAffectedRows = 0;
  FResult.reset();
}

// ---- Row moves -------------------------------------------------------------

void TNativeDataSet::StoreBookmark() {
  if (!FCurrentBuffer || FBookmarkOffset < 0) return;
  GetBookmark(FCurrentBuffer + FBookmarkOffset);
}

// A move off either end of the result answers with its code: reaching the
// end of the rows is how every walk over them ends, no error.
template <typename Move> uint16_t TNativeDataSet::MoveRow(Move move, bool traced) {
  if (!FResult) {
    FConnection->CheckResult();
    return DBIERR_NONE;
  }
  if (const uint16_t code = move(*FResult)) {
    // The buffer belonged to the move that failed; no later move fills it.
    FCurrentBuffer = nullptr;
    return code;
  }
  StoreBookmark();
  FillRecordBuffer();
  if (!traced) return DBIERR_NONE;
  if (TMySQLMonitorHook* hook = MonitorHook()) hook->TraceFetch(this);
  return DBIERR_NONE;
}

uint16_t TNativeDataSet::MoveFirst() {
  return MoveRow(
      [](TMysqlResult& r) {
        r.First();
        return Condition(r.GetEof(), DBIERR_BOF);
      },
      true);
}

uint16_t TNativeDataSet::MoveLast() {
  return MoveRow(
      [](TMysqlResult& r) {
        r.Last();
        return Condition(r.GetBof(), DBIERR_EOF);
      },
      true);
}

uint16_t TNativeDataSet::MoveNext() {
  return MoveRow(
      [](TMysqlResult& r) {
        r.Next();
        return Condition(r.GetEof(), DBIERR_EOF);
      },
      true);
}

uint16_t TNativeDataSet::MovePrior() {
  return MoveRow(
      [](TMysqlResult& r) {
        r.Prior();
        return Condition(r.GetBof(), DBIERR_BOF);
      },
      true);
}

void TNativeDataSet::FirstRow() {
  RaiseCondition(MoveFirst());
}

void TNativeDataSet::LastRow() {
  RaiseCondition(MoveLast());
}

void TNativeDataSet::NextRow() {
  RaiseCondition(MoveNext());
}

void TNativeDataSet::PriorRow() {
  RaiseCondition(MovePrior());
}

// A row outside the result is refused: staying where the result was would
// fill the buffer with another row.
void TNativeDataSet::SeekRow(int64_t row) {
  RaiseCondition(MoveRow(
      [row](TMysqlResult& r) {
        if (row < 0) return uint16_t(DBIERR_BOF);
        if (uint64_t(row) >= r.GetRowCount()) return uint16_t(DBIERR_EOF);
        r.Seek(row);
        if (r.GetBof()) return uint16_t(DBIERR_BOF);
        return Condition(r.GetEof(), DBIERR_EOF);
      },
      false));
}

uint16_t TNativeDataSet::MoveInDirection() {
  return FDirection == 1 ? MoveNext() : MovePrior();
}

uint16_t TNativeDataSet::SkipFiltered(char* buffer) {
  if (!FFiltersActive) return DBIERR_NONE;
  std::unique_ptr<TScratchBuffer> scratch;
  char* record = buffer;
  if (!record) {
    scratch = std::make_unique<TScratchBuffer>(FCurrentBuffer, GetBufferSize());
    record = scratch->Data();
    FCurrentBuffer = record;
    StoreBookmark();
    FillRecordBuffer();
  }
  while (!PassesFilters(record)) {
    FCurrentBuffer = record;
    if (const uint16_t code = MoveInDirection()) return code;
  }
  return DBIERR_NONE;
}

// The first move of a walk in `direction` (1 next, 2 prior) from the
// position state, then past filtered rows.
uint16_t TNativeDataSet::StepRecord(int direction, char* buffer) {
  FDirection = direction;
  FCurrentBuffer = buffer;
  const bool forward = direction == 1;
  uint16_t code = DBIERR_NONE;
  switch (FPositionState) {
  case psNone:
    code = forward ? MoveFirst() : MoveLast();
    break;
  case psBegin:
    code = forward ? MoveFirst() : uint16_t(DBIERR_BOF);
    break;
  case psEnd:
    code = forward ? uint16_t(DBIERR_EOF) : MoveLast();
    break;
  case psOnRow:
  case psChanged:
    code = MoveInDirection();
    break;
  }
  if (code != DBIERR_NONE) {
    FCurrentBuffer = nullptr;
    return code;
  }
  return SkipFiltered(buffer);
}

uint16_t TNativeDataSet::NextRecord(int lock, char* buffer, TRecordProps* props) {
  return CompleteRecordStep(StepRecord(1, buffer), lock, buffer, props);
}

uint16_t TNativeDataSet::PriorRecord(int lock, char* buffer, TRecordProps* props) {
  return CompleteRecordStep(StepRecord(2, buffer), lock, buffer, props);
}

uint16_t TNativeDataSet::CompleteRecordStep(uint16_t code, int lock, char* buffer, TRecordProps* props) {
  if (code != DBIERR_NONE) return code;
  if (lock != 0) GetRecord(lock, buffer, props);
  if (props && FResult) props->SeqNumber = props->PhysicalRecordNumber = int32_t(CurrentRowIndex() + 1);
  FPositionState = psOnRow;
  return DBIERR_NONE;
}

void TNativeDataSet::GetNextRecord(int lock, char* buffer, TRecordProps* props) {
  RaiseCondition(NextRecord(lock, buffer, props));
}

void TNativeDataSet::GetPriorRecord(int lock, char* buffer, TRecordProps* props) {
  RaiseCondition(PriorRecord(lock, buffer, props));
}

void TNativeDataSet::GetRecord(int lock, char* buffer, TRecordProps* props) {
  FCurrentBuffer = buffer;
  switch (FPositionState) {
  case psOnRow: {
    char bookmark[BookmarkSize];
    GetBookmark(bookmark);
    try {
      if (!FLocked) {
        SetToBookmark(bookmark);
        if (lock == 1) FLocked = true;
      } else {
        // The held row is still the result's current row.
        StoreBookmark();
        FillRecordBuffer();
      }
      FPositionState = psOnRow;
      RaiseCondition(SkipFiltered(buffer));
    } catch (const EmySQLException&) {
      FCurrentBuffer = nullptr;
      if (FRefreshPending) {
        FRefreshPending = false;
        FPositionState = psNone;
        GetNextRecord(lock, buffer, props);
        return;
      }
      if (lock == 1) FLocked = false;
      throw;
    }
    if (props && FResult) props->SeqNumber = props->PhysicalRecordNumber = int32_t(CurrentRowIndex() + 1);
    return;
  }
  case psBegin:
    FCurrentBuffer = nullptr;
    RaiseCode(DBIERR_BOF);
  case psEnd:
    FCurrentBuffer = nullptr;
    RaiseCode(DBIERR_EOF);
  case psChanged:
    try {
      GetNextRecord(lock, buffer, props);
    } catch (const EmySQLException&) {
      try {
        GetPriorRecord(lock, buffer, props);
      } catch (const EmySQLException&) {
        FPositionState = psNone;
        GetNextRecord(lock, buffer, props);
      }
    }
    return;
  case psNone:
    FCurrentBuffer = nullptr;
    RaiseCode(DBIERR_NOCURRREC);
  }
}

void TNativeDataSet::SetToBegin() {
  FPositionState = psBegin;
}

void TNativeDataSet::SetToEnd() {
  FPositionState = psEnd;
}

void TNativeDataSet::SetToRecordNo(int recordNumber) {
  FCurrentRecordIndex = recordNumber > 0 ? recordNumber - 1 : 0;
  SeekRow(FCurrentRecordIndex);
}

// ---- Bookmarks -------------------------------------------------------------

void TNativeDataSet::GetBookmark(char* bookmark) const {
  if (!bookmark) RaiseCode(DBIERR_INVALIDPARAM);
  const int64_t row = CurrentRowIndex();
  std::memcpy(bookmark, &row, BookmarkSize);
}

void TNativeDataSet::SetToBookmark(const char* bookmark) {
  if (!bookmark) RaiseCode(DBIERR_INVALIDPARAM);
  const int64_t row = LoadBookmark(bookmark);
  if (row < 0) {
    FirstRow();
  } else {
    FCurrentRecordIndex = row;
    if (FPositionState != psChanged) SeekRow(row);
  }
  FPositionState = psOnRow;
}

// By row index, the first row's bookmark (0) included.
void TNativeDataSet::CompareBookmarks(const char* first, const char* second, int& result) const {
  if (!first || !second) RaiseCode(DBIERR_INVALIDPARAM);
  const int64_t a = LoadBookmark(first), b = LoadBookmark(second);
  result = a < b ? -1 : a > b ? 1 : 0;
}

void TNativeDataSet::SetToCursor(TNativeDataSet* other) {
  if (!other) RaiseCode(DBIERR_INVALIDHNDL);
  char bookmark[BookmarkSize];
  GetBookmark(bookmark);
  other->SetToBookmark(bookmark);
}

// ---- Counting and block reads ----------------------------------------------

void TNativeDataSet::GetRecordCount(int& count) {
  if (!FFiltersActive) {
    count = int(RowCount());
    return;
  }
  count = 0;
  const TPositionState savedState = FPositionState;
  char bookmark[BookmarkSize];
  const bool saved = FResult && CurrentRowIndex() >= 0;
  if (saved) GetBookmark(bookmark);
  {
    TScratchBuffer scratch(FCurrentBuffer, GetBufferSize());
    SetToBegin();
    try {
      while (NextRecord(0, scratch.Data(), nullptr) == DBIERR_NONE)
        ++count;
    } catch (const EmySQLException&) {
    }
  }
  FCurrentBuffer = nullptr;
  if (saved) {
    SetToBookmark(bookmark);
    FPositionState = savedState;
  } else {
    FPositionState = savedState == psNone ? psNone : psBegin;
  }
}

void TNativeDataSet::ReadBlock(int& count, char* block) {
  if (!block) RaiseCode(DBIERR_INVALIDPARAM);
  const int wanted = count;
  count = 0;
  const size_t size = GetBufferSize();
  try {
    while (count < wanted && NextRecord(0, block + size_t(count) * size, nullptr) == DBIERR_NONE)
      ++count;
  } catch (const EmySQLException&) {
  }
}

void TNativeDataSet::ForceReread() {
  FRefreshPending = true;
  int64_t row = CurrentRowIndex();
  Reexecute();
  if (row >= int64_t(RowCount())) row = int64_t(RowCount()) - 1;
  FPositionState = psOnRow;
  try {
    SetToRecordNo(int(row + 1));
  } catch (const EmySQLException&) {
  }
}

void TNativeDataSet::ForceRecordReread(char* buffer) {
  ForceReread();
  GetRecord(0, buffer, nullptr);
}

// ---- Properties ------------------------------------------------------------

void TNativeDataSet::GetCursorProps(TCursorProps& props) {
  props = TCursorProps();
  props.RecordSize = GetRecordSize();
  props.FieldCount = uint16_t(FFields.Count());
  props.RecordBufferSize = GetBufferSize();
  props.KeySize = FFromStatement ? 0 : FCurrentIndex.KeyLength;
  props.IndexCount = FFromStatement ? 0 : uint16_t(LoadIndexes());
  props.ValCheckCount = props.FieldCount;
  props.OpenMode = FReadOnly;
  props.FilterCount = uint16_t(FFilters.Count());
}

void TNativeDataSet::GetProperty(uint32_t id, void* value, int valueSize, int& size) {
  size = 0;
  auto put = [&](const void* bytes, int n) {
    size = n;
    if (value && valueSize >= n) std::memcpy(value, bytes, size_t(n));
  };
  switch (id & 0xFFFF) {
  case curMAXPROPS: {
    const uint16_t v = 23;
    put(&v, 2);
    return;
  }
  case curXLTMODE: {
    const int32_t v = 0;
    put(&v, 4);
    return;
  }
  case curMAXFIELDID: {
    const int32_t v = FFields.Count();
    put(&v, std::min(valueSize, 4));
    size = valueSize;
    return;
  }
  case curAFFECTEDROWS:
    put(&FAffectedRows, 4);
    return;
  case curAUTOREFETCH: {
    const uint8_t v = FKeepPosition ? 1 : 0;
    put(&v, 1);
    return;
  }
  default:
    return;
  }
}

void TNativeDataSet::SetProperty(uint32_t id, intptr_t value) {
  switch (id & 0xFFFF) {
  case curAFFECTEDROWS:
    FPositionState = psChanged;
    return;
  case curAUTOREFETCH:
    FKeepPosition = value == 1;
    return;
  case curUPDATABLE:
    FReadOnly = value == 1 ? 0 : 1;
    return;
  default:
    return;
  }
}

// ---- The stored result -----------------------------------------------------

uint64_t TNativeDataSet::RowCount() const {
  return FResult ? FResult->GetRowCount() : 0;
}

int64_t TNativeDataSet::CurrentRowIndex() const {
  return FResult ? FResult->GetRowIndex() : -1;
}

int TNativeDataSet::ColumnCount() const {
  return FResult ? FResult->GetColumnCount() : 0;
}

int TNativeDataSet::ColumnType(int column) const {
  if (column >= 0 && size_t(column) < FColumnTypes.size()) return FColumnTypes[size_t(column)];
  const TMysqlField* field = ColumnDescriptor(column);
  return field ? field->Type : 0;
}

const TMysqlField* TNativeDataSet::ColumnDescriptor(int column) const {
  return FResult ? FResult->Field(column) : nullptr;
}

const char* TNativeDataSet::ColumnValue(int column) const {
  return FResult ? FResult->Value(column) : nullptr;
}

bool TNativeDataSet::ColumnIsNull(int column) const {
  return ColumnValue(column) == nullptr;
}

String TNativeDataSet::ColumnText(int column) const {
  const char* value = ColumnValue(column);
  if (!value) return String();
  FResult->FetchLengths(true);
  return String(value, FResult->Length(column));
}
