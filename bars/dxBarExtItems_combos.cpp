// The colour and font-name combo items, the colour combo's control with its
// custom-colour button, and the module's shared dialogs and font marks.
#include "dxBarExtCombos.h"

#include "dxBarCommon.h"
#include "dxBarExtSpin.h"
#include "dxBarPainters.h"
#include "dxBarStrs.h"

#include "Printers.h"

#include <algorithm>

namespace {

enum : UINT { sAutoColor = 65059, sCustomColor = 65060 };

std::unique_ptr<TColorDialog> gColorDialog;
std::unique_ptr<TFontDialog> gFontDialog;
std::unique_ptr<TBitmap> gTrueTypeBitmap, gNonTrueTypeBitmap;

std::unique_ptr<TBitmap> LoadBitmap(const char* Name) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), Name);
  return bitmap;
}

void LoadGlyph(TdxBarItem* Item, const char* Name) { Item->SetGlyph(LoadBitmap(Name).get()); }

int TextHeightOf(TCanvas* Canvas) { return Canvas->TextHeight("0"); }

void WriteCentred(TCanvas* Canvas, int X, const TRect& R, const String& Text) {
  Canvas->TextOut(X, R.top + (R.Height() - Canvas->TextHeight(Text)) / 2, Text);
}

int CALLBACK AddFontFamily(const LOGFONTA* Font, const TEXTMETRICA*, DWORD FontType, LPARAM Data) {
  auto* items = reinterpret_cast<TStrings*>(Data);
  try {
    const String name(Font->lfFaceName, strnlen(Font->lfFaceName, LF_FACESIZE));
    items->AddObject(name.substr(0, 32), reinterpret_cast<void*>(static_cast<intptr_t>(
                                             (FontType & TRUETYPE_FONTTYPE) ? 1 : 0)));
  } catch (...) {
    return 0;
  }
  return 1;
}

// The default printer's context when there is a printer and its context can
// be had; none otherwise (the printer object raises without a printer).
HDC PrinterDC() {
  try {
    return Printer()->GetHandle();
  } catch (...) {
    return nullptr;
  }
}

} // namespace

const TdxBarBasicColor dxBarBasicColors[16] = {
    {0x000000, 65075}, {0x000080, 65076}, {0x008000, 65077}, {0x008080, 65078},
    {0x800000, 65079}, {0x800080, 65080}, {0x808000, 65081}, {0x808080, 65082},
    {0xC0C0C0, 65083}, {0x0000FF, 65084}, {0x00FF00, 65085}, {0x00FFFF, 65086},
    {0xFF0000, 65087}, {0xFF00FF, 65056}, {0xFFFF00, 65057}, {0xFFFFFF, 65058},
};

// ---- The module's shared pieces ----

void StartExtCombos() {
  gTrueTypeBitmap = LoadBitmap("DXBARTRUETYPEFONT");
  gNonTrueTypeBitmap = LoadBitmap("DXBARNONTRUETYPEFONT");
  gColorDialog = std::make_unique<TColorDialog>(nullptr);
  gFontDialog = std::make_unique<TFontDialog>(nullptr);
}

void EndExtCombos() {
  gFontDialog.reset();
  gColorDialog.reset();
  gTrueTypeBitmap.reset();
  gNonTrueTypeBitmap.reset();
}

TColorDialog* dxBarColorDialog() { return gColorDialog.get(); }
TFontDialog* dxBarFontDialog() { return gFontDialog.get(); }
TBitmap* dxBarTrueTypeBitmap() { return gTrueTypeBitmap.get(); }
TBitmap* dxBarNonTrueTypeBitmap() { return gNonTrueTypeBitmap.get(); }

// ---- Painter operation ----

namespace dxBarExtPainter {

void DrawEllipsisButton(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                        bool Down, bool Hot, const TRect& R) {
  HBRUSH brush = Control->GetBarControl()->BackgroundBrush;
  Painter->FrameBackground(Control, DC, false, brush, R);
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  const bool xp = dynamic_cast<const TdxBarItemControlXPPainter*>(Painter) != nullptr;
  if (xp)
    Painter->DrawButtonBorder(Control, DC, brush, true, inner, 0, true, Hot, false, Down);
  else
    DrawEditButtonFrame(Painter, Control, DC, inner, Down, Hot, Control->GetEnabled());
  Painter->OffsetPressedContent(inner, Down);
  const int d = inner.Width() / 7;
  const int top = inner.bottom - (xp ? 3 : 2) * d;
  for (int i : {1, 3, 5}) {
    const TRect dot(inner.left + i * d, top, inner.left + (i + 1) * d, top + d);
    if (Control->GetEnabled())
      FillRect(DC, &dot, GetSysColorBrush(COLOR_BTNTEXT));
    else
      Painter->FillDisabledRect(DC, dot);
  }
}

} // namespace dxBarExtPainter

// ---- TdxBarColorCombo ----

TdxBarItemClass TdxBarColorCombo::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarColorCombo>("TdxBarColorCombo");
}

TdxBarColorCombo::TdxBarColorCombo(TComponent* AOwner)
    : TdxBarCustomCombo(AOwner), FAutoColor(clWindowText), FAutoColorText(dxBarString(sAutoColor)),
      FCustomColorText(dxBarString(sCustomColor)) {
  DropDownCount = 16;
  LoadGlyph(this, "DXBARCOLORCOMBO");
  for (const TdxBarBasicColor& c : dxBarBasicColors)
    GetItems()->Add(dxBarString(c.NameId));
  SetItemIndex(0);
  SetShowEditor(false);
}

void TdxBarColorCombo::RepaintAll() {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->Repaint();
}

TColor TdxBarColorCombo::GetColorOfIndex(int Index) const {
  const int shift = FShowAutoColor ? 1 : 0;
  if (Index < 0 || Index >= 16 + shift) return FColor;
  if (FShowAutoColor && Index == 0) return FAutoColor;
  return dxBarBasicColors[Index - shift].Color;
}

int TdxBarColorCombo::GetIndexOfColor(TColor Value) const {
  if (FShowAutoColor && Value == FAutoColor) return 0;
  // Only system colours (negative values) are converted; clNone and the
  // like stay as they are and match no entry.
  const TColor rgb = Value < 0 ? static_cast<TColor>(ColorToRGB(Value)) : Value;
  for (int i = 0; i < 16; ++i)
    if (dxBarBasicColors[i].Color == rgb) return i + (FShowAutoColor ? 1 : 0);
  return -1;
}

void TdxBarColorCombo::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  FInternalChange = true;
  try {
    const int index = GetIndexOfColor(Value);
    if (index == GetItemIndex()) {
      RepaintAll();
      if (OnChange) OnChange(this);
    } else {
      SetItemIndex(index);
    }
  } catch (...) {
    FInternalChange = false;
    throw;
  }
  FInternalChange = false;
}

void TdxBarColorCombo::SetAutoColor(TColor Value) {
  if (Value == FAutoColor) return;
  FAutoColor = Value;
  if (!FShowAutoColor) return;
  FInternalChange = true;
  try {
    SetItemIndex(GetIndexOfColor(FColor));
  } catch (...) {
    FInternalChange = false;
    throw;
  }
  FInternalChange = false;
  RepaintAll();
}

void TdxBarColorCombo::SetAutoColorText(const String& Value) {
  if (Value == FAutoColorText) return;
  FAutoColorText = Value;
  if (!FShowAutoColor) return;
  GetItems()->Put(0, Value);
  RepaintAll();
}

void TdxBarColorCombo::SetCustomColorText(const String& Value) {
  if (Value == FCustomColorText) return;
  FCustomColorText = Value;
  RepaintAll();
}

void TdxBarColorCombo::SetShowCustomColorButton(bool Value) {
  if (Value == FShowCustomColorButton) return;
  FShowCustomColorButton = Value;
  RepaintAll();
}

void TdxBarColorCombo::SetShowAutoColor(bool Value) {
  if (Value == FShowAutoColor) return;
  const int oldDefault = 16 + (FShowAutoColor ? 1 : 0);
  FShowAutoColor = Value;
  FInternalChange = true;
  auto finish = [this] {
    FInternalChange = false;
    RepaintAll();
  };
  try {
    if (Value)
      GetItems()->Insert(0, FAutoColorText);
    else
      GetItems()->Delete(0);
    if (DropDownCount == oldDefault) DropDownCount = 16 + (Value ? 1 : 0);
    SetItemIndex(GetIndexOfColor(FColor));
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TdxBarColorCombo::DoChange() {
  if (!FInternalChange) FColor = GetColorOfIndex(GetItemIndex());
  TdxBarCustomCombo::DoChange();
}

void TdxBarColorCombo::SetDialogStartColor(TColor Value) {
  FDialogStartColor = Value;
  FDialogStartColorValid = true;
}

void TdxBarColorCombo::DrawItem(int Index, const TRect& R, TOwnerDrawState State) {
  if (OnDrawItem) return TdxBarCustomCombo::DrawItem(Index, R, State);
  TCanvas* canvas = GetCanvas();
  const TColor brushColor = canvas->GetBrush()->GetColor();
  const String text = Index < 0 || Index >= GetItems()->GetCount() ? FCustomColorText : GetItems()->Get(Index);
  // Negative values beyond the system colours' range get no swatch.
  const bool swatch = !(Index == -1 && FColor < 0 && static_cast<int32_t>(FColor) > static_cast<int32_t>(0xFF000018));
  TRect textArea = R;
  if (swatch) textArea.left += 30;
  canvas->FillRect(textArea);
  canvas->GetBrush()->SetStyle(bsClear);
  WriteCentred(canvas, textArea.left + 1, R, text);
  canvas->GetBrush()->SetStyle(bsSolid);
  if (swatch) {
    TRect box(R.left, R.top, R.left + 30, R.bottom);
    canvas->FrameRect(box);
    InflateRect(&box, -1, -1);
    canvas->GetBrush()->SetColor(clBtnShadow);
    canvas->FrameRect(box);
    InflateRect(&box, -1, -1);
    canvas->GetBrush()->SetColor(GetColorOfIndex(Index));
    canvas->FillRect(box);
  }
  canvas->GetBrush()->SetColor(brushColor);
  if (State.Contains(odFocused)) canvas->DrawFocusRect(R);
}

void TdxBarColorCombo::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) return TdxBarCustomCombo::MeasureItem(Index, Height);
  Height = TextHeightOf(GetCanvas()) + 4;
}

void TdxBarColorCombo::MeasureItemWidth(int Index, int& Width) {
  TdxBarCustomCombo::MeasureItemWidth(Index, Width);
  Width += 30;
}

void TdxBarColorCombo::DoClick() {
  TdxBarCustomCombo::DoClick();
  struct TClearStart {
    bool& Valid;
    ~TClearStart() { Valid = false; }
  } clear{FDialogStartColorValid};
  if (OnClick || ReadOnly || !gColorDialog) return;
  gColorDialog->Color = FDialogStartColorValid ? FDialogStartColor : FColor;
  if (gColorDialog->Execute()) SetColor(gColorDialog->Color);
}

// ---- TdxBarColorComboControl ----

TdxBarColorCombo* TdxBarColorComboControl::GetColorCombo() const {
  return dynamic_cast<TdxBarColorCombo*>(GetItem());
}

bool TdxBarColorComboControl::DrawSelected() const { return TdxBarComboControl::DrawSelected() || GetPressed(); }

void TdxBarColorComboControl::PressedChanged() { Repaint(); }

void TdxBarColorComboControl::Paint(const TRect& R, int PaintType) {
  FCustomButtonRect = TRect();
  TdxBarColorCombo* combo = GetColorCombo();
  if (!combo || !combo->GetShowCustomColorButton() || R.left == R.right)
    return TdxBarComboControl::Paint(R, PaintType);
  const int b = (R.Height() - 4) / 7 * 7 + 4;
  if (b >= R.Width() / 2) return TdxBarComboControl::Paint(R, PaintType);
  TdxBarComboControl::Paint(TRect(R.left, R.top, R.right - b, R.bottom), PaintType);
  FCustomButtonRect = TRect(R.right - b, R.top, R.right, R.bottom);
  dxBarExtPainter::DrawEllipsisButton(GetPainter(), this, GetBarControl()->GetCanvas()->GetHandle(), GetPressed(),
                                      DrawSelected(), FCustomButtonRect);
}

void TdxBarColorComboControl::CustomColorClick() {
  TdxBarColorCombo* combo = GetColorCombo();
  TdxBarItemLink* link = GetLink();
  TCustomdxBarControl* window = GetBarControl();
  const int shown = GetFocused() ? GetCurItemIndex() : combo->GetItemIndex();
  combo->SetDialogStartColor(combo->GetColorOfIndex(shown));
  link->GetSourceLink()->MarkAsRecentlyUsed(true);
  if (!IsParentClosable()) {
    window->Deactivate();
    combo->DirectClick();
    return;
  }
  SetPressed(true);
  combo->DirectClick();
  if (!IsBarControlAlive(window) || !window->IsControlOfWindow(this)) return;
  try {
    SetPressed(false);
  } catch (...) {
  }
}

void TdxBarColorComboControl::WndProc(TMessage& Message) {
  if (GetColorCombo() && FWnd) {
    bool custom = false;
    if (Message.Msg == WM_LBUTTONDOWN) {
      TRect button = FCustomButtonRect;
      MapWindowPoints(GetBarControl()->GetHandle(), FWnd, reinterpret_cast<POINT*>(&button), 2);
      const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
      custom = button.Contains(p);
    } else if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_RETURN) {
      custom = GetKeyState(VK_CONTROL) < 0;
    }
    if (custom) return CustomColorClick();
  }
  TdxBarComboControl::WndProc(Message);
}

// ---- TdxBarFontNameCombo ----

TdxBarItemClass TdxBarFontNameCombo::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarFontNameCombo>("TdxBarFontNameCombo");
}

TdxBarFontNameCombo::TdxBarFontNameCombo(TComponent* AOwner) : TdxBarCustomCombo(AOwner) {
  DropDownCount = 12;
  LoadGlyph(this, "DXBARFONTNAMECOMBO");
  SetShowEditor(false);
  SetSorted(true);
  FillFonts();
  SetWidth(160);
}

void TdxBarFontNameCombo::FillFonts() {
  HDC printer = PrinterDC();
  HDC dc = printer ? printer : GetDC(nullptr);
  LOGFONTA font{};
  font.lfCharSet = DEFAULT_CHARSET;
  TStringList* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  EnumFontFamiliesExA(dc, &font, &AddFontFamily, reinterpret_cast<LPARAM>(items), 0);
  items->EndUpdate();
  if (!printer) ReleaseDC(nullptr, dc);
}

void TdxBarFontNameCombo::SetText(const String& Value) {
  String text = Value;
  // Active here means edited or dropped down, not only hot.
  if (GetFocusedLink() || IsDroppedDown()) {
    const int index = FindNearestItem(Value);
    if (index < 0 && !Value.empty()) return;
    if (index >= 0) text = GetItems()->Get(index);
  }
  TdxBarCustomCombo::SetText(text);
}

void TdxBarFontNameCombo::DrawItem(int Index, const TRect& R, TOwnerDrawState State) {
  if (OnDrawItem || Index < 0 || Index >= GetItems()->GetCount())
    return TdxBarCustomCombo::DrawItem(Index, R, State);
  TCanvas* canvas = GetCanvas();
  TBitmap* mark = GetItems()->GetObject(Index) ? gTrueTypeBitmap.get() : gNonTrueTypeBitmap.get();
  const int w = mark ? mark->GetWidth() : 0, h = mark ? mark->GetHeight() : 0;
  const TRect glyph(R.left, R.top + (R.Height() - h) / 2, R.left + w, R.top + (R.Height() - h) / 2 + h);
  canvas->FillRect(R);
  if (mark) {
    TdxBarManager* manager = GetBarManager();
    TdxGlyphState state;
    state.StateImage = true; // in its own colours
    DrawStateGlyph(canvas->GetHandle(), canvas->GetBrush()->GetHandle(), glyph,
                   manager ? manager->ImageListBkColor : clFuchsia, clNone, state, -1, nullptr, mark, glyph);
  }
  canvas->GetBrush()->SetStyle(bsClear);
  WriteCentred(canvas, glyph.right + 2, R, GetItems()->Get(Index));
  canvas->GetBrush()->SetStyle(bsSolid);
  if (State.Contains(odFocused)) canvas->DrawFocusRect(R);
}

void TdxBarFontNameCombo::MeasureItemWidth(int Index, int& Width) {
  TdxBarCustomCombo::MeasureItemWidth(Index, Width);
  Width += (gTrueTypeBitmap ? gTrueTypeBitmap->GetWidth() : 13) + 1;
}

void TdxBarFontNameCombo::DoClick() {
  TdxBarCustomCombo::DoClick();
  if (OnClick || ReadOnly || !gFontDialog) return;
  gFontDialog->GetFont()->SetName(GetText());
  if (gFontDialog->Execute()) SetText(gFontDialog->GetFont()->GetName());
}
