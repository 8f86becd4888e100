// Drawing and conversion routines shared by the further editors, and the
// check box of a list item drawn by the check-box painting of the editors.
// Nothing here keeps state.
#pragma once

#include "cxCheckBox.h"
#include "cxEdit.h"

// How a colour sample shows the default colour.
enum TcxDefaultColorStyle { cxdcClear, cxdcColor, cxdcHatched, cxdcText, cxdcCustom };
enum TcxTrackBarOrientation { tboHorizontal, tboVertical };

// Paints the check box of one list item; the owner copies its style, glyph
// and glyph count in before each paint.
class TcxCustomCheckPaintHelper : public TPersistent {
public:
  explicit TcxCustomCheckPaintHelper(TWinControl* AOwner);
  ~TcxCustomCheckPaintHelper() override;

  TcxCustomEditStyle* GetStyle() const { return FStyle.get(); }
  TBitmap* GetGlyph() const { return FGlyph; }
  void SetGlyph(TBitmap* AValue) { FGlyph = AValue; }
  int GetGlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int AValue) { FGlyphCount = AValue; }
  bool GlyphAssigned() const;
  // AState is not looked at: the square is the same in every state.
  bool CheckHitTest(const TRect& ARect, TcxCheckBoxState AState, int X, int Y, bool ARightToLeft) const;

  virtual TcxCheckBoxState GetNextCheckState(TcxCheckBoxState AState, bool AAllowGrayed) const;
  virtual void PaintCheck(TcxCanvas* ACanvas, const TRect& ARect, TcxCheckBoxState AState, bool AEnabled,
                          int AMinLeft, int AMinTop);
  virtual void CalcTextArea(const TRect& ARect, TRect& ATextRect) const;
  virtual void CalcCheckOrigin(const TRect& ARect, TPoint& APoint) const;
  virtual int CheckSize() const { return 13; }

protected:
  String ClassName() const override { return "TcxCustomCheckPaintHelper"; }

private:
  TWinControl* FOwner;
  std::unique_ptr<TcxCustomEditStyle> FStyle;
  TBitmap* FGlyph = nullptr;
  int FGlyphCount = 6;
};

class TcxCheckPaintHelper : public TcxCustomCheckPaintHelper {
public:
  using TcxCustomCheckPaintHelper::TcxCustomCheckPaintHelper;

protected:
  String ClassName() const override { return "TcxCheckPaintHelper"; }
};

// Rectangles and text.
void ExtendRectBy(TRect& R, int ALeft, int ATop, int ARight, int ABottom);
inline int RectWidth(const TRect& R) {
  return R.right - R.left;
}
inline int RectHeight(const TRect& R) {
  return R.bottom - R.top;
}
// The offset that centres ASize in the rectangle's height.
int CenterOffset(const TRect& R, int ASize);
int BuildTextFormat(int AStart, TAlignment AHorzAlign, TcxEditVertAlignment AVertAlign, bool AEndEllipsis,
                    bool AWordWrap, int ATabCount);
int FontTextHeight(TFont* AFont);
int FontTextWidth(TFont* AFont, const String& AText);

// Values and texts.
bool VarIsNullOrEmpty(const Variant& AValue);
bool VarIsIntegerType(const Variant& AValue);
bool VarIsFloatType(const Variant& AValue);
// False for anything that is not a number, a lone sign or separator too:
// these run while painting.
bool IsIntegerText(const String& AText);
bool IsFloatText(const String& AText);
// The signs and digits of AText as a number; raises EConvertError where
// they do not make one (1-2).
int DigitsToInt(const String& AText, bool AStopAtOther);
TColor TextToColor(const String& AText, bool& AValid);
TShiftState CurrentShiftState();

// Drawing.
void DrawColorSample(TcxCanvas* ACanvas, const TRect& ARect, TColor AFrameColor, TColor AColor,
                     TColor ABackgroundColor, TcxDefaultColorStyle AStyle);
// Right and bottom are the last column and row painted.
void DrawTwoColorFrame(TcxCanvas* ACanvas, const TRect& ARect, TColor ATopLeftColor, TColor ABottomRightColor,
                       TRect& AInnerRect);
void DrawPointedThumbDownRight(TcxCanvas* ACanvas, const TRect& ARect, TcxTrackBarOrientation AOrientation,
                               int ASize, TcxLookAndFeelKind AKind, TColor AColor);
void DrawPointedThumbUpLeft(TcxCanvas* ACanvas, const TRect& ARect, TcxTrackBarOrientation AOrientation,
                            int ASize, TcxLookAndFeelKind AKind, TColor AColor);
// The parent's background and graphic controls under AControl, into ADC
// in AControl's client coordinates.
void DrawParentBackground(TControl* AControl, HDC ADC, bool ADrawParent);

// Focus rectangles of the label and the track bar: the text rectangle grown
// by one pixel, empty without text, left alone in place or unfocused. The
// track bar's first takes the background of its enabled state.
void CalcLabelFocusRect(TcxCustomEditViewData* AViewData, TcxCustomTextEditViewInfo* AViewInfo,
                        TRect& AFocusRect);
void CalcTrackBarFocusRect(TcxCustomEditViewData* AViewData, TcxCustomTextEditViewInfo* AViewInfo,
                           TRect& AFocusRect);
void CalcProgressBarFocusRect(TcxCustomEditViewData* AViewData, TcxCustomTextEditViewInfo* AViewInfo,
                              TRect& AFocusRect);
