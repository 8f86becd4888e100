#include "cxExtEditUtils.h"

#include "cxEditPaintUtils.h"

#include "Locale.h"

#include <cmath>

namespace {

// A number's characters: digits, a leading minus and, when AAllowSeparator,
// one decimal separator.
bool HasNumberCharacters(const String& AText, bool AAllowSeparator) {
  bool separatorSeen = false;
  for (size_t i = 0; i < AText.size(); ++i) {
    const char c = AText[i];
    if (c >= '0' && c <= '9') continue;
    if (c == '-' && i == 0) continue;
    if (!AAllowSeparator || c != FormatSettings.DecimalSeparator || separatorSeen) return false;
    separatorSeen = true;
  }
  return true;
}

bool IsNumberText(const String& AText, bool AAllowSeparator, double ALimit) {
  const String text = Trim(AText);
  if (text.empty() || !HasNumberCharacters(text, AAllowSeparator)) return false;
  String normalized = text;
  for (char& c : normalized)
    if (c == FormatSettings.DecimalSeparator) c = '.';
  double value = 0;
  return TryStrToFloat(normalized, value) && std::fabs(value) <= ALimit;
}

// Signs and digits in order; "0" for none.
String CollectDigits(const String& AText, bool AStopAtOther) {
  String digits;
  for (char c : AText) {
    if (c == '-' || (c >= '0' && c <= '9'))
      digits += c;
    else if (AStopAtOther)
      break;
  }
  return digits.empty() ? String("0") : digits;
}

struct TThumbOutlines {
  TPoint a[4];
  int aCount;
  TPoint b[4];
  int bCount;
  TPoint c[4];
  int cCount;
  TPoint fill[6];
};

TThumbOutlines DownRightOutlines(const TRect& R, bool AVertical, int h) {
  const int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
  if (!AVertical)
    return {{{Rt, T}, {L, T}, {L, B - h}, {L + h, B}},
            4,
            {{L + h, B - 1}, {Rt - 1, B - h}, {Rt - 1, T + 1}},
            3,
            {{L + h, B}, {Rt, B - h}, {Rt, T}},
            3,
            {{Rt - 1, T + 1},
             {L + 1, T + 1},
             {L + 1, B - h},
             {L + h - 1, B - 1},
             {L + h, B - 1},
             {Rt - 1, B - h}}};
  return {{{L, B}, {L, T}, {Rt - h, T}, {Rt, T + h}},
          4,
          {{L + 1, B}, {Rt - h, B}, {Rt - 1, B - h + 1}},
          3,
          {{L, B + 1}, {Rt - h, B + 1}, {Rt, B - h + 1}},
          3,
          {{L + 1, B}, {L + 1, T + 1}, {Rt - h, T + 1}, {Rt - 1, T + h}, {Rt - 1, T + h + 1}, {Rt - h, B}}};
}

TThumbOutlines UpLeftOutlines(const TRect& R, bool AVertical, int h) {
  const int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
  if (!AVertical)
    return {{{L, B}, {L, T + h}, {L + h, T}},
            3,
            {{L + h, T + 1}, {Rt - 1, T + h}, {Rt - 1, B - 1}, {L, B - 1}},
            4,
            {{L + h, T}, {Rt, T + h}, {Rt, B}, {L, B}},
            4,
            {{Rt - 1, B - 2},
             {L + 1, B - 2},
             {L + 1, T + h},
             {L + h - 1, T + 2},
             {L + h, T + 2},
             {Rt - 1, T + h}}};
  return {{{Rt, T}, {L + h, T}, {L, T + h}},
          3,
          {{Rt - 1, T + 1}, {Rt - 1, B}, {L + h, B}, {L + 1, B - h + 1}},
          4,
          {{Rt, T}, {Rt, B + 1}, {L + h, B + 1}, {L, B - h + 1}},
          4,
          {{Rt - 2, B}, {Rt - 2, T + 1}, {L + h, T + 1}, {L + 1, T + h}, {L + 1, T + h + 1}, {L + h, B}}};
}

void DrawOutline(TcxCanvas* ACanvas, const TPoint* APoints, int ACount, TColor AColor) {
  DrawSolidPolyLine(ACanvas, APoints, ACount - 1, false, AColor);
}

void DrawThumb(TcxCanvas* ACanvas, const TThumbOutlines& O, TcxLookAndFeelKind AKind, TColor AColor) {
  ACanvas->GetPen()->SetColor(AColor);
  ACanvas->SetBrushColor(AColor);
  ACanvas->Polygon(O.fill, 6);
  switch (AKind) {
  case lfFlat:
    DrawOutline(ACanvas, O.a, O.aCount, clWindow);
    DrawOutline(ACanvas, O.c, O.cCount, clBtnShadow);
    break;
  case lfStandard:
    DrawOutline(ACanvas, O.a, O.aCount, clWindow);
    DrawOutline(ACanvas, O.b, O.bCount, clBtnShadow);
    DrawOutline(ACanvas, O.c, O.cCount, clWindowText);
    break;
  case lfUltraFlat:
    DrawOutline(ACanvas, O.a, O.aCount, clWindowText);
    DrawOutline(ACanvas, O.c, O.cCount, clWindowText);
    break;
  }
}

// Reaches the parent's painting of its graphic children.
struct TParentPainter : TWinControl {
  static void PaintGraphicChildren(TWinControl* AParent, HDC ADC) {
    (AParent->*(&TParentPainter::PaintControls))(ADC, nullptr);
  }
};

} // namespace

// ---- Check paint helper ----

TcxCustomCheckPaintHelper::TcxCustomCheckPaintHelper(TWinControl* AOwner)
    : FOwner(AOwner), FStyle(std::make_unique<TcxCustomEditStyle>(this, false)) {}

TcxCustomCheckPaintHelper::~TcxCustomCheckPaintHelper() {
  FOwner = nullptr;
}

bool TcxCustomCheckPaintHelper::GlyphAssigned() const {
  return IsGlyphAssigned(FGlyph);
}

TcxCheckBoxState TcxCustomCheckPaintHelper::GetNextCheckState(TcxCheckBoxState AState,
                                                              bool AAllowGrayed) const {
  switch (AState) {
  case cbsUnchecked:
    return cbsChecked;
  case cbsChecked:
    return AAllowGrayed ? cbsGrayed : cbsUnchecked;
  case cbsGrayed:
    break;
  }
  return cbsUnchecked;
}

void TcxCustomCheckPaintHelper::CalcTextArea(const TRect& ARect, TRect& ATextRect) const {
  ATextRect = ARect;
  ATextRect.left += RectHeight(ARect) + 2;
}

void TcxCustomCheckPaintHelper::CalcCheckOrigin(const TRect& ARect, TPoint& APoint) const {
  const int d = CenterOffset(ARect, CheckSize());
  APoint = TPoint(ARect.left + d, ARect.top + d);
}

bool TcxCustomCheckPaintHelper::CheckHitTest(const TRect& ARect, TcxCheckBoxState, int X, int Y,
                                             bool ARightToLeft) const {
  const int d = CenterOffset(ARect, CheckSize());
  const int left = ARightToLeft ? ARect.right - 3 * d : ARect.left + d;
  const int top = ARect.top + d;
  return X >= left && X <= left + CheckSize() && Y >= top && Y <= top + CheckSize();
}

void TcxCustomCheckPaintHelper::PaintCheck(TcxCanvas* ACanvas, const TRect& ARect, TcxCheckBoxState AState,
                                           bool AEnabled, int AMinLeft, int AMinTop) {
  const int d = CenterOffset(ARect, CheckSize());
  const int x = std::max<int>(ARect.left + d, AMinLeft);
  const int y = std::max<int>(ARect.top + d, AMinTop);
  TFont font;
  font.Assign(FStyle->GetFont());
  TcxCustomCheckBoxViewInfo info;
  info.Font = &font;
  info.BorderColor = FStyle->GetBorderColor();
  info.SetBackgroundColor(FStyle->GetColor());
  info.NativeStyle = FStyle->GetLookAndFeel()->GetNativeStyle();
  info.CheckBorderStyle = FStyle->GetBorderStyle();
  info.CheckButtonState = cbsNormalState;
  info.State = AState;
  info.Enabled = AEnabled;
  info.HasGlyph = GlyphAssigned();
  if (info.HasGlyph) {
    info.Glyph = FGlyph;
    info.GlyphCount = FGlyphCount;
  }
  info.CheckRect = TRect(x, y, x + CheckSize(), y + CheckSize());
  if (IsThemedPartAvailable(info.NativeStyle, totButton)) {
    static const int kNormalThemeStates[3] = {1, 5, 9};
    info.CheckNativeState = kNormalThemeStates[AState];
  } else {
    info.CheckNativeState = 0;
    info.NullStyle = nssGrayedChecked;
  }
  PaintCheckBox(ACanvas, &info);
}

// ---- Rectangles and text ----

void ExtendRectBy(TRect& R, int ALeft, int ATop, int ARight, int ABottom) {
  R.left += ALeft;
  R.top += ATop;
  R.right += ARight;
  R.bottom += ABottom;
}

int CenterOffset(const TRect& R, int ASize) {
  return (RectHeight(R) - ASize) / 2;
}

int BuildTextFormat(int AStart, TAlignment AHorzAlign, TcxEditVertAlignment AVertAlign, bool AEndEllipsis,
                    bool AWordWrap, int ATabCount) {
  static const int kHorz[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  static const int kVert[] = {DT_TOP, DT_BOTTOM, DT_VCENTER};
  int result = AStart | kHorz[AHorzAlign] | kVert[AVertAlign];
  if (AEndEllipsis) result |= DT_END_ELLIPSIS;
  if (AWordWrap) result |= DT_WORDBREAK;
  if (ATabCount > 0) result |= DT_EXPANDTABS | DT_TABSTOP;
  return result;
}

int FontTextHeight(TFont* AFont) {
  TBitmap bitmap;
  bitmap.GetCanvas()->SetFont(AFont);
  return bitmap.GetCanvas()->TextHeight("Wg");
}

int FontTextWidth(TFont* AFont, const String& AText) {
  TBitmap bitmap;
  bitmap.GetCanvas()->SetFont(AFont);
  return bitmap.GetCanvas()->TextWidth(AText);
}

// ---- Values and texts ----

bool VarIsNullOrEmpty(const Variant& AValue) {
  return AValue.IsNull() || AValue.IsEmpty();
}

bool VarIsIntegerType(const Variant& AValue) {
  switch (AValue.VarType()) {
  case varSmallint:
  case varInteger:
  case varWord:
  case varLongWord:
  case varInt64:
    return true;
  default:
    return false;
  }
}

bool VarIsFloatType(const Variant& AValue) {
  return AValue.VarType() == varDouble || AValue.VarType() == varCurrency;
}

bool IsIntegerText(const String& AText) {
  return IsNumberText(AText, false, 2147483647.0);
}

bool IsFloatText(const String& AText) {
  return IsNumberText(AText, true, 1.7e308);
}

int DigitsToInt(const String& AText, bool AStopAtOther) {
  return StrToInt(CollectDigits(AText, AStopAtOther));
}

TColor TextToColor(const String& AText, bool& AValid) {
  AValid = true;
  TColor color = 0;
  if (IdentToColor(AText, color)) return color;
  AValid = IsIntegerText(AText);
  // Typed text such as "-" or "1-2" makes no number: no colour, no error.
  return StrToIntDef(CollectDigits(AText, false), 0);
}

TShiftState CurrentShiftState() {
  return KeyboardStateToShiftState();
}

// ---- Drawing ----

void DrawColorSample(TcxCanvas* ACanvas, const TRect& ARect, TColor AFrameColor, TColor AColor,
                     TColor ABackgroundColor, TcxDefaultColorStyle AStyle) {
  if (RectWidth(ARect) == 0 || RectHeight(ARect) == 0) return;
  ACanvas->GetBrush()->SetStyle(bsSolid);
  TRect r = ARect;
  ACanvas->FrameRect(r, ABackgroundColor);
  ExtendRectBy(r, 1, 1, -1, -1);
  ACanvas->FrameRect(r, AFrameColor);
  ExtendRectBy(r, 1, 1, -1, -1);
  switch (AStyle) {
  case cxdcClear:
    ACanvas->FillRect(r, ABackgroundColor);
    break;
  case cxdcHatched: {
    ACanvas->FillRect(r, ABackgroundColor);
    ACanvas->GetPen()->SetColor(ABackgroundColor);
    ACanvas->GetBrush()->SetStyle(bsDiagCross);
    ACanvas->GetBrush()->SetColor(AColor);
    ACanvas->GetCanvas()->Rectangle(TRect(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1));
    const TPoint ring[5] = {{r.left - 1, r.top - 1},
                            {r.right, r.top - 1},
                            {r.right, r.bottom},
                            {r.left - 1, r.bottom},
                            {r.left - 1, r.top - 1}};
    ACanvas->GetPen()->SetColor(AFrameColor);
    ACanvas->Polyline(ring, 5);
    break;
  }
  case cxdcColor:
  case cxdcText:
  case cxdcCustom:
    ACanvas->FillRect(r, AColor);
    break;
  }
  ACanvas->GetBrush()->SetStyle(bsSolid);
}

void DrawTwoColorFrame(TcxCanvas* ACanvas, const TRect& ARect, TColor ATopLeftColor, TColor ABottomRightColor,
                       TRect& AInnerRect) {
  const TRect& R = ARect;
  ACanvas->GetPen()->SetColor(ATopLeftColor);
  ACanvas->MoveTo(R.left, R.top);
  ACanvas->LineTo(R.left, R.bottom + 1);
  ACanvas->MoveTo(R.left, R.top);
  ACanvas->LineTo(R.right + 1, R.top);
  ACanvas->GetPen()->SetColor(ABottomRightColor);
  ACanvas->MoveTo(R.right, R.top + 1);
  ACanvas->LineTo(R.right, R.bottom);
  ACanvas->MoveTo(R.left + 1, R.bottom);
  ACanvas->LineTo(R.right + 1, R.bottom);
  AInnerRect = TRect(R.left + 1, R.top + 1, R.right - 1, R.bottom - 1);
}

void DrawPointedThumbDownRight(TcxCanvas* ACanvas, const TRect& ARect, TcxTrackBarOrientation AOrientation,
                               int ASize, TcxLookAndFeelKind AKind, TColor AColor) {
  const TThumbOutlines outlines = DownRightOutlines(ARect, AOrientation == tboVertical, ASize / 2);
  DrawOutline(ACanvas, outlines.a, outlines.aCount, clWindow);
  DrawOutline(ACanvas, outlines.b, outlines.bCount, clBtnShadow);
  DrawOutline(ACanvas, outlines.c, outlines.cCount, clWindowText);
  DrawThumb(ACanvas, outlines, AKind, AColor);
}

void DrawPointedThumbUpLeft(TcxCanvas* ACanvas, const TRect& ARect, TcxTrackBarOrientation AOrientation,
                            int ASize, TcxLookAndFeelKind AKind, TColor AColor) {
  DrawThumb(ACanvas, UpLeftOutlines(ARect, AOrientation == tboVertical, ASize / 2), AKind, AColor);
}

void DrawParentBackground(TControl* AControl, HDC ADC, bool ADrawParent) {
  if (!AControl || !AControl->GetParent() || !ADrawParent) return;
  TWinControl* parent = AControl->GetParent();
  const int saved = SaveDC(ADC);
  const TPoint origin = parent->ScreenToClient(AControl->ClientToScreen(TPoint(0, 0)));
  POINT old;
  OffsetWindowOrgEx(ADC, origin.x, origin.y, &old);
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(ADC), 0);
  TParentPainter::PaintGraphicChildren(parent, ADC);
  RestoreDC(ADC, saved);
}

// ---- Focus rectangles ----

void CalcLabelFocusRect(TcxCustomEditViewData* AViewData, TcxCustomTextEditViewInfo* AViewInfo,
                        TRect& AFocusRect) {
  if (AViewInfo->IsInplace || !AViewData->Focused) return;
  if (AViewInfo->Text.empty()) {
    AFocusRect = TRect();
    return;
  }
  AFocusRect = AViewInfo->TextRect;
  InflateRect(&AFocusRect, 1, 1);
}

void CalcTrackBarFocusRect(TcxCustomEditViewData* AViewData, TcxCustomTextEditViewInfo* AViewInfo,
                           TRect& AFocusRect) {
  AViewInfo->SetBackgroundColor(AViewData->Enabled ? AViewData->GetStyle()->GetColor() : clBtnFace);
  CalcLabelFocusRect(AViewData, AViewInfo, AFocusRect);
}

void CalcProgressBarFocusRect(TcxCustomEditViewData* AViewData, TcxCustomTextEditViewInfo* AViewInfo,
                              TRect& AFocusRect) {
  CalcLabelFocusRect(AViewData, AViewInfo, AFocusRect);
}
