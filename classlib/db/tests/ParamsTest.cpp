#include "DB.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ParseCase {
  const char* sql;
  const char* processed;
  std::vector<String> names;
};

TEST(Params, ParseSQLReplacesMarkersOutsideQuotes) {
  const ParseCase cases[] = {
      {"select * from t where id = :id", "select * from t where id = ?", {"id"}},
      {"select * from t where id=:id and name=:name;",
       "select * from t where id=? and name=?;",
       {"id", "name"}},
      {"insert into t values (:a,:b)", "insert into t values (?,?)", {"a", "b"}},
      {"select ':nope', \":no\", `:x` from t where a=:a",
       "select ':nope', \":no\", `:x` from t where a=?",
       {"a"}},
      {"select '10::30' from t", "select '10::30' from t", {}},
      {"select a::int from t", "select a:int from t", {}}, // a doubled colon stands for one
      {"update t set a=:a, b=:a", "update t set a=?, b=?", {"a", "a"}},
      {"where x = :\"my name\" and y=1", "where x = ? and y=1", {"my name"}},
      {"select :p\r\nfrom t", "select ?\r\nfrom t", {"p"}},
      {"select :last", "select ?", {"last"}},
      {"", "", {}},
  };
  for (const auto& c : cases) {
    TParams params;
    EXPECT_EQ(params.ParseSQL(c.sql, true), c.processed) << c.sql;
    std::vector<String> names;
    for (int i = 0; i < params.GetCount(); ++i)
      names.push_back(params[i]->Name);
    EXPECT_EQ(names, c.names) << c.sql;
  }
}

TEST(Params, ParseWithoutCreateKeepsTheList) {
  TParams params;
  params.CreateParam(ftInteger, "keep", ptInput);
  EXPECT_EQ(params.ParseSQL("a=:x", false), "a=?");
  ASSERT_EQ(params.GetCount(), 1);
  EXPECT_EQ(params[0]->Name, "keep");
}

TEST(Params, ValuesSetTheTypeAndSurviveAReparse) {
  TParams params;
  params.ParseSQL("select * from t where id=:id", true);
  TParam* id = params.ParamByName("ID");
  EXPECT_FALSE(id->Bound);
  EXPECT_TRUE(id->IsNull());
  id->SetValue(Variant(42));
  EXPECT_EQ(id->DataType, ftInteger);
  EXPECT_TRUE(id->Bound);

  // The query's way: parse the new text into a fresh list, copy the old
  // values of the same names, then take the fresh list.
  TParams fresh;
  fresh.ParseSQL("select * from t where id=:id and name=:name", true);
  fresh.AssignValues(params);
  params.Assign(&fresh);
  ASSERT_EQ(params.GetCount(), 2);
  EXPECT_EQ(params.ParamByName("id")->GetAsInteger(), 42);
  EXPECT_TRUE(params.ParamByName("name")->IsNull());
  try {
    params.ParamByName("other");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Parameter 'other' not found");
  }
}

TEST(Params, TypedSettersAndClear) {
  TParams params;
  TParam* p = params.Add();
  const std::pair<std::function<void()>, TFieldType> setters[] = {
      {[&] { p->SetAsString("x"); }, ftString},     {[&] { p->SetAsInteger(1); }, ftInteger},
      {[&] { p->SetAsSmallInt(1); }, ftSmallint},   {[&] { p->SetAsLargeInt(1); }, ftLargeint},
      {[&] { p->SetAsFloat(1.5); }, ftFloat},       {[&] { p->SetAsBoolean(true); }, ftBoolean},
      {[&] { p->SetAsDateTime(1.5); }, ftDateTime}, {[&] { p->SetAsDate(1); }, ftDate},
      {[&] { p->SetAsMemo("m"); }, ftMemo},         {[&] { p->SetAsBlob("b"); }, ftBlob},
  };
  for (const auto& [set, type] : setters) {
    set();
    EXPECT_EQ(p->DataType, type);
    EXPECT_FALSE(p->IsNull());
  }
  p->Clear();
  EXPECT_TRUE(p->IsNull());
  EXPECT_EQ(p->GetAsString(), "");
  p->SetValue(Variant::Null());
  EXPECT_TRUE(p->Bound); // an explicit Null is a value the master link must not replace
  EXPECT_TRUE(p->IsNull());
}

TEST(Params, EqualityComparesNamesTypesAndValues) {
  TParams a, b;
  a.CreateParam(ftInteger, "x", ptInput)->SetAsInteger(1);
  b.CreateParam(ftInteger, "x", ptInput)->SetAsInteger(1);
  EXPECT_TRUE(a.IsEqual(b));
  b[0]->SetAsInteger(2);
  EXPECT_FALSE(a.IsEqual(b));
  b[0]->Clear();
  EXPECT_FALSE(a.IsEqual(b));
}

} // namespace
