// Image lists: same-sized pictures drawn by index, as toolbars and menus use.
#pragma once

#include "Controls.h"

#include <commctrl.h>

#include <vector>

class TCustomImageList;

// Tells a user of an image list that its pictures changed.
class TChangeLink {
public:
  ~TChangeLink();
  TCustomImageList* Sender = nullptr;
  TNotifyEvent OnChange;
  void Change();
};

class TCustomImageList : public TComponent {
public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;
  int GetWidth() const { return FWidth; }
  void SetWidth(int value);
  int GetHeight() const { return FHeight; }
  void SetHeight(int value);
  int GetCount() const;
  HIMAGELIST GetHandle();
  TColor BkColor = clNone;

  // Each returns the index of the first image added; a wide bitmap adds one
  // image per Width pixels.
  int Add(TBitmap* Image, TBitmap* Mask);
  int AddMasked(TBitmap* Image, TColor MaskColor);
  int AddIcon(TIcon* Image);
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  // -1 deletes all.
  void Delete(int Index);
  void Clear() { Delete(-1); }
  void GetBitmap(int Index, TBitmap* Image);
  // Disabled images are drawn embossed in the button highlight and shadow
  // colours, as disabled toolbar buttons are.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  TNotifyEvent OnChange;

protected:
  void Change();
  String ClassName() const override { return "TCustomImageList"; }

private:
  void Recreate();
  HIMAGELIST FHandle = nullptr;
  int FWidth = 16;
  int FHeight = 16;
  std::vector<TChangeLink*> FClients;
};

class TImageList : public TCustomImageList {
public:
  using TCustomImageList::TCustomImageList;
};
