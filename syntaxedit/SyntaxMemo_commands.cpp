#include "SyntaxMemo_model.h"

#include "SyntaxEd_stream.h"
#include "SyntaxEd_templates.h"

#include <algorithm>

namespace {

// Restores the redraw switch however the guarded work ends.
class TRedrawOff {
public:
  explicit TRedrawOff(TSyntaxMemoModel& model) : FModel(model), FWas(model.GetRedraw()) {
    if (FWas) FModel.SetRedraw(false);
  }
  ~TRedrawOff() {
    if (FWas) FModel.SetRedraw(true);
  }
  TRedrawOff(const TRedrawOff&) = delete;
  TRedrawOff& operator=(const TRedrawOff&) = delete;

private:
  TSyntaxMemoModel& FModel;
  bool FWas;
};

// Closes an undo group however the guarded work ends.
class TUndoGroup {
public:
  TUndoGroup(TSyntaxMemoModel& model, int32_t id) : FModel(model), FId(id) { FModel.BeginUndoGroup(id); }
  ~TUndoGroup() { FModel.EndUndoGroup(FId); }
  TUndoGroup(const TUndoGroup&) = delete;
  TUndoGroup& operator=(const TUndoGroup&) = delete;

private:
  TSyntaxMemoModel& FModel;
  int32_t FId;
};

} // namespace

// Where a caret beyond the end of a row stands: on its line end, or after
// the last character of the text.
int TSyntaxMemoModel::LineEndIndex(const TRowRecord* row) {
  return row->Length - (RowEndsWithCR(row) ? 1 : 0);
}

void TSyntaxMemoModel::SetCaretBeyondEOL(bool value, int column) {
  FBeyondEOL = value;
  FCaretColumn = column;
}

void TSyntaxMemoModel::FinishMove(int p, bool extend) {
  int anchor = extend ? FAnchor : p;
  AddChangeFlags(cfSelection);
  MakeVisible(p);
  SetSelection(anchor, p, true);
}

int TSyntaxMemoModel::DisplayColumnOf(int position) {
  int rowStart = 0;
  TRowRecord* row = RowAt(position, rowStart);
  return row ? IndexToColumn(position - rowStart, row) : 0;
}

int TSyntaxMemoModel::CaretX(TRowRecord* row, int rowStart) {
  int column = FBeyondEOL ? FCaretColumn : IndexToColumn(FCaret - rowStart, row);
  return ColumnToX(column, row);
}

int TSyntaxMemoModel::VirtualTarget(TRowRecord* target, int targetStart, int p) {
  if (!target) return p;
  if (CaretFitsRow(FCaretColumn, target)) {
    FBeyondEOL = false;
    return targetStart + ColumnToIndex(FCaretColumn, target);
  }
  FBeyondEOL = true;
  return p;
}

void TSyntaxMemoModel::MoveLeft(bool extend) {
  int p = FCaret;
  if (CaretBeyondEOLAllowed()) {
    if (FBeyondEOL) {
      --FCaretColumn;
      int rowStart = 0;
      TRowRecord* row = RowAt(p, rowStart);
      if (CaretFitsRow(FCaretColumn, row)) {
        p = rowStart + LineEndIndex(row);
        FBeyondEOL = false;
      }
    } else if (FCaretColumn < 1) {
      return;
    } else {
      --FCaretColumn;
      p = std::max(p - 1, 0);
    }
  } else {
    p = std::max(p - 1, 0);
  }
  if (!FBeyondEOL) FCaretColumn = DisplayColumnOf(p);
  FinishMove(p, extend);
}

void TSyntaxMemoModel::MoveRight(bool extend) {
  int p = FCaret;
  if (!CaretBeyondEOLAllowed()) {
    FinishMove(std::min(p + 1, GetTextLength()), extend);
    return;
  }
  int rowStart = 0;
  TRowRecord* row = RowAt(p, rowStart);
  if (FBeyondEOL) {
    FCaretColumn = std::min(FCaretColumn + 1, MaxInsertRow);
  } else if (!row || p == rowStart + LineEndIndex(row)) {
    FBeyondEOL = true;
    FCaretColumn = row ? IndexToColumn(LineEndIndex(row), row) + 1 : 1;
  } else {
    ++FCaretColumn;
    p = std::min(p + 1, GetTextLength());
  }
  FinishMove(p, extend);
}

void TSyntaxMemoModel::MoveLineEnd(bool extend) {
  FBeyondEOL = false;
  int rowStart = 0;
  TRowRecord* row = RowAt(FCaret, rowStart);
  if (!row) return;
  int index = (row->Next || RowEndsWithCR(row)) ? row->Length - 1 : row->Length;
  while (index > 0 && (row->Text[index - 1] == ' ' || row->Text[index - 1] == '\t'))
    --index;
  FCaretColumn = IndexToColumn(index, row);
  FColumnTrackRequest = false;
  FinishMove(rowStart + index, extend);
}

void TSyntaxMemoModel::MoveUp(bool extend) {
  int rowStart = 0;
  TRowRecord* row = RowAt(FCaret, rowStart);
  if (!row) return;
  int p = FCaret;
  TRowRecord* target = row;
  int targetStart = rowStart;
  bool fixedTrack = HasOption(smoColumnTrack) && FMetrics.FixedPitch;
  if (!row->Prev) {
    if (FCaret == row->Length && RowEndsWithCR(row)) {
      p = 0;
      FCaretColumn = 0;
    }
  } else {
    int x = CaretX(row, rowStart);
    if (FCaret == GetTextLength() && XToColumn(x, row) == 0 && RowEndsWithCR(row)) {
      p = rowStart;
      FCaretColumn = 0;
    } else {
      target = row->Prev;
      targetStart = rowStart - target->Length;
      int column = fixedTrack ? XToColumn(x, row) : XToColumn(x, target);
      p = targetStart + ColumnToIndex(column, target);
    }
  }
  if (CaretBeyondEOLAllowed()) {
    p = VirtualTarget(target, targetStart, p);
    FColumnTrackRequest = false;
  } else {
    FColumnTrackRequest = true;
  }
  if (extend) FColumnTrackRequest = false;
  FinishMove(p, extend);
}

void TSyntaxMemoModel::MoveDown(bool extend) {
  int rowStart = 0;
  TRowRecord* row = RowAt(FCaret, rowStart);
  if (!row) return;
  int x = CaretX(row, rowStart);
  TRowRecord* next = row->Next;
  int nextStart = rowStart + row->Length;
  bool fixedTrack = HasOption(smoColumnTrack) && FMetrics.FixedPitch;
  int p;
  bool toEnd = false;
  if (next) {
    int column = fixedTrack ? XToColumn(x, row) : XToColumn(x, next);
    p = nextStart + ColumnToIndex(column, next);
  } else if (RowEndsWithCR(row)) {
    p = GetTextLength();
    toEnd = true;
  } else {
    FColumnTrackRequest = fixedTrack && !extend;
    return;
  }
  if (CaretBeyondEOLAllowed()) {
    TRowRecord* target = next ? next : row;
    int targetStart = next ? nextStart : rowStart;
    if (CaretFitsRow(FCaretColumn, target)) {
      FBeyondEOL = false;
      p = targetStart + ColumnToIndex(FCaretColumn, target);
    } else {
      FBeyondEOL = true;
      p = targetStart + LineEndIndex(target);
    }
    FColumnTrackRequest = false;
  } else {
    FColumnTrackRequest = !toEnd;
  }
  if (extend) FColumnTrackRequest = false;
  FinishMove(p, extend);
}

void TSyntaxMemoModel::MovePage(bool down, bool extend) {
  int rowStart = 0;
  TRowRecord* row = RowAt(FCaret, rowStart);
  if (!row || !(down ? row->Next : row->Prev)) return;
  int p = rowStart;
  TRowRecord* target = row;
  for (int i = 0; i < FVisibleRows && target; ++i) {
    if (down) {
      p += target->Length;
      target = target->Next;
    } else {
      if (!target->Prev) break;
      target = target->Prev;
      p -= target->Length;
    }
  }
  if (CaretBeyondEOLAllowed() && target) {
    if (CaretFitsRow(FCaretColumn, target)) {
      FBeyondEOL = false;
      p += ColumnToIndex(FCaretColumn, target);
    } else {
      FBeyondEOL = true;
      p += LineEndIndex(target);
    }
    FColumnTrackRequest = false;
  } else {
    FColumnTrackRequest = true;
  }
  if (extend) {
    FColumnTrackRequest = false;
    FCaret = p;
  } else {
    FAnchor = p;
  }
  ScrollTo(FLeftColumn, FTopLine + (down ? FVisibleRows : -FVisibleRows), false);
  AddChangeFlags(cfSelection);
  LayoutChanged = true;
  SetSelection(FAnchor, p, true);
}

void TSyntaxMemoModel::MoveWord(bool right, bool extend) {
  int p = right ? WordRight() : WordLeft();
  if (p == -1) p = right ? FCaret : 0;
  FBeyondEOL = false;
  FCaretColumn = DisplayColumnOf(p);
  MakeVisible(p);
  AddChangeFlags(cfSelection);
  SetSelection(extend ? FAnchor : p, p, true);
}

void TSyntaxMemoModel::MoveDocEnd(bool extend) {
  if (FCaret == GetTextLength()) return;
  if (extend) FColumnTrackRequest = false;
  FBeyondEOL = false;
  TRowRecord* last = GetFirstRow();
  while (last && last->Next)
    last = last->Next;
  FCaretColumn = last && !RowEndsWithCR(last) ? IndexToColumn(last->Length, last) : 0;
  FinishMove(GetTextLength(), extend);
}

void TSyntaxMemoModel::DeleteAtCaret() {
  if (ReadOnly) return;
  TUndoGroup group(*this, ugDeleteChar);
  if (CaretBeyondEOLAllowed() && FBeyondEOL && FAnchor == FCaret) ReplaceSelectionText(nullptr, 0);
  if (FAnchor == FCaret && FCaret == GetTextLength()) return;
  if (FAnchor == FCaret) FCaret = FAnchor + 1;
  FBeyondEOL = false;
  FCaretColumn = DisplayColumnOf(GetSelStart());
  MakeVisible(FAnchor);
  AddChangeFlags(cfClipboard | cfText | cfSelection);
  FColumnTrackRequest = false;
  ReplaceSelText(nullptr);
}

void TSyntaxMemoModel::DeleteBeforeCaret(bool extend) {
  if (ReadOnly) return;
  if (CaretBeyondEOLAllowed() && FBeyondEOL) {
    MoveLeft(extend);
    return;
  }
  TUndoGroup group(*this, ugDeleteChar);
  if (FAnchor == FCaret && FCaret == 0) return;
  if (FAnchor == FCaret) FAnchor = FCaret - 1;
  FBeyondEOL = false;
  MakeVisible(FAnchor);
  AddChangeFlags(cfClipboard | cfText | cfSelection);
  ReplaceSelText(nullptr);
  FCaretColumn = DisplayColumnOf(FAnchor);
}

void TSyntaxMemoModel::DeleteWord(bool right) {
  int q = right ? WordRight() : WordLeft();
  if (q == FCaret) return;
  TUndoGroup group(*this, right ? ugDeleteNextWord : ugDeletePrevWord);
  TRedrawOff redraw(*this);
  AddChangeFlags(cfClipboard | cfText | cfSelection);
  ExecuteCommand(right ? ecWordRight : ecWordLeft, 0, true);
  ExecuteCommand(ecDeleteChar, 0, false);
}

void TSyntaxMemoModel::IndentCommand(bool indent) {
  if (ReadOnly) return;
  AddChangeFlags(cfClipboard | cfText | cfSelection);
  if (indent)
    BlockIndent(0, false);
  else
    BlockUnindent(0);
  int rowStart = 0;
  TRowRecord* row = RowAt(FAnchor, rowStart);
  FCaretColumn = row ? IndexToColumn(FAnchor - rowStart, row) : 0;
  if (CaretBeyondEOLAllowed()) FBeyondEOL = !CaretFitsRow(FCaretColumn, row);
}

void TSyntaxMemoModel::DeleteCurrentLine() {
  if (ReadOnly || FAnchor != FCaret) return;
  int rowStart = 0;
  TRowRecord* row = RowAt(FCaret, rowStart);
  if (!row) return;
  FAnchor = rowStart;
  FCaret = rowStart + row->Length;
  MakeVisible(rowStart);
  AddChangeFlags(cfClipboard | cfText | cfSelection);
  ReplaceSelText(nullptr);
}

void TSyntaxMemoModel::ScrollLine(bool down) {
  int fontHeight = FMetrics.FontHeight;
  if (!down) {
    if (FTopLine <= 0) return;
    ScrollTo(FLeftColumn, FTopLine - 1, true);
    if (PositionToPoint(FCaret).Y + fontHeight >= UsableClientHeight()) MoveUp(false);
    return;
  }
  if (FTopLine >= GetRowCount() - 1) return;
  if (fontHeight >= PositionToPoint(FCaret).Y) MoveDown(false);
  ScrollTo(FLeftColumn, FTopLine + 1, true);
}

void TSyntaxMemoModel::ExecuteCommand(int command, int, bool extend) {
  command &= 0xFF;
  if (command >= ecSetBookmark0 && command < ecSetBookmark0 + 10) {
    SetBookmark(command - ecSetBookmark0, -1, 0);
    return;
  }
  if (command >= ecGotoBookmark0 && command < ecGotoBookmark0 + 10) {
    GotoBookmark(command - ecGotoBookmark0);
    return;
  }
  switch (command) {
  case ecLeft:
    return MoveLeft(extend);
  case ecRight:
    return MoveRight(extend);
  case ecLineStart:
    FBeyondEOL = false;
    FCaretColumn = 0;
    return FinishMove(FCaret - ColumnInRow(FCaret), extend);
  case ecLineEnd:
    return MoveLineEnd(extend);
  case ecUp:
    return MoveUp(extend);
  case ecDown:
    return MoveDown(extend);
  case ecPageUp:
  case ecPageDown:
    return MovePage(command == ecPageDown, extend);
  case ecWordLeft:
  case ecWordRight:
    return MoveWord(command == ecWordRight, extend);
  case ecDocStart:
    FBeyondEOL = false;
    FCaretColumn = 0;
    return FinishMove(0, extend);
  case ecDocEnd:
    return MoveDocEnd(extend);
  case ecCut:
    if (ReadOnly) return;
    AddChangeFlags(cfClipboard | cfText | cfSelection);
    FBeyondEOL = false;
    FCaretColumn = DisplayColumnOf(GetSelStart());
    return FHost->CutToClipboard();
  case ecCopy:
    return FHost->CopyToClipboard();
  case ecPaste:
    if (ReadOnly) return;
    AddChangeFlags(cfClipboard | cfText | cfSelection);
    FHost->PasteFromClipboard();
    FCaretColumn = DisplayColumnOf(FCaret);
    return;
  case ecDeleteChar:
    return DeleteAtCaret();
  case ecDeleteLastChar:
    return DeleteBeforeCaret(extend);
  case ecBlockIndent:
  case ecBlockUnindent:
    return IndentCommand(command == ecBlockIndent);
  case ecToggleMode:
    InsertMode = !InsertMode;
    AddChangeFlags(cfMode);
    NotifyChange();
    return FHost->Paint();
  case ecDeleteLine:
    return DeleteCurrentLine();
  case ecUndo:
    if (!ReadOnly) Undo();
    return;
  case ecRedo:
    if (!ReadOnly) Redo();
    return;
  case ecDeleteLastWord:
  case ecDeleteWord:
    return DeleteWord(command == ecDeleteWord);
  case ecPrintSelection:
    return FHost->PrintSelection();
  case ecScrollUp:
  case ecScrollDown:
    return ScrollLine(command == ecScrollDown);
  default:
    return;
  }
}

// ---- templates

void TSyntaxMemoModel::ExpandMacro(TMacroKeywords* Sender, const String& name, String& replacement) {
  auto [start, end] = OrderRange({FAnchor, FCaret});
  FAnchor = start;
  FCaret = end;
  TSM_Settings& settings = *FActiveSettings;
  if (Sender == &settings.GetCodeTemplates() && OnTemplateEvent)
    OnTemplateEvent(this->Sender, name, replacement);
  if (Sender == &settings.GetAutoReplace()) {
    int at = FCaret - static_cast<int>(name.size());
    int rowStart = 0;
    TRowRecord* row = RowAt(std::max(at, 0), rowStart);
    if (!row) return;
    TEdStream stream(FStore.get());
    stream.AttachToRow(row, std::max(at, 0) - rowStart, rowStart);
    auto inWord = [this](char c) { return CharIsInWord(c); };
    auto startsWord = [this](char c) { return CharStartsWord(c); };
    bool canReplace = CanAutoReplace(stream, FCaret, name, replacement, inWord, startsWord);
    stream.AttachToRow(row, std::max(at, 0) - rowStart, rowStart);
    if (OnAutoReplace) OnAutoReplace(this->Sender, stream, name, replacement, canReplace);
    if (!canReplace) return;
  }
  int nameLength = static_cast<int>(name.size());
  if (FAnchor >= nameLength) FAnchor -= nameLength;
  int indent = 0;
  if (Sender && Sender->IndentExpansion && !replacement.empty()) {
    int rowStart = 0;
    TRowRecord* row = RowAt(FAnchor, rowStart);
    indent = row ? IndexToColumn(FAnchor - rowStart, row) : 0;
    if (row && !row->Next && indent == row->Length) indent = 0;
  }
  int marker = -1;
  String text = PrepareExpansion(replacement, indent, Sender && Sender->CaretMarker, marker);
  TUndoGroup group(*this, ugTemplate);
  int selStart = FAnchor;
  ReplaceSelectionText(text.data(), static_cast<int>(text.size()));
  if (marker < 0) {
    AddChangeFlags(cfText | cfSelection);
    NotifyChange();
    MakeVisible(FCaret);
    FHost->Paint();
    FHost->UpdateScrollBars();
    return;
  }
  SetSelection(selStart + marker, selStart + marker, true);
}
