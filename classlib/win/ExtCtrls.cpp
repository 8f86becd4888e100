#include "ExtCtrls.h"

#include <algorithm>

// ---- Panel ----

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                               csOpaque,          csDoubleClicks, csReplicatable};
  SetColor(clBtnFace);
  FWidth = 185;
  FHeight = 41;
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  int width = FBorderWidth;
  if (FBevelOuter != bvNone) width += FBevelWidth;
  if (FBevelInner != bvNone) width += FBevelWidth;
  InflateRect(&Rect, -width, -width);
}

void Frame3D(HDC dc, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  HPEN top = CreatePen(PS_SOLID, 1, ColorToRGB(topColor));
  HPEN bottom = CreatePen(PS_SOLID, 1, ColorToRGB(bottomColor));
  HGDIOBJ old = SelectObject(dc, top);
  rect.right--;
  rect.bottom--;
  for (int i = 0; i < width; ++i) {
    SelectObject(dc, top);
    MoveToEx(dc, rect.left, rect.bottom, nullptr);
    LineTo(dc, rect.left, rect.top);
    LineTo(dc, rect.right, rect.top);
    SelectObject(dc, bottom);
    LineTo(dc, rect.right, rect.bottom);
    LineTo(dc, rect.left - 1, rect.bottom);
    InflateRect(&rect, -1, -1);
  }
  rect.right++;
  rect.bottom++;
  SelectObject(dc, old);
  DeleteObject(top);
  DeleteObject(bottom);
}

void TCustomPanel::Paint() {
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  TRect rect = GetClientRect();
  if (FBevelOuter != bvNone && FBevelOuter != bvSpace)
    Frame3D(dc, rect, FBevelOuter == bvLowered ? clBtnShadow : clBtnHighlight,
            FBevelOuter == bvLowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
  else if (FBevelOuter == bvSpace)
    InflateRect(&rect, -FBevelWidth, -FBevelWidth);
  InflateRect(&rect, -FBorderWidth, -FBorderWidth);
  if (FBevelInner != bvNone && FBevelInner != bvSpace)
    Frame3D(dc, rect, FBevelInner == bvLowered ? clBtnShadow : clBtnHighlight,
            FBevelInner == bvLowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
  else if (FBevelInner == bvSpace)
    InflateRect(&rect, -FBevelWidth, -FBevelWidth);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->FillRect(rect);
  const String text = GetCaption();
  if (text.empty()) return;
  canvas->GetFont()->Assign(GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &rect,
            DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | alignments[Alignment]);
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  FBevelInner = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  FBevelOuter = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
  FBevelWidth = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
  FBorderWidth = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TCustomPanel::WndProc(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  TCustomControl::WndProc(Message);
}

// ---- Bevel ----

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  FWidth = 50;
  FHeight = 50;
}

void TBevel::Paint() {
  HDC dc = GetCanvas()->GetHandle();
  TColor c1 = Style == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor c2 = Style == bsLowered ? clBtnHighlight : clBtnShadow;
  auto line = [dc](TColor color, int x1, int y1, int x2, int y2) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
  };
  const int w = GetWidth(), h = GetHeight();
  switch (Shape) {
  case bsBox: {
    TRect r(0, 0, w, h);
    Frame3D(dc, r, c1, c2, 1);
    break;
  }
  case bsFrame: {
    TRect r(0, 0, w - 1, h - 1);
    Frame3D(dc, r, c1, c1, 1);
    r = TRect(1, 1, w, h);
    Frame3D(dc, r, c2, c2, 1);
    break;
  }
  case bsTopLine:
    line(c1, 0, 0, w, 0);
    line(c2, 0, 1, w, 1);
    break;
  case bsBottomLine:
    line(c1, 0, h - 2, w, h - 2);
    line(c2, 0, h - 1, w, h - 1);
    break;
  case bsLeftLine:
    line(c1, 0, 0, 0, h);
    line(c2, 1, 0, 1, h);
    break;
  case bsRightLine:
    line(c1, w - 2, 0, w - 2, h);
    line(c2, w - 1, 0, w - 1, h);
    break;
  case bsSpacer:
    break;
  }
}

// ---- Image ----

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  ControlStyle.Include(csReplicatable);
  FPicture->OnChange = [this](TObject*) { PictureChanged(); };
  FWidth = 105;
  FHeight = 105;
}

TImage::~TImage() = default;

void TImage::PictureChanged() {
  if (FAutoSize && FPicture->GetWidth() > 0 && FPicture->GetHeight() > 0)
    SetBounds(FLeft, FTop, FPicture->GetWidth(), FPicture->GetHeight());
  if (TGraphic* g = FPicture->GetGraphic()) g->SetTransparent(FTransparent);
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  FAutoSize = value;
  PictureChanged();
}

void TImage::SetTransparent(bool value) {
  FTransparent = value;
  PictureChanged();
}

TRect TImage::DestRect() {
  int w = FPicture->GetWidth(), h = FPicture->GetHeight();
  const int cw = GetWidth(), ch = GetHeight();
  if (Stretch || (Proportional && (w > cw || h > ch))) {
    if (Proportional && w > 0 && h > 0) {
      if (cw * h > ch * w) {
        w = MulDiv(w, ch, h);
        h = ch;
      } else {
        h = MulDiv(h, cw, w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r(0, 0, w, h);
  if (Center) OffsetRect(&r, (cw - w) / 2, (ch - h) / 2);
  return r;
}

void TImage::Paint() {
  TGraphic* graphic = FPicture->GetGraphic();
  if (!graphic || graphic->GetEmpty()) return;
  GetCanvas()->StretchDraw(DestRect(), graphic);
}

// ---- Timer ----

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  if (FInterval != 0 && FEnabled && FOnTimer)
    if (!SetTimer(FWindowHandle, 1, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
}

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(UINT value) {
  if (value == FInterval) return;
  FInterval = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent value) {
  FOnTimer = std::move(value);
  UpdateTimer();
}

void TTimer::Timer() {
  // A copy: the handler may free the timer and its handler with it.
  TNotifyEvent handler = FOnTimer;
  if (handler) handler(this);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  // Nothing of the timer is touched after Timer: OnTimer may free it.
  try {
    Timer();
  } catch (...) {
    Application->HandleException(this);
  }
}
