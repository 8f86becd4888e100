// Shortcuts as the class library encodes them: a virtual key in the low
// byte and the shift keys as flags.
#pragma once

#include <cstdint>

using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;
