#include "SyntaxEd_export.h"

#include "DateUtils.h"
#include "SyntaxEd_rescan.h"
#include "SyntaxMemo_model.h"
#include "SysUtils.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

namespace {

// Calls back for each selected run of one token byte (every row's selected
// part in one piece when the row has no token bytes), then for each row end.
struct TRunVisitor {
  std::function<void(const char* text, int count, const TSM_StyleRecord* style)> Run;
  std::function<void()> RowEnd;
};

void WalkSelection(TSyntaxMemoModel& model, const TRunVisitor& visit) {
  auto [anchor, caret] = model.GetSelection();
  const int start = std::min(anchor, caret);
  const int end = std::max(anchor, caret);
  if (start >= end) return;
  const TSM_Settings& settings = model.GetSettings();
  int rowStart = 0;
  for (TRowRecord* row = model.RowAt(start, rowStart); row && rowStart < end;
       rowStart += row->Length, row = row->Next) {
    const int from = std::max(start - rowStart, 0);
    const int to = std::min(end - rowStart, static_cast<int>(row->Length));
    const char* text = row->Text.get();
    if (!row->Tokens) {
      visit.Run(text + from, to - from, nullptr);
    } else {
      for (int i = from; i < to;) {
        const uint8_t token = row->Tokens[i];
        int j = i + 1;
        while (j < to && row->Tokens[j] == token)
          ++j;
        const TSM_StyleRecord style = settings.GetStyle(settings.TokenStyle(token));
        visit.Run(text + i, j - i, &style);
        i = j;
      }
    }
    visit.RowEnd();
  }
}

String HexColor(TColor color) {
  const uint32_t v = static_cast<uint32_t>(color);
  char text[16];
  std::snprintf(text, sizeof(text), "%.6x", ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
  return text;
}

void EscapeHTML(String& out, const char* text, int count) {
  for (int i = 0; i < count; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    switch (c) {
    case 9:
    case 160:
      out += "&nbsp;";
      continue;
    case '"':
      out += "&quot;";
      continue;
    case '<':
      out += "&lt;";
      continue;
    case '>':
      out += "&gt;";
      continue;
    case '&':
      out += "&amp;";
      continue;
    default:
      break;
    }
    if (c < 32) continue;
    if (c < 128)
      out += static_cast<char>(c);
    else
      out += "&#" + std::to_string(c) + ";";
  }
}

void EscapeRTF(String& out, const char* text, int count) {
  static const char* const hex = "0123456789abcdef";
  for (int i = 0; i < count; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    switch (c) {
    case 0:
      continue;
    case 9:
      out += "\\tab ";
      continue;
    case 12:
      out += "\\page ";
      continue;
    case 13:
      out += "\\line ";
      continue;
    case 39:
      out += "\\'27";
      continue;
    case '\\':
      out += "\\\\";
      continue;
    case '{':
      out += "\\{";
      continue;
    case '}':
      out += "\\}";
      continue;
    default:
      break;
    }
    if (c < 32 || c >= 128) {
      out += "\\'";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
}

// Opening or closing tag of one attribute when it changes.
void SwitchAttribute(String& out, bool want, bool& on, const char* open, const char* close) {
  if (want == on) return;
  out += want ? open : close;
  on = want;
}

void Flush(TStream& stream, String& out) {
  if (!out.empty()) stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
  out.clear();
}

String RTFColor(uint32_t rgb) {
  return "\\red" + std::to_string(rgb & 0xFF) + "\\green" + std::to_string((rgb >> 8) & 0xFF) + "\\blue" +
         std::to_string((rgb >> 16) & 0xFF) + ";";
}

// The RTF colour table: entry 0 the text colour, 1 the background, then each
// defined style's colours not yet in it, while there is room.
class TRTFColors {
public:
  explicit TRTFColors(const TSM_Settings& settings) {
    const TSM_StyleRecord base = settings.GetStyle(0);
    FTable.fill(ExportColorToRGB(base.Foreground));
    FTable[1] = ExportColorToRGB(base.Background);
    FText = "{\\colortbl" + RTFColor(FTable[0]) + RTFColor(FTable[1]);
    for (int s = 0; s < 256; ++s) {
      const TSM_StyleRecord style = settings.GetStyle(static_cast<uint8_t>(s));
      if (!style.Defined) continue;
      Add(ExportColorToRGB(style.Foreground));
      Add(ExportColorToRGB(style.Background));
    }
    FText += "}\r\n";
  }
  const String& Text() const { return FText; }
  uint32_t Entry(int index) const { return FTable[static_cast<size_t>(index)]; }
  // The first entry holding the colour, or fallback when none does.
  int IndexOf(uint32_t rgb, int fallback) const {
    auto at = std::find(FTable.begin(), FTable.end(), rgb);
    return at == FTable.end() ? fallback : static_cast<int>(at - FTable.begin());
  }

private:
  void Add(uint32_t rgb) {
    if (FNext > 255 || IndexOf(rgb, -1) >= 0) return;
    FTable[static_cast<size_t>(FNext++)] = rgb;
    FText += RTFColor(rgb);
  }

  std::array<uint32_t, 256> FTable{};
  int FNext = 2;
  String FText;
};

} // namespace

uint32_t ExportColorToRGB(TColor color) {
  const auto v = static_cast<uint32_t>(color);
  if ((v & 0xFF000000) == 0xFF000000)
    return static_cast<uint32_t>(SysColor(static_cast<int>(v & 0xFF))) & 0xFFFFFF;
  return v & 0xFFFFFF;
}

void WriteSelectionHTML(TSyntaxMemoModel& model, TStream& stream) {
  model.GetRescanner().RescanAll();
  const TSM_Settings& settings = model.GetSettings();
  const TSM_StyleRecord base = settings.GetStyle(0);
  String out = "<HTML><HEAD>\r\n<META NAME=\"Generator\" CONTENT=\"TCustomSyntaxMemo - Velmora\">\r\n";
  out += "<TITLE>" + model.Title + "</TITLE>\r\n";
  out += "<META NAME=\"Date\" CONTENT=\"" + DateToStr(Date()) + "\">\r\n";
  out += "</HEAD>\r\n";
  out +=
      "<BODY TEXT=\"#" + HexColor(base.Foreground) + "\" BGCOLOR=\"#" + HexColor(base.Background) + "\">\r\n";
  out += "<PRE><FONT FACE=\"" + settings.FontName + "\">\r\n";
  bool bold = false, italic = false, underline = false;
  TColor color = base.Foreground;
  TRunVisitor visit;
  visit.Run = [&](const char* text, int count, const TSM_StyleRecord* style) {
    if (style) {
      if (style->Foreground != color) {
        color = style->Foreground;
        out += "</FONT><FONT COLOR=\"#" + HexColor(color) + "\">";
      }
      SwitchAttribute(out, style->FontStyle & fsBoldBit, bold, "<B>", "</B>");
      SwitchAttribute(out, style->FontStyle & fsItalicBit, italic, "<I>", "</I>");
      SwitchAttribute(out, style->FontStyle & fsUnderlineBit, underline, "<U>", "</U>");
    }
    EscapeHTML(out, text, count);
  };
  visit.RowEnd = [&] {
    out += "\r\n";
    if (out.size() > 65536) Flush(stream, out);
  };
  WalkSelection(model, visit);
  out += "</PRE></FONT></BODY></HTML>\r\n";
  Flush(stream, out);
}

void WriteSelectionRTF(TSyntaxMemoModel& model, TStream& stream) {
  model.GetRescanner().RescanAll();
  const TSM_Settings& settings = model.GetSettings();
  const TRTFColors colors(settings);
  String out = "{\\rtf1 \\deff1{\\fonttbl {\\f1 \\fnil " + settings.FontName + ";}}\r\n";
  out += colors.Text();
  out += "{\\f1\\fs" + std::to_string(2 * settings.FontSize) + "\\cf0\\cb1 ";
  uint32_t text = colors.Entry(0), back = colors.Entry(1);
  bool bold = false, italic = false, underline = false;
  TRunVisitor visit;
  visit.Run = [&](const char* chars, int count, const TSM_StyleRecord* style) {
    if (style) {
      SwitchAttribute(out, style->FontStyle & fsBoldBit, bold, "\\b1 ", "\\b0 ");
      SwitchAttribute(out, style->FontStyle & fsItalicBit, italic, "\\i1 ", "\\i0 ");
      SwitchAttribute(out, style->FontStyle & fsUnderlineBit, underline, "\\ul1 ", "\\ul0 ");
      const uint32_t fore = ExportColorToRGB(style->Foreground);
      if (fore != text) {
        const int index = colors.IndexOf(fore, 0);
        out += "\\cf" + std::to_string(index) + " ";
        text = colors.Entry(index);
      }
      const uint32_t ground = ExportColorToRGB(style->Background);
      if (ground != back) {
        const int index = colors.IndexOf(ground, 1);
        out += "\\cb" + std::to_string(index) + " ";
        back = colors.Entry(index);
      }
    }
    EscapeRTF(out, chars, count);
  };
  visit.RowEnd = [&] {
    out += "\r\n";
    if (out.size() > 65536) Flush(stream, out);
  };
  WalkSelection(model, visit);
  out += "}}";
  Flush(stream, out);
}
