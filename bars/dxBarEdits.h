// Edit and combo items of the toolbar manager and their controls: while the
// user edits, a real EDIT window stands over the value area; a combo opens a
// drop-down window, for string combos an owner-drawn list.
#pragma once

#include "dxBar.h"

#include "StdCtrls.h"

class TdxBarDropDownListBox;

using TdxBarCheckKeyForDropDownWindowEvent =
    std::function<void(TObject* Sender, WORD Key, TShiftState Shift, bool& AcceptKey)>;
using TdxBarGetDropDownWindowEvent = std::function<void(TObject* Sender, HWND& Window)>;
using TdxBarDrawItemEvent =
    std::function<void(TObject* Sender, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TdxBarMeasureItemEvent = std::function<void(TObject* Sender, int Index, int& Height)>;

// Items that show an in-place window while they are edited.
class TdxBarWindowItem : public TdxBarItem {
public:
  explicit TdxBarWindowItem(TComponent* AOwner);
  const String& GetText() const { return FText; }
  virtual void SetText(const String& Value);
  // The text of the window being edited, else Text.
  String GetCurText() const;
  void SetCurText(const String& Value);
  // The active link while its control edits.
  TdxBarItemLink* GetFocusedLink() const;
  // The first link whose control is shown (OnlyVisible) and, on a toolbar,
  // starts editing; another window raises the invalid-cast error.
  virtual void Focus(bool OnlyVisible);
  // The first link whose control is active, none.
  TdxBarItemLink* GetActiveLink() const;
  bool CanClick() const override { return false; }
  bool GetEditorHidden() const { return FEditorHidden; }

  virtual void DoChange();
  virtual void DoCurChange();
  virtual void DoEnter();
  virtual void DoExit();
  virtual void DoKeyDown(WORD& Key, TShiftState Shift);
  virtual void DoKeyPress(char& Key);
  virtual void DoKeyUp(WORD& Key, TShiftState Shift);

  TNotifyEvent OnChange;
  TNotifyEvent OnCurChange;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

protected:
  // Every control repaints but the one that is selected in an active window.
  void RepaintControls();
  String ClassName() const override { return "TdxBarWindowItem"; }
  bool FEditorHidden = false;

private:
  String FText;
};

class TdxBarEdit : public TdxBarWindowItem {
public:
  explicit TdxBarEdit(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);
  bool AcceptsAccelerator(const TdxBarItemLink* Link) const override;
  // The value text where no window stands over it.
  virtual void DrawInterior(const TdxBarEditControl* Control, TCanvas* Canvas, const TRect& R);
  virtual void WidthChanged();
  // The active link's combo control has its drop-down open.
  bool IsDroppedDown() const;
  bool ReadOnly = false;

protected:
  String ClassName() const override { return "TdxBarEdit"; }

private:
  int FMaxLength = 0;
  bool FShowCaption = false;
  int FWidth = 100;
};

// An edit with a drop-down window of any kind.
class TCustomdxBarCombo : public TdxBarEdit {
public:
  explicit TCustomdxBarCombo(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  bool GetShowEditor() const { return !FEditorHidden; }
  void SetShowEditor(bool Value);
  virtual bool CheckKeyForDropDownWindow(WORD Key, TShiftState Shift);
  virtual HWND GetDropDownWindow();
  virtual void InitDropDownWindow() {}
  // X, Y: the screen point the control proposes.
  virtual void DoDropDown(int X, int Y);
  virtual void DoCloseUp();
  virtual void DropDownShown() {}

  TdxBarCheckKeyForDropDownWindowEvent OnCheckKeyForDropDownWindow;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  TdxBarGetDropDownWindowEvent OnGetDropDownWindow;

protected:
  String ClassName() const override { return "TCustomdxBarCombo"; }
  // The point corrected so that the drop-down stays in the work area.
  void CorrectDropDownPoint(int& X, int& Y, int Width, int Height);
};

// A combo whose drop-down is a list of strings drawn by the painter.
class TdxBarCustomCombo : public TCustomdxBarCombo {
public:
  explicit TdxBarCustomCombo(TComponent* AOwner);
  ~TdxBarCustomCombo() override;
  TStringList* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* Value) { FItems->Assign(*Value); }
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  int GetCurItemIndex() const;
  int DropDownCount = 8;
  int DropDownWidth = 0;
  int ItemHeight = 0;
  TdxBarDropDownListBox* GetDropDownList() const { return FDropDownList; }

  void SetText(const String& Value) override;
  virtual void DrawItem(int Index, const TRect& R, TOwnerDrawState State);
  virtual TCanvas* GetCanvas() const;
  virtual int GetDropDownWidth();
  virtual void MeasureItem(int Index, int& Height);
  virtual void MeasureItemWidth(int Index, int& Width);
  void DrawInterior(const TdxBarEditControl* Control, TCanvas* Canvas, const TRect& R) override;
  bool CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) override;
  HWND GetDropDownWindow() override;
  void InitDropDownWindow() override;
  void DoDropDown(int X, int Y) override;
  void DoCloseUp() override;
  void DropDownShown() override;
  void DoCurChange() override;
  // The first item that starts with the text, else the first that reached
  // the longest common start (letter case ignored); -1 for none.
  int FindNearestItem(const String& Text) const;
  // The combo control's window text chooses its current entry and the open
  // list's selection.
  void SyncListWithText();

  TdxBarDrawItemEvent OnDrawItem;
  TdxBarMeasureItemEvent OnMeasureItem;

protected:
  String ClassName() const override { return "TdxBarCustomCombo"; }

private:
  void ItemsChanged();
  std::unique_ptr<TStringList> FItems;
  int FItemIndex = -1;
  bool FSorted = false;
  // Owned as a component.
  TdxBarDropDownListBox* FDropDownList;
  TCanvas* FDrawingCanvas = nullptr;
  bool FDrawingValue = false;
};

class TdxBarCombo : public TdxBarCustomCombo {
public:
  using TdxBarCustomCombo::TdxBarCustomCombo;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

protected:
  String ClassName() const override { return "TdxBarCombo"; }
};

// ---- Controls ----

// The base of controls with an in-place window: it makes and subclasses the
// window, places it over the value area, gives it the focus while editing
// and gives the focus back afterwards.
class TdxBarWinControl : public TdxBarItemControl {
public:
  TdxBarWinControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl);
  ~TdxBarWinControl() override;
  TdxBarWindowItem* GetWindowItem() const;
  HWND GetInPlaceWnd() const override { return FWnd; }
  TRect GetInPlaceRect() const override { return GetEditRect(); }
  bool GetFocused() const override { return FFocused; }
  void DestroyInPlaceWindow() override;
  // The window's whole text.
  virtual String GetText() const;
  virtual void SetFocused(bool Value);
  virtual void SetText(const String& Text);
  TRect GetEditRect() const;
  void SetEditRect(const TRect& R);
  bool IsClickable() const override { return ShowsRotatedCaptions(); }
  void Press(bool ByMouse) override;
  void Deactivate(bool Immediate) override;
  bool ClosesMenusOnClick() const override { return false; }
  bool GetSettingText() const { return FSettingText; }

protected:
  // The subclassing procedure's message handling; to pass on means calling
  // the window's previous procedure.
  virtual void WndProc(TMessage& Message);
  void PassOn(TMessage& Message);
  // The base part of making the window: the subclassing.
  void SubclassWindow();
  HWND FWnd = nullptr;
  bool FSettingText = false;

private:
  static LRESULT CALLBACK InstanceProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool KeyMessage(TMessage& Message);
  void KillFocus(TMessage& Message);
  bool SysKeyMessage(TMessage& Message);
  void CommonMessage(TMessage& Message);
  bool FFocused = false;
  int FAltCount = 0;
  WNDPROC FPrevWndProc = nullptr;
  HWND FPrevFocus = nullptr;
  TRect FEditRect;
};

class TdxBarEditControl : public TdxBarWinControl {
public:
  TdxBarEditControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl);
  ~TdxBarEditControl() override;
  TdxBarEdit* GetEdit() const;
  bool IsCaptionShown() const;
  int GetCaptionWidth() const;
  int GetHeight() override;
  int GetMinWidth() override;
  int GetWidth() override;
  bool DrawSelected() const override;
  void CreateInPlaceWindow() override;
  void SetFocused(bool Value) override;
  void SetText(const String& Text) override;
  void Press(bool ByMouse) override;
  virtual void WidthChanged();
  void Paint(const TRect& R, int PaintType) override;

protected:
  void WndProc(TMessage& Message) override;
  // The frame, the caption and the edit rectangle of Paint; R becomes the
  // value area.
  void PaintFrame(TRect& R, int PaintType, bool Selected);
};

class TCustomdxBarComboControl : public TdxBarEditControl {
public:
  using TdxBarEditControl::TdxBarEditControl;
  ~TCustomdxBarComboControl() override;
  TCustomdxBarCombo* GetCombo() const;
  void GetTextColors(int PaintType, bool Enabled, bool Selected, bool DroppedDown, int& TextColorIndex,
                     HBRUSH& Brush) const override;
  void Deactivate(bool Immediate) override;
  bool GetDroppedDown() const { return FDroppedDown; }
  virtual void SetDroppedDown(bool Value);
  HWND GetDroppedDownWnd() const override;
  TRect GetButtonRect() const { return FButtonRect; }
  void Paint(const TRect& R, int PaintType) override;

protected:
  void WndProc(TMessage& Message) override;

private:
  TRect FButtonRect;
  bool FWasDropped = false;
  bool FDroppedDown = false;
};

class TdxBarComboControl : public TCustomdxBarComboControl {
public:
  using TCustomdxBarComboControl::TCustomdxBarComboControl;
  TdxBarCustomCombo* GetCustomCombo() const;
  int GetCurItemIndex() const { return FCurItemIndex; }
  void SetCurItemIndex(int Value) { FCurItemIndex = Value; }
  // The window shows the entry (the item's Text for none).
  void SelectIndex(int Index);
  void SetFocused(bool Value) override;

protected:
  void WndProc(TMessage& Message) override;

private:
  int FCurItemIndex = -1;
};

// The drop-down of a string combo: an owner-drawn top-level tool window that
// tracks the press that opened it until the press enters it.
class TdxBarDropDownListBox : public TCustomListBox {
public:
  explicit TdxBarDropDownListBox(TdxBarCustomCombo* ACombo);
  TdxBarCustomCombo* GetCombo() const { return FCombo; }
  bool GetTracking() const { return FTracking; }
  void SetTracking(bool Value);
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Click() override;
  String ClassName() const override { return "TdxBarDropDownListBox"; }

private:
  void MouseMoved(TMessage& Message);
  void ButtonReleased(TMessage& Message);
  TdxBarCustomCombo* FCombo;
  bool FTracking = false;
};
