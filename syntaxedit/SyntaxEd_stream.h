// A read-only character cursor over the rows of the text: the tokenizer,
// keyword tables, templates, searches and user parse handlers walk the text
// through it one character at a time without copying it.
#pragma once

#include "SyntaxEd_store.h"

#include <algorithm>

class TCustomEdStream : public TStream {
public:
  virtual char CurrentChar() const = 0;
  virtual int CurrentPos() const = 0;
  virtual void MoveTo(int target) = 0;
  virtual bool AtEnd() const = 0;
  virtual void Advance() = 0;
  virtual void StepBack() = 0;
};

// Final, so that the tokenizer's per-character calls through a TEdStream&
// bind directly and inline.
class TEdStream final : public TCustomEdStream {
public:
  // editor may be none; it supplies the text length.
  explicit TEdStream(const TEdTextSource* editor);

  // Callers find the row holding a wanted position first (TTextStore::RowAt)
  // and pass (row, position - row start, row start).
  void AttachToRow(TRowRecord* row, int offsetInRow, int rowStart);

  // At the end of the text this is the last row's terminating zero. Needs an
  // attached row.
  char CurrentChar() const override { return FRow->Text[FOffset]; }
  int CurrentPos() const override { return FPosition; }
  void MoveTo(int target) override {
    // The tokenizer mostly moves back to a token's start in the same row.
    int offset = FOffset + (target - FPosition);
    if (FRow && offset >= 0 && offset < FRow->Length) {
      FOffset = offset;
      FPosition = target;
      return;
    }
    MoveAcrossRows(target);
  }
  // Also true over an empty text, so that a scan of it ends.
  bool AtEnd() const override { return FPosition > FLastIndex || FTextLength == 0; }
  void Advance() override {
    // Nearly every step stays inside the row.
    if (FRow && FOffset < FRow->Length - 1) {
      ++FPosition;
      ++FOffset;
      return;
    }
    AdvanceOverRowEnd();
  }
  void StepBack() override {
    if (FRow && FOffset > 0) {
      --FPosition;
      --FOffset;
      return;
    }
    StepBackOverRowStart();
  }

  int64_t Read(void* buffer, int64_t count) override;
  // Raises EStreamError: the stream never changes the text.
  int64_t Write(const void* buffer, int64_t count) override;
  // From the end a positive offset counts back: Seek(3, soEnd) is three
  // characters before the end.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

  // The characters from the current one to the end of its row, no further
  // than the end of the text: a scanner tests them in a plain loop and then
  // moves over the ones it takes with Skip.
  int RowRun(const char*& chars) const {
    if (!FRow || FTextLength == 0) return 0;
    chars = FRow->Text.get() + FOffset;
    int count = std::min(FRow->Length - FOffset, FLastIndex + 1 - FPosition);
    return count > 0 ? count : 0;
  }
  // Moves over 1 to RowRun() characters, as that many Advance calls would.
  void Skip(int count) {
    FOffset += count - 1;
    FPosition += count - 1;
    Advance();
  }

  TRowRecord* GetRow() const { return FRow; }
  int GetOffset() const { return FOffset; }

private:
  void MoveAcrossRows(int target);
  void AdvanceOverRowEnd();
  void StepBackOverRowStart();

  const TEdTextSource* FEditor;
  int FLastIndex = 0;
  int FTextLength;
  TRowRecord* FRow = nullptr;
  int FPosition = 0;
  int FOffset = 0;
};
