// A form with its bar manager, built as a form's bar definition builds it.
#pragma once

#include "dxBar.h"
#include "dxBarCommon.h"

#include "GuiTest.h"

#include "Forms.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

class BarsTest : public testing::Test {
protected:
  // Creates the form's manager with the definition (none: an empty one).
  TdxBarManager* Build(TdxBarDefinition definition = [](TdxBarManager*) {}) {
    Manager = CreateBarManager(Form.get(), std::move(definition));
    return Manager;
  }

  // A named button of category 0, with its caption.
  static TdxBarButton* AddButton(TdxBarManager* manager, const String& name,
                                 const String& caption = String()) {
    auto* button = new TdxBarButton(manager->GetOwnerForm());
    button->SetName(name);
    button->SetCategory(0);
    button->SetCaption(caption.empty() ? name : caption);
    return button;
  }

  static TdxBarItemLink* AddLink(TdxBarItemLinks* links, TdxBarItem* item, bool beginGroup = false) {
    TdxBarItemLink* link = links->Add();
    link->SetItem(item);
    link->SetBeginGroup(beginGroup);
    return link;
  }

  // A floating window of the bar over the form, shown at the given place.
  TdxBarControl* ShowFloatingWindow(TdxBar* bar, int left, int top, int width, int height) {
    auto* window = new TdxBarControl(Manager, bar);
    window->ParentWindow = Form->GetHandle();
    window->SetBounds(left, top, width, height);
    window->SetVisible(true);
    guitest::PumpFor(100);
    return window;
  }

  // A window of the bar docked by code at the start of a top dock (none: the
  // form's own).
  TdxBarControl* DockTopWindow(TdxBar* bar, TdxDockControl* dock = nullptr) {
    if (!dock) dock = Manager->GetBars()->GetDockControl(dsTop);
    auto* window = new TdxBarControl(Manager, bar);
    window->SetDockingStyle(dsTop);
    window->SetParent(dock);
    window->SetVisible(true);
    dock->InsertBarControl(window, dock->ClientToScreen(TPoint(0, 0)), true);
    guitest::PumpFor(50);
    return window;
  }

  // The size of a text in a bar window's font.
  static SIZE TextSizeIn(const TdxBarControl* window, const String& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, window->GetFontHandle());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
  }

  // The pointer leaves the bar, so that the window's mouse tracking ends
  // before it goes.
  static void MovePointerOff(TdxBarControl* window) {
    guitest::SendMouseAt(POINT{20, 20}, 0);
    if (window) guitest::PumpUntil([&] { return !IsTrackingMouse(window->GetHandle()); });
  }

  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = nullptr;
};

// The manager's first bar docked at the top of the shown form in the
// Standard look, with a plain edit on the form that has the focus when asked
// for: the fixture of the editing items.
class EditingBarsTest : public BarsTest {
protected:
  // After Build: shows the form at (60, 60) with the given size, with the
  // plain edit at the given top (none below 0), docks the bar and gives the
  // edit the focus.
  void ShowDocked(int formWidth, int formHeight, int editTop = -1) {
    Manager->SetStyle(bmsStandard);
    Bar = Manager->GetBars()->GetItem(0);
    Form->SetBounds(60, 60, formWidth, formHeight);
    if (editTop >= 0) {
      Plain = new TEdit(Form.get());
      Plain->SetParent(Form.get());
      Plain->SetBounds(10, editTop, 150, 24);
    }
    Form->Show();
    SetCursorPos(5, 5);
    Window = DockTopWindow(Bar);
    if (!Plain) return;
    Plain->SetFocus();
    guitest::PumpUntil([&] { return GetFocus() == Plain->GetHandle(); });
  }

  void TearDown() override {
    Manager->DeactivateAll();
    guitest::SendMouseAt(POINT{5, 5}, 0);
    guitest::PumpFor(30);
  }

  TdxBar* Bar = nullptr;
  TdxBarControl* Window = nullptr;
  TEdit* Plain = nullptr;
};
