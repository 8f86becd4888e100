#include "SyntaxMemo_model.h"

#include "SynParse.h"
#include "SyntaxEd_marks.h"
#include "SyntaxEd_rescan.h"

#include <algorithm>

namespace {

// What an editor without a window measures with: no font, so no fixed pitch
// and the fall-back sizes.
class TNoWindowMeasurer : public TTextMeasurer {
public:
  TEditorFontMetrics GetMetrics() override { return TEditorFontMetrics(); }
  int TextWidth(const char*, int count, uint8_t) override {
    return count * TEditorFontMetrics().AveCharWidth;
  }
};

} // namespace

TFixedPitchMeasurer::TFixedPitchMeasurer(int charWidth, int fontHeight, int externalLeading)
    : FCharWidth(charWidth), FFontHeight(fontHeight), FExternalLeading(externalLeading) {}

TEditorFontMetrics TFixedPitchMeasurer::GetMetrics() {
  TEditorFontMetrics m;
  m.FontHeight = FFontHeight;
  m.ExternalLeading = FExternalLeading;
  m.AveCharWidth = FCharWidth;
  m.FixedPitch = true;
  m.FixedCharWidth = FCharWidth;
  return m;
}

// ---- construction

TSyntaxMemoModel::TSyntaxMemoModel(TCustomSyntaxMemo* editor)
    : FEditor(editor), FDefaultHost(std::make_unique<TSyntaxMemoHost>()),
      FDefaultMeasurer(std::make_unique<TNoWindowMeasurer>()), FStore(std::make_shared<TTextStore>()),
      FUndo(*this), FOwnSettings(std::make_unique<TSM_Settings>()) {
  FHost = FDefaultHost.get();
  FMeasurer = FDefaultMeasurer.get();
  FActiveSettings = FOwnSettings.get();
  FAppliedOptions = FActiveSettings->Options;
  FAppliedWrapColumn = FActiveSettings->WordWrapColumn;
  BindStore();
  ComputeMetrics();
}

TSyntaxMemoModel::~TSyntaxMemoModel() {
  FDestroying = true;
  if (FStore->TopRowOwner == this) FStore->TopRowOwner = nullptr;
  if (FStore->ListsOwner == this) UnbindLists();
  ForgetParserAndSettings();
}

void TSyntaxMemoModel::ForgetParserAndSettings() {
  if (FEditor) FActiveSettings->DetachEditor(FEditor);
  for (int slot = 1; slot <= ParserSlots; ++slot) {
    TSyntaxMemoParser* parser = FParsers[slot - 1];
    FParsers[slot - 1] = nullptr;
    if (parser && FEditor) parser->RemoveEditor(FEditor);
  }
  FActiveSettings = FOwnSettings.get();
  FRescanner->Parser = nullptr;
}

void TSyntaxMemoModel::ParserDestroyed(TSyntaxMemoParser* parser) {
  // The parser is half gone: nothing of it is read, not even its settings.
  if (ActiveParserComponent() == parser) FActiveSettings = FOwnSettings.get();
  for (auto& slot : FParsers)
    if (slot == parser) slot = nullptr;
  if (FRescanner->Parser == parser) FRescanner->Parser = nullptr;
}

void TSyntaxMemoModel::SetHost(TSyntaxMemoHost* host) {
  FHost = host ? host : FDefaultHost.get();
  FRescanner->ProcessMessages = [this] { FHost->ProcessMessages(); };
}

void TSyntaxMemoModel::SetMeasurer(TTextMeasurer* measurer) {
  FMeasurer = measurer ? measurer : FDefaultMeasurer.get();
  ComputeMetrics();
}

void TSyntaxMemoModel::BindStore() {
  TSyntaxMemoParser* parser = FRescanner ? FRescanner->Parser : nullptr;
  FRescanner = std::make_unique<THighlightRescanner>(*FStore, FEditor);
  FRescanner->Parser = parser;
  FRescanner->ProcessMessages = [this] { FHost->ProcessMessages(); };
  auto bind = [this](TSM_Breakpoints& list) {
    list.Control = FEditor;
    list.InvalidateControl = [this] { FHost->Invalidate(); };
    TTextStore* store = FStore.get();
    list.RowLength = [store](int position) {
      int start = 0;
      TRowRecord* row = store->RowAt(position, start);
      return row ? static_cast<int>(row->Length) : 0;
    };
    list.OnStateChangeHandler = [this](TObject*, TSM_BreakpointData* data) {
      if (OnBreakpointStateChange) OnBreakpointStateChange(Sender, data);
    };
    list.OnFreeHandler = [this](TObject*, TSM_BreakpointData* data) {
      if (OnBreakpointFree) OnBreakpointFree(Sender, data);
    };
  };
  bind(FStore->GetBreakpoints());
  bind(FStore->GetCodeBreak());
  FStore->ListsOwner = this;
}

void TSyntaxMemoModel::UnbindLists() {
  // The store may outlive this editor in another one's hands.
  for (TSM_Breakpoints* list : {static_cast<TSM_Breakpoints*>(&FStore->GetBreakpoints()),
                                static_cast<TSM_Breakpoints*>(&FStore->GetCodeBreak())}) {
    list->Control = nullptr;
    list->InvalidateControl = nullptr;
    list->OnStateChangeHandler = nullptr;
    list->OnFreeHandler = nullptr;
  }
  FStore->ListsOwner = nullptr;
}

void TSyntaxMemoModel::ShareStore(TTextStore* store) {
  if (!store || store == FStore.get()) return;
  bool redraw = FRedraw;
  FRedraw = false;
  FStore = store->shared_from_this();
  BindStore();
  FTopLine = 0;
  FTopRowOffset = 0;
  EnsureTopRow();
  FAnchor = FCaret = 0;
  FRedraw = redraw;
  MetricsDirty = true;
  FHost->Invalidate();
}

void TSyntaxMemoModel::EnsureTopRow() {
  if (FStore->TopRowOwner != this) {
    FStore->SetTopRow(nullptr);
    FStore->TopRowOwner = this;
  }
  FStore->EnsureTopRow(FTopLine, FTopRowOffset);
}

TSM_Breakpoints& TSyntaxMemoModel::GetBreakpoints() const {
  return FStore->GetBreakpoints();
}

TSM_CodeBreak& TSyntaxMemoModel::GetCodeBreak() const {
  return FStore->GetCodeBreak();
}

// ---- undo

void TSyntaxMemoModel::SetUndoStack(std::unique_ptr<TUndoStack> stack) {
  FStore->SetUndoStack(std::move(stack));
  NotifyChange();
}

void TSyntaxMemoModel::Undo() {
  FUndo.Undo();
  FHost->Paint();
}

void TSyntaxMemoModel::Redo() {
  FUndo.Redo();
  FHost->Paint();
}

bool TSyntaxMemoModel::CanUndo() {
  return FUndo.CanUndo();
}

bool TSyntaxMemoModel::CanRedo() {
  return FUndo.CanRedo();
}

bool TSyntaxMemoModel::GetModified() {
  return FUndo.GetModified();
}

void TSyntaxMemoModel::SetModified(bool value) {
  FUndo.SetModified(value);
}

void TSyntaxMemoModel::ClearUndo() {
  FUndo.LogTransaction(ltClear);
}

void TSyntaxMemoModel::BeginUndoUpdate() {
  SetUpdateLock(true, false);
}

void TSyntaxMemoModel::EndUndoUpdate() {
  FUpdateLock = false;
  MakeVisible(FCaret);
  AddChangeFlags(cfText | cfSelection);
  NotifyChange();
}

void TSyntaxMemoModel::Beep() {
  FHost->Beep();
}

// ---- update lock, redraw and change notification

void TSyntaxMemoModel::SetUpdateLock(bool lock, bool repaint) {
  FUpdateLock = lock;
  if (lock || !repaint) return;
  for (TRowRecord* row = GetFirstRow(); row; row = row->Next)
    row->Flags |= rfChanged;
  MakeVisible(FCaret);
  AddChangeFlags(cfLayout);
  NotifyChange();
  FHost->Paint();
}

void TSyntaxMemoModel::SetRedraw(bool on) {
  FRedraw = on;
  FHost->RedrawChanged(on);
  if (!on) return;
  MetricsDirty = true;
  AddChangeFlags(cfLayout);
  NotifyChange();
  FHost->Paint();
  FHost->UpdateScrollBars();
}

void TSyntaxMemoModel::NotifyChange() {
  if (FUpdateLock || FLoading || FDestroying || !FRedraw) return;
  if (FRescanner->FirstChangedRow) Rescan();
  if (OnChange && FChangeFlags) OnChange(Sender);
  FChangeFlags = 0;
  FRescanner->FirstChangedRow = nullptr;
}

// ---- highlighting

void TSyntaxMemoModel::Rescan() {
  FRescanner->RescanHighlighting();
}

void TSyntaxMemoModel::RescanFrom(TRowRecord* row) {
  if (row) FRescanner->RescanFrom(row);
}

TRowRecord* TSyntaxMemoModel::GetFirstChangedRow() const {
  return FRescanner->FirstChangedRow;
}

void TSyntaxMemoModel::SetFirstChangedRow(TRowRecord* row) {
  FRescanner->FirstChangedRow = row;
}

void TSyntaxMemoModel::DiscardTokens() {
  for (TRowRecord* row = GetFirstRow(); row; row = row->Next) {
    row->Tokens.reset();
    row->Flags |= rfChanged;
  }
  FRescanner->FirstChangedRow = GetFirstRow();
}

namespace {

// The rows from line first to line last (all for first -1), for each;
// false when the walk ran past the last row.
template <class F> bool ForEachLineRow(TTextStore& store, int first, int last, F f) {
  TRowRecord* row = store.GetFirstRow();
  int index = 0;
  if (first >= 0)
    for (; row && index < first; ++index)
      row = row->Next;
  for (; row && (first < 0 || index <= last); ++index, row = row->Next)
    f(*row);
  return first >= 0 && index > last;
}

} // namespace

void TSyntaxMemoModel::PutTokenBytes(const uint8_t* bytes, int first, int last) {
  bool stopped = ForEachLineRow(*FStore, first, last, [&](TRowRecord& row) {
    if (!row.Tokens) row.Tokens = std::make_unique<uint8_t[]>(row.Length);
    std::copy(bytes, bytes + row.Length, row.Tokens.get());
    bytes += row.Length;
    row.Flags |= rfChanged;
  });
  if (stopped) return;
  FRescanner->FirstChangedRow = nullptr;
  FHost->Invalidate();
}

void TSyntaxMemoModel::GetTokenBytes(uint8_t* bytes, int first, int last) {
  ForEachLineRow(*FStore, first, last, [&](TRowRecord& row) {
    if (row.Tokens)
      std::copy(row.Tokens.get(), row.Tokens.get() + row.Length, bytes);
    else
      std::fill(bytes, bytes + row.Length, uint8_t(0));
    bytes += row.Length;
  });
}

// ---- parsers and settings

uint32_t TSyntaxMemoModel::GetOptions() const {
  return FActiveSettings->Options;
}

bool TSyntaxMemoModel::HasOption(TSyntaxMemoOption option) const {
  return (FActiveSettings->Options & SyntaxMemoOptionBit(option)) != 0;
}

void TSyntaxMemoModel::AttachParser(int slot, TSyntaxMemoParser* parser) {
  TSyntaxMemoParser*& held = FParsers[slot - 1];
  if (held && held != parser && FEditor) held->RemoveEditor(FEditor);
  held = parser;
  if (parser && FEditor) parser->AddEditor(FEditor);
  if (slot != FActiveParser) return;
  if (FEditor) FActiveSettings->DetachEditor(FEditor);
  FActiveSettings = parser ? &parser->GetSettings() : FOwnSettings.get();
  FRescanner->Parser = parser;
  if (FLoading || FDestroying) return;
  if (FEditor) FActiveSettings->AttachEditor(FEditor);
  if (FHost->Focused()) FHost->AttachLanguageHandlers();
  bool wrap = HasOption(smoWordWrap);
  bool appliedWrap = (FAppliedOptions & SyntaxMemoOptionBit(smoWordWrap)) != 0;
  if (wrap != appliedWrap || FActiveSettings->WordWrapColumn != FAppliedWrapColumn)
    FWrapSettingsChanged = true;
  FAppliedOptions = FActiveSettings->Options;
  FAppliedWrapColumn = FActiveSettings->WordWrapColumn;
  ApplySettingsMessage();
}

void TSyntaxMemoModel::SetActiveParser(int slot) {
  if (slot < 1 || slot > ParserSlots) throw ESyntaxMemo(SParserIndex);
  FActiveParser = slot;
  AttachParser(slot, FParsers[slot - 1]);
}

void TSyntaxMemoModel::ApplySettingsMessage() {
  FHost->BuildNavigationKeySet();
  FHost->FontFromSettings(*FActiveSettings);
  MetricsDirty = true;
  FActiveSettings->RefreshFonts();
  if (RescanOnSettings) {
    DiscardTokens();
    RescanFrom(FRescanner->FirstChangedRow);
  }
  if (FWrapSettingsChanged) ReflowRows();
  FWrapSettingsChanged = false;
  AddChangeFlags(cfSettings);
  NotifyChange();
  FHost->UpdateScrollBars();
  FHost->Paint();
}

void TSyntaxMemoModel::ApplySettings() {
  bool rescan = RescanOnSettings;
  RescanOnSettings = false;
  try {
    TSyntaxMemoParser* parser = ActiveParserComponent();
    if (!parser || !FHost->RefreshParserEditors(*parser)) ApplySettingsMessage();
  } catch (...) {
    RescanOnSettings = rescan;
    throw;
  }
  RescanOnSettings = rescan;
}

void TSyntaxMemoModel::SetOptions(uint32_t options, bool repaint) {
  bool wrapWas = HasOption(smoWordWrap);
  FActiveSettings->Options = options;
  if (HasOption(smoWordWrap) != wrapWas) {
    FLeftColumn = 0;
    FStore->SetLongestRow(0);
    ReflowRows();
  }
  FAppliedOptions = FActiveSettings->Options;
  FAppliedWrapColumn = FActiveSettings->WordWrapColumn;
  if (!repaint) return;
  MakeVisible(FCaret);
  AddChangeFlags(cfOptions);
  MetricsDirty = true;
  ApplySettings();
  NotifyChange();
}

void TSyntaxMemoModel::SetWordWrap(bool value) {
  uint32_t bit = SyntaxMemoOptionBit(smoWordWrap);
  SetOptions(value ? GetOptions() | bit : GetOptions() & ~bit);
}

String TSyntaxMemoModel::GetTabColumns() const {
  String text;
  for (int i = 0; i < TSM_Settings::TabColumnCount && FActiveSettings->TabColumns[i] >= 0; ++i) {
    if (!text.empty()) text += ' ';
    text += std::to_string(FActiveSettings->TabColumns[i] + 1);
  }
  return text;
}

void TSyntaxMemoModel::SetTabColumns(const String& text) {
  std::array<int32_t, TSM_Settings::TabColumnCount> columns;
  columns.fill(-1);
  size_t i = 0;
  int count = 0;
  int previous = -1;
  for (;;) {
    while (i < text.size() && (text[i] == ' ' || text[i] == ';'))
      ++i;
    if (i >= text.size()) break;
    if (count >= TSM_Settings::TabColumnCount)
      throw ESyntaxMemo(String(STooManyTabs) + std::to_string(TSM_Settings::TabColumnCount));
    if (text[i] < '0' || text[i] > '9') throw ESyntaxMemo(STabColumnExpected);
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 0x7FFFFFFF)
      value = value * 10 + (text[i++] - '0');
    if (value <= previous) throw ESyntaxMemo(STabOrder);
    if (value <= 1) throw ESyntaxMemo(STabColumnLow);
    previous = static_cast<int>(value);
    columns[static_cast<size_t>(count++)] = previous - 1;
  }
  FActiveSettings->TabColumns = columns;
  ApplySettings();
}

void TSyntaxMemoModel::SetTabDefault(int value) {
  // Negative widths would step backwards and never reach a column.
  if (value < 1) throw ESyntaxMemo(SBadTabDefault);
  if (value == FActiveSettings->TabDefault) return;
  FActiveSettings->TabDefault = value;
  ApplySettings();
}

void TSyntaxMemoModel::SetIndentStep(int value) {
  if (value < 1 || value > 19) return;
  FActiveSettings->IndentStep = value;
}

void TSyntaxMemoModel::SetWrapAtColumn(int value) {
  bool changed = FActiveSettings->WordWrapColumn != value;
  FActiveSettings->WordWrapColumn = static_cast<uint16_t>(value);
  if (!changed || !HasOption(smoWordWrap)) return;
  ReflowRows();
  MakeVisible(FCaret);
  AddChangeFlags(cfOptions);
  NotifyChange();
  FHost->Paint();
}

void TSyntaxMemoModel::SetWrapOverride(const String& value) {
  if (value == FActiveSettings->WrapOverride) return;
  FActiveSettings->WrapOverride = value;
  if (!HasOption(smoWordWrap)) return;
  ReflowRows();
  AddChangeFlags(cfOptions);
  NotifyChange();
  FHost->Paint();
}

void TSyntaxMemoModel::SetGutter(int value) {
  if (value == FActiveSettings->GutterWidth) return;
  if (FClientWidth == 0 || value < 0 || (value >= 1 && value <= 33) || value * 100 / FClientWidth > 20)
    return;
  FActiveSettings->GutterWidth = value;
  LayoutChanged = true;
  ApplySettings();
}

void TSyntaxMemoModel::SetMargin(int value) {
  if (value == FActiveSettings->MarginWidth || value > FMetrics.AveCharWidth) return;
  FActiveSettings->MarginWidth = value;
  ApplySettings();
}
