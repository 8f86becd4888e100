// The blob stream on TEXT and BLOB columns holding zero bytes: reading in
// pieces, seeking, writing into the record buffer, and the blob cache of a
// data set that keeps what it read.
#include "DbDatabaseTestSupport.h"

namespace {

// A query whose blob caching can be switched on, and which can be put into
// the edit state so that streams write into its record buffer (writing rows
// back to the server is not the stream's business).
class TBlobQuery : public TmySQLQuery {
public:
  using TmySQLQuery::TmySQLQuery;
  void CacheBlobs(bool on) { FCacheBlobs = on; }
  void EnterEdit() { SetState(dsEdit); }
};

const String Bytes10("\x00"
                     "A\x00"
                     "B\x00"
                     "C\x00"
                     "D\x00"
                     "E",
                     10);
const String TextWithZero("abc\x00"
                          "d\xE9"
                          "f",
                          7);

class DbBlob : public TComponentsOnServer {
protected:
  void SetUp() override {
    TComponentsOnServer::SetUp();
    if (IsSkipped()) return;
    FDb = NewDatabase();
    FDb->Execute("DROP TABLE IF EXISTS blob_rows");
    FDb->Execute("CREATE TABLE blob_rows (id INT, tx TEXT, bl BLOB)");
    FDb->Execute("INSERT INTO blob_rows VALUES (1, X'6162630064E966', X'00410042004300440045'),"
                 " (2, NULL, NULL), (3, '', ''), (4, 'second', X'FF00FF')");
  }

  std::unique_ptr<TBlobQuery> Open(const String& where) {
    auto query = std::make_unique<TBlobQuery>(nullptr);
    query->SetDatabase(FDb.get());
    query->GetSQL().SetText("SELECT id, tx, bl FROM blob_rows " + where + " ORDER BY id");
    query->Open();
    return query;
  }

  static String ReadAll(TStream& stream) {
    String all;
    char chunk[3];
    for (int64_t n; (n = stream.Read(chunk, sizeof chunk)) > 0;)
      all.append(chunk, size_t(n));
    return all;
  }

  std::unique_ptr<TmySQLDatabase> FDb;
};

} // namespace

TEST_F(DbBlob, ReadsInPiecesUpToTheEnd) {
  auto query = Open("WHERE id = 1");
  TField* bl = query->FieldByName("bl");
  EXPECT_EQ(bl->GetDataType(), ftBlob);
  auto stream = query->CreateBlobStream(bl, bmRead);
  EXPECT_EQ(stream->GetSize(), 10);
  char piece[4];
  String all;
  std::vector<int64_t> counts;
  for (int i = 0; i < 4; ++i) {
    const int64_t n = stream->Read(piece, sizeof piece);
    counts.push_back(n);
    all.append(piece, size_t(n));
  }
  EXPECT_EQ(counts, (std::vector<int64_t>{4, 4, 2, 0}));
  EXPECT_EQ(all, Bytes10);
  EXPECT_EQ(bl->GetAsString(), Bytes10);
  EXPECT_EQ(query->FieldByName("tx")->GetAsString(), TextWithZero);
}

TEST_F(DbBlob, SeeksFromEachOrigin) {
  auto query = Open("WHERE id = 1");
  for (const char* name : {"tx", "bl"}) {
    SCOPED_TRACE(name);
    TField* field = query->FieldByName(name);
    const String whole = field->GetAsString();
    auto stream = query->CreateBlobStream(field, bmRead);
    char buf[3] = {};
    EXPECT_EQ(stream->Seek(-3, soEnd), int64_t(whole.size()) - 3);
    EXPECT_EQ(stream->Read(buf, 3), 3);
    EXPECT_EQ(String(buf, 3), whole.substr(whole.size() - 3));
    EXPECT_EQ(stream->Seek(2, soBeginning), 2);
    EXPECT_EQ(stream->Seek(1, soCurrent), 3);
    EXPECT_EQ(stream->Read(buf, 2), 2);
    EXPECT_EQ(String(buf, 2), whole.substr(3, 2));
    EXPECT_EQ(stream->Seek(100, soBeginning), 100);
    EXPECT_EQ(stream->Read(buf, 3), 0);
  }
}

TEST_F(DbBlob, NullAndEmptyBlobsReadAsNothing) {
  auto query = Open("WHERE id IN (2, 3)");
  for (query->First(); !query->GetEof(); query->Next()) {
    const int id = query->FieldByName("id")->GetAsInteger();
    SCOPED_TRACE(id);
    for (const char* name : {"tx", "bl"}) {
      TField* field = query->FieldByName(name);
      EXPECT_EQ(field->IsNull(), id == 2);
      auto stream = query->CreateBlobStream(field, bmRead);
      EXPECT_EQ(stream->GetSize(), 0);
      EXPECT_EQ(ReadAll(*stream), "");
    }
  }
}

TEST_F(DbBlob, EachRowReadsItsOwnBlob) {
  auto query = Open("");
  std::vector<String> blobs;
  for (query->First(); !query->GetEof(); query->Next())
    blobs.push_back(query->FieldByName("bl")->GetAsString());
  EXPECT_EQ(blobs, (std::vector<String>{Bytes10, "", "", String("\xFF\x00\xFF", 3)}));
  query->Prior();
  query->Prior();
  query->Prior();
  EXPECT_EQ(query->FieldByName("bl")->GetAsString(), Bytes10);
}

TEST_F(DbBlob, WritesGoIntoTheRecordBufferAndReadBack) {
  auto query = Open("WHERE id = 1");
  TField* bl = query->FieldByName("bl");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->CreateBlobStream(bl, bmWrite); }),
            "Dataset not in edit or insert mode");
  query->EnterEdit();
  const String written("new\x00"
                       "data",
                       8);
  int changes = 0;
  bl->OnChange = [&](TField*) { ++changes; };
  {
    auto stream = query->CreateBlobStream(bl, bmWrite);
    EXPECT_EQ(stream->Write(written.data(), int64_t(written.size())), int64_t(written.size()));
  }
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(static_cast<TBlobField*>(bl)->GetModified());
  EXPECT_EQ(bl->GetAsString(), written);
  {
    auto stream = query->CreateBlobStream(bl, bmReadWrite);
    EXPECT_EQ(stream->Seek(4, soBeginning), 4);
    stream->Write("X", 1);
    EXPECT_EQ(stream->Seek(0, soEnd), 8);
    stream->Write("!", 1);
  }
  EXPECT_EQ(bl->GetAsString(), String("new\x00"
                                      "Xata!",
                                      9));
  TField* tx = query->FieldByName("tx");
  tx->SetAsString(TextWithZero + TextWithZero);
  EXPECT_EQ(tx->GetAsString(), TextWithZero + TextWithZero);
  tx->Clear();
  EXPECT_TRUE(tx->IsNull());
  query->Close();
  // Nothing was posted: the server still has the old contents.
  query->Open();
  EXPECT_EQ(query->FieldByName("bl")->GetAsString(), Bytes10);
}

TEST_F(DbBlob, ACachingDataSetReadsAgainFromItsBuffer) {
  auto query = Open("WHERE id IN (1, 4)");
  query->CacheBlobs(true);
  TField* bl = query->FieldByName("bl");
  EXPECT_EQ(bl->GetAsString(), Bytes10);
  // Move the cursor underneath to the next row: a stream that went to the
  // engine again would read that row's blob.
  std::vector<char> scratch(query->GetHandle()->GetBufferSize());
  ASSERT_EQ(query->GetEngine()->GetNextRecord(query->GetHandle(), 0, scratch.data(), nullptr), 0);
  auto stream = query->CreateBlobStream(bl, bmRead);
  EXPECT_EQ(stream->GetSize(), 10);
  EXPECT_EQ(ReadAll(*stream), Bytes10);
  query->First();
  query->Next();
  EXPECT_EQ(bl->GetAsString(), String("\xFF\x00\xFF", 3));
}

TEST_F(DbBlob, ANullBlobCountsAsCachedAndEmpty) {
  auto query = Open("WHERE id = 2");
  query->CacheBlobs(true);
  auto stream = query->CreateBlobStream(query->FieldByName("bl"), bmRead);
  EXPECT_EQ(stream->GetSize(), 0);
  EXPECT_EQ(ReadAll(*stream), "");
}

TEST_F(DbBlob, MemoTextIsReEncodedWhenTheServerSetDiffers) {
  FDb->Execute("UPDATE blob_rows SET tx = X'41A8', bl = X'41A8' WHERE id = 4");
  auto query = Open("WHERE id = 4");
  const int saved = GetCurrentServerCharset();
  SetCurrentServerCharset(21); // Baltic: 0xA8 is the letter the system page has at 0xD8
  const String memo = query->FieldByName("tx")->GetAsString();
  const String blob = query->FieldByName("bl")->GetAsString();
  SetCurrentServerCharset(saved);
  EXPECT_EQ(memo, "A\xD8");
  EXPECT_EQ(blob, "A\xA8");
  EXPECT_EQ(query->FieldByName("tx")->GetAsString(), "A\xA8");
}
