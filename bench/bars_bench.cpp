// The toolbar painters against plain GDI, in one run under Wine: a toolbar
// of 30 buttons and a menu window of 30 entries (its frame and its client
// area) painted 1,000 times into a memory picture with each painter, and the same number of FillRect and DrawText
// calls on the same rectangles with the same captions.
//
//   bars_bench [standard|enhanced|flat|office11|xp] [bars|plain]
//   (default: every painter, both sides, and their ratio)
#include "ControlsLibrary.h"
#include "Forms.h"
#include "dxBar.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kItems = 30;
constexpr int kRounds = 1000;

void ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

double Seconds(const std::function<void()>& AWork) {
  const auto start = std::chrono::steady_clock::now();
  AWork();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct TScene {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = nullptr;
  TdxBarControl* Toolbar = nullptr;
  TdxBarSubMenuControl* Menu = nullptr;
  HDC MemoryDC = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ OldBitmap = nullptr;

  explicit TScene(TdxBarManagerStyle style) {
    Manager = CreateBarManager(Form.get(), [](TdxBarManager* m) {
      // The toolbar's buttons and the menu's entries: every seventh checked,
      // a group every five.
      TdxBar* bar = m->GetBars()->Add();
      auto* menu = new TdxBarSubItem(m->GetOwnerForm());
      menu->SetName("Menu");
      menu->SetCategory(0);
      for (TdxBarItemLinks* links : {bar->GetItemLinks(), menu->GetItemLinks()})
        for (int i = 0; i < kItems; ++i) {
          auto* button = new TdxBarButton(m->GetOwnerForm());
          button->SetName((links == bar->GetItemLinks() ? "B" : "M") + IntToStr(i));
          button->SetCategory(0);
          button->SetCaption("Item " + IntToStr(i + 1));
          if (i % 7 == 3) {
            button->SetButtonStyle(bsChecked);
            button->SetDown(true);
          }
          TdxBarItemLink* link = links->Add();
          link->SetItem(button);
          link->SetBeginGroup(i % 5 == 0 && i > 0);
        }
    });
    Manager->SetStyle(style);
    Form->SetBounds(20, 20, 900, 760);
    Form->Show();
    Toolbar = new TdxBarControl(Manager, Manager->GetBars()->GetItem(0));
    Toolbar->ParentWindow = Form->GetHandle();
    Toolbar->SetBounds(30, 60, 860, 80);
    Toolbar->SetVisible(true);
    Manager->SetMenuAnimations(maNone);
    auto* item = dynamic_cast<TdxBarSubItem*>(Manager->FindItemByName("Menu"));
    Menu = dynamic_cast<TdxBarSubMenuControl*>(item->GetItemLinks()->CreateBarControl());
    Menu->SetBounds(30, 150, Menu->GetWidth(), Menu->GetHeight());
    ShowMenuWindow(Menu);
    ProcessMessages();
    HDC screen = GetDC(nullptr);
    MemoryDC = CreateCompatibleDC(screen);
    Bitmap = CreateCompatibleBitmap(screen, 900, 760);
    ReleaseDC(nullptr, screen);
    OldBitmap = SelectObject(MemoryDC, Bitmap);
    // One hot entry on each, as the mouse leaves it.
    Toolbar->HotTrackControl(Toolbar->GetItemLinks()->GetItem(2)->GetControl());
    Menu->HotTrackControl(Menu->GetItemLinks()->GetItem(4)->GetControl());
  }
  ~TScene() {
    SelectObject(MemoryDC, OldBitmap);
    DeleteObject(Bitmap);
    DeleteDC(MemoryDC);
    Menu->Release();
    delete Toolbar;
  }

  // The toolbar's client area, and the menu's frame and client area.
  void PaintBars() {
    RECT frame;
    GetWindowRect(Menu->GetHandle(), &frame);
    const TRect window(0, 0, frame.right - frame.left, frame.bottom - frame.top);
    for (int round = 0; round < kRounds; ++round) {
      SendMessageA(Toolbar->GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(MemoryDC), PRF_CLIENT);
      Manager->GetPainterClass()->DrawMenuFrame(Menu, MemoryDC, window);
      SendMessageA(Menu->GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(MemoryDC), PRF_CLIENT);
    }
  }

  // The floor: each rectangle filled and its caption written.
  void PaintPlain() {
    std::vector<std::pair<TRect, String>> cells;
    TdxBarItemLinks* links = Toolbar->GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i)
      cells.emplace_back(links->GetItem(i)->ItemRect, links->GetItem(i)->GetItem()->GetCaption());
    links = Menu->GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i)
      cells.emplace_back(links->GetItem(i)->ItemRect, links->GetItem(i)->GetItem()->GetCaption());
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    HGDIOBJ oldFont = SelectObject(MemoryDC, Manager->GetMenuFontHandle());
    SetBkMode(MemoryDC, TRANSPARENT);
    for (int round = 0; round < kRounds; ++round)
      for (auto& [r, caption] : cells) {
        FillRect(MemoryDC, &r, face);
        RECT text = r;
        DrawTextA(MemoryDC, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      }
    SelectObject(MemoryDC, oldFont);
  }
};

struct TStyle {
  const char* name;
  TdxBarManagerStyle style;
};

const TStyle kStyles[] = {{"standard", bmsStandard},
                          {"enhanced", bmsEnhanced},
                          {"flat", bmsFlat},
                          {"office11", bmsOffice11},
                          {"xp", bmsXP}};

} // namespace

int main(int argc, char** argv) {
  const char* only = argc > 1 ? argv[1] : nullptr;
  const char* side = argc > 2 ? argv[2] : "both";
  TControlsLibrary controls;
  TBarsLibrary bars;
  Application->Initialize();
  for (const TStyle& s : kStyles) {
    if (only && std::strcmp(only, s.name) != 0) continue;
    TScene scene(s.style);
    if (scene.Menu->GetFittingCount() < kItems) std::printf("%s: the menu shows only %d entries\n", s.name,
                                                             scene.Menu->GetFittingCount());
    const bool painted = std::strcmp(side, "plain") != 0, plain = std::strcmp(side, "bars") != 0;
    const double barsSeconds = painted ? Seconds([&] { scene.PaintBars(); }) : 0;
    const double plainSeconds = plain ? Seconds([&] { scene.PaintPlain(); }) : 0;
    std::printf("%-9s painter %.3f s  FillRect+DrawText %.3f s", s.name, barsSeconds, plainSeconds);
    if (painted && plain) std::printf("  ratio %.2f", barsSeconds / plainSeconds);
    std::printf("\n");
  }
  return 0;
}
