#include "Controls.h"

#include "Forms.h"
#include "Menus.h"

#include <algorithm>

namespace {

constexpr const char* kControlProp = "VelmoraControl";
thread_local TWinControl* CreationControl = nullptr;
int NextControlId = 100;

TPoint SmallPoint(LPARAM lParam) {
  return TPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

bool IsMouseMessage(UINT msg) {
  return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL;
}

// Where Windows calls into a control: no exception goes past here.
LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(wnd);
  if (!control) return DefWindowProcA(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    control->WindowProc(m);
  } catch (...) {
    Application->HandleException(control);
  }
  return m.Result;
}

} // namespace

LRESULT CALLBACK TWinControl::InitWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = CreationControl;
  CreationControl = nullptr;
  if (!control) return DefWindowProcA(wnd, msg, wParam, lParam);
  control->FHandle = wnd;
  SetPropA(wnd, kControlProp, control);
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc));
  return StdWndProc(wnd, msg, wParam, lParam);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(std::make_unique<TBrush>()) {
  FBrush->SetColor(GetColor());
}

TWinControl::~TWinControl() {
  FShowing = false;
  LeaveParentOnDestroy();
  DestroyHandle();
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    delete child;
  }
}

HWND TWinControl::GetHandle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->GetHandle() : ParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcA;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, ControlClassName, &wc) &&
      !GetClassInfoA(GetModuleHandleA(nullptr), ControlClassName, &wc))
    throw EInvalidOperation(Format("Window class %s is not registered", ControlClassName));
  wc.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
  Params.WindowClass = wc;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent)
    throw EInvalidOperation(Format("Control '%s' has no parent window", GetName()));
  FDefWndProc = params.WindowClass.lpfnWndProc;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (!GetClassInfoA(instance, params.WinClassName.c_str(), &existing)) {
    WNDCLASSA wc = params.WindowClass;
    wc.lpfnWndProc = &InitWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassA(&wc)) throw EOutOfResources("Error creating window class");
  }
  // A window made while this one is being made (a hook reacting to the
  // messages of its creation) leaves this one's turn as it found it.
  TWinControl* outer = CreationControl;
  CreationControl = this;
  CreateWindowHandle(params);
  CreationControl = outer;
  if (!FHandle) throw EOutOfResources("Error creating window");
  if (FParent) FParent->SetZOrderOf(this);
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
  UpdateBoundsRect(GetBoundsRectOfWindow());
  CreateWndFinished();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HMENU id =
      (Params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<intptr_t>(NextControlId++)) : nullptr;
  CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                  Params.Y, Params.Width, Params.Height, Params.WndParent, id, GetModuleHandleA(nullptr),
                  Params.Param);
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  for (TWinControl* child : FTabList)
    if (child->FVisible) child->CreateHandle();
}

void TWinControl::DestroyWnd() {
  FText = GetTextBuf();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  if (FHandle) DestroyWindow(FHandle);
  FHandle = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  const bool focused = Focused();
  DestroyHandle();
  UpdateControlState();
  if (!FHandle && (FParent ? FParent->FHandle != nullptr : false)) CreateHandle();
  if (focused && CanFocus()) SetFocus();
}

TRect TWinControl::GetBoundsRectOfWindow() const {
  RECT r;
  GetWindowRect(FHandle, &r);
  HWND parent = ::GetParent(FHandle);
  if (parent && (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TWinControl::SetZOrderOf(TWinControl* child) {
  // Windows stack in the order of the control list: later controls on top.
  HWND after = HWND_BOTTOM;
  for (TControl* c : FControls) {
    if (c == child) break;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle) after = w->FHandle;
  }
  if (after == HWND_BOTTOM) {
    SetWindowPos(child->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  // SetWindowPos puts a window below the one given: "after" in Z order is under.
  SetWindowPos(child->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (auto it = std::find(FControls.begin(), FControls.end(), child) + 1; it != FControls.end(); ++it)
    if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->FHandle)
      SetWindowPos(w->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetZOrder(bool TopMost) {
  if (!FHandle) return;
  SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Children ----

void TWinControl::InsertControl(TControl* AControl) {
  AControl->FParent = this;
  FControls.push_back(AControl);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) FTabList.push_back(w);
  if (AControl->FParentFont) AControl->Perform(CM_PARENTFONTCHANGED);
  if (AControl->FParentColor) AControl->Perform(CM_PARENTCOLORCHANGED);
  AControl->UpdateAnchorRules();
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (FHandle && w->FVisible) w->UpdateControlState();
  } else {
    AControl->Invalidate();
  }
  AlignControl(AControl);
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (AControl->FParent != this) return;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (FMouseControl == AControl) FMouseControl = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(w);
    w->DestroyHandle();
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
  } else {
    AControl->Invalidate();
  }
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  AControl->FParent = nullptr;
  Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
  while (Control && Control != this)
    Control = Control->GetParent();
  return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls) {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->FVisible || (!allowDisabled && !c->GetEnabled())) continue;
    TPoint p(pos.x - c->FLeft, pos.y - c->FTop);
    if (p.x < 0 || p.y < 0 || p.x >= c->FWidth || p.y >= c->FHeight) continue;
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(p.x, p.y)) != 0) return c;
  }
  return nullptr;
}

// ---- Bounds and alignment ----

TRect TWinControl::GetClientRect() {
  if (FHandle) {
    RECT r;
    ::GetClientRect(FHandle, &r);
    return r;
  }
  return TControl::GetClientRect();
}

TPoint TWinControl::GetClientOrigin() {
  if (!FHandle && FParent) return TControl::GetClientOrigin();
  POINT p{0, 0};
  ::ClientToScreen(GetHandle(), &p);
  return p;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle) {
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateAnchorRules();
    RequestAlign();
    return;
  }
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  RequestAlign();
  if (resized) {
    Realign();
    Resize();
  }
}

void TWinControl::UpdateBoundsRect(const TRect& r) {
  const bool resized = r.Width() != FWidth || r.Height() != FHeight;
  TControl::UpdateBoundsRect(r);
  if (resized) {
    Realign();
    Resize();
  }
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  auto* wp = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (wp && (wp->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
    TRect r = GetBoundsRectOfWindow();
    if (!(r == GetBoundsRect())) UpdateBoundsRect(r);
  }
  DefaultHandler(Message);
}

void TWinControl::Realign() {
  AlignControl(nullptr);
}

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && ControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::AlignControl(TControl* AControl) {
  if (FAlignLevel > 0) {
    ControlState.Include(csAlignmentNeeded);
    return;
  }
  ++FAlignLevel;
  ControlState.Include(csAlignmentNeeded);
  try {
    TRect rect = GetClientRect();
    AlignControls(AControl, rect);
  } catch (...) {
    ControlState.Exclude(csAlignmentNeeded);
    --FAlignLevel;
    throw;
  }
  ControlState.Exclude(csAlignmentNeeded);
  --FAlignLevel;
}

namespace {

bool InsertBefore(TControl* c1, TControl* c2, TAlign align) {
  switch (align) {
  case alTop:
    return c1->GetTop() < c2->GetTop();
  case alBottom:
    return c1->GetTop() + c1->GetHeight() >= c2->GetTop() + c2->GetHeight();
  case alLeft:
    return c1->GetLeft() < c2->GetLeft();
  case alRight:
    return c1->GetLeft() + c1->GetWidth() >= c2->GetLeft() + c2->GetWidth();
  default:
    return false;
  }
}

} // namespace

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  AdjustClientRect(Rect);
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    if (AControl && AControl->FAlign == align && AControl->FVisible) list.push_back(AControl);
    for (TControl* c : FControls) {
      if (c == AControl || c->FAlign != align || !c->FVisible) continue;
      size_t j = 0;
      while (j < list.size() && !InsertBefore(c, list[j], align))
        ++j;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
    }
    for (TControl* c : list) {
      const int w = c->FWidth;
      const int h = c->FHeight;
      switch (align) {
      case alTop:
        c->SetBounds(Rect.left, Rect.top, Rect.Width(), h);
        Rect.top += c->FHeight;
        break;
      case alBottom:
        c->SetBounds(Rect.left, Rect.bottom - h, Rect.Width(), h);
        Rect.bottom -= c->FHeight;
        break;
      case alLeft:
        c->SetBounds(Rect.left, Rect.top, w, Rect.Height());
        Rect.left += c->FWidth;
        break;
      case alRight:
        c->SetBounds(Rect.right - w, Rect.top, w, Rect.Height());
        Rect.right -= c->FWidth;
        break;
      default:
        c->SetBounds(Rect.left, Rect.top, Rect.Width(), Rect.Height());
        break;
      }
    }
  }
  // Anchored controls keep their distances to the anchored sides.
  TRect client = GetClientRect();
  for (TControl* c : FControls) {
    if (c->FAlign != alNone || c == AControl || c->FAnchors == TAnchors{akLeft, akTop}) continue;
    if (c->FOriginalParentSize.cx == 0 && c->FOriginalParentSize.cy == 0) continue;
    const int dx = client.Width() - c->FOriginalParentSize.cx;
    const int dy = client.Height() - c->FOriginalParentSize.cy;
    int left = c->FAnchorOrigin.x, width = c->FAnchorSize.cx;
    int top = c->FAnchorOrigin.y, height = c->FAnchorSize.cy;
    if (c->FAnchors.Contains(akRight)) {
      if (c->FAnchors.Contains(akLeft))
        width += dx;
      else
        left += dx;
    } else if (!c->FAnchors.Contains(akLeft)) {
      left += dx / 2;
    }
    if (c->FAnchors.Contains(akBottom)) {
      if (c->FAnchors.Contains(akTop))
        height += dy;
      else
        top += dy;
    } else if (!c->FAnchors.Contains(akTop)) {
      top += dy / 2;
    }
    c->SetBounds(left, top, width, height);
  }
}

// ---- Showing ----

bool TWinControl::IsShowing() const {
  return FShowing;
}

void TWinControl::UpdateShowing() {
  const bool show = FVisible && !IsDestroying();
  if (show) {
    if (!FHandle) CreateHandle();
    for (TWinControl* child : FTabList)
      child->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  TWinControl* top = this;
  while (top->FParent) {
    top = top->FParent;
    if (!top->FShowing) return;
  }
  if (dynamic_cast<TCustomForm*>(top) || top->ParentWindow) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                   (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  TControl::SetEnabled(value);
  if (FHandle) EnableWindow(FHandle, value);
}

// ---- Painting ----

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !ControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto it = FControls.begin();
  if (First) {
    it = std::find(FControls.begin(), FControls.end(), First);
    if (it == FControls.end()) it = FControls.begin();
  }
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->FVisible) continue;
    RECT r = c->GetBoundsRect();
    if (!RectVisible(DC, &r)) continue;
    const int saved = SaveDC(DC);
    POINT org;
    GetViewportOrgEx(DC, &org);
    SetViewportOrgEx(DC, org.x + c->FLeft, org.y + c->FTop, nullptr);
    IntersectClipRect(DC, 0, 0, c->FWidth, c->FHeight);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, saved);
  }
}

void TWinControl::PaintHandler(HDC DC) {
  PaintWindow(DC);
  PaintControls(DC, nullptr);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  const int saved = SaveDC(dc);
  POINT org;
  GetViewportOrgEx(dc, &org);
  SetViewportOrgEx(dc, org.x + x, org.y + y, nullptr);
  SendMessageA(GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FVisible) w->PaintTo(dc, x + w->FLeft, y + w->FTop);
}

bool TWinControl::DrawsItself() const {
  return FDefWndProc == DefWindowProcA || FDefWndProc == nullptr;
}

void TWinControl::WMPaint(TMessage& Message) {
  bool graphicChildren = std::any_of(FControls.begin(), FControls.end(),
                                     [](TControl* c) { return !dynamic_cast<TWinControl*>(c); });
  if (!DrawsItself() && !graphicChildren && !ControlState.Contains(csCustomPaint))
    return DefaultHandler(Message);
  if (Message.WParam) {
    PaintHandler(reinterpret_cast<HDC>(Message.WParam));
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  try {
    if (DoubleBuffered)
      PaintBuffered(dc, ps.rcPaint);
    else
      PaintHandler(dc);
  } catch (...) {
    EndPaint(FHandle, &ps);
    throw;
  }
  EndPaint(FHandle, &ps);
}

void TWinControl::PaintBuffered(HDC DC, const RECT& Area) {
  RECT client;
  ::GetClientRect(FHandle, &client);
  HDC memory = CreateCompatibleDC(DC);
  HBITMAP bitmap = CreateCompatibleBitmap(DC, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  auto release = [&] {
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  };
  try {
    SendMessageA(FHandle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    PaintHandler(memory);
  } catch (...) {
    release();
    throw;
  }
  BitBlt(DC, Area.left, Area.top, Area.right - Area.left, Area.bottom - Area.top, memory, Area.left, Area.top,
         SRCCOPY);
  release();
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  // A double-buffered control erases in its memory bitmap only.
  if (DoubleBuffered && GetObjectType(reinterpret_cast<HDC>(Message.WParam)) != OBJ_MEMDC) {
    Message.Result = 1;
    return;
  }
  if (!DrawsItself()) return DefaultHandler(Message);
  RECT r;
  ::GetClientRect(FHandle, &r);
  FBrush->SetColor(GetColor());
  ::FillRect(reinterpret_cast<HDC>(Message.WParam), &r, FBrush->GetHandle());
  Message.Result = 1;
}

void TWinControl::ColorChanged() {
  FBrush->SetColor(GetColor());
  Invalidate();
  TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
  for (TControl* c : FControls)
    c->WindowProc(m);
}

// ---- Focus and keys ----

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (TWinControl* c = this; c != form; c = c->FParent)
    if (!c->FVisible || !c->FEnabled) return false;
  return form->FVisible && form->FEnabled;
}

bool TWinControl::Focused() const {
  return FHandle && ::GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
    return;
  }
  if (ParentWindow) ::SetFocus(GetHandle());
}

void TWinControl::SetTabStop(bool value) {
  if (value == FTabStop) return;
  FTabStop = value;
  if (FHandle) {
    LONG style = GetWindowLongA(FHandle, GWL_STYLE);
    SetWindowLongA(FHandle, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::GetTabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (value < 0 || value > static_cast<int>(list.size())) value = static_cast<int>(list.size());
  list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* c : FTabList) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), CurControl);
  int start = it == list.end() ? (GoForward ? count - 1 : 0) : static_cast<int>(it - list.begin());
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i - 1 + count) % count;
    TWinControl* c = list[i];
    if (c == CurControl) break;
    if ((!CheckTabStop || c->FTabStop) && (!CheckParent || c->FParent == this) && c->CanFocus()) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectFirst() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  TWinControl* control = FindNextControl(nullptr, true, true, false);
  if (!control) control = FindNextControl(nullptr, true, false, false);
  if (control) form->SetActiveControl(control);
}

void TWinControl::ShowControl(TControl*) {
  Show();
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
    next->SetFocus();
}

void TWinControl::Broadcast(TMessage& Message) {
  for (size_t i = 0; i < FControls.size(); ++i) {
    FControls[i]->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyDown(Message)) return true;
  WORD key = static_cast<WORD>(Message.WParam);
  KeyDown(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyUp(Message)) return true;
  WORD key = static_cast<WORD>(Message.WParam);
  KeyUp(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyPress(Message)) return true;
  char key = static_cast<char>(Message.WParam);
  KeyPress(key);
  Message.WParam = static_cast<unsigned char>(key);
  return key == 0;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::IsMenuKey(TMessage& Message) {
  for (TControl* c = this; c; c = c->GetParent())
    if (c->GetPopupMenu() && c->GetPopupMenu()->IsShortCut(Message)) return true;
  TCustomForm* form = GetParentForm(this);
  if (form && form->IsShortCut(Message)) return true;
  TCustomForm* main = Application->GetMainForm();
  return main && main != form && main->GetEnabled() && main->IsShortCut(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
  UINT mask = 0;
  switch (Message.WParam) {
  case VK_TAB:
    mask = DLGC_WANTTAB;
    break;
  case VK_LEFT:
  case VK_RIGHT:
  case VK_UP:
  case VK_DOWN:
    mask = DLGC_WANTARROWS;
    break;
  case VK_RETURN:
  case VK_EXECUTE:
  case VK_ESCAPE:
  case VK_CANCEL:
    mask = DLGC_WANTALLKEYS;
    break;
  }
  if (mask && Perform(CM_WANTSPECIALKEY, Message.WParam) == 0 &&
      (Perform(WM_GETDLGCODE) & static_cast<LRESULT>(mask)) == 0) {
    if (TCustomForm* form = GetParentForm(this))
      if (form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 0;
  if (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) return;
  if (TCustomForm* form = GetParentForm(this))
    if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) Message.Result = 1;
}

void TWinControl::CNSysChar(TMessage& Message) {
  Message.Result = 0;
  if (Message.WParam == ' ') return;
  if (TCustomForm* form = GetParentForm(this))
    if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) Message.Result = 1;
}

void TWinControl::WMSetFocus(TMessage& Message) {
  if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
  DefaultHandler(Message);
}

void TWinControl::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
}

void TWinControl::CMFocusChanged(TMessage& Message) {
  Broadcast(Message);
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (LOWORD(Message.LParam) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == FHandle) {
    TCursor cursor = Screen->GetCursor();
    if (cursor == crDefault) {
      TControl* control = ControlAtPos(ScreenToClient(Mouse->GetCursorPos()), false);
      cursor = control ? control->GetCursor() : GetCursor();
    }
    if (cursor != crDefault) {
      ::SetCursor(Screen->GetCursors(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// ---- Notifications reflected to the child that sent them ----

void TWinControl::WMCommand(TMessage& Message) {
  if (Message.LParam == 0 && HIWORD(Message.WParam) == 0 && TMenu::DispatchCommand(LOWORD(Message.WParam)))
    return;
  if (TWinControl* child = FindControl(reinterpret_cast<HWND>(Message.LParam))) {
    Message.Result = child->Perform(CN_COMMAND, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
  auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
  if (TWinControl* child = header ? FindControl(header->hwndFrom) : nullptr) {
    Message.Result = child->Perform(CN_NOTIFY, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMCtlColor(TMessage& Message) {
  if (TWinControl* child = FindControl(reinterpret_cast<HWND>(Message.LParam))) {
    Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMDrawItem(TMessage& Message) {
  UINT type = 0, id = 0;
  switch (Message.Msg) {
  case WM_DRAWITEM:
    type = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->CtlType;
    id = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->CtlID;
    break;
  case WM_MEASUREITEM:
    type = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam)->CtlType;
    id = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam)->CtlID;
    break;
  case WM_DELETEITEM:
    type = reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam)->CtlType;
    id = reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam)->CtlID;
    break;
  case WM_COMPAREITEM:
    type = reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam)->CtlType;
    id = reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam)->CtlID;
    break;
  }
  if (type == ODT_MENU) {
    if (Message.Msg == WM_DRAWITEM || Message.Msg == WM_MEASUREITEM) {
      if (TMenu::DispatchOwnerDraw(Message)) return;
    }
    return DefaultHandler(Message);
  }
  if (TWinControl* child = FindControl(GetDlgItem(FHandle, static_cast<int>(id)))) {
    Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

// ---- The message switch ----

void TWinControl::WndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  if (IsMouseMessage(msg)) {
    // A graphic child holding the capture, or under the mouse, takes it.
    TControl* target = GetCaptureControl();
    if (target != this) {
      if (!target) target = ControlAtPos(SmallPoint(Message.LParam), false);
      if (target && target->GetParent() == this && !dynamic_cast<TWinControl*>(target)) {
        TPoint p = SmallPoint(Message.LParam);
        TMessage forwarded{
            msg, Message.WParam,
            MAKELPARAM(static_cast<short>(p.x - target->FLeft), static_cast<short>(p.y - target->FTop)), 0};
        target->WindowProc(forwarded);
        Message.Result = forwarded.Result;
        return;
      }
    }
    return TControl::WndProc(Message);
  }
  switch (msg) {
  case WM_PAINT:
    return WMPaint(Message);
  case WM_PRINTCLIENT:
    if (DrawsItself()) {
      PaintHandler(reinterpret_cast<HDC>(Message.WParam));
      return;
    }
    break;
  case WM_ERASEBKGND:
    return WMEraseBkgnd(Message);
  case WM_COMMAND:
    return WMCommand(Message);
  case WM_NOTIFY:
    return WMNotify(Message);
  case WM_CTLCOLORMSGBOX:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
  case WM_CTLCOLORSCROLLBAR:
  case WM_CTLCOLORSTATIC:
    return WMCtlColor(Message);
  case WM_DRAWITEM:
  case WM_MEASUREITEM:
  case WM_DELETEITEM:
  case WM_COMPAREITEM:
    return WMDrawItem(Message);
  case WM_HSCROLL:
  case WM_VSCROLL:
  case WM_CHARTOITEM:
  case WM_VKEYTOITEM:
    if (TWinControl* child = FindControl(reinterpret_cast<HWND>(Message.LParam))) {
      Message.Result = child->Perform(CN_BASE + msg, Message.WParam, Message.LParam);
      return;
    }
    break;
  case WM_WINDOWPOSCHANGED:
    return WMWindowPosChanged(Message);
  case WM_SETFOCUS:
    return WMSetFocus(Message);
  case WM_KILLFOCUS:
    return WMKillFocus(Message);
  case WM_SETCURSOR:
    return WMSetCursor(Message);
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
    if (DoKeyDown(Message)) return;
    break;
  case WM_KEYUP:
  case WM_SYSKEYUP:
    if (DoKeyUp(Message)) return;
    break;
  case WM_CHAR:
    if (DoKeyPress(Message)) return;
    break;
  case WM_MOUSEWHEEL:
    // Unhandled, the default procedure hands the wheel to the parent window.
    if (DoMouseWheel(MouseShiftState(GET_KEYSTATE_WPARAM(Message.WParam)),
                     GET_WHEEL_DELTA_WPARAM(Message.WParam), SmallPoint(Message.LParam)))
      return;
    break;
  case WM_DESTROY:
    FText = GetTextBuf();
    break;
  case WM_NCDESTROY:
    DefaultHandler(Message);
    RemovePropA(FHandle, kControlProp);
    SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc));
    FHandle = nullptr;
    FShowing = false;
    return;
  case CN_KEYDOWN:
    return CNKeyDown(Message);
  case CN_SYSKEYDOWN:
    Message.Result = IsMenuKey(Message) ? 1 : 0;
    return;
  case CN_CHAR:
    return CNChar(Message);
  case CN_SYSCHAR:
    return CNSysChar(Message);
  case CM_DIALOGKEY:
  case CM_DIALOGCHAR:
    return Broadcast(Message);
  case CM_DOCKCLIENT:
    return CMDockClient(Message);
  case CM_FOCUSCHANGED:
    return CMFocusChanged(Message);
  case CM_SHOWINGCHANGED:
    return CMShowingChanged(Message);
  case CM_VISIBLECHANGED:
    if (!FVisible && FParent)
      if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(this);
    UpdateControlState();
    if (!FVisible && FHandle && FShowing) {
      FShowing = false;
      Perform(CM_SHOWINGCHANGED);
    }
    return;
  case CM_ENTER:
    DoEnter();
    return;
  case CM_EXIT:
    DoExit();
    return;
  case CM_FONTCHANGED:
    if (FHandle) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), TRUE);
    Invalidate();
    ForwardFontAndColor(CM_PARENTFONTCHANGED);
    return;
  case CM_COLORCHANGED:
    return ColorChanged();
  case CM_ENABLEDCHANGED:
    if (FHandle) EnableWindow(FHandle, FEnabled);
    Invalidate();
    return;
  case CM_TEXTCHANGED:
    return;
  case CM_RECREATEWND:
    RecreateWnd();
    return;
  case CM_SYSCOLORCHANGE:
  case CM_WININICHANGE:
  case CM_SYSFONTCHANGED:
    DefaultHandler(Message);
    for (TControl* c : FControls)
      c->Perform(msg, Message.WParam, Message.LParam);
    return;
  case WM_SYSCOLORCHANGE:
    Perform(CM_SYSCOLORCHANGE);
    break;
  case CN_CTLCOLOREDIT:
  case CN_CTLCOLORLISTBOX:
  case CN_CTLCOLORSTATIC:
  case CN_CTLCOLORBTN: {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
    SetBkColor(dc, ColorToRGB(GetColor()));
    FBrush->SetColor(GetColor());
    Message.Result = reinterpret_cast<LRESULT>(FBrush->GetHandle());
    return;
  }
  }
  TControl::WndProc(Message);
}

void TWinControl::ForwardFontAndColor(UINT msg) {
  TMessage m{msg, 0, 0, 0};
  for (TControl* c : FControls)
    c->WindowProc(m);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    if (Message.Msg == WM_GETTEXT || Message.Msg == WM_GETTEXTLENGTH) TControl::DefaultHandler(Message);
    // The caller of SetTextBuf tells of the change itself.
    if (Message.Msg == WM_SETTEXT) {
      TControl::SetTextBuf(reinterpret_cast<const char*>(Message.LParam));
      Message.Result = 1;
    }
    return;
  }
  Message.Result = CallWindowProcA(FDefWndProc ? FDefWndProc : DefWindowProcA, FHandle, Message.Msg,
                                   Message.WParam, Message.LParam);
}

// Through the control's own message handling, so a control that keeps its
// text elsewhere answers also before its window exists.
String TWinControl::GetTextBuf() const {
  auto* self = const_cast<TWinControl*>(this);
  const auto length = static_cast<int>(self->Perform(WM_GETTEXTLENGTH));
  if (length <= 0) return String();
  String s(static_cast<size_t>(length) + 1, '\0');
  const auto got = static_cast<int>(self->Perform(WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data())));
  s.resize(static_cast<size_t>(std::clamp(got, 0, length)));
  return s;
}

void TWinControl::SetTextBuf(const String& value) {
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}
