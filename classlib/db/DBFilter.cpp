// The filter-expression parser and the node builders.
#include "DBFilter.h"

#include <cctype>

namespace {

bool IsTextType(TFieldType t) {
  return t == ftString || t == ftFixedChar || t == ftWideString || t == ftMemo || t == ftFmtMemo;
}

bool IsFilterable(const TField* f) {
  if (f->FieldKind == fkCalculated || f->FieldKind == fkLookup) return false;
  switch (f->GetDataType()) {
  case ftString:
  case ftFixedChar:
  case ftWideString:
  case ftSmallint:
  case ftInteger:
  case ftWord:
  case ftAutoInc:
  case ftLargeint:
  case ftBoolean:
  case ftFloat:
  case ftCurrency:
  case ftBCD:
  case ftDate:
  case ftTime:
  case ftDateTime:
    return true;
  default:
    return false;
  }
}

[[noreturn]] void TypeMismatch() {
  DatabaseError("Type mismatch in expression");
}

// A constant converted to the type of the field it is compared with.
PFilterNode CoerceConst(const PFilterNode& c, TFieldType type) {
  const Variant& v = c->Value;
  if (v.IsNull()) return c;
  try {
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
      return NewConstNode(Variant(v.AsString()), ftString);
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: {
      if (v.IsStr()) {
        int64_t i;
        if (!TryStrToInt64(Trim(v.AsString()), i)) TypeMismatch();
      }
      return NewConstNode(Variant(v.AsInteger()), type == ftAutoInc ? ftInteger : type);
    }
    case ftLargeint:
      return NewConstNode(Variant(v.AsInt64()), ftLargeint);
    case ftFloat:
    case ftCurrency:
    case ftBCD:
      return NewConstNode(Variant(v.AsFloat()), ftFloat);
    case ftBoolean:
      return NewConstNode(Variant(v.AsBoolean()), ftBoolean);
    case ftDate:
      return NewConstNode(Variant::FromDate(v.IsStr() ? StrToDate(v.AsString()) : v.AsDateTime()), ftDate);
    case ftTime:
      return NewConstNode(Variant::FromDate(v.IsStr() ? StrToTime(v.AsString()) : v.AsDateTime()), ftTime);
    case ftDateTime:
      return NewConstNode(Variant::FromDate(v.AsDateTime()), ftDateTime);
    default:
      return c;
    }
  } catch (const EVariantError&) {
    TypeMismatch();
  } catch (const EConvertError&) {
    TypeMismatch();
  }
}

enum TokenKind {
  tkEnd,
  tkName,
  tkQuotedName,
  tkString,
  tkNumber,
  tkLParen,
  tkRParen,
  tkComma,
  tkEQ,
  tkNE,
  tkLT,
  tkGT,
  tkLE,
  tkGE,
  tkAdd,
  tkSub,
  tkMul,
  tkDiv
};

class Parser {
public:
  Parser(TDataSet* ds, const String& text, TFilterOptions options)
      : FDataSet(ds), FText(text), FOptions(options) {
    Next();
  }

  PFilterNode Parse() {
    PFilterNode root = ParseOr();
    if (FKind != tkEnd) DatabaseError("Filter expression incorrectly terminated");
    CheckBoolean(root);
    return root;
  }

private:
  // ---- tokens

  void Next() {
    while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos])))
      ++FPos;
    FTokenStart = FPos;
    FToken.clear();
    if (FPos >= FText.size()) {
      FKind = tkEnd;
      return;
    }
    char c = FText[FPos];
    auto isNameChar = [](char ch) {
      auto u = static_cast<unsigned char>(ch);
      return std::isalnum(u) || ch == '_' || u >= 0x80;
    };
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80) {
      while (FPos < FText.size() && isNameChar(FText[FPos]))
        FToken += FText[FPos++];
      FKind = tkName;
      return;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) ||
        (c == '.' && FPos + 1 < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos + 1])))) {
      ReadNumber();
      return;
    }
    switch (c) {
    case '[':
      ReadQuotedName(']');
      return;
    case '"':
      ReadQuotedName('"');
      return;
    case '\'':
      ReadString();
      return;
    case '(':
      Single(tkLParen);
      return;
    case ')':
      Single(tkRParen);
      return;
    case ',':
      Single(tkComma);
      return;
    case '=':
      Single(tkEQ);
      return;
    case '+':
      Single(tkAdd);
      return;
    case '-':
      Single(tkSub);
      return;
    case '*':
      Single(tkMul);
      return;
    case '/':
      Single(tkDiv);
      return;
    case '<':
      if (Peek(1) == '>')
        Double(tkNE);
      else if (Peek(1) == '=')
        Double(tkLE);
      else
        Single(tkLT);
      return;
    case '>':
      if (Peek(1) == '=')
        Double(tkGE);
      else
        Single(tkGT);
      return;
    default:
      DatabaseError(Format("Invalid filter expression character: '%s'", String(1, c)));
    }
  }

  char Peek(size_t ahead) const { return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0'; }
  void Single(TokenKind k) {
    FKind = k;
    FToken = FText.substr(FPos++, 1);
  }
  void Double(TokenKind k) {
    FKind = k;
    FToken = FText.substr(FPos, 2);
    FPos += 2;
  }

  void ReadNumber() {
    size_t start = FPos;
    auto digits = [&] {
      while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos])))
        ++FPos;
    };
    digits();
    if (Peek(0) == '.') {
      ++FPos;
      digits();
    }
    if ((Peek(0) == 'e' || Peek(0) == 'E') &&
        (std::isdigit(static_cast<unsigned char>(Peek(1))) ||
         ((Peek(1) == '+' || Peek(1) == '-') && std::isdigit(static_cast<unsigned char>(Peek(2)))))) {
      FPos += 2;
      digits();
    }
    FToken = FText.substr(start, FPos - start);
    FKind = tkNumber;
  }

  void ReadQuotedName(char close) {
    size_t end = FText.find(close, FPos + 1);
    if (end == String::npos) DatabaseError("Unterminated field name");
    FToken = FText.substr(FPos + 1, end - FPos - 1);
    FPos = end + 1;
    FKind = tkQuotedName;
  }

  void ReadString() {
    ++FPos;
    for (;;) {
      if (FPos >= FText.size()) DatabaseError("Unterminated string constant");
      char ch = FText[FPos++];
      if (ch != '\'') {
        FToken += ch;
        continue;
      }
      if (Peek(0) != '\'') break;
      FToken += '\'';
      ++FPos;
    }
    FKind = tkString;
  }

  bool IsKeyword(const char* word) const { return FKind == tkName && SameText(FToken, word); }

  String TokenName() const {
    if (FKind == tkEnd) return "nothing";
    return "'" + FText.substr(FTokenStart, FPos - FTokenStart) + "'";
  }

  void Expect(TokenKind k, const char* what) {
    if (FKind != k) DatabaseError(Format("%s expected but %s found", what, TokenName()));
    Next();
  }

  // ---- grammar

  PFilterNode ParseOr() {
    PFilterNode left = ParseAnd();
    while (IsKeyword("OR")) {
      Next();
      PFilterNode right = ParseAnd();
      CheckBoolean(left);
      CheckBoolean(right);
      left = NewBinaryNode(coOR, left, right);
    }
    return left;
  }

  PFilterNode ParseAnd() {
    PFilterNode left = ParseNot();
    while (IsKeyword("AND")) {
      Next();
      PFilterNode right = ParseNot();
      CheckBoolean(left);
      CheckBoolean(right);
      left = NewBinaryNode(coAND, left, right);
    }
    return left;
  }

  PFilterNode ParseNot() {
    if (!IsKeyword("NOT")) return ParseCompare();
    Next();
    PFilterNode operand = ParseNot();
    CheckBoolean(operand);
    return NewUnaryNode(coNOT, operand);
  }

  PFilterNode ParseCompare() {
    PFilterNode left = ParseSum();
    TCANOperator op = coNOTDEFINED;
    switch (FKind) {
    case tkEQ:
      op = coEQ;
      break;
    case tkNE:
      op = coNE;
      break;
    case tkLT:
      op = coLT;
      break;
    case tkGT:
      op = coGT;
      break;
    case tkLE:
      op = coLE;
      break;
    case tkGE:
      op = coGE;
      break;
    default:
      break;
    }
    if (op != coNOTDEFINED) {
      Next();
      return MakeComparison(op, left, ParseSum());
    }
    if (IsKeyword("IS")) {
      Next();
      bool negate = IsKeyword("NOT");
      if (negate) Next();
      if (!IsKeyword("NULL")) DatabaseError(Format("%s expected but %s found", "NULL", TokenName()));
      Next();
      return NewUnaryNode(negate ? coNOTBLANK : coISBLANK, left);
    }
    bool negate = false;
    if (IsKeyword("NOT")) {
      negate = true;
      Next();
      if (!IsKeyword("LIKE") && !IsKeyword("IN"))
        DatabaseError(Format("%s expected but %s found", "LIKE or IN", TokenName()));
    }
    PFilterNode result;
    if (IsKeyword("LIKE")) {
      Next();
      PFilterNode pattern = ParseSum();
      if (IsConst(left) && !IsConst(pattern)) left = Coerce(left, pattern->DataType);
      if (IsConst(pattern)) pattern = Coerce(pattern, ftString);
      result = NewCompareNode(coLIKE, left, pattern, (FOptions & foCaseInsensitive) != 0, 0);
    } else if (IsKeyword("IN")) {
      Next();
      Expect(tkLParen, "'('");
      std::vector<PFilterNode> items;
      for (;;) {
        PFilterNode item = ParseSum();
        items.push_back(IsConst(item) && !IsConst(left) ? Coerce(item, left->DataType) : item);
        if (FKind != tkComma) break;
        Next();
      }
      Expect(tkRParen, "')'");
      result = NewBinaryNode(coIN, left, NewListNode(std::move(items)));
    } else {
      return left;
    }
    return negate ? NewUnaryNode(coNOT, result) : result;
  }

  PFilterNode MakeComparison(TCANOperator op, PFilterNode left, PFilterNode right) {
    bool leftNull = IsNullConst(left), rightNull = IsNullConst(right);
    if (leftNull || rightNull) {
      if (op != coEQ && op != coNE) DatabaseError("NULL only allowed with '=' and '<>'");
      if (leftNull && rightNull) TypeMismatch();
      return NewUnaryNode(op == coEQ ? coISBLANK : coNOTBLANK, leftNull ? right : left);
    }
    if (IsConst(right) && !IsConst(left))
      right = Coerce(right, left->DataType);
    else if (IsConst(left) && !IsConst(right))
      left = Coerce(left, right->DataType);
    bool text = IsTextType(left->DataType) && IsTextType(right->DataType);
    if (!text || (op != coEQ && op != coNE)) return NewBinaryNode(op, left, right);
    int partial = 0;
    if ((FOptions & foNoPartialCompare) == 0) {
      PFilterNode& c = IsConst(right) ? right : left;
      if (IsConst(c)) {
        String s = c->Value.AsString();
        if (!s.empty() && s.back() == '*') {
          s.pop_back();
          c = NewConstNode(Variant(s), ftString);
          partial = static_cast<int>(s.size());
        }
      }
    }
    bool caseInsensitive = (FOptions & foCaseInsensitive) != 0;
    if (!caseInsensitive && partial == 0) return NewBinaryNode(op, left, right);
    return NewCompareNode(op, left, right, caseInsensitive, partial);
  }

  PFilterNode ParseSum() {
    PFilterNode left = ParseTerm();
    while (FKind == tkAdd || FKind == tkSub) {
      TCANOperator op = FKind == tkAdd ? coADD : coSUB;
      Next();
      left = Arithmetic(op, left, ParseTerm());
    }
    return left;
  }

  PFilterNode ParseTerm() {
    PFilterNode left = ParseFactor();
    while (FKind == tkMul || FKind == tkDiv) {
      TCANOperator op = FKind == tkMul ? coMUL : coDIV;
      Next();
      left = Arithmetic(op, left, ParseFactor());
    }
    return left;
  }

  PFilterNode ParseFactor() {
    switch (FKind) {
    case tkSub: {
      Next();
      PFilterNode operand = ParseFactor();
      if (IsConst(operand) && operand->Value.IsNumeric())
        return NewConstNode(-operand->Value, operand->DataType);
      CheckNumeric(operand);
      return NewUnaryNode(coMINUS, operand);
    }
    case tkLParen: {
      Next();
      PFilterNode inner = ParseOr();
      Expect(tkRParen, "')'");
      return inner;
    }
    case tkString: {
      PFilterNode c = NewConstNode(Variant(FToken), ftString);
      Next();
      return c;
    }
    case tkNumber: {
      PFilterNode c = NumberConst(FToken);
      Next();
      return c;
    }
    case tkQuotedName: {
      String name = FToken;
      Next();
      return FieldNode(name);
    }
    case tkName:
      return NameOrKeyword();
    default:
      DatabaseError(Format("Expression expected but %s found", TokenName()));
    }
  }

  PFilterNode NameOrKeyword() {
    String name = FToken;
    if (IsKeyword("NULL")) {
      Next();
      return NewConstNode(Variant::Null(), ftUnknown);
    }
    if (IsKeyword("TRUE") || IsKeyword("FALSE")) {
      bool v = IsKeyword("TRUE");
      Next();
      return NewConstNode(Variant(v), ftBoolean);
    }
    bool isCase = IsKeyword("UPPER") || IsKeyword("LOWER");
    TCANOperator op = IsKeyword("UPPER") ? coUPPER : coLOWER;
    Next();
    if (isCase && FKind == tkLParen) {
      Next();
      PFilterNode operand = ParseSum();
      Expect(tkRParen, "')'");
      PFilterNode node = NewUnaryNode(op, IsConst(operand) ? Coerce(operand, ftString) : operand);
      node->DataType = ftString;
      return node;
    }
    return FieldNode(name);
  }

  PFilterNode FieldNode(const String& name) {
    TField* f = FDataSet->FieldByName(name);
    if (!IsFilterable(f))
      DatabaseError(Format("Field '%s' cannot be used in a filter expression", f->GetDisplayName()));
    return NewFieldNode(f);
  }

  static PFilterNode NumberConst(const String& text) {
    int64_t i;
    if (TryStrToInt64(text, i)) {
      if (i >= INT32_MIN && i <= INT32_MAX) return NewConstNode(Variant(static_cast<int>(i)), ftInteger);
      return NewConstNode(Variant(i), ftLargeint);
    }
    double d;
    if (!TryStrToFloat(text, d)) DatabaseError("Constant out of range");
    return NewConstNode(Variant(d), ftFloat);
  }

  PFilterNode Arithmetic(TCANOperator op, PFilterNode left, PFilterNode right) {
    if (IsConst(right) && !IsConst(left))
      right = Coerce(right, left->DataType);
    else if (IsConst(left) && !IsConst(right))
      left = Coerce(left, right->DataType);
    PFilterNode node = NewBinaryNode(op, left, right);
    bool text = IsTextType(left->DataType) && IsTextType(right->DataType);
    if (op == coADD && text) {
      node->DataType = ftString;
      return node;
    }
    CheckNumeric(left);
    CheckNumeric(right);
    auto isFloat = [](TFieldType t) {
      return t == ftFloat || t == ftCurrency || t == ftBCD || t == ftDate || t == ftTime || t == ftDateTime;
    };
    if (op == coDIV || isFloat(left->DataType) || isFloat(right->DataType))
      node->DataType = ftFloat;
    else if (left->DataType == ftLargeint || right->DataType == ftLargeint)
      node->DataType = ftLargeint;
    else
      node->DataType = ftInteger;
    return node;
  }

  // ---- checks

  static bool IsConst(const PFilterNode& n) { return n->NodeClass == nodeCONST; }
  static bool IsNullConst(const PFilterNode& n) { return IsConst(n) && n->Value.IsNull(); }
  static PFilterNode Coerce(const PFilterNode& c, TFieldType type) { return CoerceConst(c, type); }

  static void CheckNumeric(const PFilterNode& n) {
    if (IsTextType(n->DataType) || n->DataType == ftBoolean) TypeMismatch();
  }

  static void CheckBoolean(const PFilterNode& n) {
    if (n->DataType == ftBoolean) return;
    if (n->NodeClass == nodeFIELD) DatabaseError(Format("Field '%s' is not of type Boolean", n->FieldName));
    TypeMismatch();
  }

  TDataSet* FDataSet;
  String FText;
  TFilterOptions FOptions;
  size_t FPos = 0;
  size_t FTokenStart = 0;
  TokenKind FKind = tkEnd;
  String FToken;
};

} // namespace

PFilterNode NewFieldNode(const TField* Field) {
  auto n = std::make_shared<TFilterNode>();
  n->NodeClass = nodeFIELD;
  n->FieldNo = Field->GetFieldNo();
  n->FieldName = Field->GetFieldName();
  n->DataType = Field->GetDataType();
  return n;
}

PFilterNode NewConstNode(const Variant& Value, TFieldType DataType) {
  auto n = std::make_shared<TFilterNode>();
  n->NodeClass = nodeCONST;
  n->Value = Value;
  n->DataType = DataType;
  return n;
}

PFilterNode NewUnaryNode(TCANOperator Operator, PFilterNode Operand) {
  auto n = std::make_shared<TFilterNode>();
  n->NodeClass = nodeUNARY;
  n->Operator = Operator;
  n->Args.push_back(std::move(Operand));
  n->DataType = (Operator == coMINUS) ? n->Args[0]->DataType : ftBoolean;
  return n;
}

PFilterNode NewBinaryNode(TCANOperator Operator, PFilterNode Left, PFilterNode Right) {
  auto n = std::make_shared<TFilterNode>();
  n->NodeClass = nodeBINARY;
  n->Operator = Operator;
  n->Args.push_back(std::move(Left));
  n->Args.push_back(std::move(Right));
  n->DataType = ftBoolean;
  return n;
}

PFilterNode NewCompareNode(TCANOperator Operator, PFilterNode Left, PFilterNode Right, bool CaseInsensitive,
                           int PartialLength) {
  auto n = NewBinaryNode(Operator, std::move(Left), std::move(Right));
  n->NodeClass = nodeCOMPARE;
  n->CaseInsensitive = CaseInsensitive;
  n->PartialLength = PartialLength;
  return n;
}

PFilterNode NewListNode(std::vector<PFilterNode> Elements) {
  auto n = std::make_shared<TFilterNode>();
  n->NodeClass = nodeLISTELEM;
  n->Args = std::move(Elements);
  return n;
}

TExprParser::TExprParser(TDataSet* DataSet, const String& Text, TFilterOptions Options) {
  FRoot = Parser(DataSet, Text, Options).Parse();
}
