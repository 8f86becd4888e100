#include "SyntaxEd_marks.h"

#include <algorithm>
#include <cstdint>

namespace {

// Both lists are doubly linked chains with a first element.
template <class T> void UnlinkNode(T* node, T*& first) {
  if (node->Prev)
    node->Prev->Next = node->Next;
  else
    first = node->Next;
  if (node->Next) node->Next->Prev = node->Prev;
  node->Prev = node->Next = nullptr;
}

// Links node after `after`, or at the front when after is none.
template <class T> void LinkNodeAfter(T* node, T* after, T*& first) {
  node->Prev = after;
  node->Next = after ? after->Next : first;
  if (node->Next) node->Next->Prev = node;
  if (after)
    after->Next = node;
  else
    first = node;
}

} // namespace

// ---- TObjectList

TObjectList::~TObjectList() {
  TMark* last = FFirst;
  while (last && last->Next)
    last = last->Next;
  while (last) {
    TMark* prev = last->Prev;
    if (OnFree) OnFree(last);
    delete last;
    last = prev;
  }
}

TMark* TObjectList::LocateMark(std::pair<int, int> range) const {
  TMark* m = FFirst;
  while (m && m->Next) {
    bool overlaps = m->Start <= range.second && m->End > range.first;
    if (overlaps || m->Start >= range.first) break;
    m = m->Next;
  }
  return m;
}

void TObjectList::LinkBefore(TMark* mark, TMark* before) {
  LinkNodeAfter(mark, before->Prev, FFirst);
}

void TObjectList::LinkAfter(TMark* mark, TMark* after) {
  LinkNodeAfter(mark, after, FFirst);
}

void TObjectList::Unlink(TMark* mark) {
  UnlinkNode(mark, FFirst);
}

void TObjectList::FreeMark(TMark* mark) {
  Unlink(mark);
  if (OnFree) OnFree(mark);
  delete mark;
}

void TObjectList::Changed(TMark* mark) const {
  if (OnChange) OnChange(mark);
}

TMark* TObjectList::InsertMark(std::pair<int, int> range, uint8_t kind, uint32_t value) {
  auto* mark = new TMark;
  mark->Start = range.first;
  mark->End = range.second;
  mark->Kind = kind;
  mark->Value = value;
  if (!FFirst) {
    FFirst = mark;
    return mark;
  }
  TMark* m = LocateMark(range);
  if (range.first < m->Start)
    LinkBefore(mark, m);
  else
    LinkAfter(mark, m);
  return mark;
}

TMark* TObjectList::NextMarkInRange(std::pair<int, int> range, TMark* after) const {
  TMark* m = after ? after->Next : LocateMark(range);
  for (; m; m = m->Next) {
    bool holdsStart = m->Start <= range.first && range.first < m->End;
    bool startsInside = m->Start >= range.first && m->Start < range.second;
    if (holdsStart || startsInside) return m;
    if (m->Start >= range.second) break;
  }
  return nullptr;
}

void TObjectList::RepositionMark(TMark* mark, int start, int end) {
  Unlink(mark);
  mark->Start = start;
  mark->End = end;
  if (!FFirst) {
    FFirst = mark;
    return;
  }
  TMark* m = FFirst;
  while (m->Start <= start && m->Next)
    m = m->Next;
  if (m->Start > start)
    LinkBefore(mark, m);
  else
    LinkAfter(mark, m);
}

void TObjectList::MarksInserted(int position, int length) {
  for (TMark* m = FFirst; m; m = m->Next) {
    if (m->Start >= position) {
      m->Start += length;
      m->End += length;
      Changed(m);
    } else if (position <= m->End) {
      m->End += length;
      Changed(m);
    }
  }
}

void TObjectList::MarksDeleted(int start, int end) {
  auto [s, e] = OrderRange({start, end});
  const int n = e - s;
  TMark* m = FFirst;
  while (m) {
    TMark* next = m->Next;
    if (m->End < s) {
      // Before the deleted text.
    } else if (m->Start < s) {
      if (m->End >= e) {
        m->End -= n;
        Changed(m);
      } else if (m->End > s) {
        m->End = s;
        Changed(m);
      }
    } else if (m->Start >= e) {
      m->Start -= n;
      m->End -= n;
      Changed(m);
    } else if (m->End > e) {
      m->Start = s;
      m->End -= n;
      Changed(m);
    } else {
      FreeMark(m);
    }
    m = next;
  }
}

TMark* TObjectList::AddMark(int start, int length, uint32_t value) {
  return InsertMark(OrderRange({start, start + length}), 0, value);
}

bool TObjectList::FindMark(int start, int length, TMark*& mark) const {
  mark = LocateMark({start, start + length});
  if (!mark) return false;
  bool startInMark = start >= mark->Start && start <= mark->End;
  bool markInRange = mark->Start >= start && mark->Start <= start + length;
  return startInMark || markInRange;
}

void TObjectList::SetMarkStart(TMark* mark, int position) {
  RepositionMark(mark, std::min(position, mark->End), std::max(position, mark->End));
}

void TObjectList::SetMarkEnd(TMark* mark, int position) {
  RepositionMark(mark, std::min(mark->Start, position), std::max(mark->Start, position));
}

// ---- TCustomBookmarks

namespace {

void* PositionObject(int position) {
  return reinterpret_cast<void*>(static_cast<intptr_t>(position));
}

} // namespace

TCustomBookmarks::TCustomBookmarks() {
  FNames.SetSorted(true);
}

TCustomBookmarks::~TCustomBookmarks() {
  ClearBookmarks();
}

void TCustomBookmarks::Unlink(TCustBookmark* bm) {
  UnlinkNode(bm, FFirst);
}

void TCustomBookmarks::AddBookmark(const String& name, int position) {
  int index;
  if (FNames.Find(name, index)) {
    for (TCustBookmark* bm = FFirst; bm; bm = bm->Next) {
      if (SameText(bm->Name, name)) {
        Unlink(bm);
        delete bm;
        break;
      }
    }
    FNames.Delete(index);
  }
  auto* bm = new TCustBookmark{name, position};
  TCustBookmark* after = nullptr;
  for (TCustBookmark* b = FFirst; b && b->Position <= position; b = b->Next)
    after = b;
  LinkNodeAfter(bm, after, FFirst);
  FNames.AddObject(name, PositionObject(position));
}

void TCustomBookmarks::ClearBookmarks() {
  while (FFirst) {
    TCustBookmark* bm = FFirst;
    FFirst = bm->Next;
    if (OnFree) OnFree(bm->Name);
    delete bm;
  }
  FNames.Clear();
}

void TCustomBookmarks::SetNamePosition(const String& name, int position, bool& found) {
  int index;
  found = FNames.Find(name, index);
  if (found) FNames.PutObject(index, PositionObject(position));
}

void TCustomBookmarks::BookmarksInserted(int length, int position) {
  for (TCustBookmark* bm = FFirst; bm; bm = bm->Next) {
    if (bm->Position < position) continue;
    bm->Position += length;
    bool found;
    SetNamePosition(bm->Name, bm->Position, found);
    if (!found) return;
  }
}

void TCustomBookmarks::BookmarksDeleted(int length, int start) {
  TCustBookmark* bm = FFirst;
  while (bm) {
    TCustBookmark* next = bm->Next;
    if (bm->Position >= start + length) {
      bm->Position -= length;
      bool found;
      SetNamePosition(bm->Name, bm->Position, found);
      if (!found) return;
    } else if (bm->Position >= start) {
      int index;
      if (!FNames.Find(bm->Name, index)) return;
      Unlink(bm);
      String name = bm->Name;
      delete bm;
      if (OnFree) OnFree(name);
      FNames.Delete(index);
    }
    bm = next;
  }
}
