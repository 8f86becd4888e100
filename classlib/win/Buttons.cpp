#include "Buttons.h"

#include "Forms.h"
#include "ImgList.h"

#include <algorithm>

// ---- Glyphs ----

TButtonGlyph::TButtonGlyph() : FGlyph(std::make_unique<TBitmap>()) {}
TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
  // A strip of square images holds as many glyphs as fit.
  if (!FGlyph->GetEmpty() && FGlyph->GetHeight() > 0 && FGlyph->GetWidth() % FGlyph->GetHeight() == 0) {
    const int n = FGlyph->GetWidth() / FGlyph->GetHeight();
    if (n >= 1 && n <= 4) NumGlyphs = n;
  }
}

SIZE TButtonGlyph::Size() const {
  if (FGlyph->GetEmpty()) return SIZE{0, 0};
  return SIZE{FGlyph->GetWidth() / std::max(NumGlyphs, 1), FGlyph->GetHeight()};
}

void TButtonGlyph::DrawGlyph(TCanvas* canvas, int x, int y, TButtonState state) {
  const SIZE size = Size();
  int image = static_cast<int>(state);
  if (image >= NumGlyphs) image = state == bsDisabled ? -1 : 0;
  // The glyph goes through an image list, which knows masks and the
  // embossed look of a disabled image.
  TImageList list(nullptr);
  list.SetWidth(size.cx);
  list.SetHeight(size.cy);
  TBitmap single;
  single.SetPixelFormat(pf24bit);
  single.SetSize(size.cx, size.cy);
  single.GetCanvas()->CopyRect(TRect(0, 0, size.cx, size.cy), FGlyph->GetCanvas(),
                               Bounds(std::max(image, 0) * size.cx, 0, size.cx, size.cy));
  list.AddMasked(&single, FGlyph->GetTransparentColor());
  list.Draw(canvas, x, y, 0, image >= 0);
}

void TButtonGlyph::Draw(TCanvas* canvas, const TRect& client, const String& caption, TButtonLayout layout,
                        int margin, int spacing, TButtonState state, bool) {
  const SIZE glyph = Size();
  RECT textRect{0, 0, 0, 0};
  if (!caption.empty()) {
    textRect.right = client.Width();
    DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &textRect, DT_CALCRECT | DT_SINGLELINE);
  }
  const SIZE text{textRect.right, textRect.bottom};
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  const int gap = glyph.cx && text.cx ? spacing : 0;
  const int total = horizontal ? glyph.cx + gap + text.cx : glyph.cy + gap + text.cy;
  const int space = horizontal ? client.Width() : client.Height();
  const int start = margin < 0 ? (space - total) / 2 : margin;
  int gx, gy, tx, ty;
  if (horizontal) {
    gy = client.top + (client.Height() - glyph.cy) / 2;
    ty = client.top + (client.Height() - text.cy) / 2;
    gx = client.left + (layout == blGlyphLeft ? start : start + text.cx + gap);
    tx = client.left + (layout == blGlyphLeft ? start + glyph.cx + gap : start);
  } else {
    gx = client.left + (client.Width() - glyph.cx) / 2;
    tx = client.left + (client.Width() - text.cx) / 2;
    gy = client.top + (layout == blGlyphTop ? start : start + text.cy + gap);
    ty = client.top + (layout == blGlyphTop ? start + glyph.cy + gap : start);
  }
  if (state == bsDown || state == bsExclusive) {
    ++gx, ++gy, ++tx, ++ty;
  }
  if (glyph.cx) DrawGlyph(canvas, gx, gy, state);
  if (caption.empty()) return;
  RECT r{tx, ty, tx + text.cx, ty + text.cy};
  HDC dc = canvas->GetHandle();
  SetBkMode(dc, TRANSPARENT);
  if (state == bsDisabled) {
    OffsetRect(&r, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextA(dc, caption.c_str(), -1, &r, DT_SINGLELINE);
    OffsetRect(&r, -1, -1);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
  }
  DrawTextA(dc, caption.c_str(), -1, &r, DT_SINGLELINE);
}

// ---- Speed button ----

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks, csOpaque};
  FWidth = 23;
  FHeight = 22;
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(const TBitmap* value) {
  FGlyph.SetGlyph(value);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
  FGlyph.NumGlyphs = std::clamp(value, 1, 4);
  Invalidate();
}

void TSpeedButton::SetDown(bool value) {
  if (GroupIndex == 0) value = false;
  if (value == FDown) return;
  if (FDown && !AllowAllUp) return;
  FDown = value;
  FState = value ? bsExclusive : bsUp;
  Invalidate();
  if (value) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (GroupIndex == 0 || !GetParent()) return;
  for (int i = 0; i < GetParent()->GetControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(GetParent()->GetControl(i));
    if (!other || other == this || other->GroupIndex != GroupIndex) continue;
    if (other->FDown) {
      other->FDown = false;
      other->FState = bsUp;
      other->Invalidate();
    }
    other->AllowAllUp = AllowAllUp;
  }
}

void TSpeedButton::Click() {
  TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !GetEnabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  const TButtonState state = GetClientRect().Contains(TPoint(X, Y)) ? bsDown : (FDown ? bsExclusive : bsUp);
  if (state != FState) {
    FState = state;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  const bool inside = GetClientRect().Contains(TPoint(X, Y));
  if (GroupIndex == 0) {
    FState = bsUp;
  } else if (inside) {
    SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
  } else {
    FState = FDown ? bsExclusive : bsUp;
  }
  Invalidate();
  if (inside) Click();
}

void TSpeedButton::Paint() {
  TCanvas* canvas = GetCanvas();
  if (!GetEnabled())
    FState = bsDisabled;
  else if (FState == bsDisabled)
    FState = FDown ? bsExclusive : bsUp;
  TRect r = GetClientRect();
  canvas->GetBrush()->SetColor(clBtnFace);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  const bool pressed = FState == bsDown || FState == bsExclusive;
  if (!Flat || pressed || FMouseInControl)
    DrawEdge(canvas->GetHandle(), &r, pressed ? EDGE_SUNKEN : (Flat ? BDR_RAISEDINNER : EDGE_RAISED),
             BF_RECT);
  InflateRect(&r, -2, -2);
  canvas->GetFont()->Assign(GetFont());
  FGlyph.Draw(canvas, r, GetCaption(), Layout, Margin, Spacing, FState, Flat);
}

void TSpeedButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE:
    if (Message.LParam == 0) {
      FMouseInControl = Message.Msg == CM_MOUSEENTER;
      if (Flat) Invalidate();
    }
    break;
  case CM_DIALOGCHAR:
    if (IsAccel(static_cast<WORD>(Message.WParam), GetCaption()) && GetEnabled() && GetVisible() &&
        GetParent() && GetParent()->IsShowing()) {
      Click();
      Message.Result = 1;
    }
    return;
  case CM_ENABLEDCHANGED:
  case CM_TEXTCHANGED:
    Invalidate();
    return;
  }
  TGraphicControl::WndProc(Message);
}

// ---- Bitmap button ----

namespace {

struct KindInfo {
  const char* caption;
  TModalResult result;
};

constexpr KindInfo kKinds[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                               {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                               {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                               {"&Ignore", mrIgnore}, {"&All", mrAll}};

} // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {
  FOwnerDraw = true;
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetGlyph(const TBitmap* value) {
  FGlyph.SetGlyph(value);
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int value) {
  FGlyph.NumGlyphs = std::clamp(value, 1, 4);
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind value) {
  FKind = value;
  if (value == bkCustom) return;
  SetCaption(kKinds[value].caption);
  ModalResult = kKinds[value].result;
  if (value == bkOK || value == bkYes) SetDefault(true);
  if (value == bkCancel || value == bkNo) Cancel = true;
}

void TBitBtn::Click() {
  // The Close kind closes its form.
  if (FKind == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& dis) {
  TCanvas canvas;
  canvas.SetHandle(dis.hDC);
  canvas.GetFont()->Assign(GetFont());
  TRect r = dis.rcItem;
  const bool pressed = (dis.itemState & ODS_SELECTED) != 0;
  const bool isDefault = FIsFocused || (GetDefault() && !FIsFocused);
  canvas.GetBrush()->SetColor(clBtnFace);
  canvas.FillRect(r);
  if (isDefault) {
    canvas.GetBrush()->SetColor(clWindowFrame);
    canvas.FrameRect(r);
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dis.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  InflateRect(&r, -2, -2);
  const TButtonState state = !GetEnabled() ? bsDisabled : pressed ? bsDown : bsUp;
  FGlyph.Draw(&canvas, r, GetCaption(), Layout, Margin, Spacing, state, false);
  if (dis.itemState & ODS_FOCUS) {
    InflateRect(&r, -1, -1);
    DrawFocusRect(dis.hDC, &r);
  }
  canvas.SetHandle(nullptr);
}

void TBitBtn::WndProc(TMessage& Message) {
  if (Message.Msg == CM_FOCUSCHANGED) {
    FIsFocused = reinterpret_cast<TWinControl*>(Message.LParam) == this;
    Invalidate();
  }
  if (Message.Msg == WM_LBUTTONDBLCLK) {
    // Owner-drawn buttons report double clicks: a second press is a click.
    Message.Msg = WM_LBUTTONDOWN;
  }
  TButton::WndProc(Message);
}
