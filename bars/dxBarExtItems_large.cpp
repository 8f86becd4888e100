// The large button and its control.
#include "dxBarExtItems.h"

#include "ImgList.h"

#include <algorithm>

namespace {

TBitmap* NonEmpty(TBitmap* Bitmap) { return Bitmap && !Bitmap->GetEmpty() ? Bitmap : nullptr; }

TCustomImageList* ListHolding(TCustomImageList* Images, int Index) {
  return Images && Index >= 0 && Index < Images->GetCount() ? Images : nullptr;
}

SIZE TextSize(TCustomdxBarControl* BarControl, const String& Text) {
  return TextExtentOnScreen(BarControl->GetFontHandle(), Text);
}

} // namespace

// ---- TdxBarLargeButton ----

TdxBarItemClass TdxBarLargeButton::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarLargeButton>("TdxBarLargeButton");
}

TdxBarLargeButton::TdxBarLargeButton(TComponent* AOwner)
    : TdxBarButton(AOwner), FHotGlyph(std::make_unique<TBitmap>()), FLargeGlyph(std::make_unique<TBitmap>()) {
  FHotGlyph->OnChange = [this](TObject*) { HotGlyphChanged(); };
  FLargeGlyph->OnChange = [this](TObject*) { LargeGlyphChanged(); };
}

TdxBarLargeButton::~TdxBarLargeButton() {
  FHotGlyph->OnChange = nullptr;
  FLargeGlyph->OnChange = nullptr;
}

template <typename F> void TdxBarLargeButton::ForEachControl(F&& Apply) {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarLargeButtonControl*>(GetLink(i)->GetControl())) Apply(control);
}

void TdxBarLargeButton::SetAutoGrayScale(bool Value) {
  if (Value == FAutoGrayScale) return;
  FAutoGrayScale = Value;
  ForEachControl([](TdxBarLargeButtonControl* c) { c->Repaint(); });
}

void TdxBarLargeButton::SetGlyphLayout(TdxBarGlyphLayout Value) {
  if (Value == FGlyphLayout) return;
  FGlyphLayout = Value;
  GlyphLayoutChanged();
}

void TdxBarLargeButton::SetHeight(int Value) {
  if (Value < 0 || Value == FHeight) return;
  FHeight = Value;
  HeightChanged();
}

void TdxBarLargeButton::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  WidthChanged();
}

void TdxBarLargeButton::SetHotImageIndex(int Value) {
  if (Value == FHotImageIndex) return;
  FHotImageIndex = Value;
  HotGlyphChanged();
}

void TdxBarLargeButton::SetLargeImageIndex(int Value) {
  if (Value == FLargeImageIndex) return;
  FLargeImageIndex = Value;
  LargeGlyphChanged();
}

void TdxBarLargeButton::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  ShowCaptionChanged();
}

void TdxBarLargeButton::SetSyncImageIndex(bool Value) {
  if (Value == FSyncImageIndex) return;
  FSyncImageIndex = Value;
  if (Value) LargeGlyphChanged();
}

bool TdxBarLargeButton::AcceptsAccelerator(const TdxBarItemLink* Link) const {
  if (!FShowCaption && dynamic_cast<TdxBar*>(Link->GetLinks()->GetOwner())) return false;
  return TdxBarButton::AcceptsAccelerator(Link);
}

void TdxBarLargeButton::SetImageIndex(int Value) {
  TdxBarButton::SetImageIndex(Value);
  if (IsLoading() && FLargeImageIndex == -1)
    FLargeImageIndex = Value;
  else if (!FSynchronizing)
    FSyncImageIndex = false;
}

void TdxBarLargeButton::HotGlyphChanged() {
  ForEachControl([](TdxBarLargeButtonControl* c) { c->HotGlyphChanged(); });
}

void TdxBarLargeButton::LargeGlyphChanged() {
  if (FSyncImageIndex) {
    FSynchronizing = true;
    try {
      SetImageIndex(FLargeImageIndex);
    } catch (...) {
      FSynchronizing = false;
      throw;
    }
    FSynchronizing = false;
  }
  ForEachControl([](TdxBarLargeButtonControl* c) { c->LargeGlyphChanged(); });
}

void TdxBarLargeButton::GlyphLayoutChanged() {
  ForEachControl([](TdxBarLargeButtonControl* c) { c->GlyphLayoutChanged(); });
}

void TdxBarLargeButton::HeightChanged() {
  ForEachControl([](TdxBarLargeButtonControl* c) { c->HeightChanged(); });
}

void TdxBarLargeButton::ShowCaptionChanged() {
  ForEachControl([](TdxBarLargeButtonControl* c) { c->ShowCaptionChanged(); });
}

void TdxBarLargeButton::WidthChanged() {
  ForEachControl([](TdxBarLargeButtonControl* c) { c->WidthChanged(); });
}

// ---- TdxBarLargeButtonControl ----

TdxBarLargeButton* TdxBarLargeButtonControl::GetLargeButton() const {
  return dynamic_cast<TdxBarLargeButton*>(GetItem());
}

TdxBarLargeButtonControl::TLargeImage TdxBarLargeButtonControl::ChooseImage(bool Hot) const {
  const TdxBarLargeButton* button = GetLargeButton();
  const TdxBarManager* manager = GetBarManager();
  auto source = [&](TBitmap* glyph, TCustomImageList* images, int index) {
    TLargeImage image;
    if ((image.Bitmap = NonEmpty(glyph))) return image;
    if ((image.Images = ListHolding(images, index))) image.Index = index;
    return image;
  };
  const TLargeImage large = source(button->GetLargeGlyph(), manager->GetLargeImages(), button->GetLargeImageIndex());
  const TLargeImage hot = source(button->GetHotGlyph(), manager->GetHotImages(), button->GetHotImageIndex());
  if (Hot) return hot.Found() ? hot : large;
  return large.Found() ? large : hot;
}

SIZE TdxBarLargeButtonControl::GetGlyphSize(bool& Available) const {
  const TLargeImage image = ChooseImage(false);
  Available = true;
  if (image.Bitmap) return SIZE{image.Bitmap->GetWidth(), image.Bitmap->GetHeight()};
  const TdxBarManager* manager = GetBarManager();
  TCustomImageList* list = image.Images       ? image.Images
                           : manager->GetLargeImages() ? manager->GetLargeImages()
                                                       : manager->GetHotImages();
  if (list) return SIZE{list->GetWidth(), list->GetHeight()};
  Available = false;
  return SIZE{20, 20};
}

TBitmap* TdxBarLargeButtonControl::GetGlyph() const {
  return OnToolbar() ? ChooseImage(IsSelected()).Bitmap : TdxBarButtonControl::GetGlyph();
}

int TdxBarLargeButtonControl::GetImageIndex() const {
  return OnToolbar() ? ChooseImage(IsSelected()).Index : TdxBarButtonControl::GetImageIndex();
}

TCustomImageList* TdxBarLargeButtonControl::GetImages() const {
  return OnToolbar() ? ChooseImage(IsSelected()).Images : TdxBarButtonControl::GetImages();
}

bool TdxBarLargeButtonControl::HasStateImageList() const {
  if (!OnToolbar()) return TdxBarButtonControl::HasStateImageList();
  return GetBarManager()->GetDisabledLargeImages() != nullptr || GetEnabled();
}

int TdxBarLargeButtonControl::GetArrowWidth() const {
  return OnToolbar() ? GetBarManager()->GetLargeButtonArrowWidth() : TdxBarButtonControl::GetArrowWidth();
}

int TdxBarLargeButtonControl::GetHeight() {
  return ShowsRotatedCaptions() && GetLargeButton()->GetShowCaption() ? GetDefaultWidth() : GetDefaultHeight();
}

int TdxBarLargeButtonControl::GetWidth() {
  int width =
      ShowsRotatedCaptions() && GetLargeButton()->GetShowCaption() ? GetDefaultHeight() : GetDefaultWidth();
  if (OnToolbar() && GetButtonStyle() == bsDropDown) width += GetArrowWidth();
  return width;
}

int TdxBarLargeButtonControl::GetDefaultHeight() {
  if (!OnToolbar()) return TdxBarButtonControl::GetDefaultHeight();
  const TdxBarLargeButton* button = GetLargeButton();
  if (button->GetHeight() != 0) return button->GetHeight();
  bool available;
  const SIZE glyph = GetGlyphSize(available);
  const bool across = ShowsRotatedCaptions() && button->GetShowCaption();
  int height = available ? (across ? glyph.cx : glyph.cy) + 6 : 26;
  if (button->GetShowCaption()) {
    const int text = TextSize(GetBarControl(), "Qq").cy;
    const TdxBarGlyphLayout layout = button->GetGlyphLayout();
    height = layout == glLeft || layout == glRight ? std::max(height, text + 6) : height + text + 1;
  }
  if (GetLowered()) height += 2 * GetPainter()->GetButtonBorderWidth();
  return height;
}

int TdxBarLargeButtonControl::GetDefaultWidth() {
  if (!OnToolbar()) return TdxBarButtonControl::GetDefaultWidth();
  const TdxBarLargeButton* button = GetLargeButton();
  if (button->GetWidth() != 0) return button->GetWidth();
  bool available;
  const SIZE glyph = GetGlyphSize(available);
  const bool across = ShowsRotatedCaptions() && button->GetShowCaption();
  int width = available ? (across ? glyph.cy : glyph.cx) + 10 : 30;
  if (button->GetShowCaption()) {
    const int text = TextSize(GetBarControl(), RemoveAmpersands(GetCaption())).cx;
    const TdxBarGlyphLayout layout = button->GetGlyphLayout();
    width = layout == glTop || layout == glBottom ? std::max(width, text + 16) : width + text + 6;
  }
  if (GetLowered()) width += 2 * GetPainter()->GetButtonBorderWidth();
  return width;
}

void TdxBarLargeButtonControl::Paint(const TRect& R, int PaintType) {
  if (PaintType == 1 || !OnToolbar()) {
    TdxBarButtonControl::Paint(R, PaintType);
    return;
  }
  if (R.left == R.right) return;
  const TdxBarLargeButton* button = GetLargeButton();
  HDC dc = GetBarControl()->GetCanvas()->GetHandle();
  TRect outer = R;
  if (GetLowered()) GetPainter()->DrawLoweredBorder(this, dc, outer);
  const bool dropDown = GetButtonStyle() == bsDropDown;
  TRect r = outer;
  if (dropDown) r.right -= GetArrowWidth();
  const TRect frame = dropDown && DroppedDown ? outer : r;
  const bool selected = DrawSelected();
  const bool pressed = (selected && GetBarControl()->GetActive() && IsMousePressedInside() && !DroppedDown) ||
                       (GetPressed() && GetButtonStyle() != bsChecked);
  InflateRect(&r, -1, -1);
  GetPainter()->OffsetPressedCaption(r, GetDown(), pressed);

  bool available;
  const SIZE size = GetGlyphSize(available);
  const bool caption = button->GetShowCaption(), rotated = PaintType == 2;
  const TdxBarGlyphLayout layout = button->GetGlyphLayout();
  int left, top;
  if (!caption) {
    left = r.left + 4;
    top = r.top + 2;
  } else if (!rotated) {
    if (layout == glTop || layout == glBottom) {
      left = r.left + (r.Width() - size.cx) / 2;
      top = layout == glTop ? r.top + 2 : r.bottom - 2 - size.cy;
    } else {
      top = r.top + (r.Height() - size.cy) / 2;
      left = layout == glLeft ? r.left + 4 : r.right - 4 - size.cx;
    }
  } else {
    if (layout == glTop || layout == glBottom) {
      top = r.top + (r.Height() - size.cy) / 2;
      left = layout == glTop ? r.right - 2 - size.cx : r.left + 2;
    } else {
      left = r.left + (r.Width() - size.cx) / 2;
      top = layout == glLeft ? r.top + 4 : r.bottom - 4 - size.cy;
    }
  }
  const TRect glyph(left, top, left + size.cx, top + size.cy);
  const bool grey = !selected && GetEnabled() && button->GetAutoGrayScale();
  const bool noImage = !ChooseImage(IsSelected()).Found();
  GetPainter()->DrawGlyphBox(this, frame, glyph, PaintType, noImage, selected, GetDown(), pressed, grey, dropDown);

  if (caption) DrawLargeCaption(dc, r, glyph, rotated, layout, pressed);
  if (dropDown) DrawDropDownButton(dc, outer, selected, PaintType);
}

void TdxBarLargeButtonControl::DrawLargeCaption(HDC dc, const TRect& r, const TRect& glyph, bool rotated,
                                                TdxBarGlyphLayout layout, bool pressed) {
  TRect text = r;
  int alignment = 1;
  if (!rotated) {
    switch (layout) {
    case glLeft: text.left = glyph.right + 3; alignment = 0; break;
    case glRight: text.right = glyph.left - 3; alignment = 2; break;
    case glTop: text.top = glyph.bottom; break;
    case glBottom: text.bottom = glyph.top; break;
    }
  } else {
    switch (layout) {
    case glLeft: text.top = glyph.bottom + 3; alignment = 0; break;
    case glRight: text.bottom = glyph.top - 3; alignment = 2; break;
    case glTop: text.right = glyph.left; break;
    case glBottom: text.left = glyph.right; break;
    }
  }
  const bool highlighted = GetPainter()->IsFlatStyle() && (pressed || (GetDown() && DrawSelected()));
  DrawCaption(dc, GetCaption(), text, alignment, GetEnabled(), highlighted, rotated, false, !highlighted);
}

void TdxBarLargeButtonControl::RebuildToolbar() {
  if (OnToolbar()) GetBarControl()->Rebuild();
}

void TdxBarLargeButtonControl::GlyphLayoutChanged() { RebuildToolbar(); }
void TdxBarLargeButtonControl::HeightChanged() { RebuildToolbar(); }
void TdxBarLargeButtonControl::ShowCaptionChanged() { RebuildToolbar(); }
void TdxBarLargeButtonControl::WidthChanged() { RebuildToolbar(); }
void TdxBarLargeButtonControl::HotGlyphChanged() { LargeGlyphChanged(); }

void TdxBarLargeButtonControl::LargeGlyphChanged() {
  if (!OnToolbar()) return;
  const TdxBarLargeButton* button = GetLargeButton();
  if (button->GetWidth() != 0 && button->GetHeight() != 0)
    Repaint();
  else
    GetBarControl()->Rebuild();
}
