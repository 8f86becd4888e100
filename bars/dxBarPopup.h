// Popup menus of the toolbar manager: the TdxBarPopupMenu component that code
// or a control pops up at a point, the toolbars popup of a right click on a
// toolbar or a dock, the popup-menu links that give ordinary controls of the
// form a bar popup menu, and the manager's background pictures.
#pragma once

#include "dxBar.h"
#include "dxBarSubMenu.h"

class TCanvas;
class TWinControl;
class TdxBarPopupMenuLink;

using TdxBarPopupMenuLinkActionEvent =
    std::function<void(TdxBarPopupMenuLink* Sender, int& X, int& Y, bool ClickedByMouse, bool& AllowPopup)>;

// A context menu of item links shown through a sub-menu window.
class TdxBarPopupMenu : public TComponent, public TdxBarMenuOwner {
public:
  // Raises an exception when no bar manager exists.
  explicit TdxBarPopupMenu(TComponent* AOwner);
  ~TdxBarPopupMenu() override;

  TdxBarManager* GetBarManager() const { return FBarManager; }
  void SetBarManager(TdxBarManager* Value);
  int GetBarSize() const { return FBarSize; }
  void SetBarSize(int Value) { FBarSize = Value < 0 ? 0 : Value; }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  TdxBarItemLinks* GetItemLinks() const { return FItemLinks.get(); }
  void SetItemLinks(const TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }
  bool GetUseOwnFont() const { return FUseOwnFont; }
  void SetUseOwnFont(bool Value);
  bool GetUseRecentItems() const { return FUseRecentItems; }
  void SetUseRecentItems(bool Value);
  TBitmap* GetBackgroundBitmap() const { return FBackgroundBitmap.get(); }
  void SetBackgroundBitmap(const TBitmap* Value) { FBackgroundBitmap->Assign(Value); }
  // The menu's own font while UseOwnFont, else none.
  HFONT GetFontHandle() const { return FFontHandle; }
  // Shown: from the popup notification to the close-up notification.
  bool GetPopped() const { return FPopped; }

  void Loaded() override;
  bool IsShortCut(TShortCut ShortCut) { return FItemLinks->IsShortCut(ShortCut); }
  virtual void DoPaintBar(TCanvas* Canvas, const TRect& R);

  // What the menu window shows of the menu.
  int GetMenuBarSize() const override { return FBarSize; }
  void PaintMenuBar(TCanvas* Canvas, const TRect& R) override { DoPaintBar(Canvas, R); }
  TBitmap* GetMenuBackground() const override;
  TFont* GetMenuFont() const override { return FFont.get(); }
  HFONT GetMenuFontHandle() const override { return FUseOwnFont ? FFontHandle : nullptr; }

  // Shows the menu at the screen point and, unless NonModal, returns when it
  // has closed.
  void PopupAt(int X, int Y);
  // The same, opened from a button: OwnerRect is the button's screen
  // rectangle the menu joins (none: nullptr), OwnerHeight the button's height
  // when the menu opens below it, OwnerWidth its width when beside it.
  void PopupFromRect(int X, int Y, const TRect* OwnerRect, bool Animate, int OwnerHeight, int OwnerWidth);
  // The menu's window: popup and close-up.
  void NotifyPopup();
  void NotifyCloseUp();

  // The popup call returns at once (a drop-down button's menu).
  bool NonModal = false;
  // The bar window whose button drops this menu down, for one popup call.
  TCustomdxBarControl* OwnerBarControl = nullptr;

  TNotifyEvent OnCloseUp;
  TdxBarPaintSubMenuBarEvent OnPaintBar;
  TNotifyEvent OnPopup;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TdxBarPopupMenu"; }

private:
  void FontChanged();
  // Makes, places and shows the links' window.
  void ShowWindowAt(int X, int Y);
  void RunLoop();
  // Cleared when the menu goes: a command of the menu may free it.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  TdxBarManager* FBarManager = nullptr;
  int FBarSize = 0;
  std::unique_ptr<TFont> FFont;
  HFONT FFontHandle = nullptr;
  bool FInternalFontChange = false;
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  bool FUseOwnFont = false;
  bool FUseRecentItems = false;
  std::unique_ptr<TBitmap> FBackgroundBitmap;
  bool FPopped = false;
  bool FLoopRunning = false;
  TRect FOwnerRect;
  bool FHasOwnerRect = false;
  int FOwnerWidth = 0;
  int FOwnerHeight = 0;
  bool FAnimate = true;
};

// While one lives (an input hook's decision), popup menus show at once but
// serve their loop only after the current message: a loop run inside a hook
// would fetch the hook's own message again.
class TdxBarPopupLoopDeferral {
public:
  TdxBarPopupLoopDeferral();
  ~TdxBarPopupLoopDeferral();
  TdxBarPopupLoopDeferral(const TdxBarPopupLoopDeferral&) = delete;
  TdxBarPopupLoopDeferral& operator=(const TdxBarPopupLoopDeferral&) = delete;

private:
  bool FOld;
};

// The menus that the toolbar windows and docks offer on a right click: one
// checked entry per closable toolbar. Nothing shows without entries.
void ShowToolbarsPopup(TdxBarManager* BarManager, POINT ScreenPoint);

// ---- Popup-menu links ----

class TdxBarPopupMenuLink : public TCollectionItem {
public:
  explicit TdxBarPopupMenuLink(TCollection* Collection);
  ~TdxBarPopupMenuLink() override;
  void Assign(const TPersistent* Source) override;
  TdxBarManager* GetBarManager() const;
  TWinControl* GetControl() const { return FControl; }
  // A control of another form than the manager's is refused (none).
  void SetControl(TWinControl* Value);
  TdxBarPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TdxBarPopupMenu* Value);
  bool ProcessChildren = true;
  TdxBarPopupMenuLinkActionEvent OnAction;

  bool IsShortCut(TShortCut ShortCut);
  // Pops the menu up for the window at the screen point, (-1, -1) for a
  // key; true when the link took the event.
  bool ProcessPopup(HWND Wnd, POINT Pt);

private:
  friend class TdxBarManager;
  TWinControl* FControl = nullptr;
  TdxBarPopupMenu* FPopupMenu = nullptr;
};

class TdxBarPopupMenuLinks : public TCollection {
public:
  explicit TdxBarPopupMenuLinks(TdxBarManager* ABarManager);
  TdxBarPopupMenuLink* Add() { return static_cast<TdxBarPopupMenuLink*>(TCollection::Add()); }
  TdxBarPopupMenuLink* GetItem(int Index) const {
    return static_cast<TdxBarPopupMenuLink*>(TCollection::GetItem(Index));
  }
  TdxBarManager* GetBarManager() const { return FBarManager; }
  TPersistent* GetOwner() const override;
  // The links of the control, then those of its parents that serve their
  // children; true when one took the event.
  bool IsShortCut(TWinControl* Control, TShortCut ShortCut);
  bool ProcessPopup(TWinControl* Control, HWND Wnd, POINT Pt);

protected:
  String ClassName() const override { return "TdxBarPopupMenuLinks"; }

private:
  bool ForEachLink(TWinControl* Control, const std::function<bool(TdxBarPopupMenuLink*)>& Take);
  TdxBarManager* FBarManager;
};

// ---- Backgrounds ----

// The manager's pictures behind toolbars and docks (Bar) and behind menus
// (SubMenu).
class TdxBarBackgrounds : public TPersistent {
public:
  explicit TdxBarBackgrounds(TdxBarManager* ABarManager);
  ~TdxBarBackgrounds() override;
  void Assign(const TPersistent* Source) override;
  TBitmap* GetBar() const { return FBar.get(); }
  void SetBar(const TBitmap* Value);
  TBitmap* GetSubMenu() const { return FSubMenu.get(); }
  // None clears the picture.
  void SetSubMenu(const TBitmap* Value);

protected:
  String ClassName() const override { return "TdxBarBackgrounds"; }

private:
  TdxBarManager* FBarManager;
  std::unique_ptr<TBitmap> FBar;
  std::unique_ptr<TBitmap> FSubMenu;
  bool FSettingBar = false;
};
