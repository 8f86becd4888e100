#include "MemDataSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class RecordingLink : public TDataLink {
public:
  explicit RecordingLink(Log& log) : FLog(log) {}

protected:
  void ActiveChanged() override { FLog.push_back(GetActive() ? "active" : "inactive"); }
  void EditingChanged() override { FLog.push_back(GetEditing() ? "editing" : "not editing"); }
  void RecordChanged(TField* f) override { FLog.push_back(f ? "field " + f->GetFieldName() : "record"); }
  void DataSetChanged() override { FLog.push_back("changed"); }
  void DataSetScrolled(int) override { FLog.push_back("scrolled"); }
  void UpdateData() override { FLog.push_back("update data"); }
  void CheckBrowseMode() override { FLog.push_back("check browse"); }

private:
  Log& FLog;
};

struct Linked {
  Log log;
  TMemDataSet ds;
  TDataSource src{nullptr};
  RecordingLink link{log};
  Linked() {
    ds.Columns = {{"id", ftInteger}};
    for (int i = 1; i <= 3; ++i)
      ds.AddRow({IntToStr(i)});
    link.SetDataSource(&src);
    src.SetDataSet(&ds);
  }
  Log Take() { return std::exchange(log, {}); }
};

TEST(DataLinks, FollowTheDataSetThroughItsStates) {
  Linked l;
  l.ds.Open();
  EXPECT_EQ(l.Take(), (Log{"active"}));
  l.ds.Next();
  EXPECT_EQ(l.Take(), (Log{"check browse", "scrolled"}));
  l.ds.Edit();
  EXPECT_EQ(l.Take(), (Log{"check browse", "editing", "record"}));
  l.ds.FieldByName("id")->SetAsInteger(9);
  EXPECT_EQ(l.Take(), (Log{"field id"}));
  l.ds.Post();
  EXPECT_EQ(l.Take(), (Log{"update data", "check browse", "not editing", "changed"}));
  l.ds.Close();
  EXPECT_EQ(l.Take(), (Log{"inactive"}));
}

TEST(DataLinks, DisabledControlsHearOnlyTheSummary) {
  Linked l;
  l.ds.Open();
  l.Take();
  l.ds.DisableControls();
  l.ds.Next();
  l.ds.Next();
  EXPECT_TRUE(l.Take().empty());
  l.ds.EnableControls();
  EXPECT_EQ(l.Take(), (Log{"changed"}));
}

TEST(DataLinks, DataSourceEditAndEvents) {
  Linked l;
  int stateChanges = 0, dataChanges = 0;
  l.src.OnStateChange = [&](TObject*) { ++stateChanges; };
  l.src.OnDataChange = [&](TObject*, TField*) { ++dataChanges; };
  l.ds.Open();
  EXPECT_EQ(l.src.GetState(), dsBrowse);
  EXPECT_TRUE(l.link.Edit());
  EXPECT_EQ(l.ds.GetState(), dsEdit);
  l.ds.Cancel();
  l.src.AutoEdit = false;
  EXPECT_FALSE(l.link.Edit());
  EXPECT_EQ(stateChanges, 3);
  EXPECT_GE(dataChanges, 1);
  l.src.SetEnabled(false);
  EXPECT_FALSE(l.link.GetActive());
}

// A data set whose master is another data set's source.
class TDetail : public TMemDataSet {
public:
  TDataSource* Master = nullptr;
  TDataSource* GetDataSource() override { return Master; }
};

TEST(DataLinks, CircularLinksAreRefused) {
  TDetail a, b;
  TDataSource sa(nullptr), sb(nullptr);
  sb.SetName("sb");
  sa.SetDataSet(&a);
  b.Master = &sa; // b is a detail of a
  a.Master = &sb; // a is to follow whatever sb shows
  EXPECT_TRUE(a.IsLinkedTo(&sa));
  EXPECT_FALSE(b.IsLinkedTo(&sb));
  try {
    sb.SetDataSet(&b); // sb -> b -> sa -> a -> sb
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "sb: Circular datalinks are not allowed");
  }
  EXPECT_EQ(sb.GetDataSet(), nullptr);
}

TEST(DataLinks, DestroyingTheDataSetDetachesItsSources) {
  Log log;
  TDataSource src(nullptr);
  RecordingLink link(log);
  link.SetDataSource(&src);
  {
    TMemDataSet ds;
    ds.Columns = {{"id", ftInteger}};
    src.SetDataSet(&ds);
    ds.Open();
  }
  EXPECT_EQ(src.GetDataSet(), nullptr);
  EXPECT_FALSE(link.GetActive());
}

class TestConnection : public TCustomConnection {
public:
  using TCustomConnection::TCustomConnection;
  Log* log = nullptr;
  bool open = false;

protected:
  void DoConnect() override {
    log->push_back("DoConnect");
    open = true;
  }
  void DoDisconnect() override {
    log->push_back("DoDisconnect");
    open = false;
  }
  bool GetConnectedImpl() const override { return open; }
};

TEST(Connections, ConnectAndDisconnectFireAroundTheHooks) {
  Log log;
  TestConnection c(nullptr);
  c.log = &log;
  c.BeforeConnect = [&](TObject*) { log.push_back("BeforeConnect"); };
  c.AfterConnect = [&](TObject*) { log.push_back("AfterConnect"); };
  c.BeforeDisconnect = [&](TObject*) { log.push_back("BeforeDisconnect"); };
  c.AfterDisconnect = [&](TObject*) { log.push_back("AfterDisconnect"); };
  c.Open();
  c.Open(); // already connected: nothing
  c.Close();
  EXPECT_EQ(log, (Log{"BeforeConnect", "DoConnect", "AfterConnect", "BeforeDisconnect", "DoDisconnect",
                      "AfterDisconnect"}));
}

TEST(Connections, ConnectedWhileLoadingWaitsForLoaded) {
  Log log;
  TestConnection c(nullptr);
  c.log = &log;
  c.BeginLoading();
  c.SetConnected(true);
  EXPECT_FALSE(c.GetConnected());
  c.Loaded();
  EXPECT_TRUE(c.GetConnected());
}

TEST(Connections, DataSetsRegisterWhileTheyUseTheConnection) {
  TestConnection c(nullptr);
  TMemDataSet a, b;
  TObject other;
  c.RegisterClient(&a);
  c.RegisterClient(&b);
  c.RegisterClient(&a);
  c.RegisterClient(&other);
  EXPECT_EQ(c.GetDataSetCount(), 2);
  EXPECT_EQ(c.GetDataSet(1), &b);
  c.UnRegisterClient(&a);
  EXPECT_EQ(c.GetDataSetCount(), 1);
  EXPECT_THROW(c.GetDataSet(1), EListError);
}

TEST(Connections, LoginDialogHookIsCalledWhenSet) {
  EXPECT_FALSE(LoginDialogExProc);
  LoginDialogExProc = [](const String& db, String& user, String& password, bool) {
    user = "u@" + db;
    password = "p";
    return true;
  };
  String user, password;
  EXPECT_TRUE(LoginDialogExProc("shop", user, password, false));
  EXPECT_EQ(user, "u@shop");
  LoginDialogExProc = nullptr;
}

} // namespace
