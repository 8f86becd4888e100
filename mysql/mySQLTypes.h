// Services of the native layer: an owning object list, a scanner that splits
// SQL text into classified tokens, conversions between MySQL's text forms
// and date-time and float values, pattern matching and the value tests of
// filters.
#pragma once

#include "Classes.h"
#include "Components.h"
#include "SysUtils.h"
#include "Variants.h"

#include <cstdint>
#include <string_view>

// Owns its members: destroying or clearing it frees them.
class TContainer : public TObject {
public:
  TContainer() = default;
  ~TContainer() override;
  TContainer(const TContainer&) = delete;
  TContainer& operator=(const TContainer&) = delete;

  virtual void Add(TObject* item);
  // The member, or nullptr for an index outside the list.
  TObject* Get(int index) const;
  // The member; an index outside the list raises the list's error.
  TObject* Items(int index) const;
  int Count() const { return FList.GetCount(); }
  int IndexOf(TObject* item) const { return FList.IndexOf(item); }
  // Take a member out of the list without freeing it.
  void Delete(int index);
  void Remove(TObject* item);
  // Frees the members, last first.
  void Clear();

private:
  TList FList;
};

// Base of the native objects: it joins its container when created and
// leaves it when destroyed.
class TBaseObject : public TObject {
public:
  TBaseObject(TObject* parent, TContainer* container);
  ~TBaseObject() override;
  TBaseObject(const TBaseObject&) = delete;
  TBaseObject& operator=(const TBaseObject&) = delete;

  TObject* GetParent() const { return FParent; }
  TContainer* GetContainer() const { return FContainer; }

private:
  TObject* FParent;
  TContainer* FContainer;
};

// Kinds of SQL tokens; the same numbers serve as the current section.
enum TSQLToken : int {
  stUnknown = 0,
  stTableName = 1,
  stFieldName = 2,
  stAscending = 3,
  stDescending = 4,
  stSelect = 5,
  stFrom = 6,
  stWhere = 7,
  stGroupBy = 8,
  stHaving = 9,
  stUnion = 10,
  stPlan = 11,
  stOrderBy = 12,
  stEnd = 14,
  stOperator = 15,
  stValue = 16,
  stIsNull = 17,
  stIsNotNull = 18,
  stLike = 19,
  stAnd = 20,
  stOr = 21,
  stNumber = 22,
  stAllFields = 23,
  stComment = 24,
  stDistinct = 25,
  stCreate = 26,
  stShow = 27,
  stInsert = 28,
  stUpdate = 29,
  stFor = 30,
  stFunction = 31,
};

// Reads the next token of the zero-terminated text at `cursor` and moves
// the cursor past it.
int ScanSQLToken(const char*& cursor, String& token, int section);
// The table a SELECT reads, back-quoted when the server version number
// allows; empty for other statements.
String TableNameFromSelect(const String& text);
// The shorter text is a prefix of the longer, ignoring ASCII case.
bool SameTextPrefix(const String& a, const String& b);

// "yyyy-mm-dd hh:nn:ss", either part alone; a zero date gives 0. An
// impossible date or time raises EConvertError.
TDateTime TextToDateTime(const String& text);
// "yyyymmddhhnnss" or "yyyy-mm-dd hh:nn:ss"; 0 when it cannot be read.
TDateTime TimestampTextToDateTime(const String& text);
enum TMySQLDateTimeKind { dkDateTime = 0, dkDate = 1, dkTime = 2 };
void DateTimeToMySQLText(int kind, String& text, TDateTime value);
// With "." as the decimal separator whatever the system's; an empty or
// unreadable text reads as 0.
double TextToFloatDot(const String& text);
String FloatToTextDot(double value);

// The first character of the lower-cased text is one of `chars`.
bool FirstCharInSet(std::string_view chars, const String& text);
// Cuts the next word (a delimiter, a quoted text or a run of other
// characters) off the front of `text`.
String NextSQLWord(String& text, String& word);
// SQL-style pattern: `one` matches any character, `many` any run.
bool MatchPattern(const String& text, const String& pattern, bool caseSensitive, char one, char many);
// The filter's equality of two values as texts; `partial` > 0 compares
// only that many characters. `oem` converts both from the OEM code page first.
bool FilterValuesEqual(const Variant& a, const Variant& b, bool oem, int partial, bool caseInsensitive);
// One bit per member of the SET value, by the member's place in the
// allowed list. A SET has up to 64 members, so the mask is 64 bits wide.
uint64_t SetTextToBits(const String& allowed, const String& value);

// The OEM code page's text in the ANSI code page (the same text where the
// system has no OEM code page).
String OemToAnsiText(const String& text);
