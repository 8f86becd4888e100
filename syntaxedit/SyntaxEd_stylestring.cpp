#include "SyntaxEd_stylestring.h"

#include <charconv>
#include <map>
#include <optional>

namespace {

constexpr const char* kSignature = "Halvik6:";
constexpr const char* kKeys[] = {"OPT", "GWD", "GCL", "WRC", "IDS", "WRO", "FON", "FOS",
                                 "STC", "STB", "TBC", "TBD", "EFF", "GDF", "MDF", "SDF",
                                 "BDF", "FOC", "RMG", "LNN", "LNS", "LNC", "LNT", "LNE"};
// Indices of the system-colour markers for GDF, MDF, SDF and BDF.
constexpr int kGutterMarker = 3, kMarginMarker = 0, kSelTextMarker = 1, kSelBackMarker = 2;

String Number(int64_t value) {
  return std::to_string(static_cast<int32_t>(value));
}

String TabColumnsText(const TSM_Settings& s) {
  String text;
  for (int i = 0; i < TSM_Settings::TabColumnCount && s.TabColumns[static_cast<size_t>(i)] >= 0; ++i) {
    if (!text.empty()) text += ' ';
    text += std::to_string(s.TabColumns[static_cast<size_t>(i)] + 1);
  }
  return text;
}

String StylesText(const TSM_Settings& s) {
  String entries;
  int count = 0;
  for (int token = 0; token < 256; ++token) {
    const TSM_StyleRecord style = s.GetStyle(s.TokenStyle(static_cast<uint8_t>(token)));
    if (!style.Defined) continue;
    ++count;
    entries += std::to_string(token) + "," + Number(style.Foreground) + "," + Number(style.Background) + ",";
    if (style.SysBackground) entries += 'X';
    if (style.SysForeground) entries += 'Y';
    if (style.FontStyle & fsBoldBit) entries += 'B';
    if (style.FontStyle & fsItalicBit) entries += 'I';
    if (style.FontStyle & fsUnderlineBit) entries += 'U';
    entries += ';';
  }
  count = std::min(count, 255);
  return std::to_string(count) + (count > 0 ? "," : "") + entries;
}

String FontStyleLetters(uint8_t style) {
  String text;
  if (style & fsItalicBit) text += 'I';
  if (style & fsBoldBit) text += 'B';
  if (style & fsUnderlineBit) text += 'U';
  if (style & fsStrikeOutBit) text += 'S';
  return text;
}

std::map<String, String> FieldValues(const TSM_Settings& s) {
  return {
      {"OPT", Number(s.Options)},
      {"GWD", Number(s.GutterWidth)},
      {"GCL", Number(s.GutterColor)},
      {"WRC", Number(s.WordWrapColumn)},
      {"IDS", Number(s.IndentStep)},
      {"WRO", s.WrapOverride},
      {"FON", s.FontName},
      {"FOS", Number(s.FontSize)},
      {"STC", Number(s.SelTextColor)},
      {"STB", Number(s.SelTextBack)},
      {"TBC", TabColumnsText(s)},
      {"TBD", Number(s.TabDefault)},
      {"EFF", StylesText(s)},
      {"GDF", s.SystemColorMarkers[kGutterMarker] ? "1" : "0"},
      {"MDF", s.SystemColorMarkers[kMarginMarker] ? "1" : "0"},
      {"SDF", s.SystemColorMarkers[kSelTextMarker] ? "1" : "0"},
      {"BDF", s.SystemColorMarkers[kSelBackMarker] ? "1" : "0"},
      {"FOC", Number(s.FontCharSet)},
      {"RMG", Number(s.RightMargin)},
      {"LNN", s.GutterFont.Name},
      {"LNS", Number(s.GutterFont.Size)},
      {"LNC", Number(s.GutterFont.Color)},
      {"LNE", FontStyleLetters(s.GutterFont.Style)},
  };
}

// --- Reading --------------------------------------------------------------------

// A cursor over the string that fails for good at the first mismatch.
class TReader {
public:
  explicit TReader(const String& text) : FText(text) {}
  bool Take(std::string_view what) {
    if (FText.compare(FAt, what.size(), what) != 0) return false;
    FAt += what.size();
    return true;
  }
  std::optional<int64_t> Integer(char stop) {
    const size_t end = FText.find(stop, FAt);
    if (end == String::npos) return std::nullopt;
    int64_t value = 0;
    auto [p, ec] = std::from_chars(FText.data() + FAt, FText.data() + end, value);
    if (ec != std::errc() || p != FText.data() + end) return std::nullopt;
    FAt = end + 1;
    return value;
  }
  std::optional<String> Chars(int64_t count) {
    if (count < 0 || static_cast<size_t>(count) > FText.size() - FAt) return std::nullopt;
    String value = FText.substr(FAt, static_cast<size_t>(count));
    FAt += static_cast<size_t>(count);
    return value;
  }
  bool AtEnd() const { return FAt == FText.size(); }

private:
  const String& FText;
  size_t FAt = 0;
};

std::optional<int32_t> Int32(const String& text) {
  int64_t value = 0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || p != text.data() + text.size() || text.empty()) return std::nullopt;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

bool ParseTabColumns(const String& text, std::array<int32_t, TSM_Settings::TabColumnCount>& columns) {
  columns.fill(-1);
  size_t at = 0;
  int count = 0, previous = 1;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == String::npos) end = text.size();
    auto value = Int32(text.substr(at, end - at));
    if (!value || *value <= previous || count >= TSM_Settings::TabColumnCount) return false;
    columns[static_cast<size_t>(count++)] = *value - 1;
    previous = *value;
    at = end + 1;
  }
  return true;
}

bool ParseStyles(const String& text, TSM_Settings& s) {
  // Without entries the value is the bare count.
  const String counted = text.find(',') == String::npos ? text + "," : text;
  TReader in(counted);
  auto count = in.Integer(',');
  if (!count || *count < 0 || *count > 255) return false;
  while (!in.AtEnd()) {
    auto token = in.Integer(',');
    auto fore = token ? in.Integer(',') : std::nullopt;
    auto back = fore ? in.Integer(',') : std::nullopt;
    if (!back || *token < 0 || *token > 255) return false;
    TSM_StyleRecord style = s.GetStyle(s.TokenStyle(static_cast<uint8_t>(*token)));
    style.Foreground = static_cast<TColor>(*fore);
    style.Background = static_cast<TColor>(*back);
    style.SysBackground = in.Take("X");
    style.SysForeground = in.Take("Y");
    style.FontStyle = 0;
    if (in.Take("B")) style.FontStyle |= fsBoldBit;
    if (in.Take("I")) style.FontStyle |= fsItalicBit;
    if (in.Take("U")) style.FontStyle |= fsUnderlineBit;
    if (!in.Take(";")) return false;
    style.Defined = 1;
    s.SetStyle(s.TokenStyle(static_cast<uint8_t>(*token)), style);
  }
  return true;
}

uint8_t ParseFontStyle(const String& text, bool& ok) {
  uint8_t style = 0;
  for (char c : text) {
    switch (c) {
    case 'I':
      style |= fsItalicBit;
      break;
    case 'B':
      style |= fsBoldBit;
      break;
    case 'U':
      style |= fsUnderlineBit;
      break;
    case 'S':
      style |= fsStrikeOutBit;
      break;
    default:
      ok = false;
    }
  }
  return style;
}

// Every field into a copy of the settings; false at the first bad one.
bool ApplyFields(const std::map<String, String>& fields, TSM_Settings& s) {
  bool ok = true;
  auto number = [&](const char* key, auto& target) {
    auto value = Int32(fields.at(key));
    if (!value)
      ok = false;
    else
      target = static_cast<std::remove_reference_t<decltype(target)>>(*value);
  };
  auto marker = [&](const char* key, int index) {
    const String& v = fields.at(key);
    if (v != "0" && v != "1") ok = false;
    s.SystemColorMarkers[static_cast<size_t>(index)] = v == "1";
  };
  number("OPT", s.Options);
  number("GWD", s.GutterWidth);
  number("GCL", s.GutterColor);
  number("WRC", s.WordWrapColumn);
  number("IDS", s.IndentStep);
  s.WrapOverride = fields.at("WRO");
  s.FontName = fields.at("FON");
  number("FOS", s.FontSize);
  number("STC", s.SelTextColor);
  number("STB", s.SelTextBack);
  if (!ParseTabColumns(fields.at("TBC"), s.TabColumns)) ok = false;
  number("TBD", s.TabDefault);
  if (ok && s.TabDefault < 1) ok = false;
  if (!ParseStyles(fields.at("EFF"), s)) ok = false;
  marker("GDF", kGutterMarker);
  marker("MDF", kMarginMarker);
  marker("SDF", kSelTextMarker);
  marker("BDF", kSelBackMarker);
  number("FOC", s.FontCharSet);
  number("RMG", s.RightMargin);
  s.GutterFont.Name = fields.at("LNN");
  number("LNS", s.GutterFont.Size);
  number("LNC", s.GutterFont.Color);
  s.GutterFont.Style = ParseFontStyle(fields.at("LNE"), ok);
  return ok;
}

} // namespace

String BuildStyleString(const TSM_Settings& settings) {
  const auto values = FieldValues(settings);
  String text = kSignature;
  for (const char* key : kKeys) {
    text += String(key) + "#";
    auto value = values.find(key);
    if (value == values.end()) continue;
    text += std::to_string(value->second.size()) + "#" + value->second;
  }
  return text + "#END#";
}

bool ApplyStyleString(TSM_Settings& settings, const String& text) {
  TReader in(text);
  if (!in.Take(kSignature)) return false;
  std::map<String, String> fields;
  for (const char* key : kKeys) {
    if (!in.Take(key) || !in.Take("#")) return false;
    if (String(key) == "LNT") continue;
    auto length = in.Integer('#');
    auto value = length ? in.Chars(*length) : std::nullopt;
    if (!value) return false;
    fields[key] = *value;
  }
  if (!in.Take("#END#") || !in.AtEnd()) return false;
  // Tried on a copy first, so that a bad field leaves the settings whole.
  TSM_Settings copy;
  copy.Assign(settings);
  if (!ApplyFields(fields, copy)) return false;
  return ApplyFields(fields, settings);
}
