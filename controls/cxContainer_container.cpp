#include "cxContainer.h"

#include "Forms.h"

namespace {

// The painted border kind by the style's border style (columns) and the hot
// row: 0 without hot tracking, 1 hot tracking while neither focused nor
// hot, 2 focused or hot.
const int kBorderKinds[3][6] = {{0, 1, 2, 3, 4, 1}, {0, 1, 2, 3, 4, 1}, {3, 2, 2, 4, 4, 1}};
const int kBorderWidths[6] = {0, 1, 2, 2, 2, 1};

constexpr int TMT_BORDERCOLOR_ = 3801;
constexpr int TMT_FILLCOLOR_ = 3802;

// Grows R by W on each side in Edges.
void GrowOnEdges(TRect& R, int W, TcxBorders Edges) {
  if (Edges.Contains(bLeft)) R.left -= W;
  if (Edges.Contains(bTop)) R.top -= W;
  if (Edges.Contains(bRight)) R.right += W;
  if (Edges.Contains(bBottom)) R.bottom += W;
}

TColor ThemeColor(TdxThemedObjectType Class, int Part, int State, int Property, TColor Default) {
  HTHEME theme = OpenThemeHandle(Class);
  COLORREF color = 0;
  if (!theme || FAILED(dxUxTheme::GetThemeColor(theme, Part, State, Property, &color))) return Default;
  return static_cast<TColor>(color);
}

} // namespace

// ---- TcxContainerViewInfo ----

void TcxContainerViewInfo::SetBackgroundColor(TColor AColor) {
  FBackgroundColor = AColor;
  BackgroundColorAlt = 0;
}

void TcxContainerViewInfo::Offset(int DX, int DY) {
  for (TRect* r : {&BorderRect, &Bounds, &ClientRect})
    OffsetRect(r, DX, DY);
}

void TcxContainerViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (NativeStyle && OpenThemeHandle(ThemeClass))
    PaintNativeBorder(ACanvas);
  else
    PaintBorder(ACanvas);
}

void TcxContainerViewInfo::PaintNativeBorder(TcxCanvas* ACanvas) {
  TRect content = Bounds;
  dxUxTheme::GetThemeBackgroundContentRect(OpenThemeHandle(ThemeClass), ACanvas->GetHandle(), ThemePart,
                                           ThemeState, &Bounds, &content);
  ACanvas->FillRect(content, FBackgroundColor);
  DrawFrameArea(ACanvas, Bounds, content, ThemeColor(totComboBox, 1, 1, TMT_BORDERCOLOR_, clWindowFrame));
}

void TcxContainerViewInfo::PaintBorder(TcxCanvas* ACanvas) {
  const int w = BorderWidth;
  TRect r = BorderRect;
  r.left -= w;
  r.top -= w;
  GrowOnEdges(r, w, Edges * TcxBorders{bRight, bBottom});
  if (Shadow) DrawContainerShadow(ACanvas, r);
  GrowOnEdges(r, w, TcxBorders{bRight, bBottom} - Edges);
  switch (BorderStyle) {
  case 1:
  case 2:
    ACanvas->FrameRect(r, BorderColor, w);
    break;
  case 3:
  case 4:
    ACanvas->DrawEdge(r, true, true, Edges);
    InflateRect(&r, -1, -1);
    if (BorderStyle == 3)
      ACanvas->FrameRect(r, clBtnFace);
    else
      ACanvas->DrawTwoToneFrame(r, cl3DDkShadow, cl3DLight, Edges);
    break;
  }
  ACanvas->FillRect(BorderRect, FBackgroundColor);
}

// ---- TcxContainer ----

TcxContainer::TcxContainer(TComponent* AOwner) : TcxControl(AOwner) {
  FIsCreating = true;
  ControlStyle.Include(csCaptureMouse);
  ControlStyle.Include(csSetCaption);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeNotificator->OnThemeSwitched = [this] { ThemeChanged(); };
  FIsCreating = false;
}

TcxContainer::~TcxContainer() {
  EndMouseTracking(this);
  FIsDestroying = true;
  SetDestroying();
  // The windows go while the container is whole: an inner control losing
  // the focus with them still calls its container, which past this
  // destructor would be only a bare window control.
  DestroyHandle();
  FThemeNotificator.reset();
  FViewInfo.reset();
  if (FStyle) FStyle->OnChanged = nullptr;
  FStyle.reset();
}

TcxContainerStyle* TcxContainer::GetStyle() const {
  if (!FStyle) {
    auto* self = const_cast<TcxContainer*>(this);
    FStyle = self->CreateStyle(self->IsInternalStyle());
    FStyle->OnChanged = [self](TObject* Sender) { self->ContainerStyleChanged(Sender); };
    // The style's look-and-feel rules the painter.
    GetLookAndFeel()->SetMaster(FStyle->GetLookAndFeel());
  }
  return FStyle.get();
}

TcxContainerViewInfo* TcxContainer::GetViewInfo() const {
  if (!FViewInfo) FViewInfo = const_cast<TcxContainer*>(this)->CreateViewInfo();
  return FViewInfo.get();
}

std::unique_ptr<TcxContainerStyle> TcxContainer::CreateStyle(bool AIsInternal) {
  return std::make_unique<TcxContainerStyle>(this, AIsInternal);
}

std::unique_ptr<TcxContainerViewInfo> TcxContainer::CreateViewInfo() {
  return std::make_unique<TcxContainerViewInfo>();
}

void TcxContainer::SetDragMode(TDragMode Value) {
  TcxControl::SetDragMode(Value);
  if (FInnerControl) FInnerControl->SetDragMode(Value);
}

void TcxContainer::SetDragKind(TDragKind Value) {
  TcxControl::SetDragKind(Value);
  if (FInnerControl) FInnerControl->SetDragKind(Value);
}

bool TcxContainer::IsContainerDestroying(TcxContainer* AControl) {
  return AControl->IsDestroying() || AControl->FIsDestroying;
}

bool TcxContainer::InnerControlFocused() const {
  return FInnerControl && FInnerControl->Focused();
}

bool TcxContainer::IsFocused() {
  return Focused() || InnerControlFocused();
}

bool TcxContainer::IsNativeBorder() {
  return IsNativeBorderAvailable(GetStyle()->GetLookAndFeel()->GetNativeStyle(), GetThemeClassIndex());
}

TPoint TcxContainer::CursorPos() {
  return ScreenToClient(GetMouseCursorPos());
}

void TcxContainer::Loaded() {
  TcxControl::Loaded();
  ContainerStyleChanged(GetStyle());
}

// ---- The central refresh ----

void TcxContainer::UpdateMouseStateAtCursor(bool AIsMouseEvent) {
  if (!HandleAllocated() || FIsDestroying) return;
  UpdateMouseState(CursorPos(), 0, GetShiftState(), AIsMouseEvent);
}

bool TcxContainer::UpdateMouseState(const TPoint& P, int, TShiftState Shift, bool) {
  if (FAdjusting || FIsDestroying || IsDestroying()) return true;
  // A pressed button or modifier key takes the hot state away.
  CalculateViewInfo(P, Shift.Empty() && GetStyle()->GetHotTrack());
  AdjustInnerControlBounds();
  ApplyStyleToInnerControl();
  UpdateWindowRegion();
  if (!HandleAllocated()) return true;
  if (FInnerControl)
    InvalidateFrameArea(GetHandle(), TRect(0, 0, GetWidth(), GetHeight()), GetViewInfo()->BorderRect, false);
  else
    ::InvalidateRect(GetHandle(), nullptr, FALSE);
  return true;
}

void TcxContainer::CalculateViewInfo(const TPoint& P, bool AIsHotTest) {
  TcxContainerViewInfo* info = GetViewInfo();
  TcxContainerStyle* style = GetStyle();
  info->Bounds = TRect(0, 0, GetWidth(), GetHeight());
  info->NativeStyle = IsNativeBorder();
  if (info->NativeStyle) {
    info->ThemeClass = GetThemeClassIndex();
    info->ThemePart = GetNativePart();
  }
  info->Shadow = style->GetShadow() && !info->NativeStyle;
  if (!GetEnabled())
    info->ContainerState = TcxContainerState{cstDisabled};
  else if (IsDesigning())
    info->ContainerState = TcxContainerState{cstNormal};
  else {
    info->ContainerState = TcxContainerState{IsFocused() ? cstFocused : cstNormal};
    if (AIsHotTest && GetHotTrackBounds().Contains(P)) info->ContainerState.Include(cstHot);
  }
  const bool focused = info->ContainerState.Contains(cstFocused);
  const bool hot = info->ContainerState.Contains(cstHot);
  const int row = !style->GetHotTrack() ? 0 : (focused || hot ? 2 : 1);
  info->BorderStyle = kBorderKinds[row][style->GetBorderStyle()];
  info->BorderRect = info->Bounds;
  ShrinkRect(info->BorderRect, GetBorderExtent());
  info->BorderWidth = kBorderWidths[info->BorderStyle];
  info->Edges = style->GetEdges();
  if (style->GetBorderStyle() == cbsUltraFlat)
    info->BorderColor = focused || (hot && style->GetHotTrack()) ? clHighlight : clBtnShadow;
  else
    info->BorderColor = style->GetBorderColor();
  info->ClientRect = info->BorderRect;
  if (info->NativeStyle) info->ThemeState = GetNativeState();
  if (info->NativeStyle)
    info->SetBackgroundColor(GetEnabled() ? GetColor()
                                          : ThemeColor(info->ThemeClass, info->ThemePart, info->ThemePart,
                                                       TMT_FILLCOLOR_, clBtnFace));
  else
    info->SetBackgroundColor(GetEnabled() ? style->GetColor() : clBtnFace);
}

TRect TcxContainer::GetBorderExtent() {
  TcxContainerStyle* style = GetStyle();
  const int w = kBorderWidths[GetViewInfo()->BorderStyle];
  TRect r = style->GetTransparentBorder() || style->GetHotTrack() ? TRect(2, 2, 2, 2) : TRect(w, w, w, w);
  if (!IsNativeBorder() && style->GetShadow()) {
    r.right += 3;
    r.bottom += 3;
  }
  return r;
}

TRect TcxContainer::GetHotTrackBounds() {
  TRect r(0, 0, GetWidth(), GetHeight());
  if (IsNativeBorder()) return r;
  ShrinkRect(r, GetBorderExtent());
  GrowOnEdges(r, GetViewInfo()->BorderWidth, GetStyle()->GetEdges());
  return r;
}

int TcxContainer::GetNativeState() {
  if (!GetEnabled()) return 4;
  if (IsFocused()) return 5;
  return GetViewInfo()->ContainerState.Contains(cstHot) ? 2 : 1;
}

void TcxContainer::UpdateWindowRegion() {
  if (!HandleAllocated()) return;
  TcxContainerViewInfo* info = GetViewInfo();
  TRect r = info->Bounds;
  ShrinkRect(r, GetBorderExtent());
  GrowOnEdges(r, info->BorderWidth, GetStyle()->GetEdges());
  SetContainerWindowRegion(GetHandle(), r, info->Shadow, info->NativeStyle, nullptr);
}

void TcxContainer::Paint() {
  TcxCanvas* canvas = GetcxCanvas();
  RECT clip;
  RECT bounds = GetViewInfo()->Bounds;
  if (GetClipBox(canvas->GetHandle(), &clip) != NULLREGION && IntersectRect(&clip, &clip, &bounds))
    GetViewInfo()->Paint(canvas);
}

// ---- The style's round trips ----

bool TcxContainer::SameFont(TFont* A, TFont* B) const {
  return A->GetName() == B->GetName() && A->GetHeight() == B->GetHeight() && A->GetColor() == B->GetColor() &&
         A->GetStyle() == B->GetStyle() && A->GetCharset() == B->GetCharset() &&
         A->GetPitch() == B->GetPitch();
}

void TcxContainer::ContainerStyleChanged(TObject*) {
  if (FIsCreating || IsLoading()) return;
  UpdateMouseStateAtCursor(false);
  TcxContainerStyle* style = GetStyle();
  FStyleApplying = true;
  try {
    if (style->GetInternalColor() != GetColor()) {
      if (GetParentColor()) SetParentColor(false);
      SetColor(style->GetColor());
    }
    // Writing equal contents would only cost the control its ParentFont.
    if (!SameFont(GetFont(), style->GetFont())) SetFont(style->GetFont());
  } catch (...) {
    FStyleApplying = false;
    throw;
  }
  FStyleApplying = false;
}

void TcxContainer::HandleColorChange() {
  if (!FStyleApplying) {
    GetStyle()->SetColor(GetColor());
    return;
  }
  TcxControl::HandleColorChange();
  UpdateMouseStateAtCursor(false);
}

void TcxContainer::FontChanged() {
  if (!FStyleApplying) {
    GetcxCanvas()->SetFont(GetFont());
    TcxContainerStyle* style = GetStyle();
    style->SetFont(GetFont());
    style->SetAssignedValues(style->GetAssignedValues() - TcxContainerStyleValues{csvFont});
    return;
  }
  GetcxCanvas()->SetFont(GetFont());
  TcxControl::FontChanged();
  AdjustInnerControlBounds();
  AdjustInnerScrollBars();
  if (!HandleAllocated()) return;
  UpdateMouseStateAtCursor(false);
  if (FInnerControl) FInnerControl->SetFont(GetFont());
}

void TcxContainer::ApplyStyleToInnerControl() {
  if (!FInnerControl) return;
  FInnerControl->SetColor(GetViewInfo()->GetBackgroundColor());
  FInnerControl->SetFont(GetFont());
  FInnerControl->GetFont()->SetColor(GetEnabled() ? GetFont()->GetColor() : clBtnShadow);
}

void TcxContainer::CursorChanged() {
  TcxControl::CursorChanged();
  if (FInnerControl) FInnerControl->SetCursor(TControl::GetCursor());
}

void TcxContainer::FocusChanged() {
  TcxControl::FocusChanged();
  UpdateMouseStateAtCursor(false);
}

void TcxContainer::EnabledChanged() {
  if (FInnerControl) FInnerControl->SetEnabled(GetEnabled());
  if (HasScrollBars() && GetHScrollBar()) {
    GetHScrollBar()->SetEnabled(GetEnabled());
    GetVScrollBar()->SetEnabled(GetEnabled());
  }
  UpdateMouseStateAtCursor(false);
}

// ---- Focus, keys and mouse ----

bool TcxContainer::CanFocusOnClick() {
  if (InnerControlFocused()) return false;
  return !FIsInnerClick && TcxControl::CanFocusOnClick();
}

bool TcxContainer::MayFocus() {
  return !InnerControlFocused();
}

void TcxContainer::KeyDown(WORD& Key, TShiftState Shift) {
  TcxControl::KeyDown(Key, Shift);
  if (Key != VK_TAB || !IsFocused() || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt) || HandlesTabKey())
    return;
  Key = 0;
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  form->SelectNext(this, !Shift.Contains(ssShift), true);
  if (FInnerControl && HandleAllocated() && ::GetFocus() == GetHandle() && FInnerControl->CanFocus())
    FInnerControl->SetFocus();
}

void TcxContainer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxControl::MouseDown(Button, Shift, X, Y);
  if (guard.Alive()) UpdateMouseState(TPoint(X, Y), ContainerMouseButton(Button), GetShiftState(), true);
}

void TcxContainer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxControl::MouseUp(Button, Shift, X, Y);
  if (guard.Alive()) UpdateMouseState(TPoint(X, Y), ContainerMouseButton(Button), GetShiftState(), true);
}

void TcxContainer::MouseMove(TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxControl::MouseMove(Shift, X, Y);
  if (!guard.Alive()) return;
  UpdateMouseState(TPoint(X, Y), 0, Shift, true);
  BeginTracking();
}

void TcxContainer::BeginTracking() {
  if (HandleAllocated()) BeginMouseTracking(this, GetHotTrackBounds(), this);
}

void TcxContainer::MouseEnter(TControl* AControl) {
  TcxControl::MouseEnter(AControl);
  UpdateMouseStateAtCursor(true);
  BeginTracking();
}

void TcxContainer::MouseLeave(TControl* AControl) {
  TcxControl::MouseLeave(AControl);
  UpdateMouseStateAtCursor(true);
  EndMouseTracking(this);
}

void TcxContainer::MouseLeave() {
  EndMouseTracking(this);
  MouseTrackingLeave();
}

void TcxContainer::MouseTrackingLeave() {
  MouseLeave(nullptr);
  EndMouseTracking(this);
}

// ---- Bounds, alignment and the inner control ----

void TcxContainer::Resize() {
  TcxControl::Resize();
  if (!FIsCreating) UpdateMouseStateAtCursor(false);
}

void TcxContainer::CreateParams(TCreateParams& Params) {
  TcxControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TcxContainer::CreateWnd() {
  TcxControl::CreateWnd();
  GetcxCanvas()->SetFont(GetFont());
  UpdateMouseStateAtCursor(false);
}

void TcxContainer::AdjustClientRect(TRect& Rect) {
  if (!FIsDestroying) Rect = GetViewInfo()->ClientRect;
}

void TcxContainer::LockAlignControls(bool ALock) {
  if (ALock)
    ++FAlignLock;
  else if (FAlignLock > 0)
    --FAlignLock;
}

void TcxContainer::AlignControls(TControl* AControl, TRect& Rect) {
  if (FAlignLock > 0 || IsInternalControl(AControl)) return;
  if (!AControl) TcxControl::AlignControls(AControl, Rect);
  auto* child = dynamic_cast<TWinControl*>(AControl);
  if (!child || !child->HandleAllocated() || FIsCreating) return;
  std::unique_ptr<TRect> clip;
  GetInnerControlClipRect(GetViewInfo()->ClientRect, child, clip);
  if (!IsInnerControlRegionChanged(child, clip.get())) return;
  SetWindowRegionFromRect(child, clip.get());
  SetInnerControlRegionRect(child, clip.get());
}

void TcxContainer::GetInnerControlClipRect(const TRect& ABounds, TControl* AControl,
                                           std::unique_ptr<TRect>& ARect) {
  ARect.reset();
  if (!AControl) return;
  const TRect bounds = AControl->GetBoundsRect();
  TRect r(0, 0, bounds.Width(), bounds.Height());
  bool cut = false;
  auto cutBack = [&cut](LONG& side, LONG limit, bool outside) {
    if (!outside) return;
    side = limit;
    cut = true;
  };
  cutBack(r.left, ABounds.left - bounds.left, bounds.left < ABounds.left);
  cutBack(r.top, ABounds.top - bounds.top, bounds.top < ABounds.top);
  cutBack(r.right, ABounds.right - bounds.left, bounds.right > ABounds.right);
  cutBack(r.bottom, ABounds.bottom - bounds.top, bounds.bottom > ABounds.bottom);
  if (cut) ARect = std::make_unique<TRect>(r);
}

bool TcxContainer::IsInnerControlRegionChanged(TControl* AControl, const TRect* ARect) {
  if (AControl != FInnerControl) return true;
  if (!FInnerRegion || !ARect) return static_cast<bool>(FInnerRegion) != (ARect != nullptr);
  return !(*FInnerRegion == *ARect);
}

void TcxContainer::SetInnerControlRegionRect(TControl* AControl, const TRect* ARect) {
  if (AControl != FInnerControl) return;
  if (ARect)
    FInnerRegion = std::make_unique<TRect>(*ARect);
  else
    FInnerRegion.reset();
}

void TcxContainer::AdjustInnerControlBounds() {
  if (!FInnerControl) return;
  const TRect r = GetViewInfo()->ClientRect;
  if (FInnerControl->GetBoundsRect() == r) return;
  FAdjusting = true;
  try {
    FInnerControl->SetBoundsRect(r);
  } catch (...) {
    FAdjusting = false;
    throw;
  }
  FAdjusting = false;
}

void TcxContainer::AdjustInnerScrollBars() {
  if (!FInnerControl || !HasScrollBars() || !GetHScrollBar() || FIsDestroying || !IsScrollBarInfoAvailable())
    return;
  FAdjustingScrollBars = true;
  for (TcxControlScrollBar* bar : {GetHScrollBar(), GetVScrollBar()})
    PlaceOverNativeScrollBar(bar, GetEnabled());
  FAdjustingScrollBars = false;
}

bool TcxContainer::PlaceOverNativeScrollBar(TcxControlScrollBar* ABar, bool AParentEnabled) {
  bool visible = false;
  bool enabled = true;
  TRect r;
  if (GetParent() && HandleAllocated() && FInnerControl->HandleAllocated() &&
      GetNativeScrollBarRect(FInnerControl->GetHandle(), ABar->GetKind(), GetHandle(), r, enabled)) {
    visible = r.left >= 0 && r.top >= 0 && r.right <= GetWidth() && r.bottom <= GetHeight();
    ABar->SetEnabled(AParentEnabled && enabled);
    ABar->SetBoundsRect(visible ? r : TRect());
  }
  ABar->SetVisible(visible);
  if (!visible) return false;
  ABar->Ctl3D = false;
  ABar->BringToFront();
  CopyNativeScrollBarRange(FInnerControl->GetHandle(), ABar->GetKind(), ABar);
  return true;
}

// ---- Messages ----

void TcxContainer::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_SETFOCUS:
    if (!GetVisible()) return;
    if (FInnerControl && FInnerControl->HandleAllocated() && !FIsDestroying) return WMSetFocus(Message);
    break;
  case WM_KEYDOWN:
  case WM_KEYUP:
  case WM_CHAR:
  case CN_KEYDOWN:
  case CN_KEYUP:
  case CN_CHAR:
    if (FInnerControl) {
      Message.Result = FInnerControl->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    break;
  case WM_KILLFOCUS:
    return WMKillFocus(Message);
  case WM_NCPAINT:
    Message.Result = 0;
    return;
  case WM_SETCURSOR:
    return WMSetCursor(Message);
  case WM_WINDOWPOSCHANGING:
    return WMWindowPosChanging(Message);
  case CM_PARENTCOLORCHANGED:
    return CMParentColorChanged(Message);
  case CM_PARENTFONTCHANGED:
    return CMParentFontChanged(Message);
  }
  TcxControlGuard guard(this);
  TcxControl::WndProc(Message);
  if (!guard.Alive()) return;
  switch (Message.Msg) {
  case WM_THEMECHANGED:
    CloseAllThemeHandles();
    UpdateMouseStateAtCursor(false);
    break;
  case CM_CTL3DCHANGED:
  case CM_SYSCOLORCHANGE:
    UpdateMouseStateAtCursor(false);
    break;
  case CM_ENABLEDCHANGED:
    EnabledChanged();
    break;
  case CXM_SCROLLBARMETRICS:
    if (!FIsCreating && !IsLoading()) UpdateMouseStateAtCursor(false);
    break;
  }
}

// The swallowed focus messages still tell the control that the focus moved,
// as the control's own procedure does after every focus message.
void TcxContainer::WMKillFocus(TMessage& Message) {
  if (FInnerControl && FInnerControl->HandleAllocated() &&
      reinterpret_cast<HWND>(Message.WParam) == FInnerControl->GetHandle()) {
    Message.Result = 0;
    FocusChanged();
    return;
  }
  TcxControl::WndProc(Message);
}

void TcxContainer::WMSetFocus(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FInnerControl->GetHandle()) {
    Message.Result = 0;
    FocusChanged();
    return;
  }
  TcxControlGuard guard(this);
  TcxControl::WndProc(Message);
  if (guard.Alive() && FInnerControl->CanFocus()) FInnerControl->SetFocus();
}

void TcxContainer::WMSetCursor(TMessage& Message) {
  if (FInnerControl && reinterpret_cast<HWND>(Message.WParam) == GetHandle() &&
      LOWORD(Message.LParam) == HTCLIENT && !GetViewInfo()->ClientRect.Contains(CursorPos())) {
    ::SetCursor(Screen->GetCursors(crArrow));
    Message.Result = 1;
    return;
  }
  TcxControl::WndProc(Message);
}

void TcxContainer::WMWindowPosChanging(TMessage& Message) {
  if (FIsDestroying) {
    Message.Result = 0;
    return;
  }
  TcxControlGuard guard(this);
  TcxControl::WndProc(Message);
  if (!guard.Alive() || !FInnerControl || !FInnerControl->HandleAllocated()) return;
  if (HandleAllocated() && ::GetFocus() == GetHandle() && FInnerControl->CanFocus())
    FInnerControl->SetFocus();
}

void TcxContainer::CMParentColorChanged(TMessage& Message) {
  TcxContainerStyle* style = GetStyle();
  const bool wasAssigned = style->GetAssignedValues().Contains(csvColor);
  TcxControl::WndProc(Message);
  if (!wasAssigned || GetParentColor())
    style->SetAssignedValues(style->GetAssignedValues() - TcxContainerStyleValues{csvColor});
  if (style->GetColor() != GetColor()) ContainerStyleChanged(style);
}

void TcxContainer::CMParentFontChanged(TMessage& Message) {
  TcxContainerStyle* style = GetStyle();
  const bool wasAssigned = style->GetAssignedValues().Contains(csvFont);
  TcxControl::WndProc(Message);
  if (!GetParentFont()) style->RefreshFontFromController();
  if (!wasAssigned) style->SetAssignedValues(style->GetAssignedValues() - TcxContainerStyleValues{csvFont});
}
