#include "SyntaxEd_rescan.h"

#include "SynParse.h"
#include "SyntaxEd_stream.h"

#include <algorithm>
#include <cstring>

THighlightRescanner::THighlightRescanner(TTextStore& store, TCustomSyntaxMemo* editor)
    : FStore(store), FEditor(editor), FStream(std::make_unique<TEdStream>(&store)) {}

THighlightRescanner::~THighlightRescanner() = default;

void THighlightRescanner::Fire(int& token, int start, int end) {
  if (OnTokenSeen) OnTokenSeen(Sender, token, start, end);
}

void THighlightRescanner::RescanFrom(TRowRecord* row) {
  if (!row) return;
  row->Flags |= rfForceScan;
  FirstChangedRow = row;
  RescanHighlighting();
}

void THighlightRescanner::RescanAll() {
  RescanFrom(FStore.GetFirstRow());
}

// The restart point: back from the end of the start row to a character whose
// token byte is an anchor, then back to the first character of that run.
void THighlightRescanner::FindRestart(TRowRecord* start, TRowRecord*& row, int& offset, uint8_t& initial) {
  row = start;
  offset = 0;
  initial = 0;
  if (!start->Tokens) return;
  TCharSet anchors = Parser->GetAnchorTokens();
  if (anchors[0] && start->Tokens[0] == 0) return;
  int i = start->Length - 1;
  while (!anchors[row->Tokens[i]]) {
    if (i > 0) {
      --i;
      continue;
    }
    if (!row->Prev) break;
    if (!row->Prev->Tokens) {
      // A row never tokenised: scan it as well, from its start.
      row = row->Prev;
      --FRowOffset;
      return;
    }
    row = row->Prev;
    --FRowOffset;
    i = row->Length - 1;
  }
  initial = row->Tokens[i];
  for (;;) {
    if (i > 0) {
      if (row->Tokens[i - 1] != initial) break;
      --i;
      continue;
    }
    TRowRecord* prev = row->Prev;
    if (!prev || !prev->Tokens || prev->Tokens[prev->Length - 1] != initial) break;
    row = prev;
    --FRowOffset;
    i = row->Length - 1;
  }
  offset = i;
}

// The row becomes the one whose new token bytes are being built, starting
// from a copy of its old ones.
void THighlightRescanner::MakeCurrent(TRowRecord* row) {
  FRow = row;
  // Filled just below: a zeroing allocation would write every byte twice.
  FNew = std::make_unique_for_overwrite<uint8_t[]>(row->Length);
  if (row->Tokens)
    std::memcpy(FNew.get(), row->Tokens.get(), row->Length);
  else
    std::memset(FNew.get(), 0, row->Length);
  FRowCurrent = true;
}

void THighlightRescanner::FinishRow(int pending) {
  FRowCurrent = false;
  const uint8_t* old = FRow->Tokens.get();
  if (Parser->GetContainerActive()) {
    FDone = false;
  } else if (old && FNew) {
    TRowRecord* next = FRow->Next;
    FDone = std::memcmp(old, FNew.get(), FRow->Length) == 0 && !(FRow->Flags & rfForceScan) &&
            FRowOffset > 0 && (!next || next->Tokens) && !Parser->InBoundState();
  }
  if (FDone && pending == 0) {
    FNew.reset();
    return;
  }
  FRow->Tokens = std::move(FNew);
  FRow->Flags = (FRow->Flags & ~(rfChanged | rfForceScan)) | rfRepaint;
  if (!FRow->Next) {
    FDone = true;
    return;
  }
  MakeCurrent(FRow->Next);
  FWriteIndex = 0;
  ++FRowOffset;
}

void THighlightRescanner::Flush() {
  while (FPending > 0) {
    // Characters short of the row's last one cannot finish the row, so they
    // are written in one go; the last one goes the careful way below.
    int run = std::min(FPending, FRow->Length - 1 - FWriteIndex);
    if (run > 0) {
      std::memset(FNew.get() + FWriteIndex, FToken, static_cast<size_t>(run));
      FWriteIndex += run;
      FPending -= run;
      continue;
    }
    if (FWriteIndex < FRow->Length) FNew[static_cast<size_t>(FWriteIndex)] = static_cast<uint8_t>(FToken);
    ++FWriteIndex;
    if (FWriteIndex >= FRow->Length) {
      FinishRow(FPending);
      if (!FNew) break;
    }
    --FPending;
  }
  FDone = FDone && (FWriteIndex == 0 || !FNew);
}

void THighlightRescanner::RescanHighlighting() {
  TRowRecord* changed = FirstChangedRow;
  if (changed && Parser && (changed->Flags & (rfChanged | rfForceScan))) {
    FRowOffset = 0;
    TRowRecord* start = changed;
    if (start->Prev) {
      start = start->Prev;
      FRowOffset = -1;
    }
    TRowRecord* row;
    int offset;
    uint8_t initial;
    FindRestart(start, row, offset, initial);
    int none = -1;
    Fire(none, -1, -1);
    TEdStream& s = *FStream;
    s.AttachToRow(row, offset, RowStartPosition(row));
    MakeCurrent(row);
    FDone = false;
    Parser->SetStateFromToken(initial);
    bool runs = !Parser->GetUsesCustomHandlers() || (Parser->OnCustomParse && !Parser->IsDesigning());
    while (runs && !s.AtEnd() && !FDone) {
      TRowRecord* startRow = s.GetRow();
      int startOffset = s.GetOffset();
      int startPos = s.CurrentPos();
      int rowOffset = FRowOffset;
      FWriteIndex = startOffset;
      FPending = 0;
      while (ProcessMessages && Parser->IsContainerPending())
        ProcessMessages();
      bool replay = false;
      do {
        FToken = Parser->NextToken(FEditor, s, FPending) & 0xFF;
        if (FPending == 0 && !s.AtEnd()) {
          s.Advance();
          FPending = 1;
        }
        Fire(FToken, startPos, s.CurrentPos());
        if (replay) {
          if (FToken == 0) FToken = FNew ? FNew[static_cast<size_t>(FWriteIndex)] : 0;
          Flush();
          FPending = 0;
        } else if (Parser->GetContainerActive()) {
          // The container's value covers its whole extent; its inside is
          // then scanned again token by token.
          Flush();
          if (!FDone && FNew) {
            FRow->Tokens = std::move(FNew);
            FRow->Flags |= rfChanged;
          }
          replay = true;
          FRowOffset = rowOffset;
          s.AttachToRow(startRow, startOffset, startPos - startOffset);
          MakeCurrent(startRow);
          FWriteIndex = startOffset;
          startPos = s.CurrentPos();
          FDone = false;
          FPending = 0;
        } else {
          Flush();
        }
      } while (!s.AtEnd() && Parser->GetContainerActive());
    }
    if (FRowCurrent) FinishRow(0);
    FNew.reset();
    Parser->SetStateFromToken(initial);
  }
  FirstChangedRow = nullptr;
  int end = -2;
  Fire(end, -2, -2);
}
