#include "SyntaxEd_undo.h"

#include <algorithm>

// ---- TStack

TStack::~TStack() {
  FreeAll();
}

TStack::Node* TStack::UnlinkTop() {
  Node* node = FTop;
  FTop = node->Older;
  if (FTop)
    FTop->Newer = nullptr;
  else
    FBottom = nullptr;
  FTotalSize -= 16 + node->Size;
  return node;
}

void TStack::Push(void* entry, int size) {
  auto* node = new Node{entry, size, nullptr, nullptr, FNextSerial++};
  FTotalSize += 16 + size;
  if (!FTop) {
    FBottom = FTop = FCursor = node;
  } else {
    while (FTop != FCursor) {
      Node* gone = UnlinkTop();
      if (OnFree) OnFree(gone->Entry);
      delete gone;
    }
    if (!FTop) {
      FBottom = FTop = FCursor = node;
    } else {
      node->Older = FTop;
      FTop->Newer = node;
      FTop = FCursor = node;
    }
  }
  ++FCount;
}

void* TStack::Pop() {
  if (!FTop) throw Exception(SStackUnderflow);
  Node* node = UnlinkTop();
  if (FCursor == node) FCursor = FTop;
  FCount = std::max(FCount - 1, 0);
  void* entry = node->Entry;
  delete node;
  return entry;
}

void* TStack::UndoPop() {
  if (!FCursor) throw Exception(SStackUnderflow);
  void* entry = FCursor->Entry;
  FCursor = FCursor->Older;
  FCount = std::max(FCount - 1, 0);
  return entry;
}

void* TStack::RedoPop() {
  if (FCursor == FTop) throw Exception(SStackUnderflow);
  FCursor = FCursor ? FCursor->Newer : FBottom;
  ++FCount;
  return FCursor->Entry;
}

void TStack::FreeAll() {
  FCursor = FTop;
  while (FTop) {
    void* entry = Pop();
    if (OnFree) OnFree(entry);
  }
  FCount = 0;
}

void TStack::DiscardAll() {
  FreeAll();
}

void* TStack::TopEntry() const {
  return FTop ? FTop->Entry : nullptr;
}

int64_t TStack::TopSerial() const {
  return FTop ? FTop->Serial : -1;
}

// ---- TUndoStack

TUndoStack::TUndoStack() {
  OnFree = [](void* entry) { delete static_cast<TUndoEntry*>(entry); };
}

TUndoStack::~TUndoStack() {
  DiscardAll();
}

void TUndoStack::PushEntry(std::unique_ptr<TUndoEntry> entry) {
  int size = 16;
  if (entry->Text) size += static_cast<int>(entry->Text->size());
  if (entry->Stream) size += static_cast<int>(sizeof(TMemoryStream) + entry->Stream->GetSize());
  Push(entry.get(), size);
  entry.release();
}

void TUndoStack::SetSaveMark() {
  FSaveCount = GetCount();
  FSaveTop = TopSerial();
}

void TUndoStack::ClearSaveMark() {
  FSaveCount = -1;
  FSaveTop = -1;
}

bool TUndoStack::IsModified() const {
  if (FSaveCount < 0) return GetCount() > 0;
  return GetCount() != FSaveCount || (GetCount() > 0 && TopSerial() != FSaveTop);
}

// ---- TUndoLogger

namespace {

std::unique_ptr<TUndoEntry> Marker(int32_t data, int32_t value) {
  auto e = std::make_unique<TUndoEntry>();
  e->Kind = ukMarker;
  e->Data = data;
  e->Value = value;
  return e;
}

std::unique_ptr<TUndoEntry> Selection(std::pair<int, int> sel) {
  auto e = std::make_unique<TUndoEntry>();
  e->Kind = ukSelection;
  e->Data = sel.first;
  e->Extra = sel.second;
  return e;
}

std::unique_ptr<TUndoEntry> TextEntry(std::unique_ptr<String> text) {
  auto e = std::make_unique<TUndoEntry>();
  e->Kind = ukText;
  e->Text = std::move(text);
  return e;
}

// None for no text: an empty selection or a deletion.
std::unique_ptr<String> TextOrNone(const String* text) {
  if (!text || text->empty()) return nullptr;
  return std::make_unique<String>(*text);
}

TUndoEntry* Expect(TUndoEntry* e, int32_t kind) {
  if (!e || e->Kind != kind) throw ESyntaxMemo(SBadUndoState);
  return e;
}

void ExpectMarker(TUndoEntry* e, int32_t data) {
  if (Expect(e, ukMarker)->Data != data) throw ESyntaxMemo(SBadUndoState);
}

std::pair<int, int> SelectionOf(TUndoEntry* e) {
  Expect(e, ukSelection);
  return {e->Data, e->Extra};
}

} // namespace

void TUndoLogger::Fail() {
  if (TUndoStack* stack = FEditor.GetUndoStack()) {
    stack->DiscardAll();
    stack->ClearSaveMark();
  }
  FEditor.Beep();
  throw ESyntaxMemo(SBadTransaction);
}

void TUndoLogger::PushGroupRecord(int32_t id, int32_t value) {
  TUndoStack& stack = *FEditor.GetUndoStack();
  stack.PushEntry(Marker(id, value));
  stack.PushEntry(Selection(FEditor.GetSelection()));
  stack.PushEntry(Marker(id, value));
}

void TUndoLogger::PushReplacement(std::pair<int, int> before, std::unique_ptr<String> oldText,
                                  std::unique_ptr<String> newText, std::pair<int, int> after) {
  TUndoStack& stack = *FEditor.GetUndoStack();
  stack.PushEntry(Marker(utText, umRecord));
  stack.PushEntry(Selection(before));
  stack.PushEntry(TextEntry(std::move(oldText)));
  stack.PushEntry(TextEntry(std::move(newText)));
  stack.PushEntry(Selection(after));
  stack.PushEntry(Marker(utText, umRecord));
}

void TUndoLogger::OpenTransaction(int type, const TLogData& data) {
  FTransactionOpen = true;
  FTransactionType = type;
  FStartSelection = FEditor.GetSelection();
  String selected = FEditor.GetSelectedText();
  FOldText = TextOrNone(&selected);
  FNewText.reset();
  FNewStream.reset();
  if (type == ltText) {
    FNewText = TextOrNone(data.Text);
    return;
  }
  FNewStream = std::make_unique<TMemoryStream>();
  if (!data.Stream) return;
  int64_t position = data.Stream->GetPosition();
  int64_t rest = data.Stream->GetSize() - position;
  if (rest > 0) FNewStream->CopyFrom(*data.Stream, rest);
  data.Stream->SetPosition(position);
}

void TUndoLogger::CloseTransaction(int type) {
  if (!FTransactionOpen || FTransactionType != type) Fail();
  TUndoStack& stack = *FEditor.GetUndoStack();
  stack.PushEntry(Marker(type, umRecord));
  stack.PushEntry(Selection(FStartSelection));
  stack.PushEntry(TextEntry(std::move(FOldText)));
  if (type == ltText) {
    stack.PushEntry(TextEntry(std::move(FNewText)));
  } else {
    auto e = std::make_unique<TUndoEntry>();
    e->Kind = ukStream;
    e->Stream = std::move(FNewStream);
    stack.PushEntry(std::move(e));
  }
  stack.PushEntry(Selection(FEditor.GetSelection()));
  stack.PushEntry(Marker(type, umRecord));
  FTransactionOpen = false;
}

void TUndoLogger::LogTransaction(int type, int a, const TLogData& data) {
  TUndoStack* stack = FEditor.GetUndoStack();
  if (!stack || (!FLogging && type != ltEnable)) return;
  switch (type) {
  case ltText:
  case ltStream:
    if (a == ltClose) {
      CloseTransaction(type);
    } else if (a == ltOpen) {
      if (FTransactionOpen) {
        // A stream opening inside an open transaction is simply not logged.
        if (type == ltText) Fail();
        return;
      }
      OpenTransaction(type, data);
    }
    break;
  case ltGroupBegin:
    PushGroupRecord(a, umGroupBegin);
    break;
  case ltGroupEnd:
    PushGroupRecord(a, umGroupEnd);
    break;
  case ltEnable:
    FLogging = true;
    break;
  case ltDisable:
    FLogging = false;
    break;
  case ltClear:
    stack->DiscardAll();
    stack->ClearSaveMark();
    break;
  case ltUnindent: {
    int n = data.Text ? static_cast<int>(data.Text->size()) : 0;
    PushReplacement({a, a + n}, TextOrNone(data.Text), nullptr, {a, a});
    break;
  }
  case ltIndent: {
    int n = data.Text ? static_cast<int>(data.Text->size()) : 0;
    PushReplacement({a, a}, nullptr, TextOrNone(data.Text), {a + n, a + n});
    break;
  }
  default:
    break;
  }
}

void TUndoLogger::BeginUndoGroup(int32_t id) {
  TUndoStack* stack = FEditor.GetUndoStack();
  if (!stack || stack->GroupOpen || FUndoRunning) return;
  stack->GroupOpen = true;
  stack->GroupId = id;
  LogTransaction(ltGroupBegin, id);
}

void TUndoLogger::EndUndoGroup(int32_t id) {
  TUndoStack* stack = FEditor.GetUndoStack();
  if (!stack || !stack->GroupOpen || stack->GroupId != id) return;
  LogTransaction(ltGroupEnd, id);
  stack->GroupOpen = false;
  stack->GroupId = 0;
}

void TUndoLogger::UndoStep(TUndoStack& stack, bool& more, int32_t& group) {
  TUndoEntry* m = Expect(stack.UndoPopEntry(), ukMarker);
  const int32_t t = m->Data;
  if (t >= ugOleDrop) {
    if (m->Value == umGroupEnd) {
      group = t;
      more = true;
      SelectionOf(stack.UndoPopEntry());
      ExpectMarker(stack.UndoPopEntry(), t);
    } else {
      more = false;
      auto s = SelectionOf(stack.UndoPopEntry());
      ExpectMarker(stack.UndoPopEntry(), t);
      FEditor.SetSelection(s.first, s.second, false);
    }
    return;
  }
  if (t != utText && t != utStream) throw ESyntaxMemo(SBadUndoState);
  auto after = OrderRange(SelectionOf(stack.UndoPopEntry()));
  Expect(stack.UndoPopEntry(), t == utText ? ukText : ukStream);
  const String* oldText = Expect(stack.UndoPopEntry(), ukText)->Text.get();
  auto before = SelectionOf(stack.UndoPopEntry());
  ExpectMarker(stack.UndoPopEntry(), t);
  FLogging = false;
  FUndoRunning = true;
  FEditor.SetSelection(OrderRange(before).first, after.second, false);
  if (group == ugBlockIndent || group == ugBlockUnindent) FEditor.ClearFirstChangedRow();
  FEditor.ReplaceSelection(oldText);
  FEditor.SetSelection(before.first, before.second, false);
  if (more) FEditor.Rescan();
}

void TUndoLogger::RedoStep(TUndoStack& stack, bool& more) {
  TUndoEntry* m = Expect(stack.RedoPopEntry(), ukMarker);
  const int32_t t = m->Data;
  if (t >= ugOleDrop) {
    more = m->Value != umGroupEnd;
    auto s = SelectionOf(stack.RedoPopEntry());
    ExpectMarker(stack.RedoPopEntry(), t);
    if (!more) FEditor.SetSelection(s.first, s.second, false);
    return;
  }
  if (t != utText && t != utStream) throw ESyntaxMemo(SBadUndoState);
  auto before = SelectionOf(stack.RedoPopEntry());
  Expect(stack.RedoPopEntry(), ukText);
  TUndoEntry* replacement = Expect(stack.RedoPopEntry(), t == utText ? ukText : ukStream);
  auto after = SelectionOf(stack.RedoPopEntry());
  ExpectMarker(stack.RedoPopEntry(), t);
  FLogging = false;
  FUndoRunning = true;
  FEditor.SetSelection(before.first, before.second, false);
  if (t == utText) {
    FEditor.ReplaceSelection(replacement->Text.get());
  } else {
    replacement->Stream->SetPosition(0);
    FEditor.InsertStream(*replacement->Stream);
  }
  FEditor.SetSelection(after.first, after.second, t == utStream);
  if (more) FEditor.Rescan();
}

void TUndoLogger::RunSteps(TUndoStack& stack, const std::function<void(bool& more)>& step, bool rescan) {
  bool more = false;
  FEditor.BeginUndoUpdate();
  try {
    do
      step(more);
    while (more);
  } catch (...) {
    // The text keeps what was done so far; the log cannot be trusted any more.
    stack.DiscardAll();
    stack.ClearSaveMark();
    FEditor.Beep();
  }
  FUndoRunning = false;
  FLogging = true;
  if (rescan) FEditor.Rescan();
  FEditor.EndUndoUpdate();
}

void TUndoLogger::Undo() {
  TUndoStack* stack = FEditor.GetUndoStack();
  if (!stack || stack->GetCount() == 0) return;
  int32_t group = 0;
  RunSteps(
      *stack, [&](bool& more) { UndoStep(*stack, more, group); }, true);
}

void TUndoLogger::Redo() {
  TUndoStack* stack = FEditor.GetUndoStack();
  if (!stack || stack->RedoEmpty()) return;
  RunSteps(
      *stack, [&](bool& more) { RedoStep(*stack, more); }, false);
}

bool TUndoLogger::GetModified() {
  TUndoStack* stack = FEditor.GetUndoStack();
  return stack && stack->IsModified();
}

void TUndoLogger::SetModified(bool value) {
  if (!value) LogTransaction(ltClear);
}

bool TUndoLogger::CanUndo() {
  TUndoStack* stack = FEditor.GetUndoStack();
  return stack && stack->GetCount() > 0;
}

bool TUndoLogger::CanRedo() {
  TUndoStack* stack = FEditor.GetUndoStack();
  return stack && !stack->RedoEmpty();
}
