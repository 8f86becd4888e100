// The drop-down editors' popup window. This part holds the geometry of its
// frame that the shared painting routines lay out and draw.
#pragma once

#include "cxEdit.h"
#include "cxLookAndFeels.h"

// The popup window's frame: border by kind, client edge, shadow and the
// system panel with size grip and close button on the side away from the
// editor.
class TcxCustomEditPopupWindowViewInfo : public TcxContainerViewInfo {
public:
  TcxEditPopupBorderStyle BorderKind = epbsDefault;
  bool HasClientEdge = false;
  bool ShowCloseButton = false;
  TRect CloseButtonBounds;
  TcxLookAndFeelKind CloseButtonKind = lfStandard;
  // The visual-style state; 0 when the button is drawn without styles.
  int CloseButtonThemeState = 0;
  // 1 normal, 2 hot, 3 pressed.
  BYTE CloseButtonMouseState = 1;
  int MinPanelHeight = 0;
  bool UseNativeStyle = false;
  bool HasShadow = false;
  bool IsSizeable = false;
  // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
  BYTE GripCorner = 3;
  TRect GripRect;
  TRect GripHitRect;
  // The window less frame and shadow: the client area and the panel.
  TRect InnerBounds;
  int EdgeSizingWidth = 0;
  int PanelHeight = 0;
  bool HasSysPanel = false;

  virtual void Calculate();
  // R shrinks by the frame.
  virtual void DrawPopupFrame(TcxCanvas* ACanvas, TRect& R);
  virtual TRect GetBorderExtent();
  TRect GetClientExtent() { return GetBorderExtent(); }
  virtual int GetSysPanelHeight();
  // Whether a press at (X, Y) of the window starts sizing, and in which
  // directions (-1, 0 or 1 each).
  virtual bool GetSizingDirection(int X, int Y, int& ADX, int& ADY);

  void InternalPaint(TcxCanvas* ACanvas) override;

  bool IsGripAtRight() const { return GripCorner == 1 || GripCorner == 3; }
  bool IsGripAtBottom() const { return GripCorner >= 2; }
};
