#include "DBFilter.h"
#include "MemDataSet.h"

#include <gtest/gtest.h>

namespace {

const char* OpName(TCANOperator op) {
  switch (op) {
  case coISBLANK:
    return "isnull";
  case coNOTBLANK:
    return "notnull";
  case coEQ:
    return "=";
  case coNE:
    return "<>";
  case coGT:
    return ">";
  case coLT:
    return "<";
  case coGE:
    return ">=";
  case coLE:
    return "<=";
  case coNOT:
    return "not";
  case coAND:
    return "and";
  case coOR:
    return "or";
  case coMINUS:
    return "neg";
  case coADD:
    return "+";
  case coSUB:
    return "-";
  case coMUL:
    return "*";
  case coDIV:
    return "/";
  case coLIKE:
    return "like";
  case coIN:
    return "in";
  case coUPPER:
    return "upper";
  case coLOWER:
    return "lower";
  default:
    return "?";
  }
}

// The tree in prefix form: fields as name#number, constants with their type.
String Dump(const TFilterNode& n) {
  switch (n.NodeClass) {
  case nodeFIELD:
    return n.FieldName + "#" + IntToStr(n.FieldNo);
  case nodeCONST:
    if (n.Value.IsNull()) return "null";
    return FieldTypeName(n.DataType) + ":" +
           (n.Value.VarType() == varDate ? FloatToStr(n.Value.AsFloat()) : n.Value.AsString());
  case nodeLISTELEM: {
    String s = "[";
    for (size_t i = 0; i < n.Args.size(); ++i)
      s += (i ? " " : "") + Dump(*n.Args[i]);
    return s + "]";
  }
  default: {
    String s = "(";
    if (n.NodeClass == nodeCOMPARE)
      s += String("cmp") + (n.CaseInsensitive ? "/i" : "") +
           (n.PartialLength ? "/" + IntToStr(n.PartialLength) : "") + " ";
    s += OpName(n.Operator);
    for (const auto& a : n.Args)
      s += " " + Dump(*a);
    return s + ")";
  }
  }
}

struct FilterCase {
  const char* text;
  TFilterOptions options;
  const char* tree;
};

class FilterParser : public testing::Test {
protected:
  void SetUp() override {
    ds.SetName("T");
    ds.Columns = {{"id", ftInteger}, {"name", ftString, 20},      {"price", ftFloat},
                  {"born", ftDate},  {"active", ftBoolean},       {"big", ftLargeint},
                  {"notes", ftMemo}, {"first name", ftString, 10}};
    ds.Open();
  }
  String Parse(const char* text, TFilterOptions options = 0) {
    return Dump(*TExprParser(&ds, text, options).GetFilterData());
  }
  TMemDataSet ds;
};

TEST_F(FilterParser, BuildsTheTreeTheCursorEvaluates) {
  const FilterCase cases[] = {
      {"id = 5", 0, "(= id#1 Integer:5)"},
      {"ID>=-3", 0, "(>= id#1 Integer:-3)"},
      {"5 < id", 0, "(< Integer:5 id#1)"},
      {"id = '7'", 0, "(= id#1 Integer:7)"}, // the constant takes the field's type
      {"name = 'O''Brien'", 0, "(= name#2 String:O'Brien)"},
      {"name = 'ab*'", 0, "(cmp/2 = name#2 String:ab)"},
      {"name = 'ab*'", foNoPartialCompare, "(= name#2 String:ab*)"},
      {"name <> 'x'", foCaseInsensitive, "(cmp/i <> name#2 String:x)"},
      {"name like 'a%'", foCaseInsensitive, "(cmp/i like name#2 String:a%)"},
      {"name not like 'a?c'", 0, "(not (cmp like name#2 String:a?c))"},
      {"price > 1.5 and active", 0, "(and (> price#3 Float:1.5) active#5)"},
      {"not active or id = 1", 0, "(or (not active#5) (= id#1 Integer:1))"},
      {"id = 1 or id = 2 and id = 3", 0,
       "(or (= id#1 Integer:1) (and (= id#1 Integer:2) (= id#1 Integer:3)))"},
      {"(id = 1 or id = 2) and id = 3", 0,
       "(and (or (= id#1 Integer:1) (= id#1 Integer:2)) (= id#1 Integer:3))"},
      {"name is null", 0, "(isnull name#2)"},
      {"name is not null", 0, "(notnull name#2)"},
      {"name = null", 0, "(isnull name#2)"},
      {"null <> id", 0, "(notnull id#1)"},
      {"id in (1, '2', 3)", 0, "(in id#1 [Integer:1 Integer:2 Integer:3])"},
      {"id not in (4)", 0, "(not (in id#1 [Integer:4]))"},
      {"id + 2 * 3 > 10", 0, "(> (+ id#1 (* Integer:2 Integer:3)) Integer:10)"},
      {"price / 2 = id - 1", 0, "(= (/ price#3 Float:2) (- id#1 Integer:1))"},
      {"-id < 0", 0, "(< (neg id#1) Integer:0)"},
      {"big = 5000000000", 0, "(= big#6 Largeint:5000000000)"},
      {"upper(name) = 'AB'", 0, "(= (upper name#2) String:AB)"},
      {"born = '2004-02-29'", 0, "(= born#4 Date:38046)"},
      {"[first name] = 'x' or \"first name\" = 'y'", 0,
       "(or (= first name#8 String:x) (= first name#8 String:y))"},
      {"active = true", 0, "(= active#5 Boolean:True)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.text, c.options), c.tree) << c.text;
  }
}

struct BadFilter {
  const char* text;
  const char* message;
};

TEST_F(FilterParser, RejectsWhatItCannotEvaluate) {
  const BadFilter cases[] = {
      {"nosuch = 1", "T: Field 'nosuch' not found"},
      {"id = 'abc'", "Type mismatch in expression"},
      {"name > null", "NULL only allowed with '=' and '<>'"},
      {"notes = 'x'", "Field 'notes' cannot be used in a filter expression"},
      {"id", "Field 'id' is not of type Boolean"},
      {"id = 1 and", "Expression expected but nothing found"},
      {"(id = 1", "')' expected but nothing found"},
      {"id = 1)", "Filter expression incorrectly terminated"},
      {"name = 'open", "Unterminated string constant"},
      {"[name = 1", "Unterminated field name"},
      {"id = 1 # 2", "Invalid filter expression character: '#'"},
      {"active + 1 = 2", "Type mismatch in expression"},
      {"id is 5", "NULL expected but '5' found"},
      {"born = '2004-02-30'", "Type mismatch in expression"},
  };
  for (const auto& c : cases) {
    try {
      TExprParser(&ds, c.text, 0);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.text;
    }
  }
}

TEST_F(FilterParser, BuildersMakeLookupFilters) {
  // Locate on two fields: field = value joined with AND, the last partial.
  PFilterNode a =
      NewCompareNode(coEQ, NewFieldNode(ds.FieldByName("id")), NewConstNode(Variant(3), ftInteger), false, 0);
  PFilterNode b = NewCompareNode(coEQ, NewFieldNode(ds.FieldByName("name")),
                                 NewConstNode(Variant("Jo"), ftString), true, 2);
  TFilterExpression tree = NewBinaryNode(coAND, a, b);
  EXPECT_EQ(Dump(*tree), "(and (cmp = id#1 Integer:3) (cmp/i/2 = name#2 String:Jo))");
}

} // namespace
