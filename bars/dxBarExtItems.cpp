// The extended items' module, the static and progress items and their
// controls, and the painter operations they draw with.
#include "dxBarExtItems.h"

#include "dxBarCommon.h"
#include "dxBarExtCombos.h"
#include "dxBarExtDates.h"
#include "dxBarExtSpin.h"
#include "dxBarStrs.h"

#include <algorithm>

namespace {

template <typename TControl> TdxBarItemControlClass ControlFactory() {
  return [](TdxBarItemLink* link) -> TObject* { return new TControl(link, link->GetBarControl()); };
}

int gFirstDayOfWeek = 0;
// The texts of the date navigator's buttons, read at the module's start.
String gTodayText, gClearText;

// The registered pairs, in their order.
std::vector<TdxBarItemClass>& ExtClasses() {
  static std::vector<TdxBarItemClass> classes;
  return classes;
}

void RegisterExt(TdxBarItemClass ItemClass, TdxBarItemControlClass ControlClass) {
  RegisterBarItemClass(ItemClass, std::move(ControlClass), true);
  ExtClasses().push_back(ItemClass);
}

int ReadFirstDayOfWeek() {
  char value[8] = {};
  if (GetLocaleInfoA(GetThreadLocale(), LOCALE_IFIRSTDAYOFWEEK, value, sizeof(value)) == 0) return 0;
  return FirstDayFromLocaleValue(value);
}

int TextWidth(TCustomdxBarControl* BarControl, const String& Text) {
  return TextExtentOnScreen(BarControl->GetFontHandle(), Text).cx;
}

// The painter's caption alignment: 0 left, 1 centred, 2 right.
int CaptionAlignment(TAlignment Alignment) {
  return Alignment == taLeftJustify ? 0 : Alignment == taCenter ? 1 : 2;
}

} // namespace

// ---- The module ----

void StartExtItemsModule() {
  gFirstDayOfWeek = ReadFirstDayOfWeek();
  gTodayText = dxBarString(dxSBAR_DATETODAY);
  gClearText = dxBarString(dxSBAR_DATECLEAR);
  StartExtCombos();
  ExtClasses().clear();
  // The other extended kinds take their places in this order as they land.
  RegisterExt(TdxBarStatic::ClassInfo(), ControlFactory<TdxBarStaticControl>());
  RegisterExt(TdxBarLargeButton::ClassInfo(), ControlFactory<TdxBarLargeButtonControl>());
  RegisterExt(TdxBarColorCombo::ClassInfo(), ControlFactory<TdxBarColorComboControl>());
  RegisterExt(TdxBarFontNameCombo::ClassInfo(), ControlFactory<TdxBarComboControl>());
  RegisterExt(TdxBarDateCombo::ClassInfo(), ControlFactory<TdxBarDateComboControl>());
  RegisterExt(TdxBarTreeViewCombo::ClassInfo(), ControlFactory<TdxBarTreeViewComboControl>());
  RegisterExt(TdxBarImageCombo::ClassInfo(), ControlFactory<TdxBarImageComboControl>());
  RegisterExt(TdxBarToolbarsListItem::ClassInfo(), ControlFactory<TdxBarToolbarsListItemControl>());
  RegisterExt(TdxBarSpinEdit::ClassInfo(), ControlFactory<TdxBarSpinEditControl>());
  RegisterExt(TdxBarControlContainerItem::ClassInfo(), ControlFactory<TdxBarControlContainerControl>());
  RegisterExt(TdxBarProgressItem::ClassInfo(), ControlFactory<TdxBarProgressControl>());
  RegisterExt(TdxBarMRUListItem::ClassInfo(), ControlFactory<TdxBarContainerItemControl>());
  RegisterExt(TdxBarInPlaceSubItem::ClassInfo(), ControlFactory<TdxBarInPlaceSubItemControl>());
}

void EndExtItemsModule() {
  auto& classes = ExtClasses();
  while (!classes.empty()) {
    UnregisterBarItemClass(classes.back());
    classes.pop_back();
  }
  EndExtCombos();
  gTodayText.clear();
  gClearText.clear();
}

int dxBarFirstDayOfWeek() { return gFirstDayOfWeek; }
const String& dxBarTodayText() { return gTodayText; }
const String& dxBarClearText() { return gClearText; }

// ---- Painter operations ----

int StaticBorderWidth(TdxBarStaticBorderStyle Style) {
  static const int Widths[] = {0, 1, 1, 2, 2};
  return Widths[Style];
}

namespace dxBarExtPainter {

void DrawStaticBorder(TdxBarItemControlPainterClass, const TdxBarItemControl*, HDC DC,
                      TdxBarStaticBorderStyle Style, int Width, TRect& R) {
  switch (Style) {
  case sbsNone: return;
  case sbsLowered: DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT); break;
  case sbsRaised: DrawEdge(DC, &R, BDR_RAISEDINNER, BF_RECT); break;
  case sbsEtched: DrawEdge(DC, &R, EDGE_ETCHED, BF_RECT); break;
  case sbsBump:
    DrawEdge(DC, &R, BDR_RAISEDINNER, BF_RECT);
    InflateRect(&R, -1, -1);
    DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&R, -1, -1);
    return;
  }
  InflateRect(&R, -Width, -Width);
}

TColor GetProgressColor(TdxBarItemControlPainterClass) { return clHighlight; }

int GetProgressBarThickness(TdxBarItemControlPainterClass) { return 12; }

int GetProgressBarIndent(TdxBarItemControlPainterClass, const TdxBarItemControl*) { return 0; }

void DrawProgressBar(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC, int Min,
                     int Max, int Position, bool Solid, int Orientation, TColor Color, const TRect& R) {
  const bool vertical = Orientation == 2;
  const int start = vertical ? R.top : R.left, length = vertical ? R.Height() : R.Width();
  const int thickness = vertical ? R.Width() : R.Height();
  // A zero range scales to −1: no bar, only background.
  const int end = start + MulDiv(length, Position - Min, Max - Min);
  auto part = [&](int from, int to) {
    return vertical ? TRect(R.left, from, R.right, to) : TRect(from, R.top, to, R.bottom);
  };
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  HBRUSH background = Control->GetBarControl()->BackgroundBrush;
  if (Solid) {
    if (end > start) {
      const TRect bar = part(start, end);
      FillRect(DC, &bar, brush);
    }
  } else {
    const int block = thickness * 2 / 3;
    for (int p = start; p < end;) {
      const int blockEnd = std::min(p + block, end), gapEnd = std::min(blockEnd + 2, end);
      const TRect filled = part(p, blockEnd);
      FillRect(DC, &filled, brush);
      if (gapEnd > blockEnd) Painter->FillBackground(Control, DC, false, background, part(blockEnd, gapEnd));
      p = gapEnd;
    }
  }
  const int rest = std::max(end, start), stop = start + length;
  if (rest < stop) Painter->FillBackground(Control, DC, false, background, part(rest, stop));
  DeleteObject(brush);
}

TColor GetCalendarHeaderColor(TdxBarItemControlPainterClass) { return clBtnFace; }

bool IsFlatCalendar(const TdxBarManager* Manager) { return Manager->IsFlatStyle(); }

} // namespace dxBarExtPainter

// ---- TdxBarStatic ----

TdxBarItemClass TdxBarStatic::ClassInfo() { return MakeBarItemClassInfo<TdxBarStatic>("TdxBarStatic"); }

TdxBarStatic::TdxBarStatic(TComponent* AOwner) : TdxBarItem(AOwner) {}

void TdxBarStatic::LayoutChanged() {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->LayoutChanged();
}

void TdxBarStatic::RepaintControls() {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->Repaint();
}

void TdxBarStatic::GlyphChanged() {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->GlyphChanged();
}

void TdxBarStatic::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  if (!IsLoading()) RepaintControls();
}

void TdxBarStatic::SetBorderStyle(TdxBarStaticBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (IsLoading()) return;
  if (GetWidth() != 0 && GetHeight() != 0)
    RepaintControls();
  else
    LayoutChanged();
}

void TdxBarStatic::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  if (!IsLoading()) LayoutChanged();
}

void TdxBarStatic::SetSize(int Index, int Value) {
  Value = std::max(Value, 0);
  int& field = FSizes[Index - 1];
  if (Value == field) return;
  field = Value;
  if (!IsLoading()) LayoutChanged();
}

// ---- TdxBarProgressItem ----

TdxBarItemClass TdxBarProgressItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarProgressItem>("TdxBarProgressItem");
}

TdxBarProgressItem::TdxBarProgressItem(TComponent* AOwner) : TdxBarStatic(AOwner) {
  SetBorderStyle(sbsLowered);
}

void TdxBarProgressItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  RedrawBars();
}

void TdxBarProgressItem::SetSmooth(bool Value) {
  if (Value == FSmooth) return;
  FSmooth = Value;
  RedrawBars();
}

void TdxBarProgressItem::SetRange(int AMin, int AMax) {
  if (AMin == FMin && AMax == FMax) return;
  FMin = AMin;
  FMax = AMax;
  if (IsLoading()) return;
  if (FMax < FMin) FMin = FMax;
  if (FPosition < FMin)
    SetPosition(FMin);
  else if (FPosition > FMax)
    SetPosition(FMax);
  else
    RedrawBars();
}

void TdxBarProgressItem::SetPosition(int Value) {
  Value = std::clamp(Value, FMin, std::max(FMin, FMax));
  if (Value == FPosition) return;
  FPosition = Value;
  RedrawBars();
}

void TdxBarProgressItem::RedrawBars() {
  if (IsLoading()) return;
  for (int i = 0; i < GetLinkCount(); ++i) {
    auto* control = dynamic_cast<TdxBarProgressControl*>(GetLink(i)->GetControl());
    if (!control || !control->GetBarControl()->HandleAllocated()) continue;
    const TRect bar = control->GetProgressBarRect();
    InvalidateRect(control->GetBarControl()->GetHandle(), &bar, FALSE);
  }
}

// ---- TdxBarStaticControl ----

TdxBarStatic* TdxBarStaticControl::GetStatic() const { return dynamic_cast<TdxBarStatic*>(GetItem()); }

int TdxBarStaticControl::GetBorderWidth() const { return StaticBorderWidth(GetStatic()->GetBorderStyle()); }

void TdxBarStaticControl::CaptionChanged() {
  if (GetStatic()->GetWidth() != 0)
    Repaint();
  else
    TdxBarItemControl::CaptionChanged();
}

void TdxBarStaticControl::GlyphChanged() { LayoutChanged(); }

bool TdxBarStaticControl::IsClickable() const { return GetStatic()->GetAllowClick(); }

bool TdxBarStaticControl::IsHotTrackable() const { return TdxBarItemControl::IsSelectable(); }

bool TdxBarStaticControl::IsSelectable() const {
  return TdxBarItemControl::IsSelectable() && GetBarControl()->IsCustomizing();
}

bool TdxBarStaticControl::ClosesMenusOnClick() const { return GetStatic()->GetAllowClick(); }

TAlignment TdxBarStaticControl::GetAlignment() const { return GetStatic()->GetAlignment(); }

int TdxBarStaticControl::GetContentWidth() {
  const TdxBarStatic* item = GetStatic();
  const TdxBarManager* manager = GetBarManager();
  const bool caption = item->GetShowCaption();
  int width = caption ? TextWidth(GetBarControl(), RemoveAmpersands(GetCaption())) : 0;
  if (HasImage() || (!caption && !HasOwnContent())) {
    width += ShowsRotatedCaptions() ? manager->GetButtonHeight() : manager->GetButtonWidth();
    if (caption) width += 4;
  } else if (caption) {
    width += GetBarControl()->TextHeight / 2;
  }
  return width + item->GetLeftIndent() + item->GetRightIndent() + 2 * GetBorderWidth();
}

int TdxBarStaticControl::GetDefaultHeight() {
  const TdxBarStatic* item = GetStatic();
  if (item->GetHeight() != 0) return item->GetHeight();
  const int row = GetBarControl()->TextHeight;
  int height;
  if (InMenu()) {
    height = row;
  } else {
    const TdxBarManager* manager = GetBarManager();
    height = 0;
    if (HasImage() || (!item->GetShowCaption() && !HasOwnContent()))
      height = ShowsRotatedCaptions() ? manager->GetButtonWidth() : manager->GetButtonHeight();
    if (height == 0)
      height = row - 3;
    else if (item->GetShowCaption())
      height = std::max(height, row - 3);
  }
  return height + 2 * GetBorderWidth();
}

int TdxBarStaticControl::GetDefaultWidth() {
  const int width = GetStatic()->GetWidth();
  return width != 0 ? width : GetContentWidth();
}

int TdxBarStaticControl::GetHeight() { return ShowsRotatedCaptions() ? GetDefaultWidth() : GetDefaultHeight(); }

int TdxBarStaticControl::GetWidth() { return ShowsRotatedCaptions() ? GetDefaultHeight() : GetDefaultWidth(); }

void TdxBarStaticControl::FillPart(HDC DC, const TRect& R) const {
  if (R.left < R.right && R.top < R.bottom)
    GetPainter()->FillBackground(this, DC, false, GetBarControl()->BackgroundBrush, R);
}

void TdxBarStaticControl::Paint(const TRect& R, int PaintType) {
  if (R.left == R.right) return;
  const TdxBarStatic* item = GetStatic();
  HDC dc = GetBarControl()->GetCanvas()->GetHandle();
  const bool rotated = PaintType == 2;
  TRect r = R;
  if (const int left = item->GetLeftIndent(); left > 0) {
    FillPart(dc, rotated ? TRect(r.left, r.top, r.right, r.top + left) : TRect(r.left, r.top, r.left + left, r.bottom));
    (rotated ? r.top : r.left) += left;
  }
  if (const int right = item->GetRightIndent(); right > 0) {
    FillPart(dc, rotated ? TRect(r.left, r.bottom - right, r.right, r.bottom)
                         : TRect(r.right - right, r.top, r.right, r.bottom));
    (rotated ? r.bottom : r.right) -= right;
  }
  dxBarExtPainter::DrawStaticBorder(GetPainter(), this, dc, item->GetBorderStyle(), GetBorderWidth(), r);
  DrawContent(dc, r, PaintType);
}

void TdxBarStaticControl::DrawContent(HDC DC, const TRect& R, int PaintType) {
  DrawStaticContent(DC, R, PaintType, true);
}

void TdxBarStaticControl::DrawStaticContent(HDC DC, const TRect& R, int PaintType, bool Centre) {
  const TdxBarStatic* item = GetStatic();
  const TdxBarManager* manager = GetBarManager();
  const bool caption = item->GetShowCaption(), rotated = PaintType == 2;
  TRect text = R;
  int indent;
  if (HasImage()) {
    TRect cell = R;
    if (PaintType == 1) {
      if (!(Centre && !caption)) {
        cell.right = cell.left + R.Height();
        text.left = cell.right;
        FillPart(DC, text);
      }
    } else if (caption) {
      if (rotated) {
        cell.bottom = cell.top + manager->GetButtonHeight();
        text.top = cell.bottom;
      } else {
        cell.right = cell.left + manager->GetButtonWidth();
        text.left = cell.right;
      }
      FillPart(DC, text);
    }
    DrawGlyphArea(cell, nullptr, PaintType, false, false, false, false, true, false);
    indent = 2;
  } else {
    FillPart(DC, R);
    indent = GetBarControl()->TextHeight / 4;
  }
  if (!caption) return;
  const TAlignment alignment = GetAlignment();
  if (!(Centre && alignment == taCenter)) {
    if (alignment == taLeftJustify)
      (rotated ? text.top : text.left) += indent;
    else
      (rotated ? text.bottom : text.right) -= indent;
  }
  DrawCaption(DC, GetCaption(), text, CaptionAlignment(alignment), GetEnabled(), false, rotated, false, false);
}

// ---- TdxBarProgressControl ----

TdxBarProgressItem* TdxBarProgressControl::GetProgress() const {
  return dynamic_cast<TdxBarProgressItem*>(GetItem());
}

int TdxBarProgressControl::GetDefaultHeight() {
  return std::max(TdxBarStaticControl::GetDefaultHeight(),
                  dxBarExtPainter::GetProgressBarThickness(GetPainter()) + 2 * GetBorderWidth() + 2);
}

int TdxBarProgressControl::GetDefaultWidth() {
  const TdxBarStatic* item = GetStatic();
  int width = TdxBarStaticControl::GetDefaultWidth();
  if (item->GetWidth() == 0) width += item->GetShowCaption() ? 152 : 154;
  return width + dxBarExtPainter::GetProgressBarIndent(GetPainter(), this);
}

TColor TdxBarProgressControl::GetBarColor() const {
  const TColor color = GetProgress()->GetColor();
  return color == clDefault ? dxBarExtPainter::GetProgressColor(GetPainter())
                            : static_cast<TColor>(ColorToRGB(color));
}

TRect TdxBarProgressControl::GetProgressBarRect() {
  const TdxBarStatic* item = GetStatic();
  const TRect link = GetLink()->ItemRect;
  const bool rotated = ShowsRotatedCaptions();
  const int border = GetBorderWidth();
  const int across = rotated ? link.Width() : link.Height();
  int thickness = MulDiv(across - 2 * border, 2, 3);
  if ((thickness & 1) != (across & 1)) ++thickness;
  const bool client = item->GetAlign() == iaClient;
  int length;
  if (item->GetWidth() == 0 && !client) {
    length = 150;
  } else {
    length = InMenu() ? link.Width() : client ? (rotated ? link.Height() : link.Width()) : item->GetWidth();
    length = std::max(0, length - GetContentWidth() - (item->GetShowCaption() ? 2 : 4));
  }
  length -= dxBarExtPainter::GetProgressBarIndent(GetPainter(), this);
  const int extent = border + length + item->GetRightIndent() + 2;
  if (rotated) {
    const int top = link.bottom - extent, left = link.left + (link.Width() - thickness) / 2;
    return TRect(left, top, left + thickness, top + length);
  }
  const int left = link.right - extent, top = link.top + (link.Height() - thickness) / 2;
  return TRect(left, top, left + length, top + thickness);
}

void TdxBarProgressControl::DrawContent(HDC DC, const TRect& R, int PaintType) {
  const TdxBarProgressItem* item = GetProgress();
  const TRect bar = GetProgressBarRect();
  const bool hasBar = bar.left < bar.right && bar.top < bar.bottom;
  HRGN saved = nullptr;
  bool existed = false;
  if (hasBar) {
    SaveDCClipRegion(DC, saved, existed);
    ExcludeClipRect(DC, bar.left, bar.top, bar.right, bar.bottom);
  }
  TRect content = R;
  if (const int indent = dxBarExtPainter::GetProgressBarIndent(GetPainter(), this); indent > 0) {
    FillPart(DC, TRect(content.left, content.top, content.left + indent, content.bottom));
    content.left += indent;
  }
  try {
    DrawStaticContent(DC, content, PaintType, false);
  } catch (...) {
    if (hasBar) RestoreDCClipRegion(DC, saved, existed);
    throw;
  }
  if (!hasBar) return;
  RestoreDCClipRegion(DC, saved, existed);
  dxBarExtPainter::DrawProgressBar(GetPainter(), this, DC, item->GetMin(), item->GetMax(), item->GetPosition(),
                                   item->GetSmooth(), PaintType, GetBarColor(), bar);
}
