// Containers on a form for the tests: one with an inner edit that hands its
// keys to the container first, and a picture of the screen for what window
// regions let through.
#pragma once

#include "cxContainer.h"

#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class TTestContainer;

// An edit inside a container, as the editors' inner edits are: it wants Tab
// and lets the container see each key first.
class TTestInnerEdit : public TEdit, public IcxContainerInnerControl {
public:
  explicit TTestInnerEdit(TComponent* AOwner) : TEdit(AOwner) {}
  TTestContainer* Container = nullptr;
  TWinControl* GetControl() override { return this; }
  TcxContainer* GetControlContainer() override;
  void WndProc(TMessage& Message) override;

protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
};

class TTestContainer : public TcxContainer {
public:
  explicit TTestContainer(TComponent* AOwner, bool AWithEdit) : TcxContainer(AOwner) {
    if (!AWithEdit) return;
    Edit = new TTestInnerEdit(this);
    Edit->Container = this;
    Edit->BorderStyle = bsNone;
    Edit->SetTabStop(false);
    Edit->SetParent(this);
    SetInnerControl(Edit);
  }
  TTestInnerEdit* Edit = nullptr;
  bool Focusable = true;
  bool TabKey = false;
  using TcxContainer::FocusChanged;
  using TcxContainer::KeyDown;
  bool HandlesTabKey() override { return TabKey; }

protected:
  bool MayFocus() override { return Focusable && TcxContainer::MayFocus(); }
};

inline TcxContainer* TTestInnerEdit::GetControlContainer() {
  return Container;
}

inline void TTestInnerEdit::WndProc(TMessage& Message) {
  TEdit::WndProc(Message);
  if (Message.Msg == WM_GETDLGCODE) Message.Result |= DLGC_WANTTAB;
  if ((Message.Msg != WM_SETFOCUS && Message.Msg != WM_KILLFOCUS) || !Container) return;
  // Seen as a bare window control, the container is past its own destructor:
  // calling it then reaches whatever its former table of methods holds.
  TControl* container = Container;
  EXPECT_NE(nullptr, dynamic_cast<TcxContainer*>(container)) << "the container is whole while its windows go";
  if (dynamic_cast<TcxContainer*>(container)) Container->FocusChanged();
}

inline void TTestInnerEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (Container) Container->KeyDown(Key, Shift);
  if (Key != 0) TEdit::KeyDown(Key, Shift);
}

// A form of silver with an edit above and below the container.
struct TContainerForm {
  explicit TContainerForm(bool AWithEdit = true) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 320, 240);
    form->SetColor(clSilver);
    above = new TEdit(form.get());
    above->SetParent(form.get());
    above->SetBounds(10, 10, 120, 21);
    container = new TTestContainer(form.get(), AWithEdit);
    container->SetBounds(10, 50, 200, 60);
    container->SetParent(form.get());
    below = new TEdit(form.get());
    below->SetParent(form.get());
    below->SetBounds(10, 140, 120, 21);
    form->Show();
    form->Update();
    above->SetFocus();
    guitest::PumpFor(20);
  }
  // What the screen shows of the form's client area: window regions count.
  guitest::TCapture ScreenShot() {
    const TRect client = form->GetClientRect();
    guitest::TCapture capture(client.Width(), client.Height());
    const TPoint origin = form->ClientToScreen(TPoint(0, 0));
    HDC screen = GetDC(nullptr);
    BitBlt(capture.DC(), 0, 0, client.Width(), client.Height(), screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return capture;
  }
  std::unique_ptr<TForm> form;
  TEdit* above;
  TTestContainer* container;
  TEdit* below;
};
