// A text held in row records, as the editor keeps it, with character
// streams over it.
#pragma once

#include "StoreText.h"

#include <memory>

class TTestText {
public:
  explicit TTestText(const String& text) { SetStoreText(FStore, text); }

  // A stream standing on the character at position (no row for an empty text).
  std::unique_ptr<TEdStream> StreamAt(int position) {
    auto stream = std::make_unique<TEdStream>(&FStore);
    if (FStore.GetFirstRow()) AttachAt(*stream, FStore, position);
    return stream;
  }

private:
  TTextStore FStore;
};
