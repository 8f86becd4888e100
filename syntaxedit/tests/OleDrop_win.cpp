// The editor's drop target fed by a small data object, as another program's
// drag would feed it, and its own data object answering requests.
#include "EditorWindowFixture.h"
#include "SyntaxEd_ole.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include <shlobj.h>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

// Offers fixed blocks of bytes, one per format.
class TTestData : public IDataObject {
public:
  std::map<UINT, String> Blocks;
  ULONG Refs = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IDataObject) || IsEqualIID(iid, IID_IUnknown)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --Refs; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
    auto block = Blocks.find(f->cfFormat);
    if (block == Blocks.end()) return DV_E_FORMATETC;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block->second.size());
    memcpy(GlobalLock(h), block->second.data(), block->second.size());
    GlobalUnlock(h);
    *m = STGMEDIUM{};
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = h;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    return Blocks.count(f->cfFormat) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
};

String FileList(std::initializer_list<const char*> names) {
  DROPFILES head{};
  head.pFiles = sizeof(DROPFILES);
  String block(reinterpret_cast<const char*>(&head), sizeof(head));
  for (const char* name : names)
    block += String(name) + '\0';
  return block + '\0';
}

// A file list whose last name lacks both its zero and the list's.
String Unterminated(const String& list) {
  return list.substr(0, list.size() - 2);
}

class OleDrop : public EditorWindowTest {
protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    Target = new TSynMemoDropTarget(Memo);
  }
  void TearDown() override { EXPECT_EQ(Target->Release(), 0u); }

  // The screen point over the left half of the character at a position.
  POINTL At(int position) {
    const TEdPoint p = Memo->GetModel().PositionToPoint(position);
    POINT s{p.X + 1, p.Y + Memo->GetLineHeight() / 2};
    ClientToScreen(Memo->GetHandle(), &s);
    return POINTL{s.x, s.y};
  }
  // A whole drag over the control ending in a drop at the position.
  DWORD DropAt(IDataObject* data, int position, DWORD keys = 0) {
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(Target->DragEnter(data, keys, At(position), &effect), S_OK);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(Target->DragOver(keys, At(position), &effect), S_OK);
    EXPECT_EQ(Target->Drop(data, keys, At(position), &effect), S_OK);
    return effect;
  }

  TSynMemoDropTarget* Target = nullptr;
  TTestData Data;
};

} // namespace

TEST_F(OleDrop, ForeignTextLandsAtThePointAsOneUndoStep) {
  struct Case {
    DWORD keys;
    DWORD effect;
  } cases[] = {{MK_CONTROL, DROPEFFECT_COPY}, {0, DROPEFFECT_MOVE}};
  for (const Case& c : cases) {
    SetText("one three");
    Data.Blocks = {{CF_TEXT, String("two \0junk", 9)}};
    EXPECT_EQ(DropAt(&Data, 4, c.keys), c.effect);
    EXPECT_EQ(Text(), "one two three");
    Memo->GetModel().Undo();
    EXPECT_EQ(Text(), "one three");
    // The data object kept during the drag is given back.
    EXPECT_EQ(Data.Refs, 1u);
  }
  // Also when the drag leaves without a drop.
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(Target->DragEnter(&Data, 0, At(4), &effect), S_OK);
  EXPECT_GT(Data.Refs, 1u);
  EXPECT_EQ(Target->DragLeave(), S_OK);
  EXPECT_EQ(Data.Refs, 1u);
  EXPECT_EQ(Text(), "one three");
}

TEST_F(OleDrop, WhatIsOfferedDecidesWhatIsDropped) {
  const String html = "Version:0.9\r\n<html><!--StartFragment-->b<!--EndFragment--></html>";
  struct Case {
    const char* name;
    std::map<UINT, String> blocks;
    std::function<void(TSourceTypes&)> handler;
    String want;
  } cases[] = {
      {"unicode only", {{CF_UNICODETEXT, String("x\0\0\0", 4)}}, nullptr, "ac"},
      {"html before text",
       {{CF_TEXT, String("t\0", 2)}, {RegisterClipboardFormatA("HTML Format"), html + '\0'}},
       nullptr,
       "aVersion:0.9\r<html><!--StartFragment-->b<!--EndFragment--></html>c"},
      {"fragment",
       {{RegisterClipboardFormatA("HTML Format"), html + '\0'}},
       [](TSourceTypes& t) {
         t.reset(stAsText);
         t.set(stExtractHTML);
       },
       "abc"},
      {"ignored", {{CF_TEXT, String("t\0", 2)}}, [](TSourceTypes& t) { t.set(stIgnore); }, "ac"},
      // A block without its terminating zero is read within its size.
      {"unterminated", {{CF_TEXT, "xyz"}}, nullptr, "axyzc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText("ac");
    Data.Blocks = c.blocks;
    Memo->OnDataDrop = [&](TObject*, TSourceTypes& t) {
      if (c.handler) c.handler(t);
    };
    DWORD effect = 0;
    EXPECT_EQ(Target->DragEnter(&Data, MK_CONTROL, At(1), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "accepted while moving over";
    EXPECT_EQ(Target->Drop(&Data, MK_CONTROL, At(1), &effect), S_OK);
    EXPECT_EQ(Text(), c.want);
    EXPECT_EQ(Data.Refs, 1u);
  }
}

TEST_F(OleDrop, FilesRaiseTheEventAndArriveAsLines) {
  SetText("x");
  Memo->SetOptions(Memo->GetOptions() | SyntaxMemoOptionBit(smoProcessDroppedFiles));
  Data.Blocks = {{CF_HDROP, FileList({"C:\\a.sql", "C:\\b.sql"})}};
  String seen;
  TPoint where;
  Memo->OnFilesDropped = [&](TObject*, TStrings* names, TPoint point) {
    seen = names->GetText();
    where = point;
    names->Add("C:\\c.sql");
  };
  DropAt(&Data, 1, MK_CONTROL);
  EXPECT_EQ(seen, "C:\\a.sql\r\nC:\\b.sql\r\n");
  EXPECT_GT(where.x, 0);
  EXPECT_EQ(Text(), "xC:\\a.sql\rC:\\b.sql\rC:\\c.sql\r");

  // An unterminated list is read within its block.
  SetText("x");
  Data.Blocks = {{CF_HDROP, Unterminated(FileList({"C:\\a.sql", "C:\\b"}))}};
  DropAt(&Data, 1, MK_CONTROL);
  EXPECT_EQ(seen, "C:\\a.sql\r\nC:\\b\r\n");
  EXPECT_EQ(Text(), "xC:\\a.sql\rC:\\b\rC:\\c.sql\r");
}

TEST_F(OleDrop, OwnSelectionStaysAndOwnMoveArrivesUnderThePointer) {
  SetText("abc def ghi");
  Memo->GetModel().SetSelection(0, 4, true);
  auto* own = new TSynMemoDataObject(Memo);
  Target->OwnDragData = own;
  DWORD effect = DropAt(own, 2);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(Text(), "abc def ghi");
  EXPECT_FALSE(Target->OwnDropOpen);

  // Ignored or onto a read-only text, the own drop opens no step for the
  // drag's code to close.
  Memo->OnDataDrop = [](TObject*, TSourceTypes& t) { t.set(stIgnore); };
  DropAt(own, 8);
  EXPECT_FALSE(Target->OwnDropOpen);
  Memo->OnDataDrop = nullptr;
  Memo->SetReadOnly(true);
  DropAt(own, 8);
  EXPECT_FALSE(Target->OwnDropOpen);
  Memo->SetReadOnly(false);
  EXPECT_EQ(Text(), "abc def ghi");

  // Moved behind "def ": the deletion shifts the place by the text's length.
  DropAt(own, 8);
  Target->FinishOwnDrop();
  EXPECT_EQ(Text(), "def abc ghi");
  Memo->GetModel().Undo();
  EXPECT_EQ(Text(), "abc def ghi");
  EXPECT_EQ(own->Release(), 0u);
}

TEST_F(OleDrop, DataObjectRendersTheSelectionAsText) {
  SetText("abc def");
  Memo->GetModel().SetSelection(4, 7, true);
  auto* data = new TSynMemoDataObject(Memo);
  FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  FORMATETC wide{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  EXPECT_EQ(data->QueryGetData(&text), S_OK);
  EXPECT_EQ(data->QueryGetData(&wide), DV_E_FORMATETC);

  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&text, &medium), S_OK);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(medium.hGlobal)), "def");
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(data->GetData(&wide, &medium), DV_E_FORMATETC);
  FORMATETC bad = text;
  bad.lindex = 0;
  EXPECT_EQ(data->GetData(&bad, &medium), DV_E_LINDEX);

  // The caller's block is filled in place, or refused when too small.
  STGMEDIUM here{};
  here.tymed = TYMED_HGLOBAL;
  here.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 2);
  EXPECT_EQ(data->GetDataHere(&text, &here), STG_E_MEDIUMFULL);
  GlobalFree(here.hGlobal);
  here.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 16);
  const HGLOBAL given = here.hGlobal;
  ASSERT_EQ(data->GetDataHere(&text, &here), S_OK);
  EXPECT_EQ(here.hGlobal, given);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(given)), "def");
  GlobalUnlock(given);
  GlobalFree(given);

  IUnknown* unknown = nullptr;
  ASSERT_EQ(data->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(data->Release(), 0u);

  auto* source = new TSynMemoDragSource;
  EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
  EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
  EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
  EXPECT_EQ(source->Release(), 0u);
}

TEST_F(OleDrop, TheWindowIsRegisteredAgainWhenRecreated) {
  ASSERT_NE(Memo->GetDropTarget(), nullptr);
  EXPECT_EQ(RegisterDragDrop(Memo->GetHandle(), Target), DRAGDROP_E_ALREADYREGISTERED);
  Memo->SetBorderStyle(bsNone);
  PumpFor(20);
  EXPECT_EQ(RegisterDragDrop(Memo->GetHandle(), Target), DRAGDROP_E_ALREADYREGISTERED);
  // Freed with the control, its registration gone.
  HWND wnd = Memo->GetHandle();
  delete Memo;
  Memo = nullptr;
  EXPECT_FALSE(IsWindow(wnd));
}

namespace {

POINT DragTo;
int DragStep = 0;

// Runs inside the drag's own loop: moves to the target, then lets go.
void CALLBACK DragTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  ++DragStep;
  if (DragStep < 4) {
    SetCursorPos(DragTo.x, DragTo.y);
    guitest::SendMouseAt(DragTo, 0);
    return;
  }
  guitest::SendMouseAt(DragTo, MOUSEEVENTF_LEFTUP);
  KillTimer(nullptr, timer);
}

} // namespace

TEST_F(OleDrop, DraggingTheSelectionToALaterPointMovesIt) {
  Memo->SetOptions(Memo->GetOptions() | SyntaxMemoOptionBit(smoOLEDragSource));
  SetText("abc def ghi");
  Memo->GetModel().SetSelection(0, 4, true);
  PumpFor(50);
  const POINTL from = At(1), to = At(8);
  DragTo = POINT{to.x, to.y};
  DragStep = 0;
  SetCursorPos(from.x, from.y);
  PumpFor(50);
  guitest::SendMouseAt(POINT{from.x, from.y}, MOUSEEVENTF_LEFTDOWN);
  PumpFor(100);
  SetTimer(nullptr, 0, 60, DragTimer);
  guitest::SendMouseAt(POINT{from.x + 6, from.y}, 0);
  ASSERT_TRUE(PumpUntil([] { return DragStep >= 4; }, 5000));
  PumpFor(200);
  EXPECT_EQ(Text(), "def abc ghi");
  Memo->GetModel().Undo();
  EXPECT_EQ(Text(), "abc def ghi");
}
