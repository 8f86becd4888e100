// The extended bar items: the static label and the progress bar, the large
// button, with their item controls, the painter operations they draw with,
// and the module that registers them with the item class registry.
#pragma once

#include "dxBar.h"
#include "dxBarExtDates.h"

#include "StdCtrls.h"

// ---- The module ----

// Registers the extended item classes in their order; run by the library's
// start, and undone in reverse by its end.
void StartExtItemsModule();
void EndExtItemsModule();
// The user's first day of the week read at the start: 0 = Sunday … 6 =
// Saturday.
int dxBarFirstDayOfWeek();

// ---- Painter operations of the extended items ----

enum TdxBarStaticBorderStyle { sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump };
int StaticBorderWidth(TdxBarStaticBorderStyle Style);

// The painters' operations for the extended items; the painters that do not
// answer them otherwise answer these.
namespace dxBarExtPainter {
// Draws the border and shrinks R inside it.
void DrawStaticBorder(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                      TdxBarStaticBorderStyle Style, int Width, TRect& R);
TColor GetProgressColor(TdxBarItemControlPainterClass Painter);
int GetProgressBarThickness(TdxBarItemControlPainterClass Painter);
int GetProgressBarIndent(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control);
// Orientation 2 runs from top to bottom, the others from left to right.
void DrawProgressBar(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC, int Min,
                     int Max, int Position, bool Solid, int Orientation, TColor Color, const TRect& R);
TColor GetCalendarHeaderColor(TdxBarItemControlPainterClass Painter);
// The resizable drop-down windows' frames. The height of the band that
// carries the size grip and the close button.
int GetDropDownCaptionHeight(TdxBarItemControlPainterClass Painter);
// Shrinks a drop-down window's rectangle R (screen coordinates) to its
// client area: a one-pixel frame and, when sizeable and the item has a
// current control, the grip band on the side away from the control, whose
// corner comes back in Corner.
void CalcDropDownNonClient(TdxBarItemControlPainterClass Painter, HWND Wnd, TRect& R, bool Sizeable,
                           TdxBarItem* Item, int& Corner);
// Paints the frame and band; the grip's and the close button's rectangles
// come back in client coordinates (empty when not sizeable).
void DrawDropDownNonClient(TdxBarItemControlPainterClass Painter, HWND Wnd, bool Sizeable, int Corner,
                           TRect& GripRect, TRect& CloseButtonRect, bool Hot, bool Pressed);
// The flat look of the calendar: the manager's Flat style.
bool IsFlatCalendar(const TdxBarManager* Manager);
} // namespace dxBarExtPainter

// ---- Static and progress items ----

class TdxBarStatic : public TdxBarItem {
public:
  explicit TdxBarStatic(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool GetAllowClick() const { return FAllowClick; }
  void SetAllowClick(bool Value) { FAllowClick = Value; }
  TdxBarStaticBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TdxBarStaticBorderStyle Value);
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  // Sizes and indents: a negative value is stored as 0; 0 for Width or
  // Height is the natural size.
  int GetLeftIndent() const { return FSizes[0]; }
  void SetLeftIndent(int Value) { SetSize(1, Value); }
  int GetRightIndent() const { return FSizes[1]; }
  void SetRightIndent(int Value) { SetSize(2, Value); }
  int GetWidth() const { return FSizes[2]; }
  void SetWidth(int Value) { SetSize(3, Value); }
  int GetHeight() const { return FSizes[3]; }
  void SetHeight(int Value) { SetSize(4, Value); }

  bool CanClick() const override { return FAllowClick; }
  bool AcceptsAccelerator(const TdxBarItemLink*) const override { return false; }
  void GlyphChanged() override;

  // Every bar window that shows a link of the item lays its links out anew;
  // every control of a link repaints.
  void LayoutChanged();
  void RepaintControls();

protected:
  String ClassName() const override { return "TdxBarStatic"; }

private:
  // 1 LeftIndent, 2 RightIndent, 3 Width, 4 Height.
  void SetSize(int Index, int Value);
  TAlignment FAlignment = taCenter;
  bool FAllowClick = false;
  TdxBarStaticBorderStyle FBorderStyle = sbsNone;
  bool FShowCaption = true;
  int FSizes[4] = {0, 0, 0, 0};
};

class TdxBarProgressItem : public TdxBarStatic {
public:
  explicit TdxBarProgressItem(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  // clDefault: the painter's progress colour.
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  int GetMax() const { return FMax; }
  void SetMax(int Value) { SetRange(std::min(FMin, Value), Value); }
  int GetMin() const { return FMin; }
  void SetMin(int Value) { SetRange(Value, std::max(FMax, Value)); }
  int GetPosition() const { return FPosition; }
  void SetPosition(int Value);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  // Kept for the program; nothing here reads it.
  int Step = 10;

protected:
  String ClassName() const override { return "TdxBarProgressItem"; }

private:
  void SetRange(int AMin, int AMax);
  // Invalidates only the bar of every shown link, without erasing.
  void RedrawBars();
  TColor FColor = clDefault;
  int FMax = 100;
  int FMin = 0;
  int FPosition = 0;
  bool FSmooth = false;
};

class TdxBarStaticControl : public TdxBarItemControl {
public:
  using TdxBarItemControl::TdxBarItemControl;
  TdxBarStatic* GetStatic() const;

  void CaptionChanged() override;
  void GlyphChanged() override;
  bool IsClickable() const override;
  bool IsHotTrackable() const override;
  bool IsSelectable() const override;
  bool ClosesMenusOnClick() const override;
  int GetHeight() override;
  int GetWidth() override;
  void Paint(const TRect& R, int PaintType) override;

  virtual bool HasOwnContent() const { return false; }
  virtual void DrawContent(HDC DC, const TRect& R, int PaintType);
  virtual TAlignment GetAlignment() const;
  virtual int GetDefaultHeight();
  virtual int GetDefaultWidth();

  // The natural width of the caption, the glyph, the indents and the border.
  int GetContentWidth();

protected:
  bool InMenu() const { return !IsParentClosable(); }
  int GetBorderWidth() const;
  // The caption and the glyph; Centre lets a centred caption stay centred.
  void DrawStaticContent(HDC DC, const TRect& R, int PaintType, bool Centre);
  void FillPart(HDC DC, const TRect& R) const;
};

class TdxBarProgressControl : public TdxBarStaticControl {
public:
  using TdxBarStaticControl::TdxBarStaticControl;
  TdxBarProgressItem* GetProgress() const;

  bool HasOwnContent() const override { return true; }
  void DrawContent(HDC DC, const TRect& R, int PaintType) override;
  TAlignment GetAlignment() const override { return taLeftJustify; }
  int GetDefaultHeight() override;
  int GetDefaultWidth() override;
  virtual TColor GetBarColor() const;
  // The bar's rectangle in its bar window, at the far end of the link's.
  TRect GetProgressBarRect();
};

// ---- The large button ----

enum TdxBarGlyphLayout { glLeft, glRight, glTop, glBottom };

// A button with a large glyph and its caption beside, above or below it on
// toolbars; in menus an ordinary button. With SyncImageIndex its ImageIndex
// follows LargeImageIndex, which is the index an action sets.
class TdxBarLargeButton : public TdxBarButton {
public:
  explicit TdxBarLargeButton(TComponent* AOwner);
  ~TdxBarLargeButton() override;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  bool GetAutoGrayScale() const { return FAutoGrayScale; }
  void SetAutoGrayScale(bool Value);
  TdxBarGlyphLayout GetGlyphLayout() const { return FGlyphLayout; }
  void SetGlyphLayout(TdxBarGlyphLayout Value);
  // 0: the natural size; negative values are ignored.
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);
  TBitmap* GetHotGlyph() const { return FHotGlyph.get(); }
  void SetHotGlyph(const TBitmap* Value) { FHotGlyph->Assign(Value); }
  int GetHotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(int Value);
  TBitmap* GetLargeGlyph() const { return FLargeGlyph.get(); }
  void SetLargeGlyph(const TBitmap* Value) { FLargeGlyph->Assign(Value); }
  int GetLargeImageIndex() const { return FLargeImageIndex; }
  void SetLargeImageIndex(int Value);
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool GetSyncImageIndex() const { return FSyncImageIndex; }
  void SetSyncImageIndex(bool Value);

  int GetActionImageIndex() const override { return FLargeImageIndex; }
  void SetActionImageIndex(int Value) override { SetLargeImageIndex(Value); }
  bool HasHotImage() const override { return FHotImageIndex >= 0; }
  bool HasLargeImage() const override { return FLargeImageIndex >= 0; }
  bool AcceptsAccelerator(const TdxBarItemLink* Link) const override;
  void SetImageIndex(int Value) override;
  void HotGlyphChanged() override;
  void LargeGlyphChanged() override;

  virtual void GlyphLayoutChanged();
  virtual void HeightChanged();
  virtual void ShowCaptionChanged();
  virtual void WidthChanged();

protected:
  String ClassName() const override { return "TdxBarLargeButton"; }

private:
  template <typename F> void ForEachControl(F&& Apply);
  bool FAutoGrayScale = true;
  TdxBarGlyphLayout FGlyphLayout = glTop;
  int FHeight = 0;
  int FWidth = 0;
  std::unique_ptr<TBitmap> FHotGlyph;
  int FHotImageIndex = -1;
  std::unique_ptr<TBitmap> FLargeGlyph;
  int FLargeImageIndex = -1;
  bool FShowCaption = true;
  bool FSyncImageIndex = true;
  bool FSynchronizing = false;
};

class TdxBarLargeButtonControl : public TdxBarButtonControl {
public:
  using TdxBarButtonControl::TdxBarButtonControl;
  TdxBarLargeButton* GetLargeButton() const;

  int GetHeight() override;
  int GetWidth() override;
  int GetDefaultHeight() override;
  int GetDefaultWidth() override;
  int GetArrowWidth() const override;
  bool HasStateImageList() const override;
  void Paint(const TRect& R, int PaintType) override;
  // On toolbars the large image of the current state.
  TBitmap* GetGlyph() const override;
  int GetImageIndex() const override;
  TCustomImageList* GetImages() const override;

  virtual void GlyphLayoutChanged();
  virtual void HeightChanged();
  virtual void HotGlyphChanged();
  virtual void LargeGlyphChanged();
  virtual void ShowCaptionChanged();
  virtual void WidthChanged();

  // The image shown hot or not: a bitmap, or an image list and index; none
  // when neither source gives one.
  struct TLargeImage {
    TBitmap* Bitmap = nullptr;
    TCustomImageList* Images = nullptr;
    int Index = -1;
    bool Found() const { return Bitmap || Images; }
  };
  TLargeImage ChooseImage(bool Hot) const;
  // The glyph's size; Available when an image or a list to size it exists.
  SIZE GetGlyphSize(bool& Available) const;

private:
  // The caption beside the glyph, by the layout (turned on a rotated bar).
  void DrawLargeCaption(HDC dc, const TRect& r, const TRect& glyph, bool rotated, TdxBarGlyphLayout layout,
                        bool pressed);
  bool OnToolbar() const { return IsParentClosable(); }
  void RebuildToolbar();
};

// ---- The toolbars list, the recent-entries list and the in-place sub item ----

namespace dxBarExtPainter {
// The header line of an in-place sub item in a menu: its caption on a
// shaded band (selected: the selection) and an arrow pointing down while
// expanded.
void DrawInPlaceSubItem(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                        const TRect& R, bool Expanded, bool Selected);
} // namespace dxBarExtPainter

// A sub item whose menu lists the manager's toolbars, one checked entry per
// toolbar that may be closed; a click shows or hides that toolbar.
class TdxBarToolbarsListItem : public TCustomdxBarSubItem {
public:
  using TCustomdxBarSubItem::TCustomdxBarSubItem;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  // The entries are made anew for every opening.
  bool AllowsLinkCustomizing() const override { return false; }

protected:
  String ClassName() const override { return "TdxBarToolbarsListItem"; }
};

class TdxBarToolbarsListItemControl : public TdxBarSubItemControl {
public:
  using TdxBarSubItemControl::TdxBarSubItemControl;
  // Fills the item's links with the toolbars; nothing while customizing.
  void CreateSubMenuControl() override;
};

// A list of recently used entries (file names and the like): at most
// MaxItemCount of them (0: no limit), long ones shortened in the middle of
// the path, and a clicked one removed when asked.
class TdxBarMRUListItem : public TdxBarListItem {
public:
  using TdxBarListItem::TdxBarListItem;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  int GetMaxItemCount() const { return FMaxItemCount; }
  void SetMaxItemCount(int Value);
  bool RemoveItemOnClick = false;
  // The entry fitted into 300 pixels with an ellipsis inside the path.
  String GetDisplayText(const String& Entry) const override;
  // Removes the first entry equal to Text, else the first holding AObject.
  void RemoveItem(const String& Text, TObject* AObject = nullptr);
  void DirectClick() override;

protected:
  String ClassName() const override { return "TdxBarMRUListItem"; }

private:
  void Trim();
  int FMaxItemCount = 5;
};

// A menu entry that shows its own links in place below itself instead of
// opening a menu (on a toolbar it opens one as a container does).
class TdxBarInPlaceSubItem : public TdxBarContainerItem {
public:
  using TdxBarContainerItem::TdxBarContainerItem;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }
  bool GetExpanded() const { return FExpanded; }
  // Every menu showing a link of the item is made again, once each.
  void SetExpanded(bool Value);
  // While expanded the entry after the expanded block begins a group.
  bool KeepBeginGroupWhileExpanded = false;
  TdxBarItemLinkEvent OnAfterExpand;
  TdxBarItemLinkEvent OnBeforeCollapse;
  void AddListedLinks(TdxBarItemLinks* Links, int Index, TdxBarItemLink* Source, bool GetData) override;
  void RemoveListedLinks(TdxBarItemLinks* Links, int Index) override;
  bool FirstLinkBeginsGroup() const override { return false; }
  bool ReplacesOwnLink() const override { return false; }
  bool CanBeVisible() const override { return true; }

protected:
  String ClassName() const override { return "TdxBarInPlaceSubItem"; }
  virtual void AfterExpand(TdxBarItemLink* Link);
  virtual void BeforeCollapse(TdxBarItemLink* Link);

private:
  void ApplyGroupRule(TdxBarItemLink* Link, bool Value);
  bool FExpanded = false;
  bool FToggling = false;
};

class TdxBarInPlaceSubItemControl : public TdxBarContainerItemControl {
public:
  using TdxBarContainerItemControl::TdxBarContainerItemControl;
  TdxBarInPlaceSubItem* GetInPlaceSubItem() const;
  // In a menu a press toggles the expansion.
  void Press(bool ByMouse) override;
  void DblClick() override;
  int GetDefaultHeight() override;
  int GetDefaultWidth() override;
  bool CanOpenSubMenu() const override { return !InMenu(); }
  bool HasSubMenu() const override;
  bool ExpandsInPlace() const override { return InMenu(); }
  void KeyDown(WORD Key) override;
  bool WantsKey(WORD Key) const override;
  void Paint(const TRect& R, int PaintType) override;

private:
  bool InMenu() const { return GetBarControl()->IsPopup(); }
};

// ---- The date navigator ----

// The texts of the navigator's buttons, from the library's strings (empty
// while the module is not started).
const String& dxBarTodayText();
const String& dxBarClearText();

// A calendar control: the shown month, a selection between two dates (the
// null date for none) and the press that started it.
class TdxBarCustomCalendar : public TCustomControl {
public:
  explicit TdxBarCustomCalendar(TComponent* AOwner);

  TDateTime GetShownMonth() const { return FShownMonth; }
  int GetFrameStyleSetting() const { return FFrameStyle; }
  // 0: a sunken client edge; 1: a one-pixel frame of its own.
  void SetFrameStyle(int Value);
  TDateTime GetRangeStartField() const { return FRangeStart; }

  virtual int GetFrameStyle() const { return FFrameStyle; }
  virtual TDateTime GetFirstShownDate() const { return FShownMonth; }
  virtual TDateTime GetLastShownDate() const { return GetLastDate(); }
  virtual TDateTime GetLastDate() const = 0;
  // The smaller and the larger end of the selection.
  virtual TDateTime GetRangeStart() const;
  virtual TDateTime GetRangeEnd() const;
  virtual void SetShownMonth(TDateTime Value);
  virtual void SetSelection(TDateTime Value);
  virtual void SetRangeEnd(TDateTime Value);
  virtual void MakeSelectionVisible() = 0;
  virtual TDateTime DateAtPoint(int X, int Y) = 0;
  // Ends a press: a left-button release at (−1, −1).
  virtual void CancelMode();
  void DoSelect();
  TNotifyEvent OnSelect;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  String ClassName() const override { return "TdxBarCustomCalendar"; }
  TDateTime FShownMonth;
  TDateTime FRangeStart, FRangeEnd;
  TDateTime FPressDate = NullDate;

private:
  int FFrameStyle = 1;
};

class TdxBarDateNavigator;

// The month scroller: seven months shown over the navigator's title while
// the mouse is held on it; the row under the pointer is the month chosen on
// release. Held above or below the list it scrolls, faster the farther off.
class TAMonthListBox : public TCustomControl {
public:
  TAMonthListBox(TComponent* AOwner, TdxBarDateNavigator* ANavigator);
  ~TAMonthListBox() override;

  // The month of the first row.
  TDateTime FirstRowMonth = NullDate;
  int GetHotRow() const { return FHotRow; }
  int GetLineHeight() const { return FLineHeight; }
  // The running scroll timer's id (1 to 4 back, 6 to 9 forward), 0 when none.
  UINT_PTR GetTimerId() const { return FTimerId; }
  // The month of the hot row; NullDate when no row is hot.
  TDateTime GetChosenMonth() const;
  // A move of the held pointer, in the list's client coordinates.
  void TrackPointer(int X, int Y);

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  String ClassName() const override { return "TAMonthListBox"; }

private:
  void CalcSize();
  void StopTimer();
  void SetHotRow(int Value);
  void InvalidateRow(int Row);
  TdxBarDateNavigator* FNavigator;
  int FHotRow = -1;
  int FLineHeight = 0;
  UINT_PTR FTimerId = 0;
};

// One month of six weeks under a title with the month's name and two
// arrows; in its drop-down form with the Today and Clear buttons below.
class TdxBarDateNavigator : public TdxBarCustomCalendar {
public:
  TdxBarDateNavigator(TComponent* AOwner, bool ADropDownMode);
  ~TdxBarDateNavigator() override;

  bool GetDropDownMode() const { return FDropDownMode; }
  // The manager whose painter draws the header colour, the flat look and
  // the buttons; none: the standard look.
  TdxBarManager* Manager = nullptr;
  bool ShowTodayButton = true;
  bool ShowClearButton = false;

  int GetFrameStyle() const override;
  TDateTime GetFirstShownDate() const override;
  TDateTime GetLastShownDate() const override;
  TDateTime GetLastDate() const override;
  void SetShownMonth(TDateTime Value) override;
  void SetRangeEnd(TDateTime Value) override;
  void MakeSelectionVisible() override;
  TDateTime DateAtPoint(int X, int Y) override;
  void CancelMode() override;

  // Metrics, from the font.
  int CellWidth = 0, SideMargin = 0, CellHeight = 0, TitleHeight = 0, DayNamesHeight = 0;
  int TodayWidth = 0, ClearWidth = 0, ButtonGap = 0, DateButtonHeight = 0, ButtonBandHeight = 0;
  void CalcMetrics();
  // Regions of the client area.
  TRect GetLeftArrowRect();
  TRect GetRightArrowRect();
  TRect GetTitleRect();
  int GetMonthTop() const { return TitleHeight + (GetFrameStyle() == 0 ? 1 : 0); }
  TRect GetTodayButtonRect();
  TRect GetClearButtonRect();

  // The arrow-repeat timer: its id while it runs (0 when none) and period.
  static constexpr UINT_PTR ArrowTimerId = 1;
  static constexpr UINT ArrowTimerPeriod = 170;
  UINT_PTR GetTimer() const { return FTimer; }
  bool GetTodayPressed() const { return FTodayPressed; }
  // The month scroller while a press on the title holds it open.
  TAMonthListBox* GetMonthScroller() const { return FMonthScroller.get(); }
  bool GetClearPressed() const { return FClearPressed; }

protected:
  void CreateWnd() override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  String ClassName() const override { return "TdxBarDateNavigator"; }

private:
  TdxBarItemControlPainterClass Painter() const;
  bool Flat() const { return GetFrameStyle() == 2; }
  void StopTimer();
  void MoveMonth(int Delta);
  void PaintButton(HDC DC, const TRect& R, const String& Text, bool Pressed);
  bool FDropDownMode;
  UINT_PTR FTimer = 0;
  int FTimerDelta = 0;
  bool FTodayActive = false, FTodayPressed = false, FClearActive = false, FClearPressed = false;
  std::unique_ptr<TAMonthListBox> FMonthScroller;
  void OpenMonthScroller();
};
