#include "cxExtEditConsts.h"

#include "cxEditStringIds.h"

#include <vector>

namespace {

// The tables are written as the colours' usual #RRGGBB values.
constexpr TColor Rgb(uint32_t ARgb) {
  return static_cast<TColor>(((ARgb & 0xFF) << 16) | (ARgb & 0xFF00) | ((ARgb >> 16) & 0xFF));
}

const TcxColorNameEntry kHTML4Colors[] = {
    {Rgb(0x000000), "Black"},  {Rgb(0xC0C0C0), "Silver"},  {Rgb(0x808080), "Gray"},
    {Rgb(0xFFFFFF), "White"},  {Rgb(0x800000), "Maroon"},  {Rgb(0xFF0000), "Red"},
    {Rgb(0x800080), "Purple"}, {Rgb(0xFF00FF), "Fuchsia"}, {Rgb(0x008000), "Green"},
    {Rgb(0x00FF00), "Lime"},   {Rgb(0x808000), "Olive"},   {Rgb(0xFFFF00), "Yellow"},
    {Rgb(0x000080), "Navy"},   {Rgb(0x0000FF), "Blue"},    {Rgb(0x008080), "Teal"},
    {Rgb(0x00FFFF), "Aqua"},
};

const TcxColorNameEntry kX11Colors[] = {
    {Rgb(0xF0F8FF), "AliceBlue"},
    {Rgb(0xFAEBD7), "AntiqueWhite"},
    {Rgb(0x00FFFF), "Aqua"},
    {Rgb(0x7FFFD4), "Aquamarine"},
    {Rgb(0xF0FFFF), "Azure"},
    {Rgb(0xF5F5DC), "Beige"},
    {Rgb(0xFFE4C4), "Bisque"},
    {Rgb(0x000000), "Black"},
    {Rgb(0xFFEBCD), "BlanchedAlmond"},
    {Rgb(0x0000FF), "Blue"},
    {Rgb(0x8A2BE2), "BlueViolet"},
    {Rgb(0xA52A2A), "Brown"},
    {Rgb(0xDEB887), "BurlyWood"},
    {Rgb(0x5F9EA0), "CadetBlue"},
    {Rgb(0x7FFF00), "Chartreuse"},
    {Rgb(0xD2691E), "Chocolate"},
    {Rgb(0xFF7F50), "Coral"},
    {Rgb(0x6495ED), "CornflowerBlue"},
    {Rgb(0xFFF8DC), "Cornsilk"},
    {Rgb(0xDC143C), "Crimson"},
    {Rgb(0x00FFFF), "Cyan"},
    {Rgb(0x00008B), "DarkBlue"},
    {Rgb(0x008B8B), "DarkCyan"},
    {Rgb(0xB8860B), "DarkGoldenrod"},
    {Rgb(0xA9A9A9), "DarkGray"},
    {Rgb(0x006400), "DarkGreen"},
    {Rgb(0xBDB76B), "DarkKhaki"},
    {Rgb(0x8B008B), "DarkMagenta"},
    {Rgb(0x556B2F), "DarkOliveGreen"},
    {Rgb(0xFF8C00), "DarkOrange"},
    {Rgb(0x9932CC), "DarkOrchid"},
    {Rgb(0x8B0000), "DarkRed"},
    {Rgb(0xE9967A), "DarkSalmon"},
    {Rgb(0x8FBC8F), "DarkSeaGreen"},
    {Rgb(0x483D8B), "DarkSlateBlue"},
    {Rgb(0x2F4F4F), "DarkSlateGray"},
    {Rgb(0x00CED1), "DarkTurquoise"},
    {Rgb(0x9400D3), "DarkViolet"},
    {Rgb(0xFF1493), "DeepPink"},
    {Rgb(0x00BFFF), "DeepSkyBlue"},
    {Rgb(0x696969), "DimGray"},
    {Rgb(0x1E90FF), "DodgerBlue"},
    {Rgb(0xB22222), "FireBrick"},
    {Rgb(0xFFFAF0), "FloralWhite"},
    {Rgb(0x228B22), "ForestGreen"},
    {Rgb(0xFF00FF), "Fuchsia"},
    {Rgb(0xDCDCDC), "Gainsboro"},
    {Rgb(0xF8F8FF), "GhostWhite"},
    {Rgb(0xFFD700), "Gold"},
    {Rgb(0xDAA520), "Goldenrod"},
    {Rgb(0x808080), "Gray"},
    {Rgb(0x008000), "Green"},
    {Rgb(0xADFF2F), "GreenYellow"},
    {Rgb(0xF0FFF0), "Honeydew"},
    {Rgb(0xFF69B4), "HotPink"},
    {Rgb(0xCD5C5C), "IndianRed"},
    {Rgb(0x4B0082), "Indigo"},
    {Rgb(0xFFFFF0), "Ivory"},
    {Rgb(0xF0E68C), "Khaki"},
    {Rgb(0xE6E6FA), "Lavender"},
    {Rgb(0xFFF0F5), "LavenderBlush"},
    {Rgb(0x7CFC00), "LawnGreen"},
    {Rgb(0xFFFACD), "LemonChiffon"},
    {Rgb(0xADD8E6), "LightBlue"},
    {Rgb(0xF08080), "LightCoral"},
    {Rgb(0xE0FFFF), "LightCyan"},
    {Rgb(0xFAFAD2), "LightGoldenrodYellow"},
    {Rgb(0x90EE90), "LightGreen"},
    {Rgb(0xD3D3D3), "LightGrey"},
    {Rgb(0xFFB6C1), "LightPink"},
    {Rgb(0xFFA07A), "LightSalmon"},
    {Rgb(0x20B2AA), "LightSeaGreen"},
    {Rgb(0x87CEFA), "LightSkyBlue"},
    {Rgb(0x778899), "LightSlateGray"},
    {Rgb(0xB0C4DE), "LightSteelBlue"},
    {Rgb(0xFFFFE0), "LightYellow"},
    {Rgb(0x00FF00), "Lime"},
    {Rgb(0x32CD32), "LimeGreen"},
    {Rgb(0xFAF0E6), "Linen"},
    {Rgb(0xFF00FF), "Magenta"},
    {Rgb(0x800000), "Maroon"},
    {Rgb(0x66CDAA), "MediumAquamarine"},
    {Rgb(0x0000CD), "MediumBlue"},
    {Rgb(0xBA55D3), "MediumOrchid"},
    {Rgb(0x9370DB), "MediumPurple"},
    {Rgb(0x3CB371), "MediumSeaGreen"},
    {Rgb(0x7B68EE), "MediumSlateBlue"},
    {Rgb(0x00FA9A), "MediumSpringGreen"},
    {Rgb(0x48D1CC), "MediumTurquoise"},
    {Rgb(0xC71585), "MediumVioletRed"},
    {Rgb(0x191970), "MidnightBlue"},
    {Rgb(0xF5FFFA), "MintCream"},
    {Rgb(0xFFE4E1), "MistyRose"},
    {Rgb(0xFFE4B5), "Moccasin"},
    {Rgb(0xFFDEAD), "NavajoWhite"},
    {Rgb(0x000080), "Navy"},
    {Rgb(0xFDF5E6), "OldLace"},
    {Rgb(0x808000), "Olive"},
    {Rgb(0x6B8E23), "OliveDrab"},
    {Rgb(0xFFA500), "Orange"},
    {Rgb(0xFF4500), "OrangeRed"},
    {Rgb(0xDA70D6), "Orchid"},
    {Rgb(0xEEE8AA), "PaleGoldenrod"},
    {Rgb(0x98FB98), "PaleGreen"},
    {Rgb(0xAFEEEE), "PaleTurquoise"},
    {Rgb(0xDB7093), "PaleVioletRed"},
    {Rgb(0xFFEFD5), "PapayaWhip"},
    {Rgb(0xFFDAB9), "PeachPuff"},
    {Rgb(0xCD853F), "Peru"},
    {Rgb(0xFFC0CB), "Pink"},
    {Rgb(0xDDA0DD), "Plum"},
    {Rgb(0xB0E0E6), "PowderBlue"},
    {Rgb(0x800080), "Purple"},
    {Rgb(0xFF0000), "Red"},
    {Rgb(0xBC8F8F), "RosyBrown"},
    {Rgb(0x4169E1), "RoyalBlue"},
    {Rgb(0x8B4513), "SaddleBrown"},
    {Rgb(0xFA8072), "Salmon"},
    {Rgb(0xF4A460), "SandyBrown"},
    {Rgb(0x2E8B57), "SeaGreen"},
    {Rgb(0xFFF5EE), "Seashell"},
    {Rgb(0xA0522D), "Sienna"},
    {Rgb(0xC0C0C0), "Silver"},
    {Rgb(0x87CEEB), "SkyBlue"},
    {Rgb(0x6A5ACD), "SlateBlue"},
    {Rgb(0x708090), "SlateGray"},
    {Rgb(0xFFFAFA), "Snow"},
    {Rgb(0x00FF7F), "SpringGreen"},
    {Rgb(0x4682B4), "SteelBlue"},
    {Rgb(0xD2B48C), "Tan"},
    {Rgb(0x008080), "Teal"},
    {Rgb(0xD8BFD8), "Thistle"},
    {Rgb(0xFF6347), "Tomato"},
    {Rgb(0x40E0D0), "Turquoise"},
    {Rgb(0xEE82EE), "Violet"},
    {Rgb(0xF5DEB3), "Wheat"},
    {Rgb(0xFFFFFF), "White"},
    {Rgb(0xF5F5F5), "WhiteSmoke"},
    {Rgb(0xFFFF00), "Yellow"},
    {Rgb(0x9ACD32), "YellowGreen"},
};

const TcxColorNameEntry kX11OrderedColors[] = {
    {Rgb(0xFFB6C1), "LightPink"},
    {Rgb(0xFFC0CB), "Pink"},
    {Rgb(0xDC143C), "Crimson"},
    {Rgb(0xFFF0F5), "LavenderBlush"},
    {Rgb(0xDB7093), "PaleVioletRed"},
    {Rgb(0xFF69B4), "HotPink"},
    {Rgb(0xFF1493), "DeepPink"},
    {Rgb(0xC71585), "MediumVioletRed"},
    {Rgb(0xDA70D6), "Orchid"},
    {Rgb(0xD8BFD8), "Thistle"},
    {Rgb(0xDDA0DD), "Plum"},
    {Rgb(0xEE82EE), "Violet"},
    {Rgb(0xFF00FF), "Magenta"},
    {Rgb(0xFF00FF), "Fuchsia"},
    {Rgb(0x8B008B), "DarkMagenta"},
    {Rgb(0x800080), "Purple"},
    {Rgb(0xBA55D3), "MediumOrchid"},
    {Rgb(0x9400D3), "DarkViolet"},
    {Rgb(0x9932CC), "DarkOrchid"},
    {Rgb(0x4B0082), "Indigo"},
    {Rgb(0x8A2BE2), "BlueViolet"},
    {Rgb(0x9370DB), "MediumPurple"},
    {Rgb(0x7B68EE), "MediumSlateBlue"},
    {Rgb(0x6A5ACD), "SlateBlue"},
    {Rgb(0x483D8B), "DarkSlateBlue"},
    {Rgb(0xE6E6FA), "Lavender"},
    {Rgb(0xF8F8FF), "GhostWhite"},
    {Rgb(0x0000FF), "Blue"},
    {Rgb(0x0000CD), "MediumBlue"},
    {Rgb(0x191970), "MidnightBlue"},
    {Rgb(0x00008B), "DarkBlue"},
    {Rgb(0x000080), "Navy"},
    {Rgb(0x4169E1), "RoyalBlue"},
    {Rgb(0x6495ED), "CornflowerBlue"},
    {Rgb(0xB0C4DE), "LightSteelBlue"},
    {Rgb(0x778899), "LightSlateGray"},
    {Rgb(0x708090), "SlateGray"},
    {Rgb(0x1E90FF), "DodgerBlue"},
    {Rgb(0xF0F8FF), "AliceBlue"},
    {Rgb(0x4682B4), "SteelBlue"},
    {Rgb(0x87CEFA), "LightSkyBlue"},
    {Rgb(0x87CEEB), "SkyBlue"},
    {Rgb(0x00BFFF), "DeepSkyBlue"},
    {Rgb(0xADD8E6), "LightBlue"},
    {Rgb(0xB0E0E6), "PowderBlue"},
    {Rgb(0x5F9EA0), "CadetBlue"},
    {Rgb(0xF0FFFF), "Azure"},
    {Rgb(0xE0FFFF), "LightCyan"},
    {Rgb(0xAFEEEE), "PaleTurquoise"},
    {Rgb(0x00FFFF), "Cyan"},
    {Rgb(0x00FFFF), "Aqua"},
    {Rgb(0x00CED1), "DarkTurquoise"},
    {Rgb(0x2F4F4F), "DarkSlateGray"},
    {Rgb(0x008B8B), "DarkCyan"},
    {Rgb(0x008080), "Teal"},
    {Rgb(0x48D1CC), "MediumTurquoise"},
    {Rgb(0x20B2AA), "LightSeaGreen"},
    {Rgb(0x40E0D0), "Turquoise"},
    {Rgb(0x7FFFD4), "Aquamarine"},
    {Rgb(0x66CDAA), "MediumAquamarine"},
    {Rgb(0x00FA9A), "MediumSpringGreen"},
    {Rgb(0xF5FFFA), "MintCream"},
    {Rgb(0x00FF7F), "SpringGreen"},
    {Rgb(0x3CB371), "MediumSeaGreen"},
    {Rgb(0x2E8B57), "SeaGreen"},
    {Rgb(0xF0FFF0), "Honeydew"},
    {Rgb(0x90EE90), "LightGreen"},
    {Rgb(0x98FB98), "PaleGreen"},
    {Rgb(0x8FBC8F), "DarkSeaGreen"},
    {Rgb(0x32CD32), "LimeGreen"},
    {Rgb(0x00FF00), "Lime"},
    {Rgb(0x228B22), "ForestGreen"},
    {Rgb(0x008000), "Green"},
    {Rgb(0x006400), "DarkGreen"},
    {Rgb(0x7FFF00), "Chartreuse"},
    {Rgb(0x7CFC00), "LawnGreen"},
    {Rgb(0xADFF2F), "GreenYellow"},
    {Rgb(0x556B2F), "DarkOliveGreen"},
    {Rgb(0x9ACD32), "YellowGreen"},
    {Rgb(0x6B8E23), "OliveDrab"},
    {Rgb(0xF5F5DC), "Beige"},
    {Rgb(0xFAFAD2), "LightGoldenrodYellow"},
    {Rgb(0xFFFFF0), "Ivory"},
    {Rgb(0xFFFFE0), "LightYellow"},
    {Rgb(0xFFFF00), "Yellow"},
    {Rgb(0x808000), "Olive"},
    {Rgb(0xBDB76B), "DarkKhaki"},
    {Rgb(0xFFFACD), "LemonChiffon"},
    {Rgb(0xEEE8AA), "PaleGoldenrod"},
    {Rgb(0xF0E68C), "Khaki"},
    {Rgb(0xFFD700), "Gold"},
    {Rgb(0xFFF8DC), "Cornsilk"},
    {Rgb(0xDAA520), "Goldenrod"},
    {Rgb(0xB8860B), "DarkGoldenrod"},
    {Rgb(0xFFFAF0), "FloralWhite"},
    {Rgb(0xFDF5E6), "OldLace"},
    {Rgb(0xF5DEB3), "Wheat"},
    {Rgb(0xFFE4B5), "Moccasin"},
    {Rgb(0xFFA500), "Orange"},
    {Rgb(0xFFEFD5), "PapayaWhip"},
    {Rgb(0xFFEBCD), "BlanchedAlmond"},
    {Rgb(0xFFDEAD), "NavajoWhite"},
    {Rgb(0xFAEBD7), "AntiqueWhite"},
    {Rgb(0xD2B48C), "Tan"},
    {Rgb(0xDEB887), "BurlyWood"},
    {Rgb(0xFFE4C4), "Bisque"},
    {Rgb(0xFF8C00), "DarkOrange"},
    {Rgb(0xFAF0E6), "Linen"},
    {Rgb(0xCD853F), "Peru"},
    {Rgb(0xFFDAB9), "PeachPuff"},
    {Rgb(0xF4A460), "SandyBrown"},
    {Rgb(0xD2691E), "Chocolate"},
    {Rgb(0x8B4513), "SaddleBrown"},
    {Rgb(0xFFF5EE), "Seashell"},
    {Rgb(0xA0522D), "Sienna"},
    {Rgb(0xFFA07A), "LightSalmon"},
    {Rgb(0xFF7F50), "Coral"},
    {Rgb(0xFF4500), "OrangeRed"},
    {Rgb(0xE9967A), "DarkSalmon"},
    {Rgb(0xFF6347), "Tomato"},
    {Rgb(0xFFE4E1), "MistyRose"},
    {Rgb(0xFA8072), "Salmon"},
    {Rgb(0xFFFAFA), "Snow"},
    {Rgb(0xF08080), "LightCoral"},
    {Rgb(0xBC8F8F), "RosyBrown"},
    {Rgb(0xCD5C5C), "IndianRed"},
    {Rgb(0xFF0000), "Red"},
    {Rgb(0xA52A2A), "Brown"},
    {Rgb(0xB22222), "FireBrick"},
    {Rgb(0x8B0000), "DarkRed"},
    {Rgb(0x800000), "Maroon"},
    {Rgb(0xFFFFFF), "White"},
    {Rgb(0xF5F5F5), "WhiteSmoke"},
    {Rgb(0xDCDCDC), "Gainsboro"},
    {Rgb(0xD3D3D3), "LightGrey"},
    {Rgb(0xC0C0C0), "Silver"},
    {Rgb(0xA9A9A9), "DarkGray"},
    {Rgb(0x808080), "Gray"},
    {Rgb(0x696969), "DimGray"},
    {Rgb(0x000000), "Black"},
};

bool FindColorName(std::span<const TcxColorNameEntry> ATable, TColor AColor, String& AName) {
  for (const TcxColorNameEntry& entry : ATable) {
    if (entry.Color != AColor) continue;
    AName = entry.Name;
    return true;
  }
  return false;
}

} // namespace

std::span<const TcxColorNameEntry> cxColorConstTable() {
  static const std::vector<TcxColorNameEntry> table = [] {
    std::vector<TcxColorNameEntry> entries;
    GetColorValues([&](const String& AName) {
      TColor color = 0;
      IdentToColor(AName, color);
      entries.push_back({color, AName});
    });
    return entries;
  }();
  return table;
}

std::span<const TcxColorNameEntry> cxHTML4ColorTable() {
  return kHTML4Colors;
}

std::span<const TcxColorNameEntry> cxX11ColorTable() {
  return kX11Colors;
}

std::span<const TcxColorNameEntry> cxX11OrderedColorTable() {
  return kX11OrderedColors;
}

bool FindColorConstName(TColor AColor, String& AName) {
  return FindColorName(cxColorConstTable(), AColor, AName);
}

bool FindHTML4ColorName(TColor AColor, String& AName) {
  return FindColorName(kHTML4Colors, AColor, AName);
}

bool FindX11ColorName(TColor AColor, String& AName) {
  return FindColorName(kX11Colors, AColor, AName);
}

void FormatColorValue(TColor AColor, TcxColorValueFormat AValueFormat, String& AText) {
  if (AValueFormat == cxcvInteger) {
    AText = IntToStr(AColor);
    return;
  }
  const uint32_t rgb = ColorToRGB(AColor);
  const uint32_t red = GetRValue(rgb);
  const uint32_t green = GetGValue(rgb);
  const uint32_t blue = GetBValue(rgb);
  if (AValueFormat == cxcvRGB)
    AText = Format("%d.%d.%d", red, green, blue);
  else
    AText = IntToHex(red, 2) + IntToHex(green, 2) + IntToHex(blue, 2);
}

void GetColorName(TColor AColor, const String& ADescription, TcxColorNamingConvention ANamingConvention,
                  TcxColorValueFormat AValueFormat, String& AName) {
  bool found = false;
  switch (ANamingConvention) {
  case cxncNone:
    AName = ADescription;
    return;
  case cxncKorvel:
    found = FindColorConstName(AColor, AName);
    break;
  case cxncHTML4:
    found = FindHTML4ColorName(AColor, AName);
    break;
  case cxncX11:
    found = FindX11ColorName(AColor, AName);
    break;
  }
  if (!found) FormatColorValue(AColor, AValueFormat, AName);
}

void TcxExtContainerStyle::RestoreDefaults() {
  TcxContainerStyle::RestoreDefaults();
  if (TcxContainer* container = GetContainer()) {
    container->SetParentColor(false);
    container->SetParentFont(true);
  }
  SetBorderColor(GetDefaultBorderColor());
  SetBorderStyle(GetDefaultBorderStyle());
  SetColor(GetDefaultColor());
  SetEdges(GetDefaultEdges());
  SetHotTrack(GetDefaultHotTrack());
  SetShadow(GetDefaultShadow());
}

const TResStringRec scxSEditRepositoryProgressBarItem = {nullptr, IDS_scxSEditRepositoryProgressBarItem};
