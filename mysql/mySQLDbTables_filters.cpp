// Filters and searches of the data set: the expression filter and the
// OnFilterRecord filter live on the native cursor, and Locate and Lookup
// search with a filter of their own for the key values.
#include "mySQLDbTables.h"

#include "DBFilter.h"

namespace {

// Runs `undo` when the scope ends, however it ends.
template <typename Undo> class TFinally {
public:
  explicit TFinally(Undo undo) : FUndo(std::move(undo)) {}
  ~TFinally() { FUndo(); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

private:
  Undo FUndo;
};

bool IsTextField(const TField* Field) {
  const TFieldType type = Field->GetDataType();
  return type == ftString || type == ftFixedChar || type == ftWideString;
}

} // namespace

// ---- Filter handles ---------------------------------------------------------

TmySQLFilter* TmySQLDataSet::NewFilter(int Priority, TFilterExpression Expression, TFilterCallback Callback) {
  TmySQLFilter* filter = nullptr;
  const intptr_t client = Callback ? reinterpret_cast<intptr_t>(this) : 0;
  Check(GetEngine(), GetEngine()->AddFilter(FHandle, client, Priority, false, std::move(Expression),
                                            std::move(Callback), filter));
  return filter;
}

TmySQLFilter* TmySQLDataSet::NewExprFilter(const String& Text, TFilterOptions Options) {
  TExprParser parser(this, Text, Options);
  return NewFilter(0, parser.GetFilterData(), nullptr);
}

TmySQLFilter* TmySQLDataSet::NewFuncFilter() {
  return NewFilter(1, nullptr, [this](intptr_t, const char* Record, int32_t) {
    bool accept = true;
    const TDataSetState saved = SetTempState(dsFilter);
    char* const previous = FFilterBuffer;
    FFilterBuffer = const_cast<char*>(Record);
    try {
      if (GetOnFilterRecord()) GetOnFilterRecord()(this, accept);
    } catch (...) {
      // A faulty handler must not stop the fetch; the row keeps its answer.
      HandleCurrentException(this);
    }
    FFilterBuffer = previous;
    RestoreState(saved);
    return accept ? 1 : 0;
  });
}

// The handles of a closed cursor went with it; a new cursor gets its filters
// from the data set's settings.
void TmySQLDataSet::ForgetStaleFilters() {
  if (FFilterCursor == FHandle) return;
  FExprFilter = FFuncFilter = nullptr;
  FFilterCursor = FHandle;
  if (!FHandle) return;
  if (!GetFilter().empty()) FExprFilter = NewExprFilter(GetFilter(), GetFilterOptions());
  if (GetOnFilterRecord()) FFuncFilter = NewFuncFilter();
  if (GetFiltered()) ActivateFilters();
}

void TmySQLDataSet::ActivateFilters() {
  TmySQLEngine* engine = GetEngine();
  if (FExprFilter && engine->ActivateFilter(FHandle, FExprFilter) != DBIERR_NONE) {
    engine->DropFilter(FHandle, FExprFilter);
    FExprFilter = NewExprFilter(GetFilter(), GetFilterOptions());
    Check(engine, engine->ActivateFilter(FHandle, FExprFilter));
  }
  if (FFuncFilter && engine->ActivateFilter(FHandle, FFuncFilter) != DBIERR_NONE) {
    engine->DropFilter(FHandle, FFuncFilter);
    FFuncFilter = NewFuncFilter();
    Check(engine, engine->ActivateFilter(FHandle, FFuncFilter));
  }
}

void TmySQLDataSet::DeactivateFilters() {
  TmySQLEngine* engine = GetEngine();
  if (FFuncFilter) Check(engine, engine->DeactivateFilter(FHandle, FFuncFilter));
  if (FExprFilter) Check(engine, engine->DeactivateFilter(FHandle, FExprFilter));
}

void TmySQLDataSet::ReplaceFilter(TmySQLFilter*& Handle, TmySQLFilter* Value) {
  TmySQLEngine* engine = GetEngine();
  if (!GetFiltered()) {
    if (Handle) engine->DropFilter(FHandle, Handle);
    Handle = Value;
    return;
  }
  CursorPosChanged();
  BeforeFilterChange();
  Check(engine, engine->SetToBegin(FHandle));
  if (Handle) Check(engine, engine->DropFilter(FHandle, Handle));
  Handle = Value;
  if (Handle) Check(engine, engine->ActivateFilter(FHandle, Handle));
}

// ---- Filter settings --------------------------------------------------------

void TmySQLDataSet::ChangeFilter(const String& Text, TFilterOptions Options) {
  if (GetActive()) {
    CheckBrowseMode();
    ForgetStaleFilters();
    if (Text != GetFilter() || Options != GetFilterOptions())
      // A text the parser rejects raises here, and the old filter stays.
      ReplaceFilter(FExprFilter, Text.empty() ? nullptr : NewExprFilter(Text, Options));
  }
  TDataSet::SetFilterText(Text);
  TDataSet::SetFilterOptions(Options);
  if (GetActive() && GetFiltered()) First();
}

void TmySQLDataSet::SetFilterText(const String& Value) {
  ChangeFilter(Value, GetFilterOptions());
}

void TmySQLDataSet::SetFilterOptions(TFilterOptions Value) {
  ChangeFilter(GetFilter(), Value);
}

void TmySQLDataSet::SetFiltered(bool Value) {
  if (!GetActive()) {
    TDataSet::SetFiltered(Value);
    return;
  }
  CheckBrowseMode();
  ForgetStaleFilters();
  if (GetFiltered() != Value) {
    BeforeFilterChange();
    Check(GetEngine(), GetEngine()->SetToBegin(FHandle));
    if (Value)
      ActivateFilters();
    else
      DeactivateFilters();
    TDataSet::SetFiltered(Value);
  }
  First();
}

void TmySQLDataSet::SetOnFilterRecord(const TFilterRecordEvent& Value) {
  if (GetActive() && bool(Value) != bool(GetOnFilterRecord())) {
    CheckBrowseMode();
    ForgetStaleFilters();
    ReplaceFilter(FFuncFilter, Value ? NewFuncFilter() : nullptr);
  }
  TDataSet::SetOnFilterRecord(Value);
  if (GetActive() && GetFiltered()) First();
}

// ---- Searches -------------------------------------------------------------

bool TmySQLDataSet::FindRecord(bool Restart, bool GoForward) {
  CheckBrowseMode();
  DoBeforeScroll();
  UpdateCursorPos();
  CursorPosChanged();
  ForgetStaleFilters();
  bool found = false;
  {
    // A search honours the filter even while Filtered is off.
    const bool temporary = !GetFiltered();
    if (temporary) ActivateFilters();
    TFinally undo([&] {
      if (temporary) DeactivateFilters();
    });
    TmySQLEngine* engine = GetEngine();
    uint16_t code;
    if (GoForward) {
      if (Restart) Check(engine, engine->SetToBegin(FHandle));
      code = engine->GetNextRecord(FHandle, 0, nullptr, nullptr);
    } else {
      if (Restart) Check(engine, engine->SetToEnd(FHandle));
      code = engine->GetPriorRecord(FHandle, 0, nullptr, nullptr);
    }
    if (code == DBIERR_NONE) {
      Resync(rmExact | rmCenter);
      found = true;
    }
  }
  if (found) DoAfterScroll();
  return found;
}

// Reads the first row, in the current filter, whose key fields equal the
// values into the temporary buffer. The data set's rows stay as they are.
bool TmySQLDataSet::LocateByKeys(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  CheckBrowseMode();
  CursorPosChanged();
  ForgetStaleFilters();
  std::vector<TField*> fields;
  GetFieldList(fields, KeyFields);
  const bool caseInsensitive = (Options & loCaseInsensitive) != 0;
  PFilterNode tree;
  for (size_t i = 0; i < fields.size(); ++i) {
    const bool single = fields.size() == 1;
    const Variant value = single && !VarIsArray(KeyValues) ? KeyValues : KeyValues[int(i)];
    const bool partial = (Options & loPartialKey) && i + 1 == fields.size() && IsTextField(fields[i]);
    const int partialLength = partial && !value.IsNull() ? int(value.AsString().size()) : 0;
    PFilterNode compare =
        NewCompareNode(coEQ, NewFieldNode(fields[i]), NewConstNode(value, fields[i]->GetDataType()),
                       caseInsensitive, partialLength);
    tree = tree ? NewBinaryNode(coAND, tree, compare) : compare;
  }
  TmySQLEngine* engine = GetEngine();
  Check(engine, engine->SetToBegin(FHandle));
  TmySQLFilter* filter = NewFilter(2, tree, nullptr);
  TFinally drop([&] { engine->DropFilter(FHandle, filter); });
  Check(engine, engine->ActivateFilter(FHandle, filter));
  return engine->GetNextRecord(FHandle, 0, TempBuffer(), nullptr) == DBIERR_NONE;
}

bool TmySQLDataSet::Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  DoBeforeScroll();
  const bool found = LocateByKeys(KeyFields, KeyValues, Options);
  if (found) {
    Resync(rmExact | rmCenter);
    DoAfterScroll();
  }
  return found;
}

Variant TmySQLDataSet::Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields) {
  Variant result = Variant::Null();
  if (!LocateByKeys(KeyFields, KeyValues, 0)) return result;
  const TDataSetState saved = SetTempState(dsCalcFields);
  TFinally restore([&] { RestoreState(saved); });
  CalculateFields(TempBuffer());
  std::vector<TField*> fields;
  GetFieldList(fields, ResultFields);
  if (fields.size() == 1) return fields[0]->GetValue();
  std::vector<Variant> values;
  for (TField* field : fields)
    values.push_back(field->GetValue());
  return VarArrayOf(std::move(values));
}
