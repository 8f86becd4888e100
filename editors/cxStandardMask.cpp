#include "cxStandardMask.h"

#include "Locale.h"

#include <algorithm>

namespace {

bool IsAsciiLetter(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

} // namespace

bool TcxStandardMaskManyItem::Accepts(char& C) const {
  const char given = C;
  if (FCaseControl == mccUpperCase && C >= 'a' && C <= 'z') C = static_cast<char>(C - 32);
  if (FCaseControl == mccLowerCase && C >= 'A' && C <= 'Z') C = static_cast<char>(C + 32);
  return Takes(given);
}

bool TcxStandardMaskAlphaItem::Takes(char C) const {
  return IsAsciiLetter(C);
}

bool TcxStandardMaskAlphaNumericItem::Takes(char C) const {
  return IsAsciiLetter(C) || (C >= '0' && C <= '9');
}

void TcxStandardMask::ClearMask() {
  FBlank = '_';
  FItems.clear();
  FLeadingBlanks = false;
  FSaveLiteralCharacters = true;
  FMask.clear();
}

TcxStandardMaskCustomItem* TcxStandardMask::GetItem(int Index) const {
  if (Index < 0 || Index >= GetCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return FItems[Index].get();
}

bool TcxStandardMask::IsLiteral(int Index) const {
  return dynamic_cast<const TcxStandardMaskLiteralItem*>(GetItem(Index)) != nullptr;
}

void TcxStandardMask::AddInput(char C, TcxStandardMaskCaseControl CaseControl) {
  // The upper-case letter and 0 are required, the others optional.
  const bool optional = !(C == 'L' || C == 'A' || C == 'C' || C == '0');
  switch (C) {
  case 'L':
  case 'l':
    FItems.push_back(std::make_unique<TcxStandardMaskAlphaItem>(CaseControl, optional));
    break;
  case 'A':
  case 'a':
    FItems.push_back(std::make_unique<TcxStandardMaskAlphaNumericItem>(CaseControl, optional));
    break;
  case 'C':
  case 'c':
    FItems.push_back(std::make_unique<TcxStandardMaskASCIIItem>(CaseControl, optional));
    break;
  case '0':
  case '9':
    FItems.push_back(std::make_unique<TcxStandardMaskNumericItem>(CaseControl, optional));
    break;
  default:
    FItems.push_back(std::make_unique<TcxStandardMaskNumericSymbolItem>(CaseControl, true));
    break;
  }
}

// ";0", ";1", ";0;c" and ";1;c" at the very end: whether literals are saved,
// and the blank character.
bool TcxStandardMask::ParseOptions(const String& Rest) {
  const bool withBlank = Rest.size() == 3 && Rest[1] == ';';
  if (!(withBlank || Rest.size() == 1) || (Rest[0] != '0' && Rest[0] != '1')) return false;
  FSaveLiteralCharacters = Rest[0] != '0';
  if (withBlank) FBlank = Rest[2];
  return true;
}

void TcxStandardMask::ParseMask(const String& Mask) {
  ClearMask();
  FMask = Mask;
  size_t i = 0;
  if (!Mask.empty() && Mask[0] == '!') {
    FLeadingBlanks = true;
    i = 1;
  }
  TcxStandardMaskCaseControl caseControl = mccNone;
  for (; i < Mask.size(); ++i) {
    const char c = Mask[i];
    switch (c) {
    case 'L':
    case 'l':
    case 'A':
    case 'a':
    case 'C':
    case 'c':
    case '0':
    case '9':
    case '#':
      AddInput(c, caseControl);
      break;
    case '>':
      caseControl = mccUpperCase;
      break;
    case '<':
      if (i + 1 < Mask.size() && Mask[i + 1] == '>') {
        caseControl = mccNone;
        ++i;
      } else {
        caseControl = mccLowerCase;
      }
      break;
    case '\\':
      if (++i < Mask.size()) FItems.push_back(std::make_unique<TcxStandardMaskLiteralItem>(Mask[i]));
      break;
    case '/':
      FItems.push_back(std::make_unique<TcxStandardMaskLiteralItem>(FormatSettings.DateSeparator));
      break;
    case ':':
      FItems.push_back(std::make_unique<TcxStandardMaskLiteralItem>(FormatSettings.TimeSeparator));
      break;
    case ';':
      if (ParseOptions(Mask.substr(i + 1))) return;
      FItems.push_back(std::make_unique<TcxStandardMaskLiteralItem>(c));
      break;
    default:
      FItems.push_back(std::make_unique<TcxStandardMaskLiteralItem>(c));
    }
  }
}

String TcxStandardMask::BlankTemplate() const {
  String text;
  for (const auto& item : FItems) {
    const auto* literal = dynamic_cast<const TcxStandardMaskLiteralItem*>(item.get());
    text += literal ? literal->GetChar() : FBlank;
  }
  return text;
}

String TcxStandardMask::EmptyValueText() const {
  String text;
  for (const auto& item : FItems) {
    const auto* literal = dynamic_cast<const TcxStandardMaskLiteralItem*>(item.get());
    if (!literal)
      text += ' ';
    else if (FSaveLiteralCharacters)
      text += literal->GetChar();
  }
  return text;
}

// Characters jump over literal positions they do not equal, typed literals
// land on their own positions, and a blank or a space keeps an input
// position empty. A character no free position takes is dropped.
void TcxStandardMask::FillMaskPositions(String& Text, bool KeepConverted) const {
  String result = BlankTemplate();
  std::vector<bool> used(FItems.size(), false);
  for (const char given : Text) {
    for (size_t j = 0; j < FItems.size(); ++j) {
      if (used[j]) continue;
      char c = given;
      if (FItems[j]->Accepts(c)) {
        result[j] = KeepConverted ? c : given;
        used[j] = true;
        break;
      }
      if (IsBlank(given) && !IsLiteral(static_cast<int>(j))) {
        used[j] = true;
        break;
      }
    }
  }
  Text = result;
}

void TcxStandardMask::ExtractEditValue(String& Text) const {
  String value;
  const size_t count = std::min(Text.size(), FItems.size());
  for (size_t i = 0; i < count; ++i) {
    if (IsLiteral(static_cast<int>(i))) {
      if (FSaveLiteralCharacters) value += Text[i];
    } else {
      value += Text[i] == FBlank ? ' ' : Text[i];
    }
  }
  Text = value;
}

bool TcxStandardMask::IsTextValid(String& Text) const {
  if (Text.size() != FItems.size()) return false;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i]->Accepts(Text[i])) continue;
    const auto* input = dynamic_cast<const TcxStandardMaskManyItem*>(FItems[i].get());
    if (!input || !input->GetOptional() || !IsBlank(Text[i])) return false;
  }
  return true;
}
