#include "cxLabel.h"

#include "cxBrushCache.h"
#include "cxCheckBox.h"
#include "cxEditPaintUtils.h"
#include "cxExtEditUtils.h"

#include "Forms.h"

#include <climits>
#include <cmath>
#include <numbers>

namespace {

// The depth copies go by (DX, DY) from the face.
TPoint DepthDirection(TcxLabelOrientation AOrientation, int D) {
  static const TPoint kDirections[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
  const TPoint& d = kDirections[AOrientation];
  return TPoint(d.x * D, d.y * D);
}

int RoundHalfEven(double AValue) {
  return static_cast<int>(std::nearbyint(AValue));
}

int Sign(int AValue) {
  return (AValue > 0) - (AValue < 0);
}

// Blends one channel of the shadow towards the background: the product is
// an integer, the division is not.
int BlendChannel(int c1, int c2, int k, int n) {
  return static_cast<int>(c1 + static_cast<double>((c2 - c1) * (k - 1)) / n);
}

TColor FunColor(TColor AShadow, TColor ABackground, int k, int n) {
  const COLORREF c1 = ColorToRGB(AShadow), c2 = ColorToRGB(ABackground);
  return static_cast<TColor>(RGB(BlendChannel(GetRValue(c1), GetRValue(c2), k, n),
                                 BlendChannel(GetGValue(c1), GetGValue(c2), k, n),
                                 BlendChannel(GetBValue(c1), GetBValue(c2), k, n)));
}

// A font selected into a device context for the scope, turned by an
// escapement in tenths of a degree.
class TSelectedFont {
public:
  TSelectedFont(HDC DC, TFont* AFont, int AEscapement) : FDC(DC) {
    LOGFONTA lf{};
    ::GetObjectA(AFont->GetHandle(), sizeof(lf), &lf);
    lf.lfEscapement = lf.lfOrientation = AEscapement;
    FFont = CreateFontIndirectA(&lf);
    FOld = SelectObject(DC, FFont);
  }
  ~TSelectedFont() {
    SelectObject(FDC, FOld);
    DeleteObject(FFont);
  }
  TSelectedFont(const TSelectedFont&) = delete;
  TSelectedFont& operator=(const TSelectedFont&) = delete;

private:
  HDC FDC;
  HFONT FFont;
  HGDIOBJ FOld;
};

// A memory device context compatible with the screen, for measuring.
class TMeasureDC {
public:
  TMeasureDC() : FDC(CreateCompatibleDC(nullptr)) {}
  ~TMeasureDC() { DeleteDC(FDC); }
  TMeasureDC(const TMeasureDC&) = delete;
  TMeasureDC& operator=(const TMeasureDC&) = delete;
  HDC DC() const { return FDC; }

private:
  HDC FDC;
};

// One paint of the label's text into its off-screen bitmap.
class TLabelPainter {
public:
  TLabelPainter(TcxCustomLabelViewInfo* AInfo, TcxCanvas* ACanvas) : FInfo(*AInfo), FCanvas(ACanvas) {}
  void Paint();

private:
  void Measure();
  void StartPoint();
  void DrawText(int X, int Y, TColor AColor);
  void DrawTextPath(int X, int Y);
  void DrawDepth();
  void DrawFace();
  void FillGlyph();
  bool ReadsBehind() const { return FInfo.Transparent && !(FInfo.IsInplace && FInfo.Focused); }

  TcxCustomLabelViewInfo& FInfo;
  TcxCanvas* FCanvas;
  int W = 0, H = 0, A = 0, X0 = 0, Y0 = 0, P = 0, TW = 0, TH = 0;
  bool TrueType = false;
  bool GlyphMode = false;
  TPoint D;
  HDC FDC = nullptr;
};

void TLabelPainter::Measure() {
  TMeasureDC measure;
  TSelectedFont font(measure.DC(), FInfo.Font, 0);
  TEXTMETRICA tm{};
  GetTextMetricsA(measure.DC(), &tm);
  TrueType = (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
  GlyphMode = FInfo.Glyph && !FInfo.Glyph->GetEmpty() && TrueType;
  SIZE extent{0, 0};
  GetTextExtentPoint32A(measure.DC(), FInfo.Text.data(), static_cast<int>(FInfo.Text.size()), &extent);
  TW = extent.cx;
  TH = extent.cy;
  A = TrueType ? FInfo.Angle % 360 : 0;
}

void TLabelPainter::StartPoint() {
  const int cx = (FInfo.DepthOffset.x + W) / 2, cy = (FInfo.DepthOffset.y + H) / 2;
  if (A != 0 || !FInfo.WordWrap) {
    const double r = A * std::numbers::pi / 180;
    X0 = cx - RoundHalfEven(std::cos(r) * TW / 2) - RoundHalfEven(std::sin(r) * TH / 2);
    Y0 = cy + RoundHalfEven(std::sin(r) * TW / 2) - RoundHalfEven(std::cos(r) * TH / 2);
  }
  if (FInfo.Alignment.GetHorz() != taCenter) {
    X0 = std::max(X0, 0);
    Y0 = std::max(Y0, 0);
  }
  D = DepthDirection(FInfo.Orientation, FInfo.Depth);
  // The left edge of what is drawn lands on the text area's left edge; a
  // start left of the bitmap is not read.
  if (A == 0 && !FInfo.WordWrap && FInfo.Alignment.GetHorz() == taLeftJustify)
    P = std::max(0, X0 + std::min(0, static_cast<int>(D.x)));
}

void TLabelPainter::DrawTextPath(int X, int Y) {
  if (A != 0) {
    TextOutA(FDC, X, Y, FInfo.Text.data(), static_cast<int>(FInfo.Text.size()));
    return;
  }
  const bool wrap = FInfo.WordWrap && FInfo.Angle == 0;
  RECT r = wrap ? RECT{X, Y, X + W, Y + H} : RECT{X + 1, Y, W - 1, H};
  const TAlignment horz = FInfo.Alignment.GetHorz() == taRightJustify ? taRightJustify : taLeftJustify;
  const int format = BuildTextFormat(0, horz, FInfo.Alignment.GetVert(), FInfo.ShowEndEllipsis, wrap, 0);
  DrawTextA(FDC, FInfo.Text.data(), static_cast<int>(FInfo.Text.size()), &r, format);
}

void TLabelPainter::DrawText(int X, int Y, TColor AColor) {
  SetTextColor(FDC, ColorToRGB(AColor));
  DrawTextPath(X, Y);
}

void TLabelPainter::DrawDepth() {
  const int n = std::max(std::abs(D.x), std::abs(D.y));
  if (FInfo.Depth == 0) return;
  switch (FInfo.LabelEffect) {
  case cxleFun:
  case cxleExtrude:
    for (int k = n; k >= 1; --k) {
      const TColor color = FInfo.LabelEffect == cxleFun
                               ? FunColor(FInfo.ShadowedColor, FInfo.GetBackgroundColor(), k, n)
                               : FInfo.ShadowedColor;
      DrawText(X0 + k * Sign(D.x), Y0 + k * Sign(D.y), color);
    }
    break;
  case cxleCool:
    DrawText(X0 + D.x, Y0 + D.y, FInfo.ShadowedColor);
    break;
  case cxleNormal:
    break;
  }
}

void TLabelPainter::DrawFace() {
  const TColor face = FInfo.Enabled ? FInfo.TextColor : clBtnShadow;
  switch (FInfo.LabelStyle) {
  case cxlsNormal:
    if (!GlyphMode) DrawText(X0, Y0, face);
    break;
  case cxlsRaised:
    DrawText(X0, Y0, clBtnHighlight);
    if (FInfo.Font->GetSize() >= 12) DrawText(X0 + 2, Y0 + 2, clBtnShadow);
    if (!GlyphMode) DrawText(X0 + 1, Y0 + 1, face);
    break;
  case cxlsLowered:
    DrawText(X0 + 2, Y0 + 2, clBtnHighlight);
    if (!GlyphMode) DrawText(X0 + 1, Y0 + 1, clBtnShadow);
    break;
  case cxlsOutLine:
    if (!TrueType) {
      DrawText(X0, Y0, face);
      break;
    }
    BeginPath(FDC);
    DrawTextPath(X0, Y0);
    EndPath(FDC);
    HPEN pen = CreatePen(PS_SOLID, FInfo.PenWidth, ColorToRGB(face));
    HGDIOBJ old = SelectObject(FDC, pen);
    StrokePath(FDC);
    SelectObject(FDC, old);
    DeleteObject(pen);
    break;
  }
}

void TLabelPainter::FillGlyph() {
  TBitmap* glyph = FInfo.Glyph;
  if (!GlyphMode || glyph->GetWidth() <= 0 || glyph->GetHeight() <= 0) return;
  const int offset = FInfo.LabelStyle == cxlsNormal ? 0 : 1;
  BeginPath(FDC);
  DrawTextPath(X0 + offset, Y0 + offset);
  EndPath(FDC);
  SelectClipPath(FDC, RGN_COPY);
  HDC source = glyph->GetCanvas()->GetHandle();
  for (int x = X0; x < W; x += glyph->GetWidth())
    for (int y = 0; y < H; y += glyph->GetHeight())
      BitBlt(FDC, x, y, glyph->GetWidth(), glyph->GetHeight(), source, 0, 0, SRCCOPY);
  SelectClipRgn(FDC, nullptr);
}

void TLabelPainter::Paint() {
  W = std::max(0, static_cast<int>(FInfo.TextArea.Width()));
  H = std::max(0, static_cast<int>(FInfo.TextArea.Height()));
  if (W == 0 || H == 0) return;
  Measure();
  StartPoint();
  // Widened by the copy offset, so that the copy reads only what was drawn.
  TBitmap bitmap;
  bitmap.SetSize(W + P, H);
  FDC = bitmap.GetCanvas()->GetHandle();
  TSelectedFont font(FDC, FInfo.Font, A == 0 ? 0 : ((A + 360) % 360) * 10);
  const TRect all(0, 0, W + P, H);
  if (ReadsBehind())
    BitBlt(FDC, 0, 0, W + P, H, FCanvas->GetHandle(), FInfo.TextArea.left - P, FInfo.TextArea.top, SRCCOPY);
  else
    FillRect(FDC, &all, CachedSolidBrush(FCanvas, FInfo.GetBackgroundColor()));
  SetBkMode(FDC, TRANSPARENT);
  DrawDepth();
  DrawFace();
  FillGlyph();
  BitBlt(FCanvas->GetHandle(), FInfo.TextArea.left, FInfo.TextArea.top, W, H, FDC, P, 0, SRCCOPY);
}

} // namespace

// ---- TcxLabelEditStyle ----

TColor TcxLabelEditStyle::GetDefaultColor() const {
  return EditParentColor(this);
}

void TcxLabelEditStyle::RestoreDefaults() {
  TcxCustomEditStyle::RestoreDefaults();
  RestoreEditParentColor(this);
}

// ---- TcxCustomLabelViewInfo ----

void TcxCustomLabelViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  DrawEditBackgroundAndButtons(ACanvas, this, true, 0);
  PaintLabel(ACanvas);
}

void TcxCustomLabelViewInfo::PaintLabel(TcxCanvas* ACanvas) {
  TLabelPainter(this, ACanvas).Paint();
}

void TcxCustomLabelViewInfo::Offset(int DX, int DY) {
  TcxCustomTextEditViewInfo::Offset(DX, DY);
  OffsetRect(&TextArea, DX, DY);
  OffsetRect(&BoundsCopy, DX, DY);
  OffsetRect(&FocusRect, DX, DY);
}

// ---- TcxCustomLabelViewData ----

TcxContainerBorderStyle TcxCustomLabelViewData::GetEditContainerBorderStyle(int AHotState) const {
  if (IsInplace || !GetStyle()->IsValueAssigned(csvBorderStyle)) return cbsNone;
  return TcxCustomEditViewData::GetEditContainerBorderStyle(AHotState);
}

int TcxCustomLabelViewData::GetDrawTextFormat() const {
  auto* properties = static_cast<TcxCustomLabelProperties*>(GetProperties());
  TcxEditAlignment* alignment = properties->GetAlignment();
  const bool autoSizing = Edit && Edit->GetAutoSize();
  const bool ellipsis = properties->GetShowEndEllipsis() && !IsInplace && Edit && !autoSizing;
  const bool wrap = properties->GetWordWrap() && std::abs(properties->GetAngle()) % 360 == 0;
  return BuildTextFormat(0, alignment->GetHorz(), alignment->GetVert(), ellipsis, wrap, 0);
}

void TcxCustomLabelViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button,
                                       TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                       bool AIsMouseEvent) {
  TcxCustomEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (IsInplace && (ABounds.right == INT_MAX || ABounds.bottom == INT_MAX)) return;
  auto* info = static_cast<TcxCustomLabelViewInfo*>(AViewInfo);
  auto* properties = static_cast<TcxCustomLabelProperties*>(GetProperties());
  CalculateEditBorders(this, info);
  info->Font = GetStyle()->GetFont();
  TColor background = clWindow, text = clWindowText;
  GetEditColors(this, info, background, text);
  info->SetBackgroundColor(background);
  info->TextColor = text;
  info->Text.clear();
  info->SelLength = 0;
  info->TextFormat = GetDrawTextFormat();
  if (info->NativeStyle && info->BorderStyle == cbsNone) info->NativeStyle = false;
  if (!IsInplace) info->Transparent = properties->GetTransparent();
  info->LabelEffect = properties->GetLabelEffect();
  info->LabelStyle = properties->GetLabelStyle();
  info->Orientation = properties->GetOrientation();
  info->Depth = properties->GetDepth();
  info->ShadowedColor = properties->GetShadowedColor();
  info->ShowEndEllipsis = properties->GetShowEndEllipsis();
  info->Angle = properties->GetAngle();
  info->PenWidth = properties->GetPenWidth();
  info->WordWrap = properties->GetWordWrap();
  info->Alignment.Assign(properties->GetAlignment());
  info->Glyph = properties->HasGlyph() ? properties->GetGlyph() : nullptr;
  int dx = 0, dy = 0;
  properties->GetDepthOffset(dx, dy);
  info->DepthOffset = TPoint(dx, dy);
  if (auto* label = dynamic_cast<TcxCustomLabel*>(Edit); label && (!IsInplace || Focused))
    info->Text = label->GetCaption();
  info->TextRect = info->ClientRect;
  info->TextArea = info->ClientRect;
  InflateRect(&info->TextArea, -info->BorderWidth, -info->BorderWidth);
  info->BoundsCopy = ABounds;
  CalcLabelFocusRect(this, info, info->FocusRect);
}

SIZE TcxCustomLabelViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                                                const TcxEditSizeProperties&) {
  Variant display;
  GetProperties()->EditValueToDisplayValue(EditValue, display, false);
  const String text = display.AsString();
  int w = 0, h = 0;
  static_cast<TcxCustomLabelProperties*>(GetProperties())->GetDepthSize(w, h);
  return SIZE{w + ACanvas->TextWidth(text) + 2, h + ACanvas->TextHeight(text)};
}

void TcxCustomLabelViewData::CalculateFixedPartSize(TcxCanvas* ACanvas, bool AIsInplace, SIZE& AFixedSize,
                                                    TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize) {
  if (Bounds.right == INT_MAX || Bounds.bottom == INT_MAX) return;
  TcxCustomEditViewData::CalculateFixedPartSize(ACanvas, AIsInplace, AFixedSize, AViewInfo, AMinContentSize);
  auto* info = static_cast<TcxCustomLabelViewInfo*>(AViewInfo);
  const int frame = !AIsInplace && !info->NativeStyle ? 4 : 0;
  AFixedSize.cx += info->TextArea.Width() + frame;
  AFixedSize.cy += info->TextArea.Height() + frame;
  SIZE line{0, 0};
  CalculateTextContentSize(ACanvas, this, String(), line, false, TcxEditSizeProperties(), 0);
  AFixedSize.cx += line.cx + 2;
  AFixedSize.cy = std::max(AFixedSize.cy, line.cy);
}

// ---- TcxCustomLabelProperties ----

TcxCustomLabelProperties::TcxCustomLabelProperties(TPersistent* AOwner) : TcxCustomEditProperties(AOwner) {}

TcxCustomLabelProperties::~TcxCustomLabelProperties() = default;

void TcxCustomLabelProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomLabelProperties*>(Source);
  if (!source) return TcxCustomEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomEditProperties::Assign(Source);
    SetLabelEffect(source->FLabelEffect);
    SetLabelStyle(source->FLabelStyle);
    SetOrientation(source->FOrientation);
    SetDepth(source->FDepth);
    SetShadowedColor(source->FShadowedColor);
    SetAngle(source->FAngle);
    SetPenWidth(source->FPenWidth);
    SetGlyph(source->FGlyph.get());
    SetWordWrap(source->FWordWrap);
    SetTransparent(source->FTransparent);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TBitmap* TcxCustomLabelProperties::GetGlyph() {
  if (!FGlyph) {
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->OnChange = [this](TObject*) { Changed(); };
  }
  return FGlyph.get();
}

void TcxCustomLabelProperties::SetGlyph(const TBitmap* Value) {
  if (!Value)
    FGlyph.reset();
  else
    GetGlyph()->Assign(Value);
  Changed();
}

void TcxCustomLabelProperties::GetDepthOffset(int& DX, int& DY) const {
  const TPoint d = DepthDirection(FOrientation, FDepth);
  DX = -d.x;
  DY = -d.y;
}

void TcxCustomLabelProperties::GetDepthSize(int& W, int& H) const {
  const TPoint d = DepthDirection(FOrientation, FDepth);
  W = std::abs(d.x);
  H = std::abs(d.y);
}

void TcxCustomLabelProperties::Changed() {
  TcxCustomEditProperties::Changed();
  if (OnInternalChanged) OnInternalChanged(this);
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomLabelProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomLabelViewData>(this, AStyle, AIsInplace);
}

TcxClassRef TcxCustomLabelProperties::GetContainerClass() const {
  return cxClassRef<TcxLabel>();
}

std::unique_ptr<TcxCustomEditStyle> TcxCustomLabelProperties::CreateStyle(TPersistent* AOwner,
                                                                          bool AIsInternal) const {
  return std::make_unique<TcxLabelEditStyle>(AOwner, AIsInternal);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomLabelProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomLabelViewInfo>();
}

void TcxCustomLabelProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                       bool) {
  const bool locked = IsChangedLocked();
  SetChangedLock(true);
  DisplayValue =
      EditValue.IsNull() || EditValue.IsEmpty() ? Variant(String()) : Variant(EditValue.AsString());
  SetChangedLock(locked);
}

void TcxCustomLabelProperties::EditValueToDisplayText(const Variant& EditValue, bool, String& Text) {
  Variant display;
  EditValueToDisplayValue(EditValue, display, false);
  Text = display.AsString();
}

// ---- TcxCustomLabel ----

TcxCustomLabel::TcxCustomLabel(TComponent* AOwner) : TcxCustomEdit(AOwner) {
  ControlStyle.Exclude(csAcceptsControls);
  ControlStyle.Exclude(csCaptureMouse);
  ControlStyle.Exclude(csClickEvents);
  ControlStyle.Exclude(csDoubleClicks);
  SetParentColor(!GetIsInplace());
  SetWidth(121);
  SetHeight(21);
  GetProperties()->OnInternalChanged = [this](TObject*) { Invalidate(); };
}

TcxCustomLabel::~TcxCustomLabel() {
  SetFocusControl(nullptr);
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomLabel::CreateProperties() {
  return std::make_unique<TcxLabelProperties>(this);
}

bool TcxCustomLabel::CanAcceptRepositoryItem(TcxEditRepositoryItem* AItem) {
  return !AItem || dynamic_cast<TcxCustomLabelProperties*>(AItem->GetProperties()) != nullptr;
}

void TcxCustomLabel::SetCaption(const String& Value) {
  FCaptionSet = true;
  if (SameText(Value, FCaption)) return;
  SetEditValue(Variant(Value));
}

void TcxCustomLabel::SetFocusControl(TWinControl* Value) {
  if (Value == this || Value == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TcxCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TcxCustomEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

// The caption follows the name until it is set.
void TcxCustomLabel::SetName(const String& NewName) {
  TcxCustomEdit::SetName(NewName);
  if (FCaptionSet) return;
  SetCaption(NewName);
  FCaptionSet = false;
}

void TcxCustomLabel::SetAutoSize(bool Value) {
  TcxCustomEdit::SetAutoSize(Value);
  Invalidate();
}

bool TcxCustomLabel::CanResize(int& NewWidth, int& NewHeight) {
  if (!TcxCustomEdit::CanResize(NewWidth, NewHeight)) return false;
  if (!GetAutoSize() || IsLoading()) return true;
  const TRect r = CalculateAutoSizeRect(NewWidth, NewHeight);
  NewWidth = r.Width();
  NewHeight = r.Height();
  return true;
}

void TcxCustomLabel::GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) {
  ASizeProperties.MaxLineCount = 1;
  ASizeProperties.Width = GetViewInfo()->TextRect.Width();
}

void TcxCustomLabel::StoreEditValue(const Variant& Value, bool AValidate) {
  TcxControlGuard guard(this);
  TcxCustomEdit::StoreEditValue(Value, AValidate);
  if (!guard.Alive()) return;
  FCaption = Value.IsNull() || Value.IsEmpty() ? String() : Value.AsString();
  GetActiveProperties()->Changed();
}

void TcxCustomLabel::SynchronizeDisplayValue() {
  Variant display;
  GetActiveProperties()->EditValueToDisplayValue(Variant(FCaption), display, IsFocused());
  GetActiveProperties()->Changed();
}

void TcxCustomLabel::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  GetViewInfo()->Text.clear();
  TcxCustomEdit::ApplyPropertiesChange(AProperties);
}

TRect TcxCustomLabel::CalculateAutoSizeRect(int AWidth, int AHeight) {
  TRect result(0, 0, AWidth, AHeight);
  if (!HandleAllocated() || !GetParent()) return result;
  TcxCanvas* canvas = GetcxCanvas();
  canvas->SetFont(GetStyle()->GetFont());
  if (Trim(FCaption).empty()) return TRect(0, 0, 0, canvas->TextHeight("1"));
  TcxCustomLabelProperties* properties = GetActiveProperties();
  const bool wrap = properties->GetWordWrap();
  TRect r(0, 0, AWidth, AHeight);
  if (GetAlign() != alClient) {
    const int c = std::abs(properties->GetAngle()) % 360;
    TcxEditAlignment* alignment = properties->GetAlignment();
    const int format = BuildTextFormat(DT_CALCRECT, alignment->GetHorz(), alignment->GetVert(),
                                       properties->GetShowEndEllipsis() && !GetAutoSize(), wrap && c == 0, 0);
    const int height = DrawTextExA(canvas->GetHandle(), const_cast<char*>(FCaption.data()),
                                   static_cast<int>(FCaption.size()), &r, format, nullptr);
    if (!wrap) r.bottom = height;
    if (c > 0) {
      const int rw = r.Width(), rh = r.Height();
      const double a = c * std::numbers::pi / 180;
      r.right = std::abs(static_cast<int>(std::cos(a) * rw));
      r.bottom = std::abs(static_cast<int>(std::sin(a) * rw));
      if ((c > 45 && c < 135) || (c > 225 && c < 315)) {
        r.right += rh;
        r.bottom += canvas->TextWidth("w");
      } else {
        r.bottom = rh + std::abs(static_cast<int>(std::sin(a) * rw));
        r.right += canvas->TextWidth("w");
      }
    }
  }
  int dw = 0, dh = 0;
  properties->GetDepthSize(dw, dh);
  const bool autoSize = GetAutoSize();
  const TRect parent = GetParent()->GetClientRect();
  switch (GetAlign()) {
  case alTop:
  case alBottom:
    return TRect(0, 0, parent.Width(), r.Height() + (autoSize ? dh + 4 : 0));
  case alLeft:
  case alRight:
    return TRect(0, 0, r.Width() + (autoSize ? dw + 8 : 0), parent.Height());
  case alClient:
    return TRect(0, 0, parent.Width(), parent.Height());
  default:
    return autoSize ? TRect(r.left, r.top, r.right + dw + 8, r.bottom + dh + 4) : result;
  }
}

// ---- Messages ----

void TcxCustomLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_LBUTTONUP:
    // Every release inside the label clicks it.
    ControlState.Include(csClicked);
    break;
  case WM_WINDOWPOSCHANGED:
  case CM_CHANGED:
    TcxCustomEdit::WndProc(Message);
    Invalidate();
    return;
  case WM_ERASEBKGND:
    return WMEraseBkgnd(Message);
  case CM_DIALOGCHAR:
    return CMDialogChar(Message);
  }
  TcxCustomEdit::WndProc(Message);
}

void TcxCustomLabel::WMEraseBkgnd(TMessage& Message) {
  if (IsDestroying() || !GetActiveProperties()->GetTransparent()) return TcxCustomEdit::WndProc(Message);
  DrawParentBackground(this, reinterpret_cast<HDC>(Message.WParam), true);
  Message.Result = 1;
}

void TcxCustomLabel::CMDialogChar(TMessage& Message) {
  if (!IsAccel(static_cast<WORD>(Message.WParam), FCaption)) return TcxCustomEdit::WndProc(Message);
  if (FFocusControl && FFocusControl->CanFocus())
    FFocusControl->SetFocus();
  else
    MessageBeep(0);
  Message.Result = 1;
}

// ---- Registration ----

void cxLabelInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxLabelProperties>(), "Label|Represents a Label");
}

void cxLabelFinalize() {
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxLabelProperties));
}
