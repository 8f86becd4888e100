#include "cxFontNameComboBox.h"

#include "cxExtEditUtils.h"

#include "SysUtils.h"

namespace {

const char* const kFullAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 1234567890";
// Room under the last most-recently-used row for its double line.
constexpr int kSeparatorHeight = 3;

const TFontStyle kButtonStyles[] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
const char* const kButtonCaptions[] = {"B", "I", "U", "S"};

} // namespace

// ---- TcxFontNameComboBoxListBox ----

TcxCustomFontNameComboBox* TcxFontNameComboBoxListBox::GetFontEdit() const {
  return static_cast<TcxCustomFontNameComboBox*>(GetEdit());
}

int TcxFontNameComboBoxListBox::GetItemHeight(int AIndex) {
  TcxCustomFontNameComboBoxProperties* properties = GetFontEdit()->GetActiveProperties();
  int height = TcxCustomEditListBox::GetItemHeight(-1);
  const int iconHeight = cxFontTypeIcon(true) ? cxFontTypeIcon(true)->GetHeight() : 13;
  if (properties->GetUseOwnFont())
    height += 4;
  else if (iconHeight >= height)
    height = iconHeight + 4;
  if (AIndex >= 0 && properties->OnMeasureItem) properties->OnMeasureItem(GetFontEdit(), AIndex, height);
  if (AIndex == properties->GetMRUFontNames()->GetCount() - 1) height += kSeparatorHeight;
  return height;
}

void TcxFontNameComboBoxListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (DrawItemByEvent(Index, Rect, State)) return;
  TcxCustomFontNameComboBoxProperties* properties = GetFontEdit()->GetActiveProperties();
  TcxCanvas* canvas = GetcxCanvas();
  const TColor brushColor = canvas->GetBrush()->GetColor();
  const String text = GetItemText(Index);
  if (properties->GetUseOwnFont()) canvas->GetFont()->SetName(text);
  TBitmap* icon = cxFontTypeIcon(properties->GetItemFontTypes(Index).Contains(cxftTTF));
  canvas->FillRect(Rect);
  const bool lastMRU = Index == properties->GetMRUFontNames()->GetCount() - 1;
  TRect r = Rect;
  // The icon and the text keep clear of the double line.
  if (lastMRU) r.bottom -= kSeparatorHeight;
  const int flags = tfCenterY | tfEndEllipsis;
  if (properties->GetShowFontTypeIcon().Contains(ftiShowInList) && icon) {
    const int a = (r.Height() - icon->GetHeight()) / 2;
    canvas->Draw(r.left + a, r.top + a, icon);
    r.left += icon->GetWidth() + a + 6;
  } else {
    r.left += 2;
  }
  SetBkMode(canvas->GetHandle(), TRANSPARENT);
  if (properties->GetUseOwnFont() && (properties->GetItemFontFlags(Index) & cxFontFlagSymbol)) {
    canvas->GetFont()->SetName("MS Sans Serif");
    canvas->DrawText(text, r, flags);
    r.left += canvas->TextWidth(text) + 4;
    canvas->GetFont()->SetName(text);
  }
  canvas->DrawText(text, r, flags);
  if (lastMRU) {
    canvas->GetPen()->SetColor(State.Contains(odSelected) ? clWindow : clWindowText);
    for (int y : {Rect.bottom - 3, Rect.bottom - 1}) {
      canvas->MoveTo(Rect.left, y);
      canvas->LineTo(Rect.right, y);
    }
  }
  canvas->GetBrush()->SetColor(brushColor);
  // The list draws the focus rectangle of a focused row itself.
  if (State.Contains(odSelected) && !State.Contains(odFocused)) canvas->DrawFocusRect(Rect);
}

// ---- TFontPreviewPanel ----

TFontPreviewPanel::TFontPreviewPanel(TComponent* AOwner)
    : TCustomControl(AOwner), FcxCanvas(std::make_unique<TcxCanvas>(GetCanvas())),
      FLookAndFeel(std::make_unique<TcxLookAndFeel>(this)) {
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption,
                               csOpaque};
  SetBounds(GetLeft(), GetTop(), 100, 40);
  SetColor(clWindow);
  CreateStyleButtons();
}

TFontPreviewPanel::~TFontPreviewPanel() {
  for (TcxFontPanelButton*& button : FButtons) {
    delete button;
    button = nullptr;
  }
  FLookAndFeel.reset();
  FcxCanvas.reset();
}

void TFontPreviewPanel::CreateStyleButtons() {
  for (int i = cxfbtBold; i <= cxfbtStrikeOut; ++i) {
    auto* button = new TcxFontPanelButton(this);
    button->SetParent(this);
    button->SetCaption(kButtonCaptions[i]);
    if (i == cxfbtBold) {
      button->GetFont()->SetName("Arial");
      button->GetFont()->SetSize(8);
      button->SetBounds(0, 0, FontTextWidth(button->GetFont(), "B") + 8, FontTextHeight(button->GetFont()) + 2);
    } else {
      button->GetFont()->Assign(FButtons[cxfbtBold]->GetFont());
      button->SetBounds(0, 0, FButtons[cxfbtBold]->GetWidth(), FButtons[cxfbtBold]->GetHeight());
    }
    button->SetUseSystemPaint(true);
    button->Tag = i;
    button->OnClick = [this](TObject* Sender) { StyleButtonClick(Sender); };
    FButtons[i] = button;
  }
}

void TFontPreviewPanel::ArrangeStyleButtons() {
  for (TcxFontPanelButton* button : FButtons)
    button->SetVisible(FShowButtons);
  if (!FShowButtons) return;
  int left = GetWidth();
  for (int i = cxfbtStrikeOut; i >= cxfbtBold; --i) {
    TcxFontPanelButton* button = FButtons[i];
    button->SetLookAndFeel(FLookAndFeel.get());
    left -= button->GetWidth() + 1;
    button->SetBounds(left, GetHeight() - button->GetHeight() - 2, button->GetWidth(), button->GetHeight());
  }
}

void TFontPreviewPanel::UpdateStyleButtons() {
  for (int i = cxfbtBold; i <= cxfbtStrikeOut; ++i) {
    const bool on = (FFontStyle & (1 << i)) != 0;
    FButtons[i]->GetColors()->SetColor(cxbsNormal, on ? BlendHighlightColorLight() : clDefault);
    FButtons[i]->GetFont()->SetStyle(on ? TFontStyles{fsBold} : TFontStyles());
  }
}

void TFontPreviewPanel::StyleButtonClick(TObject* Sender) {
  auto* button = static_cast<TcxFontPanelButton*>(Sender);
  const int type = button->Tag;
  FFontStyle ^= 1 << type;
  if (FontPreview) {
    FontPreview->SetFontStyle(GetFontStyle());
    if (FontPreview->OnButtonClick) FontPreview->OnButtonClick(this, static_cast<TcxFontButtonType>(type));
  }
  const bool wasNormal = button->GetColors()->GetColor(cxbsNormal) == clDefault;
  button->GetColors()->SetColor(cxbsNormal, wasNormal ? BlendHighlightColorLight() : clDefault);
  button->GetFont()->SetStyle(wasNormal ? TFontStyles{fsBold} : TFontStyles());
  Invalidate();
}

TFontStyles TFontPreviewPanel::GetFontStyle() const {
  TFontStyles styles;
  for (int i = cxfbtBold; i <= cxfbtStrikeOut; ++i)
    if (FFontStyle & (1 << i)) styles.Include(kButtonStyles[i]);
  return styles;
}

void TFontPreviewPanel::Changed() {
  if (!FLocked) Invalidate();
}

void TFontPreviewPanel::SetLocked(bool Value) {
  FLocked = Value;
  if (!Value) Invalidate();
}

void TFontPreviewPanel::SetFontStyleFlags(int Value) {
  FFontStyle = Value;
  UpdateStyleButtons();
}

void TFontPreviewPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed();
}

void TFontPreviewPanel::SetShowEndEllipsis(bool Value) {
  FShowEndEllipsis = Value;
  Changed();
}

void TFontPreviewPanel::SetBorders(TcxBorders Value) {
  FBorders = Value;
  Changed();
}

void TFontPreviewPanel::SetFontName(const String& Value) {
  FFontName = Value;
  Changed();
}

void TFontPreviewPanel::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Changed();
}

void TFontPreviewPanel::SetShowButtons(bool Value) {
  if (Value == FShowButtons) return;
  FShowButtons = Value;
  ArrangeStyleButtons();
}

int TFontPreviewPanel::GetDrawTextFormat(int ABase) const {
  static const int kAlignments[] = {0, DT_RIGHT, DT_CENTER};
  int format = ABase | kAlignments[FAlignment] | DT_VCENTER;
  if (FShowEndEllipsis) format |= DT_END_ELLIPSIS;
  if (FWordWrap) format |= DT_WORDBREAK;
  return format;
}

// Grows the size while the measured sample fits R. A size whose sample
// extent is no larger than the one before (a raster font has few sizes)
// ends the growth, and so does a size beyond R's height, which no sample
// can fit.
void TFontPreviewPanel::FitPreviewFont(const TRect& R) {
  TFont* font = GetCanvas()->GetFont();
  font->SetName(FFontName.empty() ? String("Arial") : FFontName);
  int size = 8;
  font->SetSize(size);
  font->SetStyle(GetFontStyle());
  FFittedSize = size;
  const String text = GetText();
  if (Trim(text).empty()) return;
  const int format = GetDrawTextFormat(DT_CALCRECT | DT_NOPREFIX);
  RECT m{R.left, R.top, R.right - 1, R.top + 1};
  SIZE last{-1, -1};
  auto fits = [&] { return m.bottom - m.top <= R.Height() && m.right - m.left <= R.Width(); };
  while (fits()) {
    // The handle selects the font of the current size.
    DrawTextA(GetCanvas()->GetHandle(), text.c_str(), static_cast<int>(text.size()), &m, format);
    if (!fits()) {
      if (size > 8) font->SetSize(--size);
      break;
    }
    SIZE extent{0, 0};
    GetTextExtentPoint32A(GetCanvas()->GetHandle(), text.c_str(), static_cast<int>(text.size()), &extent);
    if ((extent.cx == last.cx && extent.cy == last.cy) || size > R.Height()) break;
    last = extent;
    font->SetSize(++size);
  }
  FFittedSize = size;
}

void TFontPreviewPanel::Paint() {
  TRect r = GetClientRect();
  FcxCanvas->GetBrush()->SetColor(GetColor());
  FcxCanvas->FillRect(r);
  FcxCanvas->FrameRect(r, FFrameColor, 1, FBorders);
  InflateRect(&r, -2, -2);
  FcxCanvas->GetBrush()->SetStyle(bsClear);
  FitPreviewFont(r);
  const String text = GetText();
  RECT textRect = r;
  SetBkMode(GetCanvas()->GetHandle(), TRANSPARENT);
  DrawTextA(GetCanvas()->GetHandle(), text.c_str(), static_cast<int>(text.size()), &textRect,
            GetDrawTextFormat(DT_NOPREFIX));
}

// ---- TcxFontNameComboBoxLookupData ----

TcxFontNameComboBoxLookupData::TcxFontNameComboBoxLookupData(TcxCustomTextEdit* AOwner)
    : TcxComboBoxLookupData(AOwner) {}

// The popup window owns the pane.
TcxFontNameComboBoxLookupData::~TcxFontNameComboBoxLookupData() {
  FPreviewPanel = nullptr;
}

TcxCustomFontNameComboBox* TcxFontNameComboBoxLookupData::GetFontEdit() const {
  return static_cast<TcxCustomFontNameComboBox*>(GetEdit());
}

TcxCustomEditListBox* TcxFontNameComboBoxLookupData::CreateListBox(TComponent* AOwner) {
  return new TcxFontNameComboBoxListBox(AOwner, GetFontEdit());
}

String TcxFontNameComboBoxLookupData::GetSelectedFontName() {
  return GetItemIndex() == -1 ? String() : GetItemText(GetItemIndex());
}

String TcxFontNameComboBoxLookupData::GetPreviewText() {
  TcxFontPreview* preview = GetFontEdit()->GetActiveProperties()->GetFontPreview();
  switch (preview->GetPreviewType()) {
  case cxfpCustom:
    return preview->GetPreviewText();
  case cxfpFullAlphabet:
    return kFullAlphabet;
  default:
    return GetSelectedFontName();
  }
}

void TcxFontNameComboBoxLookupData::SyncItemIndexWithMRU() {
  const int mruCount = GetFontEdit()->GetActiveProperties()->GetMRUFontNames()->GetCount();
  if (GetItemIndex() <= mruCount - 1) return;
  const int a = GetFontEdit()->GetActiveProperties()->GetItems()->IndexOf(GetItemText(GetItemIndex()));
  if (a >= 0) SetCurrentKey(a);
}

SIZE TcxFontNameComboBoxLookupData::CalculateListSize(int AMaxHeight, int AWidth) {
  SIZE size = TcxComboBoxLookupData::CalculateListSize(AMaxHeight, AWidth);
  if (GetFontEdit()->GetActiveProperties()->GetFontPreview()->GetVisible()) size.cy += PreviewHeight;
  return size;
}

void TcxFontNameComboBoxLookupData::PrepareListBox(TWinControl* AParent) {
  // Row heights are measured as rows are added: the rows are made again, so
  // that a changed most-recently-used part shows its line at its last row.
  if (TcxCustomEditListBox* list = GetList()) list->GetItems()->Clear();
  TcxComboBoxLookupData::PrepareListBox(AParent);
  if (GetFontEdit()->GetActiveProperties()->GetFontPreview()->GetVisible())
    PreparePreviewPanel(AParent);
  else if (FPreviewPanel && FPreviewPanel->HandleAllocated())
    FPreviewPanel->SetVisible(false);
}

void TcxFontNameComboBoxLookupData::PreparePreviewPanel(TWinControl* AParent) {
  TcxFontPreview* preview = GetFontEdit()->GetActiveProperties()->GetFontPreview();
  if (!FPreviewPanel) {
    FPreviewPanel = new TFontPreviewPanel(AParent);
    FPreviewPanel->FontPreview = preview;
  }
  TFontPreviewPanel* pane = FPreviewPanel;
  const bool named = preview->GetPreviewType() == cxfpFontName;
  pane->SetLocked(true);
  try {
    pane->SetBorders(TcxBorders{bBottom});
    pane->SetText(GetPreviewText());
    pane->SetFontName(GetSelectedFontName());
    pane->SetBounds(pane->GetLeft(), pane->GetTop(), pane->GetWidth(), PreviewHeight);
    int flags = 0;
    for (int i = cxfbtBold; i <= cxfbtStrikeOut; ++i)
      if (preview->GetFontStyle().Contains(kButtonStyles[i])) flags |= 1 << i;
    pane->SetFontStyleFlags(flags);
    pane->SetColor(preview->GetColor());
    pane->SetShowEndEllipsis(preview->GetShowEndEllipsis() && !named);
    pane->SetAlignment(preview->GetAlignment());
    pane->SetWordWrap(preview->GetWordWrap() && !named);
    pane->GetLookAndFeel()->Assign(GetFontEdit()->GetStyle()->GetLookAndFeel());
    pane->SetShowButtons(preview->GetShowButtons());
    pane->SetParent(AParent);
    pane->SetVisible(true);
  } catch (...) {
    pane->SetLocked(false);
    throw;
  }
  pane->SetLocked(false);
}

// The pane takes the top of the content, the list the rest.
void TcxFontNameComboBoxLookupData::SetListBoxBounds(const TRect& R) {
  TcxCustomEditListBox* list = GetList();
  if (!list) return;
  const bool pane = GetFontEdit()->GetActiveProperties()->GetFontPreview()->GetVisible() && FPreviewPanel &&
                    FPreviewPanel->HandleAllocated();
  if (!pane) return list->SetBounds(R.left, R.top, R.Width(), R.Height());
  FPreviewPanel->SetBounds(R.left, R.top, R.Width(), PreviewHeight);
  FPreviewPanel->ArrangeStyleButtons();
  list->SetBounds(R.left, R.top + PreviewHeight, R.Width(), R.Height() - PreviewHeight);
}

void TcxFontNameComboBoxLookupData::ListItemClicked() {
  TcxComboBoxLookupData::ListItemClicked();
  if (!FPreviewPanel || !FPreviewPanel->HandleAllocated()) return;
  FPreviewPanel->SetLocked(true);
  if (GetItemIndex() >= 0) FPreviewPanel->SetFontName(GetSelectedFontName());
  if (GetFontEdit()->GetActiveProperties()->GetFontPreview()->GetPreviewType() != cxfpFullAlphabet)
    FPreviewPanel->SetText(GetPreviewText());
  FPreviewPanel->SetLocked(false);
}
