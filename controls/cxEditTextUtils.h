// The editors' own text layout: a text broken into rows under a rectangle
// and a flag word, the rows placed and drawn with end ellipsis, clipping of
// partly visible rows and a selected range. The rows point into the caller's
// text; nothing is copied or allocated per character.
#pragma once

#include "Graphics.h"

#include <vector>

// The text-row flag word. Bits 0x7 hold the horizontal alignment, 0x30 the
// vertical one.
constexpr int trHorzAlignmentMask = 0x0007;
constexpr int trVertAlignmentMask = 0x0030;
constexpr int trClampLeft = 0x0040;
constexpr int trClampTop = 0x0080;
constexpr int trWordBreak = 0x0100;
constexpr int trSingleLine = 0x0200;
constexpr int trExpandTabs = 0x0400;
constexpr int trEndEllipsis = 0x0800;
constexpr int trExternalLeading = 0x2000;
constexpr int trWholeRowsOnly = 0x4000;
constexpr int trNoClip = 0x8000;
constexpr int trCharBreak = 0x20000;
constexpr int trNoHeightLimit = 0x100000;
// Carried for callers; the row functions do not read them.
constexpr int trCallerFlag1 = 0x10000;
constexpr int trCallerFlag2 = 0x200000;

constexpr int trhLeft = 0;
constexpr int trhCenter = 1;
constexpr int trhRight = 2;
constexpr int trhJustify = 3;
constexpr int trhDistribute = 4;
constexpr int trvTop = 0x00;
constexpr int trvCenter = 0x10;
constexpr int trvBottom = 0x20;
constexpr int trvDistribute = 0x30;

struct TcxTextLayoutParams {
  int TextHeight = 0;
  int RowSpacing = 0;
  int RowHeight = 0;
  int EllipsisWidth = 0;
  char BreakChar = ' ';
  int MaxCharWidth = 0;
  int HorzAlignment = 0; // 0 to 4
  int VertAlignment = 0; // 0 to 3
  bool ClampLeft = false;
  bool ClampTop = false;
  bool WordBreak = false;
  bool SingleLine = false;
  bool ExpandTabs = false;
  bool EndEllipsis = false;
  bool ExternalLeading = false;
  bool WholeRowsOnly = false;
  bool NoClip = false;
  bool CharBreak = false;
  bool NoHeightLimit = false;
  bool CallerFlag1 = false;
  bool CallerFlag2 = false;
};

struct TcxTextRowInfo {
  const char* Text = nullptr; // inside the caller's text
  int TextLength = 0;
  int Width = 0;
  int Height = 0;
  int BreakCount = 0;
  int X = 0;
  int Y = 0;
  int StartOffset = 0;
};

using TcxTextRows = std::vector<TcxTextRowInfo>;

void PrepareTextParams(HDC DC, int Flags, TcxTextLayoutParams& Params);
void PrepareCanvasTextParams(TCanvas* Canvas, int Flags, TcxTextLayoutParams& Params);
// Text is zero-terminated. True when the whole text fits.
bool BuildTextRows(HDC DC, const char* Text, const TRect& R, const TcxTextLayoutParams& Params,
                   TcxTextRows& Rows, int& RowCount, int MaxRowCount);
bool BuildCanvasTextRows(TCanvas* Canvas, const char* Text, const TRect& R, const TcxTextLayoutParams& Params,
                         TcxTextRows& Rows, int& RowCount, int MaxRowCount);
// Vertical distribution changes Params.RowHeight.
void PlaceTextRows(HDC DC, const TRect& R, TcxTextLayoutParams& Params, TcxTextRows& Rows, int RowCount);
void GetTextRowsArea(const TRect& R, const TRect& Unused, int LeftIndent, int RightIndent, TRect& Result);
void DrawTextRows(HDC DC, const TRect& R, const TcxTextLayoutParams& Params, const TcxTextRows& Rows,
                  int RowCount, int SelStart, int SelLength, TColor SelBkColor, TColor SelTextColor,
                  bool ForceEllipsis);
int GetMaxTextRowWidth(const TcxTextRows& Rows, int Count);
void GetTextRowExtent(HDC DC, const char* Text, int Count, SIZE& Size, bool ExpandTabs);
// Returns a copy of the clipping region (nullptr: none) for RestoreClipRegion.
HRGN IntersectClipRectSaving(HDC DC, const TRect& R);
void RestoreClipRegion(HDC DC, HRGN& Region);
