#include "Variants.h"

#include "DateUtils.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

bool IsIntegerType(TVarType t) {
  switch (t) {
  case varEmpty:
  case varSmallint:
  case varInteger:
  case varBoolean:
  case varWord:
  case varLongWord:
  case varInt64:
    return true;
  default:
    return false;
  }
}

// The type an integer result gets: Integer while it fits, else Int64.
Variant IntResult(int64_t v) {
  if (v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max())
    return Variant(static_cast<int>(v));
  return Variant(v);
}

[[noreturn]] void InvalidOp() {
  throw EVariantError("Invalid variant operation");
}

int64_t RoundToInt64(double d, bool& ok) {
  double r = std::nearbyint(d);
  ok = std::isfinite(r) && r >= -9223372036854775808.0 && r < 9223372036854775808.0;
  return ok ? static_cast<int64_t>(r) : 0;
}

} // namespace

Variant Variant::Null() {
  Variant v;
  v.FType = varNull;
  return v;
}

Variant Variant::FromDate(TDateTime value) {
  Variant v;
  v.FType = varDate;
  v.FFloat = value;
  return v;
}

Variant Variant::FromCurrency(int64_t scaled) {
  Variant v;
  v.FType = varCurrency;
  v.FInt = scaled;
  return v;
}

Variant Variant::Array(std::vector<Variant> items) {
  Variant v;
  v.FType = varArray;
  v.FArray = std::make_shared<std::vector<Variant>>(std::move(items));
  return v;
}

Variant VarArrayOf(std::vector<Variant> items) {
  return Variant::Array(std::move(items));
}

bool Variant::IsNumeric() const {
  return FType == varSmallint || FType == varInteger || FType == varDouble || FType == varCurrency ||
         FType == varWord || FType == varLongWord || FType == varInt64;
}

bool Variant::IsOrdinal() const {
  return FType == varSmallint || FType == varInteger || FType == varBoolean || FType == varWord ||
         FType == varLongWord || FType == varInt64;
}

String VarTypeAsText(TVarType type) {
  switch (type) {
  case varEmpty:
    return "Empty";
  case varNull:
    return "Null";
  case varSmallint:
    return "Smallint";
  case varInteger:
    return "Integer";
  case varDouble:
    return "Double";
  case varCurrency:
    return "Currency";
  case varDate:
    return "Date";
  case varBoolean:
    return "Boolean";
  case varWord:
    return "Word";
  case varLongWord:
    return "LongWord";
  case varInt64:
    return "Int64";
  case varString:
    return "String";
  case varArray:
    return "Array";
  }
  return "Unknown";
}

void Variant::CastError(TVarType to) const {
  throw EVariantTypeCastError(Format("Could not convert variant of type (%s) into type (%s)",
                                     VarTypeAsText(FType), VarTypeAsText(to)));
}

String Variant::AsString() const {
  switch (FType) {
  case varEmpty:
    return String();
  case varBoolean:
    return FInt ? "True" : "False";
  case varDouble:
    return FloatToStr(FFloat);
  case varCurrency:
    return FloatToStr(static_cast<double>(FInt) / 10000.0);
  case varDate:
    return DateTimeToStr(FFloat);
  case varString:
    return FText;
  case varNull:
  case varArray:
    CastError(varString);
  default:
    return IntToStr(FInt);
  }
}

int64_t Variant::AsInt64() const {
  bool ok = true;
  int64_t r = 0;
  switch (FType) {
  case varNull:
  case varArray:
    CastError(varInt64);
  case varDouble:
  case varDate:
    r = RoundToInt64(FFloat, ok);
    break;
  case varCurrency:
    r = RoundToInt64(static_cast<double>(FInt) / 10000.0, ok);
    break;
  case varString: {
    if (TryStrToInt64(FText, r)) return r;
    double d;
    if (!TryStrToFloat(FText, d)) CastError(varInt64);
    r = RoundToInt64(d, ok);
    break;
  }
  default:
    return FInt;
  }
  if (!ok) CastError(varInt64);
  return r;
}

int Variant::AsInteger() const {
  int64_t v;
  try {
    v = AsInt64();
  } catch (const EVariantTypeCastError&) {
    CastError(varInteger);
  }
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    CastError(varInteger);
  return static_cast<int>(v);
}

double Variant::AsFloat() const {
  switch (FType) {
  case varNull:
  case varArray:
    CastError(varDouble);
  case varDouble:
  case varDate:
    return FFloat;
  case varCurrency:
    return static_cast<double>(FInt) / 10000.0;
  case varString: {
    double d;
    if (!TryStrToFloat(FText, d)) CastError(varDouble);
    return d;
  }
  default:
    return static_cast<double>(FInt);
  }
}

bool Variant::AsBoolean() const {
  switch (FType) {
  case varNull:
  case varArray:
    CastError(varBoolean);
  case varDouble:
  case varDate:
    return FFloat != 0;
  case varString: {
    if (SameText(FText, "True")) return true;
    if (SameText(FText, "False")) return false;
    double d;
    if (!TryStrToFloat(FText, d)) CastError(varBoolean);
    return d != 0;
  }
  default:
    return FInt != 0;
  }
}

TDateTime Variant::AsDateTime() const {
  switch (FType) {
  case varNull:
  case varArray:
    CastError(varDate);
  case varString: {
    TDateTime d;
    if (TryStrToDateTime(FText, d)) return d;
    if (!TryStrToFloat(FText, d)) CastError(varDate);
    return d;
  }
  default:
    return AsFloat();
  }
}

int64_t Variant::AsCurrency() const {
  if (FType == varCurrency) return FInt;
  double d;
  try {
    d = AsFloat();
  } catch (const EVariantTypeCastError&) {
    CastError(varCurrency);
  }
  bool ok;
  int64_t r = RoundToInt64(d * 10000.0, ok);
  if (!ok) CastError(varCurrency);
  return r;
}

Variant Variant::AsType(TVarType type) const {
  if (type == FType) return *this;
  switch (type) {
  case varEmpty:
    return Variant();
  case varNull:
    return Null();
  case varSmallint: {
    int v = AsInteger();
    if (v < -32768 || v > 32767) CastError(type);
    return Variant(static_cast<int16_t>(v));
  }
  case varWord: {
    int v = AsInteger();
    if (v < 0 || v > 65535) CastError(type);
    return Variant(static_cast<uint16_t>(v));
  }
  case varInteger:
    return Variant(AsInteger());
  case varLongWord: {
    int64_t v = AsInt64();
    if (v < 0 || v > 0xFFFFFFFFLL) CastError(type);
    return Variant(static_cast<uint32_t>(v));
  }
  case varInt64:
    return Variant(AsInt64());
  case varDouble:
    return Variant(AsFloat());
  case varCurrency:
    return FromCurrency(AsCurrency());
  case varDate:
    return FromDate(AsDateTime());
  case varBoolean:
    return Variant(AsBoolean());
  case varString:
    return Variant(AsString());
  case varArray:
    break;
  }
  CastError(type);
}

int Variant::ArrayHighBound() const {
  if (FType != varArray) throw EVariantError("Variant is not an array");
  return static_cast<int>(FArray->size()) - 1;
}

const std::vector<Variant>& Variant::Items() const {
  if (FType != varArray) throw EVariantError("Variant is not an array");
  return *FArray;
}

const Variant& Variant::operator[](int index) const {
  const auto& items = Items();
  if (index < 0 || index >= static_cast<int>(items.size()))
    throw EVariantError("Variant array index out of bounds");
  return items[index];
}

Variant& Variant::operator[](int index) {
  Items(); // raises for a simple value
  if (FArray.use_count() > 1) FArray = std::make_shared<std::vector<Variant>>(*FArray);
  if (index < 0 || index >= static_cast<int>(FArray->size()))
    throw EVariantError("Variant array index out of bounds");
  return (*FArray)[index];
}

namespace {

// Letters of the ANSI (Latin-1) set folded to capitals.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  return c;
}

} // namespace

int CompareTextAsLocale(const String& a, const String& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = FoldCase(static_cast<unsigned char>(a[i])),
                  y = FoldCase(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  // Equal but for letter case: the small letter sorts first.
  for (size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) return x > y ? -1 : 1;
  }
  return 0;
}

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b) {
  if (a.IsArray() || b.IsArray()) InvalidOp();
  if (a.IsNull() || b.IsNull()) {
    if (a.IsNull() && b.IsNull()) return vrEqual;
    return a.IsNull() ? vrLessThan : vrGreaterThan;
  }
  auto order = [](auto x, auto y) { return x < y ? vrLessThan : (y < x ? vrGreaterThan : vrEqual); };
  bool aText = a.IsStr() || (a.IsEmpty() && b.IsStr());
  bool bText = b.IsStr() || (b.IsEmpty() && a.IsStr());
  if (aText && bText) {
    int c = CompareTextAsLocale(a.AsString(), b.AsString());
    return c < 0 ? vrLessThan : (c > 0 ? vrGreaterThan : vrEqual);
  }
  if (IsIntegerType(a.VarType()) && IsIntegerType(b.VarType())) return order(a.AsInt64(), b.AsInt64());
  return order(a.AsFloat(), b.AsFloat());
}

bool operator==(const Variant& a, const Variant& b) {
  return VarCompareValue(a, b) == vrEqual;
}
bool operator<(const Variant& a, const Variant& b) {
  return VarCompareValue(a, b) == vrLessThan;
}

namespace {

enum class Arith { Add, Sub, Mul };

// Int64 arithmetic that reports overflow instead of wrapping.
bool IntOp(Arith op, int64_t x, int64_t y, int64_t& r) {
  switch (op) {
  case Arith::Add:
    return !__builtin_add_overflow(x, y, &r);
  case Arith::Sub:
    return !__builtin_sub_overflow(x, y, &r);
  case Arith::Mul:
    return !__builtin_mul_overflow(x, y, &r);
  }
  return false;
}

double FloatOp(Arith op, double x, double y) {
  switch (op) {
  case Arith::Add:
    return x + y;
  case Arith::Sub:
    return x - y;
  case Arith::Mul:
    return x * y;
  }
  return 0;
}

// Text in arithmetic counts as a number, as the class library converts it.
bool NumericIsInteger(const Variant& v) {
  if (!v.IsStr()) return IsIntegerType(v.VarType());
  int64_t i;
  return TryStrToInt64(v.AsString(), i);
}

Variant Arithmetic(Arith op, const Variant& a, const Variant& b) {
  if (a.IsArray() || b.IsArray()) InvalidOp();
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  bool isDate = a.VarType() == varDate || b.VarType() == varDate;
  if (!isDate && NumericIsInteger(a) && NumericIsInteger(b)) {
    int64_t r;
    if (IntOp(op, a.AsInt64(), b.AsInt64(), r)) return IntResult(r);
  }
  if (!isDate && (a.VarType() == varCurrency || b.VarType() == varCurrency) && op != Arith::Mul) {
    int64_t r;
    if (IntOp(op, a.AsCurrency(), b.AsCurrency(), r)) return Variant::FromCurrency(r);
  }
  double r = FloatOp(op, a.AsFloat(), b.AsFloat());
  return isDate ? Variant::FromDate(r) : Variant(r);
}

} // namespace

Variant operator+(const Variant& a, const Variant& b) {
  if ((a.IsStr() || a.IsEmpty()) && (b.IsStr() || b.IsEmpty()) && (a.IsStr() || b.IsStr()))
    return Variant(a.AsString() + b.AsString());
  return Arithmetic(Arith::Add, a, b);
}

Variant operator-(const Variant& a, const Variant& b) {
  return Arithmetic(Arith::Sub, a, b);
}
Variant operator*(const Variant& a, const Variant& b) {
  return Arithmetic(Arith::Mul, a, b);
}

Variant operator/(const Variant& a, const Variant& b) {
  if (a.IsArray() || b.IsArray()) InvalidOp();
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  double d = b.AsFloat();
  if (d == 0) throw EVariantError("Division by zero");
  return Variant(a.AsFloat() / d);
}

Variant operator%(const Variant& a, const Variant& b) {
  if (a.IsArray() || b.IsArray()) InvalidOp();
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  int64_t d = b.AsInt64();
  if (d == 0) throw EVariantError("Division by zero");
  int64_t n = a.AsInt64();
  if (d == -1) return IntResult(0); // INT64_MIN % -1 would trap
  return IntResult(n % d);
}

Variant Variant::operator-() const {
  switch (FType) {
  case varNull:
    return *this;
  case varArray:
    InvalidOp();
  case varDouble:
    return Variant(-FFloat);
  case varDate:
    return FromDate(-FFloat);
  case varCurrency:
    return FromCurrency(-FInt);
  default:
    return Arithmetic(Arith::Sub, Variant(0), *this);
  }
}

String VarToStr(const Variant& v) {
  return v.IsClear() ? String() : v.AsString();
}

String FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  String s(buf);
  size_t e = s.find('E');
  if (e == String::npos) return s;
  // "1.5E-05" becomes "1.5E-5", "1E+20" becomes "1E20".
  String mantissa = s.substr(0, e);
  String exp = s.substr(e + 1);
  String sign;
  if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
    if (exp[0] == '-') sign = "-";
    exp.erase(0, 1);
  }
  size_t nz = exp.find_first_not_of('0');
  exp = nz == String::npos ? "0" : exp.substr(nz);
  return mantissa + "E" + sign + exp;
}

bool TryStrToFloat(const String& s, double& value) {
  String t = Trim(s);
  size_t i = 0, n = t.size();
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(t[i])))
    ++i, ++digits;
  if (i < n && t[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(t[i])))
      ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(t[i])))
      ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  value = std::strtod(t.c_str(), nullptr);
  return std::isfinite(value);
}

double StrToFloat(const String& s) {
  double d;
  if (!TryStrToFloat(s, d)) throw EConvertError(Format("'%s' is not a valid floating point value", s));
  return d;
}
