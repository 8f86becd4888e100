// Incremental re-highlighting: after an edit, the rows' token bytes are
// rebuilt from a safe restart point before the first changed row up to the
// first row boundary after it at which nothing can differ any more.
#pragma once

#include "SyntaxEd_store.h"

#include <cstdint>
#include <functional>
#include <memory>

class TObject;
class TEdStream;
class TSyntaxMemoParser;
class TCustomSyntaxMemo;

// Once with -1s when a scan starts, once per token with its extent (the
// handler may change the value written), once with -2s at the end of every
// rescan.
using TTokenSeenEvent = std::function<void(TObject* Sender, int& TokenValue, int ExtentStart, int ExtentEnd)>;

// The rescan of one editor's text with its active parser.
class THighlightRescanner {
public:
  THighlightRescanner(TTextStore& store, TCustomSyntaxMemo* editor = nullptr);
  ~THighlightRescanner();

  // Rescans from FirstChangedRow; nothing when there is none, no parser, or
  // the row has neither rfChanged nor rfForceScan. FirstChangedRow is
  // cleared at the end.
  void RescanHighlighting();
  void RescanFrom(TRowRecord* row);
  void RescanAll();

  TSyntaxMemoParser* Parser = nullptr; // the active parser; none highlights nothing
  TRowRecord* FirstChangedRow = nullptr;
  TTokenSeenEvent OnTokenSeen;
  TObject* Sender = nullptr;
  // Lets pending window messages run while a shared parser reports a
  // container scan in progress; without it the wait is skipped.
  std::function<void()> ProcessMessages;

private:
  void FindRestart(TRowRecord* start, TRowRecord*& row, int& offset, uint8_t& initial);
  void MakeCurrent(TRowRecord* row);
  void Flush();
  void FinishRow(int pending);
  void Fire(int& token, int start, int end);

  TTextStore& FStore;
  TCustomSyntaxMemo* FEditor;
  std::unique_ptr<TEdStream> FStream;

  // Working state of one rescan.
  TRowRecord* FRow = nullptr;
  std::unique_ptr<uint8_t[]> FNew;
  int FWriteIndex = 0;
  int FToken = 0;
  int FPending = 0;
  int FRowOffset = 0;
  bool FDone = false;
  bool FRowCurrent = false;
};
