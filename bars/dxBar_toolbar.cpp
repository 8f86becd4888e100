// The toolbar window: a bar docked in a dock control or floating, its link
// layout, its frame and its painting.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarStrs.h"

#include "Forms.h"

#include <algorithm>

TdxBarControl::TdxBarControl(TdxBarManager* AOwner, TdxBar* ABar) : TCustomdxBarControl(AOwner), FBar(ABar) {
  SetItemLinks(ABar->GetItemLinks());
}

TdxBarControl::~TdxBarControl() {
  Deactivate();
  if (TdxDockControl* dock = GetDockControl()) dock->RemoveBarControl(this, !GetBarManager()->IsDestroying());
  if (FRotatedFont) DeleteObject(FRotatedFont);
}

// ---- Answers ----

bool TdxBarControl::MarkVisible() const {
  return FBar->ShowMark &&
         (FTruncated || (GetPainter()->SupportsQuickCustomization() && FBar->AllowQuickCustomizing));
}

int TdxBarControl::GetSeparatorSize() const {
  return GetPainter()->GetSeparatorSize();
}

HFONT TdxBarControl::GetFontHandle() const {
  return FBar->GetUseOwnFont() ? FBar->GetFont()->GetHandle() : TCustomdxBarControl::GetFontHandle();
}

HBRUSH TdxBarControl::GetToolbarBrush() const {
  return GetPainter()->GetToolbarWindowBrush(this);
}

void TdxBarControl::GetControlRect(const TdxBarItemControl* Control, TRect& R) {
  TCustomdxBarControl::GetControlRect(Control, R);
  if (!Control || !Control->GetLink()) return;
  const int line = Control->GetLink()->LineThickness;
  if (IsVertical()) {
    R.left -= (line - R.Width()) / 2;
    R.right = R.left + line;
  } else {
    R.top -= (line - R.Height()) / 2;
    R.bottom = R.top + line;
  }
}

TRect TdxBarControl::GetCaptionRect() {
  const TdxBarItemControlPainterClass painter = GetPainter();
  TRect r(0, 0, GetWidth(), GetHeight());
  InflateRect(&r, -painter->GetFloatingBorderWidth(), -painter->GetFloatingBorderHeight());
  r.bottom = r.top + painter->GetSmallCaptionSize();
  return r;
}

TRect TdxBarControl::GetCaptionMarkRect() {
  const TRect caption = GetCaptionRect();
  return TRect(caption.left, caption.top, caption.left + caption.Height(), caption.bottom);
}

void TdxBarControl::SetMarkState(int Value) {
  if (IsCustomizing() || Value == GetMarkState()) return;
  SetMarkStateField(Value);
  if (Value == 1)
    GetBarManager()->ShowHint(true, dxBarString(dxSBAR_MOREBUTTONS));
  else if (Value == 0 && !GetSelectedControl())
    GetBarManager()->ShowHint(false, String());
  GetPainter()->InvalidateMark(this);
}

// ---- Layout ----

void TdxBarControl::Rebuild() {
  if (GetDestroying() || !HandleAllocated()) return;
  DestroyControls();
  CreateControls();
  LayoutLinks();
  Invalidate();
}

void TdxBarControl::CentreLine(const std::vector<TdxBarItemLink*>& Line, int Thickness) {
  for (TdxBarItemLink* link : Line) {
    TRect& r = link->ItemRect;
    const int shift = IsVertical() ? -(Thickness - r.Width()) / 2 : (Thickness - r.Height()) / 2;
    if (IsVertical())
      OffsetRect(&r, shift, 0);
    else
      OffsetRect(&r, 0, shift);
    link->LineThickness = Thickness;
  }
}

void TdxBarControl::PlaceLink(TdxBarItemLink* Link, int Pos, int Separator, int Line, int Length,
                              int Thickness, int LineThickness) {
  const int along = Pos + Separator;
  const int w = GetClientWidth(), h = GetClientHeight();
  TRect r;
  if (Wraps())
    r = IsVertical() ? Bounds(w - Line - Thickness, along, Thickness, Length)
                     : Bounds(along, Line, Length, Thickness);
  else
    r = IsVertical() ? Bounds((w - Thickness) / 2, along, Thickness, Length)
                     : Bounds(along, (h - Thickness) / 2, Length, Thickness);
  Link->ItemRect = r;
  Link->LineThickness = LineThickness;
}

void TdxBarControl::LayoutLinks() {
  TdxBarItemLinks* links = GetItemLinks();
  links->ClearItemRects();
  const bool docked = GetDockingStyle() != dsNone;
  const int length = IsVertical() ? GetClientHeight() : GetClientWidth();
  const int across = IsVertical() ? GetClientWidth() : GetClientHeight();
  const int mark = MarkVisible() && (docked || !Wraps()) ? TdxBarControl::MarkSize : 0;
  const int room = length - mark;
  int pos = 0, line = 0, thickness = Wraps() ? 0 : across;
  std::vector<TdxBarItemLink*> current;
  TdxBarItemLink* last = nullptr;
  for (int i = 0; i < links->GetShownCount(); ++i) {
    TdxBarItemLink* link = links->GetShownLink(i);
    link->CreateControl();
    TdxBarItemControl* control = link->GetControl();
    if (!control) continue;
    control->LineEnd = false;
    const int l = control->GetWidth(), m = control->GetHeight();
    int separator = link->GetBeginGroup() && pos > 0 ? GetSeparatorSize() : 0;
    if ((pos > 0 && pos + separator + l > room) || (Wraps() && control->LineStart && pos > 0)) {
      if (!Wraps()) break;
      if (last) last->GetControl()->LineEnd = true;
      CentreLine(current, thickness);
      current.clear();
      line += thickness + separator;
      pos = separator = thickness = 0;
    }
    thickness = std::max(thickness, m);
    PlaceLink(link, pos, separator, line, l, m, thickness);
    current.push_back(link);
    pos += separator + l;
    last = link;
  }
  if (last) last->GetControl()->LineEnd = true;
  if (Wraps()) CentreLine(current, thickness);
}

// ---- The window ----

void TdxBarControl::CreateParams(TCreateParams& Params) {
  TCustomdxBarControl::CreateParams(Params);
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.ExStyle = 0;
  if (GetDockingStyle() == dsNone) {
    Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_SYSMENU | WS_THICKFRAME;
    if (TCustomForm* form = GetBarManager()->GetOwnerForm()) Params.WndParent = form->GetHandle();
  } else {
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  }
}

void TdxBarControl::CreateWnd() {
  TCustomdxBarControl::CreateWnd();
  SetWindowTextA(GetHandle(), FBar->GetCaption().c_str());
  SendMessageA(GetHandle(), WM_NCACTIVATE, 1, 0);
}

void TdxBarControl::UpdateFont() {
  GetFont()->Assign(FBar->GetFont());
  if (FRotatedFont) DeleteObject(FRotatedFont);
  FRotatedFont = nullptr;
  if (!ShowsRotatedCaptions()) return;
  LOGFONTA log{};
  GetObjectA(GetFontHandle(), sizeof(log), &log);
  log.lfEscapement = log.lfOrientation = -900;
  log.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  FRotatedFont = CreateFontIndirectA(&log);
}

void TdxBarControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_NCCALCSIZE:
    return WMNCCalcSize(Message);
  case WM_NCPAINT:
    return WMNCPaint(Message);
  case WM_GETDLGCODE:
    Message.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB;
    return;
  case CM_FONTCHANGED:
    if (FUpdatingFont) break;
    FUpdatingFont = true;
    try {
      UpdateFont();
    } catch (...) {
      FUpdatingFont = false;
      throw;
    }
    FUpdatingFont = false;
    CalcMetrics();
    if (HandleAllocated()) {
      HotTrackControl(nullptr);
      Rebuild();
    }
    break;
  }
  TCustomdxBarControl::WndProc(Message);
}

void TdxBarControl::WMNCCalcSize(TMessage& Message) {
  const TdxBarItemControlPainterClass painter = GetPainter();
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  if (GetDockingStyle() == dsNone) {
    if (painter->UsesSystemFloatingFrame())
      TCustomdxBarControl::WndProc(Message);
    else
      InflateRect(r, -painter->GetFloatingBorderWidth(), -painter->GetFloatingBorderHeight());
    r->top += painter->GetFloatingCaptionHeight() + painter->GetFloatingFrameTopHeight();
    r->left += painter->GetFloatingFrameSideWidth();
    r->right -= painter->GetFloatingFrameSideWidth();
    r->bottom -= painter->GetFloatingFrameBottomHeight();
    Message.Result = 0;
    return;
  }
  if (FBar->BorderStyle == bbsSingle) {
    const TRect offsets = painter->GetDockedBorderOffsets(this);
    const int grip = GetBarManager()->GetGripSize(FBar);
    r->left += offsets.left + (IsVertical() ? 0 : grip);
    r->top += offsets.top + (IsVertical() ? grip : 0);
    r->right -= offsets.right;
    r->bottom -= offsets.bottom;
  } else if (FBar->IsStatusBar()) {
    r->top += painter->GetBottomBarEdgeHeight();
  }
  Message.Result = 0;
}

void TdxBarControl::WMNCPaint(TMessage& Message) {
  if (GetDockingStyle() == dsNone && GetPainter()->UsesSystemFloatingFrame())
    TCustomdxBarControl::WndProc(Message);
  Message.Result = 0;
  if (GetDockingStyle() != dsNone && FBar->BorderStyle != bbsSingle) return;
  HDC dc = GetWindowDC(GetHandle());
  RECT window, client;
  GetWindowRect(GetHandle(), &window);
  ::GetClientRect(GetHandle(), &client);
  MapWindowPoints(GetHandle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  OffsetRect(&window, -window.left, -window.top);
  const TdxBarItemControlPainterClass painter = GetPainter();
  HBRUSH brush = GetToolbarBrush();
  TRect ring = window;
  if (GetDockingStyle() == dsNone) {
    painter->DrawFloatingFrame(this, dc, window);
    ring = client;
    ring.left -= painter->GetFloatingFrameSideWidth();
    ring.right += painter->GetFloatingFrameSideWidth();
    ring.top -= painter->GetFloatingFrameTopHeight() + painter->GetFloatingCaptionHeight();
    ring.bottom += painter->GetFloatingFrameBottomHeight();
  } else {
    const TRect widths = painter->GetDockedBorderWidths(this);
    ring = TRect(window.left + widths.left, window.top + widths.top, window.right - widths.right,
                 window.bottom - widths.bottom);
  }
  HRGN saved = nullptr;
  bool existed = false;
  SaveDCClipRegion(dc, saved, existed);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  DrawBackground(dc, ring, false, clNone, brush);
  RestoreDCClipRegion(dc, saved, existed);
  if (GetDockingStyle() == dsNone)
    painter->DrawFloatingCaption(this, dc, brush, clNone, GetCaptionRect());
  else
    painter->DrawDockedBarBorder(this, dc, window);
  ReleaseDC(GetHandle(), dc);
}

// ---- Painting ----

void TdxBarControl::PaintItemControl(TdxBarItemControl* Control) {
  TCustomdxBarControl::PaintItemControl(Control);
  if (!Control || !Control->GetLink()) return;
  const TRect r = Control->GetLink()->ItemRect;
  if (FPaintingControl) {
    if (HandleAllocated()) InvalidateRect(GetHandle(), &r, FALSE);
    return;
  }
  HDC dc = GetCanvas()->GetHandle();
  HRGN saved = nullptr;
  bool existed = false;
  SaveDCClipRegion(dc, saved, existed);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  try {
    Control->Paint(r, ShowsRotatedCaptions() ? 2 : 0);
  } catch (...) {
    RestoreDCClipRegion(dc, saved, existed);
    throw;
  }
  RestoreDCClipRegion(dc, saved, existed);
}

void TdxBarControl::PaintSeparator(TdxBarItemLink* Link, HRGN Region) {
  TdxBarItemControl* control = Link->GetControl();
  const TRect r = Link->ItemRect;
  control->SeparatorRect = TRect();
  if (!Link->GetBeginGroup() || r.Width() <= 0) return;
  const int s = GetSeparatorSize(), t = Link->LineThickness;
  const int mark = GetDockingStyle() != dsNone && MarkVisible() ? TdxBarControl::MarkSize : 0;
  TRect band;
  bool horizontal;
  if (!IsVertical()) {
    horizontal = r.left == 0 && r.top > 0;
    band = horizontal ? Bounds(0, r.top - (t - r.Height()) / 2 - s, GetClientWidth() - mark, s)
                      : Bounds(r.left - s, r.top - (t - r.Height()) / 2, s, t);
  } else {
    horizontal = r.top > 0;
    band = horizontal ? Bounds(r.left - (t - r.Width()) / 2, r.top - s, t, s)
                      : Bounds(r.right + (t - r.Width()) / 2, 0, s, GetClientHeight() - mark);
  }
  HRGN bandRegion = CreateRectRgnIndirect(&band);
  CombineRgn(Region, Region, bandRegion, RGN_DIFF);
  DeleteObject(bandRegion);
  control->SeparatorRect = band;
  GetPainter()->DrawToolbarSeparator(this, GetCanvas()->GetHandle(), band, GetToolbarBrush(), horizontal);
}

void TdxBarControl::Paint() {
  TCustomForm* form = GetBarManager()->GetOwnerForm();
  if ((form && !form->GetVisible()) || GetDestroying()) return;
  LayoutLinks();
  HDC dc = GetCanvas()->GetHandle();
  if (FRotatedFont) SelectObject(dc, FRotatedFont);
  const TRect client = GetClientRect();
  HRGN region = CreateRectRgnIndirect(&client);
  auto exclude = [region](const TRect& r) {
    HRGN part = CreateRectRgnIndirect(&r);
    CombineRgn(region, region, part, RGN_DIFF);
    DeleteObject(part);
  };
  TdxBarItemLinks* links = GetItemLinks();
  for (int i = 0; i < links->GetShownCount(); ++i) {
    TdxBarItemLink* link = links->GetShownLink(i);
    if (!link->GetControl()) continue;
    PaintItemControl(link->GetControl());
    exclude(link->ItemRect);
    PaintSeparator(link, region);
  }
  if (GetDockingStyle() != dsNone && MarkVisible()) {
    const TRect mark = GetPainter()->CalcMarkBounds(this);
    GetPainter()->DrawMark(this, dc, GetToolbarBrush(), mark);
    exclude(mark);
  }
  HRGN saved = nullptr;
  bool existed = false;
  SaveDCClipRegion(dc, saved, existed);
  ExtSelectClipRgn(dc, region, RGN_AND);
  DrawBackground(dc, client, true, clNone, GetToolbarBrush());
  RestoreDCClipRegion(dc, saved, existed);
  DeleteObject(region);
}

// ---- Keyboard mode and the mouse ----

void TdxBarControl::EnterKeyboardMode(TdxBarItemControl* Control) {
  TdxBarManager* manager = GetBarManager();
  FSavedFocus = GetFocus();
  TCustomForm* form = manager->GetOwnerForm();
  if (!IsCustomizing() && form && form->HandleAllocated())
    SetWindowPos(form->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (!Control)
    if (TdxBarItemLink* first = GetItemLinks()->NextSelectable(nullptr)) Control = first->GetControl();
  SelectControl(Control);
  if (!IsBarControlAlive(this)) return;
  TCustomdxBarControl::SetActive(true);
  manager->KeyboardBarControl = this;
}

void TdxBarControl::LeaveKeyboardMode() {
  TdxBarManager* manager = GetBarManager();
  if (manager->KeyboardBarControl != this) return;
  manager->KeyboardBarControl = nullptr;
  SelectControl(nullptr);
  TCustomdxBarControl::SetActive(false);
  POINT cursor;
  GetCursorPos(&cursor);
  if (HandleAllocated() && WindowFromPointDeep(cursor) == GetHandle()) {
    FLastMousePos = POINT{-1, -1};
    ::ScreenToClient(GetHandle(), &cursor);
    PostMessageA(GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
  }
  TCustomForm* form = manager->GetOwnerForm();
  if (Application->GetActive() && form && form->HandleAllocated() && GetActiveWindow() == form->GetHandle() &&
      FSavedFocus && IsWindowVisible(FSavedFocus))
    ::SetFocus(FSavedFocus);
  FSavedFocus = nullptr;
}

void TdxBarControl::SetActive(bool Value) {
  if (!Value && FMenuMode) {
    FMenuMode = false;
    if (!IsCustomizing()) LeaveKeyboardMode();
  }
  TCustomdxBarControl::SetActive(Value);
}

void TdxBarControl::SelectControl(TdxBarItemControl* Control) {
  TdxBarItemControl* previous = GetSelectedControl();
  TCustomdxBarControl::SelectControl(Control);
  if (!IsBarControlAlive(this) || GetSelectedControl() == previous || !Control || Control->IsActive() ||
      IsCustomizing())
    return;
  if (Control->HasSubMenu())
    Control->Press(false);
  else
    Control->Activate(true);
}

void TdxBarControl::Deactivate() {
  LeaveKeyboardMode();
  if (IsBarControlAlive(this)) TCustomdxBarControl::Deactivate();
}

void TdxBarControl::WMLButtonDown(TMessage& Message) {
  if (SkipMouseUp) return;
  TdxBarManager* manager = GetBarManager();
  TCustomForm* form = manager->GetOwnerForm();
  if (form && form->HandleAllocated() &&
      (!manager->HideFloatingBarsWhenInactive || GetDockingStyle() == dsNone))
    SetActiveWindow(form->GetHandle());
  const TPoint point(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  TdxBarItemControl* control = ControlAtPos(point);
  if (control && control->GetEnabled() && control->AcceptsMouseClick()) {
    if (GetActive() && control != GetSelectedControl()) {
      FMenuMode = false;
      SelectControl(control);
    } else if (!GetActive() || (FMenuMode && !dynamic_cast<TdxBarButtonControl*>(control))) {
      if (GetActive())
        LeaveKeyboardMode();
      else
        EnterKeyboardMode(control);
    }
    if (!IsBarControlAlive(this)) return;
    if (GetActive()) FMenuMode = true;
  } else {
    SetActive(false);
  }
  TCustomdxBarControl::WMLButtonDown(Message);
}

void TdxBarControl::WMKeyDown(TMessage& Message) {
  TCustomdxBarControl::WMKeyDown(Message);
  if (!IsBarControlAlive(this) || !ActiveBarControl()) return;
  const WORD key = static_cast<WORD>(Message.WParam);
  if (DispatchKeyToSelected(key)) return;
  TdxBarItemControl* selected = GetSelectedControl();
  switch (key) {
  case VK_RETURN:
  case VK_UP:
  case VK_DOWN:
    if (!FMenuMode && selected && selected->HasSubMenu() && selected->GetEnabled()) FMenuMode = true;
    if (selected && (selected->HasSubMenu() || key == VK_RETURN)) selected->Click(false);
    break;
  case VK_ESCAPE:
    Message.WParam = 0;
    Deactivate();
    break;
  }
}

// ---- Sizes ----

namespace {

bool IsVerticalStyle(TdxBarDockingStyle style) {
  return style == dsLeft || style == dsRight;
}

// Restores the links' recent count when the measuring is done.
class TRecentCountScope {
public:
  explicit TRecentCountScope(TdxBarItemLinks* links)
      : FLinks(links), FCount(links->GetRecentItemCountSetting()) {}
  ~TRecentCountScope() { FLinks->SetRecentItemCount(FCount); }
  TRecentCountScope(const TRecentCountScope&) = delete;
  TRecentCountScope& operator=(const TRecentCountScope&) = delete;

private:
  TdxBarItemLinks* FLinks;
  int FCount;
};

} // namespace

SIZE TdxBarControl::MeasureLine(bool) {
  TdxBarItemLinks* links = GetItemLinks();
  SIZE size{0, 0};
  for (int i = 0; i < links->GetShownCount(); ++i) {
    TdxBarItemLink* link = links->GetShownLink(i);
    link->CreateControl();
    TdxBarItemControl* control = link->GetControl();
    if (!control) continue;
    if (i > 0 && link->GetBeginGroup()) size.cx += GetSeparatorSize();
    size.cx += control->GetWidth();
    size.cy = std::max<LONG>(size.cy, control->GetHeight());
  }
  return size;
}

int TdxBarControl::LargestAcross(bool) {
  TdxBarItemLinks* links = GetItemLinks();
  int across = 0;
  for (int i = 0; i < links->GetVisibleCount(); ++i) {
    TdxBarItemLink* link = links->GetVisibleLink(i);
    link->CreateControl();
    if (link->GetControl()) across = std::max(across, link->GetControl()->GetHeight());
  }
  return across;
}

int TdxBarControl::SingleLinkAlong(bool) {
  TdxBarItemLinks* links = GetItemLinks();
  TRecentCountScope restore(links);
  links->SetRecentItemCount(1);
  // Without recent use all links stay shown: the first is the one.
  if (links->GetShownCount() == 0) return 0;
  TdxBarItemLink* link = links->GetShownLink(0);
  link->CreateControl();
  return link->GetControl() ? link->GetControl()->GetWidth() : 0;
}

int TdxBarControl::GetMinWidth(TdxBarDockingStyle Style) {
  const bool acrossIsWidth = IsVerticalStyle(Style) || Wraps();
  int width = acrossIsWidth ? LargestAcross(true) : SingleLinkAlong(false);
  if (width == 0) width = GetBarManager()->GetButtonWidth();
  if (IsHorizontal() && MarkVisible()) width += TdxBarControl::MarkSize;
  return width;
}

int TdxBarControl::GetMinHeight(TdxBarDockingStyle Style) {
  const bool acrossIsHeight = !IsVerticalStyle(Style) || Wraps();
  int height = acrossIsHeight ? LargestAcross(false) : SingleLinkAlong(true);
  if (height == 0) height = GetBarManager()->GetButtonHeight();
  if (IsVertical() && MarkVisible()) height += TdxBarControl::MarkSize;
  return height;
}

int TdxBarControl::GetMaxWidth(TdxBarDockingStyle Style) {
  int width;
  if (!IsVerticalStyle(Style) || Wraps()) {
    TRecentCountScope restore(GetItemLinks());
    GetItemLinks()->SetRecentItemCount(-1);
    width = MeasureLine(false).cx + (IsHorizontal() && MarkVisible() ? TdxBarControl::MarkSize : 0);
  } else {
    width = LargestAcross(true);
  }
  return std::max(width, GetMinWidth(Style));
}

int TdxBarControl::GetMaxHeight(TdxBarDockingStyle Style) {
  int height;
  if (IsVerticalStyle(Style) || Wraps()) {
    TRecentCountScope restore(GetItemLinks());
    GetItemLinks()->SetRecentItemCount(-1);
    height = MeasureLine(true).cx + (IsVertical() && MarkVisible() ? TdxBarControl::MarkSize : 0);
  } else {
    height = LargestAcross(false);
  }
  return std::max(height, GetMinHeight(Style));
}

SIZE TdxBarControl::ChooseRecentCount(bool Vertical, int Room) {
  TdxBarItemLinks* links = GetItemLinks();
  const bool recent = links->GetUseRecentItems() && !GetBarManager()->GetDesigning();
  if (!recent) return MeasureLine(Vertical);
  SIZE previous{0, 0};
  for (int d = 1; d <= links->GetVisibleCount(); ++d) {
    links->SetRecentItemCount(d);
    const SIZE size = MeasureLine(Vertical);
    if (d > 1 && size.cx > Room) {
      links->SetRecentItemCount(d - 1);
      return previous;
    }
    previous = size;
  }
  links->SetRecentItemCount(-1);
  return MeasureLine(Vertical);
}

SIZE TdxBarControl::CalcSizeForWidth(TdxBarDockingStyle Style, int Width) {
  if (IsVerticalStyle(Style)) return SIZE{GetMinWidth(Style), GetMaxHeight(Style)};
  SIZE size{GetMinWidth(Style), GetMinHeight(Style)};
  int room = std::max<int>(Width, size.cx);
  GetItemLinks()->SetRecentItemCount(-1);
  if (GetItemLinks()->GetVisibleCount() == 0) return size;
  const int mark = MarkVisible() ? TdxBarControl::MarkSize : 0;
  const SIZE line = ChooseRecentCount(false, room - mark);
  return SIZE{std::max<LONG>(size.cx, line.cx + mark), line.cy};
}

SIZE TdxBarControl::CalcSizeForHeight(TdxBarDockingStyle Style, int Height) {
  if (!IsVerticalStyle(Style)) return SIZE{GetMaxWidth(Style), GetMinHeight(Style)};
  SIZE size{GetMinWidth(Style), GetMinHeight(Style)};
  int room = std::max<int>(Height, size.cy);
  GetItemLinks()->SetRecentItemCount(-1);
  if (GetItemLinks()->GetVisibleCount() == 0) return size;
  const int mark = MarkVisible() ? TdxBarControl::MarkSize : 0;
  const SIZE line = ChooseRecentCount(true, room - mark);
  return SIZE{line.cy, std::max<LONG>(size.cy, line.cx + mark)};
}

int TdxBarControl::GetBorderWidth(TdxBarDockingStyle Style) {
  const TdxBarItemControlPainterClass painter = GetPainter();
  if (Style == dsNone)
    return 2 * painter->GetFloatingBorderWidth() + 2 * painter->GetFloatingFrameSideWidth();
  if (FBar->BorderStyle == bbsNone) return 0;
  const TRect offsets = painter->GetDockedBorderOffsets(this);
  return offsets.left + offsets.right + (IsVerticalStyle(Style) ? 0 : GetBarManager()->GetGripSize(FBar));
}

int TdxBarControl::GetBorderHeight(TdxBarDockingStyle Style) {
  const TdxBarItemControlPainterClass painter = GetPainter();
  if (Style == dsNone)
    return 2 * painter->GetFloatingBorderHeight() + painter->GetFloatingCaptionHeight() +
           painter->GetFloatingFrameTopHeight() + painter->GetFloatingFrameBottomHeight();
  if (FBar->BorderStyle == bbsNone) return FBar->IsStatusBar() ? painter->GetBottomBarEdgeHeight() : 0;
  const TRect offsets = painter->GetDockedBorderOffsets(this);
  return offsets.top + offsets.bottom + (IsVerticalStyle(Style) ? GetBarManager()->GetGripSize(FBar) : 0);
}
