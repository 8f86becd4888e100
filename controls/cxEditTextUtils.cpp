#include "cxEditTextUtils.h"

#include <algorithm>
#include <cstring>

namespace {

const char kEllipsis[] = "...";
const int kEllipsisLength = static_cast<int>(std::strlen(kEllipsis));

bool IsMultiByteSystem() {
  return GetSystemMetrics(SM_DBCSENABLED) != 0;
}

int CharLength(const char* P, int Remaining) {
  return Remaining > 1 && IsDBCSLeadByte(static_cast<BYTE>(*P)) ? 2 : 1;
}

bool IsBreakChar(char C, const TcxTextLayoutParams& Params) {
  return C == Params.BreakChar || C == '\t';
}

bool IsJustified(const TcxTextLayoutParams& Params) {
  return Params.HorzAlignment == trhJustify || Params.HorzAlignment == trhDistribute;
}

int ExtentWidth(HDC DC, const char* Text, int Count, bool ExpandTabs) {
  SIZE size{};
  GetTextRowExtent(DC, Text, Count, size, ExpandTabs);
  return size.cx;
}

bool IsLastRow(const TcxTextLayoutParams& Params, int Height, int Sum, int RowCount, int MaxRowCount) {
  if (Params.SingleLine) return true;
  if (Params.VertAlignment != 0 || Params.NoHeightLimit) return MaxRowCount > 0 && RowCount == MaxRowCount;
  if (Params.WholeRowsOnly && !Params.NoClip) return Height < Sum + Params.RowHeight;
  return Height < Sum;
}

// One row from the cursor; returns how many characters the row consumed
// (its text and what is skipped after it).
class TRowMaker {
public:
  TRowMaker(HDC DC, const TcxTextLayoutParams& Params, int Width, bool IsLast)
      : FDC(DC), FParams(Params), FWidth(Width) {
    FWordBreak = !Params.SingleLine && (Params.WordBreak || IsJustified(Params));
    FCharBreak = FWordBreak && Params.CharBreak;
    FEllipsisCut =
        IsLast && Params.EndEllipsis && !Params.WholeRowsOnly && !Params.NoClip && !IsJustified(Params);
  }

  int Make(const char* P, int Remaining, TcxTextRowInfo& Row) {
    Row = TcxTextRowInfo();
    Row.Text = P;
    Walk(P, Remaining, Row);
    if (IsJustified(FParams)) TrimTrailingBreaks(P, Row);
    SIZE size{};
    GetTextRowExtent(FDC, P, Row.TextLength, size, FParams.ExpandTabs);
    Row.Width = size.cx;
    Row.Height = size.cy;
    int consumed = Row.TextLength;
    const bool paragraphEnd = SkipSeparators(P, Remaining, consumed);
    if (FParams.HorzAlignment == trhJustify && (paragraphEnd || consumed == Remaining)) Row.BreakCount = 0;
    return consumed;
  }

private:
  void Walk(const char* P, int Remaining, TcxTextRowInfo& Row) {
    int lastBreak = -1;
    int width = 0;
    for (int i = 0; i < Remaining;) {
      const int length = CharLength(P + i, Remaining - i);
      const char c = P[i];
      const int start = i;
      i += length;
      Row.TextLength = i;
      if (IsBreakChar(c, FParams)) {
        ++Row.BreakCount;
        lastBreak = start;
      }
      if ((c == '\r' || c == '\n') && !FEllipsisCut && !FParams.SingleLine) {
        Row.TextLength = start;
        if (FParams.HorzAlignment == trhJustify) Row.BreakCount = 0;
        return;
      }
      if (!FWordBreak && !FEllipsisCut && !FParams.SingleLine) continue;
      width = FParams.ExpandTabs ? ExtentWidth(FDC, P, i, true)
                                 : width + ExtentWidth(FDC, P + start, length, false);
      if (width <= FWidth) continue;
      if (FEllipsisCut || FParams.SingleLine) return;
      if (lastBreak >= 0) {
        Row.TextLength = lastBreak + 1;
        return;
      }
      if (FCharBreak) {
        if (start > 0) Row.TextLength = start;
        return;
      }
    }
  }

  void TrimTrailingBreaks(const char* P, TcxTextRowInfo& Row) const {
    while (Row.TextLength > 0 && IsBreakChar(P[Row.TextLength - 1], FParams)) {
      --Row.TextLength;
      if (Row.BreakCount > 0) --Row.BreakCount;
    }
  }

  // Break characters, then one tab, one CR and one LF; true when a CR was
  // among them.
  bool SkipSeparators(const char* P, int Remaining, int& Consumed) const {
    while (Consumed < Remaining && P[Consumed] == FParams.BreakChar)
      ++Consumed;
    bool paragraphEnd = false;
    for (char c : {'\t', '\r', '\n'}) {
      if (Consumed >= Remaining || P[Consumed] != c) continue;
      paragraphEnd = paragraphEnd || c == '\r';
      ++Consumed;
    }
    return paragraphEnd;
  }

  HDC FDC;
  const TcxTextLayoutParams& FParams;
  int FWidth;
  bool FWordBreak = false;
  bool FCharBreak = false;
  bool FEllipsisCut = false;
};

void DrawRowText(HDC DC, int X, int Y, const char* Text, int Count, bool ExpandTabs) {
  if (ExpandTabs)
    TabbedTextOutA(DC, X, Y, Text, Count, 0, nullptr, 0);
  else
    ExtTextOutA(DC, X, Y, ETO_CLIPPED, nullptr, Text, Count, nullptr);
}

void DrawEllipsis(HDC DC, const TRect& R, int X, const TRect& RowRect, const TcxTextLayoutParams& Params) {
  if (X >= R.right) return;
  const bool clipped = !Params.NoClip && X + Params.EllipsisWidth > R.right;
  ExtTextOutA(DC, X, RowRect.top, clipped ? ETO_CLIPPED : 0, &RowRect, kEllipsis, kEllipsisLength, nullptr);
}

void DrawSelection(HDC DC, const TcxTextRowInfo& Row, int Length, const TRect& RowRect, int SelStart,
                   int SelLength, HBRUSH Brush, COLORREF SelTextColor, bool ExpandTabs) {
  const int s = std::max(SelStart, Row.StartOffset) - Row.StartOffset;
  const int e = std::min({SelStart + SelLength, Row.StartOffset + Row.TextLength, Row.StartOffset + Length}) -
                Row.StartOffset;
  if (s >= e) return;
  const int left = Row.X + ExtentWidth(DC, Row.Text, s, ExpandTabs);
  const TRect r(left, RowRect.top, left + ExtentWidth(DC, Row.Text + s, e - s, ExpandTabs), RowRect.bottom);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  HRGN saved = IntersectClipRectSaving(DC, r);
  FillRect(DC, &r, Brush);
  const COLORREF oldColor = SetTextColor(DC, SelTextColor);
  DrawRowText(DC, Row.X, Row.Y, Row.Text, Length, ExpandTabs);
  SetTextColor(DC, oldColor);
  RestoreClipRegion(DC, saved);
}

} // namespace

void PrepareTextParams(HDC DC, int Flags, TcxTextLayoutParams& Params) {
  TEXTMETRICA tm{};
  GetTextMetricsA(DC, &tm);
  Params.ExternalLeading = Flags & trExternalLeading;
  Params.TextHeight = tm.tmHeight;
  Params.RowSpacing = Params.ExternalLeading ? tm.tmExternalLeading : 0;
  Params.RowHeight = Params.TextHeight + Params.RowSpacing;
  Params.EndEllipsis = Flags & trEndEllipsis;
  Params.EllipsisWidth = Params.EndEllipsis ? ExtentWidth(DC, kEllipsis, kEllipsisLength, false) : 0;
  Params.BreakChar = static_cast<char>(tm.tmBreakChar);
  Params.MaxCharWidth = tm.tmMaxCharWidth;
  Params.HorzAlignment = Flags & trHorzAlignmentMask;
  Params.VertAlignment = (Flags & trVertAlignmentMask) >> 4;
  Params.ClampLeft = Flags & trClampLeft;
  Params.ClampTop = Flags & trClampTop;
  Params.WordBreak = Flags & trWordBreak;
  Params.SingleLine = Flags & trSingleLine;
  Params.ExpandTabs = Flags & trExpandTabs;
  Params.WholeRowsOnly = Flags & trWholeRowsOnly;
  Params.NoClip = Flags & trNoClip;
  Params.CharBreak = (Flags & trCharBreak) || IsMultiByteSystem();
  Params.NoHeightLimit = Flags & trNoHeightLimit;
  Params.CallerFlag1 = Flags & trCallerFlag1;
  Params.CallerFlag2 = Flags & trCallerFlag2;
}

void PrepareCanvasTextParams(TCanvas* Canvas, int Flags, TcxTextLayoutParams& Params) {
  // Asking for the handle selects the canvas's font into it.
  PrepareTextParams(Canvas->GetHandle(), Flags, Params);
}

bool BuildTextRows(HDC DC, const char* Text, const TRect& R, const TcxTextLayoutParams& Params,
                   TcxTextRows& Rows, int& RowCount, int MaxRowCount) {
  Rows.clear();
  RowCount = 0;
  if (!Text) return true;
  const int length = static_cast<int>(std::strlen(Text));
  if (Params.NoHeightLimit && Params.SingleLine) {
    TcxTextRowInfo row;
    row.Text = Text;
    row.TextLength = length;
    SIZE size{};
    GetTextRowExtent(DC, Text, length, size, Params.ExpandTabs);
    row.Width = size.cx;
    row.Height = size.cy;
    Rows.push_back(row);
    RowCount = 1;
    return true;
  }
  int offset = 0;
  int sum = 0;
  bool last = false;
  while (offset < length && !last) {
    if (RowCount == static_cast<int>(Rows.size())) Rows.resize(Rows.size() + 4);
    ++RowCount;
    sum += Params.RowHeight;
    last = IsLastRow(Params, R.Height(), sum, RowCount, MaxRowCount);
    TcxTextRowInfo& row = Rows[RowCount - 1];
    offset += TRowMaker(DC, Params, R.Width(), last).Make(Text + offset, length - offset, row);
    row.StartOffset = static_cast<int>(row.Text - Text);
  }
  Rows.resize(RowCount);
  const bool multiLine = !Params.SingleLine && !Params.NoHeightLimit;
  return !(multiLine && MaxRowCount >= 1 && RowCount == MaxRowCount && offset < length);
}

bool BuildCanvasTextRows(TCanvas* Canvas, const char* Text, const TRect& R, const TcxTextLayoutParams& Params,
                         TcxTextRows& Rows, int& RowCount, int MaxRowCount) {
  return BuildTextRows(Canvas->GetHandle(), Text, R, Params, Rows, RowCount, MaxRowCount);
}

void PlaceTextRows(HDC, const TRect& R, TcxTextLayoutParams& Params, TcxTextRows& Rows, int RowCount) {
  int spare = 0;
  if (Params.VertAlignment == 3 && RowCount > 1) {
    const int gap = R.Height() - Params.TextHeight;
    if (Params.TextHeight < gap / (RowCount - 1)) {
      Params.RowHeight = gap / (RowCount - 1);
      spare = gap % (RowCount - 1);
    }
  }
  int top = R.top;
  if (Params.VertAlignment == 1) top = R.top + (R.Height() - RowCount * Params.RowHeight) / 2;
  if (Params.VertAlignment == 2) top = R.bottom - RowCount * Params.RowHeight + Params.RowSpacing;
  if (Params.ClampTop) top = std::max<int>(top, R.top);
  for (int i = 0; i < RowCount; ++i) {
    TcxTextRowInfo& row = Rows[i];
    row.X = R.left;
    if (Params.HorzAlignment == trhCenter) row.X = R.left + (R.Width() - row.Width) / 2;
    if (Params.HorzAlignment == trhRight) row.X = R.right - row.Width;
    if (Params.ClampLeft) row.X = std::max<int>(row.X, R.left);
    row.Y = top;
    top += Params.RowHeight;
    if (spare > 0) {
      ++top;
      --spare;
    }
  }
}

void GetTextRowsArea(const TRect& R, const TRect&, int LeftIndent, int RightIndent, TRect& Result) {
  Result = R;
  Result.left += LeftIndent;
  Result.right -= RightIndent;
}

void DrawTextRows(HDC DC, const TRect& R, const TcxTextLayoutParams& Params, const TcxTextRows& Rows,
                  int RowCount, int SelStart, int SelLength, TColor SelBkColor, TColor SelTextColor,
                  bool ForceEllipsis) {
  const COLORREF selText = ColorToRGB(SelTextColor);
  const int oldMode = SetBkMode(DC, TRANSPARENT);
  HBRUSH selBrush = SelLength > 0 ? CreateSolidBrush(ColorToRGB(SelBkColor)) : nullptr;
  const int count = std::min<int>(RowCount, static_cast<int>(Rows.size()));
  for (int i = 0; i < count; ++i) {
    const TcxTextRowInfo& row = Rows[i];
    const bool lastRow = i == count - 1;
    TRect rowRect(R.left, row.Y, R.right, row.Y + Params.RowHeight);
    if (row.TextLength == 0) {
      if (lastRow && ForceEllipsis && Params.EndEllipsis) DrawEllipsis(DC, R, R.left, rowRect, Params);
      continue;
    }
    const bool ellipsis = Params.EndEllipsis && lastRow && (ForceEllipsis || row.Width > R.Width());
    const int spareWidth = R.Width() - row.Width;
    const bool justify = IsJustified(Params) && !ellipsis && spareWidth > 0 && row.BreakCount > 0;
    if (justify) SetTextJustification(DC, spareWidth, row.BreakCount);
    const bool fits = row.Width <= R.Width() && rowRect.top >= R.top && rowRect.bottom <= R.bottom;
    HRGN saved = nullptr;
    const bool clip = !Params.NoClip && !fits;
    if (clip) {
      rowRect.top = std::max(rowRect.top, R.top);
      rowRect.bottom = std::min(rowRect.bottom, R.bottom);
      saved = IntersectClipRectSaving(DC, rowRect);
    }
    int length = row.TextLength;
    int width = row.Width;
    if (ellipsis) {
      int fit = 0;
      SIZE size{};
      GetTextExtentExPointA(DC, row.Text, length, std::max<int>(0, R.Width() - Params.EllipsisWidth), &fit,
                            nullptr, &size);
      length = std::max(fit, 1);
      width = ExtentWidth(DC, row.Text, length, Params.ExpandTabs);
    }
    DrawRowText(DC, row.X, row.Y, row.Text, length, Params.ExpandTabs);
    if (selBrush)
      DrawSelection(DC, row, length, rowRect, SelStart, SelLength, selBrush, selText, Params.ExpandTabs);
    if (ellipsis) DrawEllipsis(DC, R, R.left + width, rowRect, Params);
    if (clip) RestoreClipRegion(DC, saved);
    if (justify) SetTextJustification(DC, 0, 0);
  }
  if (selBrush) DeleteObject(selBrush);
  SetBkMode(DC, oldMode);
}

int GetMaxTextRowWidth(const TcxTextRows& Rows, int Count) {
  int result = 0;
  const int count = std::min<int>(Count, static_cast<int>(Rows.size()));
  for (int i = 0; i < count; ++i)
    result = std::max(result, Rows[i].Width);
  return result;
}

void GetTextRowExtent(HDC DC, const char* Text, int Count, SIZE& Size, bool ExpandTabs) {
  if (!ExpandTabs) {
    GetTextExtentPoint32A(DC, Text, Count, &Size);
    return;
  }
  const DWORD extent = GetTabbedTextExtentA(DC, Text, Count, 0, nullptr);
  Size.cx = LOWORD(extent);
  Size.cy = HIWORD(extent);
}

HRGN IntersectClipRectSaving(HDC DC, const TRect& R) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetClipRgn(DC, region) != 1) {
    DeleteObject(region);
    region = nullptr;
  }
  IntersectClipRect(DC, R.left, R.top, R.right, R.bottom);
  return region;
}

void RestoreClipRegion(HDC DC, HRGN& Region) {
  SelectClipRgn(DC, Region);
  if (Region) DeleteObject(Region);
  Region = nullptr;
}
