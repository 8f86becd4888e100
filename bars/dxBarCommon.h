// Shared drawing and input routines of the toolbar library: colours, arrows,
// gradients, tiling, the checker brush, the size grip, mouse-leave
// tracking, message pumps, menu sounds and fonts.
#pragma once

#include "Graphics.h"

#include <functional>

// ---- Geometry and system ----

TRect GetWorkAreaAtPoint(POINT Pt);
void ApplyMinWidth(int& Width);
bool IsPrimaryMouseButtonDown();
bool IsSecondaryMouseButtonDown();
int ScreenBitsPerPixel();
void ReadScreenBitsPerPixel();

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

// ---- Visual styles ----

// The ToolBar class's fill colour, else the button face.
TColor GetToolbarThemeFillColor();

// ---- Mouse-leave tracking (one window at a time) ----

bool IsTrackingMouse(HWND Wnd);
void StartMouseTracking(HWND Wnd);
void StopMouseTracking(HWND Wnd);
