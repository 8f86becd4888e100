// Marked ranges and named bookmarks: positions kept by the text store that
// follow the text through every insertion and deletion.
#pragma once

#include "SyntaxEd_base.h"

#include <functional>

// A marked range [Start, End) with the caller's value.
struct TMark {
  int Start = 0;
  int End = 0;
  uint8_t Kind = 0;
  uint32_t Value = 0;
  TMark* Prev = nullptr;
  TMark* Next = nullptr;
};

// Called with a mark that is freed, or that an edit moved or resized.
using TMarkEvent = std::function<void(TMark* mark)>;

// The text's marked ranges, a chain ordered by start.
class TObjectList {
public:
  TObjectList() = default;
  ~TObjectList();
  TObjectList(const TObjectList&) = delete;
  TObjectList& operator=(const TObjectList&) = delete;

  TMark* GetFirst() const { return FFirst; }

  // The first mark overlapping [range.first, range.second] or starting at or
  // after range.first; the last mark when none does; none for an empty list.
  TMark* LocateMark(std::pair<int, int> range) const;
  TMark* InsertMark(std::pair<int, int> range, uint8_t kind, uint32_t value);
  // The next mark after `after` (or from LocateMark when none) that contains
  // the range start or starts inside the range.
  TMark* NextMarkInRange(std::pair<int, int> range, TMark* after) const;
  void RepositionMark(TMark* mark, int start, int end);
  void MarksInserted(int position, int length);
  void MarksDeleted(int start, int end);

  // Operations the editor offers on marks.
  TMark* AddMark(int start, int length, uint32_t value);
  bool FindMark(int start, int length, TMark*& mark) const;
  static int GetMarkStart(const TMark* mark) { return mark->Start; }
  static int GetMarkEnd(const TMark* mark) { return mark->End; }
  void SetMarkStart(TMark* mark, int position);
  void SetMarkEnd(TMark* mark, int position);

  TMarkEvent OnFree;
  TMarkEvent OnChange;

private:
  void Unlink(TMark* mark);
  void LinkBefore(TMark* mark, TMark* before);
  void LinkAfter(TMark* mark, TMark* after);
  void FreeMark(TMark* mark);
  void Changed(TMark* mark) const;

  TMark* FFirst = nullptr;
};

struct TCustBookmark {
  String Name;
  int Position = 0;
  TCustBookmark* Next = nullptr;
  TCustBookmark* Prev = nullptr;
};

using TCustomBookmarkFreeEvent = std::function<void(const String& bmName)>;

// Named bookmarks: a chain ordered by position and a sorted name list whose
// objects carry the positions.
class TCustomBookmarks {
public:
  TCustomBookmarks();
  ~TCustomBookmarks();
  TCustomBookmarks(const TCustomBookmarks&) = delete;
  TCustomBookmarks& operator=(const TCustomBookmarks&) = delete;

  TCustBookmark* GetFirst() const { return FFirst; }
  TStringList& GetNames() { return FNames; }
  const TStringList& GetNames() const { return FNames; }

  // Puts a bookmark into the chain and the name list; the list owns it.
  void AddBookmark(const String& name, int position);

  void ClearBookmarks();
  void BookmarksInserted(int length, int position);
  void BookmarksDeleted(int length, int start);

  TCustomBookmarkFreeEvent OnFree;

private:
  void SetNamePosition(const String& name, int position, bool& found);
  void Unlink(TCustBookmark* bm);

  TCustBookmark* FFirst = nullptr;
  TStringList FNames;
};
