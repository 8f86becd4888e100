// Menu animation: a menu window unfolds or slides open step by step on one
// worker thread, or fades in through the system. One animation runs at a
// time; the GUI thread stops it before the menu reacts to input or goes.
#pragma once

#include "dxBar.h"

#include <atomic>

// What the animation needs of a menu window. The GUI thread owns the
// window; the worker only moves it, copies the finished picture into it and
// reads the flags below.
class TdxBarAnimatedMenu {
public:
  virtual ~TdxBarAnimatedMenu() = default;
  // The window handle, made on first use (making it places the window and,
  // while Animating, starts the animation: StartMenuAnimation).
  virtual HWND GetAnimatedHandle() = 0;
  // The manager whose MenuAnimations apply.
  virtual TdxBarManager* GetAnimationManager() const = 0;
  virtual bool HasVisibleLinks() const = 0;
  // The popup notification of a popup menu.
  virtual void NotifyPopup() {}
  // Paints the whole menu into DC at the client's origin.
  virtual void PaintMenuPicture(HDC DC) = 0;
  // The picture was taken: brushes and palette the painting used are made
  // afresh.
  virtual void PictureTaken() {}
  virtual HPALETTE GetMenuPalette() const { return nullptr; }
  // On the GUI thread, once the worker has shown the final window.
  virtual void AnimationFinished() = 0;

  TdxBarMenuAnimations AnimationType = maNone;
  // Set by whoever opens the menu: it is to be animated; then, while the
  // worker runs, that it does (the menu paints nothing meanwhile).
  std::atomic<bool> Animating{false};
  std::atomic<bool> Destroying{false};
  // The menu was placed on the other side of its button: it grows from its
  // right or bottom edge.
  bool GrowLeft = false;
  bool GrowUp = false;
};

// maRandom by a value of 0 to 99: below 33 unfold, below 66 slide, else fade.
TdxBarMenuAnimations ChooseMenuAnimation(TdxBarMenuAnimations Value, int Random100);

// Shows the menu with its animation.
void ShowMenuWindow(TdxBarAnimatedMenu* Menu);
// From the menu's window creation, after placement, while Animating.
void StartMenuAnimation(TdxBarAnimatedMenu* Menu);
// Ends a running animation of the menu and waits for the worker while
// serving the messages it sends; nothing for another menu.
void StopMenuAnimation(TdxBarAnimatedMenu* Menu);
// The menu being animated, none while no worker runs.
TdxBarAnimatedMenu* AnimatedMenu();
// The message the worker posts to the menu's window when it is done; the
// window answers it with AnimationFinished (HandleMenuAnimationMessage).
UINT MenuAnimationDoneMessage();
bool HandleMenuAnimationMessage(TdxBarAnimatedMenu* Menu, const TMessage& Message);
