// Parameter substitution: every value kind and name form the statement text
// may hold, turned into the literal the server reads.
#include "DateUtils.h"
#include "mySQLAccess.h"
#include "DB.h"

#include <gtest/gtest.h>

TEST(ParamsSubst, ValuesAndNamesBecomeLiterals) {
  TParams params;
  params.CreateParam(ftSmallint, "small", ptInput)->SetAsSmallInt(-7);
  params.CreateParam(ftWord, "word", ptInput)->SetAsWord(65535);
  params.CreateParam(ftCurrency, "money", ptInput)->SetAsCurrency(12.25);
  params.CreateParam(ftFloat, "tiny", ptInput)->SetAsFloat(-0.125);
  params.CreateParam(ftMemo, "memo", ptInput)->SetAsMemo("line\nnext \"q\"");
  params.CreateParam(ftString, "text", ptInput)->SetAsString("a'b");
  params.CreateParam(ftInteger, "unset", ptInput);
  params.CreateParam(ftDateTime, "midnight", ptInput)->SetAsDateTime(EncodeDate(2000, 1, 1));
  struct Case {
    const char* Sql;
    const char* Expected;
  } cases[] = {
      {"select :small, :word", "select -7, 65535"},
      {"select :money, :tiny", "select 12.25, -0.125"},
      {"select :memo", "select 'line\\nnext \\\"q\\\"'"},
      {"select :unset", "select NULL"},
      {"select :midnight", "select '2000-01-01 00:00:00'"},
      {"insert into t values(:small,:text)", "insert into t values(-7,'a\\'b')"},
      // A name whose closing bracket or quote is missing is still found.
      {"select :[text", "select 'a\\'b'"},
      {"select :'text", "select 'a\\'b'"},
      {"select :\"text\"", "select 'a\\'b'"},
      // Markers inside quoted texts and comments are text.
      {"select ':text', \":text\"", "select ':text', \":text\""},
      {"select :text\t\tfrom  dual", "select 'a\\'b' from dual"},
  };
  TNativeConnect connection(0);
  TNativeDataSet statement(&connection, -1, 0, "", "", nullptr);
  TmySQLEngine engine;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Sql);
    ASSERT_EQ(engine.SetParams(&statement, params, c.Sql), 0);
    EXPECT_EQ(statement.GetStatementText(), c.Expected);
  }
}
