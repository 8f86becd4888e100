// Forms, the application object and the screen, as the class library has
// them; the message loop lives here.
#pragma once

#include "Controls.h"

#include <functional>
#include <map>
#include <vector>

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TMessage& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, Exception* E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;

class TMainMenu;

class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Fires OnCreate; Application.CreateForm calls it once the constructor of
  // the derived form has built its components.
  virtual void AfterConstruction();

  void Show();
  void Hide() { SetVisible(false); }
  // Asks OnCloseQuery, then OnClose decides: hide, free (after the handler
  // returns), minimize or nothing. Closing the main form ends Application.Run.
  void Close();
  virtual bool CloseQuery();
  TModalResult ShowModal();
  // Frees the form once the message being handled is done.
  void Release();

  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  TFormState FormState;
  TPosition Position = poDesigned;
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons value);
  TWindowState GetWindowState() const { return FWindowState; }
  void SetWindowState(TWindowState value);
  bool KeyPreview = false;
  // A stay-on-top form lies above every window that is not top-most. An
  // MDI form holds its children in an MDI client window that fills the
  // room its aligned controls leave; an MDI child lives in the main form's
  // MDI client. Changing to or from an MDI style makes the window anew.
  TFormStyle GetFormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle value);
  // The MDI client window of an MDI form, none for other forms.
  HWND GetClientHandle() const { return FClientHandle; }
  // The active MDI child (none when there is none or for other forms), and
  // the children in the order the screen lists its forms.
  TCustomForm* GetActiveMDIChild() const;
  int GetMDIChildCount() const;
  TCustomForm* GetMDIChildren(int index) const;
  // A layered window: the whole form at AlphaBlendValue's opacity, and
  // TransparentColorValue's pixels see-through.
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool value);
  BYTE GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(BYTE value);
  bool GetTransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(bool value);
  TColor GetTransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor value);
  // The monitor the form belongs to; kept for forms placed by code.
  TDefaultMonitor DefaultMonitor = dmActiveForm;
  bool GetActive() const { return FActive; }
  TWinControl* GetActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void SetFocus() override;
  bool CanFocus() override;
  // Called by a control that got the focus.
  void SetFocusedControl(TWinControl* Control);
  // Forgets a control that goes away or hides.
  void ControlRemoved(TWinControl* Control);
  TMainMenu* GetMenu() const { return FMenu; }
  void SetMenu(TMainMenu* value);
  virtual bool IsShortCut(TMessage& Message);
  void UpdateActions();
  bool IsShowing() const override { return FShowing; }
  // Draws on the form; while OnPaint runs, on the DC being painted.
  TCanvas* GetCanvas() { return FCanvas.get(); }
  // Before the window exists, the client area its frame will leave.
  TRect GetClientRect() override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

  void WndProc(TMessage& Message) override;

protected:
  friend class TWinControl;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void DefaultHandler(TMessage& Message) override;
  void PaintWindow(HDC DC) override;
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TForm"; }

private:
  void SetWindowFocus();
  void CloseModal();
  void ApplyPosition();
  void CMShowingChanged(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMAction(TMessage& Message);
  void WMActivate(TMessage& Message);
  void UpdateLayeredAttributes();
  // MDI: the client window and child creation, the child's activation.
  void MDICreateParams(TCreateParams& Params);
  void CreateClientWindow();
  void ShowMDIChild();
  void FocusMDIChild();
  void WMMDIActivate(TMessage& Message);
  std::vector<TCustomForm*> MDIChildren() const;

  bool FAlphaBlend = false;
  BYTE FAlphaBlendValue = 255;
  bool FTransparentColor = false;
  TColor FTransparentColorValue = clBlack;
  TModalResult FModalResult = mrNone;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  bool FActive = false;
  bool FCreated = false;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TMainMenu* FMenu = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
  HWND FClientHandle = nullptr;
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
};

class TScreen : public TComponent {
public:
  using TComponent::TComponent;
  ~TScreen() override;
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor value);
  HCURSOR GetCursors(TCursor index);
  void SetCursors(TCursor index, HCURSOR handle);
  TCustomForm* GetActiveForm() const { return FActiveForm; }
  TWinControl* GetActiveControl() const { return FActiveControl; }
  int GetFormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* GetForms(int index) const { return FForms[index]; }
  int GetWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
  int GetHeight() const { return GetSystemMetrics(SM_CYSCREEN); }
  TRect GetWorkAreaRect() const;
  TRect GetDesktopRect() const;
  int GetPixelsPerInch() const;
  // The names of the installed font families, sorted.
  TStrings* GetFonts();

private:
  friend class TCustomForm;
  friend class TApplication;
  void AddForm(TCustomForm* form) { FForms.push_back(form); }
  void RemoveForm(TCustomForm* form);
  TCursor FCursor = crDefault;
  std::map<TCursor, HCURSOR> FCursors;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  std::unique_ptr<TStringList> FFonts;
};

class TApplication : public TComponent {
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize();
  // Creates a form owned by the application; the first becomes the main form.
  template <typename T> void CreateForm(T*& reference) {
    reference = new T(this);
    if (!FMainForm) FMainForm = reference;
    reference->AfterConstruction();
  }
  // Shows the main form and handles messages until it closes (or Terminate).
  void Run();
  void ProcessMessages();
  void HandleMessage();
  // Idle-time work: mouse enter and leave, OnIdle, action updates; then
  // waits for a message when asked to and nothing is left to do.
  void Idle(bool wait = true);
  void Terminate();
  bool GetTerminated() const { return FTerminated; }
  // The program holds the activation (one of its windows is active).
  bool GetActive() const { return FActive; }
  TCustomForm* GetMainForm() const { return FMainForm; }
  // The hidden window of the application (posted messages, broadcasts).
  HWND GetHandle();
  // Hands the exception being handled (call inside a catch block) to
  // OnException, or shows its message; EAbort is silent.
  void HandleException(TObject* Sender);
  void ShowException(const Exception& E);
  int MessageBox(const String& Text, const String& Caption, UINT Flags);
  String Title;
  // Hints of commands end with the command's shortcut.
  bool HintShortCuts = true;
  // Lowers and restores top-most windows around a popup of our own.
  void NormalizeTopMosts();
  void RestoreTopMosts();
  // A control being destroyed: forget it as the mouse control.
  void ControlDestroyed(TControl* Control);
  TControl* GetMouseControl() const { return FMouseControl; }
  // Runs a function on the GUI thread from another thread, waiting for it
  // (the message loop's side of TThread.Synchronize).
  void Synchronize(const std::function<void()>& method);
  // Runs what other threads queued; true when something ran.
  bool CheckSynchronize();

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  // The program gained or lost the activation (a window of another program
  // became active): raises OnActivate or OnDeactivate on a change.
  void AppActivated(bool active);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TApplication"; }

private:
  friend class TCustomForm;
  bool ProcessMessage(MSG& msg);
  void DoMouseIdle();
  bool IsKeyMsg(MSG& msg);
  bool IsDlgMsg(MSG& msg);
  void WndProc(TMessage& Message);

  TCustomForm* FMainForm = nullptr;
  DWORD FMainThreadId = 0;
  bool FTerminated = false;
  bool FActive = true;
  HWND FHandle = nullptr;
  TControl* FMouseControl = nullptr;
  std::vector<HWND> FTopMosts;
  int FTopMostLevel = 0;
  struct SyncQueue;
  std::unique_ptr<SyncQueue> FSync;

public:
  // A modeless dialog (find, replace) whose keys IsDialogMessage handles.
  HWND DialogHandle = nullptr;
};

extern TApplication* Application;
extern TScreen* Screen;

// The form of the application with that name (letter case ignored), or none.
TComponent* FindGlobalComponent(const String& Name);

// A hidden top-level window whose messages go to Method; it receives
// broadcasts such as WM_SYSCOLORCHANGE. Method calls DefWindowProc itself
// for what it does not handle.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);

// The form a floating control is docked into; it goes when its last client
// leaves.
class TCustomDockForm : public TForm {
public:
  explicit TCustomDockForm(TComponent* AOwner);
  void DoRemoveDockClient(TControl* Client) override;

protected:
  String ClassName() const override { return "TCustomDockForm"; }
};
