// MDI forms under Wine: the client window in the room the aligned controls
// leave, children made inside it, their activation by code and by the mouse,
// maximizing and restoring, and closing.
#include "ExtCtrls.h"
#include "Forms.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpUntil;

class TFrameForm : public TForm {
public:
  explicit TFrameForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Frame");
    SetFormStyle(fsMDIForm);
    SetBounds(40, 40, 640, 480);
    Top = new TPanel(this);
    Top->SetParent(this);
    Top->SetHeight(30);
    Top->SetAlign(alTop);
  }
  TPanel* Top;
};

class TChildForm : public TForm {
public:
  explicit TChildForm(TComponent* AOwner, const String& Caption) : TForm(AOwner) {
    SetCaption(Caption);
    SetFormStyle(fsMDIChild);
    SetBounds(10, 10, 300, 200);
    Edit = new TEdit(this);
    Edit->SetParent(this);
    Edit->SetBounds(8, 8, 120, 21);
    OnActivate = [this](TObject*) { ++Activations; };
    OnDeactivate = [this](TObject*) { ++Deactivations; };
  }
  TEdit* Edit;
  int Activations = 0;
  int Deactivations = 0;
};

class MdiForms : public ::testing::Test {
protected:
  void SetUp() override {
    Application->CreateForm(Frame);
    Frame->Show();
    ASSERT_TRUE(PumpUntil([&] { return Frame->GetActive(); }));
  }
  void TearDown() override { delete Frame; }
  TChildForm* AddChild(const String& Caption) {
    auto* child = new TChildForm(Application, Caption);
    child->Show();
    PumpUntil([&] { return Frame->GetActiveMDIChild() == child; });
    return child;
  }
  TFrameForm* Frame = nullptr;
};

TEST_F(MdiForms, ClientFillsTheRoomTheAlignedControlsLeave) {
  HWND client = Frame->GetClientHandle();
  ASSERT_NE(nullptr, client);
  EXPECT_EQ(Frame->GetHandle(), GetParent(client));
  auto clientRect = [&] {
    RECT r;
    GetWindowRect(client, &r);
    MapWindowPoints(nullptr, Frame->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
    return TRect(r);
  };
  EXPECT_EQ(TRect(0, 30, Frame->GetClientWidth(), Frame->GetClientHeight()), clientRect());
  Frame->SetBounds(40, 40, 500, 400);
  EXPECT_EQ(TRect(0, 30, Frame->GetClientWidth(), Frame->GetClientHeight()), clientRect());
  Frame->Top->SetHeight(50);
  EXPECT_EQ(TRect(0, 50, Frame->GetClientWidth(), Frame->GetClientHeight()), clientRect());
}

TEST_F(MdiForms, ChildrenLiveInTheClientAndTheLastShownIsActive) {
  TChildForm* first = AddChild("First");
  TChildForm* second = AddChild("Second");
  EXPECT_EQ(Frame->GetClientHandle(), GetParent(first->GetHandle()));
  EXPECT_EQ(2, Frame->GetMDIChildCount());
  EXPECT_EQ(first, Frame->GetMDIChildren(0));
  EXPECT_EQ(second, Frame->GetMDIChildren(1));
  EXPECT_EQ(nullptr, Frame->GetMDIChildren(2));
  EXPECT_EQ(second, Frame->GetActiveMDIChild());
  EXPECT_TRUE(second->GetActive());
  EXPECT_FALSE(first->GetActive());
  EXPECT_EQ(1, first->Deactivations);
  // The focus goes into the active child's first control.
  EXPECT_TRUE(PumpUntil([&] { return second->Edit->Focused(); }));
  EXPECT_EQ(second, Screen->GetActiveForm());
  // A form that is not an MDI form has neither client nor children.
  auto plain = std::make_unique<TForm>(nullptr);
  EXPECT_EQ(nullptr, plain->GetActiveMDIChild());
  EXPECT_EQ(0, plain->GetMDIChildCount());
}

TEST_F(MdiForms, ClickingAnInactiveChildActivatesIt) {
  TChildForm* first = AddChild("First");
  TChildForm* second = AddChild("Second");
  SetWindowPos(second->GetHandle(), nullptr, 320, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  guitest::ClickAt(first->GetHandle(), 200, 100);
  EXPECT_TRUE(PumpUntil([&] { return Frame->GetActiveMDIChild() == first; }));
  EXPECT_TRUE(first->GetActive());
  EXPECT_FALSE(second->GetActive());
  EXPECT_EQ(1, second->Deactivations);
  EXPECT_TRUE(PumpUntil([&] { return first->Edit->Focused(); }));
}

TEST_F(MdiForms, MaximizedChildFillsTheClientUntilRestored) {
  TChildForm* child = AddChild("Child");
  child->SetWindowState(wsMaximized);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(child->GetHandle()) != 0; }));
  EXPECT_EQ(wsMaximized, child->GetWindowState());
  RECT client, inside;
  ::GetClientRect(Frame->GetClientHandle(), &client);
  ::GetClientRect(child->GetHandle(), &inside);
  EXPECT_EQ(client.right, inside.right);
  EXPECT_EQ(client.bottom, inside.bottom);
  // A second child made while one is maximized comes maximized too, and the
  // first is restored behind it.
  TChildForm* other = AddChild("Other");
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(other->GetHandle()) != 0; }));
  EXPECT_FALSE(IsZoomed(child->GetHandle()));
  SendMessageA(Frame->GetClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(other->GetHandle()), 0);
  EXPECT_FALSE(IsZoomed(other->GetHandle()));
  EXPECT_EQ(wsNormal, other->GetWindowState());
  EXPECT_EQ(300, other->GetWidth());
}

TEST_F(MdiForms, ClosingAChildMinimizesItUnlessItsHandlerFreesIt) {
  TChildForm* child = AddChild("Child");
  SendMessageA(child->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(child->GetHandle()) != 0; }));
  EXPECT_EQ(1, Frame->GetMDIChildCount());
  child->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
  SendMessageA(child->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return Frame->GetMDIChildCount() == 0; }));
}

TEST(MdiFormsWithoutFrame, ChildNeedsAnMdiMainForm) {
  auto child = std::make_unique<TForm>(nullptr);
  child->SetFormStyle(fsMDIChild);
  EXPECT_THROW(child->HandleNeeded(), EInvalidOperation);
  // Back to a plain form it makes its window as any other.
  child->SetFormStyle(fsNormal);
  child->HandleNeeded();
  EXPECT_TRUE(child->HandleAllocated());
}

} // namespace
