// Shared drawing and input routines of the toolbar library.
#pragma once

#include "Graphics.h"

// A new font with the LOGFONT of the given one; the caller owns it.
HFONT CloneFontHandle(HFONT Font);
// Replaces Handle (deleting the old one) by a font made from Font: with
// UseSystem at the height of the system icon-title font, at least 11 pixels.
void CreateMenuFont(TFont* Font, HFONT& Handle, bool UseSystem);
