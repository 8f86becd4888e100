#include "cxRadioGroup.h"

#include "cxEditPaintUtils.h"
#include "dxUxTheme.h"

#include "Forms.h"

namespace {

constexpr int kRadioButtonPart = 2;

// The radio geometry and the pixel map the glyphs are coloured by, from the
// module's start to its end.
struct TRadioGeometry {
  TcxSystemRadioGeometry System;
  TcxRadioPixelMap Map;
};

std::unique_ptr<TRadioGeometry> Geometry;
std::unique_ptr<cxRadioGroupGlyphs::TcxRadioButtonImageList> Glyphs;
HWND ColorChangeReceiver = nullptr;
int StartCount = 0;

void ReceiverWndProc(TMessage& Message) {
  Message.Result = DefWindowProcA(ColorChangeReceiver, Message.Msg, Message.WParam, Message.LParam);
  // A hidden top-level window gets the system's broadcast; the class
  // library's own colour-change message reaches forms only.
  if (Message.Msg != WM_SYSCOLORCHANGE && Message.Msg != CM_SYSCOLORCHANGE) return;
  try {
    if (Glyphs) Glyphs->Reset();
  } catch (...) {
    Application->HandleException(nullptr);
  }
}

TColor InteriorColor(TcxLookAndFeelKind AKind, TcxRadioImageState AState) {
  if (AState == risDisabled) return clBtnFace;
  if (AKind == lfUltraFlat) {
    if (AState == risPressed) return BlendHighlightColorDark();
    if (AState == risHot) return BlendHighlightColorLight();
    return clWindow;
  }
  return AState == risPressed ? clBtnFace : clWindow;
}

struct TGlyphLook {
  TcxLookAndFeelKind Kind;
  TcxRadioImageState State;
  bool Checked;
  bool Focused;
  bool Designing;
};

TColor RingColor(const TGlyphLook& ALook, uint8_t AClass, TColor AInterior) {
  switch (ALook.Kind) {
  case lfFlat:
    return AClass == rpOuterTopLeft ? clBtnShadow : AClass == rpOuterBottomRight ? clBtnHighlight : cl3DLight;
  case lfStandard:
    if (AClass == rpOuterTopLeft) return clBtnShadow;
    if (AClass == rpOuterBottomRight) return clBtnHighlight;
    return AClass == rpInnerTopLeft ? cl3DDkShadow : cl3DLight;
  case lfUltraFlat:
    break;
  }
  if (AClass == rpInnerTopLeft || AClass == rpInnerBottomRight) return AInterior;
  const bool highlighted =
      ALook.Focused || ALook.State == risHot || (ALook.Designing && ALook.State != risDisabled);
  return highlighted ? clHighlight : clBtnShadow;
}

TColor RadioGlyphPalette(const TGlyphLook& ALook, uint8_t AClass) {
  const TColor interior = InteriorColor(ALook.Kind, ALook.State);
  switch (AClass) {
  case rpOutside:
    return clBlack;
  case rpInterior:
    return interior;
  case rpDot:
    if (!ALook.Checked) return interior;
    return ALook.State == risDisabled ? clBtnShadow : clBtnText;
  default:
    return RingColor(ALook, AClass, interior);
  }
}

std::unique_ptr<TBitmap> CircleBitmap(const SIZE& ASize) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(ASize.cx, ASize.cy);
  return bitmap;
}

// The button class's radio-button part state.
int RadioThemeState(bool AChecked, int AState) {
  static const int kStates[2][4] = {{4, 2, 1, 3}, {8, 6, 5, 7}};
  return kStates[AChecked ? 1 : 0][AState];
}

SIZE ThemedRadioSize(HDC DC, int AThemeState) {
  SIZE size{13, 13};
  if (HTHEME theme = OpenThemeHandle(totButton))
    dxUxTheme::GetThemePartSize(theme, DC, kRadioButtonPart, AThemeState, nullptr, 1, &size);
  return size;
}

} // namespace

SIZE cxRadioGlyphSize() {
  return SIZE{Geometry->Map.ColCount, Geometry->Map.RowCount};
}

TcxRadioImageState RadioStateToImageState(int AState) {
  static const TcxRadioImageState kImageStates[4] = {risDisabled, risHot, risNormal, risPressed};
  return kImageStates[AState];
}

// ---- TcxRadioButtonImageList ----

namespace cxRadioGroupGlyphs {

TcxRadioButtonImageList::TcxRadioButtonImageList() {
  const SIZE size = cxRadioGlyphSize();
  FMask = CircleBitmap(size);
  TCanvas* canvas = FMask->GetCanvas();
  canvas->GetBrush()->SetColor(clWhite);
  canvas->FillRect(TRect(0, 0, size.cx, size.cy));
  canvas->GetBrush()->SetColor(clBlack);
  canvas->GetPen()->SetColor(clBlack);
  canvas->RoundRect(0, 0, size.cx, size.cy, size.cx - 1, size.cy - 1);
  for (auto& image : FImages)
    image = CircleBitmap(size);
}

TcxRadioButtonImageList::~TcxRadioButtonImageList() = default;

int TcxRadioButtonImageList::ImageIndex(TcxLookAndFeelKind AKind, TcxRadioImageState AImageState,
                                        bool AChecked, bool AFocused) {
  return (AFocused ? 24 : 0) + AKind * 8 + (AChecked ? 4 : 0) + AImageState;
}

void TcxRadioButtonImageList::BuildImage(int AIndex, TcxLookAndFeelKind AKind, TcxRadioImageState AImageState,
                                         bool AChecked, bool AFocused, bool ADesigning) {
  const TcxRadioPixelMap& map = Geometry->Map;
  TCanvas* canvas = FImages[AIndex]->GetCanvas();
  const TGlyphLook look{AKind, AImageState, AChecked, AFocused, ADesigning};
  for (int row = 0; row < map.RowCount; ++row)
    for (int col = 0; col < map.ColCount; ++col)
      canvas->SetPixel(col, row, RadioGlyphPalette(look, map.At(row, col)));
  FBuilt[AIndex] = true;
}

void TcxRadioButtonImageList::DrawMasked(HDC DC, int X, int Y, int AIndex) {
  const SIZE size = cxRadioGlyphSize();
  BitBlt(DC, X, Y, size.cx, size.cy, FMask->GetCanvas()->GetHandle(), 0, 0, SRCAND);
  BitBlt(DC, X, Y, size.cx, size.cy, FImages[AIndex]->GetCanvas()->GetHandle(), 0, 0, SRCPAINT);
}

void TcxRadioButtonImageList::Draw(TcxCanvas* ACanvas, int X, int Y, TcxLookAndFeelKind AKind,
                                   TcxRadioImageState AImageState, bool AChecked, bool AFocused,
                                   bool ADesigning, TColor ABackgroundColor, bool ATransparent) {
  const int index = ImageIndex(AKind, AImageState, AChecked, AFocused);
  if (!FBuilt[index]) BuildImage(index, AKind, AImageState, AChecked, AFocused, ADesigning);
  if (!ATransparent) {
    const SIZE size = cxRadioGlyphSize();
    ACanvas->FillRect(TRect(X, Y, X + size.cx, Y + size.cy), ABackgroundColor);
  }
  DrawMasked(ACanvas->GetHandle(), X, Y, index);
}

void TcxRadioButtonImageList::Reset() {
  std::fill(std::begin(FBuilt), std::end(FBuilt), false);
}

TcxRadioButtonImageList* RadioButtonImageList() {
  return Glyphs.get();
}

} // namespace cxRadioGroupGlyphs

// ---- TcxRadioButton ----

TcxRadioButton::TcxRadioButton(TComponent* AOwner) : TRadioButton(AOwner) {
  ControlStyle.Include(csDoubleClicks);
  FControlCanvas = std::make_unique<TControlCanvas>(this);
  FCanvas = std::make_unique<TcxCanvas>(FControlCanvas.get());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { LookAndFeelChanged(); };
  ControlStyle.Include(csParentBackground);
}

TcxRadioButton::~TcxRadioButton() {
  EndMouseTracking(this);
  FLookAndFeel.reset();
  FCanvas.reset();
  FControlCanvas.reset();
}

void TcxRadioButton::SetParentBackground(bool Value) {
  if (Value == GetParentBackground()) return;
  if (Value)
    ControlStyle.Include(csParentBackground);
  else
    ControlStyle.Exclude(csParentBackground);
  Invalidate();
}

void TcxRadioButton::CreateParams(TCreateParams& Params) {
  TRadioButton::CreateParams(Params);
  Params.Style = (Params.Style & ~static_cast<DWORD>(BS_RADIOBUTTON)) | BS_OWNERDRAW;
}

void TcxRadioButton::Invalidate() {
  if (HandleAllocated()) InvalidateRect(GetHandle(), nullptr, FALSE);
}

bool TcxRadioButton::IsThemed() const {
  return IsThemedPartAvailable(FLookAndFeel->GetNativeStyle(), totButton);
}

TRect TcxRadioButton::CalcGlyphRect(const SIZE& ASize) const {
  TRect r;
  r.top = (GetHeight() - ASize.cy) / 2;
  r.bottom = r.top + ASize.cy;
  if (Alignment == taLeftJustify) {
    r.right = GetWidth();
    r.left = r.right - ASize.cx;
  } else {
    r.left = IsThemed() || IsInplaceButton() ? 0 : 1;
    r.right = r.left + ASize.cx;
  }
  return r;
}

void TcxRadioButton::AdjustTextRect(TRect& R, bool AThemed) {
  struct TMargins {
    int left, top, right, bottom;
  };
  TMargins m;
  const bool left = Alignment == taLeftJustify;
  if (IsInplaceButton())
    m = AThemed ? TMargins{3, 0, 0, 0} : TMargins{5, 0, 1, 0};
  else if (AThemed)
    m = left ? TMargins{0, -1, WordWrap ? 3 : 1, 0} : TMargins{3, -1, 0, 0};
  else if (left)
    m = TMargins{2, -1, WordWrap ? 6 : 1, 0};
  else
    m = TMargins{5, -1, WordWrap ? 2 : 0, 0};
  R.left += m.left;
  R.top += m.top;
  R.right -= m.right;
  R.bottom -= m.bottom;
}

// ---- Painting ----

void TcxRadioButton::Paint() {
  const bool themed = IsThemed();
  if (themed)
    PaintThemed();
  else
    PaintClassic();
  DrawCaption(themed);
}

void TcxRadioButton::PaintThemed() {
  const int state = RadioThemeState(GetChecked(), FState);
  FGlyphRect = CalcGlyphRect(ThemedRadioSize(FCanvas->GetHandle(), state));
  const TRect client(0, 0, GetWidth(), GetHeight());
  if (IsInplaceButton() || !GetParentBackground())
    FCanvas->FillRect(client, GetColor());
  else
    dxUxTheme::DrawThemeParentBackground(GetHandle(), FCanvas->GetHandle(), &client);
  if (HTHEME theme = OpenThemeHandle(totButton))
    dxUxTheme::DrawThemeBackground(theme, FCanvas->GetHandle(), kRadioButtonPart, state, &FGlyphRect,
                                   nullptr);
}

void TcxRadioButton::PaintClassic() {
  FGlyphRect = CalcGlyphRect(cxRadioGlyphSize());
  cxRadioGroupGlyphs::RadioButtonImageList()->Draw(FCanvas.get(), FGlyphRect.left, FGlyphRect.top,
                                                   FLookAndFeel->GetKind(), RadioStateToImageState(FState),
                                                   GetChecked(), Focused(), false, GetColor(), false);
  FCanvas->ExcludeClipRect(FGlyphRect);
  FCanvas->FillRect(TRect(0, 0, GetWidth(), GetHeight()), GetColor());
}

void TcxRadioButton::DrawCaption(bool AThemed) {
  FCanvas->SetFont(GetFont());
  if (!GetEnabled()) FCanvas->GetFont()->SetColor(clBtnShadow);
  TRect r(0, 0, GetWidth(), GetHeight());
  if (Alignment == taLeftJustify)
    r.right = FGlyphRect.left;
  else
    r.left = FGlyphRect.right;
  FCanvas->GetBrush()->SetStyle(bsClear);
  AdjustTextRect(r, AThemed);
  const int flags = WordWrap ? tfLeft | tfCenterY | tfNoClip | tfShowPrefix | tfWordBreak
                             : tfLeft | tfCenterY | tfSingleLine | tfShowPrefix;
  const String caption = GetCaption();
  FCanvas->DrawText(caption, r, flags);
  FCanvas->GetBrush()->SetStyle(bsSolid);
  if (!Focused() || caption.empty()) return;
  TRect focus = r;
  FCanvas->CalculateTextRect(caption, focus, flags);
  InflateRect(&focus, 1, 1);
  ++focus.bottom;
  if (IsInplaceButton()) {
    focus.top = std::max<LONG>(focus.top, 1);
    focus.bottom = std::min<LONG>(focus.bottom, GetHeight() - 1);
    focus.right = std::min<LONG>(focus.right, GetWidth());
  } else {
    const TRect client(0, 0, GetWidth(), GetHeight());
    IntersectRect(&focus, &focus, &client);
    if (Alignment == taLeftJustify) focus.right = std::min(focus.right, FGlyphRect.left);
  }
  FCanvas->SetBrushColor(GetColor());
  FCanvas->DrawFocusRect(focus);
}

void TcxRadioButton::DrawItem(const DRAWITEMSTRUCT& AItem) {
  FControlCanvas->PaintOn(AItem.hDC, [this] { Paint(); });
}

// ---- State ----

void TcxRadioButton::UpdateState(TShiftState Shift, const TPoint& P) {
  const bool inside = TRect(0, 0, GetWidth(), GetHeight()).Contains(P);
  if (!GetEnabled())
    SetState(rbsDisabled);
  else if (HandleAllocated() && GetCapture() == GetHandle())
    SetState(inside ? rbsPressed : rbsHot);
  else
    SetState(inside && Shift.Empty() ? rbsHot : rbsNormal);
}

void TcxRadioButton::SetState(int Value) {
  if (Value == FState) return;
  FState = Value;
  if (!HandleAllocated()) return;
  TRect r = FGlyphRect;
  InflateRect(&r, 1, 1);
  InvalidateRect(GetHandle(), &r, FALSE);
}

void TcxRadioButton::UpdateStateAtCursor() {
  if (!HandleAllocated()) return;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(GetHandle(), &p);
  UpdateState(KeyboardStateToShiftState(), TPoint(p.x, p.y));
}

void TcxRadioButton::MouseLeave() {
  UpdateState(TShiftState(), TPoint(-1, -1));
  EndMouseTracking(this);
}

void TcxRadioButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TRadioButton::MouseDown(Button, Shift, X, Y);
  UpdateState(Shift, TPoint(X, Y));
}

void TcxRadioButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TRadioButton::MouseUp(Button, Shift, X, Y);
  UpdateState(Shift, TPoint(X, Y));
}

void TcxRadioButton::MouseMove(TShiftState Shift, int X, int Y) {
  TRadioButton::MouseMove(Shift, X, Y);
  UpdateState(Shift, TPoint(X, Y));
  BeginMouseTracking(this, TRect(0, 0, GetWidth(), GetHeight()), this);
}

// Entering an unchecked button checks it and clicks it once.
void TcxRadioButton::DoEnter() {
  TRadioButton::DoEnter();
  if (GetChecked()) return;
  SetClicksDisabled(true);
  try {
    SetChecked(true);
  } catch (...) {
    SetClicksDisabled(false);
    throw;
  }
  SetClicksDisabled(false);
  if (!IsLoading()) Click();
}

void TcxRadioButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ERASEBKGND:
    Message.Result = 1;
    return;
  case WM_SETFOCUS:
    // An owner-drawn button is no system radio button: entering it checks
    // it through DoEnter only.
    TButtonControl::WndProc(Message);
    return;
  case BM_SETCHECK:
    TRadioButton::WndProc(Message);
    if (HandleAllocated()) InvalidateRect(GetHandle(), &FGlyphRect, FALSE);
    return;
  case CN_DRAWITEM:
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam));
    Message.Result = 1;
    return;
  case CN_MEASUREITEM: {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    item->itemWidth = GetWidth();
    item->itemHeight = GetHeight();
    Message.Result = 1;
    return;
  }
  case CM_ENABLEDCHANGED:
    TRadioButton::WndProc(Message);
    UpdateStateAtCursor();
    Invalidate();
    return;
  case CM_MOUSEENTER:
    TRadioButton::WndProc(Message);
    UpdateStateAtCursor();
    BeginMouseTracking(this, TRect(0, 0, GetWidth(), GetHeight()), this);
    return;
  case CM_MOUSELEAVE:
    TRadioButton::WndProc(Message);
    MouseLeave();
    return;
  case CM_SYSCOLORCHANGE:
    TRadioButton::WndProc(Message);
    if (Glyphs) Glyphs->Reset();
    Invalidate();
    return;
  }
  TRadioButton::WndProc(Message);
}

// ---- Module ----

void cxRadioGroupInitialize() {
  if (StartCount++ > 0) return;
  Geometry = std::make_unique<TRadioGeometry>();
  Geometry->System = cxMeasureSystemRadioButton();
  Geometry->Map = cxBuildRadioPixelMap(Geometry->System, true);
  Glyphs = std::make_unique<cxRadioGroupGlyphs::TcxRadioButtonImageList>();
  ColorChangeReceiver = AllocateHWnd(ReceiverWndProc);
}

void cxRadioGroupFinalize() {
  if (StartCount == 0 || --StartCount > 0) return;
  if (ColorChangeReceiver) DeallocateHWnd(ColorChangeReceiver);
  ColorChangeReceiver = nullptr;
  Glyphs.reset();
  Geometry.reset();
}
