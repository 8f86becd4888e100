// One highlighting language's settings: display options, margins, gutter,
// tab stops, colours, the editor font's face and size, the style of every
// token value, the editable styles, keyword tables, and the language's
// auto-replace list, code templates and key bindings. The editor control
// adds the font handles and glyph bitmaps made from them.
#pragma once

#include "SyntaxEd_keys.h"
#include "SyntaxEd_keywords.h"
#include "SyntaxEd_templates.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Display and behaviour switches; Options holds one bit for each (see
// SyntaxMemoOptionBit).
enum TSyntaxMemoOption {
  smoSyntaxHighlight,
  smoPrintWrap,
  smoPrintLineNos,
  smoPrintFilename,
  smoPrintDate,
  smoPrintPageNos,
  smoWordWrap,
  smoAutoIndent,
  smoTabToColumn,
  smoWrapOverride,
  smoWordSelect,
  smoShowRMargin,
  smoShowGutter,
  smoShowWrapColumn,
  smoTitleAsFilename,
  smoProcessDroppedFiles,
  smoBlockOverwriteCursor,
  smoShowWrapGlyph,
  smoColumnTrack,
  smoUseTAB,
  smoSmartFill,
  smoOLEDragSource,
  smoCaretAfterEOL,
  smoLineNumbers,
  smoShowAllChars,
};

uint32_t SyntaxMemoOptionBit(TSyntaxMemoOption option);

inline constexpr uint32_t DefaultSyntaxMemoOptions = 0x03FFDBF0;

// Colours: 0x00BBGGRR, or a system colour 0xFF0000nn resolved when drawn.
using TColor = int32_t;

// The system's colour of a display element (GetSysColor's indices); a
// fixed Windows palette off Windows. nullptr restores the system's.
using TSysColorFunc = TColor (*)(int index);
void SetSysColorFunc(TSysColorFunc func);
TColor SysColor(int index);
inline constexpr int COLOR_HIGHLIGHT_INDEX = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT_INDEX = 14;

// Font style bits in the class library's order.
enum : uint8_t { fsBoldBit = 0x01, fsItalicBit = 0x02, fsUnderlineBit = 0x04, fsStrikeOutBit = 0x08 };

struct TSM_StyleRecord {
  uint8_t FontStyle = 0;
  TColor Foreground = 0;
  TColor Background = 0x00FFFFFF;
  bool SysForeground = false; // draw with the system window-text colour
  bool SysBackground = false; // draw on the system window colour
  bool Hotspot = false;       // text of this style is a hyperlink
  int32_t Defined = 0;        // only defined styles are stored and drawn
};

struct TSM_EditableStyle {
  String Name; // at most 25 characters; empty marks an unused entry
  uint8_t StyleNumber = 0;
};

// The gutter font as stored with the language (face, size, colour, style).
struct TSM_FontSpec {
  String Name = "MS Sans Serif";
  int32_t Size = 8;
  TColor Color = static_cast<TColor>(0xFF000008); // the system window-text colour
  uint8_t Style = 0;
};

struct TKeywordWord {
  String Word;
  int32_t Value; // token value
};

// One keyword table of a language: its words, valid in its states, followed
// by a character of its group.
struct TKeywordDefinitions {
  TStateSet States;
  String GroupSpecifier;
  uint8_t CaseFlag = 0;
  std::vector<TKeywordWord> Words;
};

class TSM_Settings;
class TCustomSyntaxMemo;

// The style fonts and glyphs a window makes from a language's settings; they
// exist while editors are attached.
class TSM_SettingsFonts {
public:
  virtual ~TSM_SettingsFonts() = default;
  virtual void CreateStyleFonts(TSM_Settings& settings) = 0;
  virtual void FreeStyleFonts(TSM_Settings& settings) = 0;
};
// Makes the fonts object of every new settings object; none off Windows.
using TSettingsFontsFactory = std::unique_ptr<TSM_SettingsFonts> (*)();
void SetSettingsFontsFactory(TSettingsFontsFactory factory);

class TSM_Settings : public TSM_Base {
public:
  static constexpr int MaxKeywordTables = 21;
  static constexpr int EditableStyleCount = 50;
  static constexpr int TabColumnCount = 32;

  TSM_Settings();
  ~TSM_Settings() override;

  void ResetToDefaults();
  void SaveToStream(TStream& stream) const override;
  // Reads over defaults, so what an older stream lacks keeps its default.
  void LoadFromStream(TStream& stream) override;
  String ClassName() const override { return "TSM_Settings"; }

  TSM_StyleRecord GetStyle(uint8_t number) const { return FStyles[number]; }
  void SetStyle(uint8_t number, const TSM_StyleRecord& style);
  uint8_t TokenStyle(uint8_t token) const { return FTokenMap[token]; }
  void SetTokenStyle(uint8_t token, uint8_t style) { FTokenMap[token] = style; }
  // index 1 to 50.
  TSM_EditableStyle GetEditableStyle(int index) const;
  void SetEditableStyle(int index, const TSM_EditableStyle& entry);
  // index 0 to 31; -1 ends the list.
  int32_t TabColumn(int index) const;
  bool HasHotspots() const;

  // Raises EKeywords "Ambigious key table state definition" for states that
  // overlap another table's without being equal (equal ones replace it), and
  // "Too many keyword tables declared" past 21 tables.
  void AddKeywordTable(TStateSet states, const String& groupSpecifier, uint8_t caseFlag,
                       const std::vector<TKeywordWord>& words);
  void RebuildKeywords();
  // Built from the keyword tables; nullptr while there is none.
  TKeywords* GetKeywords() const { return FKeywords.get(); }
  const TKeywordDefinitions* GetKeywordTable(int slot) const;

  // Editors using these settings: the first attach makes the style fonts,
  // the last detach deletes them; an editor is listed once.
  void AttachEditor(TCustomSyntaxMemo* editor);
  void DetachEditor(TCustomSyntaxMemo* editor);
  void RefreshFonts();
  int GetAttachCount() const { return FAttachCount; }
  const std::vector<TCustomSyntaxMemo*>& GetAttachedEditors() const { return FAttachedEditors; }
  TSM_SettingsFonts* GetFonts() const { return FFonts.get(); }

  TAutoReplace& GetAutoReplace() { return *FAutoReplace; }
  TCodeTemplates& GetCodeTemplates() { return *FCodeTemplates; }
  TKeyboardActionContoller& GetKeyController() { return *FKeyController; }

  // The compiled-rule format version in effect while reading or writing; the
  // gutter font is stored only above version 50.
  int32_t GetStreamVersion() const { return FStreamVersion; }
  void SetStreamVersion(int32_t value) { FStreamVersion = value; }

  String ExampleText;
  String LanguageName;
  String WrapOverride;
  uint8_t FontCharSet = 1;
  uint32_t Options = DefaultSyntaxMemoOptions;
  int32_t TabDefault = 4;
  int32_t MarginWidth = 2;
  int32_t RightMargin = 80;
  int32_t WordWrapColumn = 0;
  int32_t GutterWidth = 34;
  int32_t IndentStep = 1;
  TColor MarginColor = 0x00FFFFFF;
  TColor GutterColor = static_cast<TColor>(0xFF00000F);
  TColor SelTextColor = 0;
  TColor SelTextBack = 0;
  std::array<int32_t, TabColumnCount> TabColumns{};
  String FontName;
  int32_t FontSize = 10;
  // The colours the rule script marked as system defaults, in this order:
  // MarginColor, SelTextColor, SelTextBack, GutterColor.
  std::array<bool, 4> SystemColorMarkers{};
  TSM_FontSpec GutterFont;
  // While set (a print job), style fonts are made for the printer.
  bool PrinterFonts = false;

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TSM_Settings>(); }

private:
  std::array<TSM_EditableStyle, EditableStyleCount> FEditableStyles;
  std::unique_ptr<TAutoReplace> FAutoReplace;
  std::unique_ptr<TCodeTemplates> FCodeTemplates;
  std::unique_ptr<TKeyboardActionContoller> FKeyController;
  std::array<uint8_t, 256> FTokenMap{};
  std::array<TSM_StyleRecord, 256> FStyles;
  mutable bool FHotspotsDirty = true;
  mutable bool FHotspots = false;
  std::vector<std::unique_ptr<TKeywordDefinitions>> FKeywordTables; // up to 21 slots, in use order
  std::unique_ptr<TKeywords> FKeywords;
  int32_t FStreamVersion = 0x7FFFFFFF;
  int FAttachCount = 0;
  std::vector<TCustomSyntaxMemo*> FAttachedEditors;
  std::unique_ptr<TSM_SettingsFonts> FFonts;

  void FreeFontsWhenAttached();
};
