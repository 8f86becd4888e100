#include "SyntaxEd_stream.h"

#include <cstring>

TEdStream::TEdStream(const TEdTextSource* editor)
    : FEditor(editor), FTextLength(editor ? editor->GetTextLength() : 0) {}

void TEdStream::AttachToRow(TRowRecord* row, int offsetInRow, int rowStart) {
  FRow = row;
  FOffset = offsetInRow;
  FPosition = rowStart + offsetInRow;
  FTextLength = FEditor ? FEditor->GetTextLength() : 0;
  FLastIndex = FTextLength > 0 ? FTextLength - 1 : 0;
}

void TEdStream::AdvanceOverRowEnd() {
  if (!FRow) return;
  if (FRow->Next) {
    FRow = FRow->Next;
    FOffset = 0;
    ++FPosition;
    return;
  }
  // Past the last character the stream stays at the end of the text.
  if (FOffset == FRow->Length - 1) ++FPosition;
  FOffset = FRow->Length;
}

void TEdStream::StepBackOverRowStart() {
  if (!FRow || !FRow->Prev) return;
  FRow = FRow->Prev;
  FOffset = FRow->Length - 1;
  --FPosition;
}

void TEdStream::MoveAcrossRows(int target) {
  if (!FRow) return;
  int distance = target - FPosition;
  if (distance < 0) {
    distance = -distance;
    while (distance > 0) {
      if (distance <= FOffset) {
        FOffset -= distance;
        break;
      }
      distance -= FOffset + 1;
      if (!FRow->Prev) {
        FOffset = 0;
        break;
      }
      FRow = FRow->Prev;
      FOffset = FRow->Length - 1;
    }
  } else {
    while (distance > 0) {
      int rest = FRow->Length - FOffset;
      if (distance < rest) {
        FOffset += distance;
        break;
      }
      if (!FRow->Next) {
        FOffset = FRow->Length;
        break;
      }
      distance -= rest;
      FRow = FRow->Next;
      FOffset = 0;
    }
  }
  FPosition = target;
}

int64_t TEdStream::Read(void* buffer, int64_t count) {
  char* out = static_cast<char*>(buffer);
  int64_t copied = 0;
  while (count > 0 && FPosition < FTextLength && FRow) {
    int rest = FRow->Length - FOffset;
    if (count > rest) {
      std::memcpy(out + copied, FRow->Text.get() + FOffset, static_cast<size_t>(rest));
      FPosition += rest;
      copied += rest;
      count -= rest;
      FRow = FRow->Next;
      FOffset = 0;
      continue;
    }
    std::memcpy(out + copied, FRow->Text.get() + FOffset, static_cast<size_t>(count));
    FPosition += static_cast<int>(count);
    FOffset += static_cast<int>(count);
    copied += count;
    if (FOffset == FRow->Length && FRow->Next) {
      FRow = FRow->Next;
      FOffset = 0;
    }
    break;
  }
  return copied;
}

int64_t TEdStream::Write(const void*, int64_t) {
  throw EStreamError(SReadOnlyStream);
}

int64_t TEdStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
  case soBeginning:
    MoveTo(static_cast<int>(offset));
    break;
  case soCurrent:
    if (offset != 0) MoveTo(FPosition + static_cast<int>(offset));
    break;
  case soEnd:
    if (FEditor) MoveTo(FTextLength - static_cast<int>(offset));
    break;
  }
  return FPosition;
}
