#include "cxEdit.h"

#include "cxEditPaintUtils.h"

#include <algorithm>
#include <climits>

namespace {

// Container border styles by hot state (rows) and edit border style.
const TcxContainerBorderStyle kEditContainerBorderStyles[3][6] = {
    {cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsSingle},
    {cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsSingle},
    {cbsFlat, cbsThick, cbsThick, cbs3D, cbs3D, cbsSingle}};

bool IsLeftButtonOnly(TShiftState Shift) {
  return Shift == TShiftState{ssLeft} || Shift == TShiftState{ssLeft, ssDouble};
}

TcxEditPopupBorderStyle DefaultPopupBorderStyle(bool AIsInplace, TcxLookAndFeelKind AKind,
                                                TcxContainerBorderStyle ABorderStyle) {
  if (AIsInplace) {
    switch (AKind) {
    case lfFlat:
      return epbsFlat;
    case lfStandard:
      return epbsFrame3D;
    default:
      return epbsSingle;
    }
  }
  return ABorderStyle == cbsNone || ABorderStyle == cbsFlat ? epbsFlat : epbsSingle;
}

TcxEditButtonStyle ResolveButtonStyle(TcxEditButtonStyle AStyle, int AContainerBorderStyle,
                                      TcxEditBorderStyle ABorderStyle) {
  if (AStyle != btsDefault) return AStyle;
  switch (AContainerBorderStyle) {
  case cbsNone:
    return ABorderStyle == ebsUltraFlat ? btsUltraFlat : btsSimple;
  case cbsSingle:
    return ABorderStyle == ebsUltraFlat ? btsUltraFlat : btsHotFlat;
  case cbsFlat:
    return btsFlat;
  case cbsThick:
  case cbs3D:
    return bts3D;
  default:
    return btsDefault;
  }
}

} // namespace

// ---- TcxEditButtonViewInfo ----

void TcxEditButtonViewInfo::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxEditButtonViewInfo*>(Source);
  if (!source) return TPersistent::Assign(Source);
  IsSingleDownButton = source->IsSingleDownButton;
  ThemeState = source->ThemeState;
  BackgroundColor = source->BackgroundColor;
  Bounds = source->Bounds;
  ButtonStyle = source->ButtonStyle;
  Glyph = source->Glyph;
  ButtonIndex = source->ButtonIndex;
  Kind = source->Kind;
  NativeStyle = source->NativeStyle;
  State = source->State;
  Transparent = source->Transparent;
}

bool TcxEditButtonViewInfo::LooksAs(const TcxEditButtonViewInfo* APrev) const {
  return ButtonStyle == APrev->ButtonStyle && State == APrev->State &&
         BackgroundColor == APrev->BackgroundColor && ThemeState == APrev->ThemeState;
}

std::unique_ptr<TcxRegion> TcxEditButtonViewInfo::GetUpdateRegion(const TcxEditButtonViewInfo* APrev) const {
  if (LooksAs(APrev)) return std::make_unique<TcxRegion>();
  return std::make_unique<TcxRegion>(Bounds);
}

bool TcxEditButtonViewInfo::Repaint(TWinControl* AControl, const TcxEditButtonViewInfo* APrev,
                                    const TPoint& AOffset) const {
  if (LooksAs(APrev)) return false;
  TRect r = Bounds;
  OffsetRect(&r, AOffset.x, AOffset.y);
  InvalidateWinControlRect(AControl, r, HasBackground);
  return true;
}

// ---- TcxCustomEditViewInfo ----

TcxCustomEditViewInfo::~TcxCustomEditViewInfo() = default;

void TcxCustomEditViewInfo::SetButtonCount(int ACount) {
  const int count = ButtonCount();
  if (ACount < count) ButtonsInfo.resize(ACount);
  for (int i = count; i < ACount; ++i)
    ButtonsInfo.push_back(CreateButtonViewInfo());
}

std::unique_ptr<TcxEditButtonViewInfo> TcxCustomEditViewInfo::CreateButtonViewInfo() const {
  return std::make_unique<TcxEditButtonViewInfo>();
}

void TcxCustomEditViewInfo::PaintEditButton(TcxCanvas* ACanvas, int AIndex) {
  DrawEditButton(ACanvas, this, AIndex);
}

void TcxCustomEditViewInfo::DrawButtonBorder(TcxCanvas* ACanvas, int AIndex, const TRect& ARect,
                                             TcxEditButtonStyle AStyle) {
  DrawEditButtonBorder(ACanvas, this, AIndex, ARect, AStyle);
}

void TcxCustomEditViewInfo::DrawButtonContent(TcxCanvas* ACanvas, int AIndex, TColor ABackColor,
                                              TColor AArrowColor, const TRect& ARect) {
  DrawEditButtonContent(ACanvas, this, AIndex, ABackColor, AArrowColor, ARect);
}

bool TcxCustomEditViewInfo::GetHotButton(int& AIndex) const {
  for (AIndex = 0; AIndex < ButtonCount(); ++AIndex)
    if (ButtonsInfo[AIndex]->State == ebsSelected) return true;
  AIndex = -1;
  return false;
}

void TcxCustomEditViewInfo::GetHintText(int X, int Y, String& AText) {
  String text;
  TRect rect;
  int value = 0;
  IsHintAtPoint(TPoint(X, Y), text, rect, value);
  AText = text;
}

bool TcxCustomEditViewInfo::IsHintAtPoint(const TPoint&, String&, TRect&, int& AValue) {
  AValue = 0;
  return false;
}

void TcxCustomEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  DrawEditBackgroundAndButtons(ACanvas, this, true, 0);
}

void TcxCustomEditViewInfo::Assign(const TcxContainerViewInfo* Source) {
  if (auto* source = dynamic_cast<const TcxCustomEditViewInfo*>(Source)) {
    BorderColor = source->BorderColor;
    BorderStyle = source->BorderStyle;
    NativeStyle = source->NativeStyle;
    ThemeState = source->ThemeState;
    SetButtonCount(source->ButtonCount());
    for (int i = 0; i < ButtonCount(); ++i)
      ButtonsInfo[i]->Assign(source->ButtonsInfo[i].get());
    PressedButton = source->PressedButton;
    HotButton = source->HotButton;
  }
  TcxContainerViewInfo::Assign(Source);
}

bool TcxCustomEditViewInfo::SameLayout(const TcxCustomEditViewInfo* APrev) const {
  return NativeStyle == APrev->NativeStyle && ThemeState == APrev->ThemeState &&
         ButtonCount() == APrev->ButtonCount();
}

bool TcxCustomEditViewInfo::RepaintChanged(TWinControl* AControl, const TcxCustomEditViewInfo* APrev,
                                           const TRect* AInnerRect) {
  TRect r = Bounds;
  OffsetRect(&r, PaintOffset.x, PaintOffset.y);
  TRect inner;
  if (AInnerRect) IntersectRect(&inner, AInnerRect, &ClientRect);
  const HWND wnd = AControl->HandleAllocated() ? AControl->GetHandle() : nullptr;
  if (!APrev) {
    if (wnd) InvalidateFrameArea(wnd, r, inner, HasBackground);
    return false;
  }
  bool changed = true;
  if (SameLayout(APrev)) {
    changed =
        (BorderColor != APrev->BorderColor && BorderStyle != cbsNone) || BorderStyle != APrev->BorderStyle;
    if (changed) {
      inner = BorderRect;
      OffsetRect(&inner, PaintOffset.x, PaintOffset.y);
    }
  }
  if (changed && !IsRectEmpty(&Bounds) && !(r == inner) && wnd)
    InvalidateFrameArea(wnd, r, inner, APrev->HasBackground);
  if (ButtonCount() != APrev->ButtonCount()) return changed;
  for (int i = 0; i < ButtonCount(); ++i)
    changed = ButtonsInfo[i]->Repaint(AControl, APrev->ButtonsInfo[i].get(), PaintOffset) || changed;
  return changed;
}

std::unique_ptr<TcxRegion> TcxCustomEditViewInfo::GetUpdateRegion(const TcxContainerViewInfo* APrev) {
  std::unique_ptr<TcxRegion> region = TcxContainerViewInfo::GetUpdateRegion(APrev);
  auto* prev = dynamic_cast<const TcxCustomEditViewInfo*>(APrev);
  if (!prev) return region;
  const bool sameBorder =
      (BorderColor == prev->BorderColor || BorderStyle == cbsNone) && BorderStyle == prev->BorderStyle;
  if (!sameBorder || !SameLayout(prev)) {
    TcxRegion bounds(Bounds);
    RegionUnion(region.get(), &bounds);
    return region;
  }
  for (int i = 0; i < ButtonCount(); ++i)
    RegionUnion(region.get(), ButtonsInfo[i]->GetUpdateRegion(prev->ButtonsInfo[i].get()).get());
  return region;
}

void TcxCustomEditViewInfo::Offset(int DX, int DY) {
  TcxContainerViewInfo::Offset(DX, DY);
  OffsetRect(&ContentRect, DX, DY);
  for (auto& button : ButtonsInfo) {
    OffsetRect(&button->Bounds, DX, DY);
    OffsetRect(&button->VisibleBounds, DX, DY);
  }
}

// ---- TcxCustomEditViewData ----

TcxCustomEditViewData::TcxCustomEditViewData(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle,
                                             bool AIsInplace)
    : IsInplace(AIsInplace), FProperties(AProperties), FStyle(AStyle) {}

int TcxCustomEditViewData::GetPressedButton() const {
  return Edit ? Edit->GetPressedButtonIndex() : -1;
}

bool TcxCustomEditViewData::IsFocused() const {
  return Edit ? Edit->IsFocused() : Focused;
}

bool TcxCustomEditViewData::CanPressButton(TcxCustomEditViewInfo*, int) {
  return true;
}

TcxContainerBorderStyle TcxCustomEditViewData::GetEditContainerBorderStyle(int AHotState) const {
  if (IsInplace) return cbsNone;
  return kEditContainerBorderStyles[AHotState][BorderStyle];
}

void TcxCustomEditViewData::Reset() {
  ContentOffset = TRect();
  Enabled = true;
}

void TcxCustomEditViewData::ReadProperties() {
  BorderStyle = FStyle->GetEditBorderStyle();
  VisibleButtonCount = FProperties->GetButtons()->VisibleCount();
  IsValueSourceZero = FProperties->GetEditValueSource(false) == 0;
  TcxEditAlignment* alignment = FProperties->GetAlignment();
  HorzAlignment = alignment->GetHorz();
  VertAlignment = alignment->GetVert();
  NativeStyle = IsThemedPartAvailable(FStyle->GetLookAndFeel()->GetNativeStyle(), totEdit);
}

void TcxCustomEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button,
                                      TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                      bool AIsMouseEvent) {
  Bounds = ABounds;
  AViewInfo->Bounds = ABounds;
  AViewInfo->Edges = FStyle->GetEdges();
  AViewInfo->Enabled = Enabled;
  AViewInfo->Focused = Focused;
  AViewInfo->HasBackground = Edit && Edit->HasBackground();
  AViewInfo->InnerEditVisible = InnerEdit && InnerEdit->GetControl()->GetVisible();
  AViewInfo->IsInplace = IsInplace;
  AViewInfo->Options = Options;
  AViewInfo->Shadow = HasEditShadow(this);
  AViewInfo->WindowHandle = WindowHandle;

  if (!Enabled)
    ContainerState = TcxContainerState{cstDisabled};
  else
    ContainerState = TcxContainerState{!IsDesigning && Focused ? cstFocused : cstNormal};
  TRect hotBounds;
  GetEditHotBounds(AViewInfo, ABounds, hotBounds);
  if (Enabled && !IsDesigning && hotBounds.Contains(P) && (Shift.Empty() || (Edit && Edit->MouseCapture())))
    ContainerState.Include(cstHot);
  AViewInfo->ContainerState = ContainerState;
  IsHotOrFocused = ContainerState.Contains(cstFocused) || ContainerState.Contains(cstHot);

  const int hotState = IsDesigning || !FStyle->GetHotTrack() || IsInplace ? 0 : (IsHotOrFocused ? 2 : 1);
  AViewInfo->HotState = hotState;
  AViewInfo->BorderStyle = GetEditContainerBorderStyle(hotState);

  CalculateEditBorders(this, AViewInfo);
  CalculateButtons(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  TRect extent;
  GetClientExtent(AViewInfo, extent);
  AViewInfo->ClientRect = ABounds;
  ShrinkRect(AViewInfo->ClientRect, extent);
  AViewInfo->InnerEditRect = InnerEdit ? InnerEdit->GetControl()->GetBoundsRect() : AViewInfo->ClientRect;
  AViewInfo->PopupBorderStyle = FStyle->GetPopupBorderStyle();
  if (AViewInfo->PopupBorderStyle == epbsDefault)
    AViewInfo->PopupBorderStyle =
        DefaultPopupBorderStyle(IsInplace, FStyle->GetLookAndFeel()->GetKind(),
                                static_cast<TcxContainerBorderStyle>(AViewInfo->BorderStyle));
}

void TcxCustomEditViewData::CalculateButtons(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                             int Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                             bool AIsMouseEvent) {
  const TcxEditButtonTransparency transparency = FStyle->GetButtonTransparency();
  const bool focused = ContainerState.Contains(cstFocused);
  const bool hidden = (transparency == ebtHideInactive && !focused) ||
                      (transparency == ebtHideUnselected && !focused && !ContainerState.Contains(cstHot));
  if (VisibleButtonCount == 0 || hidden) {
    AViewInfo->SetButtonCount(0);
    return;
  }
  AViewInfo->SetButtonCount(VisibleButtonCount);
  AViewInfo->IsButtonActive = false;
  const int prevPressed = AIsMouseEvent ? AViewInfo->PressedButton : -1;
  AViewInfo->PressedButton = -1;
  AViewInfo->HotButton = -1;
  const TcxEditButtonStyle style =
      ResolveButtonStyle(FStyle->GetButtonStyle(), AViewInfo->BorderStyle, BorderStyle);
  TRect area = ABounds;
  TRect margins;
  GetEditContentMargins(ACanvas, this, margins);
  ShrinkRect(area, margins);
  FirstLeftButton = LastLeftButton = FirstRightButton = LastRightButton = -1;
  TcxEditButtons* buttons = FProperties->GetButtons();
  int index = VisibleButtonCount;
  for (int i = buttons->GetCount() - 1; i >= 0; --i) {
    if (!buttons->GetItem(i)->GetVisible()) continue;
    TcxEditButtonViewInfo* button = AViewInfo->ButtonsInfo[--index].get();
    button->ButtonIndex = i;
    button->ButtonStyle = style;
    InitButtonViewInfo(ACanvas, AViewInfo, area, index);
    button->State = ButtonStateAt(AViewInfo, index, P, Button, Shift, prevPressed);
    InitButtonNativeInfo(button);
  }
  MarkGroupEnds(AViewInfo, area);
}

int TcxCustomEditViewData::ButtonStateAt(TcxCustomEditViewInfo* AViewInfo, int AIndex, const TPoint& P,
                                         int Button, TShiftState Shift, int APrevPressed) {
  TcxEditButtonViewInfo* button = AViewInfo->ButtonsInfo[AIndex].get();
  const bool pressed = IsButtonPressed(AViewInfo, AIndex);
  if (!Enabled) return ebsDisabled;
  if (!pressed && (IsDesigning || !button->VisibleBounds.Contains(P))) return ebsNormal;
  // The state so far is the one of the previous calculation.
  const bool returning =
      Button == 0 && Shift.Contains(ssLeft) && button->State == ebsNormal && GetPressedButton() == AIndex;
  const bool leftDown = Button == 1 && IsLeftButtonOnly(Shift);
  const bool stillHeld = button->State == ebsPressed && Shift.Contains(ssLeft);
  if (pressed || leftDown || stillHeld || returning) AViewInfo->IsButtonActive = true;
  if (!pressed && Shift.Empty() && !returning) {
    AViewInfo->HotButton = AIndex;
    return ebsSelected;
  }
  const bool pressedByMouse =
      (returning && CanPressButton(AViewInfo, AIndex)) ||
      (IsLeftButtonOnly(Shift) &&
       ((Button == 1 && CanPressButton(AViewInfo, AIndex)) || APrevPressed == AIndex)) ||
      stillHeld;
  if (!pressed && !pressedByMouse) return ebsNormal;
  AViewInfo->PressedButton = AIndex;
  return ebsPressed;
}

void TcxCustomEditViewData::MarkGroupEnds(TcxCustomEditViewInfo* AViewInfo, const TRect& AArea) {
  auto& info = AViewInfo->ButtonsInfo;
  if (FirstLeftButton >= 0) {
    info[FirstLeftButton]->IsLeftmost = true;
    info[LastLeftButton]->IsRightmost = true;
    TcxEditButtonViewInfo* inner = info[LastLeftButton].get();
    if (inner->ButtonStyle == btsHotFlat && inner->ThemePart == 0) {
      ++inner->Bounds.right;
      if (FirstRightButton < 0 && inner->VisibleBounds.right < AArea.right) ++inner->VisibleBounds.right;
    }
  }
  if (FirstRightButton >= 0) {
    info[FirstRightButton]->IsLeftmost = true;
    info[LastRightButton]->IsRightmost = true;
    TcxEditButtonViewInfo* inner = info[FirstRightButton].get();
    if (inner->ButtonStyle == btsHotFlat && inner->ThemePart == 0) {
      --inner->Bounds.left;
      if (FirstLeftButton < 0 && inner->VisibleBounds.left > AArea.left) --inner->VisibleBounds.left;
    }
  }
}

void TcxCustomEditViewData::InitButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                               TRect& ARect, int AIndex) {
  TcxEditButtonViewInfo* info = AViewInfo->ButtonsInfo[AIndex].get();
  TcxEditButton* button = FProperties->GetButtons()->GetItem(info->ButtonIndex);
  info->IsSingleDownButton = AViewInfo->ButtonCount() == 1 && button->GetKind() == bkDown;
  info->Default = button->GetDefault();
  info->Glyph = button->HasGlyph() ? button->GetGlyph() : nullptr;
  info->Kind = button->GetKind();
  info->LeftAlignment = button->GetLeftAlignment();
  info->Width = button->GetWidth();
  info->HasBackground = AViewInfo->HasBackground;
  info->IsInplace = IsInplace;
  info->IsLeftmost = false;
  info->IsRightmost = false;
  info->NativeStyle = AViewInfo->NativeStyle;
  const TcxEditButtonTransparency transparency = FStyle->GetButtonTransparency();
  info->Transparent = transparency == ebtAlways || (transparency == ebtInactive && !IsHotOrFocused);
  info->BackgroundColor = AViewInfo->GetBackgroundColor();
  CalculateButtonBounds(ACanvas, AViewInfo, ARect, AIndex);
}

void TcxCustomEditViewData::CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                                  TRect& ARect, int AIndex) {
  TcxEditButtonViewInfo* info = AViewInfo->ButtonsInfo[AIndex].get();
  if (IsRectEmpty(&ARect)) {
    info->Bounds = TRect();
    info->VisibleBounds = TRect();
    return;
  }
  const int w = GetEditButtonWidth(ACanvas, info);
  const int v = std::min<int>(w, ARect.Width());
  if (info->LeftAlignment) {
    info->Bounds = TRect(ARect.left, ARect.top, ARect.left + w, ARect.bottom);
    info->VisibleBounds = TRect(ARect.left, ARect.top, ARect.left + v, ARect.bottom);
    ARect.left += v;
    if (FirstLeftButton < 0) FirstLeftButton = AIndex;
    LastLeftButton = AIndex;
  } else {
    info->Bounds = TRect(ARect.right - w, ARect.top, ARect.right, ARect.bottom);
    info->VisibleBounds = TRect(ARect.right - v, ARect.top, ARect.right, ARect.bottom);
    ARect.right -= v;
    if (LastRightButton < 0) LastRightButton = AIndex;
    FirstRightButton = AIndex;
  }
}

void TcxCustomEditViewData::InitButtonNativeInfo(TcxEditButtonViewInfo* AButtonViewInfo) {
  CalculateButtonNativeInfo(AButtonViewInfo);
}

void TcxCustomEditViewData::GetBorderExtent(TRect& R) {
  GetEditBorderExtent(this, R);
}

void TcxCustomEditViewData::GetClientExtent(TcxCustomEditViewInfo* AViewInfo, TRect& R) {
  GetBorderExtent(R);
  if (HScrollBar && HScrollBar->IsVisible()) R.bottom += HScrollBar->GetHeight();
  if (VScrollBar && VScrollBar->IsVisible()) R.right += VScrollBar->GetWidth();
  for (const auto& button : AViewInfo->ButtonsInfo) {
    if (button->LeftAlignment)
      R.left = std::max<LONG>(R.left, button->Bounds.right - AViewInfo->Bounds.left);
    else
      R.right = std::max<LONG>(R.right, AViewInfo->Bounds.right - button->Bounds.left);
  }
}

void TcxCustomEditViewData::CalculateFixedPartSize(TcxCanvas* ACanvas, bool AIsInplace, SIZE& AFixedSize,
                                                   TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize) {
  AMinContentSize = SIZE{0, 0};
  AFixedSize =
      SIZE{Bounds.Width() - AViewInfo->ClientRect.Width(), Bounds.Height() - AViewInfo->ClientRect.Height()};
  if (!AIsInplace && (!Edit || !Edit->GetAutoSize())) return;
  int glyphHeight = 0;
  TcxEditButtons* buttons = FProperties->GetButtons();
  for (int i = 0; i < buttons->GetCount(); ++i) {
    TcxEditButton* button = buttons->GetItem(i);
    if (button->GetKind() == bkGlyph && button->HasGlyph() && !button->GetGlyph()->GetEmpty())
      glyphHeight = std::max(glyphHeight, button->GetGlyph()->GetHeight());
  }
  if (glyphHeight <= 0) return;
  TRect margins;
  GetEditContentMargins(ACanvas, this, margins);
  const int h = glyphHeight + margins.top + margins.bottom + GetEditButtonVertMargin(ACanvas, AViewInfo);
  AMinContentSize.cy = std::max<LONG>(0, h - AFixedSize.cy);
}

void TcxCustomEditViewData::CalculateEditSize(TcxCanvas* ACanvas, TcxEditSizeProperties&, SIZE& AFixedSize,
                                              TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize) {
  std::unique_ptr<TcxCustomEditViewInfo> own;
  if (!AViewInfo) {
    own = FProperties->CreateViewInfo();
    AViewInfo = own.get();
    Calculate(ACanvas, TRect(0, 0, INT_MAX, INT_MAX), TPoint(-1, -1), 0, TShiftState(), AViewInfo, false);
  }
  CalculateFixedPartSize(ACanvas, IsInplace, AFixedSize, AViewInfo, AMinContentSize);
}

SIZE TcxCustomEditViewData::GetEditContentSize(TcxCanvas*, const Variant&, const TcxEditSizeProperties&) {
  return SIZE{0, 0};
}

void TcxCustomEditViewData::CalculateEditorSize(TcxCanvas* ACanvas, const Variant& EditValue, SIZE& ASize,
                                                TcxEditSizeProperties ASizeProperties) {
  SIZE fixed{0, 0};
  SIZE minContent{0, 0};
  CalculateEditSize(ACanvas, ASizeProperties, fixed, nullptr, minContent);
  const int width = ASizeProperties.Width;
  bool clipped = false;
  if (width >= 0) {
    ASizeProperties.Width = width - fixed.cx;
    if (ASizeProperties.Width < 0) {
      ASizeProperties.Width = 0;
      clipped = true;
    }
  }
  SIZE content = GetEditContentSize(ACanvas, EditValue, ASizeProperties);
  EnlargeSize(content, minContent);
  ASize.cx = clipped ? width : fixed.cx + content.cx;
  ASize.cy = fixed.cy + content.cy;
}
