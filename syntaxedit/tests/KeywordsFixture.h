// A text held in row records, as the editor keeps it, with a character
// stream over it: one row per line, each ending with its CR.
#pragma once

#include "SyntaxEd_stream.h"

#include <memory>

class TTestText {
public:
  explicit TTestText(const String& text) {
    TRowRecord* last = nullptr;
    int rows = 0;
    for (size_t start = 0; start < text.size();) {
      size_t end = text.find('\r', start);
      end = end == String::npos ? text.size() : end + 1;
      TRowRecord* row = NewRowRecord(text.data() + start, static_cast<int>(end - start));
      row->Prev = last;
      if (last)
        last->Next = row;
      else
        FStore.SetFirstRow(row);
      last = row;
      ++rows;
      start = end;
    }
    FStore.SetRowCount(rows);
    FStore.SetTextLength(static_cast<int>(text.size()));
  }

  // A stream standing on the character at position.
  std::unique_ptr<TEdStream> StreamAt(int position) {
    auto stream = std::make_unique<TEdStream>(&FStore);
    int rowStart = 0;
    if (TRowRecord* row = FStore.RowAt(position, rowStart))
      stream->AttachToRow(row, position - rowStart, rowStart);
    return stream;
  }

  TTextStore& Store() { return FStore; }

private:
  TTextStore FStore;
};
