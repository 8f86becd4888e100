#include "DesignTest.h"

#include "dxBarCustForm.h"
#include "InputScript.h"

#include <functional>
#include <string>

namespace {

// Two sub items ("File" with Open and Save, "Edit" with Copy) on a designed
// form; the customizing dialog registered so that its end closes the editor.
class SubMenuEditorTest : public DesignTest {
protected:
  void SetUp() override {
    DesignTest::SetUp();
    RegisterBarCustomizingForm();
    BuildDesigned([this](TdxBarManager* m) {
      File = SubItem(m, "File");
      AddLink(File->GetItemLinks(), AddButton(m, "Open"));
      AddLink(File->GetItemLinks(), AddButton(m, "Save"));
      Edit = SubItem(m, "Edit");
      AddLink(Edit->GetItemLinks(), AddButton(m, "Copy"));
    });
    Form->SetBounds(300, 200, 400, 300);
    Form->Show();
    guitest::PumpFor(50);
  }
  void TearDown() override {
    if (Manager) Manager->SetCustomizing(false);
    guitest::PumpFor(20);
    EXPECT_EQ(ActiveSubMenuEditor(), nullptr);
    UnregisterBarCustomizingForm();
    DesignTest::TearDown();
  }

  static TdxBarSubItem* SubItem(TdxBarManager* m, const char* name) {
    auto* item = new TdxBarSubItem(m->GetOwnerForm());
    item->SetName(name);
    item->SetCategory(0);
    item->SetCaption(name);
    return item;
  }

  // The editor's window and its menu's, on the screen.
  static RECT WindowRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
  }
  static void ExpectMenuBeneath(TdxBarSubMenuEditor* editor) {
    TdxBarSubMenuControl* menu = editor->GetMenuWindow();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(IsWindowVisible(menu->GetHandle()));
    const RECT e = WindowRect(editor->GetHandle());
    const RECT m = WindowRect(menu->GetHandle());
    EXPECT_EQ(m.left, e.left);
    EXPECT_EQ(m.top, e.bottom);
    EXPECT_EQ(e.right - e.left, m.right - m.left) << "the editor is as wide as its menu";
  }

  TdxBarSubItem* File = nullptr;
  TdxBarSubItem* Edit = nullptr;
};

TEST_F(SubMenuEditorTest, OpensTheMenuBeneathACaptionOnlyWindow) {
  ShowSubMenuEditor(File->GetItemLinks());
  guitest::PumpFor(100);
  TdxBarSubMenuEditor* editor = ActiveSubMenuEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(Manager->GetCustomizing());
  EXPECT_EQ(editor->GetCaption(), "Rallybars SubMenu Editor");
  RECT client{};
  GetClientRect(editor->GetHandle(), &client);
  EXPECT_EQ(client.bottom, 0) << "only the caption bar";
  ExpectMenuBeneath(editor);
  EXPECT_EQ(File->GetItemLinks()->GetBarControl(), editor->GetMenuWindow());
}

TEST_F(SubMenuEditorTest, ASecondOpeningReusesTheOneEditor) {
  ShowSubMenuEditor(File->GetItemLinks());
  guitest::PumpFor(50);
  TdxBarSubMenuEditor* editor = ActiveSubMenuEditor();
  TdxBarSubMenuControl* fileMenu = editor->GetMenuWindow();
  ShowSubMenuEditor(File->GetItemLinks());
  guitest::PumpFor(50);
  EXPECT_EQ(ActiveSubMenuEditor(), editor);
  EXPECT_EQ(editor->GetMenuWindow(), fileMenu) << "the same links: the same menu stays";
  ShowSubMenuEditor(Edit->GetItemLinks());
  guitest::PumpFor(50);
  EXPECT_EQ(ActiveSubMenuEditor(), editor);
  EXPECT_EQ(File->GetItemLinks()->GetBarControl(), nullptr) << "the old menu closed";
  EXPECT_EQ(editor->GetItemLinks(), Edit->GetItemLinks());
  ExpectMenuBeneath(editor);
}

TEST_F(SubMenuEditorTest, TheMenuFollowsTheEditorAndComesBackOnActivation) {
  ShowSubMenuEditor(File->GetItemLinks());
  guitest::PumpFor(50);
  TdxBarSubMenuEditor* editor = ActiveSubMenuEditor();
  const RECT before = WindowRect(editor->GetHandle());
  SetWindowPos(editor->GetHandle(), nullptr, before.left + 60, before.top + 40, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  guitest::PumpFor(50);
  EXPECT_EQ(WindowRect(editor->GetHandle()).left, before.left + 60);
  ExpectMenuBeneath(editor);
  // A menu closed otherwise opens again when the editor is activated.
  editor->GetMenuWindow()->Release();
  EXPECT_EQ(editor->GetMenuWindow(), nullptr);
  editor->OnActivate(editor);
  guitest::PumpFor(50);
  ExpectMenuBeneath(editor);
}

TEST_F(SubMenuEditorTest, ClosesWithoutDanglingWhenItsItemOrCustomizingGoes) {
  struct Case {
    const char* name;
    std::function<void()> end;
  };
  const Case cases[] = {
      {"sub item freed", [this] { delete File; }},
      {"customizing ends", [this] { Manager->SetCustomizing(false); }},
      {"editor closed", [] { ActiveSubMenuEditor()->Close(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShowSubMenuEditor(Edit->GetItemLinks());
    ShowSubMenuEditor(File ? File->GetItemLinks() : Edit->GetItemLinks());
    guitest::PumpFor(50);
    ASSERT_NE(ActiveSubMenuEditor(), nullptr);
    c.end();
    guitest::PumpFor(50);
    EXPECT_EQ(ActiveSubMenuEditor(), nullptr);
    if (std::string(c.name) == "sub item freed") File = nullptr;
  }
  // The remaining item's menu still opens and closes cleanly.
  ShowSubMenuEditor(Edit->GetItemLinks());
  guitest::PumpFor(50);
  ExpectMenuBeneath(ActiveSubMenuEditor());
}

// Links dragged by the mouse within the menu the editor holds open, through
// the manager's customizing drag.
TEST_F(SubMenuEditorTest, LinksAreDraggedWithinTheMenu) {
  SetForegroundWindow(Form->GetHandle());
  guitest::PumpUntil([&] { return GetForegroundWindow() == Form->GetHandle(); });
  ShowSubMenuEditor(File->GetItemLinks());
  guitest::PumpFor(100);
  TdxBarSubMenuEditor* editor = ActiveSubMenuEditor();
  ASSERT_NE(editor, nullptr);
  TdxBarItemLinks* menu = File->GetItemLinks();
  auto captions = [](TdxBarItemLinks* links) {
    String result;
    for (int i = 0; i < links->GetCount(); ++i)
      result += (i ? "," : "") + links->GetItem(i)->GetCaption();
    return result;
  };
  auto on = [](TdxBarItemLinks* links, int i, double dy = 0.5) {
    const TRect r = links->GetItem(i)->ItemRect;
    TCustomdxBarControl* window = links->GetBarControl();
    return window->ClientToScreen(TPoint((r.left + r.right) / 2, r.top + static_cast<int>(r.Height() * dy)));
  };
  auto drag = [&](POINT from, POINT to) {
    const POINT start{from.x + 10, from.y};
    TInputScript script({{0, [=] { guitest::SendMouseAt(from, MOUSEEVENTF_LEFTDOWN); }},
                         {60, [=] { guitest::SendMouseAt(start, 0); }},
                         {60, [=] { guitest::SendMouseAt(POINT{(start.x + to.x) / 2, (start.y + to.y) / 2}, 0); }},
                         {60, [=] { guitest::SendMouseAt(to, 0); }},
                         {60, [=] { guitest::SendMouseAt(to, MOUSEEVENTF_LEFTUP); }}});
    EXPECT_TRUE(script.Run());
    guitest::PumpFor(80);
    EXPECT_FALSE(Manager->GetDragging());
  };
  ASSERT_NE(menu->GetBarControl(), nullptr);

  // Within the menu: Open after Save.
  drag(on(menu, 0), on(menu, 1, 0.8));
  EXPECT_EQ(captions(menu), "Save,Open");
  ASSERT_NE(menu->GetBarControl(), nullptr) << "the menu stays open";
  drag(on(menu, 1), on(menu, 0, 0.2));
  EXPECT_EQ(captions(menu), "Open,Save");
  EXPECT_EQ(ActiveSubMenuEditor(), editor);
}

} // namespace
