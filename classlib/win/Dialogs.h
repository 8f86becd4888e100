// Common dialogs, message dialogs and the login dialog.
#pragma once

#include "Forms.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};

// A modal message form; returns the modal result of the button pressed.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
// The same with the form's top left corner at (X, Y) on the screen.
int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
// The message with an OK button, captioned with the application's title.
void ShowMessage(const String& Msg);
// The database login form: true on OK, with the name and password entered.
bool LoginDialogEx(const String& ADatabaseName, String& AUserName, String& APassword, bool NameReadOnly);

class TCommonDialog : public TComponent {
public:
  using TComponent::TComponent;
  virtual bool Execute() = 0;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

protected:
  // The window that owns the dialog: the active form, else the main form.
  HWND OwnerWindow() const;
};

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  bool Execute() override;
  String FileName;
  // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
  String Filter;
  int FilterIndex = 1;
  String DefaultExt;
  String InitialDir;
  String Title;
  TOpenOptions Options{ofHideReadOnly, ofEnableSizing};
  TStrings* GetFiles() { return FFiles.get(); }

protected:
  bool DoExecute(bool save);
  String ClassName() const override { return "TOpenDialog"; }

private:
  std::unique_ptr<TStringList> FFiles;
};

class TSaveDialog : public TOpenDialog {
public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override { return DoExecute(true); }

protected:
  String ClassName() const override { return "TSaveDialog"; }
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;
  bool Execute() override;
  TColor Color = clBlack;
  // Lines "ColorA=00BBGGRR" to "ColorP=…": the 16 custom colours.
  TStrings* GetCustomColors() { return FCustomColors.get(); }
  TColorDialogOptions Options;

protected:
  String ClassName() const override { return "TColorDialog"; }

private:
  std::unique_ptr<TStringList> FCustomColors;
};

class TFontDialog : public TCommonDialog {
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  bool Execute() override;
  TFont* GetFont() { return FFont.get(); }
  void SetFont(const TFont* value) { FFont->Assign(value); }

protected:
  String ClassName() const override { return "TFontDialog"; }

private:
  std::unique_ptr<TFont> FFont;
};

enum TFindOption {
  frDown,
  frFindNext,
  frHideMatchCase,
  frHideWholeWord,
  frHideUpDown,
  frMatchCase,
  frDisableMatchCase,
  frDisableUpDown,
  frDisableWholeWord,
  frReplace,
  frReplaceAll,
  frWholeWord,
  frShowHelp
};
using TFindOptions = TSet<TFindOption>;

// The modeless find dialog; OnFind fires for each "Find Next".
class TFindDialog : public TCommonDialog {
public:
  explicit TFindDialog(TComponent* AOwner);
  ~TFindDialog() override;
  bool Execute() override;
  void CloseDialog();
  String FindText;
  TFindOptions Options{frDown};
  HWND GetHandle() const { return FHandle; }
  TNotifyEvent OnFind;

protected:
  virtual HWND CreateDialogWindow(FINDREPLACEA& fr);
  virtual void HandleFindMessage(const FINDREPLACEA& fr);
  String ClassName() const override { return "TFindDialog"; }
  String FReplaceBuffer;

private:
  void WndProc(TMessage& Message);
  HWND FHandle = nullptr;
  HWND FNotify = nullptr;
  FINDREPLACEA FRecord{};
  char FFindBuffer[256] = {};
  char FReplaceText[256] = {};
};

class TReplaceDialog : public TFindDialog {
public:
  using TFindDialog::TFindDialog;
  String ReplaceText;
  TNotifyEvent OnReplace;

protected:
  HWND CreateDialogWindow(FINDREPLACEA& fr) override;
  void HandleFindMessage(const FINDREPLACEA& fr) override;
  String ClassName() const override { return "TReplaceDialog"; }
};
