// Keys and the mouse: typing with overwrite, auto-indent and tab-to-column,
// command keys through the language's key controller, clicks counted into
// caret, word and row selection, drag selection that follows the mouse,
// gutter clicks, hyperlinks and dragging the margin lines.
#include "SyntaxMemo.h"

#include "SynParse.h"
#include "SyntaxEd_stream.h"
#include "SysUtils.h"
#include "WinApi.h"

#include <algorithm>

namespace {

TKeyShift KeyShiftOf(TShiftState shift) {
  TKeyShift s = 0;
  if (shift.Contains(ssShift)) s |= ksShift;
  if (shift.Contains(ssAlt)) s |= ksAlt;
  if (shift.Contains(ssCtrl)) s |= ksCtrl;
  return s;
}

bool EndsWithCR(const TRowRecord* row) {
  return row && row->Length > 0 && row->Text[row->Length - 1] == '\r';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

} // namespace

// --- Keys --------------------------------------------------------------------

void TCustomSyntaxMemo::AttachLanguageHandlers() {
  if (IsDestroying()) return;
  TSM_Settings& settings = FModel->GetSettings();
  settings.GetKeyController().OnAction = [this](TKeyboardActionContoller*, int& code) {
    CommandRecognised(code);
  };
  auto expand = [this](TMacroKeywords* sender, const String& name, String& replacement) {
    FModel->ExpandMacro(sender, name, replacement);
  };
  settings.GetCodeTemplates().OnFire = expand;
  settings.GetAutoReplace().OnFire = expand;
}

void TCustomSyntaxMemo::CommandRecognised(int& code) {
  FModel->AddChangeFlags(cfClipboard);
  if (OnCommandRecognised) OnCommandRecognised(this, code);
  ExecuteCommand(code, 0, FExtend);
  FKeyHandled = true;
}

void TCustomSyntaxMemo::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  FModel->AddChangeFlags(cfClipboard);
  // Each key press starts unhandled (a key without a character, such as
  // Insert, never reaches KeyPress to clear the mark).
  FKeyHandled = false;
  if (OfferTemplateKey(Key, Shift)) {
    Key = 0;
    return;
  }
  FExtend = Shift.Contains(ssShift);
  TKeyShift shift = KeyShiftOf(Shift);
  if (Key < 256 && FNavigationKeys[Key]) shift &= static_cast<TKeyShift>(~ksShift);
  uint16_t key = Key;
  bool handled = FKeyHandled;
  FModel->GetSettings().GetKeyController().HandleKey(key, shift, handled);
  if (handled) FKeyHandled = true;
  if (FKeyHandled) Key = 0;
}

bool TCustomSyntaxMemo::OfferTemplateKey(WORD key, TShiftState shift) {
  TSM_Settings& settings = FModel->GetSettings();
  const TKeyShift keyShift = KeyShiftOf(shift);
  auto charIsInWord = [this](char c) { return FModel->CharIsInWord(c); };
  auto charStartsWord = [this](char c) { return FModel->CharStartsWord(c); };
  for (TMacroKeywords* list : {static_cast<TMacroKeywords*>(&settings.GetCodeTemplates()),
                               static_cast<TMacroKeywords*>(&settings.GetAutoReplace())}) {
    if (!list->Enabled || !list->IsTriggerKey(key, keyShift)) continue;
    std::unique_ptr<TEdStream> stream;
    int rowStart = 0;
    const int caret = FModel->GetCaret();
    TRowRecord* row = FModel->RowAt(caret > 0 ? caret - 1 : caret, rowStart);
    if (row) {
      stream = std::make_unique<TEdStream>(&FModel->GetStore());
      stream->AttachToRow(row, 0, rowStart);
      stream->MoveTo(caret);
    }
    bool handled = FKeyHandled;
    if (list->HandleTriggerKey(stream.get(), key, keyShift, handled, charIsInWord, charStartsWord)) {
      FKeyHandled = handled;
      if (list == &settings.GetCodeTemplates()) return true;
      continue;
    }
    if (list == &settings.GetCodeTemplates() && list->WantsPopup()) {
      ShowTemplatePopup();
      return true;
    }
  }
  return false;
}

void TCustomSyntaxMemo::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (!GetEnabled() || !GetTabStop()) return;
  if (!FKeyHandled && Key != 0) {
    FModel->AddChangeFlags(cfClipboard);
    const unsigned char c = static_cast<unsigned char>(Key);
    if ((c >= 32 && c <= 126) || c >= 128) {
      TypeChar(Key);
    } else if (c == '\r' && WantReturns) {
      TypeChar(Key);
      Key = 0;
    } else if (c == '\n' && !WantReturns) {
      Key = '\r';
      TypeChar(Key);
    } else if (c == '\t') {
      if (FModel->HasOption(smoTabToColumn) && !FModel->HasOption(smoWordWrap))
        TabToColumn();
      else if (FModel->HasOption(smoUseTAB))
        TypeChar(Key);
      else
        TabToColumn();
    }
  }
  if (FKeyHandled) Key = 0;
  FKeyHandled = false;
  FModel->MakeVisible(FModel->GetCaret());
  UpdateScrollBars();
  NotifyChange();
  Paint();
}

namespace {
// The display column of the leading blanks of a row, at most up to limit
// characters; -1 when the row has no indent and does not start with CR.
int LeadingBlanks(const TRowRecord* row, int limit) {
  int n = 0;
  while (n < row->Length && n < limit && IsBlank(row->Text[n]))
    ++n;
  return n;
}
} // namespace

void TCustomSyntaxMemo::TypeChar(char ch) {
  if (FModel->ReadOnly) return;
  FModel->BeginUndoGroup(14);
  try {
    FModel->AddChangeFlags(cfSelection | cfClipboard | cfText);
    const bool autoIndent = ch == '\r' && FModel->HasOption(smoAutoIndent);
    int indent = -1;
    int rowStart = 0;
    TRowRecord* row = FModel->RowAt(FModel->GetCaret(), rowStart);
    if (autoIndent && row) {
      const int blanks = LeadingBlanks(row, FModel->GetCaret() - rowStart);
      if (blanks > 0 || row->Text[0] == '\r') indent = FModel->IndexToColumn(blanks, row);
    }
    if (!FModel->InsertMode && FModel->GetAnchor() == FModel->GetCaret() && ch != '\r' && row) {
      const int index = FModel->GetCaret() - rowStart;
      if (index < row->Length && row->Text[index] != '\r')
        FModel->SetSelection(FModel->GetCaret(), FModel->GetCaret() + 1, false);
    }
    const char text[2] = {ch, 0};
    const bool quiet = autoIndent && indent >= 0 && !FModel->HasOption(smoWordWrap);
    FModel->ReplaceSelText(text, !quiet);
    if (autoIndent && indent >= 0) IndentNewLine(indent);
  } catch (...) {
    FModel->EndUndoGroup(14);
    throw;
  }
  FModel->EndUndoGroup(14);
}

void TCustomSyntaxMemo::IndentNewLine(int indent) {
  int rowStart = 0;
  TRowRecord* row = FModel->RowAt(FModel->GetCaret(), rowStart);
  TRowRecord* previous = row ? row->Prev : FModel->GetStore().GetFirstRow();
  if (row && !row->Prev) previous = nullptr;
  if (!row && previous) {
    while (previous->Next)
      previous = previous->Next;
  }
  if (!previous) {
    if (indent < 1) return FModel->SetSelection(FModel->GetAnchor(), FModel->GetCaret(), true);
    MakeFillText(*this, 0, indent, false);
    return;
  }
  int column = indent;
  if (indent == 0) {
    const TRowRecord* r = previous;
    while (r && LeadingBlanks(r, r->Length) >= r->Length - 1 && r->Prev)
      r = r->Prev;
    column = r ? FModel->IndexToColumn(LeadingBlanks(r, r->Length), r) : 0;
  }
  if (column > 0) MakeFillText(*this, 0, column, false);
}

void TCustomSyntaxMemo::TabToColumn() {
  if (FModel->ReadOnly) return;
  FModel->BeginUndoGroup(14);
  try {
    int rowStart = 0;
    TRowRecord* row = FModel->RowAt(FModel->GetCaret(), rowStart);
    int col = row ? FModel->IndexToColumn(FModel->GetCaret() - rowStart, row) : 0;
    if (row && !row->Next && col == 1) col = 0;
    int target = FModel->NextTabStop(col);
    const TRowRecord* reference = row ? row->Prev : nullptr;
    if (row && !row->Next && EndsWithCR(row) && col == FModel->IndexToColumn(row->Length, row)) {
      col = 0;
      reference = row;
      target = FModel->NextTabStop(col);
    }
    if (reference && FModel->HasOption(smoTabToColumn)) {
      for (const TRowRecord* r = reference; r; r = r->Prev) {
        if (FModel->IndexToColumn(r->Length - 1, r) <= col) continue;
        int i = FModel->ColumnToIndex(col, r);
        while (i < r->Length - 1 && !IsBlank(r->Text[i]))
          ++i;
        while (i < r->Length - 1 && IsBlank(r->Text[i]))
          ++i;
        target = FModel->IndexToColumn(i, r);
        break;
      }
    }
    MakeFillText(*this, col, target, false);
  } catch (...) {
    FModel->EndUndoGroup(14);
    throw;
  }
  FModel->EndUndoGroup(14);
}

// --- Mouse -------------------------------------------------------------------

int TCustomSyntaxMemo::ColumnUnder(int x) {
  const int width = std::max(1, FModel->GetMetrics().AveCharWidth);
  return FModel->GetLeftColumn() + (x - TextLeftEdge() + width / 2) / width;
}

void TCustomSyntaxMemo::DrawMarginLine() {
  if (FDraggedLineX < 0 || !HandleAllocated()) return;
  HDC dc = GetDC(FHandle);
  const int oldMode = SetROP2(dc, R2_NOTXORPEN);
  MoveToEx(dc, FDraggedLineX, 0, nullptr);
  LineTo(dc, FDraggedLineX, GetClientHeight());
  SetROP2(dc, oldMode);
  ReleaseDC(FHandle, dc);
}

bool TCustomSyntaxMemo::OverMarginLine(int x, int y) {
  if (x < TextLeftEdge()) return false;
  const TSM_Settings& settings = FModel->GetSettings();
  const int column = ColumnUnder(x);
  int at = -1;
  if (FModel->HasOption(smoShowRMargin) && column == settings.RightMargin) at = column;
  if (FModel->HasOption(smoWordWrap) && FModel->HasOption(smoShowWrapColumn) &&
      column == settings.WordWrapColumn)
    at = column;
  if (at < 0) return false;
  int rowStart = 0;
  const int p = FModel->PointToPosition(TextLeftEdge(), y);
  TRowRecord* row = FModel->RowAt(p, rowStart);
  return !row || FModel->IndexToColumn(row->Length - 1, row) < at;
}

void TCustomSyntaxMemo::GutterClick(int y) {
  int line = FModel->LineFromChar(FModel->PointToPosition(TextLeftEdge(), y));
  if (FModel->HasOption(smoWordWrap) && OnGutterClick) {
    int rowStart = 0;
    const TRowRecord* row = FModel->RowAt(FModel->PointToPosition(TextLeftEdge(), y), rowStart);
    for (; row && (row->Marks & rmContinuation); row = row->Prev)
      --line;
  }
  if (OnGutterClick) OnGutterClick(this, line + 1);
}

void TCustomSyntaxMemo::SelectRowAt(int y) {
  int rowStart = 0;
  const int p = FModel->PointToPosition(TextLeftEdge(), y);
  TRowRecord* row = FModel->RowAt(p, rowStart);
  const int end = row ? rowStart + row->Length : rowStart;
  FModel->SetSelection(rowStart, end, true);
  FMouseSelecting = true;
}

bool TCustomSyntaxMemo::OverHyperlink(int x, int y, TRowRecord*& row, int& index, int& rowStart) {
  FOverHyperlink = false;
  if (!FModel->GetSettings().HasHotspots()) return false;
  const int p = FModel->PointToPosition(std::max(x, TextLeftEdge()), y);
  row = FModel->RowAt(p, rowStart);
  if (!row || !row->Tokens) return false;
  index = FModel->ColumnToIndex(FModel->XToColumn(x, row), row);
  if (index < 0 || index >= row->Length || row->Text[index] == '\r') return false;
  const TSM_Settings& settings = FModel->GetSettings();
  FOverHyperlink = settings.GetStyle(settings.TokenStyle(row->Tokens[index])).Hotspot;
  return FOverHyperlink;
}

void TCustomSyntaxMemo::FireHyperlinkClick(TRowRecord* row, int index) {
  if (!OnHyperlinkClick) return;
  const uint8_t token = row->Tokens[index];
  String before;
  const TRowRecord* r = row;
  for (int i = index - 1;; --i) {
    if (i < 0) {
      r = r->Prev;
      if (!r || !r->Tokens) break;
      i = r->Length - 1;
    }
    if (r->Tokens[i] != token) break;
    before.insert(before.begin(), r->Text[i]);
  }
  String after;
  r = row;
  for (int i = index;; ++i) {
    if (i >= r->Length) {
      r = r->Next;
      if (!r || !r->Tokens) break;
      i = 0;
    }
    if (r->Tokens[i] != token) break;
    after += r->Text[i];
  }
  OnHyperlinkClick(this, before + after, token);
}

void TCustomSyntaxMemo::ClickAt(int x, int y, int p) {
  TRowRecord* row = nullptr;
  int index = 0;
  int rowStart = 0;
  const bool hyperlink = OverHyperlink(x, y, row, index, rowStart);
  FMouseSelecting = true;
  FModel->SetSelection(p, p, true);
  if (hyperlink) FireHyperlinkClick(row, index);
}

void TCustomSyntaxMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (!GetEnabled() || !GetTabStop() || !GetVisible()) return;
  AttachLanguageHandlers();
  if (CanFocus() && !TWinControl::Focused()) SetFocus();
  if (Button != mbLeft || X < 0 || X > UsableClientWidth()) return;
  const DWORD now = GetTickCount();
  const bool quick = now - FLastClickTick <= FDoubleClickTime;
  FClickCount = FClickCount == 4 ? 1 : FClickCount == 3 ? 4 : (quick ? FClickCount + 1 : 1);
  FLastClickTick = now;
  const int textLeft = TextLeftEdge();
  if (X < textLeft) {
    if (textLeft > 0 && X < textLeft - FModel->GetSettings().MarginWidth) return GutterClick(Y);
    return SelectRowAt(Y);
  }
  if (OverMarginLine(X, Y)) {
    FMarginDragging = true;
    FDraggedColumn = ColumnUnder(X);
    FDraggedLineX = textLeft + (FDraggedColumn - FModel->GetLeftColumn()) * FModel->GetMetrics().AveCharWidth;
    FDraggingRightMargin =
        FModel->HasOption(smoShowRMargin) && FModel->GetSettings().RightMargin == FDraggedColumn;
    DrawMarginLine();
    return;
  }
  const int p = FModel->PointToPosition(X, Y);
  const int line = FModel->LineFromChar(p);
  if (Shift.Contains(ssShift)) {
    auto [start, end] = OrderRange({FModel->GetAnchor(), FModel->GetCaret()});
    if (p < start)
      start = p;
    else
      end = p;
    FModel->SetSelection(start, end, true);
    FMouseSelecting = true;
    FLastClickLine = line;
    return;
  }
  const auto [start, end] = OrderRange({FModel->GetAnchor(), FModel->GetCaret()});
  if (FClickCount == 2) {
    FModel->SetSelection(p, p, true);
  } else if (FClickCount == 3 && line == FLastClickLine) {
    int rowStart = 0;
    if (OnTripleClick) {
      OnTripleClick(this, TPoint(X, Y), p);
    } else if (TRowRecord* row = FModel->RowAt(p, rowStart)) {
      FModel->SetSelection(rowStart, rowStart + row->Length, true);
    }
  } else if (FClickCount != 3 && start != end && p >= start && p <= end) {
    FDragArmed = true;
  } else {
    ClickAt(X, Y, p);
  }
  FLastClickLine = line;
}

void TCustomSyntaxMemo::MarginDragMove(int x) {
  DrawMarginLine();
  FDraggedColumn = ColumnUnder(x);
  const int width = FModel->GetMetrics().AveCharWidth;
  if (x < TextLeftEdge() || FDraggedColumn < 0 ||
      FDraggedColumn - FModel->GetLeftColumn() > FModel->GetVisibleColumns())
    FDraggedLineX = -1;
  else
    FDraggedLineX = TextLeftEdge() + (FDraggedColumn - FModel->GetLeftColumn()) * width;
  DrawMarginLine();
}

void TCustomSyntaxMemo::MouseMove(TShiftState Shift, int X, int Y) {
  FLastMouse = TPoint(X, Y);
  TCustomControl::MouseMove(Shift, X, Y);
  if (!GetEnabled() || !GetTabStop() || !GetVisible()) return;
  if (FDragArmed) {
    FDragArmed = false;
    if (FModel->HasOption(smoOLEDragSource)) StartOleDrag();
    return;
  }
  if (FMouseSelecting || FMarginDragging) {
    const int top = FModel->GetTopLine();
    const int left = FModel->GetLeftColumn();
    if (Y < 0 && top > 0)
      ScrollTo(left, top - 1, true, true);
    else if (Y > UsableClientHeight())
      ScrollTo(left, top + 1, true, true);
    if (X < TextLeftEdge() - FModel->GetSettings().MarginWidth && left > 0) {
      if (FMarginDragging) FDraggedLineX = -1;
      ScrollTo(left - 1, FModel->GetTopLine(), true, true);
    } else if (X > UsableClientWidth()) {
      if (FMarginDragging) FDraggedLineX = -1;
      ScrollTo(left + 1, FModel->GetTopLine(), true, true);
    }
    const int x = std::max(X, TextLeftEdge());
    if (FMarginDragging) {
      MarginDragMove(x);
    } else {
      FModel->SetSelection(FModel->GetAnchor(), FModel->PointToPosition(x, Y), true);
    }
  }
  UpdateMouseCursor(X, Y);
}

void TCustomSyntaxMemo::UpdateMouseCursor(int x, int y) {
  if (x < TextLeftEdge()) return SetCursor(crDefault);
  FOverMarginLine = OverMarginLine(x, y);
  TRowRecord* row = nullptr;
  int index = 0;
  int rowStart = 0;
  if (!FOverMarginLine && OverHyperlink(x, y, row, index, rowStart)) {
    SetCursor(HyperCursor);
    if (OnHyperlinkHover) OnHyperlinkHover(this);
    return;
  }
  const TCursor current = GetCursor();
  const bool ours = current == crDefault || current == crIBeam || current == crHSplit ||
                    current == crVSplit || (current >= 22 && current <= 30) || current == HyperCursor;
  if (!ours) return;
  TCursor cursor = crIBeam;
  if (FOverMarginLine) {
    cursor = crHSplit;
  } else if (FModel->HasOption(smoOLEDragSource)) {
    const auto [start, end] = OrderRange({FModel->GetAnchor(), FModel->GetCaret()});
    const int p = FModel->PointToPosition(x, y);
    if (start != end && p >= start && p < end) cursor = crDefault;
  }
  SetCursor(cursor);
}

void TCustomSyntaxMemo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!GetEnabled() || !GetTabStop() || Button != mbLeft) return;
  if (FDragArmed) {
    FDragArmed = false;
    ClickAt(X, Y, FModel->PointToPosition(X, Y));
  }
  FMouseSelecting = false;
  if (FMarginDragging) EndMarginDrag();
}

void TCustomSyntaxMemo::EndMarginDrag() {
  DrawMarginLine();
  FMarginDragging = false;
  FDraggedLineX = -1;
  if (FDraggingRightMargin)
    SetRightMargin(FDraggedColumn);
  else
    SetWrapAtColumn(FDraggedColumn);
  Invalidate();
}

void TCustomSyntaxMemo::SelectWordAtCaret() {
  int rowStart = 0;
  TRowRecord* row = FModel->RowAt(FModel->GetCaret(), rowStart);
  if (!row) return;
  auto word = [this](char c) { return FModel->CharStartsWord(c) || FModel->CharIsInWord(c); };
  const char* text = row->Text.get();
  const int n = row->Length;
  int i = FModel->GetCaret() - rowStart;
  int start = i;
  if (!(i < n && word(text[i]) && (i == 0 || !word(text[i - 1])))) {
    int k = i - 1;
    while (k >= 0 && !word(text[k]))
      --k;
    if (k < 0) {
      start = 0;
      while (start < n && !word(text[start]))
        ++start;
      if (start >= n) start = 0;
    } else {
      while (k > 0 && word(text[k - 1]))
        --k;
      start = k;
    }
  }
  int end = start;
  while (end < n && word(text[end]))
    ++end;
  row->Flags |= rfChanged;
  FModel->SetSelection(rowStart + start, rowStart + end, true);
}

uint8_t TCustomSyntaxMemo::TokenAtMouse() {
  int rowStart = 0;
  TRowRecord* row = FModel->RowAt(FModel->PointToPosition(FLastMouse.x, FLastMouse.y), rowStart);
  if (!row || !row->Tokens) return 255;
  const int index = FModel->ColumnToIndex(FModel->XToColumn(FLastMouse.x, row), row);
  return index >= 0 && index < row->Length ? row->Tokens[index] : 255;
}

// --- Following the mouse -------------------------------------------------------

void TCustomSyntaxMemo::ScrollTo(int leftColumn, int topLine, bool followMouse, bool repaint) {
  const bool horzShown = HandleAllocated() && SMScrollBarShown(FHandle, SB_HORZ, FFlatScrollBars);
  const bool vertShown = HandleAllocated() && SMScrollBarShown(FHandle, SB_VERT, FFlatScrollBars);
  int left = leftColumn;
  int top = topLine;
  for (;;) {
    FModel->ScrollTo(left, top, repaint);
    if (!followMouse || !TWinControl::Focused()) return;
    // Take what the user did meanwhile, so a released button is seen.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE) &&
           msg.message == WM_MOUSEMOVE)
      PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
    if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) return;
    POINT cursor;
    GetCursorPos(&cursor);
    ::ScreenToClient(FHandle, &cursor);
    const int lastRow = FModel->GetRowCount() - 1;
    const int lastColumn = FModel->GetLongestRow() - 1;
    left = FModel->GetLeftColumn();
    top = FModel->GetTopLine();
    int p = -1;
    if (vertShown && cursor.y < 0) {
      if (top <= 0) return;
      --top;
      p = FModel->PointToPosition(TextLeftEdge(), 0);
    } else if (vertShown && cursor.y > UsableClientHeight()) {
      if (top >= lastRow) return;
      ++top;
      p = FModel->PointToPosition(TextLeftEdge(), UsableClientHeight() - 1);
    } else if (horzShown && cursor.x < TextLeftEdge()) {
      if (left <= 0) return;
      --left;
      p = FModel->PointToPosition(TextLeftEdge(), cursor.y);
    } else if (horzShown && cursor.x > UsableClientWidth()) {
      if (left >= lastColumn) return;
      ++left;
      p = FModel->PointToPosition(UsableClientWidth() - 1, cursor.y);
    } else {
      return;
    }
    if (!FMarginDragging) FModel->SetSelection(FModel->GetAnchor(), p, false);
  }
}
