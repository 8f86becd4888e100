// The radio buttons of the flat, standard and ultra-flat looks: 48 images
// painted pixel by pixel from a map of the system's own radio button.
#include "cxLookAndFeelPainters_internal.h"

#include "Forms.h"

#include <memory>
#include <vector>

namespace {

using TRadioPixelMap = TcxRadioPixelMap;

std::unique_ptr<TRadioPixelMap> PixelMap;
std::unique_ptr<TcxRadioButtonImageList> RadioImages;
HWND SysColorListener = nullptr;

// A bitmap of the given size filled with a colour, drawn into by Windows.
class TCellBitmap {
public:
  TCellBitmap(int width, int height, TColor fill) {
    FBitmap.SetPixelFormat(pf32bit);
    FBitmap.SetSize(width, height);
    Fill(fill);
  }
  void Fill(TColor color) {
    FBitmap.GetCanvas()->GetBrush()->SetColor(color);
    FBitmap.GetCanvas()->FillRect(TRect(0, 0, FBitmap.GetWidth(), FBitmap.GetHeight()));
  }
  HDC DC() { return FBitmap.GetCanvas()->GetHandle(); }
  COLORREF Pixel(int x, int y) { return ::GetPixel(DC(), x, y) & 0xFFFFFF; }
  bool Black(int x, int y) { return Pixel(x, y) == 0; }
  TBitmap* Bitmap() { return &FBitmap; }

private:
  TBitmap FBitmap;
};

SIZE CheckBoxCellSize() {
  HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32759));
  BITMAP info{};
  ::GetObjectA(bitmap, sizeof(info), &info);
  DeleteObject(bitmap);
  return SIZE{info.bmWidth / 4, info.bmHeight / 3};
}

// The bounding box of the pixels that hold for test, or an empty rectangle.
template <typename Test> TRect BoundingBox(int width, int height, Test test) {
  TRect box(width, height, 0, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!test(x, y)) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  return IsRectEmpty(&box) ? TRect() : box;
}

// Below the diagonal from the bottom-left to the top-right corner.
bool BelowDiagonal(const TRadioPixelMap& map, int row, int col) {
  return (map.RowCount - 1) * (map.ColCount - col - 1) < row * (map.ColCount - 1);
}

void MarkInnerRing(TRadioPixelMap& map, int row, int col, bool diagonalRightUpperLeft) {
  const int lhs = (map.RowCount - 1) * (map.ColCount - col - 1);
  const int rhs = row * (map.ColCount - 1);
  bool bottomRight = lhs < rhs;
  if (lhs == rhs) bottomRight = (col > map.ColCount / 2 - 1) != diagonalRightUpperLeft;
  map.At(row, col) = bottomRight ? rpInnerBottomRight : rpInnerTopLeft;
}

bool IsOuterRing(uint8_t cell) {
  return cell == rpOuterTopLeft || cell == rpOuterBottomRight;
}

// Walks from (row, col) by (dr, dc) over cells inside the outer ring; marks
// every cell walked when markAll, and the last one always.
void WalkInnerRing(TRadioPixelMap& map, int row, int col, int dr, int dc, bool markAll, bool diagonal) {
  int lastRow = -1, lastCol = -1;
  while (row >= 0 && row < map.RowCount && col >= 0 && col < map.ColCount && !IsOuterRing(map.At(row, col))) {
    if (markAll) MarkInnerRing(map, row, col, diagonal);
    lastRow = row;
    lastCol = col;
    row += dr;
    col += dc;
  }
  if (lastRow >= 0) MarkInnerRing(map, lastRow, lastCol, diagonal);
}

void MarkOuterRing(TRadioPixelMap& map) {
  TCellBitmap ring(map.ColCount, map.RowCount, clWhite);
  TCanvas* canvas = ring.Bitmap()->GetCanvas();
  canvas->GetPen()->SetColor(clBlack);
  canvas->GetBrush()->SetColor(clWhite);
  canvas->RoundRect(0, 0, map.ColCount, map.RowCount, map.ColCount - 1, map.RowCount - 1);
  for (int row = 0; row < map.RowCount; ++row)
    for (int col = 0; col < map.ColCount; ++col)
      map.At(row, col) = !ring.Black(col, row)          ? rpOutside
                         : BelowDiagonal(map, row, col) ? rpOuterBottomRight
                                                        : rpOuterTopLeft;
}

void MarkInterior(TRadioPixelMap& map) {
  for (int row = 1; row <= map.RowCount - 2; ++row) {
    for (int col = map.ColCount / 2 - 1; col >= 0 && map.At(row, col) == rpOutside; --col)
      map.At(row, col) = rpInterior;
    for (int col = map.ColCount / 2; col < map.ColCount && map.At(row, col) == rpOutside; ++col)
      map.At(row, col) = rpInterior;
  }
}

void MarkInnerRings(TRadioPixelMap& map, bool diagonal) {
  const int lastRow = map.RowCount - 2, lastCol = map.ColCount - 2;
  for (int row = 1; row <= lastRow; ++row) {
    const bool edge = row == 1 || row == lastRow;
    WalkInnerRing(map, row, map.ColCount / 2 - 1, 0, -1, edge, diagonal);
    WalkInnerRing(map, row, map.ColCount / 2, 0, 1, edge, diagonal);
  }
  for (int col = 1; col <= lastCol; ++col) {
    const bool edge = col == 1 || col == lastCol;
    WalkInnerRing(map, map.RowCount / 2 - 1, col, -1, 0, edge, diagonal);
    WalkInnerRing(map, map.RowCount / 2, col, 1, 0, edge, diagonal);
  }
}

void MarkDot(TRadioPixelMap& map, const TRect& dot) {
  TCellBitmap bitmap(map.ColCount, map.RowCount, clWhite);
  TCanvas* canvas = bitmap.Bitmap()->GetCanvas();
  canvas->GetPen()->SetColor(clBlack);
  canvas->GetBrush()->SetColor(clBlack);
  canvas->RoundRect(dot.left, dot.top, dot.right, dot.bottom, dot.Width() - 1, dot.Height() - 1);
  for (int row = 0; row < map.RowCount; ++row)
    for (int col = 0; col < map.ColCount; ++col)
      if (bitmap.Black(col, row)) map.At(row, col) = rpDot;
}

void BuildPixelMap() {
  PixelMap = std::make_unique<TRadioPixelMap>(cxBuildRadioPixelMap(cxMeasureSystemRadioButton(), false));
}

struct TRadioLook {
  int Style; // 0 flat, 1 standard, 2 ultra-flat
  bool Checked;
  TcxButtonState State;
  bool Focused;
  bool HighlightFrame;
};

TColor InteriorColor(const TRadioLook& look) {
  if (look.State == cxbsDisabled) return clBtnFace;
  if (look.Style == 2) {
    if (look.State == cxbsHot) return BlendHighlightColorLight();
    if (look.State == cxbsPressed) return BlendHighlightColorDark();
    return clWindow;
  }
  return look.State == cxbsPressed ? clBtnFace : clWindow;
}

TColor PixelColor(const TRadioLook& look, uint8_t cell) {
  const TColor interior = InteriorColor(look);
  const bool ultraFlat = look.Style == 2;
  const bool highlighted =
      look.Focused || look.State == cxbsHot || (look.HighlightFrame && look.State != cxbsDisabled);
  switch (cell) {
  case rpInterior:
    return interior;
  case rpOuterTopLeft:
    return ultraFlat ? (highlighted ? clHighlight : clBtnShadow) : clBtnShadow;
  case rpOuterBottomRight:
    return ultraFlat ? (highlighted ? clHighlight : clBtnShadow) : clBtnHighlight;
  case rpInnerTopLeft:
    return ultraFlat ? interior : look.Style == 1 ? cl3DDkShadow : cl3DLight;
  case rpInnerBottomRight:
    return ultraFlat ? interior : cl3DLight;
  case rpDot:
    if (!look.Checked) return interior;
    return look.State == cxbsDisabled ? clBtnShadow : clBtnText;
  default:
    return clBlack;
  }
}

void ListenerWndProc(TMessage& Message) {
  Message.Result = DefWindowProcA(SysColorListener, Message.Msg, Message.WParam, Message.LParam);
  // The hidden window is not a form: the library's own colour-change
  // message never reaches it, the system's broadcast does.
  if (Message.Msg != WM_SYSCOLORCHANGE && Message.Msg != CM_SYSCOLORCHANGE) return;
  Message.Result = 0;
  if (RadioImages) RadioImages->Clear();
}

} // namespace

TcxSystemRadioGeometry cxMeasureSystemRadioButton() {
  TcxSystemRadioGeometry result{CheckBoxCellSize(), TRect(), TRect()};
  const int w = result.Cell.cx, h = result.Cell.cy;
  TCellBitmap cell(w, h, clBlack);
  RECT r{0, 0, w, h};
  DrawFrameControl(cell.DC(), &r, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_CHECKED | DFCS_FLAT);
  result.Radio = BoundingBox(w, h, [&](int x, int y) { return cell.Black(x, y); });
  // The dot: what the checked image has black and the unchecked one not.
  TCellBitmap checked(w, h, clBlack);
  DrawFrameControl(checked.DC(), &r, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED | DFCS_FLAT);
  TCellBitmap unchecked(w, h, clBlack);
  DrawFrameControl(unchecked.DC(), &r, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_FLAT);
  result.Dot = BoundingBox(w, h, [&](int x, int y) {
    return result.Radio.Contains(TPoint(x, y)) && checked.Black(x, y) && !unchecked.Black(x, y);
  });
  if (IsRectEmpty(&result.Radio) || IsRectEmpty(&result.Dot)) {
    // Drawn here when the system draws no ring or dot.
    result.Radio = TRect(0, 0, w, h);
    result.Dot = TRect(w / 2 - 2, h / 2 - 2, w / 2 + 2, h / 2 + 2);
  }
  return result;
}

TcxRadioPixelMap cxBuildRadioPixelMap(const TcxSystemRadioGeometry& AGeometry, bool ADiagonalRightUpperLeft) {
  TRadioPixelMap map;
  map.ColCount = AGeometry.Radio.Width();
  map.RowCount = AGeometry.Radio.Height();
  map.Cells.assign(map.ColCount * map.RowCount, rpOutside);
  MarkOuterRing(map);
  MarkInterior(map);
  MarkInnerRings(map, ADiagonalRightUpperLeft);
  TRect dot = AGeometry.Dot;
  OffsetRect(&dot, -AGeometry.Radio.left, -AGeometry.Radio.top);
  MarkDot(map, dot);
  return map;
}

int cxRadioButtonImageIndex(TcxButtonState AState, bool AChecked, int APainterStyle, bool AFocused) {
  const int state = AState == cxbsDefault ? 0 : AState - 1;
  return state + 4 * (AChecked ? 1 : 0) + 8 * APainterStyle + 24 * (AFocused ? 1 : 0);
}

TcxRadioButtonImageList* GetRadioButtonImageList() {
  if (!RadioImages) RadioImages = std::make_unique<TcxRadioButtonImageList>();
  return RadioImages.get();
}

void cxRadioButtonImagesFinalize() {
  RadioImages.reset();
  if (SysColorListener) DeallocateHWnd(SysColorListener);
  SysColorListener = nullptr;
  PixelMap.reset();
}

// ---- TcxRadioButtonImageList ----

TcxRadioButtonImageList::TcxRadioButtonImageList() {
  if (!SysColorListener) SysColorListener = AllocateHWnd(ListenerWndProc);
  if (!PixelMap) BuildPixelMap();
  const int w = PixelMap->ColCount, h = PixelMap->RowCount;
  FImages = std::make_unique<TImageList>(nullptr);
  FImages->SetWidth(w);
  FImages->SetHeight(h);
  FScratch = std::make_unique<TBitmap>();
  FScratch->SetPixelFormat(pf32bit);
  FScratch->SetSize(w, h);
  FMask = std::make_unique<TBitmap>();
  FMask->SetPixelFormat(pf32bit);
  FMask->SetSize(w, h);
  TCanvas* canvas = FMask->GetCanvas();
  canvas->GetBrush()->SetColor(clWhite);
  canvas->FillRect(TRect(0, 0, w, h));
  canvas->GetBrush()->SetColor(clBlack);
  canvas->GetPen()->SetColor(clBlack);
  canvas->RoundRect(0, 0, w, h, w - 1, h - 1);
}

TcxRadioButtonImageList::~TcxRadioButtonImageList() = default;

void TcxRadioButtonImageList::PrepareImages(bool AHighlightFrame) {
  if (GetCount() > 0) return;
  TRadioPixelMap& map = *PixelMap;
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  image.SetSize(map.ColCount, map.RowCount);
  TCanvas* canvas = image.GetCanvas();
  for (int focused = 0; focused <= 1; ++focused)
    for (int style = 0; style <= 2; ++style)
      for (int checked = 0; checked <= 1; ++checked)
        for (int state = cxbsNormal; state <= cxbsDisabled; ++state) {
          const TRadioLook look{style, checked != 0, static_cast<TcxButtonState>(state), focused != 0,
                                AHighlightFrame};
          for (int row = 0; row < map.RowCount; ++row)
            for (int col = 0; col < map.ColCount; ++col)
              canvas->SetPixel(col, row, PixelColor(look, map.At(row, col)));
          FImages->Add(&image, FMask.get());
        }
}

void TcxRadioButtonImageList::DrawImage(TcxCanvas* ACanvas, int AIndex, int X, int Y, TColor ABrushColor) {
  if (ABrushColor == clDefault) {
    FImages->Draw(ACanvas->GetCanvas(), X, Y, AIndex, true);
    return;
  }
  // A key colour no radio pixel has marks what the brush shows through.
  const TColor key = 0xFF00FF;
  TCanvas* scratch = FScratch->GetCanvas();
  scratch->GetBrush()->SetColor(key);
  scratch->FillRect(TRect(0, 0, FScratch->GetWidth(), FScratch->GetHeight()));
  FImages->Draw(scratch, 0, 0, AIndex, true);
  FScratch->SetTransparentColor(key);
  ACanvas->DrawGlyph(X, Y, FScratch.get(), true, ABrushColor);
}

void TcxRadioButtonImageList::Clear() {
  FImages->Clear();
}

int TcxRadioButtonImageList::GetCount() const {
  return FImages->GetCount();
}

SIZE TcxRadioButtonImageList::GetImageSize() const {
  return SIZE{FImages->GetWidth(), FImages->GetHeight()};
}
