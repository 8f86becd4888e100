// Drag and drop between controls, driven by real mouse input: the automatic
// start, the threshold, the targets' answers and cursors, the drop,
// Escape, a supplied drag object and a source destroyed while it drags.
#include "ExtCtrls.h"
#include "Forms.h"
#include "GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::MouseEventAt;
using guitest::PumpFor;

// A form with a source panel, an accepting target and a refusing one.
struct TDragForm {
  TDragForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(50, 50, 400, 200);
    source = Panel(10);
    target = Panel(140);
    refuser = Panel(270);
    source->SetDragMode(dmAutomatic);
    source->OnStartDrag = [this](TObject*, TDragObject*&) { Log.push_back("start"); };
    source->OnEndDrag = [this](TObject*, TObject* Target, int X, int Y) {
      Log.push_back(Format("end %s %d,%d", Target == target ? "target" : Target ? "other" : "none", X, Y));
    };
    target->OnDragOver = [this](TObject*, TObject* Source, int, int, TDragState State, bool& Accept) {
      static const char* names[] = {"enter", "leave", "move"};
      if (Log.empty() || Log.back() != names[State]) Log.push_back(names[State]);
      Accept = Source == source || Source == Supplied;
    };
    target->OnDragDrop = [this](TObject*, TObject* Source, int X, int Y) {
      Log.push_back(Format("drop %s %d,%d", Source == source ? "source" : "object", X, Y));
    };
    form->Show();
    PumpFor(50);
  }
  TPanel* Panel(int Left) {
    auto* panel = new TPanel(form.get());
    panel->SetBounds(Left, 20, 120, 100);
    panel->SetParent(form.get());
    return panel;
  }
  HWND Wnd(TControl* Control) { return static_cast<TWinControl*>(Control)->GetHandle(); }
  std::unique_ptr<TForm> form;
  TPanel* source;
  TPanel* target;
  TPanel* refuser;
  TDragObject* Supplied = nullptr;
  std::vector<String> Log;
};

// The log without a target left and entered again between two moves (a
// window of an earlier test may pass over it).
std::vector<String> Steady(const std::vector<String>& Log) {
  std::vector<String> steady;
  for (const String& entry : Log)
    if (entry == "enter" && !steady.empty() && steady.back() == "leave")
      steady.pop_back();
    else if (steady.empty() || entry != "move" || steady.back() != "move")
      steady.push_back(entry);
  return steady;
}

HCURSOR CursorOf(TCursor Id) {
  return Screen->GetCursors(Id);
}

TEST(DragBetweenControls, AnAutomaticDragDropsOnATargetThatAccepts) {
  TDragForm f;
  MouseEventAt(f.Wnd(f.source), 30, 30, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(f.source->Dragging()) << "dmAutomatic starts at the press";
  MouseEventAt(f.Wnd(f.refuser), 40, 40);
  EXPECT_EQ(CursorOf(crNoDrop), GetCursor()) << "over a control without OnDragOver";
  MouseEventAt(f.Wnd(f.target), 40, 40);
  MouseEventAt(f.Wnd(f.target), 45, 42);
  EXPECT_EQ(CursorOf(crDrag), GetCursor()) << "the source's DragCursor where accepted";
  MouseEventAt(f.Wnd(f.target), 45, 42, MOUSEEVENTF_LEFTUP);
  EXPECT_FALSE(f.source->Dragging());
  EXPECT_EQ(nullptr, GetCapture());
  const std::vector<String> expected = {"start",           "enter", "move", "leave", "drop source 45,42",
                                        "end target 45,42"};
  EXPECT_EQ(expected, Steady(f.Log));
}

TEST(DragBetweenControls, EscapeOrARefusingTargetEndsWithoutADrop) {
  const struct {
    const char* name;
    bool escape;
    TPanel* TDragForm::*over;
  } cases[] = {{"Escape over the target", true, &TDragForm::target},
               {"released over a refusing control", false, &TDragForm::refuser}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TDragForm f;
    MouseEventAt(f.Wnd(f.source), 30, 30, MOUSEEVENTF_LEFTDOWN);
    MouseEventAt(f.Wnd(f.*c.over), 40, 40);
    if (c.escape) {
      PostMessageA(f.form->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
      PumpFor(30);
      EXPECT_FALSE(f.source->Dragging());
    }
    MouseEventAt(f.Wnd(f.*c.over), 40, 40, MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(f.source->Dragging());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ("end none 0,0", f.Log.back());
    for (const String& entry : f.Log)
      EXPECT_NE("drop", entry.substr(0, 4));
  }
}

TEST(DragBetweenControls, ADragWaitsForItsThreshold) {
  TDragForm f;
  f.source->SetDragMode(dmManual);
  f.source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    f.source->BeginDrag(false, 20);
  };
  MouseEventAt(f.Wnd(f.source), 100, 30, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(f.source->Dragging());
  MouseEventAt(f.Wnd(f.source), 110, 35);
  EXPECT_EQ(std::vector<String>{"start"}, f.Log) << "within the threshold no target hears of it";
  MouseEventAt(f.Wnd(f.target), 10, 10);
  EXPECT_EQ((std::vector<String>{"start", "enter", "move"}), Steady(f.Log));
  MouseEventAt(f.Wnd(f.target), 10, 10, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ("end target 10,10", f.Log.back());
}

// A drag object of the source's own, counting its frees.
class TCountedDragObject : public TDragObject {
public:
  explicit TCountedDragObject(int* AFreed) : FFreed(AFreed) {}
  ~TCountedDragObject() override { ++*FFreed; }

private:
  int* FFreed;
};

TEST(DragBetweenControls, ASuppliedDragObjectIsTheSourceAndIsFreedAtTheEnd) {
  TDragForm f;
  int freed = 0;
  f.source->OnStartDrag = [&](TObject*, TDragObject*& Object) {
    f.Supplied = Object = new TCountedDragObject(&freed);
  };
  MouseEventAt(f.Wnd(f.source), 30, 30, MOUSEEVENTF_LEFTDOWN);
  MouseEventAt(f.Wnd(f.target), 20, 25);
  MouseEventAt(f.Wnd(f.target), 20, 25, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ("drop object 20,25", f.Log.back()) << "no end event: the object is not the control's";
  EXPECT_EQ(1, freed);
}

TEST(DragBetweenControls, ASourceDestroyedWhileDraggingEndsTheDrag) {
  TDragForm f;
  MouseEventAt(f.Wnd(f.source), 30, 30, MOUSEEVENTF_LEFTDOWN);
  MouseEventAt(f.Wnd(f.target), 40, 40);
  delete f.source;
  EXPECT_EQ(nullptr, GetCapture());
  MouseEventAt(f.Wnd(f.target), 40, 40, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ("move", f.Log.back()) << "nothing more reaches the target";
}

TEST(DragBetweenControls, DragCursorsShowASheetBelowTheArrow) {
  const struct {
    TCursor cursor;
    const char* name;
  } cases[] = {{crDrag, "cursor_drag"}, {crMultiDrag, "cursor_multidrag"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    guitest::TCapture picture(32, 32);
    RECT all{0, 0, 32, 32};
    FillRect(picture.DC(), &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    DrawIconEx(picture.DC(), 0, 0, Screen->GetCursors(c.cursor), 32, 32, 0, nullptr, DI_NORMAL);
    picture.SavePng(c.name);
    EXPECT_EQ(RGB(0, 0, 0), picture.Pixel(0, 0)) << "the arrow's tip";
    EXPECT_EQ(RGB(255, 255, 255), picture.Pixel(2, 5)) << "inside the arrow";
    EXPECT_EQ(RGB(255, 255, 255), picture.Pixel(17, 24)) << "inside the sheet";
    EXPECT_EQ(picture.Pixel(31, 0), RGB(128, 128, 128)) << "transparent around";
  }
  EXPECT_NE(Screen->GetCursors(crDrag), Screen->GetCursors(crMultiDrag));
}

} // namespace
