#include "SyntaxEd_settings.h"

// Windows' own defaults stand in for the system colours elsewhere.
TColor SystemSysColor(int index) {
  switch (index) {
  case COLOR_HIGHLIGHT_INDEX:
    return 0x00D77800;
  case COLOR_HIGHLIGHTTEXT_INDEX:
    return 0x00FFFFFF;
  case 5:
    return 0x00FFFFFF; // window
  case 8:
    return 0x00000000; // window text
  case 15:
    return 0x00F0F0F0; // button face
  default:
    return 0;
  }
}
