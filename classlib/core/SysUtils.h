// The portable core of the class library: strings, exceptions, formatting
// and conversions.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Text is bytes in the system ANSI code page.
using String = std::string;

class Exception : public std::exception {
public:
  explicit Exception(String msg) : Message(std::move(msg)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  String Message;
};

class EConvertError : public Exception {
public:
  using Exception::Exception;
};

class EInvalidCast : public Exception {
public:
  using Exception::Exception;
};

class EListError : public Exception {
public:
  using Exception::Exception;
};

class EStreamError : public Exception {
public:
  using Exception::Exception;
};

class EFOpenError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

class EReadError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

namespace format_detail {

// One argument of Format, whatever its C++ type; %d, %u and %lu read integers,
// %s reads text, so the same format means the same thing on every build.
struct Arg {
  enum Kind { kSigned, kUnsigned, kFloat, kText, kPointer } kind;
  int64_t i = 0;
  uint64_t u = 0;
  double f = 0;
  std::string_view s;
  const void* p = nullptr;

  template <typename T> static Arg Of(const T& v) {
    Arg a{};
    if constexpr (std::is_same_v<T, bool>) {
      a.kind = kUnsigned;
      a.u = v ? 1 : 0;
    } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
      if constexpr (std::is_signed_v<T> || std::is_enum_v<T>) {
        a.kind = kSigned;
        a.i = static_cast<int64_t>(v);
      } else {
        a.kind = kUnsigned;
        a.u = static_cast<uint64_t>(v);
      }
    } else if constexpr (std::is_floating_point_v<T>) {
      a.kind = kFloat;
      a.f = static_cast<double>(v);
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
      a.kind = kText;
      a.s = std::string_view(v);
    } else if constexpr (std::is_pointer_v<T>) {
      a.kind = kPointer;
      a.p = static_cast<const void*>(v);
    } else {
      static_assert(sizeof(T) == 0, "Format: unsupported argument type");
    }
    return a;
  }
};

String FormatArgs(std::string_view fmt, const Arg* args, size_t count);

} // namespace format_detail

// Format("%d rows in %s", n, name): the class library's Format, type-safe.
// Supports flags '-', '0', width, '.precision' (text: the most characters
// taken), the length letters l/ll/h (ignored) and the conversions d i u x X s c f g e p %.
// A missing argument or one of the wrong kind raises EConvertError.
template <typename... Args> String Format(std::string_view fmt, const Args&... args) {
  if constexpr (sizeof...(Args) == 0) {
    return format_detail::FormatArgs(fmt, nullptr, 0);
  } else {
    const format_detail::Arg list[] = {format_detail::Arg::Of(args)...};
    return format_detail::FormatArgs(fmt, list, sizeof...(Args));
  }
}

String IntToStr(int64_t value);
String UIntToStr(uint64_t value);
// Raises EConvertError ("'%s' is not a valid integer value") for text that is
// not a whole decimal (or $hex) number within the range of the result.
int StrToInt(const String& s);
int64_t StrToInt64(const String& s);
int StrToIntDef(const String& s, int def);
int64_t StrToInt64Def(const String& s, int64_t def);
bool TryStrToInt64(const String& s, int64_t& value);
String IntToHex(uint64_t value, int digits);

String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
String UpperCase(const String& s);
String LowerCase(const String& s);
int CompareText(const String& a, const String& b);
bool SameText(const String& a, const String& b);

// 1-based search as the class library does it: 0 when not found.
int Pos(const String& sub, const String& s);
String Copy(const String& s, int index, int count);
String StringOfChar(char c, int count);

// Lines end in CR LF.
inline constexpr const char* sLineBreak = "\r\n";
