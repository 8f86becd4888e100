#include "Util.h"

namespace {

// 0-based offset of sub in s at or after from, ASCII letters in any case.
size_t FindText(const String& s, const String& sub, size_t from = 0) {
  if (sub.empty() || from > s.size()) return String::npos;
  String us = UpperCase(s), usub = UpperCase(sub);
  return us.find(usub, from);
}

} // namespace

String RemoveChar(const String& s, char c) {
  String r = s;
  RemoveCharInPlace(r, c);
  return r;
}

void RemoveCharInPlace(String& s, char c) {
  std::erase(s, c);
}

int LastPos(const String& sub, const String& s) {
  if (sub.empty() || sub.size() > s.size()) return 0;
  size_t p = s.rfind(sub);
  return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

void SplitString(char delimiter, const String& s, TStrings& list) {
  list.Clear();
  size_t start = 0;
  for (size_t p; (p = s.find(delimiter, start)) != String::npos; start = p + 1)
    list.Add(s.substr(start, p - start));
  list.Add(s.substr(start));
}

String CutToken(char delimiter, String& s) {
  size_t p = s.find(delimiter);
  if (p == String::npos) return String();
  String token = s.substr(0, p);
  s.erase(0, p + 1);
  return token;
}

String LeftPart(const String& s, int n) {
  if (n >= 1) return s.substr(0, std::min(static_cast<size_t>(n), s.size()));
  size_t cut = static_cast<size_t>(-static_cast<int64_t>(n));
  return cut >= s.size() ? String() : s.substr(0, s.size() - cut);
}

String RightPart(const String& s, int n) {
  if (n >= 1) {
    size_t keep = std::min(static_cast<size_t>(n), s.size());
    return s.substr(s.size() - keep);
  }
  size_t cut = static_cast<size_t>(-static_cast<int64_t>(n));
  return cut >= s.size() ? String() : s.substr(cut);
}

void StripTrailingChar(String& s, char c) {
  while (!s.empty() && s.back() == c)
    s.pop_back();
}

String ReplaceAll(const String& s, const String& oldText, const String& newText) {
  if (oldText.empty()) return s;
  String r = s;
  // Searching again from the start after each replacement never ends when the
  // new text holds the old one: then replace in one pass from left to right.
  bool restart = newText.find(oldText) == String::npos;
  size_t from = 0;
  for (size_t p; (p = r.find(oldText, from)) != String::npos;) {
    r.replace(p, oldText.size(), newText);
    from = restart ? 0 : p + newText.size();
  }
  return r;
}

bool TextBetween(const String& s, const String& startMarker, const String& endMarker, bool withMarkers,
                 String& result) {
  size_t from = FindText(s, startMarker), to = FindText(s, endMarker);
  if (from == String::npos || to == String::npos || to < from) return false;
  if (withMarkers)
    result = s.substr(from, to + endMarker.size() - from);
  else {
    size_t b = from + startMarker.size();
    result = to > b ? s.substr(b, to - b) : String();
  }
  return true;
}

void RemoveDelimited(String& s, const String& startMarker, const String& endMarker, const String& keyword) {
  for (;;) {
    size_t start = FindText(s, startMarker);
    if (start == String::npos) return;
    size_t end = FindText(s, endMarker, start + startMarker.size());
    if (end == String::npos) return;
    if (!keyword.empty() && start > 0) {
      TStringList pieces;
      SplitString(';', s.substr(0, start), pieces);
      String key = UpperCase(keyword);
      for (int i = 0; i < pieces.GetCount(); ++i) {
        String piece = UpperCase(Trim(pieces[i]));
        if (!piece.empty() && piece.compare(0, key.size(), key) != 0) return;
      }
    }
    s.erase(start, end + endMarker.size() - start);
  }
}

void RaiseError(const String& message) {
  throw Exception(message);
}

void InsertAt(TStrings& list, int index, const String& s) {
  if (index >= list.GetCount())
    list.Add(s);
  else
    list.Insert(index, s);
}
