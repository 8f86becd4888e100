// The editor without its window: the text store it edits, the selection and
// caret, the editing core, undo, position and column mapping, scrolling
// state, load and save, word steps, reflow and block indent, bookmarks,
// breakpoints, the commands that need no window and the lines adaptor. The
// window control owns one model, hands it a text measurer and a host, and
// paints the rows the model flags; everything here also runs natively.
#pragma once

#include "SyntaxEd_breakpoints.h"
#include "SyntaxEd_settings.h"
#include "SyntaxEd_store.h"
#include "SyntaxEd_undo.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TSyntaxMemoParser;
class THighlightRescanner;
class TMacroKeywords;
class TEdStream;
class TCustomSyntaxMemo;
class TSyntaxMemoModel;

// --- Measuring text ----------------------------------------------------------

struct TEditorFontMetrics {
  int FontHeight = 17;     // tmHeight, 17 when not positive
  int ExternalLeading = 0; // added to the font height for the line height
  int AveCharWidth = 7;    // 7 when not positive
  bool FixedPitch = false;
  int FixedCharWidth = 8; // width of "W" when fixed-pitch, else 8
};

// How wide text is drawn: the window measures with its fonts, tests and
// benchmarks with a fixed pitch.
class TTextMeasurer {
public:
  virtual ~TTextMeasurer() = default;
  virtual TEditorFontMetrics GetMetrics() = 0;
  // The width in pixels of count characters drawn in a style's font (TABs
  // are never passed).
  virtual int TextWidth(const char* text, int count, uint8_t style) = 0;
};

// Every character the same width; what an editor without a window measures
// with, and what tests pin positions with.
class TFixedPitchMeasurer : public TTextMeasurer {
public:
  explicit TFixedPitchMeasurer(int charWidth = 8, int fontHeight = 16, int externalLeading = 1);
  TEditorFontMetrics GetMetrics() override;
  int TextWidth(const char*, int count, uint8_t) override { return count * FCharWidth; }

private:
  int FCharWidth;
  int FFontHeight;
  int FExternalLeading;
};

// --- What the model asks of its window ---------------------------------------

// Every call does nothing here; the window control overrides what it shows.
class TSyntaxMemoHost {
public:
  virtual ~TSyntaxMemoHost() = default;
  // The whole client area is to be redrawn.
  virtual void Invalidate() {}
  // Draw the rows flagged rfRepaint now and place the caret.
  virtual void Paint() {}
  virtual void UpdateScrollBars() {}
  virtual void Beep() {}
  // Lets pending window messages run (a shared parser's container scan).
  virtual void ProcessMessages() {}
  virtual void CutToClipboard() {}
  virtual void CopyToClipboard() {}
  virtual void PasteFromClipboard() {}
  virtual void PrintSelection() {}
  // The redraw switch changed (the lines adaptor's updates); on: refresh.
  virtual void RedrawChanged(bool) {}
  // The editor font must follow the active settings' face and size.
  virtual void FontFromSettings(const TSM_Settings&) {}
  // The language's handlers (templates, auto-replace, keys) bind to the
  // focused editor.
  virtual bool Focused() { return false; }
  virtual void AttachLanguageHandlers() {}
  virtual void BuildNavigationKeySet() {}
  // Re-applies a parser's settings to every editor using it; false when the
  // host leaves it to this model alone.
  virtual bool RefreshParserEditors(TSyntaxMemoParser&) { return false; }
  // The visible text area: the client size, or with flat scroll bars the
  // control's size less the bars shown.
  virtual int UsableClientWidth(int clientWidth) { return clientWidth; }
  virtual int UsableClientHeight(int clientHeight) { return clientHeight; }
};

// --- Events and constants ----------------------------------------------------

using TTextChangeEvent = std::function<void(TObject* Sender, int Start, int Extent)>;
using TBookmarkSetEvent = std::function<void(TObject* Sender, int Index)>;
using TCharTestFunc = std::function<bool(char c)>;
using TTemplateEvent = std::function<void(TObject* Sender, const String& Name, String& Replacement)>;
using TAutoReplaceEvent = std::function<void(TObject* Sender, TEdStream& Stream, const String& Name,
                                             String& Replacement, bool& CanReplace)>;
// Windows word-break procedure: code 0 break to the left, 1 to the right,
// 2 is the character a delimiter.
using TWordBreakEvent = std::function<int(const char* text, int position, int length, int code)>;

// Reasons collected for the next change notification.
enum : uint8_t {
  cfSelection = 0x01,
  cfText = 0x02,
  cfLayout = 0x04,
  cfSettings = 0x08,
  cfScrolled = 0x10,
  cfMode = 0x20,
  cfOptions = 0x40,
  cfClipboard = 0x80,
};

// Flags of the selection writer: plain text with CR LF (1), RTF (2), HTML
// (4), text with LF (8); otherwise plain text with CR line ends.
enum : int { wfCRLF = 1, wfRTF = 2, wfHTML = 4, wfUNIX = 8 };

enum TSaveFormat { sfTEXT, sfRTF, sfHTML, sfUNIX };

// Editor commands by number; numbers above 47 do nothing.
enum : int {
  ecLeft = 0,
  ecRight = 1,
  ecLineStart = 2,
  ecLineEnd = 3,
  ecUp = 4,
  ecDown = 5,
  ecPageUp = 6,
  ecPageDown = 7,
  ecWordLeft = 8,
  ecWordRight = 9,
  ecDocStart = 10,
  ecDocEnd = 11,
  ecCut = 12,
  ecCopy = 13,
  ecPaste = 14,
  ecDeleteChar = 15,
  ecDeleteLastChar = 16,
  ecBlockIndent = 17,
  ecBlockUnindent = 18,
  ecToggleMode = 19,
  ecSetBookmark0 = 20,
  ecGotoBookmark0 = 30,
  ecDeleteLine = 40,
  ecUndo = 41,
  ecRedo = 42,
  ecDeleteLastWord = 43,
  ecPrintSelection = 44,
  ecDeleteWord = 45,
  ecScrollUp = 46,
  ecScrollDown = 47,
};

inline constexpr const char* SyntaxMemoVersion = "3.00.39";
inline constexpr const char* SCouldNotSave = "Could not save text to stream";
inline constexpr const char* SBadStream = "Bad TStream instance";
inline constexpr const char* SNotEnoughMemory = "Not enough memory for operation";
inline constexpr const char* SCannotOpenFile = "File '%s' cannot be opened for reading";      // 4400
inline constexpr const char* SParserIndex = "Parser index out of range";                      // 4198
inline constexpr const char* SBadTabDefault = "=Illegal default tab stop value, must be > 0"; // 4204
inline constexpr const char* STabColumnExpected = "Tab stop column value expected";           // 4205
inline constexpr const char* STabOrder = "Tab columns must be in order and unique";           // 4206
inline constexpr const char* STabColumnLow = "Tab column must be > 1";                        // 4207
inline constexpr const char* STooManyTabs = "Too many tab stops - maximum of ";               // 4208

class EFileSaveError : public Exception {
public:
  using Exception::Exception;
};

struct TRowLocation {
  TRowRecord* Row = nullptr; // none for an empty text
  int Line = 0;              // 0-based row index
  int Start = 0;             // the row's start position
};

struct TEdPoint {
  int X = 0;
  int Y = 0;
};

// A scroll bar's values before the window sets them.
struct TScrollValues {
  int Min = 0;
  int Max = 0;
  int Page = 0;
  int Pos = 0;
  int TrackPos = 0;
};

// --- The model ---------------------------------------------------------------

class TSyntaxMemoModel : public TUndoEditor {
public:
  static constexpr int ParserSlots = 6;
  static constexpr int MaxInsertRow = 2047;
  static constexpr int ChunkSize = 8192;
  static constexpr int ReflowLimit = 2048;

  // editor identifies the window control towards parsers and settings; none
  // for an editor without a window.
  explicit TSyntaxMemoModel(TCustomSyntaxMemo* editor = nullptr);
  ~TSyntaxMemoModel() override;
  TSyntaxMemoModel(const TSyntaxMemoModel&) = delete;
  TSyntaxMemoModel& operator=(const TSyntaxMemoModel&) = delete;

  // Both stay the caller's; none restores the defaults: a host that shows
  // nothing, and the measures of an editor without a window (characters 7
  // pixels wide on average, rows of 17, no fixed pitch).
  void SetHost(TSyntaxMemoHost* host);
  void SetMeasurer(TTextMeasurer* measurer);
  TCustomSyntaxMemo* GetEditor() const { return FEditor; }
  // Sender of the events (the window control); the model when none.
  TObject* Sender = nullptr;

  // Text store: shared between models through ShareStore; each store is
  // freed by the last model that holds it.
  TTextStore& GetStore() const { return *FStore; }
  void ShareStore(TTextStore* store);
  int GetTextLength() const { return FStore->GetTextLength(); }
  int GetRowCount() const { return FStore->GetRowCount(); }
  int GetLongestRow() const { return FStore->GetLongestRow(); }
  int LongestRowLength() const;
  TRowRecord* GetFirstRow() const { return FStore->GetFirstRow(); }
  // The whole text in the given line-end style (CR LF, LF or CR).
  String GetText(int writeFlags = wfCRLF);

  // Selection: (anchor, caret). SetSelection is the selection message's set
  // (first -1 selects all; clamps to the text; column tracking; repaint and
  // notification unless told not to).
  std::pair<int, int> GetSelection() override { return {FAnchor, FCaret}; }
  void SetSelection(int anchor, int caret, bool repaint) override;
  int GetCaret() const { return FCaret; }
  int GetAnchor() const { return FAnchor; }
  int GetSelStart() const;
  void SetSelStart(int value);
  // Bytes of the selected text with the store's line-end style.
  int GetSelLength();
  void SetSelLength(int value);
  String GetSelText();
  // Writes at most size bytes and a terminating zero; returns the bytes
  // written. buffer holds size + 1 bytes.
  int GetSelTextBuf(char* buffer, int size);
  void SetSelText(const String& text);
  void SelectAll();
  // Empties the text and the undo log.
  void Clear();

  // Editing core.
  String GetSelectedText() override;
  void ReplaceSelection(const String* text) override;
  // The replace-selection message: replaces, then notifies and repaints
  // unless repaint is false.
  void ReplaceSelText(const char* text, bool repaint = true);
  int InsertText(const char* text, int count);
  // Characters filling the gap between two display columns: spaces, or TABs
  // first with smoUseTAB and smoSmartFill.
  String MakeFillText(int fromColumn, int toColumn);
  void InsertFromStream(TStream& stream);
  void InsertStream(TStream& stream) override { InsertFromStream(stream); }
  // The insert-stream message: InsertFromStream plus notification.
  void InsertStreamText(TStream& stream, bool repaint = true);

  // Undo.
  TUndoStack* GetUndoStack() override { return FStore->GetUndoStack(); }
  void SetUndoStack(std::unique_ptr<TUndoStack> stack);
  TUndoLogger& GetUndoLogger() { return FUndo; }
  void Undo();
  void Redo();
  bool CanUndo();
  bool CanRedo();
  bool GetModified();
  void SetModified(bool value);
  void ClearUndo();
  void BeginUndoUpdate() override;
  void EndUndoUpdate() override;
  void Beep() override;
  void BeginUndoGroup(int32_t id) { FUndo.BeginUndoGroup(id); }
  void EndUndoGroup(int32_t id) { FUndo.EndUndoGroup(id); }

  // Update lock and redraw switch; both stop painting and notification.
  bool GetUpdateLock() const { return FUpdateLock; }
  void SetUpdateLock(bool lock, bool repaint = true);
  bool GetRedraw() const { return FRedraw; }
  void SetRedraw(bool on);

  // Change notification: runs a pending rescan, then OnChange when any reason
  // was collected.
  void NotifyChange();
  void AddChangeFlags(uint8_t flags) { FChangeFlags |= flags; }
  uint8_t GetChangeFlags() const { return FChangeFlags; }
  bool GetLoading() const { return FLoading; }
  void SetLoading(bool value) { FLoading = value; }

  // Highlighting.
  void Rescan() override;
  void RescanFrom(TRowRecord* row);
  void DiscardTokens();
  TRowRecord* GetFirstChangedRow() const;
  void SetFirstChangedRow(TRowRecord* row);
  void ClearFirstChangedRow() override { SetFirstChangedRow(nullptr); }
  // Token bytes of the rows from line first to line last (-1: all rows).
  void PutTokenBytes(const uint8_t* bytes, int first = -1, int last = -1);
  void GetTokenBytes(uint8_t* bytes, int first = -1, int last = -1);
  THighlightRescanner& GetRescanner() { return *FRescanner; }

  // Position mapping.
  TRowLocation LocateRow(int position);
  TRowRecord* RowAt(int position, int& rowStart);
  TRowRecord* RowOfLine(int n, int& rowStart, int& reached);
  int ColumnInRow(int position);
  TEdPoint PositionToPoint(int position);
  int PointToPosition(int x, int y);
  // The edit-control line queries (rows, 0-based).
  int LineFromChar(int position);
  int LineIndex(int line);
  int LineLength(int position);
  int GetLineCount() const;
  // The row's characters without its CR, at most capacity of them.
  String GetRowText(int line, int capacity = 0x7FFFFFFF);

  // Column mapping against the measurer and the tab stops.
  int IndexToColumn(int index, const TRowRecord* row);
  int ColumnToIndex(int column, const TRowRecord* row);
  int XToColumn(int x, TRowRecord* row);
  int ColumnToX(int column, TRowRecord* row);
  int NextTabStop(int column);
  bool CaretFitsRow(int column, const TRowRecord* row);
  bool CaretBeyondEOLAllowed() const;
  // (display column, row number), all 1-based.
  std::pair<int, int> LineToRow(int line, int column);
  // (offset in line, line number), all 1-based.
  std::pair<int, int> RowToLine(int rowNumber, int column);
  int FixedPitchTextWidth(int count);
  int TextLeftEdge();

  // Font metrics and the client area.
  void ComputeMetrics();
  const TEditorFontMetrics& GetMetrics() const { return FMetrics; }
  int GetLineHeight() const { return FMetrics.FontHeight + FMetrics.ExternalLeading; }
  int GetVisibleColumns() const { return FVisibleColumns; }
  int GetVisibleRows() const { return FVisibleRows; }
  // A new client size (the size message's model work); re-wraps at the
  // window's width when wrapping without a wrap column.
  void SetClientSize(int width, int height);
  int GetClientWidth() const { return FClientWidth; }
  int GetClientHeight() const { return FClientHeight; }
  int UsableClientWidth() const { return FHost->UsableClientWidth(FClientWidth); }
  int UsableClientHeight() const { return FHost->UsableClientHeight(FClientHeight); }
  // For the wrap width without a wrap column: the control's width and the
  // width of a vertical scroll bar.
  int ControlWidth = 0;
  int ScrollBarWidth = 16;

  // Scrolling.
  int GetTopLine() const { return FTopLine; }
  int GetTopRowOffset() const { return FTopRowOffset; }
  int GetLeftColumn() const { return FLeftColumn; }
  void MakeVisible(int position);
  void ScrollTo(int leftColumn, int topLine, bool repaint);
  // The store's cached top row, made this editor's own first: editors that
  // share a store each keep their own top line.
  void EnsureTopRow();
  int GetScrollDivisor() const { return GetRowCount() / 32000 + 1; }
  // The bars' values as the window sets them (vertical ones divided by the
  // scroll divisor).
  TScrollValues HorzScrollValues(bool visible, bool showBar);
  TScrollValues VertScrollValues(bool visible);
  bool AutoScroll = true;
  // Set when the layout must be recomputed by the painter.
  bool MetricsDirty = true;
  bool LayoutChanged = false;

  // Load and save.
  void LoadTextFromStream(TStream& stream);
  void SaveTextToStream(TStream* stream);
  void LoadTextFile(const String& fileName);
  void SaveTextFile(const String& fileName);
  // The selection written as text; flags as wfCRLF, wfUNIX.
  void WriteSelection(TStream& stream, int writeFlags);
  // Bytes the whole text takes as plain text with the store's style.
  int GetWindowTextLength();
  // Copies at most capacity - 1 bytes and a zero; writes nothing for capacity
  // 0. Returns the bytes copied before the zero.
  int GetWindowText(char* buffer, int capacity);
  void SetWindowText(const char* text);
  int StyleWriteFlags() const;
  TSaveFormat SaveFormat = sfTEXT;
  String Title; // the file name with smoTitleAsFilename

  // Words.
  bool CharStartsWord(char c) const;
  bool CharIsInWord(char c) const;
  int WordLeft();
  int WordRight();
  TCharTestFunc fn_CharStartsWord;
  TCharTestFunc fn_CharIsInWord;

  // Reflow and block indent.
  void ReflowRows(TRowRecord* first = nullptr, TRowRecord* last = nullptr);
  void BlockIndent(int count, bool useTabs);
  void BlockUnindent(int count);
  int WordBreak(const char* text, int position, int code, int length);
  TWordBreakEvent OnWordBreakProc;

  // Bookmarks.
  void SetBookmark(int k, int line, int column);
  void GotoBookmark(int k);

  // Breakpoints of the store, reporting to this model's events.
  TSM_Breakpoints& GetBreakpoints() const;
  TSM_CodeBreak& GetCodeBreak() const;

  // Commands.
  virtual void ExecuteCommand(int command, int argument, bool extend);
  bool InsertMode = true;
  bool ReadOnly = false;
  bool ShowFocusLine = false;
  int GetCaretColumn() const { return FCaretColumn; }
  bool GetCaretBeyondEOL() const { return FBeyondEOL; }
  void SetCaretBeyondEOL(bool value, int column);

  // The fire handler of the language's templates and auto-replace list:
  // replaces the name before the caret by the expansion, indented like the
  // caret's line, with the caret at its marker, as one undo step.
  void ExpandMacro(TMacroKeywords* Sender, const String& name, String& replacement);

  // Parsers and settings.
  TSyntaxMemoParser* GetParser(int slot) const { return FParsers[slot - 1]; }
  void AttachParser(int slot, TSyntaxMemoParser* parser);
  // A parser being destroyed leaves every slot without being called.
  void ParserDestroyed(TSyntaxMemoParser* parser);
  int GetActiveParser() const { return FActiveParser; }
  void SetActiveParser(int slot);
  TSyntaxMemoParser* ActiveParserComponent() const { return FParsers[FActiveParser - 1]; }
  TSM_Settings& GetSettings() const { return *FActiveSettings; }
  TSM_Settings& GetOwnSettings() const { return *FOwnSettings; }
  uint32_t GetOptions() const;
  bool HasOption(TSyntaxMemoOption option) const;
  // The options message's set: re-wraps when word wrap changed.
  void SetOptions(uint32_t options, bool repaint = true);
  // The apply-settings message.
  void ApplySettingsMessage();
  // Applies the active settings without a rescan (the property setters).
  void ApplySettings();
  // Settings setters with the property rules.
  String GetTabColumns() const;
  void SetTabColumns(const String& text);
  void SetTabDefault(int value);
  void SetIndentStep(int value);
  void SetWrapAtColumn(int value);
  void SetWrapOverride(const String& value);
  void SetGutter(int value);
  void SetMargin(int value);
  void SetWordWrap(bool value);
  // Rescan with every apply of settings (off for the length of ApplySettings).
  bool RescanOnSettings = true;

  // Events.
  TNotifyEvent OnChange;
  TTextChangeEvent OnTextChange;
  TBookmarkSetEvent OnBookmarkSet;
  TBreakpointEvent OnBreakpointStateChange;
  TBreakpointEvent OnBreakpointFree;
  TTemplateEvent OnTemplateEvent;
  TAutoReplaceEvent OnAutoReplace;

private:
  // Editing core internals.
  void ReplaceSelectionText(const char* text, int count);
  void InsertRowText(const char* text, int n);
  int StoreRowText(const char* text, int n);
  bool InsertCharInPlace(TRowRecord* row, int offset, char c);
  TRowRecord* SplitIntoRows(const String& combined, TRowRecord* after, TRowRecord*& firstNew);
  void DeleteSelection();
  void EmptyText();
  void LinkAfter(TRowRecord* after, TRowRecord* row);
  void UnlinkAndFree(TRowRecord* row);
  void NoteLongest(const TRowRecord* row);
  // A row freed or shortened.
  void NoteRowGone(const TRowRecord* row);
  void SettleLongestRow();
  void RecomputeLongestRow();
  void NoteFirstChanged(TRowRecord* row);
  void DropTopRowBefore(const TRowRecord* row, int position);
  void MarkChangedRows(TRowRecord* from, int count);
  void MarkSelectionRows(std::pair<int, int> range);
  String VirtualFill();
  void BindStore();
  void UnbindLists();
  void ForgetParserAndSettings();
  // Mapping internals.
  void BuildDisplayLine(const TRowRecord* row, String& chars, std::vector<uint8_t>& styles);
  int RunWidth(const char* text, int count, uint8_t style);
  bool UniformPitch() const;
  int ColumnBeyond(int x, int count, int at);
  void UpdateVisibleCounts();
  int RowY(int position, TRowRecord*& row, int& remaining);
  void ScrollTopRow(int delta);
  // Reflow internals.
  // Re-breaks the logical line starting at first; the row after it.
  TRowRecord* ReflowLine(TRowRecord* first, int wrapWidth);
  int WrapWidth();
  int MeasureWidth(const char* text, int count);
  int TabWidth(int x);
  int BreakRow(const char* text, int length, int wrapWidth, bool& sawTab);
  TRowRecord* BlockRows(int start, int end, TRowRecord*& last, int& firstStart);
  TRowRecord* SkipContinuations(TRowRecord* row, int& rowStart, bool changed);
  void RowTextChanged(TRowRecord* row, int rowStart, int delta);
  // Treats one row of a block; opens the undo group before its first change
  // and returns the change of length.
  using TBlockRowFunc = std::function<int(TRowRecord* row, int rowStart, const std::function<void()>& open)>;
  void RunBlock(int32_t group, const TBlockRowFunc& treat);
  // Command internals.
  void FinishMove(int p, bool extend);
  int DisplayColumnOf(int position);
  static int LineEndIndex(const TRowRecord* row);
  int CaretX(TRowRecord* row, int rowStart);
  int VirtualTarget(TRowRecord* target, int targetStart, int p);
  void MoveLeft(bool extend);
  void MoveRight(bool extend);
  void MoveLineEnd(bool extend);
  void MoveUp(bool extend);
  void MoveDown(bool extend);
  void MovePage(bool down, bool extend);
  void MoveWord(bool right, bool extend);
  void MoveDocEnd(bool extend);
  void DeleteAtCaret();
  void DeleteBeforeCaret(bool extend);
  void DeleteWord(bool right);
  void IndentCommand(bool indent);
  void DeleteCurrentLine();
  void ScrollLine(bool down);
  // Load and save internals.
  void SaveAttempt(TStream& stream);
  // The text of a range as the selection writer writes it.
  String RangeText(int start, int end, int writeFlags);

  TCustomSyntaxMemo* FEditor;
  TSyntaxMemoHost* FHost;
  TTextMeasurer* FMeasurer;
  std::unique_ptr<TSyntaxMemoHost> FDefaultHost;
  std::unique_ptr<TTextMeasurer> FDefaultMeasurer;
  std::shared_ptr<TTextStore> FStore;
  std::unique_ptr<THighlightRescanner> FRescanner;
  TUndoLogger FUndo;
  std::unique_ptr<TSM_Settings> FOwnSettings;
  TSM_Settings* FActiveSettings;
  TSyntaxMemoParser* FParsers[ParserSlots] = {};
  int FActiveParser = 1;
  uint32_t FAppliedOptions = 0;
  int FAppliedWrapColumn = 0;
  bool FWrapSettingsChanged = false;

  TEditorFontMetrics FMetrics;
  int FClientWidth = 0;
  int FClientHeight = 0;
  int FVisibleColumns = 80;
  int FVisibleRows = 40;

  int FAnchor = 0;
  int FCaret = 0;
  int FCaretColumn = 0;
  bool FBeyondEOL = false;
  bool FColumnTrackRequest = false;
  int FTopLine = 0;
  int FTopRowOffset = 0;
  int FLeftColumn = 0;

  uint8_t FChangeFlags = 0;
  bool FUpdateLock = false;
  bool FRedraw = true;
  bool FLoading = false;
  bool FDestroying = false;
  bool FBulkLoad = false;
  TRowRecord* FLastAppended = nullptr;
  // Longest row bookkeeping of one edit: a row of the longest length went,
  // and the longest row the edit made.
  bool FLongestLost = false;
  bool FLongestNewLost = false;
  int FLongestNew = 0;
};

// --- The lines adaptor -------------------------------------------------------

// The editor's text as a list of lines; every operation works on the live
// text. Lines are the rows, 0-based; a text ending with a line end counts
// the empty line after it.
class TSyntaxMemoStrings : public TStrings {
public:
  explicit TSyntaxMemoStrings(TSyntaxMemoModel& model) : FModel(model) {}

  int GetCount() const override;
  String Get(int index) const override;
  void Put(int index, const String& s) override;
  void* GetObject(int) const override { return nullptr; }
  void PutObject(int, void*) override {}
  void Insert(int index, const String& s) override;
  void Delete(int index) override;
  void Clear() override;

  String GetTextStr() const;
  // Nothing happens when the text (line ends as CR LF) is the editor's.
  void SetTextStr(const String& value);
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream);
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  // Replaces the editor's text by the other list's lines.
  void AddStrings(const TStrings& other);
  // The other list's lines as the text, loaded in one step.
  using TStrings::Assign;
  void Assign(const TStrings& other) {
    BeginUpdate();
    AddStrings(other);
    EndUpdate();
  }

  // Runs when an update ends (the control refreshes).
  std::function<void()> OnUpdateEnded;

protected:
  void SetUpdateState(bool updating) override;
  String ClassName() const override { return "TSyntaxMemoStrings"; }

private:
  // The start of a line, -1 past the last one.
  int LineStart(int index) const;
  int LineLength(int start) const;

  TSyntaxMemoModel& FModel;
};
