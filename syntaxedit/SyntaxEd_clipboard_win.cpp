// The editor's side of the clipboard: copy puts the selection as text and
// RTF, cut is copy and delete as one undo step, paste takes text or HTML.
#include "Clipbrd.h"
#include "SyntaxMemo.h"

namespace {

String SelectionIn(TSyntaxMemoModel& model, int flags) {
  TMemoryStream stream;
  model.WriteSelection(stream, flags);
  return String(stream.GetMemory(), static_cast<size_t>(stream.GetSize()));
}

UINT HtmlClipboardFormat() {
  static const UINT format = RegisterClipboardFormatName("HTML Format");
  return format;
}

// An undo group open for its lifetime, closed on every way out.
class TUndoGroupScope {
public:
  TUndoGroupScope(TSyntaxMemoModel& model, int32_t group) : FModel(model), FGroup(group) {
    FModel.BeginUndoGroup(group);
  }
  ~TUndoGroupScope() { FModel.EndUndoGroup(FGroup); }
  TUndoGroupScope(const TUndoGroupScope&) = delete;
  TUndoGroupScope& operator=(const TUndoGroupScope&) = delete;

private:
  TSyntaxMemoModel& FModel;
  int32_t FGroup;
};

// The redraw switch off for its lifetime when it was on.
class TRedrawOff {
public:
  explicit TRedrawOff(TCustomSyntaxMemo& editor) : FEditor(editor), FWasOn(editor.GetModel().GetRedraw()) {
    if (FWasOn) FEditor.Perform(WM_SETREDRAW, 0, 0);
  }
  ~TRedrawOff() {
    if (FWasOn) FEditor.Perform(WM_SETREDRAW, 1, 0);
  }
  TRedrawOff(const TRedrawOff&) = delete;
  TRedrawOff& operator=(const TRedrawOff&) = delete;

private:
  TCustomSyntaxMemo& FEditor;
  bool FWasOn;
};

} // namespace

void TCustomSyntaxMemo::CopyToClipboard() {
  TClipboard& clipboard = *Clipboard();
  clipboard.Open();
  try {
    clipboard.Clear();
    if (ClipCopyFormats & (1 << smTEXT)) {
      // Text on the clipboard has CR LF line ends whatever the editor keeps.
      const String text = SelectionIn(*FModel, wfCRLF);
      clipboard.SetBuffer(CF_TEXT, text.c_str(), text.size() + 1);
    }
    if (ClipCopyFormats & (1 << smRTF)) {
      const String rtf = SelectionIn(*FModel, wfRTF);
      clipboard.SetBuffer(RegisterClipboardFormatName("Rich Text Format"), rtf.data(), rtf.size());
    }
  } catch (...) {
    clipboard.Close();
    throw;
  }
  clipboard.Close();
}

void TCustomSyntaxMemo::CutToClipboard() {
  if (FModel->ReadOnly) return;
  TUndoGroupScope group(*FModel, ugCut);
  CopyToClipboard();
  FModel->ReplaceSelText(nullptr, true);
}

void TCustomSyntaxMemo::PasteFromClipboard() {
  if (FModel->ReadOnly) return;
  TClipboard& clipboard = *Clipboard();
  TSourceTypes types;
  if (clipboard.HasFormat(HtmlClipboardFormat())) types.set(stHTML);
  if (clipboard.HasFormat(CF_TEXT)) types.set(stText);
  if (types.none()) return;
  types.set(stPaste);
  if (OnDataDrop) OnDataDrop(this, types);
  UINT format = 0;
  if (types.test(stText))
    format = CF_TEXT;
  else if (types.test(stHTML))
    format = HtmlClipboardFormat();
  else
    return;
  FModel->AddChangeFlags(cfText | cfSelection);
  String text = clipboard.GetBuffer(format);
  if (text.empty()) return;
  text.resize(std::min(text.find('\0'), text.size()));
  ExtractHtmlPayload(text, types);
  TRedrawOff redrawOff(*this);
  TUndoGroupScope group(*FModel, ugPaste);
  TMemoryStream stream;
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  stream.SetPosition(0);
  Perform(SM_INSERTSTREAM, 0, reinterpret_cast<LPARAM>(&stream));
  FModel->MakeVisible(FModel->GetCaret());
}
