#include "Graphics.h"

#include "Jpeg.h"

std::unique_ptr<TGraphic> CloneGraphic(const TGraphic* source) {
  if (!source) return nullptr;
  std::unique_ptr<TGraphic> copy;
  if (dynamic_cast<const TBitmap*>(source))
    copy = std::make_unique<TBitmap>();
  else if (dynamic_cast<const TIcon*>(source))
    copy = std::make_unique<TIcon>();
  else if (dynamic_cast<const TJPEGImage*>(source))
    copy = std::make_unique<TJPEGImage>();
  else
    throw EInvalidGraphic("Unknown picture class");
  copy->Assign(source);
  return copy;
}

void TPicture::LoadFromFile(const String& fileName) {
  const String ext = LowerCase(fileName.substr(
      fileName.find_last_of('.') == String::npos ? fileName.size() : fileName.find_last_of('.')));
  std::unique_ptr<TGraphic> graphic;
  if (ext == ".bmp")
    graphic = std::make_unique<TBitmap>();
  else if (ext == ".ico")
    graphic = std::make_unique<TIcon>();
  else if (ext == ".jpg" || ext == ".jpeg")
    graphic = std::make_unique<TJPEGImage>();
  else
    throw EInvalidGraphic(Format("Unknown picture file extension (%s)", ext));
  graphic->LoadFromFile(fileName);
  SetOwned(std::move(graphic));
}
