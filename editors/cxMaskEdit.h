// The text editor with an optional input mask: a picture mask or a regular
// expression decides, through a mode object, what every key, character,
// paste and caret move does to the text. Without a mask it is the text edit
// unchanged; every text-like editor with a button derives from it.
#pragma once

#include "cxRegExpr.h"
#include "cxStandardMask.h"
#include "cxTextEdit.h"

#include <memory>

class TcxCustomMaskEdit;
class TcxCustomMaskEditProperties;

enum TcxEditMaskKind { emkStandard, emkRegExpr, emkRegExprEx };
using TcxEditMask = String;

class EcxMaskEditError : public Exception {
public:
  using Exception::Exception;
};

// ---- Modes ----

// What a mask kind does with the editor's keys and texts. A mode without an
// edit only converts values (the properties' display mode).
class TcxMaskEditCustomMode : public TObject {
public:
  TcxMaskEditCustomMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties)
      : FEdit(AEdit), FProperties(AProperties) {}

  const String& GetMaskText() const { return FMaskText; }
  TEditCharCase GetAppliedCharCase() const { return FCharCase; }
  void SetAppliedCharCase(TEditCharCase Value) { FCharCase = Value; }
  TcxEditEchoMode GetAppliedEchoMode() const { return FEchoMode; }
  void SetAppliedEchoMode(TcxEditEchoMode Value) { FEchoMode = Value; }
  int GetInsertedLength() const { return FInsertedLength; }
  void SetInsertedLength(int Value) { FInsertedLength = Value; }
  TcxCustomMaskEdit* GetEdit() const { return FEdit; }
  // The settings given, else the edit's active ones.
  TcxCustomMaskEditProperties* GetProperties() const;
  void SetProperties(TcxCustomMaskEditProperties* Value) { FProperties = Value; }
  // An edit that is not being destroyed and has its inner edit.
  bool IsUsable() const;

  virtual TcxEditMaskKind GetMaskKind() const { return emkStandard; }
  virtual void AfterPaste() = 0;
  // Raises EcxMaskEditError for a mask with errors.
  virtual void CompileMask(const String& AMask) = 0;
  virtual String GetEmptyText() = 0;
  virtual String GetFormattedText(const String& AText) = 0;
  virtual void SyncToEnd() = 0;
  virtual bool IsCursorAtBegin() = 0;
  virtual bool IsCursorAtEnd() = 0;
  virtual bool IsValidText(const String& AText) = 0;
  virtual void UpdateSelection() = 0;
  virtual void BeforePaste() = 0;
  // The key operations answer true to let the inner edit process the key.
  virtual bool DoBackspace() = 0;
  virtual bool DoDelete() = 0;
  virtual bool DoEnd() = 0;
  virtual bool DoHome() = 0;
  virtual bool DoLeft() = 0;
  virtual bool DoRight() = 0;
  virtual bool DoChar(char& Ch) = 0;
  virtual void AdoptText(const String& AText) = 0;
  virtual void RefreshFromEditValue();
  virtual void ApplyPendingEmptyValue() = 0;
  virtual String GetEditValueText(const String& AText) = 0;

protected:
  void SetMaskText(const String& Value) { FMaskText = Value; }
  bool GetPendingEmpty() const { return FPendingEmpty; }
  void SetPendingEmpty(bool Value) { FPendingEmpty = Value; }
  void Beep();
  // The inner edit's selection, set directly.
  void SetInnerSelStart(int Value);
  void SetInnerSelLength(int Value);
  // The shift flag of the edit.
  bool GetShift() const;
  void SetShift(bool Value);
  String GetText() const;
  int GetSelStart() const;
  int GetSelLength() const;
  int GetCaretPosition() const;
  // Through the control: each move is followed by UpdateSelection.
  void SetSelStart(int Value);
  void SetSelLength(int Value);
  void SendKey(WORD Key);
  void SendCharacter(char Ch);

private:
  String FMaskText;
  TEditCharCase FCharCase = ecNormal;
  TcxEditEchoMode FEchoMode = eemNormal;
  int FInsertedLength = 0;
  TcxCustomMaskEdit* FEdit;
  bool FPendingEmpty = false;
  TcxCustomMaskEditProperties* FProperties;
};

// The picture-mask mode: the text is as long as the mask and typing
// overwrites one selected character at a time.
class TcxMaskEditStandardMode : public TcxMaskEditCustomMode {
public:
  TcxMaskEditStandardMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  TcxStandardMask* GetMask() const { return FMask.get(); }

  TcxEditMaskKind GetMaskKind() const override { return emkStandard; }
  void AfterPaste() override;
  void CompileMask(const String& AMask) override;
  String GetEmptyText() override { return FMask->EmptyValueText(); }
  String GetFormattedText(const String& AText) override;
  void SyncToEnd() override {}
  bool IsCursorAtBegin() override;
  bool IsCursorAtEnd() override;
  bool IsValidText(const String& AText) override;
  void UpdateSelection() override;
  void BeforePaste() override;
  bool DoBackspace() override;
  bool DoDelete() override;
  bool DoEnd() override;
  bool DoHome() override;
  bool DoLeft() override;
  bool DoRight() override;
  bool DoChar(char& Ch) override;
  void AdoptText(const String&) override { UpdateSelection(); }
  void RefreshFromEditValue() override;
  void ApplyPendingEmptyValue() override;
  String GetEditValueText(const String& AText) override;

private:
  // Characters past the last position count as literals.
  bool IsLiteralAt(int AIndex) const;
  int LiteralsBefore(int AIndex) const;
  int LiteralsAfter(int AIndex) const;
  bool DoLeftOverSelection(int AStart, int ALength);
  bool DoRightOverSelection(int AStart, int ALength);
  void CutToMaskLength();

  std::unique_ptr<TcxStandardMask> FMask;
  int FPasteStart = 0;
};

// The regular-expression mode: the text is a prefix of a match, split at
// the caret into a head the automaton has taken and a tail after it.
class TcxMaskEditRegExprMode : public TcxMaskEditCustomMode {
public:
  TcxMaskEditRegExprMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  ~TcxMaskEditRegExprMode() override;
  TcxRegExpr* GetRegExpr() const { return FRegExpr.get(); }
  const String& GetHead() const { return FHead; }
  const String& GetTail() const { return FTail; }

  TcxEditMaskKind GetMaskKind() const override { return emkRegExpr; }
  void AfterPaste() override {}
  void CompileMask(const String& AMask) override;
  String GetEmptyText() override { return String(); }
  String GetFormattedText(const String& AText) override;
  void SyncToEnd() override;
  bool IsCursorAtBegin() override;
  bool IsCursorAtEnd() override;
  bool IsValidText(const String& AText) override;
  void UpdateSelection() override { FResync = true; }
  void BeforePaste() override {}
  bool DoBackspace() override;
  bool DoDelete() override;
  bool DoEnd() override;
  bool DoHome() override;
  bool DoLeft() override;
  bool DoRight() override;
  bool DoChar(char& Ch) override;
  void AdoptText(const String& AText) override;
  void RefreshFromEditValue() override;
  void ApplyPendingEmptyValue() override {}
  String GetEditValueText(const String& AText) override { return AText; }

  virtual void CutSelection();
  virtual void RestoreSelection();

protected:
  void Resync();
  bool TailFits();
  void TruncateTail();
  // Compiles AOther from this mode's pattern; false while it has none.
  bool CompileCopy(TcxRegExpr* AOther);
  std::unique_ptr<TcxRegExpr> CreateProbe();
  void MoveLeft();
  void MoveRight();
  bool DoArrow(bool ALeft);
  void AcceptTail();

  bool FSelectionAtStart = false;
  String FHead;
  std::unique_ptr<TcxRegExpr> FRegExpr;
  String FSelection;
  String FTail;
  bool FResync = false;
};

// The extended mode: characters the pattern forces are inserted as soon as
// they are the only way on, and go with the character before them.
class TcxMaskEditRegExprExMode : public TcxMaskEditRegExprMode {
public:
  TcxMaskEditRegExprExMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);

  TcxEditMaskKind GetMaskKind() const override { return emkRegExprEx; }
  void AfterPaste() override {}
  void CompileMask(const String& AMask) override;
  String GetEmptyText() override;
  String GetFormattedText(const String& AText) override;
  void SyncToEnd() override;
  bool IsValidText(const String& AText) override;
  void BeforePaste() override { ResyncEx(); }
  bool DoBackspace() override;
  bool DoDelete() override;
  bool DoEnd() override;
  bool DoHome() override;
  bool DoLeft() override;
  bool DoRight() override;
  bool DoChar(char& Ch) override;
  void AdoptText(const String& AText) override;
  void ApplyPendingEmptyValue() override;
  void CutSelection() override;
  void RestoreSelection() override;

private:
  void Preface();
  void ResyncEx();
  void MoveRightByUnit();
  void MoveLeftByUnit();
  void RefeedTail();
  void RefeedOrTruncate();
  void SetAuto(bool Value) { FRegExpr->SetAutoInsertLiterals(Value); }
  void AutoOnWithoutLiterals();
  // Switching the literals off and on: true when a forced prefix came.
  bool ForcedPrefixReported();
  bool KeepForcedPrefix(int ALength);
  bool DoBackspaceOverSelection();
  bool DoBackspaceBeforeCaret();
  // The characters the probe of a compiled copy reports at the start.
  String ProbeForcedPrefix(TcxRegExpr* AProbe);

  String FProbeLiterals;
  int FRemovedCount = 0;
  String FInsertedLiterals;
};

// ---- Settings ----

class TcxCustomMaskEditProperties : public TcxCustomTextEditProperties {
public:
  explicit TcxCustomMaskEditProperties(TPersistent* AOwner);
  ~TcxCustomMaskEditProperties() override;

  void Assign(const TPersistent* Source) override;

  bool GetCaseInsensitive() const { return FCaseInsensitive; }
  void SetCaseInsensitive(bool Value);
  // The stored mask, or the provider's default for a blank standard mask.
  TcxEditMask GetEditMask() const;
  // Compiles the mask first: a bad one raises EcxMaskEditError and stays out.
  void SetEditMask(const TcxEditMask& Value);
  bool IsEditMaskStored() const { return !FEditMask.empty(); }
  bool IgnoreMaskBlank = false;
  TcxEditMaskKind GetMaskKind() const { return FMaskKind; }
  void SetMaskKind(TcxEditMaskKind Value);
  bool GetFormatWhenUnfocused() const { return FFormatWhenUnfocused; }
  void SetFormatWhenUnfocused(bool Value);

  bool HasMask() const { return !IsMaskBlank(GetEditMask()); }
  static bool IsMaskBlankChar(char C);
  static bool IsMaskBlank(const String& S);
  // A mode of the current kind without edit, compiled with the mask; none
  // for a blank mask.
  std::unique_ptr<TcxMaskEditCustomMode> CreateMaskMode();
  // A mode of a kind; it compiles nothing.
  static std::unique_ptr<TcxMaskEditCustomMode> CreateMode(TcxEditMaskKind AKind, TcxCustomMaskEdit* AEdit,
                                                           TcxCustomMaskEditProperties* AProperties);
  // Clears the stored mask without any check or notice: a change of kind
  // between picture masks and expressions drops it.
  void ClearStoredEditMask() { FEditMask.clear(); }
  void RestoreStoredEditMask(const TcxEditMask& Value) { FEditMask = Value; }

  void SetCharCase(TEditCharCase Value) override;
  void SetMaxLength(int Value) override;
  TcxClassRef GetContainerClass() const override;
  int GetDisplayFormatOptions() const override { return HasMask() ? 0 : 1; }
  bool HasLookupData() const override { return !HasMask() && TcxCustomTextEditProperties::HasLookupData(); }
  bool IsEditValueValid(Variant& EditValue, bool AEditFocused) override;
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;
  void ValidateDisplayValue(Variant& DisplayValue, String& ErrorText, TcxCustomEdit* Edit,
                            bool& Error) override;

protected:
  String ClassName() const override { return "TcxCustomMaskEditProperties"; }

private:
  bool FCaseInsensitive = true;
  TcxEditMask FEditMask;
  TcxEditMaskKind FMaskKind = emkStandard;
  std::unique_ptr<TcxMaskEditCustomMode> FDisplayMode;
  bool FFormatWhenUnfocused = false;
};

class TcxMaskEditProperties : public TcxCustomMaskEditProperties {
public:
  using TcxCustomMaskEditProperties::TcxCustomMaskEditProperties;

protected:
  String ClassName() const override { return "TcxMaskEditProperties"; }
};

// ---- The editor ----

class TcxCustomMaskEdit : public TcxCustomTextEdit {
public:
  explicit TcxCustomMaskEdit(TComponent* AOwner);
  ~TcxCustomMaskEdit() override;

  TcxCustomMaskEditProperties* GetActiveProperties() const {
    return static_cast<TcxCustomMaskEditProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomMaskEditProperties* GetProperties() const {
    return static_cast<TcxCustomMaskEditProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxMaskEditCustomMode* GetMode() const { return FMode.get(); }
  bool HasMask() const { return GetActiveProperties()->HasMask(); }
  bool GetInternalKeys() const { return FInternalKeys; }
  bool GetShiftDown() const { return FShiftDown; }
  void SetShiftDown(bool Value) { FShiftDown = Value; }
  // The text the mode derives from the inner edit's text.
  const String& GetValueText() const { return FValueText; }
  // Keys and characters the editor sends to itself reach the inner edit
  // untouched by the mode.
  void SendInternalKey(WORD Key) { SendInternal(WM_KEYDOWN, Key); }
  void SendInternalChar(char Ch) { SendInternal(WM_CHAR, static_cast<BYTE>(Ch)); }

  void Loaded() override;
  void HandleEditKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleEditKeyPress(char& Key) override;
  void HandleEditKeyUp(WORD& Key, TShiftState Shift) override;
  void ReplaceSelText(const String& Text) override;
  void CutToClipboard() override;
  void SetSelLength(int Value) override;
  void SetSelStart(int Value) override;
  void InnerEditChanged(TObject* Sender) override;
  void ApplyDisplayValue(const Variant& Value) override;
  void GetDisplayTextForLookup(String& Text) override;
  bool SetDisplayTextForLookup(const String& Text) override;
  void MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void SynchronizeDisplayValue() override;
  void RepositoryItemChanged() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;

protected:
  void DoEnter() override;
  void DblClick() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxCustomMaskEdit"; }

private:
  void SendInternal(UINT Msg, WPARAM WParam);
  bool HandleMaskedKeyDown(WORD& Key, TShiftState Shift);
  void Unhandled(WORD& Key, TShiftState Shift);
  void ApplyMaskChange(bool& AKindChanged, bool& AMaskChanged, bool& ACaseChanged);
  void RecreateMode(bool& AMaskCleared);
  String InnerText() const;

  std::unique_ptr<TcxMaskEditCustomMode> FMode;
  bool FInternalKeys = false;
  bool FShiftDown = false;
  String FValueText;
};

class TcxMaskEdit : public TcxCustomMaskEdit {
public:
  using TcxCustomMaskEdit::TcxCustomMaskEdit;
  TcxMaskEditProperties* GetProperties() const {
    return static_cast<TcxMaskEditProperties*>(TcxCustomMaskEdit::GetProperties());
  }
  // Assigns into the editor's own settings, also while a repository item
  // gives the active ones.
  void SetProperties(const TcxMaskEditProperties* Value) { GetProperties()->Assign(Value); }

protected:
  String ClassName() const override { return "TcxMaskEdit"; }
};

void cxMaskEditInitialize();
void cxMaskEditFinalize();
