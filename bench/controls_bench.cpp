// The owner-drawn controls against the class library's standard ones, in one
// run under Wine: the progress bar advanced step by step with the pending
// messages processed after each step, as a synchronisation does, against
// the class library's TProgressBar doing the same; and the table chooser's
// check list box filled with table names out of order, sorted and all
// checked, against the class library's TCheckListBox.
//
//   controls_bench [progress|checklist] [cx|std]   (default: both cases, both
//   controls; goal: within 3x)
#include "CheckLst.h"
#include "ComCtrls.h"
#include "EditorsLibrary.h"
#include "Forms.h"
#include "cxCheckListBox.h"
#include "cxProgressBar.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

namespace {

constexpr int kSteps = 4000;
constexpr int kTables = 5000;

// Table names in no order: a multiplicative walk through the numbers.
String TableName(int I) {
  return Format("table_%05d", (I * 7919) % kTables);
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::unique_ptr<TForm> ShownForm() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(40, 40, 480, 120);
  form->Show();
  ProcessMessages();
  return form;
}

template <typename Control> void Place(Control* AControl, TForm* AForm, int AHeight) {
  AControl->SetParent(AForm);
  AControl->SetBounds(16, 8, 406, AHeight);
}

double Seconds(const std::function<void()>& AWork) {
  const auto start = std::chrono::steady_clock::now();
  AWork();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double RunOwnProgressBar() {
  std::unique_ptr<TForm> form = ShownForm();
  auto* bar = new TcxProgressBar(form.get());
  Place(bar, form.get(), 17);
  bar->GetProperties()->SetMax(kSteps);
  ProcessMessages();
  return Seconds([&] {
    for (int i = 0; i < kSteps; ++i) {
      bar->SetPosition(bar->GetPosition() + 1);
      bar->Update();
      ProcessMessages();
    }
  });
}

double RunStandardProgressBar() {
  std::unique_ptr<TForm> form = ShownForm();
  auto* bar = new TProgressBar(form.get());
  Place(bar, form.get(), 17);
  bar->SetMax(kSteps);
  ProcessMessages();
  return Seconds([&] {
    for (int i = 0; i < kSteps; ++i) {
      bar->StepBy(1);
      bar->Update();
      ProcessMessages();
    }
  });
}

double RunOwnCheckList() {
  std::unique_ptr<TForm> form = ShownForm();
  auto* list = new TcxCheckListBox(form.get());
  Place(list, form.get(), 70);
  list->SetAllowGrayed(true);
  list->SetSorted(true);
  ProcessMessages();
  return Seconds([&] {
    TcxCheckListBoxItems* items = list->GetItems();
    items->BeginUpdate();
    for (int i = 0; i < kTables; ++i) {
      TcxCheckListBoxItem* item = items->Add();
      item->SetText(TableName(i));
      item->SetChecked(true);
    }
    items->EndUpdate();
    list->Update();
    ProcessMessages();
  });
}

double RunStandardCheckList() {
  std::unique_ptr<TForm> form = ShownForm();
  auto* list = new TCheckListBox(form.get());
  Place(list, form.get(), 70);
  list->AllowGrayed = true;
  list->SetSorted(true);
  ProcessMessages();
  return Seconds([&] {
    TStrings* rows = list->GetItems();
    rows->BeginUpdate();
    for (int i = 0; i < kTables; ++i)
      list->SetChecked(rows->Add(TableName(i)), true);
    rows->EndUpdate();
    list->Update();
    ProcessMessages();
  });
}

struct TCase {
  const char* name;
  double (*own)();
  double (*standard)();
};

const TCase kCases[] = {
    {"progress", RunOwnProgressBar, RunStandardProgressBar},
    {"checklist", RunOwnCheckList, RunStandardCheckList},
};

} // namespace

int main(int argc, char** argv) {
  const char* only = argc > 1 ? argv[1] : nullptr;
  const char* side = argc > 2 ? argv[2] : "both";
  TEditorsLibrary library;
  Application->Initialize();
  for (const TCase& c : kCases) {
    if (only && std::strcmp(only, c.name) != 0) continue;
    const bool own = std::strcmp(side, "std") != 0, standard = std::strcmp(side, "cx") != 0;
    const double ownSeconds = own ? c.own() : 0;
    const double standardSeconds = standard ? c.standard() : 0;
    std::printf("%-9s own %.3f s  class library %.3f s", c.name, ownSeconds, standardSeconds);
    if (own && standard) std::printf("  ratio %.2f (goal: at most 3)", ownSeconds / standardSeconds);
    std::printf("\n");
  }
  return 0;
}
