// The syntax-highlighting editor window: a custom control that owns the
// window-free editor model, measures and paints its rows with GDI, keeps the
// caret and the scroll bars, and turns window messages, keys and the mouse
// into the model's operations.
#pragma once

#include "Controls.h"
#include "Forms.h"
#include "Graphics.h"
#include "StdCtrls.h"
// The model's window-text members, not the system's A/W macros.
#undef GetWindowText
#undef GetWindowTextLength
#undef SetWindowText
#include "SyntaxMemo_model.h"

#include <array>
#include <memory>
#include <vector>

class TSyntaxMemoParser;
class TCustomSyntaxMemo;
class TTemplatePopup;
class TSyntaxMemoFinder;
class TSynMemoDropTarget;

// --- Window helpers ---------------------------------------------------------

// A font for the screen (or the printer) of the face, point size, style bits
// (fsBoldBit...) and character set; the handle is the caller's.
HFONT CreateEditorFont(const String& face, int size, uint8_t style, bool printer, uint8_t charSet);
// Binds the flat scroll-bar functions of an already loaded common-controls
// library; false when there are none.
bool LoadFlatScrollBarApi();
bool FlatScrollBarsAvailable();
// Flat scroll bars on a window in the mode (FSB_FLAT_MODE...), and one of
// their properties (WSB_PROP_CXVSCROLL...).
void InitializeFlatScrollBars(HWND wnd, int mode);
int FlatScrollProp(HWND wnd, int index);
int SMSetScrollInfo(HWND wnd, int bar, const SCROLLINFO& info, bool redraw, bool useFlat);
int SMGetScrollPos(HWND wnd, int bar, bool useFlat);
bool SMScrollBarShown(HWND wnd, int bar, bool useFlat);
// A bitmap of the program's resources (the handle is the caller's); a missing
// one raises the resource error.
HBITMAP LoadResourceBitmap(const char* name);
// Draws the whole bitmap at (x, y), leaving the pixels of the colour unpainted.
void DrawTransparentBitmap(HDC dc, int x, int y, TColor transparent, HBITMAP bitmap);
// The characters that fill the display columns from one column to another:
// spaces, or TABs then spaces when the editor uses TABs with smart fill.
// Without keep the fill is typed into the editor at once and the result is
// empty.
String MakeFillText(TCustomSyntaxMemo& editor, int fromColumn, int toColumn, bool keep);

// The version answer of the editor and the private message numbers.
const char* SyntaxMemoVersionString();
enum : UINT {
  SM_SELECTION = 0x0C00,
  SM_OPTIONS = 0x0C01,
  SM_REPLACESEL = 0x0C02,
  SM_UPDATELOCK = 0x0C05,
  SM_INSERTSTREAM = 0x0C06,
  SM_WRITESEL = 0x0C07,
  SM_MODIFIED = 0x0C08,
  SM_TOPLINE = 0x0C09,
  SM_LEFTCOLUMN = 0x0C0A,
  SM_FIND = 0x0C0B,
  SM_REPLACE = 0x0C0C,
  SM_SELTEXT = 0x0C0D,
  SM_CANREDO = 0x0C0E,
  SM_REDO = 0x0C0F,
  SM_BLOCKINDENT = 0x0C10,
  SM_BLOCKUNINDENT = 0x0C11,
  SM_APPLYSETTINGS = 0x0C12,
  SM_PUTTOKENS = 0x0C13,
  SM_GETTOKENS = 0x0C14,
  SM_UNDOSTACK = 0x0C15,
  SM_TEXTSTORE = 0x0C18,
  SM_FIRSTCHANGEDROW = 0x0C21,
  SM_VERSION = 0x0C40,
};
// The screen cursor of hyperlinks, installed once by the first editor.
constexpr TCursor crSyntaxMemoHyperlink = 20;
void LoadHyperlinkCursor();

// --- Settings on the window side --------------------------------------------

// The style fonts and the show-all-characters glyphs of one language's
// settings, made while editors are attached; and the gutter font.
class TSM_WinFonts : public TSM_SettingsFonts {
public:
  TSM_WinFonts();
  ~TSM_WinFonts() override;
  void CreateStyleFonts(TSM_Settings& settings) override;
  void FreeStyleFonts(TSM_Settings& settings) override;
  // None before the fonts are made or for an undefined style.
  HFONT StyleFont(uint8_t style) const { return FFonts[style]; }
  // The line-end, TAB and wrap glyphs (none without show-all-characters).
  HBITMAP Glyph(int index) const { return FGlyphs[index]; }
  TFont& GutterFont(const TSM_Settings& settings);

private:
  void FreeGlyphs();
  std::array<HFONT, 256> FFonts{};
  std::array<HBITMAP, 3> FGlyphs{};
  std::unique_ptr<TFont> FGutterFont;
};
TSM_WinFonts* WinFonts(const TSM_Settings& settings);

// Holds its editor and nothing else.
class TSM_CaretControl {
public:
  explicit TSM_CaretControl(TCustomSyntaxMemo* editor) : FEditor(editor) {}
  TCustomSyntaxMemo* GetEditor() const { return FEditor; }

private:
  TCustomSyntaxMemo* FEditor;
};

// --- The control -------------------------------------------------------------

enum TFlatScrollStyle { fssEncarta, fssFLAT, fssREGULAR };
enum TClipCopyFormat { smTEXT, smRTF };

struct TLineDrawData {
  int32_t Reserved1 = 1;
  const char* Text = nullptr;
  uint8_t Reserved2 = 1;
  HDC DC = nullptr;
  RECT Rect{};
  int32_t RowStart = 0;
  int32_t LeftColumn = 0;
  int32_t DrawLength = 0;
  uint8_t Result = 0; // non-zero: the handler drew the row itself
};
using pLineDrawData = TLineDrawData*;
using TDrawLineEvent = std::function<int(TObject* Sender, pLineDrawData LineDrawData)>;
using TDrawMarkEvent = std::function<void(TObject* Sender, HDC aDC, RECT* aRect, int aMark)>;
using TGutterClickEvent = std::function<void(TObject* Sender, int LineNo)>;
using TTripleClickEvent = std::function<void(TObject* Sender, TPoint ClickPos, int CharOffset)>;
using THyperlinkClickEvent = std::function<void(TObject* Sender, const String& HyperData, int HyperType)>;
using TCommandRecognisedEvent = std::function<void(TObject* Sender, int& ActionCode)>;
using TFilesDroppedEvent = std::function<void(TObject* Sender, TStrings* FileList, TPoint AtPoint)>;
using TSearchFailEvent = std::function<void(TObject* Sender, const String& SearchString)>;
// Draws the header and footer of a printed page; the rectangle that is left
// for the text comes back, and text may be drawn without background.
using TPrintHeaderFooterEvent =
    std::function<void(TObject* Sender, TCanvas* RenderCanvas, TRect& RenderRect, bool& TransparentText)>;
// Paste and drop describe what is offered; the handler may change the set.
using TDataDropEvent = std::function<void(TObject* Sender, TSourceTypes& SourceTypes)>;

class TCustomSyntaxMemo : public TCustomControl, public TSyntaxMemoHost {
  // First, so that the events below can refer into it.
  std::unique_ptr<TSyntaxMemoModel> FModel;

public:
  explicit TCustomSyntaxMemo(TComponent* AOwner);
  ~TCustomSyntaxMemo() override;

  TSyntaxMemoModel& GetModel() { return *FModel; }
  TSyntaxMemoStrings* GetLines() { return FLines.get(); }
  void SetLines(TStrings* list) { FLines->Assign(list); }

  // Selection and text.
  virtual int GetSelStart();
  virtual void SetSelStart(int value);
  virtual int GetSelLength();
  virtual void SetSelLength(int value);
  String GetSelText();
  int GetSelTextBuf(char* buffer, int size);
  void SetSelText(const String& text);
  void ReplaceSelText(const String& text);
  void SelectAll();
  virtual void Clear();
  int GetTextLength() const { return FModel->GetTextLength(); }
  void LoadTextFile(const String& fileName) { FModel->LoadTextFile(fileName); }
  void SaveTextFile(const String& fileName) { FModel->SaveTextFile(fileName); }
  virtual void LoadTextFromStream(TStream& stream) { FModel->LoadTextFromStream(stream); }
  virtual void SaveTextToStream(TStream* stream) { FModel->SaveTextToStream(stream); }
  virtual void NotifyChange() { FModel->NotifyChange(); }
  virtual void ExecuteCommand(int command, int argument, bool extend);
  LRESULT PerformMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Perform(message, wParam, lParam);
  }
  void MakeVisible(int position) { FModel->MakeVisible(position); }

  // Properties kept by the control.
  bool GetReadOnly() const { return FModel->ReadOnly; }
  void SetReadOnly(bool value);
  bool GetModified() { return FModel->GetModified(); }
  void SetModified(bool value) { FModel->SetModified(value); }
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  virtual void SetScrollBars(TScrollStyle value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  bool GetFlatScrollBars() const { return FFlatScrollBars; }
  void SetFlatScrollBars(bool value);
  TFlatScrollStyle GetFlatScrollBarStyle() const { return FFlatScrollBarStyle; }
  void SetFlatScrollBarStyle(TFlatScrollStyle value);
  bool GetShowFocusLine() const { return FModel->ShowFocusLine; }
  void SetShowFocusLine(bool value);
  bool HideSelection = true;
  bool WantReturns = true;
  bool WantTab = true;
  bool MonoPrint = true;
  TCursor HyperCursor = crDefault;
  uint8_t ClipCopyFormats = (1 << smTEXT) | (1 << smRTF);
  String GetVersion() const { return SyntaxMemoVersion; }
  void SetVersion(const String&) {}

  // Settings properties (the active language's).
  uint32_t GetOptions() const { return FModel->GetOptions(); }
  void SetOptions(uint32_t options);
  bool GetWordWrap() const { return FModel->HasOption(smoWordWrap); }
  void SetWordWrap(bool value) { FModel->SetWordWrap(value); }
  int GetGutter() const { return FModel->GetSettings().GutterWidth; }
  void SetGutter(int value) { FModel->SetGutter(value); }
  TColor GetGutterColor() const { return FModel->GetSettings().GutterColor; }
  void SetGutterColor(TColor value);
  TFont* GetGutterFont();
  void SetGutterFont(const TFont* value);
  int GetMargin() const { return FModel->GetSettings().MarginWidth; }
  void SetMargin(int value) { FModel->SetMargin(value); }
  TColor GetMarginColor() const { return FModel->GetSettings().MarginColor; }
  void SetMarginColor(TColor value);
  int GetRightMargin() const { return FModel->GetSettings().RightMargin; }
  void SetRightMargin(int value);
  TColor GetSelTextColor() const { return FModel->GetSettings().SelTextColor; }
  void SetSelTextColor(TColor value);
  TColor GetSelTextBack() const { return FModel->GetSettings().SelTextBack; }
  void SetSelTextBack(TColor value);
  int GetTabDefault() const { return FModel->GetSettings().TabDefault; }
  void SetTabDefault(int value) { FModel->SetTabDefault(value); }
  String GetTabColumns() const { return FModel->GetTabColumns(); }
  void SetTabColumns(const String& value) { FModel->SetTabColumns(value); }
  int GetIndentStep() const { return FModel->GetSettings().IndentStep; }
  void SetIndentStep(int value) { FModel->SetIndentStep(value); }
  int GetWrapAtColumn() const { return FModel->GetSettings().WordWrapColumn; }
  void SetWrapAtColumn(int value) { FModel->SetWrapAtColumn(value); }
  TColor Getdef_TextColor() const { return FModel->GetSettings().GetStyle(0).Foreground; }
  void Setdef_TextColor(TColor value);
  TColor Getdef_BackColor() const { return FModel->GetSettings().GetStyle(0).Background; }
  void Setdef_BackColor(TColor value);

  // Parsers.
  TSyntaxMemoParser* GetParser(int slot) const { return FModel->GetParser(slot); }
  void SetParser(int slot, TSyntaxMemoParser* parser) { FModel->AttachParser(slot, parser); }
  int GetActiveParser() const { return FModel->GetActiveParser(); }
  void SetActiveParser(int slot) { FModel->SetActiveParser(slot); }

  // Metrics and layout the painter and the input share.
  int UsableClientWidth();
  int UsableClientHeight();
  int GetLineHeight() const { return FModel->GetLineHeight(); }
  int TextLeftEdge() { return FModel->TextLeftEdge(); }
  uint8_t TokenAtMouse();

  // The host's part.
  void Invalidate() override;
  void Paint() override;
  void UpdateScrollBars() override;
  void Beep() override;
  void ProcessMessages() override;
  void CutToClipboard() override;
  void CopyToClipboard() override;
  void PasteFromClipboard() override;
  // Prints the rows the selection spans on the application's printer.
  void PrintSelection() override;
  bool GetPrinting() const { return FPrinting; }
  TPrintHeaderFooterEvent OnPrintHeaderFooter;
  void RedrawChanged(bool on) override;
  void FontFromSettings(const TSM_Settings& settings) override;
  bool Focused() override { return TWinControl::Focused(); }
  void AttachLanguageHandlers() override;
  void BuildNavigationKeySet() override;
  bool RefreshParserEditors(TSyntaxMemoParser& parser) override;
  int UsableClientWidth(int clientWidth) override;
  int UsableClientHeight(int clientHeight) override;

  // Follows the mouse while a button selects: scrolls one row or column
  // per pass until the button is released, the view reaches the edge, or
  // the pointer is back inside.
  void ScrollTo(int leftColumn, int topLine, bool followMouse, bool repaint);

  // Kept by the model, which raises it.
  TNotifyEvent& OnChange;
  TDrawLineEvent OnDrawLine;
  TDrawMarkEvent OnDrawMark;
  TGutterClickEvent OnGutterClick;
  TTripleClickEvent OnTripleClick;
  THyperlinkClickEvent OnHyperlinkClick;
  TNotifyEvent OnHyperlinkHover;
  TCommandRecognisedEvent OnCommandRecognised;
  TFilesDroppedEvent OnFilesDropped;
  TDataDropEvent OnDataDrop;
  // The OLE drop target, registered for the window while it exists.
  TSynMemoDropTarget* GetDropTarget() const { return FDropTarget; }

  // Search and replace: flags as the find message's; without the search-now
  // flag the find dialog opens. FindNext and ReplaceFound answer the dialogs.
  int Find(int flags, const String& text);
  void ShowReplaceDialog(int flags);
  void FindNext(TObject* dialog);
  void ReplaceFound(TObject* dialog);
  String ExpandReplacement(const String& replacement);
  void SearchFailMessage(const String& text);
  void RegexpErrorMessage(const String& pattern);
  TSearchFailEvent OnSearchFail;

  void WndProc(TMessage& Message) override;
  void Loaded() override;
  // The template pop-up while it is open.
  TCustomListBox* GetTemplatePopup() const;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoEnter() override;
  void DoExit() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String GetTextBuf() const override;
  void SetTextBuf(const String& value) override;
  String ClassName() const override { return "TCustomSyntaxMemo"; }

private:
  friend class TSyntaxMemoRenderer;
  friend class TTemplatePopup;
  // Messages.
  bool PrivateMessage(TMessage& Message);
  bool EditMessage(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMScroll(TMessage& Message, bool vertical);
  void WMGetText(TMessage& Message);
  void WMDropFiles(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void SetSelectionMessage(TMessage& Message);
  // Painting.
  void AttachSettingsFonts();
  // Gutter image k of the strip, copied into the scratch image.
  HBITMAP GutterImage(int k);
  void DrawFocusLines(HDC dc);
  // The default drawing of a marked range: a red zigzag along its bottom.
  void DrawMarkUnderline(HDC dc, RECT rect);
  void RenderOn(HDC dc);
  void PaintOnce(HDC dc);
  void PlaceCaret(HDC dc);
  bool CanPaint();
  // Printing: the screen's metrics and fonts back after a job.
  void EndPrinting(bool jobStarted);
  // Input.
  bool OfferTemplateKey(WORD key, TShiftState shift);
  void IndentNewLine(int indent);
  void TypeChar(char ch);
  void TabToColumn();
  void ClickAt(int x, int y, int p);
  void SelectWordAtCaret();
  void SelectRowAt(int y);
  void GutterClick(int y);
  void UpdateMouseCursor(int x, int y);
  bool OverHyperlink(int x, int y, TRowRecord*& row, int& index, int& rowStart);
  void FireHyperlinkClick(TRowRecord* row, int index);
  bool OverMarginLine(int x, int y);
  int ColumnUnder(int x);
  void DrawMarginLine();
  void MarginDragMove(int x);
  void EndMarginDrag();
  void CommandRecognised(int& code);
  void CloseTemplatePopup();
  void ShowTemplatePopup();

  std::unique_ptr<TSM_CaretControl> FCaretControl;
  std::unique_ptr<TTextMeasurer> FMeasurer;
  struct TDeleteBitmap {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
  };
  using TBitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, TDeleteBitmap>;
  TBitmapHandle FGutterStrip;
  TBitmapHandle FScratchImage;
  TBitmapHandle FWrappedGlyph;
  std::unique_ptr<TSyntaxMemoStrings> FLines;
  TSM_Settings* FAttachedSettings = nullptr;

  TBorderStyle FBorderStyle = bsSingle;
  TScrollStyle FScrollBars = ssBoth;
  bool FFlatScrollBars = false;
  TFlatScrollStyle FFlatScrollBarStyle = fssFLAT;
  bool FFirstCreation = true;
  bool FCreatingWindow = false;
  bool FFirstRender = true;
  bool FPainting = false;
  bool FFontChanging = false;
  bool FFontFromSettings = false;
  bool FDisabledColouring = true;
  bool FReadOnlyColouring = false;
  // On for a whole print job: nothing is painted and metrics are the
  // printer's.
  bool FPrinting = false;
  HWND FDropWindow = nullptr;

  // Input state.
  bool FKeyHandled = false;
  bool FExtend = false;
  int FClickCount = 4;
  DWORD FLastClickTick = 0;
  int FLastClickLine = -1;
  UINT FDoubleClickTime = 500;
  bool FMouseSelecting = false;
  bool FDragArmed = false;
  bool FOverMarginLine = false;
  bool FMarginDragging = false;
  bool FDraggingRightMargin = false;
  int FDraggedColumn = -1;
  int FDraggedLineX = -1;
  bool FOverHyperlink = false;
  TPoint FLastMouse{0, 0};
  std::array<bool, 256> FNavigationKeys{};

  TTemplatePopup* FPopup = nullptr;
  // The search state and dialogs, a component of this editor once made.
  TSyntaxMemoFinder& Finder();
  TSyntaxMemoFinder* FFinder = nullptr;
  // Made with the first window and locked for the control's life.
  void RegisterDropTarget();
  void FreeDropTarget();
  // Drags the selection out; the drop decides what becomes of it.
  void StartOleDrag();
  TSynMemoDropTarget* FDropTarget = nullptr;
};

// The editor with its six parser slots published.
class TSyntaxMemo : public TCustomSyntaxMemo {
public:
  using TCustomSyntaxMemo::TCustomSyntaxMemo;

protected:
  String ClassName() const override { return "TSyntaxMemo"; }
};
