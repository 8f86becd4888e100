// Dock controls: rows of docked toolbar windows, their layout and the
// dock's size.
#include "dxBar.h"

#include "Forms.h"

#include <algorithm>
#include <numeric>

namespace {

TAlign AlignOf(TdxBarDockingStyle style) {
  switch (style) {
  case dsLeft:
    return alLeft;
  case dsRight:
    return alRight;
  case dsBottom:
    return alBottom;
  default:
    return alTop;
  }
}

} // namespace

TdxDockControl::TdxDockControl(TComponent* AOwner, TdxBarManager* AManager, TdxBarDockingStyle AStyle)
    : TCustomControl(AOwner), FBarManager(AManager), FDockingStyle(AStyle) {
  SetParentColor(true);
  if (AStyle != dsNone) SetAlign(AlignOf(AStyle));
  if (IsVertical())
    SetWidth(0);
  else
    SetHeight(0);
}

TdxDockControl::~TdxDockControl() {
  for (auto& row : FRows)
    for (TdxDockCol& col : row->Cols)
      col.BarControl->SetDockControl(nullptr);
}

int TdxDockControl::GetRowThickness(int Index) const {
  int thickness = 0;
  for (const TdxDockCol& col : FRows[Index]->Cols)
    thickness = std::max(thickness, IsVertical() ? col.BarControl->GetWidth() : col.BarControl->GetHeight());
  return thickness;
}

int TdxDockControl::GetRowsSize() const {
  int size = 0;
  for (int i = 0; i < GetRowCount(); ++i)
    size += GetRowThickness(i);
  return size;
}

int TdxDockControl::ColumnFromPoint(int Row, POINT ClientPoint) const {
  if (Row < 0 || Row >= GetRowCount()) return 0;
  const auto& cols = FRows[Row]->Cols;
  const int along = IsVertical() ? ClientPoint.y : ClientPoint.x;
  for (size_t i = 0; i < cols.size(); ++i) {
    const TdxBar* bar = cols[i].BarControl->GetBar();
    if ((IsVertical() ? bar->GetDockedTop() : bar->GetDockedLeft()) >= along) return static_cast<int>(i);
  }
  return static_cast<int>(cols.size());
}

void TdxDockControl::InsertBarControl(TdxBarControl* BarControl, POINT ScreenPoint, bool Realign) {
  if (!FBarManager) return;
  const TdxBar* bar = BarControl->GetBar();
  int row = bar->GetRow();
  bool newRow = bar->OneOnRow || bar->GetWholeRow();
  const bool loading = FBarManager->GetBars()->IsApplyingLoadedState();
  if (loading) {
    // Empty rows keep the stored row numbers, but never more of them than
    // there are bars: a larger number is the row after the last.
    if (row >= FBarManager->GetBars()->GetCount()) row = GetRowCount();
    while (GetRowCount() < row)
      FRows.push_back(std::make_unique<TdxDockRow>());
  } else {
    row = std::max(0, std::min(row, newRow ? GetRowCount() : GetRowCount() - 1));
  }
  if (row < GetRowCount() && !loading && !newRow)
    for (const TdxDockCol& col : FRows[row]->Cols)
      if (col.BarControl != BarControl && col.BarControl->GetBar()->GetWholeRow()) newRow = true;
  const TPoint client = ScreenToClient(ScreenPoint);
  TdxDockCol col{BarControl, std::max(0, static_cast<int>(IsVertical() ? client.y : client.x))};
  const bool emptyLoadedRow = loading && row < GetRowCount() && FRows[row]->Cols.empty();
  if (row >= GetRowCount() || (newRow && !emptyLoadedRow && !loading)) {
    FRows.insert(FRows.begin() + std::min(row, GetRowCount()), std::make_unique<TdxDockRow>());
    row = std::min(row, GetRowCount() - 1);
    FRows[row]->Cols.push_back(col);
  } else {
    auto& cols = FRows[row]->Cols;
    cols.insert(cols.begin() + (emptyLoadedRow ? 0 : ColumnFromPoint(row, client)), col);
  }
  BarControl->SetDockControl(this);
  if (!Realign) return;
  TdxDockControl::Realign();
}

void TdxDockControl::RemoveBarControl(TdxBarControl* BarControl, bool Realign) {
  for (auto it = FRows.begin(); it != FRows.end(); ++it) {
    auto& cols = (*it)->Cols;
    auto col = std::find_if(cols.begin(), cols.end(),
                            [&](const TdxDockCol& c) { return c.BarControl == BarControl; });
    if (col == cols.end()) continue;
    cols.erase(col);
    if (cols.empty()) FRows.erase(it);
    break;
  }
  BarControl->SetDockControl(nullptr);
  if (Realign) TdxDockControl::Realign();
}

void TdxDockControl::Realign() {
  TCustomForm* form = FBarManager ? FBarManager->GetOwnerForm() : nullptr;
  if ((form && form->IsDestroying()) || (FBarManager && FBarManager->GetLockUpdate())) return;
  LayoutRows();
  AdjustSize();
}

// ---- Layout ----

int TdxDockControl::WindowThickness(TdxBarControl* BarControl, int Length) const {
  const TdxBarDockingStyle style = FDockingStyle;
  int inner =
      Length - (IsVertical() ? BarControl->GetBorderHeight(style) : BarControl->GetBorderWidth(style));
  if (BarControl->GetTruncated() && !BarControl->GetPainter()->SupportsQuickCustomization())
    inner -= TdxBarControl::MarkSize;
  return IsVertical() ? BarControl->CalcSizeForHeight(style, inner).cx
                      : BarControl->CalcSizeForWidth(style, inner).cy;
}

void TdxDockControl::LayoutRows() {
  if (FRows.empty() || !FBarManager || FBarManager->GetBars()->IsApplyingLoadedState()) return;
  TCustomForm* form = FBarManager->GetOwnerForm();
  if (form && form->IsDestroying()) return;
  DisableAlign();
  const int length = IsVertical() ? GetClientHeight() : GetClientWidth();
  int start = 0;
  for (auto& row : FRows) {
    if (row->Cols.empty()) continue;
    LayoutRow(*row, start, length);
    start += row->Cols.front().BarControl->LayoutThickness;
  }
  EnableAlign();
  Invalidate();
}

void TdxDockControl::LayoutRow(TdxDockRow& Row, int Start, int D) {
  const TdxBarDockingStyle style = FDockingStyle;
  const bool vertical = IsVertical();
  auto& cols = Row.Cols;
  const int n = static_cast<int>(cols.size());
  std::vector<int> mins(n), maxs(n);
  for (int i = 0; i < n; ++i) {
    TdxBarControl* w = cols[i].BarControl;
    w->SetTruncated(false);
    w->GetItemLinks()->SetRecentItemCount(-1);
    const int border = vertical ? w->GetBorderHeight(style) : w->GetBorderWidth(style);
    mins[i] = (vertical ? w->GetMinHeight(style) : w->GetMinWidth(style)) + border;
    maxs[i] = (vertical ? w->GetMaxHeight(style) : w->GetMaxWidth(style)) + border;
    if (!w->MarkVisible() && mins[i] != maxs[i]) mins[i] += TdxBarControl::MarkSize;
    w->MinLength = mins[i];
    w->MaxLength = maxs[i];
  }
  auto sumBefore = [](const std::vector<int>& v, int i) {
    return std::accumulate(v.begin(), v.begin() + i, 0);
  };
  auto across = [&](TdxBarControl* w) {
    return vertical ? w->GetBorderWidth(style) : w->GetBorderHeight(style);
  };
  auto fullThickness = [&](TdxBarControl* w, int length) {
    if (w->Wraps()) return WindowThickness(w, length);
    return vertical ? w->GetMaxWidth(style) : w->GetMaxHeight(style);
  };
  int thickness = 0;
  if (cols.front().BarControl->GetBar()->GetWholeRow()) {
    TdxBarControl* w = cols.front().BarControl;
    w->LayoutPos = 0;
    w->LayoutLength = std::max(D, mins[0]);
    w->SetTruncated(!w->Wraps() && w->LayoutLength < maxs[0]);
    thickness = WindowThickness(w, w->LayoutLength) + across(w);
  } else if (D < sumBefore(maxs, n)) {
    int e = D;
    for (int i = n - 1; i >= 0; --i) {
      TdxBarControl* w = cols[i].BarControl;
      const int p =
          std::clamp(cols[i].Pos, sumBefore(mins, i), std::max(sumBefore(mins, i), sumBefore(maxs, i)));
      const int room = e - p;
      int length, t;
      if (room < maxs[i]) {
        w->SetTruncated(!w->Wraps() && mins[i] != maxs[i]);
        length = std::max(mins[i], room);
        t = WindowThickness(w, length);
      } else {
        length = maxs[i];
        t = fullThickness(w, length);
      }
      if (i == 0) length = std::max(length, e);
      w->LayoutPos =
          std::clamp(e - length, sumBefore(mins, i), std::max(sumBefore(mins, i), sumBefore(maxs, i)));
      w->LayoutLength = length;
      thickness = std::max(thickness, t + across(w));
      e -= length;
    }
  } else {
    int e = D;
    for (int i = n - 1; i >= 0; --i) {
      TdxBarControl* w = cols[i].BarControl;
      const int length = maxs[i];
      thickness = std::max(thickness, fullThickness(w, length) + across(w));
      int position = cols[i].Pos + length > e ? e - length : cols[i].Pos;
      position = std::max(position, sumBefore(maxs, i));
      w->LayoutPos = position;
      w->LayoutLength = length;
      e = position;
    }
  }
  for (int i = 0; i < n; ++i) {
    TdxBarControl* w = cols[i].BarControl;
    if (!w->GetBar()->UseRestSpace) continue;
    const int from = i == 0 ? 0 : cols[i - 1].BarControl->LayoutPos + cols[i - 1].BarControl->LayoutLength;
    const int to = i == n - 1 ? D : cols[i + 1].BarControl->LayoutPos;
    w->LayoutPos = from;
    w->LayoutLength = std::max(mins[i], to - from);
  }
  for (int i = 0; i < n; ++i) {
    TdxBarControl* w = cols[i].BarControl;
    if (i == n - 1 && w->GetTruncated()) w->LayoutLength = std::max(mins[i], D - w->LayoutPos);
    w->LayoutThickness = thickness;
    WindowThickness(w, w->LayoutLength);
    const TRect bounds = vertical ? Bounds(Start, w->LayoutPos, thickness, w->LayoutLength)
                                  : Bounds(w->LayoutPos, Start, w->LayoutLength, thickness);
    if (bounds != w->GetBoundsRect()) w->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    w->LayoutLinks();
  }
}

void TdxDockControl::AdjustSize() {
  const int size = GetRowsSize();
  switch (FDockingStyle) {
  case dsRight:
    SetBounds(GetLeft() + GetWidth() - size, GetTop(), size, GetHeight());
    break;
  case dsBottom:
    SetBounds(GetLeft(), GetTop() + GetHeight() - size, GetWidth(), size);
    break;
  case dsLeft:
    SetWidth(size);
    break;
  default:
    SetHeight(size);
  }
}

// ---- Painting and messages ----

void TdxDockControl::DrawBackground(HDC DC, const TRect& R, TColor Color, HBRUSH Brush) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  FBarManager->GetPainterClass()->DrawDockControlBackground(this, DC, R, Brush, Color);
}

void TdxDockControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ERASEBKGND: {
    const TRect client = GetClientRect();
    DrawBackground(reinterpret_cast<HDC>(Message.WParam), client, GetColor(), nullptr);
    Message.Result = 1;
    return;
  }
  case WM_MOUSEACTIVATE:
    TCustomControl::WndProc(Message);
    Message.Result = MA_NOACTIVATE;
    if (TCustomForm* form = FBarManager ? FBarManager->GetOwnerForm() : nullptr;
        form && form->HandleAllocated())
      SetWindowPos(form->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return;
  }
  TCustomControl::WndProc(Message);
}
