// Highlighting rules: the parser component that carries one language, its
// run-time tokenizer over the compiled tables, the rule-script compiler that
// builds them, their stored form and the compressor that keeps it small.
#pragma once

#include "Classes.h"
#include "Components.h"
#include "SyntaxEd_keywords.h"
#include "SyntaxEd_undo.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TEdStream;
class TSM_Settings;
class TCustomSyntaxMemo;

// --- Compressor --------------------------------------------------------------

class ECompressorException : public Exception {
public:
  using Exception::Exception;
};

class ElzhException : public Exception {
public:
  using Exception::Exception;
};

class ECompressorKHCompressor : public Exception {
public:
  using Exception::Exception;
};

// Codecs of TCompressor::Method.
enum : uint8_t { cmLZH = 0, cmKH = 1, cmAdvise = 2 };

// Packs a stream or a file with the KH block codec or LZH and unpacks it
// again. The streams stay the caller's.
class TCompressor {
public:
  String InputFile;
  String OutputFile;
  uint8_t Method = cmKH;
  bool UseStreams = false;
  TStream* InputStream = nullptr;
  TStream* OutputStream = nullptr;
  int32_t AdvisePercent = 40;

  // Both return the number of bytes written (the container header included
  // for Compress).
  int64_t Compress();
  int64_t Decompress();
  // True when KH is expected to do well enough on the input.
  bool Advise();
};

// The editor's tab-stop text: 1-based columns above 1, rising, separated by
// blanks or ";", stored 0-based with -1 after the last. A bad text raises
// ESyntaxMemo and leaves the columns as they were.
void ParseTabColumns(const String& text, std::array<int32_t, 32>& columns);

// --- Compiled language -------------------------------------------------------

// One unit of a token: a character group or a handler.
struct TScanPart {
  bool ZeroOrMore = false; // the end may match before the first body unit
  uint16_t GroupId = 0;
  bool IsHandler = false;
  bool IsCustom = false; // the handler is OnCustomParse
  uint32_t HandlerId = 0;
};

// What ends a token: a handler, or up to four groups matching one character
// each in sequence. Neither: it always matches and consumes nothing.
struct TEndPart {
  bool Consume = false;
  bool IsHandler = false;
  uint8_t GroupCount = 0;
  std::array<uint16_t, 4> Groups = {};
  bool IsCustom = false;
  uint32_t HandlerId = 0;
  bool IsEmpty() const { return !IsHandler && GroupCount == 0; }
};

// A token recognised by its first character.
struct TTokenRecord {
  TScanPart Start;
  TStateSet States;
  TScanPart Body;
  TEndPart End;
  uint8_t Token = 0;
};

// The continuation of a word.
struct THandlerRecord {
  TScanPart Body;
  TEndPart End;
};

enum : uint8_t { sfPushBefore = 1, sfPopBefore = 2, sfPushAfter = 4, sfPopAfter = 8 };

// What a token value does to the states.
struct TEffectRecord {
  TStateSet ValidStates;
  TStateSet AddStates;
  TStateSet RemoveStates;
  bool IsContainer = false;
  bool NoStateChange = true;
  uint8_t StackFlags = 0;
};

struct TRangeEntry {
  uint16_t From = 0;
  uint16_t To = 0;
  TTokenRecord Record;
};

// Token records by first character; ranges of start groups are kept beside
// them but not consulted.
struct TCharacterMap {
  std::array<std::unique_ptr<TTokenRecord>, 256> Entries;
  std::vector<TRangeEntry> RangeEntries;
};

// The tokenizer's stack of saved state sets.
class TRTStack : public TStack {
public:
  TRTStack();
  void PushStates(const TStateSet& states);
  // Raises "Stack underflow" when empty.
  TStateSet PopStates();
};

// The answers of a test on the current states, one per byte value (a token
// value or a first character), each worked out at most once while the states
// stay the same: the tokenizer asks them for every token. An answer counts
// while its stamp equals the parser's stamp of the current states.
class TStatesMemo {
public:
  template <typename Test> bool Get(uint8_t key, uint32_t stamp, Test test) {
    if (FStamps[key] != stamp) {
      FStamps[key] = stamp;
      FAnswers[key] = test();
    }
    return FAnswers[key];
  }
  void Clear() { FStamps.fill(0); }

private:
  std::array<uint32_t, 256> FStamps{};
  TCharSet FAnswers;
};

class ESyntaxMemoParserError : public Exception {
public:
  using Exception::Exception;
};

class TSyntaxMemoParser;

// A built-in handler: recognises a token or a unit of one at the stream,
// advancing over what it accepts and adding it to length.
using TBuiltInHandler = bool (*)(TSyntaxMemoParser* Sender, TEdStream& IStream, int& Length);

using TCustomParseEvent =
    std::function<bool(TObject* Sender, int ParseID, TEdStream& IStream, int& kLength, int& kValue)>;
using TVersionErrorEvent =
    std::function<void(TObject* Sender, uint16_t VersionEncountered, uint16_t VersionExpected)>;

// Ids of the built-in handlers.
enum : uint32_t {
  hiPascalChar = 0,
  hiWebChar = 1,
  hiOriginalChar = 2,
  hiIdentifier = 10,
  hiNumberOrFP = 11,
  hiPascalString = 12,
  hiCString = 13,
  hiCChar = 14,
  hiCNumberOrFPSigned = 15,
  hiNumber = 16,
  hiMailUrl = 17,
  hiHtmlString = 18,
  hiJsLineComment = 19,
  hiCStringSQ = 20,
};

// The characters a token handler (ids 10 to 20) may begin with; empty for
// other ids.
TCharSet HandlerStartChars(uint32_t id);

// How a parser makes one of its editors take its language again; set by the
// editor window's module, none without windows.
using TEditorRefresh = void (*)(TCustomSyntaxMemo* editor);
void SetEditorRefresh(TEditorRefresh refresh);

class TCustomSyntaxMemoParser : public TComponent {
public:
  using TComponent::TComponent;

  // On entry the stream stands on the token's first character; on return
  // just after the token, with its length in characters.
  virtual uint8_t NextToken(TCustomSyntaxMemo* Editor, TEdStream& Stream, int& Length) = 0;
  // Prepares a scan that starts just after a character of this token value.
  virtual void SetStateFromToken(uint8_t Token) = 0;
  // Lets the user edit the language's settings; true when accepted.
  virtual bool EditProperties() = 0;

  TNotifyEvent OnModifyProperties;

protected:
  String ClassName() const override { return "TCustomSyntaxMemoParser"; }
};

class TSyntaxMemoParser : public TCustomSyntaxMemoParser {
public:
  static constexpr uint16_t ParserVersion = 51;

  explicit TSyntaxMemoParser(TComponent* AOwner);
  ~TSyntaxMemoParser() override;

  uint8_t NextToken(TCustomSyntaxMemo* Editor, TEdStream& Stream, int& Length) override;
  void SetStateFromToken(uint8_t Token) override;
  // The options dialog with all pages (none without windows); on OK the
  // editors take the settings and, with UseRegistry, the registry stores them.
  bool EditProperties() override;

  // Back to an empty language.
  void ResetLanguage();
  // Replaces the language by the script's; includes in angle brackets are
  // looked for in scriptDirectory.
  void CompileScript(TStream& Script, const String& scriptDirectory = String());
  // The stored form of the language ("Parser" data).
  void WriteParserData(TStream& Stream);
  void ReadParserData(TStream& Stream);
  void SaveLanguage(TStream& Stream) { WriteParserData(Stream); }
  void LoadLanguage(TStream& Stream) { ReadParserData(Stream); }

  TCharSet GetAnchorTokens() const { return FAnchorTokens; }
  bool InBoundState() const { return FKeywords && (FBoundStates & FKeywords->ActiveStates).any(); }
  bool IsContainerPending() const { return FContainerPending; }
  bool GetContainerActive() const { return FContainerActive; }
  bool GetUsesCustomHandlers() const { return FUsesCustomHandlers; }
  const TStateSet& GetCurrentStates() const { return FKeywords->ActiveStates; }
  TSM_Settings& GetSettings() const { return *FSettings; }
  TSyntaxKeywords& GetKeywords() const { return *FKeywords; }
  const std::vector<TCustomSyntaxMemo*>& GetEditors() const { return FEditors; }
  // An editor that uses the parser joins the list and attaches to the
  // settings; leaving detaches it, so no freed editor stays listed.
  void AddEditor(TCustomSyntaxMemo* Editor);
  void RemoveEditor(TCustomSyntaxMemo* Editor);

  // The component in a form: the rule script file that Loaded compiles
  // again with AutoScriptUpdate, and the editors refreshed with the current
  // language (through the window side's refresh, see SetEditorRefresh).
  String Script;
  bool AutoScriptUpdate = false;
  void CompileScriptFile();
  void RefreshEditors();
  void Loaded() override;

  // The language's settings and key assignments under the current user's
  // RegistryKey; refused unless UseRegistry.
  void SaveToRegistry();
  // Applies what SaveToRegistry stored, each value only when it reads whole;
  // false when the settings' value was missing or did not.
  bool LoadFromRegistry();
  String RegistryKey;
  bool UseRegistry = false;

  TCustomParseEvent OnCustomParse;
  TVersionErrorEvent OnParserVersionError;

protected:
  String ClassName() const override { return "TSyntaxMemoParser"; }

private:
  friend class TRuleCompiler;
  friend class TParserData;
  // Lends the parser a copy of its settings while the options dialog runs.
  friend class TOptionsDialog;

  bool Group(uint16_t id, char c) const;
  bool CallHandler(const TScanPart& part, TEdStream& s, int& length, int& value);
  bool CallHandler(bool custom, uint32_t id, TEdStream& s, int& length, int& value);
  bool TestUnit(const TScanPart& body, TEdStream& s, int& length, int& value);
  bool MatchEndPart(const TEndPart& end, TEdStream& s, int& length, int value);
  bool RunContinuation(const THandlerRecord& h, TEdStream& s, int& length, int& token);
  bool RunTokenRecord(const TTokenRecord& r, TEdStream& s, int& length, int& token);
  void ApplyEffects(const TEffectRecord& f);
  void SelectStateMap();
  void StatesChanged();
  void ForgetStateAnswers();
  TKeywords* TableKeywords() const;
  TStateSet& Current() { return FKeywords->ActiveStates; }

  // The compiled language.
  std::unique_ptr<TSyntaxKeywords> FKeywords;
  bool FCaseSensitive = false;
  TCharacterMap FDefaultMap;
  std::array<std::unique_ptr<TCharacterMap>, 256> FStateMaps;
  TStateSet FMapStates;
  bool FNoStateMaps = true;
  const TCharacterMap* FCurrentMap = nullptr;
  std::array<std::unique_ptr<THandlerRecord>, 256> FHandlerRecords;
  std::array<std::unique_ptr<TEffectRecord>, 256> FEffectRecords;
  std::array<TStateSet, 256> FContextStates;
  TCharSet FAnchorTokens;
  TStateSet FBoundStates;
  TStateSet FStartStates;
  bool FUsesCustomHandlers = false;

  // Run-time state.
  std::unique_ptr<TRTStack> FStack;
  bool FContainerActive = false;
  bool FContainerPending = false;
  int FContainerEnd = 0;
  uint8_t FContainerToken = 0;
  TStateSet FSavedStates;
  std::vector<TCustomSyntaxMemo*> FEditors;
  // Whether a token value's effect record and a first character's record in
  // the map in force hold in the current states.
  uint32_t FStatesStamp = 1;
  TStatesMemo FEffectHolds;
  TStatesMemo FMapEntryHolds;

  std::unique_ptr<TSM_Settings> FSettings;
};
