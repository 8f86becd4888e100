// Shared drawing and input routines of the toolbar library: colours, arrows,
// gradients, tiling, the checker brush, the size grip, mouse-leave
// tracking, message pumps, menu sounds and fonts.
#pragma once

#include "Graphics.h"
#include "dxUxTheme.h"

#include <functional>

class TCustomImageList;
class TCustomdxBarControl;

// ---- Geometry and system ----

TRect GetWorkAreaAtPoint(POINT Pt);
void ApplyMinWidth(int& Width);
bool IsPrimaryMouseButtonDown();
bool IsSecondaryMouseButtonDown();
int ScreenBitsPerPixel();
void ReadScreenBitsPerPixel();

// ---- Bar windows ----

// A toolbar window docked on the left or right.
bool IsVerticalBar(const TCustomdxBarControl* BarControl);
// A vertical toolbar whose bar turns its captions.
bool IsBarControlRotated(const TCustomdxBarControl* BarControl);

// Frees the temporary items that no window shows any more.
void FreeUnusedTempItems();

// ---- MDI ----

void RegisterSystemMenuItemClass();
// A message of an MDI child on its way: its parent's manager checks its
// merging again.
void MDIChildMessage(const CWPSTRUCT& Message);

// ---- Message pumps: a WM_QUIT they take is posted again ----

void DispatchMouseMessages();
void DispatchPaintMessages();

// ---- Sounds ----

// 0 "MenuPopup", 1 "MenuCommand".
void PlayMenuSound(int Index);
// The sound player (PlaySound's signature); tests put another in place.
using TdxSoundPlayer = std::function<BOOL(LPCSTR Sound, HMODULE Module, DWORD Flags)>;
TdxSoundPlayer SetSoundPlayer(TdxSoundPlayer Player);

// ---- Fonts ----

// A new font with the LOGFONT of the given one; the caller owns it.
HFONT CloneFontHandle(HFONT Font);
// Replaces Handle (deleting the old one) by a font made from Font: with
// UseSystem at the height of the system icon-title font, at least 11 pixels.
void CreateMenuFont(TFont* Font, HFONT& Handle, bool UseSystem);

// ---- Clipping ----

// Saves the context's clip region (Existed: it had one) for a later restore,
// which deletes Region.
void SaveDCClipRegion(HDC DC, HRGN& Region, bool& Existed);
void RestoreDCClipRegion(HDC DC, HRGN Region, bool Existed);
void UnionClipRect(HDC DC, const TRect& R);
void SubtractRectFromRegion(HRGN& Region, const TRect& R);

// ---- Backgrounds ----

void TileBitmap(HDC DC, const TRect& R, const TRect& Source, TBitmap* Bitmap);
void FillRectOrTileBitmap(HDC DC, const TRect& R, const TRect& Source, TBitmap* Bitmap, TColor Color,
                          HBRUSH Brush);
void CreateCheckerBrush();
void DeleteCheckerBrush();
HBRUSH CheckerBrush();
void FillVerticalGradient(HDC DC, const TRect& R, TColor StartColor, TColor EndColor);
void DrawTransparentSizeGrip(HDC DC, const TRect& R);

// ---- Arrows ----

int CenteredArrowSize(const TRect& R, bool Down);
// A down or right triangle of size S centred in R, filled in the colour.
void PaintTriangle(HDC DC, const TRect& R, bool Down, int S, TColor Color);
void PaintArrowTriangle(HDC DC, const TRect& R, bool Down, int S, bool Selected, bool Enabled, bool NoEmboss);
void DrawCenteredArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool NoEmboss);
void FrameRectHighlight(HDC DC, const TRect& R);

// ---- Drop-down window frames ----

// The corner that carries the size grip: 0 top-left, 1 top-right,
// 2 bottom-left, 3 bottom-right.
int GetDropDownGripBandHeight();
int GetSizeGripCorner(const TRect& EditRect, const TRect& DropDownRect);
int GetCornerHitTest(int Corner);
// The system size grip mirrored into the corner; R becomes the grip's.
void PaintSizeGripCorner(HDC DC, TRect& R, int Corner);
// The band's close button at the end away from the grip; R becomes the
// button's.
void PaintDropDownCloseButton(HDC DC, TRect& R, bool Hot, int Corner, bool Flat, bool Pressed);
// The frame and, with a grip band, the band of a drop-down window, in its
// window DC; the grip's and the close button's rectangles come back in
// client coordinates (empty without a band).
void PaintDropDownNonClient(HWND Wnd, bool HasGripBand, bool Flat, int Corner, TRect& GripRect,
                            TRect& CloseButtonRect, bool Hot, bool Pressed);
// The same with a look's own frame colour, band height and painters of the
// grip and the close button (each gets the window DC and its rectangle,
// which becomes the part's).
void PaintDropDownNonClient(HWND Wnd, bool HasGripBand, int FrameColor, int BandHeight, int Corner,
                            TRect& GripRect, TRect& CloseButtonRect,
                            const std::function<void(HDC DC, TRect& R)>& PaintGrip,
                            const std::function<void(HDC DC, TRect& R)>& PaintClose);
// Draw paints at R's size into a memory picture that is copied into R,
// mirrored as asked.
void DrawMirrored(HDC DC, const TRect& R, bool MirrorX, bool MirrorY,
                  const std::function<void(HDC Memory, const RECT& R)>& Draw);

// ---- Visual styles ----

enum { etsNormal = 1, etsDisabled = 4, etsReadOnly = 6 };
// The theme state of an edit item's control.
int GetEditThemeState(bool Enabled, bool ReadOnly);
TColor GetEditThemeFillColor(HTHEME Theme, int State);
TColor GetEditThemeTextColor(HTHEME Theme, int State);
// The ToolBar class's fill colour, else the button face.
TColor GetToolbarThemeFillColor();
SIZE GetSmallCloseButtonSize(HDC DC);
// R becomes the themed small close button's rectangle, centred vertically at
// the end away from the grip Corner.
void DrawSmallCloseButton(HDC DC, TRect& R, bool Hot, int Corner, bool Pressed);
SIZE GetSizeBoxSize(HDC DC);
// R becomes the themed size box's rectangle in the Corner, mirrored there.
void DrawSizeBox(HDC DC, TRect& R, int Corner);

// ---- Glyphs ----

// How an item's image is drawn.
struct TdxGlyphState {
  bool CopyBackground = false; // the cell keeps the target's pixels, else the brush
  bool ShadowAllowed = false;
  bool Pressed = false;
  bool Down = false;
  bool Selected = false;
  bool FlatLook = false;
  bool Disabled = false;
  bool StateImage = false; // drawn in its colours, else embossed
};

// Draws image ImageIndex of Images, or Bitmap when it is not empty,
// stretched into GlyphRect, composed over CellRect's background in memory.
// FadeColor clNone: no tint.
void DrawStateGlyph(HDC DC, HBRUSH Brush, const TRect& CellRect, TColor ImageBkColor, TColor FadeColor,
                    const TdxGlyphState& State, int ImageIndex, TCustomImageList* Images, TBitmap* Bitmap,
                    const TRect& GlyphRect);

// ---- Mouse-leave tracking (one window at a time) ----

bool IsTrackingMouse(HWND Wnd);
void StartMouseTracking(HWND Wnd);
void StopMouseTracking(HWND Wnd);
