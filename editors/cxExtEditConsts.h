// The further editors' colour names: the class library's colour
// identifiers, the HTML 4 colours and the X11 colours (alphabetical and by
// hue), the lookups by colour and the text of colours that have no name;
// and the container style of the check list box.
#pragma once

#include "cxContainer.h"

#include <span>

struct TcxColorNameEntry {
  TColor Color;
  String Name;
};

// The further editors' registration texts.
extern const TResStringRec scxSEditRepositoryProgressBarItem;

enum TcxColorNamingConvention { cxncNone, cxncKorvel, cxncHTML4, cxncX11 };
enum TcxColorPrepareList { cxplNone, cxplKorvel, cxplHTML4, cxplX11, cxplX11Ordered };
enum TcxColorValueFormat { cxcvRGB, cxcvHexadecimal, cxcvInteger };

// The tables in their fixed orders: a lookup takes the first match, a
// prepared list adds them in this order.
std::span<const TcxColorNameEntry> cxColorConstTable();
std::span<const TcxColorNameEntry> cxHTML4ColorTable();
std::span<const TcxColorNameEntry> cxX11ColorTable();
std::span<const TcxColorNameEntry> cxX11OrderedColorTable();

// AName is left alone when the colour has no name in the table.
bool FindColorConstName(TColor AColor, String& AName);
bool FindHTML4ColorName(TColor AColor, String& AName);
bool FindX11ColorName(TColor AColor, String& AName);
void FormatColorValue(TColor AColor, TcxColorValueFormat AValueFormat, String& AText);
void GetColorName(TColor AColor, const String& ADescription, TcxColorNamingConvention ANamingConvention,
                  TcxColorValueFormat AValueFormat, String& AName);

// Restoring the defaults assigns each of them explicitly, so a style
// controller does not override them.
class TcxExtContainerStyle : public TcxContainerStyle {
public:
  using TcxContainerStyle::TcxContainerStyle;
  void RestoreDefaults() override;
};
