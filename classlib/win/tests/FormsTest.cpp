// Forms and controls under Wine: alignment, focus and dialog keys, modal
// results, closing, the main form's life and the exception boundary.
#include "ExtCtrls.h"
#include "Forms.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpUntil;

// A form with a modal OK/Cancel pair and two edits, as dialogs have them.
class TDialogForm : public TForm {
public:
  explicit TDialogForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Dialog");
    SetBorderStyle(bsDialog);
    Position = poScreenCenter;
    SetClientSize(300, 140);
    edFirst = new TEdit(this);
    edFirst->SetParent(this);
    edFirst->SetBounds(10, 10, 200, 21);
    edSecond = new TEdit(this);
    edSecond->SetParent(this);
    edSecond->SetBounds(10, 40, 200, 21);
    butRun = new TButton(this);
    butRun->SetParent(this);
    butRun->SetCaption("E&xecute");
    butRun->SetBounds(10, 100, 75, 25);
    butRun->OnClick = [this](TObject*) { ++runClicks; };
    butOK = new TButton(this);
    butOK->SetParent(this);
    butOK->SetCaption("OK");
    butOK->SetDefault(true);
    butOK->ModalResult = mrOk;
    butOK->SetBounds(130, 100, 75, 25);
    butCancel = new TButton(this);
    butCancel->SetParent(this);
    butCancel->SetCaption("Cancel");
    butCancel->Cancel = true;
    butCancel->ModalResult = mrCancel;
    butCancel->SetBounds(215, 100, 75, 25);
  }
  TEdit* edFirst;
  TEdit* edSecond;
  TButton* butRun;
  TButton* butOK;
  TButton* butCancel;
  int runClicks = 0;
};

TEST(Forms, AlignedPanelsFollowTheFormSize) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(50, 50, 400, 300);
  auto* top = new TPanel(form.get());
  top->SetParent(form.get());
  top->SetHeight(40);
  top->SetAlign(alTop);
  auto* bottom = new TPanel(form.get());
  bottom->SetParent(form.get());
  bottom->SetHeight(30);
  bottom->SetAlign(alBottom);
  auto* left = new TPanel(form.get());
  left->SetParent(form.get());
  left->SetWidth(80);
  left->SetAlign(alLeft);
  auto* client = new TPanel(form.get());
  client->SetParent(form.get());
  client->SetAlign(alClient);
  // Nested: a panel at the top of the client panel, a button anchored right.
  auto* inner = new TPanel(form.get());
  inner->SetParent(client);
  inner->SetBevelOuter(bvNone);
  inner->SetHeight(20);
  inner->SetAlign(alTop);
  auto* button = new TButton(form.get());
  button->SetParent(client);
  client->SetBounds(client->GetLeft(), client->GetTop(), client->GetWidth(), client->GetHeight());
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  button->SetBounds(client->GetClientWidth() - 85, client->GetClientHeight() - 35, 75, 25);
  button->SetAnchors(TAnchors{akRight, akBottom});

  struct Case {
    int clientWidth, clientHeight;
  };
  for (Case c : {Case{400, 300}, Case{520, 410}, Case{300, 200}}) {
    SCOPED_TRACE(testing::Message() << c.clientWidth << "x" << c.clientHeight);
    form->SetClientSize(c.clientWidth, c.clientHeight);
    EXPECT_EQ(TRect(0, 0, c.clientWidth, 40), top->GetBoundsRect());
    EXPECT_EQ(TRect(0, c.clientHeight - 30, c.clientWidth, c.clientHeight), bottom->GetBoundsRect());
    EXPECT_EQ(TRect(0, 40, 80, c.clientHeight - 30), left->GetBoundsRect());
    EXPECT_EQ(TRect(80, 40, c.clientWidth, c.clientHeight - 30), client->GetBoundsRect());
    // Inside the client panel's one-pixel bevel.
    EXPECT_EQ(TRect(1, 1, client->GetWidth() - 1, 21), inner->GetBoundsRect());
    EXPECT_EQ(client->GetClientWidth() - 85, button->GetLeft());
    EXPECT_EQ(client->GetClientHeight() - 35, button->GetTop());
  }
  guitest::TCapture::Paint(form->GetHandle()).SavePng("forms_aligned_panels");
}

TEST(Forms, TabAndDialogKeysMoveFocusAndPressButtons) {
  auto form = std::make_unique<TDialogForm>(nullptr);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->edFirst->Focused(); })) << "the first tab stop gets the focus";
  guitest::PressKey(VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return form->edSecond->Focused(); }));
  guitest::PressKey(VK_TAB, guitest::kShift);
  EXPECT_TRUE(PumpUntil([&] { return form->edFirst->Focused(); }));
  guitest::PressKey('X', guitest::kAlt);
  EXPECT_TRUE(PumpUntil([&] { return form->runClicks == 1; })) << "Alt+X presses E&xecute";
  guitest::TCapture::Paint(form->GetHandle()).SavePng("forms_dialog");
}

TEST(Forms, ShowModalReturnsTheModalResultOfTheKeyPressed) {
  struct Case {
    WORD key;
    TModalResult expected;
  };
  for (Case c : {Case{VK_RETURN, mrOk}, Case{VK_ESCAPE, mrCancel}}) {
    SCOPED_TRACE(c.key);
    auto form = std::make_unique<TDialogForm>(nullptr);
    bool sawFocus = false;
    guitest::AnswerNextForm([&](TCustomForm* f) {
      sawFocus = static_cast<TDialogForm*>(f)->edFirst->Focused();
      guitest::PressKey(c.key);
    });
    EXPECT_EQ(c.expected, form->ShowModal());
    EXPECT_TRUE(sawFocus);
    EXPECT_FALSE(form->GetVisible());
  }
}

TEST(Forms, CloseQueryCanRefuse) {
  auto form = std::make_unique<TForm>(nullptr);
  bool allow = false;
  int closes = 0;
  form->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = allow; };
  form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  form->Show();
  form->Close();
  EXPECT_TRUE(form->GetVisible());
  EXPECT_EQ(0, closes);
  allow = true;
  form->Close();
  EXPECT_FALSE(form->GetVisible());
  EXPECT_EQ(1, closes);
}

TEST(Forms, MainFormCanBeCreatedAndDestroyedTwice) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(main, Application->GetMainForm());
    int shown = 0;
    main->OnShow = [&](TObject*) {
      ++shown;
      // Closing from inside the loop ends Run, not the process.
      PostMessageA(main->GetHandle(), WM_CLOSE, 0, 0);
    };
    Application->Run();
    EXPECT_EQ(1, shown);
    EXPECT_TRUE(Application->GetTerminated());
    delete main;
    EXPECT_EQ(nullptr, Application->GetMainForm());
  }
}

TEST(Forms, GlobalComponentsAreTheFormsFoundByName) {
  auto first = std::make_unique<TForm>(nullptr);
  auto second = std::make_unique<TForm>(nullptr);
  first->SetName("LayoutOwner");
  second->SetName("OtherForm");
  EXPECT_EQ(FindGlobalComponent("layoutowner"), first.get());
  EXPECT_EQ(FindGlobalComponent("OtherForm"), second.get());
  EXPECT_EQ(FindGlobalComponent("Missing"), nullptr);
  second.reset();
  EXPECT_EQ(FindGlobalComponent("OtherForm"), nullptr);
}

TEST(Forms, ExceptionInClickHandlerReachesHandleException) {
  guitest::TExceptionCapture capture;
  auto form = std::make_unique<TDialogForm>(nullptr);
  form->butRun->OnClick = [](TObject*) { throw Exception("Click failed"); };
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->edFirst->Focused(); }));
  guitest::ClickControl(form->butRun);
  ASSERT_TRUE(PumpUntil([&] { return !capture.Messages.empty(); }));
  EXPECT_EQ("Click failed", capture.Messages[0]);
  // The program goes on: the next click is handled as usual.
  form->butRun->OnClick = [&](TObject*) { ++form->runClicks; };
  guitest::ClickControl(form->butRun);
  EXPECT_TRUE(PumpUntil([&] { return form->runClicks == 1; }));
}

TEST(Forms, UnhandledExceptionIsShownInAMessageBox) {
  auto form = std::make_unique<TDialogForm>(nullptr);
  form->butRun->OnClick = [](TObject*) { throw Exception("Nothing to run"); };
  form->Show();
  String shown;
  guitest::AnswerNextModal([&](HWND box) {
    shown = guitest::DialogText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  PostMessageA(form->butRun->GetHandle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !shown.empty(); }));
  EXPECT_EQ("Nothing to run.", shown);
}

} // namespace

namespace {

TEST(Forms, PositionCentresTheForm) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 300, 200);
  form->Position = poScreenCenter;
  form->Show();
  EXPECT_EQ((Screen->GetWidth() - 300) / 2, form->GetLeft());
  EXPECT_EQ((Screen->GetHeight() - 200) / 2, form->GetTop());
  // A dialog centred on another form placed as the main form.
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBounds(100, 80, 600, 400);
  main->Show();
  auto dialog = std::make_unique<TForm>(nullptr);
  dialog->SetBounds(0, 0, 200, 100);
  dialog->Position = poMainFormCenter;
  dialog->Show();
  EXPECT_EQ(100 + (600 - 200) / 2, dialog->GetLeft());
  EXPECT_EQ(80 + (400 - 100) / 2, dialog->GetTop());
  dialog.reset();
  delete main;
}

TEST(Forms, KeyPreviewLetsTheFormSeeKeysFirst) {
  auto form = std::make_unique<TDialogForm>(nullptr);
  form->KeyPreview = true;
  String seen;
  form->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { seen += static_cast<char>(Key); };
  form->OnKeyPress = [&](TObject*, char& Key) {
    if (Key == 'q') Key = 0; // swallowed: the edit never sees it
  };
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->edFirst->Focused(); }));
  guitest::TypeText("aqb");
  EXPECT_TRUE(PumpUntil([&] { return form->edFirst->GetText() == "ab"; }));
  EXPECT_EQ("AQB", seen);
}

TEST(Forms, OnPaintDrawsOnTheFormCanvas) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetClientSize(120, 80);
  form->OnPaint = [&](TObject*) {
    form->GetCanvas()->GetBrush()->SetColor(clTeal);
    form->GetCanvas()->FillRect(TRect(10, 10, 50, 50));
  };
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  label->SetBounds(60, 10, 50, 20);
  label->SetColor(clYellow);
  label->SetCaption("Label");
  EXPECT_EQ(label->GetCanvas()->TextWidth("Label"), label->GetWidth())
      << "the label sizes itself to its text";
  form->Show();
  for (bool style : {true, false}) {
    SCOPED_TRACE(style);
    guitest::SetVisualStyle(style);
    guitest::TCapture capture = guitest::TCapture::Paint(form->GetHandle());
    capture.SavePng(style ? "forms_on_paint_styled" : "forms_on_paint_classic");
    EXPECT_EQ(static_cast<COLORREF>(clTeal), capture.Pixel(30, 30));
    const TRect r = label->GetBoundsRect();
    EXPECT_EQ(static_cast<COLORREF>(clYellow), capture.Pixel(r.right - 1, r.bottom - 1))
        << "the label paints its own background";
    EXPECT_GT(capture.CountPixels(r, RGB(0, 0, 0)), 10) << "the caption in black";
  }
  guitest::SetVisualStyle(true);
}

TEST(Forms, TheWheelReachesTheControlAndUnhandledItsParent) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetClientSize(200, 100);
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 200, 100);
  auto* inner = new TPanel(form.get());
  inner->SetParent(panel);
  inner->SetBounds(10, 10, 100, 40);
  bool innerHandles = true;
  int innerDelta = 0;
  int panelDelta = 0;
  TShiftState innerShift;
  inner->OnMouseWheel = [&](TObject*, TShiftState shift, int delta, TPoint, bool& handled) {
    innerDelta += delta;
    innerShift = shift;
    handled = innerHandles;
  };
  panel->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    panelDelta += delta;
    handled = true;
  };
  form->Show();
  SendMessageA(inner->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(20, 20));
  EXPECT_EQ(WHEEL_DELTA, innerDelta);
  EXPECT_TRUE(innerShift.Contains(ssCtrl));
  EXPECT_EQ(0, panelDelta) << "handled by the inner panel";
  innerHandles = false;
  SendMessageA(inner->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(20, 20));
  EXPECT_EQ(0, innerDelta);
  EXPECT_EQ(-WHEEL_DELTA, panelDelta) << "the parent gets what the inner panel leaves";
}

} // namespace

namespace {

bool IsTopMost(HWND wnd) {
  return (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(Forms, StayOnTopFormsAreTopMostBeforeAndAfterTheirWindowExists) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(50, 50, 200, 100);
  form->SetFormStyle(fsStayOnTop);
  form->Show();
  EXPECT_TRUE(IsTopMost(form->GetHandle())) << "set before the window";
  form->SetFormStyle(fsNormal);
  EXPECT_FALSE(IsTopMost(form->GetHandle()));
  form->SetFormStyle(fsStayOnTop);
  EXPECT_TRUE(IsTopMost(form->GetHandle())) << "set on the existing window";
  auto other = std::make_unique<TForm>(nullptr);
  other->SetBounds(60, 60, 200, 100);
  other->Show();
  EXPECT_EQ(form->GetHandle(), WindowFromPoint(POINT{100, 100})) << "stays above a later normal form";
}

} // namespace

namespace {

struct TLayered {
  bool layered;
  COLORREF key;
  BYTE alpha;
  DWORD flags;
};

TLayered LayeredOf(HWND wnd) {
  TLayered result{(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, 0, 0, 0};
  if (result.layered) GetLayeredWindowAttributes(wnd, &result.key, &result.alpha, &result.flags);
  return result;
}

TEST(Forms, AlphaBlendAndTransparentColorMakeTheWindowLayered) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(50, 50, 200, 100);
  form->SetAlphaBlendValue(128);
  form->SetAlphaBlend(true);
  form->Show();
  TLayered l = LayeredOf(form->GetHandle());
  EXPECT_TRUE(l.layered) << "set before the window";
  EXPECT_EQ(128, l.alpha);
  EXPECT_EQ(DWORD(LWA_ALPHA), l.flags);
  form->SetTransparentColorValue(clLime);
  form->SetTransparentColor(true);
  l = LayeredOf(form->GetHandle());
  EXPECT_EQ(DWORD(LWA_ALPHA | LWA_COLORKEY), l.flags);
  EXPECT_EQ(RGB(0, 255, 0), l.key);
  form->SetAlphaBlend(false);
  form->SetTransparentColor(false);
  EXPECT_FALSE(LayeredOf(form->GetHandle()).layered) << "both off: an ordinary window again";
}

class TBiDiCounter : public TPanel {
public:
  using TPanel::TPanel;
  int changes = 0;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_BIDIMODECHANGED) ++changes;
    TPanel::WndProc(Message);
  }
};

TEST(Controls, ABiDiModeChangeReachesTheControlOnce) {
  TBiDiCounter control(nullptr);
  EXPECT_EQ(bdLeftToRight, control.GetBiDiMode());
  control.SetBiDiMode(bdRightToLeft);
  control.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(bdRightToLeft, control.GetBiDiMode());
  EXPECT_EQ(1, control.changes);
}

} // namespace
