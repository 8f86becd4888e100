// The parser as a component of a form: compiling its script file when the
// form is loaded and refreshing the editors that use it.
#include "SynParse.h"

#include <filesystem>

namespace {
TEditorRefresh EditorRefresh = nullptr;
} // namespace

void SetEditorRefresh(TEditorRefresh refresh) {
  EditorRefresh = refresh;
}

void TSyntaxMemoParser::CompileScriptFile() {
  std::error_code error;
  if (Script.empty() || !std::filesystem::is_regular_file(Script, error)) return;
  TMemoryStream stream;
  stream.LoadFromFile(Script);
  stream.SetPosition(0);
  const size_t slash = Script.find_last_of("\\/");
  CompileScript(stream, slash == String::npos ? String() : Script.substr(0, slash + 1));
  RefreshEditors();
}

void TSyntaxMemoParser::RefreshEditors() {
  if (FEditors.empty() || IsLoading() || !EditorRefresh) return;
  // A copy: an editor may leave the list while it is refreshed.
  const std::vector<TCustomSyntaxMemo*> editors = FEditors;
  for (TCustomSyntaxMemo* editor : editors) {
    try {
      EditorRefresh(editor);
    } catch (const Exception&) {
      // One editor's failure leaves the others to be refreshed.
    }
  }
}

void TSyntaxMemoParser::Loaded() {
  TCustomSyntaxMemoParser::Loaded();
  if (AutoScriptUpdate) CompileScriptFile();
  RefreshEditors();
}
