#include "SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

namespace format_detail {
namespace {

[[noreturn]] void BadFormat(std::string_view fmt) {
  throw EConvertError("Format '" + String(fmt) + "' invalid or incompatible with argument");
}

void Pad(String& out, const String& body, int width, bool left, char fill) {
  int pad = width - static_cast<int>(body.size());
  if (pad <= 0) {
    out += body;
    return;
  }
  if (left) {
    out += body;
    out.append(static_cast<size_t>(pad), ' ');
  } else if (fill == '0' && !body.empty() && (body[0] == '-' || body[0] == '+')) {
    out += body[0];
    out.append(static_cast<size_t>(pad), '0');
    out.append(body, 1);
  } else {
    out.append(static_cast<size_t>(pad), fill);
    out += body;
  }
}

} // namespace

String FormatArgs(std::string_view fmt, const Arg* args, size_t count) {
  String out;
  out.reserve(fmt.size() + 16 * count);
  size_t next = 0;
  for (size_t i = 0; i < fmt.size(); ++i) {
    char c = fmt[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= fmt.size()) BadFormat(fmt);
    if (fmt[i] == '%') {
      out += '%';
      continue;
    }
    bool left = false;
    char fill = ' ';
    for (; i < fmt.size() && (fmt[i] == '-' || fmt[i] == '0'); ++i) {
      if (fmt[i] == '-') left = true;
      else fill = '0';
    }
    int width = 0;
    for (; i < fmt.size() && std::isdigit(static_cast<unsigned char>(fmt[i])); ++i)
      width = width * 10 + (fmt[i] - '0');
    int prec = -1;
    if (i < fmt.size() && fmt[i] == '.') {
      prec = 0;
      for (++i; i < fmt.size() && std::isdigit(static_cast<unsigned char>(fmt[i])); ++i)
        prec = prec * 10 + (fmt[i] - '0');
    }
    while (i < fmt.size() && (fmt[i] == 'l' || fmt[i] == 'h' || fmt[i] == 'z')) ++i;
    if (i >= fmt.size() || next >= count) BadFormat(fmt);
    const Arg& a = args[next++];
    char conv = fmt[i];
    char buf[64];
    String body;
    switch (conv) {
    case 'd':
    case 'i':
      if (a.kind == Arg::kSigned) body = std::to_string(a.i);
      else if (a.kind == Arg::kUnsigned) body = std::to_string(a.u);
      else BadFormat(fmt);
      break;
    case 'u':
      if (a.kind == Arg::kSigned) body = std::to_string(static_cast<uint32_t>(a.i));
      else if (a.kind == Arg::kUnsigned) body = std::to_string(a.u);
      else BadFormat(fmt);
      break;
    case 'x':
    case 'X': {
      uint64_t v;
      if (a.kind == Arg::kSigned) v = static_cast<uint64_t>(a.i);
      else if (a.kind == Arg::kUnsigned) v = a.u;
      else BadFormat(fmt);
      std::snprintf(buf, sizeof buf, conv == 'x' ? "%llx" : "%llX", static_cast<unsigned long long>(v));
      body = buf;
      if (prec > 0 && static_cast<int>(body.size()) < prec) body.insert(0, prec - body.size(), '0');
      break;
    }
    case 'c':
      if (a.kind == Arg::kSigned) body = String(1, static_cast<char>(a.i));
      else if (a.kind == Arg::kUnsigned) body = String(1, static_cast<char>(a.u));
      else BadFormat(fmt);
      break;
    case 's':
      if (a.kind != Arg::kText) BadFormat(fmt);
      body = String(prec >= 0 ? a.s.substr(0, static_cast<size_t>(prec)) : a.s);
      break;
    case 'f':
    case 'g':
    case 'e': {
      double v;
      if (a.kind == Arg::kFloat) v = a.f;
      else if (a.kind == Arg::kSigned) v = static_cast<double>(a.i);
      else if (a.kind == Arg::kUnsigned) v = static_cast<double>(a.u);
      else BadFormat(fmt);
      char spec[8] = {'%', '.', '*', conv, 0};
      std::snprintf(buf, sizeof buf, spec, prec >= 0 ? prec : (conv == 'g' ? 15 : 2), v);
      body = buf;
      break;
    }
    case 'p':
      if (a.kind != Arg::kPointer) BadFormat(fmt);
      std::snprintf(buf, sizeof buf, "%p", a.p);
      body = buf;
      break;
    default:
      BadFormat(fmt);
    }
    Pad(out, body, width, left, conv == 's' ? ' ' : fill);
  }
  return out;
}

} // namespace format_detail

String IntToStr(int64_t value) { return std::to_string(value); }
String UIntToStr(uint64_t value) { return std::to_string(value); }

bool TryStrToInt64(const String& text, int64_t& value) {
  String s = Trim(text);
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t acc = 0;
  const uint64_t limit = neg ? uint64_t(std::numeric_limits<int64_t>::max()) + 1
                             : uint64_t(std::numeric_limits<int64_t>::max());
  for (; i < s.size(); ++i) {
    int d;
    char c = s[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    if (acc > (limit - d) / base) return false;
    acc = acc * base + d;
  }
  value = neg ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
  return true;
}

int64_t StrToInt64(const String& s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
  return v;
}

int StrToInt(const String& s) {
  int64_t v;
  if (!TryStrToInt64(s, v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
    throw EConvertError("'" + s + "' is not a valid integer value");
  return static_cast<int>(v);
}

int StrToIntDef(const String& s, int def) {
  int64_t v;
  if (!TryStrToInt64(s, v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
    return def;
  return static_cast<int>(v);
}

int64_t StrToInt64Def(const String& s, int64_t def) {
  int64_t v;
  return TryStrToInt64(s, v) ? v : def;
}

String IntToHex(uint64_t value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(value));
  return buf;
}

// Trim removes blanks and control characters, as the class library does.
String TrimLeft(const String& s) {
  size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  return s.substr(b);
}

String TrimRight(const String& s) {
  size_t e = s.size();
  while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(0, e);
}

String Trim(const String& s) { return TrimRight(TrimLeft(s)); }

// Only the ASCII letters change case, as the class library's UpperCase does.
String UpperCase(const String& s) {
  String r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

String LowerCase(const String& s) {
  String r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

int CompareText(const String& a, const String& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return int(x) - int(y);
  }
  return int(a.size()) - int(b.size());
}

bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareText(a, b) == 0; }

int Pos(const String& sub, const String& s) {
  if (sub.empty()) return 0;
  size_t p = s.find(sub);
  return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

String Copy(const String& s, int index, int count) {
  if (index < 1) index = 1;
  if (count <= 0 || static_cast<size_t>(index) > s.size()) return String();
  return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

String StringOfChar(char c, int count) { return count > 0 ? String(static_cast<size_t>(count), c) : String(); }
