// Dock controls: rows of docked toolbar windows, their layout and the
// dock's size.
#include "dxBar.h"
#include "dxBarCommon.h"
#include "dxBarPopup.h"

#include "dxBarCommon.h"

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

// The window dragged by the user (not placed by the program meanwhile).
bool IsDragged(const TdxBarManager* manager, const TdxBarControl* window) {
  const TdxBars* bars = manager->GetBars();
  return bars->IsMoving() && bars->MovingControl == window && !window->IsUpdateLocked();
}

} // namespace

TdxDockControl::TdxDockControl(TComponent* AOwner, TdxBarManager* AManager, TdxBarDockingStyle AStyle)
    : TCustomControl(AOwner), FBarManager(nullptr), FBackgroundBitmap(std::make_unique<TBitmap>()),
      FAutomaticStyle(AStyle) {
  FBackgroundBitmap->OnChange = [this](TObject*) { BackgroundChanged(); };
  ControlStyle = ControlStyle + TControlStyle{csDoubleClicks};
  SetParentColor(true);
  if (AStyle != dsNone) SetAlign(AlignOf(AStyle));
  if (IsVertical())
    SetWidth(0);
  else
    SetHeight(0);
  SetManager(AManager);
}

TdxDockControl::~TdxDockControl() {
  SetDestroying();
  SetManager(nullptr);
  for (auto& row : FRows)
    for (TdxDockCol& col : row->Cols)
      col.BarControl->SetDockControl(nullptr);
}

void TdxDockControl::SetManager(TdxBarManager* Value) {
  if (Value == FBarManager) return;
  if (FBarManager) FBarManager->RemoveDockControl(this);
  FBarManager = Value;
  if (Value) Value->AddDockControl(this);
  BarManagerChanged();
}

void TdxDockControl::BarManagerChanged() {
  UpdateDoubleBuffered();
}

void TdxDockControl::UpdateDockColor() {
  if (!FBarManager || FBarManager->AutoDockColor)
    TControl::SetParentColor(true);
  else
    TControl::SetColor(FBarManager->GetDockColor());
}

bool TdxDockControl::IsBackgroundVisible() const {
  return HasOwnBackground() || (FBarManager && FBarManager->GetPainterClass()->HasCustomBackground());
}

void TdxDockControl::UpdateDoubleBuffered() {
  DoubleBuffered = IsBackgroundVisible();
}

void TdxDockControl::BackgroundChanged() {
  UpdateDoubleBuffered();
  Invalidate();
  RepaintBars();
}

void TdxDockControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBarManager) FBarManager = nullptr;
}

TdxBarDockingStyle TdxDockControl::GetDockingStyle() const {
  switch (GetAlign()) {
  case alLeft:
    return dsLeft;
  case alRight:
    return dsRight;
  case alBottom:
    return dsBottom;
  default:
    return dsTop;
  }
}

bool TdxDockControl::GetSunkenBorder() const {
  return FBarManager && FBarManager->GetSunkenBorder();
}

int TdxDockControl::GetWantedSize() const {
  const int size = GetRowsSize();
  return size > 0 && GetSunkenBorder() ? size + 2 : size;
}

int TdxDockControl::AcrossSize() const {
  return IsVertical() ? const_cast<TdxDockControl*>(this)->GetClientWidth()
                      : const_cast<TdxDockControl*>(this)->GetClientHeight();
}

void TdxDockControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  Params.WindowClass.style = CS_DBLCLKS;
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
  int along = IsVertical() ? ClientPoint.y : ClientPoint.x;
  if (TdxBarControl* moving = FBarManager ? FBarManager->GetBars()->MovingControl : nullptr;
      moving && IsDragged(FBarManager, moving)) {
    const POINT grab = moving->GetGrabOffset(GetDockingStyle());
    along -= IsVertical() ? grab.y : grab.x;
  }
  for (size_t i = 0; i < cols.size(); ++i) {
    const TdxBar* bar = cols[i].BarControl->GetBar();
    if ((IsVertical() ? bar->GetDockedTop() : bar->GetDockedLeft()) >= along) return static_cast<int>(i);
  }
  return static_cast<int>(cols.size());
}

TdxDockCol* TdxDockControl::GetColumn(TdxBarControl* BarControl) {
  for (auto& row : FRows)
    for (TdxDockCol& col : row->Cols)
      if (col.BarControl == BarControl) return &col;
  return nullptr;
}

void TdxDockControl::InsertBarControl(TdxBarControl* BarControl, POINT ScreenPoint, bool Realign) {
  if (!FBarManager) return;
  const TdxBar* bar = BarControl->GetBar();
  const bool dragged = IsDragged(FBarManager, BarControl);
  int row = bar->GetRow();
  bool newRow = bar->OneOnRow;
  // Dropped by the user: the row under the point.
  if (dragged) row = RowFromPoint(ScreenPoint, newRow);
  newRow = newRow || bar->GetWholeRow();
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
  POINT point = ScreenPoint;
  if (dragged) {
    const POINT offset = FBarManager->GetBars()->GetDragOffset();
    const POINT grab = BarControl->GetGrabOffset(GetDockingStyle());
    point = POINT{point.x - offset.x - grab.x, point.y - offset.y - grab.y};
  }
  const TPoint client = ScreenToClient(point);
  TdxDockCol col{BarControl, std::max(0, static_cast<int>(IsVertical() ? client.y : client.x))};
  const bool emptyLoadedRow = loading && row < GetRowCount() && FRows[row]->Cols.empty();
  if (row >= GetRowCount() || (newRow && !emptyLoadedRow && !loading)) {
    FRows.insert(FRows.begin() + std::min(row, GetRowCount()), std::make_unique<TdxDockRow>());
    row = std::min(row, GetRowCount() - 1);
    FRows[row]->Cols.push_back(col);
  } else {
    auto& cols = FRows[row]->Cols;
    cols.insert(cols.begin() + (emptyLoadedRow ? 0 : ColumnFromPoint(row, ScreenToClient(ScreenPoint))), col);
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

void TdxDockControl::MoveBarControl(TdxBarControl* BarControl, POINT ScreenPoint) {
  RemoveBarControl(BarControl, false);
  InsertBarControl(BarControl, ScreenPoint, true);
  RepaintBars();
}

void TdxDockControl::UpdateColumnPositions() {
  for (auto& row : FRows)
    for (TdxDockCol& col : row->Cols)
      col.Pos = IsVertical() ? col.BarControl->GetTop() : col.BarControl->GetLeft();
}

void TdxDockControl::RecreateFrame() {
  if (HandleAllocated()) {
    SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (auto& row : FRows)
      for (TdxDockCol& col : row->Cols)
        if (col.BarControl->HandleAllocated())
          SetWindowPos(col.BarControl->GetHandle(), nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Realign();
}

void TdxDockControl::RepaintBars() {
  for (auto& row : FRows)
    for (TdxDockCol& col : row->Cols)
      col.BarControl->RefreshFrameAndInvalidate();
}

void TdxDockControl::Realign() {
  TCustomForm* form = FBarManager ? FBarManager->GetOwnerForm() : nullptr;
  if ((form && form->IsDestroying()) || (FBarManager && FBarManager->GetLockUpdate())) return;
  LayoutRows();
  AdjustSize();
}

// ---- Layout ----

int TdxDockControl::WindowThickness(TdxBarControl* BarControl, int Length) const {
  const TdxBarDockingStyle style = GetDockingStyle();
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
  const TdxBarDockingStyle style = GetDockingStyle();
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
  const int size = GetWantedSize();
  const int old = IsVertical() ? GetWidth() : GetHeight();
  switch (GetDockingStyle()) {
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
  if (size == old) return;
  // A dock that changes its size under an open menu closes it.
  TCustomdxBarControl* active = ActiveBarControl();
  if (!active || (active->HandleAllocated() && GetCapture() == active->GetHandle())) return;
  TCustomdxBarControl* root = active;
  while (root->ParentBarControl)
    root = root->ParentBarControl;
  auto* toolbar = dynamic_cast<TdxBarControl*>(root);
  if (dynamic_cast<TdxBarDockControl*>(this) && toolbar &&
      !dynamic_cast<TdxBarDockControl*>(toolbar->GetDockControl()))
    return;
  active->Deactivate();
}

// ---- Painting and messages ----

void TdxDockControl::DrawBackground(HDC DC, const TRect& R, TColor Color, HBRUSH Brush) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  if (HasOwnBackground()) return TileBitmap(DC, R, R, FBackgroundBitmap.get());
  if (!FBarManager) return;
  if (TBitmap* picture = FBarManager->GetBackgrounds()->GetBar(); !picture->GetEmpty())
    return TileBitmap(DC, R, R, picture);
  FBarManager->GetPainterClass()->DrawDockControlBackground(this, DC, R, Brush, Color);
}

void TdxDockControl::InitiateAction() {
  TCustomControl::InitiateAction();
  // The top automatic dock is the bars' action client.
  if (FAutomaticStyle != dsTop || !FBarManager) return;
  TdxBars* bars = FBarManager->GetBars();
  for (int i = 0; i < bars->GetCount(); ++i)
    if (bars->GetItem(i)->GetVisible()) bars->GetItem(i)->GetItemLinks()->UpdateActions();
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
  case WM_NCCALCSIZE:
    TCustomControl::WndProc(Message);
    if (GetSunkenBorder()) InflateRect(reinterpret_cast<RECT*>(Message.LParam), -1, -1);
    return;
  case WM_NCPAINT:
    TCustomControl::WndProc(Message);
    if (GetSunkenBorder()) {
      HDC dc = GetWindowDC(GetHandle());
      RECT r{0, 0, GetWidth(), GetHeight()};
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      ReleaseDC(GetHandle(), dc);
    }
    return;
  case WM_WINDOWPOSCHANGED:
    TCustomControl::WndProc(Message);
    if ((reinterpret_cast<const WINDOWPOS*>(Message.LParam)->flags & (SWP_NOMOVE | SWP_NOSIZE)) !=
        (SWP_NOMOVE | SWP_NOSIZE))
      StatusBarsMoved();
    return;
  case WM_LBUTTONDBLCLK:
    TCustomControl::WndProc(Message);
    if (FBarManager && FBarManager->CanCustomize && IsBarCustomizingFormRegistered())
      FBarManager->SetCustomizing(true);
    return;
  case WM_RBUTTONDOWN:
    TCustomControl::WndProc(Message);
    if (FBarManager && !FBarManager->IsCustomizing()) {
      POINT cursor;
      GetCursorPos(&cursor);
      ShowToolbarsPopup(FBarManager, cursor);
    }
    return;
  case WM_CREATE:
    TCustomControl::WndProc(Message);
    WindowCreated();
    return;
  case WM_DESTROY:
    if (FBarManager) FBarManager->StartPendingBars();
    break;
  }
  TCustomControl::WndProc(Message);
}

void TdxDockControl::StatusBarsMoved() {
  if (!FBarManager || GetDockingStyle() != dsBottom) return;
  // A status bar's size grip shows only where the bar meets the form's
  // bottom: its frame is measured again.
  for (auto& row : FRows)
    for (TdxDockCol& col : row->Cols)
      if (col.BarControl->GetBar()->IsStatusBar() && col.BarControl->HandleAllocated())
        SetWindowPos(col.BarControl->GetHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Geometry of docking ----

TRect TdxDockControl::GetDockingZone() {
  const int zone = FBarManager ? FBarManager->GetBars()->DockingZoneWidth : 23;
  TRect r = GetBoundsRect();
  if (GetParent()) {
    const TPoint origin = GetParent()->ClientToScreen(TPoint(0, 0));
    OffsetRect(&r, origin.x, origin.y);
  }
  InflateRect(&r, zone, IsVertical() ? 0 : zone);
  return r;
}

TRect TdxDockControl::GetRowBounds(int Row) const {
  if (Row < 0 || Row >= GetRowCount()) return TRect();
  int start = 0;
  for (int i = 0; i < Row; ++i)
    start += GetRowThickness(i);
  // While a bar is dragged, right and bottom docks stack from their far edge.
  if (FBarManager && FBarManager->GetBars()->IsMoving() &&
      (GetDockingStyle() == dsRight || GetDockingStyle() == dsBottom)) {
    start = AcrossSize();
    for (int i = Row; i < GetRowCount(); ++i)
      start -= GetRowThickness(i);
  }
  const int length = IsVertical() ? const_cast<TdxDockControl*>(this)->GetClientHeight()
                                  : const_cast<TdxDockControl*>(this)->GetClientWidth();
  const int thickness = GetRowThickness(Row);
  return IsVertical() ? Bounds(start, 0, thickness, length) : Bounds(0, start, length, thickness);
}

void TdxDockControl::GetRowZone(int Row, int Part, int& From, int& To) const {
  const int zone = FBarManager ? FBarManager->GetBars()->DockingZoneWidth : 23;
  const bool farSide = GetDockingStyle() == dsRight || GetDockingStyle() == dsBottom;
  const int rows = GetRowsSize(), size = AcrossSize();
  int a, b;
  if (Row < 0) {
    a = farSide ? size - rows - zone : -zone;
    b = a + zone;
  } else if (Row >= GetRowCount()) {
    a = farSide ? size : rows;
    b = a + zone;
  } else {
    const TRect r = GetRowBounds(Row);
    a = IsVertical() ? r.left : r.top;
    b = IsVertical() ? r.right : r.bottom;
  }
  // The new-row strip is 5 pixels, 9 from the near edge of the zone
  // (left and top docks) or 14 from its far edge.
  const int split = farSide ? b - 14 : a + (zone - 5) / 2;
  switch (Part) {
  case 0:
    From = a;
    To = split;
    break;
  case 1:
    From = split;
    To = split + 5;
    break;
  default:
    From = split + 5;
    To = b;
  }
}

int TdxDockControl::RowFromPoint(POINT ScreenPoint, bool& NewRow) {
  const TPoint client = ScreenToClient(ScreenPoint);
  const int across = IsVertical() ? client.x : client.y;
  NewRow = true;
  if (FRows.empty()) return 0;
  for (int r = -1; r <= GetRowCount(); ++r)
    for (int part = 0; part < 3; ++part) {
      int from, to;
      GetRowZone(r, part, from, to);
      if (across < from || across >= to) continue;
      const int row = part == 0 ? r : r + 1;
      NewRow = part == 1 || row >= GetRowCount();
      return row;
    }
  return across < GetRowsSize() ? 0 : GetRowCount();
}

POINT TdxDockControl::SnapToRow(int Row, bool NewRow, POINT ScreenPoint) {
  if (Row == GetRowCount()) NewRow = false;
  int low, high;
  if (NewRow) {
    GetRowZone(Row - 1, 1, low, high);
  } else {
    int start0;
    GetRowZone(Row, 0, start0, high);
    int start2, end2;
    GetRowZone(Row - 1, 2, start2, end2);
    low = start2;
    if (high - start0 < end2 - start2) low = start0 - (high - start0);
  }
  TPoint client = ScreenToClient(ScreenPoint);
  if (IsVertical())
    client.x = (low + high) / 2;
  else
    client.y = (low + high) / 2;
  return ClientToScreen(client);
}

// ---- The placed dock ----

namespace {

TAlign AlignOfDock(TdxBarDockAlign align) {
  switch (align) {
  case dalBottom:
    return alBottom;
  case dalLeft:
    return alLeft;
  case dalRight:
    return alRight;
  case dalTop:
    return alTop;
  default:
    return alNone;
  }
}

TdxBarDockingStyle StyleOfDock(TdxBarDockAlign align) {
  switch (align) {
  case dalBottom:
    return dsBottom;
  case dalLeft:
    return dsLeft;
  case dalRight:
    return dsRight;
  default:
    return dsTop;
  }
}

} // namespace

TdxBarDockControl::TdxBarDockControl(TComponent* AOwner) : TdxDockControl(AOwner, nullptr, dsNone) {
  SetAlign(alTop);
  SetHeight(0);
}

TdxBarDockControl::~TdxBarDockControl() = default;

void TdxBarDockControl::SetBarManager(TdxBarManager* Value) {
  SetManager(Value);
}

void TdxBarDockControl::BarManagerChanged() {
  TdxDockControl::BarManagerChanged();
  if (IsDestroying() || (FBarManager && FBarManager->IsDestroying())) return;
  UpdateDockColor();
  if (FBarManager) RecreateFrame();
}

void TdxBarDockControl::UpdateDockColor() {
  if (FUseOwnColor) return;
  TdxDockControl::UpdateDockColor();
}

void TdxBarDockControl::SetColor(TColor Value) {
  TControl::SetColor(Value);
  if (!IsLoading()) FUseOwnColor = true;
}

void TdxBarDockControl::SetParentColor(bool Value) {
  TControl::SetParentColor(Value);
  if (!IsLoading()) FUseOwnColor = true;
}

void TdxBarDockControl::SetUseOwnColor(bool Value) {
  FUseOwnColor = Value;
  if (!Value) UpdateDockColor();
}

void TdxBarDockControl::SetDockAlign(TdxBarDockAlign Value) {
  if (Value == FDockAlign) return;
  FDockAlign = Value;
  std::vector<TdxBarControl*> windows;
  for (int r = 0; r < GetRowCount(); ++r)
    for (const TdxDockCol& col : GetRow(r).Cols)
      windows.push_back(col.BarControl);
  {
    std::unique_ptr<TLockUpdateScope> lock(FBarManager ? new TLockUpdateScope(FBarManager) : nullptr);
    for (TdxBarControl* window : windows)
      window->SetDockingStyle(StyleOfDock(Value));
    SetAlign(AlignOfDock(Value));
  }
  for (TdxBarControl* window : windows)
    window->Rebuild();
  Realign();
  if (GetParent()) GetParent()->Invalidate();
}

bool TdxBarDockControl::CanDock(TdxBar* ABar) const {
  if (!TdxDockControl::CanDock(ABar)) return false;
  TdxBarControl* window = ABar->GetBarControl();
  for (const TWinControl* c = GetParent(); window && c; c = c->GetParent())
    if (c == window) return false;
  return true;
}

int TdxBarDockControl::GetRowsSize() const {
  if (IsLoading() || (FBarManager && FBarManager->GetBars()->IsApplyingLoadedState()))
    return IsVertical() ? const_cast<TdxBarDockControl*>(this)->GetClientWidth()
                        : const_cast<TdxBarDockControl*>(this)->GetClientHeight();
  return TdxDockControl::GetRowsSize();
}

bool TdxBarDockControl::GetSunkenBorder() const {
  return FUseOwnSunkenBorder ? FSunkenBorder : TdxDockControl::GetSunkenBorder();
}

void TdxBarDockControl::SetSunkenBorder(bool Value) {
  FSunkenBorder = Value;
  FUseOwnSunkenBorder = true;
  RecreateFrame();
}

void TdxBarDockControl::SetUseOwnSunkenBorder(bool Value) {
  if (Value == FUseOwnSunkenBorder) return;
  const bool effective = GetSunkenBorder();
  FUseOwnSunkenBorder = Value;
  if (Value)
    FSunkenBorder = effective;
  else if (TdxDockControl::GetSunkenBorder() != FSunkenBorder)
    RecreateFrame();
}

void TdxBarDockControl::WindowCreated() {
  if (!FBarManager || !FBarManager->HasPendingBars()) return;
  TdxBars* bars = FBarManager->GetBars();
  for (int i = 0; i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    if (bar->GetDockedDockControl() == this && bar->GetDockingStyle() != dsNone &&
        FBarManager->IsPendingBar(bar)) {
      FBarManager->RemovePendingBar(bar);
      bar->SetVisible(true);
    }
  }
}
