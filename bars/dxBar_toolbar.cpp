// The toolbar window: a bar docked in a dock control or floating, its link
// layout, its frame and its painting.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarPopup.h"
#include "dxBarStrs.h"

#include "Forms.h"

#include <algorithm>

namespace {

// The held and the hot caption button of all toolbar windows.
struct TCaptionButtonState {
  TdxBarControl* Window = nullptr;
  int Held = -1;
  int Hot = -1;
};

TCaptionButtonState& CaptionButtons() {
  static TCaptionButtonState state;
  return state;
}

constexpr UINT kCaptionButtonCommands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};

} // namespace

TdxBarControl::TdxBarControl(TdxBarManager* AOwner, TdxBar* ABar) : TCustomdxBarControl(AOwner), FBar(ABar) {
  SetItemLinks(ABar->GetItemLinks());
}

TdxBarControl::~TdxBarControl() {
  if (CaptionButtons().Window == this) CaptionButtons() = TCaptionButtonState();
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

namespace {

constexpr UINT_PTR kMarkTimer = 1;

} // namespace

void TdxBarControl::SetMarkState(int Value) {
  if (IsCustomizing() || Value == GetMarkState()) return;
  if (FMarkTimer && HandleAllocated()) KillTimer(GetHandle(), kMarkTimer);
  FMarkTimer = false;
  SetMarkStateField(Value);
  if (Value != 2) CloseQuickControl(this);
  if (Value == 2) {
    OpenQuickControl(this);
    PlayMenuSound(0);
  } else if (Value == 1) {
    if (GetDockingStyle() == dsNone && HandleAllocated())
      FMarkTimer = SetTimer(GetHandle(), kMarkTimer, 50, nullptr) != 0;
    GetBarManager()->ShowHint(true, dxBarString(dxSBAR_MOREBUTTONS));
  } else if (!GetSelectedControl()) {
    GetBarManager()->ShowHint(false, String());
  }
  GetPainter()->InvalidateMark(this);
}

TRect TdxBarControl::GetMarkRect() {
  TRect r = GetPainter()->CalcMarkHitRect(this);
  if (GetDockingStyle() == dsNone && HandleAllocated()) {
    // The caption mark is in window coordinates: move it to the client's.
    RECT window;
    GetWindowRect(GetHandle(), &window);
    const TPoint origin = ClientToScreen(TPoint(0, 0));
    OffsetRect(&r, window.left - origin.x, window.top - origin.y);
  }
  return r;
}

TRect TdxBarControl::GetGripArea() const {
  if (GetDockingStyle() == dsNone || FBar->BorderStyle == bbsNone) return TRect();
  return IsVertical() ? TRect(-100, -100, 100, 0) : TRect(-100, -100, 0, 100);
}

TRect TdxBarControl::GetCloseButtonRect() {
  TRect r = GetCaptionRect();
  if (HandleAllocated()) {
    RECT window;
    GetWindowRect(GetHandle(), &window);
    const TPoint origin = ClientToScreen(TPoint(0, 0));
    OffsetRect(&r, window.left - origin.x, window.top - origin.y);
  }
  return GetPainter()->CalcCloseButtonRect(r);
}

void TdxBarControl::CalcMetrics() {
  TCustomdxBarControl::CalcMetrics();
  FCaptionButtonSize = SIZE{GetSystemMetrics(SM_CXMENUSIZE) - 2, GetSystemMetrics(SM_CYMENUSIZE) - 4};
}

HRGN TdxBarControl::CreateControlRegion(TdxBarItemControl* Control) {
  TRect r;
  GetControlRect(Control, r);
  HRGN region = CreateRectRgnIndirect(&r);
  if (Control && !IsRectEmpty(&Control->SeparatorRect)) {
    HRGN separator = CreateRectRgnIndirect(&Control->SeparatorRect);
    CombineRgn(region, region, separator, RGN_OR);
    DeleteObject(separator);
  }
  return region;
}

TdxBarItemControl* TdxBarControl::GetDropTarget(POINT ClientPoint, bool& Outside, bool& Vertical,
                                                bool& Before) {
  TdxBarItemControl* target = TCustomdxBarControl::GetDropTarget(ClientPoint, Outside, Vertical, Before);
  if (target || !GetClientRect().Contains(ClientPoint)) return target;
  // Beyond the end of a line: the drop goes after the line's last link.
  Outside = Before = false;
  const bool vertical = IsVertical();
  TdxBarItemLinks* links = GetItemLinks();
  for (int i = 0; i < links->GetShownCount(); ++i) {
    const TdxBarItemLink* link = links->GetShownLink(i);
    TdxBarItemControl* control = link->GetControl();
    if (!control || !control->IsCustomizable() || !control->LineEnd) continue;
    const TRect& r = link->ItemRect;
    const bool across = vertical ? ClientPoint.x >= r.left && ClientPoint.x < r.right
                                 : ClientPoint.y >= r.top && ClientPoint.y < r.bottom;
    if (!across) continue;
    if ((vertical ? ClientPoint.y : ClientPoint.x) >= (vertical ? r.top : r.left)) return control;
    Before = true;
    const TdxBarItemAlign align = control->GetEffectiveAlign();
    return align == iaCenter || align == iaRight ? control : nullptr;
  }
  return nullptr;
}

void TdxBarControl::UpdateTransparency() {
  if (!HandleAllocated()) return;
  const bool floating = GetDockingStyle() == dsNone;
  SetLayeredAlpha(GetHandle(), floating ? FBar->AlphaBlendValue : 255);
}

// ---- Layout ----

bool TdxBarControl::CanAlignControl(const TdxBarItemControl* Control) const {
  TdxBarItemLinks* links = GetItemLinks();
  const int count = links->GetVisibleCount();
  return count > 0 && Control && links->GetVisibleLink(count - 1) == Control->GetLink();
}

bool TdxBarControl::CanCustomizeItems() const {
  return TCustomdxBarControl::CanCustomizeItems() || FBar->AllowCustomizing;
}

void TdxBarControl::Rebuild() {
  if (GetDestroying() || !HandleAllocated()) return;
  TdxBarManager* manager = GetBarManager();
  TdxBarItemLink* selected = nullptr;
  if (IsCustomizing()) {
    if (IsControlOfWindow(manager->SelectedItemControl)) {
      selected = manager->SelectedItemControl->GetLink();
      manager->SelectedItemControl = nullptr;
    }
    SetSelectedControl(nullptr);
  }
  DestroyControls();
  CreateControls();
  if (selected && selected->GetControl()) SetSelectedControl(selected->GetControl());
  if (TdxDockControl* dock = GetDockControl()) dock->Realign();
  LayoutLinks();
  Invalidate();
}

int TdxBarControl::Along(TdxBarItemControl* Control, bool Vertical) {
  return Vertical ? Control->GetLayoutHeight() : Control->GetLayoutWidth();
}

int TdxBarControl::Across(TdxBarItemControl* Control, bool Vertical) {
  return Vertical ? Control->GetLayoutWidth() : Control->GetLayoutHeight();
}

void TdxBarControl::CentreLine(const std::vector<TdxBarItemLink*>& Line, int Thickness) {
  for (TdxBarItemLink* link : Line) {
    TRect& r = link->ItemRect;
    if (IsVertical())
      OffsetRect(&r, -(Thickness - r.Width()) / 2, 0);
    else
      OffsetRect(&r, 0, (Thickness - r.Height()) / 2);
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
  const bool vertical = IsVertical(), wraps = Wraps();
  const int clientAlong = vertical ? GetClientHeight() : GetClientWidth();
  const int clientAcross = vertical ? GetClientWidth() : GetClientHeight();
  const int buttons =
      HasCaptionButtons() ? (vertical ? GetCaptionButtonsHeight() : GetCaptionButtonsWidth()) : 0;
  const int mark = MarkVisible() ? TdxBarControl::MarkSize : 0;
  int room;
  if (wraps)
    room = clientAlong - (GetDockingStyle() != dsNone ? mark : 0);
  else
    room = clientAlong - mark - buttons;
  int pos = 0, line = 0, thickness = wraps ? 0 : clientAcross;
  std::vector<TdxBarItemLink*> current;
  TdxBarItemLink* last = nullptr;
  const int shown = links->GetShownCount();
  for (int i = 0; i < shown; ++i) {
    TdxBarItemLink* link = links->GetShownLink(i);
    link->CreateControl();
    TdxBarItemControl* control = link->GetControl();
    if (!control) continue;
    control->LineEnd = false;
    const int l = Along(control, vertical), m = Across(control, vertical);
    int separator = link->GetBeginGroup() && pos > 0 ? GetSeparatorSize() : 0;
    if (pos > 0 && (pos + separator + l > room || (wraps && control->LineStart))) {
      if (!wraps) break;
      if (last) last->GetControl()->LineEnd = true;
      CentreLine(current, thickness);
      current.clear();
      line += thickness + separator;
      pos = separator = thickness = 0;
    }
    thickness = std::max(thickness, m);
    PlaceLink(link, pos, separator, line, l, m, thickness);
    // Only the last link aligns: it moves or stretches within the room left.
    const TdxBarItemAlign align = control->GetEffectiveAlign();
    if (align != iaLeft) {
      TRect& r = link->ItemRect;
      LONG& start = vertical ? r.top : r.left;
      LONG& end = vertical ? r.bottom : r.right;
      if (wraps && buttons > 0 && end + buttons <= room) room -= buttons;
      int shift = 0;
      if (align == iaCenter) shift = (room - end) / 2;
      if (align == iaRight) shift = room - end;
      start += shift;
      end += shift;
      if (align == iaClient) end = std::max<LONG>(room, start + control->GetMinWidth());
    }
    current.push_back(link);
    last = link;
    if (align != iaLeft) {
      pos = room;
      if (i + 1 < shown) FTruncated = true;
    } else {
      pos += separator + l;
    }
  }
  if (last) last->GetControl()->LineEnd = true;
  if (wraps) CentreLine(current, thickness);
}

void TdxBarControl::WrapLinks(TdxBarDockingStyle Style, int Length, SIZE& Size) {
  const bool vertical = Style == dsLeft || Style == dsRight;
  LONG& sizeAlong = vertical ? Size.cy : Size.cx;
  LONG& sizeAcross = vertical ? Size.cx : Size.cy;
  int room = std::max<int>(Length, sizeAlong);
  if (Style != dsNone && MarkVisible()) room -= TdxBarControl::MarkSize;
  TdxBarItemLinks* links = GetItemLinks();
  const int shown = links->GetShownCount();
  // c: the current line's length, g: its thickness, s: the lines before
  // with their gaps, f: the longest line; the group start seen in the line
  // with c and g before it.
  int c = 0, g = 0, s = 0, f = 0;
  int group = -1, groupC = 0, groupG = 0;
  bool replay = false, groupsContinue = true;
  for (int k = 0; k < shown;) {
    TdxBarItemLink* link = links->GetShownLink(k);
    link->CreateControl();
    TdxBarItemControl* control = link->GetControl();
    if (!control) {
      ++k;
      continue;
    }
    const int separator = link->GetBeginGroup() && c > 0 ? GetSeparatorSize() : 0;
    if (separator > 0) {
      group = k;
      groupC = c;
      groupG = g;
    }
    const int l = Along(control, vertical), m = Across(control, vertical);
    if ((c > 0 && c + separator + l > room) || replay || (separator > 0 && !groupsContinue)) {
      groupsContinue = true;
      control->LineStart = true;
      if (group < 0) {
        // Broken inside a group: the next group starts a line of its own.
        groupsContinue = false;
      } else if (replay) {
        group = -1;
        replay = false;
      } else {
        // The whole group moves to the next line.
        k = group;
        c = groupC;
        g = groupG;
        replay = true;
        continue;
      }
      s += separator + g;
      g = 0;
      f = std::max(f, c);
      c = l;
    } else {
      control->LineStart = false;
      c += separator + l;
    }
    g = std::max(g, m);
    ++k;
  }
  if (shown > 0) sizeAcross = s + g;
  if (HasCaptionButtons()) {
    const int along = vertical ? GetCaptionButtonsHeight() : GetCaptionButtonsWidth();
    if (c + along <= room)
      c += along;
    else
      sizeAcross += vertical ? GetCaptionButtonsWidth() : GetCaptionButtonsHeight();
  }
  f = std::max(f, c);
  sizeAlong = std::max<LONG>(sizeAlong, f);
  LayoutLinks();
}

// ---- Caption buttons ----

int TdxBarControl::GetHeldCaptionButton() {
  return CaptionButtons().Held;
}

int TdxBarControl::GetHotCaptionButton() {
  return CaptionButtons().Hot;
}

bool TdxBarControl::HasMDIButtons() const {
  const TdxBarManager* manager = GetBarManager();
  return FBar->GetIsMainMenu() && manager->ActiveMDIChildMaximized && manager->ActiveMDIChildWindow &&
         GetSystemMenu(manager->ActiveMDIChildWindow, FALSE);
}

bool TdxBarControl::HasCaptionButtons() const {
  return HasMDIButtons() || (FBar->GetIsMainMenu() && GetBarManager()->ShowCloseButton);
}

int TdxBarControl::GetCaptionButtonsWidth() const {
  const int w = FCaptionButtonSize.cx;
  return HasMDIButtons() && !IsVertical() ? 3 * w + 2 : w;
}

int TdxBarControl::GetCaptionButtonsHeight() const {
  const int h = FCaptionButtonSize.cy;
  return HasMDIButtons() && IsVertical() ? 3 * h + 2 : h;
}

bool TdxBarControl::IsCaptionButtonEnabled(int Index, UINT StateFlags) const {
  if (Index == 1) return true;
  if (!HasMDIButtons()) return Index == 2;
  HWND child = GetBarManager()->GetActiveMDIChild();
  HMENU menu = child ? GetSystemMenu(child, FALSE) : nullptr;
  if (!menu) return false;
  const UINT state = GetMenuState(menu, kCaptionButtonCommands[Index], MF_BYCOMMAND);
  return state == static_cast<UINT>(-1) || (state & StateFlags) == 0;
}

TRect TdxBarControl::GetCaptionButtonRect(int Index) {
  const bool vertical = IsVertical();
  const int w = FCaptionButtonSize.cx, h = FCaptionButtonSize.cy;
  int length = vertical ? GetClientHeight() : GetClientWidth();
  if (GetDockingStyle() != dsNone && MarkVisible()) length -= TdxBarControl::MarkSize;
  const int across = vertical ? GetClientWidth() : GetClientHeight();
  int y;
  if (!Wraps()) {
    y = (across - h) / 2;
  } else {
    // Bottom-aligned when the last line ends above the buttons' band (they
    // took a band of their own), else centred in the last line.
    TdxBarItemLinks* links = GetItemLinks();
    int lastStart = -1, lastIndex = -1;
    for (int i = 0; i < links->GetShownCount(); ++i) {
      TdxBarItemLink* link = links->GetShownLink(i);
      if (IsRectEmpty(&link->ItemRect) || !link->GetControl()) continue;
      if (lastStart < 0 || link->GetControl()->LineStart) lastStart = i;
      lastIndex = i;
    }
    if (lastIndex < 0) {
      y = (across - h) / 2;
    } else {
      bool above = true;
      for (int i = lastStart; i <= lastIndex; ++i) {
        const TRect r = links->GetShownLink(i)->ItemRect;
        if (!IsRectEmpty(&r) && (vertical ? across - r.left : r.bottom) > across - h) above = false;
      }
      y = above ? across - h : across - (links->GetShownLink(lastIndex)->LineThickness - h) / 2 - h;
    }
  }
  TRect r;
  if (HasMDIButtons()) {
    r = Bounds(length + w * Index - GetCaptionButtonsWidth(), y, w, h);
    if (Index == 2) OffsetRect(&r, 2, 0);
  } else {
    r = Bounds(length - w, y, w, h);
  }
  if (vertical) r = TRect(across - r.bottom, r.left, across - r.top, r.right);
  return r;
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
  case WM_NCHITTEST:
    WMNCHitTest(Message);
    if (IsNonClientHit(Message.Result)) {
      // Ending the hover may hit-test again elsewhere: keep this answer's code.
      const int remembered = FHitTest;
      StopMouseTracking(GetHandle());
      FHitTest = remembered;
    }
    return;
  case WM_LBUTTONDBLCLK:
    // A double click on the grip or caption toggles docking; the window
    // goes with it.
    if (FHitTest == HTCAPTION) {
      if (!GetBarManager()->GetDesigning()) ToggleDocking();
      return;
    }
    break;
  case WM_NCLBUTTONDOWN:
    Deactivate();
    if (!IsBarControlAlive(this)) return;
    if (Message.WParam == HTCLOSE) return CloseButtonLoop();
    break;
  case WM_MOUSEACTIVATE:
    TCustomdxBarControl::WndProc(Message);
    if (GetDockingStyle() == dsNone && !GetActive())
      SetWindowPos(GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    return;
  case WM_GETMINMAXINFO: {
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    info->ptMinTrackSize = POINT{10, 10};
    info->ptMaxSize = info->ptMaxPosition = info->ptMaxTrackSize = POINT{30000, 30000};
    Message.Result = 0;
    return;
  }
  case WM_WINDOWPOSCHANGING:
    TCustomdxBarControl::WndProc(Message);
    if (GetDockingStyle() == dsNone) WMWindowPosChanging(Message);
    return;
  case WM_WINDOWPOSCHANGED:
    TCustomdxBarControl::WndProc(Message);
    if (!IsUpdateLocked() && !GetDestroying() && !IsDestroying()) {
      FBar->DockTo(GetDockingStyle(), GetDockControl());
      StorePosition();
    }
    return;
  case WM_SIZING:
    if (GetDockingStyle() == dsNone) return WMSizing(Message);
    break;
  case WM_SIZE:
    if (IsDestroying()) return;
    break;
  case WM_TIMER:
    if (Message.WParam == kMarkTimer) {
      POINT cursor;
      GetCursorPos(&cursor);
      ::ScreenToClient(GetHandle(), &cursor);
      if (!IsWindowVisible(GetHandle()) || !GetMarkRect().Contains(cursor)) SetMarkState(0);
      return;
    }
    break;
  case WM_CANCELMODE:
    if (CaptionButtons().Window == this) {
      if (CaptionButtons().Held >= 0) ReleaseCapture();
      ClearCaptionButtons();
    }
    break;
  case WM_SETCURSOR:
    if (LOWORD(Message.LParam) == HTCLIENT && !GetCapture()) {
      POINT cursor;
      GetCursorPos(&cursor);
      ::ScreenToClient(GetHandle(), &cursor);
      if (ArmEditWidthDrag(cursor)) {
        ::SetCursor(Screen->GetCursors(1044)); // the library's edit-sizing cursor
        Message.Result = 1;
        return;
      }
      SetCursor(GetGripArea().Contains(cursor) ? crSizeAll : crDefault);
    }
    break;
  case WM_CAPTURECHANGED:
    CancelEditWidthDrag();
    break;
  case WM_GETDLGCODE:
    Message.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB;
    return;
  case WM_RBUTTONDOWN: {
    ReleaseCapture();
    TdxBarManager* manager = GetBarManager();
    if (manager->IsCustomizing()) SetActive(false);
    const TPoint point = ClientToScreen(
        TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))));
    TCustomdxBarControl::WndProc(Message);
    if (IsBarControlAlive(this) && !manager->IsCustomizing()) ShowToolbarsPopup(manager, point);
    return;
  }
  case WM_DESTROY:
    FBar->BarControlHandleDestroyed();
    break;
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
    r->top += (HasCaption() ? painter->GetFloatingCaptionHeight() : 0) + painter->GetFloatingFrameTopHeight();
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
    FSizeGripVisible = FBar->IsSizeGripVisible();
    if (FSizeGripVisible) r->right -= painter->GetSizeGripSize().cx;
  }
  Message.Result = 0;
}

void TdxBarControl::WMNCPaint(TMessage& Message) {
  if (GetDockingStyle() == dsNone && GetPainter()->UsesSystemFloatingFrame())
    TCustomdxBarControl::WndProc(Message);
  Message.Result = 0;
  if (GetDockingStyle() != dsNone && FBar->BorderStyle != bbsSingle) return PaintStatusBarFrame();
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
    ring.top -= painter->GetFloatingFrameTopHeight() + (HasCaption() ? painter->GetFloatingCaptionHeight() : 0);
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
  if (GetDockingStyle() == dsNone) {
    DrawBackground(dc, ring, false, clNone, brush);
  } else {
    // The dock's background is placed from the client origin: draw the ring in
    // client coordinates, or it lands shifted by the frame and leaves the far
    // edges unpainted.
    const int state = SaveDC(dc);
    OffsetViewportOrgEx(dc, client.left, client.top, nullptr);
    OffsetRect(&ring, -client.left, -client.top);
    DrawBackground(dc, ring, false, clNone, brush);
    RestoreDC(dc, state);
  }
  RestoreDCClipRegion(dc, saved, existed);
  if (GetDockingStyle() == dsNone && HasCaption())
    painter->DrawFloatingCaption(this, dc, brush, clNone, GetCaptionRect());
  else
    painter->DrawDockedBarBorder(this, dc, window);
  ReleaseDC(GetHandle(), dc);
}

// The top band of a status bar and its size grip below it at the right.
void TdxBarControl::PaintStatusBarFrame() {
  if (!FBar->IsStatusBar()) return;
  const TdxBarItemControlPainterClass painter = GetPainter();
  HDC dc = GetWindowDC(GetHandle());
  const TRect window(0, 0, GetWidth(), GetHeight());
  painter->DrawBottomBarEdge(this, dc,
                             TRect(window.left, window.top, window.right, painter->GetBottomBarEdgeHeight()));
  if (FSizeGripVisible)
    painter->DrawBottomBarSizeGrip(this, dc, clNone, GetToolbarBrush(),
                                   TRect(window.right - painter->GetSizeGripSize().cx,
                                         painter->GetBottomBarEdgeHeight(), window.right, window.bottom));
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
    DrawCustomizingFrame(Control);
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
  PaintCaptionButtons(dc, region);
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
    TdxBarItemControl* selected = GetSelectedControl();
    if (IsCustomizing()) {
      if (!GetActive()) EnterKeyboardMode(control);
    } else if (GetActive() && (control != selected || (control->GetInPlaceWnd() && !control->GetFocused()))) {
      FMenuMode = false;
      SelectControl(control);
    } else if (GetActive() && selected && selected->GetInPlaceWnd() && selected->GetFocused()) {
      // An edit being edited keeps its text: a press on its caption or
      // button part goes to its window instead of ending the editing.
      HWND wnd = selected->GetInPlaceWnd();
      POINT p{point.x, point.y};
      MapWindowPoints(GetHandle(), wnd, &p, 1);
      RECT client;
      ::GetClientRect(wnd, &client);
      if (!PtInRect(&client, p)) SendMessageA(wnd, WM_LBUTTONDOWN, Message.WParam, MAKELPARAM(p.x, p.y));
      return;
    } else if (!GetActive() || (FMenuMode && !dynamic_cast<TdxBarButtonControl*>(control))) {
      if (GetActive())
        LeaveKeyboardMode();
      else
        EnterKeyboardMode(control);
    }
    if (!IsBarControlAlive(this)) return;
    if (GetActive() && !IsCustomizing()) FMenuMode = true;
  } else {
    SetActive(false);
  }
  if (StartEditWidthDrag()) return;
  TCustomdxBarControl::WMLButtonDown(Message);
  if (!IsBarControlAlive(this)) return;
  if (HasCaptionButtons() && !IsCustomizing()) {
    const int index = CaptionButtonAt(point);
    if (index >= 0) {
      TCaptionButtonState& state = CaptionButtons();
      state.Window = this;
      state.Held = state.Hot = index;
      RepaintCaptionButtons();
      SetCapture(GetHandle());
      return;
    }
  }
  if (FHitTest == HTCAPTION && !IsCustomizing()) return StartMove(point);
  if (MarkVisible() && GetPainter()->SupportsQuickCustomization() && GetMarkRect().Contains(point)) {
    SetMarkState(GetMarkState() == 2 ? 1 : 2);
    return;
  }
  if (IsCustomizing() || GetClientRect().Contains(point) || FHitTest == 0) return;
  POINT screen = point;
  ::ClientToScreen(GetHandle(), &screen);
  SendMessageA(GetHandle(), WM_NCLBUTTONDOWN, FHitTest, MAKELPARAM(screen.x, screen.y));
}

void TdxBarControl::WMLButtonUp(TMessage& Message) {
  if (SkipMouseUp) {
    SkipMouseUp = false;
    return;
  }
  if (EndEditWidthDrag()) return;
  TCaptionButtonState& state = CaptionButtons();
  if (state.Window == this && state.Held >= 0) {
    const int held = state.Held;
    const TPoint point(static_cast<short>(LOWORD(Message.LParam)),
                       static_cast<short>(HIWORD(Message.LParam)));
    const bool over = CaptionButtonAt(point) == held;
    ClearCaptionButtons();
    ReleaseCapture();
    if (over) {
      if (HasMDIButtons()) {
        if (HWND child = GetBarManager()->GetActiveMDIChild())
          SendMessageA(child, WM_SYSCOMMAND, kCaptionButtonCommands[held], 0);
      } else {
        GetBarManager()->DoCloseButtonClick();
      }
      if (!IsBarControlAlive(this)) return;
    }
  }
  TCustomdxBarControl::WMLButtonUp(Message);
}

int TdxBarControl::CaptionButtonAt(POINT ClientPoint) {
  if (!HasCaptionButtons()) return -1;
  for (int i = HasMDIButtons() ? 0 : 2; i < 3; ++i)
    if (IsCaptionButtonEnabled(i, MF_GRAYED | MF_DISABLED) && GetCaptionButtonRect(i).Contains(ClientPoint))
      return i;
  return -1;
}

void TdxBarControl::RepaintCaptionButtons() {
  if (!HandleAllocated() || !HasCaptionButtons()) return;
  for (int i = HasMDIButtons() ? 0 : 2; i < 3; ++i) {
    const TRect r = GetCaptionButtonRect(i);
    InvalidateRect(GetHandle(), &r, FALSE);
  }
}

void TdxBarControl::ClearCaptionButtons() {
  TCaptionButtonState& state = CaptionButtons();
  if (state.Window != this) return;
  state = TCaptionButtonState();
  RepaintCaptionButtons();
}

void TdxBarControl::WMMouseMove(TMessage& Message) {
  const TPoint point(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  TCaptionButtonState& state = CaptionButtons();
  if (state.Window == this && state.Held >= 0) {
    const int hot = CaptionButtonAt(point) == state.Held ? state.Held : -1;
    if (hot != state.Hot) {
      state.Hot = hot;
      RepaintCaptionButtons();
    }
    return;
  }
  if (HasCaptionButtons()) {
    const int hot = CaptionButtonAt(point);
    if (hot != (state.Window == this ? state.Hot : -1)) {
      if (state.Window && state.Window != this && IsBarControlAlive(state.Window))
        state.Window->ClearCaptionButtons();
      state.Window = hot >= 0 ? this : nullptr;
      state.Hot = hot;
      RepaintCaptionButtons();
    }
  }
  if (EditWidthDragMove(point)) return;
  bool examined = false;
  POINT screen = point;
  ::ClientToScreen(GetHandle(), &screen);
  if (!IsMouseStill(screen) && !ActiveBarControl() && GetPainter()->SupportsQuickCustomization() &&
      MarkVisible() && GetMarkState() != 2) {
    examined = true;
    if (GetMarkRect().Contains(point)) SetMarkState(1);
  }
  TCustomdxBarControl::WMMouseMove(Message);
  if (examined && IsBarControlAlive(this) && GetMarkState() == 1 && !GetMarkRect().Contains(point))
    SetMarkState(0);
}

void TdxBarControl::WMMouseLeave(TMessage& Message) {
  if (GetActive() && GetBarManager()->KeyboardBarControl == this) {
    if (auto* button = dynamic_cast<TdxBarButtonControl*>(GetSelectedControl())) button->Repaint();
    return;
  }
  TCustomdxBarControl::WMMouseLeave(Message);
  if (!IsBarControlAlive(this)) return;
  FCloseButtonState = 0;
  if (CaptionButtons().Window == this && CaptionButtons().Held < 0) ClearCaptionButtons();
}

bool TdxBarControl::IsNonClientHit(LRESULT HitTest) {
  return TCustomdxBarControl::IsNonClientHit(HitTest) && FCloseButtonState != 1;
}

bool TdxBarControl::IsMouseStill(POINT ScreenPoint) const {
  if (TCustomdxBarControl::IsMouseStill(ScreenPoint)) return true;
  if (GetDockingStyle() == dsNone) return false;
  TCustomForm* form = GetBarManager()->GetOwnerForm();
  if (!form || !form->HandleAllocated()) return false;
  if (form->GetFormStyle() == fsMDIForm) return !Application->GetActive();
  const HWND active = GetActiveWindow();
  return active != form->GetHandle() && !IsAncestorWindow(active, form->GetHandle());
}

void TdxBarControl::WMNCHitTest(TMessage& Message) {
  TCustomdxBarControl::WndProc(Message);
  const LRESULT base = Message.Result;
  FHitTest = 0;
  const TPoint point = ScreenToClient(
      TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))));
  auto takesMouse = [&] {
    TdxBarItemControl* control = ControlAtPos(point);
    return control && (IsCustomizing() || control->AcceptsMouseClick());
  };
  const TdxBarItemControlPainterClass painter = GetPainter();
  if (GetDockingStyle() != dsNone) {
    if ((base == HTCLIENT && takesMouse()) || (base != HTCLIENT && base != HTNOWHERE)) {
      Message.Result = HTCLIENT;
      FHitTest = static_cast<int>(base);
      return;
    }
    const int along = IsVertical() ? point.y : point.x;
    if (along >= 0 && (CaptionButtonAt(point) >= 0 || (MarkVisible() && GetMarkRect().Contains(point))))
      return;
    Message.Result = HTCLIENT;
    FHitTest = HTCAPTION;
    return;
  }
  switch (base) {
  case HTNOWHERE:
    Message.Result = HTCLIENT;
    if (MarkVisible() && !IsCustomizing() && GetMarkRect().Contains(point))
      FHitTest = HTCLIENT;
    else if (!FBar->CanClose() || !GetCloseButtonRect().Contains(point))
      FHitTest = HTCAPTION;
    else if (painter->UsesSystemCloseHitTest()) {
      FHitTest = HTCLIENT;
      Message.Result = HTCLOSE;
    } else
      FHitTest = HTCLOSE;
    return;
  case HTCLIENT:
    if (!takesMouse() && CaptionButtonAt(point) < 0) FHitTest = HTCAPTION;
    return;
  case HTTOPLEFT:
  case HTTOPRIGHT:
  case HTBOTTOMLEFT:
  case HTBOTTOMRIGHT: {
    RECT window;
    GetWindowRect(GetHandle(), &window);
    const int y = static_cast<short>(HIWORD(Message.LParam));
    const int border = painter->GetFloatingBorderHeight();
    const bool left = base == HTTOPLEFT || base == HTBOTTOMLEFT;
    if (base == HTTOPLEFT || base == HTTOPRIGHT)
      Message.Result = y < window.top + border ? HTTOP : left ? HTLEFT : HTRIGHT;
    else
      Message.Result = y >= window.bottom - border ? HTBOTTOM : left ? HTLEFT : HTRIGHT;
    FHitTest = static_cast<int>(Message.Result);
    return;
  }
  default:
    FHitTest = static_cast<int>(base);
  }
}

void TdxBarControl::PaintCaptionButtons(HDC DC, HRGN Region) {
  if (!HasCaptionButtons()) return;
  const TCaptionButtonState& state = CaptionButtons();
  for (int i = HasMDIButtons() ? 0 : 2; i < 3; ++i) {
    const TRect r = GetCaptionButtonRect(i);
    const bool mine = state.Window == this;
    GetPainter()->DrawMDIButton(this, DC, i, r, mine && state.Hot == i, mine && state.Held == i);
    HRGN part = CreateRectRgnIndirect(&r);
    CombineRgn(Region, Region, part, RGN_DIFF);
    DeleteObject(part);
  }
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

SIZE TdxBarControl::MeasureLine(bool Vertical) {
  TdxBarItemLinks* links = GetItemLinks();
  SIZE size{0, 0};
  for (int i = 0; i < links->GetShownCount(); ++i) {
    TdxBarItemLink* link = links->GetShownLink(i);
    link->CreateControl();
    TdxBarItemControl* control = link->GetControl();
    if (!control) continue;
    if (i > 0 && link->GetBeginGroup()) size.cx += GetSeparatorSize();
    size.cx += Along(control, Vertical);
    size.cy = std::max<LONG>(size.cy, Across(control, Vertical));
  }
  return size;
}

int TdxBarControl::LargestVisible(bool Height) {
  TdxBarItemLinks* links = GetItemLinks();
  int largest = 0;
  for (int i = 0; i < links->GetVisibleCount(); ++i) {
    TdxBarItemLink* link = links->GetVisibleLink(i);
    link->CreateControl();
    if (TdxBarItemControl* control = link->GetControl())
      largest = std::max(largest, Height ? control->GetLayoutHeight() : control->GetLayoutWidth());
  }
  return largest;
}

int TdxBarControl::SingleLinkExtent(bool Height) {
  TdxBarItemLinks* links = GetItemLinks();
  TRecentCountScope restore(links);
  links->SetRecentItemCount(1);
  // Without recent use all links stay shown: the first is the one.
  if (links->GetShownCount() == 0) return 0;
  TdxBarItemLink* link = links->GetShownLink(0);
  link->CreateControl();
  TdxBarItemControl* control = link->GetControl();
  if (!control) return 0;
  return Height ? control->GetLayoutHeight() : control->GetLayoutWidth();
}

int TdxBarControl::GetMinWidth(TdxBarDockingStyle Style) {
  const bool buttons = HasCaptionButtons();
  int width;
  if (IsVerticalStyle(Style) || Wraps()) {
    width = LargestVisible(false);
    if (width == 0) width = GetBarManager()->GetButtonWidth();
    if (buttons) width = std::max(width, GetCaptionButtonsWidth());
  } else {
    width = SingleLinkExtent(false);
    if (width == 0) width = GetBarManager()->GetButtonWidth();
    if (buttons) width += GetCaptionButtonsWidth();
  }
  if (IsHorizontal() && MarkVisible()) width += TdxBarControl::MarkSize;
  return width;
}

int TdxBarControl::GetMinHeight(TdxBarDockingStyle Style) {
  const bool buttons = HasCaptionButtons();
  int height;
  if (!IsVerticalStyle(Style) || Wraps()) {
    height = LargestVisible(true);
    if (height == 0) height = GetBarManager()->GetButtonHeight();
    if (buttons) height = std::max(height, GetCaptionButtonsHeight());
  } else {
    height = SingleLinkExtent(true);
    if (height == 0) height = GetBarManager()->GetButtonHeight();
    if (buttons) height += GetCaptionButtonsHeight();
  }
  if (IsVertical() && MarkVisible()) height += TdxBarControl::MarkSize;
  return height;
}

int TdxBarControl::GetMaxWidth(TdxBarDockingStyle Style) {
  int width;
  if (!IsVerticalStyle(Style) || Wraps()) {
    TRecentCountScope restore(GetItemLinks());
    GetItemLinks()->SetRecentItemCount(-1);
    width = MeasureLine(false).cx;
    if (HasCaptionButtons()) width += GetCaptionButtonsWidth();
    if (IsHorizontal() && MarkVisible()) width += TdxBarControl::MarkSize;
  } else {
    width = LargestVisible(false);
    if (HasCaptionButtons()) width = std::max(width, GetCaptionButtonsWidth());
  }
  return std::max(width, GetMinWidth(Style));
}

int TdxBarControl::GetMaxHeight(TdxBarDockingStyle Style) {
  int height;
  if (IsVerticalStyle(Style) || Wraps()) {
    TRecentCountScope restore(GetItemLinks());
    GetItemLinks()->SetRecentItemCount(-1);
    height = MeasureLine(true).cx;
    if (HasCaptionButtons()) height += GetCaptionButtonsHeight();
    if (IsVertical() && MarkVisible()) height += TdxBarControl::MarkSize;
  } else {
    height = LargestVisible(true);
    if (HasCaptionButtons()) height = std::max(height, GetCaptionButtonsHeight());
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
  {
    TRecentCountScope restore(GetItemLinks());
    GetItemLinks()->SetRecentItemCount(-1);
    LayoutLinks();
  }
  if (Wraps()) {
    if (IsVerticalStyle(Style)) {
      SIZE size = CalcSizeForHeight(Style, GetMaxHeight(Style));
      while (size.cx < Width) {
        const SIZE next = CalcSizeForHeight(Style, size.cy - 1);
        if (next.cy == size.cy) break;
        size = next;
      }
      return size;
    }
    SIZE size{GetMinWidth(Style), GetMinHeight(Style)};
    WrapLinks(Style, Width, size);
    return size;
  }
  if (IsVerticalStyle(Style)) return SIZE{GetMinWidth(Style), GetMaxHeight(Style)};
  SIZE size{GetMinWidth(Style), GetMinHeight(Style)};
  const bool buttons = HasCaptionButtons();
  int room = std::max<int>(Width, size.cx) - (buttons ? GetCaptionButtonsWidth() : 0);
  GetItemLinks()->SetRecentItemCount(-1);
  if (GetItemLinks()->GetVisibleCount() == 0) return size;
  const int mark = MarkVisible() ? TdxBarControl::MarkSize : 0;
  const SIZE line = ChooseRecentCount(false, room - mark);
  size = SIZE{std::max<LONG>(size.cx, line.cx + mark), line.cy};
  if (buttons) {
    size.cx += GetCaptionButtonsWidth();
    size.cy = std::max<LONG>(size.cy, GetCaptionButtonsHeight());
  }
  return size;
}

SIZE TdxBarControl::CalcSizeForHeight(TdxBarDockingStyle Style, int Height) {
  {
    TRecentCountScope restore(GetItemLinks());
    GetItemLinks()->SetRecentItemCount(-1);
    LayoutLinks();
  }
  if (Wraps()) {
    if (IsVerticalStyle(Style)) {
      SIZE size{GetMinWidth(Style), GetMinHeight(Style)};
      WrapLinks(Style, Height, size);
      return size;
    }
    SIZE size = CalcSizeForWidth(Style, GetMaxWidth(Style));
    while (size.cy < Height) {
      const SIZE next = CalcSizeForWidth(Style, size.cx - 1);
      if (next.cx == size.cx) break;
      size = next;
    }
    return size;
  }
  if (!IsVerticalStyle(Style)) return SIZE{GetMaxWidth(Style), GetMinHeight(Style)};
  SIZE size{GetMinWidth(Style), GetMinHeight(Style)};
  const bool buttons = HasCaptionButtons();
  int room = std::max<int>(Height, size.cy) - (buttons ? GetCaptionButtonsHeight() : 0);
  GetItemLinks()->SetRecentItemCount(-1);
  if (GetItemLinks()->GetVisibleCount() == 0) return size;
  const int mark = MarkVisible() ? TdxBarControl::MarkSize : 0;
  const SIZE line = ChooseRecentCount(true, room - mark);
  size = SIZE{line.cy, std::max<LONG>(size.cy, line.cx + mark)};
  if (buttons) {
    size.cy += GetCaptionButtonsHeight();
    size.cx = std::max<LONG>(size.cx, GetCaptionButtonsWidth());
  }
  return size;
}

int TdxBarControl::GetBorderWidth(TdxBarDockingStyle Style) {
  const TdxBarItemControlPainterClass painter = GetPainter();
  if (Style == dsNone)
    return 2 * painter->GetFloatingBorderWidth() + 2 * painter->GetFloatingFrameSideWidth();
  if (FBar->BorderStyle == bbsNone) return FBar->IsSizeGripVisible() ? painter->GetSizeGripSize().cx : 0;
  const TRect offsets = painter->GetDockedBorderOffsets(this);
  return offsets.left + offsets.right + (IsVerticalStyle(Style) ? 0 : GetBarManager()->GetGripSize(FBar));
}

int TdxBarControl::GetBorderHeight(TdxBarDockingStyle Style) {
  const TdxBarItemControlPainterClass painter = GetPainter();
  if (Style == dsNone)
    return 2 * painter->GetFloatingBorderHeight() + (HasCaption() ? painter->GetFloatingCaptionHeight() : 0) +
           painter->GetFloatingFrameTopHeight() + painter->GetFloatingFrameBottomHeight();
  if (FBar->BorderStyle == bbsNone) return FBar->IsStatusBar() ? painter->GetBottomBarEdgeHeight() : 0;
  const TRect offsets = painter->GetDockedBorderOffsets(this);
  return offsets.top + offsets.bottom + (IsVerticalStyle(Style) ? GetBarManager()->GetGripSize(FBar) : 0);
}
