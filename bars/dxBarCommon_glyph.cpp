// The state glyph renderer: an item's image composed in memory over its
// cell's background (transparent, tinted, grey, lightened, shadowed or
// embossed) and copied to the screen once, so nothing flickers.
#include "dxBarCommon.h"

#include "dxBar.h"

#include "ImgList.h"

#include <algorithm>
#include <cstdint>

namespace {

// Two raster operations the system has no names for: the brush where the
// source is set, the destination elsewhere.
constexpr DWORD ropBrushWhereSource = 0x00E20746;

// A memory device context with its own bitmap, freed in every case.
class TMemoryPicture {
public:
  // A bitmap compatible with Reference, or a monochrome one.
  TMemoryPicture(HDC Reference, int Width, int Height, bool Monochrome = false)
      : FDC(CreateCompatibleDC(Reference)),
        FBitmap(Monochrome ? CreateBitmap(Width, Height, 1, 1, nullptr)
                           : CreateCompatibleBitmap(Reference, Width, Height)),
        FOld(SelectObject(FDC, FBitmap)) {}
  // A 32-bit top-down picture whose pixels can be read and written.
  TMemoryPicture(HDC Reference, int Width, int Height, uint32_t*& Bits) : FDC(CreateCompatibleDC(Reference)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap = CreateDIBSection(Reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Bits = static_cast<uint32_t*>(bits);
    FOld = SelectObject(FDC, FBitmap);
  }
  ~TMemoryPicture() {
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
  }
  TMemoryPicture(const TMemoryPicture&) = delete;
  TMemoryPicture& operator=(const TMemoryPicture&) = delete;
  HDC DC() const { return FDC; }

private:
  HDC FDC;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
};

// Keeps the target's palette selected in a memory context while it lives.
class TPaletteScope {
public:
  TPaletteScope(HDC Target, HDC Memory)
      : FMemory(Memory),
        FOld(SelectPalette(Memory, static_cast<HPALETTE>(GetCurrentObject(Target, OBJ_PAL)), TRUE)) {
    RealizePalette(Memory);
  }
  ~TPaletteScope() { SelectPalette(FMemory, FOld, TRUE); }
  TPaletteScope(const TPaletteScope&) = delete;
  TPaletteScope& operator=(const TPaletteScope&) = delete;

private:
  HDC FMemory;
  HPALETTE FOld;
};

struct TGlyphSource {
  TCustomImageList* Images;
  int ImageIndex;
  TBitmap* Bitmap;
  int Width, Height;
};

COLORREF BrushColor(HBRUSH Brush) {
  LOGBRUSH lb{};
  GetObjectA(Brush, sizeof(lb), &lb);
  return lb.lbColor;
}

// The glyph at its own size over a fill of Background.
void DrawSource(HDC DC, const TGlyphSource& Source, COLORREF Background) {
  if (Source.Bitmap) {
    BitBlt(DC, 0, 0, Source.Width, Source.Height, Source.Bitmap->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    return;
  }
  const TRect r(0, 0, Source.Width, Source.Height);
  FillRectWithColor(DC, r, static_cast<TColor>(Background));
  ImageList_Draw(Source.Images->GetHandle(), Source.ImageIndex, DC, 0, 0, ILD_TRANSPARENT);
}

// Pixels are 0x00RRGGBB in a 32-bit DIB.
uint32_t Pixel(int r, int g, int b) {
  return static_cast<uint32_t>(r << 16 | g << 8 | b);
}

uint32_t Tint(uint32_t p, COLORREF fade) {
  const int l = (77 * int(p >> 16 & 0xFF) + 151 * int(p >> 8 & 0xFF) + 28 * int(p & 0xFF)) >> 8;
  const int lifted = (192 * l + 16320) >> 8;
  auto mix = [lifted](int f) { return (192 * f + 64 * lifted) >> 8; };
  return Pixel(mix(GetRValue(fade)), mix(GetGValue(fade)), mix(GetBValue(fade)));
}

uint32_t Grey(uint32_t p) {
  const int g = (int(p >> 16 & 0xFF) + int(p >> 8 & 0xFF) + int(p & 0xFF)) / 3;
  return Pixel(g, g, g);
}

uint32_t Lighten(uint32_t p) {
  auto up = [](int c) { return c + MulDiv(255 - c, 3, 10); };
  return Pixel(up(p >> 16 & 0xFF), up(p >> 8 & 0xFF), up(p & 0xFF));
}

void ApplyPixelEffects(uint32_t* Bits, int Count, const TdxGlyphState& State, bool HasFade, COLORREF Fade) {
  uint32_t (*effect)(uint32_t) = nullptr;
  if (HasFade && !State.StateImage) {
    for (int i = 0; i < Count; ++i)
      Bits[i] = Tint(Bits[i], Fade);
    return;
  }
  if (State.Disabled)
    effect = Grey;
  else if (State.FlatLook && !State.Selected && !State.Down && ScreenBitsPerPixel() > 8)
    effect = Lighten;
  if (!effect) return;
  for (int i = 0; i < Count; ++i)
    Bits[i] = effect(Bits[i]);
}

void StretchGlyph(HDC Cell, POINT At, const TRect& Glyph, HDC Source, const TGlyphSource& From, DWORD Rop) {
  StretchBlt(Cell, At.x, At.y, Glyph.Width(), Glyph.Height(), Source, 0, 0, From.Width, From.Height, Rop);
}

// Mono to colour blits take the text colour for 0 bits and the background
// colour for 1 bits.
void SetMonoColors(HDC DC, COLORREF Zero, COLORREF One) {
  SetTextColor(DC, Zero);
  SetBkColor(DC, One);
}

void DrawColourGlyph(HDC Cell, HBRUSH Brush, POINT At, const TRect& Glyph, const TGlyphSource& Source,
                     COLORREF ImageBk, const TdxGlyphState& State, bool HasFade, COLORREF Fade) {
  uint32_t* bits = nullptr;
  TMemoryPicture colour(Cell, Source.Width, Source.Height, bits);
  DrawSource(colour.DC(), Source, ImageBk);
  GdiFlush();
  // The bottom-left pixel's colour is transparent wherever it occurs.
  const uint32_t transparent = bits[(Source.Height - 1) * Source.Width];
  TMemoryPicture mask(Cell, Source.Width, Source.Height, true);
  SetBkColor(colour.DC(), RGB(transparent >> 16 & 0xFF, transparent >> 8 & 0xFF, transparent & 0xFF));
  BitBlt(mask.DC(), 0, 0, Source.Width, Source.Height, colour.DC(), 0, 0, SRCCOPY);
  ApplyPixelEffects(bits, Source.Width * Source.Height, State, HasFade, Fade);
  if (State.FlatLook && State.ShadowAllowed && State.Selected && !State.Pressed) {
    SetMonoColors(Cell, GetSysColor(COLOR_BTNSHADOW), BrushColor(Brush));
    StretchGlyph(Cell, POINT{At.x + 1, At.y + 1}, Glyph, mask.DC(), Source, SRCCOPY);
    At = POINT{At.x - 1, At.y - 1};
  }
  const bool inverted =
      GetSysColor(COLOR_BTNFACE) == RGB(0, 0, 0) && !State.Disabled && !(State.FlatLook && State.Selected);
  SetMonoColors(Cell, RGB(0, 0, 0), RGB(255, 255, 255));
  SetMonoColors(colour.DC(), RGB(0, 0, 0), RGB(255, 255, 255));
  StretchGlyph(Cell, At, Glyph, mask.DC(), Source, inverted ? SRCAND : MERGEPAINT);
  BitBlt(colour.DC(), 0, 0, Source.Width, Source.Height, mask.DC(), 0, 0, SRCPAINT);
  StretchGlyph(Cell, At, Glyph, colour.DC(), Source, inverted ? MERGEPAINT : SRCAND);
}

// A mask that is 0 where the glyph is: white and transparent pixels are
// background.
void DrawEmbossMask(HDC Mask, HDC Cell, const TGlyphSource& Source) {
  if (!Source.Bitmap) {
    TMemoryPicture colour(Cell, Source.Width, Source.Height);
    DrawSource(colour.DC(), Source, RGB(255, 255, 255));
    SetBkColor(colour.DC(), RGB(255, 255, 255));
    BitBlt(Mask, 0, 0, Source.Width, Source.Height, colour.DC(), 0, 0, SRCCOPY);
    return;
  }
  HDC bitmap = Source.Bitmap->GetCanvas()->GetHandle();
  const COLORREF oldBk = SetBkColor(bitmap, RGB(255, 255, 255));
  BitBlt(Mask, 0, 0, Source.Width, Source.Height, bitmap, 0, 0, SRCCOPY);
  SetBkColor(bitmap, GetPixel(bitmap, 0, Source.Height - 1));
  BitBlt(Mask, 0, 0, Source.Width, Source.Height, bitmap, 0, 0,
         dxOSFlags().IsWin95 ? ropBrushWhereSource : SRCINVERT);
  SetBkColor(bitmap, oldBk);
}

void DrawEmbossedGlyph(HDC Cell, POINT At, const TRect& Glyph, const TGlyphSource& Source, bool FlatLook) {
  TMemoryPicture mask(Cell, Source.Width, Source.Height, true);
  DrawEmbossMask(mask.DC(), Cell, Source);
  SetMonoColors(Cell, RGB(255, 255, 255), RGB(0, 0, 0));
  const HGDIOBJ old = GetCurrentObject(Cell, OBJ_BRUSH);
  if (!FlatLook) {
    SelectObject(Cell, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    StretchGlyph(Cell, POINT{At.x + 1, At.y + 1}, Glyph, mask.DC(), Source, ropBrushWhereSource);
  }
  SelectObject(Cell, GetSysColorBrush(COLOR_BTNSHADOW));
  StretchGlyph(Cell, At, Glyph, mask.DC(), Source, ropBrushWhereSource);
  SelectObject(Cell, old);
}

} // namespace

void DrawStateGlyph(HDC DC, HBRUSH Brush, const TRect& CellRect, TColor ImageBkColor, TColor FadeColor,
                    const TdxGlyphState& State, int ImageIndex, TCustomImageList* Images, TBitmap* Bitmap,
                    const TRect& GlyphRect) {
  TGlyphSource source{Images, ImageIndex, Bitmap && !Bitmap->GetEmpty() ? Bitmap : nullptr, 0, 0};
  if (source.Bitmap) {
    source.Width = Bitmap->GetWidth();
    source.Height = Bitmap->GetHeight();
  } else if (Images) {
    source.Width = Images->GetWidth();
    source.Height = Images->GetHeight();
  } else {
    return;
  }
  const bool hasFade = FadeColor != clNone;
  const int w = CellRect.Width(), h = CellRect.Height();
  TMemoryPicture cell(DC, w, h);
  TPaletteScope palette(DC, cell.DC());
  const TRect local(0, 0, w, h);
  if (State.CopyBackground)
    BitBlt(cell.DC(), 0, 0, w, h, DC, CellRect.left, CellRect.top, SRCCOPY);
  else
    FillRect(cell.DC(), &local, Brush);
  const POINT at{GlyphRect.left - CellRect.left, GlyphRect.top - CellRect.top};
  if (hasFade || State.StateImage)
    DrawColourGlyph(cell.DC(), Brush, at, GlyphRect, source, ColorToRGB(ImageBkColor), State, hasFade,
                    hasFade ? ColorToRGB(FadeColor) : 0);
  else
    DrawEmbossedGlyph(cell.DC(), at, GlyphRect, source, State.FlatLook);
  BitBlt(DC, CellRect.left, CellRect.top, w, h, cell.DC(), 0, 0, SRCCOPY);
}
