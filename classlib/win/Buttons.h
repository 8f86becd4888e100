// Buttons with pictures: the speed button (drawn by the class library) and
// the bitmap button (an owner-drawn Windows button).
#pragma once

#include "StdCtrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };

// A glyph bitmap holding up to four images side by side (up, disabled, down,
// exclusive); its bottom-left pixel's colour is transparent.
class TButtonGlyph {
public:
  TButtonGlyph();
  ~TButtonGlyph();
  TBitmap* GetGlyph() { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  int NumGlyphs = 1;
  bool Empty() const { return FGlyph->GetEmpty(); }
  SIZE Size() const;
  // Draws caption and glyph in the rectangle; a missing disabled image is
  // drawn embossed.
  void Draw(TCanvas* canvas, const TRect& client, const String& caption, TButtonLayout layout, int margin,
            int spacing, TButtonState state, bool transparent);

private:
  void DrawGlyph(TCanvas* canvas, int x, int y, TButtonState state);
  std::unique_ptr<TBitmap> FGlyph;
};

class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  TBitmap* GetGlyph() { return FGlyph.GetGlyph(); }
  void SetGlyph(const TBitmap* value);
  int GetNumGlyphs() const { return FGlyph.NumGlyphs; }
  void SetNumGlyphs(int value);
  bool GetDown() const { return FDown; }
  void SetDown(bool value);
  // Buttons of the same parent and group index work as radio buttons.
  int GroupIndex = 0;
  bool AllowAllUp = false;
  bool Flat = false;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
  void Click() override;
  void WndProc(TMessage& Message) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TSpeedButton"; }

private:
  void UpdateExclusive();
  TButtonGlyph FGlyph;
  TButtonState FState = bsUp;
  bool FDown = false;
  bool FDragging = false;
  bool FMouseInControl = false;
};

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

class TBitBtn : public TButton {
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  TBitmap* GetGlyph() { return FGlyph.GetGlyph(); }
  void SetGlyph(const TBitmap* value);
  int GetNumGlyphs() const { return FGlyph.NumGlyphs; }
  void SetNumGlyphs(int value);
  TBitBtnKind GetKind() const { return FKind; }
  // Sets caption, modal result, default or cancel of the kind.
  void SetKind(TBitBtnKind value);
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
  void Click() override;
  void WndProc(TMessage& Message) override;

protected:
  void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct) override;
  String ClassName() const override { return "TBitBtn"; }

private:
  TButtonGlyph FGlyph;
  TBitBtnKind FKind = bkCustom;
  bool FIsFocused = false;
};
