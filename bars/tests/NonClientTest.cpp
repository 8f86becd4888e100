// The frame of docked toolbar windows: every pixel outside the client area is
// painted, in every look.
#include "BarsTest.h"

#include "GuiTest.h"

namespace {

constexpr COLORREF kSentinel = RGB(255, 0, 255);

class NonClientTest : public BarsTest {
protected:
  // A main-menu bar on the first row of the top dock and a toolbar with a
  // mark (more buttons than fit) on the second, as a main window has them.
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      Menu = TopBar(m, "Main Menu", 0);
      Menu->SetIsMainMenu(true);
      Menu->SetWholeRow(true);
      for (const char* name : {"File", "Tools", "Help"}) AddLink(Menu->GetItemLinks(), AddButton(m, name));
      Menu->SetVisible(true);
      Tools = TopBar(m, "Button bar", 1);
      for (int i = 0; i < 30; ++i)
        AddLink(Tools->GetItemLinks(), AddButton(m, "Button" + IntToStr(i)), i == 2);
      Tools->SetVisible(true);
    });
    Form->SetBounds(100, 100, 420, 200);
    Form->Show();
    guitest::PumpFor(100);
  }

  static TdxBar* TopBar(TdxBarManager* m, const char* caption, int row) {
    TdxBar* bar = m->GetBars()->Add();
    bar->SetCaption(caption);
    bar->SetDockingStyle(dsTop);
    bar->OneOnRow = true;
    bar->SetRow(row);
    return bar;
  }

  // The whole window of the bar, frame included, as it stands after the
  // window was covered with the sentinel colour and then repainted.
  static guitest::TCapture Repainted(TdxBarControl* window) {
    HWND wnd = window->GetHandle();
    RECT r;
    GetWindowRect(wnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC dc = GetWindowDC(wnd);
    const RECT all{0, 0, w, h};
    HBRUSH sentinel = CreateSolidBrush(kSentinel);
    FillRect(dc, &all, sentinel);
    DeleteObject(sentinel);
    ReleaseDC(wnd, dc);
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    guitest::PumpFor(30);
    guitest::TCapture capture(w, h);
    dc = GetWindowDC(wnd);
    BitBlt(capture.DC(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
    ReleaseDC(wnd, dc);
    return capture;
  }

  TdxBar* Menu = nullptr;
  TdxBar* Tools = nullptr;
};

} // namespace

TEST_F(NonClientTest, EveryPixelOfADockedBarsWindowIsPaintedInEveryLook) {
  const struct {
    TdxBarManagerStyle style;
    const char* name;
  } looks[] = {{bmsStandard, "standard"}, {bmsEnhanced, "enhanced"}, {bmsFlat, "flat"},
               {bmsXP, "xp"},             {bmsOffice11, "office11"}};
  for (const auto& look : looks) {
    Manager->SetStyle(look.style);
    guitest::PumpFor(50);
    for (TdxBar* bar : {Menu, Tools}) {
      TdxBarControl* window = bar->GetBarControl();
      ASSERT_TRUE(window && window->HandleAllocated()) << look.name;
      RECT w, c;
      GetWindowRect(window->GetHandle(), &w);
      GetClientRect(window->GetHandle(), &c);
      // The frame is really there: the test would prove nothing without it.
      if (bar == Tools) {
        EXPECT_GT((w.right - w.left) - c.right, 0) << look.name;
        ASSERT_TRUE(window->MarkVisible()) << look.name;
      }
      const guitest::TCapture shot = Repainted(window);
      const String name = String("bars_nonclient_") + look.name + (bar == Menu ? "_menu" : "_toolbar");
      shot.SavePng(name);
      const RECT all{0, 0, shot.Width(), shot.Height()};
      EXPECT_EQ(shot.CountPixels(all, kSentinel), 0) << name.c_str();
      for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
          if (shot.Pixel(x, y) == kSentinel) {
            ADD_FAILURE() << name.c_str() << ": first unpainted pixel at " << x << "," << y << " of "
                          << shot.Width() << "x" << shot.Height();
            y = shot.Height();
            break;
          }
    }
  }
}
