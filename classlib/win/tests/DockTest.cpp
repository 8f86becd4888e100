// Docking in the class library: a dock site takes a control docked by code,
// hears it leave after it has its new place, follows its text and
// visibility; a floating control lives on a dock form that goes with its
// last client. Beside it: ShowControl up the parents and SelectFirst.
#include "ExtCtrls.h"
#include "Forms.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpFor;

// A dock site that records what it is told.
class TRecordingSite : public TPanel {
public:
  using TPanel::TPanel;
  std::vector<String> Log;
  void DoRemoveDockClient(TControl* Client) override {
    Log.push_back("remove, parent is " + String(Client->GetParent() == this ? "site" : "elsewhere"));
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_UNDOCKCLIENT) Log.push_back("undock");
    if (Message.Msg == CM_DOCKNOTIFICATION) {
      auto* rec = reinterpret_cast<TDockNotifyRec*>(Message.LParam);
      if (rec->ClientMsg == WM_SETTEXT)
        Log.push_back("text " + String(reinterpret_cast<const char*>(rec->MsgLParam)));
      if (rec->ClientMsg == CM_VISIBLECHANGED) Log.push_back(rec->MsgWParam ? "shown" : "hidden");
    }
    TPanel::WndProc(Message);
  }
};

struct TDockForm {
  TDockForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 400, 240);
    site = new TRecordingSite(form.get());
    site->SetBounds(200, 10, 180, 180);
    site->SetParent(form.get());
    site->SetDockSite(true);
    client = new TPanel(form.get());
    client->SetBounds(10, 10, 80, 60);
    client->SetParent(form.get());
    form->Show();
    PumpFor(30);
  }
  std::unique_ptr<TForm> form;
  TRecordingSite* site;
  TPanel* client;
};

TEST(Docking, AControlDockedByCodeMovesIntoTheSiteAndTellsItOfChanges) {
  TDockForm f;
  ASSERT_TRUE(f.client->ManualDock(f.site));
  EXPECT_EQ(f.site, f.client->GetParent());
  EXPECT_EQ(f.site, f.client->GetHostDockSite());
  EXPECT_EQ(std::vector<TControl*>{f.client}, f.site->DockClients());
  f.client->SetCaption("Tools");
  f.client->SetVisible(false);
  EXPECT_EQ((std::vector<String>{"text Tools", "hidden"}), f.site->Log);
}

TEST(Docking, AFloatingControlLivesOnADockFormThatGoesWithIt) {
  TDockForm f;
  f.client->ManualDock(f.site);
  f.site->Log.clear();
  f.client->ManualDock(nullptr);
  auto* host = dynamic_cast<TCustomDockForm*>(f.client->GetHostDockSite());
  ASSERT_NE(nullptr, host);
  EXPECT_EQ(host, f.client->GetParent());
  EXPECT_TRUE(host->GetVisible());
  EXPECT_TRUE(host->GetDockSite());
  EXPECT_EQ((std::vector<String>{"undock", "remove, parent is elsewhere"}), f.site->Log)
      << "the old site hears of the removal once the client has its new place";
  const HWND hostWindow = host->GetHandle();
  f.client->ManualDock(f.site);
  PumpFor(100);
  EXPECT_FALSE(IsWindow(hostWindow)) << "the empty dock form is released";
  EXPECT_EQ(f.site, f.client->GetParent());
}

TEST(Docking, AFloatingDockFormGoesWhenItsLastControlIsDestroyed) {
  TDockForm f;
  f.client->ManualDock(nullptr);
  auto* host = dynamic_cast<TCustomDockForm*>(f.client->GetHostDockSite());
  ASSERT_NE(nullptr, host);
  const HWND hostWindow = host->GetHandle();
  delete f.client;
  PumpFor(100);
  EXPECT_FALSE(IsWindow(hostWindow)) << "no empty floating form is left open";
}

TEST(ShowControl, ShowingAControlShowsItsParents) {
  TDockForm f;
  f.site->Hide();
  auto* edit = new TEdit(f.form.get());
  edit->SetParent(f.site);
  edit->Hide();
  edit->Show();
  EXPECT_TRUE(edit->GetVisible());
  EXPECT_TRUE(f.site->GetVisible());
}

TEST(SelectFirst, TheFirstTabStopBecomesTheActiveControl) {
  TDockForm f;
  auto* first = new TEdit(f.form.get());
  first->SetParent(f.site);
  auto* second = new TEdit(f.form.get());
  second->SetParent(f.site);
  f.form->SetActiveControl(second);
  f.site->SelectFirst();
  EXPECT_EQ(first, f.form->GetActiveControl());
}

} // namespace
