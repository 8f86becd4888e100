// Graphics of the class library: colours, fonts, pens, brushes, canvases,
// bitmaps and pictures.

// Colours: an RGB value, or a system colour as 0xFF000000 plus the COLOR_
// index that GetSysColor takes (the values stored settings carry).
#pragma once

#include "Classes.h"
#include "Components.h"
#include "Sets.h"
#include "SysUtils.h"

#include "WinApi.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

using TColor = int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value (0x00BBGGRR) a colour stands for now.
uint32_t ColorToRGB(TColor color);
// "clRed" for clRed; false for a colour without a name.
bool ColorToIdent(TColor color, String& ident);
bool IdentToColor(const String& ident, TColor& color);
// Hands every colour identifier to Proc, in the library's own order.
void GetColorValues(const std::function<void(const String&)>& Proc);
// A colour's name, or its value as "$00BBGGRR".
String ColorToString(TColor color);
// Raises EConvertError for text that is neither a name nor a number.
TColor StringToColor(const String& s);

// Sets of small enums as bit masks, as the class library's sets.
struct TPoint : POINT {
  constexpr TPoint() : POINT{0, 0} {}
  constexpr TPoint(LONG x, LONG y) : POINT{x, y} {}
  constexpr TPoint(const POINT& p) : POINT(p) {}
  constexpr bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }
};

struct TRect : RECT {
  constexpr TRect() : RECT{0, 0, 0, 0} {}
  constexpr TRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
  constexpr TRect(const RECT& r) : RECT(r) {}
  constexpr LONG Width() const { return right - left; }
  constexpr LONG Height() const { return bottom - top; }
  constexpr bool operator==(const TRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  constexpr bool Contains(const POINT& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
};

inline TRect Rect(LONG left, LONG top, LONG right, LONG bottom) {
  return TRect(left, top, right, bottom);
}
inline TRect Bounds(LONG left, LONG top, LONG width, LONG height) {
  return TRect(left, top, left + width, top + height);
}
inline TPoint Point(LONG x, LONG y) {
  return TPoint(x, y);
}

class EInvalidGraphic : public Exception {
public:
  using Exception::Exception;
};

class EOutOfResources : public Exception {
public:
  using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
public:
  using Exception::Exception;
};

// Fonts, pens and brushes tell their owner of every change.
class TGraphicsObject : public TPersistent {
public:
  TNotifyEvent OnChange;

protected:
  virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
public:
  TFont();
  ~TFont() override;
  void Assign(const TPersistent* Source) override;

  HFONT GetHandle();
  void SetHandle(HFONT value);
  const String& GetName() const { return FName; }
  // An empty name leaves the font as it is.
  void SetName(const String& value);
  // Points at the font's PixelsPerInch.
  int GetSize() const;
  void SetSize(int value);
  // Pixels; negative: character height without the internal leading.
  int GetHeight() const { return FHeight; }
  void SetHeight(int value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles value);
  BYTE GetCharset() const { return FCharset; }
  void SetCharset(BYTE value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch value);
  int PixelsPerInch = 96;

protected:
  void Changed() override;
  String ClassName() const override { return "TFont"; }

private:
  void FreeHandle();
  HFONT FHandle = nullptr;
  bool FOwnsHandle = false;
  String FName = "Tahoma";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  BYTE FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};

class TPen : public TGraphicsObject {
public:
  ~TPen() override;
  void Assign(const TPersistent* Source) override;
  HPEN GetHandle();
  TColor GetColor() const { return FColor; }
  void SetColor(TColor value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode value);

protected:
  void Changed() override;
  String ClassName() const override { return "TPen"; }

private:
  HPEN FHandle = nullptr;
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBitmap;

class TBrush : public TGraphicsObject {
public:
  ~TBrush() override;
  void Assign(const TPersistent* Source) override;
  HBRUSH GetHandle();
  TColor GetColor() const { return FColor; }
  void SetColor(TColor value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle value);
  // A pattern bitmap (not owned) replaces colour and style while set.
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* value);

protected:
  void Changed() override;
  String ClassName() const override { return "TBrush"; }

private:
  HBRUSH FHandle = nullptr;
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
};

class TGraphic;

// Fills or frames a rectangle of a device context in one solid colour.
void FillRectWithColor(HDC DC, const TRect& R, TColor Color);
void FrameRectWithColor(HDC DC, const TRect& R, TColor Color);

// A device context with the pen, brush and font selected into it on demand.
class TCanvas : public TPersistent {
public:
  TCanvas();
  ~TCanvas() override;

  HDC GetHandle();
  void SetHandle(HDC value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  TFont* GetFont() { return FFont.get(); }
  TPen* GetPen() { return FPen.get(); }
  TBrush* GetBrush() { return FBrush.get(); }
  void SetFont(const TFont* value) { FFont->Assign(value); }
  void SetPen(const TPen* value) { FPen->Assign(value); }
  void SetBrush(const TBrush* value) { FBrush->Assign(value); }
  TPoint GetPenPos();
  void SetPenPos(TPoint value) { MoveTo(value.x, value.y); }
  // A raster operation (SRCCOPY...) for Draw, StretchDraw and CopyRect.
  DWORD CopyMode = SRCCOPY;
  TRect GetClipRect();

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const TPoint* points, int count);
  void Polygon(const TPoint* points, int count);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  void Ellipse(int x1, int y1, int x2, int y2);
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);
  void TextOut(int x, int y, const String& text);
  void TextRect(const TRect& r, int x, int y, const String& text);
  SIZE TextExtent(const String& text);
  int TextWidth(const String& text) { return TextExtent(text).cx; }
  int TextHeight(const String& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
  // Copies part of a bitmap, its pixels of colour color replaced by the
  // brush (left as they were below when the brush is clear).
  void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);
  TColor GetPixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  void Lock() {}
  void Unlock() {}
  // Deselects pen, brush and font, so they can change under the DC.
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  // Called when the canvas needs a DC and has none.
  virtual void CreateHandle() {}
  void Changing();
  void Changed();
  String ClassName() const override { return "TCanvas"; }

private:
  enum Need { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  void RequiredState(int state);
  void DeselectHandles();
  HDC FHandle = nullptr;
  int FState = 0;
  HGDIOBJ FOldFont = nullptr;
  HGDIOBJ FOldPen = nullptr;
  HGDIOBJ FOldBrush = nullptr;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

// Pictures that can draw themselves, load and save.
class TGraphic : public TPersistent {
public:
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  virtual bool GetEmpty() const = 0;
  virtual bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  TNotifyEvent OnChange;

protected:
  friend class TCanvas;
  virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
  virtual void Changed();

private:
  bool FTransparent = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

// A device-independent bitmap (DIB section) with a canvas over it.
class TBitmap : public TGraphic {
public:
  TBitmap();
  ~TBitmap() override;
  void Assign(const TPersistent* Source) override;

  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int value) override { SetSize(value, FHeight); }
  void SetHeight(int value) override { SetSize(FWidth, value); }
  void SetSize(int width, int height);
  bool GetEmpty() const override { return FWidth == 0 || FHeight == 0; }
  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat value);
  bool GetMonochrome() const { return FPixelFormat == pf1bit; }
  void SetMonochrome(bool value);
  // Row y of the pixels, top row first.
  void* GetScanLine(int row);
  HBITMAP GetHandle();
  // Takes ownership of a bitmap handle.
  void SetHandle(HBITMAP value);
  HBITMAP ReleaseHandle();
  TCanvas* GetCanvas();

  TColor GetTransparentColor();
  void SetTransparentColor(TColor value);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // Raises EResNotFound when the module has no such bitmap.
  void LoadFromResourceName(HINSTANCE instance, const String& name);
  void LoadFromResourceID(HINSTANCE instance, int id);

protected:
  void Draw(TCanvas* canvas, const TRect& rect) override;
  String ClassName() const override { return "TBitmap"; }

private:
  friend class TBitmapCanvas;
  void NewImage(int width, int height, TPixelFormat format, const RGBQUAD* palette, int paletteSize);
  void FreeImage();
  void CopyFrom(HBITMAP source);
  int GetCanvasPalette(RGBQUAD* palette);
  HBITMAP FHandle = nullptr;
  void* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};

class TIcon : public TGraphic {
public:
  ~TIcon() override;
  void Assign(const TPersistent* Source) override;
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int) override;
  void SetHeight(int) override;
  bool GetEmpty() const override { return FHandle == nullptr; }
  HICON GetHandle() const { return FHandle; }
  // Takes ownership.
  void SetHandle(HICON value);
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  void LoadFromResourceName(HINSTANCE instance, const String& name);

protected:
  void Draw(TCanvas* canvas, const TRect& rect) override;
  String ClassName() const override { return "TIcon"; }

private:
  HICON FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

// Holds one graphic of any kind.
class TPicture : public TPersistent {
public:
  TPicture();
  ~TPicture() override;
  void Assign(const TPersistent* Source) override;
  TGraphic* GetGraphic() const { return FGraphic.get(); }
  // Copies the graphic (nullptr empties the picture).
  void SetGraphic(const TGraphic* value);
  // The graphic as a bitmap, made one when it is something else.
  TBitmap* GetBitmap();
  TIcon* GetIcon();
  int GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
  int GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }
  // Chooses the graphic class by the file's extension (.bmp, .ico, .jpg,
  // .jpeg); raises EInvalidGraphic for others.
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  TNotifyEvent OnChange;

protected:
  String ClassName() const override { return "TPicture"; }

private:
  void SetOwned(std::unique_ptr<TGraphic> graphic);
  void Changed(TObject* sender);
  std::unique_ptr<TGraphic> FGraphic;
};

// Makes a copy of a graphic of any class the library knows.
std::unique_ptr<TGraphic> CloneGraphic(const TGraphic* source);

class EResNotFound : public Exception {
public:
  using Exception::Exception;
};
