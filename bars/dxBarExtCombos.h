// The combo items whose lists the items fill themselves: the colour combo
// (the 16 basic colours, an automatic entry, any colour through the colour
// dialog) and the font-name combo (the installed font families).
#pragma once

#include "dxBarEdits.h"
#include "dxBarExtItems.h"

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <memory>

// The module's shared pieces, made by its start and freed by its end.
void StartExtCombos();
void EndExtCombos();
TColorDialog* dxBarColorDialog();
TFontDialog* dxBarFontDialog();
// The 13 x 13 marks of TrueType and other fonts.
TBitmap* dxBarTrueTypeBitmap();
TBitmap* dxBarNonTrueTypeBitmap();

namespace dxBarExtPainter {
// The "..." button of a value; R is the button's place.
void DrawEllipsisButton(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                        bool Down, bool Hot, const TRect& R);
} // namespace dxBarExtPainter

// The form of a "Select item" dialog: centred on the screen in the
// manager's font, with its OK (default) and Cancel buttons, whose size and
// spacing come from the size of "0" in that font.
struct TdxBarSelectItemForm {
  std::unique_ptr<TForm> Form;
  TButton* OK = nullptr;
  TButton* Cancel = nullptr;
  int ButtonWidth = 0, ButtonHeight = 0, Spacing = 0;
  // OK at the client area's right, Cancel below it.
  void PlaceButtons();
};
TdxBarSelectItemForm dxBarCreateSelectItemForm(TdxBarManager* Manager, TFormBorderStyle BorderStyle);

// The 16 basic colours with their names, in the list's order (0xBBGGRR).
struct TdxBarBasicColor {
  TColor Color;
  UINT NameId;
};
extern const TdxBarBasicColor dxBarBasicColors[16];

class TdxBarColorCombo : public TdxBarCustomCombo {
public:
  explicit TdxBarColorCombo(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  TColor GetAutoColor() const { return FAutoColor; }
  void SetAutoColor(TColor Value);
  const String& GetAutoColorText() const { return FAutoColorText; }
  void SetAutoColorText(const String& Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  const String& GetCustomColorText() const { return FCustomColorText; }
  void SetCustomColorText(const String& Value);
  bool GetShowAutoColor() const { return FShowAutoColor; }
  void SetShowAutoColor(bool Value);
  bool GetShowCustomColorButton() const { return FShowCustomColorButton; }
  void SetShowCustomColorButton(bool Value);

  // An index outside the entries gives Color.
  TColor GetColorOfIndex(int Index) const;
  // -1 for a colour of no entry.
  int GetIndexOfColor(TColor Value) const;
  // The colour the dialog opens with at the next click.
  void SetDialogStartColor(TColor Value);

  void DoChange() override;
  void DrawItem(int Index, const TRect& R, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void MeasureItemWidth(int Index, int& Width) override;

protected:
  void DoClick() override;
  String ClassName() const override { return "TdxBarColorCombo"; }

private:
  void RepaintAll();
  TColor FAutoColor;
  String FAutoColorText;
  TColor FColor = clBlack;
  String FCustomColorText;
  bool FShowAutoColor = false;
  bool FShowCustomColorButton = false;
  bool FInternalChange = false;
  TColor FDialogStartColor = clBlack;
  bool FDialogStartColorValid = false;
};

class TdxBarColorComboControl : public TdxBarComboControl {
public:
  using TdxBarComboControl::TdxBarComboControl;
  TdxBarColorCombo* GetColorCombo() const;
  // The custom-colour button in the bar window, empty when none is drawn.
  TRect GetCustomButtonRect() const { return FCustomButtonRect; }
  bool DrawSelected() const override;
  void PressedChanged() override;
  void Paint(const TRect& R, int PaintType) override;

protected:
  void WndProc(TMessage& Message) override;

private:
  void CustomColorClick();
  TRect FCustomButtonRect;
};

class TdxBarFontNameCombo : public TdxBarCustomCombo {
public:
  explicit TdxBarFontNameCombo(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  // The installed families, sorted, each once; an entry's object is 1 for
  // a TrueType font.
  void FillFonts();
  // While editing, the entry sharing the longest start with the text (a
  // text sharing none is refused).
  void SetText(const String& Value) override;
  void DrawItem(int Index, const TRect& R, TOwnerDrawState State) override;
  void MeasureItemWidth(int Index, int& Width) override;

protected:
  void DoClick() override;
  String ClassName() const override { return "TdxBarFontNameCombo"; }
};

// ---- The date combo ----

enum TdxBarDateOnStart { bdsToday, bdsNullDate, bdsCustom };

class TdxBarDateComboNavigator;

// A combo whose value is a date shown as text (an optional short day name
// and the user's short date); its drop-down is a month calendar, a click
// opens the "Select the date" dialog.
class TdxBarDateCombo : public TCustomdxBarCombo {
public:
  explicit TdxBarDateCombo(TComponent* AOwner);
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  // The date of Text; NullDate for none.
  TDateTime GetDate() const { return TextToDate(GetText()); }
  void SetDate(TDateTime Value);
  TdxBarDateOnStart GetDateOnStart() const { return FDateOnStart; }
  void SetDateOnStart(TdxBarDateOnStart Value);
  // 0: no limit. The minimum never exceeds the maximum: set MaxDate first.
  TDateTime GetMaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  TDateTime GetMinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  bool GetShowDayText() const { return FShowDayText; }
  void SetShowDayText(bool Value);
  bool ShowTodayButton = true;
  bool ShowClearButton = true;

  String DateToText(TDateTime Value) const;
  // The day name dropped, dots read as blanks, the rest read by the
  // system's date conversion; NullDate when it cannot be read.
  static TDateTime TextToDate(const String& Text);
  TDateTime ClampDate(TDateTime Value) const;
  TdxBarDateNavigator* GetNavigator() const;

  void SetText(const String& Value) override;
  void Loaded() override;
  bool CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) override;
  HWND GetDropDownWindow() override;
  void DoDropDown(int X, int Y) override;
  void DoCloseUp() override;
  // The open dialog's parts while it runs, none otherwise.
  TForm* GetDialog() const { return FDialog; }
  TEdit* GetDialogEdit() const { return FDialogEdit; }
  TdxBarDateNavigator* GetDialogNavigator() const;

protected:
  void DoClick() override;
  String ClassName() const override { return "TdxBarDateCombo"; }

private:
  void ApplyDateOnStart();
  void SetTextInternally(const String& Value);
  void AcceptDropDown();
  void RunDialog();
  TdxBarDateOnStart FDateOnStart = bdsToday;
  TDateTime FMaxDate = 0;
  TDateTime FMinDate = 0;
  bool FShowDayText = false;
  bool FInternal = false;
  // Owned as a component.
  TdxBarDateComboNavigator* FNavigator = nullptr;
  TForm* FDialog = nullptr;
  TEdit* FDialogEdit = nullptr;
  TdxBarDateComboNavigator* FDialogNavigator = nullptr;
};

class TdxBarDateComboControl : public TCustomdxBarComboControl {
public:
  using TCustomdxBarComboControl::TCustomdxBarComboControl;

protected:
  // "+" and "-" step the edited date by a day.
  void WndProc(TMessage& Message) override;
};

// ---- The image combo ----

// A string combo whose entries carry an index into an image list (kept as
// the entry's object, index + 1, so that an entry without one reads -1).
class TdxBarImageCombo : public TdxBarCustomCombo {
public:
  explicit TdxBarImageCombo(TComponent* AOwner);
  ~TdxBarImageCombo() override;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int GetImageIndexes(int Index) const;
  void SetImageIndexes(int Index, int Value);
  bool GetShowText() const { return FShowText; }
  void SetShowText(bool Value);
  // Each control of a link lays its bar window out anew.
  virtual void ImagesChanged();

  TCanvas* GetCanvas() const override;
  void DrawItem(int Index, const TRect& R, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void MeasureItemWidth(int Index, int& Width) override;
  // The list of the open "Select item" dialog, none otherwise.
  TCustomListBox* GetDialogList() const { return FDialogList; }
  TForm* GetDialog() const { return FDialog; }

protected:
  void DoClick() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TdxBarImageCombo"; }

private:
  void RunDialog();
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages = nullptr;
  bool FShowText = true;
  TForm* FDialog = nullptr;
  TCustomListBox* FDialogList = nullptr;
};

class TdxBarImageComboControl : public TdxBarComboControl {
public:
  using TdxBarComboControl::TdxBarComboControl;
  int GetHeight() override;
  virtual void ImagesChanged();
};

// ---- The tree-view combo ----

class TdxBarTreeViewCombo;
using TdxBarTreeViewComboCanSelectNodeEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& CanSelect)>;

// The tree of a tree-view combo: in its drop-down form a detached tool
// window over everything, in a frame with a size grip and a close button.
class TdxBarTreeView : public TCustomTreeView {
public:
  TdxBarTreeView(TComponent* AOwner, TdxBarTreeViewCombo* ACombo, bool ADropDownMode);
  ~TdxBarTreeView() override;
  TdxBarTreeViewCombo* GetCombo() const { return FCombo; }
  bool GetDropDownMode() const { return FDropDownMode; }
  void SetFocus() override {}
  // The frame's parts in client coordinates, as last painted, and the
  // corner that carries the grip (0 top-left … 3 bottom-right).
  int GetGripCorner() const { return FGripCorner; }
  TRect GetGripRect() const { return FGripRect; }
  TRect GetCloseButtonRect() const { return FCloseButtonRect; }
  bool GetMouseAboveCloseButton() const { return FMouseAboveCloseButton; }
  bool GetCloseButtonIsTracking() const { return FCloseButtonIsTracking; }
  bool GetSizing() const { return FSizing; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Change(TTreeNode* Node) override;
  void Delete(TTreeNode* Node) override;
  void NodeChanged(TTreeNode* Node) override;
  void ImagesChanged() override;
  String ClassName() const override { return "TdxBarTreeView"; }

private:
  // The frame's messages; false for those it leaves to the tree.
  bool FrameMessage(TMessage& Message);
  void SetMouseAboveCloseButton(bool Value);
  void RepaintFrame();
  TdxBarTreeViewCombo* FCombo;
  bool FDropDownMode;
  int FGripCorner = 3;
  TRect FGripRect, FCloseButtonRect;
  bool FMouseAboveCloseButton = false;
  bool FCloseButtonIsTracking = false;
  // Sizing by the grip: the pointer and the window where it began.
  bool FSizing = false;
  POINT FSizeOrigin{};
  RECT FSizeBounds{};
};

// Sets a window's client size and sets it again while the window answers
// another (a scroll bar that comes or goes, a minimum or maximum size): at
// most three attempts, after which the size reached stays.
void dxBarSetClientSizeAgreed(TControl* Control, int Width, int Height);

// A combo whose value is the text of a node chosen in a drop-down tree.
class TdxBarTreeViewCombo : public TCustomdxBarCombo {
public:
  explicit TdxBarTreeViewCombo(TComponent* AOwner);
  ~TdxBarTreeViewCombo() override;
  static TdxBarItemClass ClassInfo();
  TdxBarItemClass GetItemClass() const override { return ClassInfo(); }

  TdxBarTreeView* GetTreeView() const { return FTreeView; }
  TTreeNodes* GetItems() const { return FTreeView->GetItems(); }
  TTreeNode* GetSelectedNode() const { return FSelectedNode; }
  void SetSelectedNode(TTreeNode* Value);
  // The drop-down tree's size; below 100: 100.
  int GetDropDownWidth() const { return FTreeView->GetWidth(); }
  void SetDropDownWidth(int Value) { FTreeView->SetWidth(std::max(Value, 100)); }
  int GetDropDownHeight() const { return FTreeView->GetHeight(); }
  void SetDropDownHeight(int Value) { FTreeView->SetHeight(std::max(Value, 100)); }
  // The drop-down tree's client size, also while it is closed.
  SIZE GetDropDownClientSize();
  void SetDropDownClientSize(int Width, int Height);
  TCustomImageList* GetImages() const { return FTreeView->GetImages(); }
  void SetImages(TCustomImageList* Value) { FTreeView->SetImages(Value); }
  TCustomImageList* GetStateImages() const { return FTreeView->GetStateImages(); }
  void SetStateImages(TCustomImageList* Value) { FTreeView->SetStateImages(Value); }
  bool GetShowImageInEdit() const { return FShowImageInEdit; }
  void SetShowImageInEdit(bool Value);
  // Forwarded to the drop-down tree.
  int GetIndent() const { return FTreeView->GetIndent(); }
  void SetIndent(int Value) { FTreeView->SetIndent(Value); }
  bool GetShowButtons() const { return FTreeView->GetShowButtons(); }
  void SetShowButtons(bool Value) { FTreeView->SetShowButtons(Value); }
  bool GetShowLines() const { return FTreeView->GetShowLines(); }
  void SetShowLines(bool Value) { FTreeView->SetShowLines(Value); }
  bool GetShowRoot() const { return FTreeView->GetShowRoot(); }
  void SetShowRoot(bool Value) { FTreeView->SetShowRoot(Value); }
  TSortType GetSortType() const { return FTreeView->GetSortType(); }
  void SetSortType(TSortType Value) { FTreeView->SetSortType(Value); }
  // The drop-down tree's events under the same names (OnTreeViewChange is
  // its OnChange).
  void SetOnExpanded(TTVExpandedEvent Value) { FTreeView->OnExpanded = std::move(Value); }
  void SetOnExpanding(TTVExpandingEvent Value) { FTreeView->OnExpanding = std::move(Value); }
  void SetOnChanging(TTVChangingEvent Value) { FTreeView->OnChanging = std::move(Value); }
  void SetOnCollapsed(TTVExpandedEvent Value) { FTreeView->OnCollapsed = std::move(Value); }
  void SetOnCollapsing(TTVCollapsingEvent Value) { FTreeView->OnCollapsing = std::move(Value); }
  void SetOnCompare(TTVCompareEvent Value) { FTreeView->OnCompare = std::move(Value); }
  void SetOnGetImageIndex(TTVExpandedEvent Value) { FTreeView->OnGetImageIndex = std::move(Value); }
  void SetOnGetSelectedIndex(TTVExpandedEvent Value) { FTreeView->OnGetSelectedIndex = std::move(Value); }
  void SetOnTreeViewChange(TTVChangedEvent Value) { FTreeView->OnChange = std::move(Value); }
  bool ChooseByDblClick = true;
  bool FullExpand = false;
  bool AllowResizing = true;
  TdxBarTreeViewComboCanSelectNodeEvent OnCanSelectNode;

  // The first node in depth-first order with the text (letter case
  // ignored), none.
  TTreeNode* FindNodeByText(const String& Text) const;
  static TTreeNode* FindNodeByText(const TTreeNodes* Nodes, const String& Text);
  // A node chosen in a tree, unless OnCanSelectNode refuses it: in the
  // drop-down the bars close and the node becomes the value; in the dialog
  // its text becomes the value and the dialog ends with OK.
  void ChooseNode(TdxBarTreeView* Tree, TTreeNode* Node);
  void ForgetNode(TTreeNode* Node);
  // The selected node's text again after its data changed.
  void NodeChanged(TTreeNode* Node);
  // Every control of a link lays its bar window out anew.
  void ImagesChanged();
  // The tree's selection shown in the in-place window while editing.
  void PreviewNode(TTreeNode* Node);
  // The open "Select item" dialog and its tree, none otherwise.
  TForm* GetDialog() const { return FDialog; }
  TdxBarTreeView* GetDialogTree() const { return FDialogTree; }

  void SetText(const String& Value) override;
  void Loaded() override;
  void DrawInterior(const TdxBarEditControl* Control, TCanvas* Canvas, const TRect& R) override;
  bool CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) override;
  HWND GetDropDownWindow() override;
  void DoDropDown(int X, int Y) override;
  void DoCloseUp() override;

protected:
  void DoClick() override;
  String ClassName() const override { return "TdxBarTreeViewCombo"; }

private:
  void RefreshValue();
  void RunDialog();
  TdxBarTreeView* FTreeView;
  TTreeNode* FSelectedNode = nullptr;
  bool FShowImageInEdit = true;
  bool FInternal = false;
  String FLoadedText;
  TForm* FDialog = nullptr;
  TdxBarTreeView* FDialogTree = nullptr;
};

class TdxBarTreeViewComboControl : public TCustomdxBarComboControl {
public:
  using TCustomdxBarComboControl::TCustomdxBarComboControl;
  int GetHeight() override;
  void SetFocused(bool Value) override;
};
