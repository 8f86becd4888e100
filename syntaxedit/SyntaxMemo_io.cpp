#include "SyntaxMemo_model.h"

#include "SynParse.h"
#include "SyntaxEd_export.h"
#include "SyntaxEd_rescan.h"
#include "SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

namespace {

// Collects bytes and hands them to a stream in large writes.
class TBufferedWriter {
public:
  explicit TBufferedWriter(TStream& stream) : FStream(stream) { FBuffer.reserve(Capacity); }
  ~TBufferedWriter() = default;
  void Put(const char* text, size_t count) {
    if (FBuffer.size() + count > Capacity) Flush();
    if (count >= Capacity) {
      FStream.Write(text, static_cast<int64_t>(count));
      return;
    }
    FBuffer.append(text, count);
  }
  void Put(char c) { Put(&c, 1); }
  void Flush() {
    if (!FBuffer.empty()) FStream.Write(FBuffer.data(), static_cast<int64_t>(FBuffer.size()));
    FBuffer.clear();
  }

private:
  static constexpr size_t Capacity = 65536;
  TStream& FStream;
  String FBuffer;
};

// Every line break (CR, LF, CR LF, LF CR) as CR LF.
String AdjustLineBreaks(const String& text) {
  String out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += "\r\n";
    char partner = c == '\r' ? '\n' : '\r';
    if (i + 1 < text.size() && text[i + 1] == partner) ++i;
  }
  return out;
}

bool FileExists(const String& name) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(name), error);
}

} // namespace

// ---- writing text out

void TSyntaxMemoModel::WriteSelection(TStream& stream, int writeFlags) {
  if (writeFlags & wfRTF) return WriteSelectionRTF(*this, stream);
  if (writeFlags & wfHTML) return WriteSelectionHTML(*this, stream);
  auto [start, end] = OrderRange({FAnchor, FCaret});
  if (start >= end) return;
  TBufferedWriter out(stream);
  int rowStart = 0;
  for (TRowRecord* row = RowAt(start, rowStart); row && rowStart < end;
       rowStart += row->Length, row = row->Next) {
    int from = std::max(start - rowStart, 0);
    int to = std::min(end - rowStart, static_cast<int>(row->Length));
    bool lineEnd = to == row->Length && RowEndsWithCR(row);
    if (lineEnd && (writeFlags & wfUNIX) && !(writeFlags & (wfRTF | wfHTML))) {
      out.Put(row->Text.get() + from, static_cast<size_t>(to - 1 - from));
      out.Put('\n');
      continue;
    }
    out.Put(row->Text.get() + from, static_cast<size_t>(to - from));
    if (lineEnd && (writeFlags & wfCRLF) && !(writeFlags & (wfRTF | wfHTML | wfUNIX))) out.Put('\n');
  }
  out.Flush();
}

int TSyntaxMemoModel::StyleWriteFlags() const {
  return FStore->GetLineEndStyle() == lsCRLF ? wfCRLF : 0;
}

String TSyntaxMemoModel::RangeText(int start, int end, int writeFlags) {
  auto saved = GetSelection();
  FAnchor = start;
  FCaret = end;
  TMemoryStream stream;
  try {
    WriteSelection(stream, writeFlags);
  } catch (...) {
    FAnchor = saved.first;
    FCaret = saved.second;
    throw;
  }
  FAnchor = saved.first;
  FCaret = saved.second;
  String text(static_cast<size_t>(stream.GetSize()), '\0');
  stream.SetPosition(0);
  if (!text.empty()) stream.Read(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

namespace {

// At most limit bytes of text and a terminating zero; the bytes copied.
int CopyOut(const String& text, char* buffer, int limit) {
  int copied = std::min(static_cast<int>(text.size()), std::max(limit, 0));
  std::memcpy(buffer, text.data(), static_cast<size_t>(copied));
  buffer[copied] = 0;
  return copied;
}

} // namespace

String TSyntaxMemoModel::GetText(int writeFlags) {
  return RangeText(0, GetTextLength(), writeFlags);
}

int TSyntaxMemoModel::GetWindowTextLength() {
  return static_cast<int>(GetText(StyleWriteFlags()).size());
}

int TSyntaxMemoModel::GetWindowText(char* buffer, int capacity) {
  if (capacity <= 0 || !buffer) return 0;
  return CopyOut(RangeText(0, std::min(capacity, GetTextLength()), StyleWriteFlags()), buffer, capacity - 1);
}

void TSyntaxMemoModel::SetWindowText(const char* text) {
  if (text) {
    TFastMemoryStream stream(text);
    LoadTextFromStream(stream);
    return;
  }
  TMemoryStream empty;
  LoadTextFromStream(empty);
}

String TSyntaxMemoModel::GetSelText() {
  int length = GetSelLength();
  if (length == 0) return String();
  String text(static_cast<size_t>(length) + 1, '\0');
  int written = GetSelTextBuf(text.data(), length);
  text.resize(static_cast<size_t>(written));
  return text;
}

int TSyntaxMemoModel::GetSelTextBuf(char* buffer, int size) {
  if (!buffer || size < 0) return 0;
  auto [start, end] = OrderRange(GetSelection());
  // CR LF line ends make the text longer than its positions: never past size.
  return CopyOut(RangeText(start, std::min(end, start + size), StyleWriteFlags()), buffer, size);
}

void TSyntaxMemoModel::SetSelText(const String& text) {
  ReplaceSelectionText(text.data(), static_cast<int>(text.size()));
  if (!FRedraw) return;
  AddChangeFlags(cfText | cfSelection);
  NotifyChange();
  MakeVisible(FCaret);
  FHost->Paint();
  FHost->UpdateScrollBars();
}

// ---- loading

void TSyntaxMemoModel::LoadTextFromStream(TStream& stream) {
  struct TScrollBarsAtEnd {
    TSyntaxMemoHost* Host;
    ~TScrollBarsAtEnd() { Host->UpdateScrollBars(); }
  } atEnd{FHost};
  ClearUndo();
  bool redraw = FRedraw;
  if (redraw) SetRedraw(false);
  SetSelection(-1, 0, false);
  TSyntaxMemoParser* parser = FRescanner->Parser;
  FRescanner->Parser = nullptr;
  // A failed load leaves the parser in place and redraw as it was.
  auto restore = [&] {
    FBulkLoad = false;
    FRescanner->Parser = parser;
    if (redraw) SetRedraw(true);
  };
  try {
    FLastAppended = nullptr;
    FBulkLoad = true;
    InsertStreamText(stream, false);
    FBulkLoad = false;
  } catch (const std::bad_alloc&) {
    restore();
    throw ESyntaxMemo(SNotEnoughMemory);
  } catch (...) {
    restore();
    throw;
  }
  DiscardTokens();
  AddChangeFlags(cfText);
  FRescanner->Parser = parser;
  if (parser) ApplySettingsMessage();
  SetSelection(0, 0, false);
  FBeyondEOL = false;
  FCaretColumn = 0;
  MakeVisible(0);
  if (redraw) SetRedraw(true);
  ClearUndo();
}

void TSyntaxMemoModel::LoadTextFile(const String& fileName) {
  if (!FileExists(fileName)) {
    char message[1024];
    std::snprintf(message, sizeof message, SCannotOpenFile, fileName.c_str());
    throw EFOpenError(message);
  }
  {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
    LoadTextFromStream(stream);
  }
  ClearUndo();
  if (HasOption(smoTitleAsFilename)) Title = fileName;
}

// ---- saving

void TSyntaxMemoModel::SaveAttempt(TStream& stream) {
  // Selection and update lock come back however the write ends.
  struct TRestore {
    TSyntaxMemoModel& M;
    std::pair<int, int> Selection;
    bool Lock;
    ~TRestore() {
      M.FUpdateLock = Lock;
      M.SetSelection(Selection.first, Selection.second, true);
      M.FUpdateLock = false;
    }
  };
  ClearUndo();
  FUpdateLock = true;
  {
    TRestore restore{*this, GetSelection(), true};
    SetSelection(-1, 0, false);
    static const int formatFlags[] = {0, wfRTF, wfHTML, wfUNIX};
    int flags = SaveFormat == sfTEXT ? StyleWriteFlags() : formatFlags[SaveFormat];
    WriteSelection(stream, flags);
  }
  ClearUndo();
}

void TSyntaxMemoModel::SaveTextToStream(TStream* stream) {
  if (!stream) throw EFileSaveError(SBadStream);
  const int64_t start = stream->GetPosition();
  for (int attempt = 0;; ++attempt) {
    // A short write is repeated whole from the start, not appended to.
    if (attempt > 0) stream->Seek(start, soBeginning);
    std::exception_ptr error;
    try {
      SaveAttempt(*stream);
    } catch (...) {
      error = std::current_exception();
    }
    bool shortWrite = GetTextLength() > 0 && stream->GetPosition() - start < GetTextLength();
    if (shortWrite && attempt >= 3) throw EFileSaveError(SCouldNotSave);
    if (error) std::rethrow_exception(error);
    if (!shortWrite) return;
  }
}

void TSyntaxMemoModel::SaveTextFile(const String& fileName) {
  // Written beside the old file and then put in its place in one step, so
  // that a failed save leaves the old file as it was.
  const String temporary = fileName + ".tmp~";
  auto stream = std::make_unique<TFileStream>(temporary, fmCreate);
  std::error_code error;
  try {
    SaveTextToStream(stream.get());
    stream.reset();
  } catch (...) {
    stream.reset();
    std::filesystem::remove(temporary, error);
    throw;
  }
  std::filesystem::rename(temporary, fileName, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw EStreamError("Cannot create file \"" + fileName + "\"");
  }
  ClearUndo();
  if (HasOption(smoTitleAsFilename)) Title = fileName;
}

// ---- the lines adaptor

int TSyntaxMemoStrings::GetCount() const {
  int count = FModel.GetLineCount();
  if (count == 1 && FModel.LineLength(FModel.LineIndex(0)) == 0 && FModel.GetTextLength() == 0) return 0;
  TRowRecord* last = FModel.GetFirstRow();
  while (last && last->Next)
    last = last->Next;
  if (RowEndsWithCR(last)) ++count;
  return count;
}

String TSyntaxMemoStrings::Get(int index) const {
  return FModel.GetRowText(index);
}

int TSyntaxMemoStrings::LineStart(int index) const {
  int count = GetCount();
  if (index < 0 || index >= std::max(count, 1)) return -1;
  return FModel.LineIndex(index);
}

int TSyntaxMemoStrings::LineLength(int start) const {
  // The empty line after a final line end has no characters.
  return start >= FModel.GetTextLength() ? 0 : FModel.LineLength(start);
}

void TSyntaxMemoStrings::Put(int index, const String& s) {
  int start = LineStart(index);
  if (start < 0) return;
  FModel.SetSelection(start, start + LineLength(start), true);
  FModel.SetSelText(s);
}

void TSyntaxMemoStrings::Insert(int index, const String& s) {
  if (index < 0) return;
  int start = LineStart(index);
  String text;
  if (start >= 0) {
    text = s + "\r\n";
  } else {
    start = LineStart(index - 1);
    if (start < 0) return;
    int length = LineLength(start);
    if (length > 0) {
      text = "\r" + s;
      start += length;
    } else {
      text = s.empty() ? String("\r") : s;
    }
  }
  FModel.SetSelection(start, start, true);
  FModel.SetSelText(text);
}

void TSyntaxMemoStrings::Delete(int index) {
  int start = LineStart(index);
  if (start < 0) return;
  int end = LineStart(index + 1);
  if (end < 0) end = start + LineLength(start);
  FModel.SetSelection(start, end, true);
  FModel.SetSelText(String());
}

void TSyntaxMemoStrings::Clear() {
  FModel.Clear();
}

void TSyntaxMemoStrings::SetUpdateState(bool updating) {
  FModel.SetRedraw(!updating);
  if (!updating && OnUpdateEnded) OnUpdateEnded();
}

String TSyntaxMemoStrings::GetTextStr() const {
  return FModel.GetText(FModel.StyleWriteFlags());
}

void TSyntaxMemoStrings::SetTextStr(const String& value) {
  String normalised = AdjustLineBreaks(value);
  if (normalised == FModel.GetText(wfCRLF)) return;
  FModel.SetWindowText(normalised.c_str());
}

void TSyntaxMemoStrings::LoadFromStream(TStream& stream) {
  FModel.LoadTextFromStream(stream);
}

void TSyntaxMemoStrings::SaveToStream(TStream& stream) {
  FModel.SaveTextToStream(&stream);
}

void TSyntaxMemoStrings::LoadFromFile(const String& fileName) {
  FModel.LoadTextFile(fileName);
}

void TSyntaxMemoStrings::SaveToFile(const String& fileName) {
  FModel.SaveTextFile(fileName);
}

void TSyntaxMemoStrings::AddStrings(const TStrings& other) {
  TMemoryStream stream;
  other.SaveToStream(stream);
  stream.SetPosition(0);
  FModel.LoadTextFromStream(stream);
}
