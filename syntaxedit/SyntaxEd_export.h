// The styled forms of the editor's selection: HTML and RTF carrying the
// highlighting's colours and font styles, written byte by byte as the
// clipboard, saving and drag and drop hand them on.
#pragma once

#include "SyntaxEd_settings.h"

class TStream;
class TSyntaxMemoModel;

// Both rescan the whole text first, so that every row has its token bytes.
void WriteSelectionHTML(TSyntaxMemoModel& model, TStream& stream);
void WriteSelectionRTF(TSyntaxMemoModel& model, TStream& stream);

// 0x00BBGGRR of a colour, system colours resolved.
uint32_t ExportColorToRGB(TColor color);
