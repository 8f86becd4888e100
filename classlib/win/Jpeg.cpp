#include "Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

// libjpeg reports errors by calling error_exit; it jumps back to the caller,
// which raises the exception once no libjpeg frame is on the stack.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

void Silent(j_common_ptr, int) {}

jpeg_error_mgr* InitErrors(ErrorManager& err) {
  jpeg_error_mgr* base = jpeg_std_error(&err.base);
  err.base.error_exit = ErrorExit;
  err.base.emit_message = Silent;
  return base;
}

// Plain C-style work only between setjmp and the calls that may jump.
bool Decode(const unsigned char* data, size_t size, bool grayscale, bool headerOnly, int& width, int& height,
            std::vector<unsigned char>& rgb, char* message) {
  jpeg_decompress_struct info;
  ErrorManager err;
  info.err = InitErrors(err);
  if (setjmp(err.jump)) {
    std::strcpy(message, err.message);
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  width = static_cast<int>(info.image_width);
  height = static_cast<int>(info.image_height);
  if (headerOnly) {
    jpeg_destroy_decompress(&info);
    return true;
  }
  info.out_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&info);
  const size_t stride = static_cast<size_t>(info.output_width) * info.output_components;
  rgb.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rgb.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

bool Encode(const unsigned char* rgb, int width, int height, int quality, bool grayscale, unsigned char*& out,
            unsigned long& outSize, char* message) {
  jpeg_compress_struct info;
  ErrorManager err;
  info.err = InitErrors(err);
  if (setjmp(err.jump)) {
    std::strcpy(message, err.message);
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  if (grayscale) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  const size_t stride = static_cast<size_t>(width) * 3;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(rgb) + stride * info.next_scanline;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

} // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::SetWidth(int) {
  throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}
void TJPEGImage::SetHeight(int) {
  throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::ReadHeader() {
  std::vector<unsigned char> none;
  char message[JMSG_LENGTH_MAX] = {};
  int width = 0, height = 0;
  if (!Decode(FData.data(), FData.size(), false, true, width, height, none, message)) {
    FData.clear();
    FWidth = FHeight = 0;
    throw EInvalidGraphic(Format("JPEG error #%s", String(message)));
  }
  FWidth = width;
  FHeight = height;
}

void TJPEGImage::LoadFromStream(TStream& stream) {
  const int64_t size = stream.GetSize() - stream.GetPosition();
  if (size <= 0) throw EInvalidGraphic("JPEG image is empty");
  FData.resize(static_cast<size_t>(size));
  stream.ReadBuffer(FData.data(), size);
  FBitmap.reset();
  ReadHeader();
  Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TJPEGImage::DIBNeeded() {
  if (FBitmap || FData.empty()) return;
  std::vector<unsigned char> pixels;
  char message[JMSG_LENGTH_MAX] = {};
  int width = 0, height = 0;
  if (!Decode(FData.data(), FData.size(), Grayscale, false, width, height, pixels, message))
    throw EInvalidGraphic(Format("JPEG error #%s", String(message)));
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  const int components = Grayscale ? 1 : 3;
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<uint8_t*>(bitmap->GetScanLine(y));
    const unsigned char* src = pixels.data() + static_cast<size_t>(y) * width * components;
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = src + x * components;
      row[x * 3 + 0] = p[components == 3 ? 2 : 0];
      row[x * 3 + 1] = p[components == 3 ? 1 : 0];
      row[x * 3 + 2] = p[0];
    }
  }
  FBitmap = std::move(bitmap);
}

TBitmap* TJPEGImage::GetBitmap() {
  DIBNeeded();
  return FBitmap.get();
}

void TJPEGImage::Compress(TBitmap* source) {
  TBitmap bitmap;
  bitmap.Assign(source);
  bitmap.SetPixelFormat(pf24bit);
  const int width = bitmap.GetWidth(), height = bitmap.GetHeight();
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const uint8_t*>(bitmap.GetScanLine(y));
    unsigned char* dst = rgb.data() + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      dst[x * 3 + 0] = row[x * 3 + 2];
      dst[x * 3 + 1] = row[x * 3 + 1];
      dst[x * 3 + 2] = row[x * 3 + 0];
    }
  }
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  char message[JMSG_LENGTH_MAX] = {};
  const bool ok = Encode(rgb.data(), width, height, CompressionQuality, Grayscale, out, outSize, message);
  if (ok) FData.assign(out, out + outSize);
  std::free(out);
  if (!ok) throw EInvalidGraphic(Format("JPEG error #%s", String(message)));
  FWidth = width;
  FHeight = height;
  FBitmap.reset();
}

void TJPEGImage::Assign(const TPersistent* Source) {
  if (auto* j = dynamic_cast<const TJPEGImage*>(Source)) {
    if (j == this) return;
    FData = j->FData;
    FWidth = j->FWidth;
    FHeight = j->FHeight;
    CompressionQuality = j->CompressionQuality;
    Grayscale = j->Grayscale;
    FBitmap.reset();
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
    Compress(const_cast<TBitmap*>(b));
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect) {
  DIBNeeded();
  if (FBitmap) canvas->StretchDraw(rect, FBitmap.get());
}
