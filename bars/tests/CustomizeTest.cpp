// Customizing mode: entering and leaving it, dragging links with the mouse
// (move, copy, delete, regroup, cancel), the insertion mark, the customizing
// popup of a link and the "Customize..." entry.
#include "BarsTest.h"
#include "InputScript.h"

#include "dxBarEdits.h"
#include "dxBarSubMenu.h"

#include "Forms.h"

namespace {

constexpr TCursor kMove = 1041, kCopy = 1042;

POINT Plus(POINT p, int dx, int dy) {
  return POINT{p.x + dx, p.y + dy};
}

class CustomizeTest : public BarsTest {
protected:
  // Two docked bars: "Edit" with A, B, C, D and "Tools" with E, F.
  void SetUp() override {
    Build([](TdxBarManager* m) {
      TdxBar* edit = m->GetBars()->Add();
      edit->SetCaption("Edit");
      for (const char* name : {"A", "B", "C", "D"})
        AddLink(edit->GetItemLinks(), AddButton(m, name));
      TdxBar* tools = m->GetBars()->Add();
      tools->SetCaption("Tools");
      for (const char* name : {"E", "F"})
        AddLink(tools->GetItemLinks(), AddButton(m, name));
    });
    Manager->SetStyle(bmsStandard);
    Form->SetBounds(60, 60, 600, 400);
    Form->Show();
    for (int i = 0; i < 2; ++i) {
      Bar(i)->SetDockingStyle(dsTop);
      Bar(i)->SetRow(i);
      Bar(i)->OneOnRow = true;
      Bar(i)->SetVisible(true);
    }
    // The keys the tests press reach only the foreground window's thread.
    SetForegroundWindow(Form->GetHandle());
    guitest::PumpUntil([&] { return GetForegroundWindow() == Form->GetHandle(); });
    guitest::PumpFor(50);
  }
  void TearDown() override {
    Manager->SetCustomizing(false);
    MovePointerOff(nullptr);
  }

  TdxBar* Bar(int i) const { return Manager->GetBars()->GetItem(i); }
  TdxBarControl* Window(int i) const { return Bar(i)->GetBarControl(); }
  TdxBarItemLink* Link(int bar, int i) const { return Bar(bar)->GetItemLinks()->GetItem(i); }
  // The captions of a bar's links in order, "|" before a link that begins
  // a group.
  String Captions(int bar) const {
    String result;
    TdxBarItemLinks* links = Bar(bar)->GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i)
      result += (links->GetItem(i)->GetBeginGroup() && i ? "|" : "") + links->GetItem(i)->GetCaption();
    return result;
  }
  // A screen point on a link: dx of its width from its left (0.5: the middle).
  POINT On(int bar, int i, double dx = 0.5) const {
    const TRect r = Link(bar, i)->ItemRect;
    return Window(bar)->ClientToScreen(
        TPoint(r.left + static_cast<int>(r.Width() * dx), (r.top + r.bottom) / 2));
  }
  // Presses on a link, drags through the points and releases at the last;
  // Between runs after each step.
  bool Drag(POINT from, std::vector<POINT> path, std::function<void(int)> between = nullptr) {
    std::vector<TInputScript::TStep> steps{{0, [=] { guitest::SendMouseAt(from, MOUSEEVENTF_LEFTDOWN); }}};
    for (size_t i = 0; i < path.size(); ++i)
      steps.push_back({60, [=] {
                         guitest::SendMouseAt(path[i], 0);
                         if (between) between(static_cast<int>(i));
                       }});
    steps.push_back({60, [=] { guitest::SendMouseAt(path.back(), MOUSEEVENTF_LEFTUP); }});
    TInputScript script(steps);
    const bool done = script.Run();
    guitest::PumpFor(50);
    return done && !Manager->GetDragging();
  }
};

} // namespace

TEST_F(CustomizeTest, EnteringAndLeavingMakesTheControlsAnewAndEnablesItemsWithACategory) {
  TdxBarItemControl* before = Link(0, 0)->GetControl();
  ASSERT_NE(before, nullptr);
  auto* uncategorized = new TdxBarButton(Form.get());
  uncategorized->SetCaption("X");
  AddLink(Bar(1)->GetItemLinks(), uncategorized);
  Link(0, 1)->GetItem()->SetEnabled(false);
  uncategorized->SetEnabled(false);
  Manager->SetCustomizing(true);
  EXPECT_TRUE(Manager->IsCustomizing());
  EXPECT_NE(Link(0, 0)->GetControl(), nullptr);
  EXPECT_TRUE(Link(0, 1)->GetItem()->GetEnabled()) << "an item with a category takes part in customizing";
  EXPECT_FALSE(uncategorized->GetEnabled()) << "an item without a category keeps its state";
  EXPECT_TRUE(Window(0)->ControlStyle.Contains(csDoubleClicks)) << "double clicks while customizing";
  Manager->SetCustomizing(false);
  EXPECT_FALSE(Link(0, 1)->GetItem()->GetEnabled());
  EXPECT_FALSE(Window(0)->ControlStyle.Contains(csDoubleClicks))
      << "the Standard look takes no double clicks";
  EXPECT_NE(Link(0, 0)->GetControl(), nullptr);
}

TEST_F(CustomizeTest, DraggingALinkPastAnotherMovesIt) {
  Manager->SetCustomizing(true);
  ASSERT_TRUE(Drag(On(0, 0), {Plus(On(0, 0), 10, 0), On(0, 2, 0.8)}));
  EXPECT_EQ(Captions(0), "BCAD");
  ASSERT_NE(Manager->SelectedItemControl, nullptr);
  EXPECT_EQ(Manager->SelectedItemControl->GetLink(), Link(0, 2)) << "the dropped link is picked";
  EXPECT_EQ(Manager->DraggedLink, nullptr);
  EXPECT_EQ(Manager->DraggedItem, nullptr);
}

TEST_F(CustomizeTest, DraggingALinkOntoAnotherBarMovesItThere) {
  Manager->SetCustomizing(true);
  ASSERT_TRUE(Drag(On(0, 1), {Plus(On(0, 1), 10, 0), On(1, 0, 0.2)}));
  EXPECT_EQ(Captions(0), "ACD");
  EXPECT_EQ(Captions(1), "BEF");
}

TEST_F(CustomizeTest, CtrlHeldCopiesTheLinkAndItsReleaseTurnsTheCopyIntoAMove) {
  Manager->SetCustomizing(true);
  TCursor held = crDefault;
  // Ctrl goes down once the drag runs (the loop reads it from its keys).
  // Under Wine a focus change resynchronises the key state from the X
  // server, which never saw the injected key: it is pressed again then.
  const bool dragged = Drag(On(0, 0), {Plus(On(0, 0), 10, 0), On(0, 2, 0.8), On(0, 2, 0.85)}, [&](int step) {
    if (step < 2 && GetAsyncKeyState(VK_CONTROL) >= 0) guitest::KeyDown(VK_CONTROL);
    if (step == 2) held = Screen->GetCursor();
  });
  guitest::KeyUp(VK_CONTROL);
  ASSERT_TRUE(dragged);
  EXPECT_EQ(held, kCopy);
  EXPECT_EQ(Captions(0), "ABCAD") << "copied";

  TCursor whileHeld = crDefault;
  const bool draggedBack = Drag(On(1, 0), {Plus(On(1, 0), 10, 0), On(0, 0, 0.2), On(0, 0, 0.25)}, [&](int step) {
    if (step == 0) guitest::KeyDown(VK_CONTROL);
    if (step == 1) whileHeld = Screen->GetCursor();
    if (step == 1) guitest::KeyUp(VK_CONTROL);
  });
  if (GetAsyncKeyState(VK_CONTROL) < 0) guitest::KeyUp(VK_CONTROL);
  ASSERT_TRUE(draggedBack);
  EXPECT_EQ(whileHeld, kCopy);
  EXPECT_EQ(Captions(1), "F") << "Ctrl went up before the drop: a move";
  EXPECT_EQ(Captions(0), "EABCAD");
}

TEST_F(CustomizeTest, TheCursorTurnsFromCopyToMoveWhenCtrlIsReleased) {
  Manager->SetCustomizing(true);
  std::vector<TCursor> cursors;
  const POINT over = On(0, 2, 0.8);
  TInputScript script({{0, [&] { guitest::SendMouseAt(On(0, 0), MOUSEEVENTF_LEFTDOWN); }},
                       {60, [&] { guitest::SendMouseAt(Plus(On(0, 0), 10, 0), 0); }},
                       {30, [&] { guitest::KeyDown(VK_CONTROL); }},
                       {60, [&] { guitest::SendMouseAt(over, 0); }},
                       {60, [&] { cursors.push_back(Screen->GetCursor()); }},
                       {0, [&] { guitest::KeyUp(VK_CONTROL); }},
                       {60, [&] { cursors.push_back(Screen->GetCursor()); }},
                       {0, [&] { guitest::KeyDown(VK_ESCAPE); }},
                       {30, [&] { guitest::KeyUp(VK_ESCAPE); }},
                       {30, [&] { guitest::SendMouseAt(over, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(script.Run());
  EXPECT_EQ(cursors, (std::vector<TCursor>{kCopy, kMove}));
  EXPECT_EQ(Captions(0), "ABCD") << "Esc cancelled the drag";
}

TEST_F(CustomizeTest, EscCancelsADragWithNoChange) {
  Manager->SetCustomizing(true);
  const POINT over = On(1, 1, 0.8);
  TInputScript script({{0, [&] { guitest::SendMouseAt(On(0, 0), MOUSEEVENTF_LEFTDOWN); }},
                       {60, [&] { guitest::SendMouseAt(Plus(On(0, 0), 10, 0), 0); }},
                       {60, [&] { guitest::SendMouseAt(over, 0); }},
                       {60, [&] { guitest::KeyDown(VK_ESCAPE); }},
                       {30, [&] { guitest::KeyUp(VK_ESCAPE); }},
                       {30, [&] { guitest::SendMouseAt(over, MOUSEEVENTF_LEFTUP); }}});
  ASSERT_TRUE(script.Run());
  guitest::PumpFor(50);
  EXPECT_EQ(Captions(0), "ABCD");
  EXPECT_EQ(Captions(1), "EF");
  EXPECT_FALSE(Manager->GetDragging());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CustomizeTest, DroppingALinkOutsideEveryBarDeletesIt) {
  Manager->SetCustomizing(true);
  const POINT outside = Form->ClientToScreen(TPoint(300, 300));
  ASSERT_TRUE(Drag(On(0, 1), {Plus(On(0, 1), 10, 0), outside}));
  EXPECT_EQ(Captions(0), "ACD");
  ASSERT_TRUE(Drag(On(0, 0), {Plus(On(0, 0), 10, 0), outside}, [](int step) {
    if (step == 0) guitest::KeyDown(VK_CONTROL);
  }));
  guitest::KeyUp(VK_CONTROL);
  EXPECT_EQ(Captions(0), "ACD") << "with Ctrl held nothing is deleted";
}

TEST_F(CustomizeTest, NudgingALinkMoreThanThreePixelsStartsOrEndsAGroup) {
  Manager->SetCustomizing(true);
  struct Case {
    int dx;
    const char* captions;
  };
  for (const Case& c : {Case{3, "ABCD"}, Case{4, "A|BCD"}, Case{-3, "A|BCD"}, Case{-4, "ABCD"}}) {
    const POINT from = On(0, 1);
    // Out of the system's drag rectangle and back, then the nudge.
    ASSERT_TRUE(Drag(from, {Plus(from, 0, 6), Plus(from, c.dx, 0)}));
    EXPECT_EQ(Captions(0), c.captions) << "nudged by " << c.dx;
  }
}

TEST_F(CustomizeTest, DroppingOnAnEmptyToolbarMakesItsOnlyLink) {
  TdxBar* empty = Manager->GetBars()->Add();
  empty->SetCaption("Empty");
  empty->SetDockingStyle(dsNone);
  empty->SetFloatValue(1, 300);
  empty->SetFloatValue(2, 300);
  empty->SetVisible(true);
  guitest::PumpFor(50);
  Manager->SetCustomizing(true);
  TdxBarControl* window = empty->GetBarControl();
  ASSERT_NE(window, nullptr);
  const POINT inside =
      window->ClientToScreen(TPoint(window->GetClientWidth() / 2, window->GetClientHeight() / 2));
  ASSERT_TRUE(Drag(On(0, 3), {Plus(On(0, 3), 10, 0), inside}));
  ASSERT_EQ(empty->GetItemLinks()->GetCount(), 1);
  EXPECT_EQ(empty->GetItemLinks()->GetItem(0)->GetCaption(), "D");
  EXPECT_EQ(Captions(0), "ABC");
}

TEST_F(CustomizeTest, TheInsertionMarkDrawnTwiceLeavesNoTrace) {
  Manager->SetCustomizing(true);
  TdxBarControl* window = Window(0);
  guitest::PumpFor(50);
  const int w = window->GetClientWidth(), h = window->GetClientHeight();
  auto grab = [&] {
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(window->GetHandle());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window->GetHandle(), dc);
    return pixels;
  };
  const std::vector<COLORREF> clean = grab();
  TdxBarItemControl* control = Link(0, 1)->GetControl();
  const TRect r = Link(0, 1)->ItemRect;
  Manager->DrawInsertionMark(control, false, false, true);
  const std::vector<COLORREF> marked = grab();
  // The mark's first column runs the control's left edge, inverted.
  const COLORREF before = clean[r.top * w + r.left], after = marked[r.top * w + r.left];
  EXPECT_EQ(after & 0xFFFFFF, ~before & 0xFFFFFF);
  EXPECT_NE(marked, clean);
  Manager->DrawInsertionMark(control, false, false, true);
  EXPECT_EQ(grab(), clean);
}

TEST_F(CustomizeTest, ValidDropPositionsLeaveOutThoseThatChangeNothing) {
  Manager->SetCustomizing(true);
  Manager->DraggedLink = Link(0, 1);
  TdxBarItemControl* a = Link(0, 0)->GetControl();
  TdxBarItemControl* b = Link(0, 1)->GetControl();
  TdxBarItemControl* c = Link(0, 2)->GetControl();
  struct Case {
    TdxBarItemControl* target;
    bool inGap, before, ctrl, valid;
  };
  for (const Case& k : {Case{nullptr, false, false, true, false}, Case{b, false, true, false, false},
                        Case{b, true, true, false, true}, Case{b, false, false, true, true},
                        Case{a, false, false, false, false}, Case{a, false, true, false, true},
                        Case{c, false, true, false, false}, Case{c, false, false, false, true}})
    EXPECT_EQ(Manager->IsValidDropPosition(k.target, k.inGap, k.before, k.ctrl), k.valid)
        << "target " << (k.target ? k.target->GetCaption() : "none") << " gap " << k.inGap << " before "
        << k.before << " ctrl " << k.ctrl;
  Manager->DraggedLink = nullptr;
}

TEST_F(CustomizeTest, TheCustomizingPopupOffersTheEightRunTimeEntries) {
  Manager->SetCustomizing(true);
  const POINT on = On(0, 0);
  guitest::SendMouseAt(on, MOUSEEVENTF_RIGHTDOWN);
  guitest::SendMouseAt(on, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingPopup() != nullptr; }));
  TdxBarItemLinks* links = ActiveCustomizingPopup()->GetItemLinks();
  String captions;
  for (int i = 0; i < links->GetCount(); ++i)
    captions += (links->GetItem(i)->GetBeginGroup() ? "|" : "") + links->GetItem(i)->GetCaption() + ";";
  EXPECT_EQ(captions, "&Reset;&Delete;|&Name:;|Defa&ult style;&Text Only (Always);Text &Only (in Menus);"
                      "Image &and Text;|Begin a &Group;");
  auto* style = dynamic_cast<TdxBarButton*>(links->GetItem(3)->GetItem());
  ASSERT_NE(style, nullptr);
  EXPECT_TRUE(style->GetDown()) << "the link's paint style is down";
  EXPECT_TRUE(style->GetEnabled());
  EXPECT_FALSE(links->GetItem(7)->GetItem()->GetEnabled()) << "the first link cannot begin a group";
  // Text only: the link takes the user's paint style.
  TdxBarItemLink* textOnly = links->GetItem(4);
  const TRect r = textOnly->ItemRect;
  guitest::ClickAt(ActiveCustomizingPopup()->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ASSERT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingPopup() == nullptr; }));
  EXPECT_EQ(Link(0, 0)->GetPaintStyle(), psCaption);
  EXPECT_TRUE(Link(0, 0)->GetUserDefine().Contains(udPaintStyle));
}

TEST_F(CustomizeTest, TheCustomizingPopupGroupsDeletesAndRefusesABlankName) {
  Manager->SetCustomizing(true);
  auto open = [&](int i) {
    // Not a double click with the press before.
    guitest::PumpFor(static_cast<int>(GetDoubleClickTime()) + 50);
    const POINT on = On(0, i);
    guitest::SendMouseAt(on, MOUSEEVENTF_RIGHTDOWN);
    guitest::SendMouseAt(on, MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingPopup() != nullptr; }));
    return ActiveCustomizingPopup() ? ActiveCustomizingPopup()->GetItemLinks() : nullptr;
  };
  auto click = [&](TdxBarItemLinks* links, int entry) {
    const TRect r = links->GetItem(entry)->ItemRect;
    guitest::ClickAt(ActiveCustomizingPopup()->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingPopup() == nullptr; }));
  };
  TdxBarItemLinks* links = open(2);
  ASSERT_NE(links, nullptr);
  EXPECT_TRUE(links->GetItem(7)->GetItem()->GetEnabled());
  click(links, 7);
  EXPECT_EQ(Captions(0), "AB|CD");

  links = open(1);
  ASSERT_NE(links, nullptr);
  auto* name = dynamic_cast<TdxBarEdit*>(links->GetItem(2)->GetItem());
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->GetText(), "B");
  String shown;
  guitest::AnswerNextModal([&](HWND box) {
    shown = guitest::DialogText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  name->SetText("");
  EXPECT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingPopup() == nullptr; }));
  EXPECT_NE(shown.find("A command name cannot be blank. Please enter a name."), String::npos) << shown;
  EXPECT_EQ(Link(0, 1)->GetCaption(), "B") << "a blank name keeps the caption";

  links = open(1);
  ASSERT_NE(links, nullptr);
  dynamic_cast<TdxBarEdit*>(links->GetItem(2)->GetItem())->SetText("Bee");
  EXPECT_EQ(Link(0, 1)->GetCaption(), "Bee");
  EXPECT_EQ(Link(0, 1)->GetItem()->GetCaption(), "B") << "at run time the link's own caption";
  guitest::PressKey(VK_ESCAPE);
  EXPECT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingPopup() == nullptr; }));

  links = open(0);
  ASSERT_NE(links, nullptr);
  click(links, 1);
  EXPECT_EQ(Captions(0), "Bee|CD");
}

TEST_F(CustomizeTest, TheToolbarsPopupOffersCustomizeOnlyWithARegisteredDialog) {
  auto entries = [&] {
    TdxBarItemLinks links(Manager, nullptr);
    Manager->FillToolbarsList(&links);
    String result;
    for (int i = 0; i < links.GetCount(); ++i)
      result += (links.GetItem(i)->GetBeginGroup() ? "|" : "") + links.GetItem(i)->GetCaption() + ";";
    return result;
  };
  Bar(0)->SetCaption("Edit");
  EXPECT_EQ(entries(), "Edit;Tools;");
  RegisterBarCustomizingForm();
  EXPECT_EQ(entries(), "Edit;Tools;|&Customize...;");
  Manager->CanCustomize = false;
  EXPECT_EQ(entries(), "Edit;Tools;");
  UnregisterBarCustomizingForm();
}
