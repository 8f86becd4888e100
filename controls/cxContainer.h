// Routines the container, the popups, the inner list box and the editors
// share: button codes, shadows and frame bands, window regions, string
// comparison, and a component that reports the freeing of others.
#pragma once

#include "cxControls.h"

#include <functional>

// Tells its event when a component it watches is freed.
class TcxFreeNotificator : public TComponent {
public:
  using TComponent::TComponent;
  std::function<void(TComponent* Sender)> OnFreeNotification;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TcxFreeNotificator"; }
};

int ContainerMouseButton(TMouseButton Button);
void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& R);
void ShrinkRect(TRect& R, const TRect& Margins);
TRect GetControlRect(TControl* AControl);
bool IsControlHandle(TWinControl* AControl, HWND Wnd);
bool IsSameString(const String& S1, const String& S2, bool ACaseSensitive);
void DrawFrameArea(TcxCanvas* ACanvas, const TRect& R, const TRect& AInner, TColor AColor);
TPoint GetMouseCursorPos();
TShiftState GetShiftState();
void InvalidateFrameArea(HWND Wnd, const TRect& R, const TRect& AInner, bool AErase);
void InvalidateWinControlRect(TWinControl* AControl, const TRect& R, bool AErase);
bool IsWinControlVisible(TWinControl* AControl);
inline HWND WindowHandleOf(HWND Wnd) {
  return Wnd;
}
TcxCanvas* GetScreenCanvas();
// R nil: no region.
void SetWindowRegionFromRect(TWinControl* AControl, const TRect* R);
// AExcluded nil: nothing cut out.
void SetContainerWindowRegion(HWND Wnd, const TRect& R, bool AShadow, bool ANative, const TRect* AExcluded);
bool IsScrollBarInfoAvailable();
bool IsNativeBorderAvailable(bool ANative, TdxThemedObjectType AThemeClass);
// AOther tells AComponent when it is freed.
void AddFreeNotification(TComponent* AComponent, TComponent* AOther);
void RemoveFreeNotification(TComponent* AComponent, TComponent* AOther);

void cxContainerInitialize();
void cxContainerFinalize();
