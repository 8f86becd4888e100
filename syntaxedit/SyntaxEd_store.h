// The editor's text: a doubly linked chain of row records and the counters,
// undo log, bookmarks and marked ranges that belong to the text rather than
// to a window, so that several editors can share one store.
#pragma once

#include "SyntaxEd_base.h"

#include <cstdint>
#include <memory>

struct TRowRecord;
class TUndoStack;
class TObjectList;
class TCustomBookmarks;
class TSM_Breakpoints;
class TSM_CodeBreak;

// Row flags.
enum : uint32_t {
  rfRepaint = 0x01,   // the row must be redrawn
  rfChanged = 0x02,   // text changed, tokens to be rebuilt
  rfHasTab = 0x04,    // the row contains a TAB
  rfForceScan = 0x10, // tokenise this row even if nothing before it changed
};

// Row marks: bits 0-9 carry numbered bookmark 0-9.
enum : uint16_t {
  rmBookmarkBits = 0x03FF,
  rmContinuation = 0x1000, // the row continues the logical line of the row before it
};

// An object that follows a row; it is owned by the row it sits on.
class TLineTrack {
public:
  virtual ~TLineTrack() = default;
  TRowRecord* Row = nullptr;
};

// One display row: its characters (the line end, a single CR, included)
// and one token byte per character.
struct TRowRecord {
  uint16_t Length = 0;               // characters, line end included
  std::unique_ptr<char[]> Text;      // Length characters and a terminating zero
  std::unique_ptr<uint8_t[]> Tokens; // Length token bytes, none until tokenised
  std::unique_ptr<TLineTrack> Track;
  uint32_t Flags = 0;
  uint16_t Marks = 0;
  uint16_t GutterImages = 0;
  int32_t Paint1 = -1; // background colour of the whole row, -1 none
  int32_t Paint2 = -1; // text colour of the whole row
  TRowRecord* Next = nullptr;
  TRowRecord* Prev = nullptr;
};

inline bool RowEndsWithCR(const TRowRecord* row) {
  return row && row->Length > 0 && row->Text[row->Length - 1] == '\r';
}

// A row holding a copy of text[0 .. length), not linked.
TRowRecord* NewRowRecord(const char* text, int length);
void FreeRowRecord(TRowRecord* row);
void FreeRowChain(TRowRecord* first);
// The absolute position of the row's first character.
int RowStartPosition(const TRowRecord* row);

enum TSelLineStyle : uint8_t { lsCRLF, lsLF };

// What a character stream asks of the text it walks.
class TEdTextSource {
public:
  virtual ~TEdTextSource() = default;
  virtual int GetTextLength() const = 0;
};

// Held through shared pointers: editors that share a store keep it alive,
// and the last of them frees it.
class TTextStore : public TEdTextSource, public std::enable_shared_from_this<TTextStore> {
public:
  static constexpr int BookmarkCount = 10;

  TTextStore();
  ~TTextStore() override;
  TTextStore(const TTextStore&) = delete;
  TTextStore& operator=(const TTextStore&) = delete;

  TRowRecord* GetFirstRow() const { return FFirstRow; }
  void SetFirstRow(TRowRecord* row) { FFirstRow = row; }
  TRowRecord* GetTopRow() const { return FTopRow; }
  void SetTopRow(TRowRecord* row) { FTopRow = row; }
  int GetRowCount() const { return FRowCount; }
  void SetRowCount(int value) { FRowCount = value; }
  int GetTextLength() const override { return FTextLength; }
  void SetTextLength(int value) { FTextLength = value; }
  int GetLongestRow() const { return FLongestRow; }
  void SetLongestRow(int value) { FLongestRow = value; }
  TSelLineStyle GetLineEndStyle() const { return FLineEndStyle; }
  // The editor whose top line the cached top row stands for.
  const void* TopRowOwner = nullptr;
  // The editor the breakpoint lists report to.
  const void* ListsOwner = nullptr;
  void SetLineEndStyle(TSelLineStyle value) { FLineEndStyle = value; }

  TUndoStack* GetUndoStack() const { return FUndoStack.get(); }
  void SetUndoStack(std::unique_ptr<TUndoStack> stack);
  TObjectList* GetMarkList() const { return FMarkList.get(); }
  void SetMarkList(std::unique_ptr<TObjectList> list);
  TCustomBookmarks& GetCustomBookmarks() const { return *FCustomBookmarks; }
  TSM_Breakpoints& GetBreakpoints() const;
  TSM_CodeBreak& GetCodeBreak() const;
  // Moves both lists' anchors with a text change (extent negative for a
  // deletion).
  void NotifyBreakpoints(int position, int extent);

  uint16_t GetBookmarkColumn(int k) const;
  void SetBookmarkColumn(int k, uint16_t column);

  // The row holding a position and its start: a position on the boundary
  // between two rows belongs to the later row, the end of the text to the
  // last row. None for an empty text.
  TRowRecord* RowAt(int position, int& rowStart) const;

  // Recomputes the cached top row when it is none; topLine and topRowOffset
  // are the viewing editor's own.
  void EnsureTopRow(int& topLine, int& topRowOffset);
  // Marks the row and every row after it for a new tokenisation.
  static void MarkRowsChanged(TRowRecord* row);
  // Marks count rows from the top row for repainting.
  void MarkRowsRepaint(int count);

  // Numbered bookmark k on the 1-based line and column; setting it again on
  // its own line removes it. With word wrap the mark goes to the first row of
  // the logical line. Returns false when the call removed the bookmark (no
  // set event is due).
  bool SetBookmark(int k, int line, int column, bool wordWrap);
  // The position of numbered bookmark k, -1 when no row carries it.
  int BookmarkPosition(int k) const;

private:
  TRowRecord* FFirstRow = nullptr;
  TRowRecord* FTopRow = nullptr;
  int FRowCount = 0;
  int FTextLength = 0;
  int FLongestRow = 1;
  std::unique_ptr<TUndoStack> FUndoStack;
  std::unique_ptr<TObjectList> FMarkList;
  uint16_t FBookmarkColumns[BookmarkCount] = {};
  std::unique_ptr<TCustomBookmarks> FCustomBookmarks;
  std::unique_ptr<TSM_Breakpoints> FBreakpoints;
  std::unique_ptr<TSM_CodeBreak> FCodeBreak;
  TSelLineStyle FLineEndStyle = lsCRLF;
};

// Refuses a bookmark number outside 0 to 9.
void CheckBookmarkIndex(int k);
