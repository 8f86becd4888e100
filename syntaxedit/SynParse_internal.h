// What the parts of the highlighting rules share among themselves only.
#pragma once

#include "SynParse.h"

// The built-in handler of an id, nullptr for an id that names none.
TBuiltInHandler BuiltInHandler(uint32_t id);
