#include "cxTrackBar.h"

#include "cxEditPaintUtils.h"
#include "dxUxTheme.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The themed parts of the track and of the thumb by tick side.
constexpr int TKP_TRACK = 1, TKP_TRACKVERT = 2;
constexpr int kThumbParts[3][2] = {{3, 6}, {5, 7}, {4, 8}};

// The range counts in 64 bits: Max - Min passes 32 bits for wide ranges.
int64_t Range(const TcxTrackBarSettings& S) {
  const int64_t range = static_cast<int64_t>(S.Max) - S.Min;
  return range == 0 ? 1 : range;
}

int Along(const TRect& R, bool AHorizontal) {
  return AHorizontal ? R.left : R.top;
}

int AlongLength(const TRect& R, bool AHorizontal) {
  return AHorizontal ? R.Width() : R.Height();
}

// The layout lies in the bitmap of the client area; the mouse handling's
// copies are moved to the control's coordinates, where its points are.
TRect InControl(const TcxCustomTrackBarViewInfo* AViewInfo, TRect R) {
  OffsetRect(&R, AViewInfo->ClientArea.left, AViewInfo->ClientArea.top);
  return R;
}

} // namespace

// ---- View info ----

TcxCustomTrackBarViewInfo::TcxCustomTrackBarViewInfo()
    : FLookAndFeel(std::make_unique<TcxLookAndFeel>(nullptr)), FBitmap(std::make_unique<TBitmap>()) {
  FBitmap->SetPixelFormat(pfDevice);
  FBitmapCanvas = std::make_unique<TcxCanvas>(FBitmap->GetCanvas());
}

TcxCustomTrackBarViewInfo::~TcxCustomTrackBarViewInfo() = default;

void TcxCustomTrackBarViewInfo::Assign(const TcxContainerViewInfo* Source) {
  TcxCustomTextEditViewInfo::Assign(Source);
  const auto* source = dynamic_cast<const TcxCustomTrackBarViewInfo*>(Source);
  if (!source) return;
  Settings = source->Settings;
  Position = source->Position;
  ThumbState = source->ThumbState;
  FLookAndFeel->SetKind(source->FLookAndFeel->GetKind());
  FLookAndFeel->SetNativeStyle(source->FLookAndFeel->GetNativeStyle());
}

void TcxCustomTrackBarViewInfo::Offset(int DX, int DY) {
  TcxCustomTextEditViewInfo::Offset(DX, DY);
  OffsetRect(&ClientArea, DX, DY);
  OffsetRect(&ClientAreaAtOrigin, DX, DY);
}

int TcxCustomTrackBarViewInfo::ValueToPixel(int64_t AValue) const {
  const bool horizontal = Settings.Orientation == tboHorizontal;
  return static_cast<int>(
      std::trunc(static_cast<double>(AValue - Settings.Min) * Scale + Along(TrackRect, horizontal)));
}

bool TcxCustomTrackBarViewInfo::IsThemed() const {
  return IsThemedPartAvailable(FLookAndFeel->GetNativeStyle(), totTrackBar);
}

void TcxCustomTrackBarViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  DrawEditBackgroundAndButtons(ACanvas, this, true, 0);
  const int w = ClientAreaAtOrigin.Width(), h = ClientAreaAtOrigin.Height();
  if (w <= 0 || h <= 0) return;
  FBitmap->SetSize(w, h);
  FBitmapCanvas->FillRect(TRect(0, 0, w, h), GetBackgroundColor());
  if (Transparent) CopyBackground(ACanvas);
  DrawTrackBarParts(FBitmapCanvas.get());
  BitBlt(ACanvas->GetHandle(), ClientArea.left, ClientArea.top, w, h, FBitmapCanvas->GetHandle(), 0, 0,
         SRCCOPY);
}

// What lies behind: the canvas under the client area in place, otherwise
// the screen under the window.
void TcxCustomTrackBarViewInfo::CopyBackground(TcxCanvas* ACanvas) {
  const int w = ClientAreaAtOrigin.Width(), h = ClientAreaAtOrigin.Height();
  HDC target = FBitmapCanvas->GetHandle();
  if (IsInplace) {
    BitBlt(target, 0, 0, w, h, ACanvas->GetHandle(), ClientArea.left, ClientArea.top, SRCCOPY);
    return;
  }
  RECT window;
  if (!WindowHandle || !GetWindowRect(WindowHandle, &window)) return;
  HWND desktop = GetDesktopWindow();
  HDC dc = GetDCEx(desktop, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  BitBlt(target, 0, 0, w, h, dc, window.left + 2, window.top + 2, SRCCOPY);
  ReleaseDC(desktop, dc);
}

void TcxCustomTrackBarViewInfo::DrawTrackBarParts(TcxCanvas* ACanvas) {
  if (Settings.ShowTrack) {
    DrawTrack(ACanvas);
    if (HasSelection) DrawSelection(ACanvas);
  }
  if (Settings.ShowTicks) DrawTicks(ACanvas);
  switch (Settings.ThumbType) {
  case cxttRegular:
    DrawThumb(ACanvas);
    break;
  case cxttCustom:
    if (DrawCustomThumb) DrawCustomThumb(ACanvas, ThumbRect);
    break;
  case cxttNone:
    break;
  }
}

void TcxCustomTrackBarViewInfo::DrawTrack(TcxCanvas* ACanvas) {
  const bool horizontal = Settings.Orientation == tboHorizontal;
  if (IsThemed()) {
    if (HTHEME theme = OpenThemeHandle(totTrackBar))
      dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), horizontal ? TKP_TRACK : TKP_TRACKVERT,
                                     ThumbState, &TrackRect, nullptr);
    return;
  }
  ACanvas->FillRect(TrackRect, Settings.TrackColor);
  TRect r = TrackRect;
  --r.right;
  TRect inner;
  switch (FLookAndFeel->GetKind()) {
  case lfFlat:
    DrawTwoColorFrame(ACanvas, r, clBtnShadow, clWindow, inner);
    DrawTwoColorFrame(ACanvas, inner, clBtnFace, clBtnFace, inner);
    break;
  case lfStandard:
    DrawTwoColorFrame(ACanvas, r, clBtnShadow, clWindow, inner);
    DrawTwoColorFrame(ACanvas, inner, clWindowFrame, clBtnFace, inner);
    break;
  case lfUltraFlat:
    DrawTwoColorFrame(ACanvas, r, clWindowFrame, clWindowFrame, inner);
    break;
  }
}

void TcxCustomTrackBarViewInfo::DrawSelection(TcxCanvas* ACanvas) {
  ACanvas->FillRect(SelectionRect, Settings.SelectionColor);
}

// Marks are drawn at Min, Max and every multiple of Frequency between
// them, at most one per pixel along the track: a wide range would
// otherwise visit billions of values that share a handful of pixels. The
// marks of Min, Max and the position are always drawn.
void TcxCustomTrackBarViewInfo::DrawTicks(TcxCanvas* ACanvas) {
  const TcxTrackBarSettings& s = Settings;
  ACanvas->SetFont(Font);
  ACanvas->GetFont()->SetColor(TextColor);
  ACanvas->GetPen()->SetColor(s.TickColor);
  ACanvas->GetBrush()->SetColor(clBtnFace);
  const bool turned = s.TextOrientation == tbtoVertical;
  if (turned) {
    TFont font;
    font.Assign(ACanvas->GetFont());
    TEXTMETRICA metrics{};
    {
      HDC dc = ACanvas->GetHandle();
      HGDIOBJ old = SelectObject(dc, font.GetHandle());
      GetTextMetricsA(dc, &metrics);
      SelectObject(dc, old);
    }
    if (!(metrics.tmPitchAndFamily & TMPF_TRUETYPE)) font.SetName("Arial");
    LOGFONTA logFont{};
    GetObjectA(font.GetHandle(), sizeof(logFont), &logFont);
    logFont.lfEscapement = logFont.lfOrientation = 900;
    FTickFont = CreateFontIndirectA(&logFont);
  }
  const HGDIOBJ oldFont = turned ? SelectObject(ACanvas->GetHandle(), FTickFont) : nullptr;
  auto restore = [&] {
    if (!turned) return;
    SelectObject(ACanvas->GetHandle(), oldFont);
    DeleteObject(FTickFont);
    FTickFont = nullptr;
  };
  try {
    const int64_t lo = s.Min, hi = s.Max;
    const bool positionMarked =
        Position >= lo && Position <= hi && (Position == lo || Position == hi || (s.Frequency > 0 && Position % s.Frequency == 0));
    const int loPixel = ValueToPixel(lo), hiPixel = ValueToPixel(hi), posPixel = ValueToPixel(Position);
    auto reserved = [&](int APixel) {
      return APixel == loPixel || APixel == hiPixel || (positionMarked && APixel == posPixel);
    };
    if (s.Frequency > 0 && Scale > 0) {
      const int64_t freq = s.Frequency;
      // The first multiple of Frequency above Min.
      int64_t v = lo >= 0 ? (lo / freq + 1) * freq : -((-lo) / freq) * freq;
      if (v <= lo) v += freq;
      int lastPixel = INT_MIN;
      while (v < hi) {
        const int pixel = ValueToPixel(v);
        if (pixel != lastPixel && !reserved(pixel)) DrawTick(ACanvas, v);
        lastPixel = pixel;
        // The next value at a later pixel, rounded up to a multiple.
        const double needed = std::ceil((pixel + 1 - Along(TrackRect, s.Orientation == tboHorizontal)) / Scale);
        int64_t next = v + freq;
        if (needed > static_cast<double>(next - lo)) {
          if (needed >= static_cast<double>(hi - lo)) break;
          const int64_t target = lo + static_cast<int64_t>(needed);
          next = target >= 0 ? (target + freq - 1) / freq * freq : -((-target) / freq) * freq;
          if (next < target) next += freq;
        }
        v = next;
      }
    }
    DrawTick(ACanvas, lo);
    if (hi != lo) DrawTick(ACanvas, hi);
    if (positionMarked && Position != lo && Position != hi) DrawTick(ACanvas, Position);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TcxCustomTrackBarViewInfo::DrawTick(TcxCanvas* ACanvas, int64_t AValue) {
  const TcxTrackBarSettings& s = Settings;
  const bool end = AValue == s.Min || AValue == s.Max;
  const int pos = static_cast<int>(std::trunc(static_cast<double>(AValue - s.Min) * Scale)) +
                  Along(TrackRect, s.Orientation == tboHorizontal) + ThumbLength / 2;
  const bool number =
      s.TickType == tbttNumbers || (s.TickType == tbttValueNumber && (end || AValue == Position));
  if (number)
    DrawTickNumber(ACanvas, pos, AValue);
  else
    DrawTickLine(ACanvas, pos, end ? s.TickSize + s.TickSize / 2 : s.TickSize);
}

void TcxCustomTrackBarViewInfo::DrawTickLine(TcxCanvas* ACanvas, int APos, int ALength) {
  const TRect& t = ThumbRect;
  const bool topLeft = Settings.TickMarks != cxtmBottomRight;
  const bool bottomRight = Settings.TickMarks != cxtmTopLeft;
  TCanvas* c = ACanvas->GetCanvas();
  if (Settings.Orientation == tboHorizontal) {
    if (bottomRight) {
      c->MoveTo(APos, t.bottom + 2);
      c->LineTo(APos, t.bottom + ALength + 2);
    }
    if (topLeft) {
      c->MoveTo(APos, t.top - ALength - 1);
      c->LineTo(APos, t.top - 1);
    }
    return;
  }
  if (bottomRight) {
    c->MoveTo(t.right + 2, APos);
    c->LineTo(t.right + ALength + 2, APos);
  }
  if (topLeft) {
    c->MoveTo(t.left - ALength - 1, APos);
    c->LineTo(t.left - 1, APos);
  }
}

void TcxCustomTrackBarViewInfo::DrawTickNumber(TcxCanvas* ACanvas, int APos, int64_t AValue) {
  const String text = std::to_string(AValue);
  HDC dc = ACanvas->GetHandle();
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  const int tw = size.cx, th = size.cy;
  const TRect& t = ThumbRect;
  const bool horizontalBar = Settings.Orientation == tboHorizontal;
  const bool turned = Settings.TextOrientation == tbtoVertical;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  auto draw = [&](int X, int Y) {
    // A turned text runs upward from the rectangle's corner, out of it.
    RECT r{X, Y, X + tw + 2, Y + th + 2};
    UINT flags = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | (turned ? DT_NOCLIP : 0);
    ::DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r, flags);
  };
  const bool topLeft = Settings.TickMarks != cxtmBottomRight;
  const bool bottomRight = Settings.TickMarks != cxtmTopLeft;
  if (horizontalBar && !turned) {
    if (bottomRight) draw(APos - tw / 2, t.bottom + 1);
    if (topLeft) draw(APos - tw / 2, t.top - th - 1);
  } else if (horizontalBar) {
    if (bottomRight) draw(APos - (th / 2 - 1), t.bottom + 1 + tw);
    if (topLeft) draw(APos - (th / 2 - 1), t.top - 1);
  } else if (!turned) {
    if (bottomRight) draw(t.right + 2, APos - th / 2);
    if (topLeft) draw(t.left - tw - 1, APos - th / 2);
  } else {
    if (bottomRight) draw(t.right + 2, APos + tw / 2);
    if (topLeft) draw(t.left - th - 1, APos + tw / 2);
  }
  SetBkMode(dc, oldMode);
}

void TcxCustomTrackBarViewInfo::DrawThumb(TcxCanvas* ACanvas) {
  const TcxTrackBarSettings& s = Settings;
  const bool horizontal = s.Orientation == tboHorizontal;
  if (IsThemed()) {
    if (HTHEME theme = OpenThemeHandle(totTrackBar))
      dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), kThumbParts[s.TickMarks][horizontal ? 0 : 1],
                                     ThumbState, &ThumbRect, nullptr);
    return;
  }
  TColor color = s.ThumbColor;
  if (ThumbState == tbtsHot || ThumbState == tbtsPressed)
    color = s.ThumbHighlightColor;
  else if (ThumbState == tbtsDisabled)
    color = clBtnShadow;
  const TcxLookAndFeelKind kind = FLookAndFeel->GetKind();
  if (s.TickMarks == cxtmBottomRight)
    return DrawPointedThumbDownRight(ACanvas, ThumbRect, s.Orientation, ThumbLength, kind, color);
  if (s.TickMarks == cxtmTopLeft)
    return DrawPointedThumbUpLeft(ACanvas, ThumbRect, s.Orientation, ThumbLength, kind, color);
  TRect inner;
  switch (kind) {
  case lfFlat:
    DrawTwoColorFrame(ACanvas, ThumbRect, clWindow, clBtnShadow, inner);
    break;
  case lfStandard:
    DrawTwoColorFrame(ACanvas, ThumbRect, clWindow, clWindowFrame, inner);
    DrawTwoColorFrame(ACanvas, inner, clBtnFace, clBtnShadow, inner);
    break;
  case lfUltraFlat:
    DrawTwoColorFrame(ACanvas, ThumbRect, clWindowFrame, clWindowFrame, inner);
    break;
  }
  ++inner.right;
  ++inner.bottom;
  ACanvas->FillRect(inner, color);
}

// ---- View data ----

void TcxCustomTrackBarViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button,
                                          TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                          bool AIsMouseEvent) {
  TcxCustomEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (ABounds.right == INT_MAX || ABounds.bottom == INT_MAX) return;
  auto* info = static_cast<TcxCustomTrackBarViewInfo*>(AViewInfo);
  auto* properties = static_cast<TcxCustomTrackBarProperties*>(GetProperties());
  info->Font = GetStyle()->GetFont();
  info->GetLookAndFeel()->SetKind(GetStyle()->GetLookAndFeel()->GetKind());
  info->GetLookAndFeel()->SetNativeStyle(GetStyle()->GetLookAndFeel()->GetNativeStyle());
  info->Text.clear();
  info->DrawTextFlags = 0;
  info->IsSelectedLook = false;
  if (!Enabled)
    info->ThumbState = tbtsDisabled;
  else if (properties->MouseState & tbmsPressed)
    info->ThumbState = tbtsPressed;
  else if (properties->MouseState & tbmsOverThumb)
    info->ThumbState = tbtsHot;
  else
    info->ThumbState = tbtsNormal;
  if (Edit) {
    Variant display;
    properties->EditValueToDisplayValue(Edit->GetEditValueRef(), display, Focused);
    info->Position = display.AsInteger();
  }
  ReadTrackBarProperties(info);
  TRect focus;
  CalcTrackBarFocusRect(this, info, focus);
  CalculateTrackBarLayout(ACanvas, info);
}

void TcxCustomTrackBarViewData::ReadTrackBarProperties(TcxCustomTrackBarViewInfo* AViewInfo) {
  auto* properties = static_cast<TcxCustomTrackBarProperties*>(GetProperties());
  AViewInfo->Settings = properties->GetSettings();
  if (!Enabled) AViewInfo->Settings.TickColor = clBtnShadow;
  AViewInfo->DrawCustomThumb = [properties](TcxCanvas* ACanvas, const TRect& ARect) {
    if (properties->OnDrawThumb) properties->OnDrawThumb(properties, ACanvas, ARect);
  };
}

void TcxCustomTrackBarViewData::CalculateTrackBarLayout(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo) {
  CalculateClientArea(AViewInfo);
  CalculateChannel(ACanvas, AViewInfo);
  CalculateTrack(AViewInfo);
  CalculateThumbSize(AViewInfo);
  CalculateThumbRect(AViewInfo);
  CalculateSelection(AViewInfo);
}

int TcxCustomTrackBarViewData::GetTickMarkExtent(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo,
                                                 bool ATopLeft) {
  const TcxTrackBarSettings& s = AViewInfo->Settings;
  const bool counted = ATopLeft ? s.TickMarks != cxtmBottomRight : s.TickMarks != cxtmTopLeft;
  int extent = 0;
  if (counted) {
    if (s.TickType == tbttTicks) {
      extent = s.TickSize + 1;
    } else {
      ACanvas->SetFont(AViewInfo->Font);
      const bool sameOrientation = (s.Orientation == tboHorizontal) == (s.TextOrientation == tbtoHorizontal);
      const String lo = std::to_string(s.Min), hi = std::to_string(s.Max);
      extent = sameOrientation ? ACanvas->TextHeight(lo) : ACanvas->TextWidth(lo.size() > hi.size() ? lo : hi);
    }
  }
  if (s.BorderWidth == 0) ++extent;
  return extent;
}

void TcxCustomTrackBarViewData::CalculateClientArea(TcxCustomTrackBarViewInfo* AViewInfo) {
  AViewInfo->ClientArea = AViewInfo->ClientRect;
  TRect& a = AViewInfo->ClientAreaAtOrigin;
  a = TRect(0, 0, AViewInfo->ClientRect.Width(), AViewInfo->ClientRect.Height());
  int& bw = AViewInfo->Settings.BorderWidth;
  bw = std::min<int>({bw, static_cast<int>(a.Width() / 2), static_cast<int>(a.Height() / 2)});
  bw = std::max(bw, 0);
}

void TcxCustomTrackBarViewData::CalculateChannel(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxTrackBarSettings& s = AViewInfo->Settings;
  const bool horizontal = s.Orientation == tboHorizontal;
  const TRect& a = AViewInfo->ClientAreaAtOrigin;
  const int t = GetTickMarkExtent(ACanvas, AViewInfo, true);
  const int u = GetTickMarkExtent(ACanvas, AViewInfo, false);
  const int avail = (horizontal ? a.Height() : a.Width()) - t - u;
  int band = std::clamp(avail, 10, 21);
  auto* properties = static_cast<TcxCustomTrackBarProperties*>(GetProperties());
  if (s.ThumbType == cxttCustom && properties->OnGetThumbRect) {
    TRect r;
    properties->OnGetThumbRect(properties, r);
    band = std::max<int>(band, horizontal ? r.Height() : r.Width());
  }
  AViewInfo->EndMargin = 7;
  if (s.AutoSize) s.TrackSize = band / 2;
  const int across = (avail - band) / 2 + (horizontal ? a.top : a.left) + t;
  const int from = (horizontal ? a.left : a.top) + s.BorderWidth + AViewInfo->EndMargin;
  const int to = (horizontal ? a.right : a.bottom) - s.BorderWidth - AViewInfo->EndMargin;
  AViewInfo->ChannelRect =
      horizontal ? TRect(from, across, to, across + band) : TRect(across, from, across + band, to);
}

void TcxCustomTrackBarViewData::CalculateTrack(TcxCustomTrackBarViewInfo* AViewInfo) {
  const TcxTrackBarSettings& s = AViewInfo->Settings;
  const TRect& c = AViewInfo->ChannelRect;
  TRect& r = AViewInfo->TrackRect;
  if (s.Orientation == tboHorizontal) {
    const int top = (c.Height() - s.TrackSize) / 2 + c.top;
    r = TRect(c.left, top, c.right, top + s.TrackSize);
  } else {
    const int left = (c.Width() - s.TrackSize) / 2 + c.left;
    r = TRect(left, c.top, left + s.TrackSize, c.bottom);
  }
  static_cast<TcxCustomTrackBarProperties*>(GetProperties())->TrackRect = InControl(AViewInfo, r);
}

void TcxCustomTrackBarViewData::CalculateThumbSize(TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxTrackBarSettings& s = AViewInfo->Settings;
  const bool horizontal = s.Orientation == tboHorizontal;
  auto* properties = static_cast<TcxCustomTrackBarProperties*>(GetProperties());
  AViewInfo->PointedThumb = s.TickMarks != cxtmBoth;
  int& l = AViewInfo->ThumbLength;
  int& e = AViewInfo->ThumbExtent;
  if (s.ThumbType == cxttCustom && properties->OnGetThumbRect) {
    TRect r;
    properties->OnGetThumbRect(properties, r);
    l = horizontal ? r.Width() : r.Height();
    e = horizontal ? r.Height() : r.Width();
    s.ThumbWidth = l;
    s.ThumbHeight = e;
  } else if (s.AutoSize) {
    l = s.TrackSize;
    if (l % 2 != 0) l += horizontal ? 1 : -1;
    e = 2 * l - 1;
  } else {
    l = s.ThumbWidth;
    e = s.ThumbHeight - 1;
  }
  AViewInfo->Scale = static_cast<double>(AlongLength(AViewInfo->TrackRect, horizontal) - l) / Range(s);
  properties->ThumbLength = l;
  properties->Scale = AViewInfo->Scale;
}

void TcxCustomTrackBarViewData::CalculateThumbRect(TcxCustomTrackBarViewInfo* AViewInfo) {
  const TcxTrackBarSettings& s = AViewInfo->Settings;
  const bool horizontal = s.Orientation == tboHorizontal;
  const int l = AViewInfo->ThumbLength, e = AViewInfo->ThumbExtent;
  int p = AViewInfo->ValueToPixel(AViewInfo->Position);
  const TRect& track = AViewInfo->TrackRect;
  int s0 = s.TrackSize / 2 + (horizontal ? track.top : track.left) - e / 2;
  int s1 = s0 + e;
  if (!horizontal && s.TickMarks == cxtmTopLeft) {
    --s0;
    s1 = s0 + e - 1;
  }
  if (IsThemedPartAvailable(NativeStyle, totTrackBar)) ++p;
  TRect& r = AViewInfo->ThumbRect;
  const int end = p + 2 * (l / 2);
  r = horizontal ? TRect(p, s0, end, s1) : TRect(s0, p, s1, end);
  static_cast<TcxCustomTrackBarProperties*>(GetProperties())->ThumbRect = InControl(AViewInfo, r);
}

void TcxCustomTrackBarViewData::CalculateSelection(TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxTrackBarSettings& s = AViewInfo->Settings;
  s.SelectionStart = std::clamp(s.SelectionStart, s.Min, s.Max);
  s.SelectionEnd = std::clamp(s.SelectionEnd, s.Min, s.Max);
  AViewInfo->HasSelection = s.SelectionStart < s.SelectionEnd;
  const int half = AViewInfo->ThumbLength / 2;
  const int from = AViewInfo->ValueToPixel(s.SelectionStart) + half;
  const int to = AViewInfo->ValueToPixel(s.SelectionEnd) + half + 1;
  const TRect& t = AViewInfo->TrackRect;
  AViewInfo->SelectionRect = s.Orientation == tboHorizontal ? TRect(from, t.top + 2, to, t.bottom - 1)
                                                           : TRect(t.left + 2, from, t.right - 2, to);
}

// ---- Properties ----

TcxCustomTrackBarProperties::TcxCustomTrackBarProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner) {}

TcxCustomTrackBarProperties::~TcxCustomTrackBarProperties() = default;

void TcxCustomTrackBarProperties::SetMin(int Value) {
  if (Value == FSettings.Min) return;
  FSettings.Min = Value;
  FSettings.Max = std::max(FSettings.Max, Value);
  Changed();
}

void TcxCustomTrackBarProperties::SetMax(int Value) {
  if (Value == FSettings.Max || Value <= FSettings.Min) return;
  FSettings.Max = Value;
  Changed();
}

int TcxCustomTrackBarProperties::ClampPosition(int64_t AValue) const {
  return static_cast<int>(std::clamp<int64_t>(AValue, FSettings.Min, FSettings.Max));
}

int TcxCustomTrackBarProperties::ValueToPosition(const Variant& AValue) const {
  if (VarIsNullOrEmpty(AValue)) return FSettings.Min;
  if (VarIsIntegerType(AValue)) return AValue.AsInteger();
  if (AValue.IsStr() && IsIntegerText(AValue.AsString())) return DigitsToInt(AValue.AsString(), false);
  return FSettings.Min;
}

void TcxCustomTrackBarProperties::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxCustomTrackBarProperties*>(Source);
  if (!source) return TcxCustomEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomEditProperties::Assign(Source);
    const TcxTrackBarSettings& s = source->FSettings;
    SetAutoSize(s.AutoSize);
    SetBorderWidth(s.BorderWidth);
    SetFrequency(s.Frequency);
    SetMin(s.Min);
    SetMax(s.Max);
    SetOrientation(s.Orientation);
    SetTextOrientation(s.TextOrientation);
    SetPageSize(s.PageSize);
    SetSelectionStart(s.SelectionStart);
    SetSelectionEnd(s.SelectionEnd);
    SetSelectionColor(s.SelectionColor);
    SetShowTicks(s.ShowTicks);
    SetThumbType(s.ThumbType);
    SetShowTrack(s.ShowTrack);
    SetTickColor(s.TickColor);
    SetTickType(s.TickType);
    SetTickMarks(s.TickMarks);
    SetTickSize(s.TickSize);
    SetTrackColor(s.TrackColor);
    SetTrackSize(s.TrackSize);
    SetThumbHeight(s.ThumbHeight);
    SetThumbWidth(s.ThumbWidth);
    SetThumbColor(s.ThumbColor);
    SetThumbHighlightColor(s.ThumbHighlightColor);
    OnChange = source->OnChange;
    OnGetThumbRect = source->OnGetThumbRect;
    OnDrawThumb = source->OnDrawThumb;
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomTrackBarProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomTrackBarViewData>(this, AStyle, AIsInplace);
}

TcxClassRef TcxCustomTrackBarProperties::GetContainerClass() const {
  return cxClassRef<TcxTrackBar>();
}

std::unique_ptr<TcxCustomEditStyle> TcxCustomTrackBarProperties::CreateStyle(TPersistent* AOwner,
                                                                             bool AIsInternal) const {
  return std::make_unique<TcxTrackBarStyle>(AOwner, AIsInternal);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomTrackBarProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomTrackBarViewInfo>();
}

void TcxCustomTrackBarProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                          bool) {
  const bool locked = IsChangedLocked();
  SetChangedLock(true);
  DisplayValue = Variant(ClampPosition(ValueToPosition(EditValue)));
  SetChangedLock(locked);
}

void TcxCustomTrackBarProperties::EditValueToDisplayText(const Variant& EditValue, bool, String& Text) {
  Variant display;
  EditValueToDisplayValue(EditValue, display, false);
  Text = IntToStr(display.AsInteger());
}

// ---- Control ----

TcxCustomTrackBar::TcxCustomTrackBar(TComponent* AOwner) : TcxCustomEdit(AOwner) {
  TcxCustomEdit::SetAutoSize(false);
  ControlStyle.Exclude(csAcceptsControls)
      .Exclude(csCaptureMouse)
      .Exclude(csClickEvents)
      .Exclude(csDoubleClicks);
  SetParentColor(!GetIsInplace());
  SetWidth(196);
  SetHeight(76);
  SetInternalEditValue(Variant(0));
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomTrackBar::CreateProperties() {
  return std::make_unique<TcxTrackBarProperties>(this);
}

int TcxCustomTrackBar::GetPosition() const {
  return GetActiveProperties()->ValueToPosition(GetEditValueRef());
}

void TcxCustomTrackBar::SetPosition(int Value) {
  if (Value == GetPosition() || !QueryEditing()) return;
  TcxControlGuard guard(this);
  // The edit value's setter fires OnChange once: the change comes from no
  // inner edit.
  SetEditValue(Variant(Value));
  if (!guard.Alive()) return;
  GetActiveProperties()->Changed();
  SetModified(true);
  SetModifiedSinceEnter(true);
  PostEditValue();
}

void TcxCustomTrackBar::GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) {
  ASizeProperties.MaxLineCount = 1;
  ASizeProperties.Width = GetViewInfo()->TextRect.Width();
}

void TcxCustomTrackBar::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  GetViewInfo()->Text.clear();
  TcxCustomEdit::ApplyPropertiesChange(AProperties);
}

void TcxCustomTrackBar::SynchronizeDisplayValue() {
  Variant displayValue;
  GetActiveProperties()->EditValueToDisplayValue(GetEditValueRef(), displayValue, Focused());
  GetActiveProperties()->Changed();
}

void TcxCustomTrackBar::MoveTo(int AValue, bool ASelect) {
  if (AValue == GetPosition()) return;
  if (ASelect && FSelecting) {
    if (AValue < FSelectionAnchor)
      GetActiveProperties()->SetSelectionSilently(AValue, FSelectionAnchor);
    else
      GetActiveProperties()->SetSelectionSilently(FSelectionAnchor, AValue);
  }
  SetPosition(AValue);
}

void TcxCustomTrackBar::KeyDown(WORD& Key, TShiftState Shift) {
  if (GetEnabled()) {
    TcxCustomTrackBarProperties* p = GetActiveProperties();
    const int64_t position = GetPosition();
    int64_t value = position;
    bool move = true;
    switch (Key) {
    case VK_SHIFT:
      if (!FSelecting) {
        FSelecting = true;
        FSelectionAnchor = GetPosition();
      }
      move = false;
      break;
    case VK_PRIOR:
      value = position - p->GetPageSize();
      break;
    case VK_NEXT:
      value = position + p->GetPageSize();
      break;
    case VK_END:
      value = p->GetMax();
      break;
    case VK_HOME:
      value = p->GetMin();
      break;
    case VK_LEFT:
    case VK_UP:
      value = position - 1;
      break;
    case VK_RIGHT:
    case VK_DOWN:
      value = position + 1;
      break;
    default:
      move = false;
    }
    if (move) {
      TcxControlGuard guard(this);
      MoveTo(p->ClampPosition(value), true);
      if (!guard.Alive()) return;
    }
  }
  TcxCustomEdit::KeyDown(Key, Shift);
}

void TcxCustomTrackBar::KeyUp(WORD& Key, TShiftState Shift) {
  if (GetEnabled() && Key == VK_SHIFT) FSelecting = false;
  TcxCustomEdit::KeyUp(Key, Shift);
}

void TcxCustomTrackBar::SetMouseState(int AState) {
  TcxCustomTrackBarProperties* p = GetActiveProperties();
  if (p->MouseState == AState) return;
  p->MouseState = AState;
  p->ThumbStateChanged();
}

void TcxCustomTrackBar::MouseEnter(TControl* AControl) {
  TcxCustomEdit::MouseEnter(AControl);
  int state = GetActiveProperties()->MouseState | tbmsOverControl;
  if ((state & tbmsPressed) && GetKeyState(VK_LBUTTON) >= 0) state &= ~(tbmsPressed | tbmsOverThumb);
  SetMouseState(state);
}

void TcxCustomTrackBar::MouseLeave(TControl* AControl) {
  TcxCustomEdit::MouseLeave(AControl);
  SetMouseState(GetActiveProperties()->MouseState & ~tbmsOverControl);
}

void TcxCustomTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxCustomEdit::MouseDown(Button, Shift, X, Y);
  if (!guard.Alive() || Button != mbLeft || !GetEnabled()) return;
  SetMouseCapture(true);
  TcxCustomTrackBarProperties* p = GetActiveProperties();
  const TPoint pt(X, Y);
  if (p->ThumbRect.Contains(pt)) {
    if (Shift.Contains(ssCtrl)) {
      FSelecting = false;
      p->SetSelectionSilently(0, 0);
    }
    p->MouseState |= tbmsPressed;
    p->ThumbStateChanged();
    return;
  }
  if (!GetViewInfo()->ClientRect.Contains(pt)) return;
  const bool horizontal = Horizontal();
  const int coord = horizontal ? X : Y;
  const int64_t position = GetPosition();
  int64_t value = position;
  if (p->ThumbStep == cxtsJump) {
    // Only a track longer than the thumb has a scale to jump by, and the
    // clicked value stays within the range.
    if (p->Scale <= 0) return;
    const double offset = (coord - (horizontal ? p->TrackRect.left : p->TrackRect.top)) / p->Scale;
    value = p->ClampPosition(static_cast<int64_t>(p->GetMin()) +
                             static_cast<int64_t>(std::clamp(std::trunc(offset), -4.0e18, 4.0e18)));
  } else if (coord >= (horizontal ? p->ThumbRect.right : p->ThumbRect.bottom)) {
    value = position + 1;
  } else if (coord < (horizontal ? p->ThumbRect.left : p->ThumbRect.top)) {
    value = position - 1;
  }
  if (value != position) SetPosition(static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)));
}

void TcxCustomTrackBar::MouseMove(TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxContainer::MouseMove(Shift, X, Y);
  if (!guard.Alive()) return;
  TcxCustomTrackBarProperties* p = GetActiveProperties();
  const bool horizontal = Horizontal();
  if ((p->MouseState & tbmsPressed) && Shift.Contains(ssLeft)) {
    // A control without extent gives no ratio: nothing moves.
    const int extent = horizontal ? GetWidth() : GetHeight();
    if (extent <= 0) return;
    const double ratio = static_cast<double>(static_cast<int64_t>(p->GetMax()) - p->GetMin()) / extent;
    const int thumbStart = horizontal ? p->ThumbRect.left : p->ThumbRect.top;
    const int d = (horizontal ? X : Y) - (thumbStart + p->ThumbLength / 2);
    const double moved = std::nearbyint(ratio * d) + GetPosition();
    const int value = p->ClampPosition(static_cast<int64_t>(std::clamp(moved, -4.0e18, 4.0e18)));
    if (value == GetPosition()) return;
    MoveTo(value, Shift.Contains(ssShift));
    return;
  }
  const bool over = p->ThumbRect.Contains(TPoint(X, Y));
  SetMouseState(over ? p->MouseState | tbmsOverThumb : p->MouseState & ~tbmsOverThumb);
}

void TcxCustomTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxCustomEdit::MouseUp(Button, Shift, X, Y);
  if (!guard.Alive()) return;
  TcxCustomTrackBarProperties* p = GetActiveProperties();
  int state = p->MouseState & ~tbmsPressed;
  state = p->ThumbRect.Contains(TPoint(X, Y)) ? state | tbmsOverThumb : state & ~tbmsOverThumb;
  SetMouseState(state);
  if (guard.Alive()) SetMouseCapture(false);
}

void TcxCustomTrackBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_GETDLGCODE:
    Message.Result = DLGC_WANTARROWS;
    return;
  case WM_LBUTTONUP:
    ControlState.Exclude(csClicked);
    break;
  case WM_ERASEBKGND:
    if (!IsDestroying() && GetViewInfo()->Transparent) {
      DrawParentBackground(this, reinterpret_cast<HDC>(Message.WParam), true);
      Message.Result = 1;
      return;
    }
    break;
  }
  TcxCustomEdit::WndProc(Message);
}

void cxTrackBarInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxTrackBarProperties>(), "TrackBar|Represents a TrackBar");
}

void cxTrackBarFinalize() {
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxTrackBarProperties));
}
