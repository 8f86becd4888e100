// Edit and combo items on a docked toolbar: editing in the in-place window
// by real keys and clicks, the drop-down list of a string combo, and the
// pixels each painter draws.
#include "BarsTest.h"
#include "dxBarEdits.h"
#include "dxBarPainters.h"

#include "GuiTest.h"

#include "Forms.h"
#include "StdCtrls.h"

namespace {

class EditItemsTest : public EditingBarsTest {
protected:
  // A form with a plain edit that has the focus, and a toolbar docked at the
  // top with the edit "Edit1" and the combo "Combo1" of six fruits.
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      Edit = new TdxBarEdit(m->GetOwnerForm());
      Edit->SetName("Edit1");
      Edit->SetCategory(0);
      Edit->SetWidth(120);
      AddLink(bar->GetItemLinks(), Edit);
      Combo = new TdxBarCombo(m->GetOwnerForm());
      Combo->SetName("Combo1");
      Combo->SetCategory(0);
      Combo->SetWidth(120);
      for (const char* fruit : {"Apple", "Apricot", "Banana", "Cherry", "Date", "Fig"})
        Combo->GetItems()->Add(fruit);
      AddLink(bar->GetItemLinks(), Combo, true);
    });
    ShowDocked(520, 260, 120);
  }

  void DockTop() { Window = DockTopWindow(Bar); }

  TdxBarItemLink* Link(int i) const { return Bar->GetItemLinks()->GetItem(i); }
  TdxBarEditControl* EditControl() const { return dynamic_cast<TdxBarEditControl*>(Link(0)->GetControl()); }
  TdxBarComboControl* ComboControl() const { return dynamic_cast<TdxBarComboControl*>(Link(1)->GetControl()); }
  HWND ListWnd() const { return Combo->GetDropDownList()->HandleAllocated() ? Combo->GetDropDownList()->GetHandle() : nullptr; }
  bool ListOpen() const { return ListWnd() && IsWindowVisible(ListWnd()); }

  // A click into the middle of a link's value area starts editing it.
  void ClickValue(int link) {
    const TRect r = Link(link)->ItemRect;
    guitest::ClickAt(Window->GetHandle(), r.left + 20, (r.top + r.bottom) / 2);
    guitest::PumpFor(30);
  }
  void ClickComboButton(DWORD flags = 0) {
    const TRect b = ComboControl()->GetButtonRect();
    if (flags)
      guitest::MouseEventAt(Window->GetHandle(), (b.left + b.right) / 2, (b.top + b.bottom) / 2, flags);
    else
      guitest::ClickAt(Window->GetHandle(), (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    guitest::PumpFor(30);
  }
  void Key(WORD vk, int modifiers = guitest::kNone) {
    guitest::PressKey(vk, modifiers);
    guitest::PumpFor(40);
  }
  void Type(const String& text) {
    guitest::TypeText(text);
    guitest::PumpFor(40);
  }

  TdxBarEdit* Edit = nullptr;
  TdxBarCombo* Combo = nullptr;
};

} // namespace

TEST_F(EditItemsTest, TypingFiresCurChangeEachTimeAndChangeOnlyOnEnterOrTab) {
  int curChanges = 0, changes = 0;
  String textAtChange;
  Edit->OnCurChange = [&](TObject*) { ++curChanges; };
  Edit->OnChange = [&](TObject*) {
    ++changes;
    textAtChange = Edit->GetText();
  };
  ClickValue(0);
  ASSERT_TRUE(EditControl()->GetFocused());
  EXPECT_EQ(GetFocus(), EditControl()->GetInPlaceWnd());
  Type("abc");
  EXPECT_EQ(curChanges, 3);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(Edit->GetCurText(), "abc");
  EXPECT_EQ(Edit->GetText(), "");
  Key(VK_RETURN);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(textAtChange, "abc") << "OnChange fires after the text is stored";
  EXPECT_FALSE(EditControl()->GetFocused());
  EXPECT_EQ(GetFocus(), Plain->GetHandle()) << "the focus goes back to the form's edit";

  // Tab applies as well and moves on to the combo, which starts editing.
  ClickValue(0);
  Type("d");
  Key(VK_TAB);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Edit->GetText(), "d");
  EXPECT_TRUE(ComboControl()->GetFocused());
  EXPECT_EQ(GetFocus(), ComboControl()->GetInPlaceWnd());
}

TEST_F(EditItemsTest, PressingTheComboButtonWhileEditingKeepsTheTypedText) {
  ClickValue(1);
  Type("Kiw");
  ClickComboButton();
  EXPECT_TRUE(ListOpen());
  EXPECT_TRUE(ComboControl()->GetFocused()) << "still editing";
  EXPECT_EQ(Combo->GetCurText(), "Kiw");
  ClickComboButton();
  EXPECT_FALSE(ListOpen());
  EXPECT_EQ(Combo->GetCurText(), "Kiw");
  Type("i");
  Key(VK_RETURN);
  EXPECT_EQ(Combo->GetText(), "Kiwi");
}

TEST_F(EditItemsTest, EscDiscardsTheTextAndGivesTheFocusBack) {
  Edit->SetText("old");
  int changes = 0;
  Edit->OnChange = [&](TObject*) { ++changes; };
  ClickValue(0);
  Type("new");
  EXPECT_EQ(Edit->GetCurText(), "new") << "the window's whole text was selected and replaced";
  Key(VK_ESCAPE);
  EXPECT_EQ(Edit->GetText(), "old");
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(EditControl()->GetFocused());
  EXPECT_EQ(GetFocus(), Plain->GetHandle());
  EXPECT_EQ(Window->GetSelectedControl(), EditControl()) << "Esc keeps the edit selected";
}

TEST_F(EditItemsTest, AlwaysSaveTextKeepsTextOnLeavingAndOnCtrlEsc) {
  Manager->AlwaysSaveText = true;
  struct Case {
    const char* typed;
    int modifiers;
    const char* expected;
  } cases[] = {{"plain", guitest::kNone, ""}, {"ctrl", guitest::kCtrl, "ctrl"}};
  for (const Case& c : cases) {
    Edit->SetText("");
    ClickValue(0);
    Type(c.typed);
    Key(VK_ESCAPE, c.modifiers);
    EXPECT_EQ(Edit->GetText(), c.expected) << c.typed;
    EXPECT_FALSE(EditControl()->GetFocused());
  }
  // Leaving by a click elsewhere keeps the text.
  ClickValue(0);
  Type("left");
  guitest::ClickControl(Plain);
  guitest::PumpFor(40);
  EXPECT_FALSE(EditControl()->GetFocused());
  EXPECT_EQ(Edit->GetText(), "left");
}

TEST_F(EditItemsTest, ATextLongerThan255CharactersIsKept) {
  const String longText(300, 'x');
  Edit->SetText(longText);
  Edit->Focus(true);
  guitest::PumpFor(30);
  ASSERT_TRUE(EditControl()->GetFocused());
  EXPECT_EQ(Edit->GetCurText().size(), 300u);
  Key(VK_END);
  Type("y");
  Key(VK_RETURN);
  EXPECT_EQ(Edit->GetText(), longText + "y");
}

TEST_F(EditItemsTest, ReadOnlyEditsTakeNoTextAndReadOnlyCombosNeverDropDown) {
  Edit->ReadOnly = true;
  Edit->SetText("fixed");
  ClickValue(0);
  Type("zz");
  Key(VK_RETURN);
  EXPECT_EQ(Edit->GetText(), "fixed");

  Combo->ReadOnly = true;
  ClickComboButton();
  EXPECT_FALSE(ListOpen());
  Key(VK_F4);
  EXPECT_FALSE(ComboControl()->GetDroppedDown());
}

TEST_F(EditItemsTest, F4AndAltDownToggleTheListAndDownStepsOrMovesTheSelection) {
  Combo->SetItemIndex(0);
  ClickValue(1);
  ASSERT_TRUE(ComboControl()->GetFocused());
  // Closed: Down steps through the entries, the item keeps its index.
  Key(VK_DOWN);
  EXPECT_EQ(Combo->GetCurText(), "Apricot");
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  Key(VK_F4);
  ASSERT_TRUE(ListOpen());
  EXPECT_EQ(Combo->GetDropDownList()->GetItemIndex(), 1) << "the list follows the text";
  // Open: Down moves the list's selection and the window shows the entry.
  Key(VK_DOWN);
  EXPECT_EQ(Combo->GetDropDownList()->GetItemIndex(), 2);
  EXPECT_EQ(Combo->GetCurText(), "Banana");
  Key(VK_F4);
  EXPECT_FALSE(ListOpen());
  Key(VK_DOWN, guitest::kAlt);
  EXPECT_TRUE(ListOpen());
  Key(VK_UP, guitest::kAlt);
  EXPECT_FALSE(ListOpen());
  Key(VK_RETURN);
  EXPECT_EQ(Combo->GetItemIndex(), 2);
  EXPECT_EQ(Combo->GetText(), "Banana");
}

TEST_F(EditItemsTest, PressingTheButtonAndReleasingOverARowSelectsIt) {
  int changes = 0;
  Combo->OnChange = [&](TObject*) { ++changes; };
  // Released without entering the list: the list stays open.
  ClickComboButton();
  ASSERT_TRUE(ListOpen());
  EXPECT_FALSE(Combo->GetDropDownList()->GetTracking());
  Key(VK_F4);
  ASSERT_FALSE(ListOpen());
  Manager->DeactivateAll();
  guitest::PumpFor(30);

  // One gesture: press on the button, drag onto the fourth row, release.
  ClickComboButton(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(ListOpen());
  EXPECT_TRUE(Combo->GetDropDownList()->GetTracking());
  const TRect row = Combo->GetDropDownList()->ItemRect(3);
  POINT p{row.left + 10, (row.top + row.bottom) / 2};
  ClientToScreen(ListWnd(), &p);
  guitest::SendMouseAt(POINT{p.x, p.y - 20}, 0);
  guitest::PumpFor(30);
  guitest::SendMouseAt(p, 0);
  guitest::PumpFor(30);
  guitest::SendMouseAt(p, MOUSEEVENTF_LEFTUP);
  guitest::PumpFor(50);
  EXPECT_FALSE(ListOpen());
  EXPECT_EQ(Combo->GetItemIndex(), 3);
  EXPECT_EQ(Combo->GetText(), "Cherry");
  EXPECT_EQ(changes, 1);
}

TEST_F(EditItemsTest, WithoutEditorAClickOnTheValueOpensTheListAndTypingDoesNothing) {
  Combo->SetShowEditor(false);
  Combo->SetItemIndex(1);
  Window->Repaint();
  ClickValue(1);
  EXPECT_TRUE(ListOpen());
  EXPECT_EQ(ComboControl()->GetInPlaceRect().Width(), 0);
  Type("q");
  EXPECT_EQ(Combo->GetCurText(), "Apricot");
  Key(VK_F4);
  EXPECT_FALSE(ListOpen());
}

TEST_F(EditItemsTest, FindNearestItemPrefersTheWholeTextThenTheLongestStart) {
  Combo->GetItems()->Clear();
  for (const char* fruit : {"Apple", "Apricot", "Banana"})
    Combo->GetItems()->Add(fruit);
  const struct {
    const char* text;
    int expected;
  } cases[] = {{"apr", 1}, {"ap", 0}, {"b", 2}, {"", -1}, {"c", -1}, {"apx", 0}, {"APRICOT", 1}, {"Bananas", 2}};
  for (const auto& c : cases)
    EXPECT_EQ(Combo->FindNearestItem(c.text), c.expected) << c.text;
}

TEST_F(EditItemsTest, ItemIndexOutOfRangeClearsTheTextAndTheListIsSizedByDropDownCount) {
  Combo->SetItemIndex(2);
  EXPECT_EQ(Combo->GetText(), "Banana");
  Combo->SetItemIndex(50);
  EXPECT_EQ(Combo->GetItemIndex(), -1);
  EXPECT_EQ(Combo->GetText(), "");

  for (const char* more : {"Grape", "Kiwi", "Lemon", "Lime"})
    Combo->GetItems()->Add(more);
  ClickValue(1);
  Key(VK_F4);
  ASSERT_TRUE(ListOpen());
  int row = 0;
  Combo->MeasureItem(0, row);
  RECT r{};
  GetWindowRect(ListWnd(), &r);
  EXPECT_EQ(r.bottom - r.top, 4 + 8 * row);
  EXPECT_EQ(r.right - r.left, Combo->GetDropDownWidth());
  EXPECT_EQ(r.top, Window->ClientToScreen(TPoint(0, Link(1)->ItemRect.bottom)).y) << "below the combo";
}

TEST_F(EditItemsTest, TheStandardLookDrawsTheValueAndTheComboButton) {
  Combo->SetItemIndex(1);
  Window->Repaint();
  guitest::TCapture idle = guitest::TCapture::Paint(Window->GetHandle());
  idle.SavePng("bars_edit_combo_standard");
  const TRect button = ComboControl()->GetButtonRect();
  EXPECT_EQ(button.Width(), Window->ComboButtonWidth);
  EXPECT_EQ(button.right, Link(1)->ItemRect.right - 2) << "inside the frame";
  EXPECT_GT(idle.CountPixels(button, GetSysColor(COLOR_BTNTEXT)), 3) << "the arrow";
  EXPECT_EQ(idle.Pixel(button.left, button.top), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the idle button's frame";
  const TRect value = ComboControl()->GetEditRect();
  EXPECT_GT(idle.CountPixels(value, GetSysColor(COLOR_WINDOW)), value.Width() * value.Height() / 2);
  EXPECT_GT(idle.CountPixels(value, GetSysColor(COLOR_WINDOWTEXT)), 10) << "Apricot";
}

namespace {

int CountEditWindows(HWND parent) {
  int count = 0;
  EnumChildWindows(
      parent,
      [](HWND wnd, LPARAM data) -> BOOL {
        char name[16] = {};
        GetClassNameA(wnd, name, sizeof(name));
        if (lstrcmpiA(name, "EDIT") == 0) ++*reinterpret_cast<int*>(data);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

// Runs once from a thread timer, inside whatever loop pumps messages then.
std::function<void()> gProbe;
void CALLBACK ProbeTick(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (std::function<void()> probe = std::move(gProbe)) probe();
}

} // namespace

TEST_F(EditItemsTest, OnABarWithTurnedCaptionsEditsAndCombosAreButtonsThatClick) {
  Edit->SetCaption("Find");
  Combo->SetCaption("Fruit");
  AddLink(Bar->GetItemLinks(), AddButton(Manager, "Twin", "Find"));
  int clicks = 0;
  Edit->OnClick = [&](TObject*) { ++clicks; };
  delete Window;
  Bar->SetDockingStyle(dsLeft);
  Bar->SetVisible(true);
  guitest::PumpFor(50);
  Window = Bar->GetBarControl();
  ASSERT_TRUE(Window->ShowsRotatedCaptions());
  for (int i : {0, 1}) {
    EXPECT_NE(nullptr, dynamic_cast<TdxBarButtonControl*>(Link(i)->GetControl())) << i;
    EXPECT_EQ(nullptr, dynamic_cast<TdxBarWinControl*>(Link(i)->GetControl())) << i;
  }
  EXPECT_EQ(0, CountEditWindows(Window->GetHandle())) << "no in-place window stands there";

  // Drawn as the button of the same caption is.
  Window->Repaint();
  guitest::TCapture shot = guitest::TCapture::Paint(Window->GetHandle());
  shot.SavePng("bars_edit_on_rotated_bar");
  const TRect edit = Link(0)->ItemRect, twin = Link(2)->ItemRect;
  ASSERT_EQ(edit.Width(), twin.Width());
  ASSERT_EQ(edit.Height(), twin.Height());
  EXPECT_GT(shot.CountPixels(edit, GetSysColor(COLOR_BTNTEXT)), 10) << "the turned caption";
  int differing = 0;
  for (int y = 0; y < edit.Height(); ++y)
    for (int x = 0; x < edit.Width(); ++x)
      differing += shot.Pixel(edit.left + x, edit.top + y) != shot.Pixel(twin.left + x, twin.top + y);
  EXPECT_EQ(0, differing);

  // A click runs the item as a button's would; the focus stays where it was.
  guitest::ClickAt(Window->GetHandle(), (edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2);
  EXPECT_TRUE(guitest::PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(GetFocus(), Plain->GetHandle());

  // Docked on top again, the edit and the combo edit in place.
  Bar->SetDockingStyle(dsTop);
  guitest::PumpFor(50);
  Window = Bar->GetBarControl();
  EXPECT_NE(nullptr, EditControl());
  EXPECT_NE(nullptr, ComboControl());
  EXPECT_EQ(2, CountEditWindows(Window->GetHandle()));
}

TEST_F(EditItemsTest, TheInPlaceWindowsSitOutADragOfTheirToolbarAndEditingResumesAfter) {
  delete Window;
  Bar->SetDockingStyle(dsTop);
  Bar->SetVisible(true);
  guitest::PumpFor(50);
  Window = Bar->GetBarControl();
  ASSERT_EQ(2, CountEditWindows(Window->GetHandle()));
  RECT r;
  GetWindowRect(Window->GetHandle(), &r);
  const POINT grip{r.left + 3, (r.top + r.bottom) / 2};
  const POINT to{grip.x + 160, grip.y + 110};
  bool probed = false, moving = false;
  int editsDuring = -1;
  gProbe = [&] {
    probed = true;
    moving = Manager->GetBars()->IsMoving();
    TdxBarControl* dragged = Bar->GetBarControl();
    editsDuring = dragged ? CountEditWindows(dragged->GetHandle()) : -1;
    guitest::SendMouseAt(to, MOUSEEVENTF_LEFTUP);
  };
  guitest::SendMouseAt(grip, MOUSEEVENTF_LEFTDOWN);
  guitest::SendMouseAt(POINT{grip.x + 6, grip.y + 6}, 0);
  guitest::SendMouseAt(to, 0);
  SetTimer(nullptr, 0, 250, ProbeTick);
  ASSERT_TRUE(guitest::PumpUntil([&] { return probed && !Manager->GetBars()->IsMoving(); }));
  EXPECT_TRUE(moving) << "probed inside the move";
  EXPECT_EQ(0, editsDuring) << "no in-place window while the toolbar is dragged";
  Window = Bar->GetBarControl();
  ASSERT_NE(nullptr, Window);
  EXPECT_EQ(dsNone, Window->GetDockingStyle());
  EXPECT_EQ(2, CountEditWindows(Window->GetHandle())) << "made again when the drag ends";

  String changed;
  Edit->OnChange = [&](TObject*) { changed = Edit->GetText(); };
  ClickValue(0);
  ASSERT_TRUE(EditControl()->GetFocused());
  Type("moved");
  Key(VK_RETURN);
  EXPECT_EQ(changed, "moved");
}

TEST_F(EditItemsTest, WhileCustomizingTheEditsEdgesDragItsWidthNeverBelow20) {
  Manager->SetCustomizing(true);
  guitest::PumpFor(50);
  HWND wnd = Window->GetHandle();
  // A click in the middle picks the edit, as the user does.
  auto select = [&] {
    const TRect m = Link(0)->ItemRect;
    guitest::ClickAt(wnd, (m.left + m.right) / 2, (m.top + m.bottom) / 2);
    guitest::PumpFor(60);
  };
  auto drag = [&](int fromX, int toX) {
    const TRect r = Link(0)->ItemRect;
    const int y = (r.top + r.bottom) / 2;
    guitest::MouseEventAt(wnd, fromX, y);
    guitest::PumpFor(60);
    guitest::MouseEventAt(wnd, fromX, y, MOUSEEVENTF_LEFTDOWN);
    guitest::PumpFor(30);
    const bool captured = GetCapture() == wnd;
    if (toX != fromX) guitest::MouseEventAt(wnd, toX, y);
    guitest::PumpFor(30);
    guitest::MouseEventAt(wnd, toX, y, MOUSEEVENTF_LEFTUP);
    guitest::PumpFor(60);
    return captured;
  };
  ASSERT_NE(nullptr, EditControl());
  select();
  TRect r = Link(0)->ItemRect;
  const int y = (r.top + r.bottom) / 2;

  // Over the middle the usual cursor, inside an edge the sizing one.
  guitest::MouseEventAt(wnd, (r.left + r.right) / 2, y);
  guitest::PumpFor(60);
  EXPECT_NE(GetCursor(), Screen->GetCursors(1044));
  guitest::MouseEventAt(wnd, r.right - 3, y);
  guitest::PumpFor(60);
  EXPECT_EQ(GetCursor(), Screen->GetCursors(1044));

  // Released where it was pressed: nothing is stored.
  EXPECT_TRUE(drag(r.right - 3, r.right - 3));
  EXPECT_FALSE(Link(0)->GetUserDefine().Contains(udWidth));
  EXPECT_EQ(Link(0)->GetWidth(), 120);
  EXPECT_NE(GetCapture(), wnd);

  // The right edge 30 pixels further: the width grows by 30. The edit stays
  // picked, so the next drags need no new click.
  r = Link(0)->ItemRect;
  EXPECT_TRUE(drag(r.right - 3, r.right + 27));
  EXPECT_TRUE(Link(0)->GetUserDefine().Contains(udWidth));
  EXPECT_EQ(Link(0)->GetUserWidth(), 150);
  EXPECT_EQ(Link(0)->ItemRect.Width(), r.Width() + 30) << "laid out anew";

  // The left edge dragged past the right one: no narrower than 20.
  r = Link(0)->ItemRect;
  EXPECT_TRUE(drag(r.left + 2, r.right + 40));
  EXPECT_EQ(Link(0)->GetUserWidth(), 20);

  // Outside customizing the edges edit as the rest does.
  Manager->SetCustomizing(false);
  guitest::PumpFor(50);
  r = Link(0)->ItemRect;
  guitest::MouseEventAt(wnd, r.right - 3, y);
  guitest::PumpFor(60);
  EXPECT_NE(GetCursor(), Screen->GetCursors(1044));
}

TEST_F(EditItemsTest, TheWidthDragsFrameIsInvertedOnTheScreenAndGoesWithoutTrace) {
  Manager->SetCustomizing(true);
  guitest::PumpFor(50);
  HWND wnd = Window->GetHandle();
  const TRect r = Link(0)->ItemRect;
  guitest::ClickAt(wnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  guitest::PumpFor(60);
  const int y = (r.top + r.bottom) / 2;
  // A screen point on the frame's top bar once the width grew by 40.
  const TPoint probe = Window->ClientToScreen(TPoint(r.right + 20, r.top));
  HDC screen = GetDC(nullptr);
  const COLORREF before = GetPixel(screen, probe.x, probe.y);
  guitest::MouseEventAt(wnd, r.right - 3, y);
  guitest::PumpFor(60);
  guitest::MouseEventAt(wnd, r.right - 3, y, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(wnd, r.right + 37, y);
  guitest::PumpFor(60);
  const COLORREF during = GetPixel(screen, probe.x, probe.y);
  // Lost capture cancels: the frame goes and nothing is stored.
  ReleaseCapture();
  guitest::PumpFor(30);
  const COLORREF after = GetPixel(screen, probe.x, probe.y);
  ReleaseDC(nullptr, screen);
  guitest::MouseEventAt(wnd, r.right + 37, y, MOUSEEVENTF_LEFTUP);
  guitest::PumpFor(30);
  EXPECT_EQ(during, before ^ 0xFFFFFF) << "inverted";
  EXPECT_EQ(after, before) << "no trace";
  EXPECT_FALSE(Link(0)->GetUserDefine().Contains(udWidth));
}
