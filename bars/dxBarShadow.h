// The soft shadow of a bar window: up to five small pop-ups right of and
// below it, behind it in the z-order, letting the mouse through. With
// layered windows they carry alpha images that fade outwards; without, they
// are two pixels of solid button shadow.
#pragma once

#include "dxBar.h"

#include <array>
#include <memory>

class TdxBarShadow;

// Kind 0: a strip under a rectangle (fading downwards); 1: a strip right of
// one (fading to the right). FadeEnds: 1 the left end, 2 the right end (of a
// strip under), 4 the top end (of a strip beside).
class TdxBarShadowPart : public TCustomControl {
public:
  enum { feLeft = 1, feRight = 2, feTop = 4 };
  TdxBarShadowPart(TdxBarShadow* AShadow, int AKind, int AFadeEnds);
  ~TdxBarShadowPart() override;
  TdxBarShadow* GetShadow() const { return FShadow; }
  int GetKind() const { return FKind; }
  int GetFadeEnds() const { return FFadeEnds; }
  TBitmap* GetImage() const { return FImage.get(); }
  // An end that fades needs room for its S by S square.
  bool IsUsable() const;
  void BuildImage();
  // The alpha of the image's pixel.
  BYTE AlphaAt(int X, int Y) const;
  void ShowPart();
  void HidePart();

protected:
  String ClassName() const override { return "TdxBarShadowPart"; }
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Paint() override;

private:
  TdxBarShadow* FShadow;
  int FKind;
  int FFadeEnds;
  std::unique_ptr<TBitmap> FImage;
};

class TdxBarShadow : public TObject {
public:
  explicit TdxBarShadow(TCustomdxBarControl* AOwner);
  ~TdxBarShadow() override;
  TCustomdxBarControl* GetOwner() const { return FOwner; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // The rectangles the shadow follows, on the screen: the owner button's
  // (empty without one) and the window's.
  void SetRects(const TRect& OwnerRect, const TRect& WindowRect);
  void Refresh();
  // The window and its owner button lie above each other (or there is no
  // owner button).
  bool GetHorizontal() const { return FHorizontal; }
  const TRect& GetRectA() const { return FRectA; }
  const TRect& GetRectB() const { return FRectB; }
  int GetPartCount() const;
  TdxBarShadowPart* GetPart(int Index) const { return FParts[Index].get(); }

  // 4 pixels with layered windows on a screen of more than 256 colours
  // ("transparent" mode), else 2.
  static int ShadowSize();
  static bool IsTransparent();

private:
  void FreeParts();
  void BuildParts();
  void AddPart(int Kind, int FadeEnds, const TRect& R);
  TCustomdxBarControl* FOwner;
  bool FVisible = false;
  bool FHorizontal = true;
  TRect FRectA, FRectB;
  std::array<std::unique_ptr<TdxBarShadowPart>, 5> FParts;
};
