#include "cxRadioGroup.h"

#include "cxEditPaintUtils.h"
#include "dxUxTheme.h"

#include "cxBrushCache.h"
#include "cxContainer.h"
#include "cxEditStringIds.h"
#include "cxExtEditUtils.h"
#include "cxVariants.h"

#include "Forms.h"

#include <algorithm>

const TResStringRec cxSRadioGroupDefaultCaption = {nullptr, IDS_cxSRadioGroupDefaultCaption};
const TResStringRec scxSEditRepositoryRadioGroupItem = {nullptr, IDS_scxSEditRepositoryRadioGroupItem};

namespace {

constexpr int kRadioButtonPart = 2;
constexpr int kGroupBoxPart = 4;

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

int ScreenFontHeight(TFont* AFont) {
  TScreenCanvas screen;
  return TcxCanvas(&screen).FontHeight(AFont);
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

// ---- TcxRadioGroupItem ----

void TcxRadioGroupItem::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxRadioGroupItem*>(Source);
  if (!source) return TCollectionItem::Assign(Source);
  SetCaption(source->FCaption);
  SetValue(source->FValue);
}

void TcxRadioGroupItem::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Changed(false);
}

void TcxRadioGroupItem::SetValue(const Variant& Value) {
  if (VarEqualsSameType(Value, FValue)) return;
  FValue = Value;
  Changed(false);
}

TcxRadioGroupItems::TcxRadioGroupItems(TcxCustomRadioGroupProperties* AOwner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TcxRadioGroupItem(c); }),
      FOwner(AOwner) {}

TPersistent* TcxRadioGroupItems::GetOwner() const {
  return FOwner;
}

void TcxRadioGroupItems::Update(TCollectionItem*) {
  FOwner->Changed();
}

// ---- TcxRadioGroupStyle ----

TColor TcxRadioGroupStyle::GetDefaultColor() const {
  TcxCustomEdit* edit = GetEdit();
  if (edit && edit->GetParentColor() && !edit->GetIsInplace()) return edit->GetColor();
  return TcxCustomEditStyle::GetDefaultColor();
}

void TcxRadioGroupStyle::RestoreDefaults() {
  TcxCustomEditStyle::RestoreDefaults();
  if (TcxCustomEdit* edit = GetEdit()) edit->SetParentColor(true);
}

// ---- TcxCustomRadioGroupProperties ----

TcxCustomRadioGroupProperties::TcxCustomRadioGroupProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner), FDefaultCaption(LoadLibraryResString(&cxSRadioGroupDefaultCaption)),
      FItems(std::make_unique<TcxRadioGroupItems>(this)) {}

TcxCustomRadioGroupProperties::~TcxCustomRadioGroupProperties() = default;

void TcxCustomRadioGroupProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomRadioGroupProperties*>(Source);
  if (!source) return TcxCustomEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomEditProperties::Assign(Source);
    const TAlignment horz = const_cast<TcxCustomRadioGroupProperties*>(source)->GetAlignment()->GetHorz();
    GetAlignment()->SetHorz(horz == taRightJustify ? taRightJustify : taLeftJustify);
    SetColumns(source->FColumns);
    SetDefaultValue(source->FDefaultValue);
    SetItems(source->FItems.get());
    SetWordWrap(source->FWordWrap);
  } catch (...) {
    EndUpdate(true);
    throw;
  }
  EndUpdate(true);
}

void TcxCustomRadioGroupProperties::SetColumns(int Value) {
  Value = std::max(Value, 1);
  if (Value == FColumns) return;
  FColumns = Value;
  Changed();
}

bool TcxCustomRadioGroupProperties::IsDefaultCaptionStored() const {
  return FDefaultCaption != LoadLibraryResString(&cxSRadioGroupDefaultCaption);
}

void TcxCustomRadioGroupProperties::SetDefaultValue(const Variant& Value) {
  if (VarEqualsSameType(Value, FDefaultValue)) return;
  FDefaultValue = Value;
  Changed();
}

void TcxCustomRadioGroupProperties::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  Changed();
}

int TcxCustomRadioGroupProperties::GetRowCount() const {
  const int n = FItems->GetCount();
  if (n == 0) return 0;
  const int columns = std::max(1, std::min(FColumns, n));
  return (n + columns - 1) / columns;
}

int TcxCustomRadioGroupProperties::ItemIndexOf(const Variant& EditValue) const {
  for (int i = 0; i < FItems->GetCount(); ++i) {
    const TcxRadioGroupItem* item = FItems->GetItem(i);
    const bool matches = item->GetValue().IsNull() ? item->GetCaption() == VarToStr(EditValue)
                                                   : VariantsEqual(EditValue, item->GetValue());
    if (matches) return i;
  }
  return -1;
}

void TcxCustomRadioGroupProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                            bool) {
  DisplayValue = ItemIndexOf(EditValue);
}

void TcxCustomRadioGroupProperties::EditValueToDisplayText(const Variant& EditValue, bool, String& Text) {
  const int index = ItemIndexOf(EditValue);
  Text = index < 0 ? FDefaultCaption : FItems->GetItem(index)->GetCaption();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomRadioGroupProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomRadioGroupViewData>(this, AStyle, AIsInplace);
}

TcxClassRef TcxCustomRadioGroupProperties::GetContainerClass() const {
  return cxClassRef<TcxRadioGroup>();
}

std::unique_ptr<TcxCustomEditStyle> TcxCustomRadioGroupProperties::CreateStyle(TPersistent* AOwner,
                                                                               bool AIsInternal) const {
  return std::make_unique<TcxRadioGroupStyle>(AOwner, AIsInternal);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomRadioGroupProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomRadioGroupViewInfo>();
}

// ---- View info ----

namespace {

TcxLookAndFeelKind ButtonStyleKind(TcxEditButtonStyle AStyle) {
  return AStyle == btsFlat ? lfFlat : AStyle == btsUltraFlat ? lfUltraFlat : lfStandard;
}

} // namespace

void TcxRadioGroupButtonViewInfo::Assign(const TPersistent* Source) {
  TcxEditButtonViewInfo::Assign(Source);
  if (auto* source = dynamic_cast<const TcxRadioGroupButtonViewInfo*>(Source)) {
    Caption = source->Caption;
    Column = source->Column;
    Row = source->Row;
  }
}

std::unique_ptr<TcxEditButtonViewInfo> TcxCustomRadioGroupViewInfo::CreateButtonViewInfo() const {
  return std::make_unique<TcxRadioGroupButtonViewInfo>();
}

void TcxCustomRadioGroupViewInfo::Assign(const TcxContainerViewInfo* Source) {
  TcxCustomTextEditViewInfo::Assign(Source);
  if (auto* source = dynamic_cast<const TcxCustomRadioGroupViewInfo*>(Source)) ItemIndex = source->ItemIndex;
}

void TcxCustomRadioGroupViewInfo::PaintEditButton(TcxCanvas* ACanvas, int AIndex) {
  TcxRadioGroupButtonViewInfo* item = Item(AIndex);
  const SIZE size =
      item->NativeStyle ? ThemedRadioSize(ACanvas->GetHandle(), item->ThemeState) : cxRadioGlyphSize();
  const TRect& b = item->Bounds;
  TRect glyph;
  glyph.top = b.top + (b.bottom - b.top - size.cy) / 2;
  glyph.bottom = glyph.top + size.cy;
  if (GlyphAlignment == taRightJustify) {
    glyph.left = b.left;
    glyph.right = glyph.left + size.cx;
  } else {
    glyph.right = b.right;
    glyph.left = glyph.right - size.cx;
  }
  std::unique_ptr<TNarrowedClip> clip;
  if (glyph.top < b.top || glyph.bottom > b.bottom) clip = std::make_unique<TNarrowedClip>(ACanvas, b);
  PaintItemGlyph(ACanvas, item, glyph, AIndex);
  PaintItemCaption(ACanvas, item, glyph);
}

void TcxCustomRadioGroupViewInfo::PaintItemGlyph(TcxCanvas* ACanvas, TcxRadioGroupButtonViewInfo* AItem,
                                                 const TRect& AGlyph, int AIndex) {
  auto fillItem = [&] {
    if (!Transparent) ACanvas->FillRect(AItem->Bounds, GetBackgroundColor());
  };
  if (AItem->NativeStyle) {
    HTHEME theme = OpenThemeHandle(totButton);
    auto drawPart = [&] {
      if (theme)
        dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), kRadioButtonPart, AItem->ThemeState,
                                       &AGlyph, nullptr);
    };
    if (AItem->NativePartTransparent) {
      fillItem();
      drawPart();
    } else {
      drawPart();
      ACanvas->ExcludeClipRect(AGlyph);
      fillItem();
    }
    return;
  }
  Glyphs->Draw(ACanvas, AGlyph.left, AGlyph.top, ButtonStyleKind(AItem->ButtonStyle),
               static_cast<TcxRadioImageState>(AItem->State), AIndex == ItemIndex, false, IsDesigning,
               GetBackgroundColor(), Transparent);
  ACanvas->ExcludeClipRect(AGlyph);
  fillItem();
}

void TcxCustomRadioGroupViewInfo::PaintItemCaption(TcxCanvas* ACanvas, TcxRadioGroupButtonViewInfo* AItem,
                                                   const TRect& AGlyph) {
  ACanvas->SetFont(Font);
  ACanvas->GetFont()->SetColor(TextColor);
  AdjustTextFont(ACanvas);
  TRect r = AItem->Bounds;
  if (GlyphAlignment == taRightJustify)
    r.left = AGlyph.right;
  else
    r.right = AGlyph.left;
  ACanvas->GetBrush()->SetStyle(bsClear);
  if (AItem->NativeStyle)
    ExtendRectBy(r, 3, -1, 0, 1);
  else
    ExtendRectBy(r, 5, 0, -1, 0);
  ACanvas->DrawText(AItem->Caption, r, DrawTextFlags);
  ACanvas->GetBrush()->SetStyle(bsSolid);
  if (!Focused || IsInplace) return;
  TRect focus = r;
  ACanvas->CalculateTextRect(AItem->Caption, focus, DrawTextFlags);
  InflateRect(&focus, 1, 1);
  ++focus.bottom;
  ACanvas->SetBrushColor(GetBackgroundColor());
  ACanvas->DrawFocusRect(focus);
}

// ---- View data ----

TcxContainerBorderStyle TcxCustomRadioGroupViewData::GetEditContainerBorderStyle(int AHotState) const {
  if (IsInplace) return cbsNone;
  static const TcxContainerBorderStyle kStyles[3][6] = {
      {cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsSingle},
      {cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsSingle},
      {cbsFlat, cbsThick, cbsThick, cbsFlat, cbs3D, cbsSingle},
  };
  return kStyles[AHotState][GetStyle()->GetEditBorderStyle()];
}

int TcxCustomRadioGroupViewData::GetDrawTextFlags() const {
  if ((Options & 2) && RadioProperties()->GetWordWrap())
    return tfLeft | tfCenterY | tfNoClip | tfShowPrefix | tfWordBreak;
  return tfLeft | tfCenterY | tfSingleLine | tfShowPrefix;
}

void TcxCustomRadioGroupViewData::GetBorderExtent(TRect& R) {
  TcxCustomEditViewData::GetBorderExtent(R);
  if (IsInplace) return;
  R.top = ScreenFontHeight(GetStyle()->GetFont()) / 2 + 1;
}

void TcxCustomRadioGroupViewData::GetClientExtent(TcxCustomEditViewInfo*, TRect& R) {
  TcxCustomEditViewData::GetBorderExtent(R);
  if (IsInplace) return;
  R.top = ScreenFontHeight(GetStyle()->GetFont()) + 3;
}

void TcxCustomRadioGroupViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                            int Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                            bool AIsMouseEvent) {
  auto* info = static_cast<TcxCustomRadioGroupViewInfo*>(AViewInfo);
  info->IsDesigning = IsDesigning;
  if (auto* group = dynamic_cast<TcxCustomRadioGroup*>(Edit)) {
    info->Text = group->GetCaption();
    info->ItemIndex = group->GetItemIndex();
  }
  info->GlyphAlignment = taRightJustify;
  info->DrawTextFlags = GetDrawTextFlags();
  info->Font = GetStyle()->GetFont();
  TcxCustomEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  TColor background = clWindow, text = clWindowText;
  GetEditColors(this, info, background, text);
  info->SetBackgroundColor(background);
  info->TextColor = text;
}

TcxEditButtonStyle TcxCustomRadioGroupViewData::ItemButtonStyle(TcxCustomEditViewInfo* AViewInfo) const {
  if (GetStyle()->GetEditBorderStyle() == ebsUltraFlat) return btsUltraFlat;
  if (IsInplace) {
    static const TcxEditButtonStyle kByKind[] = {btsFlat, bts3D, btsUltraFlat};
    return kByKind[GetStyle()->GetLookAndFeel()->GetKind()];
  }
  static const TcxEditButtonStyle kByBorder[] = {bts3D, btsFlat, btsFlat, btsFlat, bts3D, btsUltraFlat};
  return kByBorder[AViewInfo->BorderStyle];
}

void TcxCustomRadioGroupViewData::CalculateButtons(TcxCanvas*, const TRect& ABounds, const TPoint& P, int,
                                                   TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                                   bool) {
  auto* info = static_cast<TcxCustomRadioGroupViewInfo*>(AViewInfo);
  TcxCustomRadioGroupProperties* properties = RadioProperties();
  const int n = properties->GetItems()->GetCount();
  info->SetButtonCount(n);
  if (n == 0) return;
  const int rows = properties->GetRowCount();
  TRect e;
  GetClientExtent(AViewInfo, e);
  const int p = IsInplace ? 1 : 0;
  const int w =
      (ABounds.Width() - e.left - e.right - 6 + 4 * p) / std::max(1, std::min(properties->GetColumns(), n));
  const int free = ABounds.Height() - e.top - e.bottom;
  const int h = free / rows;
  const int top = IsInplace ? ABounds.top + e.top : (free % rows) / 2 + ABounds.top + e.top - 2;
  const TcxEditButtonStyle style = ItemButtonStyle(AViewInfo);
  for (int i = 0; i < n; ++i) {
    TcxRadioGroupButtonViewInfo* item = info->Item(i);
    item->Column = i / rows;
    item->Row = i % rows;
    const int left = ABounds.left + w * item->Column + e.left + 6 - 5 * p;
    const int itemTop = item->Row * h + top;
    item->Bounds = TRect(left, itemTop, left + w, itemTop + h);
    item->VisibleBounds = item->Bounds;
    item->HasBackground = info->HasBackground;
    item->ButtonStyle = style;
    item->Caption = properties->GetItems()->GetItem(i)->GetCaption();
  }
  CalculateItemStates(info, P, Shift);
}

void TcxCustomRadioGroupViewData::CalculateItemStates(TcxCustomRadioGroupViewInfo* AInfo, const TPoint& P,
                                                      TShiftState Shift) {
  AInfo->IsButtonActive = false;
  AInfo->PressedButton = -1;
  AInfo->HotButton = -1;
  const TcxEditButtonTransparency transparency = GetStyle()->GetButtonTransparency();
  const bool native =
      GetStyle()->GetLookAndFeel()->GetNativeStyle() && ThemesAvailable(TdxThemedObjectTypes{1} << totButton);
  for (int i = 0; i < AInfo->ButtonCount(); ++i) {
    TcxRadioGroupButtonViewInfo* item = AInfo->Item(i);
    item->ButtonIndex = i;
    item->NativeStyle = native;
    item->Transparent = transparency == ebtAlways || (transparency == ebtInactive && !IsHotOrFocused);
    item->BackgroundColor = AInfo->GetBackgroundColor();
    const bool inside = item->Bounds.Contains(P);
    if (!Enabled)
      item->State = ebsDisabled;
    else if (inside && Shift.Contains(ssLeft))
      item->State = ebsPressed;
    else if (inside && Shift.Empty())
      item->State = ebsSelected;
    else
      item->State = ebsNormal;
    if (!native) continue;
    static const int kThemeStates[2][4] = {{4, 1, 3, 2}, {8, 5, 7, 6}};
    item->ThemePart = kRadioButtonPart;
    item->ThemeState = kThemeStates[i == AInfo->ItemIndex ? 1 : 0][item->State];
    HTHEME theme = OpenThemeHandle(totButton);
    item->NativePartTransparent =
        theme && dxUxTheme::IsThemeBackgroundPartiallyTransparent(theme, kRadioButtonPart, item->ThemeState);
  }
}

SIZE TcxCustomRadioGroupViewData::GlyphSize() const {
  if (GetStyle()->GetLookAndFeel()->GetNativeStyle() &&
      ThemesAvailable(TdxThemedObjectTypes{1} << totButton)) {
    TScreenCanvas canvas;
    return ThemedRadioSize(canvas.GetHandle(), 1);
  }
  return cxRadioGlyphSize();
}

void TcxCustomRadioGroupViewData::CalculateEditSize(TcxCanvas* ACanvas,
                                                    TcxEditSizeProperties& ASizeProperties, SIZE& AFixedSize,
                                                    TcxCustomEditViewInfo*, SIZE& AMinContentSize) {
  AMinContentSize = SIZE{0, 0};
  TcxCustomRadioGroupProperties* properties = RadioProperties();
  ACanvas->SetFont(GetStyle()->GetFont());
  const int offsetTop = GetEditTextOffsets(this).cy;
  const int line = ACanvas->TextHeight("Zg") + offsetTop;
  const int n = properties->GetItems()->GetCount();
  if (n == 0) {
    AFixedSize = SIZE{ASizeProperties.Width < 0 ? 0 : ASizeProperties.Width, line};
    return;
  }
  const int columns = std::max(1, std::min(properties->GetColumns(), n));
  const int rows = properties->GetRowCount();
  const SIZE glyph = GlyphSize();
  const bool themed =
      GetStyle()->GetLookAndFeel()->GetNativeStyle() && ThemesAvailable(TdxThemedObjectTypes{1} << totButton);
  const int p = IsInplace ? 1 : 0;
  if (ASizeProperties.Width < 0) {
    int widest = 0;
    for (int i = 0; i < n; ++i)
      widest = std::max(widest, ACanvas->TextWidth(properties->GetItems()->GetItem(i)->GetCaption()));
    AFixedSize = SIZE{columns * (glyph.cx + (themed ? 5 : 7) + widest) - 5 * p + 6, line * rows};
    return;
  }
  const int free = ASizeProperties.Width + p - ContentOffset.left - ContentOffset.right - 6;
  const int columnText = std::max<int>(1, free / columns - glyph.cx - (themed ? 1 : 3));
  Options |= 2;
  const int flags = (GetDrawTextFlags() & ~tfCenterY) | tfTop;
  int height = 0;
  for (int c = 0; c < columns; ++c) {
    int sum = 0;
    for (int i = c * rows; i < std::min(n, (c + 1) * rows); ++i) {
      const String& caption = properties->GetItems()->GetItem(i)->GetCaption();
      if (!properties->GetWordWrap() || caption.empty()) {
        sum += line;
        continue;
      }
      TRect r(0, 0, columnText, INT_MAX);
      ACanvas->CalculateTextRect(caption, r, flags);
      sum += r.Height() + offsetTop;
    }
    height = std::max(height, sum);
  }
  AFixedSize = SIZE{ASizeProperties.Width, height};
}

// ---- TcxCustomRadioGroupButton ----

TcxCustomRadioGroupButton::TcxCustomRadioGroupButton(TcxCustomRadioGroup* AGroup)
    : TcxRadioButton(AGroup), FGroup(AGroup) {
  // Only the checked item is a tab stop (checking sets it): a form showing
  // the group would otherwise focus the first item and so select it.
  SetTabStop(false);
  AGroup->ButtonAdded(this);
  SetEnabled(AGroup->GetEnabled());
  SetVisible(AGroup->GetVisible());
  OnClick = [AGroup](TObject* Sender) { AGroup->ItemButtonClicked(Sender); };
  SetParent(AGroup);
  GetLookAndFeel()->SetMaster(AGroup->GetStyle()->GetLookAndFeel());
  SetParentColor(true);
}

TcxCustomRadioGroupButton::~TcxCustomRadioGroupButton() {
  FGroup->ButtonRemoved(this);
}

bool TcxCustomRadioGroupButton::IsInplaceButton() const {
  return FGroup->GetIsInplace();
}

bool TcxCustomRadioGroupButton::CanFocus() {
  return FGroup->CanFocusNow();
}

void TcxCustomRadioGroupButton::CheckSilently(bool AChecked) {
  SetClicksDisabled(true);
  try {
    SetChecked(AChecked);
  } catch (...) {
    SetClicksDisabled(false);
    throw;
  }
  SetClicksDisabled(false);
}

void TcxCustomRadioGroupButton::Click() {
  TcxControlGuard guard(FGroup);
  TcxRadioButton::Click();
  if (guard.Alive() && !FGroup->IsLoading()) FGroup->Click();
}

void TcxCustomRadioGroupButton::KeyDown(WORD& Key, TShiftState Shift) {
  FGroup->KeyDown(Key, Shift);
  if (Key != 0) TcxRadioButton::KeyDown(Key, Shift);
}

void TcxCustomRadioGroupButton::KeyUp(WORD& Key, TShiftState Shift) {
  FGroup->KeyUp(Key, Shift);
  if (Key != 0) TcxRadioButton::KeyUp(Key, Shift);
}

void TcxCustomRadioGroupButton::KeyPress(char& Key) {
  FGroup->KeyPress(Key);
  if ((Key == 8 || Key == ' ') && !FGroup->CanModify()) Key = 0;
  if (Key != 0) TcxRadioButton::KeyPress(Key);
}

void TcxCustomRadioGroupButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxRadioButton::MouseDown(Button, Shift, X, Y);
  FGroup->InnerMouseDown(Button, Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomRadioGroupButton::MouseMove(TShiftState Shift, int X, int Y) {
  TcxRadioButton::MouseMove(Shift, X, Y);
  FGroup->InnerMouseMove(Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomRadioGroupButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxRadioButton::MouseUp(Button, Shift, X, Y);
  FGroup->InnerMouseUp(Button, Shift, X + GetLeft(), Y + GetTop());
}

// Entering the button selects its item, its own enter event unfired.
void TcxCustomRadioGroupButton::DoEnter() {
  TcxControlGuard guard(FGroup);
  FGroup->LockChangeEvents(true);
  auto unlock = [&] {
    if (guard.Alive()) FGroup->LockChangeEvents(false);
  };
  try {
    FGroup->UpdateMouseStateAtCursor(false);
    const bool focused = Focused();
    if (FGroup->IsRefreshing() || (focused && !FGroup->QueryEditing())) return unlock();
    FGroup->SetUserChange(focused);
    try {
      FGroup->SetItemIndex(FGroup->IndexOfButton(this));
    } catch (...) {
      if (guard.Alive()) FGroup->SetUserChange(false);
      throw;
    }
    if (guard.Alive()) FGroup->SetUserChange(false);
  } catch (...) {
    unlock();
    throw;
  }
  unlock();
  if (!guard.Alive() || !Focused() || !FGroup->GetActiveProperties()->ImmediatePost ||
      !FGroup->CanPostEditValue())
    return;
  if (FGroup->ValidateEdit(true) && guard.Alive()) FGroup->PostEditValue();
}

void TcxCustomRadioGroupButton::DoExit() {
  TWinControl::DoExit();
  FGroup->UpdateMouseStateAtCursor(false);
  if (TcxCustomRadioGroupData* data = FGroup->GetRadioEditData())
    data->FocusedItemIndex = FGroup->IndexOfButton(this);
}

void TcxCustomRadioGroupButton::CNCommand(TMessage& Message) {
  if (FInCommand) return;
  FInCommand = true;
  try {
    const WORD code = HIWORD(Message.WParam);
    if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && FGroup->CanModify() && FGroup->QueryEditing())
      TRadioButton::WndProc(Message);
  } catch (...) {
    Application->HandleException(this);
  }
  FInCommand = false;
}

void TcxCustomRadioGroupButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (FGroup->GetDragMode() == dmAutomatic) {
      FGroup->BeginDrag(Mouse->DragImmediate, Mouse->DragThreshold);
      return;
    }
    break;
  case WM_GETDLGCODE:
    TcxRadioButton::WndProc(Message);
    if (FGroup->GetIsInplace()) Message.Result |= DLGC_WANTARROWS;
    return;
  case CN_COMMAND:
    return CNCommand(Message);
  }
  TcxRadioButton::WndProc(Message);
}

// ---- TcxCustomRadioGroup ----

TcxCustomRadioGroup::TcxCustomRadioGroup(TComponent* AOwner) : TcxCustomEdit(AOwner) {
  ControlStyle.Include(csCaptureMouse);
  ControlStyle.Include(csClickEvents);
  ControlStyle.Include(csSetCaption);
  ControlStyle.Include(csDoubleClicks);
  SetTabStop(false);
  SetAutoSize(false);
  SetWidth(185);
  SetHeight(105);
  SetParentColor(!GetIsInplace());
  ControlStyle.Include(csParentBackground);
  FCreating = false;
}

TcxCustomRadioGroup::~TcxCustomRadioGroup() {
  SetButtonCount(0);
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomRadioGroup::CreateProperties() {
  return std::make_unique<TcxRadioGroupProperties>(this);
}

std::unique_ptr<TcxCustomEditData> TcxCustomRadioGroup::CreateEditData() {
  return std::make_unique<TcxCustomRadioGroupData>(this);
}

bool TcxCustomRadioGroup::CanAcceptRepositoryItem(TcxEditRepositoryItem* AItem) {
  return !AItem || dynamic_cast<TcxCustomRadioGroupProperties*>(AItem->GetProperties()) != nullptr;
}

TcxCustomRadioGroupData* TcxCustomRadioGroup::GetRadioEditData() const {
  return GetIsInplace() ? FRadioEditData : nullptr;
}

void TcxCustomRadioGroup::ButtonRemoved(TcxCustomRadioGroupButton* AButton) {
  FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), AButton), FButtons.end());
}

void TcxCustomRadioGroup::InnerMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  FInnerClick = true;
  try {
    TcxControl::MouseDown(Button, Shift, X, Y);
  } catch (...) {
    if (guard.Alive()) FInnerClick = false;
    throw;
  }
  if (guard.Alive()) FInnerClick = false;
}

void TcxCustomRadioGroup::InnerMouseMove(TShiftState Shift, int X, int Y) {
  TcxControl::MouseMove(Shift, X, Y);
}

void TcxCustomRadioGroup::InnerMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControl::MouseUp(Button, Shift, X, Y);
}

void TcxCustomRadioGroup::SetButtonCount(int ACount) {
  while (GetButtonCount() > ACount)
    delete FButtons.back();
  while (GetButtonCount() < ACount)
    CreateItemButton();
}

void TcxCustomRadioGroup::SetCaption(const String& Value) {
  FCaptionAssigned = true;
  if (Value == FCaption) return;
  FCaption = Value;
  ApplyPropertiesChange(GetActiveProperties());
}

void TcxCustomRadioGroup::SetName(const String& NewName) {
  TcxCustomEdit::SetName(NewName);
  if (FCaptionAssigned) return;
  SetCaption(NewName);
  FCaptionAssigned = false;
}

void TcxCustomRadioGroup::SetParentBackground(bool Value) {
  if (Value)
    ControlStyle.Include(csParentBackground);
  else
    ControlStyle.Exclude(csParentBackground);
  Invalidate();
}

void TcxCustomRadioGroup::MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool) {
  const int index = ADisplayValue.AsInteger();
  TcxCustomRadioGroupProperties* properties = GetActiveProperties();
  if (index < 0 || index >= properties->GetItems()->GetCount()) {
    EditValue = properties->GetDefaultValue();
    return;
  }
  const TcxRadioGroupItem* item = properties->GetItems()->GetItem(index);
  EditValue = item->GetValue().IsNull() ? Variant(item->GetCaption()) : item->GetValue();
}

void TcxCustomRadioGroup::SetItemIndex(int Value) {
  if (IsLoading()) {
    FItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, -1, GetButtonCount() - 1);
  if (Value == FItemIndex) {
    if (!IsUserChange()) SetModified(false);
    return;
  }
  if (FItemIndex >= 0 && FItemIndex < GetButtonCount()) FButtons[FItemIndex]->CheckSilently(false);
  Variant value;
  MakeEditValue(Value, value, IsFocused());
  TcxControlGuard guard(this);
  SetEditValue(value);
  if (!guard.Alive()) return;
  FItemIndex = Value;
  if (Value >= 0 && Value < GetButtonCount()) FButtons[Value]->CheckSilently(true);
}

void TcxCustomRadioGroup::StoreEditValue(const Variant& Value, bool AValidate) {
  const int prev = FItemIndex;
  TcxControlGuard guard(this);
  TcxCustomEdit::StoreEditValue(Value, AValidate);
  if (!guard.Alive()) return;
  const int index = GetActiveProperties()->ItemIndexOf(Value);
  FItemIndex = index;
  if (index != prev) {
    if (prev >= 0 && prev < GetButtonCount()) FButtons[prev]->CheckSilently(false);
    if (index >= 0 && index < GetButtonCount()) FButtons[index]->CheckSilently(true);
    GetViewInfo()->ItemIndex = index;
    if (index >= 0) Click();
    if (!guard.Alive()) return;
    DoChange();
    if (!guard.Alive()) return;
  }
  UpdateMouseStateAtCursor(false);
}

void TcxCustomRadioGroup::RefreshButtons() {
  TcxCustomRadioGroupProperties* properties = GetActiveProperties();
  SetButtonCount(properties->GetItems()->GetCount());
  UpdateMouseStateAtCursor(false);
  TcxCustomRadioGroupViewInfo* info = GetViewInfo();
  for (int i = 0; i < GetButtonCount(); ++i) {
    TcxCustomRadioGroupButton* button = FButtons[i];
    button->SetCaption(properties->GetItems()->GetItem(i)->GetCaption());
    if (info->ButtonCount() > 0)
      button->GetLookAndFeel()->SetKind(ButtonStyleKind(info->Item(0)->ButtonStyle));
    button->WordWrap = properties->GetWordWrap();
  }
  if (FItemIndex < 0 || FItemIndex >= GetButtonCount()) return;
  FRefreshing = true;
  try {
    FButtons[FItemIndex]->CheckSilently(true);
  } catch (...) {
    FRefreshing = false;
    throw;
  }
  FRefreshing = false;
}

void TcxCustomRadioGroup::PlaceButtons() {
  TcxCustomRadioGroupViewInfo* info = GetViewInfo();
  for (int i = 0; i < GetButtonCount() && i < info->ButtonCount(); ++i) {
    TcxCustomRadioGroupButton* button = FButtons[i];
    const TcxRadioGroupButtonViewInfo* item = info->Item(i);
    button->SetParentBackground(GetParentBackground());
    button->Column = item->Column;
    button->Row = item->Row;
    button->SetBoundsRect(item->Bounds);
    button->SetColor(info->GetBackgroundColor());
    button->SetCursor(GetCursor());
    button->SetVisible(true);
  }
}

bool TcxCustomRadioGroup::UpdateMouseState(const TPoint& P, int Button, TShiftState Shift,
                                           bool AIsMouseEvent) {
  const bool result = TcxCustomEdit::UpdateMouseState(P, Button, Shift, AIsMouseEvent);
  PlaceButtons();
  return result;
}

int TcxCustomRadioGroup::ItemAtPoint(const TPoint& P) const {
  TcxCustomRadioGroupViewInfo* info = GetViewInfo();
  for (int i = 0; i < info->ButtonCount(); ++i)
    if (info->Item(i)->Bounds.Contains(P)) return i;
  return -1;
}

bool TcxCustomRadioGroup::IsFocused() {
  if (TcxCustomEdit::IsFocused()) return true;
  return std::any_of(FButtons.begin(), FButtons.end(),
                     [](TcxCustomRadioGroupButton* b) { return b->Focused(); });
}

bool TcxCustomRadioGroup::IsInternalControl(TControl* AControl) {
  if (!AControl) return false;
  return TcxCustomEdit::IsInternalControl(AControl) ||
         std::find(FButtons.begin(), FButtons.end(), AControl) != FButtons.end();
}

void TcxCustomRadioGroup::EnabledChanged() {
  TcxCustomEdit::EnabledChanged();
  for (TcxCustomRadioGroupButton* button : FButtons)
    button->SetEnabled(GetEnabled());
}

void TcxCustomRadioGroup::CursorChanged() {
  TcxCustomEdit::CursorChanged();
  for (TcxCustomRadioGroupButton* button : FButtons)
    button->SetCursor(GetCursor());
}

void TcxCustomRadioGroup::SetDragMode(TDragMode Value) {
  TcxCustomEdit::SetDragMode(Value);
  for (TcxCustomRadioGroupButton* button : FButtons)
    button->SetDragMode(Value);
}

void TcxCustomRadioGroup::SetDragKind(TDragKind Value) {
  TcxCustomEdit::SetDragKind(Value);
  for (TcxCustomRadioGroupButton* button : FButtons)
    button->SetDragKind(Value);
}

void TcxCustomRadioGroup::ContainerStyleChanged(TObject* Sender) {
  TcxCustomEdit::ContainerStyleChanged(Sender);
  if (!FCreating) RefreshButtons();
}

void TcxCustomRadioGroup::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  if (!IsLoading()) RefreshButtons();
  TcxCustomEdit::ApplyPropertiesChange(AProperties);
}

void TcxCustomRadioGroup::Loaded() {
  TcxCustomEdit::Loaded();
  RefreshButtons();
  const int index = FItemIndex;
  FItemIndex = -1;
  SetItemIndex(index);
}

void TcxCustomRadioGroup::CreateWnd() {
  TcxCustomEdit::CreateWnd();
  RefreshButtons();
}

void TcxCustomRadioGroup::FocusItem(int AIndex) {
  if (AIndex < 0 || AIndex >= GetButtonCount() || !FButtons[AIndex]->CanFocus()) return;
  FButtons[AIndex]->SetFocus();
}

void TcxCustomRadioGroup::ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxCustomEdit::ActivateInplace(AEditData);
  FRadioEditData = dynamic_cast<TcxCustomRadioGroupData*>(AEditData.get());
  if (FRadioEditData) FocusItem(FRadioEditData->FocusedItemIndex);
}

void TcxCustomRadioGroup::ActivateInplaceByMouse(TMouseButton, TShiftState Shift, int X, int Y,
                                                 std::unique_ptr<TcxCustomEditData>& AEditData) {
  ActivateInplace(AEditData);
  TPoint p(X, Y);
  if (GetParent()) p = ScreenToClient(GetParent()->ClientToScreen(p));
  const int index = ItemAtPoint(p);
  if (index < 0 || index >= GetButtonCount()) return;
  const TRect& b = GetViewInfo()->Item(index)->Bounds;
  SendMessageA(FButtons[index]->GetHandle(), Shift.Contains(ssLeft) ? WM_LBUTTONDOWN : WM_LBUTTONUP,
               ShiftStateToMouseKeys(Shift), MAKELPARAM(b.Width() / 2, b.Height() / 2));
}

// Arrows move between the item buttons; Up and Down wrap within the column
// once the key is handled.
void TcxCustomRadioGroup::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  int f = -1;
  for (int i = 0; i < GetButtonCount(); ++i)
    if (FButtons[i]->Focused()) f = i;
  if (f < 0) return;
  const int rows = GetActiveProperties()->GetRowCount();
  const int n = GetButtonCount();
  const int c = FButtons[f]->Column, r = FButtons[f]->Row;
  const int first = f - r;
  const int k = n - first < rows ? n - first : rows;
  auto wrapTo = [&](int AIndex) {
    if (FRadioEditData && GetIsInplace()) FRadioEditData->FocusedItemIndex = AIndex;
    PostMessageA(GetHandle(), CXM_RADIOGROUPFOCUSITEM, AIndex, 0);
  };
  auto moveTo = [&](int AIndex) {
    FButtons[AIndex]->SetFocus();
    Key = 0;
  };
  switch (Key) {
  case VK_LEFT:
    if (c > 0) moveTo(f - rows);
    break;
  case VK_RIGHT:
    if (c < GetActiveProperties()->GetColumns() - 1 && f + rows < n) moveTo(f + rows);
    break;
  case VK_UP:
    if (r >= 1)
      moveTo(f - 1);
    else
      wrapTo(first + k - 1);
    break;
  case VK_DOWN:
    if (r < k - 1)
      moveTo(f + 1);
    else
      wrapTo(first);
    break;
  }
  TcxCustomEdit::HandleEditKeyDown(Key, Shift);
}

// ---- Painting ----

void TcxCustomRadioGroup::Paint() {
  TcxCustomRadioGroupViewInfo* info = GetViewInfo();
  if (GetIsInplace()) {
    FillRect(GetcxCanvas()->GetHandle(), &info->Bounds,
             CachedSolidBrush(GetcxCanvas(), info->GetBackgroundColor()));
    return;
  }
  if (GetParentBackground() != FButtonsParentBackground) {
    FButtonsParentBackground = GetParentBackground();
    for (TcxCustomRadioGroupButton* button : FButtons)
      button->SetParentBackground(FButtonsParentBackground);
  }
  if (IsThemedPartAvailable(GetStyle()->GetLookAndFeel()->GetNativeStyle(), totButton))
    PaintThemedFrame();
  else
    PaintClassicFrame();
}

void TcxCustomRadioGroup::PaintThemedFrame() {
  TcxCanvas* canvas = GetcxCanvas();
  canvas->SetFont(GetStyle()->GetFont());
  TRect caption;
  if (!FCaption.empty()) {
    SIZE extent{0, 0};
    canvas->TextExtent(FCaption, extent);
    const int left = GetBiDiMode() != bdLeftToRight ? GetWidth() - extent.cx - 8 : 8;
    caption = TRect(left, 0, left + extent.cx, extent.cy);
  }
  TRect frame = GetClientRect();
  frame.top = canvas->TextHeight("Qq") / 2;
  const int state = GetEnabled() ? 1 : 2;
  HTHEME theme = OpenThemeHandle(totButton);
  const TRect all(0, 0, GetWidth(), GetHeight());
  if (GetParentBackground() && theme &&
      dxUxTheme::IsThemeBackgroundPartiallyTransparent(theme, kGroupBoxPart, state))
    dxUxTheme::DrawThemeParentBackground(GetHandle(), canvas->GetHandle(), &all);
  else
    FillRect(canvas->GetHandle(), &all, CachedSolidBrush(canvas, GetStyle()->GetColor()));
  if (!theme) return;
  {
    TcxRegion* saved = canvas->GetClipRegion();
    canvas->ExcludeClipRect(caption);
    dxUxTheme::DrawThemeBackground(theme, canvas->GetHandle(), kGroupBoxPart, state, &frame, nullptr);
    canvas->SetClipRegion(saved, rcSet);
  }
  if (FCaption.empty()) return;
  const std::wstring text(FCaption.begin(), FCaption.end());
  dxUxTheme::DrawThemeText(theme, canvas->GetHandle(), kGroupBoxPart, state, text.c_str(),
                           static_cast<int>(text.size()), 0, 0, &caption);
  canvas->GetBrush()->SetStyle(bsSolid);
}

void TcxCustomRadioGroup::PaintClassicFrame() {
  TcxCanvas* canvas = GetcxCanvas();
  TcxCustomRadioGroupViewInfo* info = GetViewInfo();
  const TColor background = info->GetBackgroundColor();
  const TColor border = info->BorderColor == clDefault ? clWindowFrame : info->BorderColor;
  const TcxBorders edges = GetStyle()->GetEdges();
  canvas->SetFont(GetStyle()->GetFont());
  const int h = canvas->TextHeight("Qq");
  const int bw = GetEditBorderWidth(static_cast<TcxContainerBorderStyle>(info->BorderStyle));
  TRect r = info->BorderRect;
  InflateRect(&r, bw, bw);
  if (info->Shadow) {
    canvas->FillRect(TRect(r.right, 0, r.right + 3, r.top + 3),
                     GetParent() ? GetParent()->GetColor() : clBtnFace);
    DrawContainerShadow(canvas, r);
  }
  r.top = h / 2 - bw + 1;
  canvas->FillRect(TRect(r.left, 0, r.right, r.top), background);
  const bool top = edges.Contains(bTop);
  switch (info->BorderStyle) {
  case cbsSingle:
    canvas->FrameRect(r, border, 1, edges);
    if (!top) canvas->FillRect(TRect(r.left, r.top, r.right, r.top + 1), background);
    InflateRect(&r, -1, -1);
    break;
  case cbsThick:
    canvas->FrameRect(r, border, 2, edges);
    if (!top) canvas->FillRect(TRect(r.left, r.top, r.right, r.top + 2), background);
    InflateRect(&r, -2, -2);
    break;
  case cbsFlat:
    canvas->FrameRect(r, clBtnShadow, 1, edges);
    InflateRect(&r, -1, -1);
    canvas->FrameRect(r, clBtnHighlight, 1, edges);
    InflateRect(&r, -1, -1);
    if (!top) canvas->FillRect(TRect(r.left - 2, r.top - 2, r.right + 2, r.top), background);
    break;
  case cbs3D:
    if (!Ctl3D) {
      canvas->FrameRect(r, clWindowFrame, 1, edges);
      if (!top) canvas->FillRect(TRect(r.left, r.top, r.right, r.top + 2), background);
      InflateRect(&r, -1, -1);
      break;
    }
    ++r.left;
    ++r.top;
    canvas->FrameRect(r, clBtnHighlight, 1, edges);
    OffsetRect(&r, -1, -1);
    canvas->FrameRect(r, clBtnShadow, 1, edges);
    canvas->FillRect(TRect(r.left, r.bottom, r.left + 1, r.bottom + 1), clBtnHighlight);
    canvas->FillRect(TRect(r.right, r.top, r.right + 1, r.top + 1), clBtnHighlight);
    ++r.left;
    ++r.top;
    if (!top) canvas->FillRect(TRect(r.left - 1, r.top - 1, r.right + 1, r.top + 1), background);
    InflateRect(&r, -1, -1);
    break;
  default:
    break;
  }
  canvas->FillRect(r, background);
  if (FCaption.empty()) return;
  const int width = canvas->TextWidth(FCaption);
  const int left = GetBiDiMode() != bdLeftToRight ? r.right - width - 8 : 8;
  RECT text{left, 0, left + width, h};
  canvas->GetFont()->SetColor(info->TextColor);
  const UINT flags = DT_SINGLELINE | (GetBiDiMode() != bdLeftToRight ? DT_RTLREADING : 0);
  DrawTextA(canvas->GetHandle(), FCaption.data(), static_cast<int>(FCaption.size()), &text,
            flags | DT_CALCRECT);
  canvas->SetBrushColor(background);
  canvas->GetCanvas()->TextRect(text, text.left, text.top, FCaption);
}

void TcxCustomRadioGroup::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
  if (GetIsInplace() || !GetParentBackground()) return;
  HTHEME theme = IsThemedPartAvailable(GetStyle()->GetLookAndFeel()->GetNativeStyle(), totButton)
                     ? OpenThemeHandle(totButton)
                     : nullptr;
  if (!theme) return;
  const int state = GetEnabled() ? 1 : 2;
  const TRect r(0, 0, GetWidth(), GetHeight());
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (dxUxTheme::IsThemeBackgroundPartiallyTransparent(theme, kGroupBoxPart, state))
    dxUxTheme::DrawThemeParentBackground(GetHandle(), dc, &r);
  for (TcxCustomRadioGroupButton* button : FButtons)
    if (button->GetPaintDC() == dc)
      dxUxTheme::DrawThemeBackground(theme, dc, kGroupBoxPart, state, &r, nullptr);
}

void TcxCustomRadioGroup::CMDialogChar(TMessage& Message) {
  if (!IsAccel(static_cast<WORD>(Message.WParam), FCaption) || !CanFocusNow())
    return TcxCustomEdit::WndProc(Message);
  for (TcxCustomRadioGroupButton* button : FButtons)
    if (button->CanFocus()) {
      button->SetFocus();
      break;
    }
  Message.Result = 1;
}

void TcxCustomRadioGroup::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CXM_RADIOGROUPFOCUSITEM:
    FocusItem(static_cast<int>(Message.WParam));
    return;
  case WM_ERASEBKGND:
    return WMEraseBkgnd(Message);
  case CM_DIALOGCHAR:
    return CMDialogChar(Message);
  case CM_CTL3DCHANGED:
    TcxCustomEdit::WndProc(Message);
    UpdateMouseStateAtCursor(false);
    return;
  }
  TcxCustomEdit::WndProc(Message);
}

// ---- Module ----

void cxRadioGroupInitialize() {
  if (StartCount++ > 0) return;
  Geometry = std::make_unique<TRadioGeometry>();
  Geometry->System = cxMeasureSystemRadioButton();
  Geometry->Map = cxBuildRadioPixelMap(Geometry->System, true);
  Glyphs = std::make_unique<cxRadioGroupGlyphs::TcxRadioButtonImageList>();
  ColorChangeReceiver = AllocateHWnd(ReceiverWndProc);
  EditPropertiesRegistry()->Register(cxClassRef<TcxRadioGroupProperties>(),
                                     LoadLibraryResString(&scxSEditRepositoryRadioGroupItem));
}

void cxRadioGroupFinalize() {
  if (StartCount == 0 || --StartCount > 0) return;
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxRadioGroupProperties));
  if (ColorChangeReceiver) DeallocateHWnd(ColorChangeReceiver);
  ColorChangeReceiver = nullptr;
  Glyphs.reset();
  Geometry.reset();
}
