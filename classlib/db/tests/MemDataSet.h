// A small data set over rows kept in memory, built the way a real cursor
// plugs into the framework: record buffers with a presence byte per field, a
// calculated-field area and a record-info trailer holding the bookmark.
#pragma once

#include "DB.h"

#include <cstring>
#include <map>
#include <optional>
#include <vector>

class TMemDataSet : public TDataSet {
public:
  struct Column {
    String Name;
    TFieldType Type;
    int Size = 0;
    bool Required = false;
  };
  using Row = std::vector<std::optional<String>>; // each value as field data bytes

  explicit TMemDataSet(TComponent* owner = nullptr) : TDataSet(owner) {}
  ~TMemDataSet() override {
    SetDestroying();
    try {
      Close();
    } catch (...) {
    }
  }

  std::vector<Column> Columns;
  std::vector<Row> Rows;
  bool ReadOnlyData = false;
  // Store text shifted by one byte so that reads and writes must pass
  // through Translate to come out right.
  bool ShiftedText = false;

  // Appends a row given as text values (nullopt: NULL) while closed.
  void AddRow(const std::vector<std::optional<String>>& values);
  int Cursor() const { return FCursor; }

protected:
  char* AllocRecordBuffer() override { return new char[static_cast<size_t>(FBufferSize)](); }
  void GetBookmarkData(char* Buffer, void* Data) override { std::memcpy(Data, Buffer + FInfoOffset, 4); }
  TBookmarkFlag GetBookmarkFlag(char* Buffer) override {
    return static_cast<TBookmarkFlag>(Buffer[FInfoOffset + 4]);
  }
  void SetBookmarkData(char* Buffer, const void* Data) override {
    std::memcpy(Buffer + FInfoOffset, Data, 4);
  }
  void SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) override {
    Buffer[FInfoOffset + 4] = static_cast<char>(Value);
  }
  TGetResult GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck) override;
  int GetRecordSize() override { return FRecordSize; }
  void InternalClose() override;
  void InternalDelete() override;
  void InternalFirst() override { FCursor = -1; }
  void InternalLast() override { FCursor = static_cast<int>(Rows.size()); }
  void InternalGotoBookmark(const void* Bookmark) override { std::memcpy(&FCursor, Bookmark, 4); }
  void InternalInitFieldDefs() override;
  void InternalInitRecord(char* Buffer) override { std::memset(Buffer, 0, static_cast<size_t>(FRecordSize)); }
  void InternalOpen() override;
  void InternalPost() override;
  void InternalCancel() override { FPendingBlobs.clear(); }
  bool IsCursorOpen() override { return FOpen; }
  bool GetCanModifyImpl() override { return !ReadOnlyData; }
  void ClearCalcFields(char* Buffer) override {
    std::memset(Buffer + FRecordSize, 0, static_cast<size_t>(GetCalcFieldsSize()));
  }

public:
  int GetRecordCount() override {
    CheckActive();
    return static_cast<int>(Rows.size());
  }
  int GetRecNo() override;
  bool GetFieldData(TField* Field, void* Buffer) override;
  void SetFieldData(TField* Field, const void* Buffer) override;
  std::unique_ptr<TStream> CreateBlobStream(TField* Field, TBlobStreamMode Mode) override;
  int CompareBookmarks(const char* a, const char* b) override;
  bool BookmarkValid(const char* b) override;
  int Translate(const char* Src, char* Dest, bool ToOem) override;

private:
  friend class TMemBlobStream;
  char* CurrentBuffer();
  int Offset(int fieldNo) const { return FOffsets[static_cast<size_t>(fieldNo - 1)]; }
  int DataSizeOf(int fieldNo) const;
  void FillBuffer(char* Buffer, int row);
  Row RowFromBuffer(const char* Buffer, int row) const;
  bool Accepts(int row);

  std::vector<int> FOffsets;
  int FRecordSize = 0;
  int FInfoOffset = 0;
  int FBufferSize = 0;
  int FCursor = -1;
  bool FOpen = false;
  char* FFilterBuffer = nullptr;
  std::map<int, String> FPendingBlobs; // field number -> contents written while editing
};
