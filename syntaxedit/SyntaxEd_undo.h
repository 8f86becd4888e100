// The undo log: a stack with a cursor whose records (selection before, text
// replaced, text put in, selection after) are bracketed into groups, so that
// one undo step reverses one user action.
#pragma once

#include "SyntaxEd_base.h"

#include <functional>

// A stack of entries with a cursor: entries above the cursor are undone and
// are discarded by the next push. Entries stay the caller's until the stack
// discards them through OnFree.
class TStack {
public:
  TStack() = default;
  virtual ~TStack();
  TStack(const TStack&) = delete;
  TStack& operator=(const TStack&) = delete;

  virtual void Push(void* entry, int size);
  // Hands the top entry back to the caller (not through OnFree).
  virtual void* Pop();
  void* UndoPop();
  void* RedoPop();
  bool RedoEmpty() const { return FTop == FCursor; }
  void DiscardAll();

  int GetCount() const { return FCount; }
  int GetTotalSize() const { return FTotalSize; }
  bool IsEmpty() const { return FTop == nullptr; }
  void* TopEntry() const;
  // Identifies the top node for as long as it stays on the stack; -1 when empty.
  int64_t TopSerial() const;

  std::function<void(void* entry)> OnFree;

private:
  struct Node {
    void* Entry;
    int Size;
    Node* Older;
    Node* Newer;
    int64_t Serial;
  };
  void FreeAll();
  Node* UnlinkTop();

  Node* FBottom = nullptr;
  Node* FCursor = nullptr;
  Node* FTop = nullptr;
  int FTotalSize = 0;
  int FCount = 0;
  int64_t FNextSerial = 0;
};

// Entry kinds of the undo log.
enum : int32_t { ukSelection = 0, ukText = 1, ukStream = 4, ukMarker = 5 };
// Marker values: in a record, at a group's begin and at its end.
enum : int32_t { umRecord = 0, umGroupBegin = 2, umGroupEnd = 3 };
// Record types carried by markers; group ids start above them.
enum : int32_t { utText = 1, utStream = 4 };

// Group ids of the operations that bracket their records.
enum : int32_t {
  ugOleDrop = 13,
  ugTyping = 14,
  ugDeleteChar = 15,
  ugPaste = 16,
  ugCut = 17,
  ugTemplate = 18,
  ugBlockIndent = 19,
  ugBlockUnindent = 20,
  ugDeletePrevWord = 21,
  ugDeleteNextWord = 22,
  ugReplace = 23,
  ugReplaceSelection = 24,
};

struct TUndoEntry {
  int32_t Value = 0; // marker: umRecord, umGroupBegin or umGroupEnd
  int32_t Kind = ukSelection;
  int32_t Data = 0;                      // selection: start; marker: record type or group id
  int32_t Extra = 0;                     // selection: end
  std::unique_ptr<String> Text;          // text entry; none for no text
  std::unique_ptr<TMemoryStream> Stream; // stream entry
};

class TUndoStack : public TStack {
public:
  TUndoStack();
  ~TUndoStack() override;

  // Pushes an entry the stack then owns.
  void PushEntry(std::unique_ptr<TUndoEntry> entry);
  // Takes an entry back from UndoPop or RedoPop; it stays the stack's.
  TUndoEntry* UndoPopEntry() { return static_cast<TUndoEntry*>(UndoPop()); }
  TUndoEntry* RedoPopEntry() { return static_cast<TUndoEntry*>(RedoPop()); }

  void SetSaveMark();
  void ClearSaveMark();
  bool IsModified() const;

  // Group state kept with the log, so that sharing editors see one group.
  int32_t GroupId = 0;
  bool GroupOpen = false;

private:
  int FSaveCount = -1;
  // The save mark's top node by serial, not address: a freed entry's memory
  // may come back for a new one.
  int64_t FSaveTop = -1;
};

// What the undo machinery needs of the editor it works for.
class TUndoEditor {
public:
  virtual ~TUndoEditor() = default;
  virtual TUndoStack* GetUndoStack() = 0;
  // The selection as (anchor, caret).
  virtual std::pair<int, int> GetSelection() = 0;
  virtual void SetSelection(int anchor, int caret, bool repaint) = 0;
  virtual String GetSelectedText() = 0;
  // Replaces the selection by the text (none: delete only), no repaint.
  virtual void ReplaceSelection(const String* text) = 0;
  // Replaces the selection by the stream's content, no repaint.
  virtual void InsertStream(TStream& stream) = 0;
  virtual void ClearFirstChangedRow() = 0;
  virtual void Rescan() = 0;
  // Around a whole undo or redo: the update lock, then making the caret
  // visible, the change flags and the change notification.
  virtual void BeginUndoUpdate() = 0;
  virtual void EndUndoUpdate() = 0;
  virtual void Beep() = 0;
};

// LogTransaction types.
enum : int {
  ltText = 1,
  ltGroupBegin = 2,
  ltGroupEnd = 3,
  ltStream = 4,
  ltEnable = 6,
  ltDisable = 7,
  ltClear = 8,
  ltUnindent = 9,
  ltIndent = 10,
};
// Opening and closing a text or stream transaction.
enum : int { ltOpen = 1, ltClose = 2 };

// The third argument of LogTransaction: the new text (text opening), the
// source stream (stream opening), or the characters removed or inserted
// (un-indent and indent; their count is the text's length).
struct TLogData {
  const String* Text = nullptr;
  TStream* Stream = nullptr;
};

// The editor's side of the undo log: logging switch, the open transaction
// and the undo and redo steps.
class TUndoLogger {
public:
  explicit TUndoLogger(TUndoEditor& editor) : FEditor(editor) {}

  void LogTransaction(int type, int a = 0, const TLogData& data = {});
  void BeginUndoGroup(int32_t id);
  void EndUndoGroup(int32_t id);
  void Undo();
  void Redo();
  bool GetModified();
  void SetModified(bool value);
  bool CanUndo();
  bool CanRedo();

  bool GetLoggingEnabled() const { return FLogging; }
  bool GetTransactionOpen() const { return FTransactionOpen; }
  int GetTransactionType() const { return FTransactionType; }
  bool GetUndoRunning() const { return FUndoRunning; }

private:
  void Fail();
  void OpenTransaction(int type, const TLogData& data);
  void CloseTransaction(int type);
  void PushGroupRecord(int32_t id, int32_t value);
  void PushReplacement(std::pair<int, int> before, std::unique_ptr<String> oldText,
                       std::unique_ptr<String> newText, std::pair<int, int> after);
  void UndoStep(TUndoStack& stack, bool& more, int32_t& group);
  void RedoStep(TUndoStack& stack, bool& more);
  void RunSteps(TUndoStack& stack, const std::function<void(bool& more)>& step, bool rescan);

  TUndoEditor& FEditor;
  bool FLogging = true;
  bool FTransactionOpen = false;
  int FTransactionType = 0;
  std::pair<int, int> FStartSelection;
  std::unique_ptr<String> FOldText;
  std::unique_ptr<String> FNewText;
  std::unique_ptr<TMemoryStream> FNewStream;
  bool FUndoRunning = false;
};
