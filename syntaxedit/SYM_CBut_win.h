// The colour button of the options dialog and the palette window it drops
// down.
#pragma once

#include "Buttons.h"
#include "Dialogs.h"
#include "SYM_CBut.h"
#include "StdCtrls.h"

#include <memory>

class TTSM_ColorButtonPalette;
using TPaletteColorEvent = std::function<void(TTSM_ColorButtonPalette* Sender, TColor Color)>;
using TPaletteCloseEvent = std::function<void(TTSM_ColorButtonPalette* Sender, TCloseAction& Action)>;

// 4 x 5 colour cells, an other-colour cell and the "Other" button that opens
// the colour dialog; it closes on a click, Esc, or when it or the application
// loses the activation, and frees itself.
class TTSM_ColorButtonPalette : public TForm {
public:
  explicit TTSM_ColorButtonPalette(TComponent* AOwner);
  ~TTSM_ColorButtonPalette() override;

  TButton* btnOther = nullptr;
  TColorArrayClass& GetPaletteColors() { return *FPaletteColors; }
  TColorArrayClass& GetCustomColors() { return *FCustomColors; }
  TColor GetOtherColor() const { return FOtherColor; }
  void SetOtherColor(TColor value) { FOtherColor = value; }
  // Marks the cell of the colour hot, or makes it the other colour.
  void SelectColor(TColor color);
  // (-1, -1) none, (0, 0) the other-colour cell, else column and row.
  TPoint GetHotCell() const { return FHotCell; }
  bool GetColorDialogOpen() const { return FColorDialogOpen; }
  // The cell's rectangle in client coordinates (the other-colour cell for (0, 0)).
  TRect CellRect(TPoint cell) const;
  // Refused while the colour dialog is open.
  bool CloseQuery() override;

  TPaletteColorEvent OnColorSelected;
  TPaletteCloseEvent OnPaletteClose;

protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void Click() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Deactivate() override;
  void DoClose(TCloseAction& Action) override;
  String ClassName() const override { return "TTSM_ColorButtonPalette"; }

private:
  TPoint CellAt(TPoint p) const;
  TColor CellColor(TPoint cell) const;
  void DrawCell(HDC dc, TPoint cell, bool hot);
  void PaintPalette();
  void TrackHot(HDC dc);
  void OtherClick();
  void RunColorDialog(TColorDialog& dialog);
  void AppDeactivate(TObject* Sender);

  std::unique_ptr<TColorArrayClass> FPaletteColors;
  std::unique_ptr<TColorArrayClass> FCustomColors;
  bool FColorDialogOpen = false;
  bool FClosed = false;
  TNotifyEvent FOldAppDeactivate;
  TColor FSelectedColor = 0;
  TColor FOtherColor = 0;
  TPoint FHotCell{-1, -1};
};

// An owner-drawn push button showing a colour swatch and a drop-down arrow;
// pressing it opens the palette.
class TSM_ColorButton : public TButton {
public:
  explicit TSM_ColorButton(TComponent* AOwner);
  ~TSM_ColorButton() override;

  TButtonStyle Style = bsAutoDetect;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor value);
  String OtherBtnCaption = "&Other";
  TColor OtherColor;
  TColorArrayClass& GetPaletteColors() { return *FPaletteColors; }
  void SetPaletteColors(const TColorArrayClass& value) { FPaletteColors->Assign(&value); }
  TColorArrayClass& GetCustomColors() { return *FCustomColors; }
  void SetCustomColors(const TColorArrayClass& value) { FCustomColors->Assign(&value); }
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool value);
  TNotifyEvent OnColorChange;
  // The palette while it is open.
  TTSM_ColorButtonPalette* GetPalette() const { return FPalette; }

  virtual void SetDefaultColors();
  void Click() override;
  void WndProc(TMessage& Message) override;

protected:
  virtual void ColorChanged();
  void CreateParams(TCreateParams& Params) override;
  void DrawItem(const DRAWITEMSTRUCT& dis) override;
  String ClassName() const override { return "TSM_ColorButton"; }

private:
  void PlacePalette();
  void PaletteClosed();
  void DrawFrame(HDC dc, TRect& r, bool pressed, UINT flags);
  void DrawSwatch(HDC dc, TRect r);
  bool MouseInside();

  TColor FColor = 0;
  bool FFlat = false;
  std::unique_ptr<TColorArrayClass> FPaletteColors;
  std::unique_ptr<TColorArrayClass> FCustomColors;
  struct TDeleteBitmap {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
  };
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, TDeleteBitmap> FArrow;
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, TDeleteBitmap> FArrowDisabled;
  TTSM_ColorButtonPalette* FPalette = nullptr;
  bool FPaletteShown = false;
  bool FMouseInside = false;
  bool FIsDefault = false;
};

// The 20 palette colours: from the display's pens on a 16-colour screen,
// else the fixed table.
void FillDefaultPaletteColors(TColorArrayClass& colors);
