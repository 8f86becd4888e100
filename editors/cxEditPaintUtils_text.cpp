#include "cxEditPaintUtils.h"

#include "cxBrushCache.h"

#include <algorithm>
#include <climits>

namespace {

// The editor flags with a canvas counterpart, in both words.
const struct {
  int edit;
  int canvas;
} kTextFlags[] = {
    {0x1, tfCenterX}, {0x2, tfRight}, {0x10, tfCenterY}, {0x20, tfBottom}, {0x200, tfSingleLine}};

constexpr int trFlagsCallerSwitch = trCallerFlag2;

// Text offsets (left, top, right, bottom) by alignment: left, right, centre.
const TRect kMemoOffsets[3] = {TRect(1, 1, 1, 1), TRect(0, 1, 2, 1), TRect(1, 1, 1, 1)};
const TRect kTextOffsets[3] = {TRect(1, 1, 1, 3), TRect(1, 1, 2, 3), TRect(1, 1, 1, 3)};
const TRect kInplaceTextOffsets[3] = {TRect(1, 1, 1, 1), TRect(1, 1, 2, 1), TRect(1, 1, 1, 1)};

bool IsListStyle(TcxCustomEditViewData* AViewData) {
  auto* text = dynamic_cast<TcxCustomTextEditViewData*>(AViewData);
  return text && (text->EditingStyle == tesListOnly || text->EditingStyle == tesNoCaret);
}

// The themed check-box state: 1-4 unchecked, 5-8 checked, 9-12 grayed.
int CheckStateBase(const TcxCustomCheckBoxViewInfo* AViewInfo) {
  if (AViewInfo->State == cbsUnchecked) return 1;
  if (AViewInfo->State == cbsChecked) return 5;
  return AViewInfo->NullStyle == nssUnchecked ? 1 : 9;
}

int CheckColumn(const TcxCustomCheckBoxViewInfo* AViewInfo) {
  int column = AViewInfo->State + (AViewInfo->CheckButtonState == cbsPressedState ? 3 : 0);
  while (column >= AViewInfo->GlyphCount && column > 2)
    column %= 3;
  // A strip of one or two columns has no column for some states.
  if (column >= AViewInfo->GlyphCount) column %= AViewInfo->GlyphCount;
  return column;
}

void PaintCheckGlyph(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo) {
  TBitmap* glyph = AViewInfo->Glyph;
  const int width = glyph->GetWidth() / AViewInfo->GlyphCount;
  const TRect& r = AViewInfo->CheckRect;
  TBitmap cell;
  cell.SetSize(r.Width(), r.Height());
  const TColor transparent = glyph->GetTransparentColor();
  TcxCanvas canvas(cell.GetCanvas());
  canvas.FillRect(TRect(0, 0, r.Width(), r.Height()), transparent);
  const int top = (r.Height() - glyph->GetHeight()) / 2;
  const int left = CheckColumn(AViewInfo) * width;
  canvas.CopyRect(TRect(0, top, width, top + glyph->GetHeight()), glyph->GetCanvas(),
                  TRect(left, 0, left + width, glyph->GetHeight()));
  cell.SetTransparentColor(transparent);
  ACanvas->FillRect(r, AViewInfo->GetBackgroundColor());
  ACanvas->DrawGlyph(r.left, r.top, &cell, true, clNone);
}

void PaintCheckFrame(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo, TRect& R) {
  const int w = GetEditBorderWidth(AViewInfo->CheckBorderStyle);
  ACanvas->FrameRect(R, AViewInfo->GetBackgroundColor(), 2 - w);
  InflateRect(&R, w - 2, w - 2);
  switch (AViewInfo->CheckBorderStyle) {
  case cbsSingle:
    ACanvas->FrameRect(R, AViewInfo->BorderColor);
    break;
  case cbsThick:
    ACanvas->FrameRect(R, AViewInfo->BorderColor, 2);
    break;
  case cbsFlat:
  case cbs3D: {
    ACanvas->DrawEdge(R, true, true);
    TRect inner = R;
    InflateRect(&inner, -1, -1);
    if (AViewInfo->CheckBorderStyle == cbsFlat)
      ACanvas->FrameRect(inner, clBtnFace);
    else
      ACanvas->DrawTwoToneFrame(inner, cl3DDkShadow, clBtnFace);
    break;
  }
  case cbsUltraFlat: {
    static const TcxButtonState kStates[4] = {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
    TcxUltraFlatLookAndFeelPainter::Instance()->DrawPushButton(
        ACanvas, R, String(), kStates[AViewInfo->CheckButtonState], true, clDefault, clDefault);
    break;
  }
  default:
    break;
  }
}

UINT CheckFrameControlFlags(const TcxCustomCheckBoxViewInfo* AViewInfo) {
  UINT flags = 0;
  if (AViewInfo->CheckButtonState == cbsDisabledState) {
    flags = AViewInfo->State == cbsUnchecked ? 0x308 : 0x608;
  } else {
    if (AViewInfo->State == cbsChecked) flags = DFCS_CHECKED;
    if (AViewInfo->State == cbsGrayed) {
      flags = DFCS_BUTTON3STATE;
      if (AViewInfo->NullStyle == nssInactive) flags |= DFCS_INACTIVE;
      if (AViewInfo->NullStyle == nssGrayedChecked) flags |= DFCS_CHECKED;
    }
    if (AViewInfo->CheckButtonState == cbsPressedState) flags |= DFCS_PUSHED;
  }
  if (AViewInfo->CheckBorderStyle != cbs3D) flags |= DFCS_FLAT;
  return flags;
}

void PaintCheckMark(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo) {
  TRect clip = AViewInfo->CheckRect;
  InflateRect(&clip, -2, -2);
  HRGN saved = IntersectClipRectSaving(ACanvas->GetHandle(), clip);
  TRect r = AViewInfo->CheckRect;
  DrawFrameControl(ACanvas->GetHandle(), &r, DFC_BUTTON, CheckFrameControlFlags(AViewInfo));
  RestoreClipRegion(ACanvas->GetHandle(), saved);
}

void PaintCheckBackground(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo, bool AThemed) {
  const int saved = SaveDC(ACanvas->GetHandle());
  HTHEME theme = AThemed ? OpenThemeHandle(totButton) : nullptr;
  const bool partlyTransparent =
      theme && dxUxTheme::IsThemeBackgroundPartiallyTransparent(theme, 3, AViewInfo->CheckNativeState);
  if (!partlyTransparent) ACanvas->ExcludeClipRect(AViewInfo->CheckRect);
  if (!AThemed)
    DrawEditBackgroundAndButtons(ACanvas, AViewInfo, true, 0);
  else if (AViewInfo->ParentBackground)
    dxUxTheme::DrawThemeParentBackground(AViewInfo->WindowHandle, ACanvas->GetHandle(), &AViewInfo->Bounds);
  else if (!AViewInfo->Transparent)
    ACanvas->FillRect(AViewInfo->Bounds, AViewInfo->GetBackgroundColor());
  RestoreDC(ACanvas->GetHandle(), saved);
}

// Builds the rows of AText in R under the editor flags; returns the count.
int BuildRows(TcxCanvas* ACanvas, const String& AText, const TRect& R, int AFlags, int AMaxRows,
              TcxTextRows& ARows) {
  TcxTextLayoutParams params;
  PrepareCanvasTextParams(ACanvas->GetCanvas(), AFlags, params);
  int count = 0;
  BuildCanvasTextRows(ACanvas->GetCanvas(), AText.c_str(), R, params, ARows, count, AMaxRows);
  return count;
}

int RowsWithin(int ACount, int AMaxLineCount) {
  return AMaxLineCount > 0 ? std::min(ACount, AMaxLineCount) : ACount;
}

} // namespace

// ---- Check box ----

void GetCheckBoxGlyphSize(TcxCanvas* ACanvas, TcxCustomEditViewData*, TcxCustomCheckBoxViewInfo* AViewInfo,
                          SIZE& ASize) {
  AViewInfo->HasGlyph = AViewInfo->GlyphCount > 0 && IsGlyphAssigned(AViewInfo->Glyph);
  if (AViewInfo->HasGlyph) {
    ASize = SIZE{AViewInfo->Glyph->GetWidth() / AViewInfo->GlyphCount, AViewInfo->Glyph->GetHeight()};
    return;
  }
  ASize = SIZE{CheckBoxWidth, CheckBoxHeight};
  if (!IsThemedPartAvailable(AViewInfo->NativeStyle, totButton)) return;
  dxUxTheme::GetThemePartSize(OpenThemeHandle(totButton), ACanvas->GetHandle(), 3, 5, nullptr, 1, &ASize);
}

void CalculateCheckBoxBorders(TcxCustomEditViewData* AViewData, TcxCustomCheckBoxViewInfo* AViewInfo) {
  CalculateEditBorders(AViewData, AViewInfo);
  TRect offsets;
  GetTextEditTextOffsets(AViewData, offsets);
  AViewInfo->TextRect = AViewInfo->ClientRect;
  ShrinkRect(AViewInfo->TextRect, offsets);
}

int GetCheckNativeState(TcxCustomCheckBoxViewInfo* AViewInfo) {
  if (!IsThemedPartAvailable(AViewInfo->NativeStyle, totButton)) return 0;
  if (AViewInfo->State == cbsGrayed && AViewInfo->NullStyle == nssInactive) return 4;
  return CheckStateBase(AViewInfo) + AViewInfo->CheckButtonState;
}

void CalculateCheckBoxState(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData,
                            TcxCustomCheckBoxViewInfo* AViewInfo) {
  AViewInfo->CheckNativeState = GetCheckNativeState(AViewInfo);
  AViewInfo->SetBackgroundColor(AViewData->Enabled ? AViewData->GetStyle()->GetColor() : clBtnFace);
  AViewInfo->FocusRect = TRect();
  if (AViewInfo->Alignment == taCenter || AViewInfo->IsInplace || !AViewInfo->Focused) return;
  if (AViewInfo->Text.empty()) return;
  TRect r = AViewInfo->TextRect;
  if (!AViewInfo->FullFocusRect) {
    if (AViewInfo->Font) ACanvas->SetFont(AViewInfo->Font);
    ACanvas->CalculateTextRect(AViewInfo->Text, r, AViewInfo->DrawTextFlags);
  }
  InflateRect(&r, 1, 1);
  TRect limit = AViewInfo->TextRect;
  InflateRect(&limit, 1, 1);
  IntersectRect(&r, &r, &limit);
  r.right = std::min(r.right, AViewInfo->BorderRect.right);
  AViewInfo->FocusRect = r;
}

void PaintCheckBox(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo) {
  const bool themed = AViewInfo->CheckNativeState != 0;
  PaintCheckBackground(ACanvas, AViewInfo, themed);
  if (AViewInfo->HasGlyph) {
    PaintCheckGlyph(ACanvas, AViewInfo);
  } else if (themed) {
    if (HTHEME theme = OpenThemeHandle(totButton))
      dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 3, AViewInfo->CheckNativeState,
                                     &AViewInfo->CheckRect, nullptr);
  } else {
    TRect r = AViewInfo->CheckRect;
    PaintCheckFrame(ACanvas, AViewInfo, r);
    PaintCheckMark(ACanvas, AViewInfo);
  }
  if (AViewInfo->Alignment == taCenter) return;
  PaintCheckBoxCaption(ACanvas, AViewInfo);
  if (!AViewInfo->IsInplace && AViewInfo->Focused) ACanvas->DrawFocusRect(AViewInfo->FocusRect);
}

void PaintCheckBoxCaption(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo) {
  if (AViewInfo->Font) ACanvas->SetFont(AViewInfo->Font);
  ACanvas->GetFont()->SetColor(AViewInfo->TextColor);
  ACanvas->GetBrush()->SetStyle(bsClear);
  ACanvas->DrawText(AViewInfo->Text, AViewInfo->TextRect, AViewInfo->DrawTextFlags, AViewInfo->Enabled);
  ACanvas->GetBrush()->SetStyle(bsSolid);
}

int EditTextFlagsToCanvasFlags(int AFlags) {
  int result = 0;
  for (const auto& f : kTextFlags)
    if (AFlags & f.edit) result |= f.canvas;
  return result;
}

int CanvasFlagsToEditTextFlags(int AFlags) {
  int result = 0;
  for (const auto& f : kTextFlags)
    if (AFlags & f.canvas) result |= f.edit;
  return result;
}

String RemoveAccelChars(const String& AText) {
  String result;
  result.reserve(AText.size());
  for (size_t i = 0; i < AText.size(); ++i) {
    if (AText[i] != '&') {
      result += AText[i];
      continue;
    }
    if (i + 1 == AText.size()) {
      result += '_';
      break;
    }
    result += AText[++i];
  }
  return result;
}

// ---- Text ----

SIZE GetEditTextOffsets(TcxCustomEditViewData* AViewData) {
  if (!AViewData->IsInplace) return SIZE{3, 4};
  const bool themed =
      IsThemedPartAvailable(AViewData->GetStyle()->GetLookAndFeel()->GetNativeStyle(), totEdit);
  return SIZE{3, themed ? 3 : 2};
}

void GetTextEditTextOffsets(TcxCustomEditViewData* AViewData, TRect& R) {
  R = (AViewData->IsInplace ? kInplaceTextOffsets : kTextOffsets)[AViewData->HorzAlignment];
  if (AViewData->IsInplace || !IsListStyle(AViewData)) return;
  ++R.left;
  if (AViewData->VertAlignment != taTopJustify) return;
  ++R.top;
  --R.bottom;
}

void GetMemoTextOffsets(TAlignment AAlignment, TRect& R) {
  R = kMemoOffsets[AAlignment];
}

void CalculateEditTextRect(TcxCustomEditViewData* AViewData, TcxCustomTextEditViewInfo* AViewInfo) {
  TRect offsets;
  GetTextEditTextOffsets(AViewData, offsets);
  AViewInfo->TextRect = AViewInfo->ClientRect;
  ShrinkRect(AViewInfo->TextRect, offsets);
}

void CalculateTextContentSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData, const String& AText,
                              SIZE& ASize, bool AAddOffsets, const TcxEditSizeProperties& ASizeProperties,
                              int AFlags) {
  auto* textData = dynamic_cast<TcxCustomTextEditViewData*>(AViewData);
  const bool nativeEdit =
      IsThemedPartAvailable(AViewData->GetStyle()->GetLookAndFeel()->GetNativeStyle(), totEdit);
  const bool extra =
      !AViewData->IsInplace && IsListStyle(AViewData) && (!textData->IsComboBoxStyle() || !nativeEdit);
  ACanvas->SetFont(AViewData->GetStyle()->GetFont());
  const SIZE offsets = GetEditTextOffsets(AViewData);
  const int lineHeight = ACanvas->TextHeight("Zg");
  const bool emptyMeasuresNothing = AText.empty() && (AViewData->Options & 1) != 0;
  TcxTextRows rows;
  if (ASizeProperties.Width < 0) {
    ASize.cy = lineHeight;
    if (AFlags & trSingleLine) {
      TRect r(0, 0, INT_MAX, 0);
      if (!AText.empty()) ACanvas->CalculateTextRect(AText, r, EditTextFlagsToCanvasFlags(AFlags));
      ASize.cx = AText.empty() ? 0 : r.Width();
    } else {
      const int count = RowsWithin(
          BuildRows(ACanvas, AText, TRect(0, 0, INT_MAX, INT_MAX), AFlags | trNoHeightLimit, 0, rows),
          ASizeProperties.MaxLineCount);
      ASize.cx = count > 0 ? GetMaxTextRowWidth(rows, count) : 0;
    }
    if (extra) ++ASize.cx;
    if (AAddOffsets) ASize.cx += offsets.cx;
  } else {
    const int width = ASizeProperties.Width - (AViewData->IsInplace ? 2 : 0) - (extra ? 1 : 0);
    ASize.cx = width > 0 ? ASizeProperties.Width : 0;
    ASize.cy = emptyMeasuresNothing ? 0 : lineHeight;
    if (width > 0 && !AText.empty()) {
      int flags = (AFlags | trFlagsCallerSwitch) & ~trVertAlignmentMask;
      if (flags & trSingleLine) flags = (flags & ~trSingleLine) | trWholeRowsOnly | trWordBreak;
      const int count = RowsWithin(
          BuildRows(ACanvas, AText, TRect(0, 0, width, INT_MAX), flags, ASizeProperties.MaxLineCount, rows),
          ASizeProperties.MaxLineCount);
      ASize.cy = lineHeight * count;
    }
  }
  if (ASize.cy > 0) ASize.cy += offsets.cy;
}

void AdjustTextFlagsForRows(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData,
                            TcxCustomTextEditViewInfo* AViewInfo) {
  TFont* font = AViewData->GetStyle()->GetFont();
  if (!font) return;
  ACanvas->SetFont(font);
  auto* textData = dynamic_cast<TcxCustomTextEditViewData*>(AViewData);
  AViewInfo->DrawTextFlags = textData ? textData->GetDrawTextFlags() : 0;
  if ((AViewInfo->Options & 4) == 0) return;
  const int flags = (AViewInfo->DrawTextFlags & ~trSingleLine) | trWordBreak | 0x204000;
  TRect offsets;
  GetTextEditTextOffsets(AViewData, offsets);
  const TRect& content = AViewData->ContentOffset;
  const int width = AViewInfo->TextRect.Width() + offsets.left + offsets.right -
                    GetEditTextOffsets(AViewData).cx - content.left - content.right +
                    (AViewData->HorzAlignment == taRightJustify ? 1 : 0);
  TcxTextRows rows;
  TcxTextLayoutParams params;
  PrepareCanvasTextParams(ACanvas->GetCanvas(), flags, params);
  int count = 0;
  BuildCanvasTextRows(ACanvas->GetCanvas(), AViewInfo->Text.c_str(), TRect(0, 0, width, INT_MAX), params,
                      rows, count, 0);
  if (count <= 1) return;
  AViewInfo->DrawTextFlags = (AViewInfo->DrawTextFlags & ~trSingleLine) | trWholeRowsOnly | trWordBreak;
  if (AViewInfo->TextRect.Height() < count * params.RowHeight)
    AViewInfo->DrawTextFlags &= ~(trSingleLine | trVertAlignmentMask);
}

void CalculateEditTextRows(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  AViewInfo->TextRows.clear();
  AViewInfo->TextRowCount = 0;
  AViewInfo->TextRowsValid = true;
  if (AViewInfo->Text.empty()) return;
  HDC dc = ACanvas->GetHandle();
  const int flags = AViewInfo->DrawTextFlags;
  PrepareCanvasTextParams(ACanvas->GetCanvas(), flags, AViewInfo->TextParams);
  GetTextRowsArea(AViewInfo->TextRect, AViewInfo->TextRect, 0, 0, AViewInfo->TextRowsArea);
  if (IsRectEmpty(&AViewInfo->TextRowsArea)) return;
  const int limit = AViewInfo->MaxLineCount;
  const bool fits = BuildTextRows(dc, AViewInfo->Text.c_str(), AViewInfo->TextRowsArea, AViewInfo->TextParams,
                                  AViewInfo->TextRows, AViewInfo->TextRowCount, limit);
  AViewInfo->IsTextClipped = !fits;
  if (AViewInfo->TextRowCount == 0) return;
  if (limit <= 0 || AViewInfo->TextRowCount < limit) {
    AViewInfo->IsTextClipped = false;
  } else {
    AViewInfo->TextRowCount = limit;
    AViewInfo->IsTextClipped =
        !fits && (flags & trEndEllipsis) && (flags & trWholeRowsOnly) && !(flags & trSingleLine);
  }
  PlaceTextRows(dc, AViewInfo->TextRowsArea, AViewInfo->TextParams, AViewInfo->TextRows,
                AViewInfo->TextRowCount);
  const int length = static_cast<int>(AViewInfo->Text.size());
  if (AViewInfo->SelStart < 0 || AViewInfo->SelStart >= length)
    AViewInfo->SelLength = 0;
  else
    AViewInfo->SelLength = std::min(AViewInfo->SelLength, length - AViewInfo->SelStart);
}

void DrawEditTextRows(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  if (!AViewInfo->TextRowsValid) CalculateEditTextRows(ACanvas, AViewInfo);
  // Measuring selects the canvas font into the device context.
  ACanvas->GetCanvas()->TextExtent(String());
  DrawTextRows(ACanvas->GetHandle(), AViewInfo->TextRect, AViewInfo->TextParams, AViewInfo->TextRows,
               AViewInfo->TextRowCount, AViewInfo->SelStart, AViewInfo->SelLength,
               AViewInfo->SelBackgroundColor, AViewInfo->SelTextColor, false);
}

void DrawTextEditText(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  if (AViewInfo->Text.empty()) return;
  if (AViewInfo->Font) ACanvas->SetFont(AViewInfo->Font);
  ACanvas->GetFont()->SetColor(AViewInfo->IsSelectedLook ? clHighlightText : AViewInfo->TextColor);
  AViewInfo->AdjustTextFont(ACanvas);
  DrawEditTextRows(ACanvas, AViewInfo);
}

void DrawMemoText(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  if (AViewInfo->Text.empty()) return;
  if (AViewInfo->Font) ACanvas->SetFont(AViewInfo->Font);
  ACanvas->GetFont()->SetColor(AViewInfo->TextColor);
  DrawEditTextRows(ACanvas, AViewInfo);
}

void PaintTextEdit(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  const bool listStyle = AViewInfo->EditingStyle == tesListOnly || AViewInfo->EditingStyle == tesNoCaret;
  const int mode = !AViewInfo->IsComboBoxStyle ? 0 : (listStyle ? 2 : 1);
  DrawEditBackgroundAndButtons(ACanvas, AViewInfo, !(AViewInfo->Transparent || AViewInfo->IsSelectedLook),
                               mode);
  TRect r = AViewInfo->ClientRect;
  if (!AViewInfo->IsInplace) {
    if (AViewInfo->ThemeState == 0 && !AViewInfo->Transparent && AViewInfo->EditingStyle != tesNoCaret)
      ACanvas->FrameRect(r, AViewInfo->GetBackgroundColor());
    InflateRect(&r, -1, -1);
  }
  if (AViewInfo->IsSelectedLook) ACanvas->FillRect(r, clHighlight);
  if (!(AViewInfo->InnerEditVisible && AViewInfo->IsInnerEditShown)) AViewInfo->PaintText(ACanvas);
  if (!AViewInfo->Focused || AViewInfo->IsInplace || AViewInfo->IsInnerEditShown || AViewInfo->HasPopupWindow)
    return;
  ACanvas->GetFont()->SetColor(AViewInfo->IsSelectedLook ? clHighlightText : clBtnText);
  ACanvas->SetBrushColor(AViewInfo->IsSelectedLook ? clHighlight : AViewInfo->GetBackgroundColor());
  ACanvas->DrawFocusRect(r);
}

// ---- The view infos' own painting ----

void TcxCustomTextEditViewInfo::PaintText(TcxCanvas* ACanvas) {
  DrawTextEditText(ACanvas, this);
}

void TcxCustomTextEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  PaintTextEdit(ACanvas, this);
}

void TcxCustomCheckBoxViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  PaintCheckBox(ACanvas, this);
}
