#include "SyntaxEd_ole.h"

#include <shlobj.h>

#include <cstring>
#include <optional>

namespace {

// A COM method's body: no C++ exception goes back to OLE.
template <typename Body> HRESULT Guarded(Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return E_UNEXPECTED;
  }
}

template <typename T> HRESULT AnswerInterface(T* self, REFIID iid, REFIID own, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, own) || IsEqualIID(iid, IID_IUnknown)) {
    *object = self;
    self->AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

FORMATETC FormatOf(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

UINT HtmlFormat() {
  static const UINT format = RegisterClipboardFormatA("HTML Format");
  return format;
}

DWORD EffectOf(DWORD keys) {
  return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

bool Offers(IDataObject* data, UINT format) {
  FORMATETC f = FormatOf(static_cast<CLIPFORMAT>(format));
  return data->QueryGetData(&f) == S_OK;
}

// The bytes of one format of the data object, within its block's size; none
// on an error or an empty block.
std::optional<String> ReadBlock(IDataObject* data, UINT format) {
  FORMATETC f = FormatOf(static_cast<CLIPFORMAT>(format));
  STGMEDIUM medium{};
  if (data->GetData(&f, &medium) != S_OK) return std::nullopt;
  std::optional<String> bytes;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    const size_t size = GlobalSize(medium.hGlobal);
    if (const void* p = GlobalLock(medium.hGlobal)) {
      if (size > 0) bytes = String(static_cast<const char*>(p), size);
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  return bytes;
}

String UpToZero(const String& bytes) {
  return bytes.substr(0, bytes.find('\0'));
}

// The names of a dropped file list, one a line; the list never reads past
// its block.
String FileNames(const String& block) {
  if (block.size() < sizeof(DROPFILES)) return String();
  DROPFILES head;
  std::memcpy(&head, block.data(), sizeof(head));
  String names;
  size_t at = head.pFiles;
  const size_t unit = head.fWide ? 2 : 1;
  while (at + unit <= block.size()) {
    String name;
    for (; at + unit <= block.size(); at += unit) {
      char c = block[at];
      if (c == 0 && (unit == 1 || block[at + 1] == 0)) break;
      // Wide names keep their code units below 256 as bytes.
      name += unit == 2 && block[at + 1] != 0 ? '?' : c;
    }
    at += unit;
    if (name.empty()) break;
    if (!names.empty()) names += "\r\n";
    names += name;
  }
  return names;
}

const TSourceTypes kOptionBits = [] {
  TSourceTypes bits;
  for (TSourceType t : {stAsText, stFileDropEvent, stIgnore, stExtractHTML, stFullHTML})
    bits.set(t);
  return bits;
}();

} // namespace

// --- Drop target ---------------------------------------------------------------

HRESULT TSynMemoDropTarget::QueryInterface(REFIID iid, void** object) {
  return AnswerInterface(this, iid, IID_IDropTarget, object);
}

ULONG TSynMemoDropTarget::Release() {
  const ULONG left = --FRefCount;
  if (left == 0) delete this;
  return left;
}

void TSynMemoDropTarget::KeepData(IDataObject* data) {
  if (data == FData) return;
  if (data) data->AddRef();
  if (FData) FData->Release();
  FData = data;
}

void TSynMemoDropTarget::TrackPoint(POINTL point) {
  POINT client{point.x, point.y};
  ScreenToClient(FControl->GetHandle(), &client);
  FLastPoint = TPoint(client);
  const int x = std::max<int>(client.x, FControl->TextLeftEdge());
  FDropPosition = FControl->GetModel().PointToPosition(x, client.y);
}

HRESULT TSynMemoDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  return Guarded([&] {
    KeepData(data);
    *effect = EffectOf(keys);
    FSourceTypes.reset();
    if (data) {
      if (Offers(data, CF_UNICODETEXT)) FSourceTypes.set(stUnicode);
      if (Offers(data, CF_TEXT)) FSourceTypes.set(stText);
      if (Offers(data, HtmlFormat())) FSourceTypes.set(stHTML);
      if (FControl->GetModel().HasOption(smoProcessDroppedFiles) && Offers(data, CF_HDROP))
        FSourceTypes.set(stFileNames);
    }
    FAccept = FSourceTypes.any();
    if (!FAccept) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    TrackPoint(point);
    return S_OK;
  });
}

HRESULT TSynMemoDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
  return Guarded([&] {
    TrackPoint(point);
    *effect = FAccept ? EffectOf(keys) : DROPEFFECT_NONE;
    if (OnOLEDragOver) OnOLEDragOver(FControl, FData, FLastPoint, *effect);
    return S_OK;
  });
}

HRESULT TSynMemoDropTarget::DragLeave() {
  return Guarded([&] {
    FDropPosition = -1;
    KeepData(nullptr);
    return S_OK;
  });
}

HRESULT TSynMemoDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  return Guarded([&] {
    const HRESULT result = DropNow(data, keys, point, effect);
    FDropPosition = -1;
    KeepData(nullptr);
    return result;
  });
}

HRESULT TSynMemoDropTarget::DropNow(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
  KeepData(data);
  *effect = EffectOf(keys);
  if (!data) return E_FAIL;
  const TSourceTypes offered = FSourceTypes;
  FSourceTypes.set(stAsText).set(stFileDropEvent);
  if (FControl->OnDataDrop) FControl->OnDataDrop(FControl, FSourceTypes);
  const TSourceTypes options = FSourceTypes & kOptionBits;
  FSourceTypes &= ~kOptionBits;
  if ((FSourceTypes & offered).none() || options.test(stIgnore)) return S_OK;
  std::optional<String> bytes;
  TSourceType kind = stText;
  if (FSourceTypes.test(stHTML)) {
    kind = stHTML;
    bytes = ReadBlock(data, HtmlFormat());
  } else if (FSourceTypes.test(stText)) {
    bytes = ReadBlock(data, CF_TEXT);
  } else if (FSourceTypes.test(stFileNames)) {
    kind = stFileNames;
    if (auto block = ReadBlock(data, CF_HDROP)) bytes = FileNames(*block);
  }
  if (!bytes) return S_OK;
  TSourceTypes types = options;
  types.set(kind);
  DropText(kind == stFileNames ? *bytes : UpToZero(*bytes), types, *effect, data);
  return S_OK;
}

void TSynMemoDropTarget::DropText(String text, TSourceTypes types, DWORD& effect, IDataObject* data) {
  TCustomSyntaxMemo& control = *FControl;
  TSyntaxMemoModel& model = control.GetModel();
  ExtractHtmlPayload(text, types);
  if (types.test(stFileNames) && types.test(stFileDropEvent) && model.HasOption(smoProcessDroppedFiles) &&
      control.OnFilesDropped) {
    TStringList names;
    names.SetText(text);
    control.OnFilesDropped(&control, &names, FLastPoint);
    text = names.GetText();
    if (!types.test(stAsText)) {
      control.SetFocus();
      return;
    }
  }
  const bool own = data && data == OwnDragData;
  auto [start, end] = OrderRange(model.GetSelection());
  int at = FDropPosition;
  if (own && start != end && at >= 0 && start <= at && at <= end) {
    // Onto its own selection: nothing moves.
    effect = DROPEFFECT_NONE;
    return;
  }
  if (model.ReadOnly || at < 0) return;
  const bool move = effect == DROPEFFECT_MOVE;
  if (move && own && start < at) at = at >= end ? at - (end - start) : start;
  model.BeginUndoGroup(ugOleDrop);
  control.GetLines()->BeginUpdate();
  if (move && own) {
    control.Perform(SM_REPLACESEL, 2, 0);
    model.Rescan();
  }
  control.Perform(EM_SETSEL, static_cast<WPARAM>(at), at);
  control.Perform(SM_REPLACESEL, move ? 2 : 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (!move) model.Rescan();
  if (own) {
    // The drag's own code closes the step once the drag has ended.
    OwnDropOpen = true;
    return;
  }
  control.GetLines()->EndUpdate();
  model.EndUndoGroup(ugOleDrop);
}

void TSynMemoDropTarget::FinishOwnDrop() {
  if (!OwnDropOpen) return;
  OwnDropOpen = false;
  FControl->GetLines()->EndUpdate();
  FControl->GetModel().EndUndoGroup(ugOleDrop);
}

// --- Drag source ---------------------------------------------------------------

HRESULT TSynMemoDragSource::QueryInterface(REFIID iid, void** object) {
  return AnswerInterface(this, iid, IID_IDropSource, object);
}

ULONG TSynMemoDragSource::Release() {
  const ULONG left = --FRefCount;
  if (left == 0) delete this;
  return left;
}

HRESULT TSynMemoDragSource::QueryContinueDrag(BOOL escapePressed, DWORD keys) {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
  return S_OK;
}

// --- Data object ---------------------------------------------------------------

HRESULT TSynMemoDataObject::QueryInterface(REFIID iid, void** object) {
  return AnswerInterface(this, iid, IID_IDataObject, object);
}

ULONG TSynMemoDataObject::Release() {
  const ULONG left = --FRefCount;
  if (left == 0) delete this;
  return left;
}

HRESULT TSynMemoDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  return Guarded([&]() -> HRESULT {
    if (!format || !medium) return E_INVALIDARG;
    if (format->dwAspect != DVASPECT_CONTENT && format->dwAspect != DVASPECT_DOCPRINT) return DV_E_DVASPECT;
    if (format->lindex != -1) return DV_E_LINDEX;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    // Only single-byte text is rendered.
    if (format->cfFormat != CF_TEXT) return DV_E_FORMATETC;
    const String text = FControl->GetSelText();
    *medium = STGMEDIUM{};
    medium->tymed = TYMED_HGLOBAL;
    if (text.empty()) return S_OK;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 4);
    if (!block) return E_OUTOFMEMORY;
    char* p = static_cast<char*>(GlobalLock(block));
    std::memset(p, 0, text.size() + 4);
    std::memcpy(p, text.data(), text.size());
    GlobalUnlock(block);
    medium->hGlobal = block;
    return S_OK;
  });
}

HRESULT TSynMemoDataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium) {
  return Guarded([&]() -> HRESULT {
    if (!format || !medium || QueryGetData(format) != S_OK || medium->tymed != TYMED_HGLOBAL)
      return DV_E_FORMATETC;
    const String text = FControl->GetSelText();
    // The caller's block is written into, never replaced.
    if (!medium->hGlobal || GlobalSize(medium->hGlobal) < text.size() + 1) return STG_E_MEDIUMFULL;
    char* p = static_cast<char*>(GlobalLock(medium->hGlobal));
    if (!p) return STG_E_MEDIUMFULL;
    std::memcpy(p, text.c_str(), text.size() + 1);
    GlobalUnlock(medium->hGlobal);
    return S_OK;
  });
}

HRESULT TSynMemoDataObject::QueryGetData(FORMATETC* format) {
  if (format && format->cfFormat == CF_TEXT && format->dwAspect == DVASPECT_CONTENT &&
      (format->tymed & TYMED_HGLOBAL))
    return S_OK;
  return DV_E_FORMATETC;
}

HRESULT TSynMemoDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out) out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT TSynMemoDataObject::EnumFormatEtc(DWORD, IEnumFORMATETC** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

// --- The control's registration ---------------------------------------------------

void TCustomSyntaxMemo::RegisterDropTarget() {
  if (!FDropTarget) {
    FDropTarget = new TSynMemoDropTarget(this);
    CoLockObjectExternal(FDropTarget, TRUE, FALSE);
  }
  // A recreated window is registered anew.
  RevokeDragDrop(FHandle);
  RegisterDragDrop(FHandle, FDropTarget);
}

void TCustomSyntaxMemo::FreeDropTarget() {
  if (!FDropTarget) return;
  if (HandleAllocated()) RevokeDragDrop(FHandle);
  CoLockObjectExternal(FDropTarget, FALSE, TRUE);
  FDropTarget->Release();
  FDropTarget = nullptr;
}

void TCustomSyntaxMemo::StartOleDrag() {
  auto* data = new TSynMemoDataObject(this);
  auto* source = new TSynMemoDragSource;
  if (FDropTarget) FDropTarget->OwnDragData = data;
  const DWORD allowed = FModel->ReadOnly ? DROPEFFECT_COPY : DROPEFFECT_COPY | DROPEFFECT_MOVE;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data, source, allowed, &effect);
  const bool ownDrop = FDropTarget && FDropTarget->OwnDropOpen;
  if (FDropTarget) {
    FDropTarget->OwnDragData = nullptr;
    FDropTarget->FinishOwnDrop();
  }
  source->Release();
  data->Release();
  if (result != DRAGDROP_S_DROP) return;
  // Moved out to another window: the text leaves this one.
  if (!ownDrop && effect == DROPEFFECT_MOVE && !FModel->ReadOnly) FModel->ReplaceSelText(nullptr, true);
  FModel->AddChangeFlags(cfClipboard | cfText | cfSelection);
  NotifyChange();
  Paint();
}
