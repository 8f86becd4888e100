// The colours of the Office 2003 look: one process-wide set with its brushes
// and the recoloured sub-menu expand picture, shared by every bar manager,
// and the colour arithmetic and gradients the painters use.
#pragma once

#include "Graphics.h"

#include <functional>
#include <string>

struct TOffice11Colors {
  // The entries of a scheme table, in the table's order.
  TColor ToolbarLight, ToolbarDark, DockFrom, DockTo, MarkTo, MarkFrom, MarkHotTo, MarkHotFrom, MarkPressedTo,
      MarkPressedFrom, BarShadow, BarCorner, GripDot, GripDotLight, SeparatorDark, SeparatorLight,
      FloatingFrame, FloatingFrameInner, BarFrame, MenuBackground, SelectedBackground, SelectionBorder,
      HotButtonLight, HotButtonDark, DownButtonLight, DownButtonDark, ToolbarFace, CheckedBackground,
      CheckedSelectedBackground, DetachCaption, TextColor, DisabledText;
  // Derived.
  TColor MarkCorner, MarkHotCorner, MarkPressedCorner, MarkShadow, MarkHotShadow, MarkPressedShadow,
      MarkArrow, MarkArrowShadow, FloatingCaptionText, CaptionGlyphHot, CaptionGlyphPressed,
      NonRecentSideLight, NonRecentSideDark;
  int GradientPercent;
};

struct TOffice11Brushes {
  HBRUSH GripDotBrush, GripDotLightBrush, SeparatorDarkBrush, SeparatorLightBrush, BarFrameBrush,
      MenuBackgroundBrush, SelectionBorderBrush, ToolbarFaceBrush, CheckedBrush, CheckedSelectedBrush,
      DetachCaptionBrush, SelectedBrush, MarkShadowBrush;
};

extern TOffice11Colors Office11Colors;
extern TOffice11Brushes Office11Brushes;
// The recoloured picture while a manager holds the colours, else none.
TBitmap* SubMenuExpandBitmap();

void AcquireOffice11Colors();
void RefreshOffice11Colors();
void ReleaseOffice11Colors();
int Office11ReferenceCount();

// The current visual style's file and colour scheme names; false when they
// cannot be read. Tests put another in place.
using TdxThemeNameFunction = std::function<bool(std::wstring& FileName, std::wstring& ColorScheme)>;
TdxThemeNameFunction SetThemeNameFunction(TdxThemeNameFunction Function);

// 0 none, 1 NormalColor, 2 HomeStead, 3 Metallic.
int DetectLunaScheme();
void BuildOffice11Colors();

// Percent is the share of C1.
TColor MixColors(TColor C1, TColor C2, int Percent);
TColor LightColorFromWeights(int FaceWeight, int HighlightWeight, int WindowWeight);

void FillGradient(HDC DC, const TRect& R, TColor C1, bool Horizontal, TColor C2);
void FillGradientTwoPart(HDC DC, const TRect& R, TColor C1, bool Horizontal, TColor C2);
TColor GradientColorAt(const TRect& R, int Position, TColor C1, bool Horizontal, TColor C2);
void FrameRectWithBorderBrush(HDC DC, const TRect& R);
void FillGripDots(HDC DC, const TRect& R, bool Column);
void DrawSchemeArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool NoEmboss);
void DrawSchemeArrowTriangle(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled,
                             bool NoEmboss);
