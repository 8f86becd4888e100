// A scroll bar drawn entirely by the look-and-feel painter into an
// off-screen bitmap, with its own hit testing, hot parts, auto-repeat and
// thumb dragging.
#pragma once

#include "cxLookAndFeels.h"

#include "ExtCtrls.h"
#include "StdCtrls.h"

#include <memory>

// The parts of a bar as the painter numbers them; 0 is none.
using TcxScrollBarPartCode = int;

class TcxScrollBar : public TCustomControl {
public:
  explicit TcxScrollBar(TComponent* AOwner);
  ~TcxScrollBar() override;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void WndProc(TMessage& Message) override;

  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  int GetMin() const { return FMin; }
  void SetMin(int Value) { SetScrollParams(Value, FMax, FPosition, FPageSize, true); }
  int GetMax() const { return FMax; }
  void SetMax(int Value) { SetScrollParams(FMin, Value, FPosition, FPageSize, true); }
  int GetPageSize() const { return FPageSize; }
  void SetPageSize(int Value) { SetScrollParams(FMin, FMax, FPosition, Value, true); }
  int GetPosition() const { return FPosition; }
  void SetPosition(int Value) { SetScrollParams(FMin, FMax, Value, FPageSize, true); }
  // Raises EInvalidOperation and changes nothing when the limits disagree.
  void SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw);
  int SmallChange = 1;
  int LargeChange = 1;
  // The thumb follows the mouse however far it moves from the bar.
  bool UnlimitedTracking = false;
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(const TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }

  // What the mouse points at, in client coordinates.
  TcxScrollBarPartCode HitTest(const TPoint& P) const;
  TRect GetThumbRect() const { return FThumbRect; }
  TRect GetPartRect(TcxScrollBarPartCode Part) const;
  TcxScrollBarPartCode GetHotPart() const { return FHotPart; }
  TcxScrollBarPartCode GetPressedPart() const { return FPressedPart; }
  // The repeat interval now (the first repeat waits longer).
  UINT GetRepeatInterval() const { return FTimer->GetInterval(); }

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

protected:
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;
  void DoScroll(TScrollCode Code);
  void CancelTracking();
  String ClassName() const override { return "TcxScrollBar"; }

private:
  bool IsHorizontal() const { return FKind == sbHorizontal; }
  bool HasHotTracking() const;
  TcxButtonState PartState(TcxScrollBarPartCode Part) const;
  void DrawPart(TcxScrollBarPartCode Part, const TRect& R, TcxButtonState State);
  void CalculateLayout();
  void CalculateThumb();
  void CalculatePageRects();
  void CalculateThumbMinSize();
  int ThemeThumbMinSize(HTHEME Theme) const;
  // Along the bar: the start of the track and its length.
  int TrackStart() const;
  int TrackLength() const;
  int ThumbStart() const;
  int ThumbLength() const;
  int PositionFromThumb() const;
  void MoveThumbTo(int Start);
  void TrackThumb(const TPoint& P);
  bool IsRepeatingPart(TcxScrollBarPartCode Part) const;
  void StepPart(TcxScrollBarPartCode Part);
  void TimerTick();
  void LookAndFeelChanged();
  void ThemeChanged();

  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TcxCanvas> FBitmapCanvas;
  TcxScrollBarPartCode FPressedPart = 0;
  TcxScrollBarPartCode FHotPart = 0;
  std::unique_ptr<TTimer> FTimer;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  int FThumbMinSize = 8;
  TRect FTopLeftArrowRect;
  TRect FBottomRightArrowRect;
  TRect FThumbRect;
  TRect FPageUpRect;
  TRect FPageDownRect;
  TScrollBarKind FKind = sbHorizontal;
  int FPosition = 0;
  TPoint FMouseDownPos;
  int FSavePosition = 0;
  TPoint FSaveThumbOrigin;
  int FMin = 0;
  int FMax = 100;
  int FPageSize = 0;
};
