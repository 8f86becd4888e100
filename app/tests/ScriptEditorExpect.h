// What the script page's editor shows, as the window tests check it.
#pragma once

#include "GuiTest.h"
#include "SynParse.h"
#include "SyntaxMemo.h"

// The pixels of the first row's first characters (as many as are given)
// drawn in the text colour of the first character's token style: more than a
// few when the row is highlighted.
inline int FirstWordInk(TSyntaxMemo& editor, const guitest::TCapture& picture, int characters) {
  const TSyntaxMemoModel& model = editor.GetModel();
  const TRowRecord* first = model.GetFirstRow();
  if (!first || !first->Tokens) return 0;
  const TSM_Settings& settings = model.GetSettings();
  const TColor colour = settings.GetStyle(settings.TokenStyle(first->Tokens[0])).Foreground;
  const int width = model.GetMetrics().AveCharWidth;
  const RECT word{editor.TextLeftEdge(), 0, editor.TextLeftEdge() + characters * width,
                  editor.GetLineHeight()};
  return picture.CountPixels(word, ColorToRGB(colour));
}
