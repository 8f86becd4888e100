// Code templates and auto-replace: word lists whose names are kept reversed
// in a keyword tree, so that the name ending at the caret is found by walking
// the text backwards. The editor control adds the pop-up list and performs
// the replacement in the text; the lookups and the text to insert are here.
#pragma once

#include "SyntaxEd_keys.h"
#include "SyntaxEd_keywords.h"

#include <cstdint>
#include <functional>
#include <vector>

// The editor's word-character tests (in-word, word-start).
using TCharTest = std::function<bool(char c)>;

class TMacroKeywords;
// Performs an expansion: (Sender, name, var replacement).
using TMacroFireEvent = std::function<void(TMacroKeywords* Sender, const String& name, String& replacement)>;

class TMacroKeywords : public TKeywords {
public:
  struct TMacroEntry {
    String Name;
    String Description;
    String Expansion; // in the rows' line-end form
    int32_t Id = 0;   // the value of the name in the tree
  };

  TMacroKeywords();
  ~TMacroKeywords() override;

  void ClearAll();
  void RebuildTree();
  // Raises EKeywords "Duplicate keyword - '%s'" (with the reversed name)
  // for a name already present; AddTemplate replaces instead.
  void AddMacro(const String& name, const String& description, uint8_t caseFlag, const String& expansion);
  virtual bool IsTriggerKey(uint16_t key, TKeyShift shift) const;
  // The trigger key's work before any pop-up: caret is a stream on the caret
  // position (nullptr for an empty text). When a name stands right before
  // the caret and OnFire is set, fires it and returns true, with keyHandled
  // the flag KeyHandled. Otherwise returns false and leaves the partial word
  // before the caret in SelectionWord (lower case).
  bool HandleTriggerKey(TEdStream* caret, uint16_t key, TKeyShift shift, bool& keyHandled,
                        const TCharTest& charIsInWord, const TCharTest& charStartsWord);
  // After HandleTriggerKey returned false: whether the pop-up list opens.
  bool WantsPopup() const { return ShowPopup && !FEntries.empty(); }

  const std::vector<TMacroEntry>& GetEntries() const { return FEntries; }
  const String& GetSelectionWord() const { return FSelectionWord; }
  String ClassName() const override { return "TMacroKeywords"; }

  TShortCut TriggerKey = scCtrl | 'J';
  TMacroFireEvent OnFire;
  bool Enabled = true;
  bool KeyHandled = true;      // reported to the key handler after an expansion
  bool IndentExpansion = true; // indent an expansion's lines like the current line
  bool CaretMarker = true;     // a "|" in an expansion marks the caret and is removed
  bool ShowPopup = true;       // open the pop-up when no name precedes the caret

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TMacroKeywords>(); }
  // The entry of a name as stored (lower case for case flag 0), or nullptr.
  const TMacroEntry* FindEntry(const String& name) const;
  void DeleteEntry(const String& name);

private:
  void AddToTree(const TMacroEntry& entry);
  const TMacroEntry* EntryById(int32_t id) const;

  std::vector<TMacroEntry> FEntries; // in name order, letter case ignored
  int32_t FNextId = 0;
  String FSelectionWord;
};

class TCodeTemplates : public TMacroKeywords {
public:
  // Raises Exception "Cannot assign %s to %s" for a source that is no
  // template list.
  void Assign(const TSM_Base& source) override;
  void SaveToStream(TStream& stream) const override;
  void LoadFromStream(TStream& stream) override;
  String ClassName() const override { return "TCodeTemplates"; }

  // Replaces a template of the same name (letter case ignored).
  void AddTemplate(const String& name, const String& description, const String& expansion);
  void DeleteTemplate(const String& name);
  bool FindTemplate(const String& name, String& expansion) const;
  virtual void ClearEntries() { ClearAll(); }

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TCodeTemplates>(); }
};

inline constexpr const char* DefaultActionKeys = ";,:.=()[]\\{Return}\\{Tab}\\{Space}";

class TAutoReplace : public TCodeTemplates {
public:
  TAutoReplace();
  void SaveToStream(TStream& stream) const override;
  void LoadFromStream(TStream& stream) override;
  String ClassName() const override { return "TAutoReplace"; }

  // Raises ESyntaxMemo "Bad key specifier" for a \{name} without its brace.
  void SetActionKeys(const String& text);
  const String& GetActionKeys() const { return FActionKeys; }
  const std::vector<uint16_t>& GetActionKeyCodes() const { return FActionKeyCodes; }
  void AddReplacement(const String& word, const String& replacement) {
    AddMacro(word, String(), 0, replacement);
  }
  bool IsTriggerKey(uint16_t key, TKeyShift shift) const override;
  void ClearEntries() override;

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TAutoReplace>(); }

private:
  String FActionKeys;
  std::vector<uint16_t> FActionKeyCodes;
};

// A key press in the layout of the system's key scan: virtual key plus 0x100
// Shift, 0x200 Ctrl, 0x400 Alt; 0 for a key beyond the low byte.
uint16_t KeyCode(uint16_t key, TKeyShift shift);

// Whether an auto-replace word may be replaced: name ends at caret; a name
// ending in an in-word character must not be followed by one, and a
// replacement starting a word must not be glued to an in-word character
// before the name.
bool CanAutoReplace(TEdStream& stream, int caret, const String& name, const String& replacement,
                    const TCharTest& charIsInWord, const TCharTest& charStartsWord);

// The text an expansion inserts: each line after the first indented by
// indent spaces, converted to the rows' line-end form, and, with caretMarker,
// without its first "|", whose offset goes to markerOffset (-1 without one).
String PrepareExpansion(const String& replacement, int indent, bool caretMarker, int& markerOffset);
