// The image combo item: entries with images from an image list, drawn in
// its list and value area, and its "Select item" dialog.
#include "dxBarExtCombos.h"

#include "dxBarCommon.h"
#include "dxBarStrs.h"

#include "ImgList.h"

#include <algorithm>

namespace {

enum : UINT { sOK = 65037, sCancel = 65038, sSelectItem = 65065 };

} // namespace

// ---- The "Select item" dialogs ----

TdxBarSelectItemForm dxBarCreateSelectItemForm(TdxBarManager* Manager, TFormBorderStyle BorderStyle) {
  TdxBarSelectItemForm result;
  result.Form = std::make_unique<TForm>(nullptr);
  TForm* form = result.Form.get();
  form->SetBorderStyle(BorderStyle);
  if (BorderStyle == bsSizeable) form->SetBorderIcons(TBorderIcons{});
  form->SetCaption(dxBarString(sSelectItem));
  if (Manager) form->GetFont()->Assign(Manager->GetFont());
  form->Position = poScreenCenter;
  auto addButton = [form](UINT caption, TModalResult modalResult) {
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetCaption(dxBarString(caption));
    button->ModalResult = modalResult;
    return button;
  };
  result.OK = addButton(sOK, mrOk);
  result.OK->SetDefault(true);
  result.Cancel = addButton(sCancel, mrCancel);
  result.Cancel->Cancel = true;
  const SIZE zero = TextExtentOnScreen(form->GetFont()->GetHandle(), "0");
  result.ButtonWidth = 12 * zero.cx;
  result.ButtonHeight = MulDiv(zero.cy, 5, 3);
  result.Spacing = result.ButtonHeight / 4;
  return result;
}

void TdxBarSelectItemForm::PlaceButtons() {
  const int left = Form->GetClientWidth() - Spacing - ButtonWidth;
  OK->SetBounds(left, Spacing, ButtonWidth, ButtonHeight);
  Cancel->SetBounds(left, 2 * Spacing + ButtonHeight, ButtonWidth, ButtonHeight);
}

// ---- TdxBarImageCombo ----

TdxBarItemClass TdxBarImageCombo::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarImageCombo>("TdxBarImageCombo");
}

TdxBarImageCombo::TdxBarImageCombo(TComponent* AOwner)
    : TdxBarCustomCombo(AOwner), FImageChangeLink(std::make_unique<TChangeLink>()) {
  auto glyph = std::make_unique<TBitmap>();
  glyph->LoadFromResourceName(GetModuleHandleA(nullptr), "DXBARIMAGECOMBO");
  SetGlyph(glyph.get());
  SetShowEditor(false);
  FImageChangeLink->OnChange = [this](TObject*) {
    if (!IsLoading()) ImagesChanged();
  };
}

TdxBarImageCombo::~TdxBarImageCombo() {
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
}

void TdxBarImageCombo::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageChangeLink.get());
    FImages->RemoveFreeNotification(this);
  }
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink.get());
    FImages->FreeNotification(this);
  }
  if (!IsLoading()) ImagesChanged();
}

void TdxBarImageCombo::Notification(TComponent* AComponent, TOperation Operation) {
  TdxBarCustomCombo::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) SetImages(nullptr);
}

int TdxBarImageCombo::GetImageIndexes(int Index) const {
  return static_cast<int>(reinterpret_cast<intptr_t>(GetItems()->GetObject(Index))) - 1;
}

void TdxBarImageCombo::SetImageIndexes(int Index, int Value) {
  GetItems()->PutObject(Index, reinterpret_cast<void*>(static_cast<intptr_t>(Value + 1)));
  if (Index == GetItemIndex()) RepaintControls();
}

void TdxBarImageCombo::SetShowText(bool Value) {
  if (Value == FShowText) return;
  FShowText = Value;
  RepaintControls();
}

void TdxBarImageCombo::ImagesChanged() {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarImageComboControl*>(GetLink(i)->GetControl())) control->ImagesChanged();
}

TCanvas* TdxBarImageCombo::GetCanvas() const {
  return FDialogList ? FDialogList->GetCanvas() : TdxBarCustomCombo::GetCanvas();
}

void TdxBarImageCombo::DrawItem(int Index, const TRect& R, TOwnerDrawState State) {
  if (OnDrawItem || !FImages) return TdxBarCustomCombo::DrawItem(Index, R, State);
  TCanvas* canvas = GetCanvas();
  canvas->FillRect(R);
  const int w = FImages->GetWidth(), h = FImages->GetHeight();
  const int top = R.top + (R.Height() - h) / 2;
  int left = FShowText ? R.left + 1 : R.left + (R.Width() - w) / 2;
  const bool entry = Index >= 0 && Index < GetItems()->GetCount();
  const int image = entry ? GetImageIndexes(Index) : -1;
  int boxWidth = w;
  if (image < 0 || image >= FImages->GetCount()) {
    // Outside editing the text moves to the left edge.
    if (!GetFocusedLink()) boxWidth = 0;
  } else {
    FImages->Draw(canvas, left, top, image, true);
  }
  if (FShowText) {
    const String text = entry ? GetItems()->Get(Index) : GetText();
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(left + boxWidth + 2, R.top + (R.Height() - canvas->TextHeight(text)) / 2, text);
    canvas->GetBrush()->SetStyle(bsSolid);
  }
  if (State.Contains(odFocused)) canvas->DrawFocusRect(R);
}

void TdxBarImageCombo::MeasureItem(int Index, int& Height) {
  TdxBarCustomCombo::MeasureItem(Index, Height);
  if (!OnMeasureItem && FImages) Height = std::max(Height, FImages->GetHeight() + 2);
}

void TdxBarImageCombo::MeasureItemWidth(int Index, int& Width) {
  TdxBarCustomCombo::MeasureItemWidth(Index, Width);
  if (!FShowText) Width = 0;
  if (FImages) Width += FImages->GetWidth() + 2;
}

void TdxBarImageCombo::DoClick() {
  TdxBarCustomCombo::DoClick();
  if (!OnClick && !ReadOnly) RunDialog();
}

void TdxBarImageCombo::RunDialog() {
  TdxBarSelectItemForm dialog = dxBarCreateSelectItemForm(GetBarManager(), bsDialog);
  TForm* form = dialog.Form.get();
  auto* list = new TListBox(form);
  list->SetParent(form);
  list->SetStyle(lbOwnerDrawVariable);
  list->GetItems()->Assign(*GetItems());
  list->OnDrawItem = [this](TWinControl*, int index, const TRect& r, TOwnerDrawState state) {
    DrawItem(index, r, state);
  };
  list->OnMeasureItem = [this](TWinControl*, int index, int& height) { MeasureItem(index, height); };
  list->OnDblClick = [form](TObject*) { form->SetModalResult(mrOk); };

  FDialog = form;
  FDialogList = list;
  struct TForget {
    TdxBarImageCombo* Combo;
    ~TForget() {
      Combo->FDialog = nullptr;
      Combo->FDialogList = nullptr;
    }
  } forget{this};
  // Rows are measured as the window is made: the canvas has the font first.
  TCanvas* canvas = list->GetCanvas();
  canvas->GetFont()->Assign(form->GetFont());
  list->HandleNeeded();
  // The first entry's height as the list measured it.
  const int rowHeight = GetItems()->GetCount() > 0 ? list->ItemRect(0).Height() : 0;
  const int listWidth = GetDropDownWidth() - 4;
  if (auto* controlCanvas = dynamic_cast<TControlCanvas*>(canvas)) controlCanvas->FreeHandle();
  const int bw = dialog.ButtonWidth, bh = dialog.ButtonHeight, e = dialog.Spacing;
  const int rows = std::min(GetItems()->GetCount(), DropDownCount);
  list->SetBounds(e, e, listWidth, 100);
  const int frameWidth = list->GetWidth() - list->GetClientWidth();
  const int frameHeight = list->GetHeight() - list->GetClientHeight();
  list->SetBounds(e, e, listWidth + frameWidth, std::max(rows * rowHeight, e + 2 * bh) + frameHeight);
  form->SetClientWidth(list->GetWidth() + bw + 3 * e);
  form->SetClientHeight(list->GetHeight() + 2 * e);
  dialog.PlaceButtons();
  list->SetItemIndex(GetItemIndex());
  if (form->ShowModal() == mrOk) SetItemIndex(list->GetItemIndex());
}

// ---- TdxBarImageComboControl ----

int TdxBarImageComboControl::GetHeight() {
  int height = TdxBarComboControl::GetHeight();
  auto* combo = dynamic_cast<TdxBarImageCombo*>(GetItem());
  if (combo && combo->GetImages() && !ShowsRotatedCaptions())
    height = std::max(height, combo->GetImages()->GetHeight() + 6);
  return height;
}

void TdxBarImageComboControl::ImagesChanged() { GetBarControl()->Rebuild(); }
