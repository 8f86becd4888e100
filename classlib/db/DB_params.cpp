// Statement parameters and the parsing of parameter markers.
#include "DB.h"

using namespace dbconsts;

TParam::TParam(TCollection* Collection) : TCollectionItem(Collection) {}

TParam::TParam(TParams* Params, TParamType AParamType) : TCollectionItem(Params) {
  ParamType = AParamType;
}

void TParam::SetValue(const Variant& Value) {
  Bound = !Value.IsEmpty();
  FNull = Value.IsClear();
  if (DataType == ftUnknown) {
    switch (Value.VarType()) {
    case varSmallint:
      DataType = ftSmallint;
      break;
    case varWord:
    case varInteger:
      DataType = ftInteger;
      break;
    case varCurrency:
      DataType = ftBCD;
      break;
    case varDouble:
      DataType = ftFloat;
      break;
    case varDate:
      DataType = ftDateTime;
      break;
    case varBoolean:
      DataType = ftBoolean;
      break;
    case varString:
      DataType = ftString;
      break;
    case varLongWord:
    case varInt64:
      DataType = ftLargeint;
      break;
    default:
      DataType = ftUnknown;
    }
  }
  FData = Value;
}

void TParam::SetTyped(TFieldType Type, const Variant& Value) {
  DataType = Type;
  FData = Value;
  FNull = false;
  Bound = true;
}

void TParam::Clear() {
  FNull = true;
  FData = Variant();
}

void TParam::Assign(const TPersistent* Source) {
  auto* p = dynamic_cast<const TParam*>(Source);
  if (!p) {
    if (auto* f = dynamic_cast<const TField*>(Source)) {
      AssignField(f);
      return;
    }
    TCollectionItem::Assign(Source);
    return;
  }
  DataType = p->DataType;
  if (p->IsNull())
    Clear();
  else {
    FData = p->FData;
    FNull = false;
  }
  Bound = p->Bound;
  Name = p->Name;
  if (ParamType == ptUnknown) ParamType = p->ParamType;
  Size = p->Size;
  Precision = p->Precision;
  NumericScale = p->NumericScale;
}

void TParam::AssignField(const TField* Field) {
  if (!Field) return;
  AssignFieldValue(Field, Field->GetValue());
  Name = Field->GetFieldName();
}

void TParam::AssignFieldValue(const TField* Field, const Variant& Value) {
  if (!Field) return;
  DataType = Field->GetDataType() == ftAutoInc ? ftInteger : Field->GetDataType();
  if (Value.IsNull())
    Clear();
  else {
    FData = Value;
    FNull = Value.IsEmpty();
  }
  Bound = true;
  Size = Field->GetSize();
}

TParam* TParams::CreateParam(TFieldType FldType, const String& ParamName, TParamType ParamType) {
  TParam* p = Add();
  p->Name = ParamName;
  p->DataType = FldType;
  p->ParamType = ParamType;
  return p;
}

TParam* TParams::FindParam(const String& Value) const {
  for (int i = 0; i < GetCount(); ++i)
    if (SameText(GetItem(i)->Name, Value)) return GetItem(i);
  return nullptr;
}

TParam* TParams::ParamByName(const String& Value) const {
  TParam* p = FindParam(Value);
  if (!p) DatabaseError(Format(SParameterNotFound, Value), dynamic_cast<TComponent*>(FOwner));
  return p;
}

void TParams::AssignValues(const TParams& Value) {
  for (int i = 0; i < Value.GetCount(); ++i)
    if (TParam* p = FindParam(Value.GetItem(i)->Name)) p->Assign(Value.GetItem(i));
}

bool TParams::IsEqual(const TParams& Value) const {
  if (GetCount() != Value.GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i) {
    const TParam* a = GetItem(i);
    const TParam* b = Value.GetItem(i);
    if (a->Name != b->Name || a->DataType != b->DataType || a->ParamType != b->ParamType ||
        a->IsNull() != b->IsNull())
      return false;
    if (!a->IsNull() && VarCompareValue(a->GetValue(), b->GetValue()) != vrEqual) return false;
  }
  return true;
}

// The class library's scan: a quote character (', " or `) toggles "inside a
// literal" whatever quote opened it; a name runs from the colon to a blank,
// comma, semicolon, closing parenthesis or line end, and a quote right after
// the colon makes a quoted name whose quotes are dropped.
String TParams::ParseSQL(const String& SQL, bool DoCreate) {
  auto isLiteral = [](char c) { return c == '\'' || c == '"' || c == '`'; };
  auto isDelimiter = [](char c) {
    return c == ' ' || c == ',' || c == ';' || c == ')' || c == '\r' || c == '\n';
  };
  if (DoCreate) Clear();
  String out;
  out.reserve(SQL.size());
  bool literal = false;
  size_t i = 0, n = SQL.size();
  while (i < n) {
    char c = SQL[i];
    if (c == ':' && !literal && (i + 1 >= n || SQL[i + 1] != ':')) {
      size_t start = i + 1;
      size_t j = start;
      bool embedded = false;
      while (j < n && (literal || !isDelimiter(SQL[j]))) {
        if (isLiteral(SQL[j])) {
          literal = !literal;
          if (j == start) embedded = true;
        }
        ++j;
      }
      String name = SQL.substr(start, j - start);
      if (embedded) {
        if (!name.empty() && isLiteral(name.front())) name.erase(0, 1);
        if (!name.empty() && isLiteral(name.back())) name.pop_back();
      }
      if (DoCreate) Add()->Name = name;
      out += '?';
      if (j < n) out += SQL[j]; // the delimiter, looked at no further
      i = j + 1;
      continue;
    }
    if (c == ':' && !literal) {
      out += ':'; // "::" is one colon
      i += 2;
      continue;
    }
    if (isLiteral(c)) literal = !literal;
    out += c;
    ++i;
  }
  return out;
}
