// The toolbar manager's model: the manager of a form with its categories and
// groups, the items (commands) and their action links, the item links that
// place items on bars and menus, and the bars. Windows, item controls and
// painters build on it.
#pragma once

#include "Collections.h"
#include "Controls.h"
#include "Graphics.h"
#include "Sets.h"
#include "ShortCuts.h"

#include <functional>
#include <memory>
#include <typeindex>
#include <vector>

class TBasicAction;
class TChangeLink;
class TCustomForm;
class TCustomImageList;
class TcxLookAndFeel;
class TdxThemeChangedNotificator;

class TdxBar;
class TdxBarButton;
class TdxBarGroup;
class TdxBarItem;
class TdxBarItemActionLink;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBars;
class TCustomdxBarSubItem;
class TCustomdxBarControl;
class TdxBarControl;
class TdxBarItemControl;
class TdxBarSubItemControl;
class TdxBarSubMenuControl;
class TdxBarSubMenuAnimation;
class TdxBarMenuOwner;
class TdxBarEditControl;
class TCustomdxBarComboControl;
class TdxBarItemControlPainter;
class TdxDockControl;
class TdxBarShadow;
class TdxBarDockControl;
class TdxLayoutStore;
class TdxBarPopupMenu;
class TdxBarPopupMenuLinks;
class TdxBarBackgrounds;
// A painter is a stateless singleton: the manager keeps a pointer to the one
// object of the painter class its style chooses.
using TdxBarItemControlPainterClass = const TdxBarItemControlPainter*;

enum TdxBarManagerStyle { bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11, bmsUseLookAndFeel };
enum TdxBarMenuAnimations { maNone, maRandom, maUnfold, maSlide, maFade };
enum TdxBarDockingStyle { dsNone, dsLeft, dsTop, dsRight, dsBottom };
using TdxBarDockingStyles = TSet<TdxBarDockingStyle>;
enum TdxBarItemVisible { ivNever, ivInCustomizing, ivAlways };
enum TdxBarItemAlign { iaLeft, iaCenter, iaRight, iaClient };
enum TdxBarPaintStyle { psStandard, psCaption, psCaptionInMenu, psCaptionGlyph };
enum TdxBarUserDefine { udCaption, udGlyph, udPaintStyle, udWidth };
using TdxBarUserDefines = TSet<TdxBarUserDefine>;
enum TdxBarButtonStyle { bsDefault, bsChecked, bsDropDown };
enum TdxBarBorderStyle { bbsNone, bbsSingle };

using TdxBarEvent = std::function<void(TObject* Sender, TdxBar* ABar)>;
using TdxBarVisibleChangeEvent = TdxBarEvent;
using TdxBarItemLinkEvent = std::function<void(TObject* Sender, TdxBarItemLink* AItemLink)>;
using TdxBarClickItemEvent = std::function<void(TObject* Sender, TdxBarItem* ClickedItem)>;
using TdxBarShowPopupEvent = std::function<void(TObject* Sender, TdxBarItemLinks* PopupItemLinks)>;
using TdxBarPaintSubMenuBarEvent = std::function<void(TObject* Sender, TCanvas* Canvas, const TRect& R)>;
using TdxBarMenuMergeEvent =
    std::function<void(TdxBarManager* Sender, TdxBarManager* ChildBarManager, bool AddItems)>;
using TdxBarCanDockingEvent = std::function<void(TdxBar* Sender, TdxBarDockingStyle Style,
                                                 TdxDockControl* DockControl, bool& CanDocking)>;

// ---- Item classes ----

// What a class reference of an item class gives: its exact type, its name
// and a way to make one.
struct TdxBarItemClassInfo {
  std::type_index Type;
  String Name;
  std::function<TdxBarItem*(TComponent* AOwner)> Create;
};
using TdxBarItemClass = const TdxBarItemClassInfo*;

// The class reference of an item class T that a class's ClassInfo answers.
template <typename T> TdxBarItemClass MakeBarItemClassInfo(const char* Name) {
  static const TdxBarItemClassInfo info{typeid(T), Name,
                                        [](TComponent* AOwner) -> TdxBarItem* { return new T(AOwner); }};
  return &info;
}

// The control of a link is made by the window that shows it: a factory of an
// item-control class, filled in when the windows land.
using TdxBarItemControlClass = std::function<TObject*(TdxBarItemLink* Link)>;

void RegisterBarItemClass(TdxBarItemClass ItemClass, TdxBarItemControlClass ItemControlClass,
                          bool ShownInDesigner);
void UnregisterBarItemClass(TdxBarItemClass ItemClass);
int GetRegisteredItemClassCount();
// Among the classes shown in the designer's lists; none out of range.
TdxBarItemClass GetRegisteredItemClass(int N);
// The registered record of exactly the item's class, or none.
const TdxBarItemControlClass* GetItemControlClass(const TdxBarItem* Item);

// ---- Process-wide services ----

// The library's process-wide state, started once and ended once, with a
// reference count: every program and test that uses the library holds one.
void StartBarsLibrary();
void EndBarsLibrary();
class TBarsLibrary {
public:
  TBarsLibrary() { StartBarsLibrary(); }
  ~TBarsLibrary() { EndBarsLibrary(); }
  TBarsLibrary(const TBarsLibrary&) = delete;
  TBarsLibrary& operator=(const TBarsLibrary&) = delete;
};

class TdxBarManagerList : public TObject {
public:
  ~TdxBarManagerList() override;
  TdxBarManager* GetItem(int Index) const;
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TdxBarManager* GetCustomizingManager() const;

private:
  friend class TdxBarManager;
  std::vector<TdxBarManager*> FItems;
};

// None before the library started.
TdxBarManagerList* dxBarManagerList();
// Items without owner made for generated menus.
std::vector<TdxBarItem*>& TempItems();

// The live bar windows (registered by the windows themselves).
void RegisterBarControl(TObject* BarControl);
void UnregisterBarControl(TObject* BarControl);
bool IsBarControlAlive(const TObject* BarControl);
// Every live bar window, in the order they were made.
const std::vector<TObject*>& LiveBarControls();

TdxBarManager* GetBarManagerOfForm(const TComponent* AForm);
// The keyboard, mouse and call-window-proc hooks of the GUI thread: the
// first manager installs them, the last one removes them.
void InstallBarHooks();
void RemoveBarHooks();
bool BarHooksInstalled();
// An in-place editor hands the keyboard hook a system key it received (the
// release of Alt counts as a lone one): 1 when the bars took it.
LRESULT ForwardKeyToBarHooks(WPARAM Key, LPARAM KeyData);
// The key is held, counting the key-down the keyboard hook is handing to a
// bar window (the thread's key state shows it only after the hook).
bool IsBarKeyDown(int Key);
void BarManagerDesignerModified(TdxBarManager* BarManager);
String MakeUniqueItemName(const TdxBarManager* BarManager, TdxBarItemClass ItemClass);
TdxBarItemVisible BoolToItemVisible(bool Value);
String RemoveAmpersands(const String& ACaption);

void SetLayeredAlpha(HWND Wnd, BYTE Alpha);
class TControl;
TControl* FindControlOrParent(HWND Wnd);
bool IsAncestorWindow(HWND Child, HWND Parent);
HWND WindowFromPointDeep(POINT Pt);

// The user32 entry points that older systems lack; none when absent.
struct TdxUser32Entries {
  BOOL(WINAPI* TrackMouseEvent)(LPTRACKMOUSEEVENT) = nullptr;
  BOOL(WINAPI* UpdateLayeredWindow)
  (HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD) = nullptr;
  BOOL(WINAPI* AnimateWindow)(HWND, DWORD, DWORD) = nullptr;
  BOOL(WINAPI* SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;
};
TdxUser32Entries& dxUser32();

struct TdxOSFlags {
  bool IsWin9x = false;
  bool IsWin95 = false;
  bool IsWin98OrW2K = false;
};
const TdxOSFlags& dxOSFlags();
// Computes the flags from a version record as GetVersionEx fills it.
TdxOSFlags ComputeOSFlags(const OSVERSIONINFOA& Info);

// A form's bar definition: creates the manager's categories, groups, items,
// bars and links on the manager it is given, as a form resource would.
using TdxBarDefinition = std::function<void(TdxBarManager* Manager)>;
// Creates the manager of Form and runs its definition between loading and
// Loaded; the definition is kept for resets.
TdxBarManager* CreateBarManager(TCustomForm* Form, TdxBarDefinition Definition);

// ---- The customizing dialog's entry points (dxBarCustForm.h) ----

class TdxBarCustomizingForm;
// A program offers customizing to its users ("&Customize...", a dock's
// double click) by registering the dialog; until then SetCustomizing only
// switches the mode.
void RegisterBarCustomizingForm();
void UnregisterBarCustomizingForm();
bool IsBarCustomizingFormRegistered();
// The one open dialog of the process, or none.
TdxBarCustomizingForm* ActiveCustomizingForm();
// The window of the open dialog (a customizing drag captures the mouse on
// it), none while no dialog is open.
HWND ActiveCustomizingFormHandle();
// Opens the dialog for the manager (nothing while one is open) or closes it.
void ShowCustomizingForm(TdxBarManager* BarManager, bool Show);
// What the open dialog is told; each does nothing while none is open.
void CustomizingFormHelpButtonChanged();
void CustomizingFormStyleChanged();
void CustomizingFormOptionsChanged();
void CustomizingFormBarChanged(TdxBar* Bar);
void CustomizingFormBarRemoved(TdxBar* Bar);
void CustomizingFormRefreshCommands();
void CustomizingFormSelectItem(TdxBarItem* Item, bool Force);
void CustomizingFormItemsChanged();
void CustomizingFormItemChanged(TdxBarItem* Item);
void CustomizingFormItemNameChanged();
void CustomizingFormGroupsChanged();
void CustomizingFormGroupItemsChanged();


// ---- The hint window ----

// The one tooltip window the managers share.
class TdxBarHintWindow : public TCustomControl {
public:
  explicit TdxBarHintWindow(TComponent* AOwner);
  // Shows Text at the screen point, in the manager's font.
  virtual void ActivateHint(POINT Pt, const String& Text, TdxBarManager* BarManager);

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  String ClassName() const override { return "TdxBarHintWindow"; }
};

// The shared hint window, none before a hint was shown.
TdxBarHintWindow* dxBarHintWindow();
// A manager that goes forgets its hint; the last one frees the window.
void ReleaseHintOf(TdxBarManager* Manager);

// ---- Categories and groups ----

struct TdxBarCategoryRecord {
  TdxBarItemVisible ItemsVisible = ivAlways;
  TdxBarItemVisible PendingItemsVisible = ivNever;
  bool Visible = true;
  // A pending items visibility is applied only where one was set while
  // loading: a record made then for another switch keeps its items.
  bool HasPendingItemsVisible = false;
};

class TdxBarManagerCategories : public TStringList {
public:
  explicit TdxBarManagerCategories(TdxBarManager* ABarManager);
  ~TdxBarManagerCategories() override;
  void Insert(int Index, const String& S) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  TdxBarCategoryRecord* GetRecord(int Index) const;
  TdxBarCategoryRecord* RequireRecord(int Index);

private:
  void ShiftItems(int From, int To);
  std::vector<TdxBarItem*> CategoryItems(int Index) const;
  TdxBarManager* FBarManager;
  bool FMoving = false;
};

class TdxBarGroup : public TComponent {
public:
  explicit TdxBarGroup(TComponent* AOwner);
  ~TdxBarGroup() override;
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TdxBarItemVisible GetVisible() const { return FVisible; }
  void SetVisible(TdxBarItemVisible Value);
  TdxBarManager* GetBarManager() const { return FBarManager; }
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TComponent* GetItem(int Index) const { return FItems[Index]; }
  int IndexOf(TComponent* AItem) const;
  void Add(TComponent* AItem);
  void Remove(TComponent* AItem);
  void Move(int CurIndex, int NewIndex);
  int GetIndex() const;
  void SetIndex(int Value);
  bool Contains(const TdxBarGroup* AGroup) const;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TdxBarGroup"; }

private:
  friend class TdxBarManager;
  template <typename F> void ForEachMember(F&& Apply);
  TdxBarManager* FBarManager = nullptr;
  bool FEnabled = true;
  TdxBarItemVisible FVisible = ivAlways;
  std::vector<TComponent*> FItems;
};

// ---- The manager ----

class TdxBarManager : public TComponent {
public:
  explicit TdxBarManager(TComponent* AOwner);
  ~TdxBarManager() override;

  TCustomForm* GetOwnerForm() const { return FOwnerForm; }
  bool IsCustomizing() const { return FCustomizing || GetDesigning(); }
  // Designed by a host (the component state); never in the program.
  bool GetDesigning() const { return IsDesigning(); }
  bool GetCustomizing() const { return FCustomizing; }
  // Entering destroys every bar window's controls and makes them again for
  // the mode, and shows the customizing dialog when one is registered.
  void SetCustomizing(bool Value);
  // Customizing mode: the picked control of all bar windows.
  void SetSelectedItemControl(TdxBarItemControl* Control);
  // The customizing drag of an item (a link of it when Link is given; none
  // for a command from the customizing dialog): a modal loop with the mouse
  // captured that moves, copies (Ctrl held), deletes (dropped outside the
  // bars) or regroups (nudged more than 3 pixels) until the button goes up
  // or Esc cancels.
  void CustomizingDragLoop(TdxBarItem* Item, TdxBarItemLink* Link);
  TdxBarItem* DraggedItem = nullptr;
  TdxBarItemLink* DraggedLink = nullptr;
  // A modal drag runs: this one, or a menu torn off into its floating bar.
  bool GetDragging() const { return FDragging; }
  void SetDragging(bool Value) { FDragging = Value; }
  // Whether a drop on Control at the hit flags changes anything.
  bool IsValidDropPosition(TdxBarItemControl* Control, bool InGap, bool Before, bool Ctrl) const;
  // The insertion mark at a drop position, drawn with R2_NOT: drawn twice
  // it is gone.
  void DrawInsertionMark(TdxBarItemControl* Control, bool InGap, bool Vertical, bool Before);
  // The "&Customize..." entry of ItemClass at the end of Links (nothing
  // unless CanCustomize and a customizing dialog is registered).
  void AddCustomizeEntry(TdxBarItemLinks* Links, bool BeginGroup, TdxBarItemClass ItemClass);
  bool GetLockUpdate() const { return FLockUpdate; }
  void SetLockUpdate(bool Value);
  void DesignerModified();
  bool GetModified() const { return FModified; }
  void Loaded() override;

  TdxBarManagerStyle GetEffectiveStyle() const;
  bool CanShowRecentItems() const { return GetEffectiveStyle() != bmsStandard; }
  bool ShowRecentItemsFirst() const { return CanShowRecentItems() && FMenusShowRecentItemsFirst; }
  bool IsFlatStyle() const { return FStyle == bmsFlat; }
  bool GetXPThemesAvailable() const { return FXPThemesAvailable; }
  void UpdatePainter();
  void StyleChanged();
  // The painter of the effective style; Enhanced for a style whose painter
  // is not there.
  TdxBarItemControlPainterClass GetPainterClass() const { return FPainterClass; }
  // Painter metrics kept at each style change.
  int GetGripOffset() const { return FGripOffset; }
  int GetGripAreaSize() const { return FGripAreaSize; }
  int GetSeparatorIndent() const { return FSeparatorIndent; }
  int GetButtonWidth() const { return FButtonWidth; }
  int GetButtonHeight() const { return FButtonHeight; }
  int GetArrowWidth() const { return FArrowWidth; }
  // The grip space of a docked bar: none for a bar that may dock nowhere.
  int GetGripSize(const TdxBar* ABar) const;

  // ---- The manager's windows and its form ----
  // Called by the form's hook before the form's window procedure gets the
  // message.
  void FormMessage(UINT Msg, WPARAM WParam, LPARAM LParam);
  // Shows the floating bars without activation, or hides them when the
  // form loses the user (OtherWindow: the window that takes activation).
  void UpdateFloatingBars(bool Active, bool Force, HWND OtherWindow);
  void FloatingBarsInWorkArea();
  void RepaintBars();
  // Takes the active bar window and its parents out of the active chain.
  void DeactivateAll();
  void SetHideFloatingBarsWhenInactive(bool Value);
  bool GetSunkenBorder() const { return FSunkenBorder; }
  void SetSunkenBorder(bool Value);
  virtual bool CanDocking(TdxBar* Bar, TdxBarDockingStyle Style, TdxDockControl* DockControl);
  TdxBarCanDockingEvent OnDocking;
  // Every dock control of the manager, the automatic ones first.
  int GetDockControlCount() const { return static_cast<int>(FDockControls.size()); }
  TdxDockControl* GetDockControl(int Index) const { return FDockControls[Index]; }
  void AddDockControl(TdxDockControl* DockControl);
  void RemoveDockControl(TdxDockControl* DockControl);
  // The sizes of the automatic docks: left and right widths, top and
  // bottom heights.
  void SetDockControlHeights(int Left, int Right, int Top, int Bottom);
  void GetDockControlHeights(int (&Sizes)[4]) const;
  // Bars whose windows went with the form's window, shown again when it
  // is made anew; none while no window went.
  bool HasPendingBars() const { return FPendingBars != nullptr; }
  void StartPendingBars();
  void AddPendingBar(TdxBar* ABar);
  bool IsPendingBar(const TdxBar* ABar) const;
  void RemovePendingBar(TdxBar* ABar);
  // A bar window whose handle went without its bar hiding it: freed once
  // no window procedure runs for it.
  void ReleaseBarControl(TdxBarControl* BarControl);
  // The form is active (kept by the form's message handler).
  bool FormActive = false;
  // The selected control of the bar windows, and the toolbar window in
  // keyboard mode.
  TdxBarItemControl* SelectedItemControl = nullptr;
  TdxBarControl* KeyboardBarControl = nullptr;

  // Properties with an effect.
  bool GetAutoHideEmptyBars() const { return FAutoHideEmptyBars; }
  void SetAutoHideEmptyBars(bool Value);
  bool GetScaled() const { return FScaled; }
  void SetScaled(bool Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  int GetButtonArrowWidth() const { return FButtonArrowWidth; }
  void SetButtonArrowWidth(int Value);
  int GetLargeButtonArrowWidth() const { return FLargeButtonArrowWidth; }
  void SetLargeButtonArrowWidth(int Value);
  TColor GetDockColor() const;
  void SetDockColor(TColor Value);
  void SetAutoDockColor(bool Value);
  bool GetLargeIcons() const { return FLargeIcons; }
  void SetLargeIcons(bool Value);
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(const TcxLookAndFeel* Value);
  TdxBarMenuAnimations GetMenuAnimations() const { return FMenuAnimations; }
  void SetMenuAnimations(TdxBarMenuAnimations Value);
  bool GetMenusShowRecentItemsFirst() const { return FMenusShowRecentItemsFirst; }
  void SetMenusShowRecentItemsFirst(bool Value);
  int GetMostRecentItemsPercents() const { return FMostRecentItemsPercents; }
  void SetMostRecentItemsPercents(int Value);
  bool GetShowFullMenusAfterDelay() const { return FShowFullMenusAfterDelay; }
  void SetShowFullMenusAfterDelay(bool Value);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool GetShowShortCutInHint() const { return FShowShortCutInHint; }
  void SetShowShortCutInHint(bool Value);
  TdxBarManagerStyle GetStyle() const { return FStyle; }
  void SetStyle(TdxBarManagerStyle Value);
  bool GetUseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  int GetWaitForDockingTime() const { return FWaitForDockingTime; }
  void SetWaitForDockingTime(int Value);
  TStrings* GetCategories() const;
  void SetCategories(const TStrings* Value);
  TdxBars* GetBars() const { return FBars.get(); }
  TBitmap* GetHelpButtonGlyph() const { return FHelpButtonGlyph.get(); }
  void SetHelpButtonGlyph(const TBitmap* Value) { FHelpButtonGlyph->Assign(Value); }
  bool GetShowHelpButton() const { return FShowHelpButton; }
  void SetShowHelpButton(bool Value);

  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TCustomImageList* GetHotImages() const { return FHotImages; }
  void SetHotImages(TCustomImageList* Value);
  TCustomImageList* GetDisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TCustomImageList* GetDisabledLargeImages() const { return FDisabledLargeImages; }
  void SetDisabledLargeImages(TCustomImageList* Value);

  // Switches whose effect lies in other parts of the library.
  bool AllowCallFromAnotherForm = false;
  bool AllowReset = true;
  bool AlwaysMerge = false;
  bool AlwaysSaveText = false;
  bool AutoDockColor = true;
  bool CanCustomize = true;
  bool FlatCloseButton = false;
  int HelpContext = 0;
  bool HideFloatingBarsWhenInactive = true;
  TColor ImageListBkColor = clFuchsia;
  String IniFileName;
  bool MakeDisabledImagesFaded = false;
  TdxBarDockingStyles NotDocking;
  String RegistryPath;
  bool ShowCloseButton = false;
  bool ShowHintForDisabledItems = true;
  bool StoreInIniFile = false;
  bool StoreInRegistry = false;
  bool StretchGlyphs = true;
  bool UseF10ForMenu = true;
  bool UseFullReset = false;

  // Sizes and colours.
  TColor GetFlatFrameColor() const;
  TColor GetFlatToolbarColor() const;
  TColor GetFlatCheckedColor() const;
  TColor GetFlatCheckedSelectedColor() const;
  TColor GetFlatSelectionColor() const;
  HBRUSH GetFlatFrameBrush() const { return FFlatBrushes[0]; }
  HBRUSH GetFlatToolbarBrush() const { return FFlatBrushes[1]; }
  HBRUSH GetFlatCheckedBrush() const { return FFlatBrushes[2]; }
  HBRUSH GetFlatCheckedSelectedBrush() const { return FFlatBrushes[3]; }
  HBRUSH GetFlatSelectedBrush() const { return FFlatBrushes[4]; }
  // Only while visual styles are available.
  HBRUSH GetXPToolbarBrush() const { return FXPToolbarBrush; }
  void SysColorsChanged();
  int GetInitialUseCount() const { return FInitialUseCount; }
  void CalcInitialUseCount();
  int GetGlyphSize() const { return FGlyphSize; }
  HFONT GetMenuFontHandle() const { return FMenuFontHandle; }
  void ReadSystemFont();
  void FontChanged();

  // Items, groups and bars.
  int GetItemCount() const { return static_cast<int>(FItems.size()); }
  TdxBarItem* GetItem(int Index) const;
  int GetGroupCount() const { return static_cast<int>(FGroups.size()); }
  TdxBarGroup* GetGroup(int Index) const;
  TdxBarGroup* AddGroup();
  TdxBar* GetMainMenuBar() const { return FMainMenuBar; }
  int GetReadStateCount() const { return FReadStateCount; }
  // Popup menus, popup-menu links and background pictures (dxBarPopup.h).
  int GetPopupMenuCount() const { return static_cast<int>(FPopupMenus.size()); }
  TdxBarPopupMenu* GetPopupMenu(int Index) const { return FPopupMenus[Index]; }
  TdxBarPopupMenuLinks* GetPopupMenuLinks() const { return FPopupMenuLinks.get(); }
  TdxBarBackgrounds* GetBackgrounds() const { return FBackgrounds.get(); }
  // One checked entry per closable toolbar, toggling its visibility.
  void FillToolbarsList(TdxBarItemLinks* Links);

  // Categories.
  TdxBarItemVisible GetCategoryItemsVisible(int Index) const;
  bool GetCategoryVisible(int Index) const;
  void SetCategoryItemsVisible(int Index, TdxBarItemVisible Value);
  void SetCategoryVisible(int Index, bool Value);

  // Lookups and the usage data of personalised menus.
  TdxBar* FindBarByCaption(const String& Caption) const;
  TdxBar* FindBarByName(const String& Name) const;
  TdxBarItem* FindItemByName(const String& Name) const;
  int GetItemsByCategory(int Category, std::vector<TdxBarItem*>& List) const;
  // The items of a category the customizing dialog lists: those visible in
  // the current mode and not hidden from customizing.
  int GetCategoryCommands(int Category, std::vector<TdxBarItem*>& List) const;
  // The index of the N-th visible category, or -1.
  int VisibleCategoryToIndex(int N) const;
  void ExchangeItems(int Index1, int Index2);
  bool CanResetBars() const { return FReadStateCount == 1 && AllowReset; }
  // A fresh copy of the owner form's bar definition, or none; the caller
  // frees it.
  std::unique_ptr<TCustomForm> CreateResetForm();
  void ResetUsageData();
  void ResetUsageDataWithConfirmation();
  void ItemChanged(TdxBarItem* Item);

  // The user's layout in a registry key below HKEY_CURRENT_USER or in an ini
  // file (sections of this form's manager only); nothing for an empty path.
  void LoadFromRegistry(const String& APath);
  void SaveToRegistry(const String& APath);
  void LoadFromIniFile(const String& AFileName);
  void SaveToIniFile(const String& AFileName);
  // A dock control's name after those of its named owners ("Form1.Dock1"),
  // and back: none for an empty path or a missing component, EInvalidCast
  // for a component that is no dock control.
  String GetDockControlPath(const TdxBarDockControl* DockControl) const;
  TdxBarDockControl* FindDockControlByPath(const String& Path) const;

  // Shows a hint after a delay (at once within 400 ms of the last one),
  // hides it after 10 s; an empty text hides it.
  void ShowHint(bool Show, const String& Text);
  // The hint of a control of Item whose own hint is ControlHint: its short
  // hint as the item's action lets it show, with the shortcut when hints
  // name shortcuts; empty when no hint shows.
  String GetControlHintText(const TdxBarItem* Item, const String& ControlHint, bool Enabled) const;

  // Event dispatch.
  virtual void DoClickItem(TdxBarItem* Item);
  void DoBarAfterReset(TdxBar* ABar);
  void DoBarBeforeReset(TdxBar* ABar);
  void DoBarClose(TdxBar* ABar);
  void DoBarDockingStyleChange(TdxBar* ABar);
  void DoCloseButtonClick();
  void DoHelpButtonClick();
  void DoShowCustomizingPopup(TdxBarItemLinks* Links);
  void DoShowToolbarsPopup(TdxBarItemLinks* Links);

  TdxBarEvent OnBarAdd;
  TdxBarEvent OnBarAfterReset;
  TdxBarEvent OnBarBeforeReset;
  TdxBarEvent OnBarClose;
  TdxBarEvent OnBarDelete;
  TdxBarEvent OnBarDockingStyleChange;
  TdxBarVisibleChangeEvent OnBarVisibleChange;
  TdxBarItemLinkEvent OnItemLinkAdd;
  TdxBarItemLinkEvent OnItemLinkChange;
  TdxBarItemLinkEvent OnItemLinkDelete;
  TNotifyEvent OnCloseButtonClick;
  TNotifyEvent OnHelpButtonClick;
  // MDI: the active child's main menu merges into this form's main menu
  // (always with AlwaysMerge, else while it is maximized); a maximized
  // child's system menu becomes the main menu's first entry. OnMenuMerge
  // replaces the copying and the removal of the child's links.
  void MDIChildChanged();
  // The MDI client's active child of an MDI owner form, else none.
  HWND GetActiveMDIChild() const;
  HWND ActiveMDIChildWindow = nullptr;
  bool ActiveMDIChildMaximized = false;
  bool SavedChildMenuVisible = false;
  TdxBarMenuMergeEvent OnMenuMerge;
  TNotifyEvent OnHideCustomizingForm;
  TNotifyEvent OnShowCustomizingForm;
  TdxBarShowPopupEvent OnShowCustomizingPopup;
  TdxBarShowPopupEvent OnShowToolbarsPopup;
  TdxBarClickItemEvent OnClickItem;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TdxBarManager"; }

private:
  friend class TdxBarItem;
  friend class TdxBarGroup;
  friend class TdxBar;
  friend class TdxBars;
  friend class TdxBarManagerCategories;
  friend class TdxBarPopupMenu;
  friend TdxBarManager* CreateBarManager(TCustomForm* Form, TdxBarDefinition Definition);
  void CheckOwner(TComponent* AOwner);
  void CreateImageLinks();
  void SetImageList(TCustomImageList*& Field, TChangeLink& Link, TCustomImageList* Value,
                    void (TdxBarManager::*Changed)());
  void ImagesChanged();
  void LargeImagesChanged();
  void HotImagesChanged();
  void DisabledImagesChanged();
  void DisabledLargeImagesChanged();
  void VisitItemsForImages(const std::function<void(TdxBarItem*)>& Visit);
  void OptionChanged();
  void ApplyPendingCategories();
  void CreateBrushes();
  void FreeBrushes();
  void SetMainMenuBar(TdxBar* Value) { FMainMenuBar = Value; }
  void CalcButtonSizes();
  std::vector<TdxBar*> BarsWithoutAvailableLinks() const;
  void AutoHideBars(TdxBarItemVisible Value, const std::vector<TdxBar*>& EmptyBefore);
  void ReadLayout(TdxLayoutStore& Store);
  void WriteLayout(TdxLayoutStore& Store);

  bool FConstructed = false;
  bool FRefused = true;
  TCustomForm* FOwnerForm = nullptr;
  bool FCustomizing = false;
  bool FDragging = false;
  bool FLockUpdate = false;
  bool FModified = false;
  bool FXPThemesAvailable = false;
  int FReadStateCount = 0;
  TdxBarDefinition FDefinition;

  bool FAutoHideEmptyBars = false;
  bool FScaled = true;
  std::unique_ptr<TFont> FFont;
  bool FInternalFontChange = false;
  HFONT FMenuFontHandle = nullptr;
  int FButtonArrowWidth = 11;
  int FLargeButtonArrowWidth = 13;
  TColor FDockColor = clBtnFace;
  bool FLargeIcons = false;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  TdxBarMenuAnimations FMenuAnimations = maNone;
  bool FMenusShowRecentItemsFirst = true;
  int FMostRecentItemsPercents = 95;
  int FInitialUseCount = 20;
  bool FShowFullMenusAfterDelay = true;
  bool FShowHint = true;
  bool FShowShortCutInHint = false;
  TdxBarManagerStyle FStyle = bmsEnhanced;
  bool FUseSystemFont = false;
  int FWaitForDockingTime = 21;
  int FGlyphSize = 16;
  TdxBarItemControlPainterClass FPainterClass = nullptr;
  int FGripOffset = 0;
  int FGripAreaSize = 0;
  int FSeparatorIndent = 0;
  int FButtonWidth = 0;
  int FButtonHeight = 0;
  int FArrowWidth = 0;
  std::unique_ptr<TBitmap> FHelpButtonGlyph;
  bool FShowHelpButton = false;
  HBRUSH FFlatBrushes[5] = {};
  HBRUSH FXPToolbarBrush = nullptr;

  TCustomImageList* FImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FHotImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  TCustomImageList* FDisabledLargeImages = nullptr;
  std::unique_ptr<TChangeLink> FImagesLink, FLargeImagesLink, FHotImagesLink, FDisabledImagesLink,
      FDisabledLargeImagesLink;

  std::vector<TdxBarItem*> FItems;
  std::vector<TdxBarGroup*> FGroups;
  std::unique_ptr<TdxBarManagerCategories> FCategories;
  std::unique_ptr<TdxBars> FBars;
  TdxBar* FMainMenuBar = nullptr;
  std::vector<TdxDockControl*> FDockControls;
  std::unique_ptr<std::vector<TdxBar*>> FPendingBars;
  std::vector<TdxBarControl*> FReleasedBarControls;
  bool FUpdatingFloatingBars = false;
  bool FSunkenBorder = false;
  std::vector<TdxBarPopupMenu*> FPopupMenus;
  std::unique_ptr<TdxBarPopupMenuLinks> FPopupMenuLinks;
  std::unique_ptr<TdxBarBackgrounds> FBackgrounds;
  void ShowPendingBars();
  void FreeReleasedBarControls();
  void HideFloatingBars();
  void SystemCommand(WPARAM Command);
  void MergeChildMenu(HWND Child, bool Activate, bool SkipMerge, bool KeepLocked);
  void AddSystemMenuItem(HWND Child);
  void RemoveSystemMenuItem();
  bool FMDIMenuLock = false;
};

// Holds the manager's update lock for a scope, restoring the previous state.
class TLockUpdateScope {
public:
  explicit TLockUpdateScope(TdxBarManager* Manager) : FManager(Manager), FOld(Manager->GetLockUpdate()) {
    Manager->SetLockUpdate(true);
  }
  ~TLockUpdateScope() { FManager->SetLockUpdate(FOld); }
  TLockUpdateScope(const TLockUpdateScope&) = delete;
  TLockUpdateScope& operator=(const TLockUpdateScope&) = delete;

private:
  TdxBarManager* FManager;
  bool FOld;
};

// ---- Items ----

class TdxBarItem : public TComponent {
public:
  explicit TdxBarItem(TComponent* AOwner);
  ~TdxBarItem() override;
  static TdxBarItemClass ClassInfo();
  virtual TdxBarItemClass GetItemClass() const { return ClassInfo(); }

  TdxBarManager* GetBarManager() const { return FBarManager; }
  int GetIndex() const;
  int GetLinkCount() const { return static_cast<int>(FLinks.size()); }
  TdxBarItemLink* GetLink(int Index) const;
  // The first link whose control is active (editing, dropped down or open).
  TdxBarItemLink* GetActiveLink() const;
  bool IsActuallyVisible() const;
  bool IsImageAssigned() const;

  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  // The caption without the setter's notifications (generated entries).
  void SetCaptionDirectly(const String& Value) { FCaption = Value; }
  int GetCategory() const { return FCategory; }
  void SetCategory(int Value);
  const String& GetDescription() const { return FDescription; }
  void SetDescription(const String& Value);
  bool GetEnabled() const;
  void SetEnabled(bool Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* Value) { FGlyph->Assign(Value); }
  int GetImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(int Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  TdxBarItemVisible GetVisible() const { return FVisible; }
  void SetVisible(TdxBarItemVisible Value);
  TdxBarItemAlign GetAlign() const { return FAlign; }
  void SetAlign(TdxBarItemAlign Value);
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);
  void Loaded() override;
  // Lets the action update the item's state.
  void UpdateAction();

  int HelpContext = 0;
  String Hint;
  bool UnclickAfterDoing = true;
  TNotifyEvent OnClick;
  TNotifyEvent OnDestroy;

  virtual bool CanClick() const { return true; }
  virtual bool AcceptsAccelerator(const TdxBarItemLink* Link) const;
  virtual bool IsHiddenInCustomizing() const { return false; }
  virtual bool CanBeVisible() const { return true; }
  virtual bool HasHotImage() const { return false; }
  virtual bool HasLargeImage() const { return false; }
  virtual void BarNotification(TOperation, TdxBar*) {}
  virtual int GetActionImageIndex() const { return FImageIndex; }
  virtual void SetActionImageIndex(int Value) { SetImageIndex(Value); }
  virtual void VisibleChanged();
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void ShortCutChanged();
  // The glyph of one image list changed.
  virtual void GlyphChanged();
  virtual void HotGlyphChanged() {}
  virtual void LargeGlyphChanged() {}

  // The entry for code and shortcut keys.
  virtual void Click();
  // The click of a control: OnClickItem, then the command, each exception to
  // the application's handler.
  virtual void DirectClick();

protected:
  virtual void DoClick();
  virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TdxBarItem"; }
  // A designed manager's customizing dialog lists the item anew.
  void CustomizingFormRefresh();

private:
  friend class TdxBarItemLink;
  friend class TdxBarItemActionLink;
  friend class TdxBarManager;
  friend class TdxBarManagerCategories;
  std::unique_ptr<TdxBarItemActionLink> FActionLink;
  TdxBarItemAlign FAlign = iaLeft;
  TdxBarManager* FBarManager = nullptr;
  String FCaption;
  int FCategory = -1;
  String FDescription;
  bool FEnabled = true;
  std::unique_ptr<TBitmap> FGlyph;
  int FImageIndex = -1;
  std::vector<TdxBarItemLink*> FLinks;
  TdxBarItemVisible FLoadedVisible = ivAlways;
  TShortCut FShortCut = 0;
  TdxBarItemVisible FVisible = ivAlways;
};

// The hint text of a caption: its first "&" and then its first "..." gone.
String GetTextOf(const String& Caption);

class TdxBarButton : public TdxBarItem {
public:
  explicit TdxBarButton(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TdxBarButtonStyle GetButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TdxBarButtonStyle Value);
  bool GetDown() const { return FDown; }
  void SetDown(bool Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool GetDropDownEnabled() const { return FDropDownEnabled; }
  void SetDropDownEnabled(bool Value) { FDropDownEnabled = Value; }
  // The popup menu of the drop-down part: a component whose item links the
  // menus issue gives; here only its reference and free notification.
  TComponent* GetDropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TComponent* Value);
  bool GetLowered() const { return FLowered; }
  void SetLowered(bool Value) { FLowered = Value; }
  TdxBarPaintStyle GetPaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TdxBarPaintStyle Value) { FPaintStyle = Value; }
  bool CloseSubMenuOnClick = true;
  // The customizing popup offers the paint styles for the button's links.
  virtual bool AllowsPaintStyle() const { return true; }

  bool AcceptsAccelerator(const TdxBarItemLink* Link) const override;
  void Click() override;
  // Pops the drop-down menu up for the control at the screen point; it
  // stays open after the call.
  virtual void DropDown(TdxBarItemControl* Control, int X, int Y, bool ByMouse);

protected:
  void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TdxBarButton"; }

private:
  TdxBarButton* FindDownInGroup() const;
  bool OtherDownInGroup() const;
  bool FAllowAllUp = false;
  TdxBarButtonStyle FButtonStyle = bsDefault;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FDropDownEnabled = true;
  TComponent* FDropDownMenu = nullptr;
  bool FLowered = false;
  TdxBarPaintStyle FPaintStyle = psStandard;
};

class TCustomdxBarSubItem : public TdxBarItem {
public:
  explicit TCustomdxBarSubItem(TComponent* AOwner);
  ~TCustomdxBarSubItem() override;
  TdxBarItemLinks* GetItemLinks() const { return FItemLinks.get(); }
  void SetItemLinks(const TdxBarItemLinks* Value);
  int GetBarSize() const { return FBarSize; }
  void SetBarSize(int Value) { FBarSize = Value < 0 ? 0 : Value; }
  int GetDetachingBar() const;
  void SetDetachingBar(int Value);
  TdxBar* GetDetachingBarRef() const { return FDetachingBar; }
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value) { FShowCaption = Value; }
  bool Detachable = false;
  bool IsShortCut(TShortCut ShortCut);
  bool CanClick() const override { return false; }
  void BarNotification(TOperation Operation, TdxBar* ABar) override;
  virtual bool AllowsLinkCustomizing() const { return true; }
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDetaching;
  TdxBarPaintSubMenuBarEvent OnPaintBar;
  TNotifyEvent OnPopup;

protected:
  String ClassName() const override { return "TCustomdxBarSubItem"; }

private:
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  int FBarSize = 0;
  TdxBar* FDetachingBar = nullptr;
  bool FShowCaption = true;
};

class TdxBarSubItem : public TCustomdxBarSubItem {
public:
  using TCustomdxBarSubItem::TCustomdxBarSubItem;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  bool AllowCustomizing = true;

protected:
  String ClassName() const override { return "TdxBarSubItem"; }
};

// A sub item whose entries are generated: in a menu its own link gives way
// to the generated links, and on a toolbar it opens a menu of them.
class TCustomdxBarContainerItem : public TCustomdxBarSubItem {
public:
  using TCustomdxBarSubItem::TCustomdxBarSubItem;
  // Generates the entries into Links from position Index on, standing for
  // Source; with GetData the data are asked for first (OnGetData).
  virtual void AddListedLinks(TdxBarItemLinks* Links, int Index, TdxBarItemLink* Source, bool GetData);
  virtual void RemoveListedLinks(TdxBarItemLinks* Links, int Index);
  virtual void ClearData() { FDataStale = false; }
  virtual bool FirstLinkBeginsGroup() const { return true; }
  // In a menu the generated links take the place of the item's own link;
  // an item that keeps its link shows them after it.
  virtual bool ReplacesOwnLink() const { return true; }
  // The item's data changed: its visibility is evaluated again unless the
  // data are being supplied.
  void DataChanged();
  // The window that showed the generated entries went: the next generation
  // clears the data first.
  void MarkDataStale() { FDataStale = true; }
  bool IsDataStale() const { return FDataStale; }
  bool CanBeVisible() const override { return static_cast<bool>(OnGetData); }
  TNotifyEvent OnGetData;

protected:
  String ClassName() const override { return "TCustomdxBarContainerItem"; }
  bool FDataSupplied = false;

private:
  bool FDataStale = false;
};

// One generated button per string of Items ("-" is a separator), numbered
// and with a check mark on the selected one when asked.
class TdxBarListItem : public TCustomdxBarContainerItem {
public:
  explicit TdxBarListItem(TComponent* AOwner);
  ~TdxBarListItem() override;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  TStringList* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* Value) { FItems->Assign(Value); }
  // The position in Items of the selected string; setting it notifies nothing.
  int ItemIndex = -1;
  bool ShowCheck = false;
  bool ShowNumbers = true;
  // The selected string counted among the data entries only.
  int GetDataIndex() const;
  void SetDataIndex(int Value);
  virtual String GetDisplayText(const String& Entry) const { return Entry; }
  void AddListedLinks(TdxBarItemLinks* Links, int Index, TdxBarItemLink* Source, bool GetData) override;
  void RemoveListedLinks(TdxBarItemLinks* Links, int Index) override;
  void ClearData() override;
  bool CanBeVisible() const override;
  void DirectClick() override;
  int GetButtonCount() const { return static_cast<int>(FButtons.size()); }
  TdxBarButton* GetButton(int Index) const { return FButtons[Index]; }

protected:
  String ClassName() const override { return "TdxBarListItem"; }

private:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ItemsChanged();
  void ButtonClick(TObject* Sender);
  // Last first.
  void FreeButtons();
  std::unique_ptr<TStringList> FItems;
  std::vector<TdxBarButton*> FButtons;
};

// Copies of the links of its own ItemLinks.
class TdxBarContainerItem : public TCustomdxBarContainerItem {
public:
  using TCustomdxBarContainerItem::TCustomdxBarContainerItem;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  bool HasVisibleLinks() const;
  void AddListedLinks(TdxBarItemLinks* Links, int Index, TdxBarItemLink* Source, bool GetData) override;
  void RemoveListedLinks(TdxBarItemLinks* Links, int Index) override;
  bool CanBeVisible() const override { return static_cast<bool>(OnGetData) || HasVisibleLinks(); }

protected:
  String ClassName() const override { return "TdxBarContainerItem"; }
};

// The icon of a maximized MDI child on its parent's main menu: it opens a
// copy of the child's system menu, made anew at each opening.
class TSystemMenuSubItem : public TCustomdxBarSubItem {
public:
  using TCustomdxBarSubItem::TCustomdxBarSubItem;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  HWND ChildWindow = nullptr;
  void DirectClick() override;
  // Fills SubItem's links with items for the entries of Menu.
  void BuildFromMenu(TCustomdxBarSubItem* SubItem, HMENU Menu);
  // The child's small icon, 16 by 16; the caller destroys it.
  HICON GetChildIcon() const;

protected:
  String ClassName() const override { return "TSystemMenuSubItem"; }
};

// Whether Item may be placed in the links of Owner without a menu that
// contains itself.
bool CanItemBeLinked(const TComponent* Owner, const TdxBarItem* Item);

// ---- Links ----

class TdxBarItemLink : public TCollectionItem {
public:
  explicit TdxBarItemLink(TCollection* Collection);
  ~TdxBarItemLink() override;
  void Assign(const TPersistent* Source) override;

  TdxBarManager* GetBarManager() const;
  TdxBarItemLinks* GetLinks() const;
  TdxBarItem* GetItem() const { return FItem; }
  void SetItem(TdxBarItem* Value);
  bool GetBeginGroup() const;
  void SetBeginGroup(bool Value);
  bool GetStoredBeginGroup() const { return FBeginGroup; }
  bool GetMostRecentlyUsed() const { return FMostRecentlyUsed; }
  void SetMostRecentlyUsed(bool Value);
  const String& GetUserCaption() const { return FUserCaption; }
  void SetUserCaption(const String& Value);
  TdxBarUserDefines GetUserDefine() const { return FUserDefine; }
  void SetUserDefine(TdxBarUserDefines Value);
  TBitmap* GetUserGlyph() const { return FUserGlyph.get(); }
  void SetUserGlyph(const TBitmap* Value);
  TdxBarPaintStyle GetUserPaintStyle() const { return FUserPaintStyle; }
  void SetUserPaintStyle(TdxBarPaintStyle Value);
  int GetUserWidth() const { return FUserWidth; }
  void SetUserWidth(int Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);

  String GetCaption() const;
  TBitmap* GetGlyph() const;
  TdxBarPaintStyle GetPaintStyle() const;
  int GetWidth() const;
  int GetAvailableIndex() const;
  int GetVisibleIndex() const;
  int GetShownIndex() const;
  int GetRecentIndex() const;
  bool IsReallyVisible() const;
  bool IsItemOrContains(const TdxBarItem* AItem) const;
  bool MatchesAccelerator(WORD Key, TShiftState Shift) const;

  void MarkAsRecentlyUsed(bool CountUse);
  void BringToTopInRecentList(bool CountUse);
  void MoveToRecentEnd();
  void MoveToRecentIndex(int Index);
  void ResetUsage();
  // Takes the other link's use count and recent position.
  void CopyUsageFrom(const TdxBarItemLink* Link);
  // The link a generated link stands for (a container item's entries in a
  // menu); none for ordinary links.
  TdxBarItemLink* SourceLink = nullptr;
  TdxBarItemLink* GetSourceLink() { return SourceLink ? SourceLink : this; }

  // The control that shows the link while its window exists; the link
  // owns it.
  TdxBarItemControl* GetControl() const { return FControl.get(); }
  TCustomdxBarControl* GetBarControl() const;
  void CreateControl();
  void DestroyControl();
  // The place in the window, set by its layout; empty when not placed.
  TRect ItemRect;
  // The thickness of the line the link stands in.
  int LineThickness = 0;

  int UseCount = 0;
  int PendingRecentIndex = -1;
  int PendingUseCount = 0;
  bool PendingVisible = true;
  int LinkTag = 0;

private:
  friend class TdxBarItemLinks;
  void Changed();
  TdxBarItem* FItem = nullptr;
  std::unique_ptr<TdxBarItemControl> FControl;
  bool FBeginGroup = false;
  bool FMostRecentlyUsed = true;
  String FUserCaption;
  TdxBarUserDefines FUserDefine;
  std::unique_ptr<TBitmap> FUserGlyph;
  TdxBarPaintStyle FUserPaintStyle = psStandard;
  int FUserWidth = 0;
  bool FVisible = true;
};

class TdxBarItemLinks : public TCollection {
public:
  TdxBarItemLinks(TdxBarManager* ABarManager, TPersistent* AOwner);
  ~TdxBarItemLinks() override;
  TdxBarItemLink* Add() { return static_cast<TdxBarItemLink*>(TCollection::Add()); }
  TdxBarItemLink* GetItem(int Index) const {
    return static_cast<TdxBarItemLink*>(TCollection::GetItem(Index));
  }
  TdxBarManager* GetBarManager() const { return FBarManager; }
  void SetBarManager(TdxBarManager* Value) { FBarManager = Value; }
  TPersistent* GetOwner() const override { return FOwner; }
  void Assign(const TPersistent* Source) override;

  int GetAvailableCount() const { return static_cast<int>(FAvailable.size()); }
  TdxBarItemLink* GetAvailableLink(int Index) const { return FAvailable[Index]; }
  int GetVisibleCount() const { return static_cast<int>(FVisible.size()); }
  TdxBarItemLink* GetVisibleLink(int Index) const { return FVisible[Index]; }
  int GetShownCount() const { return static_cast<int>(FShown.size()); }
  TdxBarItemLink* GetShownLink(int Index) const { return FShown[Index]; }
  int GetRecentCount() const { return static_cast<int>(FRecent.size()); }
  TdxBarItemLink* GetRecentLink(int Index) const { return FRecent[Index]; }

  void RebuildLists();
  void SetRecentItemCount(int Value);
  // The count set by SetRecentItemCount, −1 for all.
  int GetRecentItemCountSetting() const { return FRecentItemCount; }
  void RestoreRecentItemCount();
  // The count personalised menus would show, −1 for all.
  int GetRecentItemCount() const;
  bool GetUseRecentItems() const;
  void SetUseRecentItems(bool Value) { FUseRecentItems = Value; }

  void ApplyStoredState(bool ApplyVisible);
  void NormalizeRecentOrder();
  void CopyMostRecentlyUsed(const TdxBarItemLinks* Source);
  void UpdateActions();
  bool IsShortCut(TShortCut ShortCut);
  // The link whose caption's accelerator the key types, from the one after
  // StartLink: a toolbar's shown window's selectable links, a menu's visible
  // ones.
  TdxBarItemLink* FindAcceleratorLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink);
  bool ContainsItem(const TdxBarItem* AItem) const;
  bool IsAssigning() const { return FAssigning; }
  // The window that shows the links, none while there is none.
  TCustomdxBarControl* GetBarControl() const { return FBarControl; }
  // A bar's window, else a menu window of the links.
  TCustomdxBarControl* CreateBarControl();
  void SetBarControl(TCustomdxBarControl* Value) { FBarControl = Value; }
  // A link leaves the collection while generated links stand in for it in a
  // menu (answering its place in the recent order), and comes back after.
  int ExtractLink(TdxBarItemLink* Link);
  void RestoreLink(TdxBarItemLink* Link, int Index, int RecentIndex);
  void ClearItemRects();
  // Keyboard stepping over the fitting links (on a bar, the leading shown
  // links wholly inside its window) whose controls are selectable; Next and
  // Prev go round once.
  int GetFittingCount() const;
  TdxBarItemLink* FirstSelectable() const;
  TdxBarItemLink* LastSelectable() const;
  TdxBarItemLink* NextSelectable(const TdxBarItemLink* Link) const;
  TdxBarItemLink* PrevSelectable(const TdxBarItemLink* Link) const;

  std::function<void(TdxBarItemLinks* Sender)> OnChange;

protected:
  void Update(TCollectionItem* Item) override;
  String ClassName() const override { return "TdxBarItemLinks"; }

private:
  TdxBarItemLink* FindToolbarAcceleratorLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink) const;
  friend class TdxBarItemLink;
  TdxBarManager* FBarManager;
  TPersistent* FOwner;
  TCustomdxBarControl* FBarControl = nullptr;
  std::vector<TdxBarItemLink*> FAvailable, FVisible, FShown, FRecent;
  int FRecentItemCount = -1;
  int FSavedRecentItemCount = -1;
  bool FUseRecentItems = true;
  bool FAssigning = false;
};

// ---- Bars ----

class TdxBar : public TCollectionItem {
public:
  explicit TdxBar(TCollection* Collection);
  ~TdxBar() override;
  void Assign(const TPersistent* Source) override;

  TdxBarManager* GetBarManager() const;
  TdxBarItemLinks* GetItemLinks() const { return FItemLinks.get(); }
  void SetItemLinks(const TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }

  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  const String& GetName() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  bool GetIsMainMenu() const { return FIsMainMenu; }
  void SetIsMainMenu(bool Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool GetWholeRow() const { return FWholeRow; }
  void SetWholeRow(bool Value) { FWholeRow = Value; }
  // Read through the placed dock when the bar has one.
  TdxBarDockingStyle GetDockingStyle() const;
  void SetDockingStyle(TdxBarDockingStyle Value);
  TdxBarDockingStyle GetDockedDockingStyle() const;
  void SetDockedDockingStyle(TdxBarDockingStyle Value) { FDockedDockingStyle = Value; }
  int GetRow() const { return FRow; }
  void SetRow(int Value) { FRow = Value < 0 ? 0 : Value; }
  int GetDockedLeft() const { return FDockedLeft; }
  void SetDockedLeft(int Value);
  int GetDockedTop() const { return FDockedTop; }
  void SetDockedTop(int Value);
  int GetFloatValue(int Index) const { return FFloat[Index - 1]; }
  void SetFloatValue(int Index, int Value);
  bool GetHidden() const { return FHidden; }
  void SetHidden(bool Value);
  bool GetUseRecentItems() const { return FUseRecentItems; }
  void SetUseRecentItems(bool Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  bool GetUseOwnFont() const { return FUseOwnFont; }
  void SetUseOwnFont(bool Value);
  TBitmap* GetBackgroundBitmap() const { return FBackgroundBitmap.get(); }
  // Refreshes the bar's font from the manager's, keeping UseOwnFont.
  void ManagerFontChanged();
  // The window of a shown bar, none while hidden.
  TdxBarControl* GetBarControl() const;
  // The placed dock the bar docks into, else the automatic dock of its
  // docking style (defined when docked).
  TdxDockControl* GetEffectiveDockControl() const;
  TdxBarDockControl* GetDockControl() const { return FDockControl; }
  void SetDockControl(TdxBarDockControl* Value);
  TdxBarDockControl* GetDockedDockControl() const { return FDockedDockControl; }
  void SetDockedDockControl(TdxBarDockControl* Value);
  void DockTo(TdxBarDockingStyle Style, TdxDockControl* DockControl);
  // A status-bar-like bar's grip shows while the form is not maximized and
  // the bar's bottom edge is the form's.
  bool IsSizeGripVisible() const;
  void SetBorderStyle(TdxBarBorderStyle Value);
  void SetSizeGrip(bool Value);
  void SetUseRestSpace(bool Value);
  // The window's handle went without the bar hiding it (its form's or
  // dock's window is made anew).
  void BarControlHandleDestroyed();

  bool AllowClose = true;
  bool AllowCustomizing = true;
  bool AllowQuickCustomizing = true;
  bool AllowReset = true;
  BYTE AlphaBlendValue = 255;
  TdxBarBorderStyle BorderStyle = bbsSingle;
  TColor Color = clDefault;
  TdxBarDockingStyles NotDocking;
  bool OneOnRow = false;
  bool RotateWhenVertical = true;
  bool ShowMark = true;
  bool SizeGrip = true;
  bool UseRestSpace = false;
  bool HiddenAutomatically = false;
  bool LoadedFromForm = false;

  bool CanClose() const { return AllowClose && !FIsMainMenu; }
  bool CanReset() const { return LoadedFromForm && AllowReset; }
  bool IsStatusBar() const { return BorderStyle == bbsNone && GetDockingStyle() == dsBottom && FWholeRow; }
  bool IsShortCut(TShortCut ShortCut) { return FItemLinks->IsShortCut(ShortCut); }
  // While locked the window is not rebuilt for changes of the links; the
  // release rebuilds it.
  bool GetLockUpdate() const { return FLockUpdate; }
  void SetLockUpdate(bool Value);
  void Reset();
  void ResetWithConfirmation();
  void ApplyPendingState();

  // Sub items that are told when the bar goes.
  void AddNotifiedItem(TdxBarItem* AItem);
  void RemoveNotifiedItem(TdxBarItem* AItem);

private:
  void ResetSubItems(TdxBarItemLinks* Links, TdxBarManager* FreshManager);
  void ReshowWindow(const std::function<void()>& Change);
  TdxBarDockControl* FDockControl = nullptr;
  TdxBarDockControl* FDockedDockControl = nullptr;
  TdxBarDockControl* FPendingDockControl = nullptr;
  bool FDockingGuard = false;
  bool FFreeingWindow = false;
  bool FLockUpdate = false;
  // Makes the window and places it docked or floating; frees it.
  void ShowBarWindow();
  void HideBarWindow();
  TdxBars* GetBars() const;
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TBitmap> FBackgroundBitmap;
  String FCaption;
  String FName;
  bool FVisible = false;
  bool FPendingVisible = false;
  TdxBarDockingStyle FPendingDockingStyle = dsNone;
  bool FIsMainMenu = false;
  bool FMultiLine = false;
  bool FWholeRow = false;
  TdxBarDockingStyle FDockingStyle = dsNone;
  TdxBarDockingStyle FDockedDockingStyle = dsTop;
  int FRow = 0;
  int FDockedLeft = 0;
  int FDockedTop = 0;
  int FFloat[4] = {0, 0, 0, 0};
  bool FHidden = false;
  bool FUseRecentItems = true;
  bool FUseOwnFont = false;
  bool FFontFromManager = false;
  std::vector<TdxBarItem*> FNotifiedItems;
};

class TdxBars : public TCollection {
public:
  explicit TdxBars(TdxBarManager* ABarManager);
  ~TdxBars() override;
  TdxBar* Add() { return static_cast<TdxBar*>(TCollection::Add()); }
  TdxBar* GetItem(int Index) const { return static_cast<TdxBar*>(TCollection::GetItem(Index)); }
  TdxBarManager* GetBarManager() const { return FBarManager; }
  TPersistent* GetOwner() const override { return FBarManager; }
  bool IsApplyingLoadedState() const { return FApplyingLoadedState; }
  // A bar is being reset from a fresh copy of the form's definition.
  bool IsResetting() const { return FResetting; }
  // The automatic dock along one side of the manager's form.
  TdxDockControl* GetDockControl(TdxBarDockingStyle Style);
  // Width of the strip beyond a dock where a dragged bar docks.
  int DockingZoneWidth = 23;

  // Moving a bar by the user: a modal loop while the left button is held.
  void MoveBar(TdxBarControl* BarControl);
  void DragStep(TdxBarControl* BarControl, POINT Pt);
  // Where a bar at a screen point would dock: the style, and the dock
  // (none when it floats).
  TdxBarDockingStyle FindDockAt(TdxBar* Bar, POINT Pt, TdxDockControl*& DockControl);
  // With no dock, the automatic dock of the style.
  void InsertIntoDock(TdxBarDockingStyle Style, TdxDockControl* DockControl, POINT Pt,
                      TdxBarControl* BarControl);
  void RemoveFromDock(TdxBarDockingStyle Style, TdxDockControl* DockControl, TdxBarControl* BarControl);
  bool IsMoving() const { return FMoving; }
  // The window being moved, its docking style when the move started, the
  // offset added to the cursor to give the tracked point, and the cursor's
  // place on the window at a docked start.
  TdxBarControl* MovingControl = nullptr;
  TdxBarDockingStyle GetMoveStartStyle() const { return FMoveStartStyle; }
  POINT GetDragOffset() const { return FDragOffset; }
  POINT GetGrabPoint() const { return FGrabPoint; }

protected:
  void Update(TCollectionItem*) override {}

private:
  friend class TdxBarManager;
  friend class TdxBar;
  TdxBarManager* FBarManager;
  bool FApplyingLoadedState = false;
  bool FResetting = false;
  bool FMoving = false;
  bool FTimerFired = false;
  TdxBarDockingStyle FMoveStartStyle = dsNone;
  POINT FDragOffset{0, 0};
  POINT FGrabPoint{0, 0};
  static void CALLBACK DockingTimerProc(HWND, UINT, UINT_PTR, DWORD);
  TdxDockControl* FDockControls[4] = {};
  void ForgetDockControl(TdxDockControl* DockControl);
};

// The caption followed by the first number that no bar has as its name.
String MakeUniqueBarName(const TdxBars* Bars, const String& Caption);

// ---- Painters, bar windows and item controls ----

// The size of a font in points on the screen.
int FontPointSize(HFONT Font);
// The extent of a text in a font, measured on the screen.
SIZE TextExtentOnScreen(HFONT Font, const String& Text);
// The width of a caption without its accelerator marks, in the bar window's font.
int CaptionTextWidth(TCustomdxBarControl* BarControl, const String& Caption);

// Draws every pixel of bars, docks and item controls and answers the metrics
// the layout asks for. Each operation deletes the drawing objects it made and
// leaves the clip region as it found it. The operations stand in the order of
// the painter table; those of menus, edits and the extended items come with
// their windows and items.
class TdxBarItemControlPainter {
public:
  virtual ~TdxBarItemControlPainter() = default;
  TdxBarItemControlPainter(const TdxBarItemControlPainter&) = delete;
  TdxBarItemControlPainter& operator=(const TdxBarItemControlPainter&) = delete;
  static TdxBarItemControlPainterClass Instance();

  virtual void DrawButtonBorder(const TdxBarItemControl* Control, HDC DC, HBRUSH Brush, bool Fits,
                                const TRect& R, int PaintType, bool NoImage, bool Selected, bool Down,
                                bool Pressed) const;
  // Scale 1 or 2 with the top-left corner of its 9×7 (18×14) box.
  virtual void DrawCheckMark(TCustomdxBarControl* BarControl, HDC DC, int X, int Y, int Scale,
                             bool Enabled) const;
  virtual void DrawCheckedGlyphCell(const TdxBarItemControl* Control, HDC DC, TRect R, HBRUSH Brush,
                                    bool Fits, int PaintType, bool Selected, bool Down, bool Pressed) const;
  virtual void DrawGlyph(const TdxBarItemControl* Control, HDC DC, TRect R, const TRect& GlyphRect,
                         HBRUSH Brush, bool Fits, int PaintType, bool Selected, bool Down, bool Pressed,
                         bool Grey) const;
  virtual void DrawArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool Flat) const;
  virtual void DrawArrowTriangle(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled,
                                 bool Flat) const;
  virtual void GetEditColors(TCustomdxBarControl* BarControl, bool Enabled, TColor& TextColor,
                             TColor& BkColor) const;
  virtual TColor GetFadedImageColor(const TdxBarManager* Manager) const;
  virtual void GetCaptionTextColors(const TdxBarItemControl* Control, bool Enabled, bool Highlighted,
                                    bool FlatHighlight, TColor& TextColor, TColor& SecondColor) const;
  virtual bool IsCheckCellPlain() const { return false; }
  virtual bool DrawsNonRecentItself() const { return false; }
  virtual bool IsMenuBarItem(const TdxBarItemControl*) const { return false; }
  virtual bool IsSmallRect(const TRect& R) const { return R.Height() < 17; }
  virtual TColor GetFloatCaptionColor(const TdxBarControl* BarControl, bool Active) const;
  virtual TColor GetFloatCaptionTextColor(const TdxBarControl* BarControl) const;
  virtual TColor GetCaptionGlyphColor(const TdxBarControl* BarControl, int State) const;
  virtual void DrawResizeGrip(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const;
  virtual void DrawMarkArrow(TdxBarControl* BarControl, HDC DC, const TRect& R) const;
  virtual void DrawMarkChevron(TdxBarControl* BarControl, HDC DC, int Offset, const TRect& MarkRect) const;
  virtual void DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual void DrawMarkChevrons(TdxBarControl* BarControl, HDC DC, const TRect& R) const;
  virtual int GetCaptionTextOffset(const TRect& MarkRect) const { return MarkRect.right + 3; }
  // ColorIndex is a system colour index.
  virtual void DrawDropDownArrow(HDC DC, int X, int Y, int Width, int ColorIndex) const;
  // A combo button's arrow: an odd width of half the button, centred in it;
  // a disabled one embossed (highlight one pixel down and right, shadow over).
  void DrawComboButtonArrow(HDC DC, const TRect& Button, bool Enabled, int ColorIndex) const;
  // The triangle of a menu's up or down scroll area, left out of the clip
  // region so that the fill after it spares it; the caller resets the clip.
  virtual void DrawMenuScrollButton(TdxBarSubMenuControl* Menu, HDC DC, bool Up, const TRect& R) const;
  // The double chevron of a personalised menu's expand button.
  virtual void DrawMenuExpandArrows(TdxBarSubMenuControl* Menu, HDC DC, const TRect& R) const;
  virtual void FillBackground(const TdxBarItemControl* Control, HDC DC, bool UseBrush, HBRUSH Brush,
                              const TRect& R) const;
  virtual void FrameBackground(const TdxBarItemControl* Control, HDC DC, bool UseBrush, HBRUSH Brush,
                               const TRect& R) const;
  virtual void FillDisabledRect(HDC DC, const TRect& R) const;
  // The glyph box of a button: the image centred in its area (the manager's
  // button extent unless WholeRect), shifted when down or pressed.
  virtual void DrawGlyphArea(const TdxBarItemControl* Control, const TRect& R, const TRect* BoxRect,
                             int PaintType, bool NoGlyph, bool Selected, bool Down, bool Pressed,
                             bool WholeRect, bool DropDown) const;
  virtual void DrawGlyphBox(const TdxBarItemControl* Control, const TRect& R, const TRect& GlyphRect,
                            int PaintType, bool NoImage, bool Selected, bool Down, bool Pressed, bool Grey,
                            bool DropDown) const;
  // A whole menu line of a button: glyph column, text background, caption.
  virtual void DrawMenuItem(const TdxBarItemControl*, HDC, const TRect&, bool /*Down*/, bool /*GlyphShown*/,
                            bool /*Selected*/) const {}
  virtual void DrawCaption(const TdxBarItemControl* Control, HDC DC, const String& Text, const TRect& R,
                           int Alignment, bool Enabled, bool Highlighted, bool Rotated, bool Clip,
                           bool FlatHighlight) const;
  virtual void DrawLoweredBorder(const TdxBarItemControl*, HDC, TRect&) const {}
  virtual void GetTextColors(const TdxBarItemControl* Control, int PaintType, bool Enabled, bool Selected,
                             bool DroppedDown, int& TextColorIndex, HBRUSH& Brush) const;
  virtual HBRUSH GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType, bool NoImage,
                                    bool Selected, bool Down, bool Pressed) const;
  virtual int GetDownGlyphOffset() const { return 0; }
  virtual int GetPressedGlyphOffset(bool) const { return 0; }
  virtual bool IsFlatStyle() const { return false; }
  virtual int GetButtonBorderWidth() const { return 0; }
  virtual int GetGripOffset() const { return 0; }
  virtual int GetFloatingBorderWidth() const;
  virtual int GetFloatingBorderHeight() const;
  virtual int GetNonDockableGripSize(const TdxBar*) const { return 0; }
  virtual int GetGripAreaSize() const { return 0; }
  virtual int GetGripWidth() const { return 3; }
  virtual int GetButtonArrowWidth(const TdxBarManager* Manager) const;
  virtual int GetLargeButtonArrowWidth(const TdxBarManager* Manager) const;
  virtual int GetSeparatorIndent() const { return 0; }
  virtual void DrawDockControlBackground(TdxDockControl* DockControl, HDC DC, const TRect& R, HBRUSH Brush,
                                         TColor Color) const;
  virtual bool HasCustomBackground() const { return false; }
  virtual bool ConnectsSubMenuToButton() const { return false; }
  // Fills the strip where the window meets the button it opened from (its
  // owner joint, window coordinates) so that both look like one shape.
  virtual void DrawOwnerJoint(TCustomdxBarControl* BarControl, HDC DC) const;
  virtual HBRUSH GetBarBackgroundBrush(const TdxBarManager* Manager) const;
  // The dock's background continued under a docked bar: R moved by the
  // window's place in its dock.
  virtual void DrawDockedBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                       const TRect& Source, const TRect& R) const;
  virtual void DrawFloatingBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                         const TRect& Source, const TRect& R) const;
  virtual bool HasShadow(const TCustomdxBarControl*) const { return false; }
  // Brushes of the manager's bar windows (the flat looks keep them there).
  virtual HBRUSH GetToolbarBrush(const TdxBarManager* Manager) const;
  virtual HBRUSH GetToolbarWindowBrush(const TCustomdxBarControl* BarControl) const;
  virtual HBRUSH GetCheckedBrush(const TdxBarManager* Manager) const;
  virtual HBRUSH GetCheckedSelectedBrush(const TdxBarManager* Manager) const;
  virtual HBRUSH GetSelectedBrush(const TdxBarManager* Manager) const;
  virtual int GetComboButtonWidth(int AverageCharWidth) const { return 2 * AverageCharWidth - 1; }
  virtual int GetEditHeightExtra() const { return 6; }
  virtual int GetEditHeight(int TextHeight) const { return TextHeight + GetEditHeightExtra(); }
  virtual bool HotTracksCloseButton() const { return false; }
  virtual bool SupportsQuickCustomization() const { return false; }
  virtual int GetSeparatorLineOffset() const { return (GetSeparatorSize() - 2) / 2; }
  virtual int GetSeparatorSize() const { return 6; }
  virtual TRect GetDockedBorderWidths(const TdxBarControl* BarControl) const;
  virtual int GetDockedBorderWidth() const { return 1; }
  virtual TRect GetDockedBorderOffsets(const TdxBarControl*) const { return TRect(2, 2, 2, 2); }
  virtual int GetFloatingCaptionHeight() const { return GetSmallCaptionSize() + 1; }
  virtual void FillCaptionBackground(HDC DC, const TRect& R, HBRUSH Brush) const;
  virtual int GetSmallCaptionSize() const;
  virtual bool FillsCaptionBackground() const { return false; }
  virtual SIZE GetCloseButtonSize() const;
  virtual void DrawToolbarSeparator(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, HBRUSH Brush,
                                    bool Horizontal) const;
  // State 0 normal, 1 hot, 2 pressed.
  virtual void FillCloseButtonBackground(TdxBarControl* BarControl, HDC DC, int State, const TRect& R) const;
  virtual void DrawFloatingCloseButton(TdxBarControl*, HDC, int, const TRect&) const {}
  virtual void DrawDockedBarBorder(TdxBarControl*, HDC, TRect) const {}
  virtual void DrawFloatingFrame(TdxBarControl*, HDC, TRect) const {}
  virtual void DrawFloatingCaption(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, TColor Color,
                                   const TRect& R) const;
  virtual void DrawFloatingMark(TdxBarControl* BarControl, HDC DC, const TRect& R) const {
    DrawMarkArrow(BarControl, DC, R);
  }
  virtual void DrawMark(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const;
  // Kind 0 minimize, 1 restore, 2 close.
  virtual void DrawMDIButton(TdxBarControl*, HDC, int /*Kind*/, const TRect&, bool /*Hot*/,
                             bool /*Pressed*/) const {}
  virtual void DrawBottomBarSizeGrip(TdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                     const TRect& R) const;
  virtual void DrawBottomBarEdge(TdxBarControl* BarControl, HDC DC, const TRect& R) const;
  virtual int GetFloatingFrameSideWidth() const { return 0; }
  virtual TRect CalcMarkHitRect(TdxBarControl* BarControl) const { return CalcMarkBounds(BarControl); }
  virtual TRect CalcMarkBounds(TdxBarControl*) const { return TRect(); }
  virtual void InvalidateMark(TdxBarControl* BarControl) const;
  virtual int GetFloatingFrameTopHeight() const { return 0; }
  virtual int GetFloatingFrameBottomHeight() const { return 0; }
  virtual bool UsesSystemCloseHitTest() const { return false; }
  virtual bool UsesSystemFloatingFrame() const { return false; }
  virtual void DrawBottomBarBackground(TdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                       const TRect& R) const;
  virtual SIZE GetSizeGripSize() const;
  virtual int GetBottomBarEdgeHeight() const { return 2; }
  virtual int GetButtonVerticalMargin() const { return 6; }
  virtual int GetButtonHorizontalMargin() const { return 7; }
  // The height and width of a menu entry as the painter wants them.
  virtual void AdjustMenuItemHeight(int&) const {}
  virtual void AdjustMenuItemWidth(int&) const {}
  virtual bool RepaintsAfterDropDown() const { return false; }
  // The arrow part of a bsDropDown button; TextColorIndex is a system colour
  // index.
  virtual void DrawDropDownPart(const TdxBarItemControl*, HDC, const TRect&, HBRUSH, int /*TextColorIndex*/,
                                bool /*Selected*/, bool /*Pressed*/, bool /*DroppedDown*/,
                                bool /*DropDownEnabled*/, bool /*HasMenu*/, int /*PaintType*/) const {}
  // Sub items: half the window font's pixel height for the arrow; sizes and
  // drawing on toolbars.
  virtual int GetSubMenuArrowSize(const TCustomdxBarControl* BarControl) const;
  virtual int GetSubItemHeight(TdxBarSubItemControl* Control) const;
  virtual int GetSubItemWidth(TdxBarSubItemControl* Control) const;
  virtual void DrawSubItem(TdxBarSubItemControl* Control, HDC DC, const TRect& R, bool Selected, bool Down,
                           int PaintType) const;
  // ---- Sub-menu windows ----
  virtual int GetMenuBottomMargin() const { return 2; }
  virtual int GetMenuSeparatorSize() const { return 10; }
  // Openers shift a nested menu up by it.
  virtual int GetMenuBorderSize() const { return 3; }
  // From the window's row height (which the painter may grow): the sub item
  // arrow's width, the expand button's height and the reference glyph size.
  virtual void CalcMenuMetrics(TdxBarSubMenuControl* Menu, int& ItemHeight, int& ArrowWidth,
                               int& ExpandHeight, int& GlyphSize) const;
  // Where the entries lie: left, top and right of R, and the lowest bottom
  // allowed (unlimited while measuring).
  virtual void CalcMenuClientRect(TdxBarSubMenuControl* Menu, bool Measuring, int& Limit, TRect& R) const;
  // The window size for the entries' largest width and their extent.
  virtual SIZE CalcMenuSize(TdxBarSubMenuControl* Menu, int ItemsWidth, int Extent) const;
  virtual int GetDetachCaptionHeight(TdxBarSubMenuControl* Menu) const;
  // Scroll areas, the space below the entries and the expand button; Count
  // is the number of fitting rows.
  virtual void DrawMenuContent(TdxBarSubMenuControl* Menu, HDC DC, int Count, HBRUSH Brush) const;
  virtual void DrawMenuBackgroundBitmap(TdxBarSubMenuControl* Menu, HDC DC, TColor Color, HBRUSH Brush,
                                        const TRect& Source, const TRect& R) const;
  // The window's outer frame (window coordinates) with its drag caption.
  virtual void DrawMenuFrame(TdxBarSubMenuControl* Menu, HDC DC, TRect R) const;
  // The client area's inner border.
  virtual void DrawMenuBorder(TdxBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect R) const;
  virtual void DrawDetachCaption(TdxBarSubMenuControl* Menu, HDC DC, const TRect& R) const;
  // The group separator above the entry in R; it becomes the control's
  // SeparatorRect.
  virtual void DrawMenuSeparator(TdxBarSubMenuControl* Menu, TdxBarItemControl* Control, bool SideStrip,
                                 const TRect& R, HDC DC) const;
  // The shading around rarely used entries (Index: the shown index).
  virtual void DrawNonRecentBand(TdxBarSubMenuControl*, TdxBarItemControl*, int /*SideWidth*/, int /*Index*/,
                                 const TRect&, HDC) const {}
  virtual bool HasNonRecentGroupLine() const { return false; }
  virtual int GetExpandArrowSize(int ExpandHeight) const { return (ExpandHeight - 6) / 2; }
  virtual int GetExpandButtonInset() const { return 1; }
  virtual void CalcDetachCaptionRect(TRect& R) const { InflateRect(&R, -3, -3); }
  // The brush of an ordinary entry: the window's current one unless the
  // painter changes it.
  virtual void GetMenuItemBrush(const TdxBarSubMenuControl*, HBRUSH&) const {}
  virtual HBRUSH GetMenuBrush(const TCustomdxBarControl*) const { return GetSysColorBrush(COLOR_BTNFACE); }
  // Caption offset of an item: in menus the item height plus 1.
  virtual int GetMenuTextOffset(const TdxBarItemControl* Control) const;
  virtual bool AlignsQuickControlLeft() const { return false; }
  virtual HBRUSH GetShadowBrush() const { return GetSysColorBrush(COLOR_BTNSHADOW); }
  virtual int GetMenuCaptionExtraWidth() const { return 0; }
  virtual void OffsetPressedCaption(TRect&, bool, bool) const {}
  virtual void OffsetPressedContent(TRect&, bool) const {}
  // Edits and combos: the value area, the frame and caption of an edit item,
  // the combo button (its rectangle comes back in ButtonRect), the drop-down
  // list's border and rows, and the in-place EDIT window.
  virtual void AdjustEditValueRect(TRect&) const {}
  virtual int HasComboButtonBorder() const { return 1; }
  virtual void DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC, int PaintType,
                                       bool Selected, const TRect& R, TRect& ButtonRect) const;
  virtual void GetComboTextColors(const TdxBarItemControl* Control, int PaintType, bool Enabled, bool Selected,
                                  bool DroppedDown, int& TextColorIndex, HBRUSH& Brush) const;
  virtual int GetDropDownListBorder() const { return 0; }
  virtual void DrawDropDownListBorder(HDC, const TRect&) const {}
  virtual void DrawEditValue(const TdxBarEditControl* Control, TCanvas* Canvas, TRect R,
                             const String& Text) const;
  // Index -1: the combo's text; DrawingValue: the row is the value area.
  virtual void DrawComboListItem(TCanvas* Canvas, const TRect& R, const String& Text, bool DrawingValue) const;
  virtual int GetEditCaptionOffset(const TdxBarEditControl*, int CaptionWidth) const { return CaptionWidth + 6; }
  // R shrinks to the value area.
  virtual void DrawEditFrame(const TdxBarEditControl* Control, HDC DC, TRect& R, int PaintType,
                             bool Selected) const;
  // R's left moves past the caption.
  virtual void DrawEditCaption(const TdxBarEditControl* Control, HDC DC, bool Selected, int PaintType,
                               TRect& R) const;
  virtual void DrawEditValueText(const TdxBarEditControl* Control, HDC DC, bool Force, const TRect& R) const;
  virtual DWORD GetEditStyle() const { return ES_AUTOHSCROLL; }
  virtual void SetEditMargins(const TdxBarEditControl*, HWND) const {}
  virtual void SelectEditText(HWND Wnd, bool Notify) const;

  // The close button of a floating caption: the caption's last small-caption
  // square with the button's size centred in it.
  TRect CalcCloseButtonRect(const TRect& Caption) const;

protected:
  TdxBarItemControlPainter() = default;
  // The item draws its value in the window's font and the colours given,
  // clipped to R.
  static void DrawEditValueWithColors(const TdxBarEditControl* Control, HDC DC, const TRect& R, TColor Text,
                                      TColor Background);
  // The bar window's background under a part of an item or of the bar.
  static void PaintBarBackground(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, HBRUSH Brush);
  void DrawFloatingCaptionText(TdxBarControl* BarControl, HDC DC, const TRect& R, int Left) const;
  // The scroll areas and the space below the entries down to BottomMargin
  // above the client bottom (less the expand button); answers that bottom.
  int DrawMenuContentArea(TdxBarSubMenuControl* Menu, HDC DC, int Count, HBRUSH Brush, int BottomMargin,
                          bool GroupLineAtScroll) const;
  // The entries' rectangle Inset in from the client edges (after the side
  // strip); the limit Inset above the client bottom, less the expand button.
  void CalcMenuClientRectInset(TdxBarSubMenuControl* Menu, bool Measuring, int& Limit, TRect& R,
                               int Inset) const;
  // The window size with the frame and borders: Sides across, Ends along.
  SIZE CalcMenuSizeWith(TdxBarSubMenuControl* Menu, int ItemsWidth, int Extent, int Sides, int Ends) const;
  // The classic menu line: glyph square, a one-pixel gap, the text area and
  // the caption 2 pixels in.
  void DrawClassicMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R, bool Down, bool GlyphShown,
                           bool Selected) const;
  // A sub item's menu line with its arrow pointing right.
  void DrawMenuSubItem(TdxBarSubItemControl* Control, HDC DC, const TRect& R, bool Selected, bool Down,
                       bool FlatArrow) const;
};

// The classic raised and sunken look.
class TdxBarItemControlStandardPainter : public TdxBarItemControlPainter {
public:
  static TdxBarItemControlPainterClass Instance();

  void DrawButtonBorder(const TdxBarItemControl* Control, HDC DC, HBRUSH Brush, bool Fits, const TRect& R,
                        int PaintType, bool NoImage, bool Selected, bool Down, bool Pressed) const override;
  void DrawCheckMark(TCustomdxBarControl* BarControl, HDC DC, int X, int Y, int Scale,
                     bool Enabled) const override;
  bool IsCheckCellPlain() const override { return true; }
  bool IsSmallRect(const TRect&) const override { return false; }
  void DrawMarkChevron(TdxBarControl* BarControl, HDC DC, int Offset, const TRect& MarkRect) const override;
  void DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void FillDisabledRect(HDC DC, const TRect& R) const override;
  void DrawLoweredBorder(const TdxBarItemControl* Control, HDC DC, TRect& R) const override;
  HBRUSH GetBackgroundBrush(const TdxBarItemControl* Control, int PaintType, bool NoImage, bool Selected,
                            bool Down, bool Pressed) const override;
  int GetDownGlyphOffset() const override { return 1; }
  int GetPressedGlyphOffset(bool) const override { return 1; }
  int GetButtonBorderWidth() const override { return 1; }
  int GetGripOffset() const override { return 2; }
  int GetGripAreaSize() const override { return GetGripOffset() + 2 * GetGripWidth() + 1; }
  int GetSeparatorIndent() const override { return 2; }
  void DrawFloatingCloseButton(TdxBarControl* BarControl, HDC DC, int State, const TRect& R) const override;
  void DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  void DrawFloatingFrame(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  void DrawMDIButton(TdxBarControl* BarControl, HDC DC, int Kind, const TRect& R, bool Hot,
                     bool Pressed) const override;
  int GetFloatingFrameSideWidth() const override { return 4; }
  TRect CalcMarkBounds(TdxBarControl* BarControl) const override;
  int GetFloatingFrameTopHeight() const override { return 2; }
  int GetFloatingFrameBottomHeight() const override { return 1; }
  bool UsesSystemCloseHitTest() const override { return true; }
  bool UsesSystemFloatingFrame() const override { return true; }
  void OffsetPressedCaption(TRect& R, bool Down, bool Pressed) const override;
  void OffsetPressedContent(TRect& R, bool Pressed) const override;
  void DrawDropDownPart(const TdxBarItemControl* Control, HDC DC, const TRect& R, HBRUSH Brush,
                        int TextColorIndex, bool Selected, bool Pressed, bool DroppedDown, bool DropDownEnabled,
                        bool HasMenu, int PaintType) const override;
  void DrawMenuItem(const TdxBarItemControl* Control, HDC DC, const TRect& R, bool Down, bool GlyphShown,
                    bool Selected) const override {
    DrawClassicMenuItem(Control, DC, R, Down, GlyphShown, Selected);
  }
  void DrawNonRecentBand(TdxBarSubMenuControl* Menu, TdxBarItemControl* Control, int SideWidth, int Index,
                         const TRect& R, HDC DC) const override;
  bool HasNonRecentGroupLine() const override { return true; }
  int GetExpandButtonInset() const override { return 2; }
  // Edits and combos.
  void DrawComboDropDownButton(const TCustomdxBarComboControl* Control, HDC DC, int PaintType, bool Selected,
                               const TRect& R, TRect& ButtonRect) const override;
  int GetDropDownListBorder() const override { return 2; }
  void DrawDropDownListBorder(HDC DC, const TRect& R) const override;
  void SetEditMargins(const TdxBarEditControl* Control, HWND Wnd) const override;

protected:
  TdxBarItemControlStandardPainter() = default;
  // One grip bar of a docked toolbar, excluded from the clip region.
  void DrawGripBar(HDC DC, const TRect& R, bool Vertical, bool HighlightCorner) const;
  TRect DockedBarContent(HDC DC, TRect R) const;
};

// A single grip, the quick-customization mark and black chevrons.
class TdxBarItemControlEnhancedPainter : public TdxBarItemControlStandardPainter {
public:
  static TdxBarItemControlPainterClass Instance();

  void DrawMarkChevron(TdxBarControl* BarControl, HDC DC, int Offset, const TRect& MarkRect) const override;
  void DrawMarkBody(TdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawMarkChevrons(TdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  int GetGripOffset() const override { return 1; }
  int GetGripAreaSize() const override { return GetGripOffset() + GetGripWidth() + 2; }
  int GetSeparatorIndent() const override { return 12; }
  bool SupportsQuickCustomization() const override { return true; }
  void DrawDockedBarBorder(TdxBarControl* BarControl, HDC DC, TRect R) const override;
  TRect CalcMarkBounds(TdxBarControl* BarControl) const override;

protected:
  TdxBarItemControlEnhancedPainter() = default;
};

// The base window of toolbars and menus: one item control per shown link;
// all drawing goes through the manager's painter. A command may free the
// window: handlers check IsBarControlAlive after every call out.
class TCustomdxBarControl : public TCustomControl {
public:
  explicit TCustomdxBarControl(TdxBarManager* AOwner);
  ~TCustomdxBarControl() override;

  TdxBarManager* GetBarManager() const { return FBarManager; }
  TdxBarItemControlPainterClass GetPainter() const;
  TdxBarDockingStyle GetDockingStyle() const { return FDockingStyle; }
  int GetMarkState() const { return FMarkState; }
  TdxBarItemLinks* GetItemLinks() const { return FItemLinks; }
  void SetItemLinks(TdxBarItemLinks* Value);
  TdxBarItemControl* GetSelectedControl() const { return FSelectedControl; }
  TdxBarItemControl* GetPressedControl() const { return FPressedControl; }
  bool GetPressedControlHot() const { return FPressedControlHot; }
  bool GetActive() const { return FActive; }
  bool GetDestroying() const { return FDestroying; }
  TCustomdxBarControl* ParentBarControl = nullptr;
  // The dock the window lies on; none for floating bars and menus.
  TdxDockControl* GetDockControl() const { return FDockControl; }
  void SetDockControl(TdxDockControl* Value) { FDockControl = Value; }

  virtual void CreateControls();
  virtual void DestroyControls();
  virtual void CalcMetrics();
  // Whether the control may use its item's Align; none may in the base.
  virtual bool CanAlignControl(const TdxBarItemControl*) const { return false; }
  virtual bool CanCustomizeItems() const;
  virtual int GetSeparatorSize() const = 0;
  virtual HFONT GetFontHandle() const;
  virtual void GetControlRect(const TdxBarItemControl* Control, TRect& R);
  virtual bool IsCustomizing() const;
  virtual HBRUSH GetToolbarBrush() const;
  HBRUSH GetCheckedBrush() const;
  HBRUSH GetCheckedSelectedBrush() const;
  HBRUSH GetSelectedBrush() const;
  HBRUSH GetBarBackgroundBrush() const;
  virtual bool MarkVisible() const { return false; }
  // A menu window.
  virtual bool IsPopup() const { return false; }
  virtual bool IsMouseStill(POINT ScreenPoint) const;
  virtual void PaintItemControl(TdxBarItemControl* Control);
  virtual void SetDockingStyle(TdxBarDockingStyle Value);
  virtual void SetActive(bool Value);
  virtual void SelectControl(TdxBarItemControl* Control);
  virtual void SetMarkState(int Value) = 0;
  void HotTrackControl(TdxBarItemControl* Control);
  virtual void SetSelectedControl(TdxBarItemControl* Control);
  // Paints the window's background into R; with UseOrigin R is taken in the
  // coordinates of the background (a dock's picture continues under it).
  virtual void DrawBackground(HDC DC, const TRect& R, bool UseOrigin, TColor Color, HBRUSH Brush);
  virtual TPoint GetBackgroundOrigin() const { return TPoint(); }
  // The shadow the window casts while its painter wants one; it follows the
  // window after every move or resize.
  TdxBarShadow* GetShadow();
  virtual bool IsShadowVisible();
  // The screen rectangle of the button the window is joined to; none here.
  virtual TRect GetOwnerRect() const { return TRect(); }
  // The owner rectangle shares an edge with the window.
  virtual bool TouchesOwnerRect();
  // The one-pixel strip (screen or window coordinates) along which the
  // window meets its owner rectangle; empty when it is not joined.
  TRect GetOwnerJointRect(bool InScreen);
  // A customizing drop at a client point: the control it falls on, whether
  // it lies in the group gap before the control, whether the links stand
  // one below the other, and whether the drop goes before the control.
  virtual TdxBarItemControl* GetDropTarget(POINT ClientPoint, bool& Outside, bool& Vertical, bool& Before);
  // The region of a control where a point belongs to it; the caller deletes it.
  virtual HRGN CreateControlRegion(TdxBarItemControl* Control);
  // Ctrl+Tab: keyboard mode goes to the next (previous) bar with a link to select.
  void SelectNeighbourBar(bool Forward);
  void UpdateShadow();
  void HideShadow();
  virtual void UpdateTransparency() {}
  virtual void Deactivate();
  virtual void Rebuild() {}

  // The control of the first shown link whose rectangle holds the point.
  TdxBarItemControl* ControlAtPos(POINT ClientPoint);
  bool IsControlOfWindow(const TdxBarItemControl* Control) const;
  // In the active chain: reached from its head through the parents.
  bool IsInActiveChain() const;
  bool DispatchKeyToSelected(WORD Key);
  // Sends WM_NCPAINT, then invalidates or repaints at once.
  void RefreshFrameAndInvalidate();
  void RefreshFrameAndRepaint();

  // The brush the item being painted stands on.
  HBRUSH BackgroundBrush = nullptr;
  // "0" in the window font plus 6, the row measure of bars and painters.
  int TextHeight = 0;
  int EditHeight = 0;
  int Indent = 0;
  int ArrowWidth = 0;
  int ComboButtonWidth = 0;
  // The next left-button release is swallowed.
  bool SkipMouseUp = false;
  // Customizing mode: a left press on a control armed a drag at that client
  // point; it starts once the pointer leaves the system's drag rectangle.
  bool DragPending = false;
  POINT DragStartPoint{0, 0};
  // Customizing mode: the frame of the picked or dragged control.
  void DrawCustomizingFrame(TdxBarItemControl* Control);
  // Double clicks except with the Standard look outside customizing.
  void UpdateDoubleClicks();
  // The menu window opened from this window, none while closed.
  TCustomdxBarControl* ChildMenu = nullptr;

protected:
  String ClassName() const override { return "TCustomdxBarControl"; }
  void WndProc(TMessage& Message) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void UpdateFont() = 0;
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseLeave(TMessage& Message);
  // Whether a hit code ends the window's hover tracking.
  virtual bool IsNonClientHit(LRESULT HitTest) { return HitTest != HTCLIENT; }
  void WMLButtonDblClk(TMessage& Message);
  // Customizing mode: selects the control under the pointer.
  void WMRButtonDown(TMessage& Message);
  void WMCaptureChanged(TMessage& Message);
  void CustomizingLButtonDown(TdxBarItemControl* Hit, POINT Point);
  void SetMarkStateField(int Value) { FMarkState = Value; }
  void SetDestroying(bool Value) { FDestroying = Value; }
  // The selection of the keys: arrows, Home, End, Tab and accelerators.
  void SelectByKey(WORD& Key);
  void SelectByAccelerator(WORD Key);
  void RepaintSelection(TdxBarItemControl* Previous);
  bool FPaintingControl = false;
  POINT FLastMousePos{-1, -1};

private:
  bool DropsMouseMessage(UINT Msg) const;
  TdxBarManager* FBarManager;
  TdxBarItemLinks* FItemLinks = nullptr;
  TdxDockControl* FDockControl = nullptr;
  TdxBarDockingStyle FDockingStyle = dsNone;
  int FMarkState = 0;
  bool FActive = false;
  bool FDestroying = false;
  TdxBarItemControl* FSelectedControl = nullptr;
  TdxBarItemControl* FPressedControl = nullptr;
  bool FPressedControlHot = false;
  TCustomdxBarControl* FPrevActive = nullptr;
  std::unique_ptr<TdxBarShadow> FShadow;
};

// The head of the chain of active bar windows, none when none is active.
TCustomdxBarControl* ActiveBarControl();
// Customizing mode: the context menu of a link (its reset, delete, name,
// paint styles and group start) at a screen point; the open one, none when
// closed.
void ShowCustomizingPopup(TdxBarManager* BarManager, TdxBarItemLink* Link, TdxBarItemLinks* Links,
                          POINT ScreenPoint);
TdxBarSubMenuControl* ActiveCustomizingPopup();
// Menus show all their links (set when one was expanded, for the rest of
// the active chain).
bool GetShowFullMenus();
void SetShowFullMenus(bool Value);

// The on-screen part of one link inside a bar window; not a window itself.
class TdxBarItemControl : public TObject {
public:
  TdxBarItemControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl);
  ~TdxBarItemControl() override;
  TdxBarItemLink* GetLink() const { return FLink; }
  TCustomdxBarControl* GetBarControl() const { return FBarControl; }
  TdxBarItem* GetItem() const;
  TdxBarManager* GetBarManager() const;
  TdxBarItemControlPainterClass GetPainter() const;

  virtual void ReleaseControl() {}
  virtual void LayoutChanged();
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void GlyphChanged() { Repaint(); }
  virtual void ShortCutChanged();
  virtual void PressedChanged();
  virtual void VisibleChanged();
  virtual bool IsClickable() const { return true; }
  virtual bool IsCustomizable() const;
  virtual bool IsHotTrackable() const { return IsSelectable(); }
  virtual bool IsSelectable() const;
  virtual void Click(bool ByMouse);
  virtual void Activate(bool) { FActive = true; }
  virtual void Deactivate(bool) { FActive = false; }
  virtual void Press(bool) {}
  virtual void Execute(bool ByMouse);
  virtual bool DrawSelected() const { return IsSelected(); }
  virtual void KeyDown(WORD) {}
  virtual bool WantsKey(WORD) const { return false; }
  virtual void GetTextColors(int PaintType, bool Enabled, bool Selected, bool DroppedDown,
                             int& TextColorIndex, HBRUSH& Brush) const;
  virtual String GetCaption() const;
  virtual bool GetEnabled() const;
  virtual TBitmap* GetGlyph() const;
  virtual int GetImageIndex() const;
  virtual TCustomImageList* GetImages() const;
  virtual String GetHint() const;
  virtual bool HasStateImageList() const;
  virtual TShortCut GetShortCut() const;
  virtual int GetHeight() { return 0; }
  virtual int GetMinHeight() { return 1; }
  virtual int GetMinWidth() { return 1; }
  virtual int GetWidth() { return 0; }
  virtual bool ClosesMenusOnClick() const { return true; }
  virtual bool HasSubMenu() const { return false; }
  virtual bool TracksPress() const { return false; }
  virtual void Paint(const TRect&, int) {}
  void Repaint();
  virtual bool WantsDblClick() const { return HasSubMenu(); }
  virtual void DblClick() {}
  // Shows its entries inside its own menu instead of opening one.
  virtual bool ExpandsInPlace() const { return false; }
  // A control that owns an in-place window (edits and combos): the window,
  // none while its toolbar is dragged; the value area it stands over in the
  // bar window's client coordinates (empty when disabled or without a value
  // part); whether it edits; a combo's open drop-down window. The mover of
  // toolbars takes the windows away for a drag and makes them again after.
  virtual HWND GetInPlaceWnd() const { return nullptr; }
  virtual TRect GetInPlaceRect() const { return TRect(); }
  virtual bool GetFocused() const { return false; }
  virtual HWND GetDroppedDownWnd() const { return nullptr; }
  virtual void CreateInPlaceWindow() {}
  virtual void DestroyInPlaceWindow() {}

  bool IsSelected() const;
  bool IsActive() const { return FActive; }
  bool GetPressed() const { return FPressed; }
  void SetPressed(bool Value);
  bool IsParentClosable() const;
  bool HasImage() const;
  bool HasImageListImage() const;
  bool IsMousePressedInside() const;
  bool AcceptsMouseClick() const { return IsSelectable() || IsClickable(); }
  // The item's Align where the window lets this control align, else iaLeft.
  TdxBarItemAlign GetEffectiveAlign() const;
  // The sizes the toolbar lays out: a client-aligned control is measured by
  // its least extent along the bar and stretched from there.
  int GetLayoutWidth();
  int GetLayoutHeight();
  bool GetUnclickAfterDoing() const;
  // Rotated captions: a vertical toolbar with RotateWhenVertical.
  bool ShowsRotatedCaptions() const;

  void DrawGlyphArea(const TRect& R, const TRect* BoxRect, int PaintType, bool NoGlyph, bool Selected,
                     bool Down, bool Pressed, bool WholeRect, bool DropDown) const;
  void DrawCaption(HDC DC, const String& Text, const TRect& R, int Alignment, bool Enabled, bool Highlighted,
                   bool Rotated, bool Clip, bool FlatHighlight) const;

  // Where the group separator before the control is drawn; also hit.
  TRect SeparatorRect;
  bool LineStart = false;
  bool LineEnd = false;
  // The entry of a personalised menu shown only while it is expanded.
  bool NonRecent = false;
  // Set by the sub-menu window: the entry starts a run of rarely used
  // entries or ends one.
  bool NonRecentRun = false;
  // Selected by the mouse moving over it (a disabled control is then not
  // drawn selected).
  bool HoverSelected = false;

private:
  TdxBarItemLink* FLink;
  TCustomdxBarControl* FBarControl;
  bool FActive = false;
  bool FPressed = false;
};

// The control of a TdxBarButton.
class TdxBarButtonControl : public TdxBarItemControl {
public:
  using TdxBarItemControl::TdxBarItemControl;
  TdxBarButton* GetButton() const;
  TdxBarButtonStyle GetButtonStyle() const;
  bool GetDown() const;
  bool GetLowered() const;
  TdxBarPaintStyle GetPaintStyle() const;
  virtual int GetArrowWidth() const;
  virtual int GetDefaultHeight();
  virtual int GetDefaultWidth();
  int GetHeight() override;
  int GetWidth() override;
  void Press(bool ByMouse) override;
  void Execute(bool ByMouse) override;
  bool DrawSelected() const override;
  bool ClosesMenusOnClick() const override;
  bool TracksPress() const override { return !DroppedDown; }
  void Paint(const TRect& R, int PaintType) override;
  void Deactivate(bool Immediate) override;
  void KeyDown(WORD Key) override;
  bool WantsKey(WORD Key) const override;
  // Opens the drop-down menu below or beside the button.
  virtual void DropDown(bool ByMouse);
  // The drop-down menu's window went.
  virtual void DropDownClosed();
  TdxBarSubMenuControl* GetDropDownMenuControl() const;
  bool DroppedDown = false;
  bool PressedByMouse = false;
  // The arrow part of a bsDropDown button: under the pointer, and pressed.
  bool IsMouseOnArrow() const;
  bool IsArrowPressed() const;

protected:
  // The drop-down arrow part at the right end of R.
  void DrawDropDownButton(HDC DC, const TRect& R, bool Selected, int PaintType);

private:
  bool ShowsCaption() const;
  int CaptionWidth();
};

// The control of a sub item: a button with an arrow on toolbars.
class TdxBarSubItemControl : public TdxBarItemControl {
public:
  using TdxBarItemControl::TdxBarItemControl;
  TCustomdxBarSubItem* GetSubItem() const;
  // The window of the sub item's links, none while its menu is closed.
  TCustomdxBarControl* GetSubMenuControl() const;
  bool ShowsCaption() const;
  bool ShowsGlyph() const;
  int CaptionWidth() const;
  virtual int GetDefaultHeight();
  virtual int GetDefaultWidth();
  int GetHeight() override;
  int GetWidth() override;
  int GetArrowSize() const;
  bool IsClickable() const override { return false; }
  bool ClosesMenusOnClick() const override { return false; }
  bool HasSubMenu() const override { return true; }
  bool WantsDblClick() const override;
  void Paint(const TRect& R, int PaintType) override;
  ~TdxBarSubItemControl() override;
  // Opens (closes) the menu, at once or after the shared 400 ms timer.
  void Activate(bool Immediate) override;
  void Deactivate(bool Immediate) override;
  void Press(bool ByMouse) override;
  void KeyDown(WORD Key) override;
  bool WantsKey(WORD Key) const override;
  virtual void CreateSubMenuControl();
  virtual bool CanOpenSubMenu() const { return true; }
  bool OpenedByMouse = false;
};

// The control of a container item: its menu shows the generated entries.
class TdxBarContainerItemControl : public TdxBarSubItemControl {
public:
  using TdxBarSubItemControl::TdxBarSubItemControl;
  TCustomdxBarContainerItem* GetContainerItem() const;
  void CreateSubMenuControl() override;
  // In a menu (while customizing) "(caption)": the entry stands for the
  // generated ones.
  String GetCaption() const override;
  bool HasSubMenu() const override;
  void Paint(const TRect& R, int PaintType) override;
};

// The window of a toolbar, docked or floating.
class TdxBarControl : public TCustomdxBarControl {
public:
  // The mark's width at the end of a docked bar.
  static constexpr int MarkSize = 11;
  TdxBarControl(TdxBarManager* AOwner, TdxBar* ABar);
  ~TdxBarControl() override;
  TdxBar* GetBar() const { return FBar; }
  bool IsHorizontal() const { return GetDockingStyle() == dsTop || GetDockingStyle() == dsBottom; }
  bool IsVertical() const { return GetDockingStyle() == dsLeft || GetDockingStyle() == dsRight; }
  bool Wraps() const { return GetDockingStyle() == dsNone || FBar->GetMultiLine(); }
  bool ShowsRotatedCaptions() const { return IsVertical() && FBar->RotateWhenVertical; }
  // Links do not all fit: the mark shows the rest.
  bool GetTruncated() const { return FTruncated; }
  void SetTruncated(bool Value) { FTruncated = Value; }
  bool MarkVisible() const override;
  // A floating window with its caption (the quick-customization window has none).
  virtual bool HasCaption() const { return true; }
  bool CanAlignControl(const TdxBarItemControl* Control) const override;
  bool CanCustomizeItems() const override;
  int GetSeparatorSize() const override;
  HFONT GetFontHandle() const override;
  HBRUSH GetToolbarBrush() const override;
  void GetControlRect(const TdxBarItemControl* Control, TRect& R) override;
  void PaintItemControl(TdxBarItemControl* Control) override;
  void SetMarkState(int Value) override;
  void Rebuild() override;
  void SetActive(bool Value) override;
  void SelectControl(TdxBarItemControl* Control) override;
  void Deactivate() override;
  // Keyboard mode: the window heads the active chain and takes the keys
  // (after Alt, F10 or a click); leaving it gives the focus back.
  virtual void EnterKeyboardMode(TdxBarItemControl* Control);
  virtual void LeaveKeyboardMode();
  bool GetMenuMode() const { return FMenuMode; }
  void SetMenuMode(bool Value) { FMenuMode = Value; }
  // The floating caption and its mark (a square at its start), in window
  // coordinates.
  TRect GetCaptionRect();
  TRect GetCaptionMarkRect();
  int GetCloseButtonState() const { return FCloseButtonState; }
  void SetCloseButtonState(int Value);
  // Places the shown links; links that do not fit keep empty rectangles.
  void LayoutLinks();
  // Breaks a wrapping bar's links into lines of at most Length along the bar
  // (a group that does not fit moves whole to the next line) and grows Size
  // to the lines' extent.
  void WrapLinks(TdxBarDockingStyle Style, int Length, SIZE& Size);

  // The buttons at the end of the main menu: minimize, restore and close of
  // a maximized MDI child (0, 1, 2), or the manager's own close button.
  bool HasMDIButtons() const;
  bool HasCaptionButtons() const;
  int GetCaptionButtonsWidth() const;
  int GetCaptionButtonsHeight() const;
  TRect GetCaptionButtonRect(int Index);
  bool IsCaptionButtonEnabled(int Index, UINT StateFlags) const;
  SIZE GetCaptionButtonSize() const { return FCaptionButtonSize; }
  // The index of the caption button held down and of the hot one, -1 for
  // none; one state serves all toolbar windows.
  static int GetHeldCaptionButton();
  static int GetHotCaptionButton();
  // The mark in client coordinates (a floating bar's lies in its caption).
  TRect GetMarkRect();
  // The hit code remembered by the last hit test (0 for none).
  int GetHitTest() const { return FHitTest; }
  // Client coordinates: where the drag cursor shows, and the close button of
  // a floating caption.
  TRect GetGripArea() const;
  TRect GetCloseButtonRect();
  void CalcMetrics() override;
  HRGN CreateControlRegion(TdxBarItemControl* Control) override;
  TdxBarItemControl* GetDropTarget(POINT ClientPoint, bool& Outside, bool& Vertical, bool& Before) override;
  // Writes the window's place into its visible bar.
  void StorePosition();
  // A status bar's grip, as the last frame measure found it.
  bool GetSizeGripVisible() const { return FSizeGripVisible; }
  // Placed by the program: the dock keeps the bar's row and the window's
  // moves are not written back to the bar.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool IsUpdateLocked() const { return FUpdateCount > 0; }
  // The user's move: the window is moved about (cursor crSizeAll) and its
  // place is stored when it ends.
  void StartMoving(bool Value);
  bool IsMoving() const { return FMoving; }
  // Makes the window anew for a docking style and dock.
  void SetDocking(TdxBarDockingStyle Style, TdxDockControl* DockControl);
  // Where the cursor holds the window in a style: its place at the start of
  // the move, scaled to the window's size in that style.
  POINT GetGrabOffset(TdxBarDockingStyle Style);
  // The window size with its frame in a docking style.
  SIZE GetSizeForDockingStyle(TdxBarDockingStyle Style);

  // Sizes for a docking style: client extents, with the links a single-line
  // bar shows chosen by recent use (least recently used links drop first).
  int GetMinWidth(TdxBarDockingStyle Style);
  int GetMinHeight(TdxBarDockingStyle Style);
  int GetMaxWidth(TdxBarDockingStyle Style);
  int GetMaxHeight(TdxBarDockingStyle Style);
  SIZE CalcSizeForWidth(TdxBarDockingStyle Style, int Width);
  SIZE CalcSizeForHeight(TdxBarDockingStyle Style, int Height);
  // The non-client width and height for a docking style.
  int GetBorderWidth(TdxBarDockingStyle Style);
  int GetBorderHeight(TdxBarDockingStyle Style);

  // Written by the dock layout: lengths along the row with the border, the
  // place and size along and across.
  int MinLength = 0;
  int MaxLength = 0;
  int LayoutPos = 0;
  int LayoutLength = 0;
  int LayoutThickness = 0;

protected:
  String ClassName() const override { return "TdxBarControl"; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void UpdateFont() override;
  void WndProc(TMessage& Message) override;
  void WMKeyDown(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  void WMLButtonUp(TMessage& Message) override;
  void WMMouseMove(TMessage& Message) override;
  void WMMouseLeave(TMessage& Message) override;
  bool IsNonClientHit(LRESULT HitTest) override;
  bool IsMouseStill(POINT ScreenPoint) const override;
  void UpdateTransparency() override;

private:
  void WMNCHitTest(TMessage& Message);
  void PaintCaptionButtons(HDC DC, HRGN Region);
  void RepaintCaptionButtons();
  int CaptionButtonAt(POINT ClientPoint);
  void ClearCaptionButtons();
  int Along(TdxBarItemControl* Control, bool Vertical);
  int Across(TdxBarItemControl* Control, bool Vertical);
  void PlaceLink(TdxBarItemLink* Link, int Pos, int Separator, int Line, int Length, int Thickness,
                 int LineThickness);
  void CentreLine(const std::vector<TdxBarItemLink*>& Line, int Thickness);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void PaintStatusBarFrame();
  void PaintSeparator(TdxBarItemLink* Link, HRGN Region);
  TdxBar* FBar;
  bool FTruncated = false;
  bool FSizeGripVisible = false;
  int FCloseButtonState = 0;
  HFONT FRotatedFont = nullptr;
  bool FUpdatingFont = false;
  bool FMenuMode = false;
  HWND FSavedFocus = nullptr;
  SIZE FCaptionButtonSize{0, 0};
  int FHitTest = 0;
  bool FMarkTimer = false;
  int FUpdateCount = 0;
  bool FMoving = false;
  // The cursor on the window when a move started, and the window's size.
  POINT FGrab{0, 0};
  SIZE FGrabSize{1, 1};
  void StartMove(POINT ClientPoint);
  // Sizing an edit's width by its left or right edge while customizing:
  // armed by the cursor over the edge, run with the mouse captured.
  struct TEditWidthDrag {
    bool Armed = false, Active = false, RightEdge = true, FrameShown = false;
    int Width = 0, Grab = 0;
    TRect Frame;
  } FEditDrag;
  bool ArmEditWidthDrag(POINT ClientPoint);
  bool StartEditWidthDrag();
  bool EditWidthDragMove(POINT ClientPoint);
  bool EndEditWidthDrag();
  void CancelEditWidthDrag();
  void ToggleDocking();
  void CloseButtonLoop();
  void WMWindowPosChanging(TMessage& Message);
  void WMSizing(TMessage& Message);
  // Extents of the shown links in one line: along and across.
  SIZE MeasureLine(bool Vertical);
  SIZE ChooseRecentCount(bool Vertical, int Room);
  // The largest width (or height) of the visible links, and the width (or
  // height) of the one link a bar of one recent link shows.
  int LargestVisible(bool Height);
  int SingleLinkExtent(bool Height);
};

// ---- Quick customization ----

// "&Add or Remove Buttons" of a quick-customization window.
class TdxBarQuickSubItem : public TdxBarSubItem {
public:
  using TdxBarSubItem::TdxBarSubItem;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

protected:
  String ClassName() const override { return "TdxBarQuickSubItem"; }
};

// The one button every check entry of "&Add or Remove Buttons" links to; a
// click shows or hides the toolbar link the entry stands for.
class TdxBarQuickCustItem : public TdxBarButton {
public:
  using TdxBarButton::TdxBarButton;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  void Click() override;
  void DirectClick() override;

protected:
  String ClassName() const override { return "TdxBarQuickCustItem"; }
};

// "&Reset Toolbar" and "&Customize..." in that menu.
class TdxBarQuickCustExtButton : public TdxBarButton {
public:
  using TdxBarButton::TdxBarButton;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

protected:
  String ClassName() const override { return "TdxBarQuickCustExtButton"; }
};

// A check entry: the caption and glyph of its toolbar link, checked while
// that link is visible; the menu stays open when it is clicked.
class TdxBarQuickCustItemControl : public TdxBarButtonControl {
public:
  TdxBarQuickCustItemControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl);
  String GetCaption() const override;
  TBitmap* GetGlyph() const override;
  int GetImageIndex() const override;
  bool ClosesMenusOnClick() const override { return false; }
  void Execute(bool ByMouse) override;
  void Paint(const TRect& R, int PaintType) override;
  bool IsChecked() const;
};

// The drop-down window of a toolbar's mark: the links that did not fit, then
// "&Add or Remove Buttons". It lives on a hidden bar of its own, freed with it.
class TdxBarQuickControl : public TdxBarControl {
public:
  TdxBarQuickControl(TdxBarManager* AOwner, TdxBarControl* AOwnerToolbar);
  ~TdxBarQuickControl() override;
  TdxBarControl* GetOwnerToolbar() const { return FOwnerToolbar; }
  TdxBarQuickSubItem* GetQuickSubItem() const { return FQuickSubItem; }
  TdxBarQuickCustItem* GetCheckButton() const { return FCheckButton; }
  TRect GetOwnerRect() const override { return FOwnerRect; }
  bool HasCaption() const override { return false; }
  bool IsPopup() const override { return true; }
  void Deactivate() override;
  // Shows the window beside or under the mark (screen coordinates) on the
  // monitor's work area.
  void PlaceAt(const TRect& MarkRect);
  // The "&Add or Remove Buttons" menu opens: one check entry per available
  // link of the toolbar, "&Reset Toolbar" and "&Customize...".
  void FillAddRemoveMenu();

protected:
  String ClassName() const override { return "TdxBarQuickControl"; }
  void WndProc(TMessage& Message) override;

private:
  TdxBarControl* FOwnerToolbar;
  TdxBar* FQuickBar = nullptr;
  TdxBarQuickSubItem* FQuickSubItem = nullptr;
  TdxBarQuickCustItem* FCheckButton = nullptr;
  TRect FOwnerRect;
};

// The open quick-customization window, none.
TdxBarQuickControl* QuickControl();
// The toolbar's mark opens (closes) its quick-customization window.
void OpenQuickControl(TdxBarControl* Toolbar);
void CloseQuickControl(TdxBarControl* Toolbar);
// A bar window's selection changed while the quick window is open and not
// active: 200 ms later the window closes unless the selection is back on it.
void StartQuickCloseTimer();
// A mouse button message outside the open quick window (not active) closes
// it; over its toolbar only outside the mark or with a right press.
void QuickControlMouseHook(UINT Msg, POINT Point);

// The drop-down menu window of a sub item, a popup menu or a button's
// drop-down: one link per row, drawn through the painter's menu operations.
// It scrolls its links when they do not fit on the screen, hides rarely used
// ones until it is expanded, places itself on the monitor flipping to the
// other side of its button, and shows itself with the menu animation.
class TdxBarSubMenuControl : public TCustomdxBarControl {
public:
  explicit TdxBarSubMenuControl(TdxBarManager* AOwner);
  ~TdxBarSubMenuControl() override;
  // Destroys the window and frees the object; once only.
  void Release();

  // Set by the opener before the menu shows: the screen rectangle of the
  // button the menu is joined to (empty: none) and the window that holds
  // it; the button's width when the menu opens beside it, its height when
  // below it (0 for plain popups); the sub-item control or the drop-down
  // button's control that opened it; the window that owns the menu's window
  // (none: the manager's form); a popup menu's notifications.
  TRect OwnerRect;
  TCustomdxBarControl* OwnerBarControl = nullptr;
  int OwnerWidth = 0;
  int OwnerHeight = 0;
  TdxBarSubItemControl* SubItemControl = nullptr;
  TdxBarButtonControl* OwnerControl = nullptr;
  HWND OwnerWindow = nullptr;
  TNotifyEvent PopupNotify;
  TNotifyEvent CloseNotify;
  // The menu is to be animated when it shows; later, that it animates (it
  // paints nothing meanwhile).
  bool GetAnimating() const;
  void SetAnimating(bool Value);
  // Placement moved the menu to the other side of its button.
  bool GetGrowLeft() const;
  bool GetGrowUp() const;

  // The width of the side strip: the owner's BarSize.
  int GetBarSize() const;
  // Opened from a sub item whose item is detachable: the menu has a drag
  // caption.
  bool IsDetachable() const;
  bool CanDetach() const;
  int GetDetachCaptionHeight();
  // Half the height of "Qq", made odd.
  int GetDetachTextHeight();
  // Window coordinates.
  TRect GetDetachCaptionRect();
  TRect GetExpandButtonRect();
  bool CanScrollUp() const { return TopIndex > 0; }
  bool CanScrollDown() const;
  // From TopIndex on, the shown links laid out before the first that is not.
  int GetFittingCount() const;
  // A personalised menu shows fewer links than are visible.
  bool MarkVisible() const override;
  bool IsPopup() const override { return true; }
  int GetGlyphColumnWidth() const;
  int GetQuickCheckWidth() const;
  // The "&Add or Remove Buttons" menu of a quick-customization window.
  virtual bool IsQuickCustomizationMenu() const;
  // The picture under the entries; none without one.
  virtual TBitmap* GetSubMenuBackground() const;
  HBRUSH GetMenuBrush() const;
  int GetMenuBorderSize() const;
  bool AcceptsRightButton() const;
  bool GetExpanding() const { return FExpanding; }
  // The id of the running expand timer (2 or 3), 0 for none; whether the
  // scroll timer runs; the period asked for the window timer Id (1 scroll,
  // 2 and 3 expand), 0 while it does not run.
  int GetExpandTimer() const { return FExpandTimer; }
  bool IsScrollTimerRunning() const { return FScrollTimer != 0; }
  UINT GetTimerPeriod(int Id) const { return FTimerPeriods[Id]; }

  // Lays the links out from the top row; with Size, measures the window.
  void CalcLayout(SIZE* Size = nullptr);
  void UpdateRecentCount();
  // Places the window at the point asked for (Left, Top) on its monitor.
  void Place();
  void SetTopIndex(int Value);
  virtual void NotifyPopup();
  virtual void NotifyCloseUp();

  void CalcMetrics() override;
  bool CanCustomizeItems() const override;
  int GetSeparatorSize() const override;
  HFONT GetFontHandle() const override;
  bool IsShadowVisible() override;
  void PaintItemControl(TdxBarItemControl* Control) override;
  void SetActive(bool Value) override;
  void SetMarkState(int Value) override;
  void SetSelectedControl(TdxBarItemControl* Control) override;
  void DrawBackground(HDC DC, const TRect& R, bool UseOrigin, TColor Color, HBRUSH Brush) override;
  TRect GetOwnerRect() const override { return OwnerRect; }
  void Deactivate() override;
  void Rebuild() override;
  // The links of container items give way to their generated links while
  // the controls exist (not while customizing).
  void CreateControls() override;
  void DestroyControls() override;
  // Container links are being put back.
  bool Rebuilding = false;

  // The shown index of the first row; -1 before the first layout.
  int TopIndex = -1;
  int RequestedLeft = 0;
  int RequestedTop = 0;
  int ExpandButtonHeight = 0;
  // The reference glyph size of menu lines.
  int MenuGlyphSize = 19;
  // The entry being drawn is rarely used.
  bool DrawingNonRecent = false;
  // The pointer is over the drag caption.
  bool DetachCaptionHot = false;
  // The band of rarely used entries (a palette on screens of 256 colours);
  // none until the window makes it.
  HBRUSH NonRecentBrush = nullptr;
  HPALETTE NonRecentPalette = nullptr;

protected:
  String ClassName() const override { return "TdxBarSubMenuControl"; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Paint() override;
  void UpdateFont() override;
  void WndProc(TMessage& Message) override;
  void WMKeyDown(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  void WMMouseMove(TMessage& Message) override;
  void WMMouseLeave(TMessage& Message) override;

private:
  friend class TdxBarSubMenuAnimation;
  friend void ShowMenuWindow(TdxBarSubMenuControl* Menu);
  TdxBarMenuOwner* GetMenuOwner() const;
  TCustomdxBarSubItem* GetOwnerSubItem() const;
  void CreateNonRecentBrush();
  void DeleteNonRecentBrush();
  void StartTimer(int Id, UINT Period);
  void StopTimer(int Id);
  void StopExpandTimer();
  void Timer(int Id);
  // A container item's link with its generated links: its index, the link,
  // whether it left the collection and its recent position then.
  struct TContainerLink {
    int Index;
    TCustomdxBarContainerItem* Item;
    TdxBarItemLink* Link;
    bool Replaced;
    int RecentIndex;
  };
  std::vector<TContainerLink> FContainerLinks;
  void Expand();
  int ScrollAreaAt(POINT ClientPoint);
  void KeepSelectionVisible(TdxBarItemControl* Control);
  void GoBack();
  void PaintSideStrip(const TRect& R);
  void PaintNonClient(HDC DC);
  void UpdateDetachCaptionHot(POINT ClientPoint);
  void DetachLoop();
  std::unique_ptr<TdxBarSubMenuAnimation> FAnimation;
  bool FReleasing = false;
  bool FExpanding = false;
  int FExpandTimer = 0;
  int FScrollTimer = 0;
  UINT FTimerPeriods[4] = {};
};

// Shows a menu with its animation (the manager's MenuAnimations).
void ShowMenuWindow(TdxBarSubMenuControl* Menu);

// The menu of a container item on a toolbar: the generated links, which
// cannot be customized, go when it closes.
class TContainerItemSubMenuControl : public TdxBarSubMenuControl {
public:
  TContainerItemSubMenuControl(TdxBarManager* AOwner, TCustomdxBarContainerItem* AItem);
  ~TContainerItemSubMenuControl() override;
  TCustomdxBarContainerItem* GetContainerItem() const { return FItem; }
  bool IsCustomizing() const override { return false; }
  void NotifyCloseUp() override;

protected:
  String ClassName() const override { return "TContainerItemSubMenuControl"; }
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TCustomdxBarContainerItem* FItem;
  bool FLinksRemoved = false;
};

// One toolbar window in a dock row, with the place it asked for along the
// row (client coordinates of the dock).
struct TdxDockCol {
  TdxBarControl* BarControl = nullptr;
  int Pos = 0;
};

struct TdxDockRow {
  std::vector<TdxDockCol> Cols;
};

// A window along an edge of the form into which toolbars dock, in rows of
// one or more bars; it sizes itself to its rows. The four automatic docks
// of a manager are of this class; a placed one is a TdxBarDockControl.
class TdxDockControl : public TCustomControl {
public:
  // AStyle: the side of an automatic dock, dsNone for a placed one.
  TdxDockControl(TComponent* AOwner, TdxBarManager* AManager, TdxBarDockingStyle AStyle);
  ~TdxDockControl() override;
  TdxBarManager* GetBarManager() const { return FBarManager; }
  // From the alignment: left, right and bottom their sides, all else top.
  TdxBarDockingStyle GetDockingStyle() const;
  bool IsAutomatic() const { return FAutomaticStyle != dsNone; }
  bool IsVertical() const { return GetDockingStyle() == dsLeft || GetDockingStyle() == dsRight; }
  int GetRowCount() const { return static_cast<int>(FRows.size()); }
  const TdxDockRow& GetRow(int Index) const { return *FRows[Index]; }
  int GetRowThickness(int Index) const;
  virtual int GetRowsSize() const;
  int GetWantedSize() const;
  virtual bool CanDock(TdxBar* ABar) const { return AllowDocking && ABar; }
  virtual bool GetSunkenBorder() const;
  // Puts a toolbar window into a row: a window placed by the program takes
  // its bar's Row (a new row with OneOnRow), a WholeRow bar a row of its own.
  void InsertBarControl(TdxBarControl* BarControl, POINT ScreenPoint, bool Realign);
  void RemoveBarControl(TdxBarControl* BarControl, bool Realign);
  // Takes the window out and puts it in again at the point.
  void MoveBarControl(TdxBarControl* BarControl, POINT ScreenPoint);
  void UpdateColumnPositions();
  // The column of a docked window, none for others.
  TdxDockCol* GetColumn(TdxBarControl* BarControl);
  void LayoutRows();
  void AdjustSize();
  void Realign();
  void RecreateFrame();
  void RepaintBars();
  virtual void DrawBackground(HDC DC, const TRect& R, TColor Color, HBRUSH Brush);
  void InitiateAction() override;
  // The parent's colour while the manager's AutoDockColor holds, else its
  // DockColor.
  virtual void UpdateDockColor();
  virtual void BarManagerChanged();
  // A picture tiled under the dock and its docked bars.
  TBitmap* GetBackgroundBitmap() const { return FBackgroundBitmap.get(); }
  void SetBackgroundBitmap(const TBitmap* Value) { FBackgroundBitmap->Assign(Value); }
  bool HasOwnBackground() const { return !FBackgroundBitmap->GetEmpty(); }
  bool IsBackgroundVisible() const;
  // Double buffered exactly while a background shows.
  void UpdateDoubleBuffered();

  // Geometry of dropping a dragged bar: the dock with the strip around it
  // (screen), a row's rectangle, the intervals across the dock that join a
  // row or start one (part 0, 1 or 2 of row -1 to the row count), the row
  // a point falls in, and the point moved across onto a row.
  TRect GetDockingZone();
  TRect GetRowBounds(int Row) const;
  void GetRowZone(int Row, int Part, int& From, int& To) const;
  int RowFromPoint(POINT ScreenPoint, bool& NewRow);
  POINT SnapToRow(int Row, bool NewRow, POINT ScreenPoint);
  int ColumnFromPoint(int Row, POINT ClientPoint) const;

  bool AllowDocking = true;

protected:
  String ClassName() const override { return "TdxDockControl"; }
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The window was made (anew): bars that waited for it show again.
  virtual void WindowCreated() {}
  void SetManager(TdxBarManager* Value);
  TdxBarManager* FBarManager;

private:
  void LayoutRow(TdxDockRow& Row, int Start, int Length);
  int WindowThickness(TdxBarControl* BarControl, int Length) const;
  int AcrossSize() const;
  void StatusBarsMoved();
  void BackgroundChanged();
  std::unique_ptr<TBitmap> FBackgroundBitmap;
  TdxBarDockingStyle FAutomaticStyle;
  std::vector<std::unique_ptr<TdxDockRow>> FRows;
};

enum TdxBarDockAlign { dalNone, dalTop, dalBottom, dalLeft, dalRight };

// A dock placed on the form by its designer, with its own alignment,
// colour and border.
class TdxBarDockControl : public TdxDockControl {
public:
  explicit TdxBarDockControl(TComponent* AOwner);
  ~TdxBarDockControl() override;
  void SetBarManager(TdxBarManager* Value);
  TdxBarDockAlign GetDockAlign() const { return FDockAlign; }
  void SetDockAlign(TdxBarDockAlign Value);
  bool CanDock(TdxBar* ABar) const override;
  int GetRowsSize() const override;
  bool GetSunkenBorder() const override;
  void SetSunkenBorder(bool Value);
  bool GetUseOwnSunkenBorder() const { return FUseOwnSunkenBorder; }
  void SetUseOwnSunkenBorder(bool Value);
  // A colour set here is the dock's own: the manager's dock colour no
  // longer applies until UseOwnColor is cleared.
  void SetColor(TColor Value);
  void SetParentColor(bool Value);
  bool GetUseOwnColor() const { return FUseOwnColor; }
  void SetUseOwnColor(bool Value);
  void UpdateDockColor() override;
  void BarManagerChanged() override;
  bool AllowZeroSizeInDesignTime = false;

protected:
  String ClassName() const override { return "TdxBarDockControl"; }
  void WindowCreated() override;

private:
  TdxBarDockAlign FDockAlign = dalTop;
  bool FSunkenBorder = false;
  bool FUseOwnSunkenBorder = false;
  bool FUseOwnColor = false;
};
