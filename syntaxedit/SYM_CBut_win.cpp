#include "SYM_CBut_win.h"

#include "ExtCtrls.h"
#include "SyntaxMemo.h"

#include <cstdio>

namespace {

constexpr int kCell = 18;
constexpr int kPaletteX = 4;
constexpr int kPaletteY = 5;
// What the palette's window definition gives.
constexpr int kDesignedHeight = 121;
constexpr int kPlacedWidth = 78;

// The fixed palette, red, green and blue by column, then row.
constexpr unsigned char kPalette[kPaletteX][kPaletteY][3] = {
    {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {191, 215, 191}},
    {{0, 0, 0}, {127, 0, 0}, {0, 127, 0}, {0, 0, 127}, {159, 191, 239}},
    {{191, 191, 191}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {255, 247, 239}},
    {{127, 127, 127}, {127, 127, 0}, {0, 127, 127}, {127, 0, 127}, {159, 159, 159}}};

void Line(HDC dc, int x0, int y0, int x1, int y1, TColor color) {
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void Frame(HDC dc, TRect& r, TColor color) {
  FrameRectWithColor(dc, r, color);
  InflateRect(&r, -1, -1);
}

struct PenColors {
  std::vector<COLORREF> colors;
};

int CALLBACK CollectPen(LPVOID object, LPARAM data) {
  auto* pen = static_cast<LOGPEN*>(object);
  auto* found = reinterpret_cast<PenColors*>(data);
  if (pen->lopnStyle == PS_SOLID) found->colors.push_back(pen->lopnColor);
  return found->colors.size() < kPaletteX * kPaletteY;
}

} // namespace

void FillDefaultPaletteColors(TColorArrayClass& colors) {
  HDC dc = GetDC(nullptr);
  const bool sixteen = GetDeviceCaps(dc, NUMCOLORS) == 16;
  PenColors pens;
  if (sixteen) EnumObjects(dc, OBJ_PEN, CollectPen, reinterpret_cast<LPARAM>(&pens));
  ReleaseDC(nullptr, dc);
  for (int x = 1; x <= kPaletteX; ++x)
    for (int y = 1; y <= kPaletteY; ++y) {
      if (sixteen) {
        const size_t n = static_cast<size_t>(5 * (x - 1) + (y - 1));
        colors.SetColor(x, y, n < pens.colors.size() ? static_cast<TColor>(pens.colors[n]) : 0);
        continue;
      }
      const unsigned char* rgb = kPalette[x - 1][y - 1];
      colors.SetColor(x, y, static_cast<TColor>(RGB(rgb[0], rgb[1], rgb[2])));
    }
}

// --- Palette window ----------------------------------------------------------------

TTSM_ColorButtonPalette::TTSM_ColorButtonPalette(TComponent* AOwner)
    : TForm(AOwner), FPaletteColors(std::make_unique<TColorArrayClass>(kPaletteX, kPaletteY)),
      FCustomColors(std::make_unique<TColorArrayClass>(8, 2)) {
  SetName("TSM_ColorButtonPalette");
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{});
  SetClientSize(112, kDesignedHeight);
  KeyPreview = true;
  btnOther = new TButton(this);
  btnOther->SetParent(this);
  btnOther->SetCaption("&Other");
  btnOther->SetTabStop(false);
  btnOther->SetBounds(2, 98, 50, 16);
  btnOther->OnClick = [this](TObject*) { OtherClick(); };
  OnPaint = [this](TObject*) { PaintPalette(); };

  FOldAppDeactivate = Application->OnDeactivate;
  Application->OnDeactivate = [this](TObject* sender) { AppDeactivate(sender); };
  FillDefaultPaletteColors(*FPaletteColors);
  FOtherColor = clBtnFace;
  SetClientWidth(72);
  btnOther->SetTop(98);
  btnOther->SetWidth(GetClientWidth() - 22);
  SetClientHeight(btnOther->GetTop() + btnOther->GetHeight() + 2);
}

TTSM_ColorButtonPalette::~TTSM_ColorButtonPalette() {
  Application->OnDeactivate = FOldAppDeactivate;
}

void TTSM_ColorButtonPalette::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_CAPTION);
}

TRect TTSM_ColorButtonPalette::CellRect(TPoint cell) const {
  if (cell.x == 0 && cell.y == 0) {
    const int width = const_cast<TTSM_ColorButtonPalette*>(this)->GetClientWidth();
    const int top = btnOther->GetTop() + (btnOther->GetHeight() - 16) / 2;
    return Bounds(width - 18, top, 16, 16);
  }
  return Bounds(kCell * cell.x - 17, kCell * cell.y - 17, 16, 16);
}

TPoint TTSM_ColorButtonPalette::CellAt(TPoint p) const {
  const int width = const_cast<TTSM_ColorButtonPalette*>(this)->GetClientWidth();
  if (p.x >= width - 19 && p.x <= width - 1 && p.y >= 96 && p.y <= 113) return {0, 0};
  const TPoint cell{p.x / kCell + 1, p.y / kCell + 1};
  if (p.x < 0 || p.y < 0 || cell.x > kPaletteX || cell.y > kPaletteY) return {-1, -1};
  return cell;
}

TColor TTSM_ColorButtonPalette::CellColor(TPoint cell) const {
  if (cell.x == 0 && cell.y == 0) return FOtherColor;
  return FPaletteColors->GetColor(cell.x, cell.y);
}

void TTSM_ColorButtonPalette::DrawCell(HDC dc, TPoint cell, bool hot) {
  TRect r = CellRect(cell);
  InflateRect(&r, 1, 1);
  if (hot) {
    Frame(dc, r, cl3DDkShadow);
    Frame(dc, r, clBtnHighlight);
    Frame(dc, r, cl3DDkShadow);
  } else {
    Frame(dc, r, GetColor());
    Frame3D(dc, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(dc, r, cl3DDkShadow, cl3DLight, 1);
  }
  FillRectWithColor(dc, r, CellColor(cell));
}

void TTSM_ColorButtonPalette::PaintPalette() {
  HDC dc = GetCanvas()->GetHandle();
  for (int x = 1; x <= kPaletteX; ++x)
    for (int y = 1; y <= kPaletteY; ++y)
      DrawCell(dc, {x, y}, false);
  const int width = GetClientWidth();
  Line(dc, 2, 93, width - 2, 93, clBtnShadow);
  Line(dc, 2, 94, width - 2, 94, clBtnHighlight);
  DrawCell(dc, {0, 0}, false);
  TrackHot(dc);
}

void TTSM_ColorButtonPalette::TrackHot(HDC dc) {
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(GetHandle(), &p);
  const TPoint cell = CellAt({p.x, p.y});
  if (cell.x < 0 || (cell.x == FHotCell.x && cell.y == FHotCell.y)) return;
  if (FHotCell.x >= 0) DrawCell(dc, FHotCell, false);
  DrawCell(dc, cell, true);
  FHotCell = cell;
}

void TTSM_ColorButtonPalette::MouseMove(TShiftState Shift, int X, int Y) {
  TForm::MouseMove(Shift, X, Y);
  HDC dc = GetDC(GetHandle());
  TrackHot(dc);
  ReleaseDC(GetHandle(), dc);
}

void TTSM_ColorButtonPalette::SelectColor(TColor color) {
  FSelectedColor = color;
  for (int x = 1; x <= kPaletteX; ++x)
    for (int y = 1; y <= kPaletteY; ++y) {
      if (ColorToRGB(FPaletteColors->GetColor(x, y)) != ColorToRGB(color)) continue;
      FHotCell = {x, y};
      if (HandleAllocated()) {
        HDC dc = GetDC(GetHandle());
        DrawCell(dc, FHotCell, true);
        ReleaseDC(GetHandle(), dc);
      }
      return;
    }
  FOtherColor = color;
}

void TTSM_ColorButtonPalette::Click() {
  TForm::Click();
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(GetHandle(), &p);
  const TPoint cell = CellAt({p.x, p.y});
  if (OnColorSelected && cell.x >= 0) OnColorSelected(this, CellColor(cell));
  Close();
}

void TTSM_ColorButtonPalette::OtherClick() {
  auto dialog = std::make_unique<TColorDialog>(nullptr);
  FColorDialogOpen = true;
  try {
    RunColorDialog(*dialog);
  } catch (...) {
    FColorDialogOpen = false;
    throw;
  }
}

void TTSM_ColorButtonPalette::RunColorDialog(TColorDialog& dialog) {
  dialog.Color = FOtherColor;
  dialog.Options = TColorDialogOptions{cdFullOpen};
  TStrings* lines = dialog.GetCustomColors();
  for (int x = 1; x <= 8; ++x)
    for (int y = 1; y <= 2; ++y) {
      char line[32];
      std::snprintf(line, sizeof line, "Color%c=%08X", 'A' + (x - 1) + 8 * (y - 1),
                    static_cast<unsigned>(FCustomColors->GetColor(x, y)));
      lines->Add(line);
    }
  const bool confirmed = dialog.Execute();
  FColorDialogOpen = false;
  if (!confirmed) return;
  FOtherColor = dialog.Color;
  for (int i = 0; i < lines->GetCount(); ++i) {
    const String line = lines->Get(i);
    const size_t equals = line.find('=');
    if (equals == String::npos || equals == 0) continue;
    const int letter = line[equals - 1] - 'A';
    if (letter < 0 || letter >= 16) continue;
    int64_t value = 0;
    if (!TryStrToInt64("$" + line.substr(equals + 1), value)) value = 0x00FFFFFF;
    FCustomColors->SetColor(letter % 8 + 1, letter / 8 + 1, static_cast<TColor>(value));
  }
  if (OnColorSelected) OnColorSelected(this, FOtherColor);
  Close();
}

void TTSM_ColorButtonPalette::KeyDown(WORD& Key, TShiftState Shift) {
  TForm::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) Close();
}

void TTSM_ColorButtonPalette::Deactivate() {
  TForm::Deactivate();
  Close();
}

void TTSM_ColorButtonPalette::AppDeactivate(TObject* Sender) {
  if (FOldAppDeactivate) FOldAppDeactivate(Sender);
  if (!FColorDialogOpen) Close();
}

bool TTSM_ColorButtonPalette::CloseQuery() {
  // Once released, the palette is already on its way out.
  return !FColorDialogOpen && !FClosed && TForm::CloseQuery();
}

void TTSM_ColorButtonPalette::DoClose(TCloseAction& Action) {
  Action = caFree;
  TForm::DoClose(Action);
  FClosed = Action == caFree;
  if (OnPaletteClose) OnPaletteClose(this, Action);
}

// --- Colour button -------------------------------------------------------------------

TSM_ColorButton::TSM_ColorButton(TComponent* AOwner)
    : TButton(AOwner), OtherColor(clBtnFace),
      FPaletteColors(std::make_unique<TColorArrayClass>(kPaletteX, kPaletteY)),
      FCustomColors(std::make_unique<TColorArrayClass>(8, 2)) {
  FArrow.reset(LoadResourceBitmap("TSM_ARROW_BMP"));
  FArrowDisabled.reset(LoadResourceBitmap("TSM_ARROW_DISABLED_BMP"));
  SetDefaultColors();
  SetBounds(0, 0, 45, 22);
  FOwnerDraw = true;
}

TSM_ColorButton::~TSM_ColorButton() = default;

void TSM_ColorButton::SetDefaultColors() {
  FillDefaultPaletteColors(*FPaletteColors);
  for (int x = 1; x <= 8; ++x)
    for (int y = 1; y <= 2; ++y)
      FCustomColors->SetColor(x, y, 0x00FFFFFF);
  OtherColor = clBtnFace;
}

void TSM_ColorButton::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Invalidate();
  ColorChanged();
}

void TSM_ColorButton::ColorChanged() {
  if (OnColorChange) OnColorChange(this);
}

void TSM_ColorButton::SetFlat(bool value) {
  FFlat = value;
  Invalidate();
}

void TSM_ColorButton::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style |= BS_OWNERDRAW;
}

void TSM_ColorButton::Click() {
  Application->NormalizeTopMosts();
  FPalette = new TTSM_ColorButtonPalette(this);
  PlacePalette();
  FPalette->btnOther->SetCaption(OtherBtnCaption);
  FPalette->SetOtherColor(OtherColor);
  FPalette->SelectColor(FColor);
  FPalette->OnColorSelected = [this](TTSM_ColorButtonPalette*, TColor color) { SetColor(color); };
  FPalette->OnPaletteClose = [this](TTSM_ColorButtonPalette*, TCloseAction&) { PaletteClosed(); };
  FPalette->GetPaletteColors().Assign(FPaletteColors.get());
  FPalette->GetCustomColors().Assign(FCustomColors.get());
  FPaletteShown = true;
  Invalidate();
  FPalette->Show();
}

void TSM_ColorButton::PlacePalette() {
  const TPoint origin = ClientToScreen({0, 0});
  const TRect work = Screen->GetWorkAreaRect();
  int left = origin.x;
  int top = origin.y + GetHeight();
  if (work.bottom < top + FPalette->GetHeight()) top = origin.y - kDesignedHeight;
  if (left < work.left)
    left = work.left;
  else if (left + FPalette->GetWidth() > work.right)
    left = work.right - kPlacedWidth;
  FPalette->SetBounds(left, top, FPalette->GetWidth(), FPalette->GetHeight());
}

void TSM_ColorButton::PaletteClosed() {
  FCustomColors->Assign(&FPalette->GetCustomColors());
  FPaletteShown = false;
  Invalidate();
  FPalette = nullptr;
  Application->RestoreTopMosts();
}

bool TSM_ColorButton::MouseInside() {
  POINT p;
  GetCursorPos(&p);
  RECT r;
  GetWindowRect(GetHandle(), &r);
  return PtInRect(&r, p) != FALSE;
}

void TSM_ColorButton::DrawFrame(HDC dc, TRect& r, bool pressed, UINT flags) {
  if (pressed) {
    Frame(dc, r, clWindowFrame);
    FillRectWithColor(dc, r, clBtnFace);
    Frame(dc, r, clBtnShadow);
    return;
  }
  const bool flat = (flags & DFCS_FLAT) != 0;
  if (Style == bsWin31 && !flat) {
    FillRectWithColor(dc, r, clBtnFace);
    Frame(dc, r, clBtnShadow);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, flags);
  if (!flat) return;
  TRect outer = r;
  InflateRect(&outer, 2, 2);
  FrameRectWithColor(dc, outer, clBtnFace);
  InflateRect(&outer, -1, -1);
  FrameRectWithColor(dc, outer, clBtnFace);
}

void TSM_ColorButton::DrawSwatch(HDC dc, TRect r) {
  r.right -= 10;
  if (GetEnabled()) {
    FillRectWithColor(dc, r, FColor);
    FrameRectWithColor(dc, r, clWindowFrame);
    return;
  }
  FrameRectWithColor(dc, r, clWindowFrame);
  InflateRect(&r, -1, -1);
  // Set bits take the background colour (black): the lines.
  static const WORD rows[8] = {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, nullptr);
  // Monochrome bitmap rows are word-aligned: 2 bytes each.
  unsigned char bits[16] = {};
  for (int i = 0; i < 8; ++i)
    bits[2 * i] = static_cast<unsigned char>(rows[i]);
  SetBitmapBits(pattern, sizeof bits, bits);
  HBRUSH brush = CreatePatternBrush(pattern);
  const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
  const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  PatBlt(dc, r.left, r.top, r.Width(), r.Height(), 0x00A000C9);
  SelectObject(dc, oldBrush);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  DeleteObject(brush);
  DeleteObject(pattern);
}

void TSM_ColorButton::DrawItem(const DRAWITEMSTRUCT& dis) {
  HDC dc = dis.hDC;
  const bool pressed = (dis.itemState & ODS_SELECTED) || FPaletteShown;
  const bool hot = MouseInside();
  UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
  if (pressed) flags |= DFCS_PUSHED;
  if (dis.itemState & ODS_DISABLED) flags |= DFCS_INACTIVE;
  if (FFlat && !hot && !(dis.itemState & ODS_FOCUS)) flags |= DFCS_FLAT;
  TRect r = dis.rcItem;
  FillRectWithColor(dc, r, clBtnFace);
  DrawFrame(dc, r, pressed, flags);
  TRect inner = dis.rcItem;
  if (pressed) OffsetRect(&inner, 1, 1);
  InflateRect(&inner, -3, -3);
  if ((dis.itemState & ODS_FOCUS) && FIsDefault) DrawFocusRect(dc, &inner);
  InflateRect(&inner, -3, -1);
  DrawSwatch(dc, inner);
  const int x = inner.right - 10 + 3;
  Line(dc, x, inner.top, x, inner.bottom, clBtnShadow);
  Line(dc, x + 1, inner.top, x + 1, inner.bottom, clBtnHighlight);
  HBITMAP arrow = GetEnabled() ? FArrow.get() : FArrowDisabled.get();
  BITMAP info{};
  GetObjectA(arrow, sizeof info, &info);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, arrow);
  const COLORREF transparent = GetPixel(source, 0, info.bmHeight - 1);
  SelectObject(source, old);
  DeleteDC(source);
  const int arrowTop = inner.top + (inner.Height() - info.bmHeight) / 2;
  DrawTransparentBitmap(dc, x + 3, arrowTop, static_cast<TColor>(transparent), arrow);
}

void TSM_ColorButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CN_MEASUREITEM: {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    measure->itemWidth = static_cast<UINT>(GetWidth());
    measure->itemHeight = static_cast<UINT>(GetHeight());
    return;
  }
  case WM_LBUTTONDBLCLK:
    // A double click is a second press.
    Message.Msg = WM_LBUTTONDOWN;
    break;
  case CM_FOCUSCHANGED: {
    auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
    FIsDefault = dynamic_cast<TButton*>(focused) ? focused == this : GetDefault();
    break;
  }
  case CM_FONTCHANGED:
  case CM_ENABLEDCHANGED:
    Invalidate();
    break;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE:
    if (FFlat && MouseInside() != FMouseInside) {
      FMouseInside = !FMouseInside;
      Invalidate();
    }
    break;
  }
  TButton::WndProc(Message);
}
