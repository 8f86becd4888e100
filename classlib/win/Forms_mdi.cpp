// MDI forms: an MDI form keeps its children in a system MDI client window
// that fills what its aligned controls leave of its client area; an MDI
// child is made by that client (WM_MDICREATE) and runs the system's MDI child
// procedure underneath its own.
#include "Forms.h"

namespace {

bool IsMDIChildOf(TCustomForm* Form, HWND Client) {
  return Form->GetFormStyle() == fsMDIChild && Form->HandleAllocated() &&
         ::GetParent(Form->GetHandle()) == Client;
}

} // namespace

void TCustomForm::MDICreateParams(TCreateParams& Params) {
  if (FFormStyle != fsMDIChild) return;
  TCustomForm* main = Application->GetMainForm();
  Params.WndParent = nullptr;
  if (main && main != this && main->GetFormStyle() == fsMDIForm) {
    main->HandleNeeded();
    Params.WndParent = main->FClientHandle;
  }
  if (!Params.WndParent) throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
  Params.Style = (Params.Style & ~WS_POPUP) | WS_CHILD;
  Params.ExStyle &= ~(WS_EX_APPWINDOW | WS_EX_TOPMOST);
  // Messages the form leaves go to the system's MDI child procedure.
  Params.WindowClass.lpfnWndProc = DefMDIChildProcA;
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
  if (FFormStyle != fsMDIChild) {
    TWinControl::CreateWindowHandle(Params);
    FormState.Exclude(fsCreatedMDIChild);
    return;
  }
  MDICREATESTRUCTA create{};
  create.szClass = Params.WinClassName.c_str();
  create.szTitle = Params.Caption.c_str();
  create.hOwner = GetModuleHandleA(nullptr);
  create.x = Params.X;
  create.y = Params.Y;
  create.cx = Params.Width;
  create.cy = Params.Height;
  // A child made while the active one is maximized comes maximized.
  auto* active = reinterpret_cast<HWND>(SendMessageA(Params.WndParent, WM_MDIGETACTIVE, 0, 0));
  create.style = Params.Style | (active && IsZoomed(active) ? WS_MAXIMIZE : 0);
  create.lParam = reinterpret_cast<LPARAM>(Params.Param);
  SendMessageA(Params.WndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create));
  FormState.Include(fsCreatedMDIChild);
}

void TCustomForm::DestroyWindowHandle() {
  if (FHandle && FormState.Contains(fsCreatedMDIChild)) {
    HWND handle = FHandle;
    SendMessageA(::GetParent(handle), WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle), 0);
    FormState.Exclude(fsCreatedMDIChild);
    FHandle = nullptr;
    return;
  }
  TWinControl::DestroyWindowHandle();
  FClientHandle = nullptr;
}

void TCustomForm::CreateClientWindow() {
  CLIENTCREATESTRUCT create{nullptr, 0xFF00};
  FClientHandle =
      CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, 0,
                      0, 0, 0, FHandle, nullptr, GetModuleHandleA(nullptr), &create);
  if (!FClientHandle) throw EOutOfResources("Error creating window");
  Realign();
}

// The client activates a child as it makes it, before the child shows:
// the focus goes into it once it does.
void TCustomForm::ShowMDIChild() {
  ShowWindow(FHandle, FWindowState == wsMaximized || IsZoomed(FHandle) ? SW_SHOWMAXIMIZED
                      : FWindowState == wsMinimized                    ? SW_SHOWMINIMIZED
                                                                       : SW_SHOWNORMAL);
  SendMessageA(::GetParent(FHandle), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
  if (FActive) FocusMDIChild();
}

// The active child's control takes the focus while the frame is active.
void TCustomForm::FocusMDIChild() {
  // The child's own window took the focus while it had no control to give.
  if (!FActiveControl || FActiveControl == this || !FActiveControl->CanFocus())
    FActiveControl = FindNextControl(nullptr, true, true, false);
  if (GetActiveWindow() == GetAncestor(FHandle, GA_ROOT)) SetWindowFocus();
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  if (FClientHandle)
    SetWindowPos(FClientHandle, nullptr, Rect.left, Rect.top, Rect.Width(), Rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::DefaultHandler(TMessage& Message) {
  // The frame procedure would stretch the client over the aligned controls.
  if (FHandle && FClientHandle && Message.Msg != WM_SIZE) {
    Message.Result = DefFrameProcA(FHandle, FClientHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  TWinControl::DefaultHandler(Message);
}

void TCustomForm::WMMDIActivate(TMessage& Message) {
  DefaultHandler(Message);
  if (FFormStyle != fsMDIChild) return;
  const bool active = reinterpret_cast<HWND>(Message.LParam) == FHandle;
  if (active != FActive) {
    FActive = active;
    if (!active) return Deactivate();
    Screen->FActiveForm = this;
    Activate();
  }
  if (active) FocusMDIChild();
}

TCustomForm* TCustomForm::GetActiveMDIChild() const {
  if (!FClientHandle) return nullptr;
  auto* active = reinterpret_cast<HWND>(SendMessageA(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  auto* form = dynamic_cast<TCustomForm*>(FindControl(active));
  return form && IsMDIChildOf(form, FClientHandle) ? form : nullptr;
}

std::vector<TCustomForm*> TCustomForm::MDIChildren() const {
  std::vector<TCustomForm*> children;
  if (!FClientHandle) return children;
  for (int i = 0; i < Screen->GetFormCount(); ++i)
    if (IsMDIChildOf(Screen->GetForms(i), FClientHandle)) children.push_back(Screen->GetForms(i));
  return children;
}

int TCustomForm::GetMDIChildCount() const {
  return static_cast<int>(MDIChildren().size());
}

TCustomForm* TCustomForm::GetMDIChildren(int index) const {
  std::vector<TCustomForm*> children = MDIChildren();
  return index >= 0 && index < static_cast<int>(children.size()) ? children[index] : nullptr;
}
