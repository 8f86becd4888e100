#include "Classes.h"

#include <algorithm>
#include <type_traits>
#include <cerrno>
#include <cstring>

namespace {
[[noreturn]] void ListIndexError(int index) {
  throw EListError(Format("List index out of bounds (%d)", index));
}
} // namespace

// ---- TList

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
}

int TList::Add(void* item) {
  FItems.push_back(item);
  return GetCount() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > GetCount()) ListIndexError(index);
  FItems.insert(FItems.begin() + index, item);
}

void TList::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
}

int TList::Remove(void* item) {
  int i = IndexOf(item);
  if (i >= 0) Delete(i);
  return i;
}

int TList::IndexOf(void* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TList::Exchange(int a, int b) {
  CheckIndex(a);
  CheckIndex(b);
  std::swap(FItems[a], FItems[b]);
}

void TList::Move(int from, int to) {
  if (from == to) return;
  CheckIndex(from);
  CheckIndex(to);
  void* item = FItems[from];
  FItems.erase(FItems.begin() + from);
  FItems.insert(FItems.begin() + to, item);
}

void* TList::Get(int index) const {
  CheckIndex(index);
  return FItems[index];
}

void TList::Put(int index, void* item) {
  CheckIndex(index);
  FItems[index] = item;
}

void TList::SetCount(int count) {
  if (count < 0) ListIndexError(count);
  FItems.resize(count, nullptr);
}

// ---- TStrings

int TStrings::Add(const String& s) {
  Insert(GetCount(), s);
  return GetCount() - 1;
}

int TStrings::AddObject(const String& s, void* obj) {
  int i = Add(s);
  PutObject(i, obj);
  return i;
}

void TStrings::InsertObject(int index, const String& s, void* obj) {
  Insert(index, s);
  PutObject(index, obj);
}

void TStrings::AddStrings(const TStrings& other) {
  for (int i = 0; i < other.GetCount(); ++i) AddObject(other.Get(i), other.GetObject(i));
}

void TStrings::Assign(const TStrings& other) {
  if (&other == this) return;
  BeginUpdate();
  Clear();
  AddStrings(other);
  EndUpdate();
}

void TStrings::Assign(const TPersistent* Source) {
  if (auto strings = dynamic_cast<const TStrings*>(Source)) Assign(*strings);
  else TPersistent::Assign(Source);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

int TStrings::IndexOf(const String& s) const {
  for (int i = 0; i < GetCount(); ++i)
    if (SameText(Get(i), s)) return i;
  return -1;
}

int TStrings::IndexOfName(const String& name) const {
  for (int i = 0; i < GetCount(); ++i) {
    String s = Get(i);
    size_t p = s.find('=');
    if (p != String::npos && SameText(s.substr(0, p), name)) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(void* obj) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == obj) return i;
  return -1;
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  String s = Get(from);
  void* obj = GetObject(from);
  Delete(from);
  InsertObject(to, s, obj);
}

void TStrings::Exchange(int a, int b) {
  String s = Get(a);
  void* obj = GetObject(a);
  Put(a, Get(b));
  PutObject(a, GetObject(b));
  Put(b, s);
  PutObject(b, obj);
}

String TStrings::GetName(int index) const {
  String s = Get(index);
  size_t p = s.find('=');
  return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::GetValue(const String& name) const {
  int i = IndexOfName(name);
  return i < 0 ? String() : GetValueFromIndex(i);
}

String TStrings::GetValueFromIndex(int index) const {
  String s = Get(index);
  size_t p = s.find('=');
  return p == String::npos ? String() : s.substr(p + 1);
}

// An empty value removes the pair, as the class library does.
void TStrings::SetValue(const String& name, const String& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  if (i < 0) Add(name + "=" + value);
  else Put(i, name + "=" + value);
}

String TStrings::GetText() const {
  String r;
  for (int i = 0; i < GetCount(); ++i) {
    r += Get(i);
    r += sLineBreak;
  }
  return r;
}

void TStrings::SetText(const String& text) {
  BeginUpdate();
  Clear();
  size_t i = 0, n = text.size();
  while (i < n) {
    size_t start = i;
    while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
    Add(text.substr(start, i - start));
    if (i < n && text[i] == '\r') ++i;
    if (i < n && text[i] == '\n') ++i;
  }
  EndUpdate();
}

String TStrings::GetCommaText() const {
  String r;
  for (int i = 0; i < GetCount(); ++i) {
    if (i) r += ',';
    String s = Get(i);
    bool quote = s.empty() || s.find_first_of(" ,\"") != String::npos;
    if (!quote) {
      r += s;
      continue;
    }
    r += '"';
    for (char c : s) {
      if (c == '"') r += '"';
      r += c;
    }
    r += '"';
  }
  return r;
}

void TStrings::SetCommaText(const String& text) {
  Clear();
  size_t i = 0, n = text.size();
  while (i < n) {
    while (i < n && (text[i] == ' ' || text[i] == ',')) ++i;
    if (i >= n) break;
    String item;
    if (text[i] == '"') {
      for (++i; i < n; ++i) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') ++i;
          else break;
        }
        item += text[i];
      }
      ++i;
    } else {
      while (i < n && text[i] != ',' && text[i] != ' ') item += text[i++];
    }
    Add(item);
  }
}

void TStrings::LoadFromStream(TStream& stream) {
  int64_t size = stream.GetSize() - stream.GetPosition();
  String s(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  if (!s.empty()) stream.ReadBuffer(s.data(), static_cast<int64_t>(s.size()));
  SetText(s);
}

void TStrings::SaveToStream(TStream& stream) const {
  String s = GetText();
  stream.WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
}

void TStrings::LoadFromFile(const String& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(f);
}

void TStrings::SaveToFile(const String& fileName) const {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

// ---- TStringList

template <typename F> auto TStringList::Change(F&& work) {
  Changing();
  if constexpr (std::is_void_v<decltype(work())>) {
    work();
    Changed();
  } else {
    auto result = work();
    Changed();
    return result;
  }
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) Changing();
  else Changed();
}

void TStringList::Changing() {
  if (GetUpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (GetUpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
}

int TStringList::CompareStrings(const String& a, const String& b) const {
  return FCaseSensitive ? a.compare(b) : CompareText(a, b);
}

String TStringList::Get(int index) const {
  CheckIndex(index);
  return FList[index].s;
}

void TStringList::Put(int index, const String& s) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckIndex(index);
  Change([&] { FList[index].s = s; });
}

void* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return FList[index].obj;
}

void TStringList::PutObject(int index, void* obj) {
  CheckIndex(index);
  Change([&] { FList[index].obj = obj; });
}

void TStringList::Insert(int index, const String& s) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  if (index < 0 || index > GetCount()) ListIndexError(index);
  Change([&] { FList.insert(FList.begin() + index, Item{s, nullptr}); });
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Change([&] { FList.erase(FList.begin() + index); });
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Change([&] { FList.clear(); });
}

int TStringList::Add(const String& s) {
  if (!FSorted) {
    Change([&] { FList.push_back(Item{s, nullptr}); });
    return GetCount() - 1;
  }
  int index;
  if (Find(s, index)) {
    if (Duplicates == dupIgnore) return index;
    if (Duplicates == dupError) throw EListError("String list does not allow duplicates");
  }
  Change([&] { FList.insert(FList.begin() + index, Item{s, nullptr}); });
  return index;
}

bool TStringList::Find(const String& s, int& index) const {
  int lo = 0, hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(FList[mid].s, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (Duplicates != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

int TStringList::IndexOf(const String& s) const {
  if (!FSorted) {
    for (int i = 0; i < GetCount(); ++i)
      if (CompareStrings(FList[i].s, s) == 0) return i;
    return -1;
  }
  int index;
  return Find(s, index) ? index : -1;
}

void TStringList::Sort() {
  Change([&] {
    std::stable_sort(FList.begin(), FList.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.s, b.s) < 0; });
  });
}

void TStringList::SetSorted(bool value) {
  if (value && !FSorted) Sort();
  FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
  FCaseSensitive = value;
  if (FSorted) Sort();
}

// ---- TStream

int64_t TStream::GetSize() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.GetSize();
  }
  char buf[65536];
  int64_t left = count;
  while (left > 0) {
    int64_t n = std::min<int64_t>(left, sizeof buf);
    source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    left -= n;
  }
  return count;
}

// ---- TMemoryStream

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t avail = GetSize() - FPosition;
  int64_t n = std::max<int64_t>(0, std::min(count, avail));
  if (n > 0) std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FPosition + count > GetSize()) FData.resize(static_cast<size_t>(FPosition + count));
  std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : GetSize();
  FPosition = std::max<int64_t>(0, base + offset);
  return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t size = stream.GetSize();
  SetSize(size);
  if (size) stream.ReadBuffer(FData.data(), size);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(f);
}

void TMemoryStream::SaveToStream(TStream& stream) {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), GetSize());
}

void TMemoryStream::SaveToFile(const String& fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

// ---- TFileStream

TFileStream::TFileStream(const String& fileName, uint16_t mode) : FFileName(fileName) {
  const char* how;
  if (mode == fmCreate) how = "w+b";
  else if ((mode & 3) == fmOpenReadWrite) how = "r+b";
  else if ((mode & 3) == fmOpenWrite) how = "r+b";
  else how = "rb";
  FFile = std::fopen(fileName.c_str(), how);
  if (!FFile) {
    if (mode == fmCreate) throw EFOpenError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
  }
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
  if (_fseeki64(FFile, offset, whence) != 0) return -1;
  return _ftelli64(FFile);
#else
  if (fseeko(FFile, offset, whence) != 0) return -1;
  return ftello(FFile);
#endif
}

void TFileStream::SetSize(int64_t size) {
  // Only truncation to empty and growth are needed by callers.
  int64_t cur = GetSize();
  if (size > cur) {
    Seek(size - 1, soBeginning);
    char zero = 0;
    WriteBuffer(&zero, 1);
  } else if (size < cur) {
    throw EStreamError("File streams cannot shrink");
  }
}

// ---- TStringStream

int64_t TStringStream::Read(void* buffer, int64_t count) {
  int64_t avail = static_cast<int64_t>(FData.size()) - FPosition;
  int64_t n = std::max<int64_t>(0, std::min(count, avail));
  if (n > 0) std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TStringStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FPosition + count > static_cast<int64_t>(FData.size())) FData.resize(static_cast<size_t>(FPosition + count));
  std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition += count;
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : static_cast<int64_t>(FData.size());
  FPosition = std::max<int64_t>(0, base + offset);
  return FPosition;
}

void TStringStream::SetSize(int64_t size) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  if (FPosition > size) FPosition = size;
}
