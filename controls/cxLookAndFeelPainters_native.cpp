// The native look: the system's visual styles, with the standard look's
// drawing wherever a theme class does not open.
#include "cxLookAndFeelPainters_internal.h"

using namespace cxpainters;
using Standard = TcxStandardLookAndFeelPainter;

namespace {

constexpr int TMT_BUTTONFACE_PROPERTY = 204;
constexpr int TMT_TEXTCOLOR = 3803;
constexpr int TS_TRUE = 1;
const RECT ProbeRect{0, 0, 100, 100};

int PushState(TcxButtonState AState) {
  static const int states[] = {5, 1, 2, 3, 4};
  return states[AState];
}

int CheckState(TcxButtonState AState, bool AChecked) {
  static const int states[] = {1, 1, 2, 3, 4};
  return states[AState] + (AChecked ? 4 : 0);
}

int HeaderState(TcxButtonState AState) {
  static const int states[] = {1, 1, 2, 3, 1};
  return states[AState];
}

// Close button, drop-down button, tab item and scroll-bar arrows.
int ItemState(TcxButtonState AState) {
  static const int states[] = {1, 1, 2, 3, 4};
  return states[AState];
}

int ThumbState(TcxButtonState AState) {
  switch (AState) {
  case cxbsHot:
    return 2;
  case cxbsPressed:
    return 3;
  case cxbsDisabled:
    return 4;
  default:
    return 1;
  }
}

std::wstring Wide(const String& s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring result(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), result.data(), n);
  return result;
}

HTHEME Theme(TdxThemedObjectType AType) {
  return OpenThemeHandle(AType);
}

} // namespace

TcxCustomLookAndFeelPainterClass TcxWinXPLookAndFeelPainter::Instance() {
  static const TcxWinXPLookAndFeelPainter painter;
  return &painter;
}

void TcxWinXPLookAndFeelPainter::DrawArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                 TcxArrowDirection ADirection, bool AWithBorder) const {
  HTHEME theme = Theme(totScrollBar);
  if (!theme) return Standard::DrawArrowButton(ACanvas, R, AState, ADirection, AWithBorder);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 1, 4 * ADirection + ItemState(AState), &R,
                                 nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawPushButton(TcxCanvas* ACanvas, const TRect& R,
                                                TcxButtonState AState) const {
  HTHEME theme = Theme(totButton);
  if (!theme) return Standard::DrawPushButton(ACanvas, R, AState);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 1, PushState(AState), &R, nullptr);
}

int TcxWinXPLookAndFeelPainter::GetBorderWidth() const {
  return Theme(totListView) ? 1 : 2;
}

void TcxWinXPLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  HTHEME theme = Theme(totListView);
  if (!theme) return Standard::DrawControlBorder(ACanvas, R);
  HDC dc = ACanvas->GetHandle();
  const int saved = SaveDC(dc);
  ::ExcludeClipRect(dc, R.left + 1, R.top + 1, R.right - 1, R.bottom - 1);
  dxUxTheme::DrawThemeBackground(theme, dc, 5, 0, &R, nullptr);
  RestoreDC(dc, saved);
}

int TcxWinXPLookAndFeelPainter::GetButtonBorderWidth(TcxButtonState AState) const {
  HTHEME theme = Theme(totButton);
  if (!theme) return 2;
  RECT content{};
  dxUxTheme::GetThemeBackgroundContentRect(theme, nullptr, 1, PushState(AState), &ProbeRect, &content);
  return content.left;
}

TColor TcxWinXPLookAndFeelPainter::GetButtonFaceColor(TcxButtonState AState) const {
  HTHEME theme = Theme(totButton);
  COLORREF color = 0;
  if (!theme ||
      FAILED(dxUxTheme::GetThemeColor(theme, 1, PushState(AState), TMT_BUTTONFACE_PROPERTY, &color)))
    return clBtnFace;
  return static_cast<TColor>(color);
}

TRect TcxWinXPLookAndFeelPainter::CalculateButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) const {
  HTHEME theme = Theme(totButton);
  RECT content{};
  if (theme &&
      SUCCEEDED(dxUxTheme::GetThemeBackgroundContentRect(theme, ACanvas->GetHandle(), 1, 1, &R, &content)))
    return content;
  return Standard::CalculateButtonFocusRect(ACanvas, R);
}

TColor TcxWinXPLookAndFeelPainter::GetButtonGlyphColor(TcxButtonState AState) const {
  HTHEME theme = Theme(totButton);
  COLORREF color = 0;
  if (!theme || FAILED(dxUxTheme::GetThemeColor(theme, 1, PushState(AState), TMT_TEXTCOLOR, &color)))
    return Standard::GetButtonGlyphColor(AState);
  return static_cast<TColor>(color);
}

void TcxWinXPLookAndFeelPainter::DrawPushButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption,
                                                TcxButtonState AState, bool AWithBorder, TColor AFaceColor,
                                                TColor ATextColor) const {
  HTHEME theme = Theme(totButton);
  if (!theme)
    return Standard::DrawPushButton(ACanvas, R, ACaption, AState, AWithBorder, AFaceColor, ATextColor);
  HDC dc = ACanvas->GetHandle();
  dxUxTheme::DrawThemeBackground(theme, dc, 1, PushState(AState), &R, nullptr);
  const std::wstring caption = Wide(ACaption);
  dxUxTheme::DrawThemeText(theme, dc, 1, PushState(AState), caption.c_str(), -1,
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, &R);
}

void TcxWinXPLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                      TColor AColor) const {
  HTHEME theme = Theme(totTreeView);
  if (!theme) return Standard::DrawTreeExpandButton(ACanvas, R, AExpanded, AColor);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 2, AExpanded ? 2 : 1, &R, nullptr);
  ACanvas->ExcludeClipRect(R);
}

void TcxWinXPLookAndFeelPainter::DrawTreeExpandButtonOnColor(TcxCanvas* ACanvas, const TRect& R,
                                                             bool AExpanded, TColor AColor) const {
  if (!Theme(totTreeView)) return Standard::DrawTreeExpandButtonOnColor(ACanvas, R, AExpanded, AColor);
  DrawTreeExpandButton(ACanvas, R, AExpanded, clDefault);
}

int TcxWinXPLookAndFeelPainter::GetTreeExpandButtonExtent() const {
  HTHEME theme = Theme(totTreeView);
  if (!theme) return 12;
  SIZE size{};
  dxUxTheme::GetThemePartSize(theme, nullptr, 2, 2, nullptr, TS_TRUE, &size);
  return size.cx;
}

int TcxWinXPLookAndFeelPainter::GetSmallExpandButtonExtent() const {
  return Theme(totTreeView) ? GetTreeExpandButtonExtent() : 9;
}

int TcxWinXPLookAndFeelPainter::GetCheckFrameWidth() const {
  return Theme(totButton) ? 0 : 2;
}

void TcxWinXPLookAndFeelPainter::DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               bool AChecked, TColor AColor) const {
  HTHEME theme = Theme(totButton);
  if (!theme) return Standard::DrawCheckMark(ACanvas, R, AState, AChecked, AColor);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 3, CheckState(AState, AChecked), &R, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R,
                                                TcxButtonState AState) const {
  if (!Theme(totButton)) Standard::DrawCheckFrame(ACanvas, R, AState);
}

void TcxWinXPLookAndFeelPainter::DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AState,
                                                 bool AChecked, bool AFocused, TColor ABrushColor,
                                                 bool AHighlightFrame) const {
  HTHEME theme = Theme(totButton);
  if (!theme) {
    // A radio button must show even when the theme has no buttons.
    Standard::Instance()->DrawRadioButton(ACanvas, X, Y, AState, AChecked, AFocused, ABrushColor,
                                          AHighlightFrame);
    return;
  }
  HDC dc = ACanvas->GetHandle();
  const int state = CheckState(AState, AChecked);
  SIZE size{};
  dxUxTheme::GetThemePartSize(theme, dc, 2, state, nullptr, TS_TRUE, &size);
  const RECT r{X, Y, X + size.cx, Y + size.cy};
  dxUxTheme::DrawThemeBackground(theme, dc, 2, state, &r, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds,
                                                const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                                TcxBorders ABorders, TcxButtonState AState,
                                                TAlignment AHAlign, TcxAlignmentVert AVAlign, bool AMultiLine,
                                                bool AShowEndEllipsis, const String& AText,
                                                const TFont* AFont, TColor ATextColor, TColor ABkColor,
                                                const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  HTHEME theme = Theme(totHeader);
  if (!theme)
    return Standard::DrawHeaderCell(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AHAlign,
                                    AVAlign, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
                                    AOnDrawBackground);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 1, HeaderState(AState), &ABounds, nullptr);
  TRect text = ATextAreaBounds;
  if (AState == cxbsPressed) OffsetRect(&text, 1, 1);
  DrawThemedText(ACanvas, theme, 1, HeaderState(AState), ABounds, text, AHAlign, AVAlign, AMultiLine,
                 AShowEndEllipsis, AText, AFont, ATextColor, ABkColor);
}

void TcxWinXPLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  TcxUltraFlatLookAndFeelPainter::Instance()->DrawSortArrow(ACanvas, R, AAscending);
}

int TcxWinXPLookAndFeelPainter::GetHeaderBorderWidth() const {
  HTHEME theme = Theme(totHeader);
  if (!theme) return 1;
  RECT content{};
  dxUxTheme::GetThemeBackgroundContentRect(theme, nullptr, 1, 1, &ProbeRect, &content);
  return (content.left + content.top) / 2;
}

void TcxWinXPLookAndFeelPainter::DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AHAlign,
                                                TcxAlignmentVert AVAlign, bool AMultiLine,
                                                const String& AText, const TFont* AFont, TColor ATextColor,
                                                TColor ABkColor,
                                                const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  HTHEME theme = Theme(totTrackBar);
  if (!theme)
    return Standard::DrawFooterCell(ACanvas, ABounds, AHAlign, AVAlign, AMultiLine, AText, AFont, ATextColor,
                                    ABkColor, AOnDrawBackground);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 1, 1, &ABounds, nullptr);
  DrawThemedText(ACanvas, theme, 1, 1, ABounds, GetFooterTextBounds(ABounds), AHAlign, AVAlign, AMultiLine,
                 false, AText, AFont, ATextColor, ABkColor);
}

int TcxWinXPLookAndFeelPainter::GetFooterCellBorderWidth() const {
  HTHEME theme = Theme(totTrackBar);
  if (!theme) return 1;
  RECT content{};
  dxUxTheme::GetThemeBackgroundContentRect(theme, nullptr, 1, 1, &ProbeRect, &content);
  return content.left;
}

void TcxWinXPLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) const {
  HTHEME theme = Theme(totEdit);
  if (!theme) return Standard::DrawFooterBorder(ACanvas, R);
  dxUxTheme::DrawThemeEdge(theme, ACanvas->GetHandle(), 0, 0, &R, BDR_RAISEDINNER, BF_RECT, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawFilterCloseButton(TcxCanvas* ACanvas, const TRect& R,
                                                       TcxButtonState AState) const {
  HTHEME theme = Theme(totWindow);
  if (!theme) return Standard::DrawFilterCloseButton(ACanvas, R, AState);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 19, ItemState(AState), &R, nullptr);
}

void TcxWinXPLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R,
                                                          TcxButtonState AState, bool AActive) const {
  HTHEME theme = Theme(totComboBox);
  if (!theme) return Standard::DrawFilterDropDownButton(ACanvas, R, AState, AActive);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 1, ItemState(AState), &R, nullptr);
}

SIZE TcxWinXPLookAndFeelPainter::GetFilterCheckButtonExtent() const {
  HTHEME theme = Theme(totButton);
  if (!theme) return Standard::GetFilterCheckButtonExtent();
  SIZE size{};
  dxUxTheme::GetThemePartSize(theme, nullptr, 3, 5, nullptr, TS_TRUE, &size);
  return size;
}

SIZE TcxWinXPLookAndFeelPainter::GetFilterCloseButtonExtent() const {
  HTHEME theme = Theme(totWindow);
  if (!theme) return Standard::GetFilterCloseButtonExtent();
  SIZE size{};
  dxUxTheme::GetThemePartSize(theme, nullptr, 19, 1, nullptr, TS_TRUE, &size);
  return SIZE{size.cx + 4, size.cy + 4};
}

void TcxWinXPLookAndFeelPainter::DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                         const String& AText, TcxButtonState AState, bool AVertical,
                                         const TFont* AFont, TColor ATextColor, TColor ABkColor) const {
  HTHEME theme = AVertical ? nullptr : Theme(totTab);
  if (!theme)
    return Standard::DrawTab(ACanvas, R, ABorders, AText, AState, AVertical, AFont, ATextColor, ABkColor);
  TRect clip = R;
  TRect r2 = R;
  if (!ABorders.Contains(bLeft)) r2.left -= 2;
  if (!ABorders.Contains(bRight)) r2.right += 2;
  const bool selected = AState == cxbsPressed;
  if (selected)
    ++r2.bottom;
  else
    --clip.bottom;
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), 1, ItemState(AState), &r2, &clip);
  if (selected) r2.bottom -= 2;
  DrawThemedText(ACanvas, theme, 1, ItemState(AState), clip, r2, taCenter, vaCenter, false, false, AText,
                 AFont, ATextColor, ABkColor);
}

void TcxWinXPLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide,
                                              TcxBorders ABorders, bool AVertical) const {
  if (AVertical || !Theme(totTab)) Standard::DrawTabFrame(ACanvas, R, ASide, ABorders, AVertical);
}

void TcxWinXPLookAndFeelPainter::DrawTabsBackground(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                    bool AVertical) const {
  HTHEME theme = AVertical ? nullptr : Theme(totTab);
  if (!theme) return Standard::DrawTabsBackground(ACanvas, R, ABorders, AVertical);
  HDC dc = ACanvas->GetHandle();
  RECT content{};
  dxUxTheme::GetThemeBackgroundContentRect(theme, dc, 9, 0, &R, &content);
  TRect r2 = R;
  r2.right += (R.right - content.right) - (content.left - R.left);
  r2.bottom += 10;
  // Only the pane's top edge shows.
  dxUxTheme::DrawThemeBackground(theme, dc, 9, 0, &r2, &R);
}

int TcxWinXPLookAndFeelPainter::GetTabExtentHorz(bool AVertical) const {
  return !AVertical && Theme(totTab) ? 1 : 0;
}

int TcxWinXPLookAndFeelPainter::GetTabExtentVert(bool AVertical) const {
  return !AVertical && Theme(totTab) ? 1 : 0;
}

void TcxWinXPLookAndFeelPainter::DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                                   TColor ABkColor,
                                                   const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  TcxFlatLookAndFeelPainter::Instance()->DrawIndicatorCell(ACanvas, R, AKind, ABkColor, AOnDrawBackground);
}

void TcxWinXPLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                   TcxScrollBarPart APart, TcxButtonState AState) const {
  if (IsRectEmpty(&R)) return;
  HTHEME theme = Theme(totScrollBar);
  if (!theme) return Standard::DrawScrollBarPart(ACanvas, AHorizontal, R, APart, AState);
  HDC dc = ACanvas->GetHandle();
  switch (APart) {
  case sbpLineUp:
  case sbpLineDown:
    DrawArrowButton(ACanvas, R, AState, ScrollBarArrowDirection(AHorizontal, APart), true);
    return;
  case sbpThumbnail:
    dxUxTheme::DrawThemeBackground(theme, dc, AHorizontal ? 2 : 3, ThumbState(AState), &R, nullptr);
    dxUxTheme::DrawThemeBackground(theme, dc, AHorizontal ? 8 : 9, 0, &R, nullptr);
    return;
  case sbpPageUp:
  case sbpPageDown: {
    const int part = (AHorizontal ? 4 : 6) + (APart == sbpPageDown ? 1 : 0);
    dxUxTheme::DrawThemeBackground(theme, dc, part, ThumbState(AState), &R, nullptr);
    return;
  }
  default:
    return;
  }
}

void TcxWinXPLookAndFeelPainter::DrawThemedText(TcxCanvas* ACanvas, HTHEME ATheme, int APartId, int AStateId,
                                                const TRect&, const TRect& ATextRect, TAlignment AHAlign,
                                                TcxAlignmentVert AVAlign, bool AMultiLine,
                                                bool AShowEndEllipsis, const String& AText,
                                                const TFont* AFont, TColor ATextColor, TColor) const {
  if (AText.empty()) return;
  static const DWORD horz[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  static const DWORD vert[] = {DT_TOP, DT_BOTTOM, DT_VCENTER};
  ACanvas->SetFont(AFont);
  ACanvas->GetFont()->SetColor(ATextColor);
  const DWORD flags = DT_NOPREFIX | DT_EDITCONTROL | horz[AHAlign] | vert[AVAlign] |
                      (AMultiLine ? DT_WORDBREAK : DT_SINGLELINE) | (AShowEndEllipsis ? DT_END_ELLIPSIS : 0);
  const std::wstring text = Wide(AText);
  dxUxTheme::DrawThemeText(ATheme, ACanvas->GetHandle(), APartId, AStateId, text.c_str(), -1, flags, 0,
                           &ATextRect);
}
