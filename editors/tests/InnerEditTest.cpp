// An editor with an inner window: it follows the properties' read-only
// state, reports its changes as the user's, and its window procedure can be
// hooked by the editor and given back.
#include "EditTest.h"

#include <gtest/gtest.h>

namespace {

class TInner : public TEdit, public IcxCustomInnerEdit {
public:
  explicit TInner(TComponent* AOwner) : TEdit(AOwner) {}
  TcxContainer* Container = nullptr;
  TWinControl* GetControl() override { return this; }
  TcxContainer* GetControlContainer() override { return Container; }
  bool GetReadOnly() override { return TEdit::GetReadOnly(); }
  void SetReadOnly(bool Value) override { TEdit::SetReadOnly(Value); }
  void SetOnChange(TNotifyEvent Value) override { OnChange = std::move(Value); }
};

class TInnerEditEdit : public TTestEdit {
public:
  using TTestEdit::TTestEdit;
  std::vector<UINT> Hooked;
  TInner* Inner = nullptr;
  IcxCustomInnerEdit* CreateInnerEdit() override {
    Inner = new TInner(this);
    Inner->Container = this;
    Inner->BorderStyle = bsNone;
    Inner->SetParent(this);
    return Inner;
  }
  bool HasInnerEditClass() const override { return true; }
  void CallInnerWndProc(TMessage& Message) override {
    Hooked.push_back(Message.Msg);
    TTestEdit::CallInnerWndProc(Message);
  }
};

TEST(EditInner, TheInnerEditFollowsReadOnlyReportsChangesAndCanBeHooked) {
  TEditForm f;
  auto* edit = new TInnerEditEdit(f.form.get());
  edit->SetParent(f.form.get());
  edit->SetAutoSize(false);
  edit->SetBounds(220, 50, 120, 24);
  edit->AfterConstruction();
  ASSERT_NE(nullptr, edit->Inner);
  EXPECT_EQ(edit->Inner, edit->GetInnerControl());
  EXPECT_FALSE(edit->IsInnerEditMissing());
  edit->GetProperties()->SetReadOnly(true);
  EXPECT_TRUE(edit->Inner->GetReadOnly());
  edit->GetProperties()->SetReadOnly(false);
  EXPECT_FALSE(edit->Inner->GetReadOnly());
  // The inner control sits on the client rectangle.
  EXPECT_EQ(edit->GetViewInfo()->ClientRect, edit->Inner->GetBoundsRect());
  int changes = 0;
  edit->GetProperties()->OnChange = [&changes](TObject*) { ++changes; };
  edit->Inner->SetFocus();
  guitest::PumpFor(20);
  ASSERT_TRUE(edit->IsFocused());
  edit->Inner->SetText("typed");
  EXPECT_EQ(1, changes);
  EXPECT_TRUE(edit->GetModifiedSinceEnter());
  edit->HookInnerWndProc();
  edit->Inner->Perform(WM_USER + 7);
  edit->UnhookInnerWndProc();
  edit->Inner->Perform(WM_USER + 8);
  EXPECT_EQ(std::vector<UINT>{WM_USER + 7}, edit->Hooked);
}

} // namespace
