// The editor's find and replace dialogs and the questions its searches ask:
// the model's search runs behind the modeless dialogs, and its messages,
// confirmations and busy cursor become the class library's boxes.
#include "Dialogs.h"
#include "SyntaxEd_replace.h"
#include "SyntaxMemo.h"

// Lives with its editor, which owns it; made on the first search.
class TSyntaxMemoFinder : public TComponent, public TSearchPrompter {
public:
  explicit TSyntaxMemoFinder(TCustomSyntaxMemo* editor)
      : TComponent(editor), Editor(*editor), Search(editor->GetModel(), *this) {}

  void SearchFailed(const String& text) override { Editor.SearchFailMessage(text); }
  void RegexpError(const String& message) override { MessageDlg(message, mtError, TMsgDlgButtons{mbOK}); }
  TReplaceAnswer ConfirmReplace(const String& question) override;
  void BeginBusy() override {
    FSavedCursor = Screen->GetCursor();
    Screen->SetCursor(crHourGlass);
  }
  void EndBusy() override { Screen->SetCursor(FSavedCursor); }
  void Beep() override { MessageBeep(0xFFFFFFFF); }

  TFindDialog& FindDialog(int flags);
  TReplaceDialog& ReplaceDialog(int flags);
  // The text a dialog starts with: the given one, else a selection outside
  // regular-expression mode.
  String InitialText(const String& text);
  void OpenDialog(TFindDialog& dialog, TFindDialog* other, bool& shown, bool& otherShown);

  TCustomSyntaxMemo& Editor;
  TSyntaxMemoSearch Search;
  TFindDialog* Find = nullptr;
  TReplaceDialog* Replace = nullptr;
  bool FindShown = false;
  bool ReplaceShown = false;

protected:
  String ClassName() const override { return "TSyntaxMemoFinder"; }

private:
  TCursor FSavedCursor = crDefault;
};

namespace {

TSearchRequest RequestOf(TObject* dialog) {
  TSearchRequest request;
  auto* find = dynamic_cast<TFindDialog*>(dialog);
  if (!find) return request;
  request.FindText = find->FindText;
  request.Down = find->Options.Contains(frDown);
  request.MatchCase = find->Options.Contains(frMatchCase);
  request.WholeWord = find->Options.Contains(frWholeWord);
  request.FindNext = find->Options.Contains(frFindNext);
  request.Replace = find->Options.Contains(frReplace);
  request.ReplaceAll = find->Options.Contains(frReplaceAll);
  if (auto* replace = dynamic_cast<TReplaceDialog*>(dialog)) request.ReplaceText = replace->ReplaceText;
  return request;
}

} // namespace

TReplaceAnswer TSyntaxMemoFinder::ConfirmReplace(const String& question) {
  RECT at{};
  if (Replace && Replace->GetHandle()) GetWindowRect(Replace->GetHandle(), &at);
  switch (MessageDlgPos(question, mtConfirmation, TMsgDlgButtons{mbYes, mbNo, mbCancel, mbAll}, 0,
                        at.left - 10, at.top - 10)) {
  case mrYes:
    return raYes;
  case mrNo:
    return raNo;
  case mrAll:
    return raAll;
  default:
    return raCancel;
  }
}

TFindDialog& TSyntaxMemoFinder::FindDialog(int flags) {
  if (Find) return *Find;
  Find = new TFindDialog(&Editor);
  if (flags & sfMatchCase) Find->Options.Include(frMatchCase);
  TCustomSyntaxMemo* editor = &Editor;
  Find->OnFind = [editor](TObject* sender) { editor->FindNext(sender); };
  return *Find;
}

TReplaceDialog& TSyntaxMemoFinder::ReplaceDialog(int flags) {
  if (Replace) return *Replace;
  Replace = new TReplaceDialog(&Editor);
  if (flags & sfMatchCase) Replace->Options.Include(frMatchCase);
  TCustomSyntaxMemo* editor = &Editor;
  Replace->OnFind = [editor](TObject* sender) { editor->FindNext(sender); };
  Replace->OnReplace = [editor](TObject* sender) { editor->ReplaceFound(sender); };
  return *Replace;
}

String TSyntaxMemoFinder::InitialText(const String& text) {
  if (!text.empty()) return text;
  if (Search.GetRegularExpression() || Editor.GetSelLength() == 0) return String();
  TMemoryStream selection;
  Editor.Perform(SM_WRITESEL, 0, reinterpret_cast<LPARAM>(&selection));
  return String(static_cast<const char*>(selection.GetMemory()), static_cast<size_t>(selection.GetSize()));
}

void TSyntaxMemoFinder::OpenDialog(TFindDialog& dialog, TFindDialog* other, bool& shown, bool& otherShown) {
  Search.ForgetMatch();
  Search.SetLastSearch(dialog.FindText);
  if (otherShown && other) {
    other->CloseDialog();
    otherShown = false;
  }
  shown = true;
  Editor.HideSelection = false;
  dialog.Execute();
}

TSyntaxMemoFinder& TCustomSyntaxMemo::Finder() {
  if (!FFinder) FFinder = new TSyntaxMemoFinder(this);
  return *FFinder;
}

int TCustomSyntaxMemo::Find(int flags, const String& text) {
  TSyntaxMemoFinder& finder = Finder();
  finder.Search.SetFlags(flags);
  if (GetTextLength() == 0) return -1;
  if (flags & sfSearchNow) return finder.Search.FindDirect(flags, text);
  TFindDialog& dialog = finder.FindDialog(flags);
  dialog.FindText = finder.InitialText(text);
  finder.OpenDialog(dialog, finder.Replace, finder.FindShown, finder.ReplaceShown);
  return -1;
}

void TCustomSyntaxMemo::ShowReplaceDialog(int flags) {
  TSyntaxMemoFinder& finder = Finder();
  finder.Search.SetFlags(flags);
  TReplaceDialog& dialog = finder.ReplaceDialog(flags);
  dialog.FindText = finder.InitialText(String());
  finder.OpenDialog(dialog, finder.Find, finder.ReplaceShown, finder.FindShown);
}

void TCustomSyntaxMemo::FindNext(TObject* dialog) {
  Finder().Search.FindNext(RequestOf(dialog));
}

void TCustomSyntaxMemo::ReplaceFound(TObject* dialog) {
  Finder().Search.ReplaceFound(RequestOf(dialog));
}

String TCustomSyntaxMemo::ExpandReplacement(const String& replacement) {
  return Finder().Search.ExpandReplacement(replacement);
}

void TCustomSyntaxMemo::SearchFailMessage(const String& text) {
  if (OnSearchFail) {
    OnSearchFail(this, text);
    return;
  }
  ShowMessage(SearchFailText(text));
}

void TCustomSyntaxMemo::RegexpErrorMessage(const String& pattern) {
  Finder().Search.RegexpErrorMessage(pattern);
}
