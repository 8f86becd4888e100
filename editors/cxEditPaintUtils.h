// The routines every editor lays out and paints with: border geometry and
// colours, backgrounds, embedded buttons in each button style and natively,
// glyphs, the check box, text rows, spin buttons and popup window frames. Stateless; they read
// the view data and view infos and draw through the canvas, the brush cache,
// the theme cache and the painters.
#pragma once

#include "cxEdit.h"
#include "cxCheckBox.h"
#include "cxDropDownEdit.h"
#include "cxLookAndFeels.h"
#include "cxSpinEdit.h"

// A visual style is asked for and the class's theme opens.
inline bool IsThemedPartAvailable(bool ANativeStyle, TdxThemedObjectType AThemeClass) {
  return IsNativeBorderAvailable(ANativeStyle, AThemeClass);
}

inline TcxCustomLookAndFeelPainterClass GetEditPainterClass(bool ANativeStyle, TcxLookAndFeelKind AKind) {
  return PainterForLook(ANativeStyle, AKind);
}

// Narrows the clipping to R and gives the previous clipping back at the
// scope's end.
class TNarrowedClip {
public:
  TNarrowedClip(TcxCanvas* ACanvas, const TRect& R) : FCanvas(ACanvas), FRegion(ACanvas->GetClipRegion()) {
    ACanvas->IntersectClipRect(R);
  }
  ~TNarrowedClip() { FCanvas->SetClipRegion(FRegion, rcSet); }
  TNarrowedClip(const TNarrowedClip&) = delete;
  TNarrowedClip& operator=(const TNarrowedClip&) = delete;

private:
  TcxCanvas* FCanvas;
  TcxRegion* FRegion;
};

// Primitive fills and lines.
void FillRectWithBrush(HDC DC, const TRect& R, HBRUSH Brush);
// The band of AOuter outside AInner.
void FillRectBetween(TcxCanvas* ACanvas, const TRect& AOuter, const TRect& AInner, HBRUSH ABrush);
// ASegmentCount axis-parallel segments through APoints, and the last point.
void DrawSolidPolyLine(TcxCanvas* ACanvas, const TPoint* APoints, int ASegmentCount, bool AUseBrush,
                       TColor AColor);
void GetCenteredPos(const TRect& R, const SIZE& ASize, bool AShiftOdd, int& X, int& Y);
void DrawEllipsisDots(TcxCanvas* ACanvas, int X, int Y, int ADotSize, TColor AColor);

// Glyphs and images.
bool IsGlyphAssigned(TBitmap* AGlyph);
void DrawGlyph(TcxCanvas* ACanvas, int X, int Y, TBitmap* ABackground, TColor ABkColor, bool AEnabled,
               TBitmap* AGlyph);
void DrawImageOnBackground(TcxCanvas* ACanvas, TCustomImageList* AImages, int AIndex, TBitmap* ABitmap,
                           bool AEnabled, TColor ABkColor, const TRect& R);

// Editor border geometry.
int GetEditNativeState(TcxCustomEditViewData* AViewData);
int GetEditBorderWidth(TcxContainerBorderStyle AContainerBorderStyle);
void GetEditBorderExtent(TcxCustomEditViewData* AViewData, TRect& R);
void GetEditContentMargins(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData, TRect& R);
bool HasEditShadow(TcxCustomEditViewData* AViewData);
void GetEditColors(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo, TColor& ABackground,
                   TColor& ATextColor);
bool CalculateEditBorders(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo);
int GetEditHotBounds(const TcxCustomEditViewInfo* AViewInfo, const TRect& ABounds, TRect& R);
void SetEditWindowRegion(const TcxCustomEditViewInfo* AViewInfo, HWND AWnd);
void GetEditPopupOwnerBounds(const TcxCustomEditViewInfo* AViewInfo, TRect& R);

// Embedded buttons.
int GetEditButtonHorzMargin(TcxCanvas* ACanvas, const TcxEditButtonViewInfo* AButton);
int GetEditButtonVertMargin(TcxCanvas* ACanvas, const TcxCustomEditViewInfo* AViewInfo);
int GetEditButtonWidth(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButton);
void CalculateButtonNativeInfo(TcxEditButtonViewInfo* AButton);
// The face of an ultra-flat button by its state.
TColor GetUltraFlatButtonBackColor(const TcxEditButtonViewInfo* AButton);
// The one-pixel frame of an ultra-flat button that is neither hot nor
// pressed, or of an in-place one: false for the others, which draw their
// own outline.
bool DrawUltraFlatButtonFrame(TcxCanvas* ACanvas, const TcxCustomEditViewInfo* AViewInfo,
                              const TcxEditButtonViewInfo* AButton, TRect& R);

// Painting.
// ANativeContentMode: 0 the theme's content rectangle, 1 a combo box's, 2
// the client rectangle.
void DrawEditBackgroundAndButtons(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, bool AFillBackground,
                                  int ANativeContentMode);
void DrawEditButton(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AIndex);
void DrawEditButtonBorder(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AIndex, const TRect& R,
                          TcxEditButtonStyle AStyle);
void DrawEditButtonContent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AIndex,
                           TColor ABackColor, TColor AArrowColor, const TRect& R);

// The cell size of the system's check-box bitmap, measured at the start of
// the library.
extern int CheckBoxWidth;
extern int CheckBoxHeight;
void InitCheckBoxSize();

// ---- Check box ----

void GetCheckBoxGlyphSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData,
                          TcxCustomCheckBoxViewInfo* AViewInfo, SIZE& ASize);
void CalculateCheckBoxBorders(TcxCustomEditViewData* AViewData, TcxCustomCheckBoxViewInfo* AViewInfo);
void CalculateCheckBoxState(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData,
                            TcxCustomCheckBoxViewInfo* AViewInfo);
// The Button theme's state of a check box (part 3).
int GetCheckNativeState(TcxCustomCheckBoxViewInfo* AViewInfo);
void PaintCheckBox(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo);
// The caption step of the check box's painting.
void PaintCheckBoxCaption(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo);
int EditTextFlagsToCanvasFlags(int AFlags);
int CanvasFlagsToEditTextFlags(int AFlags);
String RemoveAccelChars(const String& AText);

// ---- Text ----

SIZE GetEditTextOffsets(TcxCustomEditViewData* AViewData);
void GetTextEditTextOffsets(TcxCustomEditViewData* AViewData, TRect& R);
void GetMemoTextOffsets(TAlignment AAlignment, TRect& R);
void CalculateEditTextRect(TcxCustomEditViewData* AViewData, TcxCustomTextEditViewInfo* AViewInfo);
void CalculateTextContentSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData, const String& AText,
                              SIZE& ASize, bool AAddOffsets, const TcxEditSizeProperties& ASizeProperties,
                              int AFlags);
void AdjustTextFlagsForRows(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData,
                            TcxCustomTextEditViewInfo* AViewInfo);
void CalculateEditTextRows(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
void DrawEditTextRows(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
void DrawTextEditText(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
void DrawMemoText(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
void PaintTextEdit(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);

// ---- Spin buttons ----

// ADirection: 0 up, 1 down, 2 left, 3 right.
void GetArrowExtent(const SIZE& ASize, int ADirection, TRect& R);
void DrawArrows(TcxCanvas* ACanvas, int ASize, const TRect& R, TColor AColor, bool AShifted, bool ADouble,
                int ADirection);
void CalculateSpinButtonsNativeInfo(TcxCustomEditViewData* AViewData, TcxSpinEditViewInfo* AViewInfo);
void PaintSpinEdit(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo);
void DrawSpinButtonBorder(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, int AIndex, const TRect& R,
                          TcxEditButtonStyle AStyle);
void DrawSpinButtonContent(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, int AIndex, TColor ABackColor,
                           TColor AArrowColor, const TRect& R);

// ---- Popup window frames ----

int GetPopupClientEdgeWidth(const TcxCustomEditPopupWindowViewInfo* AViewInfo);
int GetPopupBorderWidth(const TcxCustomEditPopupWindowViewInfo* AViewInfo, bool AWithClientEdge);
int GetPopupPanelMinHeight(const TcxCustomEditPopupWindowViewInfo* AViewInfo);
// Also sets the panel height and the edge sizing width.
void GetPopupBorderExtent(TcxCustomEditPopupWindowViewInfo* AViewInfo, TRect& R);
void CalculatePopupWindowLayout(TcxCustomEditPopupWindowViewInfo* AViewInfo);
void CalculatePopupSizeGrip(TcxCustomEditPopupWindowViewInfo* AViewInfo);
void CalculatePopupCloseButton(TcxCustomEditPopupWindowViewInfo* AViewInfo);
// R shrinks by what was drawn.
void DrawPopupBorder(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo, TRect& R);
void DrawPopupEditBorder(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo, TRect& R);
void DrawPopupCloseButton(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo);
// The system's size grip in ACorner of R, its lines pointing into the corner.
void PaintSizeGrip(TcxCanvas* ACanvas, const TRect& R, int ACorner, bool ANative);
void PaintPopupWindow(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo);
