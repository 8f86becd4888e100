// Search and replace over the editor model: direct searches for callers,
// the find and replace dialogs' steps, confirmed replacement one match at a
// time, and Replace All as one undo step. The window side supplies the
// dialogs' values and answers the questions this asks (messages, the
// confirmation box, the busy cursor); everything here also runs natively.
#pragma once

#include "SyntaxEd_regex.h"
#include "SyntaxEd_search.h"

#include <memory>

class TSyntaxMemoModel;

// The search flags of the find and replace messages.
enum : int {
  sfSearchNow = 0x08,
  sfMatchCase = 0x10,
  sfRegularExpression = 0x20,
  sfWholeWord = 0x40,
  sfBackward = 0x80,
};

// The undo group that makes a Replace All one step.
constexpr int32_t ugReplaceAll = 23;

inline constexpr const char* SReplaceConfirm = "Replace this occurence of '%s' with '%s' ?"; // 4401
inline constexpr const char* SNotFound = "not found.";                                       // 4403
inline constexpr const char* SSearchString = "Search string";                                // 4404

enum TReplaceAnswer { raYes, raNo, raCancel, raAll };

// What the search asks of its window.
class TSearchPrompter {
public:
  virtual ~TSearchPrompter() = default;
  virtual void SearchFailed(const String& searchText) = 0;
  // message is the whole text of the error box.
  virtual void RegexpError(const String& message) = 0;
  virtual TReplaceAnswer ConfirmReplace(const String& question) = 0;
  // Around a Replace All.
  virtual void BeginBusy() {}
  virtual void EndBusy() {}
  virtual void Beep() {}
};

// The values a find or replace dialog holds when it calls back.
struct TSearchRequest {
  String FindText;
  String ReplaceText;
  bool Down = true;
  bool MatchCase = false;
  bool WholeWord = false;
  bool FindNext = false;
  bool Replace = false;
  bool ReplaceAll = false;
};

// "Search string "x" not found."
String SearchFailText(const String& searchText);
// The engine's message, the pattern and a caret under the error position,
// on three lines.
String RegexpErrorText(const String& message, const String& pattern, int errorPosition);

class TSyntaxMemoSearch : private TWordChars {
public:
  TSyntaxMemoSearch(TSyntaxMemoModel& model, TSearchPrompter& prompter);
  ~TSyntaxMemoSearch() override;

  // The search without a dialog: -1 when nothing is found (or searched), a
  // literal match's start otherwise (not selected), or any other value for
  // a regular-expression match (selected). Without text: the text length
  // less one.
  int FindDirect(int flags, const String& text);
  void FindNext(const TSearchRequest& request);
  void ReplaceFound(const TSearchRequest& request);
  String ExpandReplacement(const String& replacement);

  int GetFlags() const { return FFlags; }
  void SetFlags(int flags);
  bool GetRegularExpression() const { return FRegularExpression; }
  const String& GetLastSearch() const { return FLastSearch; }
  void SetLastSearch(const String& text) { FLastSearch = text; }
  // A dialog opening forgets the previous match.
  void ForgetMatch() { FLastMatch = -1; }
  TREParser& GetParser() { return FParser; }
  // The engine's last error with the pattern, as an error box.
  void RegexpErrorMessage(const String& pattern);

private:
  bool CharStartsWord(char c) const override;
  bool CharIsInWord(char c) const override;
  TEdStream& AttachStream(int position);
  void FlagsFromRequest(const TSearchRequest& request);
  int FindLiteralFrom(int start, const String& text, bool backward);
  bool CompileOrReport(const String& pattern);
  void SelectRange(int start, int end, bool repaint);
  // One pass of a replace sequence; false when it ended.
  bool ReplaceStep(const TSearchRequest& request);
  bool ReplaceStepRegexp(const TSearchRequest& request);
  bool ReplaceStepLiteral(const TSearchRequest& request);
  // Asks before a replacement; false when this match stays.
  bool ConfirmMatch(const String& findText, const String& replacement);
  void ReplaceMatch(int start, int end, const String& replacement);
  struct TMatch;
  void ReplaceAllMatches(const std::vector<TMatch>& matches, std::pair<int, int> selection);
  void ReplaceAllRegexp(const TSearchRequest& request);
  void ReplaceAllLiteral(int start, const TSearchRequest& request);

  TSyntaxMemoModel& FModel;
  TSearchPrompter& FPrompter;
  std::unique_ptr<TEdStream> FStream;
  TREParser FParser;
  TSkipTable FSkip;
  int FFlags = 0;
  bool FRegularExpression = false;
  String FLastSearch;
  int FLastMatch = -1;
  // Within a replace sequence.
  bool FAsk = true;
  bool FCancelled = false;
};
