// A form with a tab control, and a painter whose tab lengths are the
// numbers their captions spell, for layouts with exact sizes.
#pragma once

#include "cxPC.h"
#include "cxPCPainters.h"

#include "Forms.h"
#include "GuiTest.h"

#include <memory>
#include <vector>

// Tabs painter metrics (no spacing, a minimum part of 4), but a tab's width
// is its caption read as a number.
class TSizedTabsPainter : public TcxPCTabsPainter {
public:
  using TcxPCTabsPainter::TcxPCTabsPainter;
  static constexpr TcxPCStyleID kStyle = 100;
  const TcxPCPainterClass& GetClass() const override;
  int CalculateTabNormalWidth(TcxTab* Tab) override { return std::atoi(Tab->GetCaption().c_str()); }
  bool IsNativePainting() override { return false; }
};

inline std::unique_ptr<TcxPCCustomPainter> CreateSizedPainter(TcxCustomTabControl* AControl) {
  return std::make_unique<TSizedTabsPainter>(AControl);
}

inline bool NeverMatches(TcxLookAndFeel*) {
  return false;
}

inline const TcxPCPainterClass kSizedPainterClass{"TSizedTabsPainter", TSizedTabsPainter::kStyle,
                                                  NeverMatches, NeverMatches, CreateSizedPainter};

inline const TcxPCPainterClass& TSizedTabsPainter::GetClass() const {
  return kSizedPainterClass;
}

inline void RegisterSizedPainter() {
  PaintersFactory()->RegisterPainterClass(&kSizedPainterClass);
}

// A shown form with a tab control (or a page control) at (0, 0).
template <typename TControlClass = TcxCustomTabControl> struct TTabForm {
  explicit TTabForm(int width = 300, int height = 200) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, width + 40, height + 60);
    control = new TControlClass(form.get());
    control->SetBounds(0, 0, width, height);
    control->SetParent(form.get());
    form->Show();
    form->Update();
  }
  void AddTabs(const std::vector<String>& captions) {
    for (const String& caption : captions)
      control->GetTabs()->Add(caption);
  }
  TcxTab* Tab(int index) { return control->GetTabs()->GetTab(index); }
  std::unique_ptr<TForm> form;
  TControlClass* control;
};

// The message of the exception that the call throws, or "" when none.
template <typename F> String ErrorOf(F&& call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message;
  }
  return "";
}
