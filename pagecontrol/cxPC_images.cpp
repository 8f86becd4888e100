// The tab image list: follows the control's Images and draws tab images
// plainly, over the tab's colour, or turned to match vertical captions.
#include "cxPC.h"
#include "cxPCConsts.h"
#include "cxPCPainters.h"

TcxPCImageList::TcxPCImageList(TcxCustomTabControl* AControl)
    : FChangeLink(std::make_unique<TChangeLink>()),
      FFreeNotificator(std::make_unique<TcxFreeNotificator>(nullptr)), FControl(AControl) {
  FChangeLink->OnChange = [this](TObject*) { ImagesChanged(); };
  FFreeNotificator->OnFreeNotification = [this](TComponent* Sender) {
    if (Sender == FBaseImages) SetImages(nullptr);
  };
}

TcxPCImageList::~TcxPCImageList() {
  if (FBaseImages) FBaseImages->RemoveFreeNotification(FFreeNotificator.get());
  FFreeNotificator.reset();
  FChangeLink.reset();
}

bool TcxPCImageList::HasImages() const {
  return FBaseImages && FBaseImages->GetCount() > 0;
}

void TcxPCImageList::ImagesChanged() {
  if (FRotation != 0 && HasImages()) {
    FCache.clear();
    FCache.resize(FBaseImages->GetCount());
    for (TCacheEntry& entry : FCache) {
      entry.Bitmap = std::make_unique<TBitmap>();
      entry.Bitmap->SetPixelFormat(pf32bit);
    }
  }
  if (OnChange) OnChange(FControl);
}

void TcxPCImageList::SetImages(TCustomImageList* Value) {
  if (Value == FBaseImages) return;
  if (FBaseImages) {
    FBaseImages->UnRegisterChanges(FChangeLink.get());
    RemoveFreeNotification(FFreeNotificator.get(), FBaseImages);
  }
  FBaseImages = Value;
  if (FBaseImages) {
    FBaseImages->RegisterChanges(FChangeLink.get());
    AddFreeNotification(FFreeNotificator.get(), FBaseImages);
  }
  ImagesChanged();
}

void TcxPCImageList::SetRotation(int Value) {
  FRotation = Value;
  ImagesChanged();
}

SIZE TcxPCImageList::GetImageSize() const {
  if (!FBaseImages || FBaseImages->GetWidth() <= 0 || FBaseImages->GetHeight() <= 0) return SIZE{0, 0};
  return SIZE{FBaseImages->GetWidth(), FBaseImages->GetHeight()};
}

SIZE TcxPCImageList::GetDrawnImageSize() const {
  const SIZE size = GetImageSize();
  return FRotation != 0 ? SIZE{size.cy, size.cx} : size;
}

void TcxPCImageList::DrawError(const String& Text) const {
  throw Exception("TcxPCImageList.Draw: " + Text);
}

void TcxPCImageList::UpdateCacheEntry(TCacheEntry& Entry, int Index, bool Enabled, TColor BackgroundColor) {
  if (Entry.Valid && Entry.BackgroundColor == BackgroundColor) return;
  Entry.BackgroundColor = BackgroundColor;
  Entry.Valid = true;
  ++RenderCount;
  TBitmap* bitmap = Entry.Bitmap.get();
  bitmap->SetSize(FBaseImages->GetWidth(), FBaseImages->GetHeight());
  TCanvas* canvas = bitmap->GetCanvas();
  canvas->GetBrush()->SetColor(BackgroundColor);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->FillRect(TRect(0, 0, bitmap->GetWidth(), bitmap->GetHeight()));
  bitmap->SetTransparent(FControl->GetPainter()->IsNativePainting());
  FBaseImages->Draw(canvas, 0, 0, Index, Enabled);
  RotateTabBitmap(bitmap, FRotation);
}

void TcxPCImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled, TColor BackgroundColor) {
  if (!HasImages()) DrawError(cxPCResString(scxPCImageListNoBaseImages));
  if (Index < 0 || Index >= FBaseImages->GetCount())
    DrawError(Format(cxPCResString(scxPCImageListIndexError), Index, FBaseImages->GetCount() - 1));
  if (FRotation != 0 && Index < static_cast<int>(FCache.size())) {
    TCacheEntry& entry = FCache[Index];
    UpdateCacheEntry(entry, Index, Enabled, BackgroundColor);
    Canvas->Draw(X, Y, entry.Bitmap.get());
    return;
  }
  if (FControl->GetPainter()->IsNativePainting()) {
    FBaseImages->Draw(Canvas, X, Y, Index, Enabled);
    return;
  }
  TBitmap bitmap;
  FControl->GetPainter()->PrepareBitmap(&bitmap, GetImageSize(), false, BackgroundColor);
  FBaseImages->Draw(bitmap.GetCanvas(), 0, 0, Index, Enabled);
  Canvas->Draw(X, Y, &bitmap);
}
