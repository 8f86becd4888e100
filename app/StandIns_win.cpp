#include "StandIns.h"

#include "ImgList.h"

#include <memory>

TStandInButtonEdit::TStandInButtonEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  FEdit = new TEdit(this);
  FEdit->SetParent(this);
  FEdit->OnChange = [this](TObject*) {
    if (FProperties.OnEditValueChanged) FProperties.OnEditValueChanged(this);
  };
  FButton = new TButton(this);
  FButton->SetParent(this);
  FButton->SetCaption("...");
  FButton->OnClick = [this](TObject*) {
    if (FProperties.OnButtonClick) FProperties.OnButtonClick(this, 0);
  };
}

String TStandInButtonEdit::GetText() const {
  return FEdit->GetText();
}

void TStandInButtonEdit::SetText(const String& value) {
  FEdit->SetText(value);
}

void TStandInButtonEdit::SetEnabled(bool value) {
  TCustomControl::SetEnabled(value);
  FEdit->SetEnabled(value);
  FButton->SetEnabled(value);
}

void TStandInButtonEdit::SetFocus() {
  FEdit->SetFocus();
}

void TStandInButtonEdit::AlignControls(TControl*, TRect& Rect) {
  if (!FButton) return; // still being built
  // The button is square at the right end, as the editor's own button is.
  const int buttonWidth = Rect.Height();
  FEdit->SetBounds(0, 0, Rect.Width() - buttonWidth, Rect.Height());
  FButton->SetBounds(Rect.Width() - buttonWidth, 0, buttonWidth, Rect.Height());
}

TStrings* TStandInComboBoxProperties::GetItems() {
  return FCombo->GetItems();
}

void TStandInComboBox::SetItemIndex(int Index) {
  if (Index == GetItemIndex()) return;
  TComboBox::SetItemIndex(Index);
  Click();
}

namespace {

void SetGlyphFromImages(TCustomImageList* images, int imageIndex,
                        const std::function<void(TBitmap*)>& apply) {
  if (!images || imageIndex < 0 || imageIndex >= images->GetCount()) return;
  auto glyph = std::make_unique<TBitmap>();
  images->GetBitmap(imageIndex, glyph.get());
  apply(glyph.get());
}

} // namespace

TStandInLargeButton::TStandInLargeButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  Flat = true;
  Layout = blGlyphTop;
}

void TStandInLargeButton::SetImages(TCustomImageList* images, int imageIndex) {
  SetGlyphFromImages(images, imageIndex, [this](TBitmap* glyph) { SetGlyph(glyph); });
}
