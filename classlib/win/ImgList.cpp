#include "ImgList.h"

#include <algorithm>

TChangeLink::~TChangeLink() {
  if (Sender) Sender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(Sender);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : std::vector<TChangeLink*>(FClients))
    link->Sender = nullptr;
  if (FHandle) ImageList_Destroy(FHandle);
}

void TCustomImageList::Recreate() {
  if (FHandle) ImageList_Destroy(FHandle);
  FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, 4, 4);
  if (!FHandle) throw EOutOfResources("Failed to create the image list");
}

HIMAGELIST TCustomImageList::GetHandle() {
  if (!FHandle) Recreate();
  return FHandle;
}

void TCustomImageList::SetWidth(int value) {
  if (value == FWidth) return;
  FWidth = value;
  Recreate();
  Change();
}

void TCustomImageList::SetHeight(int value) {
  if (value == FHeight) return;
  FHeight = value;
  Recreate();
  Change();
}

int TCustomImageList::GetCount() const {
  return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

void TCustomImageList::Change() {
  for (TChangeLink* link : std::vector<TChangeLink*>(FClients))
    link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  Value->Sender = this;
  FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
  Value->Sender = nullptr;
}

namespace {

// A copy of the bitmap as a device-dependent bitmap, as the image list
// functions want it (they select it into a DC of their own).
HBITMAP CopyForImageList(TBitmap* source) {
  TBitmap copy;
  copy.Assign(source);
  return static_cast<HBITMAP>(CopyImage(copy.GetHandle(), IMAGE_BITMAP, 0, 0, 0));
}

} // namespace

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image) return -1;
  HBITMAP image = CopyForImageList(Image);
  HBITMAP mask = Mask ? CopyForImageList(Mask) : nullptr;
  const int index = ImageList_Add(GetHandle(), image, mask);
  DeleteObject(image);
  if (mask) DeleteObject(mask);
  if (index < 0) throw EInvalidOperation("Failed to add image");
  Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image) return -1;
  HBITMAP image = CopyForImageList(Image);
  const COLORREF mask =
      MaskColor == clDefault ? ColorToRGB(Image->GetTransparentColor()) : ColorToRGB(MaskColor);
  const int index = ImageList_AddMasked(GetHandle(), image, mask);
  DeleteObject(image);
  if (index < 0) throw EInvalidOperation("Failed to add image");
  Change();
  return index;
}

int TCustomImageList::AddIcon(TIcon* Image) {
  if (!Image || Image->GetEmpty()) return -1;
  const int index = ImageList_ReplaceIcon(GetHandle(), -1, Image->GetHandle());
  Change();
  return index;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index >= GetCount()) throw EInvalidOperation("Invalid image list index");
  HBITMAP image = CopyForImageList(Image);
  HBITMAP mask = Mask ? CopyForImageList(Mask) : nullptr;
  const BOOL ok = ImageList_Replace(GetHandle(), Index, image, mask);
  DeleteObject(image);
  if (mask) DeleteObject(mask);
  if (!ok) throw EInvalidOperation("Failed to replace image");
  Change();
}

void TCustomImageList::Delete(int Index) {
  if (Index >= GetCount()) throw EInvalidOperation("Invalid image list index");
  if (!FHandle) return;
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= GetCount()) return;
  Image->SetPixelFormat(pf32bit);
  Image->SetSize(FWidth, FHeight);
  Image->GetCanvas()->GetBrush()->SetColor(BkColor == clNone ? clBtnFace : BkColor);
  Image->GetCanvas()->FillRect(TRect(0, 0, FWidth, FHeight));
  ImageList_Draw(GetHandle(), Index, Image->GetCanvas()->GetHandle(), 0, 0, ILD_NORMAL);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (Index < 0 || Index >= GetCount()) return;
  HDC dc = Canvas->GetHandle();
  if (Enabled) {
    ImageList_Draw(GetHandle(), Index, dc, X, Y, ILD_TRANSPARENT);
    return;
  }
  // A monochrome copy: black where the image is dark, white elsewhere.
  HDC mono = CreateCompatibleDC(dc);
  HBITMAP monoBitmap = CreateBitmap(FWidth, FHeight, 1, 1, nullptr);
  HGDIOBJ oldMono = SelectObject(mono, monoBitmap);
  PatBlt(mono, 0, 0, FWidth, FHeight, WHITENESS);
  ImageList_DrawEx(GetHandle(), Index, mono, 0, 0, 0, 0, CLR_DEFAULT, 0, ILD_NORMAL);
  // Where the copy is black the brush paints, elsewhere the target stays.
  const DWORD ropDSPDxax = 0x00E20746;
  const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
  const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
  for (int pass = 0; pass < 2; ++pass) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(pass == 0 ? clBtnHighlight : clBtnShadow));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    BitBlt(dc, X + (pass == 0 ? 1 : 0), Y + (pass == 0 ? 1 : 0), FWidth, FHeight, mono, 0, 0, ropDSPDxax);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  SelectObject(mono, oldMono);
  DeleteObject(monoBitmap);
  DeleteDC(mono);
}
