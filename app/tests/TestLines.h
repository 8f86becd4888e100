// Lists of lines, as the tests compare them.
#pragma once

#include "Classes.h"

#include <vector>

using Lines = std::vector<String>;

inline Lines Items(const TStrings& list) {
  Lines r;
  for (int i = 0; i < list.GetCount(); ++i)
    r.push_back(list[i]);
  return r;
}
