// The track bar on a form driven by real input: the keys, the selection
// made with Shift held, a Ctrl-click on the thumb, clicks beside the
// thumb, jumps at both ends of the track, dragging, and the hot and
// pressed thumb.
#include "cxTrackBar.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void SendKey(WORD AKey, bool AUp) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = AKey;
  input.ki.dwFlags = AUp ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
  guitest::PumpFor(30);
}

// Holds a key down for the scope it lives in.
class THeldKey {
public:
  explicit THeldKey(WORD AKey) : FKey(AKey) { SendKey(AKey, false); }
  ~THeldKey() { SendKey(FKey, true); }
  THeldKey(const THeldKey&) = delete;
  THeldKey& operator=(const THeldKey&) = delete;

private:
  WORD FKey;
};

class TTestTrackBar : public TcxTrackBar {
public:
  using TcxTrackBar::MouseMove;
  using TcxTrackBar::TcxTrackBar;
};

struct TTrackForm {
  TTrackForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 420, 200);
    form->SetColor(clBtnFace);
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(8, 8, 100, 21);
    bar = new TTestTrackBar(form.get());
    bar->SetBounds(8, 40, 196, 76);
    bar->SetParent(form.get());
    bar->GetProperties()->OnChange = [this](TObject* Sender) {
      EXPECT_EQ(bar, Sender);
      ++changes;
    };
    form->Show();
    form->Update();
    guitest::PumpFor(30);
  }
  TcxCustomTrackBarProperties* Props() const { return bar->GetProperties(); }
  HWND Handle() const { return bar->GetHandle(); }
  TPoint ThumbCentre() const {
    const TRect& t = Props()->ThumbRect;
    return TPoint((t.left + t.right) / 2, (t.top + t.bottom) / 2);
  }
  // The pointer's x that stands for the value on the track.
  int XOf(int AValue) const {
    const TcxCustomTrackBarProperties* p = Props();
    return p->TrackRect.left + static_cast<int>((AValue - p->GetMin()) * p->Scale) + p->ThumbLength / 2;
  }
  void ClickAt(int X, int Y) {
    guitest::ClickAt(Handle(), X, Y);
    guitest::PumpFor(40);
  }
  void Press(WORD AKey) {
    guitest::PressKey(AKey);
    guitest::PumpFor(40);
  }
  void Start(int APosition) {
    bar->SetFocus();
    bar->SetPosition(APosition);
    guitest::PumpFor(20);
    changes = 0;
  }
  std::unique_ptr<TForm> form;
  TEdit* edit;
  TTestTrackBar* bar;
  int changes = 0;
};

// ---- Keys ----

TEST(TrackBarWindow, KeysStepPageAndJumpWithinTheRange) {
  TTrackForm f;
  f.Props()->SetPageSize(4);
  const struct {
    int from;
    WORD key;
    int to;
  } kCases[] = {{5, VK_RIGHT, 6}, {5, VK_DOWN, 6},  {5, VK_LEFT, 4},   {5, VK_UP, 4},    {5, VK_HOME, 0},
                {5, VK_END, 10},  {8, VK_NEXT, 10}, {5, VK_NEXT, 9},   {3, VK_PRIOR, 0}, {0, VK_LEFT, 0},
                {10, VK_RIGHT, 10}, {0, VK_HOME, 0}};
  for (const auto& c : kCases) {
    f.Start(c.from);
    f.Press(c.key);
    EXPECT_EQ(c.to, f.bar->GetPosition()) << c.from << " key " << c.key;
    EXPECT_EQ(c.to == c.from ? 0 : 1, f.changes) << c.from << " key " << c.key;
  }
}

// Shift held from 3 while Right goes twice selects 3..5; once Shift is up
// the next Right moves on without touching the selection. A Ctrl-click on
// the thumb clears it to 0..0.
TEST(TrackBarWindow, ShiftSelectsFromItsAnchorAndACtrlClickOnTheThumbClears) {
  TTrackForm f;
  f.Start(3);
  {
    THeldKey shift(VK_SHIFT);
    EXPECT_TRUE(f.bar->IsSelecting());
    SendKey(VK_RIGHT, false);
    SendKey(VK_RIGHT, true);
    SendKey(VK_RIGHT, false);
    SendKey(VK_RIGHT, true);
  }
  EXPECT_FALSE(f.bar->IsSelecting());
  EXPECT_EQ(5, f.bar->GetPosition());
  EXPECT_EQ(3, f.Props()->GetSelectionStart());
  EXPECT_EQ(5, f.Props()->GetSelectionEnd());
  f.Press(VK_RIGHT);
  EXPECT_EQ(6, f.bar->GetPosition());
  EXPECT_EQ(3, f.Props()->GetSelectionStart());
  EXPECT_EQ(5, f.Props()->GetSelectionEnd());
  {
    THeldKey shift(VK_SHIFT); // from 6 down to 4: the anchor is the end
    SendKey(VK_LEFT, false);
    SendKey(VK_LEFT, true);
    SendKey(VK_LEFT, false);
    SendKey(VK_LEFT, true);
  }
  EXPECT_EQ(4, f.Props()->GetSelectionStart());
  EXPECT_EQ(6, f.Props()->GetSelectionEnd());
  // The pointer goes there first: under Wine a move resets the modifier
  // keys to those of the display, which knows nothing of injected keys.
  const TPoint thumb = f.ThumbCentre();
  guitest::MouseEventAt(f.Handle(), thumb.x, thumb.y);
  {
    THeldKey ctrl(VK_CONTROL);
    POINT p{thumb.x, thumb.y};
    ClientToScreen(f.Handle(), &p);
    guitest::SendMouseAt(p, MOUSEEVENTF_LEFTDOWN);
    guitest::PumpFor(30);
    guitest::SendMouseAt(p, MOUSEEVENTF_LEFTUP);
    guitest::PumpFor(30);
  }
  EXPECT_EQ(4, f.bar->GetPosition());
  EXPECT_EQ(0, f.Props()->GetSelectionStart());
  EXPECT_EQ(0, f.Props()->GetSelectionEnd());
  f.bar->Invalidate();
  f.form->Update();
  EXPECT_FALSE(f.bar->GetViewInfo()->HasSelection);
}

// ---- Mouse ----

// A click beside the thumb moves by one towards it, wherever on that side.
TEST(TrackBarWindow, AClickBesideTheThumbMovesByOne) {
  TTrackForm f;
  f.Start(5);
  const int y = f.ThumbCentre().y;
  const TRect thumb = f.Props()->ThumbRect;
  const struct {
    int x, to;
  } kCases[] = {{thumb.right + 2, 6}, {f.bar->GetWidth() - 10, 7}, {thumb.left - 30, 6}, {12, 5}};
  for (const auto& c : kCases) {
    f.ClickAt(c.x, y);
    EXPECT_EQ(c.to, f.bar->GetPosition()) << c.x;
  }
  EXPECT_EQ(4, f.changes);
  EXPECT_TRUE(f.bar->Focused());
}

// Jumping gives the value under the pointer, kept within the range at both
// ends of the track; a track no longer than its thumb has no scale and
// does not jump.
TEST(TrackBarWindow, JumpsStayWithinTheRangeAtBothEnds) {
  TTrackForm f;
  f.Props()->ThumbStep = cxtsJump;
  f.Props()->SetMin(5);
  f.Props()->SetMax(15);
  f.Start(10);
  const int y = f.ThumbCentre().y;
  f.ClickAt(f.Props()->TrackRect.right - 2, y);
  EXPECT_EQ(15, f.bar->GetPosition()) << "the far end, not 10";
  f.ClickAt(f.XOf(8), y);
  EXPECT_EQ(8, f.bar->GetPosition());
  // A wide range: the margins beyond the track stand for values outside it.
  f.Props()->SetMax(500);
  f.Start(200);
  const TRect client = f.bar->GetViewInfo()->ClientRect;
  f.ClickAt(client.right - 2, y);
  EXPECT_EQ(500, f.bar->GetPosition());
  f.ClickAt(client.left + 1, y);
  EXPECT_EQ(5, f.bar->GetPosition());
  // Too short a track: the scale is not positive.
  f.bar->SetWidth(24);
  f.form->Update();
  guitest::PumpFor(20);
  ASSERT_LE(f.Props()->Scale, 0);
  f.Start(9);
  f.ClickAt(f.bar->GetWidth() / 2, f.bar->GetViewInfo()->ClientRect.top + 1);
  EXPECT_EQ(9, f.bar->GetPosition());
  EXPECT_EQ(0, f.changes);
}

// Dragging the thumb follows the pointer and stops at the ends.
TEST(TrackBarWindow, DraggingTheThumbFollowsThePointer) {
  TTrackForm f;
  f.Start(2);
  const TPoint from = f.ThumbCentre();
  guitest::DragAt(f.Handle(), from, TPoint(f.XOf(8), from.y));
  guitest::PumpFor(40);
  EXPECT_LE(std::abs(f.bar->GetPosition() - 8), 1) << f.bar->GetPosition();
  EXPECT_GT(f.changes, 0);
  guitest::DragAt(f.Handle(), f.ThumbCentre(), TPoint(f.bar->GetWidth() + 60, from.y));
  guitest::PumpFor(40);
  EXPECT_EQ(10, f.bar->GetPosition());
  EXPECT_EQ(0, f.Props()->MouseState & tbmsPressed);
}

// A control without extent gives no ratio: a drag moves nothing.
TEST(TrackBarWindow, ADragOnAControlWithoutExtentMovesNothing) {
  TTrackForm f;
  f.Start(4);
  f.bar->SetWidth(0);
  f.Props()->MouseState |= tbmsPressed;
  f.bar->MouseMove(TShiftState{ssLeft}, 50, 10);
  EXPECT_EQ(4, f.bar->GetPosition());
  EXPECT_EQ(0, f.changes);
}

// The thumb is hot under the pointer and pressed while the button is down
// on it, also when the pointer leaves it; both end with the release.
TEST(TrackBarWindow, TheThumbIsHotAndPressedFromTheMouseState) {
  TTrackForm f;
  f.Start(5);
  const TPoint thumb = f.ThumbCentre();
  auto state = [&] {
    f.form->Update();
    return f.bar->GetViewInfo()->ThumbState;
  };
  guitest::MouseEventAt(f.Handle(), thumb.x, thumb.y);
  guitest::PumpFor(40);
  EXPECT_EQ(tbmsOverControl | tbmsOverThumb, f.Props()->MouseState);
  EXPECT_EQ(tbtsHot, state());
  guitest::MouseEventAt(f.Handle(), thumb.x, thumb.y, MOUSEEVENTF_LEFTDOWN);
  guitest::PumpFor(40);
  EXPECT_TRUE(f.Props()->MouseState & tbmsPressed);
  EXPECT_EQ(tbtsPressed, state());
  guitest::MouseEventAt(f.Handle(), thumb.x, f.bar->GetHeight() + 40);
  guitest::PumpFor(40);
  EXPECT_EQ(tbtsPressed, state()) << "captured";
  guitest::MouseEventAt(f.Handle(), thumb.x, f.bar->GetHeight() + 40, MOUSEEVENTF_LEFTUP);
  guitest::PumpFor(60);
  EXPECT_EQ(0, f.Props()->MouseState & (tbmsPressed | tbmsOverThumb));
  EXPECT_EQ(tbtsNormal, state());
  EXPECT_EQ(5, f.bar->GetPosition());
  const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
  EXPECT_FALSE(capture.SavePng("trackbar-window").empty());
}

// The program's position is stored as given; the keys bring it back.
TEST(TrackBarWindow, AProgramPositionOutsideTheRangeStaysUntilTheKeys) {
  TTrackForm f;
  f.Start(5);
  f.bar->SetPosition(25);
  EXPECT_EQ(25, f.bar->GetPosition());
  EXPECT_EQ(1, f.changes);
  f.Press(VK_LEFT);
  EXPECT_EQ(10, f.bar->GetPosition());
}

} // namespace
