// Compares two sets of settings value by value, naming the one that differs.
#pragma once

#include "Settings.h"

#include <gtest/gtest.h>

inline void ExpectSameSettings(const TSettings& read, const TSettings& expected) {
  for (const TSwitchInfo& i : SettingSwitches)
    EXPECT_EQ(read.*i.Field, expected.*i.Field) << i.Name;
  EXPECT_EQ(read.LogFontName, expected.LogFontName);
  EXPECT_EQ(read.LogFontSize, expected.LogFontSize);
  EXPECT_EQ(read.ScriptFontName, expected.ScriptFontName);
  EXPECT_EQ(read.ScriptFontSize, expected.ScriptFontSize);
}
