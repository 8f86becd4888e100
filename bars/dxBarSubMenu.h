// What the menu windows share with their openers: the owner of a popup
// menu's links, the roots of the active chain and the sub items' timer.
#pragma once

#include "dxBar.h"

// What a menu's links' owner other than a sub item gives the menu (a popup
// menu): its side strip and its picture and font under the entries.
class TdxBarMenuOwner {
public:
  virtual ~TdxBarMenuOwner() = default;
  // The width of the side strip.
  virtual int GetMenuBarSize() const = 0;
  virtual void PaintMenuBar(TCanvas* Canvas, const TRect& R) = 0;
  // None: the manager's.
  virtual TBitmap* GetMenuBackground() const { return nullptr; }
  virtual TFont* GetMenuFont() const { return nullptr; }
  virtual HFONT GetMenuFontHandle() const { return nullptr; }
};

// From a bar window up through its parents (or, for a menu without parent,
// the window of the control that opened it) to the last window reached.
TCustomdxBarControl* GetRootBarControl(TCustomdxBarControl* BarControl);
// The same, none when that is a menu (the top of a popup menu).
TdxBarControl* GetRootToolbarControl(TCustomdxBarControl* BarControl);

// The sub item control waiting for the 400 ms timer to open or close its
// menu, and the timer (none while none waits).
struct TdxSubItemTimerState {
  TdxBarSubItemControl* Pending = nullptr;
  UINT_PTR Timer = 0;
  UINT Period = 0;
};
const TdxSubItemTimerState& SubItemTimerState();
