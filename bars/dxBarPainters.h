// The flat looks of bars and items: the Flat painter (highlight frames and
// tinted fills), the Office 2003 painter on it (gradients of the Office 2003
// colours) and the XP painter (the parts of the running visual style).
#pragma once

#include "dxBar.h"
#include "dxBarCommon.h"

#include <functional>

class TdxBarItemControlFlatPainter : public TdxBarItemControlPainter {
public:
  static TdxBarItemControlPainterClass Instance();

  void DrawButtonBorder(const TdxBarItemControl* Control, HDC DC, HBRUSH Brush, bool Fits, const TRect& R,
                        int PaintType, bool NoImage, bool Selected, bool Down, bool Pressed) const override;
  void DrawCheckMark(TCustomdxBarControl* BarControl, HDC DC, int X, int Y, int Scale,
                     bool Enabled) const override;
  void DrawGlyph(const TdxBarItemControl* Control, HDC DC, TRect R, const TRect& GlyphRect, HBRUSH Brush,
                 bool Fits, int PaintType, bool Selected, bool Down, bool Pressed, bool Grey) const override;
  TColor GetFloatCaptionColor(const TdxBarControl* BarControl, bool Active) const override;
  TColor GetCaptionGlyphColor(const TdxBarControl* BarControl, int State) const override;
  void DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawMarkChevrons(TdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  int GetCaptionTextOffset(const TRect& MarkRect) const override { return MarkRect.left + 2; }
  void DrawMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R, bool Down, bool GlyphShown,
                    bool Selected) const override;
  void DrawLoweredBorder(const TdxBarItemControl* Control, HDC DC, TRect& R) const override;
  void GetTextColors(const TdxBarItemControl* Control, int PaintType, bool Enabled, bool Selected,
                     bool DroppedDown, int& TextColorIndex, HBRUSH& Brush) const override;
  HBRUSH GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType, bool NoImage, bool Selected,
                            bool Down, bool Pressed) const override;
  bool IsFlatStyle() const override { return true; }
  int GetButtonBorderWidth() const override { return 1; }
  int GetGripOffset() const override { return 1; }
  int GetGripAreaSize() const override { return GetGripOffset() + GetGripWidth() + 2; }
  int GetButtonArrowWidth(const TdxBarManager* Manager) const override;
  int GetLargeButtonArrowWidth(const TdxBarManager* Manager) const override;
  int GetSeparatorIndent() const override { return 8; }
  bool ConnectsSubMenuToButton() const override { return true; }
  bool HasShadow(const TCustomdxBarControl* BarControl) const override;
  HBRUSH GetToolbarBrush(const TdxBarManager* Manager) const override;
  HBRUSH GetToolbarWindowBrush(const TCustomdxBarControl* BarControl) const override;
  HBRUSH GetCheckedBrush(const TdxBarManager* Manager) const override;
  HBRUSH GetCheckedSelectedBrush(const TdxBarManager* Manager) const override;
  HBRUSH GetSelectedBrush(const TdxBarManager* Manager) const override;
  int GetEditHeightExtra() const override { return 7; }
  bool HotTracksCloseButton() const override { return true; }
  bool SupportsQuickCustomization() const override { return true; }
  bool AlignsQuickControlLeft() const override { return true; }
  int GetSeparatorLineOffset() const override { return (GetSeparatorSize() - 1) / 2; }
  int GetSeparatorSize() const override { return 5; }
  void DrawToolbarSeparator(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, HBRUSH Brush,
                            bool Horizontal) const override;
  void DrawFloatingCloseButton(TdxBarControl* BarControl, HDC DC, int State, const TRect& R) const override;
  void DrawMDIButton(TdxBarControl* BarControl, HDC DC, int Kind, const TRect& R, bool Hot,
                     bool Pressed) const override;
  void DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  void DrawFloatingFrame(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  void DrawFloatingCaption(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, TColor Color,
                           const TRect& R) const override;
  void DrawFloatingMark(TdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  TRect CalcMarkBounds(TdxBarControl* BarControl) const override;
  bool RepaintsAfterDropDown() const override { return true; }
  void DrawDropDownPart(const TdxBarItemControl* Control, HDC DC, const TRect& R, HBRUSH Brush, int TextColorIndex,
                        bool Selected, bool Pressed, bool DroppedDown, bool DropDownEnabled, bool HasMenu,
                        int PaintType) const override;
  int GetMenuTextOffset(const TdxBarItemControl* Control) const override;
  void AdjustMenuItemHeight(int& Height) const override { Height += 2; }
  void AdjustMenuItemWidth(int& Width) const override { Width += 9; }
  int GetSubMenuArrowSize(const TCustomdxBarControl* BarControl) const override;
  int GetSubItemHeight(TdxBarSubItemControl* Control) const override;
  int GetSubItemWidth(TdxBarSubItemControl* Control) const override;
  void DrawSubItem(TdxBarSubItemControl* Control, HDC DC, const TRect& R, bool Selected, bool Down,
                   int PaintType) const override;
  int GetMenuSeparatorSize() const override { return 5; }
  int GetMenuBorderSize() const override { return 2; }
  void CalcMenuMetrics(TdxBarSubMenuControl* Menu, int& ItemHeight, int& ArrowWidth, int& ExpandHeight,
                       int& GlyphSize) const override;
  void CalcMenuClientRect(TdxBarSubMenuControl* Menu, bool Measuring, int& Limit, TRect& R) const override {
    CalcMenuClientRectInset(Menu, Measuring, Limit, R, 1);
  }
  SIZE CalcMenuSize(TdxBarSubMenuControl* Menu, int ItemsWidth, int Extent) const override {
    return CalcMenuSizeWith(Menu, ItemsWidth, Extent, 4, 3);
  }
  int GetDetachCaptionHeight(TdxBarSubMenuControl* Menu) const override;
  void DrawMenuContent(TdxBarSubMenuControl* Menu, HDC DC, int Count, HBRUSH Brush) const override;
  void DrawMenuFrame(TdxBarSubMenuControl* Menu, HDC DC, TRect R) const override;
  void DrawMenuBorder(TdxBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect R) const override;
  void DrawDetachCaption(TdxBarSubMenuControl* Menu, HDC DC, const TRect& R) const override;
  void DrawMenuSeparator(TdxBarSubMenuControl* Menu, TdxBarItemControl* Control, bool SideStrip, const TRect& R,
                         HDC DC) const override;
  int GetExpandArrowSize(int ExpandHeight) const override { return (ExpandHeight - 4) / 2; }
  void CalcDetachCaptionRect(TRect& R) const override { InflateRect(&R, -2, -2); }
  void GetMenuItemBrush(const TdxBarSubMenuControl* Menu, HBRUSH& Brush) const override {
    Brush = GetMenuBrush(Menu);
  }
  HBRUSH GetMenuBrush(const TCustomdxBarControl*) const override { return GetSysColorBrush(COLOR_WINDOW); }
  int GetMenuCaptionExtraWidth() const override { return 9; }

  // Edits and combos.
  void GetComboTextColors(const TdxBarItemControl* Control, int PaintType, bool Enabled, bool Selected,
                          bool DroppedDown, int& TextColorIndex, HBRUSH& Brush) const override;
  void DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC, int PaintType, bool Selected,
                               const TRect& R, TRect& ButtonRect) const override;
  int GetDropDownListBorder() const override { return 2; }
  void DrawDropDownListBorder(HDC DC, const TRect& R) const override;
  void DrawComboListItem(TCanvas* Canvas, const TRect& R, const String& Text, bool DrawingValue) const override;
  int GetEditCaptionOffset(const TdxBarEditControl*, int CaptionWidth) const override { return CaptionWidth + 11; }
  void DrawEditFrame(const TdxBarEditControl* Control, HDC DC, TRect& R, int PaintType,
                     bool Selected) const override;
  void DrawEditCaption(const TdxBarEditControl* Control, HDC DC, bool Selected, int PaintType,
                       TRect& R) const override;
  void DrawEditValueText(const TdxBarEditControl* Control, HDC DC, bool Force, const TRect& R) const override;
  void AdjustEditValueRect(TRect& R) const override { R.top += 2; }
  DWORD GetEditStyle() const override { return TdxBarItemControlPainter::GetEditStyle() | ES_MULTILINE; }
  void SetEditMargins(const TdxBarEditControl* Control, HWND Wnd) const override;
  void SelectEditText(HWND Wnd, bool Notify) const override;

  // Appended by the flat looks.
  virtual void FrameSelected(HDC DC, const TRect& R) const;
  virtual HBRUSH GetFlatShadowBrush() const;
  // The frame with its owner gap, the inside filled with the bar background.
  virtual void DrawFramedBox(TCustomdxBarControl* BarControl, HDC DC, TCustomdxBarControl* Popup,
                             const TRect& R) const;
  // FrameBarControl around R (client coordinates of BarControl), leaving
  // open the band where Popup, opened from Control, touches it: the band is
  // given to FillOwnerJoint.
  virtual void FrameWithOwnerGap(TCustomdxBarControl* BarControl, HDC DC, TCustomdxBarControl* Popup,
                                 const TdxBarItemControl* Control, const TRect& R) const;
  virtual void FrameBarControl(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const;
  virtual void FillOwnerJoint(TCustomdxBarControl* BarControl, HDC DC, const TdxBarItemControl* Control,
                              const TRect& JointRect) const;
  virtual HBRUSH GetSeparatorBrush(const TCustomdxBarControl* BarControl) const;

protected:
  TdxBarItemControlFlatPainter() = default;
};

class TdxBarItemControlOffice11Painter : public TdxBarItemControlFlatPainter {
public:
  static TdxBarItemControlPainterClass Instance();

  void DrawButtonBorder(const TdxBarItemControl* Control, HDC DC, HBRUSH Brush, bool Fits, const TRect& R,
                        int PaintType, bool NoImage, bool Selected, bool Down, bool Pressed) const override;
  void DrawGlyph(const TdxBarItemControl* Control, HDC DC, TRect R, const TRect& GlyphRect, HBRUSH Brush,
                 bool Fits, int PaintType, bool Selected, bool Down, bool Pressed, bool Grey) const override;
  void DrawArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool Flat) const override;
  void DrawArrowTriangle(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled,
                         bool Flat) const override;
  void GetEditColors(TCustomdxBarControl* BarControl, bool Enabled, TColor& TextColor,
                     TColor& BkColor) const override;
  TColor GetFadedImageColor(const TdxBarManager* Manager) const override;
  void GetCaptionTextColors(const TdxBarItemControl* Control, bool Enabled, bool Highlighted,
                            bool FlatHighlight, TColor& TextColor, TColor& SecondColor) const override;
  bool DrawsNonRecentItself() const override { return true; }
  TColor GetFloatCaptionColor(const TdxBarControl* BarControl, bool Active) const override;
  TColor GetFloatCaptionTextColor(const TdxBarControl* BarControl) const override;
  TColor GetCaptionGlyphColor(const TdxBarControl* BarControl, int State) const override;
  void DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawMarkChevrons(TdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  // Colour is a colour value here, not a system colour index.
  void DrawDropDownArrow(HDC DC, int X, int Y, int Width, int Color) const override;
  void DrawDropDownPart(const TdxBarItemControl* Control, HDC DC, const TRect& R, HBRUSH Brush, int TextColorIndex,
                        bool Selected, bool Pressed, bool DroppedDown, bool DropDownEnabled, bool HasMenu,
                        int PaintType) const override;
  void GetTextColors(const TdxBarItemControl* Control, int PaintType, bool Enabled, bool Selected,
                     bool DroppedDown, int& TextColorIndex, HBRUSH& Brush) const override;
  HBRUSH GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType, bool NoImage, bool Selected,
                            bool Down, bool Pressed) const override;
  int GetGripOffset() const override {
    return TdxBarItemControlFlatPainter::GetGripOffset() + GetGripDotSpacing();
  }
  int GetFloatingBorderWidth() const override { return 3; }
  int GetFloatingBorderHeight() const override { return 3; }
  int GetNonDockableGripSize(const TdxBar*) const override { return 2; }
  void DrawMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R, bool Down, bool GlyphShown,
                    bool Selected) const override;
  void DrawDockControlBackground(TdxDockControl* DockControl, HDC DC, const TRect& R, HBRUSH Brush,
                                 TColor Color) const override;
  bool HasCustomBackground() const override { return true; }
  HBRUSH GetBarBackgroundBrush(const TdxBarManager* Manager) const override;
  void DrawDockedBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                               const TRect& Source, const TRect& R) const override;
  void DrawFloatingBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                 const TRect& Source, const TRect& R) const override;
  bool HasShadow(const TCustomdxBarControl* BarControl) const override;
  HBRUSH GetToolbarBrush(const TdxBarManager* Manager) const override;
  HBRUSH GetToolbarWindowBrush(const TCustomdxBarControl* BarControl) const override;
  HBRUSH GetCheckedBrush(const TdxBarManager* Manager) const override;
  HBRUSH GetCheckedSelectedBrush(const TdxBarManager* Manager) const override;
  HBRUSH GetSelectedBrush(const TdxBarManager* Manager) const override;
  int GetComboButtonWidth(int) const override { return 13; }
  TRect GetDockedBorderWidths(const TdxBarControl* BarControl) const override;
  TRect GetDockedBorderOffsets(const TdxBarControl* BarControl) const override;
  void DrawToolbarSeparator(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, HBRUSH Brush,
                            bool Horizontal) const override;
  void FillCloseButtonBackground(TdxBarControl* BarControl, HDC DC, int State, const TRect& R) const override;
  void DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  void DrawFloatingFrame(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  void DrawFloatingCaption(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, TColor Color,
                           const TRect& R) const override;
  void DrawBottomBarSizeGrip(TdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                             const TRect& R) const override;
  void DrawBottomBarEdge(TdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawBottomBarBackground(TdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                               const TRect& R) const override;
  SIZE GetSizeGripSize() const override;
  TRect CalcMarkHitRect(TdxBarControl* BarControl) const override;
  void InvalidateMark(TdxBarControl* BarControl) const override;
  void FrameSelected(HDC DC, const TRect& R) const override;
  HBRUSH GetFlatShadowBrush() const override;
  void FrameBarControl(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void FillOwnerJoint(TCustomdxBarControl* BarControl, HDC DC, const TdxBarItemControl* Control,
                      const TRect& JointRect) const override;
  HBRUSH GetSeparatorBrush(const TCustomdxBarControl* BarControl) const override;
  void DrawOwnerJoint(TCustomdxBarControl* BarControl, HDC DC) const override;

  void CalcMenuMetrics(TdxBarSubMenuControl* Menu, int& ItemHeight, int& ArrowWidth, int& ExpandHeight,
                       int& GlyphSize) const override;
  int GetDetachCaptionHeight(TdxBarSubMenuControl* Menu) const override;
  void DrawMenuBackgroundBitmap(TdxBarSubMenuControl* Menu, HDC DC, TColor Color, HBRUSH Brush,
                                const TRect& Source, const TRect& R) const override;
  void DrawMenuFrame(TdxBarSubMenuControl* Menu, HDC DC, TRect R) const override;
  void DrawMenuBorder(TdxBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect R) const override;
  void DrawDetachCaption(TdxBarSubMenuControl* Menu, HDC DC, const TRect& R) const override;
  void DrawMenuExpandArrows(TdxBarSubMenuControl* Menu, HDC DC, const TRect& R) const override;
  void CalcDetachCaptionRect(TRect& R) const override { InflateRect(&R, -2, -4); }
  HBRUSH GetMenuBrush(const TCustomdxBarControl* Menu) const override;

  // Edits and combos.
  void GetComboTextColors(const TdxBarItemControl* Control, int PaintType, bool Enabled, bool Selected,
                          bool DroppedDown, int& TextColorIndex, HBRUSH& Brush) const override;
  void DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC, int PaintType, bool Selected,
                               const TRect& R, TRect& ButtonRect) const override;
  void DrawDropDownListBorder(HDC DC, const TRect& R) const override;
  int GetEditCaptionOffset(const TdxBarEditControl* Control, int CaptionWidth) const override;
  void DrawEditFrame(const TdxBarEditControl* Control, HDC DC, TRect& R, int PaintType,
                     bool Selected) const override;
  void DrawEditCaption(const TdxBarEditControl* Control, HDC DC, bool Selected, int PaintType,
                       TRect& R) const override;

  // Appended by the Office 2003 look.
  virtual void DrawGripDots(TCustomdxBarControl* BarControl, HDC DC, bool Column, const TRect& R) const;
  virtual int GetGripDotSpacing() const { return 2; }

protected:
  TdxBarItemControlOffice11Painter() = default;
};

class TdxBarItemControlXPPainter : public TdxBarItemControlPainter {
public:
  static TdxBarItemControlPainterClass Instance();

  void DrawButtonBorder(const TdxBarItemControl* Control, HDC DC, HBRUSH Brush, bool Fits, const TRect& R,
                        int PaintType, bool NoImage, bool Selected, bool Down, bool Pressed) const override;
  void DrawCheckMark(TCustomdxBarControl* BarControl, HDC DC, int X, int Y, int Scale,
                     bool Enabled) const override;
  void DrawGlyph(const TdxBarItemControl* Control, HDC DC, TRect R, const TRect& GlyphRect, HBRUSH Brush,
                 bool Fits, int PaintType, bool Selected, bool Down, bool Pressed, bool Grey) const override;
  TColor GetFadedImageColor(const TdxBarManager* Manager) const override;
  bool IsMenuBarItem(const TdxBarItemControl* Control) const override;
  void DrawResizeGrip(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawMarkChevrons(TdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  int GetCaptionTextOffset(const TRect& MarkRect) const override { return MarkRect.left + 2; }
  void DrawMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R, bool Down, bool GlyphShown,
                    bool Selected) const override;
  void DrawLoweredBorder(const TdxBarItemControl* Control, HDC DC, TRect& R) const override;
  HBRUSH GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType, bool NoImage, bool Selected,
                            bool Down, bool Pressed) const override;
  int GetDownGlyphOffset() const override { return 1; }
  int GetPressedGlyphOffset(bool Down) const override { return Down ? 0 : 1; }
  int GetGripOffset() const override { return 0; }
  int GetGripAreaSize() const override { return GetGripOffset() + GetGripWidth() + 2; }
  int GetGripWidth() const override;
  int GetButtonArrowWidth(const TdxBarManager* Manager) const override;
  int GetLargeButtonArrowWidth(const TdxBarManager* Manager) const override;
  void DrawDockControlBackground(TdxDockControl* DockControl, HDC DC, const TRect& R, HBRUSH Brush,
                                 TColor Color) const override;
  bool HasCustomBackground() const override { return true; }
  bool HasShadow(const TCustomdxBarControl* BarControl) const override;
  HBRUSH GetToolbarBrush(const TdxBarManager* Manager) const override;
  int GetComboButtonWidth(int AverageCharWidth) const override;
  int GetEditHeightExtra() const override;
  bool HotTracksCloseButton() const override { return true; }
  bool SupportsQuickCustomization() const override { return true; }
  bool AlignsQuickControlLeft() const override { return true; }
  int GetSeparatorLineOffset() const override { return (GetSeparatorSize() - 1) / 2; }
  int GetSeparatorSize() const override;
  int GetDockedBorderWidth() const override { return 0; }
  bool FillsCaptionBackground() const override { return true; }
  void DrawFloatingCaption(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, TColor Color,
                           const TRect& R) const override;
  SIZE GetCloseButtonSize() const override;
  void DrawToolbarSeparator(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, HBRUSH Brush,
                            bool Horizontal) const override;
  void DrawFloatingCloseButton(TdxBarControl* BarControl, HDC DC, int State, const TRect& R) const override;
  void DrawMDIButton(TdxBarControl* BarControl, HDC DC, int Kind, const TRect& R, bool Hot,
                     bool Pressed) const override;
  void DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  void DrawFloatingFrame(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  TRect CalcMarkBounds(TdxBarControl* BarControl) const override;
  void DrawBottomBarBackground(TdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                               const TRect& R) const override;
  SIZE GetSizeGripSize() const override;
  int GetButtonVerticalMargin() const override;
  int GetButtonHorizontalMargin() const override { return GetButtonVerticalMargin(); }
  void OffsetPressedCaption(TRect& R, bool Down, bool Pressed) const override;
  void OffsetPressedContent(TRect& R, bool Pressed) const override;
  void DrawDropDownPart(const TdxBarItemControl* Control, HDC DC, const TRect& R, HBRUSH Brush, int TextColorIndex,
                        bool Selected, bool Pressed, bool DroppedDown, bool DropDownEnabled, bool HasMenu,
                        int PaintType) const override;

  void AdjustMenuItemHeight(int& Height) const override { Height += 1; }
  int GetMenuBottomMargin() const override { return 1; }
  int GetMenuSeparatorSize() const override;
  int GetMenuBorderSize() const override { return 1; }
  void CalcMenuClientRect(TdxBarSubMenuControl* Menu, bool Measuring, int& Limit, TRect& R) const override {
    CalcMenuClientRectInset(Menu, Measuring, Limit, R, 1);
  }
  SIZE CalcMenuSize(TdxBarSubMenuControl* Menu, int ItemsWidth, int Extent) const override {
    return CalcMenuSizeWith(Menu, ItemsWidth, Extent, 4, 3);
  }
  int GetDetachCaptionHeight(TdxBarSubMenuControl* Menu) const override;
  void DrawMenuFrame(TdxBarSubMenuControl* Menu, HDC DC, TRect R) const override;
  void DrawMenuBorder(TdxBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect R) const override;
  void DrawMenuSeparator(TdxBarSubMenuControl* Menu, TdxBarItemControl* Control, bool SideStrip, const TRect& R,
                         HDC DC) const override;
  void CalcDetachCaptionRect(TRect& R) const override { InflateRect(&R, -2, -2); }
  void GetMenuItemBrush(const TdxBarSubMenuControl* Menu, HBRUSH& Brush) const override {
    Brush = GetMenuBrush(Menu);
  }
  HBRUSH GetMenuBrush(const TCustomdxBarControl*) const override { return GetSysColorBrush(COLOR_MENU); }

  // Edits and combos; the list, its rows and the in-place window as the
  // Flat painter has them.
  int HasComboButtonBorder() const override { return 0; }
  void DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC, int PaintType, bool Selected,
                               const TRect& R, TRect& ButtonRect) const override;
  int GetDropDownListBorder() const override { return 2; }
  void DrawDropDownListBorder(HDC DC, const TRect& R) const override;
  void DrawComboListItem(TCanvas* Canvas, const TRect& R, const String& Text, bool DrawingValue) const override;
  int GetEditCaptionOffset(const TdxBarEditControl*, int CaptionWidth) const override { return CaptionWidth + 11; }
  void DrawEditFrame(const TdxBarEditControl* Control, HDC DC, TRect& R, int PaintType,
                     bool Selected) const override;
  void DrawEditCaption(const TdxBarEditControl* Control, HDC DC, bool Selected, int PaintType,
                       TRect& R) const override;
  void DrawEditValueText(const TdxBarEditControl* Control, HDC DC, bool Force, const TRect& R) const override;
  void AdjustEditValueRect(TRect& R) const override { R.top += 2; }
  DWORD GetEditStyle() const override;
  void SetEditMargins(const TdxBarEditControl* Control, HWND Wnd) const override;
  void SelectEditText(HWND Wnd, bool Notify) const override;

  // The theme state of a button: disabled, pressed, checked, hot or normal.
  static int ButtonState(bool Enabled, bool Selected, bool Down, bool Pressed);

protected:
  TdxBarItemControlXPPainter() = default;
};

// The painter of a style: the XP one only while the visual style is usable,
// else the Enhanced one.
TdxBarItemControlPainterClass GetPainterClassOfStyle(TdxBarManagerStyle Style, bool XPThemesAvailable);

// Shared by the flat looks.
// A bar that may dock somewhere: it shows a grip.
bool BarMayDock(const TdxBar* Bar);
// A drop-down button whose menu is open.
bool IsDropDownOpen(const TdxBarItemControl* Control);
// The menu window open from a control (a drop-down button's menu or a sub
// item's), none while closed.
TCustomdxBarControl* OpenedMenuOf(const TdxBarItemControl* Control);
// The control's image in its glyph cell with the look's options in State
// (its state flags are set here).
void DrawControlGlyph(const TdxBarItemControlPainter* Painter, const TdxBarItemControl* Control, HDC DC,
                      const TRect& R, const TRect& GlyphRect, HBRUSH Brush, TdxGlyphState State,
                      bool Selected, bool Down, bool Pressed, bool Grey);
// A floating caption with its mark at the end: the line under it in Brush,
// the caption filled with CaptionBrush (none: as the painter fills it), the
// close button, the text before the mark (DrawText gets its rectangle) and
// the mark.
void DrawCaptionWithEndMark(const TdxBarItemControlPainter* Painter, TdxBarControl* BarControl, HDC DC,
                            HBRUSH Brush, HBRUSH CaptionBrush, const TRect& R,
                            const std::function<void(const TRect& Text)>& DrawText);
