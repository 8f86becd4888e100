// Standard controls: thin wrappers of the Windows controls, and the class
// library's own label and group box.
#pragma once

#include "Forms.h"

#include <memory>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

class TButtonControl : public TWinControl {
public:
  explicit TButtonControl(TComponent* AOwner);

protected:
  String ClassName() const override { return "TButtonControl"; }
  // A state set while clicks are disabled fires no click.
  bool GetClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }

private:
  bool FClicksDisabled = false;
};

// A push button: Default answers Enter, Cancel answers Esc, a ModalResult
// closes the modal form.
class TButton : public TButtonControl {
public:
  explicit TButton(TComponent* AOwner);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel = false;
  TModalResult ModalResult = mrNone;
  void Click() override;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  String ClassName() const override { return "TButton"; }
  // Owner-draw buttons (BS_OWNERDRAW) draw here.
  virtual void DrawItem(const DRAWITEMSTRUCT&) {}
  // The look of the default button; owner-drawn buttons draw it themselves.
  virtual void SetButtonStyle(bool ADefault);
  bool FOwnerDraw = false;

private:
  bool FDefault = false;
  bool FActive = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
public:
  explicit TCustomCheckBox(TComponent* AOwner);
  TCheckBoxState GetState() const { return FState; }
  void SetState(TCheckBoxState value);
  bool GetChecked() const { return FState == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  bool AllowGrayed = false;
  TAlignment Alignment = taRightJustify;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  virtual void Toggle();
  String ClassName() const override { return "TCheckBox"; }

private:
  TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
public:
  using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
public:
  explicit TRadioButton(TComponent* AOwner);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool value);
  void WndProc(TMessage& Message) override;
  // The caption's side: taRightJustify puts it right of the button.
  TAlignment Alignment = taRightJustify;
  bool WordWrap = false;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  String ClassName() const override { return "TRadioButton"; }

private:
  bool FChecked = false;
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};
inline constexpr const char* SScrollBarRange = "Scrollbar property out of range";
// ScrollPos may be changed by the handler.
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent* AOwner);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  char GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char value);
  TBorderStyle BorderStyle = bsSingle;
  bool AutoSelect = true;
  TEditCharCase CharCase = ecNormal;
  // The three below are window styles: a change recreates the window.
  void SetCharCase(TEditCharCase value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  bool GetOEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool value);
  int GetSelStart();
  void SetSelStart(int value);
  int GetSelLength();
  void SetSelLength(int value);
  String GetSelText();
  void SetSelText(const String& value);
  void SelectAll();
  void Clear() { SetText(String()); }
  bool GetModified();
  void SetModified(bool value);
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  TNotifyEvent OnChange;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void Change();
  String ClassName() const override { return "TEdit"; }

private:
  void SetStyleFlag(bool& field, bool value);
  bool FReadOnly = false;
  int FMaxLength = 0;
  char FPasswordChar = 0;
  bool FHideSelection = true;
  bool FOEMConvert = false;
};

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

class TMemoStrings;

class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  TStrings* GetLines();
  void SetLines(const TStrings* value);
  TScrollStyle ScrollBars = ssNone;
  bool WordWrap = true;
  bool WantReturns = true;
  bool WantTabs = false;
  TAlignment Alignment = taLeftJustify;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  // Without WantReturns, Enter types no line; Ctrl+Enter still does.
  void KeyPress(char& Key) override;
  String ClassName() const override { return "TMemo"; }

private:
  std::unique_ptr<TMemoStrings> FLines;
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

class TLabel : public TGraphicControl {
public:
  explicit TLabel(TComponent* AOwner);
  TAlignment Alignment = taLeftJustify;
  TTextLayout Layout = tlTop;
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool ShowAccelChar = true;
  TWinControl* FocusControl = nullptr;
  void WndProc(TMessage& Message) override;

protected:
  void Paint() override;
  void AdjustBounds();
  String ClassName() const override { return "TLabel"; }
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void DoDrawText(TRect& rect, UINT flags);
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
};

class TCustomGroupBox : public TCustomControl {
public:
  explicit TCustomGroupBox(TComponent* AOwner);

protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  String ClassName() const override { return "TGroupBox"; }
};

class TGroupBox : public TCustomGroupBox {
public:
  using TCustomGroupBox::TCustomGroupBox;
};

enum TOwnerDrawStateItem {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };

class TListBoxStrings;

// A list box over the Windows control; its items live here and are copied
// into the window, so they survive a recreated window.
class TCustomListBox : public TWinControl {
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  TStrings* GetItems();
  void SetItems(const TStrings* value);
  int GetItemIndex();
  void SetItemIndex(int value);
  bool GetSelected(int index);
  void SetSelected(int index, bool value);
  int GetSelCount();
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool value);
  TListBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TListBoxStyle value);
  int GetItemHeight();
  void SetItemHeight(int value);
  int GetTopIndex();
  void SetTopIndex(int value);
  // The width the list scrolls over horizontally; 0: no horizontal bar.
  int GetScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(int value);
  // Rows flow into this many columns of equal width; 0: one column.
  int GetColumns() const { return FColumns; }
  void SetColumns(int value);
  // The distance of the tab stops in dialog units; 0: the system's.
  int GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(int value);
  // Characters typed within half a second of each other select the first
  // row their text starts (letter case ignored); off, the system's one-letter
  // search acts.
  bool AutoComplete = true;
  int GetCount() const { return static_cast<int>(FItems.size()); }
  void Clear();
  // The item at a client point, or -1 (Existing: only a real item counts).
  int ItemAtPos(const TPoint& pos, bool Existing);
  TRect ItemRect(int index);
  TCanvas* GetCanvas() { return FCanvas.get(); }
  bool IntegralHeight = false;
  // Read when the window is made.
  TBorderStyle BorderStyle = bsSingle;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  void WndProc(TMessage& Message) override;

protected:
  friend class TListBoxStrings;
  struct Item {
    String text;
    void* object = nullptr;
    int state = 0;
    bool enabled = true;
  };
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  void KeyPress(char& Key) override;
  void Resize() override;
  virtual void InsertItem(int index, const String& text, void* object);
  virtual void DeleteItem(int index);
  // The index a new item takes in a sorted list.
  int SortedIndex(const String& text) const;
  String ClassName() const override { return "TListBox"; }
  std::vector<Item> FItems;

private:
  void CNDrawItem(TMessage& Message);
  void UpdateColumnWidth();
  void UpdateTabStops();
  std::unique_ptr<TListBoxStrings> FStrings;
  std::unique_ptr<TCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  int FScrollWidth = 0;
  int FColumns = 0;
  int FTabWidth = 0;
  String FFilter;
  DWORD FLastKeyTime = 0;
  int FSavedIndex = -1;
  bool FMultiSelect = false;
  bool FSorted = false;
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBoxStrings;

class TCustomComboBox : public TWinControl {
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  TStrings* GetItems();
  void SetItems(const TStrings* value);
  int GetItemIndex();
  void SetItemIndex(int value);
  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool value);
  int DropDownCount = 8;
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  bool GetDroppedDown();
  void SetDroppedDown(bool value);
  void Clear();
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  void WndProc(TMessage& Message) override;

protected:
  friend class TComboBoxStrings;
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  virtual void Change();
  String ClassName() const override { return "TComboBox"; }

private:
  std::unique_ptr<TStringList> FList;
  std::unique_ptr<TComboBoxStrings> FStrings;
  TComboBoxStyle FStyle = csDropDown;
  bool FSorted = false;
  int FMaxLength = 0;
  int FSavedIndex = -1;
};

class TComboBox : public TCustomComboBox {
public:
  using TCustomComboBox::TCustomComboBox;
};
