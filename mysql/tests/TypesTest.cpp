#include "DateUtils.h"
#include "mySQLTypes.h"
#include "uMysqlHelpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records the order in which members are freed.
class TTracked : public TBaseObject {
public:
  TTracked(int id, TContainer* container, std::vector<int>& freed)
      : TBaseObject(nullptr, container), FId(id), FFreed(freed) {}
  ~TTracked() override { FFreed.push_back(FId); }

private:
  int FId;
  std::vector<int>& FFreed;
};

// Sets the process-wide server version number for one test.
class TServerVersion {
public:
  explicit TServerVersion(int version) : FSaved(GetServerVersionNumber()) { SetServerVersionNumber(version); }
  ~TServerVersion() { SetServerVersionNumber(FSaved); }

private:
  int FSaved;
};

String Tokens(const String& text) {
  String out;
  const char* cursor = text.c_str();
  int section = stUnknown;
  for (;;) {
    String token;
    const int kind = ScanSQLToken(cursor, token, section);
    out += token + "(" + std::to_string(kind) + ") ";
    if (kind == stEnd) return out;
    if ((kind >= stSelect && kind <= 13) || kind == stShow) section = kind;
  }
}

} // namespace

TEST(Container, MembersJoinAndLeaveAndAreFreedLastFirst) {
  std::vector<int> freed;
  {
    TContainer container;
    new TTracked(1, &container, freed);
    auto* second = new TTracked(2, &container, freed);
    new TTracked(3, &container, freed);
    EXPECT_EQ(container.Count(), 3);
    EXPECT_EQ(container.IndexOf(second), 1);
    EXPECT_EQ(container.Get(1), second);
    EXPECT_EQ(container.Get(3), nullptr);
    EXPECT_EQ(container.Get(-1), nullptr);
    EXPECT_THROW(container.Items(3), EListError);
    delete second;
    EXPECT_EQ(container.Count(), 2);
    EXPECT_EQ(freed, std::vector<int>{2});
  }
  EXPECT_EQ(freed, (std::vector<int>{2, 3, 1}));
}

TEST(Container, DeleteTakesOutWithoutFreeing) {
  std::vector<int> freed;
  TContainer container;
  auto* kept = new TTracked(1, &container, freed);
  container.Delete(0);
  container.Clear();
  EXPECT_TRUE(freed.empty());
  EXPECT_EQ(container.Count(), 0);
  delete kept;
}

TEST(SQLScanner, ClassifiesTheTokensOfAStatement) {
  struct Case {
    String text, tokens;
  } cases[] = {
      {"SELECT a, b FROM `db`.`t` WHERE x = 1",
       "SELECT(5) a(2) b(2) FROM(6) db(1) t(2) WHERE(7) x(2) =(15) 1(22) (14) "},
      {"select * from t where a is null", "select(5) *(23) from(6) t(1) where(7) a(2) is null(17) (14) "},
      {"select * from t where a IS NOT NULL and b is 5",
       "select(5) *(23) from(6) t(1) where(7) a(2) IS NOT NULL(18) and(20) b(2) is(16) 5(22) (14) "},
      {"select distinct a from t group by a order by a desc",
       "select(5) distinct(25) a(2) from(6) t(1) group by(8) a(2) order by(12) a(2) desc(4) (14) "},
      {"select 'it''s', \"q\" from t /* c */ -- x",
       "select(5) it(16) s(16) q(16) from(6) t(1) /* c (24) --(1) x(1) (14) "},
      {"select trim(a, b) from t", "select(5) trim(31) from(6) t(1) (14) "},
      {"select a // rest of line\nfrom t", "select(5) a(2) // rest of line(24) from(6) t(1) (14) "},
      {"show tables", "show(27) tables(2) (14) "},
      {"a<>b", "a<>b(2) (14) "},
      {"x >= 2.5", "x(2) >=(15) 2.5(22) (14) "},
      {"'unclosed", "'unclosed(2) (14) "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Tokens(c.text), c.tokens) << c.text;
}

TEST(SQLScanner, TableNameFromSelect) {
  struct Case {
    int version;
    String text, name;
  } cases[] = {
      {32307, "select * from db.t1 where a=1", "`db`.`t1`"},
      {32306, "select * from db.t1 where a=1", "db.t1"},
      {101119, "select * from /* c */ t", "`t`"},
      {101119, "select * from `my table` where 1", "`my table`"},
      {101119, "SELECT a FROM t1, t2", "`t1`"},
      {101119, "show tables", ""},
      {101119, "select 1", ""},
      {101119, "select * from", ""},
      {101119, "update t set a = 1", ""},
  };
  for (const auto& c : cases) {
    TServerVersion version(c.version);
    EXPECT_EQ(TableNameFromSelect(c.text), c.name) << c.text << " @" << c.version;
  }
}

TEST(Values, SameTextPrefix) {
  struct Case {
    String a, b;
    bool same;
  } cases[] = {
      {"", "", true},          {"", "a", false},        {"a", "", false},
      {"abc", "ABCDEF", true}, {"ABCdef", "abc", true}, {"abd", "abc", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SameTextPrefix(c.a, c.b), c.same) << c.a << "/" << c.b;
}

TEST(Values, MySQLDateTextsToValues) {
  struct Case {
    String text;
    TDateTime value;
  } cases[] = {
      {"2024-02-29 13:45:30", EncodeDateTime(2024, 2, 29, 13, 45, 30, 0)},
      {"2024-02-29", EncodeDate(2024, 2, 29)},
      {"13:45:30", EncodeTime(13, 45, 30, 0)},
      {"0000-00-00 00:00:00", 0},
      {"0000-00-00 10:00:00", EncodeTime(10, 0, 0, 0)},
      {"1000-01-01 06:00:00", EncodeDateTime(1000, 1, 1, 6, 0, 0, 0)},
      {"short", 0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(TextToDateTime(c.text), c.value) << c.text;
  EXPECT_THROW(TextToDateTime("2024-13-01"), EConvertError);
  EXPECT_THROW(TextToDateTime("25:00:00"), EConvertError);
}

TEST(Values, TimestampTexts) {
  struct Case {
    String text;
    TDateTime value;
  } cases[] = {
      {"20240229134530", EncodeDateTime(2024, 2, 29, 13, 45, 30, 0)},
      {"2024-02-29 13:45:30", EncodeDateTime(2024, 2, 29, 13, 45, 30, 0)},
      {"20240229", EncodeDate(2024, 2, 29)},
      {"00000000000000", EncodeDate(1, 1, 1)},
      {"20241301000000", 0},
      {"2024-02-29 25:00:00", 0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(TimestampTextToDateTime(c.text), c.value) << c.text;
}

TEST(Values, DateTimeToMySQLText) {
  struct Case {
    int kind;
    TDateTime value;
    String text;
  } cases[] = {
      {dkDateTime, EncodeDateTime(2024, 2, 29, 13, 45, 30, 0), "2024-02-29 13:45:30"},
      {dkDateTime, EncodeTime(13, 0, 0, 0), "0000-00-00 00:00:00"},
      {dkDate, EncodeDateTime(2024, 2, 29, 13, 45, 30, 0), "2024-02-29"},
      {dkDate, 0, "0000-00-00"},
      {dkTime, EncodeDateTime(2024, 2, 29, 13, 45, 30, 0), "13:45:30"},
      {dkTime, EncodeDate(2024, 2, 29), ""},
      {7, 1.5, ""},
  };
  for (const auto& c : cases) {
    String text = "stale";
    DateTimeToMySQLText(c.kind, text, c.value);
    EXPECT_EQ(text, c.text) << c.kind;
  }
}

TEST(Values, FloatsWithADot) {
  EXPECT_DOUBLE_EQ(TextToFloatDot("3.25"), 3.25);
  EXPECT_DOUBLE_EQ(TextToFloatDot("-1e3"), -1000);
  EXPECT_DOUBLE_EQ(TextToFloatDot(""), 0);
  EXPECT_DOUBLE_EQ(TextToFloatDot("3,25"), 0);
  EXPECT_EQ(FloatToTextDot(3.25), "3.25");
  EXPECT_EQ(FloatToTextDot(0.1), "0.1");
}

TEST(Values, FirstCharInSet) {
  EXPECT_TRUE(FirstCharInSet("ty", "Yes"));
  EXPECT_TRUE(FirstCharInSet("ty", "true"));
  EXPECT_FALSE(FirstCharInSet("ty", "no"));
  EXPECT_FALSE(FirstCharInSet("ty", ""));
}

TEST(Values, NextSQLWordCutsWordsOffTheFront) {
  String text = "  select :name, 'it\\'s' from\tt where a>=b";
  std::vector<String> words;
  String word;
  while (!NextSQLWord(text, word).empty())
    words.push_back(word);
  // Blanks and tabs before a word are skipped; a tab inside a run is no delimiter.
  EXPECT_EQ(words, (std::vector<String>{"select", ":", "name", ",", "'it\\'s'", "from\tt", "where", "a", ">",
                                        "=", "b"}));
  EXPECT_EQ(text, "");
}

TEST(Values, MatchPattern) {
  struct Case {
    String text, pattern;
    bool caseSensitive, match;
  } cases[] = {
      {"Hello", "h%o", false, true},
      {"Hello", "h%o", true, false},
      {"abc", "a?c", false, true},
      {"", "%", false, true},
      {"", "", false, false},
      {"abc", "abc", true, true},
      {"abc", "ab", true, false},
      {"abcbd", "a%b%d", true, true},
      {"abcabc", "%bc", true, true},
      {"abc", "abc%", true, true},
      {"abc", "%abcd", true, false},
      {"ab", "a%%b", true, true},
      {"ab", "a%b%b", true, false},
      {"\xE0\xE1\xE2", "\xC0%\xC2", false, true}, // Cyrillic small and capital letters
      {"\xE0\xE1\xE2", "\xC0%\xC2", true, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchPattern(c.text, c.pattern, c.caseSensitive, '?', '%'), c.match)
        << c.text << " ~ " << c.pattern;
}

TEST(Values, FilterValuesEqual) {
  struct Case {
    Variant a, b;
    int partial;
    bool caseInsensitive, equal;
  } cases[] = {
      {"abc", "abc", 0, false, true},      {"abc", "ABC", 0, false, false},   {"abc", "ABC", 0, true, true},
      {"abcd", "abcx", 3, false, true},    {"abcd", "abcx", 0, false, false}, {Null(), "", 0, false, true},
      {Variant(12), "12", 0, false, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FilterValuesEqual(c.a, c.b, false, c.partial, c.caseInsensitive), c.equal)
        << VarToStr(c.a) << "/" << VarToStr(c.b);
}

TEST(Values, SetTextToBits) {
  struct Case {
    String allowed, value;
    uint64_t bits;
  } cases[] = {
      {"a,b,c", "c,a", 5},
      {"a,b,c", "", 0},
      {"a,b,c", "x", 0},
      {"a,b,c", "B", 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SetTextToBits(c.allowed, c.value), c.bits) << c.value;
  String sixtyFour;
  for (int i = 0; i < 64; ++i)
    sixtyFour += (i ? "," : "") + ("m" + std::to_string(i));
  EXPECT_EQ(SetTextToBits(sixtyFour, "m63,m0"), (uint64_t(1) << 63) + 1);
}
