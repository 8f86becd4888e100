#include "Graphics.h"

#include <cstring>
#include <vector>

// The canvas of a bitmap: a memory DC with the bitmap selected, kept while
// the canvas lives.
class TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
  ~TBitmapCanvas() override { FreeDC(); }
  void Select(HBITMAP bitmap) {
    if (!FDC) return;
    SelectObject(FDC, bitmap ? static_cast<HGDIOBJ>(bitmap) : FOldBitmap);
  }
  void FreeDC() {
    if (!FDC) return;
    SetHandle(nullptr);
    SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
    FDC = nullptr;
  }

protected:
  void CreateHandle() override {
    if (FDC) return;
    FDC = CreateCompatibleDC(nullptr);
    FOldBitmap = SelectObject(FDC, FBitmap->GetHandle());
    SetHandle(FDC);
  }

private:
  TBitmap* FBitmap;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

// ---- TGraphic ----

void TGraphic::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

// ---- TBitmap ----

namespace {

int BitCount(TPixelFormat format) {
  switch (format) {
  case pf1bit:
    return 1;
  case pf4bit:
    return 4;
  case pf8bit:
    return 8;
  case pf15bit:
  case pf16bit:
    return 16;
  case pf24bit:
    return 24;
  default:
    return 32;
  }
}

TPixelFormat FormatOf(int bitCount) {
  switch (bitCount) {
  case 1:
    return pf1bit;
  case 4:
    return pf4bit;
  case 8:
    return pf8bit;
  case 16:
    return pf16bit;
  case 24:
    return pf24bit;
  default:
    return pf32bit;
  }
}

// A BITMAPINFO with room for a 256-entry palette.
struct DibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
  BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

void DefaultPalette(TPixelFormat format, RGBQUAD* colors, int& count) {
  count = 0;
  if (format == pf1bit) {
    colors[0] = RGBQUAD{0, 0, 0, 0};
    colors[1] = RGBQUAD{255, 255, 255, 0};
    count = 2;
  } else if (format == pf4bit || format == pf8bit) {
    // The 16 colours of the VGA palette; 8-bit adds a colour cube and greys.
    static const BYTE vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (const auto& c : vga)
      colors[count++] = RGBQUAD{c[2], c[1], c[0], 0};
    if (format == pf8bit) {
      for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
          for (int b = 0; b < 6; ++b)
            colors[count++] =
                RGBQUAD{static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(r * 51), 0};
      for (int i = 0; count < 256; ++i) {
        const BYTE v = static_cast<BYTE>(8 + i * 10);
        colors[count++] = RGBQUAD{v, v, v, 0};
      }
    }
  }
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  FCanvas.reset();
  FreeImage();
}

void TBitmap::FreeImage() {
  if (FCanvas) FCanvas->Select(nullptr);
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
}

void TBitmap::NewImage(int width, int height, TPixelFormat format, const RGBQUAD* palette, int paletteSize) {
  FreeImage();
  FWidth = width > 0 ? width : 0;
  FHeight = height > 0 ? height : 0;
  FPixelFormat = format;
  const int bits = BitCount(format);
  FStride = ((FWidth * bits + 31) / 32) * 4;
  if (FWidth == 0 || FHeight == 0) return;
  DibInfo info;
  info.header.biSize = sizeof(info.header);
  info.header.biWidth = FWidth;
  info.header.biHeight = -FHeight;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  info.header.biCompression = BI_RGB;
  int count = paletteSize;
  if (palette)
    std::memcpy(info.colors, palette, sizeof(RGBQUAD) * paletteSize);
  else
    DefaultPalette(format, info.colors, count);
  info.header.biClrUsed = count;
  FHandle = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &FBits, nullptr, 0);
  if (!FHandle) throw EOutOfResources("Out of system resources");
  if (FCanvas) FCanvas->Select(FHandle);
}

void TBitmap::SetSize(int width, int height) {
  if (width == FWidth && height == FHeight && FHandle) return;
  TBitmap old;
  old.CopyFrom(FHandle);
  RGBQUAD palette[256];
  int count = 0;
  if (FHandle && BitCount(FPixelFormat) <= 8) count = GetCanvasPalette(palette);
  NewImage(width, height, FPixelFormat, count ? palette : nullptr, count);
  // Keep what fits of the old picture, as a resized bitmap does.
  if (FHandle) {
    HDC dc = GetCanvas()->GetHandle();
    PatBlt(dc, 0, 0, FWidth, FHeight, WHITENESS);
    if (!old.GetEmpty())
      BitBlt(dc, 0, 0, old.FWidth, old.FHeight, old.GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
  }
  Changed();
}

int TBitmap::GetCanvasPalette(RGBQUAD* palette) {
  return static_cast<int>(GetDIBColorTable(GetCanvas()->GetHandle(), 0, 256, palette));
}

void TBitmap::CopyFrom(HBITMAP source) {
  if (!source) return;
  DIBSECTION ds{};
  if (!GetObjectA(source, sizeof(ds), &ds)) return;
  const int width = ds.dsBm.bmWidth;
  const int height = ds.dsBm.bmHeight;
  NewImage(width, height, pf32bit, nullptr, 0);
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, source);
  BitBlt(GetCanvas()->GetHandle(), 0, 0, width, height, src, 0, 0, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == FPixelFormat && FHandle) return;
  if (!FHandle) {
    FPixelFormat = value;
    return;
  }
  TBitmap old;
  old.CopyFrom(FHandle);
  NewImage(FWidth, FHeight, value, nullptr, 0);
  BitBlt(GetCanvas()->GetHandle(), 0, 0, FWidth, FHeight, old.GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
  Changed();
}

void TBitmap::SetMonochrome(bool value) {
  if (value == GetMonochrome()) return;
  SetPixelFormat(value ? pf1bit : pfDevice);
}

void* TBitmap::GetScanLine(int row) {
  if (row < 0 || row >= FHeight || !FBits) throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  return static_cast<uint8_t*>(FBits) + static_cast<size_t>(row) * FStride;
}

HBITMAP TBitmap::GetHandle() {
  if (!FHandle && FWidth > 0 && FHeight > 0) NewImage(FWidth, FHeight, FPixelFormat, nullptr, 0);
  return FHandle;
}

void TBitmap::SetHandle(HBITMAP value) {
  if (value == FHandle) return;
  FreeImage();
  if (!value) {
    FWidth = FHeight = 0;
    Changed();
    return;
  }
  DIBSECTION ds{};
  const int size = GetObjectA(value, sizeof(ds), &ds);
  if (size == sizeof(ds) && ds.dsBm.bmBits && ds.dsBmih.biHeight < 0) {
    // A top-down DIB section: take it as it is.
    FHandle = value;
    FBits = ds.dsBm.bmBits;
    FWidth = ds.dsBm.bmWidth;
    FHeight = ds.dsBm.bmHeight;
    FStride = ds.dsBm.bmWidthBytes;
    FPixelFormat = FormatOf(ds.dsBm.bmBitsPixel);
    if (FCanvas) FCanvas->Select(FHandle);
  } else {
    CopyFrom(value);
    DeleteObject(value);
  }
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  if (FCanvas) FCanvas->FreeDC();
  HBITMAP handle = FHandle;
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
  return handle;
}

TCanvas* TBitmap::GetCanvas() {
  if (!FCanvas) {
    GetHandle();
    FCanvas = std::make_unique<TBitmapCanvas>(this);
    FCanvas->OnChange = [this](TObject*) { Changed(); };
  }
  return FCanvas.get();
}

void TBitmap::Assign(const TPersistent* Source) {
  auto* b = dynamic_cast<const TBitmap*>(Source);
  if (!b) return TGraphic::Assign(Source);
  if (b == this) return;
  auto* src = const_cast<TBitmap*>(b);
  RGBQUAD palette[256];
  int count = 0;
  if (src->FHandle && BitCount(src->FPixelFormat) <= 8) count = src->GetCanvasPalette(palette);
  NewImage(src->FWidth, src->FHeight, src->FPixelFormat, count ? palette : nullptr, count);
  if (FBits && src->FBits) {
    GdiFlush();
    std::memcpy(FBits, src->FBits, static_cast<size_t>(FStride) * FHeight);
  }
  FTransparentColor = src->FTransparentColor;
  FTransparentMode = src->FTransparentMode;
  SetTransparent(src->GetTransparent());
  Changed();
}

TColor TBitmap::GetTransparentColor() {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (GetEmpty()) return clDefault;
  // The bottom-left pixel, as an image drawn on a plain background has it.
  return GetCanvas()->GetPixel(0, FHeight - 1) & 0xFFFFFF;
}

void TBitmap::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  FTransparentMode = value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode) return;
  if (value == tmAuto) FTransparentColor = clDefault;
  FTransparentMode = value;
  Changed();
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
  HDC dest = canvas->GetHandle();
  HDC src = GetCanvas()->GetHandle();
  if (GetTransparent()) {
    TransparentBlt(dest, rect.left, rect.top, rect.Width(), rect.Height(), src, 0, 0, FWidth, FHeight,
                   ColorToRGB(GetTransparentColor()));
    return;
  }
  SetStretchBltMode(dest, COLORONCOLOR);
  StretchBlt(dest, rect.left, rect.top, rect.Width(), rect.Height(), src, 0, 0, FWidth, FHeight,
             canvas->CopyMode);
}

void TBitmap::LoadFromStream(TStream& stream) {
  BITMAPFILEHEADER file{};
  if (stream.Read(&file, sizeof(file)) != sizeof(file) || file.bfType != 0x4D42)
    throw EInvalidGraphic("Bitmap image is not valid");
  const int64_t infoSize = static_cast<int64_t>(file.bfOffBits) - static_cast<int64_t>(sizeof(file));
  if (infoSize < static_cast<int64_t>(sizeof(BITMAPINFOHEADER)) || infoSize > 64 * 1024)
    throw EInvalidGraphic("Bitmap image is not valid");
  std::vector<char> info(static_cast<size_t>(infoSize) + sizeof(RGBQUAD) * 256);
  stream.ReadBuffer(info.data(), infoSize);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biWidth <= 0 || header->biHeight == 0 ||
      header->biWidth > 65535 || header->biHeight > 65535 || header->biHeight < -65535)
    throw EInvalidGraphic("Bitmap image is not valid");
  const int width = header->biWidth;
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const int bits = header->biBitCount;
  int64_t dataSize = header->biSizeImage;
  if (header->biCompression == BI_RGB || header->biCompression == BI_BITFIELDS || dataSize == 0)
    dataSize = static_cast<int64_t>((width * bits + 31) / 32) * 4 * height;
  std::vector<char> data(static_cast<size_t>(dataSize));
  stream.ReadBuffer(data.data(), dataSize);

  RGBQUAD palette[256];
  int count = 0;
  if (bits <= 8) {
    count = header->biClrUsed ? static_cast<int>(header->biClrUsed) : 1 << bits;
    if (count > 256) count = 256;
    const auto* colors = reinterpret_cast<const RGBQUAD*>(info.data() + header->biSize);
    const int64_t available = (infoSize - header->biSize) / static_cast<int64_t>(sizeof(RGBQUAD));
    if (count > available) count = static_cast<int>(available);
    std::memcpy(palette, colors, sizeof(RGBQUAD) * count);
  }
  NewImage(width, height, FormatOf(bits), count ? palette : nullptr, count);
  // Let GDI convert whatever layout and compression the file has.
  HDC dc = GetCanvas()->GetHandle();
  SetDIBits(dc, FHandle, 0, height, data.data(), reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
  GetHandle();
  RGBQUAD palette[256];
  const int count = FHandle && BitCount(FPixelFormat) <= 8 ? GetCanvasPalette(palette) : 0;
  const uint32_t imageSize = static_cast<uint32_t>(FStride) * FHeight;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info) + count * sizeof(RGBQUAD);
  file.bfSize = file.bfOffBits + imageSize;
  info.biSize = sizeof(info);
  info.biWidth = FWidth;
  info.biHeight = -FHeight;
  info.biPlanes = 1;
  info.biBitCount = static_cast<WORD>(BitCount(FPixelFormat));
  info.biCompression = BI_RGB;
  info.biSizeImage = imageSize;
  info.biClrUsed = count;
  stream.WriteBuffer(&file, sizeof(file));
  stream.WriteBuffer(&info, sizeof(info));
  if (count) stream.WriteBuffer(palette, count * sizeof(RGBQUAD));
  if (FBits) {
    GdiFlush();
    stream.WriteBuffer(FBits, imageSize);
  }
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const String& name) {
  auto handle =
      static_cast<HBITMAP>(LoadImageA(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!handle) throw EResNotFound(Format("Resource %s not found", name));
  SetHandle(handle);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
  auto handle = static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!handle) throw EResNotFound(Format("Resource %d not found", id));
  SetHandle(handle);
}

// ---- TIcon ----

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

void TIcon::Assign(const TPersistent* Source) {
  auto* i = dynamic_cast<const TIcon*>(Source);
  if (!i) return TGraphic::Assign(Source);
  if (i == this) return;
  SetHandle(i->FHandle ? CopyIcon(i->FHandle) : nullptr);
}

void TIcon::SetWidth(int) {
  throw EInvalidGraphicOperation("Cannot change the size of an icon");
}
void TIcon::SetHeight(int) {
  throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHandle(HICON value) {
  if (FHandle) DestroyIcon(FHandle);
  FHandle = value;
  FWidth = FHeight = 0;
  ICONINFO info{};
  if (value && GetIconInfo(value, &info)) {
    BITMAP bm{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    FWidth = bm.bmWidth;
    FHeight = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  Changed();
}

void TIcon::LoadFromStream(TStream& stream) {
  // An icon file: take its first image.
  std::vector<BYTE> data(static_cast<size_t>(stream.GetSize() - stream.GetPosition()));
  stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
  if (data.size() < 22 || data[2] != 1 || data[4] == 0) throw EInvalidGraphic("Icon image is not valid");
  const BYTE* entry = data.data() + 6;
  const uint32_t size = entry[8] | entry[9] << 8 | entry[10] << 16 | static_cast<uint32_t>(entry[11]) << 24;
  const uint32_t offset =
      entry[12] | entry[13] << 8 | entry[14] << 16 | static_cast<uint32_t>(entry[15]) << 24;
  if (offset > data.size() || size > data.size() - offset) throw EInvalidGraphic("Icon image is not valid");
  HICON icon = CreateIconFromResourceEx(data.data() + offset, size, TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
  if (!icon) throw EInvalidGraphic("Icon image is not valid");
  SetHandle(icon);
}

void TIcon::SaveToStream(TStream&) {
  throw EInvalidGraphicOperation("Icons cannot be saved");
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const String& name) {
  auto icon = static_cast<HICON>(LoadImageA(instance, name.c_str(), IMAGE_ICON, 0, 0, 0));
  if (!icon) throw EResNotFound(Format("Resource %s not found", name));
  SetHandle(icon);
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
  DrawIconEx(canvas->GetHandle(), rect.left, rect.top, FHandle, rect.Width(), rect.Height(), 0, nullptr,
             DI_NORMAL);
}

// ---- TPicture ----

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetOwned(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FGraphic) FGraphic->OnChange = [this](TObject* sender) { Changed(sender); };
  Changed(this);
}

void TPicture::Changed(TObject* sender) {
  if (OnChange) OnChange(sender);
}

void TPicture::SetGraphic(const TGraphic* value) {
  SetOwned(CloneGraphic(value));
}

void TPicture::Assign(const TPersistent* Source) {
  if (!Source) return SetGraphic(nullptr);
  if (auto* p = dynamic_cast<const TPicture*>(Source)) return SetGraphic(p->FGraphic.get());
  if (auto* g = dynamic_cast<const TGraphic*>(Source)) return SetGraphic(g);
  TPersistent::Assign(Source);
}

TBitmap* TPicture::GetBitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(FGraphic.get())) return b;
  auto bitmap = std::make_unique<TBitmap>();
  if (FGraphic && !FGraphic->GetEmpty()) {
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(FGraphic->GetWidth(), FGraphic->GetHeight());
    bitmap->GetCanvas()->Draw(0, 0, FGraphic.get());
  }
  SetOwned(std::move(bitmap));
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::GetIcon() {
  if (auto* i = dynamic_cast<TIcon*>(FGraphic.get())) return i;
  SetOwned(std::make_unique<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::SaveToFile(const String& fileName) {
  if (FGraphic) FGraphic->SaveToFile(fileName);
}
