// Variants of the class library: a value that carries its own type, with the
// library's conversions and comparisons.
#pragma once

#include "SysUtils.h"

#include <cstdint>
#include <memory>
#include <vector>

// Days since 1899-12-30, the time of day as the fraction.
using TDateTime = double;

// Type codes as the class library numbers them.
enum TVarType : uint16_t {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varBoolean = 0x000B,
  varWord = 0x0012,
  varLongWord = 0x0013,
  varInt64 = 0x0014,
  varString = 0x0100,
  varArray = 0x2000,
};

class EVariantError : public Exception {
public:
  using Exception::Exception;
};

// "Could not convert variant of type (%s) into type (%s)".
class EVariantTypeCastError : public EVariantError {
public:
  using EVariantError::EVariantError;
};

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class Variant {
public:
  Variant() = default; // unassigned
  Variant(bool v) : FType(varBoolean), FInt(v ? -1 : 0) {}
  Variant(int16_t v) : FType(varSmallint), FInt(v) {}
  Variant(uint16_t v) : FType(varWord), FInt(v) {}
  Variant(int v) : FType(varInteger), FInt(v) {}
  Variant(uint32_t v) : FType(varLongWord), FInt(v) {}
  Variant(int64_t v) : FType(varInt64), FInt(v) {}
  Variant(double v) : FType(varDouble), FFloat(v) {}
  Variant(const String& v) : FType(varString), FText(v) {}
  Variant(String&& v) : FType(varString), FText(std::move(v)) {}
  Variant(const char* v) : FType(varString), FText(v) {}

  static Variant Null();
  static Variant FromDate(TDateTime v);
  // Currency is kept scaled by 10 000, as the class library does.
  static Variant FromCurrency(int64_t scaled);
  static Variant Array(std::vector<Variant> items);

  TVarType VarType() const { return FType; }
  bool IsEmpty() const { return FType == varEmpty; }
  bool IsNull() const { return FType == varNull; }
  bool IsArray() const { return FType == varArray; }
  // Null or unassigned.
  bool IsClear() const { return FType == varEmpty || FType == varNull; }
  bool IsNumeric() const;
  bool IsOrdinal() const;
  bool IsStr() const { return FType == varString; }

  // Conversions raise EVariantTypeCastError where the class library does
  // (Null to anything, text that is not a number to a number, an array to a
  // simple value); unassigned converts to 0, false or empty text.
  String AsString() const;
  int AsInteger() const;
  int64_t AsInt64() const;
  double AsFloat() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;
  int64_t AsCurrency() const;
  // This value changed to another type code (VarAsType).
  Variant AsType(TVarType type) const;

  // Array access (0-based, as VarArrayOf builds them).
  int ArrayHighBound() const;
  const Variant& operator[](int index) const;
  Variant& operator[](int index);
  const std::vector<Variant>& Items() const;

  // The class library's comparison: Null equals only Null and sorts below
  // every other value; numbers compare by value, text as the system's locale
  // orders it (CompareTextAsLocale); text against a number converts the text.
  friend bool operator==(const Variant& a, const Variant& b);
  friend bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }
  friend bool operator<(const Variant& a, const Variant& b);
  friend bool operator>(const Variant& a, const Variant& b) { return b < a; }
  friend bool operator<=(const Variant& a, const Variant& b) { return !(b < a); }
  friend bool operator>=(const Variant& a, const Variant& b) { return !(a < b); }

  // Arithmetic as the class library does it: Null in, Null out; integers stay
  // integers while the result fits, division always gives a float; text +
  // text concatenates.
  friend Variant operator+(const Variant& a, const Variant& b);
  friend Variant operator-(const Variant& a, const Variant& b);
  friend Variant operator*(const Variant& a, const Variant& b);
  friend Variant operator/(const Variant& a, const Variant& b);
  friend Variant operator%(const Variant& a, const Variant& b);
  Variant operator-() const;

private:
  [[noreturn]] void CastError(TVarType to) const;
  TVarType FType = varEmpty;
  int64_t FInt = 0;
  double FFloat = 0;
  String FText;
  std::shared_ptr<std::vector<Variant>> FArray; // copied on write
};

inline Variant Null() {
  return Variant::Null();
}
inline Variant Unassigned() {
  return Variant();
}
Variant VarArrayOf(std::vector<Variant> items);
inline bool VarIsNull(const Variant& v) {
  return v.IsNull();
}
inline bool VarIsEmpty(const Variant& v) {
  return v.IsEmpty();
}
inline bool VarIsClear(const Variant& v) {
  return v.IsClear();
}
inline bool VarIsArray(const Variant& v) {
  return v.IsArray();
}
inline int VarArrayHighBound(const Variant& v) {
  return v.ArrayHighBound();
}
// Null and unassigned give the empty text instead of raising.
String VarToStr(const Variant& v);
String VarTypeAsText(TVarType type);
// The order of the system's locale for ANSI text, case-sensitive: letters
// compare without regard to case first, and where that is all that differs
// the small letter sorts first ("a" < "A" < "b"). -1, 0 or 1.
int CompareTextAsLocale(const String& a, const String& b);
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);

// Float conversions with "." as the decimal separator and at most 15
// significant digits, as the class library's general format.
String FloatToStr(double value);
double StrToFloat(const String& s);
bool TryStrToFloat(const String& s, double& value);
