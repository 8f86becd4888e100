// The radio button that draws itself, with the visual style or from a
// shared cache of glyphs in the look-and-feel's kind, and the radio group:
// an editor whose value is chosen among items shown as such buttons in
// columns inside a captioned frame.
#pragma once

#include "cxTextEdit.h"

#include "Collections.h"
#include "StdCtrls.h"

#include <memory>
#include <vector>

// ---- Radio glyphs ----

// The measured circle of the system's radio button.
SIZE cxRadioGlyphSize();

// Image states of the glyphs.
enum TcxRadioImageState { risDisabled, risNormal, risPressed, risHot };

namespace cxRadioGroupGlyphs {

// The radio buttons' own glyphs, one per look: built at their first use
// and again after a system colour change. Images are rebuilt in place,
// which the system image list does not do under Wine, so each is a bitmap
// of its own.
class TcxRadioButtonImageList : public TObject {
public:
  TcxRadioButtonImageList();
  ~TcxRadioButtonImageList() override;
  TcxRadioButtonImageList(const TcxRadioButtonImageList&) = delete;
  TcxRadioButtonImageList& operator=(const TcxRadioButtonImageList&) = delete;

  void Draw(TcxCanvas* ACanvas, int X, int Y, TcxLookAndFeelKind AKind, TcxRadioImageState AImageState,
            bool AChecked, bool AFocused, bool ADesigning, TColor ABackgroundColor, bool ATransparent);
  // Every glyph is built again at its next use.
  void Reset();
  bool IsBuilt(int AIndex) const { return FBuilt[AIndex]; }

  static int ImageIndex(TcxLookAndFeelKind AKind, TcxRadioImageState AImageState, bool AChecked,
                        bool AFocused);

private:
  void BuildImage(int AIndex, TcxLookAndFeelKind AKind, TcxRadioImageState AImageState, bool AChecked,
                  bool AFocused, bool ADesigning);
  // Masked by hand: the images are black outside the circle.
  void DrawMasked(HDC DC, int X, int Y, int AIndex);
  std::unique_ptr<TBitmap> FMask;
  std::unique_ptr<TBitmap> FImages[48];
  bool FBuilt[48] = {};
};

TcxRadioButtonImageList* RadioButtonImageList();

} // namespace cxRadioGroupGlyphs

// ---- Radio button ----

// Button states of the radio button.
constexpr int rbsDisabled = 0;
constexpr int rbsHot = 1;
constexpr int rbsNormal = 2;
constexpr int rbsPressed = 3;

TcxRadioImageState RadioStateToImageState(int AState);

class TcxRadioButton : public TRadioButton, public IcxMouseTrackingCaller {
public:
  explicit TcxRadioButton(TComponent* AOwner);
  ~TcxRadioButton() override;

  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(const TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  void SetParentBackground(bool Value);
  int GetState() const { return FState; }
  const TRect& GetGlyphRect() const { return FGlyphRect; }
  TRect CalcGlyphRect(const SIZE& ASize) const;
  bool IsThemed() const;

  void Invalidate() override;
  void WndProc(TMessage& Message) override;
  void MouseLeave() override;

  virtual void AdjustTextRect(TRect& R, bool AThemed);
  virtual bool IsInplaceButton() const { return false; }
  virtual void LookAndFeelChanged() { Invalidate(); }
  virtual void Paint();
  virtual void UpdateState(TShiftState Shift, const TPoint& P);

protected:
  void CreateParams(TCreateParams& Params) override;
  void DoEnter() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxRadioButton"; }
  TcxCanvas* GetCxCanvas() const { return FCanvas.get(); }

private:
  void SetState(int Value);
  void UpdateStateAtCursor();
  void PaintThemed();
  void PaintClassic();
  void DrawCaption(bool AThemed);
  void DrawItem(const DRAWITEMSTRUCT& AItem);

  TRect FGlyphRect;
  std::unique_ptr<TControlCanvas> FControlCanvas;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  int FState = rbsNormal;
};

void cxRadioGroupInitialize();
void cxRadioGroupFinalize();
