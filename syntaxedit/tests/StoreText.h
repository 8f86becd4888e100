// Test support: fills a text store from a string the way the editing core
// lays text out (rows end after each CR or after 2047 characters; rows that
// continue a line carry rmContinuation), and reads it back.
#pragma once

#include "SyntaxEd_store.h"
#include "SyntaxEd_stream.h"

#include <algorithm>

inline void SetStoreText(TTextStore& store, const String& text) {
  FreeRowChain(store.GetFirstRow());
  store.SetFirstRow(nullptr);
  store.SetTopRow(nullptr);
  TRowRecord* last = nullptr;
  int rows = 0;
  int longest = 0;
  size_t at = 0;
  while (at < text.size()) {
    size_t cr = text.find('\r', at);
    size_t end = cr == String::npos ? text.size() : cr + 1;
    end = std::min(end, at + 2047);
    TRowRecord* row = NewRowRecord(text.data() + at, static_cast<int>(end - at));
    if (last && last->Text[last->Length - 1] != '\r') row->Marks |= rmContinuation;
    if (std::find(text.begin() + at, text.begin() + end, '\t') != text.begin() + end) row->Flags |= rfHasTab;
    row->Prev = last;
    if (last)
      last->Next = row;
    else
      store.SetFirstRow(row);
    last = row;
    ++rows;
    longest = std::max<int>(longest, row->Length);
    at = end;
  }
  store.SetRowCount(rows);
  store.SetTextLength(static_cast<int>(text.size()));
  store.SetLongestRow(longest);
}

inline String StoreText(const TTextStore& store) {
  String s;
  for (TRowRecord* r = store.GetFirstRow(); r; r = r->Next)
    s.append(r->Text.get(), r->Length);
  return s;
}

// A stream attached at a position of the store's text.
inline void AttachAt(TEdStream& stream, const TTextStore& store, int position) {
  int rowStart = 0;
  TRowRecord* row = store.RowAt(position, rowStart);
  stream.AttachToRow(row, position - rowStart, rowStart);
}
