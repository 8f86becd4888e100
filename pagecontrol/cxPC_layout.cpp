// The layout of the visible tabs: one scrolled line with the navigator, or
// several lines broken greedily, balanced and stretched, ordered around the
// page. The painter gives every size.
#include "cxPC.h"
#include "cxPCConsts.h"
#include "cxPCPainters.h"

#include <algorithm>
#include <map>

namespace {

// Inside the placement: a position times the direction does not pass the
// limit.
bool Within(int Position, int Direction, int Limit) {
  return Position * Direction <= Limit;
}

} // namespace

void TcxCustomTabControl::SetAlong(TcxTab* Tab, int Value) {
  (IsHorizontalLine() ? Tab->Origin.x : Tab->Origin.y) = Value;
}

void TcxCustomTabControl::SetAcross(TcxTab* Tab, int Value) {
  (IsHorizontalLine() ? Tab->Origin.y : Tab->Origin.x) = Value;
}

void TcxCustomTabControl::SetAcrossExtent(TRect& R, int Start, int End) const {
  if (IsHorizontalLine()) {
    R.top = Start;
    R.bottom = End;
  } else {
    R.left = Start;
    R.right = End;
  }
}

void TcxCustomTabControl::SetAlongExtent(TRect& R, int Start, int End) const {
  if (IsHorizontalLine()) {
    R.left = Start;
    R.right = End;
  } else {
    R.top = Start;
    R.bottom = End;
  }
}

int TcxCustomTabControl::ShownLast() const {
  return FMultiLine ? FVisibleTabList->Count() - 1 : LastVisibleTab;
}

int TcxCustomTabControl::TabLengthAlong(int VisibleIndex) const {
  return FVisibleTabList->GetTab(VisibleIndex)->GetLengthAlongLine();
}

int TcxCustomTabControl::TabGap() const {
  const TPoint p = FPainter->GetTabSpacing();
  return FRotate ? p.y : p.x;
}

int TcxCustomTabControl::LineGap() const {
  const TPoint p = FPainter->GetTabSpacing();
  return FRotate ? p.x : p.y;
}

int TcxCustomTabControl::TabMinVisiblePart() const {
  const TPoint p = FPainter->GetTabMinVisiblePart();
  return FRotate ? p.y : p.x;
}

void TcxCustomTabControl::CalculateTabNormalSizes() {
  if (FTabs->GetCount() == 0)
    throw Exception("TcxCustomTabControl.CalculateTabNormalSizes: " + cxPCResString(scxPCTabsCountZero));
  FTabs->TabNormalHeight = FPainter->CalculateTabNormalHeight();
  for (int i = 0; i < FTabs->GetCount(); ++i)
    FTabs->GetTab(i)->Width = FPainter->CalculateTabNormalWidth(FTabs->GetTab(i));
}

void TcxCustomTabControl::LayoutTabs() {
  NearTabsArea = TRect();
  FarTabsArea = TRect();
  const int n = FVisibleTabList->Count();
  if (FirstVisibleTab == -1 && n > 0) FirstVisibleTab = 0;
  if (FirstVisibleTab >= n) FirstVisibleTab = n - 1;
  LastVisibleTab = FirstVisibleTab;
  if (HotTab >= n) HotTab = -1;
  if (SelectedVisibleIndex >= n) SelectedVisibleIndex = -1;
  if (PressedTab >= n) PressedTab = -1;
  LineCount = 0;
  if (FTabIndex >= FTabs->GetCount()) FTabIndex = FTabs->GetCount() - 1;
  NearLineCount = 0;
  if (n == 0) return;
  CalculateTabNormalSizes();
  if (FMultiLine)
    MultiLineLayout();
  else
    SingleLineLayout();
}

bool TcxCustomTabControl::PrepareNavigatorLayout(TcxPCNavigatorButtons Buttons) {
  NavigatorButtons = Buttons;
  FPainter->CalculateNavigatorLayout(Buttons, NavigatorLayout);
  const int length = NavigatorLayout.LineLength;
  if (length <= 0) return false;
  const int start = AlongStart(NavigatorLayout.TabsStartRect);
  if (IsReversedOrder()) {
    FPlaceStart = start + length - 1;
    FPlaceDirection = -1;
    FPlaceLimit = -start;
  } else {
    FPlaceStart = start;
    FPlaceDirection = 1;
    FPlaceLimit = start + length - 1;
  }
  return true;
}

bool TcxCustomTabControl::PlaceLine(int First, int Last, bool SingleLine) {
  const int dir = FPlaceDirection;
  const int gap = TabGap();
  const int minPart = TabMinVisiblePart();
  int p = FPlaceStart;
  bool result = true;
  for (int i = First; i <= Last; ++i) {
    const int farEnd = p + (TabLengthAlong(i) - 1) * dir;
    SetAlong(FVisibleTabList->GetTab(i), dir > 0 ? p : farEnd);
    LastTabFits = Within(farEnd, dir, FPlaceLimit);
    result = result && Within(p + (minPart - 1) * dir, dir, FPlaceLimit);
    const int next = farEnd + (gap + 1) * dir;
    if (!Within(next, dir, FPlaceLimit)) {
      LastVisibleTab = i;
      return result && i == Last;
    }
    p = next;
  }
  if (SingleLine) LastVisibleTab = Last;
  return result;
}

TcxPCNavigatorButtons TcxCustomTabControl::WantedNavigatorButtons() const {
  TcxPCNavigatorButtons buttons;
  if (!(FOptions.Contains(pcoNoArrows) && FOptions.Contains(pcoGoDialog)))
    buttons = TcxPCNavigatorButtons{nbTopLeft, nbBottomRight};
  if (FOptions.Contains(pcoGoDialog)) buttons.Include(nbGoDialog);
  return buttons;
}

// Places the single line, with the navigator when the tabs do not fit.
void TcxCustomTabControl::SingleLinePlacement() {
  const int last = FVisibleTabList->Count() - 1;
  const int saved = FirstVisibleTab;
  FirstVisibleTab = 0;
  if (!PrepareNavigatorLayout(TcxPCNavigatorButtons())) return;
  if (!LineFits(0, last, true)) {
    FirstVisibleTab = saved;
    if (!PrepareNavigatorLayout(WantedNavigatorButtons())) return;
    if (LineFits(FirstVisibleTab, last, true)) {
      while (FirstVisibleTab > 0) {
        --FirstVisibleTab;
        if (!LineFits(FirstVisibleTab, last, true)) {
          ++FirstVisibleTab;
          PlaceLine(FirstVisibleTab, last, true);
          break;
        }
      }
    }
  }
  ResetNavigatorStates(NavigatorButtons);
  UpdateScrollButtonStates();
}

void TcxCustomTabControl::SingleLineLayout() {
  LineCount = 1;
  NearLineCount = FTabPosition == tpTop || FTabPosition == tpLeft ? 1 : 0;
  SingleLinePlacement();
  for (int v = 0; v < FVisibleTabList->Count(); ++v) {
    FVisibleTabList->GetTab(v)->LayoutLineIndex = 0;
    FVisibleTabList->GetTab(v)->LineIndex = 0;
  }
  CalculateLineThickness();
  OrderTabRows();
  SetTabsAreasAlong();
}

void TcxCustomTabControl::MultiLineLayout() {
  const bool prepared = PrepareNavigatorLayout(TcxPCNavigatorButtons());
  ResetNavigatorStates(TcxPCNavigatorButtons());
  if (!prepared) return;
  BreakTabRows();
  bool placed = true;
  if (LineCount == 1) {
    SingleLinePlacement();
  } else {
    placed = PrepareNavigatorLayout(TcxPCNavigatorButtons());
    const int n = FVisibleTabList->Count();
    for (int first = 0; placed && first < n;) {
      const int line = FVisibleTabList->GetTab(first)->LayoutLineIndex;
      int last = first;
      while (last + 1 < n && FVisibleTabList->GetTab(last + 1)->LayoutLineIndex == line)
        ++last;
      if (!FRotate && !FRaggedRight) StretchTabRow(first, last);
      PlaceLine(first, last, false);
      first = last + 1;
    }
  }
  if (placed) SetTabsAreasAlong();
  CalculateLineThickness();
  OrderTabRows();
}

void TcxCustomTabControl::BreakTabRows() {
  const int n = FVisibleTabList->Count();
  const int lineLength = NavigatorLayout.LineLength;
  const int gap = TabGap();
  LineCount = 1;
  int used = 0;
  int segmentStart = 0;
  auto balance = [&](int first, int last) {
    if (last - first < 1) return;
    const int firstLine = FVisibleTabList->GetTab(first)->LayoutLineIndex;
    const int lines = FVisibleTabList->GetTab(last)->LayoutLineIndex - firstLine + 1;
    if (lines >= 2) BalanceTabRows(first, last, firstLine, lines);
  };
  for (int i = 0; i < n; ++i) {
    TcxTab* tab = FVisibleTabList->GetTab(i);
    const int len = TabLengthAlong(i);
    if (len < lineLength) {
      if (used + len > lineLength) {
        ++LineCount;
        used = len + gap;
      } else {
        used += len + gap;
      }
      tab->LayoutLineIndex = LineCount - 1;
      continue;
    }
    if (used != 0) {
      ++LineCount;
      used = 0;
    }
    balance(segmentStart, i - 1);
    if (!FRotate && FPainter->GetMinTabWidth() < lineLength) tab->Width = lineLength;
    tab->LayoutLineIndex = LineCount - 1;
    if (i != n - 1) ++LineCount;
    segmentStart = i + 1;
  }
  balance(segmentStart, n - 1);
}

// Moves line boundaries backwards from the greedy ones to make the largest
// leftover of a line as small as possible. The best split of the first j
// lines ending before a given tab is found once and remembered, so the
// search grows with lines times tabs squared, not exponentially.
void TcxCustomTabControl::BalanceTabRows(int FirstTab, int LastTab, int FirstLine, int Lines) {
  if (FRotate && FRaggedRight) return;
  const int n = LastTab - FirstTab + 1;
  const int lineLength = NavigatorLayout.LineLength;
  const int gap = TabGap();
  std::vector<int> prefix(n + 1, 0);
  for (int i = 0; i < n; ++i)
    prefix[i + 1] = prefix[i] + TabLengthAlong(FirstTab + i);
  std::vector<int> greedyStart(Lines, 0);
  for (int i = n - 1; i >= 0; --i)
    greedyStart[FVisibleTabList->GetTab(FirstTab + i)->LayoutLineIndex - FirstLine] = i;
  auto leftover = [&](int a, int b) { return lineLength - (prefix[b] - prefix[a] + gap * (b - a - 1)); };
  struct TBest {
    int Value;
    int Boundary;
  };
  std::map<std::pair<int, int>, TBest> memo;
  std::function<int(int, int)> best = [&](int j, int end) -> int {
    if (j == 1) return leftover(0, end);
    const auto key = std::make_pair(j, end);
    if (auto it = memo.find(key); it != memo.end()) return it->second.Value;
    int b = std::max(std::min(greedyStart[j - 1], end - 1), j - 1);
    TBest result{std::max(best(j - 1, b), leftover(b, end)), b};
    while (b - 1 >= j - 1 && leftover(b - 1, end) >= 0) {
      --b;
      const int value = std::max(best(j - 1, b), leftover(b, end));
      if (value < result.Value) result = TBest{value, b};
    }
    memo[key] = result;
    return result.Value;
  };
  best(Lines, n);
  int end = n;
  for (int j = Lines; j >= 1; --j) {
    const int start = j == 1 ? 0 : memo.at(std::make_pair(j, end)).Boundary;
    for (int i = start; i < end; ++i)
      FVisibleTabList->GetTab(FirstTab + i)->LayoutLineIndex = FirstLine + j - 1;
    end = start;
  }
}

void TcxCustomTabControl::StretchTabRow(int First, int Last) {
  int sum = 0;
  for (int i = First; i <= Last; ++i)
    sum += TabLengthAlong(i);
  int leftover = NavigatorLayout.LineLength - (sum + TabGap() * (Last - First));
  if (leftover <= 0 || sum <= 0) return;
  const int total = leftover;
  for (int i = First; i < Last; ++i) {
    TcxTab* tab = FVisibleTabList->GetTab(i);
    const int grow = tab->Width * total / sum;
    tab->Width += grow;
    leftover -= grow;
  }
  FVisibleTabList->GetTab(Last)->Width += leftover;
}

void TcxCustomTabControl::CalculateLineThickness() {
  if (!FRotate) {
    LineThickness = FTabs->TabNormalHeight;
    return;
  }
  int widest = 0;
  for (int v = std::max(ShownFirst(), 0); v <= ShownLast(); ++v)
    widest = std::max(widest, FVisibleTabList->GetTab(v)->Width);
  if (FMaxRotatedTabWidth >= 1 && FMaxRotatedTabWidth < widest) widest = FMaxRotatedTabWidth;
  LineThickness = widest;
}

void TcxCustomTabControl::SetTabsAreasAlong() {
  const TRect& r = NavigatorLayout.TabsRect;
  SetAlongExtent(NearTabsArea, AlongStart(r), AlongEnd(r));
  SetAlongExtent(FarTabsArea, AlongStart(r), AlongEnd(r));
}

void TcxCustomTabControl::OrderTabRows() {
  const int n = FVisibleTabList->Count();
  if (n == 0 || LineCount == 0) return;
  const bool topToBottom = FOptions.Contains(pcoTopToBottomText);
  const bool reversed = IsHorizontalLine() ? (FRotate && !topToBottom) != (FTabPosition == tpBottom)
                                           : (!FRotate && topToBottom) != (FTabPosition == tpRight);
  for (int v = 0; v < n; ++v) {
    TcxTab* tab = FVisibleTabList->GetTab(v);
    tab->LineIndex = reversed ? LineCount - tab->LayoutLineIndex - 1 : tab->LayoutLineIndex;
  }
  NearLineCount = LineCount;
  const int selected = FTabIndex == -1 ? -1 : FVisibleTabList->IndexOf(FTabIndex);
  if (selected != -1 && FPainter->MovesSelectedLineToPage()) {
    const int selectedLine = FVisibleTabList->GetTab(selected)->LineIndex;
    if (FScrollOpposite) {
      NearLineCount = selectedLine + 1;
    } else {
      const int shift = LineCount - selectedLine - 1;
      for (int v = 0; v < n; ++v) {
        TcxTab* tab = FVisibleTabList->GetTab(v);
        tab->LineIndex = (tab->LineIndex + shift) % LineCount;
      }
    }
  }
  if (FTabPosition == tpBottom || FTabPosition == tpRight) {
    for (int v = 0; v < n; ++v) {
      TcxTab* tab = FVisibleTabList->GetTab(v);
      tab->LineIndex = LineCount - tab->LineIndex - 1;
    }
    NearLineCount = LineCount - NearLineCount;
  }
  PlaceLinesAcross();
}

void TcxCustomTabControl::PlaceLinesAcross() {
  const TRect& start = NavigatorLayout.TabsStartRect;
  const TRect& tabsRect = NavigatorLayout.TabsRect;
  const int lo = AcrossStart(start);
  const int hi = AcrossEnd(start);
  const int t = LineThickness;
  const int g = LineGap();
  for (int v = 0; v < FVisibleTabList->Count(); ++v) {
    TcxTab* tab = FVisibleTabList->GetTab(v);
    const int line = tab->LineIndex;
    if (line < NearLineCount)
      SetAcross(tab, lo + line * (t + g));
    else
      SetAcross(tab, hi - (LineCount - line) * t - (LineCount - line - 1) * g);
  }
  const int areaLo = AcrossStart(tabsRect);
  const int areaHi = AcrossEnd(tabsRect);
  const int farLines = LineCount - NearLineCount;
  int nearEnd = std::min(areaHi, lo + NearLineCount * (t + g) - g + NavigatorLayout.NearAreaExtra);
  int farStart = std::max(areaLo, hi - farLines * (t + g) + g + NavigatorLayout.FarAreaExtra);
  if (NearLineCount > 0 && farLines > 0) {
    if (FTabPosition == tpTop || FTabPosition == tpLeft)
      farStart = std::max(farStart, std::min(nearEnd + NavigatorLayout.AreaGap, areaHi));
    else
      nearEnd = std::min(nearEnd, std::max(farStart - NavigatorLayout.AreaGap, areaLo));
  }
  SetAcrossExtent(NearTabsArea, areaLo, nearEnd);
  SetAcrossExtent(FarTabsArea, farStart, areaHi);
}

void TcxCustomTabControl::ShowTab(int VisibleIndex) {
  if (VisibleIndex < FirstVisibleTab) {
    FirstVisibleTab = VisibleIndex;
    return;
  }
  if (VisibleIndex < LastVisibleTab || (VisibleIndex == LastVisibleTab && LastTabFits)) return;
  FPainter->CalculateNavigatorLayout(NavigatorButtons, NavigatorLayout);
  const int lineLength = NavigatorLayout.LineLength;
  FirstVisibleTab = VisibleIndex;
  if (lineLength <= 0) return;
  const int gap = TabGap();
  int total = TabLengthAlong(VisibleIndex);
  while (total + gap < lineLength && FirstVisibleTab > 0) {
    --FirstVisibleTab;
    total += gap + TabLengthAlong(FirstVisibleTab);
    if (total > lineLength) {
      ++FirstVisibleTab;
      break;
    }
  }
}

bool TcxCustomTabControl::IsForwardButton(TcxPCNavigatorButton Button) const {
  return Button == (IsReversedOrder() ? nbTopLeft : nbBottomRight);
}

void TcxCustomTabControl::ScrollTabs(int Delta) {
  const TcxPCNavigatorButton button = (Delta > 0) != IsReversedOrder() ? nbBottomRight : nbTopLeft;
  for (int i = 0; i < std::abs(Delta); ++i) {
    if (NavigatorButtonStates[button] == nbsDisabled) return;
    FirstVisibleTab += IsForwardButton(button) ? 1 : -1;
    RecalculateTabs();
  }
}

bool TcxCustomTabControl::CanScroll(TcxPCNavigatorButton Button) {
  if (!IsForwardButton(Button)) return FirstVisibleTab > 0;
  const int last = FVisibleTabList->Count() - 1;
  return !(LastVisibleTab >= last && (LastTabFits || LastVisibleTab == FirstVisibleTab));
}

void TcxCustomTabControl::ResetNavigatorStates(TcxPCNavigatorButtons Shown) {
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbGoDialog}) {
    if (Shown.Contains(b) || !(HotNavigatorButtons.Contains(b) || PressedNavigatorButtons.Contains(b)))
      continue;
    NavigatorButtonStates[b] = nbsNormal;
    HotNavigatorButtons.Exclude(b);
    PressedNavigatorButtons.Exclude(b);
  }
}

void TcxCustomTabControl::SetNavigatorButtonState(TcxPCNavigatorButton Button,
                                                  TcxPCNavigatorButtonState State) {
  const TcxPCNavigatorButtonState old = NavigatorButtonStates[Button];
  if (old == State) return;
  NavigatorButtonStates[Button] = State;
  FPainter->InvalidateNavigatorButton(Button, old);
}

void TcxCustomTabControl::UpdateScrollButtonStates() {
  if (!NavigatorButtons.Contains(nbTopLeft)) return;
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight}) {
    const TcxPCNavigatorButtonState old = NavigatorButtonStates[b];
    const TcxPCNavigatorButtonState state = !CanScroll(b)        ? nbsDisabled
                                            : old == nbsDisabled ? nbsNormal
                                                                 : old;
    if (state == old) continue;
    if (state == nbsDisabled) {
      HotNavigatorButtons.Exclude(b);
      PressedNavigatorButtons.Exclude(b);
    }
    SetNavigatorButtonState(b, state);
    UpdateHotState(KeyboardStateToShiftState());
  }
}

TcxPCLineIndexBoundsArray TcxCustomTabControl::GetLineIndexBounds() {
  TcxPCLineIndexBoundsArray bounds(std::max(LineCount, 0));
  for (int v = std::max(ShownFirst(), 0); v <= ShownLast(); ++v) {
    const int line = FVisibleTabList->GetTab(v)->LineIndex;
    if (line < 0 || line >= LineCount) continue;
    TcxPCLineIndexBounds& b = bounds[line];
    if (b.First == -1 || v < b.First) b.First = v;
    b.Last = std::max(b.Last, v);
  }
  return bounds;
}

TRect TcxCustomTabControl::GetTabsArea(int VisibleIndex) const {
  return FVisibleTabList->GetTab(VisibleIndex)->LineIndex < NearLineCount ? NearTabsArea : FarTabsArea;
}

int TcxCustomTabControl::TabAtPoint(int X, int Y) {
  if (FVisibleTabList->Count() == 0) return -1;
  for (int v = std::max(ShownFirst(), 0); v <= ShownLast(); ++v) {
    if (FVisibleTabList->GetTab(v)->GetVisibleRect().Contains(TPoint(X, Y)) &&
        FPainter->IsPointOverTab(v, X, Y))
      return v;
  }
  return -1;
}
