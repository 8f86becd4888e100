#include "dxOffice11.h"

#include "dxBarCommon.h"

#include "cxGraphics.h"
#include "dxThemeManager.h"

#include <algorithm>
#include <climits>
#include <memory>

TOffice11Colors Office11Colors;
TOffice11Brushes Office11Brushes;

namespace {

int gReferences = 0;
std::unique_ptr<TBitmap> gSubMenuExpandBitmap;

bool ReadThemeNames(std::wstring& fileName, std::wstring& colorScheme) {
  wchar_t file[1024] = {}, scheme[1024] = {}, size[1024] = {};
  if (FAILED(dxUxTheme::GetCurrentThemeName(file, 1024, scheme, 1024, size, 1024))) return false;
  fileName = file;
  colorScheme = scheme;
  return true;
}

TdxThemeNameFunction& ThemeNames() {
  static TdxThemeNameFunction function = ReadThemeNames;
  return function;
}

constexpr TColor Rgb(uint32_t hex) {
  return static_cast<TColor>(((hex >> 16) & 0xFF) | (hex & 0xFF00) | ((hex & 0xFF) << 16));
}

// The 32 entries of each Luna scheme, as #RRGGBB.
constexpr uint32_t kSchemes[3][32] = {
    {0xDDECFE, 0x81A9E2, 0x9EBEF5, 0xC3DAF9, 0x003591, 0x75A6F1, 0xFFC176, 0xFFF8D3,
     0xFFDD98, 0xFE9552, 0x3B619C, 0x7BA4E0, 0x274176, 0xFFFFFF, 0x6A8CCB, 0xF1F9FF,
     0x2A66C9, 0xC4DBF9, 0x002D96, 0xF6F6F6, 0xFFEEC2, 0x000080, 0xFFF4CC, 0xFFD091,
     0xFFD38E, 0xFE914E, 0xCBE1FC, 0xFFC06F, 0xFE803E, 0xA9C7F0, 0x000000, 0x8D8D8D},
    {0xF4F7DE, 0xB7C691, 0xD9D9A7, 0xF2F0E4, 0x60776B, 0xB0C28C, 0xFFC176, 0xFFF8D3,
     0xFFDD98, 0xFE9552, 0x608058, 0xB5C48F, 0x515E33, 0xFFFFFF, 0x608058, 0xF4F7DE,
     0x74865E, 0xE1DEAD, 0x758D5E, 0xF4F4EE, 0xFFEEC2, 0x3F5D38, 0xFFF4CC, 0xFFD091,
     0xFFD38E, 0xFE914E, 0xD8E3B6, 0xFFC06F, 0xFE803E, 0xC5D49F, 0x000000, 0x8D8D8D},
    {0xF3F4FA, 0x9997B5, 0xD7D7E5, 0xF3F3F7, 0x767492, 0xB3B2C8, 0xFFC176, 0xFFF8D3,
     0xFFDD98, 0xFE9552, 0x7C7C94, 0x9391B0, 0x545475, 0xFFFFFF, 0x6E6D8F, 0xFFFFFF,
     0x7A7999, 0xDBDAE4, 0x7C7C94, 0xFDFAFF, 0xFFEEC2, 0x4B4B6F, 0xFFF4CC, 0xFFD091,
     0xFFD38E, 0xFE914E, 0xD6D3E7, 0xFFC06F, 0xFE803E, 0xC0C0D3, 0x000000, 0x8D8D8D},
};
constexpr int kGradientPercents[3] = {41, 125, 40};

TColor* TableEntry(TOffice11Colors& c, int index) {
  // The first 32 fields lie in the table's order.
  return &c.ToolbarLight + index;
}

void BuildFromScheme(TOffice11Colors& c, int scheme) {
  for (int i = 0; i < 32; ++i)
    *TableEntry(c, i) = Rgb(kSchemes[scheme - 1][i]);
  c.MarkCorner = MixColors(c.MarkFrom, c.ToolbarLight, 90);
  c.MarkHotCorner = MixColors(c.MarkHotFrom, c.ToolbarLight, 90);
  c.MarkPressedCorner = MixColors(c.MarkPressedFrom, c.ToolbarLight, 90);
  c.MarkArrow = c.CaptionGlyphHot = c.CaptionGlyphPressed = clBlack;
  c.MarkArrowShadow = c.FloatingCaptionText = clWhite;
  c.GradientPercent = kGradientPercents[scheme - 1];
}

TColor Light(int f, int h, int w) {
  return GetNearestScreenColor(LightColorFromWeights(f, h, w));
}

void BuildFromSystem(TOffice11Colors& c) {
  const TColor face = ColorToRGB(clBtnFace), window = ColorToRGB(clWindow), shadow = ColorToRGB(clBtnShadow);
  c.DockFrom = face;
  c.DockTo = MixColors(face, window, 20);
  c.ToolbarLight = MixColors(face, window, 22);
  c.ToolbarDark = MixColors(face, window, 96);
  c.MarkTo = shadow;
  c.MarkFrom = MixColors(shadow, window, 74);
  c.MarkHotFrom = c.MarkHotTo = Light(-15, 29, 86);
  c.MarkPressedFrom = c.MarkPressedTo = Light(42, 11, 47);
  c.BarShadow = MixColors(face, window, 85);
  c.BarCorner = face;
  c.MarkCorner = MixColors(c.MarkTo, window, 50);
  c.MarkHotCorner = MixColors(c.MarkHotTo, window, 50);
  c.MarkPressedCorner = MixColors(c.MarkPressedTo, window, 50);
  c.GripDot = MixColors(shadow, window, 76);
  c.GripDotLight = window;
  c.SeparatorDark = MixColors(shadow, window, 70);
  c.SeparatorLight = clWhite;
  c.MarkArrow = ColorToRGB(clBtnText);
  c.MarkArrowShadow = window;
  c.FloatingFrame = shadow;
  c.FloatingFrameInner = c.ToolbarDark;
  c.FloatingCaptionText = ColorToRGB(clBtnHighlight);
  c.CaptionGlyphHot = c.CaptionGlyphPressed = ColorToRGB(clBtnText);
  c.BarFrame = shadow;
  c.MenuBackground = window;
  c.SelectedBackground = Light(-2, 30, 72);
  c.SelectionBorder = ColorToRGB(clHighlight);
  c.HotButtonLight = c.HotButtonDark = c.SelectedBackground;
  c.ToolbarFace = c.ToolbarDark;
  c.CheckedBackground = Light(11, 9, 73);
  c.CheckedSelectedBackground = Light(14, 44, 40);
  c.DownButtonLight = c.DownButtonDark = c.CheckedSelectedBackground;
  c.DetachCaption = c.ToolbarFace;
  c.TextColor = ColorToRGB(clBtnText);
  c.DisabledText = ColorToRGB(clGrayText);
  c.GradientPercent = 75;
}

// The expand picture: its brightest pixels become ToolbarLight, its darkest
// ToolbarDark; the key colour and black stay.
void RecolorSubMenuExpandBitmap(TBitmap* bitmap) {
  HDC dc = bitmap->GetCanvas()->GetHandle();
  const COLORREF key = GetPixel(dc, 0, 0);
  const int width = bitmap->GetWidth(), height = bitmap->GetHeight();
  auto recolored = [&](COLORREF c) { return c != key && c != 0; };
  int a = 255, b = 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (const COLORREF c = GetPixel(dc, x, y); recolored(c)) {
        a = std::min(a, static_cast<int>(GetRValue(c)));
        b = std::max(b, static_cast<int>(GetRValue(c)));
      }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (const COLORREF c = GetPixel(dc, x, y); recolored(c))
        SetPixel(dc, x, y,
                 MixColors(Office11Colors.ToolbarLight, Office11Colors.ToolbarDark,
                           MulDiv(GetRValue(c) - a, 100, b - a)));
}

HBRUSH* BrushEntry(int index) {
  return &Office11Brushes.GripDotBrush + index;
}

void CreateSchemeBrushes() {
  const TOffice11Colors& c = Office11Colors;
  const TColor colors[] = {c.GripDot,           c.GripDotLight,
                           c.SeparatorDark,     c.SeparatorLight,
                           c.BarFrame,          c.MenuBackground,
                           c.SelectionBorder,   c.ToolbarFace,
                           c.CheckedBackground, c.CheckedSelectedBackground,
                           c.DetachCaption,     c.SelectedBackground,
                           c.MarkShadow};
  for (int i = 0; i < 13; ++i)
    *BrushEntry(i) = CreateSolidBrush(colors[i]);
  // Recoloured in true colour: the picture's own palette would round the mix.
  TBitmap picture;
  picture.LoadFromResourceName(GetModuleHandleA(nullptr), "DXBARSUBMENUEXPAND");
  gSubMenuExpandBitmap = std::make_unique<TBitmap>();
  gSubMenuExpandBitmap->SetPixelFormat(pf24bit);
  gSubMenuExpandBitmap->SetSize(picture.GetWidth(), picture.GetHeight());
  BitBlt(gSubMenuExpandBitmap->GetCanvas()->GetHandle(), 0, 0, picture.GetWidth(), picture.GetHeight(),
         picture.GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
  RecolorSubMenuExpandBitmap(gSubMenuExpandBitmap.get());
}

void FreeSchemeBrushes() {
  gSubMenuExpandBitmap.reset();
  for (int i = 0; i < 13; ++i)
    if (HBRUSH* brush = BrushEntry(i); *brush) {
      DeleteObject(*brush);
      *brush = nullptr;
    }
}

int Channel(TColor c, int shift) {
  return (static_cast<uint32_t>(c) >> shift) & 0xFF;
}

TColor MakeColor(int r, int g, int b) {
  auto clamp = [](int v) { return std::clamp(v, 0, 255); };
  return static_cast<TColor>(RGB(clamp(r), clamp(g), clamp(b)));
}

// A channel-wise f(c1 channel, c2 channel).
template <typename F> TColor PerChannel(TColor c1, TColor c2, F&& f) {
  return MakeColor(f(Channel(c1, 0), Channel(c2, 0)), f(Channel(c1, 8), Channel(c2, 8)),
                   f(Channel(c1, 16), Channel(c2, 16)));
}

// Fills b bands over the extent of R, band i in colour(i).
template <typename F> void FillBands(HDC dc, const TRect& R, bool horizontal, F&& colour) {
  const int start = horizontal ? R.left : R.top;
  const int n = horizontal ? R.Width() : R.Height();
  if (n <= 0) return;
  const int b = std::min(n, 256);
  // Bands outside the clip box would draw nothing: no brush is made for them.
  RECT clip;
  const int box = GetClipBox(dc, &clip);
  if (box == NULLREGION) return;
  const int first = box == ERROR ? INT_MIN : horizontal ? clip.left : clip.top;
  const int last = box == ERROR ? INT_MAX : horizontal ? clip.right : clip.bottom;
  int from = start;
  for (int i = 0; i < b && from < start + n; ++i) {
    const int to = start + MulDiv(i + 1, n, b);
    if (to > from && to > first && from < last) {
      const TRect band = horizontal ? TRect(from, R.top, to, R.bottom) : TRect(R.left, from, R.right, to);
      FillRectWithColor(dc, band, colour(i, b));
    }
    from = to;
  }
}

// Both colours as RGB; equal ones fill R with one brush.
bool FilledSolid(HDC dc, const TRect& R, TColor& c1, TColor& c2) {
  c1 = ColorToRGB(c1);
  c2 = ColorToRGB(c2);
  if (c1 != c2) return false;
  FillRectWithColor(dc, R, c1);
  return true;
}

int Bands(const TRect& R, bool horizontal) {
  return std::min(std::max<int>(horizontal ? R.Width() : R.Height(), 1), 256);
}

} // namespace

TBitmap* SubMenuExpandBitmap() {
  return gSubMenuExpandBitmap.get();
}

TdxThemeNameFunction SetThemeNameFunction(TdxThemeNameFunction Function) {
  TdxThemeNameFunction old = std::move(ThemeNames());
  ThemeNames() = Function ? std::move(Function) : ReadThemeNames;
  return old;
}

int DetectLunaScheme() {
  std::wstring file, scheme;
  if (!ThemesAvailable() || !ThemeNames()(file, scheme)) return 0;
  const size_t slash = file.find_last_of(L"\\:");
  std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
  for (std::wstring* s : {&name, &scheme})
    std::transform(s->begin(), s->end(), s->begin(),
                   [](wchar_t ch) { return static_cast<wchar_t>(towupper(ch)); });
  if (name != L"LUNA.MSSTYLES") return 0;
  if (scheme == L"NORMALCOLOR") return 1;
  if (scheme == L"HOMESTEAD") return 2;
  if (scheme == L"METALLIC") return 3;
  return 0;
}

void BuildOffice11Colors() {
  TOffice11Colors& c = Office11Colors;
  const int scheme = DetectLunaScheme();
  if (scheme != 0)
    BuildFromScheme(c, scheme);
  else
    BuildFromSystem(c);
  c.MarkShadow = MixColors(c.MarkTo, c.BarCorner, 50);
  c.MarkHotShadow = MixColors(c.MarkHotTo, c.BarCorner, 50);
  c.MarkPressedShadow = MixColors(c.MarkPressedTo, c.BarCorner, 50);
  c.NonRecentSideLight = MixColors(c.ToolbarLight, clBlack, 92);
  c.NonRecentSideDark = MixColors(c.ToolbarDark, clBlack, 92);
}

void AcquireOffice11Colors() {
  if (gReferences++ > 0) return;
  BuildOffice11Colors();
  CreateSchemeBrushes();
}

void RefreshOffice11Colors() {
  BuildOffice11Colors();
  if (gReferences == 0) return;
  FreeSchemeBrushes();
  CreateSchemeBrushes();
}

void ReleaseOffice11Colors() {
  if (--gReferences == 0) FreeSchemeBrushes();
}

int Office11ReferenceCount() {
  return gReferences;
}

// ---- Colour arithmetic ----

TColor MixColors(TColor C1, TColor C2, int Percent) {
  const TColor mixed = PerChannel(ColorToRGB(C1), ColorToRGB(C2), [Percent](int a, int b) {
    return std::min(MulDiv(b, 100 - Percent, 100) + MulDiv(a, Percent, 100), 255);
  });
  return GetNearestScreenColor(mixed);
}

TColor LightColorFromWeights(int FaceWeight, int HighlightWeight, int WindowWeight) {
  return BlendSystemColors(static_cast<int8_t>(FaceWeight), static_cast<int8_t>(HighlightWeight),
                           static_cast<int8_t>(WindowWeight));
}

// ---- Gradients and frames ----

void FillGradient(HDC DC, const TRect& R, TColor C1, bool Horizontal, TColor C2) {
  if (FilledSolid(DC, R, C1, C2)) return;
  FillBands(DC, R, Horizontal, [&](int i, int b) {
    return PerChannel(C1, C2, [&](int a, int z) { return a + MulDiv(i, z - a, b - 1); });
  });
}

void FillGradientTwoPart(HDC DC, const TRect& R, TColor C1, bool Horizontal, TColor C2) {
  if (FilledSolid(DC, R, C1, C2)) return;
  const int n = Horizontal ? R.Width() : R.Height();
  const int h = n / 2;
  if (h == 0) {
    FillGradient(DC, R, C1, Horizontal, C2);
    return;
  }
  const int percent = Office11Colors.GradientPercent;
  const TColor m = PerChannel(C1, C2, [&](int a, int z) { return a - MulDiv(a - z, percent, 200); });
  const TColor s = PerChannel(C1, m, [&](int a, int z) { return a - MulDiv(a - z, n, h); });
  const TColor e = PerChannel(C2, m, [&](int z, int mid) { return z + MulDiv(mid - z, n, h); });
  FillBands(DC, R, Horizontal, [&](int i, int b) {
    if (i == h) return m;
    if (i < h) return PerChannel(C1, s, [&](int a, int z) { return a + MulDiv(i, z - a, b - 1); });
    return PerChannel(e, C2, [&](int a, int z) { return a + MulDiv(i, z - a, b - 1); });
  });
}

TColor GradientColorAt(const TRect& R, int Position, TColor C1, bool Horizontal, TColor C2) {
  C1 = ColorToRGB(C1);
  C2 = ColorToRGB(C2);
  const int start = Horizontal ? R.left : R.top;
  const int n = std::max<int>(Horizontal ? R.Width() : R.Height(), 1);
  const int b = Bands(R, Horizontal);
  const int i = std::max(MulDiv(Position - start + 1, b, n) - 1, 0);
  return PerChannel(C1, C2, [&](int a, int z) { return a + MulDiv(i, z - a, std::max(b - 1, 1)); });
}

void FrameRectWithBorderBrush(HDC DC, const TRect& R) {
  FrameRect(DC, &R, Office11Brushes.SelectionBorderBrush);
}

void FillGripDots(HDC DC, const TRect& R, bool Column) {
  const int extent = Column ? R.Height() : R.Width();
  const int shift = extent % 4 == 0 ? 0 : 1;
  TRect cell(R.left, R.top, R.left + 4, R.top + 4);
  if (Column)
    OffsetRect(&cell, 0, shift);
  else
    OffsetRect(&cell, shift, 0);
  do {
    TRect dot(cell.left + 1, cell.top + 1, cell.left + 3, cell.top + 3);
    FillRect(DC, &dot, Office11Brushes.GripDotLightBrush);
    OffsetRect(&dot, -1, -1);
    FillRect(DC, &dot, Office11Brushes.GripDotBrush);
    OffsetRect(&cell, Column ? 0 : 4, Column ? 4 : 0);
  } while ((Column ? cell.bottom : cell.right) <= (Column ? R.bottom : R.right));
}

void DrawSchemeArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool NoEmboss) {
  DrawSchemeArrowTriangle(DC, R, Down, CenteredArrowSize(R, Down), Selected, Enabled, NoEmboss);
}

void DrawSchemeArrowTriangle(HDC DC, const TRect& R, bool Down, int Size, bool, bool Enabled, bool) {
  PaintTriangle(DC, R, Down, Size, Enabled ? Office11Colors.TextColor : Office11Colors.DisabledText);
}
