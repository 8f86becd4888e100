// Painters: stateless objects that draw the standard elements of the
// owner-drawn controls (buttons, arrows, borders, check and radio buttons,
// header, footer and indicator cells, tabs, scroll-bar parts) in one look
// each. Composite operations call the overridable ones of the painter they
// were called on, so an override changes every drawing that uses it.
#pragma once

#include "cxGraphics.h"
#include "dxThemeManager.h"

#include "ImgList.h"
#include "StdCtrls.h"

#include <cstdint>
#include <functional>
#include <vector>

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
enum TcxArrowDirection { adUp, adDown, adLeft, adRight };
enum TcxAlignmentVert { vaTop, vaBottom, vaCenter };
enum TcxScrollBarPart { sbpNone, sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown };
enum TcxIndicatorKind { ikNone, ikArrow, ikEdit, ikInsert, ikMultiDot, ikMultiArrow };
// The sides on which a cell touches another one (the bits of TcxBorders).
using TcxNeighbors = TcxBorders;
// true: the caller painted the background itself.
using TcxDrawBackgroundEvent = std::function<bool(TcxCanvas* ACanvas, const TRect& R)>;

class TcxCustomLookAndFeelPainter;
using TcxCustomLookAndFeelPainterClass = const TcxCustomLookAndFeelPainter*;

class TcxCustomLookAndFeelPainter {
public:
  virtual ~TcxCustomLookAndFeelPainter() = default;
  static TcxCustomLookAndFeelPainterClass Instance();

  virtual bool IsNative() const { return false; }
  virtual void DrawDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor) const;
  virtual void DrawContent(TcxCanvas* ACanvas, const TRect& R, const TRect& ATextAreaBounds,
                           TAlignment AHAlign, TcxAlignmentVert AVAlign, bool AMultiLine,
                           bool AShowEndEllipsis, const String& AText, const TFont* AFont, TColor ATextColor,
                           TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const;
  virtual TRect GetFooterContentBounds(const TRect& R) const;
  virtual TRect GetFooterTextBounds(const TRect& R) const;
  virtual int GetPainterStyle() const { return 1; }

  // Element colours: fixed, the same in every look.
  TColor ElementColor6() const { return clWindow; }
  TColor ElementColor7() const { return clWindowText; }
  TColor ElementColor8() const { return clBtnShadow; }
  TColor ElementColor9() const { return clBtnHighlight; }
  TColor ElementColor10() const { return clBtnText; }
  TColor ElementColor11() const { return clBtnFace; }
  TColor ElementColor12() const { return clBtnText; }
  TColor ElementColor13() const { return clBtnShadow; }
  TColor ElementColor14() const { return clBtnFace; }
  TColor ElementColor15() const { return clBtnText; }
  TColor ElementColor16() const { return clBtnShadow; }
  TColor ElementColor17() const { return clBtnFace; }
  TColor ElementColor18() const { return clBtnFace; }
  TColor ElementColor19() const { return clBtnText; }
  TColor ElementColor20() const { return clBtnShadow; }
  TColor ElementColor21() const { return clBtnFace; }
  TColor ElementColor22() const { return clBtnFace; }
  TColor ElementColor23() const { return clBtnText; }
  TColor ElementColor24() const { return clBlue; }
  TColor ElementColor25() const { return ElementColor13(); }
  TColor ElementColor26() const { return clHighlight; }
  TColor ElementColor27() const { return clHighlightText; }
  TColor ElementColor28() const { return clBtnFace; }
  TColor ElementColor29() const { return clBtnFace; }
  TColor ElementColor30() const { return clBtnText; }
  TColor ElementColor31() const { return clBtnFace; }
  virtual void DrawArrow(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection ADirection,
                         TColor AColor) const;
  virtual void DrawArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               TcxArrowDirection ADirection, bool AWithBorder = true) const;
  virtual void DrawPushButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawStateArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                              TcxArrowDirection ADirection) const;
  virtual int GetBorderWidth() const { return 0; }
  virtual void DrawControlBorder(TcxCanvas*, const TRect&) const {}
  virtual int GetButtonBorderWidth(TcxButtonState) const { return 0; }
  virtual TColor GetButtonFaceColor(TcxButtonState) const { return clBtnFace; }
  virtual TRect CalculateButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) const;
  virtual int GetButtonTextIndent() const { return 0; }
  virtual int GetButtonPressedShift() const { return 0; }
  virtual TColor GetButtonGlyphColor(TcxButtonState AState) const;
  virtual TcxButtonState GetButtonGlyphState(TcxButtonState AState) const { return AState; }
  virtual void DrawPushButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption,
                              TcxButtonState AState, bool AWithBorder = true, TColor AFaceColor = clDefault,
                              TColor ATextColor = clDefault) const;
  virtual void DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, int AButtonCount,
                               int AButtonIndex, TColor ABorderColor) const;
  virtual void DrawButtonFrame(TcxCanvas*, const TRect&, TcxButtonState) const {}
  virtual void DrawTreeExpandButton(TcxCanvas*, const TRect&, bool, TColor) const {}
  virtual void DrawTreeExpandButtonOnColor(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                           TColor AColor) const;
  virtual int GetTreeExpandButtonExtent() const { return 0; }
  virtual bool HasHotTracking() const { return false; }
  virtual int GetSmallExpandButtonExtent() const { return 9; }
  virtual int GetCheckFrameWidth() const { return 2; }
  virtual TColor GetCheckBackgroundColor(TcxButtonState AState) const;
  virtual void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
                             TColor AColor) const;
  virtual void DrawCheckFrame(TcxCanvas*, const TRect&, TcxButtonState) const {}
  virtual void DrawCheckBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked) const;
  virtual void DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AState, bool AChecked,
                               bool AFocused, TColor ABrushColor, bool AHighlightFrame = false) const;
  virtual void DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                              TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                              TAlignment AHAlign, TcxAlignmentVert AVAlign, bool AMultiLine,
                              bool AShowEndEllipsis, const String& AText, const TFont* AFont,
                              TColor ATextColor, TColor ABkColor,
                              const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const;
  virtual void DrawHeaderCellEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                TAlignment AHAlign, TcxAlignmentVert AVAlign, bool AMultiLine,
                                bool AShowEndEllipsis, const String& AText, const TFont* AFont,
                                TColor ATextColor, TColor ABkColor,
                                const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const;
  virtual void DrawHeaderFrame(TcxCanvas*, const TRect&, TcxNeighbors, TcxBorders) const {}
  virtual void InvertHeaderCell(TcxCanvas* ACanvas, const TRect& R) const { ACanvas->InvertRect(R); }
  virtual void DrawSortArrow(TcxCanvas*, const TRect&, bool) const {}
  virtual TcxBorders GetHeaderEdges(TcxNeighbors) const { return cxBordersAll; }
  virtual int GetHeaderBorderWidth() const { return 0; }
  virtual TRect GetHeaderContentBounds(const TRect& R, TcxBorders ABorders) const;
  virtual bool HeaderOptionA() const { return true; }
  virtual int GetHeaderHeight(int AFontHeight) const;
  virtual int GetHeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders, const String& AText,
                             const TFont* AFont) const;
  virtual bool HeaderOptionB() const { return false; }
  virtual SIZE GetSortArrowAreaSize() const;
  virtual SIZE GetSortArrowSize() const { return SIZE{0, 0}; }
  virtual void DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AHAlign,
                              TcxAlignmentVert AVAlign, bool AMultiLine, const String& AText,
                              const TFont* AFont, TColor ATextColor, TColor ABkColor,
                              const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const;
  virtual TcxBorders GetFooterEdges() const { return cxBordersAll; }
  virtual int GetFooterBorderWidth() const { return 0; }
  virtual int GetFooterCellBorderWidth() const { return 0; }
  virtual int GetFooterCellSpacing() const { return 0; }
  virtual bool FooterOption() const { return true; }
  virtual void DrawFooterBorder(TcxCanvas*, const TRect&) const {}
  virtual void DrawFooterCellBorder(TcxCanvas*, const TRect&) const {}
  virtual void DrawFilterCheckBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                  bool AChecked) const;
  virtual void DrawFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawFilterDropDownButton(TcxCanvas*, const TRect&, TcxButtonState, bool) const {}
  virtual SIZE GetFilterCheckButtonExtent() const { return SIZE{13, 13}; }
  virtual SIZE GetFilterCloseButtonExtent() const { return SIZE{16, 14}; }
  virtual SIZE GetFilterDropDownButtonExtent() const { return SIZE{15, 0}; }
  virtual bool FilterOption() const { return true; }
  virtual void DrawTab(TcxCanvas*, const TRect&, TcxBorders, const String&, TcxButtonState, bool,
                       const TFont*, TColor, TColor) const {}
  virtual void DrawTabFrame(TcxCanvas*, const TRect&, TcxBorder, TcxBorders, bool) const {}
  virtual void DrawTabsBackground(TcxCanvas*, const TRect&, TcxBorders, bool) const {}
  virtual int GetTabExtentHorz(bool) const { return 0; }
  virtual int GetTabExtentVert(bool) const { return 0; }
  virtual int GetTabBorderWidth(bool) const { return 0; }
  virtual void DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor ABkColor,
                                 const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const;
  virtual void DrawIndicatorCellEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                   TColor ABkColor,
                                   const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const;
  virtual bool IndicatorOption() const { return true; }
  virtual void DrawScrollBarPart(TcxCanvas*, bool, const TRect&, TcxScrollBarPart, TcxButtonState) const {}

protected:
  TcxCustomLookAndFeelPainter() = default;
  // The default drawings, reachable from descendants that fall back to them.
  void DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind) const;
};

class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxCustomLookAndFeelPainterClass Instance();
  using TcxCustomLookAndFeelPainter::DrawPushButton;
  int GetPainterStyle() const override { return 1; }
  int GetBorderWidth() const override { return 2; }
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  int GetButtonBorderWidth(TcxButtonState AState) const override { return AState == cxbsDefault ? 3 : 2; }
  int GetButtonTextIndent() const override { return 1; }
  int GetButtonPressedShift() const override { return 1; }
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  int GetTreeExpandButtonExtent() const override { return 12; }
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                       TcxBorders ABorders) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  SIZE GetSortArrowSize() const override { return SIZE{8, 7}; }
  int GetHeaderBorderWidth() const override { return 1; }
  int GetFooterBorderWidth() const override { return 1; }
  int GetFooterCellBorderWidth() const override { return 1; }
  int GetFooterCellSpacing() const override { return 1; }
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                bool AActive) const override;
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ABorders,
                    bool AVertical) const override;
  void DrawTabsBackground(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                          bool AVertical) const override;
  int GetTabBorderWidth(bool) const override { return 1; }
  void DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                         TcxButtonState AState) const override;

protected:
  TcxStandardLookAndFeelPainter() = default;
};

class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxCustomLookAndFeelPainterClass Instance();
  using TcxCustomLookAndFeelPainter::DrawPushButton;
  int GetPainterStyle() const override { return 0; }
  int GetBorderWidth() const override { return 1; }
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  int GetButtonBorderWidth(TcxButtonState AState) const override { return AState == cxbsDefault ? 2 : 1; }
  int GetButtonTextIndent() const override { return 1; }
  int GetButtonPressedShift() const override { return 1; }
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  int GetTreeExpandButtonExtent() const override { return 11; }
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                       TcxBorders ABorders) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  SIZE GetSortArrowSize() const override { return SIZE{8, 7}; }
  int GetHeaderBorderWidth() const override { return 1; }
  int GetFooterBorderWidth() const override { return 1; }
  int GetFooterCellBorderWidth() const override { return 1; }
  int GetFooterCellSpacing() const override { return 1; }
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                bool AActive) const override;
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ABorders,
                    bool AVertical) const override;
  void DrawTabsBackground(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                          bool AVertical) const override;
  int GetTabBorderWidth(bool) const override { return 1; }
  void DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                         TcxButtonState AState) const override;

protected:
  TcxFlatLookAndFeelPainter() = default;
};

class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxCustomLookAndFeelPainterClass Instance();
  using TcxCustomLookAndFeelPainter::DrawPushButton;
  int GetPainterStyle() const override { return 2; }
  int GetBorderWidth() const override { return 1; }
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  int GetButtonBorderWidth(TcxButtonState AState) const override { return AState == cxbsDefault ? 2 : 1; }
  TColor GetButtonFaceColor(TcxButtonState AState) const override;
  TRect CalculateButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) const override;
  int GetButtonTextIndent() const override { return 2; }
  int GetButtonPressedShift() const override { return 0; }
  TColor GetButtonGlyphColor(TcxButtonState AState) const override;
  TcxButtonState GetButtonGlyphState(TcxButtonState) const override { return cxbsNormal; }
  void DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, int AButtonCount,
                       int AButtonIndex, TColor ABorderColor) const override;
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  int GetTreeExpandButtonExtent() const override { return 11; }
  bool HasHotTracking() const override { return true; }
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderCellEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                        TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                        TAlignment AHAlign, TcxAlignmentVert AVAlign, bool AMultiLine, bool AShowEndEllipsis,
                        const String& AText, const TFont* AFont, TColor ATextColor, TColor ABkColor,
                        const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                       TcxBorders ABorders) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  SIZE GetSortArrowSize() const override { return SIZE{7, 8}; }
  TcxBorders GetHeaderEdges(TcxNeighbors ANeighbors) const override;
  int GetHeaderBorderWidth() const override { return 1; }
  TcxBorders GetFooterEdges() const override { return TcxBorders{bRight, bBottom}; }
  int GetFooterBorderWidth() const override { return 1; }
  int GetFooterCellBorderWidth() const override { return 1; }
  int GetFooterCellSpacing() const override { return 2; }
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                bool AActive) const override;
  SIZE GetFilterCloseButtonExtent() const override { return SIZE{16, 15}; }
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ABorders,
                    bool AVertical) const override;
  void DrawTabsBackground(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                          bool AVertical) const override;
  int GetTabBorderWidth(bool) const override { return 1; }
  void DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                         TcxButtonState AState) const override;

protected:
  TcxUltraFlatLookAndFeelPainter() = default;
};

class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
public:
  static TcxCustomLookAndFeelPainterClass Instance();
  bool IsNative() const override { return true; }
  int GetPainterStyle() const override { return 3; }
  void DrawArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                       TcxArrowDirection ADirection, bool AWithBorder = true) const override;
  void DrawPushButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  int GetBorderWidth() const override;
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  int GetButtonBorderWidth(TcxButtonState AState) const override;
  TColor GetButtonFaceColor(TcxButtonState AState) const override;
  TRect CalculateButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) const override;
  int GetButtonTextIndent() const override { return 2; }
  int GetButtonPressedShift() const override { return 0; }
  TColor GetButtonGlyphColor(TcxButtonState AState) const override;
  void DrawPushButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption, TcxButtonState AState,
                      bool AWithBorder = true, TColor AFaceColor = clDefault,
                      TColor ATextColor = clDefault) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  void DrawTreeExpandButtonOnColor(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                   TColor AColor) const override;
  int GetTreeExpandButtonExtent() const override;
  bool HasHotTracking() const override { return true; }
  int GetSmallExpandButtonExtent() const override;
  int GetCheckFrameWidth() const override;
  void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
                     TColor AColor) const override;
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AState, bool AChecked, bool AFocused,
                       TColor ABrushColor, bool AHighlightFrame = false) const override;
  void DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                      TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState, TAlignment AHAlign,
                      TcxAlignmentVert AVAlign, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                      const TFont* AFont, TColor ATextColor, TColor ABkColor,
                      const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const override;
  void InvertHeaderCell(TcxCanvas*, const TRect&) const override {}
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  SIZE GetSortArrowSize() const override { return SIZE{7, 8}; }
  int GetHeaderBorderWidth() const override;
  bool HeaderOptionA() const override { return false; }
  bool HeaderOptionB() const override { return true; }
  void DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AHAlign, TcxAlignmentVert AVAlign,
                      bool AMultiLine, const String& AText, const TFont* AFont, TColor ATextColor,
                      TColor ABkColor,
                      const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const override;
  int GetFooterBorderWidth() const override { return 1; }
  int GetFooterCellBorderWidth() const override;
  int GetFooterCellSpacing() const override { return 1; }
  bool FooterOption() const override { return false; }
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                bool AActive) const override;
  SIZE GetFilterCheckButtonExtent() const override;
  SIZE GetFilterCloseButtonExtent() const override;
  void DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, const String& AText,
               TcxButtonState AState, bool AVertical, const TFont* AFont, TColor ATextColor,
               TColor ABkColor) const override;
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ABorders,
                    bool AVertical) const override;
  void DrawTabsBackground(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                          bool AVertical) const override;
  int GetTabExtentHorz(bool AVertical) const override;
  int GetTabExtentVert(bool AVertical) const override;
  void DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor ABkColor,
                         const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) const override;
  void DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                         TcxButtonState AState) const override;
  virtual void DrawThemedText(TcxCanvas* ACanvas, HTHEME ATheme, int APartId, int AStateId,
                              const TRect& ABounds, const TRect& ATextRect, TAlignment AHAlign,
                              TcxAlignmentVert AVAlign, bool AMultiLine, bool AShowEndEllipsis,
                              const String& AText, const TFont* AFont, TColor ATextColor,
                              TColor ABkColor) const;

protected:
  TcxWinXPLookAndFeelPainter() = default;
};

// Fills the scroll-bar page patterns from the system colours of the moment.
void RefreshScrollBarPatterns();
// The process-wide indicator images (5 by 9, arrow, edit, insert, multi-dot,
// multi-arrow).
TCustomImageList* cxIndicatorImages();

// The radio button of the non-native looks, built pixel by pixel from a map
// of the system's own radio button.
class TcxRadioButtonImageList : public TObject {
public:
  TcxRadioButtonImageList();
  ~TcxRadioButtonImageList() override;
  TcxRadioButtonImageList(const TcxRadioButtonImageList&) = delete;
  TcxRadioButtonImageList& operator=(const TcxRadioButtonImageList&) = delete;
  // Builds the 48 images when the list is empty.
  void PrepareImages(bool AHighlightFrame);
  void DrawImage(TcxCanvas* ACanvas, int AIndex, int X, int Y, TColor ABrushColor);
  void Clear();
  int GetCount() const;
  SIZE GetImageSize() const;

private:
  std::unique_ptr<TBitmap> FMask;
  std::unique_ptr<TBitmap> FScratch;
  std::unique_ptr<TImageList> FImages;
};

TcxRadioButtonImageList* GetRadioButtonImageList();
// Index of a radio image: state, checked, painter style, focus.
int cxRadioButtonImageIndex(TcxButtonState AState, bool AChecked, int APainterStyle, bool AFocused);

// Where the system draws its radio button inside a check-box cell: the cell
// size, the radio's rectangle and its dot's rectangle (cell coordinates).
// Measured from the system's drawing; a drawn default when that yields no
// ring or dot.
struct TcxSystemRadioGeometry {
  SIZE Cell;
  TRect Radio;
  TRect Dot;
};
TcxSystemRadioGeometry cxMeasureSystemRadioButton();

// The class of each pixel of a radio circle, by which its images are
// coloured.
enum TcxRadioPixelClass : uint8_t {
  rpOutside,
  rpOuterTopLeft,
  rpOuterBottomRight,
  rpInnerTopLeft,
  rpInnerBottomRight,
  rpInterior,
  rpDot
};
struct TcxRadioPixelMap {
  int ColCount = 0;
  int RowCount = 0;
  std::vector<uint8_t> Cells;
  uint8_t& At(int row, int col) { return Cells[row * ColCount + col]; }
  uint8_t At(int row, int col) const { return Cells[row * ColCount + col]; }
};
// The map of the measured radio. The two image caches part only on the
// inner ring's pixels on the diagonal itself right of the centre column:
// those join the lower-right half, or the upper-left one when
// ADiagonalRightUpperLeft.
TcxRadioPixelMap cxBuildRadioPixelMap(const TcxSystemRadioGeometry& AGeometry, bool ADiagonalRightUpperLeft);

void cxLookAndFeelPaintersInitialize();
void cxLookAndFeelPaintersFinalize();
