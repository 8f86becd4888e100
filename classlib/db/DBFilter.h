// Filter expressions: the tree that the filter parser builds from a data
// set's Filter text (and that Locate's lookup filters build by hand), which a
// cursor evaluates row by row.
#pragma once

#include "DB.h"

#include <memory>
#include <vector>

// Node classes and operators keep the class library's numbers.
enum TNodeClass {
  nodeNULL = 0,
  nodeUNARY = 1,
  nodeBINARY = 2,
  nodeCOMPARE = 3,
  nodeFIELD = 4,
  nodeCONST = 5,
  nodeLISTELEM = 11,
};

enum TCANOperator {
  coNOTDEFINED = 0,
  coISBLANK = 1,
  coNOTBLANK = 2,
  coEQ = 3,
  coNE = 4,
  coGT = 5,
  coLT = 6,
  coGE = 7,
  coLE = 8,
  coNOT = 9,
  coAND = 10,
  coOR = 11,
  coMINUS = 15,
  coADD = 16,
  coSUB = 17,
  coMUL = 18,
  coDIV = 19,
  coMOD = 20,
  coREM = 21,
  coLIKE = 30,
  coIN = 31,
  coUPPER = 33,
  coLOWER = 34,
};

struct TFilterNode;
using PFilterNode = std::shared_ptr<TFilterNode>;

// One node of a filter expression.
//   nodeUNARY    Operator applied to Args[0] (coISBLANK, coNOTBLANK, coNOT,
//                coMINUS, coUPPER, coLOWER).
//   nodeBINARY   Operator applied to Args[0] and Args[1] (comparisons,
//                coAND, coOR, arithmetic, coLIKE ignoring case, coIN with the
//                list on the right).
//   nodeCOMPARE  coEQ, coNE or coLIKE of Args[0] against Args[1] as text,
//                with CaseInsensitive and PartialLength (compare only the
//                first PartialLength characters; 0: whole texts).
//   nodeFIELD    the current record's value of field FieldNo (1-based, as
//                TField::GetFieldNo) named FieldName, of type DataType.
//   nodeCONST    Value, already converted to DataType.
//   nodeLISTELEM the values of Args, in order (the right side of coIN).
struct TFilterNode {
  TNodeClass NodeClass = nodeNULL;
  TCANOperator Operator = coNOTDEFINED;
  std::vector<PFilterNode> Args;
  bool CaseInsensitive = false;
  int PartialLength = 0;
  int FieldNo = 0;
  String FieldName;
  TFieldType DataType = ftUnknown;
  Variant Value;
};

// A finished expression is shared, never changed again.
using TFilterExpression = std::shared_ptr<const TFilterNode>;

// Builders, for lookup filters and for the parser.
PFilterNode NewFieldNode(const TField* Field);
PFilterNode NewConstNode(const Variant& Value, TFieldType DataType);
PFilterNode NewUnaryNode(TCANOperator Operator, PFilterNode Operand);
PFilterNode NewBinaryNode(TCANOperator Operator, PFilterNode Left, PFilterNode Right);
PFilterNode NewCompareNode(TCANOperator Operator, PFilterNode Left, PFilterNode Right, bool CaseInsensitive,
                           int PartialLength);
PFilterNode NewListNode(std::vector<PFilterNode> Elements);

// The filter parser: turns a Filter text into a tree over DataSet's fields.
//
// Grammar (keywords in any letter case): expr := or; or := and {OR and};
// and := not {AND not}; not := NOT not | cmp; cmp := sum [(= <> < > <= >=)
// sum | [NOT] LIKE sum | [NOT] IN (sum {, sum}) | IS [NOT] NULL]; sum :=
// term {(+ -) term}; term := factor {(* /) factor}; factor := - factor |
// ( expr ) | UPPER(expr) | LOWER(expr) | field | 'text' | number | NULL |
// TRUE | FALSE. Fields are names, [bracketed names] or "quoted names";
// texts double an embedded quote.
//
// Comparing a field with a constant converts the constant to the field's
// type. "= NULL" and "<> NULL" become IS NULL and IS NOT NULL. With
// foCaseInsensitive, or a text constant ending in "*" without
// foNoPartialCompare (the "*" then marks a prefix comparison), an equality of
// texts becomes a compare node. Errors raise EDatabaseError with the class
// library's texts.
class TExprParser {
public:
  TExprParser(TDataSet* DataSet, const String& Text, TFilterOptions Options);
  const TFilterExpression& GetFilterData() const { return FRoot; }

private:
  TFilterExpression FRoot;
};
