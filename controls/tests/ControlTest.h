// A control of the library that scrolls drawn content, on a form.
#pragma once

#include "cxControls.h"

#include "GuiTest.h"

#include <algorithm>
#include <memory>
#include <vector>

// Content of ContentWidth x ContentHeight pixels in bands of 20 pixels,
// alternately kBandA and kBandB from the content's top left, scrolled by
// pixel bars.
class TScrollingView : public TcxControl {
public:
  static constexpr TColor kBandA = clNavy;
  static constexpr TColor kBandB = clYellow;
  static constexpr int kLine = 10;

  explicit TScrollingView(TComponent* AOwner) : TcxControl(AOwner) {}
  int ContentWidth = 400;
  int ContentHeight = 600;
  int LeftPos = 0;
  int TopPos = 0;
  // Pages measured from the bars as they are shown, not from the layout's
  // wishes: what the both-bars check exists for.
  bool PagesFromShownBars = false;
  // The content grows when the vertical bar hides and shrinks when it shows.
  bool Oscillating = false;
  struct TScrollCall {
    TScrollBarKind Kind;
    TScrollCode Code;
    int Position;
    DWORD Time;
  };
  std::vector<TScrollCall> Calls;
  bool PixelBars = true;

  void SetContent(int Width, int Height) {
    ContentWidth = Width;
    ContentHeight = Height;
    UpdateScrollBars();
  }
  // Where the content's pixel (X, Y) is drawn.
  TPoint ContentToClient(int X, int Y) const { return TPoint(X - LeftPos, Y - TopPos); }
  static TColor BandColor(int ContentX, int ContentY) {
    return ((ContentX / 20 + ContentY / 20) % 2) ? kBandB : kBandA;
  }
  bool IsPixelScrollBar(TScrollBarKind) override { return PixelBars; }
  using TcxControl::UpdateScrollBars;

protected:
  TRect PageRect() {
    if (!PagesFromShownBars) return GetClientBounds();
    TRect r = GetBounds();
    if (GetHScrollBar() && GetHScrollBar()->GetVisible()) r.bottom -= GetHScrollBar()->GetHeight();
    if (GetVScrollBar() && GetVScrollBar()->GetVisible()) r.right -= GetVScrollBar()->GetWidth();
    return r;
  }
  int ContentHeightNow() {
    if (!Oscillating) return ContentHeight;
    return GetVScrollBar() && GetVScrollBar()->GetVisible() ? GetHeight() / 2 : GetHeight() * 2;
  }
  void InitScrollBarsParameters() override {
    const TRect page = PageRect();
    SetScrollBarData(sbHorizontal, 0, ContentWidth - 1, kLine, page.Width(), LeftPos, true, true);
    SetScrollBarData(sbVertical, 0, ContentHeightNow() - 1, kLine, page.Height(), TopPos, true, true);
  }
  void Scroll(TScrollBarKind Kind, TScrollCode Code, int& Position) override {
    Calls.push_back({Kind, Code, Position, GetTickCount()});
    const bool horizontal = Kind == sbHorizontal;
    int& pos = horizontal ? LeftPos : TopPos;
    const TRect client = GetClientBounds();
    const int page = horizontal ? client.Width() : client.Height();
    const int limit = std::max(0, (horizontal ? ContentWidth : ContentHeight) - page);
    switch (Code) {
    case scLineUp:
      pos -= kLine;
      break;
    case scLineDown:
      pos += kLine;
      break;
    case scPageUp:
      pos -= page;
      break;
    case scPageDown:
      pos += page;
      break;
    case scTrack:
    case scPosition:
      pos = Position;
      break;
    default:
      return;
    }
    pos = std::clamp(pos, 0, limit);
    Position = pos;
    Invalidate();
    if (Code != scTrack) UpdateScrollBars();
  }
  void Paint() override {
    const TRect client = GetClientBounds();
    TcxCanvas* canvas = GetcxCanvas();
    const int firstX = (LeftPos / 20) * 20, firstY = (TopPos / 20) * 20;
    for (int y = firstY; y - TopPos < client.bottom; y += 20)
      for (int x = firstX; x - LeftPos < client.right; x += 20) {
        const TColor color = x < ContentWidth && y < ContentHeight ? BandColor(x, y) : clWhite;
        canvas->FillRect(Bounds(x - LeftPos, y - TopPos, 20, 20), color);
      }
  }
};

// A form holding one view of 200 x 150 at (10, 10).
struct TScrollingForm {
  TScrollingForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 320, 260);
    form->SetColor(clSilver);
    view = new TScrollingView(form.get());
    view->SetBounds(10, 10, 200, 150);
    view->SetParent(form.get());
    form->Show();
    form->Update();
  }
  std::unique_ptr<TForm> form;
  TScrollingView* view;
};

// The centre of a rectangle.
inline TPoint CenterOf(const TRect& R) {
  return TPoint((R.left + R.right) / 2, (R.top + R.bottom) / 2);
}
