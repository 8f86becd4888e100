// The toolbar painters against plain GDI, in one run under Wine: a toolbar
// of 30 buttons and a menu of 30 entries painted 1,000 times into a memory
// picture with each painter, and the same number of FillRect and DrawText
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

// A window that paints its links as menu entries, one under the other.
class TMenuSheet : public TdxBarControl {
public:
  using TdxBarControl::TdxBarControl;
  int EntryHeight = 22;
  TRect EntryRect(int I) { return TRect(0, I * EntryHeight, GetClientWidth(), (I + 1) * EntryHeight); }

protected:
  void Paint() override {
    TdxBarItemLinks* links = GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i) {
      TdxBarItemControl* control = links->GetItem(i)->GetControl();
      if (!control) continue;
      BackgroundBrush = GetToolbarBrush();
      control->Paint(EntryRect(i), 1);
    }
  }
};

struct TScene {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = nullptr;
  TdxBarControl* Toolbar = nullptr;
  TMenuSheet* Menu = nullptr;
  HDC MemoryDC = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ OldBitmap = nullptr;

  explicit TScene(TdxBarManagerStyle style) {
    Manager = CreateBarManager(Form.get(), [](TdxBarManager* m) {
      for (int b = 0; b < 2; ++b) {
        TdxBar* bar = m->GetBars()->Add();
        for (int i = 0; i < kItems; ++i) {
          auto* button = new TdxBarButton(m->GetOwnerForm());
          button->SetName("B" + IntToStr(b) + "_" + IntToStr(i));
          button->SetCategory(0);
          button->SetCaption("Item " + IntToStr(i + 1));
          if (i % 7 == 3) {
            button->SetButtonStyle(bsChecked);
            button->SetDown(true);
          }
          TdxBarItemLink* link = bar->GetItemLinks()->Add();
          link->SetItem(button);
          link->SetBeginGroup(i % 5 == 0 && i > 0);
        }
      }
    });
    Manager->SetStyle(style);
    Form->SetBounds(20, 20, 900, 760);
    Form->Show();
    Toolbar = new TdxBarControl(Manager, Manager->GetBars()->GetItem(0));
    Toolbar->ParentWindow = Form->GetHandle();
    Toolbar->SetBounds(30, 60, 860, 80);
    Toolbar->SetVisible(true);
    Menu = new TMenuSheet(Manager, Manager->GetBars()->GetItem(1));
    Menu->ParentWindow = Form->GetHandle();
    Menu->SetBounds(30, 150, 200, kItems * Menu->EntryHeight);
    Menu->SetVisible(true);
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
    delete Menu;
    delete Toolbar;
  }

  void PaintBars() {
    for (int round = 0; round < kRounds; ++round) {
      SendMessageA(Toolbar->GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(MemoryDC), PRF_CLIENT);
      SendMessageA(Menu->GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(MemoryDC), PRF_CLIENT);
    }
  }

  // The floor: each rectangle filled and its caption written.
  void PaintPlain() {
    std::vector<std::pair<TRect, String>> cells;
    TdxBarItemLinks* links = Toolbar->GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i)
      cells.emplace_back(links->GetItem(i)->ItemRect, links->GetItem(i)->GetItem()->GetCaption());
    for (int i = 0; i < kItems; ++i)
      cells.emplace_back(Menu->EntryRect(i), Menu->GetItemLinks()->GetItem(i)->GetItem()->GetCaption());
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
    const bool painted = std::strcmp(side, "plain") != 0, plain = std::strcmp(side, "bars") != 0;
    const double barsSeconds = painted ? Seconds([&] { scene.PaintBars(); }) : 0;
    const double plainSeconds = plain ? Seconds([&] { scene.PaintPlain(); }) : 0;
    std::printf("%-9s painter %.3f s  FillRect+DrawText %.3f s", s.name, barsSeconds, plainSeconds);
    if (painted && plain) std::printf("  ratio %.2f", barsSeconds / plainSeconds);
    std::printf("\n");
  }
  return 0;
}
