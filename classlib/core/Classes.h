// Lists, string lists and streams of the class library.
#pragma once

#include "Components.h"
#include "SysUtils.h"

#include <cstdio>
#include <memory>
#include <vector>

// A list of untyped pointers; the owner of the items frees them.
class TList : public TObject {
public:
  virtual ~TList() = default;
  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  int Remove(void* item);
  int IndexOf(void* item) const;
  void Clear() { FItems.clear(); }
  void Exchange(int a, int b);
  void Move(int from, int to);
  void* Get(int index) const;
  void Put(int index, void* item);
  void* operator[](int index) const { return Get(index); }
  void* First() const { return Get(0); }
  void* Last() const { return Get(GetCount() - 1); }
  int GetCount() const { return static_cast<int>(FItems.size()); }
  void SetCount(int count);

private:
  void CheckIndex(int index) const;
  std::vector<void*> FItems;
};

// A persistent object that offers interfaces; holding them never frees it:
// its owner does.
class TInterfacedPersistent : public TPersistent {
protected:
  String ClassName() const override { return "TInterfacedPersistent"; }
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

// A list of strings, each with an object pointer (not owned).
class TStrings : public TPersistent {
public:

  virtual int GetCount() const = 0;
  virtual String Get(int index) const = 0;
  virtual void Put(int index, const String& s) = 0;
  virtual void* GetObject(int index) const = 0;
  virtual void PutObject(int index, void* obj) = 0;
  virtual void Insert(int index, const String& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  virtual int Add(const String& s);
  int AddObject(const String& s, void* obj);
  void InsertObject(int index, const String& s, void* obj);
  void AddStrings(const TStrings& other);
  void Assign(const TStrings& other);
  void Assign(const TPersistent* Source) override;
  void Append(const String& s) { Add(s); }
  // Letter case is ignored.
  virtual int IndexOf(const String& s) const;
  int IndexOfName(const String& name) const;
  int IndexOfObject(void* obj) const;
  void Move(int from, int to);
  void Exchange(int a, int b);

  // Name=Value pairs.
  String GetName(int index) const;
  String GetValue(const String& name) const;
  void SetValue(const String& name, const String& value);
  String GetValueFromIndex(int index) const;

  // The lines joined, each followed by CR LF; setting splits at CR LF, CR or LF.
  String GetText() const;
  void SetText(const String& text);
  String GetCommaText() const;
  void SetCommaText(const String& text);

  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName) const;
  void LoadFromStream(class TStream& stream);
  void SaveToStream(class TStream& stream) const;

  // Between BeginUpdate and the matching EndUpdate a list announces no
  // single changes; the outermost pair announces one.
  void BeginUpdate();
  void EndUpdate();
  int GetUpdateCount() const { return FUpdateCount; }

  String operator[](int index) const { return Get(index); }

protected:
  // Called with Updating true when the outermost BeginUpdate starts and false
  // when the matching EndUpdate ends.
  virtual void SetUpdateState(bool) {}
  String ClassName() const override { return "TStrings"; }

private:
  int FUpdateCount = 0;
};

class TStringList : public TStrings {
public:
  int GetCount() const override { return static_cast<int>(FList.size()); }
  String Get(int index) const override;
  void Put(int index, const String& s) override;
  void* GetObject(int index) const override;
  void PutObject(int index, void* obj) override;
  void Insert(int index, const String& s) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const String& s) override;
  int IndexOf(const String& s) const override;

  // A sorted list keeps its items in order and finds them by binary search.
  bool Find(const String& s, int& index) const;
  void Sort();
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool value);
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value);
  TDuplicates Duplicates = dupIgnore;

  // Before and after every change, unless inside BeginUpdate/EndUpdate.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changing();
  virtual void Changed();
  String ClassName() const override { return "TStringList"; }

private:
  // Announces a change around the work a mutating member does.
  template <typename F> auto Change(F&& work);
  struct Item {
    String s;
    void* obj = nullptr;
  };
  int CompareStrings(const String& a, const String& b) const;
  void CheckIndex(int index) const;
  std::vector<Item> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
  virtual ~TStream() = default;
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t GetSize();
  virtual void SetSize(int64_t size);

  // Raise EReadError / EWriteError when not all bytes move.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t GetSize() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t size) override;
  void Clear();
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const String& fileName);
  void SaveToStream(TStream& stream);
  void SaveToFile(const String& fileName);
  char* GetMemory() { return FData.data(); }
  const char* GetMemory() const { return FData.data(); }

private:
  std::vector<char> FData;
  int64_t FPosition = 0;
};

// File modes as the class library numbers them.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

class TFileStream : public TStream {
public:
  // Raises EFOpenError ("Cannot open file \"%s\"") or, for fmCreate,
  // EFCreateError's text ("Cannot create file \"%s\"").
  TFileStream(const String& fileName, uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  const String& GetFileName() const { return FFileName; }

private:
  String FFileName;
  std::FILE* FFile = nullptr;
};

// A stream over a string, as the class library's TStringStream.
class TStringStream : public TStream {
public:
  explicit TStringStream(String data = String()) : FData(std::move(data)) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  const String& GetDataString() const { return FData; }

private:
  String FData;
  int64_t FPosition = 0;
};
