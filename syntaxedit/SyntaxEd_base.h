// The editor's shared ground: its exception, the base of its persistent model
// objects, a read-only stream over a caller's buffer and small text helpers.
#pragma once

#include "Classes.h"
#include "Components.h"

#include <bitset>
#include <memory>
#include <utility>

// The editor's errors; texts come from the editor's string table below.
class ESyntaxMemo : public Exception {
public:
  using Exception::Exception;
};

// Texts of the editor's string table that the model raises.
inline constexpr const char* SCannotAssign = "Cannot assign a %s to %s";
inline constexpr const char* SReadOnlyStream = "Cannot write to a read-only stream";
inline constexpr const char* SBookmarkRange = "Bookmark index range error"; // 4197
inline constexpr const char* SBadTransaction = "Bad transaction log entry"; // 4199
inline constexpr const char* SBadUndoState = "Bad do/undo stack state";     // 4200
inline constexpr const char* SStackUnderflow = "Stack underflow";           // 4201

// A set of 256 character codes (bit c for character c).
using TCharSet = std::bitset<256>;

// Base of the editor's persistent model objects: copying is writing to a
// memory stream and reading it back, so each descendant only defines its
// stream form and how to make an empty object of its own class. Assign takes
// only model objects: anything else is refused where it is compiled.
class TSM_Base : public TObject {
public:
  std::unique_ptr<TSM_Base> Clone() const;
  virtual void Assign(const TSM_Base& source);
  virtual void SaveToStream(TStream& stream) const;
  virtual void LoadFromStream(TStream& stream);
  virtual String ClassName() const { return "TSM_Base"; }

protected:
  // A new, empty object of the receiver's class.
  virtual std::unique_ptr<TSM_Base> NewInstance() const { return std::make_unique<TSM_Base>(); }
};

// A read-only stream over a zero-terminated buffer that stays the caller's.
class TFastMemoryStream : public TStream {
public:
  explicit TFastMemoryStream(const char* buffer);
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t GetSize() override { return FSize; }

private:
  const char* FMemory;
  int64_t FSize;
  int64_t FPosition = 0;
};

// Kinds of data offered by paste and drop, bit i for the i-th kind.
enum TSourceType {
  stFileNames,
  stUnicode,
  stText,
  stRichText,
  stBitMap,
  stDIB,
  stEnhMetaFile,
  stMetaFile,
  stHTML,
  stPaste,
  stAsText,
  stFileDropEvent,
  stIgnore,
  stExtractHTML,
  stFullHTML,
};
using TSourceTypes = std::bitset<stFullHTML + 1>;

// Turns text about to be inserted into the rows' form, where a line ends with
// one CR: LF, CR LF and LF CR become CR, other control characters but TAB
// become ".". dest must hold count + 1 characters; returns the characters
// written before the terminating zero.
int ConvertInsertText(char* dest, const char* source, int count);

TCharSet StringToCharSet(const String& s);
std::pair<int, int> OrderRange(std::pair<int, int> range);
inline int MinInt(int a, int b) {
  return a < b ? a : b;
}
String ReverseString(const String& s);
void StreamWriteByte(TStream& stream, uint8_t value);

// Cuts dropped or pasted HTML down to the part the user meant.
void ExtractHtmlPayload(String& text, const TSourceTypes& types);
