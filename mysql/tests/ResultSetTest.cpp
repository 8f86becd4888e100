// Walking, positioning and searching result sets, buffered and row by row.
#include "ClientReplies.h"
#include "ClientTestSupport.h"

namespace {

using namespace client_replies;

// A client whose one statement gets the scripted reply.
class ResultSet : public ::testing::Test {
protected:
  std::unique_ptr<TMysqlResult> Open(const Bytes& reply, bool store = true) {
    ScriptLogin(server);
    server.ExpectPacket().Send(reply).Stall(100);
    EXPECT_TRUE(ConnectTo(client, server, false)) << client.ErrorText();
    bool ran = false;
    auto result = client.Query("select", store, ran);
    EXPECT_TRUE(ran) << client.ErrorText();
    return result;
  }
  void TearDown() override { server.Wait(); }

  TScriptedServer server{3000};
  TMysqlClient client;
};

String At(const TMysqlResult& r) {
  return std::to_string(r.GetRowIndex()) + ":" + ValueText(r, 0);
}

} // namespace

TEST_F(ResultSet, EmptyBufferedResult) {
  auto r = Open(ResultOf({}));
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->GetEof());
  EXPECT_EQ(r->GetRowIndex(), -1);
  EXPECT_EQ(r->Value(0), nullptr);
  r->First();
  EXPECT_TRUE(r->GetEof());
  EXPECT_TRUE(r->GetBof());
  r->Next();
  r->Last();
  EXPECT_EQ(r->GetRowIndex(), -1);
  r->FetchLengths(true);
  EXPECT_EQ(r->Length(0), 0u);
}

TEST_F(ResultSet, BufferedMovesStopAtTheEnds) {
  auto r = Open(ResultOf({{"1", "a"}, {"2", "bb"}, {"3", "ccc"}}));
  ASSERT_TRUE(r);
  EXPECT_EQ(At(*r), "0:1");
  r->Prior();
  EXPECT_TRUE(r->GetBof());
  EXPECT_EQ(At(*r), "0:1");
  r->Last();
  EXPECT_TRUE(r->GetEof());
  EXPECT_EQ(At(*r), "2:3");
  r->Next();
  EXPECT_TRUE(r->GetEof());
  EXPECT_EQ(At(*r), "2:3");
  r->Prior();
  EXPECT_FALSE(r->GetBof());
  EXPECT_EQ(At(*r), "1:2");
  r->First();
  EXPECT_TRUE(r->GetBof());
  EXPECT_FALSE(r->GetEof());
  EXPECT_EQ(At(*r), "0:1");
}

TEST_F(ResultSet, SeekAndLengths) {
  auto r = Open(ResultOf({{"1", "a"}, {"2", "bb"}, {"3", "ccc"}}));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Length(1), 0u) << "no lengths before they are fetched";
  r->FetchLengths(true);
  EXPECT_EQ(r->Length(1), 1u);
  r->Seek(2);
  EXPECT_EQ(At(*r), "2:3");
  EXPECT_EQ(r->Length(1), 0u) << "lengths of the old row are gone";
  r->FetchLengths(false);
  EXPECT_EQ(r->Length(1), 0u);
  r->FetchLengths(true);
  EXPECT_EQ(r->Length(1), 3u);
  for (int64_t outside : {int64_t(3), int64_t(-1)}) {
    r->Seek(outside);
    EXPECT_EQ(At(*r), "2:3");
  }
  EXPECT_EQ(r->Length(5), 0u);
  EXPECT_EQ(r->Value(5), nullptr);
  EXPECT_EQ(r->Field(5), nullptr);
  EXPECT_EQ(r->Field(1)->Name, "name");
  EXPECT_EQ(r->Field(1)->MaxLength, 3);
}

TEST_F(ResultSet, NullAndEmptyStayApart) {
  for (bool store : {true, false}) {
    TScriptedServer s(3000);
    ScriptLogin(s);
    s.ExpectPacket().Send(ResultOf({{"1", std::nullopt}, {"2", ""}})).Stall(100);
    TMysqlClient c;
    ASSERT_TRUE(ConnectTo(c, s, false));
    bool ran;
    auto r = c.Query("select", store, ran);
    ASSERT_TRUE(r);
    r->FetchLengths(true);
    EXPECT_EQ(r->Value(1), nullptr);
    r->Next();
    r->FetchLengths(true);
    ASSERT_NE(r->Value(1), nullptr) << (store ? "buffered" : "row by row");
    EXPECT_STREQ(r->Value(1), "");
    EXPECT_EQ(r->Length(1), 0u);
    r.reset();
    s.Wait();
  }
}

TEST_F(ResultSet, RowByRowReadsForwardOnly) {
  auto r = Open(ResultOf({{"1", "a"}, {"2", "b"}, {"3", "c"}, {"4", "d"}}), false);
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->GetBuffered());
  EXPECT_TRUE(r->GetBof());
  EXPECT_EQ(At(*r), "0:1");
  EXPECT_EQ(client.GetStatus(), csUseResult);
  r->Next();
  r->Prior();
  EXPECT_TRUE(r->GetBof());
  EXPECT_EQ(At(*r), "1:2") << "no way back";
  r->Seek(0);
  EXPECT_EQ(At(*r), "1:2");
  r->Last();
  EXPECT_TRUE(r->GetEof());
  EXPECT_EQ(At(*r), "3:4");
  EXPECT_EQ(r->GetRowCount(), 4u);
  EXPECT_EQ(r->GetFetchState(), 1);
  EXPECT_EQ(client.GetStatus(), csReady);
  EXPECT_EQ(client.GetAffectedRows(), 4u);
  r->Next();
  EXPECT_TRUE(r->GetEof());
}

TEST_F(ResultSet, ClosingTheClientCutsARowByRowResultOff) {
  auto r = Open(ResultOf({{"1", "a"}, {"2", "b"}}), false);
  ASSERT_TRUE(r);
  client.Close();
  r->Next();
  EXPECT_TRUE(r->GetEof());
  EXPECT_EQ(r->GetFetchState(), -1);
  r->Last();
  r.reset(); // nothing left to drain, no client to touch
}

TEST_F(ResultSet, StoreOrUseOnlyWhileAResultIsPending) {
  auto r = Open(ResultOf({{"1", "a"}}));
  ASSERT_TRUE(r);
  EXPECT_FALSE(client.StoreResult()) << "no result pending: none, and no error";
  EXPECT_EQ(client.ErrorCode(), 0);
  EXPECT_FALSE(client.UseResult());
}

TEST_F(ResultSet, LocateComparesByColumnType) {
  auto r = Open(
      ResultOf({{"n", 3, 11}, {"z", 3, 4, 0x40}, {"t", 253, 20}, {"b", 252, 65535}},
               {{"9", "0009", "Nine", "blob"}, {"10", "0010", "ten", "blob"}, {std::nullopt, "", "", "x"}}));
  ASSERT_TRUE(r);
  struct Case {
    std::vector<int> columns;
    std::vector<String> texts;
    bool caseInsensitive;
    int64_t row;
  } cases[] = {
      {{0}, {"10"}, false, 1},
      {{0}, {"9"}, false, 0},
      {{0}, {"09"}, false, -1},  // numbers compare by length first
      {{1}, {"0010"}, false, 1}, // zero-filled: as bytes
      {{2}, {"TEN"}, false, -1},
      {{2}, {"TEN"}, true, 1},
      {{0, 2}, {"10", "ten"}, false, 1},
      {{0, 2}, {"10", "nine"}, true, -1},
      {{0}, {""}, false, 2},      // NULL compares as the empty text
      {{3}, {"blob"}, false, -1}, // blobs never match
      {{7}, {"x"}, false, -1},    // not a column of the result
  };
  for (const auto& c : cases)
    EXPECT_EQ(r->Locate(c.columns.data(), c.texts.data(), int(c.columns.size()), c.caseInsensitive), c.row)
        << c.texts[0] << " in column " << c.columns[0];
}
