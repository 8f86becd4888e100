// The rows of the customizing dialog's commands list, drawn like the
// manager's items in each look: a glyph cell, the caption, a drop-down part
// or a sub-menu arrow, and samples of edits and combos.
#include "dxBarCustForm.h"

#include "ImgList.h"
#include "dxBarCommon.h"
#include "dxBarEdits.h"
#include "dxBarPainters.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"

namespace {

constexpr int kGlyphCellWidth = 24;
constexpr int kDropDownWidth = 13;

bool HasImage(TdxBarItem* Item) {
  return !Item->GetGlyph()->GetEmpty() || Item->IsImageAssigned();
}

bool IsDropDownButton(TdxBarItem* Item) {
  auto* button = dynamic_cast<TdxBarButton*>(Item);
  return button && button->GetButtonStyle() == bsDropDown;
}

bool IsCombo(TdxBarItem* Item) {
  return dynamic_cast<TCustomdxBarCombo*>(Item) != nullptr;
}

// A sub item shows its arrow; a container item whose links begin a group
// (a list) shows its caption in parentheses instead.
bool ShowsArrow(TdxBarItem* Item) {
  if (auto* container = dynamic_cast<TCustomdxBarContainerItem*>(Item)) return !container->FirstLinkBeginsGroup();
  return dynamic_cast<TCustomdxBarSubItem*>(Item) != nullptr;
}

String RowCaption(TdxBarItem* Item, const String& Caption) {
  auto* container = dynamic_cast<TCustomdxBarContainerItem*>(Item);
  return container && container->FirstLinkBeginsGroup() ? "(" + Caption + ")" : Caption;
}

SIZE GlyphSize(TdxBarItem* Item) {
  TBitmap* glyph = Item->GetGlyph();
  if (!glyph->GetEmpty()) return {glyph->GetWidth(), glyph->GetHeight()};
  TCustomImageList* images = Item->GetBarManager()->GetImages();
  return {images->GetWidth(), images->GetHeight()};
}

// The glyph rectangle centred in a cell, halves truncated.
TRect CenteredGlyphRect(const TRect& Cell, SIZE Size) {
  const int left = Cell.left + (Cell.Width() - Size.cx) / 2;
  const int top = Cell.top + (Cell.Height() - Size.cy) / 2;
  return TRect(left, top, left + Size.cx, top + Size.cy);
}

void DrawItemGlyph(TCanvas* Canvas, const TRect& Cell, TdxBarItem* Item, const TdxGlyphState& State) {
  TdxBarManager* manager = Item->GetBarManager();
  DrawStateGlyph(Canvas->GetHandle(), Canvas->GetBrush()->GetHandle(), Cell, manager->ImageListBkColor, clNone,
                 State, Item->GetImageIndex(), manager->GetImages(), Item->GetGlyph(),
                 CenteredGlyphRect(Cell, GlyphSize(Item)));
}

void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->GetBrush()->SetColor(Color);
  Canvas->FillRect(R);
}

void FrameRectSysColor(HDC DC, const TRect& R, int Index) {
  FrameRect(DC, &R, GetSysColorBrush(Index));
}

void VerticalLine(TCanvas* Canvas, int X, int Top, int Bottom) {
  Canvas->MoveTo(X, Top);
  Canvas->LineTo(X, Bottom);
}

// Theme parts and states of the samples.
constexpr int kToolbarButton = 1, kToolbarHot = 2, kComboDropDown = 1, kComboNormal = 1, kEditText = 1,
              kEditNormal = 1;

void WriteCaption(TCanvas* Canvas, TRect R, const String& Caption) {
  HDC dc = Canvas->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, Canvas->GetFont()->GetHandle());
  const COLORREF oldColor = SetTextColor(dc, ColorToRGB(Canvas->GetFont()->GetColor()));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, Caption.c_str(), static_cast<int>(Caption.size()), &R,
            DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
}

// The sample edit's box of an edit row: what the caption and the gap leave;
// a combo's box leaves 12 pixels for its button.
TRect ComboButtonRect(const TRect& Box) {
  return TRect(Box.right + 1, Box.top, Box.right + 12, Box.bottom);
}

} // namespace

// ---- Base ----

void TdxBarCustomizingFormPainter::DrawArrow(TCanvas* Canvas, int X, int Y) const {
  const TColor color = Canvas->GetFont()->GetColor();
  Canvas->GetPen()->SetColor(color);
  Canvas->GetBrush()->SetColor(color);
  const TPoint points[3] = {TPoint(X, Y), TPoint(X, Y + 6), TPoint(X + 3, Y + 3)};
  Canvas->Polygon(points, 3);
}

TColor TdxBarCustomizingFormPainter::GetBackgroundColor(bool Selected, TdxBarItem*) const {
  return Selected ? clHighlight : clBtnFace;
}

TColor TdxBarCustomizingFormPainter::GetTextColor(bool Selected) const {
  return Selected ? clHighlightText : clBtnText;
}

void TdxBarCustomizingFormPainter::DrawGlyphCell(TCanvas* Canvas, const TRect& R, bool Selected,
                                                  TdxBarItem* Item) const {
  const bool hasImage = HasImage(Item);
  const TRect cell(R.left, R.top, R.left + kGlyphCellWidth - 1, R.bottom);
  FillRectColor(Canvas, cell, GetBackgroundColor(Selected && !hasImage, Item));
  Canvas->FillRect(TRect(cell.right, R.top, cell.right + 1, R.bottom));
  if (!hasImage) return;
  TRect inner = cell;
  if (Selected) {
    DrawEdge(Canvas->GetHandle(), &inner, BDR_RAISEDINNER, BF_RECT);
    InflateRect(&inner, -1, -1);
  }
  TdxGlyphState state;
  state.Selected = Selected;
  state.StateImage = true;
  DrawItemGlyph(Canvas, inner, Item, state);
}

void TdxBarCustomizingFormPainter::DrawCaption(TCanvas* Canvas, TRect R, const String& Caption,
                                               int Indent) const {
  R.left += Indent;
  WriteCaption(Canvas, R, Caption);
}

void TdxBarCustomizingFormPainter::DrawCommand(TCanvas* Canvas, TRect R, bool Selected, const String& Caption,
                                               TdxBarItem* Item) const {
  DrawGlyphCell(Canvas, R, Selected, Item);
  const bool dropDown = IsDropDownButton(Item);
  TRect text(R.left + kGlyphCellWidth, R.top, R.right - (dropDown ? kDropDownWidth : 0), R.bottom);
  Canvas->GetFont()->SetColor(GetTextColor(Selected));
  FillRectColor(Canvas, text, GetBackgroundColor(Selected, Item));
  DrawCaption(Canvas, text, RowCaption(Item, Caption), 2);
  if (dropDown) {
    DrawDropDownPart(Canvas, TRect(R.right - kDropDownWidth, R.top, R.right, R.bottom), Selected, Item);
    Canvas->GetFont()->SetColor(GetTextColor(false));
    DrawArrow(Canvas, R.right - 9, R.top + 7);
  } else if (ShowsArrow(Item)) {
    DrawArrow(Canvas, R.right - 9, R.top + 7);
  }
}

void TdxBarCustomizingFormPainter::DrawDropDownPart(TCanvas* Canvas, TRect R, bool Selected,
                                                    TdxBarItem* Item) const {
  HDC dc = Canvas->GetHandle();
  if (Selected) {
    RECT edge = R;
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    InflateRect(&R, -1, -1);
  } else {
    RECT line(R.left - 1, R.top, R.right, R.bottom);
    DrawEdge(dc, &line, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_LEFT);
    R.left += 2;
  }
  FillRectColor(Canvas, R, GetBackgroundColor(false, Item));
}

// The caption box and the gap after it; the rest of the row is the sample's.
TRect TdxBarCustomizingFormPainter::DrawEditCaption(TCanvas* Canvas, const TRect& R, bool Selected,
                                                    const String& Caption, TdxBarItem* Item) const {
  Canvas->GetFont()->SetColor(GetTextColor(Selected));
  const TRect captionBox(R.left, R.top, R.left + Canvas->TextWidth(Caption) + 3, R.bottom);
  FillRectColor(Canvas, captionBox, GetBackgroundColor(Selected, Item));
  DrawCaption(Canvas, captionBox, Caption, 2);
  FillRectColor(Canvas, TRect(captionBox.right, R.top, captionBox.right + 4, R.bottom),
                GetBackgroundColor(false, Item));
  return TRect(captionBox.right + 4, R.top, R.right, R.bottom);
}

void TdxBarCustomizingFormPainter::DrawEditCommand(TCanvas* Canvas, TRect R, bool Selected,
                                                   const String& Caption, TdxBarItem* Item) const {
  HDC dc = Canvas->GetHandle();
  TRect box = DrawEditCaption(Canvas, R, Selected, Caption, Item);
  const TColor face = GetBackgroundColor(false, Item);
  if (Selected) {
    RECT edge = box;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  } else {
    FrameRectWithColor(dc, box, face);
  }
  InflateRect(&box, -1, -1);
  FrameRectWithColor(dc, box, face);
  InflateRect(&box, -1, -1);
  const bool combo = IsCombo(Item);
  if (combo) box.right -= 12;
  FillRectColor(Canvas, box, clWindow);
  if (!combo) return;
  TRect button = ComboButtonRect(box);
  if (Selected) {
    RECT edge = button;
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    Canvas->GetPen()->SetColor(face);
  } else {
    FrameRectWithColor(dc, button, clBtnHighlight);
    Canvas->GetPen()->SetColor(clBtnHighlight);
  }
  VerticalLine(Canvas, button.left - 1, button.top, button.bottom);
  InflateRect(&button, -1, -1);
  FillRectColor(Canvas, button, face);
  Canvas->GetPen()->SetColor(clBtnText);
  InflateRect(&button, 2, 0);
  DrawCenteredArrow(dc, button, true, true, false, false);
}

void TdxBarCustomizingFormPainter::DrawFocus(TCanvas*, const TRect&, TdxBarItem*) const {}

// ---- Standard ----

TdxBarCustomizingFormPainterClass TdxBarCustomizingFormStandardPainter::Instance() {
  static const TdxBarCustomizingFormStandardPainter painter;
  return &painter;
}

void TdxBarCustomizingFormStandardPainter::DrawFocus(TCanvas* Canvas, const TRect& R, TdxBarItem*) const {
  TRect r = R;
  InflateRect(&r, -2, -2);
  DrawFocusRect(Canvas->GetHandle(), &r);
}

// ---- Flat ----

TdxBarCustomizingFormPainterClass TdxBarCustomizingFormFlatPainter::Instance() {
  static const TdxBarCustomizingFormFlatPainter painter;
  return &painter;
}

TColor TdxBarCustomizingFormFlatPainter::GetBackgroundColor(bool Selected, TdxBarItem* Item) const {
  return Selected ? Item->GetBarManager()->GetFlatSelectionColor() : clWindow;
}

TColor TdxBarCustomizingFormFlatPainter::GetTextColor(bool) const {
  return clBtnText;
}

void TdxBarCustomizingFormFlatPainter::FillGlyphSquare(HDC DC, const TRect& R) const {
  FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
}

void TdxBarCustomizingFormFlatPainter::FrameSelected(HDC DC, const TRect& R) const {
  FrameRectHighlight(DC, R);
}

void TdxBarCustomizingFormFlatPainter::FrameDropDown(HDC DC, const TRect& R) const {
  FrameRectSysColor(DC, R, COLOR_BTNSHADOW);
}

void TdxBarCustomizingFormFlatPainter::DrawCommand(TCanvas* Canvas, TRect R, bool Selected,
                                                   const String& Caption, TdxBarItem* Item) const {
  HDC dc = Canvas->GetHandle();
  const int h = R.Height();
  const TRect square(R.left, R.top, R.left + h, R.bottom);
  if (Selected) {
    FillRectColor(Canvas, R, GetBackgroundColor(true, Item));
  } else {
    FillRectColor(Canvas, TRect(R.left + h, R.top, R.right, R.bottom), GetBackgroundColor(false, Item));
    FillGlyphSquare(dc, square);
  }
  if (HasImage(Item)) {
    TRect cell = CenteredGlyphRect(square, GlyphSize(Item));
    InflateRect(&cell, 1, 1);
    TdxGlyphState state;
    state.Selected = Selected;
    state.StateImage = true;
    state.CopyBackground = GlyphOverSquare();
    state.ShadowAllowed = state.FlatLook = !GlyphOverSquare();
    DrawItemGlyph(Canvas, cell, Item, state);
  }
  const bool dropDown = IsDropDownButton(Item);
  Canvas->GetFont()->SetColor(GetTextColor(Selected));
  DrawCaption(Canvas, TRect(R.left, R.top, R.right - (dropDown ? kDropDownWidth : 0), R.bottom),
              RowCaption(Item, Caption), h + 10);
  if (dropDown) {
    TRect part(R.right - kDropDownWidth, R.top, R.right, R.bottom);
    if (Selected)
      FrameSelected(dc, part);
    else
      FrameDropDown(dc, part);
    InflateRect(&part, -1, -1);
    FillRectColor(Canvas, part, GetBackgroundColor(Selected, Item));
    Canvas->GetFont()->SetColor(GetTextColor(false));
    DrawArrow(Canvas, R.right - 9, R.top + 7);
  } else if (ShowsArrow(Item)) {
    DrawArrow(Canvas, R.right - 9, R.top + 7);
  }
  if (Selected) FrameSelected(dc, R);
}

void TdxBarCustomizingFormFlatPainter::DrawEditCommand(TCanvas* Canvas, TRect R, bool Selected,
                                                       const String& Caption, TdxBarItem* Item) const {
  HDC dc = Canvas->GetHandle();
  Canvas->GetFont()->SetColor(GetTextColor(Selected));
  const TRect captionBox(R.left, R.top, R.left + Canvas->TextWidth(Caption) + 11, R.bottom);
  FillRectColor(Canvas, captionBox, GetBackgroundColor(Selected, Item));
  if (Selected) FrameRectHighlight(dc, TRect(captionBox.left, captionBox.top, captionBox.right + 1, R.bottom));
  DrawCaption(Canvas, captionBox, Caption, 5);
  FillRectColor(Canvas, TRect(captionBox.right, R.top, captionBox.right + 4, R.bottom),
                GetBackgroundColor(false, Item));
  DrawEditSample(Canvas, TRect(captionBox.right + 4, R.top, R.right, R.bottom), Selected, Item);
}

// The sample edit (and a combo's button) in the box after the caption.
void TdxBarCustomizingFormFlatPainter::DrawEditSample(TCanvas* Canvas, TRect Box, bool Selected,
                                                      TdxBarItem* Item) const {
  HDC dc = Canvas->GetHandle();
  if (Selected)
    FrameSelected(dc, Box);
  else
    FrameEditBox(dc, Box);
  InflateRect(&Box, -1, -1);
  const bool combo = IsCombo(Item);
  if (combo) Box.right -= 12;
  FillRectColor(Canvas, Box, clWindow);
  if (!combo) return;
  TRect button = ComboButtonRect(Box);
  if (Selected) {
    InflateRect(&button, 1, 1);
    FrameSelected(dc, button);
  } else {
    FrameRectWithColor(dc, button, ComboButtonFrameColor());
    Canvas->GetPen()->SetColor(ComboButtonFrameColor());
    VerticalLine(Canvas, button.left - 1, button.top, button.bottom);
  }
  InflateRect(&button, -1, -1);
  FillRectColor(Canvas, button, ComboButtonColor(Selected, Item));
  if (Selected) InflateRect(&button, -1, -1);
  DrawCenteredArrow(dc, button, true, true, false, false);
}

void TdxBarCustomizingFormFlatPainter::FrameEditBox(HDC DC, const TRect& R) const {
  FrameRectSysColor(DC, R, COLOR_BTNSHADOW);
}

TColor TdxBarCustomizingFormFlatPainter::ComboButtonFrameColor() const {
  return clBtnHighlight;
}

TColor TdxBarCustomizingFormFlatPainter::ComboButtonColor(bool Selected, TdxBarItem* Item) const {
  return Selected ? Item->GetBarManager()->GetFlatSelectionColor() : clWindow;
}

// ---- Office 2003 ----

TdxBarCustomizingFormPainterClass TdxBarCustomizingFormOffice11Painter::Instance() {
  static const TdxBarCustomizingFormOffice11Painter painter;
  return &painter;
}

TColor TdxBarCustomizingFormOffice11Painter::GetBackgroundColor(bool Selected, TdxBarItem*) const {
  return Selected ? Office11Colors.SelectedBackground : Office11Colors.MenuBackground;
}

TColor TdxBarCustomizingFormOffice11Painter::GetTextColor(bool) const {
  return Office11Colors.TextColor;
}

void TdxBarCustomizingFormOffice11Painter::FillGlyphSquare(HDC DC, const TRect& R) const {
  FillGradientTwoPart(DC, R, Office11Colors.ToolbarLight, true, Office11Colors.ToolbarDark);
}

void TdxBarCustomizingFormOffice11Painter::FrameSelected(HDC DC, const TRect& R) const {
  FrameRectWithBorderBrush(DC, R);
}

void TdxBarCustomizingFormOffice11Painter::FrameDropDown(HDC DC, const TRect& R) const {
  FrameRect(DC, &R, Office11Brushes.SeparatorDarkBrush);
}

void TdxBarCustomizingFormOffice11Painter::DrawEditCommand(TCanvas* Canvas, TRect R, bool Selected,
                                                           const String& Caption, TdxBarItem* Item) const {
  HDC dc = Canvas->GetHandle();
  const int h = R.Height();
  const TRect square(R.left, R.top, R.left + h, R.bottom);
  if (Selected)
    FillRectColor(Canvas, square, GetBackgroundColor(true, Item));
  else
    FillGlyphSquare(dc, square);
  Canvas->GetFont()->SetColor(GetTextColor(Selected));
  const TRect captionBox(square.right, R.top, square.right + Canvas->TextWidth(Caption) + 16, R.bottom);
  FillRectColor(Canvas, captionBox, GetBackgroundColor(Selected, Item));
  if (Selected) FrameRectWithBorderBrush(dc, TRect(R.left, R.top, captionBox.right + 1, R.bottom));
  DrawCaption(Canvas, captionBox, Caption, 10);
  FillRectColor(Canvas, TRect(captionBox.right, R.top, captionBox.right + 4, R.bottom),
                GetBackgroundColor(false, Item));
  DrawEditSample(Canvas, TRect(captionBox.right + 4, R.top, R.right, R.bottom), Selected, Item);
}

void TdxBarCustomizingFormOffice11Painter::FrameEditBox(HDC DC, const TRect& R) const {
  FrameRect(DC, &R, Office11Brushes.ToolbarFaceBrush);
}

TColor TdxBarCustomizingFormOffice11Painter::ComboButtonFrameColor() const {
  return clWindow;
}

TColor TdxBarCustomizingFormOffice11Painter::ComboButtonColor(bool Selected, TdxBarItem*) const {
  return Selected ? Office11Colors.SelectedBackground : Office11Colors.ToolbarFace;
}

// ---- XP ----

TdxBarCustomizingFormPainterClass TdxBarCustomizingFormXPPainter::Instance() {
  static const TdxBarCustomizingFormXPPainter painter;
  return &painter;
}

void TdxBarCustomizingFormXPPainter::DrawGlyphCell(TCanvas* Canvas, const TRect& R, bool Selected,
                                                   TdxBarItem* Item) const {
  const bool hasImage = HasImage(Item);
  const TRect cell(R.left, R.top, R.left + kGlyphCellWidth - 1, R.bottom);
  FillRectColor(Canvas, cell, GetBackgroundColor(Selected && !hasImage, Item));
  Canvas->FillRect(TRect(cell.right, R.top, cell.right + 1, R.bottom));
  if (!hasImage) return;
  if (Selected && dynamic_cast<TdxBarButton*>(Item))
    dxUxTheme::DrawThemeBackground(OpenThemeHandle(totToolBar), Canvas->GetHandle(), kToolbarButton, kToolbarHot,
                                   &cell, nullptr);
  TdxGlyphState state;
  state.Selected = Selected;
  state.StateImage = true;
  state.CopyBackground = true;
  DrawItemGlyph(Canvas, cell, Item, state);
}

void TdxBarCustomizingFormXPPainter::DrawDropDownPart(TCanvas* Canvas, TRect R, bool, TdxBarItem* Item) const {
  FillRectColor(Canvas, R, GetBackgroundColor(false, Item));
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totToolBar), Canvas->GetHandle(), kToolbarButton, kToolbarHot, &R,
                                 nullptr);
}

void TdxBarCustomizingFormXPPainter::DrawEditCommand(TCanvas* Canvas, TRect R, bool Selected,
                                                     const String& Caption, TdxBarItem* Item) const {
  HDC dc = Canvas->GetHandle();
  TRect box = DrawEditCaption(Canvas, R, Selected, Caption, Item);
  const TColor face = GetBackgroundColor(false, Item);
  FrameRectWithColor(dc, box, face);
  InflateRect(&box, -1, -1);
  if (IsCombo(Item)) {
    const TRect button(box.right - kDropDownWidth, box.top, box.right, box.bottom);
    dxUxTheme::DrawThemeBackground(OpenThemeHandle(totComboBox), dc, kComboDropDown, kComboNormal, &button, nullptr);
    box.right = button.left;
  }
  // The border only: the inside is excluded from the clip while it draws.
  TRect inner = box;
  InflateRect(&inner, -1, -1);
  HRGN saved = nullptr;
  bool existed = false;
  SaveDCClipRegion(dc, saved, existed);
  ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totEdit), dc, kEditText, kEditNormal, &box, nullptr);
  RestoreDCClipRegion(dc, saved, existed);
  FillRectColor(Canvas, inner, clWindow);
}

void TdxBarCustomizingFormXPPainter::DrawFocus(TCanvas* Canvas, const TRect& R, TdxBarItem* Item) const {
  TRect r = R;
  if (!dynamic_cast<TdxBarEdit*>(Item) && HasImage(Item)) r.left += kGlyphCellWidth;
  DrawFocusRect(Canvas->GetHandle(), &r);
}

TdxBarCustomizingFormPainterClass GetCustomizingFormPainterClass(TdxBarManager* BarManager) {
  TdxBarItemControlPainterClass painter = BarManager->GetPainterClass();
  if (painter == TdxBarItemControlXPPainter::Instance()) return TdxBarCustomizingFormXPPainter::Instance();
  if (painter == TdxBarItemControlOffice11Painter::Instance())
    return TdxBarCustomizingFormOffice11Painter::Instance();
  if (painter == TdxBarItemControlFlatPainter::Instance()) return TdxBarCustomizingFormFlatPainter::Instance();
  return TdxBarCustomizingFormStandardPainter::Instance();
}
