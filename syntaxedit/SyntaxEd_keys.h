// Shortcut words, the key store (a two-level tree of key codes whose leaves
// carry editor action codes) and the keyboard action controller that feeds
// key presses through it.
#pragma once

#include "ShortCuts.h"

#include "SyntaxEd_base.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TStream;

// The modifier keys of a key press as bits, in the order of the class
// library's shift-state set (Shift, Alt, Ctrl): a TShiftState's low bits.
using TKeyShift = uint8_t;
inline constexpr TKeyShift ksShift = 0x01, ksAlt = 0x02, ksCtrl = 0x04;

// The class library's ShortCut, ShortCutToKey, ShortCutToText and
// TextToShortCut for code that runs without windows: the model stores
// shortcut texts and must read and write them the same on every platform.
TShortCut MakeShortCut(uint16_t key, TKeyShift shift);
void SplitShortCut(TShortCut shortCut, uint16_t& key, TKeyShift& shift);
// "Ctrl+J", "Shift+F3", "Alt+Del"...; keys without a fixed name are named
// by the system (see SetKeyNameFunc); a key with no name gives "".
String ShortCutName(TShortCut shortCut);
// The reverse of ShortCutName, letter case ignored; 0 for an unknown text.
TShortCut ParseShortCutName(const String& text);

// The system's name of a key that has no fixed name (Windows asks the
// keyboard layout); tests and other platforms may replace it. nullptr
// restores the system's.
using TKeyNameFunc = String (*)(TShortCut shortCut);
void SetKeyNameFunc(TKeyNameFunc func);

// The virtual key (low byte) and shift state (high byte: 1 Shift, 2 Ctrl,
// 4 Alt) that type a character, -1 when none does; the system's keyboard
// layout on Windows, a US layout elsewhere. nullptr restores the system's.
using TVkKeyScanFunc = int16_t (*)(char ch);
void SetVkKeyScanFunc(TVkKeyScanFunc func);
int16_t CharVkKeyScan(char ch);
int16_t UsLayoutVkKeyScan(char ch);

// The editor's table of key names ("return", "f1", "pagedown"...), for key
// specifiers such as \{Tab}; false when the lower-case name is not there.
bool FindKeyName(const String& name, uint16_t& virtualKey);

class EKeyControllerException : public ESyntaxMemo {
public:
  using ESyntaxMemo::ESyntaxMemo;
};

class EAmbigiousKeyPair : public EKeyControllerException {
public:
  using EKeyControllerException::EKeyControllerException;
};

class TKeyboardActionContoller;

// Bindings of single keys and two-key sequences to action codes. The second
// key of a sequence counts without its modifiers.
class TKeyStore {
public:
  explicit TKeyStore(TKeyboardActionContoller* owner = nullptr);
  ~TKeyStore();
  TKeyStore(const TKeyStore&) = delete;
  TKeyStore& operator=(const TKeyStore&) = delete;

  // Raises EAmbigiousKeyPair when the binding collides with an existing one.
  void AddBinding(TShortCut firstKey, TShortCut secondKey, int action);
  enum TKeyResult { krSequenceStarted = 0, krNoBinding = 1, krBindingDone = 2 };
  TKeyResult ProcessKey(TShortCut key);
  void ResetSequence() { FCurrentLevel = nullptr; }
  void ClearBindings();
  bool FindFirstKeys(int action, TShortCut& firstKey, TShortCut& secondKey);
  bool FindNextKeys(int action, TShortCut& firstKey, TShortCut& secondKey);
  int CountBindings() const;
  int GetMatchedAction() const { return FMatchedAction; }

  void SaveToStream(TStream& stream) const;
  void LoadFromStream(TStream& stream);

private:
  struct TKeyNode {
    TShortCut Key = 0;
    TKeyNode* Parent = nullptr;
    TKeyNode* Next = nullptr;
    TKeyNode* SecondLevel = nullptr;
    bool EndsBinding = false;
    int Action = -1;
  };
  // Calls visit(node, step) in the order bindings are searched and stored:
  // a node, its following siblings (with theirs), then its second level;
  // every link visited counts one step, null links too. Iterative, so a
  // long sibling list read from a damaged stream cannot exhaust the stack.
  template <typename Visit> void Walk(Visit visit) const;
  TKeyNode* NewNode(TShortCut key, TKeyNode* parent, bool terminal);
  TKeyNode* FindOrAddKey(TKeyNode*& list, TShortCut key, int action, bool terminal, TKeyNode* parent);
  [[noreturn]] void RaiseAmbiguous(int newAction, int oldAction) const;
  bool FindKeys(int action, TShortCut& firstKey, TShortCut& secondKey);

  int FSearchResume = -1;
  TKeyboardActionContoller* FOwner;
  TKeyNode* FCurrentLevel = nullptr;
  TKeyNode* FFirstLevel = nullptr;
  int FMatchedAction = -1;
  std::vector<std::unique_ptr<TKeyNode>> FNodes; // owns every node of the tree
};

using TKeyboardActionEvent = std::function<void(TKeyboardActionContoller* Sender, int& ActionCode)>;

// Maps key presses to editor actions through its key store and knows the
// actions' names. The editor offers it every key press.
class TKeyboardActionContoller : public TSM_Base {
public:
  TKeyboardActionContoller();
  ~TKeyboardActionContoller() override;

  void Assign(const TSM_Base& source) override;
  void SaveToStream(TStream& stream) const override;
  void LoadFromStream(TStream& stream) override;
  String ClassName() const override { return "TKeyboardActionContoller"; }

  void ClearAll();
  void AddBinding(TShortCut firstKey, TShortCut secondKey, int action) {
    FKeyStore->AddBinding(firstKey, secondKey, action);
  }
  void SetCommandName(int action, const String& name);
  String CommandName(int action) const;
  bool FindFirstKeys(int action, TShortCut& firstKey, TShortCut& secondKey) {
    return FKeyStore->FindFirstKeys(action, firstKey, secondKey);
  }
  bool FindNextKeys(int action, TShortCut& firstKey, TShortCut& secondKey) {
    return FKeyStore->FindNextKeys(action, firstKey, secondKey);
  }
  // Swallows the first key of a sequence and a completed binding (reporting
  // its action through OnAction); any other key passes with handled false.
  void HandleKey(uint16_t& key, TKeyShift& shift, bool& handled);
  TKeyStore& GetKeyStore() { return *FKeyStore; }

  TKeyboardActionEvent OnAction;

  struct TCommandName {
    String Name;
    int Action;
  };
  // The described commands in the order they were named.
  const std::vector<TCommandName>& GetCommandNames() const { return FCommandNames; }

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override {
    return std::make_unique<TKeyboardActionContoller>();
  }

private:
  std::unique_ptr<TKeyStore> FKeyStore;
  std::vector<TCommandName> FCommandNames;
};

// The module-wide controller with the editor's 48 command names and its
// default key map; every language's key bindings start as a copy of it.
TKeyboardActionContoller& DefaultKeyController();
