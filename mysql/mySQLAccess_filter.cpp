// Filters of a cursor: callbacks and expression trees evaluated on record
// buffers.
#include "mySQLAccess.h"

#include "mySQLCP.h"
#include "uMysqlHelpers.h"

#include <cmath>

namespace {

bool IsTextType(TFieldType type) {
  return type == ftString || type == ftFixedChar || type == ftWideString || type == ftMemo ||
         type == ftFmtMemo;
}

bool Truth(const Variant& v) {
  return !v.IsClear() && v.AsBoolean();
}

String TextOf(const Variant& v) {
  return v.IsClear() ? String() : v.AsString();
}

} // namespace

TmySQLFilter::TmySQLFilter(TNativeDataSet* cursor, intptr_t clientData, TFilterExpression expression,
                           TFilterCallback callback)
    : FCursor(cursor), FExpression(std::move(expression)), FCallback(std::move(callback)),
      FClientData(clientData) {}

bool TmySQLFilter::Evaluate(char* recordBuffer) {
  if (!FActive) return false;
  FRecordBuffer = recordBuffer;
  if (FCallback) return FCallback(FClientData, recordBuffer, 0) != 0;
  if (!FExpression) return true;
  try {
    return Truth(EvaluateNode(*FExpression));
  } catch (const Exception&) {
    return false;
  }
}

Variant TmySQLFilter::FieldValue(const TFilterNode& node) {
  TmySQLField* field = FCursor->GetFields().Field(node.FieldNo);
  field->BindBuffer(FRecordBuffer);
  return field->GetVariant();
}

// Texts are compared in their escaped form, as field texts are.
Variant TmySQLFilter::ConstantValue(const TFilterNode& node) {
  const Variant& v = node.Value;
  if (v.IsClear()) return v;
  if (IsTextType(node.DataType)) {
    String escaped;
    EscapeSQLText(v.AsString(), escaped);
    return escaped;
  }
  switch (node.DataType) {
  case ftDate:
    return Variant::FromDate(std::trunc(v.AsDateTime()));
  case ftTime:
    return Variant::FromDate(v.AsDateTime() - std::trunc(v.AsDateTime()));
  case ftDateTime:
    return Variant::FromDate(v.AsDateTime());
  case ftBoolean:
    return Variant(v.AsBoolean());
  default:
    return v;
  }
}

Variant TmySQLFilter::EvaluateNode(const TFilterNode& node) {
  auto arg = [&](size_t i) {
    return i < node.Args.size() && node.Args[i] ? EvaluateNode(*node.Args[i]) : Variant();
  };
  switch (node.NodeClass) {
  case nodeUNARY: {
    const Variant v = arg(0);
    switch (int(node.Operator)) {
    case coISBLANK:
    case 37:
      return Variant(v.IsNull());
    case coNOTBLANK:
      return Variant(!v.IsNull());
    case coNOT:
      return v.IsClear() ? Null() : Variant(!v.AsBoolean());
    case coMINUS:
      return -v;
    case coUPPER:
      return v.IsClear() ? v : Variant(UpperCase(v.AsString()));
    case coLOWER:
      return v.IsClear() ? v : Variant(LowerCase(v.AsString()));
    default:
      return Variant();
    }
  }
  case nodeBINARY: {
    Variant l = arg(0), r = arg(1);
    switch (node.Operator) {
    case coEQ:
      return Variant(l == r);
    case coNE:
      return Variant(l != r);
    case coGT:
      return Variant(l > r);
    case coLT:
      return Variant(l < r);
    case coGE:
      return Variant(l >= r);
    case coLE:
      return Variant(l <= r);
    case coAND:
      return Variant(Truth(l) && Truth(r));
    case coOR:
      return Variant(Truth(l) || Truth(r));
    case coADD:
      return l + r;
    case coSUB:
      return l - r;
    case coMUL:
      return l * r;
    case coDIV:
      return l / r;
    case coMOD:
    case coREM:
      return l % r;
    case coLIKE:
      return Variant(MatchPattern(TextOf(l), TextOf(r), false, '?', '%'));
    case coIN: {
      if (l.IsArray()) std::swap(l, r);
      if (!r.IsArray()) return Variant(l == r);
      for (const Variant& item : r.Items())
        if (item == l) return Variant(true);
      return Variant(false);
    }
    default:
      return Variant();
    }
  }
  case nodeCOMPARE: {
    const String l = TextOf(arg(0)), r = TextOf(arg(1));
    if (node.Operator == coLIKE) return Variant(MatchPattern(l, r, !node.CaseInsensitive, '?', '%'));
    const bool oem = GetCurrentServerCharset() != CharsetOfSystemCodePage();
    const bool equal = FilterValuesEqual(l, r, oem, node.PartialLength, node.CaseInsensitive);
    return Variant(node.Operator == coNE ? !equal : equal);
  }
  case nodeFIELD:
    return FieldValue(node);
  case nodeCONST:
    return ConstantValue(node);
  case nodeLISTELEM: {
    std::vector<Variant> items;
    for (size_t i = 0; i < node.Args.size(); ++i)
      items.push_back(arg(i));
    return VarArrayOf(std::move(items));
  }
  default:
    return Variant();
  }
}

// ---- The cursor's filter list ----------------------------------------------

namespace {

TmySQLFilter* FilterAt(const TContainer& filters, int i) {
  return static_cast<TmySQLFilter*>(filters.Get(i));
}

bool AnyActive(const TContainer& filters) {
  for (int i = 0; i < filters.Count(); ++i)
    if (FilterAt(filters, i)->GetActive()) return true;
  return false;
}

} // namespace

TmySQLFilter* TNativeDataSet::AddFilter(intptr_t clientData, TFilterExpression expression,
                                        TFilterCallback callback) {
  auto* filter = new TmySQLFilter(this, clientData, std::move(expression), std::move(callback));
  FFilters.Add(filter);
  FFiltersActive = AnyActive(FFilters);
  return filter;
}

void TNativeDataSet::DropFilter(TmySQLFilter* filter) {
  if (!filter) {
    FFilters.Clear();
  } else if (FFilters.IndexOf(filter) >= 0) {
    FFilters.Remove(filter);
    delete filter;
  }
  FFiltersActive = AnyActive(FFilters);
}

void TNativeDataSet::ActivateFilter(TmySQLFilter* filter) {
  if (filter && FFilters.IndexOf(filter) < 0) RaiseCode(DBIERR_NOSUCHFILTER);
  for (int i = 0; i < FFilters.Count(); ++i)
    if (!filter || FilterAt(FFilters, i) == filter) FilterAt(FFilters, i)->SetActive(true);
  FFiltersActive = AnyActive(FFilters);
}

void TNativeDataSet::DeactivateFilter(TmySQLFilter* filter) {
  for (int i = 0; i < FFilters.Count(); ++i)
    if (!filter || FilterAt(FFilters, i) == filter) FilterAt(FFilters, i)->SetActive(false);
  FFiltersActive = AnyActive(FFilters);
}

bool TNativeDataSet::PassesFilters(char* buffer) {
  for (int i = 0; i < FFilters.Count(); ++i) {
    TmySQLFilter* filter = FilterAt(FFilters, i);
    if (filter->GetActive() && !filter->Evaluate(buffer)) return false;
  }
  return true;
}
