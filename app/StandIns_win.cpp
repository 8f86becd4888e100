#include "StandIns.h"

#include "ImgList.h"

#include <memory>

namespace {

void SetGlyphFromImages(TCustomImageList* images, int imageIndex,
                        const std::function<void(TBitmap*)>& apply) {
  if (!images || imageIndex < 0 || imageIndex >= images->GetCount()) return;
  auto glyph = std::make_unique<TBitmap>();
  images->GetBitmap(imageIndex, glyph.get());
  apply(glyph.get());
}

} // namespace

TStandInLargeButton::TStandInLargeButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  Flat = true;
  Layout = blGlyphTop;
}

void TStandInLargeButton::SetImages(TCustomImageList* images, int imageIndex) {
  SetGlyphFromImages(images, imageIndex, [this](TBitmap* glyph) { SetGlyph(glyph); });
}
