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
  bool FOwnerDraw = false;

private:
  void SetButtonStyle(bool ADefault);
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

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  String ClassName() const override { return "TRadioButton"; }

private:
  bool FChecked = false;
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

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
  virtual void Change();
  String ClassName() const override { return "TEdit"; }

private:
  bool FReadOnly = false;
  int FMaxLength = 0;
  char FPasswordChar = 0;
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
