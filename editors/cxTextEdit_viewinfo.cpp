#include "cxTextEdit.h"

#include "cxEditPaintUtils.h"

#include <algorithm>
#include <climits>

namespace {

TColor DefaultTo(TColor AColor, TColor ADefault) {
  return AColor == clDefault ? ADefault : AColor;
}

// Does the row reach beyond the test rectangle or the text's width?
bool RowOverflows(HDC DC, const TcxTextRowInfo& ARow, int ATop, const TRect& AText, const TRect& ATest,
                  bool AExpandTabs) {
  int length = ARow.TextLength;
  while (length > 0 && ARow.Text[length - 1] == ' ')
    --length;
  SIZE size{0, 0};
  GetTextRowExtent(DC, ARow.Text, length, size, AExpandTabs);
  const int left = AText.left + ARow.X;
  return size.cx > AText.Width() || left + size.cx > ATest.right || ATop + ARow.Height > ATest.bottom;
}

} // namespace

// ---- TcxCustomTextEditViewInfo ----

void TcxCustomTextEditViewInfo::Offset(int DX, int DY) {
  TcxCustomEditViewInfo::Offset(DX, DY);
  OffsetRect(&TextRect, DX, DY);
  if (!TextRowsValid) return;
  OffsetRect(&TextRowsArea, DX, DY);
  for (TcxTextRowInfo& row : TextRows) {
    row.X += DX;
    row.Y += DY;
  }
}

bool TcxCustomTextEditViewInfo::IsHintAtPoint(const TPoint& P, String& AText, TRect& ATextRect, int& AValue) {
  AValue = 0;
  TcxScreenCanvas canvas;
  bool multiLine = false;
  return IsHintAtPoint(&canvas, P, ATextRect, multiLine, AText, TRect());
}

bool TcxCustomTextEditViewInfo::IsHintAtPoint(TcxCanvas* ACanvas, const TPoint& P, TRect& AHintRect,
                                              bool& AIsMultiLine, String& AText, const TRect& AVisibleRect) {
  AText.clear();
  TPoint point = P;
  point.x -= PaintOffset.x;
  point.y -= PaintOffset.y;
  TRect test = TextRect;
  if (!IsRectEmpty(&AVisibleRect)) {
    TRect visible = AVisibleRect;
    OffsetRect(&visible, -PaintOffset.x, -PaintOffset.y);
    IntersectRect(&test, &visible, &TextRect);
  }
  if (!test.Contains(point)) return false;
  if (Font) ACanvas->SetFont(Font);
  TRect layout = TextRect;
  layout.bottom = INT_MAX / 2;
  if (DrawTextFlags & trSingleLine) layout.right = INT_MAX / 2;
  TcxTextLayoutParams params;
  PrepareCanvasTextParams(ACanvas->GetCanvas(), DrawTextFlags & ~trVertAlignmentMask, params);
  TcxTextRows rows;
  int count = 0;
  const bool fits =
      BuildCanvasTextRows(ACanvas->GetCanvas(), Text.c_str(), layout, params, rows, count, MaxLineCount);
  bool result = !fits;
  HDC dc = ACanvas->GetHandle();
  int top = TextRect.top;
  for (int i = 0; i < count && !result; ++i) {
    result = RowOverflows(dc, rows[i], top, TextRect, test, params.ExpandTabs);
    top += params.RowHeight;
  }
  if (!result) return false;
  AIsMultiLine = (DrawTextFlags & trSingleLine) == 0;
  AText = Text;
  AHintRect = TextRect;
  OffsetRect(&AHintRect, PaintOffset.x, PaintOffset.y);
  return true;
}

// ---- TcxCustomTextEditViewData ----

bool TcxCustomTextEditViewData::IsInnerEditShownByEdit() {
  return Edit && Edit->IsInnerEditShown();
}

void TcxCustomTextEditViewData::ReadProperties() {
  TcxCustomEditViewData::ReadProperties();
  UsesDisplayFormat = GetProperties()->CanUseDisplayFormat();
  EditingStyle = GetTextProperties()->GetEditingStyle();
}

int TcxCustomTextEditViewData::GetDrawTextFlags() const {
  static const int kHorz[] = {0, 2, 1};
  static const int kVert[] = {0, 0x20, 0x10};
  return kHorz[HorzAlignment] | kVert[VertAlignment] | trClampLeft | trClampTop | trSingleLine;
}

void TcxCustomTextEditViewData::GetTextRect(TRect& R) {
  GetTextEditTextOffsets(this, R);
}

void TcxCustomTextEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                          int Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                          bool AIsMouseEvent) {
  TcxCustomEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* info = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  info->IsSelectedLook = false;
  info->EditingStyle = EditingStyle;
  info->Font = GetStyle()->GetFont();
  info->IsInnerEditShown = IsInnerEditShownByEdit();
  info->HasPopupWindow = Edit && Edit->HasPopupWindow();
  CalculateEditTextRect(this, info);
  info->MaxLineCount = 0;
  info->TextRowsValid = false;
  CalculateTextOutData(ACanvas, info);
}

void TcxCustomTextEditViewData::CalculateTextOutData(TcxCanvas* ACanvas,
                                                     TcxCustomTextEditViewInfo* AViewInfo) {
  if (!GetTextProperties()->IsMultiLineText() && (GetProperties()->GetCapabilities() & 2) && (Options & 2))
    AdjustTextFlagsForRows(ACanvas, this, AViewInfo);
  else
    AViewInfo->DrawTextFlags = GetDrawTextFlags();
  if (AViewInfo->Options & 4) AViewInfo->DrawTextFlags |= trEndEllipsis;
  AViewInfo->IsComboBoxStyle = IsComboBoxStyle();
}

void TcxCustomTextEditViewData::GetDisplayTextForValue(const Variant& DisplayValue,
                                                       TcxCustomTextEditViewInfo* AViewInfo) {
  GetTextProperties()->GetDisplayTextForValue(DisplayValue, AViewInfo->Text);
}

String TcxCustomTextEditViewData::DisplayTextOf(const Variant& Value) {
  Variant displayValue;
  if (UsesDisplayFormat) {
    displayValue = Variant(Value.IsNull() ? String() : VarToStr(Value));
  } else if (auto* edit = dynamic_cast<TcxCustomTextEdit*>(Edit)) {
    edit->PrepareDisplayValue(Value, displayValue, IsFocused());
  } else {
    Variant copy = Value;
    if (GetTextProperties()->IsEditValueValid(copy, IsFocused()))
      GetTextProperties()->EditValueToDisplayValue(copy, displayValue, IsFocused());
    else
      displayValue = Variant(VarToStr(Value));
  }
  String text;
  GetTextProperties()->GetDisplayTextForValue(displayValue, text);
  return text;
}

void TcxCustomTextEditViewData::AssignValueToViewInfo(TcxCustomEditViewInfo* AViewInfo) {
  auto* info = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  info->SelStart = SelStart;
  info->SelLength = SelLength;
  if (SelLength == 0) return;
  info->SelTextColor = DefaultTo(SelTextColor, clHighlightText);
  info->SelBackgroundColor = DefaultTo(SelBackgroundColor, clHighlight);
}

void TcxCustomTextEditViewData::GetClientExtent(TcxCustomEditViewInfo* AViewInfo, TRect& R) {
  TcxCustomEditViewData::GetClientExtent(AViewInfo, R);
  if (!IsInplace && IsComboBoxStyle() &&
      IsThemedPartAvailable(GetStyle()->GetLookAndFeel()->GetNativeStyle(), totComboBox))
    ++R.right;
}

SIZE TcxCustomTextEditViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                                                   const TcxEditSizeProperties& ASizeProperties) {
  SIZE size{0, 0};
  CalculateTextContentSize(ACanvas, this, DisplayTextOf(EditValue), size, true, ASizeProperties,
                           GetDrawTextFlags());
  return size;
}
