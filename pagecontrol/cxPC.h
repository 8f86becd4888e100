// The owner-drawn tab control and the page control on it: the tab list and
// its visible subset, the layout of the visible tabs on one scrolled line or
// on several balanced lines on any side, mouse, wheel and key input, and the
// pages that own one tab each. Measuring and drawing go through an
// exchangeable painter (cxPCPainters.h).
#pragma once

#include "cxContainer.h"
#include "cxControls.h"
#include "ExtCtrls.h"
#include "ImgList.h"

#include <array>
#include <memory>
#include <vector>

class TcxCustomTabControl;
class TcxTabs;
class TcxPCCustomPainter;
class TcxPCGoDialog;
class TcxPCImageList;

enum TcxTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TcxPCNavigatorPosition { npLeftTop, npLeftBottom, npRightTop, npRightBottom };
enum TcxPCOption { pcoGoDialog, pcoNoArrows, pcoSort, pcoTopToBottomText };
using TcxPCOptions = TSet<TcxPCOption>;
using TcxPCStyleID = int;

enum TcxTabChangeKind {
  tckContent,
  tckEnabled,
  tckFocus,
  tckHighlighted,
  tckHot,
  tckMainSelection,
  tckLayout,
  tckPressed,
  tckSelected,
  tckTracking
};

// Navigator buttons: 0 the left (or upper) arrow, 1 the right (or lower)
// arrow, 2 the go-dialog button; a set of them is a byte with bits 0 to 2.
enum TcxPCNavigatorButton { nbTopLeft, nbBottomRight, nbGoDialog };
using TcxPCNavigatorButtons = TSet<TcxPCNavigatorButton>;
// States of a navigator button.
enum TcxPCNavigatorButtonState { nbsNormal, nbsPressed, nbsHot, nbsDisabled };

// What the painter reports about the room that the navigator leaves.
struct TcxPCNavigatorLayout {
  TRect TabsRect;
  int NearAreaExtra = 0;
  int FarAreaExtra = 0;
  int AreaGap = 0;
  int LineLength = 0;
  TRect TabsStartRect;
};

struct TcxPCLineIndexBounds {
  int First = -1;
  int Last = -1;
};
using TcxPCLineIndexBoundsArray = std::vector<TcxPCLineIndexBounds>;

// One tab: its caption and flags, and after each layout its place.
class TcxTab : public TPersistent {
public:
  TcxTab(TcxTabs* ATabs, int AIndex);
  ~TcxTab() override;

  void AssignTo(TPersistent* Dest) const override;

  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  const String& GetDisplayCaption() const { return FDisplayCaption; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GetHighlighted() const { return FHighlighted; }
  void SetHighlighted(bool Value);
  int GetImageIndex() const;
  void SetImageIndex(int Value);
  int GetStoredImageIndex() const { return FStoredImageIndex; }
  bool GetSelected() const { return FSelected; }
  void SetSelected(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  int GetIndex() const { return FIndex; }
  void* Object = nullptr;
  TcxTabs* GetTabs() const { return FTabs; }
  TcxCustomTabControl* GetControl() const;

  int GetVisibleIndex() const;
  bool IsHot() const;
  bool IsPressed() const;
  bool IsTracking() const;
  bool IsMainSelected() const;
  bool RealEnabled() const;
  bool IsShown() const;
  int GetLengthAlongLine() const;
  TcxTabPosition GetSide() const;
  int GetDrawDirection() const;
  TRect GetBaseRect() const;
  TRect GetFullRect() const;
  TRect GetVisibleRect() const;

  TBitmap* GetPaintBitmap() const { return FPaintBitmap.get(); }
  void CreatePaintBitmap();
  void FreePaintBitmap() { FPaintBitmap.reset(); }
  TBitmap* GetCaptionBitmap() const { return FCaptionBitmap.get(); }
  void SetCaptionBitmap(std::unique_ptr<TBitmap> Value) { FCaptionBitmap = std::move(Value); }
  void FreeCaptionBitmap() { FCaptionBitmap.reset(); }
  void RepaintIfImage();
  void SetCaptionSilently(const String& Value);

  // Layout results.
  int LayoutLineIndex = 0;
  int LineIndex = 0;
  TPoint Origin;
  int Width = 0;
  mutable TRect RectAdjustment;

protected:
  void Changed(TcxTabChangeKind Kind);
  String ClassName() const override { return "TcxTab"; }

private:
  friend class TcxTabs;
  String FCaption;
  String FDisplayCaption;
  bool FEnabled = true;
  bool FHighlighted = false;
  int FStoredImageIndex;
  int FIndex;
  std::unique_ptr<TBitmap> FPaintBitmap;
  bool FSelected = false;
  TcxTabs* FTabs;
  std::unique_ptr<TBitmap> FCaptionBitmap;
  bool FVisible = true;
};

// The caption with its accelerator marks removed.
String TabDisplayCaption(const String& Caption);

// The tab list of a control: one TcxTab per string.
class TcxTabs : public TStrings {
public:
  explicit TcxTabs(TcxCustomTabControl* AControl) : FControl(AControl) {}
  ~TcxTabs() override;

  int GetCount() const override { return static_cast<int>(FItems.size()); }
  String Get(int Index) const override;
  void Put(int Index, const String& S) override { GetTab(Index)->SetCaption(S); }
  void* GetObject(int Index) const override { return GetTab(Index)->Object; }
  void PutObject(int Index, void* Obj) override { GetTab(Index)->Object = Obj; }
  void Insert(int Index, const String& S) override;
  void Delete(int Index) override;
  void Clear() override;

  TcxTab* GetTab(int Index) const;
  TcxTab* GetVisibleTab(int VisibleIndex) const;
  int VisibleTabCount() const;
  TcxCustomTabControl* GetControl() const { return FControl; }
  int TabNormalHeight = 0;

  void Changed(int VisibleIndex, TcxTabChangeKind Kind);
  void SetHotTab(int VisibleIndex);
  void UpdateSelectedVisibleIndex();
  void SetTrackingTab(int VisibleIndex);
  void FreeCaptionBitmaps();
  void RepaintImageTabs();

protected:
  virtual void TabDestroying(int Index, bool Keep);
  [[noreturn]] void IndexError(const String& MethodName, int Index) const;
  String ClassName() const override { return "TcxTabs"; }

private:
  friend class TcxTab;
  void RenumberTabs(int First, int Last);
  bool FNotifying = false;
  TcxCustomTabControl* FControl;
  std::vector<TcxTab*> FItems;
  bool FDeleting = false;
};

// The indices of the visible tabs, ascending.
class TcxVisibleTabList : public TObject {
public:
  explicit TcxVisibleTabList(TcxCustomTabControl* AControl) : FControl(AControl) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxTab* GetTab(int VisibleIndex) const;
  bool Find(int TabIndex, int& Position) const;
  void Add(int TabIndex);
  void Remove(int TabIndex);
  void Rebuild();
  int IndexOf(int TabIndex) const;

private:
  TcxCustomTabControl* FControl;
  std::vector<int> FItems;
};

using TcxDrawTabEvent = std::function<void(TcxCustomTabControl* AControl, TcxTab* ATab, bool& DefaultDraw)>;
using TcxDrawTabExEvent = std::function<void(TcxCustomTabControl* AControl, TcxTab* ATab, TFont* Font)>;
using TcxGetTabImageEvent = std::function<void(TObject* Sender, int TabIndex, int& ImageIndex)>;
using TcxTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TcxCustomTabControl : public TcxControl {
public:
  explicit TcxCustomTabControl(TComponent* AOwner);
  ~TcxCustomTabControl() override;

  void WndProc(TMessage& Message) override;

  // Properties.
  bool GetHideTabs() const { return FHideTabs; }
  void SetHideTabs(bool Value);
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  int GetImageBorder() const { return FImageBorder; }
  void SetImageBorder(int Value);
  TCustomImageList* GetImages() const;
  void SetImages(TCustomImageList* Value);
  int GetMaxRotatedTabWidth();
  void SetMaxRotatedTabWidth(int Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TcxPCNavigatorPosition GetNavigatorPosition() const { return FNavigatorPosition; }
  void SetNavigatorPosition(TcxPCNavigatorPosition Value);
  TcxPCOptions GetOptions() const { return FOptions; }
  void SetOptions(TcxPCOptions Value);
  bool GetOwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  bool GetRaggedRight() const { return FRaggedRight; }
  void SetRaggedRight(bool Value);
  bool GetRotate() const { return FRotate; }
  void SetRotate(bool Value);
  bool GetScrollOpposite() const { return FScrollOpposite; }
  void SetScrollOpposite(bool Value);
  bool GetShowFrame() const { return FShowFrame; }
  void SetShowFrame(bool Value);
  TcxPCStyleID GetStyle() const { return FStyle; }
  void SetStyle(TcxPCStyleID Value);
  int16_t GetTabHeight() const { return FTabHeight; }
  void SetTabHeight(int16_t Value);
  TcxTabPosition GetTabPosition() const { return FTabPosition; }
  void SetTabPosition(TcxTabPosition Value);
  int16_t GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(int16_t Value);
  int GetTabIndex() const { return FTabIndex; }
  void SetTabIndex(int Value) { ChangeTabIndex(Value); }
  TcxTabs* GetTabs() const { return FTabs.get(); }

  // State.
  TcxVisibleTabList* GetVisibleTabList() const { return FVisibleTabList.get(); }
  TcxPCCustomPainter* GetPainter() const { return FPainter.get(); }
  TcxPCImageList* GetImageList() const { return FImageList.get(); }
  TcxPCGoDialog* GetGoDialog() const { return FGoDialog.get(); }
  TTimer* GetScrollTimer() const { return FScrollTimer; }
  int FirstVisibleTab = -1;
  int LastVisibleTab = -1;
  bool LastTabFits = false;
  int HotTab = -1;
  int PressedTab = -1;
  int TrackingTab = -1;
  int SelectedVisibleIndex = -1;
  bool MultiSelected = false;
  int LineCount = 0;
  int NearLineCount = 0;
  int LineThickness = 0;
  TRect NearTabsArea;
  TRect FarTabsArea;
  TcxPCNavigatorButtons NavigatorButtons;
  std::array<TcxPCNavigatorButtonState, 3> NavigatorButtonStates{nbsNormal, nbsNormal, nbsNormal};
  TcxPCNavigatorButtons HotNavigatorButtons;
  TcxPCNavigatorButtons PressedNavigatorButtons;
  TcxPCNavigatorLayout NavigatorLayout;
  bool GoDialogShown = false;
  bool IsRecalculating() const { return FRecalculating; }

  // Orientation tests.
  bool IsVerticalTabs() const;
  int GetTextDirection() const;
  int GetPainterTextDirection() const;
  bool NeedsRotatedCaptions() const;
  bool IsReversedOrder() const;
  int GetSelectedTabIndex() const;

  void RecalculateTabs();
  void ChangeTabIndex(int NewIndex);
  void ChooseDefaultPainter();
  void LockChanges(bool Lock);
  bool IsChangeLocked();
  bool IsLoadingOrDestroying() const { return IsLoading() || IsDestroying(); }
  bool CanMeasure() { return HandleAllocated() || GetParent() || ParentWindow; }

  // Layout.
  void LayoutTabs();
  void CalculateTabNormalSizes();
  void ShowTab(int VisibleIndex);
  void ScrollTabs(int Delta);
  bool CanScroll(TcxPCNavigatorButton Button);
  void OrderTabRows();
  TcxPCLineIndexBoundsArray GetLineIndexBounds();
  TRect GetTabsArea(int VisibleIndex) const;
  int TabAtPoint(int X, int Y);
  // The shown range of visible indices.
  int ShownFirst() const { return FMultiLine ? 0 : FirstVisibleTab; }
  int ShownLast() const;
  void CalculateLineThickness();

  // Input.
  void UpdateHotState(TShiftState Shift);
  void ShowGoDialog();

  virtual int GetTabImageIndex(int TabIndex);
  virtual void GoDialogClosed();
  virtual void ImagesChanged();
  virtual bool NavigateByKey(WORD Key, TShiftState Shift);
  virtual bool CanSelectOnlyVisibleTabs() { return false; }

  TNotifyEvent OnChange;
  TcxTabChangingEvent OnChanging;
  TcxDrawTabEvent OnDrawTab;
  TcxDrawTabExEvent OnDrawTabEx;
  TcxGetTabImageEvent OnGetImageIndex;

protected:
  virtual bool CanChange(int NewIndex);
  virtual void Change();
  void Loaded() override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  bool HasBackground() override { return false; }
  bool HasScrollBars() override { return false; }
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave(TControl* AControl) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void FocusChanged() override;
  void FontChanged() override;
  void Resize() override;
  String ClassName() const override { return "TcxCustomTabControl"; }

  // The page control adds its page check and events here.
  int FTabIndexToLoad = -1;

private:
  friend class TcxTabs;
  friend class TcxTab;
  void ReplacePainter(TcxPCStyleID Value);
  void RaiseMaxRotatedTabWidth();
  void RealignAndInvalidate();
  // Layout pieces.
  bool PrepareNavigatorLayout(TcxPCNavigatorButtons Buttons);
  void SingleLinePlacement();
  bool IsHorizontalLine() const { return FTabPosition == tpTop || FTabPosition == tpBottom; }
  void SetAlong(TcxTab* Tab, int Value);
  void SetAcross(TcxTab* Tab, int Value);
  int AlongStart(const TRect& R) const { return IsHorizontalLine() ? R.left : R.top; }
  int AlongEnd(const TRect& R) const { return IsHorizontalLine() ? R.right : R.bottom; }
  int AcrossStart(const TRect& R) const { return IsHorizontalLine() ? R.top : R.left; }
  int AcrossEnd(const TRect& R) const { return IsHorizontalLine() ? R.bottom : R.right; }
  void SetAcrossExtent(TRect& R, int Start, int End) const;
  void SetAlongExtent(TRect& R, int Start, int End) const;
  bool PlaceLine(int First, int Last, bool SingleLine);
  bool LineFits(int First, int Last, bool SingleLine) {
    return PlaceLine(First, Last, SingleLine) && LastTabFits;
  }
  void SingleLineLayout();
  void MultiLineLayout();
  void BreakTabRows();
  void BalanceTabRows(int FirstTab, int LastTab, int FirstLine, int LineCountInSegment);
  void StretchTabRow(int First, int Last);
  void PlaceLinesAcross();
  void SetTabsAreasAlong();
  void ResetNavigatorStates(TcxPCNavigatorButtons Shown);
  void UpdateScrollButtonStates();
  void SetNavigatorButtonState(TcxPCNavigatorButton Button, TcxPCNavigatorButtonState State);
  TcxPCNavigatorButtons WantedNavigatorButtons() const;
  bool IsForwardButton(TcxPCNavigatorButton Button) const;
  int TabLengthAlong(int VisibleIndex) const;
  int TabGap() const;
  int TabMinVisiblePart() const;
  int LineGap() const;
  // Input pieces.
  void ScrollTimerTick(TObject* Sender);
  void StopScrollTimer();
  void ReleaseNavigatorButton(TcxPCNavigatorButton Button);
  bool PressNavigatorButton(int X, int Y);
  void ClickTab(int VisibleIndex, TShiftState Shift);
  bool HandleWheel(int Step, TPoint MousePos);
  bool SelectByAccelerator(char Ch);
  int FindEnabledTab(int Start, int Step, bool Wrap);
  bool StepByKey(int Step, bool Wrap, bool Tracking);
  bool StartAtEnd(bool First, bool Tracking);
  void MoveToTab(int VisibleIndex, bool Tracking);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);

  // The placement prepared for the current navigator buttons.
  int FPlaceStart = 0;
  int FPlaceDirection = 1;
  int FPlaceLimit = 0;
  int FChangeLockCount = 0;
  std::unique_ptr<TcxPCGoDialog> FGoDialog;
  bool FHideTabs = false;
  bool FHotTrack = false;
  int FImageBorder = 0;
  std::unique_ptr<TcxPCImageList> FImageList;
  int FMaxRotatedTabWidth = 0;
  bool FMultiLine = false;
  TcxPCNavigatorPosition FNavigatorPosition = npRightTop;
  TcxPCOptions FOptions;
  bool FOwnerDraw = false;
  std::unique_ptr<TcxPCCustomPainter> FPainter;
  bool FRaggedRight = false;
  bool FRotate = false;
  bool FScrollOpposite = false;
  bool FShowFrame = false;
  TcxPCStyleID FStyle = 0;
  int FTabIndex = -1;
  TcxTabPosition FTabPosition = tpTop;
  std::unique_ptr<TcxTabs> FTabs;
  int16_t FTabWidth = 0;
  int16_t FTabHeight = 0;
  TTimer* FScrollTimer = nullptr;
  bool FRecalculating = false;
  std::unique_ptr<TcxVisibleTabList> FVisibleTabList;
};

// Between a tab control and its Images: follows them, tells the control of
// changes, and draws tab images plainly, over the tab's colour, or turned
// with vertical captions from a cache.
class TcxPCImageList : public TObject {
public:
  explicit TcxPCImageList(TcxCustomTabControl* AControl);
  ~TcxPCImageList() override;
  TCustomImageList* GetBaseImages() const { return FBaseImages; }
  void SetImages(TCustomImageList* Value);
  int GetRotation() const { return FRotation; }
  void SetRotation(int Value);
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled, TColor BackgroundColor);
  SIZE GetImageSize() const;
  SIZE GetDrawnImageSize() const;
  // How many times an image was rendered into the cache (a turned image is
  // rendered once per colour).
  int RenderCount = 0;
  TNotifyEvent OnChange;

private:
  struct TCacheEntry {
    TColor BackgroundColor = clNone;
    std::unique_ptr<TBitmap> Bitmap;
    bool Valid = false;
  };
  void ImagesChanged();
  bool HasImages() const;
  void UpdateCacheEntry(TCacheEntry& Entry, int Index, bool Enabled, TColor BackgroundColor);
  [[noreturn]] void DrawError(const String& Text) const;
  std::unique_ptr<TChangeLink> FChangeLink;
  TCustomImageList* FBaseImages = nullptr;
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
  int FRotation = 0;
  TcxCustomTabControl* FControl;
  std::vector<TCacheEntry> FCache;
};

class TcxTabSheet;
using TcxPageChangingEvent = std::function<void(TObject* Sender, TcxTabSheet* NewPage, bool& AllowChange)>;

// The tab control with pages: page i owns tab i.
class TcxPageControl : public TcxCustomTabControl {
public:
  explicit TcxPageControl(TComponent* AOwner);
  ~TcxPageControl() override;

  TcxTabSheet* GetActivePage() const { return FActivePage; }
  void SetActivePage(TcxTabSheet* Page);
  void SetActivePageIndex(int Index);
  int GetPageCount() const { return FPages.GetCount(); }
  TcxTabSheet* GetPage(int Index) const { return static_cast<TcxTabSheet*>(FPages.Get(Index)); }
  int IndexOfPage(const TcxTabSheet* Page) const { return FPages.IndexOf(const_cast<TcxTabSheet*>(Page)); }
  bool Focusable = true;
  TcxPageChangingEvent OnPageChanging;

  TcxTabSheet* FindNextPage(TcxTabSheet* Current, bool GoForward, bool CheckTabVisible);
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
  void UpdateTab(TcxTabSheet* Page);
  void UpdateAllTabs();
  bool CanSelectOnlyVisibleTabs() override { return true; }
  void ImagesChanged() override;
  bool CanFocus() override;
  void ShowControl(TControl* AControl) override;
  void WndProc(TMessage& Message) override;

  // Docking: a control docked here gets a page of its own.
  TcxTabSheet* PageForDockClient(TControl* Client);
  TControl* DockClientAt(const TPoint& P);
  void DoAddDockClient(TControl* Client, const TRect& ARect) override;
  void DoRemoveDockClient(TControl* Client) override;
  void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) override;

protected:
  virtual void UpdateActivePage();
  virtual bool CanChangePage(TcxTabSheet* NewPage);
  virtual void PageChanged();
  bool CanChange(int NewIndex) override;
  void Change() override;
  void Loaded() override;
  bool CanFocusOnClick() override;
  String ClassName() const override { return "TcxPageControl"; }

private:
  friend class TcxTabSheet;
  void ChangeActivePage(TcxTabSheet* Page);
  void InsertPage(TcxTabSheet* Page);
  void RemovePage(TcxTabSheet* Page);
  void MovePage(TcxTabSheet* Page, int NewIndex);
  void CMDockClient(TMessage& Message);
  void CMUnDockClient(TMessage& Message);
  void CMDockNotification(TMessage& Message);
  TcxTabSheet* FActivePage = nullptr;
  TcxTabSheet* FNewDockSheet = nullptr;
  TcxTabSheet* FUndockingSheet = nullptr;
  TList FPages;
  bool FInsertingPage = false;
};

class TcxTabSheet : public TCustomControl {
public:
  explicit TcxTabSheet(TComponent* AOwner);
  ~TcxTabSheet() override;

  void WndProc(TMessage& Message) override;

  TcxPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TcxPageControl* Value);
  int GetPageIndex() const;
  void SetPageIndex(int Value);
  bool GetHighlighted() const { return FHighlighted; }
  void SetHighlighted(bool Value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  TcxTab* GetTab() const { return FTab; }
  void UpdateTab();
  int BorderWidth = 0;

  TNotifyEvent OnHide;
  TNotifyEvent OnShow;

protected:
  virtual void DoHide();
  virtual void DoShow();
  virtual void EnabledChanged() { UpdateTab(); }
  virtual void ShowingChanged();
  virtual void TextChanged() { UpdateTab(); }
  void CreateParams(TCreateParams& Params) override;
  String ClassName() const override { return "TcxTabSheet"; }

private:
  friend class TcxPageControl;
  bool IsNativeBackground() const;
  TRect NativePaneRect();
  void EraseNative(HDC DC);
  void PaintNativeBorder();
  bool FHighlighted = false;
  int FImageIndex = -1;
  TcxPageControl* FPageControl = nullptr;
  TcxTab* FTab = nullptr;
  bool FTabVisible = true;
};
