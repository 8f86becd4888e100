#include "cxButtons.h"

#include "ActnList.h"
#include "Forms.h"

#include <algorithm>

namespace {

constexpr int kArrowWidth = 15;
// Where the mask is white the brush paints, elsewhere the target stays.
constexpr DWORD ropDSPDxax = 0x00E20746;

TPoint MessagePoint(const TMessage& Message) {
  return TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
}

std::unique_ptr<TcxGlyphCache> Cache;
int GlyphCount = 0;

TcxGlyphCache* EnsureGlyphCache() {
  if (!Cache) Cache = std::make_unique<TcxGlyphCache>();
  return Cache.get();
}

// A monochrome bitmap of the source's pixels that have the colour: those
// bits are set, all others clear.
HBITMAP CreateColorMask(HDC ASource, int AWidth, int AHeight, TColor AColor) {
  HBITMAP mask = CreateBitmap(AWidth, AHeight, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(ASource);
  HGDIOBJ old = SelectObject(dc, mask);
  const COLORREF oldBack = SetBkColor(ASource, ColorToRGB(AColor));
  BitBlt(dc, 0, 0, AWidth, AHeight, ASource, 0, 0, SRCCOPY);
  SetBkColor(ASource, oldBack);
  SelectObject(dc, old);
  DeleteDC(dc);
  return mask;
}

// Paints the brush colour where the mask is set, moved by (X, Y).
void BlendMask(TCanvas* ATarget, HBITMAP AMask, int AWidth, int AHeight, TColor ABrushColor, int X, int Y) {
  HDC dc = ATarget->GetHandle();
  HDC maskDC = CreateCompatibleDC(dc);
  HGDIOBJ oldMask = SelectObject(maskDC, AMask);
  HBRUSH brush = CreateSolidBrush(ColorToRGB(ABrushColor));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, X, Y, AWidth, AHeight, maskDC, 0, 0, ropDSPDxax);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  SelectObject(maskDC, oldMask);
  DeleteDC(maskDC);
}

void ReplaceColor(TBitmap* AImage, TColor AColor, TColor ANewColor) {
  const int w = AImage->GetWidth(), h = AImage->GetHeight();
  HBITMAP mask = CreateColorMask(AImage->GetCanvas()->GetHandle(), w, h, AColor);
  BlendMask(AImage->GetCanvas(), mask, w, h, ANewColor, 0, 0);
  DeleteObject(mask);
}

} // namespace

// ---- Colours ----

TcxButtonColors::TcxButtonColors(TcxCustomButton* AButton) : FButton(AButton) {
  std::fill(std::begin(FColors), std::end(FColors), clDefault);
}

void TcxButtonColors::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxButtonColors*>(Source);
  if (!source) return TPersistent::Assign(Source);
  std::copy(std::begin(source->FColors), std::end(source->FColors), std::begin(FColors));
  FAssignedColors = source->FAssignedColors;
  FButton->Invalidate();
}

void TcxButtonColors::SetColor(TcxButtonState AState, TColor Value) {
  if (Value == clNone || Value == clDefault) {
    if (!FAssignedColors.Contains(AState)) return;
    FColors[AState] = clDefault;
    FAssignedColors.Exclude(AState);
  } else {
    if (Value == FColors[AState]) return;
    FColors[AState] = Value;
    FAssignedColors.Include(AState);
  }
  FButton->Invalidate();
}

// ---- Glyph lists and their cache ----

TcxGlyphList::TcxGlyphList(int AWidth, int AHeight) : TImageList(nullptr) {
  SetWidth(AWidth);
  SetHeight(AHeight);
}

int TcxGlyphList::AddMasked(TBitmap* AImage, TColor AMaskColor) {
  const int slot = static_cast<int>(std::find(FUsed.begin(), FUsed.end(), false) - FUsed.begin());
  const int index = TImageList::AddMasked(AImage, AMaskColor);
  if (slot < index) {
    // The new image takes the free slot's place, so the other glyphs'
    // indexes stay where they are.
    ImageList_Copy(GetHandle(), slot, GetHandle(), index, ILCF_MOVE);
    TImageList::Delete(index);
  } else {
    FUsed.push_back(false);
  }
  FUsed[static_cast<size_t>(slot)] = true;
  ++FCount;
  return slot;
}

void TcxGlyphList::Delete(int AIndex) {
  if (AIndex < 0 || AIndex >= static_cast<int>(FUsed.size()) || !FUsed[static_cast<size_t>(AIndex)]) return;
  FUsed[static_cast<size_t>(AIndex)] = false;
  --FCount;
}

TcxGlyphCache::TcxGlyphCache() = default;
TcxGlyphCache::~TcxGlyphCache() = default;

TcxGlyphList* TcxGlyphCache::GetList(int AWidth, int AHeight) {
  for (auto it = FLists.rbegin(); it != FLists.rend(); ++it)
    if ((*it)->GetWidth() == AWidth && (*it)->GetHeight() == AHeight) return it->get();
  return FLists.emplace_back(std::make_unique<TcxGlyphList>(AWidth, AHeight)).get();
}

void TcxGlyphCache::ReturnList(TcxGlyphList* AList) {
  if (!AList || AList->GetImageCount() > 0) return;
  std::erase_if(FLists, [AList](const auto& list) { return list.get() == AList; });
}

TcxGlyphCache* GlyphCache() {
  return Cache.get();
}

// ---- Glyph ----

TcxButtonGlyph::TcxButtonGlyph() : FOriginal(std::make_unique<TBitmap>()) {
  ++GlyphCount;
  FOriginal->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
}

TcxButtonGlyph::~TcxButtonGlyph() {
  FOriginal->OnChange = nullptr;
  Invalidate();
  if (--GlyphCount == 0 && Cache && Cache->GetListCount() == 0) Cache.reset();
}

void TcxButtonGlyph::GlyphChanged(TObject*) {
  Invalidate();
  if (OnChange) OnChange(this);
}

void TcxButtonGlyph::Invalidate() {
  for (int& index : FIndexes) {
    if (index >= 0 && FGlyphList) FGlyphList->Delete(index);
    index = -1;
  }
  if (Cache) Cache->ReturnList(FGlyphList);
  FGlyphList = nullptr;
}

void TcxButtonGlyph::SetGlyph(const TBitmap* Value) {
  Invalidate();
  if (!Value) {
    FOriginal->SetSize(0, 0);
    return;
  }
  FOriginal->Assign(Value);
  const int w = Value->GetWidth(), h = Value->GetHeight();
  if (w > 0 && h > 0 && w % h == 0) {
    const int count = w / h;
    FNumGlyphs = count > 4 ? 1 : count;
  }
}

void TcxButtonGlyph::SetNumGlyphs(int Value) {
  if (Value == 0 || Value == FNumGlyphs) return;
  Invalidate();
  FNumGlyphs = Value;
  if (OnChange) OnChange(this);
}

SIZE TcxButtonGlyph::ImageSize() const {
  return SIZE{FOriginal->GetWidth() / FNumGlyphs, FOriginal->GetHeight()};
}

int TcxButtonGlyph::StateImageIndex(TcxButtonState AState) {
  TImageKind kind = ikUp;
  if (AState == cxbsPressed && FNumGlyphs >= 3) kind = ikDown;
  if (AState == cxbsDisabled) kind = ikDisabled;
  if (FIndexes[kind] != -1) return FIndexes[kind];
  if (FOriginal->GetEmpty()) return -1;
  const SIZE size = ImageSize();
  if (!FGlyphList) FGlyphList = EnsureGlyphCache()->GetList(size.cx, size.cy);
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  image.SetSize(size.cx, size.cy);
  image.GetCanvas()->GetBrush()->SetColor(clBtnFace);
  const int pos = kind < FNumGlyphs ? kind : 0;
  if (kind == ikDisabled) {
    BuildDisabledImage(&image, pos);
    FIndexes[kind] = FGlyphList->AddMasked(&image, clDefault);
  } else {
    image.GetCanvas()->CopyRect(TRect(0, 0, size.cx, size.cy), FOriginal->GetCanvas(),
                                Bounds(pos * size.cx, 0, size.cx, size.cy));
    const bool fixed = FOriginal->GetTransparentMode() == tmFixed;
    FIndexes[kind] = FGlyphList->AddMasked(&image, fixed ? FTransparentColor : clDefault);
  }
  return FIndexes[kind];
}

void TcxButtonGlyph::BuildDisabledImage(TBitmap* AImage, int AImagePos) {
  const int w = AImage->GetWidth(), h = AImage->GetHeight();
  TCanvas* canvas = AImage->GetCanvas();
  const TRect source = Bounds(AImagePos * w, 0, w, h);
  if (FNumGlyphs > 1) {
    // The strip's own disabled image, in the system's colours.
    canvas->CopyRect(TRect(0, 0, w, h), FOriginal->GetCanvas(), source);
    ReplaceColor(AImage, clWhite, clBtnHighlight);
    ReplaceColor(AImage, clGray, clBtnShadow);
    ReplaceColor(AImage, FTransparentColor, clBtnFace);
    return;
  }
  // Embossed: the black outline in highlight, moved by a pixel, under the
  // same outline in shadow.
  TBitmap up;
  up.SetPixelFormat(pf32bit);
  up.SetSize(w, h);
  up.GetCanvas()->CopyRect(TRect(0, 0, w, h), FOriginal->GetCanvas(), source);
  HBITMAP mask = CreateColorMask(up.GetCanvas()->GetHandle(), w, h, clBlack);
  canvas->FillRect(TRect(0, 0, w, h));
  BlendMask(canvas, mask, w, h, clBtnHighlight, 1, 1);
  BlendMask(canvas, mask, w, h, clBtnShadow, 0, 0);
  DeleteObject(mask);
}

void TcxButtonGlyph::CalcLayout(const TRect& AClient, const TPoint& AOffset, const String& ACaption,
                                TButtonLayout ALayout, int AMargin, int ASpacing, TPoint& AGlyphPos,
                                TRect& ATextBounds, int ABiDiFlags, TCanvas* ACanvas) {
  if (ABiDiFlags & DT_RTLREADING) {
    if (ALayout == blGlyphLeft)
      ALayout = blGlyphRight;
    else if (ALayout == blGlyphRight)
      ALayout = blGlyphLeft;
  }
  const int W = AClient.Width(), H = AClient.Height();
  RECT text{0, 0, W, 0};
  if (!ACaption.empty())
    DrawTextA(ACanvas->GetHandle(), ACaption.c_str(), static_cast<int>(ACaption.size()), &text,
              DT_CALCRECT | ABiDiFlags);
  const SIZE caption = ACaption.empty() ? SIZE{0, 0} : SIZE{text.right - text.left, text.bottom - text.top};
  const SIZE glyph = FOriginal->GetEmpty() ? SIZE{0, 0} : ImageSize();
  const bool horizontal = ALayout == blGlyphLeft || ALayout == blGlyphRight;
  TPoint g, t;
  if (horizontal) {
    g.y = (H - glyph.cy + 1) / 2;
    t.y = (H - caption.cy + 1) / 2;
  } else {
    g.x = (W - glyph.cx + 1) / 2;
    t.x = (W - caption.cx + 1) / 2;
  }
  if (caption.cx == 0 || glyph.cx == 0) ASpacing = 0;
  const int C = horizontal ? W : H;
  const int G = horizontal ? glyph.cx : glyph.cy;
  const int T = horizontal ? caption.cx : caption.cy;
  if (AMargin == -1 && ASpacing == -1) {
    AMargin = ASpacing = (C - G - T) / 3;
  } else if (AMargin == -1) {
    AMargin = (C - (G + ASpacing + T) + 1) / 2;
  } else if (ASpacing == -1) {
    ASpacing = (C - AMargin - G - T) / 2;
  }
  switch (ALayout) {
  case blGlyphLeft:
    g.x = AMargin;
    t.x = g.x + glyph.cx + ASpacing;
    break;
  case blGlyphRight:
    g.x = W - AMargin - glyph.cx;
    t.x = g.x - ASpacing - caption.cx;
    break;
  case blGlyphTop:
    g.y = AMargin;
    t.y = g.y + glyph.cy + ASpacing;
    break;
  case blGlyphBottom:
    g.y = H - AMargin - glyph.cy;
    t.y = g.y - ASpacing - caption.cy;
    break;
  }
  const int dx = AClient.left + AOffset.x, dy = AClient.top + AOffset.y;
  AGlyphPos = TPoint(g.x + dx, g.y + dy);
  ATextBounds = Bounds(t.x + dx, t.y + dy, caption.cx, caption.cy);
}

void TcxButtonGlyph::DrawStateGlyph(TcxCanvas* ACanvas, const TPoint& APos, TcxButtonState AState) {
  const int index = StateImageIndex(AState);
  if (index < 0) return;
  ImageList_Draw(FGlyphList->GetHandle(), index, ACanvas->GetHandle(), APos.x, APos.y, ILD_TRANSPARENT);
}

void TcxButtonGlyph::DrawContent(TcxCanvas* ACanvas, const TRect& AClient, const TPoint& AOffset,
                                 const String& ACaption, TButtonLayout ALayout, int AMargin, int ASpacing,
                                 TcxButtonState AState, int ABiDiFlags) {
  TPoint glyphPos;
  TRect textBounds;
  CalcLayout(AClient, AOffset, ACaption, ALayout, AMargin, ASpacing, glyphPos, textBounds, ABiDiFlags,
             ACanvas->GetCanvas());
  DrawStateGlyph(ACanvas, glyphPos, AState);
  if (ACaption.empty()) return;
  const TBrushStyle style = ACanvas->GetBrush()->GetStyle();
  ACanvas->GetBrush()->SetStyle(bsClear);
  const UINT flags = ABiDiFlags | DT_CENTER | DT_VCENTER;
  auto draw = [&](TRect r) {
    DrawTextA(ACanvas->GetHandle(), ACaption.c_str(), static_cast<int>(ACaption.size()), &r, flags);
  };
  if (AState == cxbsDisabled) {
    const TColor color = ACanvas->GetFont()->GetColor();
    ACanvas->GetFont()->SetColor(clBtnHighlight);
    draw(TRect(textBounds.left + 1, textBounds.top + 1, textBounds.right + 1, textBounds.bottom + 1));
    ACanvas->GetFont()->SetColor(color);
  }
  draw(textBounds);
  ACanvas->GetBrush()->SetStyle(style);
}

// ---- Button ----

TcxCustomButton::TcxCustomButton(TComponent* AOwner)
    : TButton(AOwner), FGlyph(std::make_unique<TcxButtonGlyph>()) {
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
  FColors = std::make_unique<TcxButtonColors>(this);
  FControlCanvas = std::make_unique<TCanvas>();
  FCanvas = std::make_unique<TcxCanvas>(FControlCanvas.get());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { RecreateWnd(); };
  ControlStyle.Include(csOpaque).Include(csReflector);
  FThemeChangedNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeChangedNotificator->OnThemeSwitched = [this] { RecreateWnd(); };
  DoubleBuffered = true;
}

TcxCustomButton::~TcxCustomButton() {
  *FAlive = false;
  EndMouseTracking(this);
  FThemeChangedNotificator.reset();
  FLookAndFeel.reset();
  SetDropDownMenu(nullptr);
}

void TcxCustomButton::SetDropDownMenu(TPopupMenu* Value) {
  if (Value == FDropDownMenu) return;
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TcxCustomButton::Notification(TComponent* AComponent, TOperation Operation) {
  TButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TcxCustomButton::SetGlyph(const TBitmap* Value) {
  FGlyph->SetGlyph(Value);
  if (Value) SetUseSystemPaint(false);
  Invalidate();
}

void TcxCustomButton::SetKind(TcxButtonKind Value) {
  if (Value == FKind) return;
  FKind = Value;
  RecreateWnd();
}

void TcxCustomButton::SetLayout(TButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TcxCustomButton::SetMargin(int Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TcxCustomButton::SetNumGlyphs(int Value) {
  FGlyph->SetNumGlyphs(std::min(Value, 4));
}

void TcxCustomButton::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

void TcxCustomButton::SetUseSystemPaint(bool Value) {
  if (Value == FUseSystemPaint) return;
  FUseSystemPaint = Value;
  RecreateWnd();
}

TcxCustomLookAndFeelPainterClass TcxCustomButton::GetPainterClass() const {
  const TcxLookAndFeelKind kind = FLookAndFeel->GetKind();
  // A plain standard button that may look as the system's is themed too.
  return PainterForLook(FLookAndFeel->GetNativeStyle() || (FUseSystemPaint && kind == lfStandard), kind);
}

bool TcxCustomButton::UsesSystemPaint() const {
  return FKind == cxbkStandard && FUseSystemPaint && FGlyph->GetGlyph()->GetEmpty() &&
         ((FLookAndFeel->GetNativeStyle() && ThemesAvailable()) || FLookAndFeel->GetKind() == lfStandard);
}

void TcxCustomButton::CreateParams(TCreateParams& Params) {
  FOwnerDraw = !UsesSystemPaint();
  TButton::CreateParams(Params);
}

void TcxCustomButton::CreateWnd() {
  TButton::CreateWnd();
  FIsDefault = GetDefault();
  FGlyph->StateImageIndex(GetEnabled() ? cxbsNormal : cxbsDisabled);
}

void TcxCustomButton::SetButtonStyle(bool ADefault) {
  if (UsesSystemPaint()) return TButton::SetButtonStyle(ADefault);
  if (ADefault == FIsDefault) return;
  FIsDefault = ADefault;
  Refresh();
}

void TcxCustomButton::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
  TButton::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  TCustomActionList* list = action ? action->GetActionList() : nullptr;
  TCustomImageList* images = list ? list->Images : nullptr;
  if (!images || action->GetImageIndex() < 0 || action->GetImageIndex() >= images->GetCount() ||
      !GetGlyph()->GetEmpty())
    return;
  TBitmap glyph;
  glyph.SetPixelFormat(pf32bit);
  glyph.SetSize(images->GetWidth(), images->GetHeight());
  glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph.GetCanvas()->FillRect(TRect(0, 0, glyph.GetWidth(), glyph.GetHeight()));
  images->Draw(glyph.GetCanvas(), 0, 0, action->GetImageIndex(), true);
  SetGlyph(&glyph);
}

void TcxCustomButton::Refresh() {
  if (HandleAllocated()) InvalidateRect(GetHandle(), nullptr, FALSE);
}

void TcxCustomButton::DrawItem(const DRAWITEMSTRUCT& DrawItemStruct) {
  FControlCanvas->SetHandle(DrawItemStruct.hDC);
  FIsPressed = (DrawItemStruct.itemState & ODS_SELECTED) != 0 && !FIsDroppingDown;
  FIsFocused = (DrawItemStruct.itemState & ODS_FOCUS) != 0;
  PaintButtonFace();
  FControlCanvas->SetHandle(nullptr);
}

TcxButtonState TcxCustomButton::CurrentState() const {
  if (!GetEnabled()) return cxbsDisabled;
  if (FIsPressed) return cxbsPressed;
  if (FIsHot) return cxbsHot;
  if (FIsFocused || FIsDefault) return cxbsDefault;
  return cxbsNormal;
}

void TcxCustomButton::PaintButtonFace() {
  if (UsesSystemPaint()) return;
  TRect R = GetClientRect();
  TRect arrow;
  if (FKind == cxbkDropDown) FIsPressed = FIsMenuVisible;
  if (FKind == cxbkDropDownButton) {
    arrow = TRect(R.right - kArrowWidth, R.top, R.right, R.bottom);
    R.right = arrow.left + 2;
    if (FIsDroppingDown) FIsPressed = false;
  }
  const TcxButtonState state = CurrentState();
  const TcxCustomLookAndFeelPainterClass painter = GetPainterClass();
  FCanvas->SetFont(GetFont());
  TColor faceColor = FColors->GetColor(state);
  FCanvas->GetFont()->SetColor(painter->GetButtonGlyphColor(state));
  if (OnGetDrawParams) OnGetDrawParams(this, state, faceColor, FCanvas->GetFont());
  const TColor fontColor = FCanvas->GetFont()->GetColor();
  painter->DrawPushButton(FCanvas.get(), R, "", state, true, faceColor, fontColor);
  const int shift = state == cxbsPressed ? painter->GetButtonPressedShift() : 0;
  FGlyph->DrawContent(FCanvas.get(), R, TPoint(shift, shift), GetCaption(), FLayout, FMargin, FSpacing, state,
                      0);
  if (FKind == cxbkDropDownButton) {
    painter->DrawPushButton(FCanvas.get(), arrow, "", FIsMenuVisible ? cxbsPressed : state, true, faceColor,
                            fontColor);
    painter->DrawStateArrow(FCanvas.get(), arrow, state, adDown);
  }
  if (Focused() && !FIsMenuVisible)
    FCanvas->DrawFocusRect(painter->CalculateButtonFocusRect(FCanvas.get(), R));
}

// ---- Drop-down ----

bool TcxCustomButton::InArrowPart(int X) {
  return X >= GetClientRect().right - kArrowWidth;
}

void TcxCustomButton::DropDown() {
  FIsDroppingDown = true;
  PostMessageA(GetHandle(), CM_DROPDOWNPOPUPMENU, 0, 0);
}

int TcxCustomButton::EstimateMenuHeight() const {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  const bool read = SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != 0;
  // The class library draws no menu items itself, so every item is as high
  // as the system makes it.
  return (read ? metrics.iBorderWidth : 1) * 2 +
         FDropDownMenu->GetItems()->GetCount() * GetSystemMetrics(SM_CYMENU);
}

void TcxCustomButton::DropDownRequest() {
  if (FKind == cxbkStandard || !FDropDownMenu) return;
  FIsMenuVisible = true;
  Repaint();
  TPoint P = ClientToScreen(TPoint(0, GetHeight()));
  const int height = EstimateMenuHeight();
  if (GetSystemMetrics(SM_CYSCREEN) < P.y + height) P.y -= height + GetHeight() + 2;
  P.x = std::max<LONG>(P.x, 0);
  // The menu's commands may free the button while the menu is open.
  const std::shared_ptr<bool> alive = FAlive;
  FDropDownMenu->SetPopupComponent(this);
  FDropDownMenu->Popup(P.x, P.y);
  if (*alive && HandleAllocated()) PostMessageA(GetHandle(), CM_CLOSEUPPOPUPMENU, 0, 0);
}

void TcxCustomButton::CloseUp() {
  FIsHot = HotTrackingApplies() && IsCursorOverButton();
  FIsMenuVisible = false;
  Repaint();
  FIsDroppingDown = false;
}

void TcxCustomButton::WMLButtonDown(TMessage& Message) {
  const int x = MessagePoint(Message).x;
  if (FKind != cxbkStandard) {
    if (FIsMenuVisible) {
      FIgnoreNextClick = true;
      FIsMenuVisible = false;
      FIsPressed = false;
      Repaint();
    } else if (FKind == cxbkDropDown || InArrowPart(x)) {
      DropDown();
    }
  }
  if (FKind == cxbkDropDownButton && InArrowPart(x)) FIsDroppingDown = true;
  Message.Msg = WM_LBUTTONDOWN;
  TButton::WndProc(Message);
}

bool TcxCustomButton::KeyDropsDown(const TMessage& Message) const {
  if (FKind != cxbkDropDownButton || (Message.WParam != VK_UP && Message.WParam != VK_DOWN)) return false;
  return (GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0);
}

void TcxCustomButton::Click() {
  if (FKind == cxbkDropDown && !FIsMenuVisible) {
    if (!FIgnoreNextClick) DropDown();
    FIgnoreNextClick = false;
    return;
  }
  if (FIgnoreNextClick) {
    FIgnoreNextClick = false;
    return;
  }
  TButton::Click();
}

// ---- Hot tracking ----

bool TcxCustomButton::HotTrackingApplies() const {
  return !UsesSystemPaint() && GetPainterClass()->HasHotTracking() && GetEnabled();
}

bool TcxCustomButton::IsCursorOverButton() const {
  POINT P;
  GetCursorPos(&P);
  return HandleAllocated() && WindowFromPoint(P) == FHandle;
}

void TcxCustomButton::MouseEnter() {
  if (FIsHot || !HotTrackingApplies() || GetCapture()) return;
  BeginMouseTracking(this, GetClientRect(), this);
  FIsHot = true;
  Refresh();
}

void TcxCustomButton::MouseMoved(const TPoint& P) {
  const RECT r = GetClientRect();
  if (!FIsHot && PtInRect(&r, P)) MouseEnter();
}

void TcxCustomButton::MouseLeave() {
  EndMouseTracking(this);
  if (!FIsHot || !HotTrackingApplies()) return;
  FIsHot = false;
  Refresh();
}

void TcxCustomButton::CaptureChanged() {
  FIsHot = HotTrackingApplies() && IsCursorOverButton();
}

void TcxCustomButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CM_DROPDOWNPOPUPMENU:
    return DropDownRequest();
  case CM_CLOSEUPPOPUPMENU:
    return CloseUp();
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    return WMLButtonDown(Message);
  case WM_LBUTTONUP:
    FIsDroppingDown = false;
    break;
  case WM_KEYDOWN:
    if (KeyDropsDown(Message)) {
      if (!FIsMenuVisible) DropDown();
      return;
    }
    break;
  case WM_MOUSEMOVE:
    MouseMoved(MessagePoint(Message));
    break;
  case CM_MOUSEENTER:
    MouseEnter();
    break;
  case CM_MOUSELEAVE:
    MouseLeave();
    break;
  case WM_CAPTURECHANGED:
    CaptureChanged();
    break;
  case CM_ENABLEDCHANGED:
    if (!GetEnabled()) FIsHot = false;
    Refresh();
    break;
  case CM_FONTCHANGED:
    Refresh();
    break;
  case CN_MEASUREITEM: {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    measure->itemWidth = static_cast<UINT>(GetWidth());
    measure->itemHeight = static_cast<UINT>(GetHeight());
    return;
  }
  }
  TButton::WndProc(Message);
}
