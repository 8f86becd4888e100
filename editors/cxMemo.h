// The memo: the multi-line text editor. Its inner window is the class
// library's memo, which hands every key, character and mouse event to the
// editor first; the editor lays its own painted scroll bars over the inner
// window's native ones, which keep scrolling underneath and are never drawn.
#pragma once

#include "cxTextEdit.h"

#include "StdCtrls.h"

class TcxCustomMemo;
class TcxCustomInnerMemo;

// Posted to the memo to place its own scroll bars over the native ones.
constexpr UINT CXM_UPDATESCROLLBARS = 0x8068;

// ---- The inner memo ----

// The inner memo's side of the interfaces, forwarding to it.
class TcxCustomInnerMemoHelper : public TObject, public IcxInnerTextEdit {
public:
  explicit TcxCustomInnerMemoHelper(TcxCustomInnerMemo* AMemo) : FMemo(AMemo) {}
  TWinControl* GetControl() override;
  TcxContainer* GetControlContainer() override;
  bool GetReadOnly() override;
  void SetReadOnly(bool Value) override;
  void SetOnChange(TNotifyEvent Value) override;
  void GetEditValue(Variant& Value) override;
  void SetEditValue(const Variant& Value) override;
  void LockBounds(bool ALock) override;
  void SafelySetFocus() override;
  void CopyToClipboard() override;
  TAlignment GetAlignment() override;
  bool GetAutoSelect() override;
  TEditCharCase GetCharCase() override;
  TcxEditEchoMode GetEchoMode() override { return eemNormal; }
  bool GetHideSelection() override;
  char GetImeLastChar() override { return 0; }
  bool GetKeyEatenByContainer() override;
  int GetMaxLength() override;
  bool GetMultiLine() override { return true; }
  bool GetOEMConvert() override;
  int GetSelLength() override;
  int GetSelStart() override;
  String GetSelText() override;
  void SelectAll() override;
  void SetAlignment(TAlignment Value) override;
  void SetAutoSelect(bool Value) override;
  void SetCharCase(TEditCharCase Value) override;
  void SetEchoMode(TcxEditEchoMode) override {}
  void SetHideSelection(bool Value) override;
  void SetKeyEatenByContainer(bool Value) override;
  void SetMaxLength(int Value) override;
  void SetOEMConvert(bool Value) override;
  void SetSelLength(int Value) override;
  void SetSelStart(int Value) override;
  void SetSelText(const String& Value) override;

private:
  TcxCustomInnerMemo* FMemo;
};

// The system multi-line edit inside a memo.
class TcxCustomInnerMemo : public TMemo {
public:
  explicit TcxCustomInnerMemo(TComponent* AOwner);
  ~TcxCustomInnerMemo() override;

  TcxCustomInnerMemoHelper* GetHelper() const { return FHelper.get(); }
  TcxCustomMemo* GetContainer() const;
  bool AutoSelectOnEnter = false;
  bool KeyEatenByContainer = false;
  void LockBounds(bool ALock);
  // Sets the window text without handing it back to the editor.
  void SetTextSilently(const String& Text);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool CanFocus() override;
  void WndProc(TMessage& Message) override;
  // A right click in the window shows the editor's menu.
  TPopupMenu* GetPopupMenu() const override;
  // The window's own handling (an edit action on the focused window), else
  // the editor's data binding.
  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Click() override;
  void DblClick() override;
  void DoEnter() override;
  bool DoMouseWheel(TShiftState, int, TPoint) override { return false; }
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxCustomInnerMemo"; }

private:
  void WMKeyDown(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMClear(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMFocus(TMessage& Message);
  void WMSetText(TMessage& Message);
  void WMReplaceSel(TMessage& Message);
  bool EnterChangesText(TShiftState Shift) const;

  std::unique_ptr<TcxCustomInnerMemoHelper> FHelper;
  bool FCreating = true;
  int FBoundsLock = 0;
  bool FInternalTextSetting = false;
};

// ---- Settings ----

class TcxCustomMemoProperties : public TcxCustomTextEditProperties {
public:
  explicit TcxCustomMemoProperties(TPersistent* AOwner);

  void Assign(const TPersistent* Source) override;
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value) { Store(FScrollBars, Value); }
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { Store(FWantReturns, Value); }
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { Store(FWantTabs, Value); }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { Store(FWordWrap, Value); }

  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  bool WantsTabKey() const override { return FWantTabs; }
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) override;
  int GetEditValueSource(bool) const override;
  bool IsMultiLineText() const override { return true; }

protected:
  String ClassName() const override { return "TcxCustomMemoProperties"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
};

class TcxMemoProperties : public TcxCustomMemoProperties {
public:
  using TcxCustomMemoProperties::TcxCustomMemoProperties;

protected:
  String ClassName() const override { return "TcxMemoProperties"; }
};

// ---- View data and view info ----

class TcxCustomMemoViewInfo : public TcxCustomTextEditViewInfo {
public:
  void PaintText(TcxCanvas* ACanvas) override;
};

class TcxCustomMemoViewData : public TcxCustomTextEditViewData {
public:
  using TcxCustomTextEditViewData::TcxCustomTextEditViewData;
  int GetDrawTextFlags() const override;
  void GetTextRect(TRect& R) override;

protected:
  String ClassName() const override { return "TcxCustomMemoViewData"; }
};

// ---- The editor ----

class TcxCustomMemo : public TcxCustomTextEdit {
public:
  explicit TcxCustomMemo(TComponent* AOwner);

  TcxCustomMemoProperties* GetActiveProperties() const {
    return static_cast<TcxCustomMemoProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomMemoProperties* GetProperties() const {
    return static_cast<TcxCustomMemoProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomInnerMemo* GetInnerMemo() const;
  TStrings* GetLines();
  void SetLines(const TStrings* Value) { GetLines()->Assign(*Value); }
  bool IsClearing() const { return FClearing; }
  // Asks for the own scroll bars to follow the native ones once the
  // messages waiting now are handled.
  void PostUpdateScrollBars();

  void Loaded() override;
  bool HasScrollBars() override { return true; }
  void AdjustInnerScrollBars() override;
  void AdjustInnerControlBounds() override { AdjustInnerEditPosition(0); }
  void AdjustInnerEditPosition(int AHeight) override;
  void WndProc(TMessage& Message) override;
  bool IsEditingKey(WORD Key, TShiftState Shift) override;
  void InnerEditChanged(TObject* Sender) override;
  void HandleEditKeyDown(WORD& Key, TShiftState Shift) override;
  void MouseTrackingLeave() override;
  IcxCustomInnerEdit* CreateInnerEdit() override;
  void InitializeViewData(TcxCustomEditViewData* AViewData) override;
  bool IsInnerEditShown() override { return true; }
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  bool CanSendActivationKey(char Key) override { return Key != '\r'; }
  void ReplaceSelText(const String& Text) override;
  void CutToClipboard() override;
  void ClearSelection() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;

protected:
  friend class TcxCustomInnerMemo;
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Scroll(TScrollBarKind Kind, TScrollCode Code, int& Pos) override;
  String ClassName() const override { return "TcxCustomMemo"; }

private:
  void FinishSelectionChange();
  bool MakesNewLine(TShiftState Shift) const;

  bool FClearing = false;
  bool FScrollBarsAdjusting = false;
  bool FPositionAdjusting = false;
};

class TcxMemo : public TcxCustomMemo {
public:
  using TcxCustomMemo::TcxCustomMemo;
  TcxMemoProperties* GetProperties() const {
    return static_cast<TcxMemoProperties*>(TcxCustomMemo::GetProperties());
  }
  // Ignored while a repository item gives the settings.
  void SetProperties(const TcxMemoProperties* Value) {
    if (!GetRepositoryItem()) GetProperties()->Assign(Value);
  }

protected:
  String ClassName() const override { return "TcxMemo"; }
};

// The window class of a memo and its inner window repaints only what a
// resize uncovers: the rows stay where they are.
void RemoveMemoRedrawStyles(TCreateParams& Params, TScrollStyle AScrollBars, bool AWordWrap);

void cxMemoInitialize();
void cxMemoFinalize();
