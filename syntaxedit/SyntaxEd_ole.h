// The editor in OLE drag and drop: a drop target that takes text, HTML and
// file lists into the editor as one undo step, and the drag source and data
// object that offer its selection as text. Each keeps its own reference count
// and lets no C++ exception out of a COM method.
#pragma once

#include "SyntaxMemo.h"

#include <ole2.h>

using TOLEDragOverEvent =
    std::function<void(TObject* Sender, IDataObject* DataObject, TPoint Point, DWORD& Effect)>;

class TSynMemoDropTarget : public IDropTarget {
public:
  explicit TSynMemoDropTarget(TCustomSyntaxMemo* control) : FControl(control) {}
  TSynMemoDropTarget(const TSynMemoDropTarget&) = delete;
  TSynMemoDropTarget& operator=(const TSynMemoDropTarget&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

  TSourceTypes GetSourceTypes() const { return FSourceTypes; }
  // The text position the pointer is over, -1 outside a drag.
  int GetDropPosition() const { return FDropPosition; }
  // The data object of a drag the control started itself.
  IDataObject* OwnDragData = nullptr;
  // An own drag's drop leaves its undo step and the lines' update open for
  // the drag's code to close once DoDragDrop returns; this closes them when
  // the drop opened them.
  void FinishOwnDrop();
  bool OwnDropOpen = false;
  TOLEDragOverEvent OnOLEDragOver;

private:
  // Freed by its last Release only.
  virtual ~TSynMemoDropTarget() = default;
  void KeepData(IDataObject* data);
  void TrackPoint(POINTL point);
  HRESULT DropNow(IDataObject* data, DWORD keys, POINTL point, DWORD* effect);
  void DropText(String text, TSourceTypes types, DWORD& effect, IDataObject* data);

  ULONG FRefCount = 1;
  TCustomSyntaxMemo* FControl;
  IDataObject* FData = nullptr;
  TSourceTypes FSourceTypes;
  bool FAccept = false;
  int FDropPosition = -1;
  TPoint FLastPoint;
};

class TSynMemoDragSource : public IDropSource {
public:
  TSynMemoDragSource() = default;
  TSynMemoDragSource(const TSynMemoDragSource&) = delete;
  TSynMemoDragSource& operator=(const TSynMemoDragSource&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
  // Freed by its last Release only.
  virtual ~TSynMemoDragSource() = default;
  ULONG FRefCount = 1;
};

// Renders the control's selection as CF_TEXT.
class TSynMemoDataObject : public IDataObject {
public:
  explicit TSynMemoDataObject(TCustomSyntaxMemo* control) : FControl(control) {}
  TSynMemoDataObject(const TSynMemoDataObject&) = delete;
  TSynMemoDataObject& operator=(const TSynMemoDataObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
  // Freed by its last Release only.
  virtual ~TSynMemoDataObject() = default;
  ULONG FRefCount = 1;
  TCustomSyntaxMemo* FControl;
};
