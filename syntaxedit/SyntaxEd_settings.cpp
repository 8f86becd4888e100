#include "SyntaxEd_settings.h"

#include "SyntaxEd_streamio.h"

#include <algorithm>

uint32_t SyntaxMemoOptionBit(TSyntaxMemoOption option) {
  static const uint32_t kBits[] = {0x10,      0x20,      0x40,     0x80,     0x100,    0x200,    0x400,
                                   0x800,     0x1000,    0x2000,   0x4000,   0x8000,   0x10000,  0x20000,
                                   0x40000,   0x80000,   0x100000, 0x200000, 0x400000, 0x800000, 0x1000000,
                                   0x2000000, 0x8000000, 0x1,      0x4000000};
  return kBits[option];
}

TColor SystemSysColor(int index);

static TSysColorFunc sysColorFunc = nullptr;

void SetSysColorFunc(TSysColorFunc func) {
  sysColorFunc = func;
}

TColor SysColor(int index) {
  return sysColorFunc ? sysColorFunc(index) : SystemSysColor(index);
}

static TSettingsFontsFactory fontsFactory = nullptr;

void SetSettingsFontsFactory(TSettingsFontsFactory factory) {
  fontsFactory = factory;
}

TSM_Settings::TSM_Settings()
    : FAutoReplace(std::make_unique<TAutoReplace>()), FCodeTemplates(std::make_unique<TCodeTemplates>()),
      FKeyController(std::make_unique<TKeyboardActionContoller>()),
      FFonts(fontsFactory ? fontsFactory() : nullptr) {
  ResetToDefaults();
}

TSM_Settings::~TSM_Settings() {
  FreeFontsWhenAttached();
}

void TSM_Settings::FreeFontsWhenAttached() {
  if (FAttachCount > 0 && FFonts) FFonts->FreeStyleFonts(*this);
}

void TSM_Settings::AttachEditor(TCustomSyntaxMemo* editor) {
  if (FAttachCount++ == 0) RefreshFonts();
  if (std::find(FAttachedEditors.begin(), FAttachedEditors.end(), editor) == FAttachedEditors.end())
    FAttachedEditors.push_back(editor);
}

void TSM_Settings::DetachEditor(TCustomSyntaxMemo* editor) {
  if (FAttachCount > 0 && --FAttachCount == 0 && FFonts) FFonts->FreeStyleFonts(*this);
  auto it = std::find(FAttachedEditors.begin(), FAttachedEditors.end(), editor);
  if (it != FAttachedEditors.end()) FAttachedEditors.erase(it);
}

void TSM_Settings::RefreshFonts() {
  if (FAttachCount <= 0 || !FFonts) return;
  FFonts->FreeStyleFonts(*this);
  FFonts->CreateStyleFonts(*this);
}

void TSM_Settings::ResetToDefaults() {
  FreeFontsWhenAttached();
  ExampleText.clear();
  LanguageName = "<Custom language>";
  WrapOverride = ">|:";
  FontCharSet = 1;
  FEditableStyles.fill(TSM_EditableStyle());
  Options = DefaultSyntaxMemoOptions;
  TabDefault = 4;
  MarginWidth = 2;
  RightMargin = 80;
  WordWrapColumn = 0;
  GutterWidth = 34;
  IndentStep = 1;
  MarginColor = 0x00FFFFFF;
  GutterColor = static_cast<TColor>(0xFF00000F);
  SelTextColor = SysColor(COLOR_HIGHLIGHTTEXT_INDEX);
  SelTextBack = SysColor(COLOR_HIGHLIGHT_INDEX);
  TabColumns.fill(-1);
  FTokenMap.fill(0);
  FStyles.fill(TSM_StyleRecord());
  FStyles[0].Defined = 1;
  FontName = "Courier New";
  FontSize = 10;
  SystemColorMarkers.fill(false);
  FHotspotsDirty = true;
  FKeywordTables.clear();
  FKeywords.reset();
  FKeyController->Assign(DefaultKeyController());
  FAutoReplace->ClearEntries();
  FAutoReplace->Enabled = true;
  FAutoReplace->TriggerKey = scCtrl | 'J';
  FCodeTemplates->ClearEntries();
}

void TSM_Settings::SetStyle(uint8_t number, const TSM_StyleRecord& style) {
  FStyles[number] = style;
  FHotspotsDirty = true;
}

TSM_EditableStyle TSM_Settings::GetEditableStyle(int index) const {
  if (index < 1 || index > EditableStyleCount) return TSM_EditableStyle();
  return FEditableStyles[static_cast<size_t>(index - 1)];
}

void TSM_Settings::SetEditableStyle(int index, const TSM_EditableStyle& entry) {
  if (index < 1 || index > EditableStyleCount) return;
  FEditableStyles[static_cast<size_t>(index - 1)] = entry;
}

int32_t TSM_Settings::TabColumn(int index) const {
  return index >= 0 && index < TabColumnCount ? TabColumns[static_cast<size_t>(index)] : -1;
}

bool TSM_Settings::HasHotspots() const {
  if (FHotspotsDirty) {
    FHotspots = std::any_of(FStyles.begin(), FStyles.end(),
                            [](const TSM_StyleRecord& s) { return s.Defined != 0 && s.Hotspot; });
    FHotspotsDirty = false;
  }
  return FHotspots;
}

// ---- Keyword tables

const TKeywordDefinitions* TSM_Settings::GetKeywordTable(int slot) const {
  return slot >= 0 && slot < static_cast<int>(FKeywordTables.size())
             ? FKeywordTables[static_cast<size_t>(slot)].get()
             : nullptr;
}

void TSM_Settings::AddKeywordTable(TStateSet states, const String& groupSpecifier, uint8_t caseFlag,
                                   const std::vector<TKeywordWord>& words) {
  if (states.none()) states.set(0);
  size_t slot = 0;
  for (; slot < FKeywordTables.size(); ++slot) {
    const TStateSet& used = FKeywordTables[slot]->States;
    if ((used & states).none()) continue;
    if (used != states) throw EKeywords("Ambigious key table state definition");
    break;
  }
  if (slot == MaxKeywordTables) throw EKeywords("Too many keyword tables declared");
  auto table = std::make_unique<TKeywordDefinitions>();
  table->States = states;
  table->GroupSpecifier = groupSpecifier;
  table->CaseFlag = caseFlag;
  table->Words = words;
  if (slot == FKeywordTables.size())
    FKeywordTables.push_back(std::move(table));
  else
    FKeywordTables[slot] = std::move(table);
  RebuildKeywords();
}

void TSM_Settings::RebuildKeywords() {
  FKeywords.reset();
  for (const auto& table : FKeywordTables) {
    if (table->Words.empty()) continue;
    if (!FKeywords) FKeywords = std::make_unique<TKeywords>();
    TSM_CharGroup group;
    if (table->GroupSpecifier.empty()) {
      group.AddRange(0, 255);
    } else {
      int position = 1;
      ParseCharGroup(table->GroupSpecifier, position, group);
    }
    for (const TKeywordWord& w : table->Words)
      if (!w.Word.empty()) FKeywords->AddWord(w.Word, table->CaseFlag, w.Value, table->States, group);
  }
}

// ---- Stream form

void TSM_Settings::SaveToStream(TStream& stream) const {
  WriteLongString(stream, ExampleText);
  WriteLongString(stream, LanguageName);
  WriteLongString(stream, WrapOverride);
  for (int32_t v : {static_cast<int32_t>(Options), MarginWidth, RightMargin, WordWrapColumn, GutterWidth,
                    IndentStep, MarginColor, GutterColor, SelTextColor, SelTextBack, TabDefault})
    WriteInt(stream, v);

  const auto defined = static_cast<int32_t>(
      std::count_if(FStyles.begin(), FStyles.end(), [](const TSM_StyleRecord& s) { return s.Defined != 0; }));
  WriteInt(stream, defined);
  for (size_t n = 0; n < FStyles.size(); ++n) {
    const TSM_StyleRecord& s = FStyles[n];
    if (s.Defined == 0) continue;
    WriteByte(stream, static_cast<uint8_t>(n));
    WriteByte(stream, s.FontStyle);
    WriteInt(stream, s.Foreground);
    WriteInt(stream, s.Background);
    WriteByte(stream, s.SysForeground);
    WriteByte(stream, s.SysBackground);
    WriteByte(stream, s.Hotspot);
    WriteInt(stream, s.Defined);
  }

  WriteInt(stream, static_cast<int32_t>(256 - std::count(FTokenMap.begin(), FTokenMap.end(), 0)));
  for (size_t token = 0; token < FTokenMap.size(); ++token) {
    if (FTokenMap[token] == 0) continue;
    WriteByte(stream, static_cast<uint8_t>(token));
    WriteByte(stream, FTokenMap[token]);
  }

  const auto named =
      static_cast<int32_t>(std::count_if(FEditableStyles.begin(), FEditableStyles.end(),
                                         [](const TSM_EditableStyle& e) { return !e.Name.empty(); }));
  WriteInt(stream, named);
  for (const TSM_EditableStyle& e : FEditableStyles) {
    if (e.Name.empty()) continue;
    WriteLongString(stream, e.Name);
    WriteByte(stream, e.StyleNumber);
  }

  for (int32_t column : TabColumns)
    WriteInt(stream, column);
  WriteLongString(stream, FontName);
  WriteInt(stream, FontSize);
  WriteByte(stream, FontCharSet);
  for (bool marker : SystemColorMarkers)
    WriteByte(stream, marker);

  WriteInt(stream, static_cast<int32_t>(FKeywordTables.size()));
  for (const auto& table : FKeywordTables) {
    WriteCharSet(stream, table->States);
    WriteLongString(stream, table->GroupSpecifier);
    WriteInt(stream, table->CaseFlag);
    WriteInt(stream, static_cast<int32_t>(table->Words.size()));
    for (const TKeywordWord& w : table->Words) {
      WriteLongString(stream, w.Word);
      WriteInt(stream, w.Value);
    }
  }

  FAutoReplace->SaveToStream(stream);
  FCodeTemplates->SaveToStream(stream);
  FKeyController->SaveToStream(stream);

  if (FStreamVersion > 50) {
    WriteLongString(stream, GutterFont.Name);
    WriteInt(stream, GutterFont.Size);
    WriteByte(stream, 0);
    WriteInt(stream, GutterFont.Color);
    WriteByte(stream, GutterFont.Style);
  }
}

void TSM_Settings::LoadFromStream(TStream& stream) {
  ResetToDefaults();
  ExampleText = ReadLongString(stream);
  LanguageName = ReadLongString(stream);
  WrapOverride = ReadLongString(stream);
  Options = static_cast<uint32_t>(ReadInt(stream));
  MarginWidth = ReadInt(stream);
  RightMargin = ReadInt(stream);
  WordWrapColumn = ReadInt(stream);
  GutterWidth = ReadInt(stream);
  IndentStep = ReadInt(stream);
  MarginColor = ReadInt(stream);
  GutterColor = ReadInt(stream);
  SelTextColor = ReadInt(stream);
  SelTextBack = ReadInt(stream);
  TabDefault = ReadInt(stream);

  for (int i = ReadInt(stream); i > 0; --i) {
    TSM_StyleRecord& s = FStyles[ReadByte(stream)];
    s.FontStyle = ReadByte(stream);
    s.Foreground = ReadInt(stream);
    s.Background = ReadInt(stream);
    s.SysForeground = ReadByte(stream) != 0;
    s.SysBackground = ReadByte(stream) != 0;
    s.Hotspot = ReadByte(stream) != 0;
    s.Defined = ReadInt(stream);
  }
  FHotspotsDirty = true;

  for (int i = ReadInt(stream); i > 0; --i) {
    const uint8_t token = ReadByte(stream);
    FTokenMap[token] = ReadByte(stream);
  }

  // The entries are packed from the first on; a damaged stream's entries past
  // the last slot are read over.
  size_t entry = 0;
  for (int i = ReadInt(stream); i > 0; --i) {
    TSM_EditableStyle e;
    e.Name = ReadLongString(stream).substr(0, 25);
    e.StyleNumber = ReadByte(stream);
    if (entry < FEditableStyles.size()) FEditableStyles[entry++] = e;
  }

  for (int32_t& column : TabColumns)
    column = ReadInt(stream);
  FontName = ReadLongString(stream);
  FontSize = ReadInt(stream);
  FontCharSet = ReadByte(stream);
  for (size_t i = 0; i < SystemColorMarkers.size(); ++i)
    SystemColorMarkers[i] = ReadByte(stream) != 0;

  for (int t = ReadInt(stream); t > 0; --t) {
    const TStateSet states = ReadCharSet(stream);
    const String specifier = ReadLongString(stream);
    const auto caseFlag = static_cast<uint8_t>(ReadInt(stream));
    std::vector<TKeywordWord> words;
    for (int w = ReadInt(stream); w > 0; --w) {
      String word = ReadLongString(stream);
      words.push_back({std::move(word), ReadInt(stream)});
    }
    AddKeywordTable(states, specifier, caseFlag, words);
  }

  FAutoReplace->LoadFromStream(stream);
  FCodeTemplates->LoadFromStream(stream);
  FKeyController->LoadFromStream(stream);

  if (FStreamVersion > 50) {
    GutterFont.Name = ReadLongString(stream);
    GutterFont.Size = ReadInt(stream);
    ReadByte(stream);
    GutterFont.Color = ReadInt(stream);
    GutterFont.Style = ReadByte(stream);
  }
}
