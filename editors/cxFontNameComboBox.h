// The font-name combo box: a fixed-list combo box of the installed fonts,
// filled by a loader thread that enumerates them off the GUI thread and
// hands its sorted list over through Synchronize; a part of most recently
// used names heads the list; each font shows its type icon; the popup can
// show a preview pane with the highlighted font above the list.
#pragma once

#include "cxButtons.h"
#include "cxDropDownEdit.h"

#include "Collections.h"
#include "Graphics.h"
#include "Sets.h"
#include "StdCtrls.h"
#include "Threads.h"
#include "WinApi.h"

enum TcxFontType { cxftTTF, cxftRaster, cxftDevice, cxftFixed, cxftSymbol };
using TcxFontTypes = TSet<TcxFontType>;
enum TcxShowFontIconType { ftiShowInCombo, ftiShowInList };
using TcxShowFontIconTypes = TSet<TcxShowFontIconType>;
using TcxDeleteMRUFontEvent = std::function<void(TObject* Sender, const String& DeletedMRUFontName)>;

constexpr TcxFontTypes cxAllFontTypes = {cxftTTF, cxftRaster, cxftDevice, cxftFixed, cxftSymbol};

// The flag word each list item carries: the enumeration's font type bits
// and two of our own.
constexpr unsigned cxFontFlagRaster = RASTER_FONTTYPE;
constexpr unsigned cxFontFlagDevice = DEVICE_FONTTYPE;
constexpr unsigned cxFontFlagTrueType = TRUETYPE_FONTTYPE;
constexpr unsigned cxFontFlagSymbol = 0x100;
constexpr unsigned cxFontFlagFixed = 0x200;

TcxFontTypes FontTypeFlagsToSet(unsigned AFlags);
// Whether a reported font passes the loader's filter.
bool FontMatchesTypes(TcxFontTypes ATypes, const LOGFONTA& ALogFont, DWORD AFontType);
// The flag word of a reported font.
unsigned EnumFontTypeFlags(const LOGFONTA& ALogFont, DWORD AFontType);

class TcxFontLoader;
using TcxFontLoaderEvent = std::function<void(TcxFontLoader* Sender)>;

// Enumerates the fonts of the screen into FoundFonts, sorted, each name once
// with its flag word as object. It frees itself when it has run: in its
// destruction it hands the list to OnFontsLoaded and then reports
// OnLoaderDone, both on the GUI thread. The GUI thread may clear the two
// callbacks at any time; they are tested there, inside the synchronized
// calls, so a cleared callback is never run.
class TcxFontLoader : public TThread {
public:
  explicit TcxFontLoader(TcxFontTypes AFontTypes);
  ~TcxFontLoader() override;

  TStringList* GetFoundFonts() const { return FFoundFonts.get(); }
  TcxFontLoaderEvent OnFontsLoaded;
  TcxFontLoaderEvent OnLoaderDone;

  // Runs in each loader thread before it enumerates; tests hold the
  // enumeration there to make the loading state last.
  static std::function<void()> BeforeEnumerate;

protected:
  void Execute() override;

private:
  static int CALLBACK EnumFontFamilyProc(const LOGFONTA* ALogFont, const TEXTMETRICA*, DWORD AFontType,
                                         LPARAM ALoader);
  void EnumerateFonts();
  void FontFound(const LOGFONTA& ALogFont, DWORD AFontType);

  TcxFontTypes FFontTypes;
  std::unique_ptr<TStringList> FFoundFonts;
};

// Processes the application's messages until the milliseconds have passed
// (or the tick counter wrapped).
void ProcessMessagesFor(DWORD AMilliseconds);

class TcxMRUFontNameItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  void Assign(const TPersistent* Source) override;
  const String& GetFontName() const { return FFontName; }
  void SetFontName(const String& Value);

protected:
  String ClassName() const override { return "TcxMRUFontNameItem"; }

private:
  String FFontName;
};

// The most-recently-used names, most recent first; every change reaches the
// owner's change handler.
class TcxMRUFontNameItems : public TTypedCollection<TcxMRUFontNameItem> {
public:
  TcxMRUFontNameItems(TPersistent* AOwner, std::function<void()> AOwnerChanged);

  TPersistent* GetOwner() const override { return FOwner; }
  // Exact, case-sensitive match.
  TcxMRUFontNameItem* FindFontName(const String& AFontName) const;
  // None for an empty name or one already present.
  TcxMRUFontNameItem* AddMRUFontName(const String& AFontName);
  TcxMRUFontNameItem* InsertMRUFontName(int AIndex, const String& AFontName);
  void Move(int AFromIndex, int AToIndex);

protected:
  void Update(TCollectionItem* Item) override;
  String ClassName() const override { return "TcxMRUFontNameItems"; }

private:
  bool CanAdd(const String& AFontName) const;
  TPersistent* FOwner;
  std::function<void()> FOwnerChanged;
};

enum TcxFontPreviewType { cxfpFontName, cxfpCustom, cxfpFullAlphabet };
enum TcxFontButtonType { cxfbtBold, cxfbtItalic, cxfbtUnderline, cxfbtStrikeOut };
using TcxFontButtonClickEvent = std::function<void(TObject* Sender, TcxFontButtonType ButtonType)>;

// The settings of the preview pane above the font list. Changes made between
// BeginUpdate and EndUpdate end in one notification.
class TcxFontPreview : public TPersistent {
public:
  explicit TcxFontPreview(TPersistent* AOwner) : FOwner(AOwner) {}
  void Assign(const TPersistent* Source) override;
  TPersistent* GetOwner() const { return FOwner; }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  TFontStyles GetFontStyle() const { return FFontStyle; }
  void SetFontStyle(TFontStyles Value) { Set(FFontStyle, Value); }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value) { Set(FVisible, Value); }
  TcxFontPreviewType GetPreviewType() const { return FPreviewType; }
  void SetPreviewType(TcxFontPreviewType Value) { Set(FPreviewType, Value); }
  const String& GetPreviewText() const { return FPreviewText; }
  void SetPreviewText(const String& Value) { Set(FPreviewText, Value); }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { Set(FAlignment, Value); }
  bool GetShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool Value) { Set(FShowEndEllipsis, Value); }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { Set(FColor, Value); }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { Set(FWordWrap, Value); }
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value) { Set(FShowButtons, Value); }

  TcxFontButtonClickEvent OnButtonClick;
  std::function<void()> OnChanged;

protected:
  virtual void Changed();
  String ClassName() const override { return "TcxFontPreview"; }

private:
  template <typename T> void Set(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  TPersistent* FOwner;
  int FUpdateCount = 0;
  bool FModified = false;
  TFontStyles FFontStyle;
  bool FVisible = true;
  TcxFontPreviewType FPreviewType = cxfpFontName;
  String FPreviewText;
  TAlignment FAlignment = taCenter;
  bool FShowEndEllipsis = true;
  TColor FColor = clWindow;
  bool FWordWrap = false;
  bool FShowButtons = true;
};

// ---- The combo box ----

class TcxCustomFontNameComboBox;
class TFontPreviewPanel;

class TcxCustomFontNameComboBoxProperties : public TcxCustomComboBoxProperties {
public:
  explicit TcxCustomFontNameComboBoxProperties(TPersistent* AOwner);
  ~TcxCustomFontNameComboBoxProperties() override;
  void Assign(const TPersistent* Source) override;
  void AssignItems(TcxCustomEditProperties* Target) override;

  int GetMaxMRUFonts() const { return FMaxMRUFonts; }
  // A smaller limit drops the surplus at once.
  void SetMaxMRUFonts(BYTE Value);
  TcxFontTypes GetFontTypes() const { return FFontTypes; }
  // Empties the MRU part and loads the list again.
  void SetFontTypes(TcxFontTypes Value);
  TcxFontPreview* GetFontPreview() const { return FFontPreview.get(); }
  void SetFontPreview(const TcxFontPreview* Value);
  TcxShowFontIconTypes GetShowFontTypeIcon() const { return FShowFontTypeIcon; }
  void SetShowFontTypeIcon(TcxShowFontIconTypes Value);
  bool GetUseOwnFont() const { return FUseOwnFont; }
  void SetUseOwnFont(bool Value);
  TcxMRUFontNameItems* GetMRUFontNames() const { return FMRUFontNames.get(); }
  // False while a load is in progress.
  bool GetFontsLoaded() const { return FFontsLoaded; }
  TStringList* GetLoadedFontNames() const { return FLoadedFontNames.get(); }
  TcxFontTypes GetItemFontTypes(int AIndex) const;
  unsigned GetItemFontFlags(int AIndex) const;

  TNotifyEvent OnAddedMRUFont;
  TNotifyEvent OnMovedMRUFont;
  TcxDeleteMRUFontEvent OnDeletedMRUFont;
  TNotifyEvent OnLoadFontComplete;
  // The combo box's hand-over of a loaded list.
  std::function<void()> OnFontNamesLoaded;

  // 0: not in the list; 1: nothing to do; 2: moved to the front; 3: added.
  virtual int AddMRUFont(const String& AFontName);
  // 4 when removed, else 0.
  virtual int DeleteMRUFont(const String& AFontName);
  virtual void LoadFontNames();
  // Drops a running loader's list and waits for it, serving messages.
  void StopFontLoader();

  std::unique_ptr<TcxCustomEditPopupWindow> CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const override;
  std::unique_ptr<TcxCustomTextEditLookupData> CreateLookupData(TcxCustomTextEdit* AEdit) const override;
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;

protected:
  String ClassName() const override { return "TcxCustomFontNameComboBoxProperties"; }

private:
  void FontNamesLoaded(TcxFontLoader* ALoader);
  void FontLoaderDone(TcxFontLoader* ALoader);
  void TrimMRUFonts();

  BYTE FMaxMRUFonts = 10;
  TcxFontTypes FFontTypes = cxAllFontTypes;
  std::unique_ptr<TcxFontPreview> FFontPreview;
  TcxShowFontIconTypes FShowFontTypeIcon = {ftiShowInCombo, ftiShowInList};
  bool FUseOwnFont = false;
  std::unique_ptr<TcxMRUFontNameItems> FMRUFontNames;
  TcxFontLoader* FLoader = nullptr;
  bool FFontsLoaded = true;
  std::unique_ptr<TStringList> FLoadedFontNames;
};

class TcxFontNameComboBoxProperties : public TcxCustomFontNameComboBoxProperties {
public:
  using TcxCustomFontNameComboBoxProperties::TcxCustomFontNameComboBoxProperties;

protected:
  String ClassName() const override { return "TcxFontNameComboBoxProperties"; }
};

// The edit field with the font's type icon left of the name.
class TcxCustomFontNameComboBoxViewInfo : public TcxCustomTextEditViewInfo {
public:
  int ItemIndex = -1;
  bool IsTrueType = false;
  TcxShowFontIconTypes ShowFontTypeIcon;
  TRect IconRect;

  void Paint(TcxCanvas* ACanvas) override;
  void Offset(int DX, int DY) override;
};

class TcxCustomFontNameComboBoxViewData : public TcxCustomComboBoxViewData {
public:
  using TcxCustomComboBoxViewData::TcxCustomComboBoxViewData;
  TcxCustomFontNameComboBoxProperties* GetFontProperties() const {
    return static_cast<TcxCustomFontNameComboBoxProperties*>(GetProperties());
  }

  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  // "Loading ..." until the list has arrived.
  void GetDisplayTextForValue(const Variant& DisplayValue, TcxCustomTextEditViewInfo* AViewInfo) override;
  SIZE GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                          const TcxEditSizeProperties& ASizeProperties) override;

protected:
  String ClassName() const override { return "TcxCustomFontNameComboBoxViewData"; }
};

class TcxCustomFontNameComboBoxInnerEdit : public TcxCustomComboBoxInnerEdit {
public:
  using TcxCustomComboBoxInnerEdit::TcxCustomComboBoxInnerEdit;

protected:
  String ClassName() const override { return "TcxCustomFontNameComboBoxInnerEdit"; }
};

class TcxFontNameComboBoxPopupWindow : public TcxComboBoxPopupWindow {
public:
  using TcxComboBoxPopupWindow::TcxComboBoxPopupWindow;

protected:
  String ClassName() const override { return "TcxFontNameComboBoxPopupWindow"; }
};

// The popup's list: each font with its type icon, optionally in its own
// font, and a double line under the last most-recently-used row.
class TcxFontNameComboBoxListBox : public TcxComboBoxListBox {
public:
  using TcxComboBoxListBox::TcxComboBoxListBox;
  TcxCustomFontNameComboBox* GetFontEdit() const;
  int GetItemHeight(int AIndex) override;

protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  String ClassName() const override { return "TcxFontNameComboBoxListBox"; }
};

// A style button of the preview pane; its Tag is its TcxFontButtonType. A
// press is handled once, as by any button.
class TcxFontPanelButton : public TcxButton {
public:
  using TcxButton::TcxButton;

protected:
  String ClassName() const override { return "TcxFontPanelButton"; }
};

// The pane above the font list: a sample text in the highlighted font, as
// large as fits, and the buttons B, I, U and S that change its style.
class TFontPreviewPanel : public TCustomControl {
public:
  explicit TFontPreviewPanel(TComponent* AOwner);
  ~TFontPreviewPanel() override;

  bool GetLocked() const { return FLocked; }
  // Unlocking repaints.
  void SetLocked(bool Value);
  // Style flags: 1 bold, 2 italic, 4 underline, 8 strike-out.
  int GetFontStyleFlags() const { return FFontStyle; }
  void SetFontStyleFlags(int Value);
  void SetAlignment(TAlignment Value);
  void SetShowEndEllipsis(bool Value);
  void SetBorders(TcxBorders Value);
  const String& GetFontName() const { return FFontName; }
  void SetFontName(const String& Value);
  void SetWordWrap(bool Value);
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  TcxFontPanelButton* GetButton(TcxFontButtonType AType) const { return FButtons[AType]; }
  TcxFontPreview* FontPreview = nullptr;
  // The font size the last paint chose.
  int GetFittedSize() const { return FFittedSize; }

  // Sets the canvas font to the largest size from 8 up whose sample fits R.
  virtual void FitPreviewFont(const TRect& R);
  virtual TFontStyles GetFontStyle() const;
  void ArrangeStyleButtons();

protected:
  void Paint() override;
  int GetDrawTextFormat(int ABase) const;
  String ClassName() const override { return "TFontPreviewPanel"; }

private:
  void CreateStyleButtons();
  void UpdateStyleButtons();
  void StyleButtonClick(TObject* Sender);
  void Changed();

  bool FLocked = false;
  int FFontStyle = 0;
  TAlignment FAlignment = taCenter;
  bool FShowEndEllipsis = true;
  TcxBorders FBorders = cxBordersAll;
  TColor FFrameColor = clWindowFrame;
  String FFontName;
  bool FWordWrap = false;
  bool FShowButtons = true;
  int FFittedSize = 8;
  std::unique_ptr<TcxCanvas> FcxCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxFontPanelButton* FButtons[cxfbtStrikeOut + 1] = {};
};

class TcxFontNameComboBoxLookupData : public TcxComboBoxLookupData {
public:
  explicit TcxFontNameComboBoxLookupData(TcxCustomTextEdit* AOwner);
  ~TcxFontNameComboBoxLookupData() override;
  TcxCustomFontNameComboBox* GetFontEdit() const;
  int PreviewHeight = 38;
  TFontPreviewPanel* GetPreviewPanel() const { return FPreviewPanel; }
  String GetPreviewText();
  String GetSelectedFontName();
  // After an accepted font went to the front: a current row in the sorted
  // part moves to the font's copy at the front.
  virtual void SyncItemIndexWithMRU();

  TcxCustomEditListBox* CreateListBox(TComponent* AOwner) override;
  void ListItemClicked() override;
  SIZE CalculateListSize(int AMaxHeight, int AWidth) override;
  void PrepareListBox(TWinControl* AParent) override;
  void SetListBoxBounds(const TRect& R) override;

protected:
  String ClassName() const override { return "TcxFontNameComboBoxLookupData"; }

private:
  void PreparePreviewPanel(TWinControl* AParent);
  TFontPreviewPanel* FPreviewPanel = nullptr;
};

class TcxCustomFontNameComboBox : public TcxCustomComboBox {
public:
  explicit TcxCustomFontNameComboBox(TComponent* AOwner);
  ~TcxCustomFontNameComboBox() override;
  TcxCustomFontNameComboBoxProperties* GetActiveProperties() const {
    return static_cast<TcxCustomFontNameComboBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxFontNameComboBoxLookupData* GetFontLookupData() const {
    return static_cast<TcxFontNameComboBoxLookupData*>(GetLookupData());
  }
  int GetItemIndex() const;
  // Ignored while the list loads.
  void SetItemIndex(int Value);
  // Selects the font by name; while the list loads, once it has arrived.
  void SetFontName(const String& AFontName);
  const String& GetPendingFontName() const { return FPendingFontName; }

  void CloseUp(bool AAccept) override;
  void SetupPopupWindowProperties() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;

protected:
  TcxCustomInnerTextEdit* NewInnerEdit() override;
  String ClassName() const override { return "TcxCustomFontNameComboBox"; }

private:
  void ApplyLoadedFonts();
  String FPendingFontName;
};

class TcxFontNameComboBox : public TcxCustomFontNameComboBox {
public:
  using TcxCustomFontNameComboBox::TcxCustomFontNameComboBox;
  TcxFontNameComboBoxProperties* GetProperties() const {
    return static_cast<TcxFontNameComboBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  void SetProperties(const TcxFontNameComboBoxProperties* Value) {
    TcxCustomEdit::GetProperties()->Assign(Value);
  }

protected:
  String ClassName() const override { return "TcxFontNameComboBox"; }
};

// The type icons of the edit field and the list, loaded with the library.
TBitmap* cxFontTypeIcon(bool ATrueType);
void cxFontNameComboBoxInitialize();
void cxFontNameComboBoxFinalize();
