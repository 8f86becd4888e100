// The picture mask of the masked editors: a fixed sequence of positions, each
// a literal character or an input position that takes a class of characters
// and may convert its case. Portable.
#pragma once

#include "SysUtils.h"

#include <cstdint>
#include <memory>
#include <vector>

class TcxStandardMaskCustomItem {
public:
  virtual ~TcxStandardMaskCustomItem() = default;
  // Whether the character fits; an input position converts its case in place.
  virtual bool Accepts(char& C) const = 0;
};

class TcxStandardMaskLiteralItem : public TcxStandardMaskCustomItem {
public:
  explicit TcxStandardMaskLiteralItem(char C) : FChar(C) {}
  bool Accepts(char& C) const override { return C == FChar; }
  char GetChar() const { return FChar; }

private:
  char FChar;
};

enum TcxStandardMaskCaseControl : uint8_t { mccUpperCase, mccLowerCase, mccNone };

class TcxStandardMaskManyItem : public TcxStandardMaskCustomItem {
public:
  TcxStandardMaskManyItem(TcxStandardMaskCaseControl CaseControl, bool Optional)
      : FCaseControl(CaseControl), FOptional(Optional) {}
  // Converts the case first and decides on the character as it was.
  bool Accepts(char& C) const override;
  bool GetOptional() const { return FOptional; }

protected:
  virtual bool Takes(char C) const = 0;

private:
  TcxStandardMaskCaseControl FCaseControl;
  bool FOptional;
};

// L, l: ASCII letters.
class TcxStandardMaskAlphaItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Takes(char C) const override;
};

// A, a: ASCII letters and digits.
class TcxStandardMaskAlphaNumericItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Takes(char C) const override;
};

// C, c: any character.
class TcxStandardMaskASCIIItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Takes(char) const override { return true; }
};

// 0, 9: digits.
class TcxStandardMaskNumericItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Takes(char C) const override { return C >= '0' && C <= '9'; }
};

// #: digits and signs, always optional.
class TcxStandardMaskNumericSymbolItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Takes(char C) const override { return (C >= '0' && C <= '9') || C == '+' || C == '-'; }
};

class TcxStandardMask {
public:
  TcxStandardMask() = default;
  TcxStandardMask(const TcxStandardMask&) = delete;
  TcxStandardMask& operator=(const TcxStandardMask&) = delete;

  void ParseMask(const String& Mask);
  void ClearMask();

  int GetCount() const { return static_cast<int>(FItems.size()); }
  // Raises EListError out of range.
  TcxStandardMaskCustomItem* GetItem(int Index) const;
  bool IsLiteral(int Index) const;

  char GetBlank() const { return FBlank; }
  bool GetLeadingBlanks() const { return FLeadingBlanks; }
  bool GetSaveLiteralCharacters() const { return FSaveLiteralCharacters; }
  const String& GetMask() const { return FMask; }

  // One character per position: a literal's own, the blank elsewhere.
  String BlankTemplate() const;
  // A space per input position; the literals when they are saved.
  String EmptyValueText() const;
  // Fits the text into the positions: one character per position after it.
  void FillMaskPositions(String& Text, bool KeepConverted) const;
  // The stored value of a filled text.
  void ExtractEditValue(String& Text) const;
  bool IsTextValid(String& Text) const;

private:
  bool ParseOptions(const String& Rest);
  void AddInput(char C, TcxStandardMaskCaseControl CaseControl);
  bool IsBlank(char C) const { return C == FBlank || C == ' '; }

  char FBlank = '_';
  std::vector<std::unique_ptr<TcxStandardMaskCustomItem>> FItems;
  bool FLeadingBlanks = false;
  bool FSaveLiteralCharacters = true;
  String FMask;
};
