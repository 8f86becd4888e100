// The drawing wrapper every owner-drawn control, painter and editor draws
// through: frames on chosen sides, 3-D rings, glyphs, text under the
// library's own flag word, clipping by regions; and the colour blends of the
// selection look.
#pragma once

#include "Graphics.h"

#include <memory>

enum TcxBorder { bLeft, bTop, bRight, bBottom };
using TcxBorders = TSet<TcxBorder>;
constexpr TcxBorders cxBordersAll = TcxBorders::FromBits(15);

// The text-flag word of the library.
constexpr int tfLeft = 0x1;
constexpr int tfRight = 0x2;
constexpr int tfCenterX = 0x4;
constexpr int tfTop = 0x8;
constexpr int tfBottom = 0x10;
constexpr int tfCenterY = 0x20;
constexpr int tfSingleLine = 0x40;
constexpr int tfNoClip = 0x80;
constexpr int tfExpandTabs = 0x100;
constexpr int tfShowPrefix = 0x200;
constexpr int tfWordBreak = 0x400;
constexpr int tfEndEllipsis = 0x800;
constexpr int tfMeasureOnly = 0x1000;
constexpr int tfPathEllipsis = 0x2000;

// The system DrawText format of a text-flag word.
UINT TranslateTextFlags(int Flags);

enum TcxRegionCombine { rcSet, rcAdd, rcSubtract, rcIntersect };

// Owns one region handle.
class TcxRegion : public TObject {
public:
  explicit TcxRegion(HRGN Handle);
  explicit TcxRegion(const TRect& R);
  TcxRegion(int Left, int Top, int Right, int Bottom);
  // The empty rectangle.
  TcxRegion();
  ~TcxRegion() override;
  TcxRegion(const TcxRegion&) = delete;
  TcxRegion& operator=(const TcxRegion&) = delete;

  HRGN GetHandle() const { return FHandle; }
  // With DestroyRegion the other region is freed afterwards.
  void Combine(TcxRegion* Region, TcxRegionCombine Operation, bool DestroyRegion = true);
  void Offset(int DX, int DY);

private:
  void DestroyHandle();
  HRGN FHandle = nullptr;
};

class TcxCanvas : public TObject {
public:
  explicit TcxCanvas(TCanvas* Canvas);

  TCanvas* GetCanvas() const { return FCanvas; }
  TBrush* GetBrush() const { return FCanvas->GetBrush(); }
  TFont* GetFont() const { return FCanvas->GetFont(); }
  TPen* GetPen() const { return FCanvas->GetPen(); }
  void SetFont(const TFont* Value) { FCanvas->SetFont(Value); }
  HDC GetHandle() const { return FCanvas->GetHandle(); }
  void GetWindowOrg(TPoint& P) const;

  void SetBrushColor(TColor Value);
  void SetPixel(int X, int Y, TColor Color) { FCanvas->SetPixel(X, Y, Color); }
  void MoveTo(int X, int Y) { FCanvas->MoveTo(X, Y); }
  void LineTo(int X, int Y) { FCanvas->LineTo(X, Y); }
  void Polygon(const TPoint* Points, int Count) { FCanvas->Polygon(Points, Count); }
  void Polyline(const TPoint* Points, int Count) { FCanvas->Polyline(Points, Count); }
  void FillRect(const TRect& R) { FCanvas->FillRect(R); }
  // Fills R with the colour (clDefault: the current brush colour).
  void FillRect(const TRect& R, TColor Color);
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    FCanvas->CopyRect(Dest, Canvas, Source);
  }
  void Draw(int X, int Y, TGraphic* Graphic) { FCanvas->Draw(X, Y, Graphic); }

  void FrameRect(const TRect& R, TColor Color = clDefault, int LineWidth = 1,
                 TcxBorders Borders = cxBordersAll);
  void DrawTwoToneFrame(const TRect& R, TColor LeftTopColor, TColor RightBottomColor,
                        TcxBorders Borders = cxBordersAll, int LineWidth = 1);
  void DrawEdge(const TRect& R, bool Sunken, bool Outer, TcxBorders Borders = cxBordersAll);
  void DrawFocusRect(const TRect& R);
  void InvertRect(const TRect& R);
  void DrawGlyph(int X, int Y, TBitmap* Glyph, bool Enabled = true, TColor BackgroundColor = clNone);
  void DrawText(const String& Text, TRect R, int Flags, bool Enabled = true);
  void CalculateTextRect(const String& Text, TRect& R, int Flags);
  void TextExtent(const String& Text, SIZE& Size);
  int TextWidth(const String& Text);
  int TextHeight(const String& Text);
  int FontHeight(const TFont* Font);

  void ExcludeClipRect(const TRect& R);
  void IntersectClipRect(const TRect& R);
  // A copy of the clipping region, owned by the caller; the large rectangle
  // when the device context clips nothing.
  TcxRegion* GetClipRegion();
  void SetClipRegion(TcxRegion* Region, TcxRegionCombine Operation, bool DestroyRegion = true);

private:
  TCanvas* FCanvas;
};

// A canvas over the screen's device context, for measuring outside painting.
class TScreenCanvas : public TCanvas {
public:
  ~TScreenCanvas() override;

protected:
  void CreateHandle() override;
  String ClassName() const override { return "TScreenCanvas"; }

private:
  HDC FDeviceContext = nullptr;
};

class TcxScreenCanvas : public TcxCanvas {
public:
  TcxScreenCanvas();

private:
  std::unique_ptr<TScreenCanvas> FScreenCanvas;
  TcxScreenCanvas(std::unique_ptr<TScreenCanvas> Canvas);
};

TColor GetNearestScreenColor(TColor Color);
TColor BlendSystemColors(int8_t FacePercent, int8_t HighlightPercent, int8_t WindowPercent);
// The selection colours of the ultra-flat look: dark for pressed, light for hot.
TColor BlendHighlightColorDark();
TColor BlendHighlightColorLight();
